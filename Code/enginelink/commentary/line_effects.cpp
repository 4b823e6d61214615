#include "line_effects.h"

#include <functional>
#include <vector>

#include "markup.h"
#include "material_text.h"
#include "move_words.h"
#include "movegen.h"
#include "position_summary.h"
#include "sentences.h"
#include "tactical_map.h"

namespace {

struct LineEffect {
  MaterialChange change;
  bool mate = false;
  int mateMoveNumber = 0;
  int matingSide = 0;
  bool stalemate = false;
};

struct Category {
  std::function<bool()> applies;
  std::function<std::string(bool last)> text;
  int extra;
};

std::string SentenceFormat(int index, int total, int optionB) {
  if (!optionB) return "%s.";
  // The wordings are formats with one "%s": taken unformatted.
  const Phrasebook& book = CurrentPhrasebook();
  if (index == 0) return book.Text(98, 0, 0);
  if (index == 1) return book.Text(99, 0, 0);
  if (total > 3 && index == total - 1) return book.Text(101, 0, 0);
  return book.Text(100, 0, 0);
}

// Writes the applying categories from `cats` (limit rule of the extra
// counts) into `out`; returns how many were written.
int WriteCategories(const std::vector<Category>& cats, int first, int last, int most, int optionB,
                    std::string* out) {
  std::vector<int> chosen;
  int limit = most;
  for (int i = first; i <= last && i < static_cast<int>(cats.size()); ++i) {
    if (static_cast<int>(chosen.size()) >= limit) break;
    if (!cats[i].applies()) continue;
    chosen.push_back(i);
    if (cats[i].extra == 0) limit = static_cast<int>(chosen.size());
  }
  const int total = static_cast<int>(chosen.size());
  for (int k = 0; k < total; ++k) {
    std::string body = cats[chosen[k]].text(k == total - 1);
    std::string format = SentenceFormat(k, total, optionB);
    if (PlaceholderPosition(format) == 0) body = CapitalizeFirst(body);
    if (PlaceholderPosition(format) == 3) format = "%s.";
    if (k > 0) *out += " ";
    *out += FormatSentence(format, {body});
  }
  return total;
}

}  // namespace

int PlaceholderPosition(const std::string& format) {
  size_t at = format.find("%s");
  if (at == std::string::npos) return 3;
  if (at == 0) return 0;
  if (at + 2 == format.size()) return 2;
  return 1;
}

