// The painted frame's geometry; see frame_layout.h.
#include "frame_layout.h"

#include <algorithm>

namespace {

void Set(CwFrameRegion& r, int l, int t, int rt, int b) {
  r.rect[0] = l;
  r.rect[1] = t;
  r.rect[2] = rt;
  r.rect[3] = b;
}

bool Holds(const CwFrameRegion& r, int x, int y) {
  return x >= r.rect[0] && x < r.rect[2] && y >= r.rect[1] && y < r.rect[3];
}

int Width(const CwFrameRegion& r) { return r.rect[2] - r.rect[0]; }
int Height(const CwFrameRegion& r) { return r.rect[3] - r.rect[1]; }

}  // namespace

uint32_t FrameFlagsFromStyle(uint32_t style) {
  uint32_t f = 0;
  if (style & 0x1) f |= FF_PARAMS;
  if (style & 0x20) f |= FF_TOGGLE;
  if (style & (0x100 | 0x80000)) f |= FF_CLOSE;
  if (style & 0x10000) f |= FF_MAXIMIZE;
  if (style & 0x20000) f |= FF_MINIMIZE;
  if ((style & 0xC00000) == 0xC00000 || (style & (0x80000 | 0x10000 | 0x20000))) f |= FF_CAPTION;
  if (style & 0x800000) f |= FF_BORDER;
  if (style & 0x400000) f |= FF_DLGFRAME;
  if (style & 0x100000) f |= FF_HSCROLL;
  if (style & 0x200000) f |= FF_VSCROLL;
  if (style & 0x40000) f |= FF_THICKFRAME;
  if (style & 0x80000) f |= FF_SYSMENU;
  return f;
}

int FrameKindFromFlags(uint32_t flags) {
  if (flags & FF_THICKFRAME) return 3;
  if (flags & FF_DLGFRAME) return 2;
  if (flags & FF_BORDER) return 1;
  return 0;
}

void LayoutFrame(CwFrameRegion* rg, uint32_t flags, int kind, const FrameMetrics& m, int W, int H,
                 int hscrollHeight, int vscrollWidth, int (*menuHeight)(void*, const int32_t*),
                 void* context) {
  for (int i = 1; i < FR_COUNT; ++i) {
    if (i == FR_RESTORE) continue;
    Set(rg[i], 0, 0, 0, 0);
  }
  if (kind == 0) {
    Set(rg[FR_CLIENT], 0, 0, W, H);
    return;
  }
  for (int i = FR_LEFT; i <= FR_BOTTOMRIGHT; ++i) rg[i].hit = kind == 3 ? i : FR_BORDER;

  const bool caption = flags & FF_CAPTION;
  if (caption) {
    int left = m.tlH >= m.top + m.caption ? m.tlW : m.tlH > m.top ? std::max(m.tlW, m.left) : m.left;
    int right = m.trH >= m.top + m.caption ? W - m.trW
                : m.trH > m.top            ? W - std::max(m.trW, m.right)
                                           : W - m.right;
    Set(rg[FR_CAPTION], left, m.top, right, m.top + m.caption);
    int y = m.top + 2;
    if (flags & FF_SYSMENU) Set(rg[FR_SYSMENU], left, y, left + m.buttonW, y + m.buttonH);
    int x = right;
    const struct {
      uint32_t flag;
      int region;
    } buttons[] = {
        {FF_CLOSE, FR_CLOSE}, {FF_MAXIMIZE, FR_MAXIMIZE}, {FF_MINIMIZE, FR_MINIMIZE}, {FF_TOGGLE, FR_TOGGLE}};
    for (const auto& b : buttons) {
      if (!(flags & b.flag)) continue;
      Set(rg[b.region], x - m.buttonW, y, x, y + m.buttonH);
      x -= m.buttonW;
    }
  }
  Set(rg[FR_TOPLEFT], 0, 0, m.tlW, m.tlH);
  Set(rg[FR_TOPRIGHT], W - m.trW, 0, W, m.trH);
  Set(rg[FR_BOTTOMLEFT], 0, H - m.blH, m.blW, H);
  Set(rg[FR_BOTTOMRIGHT], W - m.brW, H - m.brH, W, H);
  Set(rg[FR_TOP], m.tlW, 0, W - m.trW, m.top);
  Set(rg[FR_LEFT], 0, m.tlH, m.left, H - m.blH);
  Set(rg[FR_RIGHT], W - m.right, m.trH, W, H - m.brH);
  Set(rg[FR_BOTTOM], m.blW, H - m.bottom, W - m.brW, H);

  int32_t client[4] = {m.left, caption ? m.top + m.caption : m.top, W - m.right, H - m.bottom};
  if (flags & FF_HSCROLL) {
    Set(rg[FR_HSCROLL], client[0], client[3] - hscrollHeight, client[2], client[3]);
    client[3] -= hscrollHeight;
  }
  if (flags & FF_VSCROLL) {
    Set(rg[FR_VSCROLL], client[2] - vscrollWidth, client[1], client[2], client[3]);
    client[2] -= vscrollWidth;
  }
  if ((flags & FF_MENUBAR) && menuHeight) {
    int h = menuHeight(context, client);
    Set(rg[FR_MENU], client[0], client[1], client[2], client[1] + h);
    client[1] += h;
  }
  Set(rg[FR_CLIENT], client[0], client[1], client[2], std::max(client[1], client[3]));
}

int HitTestFrame(const CwFrameRegion* rg, int x, int y) {
  const int order[] = {FR_CLIENT, FR_CLOSE,   FR_MINIMIZE, FR_MAXIMIZE,
                       FR_TOGGLE, FR_SYSMENU, FR_CAPTION,  FR_MENU};
  for (int id : order)
    if (Holds(rg[id], x, y)) return id;
  for (int i = 0; i < FR_COUNT; ++i)
    if (Holds(rg[i], x, y)) return rg[i].hit;
  return 0;
}

void MinTrackSize(const CwFrameRegion* rg, int* width, int* height) {
  int buttons = Width(rg[FR_SYSMENU]) + Width(rg[FR_MINIMIZE]) + Width(rg[FR_MAXIMIZE]) +
                Width(rg[FR_CLOSE]) + Width(rg[FR_TOGGLE]);
  *width = std::max(buttons, Width(rg[FR_VSCROLL])) + Width(rg[FR_LEFT]) + Width(rg[FR_RIGHT]) + 1;
  *height = Height(rg[FR_TOP]) + Height(rg[FR_CAPTION]) + Height(rg[FR_MENU]) + Height(rg[FR_HSCROLL]) +
            Height(rg[FR_BOTTOM]) + 1;
}
