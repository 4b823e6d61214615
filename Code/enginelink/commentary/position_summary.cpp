#include "position_summary.h"

#include <algorithm>
#include <cstring>

#include "markup.h"
#include "tactical_map.h"

namespace {

const int kCentreDistance[8] = {3, 2, 1, 0, 0, 1, 2, 3};
const int kPawnRankScore[8] = {0, 0, 0, 2, 4, 8, 30, 0};
const int kPassedRankScore[8] = {0, 0, 10, 20, 40, 60, 70, 0};
const int kPawnFileWeight[8] = {0, 0, 2, 5, 6, 2, 0, 0};
const int kAdvanceWeight[8] = {0, 0, 0, 0, 1, 2, 4, 4};

thread_local AnnotatorThresholds tThresholds;

int Advanced(int colour, int square) { return colour == WHITE ? 7 - SquareRow(square) : SquareRow(square); }
int Centre(int square) { return kCentreDistance[SquareRow(square)] + kCentreDistance[SquareFile(square)]; }

}  // namespace

void SetAnnotatorThresholds(int slightly, int better, int much) {
  if (slightly) tThresholds.slightly = slightly;
  if (better) tThresholds.better = better;
  if (much) tThresholds.much = much;
}
AnnotatorThresholds GetAnnotatorThresholds() { return tThresholds; }

int MaterialTotal(const uint8_t counts[6]) {
  int sum = 0;
  for (int t = QUEEN; t <= PAWN; ++t) sum += counts[t] * kPieceValue[t];
  return sum;
}

void SummarizePosition(const Board* board, PositionSummary* out) {
  std::memset(out, 0, sizeof *out);
  for (int s = 0; s < 128; ++s) {
    uint8_t p = OnBoard(s) ? (*board)[s] : 0;
    if (!p || (p & TYPE_MASK) == KING || (p & TYPE_MASK) > PAWN) continue;
    int side = SideIndex(p & COLOUR_MASK);
    ++out->pieceCounts[side][p & TYPE_MASK];
    out->material[side] = static_cast<int16_t>(out->material[side] + kPieceValue[p & TYPE_MASK]);
  }
  out->weakerSide = out->material[0] < out->material[1] ? BLACK : WHITE;
  int wk = (*board)[WHITE_KING_SQUARE], bk = (*board)[BLACK_KING_SQUARE];
  if (OnBoard(wk)) out->kingCentrality[1] = static_cast<uint8_t>(Centre(wk));
  if (OnBoard(bk)) out->kingCentrality[0] = static_cast<uint8_t>(Centre(bk));
  if (OnBoard(wk) && OnBoard(bk))
    out->kingDistance = static_cast<uint8_t>(std::abs(SquareRow(wk) - SquareRow(bk)) +
                                             std::abs(SquareFile(wk) - SquareFile(bk)));
  out->insufficientMaterial = static_cast<uint8_t>(IsDeadMaterial(board));
  ScorePieceActivity(board, WHITE, out);
  ScorePieceActivity(board, BLACK, out);
  ScorePawns(board, out);
  int low = std::min(out->material[0], out->material[1]), high = std::max(out->material[0], out->material[1]);
  out->basicMate = out->pawnCount[0] == 0 && out->pawnCount[1] == 0 && low == 0 && high >= 5;
}

void ScorePieceActivity(const Board* board, int colour, PositionSummary* summary) {
  const Board& b = *board;
  const int side = SideIndex(colour);
  const int phase = std::max(0, summary->material[0] + summary->material[1] - 20);
  int weight[128] = {};
  int zone[128] = {};
  for (int s = 0; s < 128; ++s) {
    if (!OnBoard(s)) continue;
    int centre = 8 - 3 * Centre(s);
    weight[s] = std::max(0, centre) + ((kAdvanceWeight[Advanced(colour, s)] * 3 * (phase + 8)) >> 5);
  }
  int enemyKing = b[KingSquareByte(OtherSide(colour))];
  if (OnBoard(enemyKing)) {
    zone[enemyKing] = 1;
    for (int d = 1; d <= 8; ++d)
      if (OnBoard(enemyKing + kRayDirections[d])) zone[enemyKing + kRayDirections[d]] = 1;
  }
  int activity = 0, pressure = 0;
  for (int from = 0; from < 128; ++from) {
    if (!OnBoard(from) || !b[from] || (b[from] & COLOUR_MASK) != colour) continue;
    int type = b[from] & TYPE_MASK;
    if (type == QUEEN || type == ROOK || type == BISHOP) {
      int first = type == BISHOP ? 5 : 1, last = type == ROOK ? 4 : 8;
      int sum = 0;
      for (int d = first; d <= last; ++d) {
        bool clear = true;
        for (int s = from + kRayDirections[d]; OnBoard(s); s += kRayDirections[d]) {
          sum += clear ? weight[s] : weight[s] >> 1;
          pressure += zone[s] * (clear ? 2 : 1);
          uint8_t p = b[s];
          if (!p) continue;
          int pt = p & TYPE_MASK;
          if (pt == PAWN) break;
          int kind = d <= 4 ? ROOK : BISHOP;
          if (pt != QUEEN && pt != kind) clear = false;
        }
      }
      activity += type == QUEEN ? sum / 4 : sum;
    } else if (type == KNIGHT) {
      int sum = 0;
      for (int d = 1; d <= 8; ++d) {
        int s = from + kKnightSteps[d];
        if (!OnBoard(s)) continue;
        sum += weight[s];
        pressure += zone[s] * 2;
      }
      activity += std::max(0, (sum >> 1) - 3 * Centre(from));
    }
  }
  summary->activity[side] = static_cast<int16_t>(activity);
  summary->kingPressure[side] = static_cast<int16_t>(pressure);
}

