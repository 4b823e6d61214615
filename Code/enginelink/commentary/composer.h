// The move commentary composer: one plain-language comment per move of an
// analysed stretch of a game, judged by the loss against the engine's
// choice, and a closing summary with a statistics table for both sides.
//
// Interface: MoveAnalysis, AnnotationStats, AnnotateGame.
#pragma once

#include <cstdint>
#include <string>

#include "board.h"
#include "book_query.h"
#include "cancel_poll.h"
#include "moverecord.h"

constexpr int kAnalysisLineMax = 50;

struct MoveAnalysis {
  int16_t score;  // before the move, from the mover's view
  MoveRecord line[kAnalysisLineMax];
  int16_t lineLength;  // 0 or less: not analysed (a book move has -1)
  int32_t scoreBefore;
  int32_t scoreAfter;
  int32_t loss;
};

struct AnnotationStats {
  int32_t missedMates;
  int32_t matesWalkedInto;
  int32_t goodMoves;
  int32_t badMoves;
  int32_t goodPercentage;
  int32_t totalLoss;
  int32_t totalRecordedLoss;
  int32_t unanalysedMoves;
  int32_t bookExits;
  int32_t mistakes;
  int32_t worstMove;
  int32_t worstLoss;
  int32_t story;
};

// (move number in the game, comment, context); the summary comes with -1.
using AnnotationCallback = int (*)(int moveNumber, const std::string& text, void* context);
// The position as diagram text, appended at the last move, the first book
// exit and each side's worst move; none writes no diagram.
using DiagramWriter = std::string (*)(const Board* board);

struct AnnotateGameArgs {
  const Board* board = nullptr;  // position before moves[0]
  int side = WHITE;
  const MoveRecord* moves = nullptr;
  int count = 0;
  int firstMoveNumber = 0;  // the game's number of moves[0]
  // count + 1 records: the one after the last move tells its score after.
  MoveAnalysis* analysis = nullptr;
  AnnotationCallback comment = nullptr;
  int style = 0;
  int summaryNumber = 0;
  int winner = -1;  // 16 white, 32 black, 0 drawn, -1 no result
  int bookChecking = 0;
  CommentaryCancel cancel = nullptr;
  void* context = nullptr;
  OpeningBookQuery* book = nullptr;
  DiagramWriter diagram = nullptr;
  AnnotationStats* stats = nullptr;  // optional: [0] black, [1] white
};

int AnnotateGame(const AnnotateGameArgs& args);
