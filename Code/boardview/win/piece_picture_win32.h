// Piece pictures drawn from a piece sheet onto any device context (tool
// buttons, previews, the captured-pieces window): scaled to fit, key pixels
// leaving what is under them, edges blended.
//
// Interface: DrawSheetCel, DrawPiecePicture.
#pragma once

#include <windows.h>

#include "dibkit.h"

struct BoardView;

// The w x h cel at (sx, sy) of the sheet.
void DrawSheetCel(HDC dc, const RECT& box, const PackedDib* sheet, int sx, int sy, int w, int h);
// A piece of the view's piece set (colour 0/1, kind 0 king .. 5 pawn).
void DrawPiecePicture(HDC dc, const RECT& box, BoardView* view, int colour, int kind);
