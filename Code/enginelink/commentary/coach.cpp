#include "coach.h"

#include "annotator.h"
#include "markup.h"
#include "move_words.h"
#include "notation.h"
#include "sentences.h"

std::string ListPieceNames(const Board* board, int count, const uint8_t* squares) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    const uint8_t p = OnBoard(squares[i]) ? (*board)[squares[i]] : 0;
    out += CountPhrase(i + 1, count, 0, 1) + Msg(18, p & TYPE_MASK, 1);
  }
  return out;
}

std::string PhraseCoachMove(const Board* board, int side, const MoveRecord* move, const MoveFeatures* f) {
  (void)side;
  SelectCommentaryTable();
  // Pieces are named where they stand after the move.
  Board after = *board;
  MoveRecord m = *move;
  MakeMove(&m, &after);
  auto names = [&](const uint8_t* squares, int count) { return ListPieceNames(&after, count, squares); };
  if (f->givesMate) return Msg(152, 0, 0);
  if (f->givesStalemate) return Msg(153, 0, 0);
  if (f->threatensMate) return Msg(154, 0, 0);
  if (f->threatTargetCount >= 2)
    return Msg(177, f->threatTargetCount, 1, {names(f->threatTargets, f->threatTargetCount)});
  if (f->newLesserShields.count)
    return Msg(163, 0, 0, {names(f->newLesserShields.squares, f->newLesserShields.count)});
  if (move->flags & MOVE_CHECK) return Msg(f->counterCheck ? 157 : f->discoveredCheck ? 156 : 155, 0, 0);
  if (f->trapped.count) return Msg(165, 0, 0, {names(f->trapped.squares, f->trapped.count)});
  if (f->newPins.count) return Msg(161, 0, 0, {names(f->newPins.squares, f->newPins.count)});
  if (f->newPinsWithFreeMove.count)
    return Msg(162, 0, 0, {names(f->newPinsWithFreeMove.squares, f->newPinsWithFreeMove.count)});
  if (f->threatTargetCount == 1)
    return Msg(177, 1, f->threatAttackers[0]) + " " + Msg(18, after[f->threatTargets[0]] & TYPE_MASK, 1);
  if (f->ownPinsReleased.count)
    return Msg(164, 0, 0, {names(f->ownPinsReleased.squares, f->ownPinsReleased.count)});
  if (f->rescued.count) return Msg(160, 0, 0, {names(f->rescued.squares, f->rescued.count)});
  if (f->movedToDefended) return Msg(158, 0, 0);
  if (f->movedToSafety) return Msg(159, (*board)[move->from] & TYPE_MASK, 0);
  if (f->promotionThreat != NO_SQUARE) return Msg(168, 0, 0);
  if (f->newPassed.count) return Msg(167, f->newPassed.count > 1 ? 1 : 0, 0);
  if (f->enemyNewlyIsolated.count) return Msg(173, f->enemyNewlyIsolated.count > 1 ? 1 : 0, 0);
  if (f->promotionStopped != NO_SQUARE) return Msg(169, 0, 0);
  if (f->takesOpenFile) return Msg(170, 0, 0);
  if (f->blockadedPawn != NO_SQUARE) return Msg(166, 0, 0);
  if (f->rookBehindPassedPawn != NO_SQUARE) return Msg(174, 0, 0);
  if (f->ownShortCastlingWon || f->ownLongCastlingWon) return Msg(171, 0, 0);
  if (f->enemyShortCastlingLost || f->enemyLongCastlingLost) return Msg(172, 0, 0);
  if (f->fianchetto) return Msg(175, 0, 0);
  if (move->flags & MOVE_EN_PASSANT) return Msg(176, 0, 0);
  return std::string();
}

void CoachSession::AnalyzeCoachPosition(const Board* board, int side) {
  board_ = *board;
  side_ = side;
  legal_ = LegalMovesOf(board, side);
  BuildFullAnalysisMap(&board_, side, &map_);
}

