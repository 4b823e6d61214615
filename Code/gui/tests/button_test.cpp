// The bitmap button on real windows under Wine: faces built from the control
// defaults, check and radio behaviour, shapes and hover, auto-repeat,
// resource faces, and which images the button frees.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "basic_controls.h"
#include "bmpbutton.h"
#include "controls.h"
#include "dibkit.h"
#include "facet.h"
#include "guitest.h"
#include "winutil.h"
#include "heapkit.h"
#include "procdata.h"
#include "test_bitmaps.h"

namespace {

constexpr COLORREF kParentColour = RGB(0, 255, 0);
constexpr int kFaceH = 24;
// Palette indices of the face pieces and texts, per state s: kLeft + s ...
enum { kLeft = 110, kMiddle = 100, kRight = 120, kText = 200, kCheck = 70, kRadio = 80, kMask = 90 };

COLORREF Colour(int index) { return RGB(index, 255 - index, 128); }

HPALETTE MakePalette() {
  return guitest::MakePalette([](int i) { return PALETTEENTRY{BYTE(i), BYTE(255 - i), 128, 0}; });
}

struct Button : ::testing::Test {
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  std::vector<PackedDib*> owned;  // images the test made: freed at the end, never by a button
  HPALETTE palette = nullptr;
  CcDefaults* d = nullptr;
  HWND host = nullptr;
  int backgroundIndex = 33;

  PackedDib* Piece(int w, int h, int index) {
    PackedDib* dib = dibCreateWithColors(w, h, 8);
    dibFillWithColor(dib, index);
    owned.push_back(dib);
    return dib;
  }

  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));  // resource faces: the test bitmaps
    d = ccInit(nullptr);
    palette = MakePalette();
    d->palette = palette;
    for (int s = 0; s < 4; ++s) {
      d->pushLeft[s] = Piece(3, kFaceH, kLeft + s);
      d->pushMiddle[s] = Piece(4, kFaceH, kMiddle + s);
      d->pushRight[s] = Piece(3, kFaceH, kRight + s);
      d->checkImages[s] = Piece(12, 12, kCheck + s);
      d->radioImages[s] = Piece(12, 12, kRadio + s);
      d->buttonTextColours[s] = kText + s;
    }
    for (int i = 0; i < 6; ++i) d->stateFaceOffsets[i] = i;
    d->darkEdge = 20;
    d->lightEdge = 21;
    d->groupCaptionColour = 22;
    ccSetControlData(nullptr, d);
    host = guitest::CreateTestWindow(RECT{0, 0, 400, 240},
                                     [this](HWND w, UINT m, WPARAM wp, LPARAM lp, bool* handled) -> LRESULT {
                                       if (m == WM_COMMAND) commands.push_back({wp, lp});
                                       if (m == WM_ERASEBKGND) {
                                         *handled = true;
                                         return guitest::EraseWith(w, wp, kParentColour);
                                       }
                                       if (m == CWM_GETBACKGROUND) {
                                         struct Request {
                                           RECT rect;
                                           PackedDib* copy;
                                         };
                                         auto* request = reinterpret_cast<Request*>(lp);
                                         dibFillWithColor(request->copy, backgroundIndex);
                                         *handled = true;
                                         return 1;
                                       }
                                       return 0;
                                     });
    SetForegroundWindow(host);
  }
  void TearDown() override {
    DestroyWindow(host);
    UnregisterControlClasses();
    ResetProcessDataTable();
    // Aborts (heap check) if a button freed an image it did not build.
    for (PackedDib* p : owned) dibDelete(p);
    DeleteObject(palette);
  }
  HWND Make(const char* text, DWORD style, RECT r, int id = 5, DWORD exStyle = 0) {
    return CreateWindowExA(exStyle, "CGUIBMPButton", text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, host, HMENU(INT_PTR(id)), nullptr, nullptr);
  }
  void Show() {
    UpdateWindow(host);
    guitest::Pump(80);
  }
  int Count(HWND control, WORD code) {
    int n = 0;
    for (auto& c : commands) n += HIWORD(c.first) == code && HWND(c.second) == control;
    return n;
  }
  // The top-left pixel of the given colour inside the screen rectangle.
  POINT Find(RECT r, COLORREF colour) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (guitest::ScreenPixel(x, y) == colour) return POINT{x, y};
    return POINT{-1, -1};
  }
};

