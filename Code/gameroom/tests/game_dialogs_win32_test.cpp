// The new-game set-up, Select Personality and Advice dialogs on screen with
// the program's look, over the program's own personalities, pictures and
// sentences, driven through the system's input queue as a user would. The
// modal dialogs run on a thread of their own while the test looks.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "advice_window.h"
#include "app_globals.h"
#include "app_messages.h"
#include "basic_controls.h"
#include "data_sets.h"
#include "facet.h"
#include "frame_links.h"
#include "game_record.h"
#include "game_registry.h"
#include "game_setup_dialog.h"
#include "guitest.h"
#include "heapkit.h"
#include "look_and_feel.h"
#include "message_table.h"
#include "personality_filter_settings.h"
#include "select_personality.h"
#include "shell_services.h"
#include "user_settings.h"
#include "window_table.h"

namespace {

std::string g_folder;
int g_room = 9999;

std::string Windows(std::string path) {
  for (char& ch : path)
    if (ch == '/') ch = '\\';
  return path;
}

bool CopyInto(const std::string& from, const std::string& to) {
  return CopyFileA(Windows(from).c_str(), to.c_str(), FALSE) != 0;
}

int CurrentRoom() { return g_room; }

struct Find {
  int id;
  HWND found;
};
BOOL CALLBACK FindControl(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<Find*>(p);
  if (GetDlgCtrlID(w) == f->id && !f->found) f->found = w;
  return f->found ? FALSE : TRUE;
}
// A control of the dialog or of one of its pages.
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
// The tabs lie side by side from the control's left edge, each its text's
// width and 12 pixels more, the text set in the toolkit's font.
void ClickTab(HWND dialog, int tabsId, int index) {
  static const char* const setup[3] = {"Colors", "Time Controls", "Rules"};
  static const char* const select[2] = {"Filters", "Info"};
  const char* const* titles = tabsId == kSetupTabs ? setup : select;
  HWND tabs = GetDlgItem(dialog, tabsId);
  HDC dc = GetDC(tabs);
  const CcDefaults* d = ccGetDefaultData();
  HGDIOBJ old = d && d->font ? SelectObject(dc, d->font) : nullptr;
  int left = 0, width = 0;
  for (int i = 0; i <= index; ++i) {
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
// A click on a list item by its text.
void ClickListItem(HWND list, const char* text) {
  const LRESULT at = SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text));
  ASSERT_NE(at, LB_ERR) << text;
  RECT r{};
  SendMessageA(list, LB_GETITEMRECT, at, LPARAM(&r));
  POINT p{r.left + 20, (r.top + r.bottom) / 2};
  ClientToScreen(list, &p);
  guitest::Click(p);
  guitest::Pump(250);
}
bool Visible(HWND dialog, int id) { return IsWindowVisible(Control(dialog, id)) != 0; }
int SpinValue(HWND dialog, int id) { return int(SendMessageA(Control(dialog, id), SPE_GETVALUE, 0, 0)); }
std::string Text(HWND dialog, int id) {
  char text[1200] = "";
  GetWindowTextA(Control(dialog, id), text, sizeof text);
  return text;
}
// Types a number into a spin field as a user: click into it, rub the value
// out (the field then shows its lowest value selected, so the next digit
// replaces it) and type.
void TypeInto(HWND dialog, int id, const char* text) {
  HWND spin = Control(dialog, id);
  ASSERT_TRUE(spin) << id;
  RECT r;
  GetWindowRect(spin, &r);
  guitest::Click(POINT{r.left + 8, (r.top + r.bottom) / 2});
  guitest::Pump(100);
  for (int i = 0; i < 4; ++i) guitest::PressKey(VK_BACK);
  for (const char* c = text; *c; ++c) guitest::PressKey(WORD(*c));
  guitest::Pump(150);
}

HWND WaitForWindow(const char* caption, HWND notThis = nullptr) {
  HWND found = nullptr;
  guitest::WaitFor(
      [&] {
        found = FindWindowA(nullptr, caption);
        return found && found != notThis && IsWindowVisible(found);
      },
      5000);
  guitest::Pump(300);
  return found;
}

class GameDialogs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_game_dialogs";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CreateDirectoryA((g_folder + "\\Personalities").c_str(), nullptr);
    CopyInto(RW_PROGDATA_DIR "/rwonyx.ttf", g_folder + "\\rwonyx.ttf");
    for (const char* f : {"faces.dat", "faces.idx"}) CopyInto(std::string(RW_PACKS_DIR "/") + f, g_folder + "\\" + f);
    CopyInto(RW_BIN_DIR "/RW256.dll", g_folder + "\\RW256.dll");
    // The program's own personalities.
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((Windows(RW_PERSONALITIES_DIR) + "\\*.RWP").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
      CopyInto(std::string(RW_PERSONALITIES_DIR "/") + found.cFileName,
               g_folder + "\\Personalities\\" + found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
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
    ASSERT_EQ(OpenDataSet("faces", 1, 1), 1);
    ASSERT_EQ(OpenDataSet("RW256.dll", 7, 1), 1);
    ShellServices s = GetShellServices();
    s.getCurrentRoom = CurrentRoom;
    SetShellServices(s);
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
    InitWindowTable();
  }
  static void TearDownTestSuite() {
    CloseAllDataSets();
    FreeLookAndFeel(nullptr);
    FreeMessageTables();
    FreeAppGlobals();
  }

  void SetUp() override {
    g_room = 9999;
    KeepPersonalityFilters(PersonalityFilters());
    game = NewGame();
  }
  void TearDown() override {
    if (runner.joinable()) runner.join();
    if (HWND advice = HWND(GetNumberedWindow(WIN_ADVICE))) DestroyWindow(advice);
    SetAdviceServices(nullptr);
    SetCurrentGame(nullptr);
    if (game) DestroyGame(game);
  }

  // Two people, five minutes each, White at the bottom.
  static GameRecord* NewGame() {
    PlayerDescriptor w{}, b{};
    std::snprintf(w.name, sizeof w.name, "Ace");
    std::snprintf(b.name, sizeof b.name, "Bea");
    for (PlayerDescriptor* d : {&w, &b}) {
      d->kind = PLAYER_HUMAN;
      d->timeControl = 4;
      d->baseMs = 5 * 60 * 1000;
    }
    GameRecord* g = CreateGame(0, nullptr, &w, &b, nullptr, nullptr, nullptr, WHITE, 1, 0);
    if (g) g->kind |= GAME_CLOCKS_OFF;
    return g;
  }

  HWND OpenSetup() {
    result = -1;
    runner = std::thread([this] { result = RunGameSetupDialog(game); });
    return WaitForWindow("Set Up Game Details");
  }
  int Finish(HWND dialog, int button) {
    ClickControl(dialog, button);
    runner.join();
    return result;
  }

  GameRecord* game = nullptr;
  std::thread runner;
  std::atomic<int> result{-1};
};

TEST_F(GameDialogs, NoGameIsCancelledAtOnce) { EXPECT_EQ(RunGameSetupDialog(nullptr), kSetupCancelled); }

TEST_F(GameDialogs, OneSetUpDialogAtATime) {
  HWND dialog = OpenSetup();
  ASSERT_TRUE(dialog);
  GameRecord* other = NewGame();
  EXPECT_EQ(RunGameSetupDialog(other), kSetupCancelled);
  DestroyGame(other);
  EXPECT_EQ(Finish(dialog, IDCANCEL), kSetupCancelled);
}

TEST_F(GameDialogs, OkUntouchedChangesNothing) {
  HWND dialog = OpenSetup();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(Text(dialog, kTopName), "Bea");
  EXPECT_EQ(Text(dialog, kBottomName), "Ace");
  EXPECT_EQ(Text(dialog, kPlaysFromBottom), "Ace plays from Bottom");
  EXPECT_FALSE(Visible(dialog, kTopPersonality));
  EXPECT_EQ(Finish(dialog, IDOK), 0);
  EXPECT_NE(game->kind & GAME_CLOCKS_OFF, 0u) << "no change keeps the kind flag";
}

// A user gives Black a personality chosen from its card, plays Fischer
// style with 7 minutes, and gives a knight as odds.
TEST_F(GameDialogs, BlackAPersonalityFischerClockAndKnightOdds) {
  g_room = ROOM_GAME;
  HWND dialog = OpenSetup();
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "setup_colors"));
  ClickControl(dialog, kTopComputer);
  EXPECT_EQ(Text(dialog, kTopName), "Rookwell") << "the room's remembered computer";
  EXPECT_TRUE(Visible(dialog, kTopPersonality));
  EXPECT_EQ(game->black.kind, uint32_t(PLAYER_ENGINE));

  // "Personality..." opens the cards; the third card is chosen.
  ClickControl(dialog, kTopPersonality, 50);
  HWND select = WaitForWindow("Select Personality");
  ASSERT_TRUE(select);
  HWND card = Control(select, kCardFirst + 2);
  ASSERT_TRUE(card);
  RECT cardRect;
  GetWindowRect(card, &cardRect);
  EXPECT_EQ(cardRect.right - cardRect.left, 239);
  EXPECT_EQ(cardRect.bottom - cardRect.top, 110);
  RECT first;
  GetWindowRect(Control(select, kCardFirst), &first);
  for (int i = 1; i < 4; ++i) {
    RECT r;
    GetWindowRect(Control(select, kCardFirst + i), &r);
    EXPECT_EQ(r.top - first.top, 110 * i) << "card " << i;
  }
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "select_personality_cards"));
  guitest::Click(Centre(card));
  guitest::Pump(250);
  ClickTab(select, kPersonalityTabs, 1);
  const std::string chosen = Text(select, kInfoName);
  EXPECT_FALSE(chosen.empty());
  EXPECT_FALSE(Text(select, kInfoBiography).empty());
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "select_personality_info"));
  ClickControl(select, IDOK);
  EXPECT_EQ(Text(dialog, kTopName), chosen);

  // Fischer style, 7 minutes and 2 bonus seconds for both.
  ClickTab(dialog, kSetupTabs, 1);
  ClickListItem(Control(dialog, kTimeKindList), "Fischer Style");
  EXPECT_EQ(Text(dialog, kTopFirstLabel), "Minutes");
  EXPECT_EQ(Text(dialog, kTopSecondLabel), "Bonus seconds");
  EXPECT_EQ(SpinValue(dialog, kTopFirstSpin), 5);
  EXPECT_EQ(SpinValue(dialog, kTopSecondSpin), 3);
  TypeInto(dialog, kTopFirstSpin, "7");
  TypeInto(dialog, kTopSecondSpin, "2");
  ClickControl(dialog, kSameTimeControls);
  EXPECT_EQ(SpinValue(dialog, kTopFirstSpin), 7);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "setup_time_controls"));

  // The odds board: White's knight on b1 goes; a click on e4 changes nothing.
  ClickTab(dialog, kSetupTabs, 2);
  HWND rules = GetParent(Control(dialog, kWhiteBlindfold));
  auto square = [&](int row, int file) {
    POINT p{kOddsBoardX + kOddsSquare * file + 12, kOddsBoardY + kOddsSquare * row + 12};
    ClientToScreen(rules, &p);
    return p;
  };
  guitest::Click(square(7, 1));
  guitest::Pump(200);
  guitest::Click(square(4, 4));
  guitest::Pump(200);
  guitest::Click(square(0, 4));  // Black's king stays
  guitest::Pump(200);
  EXPECT_EQ(game->start[MakeSquare(7, 1)], 0);
  EXPECT_EQ(game->start[MakeSquare(0, 4)], uint8_t(BLACK | KING));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "setup_rules"));

  EXPECT_EQ(Finish(dialog, IDOK), kSetupBlackPlayer | kSetupWhiteTime | kSetupBlackTime | kSetupOdds);
  EXPECT_EQ(std::string(game->black.name), chosen);
  EXPECT_EQ(game->black.kind, uint32_t(PLAYER_ENGINE));
  EXPECT_EQ(game->white.kind, uint32_t(PLAYER_HUMAN));
  for (PlayerRecord* p : {&game->white, &game->black}) {
    EXPECT_EQ(p->timeControl, 5u);
    EXPECT_EQ(p->baseMs, 7u * 60000);
    EXPECT_EQ(p->periodOrIncrement, 2000u);
  }
  EXPECT_EQ(game->kind & GAME_CLOCKS_OFF, 0u);
  char stored[64] = "";
  EXPECT_STREQ(ReadRoomEngine(stored, kCurrentRoom, kSideBlack), chosen.c_str()) << "remembered for the room";
}

