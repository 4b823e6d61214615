// What the program tests of the classroom and the kids room share: a fresh
// copy of the installed program started with a test user in a room, the
// program's trace, its windows and controls, and the board's squares on
// the screen. Each test file defines RW_TEACHING_ARTEFACT_DIR for its
// pictures.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "guitest.h"

namespace {


const char* kFrameClass = "RWONYX_APP_CLASS";
constexpr int kClassroomButton = 21555;
constexpr int kKidsButton = 21550;
constexpr int kGameButton = 21565;
constexpr int kLobbyRoom = 0, kGameRoom = 1;

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_TEACHING_ARTEFACT_DIR, name); }

std::string FreshCopy(const char* name, bool audio, int room) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string to = std::string(temp) + name;
  std::error_code error;
  std::filesystem::remove_all(to, error);
  std::filesystem::copy(guitest::InstalledProgramFolder(), to, std::filesystem::copy_options::recursive, error);
  const std::string ini = to + "\\rw.ini";
  WritePrivateProfileStringA("settings", "IntroMovie", "0", ini.c_str());
  WritePrivateProfileStringA("debug", "DoIVAAudio", audio ? "1" : "0", ini.c_str());
  // A test user is logged in and the program starts in a room beside the
  // navigation bar (the lobby's login screen would hide it).
  WritePrivateProfileStringA("debug", "auto_login", "1", ini.c_str());
  WritePrivateProfileStringA("debug", "auto_room_select", std::to_string(room).c_str(), ini.c_str());
  return to;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct ProgramRun {
  std::string folder, trace;
  guitest::Program program;
  HWND frame = nullptr;
  // More [debug] keys for the run's rw.ini.
  std::vector<std::pair<std::string, std::string>> debugKeys;
  bool Start(const char* name, bool audio = false, int room = kGameRoom) {
    folder = FreshCopy(name, audio, room);
    for (const auto& [key, value] : debugKeys)
      WritePrivateProfileStringA("debug", key.c_str(), value.c_str(), (folder + "\\rw.ini").c_str());
    trace = folder + "\\trace.txt";
    SetEnvironmentVariableA("RW_SHELL_TRACE", (folder + "\\start.txt").c_str());
    SetEnvironmentVariableA("RW_TEACHING_TRACE", trace.c_str());
    if (!guitest::StartProgram(folder + "\\Rookwell.exe", "", folder, &program)) return false;
    return guitest::WaitFor([&] { return (frame = guitest::FindProgramWindow(program, kFrameClass)) != nullptr; },
                            20000);
  }
  ~ProgramRun() { guitest::KillProgram(&program); }
};

POINT CentreOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void ClickChild(HWND parent, int id) {
  ASSERT_TRUE(guitest::ClickItem(parent, id)) << id;
}

struct FindControl {
  int id;
  HWND found;
};

BOOL CALLBACK FindVisibleControl(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<FindControl*>(p);
  if (GetDlgCtrlID(w) == f->id && IsWindowVisible(w)) {
    f->found = w;
    return FALSE;
  }
  return TRUE;
}

// A visible control anywhere below `parent` by id.
HWND Descendant(HWND parent, int id) {
  FindControl f{id, nullptr};
  EnumChildWindows(parent, FindVisibleControl, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// The control's own text (an edit control's, across processes).
std::string TextOf(HWND w) {
  char text[2048] = "";
  if (w) SendMessageA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// The board's squares on the screen, from the program's trace.
struct BoardSquares {
  HWND window = nullptr;
  int a1x = 0, a1y = 0, h8x = 0, h8y = 0;
  bool Read(const std::string& trace, HWND room, int roomNumber) {
    std::istringstream in(ReadText(trace));
    const std::string key = "teaching board " + std::to_string(roomNumber) + ": a1";
    for (std::string line; std::getline(in, line);) {
      const size_t at = line.find(key);
      if (at != std::string::npos)
        std::sscanf(line.c_str() + at + key.size(), " %d %d h8 %d %d", &a1x, &a1y, &h8x, &h8y);
    }
    window = FindWindowExA(room, nullptr, "RWBoardWndClass", nullptr);
    return window && h8x != a1x;
  }
  POINT At(const char* square) const {
    const int file = square[0] - 'a', rank = square[1] - '1';
    POINT p{a1x + (h8x - a1x) * file / 7, a1y + (h8y - a1y) * rank / 7};
    ClientToScreen(window, &p);
    return p;
  }
};

HWND WaitForWindow(const char* caption, DWORD ms) {
  HWND w = nullptr;
  guitest::WaitFor([&] { return (w = FindWindowA(nullptr, caption)) != nullptr && IsWindowVisible(w); }, ms);
  return w;
}

HWND AnswerBox(const guitest::Program& program) {
  HWND box = nullptr;
  guitest::WaitFor(
      [&] {
        box = guitest::FindProgramWindow(program, "RWOMSGBOX");
        return box && IsWindowVisible(box) && !TextOf(GetDlgItem(box, 301)).empty();
      },
      6000);
  return box;
}

}  // namespace
