// The default and the reference book as the build makes them: every line of
// the ECO file is in them with its opening name and code, the engine finds
// sound, weighted first moves, and the reference book carries its comments.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "board.h"
#include "book_editor_model.h"
#include "bookgames.h"
#include "bookreader.h"
#include "notation.h"

namespace {

std::string ExpectedName(const BookGame& game) {
  std::string name;
  for (const char* tag : {"Opening", "Variation", "SubVariation"}) {
    const std::string* value = game.Tag(tag);
    if (value == nullptr || value->empty()) continue;
    if (!name.empty()) name += ", ";
    name += *value;
  }
  if (!name.empty()) CapitalizeFirstLetter(&name[0]);
  return name;
}

class DefaultBook : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    SelectBookSlot(0);
    ASSERT_TRUE(LoadBookFile(GetParam())) << GetParam();
  }
  void TearDown() override { FreeBookSlot(); }
};

}  // namespace

TEST_P(DefaultBook, EveryEcoLineHasItsName) {
  FILE* f = std::fopen(RW_ECO_FILE, "r");
  ASSERT_NE(f, nullptr) << RW_ECO_FILE;
  PgnGameSource games(FileLineSource(f), 380);
  BookGame game;
  BookGameError error;
  std::map<std::string, std::pair<std::string, std::string>> firstName;  // line -> name, ECO
  int lines = 0, named = 0;
  while (games.NextGame(&game, &error) == GAME_READ_GAME) {
    if (game.moves.empty()) continue;
    std::string key;
    for (const MoveRecord& m : game.moves) key += std::to_string(m.from) + "-" + std::to_string(m.to) + " ";
    const std::string* eco = game.Tag("ECO");
    firstName.emplace(key, std::make_pair(ExpectedName(game), eco ? *eco : std::string()));
    const auto& expected = firstName[key];
    std::string name, code;
    ASSERT_TRUE(
        LookupBookPosition(game.moves.data(), static_cast<int>(game.moves.size()), nullptr, &name, &code))
        << expected.first;
    EXPECT_EQ(name, expected.first);
    EXPECT_EQ(code, expected.second);
    ++lines;
    if (!name.empty()) ++named;
  }
  std::fclose(f);
  EXPECT_EQ(error.number, 0);
  EXPECT_GT(lines, 2000);
  // The file names every line: names read from it must not all be lost.
  EXPECT_EQ(named, lines);
}

TEST_P(DefaultBook, MainFirstMovesAreWeighted) {
  std::map<std::string, int> codes;
  Board board;
  SetInitialBoard(&board);
  for (uint16_t n = 0; n != kNoNode; n = NextSiblingNode(n)) {
    MoveRecord m;
    ASSERT_TRUE(BookMoveToMoveRecord(&board, WHITE, GetBookMoveWord(n), &m));
    char text[kNotationTextSize];
    MoveToNotation(&board, &m, WHITE, STYLE_ALGEBRAIC, text);
    codes[text] = BookWordWeight(GetBookMoveWord(n));
  }
  for (const char* move : {"e4", "d4", "c4", "Nf3"}) EXPECT_GE(codes[move], 1) << move;
  EXPECT_EQ(codes["e4"], 3);
  // An unsound first move stays in the book for its name, never played.
  EXPECT_EQ(codes.count("g4"), 1u);
  EXPECT_EQ(codes["g4"], 0);

  // Picks from the initial position and after 1.e4 are always legal book moves.
  for (int i = 0; i < 50; ++i) {
    MoveRecord m;
    ASSERT_TRUE(PickBookMove(nullptr, 0, false, &m));
    MoveRecord line[2] = {m, {}};
    Board after = board;
    MakeMove(&line[0], &after);
    EXPECT_TRUE(PickBookMove(line, 1, false, &line[1]));
  }
}

INSTANTIATE_TEST_SUITE_P(Books, DefaultBook, ::testing::Values(RW_DEFAULT_BOOK, RW_REFERENCE_BOOK));

// The personalities' own books keep only the first moves they were made
// with, each weighted, and go on from there as the default book does.
TEST(PersonalityBooks, KeepOnlyTheirFirstMoves) {
  const struct {
    const char* file;
    std::set<std::string> first;
  } books[] = {{"KINGPAWN.OBK", {"e4"}}, {"QUEENPAWN.OBK", {"d4", "c4", "Nf3"}}};
  Board board;
  SetInitialBoard(&board);
  for (const auto& book : books) {
    SelectBookSlot(0);
    ASSERT_TRUE(LoadBookFile((std::string(RW_BOOKS_DIR) + "/" + book.file).c_str())) << book.file;
    std::set<std::string> first;
    for (uint16_t n = 0; n != kNoNode; n = NextSiblingNode(n)) {
      MoveRecord m;
      ASSERT_TRUE(BookMoveToMoveRecord(&board, WHITE, GetBookMoveWord(n), &m));
      char text[kNotationTextSize];
      MoveToNotation(&board, &m, WHITE, STYLE_ALGEBRAIC, text);
      first.insert(text);
      EXPECT_GE(BookWordWeight(GetBookMoveWord(n)), 1) << book.file << " " << text;
    }
    EXPECT_EQ(first, book.first) << book.file;
    for (int i = 0; i < 20; ++i) {
      MoveRecord line[2] = {};
      ASSERT_TRUE(PickBookMove(nullptr, 0, false, &line[0])) << book.file;
      Board after = board;
      MakeMove(&line[0], &after);
      EXPECT_TRUE(PickBookMove(line, 1, false, &line[1])) << book.file;
    }
    FreeBookSlot();
  }
}

TEST(ReferenceBook, EveryCommentIsOnItsLine) {
  BookEditorModel book(RW_REFERENCE_BOOK, true);
  std::ifstream in(RW_REFERENCE_COMMENTS);
  ASSERT_TRUE(in) << RW_REFERENCE_COMMENTS;
  std::string line;
  int comments = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t bar = line.find('|');
    ASSERT_NE(bar, std::string::npos) << line;
    std::istringstream moves(line.substr(0, bar));
    Board board;
    SetInitialBoard(&board);
    int side = WHITE, entry = 0;
    std::string san;
    while (moves >> san) {
      MoveRecord m{};
      ASSERT_TRUE(ParseAlgebraicMove(&m, san.c_str(), &board, side)) << line;
      entry = book.FindChild(entry, m);
      ASSERT_GE(entry, 0) << line;
      MakeMove(&m, &board);
      side = OtherSide(side);
    }
    EXPECT_EQ(book.View(entry).comment, line.substr(line.find_first_not_of(' ', bar + 1))) << line;
    EXPECT_FALSE(book.View(entry).name.empty()) << "a commented line has its opening's name: " << line;
    ++comments;
  }
  EXPECT_GE(comments, 20);
}