TEST_F(GameDialogs, CancelLeavesTheGameAsItCame) {
  const GameRecord before = *game;
  HWND dialog = OpenSetup();
  ASSERT_TRUE(dialog);
  ClickControl(dialog, kBottomComputer);
  ClickTab(dialog, kSetupTabs, 1);
  ClickListItem(Control(dialog, kTimeKindList), "Hourglass");
  ClickTab(dialog, kSetupTabs, 2);
  ClickControl(dialog, kBlackBlindfold);
  EXPECT_EQ(game->black.blindfold, 1u);
  EXPECT_EQ(Finish(dialog, IDCANCEL), kSetupCancelled);
  EXPECT_EQ(std::memcmp(&game->white, &before.white, sizeof before.white), 0);
  EXPECT_EQ(std::memcmp(&game->black, &before.black, sizeof before.black), 0);
  EXPECT_EQ(std::memcmp(&game->start, &before.start, sizeof before.start), 0);
}

TEST_F(GameDialogs, TimeKindsShowTheirSpins) {
  HWND dialog = OpenSetup();
  ASSERT_TRUE(dialog);
  ClickTab(dialog, kSetupTabs, 1);
  HWND list = Control(dialog, kTimeKindList);
  EXPECT_EQ(Text(dialog, 1632), "Both players");
  ClickControl(dialog, kSeparateTimeControls);
  EXPECT_TRUE(Visible(dialog, kBottomFirstSpin));
  EXPECT_EQ(Text(dialog, 1632), "Top: Bea");
  EXPECT_EQ(Text(dialog, 1633), "Bottom: Ace");
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "setup_time_controls_separate"));
  ClickListItem(list, "Seconds per move");
  EXPECT_FALSE(Visible(dialog, kSameTimeControls));
  EXPECT_FALSE(Visible(dialog, kSeparateTimeControls));
  EXPECT_EQ(IsDlgButtonChecked(GetParent(Control(dialog, kSameTimeControls)), kSameTimeControls), BST_CHECKED);
  EXPECT_FALSE(Visible(dialog, kBottomFirstSpin));
  EXPECT_EQ(Text(dialog, kTopFirstLabel), "Seconds per move");
  EXPECT_EQ(SpinValue(dialog, kTopFirstSpin), 10);
  ClickListItem(list, "Hourglass");
  TypeInto(dialog, kTopFirstSpin, "3");
  ClickControl(dialog, kSameTimeControls);
  EXPECT_EQ(SpinValue(dialog, kTopFirstSpin), 5) << "hourglass seconds start at 5";
  EXPECT_EQ(game->white.baseMs, 5000u);
  ClickListItem(list, "Infinite time");
  for (int id : {kTopFirstSpin, kTopSecondSpin, kBottomFirstSpin, kBottomSecondSpin}) EXPECT_FALSE(Visible(dialog, id));
  EXPECT_EQ(game->white.timeControl, 7u);
  EXPECT_EQ(Finish(dialog, IDOK), kSetupWhiteTime | kSetupBlackTime);
  EXPECT_EQ(game->black.timeControl, 7u);
}

