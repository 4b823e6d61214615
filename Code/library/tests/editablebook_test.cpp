// The editable book: opening and saving, the move table's links and limits,
// the text store's records and gaps.
#include "editablebook.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "book_fixture.h"

namespace {
std::vector<std::string> g_messages;
void Collect(const char* text) { g_messages.push_back(text); }
}  // namespace

TEST(EditableBook, OpenCodes) {
  EditableBook book;
  EXPECT_EQ(book.Open(nullptr), -1);
  EXPECT_EQ(book.Open("no-such-book.obk"), -1);
  std::string path = TempPath("open.obk");
  WriteFile(path, {'N', 'O', 'P', 'E', 0, 0, 0, 0});
  EXPECT_EQ(book.Open(path.c_str()), -2);
  WriteFile(path, {'U', 'G', 'W', 'S', 9, 0, 0, 0});  // N words missing
  EXPECT_EQ(book.Open(path.c_str()), -2);
  EXPECT_EQ(book.MoveCount(), 0);
  WriteFile(path, MakeBookImage({CoordWord("e2e4", 3, false, false), CoordWord("e7e5", 2, true, true),
                                 CoordWord("d2d4", 0, true, true)},
                                {{0, 128, "King pawn"}, {1, 129, std::string(300, 'x')}}));
  EXPECT_EQ(book.Open(path.c_str()), 0);
  EXPECT_FALSE(book.modified());
  EXPECT_EQ(book.MoveCount(), 3);
  EXPECT_EQ(book.NextSibling(0), 2);
  EXPECT_EQ(book.FirstChild(0), 1);
  EXPECT_EQ(book.FirstChild(1), kNoNode);
  EXPECT_EQ(book.TextRecordCount(), 3);
  EXPECT_EQ(book.TextGroupCount(), 2);
  EXPECT_EQ(book.TextAt(book.TextSize()), nullptr);
  // Memory codes -3 to -5 come from failed allocations, which a test cannot
  // force without replacing the allocator.
  std::remove(path.c_str());
}

TEST(EditableBook, EmptyBookSavesAsEightBytes) {
  EditableBook book;
  EXPECT_EQ(book.Create(-1, 0, 0), -1);
  ASSERT_EQ(book.Create(0, 0, 0), 0);
  std::string path = TempPath("empty-save.obk");
  ASSERT_EQ(book.Save(path.c_str()), 0);
  EXPECT_EQ(ReadFile(path), (std::vector<uint8_t>{'U', 'G', 'W', 'S', 0, 0, 0, 0}));
  EditableBook again;
  EXPECT_EQ(again.Open(path.c_str()), 0);
  EXPECT_EQ(again.MoveCount(), 0);

  // All moves deleted from a table: the saved book is the empty book.
  BookMoveTable table(4);
  int e = table.AddBookMove(0, CoordWord("e2e4", 3, false, false), 0xFFFF, true);
  table.Unlink(e);
  table.FreeEntry(e);
  BookTextStore store;
  ASSERT_EQ(StoreBookMoves(table, store, path.c_str()), 0);
  EXPECT_EQ(ReadFile(path).size(), 8u);
  std::remove(path.c_str());
}

TEST(EditableBook, MoveTableLinksKeepTheWordBits) {
  BookMoveTable table(2);
  int e4 = table.AddBookMove(0, CoordWord("e2e4", 3, false, false), 0xFFFF, true);
  EXPECT_TRUE(BookWordIsLeaf(table.MoveWord(e4)));
  EXPECT_TRUE(BookWordIsLast(table.MoveWord(e4)));
  int e5 = table.AddBookMove(e4, CoordWord("e7e5", 2, false, false), 0xFFFF, false);
  EXPECT_FALSE(BookWordIsLeaf(table.MoveWord(e4)));
  int c5 = table.AddBookMove(e4, CoordWord("c7c5", 1, false, false), 0xFFFF, false);
  EXPECT_FALSE(BookWordIsLast(table.MoveWord(e5)));
  EXPECT_EQ(table.NextSibling(e5), c5);
  EXPECT_EQ(table.Depth(c5), 2);
  EXPECT_EQ(table.Capacity(), 3 + BookMoveTable::kGrowth);  // grew once

  table.Unlink(c5);
  EXPECT_TRUE(BookWordIsLast(table.MoveWord(e5)));
  table.Unlink(e5);
  EXPECT_TRUE(BookWordIsLeaf(table.MoveWord(e4)));
  table.SetFirstChild(e4, e5);
  EXPECT_FALSE(BookWordIsLeaf(table.MoveWord(e4)));
  table.SetWeight(e4, 2);
  EXPECT_EQ(table.Weight(e4), 2);
}

