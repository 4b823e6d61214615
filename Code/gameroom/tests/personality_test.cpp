// Personality files: the byte image, reading by name and path, the
// speed-adjusted rating, books, and the answers to the game records and
// the engine link.
#include "personality.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "book_fixture.h"
#include "bookreader.h"
#include "engine_player.h"
#include "game_host.h"
#include "game_record.h"
#include "personality_hooks.h"

namespace fs = std::filesystem;

namespace {

struct TestEnvironment : PersonalityEnvironment {
  std::string folder, books;
  uint32_t benchmark = 0;
  std::string PersonalitiesFolder() override { return folder; }
  std::string OpeningBooksFolder() override { return books; }
  uint32_t BenchmarkScore() override { return benchmark; }
};

class PersonalityFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() /
           ("rw_personality_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "Personalities");
    fs::create_directories(root / "Books");
    env.folder = (root / "Personalities").string();
    env.books = (root / "Books").string();
    SetPersonalityEnvironment(&env);
  }
  void TearDown() override {
    SetPersonalityEnvironment(nullptr);
    FreeAllBookSlots();
    fs::remove_all(root);
  }
  void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  std::vector<uint8_t> Image(const PersonalityRecord& r) {
    std::vector<uint8_t> bytes(kPersonalityFileSize);
    WritePersonalityBytes(r, bytes.data());
    return bytes;
  }
  void WritePersonality(const std::string& name, const PersonalityRecord& r) {
    WriteFile(root / "Personalities" / (name + ".RWP"), Image(r));
  }
  fs::path root;
  TestEnvironment env;
};

PersonalityRecord Defaults() {
  PersonalityRecord r;
  std::memset(&r, 0x5A, sizeof r);  // every field must be set
  SetNewPersonalityDefaults(&r);
  return r;
}

PersonalityRecord DepthNinetyNine(int32_t rating, uint32_t reference) {
  PersonalityRecord r = Defaults();
  r.kind = kFictionalPersonality;
  r.rating = rating;
  r.referenceSpeed = reference;
  r.parameters[kParamMaxDepth] = 99;
  return r;
}

}  // namespace

// The image of a new record, built here byte by byte from the file's layout.
TEST(PersonalityBytes, GoldenImageOfTheDefaults) {
  std::vector<uint8_t> golden(kPersonalityFileSize, 0);
  auto u32 = [&](size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i) golden[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
  };
  const char signature[] = "Rookwell Chess Personality File";
  std::memcpy(&golden[0], signature, sizeof signature - 1);
  u32(32, 26);
  u32(36, 8);
  u32(40, 132);
  u32(44, 1);
  u32(48, 1);
  const int32_t parameters[23] = {0,   100, 0,  10, 20, 6,  0,  0,  100, 100, 100, 100,
                                  100, 90,  90, 50, 50, 30, 30, 30, 30,  10,  10};
  for (int i = 0; i < 23; ++i) u32(64 + 4 * i, parameters[i]);
  std::memcpy(&golden[192], "RWONYX.OBK", 10);

  PersonalityRecord r = Defaults();
  std::vector<uint8_t> image(kPersonalityFileSize, 0xEE);
  WritePersonalityBytes(r, image.data());
  for (size_t i = 0; i < image.size(); ++i) ASSERT_EQ(image[i], golden[i]) << "byte " << i;
}

