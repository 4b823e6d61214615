// The main menu's commands against a recording host: what each id does,
// ids that are none of them, window checks, notation items and the layout
// files on disk.
#include "menu_commands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Write(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

struct FakeHost : MenuCommandHost {
  std::map<int, int> states;  // menu items present and their state
  std::set<int> created, shown;
  bool game = true;
  int style = 0;
  std::vector<std::string> calls;
  // Layout files.
  std::string folder, pick;
  bool curriculum = false, curriculumAfterApply = false;

  FakeHost() {
    for (int id : {11, 32, 40, 41, 40032, 40033, 40034, 40035, 40036, 40037, 40038, 40054, 40055, 40065, 40066,
                   40067, 40088, 40153, 40154, 40155, 40156, 40157, 40158})
      states[id] = 0;
  }
  void Log(const std::string& s) { calls.push_back(s); }

  int GetMenuItemState(void* window, int id) override {
    if (window != MainFrame()) return -1;
    auto it = states.find(id);
    return it == states.end() ? -1 : it->second;
  }
  void SetMenuItemState(void* window, int id, int state) override {
    if (window == MainFrame() && states.count(id)) states[id] = state;
  }
  void* MainFrame() override { return this; }
  bool WindowExists(int id) override { return created.count(id) != 0; }
  bool WindowShown(int id) override { return shown.count(id) != 0; }
  void ToggleWindow(int id) override {
    Log("toggle " + std::to_string(id));
    if (!shown.erase(id)) shown.insert(id);
  }
  bool HaveGame() override { return game; }
  int NotationStyle() override { return style; }
  void SetNotationStyle(int s) override {
    Log("notation " + std::to_string(s));
    style = s;
  }
  void Perform(MenuAction action, int arg) override {
    Log("perform " + std::to_string(int(action)) + " " + std::to_string(arg));
  }
  bool CurriculumShown() override { return curriculum; }
  void ShowCurriculum() override { Log("curriculum"); }
  bool ChooseLayoutFile(bool save, std::string* path) override {
    Log(save ? "choose save" : "choose open");
    if (pick.empty()) return false;
    *path = pick;
    return true;
  }
  void SetLayoutName(const std::string& path) override { Log("name " + fs::path(path).filename().string()); }
  std::string CurrentLayoutPath() override { return folder + "/player.lay"; }
  std::string BackupLayoutPath() override { return folder + "/backup.lay"; }
  bool CopyLayoutFile(const std::string& from, const std::string& to) override {
    std::error_code error;
    if (!fs::exists(from)) return false;
    // Removed first: MinGW's copy_file does not overwrite.
    fs::remove(to, error);
    return fs::copy_file(from, to, error);
  }
  void RemoveLayoutFile(const std::string& path) override { fs::remove(path); }
  void ApplyLayout(const std::string& path) override {
    Log("apply " + Slurp(path));
    if (curriculumAfterApply) curriculum = !curriculum;
  }
  void SaveLayout(const std::string& path) override { Log("save " + fs::path(path).filename().string()); }
};

class MenuCommands : public ::testing::Test {
 protected:
  void SetUp() override { SetMenuCommandHost(&host); }
  void TearDown() override { SetMenuCommandHost(nullptr); }
  std::vector<std::string> Run(int id, int expect = 1) {
    host.calls.clear();
    EXPECT_EQ(MainMenuCommand(&host, id), expect) << id;
    return host.calls;
  }
  FakeHost host;
};

std::string P(MenuAction a, int arg = 0) { return "perform " + std::to_string(int(a)) + " " + std::to_string(arg); }

