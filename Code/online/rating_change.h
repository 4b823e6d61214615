// The rating step at the end of a rated online game and the texts that name
// a side. ComputeNewRating itself belongs to the game room; it is passed in.
#pragma once

#include <cstdint>
#include <string>

#include "game_end.h"
#include "wire.h"

// Online names of the game results the rules define.
constexpr uint32_t RESULT_DRAW = RESULT_AGREED;
constexpr uint32_t RESULT_WHITE_LOST_ON_TIME = RESULT_WHITE_TIME;
constexpr uint32_t RESULT_BLACK_LOST_ON_TIME = RESULT_BLACK_TIME;
constexpr uint32_t RESULT_PLAYER_LEFT = RESULT_DISCONNECTED;

// False for no result and for games that were not played out: adjourned,
// aborted, or ended because a player left.
bool ResultChangesRating(uint32_t result);

// Counts one game in the category's block: score 1 won, 0 lost, 2 drawn.
void CountRatedGame(NetUserData* data, uint32_t category, uint32_t newRating, uint32_t score, bool ownWhite,
                    uint32_t opponentRating, const std::string& now);

// "White's time has expired" / "Black's time has expired" for side 16 / 32.
const char* TimeExpiredText(uint32_t side);
extern const char kIllegalMoveText[];
