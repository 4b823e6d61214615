#include "composer.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "line_effects.h"
#include "markup.h"
#include "material_text.h"
#include "move_words.h"
#include "movegen.h"
#include "notation.h"
#include "position_summary.h"
#include "sentences.h"
#include "tactics_text.h"

namespace {

bool IsMate(int score) { return score > 9000; }
bool IsMated(int score) { return score < -9000; }

std::string Hundredths(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", std::abs(value % 100));
  return text;
}

struct Composer {
  const AnnotateGameArgs& a;
  AnnotatorThresholds t = {};
  std::vector<Board> boards;       // boards[i]: position before moves[i]; boards[count]: the end
  std::vector<MoveRecord> played;  // moves with full flags and undo bytes
  AnnotationStats stats[2] = {};
  bool announced = false;
  int resultCode = 1;
  int firstExit = -1;

  explicit Composer(const AnnotateGameArgs& args) : a(args) {}

  int SideAt(int i) const { return (i % 2 == 0) ? a.side : OtherSide(a.side); }
  const MoveAnalysis& An(int i) const { return a.analysis[i]; }
  bool HasNext(int i) const { return i + 1 < a.count; }
  bool NextHasLine(int i) const { return An(i + 1).lineLength >= 1; }

  std::string Notation(const Board& b, const MoveRecord& m, int side) const {
    char text[kNotationTextSize];
    MoveToNotation(&b, &m, side, a.style, text);
    return text;
  }

  // The engine's first move with its full flags (and undo bytes once made).
  MoveRecord EngineMove(int i) const {
    std::vector<MoveRecord> legal = LegalMovesOf(&boards[i], SideAt(i));
    int k = FindMoveInList(&An(i).line[0], legal.data(), static_cast<int>(legal.size()));
    MoveRecord m = (k >= 0 && k < static_cast<int>(legal.size())) ? legal[k] : An(i).line[0];
    Board copy = boards[i];
    MakeMove(&m, &copy);
    return m;
  }

  std::string NameEngineMove(int i, const MoveRecord& engine) const {
    return MarkupPlayMove(&engine, SideAt(i)) + MoveInWords(&boards[i], SideAt(i), &engine, 1, 1) + " (" +
           Notation(boards[i], engine, SideAt(i)) + ")";
  }

  // A line shown on the board and taken back again.
  std::string ShowLine(const Board& from, int side, const MoveRecord* line, int count) const {
    if (count <= 0) return std::string();
    std::string text = DescribeLine(&from, line, count, 0, 1, side, a.style, 0, 1);
    return text + WriteLineTakeback(&from, line, count, 0);
  }

  std::string MissedMateInOne(int i, int s) const {
    const MoveRecord engine = EngineMove(i);
    std::string text = Msg(79, s, 0) + MarkupUndoMove(&played[i], s) + " " + Msg(151, 1, 0) + " " +
                       NameEngineMove(i, engine) + " " + Msg(33, 0, 0) + " " + Msg(39, OtherSide(s), 22);
    return text + MarkupUndoMove(&engine, s) + MarkupPlayMove(&played[i], s);
  }

  void FirstPass() {
    for (int i = 0; i < a.count; ++i) {
      MoveAnalysis& r = a.analysis[i];
      r.scoreBefore = r.score;
      r.scoreAfter = r.score;
      r.loss = 0;
      if (r.lineLength < 1) continue;
      if (NextHasLine(i)) r.scoreAfter = -An(i + 1).score;
      bool equal = SameMove(&a.moves[i], &r.line[0]) || (IsMate(r.scoreBefore) && IsMate(r.scoreAfter)) ||
                   (IsMated(r.scoreBefore) && IsMated(r.scoreAfter));
      if (!equal && !(r.scoreAfter >= 450 || r.score <= -450)) r.loss = r.score - r.scoreAfter;
      if (r.loss >= t.better) ++stats[SideIndex(SideAt(i))].mistakes;
    }
    if (a.winner == WHITE || a.winner == BLACK) {
      const Board& end = boards[a.count];
      const int toMove = SideAt(a.count);
      const bool mate = GetMateState(&end, CountLegalMoves(&end, toMove), toMove) == 2;
      resultCode = a.winner == WHITE ? (mate ? 3 : 2) : (mate ? 5 : 4);
    } else {
      resultCode = a.winner == 0 ? 0 : 1;
    }
  }

  void WorstMoves() {
    for (AnnotationStats& s : stats) {
      s.worstMove = -1;
      s.worstLoss = 0;
    }
    for (int i = 0; i < a.count; ++i) {
      AnnotationStats& s = stats[SideIndex(SideAt(i))];
      if (An(i).lineLength >= 1 && An(i).loss > s.worstLoss) {
        s.worstLoss = An(i).loss;
        s.worstMove = i;
      }
    }
  }

