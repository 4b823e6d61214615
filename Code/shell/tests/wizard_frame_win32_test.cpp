// The wizard frame under Wine with real clicks: pages created in the
// frame, the caption following a page that has one, Next, Back and Finish
// asking the validate callback first, the extra button and the page's own
// commands, and the frame's close box.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "frame_links.h"
#include "guitest.h"
#include "look_and_feel.h"
#include "wizard_frame.h"

namespace {

std::string g_folder;
int g_allow = 1;
std::vector<std::string> g_calls;
std::vector<int> g_initPages;
int g_ownCommands = 0;

int Validate(HWND, int page, void*) {
  g_calls.push_back("validate " + std::to_string(page));
  return g_allow;
}
int Finish(HWND, int page, void*) {
  g_calls.push_back("finish " + std::to_string(page));
  return 1;
}
int Extra(HWND, int page, void*) {
  g_calls.push_back("extra " + std::to_string(page));
  return 1;
}

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    EXPECT_EQ(reinterpret_cast<void*>(wParam), &g_allow) << "the user data comes as wParam";
    g_initPages.push_back(int(lParam));
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == 600) ++g_ownCommands;
  return FALSE;
}

class WizardFrame : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_wizard_frame";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    std::string font = RW_PROGDATA_DIR "/rwonyx.ttf";
    for (char& c : font)
      if (c == '/') c = '\\';
    CopyFileA(font.c_str(), (g_folder + "\\rwonyx.ttf").c_str(), FALSE);
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_folder.c_str(); };
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
  }
  static void TearDownTestSuite() { FreeLookAndFeel(nullptr); }

  void SetUp() override {
    g_allow = 1;
    g_calls.clear();
    g_initPages.clear();
    g_ownCommands = 0;
    instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterWizardClass(instance));
    caption = guitest::CreateTestWindow(RECT{100, 100, 520, 400}, nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetWindowTextA(caption, "Wizard");
    frame = CreateWindowExA(0, kWizardClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 240,
                            caption, nullptr, instance, nullptr);
    ASSERT_NE(frame, nullptr);
    d.module = instance;
    d.frame = frame;
    d.pages = pages;
    d.procedures = procedures;
    d.nextId = 575, d.backId = 576, d.finishId = 577, d.extraId = 578;
    d.captionWindow = caption;
    d.captionId = 579;
    d.pageCount = 2;
    d.userData = &g_allow;
    d.validate = Validate;
    d.finish = Finish;
    d.extra = Extra;
    SetWizardDescriptor(&d);
  }
  void TearDown() override {
    SetWizardDescriptor(nullptr);
    if (IsWindow(caption)) DestroyWindow(caption);
    UnregisterWizardClass(instance);
  }
  void Click(int id) {
    HWND button = GetDlgItem(d.page, id);
    ASSERT_NE(button, nullptr) << id;
    RECT r;
    GetWindowRect(button, &r);
    guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    guitest::Pump(200);
  }
  std::string Title() {
    char text[64] = "";
    GetWindowTextA(caption, text, sizeof text);
    return text;
  }

  HINSTANCE instance = nullptr;
  HWND caption = nullptr, frame = nullptr;
  const uint32_t pages[2] = {9801, 9802};
  const DLGPROC procedures[2] = {PageProc, PageProc};
  WizardDescriptor d{};
};

TEST_F(WizardFrame, PagesTurnOnlyWhenTheCallerAgrees) {
  HWND first = ResetWizard();
  ASSERT_NE(first, nullptr);
  guitest::Pump(300);
  EXPECT_EQ(GetParent(first), frame);
  RECT r;
  GetWindowRect(first, &r);
  POINT origin{r.left, r.top};
  ScreenToClient(frame, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  EXPECT_EQ(Title(), "First Page");
  EXPECT_EQ(d.currentPage, 0);
  EXPECT_TRUE(guitest::Screenshot("wizard_frame_first_page"));

  // Refused: Next, Back and Finish all stay on the page.
  g_allow = 0;
  Click(575);
  Click(576);
  Click(577);
  EXPECT_EQ(d.page, first);
  EXPECT_TRUE(IsWindow(first));
  EXPECT_EQ(g_calls, (std::vector<std::string>{"validate 0", "validate 0", "validate 0"}));

  // Agreed: the next page replaces this one; its empty caption leaves the
  // title as it was.
  g_allow = 1;
  g_calls.clear();
  Click(575);
  EXPECT_EQ(d.currentPage, 1);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(Title(), "First Page");
  EXPECT_EQ(g_initPages, (std::vector<int>{0, 1}));

  // The engine does not stop Next on the last page: the caller must.
  g_allow = 0;
  Click(575);
  EXPECT_EQ(d.currentPage, 1);
  g_allow = 1;
  Click(576);
  EXPECT_EQ(d.currentPage, 0);
  EXPECT_EQ(Title(), "First Page");
  Click(577);
  Click(578);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"validate 0", "validate 1", "validate 1", "validate 0",
                                               "finish 0", "extra 0"}));
}

TEST_F(WizardFrame, OwnCommandsReachThePageAndTheCloseBoxEndsTheFrame) {
  ASSERT_NE(ResetWizard(), nullptr);
  guitest::Pump(200);
  Click(600);
  EXPECT_EQ(g_ownCommands, 1);
  EXPECT_TRUE(g_calls.empty());
  EXPECT_EQ(SendMessageA(frame, WM_GETDLGCODE, 0, 0), 2);
  SendMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(frame));
}

}  // namespace
