// The coach's entries: one analysed position, moves of a lesson line
// described one ply at a time with a text cache, moves typed as coordinates.
//
// Interface: CoachSession (AnalyzeCoachPosition, SetCoachLine,
// DescribeCoachMove, FindMoveByCoordinates, FreeCoachTexts,
// RequestCoachReset), ListPieceNames, PhraseCoachMove.
//
// A CoachSession belongs to its owner (a coach screen); nothing is shared
// between sessions.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "board.h"
#include "book_query.h"
#include "moverecord.h"
#include "tactical_map.h"

constexpr int kCoachCachePlies = 380;

std::string ListPieceNames(const Board* board, int count, const uint8_t* squares);
std::string PhraseCoachMove(const Board* board, int side, const MoveRecord* move,
                            const MoveFeatures* features);

class CoachSession {
 public:
  void AnalyzeCoachPosition(const Board* board, int side);
  // The lesson line whose plies DescribeCoachMove tells, played from `start`.
  void SetCoachLine(const Board* start, int side, const MoveRecord* moves, int count);
  // Copies the line's move for `ply` into moves[index] and returns the move
  // in the notation style, a tab and what it does (markup removed). Plies
  // beyond the cache are described every time and not kept.
  std::string DescribeCoachMove(int ply, MoveRecord* moves, int index, int useBook, int style,
                                OpeningBookQuery* book = nullptr);
  int FindMoveByCoordinates(const std::string& text) const;
  void FreeCoachTexts();
  // Makes the next DescribeCoachMove forget every cached text.
  void RequestCoachReset() { reset_ = true; }

  const Board& position() const { return board_; }
  int side() const { return side_; }
  const std::vector<MoveRecord>& legalMoves() const { return legal_; }
  const SquareAnalysisMap& map() const { return map_; }

 private:
  Board board_{};
  int side_ = WHITE;
  std::vector<MoveRecord> legal_;
  SquareAnalysisMap map_{};
  Board lineStart_{};
  int lineSide_ = WHITE;
  std::vector<MoveRecord> line_;
  std::array<std::unique_ptr<std::string>, kCoachCachePlies> cache_;
  bool reset_ = false;
};