TEST_F(MenuCommands, EachIdRunsItsCommand) {
  using A = MenuAction;
  const struct {
    int id;
    std::string call;
  } cases[] = {
      {11, P(A::kFlipBoard)},          {12, P(A::kSoundOptions)},       {21, P(A::kPersonalitySetUp)},
      {40, P(A::kHelp, 0)},            {41, P(A::kAboutBox)},           {40002, P(A::kCopyAsciiBoard)},
      {40003, P(A::kCopyFontBoard)},   {40006, P(A::kCopyMovesTabs)},   {40008, P(A::kCopyMoves)},
      {40009, P(A::kCopyPicture)},     {40013, P(A::kSaveGame)},        {40018, P(A::kTakeBack)},
      {40019, P(A::kReplay)},          {40020, P(A::kForceMove)},       {40021, P(A::kWakeUp)},
      {40022, P(A::kPause)},           {40024, P(A::kOfferDraw)},       {40025, P(A::kResign)},
      {40026, P(A::kQuickHint)},       {40027, P(A::kMoveAdvice)},      {40028, P(A::kSolveForMate)},
      {40029, P(A::kGameAnalysis)},    {40030, P(A::kBoardSettings)},   {40031, P(A::kSwitchSides)},
      {40039, P(A::kWebSite)},         {40040, P(A::kHelp, 1)},         {40065, P(A::kEngineMonitor, 1)},
      {40066, P(A::kEngineMonitor, 0)}, {40067, P(A::kEngineMonitor, 2)}, {40085, P(A::kGameInformation)},
      {40087, P(A::kChessSet)},        {40160, P(A::kHelp, 2)},         {40162, P(A::kPrintMoveList)},
      {40163, P(A::kPrintBoard)},      {40164, P(A::kPrinterSetUp)},    {40168, P(A::kDrillRecords)},
      {40178, P(A::kWallpaper)},       {40179, P(A::kImportEngine)},    {40200, P(A::kGoToRoom, 1)},
      {40201, P(A::kGoToRoom, 3)},     {40202, P(A::kGoToRoom, 6)},     {40203, P(A::kGoToRoom, 4)},
      {40204, P(A::kGoToRoom, 2)},     {40205, P(A::kGoToRoom, 5)},     {40206, P(A::kGoToRoom, 7)},
      {40207, P(A::kGoToRoom, 0)},     {40166, "choose save"},         {40165, "choose open"},
      {40155, "notation 2"},
  };
  for (const auto& c : cases) {
    const std::vector<std::string> calls = Run(c.id);
    ASSERT_FALSE(calls.empty()) << c.id;
    EXPECT_EQ(calls[0], c.call) << c.id;
  }
}

TEST_F(MenuCommands, OtherIdsAnswerZeroAndDoNothing) {
  // The game room's own commands, the quit command, the online items whose
  // checks this handler keeps but does not run, and ids near the table's.
  for (int id : {0, 1, 2, 10, 13, 40001, 40007, 40011, 40014, 40017, 40054, 40055, 40086, 40134, 40152, 40159,
                 40161, 40167, 40208, 40209, 65535, -40002}) {
    EXPECT_TRUE(Run(id, 0).empty()) << id;
    EXPECT_EQ(FindMenuCommand(id), nullptr) << id;
  }
}

TEST_F(MenuCommands, GameCommandsWithoutAGameAreTakenAndDoNothing) {
  host.game = false;
  for (int id : {40002, 40003, 40006, 40008, 40013, 40018, 40019, 40020, 40021, 40022, 40024, 40025, 40026, 40027,
                 40028, 40031, 40065, 40066, 40067, 40085, 40162, 40163})
    EXPECT_TRUE(Run(id).empty()) << id;
  // Those that do not need one still run.
  EXPECT_EQ(Run(40009), std::vector<std::string>{P(MenuAction::kCopyPicture)});
  EXPECT_EQ(Run(41), std::vector<std::string>{P(MenuAction::kAboutBox)});
}

TEST_F(MenuCommands, WindowItemsToggleTheirWindowAndCheck) {
  const struct {
    int command, window;
  } toggles[] = {{32, 9}, {40032, 10}, {40034, 8}, {40035, 16}, {40036, 13}, {40037, 7}, {40088, 6}};
  for (const auto& t : toggles) {
    // Never created: nothing, not even the check mark.
    EXPECT_TRUE(Run(t.command).empty()) << t.command;
    EXPECT_EQ(host.states[t.command], 0) << t.command;
    host.created.insert(t.window);
    EXPECT_EQ(Run(t.command), std::vector<std::string>{"toggle " + std::to_string(t.window)});
    EXPECT_TRUE(host.shown.count(t.window));
    EXPECT_EQ(host.states[t.command], kMenuChecked) << t.command;
    Run(t.command);
    EXPECT_FALSE(host.shown.count(t.window));
    EXPECT_EQ(host.states[t.command], 0) << t.command;
  }
  // The navigation bar: shown when hidden, hidden when shown.
  EXPECT_TRUE(Run(40033).empty());
  host.created.insert(2);
  host.shown.insert(2);
  EXPECT_EQ(Run(40033), std::vector<std::string>{P(MenuAction::kNavigationBar, 0)});
  EXPECT_EQ(host.states[40033], kMenuChecked);
  // Player statistics load the profile only when the window comes up.
  host.created.insert(15);
  EXPECT_EQ(Run(40038), (std::vector<std::string>{P(MenuAction::kPlayerStatistics), "toggle 15"}));
  EXPECT_EQ(Run(40038), std::vector<std::string>{"toggle 15"});
}

