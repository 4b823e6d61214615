// The annotation, game analysis and Solve For Mate windows on screen with
// the program's look, driven through the system's input queue as a user
// would, over fakes of the engine link's analysis and mate search. The
// analysis's modal time dialog runs on a thread of its own (with the
// progress window it opens) while the test looks.
// The rules' headers first: windows.h defines names they use.
#include "chess_clock.h"
#include "engine_protocol.h"
#include "game_record.h"
#include "game_registry.h"
#include "notation.h"
#include "position_setup.h"

#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "annotation_window.h"
#include "app_globals.h"
#include "app_messages.h"
#include "basic_controls.h"
#include "data_sets.h"
#include "facet.h"
#include "frame_links.h"
#include "game_analysis.h"
#include "game_status_win32.h"
#include "guitest.h"
#include "heapkit.h"
#include "look_and_feel.h"
#include "message_table.h"
#include "shell_services.h"
#include "solve_mate_window.h"
#include "window_table.h"

namespace {

std::string g_folder;
std::vector<std::string> g_boxes;  // texts of the program's message boxes

std::string Windows(std::string path) {
  for (char& ch : path)
    if (ch == '/') ch = '\\';
  return path;
}
bool CopyInto(const std::string& from, const std::string& to) {
  return CopyFileA(Windows(from).c_str(), to.c_str(), FALSE) != 0;
}

int RecordBox(const char* text, uint32_t) {
  g_boxes.push_back(text ? text : "");
  return IDOK;
}

// The numbered windows over the system's windows, as the program has them.
HWND H(void* w) { return static_cast<HWND>(w); }
class TestWindows final : public WindowSystem {
 public:
  void ScreenSize(int* width, int* height) override {
    *width = GetSystemMetrics(SM_CXSCREEN);
    *height = GetSystemMetrics(SM_CYSCREEN);
  }
  bool WindowRect(void* w, ShellRect* r) override {
    return IsWindow(H(w)) && GetWindowRect(H(w), reinterpret_cast<RECT*>(r));
  }
  bool ClientRect(void* w, ShellRect* r) override {
    return IsWindow(H(w)) && GetClientRect(H(w), reinterpret_cast<RECT*>(r));
  }
  void Show(void* w, bool show) override {
    if (IsWindow(H(w))) ShowWindow(H(w), show ? SW_SHOWNA : SW_HIDE);
  }
  void Enable(void* w, bool enable) override {
    if (IsWindow(H(w))) EnableWindow(H(w), enable);
  }
  void Place(void* w, const ShellRect& r, int show) override {
    if (!IsWindow(H(w))) return;
    UINT f = SWP_NOZORDER | SWP_NOACTIVATE;
    if (show > 0) f |= SWP_SHOWWINDOW;
    if (show == 0) f |= SWP_HIDEWINDOW;
    SetWindowPos(H(w), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, f);
  }
  void BeginBatch(int) override {}
  void PlaceInBatch(void* w, const ShellRect& r, int show) override { Place(w, r, show); }
  void EndBatch() override {}
  intptr_t Send(void* w, uint32_t m, uintptr_t wp, intptr_t lp) override {
    return IsWindow(H(w)) ? SendMessageA(H(w), m, wp, lp) : 0;
  }
  intptr_t Post(void* w, uint32_t m, uintptr_t wp, intptr_t lp) override {
    return IsWindow(H(w)) ? PostMessageA(H(w), m, wp, lp) : 0;
  }
};
TestWindows g_windows;

struct Find {
  int id;
  HWND found;
};
BOOL CALLBACK FindControl(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<Find*>(p);
  if (GetDlgCtrlID(w) == f->id && IsWindowVisible(w) && !f->found) f->found = w;
  return f->found ? FALSE : TRUE;
}
// A visible control of the dialog or of its shown page.
HWND Control(HWND dialog, int id) {
  Find f{id, nullptr};
  EnumChildWindows(dialog, FindControl, LPARAM(&f));
  return f.found;
}
POINT Centre(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
void ClickControl(HWND dialog, int id, DWORD wait = 250) {
  HWND c = Control(dialog, id);
  ASSERT_TRUE(c) << id;
  guitest::Click(Centre(c));
  guitest::Pump(wait);
}
std::string Text(HWND control) {
  char text[10000] = "";
  GetWindowTextA(control, text, sizeof text);
  return text;
}
bool Enabled(HWND dialog, int id) {
  HWND c = Control(dialog, id);
  return c && IsWindowEnabled(c);
}
// Types into the focused control.
void Type(const char* text) {
  for (const char* c = text; *c; ++c) {
    const SHORT vk = VkKeyScanA(*c);
    if (vk & 0x100)
      guitest::Chord({VK_SHIFT}, LOBYTE(vk));
    else
      guitest::PressKey(LOBYTE(vk));
  }
  guitest::Pump(150);
}
// The tabs lie side by side from the control's left edge, each its text's
// width and 12 pixels more, set in the toolkit's font.
void ClickTab(HWND dialog, int index, int count = 3) {
  static const char* const titles[4] = {"Player", "Auto Annotation", "Analysis", "IVA"};
  HWND tabs = GetDlgItem(dialog, kAnnotationTabs);
  HDC dc = GetDC(tabs);
  const CcDefaults* d = ccGetDefaultData();
  HGDIOBJ old = d && d->font ? SelectObject(dc, d->font) : nullptr;
  int left = 0, width = 0;
  for (int i = 0; i <= index && i < count; ++i) {
    SIZE size{};
    GetTextExtentPoint32A(dc, titles[i], int(std::strlen(titles[i])), &size);
    left += width;
    width = size.cx + 12;
  }
  if (old) SelectObject(dc, old);
  ReleaseDC(tabs, dc);
  POINT p{left + width / 2, 8};
  ClientToScreen(tabs, &p);
  guitest::Click(p);
  guitest::Pump(250);
}
// The annotation window's pages are the tab control's child dialogs.
int PageCount(HWND annotation) {
  int n = 0;
  HWND tabs = GetDlgItem(annotation, kAnnotationTabs);
  for (HWND c = GetWindow(tabs, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char name[64] = "";
    GetClassNameA(c, name, sizeof name);
    if (GetDlgItem(c, kAnnotationEditBox) || GetDlgItem(c, kAnnotationAutoText) ||
        GetDlgItem(c, kAnnotationAnalysisText))
      ++n;
  }
  return n;
}
HWND WaitForWindow(const char* caption) {
  HWND found = nullptr;
  guitest::WaitFor(
      [&] {
        found = FindWindowA(nullptr, caption);
        return found && IsWindowVisible(found);
      },
      5000);
  guitest::Pump(300);
  return found;
}
bool Shot(const char* name) { return guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, name); }

// The analysis fake: what it was asked and the progress window it got.
std::atomic<int> g_analysisSeconds{0};
std::atomic<HWND> g_analysisWindow{nullptr};
std::atomic<int> g_analysisStops{0};
int FakeAnalysis(GameRecord*, int seconds, HWND window) {
  g_analysisSeconds = seconds;
  g_analysisWindow = window;
  PostMessageA(window, RWM_ANALYSIS_STATE, 2, 0);
  return 1;
}
int FakeAnalysisStop(GameRecord*) {
  ++g_analysisStops;
  return 1;
}

// The mate-search fake. As the engine link does, ending a running search
// lets the game go on: its clock runs again.
int g_solveStarts = 0, g_solveStops = 0;
bool g_solveRunning = false;
int FakeSolve(GameRecord*, HWND) {
  ++g_solveStarts;
  g_solveRunning = true;
  return 1;
}
int FakeSolveStop(GameRecord* game) {
  ++g_solveStops;
  if (!g_solveRunning) return 0;
  g_solveRunning = false;
  ResumeClock(game);
  return 1;
}

const GameAnalysisServices kFakeAnalysis{FakeAnalysis, FakeAnalysisStop};
const SolveForMateServices kFakeSolve{FakeSolve, FakeSolveStop};

class GameRoomWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_game_room_windows";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CopyInto(RW_PROGDATA_DIR "/rwonyx.ttf", g_folder + "\\rwonyx.ttf");
    CopyInto(RW_BIN_DIR "/RW256.dll", g_folder + "\\RW256.dll");
    for (const char* f : {"ENGMESS.CEL", "ENGMESS.STR"})
      CopyInto(std::string(RW_COMMENTARY_DIR "/") + f, g_folder + "\\" + f);
    SetCurrentDirectoryA(g_folder.c_str());
    ASSERT_TRUE(LoadMessageTable("ENGMESS"));
    SetAppModulePath((g_folder + "\\Rookwell.exe").c_str());
    ASSERT_EQ(CreateAppGlobals(), 1);
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_folder.c_str(); };
    DataSetHost host = DefaultDataSetHost();
    host.programFolder = [] { return g_folder.c_str(); };
    SetDataSetHost(host);
    ASSERT_EQ(OpenDataSet("RW256.dll", 7, 1), 1);
    ShellServices s = GetShellServices();
    s.appMessageBox = RecordBox;
    SetShellServices(s);
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
    SetWindowSystem(&g_windows);
    InitWindowTable();
  }
  static void TearDownTestSuite() {
    SetWindowSystem(nullptr);
    CloseAllDataSets();
    FreeLookAndFeel(nullptr);
    FreeMessageTables();
    FreeAppGlobals();
  }

  void SetUp() override {
    g_boxes.clear();
    game = NewGame();
    SetCurrentGame(game);
  }
  void TearDown() override {
    if (runner.joinable()) runner.join();
    if (HWND w = GetSolveForMateWindow()) DestroyWindow(w);
    DestroyAnnotationDialog();
    if (status) DestroyGameStatusWindow(status);
    if (owner) DestroyWindow(owner);
    SetGameAnalysisServices(nullptr);
    SetSolveForMateServices(nullptr);
    SetCurrentGame(nullptr);
    if (game) DestroyGame(game);
    WritePrivateProfileStringA("debug", "show_embedded_commands", nullptr, GetMainIniPath());
  }

  static GameRecord* NewGame(const char* fen = nullptr) {
    PlayerDescriptor w{}, b{};
    std::snprintf(w.name, sizeof w.name, "Ace");
    std::snprintf(b.name, sizeof b.name, "Bea");
    for (PlayerDescriptor* d : {&w, &b}) {
      d->kind = PLAYER_HUMAN;
      d->timeControl = 4;
      d->baseMs = 5 * 60 * 1000;
    }
    Board start{};
    int side = WHITE;
    if (fen && !SetupPositionFromFen(fen, &start, &side)) return nullptr;
    return CreateGame(0, nullptr, &w, &b, nullptr, fen ? &start : nullptr, nullptr, side, 1, 0);
  }
  // Plays a line of moves given in the game's notation.
  void Play(GameRecord* g, const char* line) {
    MoveRecord moves[64];
    int count = 64;
    ParseMoveListText(moves, &count, line, &g->position, g->sideToMove);
    ASSERT_GT(count, 0) << line;
    for (int i = 0; i < count; ++i) ASSERT_EQ(PlayMove(g, &moves[i], false), 0) << line << " " << i;
  }
  void SetComment(int ply, int slot, const char* text) {
    MoveRecord* m = GetMoveAtPly(game, ply);
    ASSERT_TRUE(m);
    SetMoveString(m, text, slot);
  }

  HWND OpenAnnotation() {
    HWND w = CreateAnnotationDialog(0);
    if (!w) return nullptr;
    SetWindowPos(w, HWND_TOP, 60, 60, 520, 300, SWP_SHOWWINDOW);
    NumberedWindowOp(WOP_SHOW, WIN_ANNOTATION, WSC_SHOW);
    guitest::Pump(300);
    return w;
  }

  GameRecord* game = nullptr;
  HWND status = nullptr, owner = nullptr;
  std::thread runner;
};

