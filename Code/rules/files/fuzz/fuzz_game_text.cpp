// Fuzzes the game-text reader in every option set, game after game.
#include <cstddef>
#include <cstdint>
#include <string>

#include "game_text_read.h"
#include "notation.h"
#include "line_source.h"

namespace {

using Source = FuzzLineSource;
constexpr auto NextLine = &NextFuzzLine<kGameTextLineSize>;

void OnComment(void*, const char*, int) {}
void OnMove(void* context, const MoveRecord*, int) { ++*static_cast<int*>(context); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 20000) return 0;
  GameTextOptions options;
  options.lenient = data[0] & 1;
  options.commentFirst = data[0] & 2;
  options.columns = data[0] & 4;
  options.loose = data[0] & 8;
  options.placeholders = data[0] & 16;
  int style = (data[0] >> 5) % 3;
  Source source{reinterpret_cast<const char*>(data + 1), reinterpret_cast<const char*>(data + size)};
  GameTextReader reader;
  GameTextInfo info;
  int moves = 0;
  GameTextReader::Error error;
  bool first = true;
  for (int games = 0; games < 50; ++games) {
    int end = reader.ReadGame(style, &info, options, first, NextLine, &source, &OnComment,
                              (data[0] & 128) ? nullptr : &OnMove, &moves, &error);
    first = error.code != 0;
    if (end) break;
  }
  Source again{reinterpret_cast<const char*>(data + 1), reinterpret_cast<const char*>(data + size)};
  int lines = 0;
  for (int games = 0; games < 50 && !reader.ReadHeader(&info, games == 0, NextLine, &again, &lines);
       ++games) {
  }
  return 0;
}