TEST(PersonalityBytes, RoundTripOfEveryFieldAndTextEndedInItsField) {
  PersonalityRecord r = Defaults();
  r.kind = kXboardEnginePersonality;
  r.rating = -7;
  r.referenceSpeed = 123456;
  r.sex = 1;
  r.ageGroups = kAge25to40 | kAgeOver40;
  for (int i = 0; i < 23; ++i) r.parameters[i] = i * 7 - 50;
  std::snprintf(r.caption, sizeof r.caption, "%s", "A caption");
  std::snprintf(r.enginePath, sizeof r.enginePath, "%s", "C:\\Engines\\x.exe");
  std::snprintf(r.engineParameters, sizeof r.engineParameters, "%s", "-xboard");
  std::vector<uint8_t> image(kPersonalityFileSize);
  WritePersonalityBytes(r, image.data());
  PersonalityRecord back;
  ASSERT_TRUE(ReadPersonalityBytes(image.data(), image.size(), &back));
  std::vector<uint8_t> again(kPersonalityFileSize);
  WritePersonalityBytes(back, again.data());
  EXPECT_EQ(image, again);
  EXPECT_EQ(back.rating, -7);
  EXPECT_EQ(back.parameters[22], 22 * 7 - 50);
  EXPECT_STREQ(back.engineParameters, "-xboard");

  // A file whose texts run to the end of their fields: each is cut inside it.
  std::vector<uint8_t> full = image;
  std::memset(&full[482], 'C', 30);    // caption
  std::memset(&full[582], 'B', 1000);  // biography
  std::memset(&full[2842], 'P', 262);  // parameters, the last field of the file
  ASSERT_TRUE(ReadPersonalityBytes(full.data(), full.size(), &back));
  EXPECT_EQ(std::strlen(back.caption), 29u);
  EXPECT_EQ(std::strlen(back.biography), 999u);
  EXPECT_EQ(std::strlen(back.engineParameters), 261u);
  EXPECT_STREQ(back.style, "");

  // Short images and other versions are refused.
  EXPECT_FALSE(ReadPersonalityBytes(image.data(), kPersonalityFileSize - 1, &back));
  image[36] = 7;
  EXPECT_FALSE(ReadPersonalityBytes(image.data(), image.size(), &back));
}

TEST(PersonalityBytes, HashSizesAndWords) {
  PersonalityRecord r = Defaults();
  struct {
    uint32_t index, bytes;
  } cases[] = {{0, 0}, {1, 524288}, {5, 8388608}, {12, 1u << 30}, {40, 1u << 30}};
  for (auto c : cases) {
    r.hashIndex = c.index;
    EXPECT_EQ(PersonalityHashBytes(&r), c.bytes) << c.index;
  }
  EXPECT_EQ(PersonalityHashBytes(nullptr), 0u);
  r.parameters[kParamBookUse] = 99;
  r.parameters[kParamContempt] = -300;
  EXPECT_EQ(PersonalityWord(&r, 10), 132);   // kind
  EXPECT_EQ(PersonalityWord(&r, 19), 99);    // book use
  EXPECT_EQ(PersonalityWord(&r, 22), -300);  // contempt
  EXPECT_EQ(PersonalityWord(&r, 776), 0);
  EXPECT_EQ(PersonalityWord(nullptr, 10), 0);
  EXPECT_FALSE(IsGrandmasterPersonality(&r));
  r.kind = kGrandmasterPersonality;
  EXPECT_TRUE(IsGrandmasterPersonality(&r));
  EXPECT_FALSE(IsGrandmasterPersonality(nullptr));
}

TEST(PersonalityRating, SpeedAdjustment) {
  struct Case {
    int32_t rating, depth;
    uint32_t reference, benchmark;
    int32_t expected;
  } cases[] = {
      {1250, 99, 1000, 2000, 1285},                                // d 70, f 0.5
      {2500, 99, 1000, 2000, 2570}, {3000, 99, 1000, 500, 2930},   // f at most 1
      {2500, 99, 1000, 1000, 2500}, {1250, 98, 1000, 2000, 1250},  // only at depth 99
      {1250, 99, 0, 2000, 1250},                                   // no reference speed: no adjustment
      {1250, 99, 1000, 0, 1250},                                   // no benchmark: no adjustment
      {1000, 99, 1000, 3000, 1044},                                // trunc(70 ln3/ln2) = 110; 110 * 0.4 = 44
  };
  for (const Case& c : cases) {
    PersonalityRecord r = DepthNinetyNine(c.rating, c.reference);
    r.parameters[kParamMaxDepth] = c.depth;
    EXPECT_EQ(SpeedAdjustedRating(&r, c.benchmark), c.expected) << c.rating << " " << c.benchmark;
  }
  EXPECT_EQ(SpeedAdjustedRating(nullptr, 1), -1);
}

