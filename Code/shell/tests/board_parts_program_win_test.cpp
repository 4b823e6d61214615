// Rookwell.exe from an installed program folder in the game room, with the
// board's dialogs and windows reached as a user reaches them: the
// Preferences menu's Board Settings and Chess Set, Set Up Position from the
// Game menu, the Captured and Visual Thinking windows by their keys, and
// Game Information. Screenshots go to artefacts/shell.
#include "board_projection.h"
#include "chess_sets.h"
// clang-format off
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "guitest.h"
#include "program_board_geometry.h"

namespace {

const char* kFrameClass = "RWONYX_APP_CLASS";
const char* kBoardClass = "RWBoardWndClass";

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, name); }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void ClickChild(HWND parent, int id) {
  ASSERT_TRUE(guitest::ClickItem(parent, id)) << id;
  guitest::Pump(150);
}

void Type(const char* text) {
  guitest::TypeText(text);
  guitest::Pump(100);
}

// The centre of a list box line on the screen.
POINT ListLine(HWND dialog, int list, int line) {
  HWND box = GetDlgItem(dialog, list);
  RECT item{};
  SendMessageA(box, LB_GETITEMRECT, WPARAM(line), LPARAM(&item));
  POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(box, &p);
  return p;
}

// Read as wide text: the system hands another process's list lines over so.
std::string ListText(HWND dialog, int list, int line) {
  wchar_t text[128] = L"";
  SendDlgItemMessageW(dialog, list, LB_GETTEXT, WPARAM(line), LPARAM(text));
  char narrow[128] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

class BoardPartsProgram : public ::testing::Test {
 protected:
  void TearDown() override {
    if (program_.process) {
      if (frame_) PostMessageA(frame_, WM_CLOSE, 0, 0);
      DWORD code = 0;
      if (!guitest::WaitForProgramEnd(&program_, 15000, &code)) guitest::KillProgram(&program_);
    }
  }

  // A fresh copy of the installed folder; a test user enters the game room
  // with a game between two people (the advisor is the only engine).
  bool Start(const char* name, bool engineBlack = false, const char* boardSet = nullptr) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + name;
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
    std::filesystem::copy(guitest::InstalledProgramFolder(), folder_, std::filesystem::copy_options::recursive, error);
    const std::string ini = folder_ + "\\rw.ini";
    WritePrivateProfileStringA("settings", "IntroMovie", "0", ini.c_str());
    WritePrivateProfileStringA("debug", "auto_login", "1", ini.c_str());
    WritePrivateProfileStringA("debug", "auto_login_user", "Tester", ini.c_str());
    WritePrivateProfileStringA("debug", "auto_room_select", "1", ini.c_str());
    if (notationDelay_) WritePrivateProfileStringA("debug", "notation_change_delay", notationDelay_, ini.c_str());
    const std::string defaults = folder_ + "\\RWDEFAULT.INI";
    WritePrivateProfileStringA("gameroom", "white_player_name", "Tester", defaults.c_str());
    WritePrivateProfileStringA("gameroom", "white_player", "0 300000 0 4", defaults.c_str());
    WritePrivateProfileStringA("gameroom", "black_player_name", engineBlack ? "Pip - Age 7" : "Guest",
                               defaults.c_str());
    WritePrivateProfileStringA("gameroom", "black_player", engineBlack ? "1 300000 0 4" : "0 300000 0 4",
                               defaults.c_str());
    if (boardSet) {
      char layout[MAX_PATH];
      std::snprintf(layout, sizeof layout, "%s\\Layouts\\Default(%dx%d).LAY", folder_.c_str(),
                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
      WritePrivateProfileStringA("gameroom", "board_set", boardSet, layout);
    }
    if (!guitest::StartProgram(folder_ + "\\Rookwell.exe", "", folder_, &program_)) return false;
    if (!guitest::WaitFor([&] { return (frame_ = guitest::FindProgramWindow(program_, kFrameClass)) != nullptr; },
                          20000))
      return false;
    room_ = FindWindowExA(frame_, nullptr, "WC_ROOKWELL_ROOM", nullptr);
    {
      char layout[MAX_PATH], value[64] = "";
      std::snprintf(layout, sizeof layout, "%s\\Layouts\\Default(%dx%d).LAY", folder_.c_str(),
                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
      RECT area{};
      GetPrivateProfileStringA("gameroom", "Board", "", value, sizeof value, layout);
      if (std::sscanf(value, "%ld %ld %ld %ld", &area.left, &area.top, &area.right, &area.bottom) == 4)
        geometry_.Load(area);
    }
    guitest::WaitFor([&] { return (board_ = VisibleBoard()) != nullptr; }, 10000);
    guitest::Pump(1000);
    return room_ && board_;
  }

  HWND VisibleBoard() {
    for (HWND w = FindWindowExA(room_, nullptr, kBoardClass, nullptr); w; w = FindWindowExA(room_, w, kBoardClass, nullptr))
      if (IsWindowVisible(w)) return w;
    return nullptr;
  }
  struct WindowSearch {
    const char* caption;
    DWORD process;
    HWND found;
    bool visibleOnly;
  };
  static BOOL CALLBACK MatchCaption(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<WindowSearch*>(p);
    char text[96] = "";
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    GetWindowTextA(w, text, sizeof text);
    if (pid != s->process || std::strcmp(text, s->caption) != 0) return TRUE;
    if (s->visibleOnly && !IsWindowVisible(w)) return TRUE;
    s->found = w;
    return FALSE;
  }
  HWND ProgramWindow(const char* caption, bool visibleOnly = false) {
    WindowSearch search{caption, program_.id, nullptr, visibleOnly};
    EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  static BOOL CALLBACK ListWindow(HWND w, LPARAM p) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != DWORD(p)) return TRUE;
    char text[96] = "", name[64] = "";
    GetWindowTextA(w, text, sizeof text);
    GetClassNameA(w, name, sizeof name);
    RECT r{};
    GetWindowRect(w, &r);
    std::printf("  window \"%s\" class %s %s (%ld,%ld)-(%ld,%ld)\n", text, name, IsWindowVisible(w) ? "shown" : "hidden",
                r.left, r.top, r.right, r.bottom);
    return TRUE;
  }
  HWND AwaitWindow(const char* caption, int ms = 5000) {
    HWND found = nullptr;
    guitest::WaitFor([&] { return (found = ProgramWindow(caption, true)) != nullptr; }, ms);
    guitest::Pump(400);
    if (!found) {
      std::printf("no window \"%s\"; the program's windows:\n", caption);
      EnumWindows(ListWindow, LPARAM(program_.id));
    }
    return found;
  }
  // A menu item by its menu's and its own mnemonics, as a user types them.
  void Choose(WORD menu, WORD item) {
    SetForegroundWindow(frame_);
    guitest::Pump(100);
    guitest::Chord({VK_MENU}, menu);
    guitest::Pump(300);
    guitest::PressKey(item);
    guitest::Pump(300);
  }
  // The ASCII board the program copies (Edit/Copy/ASCII Board Position),
  // or its move list (Edit/Copy/Move List).
  std::string CopiedBoard(WPARAM command = 40002) {
    PostMessageA(frame_, WM_COMMAND, command, 0);
    guitest::Pump(600);
    // A move list asks which annotations go with it: "None" is chosen first.
    if (command == 40008) {
      HWND ask = AwaitWindow("Annotation Type");
      if (!ask) return std::string();
      EXPECT_EQ(IsDlgButtonChecked(ask, 471), BST_CHECKED);
      if (!annotationShot_) annotationShot_ = Shot("board_parts_annotation_type");
      ClickChild(ask, IDOK);
      guitest::Pump(600);
    }
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      if (const char* p = static_cast<const char*>(GlobalLock(data))) text = p;
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }
  // The user's files holding a text (settings and layout).
  bool UserFileHolds(const char* extension, const std::string& text) {
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_, error)) {
      const std::string path = entry.path().string();
      if (path.size() < 4 || _stricmp(path.c_str() + path.size() - 4, extension) != 0) continue;
      if (ReadText(path).find(text) != std::string::npos) return true;
    }
    return false;
  }

  // Ctrl+L, then a file name typed into the file dialog.
  void LoadFile(const char* name) {
    SetForegroundWindow(frame_);
    guitest::Chord({VK_CONTROL}, 'L');
    HWND dialog = AwaitWindow("File Open");
    ASSERT_NE(dialog, nullptr);
    if (!openShot_) openShot_ = Shot("board_parts_file_open");
    ClickChild(dialog, 406);
    Type(name);
    guitest::PressKey(VK_RETURN);
    guitest::Pump(1500);
  }
  std::string MessageBoxText(HWND* box) {
    *box = nullptr;
    guitest::WaitFor([&] { return (*box = guitest::FindProgramWindow(program_, "RWOMSGBOX")) != nullptr; }, 5000);
    char text[1024] = "";
    if (*box) GetDlgItemTextA(*box, 301, text, sizeof text);
    return text;
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream out(folder_ + "\\" + name, std::ios::binary);
    out << text;
  }

  BoardGeometry geometry_;
  guitest::Program program_;
  std::string folder_;
  bool annotationShot_ = false;
  bool openShot_ = false;
  const char* notationDelay_ = nullptr;
  HWND frame_ = nullptr, room_ = nullptr, board_ = nullptr;
};

