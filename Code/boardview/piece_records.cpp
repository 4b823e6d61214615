// Piece sprite records and the move-script player.
#include "piece_records.h"

#include "move_script.h"
#include "square_names.h"

namespace {

bool ReadPieceCode(const char* code, int* colour, int* kind, bool* none) {
  *none = false;
  if (!code || !code[0] || !code[1]) return false;
  if (code[0] == '-' || code[1] == '-') {
    *none = true;
    return true;
  }
  static const char kKinds[] = "KQRBNP";
  if (code[0] != 'W' && code[0] != 'B') return false;
  for (int k = 0; k < 6; ++k)
    if (code[1] == kKinds[k]) {
      *colour = code[0] == 'W' ? 0 : 1;
      *kind = k;
      return true;
    }
  return false;
}

int PieceOn(const PieceSpriteRecords& set, int column, int row) {
  if (column < 0 || column > 7 || row < 0 || row > 7) return -1;
  return set.squares[row][column];
}

}  // namespace

void PieceSpriteRecords::Clear() {
  for (PieceRecord& p : pieces) p = PieceRecord{0, 0, -1, 0, 0, 0, 0};
  for (auto& row : squares)
    for (int32_t& s : row) s = -1;
  draggedPiece = -1;
}

bool HiddenByMode(int hideMode, int colour) {
  return hideMode == HIDE_ALL || (hideMode == HIDE_WHITE && colour == 0) ||
         (hideMode == HIDE_BLACK && colour == 1);
}

bool AssignPieceSprite(PieceSpriteRecords* set, PieceSpriteScene* scene, int turn, int column, int row,
                       const char* code, int* index) {
  int colour = 0, kind = 0;
  bool none;
  if (!ReadPieceCode(code, &colour, &kind, &none)) return false;
  if (none) {
    *index = -1;
    return true;
  }
  for (int i = 0; i < kPieceSprites; ++i) {
    PieceRecord& p = set->pieces[i];
    if (p.onBoard) continue;
    p.colour = colour;
    p.kind = kind;
    int cel = 0;
    if (set->multiCel) {
      p.block = SquareCelIndexAt(turn, column, row);
      cel = p.block + 1;
    }
    if (scene) scene->SetPiecePicture(i, colour, kind, cel);
    *index = i;
    return true;
  }
  return false;
}

int PlacePieceSpriteOnSquare(PieceSpriteRecords* set, PieceSpriteScene* scene, int turn, int row, int column,
                             const char* code) {
  if (row < 0 || row > 7 || column < 0 || column > 7) return -1;
  int index;
  if (!AssignPieceSprite(set, scene, turn, column, row, code, &index)) return -1;
  set->squares[row][column] = index;
  if (index < 0) return 0;
  set->pieces[index].onBoard = 1;
  return index;
}

int SetPieceSpritesFromPosition(PieceSpriteRecords* set, PieceSpriteScene* scene, int turn,
                                const Board& board) {
  HideAllPieceSprites(set, scene);
  for (PieceRecord& p : set->pieces) p.onBoard = 0;
  for (auto& row : set->squares)
    for (int32_t& s : row) s = -1;
  int placed = 0;
  for (int row = 0; row < 8; ++row)
    for (int column = 0; column < 8; ++column) {
      uint8_t byte = board[MakeSquare(row, column)];
      std::string code = PieceCode(byte);
      if (byte == 0) code = "--";
      int index = PlacePieceSpriteOnSquare(set, scene, turn, row, column, code.c_str());
      if (index < 0) return placed;
      if (code != "--") ++placed;
    }
  return placed;
}

void HideAllPieceSprites(PieceSpriteRecords* set, PieceSpriteScene* scene) {
  for (int i = 0; i < kPieceSprites; ++i)
    if (set->pieces[i].onBoard) {
      if (scene) scene->HidePiece(i);
      set->pieces[i].onBoard = 0;
    }
}

void RemovePieceFromSquare(PieceSpriteRecords* set, PieceSpriteScene* scene, int piece) {
  if (piece < 0 || piece >= kPieceSprites) return;
  for (auto& row : set->squares)
    for (int32_t& s : row)
      if (s == piece) {
        s = -1;
        if (scene) scene->HidePiece(piece);
        set->pieces[piece].onBoard = 0;
        return;
      }
}