// ------------------------------------------------------------ annotation

TEST_F(GameRoomWindows, AnnotationFollowsTheMovesAndStaysEmptyDuringAJump) {
  Play(game, "e4 e5 Nf3 Nc6");
  SetComment(3, SLOT_COMMENT, "My favourite knight move.");
  SetComment(3, SLOT_ANNOTATION, "The knight attacks e5 and develops.");
  SetComment(3, SLOT_ANALYSIS, "(0.25) Nc6 Bb5 a6");
  SetComment(3, SLOT_HIDDEN, "W101 without markup");
  SetComment(4, SLOT_HIDDEN, "{W102}{H e5}");
  HWND w = OpenAnnotation();
  ASSERT_TRUE(w);
  SeekToPly(game, 3);
  SendMessageA(w, RWM_GAME_EVENT, GE_MOVE_TAKEN_BACK, LPARAM(game));
  guitest::Pump(200);
  EXPECT_EQ(Text(Control(w, kAnnotationEditBox)), "My favourite knight move.");
  // A comment 3 without "{" leaves Play off.
  ClickTab(w, 1);
  EXPECT_EQ(Text(Control(w, kAnnotationAutoText)), "The knight attacks e5 and develops.");
  EXPECT_FALSE(Enabled(w, kAnnotationPlay));
  ClickTab(w, 2);
  EXPECT_EQ(Text(Control(w, kAnnotationAnalysisText)), "(0.25) Nc6 Bb5 a6");
  EXPECT_TRUE(Shot("annotation_analysis"));
  // With markup in comment 3 Play is offered.
  SeekToPly(game, 4);
  SendMessageA(w, RWM_GAME_EVENT, GE_MOVE_REPLAYED, LPARAM(game));
  ClickTab(w, 1);
  EXPECT_TRUE(Enabled(w, kAnnotationPlay));
  // A jump: the pages stay empty from its start to its end.
  SendMessageA(w, RWM_GAME_EVENT, GE_PLY_CHANGED, LPARAM(game));
  SeekToPly(game, 3);
  SendMessageA(w, RWM_GAME_EVENT, GE_MOVE_REPLAYED, LPARAM(game));
  EXPECT_TRUE(IsAnnotationFrozen());
  EXPECT_EQ(Text(Control(w, kAnnotationAutoText)), "");
  SendMessageA(w, RWM_GAME_EVENT, GE_ANNOTATION_CHANGED, LPARAM(game));
  EXPECT_FALSE(IsAnnotationFrozen());
  EXPECT_EQ(Text(Control(w, kAnnotationAutoText)), "The knight attacks e5 and develops.");
  guitest::Pump(200);
  EXPECT_TRUE(Shot("annotation_auto"));
  // Closing only hides it.
  SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  guitest::Pump(100);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_FALSE(IsWindowVisible(w));
  // The analysis shows it again on a page of its choice.
  EXPECT_EQ(ShowAnnotationPage(1), w);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_TRUE(IsWindowVisible(Control(w, kAnnotationAutoText)));
}

