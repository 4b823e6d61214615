// The clipboard's texts: the board as letters and in the chess font, and
// the move list with and without tabs, refused when it measures too large.
#include "clipboard_text.h"

#include <gtest/gtest.h>

#include <string>

#include "files_test_support.h"
#include "header_access.h"
#include "text_export.h"

namespace {

class AlgebraicHost : public MessageHost {
 public:
  int GetNotationStyle() override { return STYLE_ALGEBRAIC; }
};

TEST(ClipboardText, BoardAsLettersFitsItsBlock) {
  GamePtr game = MakeGame();
  const std::string text = PositionClipboardText(game->position);
  const std::string rank8 = "BR  BN  BB  BQ  BK  BB  BN  BR  \r\n";
  const std::string empty = "--  --  --  --  --  --  --  --  \r\n";
  EXPECT_EQ(text, rank8 + "BP  BP  BP  BP  BP  BP  BP  BP  \r\n" + empty + empty + empty + empty +
                      "WP  WP  WP  WP  WP  WP  WP  WP  \r\n" + "WR  WN  WB  WQ  WK  WB  WN  WR  \r\n");
  EXPECT_LT(text.size(), kPositionBlockSize);
}

TEST(ClipboardText, ChessFontDiagramOfTheStart) {
  GamePtr game = MakeGame();
  const std::string text = DiagramClipboardText(game->position);
  ASSERT_EQ(text.size(), 80u);  // eight lines of eight, CR LF each: 81 bytes with the NUL
  EXPECT_LT(text.size(), kDiagramBlockSize);
  EXPECT_EQ(static_cast<unsigned char>(text[0]), 167);  // a black rook on a light square
  for (int line = 0; line < 8; ++line) EXPECT_EQ(text.substr(line * 10 + 8, 2), "\r\n") << line;
  // The middle ranks are empty squares, alternating light and dark.
  EXPECT_NE(text[20], text[21]);
  EXPECT_EQ(text[20], text[31]);
}

TEST(ClipboardText, MoveListsWithAndWithoutTabs) {
  AlgebraicHost host;
  GamePtr game = MakeGame();
  SetPlayerName(game.get(), 1, "Anna");
  SetPlayerName(game.get(), 0, "Ben");
  ASSERT_TRUE(PlayMoves(game.get(), "e4 e5 Nf3 Nc6 Bc4"));
  std::string plain, tabs;
  ASSERT_EQ(GameClipboardText(game.get(), false, 0, 0, &plain), GameTextCopy::kReady);
  ASSERT_EQ(GameClipboardText(game.get(), true, 0, 0, &tabs), GameTextCopy::kReady);
  EXPECT_NE(plain.find("  1. e4             e5            \r\n  2. Nf3            Nc6           \r\n"),
            std::string::npos)
      << plain;
  EXPECT_EQ(plain.find('\t'), std::string::npos);
  EXPECT_NE(tabs.find("1.\te4\te5\t\r\n2.\tNf3\tNc6\t\r\n3.\tBc4\t"), std::string::npos) << tabs;
  EXPECT_NE(tabs.find("[White \"Anna\"]"), std::string::npos);
}

TEST(ClipboardText, AGameMeasuringTheLimitIsRefused) {
  AlgebraicHost host;
  GamePtr game = MakeGame();
  ASSERT_TRUE(PlayMoves(game.get(), "Nf3 Nf6 Ng1 Ng8 Nf3 Nf6 Ng1 Ng8"));
  const std::string words(4000, 'w');
  for (int ply = 1; ply <= 8; ++ply) {
    SeekToPly(game.get(), ply);
    SetMoveString(GetCurrentMove(game.get()), words.c_str(), SLOT_COMMENT);
  }
  std::string text = "left";
  if (MeasureGameText(game.get(), 0) < kClipboardTextLimit) {
    EXPECT_EQ(GameClipboardText(game.get(), false, 0, 0, &text), GameTextCopy::kReady);
  }
  for (int ply = 1; ply <= 8; ++ply) {
    SeekToPly(game.get(), ply);
    SetMoveString(GetCurrentMove(game.get()), (words + words + words).c_str(), SLOT_COMMENT);
  }
  ASSERT_GE(MeasureGameText(game.get(), 0), kClipboardTextLimit);
  EXPECT_EQ(GameClipboardText(game.get(), false, 0, 0, &text), GameTextCopy::kTooLarge);
  EXPECT_TRUE(text.empty());
}

TEST(ClipboardText, FullHeaderFieldsAreCopiedWhole) {
  // The measure counts no tag text, so a game with every field full makes
  // a text longer than its measure: the block is sized from the text.
  AlgebraicHost host;
  GamePtr game = MakeGame();
  const std::string longText(200, 'x');
  SetGameEvent(game.get(), longText.c_str());
  SetGameSite(game.get(), longText.c_str());
  SetGameRound(game.get(), longText.c_str());
  SetPlayerName(game.get(), 1, longText.c_str());
  SetPlayerName(game.get(), 0, longText.c_str());
  ASSERT_TRUE(PlayMoves(game.get(), "e4"));
  std::string text;
  ASSERT_EQ(GameClipboardText(game.get(), false, 0, 0, &text), GameTextCopy::kReady);
  EXPECT_GT(text.size() + 1, MeasureGameText(game.get(), 0));
  EXPECT_NE(text.find("  1. e4"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
}

}  // namespace
