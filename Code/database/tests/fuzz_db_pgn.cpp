// Fuzzes the PGN reader with arbitrary text; every game read is written back
// as PGN and converted into a game buffer and out again.
#include <cstdint>
#include <cstring>

#include "convert.h"
#include "gdgame.h"
#include "pgn_reader.h"
#include "pgn_writer.h"

using namespace gdbase;

namespace {

int OnGame(PgnGameRecord* record, int, int full, void*) {
  static GdgGame* game = IGGameOpenGame();
  static PgnRecordStorage back;
  PgnMemoryOutput out;
  WritePgnRecord(&out, *record, 0);
  if (full) {
    RecordToGame(*record, game);
    GameToRecord(game, &back.record);
  }
  return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static PgnRecordStorage storage;
  if (size == 0) return 0;
  int options = data[0] & 3;
  PgnMemorySource source(reinterpret_cast<const char*>(data + 1), size - 1);
  ReadPgnGames(&source, &storage.record, options, "NBRQK", OnGame, nullptr);
  return 0;
}
