#include "annotator.h"

#include <cstdlib>
#include <vector>

#include "line_effects.h"
#include "markup.h"
#include "move_words.h"
#include "movegen.h"
#include "notation.h"
#include "sentences.h"
#include "square_lists.h"
#include "tactical_map.h"
#include "tactics_text.h"

namespace {

const CommentaryLabels kLabels = {" {W:0 0 transposed_m}(transposed)", "vs.", "Round", "Imported Game"};

int FindLegal(const std::vector<MoveRecord>& legal, const MoveRecord* move) {
  int k = FindMoveInList(move, legal.data(), static_cast<int>(legal.size()));
  return (k >= 0 && k < static_cast<int>(legal.size())) ? k : -1;
}

char OpponentLetter(int side) { return side == BLACK ? 'W' : 'B'; }

std::string Arrow(int from, int to, char letter) {
  std::string g;
  EmitArrow(from, to, letter, 1, &g);
  return g;
}
std::string Mark(int square) {
  std::string g;
  EmitHighlightSquare(square, 1, &g);
  return g;
}
std::string MarkText(const std::string& squares) {
  std::string g;
  if (!squares.empty()) EmitHighlightText(squares, 1, &g);
  return g;
}

// The first piece on the straight or diagonal line between the squares, or
// -1 when the squares are not on one line or nothing stands between them.
int FirstBlocker(const Board& b, int from, int to) {
  int d = DirectionBetween(from, to);
  if (d == 0 || from == to) return -1;
  int step = kRayDirections[d];
  for (int s = from + step; s != to && OnBoard(s); s += step)
    if (b[s]) return s;
  return -1;
}

bool MovesAlongLine(int type, int from, int to) {
  int d = DirectionBetween(from, to);
  if (d == 0 || from == to) return false;
  if (type == QUEEN) return true;
  if (type == ROOK) return d <= 4;
  if (type == BISHOP) return d >= 5;
  return false;
}

int Attacker(const Board& b, int square, int colour) {
  uint8_t at = NO_SQUARE;
  FindAttackers(&b, square, colour, 1, &at);
  return at;
}

std::string ExplainCastling(const Board& b, int side, int from, int to) {
  const bool longSide = to < from;
  const int enemy = OtherSide(side);
  const int rook = longSide ? from - 4 : from + 3;
  const uint8_t right =
      side == WHITE ? (longSide ? WHITE_LONG : WHITE_SHORT) : (longSide ? BLACK_LONG : BLACK_SHORT);
  if (!(b[CASTLING_RIGHTS] & right))
    return Arrow(from, rook, side == BLACK ? 'B' : 'W') + Msg(123, longSide, 0);
  for (int s = std::min(from, rook) + 1; s < std::max(from, rook); ++s)
    if (b[s]) return Mark(s) + Msg(119, longSide, 0, {PieceOnSquareText(&b, s)});
  const int step = longSide ? -1 : 1;
  int at = Attacker(b, from, enemy);
  if (OnBoard(at)) return Arrow(at, from, OpponentLetter(side)) + Msg(115, 0, 0);
  at = Attacker(b, from + 2 * step, enemy);
  if (OnBoard(at)) return Arrow(at, from + 2 * step, OpponentLetter(side)) + Msg(113, 0, 0);
  at = Attacker(b, from + step, enemy);
  if (OnBoard(at)) return Arrow(at, from + step, OpponentLetter(side)) + Msg(116, 0, 0);
  return Msg(124, 0, 0);
}

std::string ExplainPawn(const Board& b, int side, int from, int to) {
  const int fwd = side == WHITE ? -16 : 16;
  const int rows = (SquareRow(to) - SquareRow(from)) * (side == WHITE ? -1 : 1);
  const int files = std::abs(SquareFile(to) - SquareFile(from));
  if (b[to] && (b[to] & COLOUR_MASK) == side) return Msg(129, 0, 0);
  if (rows <= 0) return MarkText(GetPieceLegalTargets(&b, side, from)) + Msg(126, 0, 0);
  if (files == 0) {
    if (rows > 2) return MarkText(GetPieceLegalTargets(&b, side, from)) + Msg(125, 0, 0);
    if (rows == 2 && SquareRow(from) != (side == WHITE ? 6 : 1)) return Msg(127, 0, 0);
    for (int s = from + fwd; s != to; s += fwd)
      if (b[s]) return Mark(s) + Msg(117, 0, 0, {PieceOnSquareText(&b, s)});
    if (b[to]) return Mark(to) + Msg(130, 0, 0, {PieceOnSquareText(&b, to)});
  }
  if (files == 1 && rows == 1 && !b[to]) {
    const int beside = to - fwd;
    if (b[beside] == (OtherSide(side) | PAWN)) return Msg(131, 0, 0);
    return Msg(128, 0, 0);
  }
  return MarkText(GetPieceLegalTargets(&b, side, from)) + Msg(125, 0, 0);
}

}  // namespace

