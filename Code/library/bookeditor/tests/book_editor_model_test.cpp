// The book editor's model on small books: weights of played moves, no
// duplicate entries, subtree deletion down to the saved file, text edits
// through save and reload, the read-only book, the shown texts and a save
// that fails.
#include "book_editor_model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "book_fixture.h"
#include "bookreader.h"
#include "movegen.h"

namespace {

// 1.e4 (100 %) e5 (50 %) 2.Nf3 Nc6, 1...c5 (25 %); 1.d4 (50 %), with names on
// e4, e5 and Nf3 and the ECO code and a comment on e5.
std::string ItalianBook(const char* name) {
  const std::string path = TempPath(name);
  WriteFile(path, MakeBookImage({CoordWord("e2e4", 3, false, false), CoordWord("e7e5", 2, false, false),
                                 CoordWord("g1f3", 3, false, true), CoordWord("b8c6", 3, true, true),
                                 CoordWord("c7c5", 1, true, true), CoordWord("d2d4", 2, true, true)},
                                {{0, BOOK_TEXT_NAME, "King's Pawn Opening"},
                                 {1, BOOK_TEXT_NAME, "Open Game"},
                                 {1, BOOK_TEXT_ECO, "C20"},
                                 {1, BOOK_TEXT_COMMENT, "The classical reply."},
                                 {2, BOOK_TEXT_NAME, "{x}King's Knight Opening"}}));
  return path;
}

// The entry reached by moves in short algebraic notation from the root.
int Walk(const BookEditorModel& model, std::initializer_list<const char*> moves) {
  int entry = 0;
  for (const char* m : moves) {
    int found = -1;
    for (int c : model.Children(entry))
      if (model.MoveText(c) == m) found = c;
    if (found < 0) return -1;
    entry = found;
  }
  return entry;
}

// The legal move `coords` ("g8f6") after the entry's line.
MoveRecord MoveAfter(const BookEditorModel& model, int entry, const char* coords) {
  std::vector<MoveRecord> line;
  model.ReplayLine(entry, &line);
  Board board;
  SetInitialBoard(&board);
  int side = WHITE;
  for (MoveRecord m : line) {
    MakeMove(&m, &board);
    side = OtherSide(side);
  }
  const int from = ('8' - coords[1]) * 16 + (coords[0] - 'a'), to = ('8' - coords[3]) * 16 + (coords[2] - 'a');
  MoveRecord legal[kMoveListRoom];
  const int count = GenerateLegalMoves(&board, legal, nullptr, side);
  for (int i = 0; i < count; ++i)
    if (legal[i].from == from && legal[i].to == to) return legal[i];
  ADD_FAILURE() << "no legal move " << coords;
  return MoveRecord{};
}

// Node count of a book file, read back through the play-time reader.
int NodesOf(const std::string& path) {
  SelectBookSlot(4);
  const int n = LoadBookFile(path.c_str()) ? GetBookMoveCount() : -1;
  FreeBookSlot();
  SelectBookSlot(0);
  return n;
}

const BookEditorPending kNothing;

}  // namespace

TEST(BookEditorModel, PlayedMovesGetTheirWeightsAndAMoveAlreadyThereIsSelected) {
  BookEditorModel model(TempPath("no_such_book.obk"), false);  // an empty book under that name
  EXPECT_EQ(model.Table().EntriesInUse(), 1);
  ASSERT_TRUE(model.Select(0, kNothing));
  const int e4 = model.AddPlayedMove(MoveAfter(model, 0, "e2e4"), kNothing);
  ASSERT_GT(e4, 0);
  EXPECT_EQ(model.Current(), e4);
  EXPECT_EQ(model.View(e4).weight, 3) << "a first child is 100 %";
  EXPECT_TRUE(model.Modified());

  model.Select(0, kNothing);
  const int d4 = model.AddPlayedMove(MoveAfter(model, 0, "d2d4"), kNothing);
  EXPECT_EQ(model.View(d4).weight, 1) << "a further child is 25 %";
  model.Select(0, kNothing);
  EXPECT_EQ(model.AddPlayedMove(MoveAfter(model, 0, "e2e4"), kNothing), e4) << "no duplicate";
  EXPECT_EQ(model.Children(0), (std::vector<int>{e4, d4}));

  // Black's reply below e4 is a Black move at depth 1.
  const int e5 = model.AddPlayedMove(MoveAfter(model, e4, "e7e5"), kNothing);
  EXPECT_EQ(model.CurrentDepth(), 2);
  EXPECT_EQ(model.Table().Flags(e5) & BOOK_ENTRY_WHITE, 0u);
  EXPECT_EQ(model.View(e5).line, "1.e4 e5");
}