TEST(PersonalityRating, StyleTextSubstitutesOneNumberOnly) {
  struct {
    const char* style;
    const char* shown;
  } cases[] = {
      {"Plays like a %d player.", "Plays like a 1285 player."},
      {"No number here", "No number here"},
      {"%d and %d", "1285 and %d"},
      {"100% sure, %s %n %x", "100% sure, %s %n %x"},
      {"%%d", "%1285"},
      {"ends with %", "ends with %"},
  };
  for (auto c : cases) EXPECT_EQ(FormatPersonalityStyle(c.style, 1285), c.shown) << c.style;
  EXPECT_EQ(FormatPersonalityStyle(nullptr, 1), "");
}

TEST_F(PersonalityFiles, ReadByNameSizesAndVersions) {
  PersonalityRecord r = DepthNinetyNine(1250, 1000);
  env.benchmark = 2000;
  std::vector<uint8_t> image = Image(r);

  struct {
    const char* name;
    std::vector<uint8_t> bytes;
    int result;
  } files[] = {
      {"Exact", image, 1},
      {"Long",
       [&] {
         auto b = image;
         b.push_back(0xFF);
         return b;
       }(),
       1},
      {"Short", std::vector<uint8_t>(image.begin(), image.end() - 1), 0},
      {"Seven",
       [&] {
         auto b = image;
         b[36] = 7;
         return b;
       }(),
       0},
  };
  for (auto& f : files) {
    WriteFile(root / "Personalities" / (std::string(f.name) + ".RWP"), f.bytes);
    PersonalityRecord* read = nullptr;
    EXPECT_EQ(ReadPersonalityFile(f.name, &read), f.result) << f.name;
    ASSERT_NE(read, nullptr) << "the record is allocated even when reading fails";
    if (f.result) {
      EXPECT_EQ(read->rating, 1285) << f.name;
    }
    FreePersonality(read);
  }
  PersonalityRecord* missing = nullptr;
  EXPECT_EQ(ReadPersonalityFile("Nobody", &missing), 0);
  FreePersonality(missing);
  EXPECT_EQ(ReadPersonalityFile("Exact", nullptr), 0);
  FreePersonality(nullptr);
}

TEST_F(PersonalityFiles, KidsNamesKeepTheirRatingAndDotsStay) {
  env.benchmark = 2000;
  WritePersonality("Tarn - Age 12", DepthNinetyNine(1250, 1000));
  WritePersonality("Mr. Quill", DepthNinetyNine(1250, 1000));
  PersonalityRecord record;
  PersonalityRecord* p = &record;
  ASSERT_EQ(ReadPersonalityFile("Tarn - Age 12", &p), 1);
  EXPECT_EQ(p, &record);
  EXPECT_EQ(record.rating, 1250);
  ASSERT_EQ(ReadPersonalityFile("Mr. Quill", &p), 1);
  EXPECT_EQ(record.rating, 1285);
}

TEST_F(PersonalityFiles, NamesThatLeaveTheFolderAreRefused) {
  WritePersonality("Inside", Defaults());
  WriteFile(root / "Outside.RWP", Image(Defaults()));
  const char* refused[] = {"../Outside", "..", "a/../../Outside", "", "C:Outside"};
  for (const char* name : refused) {
    PersonalityRecord* p = nullptr;
    EXPECT_EQ(ReadPersonalityFile(name, &p), 0) << name;
    FreePersonality(p);
  }
  PersonalityRecord* p = nullptr;
  EXPECT_EQ(ReadPersonalityFile("Inside", &p), 1);
  FreePersonality(p);
}

