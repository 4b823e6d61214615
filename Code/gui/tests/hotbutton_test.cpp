// The hot button on real windows under Wine, driven by real mouse moves:
// the hover bit and the capture follow the mouse from button to button, the
// check and push bits survive the end of a hover, clicks still reach the
// button underneath, disabling hides it and its caption places it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "basic_controls.h"
#include "bmpbutton.h"
#include "controls.h"
#include "dibkit.h"
#include "facet.h"
#include "guitest.h"
#include "procdata.h"
#include "winutil.h"

namespace {

constexpr int kFaceH = 24;
enum { kMiddle = 100, kHoverFace = 90 };  // palette indices: face state s is kMiddle + s

COLORREF Colour(int index) { return RGB(index, 255 - index, 128); }

HPALETTE MakePalette() {
  return guitest::MakePalette([](int i) { return PALETTEENTRY{BYTE(i), BYTE(255 - i), 128, 0}; });
}

// Read straight from the button: a read through WindowFromPoint would hit
// test the button and light it.
COLORREF Pixel(HWND w, int x, int y) {
  HDC dc = GetDC(w);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return c;
}

struct HotButton : ::testing::Test {
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  std::vector<PackedDib*> owned;
  HPALETTE palette = nullptr;
  CcDefaults* d = nullptr;
  HWND host = nullptr;

  PackedDib* Piece(int w, int h, int index) {
    PackedDib* dib = dibCreateWithColors(w, h, 8);
    dibFillWithColor(dib, index);
    owned.push_back(dib);
    return dib;
  }

  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
    d = ccInit(nullptr);
    palette = MakePalette();
    d->palette = palette;
    for (int s = 0; s < 3; ++s) {
      d->pushLeft[s] = Piece(3, kFaceH, kMiddle + s);
      d->pushMiddle[s] = Piece(4, kFaceH, kMiddle + s);
      d->pushRight[s] = Piece(3, kFaceH, kMiddle + s);
    }
    ccSetControlData(nullptr, d);
    guitest::MoveMouse(POINT{390, 230});  // away from every button
    host = guitest::CreateTestWindow(RECT{0, 0, 400, 240},
                                     [this](HWND, UINT m, WPARAM wp, LPARAM lp, bool*) -> LRESULT {
                                       if (m == WM_COMMAND) commands.push_back({wp, lp});
                                       return 0;
                                     });
    SetForegroundWindow(host);
  }
  void TearDown() override {
    DestroyWindow(host);
    EXPECT_EQ(CurrentHotButton(), nullptr) << "a destroyed button leaves no hover behind";
    EXPECT_EQ(GetCapture(), nullptr);
    UnregisterControlClasses();
    ResetProcessDataTable();
    for (PackedDib* p : owned) dibDelete(p);
    DeleteObject(palette);
  }
  // A text hot button of 80 x 24 with an opaque hover face.
  HWND Make(const char* text, int x, int y, int id, DWORD style = 0) {
    HWND b = CreateWindowExA(0, "CGUIHotButton", text, WS_CHILD | WS_VISIBLE | style, x, y, 80, kFaceH, host,
                             HMENU(INT_PTR(id)), nullptr, nullptr);
    if (b) SendMessageA(b, BBM_CCM_SETDIB, kImageHover, LPARAM(Piece(80, kFaceH, kHoverFace)));
    return b;
  }
  void Show() {
    UpdateWindow(host);
    guitest::Pump(60);
  }
  bool Lit(HWND b) { return (BmpButtonRecord(b)->state & kButtonHover) != 0; }
  // A move as a hand makes it: a step to the point, then one pixel on. The
  // button that was lit hears of the first event (it holds the capture) and
  // lets go; the button underneath lights on the next.
  void Hover(POINT p, HWND expected) {
    guitest::MoveMouse(p);
    guitest::MoveMouse(POINT{p.x + 1, p.y});
    EXPECT_TRUE(guitest::WaitFor([&] { return CurrentHotButton() == expected; }, 1000))
        << "at " << p.x << "," << p.y;
    Show();
  }
  int Count(HWND control, WORD code) {
    int n = 0;
    for (auto& c : commands) n += HIWORD(c.first) == code && HWND(c.second) == control;
    return n;
  }
};

