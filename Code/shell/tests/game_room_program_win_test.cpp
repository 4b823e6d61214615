// Rookwell.exe from an installed program folder in the game room, played as
// a user plays it: a test user logged in, the room's first game against a
// personality, moves dragged on the board and answered by Corvane, Game
// Status and Thinking Lines following the game, leaving and re-entering the
// room, the board's context menu, the Shortcuts window, and an unfinished
// rated game refused by Load. Screenshots go to artefacts/shell.
#include "chess_sets.h"
#include "board_projection.h"
#include "game_file.h"
#include "game_record.h"
#include "board.h"
// clang-format off
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "guitest.h"
#include "program_board_geometry.h"
#include "personality.h"

namespace {

const char* kFrameClass = "RWONYX_APP_CLASS";
const char* kBoardClass = "RWBoardWndClass";
constexpr int kGameButton = 21565;
constexpr int kLibraryButton = 21570;  // the lobby hides the bar: leave to a room beside it
constexpr int kMoveList = 1806;

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, name); }

void ClickChild(HWND parent, int id) {
  ASSERT_TRUE(guitest::ClickItem(parent, id)) << id;
}

void Type(const char* text) {
  guitest::TypeText(text);
  guitest::Pump(100);
}

// The program's Game Status move list, read from its rows: White's and
// Black's cells of each row.
struct MoveRowItem {
  uint32_t whiteAlternatives;
  uint32_t blackAlternatives;
  char white[16];
  char black[16];
};

class GameRoomProgram : public ::testing::Test {
 protected:
  void SetUp() override {}
  void TearDown() override {
    if (program_.process) {
      if (frame_) PostMessageA(frame_, WM_CLOSE, 0, 0);
      DWORD code = 0;
      if (!guitest::WaitForProgramEnd(&program_, 15000, &code)) guitest::KillProgram(&program_);
    }
  }