std::string ExplainLineEffects(const Board* board, const MoveRecord* line, int count, int side, int optionA,
                               int optionB, int mostSentences, int firstCategory, int lastCategory,
                               int withGoals) {
  if (!board || (!line && count > 0)) return std::string();
  Board end = *board;
  std::vector<MoveRecord> played;
  // The side to move is the colour of the line's first mover; `side` is the
  // side whose gains are told (the annotator tells an exchange for the side
  // that lost less).
  const int firstMover = (count > 0 && OnBoard(line[0].from) && (*board)[line[0].from])
                             ? ((*board)[line[0].from] & COLOUR_MASK)
                             : side;
  const int toMove = PlayLine(&end, firstMover, line, count, &played);
  PositionSummary before, after;
  SummarizePosition(board, &before);
  SummarizePosition(&end, &after);
  LineEffect effect;
  CompareMaterial(board, &before, &after, played.data(), static_cast<int>(played.size()), side, firstMover,
                  &effect.change);
  const int legalAtEnd = CountLegalMoves(&end, toMove);
  if (!played.empty() && GetMateState(&end, legalAtEnd, toMove) == 2) {
    effect.mate = true;
    effect.matingSide = OtherSide(toMove);
    effect.mateMoveNumber = (static_cast<int>(played.size()) + 1) / 2;
  } else if (!played.empty() && GetMateState(&end, legalAtEnd, toMove) == 3) {
    effect.stalemate = true;
  }

  const int s = SideIndex(side), o = 1 - s;
  const int sColour = side, oColour = OtherSide(side);
  const MaterialChange& ch = effect.change;
  auto anyOf = [](const uint8_t c[6]) {
    for (int t = 0; t < 6; ++t)
      if (c[t]) return true;
    return false;
  };
  const int changeS = after.material[s] - before.material[s],
            changeO = after.material[o] - before.material[o];
  const bool anyLost = anyOf(ch.lost[s]) || anyOf(ch.lost[o]);
  const bool anyGained = anyOf(ch.gained[s]) || anyOf(ch.gained[o]);
  const int weaker = after.weakerSide;
  const bool stalemate = effect.stalemate;
  std::string group;

  std::vector<Category> moves = {
      {[&] { return !stalemate && effect.mate; },
       [&](bool) {
         return WriteCountSentence({effect.mateMoveNumber, effect.matingSide}, side, optionA);
       },
       0},
      {[&] { return !stalemate && after.insufficientMaterial; }, [&](bool) { return Msg(97, 0, 0); }, 0},
      {[&] { return !stalemate && (ch.trade || (changeS >= changeO && anyLost)); },
       [&](bool) {
         return WriteMaterialChange(ch.lost[s], ch.lost[o], 0, side, optionA == 2 ? 9 : 4,
                                    optionA == 2 ? 8 : 3);
       },
       99},
      {[&] { return !stalemate && changeS >= changeO && anyGained; },
       [&](bool) {
         std::string out;
         int gainedAll = 0;
         for (int t = 0; t < 6; ++t) gainedAll += ch.gained[s][t] + ch.gained[o][t];
         if (anyOf(ch.gained[s]))
           out = Msg(50, 10, optionA == 2 ? 100 : 100 + sColour, {WritePieceList(ch.gained[s], 10, 1)});
         if (anyOf(ch.gained[o])) {
           if (!out.empty()) out += " " + Msg(32, 0, 2) + " ";
           out += Msg(50, 10, 100 + oColour, {WritePieceList(ch.gained[o], 10, 1)});
         }
         return out + " " + Msg(35, gainedAll == 1 ? 1 : 0, 0);
       },
       99},
      {[&] {
         return !stalemate && !after.basicMate &&
                (after.activity[s] > before.activity[s] || after.activity[o] < before.activity[o]);
       },
       [&](bool last) {
         std::string out;
         const bool oFell = after.activity[o] < before.activity[o];
         if (after.activity[s] > before.activity[s])
           out = DegreePhrase(before.activity[s], after.activity[s], 1, sColour, optionA, 69, 70, 10, 25, 50,
                              last && !oFell);
         if (oFell) {
           if (!out.empty()) out += " " + Msg(32, 0, 3) + " ";
           out += DegreePhrase(before.activity[o], after.activity[o], 0, oColour, optionA, 69, 70, 10, 25, 50,
                               last);
         }
         return out;
       },
       99},
      {[&] {
         return !stalemate && after.pawnCount[s] > 0 &&
                (after.pawnScore[s] > before.pawnScore[s] || after.pawnScore[o] < before.pawnScore[o]);
       },
       [&](bool last) {
         std::string out, markup;
         const bool oFell = after.pawnScore[o] < before.pawnScore[o];
         if (after.pawnScore[s] > before.pawnScore[s]) {
           EmitClearCodes(1, &group);
           DescribePawnStructure(&end, sColour, 1, &markup);
           out = group + markup +
                 DegreePhrase(before.pawnScore[s], after.pawnScore[s], 1, sColour, optionA, 71, 72, 15, 50,
                              100, last && !oFell);
         }
         if (oFell) {
           if (!out.empty()) out += " " + Msg(32, 0, 3) + " ";
           EmitClearCodes(1, &group);
           DescribePawnStructure(&end, oColour, 1, &markup);
           out += group + markup +
                  DegreePhrase(before.pawnScore[o], after.pawnScore[o], 0, oColour, optionA, 71, 72, 15, 50,
                               100, last);
         }
         return out;
       },
       99},
      {[&] {
         return !stalemate && !after.basicMate &&
                (after.kingPressure[s] > before.kingPressure[s] ||
                 after.kingPressure[o] < before.kingPressure[o]);
       },
       [&](bool last) {
         std::string out;
         const bool oFell = after.kingPressure[o] < before.kingPressure[o];
         if (after.kingPressure[s] > before.kingPressure[s])
           out = KingPressurePhrase(before.kingPressure[s], after.kingPressure[s], 1, oColour, optionA,
                                    last && !oFell);
         if (oFell) {
           if (!out.empty()) out += " " + Msg(32, 0, 4) + " ";
           out +=
               KingPressurePhrase(before.kingPressure[o], after.kingPressure[o], 0, sColour, optionA, last);
         }
         return out;
       },
       99},
      {[&] {
         const int w = SideIndex(weaker);
         return !stalemate && after.basicMate && weaker != sColour &&
                after.kingCentrality[w] > before.kingCentrality[w];
       },
       [&](bool) { return Msg(74, weaker, 0); }, 99},
      {[&] {
         return !stalemate && after.basicMate && weaker == sColour &&
                after.kingCentrality[s] < before.kingCentrality[s];
       },
       [&](bool) { return Msg(74, optionA == 2 ? 0 : weaker, 1); }, 99},
      {[&] {
         return !stalemate && after.basicMate && weaker == sColour &&
                after.kingDistance > before.kingDistance;
       },
       [&](bool) { return Msg(75, 1, 0); }, 99},
      {[&] {
         return !stalemate && after.basicMate && weaker != sColour &&
                after.kingDistance < before.kingDistance;
       },
       [&](bool) { return Msg(75, 0, 0); }, 99},
  };

  std::string out;
  const int written = WriteCategories(moves, firstCategory, lastCategory, mostSentences, optionB, &out);
  if (!withGoals) return out;

  const int lostS = MaterialTotal(ch.lost[s]), lostO = MaterialTotal(ch.lost[o]);
  const int stronger = OtherSide(weaker);
  std::vector<Category> goals = {
      {[&] { return !stalemate && !effect.mate && after.basicMate; },
       [&](bool) { return Msg(86, (stronger == sColour && optionA == 2) ? 0 : stronger, 0); }, 0},
      {[&] { return !stalemate && !effect.mate && lostS >= 3 && lostS >= lostO + 3; },
       [&](bool) {
         std::string list = WritePieceList(ch.lost[s], 11, 1);
         if (anyOf(ch.lost[o])) list += " " + Msg(51, 8, 100, {WritePieceList(ch.lost[o], 12, 1)});
         std::string body = Msg(50, 11, 200, {list});
         return written ? Msg(34, 0, 0) + " " + body : body;
       },
       0},
      {[&] { return written == 0; }, [&](bool) { return Msg(87, 0, 0); }, 99},
  };
  std::string goalText;
  WriteCategories(goals, 0, 2, 99, optionB, &goalText);
  if (!goalText.empty() && written) out += " ";
  out += goalText;
  return out;
}