TEST_F(GameDialogs, FlipKeepsPlacesOrColours) {
  HWND dialog = OpenSetup();
  ASSERT_TRUE(dialog);
  // Unticked: the players keep their colours and change places.
  ClickControl(dialog, kFlipButton);
  EXPECT_EQ(Text(dialog, kTopName), "Ace");
  EXPECT_EQ(Text(dialog, kBottomName), "Bea");
  EXPECT_EQ(std::string(game->white.name), "Ace");
  // Ticked: the player at the bottom stays there in the other colour.
  ClickControl(dialog, kPlaysFromBottom);
  ClickControl(dialog, kFlipButton);
  EXPECT_EQ(Text(dialog, kBottomName), "Bea");
  EXPECT_EQ(std::string(game->white.name), "Bea");
  EXPECT_EQ(std::string(game->black.name), "Ace");
  EXPECT_EQ(game->white.slot, uint32_t(SLOT_WHITE));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "setup_colors_flipped"));
  // Turned twice: the board stands as it did.
  EXPECT_EQ(Finish(dialog, IDOK), kSetupWhitePlayer | kSetupBlackPlayer);
}

TEST_F(GameDialogs, KidsRoomHasNoRulesTab) {
  g_room = 2;
  HWND dialog = OpenSetup();
  ASSERT_TRUE(dialog);
  ClickTab(dialog, kSetupTabs, 2);
  EXPECT_FALSE(Visible(dialog, kWhiteBlindfold));
  EXPECT_EQ(SendMessageA(GetDlgItem(dialog, kSetupTabs), TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Finish(dialog, IDCANCEL), kSetupCancelled);
}

// Select Personality on its own: the kids' list, and nothing passing.
class SelectDialog : public GameDialogs {
 protected:
  HWND Open(int kids) {
    chosen[0] = '\0';
    runner = std::thread([this, kids] { result = SelectPersonality(nullptr, chosen, 0, kids, 0, 0); });
    return WaitForWindow("Select Personality");
  }
  char chosen[kChosenPersonalitySize];
};

TEST_F(SelectDialog, KidsModeListsOnlyFictionalCharacters) {
  HWND select = Open(1);
  ASSERT_TRUE(select);
  EXPECT_FALSE(Visible(select, kFilterBoxFirst + kFilter19to24));
  EXPECT_TRUE(Visible(select, kFilterBoxFirst + kFilter9to11));
  EXPECT_FALSE(IsWindowEnabled(Control(select, kFilterBoxFirst + kFilterGrandmasters)));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "select_personality_kids"));
  guitest::Click(Centre(Control(select, kCardFirst)));
  guitest::Pump(200);
  ClickControl(select, IDOK);
  runner.join();
  EXPECT_EQ(result, 1);
  EXPECT_NE(std::strstr(chosen, " - Age "), nullptr) << chosen;
}