TEST_F(MenuCommands, StateWrappersReplaceTheWholeState) {
  host.states[40036] = kMenuGrey;
  EXPECT_EQ(ToggleMenuCheck(&host, 40036), 1);
  EXPECT_EQ(host.states[40036], kMenuChecked);  // enabled as well
  host.states[40036] = kMenuChecked | kMenuGrey;
  EXPECT_EQ(ToggleMenuCheck(&host, 40036), 0);
  EXPECT_EQ(host.states[40036], 0);
  EXPECT_EQ(ToggleMenuCheck(&host, 12345), 0);  // no such item
  EXPECT_EQ(ToggleMenuCheck(nullptr, 40036), 0);  // no such window
  EnableMenuCommand(&host, 40036, 0);
  EXPECT_EQ(host.states[40036], kMenuGrey);
  EnableMenuCommand(&host, 40036, 1);
  EXPECT_EQ(host.states[40036], 0);
  CheckMenuCommand(&host, 40036);
  EXPECT_EQ(host.states[40036], kMenuChecked);
  UncheckMenuCommand(&host, 40036);
  EXPECT_EQ(host.states[40036], 0);
}

TEST_F(MenuCommands, NotationItemsCheckExactlyOne) {
  for (int id = kNotationFirst; id < kNotationFirst + kNotationCount; ++id) host.states[id] = kMenuChecked;
  for (int pick : {40154, 40158, 40153, 40156}) {
    Run(pick);
    EXPECT_EQ(host.style, pick - kNotationFirst);
    for (int id = kNotationFirst; id < kNotationFirst + kNotationCount; ++id)
      EXPECT_EQ(host.states[id], id == pick ? kMenuChecked : 0) << pick << " " << id;
  }
}

TEST_F(MenuCommands, UpdateMirrorsTheShownWindows) {
  host.shown = {6, 25, 2, 17};
  for (const WindowMenuCheck& c : kWindowMenuChecks) host.states[c.command] = kMenuChecked;
  UpdateMainMenuState();
  for (const WindowMenuCheck& c : kWindowMenuChecks)
    EXPECT_EQ(host.states[c.command], host.shown.count(c.window) ? kMenuChecked : 0) << c.command;
}

class LayoutFiles : public MenuCommands {
 protected:
  void SetUp() override {
    MenuCommands::SetUp();
    host.folder = (fs::temp_directory_path() / ("rw_menu_layouts_" + std::to_string(std::random_device{}()))).string();
    fs::remove_all(host.folder);
    fs::create_directories(host.folder);
    Write(host.folder + "/player.lay", "A");
    Write(host.folder + "/other.lay", "B");
  }
  void TearDown() override {
    fs::remove_all(host.folder);
    MenuCommands::TearDown();
  }
  std::string File(const char* name) { return Slurp(host.folder + "/" + name); }
};

TEST_F(LayoutFiles, LoadingKeepsThePreviousInTheBackupAndTheBackupRestoresIt) {
  host.pick = host.folder + "/other.lay";
  EXPECT_EQ(Run(40165), (std::vector<std::string>{"choose open", "apply B", "name other.lay"}));
  EXPECT_EQ(File("player.lay"), "B");
  EXPECT_EQ(File("backup.lay"), "A");
  // The backup chosen: the earlier layout comes back, and the one it
  // replaced becomes the backup.
  host.pick = host.folder + "/backup.lay";
  EXPECT_EQ(Run(40165), (std::vector<std::string>{"choose open", "apply A", "name backup.lay"}));
  EXPECT_EQ(File("player.lay"), "A");
  EXPECT_EQ(File("backup.lay"), "B");
  EXPECT_FALSE(fs::exists(host.folder + "/player.lay.new"));
}

TEST_F(LayoutFiles, CancelOrAnUnreadableFileChangesNothing) {
  Write(host.folder + "/backup.lay", "old");
  host.pick.clear();
  EXPECT_EQ(Run(40165), std::vector<std::string>{"choose open"});
  host.pick = host.folder + "/missing.lay";
  EXPECT_EQ(Run(40165), std::vector<std::string>{"choose open"});
  EXPECT_EQ(File("player.lay"), "A");
  EXPECT_EQ(File("backup.lay"), "old");
}

TEST_F(LayoutFiles, TheCurriculumIsShownWhenTheLayoutChangedIt) {
  host.pick = host.folder + "/other.lay";
  host.curriculumAfterApply = true;
  const std::vector<std::string> calls = Run(40165);
  EXPECT_EQ(calls.back(), "curriculum");
  host.curriculumAfterApply = false;
  EXPECT_NE(Run(40165).back(), "curriculum");
}

TEST_F(LayoutFiles, SavingWritesTheChosenFile) {
  host.pick = host.folder + "/mine.lay";
  EXPECT_EQ(Run(40166), (std::vector<std::string>{"choose save", "save mine.lay"}));
  host.pick.clear();
  EXPECT_EQ(Run(40166), std::vector<std::string>{"choose save"});
}

}  // namespace