TEST_F(Button, ClassCopiesTheSystemButtonAndCanBeCopiedAgain) {
  WNDCLASSA system{}, ours{};
  ASSERT_TRUE(GetClassInfoA(nullptr, "Button", &system));
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "CGUIBMPButton", &ours));
  EXPECT_EQ(ours.style & 0x400B, 0x400Bu);
  EXPECT_EQ(ours.cbWndExtra, system.cbWndExtra + kValueSlotBytes + kPointerSlotBytes);
  EXPECT_EQ(BmpButtonExtraBase(), system.cbWndExtra);
  // A class built on it, as the hot button builds its own.
  ours.lpszClassName = "RWButtonCopy";
  ours.hInstance = GetModuleHandleA(nullptr);
  ASSERT_TRUE(RegisterClassA(&ours));
  HWND copy = CreateWindowExA(0, "RWButtonCopy", "Copy", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, host,
                              HMENU(9), nullptr, nullptr);
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(BmpButtonRecord(copy), nullptr);
  EXPECT_EQ(BmpButtonRecord(copy)->repeat, 200u);
  DestroyWindow(copy);
  UnregisterClassA("RWButtonCopy", GetModuleHandleA(nullptr));
  // Dialog templates also spell it with a small "mp".
  HWND spelled =
      CreateWindowExA(0, "CGUIBmpButton", "Ok", WS_CHILD, 10, 10, 80, 24, host, HMENU(10), nullptr, nullptr);
  ASSERT_NE(spelled, nullptr);
  EXPECT_NE(BmpButtonRecord(spelled), nullptr);
}

TEST_F(Button, PressedTextIsOnePixelLowerThanNormal) {
  HWND b = Make("Go", 0, RECT{20, 20, 100, 44});
  ASSERT_NE(b, nullptr);
  Show();
  RECT area{20, 20, 100, 44};
  POINT normal = Find(area, Colour(kText + 0));
  ASSERT_GE(normal.x, 0) << "text of the normal face";
  EXPECT_EQ(guitest::ScreenPixel(20, 30), Colour(kLeft));
  EXPECT_EQ(guitest::ScreenPixel(24, 21), Colour(kMiddle));
  EXPECT_EQ(guitest::ScreenPixel(99, 30), Colour(kRight));
  SendMessageA(b, BM_SETSTATE, 1, 0);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
  Show();
  POINT pressed = Find(area, Colour(kText + 1));
  EXPECT_EQ(pressed.y, normal.y + 1);
  EXPECT_EQ(pressed.x, normal.x);
  EXPECT_EQ(guitest::ScreenPixel(24, 21), Colour(kMiddle + 1));
  // A taller push button keeps the face pieces' height; a push-like check
  // box takes the window's.
  HWND tall = Make("Go", 0, RECT{120, 20, 200, 50}, 6);
  HWND pushLike = Make("Go", BS_AUTOCHECKBOX | 0x1000, RECT{220, 20, 300, 50}, 7);
  EXPECT_EQ(BmpButtonRecord(tall)->images[0]->biHeight, kFaceH);
  EXPECT_EQ(BmpButtonRecord(pushLike)->images[0]->biHeight, 30);
}

// Text-colour mode 0: the text of a face is coloured from the state's
// texture, and check-box text takes the caption colour.
TEST_F(Button, TextTexturesAndCaptionColourInModeZero) {
  d->textColourMode = 0;
  for (int s = 0; s < 4; ++s) d->buttonTextColours[s] = uintptr_t(Piece(5, 3, kText + 10 + s));
  d->groupCaptionColour = 222;
  HWND push = Make("Go", 0, RECT{20, 20, 100, 44}, 5);
  HWND check = Make("Sound", BS_CHECKBOX, RECT{20, 60, 160, 80}, 6);
  Show();
  EXPECT_GE(Find(RECT{20, 20, 100, 44}, Colour(kText + 10)).x, 0);
  EXPECT_LT(Find(RECT{20, 20, 100, 44}, Colour(kText)).x, 0);
  EXPECT_GE(Find(RECT{36, 60, 100, 80}, Colour(222)).x, 0);
  SendMessageA(push, BM_SETSTATE, 1, 0);
  Show();
  EXPECT_GE(Find(RECT{20, 20, 100, 44}, Colour(kText + 11)).x, 0);
  EXPECT_NE(check, nullptr);
}

