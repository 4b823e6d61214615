// Fuzzes the readers of records read back from the lobby server: the rating
// record, the game list and a stored game, each over the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "wire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  NetUserData user;
  if (UnpackNetUserData(data, size, &user)) {
    for (const NetRatingBlock& b : user.blocks)
      if (!std::memchr(b.highestWhen, 0, sizeof b.highestWhen)) __builtin_trap();
  }
  LobbyGameList list;
  if (UnpackLobbyGameList(data, size, &list) && list.count > kGameListSlots) __builtin_trap();
  OnlineGameSnapshot game;
  if (UnpackOnlineGameSnapshot(data, size, &game)) {
    if (game.moves.size() > kMaxOnlineMoves || SnapshotSize(game) > size) __builtin_trap();
    if (PackOnlineGameSnapshot(game).size() != SnapshotSize(game)) __builtin_trap();
  }
  return 0;
}
