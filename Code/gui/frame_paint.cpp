// The painted frame: regions laid out from the frame set's bitmaps, the
// caption and edges composed for both looks, the frame painted element by
// element, and the status bar inside the bottom edge.
//
// Interface: FrameLayout, FrameBuildBitmaps, FrameFreeStrips, FramePaint,
// FramePaintRegion, FrameRepaintStatus, FrameRealize, cwStatusPaint.
#include <windows.h>

#include <cstring>
#include <initializer_list>

#include "bardib.h"
#include "barframe.h"
#include "dibkit_gdi.h"
#include "facet_frame.h"
#include "frame_internal.h"
#include "heapkit.h"
#include "mousehook.h"
#include "procdata.h"
#include "winutil.h"

namespace {

int W(const PackedDib* d) { return DibW(d); }
int H(const PackedDib* d) { return DibH(d); }

FrameMetrics Measure(const CwFrameBitmapSet* s) {
  FrameMetrics m{};
  m.top = H(s->Piece(FW_TOP));
  m.bottom = H(s->Piece(FW_BOTTOM));
  m.left = W(s->Piece(FW_LEFT));
  m.right = W(s->Piece(FW_RIGHT));
  m.tlW = W(s->Piece(FW_TOPLEFT));
  m.tlH = H(s->Piece(FW_TOPLEFT));
  m.trW = W(s->Piece(FW_TOPRIGHT));
  m.trH = H(s->Piece(FW_TOPRIGHT));
  m.blW = W(s->Piece(FW_BOTTOMLEFT));
  m.blH = H(s->Piece(FW_BOTTOMLEFT));
  m.brW = W(s->Piece(FW_BOTTOMRIGHT));
  m.brH = H(s->Piece(FW_BOTTOMRIGHT));
  m.caption = H(s->Piece(FW_CAPTION));
  m.buttonW = W(s->Piece(FW_MINIMIZE));
  m.buttonH = H(s->Piece(FW_MINIMIZE));
  // A frame without a minimize bitmap still places its other buttons.
  if (!m.buttonW) {
    m.buttonW = W(s->Piece(FW_CLOSE));
    m.buttonH = H(s->Piece(FW_CLOSE));
  }
  return m;
}

CwFrameBitmapSet* PickSet(CwWindowData* d) {
  if (d->ownSet) return d->set;
  CwDefaults* def = d->defaults;
  switch (d->frameKind) {
    case 3:
      return &def->sizable;
    case 2:
      return &def->dialog;
    default:
      return &def->border;
  }
}

int MenuHeightOf(void* context, const int32_t client[4]) {
  auto* d = static_cast<CwWindowData*>(context);
  RECT area{client[0], client[1], client[2], client[3]};
  cmLayoutMenuBar(d->menuBar, &area);
  return d->menuBar->rect[3] - d->menuBar->rect[1];
}

void Layout(CwWindowData* d, int width, int height) {
  d->frameKind = FrameKindFromFlags(d->frameFlags);
  d->set = PickSet(d);
  FrameMetrics m = Measure(d->set);
  uint32_t flags = d->frameFlags;
  if (!d->menuBar) flags &= ~FF_MENUBAR;
  LayoutFrame(d->regions, flags, d->frameKind, m, width, height, GetSystemMetrics(SM_CYHSCROLL),
              GetSystemMetrics(SM_CXVSCROLL), MenuHeightOf, d);
}

struct Strip {
  int region, word;
  bool vertical;
};
const Strip kStrips[] = {{FR_TOP, FW_TOP, false},
                         {FR_BOTTOM, FW_BOTTOM, false},
                         {FR_LEFT, FW_LEFT, true},
                         {FR_RIGHT, FW_RIGHT, true},
                         {FR_CAPTION, FW_CAPTION, false}};

void RenderCaptionText(HWND window, CwWindowData* d) {
  CwFrameBitmapSet* s = d->set;
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  if (!text[0]) return;
  for (int look = 0; look < 2; ++look) {
    PackedDib* caption = d->regions[FR_CAPTION].bitmaps[look];
    if (!caption) continue;
    PackedDib* rendered = nullptr;
    bool owned = false;
    if (s->textMode == 3) {
      HDC dc = GetDC(window);
      HGDIOBJ old = SelectObject(dc, s->font ? s->font : GetStockObject(DEFAULT_GUI_FONT));
      unsigned long long size = cttBasicStringSize(dc, text);
      int w = int(size & 0xFFFFFFFF), h = int(size >> 32);
      PackedDib* colours = w > 0 ? dibCreateWithColors(w + w / 8, h + 10, 8) : nullptr;
      if (colours) {
        dibCopyPalette(colours, caption);
        dibFillWithColor(colours, uint32_t(s->textColour[look] & 0xFF));
        rendered = cttBasicString(dc, text, colours, 0);
        owned = true;
        dibDelete(colours);
      }
      SelectObject(dc, old);
      ReleaseDC(window, dc);
    } else {
      rendered = reinterpret_cast<PackedDib*>(s->textColour[look]);
    }
    if (rendered) {
      int w = W(rendered) < W(caption) ? W(rendered) : W(caption);
      int h = H(rendered) < H(caption) ? H(rendered) : H(caption);
      CopyPixels8(caption, rendered, s->textX, s->textY, 0, 0, w - s->textX, h - s->textY, true);
    }
    if (owned) dibDelete(rendered);
  }
}

void BuildBitmaps(HWND window, CwWindowData* d) {
  if (d->frameKind == 0) return;
  CwFrameBitmapSet* s = d->set;
  const int corners[4][2] = {{FR_TOPLEFT, FW_TOPLEFT},
                             {FR_TOPRIGHT, FW_TOPRIGHT},
                             {FR_BOTTOMLEFT, FW_BOTTOMLEFT},
                             {FR_BOTTOMRIGHT, FW_BOTTOMRIGHT}};
  for (const auto& c : corners) {
    CwFrameRegion& r = d->regions[c[0]];
    if (!r.bitmaps[0]) {
      r.bitmaps[0] = s->Piece(c[1]);
      r.bitmaps[1] = s->Piece(c[1] + 1);
    }
  }
  for (const Strip& st : kStrips) {
    if (st.region == FR_CAPTION && !(d->frameFlags & FF_CAPTION)) continue;
    CwFrameRegion& r = d->regions[st.region];
    int w = r.rect[2] - r.rect[0], h = r.rect[3] - r.rect[1];
    for (int look = 0; look < 2; ++look) {
      dibDelete(r.bitmaps[look]);
      r.bitmaps[look] = nullptr;
      if (w <= 0 || h <= 0) continue;
      PackedDib* strip = dibCreateWithColors(w, h, 8);
      if (!strip) continue;
      dibFillWithColor(strip, 0);
      int first = st.word + look * 3;
      BuildBarDib(strip, s->Piece(first), s->Piece(first + 1), s->Piece(first + 2), st.vertical);
      r.bitmaps[look] = strip;
    }
  }
  if ((d->frameFlags & FF_CAPTION) && (s->textMode == 2 || s->textMode == 3)) RenderCaptionText(window, d);
  const struct {
    uint32_t flag;
    int region, word;
  } buttons[] = {{FF_SYSMENU, FR_SYSMENU, FW_SYSMENU},    {FF_CLOSE, FR_CLOSE, FW_CLOSE},
                 {FF_MAXIMIZE, FR_MAXIMIZE, FW_MAXIMIZE}, {FF_MINIMIZE, FR_MINIMIZE, FW_MINIMIZE},
                 {FF_TOGGLE, FR_TOGGLE, FW_TOGGLE},       {FF_MAXIMIZE, FR_RESTORE, FW_RESTORE}};
  for (const auto& b : buttons) {
    CwFrameRegion& r = d->regions[b.region];
    if ((d->frameFlags & b.flag) && !r.bitmaps[0]) {
      r.bitmaps[0] = s->Piece(b.word);
      r.bitmaps[1] = s->Piece(b.word + 1);
    }
  }
  if (d->statusBar) {
    const int32_t* b = d->regions[FR_BOTTOM].rect;
    d->statusBar->rect[0] = b[0] + 4;
    d->statusBar->rect[1] = b[1];
    d->statusBar->rect[2] = b[2] - 4;
    d->statusBar->rect[3] = b[3];
  }
}

void DrawRegion(HDC dc, const CwFrameRegion& r, int look) {
  const PackedDib* b = r.bitmaps[look];
  if (!b || r.rect[2] <= r.rect[0]) return;
  dibDisplay(dc, r.rect[0], r.rect[1], W(b), H(b), 0, 0, b);
}

HPALETTE Realize(HDC dc, CwWindowData* d) {
  return d && d->defaults ? SelectAndRealizePalette(dc, nullptr, d->defaults->palette) : nullptr;
}

void PaintFrame(HWND window, CwWindowData* d, int look) {
  if (IsIconic(window) || d->frameKind == 0) return;
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  HPALETTE old = Realize(dc, d);
  const CwFrameRegion* r = d->regions;
  for (int id : {FR_TOP, FR_LEFT, FR_RIGHT, FR_BOTTOM}) DrawRegion(dc, r[id], look);
  if (d->statusBar) cwStatusPaint(dc, d);
  for (int id : {FR_TOPLEFT, FR_TOPRIGHT, FR_BOTTOMLEFT, FR_BOTTOMRIGHT}) DrawRegion(dc, r[id], look);
  if (d->frameFlags & FF_CAPTION) {
    DrawRegion(dc, r[FR_CAPTION], look);
    if (d->set->textMode == 1) {
      char text[128] = {};
      GetWindowTextA(window, text, sizeof text);
      if (text[0]) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, PALETTEINDEX(d->set->textColour[look] & 0xFFFF));
        HGDIOBJ oldFont = d->set->font ? SelectObject(dc, d->set->font) : nullptr;
        int x = d->set->textX + W(d->set->Piece(FW_TOPLEFT)) + W(d->set->Piece(FW_SYSMENU));
        int y = d->set->textY + H(d->set->Piece(FW_TOP));
        TextOutA(dc, x, y, text, int(std::strlen(text)));
        if (oldFont) SelectObject(dc, oldFont);
      }
    }
  }
  if (d->menuBar) cmPaintMenuBar(dc, d->menuBar);
  for (int id : {FR_CLOSE, FR_MAXIMIZE, FR_MINIMIZE, FR_TOGGLE, FR_SYSMENU}) {
    int state = (d->pressedMask & (1u << id)) ? 1 : look;
    DrawRegion(dc, r[id], state);
  }
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
}