TEST_F(HotButton, ClassCopiesTheBitmapButton) {
  WNDCLASSA base{}, hot{};
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "CGUIBMPButton", &base));
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "CGUIHotButton", &hot));
  EXPECT_EQ(hot.style, base.style);
  EXPECT_EQ(hot.cbWndExtra, base.cbWndExtra);
  EXPECT_EQ(hot.hCursor, LoadCursor(nullptr, IDC_ARROW));
  EXPECT_NE(hot.lpfnWndProc, base.lpfnWndProc);
  HWND b = Make("Go", 20, 20, 5);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(BmpButtonRecord(b), nullptr) << "the bitmap button's record";
  EXPECT_EQ(GetWindowLongA(b, GWL_EXSTYLE) & 0x200000, 0x200000) << "hover images switched on";
  Show();
  EXPECT_EQ(Pixel(b, 40, 1), Colour(kMiddle));
}

TEST_F(HotButton, HoverBitAndCaptureFollowTheMouse) {
  HWND b = Make("Go", 20, 20, 5);
  Show();
  EXPECT_FALSE(Lit(b));
  Hover(POINT{60, 30}, b);
  EXPECT_TRUE(Lit(b));
  EXPECT_EQ(GetCapture(), b);
  EXPECT_EQ(Pixel(b, 40, 1), Colour(kHoverFace));
  // Moves inside keep it lit; leaving puts it back.
  Hover(POINT{90, 40}, b);
  EXPECT_TRUE(Lit(b));
  Hover(POINT{250, 150}, nullptr);
  EXPECT_FALSE(Lit(b));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Pixel(b, 40, 1), Colour(kMiddle));
}

TEST_F(HotButton, MovingOntoAnotherLightsItAndPutsTheFirstBack) {
  HWND first = Make("One", 20, 20, 5);
  HWND second = Make("Two", 100, 20, 6);  // right next to the first
  Show();
  Hover(POINT{60, 30}, first);
  Hover(POINT{140, 30}, second);
  EXPECT_FALSE(Lit(first));
  EXPECT_TRUE(Lit(second));
  EXPECT_EQ(GetCapture(), second);
  EXPECT_EQ(Pixel(first, 40, 1), Colour(kMiddle));
  EXPECT_EQ(Pixel(second, 40, 1), Colour(kHoverFace));
  Hover(POINT{60, 30}, first);
  EXPECT_FALSE(Lit(second));
  EXPECT_TRUE(Lit(first));
}

// A check or push state set while the button is lit stays when the hover
// ends; so does one cleared while lit.
TEST_F(HotButton, CheckAndPushStateSetWhileLitSurviveTheRelease) {
  struct Case {
    UINT message;
    LRESULT bit;
    bool before, during;
  } cases[] = {{BM_SETCHECK, BST_CHECKED, false, true},
               {BM_SETCHECK, BST_CHECKED, true, false},
               {BM_SETSTATE, BST_PUSHED, false, true},
               {BM_SETSTATE, BST_PUSHED, true, false}};
  int id = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << (c.message == BM_SETCHECK ? "check " : "push ") << c.before << "->" << c.during);
    HWND b = Make("Go", 20, 20, id++, BS_AUTOCHECKBOX | 0x1000);
    SendMessageA(b, c.message, c.before, 0);
    Show();
    Hover(POINT{60, 30}, b);
    EXPECT_EQ(SendMessageA(b, c.message, c.during, 0), 0);
    EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & c.bit, c.during ? c.bit : 0);
    EXPECT_TRUE(Lit(b)) << "still lit after the change";
    Hover(POINT{250, 150}, nullptr);
    EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & c.bit, c.during ? c.bit : 0);
    EXPECT_EQ((BmpButtonRecord(b)->state & uint32_t(c.bit)) != 0, c.during);
    EXPECT_FALSE(Lit(b));
    EXPECT_EQ(Pixel(b, 40, 1), Colour(kMiddle + (c.during ? 1 : 0)));
    DestroyWindow(b);
  }
}

