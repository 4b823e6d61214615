// The user record file byte for byte, damaged files, user names, the
// files a new user starts from and the user list over real folders.
#include "user_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "heapkit.h"
#include "profile.h"

namespace fs = std::filesystem;

namespace {

uint32_t WordAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | uint32_t(bytes[offset + 3]) << 24;
}

void PutWord(std::vector<uint8_t>* bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = uint8_t(value >> (8 * i));
}

fs::path TestFolder() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  fs::path folder = fs::current_path() / "user_file_root" / test->name();
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

void* Entries(int count, uint8_t seed) {
  auto* block = static_cast<uint8_t*>(memAlloc_rel(kUserGameEntrySize * count, 66));
  for (size_t i = 0; i < kUserGameEntrySize * count; ++i) block[i] = uint8_t(seed + i);
  return block;
}

TEST(UserFile, NewUserRecordLandsAtItsOffsets) {
  UserProfile p{};
  MakeNewUserProfile(&p, "Ann", nullptr, "12/11/126 02:30:00");
  std::vector<uint8_t> bytes = EncodeUserFile(p);
  ASSERT_EQ(bytes.size(), 4380u);
  EXPECT_STREQ(reinterpret_cast<const char*>(&bytes[0]), "Ann");
  EXPECT_EQ(bytes[32], 0);
  EXPECT_EQ(WordAt(bytes, 544), 1600u);
  for (size_t i = 548; i < 2948; i += 4) ASSERT_EQ(WordAt(bytes, i), 0u) << i;
  for (int pair = 0; pair < 100; ++pair) {
    ASSERT_EQ(WordAt(bytes, 2948 + 8 * pair), 10000u);
    ASSERT_EQ(WordAt(bytes, 2952 + 8 * pair), 0u);
  }
  for (size_t set : {size_t(3768), size_t(4076)}) {
    for (int block = 0; block < 3; ++block) {
      size_t at = set + 100 * block;
      EXPECT_EQ(WordAt(bytes, at), 1600u);
      EXPECT_EQ(WordAt(bytes, at + 4), 1600u);
      EXPECT_STREQ(reinterpret_cast<const char*>(&bytes[at + 8]), "12/11/126 02:30:00");
    }
  }
  EXPECT_EQ(WordAt(bytes, 4068), 0u);  // N1
  EXPECT_EQ(WordAt(bytes, 4376), 0u);  // N2
}

TEST(UserFile, ListsRoundTripAndSizeFollowsTheCounts) {
  UserProfile p{};
  MakeNewUserProfile(&p, "Ann Lee", "plays on Sundays", "01/02/126 03:04:05");
  p.table[599] = -5;
  p.reserved[15] = 7;
  p.word1 = 11;
  p.word2 = 22;
  p.gameCount = 2;
  p.games = Entries(2, 1);
  p.gameCount2 = 1;
  p.games2 = Entries(1, 100);
  std::vector<uint8_t> bytes = EncodeUserFile(p);
  ASSERT_EQ(bytes.size(), 4512u);
  EXPECT_EQ(WordAt(bytes, 4068), 2u);
  EXPECT_EQ(WordAt(bytes, 4072 + 88), 22u);
  EXPECT_EQ(WordAt(bytes, 4376 + 88), 1u);

  UserProfile back{};
  ASSERT_TRUE(DecodeUserFile(bytes.data(), bytes.size(), &back));
  EXPECT_EQ(EncodeUserFile(back), bytes);
  EXPECT_STREQ(back.description, "plays on Sundays");
  EXPECT_EQ(0, std::memcmp(back.games, p.games, 88));
  EXPECT_NE(back.games, p.games);  // the reader's own blocks
  FreeUserLists(&back);
  FreeUserLists(&p);
}

