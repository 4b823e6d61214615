#include "position_edit.h"

namespace {

bool IsKing(uint8_t piece) { return piece != 0 && (piece & TYPE_MASK) == KING; }
bool IsPawn(uint8_t piece) { return piece != 0 && (piece & TYPE_MASK) == PAWN; }

bool ImpossibleFor(const Board& board, int colour) {
  // Allowances: king, queen, rook, light bishop, dark bishop, knight, pawn.
  enum { K, Q, R, LB, DB, N, P };
  int left[7] = {1, 1, 2, 1, 1, 2, 8};
  for (int row = 0; row < 8; ++row)
    for (int file = 0; file < 8; ++file) {
      uint8_t piece = board[MakeSquare(row, file)];
      if (piece == 0 || (piece & COLOUR_MASK) != colour) continue;
      int slot;
      switch (piece & TYPE_MASK) {
        case KING: slot = K; break;
        case QUEEN: slot = Q; break;
        case ROOK: slot = R; break;
        case BISHOP: slot = (file + row) % 2 ? DB : LB; break;
        case KNIGHT: slot = N; break;
        default: slot = P; break;
      }
      if (left[slot] > 0) {
        --left[slot];
      } else if (slot != P && left[P] > 0) {
        --left[P];  // a promoted pawn
      } else {
        return true;
      }
    }
  return false;
}

}  // namespace

const char* SetUpResultText(int code) {
  switch (code) {
    case 1: return "You cannot remove a piece from empty square.";
    case 2: return "You cannot remove the King from the board.";
    case 3: return "You cannot move a piece from an empty square.";
    case 4: return "You cannot move a pawn to the first rank.";
    case 5: return "You cannot move a pawn to the eighth rank.";
    case 6:
    case 7: return "You cannot place a piece on the square occupied by the King.";
    case 8: return "You cannot add a pawn on first rank.";
    case 9: return "You cannot add a pawn on eighth rank.";
    case 10: return "You cannot have more than 32 pieces on the board.";
    case 11: return "You cannot set up an illegal position.";
    default: return "";
  }
}

PieceCounts CountBoardPieces(const Board& board) {
  PieceCounts counts{0, 0};
  for (int row = 0; row < 8; ++row)
    for (int file = 0; file < 8; ++file) {
      uint8_t piece = board[MakeSquare(row, file)];
      if (piece == 0 || piece == 255) continue;
      if ((piece & COLOUR_MASK) == WHITE)
        ++counts.white;
      else
        ++counts.black;
    }
  return counts;
}

bool IsSetUpMaterialImpossible(const Board& board) {
  return ImpossibleFor(board, WHITE) || ImpossibleFor(board, BLACK);
}

int RemoveSetUpPiece(Board* board, int row, int file) {
  if (!board || row < 0 || row > 7 || file < 0 || file > 7) return SETUP_NOTHING;
  uint8_t& square = (*board)[MakeSquare(row, file)];
  if (square == 0) return SETUP_REMOVE_EMPTY;
  if (IsKing(square)) return SETUP_REMOVE_KING;
  square = 0;
  return SETUP_OK;
}

int AddSetUpPiece(Board* board, int piece, int row, int file) {
  if (!board || row < 0 || row > 7 || file < 0 || file > 7) return SETUP_NOTHING;
  if (IsPawn(piece) && row == 0) return SETUP_ADD_PAWN_EIGHTH;
  if (IsPawn(piece) && row == 7) return SETUP_ADD_PAWN_FIRST;
  uint8_t& square = (*board)[MakeSquare(row, file)];
  if (IsKing(square)) return SETUP_ADD_ONTO_KING;
  if (square != piece) {
    PieceCounts counts = CountBoardPieces(*board);
    bool white = (piece & COLOUR_MASK) == WHITE;
    int total = counts.white + counts.black + (square == 0 ? 1 : 0);
    int own = (white ? counts.white : counts.black) + ((square & COLOUR_MASK) == (piece & COLOUR_MASK) ? 0 : 1);
    if (total > 32 || own > 16) return SETUP_TOO_MANY;
  }
  uint8_t old = square;
  square = static_cast<uint8_t>(piece);
  if (IsSetUpMaterialImpossible(*board)) {
    square = old;
    return SETUP_ILLEGAL;
  }
  return SETUP_OK;
}

int MoveSetUpPiece(Board* board, int fromRow, int fromFile, int toRow, int toFile) {
  if (!board || (fromRow == toRow && fromFile == toFile)) return SETUP_NOTHING;
  if (fromRow < 0 || fromRow > 7 || fromFile < 0 || fromFile > 7 || toRow < 0 || toRow > 7 || toFile < 0 ||
      toFile > 7)
    return SETUP_NOTHING;
  uint8_t& from = (*board)[MakeSquare(fromRow, fromFile)];
  uint8_t& to = (*board)[MakeSquare(toRow, toFile)];
  if (from == 0) return SETUP_MOVE_EMPTY;
  if (IsPawn(from) && toRow == 0) return SETUP_PAWN_TO_EIGHTH;
  if (IsPawn(from) && toRow == 7) return SETUP_PAWN_TO_FIRST;
  if (IsKing(to)) return SETUP_MOVE_ONTO_KING;
  uint8_t moved = from, taken = to;
  to = moved;
  from = 0;
  if (IsSetUpMaterialImpossible(*board)) {
    from = moved;
    to = taken;
    return SETUP_ILLEGAL;
  }
  if (IsKing(moved)) (*board)[KingSquareByte(moved & COLOUR_MASK)] = static_cast<uint8_t>(MakeSquare(toRow, toFile));
  return SETUP_OK;
}

void ClearSetUpBoard(Board* board) {
  if (!board) return;
  ClearBoard(board);
  (*board)[MakeSquare(7, 4)] = WHITE | KING;
  (*board)[MakeSquare(0, 4)] = BLACK | KING;
  FinishBoardSetup(board);
}

const uint8_t kCastleBoxBits[4] = {WHITE_LONG, WHITE_SHORT, BLACK_LONG, BLACK_SHORT};

bool InitCompleteSetupChoices(const Board& board, CompleteSetupChoices* out) {
  bool whiteCheck = IsSideInCheck(&board, WHITE), blackCheck = IsSideInCheck(&board, BLACK);
  if (whiteCheck && blackCheck) return false;
  CompleteSetupChoices c{};
  c.whiteToMove = !blackCheck;
  c.whiteEnabled = !blackCheck;
  c.blackEnabled = !whiteCheck;
  for (int i = 0; i < 4; ++i) c.castleEnabled[i] = c.castleChecked[i] = (board[CASTLING_RIGHTS] & kCastleBoxBits[i]) != 0;
  *out = c;
  return true;
}

uint8_t ApplyCompleteSetupChoices(const CompleteSetupChoices& choices, Board* board) {
  uint8_t rights = 0;
  for (int i = 0; i < 4; ++i)
    if (choices.castleEnabled[i] && choices.castleChecked[i]) rights |= kCastleBoxBits[i];
  if (board) {
    (*board)[CASTLING_RIGHTS] = rights;
    (*board)[EN_PASSANT_SQUARE] = NO_SQUARE;
  }
  return choices.whiteToMove ? WHITE : BLACK;
}
