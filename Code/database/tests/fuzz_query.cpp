// The header query compiler and matcher, the query date reader and the date
// picture over arbitrary bytes: a query record as the caller may fill it,
// with any field numbers, operators and unterminated values.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "header_texts.h"
#include "query.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static GdgGame* game = [] {
    GdgGame* g = IGGameOpenGame();
    IGGamePutPlayer(g, 0, "Kasparov");
    IGGamePutPlayer(g, 1, "M\x81ller");
    IGGamePutElo(g, 0, 2800);
    GdgDate date = {1985, 11, 9};
    IGGamePutDate(g, &date);
    IGGamePutResult(g, 2);
    return g;
  }();
  SearchQuery q;
  std::memset(&q, 0, sizeof q);
  std::memcpy(&q, data, size < sizeof q ? size : sizeof q);
  gdbase::CompiledQuery compiled = gdbase::CompileQuery(q);
  gdbase::MatchQuery(compiled, game);
  gdbase::QueryIsEmpty(q);
  if (size > sizeof q) {
    std::string text(reinterpret_cast<const char*>(data) + sizeof q, size - sizeof q);
    int y, m, d;
    gdbase::ReadQueryDate(text.c_str(), &y, &m, &d);
    gdbase::SetDateLocale(text.c_str(), nullptr, nullptr);
    gdbase::FormatHeaderDate(y, m & 0xFF, d & 0xFF);
    gdbase::FormatHeaderDate(1999, 0, 7);
  }
  return 0;
}
