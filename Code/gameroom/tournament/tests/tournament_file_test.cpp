#include "tournament_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "file_errors.h"
#include "tests/tournament_fixture.h"
#include "tournament_record.h"

namespace {

namespace fs = std::filesystem;

int32_t WordAt(const std::string& bytes, size_t at) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data()) + at;
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

std::unique_ptr<Tournament> Sample() {
  auto t = MakeTournament(TOURNAMENT_SWISS, 7, 4);
  SeededTournamentRandom random(5);
  PairNextSwissRound(*t, random, "vs");
  t->gamesPlayed = 1;
  t->pairings[0].result = 2;
  t->rated = 1;
  t->started = 1;
  t->timeControl.kind = 5;
  t->timeControl.base = 300000;
  t->timeControl.increment = 3000;
  t->entrants[3].personality[0] = 0xAB;
  t->entrants[3].personality[3103] = 0xCD;
  t->entrants[3].wins = 4;
  t->entrants[3].colourDue = 0x102;
  return t;
}

// Offsets of the layout tables, checked against the bytes written.
TEST(TournamentFile, FieldsLieAtTheirOffsets) {
  auto t = Sample();
  const std::string file = BuildTournamentFile("Spring.RWT", *t, "");
  ASSERT_EQ(file.size(), kTournamentFileMinSize);
  EXPECT_EQ(file.substr(0, 11), std::string("Spring.RWT\0", 11));
  EXPECT_EQ(uint8_t(file[128]), 26);
  EXPECT_EQ(uint8_t(file[129]), 8);
  const size_t r = 130;
  const struct {
    size_t offset;
    int32_t value;
  } words[] = {
      {0, 7},
      {4, 12},
      {8, 1},
      {12, 4},
      {20, 1},
      {24, 1},
      {32, 1},
      {52, 5},
      {80, 300000},
      {84, 3000},
      {92 + 3188 * 3 + 3136, t->entrants[3].number},
      {92 + 3188 * 3 + 3140, 4},
      {92 + 3188 * 3 + 3184, 0x102},
      {92 + 3188 * 6 + 3168, 1},
      {92 + 3188 * 6 + 3160, t->entrants[6].rating},
      {92 + 3188 * 0 + 3164, 1},
      {102108 + 4, 2},
      {102108 + 8 * 3 + 4, -2},
      {102108 + 8 * 255 + 4, -2},
  };
  for (const auto& w : words) EXPECT_EQ(WordAt(file, r + w.offset), w.value) << w.offset;
  EXPECT_EQ(uint8_t(file[r + 92 + 3188 * 3]), 0xAB);
  EXPECT_EQ(uint8_t(file[r + 92 + 3188 * 3 + 3103]), 0xCD);
  EXPECT_EQ(std::string(&file[r + 92 + 3188 * 2 + 3104]), t->entrants[2].name);
  EXPECT_EQ(uint8_t(file[r + 102108]), t->pairings[0].white);
  EXPECT_EQ(uint8_t(file[r + 102108 + 1]), t->pairings[0].black);
  EXPECT_EQ(std::string(&file[r + 104156]), t->texts[0]);
  EXPECT_EQ(std::string(&file[r + 104156 + 80 * 2]), t->texts[2]);
}

TEST(TournamentFile, RoundTripKeepsTheRecordAndTheSavedGame) {
  auto t = Sample();
  const std::string game(70000, 'g');  // above 65,535 bytes: read whole
  const std::string file = BuildTournamentFile("Spring.RWT", *t, game);
  auto back = std::make_unique<Tournament>();
  std::string name, saved;
  ASSERT_EQ(ParseTournamentFile(reinterpret_cast<const uint8_t*>(file.data()), file.size(), back.get(), &name,
                                &saved),
            0);
  EXPECT_EQ(name, "Spring.RWT");
  EXPECT_EQ(saved, game);
  EXPECT_EQ(BuildTournamentFile("Spring.RWT", *back, game), file);
}

TEST(TournamentFile, SizeAndVersionAreChecked) {
  auto t = Sample();
  std::string file = BuildTournamentFile("T.RWT", *t, "");
  auto back = std::make_unique<Tournament>();
  auto parse = [&](const std::string& bytes) {
    return ParseTournamentFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), back.get(),
                               nullptr, nullptr);
  };
  EXPECT_EQ(parse(file), 0);
  EXPECT_EQ(parse(file.substr(0, file.size() - 1)), FILE_DAMAGED);
  EXPECT_EQ(TournamentFileMessage(FILE_DAMAGED, "T.RWT"),
            "File is damaged or is not a Rookwell file. T.RWT.");
  file[129] = 7;
  EXPECT_EQ(parse(file), FILE_BAD_FORMAT);
  EXPECT_EQ(TournamentFileMessage(FILE_BAD_FORMAT, "T.RWT"), "Invalid file format. T.RWT");
}