TEST_F(GameRoomWindows, ThePlayerCommentIsEditedAndCutAt512) {
  Play(game, "d4 d5");
  HWND w = OpenAnnotation();
  ASSERT_TRUE(w);
  HWND edit = Control(w, kAnnotationEditBox);
  ASSERT_TRUE(edit);
  EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(Enabled(w, IDOK));
  // Edit, type, OK: the comment is the move's.
  ClickControl(w, kAnnotationEdit);
  EXPECT_FALSE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(Enabled(w, kAnnotationEdit));
  guitest::Click(Centre(edit));
  guitest::Pump(100);
  Type("A solid reply.");
  EXPECT_TRUE(Shot("annotation_player_editing"));
  ClickControl(w, IDOK);
  ASSERT_TRUE(GetMoveAtPly(game, 2)->texts[SLOT_COMMENT]);
  EXPECT_STREQ(GetMoveAtPly(game, 2)->texts[SLOT_COMMENT], "A solid reply.");
  EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
  // Cancel puts the text back and stores nothing.
  ClickControl(w, kAnnotationEdit);
  SetWindowTextA(edit, "Something else");
  ClickControl(w, IDCANCEL);
  EXPECT_EQ(Text(edit), "A solid reply.");
  EXPECT_STREQ(GetMoveAtPly(game, 2)->texts[SLOT_COMMENT], "A solid reply.");
  // A longer text (pasted past the typing limit) is kept to 512 characters.
  ClickControl(w, kAnnotationEdit);
  SetWindowTextA(edit, std::string(600, 'x').c_str());
  ClickControl(w, IDOK);
  EXPECT_EQ(std::strlen(GetMoveAtPly(game, 2)->texts[SLOT_COMMENT]), 512u);
  // Locked, Edit is off.
  LockAnnotationDialog(1);
  EXPECT_FALSE(Enabled(w, kAnnotationEdit));
  LockAnnotationDialog(0);
  EXPECT_TRUE(Enabled(w, kAnnotationEdit));
  // Before the first move the game's start comment is edited.
  SeekToPly(game, 0);
  SetMoveComment("Before the game.", SLOT_COMMENT);
  ASSERT_TRUE(game->header.texts[SLOT_COMMENT]);
  EXPECT_STREQ(game->header.texts[SLOT_COMMENT], "Before the game.");
  EXPECT_EQ(Text(edit), "Before the game.");
}