// The bar's arrows move the column a card at a time; the chosen name is
// the file's name without its extension.
TEST_F(SelectDialog, TheArrowsScrollTheCards) {
  HWND select = Open(0);
  ASSERT_TRUE(select);
  HWND bar = Control(select, kCardScroll);
  RECT r;
  GetWindowRect(bar, &r);
  // A click on a card selects it; the Info page names it.
  auto cardName = [&](int card) {
    guitest::Click(Centre(Control(select, kCardFirst + card)));
    guitest::Pump(150);
    return Text(select, kInfoName);
  };
  auto firstCardName = [&] { return cardName(0); };
  const std::string top = cardName(0);
  const std::string second = cardName(1);
  ASSERT_NE(top, second);
  guitest::Click(POINT{(r.left + r.right) / 2, r.bottom - 6});  // down arrow
  guitest::Pump(200);
  EXPECT_EQ(firstCardName(), second);
  guitest::Click(POINT{(r.left + r.right) / 2, r.top + 6});  // up arrow
  guitest::Pump(200);
  EXPECT_EQ(firstCardName(), top);
  ClickControl(select, IDOK);
  runner.join();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(std::string(chosen), top);
}

TEST_F(SelectDialog, WithoutTheFacesPackNothingOpens) {
  ClosePackedDataSet(1);
  char name[kChosenPersonalitySize] = "";
  EXPECT_EQ(SelectPersonality(nullptr, name, 0, 0, 0, 0), 0);
  EXPECT_EQ(FindWindowA(nullptr, "Select Personality"), nullptr);
  ASSERT_EQ(OpenDataSet("faces", 1, 1), 1);
}