  // A fresh copy of the installed folder, the game room entered at start by
  // a test user whose game room has a five-minute game against "Pip - Age 7".
  bool Start(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + name;
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
    std::filesystem::copy(guitest::InstalledProgramFolder(), folder_, std::filesystem::copy_options::recursive, error);
    if (prepare_) prepare_(folder_);
    const std::string ini = folder_ + "\\rw.ini";
    WritePrivateProfileStringA("settings", "IntroMovie", "0", ini.c_str());
    WritePrivateProfileStringA("debug", "auto_login", "1", ini.c_str());
    WritePrivateProfileStringA("debug", "auto_login_user", "Tester", ini.c_str());
    WritePrivateProfileStringA("debug", "auto_room_select", "1", ini.c_str());
    const std::string defaults = folder_ + "\\RWDEFAULT.INI";
    WritePrivateProfileStringA("gameroom", "white_player_name", "Tester", defaults.c_str());
    WritePrivateProfileStringA("gameroom", "white_player", "0 300000 0 4", defaults.c_str());
    WritePrivateProfileStringA("gameroom", "black_player_name", "Pip - Age 7", defaults.c_str());
    WritePrivateProfileStringA("gameroom", "black_player", "1 300000 0 4", defaults.c_str());
    // The user's layout: Thinking Lines in the panel column under Game
    // Status, where the captured pieces would be, and Shortcuts under it.
    char layout[MAX_PATH];
    std::snprintf(layout, sizeof layout, "%s\\Layouts\\Default(%dx%d).LAY", folder_.c_str(),
                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    char value[64] = "";
    RECT status{}, shortcuts{}, area{};
    GetPrivateProfileStringA("gameroom", "Game Status", "", value, sizeof value, layout);
    std::sscanf(value, "%ld %ld %ld %ld", &status.left, &status.top, &status.right, &status.bottom);
    GetPrivateProfileStringA("gameroom", "Shortcuts", "", value, sizeof value, layout);
    std::sscanf(value, "%ld %ld %ld %ld", &shortcuts.left, &shortcuts.top, &shortcuts.right, &shortcuts.bottom);
    GetPrivateProfileStringA("gameroom", "Board", "", value, sizeof value, layout);
    if (std::sscanf(value, "%ld %ld %ld %ld", &area.left, &area.top, &area.right, &area.bottom) != 4 ||
        !geometry_.Load(area))
      return false;
    const long thinkingBottom = status.bottom + 3 + 140;
    std::snprintf(value, sizeof value, "%ld %ld %ld %ld 1", status.left, status.bottom + 3, status.right,
                  thinkingBottom);
    WritePrivateProfileStringA("gameroom", "Thinking", value, layout);
    std::snprintf(value, sizeof value, "%ld %ld %ld %ld 1", shortcuts.left, thinkingBottom + 3, shortcuts.right,
                  thinkingBottom + 3 + (shortcuts.bottom - shortcuts.top));
    WritePrivateProfileStringA("gameroom", "Shortcuts", value, layout);
    for (const char* hidden : {"Captured", "Annotation"}) {
      GetPrivateProfileStringA("gameroom", hidden, "", value, sizeof value, layout);
      RECT r{};
      int shown = 0;
      if (std::sscanf(value, "%ld %ld %ld %ld %d", &r.left, &r.top, &r.right, &r.bottom, &shown) == 5) {
        std::snprintf(value, sizeof value, "%ld %ld %ld %ld 0", r.left, r.top, r.right, r.bottom);
        WritePrivateProfileStringA("gameroom", hidden, value, layout);
      }
    }
    return Launch();
  }
  // Starts the program in the prepared folder (again, after a Stop).
  bool Launch() {
    SetEnvironmentVariableA("RW_SHELL_TRACE", (folder_ + "\\trace.txt").c_str());
    // The sound library's event log, for the tests that listen.
    SetEnvironmentVariableA("RW_SOUND_CAPTURE", listen_ ? (folder_ + "\\capture.wav").c_str() : nullptr);
    if (!guitest::StartProgram(folder_ + "\\Rookwell.exe", "", folder_, &program_)) return false;
    if (!guitest::WaitFor([&] { return (frame_ = guitest::FindProgramWindow(program_, kFrameClass)) != nullptr; },
                          20000))
      return false;
    room_ = FindWindowExA(frame_, nullptr, "WC_ROOKWELL_ROOM", nullptr);
    bar_ = FindWindowExA(frame_, nullptr, nullptr, "Navigation");
    guitest::WaitFor([&] { return (board_ = VisibleBoard()) != nullptr; }, 10000);
    guitest::Pump(800);
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
  };
  static BOOL CALLBACK MatchCaption(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<WindowSearch*>(p);
    char text[64] = "";
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    GetWindowTextA(w, text, sizeof text);
    if (pid != s->process || std::strcmp(text, s->caption) != 0) return TRUE;
    s->found = w;
    return FALSE;
  }
  HWND ProgramWindow(const char* caption) {
    WindowSearch search{caption, program_.id, nullptr};
    EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  std::vector<std::string> Moves() {
    std::vector<std::string> plies;
    HWND status = ProgramWindow("Game Status");
    HWND list = status ? GetDlgItem(status, kMoveList) : nullptr;
    if (!list) return plies;
    const int rows = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
      const LRESULT data = SendMessageA(list, LB_GETITEMDATA, row, 0);
      MoveRowItem item{};
      SIZE_T read = 0;
      if (!data || data == LB_ERR ||
          !ReadProcessMemory(program_.process, reinterpret_cast<void*>(data), &item, sizeof item, &read))
        break;
      item.white[15] = item.black[15] = 0;
      plies.push_back(item.white);
      if (item.black[0]) plies.push_back(item.black);
    }
    return plies;
  }
  // Drags a piece and waits for Corvane's answer in the move list.
  void PlayAndAwaitAnswer(const char* from, const char* to) {
    const size_t before = Moves().size();
    // A press that lands while the frame is being activated is not a drag:
    // the user presses again. On a loaded machine the program may take
    // seconds to read a gesture, so each try is given time; a repeated drag
    // from a square already left does nothing.
    for (int attempt = 0; attempt < 3 && Moves().size() < before + 1; ++attempt) {
      guitest::DragSettled(geometry_.Centre(board_, from), geometry_.Centre(board_, to));
      if (!guitest::WaitFor([&] { return Moves().size() >= before + 1; }, 5000))
        Shot((std::string("game_room_refused_") + from + to + char('0' + attempt)).c_str());
    }
    ASSERT_GE(Moves().size(), before + 1) << from << to;
    ASSERT_TRUE(guitest::WaitFor([&] { return Moves().size() >= before + 2; }, 60000)) << "no answer to " << from << to;
    guitest::Pump(1200);  // the reply's slide
  }
  void ClickBar(int id) {
    ClickChild(bar_, id);
    guitest::Pump(1200);
  }

  // A point on a shortcut tile's face, and a check that a click there
  // reaches the tile rather than a window standing over it.
  HWND Tile(int id) { return GetDlgItem(FindWindowExA(ProgramWindow("Shortcuts"), nullptr, nullptr, nullptr), id); }
  POINT TileFace(int id) {
    RECT r{};
    GetWindowRect(Tile(id), &r);
    return POINT{(r.left + r.right) / 2, r.top + 12};
  }
  void ExpectTileOnTop(int id) {
    HWND under = WindowFromPoint(TileFace(id));
    char found[64] = "";
    GetClassNameA(under, found, sizeof found);
    EXPECT_EQ(under, Tile(id)) << id << " under " << found;
  }

  // Writes an unfinished rated game, opens it with File Open (Ctrl+L, the
  // name typed) and closes the refusal, string 179, by its button.
  void LoadARefusedRatedGame(const char* shot) {
    PlayerDescriptor white{}, black{};
    std::snprintf(white.name, sizeof white.name, "Tester");
    std::snprintf(black.name, sizeof black.name, "Rosa Quint");
    black.kind = PLAYER_ENGINE;
    GameRecord* rated = CreateGame(0x120, nullptr, &white, &black, nullptr, nullptr, nullptr, WHITE, 1, 0);
    ASSERT_NE(rated, nullptr);
    ASSERT_EQ(WriteGameFile((folder_ + "\\rated.RWG").c_str(), rated), 0);
    DestroyGame(rated);
    guitest::Chord({VK_CONTROL}, 'L');
    HWND dialog = nullptr;
    ASSERT_TRUE(guitest::WaitFor([&] { return (dialog = ProgramWindow("File Open")) != nullptr; }, 5000));
    guitest::Pump(300);
    ClickChild(dialog, 406);
    guitest::Pump(200);
    Type("rated.RWG");
    guitest::PressKey(VK_RETURN);
    HWND box = nullptr;
    ASSERT_TRUE(guitest::WaitFor(
        [&] { return (box = guitest::FindProgramWindow(program_, "RWOMSGBOX")) != nullptr; }, 5000));
    char text[512] = "";
    GetDlgItemTextA(box, 301, text, sizeof text);
    EXPECT_STREQ(text,
                 "You are trying to load an unfinished rated game. You must finish the game before you can load it "
                 "into any room other than the Tournament Room.");
    guitest::Pump(300);
    Shot(shot);
    ClickChild(box, 1);
    guitest::Pump(500);
  }

  // Closes the program and waits for its end.
  bool Stop() {
    if (frame_) PostMessageA(frame_, WM_CLOSE, 0, 0);
    DWORD code = 0;
    const bool ended = guitest::WaitForProgramEnd(&program_, 15000, &code);
    if (!ended) guitest::KillProgram(&program_);
    program_ = guitest::Program{};
    frame_ = room_ = bar_ = board_ = nullptr;
    return ended;
  }

  // The lines of the sound library's event log that begin with `what`
  // ("start" for each stream played).
  int SoundEvents(const char* what) {
    std::ifstream log(folder_ + "\\capture.wav.log");
    std::string line;
    int count = 0;
    while (std::getline(log, line))
      if (line.find(std::string(" ") + what + " ") != std::string::npos) ++count;
    return count;
  }

  void (*prepare_)(const std::string& folder) = nullptr;
  bool listen_ = false;
  BoardGeometry geometry_;
  guitest::Program program_;
  std::string folder_;
  HWND frame_ = nullptr, room_ = nullptr, bar_ = nullptr, board_ = nullptr;
};

TEST_F(GameRoomProgram, AUserPlaysThePersonalityWhichAnswersEveryMove) {
  ASSERT_TRUE(Start("rw_e2e_gameroom"));
  // The room shows its board, Game Status and the Shortcuts tiles.
  HWND status = ProgramWindow("Game Status");
  ASSERT_NE(status, nullptr);
  EXPECT_TRUE(IsWindowVisible(status));
  HWND shortcuts = ProgramWindow("Shortcuts");
  ASSERT_NE(shortcuts, nullptr);
  EXPECT_TRUE(IsWindowVisible(shortcuts));
  // Thinking Lines, as the user's layout shows it, with Black's lines ticked.
  HWND thinking = ProgramWindow("Thinking Lines");
  ASSERT_NE(thinking, nullptr);
  EXPECT_TRUE(IsWindowVisible(thinking));
  if (IsDlgButtonChecked(thinking, 4077) != BST_CHECKED) ClickChild(thinking, 4077);
  guitest::Pump(500);
  EXPECT_EQ(IsDlgButtonChecked(thinking, 4077), BST_CHECKED);
  // Nothing of the room stands over another.
  RECT board{}, panels[3]{};
  GetWindowRect(board_, &board);
  GetWindowRect(status, &panels[0]);
  GetWindowRect(thinking, &panels[1]);
  GetWindowRect(shortcuts, &panels[2]);
  RECT overlap{};
  for (int i = 0; i < 3; ++i)
    for (int j = i + 1; j < 3; ++j) EXPECT_FALSE(IntersectRect(&overlap, &panels[i], &panels[j])) << i << " " << j;
  Shot("game_room_start");
  EXPECT_EQ(guitest::CountProcesses("Corvane.exe"), 1);
  PlayAndAwaitAnswer("e2", "e4");
  std::vector<std::string> moves = Moves();
  ASSERT_GE(moves.size(), 2u);
  EXPECT_NE(moves[0].find("e4"), std::string::npos) << moves[0];
  Shot("game_room_first_answer");
  PlayAndAwaitAnswer("g1", "f3");
  PlayAndAwaitAnswer("f1", "e2");
  moves = Moves();
  ASSERT_GE(moves.size(), 6u);
  EXPECT_NE(moves[2].find("f3"), std::string::npos) << moves[2];
  EXPECT_NE(moves[4].find("e2"), std::string::npos) << moves[4];
  guitest::Pump(1500);  // a clock second or two more
  Shot("game_room_mid_game");

  // Leaving the room stops the game: its engine ends; the board goes (the
  // library shows a board of its own).
  ClickBar(kLibraryButton);
  EXPECT_TRUE(guitest::WaitFor([] { return guitest::CountProcesses("Corvane.exe") == 0; }, 10000));
  EXPECT_FALSE(IsWindowVisible(board_));
  EXPECT_NE(VisibleBoard(), board_);
  // Entering starts it again, the same game: the engine is back and answers.
  ClickBar(kGameButton);
  EXPECT_TRUE(guitest::WaitFor([] { return guitest::CountProcesses("Corvane.exe") == 1; }, 10000));
  board_ = VisibleBoard();
  ASSERT_NE(board_, nullptr);
  EXPECT_EQ(Moves().size(), 6u);
  PlayAndAwaitAnswer("a2", "a3");
  moves = Moves();
  ASSERT_GE(moves.size(), 8u);
  EXPECT_NE(moves[6].find("a3"), std::string::npos) << moves[6];
  Shot("game_room_after_return");
}

TEST_F(GameRoomProgram, ContextMenuShortcutsAndARefusedRatedGame) {
  ASSERT_TRUE(Start("rw_e2e_gameroom_menu"));
  // A right-click on the user's piece: the person's items.
  guitest::Click(geometry_.Centre(board_, "d2"), true);
  guitest::Pump(500);
  HWND popup = guitest::FindProgramWindow(program_, "CGUIMenuPopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(IsWindowVisible(popup));
  Shot("game_room_menu_person_piece");
  guitest::PressKey(VK_ESCAPE);
  guitest::Pump(300);
  // On an empty square, and beside the board.
  guitest::Click(geometry_.Centre(board_, "d5"), true);
  guitest::Pump(500);
  Shot("game_room_menu_empty_square");
  guitest::PressKey(VK_ESCAPE);
  guitest::Pump(300);
  RECT client;
  GetClientRect(room_, &client);
  POINT beside{client.right - 30, client.bottom - 30};
  ClientToScreen(room_, &beside);
  HWND shortcuts = ProgramWindow("Shortcuts");
  ASSERT_NE(shortcuts, nullptr);
  RECT tiles{};
  GetWindowRect(shortcuts, &tiles);
  Shot("game_room_shortcuts");
  EXPECT_GE(tiles.right - tiles.left, 100);

  // An unfinished rated game is refused with string 179 and the room keeps its game.
  PlayAndAwaitAnswer("d2", "d4");
  const std::vector<std::string> before = Moves();
  ASSERT_NO_FATAL_FAILURE(LoadARefusedRatedGame("game_room_rated_refused"));
  EXPECT_EQ(Moves(), before);

  // After the file dialog and the box, the frame had come over its panels:
  // the New Game tile is on top again and answers a real click.
  HWND setup = nullptr;
  {
    ASSERT_NE(Tile(21655), nullptr);
    ExpectTileOnTop(21655);
    guitest::Click(TileFace(21655));
    ASSERT_TRUE(guitest::WaitFor([&] { return (setup = ProgramWindow("Set Up Game Details")) != nullptr; }, 5000));
    guitest::Pump(300);
    ClickChild(setup, IDCANCEL);
    ASSERT_TRUE(guitest::WaitFor([&] { return ProgramWindow("Set Up Game Details") == nullptr; }, 5000));
    guitest::Pump(300);
    EXPECT_EQ(Moves(), before);
  }
  // New Game from its key: the set-up dialog, and on OK a fresh game
  // against the same personality, whose engine answers again.
  guitest::Chord({VK_CONTROL}, 'N');
  ASSERT_TRUE(guitest::WaitFor([&] { return (setup = ProgramWindow("Set Up Game Details")) != nullptr; }, 5000));
  guitest::Pump(500);
  Shot("game_room_new_game_dialog");
  ClickChild(setup, IDOK);
  ASSERT_TRUE(guitest::WaitFor([&] { return ProgramWindow("Set Up Game Details") == nullptr; }, 5000));
  EXPECT_TRUE(guitest::WaitFor([&] { return Moves().empty(); }, 5000));
  board_ = VisibleBoard();
  ASSERT_NE(board_, nullptr);
  EXPECT_TRUE(guitest::WaitFor([] { return guitest::CountProcesses("Corvane.exe") == 1; }, 10000));
  PlayAndAwaitAnswer("e2", "e4");
  Shot("game_room_new_game_first_answer");
}

// The shortcut tiles of a freshly started room, with their pictures,
// answer a real click on their face: New Game opens the set-up dialog
// (cancelled: the game stays), Advice the advice window with its whole
// button column. (After File Open and a message box: the test above.)
TEST_F(GameRoomProgram, ShortcutTilesAnswerARealClick) {
  listen_ = true;
  ASSERT_TRUE(Start("rw_e2e_gameroom_tiles"));
  const std::vector<std::string> before = Moves();
  for (int id : {21655, 21660, 21650, 21665}) {
    ASSERT_NE(Tile(id), nullptr) << id;
    ExpectTileOnTop(id);
  }
  Shot("game_room_tiles");
  guitest::Click(TileFace(21655));
  HWND asked = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (asked = ProgramWindow("Set Up Game Details")) != nullptr; }, 5000));
  guitest::Pump(500);
  Shot("game_room_tile_new_game");
  ClickChild(asked, IDCANCEL);
  ASSERT_TRUE(guitest::WaitFor([&] { return ProgramWindow("Set Up Game Details") == nullptr; }, 5000));
  guitest::Pump(300);
  EXPECT_EQ(Moves(), before);
  EXPECT_TRUE(IsWindowVisible(ProgramWindow("Game Status")));
  EXPECT_TRUE(IsWindowVisible(ProgramWindow("Shortcuts")));

  guitest::Click(TileFace(21660));
  HWND advice = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (advice = ProgramWindow("Natural Language Advice")) != nullptr && IsWindowVisible(advice); }, 10000));
  guitest::Pump(500);
  // Every button of the column lies inside the client area.
  RECT client{};
  GetClientRect(advice, &client);
  for (int id : {9, 5, 4, 6, 3}) {
    HWND button = GetDlgItem(advice, id);
    ASSERT_NE(button, nullptr) << id;
    RECT r{};
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, advice, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_LE(r.bottom, client.bottom) << id;
    EXPECT_LE(r.right, client.right) << id;
  }
  Shot("game_room_tile_advice");

  // Think, with the advice voice on as it is by default: the waiting
  // sentence shows and is heard, spoken from the advice pack.
  // The tile opened it thinking for a second (its automatic request); once
  // that advice is in, ten seconds are asked for.
  ASSERT_TRUE(guitest::WaitFor([&] { return IsWindowEnabled(GetDlgItem(advice, 9)) != FALSE; }, 20000));
  SendMessageA(GetDlgItem(advice, 5238), 0x8654 /* SPE_SETVALUE */, 10, 0);
  const int streams = SoundEvents("start");
  ClickChild(advice, 9);
  char text[256] = "";
  EXPECT_TRUE(guitest::WaitFor(
      [&] {
        GetDlgItemTextA(advice, 5237, text, sizeof text);
        return std::strcmp(text, "Let me think about this position for a moment...") == 0;
      },
      5000))
      << text;
  EXPECT_TRUE(guitest::WaitFor([&] { return SoundEvents("start") > streams; }, 10000));
}