TEST_F(PersonalityFiles, BooksLoadOwnOrFallBackToTheDefault) {
  std::vector<uint8_t> own = MakeBookImage({CoordWord("e2e4", 3, true, true)}, {});
  std::vector<uint8_t> fallback =
      MakeBookImage({CoordWord("d2d4", 3, true, false), CoordWord("c2c4", 3, true, true)}, {});
  WriteFile(root / "Books" / "OWN.OBK", own);
  WriteFile(root / "Books" / "RWONYX.OBK", fallback);

  PersonalityRecord r = Defaults();
  std::snprintf(r.book, sizeof r.book, "%s", "OWN.OBK");
  EXPECT_EQ(LoadPersonalityBook(&r, 2), 1);
  EXPECT_EQ(GetBookSlot(), 2);
  EXPECT_EQ(GetBookMoveCount(), 1);

  struct {
    const char* book;
    int slot;
  } fallingBack[] = {{"MISSING.OBK", 1}, {"../Books/OWN.OBK", 2}};
  for (auto c : fallingBack) {
    std::snprintf(r.book, sizeof r.book, "%s", c.book);
    EXPECT_EQ(LoadPersonalityBook(&r, c.slot), 0) << c.book;
    EXPECT_EQ(GetBookSlot(), c.slot);
    EXPECT_EQ(GetBookMoveCount(), 2) << c.book;
  }

  // An empty name is filled in the record, whatever the slot.
  r.book[0] = 0;
  EXPECT_EQ(LoadPersonalityBook(&r, 0), 0);
  EXPECT_STREQ(r.book, "RWONYX.OBK");
  EXPECT_EQ(LoadPersonalityBook(nullptr, 1), 0);
}

// The game records read a personality through their host; the engine link
// gets the raw parameters, which at the defaults it sends as 100 each.
TEST_F(PersonalityFiles, GameAndEngineLinkAnswers) {
  struct RoomHost : GameHost {
    PersonalityRecord* ReadPersonality(PlayerRecord* player, PersonalityRecord* existing) override {
      return ReadPlayerPersonality(player, existing);
    }
    void FreePersonality(PersonalityRecord* p) override { ::FreePersonality(p); }
    int32_t PersonalityWord(const PersonalityRecord* p, int index) override {
      return ::PersonalityWord(p, index);
    }
  } host;
  SetGameHost(&host);
  PersonalityRecord stored = Defaults();
  stored.parameters[kParamContempt] = -200;
  WritePersonality("Rookwell", stored);

  GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0);
  ASSERT_NE(game, nullptr);
  PlayerDescriptor d{};
  std::snprintf(d.name, sizeof d.name, "%s", "Rookwell");
  d.kind = PLAYER_ENGINE;
  ASSERT_EQ(SetGamePlayer(game, &d, SLOT_BLACK), 0);
  ASSERT_NE(game->black.personality, nullptr);
  EXPECT_EQ(host.PersonalityWord(game->black.personality, 22), -200);

  EnginePersonality e;
  ASSERT_TRUE(GetPlayerEnginePersonality(&game->black, &e));
  EXPECT_STREQ(e.name, "Rookwell");
  EXPECT_EQ(e.strength, 0);
  EXPECT_EQ(e.md, 20);
  EXPECT_EQ(e.sop, 100);
  EXPECT_EQ(e.cfd, -200);
  EXPECT_EQ(e.hashBytes, 524288);
  // The engine link scales the raw values: at the defaults every piece and
  // every weight goes out as 100.
  EXPECT_EQ(
      PersonalityParameterLines(e),
      (std::vector<std::string>{
          "rw_parm default", "rw_parm opp=100 opn=100 opb=100 opr=100 opq=100",
          "rw_parm myp=100 myn=100 myb=100 myr=100 myq=100", "rw_parm cc=100 mob=100 ks=100 pp=100 pw=100",
          "rw_parm cfd=-200 sop=100 avd=0 rnd=0 sel=6 md=20", "rw_parm tts=524288 ttu=1"}));
  SetPlayerEnginePath(&game->black, "C:\\Rookwell\\Corvane.exe");
  EXPECT_STREQ(game->black.personality->enginePath, "C:\\Rookwell\\Corvane.exe");

  d.kind = PLAYER_ENGINE;
  std::snprintf(d.name, sizeof d.name, "%s", "../Rookwell");
  ASSERT_EQ(SetGamePlayer(game, &d, SLOT_WHITE), 0);
  EXPECT_EQ(game->white.personality, nullptr);
  EXPECT_FALSE(GetPlayerEnginePersonality(&game->white, &e));
  DestroyGame(game);
  SetGameHost(nullptr);
}
