// Shared helpers: mouse hook, rectangle fills in palette colours, palettes,
// window utilities.
#include <gtest/gtest.h>

#include <vector>

#include "barframe.h"
#include "facet.h"
#include "guitest.h"
#include "mousehook.h"
#include "test_bitmaps.h"
#include "winutil.h"

namespace {

const COLORREF kEntry40 = RGB(250, 120, 0);
const COLORREF kEntry41 = RGB(10, 160, 250);
const COLORREF kEntry42 = RGB(90, 200, 40);

HPALETTE PaletteWith40() {
  std::vector<char> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) lp->palPalEntry[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
  lp->palPalEntry[40] = {GetRValue(kEntry40), GetGValue(kEntry40), GetBValue(kEntry40), PC_NOCOLLAPSE};
  lp->palPalEntry[41] = {GetRValue(kEntry41), GetGValue(kEntry41), GetBValue(kEntry41), PC_NOCOLLAPSE};
  lp->palPalEntry[42] = {GetRValue(kEntry42), GetGValue(kEntry42), GetBValue(kEntry42), PC_NOCOLLAPSE};
  return CreatePalette(lp);
}

struct MessageLog {
  std::vector<MSG> messages;
  bool Has(UINT m) const {
    for (const MSG& x : messages)
      if (x.message == m) return true;
    return false;
  }
  const MSG* Find(UINT m) const {
    for (const MSG& x : messages)
      if (x.message == m) return &x;
    return nullptr;
  }
};

guitest::Handler Recorder(MessageLog* log, UINT from, UINT to) {
  return [log, from, to](HWND w, UINT m, WPARAM wp, LPARAM lp, bool*) -> LRESULT {
    if (m >= from && m <= to) log->messages.push_back(MSG{w, m, wp, lp, 0, {0, 0}});
    return 0;
  };
}

POINT CentreOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

TEST(MouseHook, ACaptureWindowSeesClicksElsewhereAsNonClientMessages) {
  MessageLog captured, other;
  HWND capture = guitest::CreateTestWindow({50, 50, 150, 150}, Recorder(&captured, WM_NCMOUSEMOVE, 0xAF));
  HWND elsewhere =
      guitest::CreateTestWindow({300, 50, 400, 150}, Recorder(&other, WM_MOUSEFIRST, WM_MOUSELAST));
  ASSERT_EQ(BeginMouseCapture(capture), 1);
  POINT target = CentreOf(elsewhere);
  guitest::Click(target);
  EndMouseCapture();
  const MSG* down = captured.Find(WM_NCLBUTTONDOWN);
  ASSERT_NE(down, nullptr) << "the capture window did not hear of the click";
  EXPECT_EQ(short(LOWORD(down->lParam)), target.x) << "screen coordinates";
  EXPECT_EQ(short(HIWORD(down->lParam)), target.y);
  EXPECT_EQ(down->wParam, WPARAM(HTNOWHERE)) << "the event was not aimed at the capture window";
  EXPECT_FALSE(other.Has(WM_LBUTTONDOWN)) << "the hook swallows the event";
  // Once released, clicks reach their windows again.
  guitest::Click(target);
  EXPECT_TRUE(other.Has(WM_LBUTTONDOWN));
  DestroyWindow(capture);
  DestroyWindow(elsewhere);
}

TEST(MouseHook, AClickOnTheCaptureWindowCarriesItsHitTestCode) {
  MessageLog captured;
  HWND capture = guitest::CreateTestWindow({50, 200, 150, 300}, Recorder(&captured, WM_NCMOUSEMOVE, 0xAF));
  BeginMouseCapture(capture);
  guitest::Click(CentreOf(capture));
  EndMouseCapture();
  const MSG* down = captured.Find(WM_NCLBUTTONDOWN);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->wParam, WPARAM(HTCLIENT));
  DestroyWindow(capture);
}