TEST_F(GameRoomWindows, TheEmbeddedCommandsPageOnlyWithTheDebugSetting) {
  Play(game, "e4");
  SetComment(1, SLOT_HIDDEN, "W101 without markup");
  {
    HWND w = OpenAnnotation();
    ASSERT_TRUE(w);
    EXPECT_EQ(PageCount(w), 3);
    DestroyAnnotationDialog();
  }
  WritePrivateProfileStringA("debug", "show_embedded_commands", "1", GetMainIniPath());
  HWND w = OpenAnnotation();
  ASSERT_TRUE(w);
  EXPECT_EQ(PageCount(w), 4);
  ClickTab(w, 3, 4);
  EXPECT_EQ(Text(Control(w, kAnnotationEditBox)), "W101 without markup");
  EXPECT_FALSE(Enabled(w, kAnnotationPlay)) << "no \"{\": nothing to play";
  // Its edit keeps 8,192 characters.
  ClickControl(w, kAnnotationEdit);
  SetWindowTextA(Control(w, kAnnotationEditBox), ("{W1}" + std::string(9000, 'y')).c_str());
  ClickControl(w, IDOK);
  EXPECT_EQ(std::strlen(GetMoveAtPly(game, 1)->texts[SLOT_HIDDEN]), 8192u);
  EXPECT_TRUE(Enabled(w, kAnnotationPlay));
  SetMoveComment("{W101}{H e4}", SLOT_HIDDEN);
  guitest::Pump(200);
  EXPECT_TRUE(Shot("annotation_iva"));
}