TEST_F(BoardPartsProgram, BoardSettingsAndTheChessSetChoice) {
  ASSERT_TRUE(Start("rw_e2e_board_parts"));
  // Preferences / Board Settings: coordinates off, OK; the choice is kept
  // in the room's settings and shown again.
  Choose('P', 'B');
  HWND settings = AwaitWindow("Board Settings");
  ASSERT_NE(settings, nullptr);
  Shot("board_parts_settings");
  ClickChild(settings, 302);  // Board Coordinates: Off
  ClickChild(settings, IDOK);
  EXPECT_TRUE(guitest::WaitFor([&] { return ProgramWindow("Board Settings", true) == nullptr; }, 3000));
  EXPECT_TRUE(UserFileHolds(".ini", "board_coordinates=0"));
  Choose('P', 'B');
  settings = AwaitWindow("Board Settings");
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(settings, 302), BST_CHECKED);
  ClickChild(settings, IDCANCEL);
  Shot("board_parts_no_coordinates");

  // Preferences / Chess Set (an item without a mnemonic): another board,
  // OK; the room shows it and the layout keeps it.
  PostMessageA(frame_, WM_COMMAND, 40087, 0);
  HWND sets = AwaitWindow("Select Chess Pieces & Board");
  ASSERT_NE(sets, nullptr);
  const int lines = int(SendDlgItemMessageA(sets, 1891, LB_GETCOUNT, 0, 0));
  ASSERT_GE(lines, 3);
  EXPECT_EQ(ListText(sets, 1891, lines - 1), "Custom Board");
  const int selected = int(SendDlgItemMessageA(sets, 1891, LB_GETCURSEL, 0, 0));
  const int other = selected == 0 ? 1 : 0;
  const std::string otherName = ListText(sets, 1891, other);
  guitest::Click(ListLine(sets, 1891, other));
  guitest::Pump(400);
  Shot("board_parts_chess_sets");
  ClickChild(sets, IDOK);
  EXPECT_TRUE(guitest::WaitFor([&] { return ProgramWindow("Select Chess Pieces & Board", true) == nullptr; }, 3000));
  guitest::Pump(800);
  board_ = VisibleBoard();
  ASSERT_NE(board_, nullptr);
  Shot("board_parts_other_board");
  EXPECT_TRUE(UserFileHolds(".lay", "board_set=" + otherName)) << otherName;

  // The custom board, with its preview in the dialog.
  PostMessageA(frame_, WM_COMMAND, 40087, 0);
  sets = AwaitWindow("Select Chess Pieces & Board");
  ASSERT_NE(sets, nullptr);
  guitest::Click(ListLine(sets, 1891, lines - 1));
  guitest::Pump(400);
  Shot("board_parts_custom_preview");
  ClickChild(sets, IDOK);
  guitest::Pump(1000);
  board_ = VisibleBoard();
  ASSERT_NE(board_, nullptr);
  // The Customize Board tool comes with the custom board.
  EXPECT_NE(AwaitWindow("Customize Board"), nullptr);
  Shot("board_parts_custom_board");
  EXPECT_TRUE(UserFileHolds(".lay", "board_set=Custom Board"));
  // The game still plays on the new board.
  EXPECT_EQ(CopiedBoard().rfind("BR  BN  BB  BQ  BK  BB  BN  BR", 0), 0u);
}

