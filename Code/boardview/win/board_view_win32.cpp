// The board view record, its scene layer and its creation.
#include "board_view_win32.h"

#include <algorithm>
#include <cstring>

#include "dibkit_gdi.h"
#include "heapkit.h"
#include "win/board_drawing_win32.h"
#include "win/font_piece_sheet_win32.h"
#include "win/markup_glyphs_win32.h"

namespace {

constexpr int kBoardDepth = 10000;
constexpr int kDecorationDepth = 9995;
constexpr int kTopLeftAnchor = -1;

int AverageCharWidth() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 7;
}

COLORREF PaletteColour(const PackedDib* picture, int index) {
  if (!picture || picture->biBitCount != 8) return RGB(0, 0, 0);
  const DibRgbQuad* table = static_cast<const DibRgbQuad*>(dibGetColorArea(picture));
  const DibRgbQuad& q = table[index & 0xFF];
  return RGB(q.red, q.green, q.blue);
}

void ResetGroups(BoardView* view) {
  for (int g = 0; g < 2; ++g)
    for (int i = 0; i < 4; ++i) {
      view->groupBitmaps[g][i] = nullptr;
      view->groupSprites[g][i] = -1;
      view->groupImages[g][i] = -1;
    }
}

void CreateGroupSprites(BoardView* view) {
  for (int g = 0; g < 2; ++g)
    for (int i = 0; i < 4; ++i)
      if (view->groupSprites[g][i] < 0) view->groupSprites[g][i] = AddSprite(view->scene);
}

void SetGroupImages(BoardView* view) {
  for (int g = 0; g < 2; ++g)
    for (int i = 0; i < 4; ++i) {
      if (!view->groupBitmaps[g][i] || view->groupSprites[g][i] < 0) continue;
      if (view->groupImages[g][i] >= 0) DeleteSpriteDib(view->scene, view->groupImages[g][i]);
      view->groupImages[g][i] = AddSpriteDib(view->scene, view->groupBitmaps[g][i]);
      if (view->groupImages[g][i] >= 0)
        SetSpriteSpriteDib(view->scene, view->groupSprites[g][i], view->groupImages[g][i]);
    }
}

void DeleteGroupSprites(BoardView* view) {
  for (int g = 0; g < 2; ++g)
    for (int i = 0; i < 4; ++i) {
      if (view->groupSprites[g][i] >= 0) DeleteSprite(view->scene, view->groupSprites[g][i]);
      if (view->groupImages[g][i] >= 0) DeleteSpriteDib(view->scene, view->groupImages[g][i]);
      view->groupSprites[g][i] = view->groupImages[g][i] = -1;
    }
}

bool GroupVisible(BoardView* view, int g, int i) {
  return view->groupSprites[g][i] >= 0 && view->groupImages[g][i] >= 0 &&
         IsSpriteVisible(view->scene, view->groupSprites[g][i]);
}

void ShowGroupPicture(BoardView* view, int g, int i, int x, int y) {
  if (view->groupSprites[g][i] < 0 || view->groupImages[g][i] < 0) return;
  ShowSprite(view->scene, view->groupSprites[g][i], view->projection.pictureOrigin.x + x,
             view->projection.pictureOrigin.y + y, kDecorationDepth, kTopLeftAnchor);
}

void RepaintSpriteRect(BoardView* view, int sprite) {
  DibRect r;
  if (sprite < 0 || !GetSpriteRect(view->scene, &r, sprite)) return;
  RECT rect{r.left, r.top, r.right, r.bottom};
  RedrawBoardScene(view, &rect);
}

}  // namespace

void SetScenePalette(AnimScene* scene, const PackedDib* palettePicture) {
  DibRgbQuad* table = palCopySystemPalette(256);
  if (!table) return;
  // The system keeps its twenty static colours; the board's ramps fill the rest.
  if (palettePicture) palColorsFromDIB(palettePicture, table, 10, 245);
  SetCanvasColorTable(scene, table, 256);
  memFree_rel(table);  // a table of the heap library
}

void SetViewPalette(BoardView* view, const PackedDib* palettePicture) {
  DibRgbQuad* table = palCopySystemPalette(256);
  if (!table) return;
  if (palettePicture) palColorsFromDIB(palettePicture, table, 10, 245);
  std::memcpy(view->colours, table, sizeof view->colours);
  memFree_rel(table);
  SetCanvasColorTable(view->scene, view->colours, 256);
}

void FitBoardSceneToWindow(HWND window, AnimScene* scene, PackedDib* background) {
  RECT client{};
  GetClientRect(window, &client);
  if (client.right > 0 && client.bottom > 0) SetCanvasSize(scene, client.right, client.bottom);
  BackgroundSetDibFromPtr(scene, background);
}

