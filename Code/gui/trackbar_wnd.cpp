// CGUITrackbar: the system track bar with its range, position, keyboard and
// mouse dragging and its notifications, painted by the library instead: an
// 8-bit background bitmap (the parent's background or the track colour,
// with the channel on it) and a thumb bitmap laid over it in the shared
// palette.
//
// Interface: RegisterTrackbarClass.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstring>

#include "basic_controls.h"
#include "control_art.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "heapkit.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUITrackbar";
// Style bits of the library's own that the system class must not see.
constexpr LONG kLibraryStyleBits = 0xF000;

WNDPROC g_systemProc = nullptr;
int g_systemExtra = 0;  // our record pointer follows the system class's bytes

struct TrackbarRecord {
  DWORD creationStyle;
  RECT client;
  PackedDib* thumb;       // thumb face, the size of the thumb rectangle
  PackedDib* background;  // client-sized: the background with the channel
  int32_t geometry[4];    // thumb and client sizes at the last rebuild
};

// What the parent's window procedure gets with CWM_GETBACKGROUND: the
// control's rectangle in the parent's client area, and the bitmap to paint.
struct BackgroundRequest {
  RECT rect;
  PackedDib* bitmap;
};

TrackbarRecord* RecordOf(HWND w) {
  return reinterpret_cast<TrackbarRecord*>(GetWindowLongPtrA(w, g_systemExtra));
}

LRESULT System(HWND w, UINT m, WPARAM wp, LPARAM lp) { return CallWindowProcA(g_systemProc, w, m, wp, lp); }

RECT SystemRect(HWND w, UINT message) {
  RECT r{0, 0, 0, 0};
  System(w, message, 0, LPARAM(&r));
  return r;
}

// The system part works out where its thumb lies only while it paints
// itself. It paints into a memory bitmap that is never shown, so that the
// thumb rectangle follows the position before it is drawn or hit.
void UpdateSystemLayout(HWND w) {
  HDC screen = GetDC(w);
  if (!screen) return;
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
  if (memory && bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    System(w, WM_PRINTCLIENT, WPARAM(memory), PRF_CLIENT);
    SelectObject(memory, old);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  ReleaseDC(w, screen);
}

int32_t HeightOf(const PackedDib* dib) { return dib->biHeight < 0 ? -dib->biHeight : dib->biHeight; }

DibRect ToDib(const RECT& r) { return DibRect{r.left, r.top, r.right, r.bottom}; }

HPALETTE SelectDefaultsPalette(HDC dc, const CcDefaults* d) {
  return d->palette ? SelectAndRealizePalette(dc, nullptr, d->palette) : nullptr;
}

void FreeBitmaps(TrackbarRecord* rec) {
  dibDelete(rec->thumb);
  dibDelete(rec->background);
  rec->thumb = rec->background = nullptr;
}

// New bitmaps for the current client and thumb sizes: the background
// cleared, the thumb filled with its colour and given a raised edge.
void RebuildBitmaps(HWND w, TrackbarRecord* rec, const CcDefaults* d) {
  FreeBitmaps(rec);
  GetClientRect(w, &rec->client);
  rec->background = dibCreateWithColors(rec->client.right, rec->client.bottom, 8);
  if (rec->background) {
    dibColorsToIndices(rec->background);
    dibFillWithColor(rec->background, 0);
  }
  RECT thumb = SystemRect(w, TBM_GETTHUMBRECT);
  OffsetRect(&thumb, -thumb.left, -thumb.top);
  rec->thumb = dibCreateWithColors(thumb.right, thumb.bottom, 8);
  if (rec->thumb) {
    dibColorsToIndices(rec->thumb);
    dibFillWithColor(rec->thumb, uint8_t(d->trackThumb));
    ArtRaisedEdge(rec->thumb, ToDib(thumb), uint8_t(d->lightEdge), uint8_t(d->darkEdge));
  }
  const int32_t geometry[4] = {thumb.right, thumb.bottom, rec->client.right, rec->client.bottom};
  std::memcpy(rec->geometry, geometry, sizeof geometry);
}

// The background: the parent's own (transparent style) or the track colour,
// and the channel with its raised edge.
void FillBackground(HWND w, TrackbarRecord* rec, const CcDefaults* d) {
  PackedDib* bg = rec->background;
  if (!bg) return;
  dibFillWithColor(bg, 0);
  const int32_t width = bg->biWidth, height = HeightOf(bg);
  HWND parent = GetParent(w);
  if ((GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TRANSPARENT) && parent) {
    BackgroundRequest request{};
    GetWindowRectInParent(w, &request.rect);
    if (request.rect.right - request.rect.left > width) request.rect.right = request.rect.left + width;
    if (request.rect.bottom - request.rect.top > height) request.rect.bottom = request.rect.top + height;
    request.bitmap = bg;
    CallWindowProcedure(parent, CWM_GETBACKGROUND, 0, LPARAM(&request));
  } else {
    ArtFill(bg, DibRect{0, 0, width, height}, uint8_t(d->trackBackground));
  }
  DibRect channel = ToDib(SystemRect(w, TBM_GETCHANNELRECT));
  ArtFill(bg, channel, uint8_t(d->trackChannel));
  ArtRaisedEdge(bg, channel, uint8_t(d->lightEdge), uint8_t(d->darkEdge));
}

// The part of the background bitmap inside `area`, one to one.
void ShowBackground(HDC dc, const PackedDib* bg, RECT area) {
  RECT all{0, 0, bg->biWidth, HeightOf(bg)};
  if (!IntersectRect(&area, &area, &all)) return;
  dibDisplay(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, area.left, area.top,
             bg);
}

// The thumb over the background pixels under it, index 0 of the thumb
// bitmap letting them show.
void ShowThumb(HWND w, HDC dc, const TrackbarRecord* rec) {
  RECT r = SystemRect(w, TBM_GETTHUMBRECT);
  const int32_t width = r.right - r.left, height = r.bottom - r.top;
  PackedDib* work = dibCreateWithColors(width, height, 8);
  if (!work) return;
  dibColorsToIndices(work);
  dibFillWithColor(work, 0);
  ArtClippedCopy(work, rec->background, 0, 0, r.left, r.top, width, height, false);
  ArtClippedCopy(work, rec->thumb, 0, 0, 0, 0, width, height, true);
  dibDisplay(dc, r.left, r.top, width, height, 0, 0, work);
  dibDelete(work);
}

void Paint(HWND w, TrackbarRecord* rec, const CcDefaults* d) {
  UpdateSystemLayout(w);
  // A new thumb length (TBM_SETTHUMBLENGTH) moves the channel too: the
  // bitmaps follow as they do on a resize.
  RECT thumb = SystemRect(w, TBM_GETTHUMBRECT);
  if (thumb.right - thumb.left != rec->geometry[0] || thumb.bottom - thumb.top != rec->geometry[1]) {
    RebuildBitmaps(w, rec, d);
    FillBackground(w, rec, d);
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  HPALETTE old = SelectDefaultsPalette(dc, d);
  if (HWND parent = GetParent(w)) SendMessageA(parent, WM_CTLCOLORBTN, WPARAM(dc), LPARAM(w));
  if (rec->background) {
    RECT all{0, 0, rec->background->biWidth, HeightOf(rec->background)};
    ShowBackground(dc, rec->background, ps.fErase ? all : ps.rcPaint);
  }
  ShowThumb(w, dc, rec);
  if (old) SelectPalette(dc, old, FALSE);
  EndPaint(w, &ps);
}

LRESULT EraseBackground(HWND w, HDC dc, const TrackbarRecord* rec, const CcDefaults* d) {
  HPALETTE old = SelectDefaultsPalette(dc, d);
  if (HWND parent = GetParent(w)) SendMessageA(parent, WM_CTLCOLORBTN, WPARAM(dc), LPARAM(w));
  if (rec->background)
    dibDisplay(dc, 0, 0, rec->background->biWidth, HeightOf(rec->background), 0, 0, rec->background);
  if (old) SelectPalette(dc, old, FALSE);
  return 1;
}

LRESULT Create(HWND w, UINT m, CREATESTRUCTA* cs) {
  if (m == WM_NCCREATE) {
    auto* rec = static_cast<TrackbarRecord*>(memAlloc_rel(sizeof(TrackbarRecord), HEAPKIT_TAG_RW));
    if (rec) {
      std::memset(rec, 0, sizeof *rec);
      rec->creationStyle = cs ? DWORD(cs->style) : 0;
    }
    SetWindowLongPtrA(w, g_systemExtra, reinterpret_cast<LONG_PTR>(rec));
    SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) & ~kLibraryStyleBits);
  }
  // The system part takes its style from the creation record too.
  if (cs) cs->style &= ~kLibraryStyleBits;
  return System(w, m, 0, LPARAM(cs));
}

