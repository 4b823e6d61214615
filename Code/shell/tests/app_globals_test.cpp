// The application globals: accessors before start-up, paths made from the
// module path, the folder accessors' shared buffer, settings ini switches
// and the notation-style broadcast.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app_globals.h"
#include "heapkit.h"
#include "profile.h"
#include "shell_services.h"

namespace {

int32_t g_benchIterations;
char* g_benchText;
int32_t FakeBenchmark(int32_t iterations, char* text) {
  g_benchIterations = iterations;
  g_benchText = text;
  return 4321;
}

struct Broadcast {
  int count = 0;
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = -1;
  int post = -1;
} g_broadcast;
int RecordBroadcast(uint32_t message, uintptr_t wParam, intptr_t lParam, int post) {
  g_broadcast = {g_broadcast.count + 1, message, wParam, lParam, post};
  return 1;
}

class AppGlobalsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShellServices s = DefaultShellServices();
    s.cpuBenchmark = FakeBenchmark;
    s.broadcastToWindows = RecordBroadcast;
    SetShellServices(s);
    g_broadcast = Broadcast{};
  }
  void TearDown() override {
    if (GetAppGlobals()) memFree_rel(GetAppGlobals()->currentUser), GetAppGlobals()->currentUser = nullptr;
    FreeAppGlobals();
    SetAppModulePath(nullptr);
    SetShellServices(DefaultShellServices());
  }
  static void LogIn(const char* name) {
    auto* user = static_cast<UserProfile*>(memAlloc_rel(sizeof(UserProfile), 66));
    std::memset(user, 0, sizeof *user);
    std::snprintf(user->name, sizeof user->name, "%s", name);
    GetAppGlobals()->currentUser = user;
  }
};

TEST_F(AppGlobalsTest, EveryAccessorAnswersBeforeStartUp) {
  SetAppModulePath("C:\\Rw\\Rookwell.exe");
  ASSERT_EQ(GetAppGlobals(), nullptr);
  EXPECT_EQ(GetNotationStyle(), 2);
  EXPECT_EQ(SetNotationStyle(5), 5);
  EXPECT_EQ(g_broadcast.count, 0);
  EXPECT_EQ(GetPieceSoundsSetting() + GetNLAVoiceSetting() + GetTutorialVoiceSetting() +
                GetIllegalMoveVoiceSetting() + GetWindowCloseSetting() + GetBuddySetting() +
                GetChatTellSetting() + GetChallengeSetting(),
            0);
  EXPECT_STREQ(GetUserName(), "");
  EXPECT_EQ(GetUserRecord(), nullptr);
  SetUserRecord(nullptr);
  EXPECT_EQ(GetProgramFolder(), nullptr);
  SetProgramFolder("X:\\");
  EXPECT_EQ(GetProgramFolder(), nullptr);
  EXPECT_STREQ(GetMainIniPath(), "C:\\Rw\\rw.ini");
  EXPECT_STREQ(GetSettingsIniPath(), "C:\\Rw\\rw.ini");
  EXPECT_EQ(SetSettingsIniPath("a.ini", 0), nullptr);
  EXPECT_STREQ(GetUsersFolder(), "");
  EXPECT_STREQ(GetUserFolder(), "");
  EXPECT_EQ(GetBenchmarkScore(), 0u);
  EXPECT_EQ(GetHashTableSize(), 0);
  SetHashTableSize(8);
  EXPECT_STREQ(GetLayoutName(), "");
  EXPECT_EQ(SetLayoutName("x"), 0);
  SetAppSpareFlag();
  EXPECT_EQ(GetAppSpareFlag(), 0u);
  EXPECT_EQ(GetCurrentRoomRecord(), nullptr);
  EXPECT_EQ(GetRoomBoard(), nullptr);
  EXPECT_EQ(GetRoomBoardSetName(), nullptr);
  void* window = &window;
  ShellRect rect{1, 2, 3, 4};
  GetBoardViewRect(&window, &rect);
  EXPECT_EQ(window, nullptr);
  EXPECT_EQ(rect.right, 0);
  EXPECT_EQ(GetResourceLibrary(), nullptr);
  EXPECT_EQ(FreeAppGlobals(), 0);
}