TEST_F(HotButton, ClicksReachTheButtonUnderneath) {
  HWND b = Make("Go", 20, 20, 5);
  HWND check = Make("Mute", 120, 20, 6, BS_AUTOCHECKBOX | 0x1000);
  Show();
  guitest::Click(POINT{60, 30});
  EXPECT_TRUE(guitest::WaitFor([&] { return Count(b, BN_CLICKED) == 1; }, 1000));
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  // The click gave it the focus; the focus bit goes back with the hover, as
  // the button never hears that the focus left.
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_FOCUS, 0);
  guitest::Click(POINT{160, 30});
  EXPECT_TRUE(guitest::WaitFor([&] { return SendMessageA(check, BM_GETCHECK, 0, 0) == 1; }, 1000));
  // A quick second click arrives as a double click: it is a click too.
  guitest::Click(POINT{160, 30});
  EXPECT_TRUE(guitest::WaitFor([&] { return Count(check, BN_CLICKED) == 2; }, 1000));
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), 0);
  // Pressed, dragged off and released elsewhere: no click, nothing left pushed.
  guitest::MoveMouse(POINT{60, 30});
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  EXPECT_TRUE(guitest::WaitFor([&] { return (SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }, 1000));
  guitest::MoveMouse(POINT{250, 150});
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  guitest::Pump(80);
  EXPECT_EQ(Count(b, BN_CLICKED), 1);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  EXPECT_EQ(CurrentHotButton(), nullptr);
}

