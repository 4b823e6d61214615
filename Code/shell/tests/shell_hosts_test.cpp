// The shell's hosts: the rules and the engine link read the notation style,
// settings and program folder through them, and their messages go to the
// numbered windows through the service table.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "app_globals.h"
#include "engine_link_host.h"
#include "game_host.h"
#include "profile.h"
#include "shell_hosts.h"
#include "shell_services.h"

namespace {

int32_t NoBenchmark(int32_t, char*) { return 1; }
int g_posted, g_sent;
int Broadcast(uint32_t message, uintptr_t wParam, intptr_t, int post) {
  (post ? g_posted : g_sent) = static_cast<int>(message + wParam);
  return 1;
}
uint32_t g_boxFlags;
int Box(const char*, uint32_t flags) {
  g_boxFlags = flags;
  return 6;
}

TEST(ShellHosts, RulesAndEngineLinkAskTheShell) {
  ShellServices s = DefaultShellServices();
  s.cpuBenchmark = NoBenchmark;
  s.broadcastToWindows = Broadcast;
  s.appMessageBox = Box;
  SetShellServices(s);
  InstallShellHosts();
  EXPECT_EQ(GetGameHost()->GetNotationStyle(), 2);  // before start-up
  EXPECT_STREQ(GetEngineLinkHost()->ProgramFolder(), ".");

  std::string root = (std::filesystem::current_path() / "hosts_root").string();
  std::filesystem::create_directories(root);
  SetAppModulePath((root + "\\Rookwell.exe").c_str());
  ASSERT_EQ(CreateAppGlobals(), 1);
  GetAppGlobals()->settings->notationStyle = 4;
  EXPECT_EQ(GetGameHost()->GetNotationStyle(), 4);
  EXPECT_STREQ(GetEngineLinkHost()->ProgramFolder(), root.c_str());

  // Debug switches come from rw.ini, the rest from the current settings ini.
  std::string userIni = root + "\\hosts_user.ini";
  SetSettingsIniPath("hosts_user.ini", 0);
  ProfileWriteInt("debug", "dbgwnd_show", 1, GetMainIniPath());
  ProfileWriteInt("debug", "dbgwnd_show", 7, userIni.c_str());
  ProfileWriteInt("annotator", "slightly", 80, userIni.c_str());
  EXPECT_EQ(GetEngineLinkHost()->ReadSettingInt("debug", "dbgwnd_show", 0), 1);
  EXPECT_EQ(GetEngineLinkHost()->ReadSettingInt("annotator", "slightly", 65), 80);
  EXPECT_EQ(GetEngineLinkHost()->ReadSettingInt("annotator", "much", 450), 450);
  EXPECT_EQ(GetEngineLinkHost()->StringText(99999), nullptr);  // missing: the engine link's own text

  GetGameHost()->BroadcastGameEvent(9, nullptr);
  EXPECT_EQ(g_sent, 0x8103 + 9);
  GetEngineLinkHost()->PostToNumberedWindows(0x8106, 2, 0);
  EXPECT_EQ(g_posted, 0x8106 + 2);
  EXPECT_EQ(GetGameHost()->AskYesNo("Really?"), 6);
  EXPECT_EQ(g_boxFlags, 4u);
  // New games are dated today (the rules' own host has no calendar).
  int year = 0, month = 0, day = 0;
  GetGameHost()->Today(&year, &month, &day);
  const std::time_t now = std::time(nullptr);
  const std::tm today = *std::localtime(&now);
  EXPECT_EQ(year, today.tm_year + 1900);
  EXPECT_EQ(month, today.tm_mon + 1);
  EXPECT_EQ(day, today.tm_mday);

  std::remove(GetMainIniPath());
  std::remove(userIni.c_str());
  FreeAppGlobals();
  SetAppModulePath(nullptr);
  RemoveShellHosts();
  SetShellServices(DefaultShellServices());
}

}  // namespace