TEST_F(BoardPartsProgram, TheLayoutsBoardSetAtStart) {
  ASSERT_TRUE(Start("rw_e2e_board_layout_set", false, "3D Walnut Perspective"));
  Shot("board_parts_layout_perspective");
}

TEST_F(BoardPartsProgram, SetUpPositionReplacesTheGame) {
  ASSERT_TRUE(Start("rw_e2e_board_setup"));
  Choose('G', 'P');  // Game / Set Up Position
  HWND tool = AwaitWindow("Set Up Board Position");
  ASSERT_NE(tool, nullptr);
  ClickChild(tool, 2221);  // Clear Board
  guitest::Pump(500);
  Shot("board_parts_setup_cleared");
  ClickChild(tool, IDOK);  // Apply
  HWND complete = AwaitWindow("Complete Board Setup");
  ASSERT_NE(complete, nullptr);
  Shot("board_parts_complete_setup");
  ClickChild(complete, IDOK);
  EXPECT_TRUE(guitest::WaitFor([&] { return ProgramWindow("Set Up Board Position", true) == nullptr; }, 3000));
  guitest::Pump(800);
  const std::string board = CopiedBoard();
  // Two kings and nothing else.
  int pieces = 0;
  for (size_t i = 0; i + 1 < board.size(); ++i)
    if ((board[i] == 'W' || board[i] == 'B') && std::strchr("KQRBNP", board[i + 1])) ++pieces, ++i;
  EXPECT_EQ(pieces, 2) << board;
  EXPECT_NE(board.find("WK"), std::string::npos) << board;
  EXPECT_NE(board.find("BK"), std::string::npos) << board;
  Shot("board_parts_setup_done");

  // Cancelling the tool keeps the position as it was.
  Choose('G', 'P');
  tool = AwaitWindow("Set Up Board Position");
  ASSERT_NE(tool, nullptr);
  ClickChild(tool, 2220);  // Starting Position
  ClickChild(tool, IDCANCEL);
  EXPECT_TRUE(guitest::WaitFor([&] { return ProgramWindow("Set Up Board Position", true) == nullptr; }, 3000));
  guitest::Pump(500);
  EXPECT_EQ(CopiedBoard(), board);
}

