// The animated button on real windows under Wine, with frame sets packed at
// build time (see animframes): hover, frame loop, click, drag-off, the
// shared frame cache and the button's record.
//
// Frame k of the "tst" set shows RGB(10 + 6k, 250 - 5k, 100) in its centre,
// frames of "tstb" and "two" RGB(100, 250 - 5k, 10 + 6k); the click picture
// is red there. Presses follow each other closely, so each is made more
// than the double-click distance away from the one before. The 48 x 48 mask is a disc: the corners are
// see-through.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "controls.h"
#include "facet.h"
#include "guitest.h"
#include "winutil.h"
#include "heapkit.h"
#include "procdata.h"

namespace {

constexpr UINT_PTR kFrameTimer = 11;
constexpr COLORREF kClickColour = RGB(200, 40, 40);
constexpr COLORREF kPanelColour = RGB(150, 150, 160);
constexpr POINT kCentre{64, 64};      // of a button at (40, 40), 48 x 48
constexpr POINT kSeeThrough{42, 42};  // a corner of the same button, outside the disc
constexpr POINT kAway{300, 250};      // inside the host, away from every button

COLORREF TstColour(int k) { return RGB(10 + 6 * k, 250 - 5 * k, 100); }
COLORREF AltColour(int k) { return RGB(100, 250 - 5 * k, 10 + 6 * k); }

// The "tst" frame shown in a colour, or -1.
int TstFrameOf(COLORREF c) {
  for (int k = 0; k < 64; ++k)
    if (c == TstColour(k)) return k;
  return -1;
}

// The pixel at a point of the host (placed at the screen's origin), read
// from the child window there. guitest::ScreenPixel finds its window with
// WindowFromPoint, whose hit test a button would take for the mouse.
HWND g_host = nullptr;
COLORREF Pixel(POINT p) {
  HWND window = ChildWindowFromPointEx(g_host, p, CWP_SKIPINVISIBLE);
  if (!window) return CLR_INVALID;
  POINT local = p;
  MapWindowPoints(g_host, window, &local, 1);
  HDC dc = GetDC(window);
  COLORREF c = GetPixel(dc, local.x, local.y);
  ReleaseDC(window, dc);
  return c;
}

void SendButton(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
  guitest::Pump(30);
}

struct AnimButton : ::testing::Test {
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  HWND host = nullptr;

  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
    ccSetControlData(nullptr, ccInit(nullptr));
    std::strcpy(ccGetDefaultData()->programFolder, FACET_ANIM_PACK_DIR);
    guitest::MoveMouse(kAway);
    host = guitest::CreateTestWindow(RECT{0, 0, 400, 300},
                                     [this](HWND, UINT m, WPARAM wp, LPARAM lp, bool*) -> LRESULT {
                                       if (m == WM_COMMAND) commands.push_back({wp, lp});
                                       return 0;
                                     });
    g_host = host;
  }
  void TearDown() override {
    guitest::MoveMouse(kAway);
    DestroyWindow(host);
    UnregisterControlClasses();
    ResetProcessDataTable();
  }
  HWND Make(const char* text, int id = 7) {
    HWND b = CreateWindowExA(0, "AnimButton", text, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host,
                             HMENU(INT_PTR(id)), nullptr, nullptr);
    UpdateWindow(b);
    guitest::Pump(30);
    return b;
  }
  COLORREF Centre() { return Pixel(kCentre); }
};

TEST_F(AnimButton, ClassAsRegistered) {
  WNDCLASSA wc{};
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "AnimButton", &wc));
  EXPECT_EQ(wc.style, UINT(CS_GLOBALCLASS | CS_DBLCLKS));
  EXPECT_EQ(wc.cbClsExtra, 4);
  EXPECT_EQ(wc.cbWndExtra, kPointerSlotBytes);
  EXPECT_EQ(wc.hbrBackground, nullptr);
}