void PaintRegionNow(HWND window, CwWindowData* d, int id, int state) {
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  HPALETTE old = Realize(dc, d);
  DrawRegion(dc, d->regions[id], state);
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
}

void RepaintStatus(HWND window, CwWindowData* d) {
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  HPALETTE old = Realize(dc, d);
  DrawRegion(dc, d->regions[FR_BOTTOM], 0);
  cwStatusPaint(dc, d);
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
}

}  // namespace

void FrameLayout(CwWindowData* d, int width, int height) { Layout(d, width, height); }
void FrameBuildBitmaps(HWND window, CwWindowData* d) { BuildBitmaps(window, d); }
void FramePaint(HWND window, CwWindowData* d, int look) { PaintFrame(window, d, look); }
void FramePaintRegion(HWND window, CwWindowData* d, int id, int state) {
  PaintRegionNow(window, d, id, state);
}
void FrameRepaintStatus(HWND window, CwWindowData* d) { RepaintStatus(window, d); }
HPALETTE FrameRealize(HDC dc, CwWindowData* d) { return Realize(dc, d); }
CwFrameBitmapSet* FramePickSet(CwWindowData* d) { return PickSet(d); }

void FrameFreeStrips(CwWindowData* d) {
  for (const Strip& st : kStrips)
    for (PackedDib*& b : d->regions[st.region].bitmaps) {
      dibDelete(b);
      b = nullptr;
    }
}