TEST(BookEditorModel, ShownTextsOfAnEntry) {
  const std::string path = ItalianBook("shown.obk");
  BookEditorModel model(path, false);
  const int nf3 = Walk(model, {"e4", "e5", "Nf3"});
  ASSERT_GT(nf3, 0);
  const BookEntryView view = model.View(nf3);
  EXPECT_EQ(view.line, "1.e4 e5 2.Nf3");
  EXPECT_EQ(view.name, "King's Knight Opening") << "markup groups removed";
  EXPECT_EQ(view.variation, "King's Pawn Opening\\Open Game\\King's Knight Opening");
  EXPECT_EQ(view.weight, 3);
  EXPECT_TRUE(view.editable);
  const BookEntryView e5 = model.View(Walk(model, {"e4", "e5"}));
  EXPECT_EQ(e5.eco, "C20");
  EXPECT_EQ(e5.comment, "The classical reply.");
  EXPECT_FALSE(model.View(0).editable) << "the root";
  EXPECT_EQ(model.MoveText(0), "move");
  std::remove(path.c_str());
}

TEST(BookEditorModel, DeletingRemovesTheSubtreeAndItsTextsFromTheSavedBook) {
  const std::string path = ItalianBook("delete.obk");
  BookEditorModel model(path, false);
  EXPECT_EQ(NodesOf(path), 6);
  const int e5 = Walk(model, {"e4", "e5"}), c5 = Walk(model, {"e4", "c5"}), e4 = Walk(model, {"e4"});
  model.Select(Walk(model, {"e4", "e5", "Nf3", "Nc6"}), kNothing);  // the selection inside the subtree
  // No previous sibling: the next one is shown.
  EXPECT_EQ(model.DeleteEntry(e5), c5);
  EXPECT_EQ(model.Children(e4), std::vector<int>{c5});
  EXPECT_EQ(model.Table().EntriesInUse(), 1 + 6 - 3);
  EXPECT_EQ(model.DeleteEntry(0), -1) << "the root stays";
  ASSERT_TRUE(model.Save(path, kNothing));
  EXPECT_FALSE(model.Modified());
  EXPECT_EQ(NodesOf(path), 3);

  BookEditorModel again(path, false);
  EXPECT_EQ(Walk(again, {"e4", "e5"}), -1);
  EXPECT_EQ(again.View(Walk(again, {"e4"})).name, "King's Pawn Opening");
  // Deleting the last child shows its previous sibling, an only child its parent.
  const int d4 = Walk(again, {"d4"});
  EXPECT_EQ(again.DeleteEntry(d4), Walk(again, {"e4"}));
  EXPECT_EQ(again.DeleteEntry(Walk(again, {"e4", "c5"})), Walk(again, {"e4"}));
  std::remove(path.c_str());
}