TEST_F(BoardPartsProgram, APawnReachingTheLastRankAsksForItsPiece) {
  ASSERT_TRUE(Start("rw_e2e_promotion"));
  Choose('G', 'P');
  HWND tool = AwaitWindow("Set Up Board Position");
  ASSERT_NE(tool, nullptr);
  ClickChild(tool, 2221);  // Clear Board
  ClickChild(tool, 30400);  // the white pawn
  guitest::Click(geometry_.Centre(board_, "a7"));
  guitest::Pump(400);
  Shot("board_parts_promotion_setup");
  ClickChild(tool, IDOK);
  HWND complete = AwaitWindow("Complete Board Setup");
  ASSERT_NE(complete, nullptr);
  ClickChild(complete, IDOK);
  guitest::Pump(800);
  ASSERT_NE(CopiedBoard().find("WP"), std::string::npos);
  guitest::DragSettled(geometry_.Centre(board_, "a7"), geometry_.Centre(board_, "a8"));
  HWND promotion = AwaitWindow("Pawn Promotion");
  ASSERT_NE(promotion, nullptr);
  Shot("board_parts_promotion");
  // Escape leaves the question standing; the knight answers it.
  guitest::PressKey(VK_ESCAPE);
  guitest::Pump(300);
  EXPECT_TRUE(IsWindowVisible(promotion));
  ClickChild(promotion, 136);
  guitest::Pump(800);
  const std::string board = CopiedBoard();
  EXPECT_EQ(board.rfind("WN", 0), 0u) << board;
}