TEST_F(Button, DisabledFaceAndMissingDisabledPiece) {
  HWND b = Make("Go", 0, RECT{20, 20, 100, 44}, 5);
  d->pushMiddle[2] = nullptr;  // buttons made from now on have no disabled face
  HWND plain = Make("Go", 0, RECT{120, 20, 200, 44}, 6);
  EnableWindow(b, FALSE);
  EnableWindow(plain, FALSE);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(24, 21), Colour(kMiddle + 2));
  EXPECT_GE(Find(RECT{20, 20, 100, 44}, Colour(kText + 2)).x, 0);
  EXPECT_EQ(guitest::ScreenPixel(124, 21), Colour(kMiddle)) << "normal face when there is no disabled one";
  guitest::Click(POINT{60, 30});
  guitest::Pump(50);
  EXPECT_EQ(Count(b, BN_CLICKED), 0) << "a disabled button is not clicked";
}

TEST_F(Button, TextChangeRebuildsTheFaces) {
  HWND b = Make("", 0, RECT{20, 20, 100, 44});
  Show();
  EXPECT_LT(Find(RECT{20, 20, 100, 44}, Colour(kText)).x, 0) << "no text yet";
  SetWindowTextA(b, "&Play");
  Show();
  EXPECT_GE(Find(RECT{20, 20, 100, 44}, Colour(kText)).x, 0);
  char text[16] = "";
  GetWindowTextA(b, text, sizeof text);
  EXPECT_STREQ(text, "&Play");
  // A text too wide for the face leaves the face without text.
  SetWindowTextA(b, "A text far too wide for this button");
  Show();
  EXPECT_LT(Find(RECT{20, 20, 100, 44}, Colour(kText)).x, 0);
}

// Buttons made in code often start without a size and are placed later;
// a size they could not have faces for must not leave them without.
TEST_F(Button, FacesAreBuiltOnceTheButtonHasASize) {
  const RECT at{20, 20, 100, 44};
  HWND made = Make("Go", 0, RECT{0, 0, 0, 0});
  HWND shrunk = Make("Go", 0, RECT{0, 0, 80, 24}, 6);
  SetWindowPos(shrunk, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
  for (HWND b : {made, shrunk}) {
    SetWindowPos(b, nullptr, at.left, at.top, 80, 24, SWP_NOZORDER | SWP_NOACTIVATE);
    Show();
    EXPECT_GE(Find(at, Colour(kMiddle)).x, 0) << "the normal face";
    EXPECT_GE(Find(at, Colour(kText)).x, 0) << "with its text";
    ShowWindow(b, SW_HIDE);
  }
}

TEST_F(Button, PushLikeCheckBoxFacesFollowANewHeight) {
  HWND b = Make("Go", BS_AUTOCHECKBOX | BS_PUSHLIKE, RECT{20, 20, 100, 44});
  Show();
  int top = Find(RECT{20, 20, 100, 64}, Colour(kText)).y;
  ASSERT_GE(top, 20);
  SetWindowPos(b, nullptr, 0, 0, 80, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Show();
  EXPECT_EQ(Find(RECT{20, 20, 100, 64}, Colour(kText)).y, top + 8) << "centred on the taller face";
}

TEST_F(Button, CheckBoxesToggleAndPlainOnesOnlyNotify) {
  HWND automatic = Make("Ponder", BS_AUTOCHECKBOX, RECT{20, 20, 140, 40}, 5);
  HWND plain = Make("Sound", BS_CHECKBOX, RECT{20, 50, 140, 70}, 6);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(22, 30), Colour(kCheck)) << "the check image at the left";
  EXPECT_EQ(guitest::ScreenPixel(137, 22), kParentColour) << "the parent's background behind";
  for (int expected : {1, 0, 1}) {
    guitest::Click(POINT{26, 30});
    guitest::Pump(60);
    EXPECT_EQ(SendMessageA(automatic, BM_GETCHECK, 0, 0), expected);
    EXPECT_EQ(guitest::ScreenPixel(22, 30), Colour(kCheck + expected));
  }
  EXPECT_EQ(Count(automatic, BN_CLICKED), 3);
  // The keyboard too: space on the focused box.
  SetFocus(automatic);
  guitest::PressKey(VK_SPACE);
  guitest::Pump(60);
  EXPECT_EQ(SendMessageA(automatic, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(Count(automatic, BN_CLICKED), 4);
  guitest::Click(POINT{26, 60});
  guitest::Pump(60);
  EXPECT_EQ(Count(plain, BN_CLICKED), 1);
  EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), 0);
  SendMessageA(plain, BM_SETCHECK, 1, 0);
  EXPECT_EQ(SendMessageA(plain, BM_GETSTATE, 0, 0) & BST_CHECKED, BST_CHECKED);
  EXPECT_EQ(BmpButtonRecord(plain)->state & kButtonChecked, kButtonChecked);
  // Disabled and checked: image 2 (no image 5 among the shared ones).
  EnableWindow(automatic, FALSE);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(22, 30), Colour(kCheck + 2));
}

