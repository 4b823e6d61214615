// Glyphs, tints and teaching modes on a board view's scene.
#include "win/markup_glyphs_win32.h"

#include <string>

#include "square_lists.h"
#include "square_names.h"
#include "teaching_modes.h"
#include "win/board_view_win32.h"

namespace {

void RepaintSprite(BoardView* view, int sprite) {
  DibRect r;
  if (sprite < 0 || !GetSpriteRect(view->scene, &r, sprite)) return;
  RECT rect{r.left, r.top, r.right + 1, r.bottom + 1};
  RedrawBoardScene(view, &rect);
}

void TintPiece(BoardView* view, int piece, bool on) {
  int sprite = view->sprites->Sprite(piece);
  if (sprite < 0) return;
  if (on)
    DoFXSprite(view->scene, sprite, kTintEffect, kTeachingTint);
  else
    UndoFXSprite(view->scene, sprite);
  view->pieceTinted[piece] = on;
  RepaintSprite(view, sprite);
}

void PlaceGlyph(BoardView* view, int g) {
  const GlyphRecord& glyph = view->glyphs[g];
  ScreenPoint at;
  int32_t depth = 0;
  if (!SquareCentre(view->projection, glyph.row, glyph.column, &at, &depth)) return;
  if (view->sprites->flat()) depth = 0;
  ShowSprite(view->scene, view->glyphSprites[g], at.x, at.y, depth, view->sprites->flat() ? 0 : 1);
}

}  // namespace

void CreateGlyphSprites(BoardView* view) {
  for (int g = 0; g < kGlyphSprites; ++g) {
    view->glyphSprites[g] = view->scene ? AddSprite(view->scene) : -1;
    view->glyphs[g] = GlyphRecord{0, -1, -1, 0};
  }
  for (bool& t : view->pieceTinted) t = false;
}

void DeleteGlyphSprites(BoardView* view) {
  for (int g = 0; g < kGlyphSprites; ++g)
    if (view->glyphSprites[g] >= 0) DeleteSprite(view->scene, view->glyphSprites[g]);
}

bool ShowMarkupGlyph(BoardView* view, int colour, int kind, int column, int row, int tint) {
  if (!view || !view->sprites || column < 0 || column > 7 || row < 0 || row > 7) return false;
  int piece = view->records.squares[row][column];
  if (piece >= 0) {
    TintPiece(view, piece, true);
    return true;
  }
  if (colour < 0 || colour > 1 || kind < 0 || kind > 5) return false;
  for (int g = 0; g < kGlyphSprites; ++g) {
    GlyphRecord& glyph = view->glyphs[g];
    if (glyph.inUse || view->glyphSprites[g] < 0) continue;
    int cel = 0;
    if (view->records.multiCel) {
      ScreenPoint at;
      if (SquareCentre(view->projection, row, column, &at, nullptr)) {
        int block = BlockRegionAt(view->projection, at.x, at.y);
        cel = block >= 0 ? block + 1 : 0;
      }
    }
    int image = view->sprites->CelImage(colour, kind, cel);
    if (image < 0) return false;
    SetSpriteSpriteDib(view->scene, view->glyphSprites[g], image);
    glyph = GlyphRecord{1, column, row, tint ? 1 : 0};
    PlaceGlyph(view, g);
    if (tint) {
      // Ghosts take the board's own square colours: light for White, dark for Black.
      int index = (colour == 0 ? view->geometry->lightColour : view->geometry->darkColour) & 0xFF;
      DoFXSprite(view->scene, view->glyphSprites[g], kTintEffect, 0x1000000 | index);
    } else {
      UndoFXSprite(view->scene, view->glyphSprites[g]);
    }
    RepaintSprite(view, view->glyphSprites[g]);
    return true;
  }
  return false;
}

void ShowMarkupGlyphs(BoardView* view, int colour, int kind, const char* squares) {
  ForEachSquareName(squares, [&](int column, int row) { ShowMarkupGlyph(view, colour, kind, column, row, 1); });
}

