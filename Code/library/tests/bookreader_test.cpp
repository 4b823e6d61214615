// The reader for play: loading, walks, lookups by move order and by
// position, move picks, the name index and the checksum.
#include "bookreader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "book_fixture.h"
#include "booktree.h"

namespace {

// 1.e4 "King pawn" (ECO B00) e5 "Open game" 2.Nf3 "Kings knight." comment;
// 1.d4 "Queen pawn" d5 Nf3... and 1.Nf3 d5 2.d4 (transposes to 1.d4 d5 2.Nf3).
std::vector<uint8_t> SampleBook() {
  std::vector<BookMoveWord> words = {
      CoordWord("e2e4", 3, false, false),  // 0
      CoordWord("e7e5", 3, false, true),   // 1
      CoordWord("g1f3", 2, true, true),    // 2
      CoordWord("d2d4", 2, false, false),  // 3
      CoordWord("d7d5", 3, false, true),   // 4
      CoordWord("g1f3", 3, true, true),    // 5
      CoordWord("g1f3", 1, false, true),   // 6
      CoordWord("d7d5", 3, false, true),   // 7
      CoordWord("d2d4", 3, true, true),    // 8
  };
  return MakeBookImage(words, {{0, 128, "king pawn"},
                               {0, 130, "B00"},
                               {1, 128, "Open game"},
                               {2, 128, "Kings knight."},
                               {2, 129, "A {W:0 0 x}comment"},
                               {3, 128, "Queen pawn"},
                               {5, 128, "Zukertort line"},
                               {5, 130, "D02"}});
}

class BookReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SelectBookSlot(0);
    std::vector<uint8_t> image = SampleBook();
    ASSERT_TRUE(LoadBookImage(image.data(), image.size()));
  }
  void TearDown() override {
    SetBookRandomSource(nullptr);
    FreeAllBookSlots();
    SelectBookSlot(0);
  }
};

std::mt19937* g_rng;
int SeededBelow(int n) { return static_cast<int>((*g_rng)() % static_cast<unsigned>(n)); }

}  // namespace

TEST_F(BookReaderTest, WalksAndParents) {
  EXPECT_EQ(GetBookMoveCount(), 9);
  EXPECT_EQ(FirstChildNode(GetBookMoveWord(0), 0), 1);
  EXPECT_EQ(FirstChildNode(GetBookMoveWord(2), 2), kNoNode);
  EXPECT_EQ(NextSiblingNode(0), 3);
  EXPECT_EQ(NextSiblingNode(3), 6);
  EXPECT_EQ(NextSiblingNode(6), kNoNode);
  const uint16_t parents[9] = {kNoNode, 0, 1, kNoNode, 3, 4, kNoNode, 6, 7};
  for (int n = 0; n < 9; ++n) EXPECT_EQ(ParentNode(n), parents[n]) << "node " << n;
  std::vector<MoveRecord> line;
  ASSERT_TRUE(BuildBookLine(5, &line));
  EXPECT_EQ(line.size(), 3u);
}

TEST_F(BookReaderTest, LookupByMoveOrderGivesTexts) {
  std::vector<MoveRecord> moves = SanLine("e4 e5 Nf3");
  std::string comment, name, eco;
  EXPECT_FALSE(LookupBookPosition(moves.data(), 0, &comment, &name, &eco));
  ASSERT_TRUE(LookupBookPosition(moves.data(), 3, &comment, &name, &eco));
  EXPECT_EQ(name, "King pawn / Open game / Kings knight");
  EXPECT_EQ(comment, "A {W:0 0 x}comment");
  EXPECT_EQ(eco, "B00");
  ASSERT_TRUE(LookupBookPosition(moves.data(), 1, &comment, &name, &eco));
  EXPECT_EQ(name, "King pawn");
  EXPECT_EQ(comment, "");
  std::vector<MoveRecord> out = SanLine("e4 c5");
  EXPECT_FALSE(LookupBookPosition(out.data(), 2, nullptr, nullptr, nullptr));
}

