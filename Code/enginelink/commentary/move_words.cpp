#include "move_words.h"

#include <cstdlib>

#include "markup.h"
#include "movegen.h"
#include "sentences.h"

namespace {

int TypeOf(uint8_t piece) { return piece & TYPE_MASK; }
bool IsCastling(const MoveRecord& m) { return (m.flags & (MOVE_CASTLE_SHORT | MOVE_CASTLE_LONG)) != 0; }
int PromotionType(const MoveRecord& m) {
  return (m.flags & MOVE_PROMOTION) ? (m.flags & MOVE_PROMOTION_TYPE) : 0;
}
std::string Square(int s) { return Msg(103, 0, 1, {SquareName(s)}); }

std::string Join(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) AppendBlank(&out, p);
  return out;
}

}  // namespace

std::vector<MoveRecord> LegalMovesOf(const Board* board, int side) {
  std::vector<MoveRecord> all(kMoveListRoom), legal;
  uint16_t count = 0, legalCount = 0;
  GenerateMoves(board, all.data(), &count, &legalCount, side, true);
  for (int i = 0; i < count; ++i)
    if (!(all[i].flags & MOVE_ILLEGAL)) legal.push_back(all[i]);
  return legal;
}

int PlayLine(Board* board, int side, const MoveRecord* line, int count, std::vector<MoveRecord>* played) {
  for (int i = 0; i < count; ++i) {
    std::vector<MoveRecord> legal = LegalMovesOf(board, side);
    int k = FindMoveInList(&line[i], legal.data(), static_cast<int>(legal.size()));
    if (k < 0 || k >= static_cast<int>(legal.size())) break;
    MoveRecord m = legal[k];
    MakeMove(&m, board);
    if (played) played->push_back(m);
    side = OtherSide(side);
  }
  return side;
}

std::string DescribeMove(const Board* board, const MoveRecord* list, int count, int index, int withColour,
                         int spoken, int withPieceName) {
  if (!board || !list || index < 0 || index >= count) return std::string();
  const Board& b = *board;
  const MoveRecord& m = list[index];
  const int form = spoken ? 2 : 1;
  if (IsCastling(m)) {
    bool other = false;
    for (int i = 0; i < count; ++i) other |= i != index && IsCastling(list[i]);
    int variant = !other ? 0 : (m.flags & MOVE_CASTLE_LONG) ? 1 : 2;
    if (!withColour) variant += 10;
    return Msg(24, variant, form + 1);
  }
  const int kind = TypeOf(b[m.from]);
  std::string out;
  if (m.flags & MOVE_CAPTURE) {
    const int victim = (m.flags & MOVE_EN_PASSANT) ? PAWN : TypeOf(b[m.to]);
    bool sameKind = false, targetClash = false;
    for (int i = 0; i < count; ++i) {
      const MoveRecord& o = list[i];
      if (i == index || !(o.flags & MOVE_CAPTURE) || TypeOf(b[o.from]) != kind) continue;
      if (o.from == m.from && o.to == m.to) continue;  // other promotions of the same capture
      int otherVictim = (o.flags & MOVE_EN_PASSANT) ? PAWN : TypeOf(b[o.to]);
      if (otherVictim != victim) continue;
      if (o.from != m.from) sameKind = true;
      if (o.to != m.to) targetClash = true;
    }
    if (withPieceName) AppendBlank(&out, Msg(18, kind, form));
    if (sameKind) AppendBlank(&out, Join({Msg(30, 0, form), Square(m.from)}));
    const int victimColour = OtherSide(b[m.from] & COLOUR_MASK);
    AppendBlank(&out, Msg(29, withColour ? victim : victim + victimColour, form));
    if (targetClash) AppendBlank(&out, Join({Msg(30, 0, form), Square(m.to)}));
    if (m.flags & MOVE_EN_PASSANT) AppendBlank(&out, Msg(25, 0, form));
  } else {
    bool ambiguous = false;
    for (int i = 0; i < count; ++i) {
      const MoveRecord& o = list[i];
      ambiguous |= i != index && o.to == m.to && o.from != m.from && TypeOf(b[o.from]) == kind &&
                   PromotionType(o) == PromotionType(m);
    }
    if (withPieceName) AppendBlank(&out, Msg(18, kind, form));
    if (ambiguous) AppendBlank(&out, Join({Msg(30, 0, form), Square(m.from)}));
    AppendBlank(&out, Join({Msg(31, 0, form), Msg(103, 0, (spoken && !(m.flags & MOVE_PROMOTION)) ? 9 : 8,
                                                  {SquareName(m.to)})}));
  }
  if (m.flags & MOVE_PROMOTION) AppendBlank(&out, Msg(26, PromotionType(m), 2));
  return out;
}

