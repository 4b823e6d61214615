// The static control on real windows under Wine: its own text copy, the
// parent's background behind it, pictures and the not-painted notice.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "client_pixels.h"
#include "controls.h"
#include "dibkit.h"
#include "facet.h"
#include "guitest.h"
#include "procdata.h"

namespace {

constexpr COLORREF kParentColour = RGB(0, 255, 0);
constexpr UINT CCM_SETDIB = 0x8600;
constexpr UINT CCM_FREEDIB = 0x8630;
constexpr UINT CCM_SETCHARDIB = 0x8631;
constexpr UINT CCM_SETBUILDERFONT = 0x8642;

// A parent that paints itself green and records the commands it gets.
struct Static : ::testing::Test {
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  HWND host = nullptr;

  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));  // picture resources: the test bitmaps
    ccSetControlData(nullptr, ccInit(nullptr));
    host = guitest::CreateTestWindow(RECT{0, 0, 300, 200},
                                     [this](HWND w, UINT m, WPARAM wp, LPARAM lp, bool* handled) -> LRESULT {
                                       if (m == WM_COMMAND) commands.push_back({wp, lp});
                                       if (m == WM_ERASEBKGND) {
                                         *handled = true;
                                         return guitest::EraseWith(w, wp, kParentColour);
                                       }
                                       return 0;
                                     });
  }
  void TearDown() override {
    DestroyWindow(host);
    UnregisterControlClasses();
    ResetProcessDataTable();
  }
  HWND Make(const char* text, DWORD style, int id = 5) {
    return CreateWindowExA(0, "CGUIStatic", text, WS_CHILD | WS_VISIBLE | style, 20, 20, 60, 40, host,
                           HMENU(INT_PTR(id)), nullptr, nullptr);
  }
  int NotPainted(HWND control) {
    int n = 0;
    for (auto& c : commands) n += HIWORD(c.first) == 0x100 && HWND(c.second) == control;
    return n;
  }
};

TEST_F(Static, GetTextCopiesAtMostOneLessThanTheBuffer) {
  HWND s = Make("Minutes", 0);
  ASSERT_NE(s, nullptr);
  struct Case {
    WPARAM size;
    const char* text;
    LRESULT result;
  };
  const Case cases[] = {{5, "Minu", 4}, {1, "", 0}, {8, "Minutes", 7}, {64, "Minutes", 7}};
  for (const Case& c : cases) {
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(SendMessageA(s, WM_GETTEXT, c.size, LPARAM(buffer)), c.result) << c.size;
    EXPECT_STREQ(buffer, c.text) << c.size;
  }
  EXPECT_EQ(SendMessageA(s, WM_GETTEXT, 0, LPARAM(nullptr)), 0);
}

TEST_F(Static, SetTextReplacesTheCopyNotTheSystemText) {
  HWND s = Make("Minutes", 0);
  EXPECT_EQ(SendMessageA(s, WM_SETTEXT, 0, LPARAM("Hours")), 0);
  char text[32] = "";
  GetWindowTextA(s, text, sizeof text);
  EXPECT_STREQ(text, "Hours");
  WCHAR system[32] = L"";
  InternalGetWindowText(s, system, 32);
  EXPECT_STREQ(system, L"Minutes");
  EXPECT_EQ(SendMessageA(s, WM_SETTEXT, 0, 0), 0) << "null text";
  GetWindowTextA(s, text, sizeof text);
  EXPECT_STREQ(text, "Hours");
}

TEST_F(Static, TextModeRefusesPicturesAndKeepsItsText) {
  HWND s = Make("Minutes", 0);
  PackedDib* dib = dibCreateWithColors(8, 8, 8);
  EXPECT_EQ(SendMessageA(s, CCM_SETDIB, 0, LPARAM(dib)), 0);
  char text[32] = "";
  GetWindowTextA(s, text, sizeof text);
  EXPECT_STREQ(text, "Minutes");
  dibDelete(dib);
}

