// The header index of a game file: every game's header part in one file of
// the index folder ("NAME.ghi"), read in one go to list and sort games.
#pragma once

#include <cstdint>

#include "gdgame.h"

namespace gdg {

class GameStore;

int BuildHeaderIndex(GameStore* store, const char* folder, bool update, GdgProgress* progress, int32_t user);
int DeleteHeaderIndex(GameStore* store, const char* folder);
int32_t SortByHeaderIndex(GameStore* store, const char* folder, const int32_t* source, int32_t* target,
                          int32_t count, int32_t sortKey, int32_t direction);

}  // namespace gdg
