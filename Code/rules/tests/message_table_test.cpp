#include "message_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// The fixture "TESTMSG" is compiled from tests/data/testmsg.txt by the
// msgtable tool into the test's working folder.
std::vector<uint8_t> ReadFixture(const char* extension) {
  std::ifstream in(std::string("TESTMSG") + extension, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string Text(int n, int s1, int s2) {
  char buffer[256];
  return GetMessageText(n, s1, s2, buffer, sizeof buffer);
}

class MessageTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeMessageTables();
    ASSERT_TRUE(LoadMessageTable("TESTMSG"));
  }
  void TearDown() override { FreeMessageTables(); }
};

TEST_F(MessageTableTest, LooksUpBySelectors) {
  const struct {
    int n, s1, s2;
    const char* text;
  } cases[] = {
      {0, 3, 0, "Three and nought."},
      {0, 3, 1, ""},  // selector-2 chain ends without a match
      {0, 7, 2, "Seven and two."},
      {0, 7, 4, "Seven and four."},
      {0, 9, 0, ""},  // selector-1 chain ends
      {2, 0, 0, ""},  // record without text
      {3, 1, 1, "{H e4}The pawn on e4 is strong.\nIt controls d5."},
      {4, 0, 0, ""},  // number equal to N
      {60000, 0, 0, ""},
      {-1, 0, 0, ""},
      {0, 259, 0, ""},  // selector that no byte holds
  };
  for (const auto& c : cases) EXPECT_EQ(Text(c.n, c.s1, c.s2), c.text) << c.n << " " << c.s1 << " " << c.s2;
  EXPECT_EQ(FindMessage(2, 0, 0), kNoMessage);
  EXPECT_EQ(FindMessage(4, 0, 0), kNoMessage);
}

TEST_F(MessageTableTest, VariantsGiveEachWordingAndNoOther) {
  std::set<std::string> seen;
  for (int k = 0; k < 300; ++k) seen.insert(Text(1, 0, 0));
  EXPECT_EQ(seen, (std::set<std::string>{"Wording A.", "Wording B.", "Wording C."}));
}

TEST_F(MessageTableTest, CopyIsCutToTheBuffer) {
  char small[6] = "xxxxx";
  EXPECT_STREQ(GetMessageText(0, 3, 0, small, sizeof small), "Three");
  char one[1] = {'x'};
  EXPECT_STREQ(GetMessageText(0, 3, 0, one, sizeof one), "");
  EXPECT_EQ(GetMessageText(0, 3, 0, nullptr, 10), nullptr);
}

TEST_F(MessageTableTest, SelectionByExactName) {
  SelectMessageTable("TESTMS");
  EXPECT_EQ(Text(0, 3, 0), "");
  SelectMessageTable("TESTMSG");
  EXPECT_EQ(Text(0, 3, 0), "Three and nought.");
  SelectMessageTable(nullptr);
  EXPECT_EQ(Text(0, 3, 0), "");
}

TEST_F(MessageTableTest, LoadFailuresKeepTheCurrentTable) {
  EXPECT_FALSE(LoadMessageTable("NOSUCHTABLE"));
  EXPECT_FALSE(
      LoadMessageTable("A_NAME_OF_TWENTY_CH"
                       "X"));
  EXPECT_FALSE(LoadMessageTable(""));
  EXPECT_FALSE(LoadMessageTable(nullptr));
  EXPECT_EQ(Text(0, 3, 0), "Three and nought.");
}

TEST_F(MessageTableTest, SixthTableIsRefused) {
  for (int k = 1; k < kMessageTableSlots; ++k) EXPECT_TRUE(LoadMessageTable("TESTMSG")) << k;
  EXPECT_FALSE(LoadMessageTable("TESTMSG"));
  EXPECT_EQ(Text(0, 7, 4), "Seven and four.");
}

// Damaged images: each must give empty texts (or a plain text) and never read
// outside the images or loop.
TEST(MessageTableDamage, DamagedImagesGiveEmptyText) {
  const std::vector<uint8_t> cel = ReadFixture(".CEL");
  const std::vector<uint8_t> str = ReadFixture(".STR");
  ASSERT_GT(cel.size(), 12u);
  const size_t n = cel[0] | cel[1] << 8;
  const size_t records = 2 + 2 * n;
  auto put16 = [](std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  auto rec = [&](int i) { return records + 13 * static_cast<size_t>(i); };

  struct Case {
    const char* what;
    std::vector<uint8_t> cel, str;
  };
  std::vector<Case> cases;
  cases.push_back({"empty index", {}, str});
  cases.push_back({"one byte index", {7}, str});
  {
    std::vector<uint8_t> c(cel.begin(), cel.begin() + 4);  // N but no records
    cases.push_back({"index without records", c, str});
  }
  {
    std::vector<uint8_t> c = cel;
    put16(c, 0, 60000);  // N far beyond the file
    cases.push_back({"N beyond the file", c, str});
  }
  {
    std::vector<uint8_t> c = cel;
    put16(c, 2, 5000);  // first record index beyond the records
    cases.push_back({"first record out of range", c, str});
  }
  {
    std::vector<uint8_t> c = cel;
    put16(c, rec(0) + 9, 0);  // selector-1 link to itself
    put16(c, rec(0) + 11, 0);
    cases.push_back({"cyclic links", c, str});
  }
  {
    std::vector<uint8_t> c = cel;
    c[rec(0) + 3] = 0xF0;  // text offset beyond ".STR"
    c[rec(0) + 6] = 0x7F;
    cases.push_back({"text offset out of range", c, str});
  }
  {
    std::vector<uint8_t> c = cel;
    c[rec(3) + 2] = 200;  // claims 200 wordings
    cases.push_back({"variant count beyond the chain", c, str});
  }
  {
    std::vector<uint8_t> c(cel.begin(), cel.end() - 5);  // last record cut
    cases.push_back({"truncated records", c, str});
  }
  cases.push_back({"empty texts file", cel, {}});

  for (const Case& c : cases) {
    FreeMessageTables();
    ASSERT_TRUE(LoadMessageTableImages("DAMAGED", c.cel.data(), c.cel.size(), c.str.data(), c.str.size()))
        << c.what;
    for (int number : {0, 1, 2, 3, 4, 5, 60000}) {
      for (int s1 : {0, 1, 3, 7, 9}) {
        for (int s2 : {0, 1, 2, 4}) {
          std::string t = Text(number, s1, s2);
          EXPECT_LT(t.size(), 255u) << c.what;
        }
      }
    }
  }
  // A cycle on the selector-1 chain: an unmatched selector gives no text.
  FreeMessageTables();
  ASSERT_TRUE(
      LoadMessageTableImages("DAMAGED", cases[5].cel.data(), cases[5].cel.size(), str.data(), str.size()));
  EXPECT_EQ(Text(0, 9, 9), "");
  EXPECT_EQ(Text(0, 3, 0), "Three and nought.");
  // A record that claims more wordings than its chain has gives either a
  // real wording or nothing.
  FreeMessageTables();
  ASSERT_TRUE(
      LoadMessageTableImages("DAMAGED", cases[7].cel.data(), cases[7].cel.size(), str.data(), str.size()));
  for (int k = 0; k < 50; ++k) {
    std::string t = Text(1, 0, 0);
    EXPECT_TRUE(t.empty() || t == "Wording A." || t == "Wording B." || t == "Wording C.") << t;
  }
  FreeMessageTables();
}

}  // namespace