void cwStatusPaint(HDC dc, CwWindowData* d) {
  CwStatusBar* bar = d->statusBar;
  const CwStatusLook& look = d->defaults->statusLook;
  if (!bar || !look.present) return;
  HGDIOBJ oldFont = look.font ? SelectObject(dc, look.font) : nullptr;
  SetTextColor(dc, PALETTEINDEX(look.textColour & 0xFFFF));
  SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < bar->count && i < kStatusParts; ++i) {
    const CwStatusPart* p = bar->parts[i];
    int32_t r[4];
    if (!p || !StatusPartRect(bar, i, r)) continue;
    RECT rect{r[0], r[1], r[2], r[3]};
    if (p->kind == 2) {
      const auto& g = p->progress;
      if (g.position != 0 && g.position >= g.minimum && g.position <= g.maximum && g.maximum > g.minimum) {
        RECT fill{r[0], r[1] + 4, r[0] + (r[2] - r[0]) * g.position / (g.maximum - g.minimum), r[3] - 5};
        if (PaintRectWithPaletteIndex(dc, &fill, look.progressColour) != 0)
          FillRect(dc, &fill, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      }
    } else {
      DrawTextA(dc, p->text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX);
    }
    if (i + 1 < bar->count && look.separator)
      dibDisplay(dc, r[2], r[1], W(look.separator), H(look.separator), 0, 0, look.separator);
  }
  if (oldFont) SelectObject(dc, oldFont);
}