TEST_F(BookReaderTest, TransposedPositionFoundByPosition) {
  std::vector<MoveRecord> moves = SanLine("d4 d5 Nf3");  // 3 4 5 by order
  std::string comment, name, eco;
  ASSERT_TRUE(LookupBookPosition(moves.data(), 3, &comment, &name, &eco));
  EXPECT_EQ(name, "Queen pawn / Zukertort line");
  // 1.Nf3 d5 2.d4 reaches the same position; the book's path by order is
  // 6 7 8 without a name, so it is found by order. A line that is not in
  // the book by order but reaches a book position:
  std::vector<MoveRecord> other = SanLine("Nf3 d5 d4");
  ASSERT_TRUE(LookupBookPosition(other.data(), 3, &comment, &name, &eco));
  EXPECT_EQ(name, "");  // by order: node 8 has no name

  // Remove 1.Nf3 from consideration: 1.d4 d5 2.Nf3 reached through 1.Nf3
  // d5 2.d4 in a book without the 1.Nf3 line.
  std::vector<BookMoveWord> words = {CoordWord("d2d4", 2, false, true), CoordWord("d7d5", 3, false, true),
                                     CoordWord("g1f3", 3, true, true)};
  std::vector<uint8_t> image = MakeBookImage(words, {{2, 128, "Zukertort line"}, {2, 129, "note"}});
  ASSERT_TRUE(LoadBookImage(image.data(), image.size()));
  ASSERT_TRUE(LookupBookPosition(other.data(), 3, &comment, &name, &eco));
  EXPECT_EQ(name, std::string("Zukertort line") + kTransposedMark);
  EXPECT_EQ(comment, "");

  char buffer[kOpeningNameBufferSize];
  SelectBookSlot(2);
  EXPECT_FALSE(GetBookOpeningName(other.data(), 3, buffer, 506));
  EXPECT_EQ(GetBookSlot(), 2);
  SelectBookSlot(0);
  ASSERT_TRUE(GetBookOpeningName(SanLine("d4 d5 Nf3").data(), 3, buffer, sizeof(buffer)));
  EXPECT_STREQ(buffer, " Zukertort line");
}

TEST_F(BookReaderTest, PickBookMoveFollowsWeights) {
  std::mt19937 rng(12345);
  g_rng = &rng;
  SetBookRandomSource(SeededBelow);
  // From the initial position: e4 code 3 (counts 4), d4 code 2 (2), Nf3 code 1 (1).
  int e4 = 0, d4 = 0, nf3 = 0;
  for (int i = 0; i < 10000; ++i) {
    MoveRecord m;
    ASSERT_TRUE(PickBookMove(nullptr, 0, false, &m));
    if (m.from == 0x64 && m.to == 0x44)
      ++e4;
    else if (m.from == 0x63 && m.to == 0x43)
      ++d4;
    else if (m.from == 0x76 && m.to == 0x55)
      ++nf3;
  }
  EXPECT_EQ(e4 + d4 + nf3, 10000);
  EXPECT_NEAR(static_cast<double>(e4) / d4, 2.0, 0.2);
  EXPECT_NEAR(static_cast<double>(d4) / nf3, 2.0, 0.3);

  // Only weight-0 moves: none without the flag, each equally with it.
  std::vector<BookMoveWord> words = {CoordWord("e2e4", 0, true, false), CoordWord("d2d4", 0, true, true)};
  std::vector<uint8_t> image = MakeBookImage(words, {});
  ASSERT_TRUE(LoadBookImage(image.data(), image.size()));
  MoveRecord m;
  EXPECT_FALSE(PickBookMove(nullptr, 0, false, &m));
  int first = 0;
  for (int i = 0; i < 10000; ++i) {
    ASSERT_TRUE(PickBookMove(nullptr, 0, true, &m));
    if (m.to == 0x44) ++first;
  }
  EXPECT_NEAR(first, 5000, 300);

  // Out of the book, and a leaf.
  std::vector<MoveRecord> moves = SanLine("e4");
  EXPECT_FALSE(PickBookMove(moves.data(), 1, true, &m));
}

TEST_F(BookReaderTest, NameIndexInAlphabeticalOrder) {
  ASSERT_TRUE(IndexBookWithProgress(nullptr));
  ASSERT_EQ(GetBookEntryCount(), 5);
  std::vector<std::string> names;
  for (int i = 0; i < 5; ++i) names.push_back(GetBookEntryText(i));
  EXPECT_EQ(names, (std::vector<std::string>{"King pawn", "King pawn / Open game",
                                             "King pawn / Open game / Kings knight", "Queen pawn",
                                             "Queen pawn / Zukertort line"}));
  EXPECT_EQ(GetBookEntryText(5), "");
  std::vector<MoveRecord> line;
  ASSERT_TRUE(GetBookEntryLine(4, &line));
  EXPECT_EQ(line.size(), 3u);
  // A cancelled build keeps nothing.
  FreeBookSlot();
  std::vector<uint8_t> image = SampleBook();
  ASSERT_TRUE(LoadBookImage(image.data(), image.size()));
  EXPECT_FALSE(IndexBookWithProgress([]() { return 1; }));
}