void RemoveMarkupGlyphAt(BoardView* view, int column, int row) {
  if (!view || !view->sprites || column < 0 || column > 7 || row < 0 || row > 7) return;
  int piece = view->records.squares[row][column];
  if (piece >= 0) {
    TintPiece(view, piece, false);
    return;
  }
  for (int g = 0; g < kGlyphSprites; ++g) {
    GlyphRecord& glyph = view->glyphs[g];
    if (!glyph.inUse || glyph.column != column || glyph.row != row) continue;
    RepaintSprite(view, view->glyphSprites[g]);
    HideSprite(view->scene, view->glyphSprites[g]);
    UndoFXSprite(view->scene, view->glyphSprites[g]);
    RepaintSprite(view, view->glyphSprites[g]);
    glyph = GlyphRecord{0, -1, -1, 0};
  }
}

void ClearMarkupGlyphs(BoardView* view) {
  if (!view || !view->sprites) return;
  for (int p = 0; p < kPieceSprites; ++p)
    if (view->pieceTinted[p]) TintPiece(view, p, false);
  RECT all{};
  GetClientRect(view->window, &all);
  for (int g = 0; g < kGlyphSprites; ++g) {
    if (!view->glyphs[g].inUse) continue;
    HideSprite(view->scene, view->glyphSprites[g]);
    UndoFXSprite(view->scene, view->glyphSprites[g]);
    view->glyphs[g] = GlyphRecord{0, -1, -1, 0};
  }
  RedrawBoardScene(view, &all);
}

void LayoutMarkupGlyphs(BoardView* view) {
  if (!view) return;
  for (int g = 0; g < kGlyphSprites; ++g)
    if (view->glyphs[g].inUse) PlaceGlyph(view, g);
}

int GetTeachingMode(BoardView* view) { return view ? view->teachingMode : TEACH_OFF; }

void SetTeachingMode(BoardView* view, int mode) {
  if (!view || mode == view->teachingMode) return;
  if (IsCoverageMode(view->teachingMode))
    ShowBoardCoverage(view, 1, TEACH_OFF, Board{});
  else
    ClearMarkupGlyphs(view);
  view->teachingMode = mode;
}

void ApplyTeachingMode(BoardView* view, const Board& position) {
  if (!view) return;
  int mode = view->teachingMode;
  if (IsPieceTintMode(mode)) ShowTeachingModeMarks(view, mode, position);
  if (IsCoverageMode(mode)) ShowBoardCoverage(view, 1, mode, position);
}

void ShowTeachingModeMarks(BoardView* view, int mode, const Board& position) {
  if (!view) return;
  std::string squares = TeachingModeSquares(mode, position);
  ClearMarkupGlyphs(view);
  // No template piece: only pieces standing on the listed squares are tinted.
  ShowMarkupGlyphs(view, -1, -1, squares.c_str());
}

void ShowBoardCoverage(BoardView* view, int show, int mode, const Board& position) {
  if (!view || !show) return;
  int side;
  uint32_t flag;
  if (!CoverageSide(mode, &side, &flag)) {
    if (view->coverageShown) ClearSquareMarks(view);
    view->coverageShown = false;
    return;
  }
  view->marks.ClearAll();
  std::string squares = CoveredSquares(position, side);
  MarkSquares(view, squares.c_str(), flag);
  view->coverageShown = true;
  RECT all{};
  GetClientRect(view->window, &all);
  RedrawBoardScene(view, &all);
}

void ShowLegalMoveGhosts(BoardView* view, const Board& position, int column, int row) {
  if (!view || !IsLegalMovesMode(view->teachingMode)) return;
  int square = MakeSquare(row, column);
  uint8_t piece = position[square];
  if (!piece) return;
  std::string targets = GetPieceLegalTargets(&position, piece & COLOUR_MASK, square);
  int colour = (piece & COLOUR_MASK) == WHITE ? 0 : 1;
  ForEachSquareName(targets.c_str(), [&](int c, int r) {
    if (view->records.squares[r][c] < 0) ShowMarkupGlyph(view, colour, piece & TYPE_MASK, c, r, 1);
  });
}