TEST(BookEditorModel, EditsSurviveSaveAndReloadAlsoOnANewMove) {
  const std::string path = ItalianBook("edits.obk");
  {
    BookEditorModel model(path, false);
    const int e5 = Walk(model, {"e4", "e5"});
    model.Select(e5, kNothing);
    model.MarkDirty(BOOK_TEXT_NAME);
    model.MarkDirty(BOOK_TEXT_ECO);
    model.MarkDirty(BOOK_TEXT_COMMENT);
    ASSERT_TRUE(model.SetWeight(1));
    BookEditorPending edited{"C20x-long", "Double King's Pawn", "Both sides take the centre."};
    // Moving the selection stores the edits of the entry left.
    const int nf3 = Walk(model, {"e4", "e5", "Nf3"});
    model.Select(nf3, edited);
    // A move added now, and named before the save stores it.
    const int nc6 = Walk(model, {"e4", "e5", "Nf3", "Nc6"});
    model.Select(nc6, kNothing);
    const int bc4 = model.AddPlayedMove(MoveAfter(model, nc6, "f1c4"), kNothing);
    ASSERT_GT(bc4, 0);
    model.MarkDirty(BOOK_TEXT_NAME);
    ASSERT_TRUE(model.Save(path, BookEditorPending{"", "Italian Game", ""}));
  }
  BookEditorModel model(path, false);
  const BookEntryView e5 = model.View(Walk(model, {"e4", "e5"}));
  EXPECT_EQ(e5.name, "Double King's Pawn");
  EXPECT_EQ(e5.eco, "C20x-lo") << "at most seven characters";
  EXPECT_EQ(e5.comment, "Both sides take the centre.");
  EXPECT_EQ(e5.weight, 1);
  const BookEntryView bc4 = model.View(Walk(model, {"e4", "e5", "Nf3", "Nc6", "Bc4"}));
  EXPECT_EQ(bc4.name, "Italian Game");
  EXPECT_EQ(bc4.line, "1.e4 e5 2.Nf3 Nc6 3.Bc4");
  EXPECT_EQ(bc4.weight, 3);
  std::remove(path.c_str());
}

TEST(BookEditorModel, AReadOnlyBookStoresNothingButFollowsItsMoves) {
  const std::string path = ItalianBook("readonly.obk");
  const std::vector<uint8_t> before = ReadFile(path);
  BookEditorModel model(path, true);
  const int e5 = Walk(model, {"e4", "e5"});
  model.Select(e5, kNothing);
  model.MarkDirty(BOOK_TEXT_NAME);
  model.Select(0, BookEditorPending{"", "changed", ""});
  EXPECT_EQ(model.View(e5).name, "Open Game");
  EXPECT_FALSE(model.View(e5).editable);
  EXPECT_FALSE(model.SetWeight(0));
  EXPECT_EQ(model.DeleteEntry(e5), -1);
  EXPECT_EQ(model.AddPlayedMove(MoveAfter(model, 0, "c2c4"), kNothing), -1) << "nothing added";
  EXPECT_EQ(model.AddPlayedMove(MoveAfter(model, 0, "e2e4"), kNothing), Walk(model, {"e4"}))
      << "a move in the book is selected";
  EXPECT_FALSE(model.Modified());
  EXPECT_EQ(ReadFile(path), before);
  std::remove(path.c_str());
}

TEST(BookEditorModel, AFailedSaveKeepsTheEditsAndLongTextsAreBounded) {
  const std::string path = ItalianBook("failed.obk");
  BookEditorModel model(path, false);
  const int e5 = Walk(model, {"e4", "e5"});
  model.Select(e5, kNothing);
  model.MarkDirty(BOOK_TEXT_COMMENT);
  model.Select(0, BookEditorPending{"", "", std::string(5000, 'c')});
  EXPECT_EQ(model.View(e5).comment.size(), kBookEditorTextLimit);

  const std::string nowhere = TempPath("no_such_folder") + "/failed.obk";
  EXPECT_FALSE(model.Save(nowhere, kNothing));
  EXPECT_TRUE(model.Modified()) << "the edits are not lost";
  EXPECT_EQ(model.FileName(), path);
  // Saved under another name, unmodified, the book as loaded is written.
  const std::string copy = TempPath("failed_copy.obk");
  ASSERT_TRUE(model.Save(path, kNothing));
  ASSERT_TRUE(model.Save(copy, kNothing));
  EXPECT_EQ(ReadFile(copy), ReadFile(path));
  EXPECT_EQ(model.FileName(), copy);
  std::remove(path.c_str());
  std::remove(copy.c_str());
}