TEST_F(Static, EmptyTextShowsTheParentBackgroundAndTellsTheParent) {
  HWND full = Make("Minutes", 0, 5);
  HWND empty = CreateWindowExA(0, "CGUIStatic", "", WS_CHILD | WS_VISIBLE, 120, 20, 60, 40, host, HMENU(6),
                               nullptr, nullptr);
  UpdateWindow(host);
  guitest::Pump(100);
  EXPECT_EQ(NotPainted(full), 0);
  EXPECT_GE(NotPainted(empty), 1);
  for (auto& c : commands)
    if (HWND(c.second) == empty) {
      EXPECT_EQ(LOWORD(c.first), 6);
    }
  // Everywhere inside the empty label the parent's green shows.
  for (POINT p : {POINT{121, 21}, POINT{150, 40}, POINT{178, 58}})
    EXPECT_EQ(guitest::ScreenPixel(p.x, p.y), kParentColour) << p.x << "," << p.y;
  // Setting an empty text does the same.
  SetWindowTextA(full, "");
  UpdateWindow(full);
  guitest::Pump(50);
  EXPECT_GE(NotPainted(full), 1);
  for (POINT p : {POINT{21, 21}, POINT{50, 40}, POINT{78, 58}})
    EXPECT_EQ(guitest::ScreenPixel(p.x, p.y), kParentColour) << p.x << "," << p.y;
}

TEST_F(Static, PictureModeDrawsItsResourceAndHandsBackReplacedPictures) {
  // Control id 19: the test program's 16 x 12 bitmap resource 19.
  HWND s = Make("", 0x400, 19);
  UpdateWindow(host);
  guitest::Pump(100);
  EXPECT_EQ(NotPainted(s), 0);
  EXPECT_NE(guitest::ScreenPixel(22, 22), kParentColour) << "inside the picture";
  EXPECT_EQ(guitest::ScreenPixel(60, 50), kParentColour) << "beyond the picture";

  PackedDib* mine = dibCreateWithColors(40, 30, 8);
  PackedDib* previous = reinterpret_cast<PackedDib*>(SendMessageA(s, CCM_SETDIB, 0, LPARAM(mine)));
  ASSERT_NE(previous, nullptr);
  EXPECT_EQ(previous->biWidth, 16);  // the resource picture, as a copy the caller frees
  EXPECT_EQ(previous->biHeight, 12);
  dibDelete(previous);
  EXPECT_EQ(SendMessageA(s, CCM_SETDIB, 0, 0), 0) << "a null picture changes nothing";
  EXPECT_EQ(SendMessageA(s, CCM_SETDIB, 0, LPARAM(mine)), 0) << "the picture shown given again: none back";
  PackedDib* other = dibCreateWithColors(8, 8, 8);
  EXPECT_EQ(reinterpret_cast<PackedDib*>(SendMessageA(s, CCM_SETDIB, 0, LPARAM(other))), mine);
  EXPECT_EQ(reinterpret_cast<PackedDib*>(SendMessageA(s, CCM_SETDIB, 0, LPARAM(mine))), other);
  dibDelete(other);
  DestroyWindow(s);  // leaves the caller's picture alone
  EXPECT_EQ(mine->biWidth, 40);
  dibDelete(mine);
}

TEST_F(Static, FreeingTheResourcePictureOnlyForgetsIt) {
  HWND s = Make("", 0x400, 19);
  EXPECT_EQ(SendMessageA(s, CCM_FREEDIB, 0, 0), 1);
  EXPECT_EQ(SendMessageA(s, CCM_SETDIB, 0, LPARAM(dibCreateWithColors(4, 4, 8))), 0) << "no picture left";
  EXPECT_EQ(SendMessageA(s, CCM_FREEDIB, 0, 0), 1) << "a heap picture is freed";
  // The resource is intact: a second control shows it.
  HWND again = Make("", 0x400, 19);
  PackedDib* replaced = reinterpret_cast<PackedDib*>(SendMessageA(again, CCM_SETDIB, 0, 0));
  EXPECT_EQ(replaced, nullptr);
  UpdateWindow(host);
  guitest::Pump(50);
  EXPECT_EQ(NotPainted(again), 0);
}

TEST_F(Static, PictureModeWithoutAResourceKeepsTextAndPaintsNoPicture) {
  HWND s = Make("Caption", 0x400, 999);
  char text[32] = "";
  GetWindowTextA(s, text, sizeof text);
  EXPECT_STREQ(text, "Caption");
  UpdateWindow(host);
  guitest::Pump(50);
  EXPECT_EQ(NotPainted(s), 0) << "the text is painted instead";
  EXPECT_EQ(SendMessageA(s, CCM_FREEDIB, 0, 0), 1);
}

