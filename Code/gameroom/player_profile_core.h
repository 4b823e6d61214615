// The player profile window without its windows: the "Rated Games" page
// text, the "Rated Game Stats" rating and opponent lines, and the block of
// lobby-stored rated games the online layer hands the window (held to its
// ten slots, an entry removed by its game identifier).
//
// Interface: kProfileTextLimit, RatedGamesPageText, RatedGameStatsRating,
// OpponentLines, HoldRatedGamesCount, RemoveRatedGameEntry.
#pragma once

#include <string>
#include <vector>

#include "rated_games.h"
#include "wire.h"

// The profile text's field holds 512 bytes with its NUL.
constexpr size_t kProfileTextLimit = 511;

// The page's lines: wins, losses and draws summed over both colours,
// ratings, highest ratings and the first 8 characters of their dates.
std::string RatedGamesPageText(const RatingBlockData blocks[3]);
// "%d/%d" (rating, games) while fewer than 21 rated games were played, else
// "%d".
std::string RatedGameStatsRating(int32_t rating, int32_t ratedGames);
// "%s (+%d -%d =%d)" for each personality.
std::vector<std::string> OpponentLines(const std::vector<PersonalityResult>& results);

// The count comes from the online layer: at most the ten slots.
void HoldRatedGamesCount(LobbyGameList* list);
// Removes the first of the used entries whose identifier equals `guid` (a
// nil identifier matches nothing): later entries move down, the last used
// slot is cleared, the count drops. False when nothing matched.
bool RemoveRatedGameEntry(LobbyGameList* list, const uint8_t guid[16]);
