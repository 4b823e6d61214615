// Markup glyphs and tints: ghost pieces that lessons and the teaching modes
// put on squares, and the teaching tint on pieces standing there; and the
// teaching display modes that keep such marks in step with the position.
//
// Interface: kGlyphSprites, GlyphRecord, CreateGlyphSprites,
// DeleteGlyphSprites, ShowMarkupGlyph, ShowMarkupGlyphs,
// RemoveMarkupGlyphAt, ClearMarkupGlyphs, LayoutMarkupGlyphs,
// GetTeachingMode, SetTeachingMode, ApplyTeachingMode, ShowTeachingModeMarks,
// ShowBoardCoverage, ShowLegalMoveGhosts.
#pragma once

#include <cstdint>

#include "board.h"

struct BoardView;

constexpr int kGlyphSprites = 28;
// The teaching tint: the colour effect with palette index 102.
constexpr int kTintEffect = 2;
constexpr int kTeachingTint = 0x1000066;

void CreateGlyphSprites(BoardView* view);
void DeleteGlyphSprites(BoardView* view);
// A piece on the square is tinted; otherwise a ghost of the template
// (colour 0/1, kind 0..5; colour -1 for none) is shown there. False when
// nothing could be shown.
bool ShowMarkupGlyph(BoardView* view, int colour, int kind, int column, int row, int tint);
void ShowMarkupGlyphs(BoardView* view, int colour, int kind, const char* squares);
void RemoveMarkupGlyphAt(BoardView* view, int column, int row);
void ClearMarkupGlyphs(BoardView* view);
// Glyphs follow a new projection.
void LayoutMarkupGlyphs(BoardView* view);

int GetTeachingMode(BoardView* view);
void SetTeachingMode(BoardView* view, int mode);
void ApplyTeachingMode(BoardView* view, const Board& position);
void ShowTeachingModeMarks(BoardView* view, int mode, const Board& position);
// show 1: marks the squares the mode's side covers; with 5261 clears every
// square mark when coverage marks were shown.
void ShowBoardCoverage(BoardView* view, int show, int mode, const Board& position);
// The legal-moves mode: ghosts of the lifted piece on its targets.
void ShowLegalMoveGhosts(BoardView* view, const Board& position, int column, int row);
