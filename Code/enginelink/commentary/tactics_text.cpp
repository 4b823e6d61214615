#include "tactics_text.h"

#include <algorithm>
#include <vector>

#include "cancel_poll.h"
#include "markup.h"
#include "move_words.h"
#include "movegen.h"
#include "notation.h"
#include "sentences.h"
#include "square_lists.h"

namespace {

struct Keys {
  int last;  // this is the last sentence of the move
  int shown;
  int L() const { return (last ? 2 : 1) + 10 * (shown ? 2 : 1); }
};

char LetterOf(int colour) { return colour == BLACK ? 'B' : 'W'; }

std::string Glyph(const Board& b, int s) {
  std::string g;
  EmitGlyph(b[s], s, 1, &g);
  return g;
}

std::string Name(const Board& b, int s, int spoken) {
  uint8_t counts[6];
  CountPiecesByType(&b, b[s] & COLOUR_MASK, counts);
  return PieceNamePhrase(b[s], s, counts, 2, 0, spoken);
}

std::string LowercaseFirst(std::string text) {
  int depth = 0;
  for (char& ch : text) {
    if (ch == '{')
      ++depth;
    else if (ch == '}' && depth > 0)
      --depth;
    else if (depth == 0) {
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
      break;
    }
  }
  return text;
}

std::string PawnName(int s) { return Msg(103, 0, 1, {SquareName(s)}); }

// Items of a list with their joiners: markup for each, then its name.
std::string ListItems(const Board& b, int count, const uint8_t* squares, const uint8_t* pinners,
                      const uint8_t* shielded, int shown) {
  std::string items, group;
  for (int i = 0; i < count; ++i) {
    const int s = squares[i];
    items += CountPhrase(i + 1, count, 0, 1);
    if (pinners && shielded) {
      EmitHighlightSquare(s, 1, &group);
      items += group;
      if (OnBoard(pinners[i]) && OnBoard(shielded[i])) {
        EmitArrow(pinners[i], shielded[i], (b[s] & COLOUR_MASK) == BLACK ? 'W' : 'B', 1, &group);
        items += group;
      }
    } else {
      items += Glyph(b, s);
    }
    items += Name(b, s, shown);
  }
  return items;
}

std::string PassedPawnItems(const Board& b, const SquareList& list, Keys k) {
  std::string items, group;
  for (int i = 0; i < list.count; ++i) {
    const int s = list.squares[i];
    const bool white = (b[s] & COLOUR_MASK) == WHITE;
    items += CountPhrase(i + 1, list.count, 0, 1) + Glyph(b, s);
    EmitHighlightFile(SquareFile(s), SquareRow(s) + (white ? -1 : 1), white ? 0 : 7, 1, &group);
    if (SquareRow(s) != (white ? 0 : 7)) items += group;
    items += Msg(103, 0, 1, {SquareName(s)});
  }
  (void)k;
  return items;
}

}  // namespace

std::string MateMarkup(const Board* board, const MoveRecord* move) {
  Board copy = *board;
  const int mover = copy[move->from] & COLOUR_MASK;
  MoveRecord m = *move;
  MakeMove(&m, &copy);
  uint8_t coverage[128];
  ComputeBoardCoverage(&copy, mover, coverage);
  const int mated = OtherSide(mover), king = copy[KingSquareByte(mated)];
  std::string out, group;
  if (!OnBoard(king)) return out;
  if (coverage[king] != kNotCovered) {
    EmitArrow(coverage[king], king, LetterOf(mover), 1, &group);
    out += group;
  }
  EmitHighlightSquare(king, 1, &group);
  out += group;
  for (int d = 1; d <= 8; ++d) {
    const int s = king + kRayDirections[d];
    if (!OnBoard(s) || (copy[s] && (copy[s] & COLOUR_MASK) == mated)) continue;
    EmitHighlightSquare(s, 1, &group);
    out += group;
    if (coverage[s] != kNotCovered) {
      EmitArrow(coverage[s], s, LetterOf(mover), 1, &group);
      out += group;
    }
  }
  return out;
}

