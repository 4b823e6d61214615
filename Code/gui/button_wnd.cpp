// CGUIBMPButton: the toolkit's push button, check box, radio button and
// group box. A superclass of the system button class that keeps its clicks,
// checking and keyboard handling and replaces all painting with state images:
// faces built from the control defaults' face pieces and the window text,
// the defaults' shared check-box and radio images, or bitmap resources
// numbered after the control identifier.
//
// Interface: RegisterBmpButtonClass, BmpButtonProc, BmpButtonExtraBase,
// BmpButtonRecord, BmpButtonSystemProc.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "bardib.h"
#include "basic_controls.h"
#include "bmpbutton.h"
#include "caption.h"
#include "controls.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "facet_frame.h"
#include "heapkit.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUIBMPButton";
constexpr DWORD kClassStyle = 0x400B;  // global class, double clicks, both redraws
constexpr DWORD kExHoverImages = 0x200000;
constexpr DWORD kStyleFocusFace = 0x80000;  // window style: text buttons get a focused face
constexpr int kTextChars = 255;
// Our extra bytes after the system button's: the creation style word, then
// the record pointer.
enum { kSlotStyle = 0 };
constexpr int kRecordOffset = kValueSlotBytes;
constexpr int kOwnExtraBytes = kRecordOffset + kPointerSlotBytes;

WNDPROC g_systemProc = nullptr;
int g_systemExtra = 0;

LRESULT System(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return g_systemProc ? CallWindowProcA(g_systemProc, w, m, wp, lp) : DefWindowProcA(w, m, wp, lp);
}

DWORD CreationStyle(HWND w) { return DWORD(GetExtraLong(w, g_systemExtra, kSlotStyle)); }
DWORD Type(HWND w) { return DWORD(GetWindowLongA(w, GWL_STYLE)) & 0xF; }

// The system button keeps its state in the first word of its extra bytes;
// the button changes single bits of it so that BM_GETSTATE and BM_GETCHECK
// answer as before and the system's own bits stay.
void SetSystemStateBit(HWND w, uint32_t bit, bool on) {
  LONG state = GetWindowLongA(w, 0);
  LONG next = on ? (state | LONG(bit)) : (state & ~LONG(bit));
  if (next != state) SetWindowLongA(w, 0, next);
}

void SetStateBit(HWND w, BmpButtonData* data, uint32_t bit, bool on) {
  SetSystemStateBit(w, bit, on);
  if (data) data->state = on ? (data->state | bit) : (data->state & ~bit);
}

int32_t Height(const PackedDib* d) { return d->biHeight < 0 ? -d->biHeight : d->biHeight; }

void SetImage(BmpButtonData* data, int index, PackedDib* image, ButtonImageOwner owner) {
  data->images[index] = image;
  data->owner[index] = image ? owner : kOwnerNone;
}

// Frees only the faces the button built itself: the shared check-box and
// radio images, resource faces and pictures handed in by callers stay.
void FreeBuiltFaces(BmpButtonData* data) {
  for (int i = 0; i < kButtonImages; ++i) {
    if (data->owner[i] == kOwnerBuilt) dibDelete(data->images[i]);
    if (data->owner[i] == kOwnerBuilt || data->owner[i] == kOwnerShared)
      SetImage(data, i, nullptr, kOwnerNone);
  }
}

// The colour source of a face's text: the state's text texture tiled over
// it (text-colour mode 0) or its text colour index everywhere.
PackedDib* TextColours(const CcDefaults* d, const PackedDib* face, int state) {
  PackedDib* source = dibCreateWithColors(face->biWidth, Height(face), 8);
  if (!source) return nullptr;
  dibCopyPalette(source, face);
  if (d->textColourMode == 0) {
    auto* texture = reinterpret_cast<PackedDib*>(d->buttonTextColours[state]);
    dibFillWithColor(source, 0);
    if (texture) dibTileRectDib(source, texture);
  } else {
    dibFillWithColor(source, uint32_t(d->buttonTextColours[state]) & 0xFF);
  }
  return source;
}