  // Whether the side's fortunes turned back after move j (see the stories).
  bool LaterRecovers(int j, int ownLimit, int otherLimit) const {
    const int s = SideAt(j);
    for (int i = j + 1; i < a.count; ++i) {
      if (An(i).lineLength < 1) continue;
      if (SideAt(i) == s ? An(i).scoreAfter > ownLimit : An(i).scoreAfter < otherLimit) return true;
    }
    return false;
  }

  void Stories() {
    for (AnnotationStats& s : stats) {
      s.story = 0;
      if (s.mistakes < 1 || s.worstMove < 0) continue;
      const int j = s.worstMove, before = An(j).scoreBefore, after = An(j).scoreAfter;
      auto inside = [](int v) { return v > -450 && v < 450; };
      if (before >= 9001)
        s.story = 3;
      else if (after < -9000)
        s.story = LaterRecovers(j, -9000, 9000) ? 2 : 1;
      else if (before > 450 && inside(after))
        s.story = 6;
      else if ((before > 450 && after > 450) || (before < -450 && after < -450) ||
               (inside(before) && inside(after)))
        s.story = 7;
      else if (after < -450 && before > -450)
        s.story = LaterRecovers(j, -450, 450) ? 5 : 4;
    }
  }

  std::string Comment(int i) {
    const int s = SideAt(i), si = SideIndex(s);
    AnnotationStats& st = stats[si];
    const MoveAnalysis& r = An(i);
    const Board& b = boards[i];
    const MoveRecord& move = played[i];
    std::string c, group;
    ResetMarkupDirty();
    if (r.lineLength >= 1) {
      c = CapitalizeFirst(MoveInWords(&b, s, &move, 1, 1)) + ".";
      if (a.bookChecking && a.firstMoveNumber == 0 && (i == 0 || An(i - 1).lineLength <= 0)) {
        ++st.bookExits;
        if (firstExit < 0) firstExit = i;
        c += " " + Msg(139, 0, 0);
        if (a.book) {
          BookSlotZero slot(a.book);
          MoveRecord bookMove;
          if (a.book->PickBookMove(a.moves, i, &bookMove)) {
            std::vector<MoveRecord> legal = LegalMovesOf(&b, s);
            int k = FindMoveInList(&bookMove, legal.data(), static_cast<int>(legal.size()));
            if (k >= 0 && k < static_cast<int>(legal.size())) {
              std::vector<MoveRecord> line(a.moves, a.moves + i);
              line.push_back(legal[k]);
              BookPositionText entry;
              a.book->LookupBookPosition(line.data(), static_cast<int>(line.size()), &entry);
              c += " " + Notation(b, legal[k], s) + " " + Msg(143, 0, 0, {entry.shortText});
            }
          }
        }
      }
      const int nextScore = NextHasLine(i) ? An(i + 1).score : 0;
      const int diff = r.score + nextScore;
      const bool bothMate = NextHasLine(i) && ((IsMate(r.score) && IsMated(nextScore)) ||
                                               (IsMated(r.score) && IsMate(nextScore)));
      const bool engineMove = SameMove(&a.moves[i], &r.line[0]);
      const bool equal = engineMove || (IsMate(r.scoreBefore) && IsMate(r.scoreAfter)) ||
                         (IsMated(r.scoreBefore) && IsMated(r.scoreAfter));
      const bool good = equal || !NextHasLine(i) || bothMate || diff <= t.slightly;
      const int severity = diff > t.much ? 2 : diff > t.better ? 1 : 0;
      if (good) {
        ++st.goodMoves;
        if (r.score >= 9000 && r.lineLength > 1) {
          int n = -1;
          if (engineMove)
            n = (r.lineLength - 1) / 2;
          else if (HasNext(i))
            n = An(i + 1).lineLength / 2;
          if (n >= 0) {
            c += " " + CapitalizeFirst(Msg(78, s, announced ? n + 100 : n, {std::to_string(n)}));
            announced = true;
          }
        }
        int one = 1;
        std::string tactics = DescribeMoveTactics(&b, &move, &one, 3, 0, 0, a.style);
        if (!StripMarkupGroups(tactics).empty())
          c += " " + CapitalizeFirst(tactics);
        else
          c += tactics;
        const bool endsExchange = IsCaptureOrPromotionAt(a.moves, i, a.count) &&
                                  !IsCaptureOrPromotionAt(a.moves, i + 1, a.count) &&
                                  !IsCaptureOrPromotionAt(a.moves, i + 2, a.count);
        if (r.score < 9000 && endsExchange) {
          int e = i;
          while (e > 0 && (IsCaptureOrPromotionAt(a.moves, e - 1, a.count) ||
                           IsCaptureOrPromotionAt(a.moves, e - 2, a.count)))
            --e;
          PositionSummary before, after;
          SummarizePosition(&boards[e], &before);
          SummarizePosition(&boards[i + 1], &after);
          const int lostWhite = before.material[1] - after.material[1];
          const int lostBlack = before.material[0] - after.material[0];
          int lesser = s;
          if (lostWhite < lostBlack) lesser = WHITE;
          if (lostBlack < lostWhite) lesser = BLACK;
          std::string effects =
              ExplainLineEffects(&boards[e], &a.moves[e], i - e + 1, lesser, 3, 0, 2, 2, 3, 0);
          if (!effects.empty()) c += " " + effects;
          c += DescribeMaterialBalance(&boards[i + 1]);
        } else if (r.score >= 9000) {
          if (r.lineLength == 1 && !engineMove && HasNext(i)) {
            c += " " + MissedMateInOne(i, s);
          } else if (engineMove) {
            EmitVoiceDelay(250, &group);
            c += group + " " + Msg(134, 0, 0) + " " + ShowLine(b, s, r.line, r.lineLength) + Msg(135, 0, 0);
          } else if (HasNext(i) && NextHasLine(i)) {
            std::vector<MoveRecord> line(1, a.moves[i]);
            line.insert(line.end(), An(i + 1).line, An(i + 1).line + An(i + 1).lineLength);
            c += " " + Msg(134, 0, 0) + " " + ShowLine(b, s, line.data(), static_cast<int>(line.size())) +
                 Msg(135, 0, 0);
          }
        }
      } else if (r.score < 9001) {
        ++st.badMoves;
        const MoveRecord engine = EngineMove(i);
        if (r.scoreAfter < -9000 && HasNext(i)) {
          ++st.matesWalkedInto;
          c += " " + Msg(81, s, 0) + MarkupUndoMove(&move, s) + " " + Msg(151, severity, 0) + " " +
               NameEngineMove(i, engine) + MarkupUndoMove(&engine, s) + MarkupPlayMove(&move, s) + ". " +
               Msg(134, 0, 0) + " " +
               ShowLine(boards[i + 1], OtherSide(s), An(i + 1).line, An(i + 1).lineLength) + Msg(135, 0, 0);
        } else if (severity == 0) {
          c += " " + Msg(151, 0, 0) + " " + MarkupUndoMove(&move, s) + MarkupPlayMove(&engine, s) +
               Notation(b, engine, s) + MarkupUndoMove(&engine, s) + MarkupPlayMove(&move, s) + ".";
        } else {
          st.totalLoss += r.score - r.scoreAfter;
          st.totalRecordedLoss += r.loss;
          if (severity == 2) c += " " + Msg(85, s, 0);
          std::string fault = DescribeMoveFault(&b, &move);
          if (!fault.empty()) c += " " + CapitalizeFirst(fault);
          std::vector<MoveRecord> refutation(1, a.moves[i]);
          if (HasNext(i) && NextHasLine(i)) {
            refutation.insert(refutation.end(), An(i + 1).line, An(i + 1).line + An(i + 1).lineLength);
            EmitVoiceDelay(250, &group);
            c += group + " " + Msg(134, 0, 0) + " " +
                 ShowLine(b, s, refutation.data(), static_cast<int>(refutation.size())) + Msg(135, 0, 0);
            const int rn = static_cast<int>(refutation.size());
            if (!LineHasPromotion(refutation.data(), rn) && !LineHasPromotion(r.line, r.lineLength) &&
                (LineHasCapture(refutation.data(), rn) || LineHasCapture(r.line, r.lineLength)))
              c += " " + CapitalizeFirst(DescribeMaterialChange(&b, s, refutation.data(), rn)) + ".";
          }
          c += " " + Msg(151, severity, 0) + " " + MarkupUndoMove(&move, s) + NameEngineMove(i, engine);
          if (r.lineLength > 1) {
            c += ". " + Msg(136, 0, 0) + " " + Msg(137, 0, 0) + " " + ShowLine(b, s, r.line, r.lineLength);
            const int rn = static_cast<int>(refutation.size());
            if (LineHasPromotion(refutation.data(), rn) || LineHasPromotion(r.line, r.lineLength))
              c += DescribePromotionGain(&b, s, r.line, r.lineLength, refutation.data(), rn);
            else if (LineHasCapture(refutation.data(), rn) || LineHasCapture(r.line, r.lineLength))
              c += ". " + CapitalizeFirst(DescribeMaterialChange(&b, s, r.line, r.lineLength));
          }
          c += MarkupUndoMove(&engine, s) + MarkupPlayMove(&move, s) + ".";
        }
      } else {
        ++st.badMoves;
        ++st.missedMates;
        if (r.lineLength == 1) {
          c += " " + MissedMateInOne(i, s);
        } else {
          const MoveRecord engine = EngineMove(i);
          c += " " + Msg(80, s, 0) + MarkupUndoMove(&move, s) + " " + Msg(151, severity, 0) + " " +
               NameEngineMove(i, engine) + MarkupUndoMove(&engine, s) + ". " + Msg(136, 0, 0) + " " +
               Msg(137, 0, 0) + " " + ShowLine(b, s, r.line, r.lineLength) + Msg(135, 0, 0) +
               MarkupPlayMove(&move, s);
        }
      }
    } else {
      ++st.unanalysedMoves;
      if (a.book) {
        BookSlotZero slot(a.book);
        BookPositionText entry;
        if (a.book->LookupBookPosition(a.moves, i + 1, &entry) && !entry.shortText.empty()) {
          std::string bookText = entry.label.empty() ? entry.shortText : entry.label + " " + entry.shortText;
          bookText += " " + Msg(8, 0, 0) + ".";
          c = c.empty() ? bookText : bookText + " " + c;
        }
      }
      if (c.empty()) c = Msg(132, 0, 0);
      c = CapitalizeFirst(MoveInWords(&b, s, &move, 1, 1)) + ". " + c;
    }
    if (i == st.worstMove && st.mistakes > 0)
      c += " " + Msg(83, st.mistakes == 1 ? s + 1 : s, resultCode + 10 * st.story);
    if (i == a.count - 1) c += " " + Msg(82, resultCode, 0);
    if (a.diagram && (i == a.count - 1 || i == firstExit || i == st.worstMove))
      c += "\r\n" + a.diagram(&boards[i + 1]);
    return c;
  }