std::string DescribeMoveFeatures(const Board* board, const MoveRecord* legal, int listLength, int legalCount,
                                 int index, const MoveFeatures* f, int firstSide, int mode, int showMoves,
                                 int maxCategories, int lastCategory, int noIntro) {
  if (!board || !legal || !f || index < 0 || index >= listLength) return std::string();
  const Board& b = *board;
  const MoveRecord& m = legal[index];
  const int c = b[m.from] & COLOUR_MASK, other = OtherSide(c);
  const int movedType = b[m.from] & TYPE_MASK;
  const int S = (mode == 2 && !firstSide) ? 0 : other;
  const int S2 = (firstSide || mode == 3) ? other : 0;
  const bool onlyMove = legalCount == 1;

  struct Cat {
    int m, k;
    bool applies;
  };
  const Cat cats[23] = {
      {99, 0, f->givesMate != 0},
      {99, 0, f->givesStalemate != 0},
      {0, 99, f->movedToDefended || f->movedToSafety},
      {99, 99, f->threatensMate != 0},
      {99, 99, f->trapped.count > 0},
      {99, 99, f->newPins.count > 0},
      {99, 99, f->newPinsWithFreeMove.count > 0},
      {99, 99, f->newLesserShields.count > 0},
      {99, 99, f->ownPinsReleased.count > 0},
      {99, 99, f->rescued.count > 0},
      {99, 99, f->threatTargetCount > 0},
      {99, 99, f->blockadedPawn != NO_SQUARE},
      {99, 99, f->promotionThreat != NO_SQUARE},
      {99, 99, f->promotionStopped != NO_SQUARE},
      {99, 99, f->newPassed.count > 0},
      {99, 99, f->enemyNewlyIsolated.count > 0},
      {99, 99, f->rookBehindPassedPawn != NO_SQUARE},
      {99, 99, f->passedPawnAdvanced != NO_SQUARE && f->promotionThreat == NO_SQUARE},
      {99, 99, f->takesOpenFile != 0},
      {99, 99, f->ownShortCastlingWon || f->ownLongCastlingWon},
      {99, 99, f->enemyShortCastlingLost || f->enemyLongCastlingLost},
      {0, 99, f->queenOutOfCorner != 0},
      {0, 99, f->knightOffRim != 0},
  };
  std::vector<int> chosen;
  int maximum = maxCategories;
  for (int i = 0; i <= std::min(lastCategory, 22); ++i) {
    const int found = static_cast<int>(chosen.size());
    if (found >= maximum) break;
    if (found > cats[i].m || !cats[i].applies) continue;
    chosen.push_back(i);
    maximum = std::min(found + 1 + cats[i].k, maxCategories);
  }

  // The position after the move, for naming pieces where they now stand.
  Board after = b;
  MoveRecord made = m;
  MakeMove(&made, &after);

  std::string out, group;
  bool intro = false;
  if (showMoves && !noIntro) {
    int kind = (m.flags & (MOVE_CASTLE_SHORT | MOVE_CASTLE_LONG)) ? 2
               : (m.flags & MOVE_CAPTURE)                         ? 1
               : f->fianchetto                                    ? 3
                                                                  : 0;
    // Advice to the player (mode 2, first side) says "castle" and names the
    // colour of what is taken; the other intros name the mover instead.
    const int named = !(firstSide && mode == 2);
    std::string move = DescribeMove(board, legal, listLength, index, named, 0, 1);
    if (firstSide && mode == 2)
      out = Msg(onlyMove ? 56 : 55, kind, movedType, {move});
    else
      out = Msg(onlyMove ? 58 : 57, kind, b[m.from], {move});
    out = CapitalizeFirst(out);
    intro = true;
  } else if (showMoves && noIntro) {
    if (!chosen.empty()) out = Msg(178, 0, 0);
  } else if (onlyMove) {
    out = Msg(133, 0, 0);
  }
  if (!chosen.empty() && intro) out += ", " + Msg(33, chosen.front(), 0);

  const int total = static_cast<int>(chosen.size());
  for (int n = 0; n < total; ++n) {
    const Keys k{n == total - 1, showMoves};
    const int L = k.L();
    std::string s;
    switch (chosen[n]) {
      case 0:
        s = MateMarkup(board, &m) + Msg(f->counterCheck ? 40 : 39, S2, L);
        for (int d = 0; d < 3; ++d) {
          EmitDelay(250, &group);
          s += group;
        }
        break;
      case 1:
        s = Msg(41, 0, showMoves ? 2 : 1);
        break;
      case 2:
        s = Msg(f->movedToSafety ? 49 : 48, movedType, L);
        break;
      case 3: {
        const MoveRecord& n2 = f->matingMove;
        std::string show;
        EmitVoiceDelay(150, &group);
        show += group;
        EmitArrow(n2.from, n2.to, LetterOf(c), 1, &group);
        show += group;
        EmitGlyph(after[n2.from], n2.to, 1, &group);
        show += group;
        EmitVoiceDelay(150, &group);
        show += group;
        std::vector<MoveRecord> replies = LegalMovesOf(&after, c);
        MoveRecord named = n2;
        int idx = FindMoveInList(&n2, replies.data(), static_cast<int>(replies.size()));
        if (idx >= 0 && idx < static_cast<int>(replies.size())) named = replies[idx];
        s = show + Msg(62, 0, L, {MoveInWords(&after, c, &named, 1, 0)});
        break;
      }
      case 4:
        s = Msg(46, S ? other : 0, L,
                {ListItems(after, f->trapped.count, f->trapped.squares, nullptr, nullptr, 0)});
        break;
      case 5:
        s = Msg(42, S ? other : 0, L,
                {ListItems(after, f->newPins.count, f->newPins.squares, f->newPins.pinnedBy,
                           f->newPins.shielding, 0)});
        break;
      case 6:
        s = Msg(43, S ? other : 0, L,
                {ListItems(after, f->newPinsWithFreeMove.count, f->newPinsWithFreeMove.squares,
                           f->newPinsWithFreeMove.pinnedBy, f->newPinsWithFreeMove.shielding, 0)});
        break;
      case 7:
        s = Msg(44, S ? other : 0, L,
                {ListItems(after, f->newLesserShields.count, f->newLesserShields.squares,
                           f->newLesserShields.pinnedBy, f->newLesserShields.shielding, 0)});
        break;
      case 8: {
        const int key = (mode == 2 && firstSide) ? 0 : c;
        s = Msg(
            45, key, L,
            {ListItems(after, f->ownPinsReleased.count, f->ownPinsReleased.squares, nullptr, nullptr, 0)});
        break;
      }
      case 9:
        s = Msg(60, (mode == 2 && !firstSide) ? 0 : c, L,
                {ListItems(after, f->rescued.count, f->rescued.squares, nullptr, nullptr, 0)});
        break;
      case 10: {
        const int targets = f->threatTargetCount;
        const int shownKey = 100 * (showMoves ? 2 : 1), lastKey = 10 * (k.last ? 2 : 1);
        auto arrows = [&](int target) {
          std::string a;
          for (int t = 0; t < f->threatCount; ++t) {
            if (f->threatTo[t] != target) continue;
            EmitArrow(f->threatFrom[t], target, LetterOf(c), 1, &group);
            a += group;
          }
          return a + Glyph(after, target);
        };
        if (targets > 1) {
          std::string items;
          for (int t = 0; t < targets; ++t)
            items += CountPhrase(t + 1, targets, 0, 1) + arrows(f->threatTargets[t]) +
                     Name(after, f->threatTargets[t], 0);
          s = Msg(59, S + targets, 1 + lastKey + shownKey, {items});
        } else {
          const int target = f->threatTargets[0], attackers = f->threatAttackers[0];
          s = arrows(target);
          if (m.flags & MOVE_CHECK)
            s += Msg(f->counterCheck ? 38 : f->discoveredCheck ? 37 : 36, S + attackers, L);
          else
            s += Msg(59, S + 1, attackers + lastKey + shownKey, {Name(after, target, 0)});
        }
        break;
      }
      case 11:
        s = Msg(63, S, L, {Glyph(after, f->blockadedPawn) + PawnName(f->blockadedPawn)});
        break;
      case 12:
        s = Msg(88, 0, L, {Glyph(after, f->promotionThreat) + PawnName(f->promotionThreat)});
        break;
      case 13:
        s = Msg(89, 0, L, {Glyph(after, f->promotionStopped) + PawnName(f->promotionStopped)});
        break;
      case 14:
        s = Msg(64, c, L, {PassedPawnItems(after, f->newPassed, k)});
        break;
      case 15:
        s = Msg(47, S ? other : 0, L,
                {ListItems(after, f->enemyNewlyIsolated.count, f->enemyNewlyIsolated.squares, nullptr,
                           nullptr, 0)});
        break;
      case 16: {
        const int p = f->rookBehindPassedPawn;
        EmitHighlightFile(SquareFile(p), 0, 7, 1, &group);
        s = Msg(95, movedType, 1 + 10 * (showMoves ? 2 : 1)) + " " + Msg(30, 0, 1) + " " + Glyph(after, p) +
            group + PawnName(p);
        break;
      }
      case 17:
        s = Glyph(after, f->passedPawnAdvanced) + Msg(68, 0, L);
        break;
      case 18:
        EmitHighlightFile(SquareFile(m.to), 0, 7, 1, &group);
        s = group + Msg(92, 0, L);
        break;
      case 19:
        s = Msg(66, f->ownShortCastlingWon ? 1 : 0, L);
        break;
      case 20: {
        const int both = f->enemyShortCastlingLost && f->enemyLongCastlingLost;
        s = Msg(67, both ? 2 : f->enemyShortCastlingLost ? 1 : 0, L);
        break;
      }
      case 21:
        s = Msg(91, 0, L);
        break;
      case 22:
        s = Msg(90, 0, L);
        break;
    }
    if (showMoves || n > 0) out += CountPhrase(n + 1, total, 1, 1);
    // A sentence after the first goes on the same sentence in lower case.
    out += (!showMoves && n > 0) ? LowercaseFirst(s) : s;
  }
  if (!out.empty() && out.back() != ' ') out += ".";
  return out;
}

