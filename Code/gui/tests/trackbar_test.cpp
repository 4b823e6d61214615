// The track bar on real windows under Wine: the system control's range,
// position, page and line logic, keyboard and mouse dragging with their
// notifications, and the library's painting over it.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "controls.h"
#include "dibkit.h"
#include "facet.h"
#include "guitest.h"
#include "winutil.h"
#include "procdata.h"

namespace {

// Palette entries of the test: each role its own pure colour.
enum : uint8_t { kBack = 40, kThumb, kChannel, kLight, kDark, kParentBack };
const COLORREF kRgb[] = {RGB(200, 0, 0),   RGB(0, 0, 200), RGB(0, 200, 0),
                         RGB(250, 250, 0), RGB(90, 0, 90), RGB(0, 200, 200)};
COLORREF Colour(uint8_t index) { return kRgb[index - kBack]; }

struct Scroll {
  int code;
  int position;  // high word of wParam
};

struct BackgroundRequest {
  RECT rect;
  PackedDib* bitmap;
};

// A parent 400 x 200 at the screen's origin that records the scroll
// notifications and focus moves it gets and paints its background, when a
// control asks for it, in its own colour.
struct Trackbar : ::testing::Test {
  std::vector<Scroll> scrolls;
  std::vector<WPARAM> nextControl;
  std::vector<RECT> backgroundAsked;
  int colourAsked = 0;
  HPALETTE palette = nullptr;
  HWND host = nullptr;

  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
    CcDefaults* d = ccInit(nullptr);
    ccSetControlData(nullptr, d);
    d = ccGetDefaultData();
    std::vector<char> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 256;
    for (int i = 0; i < 256; ++i) lp->palPalEntry[i] = {255, 255, 255, 0};
    for (int i = kBack; i <= kParentBack; ++i)
      lp->palPalEntry[i] = {GetRValue(Colour(i)), GetGValue(Colour(i)), GetBValue(Colour(i)), 0};
    palette = CreatePalette(lp);
    d->palette = palette;
    d->trackBackground = kBack;
    d->trackThumb = kThumb;
    d->trackChannel = kChannel;
    d->lightEdge = kLight;
    d->darkEdge = kDark;
    host = guitest::CreateTestWindow(RECT{0, 0, 400, 200},
                                     [this](HWND, UINT m, WPARAM wp, LPARAM lp, bool* handled) -> LRESULT {
                                       if (m == WM_HSCROLL || m == WM_VSCROLL)
                                         scrolls.push_back({LOWORD(wp), HIWORD(wp)});
                                       if (m == WM_NEXTDLGCTL) nextControl.push_back(wp);
                                       if (m == WM_CTLCOLORBTN) ++colourAsked;
                                       if (m == CWM_GETBACKGROUND) {
                                         auto* request = reinterpret_cast<BackgroundRequest*>(lp);
                                         backgroundAsked.push_back(request->rect);
                                         dibFillWithColor(request->bitmap, kParentBack);
                                         *handled = true;
                                         return 1;
                                       }
                                       return 0;
                                     });
    SetForegroundWindow(host);
  }
  void TearDown() override {
    DestroyWindow(host);
    DeleteObject(palette);
    UnregisterControlClasses();
    ResetProcessDataTable();
  }
  HWND Make(int x, int y, int w, int h, DWORD style = 0, DWORD exStyle = 0) {
    HWND bar = CreateWindowExA(exStyle, "CGUITrackbar", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y,
                               w, h, host, HMENU(7), nullptr, nullptr);
    if (bar) {
      SendMessageA(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
      SendMessageA(bar, TBM_SETPOS, TRUE, 50);
      UpdateWindow(bar);
    }
    return bar;
  }
  static LRESULT Pos(HWND bar) { return SendMessageA(bar, TBM_GETPOS, 0, 0); }
  static RECT Thumb(HWND bar) {
    RECT r{};
    SendMessageA(bar, TBM_GETTHUMBRECT, 0, LPARAM(&r));
    return r;
  }
  static RECT Channel(HWND bar) {
    RECT r{};
    SendMessageA(bar, TBM_GETCHANNELRECT, 0, LPARAM(&r));
    return r;
  }
  static POINT OnScreen(HWND bar, int x, int y) {
    POINT p{x, y};
    ClientToScreen(bar, &p);
    return p;
  }
  static COLORREF Pixel(HWND bar, int x, int y) {
    POINT p = OnScreen(bar, x, y);
    return guitest::ScreenPixel(p.x, p.y);
  }
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Scroll& s : scrolls) codes.push_back(s.code);
    return codes;
  }
};

void SendMouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
  guitest::Pump(30);
}

// Presses the left button at `from`, moves through `via` and lets go there.
void Drag(POINT from, POINT via, POINT to) {
  guitest::MoveMouse(from);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  guitest::MoveMouse(via);
  guitest::MoveMouse(to);
  SendMouse(MOUSEEVENTF_LEFTUP);
}

TEST_F(Trackbar, RegisteredOverTheSystemTrackBar) {
  WNDCLASSA system{}, ours{};
  ASSERT_TRUE(GetClassInfoA(nullptr, TRACKBAR_CLASSA, &system));
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "CGUITrackbar", &ours));
  EXPECT_EQ(ours.cbWndExtra, system.cbWndExtra + kPointerSlotBytes);
  EXPECT_EQ(ours.style, UINT(CS_HREDRAW | CS_VREDRAW | CS_PARENTDC | CS_GLOBALCLASS));
  EXPECT_EQ(ours.hbrBackground, GetStockObject(HOLLOW_BRUSH));
}

TEST_F(Trackbar, LibraryStyleBitsAreKeptFromTheSystemPart) {
  HWND bar = Make(10, 10, 200, 30, 0xF000 | TBS_NOTICKS);
  ASSERT_NE(bar, nullptr);
  LONG style = GetWindowLongA(bar, GWL_STYLE);
  EXPECT_EQ(style & 0xF000, 0);
  EXPECT_EQ(style & TBS_NOTICKS, TBS_NOTICKS);
  EXPECT_TRUE(style & WS_TABSTOP);
}

TEST_F(Trackbar, RangePositionPageAndLineMessages) {
  HWND bar = Make(10, 10, 200, 30);
  ASSERT_NE(bar, nullptr);
  struct Case {
    UINT message;
    WPARAM wp;
    LPARAM lp;
    LRESULT pos, min, max;
  };
  const Case cases[] = {
      {TBM_SETPOS, TRUE, 70, 70, 0, 100},
      {TBM_SETPOS, TRUE, 150, 100, 0, 100},
      {TBM_SETPOS, TRUE, -5, 0, 0, 100},
      {TBM_SETRANGEMIN, TRUE, 20, 20, 20, 100},
      {TBM_SETPOS, TRUE, 90, 90, 20, 100},
      {TBM_SETRANGEMAX, TRUE, 60, 60, 20, 60},
      {TBM_SETRANGE, TRUE, MAKELPARAM(0, 10), 10, 0, 10},
  };
  for (const Case& c : cases) {
    SendMessageA(bar, c.message, c.wp, c.lp);
    EXPECT_EQ(Pos(bar), c.pos) << std::hex << c.message << std::dec << " " << c.lp;
    EXPECT_EQ(SendMessageA(bar, TBM_GETRANGEMIN, 0, 0), c.min);
    EXPECT_EQ(SendMessageA(bar, TBM_GETRANGEMAX, 0, 0), c.max);
  }
  const LRESULT page = SendMessageA(bar, TBM_GETPAGESIZE, 0, 0);
  EXPECT_EQ(SendMessageA(bar, TBM_SETPAGESIZE, 0, 4), page);
  EXPECT_EQ(SendMessageA(bar, TBM_GETPAGESIZE, 0, 0), 4);
  EXPECT_EQ(SendMessageA(bar, TBM_SETLINESIZE, 0, 3), 1) << "the system's default line";
  EXPECT_EQ(SendMessageA(bar, TBM_GETLINESIZE, 0, 0), 3);
  EXPECT_TRUE(scrolls.empty()) << "messages from the program are not notified";
}