TEST_F(BookReaderTest, LoadFailuresLeaveTheSlotEmpty) {
  EXPECT_FALSE(LoadBookFile(""));
  EXPECT_FALSE(LoadBookFile("no/such/book.obk"));
  EXPECT_EQ(GetBookMoveCount(), 0);
  std::vector<uint8_t> bad = SampleBook();
  bad[0] = 'X';
  EXPECT_FALSE(LoadBookImage(bad.data(), bad.size()));
  std::vector<uint8_t> truncated = SampleBook();
  truncated.resize(12);
  EXPECT_FALSE(LoadBookImage(truncated.data(), truncated.size()));
  uint8_t bytes[4] = {1, 2, 3, 4};
  ReadBookBytes(bytes, 4, 0);
  EXPECT_EQ(bytes[0] | bytes[1] | bytes[2] | bytes[3], 0);
  MoveRecord m;
  EXPECT_FALSE(PickBookMove(nullptr, 0, true, &m));
  std::vector<MoveRecord> moves = SanLine("e4");
  EXPECT_FALSE(LookupBookPosition(moves.data(), 1, nullptr, nullptr, nullptr));

  std::string path = TempPath("reader.obk");
  WriteFile(path, SampleBook());
  EXPECT_TRUE(LoadBookFile(path.c_str()));
  EXPECT_EQ(GetBookMoveCount(), 9);
  std::remove(path.c_str());
}

TEST(BookChecksum, OfTheSmallBook) {
  std::vector<BookMoveWord> words = {CoordWord("e2e4", 3, false, false), CoordWord("e7e5", 2, true, true),
                                     CoordWord("d2d4", 0, true, true)};
  EXPECT_EQ(ComputeBookChecksum(words.data(), 3), 7844);
}

TEST(BookReaderWalks, AgreeWithTheWrittenTreeOnRandomShapes) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    BookTree tree;
    std::vector<int> nodes{BookTree::kRoot};
    int size = 1 + static_cast<int>(rng() % 300);
    for (int i = 0; i < size; ++i) {
      int parent = nodes[rng() % nodes.size()];
      nodes.push_back(tree.AddChild(parent, MakeBookMoveWord(static_cast<int>(rng() % 64),
                                                             static_cast<int>(rng() % 64), 0, false, false)));
    }
    std::string path = TempPath("shapes.obk");
    ASSERT_EQ(WriteBookTree(tree, path.c_str(), [](const std::string&) {}), 0);
    std::vector<BookTreeVisit> order = BookTreePreOrder(tree);
    std::vector<int> numberOf(static_cast<size_t>(tree.MoveCount() + 1), -1);
    for (size_t i = 0; i < order.size(); ++i)
      numberOf[static_cast<size_t>(order[i].node)] = static_cast<int>(i);
    SelectBookSlot(3);
    ASSERT_TRUE(LoadBookFile(path.c_str()));
    for (size_t i = 0; i < order.size(); ++i) {
      const BookTreeNode& n = tree[order[i].node];
      int parent = n.parent;
      for (int e = order[i].node; tree[e].previousSibling >= 0; e = tree[e].previousSibling)
        parent = tree[tree[e].previousSibling].parent;
      uint16_t expectedParent =
          parent == BookTree::kRoot ? kNoNode : static_cast<uint16_t>(numberOf[static_cast<size_t>(parent)]);
      uint16_t expectedSibling =
          n.nextSibling < 0 ? kNoNode : static_cast<uint16_t>(numberOf[static_cast<size_t>(n.nextSibling)]);
      uint16_t expectedChild =
          n.firstChild < 0 ? kNoNode : static_cast<uint16_t>(numberOf[static_cast<size_t>(n.firstChild)]);
      ASSERT_EQ(ParentNode(static_cast<int>(i)), expectedParent) << "round " << round << " node " << i;
      ASSERT_EQ(NextSiblingNode(static_cast<int>(i)), expectedSibling);
      ASSERT_EQ(FirstChildNode(GetBookMoveWord(static_cast<int>(i)), static_cast<int>(i)), expectedChild);
    }
    FreeBookSlot();
    SelectBookSlot(0);
    std::remove(path.c_str());
  }
}
