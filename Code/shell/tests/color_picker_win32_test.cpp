// The colour picker on screen: a slider moved by keys moves its field and
// the colour, a typed 300 gives 255, Cancel keeps the caller's colour and OK
// hands the choice back.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "color_picker.h"
#include "frame_links.h"
#include "guitest.h"
#include "look_and_feel.h"

namespace {

std::string g_program;

class ColorPicker : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_program = std::string(base) + "rw_color_picker";
    CreateDirectoryA(g_program.c_str(), nullptr);
    std::string font = RW_PROGDATA_DIR "/rwonyx.ttf";
    for (char& ch : font)
      if (ch == '/') ch = '\\';
    CopyFileA(font.c_str(), (g_program + "\\rwonyx.ttf").c_str(), FALSE);
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_program.c_str(); };
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
  }
  static void TearDownTestSuite() { FreeLookAndFeel(nullptr); }

  HWND Open(COLORREF* colour, int* result) {
    runner_ = std::thread([colour, result] { *result = RunColorSelect(nullptr, colour); });
    HWND dialog = nullptr;
    guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, "Select Color")) != nullptr; }, 5000);
    guitest::Pump(300);
    return dialog;
  }
  static void ClickControl(HWND dialog, int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    guitest::Pump(150);
  }
  static int Field(HWND dialog, int id) { return int(GetDlgItemInt(dialog, id, nullptr, FALSE)); }
  static int Bar(HWND dialog, int id) { return int(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0)); }
  std::thread runner_;
};

TEST_F(ColorPicker, SlidersFieldsCancelAndOk) {
  COLORREF colour = RGB(0x33, 0x66, 0x99);
  int result = -1;
  HWND dialog = Open(&colour, &result);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Field(dialog, 5278), 0x33);
  EXPECT_EQ(Bar(dialog, 1930), 0x99);
  // The red slider by keys: its field follows.
  SetFocus(GetDlgItem(dialog, 1928));
  guitest::Pump(50);
  SetForegroundWindow(dialog);
  SendDlgItemMessageA(dialog, 1928, WM_KEYDOWN, VK_RIGHT, 0);
  SendDlgItemMessageA(dialog, 1928, WM_KEYUP, VK_RIGHT, 0);
  guitest::Pump(150);
  EXPECT_EQ(Bar(dialog, 1928), 0x34);
  EXPECT_EQ(Field(dialog, 5278), 0x34);
  // 300 typed into the green field: the slider stands at 255.
  SetDlgItemTextA(dialog, 5279, "");
  ClickControl(dialog, 5279);
  for (WORD key : {WORD('3'), WORD('0'), WORD('0')}) guitest::PressKey(key);
  guitest::Pump(200);
  EXPECT_EQ(Bar(dialog, 1929), 255);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  guitest::Pump(200);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "color_picker"));
  ClickControl(dialog, IDCANCEL);
  runner_.join();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(colour, RGB(0x33, 0x66, 0x99));

  dialog = Open(&colour, &result);
  ASSERT_NE(dialog, nullptr);
  SetDlgItemTextA(dialog, 5280, "-5");
  guitest::Pump(100);
  EXPECT_EQ(Bar(dialog, 1930), 0);
  ClickControl(dialog, IDOK);
  runner_.join();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(colour, RGB(0x33, 0x66, 0));
}

}  // namespace
