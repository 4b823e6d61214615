// Fuzzes the saved game file reader (versions 4 to 8); a game read without
// error is written again and must read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game_file.h"
#include "game_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 200000) return 0;
  GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 16, 1, 0);
  if (ReadGameFileImage(game, data, size, "fuzz.RWG") == 0) {
    std::string image;
    if (!BuildGameFileImage(game, &image)) std::abort();
    GameRecord* back = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 16, 1, 0);
    if (ReadGameFileImage(back, reinterpret_cast<const uint8_t*>(image.data()), image.size(), nullptr) != 0 ||
        GetMoveCount(back) != GetMoveCount(game))
      std::abort();
    DestroyGame(back);
  }
  DestroyGame(game);
  return 0;
}
