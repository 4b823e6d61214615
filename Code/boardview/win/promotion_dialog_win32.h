// The Promotion dialog: which piece a pawn on its last rank becomes, asked
// with four picture buttons showing the chess set's queen, rook, bishop and
// knight in the colour of the side to move; and DrawPieceImage, which draws
// one piece picture 1:1 on a background colour (the dialog and the
// captured-pieces display use it).
//
// Interface: PromotionPictures, RunPromotionDialog, PromotionDlgProc,
// DrawPieceImage, kPromotionNoChoice.
#pragma once

#include <windows.h>

#include "chess_sets.h"
#include "dibkit.h"

// Control ids of the dialog's picture buttons.
enum PromotionButton { PROMOTE_KNIGHT = 136, PROMOTE_BISHOP = 138, PROMOTE_ROOK = 142, PROMOTE_QUEEN = 145 };
constexpr int kPromotionNoChoice = 5;  // the pawn's type: no choice made
constexpr int kPromotionHelpCommand = 40;

// What the dialog draws from: the current room's piece set and sheet, the
// program palette and its picture, and the game's side to move.
struct PromotionPictures {
  const PieceSetRecord* set = nullptr;
  const PackedDib* sheet = nullptr;
  const PackedDib* palettePicture = nullptr;  // "PAL"
  HPALETTE palette = nullptr;
  HWND mainWindow = nullptr;  // gets the Help command
  bool haveGame = false;
  int sideToMove = 16;  // WHITE (16) or BLACK (32)
};

// Runs a modal dialog from a named template (the program's runner pauses
// the clocks); the system's dialog box when none is given.
using PromotionDialogRunner = INT_PTR (*)(HINSTANCE instance, const char* templateName, HWND owner,
                                          DLGPROC procedure, LPARAM parameter);
// 1 queen, 2 rook, 3 bishop, 4 knight; 5 when the dialog could not run.
int RunPromotionDialog(HINSTANCE instance, HWND owner, const PromotionPictures& pictures,
                       PromotionDialogRunner runner = nullptr);
INT_PTR CALLBACK PromotionDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Cel 0 of the piece on a cel-sized background of the given colour, the
// picture's transparent pixels (0 at 8 bits, 0xFC1F at 16) letting it
// through; other sheet depths draw nothing.
void DrawPieceImage(HDC dc, const PackedDib* sheet, const PieceSetRecord& set, int colour, int kind, int x,
                    int y, COLORREF background);
