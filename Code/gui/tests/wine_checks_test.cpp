// The Win32 behaviours the toolkit relies on, checked where it runs: under
// Wine on a 24-bit X display with no window manager (and on Windows too).
// A failure here explains failures of the toolkit's own GUI tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "guitest.h"

#ifndef DIBINDEX  // not in every SDK
#define DIBINDEX(n) MAKELONG((n), 0x10FF)
#endif

namespace {

const COLORREF kGreen = RGB(10, 200, 30);
const COLORREF kPurple = RGB(200, 20, 90);

// A palette whose entries 50 and 60 are the two test colours, the rest grey.
HPALETTE TestPalette() {
  return guitest::MakePalette([](int i) {
    COLORREF c = i == 50 ? kGreen : i == 60 ? kPurple : RGB(128, 128, 128);
    return PALETTEENTRY{GetRValue(c), GetGValue(c), GetBValue(c), BYTE(i == 50 || i == 60 ? PC_NOCOLLAPSE : 0)};
  });
}

struct WineChecks : ::testing::Test {
  HWND window = nullptr;
  void SetUp() override {
    window = guitest::CreateTestWindow({100, 100, 300, 250});
    ASSERT_NE(window, nullptr);
    guitest::Pump(50);
  }
  void TearDown() override { DestroyWindow(window); }
  POINT ScreenOf(int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
  }
};

}  // namespace

// The toolkit draws in palette indices. On a true-colour screen there is no
// hardware palette (RC_PALETTE is clear), but PALETTEINDEX colours and
// DIB_PAL_COLORS tables still go through the palette selected into the DC.
TEST_F(WineChecks, PaletteIndexColoursOnATrueColourScreen) {
  HDC dc = GetDC(window);
  EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE, 0) << "the test display is expected at 24 bits";
  HPALETTE palette = TestPalette();
  HPALETTE old = SelectPalette(dc, palette, FALSE);
  RealizePalette(dc);
  HBRUSH brush = CreateSolidBrush(PALETTEINDEX(50));
  RECT r{0, 0, 40, 40};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  GdiFlush();
  EXPECT_EQ(GetPixel(dc, 20, 20), kGreen);
  SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
  DeleteObject(palette);
}

TEST_F(WineChecks, DibPalColorsDrawsIndicesThroughTheSelectedPalette) {
  struct {
    BITMAPINFOHEADER h;
    WORD indices[256];
  } info{};
  info.h.biSize = sizeof info.h;
  info.h.biWidth = 8;
  info.h.biHeight = 8;
  info.h.biPlanes = 1;
  info.h.biBitCount = 8;
  for (int i = 0; i < 256; ++i) info.indices[i] = WORD(i);
  unsigned char pixels[8 * 8];
  for (int i = 0; i < 64; ++i) pixels[i] = i < 32 ? 60 : 50;  // bottom-up: the lower half is 60
  HDC dc = GetDC(window);
  HPALETTE palette = TestPalette();
  HPALETTE old = SelectPalette(dc, palette, FALSE);
  RealizePalette(dc);
  int lines = StretchDIBits(dc, 50, 10, 8, 8, 0, 0, 8, 8, pixels, reinterpret_cast<BITMAPINFO*>(&info),
                            DIB_PAL_COLORS, SRCCOPY);
  EXPECT_EQ(lines, 8);
  GdiFlush();
  EXPECT_EQ(GetPixel(dc, 52, 11), kGreen) << "top rows";
  EXPECT_EQ(GetPixel(dc, 52, 16), kPurple) << "bottom rows";
  SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
  DeleteObject(palette);
}

// Drawing into an 8-bit DIB section with DIBINDEX writes the index itself.
TEST_F(WineChecks, DibIndexWritesTheIndexIntoA8BitSection) {
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colours[256];
  } info{};
  info.h.biSize = sizeof info.h;
  info.h.biWidth = 16;
  info.h.biHeight = -16;  // top-down
  info.h.biPlanes = 1;
  info.h.biBitCount = 8;
  for (int i = 0; i < 256; ++i) info.colours[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
  void* bits = nullptr;
  HBITMAP section =
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(section, nullptr);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBitmap = SelectObject(mem, section);
  HBRUSH brush = CreateSolidBrush(DIBINDEX(7));
  RECT r{0, 0, 16, 16};
  FillRect(mem, &r, brush);
  HPEN pen = CreatePen(PS_SOLID, 1, DIBINDEX(200));
  HGDIOBJ oldPen = SelectObject(mem, pen);
  MoveToEx(mem, 0, 3, nullptr);
  LineTo(mem, 16, 3);
  GdiFlush();
  auto* p = static_cast<unsigned char*>(bits);
  EXPECT_EQ(p[0], 7);
  EXPECT_EQ(p[3 * 16 + 5], 200);
  SelectObject(mem, oldPen);
  SelectObject(mem, oldBitmap);
  DeleteObject(pen);
  DeleteObject(brush);
  DeleteDC(mem);
  DeleteObject(section);
}

