// The rated-games block the online layer hands the profile window, and the
// profile texts built from rating blocks and results read from the same
// bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "player_profile_core.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LobbyGameList list;
  if (UnpackLobbyGameList(data, size, &list)) {
    HoldRatedGamesCount(&list);
    if (size >= kLobbyGameListSize + 16) RemoveRatedGameEntry(&list, data + kLobbyGameListSize);
  }
  if (size >= 3 * kRatingBlockSize) {
    RatingBlockData blocks[3];
    for (int i = 0; i < 3; ++i) blocks[i] = DecodeRatingBlock(data + i * kRatingBlockSize);
    RatedGamesPageText(blocks);
    RatedGameStatsRating(blocks[0].rating, blocks[1].rating);
    const size_t rest = size - 3 * kRatingBlockSize;
    const int count = static_cast<int>(rest / kPersonalityResultSize);
    OpponentLines(DecodePersonalityResults(data + 3 * kRatingBlockSize, count));
  }
  return 0;
}