void RedrawBoardScene(BoardView* view, const RECT* rect) {
  if (!view || !view->scene || !view->window) return;
  HDC dc = GetDC(view->window);
  if (!dc) return;
  HPALETTE palette = view->host ? view->host->ProgramPalette() : nullptr;
  HPALETTE old = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
  if (palette) RealizePalette(dc);
  if (rect) MakeRectInvalid(view->scene, rect->left, rect->top, rect->right, rect->bottom);
  PaintScene(view->scene, dc);
  if (old) SelectPalette(dc, old, TRUE);
  ReleaseDC(view->window, dc);
}

void ShowTurnLight(BoardView* view) {
  if (!view || !view->host->HaveGame()) return;
  for (int i : {1, 0, 3, 2})
    if (GroupVisible(view, 1, i)) {
      HideSprite(view->scene, view->groupSprites[1][i]);
      break;
    }
  bool white = view->host->SideToMove() == WHITE;
  int picture = view->flipped ? (white ? 2 : 3) : (white ? 0 : 1);
  ShowGroupPicture(view, 1, picture, view->geometry->lightX, view->geometry->lightY);
  RepaintSpriteRect(view, view->groupSprites[1][0] >= 0 && view->groupImages[1][0] >= 0
                              ? view->groupSprites[1][0]
                              : view->groupSprites[1][picture]);
}

void HideTurnLights(BoardView* view) {
  if (!view || !view->host->HaveGame()) return;
  for (int i = 0; i < 4; ++i)
    if (view->groupSprites[1][i] >= 0) HideSprite(view->scene, view->groupSprites[1][i]);
  RepaintSpriteRect(view, view->groupSprites[1][0]);
}

void ShowCoordinateLabels(BoardView* view) {
  if (!view) return;
  int hideA = view->flipped ? 0 : 3, hideB = view->flipped ? 2 : 1;
  if (GroupVisible(view, 0, hideA) || GroupVisible(view, 0, hideB)) {
    HideSprite(view->scene, view->groupSprites[0][hideA]);
    HideSprite(view->scene, view->groupSprites[0][hideB]);
  }
  int first = view->flipped ? 1 : 0, second = view->flipped ? 3 : 2;
  ShowGroupPicture(view, 0, second, view->geometry->labelX[1], view->geometry->labelY[1]);
  ShowGroupPicture(view, 0, first, view->geometry->labelX[0], view->geometry->labelY[0]);
}

void HideCoordinateLabels(BoardView* view) {
  if (!view) return;
  for (int i : {view->flipped ? 1 : 0, view->flipped ? 3 : 2})
    if (view->groupSprites[0][i] >= 0) HideSprite(view->scene, view->groupSprites[0][i]);
}

bool HitBoardSprites(BoardView* view, int x, int y) {
  if (!view || !view->scene) return false;
  int sprite = -1;
  if (!GetSpriteFromPoint(view->scene, x, y, &sprite) || sprite < 0) return false;
  if (sprite == view->boardSprite) return true;
  for (int g = 0; g < 2; ++g)
    for (int i = 0; i < 4; ++i)
      if (sprite == view->groupSprites[g][i]) return true;
  return false;
}

void RebindBoardPictures(BoardView* view) {
  if (!view || !view->scene) return;
  for (int g = 0; g < 2; ++g)
    for (int i = 0; i < 4; ++i) {
      if (view->groupSprites[g][i] >= 0) HideSprite(view->scene, view->groupSprites[g][i]);
      if (view->groupImages[g][i] >= 0) DeleteSpriteDib(view->scene, view->groupImages[g][i]);
      view->groupImages[g][i] = -1;
      view->groupBitmaps[g][i] = view->host->RoomGroupBitmap(g, i);
    }
  SetGroupImages(view);
  view->boardBitmap = view->host->RoomBoardBitmap();
  if (view->boardSpriteImage >= 0) DeleteSpriteDib(view->scene, view->boardSpriteImage);
  view->boardSpriteImage = view->boardBitmap ? AddSpriteDib(view->scene, view->boardBitmap) : -1;
  if (view->boardSpriteImage >= 0) SetSpriteSpriteDib(view->scene, view->boardSprite, view->boardSpriteImage);
}