std::string DescribeMoveFault(const Board* board, const MoveRecord* move) {
  if (PollCommentaryCancel()) return std::string();
  Board b = *board;
  const int c = b[move->from] & COLOUR_MASK;
  SquareAnalysisMap before, after;
  BuildFullAnalysisMap(&b, c, &before);
  MoveFeatures f = EmptyMoveFeatures();
  std::vector<MoveRecord> legal = LegalMovesOf(&b, c);
  int idx = FindMoveInList(move, legal.data(), static_cast<int>(legal.size()));
  MoveRecord m = (idx >= 0 && idx < static_cast<int>(legal.size())) ? legal[idx] : *move;
  AnalyzeMoveFeatures(&b, &m, &before, &after, &f);
  Board played = b;
  MakeMove(&m, &played);

  const bool applies[7] = {
      f.hanging.count > 0,        f.ownNewPins.count > 0,       f.enemyPinsReleased.count > 0,
      f.enemyNewPassed.count > 0, f.ownNewlyIsolated.count > 0, f.queenIntoCorner != 0,
      f.knightToRim != 0};
  int total = 0;
  for (bool a : applies) total += a;
  std::string out;
  int n = 0;
  for (int cat = 0; cat < 7; ++cat) {
    if (!applies[cat]) continue;
    ++n;
    const int last = n == total ? 2 : 1;
    std::string s;
    switch (cat) {
      case 0:
        s = Msg(61, last, 0, {ListItems(played, f.hanging.count, f.hanging.squares, nullptr, nullptr, 0)});
        break;
      case 1: {
        std::string items, group;
        for (int i = 0; i < f.ownNewPins.count; ++i) {
          const int sq = f.ownNewPins.squares[i];
          items += CountPhrase(i + 1, f.ownNewPins.count, 0, 1) + Glyph(played, sq);
          if (OnBoard(f.ownNewPins.pinnedBy[i])) {
            EmitArrow(f.ownNewPins.pinnedBy[i], sq, LetterOf(OtherSide(c)), 1, &group);
            items += group;
          }
          items += Name(played, sq, 0);
        }
        s = Msg(42, 1, 10 + last, {items});
        break;
      }
      case 2:
        s = Msg(
            45, OtherSide(c), 10 + last,
            {ListItems(played, f.enemyPinsReleased.count, f.enemyPinsReleased.squares, nullptr, nullptr, 0)});
        break;
      case 3:
        s = Msg(65, OtherSide(c), 10 + last, {PassedPawnItems(played, f.enemyNewPassed, Keys{last == 2, 0})});
        break;
      case 4:
        s = Msg(
            47, 1, 10 + last,
            {ListItems(played, f.ownNewlyIsolated.count, f.ownNewlyIsolated.squares, nullptr, nullptr, 0)});
        break;
      case 5:
        s = Msg(94, 0, 0);
        break;
      case 6:
        s = Msg(93, 0, 0);
        break;
    }
    if (n > 1) out += CountPhrase(n, total, 1, 1);
    out += s;
  }
  if (!out.empty() && out.back() != ' ') out += ". ";
  return out;
}

