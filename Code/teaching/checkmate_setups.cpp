#include "checkmate_setups.h"

#include "drill_generators.h"
#include "movegen.h"

namespace {

// Whether some legal own move mates, or checks while an own piece then
// attacks the enemy piece on `target`.
bool OffersShot(const Board& b, int own, int target, MoveList& list) {
  uint16_t n = 0;
  GenerateLegalMoves(&b, list.moves, &n, own);
  for (int i = 0; i < n; ++i) {
    const MoveRecord& m = list.moves[i];
    if (m.flags & MOVE_MATE) return true;
    if (!(m.flags & MOVE_CHECK)) continue;
    Board after = b;
    MoveRecord copy = m;
    MakeMove(&copy, &after);
    if (FindAttackers(&after, target, own, 1, nullptr)) return true;
  }
  return false;
}

// Places `piece` anywhere until `ok` holds for its square.
template <typename Ok>
int PlaceUntil(Board& b, RandomSource& random, int piece, Ok ok) {
  for (;;) {
    const int s = PlaceRandomPiece(&b, random, piece, 0, 7, 0, 7);
    if (ok(s)) return s;
    RemoveDrillPiece(&b, s);
  }
}

}  // namespace

int MakeCheckmatePosition(int exercise, int colour, Board* board, RandomSource& random, int* restarts) {
  if (exercise < 0 || exercise >= kCheckmateExercises || !board) return -1;
  const int own = colour, enemy = OtherSide(colour);
  Board& b = *board;
  if (restarts) *restarts = 0;
  for (;;) {
    ClearBoard(&b);
    const int king = PlaceRandomPiece(&b, random, enemy + KING, 2, 5, 2, 5);
    const int ownKing = PlaceUntil(b, random, own + KING, [&](int) { return !IsSideInCheck(&b, enemy); });
    auto noCheck = [&](int) { return !IsSideInCheck(&b, enemy); };
    switch (exercise) {
      case 0:
        PlaceUntil(b, random, own + QUEEN, noCheck);
        return 99;
      case 1:
        PlaceUntil(b, random, own + ROOK, noCheck);
        return 99;
      case 2:
        PlaceUntil(b, random, own + BISHOP, noCheck);
        PlaceUntil(b, random, own + KNIGHT, noCheck);
        return 99;
      case 6:
        // Bishops on opposite colours.
        for (int parity = 0; parity < 2; ++parity)
          PlaceUntil(b, random, own + BISHOP, [&](int s) {
            return (SquareRow(s) + SquareFile(s)) % 2 == parity && !IsSideInCheck(&b, enemy);
          });
        return 99;
      default:
        break;
    }
    // Exercises 3-5: the enemy piece away from its king's lines and
    // diagonal neighbours, out of the own king's reach.
    const int enemyType = exercise == 5 ? ROOK : KNIGHT;
    const int piece = PlaceUntil(b, random, enemy + enemyType, [&](int s) {
      return !IsSideInCheck(&b, own) && SquareRow(s) != SquareRow(king) &&
             SquareFile(s) != SquareFile(king) && !PieceAttacksSquare(&b, BISHOP, s, king, true) &&
             !SquareAttacksSquare(&b, ownKing, s, false) &&
             (exercise == 4 || SquareRow(s) + SquareFile(s) != SquareRow(king) + SquareFile(king));
    });
    if (PlaceCheckmatePiece(&b, random, exercise, own, piece) >= 0) return 99;
    if (restarts) ++*restarts;
  }
}

int PlaceCheckmatePiece(Board* board, RandomSource& random, int exercise, int colour, int enemyPiece) {
  if (exercise < 3 || exercise > 5) return -1;
  static thread_local MoveList list;
  Board& b = *board;
  const int ownType = exercise == 4 ? ROOK : QUEEN;
  for (int tries = 0; tries < kCheckmatePieceTries[exercise - 3]; ++tries) {
    const int s = PlaceRandomPiece(&b, random, colour + ownType, 0, 7, 0, 7);
    if (!IsSideInCheck(&b, OtherSide(colour)) && !SquareAttacksSquare(&b, s, enemyPiece, false) &&
        !OffersShot(b, colour, enemyPiece, list))
      return s;
    RemoveDrillPiece(&b, s);
  }
  return -1;
}