void RebuildPieceSprites(BoardView* view, PackedDib* ownSheet) {
  if (!view || !view->scene) return;
  DeleteGlyphSprites(view);
  view->sprites.reset();  // the old cels leave the scene before their sheet goes
  if (!ownSheet) view->pieceSet = view->host->RoomPieceSet();
  if (view->ownedPieceSheet && view->ownedPieceSheet != ownSheet) dibDelete(view->ownedPieceSheet);
  view->ownedPieceSheet = ownSheet;
  PackedDib* sheet = ownSheet ? ownSheet : view->host->RoomPieceSheet();
  view->sprites = std::make_unique<SceneSprites>(view->scene, IsFlatBoard(*view->geometry));
  view->records = PieceSpriteRecords();
  view->records.multiCel = view->pieceSet->celFlag != 0;
  if (sheet) view->sprites->BuildPieceCels(sheet, *view->pieceSet);
  view->sprites->CreatePieceSprites();
  CreateGlyphSprites(view);
  view->projection.celWidth = view->pieceSet->celWidth;
  view->projection.celHeight = view->pieceSet->celHeight;
}

void RebuildFramedCustomBoard(BoardView* view, int width) {
  if (!view || view->boardSetIndex != kCustomBoardSet) return;
  int32_t size = width - 2 * view->projection.leftMargin - 4;
  if (size < 16) return;
  view->custom.size = size;
  view->geometry->size = size;
  ComposeCustomBoard(view, view->window);
  PackedDib* sheet = nullptr;
  PieceSetRecord* set = view->pieceSet;
  if (set && BuildFontPieceSheet(&sheet, set, 0, size / 8)) {
    set->celFlag = 0;
    RebuildPieceSprites(view, sheet);
  }
  PlaceBoardFromPosition(view);
}

void PlaceBoardFromPosition(BoardView* view) {
  if (!view || !view->sprites) return;
  view->projection.geometry = view->geometry;
  ScreenPoint custom{view->custom.x, view->custom.y};
  UpdateBoardOffset(&view->projection, view->boardSetIndex == kCustomBoardSet ? &custom : nullptr);
  if (view->boardSprite >= 0)
    ShowSprite(view->scene, view->boardSprite, view->projection.pictureOrigin.x,
               view->projection.pictureOrigin.y, kBoardDepth, kTopLeftAnchor);
  if (view->host->HaveGame())
    SetPieceSpritesFromPosition(&view->records, view->sprites.get(), view->geometry->turn,
                                view->host->Position());
  LayoutPieceSprites(&view->records, view->sprites.get(), view->projection, view->hideMode);
  LayoutMarkupGlyphs(view);
  BoardSettings settings = view->host->Settings();
  if (settings.coordinates == 1)
    ShowCoordinateLabels(view);
  else
    HideCoordinateLabels(view);
  if (settings.turnLights) ShowTurnLight(view);
}

void MarkSquares(BoardView* view, const char* squares, uint32_t flag) {
  if (!view) return;
  view->marks.MarkSquares(squares, flag);
  InvalidateRect(view->window, nullptr, FALSE);
}

void ClearSquareMarks(BoardView* view) {
  if (!view) return;
  view->marks.ClearAll();
  RECT all{0, 0, 0, 0};
  GetClientRect(view->window, &all);
  RedrawBoardScene(view, &all);
}

void SetLastMoveMarks(BoardView* view, const MoveRecord* move, bool on) {
  if (!view || !move) return;
  view->marks.SetLastMoveMarks(move->from, move->to, on);
  RECT all{0, 0, 0, 0};
  GetClientRect(view->window, &all);
  MakeRectInvalid(view->scene, all.left, all.top, all.right, all.bottom);
  InvalidateRect(view->window, nullptr, FALSE);
}

HWND CreateBoardWindow(BoardViewHost* host, HINSTANCE instance);

