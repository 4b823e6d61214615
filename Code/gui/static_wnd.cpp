// CGUIStatic: labels and pictures of the skinned dialogs. A superclass of
// the system static class with three modes by style: text drawn on the
// parent's own background, a picture, or text rendered into a picture.
//
// Interface: RegisterStaticClass.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "basic_controls.h"
#include "controls.h"
#include "ctt_glyph.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUIStatic";
constexpr DWORD kPictureMode = 0x400;
constexpr DWORD kRenderedTextMode = 0x800;
constexpr DWORD kBorderExStyle = 0x800;
constexpr WORD kNotPainted = 0x100;
constexpr LONG_PTR kNoText = -1;
enum : UINT {
  CCM_SETDIB = 0x8600,
  CCM_FREEDIB = 0x8630,
  CCM_SETCHARDIB = 0x8631,
  CCM_SETBUILDERFONT = 0x8642,
};
// Our extra bytes after those of the system class: the picture and builder
// pointers, the resource flag, and spare bytes (18 in all in the 32-bit build).
enum { kSlotPicture = 0, kSlotBuilder = kPointerSlotBytes, kSlotResourcePicture = 2 * kPointerSlotBytes };
constexpr int kOwnExtraBytes = kSlotResourcePicture + 10;

WNDPROC g_systemProc = nullptr;
int g_systemExtra = 0;

PackedDib* Picture(HWND w) {
  return reinterpret_cast<PackedDib*>(GetWindowLongPtrA(w, g_systemExtra + kSlotPicture));
}
// A picture loaded at creation lives in the module's resources and is
// never freed; others came from the heap.
void SetPicture(HWND w, PackedDib* p, bool fromResource) {
  SetWindowLongPtrA(w, g_systemExtra + kSlotPicture, reinterpret_cast<LONG_PTR>(p));
  SetWindowLongA(w, g_systemExtra + kSlotResourcePicture, fromResource ? 1 : 0);
}
void FreePicture(HWND w) {
  if (!GetWindowLongA(w, g_systemExtra + kSlotResourcePicture)) dibDelete(Picture(w));
  SetPicture(w, nullptr, false);
}

CttBuildStruct* Builder(HWND w) {
  return reinterpret_cast<CttBuildStruct*>(GetWindowLongPtrA(w, g_systemExtra + kSlotBuilder));
}
void SetBuilder(HWND w, CttBuildStruct* b) {
  SetWindowLongPtrA(w, g_systemExtra + kSlotBuilder, reinterpret_cast<LONG_PTR>(b));
}

// The text builder of a rendered-text static: "Courier New" 8 by 10 at
// weight 400, as the spin list's default one, with the control's client
// area as its rectangle (the paragraph width and the largest picture).
CttBuildStruct* MakeBuilder(HWND w) {
  CttBuildStruct* b = cttCreateBuildStruct();
  if (!b) return nullptr;
  if (HFONT font = cttSetBuilderFont(b, "Courier New", 8, 10, 400, 0, 0, 0)) DeleteObject(font);
  GetClientRect(w, &b->rect);
  return b;
}

// The text as a paragraph at the rectangle's width; a picture larger than
// the rectangle is cut to it. Null when nothing could be rendered.
PackedDib* RenderText(CttBuildStruct* b, const char* text) {
  if (!b || !text || !*text) return nullptr;
  const int width = b->rect.right - b->rect.left, height = b->rect.bottom - b->rect.top;
  if (width <= 0 || height <= 0) return nullptr;
  PackedDib* image = cttBuilderStringParagraph(b, text, width);
  if (image && (image->biWidth > width || std::abs(image->biHeight) > height)) {
    PackedDib* fitted = cttResizeDib(image, width, height);
    cttFreeDib(image);
    image = fitted;
  }
  if (image) dibColorsToIndices(image);
  return image;
}

char* TextCopy(HWND w) {
  LONG_PTR v = GetWindowLongPtrA(w, GWLP_USERDATA);
  return v == kNoText ? nullptr : reinterpret_cast<char*>(v);
}
void ReplaceText(HWND w, const char* text) {
  std::free(TextCopy(w));
  char* copy = text ? static_cast<char*>(std::malloc(std::strlen(text) + 1)) : nullptr;
  if (copy) std::strcpy(copy, text);
  SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(copy));
}

bool HasBorder(HWND w) {
  return (GetWindowLongA(w, GWL_STYLE) & WS_BORDER) || (GetWindowLongA(w, GWL_EXSTYLE) & kBorderExStyle);
}

