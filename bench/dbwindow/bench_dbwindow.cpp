// Database window benchmark (Windows, run by hand under Wine; not a test).
// Builds once a database of many games (default 1,000,000) with the database
// benchmark's PGN generator, imported and indexed as mkdatabase --index does,
// then starts Rookwell.exe from an installed program folder on it and times
// with real input:
//   first page     the room button clicked until the list holds every game
//                  and the first game is read
//   page down      200 presses, each until the focused game changed and the
//                  list repainted (mean and worst)
//   ctrl+end       until the last game is focused
//   sorts          White up, White down, Date, each until the first row's
//                  game changed
//   searches       a header search and a key search from the window: the
//                  list's growth is sampled every 10 ms (the longest wait
//                  between two growths shows the progress cadence); then a
//                  search stopped with the Stop button, timed until the
//                  list stops growing, with the hits kept
//   bench_dbwindow.exe [games] [work folder]
// RW_PROGRAM_DIR names the installed program folder (as the program tests).
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_pgn_writer.h"
#include "gdbase.h"
#include "guitest.h"

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

std::vector<std::string> EcoMoveTexts() {
  std::ifstream in(RW_ECO_PGN, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string text = s.str();
  std::vector<std::string> moves;
  for (size_t at = text.find("\n1."); at != std::string::npos; at = text.find("\n1.", at + 1)) {
    const size_t end = text.find('*', at);
    if (end == std::string::npos) break;
    moves.push_back(text.substr(at + 1, end - at - 1));
  }
  return moves;
}

bool BuildDatabase(const std::string& gdg, const std::string& folder, int games) {
  if (GetFileAttributesA(gdg.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const std::string pgn = folder + "\\bench.pgn";
  const auto t0 = Clock::now();
  if (!WriteBenchPgn(pgn, EcoMoveTexts(), games)) return false;
  const int32_t file = GdCreateGamefile(gdg.c_str());
  if (!file) return false;
  GdPgnImport(pgn.c_str(), file, 0, "NBRQK", nullptr, 0);
  const std::string index = folder + "\\GdIndex";
  CreateDirectoryA(index.c_str(), nullptr);
  const int answer = GdIndexCreateUpdate(file, index.c_str(), 65535, 2000000, 0, nullptr, 0);
  std::printf("database   %d games made in %.1f s (index answer %d)\n", GdGetGamesCount(file), Ms(t0) / 1000,
              answer);
  GdCloseGamefile(file);
  DeleteFileA(pgn.c_str());
  return true;
}

struct Room {
  guitest::Program program;
  HWND frame = nullptr, window = nullptr, list = nullptr, panel = nullptr;
  ~Room() { guitest::KillProgram(&program); }
  int Count() { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
  std::string Summary() {
    char text[256] = "";
    GetDlgItemTextA(panel, 212, text, sizeof text);
    return text;
  }
  void Repaint() { RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
};

void ClickCentre(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Type(const std::string& text) {
  for (char c : text) {
    const SHORT scan = VkKeyScanA(c);
    if (scan & 0x100) guitest::Chord({VK_SHIFT}, WORD(scan & 0xFF));
    else guitest::PressKey(WORD(scan & 0xFF));
  }
}

// Waits until the summary differs from `before`; the milliseconds taken.
double UntilSummaryChanges(Room* room, const std::string& before, DWORD timeoutMs) {
  const auto t0 = Clock::now();
  guitest::WaitFor([&] { return room->Summary() != before; }, timeoutMs);
  room->Repaint();
  return Ms(t0);
}

POINT HeaderCell(Room* room, int column) {
  HWND header = HWND(SendMessageA(room->list, LVM_GETHEADER, 0, 0));
  RECT h;
  GetWindowRect(header, &h);
  int x = h.left;
  for (int i = 0; i < column; ++i) x += int(SendMessageA(room->list, LVM_GETCOLUMNWIDTH, WPARAM(i), 0));
  return POINT{x + int(SendMessageA(room->list, LVM_GETCOLUMNWIDTH, WPARAM(column), 0)) / 2, (h.top + h.bottom) / 2};
}

// Samples the list's count every 10 ms while a search runs: the longest
// wait between two growths, and the time until the count rests.
void TimeSearch(Room* room, const char* name, bool stopEarly) {
  const auto t0 = Clock::now();
  int last = room->Count(), growths = 0;
  double lastGrowth = 0, longest = 0, stopMs = -1;
  auto sinceGrowth = Clock::now();
  bool stopped = false;
  while (Ms(t0) < 120000) {
    guitest::Pump(10);
    const int now = room->Count();
    if (now != last) {
      const double at = Ms(t0);
      longest = std::max(longest, at - lastGrowth);
      lastGrowth = at;
      last = now;
      ++growths;
      sinceGrowth = Clock::now();
    }
    if (stopEarly && !stopped && growths >= 2) {
      HWND page = GetDlgItem(room->panel, 205);
      const auto s0 = Clock::now();
      ClickCentre(GetDlgItem(page, 2118));
      int before = room->Count();
      guitest::WaitFor(
          [&] {
            guitest::Pump(20);
            const int n = room->Count();
            const bool rest = n == before;
            before = n;
            return rest;
          },
          5000);
      stopMs = Ms(s0);
      stopped = true;
      break;
    }
    if (growths > 0 && Ms(sinceGrowth) > 3000) break;
  }
  std::printf("%-10s %d hits, %d growths, longest wait between growths %.0f ms", name, last, growths, longest);
  if (stopEarly) std::printf(", stop back in %.0f ms with %d hits kept", stopMs, room->Count());
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const int games = argc > 1 ? std::atoi(argv[1]) : 1000000;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string work = argc > 2 ? argv[2] : std::string(temp) + "rw_bench_dbwindow";
  CreateDirectoryA(work.c_str(), nullptr);
  const std::string gdg = work + "\\Bench.gdg";
  if (!BuildDatabase(gdg, work, games)) {
    std::fprintf(stderr, "bench_dbwindow: the database could not be made in %s\n", work.c_str());
    return 1;
  }
  const char* installed = std::getenv("RW_PROGRAM_DIR");
  if (!installed) {
    std::fprintf(stderr, "bench_dbwindow: RW_PROGRAM_DIR names no program folder\n");
    return 1;
  }
  std::string source = installed;
  std::replace(source.begin(), source.end(), '/', '\\');
  const std::string folder = work + "\\Rookwell";
  std::error_code error;
  std::filesystem::remove_all(folder, error);
  std::filesystem::copy(source, folder, std::filesystem::copy_options::recursive, error);
  const std::string ini = folder + "\\rw.ini";
  WritePrivateProfileStringA("settings", "IntroMovie", "0", ini.c_str());
  WritePrivateProfileStringA("databaseroom", "DBFile", gdg.c_str(), ini.c_str());

  Room room;
  if (!guitest::StartProgram(folder + "\\Rookwell.exe", "", folder, &room.program) ||
      !guitest::WaitFor([&] { return (room.frame = guitest::FindProgramWindow(room.program, "RWONYX_APP_CLASS")); },
                        20000)) {
    std::fprintf(stderr, "bench_dbwindow: Rookwell.exe did not start\n");
    return 1;
  }
  guitest::Pump(1500);
  HWND bar = FindWindowExA(room.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  const auto t0 = Clock::now();
  ClickCentre(GetDlgItem(bar, 21560));
  guitest::WaitFor(
      [&] {
        room.window = FindWindowExA(room.frame, nullptr, "DBEnvBaseClass", nullptr);
        if (!room.window || !IsWindowVisible(room.window)) return false;
        room.list = GetDlgItem(room.window, 2108);
        room.panel = GetDlgItem(room.window, 201);
        return room.Count() == games && !room.Summary().empty();
      },
      60000);
  room.Repaint();
  std::printf("first page %.0f ms after the click (%d rows)\n", Ms(t0), room.Count());

  // Page Down, 200 times.
  SetForegroundWindow(room.frame);
  RECT l;
  GetWindowRect(room.list, &l);
  guitest::Click(POINT{l.left + 120, l.top + 40});
  guitest::Pump(500);
  std::vector<double> times;
  for (int i = 0; i < 200; ++i) {
    const std::string before = room.Summary();
    const auto k0 = Clock::now();
    guitest::PressKey(VK_NEXT);
    guitest::WaitFor([&] { return room.Summary() != before; }, 3000);
    room.Repaint();
    times.push_back(Ms(k0));
  }
  double sum = 0, worst = 0;
  for (double t : times) sum += t, worst = std::max(worst, t);
  std::printf("page down  200 presses: mean %.1f ms, worst %.1f ms\n", sum / times.size(), worst);

  std::string before = room.Summary();
  auto k0 = Clock::now();
  guitest::Chord({VK_CONTROL}, VK_END);
  UntilSummaryChanges(&room, before, 10000);
  std::printf("ctrl+end   %.0f ms\n", Ms(k0));
  guitest::Chord({VK_CONTROL}, VK_HOME);
  guitest::Pump(500);

  const struct {
    const char* name;
    int column;
  } sorts[] = {{"white up", 2}, {"white down", 2}, {"date", 5}};
  for (const auto& s : sorts) {
    guitest::PressKey(VK_HOME);
    guitest::Pump(300);
    before = room.Summary();
    k0 = Clock::now();
    guitest::Click(HeaderCell(&room, s.column));
    guitest::Pump(50);
    guitest::PressKey(VK_HOME);
    guitest::WaitFor([&] { return room.Summary() != before; }, 20000);
    std::printf("sort       %-10s %.0f ms\n", s.name, Ms(k0));
  }

  // A header search from the Data Query page, then one stopped early.
  PostMessageA(room.frame, WM_COMMAND, 40078, 0);
  guitest::Pump(500);
  HWND page = GetDlgItem(room.panel, 205);
  ClickCentre(GetDlgItem(page, 2164));
  Type("Berg");
  ClickCentre(GetDlgItem(page, 2001));
  TimeSearch(&room, "header", false);
  ClickCentre(GetDlgItem(page, 2001));
  TimeSearch(&room, "stopped", true);
  guitest::KillProgram(&room.program);
  return 0;
}