TEST_F(Button, PushLikeCheckBoxShowsItsPressedFaceWhileChecked) {
  HWND b = Make("Mute", BS_AUTOCHECKBOX | 0x1000, RECT{20, 20, 100, 44}, 5);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(24, 21), Colour(kMiddle));
  guitest::Click(POINT{60, 30});
  guitest::Pump(60);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), 1);
  EXPECT_EQ(guitest::ScreenPixel(24, 21), Colour(kMiddle + 1));
  EXPECT_GE(Find(RECT{20, 20, 100, 44}, Colour(kText + 1)).x, 0);
}

TEST_F(Button, AutoRadioButtonsUncheckTheirGroupOnly) {
  HWND r1 = Make("Fast", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, RECT{20, 20, 140, 40}, 11);
  HWND r2 = Make("Slow", BS_AUTORADIOBUTTON, RECT{20, 50, 140, 70}, 12);
  HWND r3 = Make("Off", BS_AUTORADIOBUTTON, RECT{20, 80, 140, 100}, 13);
  HWND other = Make("White", BS_AUTORADIOBUTTON | WS_GROUP, RECT{200, 20, 320, 40}, 14);
  SendMessageA(r1, BM_SETCHECK, 1, 0);
  SendMessageA(other, BM_SETCHECK, 1, 0);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(22, 30), Colour(kRadio + 1));
  guitest::Click(POINT{26, 60});
  guitest::Pump(60);
  EXPECT_EQ(SendMessageA(r1, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(SendMessageA(r2, BM_GETCHECK, 0, 0), 1);
  EXPECT_EQ(SendMessageA(r3, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(SendMessageA(other, BM_GETCHECK, 0, 0), 1) << "another group";
  guitest::Click(POINT{26, 90});
  guitest::Pump(60);
  EXPECT_EQ(SendMessageA(r2, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(SendMessageA(r3, BM_GETCHECK, 0, 0), 1);
  EXPECT_EQ(SendMessageA(other, BM_GETCHECK, 0, 0), 1);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(22, 30), Colour(kRadio));
  EXPECT_EQ(guitest::ScreenPixel(22, 90), Colour(kRadio + 1));
  EXPECT_EQ(Count(r3, BN_CLICKED), 1);
}

TEST_F(Button, ShapedButtonIgnoresClicksOnTransparentPixels) {
  HWND b = Make("", 0, RECT{100, 20, 160, 60}, 7);
  // Mask 40 x 30: the left half transparent; the button is 60 x 24.
  PackedDib* mask = Piece(40, 30, kMask);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 20; ++x) *static_cast<uint8_t*>(dibGetPixelAddress(mask, x, y)) = 0;
  EXPECT_EQ(SendMessageA(b, BBM_CCM_SETDIB, 4, LPARAM(mask)), 0);
  Show();
  struct Case {
    POINT screen;
    bool clicks;
  } cases[] = {{{105, 30}, false},
               {{119, 40}, false},
               {{120, 30}, true},
               {{139, 22}, true},
               {{150, 30}, false} /* beyond the mask */};
  int clicks = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessageA(b, WM_NCHITTEST, 0, MAKELPARAM(c.screen.x, c.screen.y)),
              c.clicks ? HTCLIENT : HTNOWHERE)
        << c.screen.x << "," << c.screen.y;
    guitest::Click(c.screen);
    guitest::Pump(60);
    clicks += c.clicks;
    EXPECT_EQ(Count(b, BN_CLICKED), clicks) << c.screen.x << "," << c.screen.y;
  }
}

TEST_F(Button, NotifyStyleTellsTheParentOfClientHits) {
  std::vector<std::pair<WPARAM, LPARAM>> notices;
  HWND parent = guitest::CreateTestWindow(
      RECT{0, 0, 200, 100}, [&](HWND, UINT m, WPARAM wp, LPARAM lp, bool*) -> LRESULT {
        if (m == WM_PARENTNOTIFY && LOWORD(wp) != WM_CREATE && LOWORD(wp) != WM_DESTROY)
          notices.push_back({wp, lp});
        return 0;
      });
  HWND notify = CreateWindowExA(0, "CGUIBMPButton", "", WS_CHILD | WS_VISIBLE | BS_NOTIFY, 10, 10, 60, 24,
                                parent, HMENU(21), nullptr, nullptr);
  HWND quiet = CreateWindowExA(0, "CGUIBMPButton", "", WS_CHILD | WS_VISIBLE, 100, 10, 60, 24, parent,
                               HMENU(22), nullptr, nullptr);
  EXPECT_EQ(SendMessageA(notify, WM_NCHITTEST, 0, MAKELPARAM(20, 20)), HTCLIENT);
  EXPECT_EQ(SendMessageA(quiet, WM_NCHITTEST, 0, MAKELPARAM(110, 20)), HTCLIENT);
  guitest::Pump(50);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].first, MAKEWPARAM(21, WM_NCHITTEST));
  EXPECT_EQ(HWND(notices[0].second), notify);
  DestroyWindow(parent);
}