TEST_F(BoardPartsProgram, ASlowNotationChangeShowsTheWaitBox) {
  notationDelay_ = "2500";  // the change made slow, as on a long game
  ASSERT_TRUE(Start("rw_e2e_notation_wait"));
  SetForegroundWindow(frame_);
  guitest::Chord({VK_MENU}, 'P');
  guitest::Pump(300);
  guitest::PressKey('N');
  guitest::Pump(300);
  guitest::PressKey('D');  // Descriptive
  HWND box = AwaitWindow("Rookwell");
  ASSERT_NE(box, nullptr);
  char text[128] = "";
  GetDlgItemTextA(box, 301, text, sizeof text);
  EXPECT_STREQ(text, "Please wait while the move notation is changed.");
  Shot("board_parts_notation_wait");
  // It closes by itself when the change is done.
  EXPECT_TRUE(guitest::WaitFor([&] { return ProgramWindow("Rookwell", true) == nullptr; }, 8000));
}

TEST_F(BoardPartsProgram, CapturedAndVisualThinkingWindows) {
  ASSERT_TRUE(Start("rw_e2e_board_windows"));
  const int engines = guitest::CountProcesses("Corvane.exe");
  // The layout shows Captured in the game room.
  HWND captured = AwaitWindow("Captured");
  ASSERT_NE(captured, nullptr);
  SetForegroundWindow(frame_);
  guitest::Chord({VK_CONTROL}, '5');
  HWND thinking = AwaitWindow("Visual Thinking");
  ASSERT_NE(thinking, nullptr);
  // Shown, the best-line board keeps the advisor analysing.
  EXPECT_TRUE(guitest::WaitFor([&] { return guitest::CountProcesses("Corvane.exe") > engines; }, 15000));
  guitest::Pump(3000);
  Shot("board_parts_captured_visual_thinking");
  // Their close boxes hide them; Ctrl+4 brings Captured back.
  PostMessageA(thinking, WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageA(captured, WM_SYSCOMMAND, SC_CLOSE, 0);
  guitest::Pump(600);
  EXPECT_FALSE(IsWindowVisible(thinking));
  EXPECT_FALSE(IsWindowVisible(captured));
  SetForegroundWindow(frame_);
  guitest::Chord({VK_CONTROL}, '4');
  EXPECT_NE(AwaitWindow("Captured"), nullptr);
}

TEST_F(BoardPartsProgram, GameInformationStoresItsFields) {
  ASSERT_TRUE(Start("rw_e2e_game_info"));
  Choose('G', 'I');
  HWND info = AwaitWindow("Game Information");
  ASSERT_NE(info, nullptr);
  char name[64] = "";
  GetDlgItemTextA(info, 1502, name, sizeof name);
  EXPECT_STREQ(name, "Tester");
  ClickChild(info, 1506);
  Type("Riverside Club");
  ClickChild(info, 2145);
  Type("C20X");  // the fourth character does not fit
  ClickChild(info, 2134);
  Type("A quiet game.");
  ClickChild(info, 1511);  // Draw
  Shot("board_parts_game_info");
  ClickChild(info, IDOK);
  EXPECT_TRUE(guitest::WaitFor([&] { return ProgramWindow("Game Information", true) == nullptr; }, 3000));
  // Opened again, it shows what was stored; an emptied remark keeps the old one.
  Choose('G', 'I');
  info = AwaitWindow("Game Information");
  ASSERT_NE(info, nullptr);
  char text[128] = "";
  GetDlgItemTextA(info, 1506, text, sizeof text);
  EXPECT_STREQ(text, "Riverside Club");
  GetDlgItemTextA(info, 2145, text, sizeof text);
  EXPECT_STREQ(text, "C20");
  EXPECT_EQ(IsDlgButtonChecked(info, 1511), BST_CHECKED);
  SetDlgItemTextA(info, 2134, "");
  ClickChild(info, IDOK);
  guitest::Pump(400);
  Choose('G', 'I');
  info = AwaitWindow("Game Information");
  ASSERT_NE(info, nullptr);
  GetDlgItemTextA(info, 2134, text, sizeof text);
  EXPECT_STREQ(text, "A quiet game.");
  ClickChild(info, IDCANCEL);
}

TEST_F(BoardPartsProgram, AComputersNameStaysInGameInformation) {
  ASSERT_TRUE(Start("rw_e2e_game_info_engine", true));
  Choose('G', 'I');
  HWND info = AwaitWindow("Game Information");
  ASSERT_NE(info, nullptr);
  char kind[32] = "";
  GetDlgItemTextA(info, 1505, kind, sizeof kind);
  EXPECT_STREQ(kind, "(Computer)");
  // The field is read-only to the user; a changed text is refused on OK.
  SetDlgItemTextA(info, 1504, "Someone Else");
  ClickChild(info, IDOK);
  HWND box = nullptr;
  const std::string text = MessageBoxText(&box);
  EXPECT_EQ(text.rfind("Only human player's names may be modified", 0), 0u) << text;
  Shot("board_parts_game_info_refused");
  if (box) ClickChild(box, 1);
  guitest::Pump(400);
  char name[64] = "";
  GetDlgItemTextA(info, 1504, name, sizeof name);
  EXPECT_STREQ(name, "Pip - Age 7");
  EXPECT_TRUE(IsWindowVisible(info));
  ClickChild(info, IDCANCEL);
}

const char* kGame = "[Event \"Club\"]\n[White \"Ann\"]\n[Black \"Bob\"]\n[Result \"*\"]\n\n";

TEST_F(BoardPartsProgram, LoadingPgnFilesAndSavingAGame) {
  ASSERT_TRUE(Start("rw_e2e_load_save"));
  Write("one.pgn", std::string(kGame) + "1. e4 e5 2. Nf3 *\n");
  Write("three.pgn", std::string(kGame) + "1. d4 *\n\n" + kGame + "1. c4 e5 *\n\n" + kGame + "1. Nf3 *\n");
  Write("bad.pgn", std::string(kGame) + "1. e4 e5 2. Ke3 *\n");
  // One game loads at once.
  LoadFile("one.pgn");
  EXPECT_EQ(ProgramWindow("PGN File Open", true), nullptr);
  std::string moves = CopiedBoard(40008);
  EXPECT_TRUE(moves.find("Nf3") != std::string::npos || moves.find("g1-f3") != std::string::npos) << moves;
  // Three games: the list, the second chosen.
  LoadFile("three.pgn");
  HWND list = AwaitWindow("PGN File Open");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendDlgItemMessageA(list, 1562, LB_GETCOUNT, 0, 0), 3);
  Shot("board_parts_pgn_list");
  guitest::Click(ListLine(list, 1562, 1));
  ClickChild(list, 401);
  EXPECT_TRUE(guitest::WaitFor([&] { return ProgramWindow("PGN File Open", true) == nullptr; }, 3000));
  guitest::Pump(800);
  moves = CopiedBoard(40008);
  EXPECT_NE(moves.find("c4"), std::string::npos) << moves;
  EXPECT_EQ(moves.find("d4"), std::string::npos) << moves;
  // An illegal move is shown with its place.
  LoadFile("bad.pgn");
  HWND box = nullptr;
  const std::string text = MessageBoxText(&box);
  EXPECT_EQ(text.rfind("Illegal move or unrecognized move\nLine #:", 0), 0u) << text;
  Shot("board_parts_pgn_error");
  if (box) ClickChild(box, 1);
  guitest::Pump(400);

  // Save: a new file, then the same name again answered No and cancelled.
  SetForegroundWindow(frame_);
  guitest::Chord({VK_CONTROL}, 'S');
  HWND save = AwaitWindow("File Save");
  ASSERT_NE(save, nullptr);
  Shot("board_parts_save_dialog");
  SetDlgItemTextA(save, 406, "");
  ClickChild(save, 406);
  Type("saved");
  guitest::PressKey(VK_RETURN);
  guitest::Pump(1200);
  const std::string saved = folder_ + "\\saved.RWG";
  const std::string before = ReadText(saved);
  EXPECT_FALSE(before.empty());
  guitest::Chord({VK_CONTROL}, 'S');
  save = AwaitWindow("File Save");
  ASSERT_NE(save, nullptr);
  SetDlgItemTextA(save, 406, "");
  ClickChild(save, 406);
  Type("saved.RWG");
  guitest::PressKey(VK_RETURN);
  const std::string question = MessageBoxText(&box);
  EXPECT_NE(question.find("Replace"), std::string::npos) << question;
  if (box) ClickChild(box, 1);  // "No"
  save = AwaitWindow("File Save");
  ASSERT_NE(save, nullptr);
  ClickChild(save, IDCANCEL);
  guitest::Pump(400);
  EXPECT_EQ(ReadText(saved), before);
}

}  // namespace