// Framed windows paint their own non-client area and follow activation.
// With no window manager Wine still sends WM_NCPAINT and WM_NCACTIVATE to a
// captioned window, and activation follows SetForegroundWindow.
TEST_F(WineChecks, NonClientPaintingAndActivationWithoutAWindowManager) {
  std::vector<UINT> seen;
  guitest::Handler record = [&](HWND, UINT msg, WPARAM, LPARAM, bool*) -> LRESULT {
    if (msg == WM_NCPAINT || msg == WM_NCACTIVATE || msg == WM_ACTIVATE) seen.push_back(msg);
    return 0;
  };
  HWND framed = guitest::CreateTestWindow({350, 100, 550, 250}, record, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(framed, nullptr);
  SetForegroundWindow(framed);
  guitest::Pump(100);
  auto has = [&](UINT m) { return std::find(seen.begin(), seen.end(), m) != seen.end(); };
  EXPECT_TRUE(has(WM_NCPAINT));
  EXPECT_TRUE(has(WM_NCACTIVATE));
  EXPECT_TRUE(has(WM_ACTIVATE));
  EXPECT_EQ(GetActiveWindow(), framed);
  // Activating another window deactivates this one's frame.
  seen.clear();
  SetForegroundWindow(window);
  SetActiveWindow(window);
  guitest::Pump(100);
  EXPECT_TRUE(has(WM_NCACTIVATE));
  EXPECT_EQ(GetActiveWindow(), window);
  // A non-client redraw on request reaches the window too.
  seen.clear();
  RedrawWindow(framed, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(has(WM_NCPAINT));
  DestroyWindow(framed);
}

namespace {

struct HookLog {
  std::vector<std::pair<UINT, HWND>> events;
  std::vector<UINT> hitCodes;
};
HookLog* g_hookLog = nullptr;

LRESULT CALLBACK LogMouse(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && g_hookLog) {
    auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
    g_hookLog->events.push_back({UINT(wParam), info->hwnd});
    g_hookLog->hitCodes.push_back(info->wHitTestCode);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// The toolkit's mouse capture rests on a thread WH_MOUSE hook that sees
// input from the system queue with the target window and hit-test code.
TEST_F(WineChecks, ThreadMouseHookSeesInputWithTargetAndHitCode) {
  HookLog log;
  g_hookLog = &log;
  HHOOK hook = SetWindowsHookExA(WH_MOUSE, LogMouse, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  guitest::Click(ScreenOf(30, 30));
  UnhookWindowsHookEx(hook);
  g_hookLog = nullptr;
  bool down = false;
  for (size_t i = 0; i < log.events.size(); ++i) {
    if (log.events[i].first == WM_LBUTTONDOWN) {
      down = true;
      EXPECT_EQ(log.events[i].second, window);
      EXPECT_EQ(log.hitCodes[i], UINT(HTCLIENT));
    }
  }
  EXPECT_TRUE(down) << "no button-down reached the hook (" << log.events.size() << " events)";
}

TEST_F(WineChecks, TimersAndScreenshots) {
  SetTimer(window, 5, 20, nullptr);
  EXPECT_TRUE(guitest::WaitForTimer(window, 5, 3, 2000));
  KillTimer(window, 5);
  HDC dc = GetDC(window);
  HBRUSH brush = CreateSolidBrush(kPurple);
  RECT r{0, 0, 200, 150};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  ReleaseDC(window, dc);
  EXPECT_EQ(guitest::ScreenPixel(150, 150), kPurple);
  EXPECT_EQ(guitest::FindWindowOfClass(nullptr, "RWGuiTestWindow") != nullptr, true);
#ifdef RW_GUI_ARTEFACT_DIR
  EXPECT_TRUE(guitest::Screenshot("wine_checks"));
#endif
}
