// The skinned dialog loader over a plain template with the system's classes:
// the dialog and its controls come up in the toolkit's classes and the
// program's font; a missing template gives -1 after the message.
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "frame_links.h"
#include "guitest.h"
#include "look_and_feel.h"
#include "shell_services.h"
#include "skinned_dialog.h"

namespace {

std::string g_program;
std::string g_shown;
int Record(const char* text, uint32_t) {
  g_shown = text;
  return IDOK;
}

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam) == IDOK ? 7 : 0);
    return TRUE;
  }
  return FALSE;
}

std::string ClassOf(HWND w) {
  char name[64] = "";
  GetClassNameA(w, name, sizeof name);
  return name;
}

class SkinnedDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_program = std::string(base) + "rw_skinned_dialog";
    CreateDirectoryA(g_program.c_str(), nullptr);
    std::string font = RW_PROGDATA_DIR "/rwonyx.ttf";
    for (char& ch : font)
      if (ch == '/') ch = '\\';
    CopyFileA(font.c_str(), (g_program + "\\rwonyx.ttf").c_str(), FALSE);
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_program.c_str(); };
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
    ShellServices s = DefaultShellServices();
    s.appMessageBox = Record;
    SetShellServices(s);
  }
  static void TearDownTestSuite() {
    SetShellServices(DefaultShellServices());
    FreeLookAndFeel(nullptr);
  }
};

TEST_F(SkinnedDialog, PlainTemplateComesUpInTheToolkitsClasses) {
  INT_PTR result = -5;
  std::thread runner(
      [&] { result = SkinnedDialogBox(GetModuleHandleA(nullptr), "SKINTEST", nullptr, Procedure, 0); });
  HWND dialog = nullptr;
  guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, "Skinned Test")) != nullptr; }, 5000);
  ASSERT_NE(dialog, nullptr);
  guitest::Pump(300);
  EXPECT_EQ(ClassOf(dialog), "cguiDialogClass");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, 100)), "CGUIStatic");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, 101)), "CGUIEdit");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, 102)), "CGUIListWnd");
  EXPECT_EQ(lstrcmpiA(ClassOf(GetDlgItem(dialog, IDOK)).c_str(), "CGUIBmpButton"), 0);  // names ignore case
  SendDlgItemMessageA(dialog, 102, LB_ADDSTRING, 0, LPARAM("Status"));
  SendDlgItemMessageA(dialog, 102, LB_ADDSTRING, 0, LPARAM("ECO"));
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  guitest::Pump(200);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "skinned_dialog"));
  RECT r;
  GetWindowRect(GetDlgItem(dialog, IDOK), &r);
  guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  guitest::Pump(200);
  runner.join();
  EXPECT_EQ(result, 7);
}

TEST_F(SkinnedDialog, MissingTemplateIsReported) {
  g_shown.clear();
  EXPECT_EQ(SkinnedDialogBox(GetModuleHandleA(nullptr), "NOSUCHDIALOG", nullptr, Procedure, 0), -1);
  EXPECT_EQ(g_shown, "Error!\r\nCannot load resource!");
  g_shown.clear();
  EXPECT_EQ(CreateSkinnedDialog(GetModuleHandleA(nullptr), "NOSUCHDIALOG", nullptr, Procedure, 0), nullptr);
  EXPECT_EQ(g_shown, "Error!\r\nCannot load resource!");
}

}  // namespace