BoardView* CreateBoardView(BoardViewHost* host, HINSTANCE instance) {
  if (!host || !host->RoomBoardSet() || !host->RoomPieceSet()) return nullptr;
  auto view = std::make_unique<BoardView>();
  view->host = host;
  view->window = CreateBoardWindow(host, instance);
  if (!view->window) return nullptr;
  view->scene = InitAnimate(reinterpret_cast<intptr_t>(view->window));
  if (!view->scene) {
    DestroyWindow(view->window);
    return nullptr;
  }
  SetWindowLongPtrA(view->window, 3 * sizeof(LONG_PTR), reinterpret_cast<LONG_PTR>(view.get()));
  SetViewPalette(view.get(), host->PalettePicture());
  view->geometry = host->RoomBoardSet();
  InitArrowSlots(view->arrows);
  view->boardSetIndex = host->BoardSetIndex();
  view->pieceSet = host->RoomPieceSet();
  ResetGroups(view.get());
  CreateGroupSprites(view.get());
  view->boardBitmap = host->RoomBoardBitmap();
  for (int g = 0; g < 2; ++g)
    for (int i = 0; i < 4; ++i) view->groupBitmaps[g][i] = host->RoomGroupBitmap(g, i);
  view->boardSprite = AddSprite(view->scene);
  if (view->boardBitmap) {
    view->boardSpriteImage = AddSpriteDib(view->scene, view->boardBitmap);
    if (view->boardSpriteImage >= 0)
      SetSpriteSpriteDib(view->scene, view->boardSprite, view->boardSpriteImage);
  }
  view->sprites = std::make_unique<SceneSprites>(view->scene, IsFlatBoard(*view->geometry));
  view->records.multiCel = view->pieceSet->celFlag != 0;
  if (host->RoomPieceSheet()) view->sprites->BuildPieceCels(host->RoomPieceSheet(), *view->pieceSet);
  view->sprites->CreatePieceSprites();
  CreateGlyphSprites(view.get());
  SetGroupImages(view.get());

  // The lobby's board sits at a fixed offset; other rooms take it from their layout.
  if (host->Room() == 0) {
    view->geometry->originX = 6;
    view->geometry->originY = 15;
  } else {
    ScreenPoint offset = host->LayoutBoardOffset();
    view->geometry->originX = offset.x;
    view->geometry->originY = offset.y;
  }
  view->projection.geometry = view->geometry;
  view->projection.leftMargin = 2 * AverageCharWidth();
  view->projection.celWidth = view->pieceSet->celWidth;
  view->projection.celHeight = view->pieceSet->celHeight;
  if (view->boardSetIndex == kCustomBoardSet) {
    // The custom board is drawn here from the room's view of it.
    if (host->RoomCustomView()) view->custom = *host->RoomCustomView();
    TakeOverCustomView(&view->custom, view->geometry, host->ScreenHeight());
    ApplyBoardColoursToPalette(view.get(), kCustomBoardSet);
    ComposeCustomBoard(view.get(), view->window);
  }
  view->marks.ClearAll();
  const PackedDib* pal = host->PalettePicture();
  view->markLayer =
      MarkLayer{&view->projection, &view->marks, PaletteColour(pal, view->geometry->lightColour),
                PaletteColour(pal, view->geometry->darkColour)};
  RegisterDrawCallback(view->scene, DrawSquareMarks, kBoardDepth, kBoardDepth,
                       reinterpret_cast<intptr_t>(&view->markLayer));
  // Callbacks run in the order they were registered: names, labels, lamps
  // and arrows after the marks, so they lie over them.
  RegisterBoardDrawing(view.get());
  if (view->boardSetIndex == kCustomBoardSet) RegisterCustomBoardDrawing(view.get());

  // The lobby's board window stands at (20, 30) and shows the whole
  // picture: its size is the picture's plus the drawing offset's margin
  // before it (the picture alone would lose that much at the right and
  // bottom). Other rooms fill the room window.
  ScreenPoint customPoint{view->custom.x, view->custom.y};
  UpdateBoardOffset(&view->projection, view->boardSetIndex == kCustomBoardSet ? &customPoint : nullptr);
  if (host->Room() == 0 && view->boardBitmap) {
    int left = std::max(0, static_cast<int>(view->projection.pictureOrigin.x));
    int top = std::max(0, static_cast<int>(view->projection.pictureOrigin.y));
    RECT r{20, 30, 20 + left + view->boardBitmap->biWidth, 30 + top + std::abs(view->boardBitmap->biHeight)};
    MoveWindow(view->window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    host->StoreWindowRect(kBoardWindowNumber, r);
  } else {
    RECT r{};
    if (!host->StoredWindowRect(kRoomWindowNumber, &r) || r.right <= r.left || r.bottom <= r.top)
      GetClientRect(host->NumberedWindow(kRoomWindowNumber), &r);
    MoveWindow(view->window, 0, 0, r.right - r.left, r.bottom - r.top, TRUE);
  }
  FitBoardSceneToWindow(view->window, view->scene, host->RoomBackground());
  PlaceBoardFromPosition(view.get());
  return view.release();
}

int DestroyBoardView(BoardView* view) {
  if (!view) return 0;
  if (view->window && IsWindow(view->window)) {
    SetWindowLongPtrA(view->window, 3 * sizeof(LONG_PTR), 0);
    DestroyWindow(view->window);
  }
  if (view->scene) {
    UnregisterDrawCallback(view->scene, DrawSquareMarks, kBoardDepth, kBoardDepth);
    UnregisterBoardDrawing(view);
    DeleteGlyphSprites(view);
    view->sprites.reset();
    if (view->boardSprite >= 0) DeleteSprite(view->scene, view->boardSprite);
    if (view->boardSpriteImage >= 0) DeleteSpriteDib(view->scene, view->boardSpriteImage);
    DeleteGroupSprites(view);
    TerminateAnimate(view->scene);
  }
  if (view->ownedBoardBitmap) dibDelete(view->ownedBoardBitmap);
  if (view->ownedPieceSheet) dibDelete(view->ownedPieceSheet);
  delete view;
  return 1;
}
