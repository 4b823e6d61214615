// A frame, menu and status look for the framed-window tests and the
// gallery, built from bitmaps made in memory (test skin until the real
// skin exists). Colours are palette indices 200..222, which the gallery's
// palette defines.
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>

#include "dibkit.h"
#include "facet_frame.h"

namespace framelook {

enum : int {
  kDark = 200,
  kMid,
  kLight,
  kCaption,
  kCaptionLight,
  kCaptionInactive,
  kCaptionText,
  kClose,
  kButton,
  kButtonPressed,
  kBar,
  kBarHot,
  kMenuText,
  kPopup,
  kHighlight,
  kGrey,
  kHotText,
  kStatusText,
  kStatusBack,
  kProgress,
  kSeparator,
  kClient,
  kGlyph
};

// The RGB of each colour above, in order.
inline const BYTE kRgb[][3] = {
    {58, 40, 26},    {112, 78, 48},   {176, 132, 82}, {34, 66, 112},   {78, 118, 172},  {104, 104, 112},
    {250, 242, 214}, {178, 58, 46},   {196, 166, 96}, {120, 88, 40},   {230, 220, 196}, {78, 118, 172},
    {32, 32, 40},    {248, 244, 230}, {78, 118, 172}, {150, 144, 132}, {255, 255, 255}, {32, 32, 40},
    {214, 204, 178}, {62, 132, 64},   {150, 126, 92}, {238, 232, 214}, {250, 250, 240}};

inline PackedDib* Image(int w, int h, const std::function<int(int x, int y)>& pixel) {
  PackedDib* d = dibCreateWithColors(w, h, 8);
  if (!d) return nullptr;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) *static_cast<uint8_t*>(dibGetPixelAddress(d, x, y)) = uint8_t(pixel(x, y));
  return d;
}

inline PackedDib* Solid(int w, int h, int index) {
  return Image(w, h, [=](int, int) { return index; });
}

// Edge strips shade from dark outside to light inside.
inline PackedDib* EdgeH(int w, int h, bool top) {
  return Image(w, h, [=](int, int y) {
    int d = top ? y : h - 1 - y;
    return d == 0 ? kDark : d < h - 1 ? kMid : kLight;
  });
}
inline PackedDib* EdgeV(int w, int h, bool left) {
  return Image(w, h, [=](int x, int) {
    int d = left ? x : w - 1 - x;
    return d == 0 ? kDark : d < w - 1 ? kMid : kLight;
  });
}

// A caption strip: a band of the caption colour with a lighter top half.
inline PackedDib* Caption(int w, int h, bool active) {
  return Image(w, h, [=](int, int y) {
    if (!active) return int(kCaptionInactive);
    return y < h / 2 ? int(kCaptionLight) : int(kCaption);
  });
}

// A 16 x 14 frame button with a glyph: 'x' close, 'o' maximize, '_'
// minimize, 'r' restore, 't' toggle, 's' system menu.
inline PackedDib* Button(char glyph, bool pressed) {
  return Image(16, 14, [=](int x, int y) {
    bool edge = x == 0 || y == 0 || x == 15 || y == 13;
    if (edge) return pressed ? int(kLight) : int(kDark);
    int face = glyph == 'x' ? kClose : pressed ? kButtonPressed : kButton;
    bool ink = false;
    switch (glyph) {
      case 'x':
        ink = (x - 4 == y - 3 || 11 - x == y - 3) && y >= 3 && y <= 10 && x >= 4 && x <= 11;
        break;
      case 'o':
        ink = x >= 4 && x <= 11 && y >= 3 && y <= 10 && (x == 4 || x == 11 || y == 3 || y == 4 || y == 10);
        break;
      case '_':
        ink = x >= 4 && x <= 11 && (y == 9 || y == 10);
        break;
      case 'r':
        ink = (x >= 4 && x <= 9 && y >= 6 && y <= 10 && (x == 4 || x == 9 || y == 6 || y == 10)) ||
              (x >= 6 && x <= 11 && y >= 3 && y <= 7 &&
               (x == 11 || y == 3 || (x == 6 && y < 6) || (y == 7 && x > 9)));
        break;
      case 't':
        ink = x >= 5 && x <= 10 && y >= 4 && y <= 9;
        break;
      case 's':
        ink = (x - 7) * (x - 7) + (y - 6) * (y - 6) <= 10;
        break;
      default:
        break;
    }
    return ink ? int(kGlyph) : face;
  });
}