TEST_F(AnimButton, PlacedByItsCaptionAndShowsFrameZeroOnItsBackground) {
  HWND b = Make("Game {p:40,40 s:48,48 d:anim n:tst%02d.bmp #:30 r:15}");
  ASSERT_NE(b, nullptr);
  RECT r;
  GetWindowRect(b, &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right - r.left, 48);
  EXPECT_EQ(r.bottom - r.top, 48);
  EXPECT_EQ(Centre(), TstColour(0));
  // The frame's see-through corner shows the "_off" background.
  EXPECT_EQ(Pixel(POINT{41, 45}), kPanelColour);
}

TEST_F(AnimButton, HoverPlaysTheLoopOnTimerElevenAtTheCaptionsRate) {
  HWND b = Make("Game {p:40,40 s:48,48 d:anim n:tst%02d.bmp #:30 r:15}");
  guitest::MoveMouse(kCentre);
  EXPECT_EQ(GetCapture(), b) << "the hovered button holds the capture";
  ASSERT_TRUE(guitest::WaitForTimer(b, kFrameTimer, 1, 2000));
  DWORD start = GetTickCount();
  ASSERT_TRUE(guitest::WaitForTimer(b, kFrameTimer, 6, 3000));
  // Wine schedules each tick from the one before it was due, so a late first
  // tick on a busy machine is followed by some quick ones: allow two of six.
  EXPECT_GE(GetTickCount() - start, 4u * 66u) << "15 frames a second: a tick every 66 ms";
  guitest::Pump(20);
  int shown = TstFrameOf(Centre());
  EXPECT_GE(shown, 6);
  // Leaving stops the loop; the frame reached stays and the capture goes.
  guitest::MoveMouse(kAway);
  EXPECT_NE(GetCapture(), b);
  shown = TstFrameOf(Centre());
  EXPECT_GE(shown, 6);
  EXPECT_FALSE(guitest::WaitForTimer(b, kFrameTimer, 1, 300));
  EXPECT_EQ(TstFrameOf(Centre()), shown);
}

TEST_F(AnimButton, SeeThroughPartsNeitherAnimateNorPress) {
  HWND b = Make("Game {p:40,40 s:48,48 d:anim n:tst%02d.bmp #:30 r:15}");
  guitest::MoveMouse(kSeeThrough);
  EXPECT_FALSE(guitest::WaitForTimer(b, kFrameTimer, 1, 250));
  guitest::Click(kSeeThrough);
  guitest::Pump(50);
  EXPECT_TRUE(commands.empty());
  EXPECT_EQ(Centre(), TstColour(0));
}

TEST_F(AnimButton, ReleasingOverTheButtonClicksAndAfterDraggingOffDoesNot) {
  HWND b = Make("Game {p:40,40 s:48,48 d:anim n:tst%02d.bmp #:30 r:15}", 321);
  guitest::Click(kCentre);
  ASSERT_TRUE(guitest::WaitFor([&] { return !commands.empty(); }, 1000));
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].first, WPARAM(MAKEWPARAM(321, 0)));
  EXPECT_EQ(commands[0].second, LPARAM(b));
  commands.clear();

  struct Case {
    const char* name;
    POINT press;  // never where the press before was: no double click
    std::vector<POINT> dragPath;
    size_t clicks;
  };
  const Case cases[] = {
      {"off the window", {74, 64}, {kAway}, 0},
      {"onto a see-through corner", {54, 64}, {kSeeThrough}, 0},
      {"off and back", {74, 64}, {kAway, kCentre}, 1},
  };
  for (const Case& c : cases) {
    guitest::MoveMouse(c.press);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(Centre(), kClickColour) << c.name << ": the click picture while held";
    for (POINT p : c.dragPath) {
      guitest::MoveMouse(p);
      bool over = p.x == kCentre.x && p.y == kCentre.y;
      if (!over) {
        EXPECT_GE(TstFrameOf(Centre()), 0) << c.name << ": the resting frame while dragged off";
      } else {
        EXPECT_EQ(Centre(), kClickColour) << c.name << ": the click picture again";
      }
    }
    SendButton(MOUSEEVENTF_LEFTUP);
    guitest::Pump(100);
    EXPECT_EQ(commands.size(), c.clicks) << c.name;
    commands.clear();
    guitest::MoveMouse(kAway);
  }
}