TEST_F(Button, HoverImageShowsOverOpaquePixelsButNotWhenPushed) {
  HWND b = Make("", 0, RECT{100, 20, 160, 44}, 7, 0x200000);
  PackedDib* hover = Piece(60, 24, kMask);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 10; ++x) *static_cast<uint8_t*>(dibGetPixelAddress(hover, x, y)) = 0;
  SendMessageA(b, BBM_CCM_SETDIB, 4, LPARAM(hover));
  guitest::MoveMouse(POINT{390, 230});  // away from the button
  SetFocus(b);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(140, 22), Colour(kMiddle));
  guitest::MoveMouse(POINT{130, 30});
  guitest::Pump(80);
  EXPECT_EQ(guitest::ScreenPixel(140, 22), Colour(kMask)) << "hover over the opaque part";
  EXPECT_EQ(BmpButtonRecord(b)->state & kButtonHover, kButtonHover);
  guitest::MoveMouse(POINT{103, 30});
  guitest::Pump(80);
  EXPECT_EQ(guitest::ScreenPixel(140, 22), Colour(kMiddle)) << "over a transparent pixel";
  guitest::MoveMouse(POINT{130, 30});
  guitest::Pump(80);
  SendMessageA(b, BM_SETSTATE, 1, 0);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(140, 22), Colour(kMiddle + 1)) << "pushed keeps image 1";
  SendMessageA(b, BM_SETSTATE, 0, 0);
  // Hover without a hover image keeps the button's face.
  HWND bare = Make("", 0, RECT{200, 20, 260, 44}, 8, 0x200000);
  ASSERT_NE(bare, nullptr);
  guitest::MoveMouse(POINT{230, 30});
  guitest::Pump(80);
  EXPECT_EQ(guitest::ScreenPixel(240, 22), Colour(kMiddle));
}