// -------------------------------------------------------------- analysis

TEST_F(GameRoomWindows, AnEmptyGameIsNotAnalysedAndCancelStartsNothing) {
  SetGameAnalysisServices(&kFakeAnalysis);
  g_analysisWindow = nullptr;
  EXPECT_EQ(RunGameAnalysis(), 0);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "The game must contain moves to Auto-Analyze.");
  EXPECT_EQ(FindWindowA(nullptr, "Analysis Time"), nullptr);

  Play(game, "e4 e5");
  std::atomic<int> result{-1};
  runner = std::thread([&] { result = RunGameAnalysis(); });
  HWND time = WaitForWindow("Analysis Time");
  ASSERT_TRUE(time);
  EXPECT_EQ(SendDlgItemMessageA(time, kAnalysisSeconds, SPE_GETVALUE, 0, 0), 10);
  EXPECT_TRUE(Shot("analysis_time"));
  ClickControl(time, IDCANCEL);
  runner.join();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(g_analysisWindow.load(), nullptr);
  EXPECT_EQ(GetAnalysisProgressWindow(), nullptr);
}

TEST_F(GameRoomWindows, AnalysisShowsItsProgressAndSendsTheUserToTheResults) {
  SetGameAnalysisServices(&kFakeAnalysis);
  g_analysisWindow = nullptr;
  g_analysisStops = 0;
  Play(game, "e4 e5 Nf3 Nc6 Bb5 a6 Ba4 Nf6 O-O Be7");
  // Game Status stands hidden, as a layout may have it.
  owner = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  CreateGameStatusWindow(owner, GetModuleHandleA(nullptr));
  status = HWND(GetNumberedWindow(WIN_GAME_STATUS));
  ASSERT_TRUE(status);
  NumberedWindowOp(WOP_SHOW, WIN_GAME_STATUS, WSC_HIDE);
  ASSERT_TRUE(OpenAnnotation());
  NumberedWindowOp(WOP_SHOW, WIN_ANNOTATION, WSC_HIDE);
  guitest::Pump(200);

  // The analysis's windows live on a thread that pumps until they end.
  std::atomic<int> result{-1};
  std::atomic<bool> done{false};
  runner = std::thread([&] {
    result = RunGameAnalysis();
    MSG m;
    while (GetAnalysisProgressWindow() && GetMessageA(&m, nullptr, 0, 0) > 0) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    done = true;
  });
  HWND time = WaitForWindow("Analysis Time");
  ASSERT_TRUE(time);
  // One second a move (set on the field: keys typed into a window of the
  // dialog's own thread do not reach it here).
  SendDlgItemMessageA(time, kAnalysisSeconds, SPE_SETVALUE, 1, 0);
  ClickControl(time, IDOK);
  ASSERT_TRUE(guitest::WaitFor([] { return g_analysisWindow.load() != nullptr; }, 5000));
  HWND progress = g_analysisWindow;
  EXPECT_EQ(g_analysisSeconds, 1);
  guitest::WaitFor([&] { return Text(GetDlgItem(progress, kAnalysisProgressText)) != "Percent complete"; }, 3000);
  EXPECT_EQ(Text(GetDlgItem(progress, kAnalysisProgressText)), "Analyzing the game: 0% complete");
  PostMessageA(progress, RWM_ANALYSIS_STATE, 2, 40);
  guitest::Pump(300);
  EXPECT_EQ(Text(GetDlgItem(progress, kAnalysisProgressText)), "Analyzing the game: 40% complete");
  PostMessageA(progress, RWM_ANALYSIS_STATE, 2, 100);
  guitest::Pump(300);
  EXPECT_EQ(Text(GetDlgItem(progress, kAnalysisProgressText)),
            "Analyzing the game: 100% complete -- Building Text...");
  EXPECT_TRUE(Shot("analysis_progress"));
  // The board takes only the end of a jump meanwhile.
  EXPECT_EQ(AnalysisBoardFilter(nullptr, RWM_GAME_EVENT, GE_ANNOTATION_CHANGED, 0, 0), 0);
  EXPECT_EQ(AnalysisBoardFilter(nullptr, RWM_GAME_EVENT, GE_MOVE_PLAYED, 0, 0), 1);
  EXPECT_EQ(AnalysisBoardFilter(nullptr, WM_LBUTTONDOWN, 0, 0, 0), 1);
  EXPECT_EQ(AnalysisBoardFilter(nullptr, RWM_BOARD_MOVE_OFFER, 0, 0, 0), 1);

  // The engine link's texts are there; it reports the end.
  SetComment(5, SLOT_ANNOTATION, "The Spanish bishop pins the knight to nothing yet.");
  SetComment(5, SLOT_ANALYSIS, "(0.31) Bb5 a6 Ba4");
  SeekToPly(game, 5);
  PostMessageA(progress, RWM_ANALYSIS_STATE, 5, 0);
  ASSERT_TRUE(guitest::WaitFor([&] { return done.load(); }, 5000));
  runner.join();
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(IsWindow(progress));
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0],
            "Analysis complete. Use the Annotation Window together with the Game Status Window to view the analysis "
            "results and corresponding annotations.");
  HWND annotation = HWND(GetNumberedWindow(WIN_ANNOTATION));
  ASSERT_TRUE(annotation);
  EXPECT_TRUE(IsWindowVisible(annotation));
  EXPECT_TRUE(IsWindowVisible(Control(annotation, kAnnotationAutoText)));
  EXPECT_EQ(Text(Control(annotation, kAnnotationAutoText)), "The Spanish bishop pins the knight to nothing yet.");
  EXPECT_TRUE(IsWindowVisible(status)) << "Game Status is shown though the layout hid it";
  guitest::Pump(300);
  EXPECT_TRUE(Shot("analysis_finished"));
  EXPECT_EQ(g_analysisStops, 0);
}

