// Facet.dll as a program meets it: loaded at run time, its classes
// registered at attach, bars and frames painted through its exports in the
// right palette colours, and its classes taken back at the last detach.
#include <gtest/gtest.h>

#include <vector>

#include "dibkit.h"
#include "facet.h"
#include "facet_classes.h"
#include "guitest.h"

namespace {

HMODULE g_facet = nullptr;

template <typename F>
F Export(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(g_facet, name)));
}

// Palette entry i of the test palette: distinct colours from 10 on.
COLORREF Colour(int index) { return RGB(index * 7 % 256, 255 - index * 5 % 256, index * 11 % 256); }

HPALETTE TestPalette() {
  return guitest::MakePalette([](int i) {
    COLORREF c = Colour(i);
    return PALETTEENTRY{GetRValue(c), GetGValue(c), GetBValue(c), BYTE(i >= 10 && i < 246 ? PC_NOCOLLAPSE : 0)};
  });
}

PackedDib* Piece(int w, int h, int index) {
  PackedDib* dib = dibCreateWithColors(w, h, 8);
  if (dib) dibFillWithColor(dib, index);
  return dib;
}

struct FacetDll : ::testing::Test {
  static void SetUpTestSuite() { g_facet = LoadLibraryA("Facet.dll"); }
  static void TearDownTestSuite() {
    if (g_facet) FreeLibrary(g_facet);
    g_facet = nullptr;
  }
  void SetUp() override { ASSERT_NE(g_facet, nullptr) << "Facet.dll did not load"; }
};

}  // namespace

TEST_F(FacetDll, RegistersItsClassesAtLoad) {
  for (const char* name : kFacetControlClasses) {
    WNDCLASSA wc{};
    EXPECT_TRUE(GetClassInfoA(g_facet, name, &wc)) << name;
  }
  WNDCLASSA wc{};
  EXPECT_TRUE(GetClassInfoA(g_facet, "cguiDialogClass", &wc));
  EXPECT_TRUE(GetClassInfoA(g_facet, "CGUIMenuPopup", &wc));
  // Global classes: a window of the program's own module can be made of them.
  HWND w = CreateWindowExA(0, "CGUIStatic", "{p:1,2}", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  EXPECT_NE(w, nullptr);
  DestroyWindow(w);
}

TEST_F(FacetDll, ExportsTheProgramsInterface) {
  for (const char* name :
       {"cguiFontInit", "cguiRegisterFont", "cguiRemoveFont", "cguiFindFont", "cguiGetFont",
        "cguiFontDestroy", "ccInit", "ccSetControlData", "ccGetDefaultData", "ccSetControlPalette",
        "ccDrawThreePiece", "ccDrawFrameBorder", "ccFillRectPalette", "ccCaptureMouse", "ccListCreate",
        "ccRangeSetSelect", "ccSort", "ccWheelScrollLines"})
    EXPECT_NE(GetProcAddress(g_facet, name), nullptr) << name;
  auto init = Export<CcDefaults* (*)(HINSTANCE)>("ccInit");
  CcDefaults* d = init(GetModuleHandleA(nullptr));
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->resourceModule, g_facet) << "controls load their own bitmaps from the library by default";
  EXPECT_EQ(Export<int (*)()>("ccWheelScrollLines")(), 3);
}

TEST_F(FacetDll, PaintsABarAndAFrameInPaletteColours) {
  auto drawBar =
      Export<int (*)(HDC, const RECT*, PackedDib*, PackedDib*, PackedDib*, int)>("ccDrawThreePiece");
  auto drawFrame = Export<void (*)(HWND, const RECT*, const FrameSet*, HPALETTE)>("ccDrawFrameBorder");
  auto selectPalette = Export<HPALETTE (*)(HDC, void*, HPALETTE)>("ccSelectPalette");
  ASSERT_TRUE(drawBar && drawFrame && selectPalette);
  HPALETTE palette = TestPalette();
  HWND w = guitest::CreateTestWindow({100, 100, 160, 150});  // 60 x 50, no frame of its own
  ASSERT_NE(w, nullptr);

  // The frame: every piece its own colour; the bottom edge is taller than the top.
  const int sizes[8][2] = {{3, 3}, {5, 3}, {3, 3}, {3, 5}, {3, 3}, {5, 4}, {3, 3}, {2, 5}};
  FrameSet frame{};
  for (int i = 0; i < FP_COUNT; ++i) frame.pieces[i] = Piece(sizes[i][0], sizes[i][1], 21 + i);
  RECT windowRect{0, 0, 60, 50};
  drawFrame(w, &windowRect, &frame, palette);

  // A horizontal bar: first 4 wide, middle 6 wide tiled, last 5 wide.
  PackedDib* first = Piece(4, 10, 11);
  PackedDib* middle = Piece(6, 10, 12);
  PackedDib* last = Piece(5, 10, 13);
  HDC dc = GetWindowDC(w);
  HPALETTE old = selectPalette(dc, nullptr, palette);
  RECT bar{10, 10, 40, 20};
  EXPECT_EQ(drawBar(dc, &bar, first, middle, last, 0), 1);
  GdiFlush();
  struct Probe {
    int x, y, index;
  };
  const Probe probes[] = {
      {11, 15, 11}, {20, 15, 12}, {33, 15, 12}, {37, 15, 13},                // the bar
      {1, 1, 21},   {30, 1, 22},  {58, 1, 23},  {58, 25, 24}, {58, 48, 25},  // frame, clockwise
      {30, 46, 26}, {30, 49, 26}, {1, 47, 27},  {1, 25, 28},
  };
  for (const Probe& p : probes)
    EXPECT_EQ(GetPixel(dc, p.x, p.y), Colour(p.index))
        << p.x << "," << p.y << " should show index " << p.index;
  EXPECT_NE(GetPixel(dc, 2, 25), Colour(28)) << "the left edge is only as wide as its piece";
  SelectPalette(dc, old, FALSE);
  ReleaseDC(w, dc);
  guitest::Screenshot("facet_dll_bar_and_frame");

  for (PackedDib* p : frame.pieces) dibDelete(p);
  dibDelete(first);
  dibDelete(middle);
  dibDelete(last);
  DestroyWindow(w);
  DeleteObject(palette);
}

// Runs last (GoogleTest keeps the order of the file): the library goes away.
TEST_F(FacetDll, UnloadsCleanly) {
  HMODULE module = g_facet;
  EXPECT_TRUE(FreeLibrary(g_facet));
  g_facet = nullptr;
  EXPECT_EQ(GetModuleHandleA("Facet.dll"), nullptr);
  WNDCLASSA wc{};
  for (const char* name : {"CGUIEdit", "CGUIColorText", "CGUISplitter", "AnimButton", "CGUIMenuPopup"})
    EXPECT_FALSE(GetClassInfoA(module, name, &wc)) << name << " is unregistered at the last detach";
  g_facet = LoadLibraryA("Facet.dll");
  ASSERT_NE(g_facet, nullptr) << "and it loads again";
  EXPECT_TRUE(GetClassInfoA(g_facet, "CGUIEdit", &wc));
}