namespace {

// 0 none, 1 file, 2 rank, 3 square: what the short algebraic text adds.
int Disambiguation(const Board* board, int side, const MoveRecord* move) {
  const Board& b = *board;
  int kind = TypeOf(b[move->from]);
  if (kind == PAWN || kind == KING) return 0;
  bool any = false, sameFile = false, sameRank = false;
  for (const MoveRecord& o : LegalMovesOf(board, side)) {
    if (o.to != move->to || o.from == move->from || TypeOf(b[o.from]) != kind) continue;
    any = true;
    sameFile |= SquareFile(o.from) == SquareFile(move->from);
    sameRank |= SquareRow(o.from) == SquareRow(move->from);
  }
  if (!any) return 0;
  if (!sameFile) return 1;
  if (!sameRank) return 2;
  return 3;
}

std::string FileName(int s) { return std::string(1, static_cast<char>('a' + SquareFile(s))); }
std::string RankName(int s) { return std::string(1, static_cast<char>('8' - SquareRow(s))); }

std::string TailPhrases(const MoveRecord* move, int withCheckWords) {
  std::string out;
  if (move->flags & MOVE_EN_PASSANT) AppendBlank(&out, Msg(194, 0, 0));
  if (move->flags & MOVE_MATE) {
    if (withCheckWords) AppendBlank(&out, Msg(196, 0, 0));
  } else if (move->flags & MOVE_CHECK) {
    AppendBlank(&out, Msg(195, 0, 0));
  }
  return out;
}

}  // namespace

std::string MoveInWords(const Board* board, int side, const MoveRecord* move, int withCheckWords,
                        int spoken) {
  if (!board || !move || !OnBoard(move->from) || !OnBoard(move->to)) return std::string();
  const Board& b = *board;
  std::string out;
  if (IsCastling(*move)) {
    out = Msg(193, (move->flags & MOVE_CASTLE_LONG) ? 1 : 2, 0);
  } else {
    const int kind = TypeOf(b[move->from]);
    if (kind != PAWN) {
      out = Msg(188, kind, 0);
      switch (Disambiguation(board, side, move)) {
        case 1:
          AppendBlank(&out, Msg(189, 0, 0, {FileName(move->from)}));
          break;
        case 2:
          AppendBlank(&out, Msg(190, 0, 0, {RankName(move->from)}));
          break;
        case 3:
          AppendBlank(&out, Msg(191, 0, 1, {SquareName(move->from)}));
          break;
        default:
          break;
      }
    } else if (move->flags & MOVE_CAPTURE) {
      out = Msg(189, 0, 0, {FileName(move->from)});
    } else {
      out = Msg(188, PAWN, 0);  // "pawn to g6" reads better than a bare destination
    }
    if (move->flags & MOVE_CAPTURE) AppendBlank(&out, Msg(192, 0, 0));
    const bool plain = !(move->flags & (MOVE_CHECK | MOVE_MATE | MOVE_EN_PASSANT | MOVE_PROMOTION));
    if (move->flags & MOVE_PROMOTION) {
      AppendBlank(&out, Msg(191, 0, 1, {SquareName(move->to)}));
      AppendBlank(&out, Msg(188, PromotionType(*move), 0));
    } else {
      AppendBlank(&out, Msg(191, 0, spoken && plain ? 2 : 1, {SquareName(move->to)}));
    }
  }
  AppendBlank(&out, TailPhrases(move, withCheckWords));
  return out;
}

std::string MoveInWordsForStyle(const Board* board, int side, const MoveRecord* move, int style,
                                int withCheckWords, int spoken) {
  if (style != 3 && style != 4) return MoveInWords(board, side, move, withCheckWords, spoken);
  if (!board || !move || !OnBoard(move->from) || !OnBoard(move->to)) return std::string();
  std::string out;
  if (IsCastling(*move)) {
    out = Msg(193, (move->flags & MOVE_CASTLE_LONG) ? 1 : 2, 0);
  } else {
    const int kind = TypeOf((*board)[move->from]);
    if (style == 4 && kind != PAWN) out = Msg(188, kind, 0);
    AppendBlank(&out, Msg(191, 0, 1, {SquareName(move->from)}));
    AppendBlank(&out, Msg(191, 0, 1, {SquareName(move->to)}));
    if (move->flags & MOVE_PROMOTION) AppendBlank(&out, Msg(188, PromotionType(*move), 0));
  }
  AppendBlank(&out, TailPhrases(move, withCheckWords));
  return out;
}

