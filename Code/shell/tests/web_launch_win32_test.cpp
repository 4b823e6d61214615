// The launchers over a fake browser registered for test-only file types:
// the registered command is cut at its placeholder and the address follows,
// quoted; an address that could leave the quotes starts nothing.
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "guitest.h"
#include "shell_services.h"
#include "web_launch.h"

namespace {

std::string g_shown;
int RecordBox(const char* text, uint32_t) {
  g_shown += text;
  return IDOK;
}

class WebLaunch : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    output_ = std::string(temp) + "rw_fake_browser.txt";
    DeleteFileA(output_.c_str());
    browser_ = RW_FAKE_BROWSER;
    for (char& ch : browser_)
      if (ch == '/') ch = '\\';
    Register(".rwtesthtm", "RWTestPage", ("\"" + browser_ + "\" \"%1\"").c_str());
    Register(".rwtestx", "RWTestProgram", (browser_ + " -open %1 -more").c_str());
    ShellServices s = DefaultShellServices();
    s.appMessageBox = RecordBox;
    SetShellServices(s);
    g_shown.clear();
  }
  void TearDown() override {
    for (const char* key : {".rwtesthtm", ".rwtestx", "RWTestPage", "RWTestProgram"})
      RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
    DeleteFileA(output_.c_str());
    SetShellServices(DefaultShellServices());
  }
  static void SetDefault(const std::string& key, const char* value) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
              0);
    RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
    RegCloseKey(k);
  }
  static void Register(const char* type, const char* cls, const char* command) {
    SetDefault(type, cls);
    SetDefault(std::string(cls) + "\\shell\\open\\command", command);
  }
  // What the fake browser was started with, once it has written it.
  std::string Started() {
    std::string text;
    guitest::WaitFor(
        [&] {
          std::FILE* f = std::fopen(output_.c_str(), "rb");
          if (!f) return false;
          char buf[1024];
          const size_t n = std::fread(buf, 1, sizeof buf, f);
          std::fclose(f);
          text.assign(buf, n);
          return n > 0;
        },
        10000);
    return text;
  }
  std::string output_, browser_;
};

TEST_F(WebLaunch, AddressFollowsTheCutCommandQuoted) {
  ASSERT_EQ(RunRegisteredCommand(".rwtesthtm", "http://example.test/a b?c=1", SW_HIDE), 1);
  EXPECT_EQ(Started(), "\"" + browser_ + "\" \"http://example.test/a b?c=1\"");
}

TEST_F(WebLaunch, FileThroughItsAssociation) {
  ASSERT_EQ(OpenWithAssociation("Game.rwtestx", SW_HIDE), 1);
  EXPECT_EQ(Started(), browser_ + " -open \"Game.rwtestx\"");
  EXPECT_EQ(OpenWithAssociation("no_type", SW_HIDE), 0);
  EXPECT_EQ(OpenWithAssociation("x.rwnotregistered", SW_HIDE), 0);
}

TEST_F(WebLaunch, UnsafeAddressesStartNothing) {
  EXPECT_EQ(RunRegisteredCommand(".rwtesthtm", "http://x\" & calc \"", SW_HIDE), 0);
  EXPECT_EQ(RunRegisteredCommand(".rwtesthtm", "http://x\r\ncalc", SW_HIDE), 0);
  Sleep(300);
  EXPECT_EQ(GetFileAttributesA(output_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WebLaunch, ClassesRootValuesAndTheEmptyAddress) {
  char text[MAX_PATH] = "stale";
  EXPECT_EQ(ReadClassesRootValue(HKEY_CLASSES_ROOT, ".rwtesthtm", text), 0);
  EXPECT_STREQ(text, "RWTestPage");
  EXPECT_NE(ReadClassesRootValue(HKEY_CLASSES_ROOT, ".rwnotregistered", text), 0);
  EXPECT_EQ(OpenWebPage(""), 0);
  EXPECT_EQ(OpenWebPage(nullptr), 0);
  EXPECT_EQ(g_shown, "");
}

}  // namespace