TEST(UserFile, DamagedCountsGiveTheEmptyRecordWithoutLargeBlocks) {
  UserProfile p{};
  MakeNewUserProfile(&p, "Ann", nullptr, "x");
  const std::vector<uint8_t> good = EncodeUserFile(p);
  struct Case {
    const char* what;
    size_t offset;  // of a count to change; 0: none
    uint32_t value;
    size_t size;  // the file's length
  } cases[] = {
      {"short fixed part", 0, 0, 4379},
      {"empty file", 0, 0, 0},
      {"N1 beyond the file", 4068, 1, 4380},
      {"N1 huge", 4068, 0x7FFFFFFF, 4380},
      {"N1 wrapping 44 x N in 32 bits", 4068, 0x05D1745E, 4380},
      {"N1 negative", 4068, 0xFFFFFFFF, 4380},
      {"N2 beyond the file", 4376, 1, 4380},
      {"N2 huge", 4376, 0xFFFFFFF0, 4380},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = good;
    if (c.offset) PutWord(&bytes, c.offset, c.value);
    bytes.resize(c.size);
    UserProfile read{};
    std::strcpy(read.path, "kept");
    EXPECT_FALSE(DecodeUserFile(bytes.data(), bytes.size(), &read)) << c.what;
    EXPECT_EQ(read.name[0], 0) << c.what;
    EXPECT_EQ(read.baseRating, 0) << c.what;
    EXPECT_EQ(read.games, nullptr) << c.what;
    EXPECT_EQ(read.games2, nullptr) << c.what;
    EXPECT_STREQ(read.path, "kept") << c.what;
  }
  // Extra bytes after the second list are ignored.
  std::vector<uint8_t> longer = good;
  longer.resize(good.size() + 10, 0xEE);
  UserProfile read{};
  EXPECT_TRUE(DecodeUserFile(longer.data(), longer.size(), &read));
  EXPECT_STREQ(read.name, "Ann");
}

TEST(UserNames, CleaningAndRefusals) {
  struct Case {
    const char* name;
    int result;
    const char* clean;
  } cases[] = {
      {"  Ann  ", kUserNameOk, "Ann"},
      {"Ann Lee", kUserNameOk, "Ann Lee"},
      {"abcdefghijklmnopqrstuvwxyz0123456789ABCD", kUserNameOk, "abcdefghijklmnopqrstuvwxyz01234"},
      {"a.", kUserNameInvalid, ""},
      {"a. ", kUserNameInvalid, ""},
      {"a:b", kUserNameInvalid, ""},
      {"a|b", kUserNameInvalid, ""},
      {"..\\x", kUserNameInvalid, ""},
      {"../x", kUserNameInvalid, ""},
      {"a\tb", kUserNameInvalid, ""},
      {"", kUserNameRequired, ""},
      {"    ", kUserNameRequired, ""},
      {nullptr, kUserNameRequired, ""},
  };
  for (const Case& c : cases) {
    char out[kUserNameSize] = "junk";
    EXPECT_EQ(CheckNewUserName(c.name, out), c.result) << (c.name ? c.name : "(null)");
    EXPECT_STREQ(out, c.clean) << (c.name ? c.name : "(null)");
  }
  // A name used to make paths must come through cleaning unchanged.
  EXPECT_TRUE(IsUserNameUsable("Ann Lee"));
  for (const char* bad : {"..\\x", "..", ".", " Ann", "Ann ", "a:b", "", "x."}) {
    EXPECT_FALSE(IsUserNameUsable(bad)) << bad;
  }
}