TEST_F(Button, RepeatPeriodAndNoticesWhileHeld) {
  HWND plain = Make("", 0, RECT{20, 20, 100, 44}, 5);
  EXPECT_EQ(SendMessageA(plain, BBM_SETREPEAT, 0, 0), 200);
  EXPECT_EQ(SendMessageA(plain, BBM_SETREPEAT, 0, 0), 200) << "0 only reads";
  EXPECT_EQ(SendMessageA(plain, BBM_SETREPEAT, 40, 0), 200);
  EXPECT_EQ(SendMessageA(plain, BBM_SETREPEAT, 0, 0), 40);

  HWND repeat = Make("More", 0x1000, RECT{120, 20, 200, 44}, 6);
  SendMessageA(repeat, BBM_SETREPEAT, 40, 0);
  Show();
  SetCursorPos(160, 30);
  guitest::Pump(30);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  EXPECT_TRUE(guitest::WaitFor([&] { return Count(repeat, BBN_REPEAT) >= 3; }, 2000));
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  EXPECT_TRUE(guitest::WaitFor([&] { return Count(repeat, BN_CLICKED) == 1; }, 1000));
  int after = Count(repeat, BBN_REPEAT);
  guitest::Pump(200);
  EXPECT_EQ(Count(repeat, BBN_REPEAT), after) << "released: no more repeats";
  for (auto& c : commands) {
    if (HIWORD(c.first) == BBN_REPEAT) {
      EXPECT_EQ(LOWORD(c.first), 6);
    }
  }
  // A button without the repeat bit sends none while held.
  SendMessageA(plain, BM_SETSTATE, 1, 0);
  guitest::Pump(150);
  SendMessageA(plain, BM_SETSTATE, 0, 0);
  EXPECT_EQ(Count(plain, BBN_REPEAT), 0);
}

TEST_F(Button, FocusNoticesAndFocusedFace) {
  HWND b = Make("Go", BS_NOTIFY | 0x80000, RECT{20, 20, 100, 44}, 5);
  HWND other = Make("No", 0, RECT{120, 20, 200, 44}, 6);
  Show();
  SetFocus(b);
  Show();
  EXPECT_EQ(Count(b, BN_SETFOCUS), 1);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_FOCUS, BST_FOCUS);
  EXPECT_EQ(guitest::ScreenPixel(24, 21), Colour(kMiddle + 3));
  SetFocus(other);
  Show();
  EXPECT_EQ(Count(b, BN_KILLFOCUS), 1);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_FOCUS, 0);
  EXPECT_EQ(guitest::ScreenPixel(24, 21), Colour(kMiddle));
  EXPECT_EQ(Count(other, BN_SETFOCUS), 0) << "no BS_NOTIFY";
}

TEST_F(Button, ResourceFacesSizeTheButtonAndSurviveTextChanges) {
  HWND full = Make("", BS_AUTOCHECKBOX | 0x80, RECT{20, 20, 30, 30}, kButtonFacesFull);
  HWND noFive = Make("", BS_AUTOCHECKBOX | 0x80, RECT{100, 20, 110, 30}, kButtonFacesNoFive);
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(GetWindowLongA(full, GWL_STYLE) & 0x80, 0) << "the bitmap bit leaves the live style";
  RECT r;
  GetWindowRect(full, &r);
  EXPECT_EQ(r.right - r.left, 40);
  EXPECT_EQ(r.bottom - r.top, 20);
  BmpButtonData* data = BmpButtonRecord(full);
  EXPECT_EQ(data->images[4], data->images[0]) << "a missing hover image takes the normal one";
  EXPECT_EQ(data->images[3], nullptr);
  Show();
  // Resource pixels are id & 255.
  EXPECT_EQ(guitest::ScreenPixel(30, 30), Colour(300 & 255));
  SendMessageA(full, BM_SETCHECK, 1, 0);
  SendMessageA(noFive, BM_SETCHECK, 1, 0);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(30, 30), Colour(301 & 255));
  EnableWindow(full, FALSE);
  EnableWindow(noFive, FALSE);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(30, 30), Colour(305 & 255)) << "image 5";
  EXPECT_EQ(guitest::ScreenPixel(110, 30), Colour(312 & 255)) << "no image 5: image 2";
  SetWindowTextA(full, "Renamed");
  Show();
  char text[16] = "";
  GetWindowTextA(full, text, sizeof text);
  EXPECT_STREQ(text, "Renamed");
  EXPECT_EQ(BmpButtonRecord(full)->images[0], data->images[0]);
  EXPECT_EQ(guitest::ScreenPixel(30, 30), Colour(305 & 255));
}