// One text face: the state's left cap, middle piece and right cap across the
// width, with the text centred on it (one pixel lower when pressed).
PackedDib* BuildTextFace(HDC dc, const CcDefaults* d, int state, int width, int height, const char* text) {
  PackedDib* face = dibCreateWithColors(width, height, 8);
  if (!face) return nullptr;
  dibFillWithColor(face, 0);
  BuildBarDib(face, d->pushLeft[state], d->pushMiddle[state], d->pushRight[state], 0);
  dibColorsToIndices(face);
  if (dc && text && *text) {
    PackedDib* colours = TextColours(d, face, state);
    PackedDib* image = colours ? cttBasicString(dc, text, colours, 1) : nullptr;
    if (image) {
      ButtonPoint at = ButtonTextOrigin(width, height, image->biWidth, Height(image), state);
      int32_t w = image->biWidth, h = Height(image);
      if (at.x + w > width) w = width - at.x;
      if (at.y + h > height) h = height - at.y;  // the pressed shift may reach past the bottom
      if (w > 0 && h > 0) dibTransCopyDIB(face, image, at.x, at.y, 0, 0, w, h, 0);
      cttFreeDib(image);
    }
    dibDelete(colours);
  }
  return face;
}

// The faces of a button not created with the bitmap style, for its size,
// style and text.
void BuildFaces(HWND w, BmpButtonData* data, int width, int height, DWORD style, const char* text) {
  CcDefaults* d = ccGetDefaultData();
  if (!d) return;
  // The caption proper: a placement block behind it is not shown.
  char proper[kTextChars + 1] = "";
  if (text) std::memcpy(proper, text, std::min(CaptionProperLength(text), size_t(kTextChars)));
  text = proper;
  DWORD type = style & 0xF;
  int states = (style & kStyleFocusFace) ? 4 : 3;
  data->unsized = 0;
  if (ButtonIsPushLike(style)) {
    if ((type == kTypePush || type == kTypeDefaultPush) && d->pushMiddle[0] &&
        Height(d->pushMiddle[0]) != height)
      height = Height(d->pushMiddle[0]);
    if (width <= 0 || height <= 0) {
      data->unsized = 1;  // built when the button is given a size
      return;
    }
    HDC dc = GetDC(w);
    HGDIOBJ oldFont = nullptr;
    HFONT font = cguiGetFont(d->buttonFontSlot);
    if (dc && font) oldFont = SelectObject(dc, font);
    for (int s = 0; s < states; ++s)
      if (d->pushMiddle[s]) SetImage(data, s, BuildTextFace(dc, d, s, width, height, text), kOwnerBuilt);
    if (dc) {
      if (oldFont) SelectObject(dc, oldFont);
      ReleaseDC(w, dc);
    }
    return;
  }
  const CcBitmap* shared = nullptr;
  if (type == kTypeCheck || type == kTypeAutoCheck) shared = d->checkImages;
  if (type == kTypeRadio || type == kTypeAutoRadio) shared = d->radioImages;
  if (!shared) return;
  for (int s = 0; s < states; ++s)
    if (d->pushMiddle[s]) SetImage(data, s, shared[s], kOwnerShared);
}