TEST_F(Trackbar, KeysStepByLineAndPageAndStopAtTheEnds) {
  HWND bar = Make(10, 10, 200, 30);
  SendMessageA(bar, TBM_SETLINESIZE, 0, 7);
  SendMessageA(bar, TBM_SETPAGESIZE, 0, 30);
  SetFocus(bar);
  ASSERT_EQ(GetFocus(), bar);
  struct Case {
    WORD key;
    LRESULT pos;
    std::vector<int> codes;  // notifications of the key press and release
  };
  const Case cases[] = {
      {VK_RIGHT, 57, {TB_LINEDOWN, TB_ENDTRACK}},
      {VK_NEXT, 87, {TB_PAGEDOWN, TB_ENDTRACK}},
      {VK_NEXT, 100, {TB_PAGEDOWN, TB_ENDTRACK}},  // clamped at the end
      {VK_RIGHT, 100, {TB_ENDTRACK}},              // already at the end: no step
      {VK_LEFT, 93, {TB_LINEUP, TB_ENDTRACK}},
      {VK_HOME, 0, {TB_TOP, TB_ENDTRACK}},
      {VK_PRIOR, 0, {TB_ENDTRACK}},
      {VK_END, 100, {TB_BOTTOM, TB_ENDTRACK}},
  };
  for (const Case& c : cases) {
    scrolls.clear();
    guitest::PressKey(c.key);
    EXPECT_EQ(Pos(bar), c.pos) << c.key;
    EXPECT_EQ(Codes(), c.codes) << c.key;
    for (const Scroll& s : scrolls) EXPECT_EQ(s.position, 0) << "no position with these codes";
  }
  // At the end of the range the thumb is shown at the end of the channel.
  UpdateWindow(bar);
  RECT t = Thumb(bar), c = Channel(bar);
  EXPECT_NEAR(t.right, c.right, 2);
  EXPECT_EQ(Pixel(bar, (t.left + t.right) / 2, (t.top + t.bottom) / 2), Colour(kThumb));
  EXPECT_EQ(Pixel(bar, c.left + 4, (c.top + c.bottom) / 2), Colour(kChannel)) << "not left behind";
}

TEST_F(Trackbar, TabMovesTheDialogFocusAndNeverReachesTheSystemPart) {
  HWND bar = Make(10, 10, 200, 30);
  SetFocus(bar);
  guitest::PressKey(VK_TAB);
  guitest::Chord({VK_SHIFT}, VK_TAB);
  EXPECT_EQ(nextControl, (std::vector<WPARAM>{0, 1})) << "next, then previous";
  EXPECT_EQ(Pos(bar), 50);
  for (const Scroll& s : scrolls) EXPECT_EQ(s.code, TB_ENDTRACK) << "only the key release";
}

TEST_F(Trackbar, DraggingTheThumbTracksAndStopsAtTheEnds) {
  HWND bar = Make(10, 10, 200, 30);
  struct Case {
    int toX;  // client x the mouse is let go at
    LRESULT pos;
  };
  const Case cases[] = {{400, 100}, {-300, 0}, {100, -1}};  // -1: somewhere inside
  for (const Case& c : cases) {
    scrolls.clear();
    RECT t = Thumb(bar);
    POINT from = OnScreen(bar, (t.left + t.right) / 2, (t.top + t.bottom) / 2);
    POINT to = OnScreen(bar, c.toX, (t.top + t.bottom) / 2);
    Drag(from, POINT{(from.x + to.x) / 2, from.y}, to);
    LRESULT pos = Pos(bar);
    if (c.pos >= 0) {
      EXPECT_EQ(pos, c.pos) << c.toX;
    } else {
      EXPECT_TRUE(pos > 20 && pos < 80) << pos;
    }
    // Tracking while moved, the final position when let go, then the end.
    size_t final = 0;
    while (final < scrolls.size() && scrolls[final].code == TB_THUMBTRACK) {
      EXPECT_TRUE(scrolls[final].position >= 0 && scrolls[final].position <= 100);
      ++final;
    }
    EXPECT_GE(final, 1u) << c.toX;
    ASSERT_LT(final + 1, scrolls.size()) << c.toX;
    EXPECT_EQ(scrolls[final].code, TB_THUMBPOSITION);
    EXPECT_EQ(scrolls[final].position, pos) << "the final position is reported";
    EXPECT_EQ(scrolls[final - 1].position, pos) << "the last tracked one";
    for (size_t i = final + 1; i < scrolls.size(); ++i) EXPECT_EQ(scrolls[i].code, TB_ENDTRACK);
    // The thumb is shown where it now lies.
    UpdateWindow(bar);
    RECT now = Thumb(bar);
    EXPECT_EQ(Pixel(bar, (now.left + now.right) / 2, (now.top + now.bottom) / 2), Colour(kThumb));
  }
}