TEST(MouseHook, AMenuOwnerIsToldOfEventsThatStillReachTheirWindows) {
  MessageLog owner, other;
  HWND menuOwner =
      guitest::CreateTestWindow({50, 350, 150, 450}, Recorder(&owner, CWM_MOUSEEVENT, CWM_MOUSEEVENT));
  HWND elsewhere =
      guitest::CreateTestWindow({300, 350, 400, 450}, Recorder(&other, WM_MOUSEFIRST, WM_MOUSELAST));
  SetMenuOwnerWindow(menuOwner);
  EXPECT_EQ(GetMenuOwnerWindow(), menuOwner);
  guitest::Click(CentreOf(elsewhere));
  guitest::Pump(50);
  ClearMenuOwnerWindow();
  EXPECT_EQ(GetMenuOwnerWindow(), nullptr);
  EXPECT_TRUE(other.Has(WM_LBUTTONDOWN));
  bool sawDown = false;
  for (const MSG& m : owner.messages) {
    if (HIWORD(m.wParam) == WM_LBUTTONDOWN) {
      sawDown = true;
      EXPECT_EQ(LOWORD(m.wParam), HTCLIENT);
      EXPECT_EQ(reinterpret_cast<HWND>(m.lParam), elsewhere);
    }
  }
  EXPECT_TRUE(sawDown);
  // With the owner cleared the hook is gone: nothing more is posted.
  owner.messages.clear();
  guitest::Click(CentreOf(elsewhere));
  EXPECT_TRUE(owner.messages.empty());
  DestroyWindow(menuOwner);
  DestroyWindow(elsewhere);
}

TEST(MouseHook, ChangingTheMenuOwnerKeepsTheCaptureWindowHooked) {
  MessageLog captured;
  HWND capture = guitest::CreateTestWindow({50, 500, 150, 600}, Recorder(&captured, WM_NCMOUSEMOVE, 0xAF));
  HWND owner = guitest::CreateTestWindow({300, 500, 400, 600});
  BeginMouseCapture(capture);
  SetMenuOwnerWindow(owner);
  SetMenuOwnerWindow(nullptr);
  guitest::Click(CentreOf(owner));
  EndMouseCapture();
  EXPECT_TRUE(captured.Has(WM_NCLBUTTONDOWN));
  DestroyWindow(capture);
  DestroyWindow(owner);
}

TEST(MouseHook, EndingACaptureLeavesTheSystemCaptureAnotherWindowTook) {
  HWND capture = guitest::CreateTestWindow({50, 50, 150, 150});
  HWND other = guitest::CreateTestWindow({300, 50, 400, 150});
  BeginMouseCapture(capture);
  EXPECT_EQ(GetCapture(), capture);
  SetCapture(other);  // e.g. a drag that starts while the capture window is hot
  EndMouseCapture();
  EXPECT_EQ(GetCapture(), other);
  ReleaseCapture();
  BeginMouseCapture(capture);
  EndMouseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  DestroyWindow(capture);
  DestroyWindow(other);
}

TEST(WindowUtilities, BitmapResourcesAreUsedInPlaceOnlyInTheLibrarysLayout) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  PackedDib* usable = LoadWritableBitmapResource(module, 19);
  ASSERT_NE(usable, nullptr);
  EXPECT_EQ(usable->biWidth, kScrollArrowWidth);
  // A 16-colour table: the 256-entry index table would be written over the
  // pixels and past the end, the pixels read from the wrong place.
  ASSERT_NE(FindResourceA(module, MAKEINTRESOURCEA(kShortTableBitmapId), MAKEINTRESOURCEA(2)), nullptr);
  EXPECT_EQ(LoadWritableBitmapResource(module, kShortTableBitmapId), nullptr);
  EXPECT_EQ(LoadWritableBitmapResource(module, kMissingBitmapId), nullptr);
}

TEST(WindowUtilities, NonClientMouseMessagesBecomeClientOnes) {
  HWND w = guitest::CreateTestWindow({200, 200, 300, 300});
  struct Case {
    UINT in, out;
  };
  const Case cases[] = {{0xA0, 0x200}, {0xA1, 0x201}, {0xA9, 0x209},
                        {0xAA, 0xAA},  {0x9F, 0x9F},  {0x201, 0x201}};
  for (const Case& c : cases) {
    UINT msg = c.in;
    WPARAM keys = 0xFFFF;
    LPARAM point = MAKELPARAM(210, 230);
    NonClientMouseToClient(w, &msg, &keys, &point);
    EXPECT_EQ(msg, c.out) << std::hex << c.in;
    EXPECT_EQ(keys, 0u) << "no key is held";
    EXPECT_EQ(short(LOWORD(point)), 10);
    EXPECT_EQ(short(HIWORD(point)), 30);
  }
  DestroyWindow(w);
}