TEST(TournamentFile, DamagedRecordsAreRefused) {
  const struct {
    const char* what;
    std::function<void(Tournament*)> damage;
  } cases[] = {
      {"N 33", [](Tournament* t) { t->entrantCount = 33; }},
      {"N 1", [](Tournament* t) { t->entrantCount = 1; }},
      {"Swiss of 5", [](Tournament* t) { t->entrantCount = 5; }},
      {"kind 2", [](Tournament* t) { t->kind = 2; }},
      {"total 257", [](Tournament* t) { t->totalGames = 257; }},
      {"total off", [](Tournament* t) { t->totalGames = 11; }},
      {"played above total", [](Tournament* t) { t->gamesPlayed = 13; }},
      {"played negative", [](Tournament* t) { t->gamesPlayed = -1; }},
      {"round beyond", [](Tournament* t) { t->currentRound = 4; }},
      {"number 0", [](Tournament* t) { t->entrants[2].number = 0; }},
      {"number twice", [](Tournament* t) { t->entrants[2].number = t->entrants[3].number; }},
      {"number 8", [](Tournament* t) { t->entrants[2].number = 8; }},
      {"White byte 8", [](Tournament* t) { t->pairings[1].white = 8; }},
      {"half paired", [](Tournament* t) { t->pairings[1].black = 0; }},
      {"self paired", [](Tournament* t) { t->pairings[1].black = t->pairings[1].white; }},
      {"result 17", [](Tournament* t) { t->pairings[1].result = 17; }},
      {"result -1", [](Tournament* t) { t->pairings[1].result = -1; }},
      {"wins overflow", [](Tournament* t) { t->entrants[1].wins = 251658240; }},
      {"negative draws", [](Tournament* t) { t->entrants[31].draws = -1; }},
      {"rating", [](Tournament* t) { t->entrants[0].rating = 0x7FFFFFFF; }},
      {"round robin of 9",
       [](Tournament* t) {
         t->kind = 0;
         t->entrantCount = 9;
       }},
  };
  for (const auto& c : cases) {
    auto t = Sample();
    c.damage(t.get());
    const std::string file = BuildTournamentFile("T.RWT", *t, "");
    // The tournament already held is kept whole: a refused file must not
    // leave its numbers behind to be played on and saved over a good file.
    auto back = MakeTournament(TOURNAMENT_ROUND_ROBIN, 3, 2);
    const std::string held = BuildTournamentFile("Held.RWT", *back, "");
    EXPECT_EQ(ParseTournamentFile(reinterpret_cast<const uint8_t*>(file.data()), file.size(), back.get(),
                                  nullptr, nullptr),
              FILE_DAMAGED)
        << c.what;
    EXPECT_TRUE(BuildTournamentFile("Held.RWT", *back, "") == held) << c.what;
  }
}

TEST(TournamentFile, NamesAndTextsAreCutAtTheirFields) {
  auto t = Sample();
  std::string file = BuildTournamentFile("T.RWT", *t, "");
  std::memset(&file[0], 'x', 128);  // no NUL in the name field
  std::memset(&file[130 + 92 + 3104], 'y', 32);
  std::memset(&file[130 + 104156], 'z', 80);
  auto back = std::make_unique<Tournament>();
  std::string name;
  ASSERT_EQ(ParseTournamentFile(reinterpret_cast<const uint8_t*>(file.data()), file.size(), back.get(), &name,
                                nullptr),
            0);
  EXPECT_EQ(name, std::string(128, 'x'));
  EXPECT_EQ(std::strlen(back->entrants[0].name), 31u);
  EXPECT_EQ(std::strlen(back->texts[0]), 79u);
}

TEST(TournamentFile, TheNameKeepsOnlyItsFileNamePart) {
  const struct {
    const char* field;
    const char* name;
  } cases[] = {{"Spring.RWT", "Spring.RWT"},
               {"C:\\Games\\..\\Spring.RWT", "Spring.RWT"},
               {"../../etc/passwd", "passwd"},
               {"a:b", "b"},
               {"Wh?at*<x>|\".RWT", "Wh_at__x___.RWT"},
               {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(TournamentFileName(c.field, 128), c.name) << c.field;
}

TEST(TournamentFile, AFailedSaveLeavesThePreviousFile) {
  const fs::path dir = fs::path(testing::TempDir()) / "tournament_file_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string path = (dir / "T.RWT").string();
  auto t = Sample();
  ASSERT_EQ(SaveTournamentFileAt(path.c_str(), "T.RWT", *t, ""), 0);
  auto back = std::make_unique<Tournament>();
  std::string name, saved;
  ASSERT_EQ(LoadTournamentFileAt(path.c_str(), back.get(), &name, &saved), 0);
  EXPECT_EQ(back->gamesPlayed, 1);

  fs::create_directory(path + ".tmp");  // the temporary file cannot be made
  t->gamesPlayed = 2;
  t->pairings[1].result = 3;
  EXPECT_NE(SaveTournamentFileAt(path.c_str(), "T.RWT", *t, ""), 0);
  ASSERT_EQ(LoadTournamentFileAt(path.c_str(), back.get(), &name, &saved), 0);
  EXPECT_EQ(back->gamesPlayed, 1);
  EXPECT_EQ(LoadTournamentFileAt((dir / "none.RWT").string().c_str(), back.get(), &name, &saved),
            FILE_CANNOT_OPEN);
  fs::remove_all(dir);
}

}  // namespace
