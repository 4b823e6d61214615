// The file layout: header, sibling table, text records, composed names and
// the checksum.
#include "bookformat.h"

#include <gtest/gtest.h>

#include "book_fixture.h"

TEST(BookFormat, HeaderOfEmptyAndDamagedImages) {
  std::vector<uint8_t> empty = MakeBookImage({}, {});
  ASSERT_EQ(empty.size(), 8u);
  uint16_t n = 1;
  uint32_t t = 1;
  EXPECT_TRUE(ReadBookHeader(empty.data(), empty.size(), &n, &t));
  EXPECT_EQ(n, 0);
  EXPECT_EQ(t, 0u);

  // N larger than the image: not a book.
  std::vector<uint8_t> lying = empty;
  lying[4] = 200;
  EXPECT_FALSE(ReadBookHeader(lying.data(), lying.size(), &n, &t));
  EXPECT_FALSE(ReadBookHeader(empty.data(), 7, &n, &t));

  // T = 0 with records present: the rest of the file; T past the end is cut.
  std::vector<uint8_t> zeroT = MakeBookImage({CoordWord("e2e4", 3, true, true)}, {{0, 128, "King pawn"}}, 0);
  EXPECT_TRUE(ReadBookHeader(zeroT.data(), zeroT.size(), &n, &t));
  EXPECT_EQ(t, 13u);
  std::vector<uint8_t> bigT =
      MakeBookImage({CoordWord("e2e4", 3, true, true)}, {{0, 128, "King pawn"}}, 60000);
  EXPECT_TRUE(ReadBookHeader(bigT.data(), bigT.size(), &n, &t));
  EXPECT_EQ(t, 13u);
}

TEST(BookFormat, SiblingTable) {
  // 1.e4 e5 (leaf, last) 1.d4 (leaf, last): node 0 gets next sibling 2.
  std::vector<BookMoveWord> words = {CoordWord("e2e4", 3, false, false), CoordWord("e7e5", 2, true, true),
                                     CoordWord("d2d4", 0, true, true)};
  std::vector<uint16_t> siblings;
  BuildSiblingTable(words.data(), 3, &siblings);
  EXPECT_EQ(siblings, (std::vector<uint16_t>{2, kNoNode, kNoNode}));

  // A damaged tree whose last node claims a sibling: none past the end.
  std::vector<BookMoveWord> damaged = {CoordWord("e2e4", 0, true, false)};
  BuildSiblingTable(damaged.data(), 1, &siblings);
  EXPECT_EQ(siblings[0], kNoNode);
}

TEST(BookFormat, TextRecordsStopAtEndsAndTruncation) {
  std::string comment255(255, 'c'), comment256(256, 'd');
  std::vector<uint8_t> one = MakeBookImage({CoordWord("e2e4", 0, true, true)}, {{0, 129, comment255}});
  std::vector<uint8_t> two = MakeBookImage({CoordWord("e2e4", 0, true, true)}, {{0, 129, comment256}});
  EXPECT_EQ(one.size(), 10u + 4 + 255);
  EXPECT_EQ(two.size(), 10u + 8 + 256);
  EXPECT_EQ(two[10 + 2], 255);
  EXPECT_EQ(two[10 + 259 + 2], 1);
  EXPECT_EQ(ReadNodeText(two.data() + 10, static_cast<uint32_t>(two.size() - 10), 0, 129), comment256);

  // A record whose text runs past the area is not read.
  BookTextRecord r;
  EXPECT_FALSE(ReadTextRecord(one.data() + 10, 100, 0, &r));
  EXPECT_FALSE(ReadTextRecord(one.data() + 10, 3, 0, &r));
  // A node field of 0 ends the area.
  std::vector<uint8_t> area = {0, 0, 1, 128, 'x'};
  EXPECT_FALSE(ReadTextRecord(area.data(), 5, 0, &r));
}

TEST(BookFormat, ComposedNames) {
  struct Case {
    std::vector<std::string> deepestFirst;
    std::string expected;
  } cases[] = {
      {{"Najdorf", "Sicilian", "King pawn"}, "King pawn / Sicilian / Najdorf"},
      {{"Deep.", "Shallow"}, "Shallow / Deep"},
      {{"Deep", "Shallow."}, "Deep"},
      {{"", "Only."}, "Only"},
      {{}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ComposeOpeningName(c.deepestFirst), c.expected);
  std::vector<std::string> many(40, std::string(200, 'n'));
  EXPECT_LE(ComposeOpeningName(many).size(), kMaxComposedName);
}

TEST(BookFormat, MarkupRemoval) { EXPECT_EQ(RemoveMarkupCodes("A{W:0 0 x}B{{nested}}C}"), "ABC"); }

TEST(BookFile, AWholeFileReplacesTheOldOneAndLeavesNothingBeside) {
  const std::string path = TempPath("replace.obk");
  WriteFile(path, std::vector<uint8_t>(100, 7));
  const std::vector<uint8_t> image = MakeBookImage({CoordWord("e2e4", 3, true, true)}, {});
  ASSERT_TRUE(WriteBookFile(path.c_str(), image.data(), image.size()));
  EXPECT_EQ(ReadFile(path), image) << "no tail of the longer old file";
  EXPECT_TRUE(ReadFile(path + ".tmp").empty());
  // A folder that is not there: nothing is written and the error is told.
  int error = 0;
  const std::string nowhere = TempPath("no_such_folder") + "/x.obk";
  EXPECT_FALSE(WriteBookFile(nowhere.c_str(), image.data(), image.size(), &error));
  EXPECT_NE(error, 0);
  EXPECT_FALSE(WriteBookFile(nullptr, image.data(), image.size()));
  std::remove(path.c_str());
}
