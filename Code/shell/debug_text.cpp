// Debug window text and log.
#include "debug_text.h"

std::vector<std::string> SplitDebugText(const std::string& text) {
  std::vector<std::string> pieces;
  for (size_t at = 0; at < text.size(); at += kDebugTextPiece)
    pieces.push_back(text.substr(at, kDebugTextPiece));
  return pieces;
}

std::string ConvertDebugText(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 2);
  bool inRun = false;
  for (char ch : text) {
    if (static_cast<unsigned char>(ch) < 32) {
      if (!inRun) out += "\r\n";
      inRun = true;
    } else {
      out += ch;
      inRun = false;
    }
  }
  return out;
}

std::string TrimDebugEditText(const std::string& shown) {
  if (shown.size() <= kDebugEditKeep) return shown;
  size_t at = 0;
  for (int line = 0; line < 25; ++line) {
    const size_t nl = shown.find('\n', at);
    if (nl == std::string::npos) return std::string();  // fewer than 25 lines: all go
    at = nl + 1;
  }
  return shown.substr(at);
}

bool AppendDebugLog(std::FILE* log, const std::string& converted) {
  if (!log) return false;
  if (std::fseek(log, 0, SEEK_END) != 0) return false;
  const long size = std::ftell(log);
  if (size > 0 && std::fwrite("\r\n", 1, 2, log) != 2) return false;
  if (std::fwrite(converted.data(), 1, converted.size(), log) != converted.size()) return false;
  return std::fflush(log) == 0;
}

// ---- The engine link's way to the monitors (no monitor by default).
#include "debug_monitor_links.h"

namespace {
bool NoMonitorShown(int) { return false; }
void NoMonitorShow(int, bool, int) {}
void NoMonitorWrite(int, const char*) {}
DebugMonitorLinks g_monitorLinks{NoMonitorShown, NoMonitorShow, NoMonitorWrite};
}  // namespace

DebugMonitorLinks& GetDebugMonitorLinks() { return g_monitorLinks; }
