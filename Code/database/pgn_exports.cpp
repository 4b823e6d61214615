// PGN transfer exports: import a PGN file into a game file, export games as
// PGN, and convert one game to and from PGN in memory.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "convert.h"
#include "gdbase.h"
#include "gdgame.h"
#include "pgn_reader.h"
#include "pgn_writer.h"
#include "platform.h"
#include "texts.h"

using namespace gdbase;

namespace {

struct ImportContext {
  int32_t file;
  GdgGame* game;
  int written;
  GdProgressCallback* progress;
  int32_t user;
};

int ImportOne(PgnGameRecord* record, int, int, void* user) {
  auto* c = static_cast<ImportContext*>(user);
  RecordToGame(*record, c->game);
  if (!GdWriteGame(c->game, c->file, nullptr)) return 0;
  ++c->written;
  return c->progress ? c->progress(c->written, c->user) : 1;
}

std::unique_ptr<PgnRecordStorage> NewStorage() {
  return std::unique_ptr<PgnRecordStorage>(new (std::nothrow) PgnRecordStorage);
}

}  // namespace

GDBASE_API int GdPgnImport(const char* pgnPath, int32_t file, int options, const char* letters,
                           GdProgressCallback* progress, int32_t user) {
  std::FILE* in = pgnPath ? std::fopen(pgnPath, "rb") : nullptr;
  if (!in) return 1;
  auto storage = NewStorage();
  GdgGame* game = IGGameOpenGame();
  if (!storage || !game) {
    std::fclose(in);
    IGGameCloseGame(game);
    return 2;
  }
  auto source = std::make_unique<PgnFileSource>(in);
  ImportContext context{file, game, 0, progress, user};
  ReadPgnGames(source.get(), &storage->record, options, letters, ImportOne, &context);
  IGGameCloseGame(game);
  std::fclose(in);
  return 0;
}

GDBASE_API int GdExportGames(const char* pgnPath, int32_t file, GdNextGameCallback* next, int option,
                             int32_t user) {
  auto storage = NewStorage();
  GdgGame* game = IGGameOpenGame();
  std::FILE* out = storage && game && pgnPath ? std::fopen(pgnPath, "w") : nullptr;
  if (!out) {
    IGGameCloseGame(game);
    return 0;
  }
  PgnFileOutput output(out);
  int written = 0;
  for (int32_t n = next ? next(user) : 0; n != 0; n = next(user)) {
    if (!GdgLoadGame(game, file, n, 0)) continue;
    if (GameToRecord(game, &storage->record) != 0) continue;
    WritePgnRecord(&output, storage->record, option);
    ++written;
  }
  std::fclose(out);
  IGGameCloseGame(game);
  return written;
}

GDBASE_API int GdConvertGameToPgn(GdGameBuffer game, GdPgnConversion* c) {
  if (!game || !c) return 2;
  PgnGameRecord record;
  record.start = c->start;
  record.moves = c->moves;
  record.nags = c->nags;
  record.comments = c->comments;
  record.pool = c->text;
  if (GameToRecord(static_cast<GdgGame*>(game), &record) != 0) return 2;
  c->moveNumber = record.moveNumberOffset;
  c->mainLength = record.mainLength;
  c->entryCount = record.entryCount;
  c->result = record.result < 0 ? 0 : record.result;
  return 0;
}

GDBASE_API void* GdCreatePgnGame(GdGameBuffer game) {
  auto storage = NewStorage();
  if (!game || !storage || GameToRecord(static_cast<GdgGame*>(game), &storage->record) != 0) return nullptr;
  PgnMemoryOutput out;
  WritePgnRecord(&out, storage->record, 0);
  return PlatformGlobalText(out.Text());
}

GDBASE_API int GdMemReadPgnGame(GdGameBuffer game, void* text, int options, const char* letters) {
  if (!text) return 1;
  auto storage = NewStorage();
  if (!storage || !game) return 2;
  size_t size = 0;
  const char* bytes = PlatformLockGlobal(text, &size);
  if (!bytes) return 2;
  PgnMemorySource source(bytes, size);
  struct Target {
    GdgGame* game;
  } target{static_cast<GdgGame*>(game)};
  ReadPgnGames(
      &source, &storage->record, options, letters,
      [](PgnGameRecord* record, int, int, void* user) {
        RecordToGame(*record, static_cast<Target*>(user)->game);
        return 0;
      },
      &target);
  PlatformUnlockGlobal(text);
  return 0;
}
