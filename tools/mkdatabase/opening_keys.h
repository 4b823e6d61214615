// Filing opening lines into a database's key base, shared by the mkdatabase
// tool and the tests that build small databases the way the tool does.
//   SplitPgnGames      the games of a PGN text
//   PgnTagValue        a tag's value in one game's text
//   FileOpeningLines   every game of an openings PGN as a key line, the last
//                      key named by its "ECO", "Opening" and "Variation" tags
// Header-only, so it serves the native tool and both Windows test trees
// without a library of its own.
#ifndef ROOKWELL_TOOLS_MKDATABASE_OPENING_KEYS_H
#define ROOKWELL_TOOLS_MKDATABASE_OPENING_KEYS_H

#include <string>
#include <vector>

#include "convert.h"
#include "gdbase.h"
#include "gdkey.h"
#include "pgn_reader.h"

// The games of a PGN text: a game starts at a tag line after move text.
inline std::vector<std::string> SplitPgnGames(const std::string& text) {
  std::vector<std::string> games;
  size_t start = std::string::npos;
  bool inMoves = false;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    bool tag = text[at] == '[';
    if (tag && (start == std::string::npos || inMoves)) {
      if (start != std::string::npos) games.push_back(text.substr(start, at - start));
      start = at;
      inMoves = false;
    } else if (!tag && start != std::string::npos && end > at && text.find_first_not_of(" \t\r", at) < end) {
      inMoves = true;
    }
    at = end + 1;
  }
  if (start != std::string::npos) games.push_back(text.substr(start));
  return games;
}

inline std::string PgnTagValue(const std::string& game, const char* name) {
  std::string key = std::string("[") + name + " \"";
  size_t at = game.find(key);
  if (at == std::string::npos) return "";
  at += key.size();
  size_t end = game.find("\"]", at);
  return end == std::string::npos ? "" : game.substr(at, end - at);
}

struct OpeningLinesFiled {
  int lines = 0;  // games read with at least one move
  int keyed = 0;  // of those, lines the key base took
};

// Files the lines into the key base that is open for the caller.
inline OpeningLinesFiled FileOpeningLines(const std::string& openingsPgn) {
  OpeningLinesFiled filed;
  GdgGame* game = IGGameOpenGame();
  gdbase::PgnRecordStorage storage;
  for (const std::string& chunk : SplitPgnGames(openingsPgn)) {
    gdbase::PgnMemorySource source(chunk.data(), chunk.size());
    gdbase::ClearPgnRecord(&storage.record);
    gdbase::ReadPgnGames(&source, &storage.record, 0, "NBRQK", nullptr, nullptr);
    if (storage.record.mainLength <= 0) continue;
    gdbase::RecordToGame(storage.record, game);
    std::string name = PgnTagValue(chunk, "Opening");
    std::string variation = PgnTagValue(chunk, "Variation");
    if (!variation.empty()) name += (name.empty() ? "" : ", ") + variation;
    ++filed.lines;
    filed.keyed += GdkAddKeyLine(game, storage.record.Tag(gdbase::kTagECO), name.c_str(), "") != 0;
  }
  IGGameCloseGame(game);
  return filed;
}

#endif
