#include "chat_log.h"

#include <cstdio>

struct ChatLogFile {
  std::FILE* file;
};

namespace {

const char* Tag(int kind) {
  switch (kind) {
    case CHATLOG_IGNORED_USER:
      return "[Ignored user:]";
    case CHATLOG_IGNORED_SHOUT:
      return "[Ignored shout:]";
    case CHATLOG_FILTERED:
      return "[Filtered:]";
    case CHATLOG_UNSENT:
      return "[Unsent:]";
    case CHATLOG_ENTERING_CHANNEL:
      return "[Entering Channel:]";
    case CHATLOG_CLOSING:
      return "[Closing log.]";
    default:
      return "";
  }
}

}  // namespace

std::string FormatChatLogLine(const std::tm& t, const char* text, const char* name1, const char* name2,
                              int kind) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%d/%02d/%02d %02d:%02d:%02d ", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  std::string line = stamp;
  line += Tag(kind);
  line += ' ';
  line += name1 ? name1 : "";
  line += ' ';
  line += name2 ? name2 : "";
  line += ": ";
  line += text ? text : "";
  line += "\r\n";
  return line;
}

ChatLogFile* OpenChatLog(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) return nullptr;
  auto* log = new ChatLogFile{file};
  WriteChatLogLine(log, nullptr, nullptr, nullptr, CHATLOG_OPENING);
  return log;
}

int WriteChatLogLine(ChatLogFile* log, const char* text, const char* name1, const char* name2, int kind) {
  if (!log) return 0;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (const std::tm* t = std::localtime(&now)) local = *t;
  const std::string line = FormatChatLogLine(local, text, name1, name2, kind);
  const size_t written = std::fwrite(line.data(), 1, line.size(), log->file);
  if (std::fflush(log->file) != 0 || written != line.size()) return 0;
  return int(written);
}

void CloseChatLog(ChatLogFile* log) {
  if (!log) return;
  WriteChatLogLine(log, nullptr, nullptr, nullptr, CHATLOG_CLOSING);
  std::fclose(log->file);
  delete log;
}