TEST_F(SelectDialog, NothingPassingDisablesOkAndTheBoxesAreKept) {
  HWND select = Open(0);
  ASSERT_TRUE(select);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(select, IDOK)));
  for (int box : {kFilterGrandmasters, kFilterFictional, kFilterCustom, kFilterXboard})
    ClickControl(select, kFilterBoxFirst + box, 100);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(select, IDOK)));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "select_personality_none"));
  ClickControl(select, IDCANCEL);
  runner.join();
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(CurrentPersonalityFilters().ticked[kFilterFictional]) << "kept for the settings file";
  EXPECT_TRUE(CurrentPersonalityFilters().ticked[kFilterMale]);
}

// The advice window over a game whose position carries advice.
std::vector<std::string> g_printed;
int g_adviceSeconds = -1;
int FakePrint(HWND, const char* line) {
  g_printed.push_back(line);
  return 1;
}
int FakeAdvice(GameRecord*, int seconds, int) {
  g_adviceSeconds = seconds;
  return 1;
}
int NoVoice() { return 0; }
int g_voice = 0;
int VoiceSetting() { return g_voice; }

TEST_F(GameDialogs, AdviceShowsTheAdviceAndPrintsIt) {
  AdviceServices services{};
  services.printLine = FakePrint;
  services.startAdvice = FakeAdvice;
  services.voiceSetting = NoVoice;
  SetAdviceServices(&services);
  SetCurrentGame(game);
  game->header.texts[SLOT_POSITION] = memStrdup_rel(
      "{H e4}Take the centre with your king's pawn: it opens lines for your queen and your "
                "king's bishop, and it leaves the knights free to follow.",
      HEAPKIT_TAG_RW);
  HWND advice = ShowAdviceDialog(game, 0);
  ASSERT_TRUE(advice);
  SetWindowPos(advice, HWND_TOP, 80, 80, 460, 260, SWP_NOZORDER);
  guitest::Pump(300);
  EXPECT_EQ(Text(advice, kAdviceText).rfind("Take the centre", 0), 0u) << Text(advice, kAdviceText);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(advice, kAdvicePrint)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(advice, kAdvicePause)));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "advice"));

  g_printed.clear();
  ClickControl(advice, kAdvicePrint);
  ASSERT_GT(g_printed.size(), 10u);
  EXPECT_EQ(g_printed.front(), "START");
  EXPECT_EQ(g_printed.back(), "DONE");
  EXPECT_EQ(g_printed[3], "Rookwell's Advice");

  // Think with 0 seconds asks the advisor for 0 seconds and waits.
  TypeInto(advice, kAdviceSeconds, "0");
  ClickControl(advice, kAdviceThink);
  EXPECT_EQ(g_adviceSeconds, 0);
  EXPECT_EQ(Text(advice, kAdviceText), "Let me think about this position for a moment...");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(advice, kAdviceThink)));
  // The advice arrives.
  SendMessageA(advice, RWM_ADVICE_STATE, 3, 0);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(advice, kAdviceThink)));
  // The menu command toggles the window off; the kids room's call keeps it.
  EXPECT_EQ(ShowAdviceDialog(game, 1), advice);
  EXPECT_EQ(ShowAdviceDialog(game, 0), nullptr);
  EXPECT_FALSE(IsWindow(advice));
  EXPECT_EQ(GetNumberedWindow(WIN_ADVICE), nullptr);
}