void PutPieceOnSquare(PieceSpriteRecords* set, PieceSpriteScene* scene, const BoardProjection& view,
                      int column, int row, int piece, int hideMode) {
  if (column < 0 || column > 7 || row < 0 || row > 7) return;
  RemovePieceFromSquare(set, scene, set->squares[row][column]);
  if (piece < 0 || piece >= kPieceSprites) return;
  ScreenPoint at{0, 0};
  int32_t depth = 0;
  SquareCentre(view, row, column, &at, &depth);
  PieceRecord& p = set->pieces[piece];
  p.x = at.x, p.y = at.y, p.depth = depth;
  if (scene) {
    if (HiddenByMode(hideMode, p.colour))
      scene->MovePieceHidden(piece, at, depth);
    else
      scene->ShowPiece(piece, at, depth);
  }
  p.onBoard = 1;
  set->squares[row][column] = piece;
}

void SetPieceCelForBlock(PieceSpriteRecords* set, PieceSpriteScene* scene, int piece, int block) {
  if (block < 0 || piece < 0 || piece >= kPieceSprites) return;
  PieceRecord& p = set->pieces[piece];
  p.block = block;
  if (scene) scene->SetPiecePicture(piece, p.colour, p.kind, block + 1);
}

void LayoutPieceSprites(PieceSpriteRecords* set, PieceSpriteScene* scene, const BoardProjection& view,
                        int hideMode) {
  for (int row = 0; row < 8; ++row)
    for (int column = 0; column < 8; ++column) {
      int piece = set->squares[row][column];
      if (piece < 0 || !set->pieces[piece].onBoard) continue;
      PieceRecord& p = set->pieces[piece];
      ScreenPoint at{0, 0};
      int32_t depth = 0;
      SquareCentre(view, row, column, &at, &depth);
      if (scene) {
        if (HiddenByMode(hideMode, p.colour))
          scene->MovePieceHidden(piece, at, depth);
        else if (piece != set->draggedPiece)
          scene->ShowPiece(piece, at, depth);
      }
      p.x = at.x, p.y = at.y, p.depth = depth;
    }
}

int CountPiecesOnBoard(const PieceSpriteRecords& set) {
  int n = 0;
  for (const PieceRecord& p : set.pieces) n += p.onBoard ? 1 : 0;
  return n;
}

int PlayMoveScript(PieceSpriteRecords* set, PieceSpriteScene* scene, const BoardProjection& view,
                   const std::string& script, bool noSlide, int hideMode, SlideFunction slide,
                   void* context) {
  int turn = view.geometry ? view.geometry->turn : 360;
  for (const ScriptCommand& c : ParseMoveScript(script)) {
    if (!c.valid) return 0;
    const int(*sq)[2] = c.squares;
    switch (c.op) {
      case 'S':
      case 'K': {
        int piece = PieceOn(*set, sq[0][0], sq[0][1]);
        if (piece < 0) return 0;
        if (c.op == 'K' && set->pieces[piece].kind != KNIGHT) return 0;
        int last = c.op == 'K' ? 2 : 1;
        RemovePieceFromSquare(set, scene, piece);
        if (!noSlide && slide)
          for (int leg = 0; leg < last; ++leg)
            slide(context, piece, sq[leg][0], sq[leg][1], sq[leg + 1][0], sq[leg + 1][1]);
        if (set->multiCel) {
          RemovePieceFromSquare(set, scene, piece);
          SetPieceCelForBlock(set, scene, piece, SquareCelIndexAt(turn, sq[last][0], sq[last][1]));
        }
        PutPieceOnSquare(set, scene, view, sq[last][0], sq[last][1], piece, hideMode);
        break;
      }
      case 'D': {
        std::string code = c.colour < 0 ? "--" : std::string{c.colour ? 'B' : 'W', "KQRBNP"[c.kind]};
        int piece;
        if (!AssignPieceSprite(set, scene, turn, sq[0][0], sq[0][1], code.c_str(), &piece)) return 0;
        PutPieceOnSquare(set, scene, view, sq[0][0], sq[0][1], piece, hideMode);
        break;
      }
      case 'G': {
        std::string code = c.colour < 0 ? "--" : std::string{c.colour ? 'B' : 'W', "KQRBNP"[c.kind]};
        int piece;
        if (!AssignPieceSprite(set, scene, turn, sq[0][0], sq[0][1], code.c_str(), &piece)) return 0;
        break;
      }
      default:
        break;
    }
  }
  return 1;
}