TEST_F(GameRoomWindows, CancelStopsTheAnalysisAndAFailureLeavesNoWindow) {
  SetGameAnalysisServices(&kFakeAnalysis);
  g_analysisWindow = nullptr;
  g_analysisStops = 0;
  Play(game, "e4 e5");
  std::atomic<bool> done{false};
  runner = std::thread([&] {
    RunGameAnalysis();
    MSG m;
    while (GetAnalysisProgressWindow() && GetMessageA(&m, nullptr, 0, 0) > 0) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    done = true;
  });
  HWND time = WaitForWindow("Analysis Time");
  ASSERT_TRUE(time);
  ClickControl(time, IDOK);
  ASSERT_TRUE(guitest::WaitFor([] { return g_analysisWindow.load() != nullptr; }, 5000));
  EXPECT_EQ(g_analysisSeconds, 10);
  HWND progress = g_analysisWindow;
  guitest::Pump(300);
  ClickControl(progress, IDCANCEL);
  ASSERT_TRUE(guitest::WaitFor([&] { return done.load(); }, 5000));
  runner.join();
  EXPECT_EQ(g_analysisStops, 1);
  EXPECT_TRUE(g_boxes.empty());
}

// ---------------------------------------------------------- solve for mate

// White mates in two: Kg6 Kg8 Ra8.
constexpr char kMateInTwo[] = "7k/8/5K2/8/8/8/8/R7 w - - 0 1";