LRESULT CALLBACK TrackbarProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCCREATE || m == WM_CREATE) return Create(w, m, reinterpret_cast<CREATESTRUCTA*>(lp));
  TrackbarRecord* rec = RecordOf(w);
  if (m == WM_NCDESTROY) {
    if (rec) {
      FreeBitmaps(rec);
      memFree_rel(rec);
      SetWindowLongPtrA(w, g_systemExtra, 0);
    }
    return System(w, m, wp, lp);
  }
  const CcDefaults* d = ccGetDefaultData();
  if (!rec || !d) return System(w, m, wp, lp);
  switch (m) {
    case WM_SIZE: {
      // The system part lays out its channel and thumb for the new size
      // first; the bitmaps follow them, and the background is drawn again
      // at once (a resize that does not move keeps its channel).
      LRESULT result = System(w, m, wp, lp);
      RebuildBitmaps(w, rec, d);
      FillBackground(w, rec, d);
      return result;
    }
    case WM_MOVE: {
      LRESULT result = System(w, m, wp, lp);
      FillBackground(w, rec, d);
      return result;
    }
    case WM_ERASEBKGND:
      return EraseBackground(w, reinterpret_cast<HDC>(wp), rec, d);
    case WM_PAINT:
      Paint(w, rec, d);
      return 0;
    case WM_LBUTTONDOWN:
      UpdateSystemLayout(w);  // the press is tested against the thumb as shown
      break;
    case WM_KEYDOWN:
      if (wp == VK_TAB) {
        HandleDialogNavigationKey(w, wp);
        return 0;
      }
      break;
    case TBM_SETTIC:
    case TBM_SETRANGE:
    case TBM_SETRANGEMIN:
    case TBM_SETRANGEMAX:
    case TBM_CLEARTICS:
    case TBM_SETTICFREQ: {
      LRESULT result = System(w, m, wp, lp);
      GetClientRect(w, &rec->client);
      return result;
    }
    default:
      break;
  }
  return System(w, m, wp, lp);
}

}  // namespace

ATOM RegisterTrackbarClass(HINSTANCE module) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, TRACKBAR_CLASSA, &wc) && !GetClassInfoA(nullptr, "msctls_trackbar", &wc))
    return 0;
  g_systemProc = wc.lpfnWndProc;
  g_systemExtra = wc.cbWndExtra;
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_PARENTDC | CS_GLOBALCLASS;
  wc.lpfnWndProc = TrackbarProc;
  wc.cbWndExtra += kPointerSlotBytes;
  wc.hInstance = module;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}
