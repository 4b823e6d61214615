// Data each user keeps on the lobby server: ratings, the list of stored
// games and the games themselves. Everything read back is validated; the
// session's list changes only after the server took the new one.
#include <cstdio>
#include <cstring>

#include "rating_change.h"
#include "session.h"

namespace {

const char kNetUserDataKey[] = "RWL_NETUSERDATA";
const char kNetGameListKey[] = "RWL_NETGAMELIST";

std::string GameKey(size_t slot) {
  char key[16];
  std::snprintf(key, sizeof key, "Game%02d", int(slot));
  return key;
}

int FindSlot(const LobbyGameList& list, const uint8_t guid[16]) {
  for (size_t i = 0; i < kGameListSlots; ++i)
    if (SlotIsUsed(list, i) && SlotHoldsGuid(list, i, guid)) return int(i);
  return -1;
}

}  // namespace

NetUserData OnlineSession::MakeDefaultNetUserData() {
  NetUserData d;
  std::string when = hooks.NowText();
  for (uint32_t c = 0; c < 3; ++c) {
    d.blocks[c].category = c;
    d.blocks[c].rating = d.blocks[c].highest = 1600;
    std::strncpy(d.blocks[c].highestWhen, when.c_str(), sizeof d.blocks[c].highestWhen - 1);
  }
  return d;
}

int OnlineSession::LoadNetUserData(NetUserData* out) {
  *out = MakeDefaultNetUserData();
  uint8_t buffer[kNetUserDataSize];
  size_t size = 0;
  int result = link.GetUserData(kNetUserDataKey, buffer, sizeof buffer, &size);
  if (result == kLobbyNoValue) {
    *out = MakeDefaultNetUserData();
    return SaveNetUserData(*out);
  }
  if (result != 0) return result;
  NetUserData read;
  if (size > sizeof buffer || !UnpackNetUserData(buffer, size, &read)) return -1;
  *out = read;
  return 0;
}

int OnlineSession::SaveNetUserData(const NetUserData& data) {
  uint8_t buffer[kNetUserDataSize];
  PackNetUserData(data, buffer);
  return link.PutUserData(kNetUserDataKey, buffer, sizeof buffer);
}

int OnlineSession::LoadNetGameList(LobbyGameList* out) {
  uint8_t buffer[kLobbyGameListSize];
  size_t size = 0;
  int result = link.GetUserData(kNetGameListKey, buffer, sizeof buffer, &size);
  if (result == kLobbyNoValue) {
    *out = LobbyGameList();
    return SaveNetGameList(*out);
  }
  if (result != 0) return result;
  LobbyGameList read;
  if (size > sizeof buffer || !UnpackLobbyGameList(buffer, size, &read)) return -1;
  *out = read;
  return 0;
}

int OnlineSession::SaveNetGameList(const LobbyGameList& list) {
  uint8_t buffer[kLobbyGameListSize];
  PackLobbyGameList(list, buffer);
  return link.PutUserData(kNetGameListKey, buffer, sizeof buffer);
}

int OnlineSession::PostNetGame(const OnlineGameSnapshot& g) {
  // A slot counts as used by its author text: a game without one would be
  // stored and never listed.
  if (g.game.author[0] == 0 || FindSlot(gameList, g.game.guid) >= 0) return -1;
  int free = -1;
  for (size_t i = 0; i < kGameListSlots && free < 0; ++i)
    if (!SlotIsUsed(gameList, i)) free = int(i);
  std::vector<uint8_t> bytes = PackOnlineGameSnapshot(g);
  if (free < 0 || bytes.empty()) return -1;
  int result = link.PutUserData(GameKey(free), bytes.data(), bytes.size());
  if (result != 0) return result;
  LobbyGameList list = gameList;
  std::memcpy(list.slots[free], bytes.data(), kGameListSlotSize);
  ++list.count;
  result = SaveNetGameList(list);
  if (result == 0) gameList = list;
  return result;
}

int OnlineSession::ReadNetGame(const uint8_t guid[16], OnlineGameSnapshot* out) {
  int slot = FindSlot(gameList, guid);
  if (slot < 0) return -1;
  std::vector<uint8_t> buffer(kStoredGameMaxSize);
  size_t size = 0;
  int result = link.GetUserData(GameKey(slot), buffer.data(), buffer.size(), &size);
  if (result != 0) return result;
  OnlineGameSnapshot read;
  if (size > buffer.size() || !UnpackOnlineGameSnapshot(buffer.data(), size, &read) ||
      SnapshotSize(read) != size)
    return -1;
  *out = read;
  return 0;
}

int OnlineSession::RemoveNetGame(const uint8_t guid[16]) {
  LobbyGameList list = gameList;
  int slot = FindSlot(list, guid);
  if (slot < 0) return -1;
  std::memset(list.slots[slot], 0, kGameListSlotSize);
  --list.count;
  int result = SaveNetGameList(list);
  if (result != 0) return result;
  gameList = list;
  return link.PutUserData(GameKey(slot), nullptr, 0);
}

bool OnlineSession::SaveRatingChange(uint32_t category, uint32_t newRating, uint32_t score,
                                     uint32_t opponentRating) {
  if (category > 2) return false;
  NetUserData changed = netUserData;
  CountRatedGame(&changed, category, newRating, score, game.ownWhite != 0, opponentRating, hooks.NowText());
  if (kind == 1 && SaveNetUserData(changed) != 0) {
    hooks.ShowModeless("Unable to save rating change to network database", 120);
    return false;
  }
  netUserData = changed;
  own.ratings[category].rating = newRating;
  if (own.ratings[category].games < 20) ++own.ratings[category].games;
  static const uint32_t masks[3] = {2, 4, 8};
  SendOwnUpdate(masks[category]);
  return true;
}