// Faces of a bitmap-style button: resources numbered after the control
// identifier, loaded in place (never freed by the button). The window takes
// the size of the normal face.
void LoadResourceFaces(HWND w, BmpButtonData* data, int id) {
  CcDefaults* d = ccGetDefaultData();
  if (!d) return;
  for (int i = 0; i < kButtonImages; ++i) {
    int resource = id + d->stateFaceOffsets[i];
    PackedDib* face = resource > 0 ? LoadWritableBitmapResource(d->resourceModule, resource) : nullptr;
    if (face) dibColorsToIndices(face);
    SetImage(data, i, face, kOwnerShared);
  }
  if (!data->images[kImageHover] && data->images[kImageNormal])
    SetImage(data, kImageHover, data->images[kImageNormal], kOwnerShared);
  if (PackedDib* normal = data->images[kImageNormal])
    SetWindowPos(w, nullptr, 0, 0, normal->biWidth, Height(normal),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Whether a built face has the size BuildFaces gives a button of this size:
// its width, and its height unless a push button's faces take the height of
// the middle piece.
bool FaceFits(const PackedDib* face, DWORD style, int width, int height) {
  if (face->biWidth != width) return false;
  DWORD type = style & 0xF;
  CcDefaults* d = ccGetDefaultData();
  if ((type == kTypePush || type == kTypeDefaultPush) && d && d->pushMiddle[0]) return true;
  return Height(face) == height;
}

int StateIndex(HWND w, const BmpButtonData* data, bool optionalImages) {
  bool has[kButtonImages];
  for (int i = 0; i < kButtonImages; ++i) has[i] = data->images[i] != nullptr;
  return ButtonStateIndex(data->state, IsWindowEnabled(w) != FALSE, optionalImages, has);
}

void Redraw(HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE); }

void NotifyParent(HWND w, WORD code) {
  if (HWND parent = GetParent(w))
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), code), LPARAM(w));
}