TEST(UserNames, TemplatesAndDefaultLayouts) {
  EXPECT_FALSE(UsesSettingsTemplate(nullptr));
  EXPECT_FALSE(UsesSettingsTemplate(""));
  EXPECT_FALSE(UsesSettingsTemplate("NONE"));
  EXPECT_FALSE(UsesSettingsTemplate("none"));
  EXPECT_TRUE(UsesSettingsTemplate("NONE2"));
  EXPECT_TRUE(UsesSettingsTemplate("Club.ini"));
  struct Case {
    int width, height;
    const char* layout;
  } cases[] = {{800, 600, "Default(800x600).LAY"},   {1024, 768, "Default(1024x768).LAY"},
               {1280, 960, "Default(1024x768).LAY"}, {1280, 1024, "Default(1280x1024).LAY"},
               {1023, 1024, "Default(800x600).LAY"}, {1920, 1080, "Default(1280x1024).LAY"}};
  for (const Case& c : cases) EXPECT_STREQ(DefaultLayoutFileName(c.width, c.height), c.layout);
}

TEST(UserList, FoldersHoldingTheirOwnRecordInByteOrder) {
  fs::path users = TestFolder();
  auto make = [&](const char* folder, const char* file) {
    fs::create_directories(users / folder);
    if (file) std::ofstream(users / folder / file) << "x";
  };
  make("ann", "ann.usr");
  make("Zed", "Zed.usr");
  make("Bob", "other.usr");  // not its own record
  make("Cy", nullptr);       // no record at all
  make(".hidden", ".hidden.usr");
  std::ofstream(users / "Loose.usr") << "x";  // a file, not a folder
  std::vector<std::string> list = ListUsers(users.string());
  EXPECT_EQ(list, (std::vector<std::string>{"Zed", "ann"}));
  EXPECT_TRUE(UserExists(list, "ANN"));
  EXPECT_FALSE(UserExists(list, "an"));
  EXPECT_TRUE(ListUsers((users / "missing").string()).empty());
}

TEST(UserList, WriteReplacesThroughATemporaryFileAndReadsBack) {
  fs::path folder = TestFolder();
  std::string path = (folder / "Ann.usr").string();
  UserProfile p{};
  MakeNewUserProfile(&p, "Ann", nullptr, "d");
  p.gameCount = 1;
  p.games = Entries(1, 9);
  ASSERT_TRUE(WriteUserFileAt(path, p));
  EXPECT_EQ(fs::file_size(path), 4424u);
  p.baseRating = 1712;
  ASSERT_TRUE(WriteUserFileAt(path, p));  // over the old one
  EXPECT_FALSE(fs::exists(path + ".tmp"));
  UserProfile back{};
  ASSERT_TRUE(ReadUserFileAt(path, &back));
  EXPECT_EQ(back.baseRating, 1712);
  EXPECT_EQ(back.gameCount, 1);
  FreeUserLists(&back);

  // A write that cannot be made leaves the old file whole.
  fs::create_directories(path + ".tmp");  // the temporary name is taken by a folder
  p.baseRating = 1;
  EXPECT_FALSE(WriteUserFileAt(path, p));
  ASSERT_TRUE(ReadUserFileAt(path, &back));
  EXPECT_EQ(back.baseRating, 1712);
  FreeUserLists(&back);
  FreeUserLists(&p);

  EXPECT_FALSE(ReadUserFileAt((folder / "none.usr").string(), &back));
  EXPECT_EQ(back.name[0], 0);
}

TEST(UserList, NewUsersIniNamesThePlayerInFiveRooms) {
  fs::path folder = TestFolder();
  std::string ini = (folder / "Ann.ini").string();
  std::ofstream(ini) << "[gameroom]\nwhite_player_name=x\n[lobbyroom]\nWallpaperType=bitmap\n";
  SetIniWhitePlayerName(ini, "Ann");
  const char* rooms[] = {"lobbyroom",   "gameroom",     "kidsroom",       "classroom",
                         "libraryroom", "databaseroom", "tournamentroom", "onlineroom"};
  const bool named[] = {false, true, true, true, true, false, true, false};
  for (int i = 0; i < 8; ++i) {
    char value[64];
    ProfileReadString(rooms[i], "white_player_name", "<none>", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, named[i] ? "Ann" : "<none>") << rooms[i];
  }
}

}  // namespace
