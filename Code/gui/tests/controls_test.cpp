// Control library core: defaults, bitmap loading, class registration,
// caption placement and the wheel setting.
#include "controls.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <iterator>

#include "facet.h"
#include "guitest.h"
#include "procdata.h"
#include "test_bitmaps.h"
#include "winutil.h"

namespace {

struct Controls : ::testing::Test {
  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
  }
  void TearDown() override {
    UnregisterControlClasses();
    ResetProcessDataTable();
  }
};

int WidthOfBitmap(CcBitmap dib) { return dib ? reinterpret_cast<BITMAPINFOHEADER*>(dib)->biWidth : 0; }

}  // namespace

TEST_F(Controls, InitFillsTheDefaultsAndStoresThem) {
  HINSTANCE module = reinterpret_cast<HINSTANCE>(0x1234);
  CcDefaults* d = ccInit(module);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d, ccGetDefaultData()) << "the caller changes the stored copy in place";
  EXPECT_EQ(d->module, module);
  EXPECT_EQ(d->resourceModule, GetModuleHandleA(nullptr)) << "the control module";
  EXPECT_EQ(d->mapColours, 1);
  EXPECT_STREQ(d->programFolder, "");
  EXPECT_EQ(d->ncFrameWidth, 1);
  EXPECT_EQ(d->ncPainter, nullptr);
  EXPECT_EQ(d->sizes[0], 10);
  EXPECT_EQ(d->comboSize, 18);
  EXPECT_STREQ(d->buttonFace, "Courier New");
  EXPECT_EQ(d->buttonTextValues[0], 12);
  EXPECT_EQ(d->buttonTextValues[3], 1);
  EXPECT_EQ(d->textColourMode, 1);
  EXPECT_EQ(d->libraryBitmapIds[0], 110);
  EXPECT_EQ(d->libraryBitmapIds[11], 122);
  EXPECT_EQ(d->buttonTextColours[0], 251u);
  EXPECT_EQ(d->buttonTextColours[2], 4u);
  EXPECT_EQ(d->editValue, 65535);
  EXPECT_EQ(d->scrollBar.notLoaded, 1);
  EXPECT_EQ(d->scrollBar.verticalArrows[0], CcBitmapId(19));
  EXPECT_EQ(d->scrollBar.trackBitmaps[5], CcBitmapId(39));
  EXPECT_EQ(d->scrollBar.verticalTrack, RGB(128, 128, 128));
  EXPECT_EQ(d->treeSettings[0], 3);
  EXPECT_EQ(d->treeColours[0], RGB(0, 255, 0));
  EXPECT_EQ(d->groupCaptionColour, 0);
}

TEST_F(Controls, SetControlDataLoadsEveryNamedBitmap) {
  CcDefaults* d = ccInit(nullptr);
  ASSERT_NE(d, nullptr);
  d->resourceModule = GetModuleHandleA(nullptr);  // the test program holds the test bitmaps
  d->mapColours = 0;
  for (int i = 0; i < FP_COUNT; ++i) d->editFrame.pieces[i] = CcBitmapId(kEditFrameFirstId + i);
  d->treeBitmaps[0] = CcBitmapId(kMissingBitmapId);
  EXPECT_EQ(ccSetControlData(nullptr, d), 1);
  EXPECT_EQ(WidthOfBitmap(d->scrollBar.verticalArrows[0]), kScrollArrowWidth);
  EXPECT_EQ(d->scrollBar.verticalWidth, kScrollArrowWidth);
  EXPECT_EQ(d->scrollBar.notLoaded, 0);
  EXPECT_EQ(WidthOfBitmap(d->editFrame.pieces[FP_LEFT]), kEditLeftWidth);
  EXPECT_EQ(d->editFrameWidth, kEditLeftWidth);
  EXPECT_EQ(d->treeBitmaps[0], nullptr) << "a missing resource gives no bitmap";
  EXPECT_EQ(d->listFrameWidth, 1) << "no list frame: width 1";
  // The bitmaps are writable in place, for their colour tables.
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(d->editFrame.pieces[FP_TOP]);
  auto* colours = reinterpret_cast<RGBQUAD*>(header + 1);
  colours[5].rgbRed = 77;
  EXPECT_EQ(colours[5].rgbRed, 77);
  // A second call with the loaded record leaves the bitmaps as they are.
  CcBitmap before = d->editFrame.pieces[FP_TOP];
  EXPECT_EQ(ccSetControlData(nullptr, d), 1);
  EXPECT_EQ(d->editFrame.pieces[FP_TOP], before);
}