TEST_F(Button, OnlyTheButtonsOwnFacesAreFreed) {
  HWND check = Make("Ponder", BS_AUTOCHECKBOX, RECT{20, 20, 140, 40}, 5);
  HWND radio = Make("Fast", BS_AUTORADIOBUTTON, RECT{20, 50, 140, 70}, 6);
  HWND resource = Make("", BS_PUSHBUTTON | 0x80, RECT{200, 20, 210, 30}, kButtonFacesFull);
  HWND push = Make("Go", 0, RECT{200, 80, 280, 104}, 8);
  EXPECT_EQ(BmpButtonRecord(check)->images[1], d->checkImages[1]);
  // CCM_FREEDIB hands back a shared image without freeing it ...
  EXPECT_EQ(SendMessageA(check, BBM_CCM_FREEDIB, 0, 0), LRESULT(d->checkImages[0]));
  EXPECT_EQ(BmpButtonRecord(check)->images[0], nullptr);
  EXPECT_EQ(memTag_rel(d->checkImages[0]), HEAPKIT_TAG_RW);
  EXPECT_EQ(SendMessageA(check, BBM_CCM_FREEDIB, 5, 0), 0);
  // ... and frees a built face.
  EXPECT_NE(SendMessageA(push, BBM_CCM_FREEDIB, 0, 0), 0);
  EXPECT_EQ(SendMessageA(push, BBM_CCM_FREEDIB, 0, 0), 0) << "already gone";
  // A face handed in by a caller is the caller's again when replaced.
  PackedDib* mine = Piece(80, 24, kMask);
  PackedDib* built = reinterpret_cast<PackedDib*>(SendMessageA(push, BBM_CCM_SETDIB, 1, LPARAM(mine)));
  ASSERT_NE(built, nullptr);
  owned.push_back(built);  // now ours
  EXPECT_EQ(SendMessageA(push, BM_SETIMAGE, 6, 0), 0);
  DestroyWindow(check);
  DestroyWindow(radio);
  DestroyWindow(resource);
  DestroyWindow(push);
  // The shared images are still live blocks (a freed one fails the heap check).
  for (int s = 0; s < 4; ++s) {
    EXPECT_EQ(memTag_rel(d->checkImages[s]), HEAPKIT_TAG_RW);
    EXPECT_EQ(memTag_rel(d->radioImages[s]), HEAPKIT_TAG_RW);
  }
  EXPECT_EQ(memTag_rel(mine), HEAPKIT_TAG_RW);
  // The resource faces still read as bitmaps for the next button.
  HWND again = Make("", BS_PUSHBUTTON | 0x80, RECT{200, 20, 210, 30}, kButtonFacesFull);
  EXPECT_EQ(BmpButtonRecord(again)->images[0]->biWidth, 40);
}

TEST_F(Button, SetDibRepaintsOnlyTheShownImage) {
  HWND b = Make("", 0, RECT{20, 20, 100, 44});
  Show();
  ValidateRect(b, nullptr);
  SendMessageA(b, BBM_CCM_SETDIB, 2, LPARAM(Piece(80, 24, kMask)));
  EXPECT_FALSE(GetUpdateRect(b, nullptr, FALSE)) << "image 2 is not shown";
  SendMessageA(b, BBM_CCM_SETDIB, 0, LPARAM(Piece(80, 24, kMask + 1)));
  EXPECT_EQ(guitest::ScreenPixel(60, 30), Colour(kMask + 1)) << "drawn at once";
  owned.push_back(
      reinterpret_cast<PackedDib*>(SendMessageA(b, BBM_CCM_SETDIB, 3, 0)));  // null: nothing there
  EXPECT_EQ(owned.back(), nullptr);
  EXPECT_EQ(SendMessageA(b, BBM_CCM_SETDIB, 5, LPARAM(Piece(2, 2, 1))), 0) << "index above 4";
}