  std::string Summary() {
    for (AnnotationStats& s : stats) {
      const int sum = s.goodMoves + s.badMoves;
      s.goodPercentage = (s.goodMoves * 1000 / std::max(sum < 2 ? 1 : sum, 1) + 5) / 10;
    }
    const AnnotationStats &w = stats[1], &k = stats[0];
    std::string text = Msg(150, a.summaryNumber == 1 ? 1 : 0, 0, {std::to_string(a.summaryNumber)});
    text += "\r\n" + Msg(184, 99, 0);
    const int32_t rows[9][2] = {{w.unanalysedMoves, k.unanalysedMoves},
                                {w.bookExits, k.bookExits},
                                {w.goodMoves, k.goodMoves},
                                {w.badMoves, k.badMoves},
                                {w.goodPercentage, k.goodPercentage},
                                {w.totalLoss, k.totalLoss},
                                {w.totalRecordedLoss, k.totalRecordedLoss},
                                {w.missedMates, k.missedMates},
                                {w.matesWalkedInto, k.matesWalkedInto}};
    for (int row = 0; row < 9; ++row) {
      text += "\r\n";
      if (row == 5 || row == 6) {
        text += Msg(184, row, 0,
                    {std::to_string(rows[row][0] / 100), Hundredths(rows[row][0]),
                     std::to_string(rows[row][1] / 100), Hundredths(rows[row][1])});
      } else {
        text += Msg(184, row, 0, {std::to_string(rows[row][0]), std::to_string(rows[row][1])});
      }
    }
    return text;
  }
};

}  // namespace