void ScorePawnStructure(const Board* board, PositionSummary* summary, int side, int markupFlag,
                        std::string* markup) {
  const Board& b = *board;
  if (markup) markup->clear();
  std::string group;
  int perFile[2][8] = {};
  int count[2] = {};
  for (int s = 0; s < 128; ++s) {
    if (!OnBoard(s) || !b[s] || (b[s] & TYPE_MASK) != PAWN) continue;
    int colour = b[s] & COLOUR_MASK;
    ++perFile[SideIndex(colour)][SquareFile(s)];
    ++count[SideIndex(colour)];
    if (markup && colour == side) {
      EmitGlyph(b[s], s, markupFlag, &group);
      *markup += group;
    }
  }
  SquareAnalysisMap map;
  ClearAnalysisMap(&map);
  MarkPassedPawns(board, &map);
  MarkIsolatedPawns(board, &map);
  int score[2] = {};
  const char arrowLetter = side == BLACK ? 'B' : 'W';
  for (int s = 0; s < 128; ++s) {
    if (!OnBoard(s) || !b[s] || (b[s] & TYPE_MASK) != PAWN) continue;
    const int colour = b[s] & COLOUR_MASK, idx = SideIndex(colour);
    const uint8_t own = b[s];
    const bool write = markup && colour == side;
    const int k = Advanced(colour, s), file = SquareFile(s);
    const int fwd = colour == WHITE ? -16 : 16;
    const bool passed = (map.sq[s].flags & AF_PASSED) != 0;
    int value = (passed ? kPassedRankScore[k] : kPawnRankScore[k]) + (k + 2) * kPawnFileWeight[file];
    auto ownAt = [&](int q) { return OnBoard(q) && b[q] == own; };
    if (ownAt(s - 1) || ownAt(s + 1))
      value += 6;
    else if (ownAt(s - fwd + 1) || ownAt(s - fwd - 1))
      value += 3;
    for (int q : {s + fwd + 1, s + fwd - 1}) {
      if (!ownAt(q)) continue;
      value += 3;
      if (write) {
        EmitArrow(s, q, arrowLetter, markupFlag, &group);
        *markup += group;
      }
    }
    if (map.sq[s].flags & AF_ISOLATED) {
      value -= perFile[idx][file] > 1 ? 68 : 20;
      if (write) {
        for (int q : {s - 1, s + 1}) {
          if (!OnBoard(q)) continue;
          EmitHighlightSquare(q, markupFlag, &group);
          *markup += group;
        }
      }
    } else if (perFile[idx][file] > 1) {
      value -= 8;
    }
    if (write && passed) {
      EmitHighlightFile(file, SquareRow(s) + (colour == WHITE ? -1 : 1), colour == WHITE ? 0 : 7, markupFlag,
                        &group);
      *markup += group;
    }
    score[idx] += value;
  }
  if (summary) {
    for (int i = 0; i < 2; ++i) {
      summary->pawnScore[i] = static_cast<int16_t>(score[i]);
      summary->pawnCount[i] = static_cast<uint8_t>(count[i]);
    }
  }
}

void ScorePawns(const Board* board, PositionSummary* summary) {
  ScorePawnStructure(board, summary, 0, 0, nullptr);
}

void DescribePawnStructure(const Board* board, int side, int markupFlag, std::string* text) {
  ScorePawnStructure(board, nullptr, side, markupFlag, text);
}

void CompareMaterial(const Board* board, const PositionSummary* before, const PositionSummary* after,
                     const MoveRecord* line, int count, int side, int sideToMove, MaterialChange* out) {
  (void)board;
  std::memset(out, 0, sizeof *out);
  for (int i = 0; i < 2; ++i) {
    for (int t = 0; t < 6; ++t) {
      int d = after->pieceCounts[i][t] - before->pieceCounts[i][t];
      out->lost[i][t] = static_cast<uint8_t>(std::max(0, -d));
      out->gained[i][t] = static_cast<uint8_t>(std::max(0, d));
    }
  }
  int mover = sideToMove;
  for (int i = 0; i < count; ++i, mover = OtherSide(mover)) {
    if ((line[i].flags & MOVE_PROMOTION) && out->lost[SideIndex(mover)][PAWN] > 0)
      --out->lost[SideIndex(mover)][PAWN];
  }
  int s = SideIndex(side), o = 1 - s;
  int lostS = MaterialTotal(out->lost[s]), lostO = MaterialTotal(out->lost[o]);
  int ahead = after->material[s] - after->material[o];
  out->trade = lostS >= 3 && lostO >= 3 && ahead >= 3 && lostS >= lostO && lostS <= lostO + 3;
}