// Rendered text: the builder's glyphs in the colour of its character image
// (index 70 at first), as a picture over the parent's background.
TEST_F(Static, RenderedTextModeDrawsTheTextThroughTheBuilder) {
  std::vector<char> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) lp->palPalEntry[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
  lp->palPalEntry[70] = {200, 0, 0, 0};
  lp->palPalEntry[90] = {0, 0, 200, 0};
  HPALETTE palette = CreatePalette(lp);
  ccSetControlPalette(nullptr, palette);
  const COLORREF red = RGB(200, 0, 0), blue = RGB(0, 0, 200);

  HWND rendered = CreateWindowExA(0, "CGUIStatic", "Rook takes", WS_CHILD | WS_VISIBLE | 0x800, 20, 20, 140,
                                  60, host, HMENU(8), nullptr, nullptr);
  HWND plain = CreateWindowExA(0, "CGUIStatic", "Rook takes", WS_CHILD | WS_VISIBLE, 20, 100, 140, 60, host,
                               HMENU(9), nullptr, nullptr);
  ASSERT_NE(rendered, nullptr);
  auto show = [&] {
    UpdateWindow(host);
    guitest::Pump(80);
  };
  show();
  EXPECT_EQ(NotPainted(rendered), 0);
  ClientPixels p = GrabClient(rendered);
  EXPECT_GT(p.Count(red), 20) << "glyph pixels in the character image's colour";
  EXPECT_EQ(p.Count(red) + p.Count(RGB(0, 0, 0)) + p.Count(kParentColour), p.width * p.height)
      << "glyphs, the picture's empty pixels (entry 0) and the parent's background only";
  EXPECT_EQ(p.FirstRow(red) >= 0 && p.LastRow(red) < 20, true) << "one line of a 10-pixel font";
  EXPECT_EQ(GrabClient(plain).Count(red), 0) << "plain text is not rendered";
  EXPECT_EQ(SendMessageA(plain, CCM_SETCHARDIB, 90, 0), 0) << "no builder in text mode";
  EXPECT_EQ(SendMessageA(plain, CCM_SETBUILDERFONT, MAKEWPARAM(20, 700), LPARAM("Courier New")), 0);

  // A new character image in colour 90 and a new text.
  EXPECT_EQ(SendMessageA(rendered, CCM_SETCHARDIB, 90, 0), 1);
  SetWindowTextA(rendered, "Queen");
  show();
  p = GrabClient(rendered);
  EXPECT_GT(p.Count(blue), 20);
  EXPECT_EQ(p.Count(red), 0) << "the old picture is gone";
  const int smallHeight = p.LastRow(blue) - p.FirstRow(blue);

  // A larger bold font renders larger glyphs.
  EXPECT_EQ(SendMessageA(rendered, CCM_SETBUILDERFONT, MAKEWPARAM(24, 700), LPARAM("Courier New")), 1);
  EXPECT_EQ(SendMessageA(rendered, CCM_SETCHARDIB, 90, 0), 1);
  SetWindowTextA(rendered, "Queen");
  show();
  p = GrabClient(rendered);
  EXPECT_GT(p.LastRow(blue) - p.FirstRow(blue), smallHeight + 4);

  // A character image of the caller's, which the control then owns.
  PackedDib* mine = dibCreateWithColors(64, 64, 8);
  dibFillWithColor(mine, 70);
  EXPECT_EQ(SendMessageA(rendered, CCM_SETCHARDIB, WPARAM(-1), LPARAM(mine)), 1);
  SetWindowTextA(rendered, "Knight and bishop against the lone king");  // wraps at the control's width
  show();
  p = GrabClient(rendered);
  EXPECT_GT(p.Count(red), 20);
  EXPECT_GT(p.LastRow(red) - p.FirstRow(red), 30) << "more than one line";

  // Nothing to render: only the parent's background, and the parent is told.
  SetWindowTextA(rendered, "");
  show();
  EXPECT_GE(NotPainted(rendered), 1);
  EXPECT_EQ(GrabClient(rendered).Count(kParentColour), 140 * 60);
  DestroyWindow(rendered);  // frees the builder with its character image
  ccSetControlPalette(nullptr, nullptr);
  DeleteObject(palette);
}

}  // namespace