TEST_F(AppGlobalsTest, PathsComeFromTheModulePath) {
  struct Case {
    const char* module;
    const char* folder;
    const char* ini;
  } cases[] = {
      {"C:\\Rw\\Rookwell.exe", "C:\\Rw", "C:\\Rw\\rw.ini"},
      {"D:\\Rookwell.exe", "D:\\", "D:\\\\rw.ini"},  // the root keeps its backslash
      {"C:\\Program Files\\Rookwell\\Rookwell.exe", "C:\\Program Files\\Rookwell",
       "C:\\Program Files\\Rookwell\\rw.ini"},
      {"\\\\server\\share\\Rookwell.exe", "\\\\server\\share", "\\\\server\\share\\rw.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.module);
    SetAppModulePath(c.module);
    EXPECT_STREQ(GetMainIniPath(), c.ini);  // before start-up too
    ASSERT_EQ(CreateAppGlobals(), 1);
    EXPECT_STREQ(GetProgramFolder(), c.folder);
    EXPECT_STREQ(GetMainIniPath(), c.ini);
    EXPECT_STREQ(GetSettingsIniPath(), c.ini);
    FreeAppGlobals();
  }
}

TEST_F(AppGlobalsTest, StartUpRunsTheBenchmarkOnceWithFiftyIterations) {
  SetAppModulePath("C:\\Rw\\Rookwell.exe");
  g_benchText = reinterpret_cast<char*>(1);
  ASSERT_EQ(CreateAppGlobals(), 1);
  EXPECT_EQ(g_benchIterations, 50);
  EXPECT_EQ(g_benchText, nullptr);
  EXPECT_EQ(GetBenchmarkScore(), 4321u);
  EXPECT_NE(GetAppGlobals()->gameRegistry, nullptr);
  // The settings record starts zeroed: the user's settings are not read yet.
  EXPECT_EQ(GetNotationStyle(), 0);
  EXPECT_EQ(GetWindowCloseSetting(), 0);
  EXPECT_EQ(FreeAppGlobals(), 1);
  EXPECT_EQ(GetAppGlobals(), nullptr);
}

TEST_F(AppGlobalsTest, FoldersShareOneBuffer) {
  SetAppModulePath("C:\\Rw\\Rookwell.exe");
  ASSERT_EQ(CreateAppGlobals(), 1);
  struct Case {
    const char* (*accessor)();
    const char* before;  // nobody logged in
    const char* after;   // "bob" logged in
  } cases[] = {
      {GetUsersFolder, "C:\\Rw\\Users", "C:\\Rw\\Users"},
      {GetUserFolder, "C:\\Rw\\Users\\", "C:\\Rw\\Users\\bob"},
      {GetAdjournedGamesFolder, "C:\\Rw\\Users\\\\Adjourned Games", "C:\\Rw\\Users\\bob\\Adjourned Games"},
      {GetPersonalitiesFolder, "C:\\Rw\\Personalities", nullptr},
      {GetOpeningBooksFolder, "C:\\Rw\\Opening Books", nullptr},
      {GetLayoutsFolder, "C:\\Rw\\Layouts", nullptr},
      {GetWallpaperFolder, "C:\\Rw\\Wallpaper", nullptr},
      {GetTutorialsFolder, "C:\\Rw\\Tutorials", nullptr},
      {GetCoachGamesFolder, "C:\\Rw\\Tarn Games", nullptr},
      {GetMidiFolder, "C:\\Rw\\Midi", nullptr},
      {GetDatabaseFolder, "C:\\Rw\\Database", nullptr},
      {GetRateMyPlayFolder, "C:\\Rw\\Rate My Play", nullptr},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.accessor(), c.before);
  LogIn("bob");
  for (const Case& c : cases) {
    if (c.after) {
      EXPECT_STREQ(c.accessor(), c.after);
    }
  }
  const char* first = GetUsersFolder();
  const char* second = GetMidiFolder();
  EXPECT_EQ(first, second);
  EXPECT_STREQ(first, "C:\\Rw\\Midi");
}

TEST_F(AppGlobalsTest, AProgramFolderIsReplacedAndATooLongPathIsNeverCut) {
  SetAppModulePath("C:\\Rw\\Rookwell.exe");
  ASSERT_EQ(CreateAppGlobals(), 1);
  // Longer than the folder it replaces: a copy over the old string would
  // overrun it.
  std::string longer = "E:\\A much longer program folder than before\\Rookwell";
  SetProgramFolder(longer.c_str());
  EXPECT_EQ(GetProgramFolder(), longer);
  EXPECT_EQ(std::string(GetMidiFolder()), longer + "\\Midi");

  // "<folder>\Midi" of exactly 259 characters fits; one more gives nothing.
  std::string fits = "F:\\" + std::string(259 - 3 - 5, 'x');
  SetProgramFolder(fits.c_str());
  EXPECT_EQ(std::strlen(GetMidiFolder()), 259u);
  std::string over = fits + "y";
  SetProgramFolder(over.c_str());
  EXPECT_STREQ(GetMidiFolder(), "");
  EXPECT_STREQ(GetUsersFolder(), "");
  LogIn(std::string(31, 'u').c_str());
  EXPECT_STREQ(GetAdjournedGamesFolder(), "");
}

TEST_F(AppGlobalsTest, SettingsIniPathVariants) {
  SetAppModulePath("C:\\Rw\\Rookwell.exe");
  ASSERT_EQ(CreateAppGlobals(), 1);
  struct Case {
    const char* name;
    int inUserFolder;
    bool loggedIn;
    const char* path;
  } cases[] = {
      {nullptr, 0, false, "C:\\Rw\\rw.ini"},
      {"other.ini", 0, false, "C:\\Rw\\other.ini"},
      {nullptr, 1, false, "C:\\Rw\\Users\\\\rw.ini"},
      {"bob.ini", 1, true, "C:\\Rw\\Users\\bob\\bob.ini"},
      {nullptr, 1, true, "C:\\Rw\\Users\\bob\\rw.ini"},
      {"bob.ini", 0, true, "C:\\Rw\\bob.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    if (c.loggedIn && !GetUserRecord()) LogIn("bob");
    EXPECT_STREQ(SetSettingsIniPath(c.name, c.inUserFolder), c.path);
    EXPECT_STREQ(GetSettingsIniPath(), c.path);
    EXPECT_STREQ(GetMainIniPath(), "C:\\Rw\\rw.ini");
  }
}

TEST_F(AppGlobalsTest, UserRecordIsCopiedWholeOrEmptied) {
  SetAppModulePath("C:\\Rw\\Rookwell.exe");
  ASSERT_EQ(CreateAppGlobals(), 1);
  LogIn("");
  UserProfile other{};
  std::strcpy(other.name, "carol");
  other.baseRating = 1750;
  SetUserRecord(&other);
  EXPECT_STREQ(GetUserName(), "carol");
  EXPECT_EQ(GetUserRecord()->baseRating, 1750);
  SetUserRecord(nullptr);
  EXPECT_STREQ(GetUserName(), "");
  EXPECT_EQ(GetUserRecord()->baseRating, 1750);
}

TEST_F(AppGlobalsTest, NotationStyleChangeIsSentToTheNumberedWindows) {
  SetAppModulePath("C:\\Rw\\Rookwell.exe");
  ASSERT_EQ(CreateAppGlobals(), 1);
  GetAppGlobals()->settings->notationStyle = 3;
  EXPECT_EQ(SetNotationStyle(1), 3);
  EXPECT_EQ(GetNotationStyle(), 1);
  EXPECT_EQ(g_broadcast.count, 1);
  EXPECT_EQ(g_broadcast.message, 0x8103u);
  EXPECT_EQ(g_broadcast.wParam, 15u);
  EXPECT_EQ(g_broadcast.lParam, 0);  // no current game
  EXPECT_EQ(g_broadcast.post, 0);    // sent, not posted
}

TEST_F(AppGlobalsTest, SwitchesLayoutNameAndSpareFlag) {
  SetAppModulePath("C:\\Rw\\Rookwell.exe");
  ASSERT_EQ(CreateAppGlobals(), 1);
  SettingsRecord* s = GetAppGlobals()->settings;
  s->pieceSounds = 1, s->nlaVoice = 2, s->tutorialVoice = 3, s->illegalMoveVoice = 4;
  s->windowClose = 5, s->buddy = 6, s->chatTell = 7, s->challenge = 8;
  EXPECT_EQ(GetPieceSoundsSetting(), 1);
  EXPECT_EQ(GetNLAVoiceSetting(), 2);
  EXPECT_EQ(GetTutorialVoiceSetting(), 3);
  EXPECT_EQ(GetIllegalMoveVoiceSetting(), 4);
  EXPECT_EQ(GetWindowCloseSetting(), 5);
  EXPECT_EQ(GetBuddySetting(), 6);
  EXPECT_EQ(GetChatTellSetting(), 7);
  EXPECT_EQ(GetChallengeSetting(), 8);
  SetHashTableSize(64);
  EXPECT_EQ(GetHashTableSize(), 64);
  EXPECT_EQ(SetLayoutName("Evening"), 1);
  EXPECT_STREQ(GetLayoutName(), "Evening");
  SetAppSpareFlag();
  EXPECT_EQ(GetAppSpareFlag(), 1u);
  ClearAppSpareFlag();
  EXPECT_EQ(GetAppSpareFlag(), 0u);
}

TEST_F(AppGlobalsTest, LastUserComesFromTheProgramsIni) {
  std::string root = (std::filesystem::current_path() / "globals_root").string();
  std::filesystem::create_directories(root);
  SetAppModulePath((root + "\\Rookwell.exe").c_str());
  std::string ini = root + "\\rw.ini";
  ASSERT_TRUE(ProfileWriteString("lookandfeel", "LastUser", "A name longer than thirty-one characters", ini.c_str()));
  ASSERT_EQ(CreateAppGlobals(), 1);
  EXPECT_STREQ(GetAppGlobals()->settings->lastUser, "A name longer than thirty-one c");
  std::remove(ini.c_str());
}

TEST_F(AppGlobalsTest, InstallDriveIsUnknownWithoutTheRegistryValue) {
  EXPECT_EQ(GetInstallDrive(), 0);
}

}  // namespace