// The parent paints its background into a memory bitmap placed where the
// button lies; the result is copied to the button.
void PaintParentBackground(HWND w, HDC dc, const RECT& client) {
  HWND parent = GetParent(w);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = memory ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr;
  if (!bitmap) {
    if (memory) DeleteDC(memory);
    return;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  CcDefaults* d = ccGetDefaultData();
  HPALETTE oldPalette = d && d->palette ? SelectAndRealizePalette(memory, nullptr, d->palette) : nullptr;
  POINT origin{0, 0};
  if (parent) MapWindowPoints(w, parent, &origin, 1);
  SetWindowOrgEx(memory, origin.x, origin.y, nullptr);
  if (parent) SendMessageA(parent, WM_ERASEBKGND, WPARAM(memory), 0);
  SetWindowOrgEx(memory, 0, 0, nullptr);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  if (oldPalette) SelectPalette(memory, oldPalette, FALSE);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

void PaintImage(HWND w, HDC dc, const BmpButtonData* data, const PackedDib* image) {
  if (!image) return;
  int32_t width = image->biWidth, height = Height(image);
  bool transparent = (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
  if (transparent && data->background && image->biBitCount == 8) {
    PackedDib* work = dibDuplicate(data->background);
    if (work) {
      dibColorsToIndices(work);
      int32_t cw = width < work->biWidth ? width : work->biWidth;
      int32_t ch = height < Height(work) ? height : Height(work);
      dibTransCopyDIB(work, image, 0, 0, 0, 0, cw, ch, 0);
      dibDisplay(dc, 0, 0, work->biWidth, Height(work), 0, 0, work);
      dibDelete(work);
      return;
    }
  }
  dibDisplay(dc, 0, 0, width, height, 0, 0, image);
}

void PaintCheckOrRadio(HWND w, HDC dc, const CcDefaults* d, const PackedDib* image) {
  RECT client;
  GetClientRect(w, &client);
  PaintParentBackground(w, dc, client);
  DWORD style = GetWindowLongA(w, GWL_STYLE);
  bool leftText = (style & BS_LEFTTEXT) != 0;
  int32_t imageW = image ? image->biWidth : 0;
  if (image) {
    int32_t imageH = Height(image);
    int y = (client.bottom - imageH) / 2;
    if (y < 0) y = 0;
    dibDisplay(dc, leftText ? client.right - imageW : 0, y, imageW, imageH, 0, 0, image);
  }
  char text[kTextChars + 1] = "";
  GetWindowTextA(w, text, sizeof text);
  text[CaptionProperLength(text)] = 0;
  if (!*text) return;
  RECT r = client;
  UINT format = DT_SINGLELINE;
  if (leftText) {
    r.right -= imageW + 4;
    format |= DT_RIGHT;
  } else {
    r.left += imageW + 4;
  }
  if (style & BS_TOP && !(style & BS_BOTTOM))
    format |= DT_TOP;
  else if (style & BS_BOTTOM && !(style & BS_TOP))
    format |= DT_BOTTOM;
  else
    format |= DT_VCENTER;
  int colour = d ? (d->textColourMode == 0 ? d->groupCaptionColour : int(d->buttonTextColours[0])) : 0;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, PALETTEINDEX(colour));
  DrawTextA(dc, text, -1, &r, format);
}

void Line(HDC dc, int colour, const POINT* points, int count) {
  HPEN pen = CreatePen(PS_SOLID, 1, PALETTEINDEX(colour));
  HGDIOBJ old = SelectObject(dc, pen);
  Polyline(dc, points, count);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// A group box: an outer and an inner line around the client area, open at
// the top where the caption stands.
void PaintGroupBox(HWND w, HDC dc, const CcDefaults* d) {
  RECT client;
  GetClientRect(w, &client);
  char text[kTextChars + 1] = "";
  GetWindowTextA(w, text, sizeof text);
  text[CaptionProperLength(text)] = 0;
  SIZE caption{0, 0};
  if (*text) GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &caption);
  const int fx = 6, fy = 8;
  int outerEnd = *text ? fx + caption.cx + 4 : fx - 6;
  int right = client.right - 1, bottom = client.bottom - 1;
  const POINT outer[] = {{fx - 3, fy}, {0, fy}, {0, bottom}, {right, bottom}, {right, fy}, {outerEnd, fy}};
  Line(dc, d ? d->darkEdge : 0, outer, 6);
  int innerEnd = *text ? fx + caption.cx + 1 : fx - 8 + 2;
  const POINT inner[] = {{fx - 2, fy + 1},        {1, fy + 1},         {1, bottom - 2},
                         {right - 2, bottom - 2}, {right - 2, fy + 1}, {innerEnd, fy + 1}};
  Line(dc, d ? d->lightEdge : 0, inner, 6);
  if (!*text || !IsWindowEnabled(w)) return;
  SetBkMode(dc, TRANSPARENT);
  RECT at{8, -1, client.right, client.bottom};
  if (!d || d->captionShadow != -1) {
    RECT shadow = at;
    OffsetRect(&shadow, 2, 2);
    DrawTextA(dc, text, -1, &shadow, DT_SINGLELINE);
  }
  if (d && d->groupCaptionColour != -1) {
    SetTextColor(dc, PALETTEINDEX(d->groupCaptionColour));
    DrawTextA(dc, text, -1, &at, DT_SINGLELINE);
  }
}

void Paint(HWND w, HDC dc, BmpButtonData* data) {
  CcDefaults* d = ccGetDefaultData();
  const PackedDib* image = data->images[StateIndex(w, data, true)];
  HPALETTE oldPalette = d && d->palette ? SelectAndRealizePalette(dc, nullptr, d->palette) : nullptr;
  DWORD creation = CreationStyle(w);
  DWORD type = Type(w);
  HFONT font = d ? cguiGetFont(d->buttonFontSlot) : nullptr;
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  switch (type) {
    case kTypePush:
    case kTypeDefaultPush:
      PaintImage(w, dc, data, image);
      break;
    case kTypeCheck:
    case kTypeAutoCheck:
    case kTypeRadio:
    case kTypeAutoRadio:
      if (creation & (kStylePushLike | kStyleBitmapFaces))
        PaintImage(w, dc, data, image);
      else
        PaintCheckOrRadio(w, dc, d, image);
      break;
    case kTypeGroup:
      PaintGroupBox(w, dc, d);
      break;
    default:
      break;
  }
  if (oldFont) SelectObject(dc, oldFont);
  if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
}

// The parent fills the background copy of a transparent button with what
// lies under the button.
struct BackgroundRequest {
  RECT rect;
  PackedDib* copy;
};

void RefreshBackground(HWND w, BmpButtonData* data) {
  HWND parent = GetParent(w);
  if (!parent || !data->background) return;
  RECT r;
  GetWindowRectInParent(w, &r);
  if (r.right - r.left > data->background->biWidth) r.right = r.left + data->background->biWidth;
  if (r.bottom - r.top > Height(data->background)) r.bottom = r.top + Height(data->background);
  BackgroundRequest request{r, data->background};
  CallWindowProcedure(parent, CWM_GETBACKGROUND, 0, LPARAM(&request));
}

void ResizeBackground(HWND w, BmpButtonData* data) {
  GetClientRect(w, &data->client);
  dibDelete(data->background);
  data->background = nullptr;
  if (data->client.right <= 0 || data->client.bottom <= 0) return;
  data->background = dibCreateWithColors(data->client.right, data->client.bottom, 8);
  if (data->background) dibFillWithColor(data->background, 0);
}

// An auto radio button checked by a click or key unchecks the other auto
// radio buttons of its group, as the system button does.
void UncheckGroup(HWND w) {
  HWND parent = GetParent(w);
  if (!parent || !(GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) return;
  HWND sibling = w;
  for (int guard = 0; guard < 1024; ++guard) {
    sibling = GetNextDlgGroupItem(parent, sibling, FALSE);
    if (!sibling || sibling == w) break;
    if ((GetWindowLongA(sibling, GWL_STYLE) & 0xF) == kTypeAutoRadio)
      SendMessageA(sibling, BM_SETCHECK, 0, 0);
  }
}

LRESULT HitTest(HWND w, BmpButtonData* data, LPARAM lp) {
  POINT p{short(LOWORD(lp)), short(HIWORD(lp))};
  ScreenToClient(w, &p);
  bool hoverImages = (GetWindowLongA(w, GWL_EXSTYLE) & kExHoverImages) != 0;
  if (data->images[kImageHover] && !ButtonMaskOwnsPoint(data->images[kImageHover], p.x, p.y)) {
    if (hoverImages && (data->state & kButtonHover)) {
      data->state &= ~kButtonHover;
      Redraw(w);
    }
    return HTNOWHERE;
  }
  if (hoverImages && !(data->state & kButtonHover)) {
    data->state |= kButtonHover;
    Redraw(w);
  }
  LRESULT hit = System(w, WM_NCHITTEST, 0, lp);
  if (hit == HTCLIENT && (GetWindowLongA(w, GWL_STYLE) & BS_NOTIFY))
    if (HWND parent = GetParent(w))
      PostMessageA(parent, WM_PARENTNOTIFY, MAKEWPARAM(GetDlgCtrlID(w), WM_NCHITTEST), LPARAM(w));
  return hit;
}

LRESULT OnNcCreate(HWND w, WPARAM wp, LPARAM lp) {
  auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
  DWORD style = DWORD(cs->style);
  SetExtraLong(w, g_systemExtra, kSlotStyle, LONG(style & 0xFFF0));
  SetWindowLongA(w, GWL_STYLE, LONG(style & ~kStyleBitmapFaces));
  cs->style = LONG(style & ~kStyleBitmapFaces);
  auto* data = static_cast<BmpButtonData*>(memAlloc_rel(sizeof(BmpButtonData), HEAPKIT_TAG_RW));
  if (!data) return FALSE;
  std::memset(data, 0, sizeof *data);
  data->repeat = kButtonDefaultRepeat;
  SetWindowLongPtrA(w, g_systemExtra + kRecordOffset, reinterpret_cast<LONG_PTR>(data));
  if (style & kStyleBitmapFaces) {
    LoadResourceFaces(w, data, int(LOWORD(reinterpret_cast<UINT_PTR>(cs->hMenu))));
  } else {
    // A dialog template may name its text by ordinal: no text then.
    const char* text = IS_INTRESOURCE(cs->lpszName) ? "" : cs->lpszName;
    if (text && static_cast<unsigned char>(text[0]) == 0xFF) text = "";
    BuildFaces(w, data, cs->cx, cs->cy, style, text);
  }
  LRESULT result = System(w, WM_NCCREATE, wp, lp);
  CcDefaults* d = ccGetDefaultData();
  if (HFONT font = d ? cguiGetFont(d->buttonFontSlot) : nullptr) System(w, WM_SETFONT, WPARAM(font), 0);
  return result;
}

void OnDestroy(HWND w, BmpButtonData* data) {
  KillTimer(w, kButtonRepeatTimer);
  FreeBuiltFaces(data);
  dibDelete(data->background);
  memFree_rel(data);
  SetWindowLongPtrA(w, g_systemExtra + kRecordOffset, 0);
}

}  // namespace

int BmpButtonExtraBase() { return g_systemExtra; }

WNDPROC BmpButtonSystemProc() { return g_systemProc; }

BmpButtonData* BmpButtonRecord(HWND window) {
  return reinterpret_cast<BmpButtonData*>(GetWindowLongPtrA(window, g_systemExtra + kRecordOffset));
}

LRESULT CALLBACK BmpButtonProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCCREATE) return OnNcCreate(w, wp, lp);
  BmpButtonData* data = BmpButtonRecord(w);
  switch (m) {
    case WM_DESTROY:
      if (data) OnDestroy(w, data);
      break;
    case WM_MOVE:
      if (data && (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) RefreshBackground(w, data);
      return 0;
    case WM_SIZE:
      // The new copy is filled at once: a move in the same step was told
      // before the size, and a size alone brings no move.
      if (data && (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) {
        ResizeBackground(w, data);
        RefreshBackground(w, data);
      }
      // Text faces follow a new width (a caption placement, a dialog's
      // layout): built for the creation size they would be cut or leave
      // part of the button unpainted. A button made without a size gets
      // them once it has one.
      if (data && !(CreationStyle(w) & kStyleBitmapFaces) &&
          ((data->images[kImageNormal] && data->owner[kImageNormal] == kOwnerBuilt &&
            !FaceFits(data->images[kImageNormal], GetWindowLongA(w, GWL_STYLE), LOWORD(lp), HIWORD(lp))) ||
           (data->unsized && data->owner[kImageNormal] != kOwnerCaller))) {
        char text[kTextChars + 1] = "";
        GetWindowTextA(w, text, sizeof text);
        FreeBuiltFaces(data);
        BuildFaces(w, data, LOWORD(lp), HIWORD(lp), GetWindowLongA(w, GWL_STYLE), text);
        Redraw(w);
      }
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      bool focus = m == WM_SETFOCUS;
      SetStateBit(w, data, kButtonFocus, focus);
      InvalidateRect(w, nullptr, FALSE);
      if (GetWindowLongA(w, GWL_STYLE) & BS_NOTIFY) NotifyParent(w, focus ? BN_SETFOCUS : BN_KILLFOCUS);
      return 0;
    }
    case WM_ENABLE:
      InvalidateRect(w, nullptr, TRUE);
      return 0;
    case WM_SETTEXT:
      if (data && !(CreationStyle(w) & kStyleBitmapFaces)) {
        RECT r;
        GetWindowRect(w, &r);
        FreeBuiltFaces(data);
        const char* text = lp ? reinterpret_cast<const char*>(lp) : "";
        BuildFaces(w, data, r.right - r.left, r.bottom - r.top, GetWindowLongA(w, GWL_STYLE), text);
      }
      Redraw(w);
      return DefWindowProcA(w, m, wp, lp);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      if (data) Paint(w, dc, data);
      EndPaint(w, &ps);
      return 1;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_NCCALCSIZE:
      return 0;
    case WM_NCHITTEST:
      if (data) return HitTest(w, data, lp);
      break;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
      return DefWindowProcA(w, m, wp, lp);
    case WM_LBUTTONUP:
    case WM_KEYUP: {
      // The system procedure checks an auto radio button on release; note
      // that the check comes from a click so that its group follows.
      if (!data) break;
      data->releasing = 1;
      LRESULT result = System(w, m, wp, lp);
      if (BmpButtonRecord(w) == data) data->releasing = 0;
      return result;
    }
    case BM_SETCHECK: {
      if (!data) return 0;
      bool on = wp != 0;
      bool changed = ((data->state & kButtonChecked) != 0) != on;
      SetStateBit(w, data, kButtonChecked, on);
      DWORD type = Type(w);
      if (type == kTypeRadio || type == kTypeAutoRadio) {
        LONG style = GetWindowLongA(w, GWL_STYLE);
        SetWindowLongA(w, GWL_STYLE, on ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
      }
      if (changed) InvalidateRect(w, nullptr, FALSE);
      if (on && type == kTypeAutoRadio && data->releasing) UncheckGroup(w);
      return 0;
    }
    case BM_SETSTATE: {
      if (!data) return 0;
      bool on = wp != 0;
      bool changed = ((data->state & kButtonPushed) != 0) != on;
      SetStateBit(w, data, kButtonPushed, on);
      if (changed) {
        InvalidateRect(w, nullptr, FALSE);
        if (CreationStyle(w) & kStylePushLike) {
          if (on)
            SetTimer(w, kButtonRepeatTimer, data->repeat, nullptr);
          else
            KillTimer(w, kButtonRepeatTimer);
        }
      }
      return 0;
    }
    case BM_SETIMAGE: {
      if (!data || wp >= kButtonImages) return 0;
      PackedDib* previous = data->images[wp];
      SetImage(data, int(wp), reinterpret_cast<PackedDib*>(lp), kOwnerCaller);
      InvalidateRect(w, nullptr, FALSE);
      return LRESULT(previous);  // the caller's from now on
    }
    case WM_TIMER:
      if (!data || !(CreationStyle(w) & kStylePushLike) || wp != kButtonRepeatTimer) return 0;
      NotifyParent(w, BBN_REPEAT);
      return 1;
    case BBM_CCM_SETDIB: {
      if (!data || wp > kImageHover) return 0;
      PackedDib* previous = data->images[wp];
      PackedDib* next = reinterpret_cast<PackedDib*>(lp);
      SetImage(data, int(wp), next, kOwnerCaller);
      if (next != previous && int(wp) == StateIndex(w, data, false))
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_UPDATENOW);
      return LRESULT(previous);
    }
    case BBM_SETREPEAT: {
      if (!data) return 0;
      uint32_t previous = data->repeat;
      if (wp) data->repeat = uint32_t(wp);
      return LRESULT(previous);
    }
    case BBM_CCM_FREEDIB: {
      if (!data || wp > kImageHover) return 0;
      PackedDib* image = data->images[wp];
      // Control-defaults images and bitmap resources are not the button's to free.
      if (data->owner[wp] == kOwnerBuilt || data->owner[wp] == kOwnerCaller) dibDelete(image);
      SetImage(data, int(wp), nullptr, kOwnerNone);
      return LRESULT(image);
    }
    default:
      break;
  }
  return System(w, m, wp, lp);
}

ATOM RegisterBmpButtonClass(HINSTANCE module) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, "Button", &wc)) return 0;
  g_systemProc = wc.lpfnWndProc;
  g_systemExtra = wc.cbWndExtra;
  wc.style |= kClassStyle;
  wc.lpfnWndProc = BmpButtonProc;
  wc.cbWndExtra += kOwnExtraBytes;
  wc.hInstance = module;
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}