TEST_F(Controls, LoadedColourTablesBecomePaletteIndicesWhenAsked) {
  CcDefaults* d = ccInit(nullptr);
  d->resourceModule = GetModuleHandleA(nullptr);
  ASSERT_EQ(d->mapColours, 1);
  d->treeBitmaps[1] = CcBitmapId(kEditFrameFirstId + 1);
  EXPECT_EQ(ccSetControlData(nullptr, d), 1);
  ASSERT_NE(d->treeBitmaps[1], nullptr);
  auto* indices = reinterpret_cast<WORD*>(reinterpret_cast<BITMAPINFOHEADER*>(d->treeBitmaps[1]) + 1);
  for (int i : {0, 1, 77, 255}) EXPECT_EQ(indices[i], i);
}

TEST_F(Controls, ACallersOwnRecordIsStoredLoaded) {
  CcDefaults* stored = ccInit(nullptr);
  CcDefaults mine = *stored;
  mine.resourceModule = GetModuleHandleA(nullptr);
  mine.mapColours = 0;
  EXPECT_EQ(ccSetControlData(nullptr, &mine), 1);
  EXPECT_EQ(ccGetDefaultData()->scrollBar.notLoaded, 0);
  EXPECT_EQ(WidthOfBitmap(ccGetDefaultData()->scrollBar.verticalArrows[0]), kScrollArrowWidth)
      << "the stored copy must not keep resource ids where bitmaps belong";
}

TEST_F(Controls, WithoutAResourceModuleNothingIsLoaded) {
  CcDefaults* d = ccInit(nullptr);
  d->resourceModule = nullptr;
  d->darkEdge = 191;
  EXPECT_EQ(ccSetControlData(nullptr, d), 1);
  EXPECT_EQ(ccGetDefaultData()->darkEdge, 191);
  EXPECT_EQ(ccGetDefaultData()->scrollBar.verticalArrows[0], CcBitmapId(19));
  EXPECT_EQ(ccGetDefaultData()->scrollBar.notLoaded, 1);
}

TEST_F(Controls, PaletteAndMissingRecords) {
  EXPECT_EQ(ccGetDefaultData(), nullptr);
  EXPECT_EQ(ccSetControlPalette(nullptr, reinterpret_cast<HPALETTE>(1)), nullptr);
  CcDefaults* d = ccInit(nullptr);
  HPALETTE p = reinterpret_cast<HPALETTE>(0x55);
  EXPECT_EQ(ccSetControlPalette(nullptr, p), nullptr);
  EXPECT_EQ(ccSetControlPalette(nullptr, nullptr), p);
  EXPECT_EQ(d->palette, nullptr);
  UnregisterControlClasses();
  EXPECT_EQ(ccGetDefaultData(), nullptr) << "the last detach frees the control defaults";
  RegisterControlClasses(GetModuleHandleA(nullptr));
}

TEST_F(Controls, ClassesAreGlobalClassesOfTheLibraryModule) {
  for (const char* name : kControlClassNames) {
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), name, &wc)) << name;
    EXPECT_TRUE(wc.style & CS_GLOBALCLASS) << name;
    EXPECT_GE(wc.cbWndExtra, 4) << name << " keeps its record in word 0";
    EXPECT_NE(wc.lpfnWndProc, WNDPROC(DefWindowProcA)) << name << " has a window procedure of its own";
  }
  UnregisterControlClasses();
  WNDCLASSA wc{};
  EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "CGUIEdit", &wc));
  EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "AnimButton", &wc));
  EXPECT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "CGUIListWnd", &wc)) << "stays until unload";
  RegisterControlClasses(GetModuleHandleA(nullptr));
}

