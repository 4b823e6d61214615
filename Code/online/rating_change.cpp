#include "rating_change.h"

#include <cstring>

const char kIllegalMoveText[] = "Illegal move received";

bool ResultChangesRating(uint32_t result) {
  return result != 0 && result != 14 && result != RESULT_ADJOURNED && result != RESULT_ABORTED &&
         result != RESULT_PLAYER_LEFT;
}

void CountRatedGame(NetUserData* data, uint32_t category, uint32_t newRating, uint32_t score, bool ownWhite,
                    uint32_t opponentRating, const std::string& now) {
  if (category > 2) return;
  NetRatingBlock& b = data->blocks[category];
  uint32_t& counter = score == 1   ? (ownWhite ? b.wonWhite : b.wonBlack)
                      : score == 0 ? (ownWhite ? b.lostWhite : b.lostBlack)
                                   : (ownWhite ? b.drawnWhite : b.drawnBlack);
  ++counter;
  b.rating = newRating;
  if (newRating > b.highest) {
    b.highest = newRating;
    std::memset(b.highestWhen, 0, sizeof b.highestWhen);
    std::strncpy(b.highestWhen, now.c_str(), sizeof b.highestWhen - 1);
  }
  uint64_t games =
      uint64_t(b.wonWhite) + b.wonBlack + b.lostWhite + b.lostBlack + b.drawnWhite + b.drawnBlack;
  b.averageOpponent = uint32_t((uint64_t(b.averageOpponent) * (games - 1) + opponentRating) / games);
}

const char* TimeExpiredText(uint32_t side) {
  return side == 32 ? "Black's time has expired" : "White's time has expired";
}
