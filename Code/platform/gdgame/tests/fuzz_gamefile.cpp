// Fuzzes the game-file reader: a raw game record, or a whole game file
// (data and directory) that is opened and read through.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gdgame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static GdgGame* game = IGGameOpenGame();
  if (data[0] & 1) {
    // A record as GdgReadGames packs it.
    std::vector<uint8_t> packed(16 + size - 1);
    uint32_t head[4] = {1, 0, static_cast<uint32_t>(size - 1), static_cast<uint32_t>(data[1] % size)};
    std::memcpy(packed.data(), head, 16);
    std::memcpy(packed.data() + 16, data + 1, size - 1);
    UnpackGame(game, packed.data(), 0);
    GetGameHeader(game, packed.data(), 0, 1);
    return 0;
  }
  // Byte 0 even: bytes 1-2 give the data file's length, the rest is the directory.
  if (size < 3) return 0;
  static std::string base = "/tmp/fuzz_gamefile_" + std::to_string(getpid());
  size_t length = data[1] | (data[2] << 8);
  if (length > size - 3) length = size - 3;
  std::FILE* f = std::fopen((base + ".gdg").c_str(), "wb");
  std::fwrite(data + 3, 1, length, f);
  std::fclose(f);
  f = std::fopen((base + ".gdx").c_str(), "wb");
  std::fwrite(data + 3 + length, 1, size - 3 - length, f);
  std::fclose(f);
  int32_t file = GdgOpenGamefile((base + ".gdg").c_str(), 0);
  if (!file) return 0;
  int32_t count = GdgGetNumberOfGames(file);
  for (int32_t n = 1; n <= count && n <= 64; ++n) GdgLoadGame(game, file, n, 0);
  static std::vector<uint8_t> buffer(65536);
  int32_t offsets[100];
  int32_t got = GdgReadGames(file, 0, buffer.data(), offsets, 65536, 100);
  for (int32_t i = 0; i < got; ++i) UnpackGame(game, buffer.data() + offsets[i], 0);
  GdgCloseGamefile(file);
  return 0;
}