void InitCommentaryLabels() {}
const CommentaryLabels& GetCommentaryLabels() { return kLabels; }

std::string PieceOnSquareText(const Board* board, int square) {
  const uint8_t p = (*board)[square];
  // The square in its spoken form: these texts are also said aloud.
  if (!p) return Msg(103, 0, 3, {SquareName(square)});
  return Msg((p & COLOUR_MASK) == WHITE ? 22 : 23, p & TYPE_MASK, 1) + " " + Msg(30, 0, 1) + " " +
         Msg(103, 0, 3, {SquareName(square)});
}

void StripMarkupCodes(std::string* text) {
  for (;;) {
    size_t open = text->find('{'), close = text->find('}');
    if (open == std::string::npos || close == std::string::npos || close < open) return;
    text->erase(open, close - open + 1);
  }
}

std::string AnnotateMove(const Board* board, int side, const MoveRecord* gameMoves, int count,
                         OpeningBookQuery* book) {
  if (!board) return std::string();
  SelectCommentaryTable();
  std::string text = Msg(0, 0, 0) + " ";
  std::vector<MoveRecord> legal = LegalMovesOf(board, side);
  const int state = GetMateState(board, static_cast<int>(legal.size()), side);
  if (state == 2) return text + Msg(3, 0, 0);
  if (state == 3) return text + Msg(4, 0, 0);
  if (IsDeadMaterial(board)) return text + Msg(5, 0, 0);
  if (legal.size() == 1) {
    return text + CapitalizeFirst(DescribeMove(board, legal.data(), 1, 0, 1, 0, 1)) + ".\r\n\r\n" +
           Msg(2, 0, 0);
  }
  BookSlotZero slot(book);
  MoveRecord bookMove;
  if (!book || !book->PickBookMove(gameMoves, count, &bookMove)) return std::string();
  int k = FindLegal(legal, &bookMove);
  if (k < 0) return std::string();
  text += CapitalizeFirst(DescribeMove(board, legal.data(), static_cast<int>(legal.size()), k, 1, 0, 1)) +
          ".\r\n\r\n";
  text += MarkupPlayMove(&legal[k], side);
  std::vector<MoveRecord> line(gameMoves, gameMoves + count);
  line.push_back(legal[k]);
  BookPositionText entry;
  if (book->LookupBookPosition(line.data(), static_cast<int>(line.size()), &entry)) {
    bool wrote7 = false;
    if (entry.longText.empty() || !entry.shortText.empty()) {
      text += Msg(7, 0, 0, {MoveNumberText(count / 2 + 1), entry.shortText});
      wrote7 = true;
    }
    if (!entry.longText.empty()) text += (wrote7 ? " " : "") + entry.longText;
  }
  return text;
}

std::string ExplainLine(const Board* board, int side, const MoveRecord* line, int count) {
  if (!board || !line || count <= 0) return std::string();
  SelectCommentaryTable();
  std::vector<MoveRecord> legal = LegalMovesOf(board, side);
  int k = FindLegal(legal, &line[0]);
  if (k < 0) return std::string();
  std::string text = Msg(0, 0, 0) + " ";
  text += CapitalizeFirst(DescribeMove(board, legal.data(), static_cast<int>(legal.size()), k, 1, 0, 1));
  text += ".\r\n\r\n" + Msg(1, 0, 0) + " ";
  int described = count;
  text += DescribeMoveTactics(board, line, &described, 2, 1, 0, 0);
  text += "\r\n\r\n" + ExplainLineEffects(board, line, count, side, 2, 1, 99, 0, 10, 1);
  return text;
}

