// Which piece sprite stands on which square, with which picture, and the
// move-script player over them.
//
// Interface: PieceSpriteScene (what the sprite layer does for the records),
// PieceSpriteRecords with AssignPieceSprite, PlacePieceSpriteOnSquare,
// SetPieceSpritesFromPosition, HideAllPieceSprites, RemovePieceFromSquare,
// PutPieceOnSquare, SetPieceCelForBlock, LayoutPieceSprites,
// CountPiecesOnBoard, and PlayMoveScript.
#pragma once

#include <cstdint>
#include <string>

#include "board.h"
#include "board_projection.h"

constexpr int kPieceSprites = 34;

// Hide modes: which pieces are not shown.
enum HideMode { HIDE_NONE = 0, HIDE_WHITE = 1, HIDE_BLACK = 2, HIDE_ALL = 3 };

class PieceSpriteScene {
 public:
  virtual ~PieceSpriteScene() = default;
  // cel 0 for a single-cel set's only picture.
  virtual void SetPiecePicture(int piece, int colour, int kind, int cel) = 0;
  virtual void ShowPiece(int piece, ScreenPoint at, int32_t depth) = 0;
  virtual void MovePieceHidden(int piece, ScreenPoint at, int32_t depth) = 0;
  virtual void HidePiece(int piece) = 0;
};

struct PieceRecord {
  int32_t colour;  // 0 White, 1 Black
  int32_t kind;    // 0 king .. 5 pawn
  int32_t block;   // cel region whose view the sprite shows
  int32_t onBoard;
  int32_t x, y, depth;
};

struct PieceSpriteRecords {
  PieceRecord pieces[kPieceSprites] = {};
  int32_t squares[8][8];  // piece index, -1 empty; row 0 = rank 8
  bool multiCel = false;
  int draggedPiece = -1;  // laid out by the drag, not by LayoutPieceSprites
  PieceSpriteRecords() { Clear(); }
  void Clear();
};

// "-" as colour or kind gives index -1 and true; other letters than W/B and
// KQRBNP give false, as does a set with all 34 records on the board.
bool AssignPieceSprite(PieceSpriteRecords* set, PieceSpriteScene* scene, int turn, int column, int row,
                       const char* code, int* index);
// The index, 0 for an empty square (nothing placed), -1 on failure.
int PlacePieceSpriteOnSquare(PieceSpriteRecords* set, PieceSpriteScene* scene, int turn, int row, int column,
                             const char* code);
// Returns the number of pieces placed; stops at the first square it cannot place.
int SetPieceSpritesFromPosition(PieceSpriteRecords* set, PieceSpriteScene* scene, int turn,
                                const Board& board);
void HideAllPieceSprites(PieceSpriteRecords* set, PieceSpriteScene* scene);
void RemovePieceFromSquare(PieceSpriteRecords* set, PieceSpriteScene* scene, int piece);
void PutPieceOnSquare(PieceSpriteRecords* set, PieceSpriteScene* scene, const BoardProjection& view,
                      int column, int row, int piece, int hideMode);
void SetPieceCelForBlock(PieceSpriteRecords* set, PieceSpriteScene* scene, int piece, int block);
void LayoutPieceSprites(PieceSpriteRecords* set, PieceSpriteScene* scene, const BoardProjection& view,
                        int hideMode);
int CountPiecesOnBoard(const PieceSpriteRecords& set);
bool HiddenByMode(int hideMode, int colour);

// slide(piece, fromColumn, fromRow, toColumn, toRow) runs one straight slide.
using SlideFunction = void (*)(void* context, int piece, int fromColumn, int fromRow, int toColumn,
                               int toRow);
// 1 done, 0 when a command fails (what was done before stays).
int PlayMoveScript(PieceSpriteRecords* set, PieceSpriteScene* scene, const BoardProjection& view,
                   const std::string& script, bool noSlide, int hideMode, SlideFunction slide, void* context);