std::string MarkupPlayMove(const MoveRecord* move, int side) {
  std::string out, group;
  EmitSlide(move->from, move->to, &group);
  out += group;
  if (move->flags & MOVE_PROMOTION) {
    EmitPutPiece(side | PromotionType(*move), move->to, &group);
    out += group;
  }
  if (move->flags & MOVE_EN_PASSANT) {
    EmitRemoveGlyph(EnPassantVictimSquare(move, side), &group);
    out += group;
  }
  if (move->flags & MOVE_CASTLE_SHORT) {
    EmitSlide(move->to + 1, move->from + 1, &group);
    out += group;
  } else if (move->flags & MOVE_CASTLE_LONG) {
    EmitSlide(move->to - 2, move->from - 1, &group);
    out += group;
  }
  return out;
}

std::string MarkupUndoMove(const MoveRecord* move, int side) {
  std::string out, group;
  EmitSlide(move->to, move->from, &group);
  out += group;
  if (move->flags & MOVE_PROMOTION) {
    EmitPutPiece(side | PAWN, move->from, &group);
    out += group;
  }
  if ((move->flags & MOVE_CAPTURE) && move->capturedPiece) {
    int square = OnBoard(move->captureSquare) ? move->captureSquare : EnPassantVictimSquare(move, side);
    EmitPutPiece(move->capturedPiece, square, &group);
    out += group;
  }
  if (move->flags & MOVE_CASTLE_SHORT) {
    EmitSlide(move->from + 1, move->to + 1, &group);
    out += group;
  } else if (move->flags & MOVE_CASTLE_LONG) {
    EmitSlide(move->from - 1, move->to - 2, &group);
    out += group;
  }
  return out;
}

std::string MoveNumberText(int number) {
  std::string text =
      number >= 0 && number <= 255 ? Msg(16, number, 0, {std::to_string(number)}) : std::string();
  if (!text.empty()) return text;
  return std::to_string(number / 10) + Msg(17, std::abs(number % 10), 0, {std::to_string(number % 10)});
}

std::string CountText(int number, int form) {
  std::string text = number >= 0 && number <= 255 ? Msg(15, number, form) : std::string();
  return text.empty() ? std::to_string(number) : text;
}

std::string CountPhrase(int a, int b, int flag, int form) {
  if (a == b && b >= 2) return (b == 2 ? std::string(" ") : Msg(183, 0, 0)) + Msg(32, 0, form) + " ";
  if (a >= 2) return Msg(183, 0, 0);
  return flag ? std::string(" ") : std::string();
}

int EnPassantVictimSquare(const MoveRecord* move, int side) {
  if (!(move->flags & MOVE_EN_PASSANT)) return move->to;
  return side == WHITE ? move->to + 16 : move->to - 16;
}

int SentenceToneCode(const std::string& text) {
  size_t slash = text.find('\\');
  if (slash == std::string::npos || slash + 1 >= text.size()) return 0;
  switch (text[slash + 1]) {
    case 'A':
      return 3;
    case 'D':
      return 2;
    case 'G':
      return 1;
    default:
      return 0;
  }
}

std::string PieceNamePhrase(int piece, int square, const uint8_t counts[6], int mode, int tens, int spoken) {
  const int kind = piece & TYPE_MASK;
  int number = 18;
  switch (mode) {
    case 1:
      number = 21;
      break;
    case 2:
      number = (piece & COLOUR_MASK) == WHITE ? 22 : 23;
      break;
    case 3:
      number = 19;
      break;
    case 4:
      number = 20;
      break;
    default:
      break;
  }
  const bool several = counts[kind] > 1;
  std::string out = Msg(number, kind + tens * 10, spoken && !several ? 2 : 1);
  if (several) out += " " + Msg(30, 0, 1) + " " + Msg(103, 0, spoken ? 2 : 1, {SquareName(square)});
  return out;
}

std::string DegreePhrase(int before, int after, int ownSide, int colour, int optionA, int riseMessage,
                         int fallMessage, int t1, int t2, int t3, int last) {
  const int d = std::abs(after - before);
  const int degree = d > t3 ? 3 : d > t2 ? 2 : d > t1 ? 1 : 0;
  const int number = after > before ? riseMessage : fallMessage;
  const int key1 = (optionA == 2 && ownSide) ? 0 : colour;
  return Msg(number, key1, degree + (last ? 20 : 10));
}

std::string KingPressurePhrase(int before, int after, int ownSide, int colour, int optionA, int last) {
  const int d = std::abs(after - before);
  int degree = after == 0 ? 4 : d >= 11 ? 3 : d >= 7 ? 2 : d >= 4 ? 1 : 0;
  if (after > before) degree += 10;
  degree += last ? 200 : 100;
  return Msg(73, (optionA == 2 && ownSide) ? 0 : colour, degree);
}