std::string ExplainLineWithPosition(const Board* board, int side, const MoveRecord* line, int count,
                                    int style) {
  if (!board || !line || count <= 0) return std::string();
  SelectCommentaryTable();
  std::vector<MoveRecord> legal = LegalMovesOf(board, side);
  int k = FindLegal(legal, &line[0]);
  if (k < 0) return std::string();
  char notation[kNotationTextSize];
  MoveToNotation(board, &legal[k], side, style, notation);
  std::string text = Msg(0, 0, 0) + " " + notation;
  std::string words = MoveInWordsForStyle(board, side, &legal[k], style, 1, 1);
  if (!words.empty()) text += " (" + words + ")";
  text += ".\r\n\r\n";
  int described = count;
  text += DescribeMoveTactics(board, line, &described, 2, 1, 1, style);
  return text;
}

std::string ExplainIllegalMove(const Board* board, int side, int from, int to) {
  if (!board || !OnBoard(from) || !OnBoard(to)) return std::string();
  SelectCommentaryTable();
  ResetMarkupDirty();
  const Board& b = *board;
  const uint8_t piece = b[from];
  if (!piece) return Msg(121, 0, 0);
  if ((piece & COLOUR_MASK) != side) return Msg(122, 0, 0);
  const int type = piece & TYPE_MASK;
  const int homeKing = side == WHITE ? 0x74 : 0x04;
  if (type == KING && from == homeKing && SquareRow(to) == SquareRow(from) && std::abs(to - from) > 1) {
    const int corner = to > from ? from + 3 : from - 4;
    if (b[corner] == (side | ROOK)) {
      std::vector<MoveRecord> legal = LegalMovesOf(board, side);
      for (const MoveRecord& m : legal)
        if (m.from == from && (m.flags & (to > from ? MOVE_CASTLE_SHORT : MOVE_CASTLE_LONG)))
          return Msg(111, 0, 0);
      return ExplainCastling(b, side, from, to);
    }
  }
  std::vector<MoveRecord> all(kMoveListRoom);
  uint16_t count = 0, legalCount = 0;
  GenerateMoves(board, all.data(), &count, &legalCount, side, true);
  const MoveRecord* found = nullptr;
  for (int i = 0; i < count && !found; ++i)
    if (all[i].from == from && all[i].to == to) found = &all[i];
  if (!found) {
    if (type == PAWN) return ExplainPawn(b, side, from, to);
    const bool ownTarget = b[to] && (b[to] & COLOUR_MASK) == side;
    if (MovesAlongLine(type, from, to)) {
      const int blocker = FirstBlocker(b, from, to);
      if (blocker >= 0) {
        if (ownTarget) return Msg(129, 0, 0);
        return Mark(blocker) + Msg(118, 0, 0, {PieceOnSquareText(board, blocker)});
      }
    }
    if (ownTarget) return Msg(129, 0, 0);
    return MarkText(GetPieceLegalTargets(board, side, from)) + Msg(120, type, 0, {SquareName(from)});
  }
  if (!(found->flags & MOVE_ILLEGAL)) return Msg(111, 0, 0);
  const int enemy = OtherSide(side);
  const int king = b[KingSquareByte(side)];
  Board after = b;
  MoveRecord m = *found;
  MakeMove(&m, &after);
  const int kingAfter = after[KingSquareByte(side)];
  const int attackerBefore = IsSquareAttacked(&b, king, enemy) ? Attacker(b, king, enemy) : -1;
  const int attackerAfter = Attacker(after, kingAfter, enemy);
  if (attackerBefore >= 0 && attackerBefore == attackerAfter)
    return Arrow(attackerAfter, kingAfter, OpponentLetter(side)) + Msg(114, 0, 0);
  if (type == KING) return Arrow(attackerAfter, to, OpponentLetter(side)) + Msg(113, 0, 0);
  return Arrow(attackerAfter, kingAfter, OpponentLetter(side)) + Msg(112, 0, 0);
}