// Play reads the advice's markup as a clip; Pause, Play and Stop follow it,
// and the clip's end gives the buttons back.
struct FakeClip {
  std::string markup;
  int mode = 0;
  void (*ended)(void*) = nullptr;
  void* data = nullptr;
  int paused = 0, resumed = 0, stopped = 0;
} g_clip;
void* StartFakeClip(const char* markup, int mode, void (*ended)(void*), void* data) {
  g_clip = FakeClip{};
  g_clip.markup = markup;
  g_clip.mode = mode;
  g_clip.ended = ended;
  g_clip.data = data;
  return &g_clip;
}
void PauseFakeClip(void*) { ++g_clip.paused; }
void ResumeFakeClip(void*) { ++g_clip.resumed; }
void StopFakeClip(void*) { ++g_clip.stopped; }

TEST_F(GameDialogs, AdvicePlaysPausesAndStopsItsClip) {
  AdviceServices services{};
  services.printLine = FakePrint;
  services.startAdvice = FakeAdvice;
  services.voiceSetting = VoiceSetting;
  services.startClip = StartFakeClip;
  services.pauseClip = PauseFakeClip;
  services.resumeClip = ResumeFakeClip;
  services.stopClip = StopFakeClip;
  SetAdviceServices(&services);
  SetCurrentGame(game);
  game->header.texts[SLOT_POSITION] = memStrdup_rel("{H d4}Put a pawn in the centre.{C}", HEAPKIT_TAG_RW);
  HWND advice = ShowAdviceDialog(game, 0);
  ASSERT_TRUE(advice);
  guitest::Pump(300);
  EXPECT_EQ(Text(advice, kAdviceText), "Put a pawn in the centre.");
  auto enabled = [&](int id) { return IsWindowEnabled(GetDlgItem(advice, id)) != 0; };
  ClickControl(advice, kAdvicePlay);
  EXPECT_EQ(g_clip.markup, "{H d4}{C}");
  EXPECT_EQ(g_clip.mode, 4);
  EXPECT_TRUE(enabled(kAdvicePause));
  EXPECT_TRUE(enabled(kAdviceStop));
  EXPECT_FALSE(enabled(kAdviceThink));
  ClickControl(advice, kAdvicePause);
  EXPECT_EQ(g_clip.paused, 1);
  EXPECT_TRUE(enabled(kAdvicePlay));
  EXPECT_FALSE(enabled(kAdviceStop));
  ClickControl(advice, kAdvicePlay);
  EXPECT_EQ(g_clip.resumed, 1);
  ASSERT_TRUE(g_clip.ended);
  g_clip.ended(g_clip.data);  // the clip plays to its end
  EXPECT_TRUE(enabled(kAdviceThink));
  EXPECT_TRUE(enabled(kAdvicePrint));
  EXPECT_FALSE(enabled(kAdviceStop));
  ClickControl(advice, kAdvicePlay);
  ClickControl(advice, kAdviceStop);
  EXPECT_EQ(g_clip.stopped, 1);
  EXPECT_TRUE(enabled(kAdvicePlay));
  EXPECT_FALSE(enabled(kAdvicePause));
  // With the advice voice on, Think speaks the waiting sentence's pieces
  // from the spoken advice; that clip ends on its own, so Play afterwards
  // starts the new advice rather than resuming the finished clip.
  g_voice = 1;
  ClickControl(advice, kAdviceThink);
  EXPECT_EQ(g_clip.markup, "{W:s13}");
  EXPECT_EQ(g_clip.mode, 4);
  EXPECT_EQ(g_clip.ended, nullptr);
  SendMessageA(advice, RWM_ADVICE_STATE, 3, 0);
  g_clip.resumed = 0;
  ClickControl(advice, kAdvicePlay);
  EXPECT_EQ(g_clip.resumed, 0);
  EXPECT_EQ(g_clip.markup, "{H d4}{C}");
  ClickControl(advice, kAdviceStop);
  g_voice = 0;
  // A computer to move: nothing to ask for.
  game->white.kind = PLAYER_ENGINE;
  SendMessageA(advice, RWM_GAME_EVENT, GE_GAME_SET, LPARAM(game));
  EXPECT_EQ(Text(advice, kAdviceText), "");
  EXPECT_FALSE(enabled(kAdviceThink));
  game->white.kind = PLAYER_HUMAN;
}

}  // namespace
