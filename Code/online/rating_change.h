// The rating step at the end of a rated online game and the texts that name
// a side. ComputeNewRating itself belongs to the game room; it is passed in.
#pragma once

#include <cstdint>
#include <string>

#include "wire.h"

// Game results of online games.
enum OnlineGameResult : uint32_t {
  RESULT_DRAW = 9,
  RESULT_WHITE_RESIGNED = 10,
  RESULT_BLACK_RESIGNED = 11,
  RESULT_WHITE_LOST_ON_TIME = 12,
  RESULT_BLACK_LOST_ON_TIME = 13,
  RESULT_ADJOURNED = 15,
  RESULT_ABORTED = 16,
  RESULT_PLAYER_LEFT = 17,
};

// False for no result and for games that were not played out: adjourned,
// aborted, or ended because a player left.
bool ResultChangesRating(uint32_t result);

// Counts one game in the category's block: score 1 won, 0 lost, 2 drawn.
void CountRatedGame(NetUserData* data, uint32_t category, uint32_t newRating, uint32_t score, bool ownWhite,
                    uint32_t opponentRating, const std::string& now);

// "White's time has expired" / "Black's time has expired" for side 16 / 32.
const char* TimeExpiredText(uint32_t side);
extern const char kIllegalMoveText[];