TEST_F(AnimButton, AQuickDoubleClickIsTwoClicks) {
  Make("Game {p:40,40 s:48,48 d:anim n:tst%02d.bmp #:30 r:15}", 322);
  guitest::Click(kCentre);
  guitest::Click(kCentre);  // within the double-click time and distance
  guitest::Pump(100);
  EXPECT_EQ(commands.size(), 2u);
}

TEST_F(AnimButton, OneButtonIsHotAtATime) {
  HWND a = Make("{p:40,40 s:48,48 d:anim n:tst%02d.bmp #:30 r:20}", 1);
  HWND b = Make("{p:100,40 s:48,48 d:anim n:tst%02d.bmp #:30 r:20}", 2);
  guitest::MoveMouse(kCentre);
  EXPECT_EQ(GetCapture(), a);
  guitest::MoveMouse(POINT{124, 64});  // leaves A: it lets go
  guitest::MoveMouse(POINT{125, 64});  // and B takes over
  EXPECT_EQ(GetCapture(), b);
  EXPECT_TRUE(guitest::WaitForTimer(b, kFrameTimer, 2, 1000));
  EXPECT_FALSE(guitest::WaitForTimer(a, kFrameTimer, 1, 200));
}

TEST_F(AnimButton, HidingOrRestackingTheHotButtonEndsItsCapture) {
  struct Case {
    const char* name;
    void (*act)(HWND);
  };
  const Case cases[] = {
      {"hidden", [](HWND w) { ShowWindow(w, SW_HIDE); }},
      {"hidden by its position",
       [](HWND w) {
         SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
       }},
      {"moved in the Z order",
       [](HWND w) { SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }},
  };
  for (const Case& c : cases) {
    HWND b = Make("{p:40,40 s:48,48 d:anim n:tst%02d.bmp #:30 r:20}");
    guitest::MoveMouse(kCentre);
    ASSERT_EQ(GetCapture(), b) << c.name;
    c.act(b);
    EXPECT_NE(GetCapture(), b) << c.name;
    guitest::MoveMouse(kAway);
    DestroyWindow(b);
  }
}

// Runs the button's timer by hand and reads the frame shown after each tick.
std::vector<int> FramesAfterTicks(HWND button, size_t ticks, DWORD timeoutMs) {
  std::vector<int> frames;
  DWORD start = GetTickCount();
  while (frames.size() < ticks && GetTickCount() - start < timeoutMs) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (msg.message == WM_TIMER && msg.hwnd == button && msg.wParam == kFrameTimer)
      frames.push_back(TstFrameOf(Pixel(kCentre)));
  }
  return frames;
}

TEST_F(AnimButton, MoreThanFortyFramesLoopOverTheFortyCacheSlots) {
  HWND b = Make("{p:40,40 s:48,48 d:anim n:tst%02d.bmp #:50 r:100}");
  guitest::MoveMouse(kCentre);
  std::vector<int> frames = FramesAfterTicks(b, 45, 5000);
  ASSERT_EQ(frames.size(), 45u);
  int wraps = 0;
  for (size_t i = 0; i < frames.size(); ++i) {
    ASSERT_GE(frames[i], 0) << "tick " << i;
    ASSERT_LT(frames[i], 40) << "tick " << i;
    if (i > 0) {
      EXPECT_EQ(frames[i], (frames[i - 1] + 1) % 40) << "tick " << i;
      wraps += frames[i] == 0;
    }
  }
  EXPECT_GE(wraps, 1);
}