// Fills the defaults with the test look: frame sets (module 0: the words
// hold images already), the menu look (bar kind 3) and the status look.
inline void Fill(CwDefaults* d, HPALETTE palette, HFONT menuFont, HFONT statusFont) {
  d->palette = palette;
  d->mapColours = 0;
  for (CwFrameBitmapSet* s : {&d->sizable, &d->border, &d->dialog}) {
    std::memset(s, 0, sizeof *s);
    s->present = 1;
    s->textMode = 1;
    s->textX = 6;
    s->textY = 4;
    s->textColour[0] = kCaptionText;
    s->textColour[1] = kLight;
    s->font = menuFont;
    const int edge = s == &d->sizable ? 6 : 4;
    const int bottom = 22;  // room for the status bar
    auto set = [&](int word, PackedDib* image) { s->pieces[word - FW_FIRST_BITMAP] = image; };
    set(FW_SYSMENU, Button('s', false));
    set(FW_SYSMENU + 1, Button('s', true));
    set(FW_MINIMIZE, Button('_', false));
    set(FW_MINIMIZE + 1, Button('_', true));
    set(FW_MAXIMIZE, Button('o', false));
    set(FW_MAXIMIZE + 1, Button('o', true));
    set(FW_CLOSE, Button('x', false));
    set(FW_CLOSE + 1, Button('x', true));
    set(FW_RESTORE, Button('r', false));
    set(FW_RESTORE + 1, Button('r', true));
    set(FW_TOGGLE, Button('t', false));
    set(FW_TOGGLE + 1, Button('t', true));
    for (int look = 0; look < 2; ++look) {
      for (int i = 0; i < 3; ++i) set(FW_CAPTION + look * 3 + i, Caption(8, 18, look == 0));
      for (int i = 0; i < 3; ++i) {
        set(FW_LEFT + look * 3 + i, EdgeV(edge, 8, true));
        set(FW_RIGHT + look * 3 + i, EdgeV(edge, 8, false));
        set(FW_TOP + look * 3 + i, EdgeH(8, edge, true));
        set(FW_BOTTOM + look * 3 + i, Image(8, bottom, [=](int, int y) {
              return y == bottom - 1 ? int(kDark) : y == 0 ? int(kMid) : int(kStatusBack);
            }));
      }
    }
    for (int i = 0; i < 2; ++i) {
      set(FW_TOPLEFT + i,
          Image(edge, edge + 18, [=](int x, int y) { return x == 0 || y == 0 ? int(kDark) : int(kMid); }));
      set(FW_TOPRIGHT + i, Image(edge, edge + 18, [=](int x, int y) {
            return x == edge - 1 || y == 0 ? int(kDark) : int(kMid);
          }));
      set(FW_BOTTOMLEFT + i, Image(edge, bottom, [=](int x, int y) {
            return x == 0 || y == bottom - 1 ? int(kDark) : int(kMid);
          }));
      set(FW_BOTTOMRIGHT + i, Image(edge, bottom, [=](int x, int y) {
            return x == edge - 1 || y == bottom - 1 ? int(kDark) : int(kMid);
          }));
    }
    set(FW_BACKGROUND, Solid(8, 8, kClient));
  }

  CwMenuLook& m = d->menuLook;
  std::memset(&m, 0, sizeof m);
  m.present = 1;
  m.imageFrame = 1;
  m.barKind = 3;
  m.font = menuFont;
  m.points = 9;
  m.gap = 1;
  m.normalX = 6;
  m.hotX = 6;
  m.barText = kMenuText;
  m.barTextHot = kHotText;
  m.itemText = kMenuText;
  m.itemTextHighlighted = kHotText;
  m.background = kPopup;
  m.highlightFill = kHighlight;
  m.grayText = kGrey;
  m.grayTextHighlighted = kLight;
  for (auto& p : m.barBackground)
    p = Image(8, 20, [](int, int y) { return y == 19 ? int(kMid) : int(kBar); });
  for (auto& p : m.barItem) p = Image(4, 20, [](int, int y) { return y == 19 ? int(kMid) : int(kBar); });
  for (auto& p : m.barItemHot)
    p = Image(4, 20, [](int, int y) {
      return y == 19 ? int(kMid) : y < 2 || y > 17 ? int(kBar) : int(kBarHot);
    });
  const int fs[8][2] = {{3, 3}, {8, 3}, {3, 3}, {3, 8}, {3, 3}, {8, 3}, {3, 3}, {3, 8}};
  for (int i = 0; i < 8; ++i)
    m.frame[i] =
        Image(fs[i][0], fs[i][1], [](int x, int y) { return x == 0 || y == 0 ? int(kMid) : int(kDark); });
  m.frame[0] = Image(3, 3, [](int x, int y) { return x == 0 || y == 0 ? int(kLight) : int(kMid); });
  m.frame[1] = Image(8, 3, [](int, int y) { return y == 0 ? int(kLight) : int(kMid); });
  m.frame[7] = Image(3, 8, [](int x, int) { return x == 0 ? int(kLight) : int(kMid); });
  for (auto& p : m.separator)
    p = Image(8, 5, [](int, int y) { return y == 2 ? int(kSeparator) : int(kPopup); });
  auto tick = [](int x, int y) {
    return (x >= 1 && x <= 3 && y == 5 + x) || (x >= 3 && x <= 8 && (y == 11 - x || y == 12 - x));
  };
  m.check[0] = Image(10, 12, [=](int x, int y) { return tick(x, y) ? int(kMenuText) : int(kPopup); });
  m.check[1] = Image(10, 12, [=](int x, int y) { return tick(x, y) ? int(kHotText) : int(kHighlight); });
  m.arrow[0] =
      Image(5, 9, [](int x, int y) { return x <= (y < 4 ? y : 8 - y) ? int(kMenuText) : int(kPopup); });
  m.arrow[1] =
      Image(5, 9, [](int x, int y) { return x <= (y < 4 ? y : 8 - y) ? int(kHotText) : int(kHighlight); });
  m.statusText = 1;
  m.statusBase = 8000;
  m.statusModule = GetModuleHandleA(nullptr);
  m.statusPart = 0;
  m.imagesLoaded = 0;

  CwStatusLook& st = d->statusLook;
  std::memset(&st, 0, sizeof st);
  st.present = 1;
  std::strcpy(st.face, "Arial");
  st.points = 9;
  st.font = statusFont;
  st.separator = Image(2, 22, [](int x, int y) {
    return y == 0            ? int(kMid)
           : y == 21         ? int(kDark)
           : y < 4 || y > 17 ? int(kStatusBack)
           : x == 0          ? int(kMid)
                             : int(kLight);
  });
  st.progressColour = kProgress;
  st.textColour = kStatusText;
}

}  // namespace framelook
