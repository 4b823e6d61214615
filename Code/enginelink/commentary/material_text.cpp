#include "material_text.h"

#include "move_words.h"
#include "position_summary.h"
#include "sentences.h"

namespace {

int Items(const uint8_t counts[6]) {
  int n = 0;
  for (int t = QUEEN; t <= PAWN; ++t) n += counts[t] != 0;
  return n;
}
bool Any(const uint8_t counts[6]) { return Items(counts) != 0; }
int SingleKind(const uint8_t counts[6]) {
  int kind = -1, total = 0;
  for (int t = QUEEN; t <= PAWN; ++t) {
    total += counts[t];
    if (counts[t]) kind = t;
  }
  return total == 1 ? kind : -1;
}
bool Minor(int kind) { return kind == BISHOP || kind == KNIGHT; }

}  // namespace

std::string WritePieceList(const uint8_t counts[6], int key, int flag) {
  std::string out;
  const int n = Items(counts);
  int i = 0;
  for (int t = QUEEN; t <= PAWN; ++t) {
    if (!counts[t]) continue;
    ++i;
    out += CountPhrase(i, n, 0, 1);
    int key2 = t + (counts[t] == 1 ? 10 : 0) + ((flag && i == n) ? 200 : 100);
    out += Msg(54, key, key2, {CountText(counts[t], 1)});
  }
  return out;
}

std::string WriteMaterialChange(const uint8_t lostSide[6], const uint8_t lostOther[6], int closing, int side,
                                int keySide, int keyOther) {
  if (!Any(lostSide) && !Any(lostOther)) return Msg(138, 0, 0);
  const int other = OtherSide(side);
  std::string out;
  const int kindSide = SingleKind(lostSide), kindOther = SingleKind(lostOther);
  if (kindSide >= 0 && kindOther >= 0 && (Minor(kindSide) || Minor(kindOther)) &&
      Minor(kindSide) == Minor(kindOther)) {
    out = Msg(kindSide == kindOther ? 52 : 53, kindSide, kindOther);
  } else {
    if (Any(lostOther)) out = Msg(51, keyOther, other + 200, {WritePieceList(lostOther, keyOther, 1)});
    if (Any(lostSide)) {
      if (!out.empty()) out += " " + Msg(32, 0, 1) + " ";
      out += Msg(50, keySide, side + 100, {WritePieceList(lostSide, keySide, 1)});
    }
  }
  if (closing) out += ", " + Msg(96, 0, 0);
  return out;
}

std::string WriteCountSentence(const CountRecord& record, int side, int mode) {
  std::string text = record.side == side ? Msg(76, mode == 2 ? 0 : side, 0, {CountText(record.count, 2)})
                                         : Msg(77, record.side, 0, {CountText(record.count, 2)});
  return CapitalizeFirst(text);
}

namespace {
void SummariesOverLine(const Board* board, int side, const MoveRecord* line, int count,
                       PositionSummary* before, PositionSummary* after, MaterialChange* change) {
  Board copy = *board;
  SummarizePosition(&copy, before);
  std::vector<MoveRecord> played;
  PlayLine(&copy, side, line, count, &played);
  SummarizePosition(&copy, after);
  CompareMaterial(board, before, after, played.data(), static_cast<int>(played.size()), side, side, change);
}
}  // namespace

std::string DescribeMaterialChange(const Board* board, int side, const MoveRecord* line, int count) {
  PositionSummary before, after;
  MaterialChange change;
  SummariesOverLine(board, side, line, count, &before, &after, &change);
  const int s = SideIndex(side), o = 1 - s;
  bool anyLost = Any(change.lost[s]) || Any(change.lost[o]);
  return Msg(33, anyLost ? 50 : 51, 0) + " " +
         WriteMaterialChange(change.lost[s], change.lost[o], 0, side, 3, 3);
}

std::string DescribeMaterialBalance(const Board* board) {
  PositionSummary sum;
  SummarizePosition(board, &sum);
  if (sum.material[0] == sum.material[1]) return " " + Msg(140, 0, 0) + ".";
  const int more = sum.material[1] > sum.material[0] ? 1 : 0, less = 1 - more;
  uint8_t surplus[6] = {};
  for (int t = QUEEN; t <= PAWN; ++t) {
    if (sum.pieceCounts[more][t] < sum.pieceCounts[less][t]) return std::string();
    surplus[t] = static_cast<uint8_t>(sum.pieceCounts[more][t] - sum.pieceCounts[less][t]);
  }
  const int colour = more ? WHITE : BLACK;
  return " " + Msg(50, 5, colour + 200, {WritePieceList(surplus, 5, 1)}) + ".";
}

std::string DescribePromotionGain(const Board* board, int side, const MoveRecord* line, int count,
                                  const MoveRecord* line2, int count2) {
  PositionSummary before, after1, after2;
  MaterialChange change1, change2;
  SummariesOverLine(board, side, line, count, &before, &after1, &change1);
  SummariesOverLine(board, side, line2, count2, &before, &after2, &change2);
  const int s = SideIndex(side), o = 1 - s;
  if (after1.material[s] - after1.material[o] <= after2.material[s] - after2.material[o])
    return std::string();
  uint8_t gained[6] = {}, lost[6] = {};
  bool anyLost = false;
  for (int t = QUEEN; t <= PAWN; ++t) {
    int d = after1.pieceCounts[s][t] - after2.pieceCounts[s][t];
    if (d > 0) gained[t] = static_cast<uint8_t>(d);
    if (d < 0) {
      lost[t] = static_cast<uint8_t>(-d);
      anyLost = true;
    }
  }
  if (!Any(gained)) return std::string();
  std::string out =
      ", " + Msg(33, 50, 0) + " " + Msg(50, 6, side + (anyLost ? 100 : 200), {WritePieceList(gained, 6, 1)});
  if (anyLost) out += ", " + Msg(32, 0, 1) + " " + Msg(51, 4, side + 200, {WritePieceList(lost, 7, 1)});
  return out;
}