TEST_F(Trackbar, ClickInTheChannelPagesTowardTheClick) {
  HWND bar = Make(10, 10, 200, 30);
  SendMessageA(bar, TBM_SETPAGESIZE, 0, 15);
  RECT c = Channel(bar);
  RECT t = Thumb(bar);
  guitest::Click(OnScreen(bar, c.right - 3, (t.top + t.bottom) / 2));
  EXPECT_EQ(Pos(bar), 65);
  ASSERT_FALSE(scrolls.empty());
  EXPECT_EQ(scrolls.front().code, TB_PAGEDOWN);
  EXPECT_EQ(scrolls.back().code, TB_ENDTRACK);
}

TEST_F(Trackbar, PaintsBackgroundChannelAndThumbInTheSharedPalette) {
  HWND bar = Make(10, 10, 200, 30);
  guitest::Pump(50);
  EXPECT_GT(colourAsked, 0) << "the parent is asked at each paint";
  RECT t = Thumb(bar);
  RECT c = Channel(bar);
  ASSERT_GT(t.right - t.left, 4);
  ASSERT_GT(c.bottom - c.top, 2);
  EXPECT_EQ(Pixel(bar, 1, 1), Colour(kBack));
  EXPECT_EQ(Pixel(bar, (t.left + t.right) / 2, (t.top + t.bottom) / 2), Colour(kThumb));
  EXPECT_EQ(Pixel(bar, t.left, t.top + 1), Colour(kLight));
  EXPECT_EQ(Pixel(bar, t.right - 1, t.bottom - 1), Colour(kDark));
  int insideChannel = (c.top + c.bottom) / 2;
  if (c.bottom - c.top > 2) {
    EXPECT_EQ(Pixel(bar, c.left + 3, insideChannel), Colour(kChannel));
    EXPECT_EQ(Pixel(bar, c.left, insideChannel), Colour(kLight));
    EXPECT_EQ(Pixel(bar, c.right - 1, insideChannel), Colour(kDark));
  }
  EXPECT_TRUE(backgroundAsked.empty()) << "only a transparent track bar asks";
}

TEST_F(Trackbar, TransparentTrackBarShowsTheParentsBackground) {
  HWND bar = Make(30, 40, 200, 30, 0, WS_EX_TRANSPARENT);
  guitest::Pump(50);
  ASSERT_FALSE(backgroundAsked.empty());
  RECT asked = backgroundAsked.back();
  EXPECT_EQ(asked.left, 30);
  EXPECT_EQ(asked.top, 40);
  EXPECT_EQ(asked.right, 230);
  EXPECT_EQ(asked.bottom, 70);
  RECT t = Thumb(bar);
  EXPECT_EQ(Pixel(bar, 1, 1), Colour(kParentBack));
  EXPECT_EQ(Pixel(bar, (t.left + t.right) / 2, (t.top + t.bottom) / 2), Colour(kThumb));
}

