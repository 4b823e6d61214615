// The sound options dialog on screen with the program's look, driven as a
// user would: it runs modally on its own thread while the test looks.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "frame_links.h"
#include "guitest.h"
#include "look_and_feel.h"
#include "sound_options.h"
#include "sound_options_win32.h"

namespace {

std::string g_folder;

std::string FontSource() {
  std::string made = RW_PROGDATA_DIR "/rwonyx.ttf";
  for (char& ch : made)
    if (ch == '/') ch = '\\';
  return made;
}

class SoundOptionsDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_sound_options";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CopyFileA(FontSource().c_str(), (g_folder + "\\rwonyx.ttf").c_str(), FALSE);
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_folder.c_str(); };
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
  }
  static void TearDownTestSuite() { FreeLookAndFeel(nullptr); }

  // Opens the dialog on its own thread; the test's thread finds it.
  HWND Open(SettingsRecord* settings) {
    runner = std::thread([settings] { ShowSoundOptions(nullptr, settings); });
    HWND dialog = nullptr;
    guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, "Rookwell Sounds")) != nullptr; }, 5000);
    guitest::Pump(300);
    return dialog;
  }
  void Close(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    runner.join();
  }
  struct Find {
    int id;
    HWND found;
  };
  static BOOL CALLBACK FindControl(HWND w, LPARAM p) {
    auto* f = reinterpret_cast<Find*>(p);
    if (GetDlgCtrlID(w) == f->id) f->found = w;
    return f->found ? FALSE : TRUE;
  }
  // A control of the dialog or of one of its pages.
  static HWND Control(HWND dialog, int id) {
    Find f{id, nullptr};
    EnumChildWindows(dialog, FindControl, LPARAM(&f));
    return f.found;
  }
  static bool Checked(HWND dialog, int id) { return SendMessageA(Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  static void ChooseTab(HWND dialog, int page) {
    HWND tab = GetDlgItem(dialog, kSoundOptionsTab);
    SendMessageA(tab, TCM_SETCURSEL, page, 0);
    NMHDR n{tab, UINT_PTR(kSoundOptionsTab), UINT(TCN_SELCHANGE)};
    SendMessageA(dialog, WM_NOTIFY, kSoundOptionsTab, LPARAM(&n));
    guitest::Pump(200);
  }
  static void Click(HWND dialog, int id) {
    SendMessageA(Control(dialog, id), BM_CLICK, 0, 0);
    guitest::Pump(30);
  }
  std::thread runner;
};

SettingsRecord Settings() {
  SettingsRecord s = {};
  s.pieceSounds = 3;
  s.nlaVoice = 1;
  s.illegalMoveVoice = 1;
  s.buddy = 1;
  s.challenge = 1;
  s.tutorialVoice = 1;
  return s;
}

}  // namespace

TEST_F(SoundOptionsDialog, OpensOnTheSettingAndEachTabShowsItsPage) {
  SettingsRecord s = Settings();
  HWND dialog = Open(&s);
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(Checked(dialog, kRadioSoundSets));
  EXPECT_FALSE(Checked(dialog, kRadioNoSounds));
  EXPECT_TRUE(IsWindowVisible(Control(dialog, kRadioSoundSets)));
  EXPECT_FALSE(IsWindowVisible(Control(dialog, kCheckNaturalAdvice)));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "sound_options_piece_movement"));
  ChooseTab(dialog, 1);
  EXPECT_TRUE(IsWindowVisible(Control(dialog, kCheckNaturalAdvice)));
  EXPECT_FALSE(IsWindowVisible(Control(dialog, kRadioSoundSets)));
  EXPECT_TRUE(Checked(dialog, kCheckNaturalAdvice));
  EXPECT_FALSE(Checked(dialog, kCheckAutoAnnotation));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "sound_options_voice"));
  ChooseTab(dialog, 2);
  EXPECT_TRUE(IsWindowVisible(Control(dialog, kCheckBuddyLogin)));
  EXPECT_TRUE(Checked(dialog, kCheckChallenge));
  EXPECT_FALSE(Checked(dialog, kCheckWindowClose));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "sound_options_effects"));
  // "No Sounds" and OK.
  ChooseTab(dialog, 0);
  Click(dialog, kRadioNoSounds);
  Close(dialog, IDOK);
  EXPECT_EQ(s.pieceSounds, 0);
  EXPECT_EQ(s.nlaVoice, 1);
  EXPECT_EQ(s.buddy, 1);
  EXPECT_EQ(s.windowClose, 0);
}

TEST_F(SoundOptionsDialog, CancelAfterChangingEveryControlLeavesTheSettings) {
  SettingsRecord s = Settings();
  const SettingsRecord before = s;
  HWND dialog = Open(&s);
  ASSERT_TRUE(dialog);
  Click(dialog, kRadioSimpleSound);
  for (const SoundOptionCheck& c : kSoundOptionChecks) Click(dialog, c.control);
  EXPECT_TRUE(Checked(dialog, kCheckWindowClose));
  EXPECT_FALSE(Checked(dialog, kCheckBuddyLogin));
  Close(dialog, IDCANCEL);
  EXPECT_EQ(0, memcmp(&s, &before, sizeof s));
  ShowSoundOptions(nullptr, nullptr);  // no settings record: nothing happens
}
