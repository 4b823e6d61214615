// Board drawing on the scene canvas.
#include "win/board_drawing_win32.h"

#include <algorithm>
#include <cstring>

#include "arrow_raster.h"
#include "board_drawing.h"
#include "custom_board.h"
#include "win/board_view_win32.h"

namespace {

constexpr int kLabelDepth = 9999;
constexpr int kArrowDepth = 9995;

// Pens by kind (0, 1, 3, 5, 6, 7), head pens and brushes, the red dot.
HPEN g_linePens[8] = {};
HPEN g_headPens[8] = {};
HBRUSH g_headBrushes[8] = {};
HPEN g_redPen = nullptr;
HBRUSH g_redBrush = nullptr;

COLORREF Ref(RasterColour c) { return RGB(c.red, c.green, c.blue); }

COLORREF TableColour(const BoardView* view, int index) {
  const DibRgbQuad& q = view->colours[index & 0xFF];
  return RGB(q.red, q.green, q.blue);
}

// A canvas of 16 or 24 bits is drawn antialiased; an 8-bit one with GDI.
bool RasterOf(const void* info, void* bits, int left, int top, int right, int bottom, RasterTarget* out) {
  const PackedDib* h = static_cast<const PackedDib*>(info);
  if (!h || !bits || (h->biBitCount != 16 && h->biBitCount != 24)) return false;
  int width = h->biWidth, height = std::abs(h->biHeight);
  *out = RasterTarget{static_cast<uint8_t*>(bits), ((width * h->biBitCount + 31) / 32) * 4, width, height,
                      h->biBitCount / 8, h->biHeight < 0, {left, top, right, bottom}};
  return true;
}

HFONT NameFont(BoardView* view) {
  int points = view->geometry->size / 100 + 6;
  if (view->nameFont && view->nameFontPoints == points) return view->nameFont;
  if (view->nameFont) DeleteObject(view->nameFont);
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  view->nameFont = CreateFontA(height, 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, "RookwellOnyx");
  view->nameFontPoints = points;
  return view->nameFont;
}

struct TextScope {
  HDC dc;
  HGDIOBJ oldFont;
  int oldMode;
  HRGN clip;
  TextScope(HDC d, HFONT font, int left, int top, int right, int bottom) : dc(d) {
    oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    oldMode = SetBkMode(dc, TRANSPARENT);
    clip = CreateRectRgn(left, top, right + 1, bottom + 1);
    SelectClipRgn(dc, clip);
  }
  ~TextScope() {
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
  }
};

void DrawSquareNames(void* dc, const void*, void*, int, int, int left, int top, int right, int bottom,
                     intptr_t user) {
  BoardView* view = reinterpret_cast<BoardView*>(user);
  if (!view || !dc || !view->host || view->host->Settings().coordinates != 2 || view->customizing) return;
  HDC hdc = static_cast<HDC>(dc);
  TextScope scope(hdc, NameFont(view), left, top, right, bottom);
  TEXTMETRICA tm{};
  GetTextMetricsA(hdc, &tm);
  SetTextColor(hdc, TableColour(view, PAL_BORDER));
  for (int row = 0; row < 8; ++row)
    for (int column = 0; column < 8; ++column) {
      if (view->records.squares[row][column] >= 0) continue;  // a piece stands there
      ScreenPoint p;
      if (!SquareCentre(view->projection, row, column, &p, nullptr)) continue;
      char name[2] = {static_cast<char>('a' + column), static_cast<char>('8' - row)};
      TextOutA(hdc, p.x - tm.tmAveCharWidth, p.y - tm.tmHeight / 2, name, 2);
    }
}

// The widest of the label characters: a font's own maximum width may
// belong to a glyph that no label uses and push the labels far off.
int WidestLabel(HDC dc) {
  int widest = 1;
  for (const char* c = "abcdefgh12345678"; *c; ++c) {
    SIZE size{};
    GetTextExtentPoint32A(dc, c, 1, &size);
    widest = std::max<int>(widest, size.cx);
  }
  return widest;
}

void DrawEdgeLabels(void* dc, const void*, void*, int, int, int left, int top, int right, int bottom,
                    intptr_t user) {
  BoardView* view = reinterpret_cast<BoardView*>(user);
  if (!view || !dc || !view->edgeLabels || view->host->Settings().coordinates != 1 || view->customizing) return;
  HDC hdc = static_cast<HDC>(dc);
  TextScope scope(hdc, NameFont(view), left, top, right, bottom);
  TEXTMETRICA tm{};
  GetTextMetricsA(hdc, &tm);
  SetTextColor(hdc, TableColour(view, PAL_CUSTOM_LIGHT));
  for (const EdgeLabel& label : EdgeLabelPlacements(view->projection, tm.tmHeight, WidestLabel(hdc))) {
    SIZE size{};
    GetTextExtentPoint32A(hdc, &label.text, 1, &size);
    TextOutA(hdc, label.at.x - size.cx / 2, label.at.y - size.cy / 2, &label.text, 1);
  }
}

// The lamps of the custom board: the side to move's filled, the other a ring.
void DrawTurnLamps(void* dc, const void* info, void* bits, int, int, int left, int top, int right, int bottom,
                   intptr_t user) {
  BoardView* view = reinterpret_cast<BoardView*>(user);
  if (!view || !dc || !view->turnLamps || !view->host->Settings().turnLights || view->customizing ||
      !view->host->HaveGame())
    return;
  HDC hdc = static_cast<HDC>(dc);
  HGDIOBJ oldFont = SelectObject(hdc, NameFont(view));
  TEXTMETRICA tm{};
  GetTextMetricsA(hdc, &tm);
  int widest = WidestLabel(hdc);
  SelectObject(hdc, oldFont);
  bool hSide = LampsOnHFileSide(view->geometry->turn);
  RasterTarget raster;
  bool blend = RasterOf(info, bits, left, top, right, bottom, &raster);
  for (bool white : {true, false}) {
    ScreenPoint lamp, corners[4];
    if (!LampPoint(view->projection, white, widest, &lamp)) continue;
    const char* neighbour = hSide ? (white ? "h3" : "h6") : (white ? "a3" : "a6");
    if (!GetSquareCornerPoints(view->projection, neighbour, corners)) continue;
    ScreenRect box = LampBox(view->geometry->turn, view->geometry->tilt, lamp, tm.tmHeight, corners);
    COLORREF own = TableColour(view, white ? PAL_WHITE_LAMP : PAL_BORDER), outline = TableColour(view, PAL_BORDER);
    bool toMove = (view->host->SideToMove() == WHITE) == white;
    int smaller = std::min(box.right - box.left, box.bottom - box.top);
    int ring = std::max(1, smaller / 3);
    auto colour = [](COLORREF c) { return RasterColour{GetRValue(c), GetGValue(c), GetBValue(c)}; };
    if (blend) {
      if (toMove) {
        FillRasterEllipse(&raster, box, colour(outline), 0);
        ScreenRect inner{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
        FillRasterEllipse(&raster, inner, colour(own), 0);
      } else {
        FillRasterEllipse(&raster, box, colour(own), ring);
      }
      continue;
    }
    HRGN clip = CreateRectRgn(left, top, right + 1, bottom + 1);
    SelectClipRgn(hdc, clip);
    HPEN pen = CreatePen(toMove ? PS_SOLID : PS_INSIDEFRAME, toMove ? 1 : ring, toMove ? outline : own);
    HBRUSH brush = toMove ? CreateSolidBrush(own) : nullptr;
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    HGDIOBJ oldBrush = SelectObject(hdc, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
    Ellipse(hdc, box.left, box.top, box.right + 1, box.bottom + 1);
    SelectObject(hdc, oldBrush);
    SelectObject(hdc, oldPen);
    DeleteObject(pen);
    if (brush) DeleteObject(brush);
    SelectClipRgn(hdc, nullptr);
    DeleteObject(clip);
  }
}

void DrawArrowGdi(HDC dc, const ArrowShape& shape, int kind) {
  int k = std::clamp(kind, 0, 7);
  HGDIOBJ oldPen = SelectObject(dc, g_linePens[k] ? g_linePens[k] : g_linePens[PEN_TAN]);
  if (shape.curved) {
    Arc(dc, shape.box.left, shape.box.top, shape.box.right, shape.box.bottom, shape.arcStart.x, shape.arcStart.y,
        shape.arcEnd.x, shape.arcEnd.y);
  } else {
    MoveToEx(dc, shape.from.x, shape.from.y, nullptr);
    LineTo(dc, shape.to.x, shape.to.y);
  }
  SelectObject(dc, g_headPens[k] ? g_headPens[k] : g_headPens[PEN_TAN]);
  HGDIOBJ oldBrush = SelectObject(dc, g_headBrushes[k] ? g_headBrushes[k] : g_headBrushes[PEN_TAN]);
  Ellipse(dc, shape.to.x - kArrowHeadRadius, shape.to.y - kArrowHeadRadius, shape.to.x + kArrowHeadRadius,
          shape.to.y + kArrowHeadRadius);
  SelectObject(dc, g_redPen);
  SelectObject(dc, g_redBrush);
  Ellipse(dc, shape.to.x - kArrowDotRadius, shape.to.y - kArrowDotRadius, shape.to.x + kArrowDotRadius,
          shape.to.y + kArrowDotRadius);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

void DrawArrows(void* dc, const void* info, void* bits, int, int, int left, int top, int right, int bottom,
                intptr_t user) {
  BoardView* view = reinterpret_cast<BoardView*>(user);
  if (!view || !dc || view->customizing) return;
  RasterTarget raster;
  bool blend = RasterOf(info, bits, left, top, right, bottom, &raster);
  HDC hdc = static_cast<HDC>(dc);
  HRGN clip = nullptr;
  if (!blend) {
    clip = CreateRectRgn(left, top, right + 1, bottom + 1);
    SelectClipRgn(hdc, clip);
  }
  for (const ArrowSlot& slot : view->arrows) {
    if (!slot.inUse) continue;
    ArrowShape shape;
    if (!ComputeArrowShape(view->projection, slot, &shape)) continue;
    if (blend)
      DrawArrowRaster(&raster, shape, slot.penKind);
    else
      DrawArrowGdi(hdc, shape, slot.penKind);
  }
  if (clip) {
    SelectClipRgn(hdc, nullptr);
    DeleteObject(clip);
  }
}

void RepaintWholeBoard(BoardView* view) {
  if (!view || !view->window) return;
  RECT all{};
  GetClientRect(view->window, &all);
  RedrawBoardScene(view, &all);
}

}  // namespace

void InitBoardDrawing() {
  if (g_redPen) return;
  for (int kind : {0, 1, 3, 5, 6, 7}) {
    ArrowPenStyle style = ArrowPenStyleFor(kind);
    // Palette-relative colours, so an 8-bit canvas takes the nearest entry.
    COLORREF line = 0x02000000 | Ref(style.line), head = 0x02000000 | Ref(style.head);
    g_linePens[kind] = CreatePen(style.dotted ? PS_DOT : PS_SOLID, static_cast<int>(style.width), line);
    g_headPens[kind] = CreatePen(PS_SOLID, 1, head);
    g_headBrushes[kind] = CreateSolidBrush(head);
  }
  g_redPen = CreatePen(PS_SOLID, 1, Ref(kArrowRed));
  g_redBrush = CreateSolidBrush(Ref(kArrowRed));
}

void TermBoardDrawing() {
  for (int i = 0; i < 8; ++i) {
    if (g_linePens[i]) DeleteObject(g_linePens[i]);
    if (g_headPens[i]) DeleteObject(g_headPens[i]);
    if (g_headBrushes[i]) DeleteObject(g_headBrushes[i]);
    g_linePens[i] = g_headPens[i] = nullptr;
    g_headBrushes[i] = nullptr;
  }
  if (g_redPen) DeleteObject(g_redPen);
  if (g_redBrush) DeleteObject(g_redBrush);
  g_redPen = nullptr;
  g_redBrush = nullptr;
}

int ApplyBoardColoursToPalette(BoardView* view, int boardSet) {
  if (!view || !view->host) return 0;
  BoardColour dark, light;
  if (boardSet == kCustomBoardSet) {
    dark = view->custom.dark, light = view->custom.light;
  } else {
    // A regular set's two colours are palette entries of its own pictures.
    const DibRgbQuad& d = view->colours[view->geometry->darkColour & 0xFF];
    const DibRgbQuad& l = view->colours[view->geometry->lightColour & 0xFF];
    dark = {d.blue, d.green, d.red, 0}, light = {l.blue, l.green, l.red, 0};
  }
  dark = FixPureBlack(dark), light = FixPureBlack(light);
  view->colours[PAL_CUSTOM_DARK] = DibRgbQuad{dark.blue, dark.green, dark.red, 0};
  view->colours[PAL_CUSTOM_LIGHT] = DibRgbQuad{light.blue, light.green, light.red, 0};
  SetCanvasColorTable(view->scene, view->colours, 256);
  view->host->ReviseProgramPalette(PAL_CUSTOM_DARK, &view->colours[PAL_CUSTOM_DARK], 2);
  return 1;
}

bool ComposeCustomBoard(BoardView* view, HWND) {
  if (!view || !view->geometry) return false;
  RasterColour palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = {view->colours[i].red, view->colours[i].green, view->colours[i].blue};
  view->projection.geometry = view->geometry;
  RebuildBoardOutline(&view->projection);
  ComposedBoard composed;
  if (!ComposeCustomBoardPixels(view->projection, palette, &composed)) return false;
  PackedDib* dib = dibCreateWithColors(composed.width, composed.height, 8);
  if (!dib) return false;
  std::memcpy(dibGetColorArea(dib), view->colours, sizeof view->colours);
  // Rows of a bottom-up picture are stored last row first.
  uint8_t* bits = static_cast<uint8_t*>(dibGetBits(dib));
  int stride = (composed.width + 3) & ~3;
  bool bottomUp = dib->biHeight > 0;
  for (int y = 0; y < composed.height; ++y)
    std::memcpy(bits + static_cast<size_t>(bottomUp ? composed.height - 1 - y : y) * stride,
                composed.pixels.data() + static_cast<size_t>(y) * composed.width, composed.width);
  if (view->ownedBoardBitmap) dibDelete(view->ownedBoardBitmap);
  view->ownedBoardBitmap = dib;
  view->boardBitmap = dib;
  view->custom.x = composed.registration.x;
  view->custom.y = composed.registration.y;
  if (view->boardSprite >= 0) {
    if (view->boardSpriteImage >= 0) DeleteSpriteDib(view->scene, view->boardSpriteImage);
    view->boardSpriteImage = AddSpriteDib(view->scene, dib);
    if (view->boardSpriteImage >= 0) SetSpriteSpriteDib(view->scene, view->boardSprite, view->boardSpriteImage);
  }
  return true;
}

bool BoardBounds(BoardView* view, RECT* out) {
  if (!view || !out || !view->geometry) return false;
  RebuildBoardOutline(&view->projection);
  ScreenPoint p;
  RECT r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int row : {0, 8})
    for (int column : {0, 8}) {
      if (!GridPoint(view->projection, row, column, true, &p)) return false;
      r.left = std::min<LONG>(r.left, p.x), r.top = std::min<LONG>(r.top, p.y);
      r.right = std::max<LONG>(r.right, p.x), r.bottom = std::max<LONG>(r.bottom, p.y);
    }
  *out = r;
  return true;
}

void RegisterBoardDrawing(BoardView* view) {
  if (!view || !view->scene) return;
  RegisterDrawCallback(view->scene, DrawSquareNames, kLabelDepth, kLabelDepth, reinterpret_cast<intptr_t>(view));
  RegisterDrawCallback(view->scene, DrawArrows, kArrowDepth, kArrowDepth, reinterpret_cast<intptr_t>(view));
}

void UnregisterBoardDrawing(BoardView* view) {
  if (!view || !view->scene) return;
  UnregisterDrawCallback(view->scene, DrawSquareNames, kLabelDepth, kLabelDepth);
  UnregisterDrawCallback(view->scene, DrawArrows, kArrowDepth, kArrowDepth);
  UnregisterCustomBoardDrawing(view);
  if (view->nameFont) DeleteObject(view->nameFont);
  view->nameFont = nullptr;
}

void RegisterCustomBoardDrawing(BoardView* view) {
  if (!view || !view->scene || view->customCallbacks) return;
  RegisterDrawCallback(view->scene, DrawEdgeLabels, kLabelDepth, kLabelDepth, reinterpret_cast<intptr_t>(view));
  RegisterDrawCallback(view->scene, DrawTurnLamps, kLabelDepth, kLabelDepth, reinterpret_cast<intptr_t>(view));
  view->customCallbacks = true;
}

void UnregisterCustomBoardDrawing(BoardView* view) {
  if (!view || !view->scene || !view->customCallbacks) return;
  UnregisterDrawCallback(view->scene, DrawEdgeLabels, kLabelDepth, kLabelDepth);
  UnregisterDrawCallback(view->scene, DrawTurnLamps, kLabelDepth, kLabelDepth);
  view->customCallbacks = false;
}

void AddBoardArrow(BoardView* view, const char* text) {
  if (!view || !AddArrow(view->arrows, text)) return;
  RepaintWholeBoard(view);
}

void ClearBoardArrows(BoardView* view) {
  if (!view) return;
  ClearArrows(view->arrows);
  RepaintWholeBoard(view);
}

void CopyArrowSlots(BoardView* view, const ArrowSlot& slot) {
  if (view) CopyArrowSlot(view->arrows, slot);
}

ArrowSlot* GetArrowSlots(BoardView* view) { return view ? view->arrows : nullptr; }
