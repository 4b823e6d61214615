// The piece sheet drawn from the program's chess font, for boards drawn
// from colours rather than pictures: twelve diagram characters of
// "RookwellOnyx" rendered in two colours, cut to the single-cel layout.
//
// Interface: BuildFontPieceSheet, kFontPieceCharacters.
#pragma once

#include "chess_sets.h"
#include "dibkit.h"

// Diagram characters of the font, White's then Black's, in the kind order
// king, queen, rook, bishop, knight, pawn.
extern const unsigned char kFontPieceCharacters[2][6];

// Renders the pieces at the given font size (width 0: the font's own
// proportions), writes the cel size into the record and returns a new 8-bit
// sheet in *out whose pixels are program palette indices (0 transparent).
// False, with *out null, when the font or memory fails.
bool BuildFontPieceSheet(PackedDib** out, PieceSetRecord* set, int fontWidth, int fontHeight);