TEST_F(Trackbar, ResizeInPlaceKeepsTheChannelAndANewRangeMovesTheThumb) {
  HWND bar = Make(10, 10, 150, 30);
  SetWindowPos(bar, nullptr, 0, 0, 300, 30, SWP_NOMOVE | SWP_NOZORDER);
  UpdateWindow(bar);
  guitest::Pump(50);
  RECT c = Channel(bar);
  ASSERT_GT(c.right, 200) << "the channel follows the new width";
  EXPECT_EQ(Pixel(bar, c.right - 4, (c.top + c.bottom) / 2), Colour(kChannel));
  EXPECT_EQ(Pixel(bar, 298, 1), Colour(kBack));
  RECT t = Thumb(bar);
  EXPECT_EQ(Pixel(bar, (t.left + t.right) / 2, (t.top + t.bottom) / 2), Colour(kThumb));

  SendMessageA(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 200));  // 50 of 200: the thumb moves left
  UpdateWindow(bar);
  guitest::Pump(50);
  RECT moved = Thumb(bar);
  ASSERT_LT(moved.right, t.left);
  EXPECT_EQ(Pixel(bar, (moved.left + moved.right) / 2, (moved.top + moved.bottom) / 2), Colour(kThumb));
  EXPECT_EQ(Pixel(bar, (t.left + t.right) / 2, (c.top + c.bottom) / 2), Colour(kChannel))
      << "the old place shows the channel again";
}

TEST_F(Trackbar, NewThumbLengthIsPaintedAtItsNewSize) {
  HWND bar = Make(10, 10, 200, 40, TBS_FIXEDLENGTH);
  SendMessageA(bar, TBM_SETTHUMBLENGTH, 30, 0);
  UpdateWindow(bar);
  guitest::Pump(30);
  RECT t = Thumb(bar), c = Channel(bar);
  ASSERT_EQ(t.bottom - t.top, 30);
  EXPECT_EQ(Pixel(bar, t.left, t.bottom - 2), Colour(kLight)) << "the whole length has its edge";
  EXPECT_EQ(Pixel(bar, (t.left + t.right) / 2, t.bottom - 3), Colour(kThumb));
  EXPECT_EQ(Pixel(bar, c.right - 4, (c.top + c.bottom) / 2), Colour(kChannel))
      << "the channel where it now lies";
}

TEST_F(Trackbar, EmptyRangeAndTinyTrackBarsSurviveInput) {
  HWND empty = Make(10, 10, 200, 30);
  SendMessageA(empty, TBM_SETRANGE, TRUE, MAKELPARAM(5, 5));
  EXPECT_EQ(Pos(empty), 5);
  SetFocus(empty);
  for (WORD key : {VK_RIGHT, VK_NEXT, VK_END, VK_LEFT}) guitest::PressKey(key);
  RECT t = Thumb(empty);
  POINT from = OnScreen(empty, (t.left + t.right) / 2, (t.top + t.bottom) / 2);
  Drag(from, POINT{from.x + 20, from.y}, POINT{from.x + 60, from.y});
  EXPECT_EQ(Pos(empty), 5);

  // Narrower than its thumb, and of no size at all.
  HWND tiny = Make(10, 60, 6, 30);
  POINT inside = OnScreen(tiny, 3, 15);
  Drag(inside, POINT{inside.x + 5, inside.y}, POINT{inside.x + 30, inside.y});
  LRESULT pos = Pos(tiny);
  EXPECT_TRUE(pos >= 0 && pos <= 100) << pos;
  HWND none = Make(10, 100, 0, 0);
  ASSERT_NE(none, nullptr);
  RedrawWindow(none, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  guitest::Pump(30);
  DestroyWindow(none);
}

TEST_F(Trackbar, WithoutControlDefaultsTheSystemPartDoesEverything) {
  ResetProcessDataTable();  // no CcDefaults: nothing of ours is drawn
  HWND bar = Make(10, 10, 200, 30);
  ASSERT_NE(bar, nullptr);
  SetFocus(bar);
  guitest::PressKey(VK_RIGHT);
  EXPECT_EQ(Pos(bar), 51);
  EXPECT_NE(Pixel(bar, 1, 1), Colour(kBack));
}

}  // namespace