TEST(EditableBook, FullTableRefusesMoves) {
  g_messages.clear();
  SetBookMessageSink(Collect);
  BookMoveTable table(BookMoveTable::kMaxEntries);
  EXPECT_EQ(table.Capacity(), BookMoveTable::kMaxEntries);
  int parent = 0;
  for (int i = 1; i < BookMoveTable::kMaxEntries; ++i) {
    int e = table.AddBookMove(parent, CoordWord("g1f3", 0, false, false), 0xFFFF, true);
    ASSERT_GE(e, 0);
    if (i % 100 == 0) parent = e;
  }
  EXPECT_EQ(table.EntriesInUse(), BookMoveTable::kMaxEntries);
  EXPECT_EQ(table.AddBookMove(0, CoordWord("e2e4", 0, false, false), 0xFFFF, true), -1);
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0], kBookTableFullMessage);
  SetBookMessageSink(nullptr);
}

TEST(EditableBook, TextStoreRecordsGapsAndSaving) {
  std::string path = TempPath("texts.obk");
  WriteFile(path, MakeBookImage({CoordWord("e2e4", 3, false, false), CoordWord("e7e5", 2, true, true),
                                 CoordWord("d2d4", 0, true, true)},
                                {{0, 128, "King pawn"}, {2, 130, "D00"}}));
  EditableBook book;
  ASSERT_EQ(book.Open(path.c_str()), 0);
  BookMoveTable table(book.MoveCount());
  EXPECT_EQ(LoadBookMoves(book, &table), 4);
  BookTextStore store;
  store.Load(book);
  EXPECT_EQ(store.GetText(1, 128), "King pawn");
  EXPECT_EQ(store.GetText(3, 130), "D00");

  std::string comment(300, 'k');
  uint32_t before = store.TextBytes();
  store.SetBookText(2, 129, comment);
  EXPECT_EQ(store.PieceCount(2, 129), 2);
  EXPECT_EQ(store.CopyRecord(2, 129, 0).size(), 4u + 255);
  EXPECT_EQ(store.CopyRecord(2, 129, 1).size(), 4u + 45);
  EXPECT_EQ(store.GetText(2, 129), comment);
  EXPECT_EQ(store.TextBytes(), before + 8 + 300);

  store.SetBookText(1, 128, "Open game");  // leaves a gap of 13 bytes
  EXPECT_EQ(store.DeletedBytes(), 13u);
  store.SetBookText(3, 130, "D0\r\n2");
  EXPECT_EQ(store.GetText(3, 130), "D02");

  ASSERT_EQ(StoreBookMoves(table, store, path.c_str()), 0);
  EditableBook saved;
  ASSERT_EQ(saved.Open(path.c_str()), 0);
  EXPECT_EQ(saved.MoveCount(), 3);
  EXPECT_EQ(saved.TextSize(), store.TextBytes() - store.DeletedBytes());
  std::vector<uint8_t> area;
  saved.CopyTextArea(&area);
  EXPECT_EQ(ReadNodeText(area.data(), static_cast<uint32_t>(area.size()), 1, 129), comment);
  EXPECT_EQ(ReadNodeText(area.data(), static_cast<uint32_t>(area.size()), 0, 128), "Open game");
  EXPECT_EQ(ReadNodeText(area.data(), static_cast<uint32_t>(area.size()), 2, 130), "D02");
  EXPECT_EQ(saved.TextRecordCount(), 4);
  std::remove(path.c_str());
}

TEST(EditableBook, SaveThatCannotCreateTheFileFails) {
  EditableBook book;
  ASSERT_EQ(book.Create(0, 0, 0), 0);
  // A folder cannot be created as a file. (The write-protected message needs
  // a file the tests' user cannot write, which root can always write.)
  EXPECT_EQ(book.Save("."), -1);
  EXPECT_EQ(book.Save(""), -1);
}
