#include "text_export.h"

#include <gtest/gtest.h>

#include <string>

#include "files_test_support.h"
#include "header_access.h"

namespace {

class AlgebraicHost : public MessageHost {
 public:
  int GetNotationStyle() override { return STYLE_ALGEBRAIC; }
};

GamePtr ItalianGame() {
  GamePtr game = MakeGame();
  SetGameEvent(game.get(), "Club");
  SetGameDate(game.get(), "2026.12.08");
  SetPlayerName(game.get(), 1, "Anna");
  SetPlayerName(game.get(), 0, "Ben");
  EXPECT_TRUE(PlayMoves(game.get(), "e4 e5 Nf3 Nc6 Bc4"));
  SetGameResult(game.get(), 11);
  return game;
}

TEST(TextExport, ColumnLayoutPadsMoves) {
  AlgebraicHost host;
  GamePtr game = ItalianGame();
  std::string text = GameToText(game.get(), false, false, 0);
  size_t moves = text.find("  1. ");
  ASSERT_NE(moves, std::string::npos) << text;
  EXPECT_EQ(text.substr(moves),
            "  1. e4             e5            \r\n"
            "  2. Nf3            Nc6           \r\n"
            "  3. Bc4             1-0\r\n\r\n");
  EXPECT_EQ(text.substr(0, 16), "[Event \"Club\"]\r\n");
  std::string tabs = GameToText(game.get(), true, false, 0);
  EXPECT_NE(tabs.find("1.\te4\te5\t\r\n2.\tNf3\tNc6\t\r\n3.\tBc4\t 1-0\r\n"), std::string::npos) << tabs;
}

TEST(TextExport, RunningLayoutWithComments) {
  AlgebraicHost host;
  GamePtr game = ItalianGame();
  SeekToPly(game.get(), 5);
  SetMoveString(GetCurrentMove(game.get()), "the Italian", SLOT_COMMENT);
  SeekToPly(game.get(), 3);
  SetMoveString(GetCurrentMove(game.get()), "develops", SLOT_COMMENT);
  std::string text = GameToText(game.get(), false, true, 0);
  EXPECT_NE(text.find("[Title \"Anna vs Ben 2026.12.08\"]\r\n"), std::string::npos) << text;
  EXPECT_NE(
      text.find("\r\n\r\n1. e4 e5\r\n2. Nf3 {develops}\r\n2... Nc6\r\n3. Bc4 {the Italian}\r\n1-0\r\n\r\n"),
      std::string::npos)
      << text;
  // Without moves: tags, then the result.
  GamePtr empty = MakeGame();
  std::string bare = GameToText(empty.get(), false, false, -1);
  EXPECT_EQ(bare.substr(bare.size() - 10), "\r\n\r\n *\r\n\r\n");
}

TEST(TextExport, LongCommentsWrapUnderTheCommentColumn) {
  AlgebraicHost host;
  GamePtr game = ItalianGame();
  SeekToPly(game.get(), 2);
  std::string words;
  for (int i = 0; i < 40; ++i) words += "word ";
  SetMoveString(GetCurrentMove(game.get()), words.c_str(), SLOT_COMMENT);
  std::string text = GameToText(game.get(), false, false, 0);
  size_t at = text.find(";word");
  ASSERT_NE(at, std::string::npos) << text;
  size_t lineStart = text.rfind('\n', at) + 1;
  EXPECT_EQ(at - lineStart, 34u);
  int continued = 0;
  for (size_t p = text.find("\r\n" + std::string(35, ' ') + ";"); p != std::string::npos;
       p = text.find("\r\n" + std::string(35, ' ') + ";", p + 1))
    ++continued;
  EXPECT_GE(continued, 3);
  for (size_t p = 0, e; (e = text.find("\r\n", p)) != std::string::npos; p = e + 2) EXPECT_LE(e - p, 80u);
}

TEST(TextExport, Diagrams) {
  Board board;
  SetInitialBoard(&board);
  std::string diagram = BoardToDiagramText(&board);
  ASSERT_EQ(diagram.size(), 80u);
  EXPECT_EQ(static_cast<uint8_t>(diagram[0]), 167);   // black rook, light a8
  EXPECT_EQ(static_cast<uint8_t>(diagram[20]), 143);  // a6 empty, light
  EXPECT_EQ(static_cast<uint8_t>(diagram[21]), 144);  // b6 empty, dark
  EXPECT_EQ(static_cast<uint8_t>(diagram[60]), 253);  // white pawn a2, light
  // An old-font board converts only when all 64 characters are there.
  std::string old;
  for (int sq = 0; sq < 128; ++sq)
    if (OnBoard(sq)) old += static_cast<char>(OldDiagramChar(sq, board[sq]));
  std::string converted = ConvertOldDiagram("x" + old + "y");
  std::string expected;
  for (int sq = 0; sq < 128; ++sq)
    if (OnBoard(sq)) expected += static_cast<char>(DiagramChar(sq, board[sq]));
  EXPECT_EQ(converted, "x" + expected + "y");
  std::string short63 = old.substr(1);
  EXPECT_EQ(ConvertOldDiagram(short63), short63);
}

}  // namespace
