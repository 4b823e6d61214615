// Benchmark support: a large PGN file made from real games with varied tags.
#pragma once

#include <cstdio>
#include <random>
#include <string>
#include <vector>

// Writes `wanted` games to `pgnPath`, cycling through `moveTexts` (each a game's
// move text) with generated tags; every third copy is cut after move one.
// The same seed gives the same file on every run.
inline bool WriteBenchPgn(const std::string& pgnPath, const std::vector<std::string>& moveTexts, int wanted) {
  const char* names[] = {"Anand",  "Berg",   "Chen",    "Dubois", "Eriksen",  "Fischer",
                         "Garcia", "Horvat", "Ivanova", "Jensen", "Kowalski", "Larsen",
                         "Moreau", "Novak",  "Olsen",   "Petrova"};
  const char* results[] = {"1-0", "0-1", "1/2-1/2", "*"};
  std::mt19937 random(7);
  std::FILE* out = std::fopen(pgnPath.c_str(), "wb");
  if (!out) return false;
  for (int i = 0; i < wanted; ++i) {
    const std::string& moves = moveTexts[static_cast<size_t>(i) % moveTexts.size()];
    char tags[512];
    std::snprintf(
        tags, sizeof tags,
        "[Event \"Bench %d\"]\n[Site \"Town %d\"]\n[Date \"%d.%02d.%02d\"]\n[Round \"%d\"]\n"
        "[White \"%s %d\"]\n[Black \"%s %d\"]\n[Result \"%s\"]\n[WhiteElo \"%d\"]\n[BlackElo \"%d\"]\n",
        i / 100, static_cast<int>(random() % 50), 1950 + static_cast<int>(random() % 75),
        1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 28), i % 13 + 1,
        names[random() % 16], static_cast<int>(random() % 1000), names[random() % 16],
        static_cast<int>(random() % 1000), results[random() % 4], 1200 + static_cast<int>(random() % 1600),
        1200 + static_cast<int>(random() % 1600));
    std::string body = moves;
    // Every third copy is cut short at a move-number boundary.
    if (i % 3 == 1) {
      size_t cut = body.find(" 2.");
      if (cut != std::string::npos) body.resize(cut);
    }
    std::fputs(tags, out);
    std::fputs(body.c_str(), out);
    std::fputs(" *\n\n", out);
  }
  std::fclose(out);
  return true;
}