TEST(WindowUtilities, RectanglesExtraWordsAndDirectCalls) {
  MessageLog parentLog;
  HWND parent =
      guitest::CreateTestWindow({100, 100, 400, 300}, Recorder(&parentLog, WM_NEXTDLGCTL, WM_NEXTDLGCTL));
  HWND child = CreateWindowExA(0, "RWGuiTestWindow", "", WS_CHILD | WS_VISIBLE, 20, 30, 50, 40, parent,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(child, nullptr);
  RECT r{};
  EXPECT_EQ(GetWindowRectInParent(child, &r), 1);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right, 70);
  EXPECT_EQ(r.bottom, 70);
  EXPECT_EQ(GetWindowRectInParent(nullptr, &r), 0);
  RECT screen{110, 120, 150, 160};
  ScreenRectToClient(parent, &screen);
  EXPECT_EQ(screen.left, 10);
  EXPECT_EQ(screen.bottom, 60);

  EXPECT_EQ(HandleDialogNavigationKey(child, VK_TAB), 1);
  EXPECT_EQ(HandleDialogNavigationKey(child, VK_LEFT), 0);
  EXPECT_EQ(HandleDialogNavigationKey(child, 'A'), 0);
  ASSERT_EQ(parentLog.messages.size(), 1u);
  EXPECT_EQ(parentLog.messages[0].wParam, 0u) << "Tab without Shift moves to the next control";

  const WCHAR text[] = L"Rook\0next";
  EXPECT_EQ(SkipWideString(text), text + 5);
  char narrow[8] = {};
  EXPECT_EQ(NarrowWideString(narrow, text), 4);
  EXPECT_STREQ(narrow, "Rook");
  DestroyWindow(parent);
}

TEST(WindowUtilities, ExtraLongsOfASuperclassFollowTheBaseBytes) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.cbWndExtra = 16;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "RWExtraTest";
  RegisterClassA(&wc);
  HWND w = CreateWindowA("RWExtraTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  SetExtraLong(w, 8, 1, 0x1234);
  EXPECT_EQ(GetWindowLongA(w, 12), 0x1234);
  EXPECT_EQ(GetExtraLong(w, 8, 1), 0x1234);
  EXPECT_EQ(CallWindowProcedure(w, WM_GETTEXTLENGTH, 0, 0), 0);
  DestroyWindow(w);
}

TEST(Drawing, RectanglesInPaletteColoursIncludeTheirBorder) {
  HWND w = guitest::CreateTestWindow({500, 100, 600, 200});
  HDC dc = GetDC(w);
  HPALETTE palette = PaletteWith40();
  HPALETTE old = SelectAndRealizePalette(dc, nullptr, palette);
  RECT r{10, 10, 30, 30};
  EXPECT_EQ(PaintRectWithPaletteIndex(dc, &r, 40), 0);
  GdiFlush();
  EXPECT_EQ(GetPixel(dc, 10, 10), kEntry40);
  EXPECT_EQ(GetPixel(dc, 29, 29), kEntry40) << "the border is painted too";
  EXPECT_NE(GetPixel(dc, 30, 30), kEntry40);
  HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(0, 0, 0));
  RECT h{40, 40, 60, 60};
  EXPECT_EQ(PaintRectWithBrush(dc, &h, hatch), 0);
  DeleteObject(hatch);
  EXPECT_EQ(PaintRectWithBrush(dc, nullptr, hatch), 1);
  EXPECT_EQ(PaintRectWithPaletteIndex(nullptr, &r, 40), 1);
  SelectPalette(dc, old, FALSE);
  ReleaseDC(w, dc);
  DeleteObject(palette);
  DestroyWindow(w);
}