TEST_F(Button, TransparentButtonDrawsOverItsBackgroundCopy) {
  HWND b = Make("", 0, RECT{20, 20, 100, 44}, 5, WS_EX_TRANSPARENT);
  PackedDib* face = Piece(80, 24, kMask);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 40; ++x) *static_cast<uint8_t*>(dibGetPixelAddress(face, x, y)) = 0;
  SendMessageA(b, BBM_CCM_SETDIB, 0, LPARAM(face));
  SetWindowPos(b, nullptr, 21, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // a move asks for the background
  Show();
  EXPECT_EQ(guitest::ScreenPixel(30, 30), Colour(backgroundIndex)) << "transparent pixels: background";
  EXPECT_EQ(guitest::ScreenPixel(90, 30), Colour(kMask));
  EXPECT_EQ(guitest::ScreenPixel(90, 43), Colour(kMask)) << "the bottom row";
  // A tall one: creation alone fills its background copy.
  HWND tall = Make("", 0, RECT{120, 20, 176, 76}, 6, WS_EX_TRANSPARENT);
  PackedDib* half = Piece(56, 56, kMask);
  for (int y = 0; y < 56; ++y)
    for (int x = 0; x < 28; ++x) *static_cast<uint8_t*>(dibGetPixelAddress(half, x, y)) = 0;
  SendMessageA(tall, BBM_CCM_SETDIB, 0, LPARAM(half));
  Show();
  for (int y : {20, 48, 75}) {
    EXPECT_EQ(guitest::ScreenPixel(160, y), Colour(kMask)) << y;
    EXPECT_EQ(guitest::ScreenPixel(130, y), Colour(backgroundIndex)) << y;
  }
}

// A new size gives a new background copy; it must show what lies under the
// button at once, whether or not the button moves in the same step (a move
// is told before the size).
TEST_F(Button, TransparentButtonKeepsItsBackgroundWhenResized) {
  HWND sized = Make("", 0, RECT{20, 20, 100, 44}, 5, WS_EX_TRANSPARENT);
  HWND both = Make("", 0, RECT{20, 60, 100, 84}, 6, WS_EX_TRANSPARENT);
  PackedDib* face = Piece(80, 24, kMask);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 40; ++x) *static_cast<uint8_t*>(dibGetPixelAddress(face, x, y)) = 0;
  SendMessageA(sized, BBM_CCM_SETDIB, 0, LPARAM(face));
  SendMessageA(both, BBM_CCM_SETDIB, 0, LPARAM(face));
  SetWindowPos(sized, nullptr, 0, 0, 90, 24, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowPos(both, nullptr, 21, 60, 90, 24, SWP_NOZORDER);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(30, 30), Colour(backgroundIndex)) << "resized";
  EXPECT_EQ(guitest::ScreenPixel(30, 70), Colour(backgroundIndex)) << "moved and resized";
  EXPECT_EQ(guitest::ScreenPixel(90, 70), Colour(kMask));
}

TEST_F(Button, GroupBoxDrawsItsLinesAndCaption) {
  Make("Engine", BS_GROUPBOX, RECT{20, 20, 200, 120}, 5);
  Show();
  EXPECT_EQ(guitest::ScreenPixel(20, 80), Colour(20)) << "outer line, left";
  EXPECT_EQ(guitest::ScreenPixel(21, 80), Colour(21)) << "inner line, left";
  EXPECT_EQ(guitest::ScreenPixel(199, 80), Colour(20)) << "outer line, right";
  EXPECT_EQ(guitest::ScreenPixel(100, 119), Colour(20)) << "outer line, bottom";
  EXPECT_EQ(guitest::ScreenPixel(180, 28), Colour(20)) << "outer line, top right of the caption";
  EXPECT_GE(Find(RECT{28, 19, 90, 36}, Colour(22)).x, 0) << "caption";
}

}  // namespace