// The extra bytes of every control class in this build. The 32-bit counts
// are the documented ones; in the 64-bit build each slot that holds a
// pointer or handle is 8 bytes, value slots stay 4.
TEST_F(Controls, WindowExtraBytesFitThisBuildsPointers) {
  std::printf("[ pointers ] %d-bit build: pointer slots are %d bytes\n", int(8 * sizeof(void*)),
              kPointerSlotBytes);
  LoadLibraryA("comctl32.dll");  // the system track bar's class
  auto systemExtra = [](const char* name) {
    WNDCLASSA wc{};
    return GetClassInfoA(nullptr, name, &wc) ? wc.cbWndExtra : -1;
  };
  struct Case {
    const char* name;
    const char* systemClass;  // the class it is built on, or null
    int pointerSlots;
    int valueBytes;
    int bytes32;  // the documented count (after the system class's bytes)
  };
  const Case cases[] = {
      {"CGUIBMPButton", "Button", 1, 4, 8},   {"CGUIHotButton", "Button", 1, 4, 8},
      {"AnimButton", nullptr, 1, 0, 4},       {"CGUIStatic", "Static", 2, 10, 18},
      {"CGUIScrollBar", nullptr, 1, 4, 8},    {"CGUISpinEdit", nullptr, 1, 0, 4},
      {"CGUIComboBox", nullptr, 3, 12, 24},   {"CGUIEdit", "Edit", 1, 8, 12},
      {"CC20SpinList", nullptr, 9, 0, 36},    {"CGUITrackbar", TRACKBAR_CLASSA, 1, 0, 4},
      {"CGUIListWnd", nullptr, 2, 0, 8},      {"CGUITreeViewWnd", nullptr, 1, 0, 4},
      {"CGUIColorText", nullptr, 2, 0, 8},    {"CGUITabWnd", nullptr, 1, 0, 4},
      {"CGUIListViewWnd", nullptr, 1, 0, 4},  {"CGUISplitter", nullptr, 3, 0, 12},
  };
  ASSERT_EQ(std::size(cases), std::size(kControlClassNames));
  for (const Case& c : cases) {
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), c.name, &wc)) << c.name;
    const int base = c.systemClass ? systemExtra(c.systemClass) : 0;
    ASSERT_GE(base, 0) << c.systemClass;
    EXPECT_EQ(4 * c.pointerSlots + c.valueBytes, c.bytes32) << c.name;
    EXPECT_EQ(wc.cbWndExtra, base + c.pointerSlots * kPointerSlotBytes + c.valueBytes) << c.name;
    if (sizeof(void*) == 4) {
      EXPECT_EQ(wc.cbWndExtra, base + c.bytes32) << c.name;
    }
  }
}

TEST_F(Controls, CaptionBlocksPlaceControls) {
  HWND parent = guitest::CreateTestWindow({100, 100, 500, 400});
  struct Case {
    const char* caption;
    int result;
    RECT after;  // in the parent's client area
  };
  const Case cases[] = {
      {"{p:10,20}", 1, {10, 20, 60, 50}},
      {"{s:94,80}", 1, {5, 5, 99, 85}},
      {"Game {p:33,27 s:140,110 d:anim n:g%02d.bmp #:30 r:15}", 1, {33, 27, 173, 137}},
      {"{p:12,14 d:anim s:1,1}", 1, {12, 14, 62, 44}},
      {"{ p:10,20}", 1, {5, 5, 55, 35}},
      {"Plain", 0, {5, 5, 55, 35}},
  };
  for (const Case& c : cases) {
    HWND control = CreateWindowExA(0, "CGUIStatic", c.caption, WS_CHILD | WS_VISIBLE, 5, 5, 50, 30, parent,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(ApplyCaptionPlacement(control), c.result) << c.caption;
    RECT r{};
    GetWindowRectInParent(control, &r);
    EXPECT_EQ(r.left, c.after.left) << c.caption;
    EXPECT_EQ(r.top, c.after.top) << c.caption;
    EXPECT_EQ(r.right, c.after.right) << c.caption;
    EXPECT_EQ(r.bottom, c.after.bottom) << c.caption;
    DestroyWindow(control);
  }
  DestroyWindow(parent);
}

TEST(WheelScroll, ThreeLinesByDefault) {
  EXPECT_EQ(GetWheelScrollLines(), 3);
  EXPECT_EQ(WheelScrollLinesFor(false), 3);
}

namespace {

// The wheel driver's helper window of older systems: 7 lines per notch.
LRESULT CALLBACK WheelHelperProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == RegisterWindowMessageA("MSH_SCROLL_LINES_MSG")) return 7;
  return DefWindowProcA(w, m, wp, lp);
}

}  // namespace

TEST(WheelScroll, OlderSystemsAskTheWheelDriversWindow) {
  EXPECT_EQ(WheelScrollLinesFor(true), 3) << "no helper window";
  WNDCLASSA wc{};
  wc.lpfnWndProc = WheelHelperProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "MouseZ";
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND helper = CreateWindowA("MouseZ", "Magellan MSWHEEL", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              wc.hInstance, nullptr);
  ASSERT_NE(helper, nullptr);
  EXPECT_EQ(WheelScrollLinesFor(true), 7);
  EXPECT_EQ(WheelScrollLinesFor(false), 3) << "later systems use their own setting";
  DestroyWindow(helper);
  UnregisterClassA("MouseZ", wc.hInstance);
}
