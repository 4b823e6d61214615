// The user's sound scheme decides whether a game sound goes by name.
#include <windows.h>

#include <gtest/gtest.h>

#include "game_sounds.h"

TEST(GameSoundsWin32, SchemeEntriesDecideWhetherANameIsAssigned) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string program = path;
  program = program.substr(program.find_last_of("\\/") + 1);
  program = program.substr(0, program.rfind('.'));
  std::string base = "AppEvents\\Schemes\\Apps\\" + program;
  RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
  EXPECT_FALSE(GameSchemeHasSound("Check"));
  // An empty current entry and no default: still unassigned.
  ASSERT_EQ(RegSetValueA(HKEY_CURRENT_USER, (base + "\\Check\\.Current").c_str(), REG_SZ, "", 0), ERROR_SUCCESS);
  EXPECT_FALSE(GameSchemeHasSound("Check"));
  ASSERT_EQ(RegSetValueA(HKEY_CURRENT_USER, (base + "\\Check\\.Default").c_str(), REG_SZ, "chord.wav", 9),
            ERROR_SUCCESS);
  EXPECT_TRUE(GameSchemeHasSound("Check"));
  EXPECT_FALSE(GameSchemeHasSound("Capture"));
  RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());

  // With nothing assigned the program folder's file is asked for, and the
  // beep falls back to the system's.
  GameSoundHost host;
  std::vector<std::string> asked;
  UseSystemSoundService(&host, "C:\\Prog");
  auto play = host.playSound;
  host.playSound = [&](const char* what, unsigned flags) {
    asked.push_back(what);
    return play(what, flags);
  };
  SetGameSoundHost(host);
  PlayGameSound(kSoundCheck);
  EXPECT_EQ(asked, std::vector<std::string>{"C:\\Prog\\check.wav"});
  EXPECT_EQ(PlayChessBeep(), 1);
  SetGameSoundHost(GameSoundHost());
}