void SetAdvisorLine(GameRecord* g, int32_t score, const char* line) {
  auto* thinking = reinterpret_cast<ThinkingLine*>(g->third.thinking);
  std::memset(thinking, 0, sizeof *thinking);
  thinking->score = score;
  std::snprintf(thinking->line, sizeof thinking->line, "%s", line);
}

TEST_F(GameRoomWindows, SolveFindsTheMateAndPlaysItMoveByMove) {
  SetSolveForMateServices(&kFakeSolve);
  g_solveStarts = g_solveStops = 0;
  SetCurrentGame(nullptr);
  DestroyGame(game);
  game = NewGame(kMateInTwo);
  ASSERT_TRUE(game);
  SetCurrentGame(game);
  StartGame(game);
  ResumeClock(game);  // a game at its start waits for its first move
  ASSERT_FALSE(IsClockPaused(game));
  ASSERT_EQ(OpenSolveForMateDialog(game), 1);
  HWND w = GetSolveForMateWindow();
  ASSERT_TRUE(w);
  EXPECT_EQ(OpenSolveForMateDialog(game), 0) << "one at a time";
  SetWindowPos(w, HWND_TOP, 80, 80, 0, 0, SWP_NOSIZE);
  guitest::Pump(300);
  EXPECT_TRUE(IsClockPaused(game));
  HWND spin = Control(w, kSolveMoves);
  ASSERT_TRUE(spin);
  EXPECT_EQ(SendMessageA(spin, SPE_GETVALUE, 0, 0), 20);
  EXPECT_EQ(Text(Control(w, kSolvePrompt)), "Set number of moves to look ahead for white to mate, then press OK.\n");
  // The panes' buttons stand inside the client area, clear of the frame.
  for (int id : {IDOK, IDCANCEL}) {
    RECT button, client;
    GetWindowRect(Control(w, id), &button);
    GetClientRect(w, &client);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_LE(button.bottom, client.bottom) << id;
    EXPECT_LE(button.right, client.right) << id;
  }
  EXPECT_TRUE(Shot("solve_settings"));
  // The track size: at most 600 x 500.
  RECT before;
  GetWindowRect(w, &before);
  SetWindowPos(w, nullptr, 0, 0, 900, 900, SWP_NOMOVE | SWP_NOZORDER);
  RECT big;
  GetWindowRect(w, &big);
  EXPECT_EQ(big.right - big.left, 600);
  EXPECT_EQ(big.bottom - big.top, 500);
  SetWindowPos(w, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
  RECT small;
  GetWindowRect(w, &small);
  EXPECT_GT(small.right - small.left, 200) << "room for the status text and the panes";
  SetWindowPos(w, nullptr, 0, 0, before.right - before.left + 60, before.bottom - before.top + 20,
               SWP_NOMOVE | SWP_NOZORDER);
  guitest::Pump(200);

  RECT r;
  GetWindowRect(spin, &r);
  guitest::Click(POINT{r.left + 8, (r.top + r.bottom) / 2});
  guitest::Pump(100);
  for (int i = 0; i < 4; ++i) guitest::PressKey(VK_BACK);
  Type("2");
  ClickControl(w, IDOK);
  EXPECT_EQ(g_solveStarts, 1);
  EXPECT_EQ(Text(GetDlgItem(w, kSolveStatusText)), "Searching for Checkmate...");
  EXPECT_FALSE(Enabled(w, kSolveMoveButton));
  // The engine's reports: depth and nodes; a line deeper than asked ends it.
  EngineStatus stats{};
  stats.nodes = 4321;
  SendMessageA(w, RWM_SOLVE_FOR_MATE, 3, LPARAM(&stats));
  ThinkingLine line{};
  line.ply = 3;
  SendMessageA(w, RWM_SOLVE_FOR_MATE, 4, LPARAM(&line));
  EXPECT_EQ(Text(GetDlgItem(w, kSolveStatusText)), "depth=2, nodes=4321");
  SetAdvisorLine(game, 9997, "Kg6 Kg8 Ra8");
  line.ply = 5;
  SendMessageA(w, RWM_SOLVE_FOR_MATE, 4, LPARAM(&line));
  guitest::Pump(200);
  EXPECT_EQ(Text(GetDlgItem(w, kSolveStatusText)),
            "Mate in 2 found.  Use the MOVE button to see the mate and append the moves to the move list.");
  EXPECT_TRUE(Enabled(w, kSolveMoveButton));
  EXPECT_TRUE(Shot("solve_found"));
  // The engine's own end after that changes nothing.
  SendMessageA(w, RWM_SOLVE_FOR_MATE, 1, 0);
  EXPECT_TRUE(Enabled(w, kSolveMoveButton));
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(Enabled(w, kSolveMoveButton)) << i;
    ClickControl(w, kSolveMoveButton);
  }
  EXPECT_EQ(GetMoveCount(game), 3);
  EXPECT_FALSE(Enabled(w, kSolveMoveButton));
  EXPECT_NE(GetMoveAtPly(game, 3)->flags & MOVE_MATE, 0);
  EXPECT_TRUE(Shot("solve_mated"));
  // Cancel closes it; the clock runs again.
  ClickControl(w, IDCANCEL);
  guitest::Pump(200);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_FALSE(IsClockPaused(game));
  EXPECT_GE(g_solveStops, 1);
}