// The parent paints its own background into a memory bitmap placed where
// the control lies, and that bitmap is copied to the control.
void PaintParentBackground(HWND w, HDC dc) {
  CcDefaults* d = ccGetDefaultData();
  HPALETTE palette = d ? d->palette : nullptr;
  if (palette) SelectAndRealizePalette(dc, nullptr, palette);
  RECT client;
  GetClientRect(w, &client);
  HWND parent = GetParent(w);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  if (!memory || !bitmap) {
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    return;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  HPALETTE oldPalette = palette ? SelectAndRealizePalette(memory, nullptr, palette) : nullptr;
  POINT origin{0, 0};
  if (parent) MapWindowPoints(w, parent, &origin, 1);
  POINT before;
  SetWindowOrgEx(memory, origin.x, origin.y, &before);
  if (parent) SendMessageA(parent, WM_ERASEBKGND, WPARAM(memory), 0);
  SetWindowOrgEx(memory, before.x, before.y, nullptr);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  if (oldPalette) SelectPalette(memory, oldPalette, FALSE);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

bool PaintText(HWND w, HDC dc) {
  PaintParentBackground(w, dc);
  const char* text = TextCopy(w);
  if (!text || !*text) return false;
  CcDefaults* d = ccGetDefaultData();
  int colour = d ? d->editText : 0;
  if (!IsWindowEnabled(w) && d && d->textColourMode) colour = int(d->buttonTextColours[2]);
  if (colour == -1) return true;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, PALETTEINDEX(colour));
  HGDIOBJ oldFont = d && d->font ? SelectObject(dc, d->font) : nullptr;
  RECT client;
  GetClientRect(w, &client);
  DWORD style = GetWindowLongA(w, GWL_STYLE);
  UINT align = (style & 3) == 1 ? DT_CENTER : (style & 3) == 2 ? DT_RIGHT : DT_LEFT;
  DrawTextA(dc, text, -1, &client, align | DT_WORDBREAK);
  if (oldFont) SelectObject(dc, oldFont);
  return true;
}

bool PaintPicture(HWND w, HDC dc) {
  PackedDib* picture = Picture(w);
  if (!picture || picture->biBitCount != 8) return false;
  int32_t width = picture->biWidth, height = std::abs(picture->biHeight);
  PackedDib* work = dibCreateWithColors(width, height, 8);
  if (!work) return false;
  dibFillWithColor(work, 0);           // the key-colour pixels are left out of the copy below
  work->biHeight = picture->biHeight;  // the same row order as the picture
  if (HWND parent = GetParent(w)) SendMessageA(parent, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(w));
  // Pixels are palette indices: the program palette must be in the DC even
  // when no background was erased before.
  CcDefaults* d = ccGetDefaultData();
  HPALETTE oldPalette = d && d->palette ? SelectAndRealizePalette(dc, nullptr, d->palette) : nullptr;
  RECT client;
  GetClientRect(w, &client);
  int32_t cols = width < client.right ? width : client.right;
  int32_t rows = height < client.bottom ? height : client.bottom;
  int32_t stride = int32_t(dibRowStride(8, width));
  // The top rows of the picture: at the end of the pixels when stored bottom-up.
  int32_t skip = picture->biHeight > 0 ? height - rows : 0;
  std::memcpy(dibGetColorArea(work), dibGetColorArea(picture), dibColorAreaSize(8));
  if (cols > 0 && rows > 0)
    TransCopyDIBBits(static_cast<uint8_t*>(dibGetBits(work)) + skip * stride,
                     static_cast<const uint8_t*>(dibGetBits(picture)) + skip * stride, cols, rows, stride,
                     stride, 0);
  dibDisplay(dc, 0, 0, width, height, 0, 0, work);
  if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
  dibDelete(work);
  return true;
}

LRESULT CALLBACK StaticProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  DWORD style = GetWindowLongA(w, GWL_STYLE);
  bool pictureMode = style & kPictureMode;
  bool renderedMode = !pictureMode && (style & kRenderedTextMode);
  switch (m) {
    case WM_CREATE: {
      const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
      SetWindowLongPtrA(w, GWLP_USERDATA, 0);
      SetPicture(w, nullptr, false);
      SetBuilder(w, nullptr);
      PackedDib* picture = nullptr;
      if (pictureMode) {
        picture = LoadWritableBitmapResource(GetControlModule(), int(GetDlgCtrlID(w)));
        if (picture) dibColorsToIndices(picture);
      } else if (renderedMode) {
        SetBuilder(w, MakeBuilder(w));
        picture = RenderText(Builder(w), cs->lpszName);
      }
      // A mode whose picture could not be made shows its text as text mode does.
      if (picture) {
        SetPicture(w, picture, pictureMode);
        SetWindowLongPtrA(w, GWLP_USERDATA, kNoText);
      } else {
        ReplaceText(w, cs->lpszName);
      }
      break;
    }
    case WM_DESTROY:
      ReplaceText(w, nullptr);
      // A picture set by CCM_SETDIB belongs to the caller; a rendered one is ours.
      if (renderedMode) {
        FreePicture(w);
        cttFreeBuildStruct(Builder(w));
        SetBuilder(w, nullptr);
      } else
        SetPicture(w, nullptr, false);
      break;
    case WM_SETTEXT:
      if (!lp) return 0;
      if (renderedMode && Builder(w)) {
        FreePicture(w);
        PackedDib* picture = RenderText(Builder(w), reinterpret_cast<const char*>(lp));
        if (picture) {
          ReplaceText(w, nullptr);
          SetPicture(w, picture, false);
          SetWindowLongPtrA(w, GWLP_USERDATA, kNoText);
        } else {
          ReplaceText(w, reinterpret_cast<const char*>(lp));
        }
      } else {
        ReplaceText(w, reinterpret_cast<const char*>(lp));
      }
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE);
      return 0;
    case WM_GETTEXT: {
      char* out = reinterpret_cast<char*>(lp);
      if (!out || wp == 0) return 0;
      const char* text = TextCopy(w);
      size_t n = text ? std::strlen(text) : 0;
      if (n > wp - 1) n = wp - 1;
      if (n) std::memcpy(out, text, n);
      out[n] = '\0';
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH: {
      const char* text = TextCopy(w);
      return text ? LRESULT(std::strlen(text)) : 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      bool painted = (pictureMode || renderedMode) && Picture(w) ? PaintPicture(w, dc) : PaintText(w, dc);
      EndPaint(w, &ps);
      if (!painted)
        if (HWND parent = GetParent(w))
          SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), kNotPainted), LPARAM(w));
      return 0;
    }
    case WM_ERASEBKGND:
      PaintParentBackground(w, reinterpret_cast<HDC>(wp));
      return 1;
    case WM_NCCALCSIZE:
      if (HasBorder(w)) {
        CcDefaults* d = ccGetDefaultData();
        int width = d && d->ncPainter ? d->ncFrameWidth : 1;
        RECT* r = reinterpret_cast<RECT*>(lp);
        InflateRect(r, -width, -width);
        return 0;
      }
      break;
    case WM_NCPAINT:
      if (HasBorder(w)) {
        RECT r;
        GetWindowRect(w, &r);
        OffsetRect(&r, -r.left, -r.top);
        CcDefaults* d = ccGetDefaultData();
        if (d && d->ncPainter) {
          d->ncPainter(w, &r, d);
        } else {
          HDC dc = GetWindowDC(w);
          FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
          ReleaseDC(w, dc);
        }
        return 0;
      }
      break;
    case CCM_SETDIB: {
      if (!pictureMode || !lp) return 0;
      PackedDib* previous = Picture(w);
      if (previous == reinterpret_cast<PackedDib*>(lp)) {
        // The picture shown, given again (drawn on, say): shown anew, and
        // nothing handed back that the caller could free under us.
        dibColorsToIndices(previous);
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return 0;
      }
      // The caller owns and frees what it gets back: a picture that lives
      // in the module's resources goes back as a heap copy.
      if (previous && GetWindowLongA(w, g_systemExtra + kSlotResourcePicture))
        previous = dibDuplicate(previous);
      PackedDib* next = reinterpret_cast<PackedDib*>(lp);
      dibColorsToIndices(next);
      SetPicture(w, next, false);  // the caller owns what it gets back
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return LRESULT(previous);
    }
    case CCM_FREEDIB:
      if (!pictureMode && !renderedMode) return 0;
      FreePicture(w);
      return 1;
    case CCM_SETCHARDIB: {
      CttBuildStruct* b = renderedMode ? Builder(w) : nullptr;
      if (!b) return 0;
      if (wp == WPARAM(-1) && lp) {
        // The builder owns its character image: the given one is freed with it.
        dibDelete(b->charImage);
        b->charImage = reinterpret_cast<PackedDib*>(lp);
        return 1;
      }
      const int side = 2 * std::abs(b->height);
      return cttSetBuilderCharDib(b, side, side, int(wp));
    }
    case CCM_SETBUILDERFONT: {
      CttBuildStruct* b = renderedMode ? Builder(w) : nullptr;
      if (!b) return 0;
      HFONT font =
          cttSetBuilderFont(b, reinterpret_cast<const char*>(lp), -1, LOWORD(wp), HIWORD(wp), 0, 0, 0);
      if (!font) return 0;
      DeleteObject(font);  // the builder keeps the description, not the font
      return 1;
    }
    default:
      break;
  }
  return CallWindowProcA(g_systemProc, w, m, wp, lp);
}

}  // namespace

ATOM RegisterStaticClass(HINSTANCE module) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, "STATIC", &wc)) return 0;
  g_systemProc = wc.lpfnWndProc;
  g_systemExtra = wc.cbWndExtra;
  wc.style |= CS_GLOBALCLASS;
  wc.lpfnWndProc = StaticProc;
  wc.cbWndExtra += kOwnExtraBytes;
  wc.hInstance = module;
  wc.hbrBackground = nullptr;  // the parent's background is painted behind
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}