int AnnotateGame(const AnnotateGameArgs& args) {
  if (!args.board || !args.moves || !args.analysis || !args.comment || args.count <= 0) return 0;
  SelectCommentaryTable();
  CancelPollScope cancel(args.cancel, args.context);
  Composer c(args);
  c.t = GetAnnotatorThresholds();
  // Replay the stretch once; a move that is not legal ends it there.
  c.boards.push_back(*args.board);
  Board b = *args.board;
  int count = 0;
  for (int i = 0; i < args.count; ++i) {
    std::vector<MoveRecord> legal = LegalMovesOf(&b, c.SideAt(i));
    int k = FindMoveInList(&args.moves[i], legal.data(), static_cast<int>(legal.size()));
    if (k < 0 || k >= static_cast<int>(legal.size())) break;
    MoveRecord m = legal[k];
    MakeMove(&m, &b);
    c.played.push_back(m);
    c.boards.push_back(b);
    ++count;
  }
  AnnotateGameArgs local = args;
  local.count = count;
  Composer composer(local);
  composer.t = c.t;
  composer.boards = std::move(c.boards);
  composer.played = std::move(c.played);
  composer.FirstPass();
  composer.WorstMoves();
  composer.Stories();
  int result = 0;
  for (int i = 0; i < count; ++i) {
    std::string comment = composer.Comment(i);
    result = args.comment(args.firstMoveNumber + i, comment, args.context);
    if (PollCommentaryCancel()) {
      result = args.comment(args.firstMoveNumber + i + 1, Msg(141, 0, 0), args.context);
      break;
    }
  }
  result = args.comment(-1, composer.Summary(), args.context);
  if (args.stats) {
    args.stats[0] = composer.stats[0];
    args.stats[1] = composer.stats[1];
  }
  return result;
}