std::string DescribeLine(const Board* board, const MoveRecord* line, int count, int firstShown,
                         int firstNumber, int side, int style, int numbering, int markup) {
  Board b = *board;
  std::string out, group;
  int number = firstNumber;  // the move number of line[0]
  for (int i = 0; i < count; ++i) {
    std::vector<MoveRecord> legal = LegalMovesOf(&b, side);
    int idx = FindMoveInList(&line[i], legal.data(), static_cast<int>(legal.size()));
    if (idx < 0 || idx >= static_cast<int>(legal.size())) break;
    MoveRecord m = legal[idx];
    if (i >= firstShown) {
      out += MarkupPlayMove(&m, side);
      int piece = (m.flags & MOVE_PROMOTION) ? (side | (m.flags & MOVE_PROMOTION_TYPE)) : b[m.from];
      EmitGlyph(piece, m.to, 1, &group);
      out += group;
      if (i > firstShown) out += " ";
      if (numbering && side == WHITE) out += std::to_string(number) + ". ";
      if (numbering && side == BLACK && i == firstShown) out += std::to_string(number) + "... ";
      char text[kNotationTextSize];
      MoveToNotation(&b, &m, side, style, text);
      out += text;
      std::string words = MoveInWordsForStyle(&b, side, &m, style, 1, markup);
      if (!words.empty()) out += " (" + words + ")";
    }
    MakeMove(&m, &b);
    if (side == BLACK) ++number;
    side = OtherSide(side);
  }
  return out;
}