void CoachSession::SetCoachLine(const Board* start, int side, const MoveRecord* moves, int count) {
  lineStart_ = *start;
  lineSide_ = side;
  line_.assign(moves, moves + (count > 0 ? count : 0));
}

std::string CoachSession::DescribeCoachMove(int ply, MoveRecord* moves, int index, int useBook, int style,
                                            OpeningBookQuery* book) {
  if (reset_) {
    FreeCoachTexts();
    reset_ = false;
  }
  const bool cacheable = ply >= 0 && ply < kCoachCachePlies;
  if (cacheable && cache_[ply]) return *cache_[ply];
  if (ply < 0 || ply >= static_cast<int>(line_.size()) || !moves || index < 0) return std::string();
  // The position before the ply.
  Board b = lineStart_;
  std::vector<MoveRecord> played;
  int side = PlayLine(&b, lineSide_, line_.data(), ply, &played);
  if (static_cast<int>(played.size()) != ply) return std::string();
  std::vector<MoveRecord> legal = LegalMovesOf(&b, side);
  int k = FindMoveInList(&line_[ply], legal.data(), static_cast<int>(legal.size()));
  if (k < 0 || k >= static_cast<int>(legal.size())) return std::string();
  moves[index] = legal[k];

  SelectCommentaryTable();
  std::string text;
  if (useBook && book) {
    BookSlotZero slot(book);
    std::vector<MoveRecord> upTo(line_.begin(), line_.begin() + ply + 1);
    BookPositionText entry;
    if (book->LookupBookPosition(upTo.data(), static_cast<int>(upTo.size()), &entry)) {
      if (entry.shortText.empty())
        text = Msg(132, 0, 0);
      else
        text = entry.label.empty() ? entry.shortText : entry.label + " " + entry.shortText;
    }
  }
  if (text.empty()) {
    SquareAnalysisMap before, after;
    BuildFullAnalysisMap(&b, side, &before);
    MoveFeatures f = EmptyMoveFeatures();
    AnalyzeMoveFeatures(&b, &legal[k], &before, &after, &f);
    text = PhraseCoachMove(&b, side, &legal[k], &f);
  }
  char notation[kNotationTextSize];
  const NotationOptions options = DefaultNotationOptions(style);
  MoveToText(&b, legal.data(), static_cast<int>(legal.size()), k, style, &options, notation);
  std::string out = std::string(notation) + "\t" + text;
  StripMarkupCodes(&out);
  if (cacheable) cache_[ply].reset(new std::string(out));
  return out;
}

int CoachSession::FindMoveByCoordinates(const std::string& text) const {
  if (text.size() < 4) return -1;
  auto square = [](char f, char r) {
    if (f < 'a' || f > 'h' || r < '1' || r > '8') return -1;
    return ('8' - r) * 16 + (f - 'a');
  };
  const int from = square(text[0], text[1]), to = square(text[2], text[3]);
  if (from < 0 || to < 0) return -1;
  int promotion = 0;  // -1: matches no promotion
  const char fifth = text.size() > 4 ? text[4] : '\0';
  switch (fifth) {
    case '\0':
    case '\t':
    case ' ':
    case 'Q':
    case 'q':
      promotion = QUEEN;
      break;
    case 'R':
    case 'r':
      promotion = ROOK;
      break;
    case 'B':
    case 'b':
      promotion = BISHOP;
      break;
    case 'N':
    case 'n':
      promotion = KNIGHT;
      break;
    default:
      promotion = -1;
      break;
  }
  for (size_t i = 0; i < legal_.size(); ++i) {
    const MoveRecord& m = legal_[i];
    if (m.from != from || m.to != to) continue;
    if (!(m.flags & MOVE_PROMOTION)) return static_cast<int>(i);
    if (promotion > 0 && (m.flags & MOVE_PROMOTION_TYPE) == promotion) return static_cast<int>(i);
  }
  return -1;
}

void CoachSession::FreeCoachTexts() {
  for (auto& text : cache_) text.reset();
}