TEST_F(AnimButton, ARateAndCountOfZeroGiveOneFrameASecond) {
  for (const char* caption :
       {"{p:40,40 s:48,48 d:anim n:tst%02d.bmp #:0 r:0}", "{p:40,40 s:48,48 d:anim n:tst%02d.bmp}"}) {
    HWND b = Make(caption);
    guitest::MoveMouse(kCentre);
    DWORD start = GetTickCount();
    ASSERT_TRUE(guitest::WaitForTimer(b, kFrameTimer, 1, 3000)) << caption;
    EXPECT_GE(GetTickCount() - start, 800u) << caption;
    guitest::Pump(20);
    EXPECT_EQ(Centre(), TstColour(0)) << caption;
    guitest::MoveMouse(kAway);
    DestroyWindow(b);
  }
}

TEST_F(AnimButton, WithoutAMaskTheButtonIgnoresTheMouse) {
  HWND b = Make("{p:40,40 s:48,48 d:anim n:missing%02d.bmp #:4 r:20}");
  ASSERT_NE(b, nullptr);
  guitest::MoveMouse(kCentre);
  EXPECT_FALSE(guitest::WaitForTimer(b, kFrameTimer, 1, 250));
  guitest::Click(kCentre);
  guitest::Pump(50);
  EXPECT_TRUE(commands.empty());
}

TEST_F(AnimButton, PatternsWithOneTagShareFramesAndDestroyingOneEmptiesThem) {
  HWND a = Make("{p:40,40 s:48,48 d:anim n:tst%02d.bmp #:4 r:50}", 1);
  Make("{p:140,40 s:48,48 d:anim n:tstb%02d.bmp #:4 r:50}", 2);
  POINT bCentre{164, 64};
  EXPECT_EQ(Pixel(bCentre), AltColour(0));
  // A loads its frames 1..3 into the shared slots.
  guitest::MoveMouse(kCentre);
  ASSERT_TRUE(guitest::WaitForTimer(a, kFrameTimer, 4, 2000));
  guitest::MoveMouse(kAway);
  // B's next frame comes out of a slot that A filled.
  guitest::MoveMouse(bCentre);
  ASSERT_TRUE(guitest::WaitFor(
      [&] {
        COLORREF c = Pixel(bCentre);
        return c == TstColour(1) || c == TstColour(2) || c == TstColour(3);
      },
      2000));
  // Destroying A while B plays empties the slots: B goes on with its own frames.
  DestroyWindow(a);
  ASSERT_TRUE(guitest::WaitFor(
      [&] {
        COLORREF c = Pixel(bCentre);
        return c == AltColour(1) || c == AltColour(2) || c == AltColour(3);
      },
      2000));
  guitest::MoveMouse(kAway);
}

TEST_F(AnimButton, AButtonOfAnotherDataSetReadsItsOwnPack) {
  Make("{p:40,40 s:48,48 d:anim n:tst%02d.bmp #:4 r:10}", 1);
  Make("{p:140,40 s:48,48 d:anim2 n:two%02d.bmp #:4 r:10}", 2);
  EXPECT_EQ(Centre(), TstColour(0));
  EXPECT_EQ(Pixel(POINT{164, 64}), AltColour(0));
}

// The record lives in window word 0, from Heapkit, and goes with the window.
HWND g_destroyed = nullptr;
LONG_PTR g_wordAfterDestroy = -1;
LRESULT CALLBACK WatchDestroy(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lp);
  if (code >= 0 && m->message == WM_DESTROY && m->hwnd == g_destroyed)
    g_wordAfterDestroy = GetWindowLongPtrA(m->hwnd, 0);
  return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(AnimButton, TheRecordIsFreedWithTheWindow) {
  HWND b = Make("{p:40,40 s:48,48 d:anim n:tst%02d.bmp #:4 r:10}");
  void* record = reinterpret_cast<void*>(GetWindowLongPtrA(b, 0));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(memTag_rel(record), HEAPKIT_TAG_RW);
  g_destroyed = b;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, WatchDestroy, nullptr, GetCurrentThreadId());
  DestroyWindow(b);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(g_wordAfterDestroy, 0);
}

}  // namespace