TEST(Palettes, CopiesAndColourTables) {
  HPALETTE palette = PaletteWith40();
  HPALETTE copy = CopyPalette(palette);
  ASSERT_NE(copy, nullptr);
  PALETTEENTRY e{};
  EXPECT_EQ(GetPaletteEntries(copy, 0, 0, nullptr), 256u);
  GetPaletteEntries(copy, 40, 1, &e);
  EXPECT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), kEntry40);
  EXPECT_EQ(CopyPalette(nullptr), nullptr);

  PALETTEENTRY entries[2] = {{1, 2, 3, PC_NOCOLLAPSE}, {4, 5, 6, 0}};
  RGBQUAD quads[2];
  EXPECT_EQ(PaletteEntriesToRgbQuads(entries, quads, 2), 0);
  EXPECT_EQ(quads[0].rgbRed, 1);
  EXPECT_EQ(quads[0].rgbBlue, 3);
  EXPECT_EQ(quads[0].rgbReserved, 0);
  EXPECT_EQ(PaletteEntriesToRgbQuads(nullptr, quads, 2), 1);

  struct {
    BITMAPINFOHEADER h;
    RGBQUAD c[256];
  } info{};
  info.h = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP section =
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBitmap = SelectObject(mem, section);
  EXPECT_EQ(SetDibSectionColorsFromPalette(mem, palette), 256u);
  RGBQUAD table[256];
  GetDIBColorTable(mem, 0, 256, table);
  EXPECT_EQ(RGB(table[40].rgbRed, table[40].rgbGreen, table[40].rgbBlue), kEntry40);
  SelectObject(mem, oldBitmap);
  DeleteDC(mem);
  DeleteObject(section);
  DeleteObject(copy);
  DeleteObject(palette);
}

namespace {

PackedDib* Piece(int w, int h, int index) {
  PackedDib* dib = dibCreateWithColors(w, h, 8);
  dibFillWithColor(dib, index);
  return dib;
}

}  // namespace

TEST(Drawing, VerticalBarsAndClippedTilesOnADC) {
  HWND w = guitest::CreateTestWindow({500, 300, 560, 340});
  HDC dc = GetDC(w);
  HPALETTE palette = PaletteWith40();
  HPALETTE old = SelectAndRealizePalette(dc, nullptr, palette);
  RECT white{0, 0, 60, 40};
  FillRect(dc, &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

  // First 2 high, middle 3 high repeated, last 4 high against the bottom.
  PackedDib* first = Piece(3, 2, 40);
  PackedDib* middle = Piece(3, 3, 41);
  PackedDib* last = Piece(3, 4, 42);
  RECT bar{20, 0, 23, 15};
  EXPECT_EQ(PaintBarOnDC(dc, &bar, first, middle, last, 1), 1);
  // A 4 x 3 tile, left half 40 and right half 41, over a 10 x 7 rectangle.
  PackedDib* tile = dibCreateWithColors(4, 3, 8);
  PackedDib* left = Piece(2, 3, 40);
  PackedDib* right = Piece(2, 3, 41);
  BuildBarDib(tile, left, nullptr, right, 0);
  RECT tiled{30, 10, 40, 17};
  TileDibOnDC(dc, tile, &tiled);
  GdiFlush();
  struct Probe {
    int x, y;
    COLORREF colour;
  };
  const Probe probes[] = {
      {21, 0, kEntry40},
      {21, 1, kEntry40},
      {21, 2, kEntry41},
      {21, 10, kEntry41},
      {21, 11, kEntry42},
      {21, 14, kEntry42},
      {21, 15, RGB(255, 255, 255)},
      {23, 5, RGB(255, 255, 255)},
      {30, 10, kEntry40},
      {32, 10, kEntry41},
      {38, 16, kEntry40},
      {39, 16, kEntry40},  // last column and row cut
      {40, 16, RGB(255, 255, 255)},
      {38, 17, RGB(255, 255, 255)},
  };
  for (const Probe& p : probes) EXPECT_EQ(GetPixel(dc, p.x, p.y), p.colour) << p.x << "," << p.y;
  EXPECT_EQ(PaintBarOnDC(dc, &bar, nullptr, nullptr, nullptr, 1), 0);
  EXPECT_EQ(PaintBarOnDC(nullptr, &bar, first, nullptr, nullptr, 1), 0);
  for (PackedDib* p : {first, middle, last, tile, left, right}) dibDelete(p);
  SelectPalette(dc, old, FALSE);
  ReleaseDC(w, dc);
  DeleteObject(palette);
  DestroyWindow(w);
}