TEST_F(HotButton, DisablingHidesAndEndsTheHover) {
  HWND b = Make("Go", 20, 20, 5);
  Show();
  Hover(POINT{60, 30}, b);
  EnableWindow(b, FALSE);
  EXPECT_FALSE(IsWindowVisible(b));
  EXPECT_EQ(CurrentHotButton(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(Lit(b));
  guitest::Pump(60);
  EXPECT_EQ(CurrentHotButton(), nullptr) << "a hidden button does not light again";
  EnableWindow(b, TRUE);
  EXPECT_TRUE(IsWindowVisible(b));
  Hover(POINT{62, 30}, b);
  // Showing and hiding by hand: a hidden button's hover ends too.
  ShowWindow(b, SW_HIDE);
  EXPECT_EQ(CurrentHotButton(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HotButton, ZOrderChangeAndDestructionEndTheHover) {
  HWND b = Make("Go", 20, 20, 5);
  HWND other = Make("No", 120, 20, 6);
  Show();
  Hover(POINT{60, 30}, b);
  SetWindowPos(b, nullptr, 21, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // a move alone keeps it
  EXPECT_EQ(CurrentHotButton(), b);
  SetWindowPos(other, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // another's Z order
  EXPECT_EQ(CurrentHotButton(), b);
  SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(CurrentHotButton(), nullptr);
  EXPECT_FALSE(Lit(b));
  Hover(POINT{60, 30}, b);
  DestroyWindow(b);
  EXPECT_EQ(CurrentHotButton(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  Hover(POINT{160, 30}, other);  // the hook serves the next button
}

// Another window taking the capture ends the hover and keeps the capture.
TEST_F(HotButton, AnotherWindowsCaptureEndsTheHover) {
  HWND b = Make("Go", 20, 20, 5);
  HWND other = Make("No", 120, 20, 6);
  Show();
  Hover(POINT{60, 30}, b);
  SetCapture(other);
  EXPECT_EQ(CurrentHotButton(), nullptr);
  EXPECT_FALSE(Lit(b));
  EXPECT_EQ(GetCapture(), other);
  ReleaseCapture();
}

TEST_F(HotButton, FocusLossIsIgnored) {
  HWND b = Make("Go", 20, 20, 5, BS_NOTIFY);
  HWND other = Make("No", 120, 20, 6);
  Show();
  SetFocus(b);
  EXPECT_EQ(Count(b, BN_SETFOCUS), 1);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_FOCUS, BST_FOCUS);
  SetFocus(other);
  EXPECT_EQ(GetFocus(), other);
  EXPECT_EQ(Count(b, BN_KILLFOCUS), 0) << "not passed on";
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_FOCUS, BST_FOCUS);
  EXPECT_EQ(SendMessageA(b, WM_KILLFOCUS, 0, 0), 0);
  EXPECT_EQ(BmpButtonRecord(b)->state & kButtonFocus, kButtonFocus);
}

TEST_F(HotButton, CaptionKeysPlaceAndSizeIt) {
  struct Case {
    const char* text;
    RECT expected;  // in the parent's client area; created at (5, 5) 80 x 24
  } cases[] = {
      {"Go {p:30,40 s:90,26}", {30, 40, 120, 66}},
      {"{s:70,20}", {5, 5, 75, 25}},
      {"{p:50,60}", {50, 60, 130, 84}},
      {"Hint {d:help p:12,14}", {12, 14, 92, 38}},  // behind another key too
      {"Plain", {5, 5, 85, 29}},
  };
  int id = 20;
  for (const Case& c : cases) {
    HWND b = CreateWindowExA(0, "CGUIHotButton", c.text, WS_CHILD | WS_VISIBLE, 5, 5, 80, 24, host,
                             HMENU(INT_PTR(id++)), nullptr, nullptr);
    ASSERT_NE(b, nullptr) << c.text;
    RECT r;
    GetWindowRectInParent(b, &r);
    EXPECT_EQ(r.left, c.expected.left) << c.text;
    EXPECT_EQ(r.top, c.expected.top) << c.text;
    EXPECT_EQ(r.right, c.expected.right) << c.text;
    EXPECT_EQ(r.bottom, c.expected.bottom) << c.text;
    DestroyWindow(b);
  }
}

// A text-faced button placed by its caption shows the caption proper on
// faces of its placed size: the same faces as a plain button of that text
// and size.
TEST_F(HotButton, APlacedTextButtonShowsItsCaptionProperAtItsNewSize) {
  HWND placed = CreateWindowExA(0, "CGUIHotButton", "Undo {p:30,40 s:120,24}", WS_CHILD | WS_VISIBLE, 5, 5, 80,
                                24, host, HMENU(INT_PTR(40)), nullptr, nullptr);
  HWND plain = CreateWindowExA(0, "CGUIBMPButton", "Undo", WS_CHILD | WS_VISIBLE, 200, 40, 120, 24, host,
                               HMENU(INT_PTR(41)), nullptr, nullptr);
  ASSERT_NE(placed, nullptr);
  ASSERT_NE(plain, nullptr);
  const PackedDib* a = BmpButtonRecord(placed)->images[kImageNormal];
  const PackedDib* b = BmpButtonRecord(plain)->images[kImageNormal];
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->biWidth, 120);
  ASSERT_EQ(a->biWidth, b->biWidth);
  ASSERT_EQ(a->biHeight, b->biHeight);
  const size_t bytes = size_t(dibRowStride(8, a->biWidth)) * size_t(std::abs(a->biHeight));
  EXPECT_EQ(std::memcmp(dibGetBits(const_cast<PackedDib*>(a)), dibGetBits(const_cast<PackedDib*>(b)), bytes), 0)
      << "the face of \"Undo\", not of the whole text";
  DestroyWindow(placed);
  DestroyWindow(plain);
}

}  // namespace