bool LineHasCapture(const MoveRecord* moves, int count) {
  for (int i = 0; i < count; ++i)
    if (moves[i].flags & MOVE_CAPTURE) return true;
  return false;
}

bool LineHasPromotion(const MoveRecord* moves, int count) {
  for (int i = 0; i < count; ++i)
    if (moves[i].flags & MOVE_PROMOTION) return true;
  return false;
}

bool IsCaptureOrPromotionAt(const MoveRecord* moves, int index, int count) {
  return index >= 0 && index < count && (moves[index].flags & (MOVE_CAPTURE | MOVE_PROMOTION));
}

std::string WriteLineTakeback(const Board* board, const MoveRecord* line, int count, int firstIndex) {
  Board b = *board;
  const int side = (line && count > 0 && OnBoard(line[0].from)) ? (b[line[0].from] & COLOUR_MASK) : WHITE;
  std::vector<MoveRecord> played;
  PlayLine(&b, side, line, count, &played);
  std::string out;
  for (int i = static_cast<int>(played.size()) - 1; i >= std::max(0, firstIndex); --i)
    out += MarkupUndoMove(&played[i], (i % 2 == 0) ? side : OtherSide(side));
  return out;
}

std::string DescribeMoveTactics(const Board* board, const MoveRecord* moves, int* count, int mode,
                                int showMoves, int single, int style) {
  if (!board || !moves || !count || *count <= 0) return std::string();
  if (PollCommentaryCancel()) return std::string();
  Board b = *board;
  int side = OnBoard(moves[0].from) && b[moves[0].from] ? (b[moves[0].from] & COLOUR_MASK) : WHITE;
  const int firstSide = side;
  if (single && *count >= 2 && (*count % 2) == 1) {
    Board end = b;
    std::vector<MoveRecord> played;
    int toMove = PlayLine(&end, side, moves, *count, &played);
    if (static_cast<int>(played.size()) == *count && IsSideMated(&end, toMove))
      return DescribeLine(board, moves, *count, 0, 1, side, style, 1, 1);
  }
  std::string out, group;
  SquareAnalysisMap before, after;
  BuildFullAnalysisMap(&b, side, &before);
  int described = 0;
  for (int i = 0; i < *count; ++i) {
    std::vector<MoveRecord> legal = LegalMovesOf(&b, side);
    const int n = static_cast<int>(legal.size());
    int idx = FindMoveInList(&moves[i], legal.data(), n);
    if (idx < 0 || idx >= n) break;
    ClearAnalysisFlag(&before, AF_HAS_ESCAPE);
    MarkEscapes(&b, OtherSide(side), &before);
    MarkCastlingOptions(&before, &b);
    MoveFeatures f = EmptyMoveFeatures();
    AnalyzeMoveFeatures(&b, &legal[idx], &before, &after, &f);
    if (showMoves) out += MarkupPlayMove(&legal[idx], side);
    EmitVoiceDelay(200, &group);
    out += group;
    out += DescribeMoveFeatures(&b, legal.data(), n, n, idx, &f, side == firstSide, mode, showMoves, 99,
                                kLastFeatureCategory, 0);
    if (i + 1 < *count) out += " ";
    EmitClearCodes(1, &group);
    out += group;
    MoveRecord m = legal[idx];
    MakeMove(&m, &b);
    before = after;
    side = OtherSide(side);
    ++described;
    if (IsDeadMaterial(&b) || single) break;
  }
  *count = described;
  return out;
}