// Opened at its own size, the window's OK is clicked at once.
TEST_F(GameRoomWindows, SolveReportsNoMateAndKeepsThePausedClock) {
  SetSolveForMateServices(&kFakeSolve);
  SetCurrentGame(nullptr);
  DestroyGame(game);
  game = NewGame(kMateInTwo);
  ASSERT_TRUE(game);
  SetCurrentGame(game);
  StartGame(game);
  ASSERT_TRUE(IsClockPaused(game));
  ASSERT_EQ(OpenSolveForMateDialog(game), 1);
  HWND w = GetSolveForMateWindow();
  guitest::Pump(300);
  ClickControl(w, kSolveMoves);
  ClickControl(w, IDOK);
  SetAdvisorLine(game, 250, "Kg6 Kg8");
  SendMessageA(w, RWM_SOLVE_FOR_MATE, 1, 0);
  EXPECT_EQ(Text(GetDlgItem(w, kSolveStatusText)), "No Checkmate found");
  EXPECT_FALSE(Enabled(w, kSolveMoveButton));
  EXPECT_TRUE(Shot("solve_none"));
  ClickControl(w, IDCANCEL);
  guitest::Pump(200);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_TRUE(IsClockPaused(game)) << "paused before, paused after";

  // An illegal move in the line ends the solution there.
  ResumeClock(game);
  ASSERT_EQ(OpenSolveForMateDialog(game), 1);
  w = GetSolveForMateWindow();
  guitest::Pump(300);
  ClickControl(w, kSolveMoves);
  ClickControl(w, IDOK);
  SetAdvisorLine(game, 9997, "Kg6 Kg8 Ra9");
  SendMessageA(w, RWM_SOLVE_FOR_MATE, 1, 0);
  ClickControl(w, kSolveMoveButton);
  ClickControl(w, kSolveMoveButton);
  EXPECT_EQ(GetMoveCount(game), 2);
  EXPECT_FALSE(Enabled(w, kSolveMoveButton));
  DestroyWindow(w);

  // An online game's clock is neither paused nor resumed.
  game->kind |= GAME_ONLINE;
  ASSERT_FALSE(IsClockPaused(game));
  ASSERT_EQ(OpenSolveForMateDialog(game), 1);
  w = GetSolveForMateWindow();
  EXPECT_FALSE(IsClockPaused(game));
  PauseClock(game);
  DestroyWindow(w);
  EXPECT_TRUE(IsClockPaused(game));
}

}  // namespace