// An outside xboard engine (the build's fmax.exe, Debian's fairymax) put in
// the program's "Engines" folder, imported through "Import Xboard Engine",
// and played in the game room: it answers the user's moves and the built-in
// engine is not started.
void CopyFairymax(const std::string& folder) {
  std::string from = RW_FMAX_DIR;
  for (char& c : from)
    if (c == '/') c = '\\';
  CreateDirectoryA((folder + "\\Engines").c_str(), nullptr);
  for (const char* f : {"fmax.exe", "fmax.ini"})
    CopyFileA((from + "\\" + f).c_str(), (folder + "\\Engines\\" + f).c_str(), FALSE);
}

TEST_F(GameRoomProgram, AnImportedXboardEngineAnswersInTheGameRoom) {
  std::string fmax = RW_FMAX_DIR "/fmax.exe";
  for (char& c : fmax)
    if (c == '/') c = '\\';
  if (GetFileAttributesA(fmax.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no fmax.exe: " << fmax;
  prepare_ = CopyFairymax;
  ASSERT_TRUE(Start("rw_e2e_xboard"));
  // Game > Import Xboard Engine..., filled in as a user does.
  PostMessageA(frame_, WM_COMMAND, 40179, 0);
  HWND import = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (import = ProgramWindow("Import XBoard Engine")) != nullptr; }, 10000));
  guitest::Pump(500);
  ClickChild(import, 1801);
  Type("Fairy Max");
  ClickChild(import, 1805);
  Type((folder_ + "\\Engines\\fmax.exe").c_str());
  Shot("xboard_import_filled");
  ClickChild(import, IDOK);
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(import); }, 10000));
  guitest::Pump(800);
  Shot("xboard_import_registered");
  guitest::PressKey(VK_RETURN);  // the registration's message
  guitest::Pump(500);
  PersonalityRecord* record = nullptr;
  ASSERT_EQ(ReadPersonalityFile((folder_ + "\\Personalities\\Fairy Max.RWP").c_str(), &record), 1);
  EXPECT_EQ(record->kind, 178u);
  EXPECT_STREQ(record->picture, "Winboard.BMP");
  EXPECT_EQ(std::string(record->enginePath), folder_ + "\\Engines\\fmax.exe");
  FreePersonality(record);

  // The room's game against it, from the next start (a program that asks
  // before it closes is ended).
  Stop();
  for (const std::string& ini : {folder_ + "\\RWDEFAULT.INI", folder_ + "\\Users\\Tester\\Tester.ini"}) {
    WritePrivateProfileStringA("gameroom", "black_player_name", "Fairy Max", ini.c_str());
    WritePrivateProfileStringA("gameroom", "black_player", "1 300000 0 4", ini.c_str());
  }
  ASSERT_TRUE(Launch());
  EXPECT_TRUE(guitest::WaitFor([] { return guitest::CountProcesses("fmax.exe") == 1; }, 10000));
  EXPECT_EQ(guitest::CountProcesses("Corvane.exe"), 0);
  PlayAndAwaitAnswer("e2", "e4");
  PlayAndAwaitAnswer("g1", "f3");
  const std::vector<std::string> moves = Moves();
  ASSERT_GE(moves.size(), 4u);
  EXPECT_NE(moves[0].find("e4"), std::string::npos) << moves[0];
  Shot("xboard_game_room");
}

}  // namespace
