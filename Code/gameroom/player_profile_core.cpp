#include "player_profile_core.h"

#include <cstdio>
#include <cstring>

namespace {

std::string Line(const char* format, int a, int b, int c) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

}  // namespace

std::string RatedGamesPageText(const RatingBlockData blocks[3]) {
  const RatingBlockData &b0 = blocks[0], &b1 = blocks[1], &b2 = blocks[2];
  std::string text = "\t     BULLET\t       BLITZ\t        STANDARD\r\n\r\n";
  text += Line(" Wins:\t       %d\t        %d\t            %d\r\n", int(b0.Wins()), int(b1.Wins()), int(b2.Wins()));
  text += Line(" Losses:\t       %d\t        %d\t            %d\r\n", int(b0.Losses()), int(b1.Losses()),
               int(b2.Losses()));
  text += Line(" Draws:\t       %d\t        %d\t            %d\r\n", int(b0.Draws()), int(b1.Draws()), int(b2.Draws()));
  text += Line("\r\n Rating:\t      %d\t      %d\t          %d\r\n", b0.rating, b1.rating, b2.rating);
  text += Line(" High Rating:  %d\t      %d\t          %d\r\n", b0.highest, b1.highest, b2.highest);
  text += " High Date:  " + b0.date.substr(0, 8) + "\t     " + b1.date.substr(0, 8) + "\t         " +
          b2.date.substr(0, 8) + "\r\n";
  return text;
}

std::string RatedGameStatsRating(int32_t rating, int32_t ratedGames) {
  char buffer[32];
  if (ratedGames < 21)
    std::snprintf(buffer, sizeof buffer, "%d/%d", rating, ratedGames);
  else
    std::snprintf(buffer, sizeof buffer, "%d", rating);
  return buffer;
}

std::vector<std::string> OpponentLines(const std::vector<PersonalityResult>& results) {
  std::vector<std::string> lines;
  for (const PersonalityResult& r : results) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, " (+%u -%u =%u)", r.wins, r.losses, r.draws);
    lines.push_back(r.name + buffer);
  }
  return lines;
}

void HoldRatedGamesCount(LobbyGameList* list) {
  if (list && list->count > kGameListSlots) list->count = kGameListSlots;
}

bool RemoveRatedGameEntry(LobbyGameList* list, const uint8_t guid[16]) {
  if (!list || !guid) return false;
  static const uint8_t kNil[16] = {};
  if (std::memcmp(guid, kNil, 16) == 0) return false;
  HoldRatedGamesCount(list);
  for (uint32_t i = 0; i < list->count; ++i) {
    if (std::memcmp(list->slots[i] + kSlotGuidOffset, guid, 16) != 0) continue;
    for (uint32_t j = i; j + 1 < list->count; ++j) std::memcpy(list->slots[j], list->slots[j + 1], kGameListSlotSize);
    std::memset(list->slots[list->count - 1], 0, kGameListSlotSize);
    --list->count;
    return true;
  }
  return false;
}
