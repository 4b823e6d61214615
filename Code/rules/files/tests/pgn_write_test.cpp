#include "pgn_write.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "files_test_support.h"
#include "header_access.h"
#include "pgn_read.h"

namespace {

std::string MoveText(const std::string& pgn) {
  size_t blank = pgn.find("\n\n");
  return blank == std::string::npos ? "" : pgn.substr(blank + 2);
}

TEST(PgnWrite, EmptyGameTagsAndResult) {
  GamePtr game = MakeGame();
  SetGameEvent(game.get(), "");
  SetGameDate(game.get(), "2026.12.08");
  SetGameSite(game.get(), "C:\\clubs \"North\"");
  SetPlayerName(game.get(), 1, "Anna");
  SetGameResult(game.get(), 42);
  EXPECT_EQ(WritePgnToString(game.get(), SLOT_COMMENT, true),
            "[Event \"\"]\n[Site \"C:\\\\clubs \\\"North\\\"\"]\n[Date \"2026.12.08\"]\n[Round \"\"]\n"
            "[White \"Anna\"]\n[Black \"\"]\n[Result \"?\"]\n\n?\n\n");
  SetGameEco(game.get(), "C20");
  SetGameResult(game.get(), 9);
  SetGameRemarks(game.get(), "no moves");
  std::string pgn = WritePgnToString(game.get(), SLOT_COMMENT, true);
  EXPECT_NE(pgn.find("[Result \"1/2-1/2\"]\n[ECO \"C20\"]\n\n{no moves} 1/2-1/2\n\n"), std::string::npos)
      << pgn;
  EXPECT_EQ(pgn.find("Setup"), std::string::npos);
  EXPECT_EQ(pgn.find("WhiteELO"), std::string::npos);
}

TEST(PgnWrite, NumbersAfterCommentsAndVariations) {
  GamePtr game = MakeGame("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 0 12");
  ASSERT_TRUE(PlayMoves(game.get(), "Nf6 Nc3 Bc5"));
  SeekToPly(game.get(), 1);
  SetMoveString(GetCurrentMove(game.get()), "solid", SLOT_COMMENT);
  MoveRecord alt{};
  // An alternative to white's 13th move.
  ASSERT_NE(GameStepForward(game.get()), nullptr);
  GameStepBack(game.get());
  Board before = game->position;
  ASSERT_TRUE(ParseAlgebraicMove(&alt, "d4", &before, WHITE));
  GameStepForward(game.get());
  ASSERT_NE(AddVariationToGame(game.get(), &alt), nullptr);
  SeekToPly(game.get(), 0);
  std::string pgn = WritePgnToString(game.get(), SLOT_COMMENT, true);
  EXPECT_NE(
      pgn.find("[Setup \"1\"]\n[FEN \"r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 0 12\"]"),
      std::string::npos);
  EXPECT_EQ(MoveText(pgn), "12... Nf6 {solid} 13. Nc3 ( 13. d4 ) 13... Bc5 *\n\n");
  // Main line only, and without comments.
  EXPECT_EQ(MoveText(WritePgnToString(game.get(), -1, false)), "12... Nf6 13. Nc3 Bc5 *\n\n");
  EXPECT_EQ(GetCurrentPly(game.get()), 0);  // the writer does not move the game
}

TEST(PgnWrite, LinesStayWithinWidth) {
  GamePtr game = MakeGame();
  std::string moves;
  for (int i = 0; i < 10; ++i) moves += "Nf3 Nf6 Ng1 Ng8 ";
  ASSERT_TRUE(PlayMoves(game.get(), moves));
  SetMoveString(GetCurrentMove(game.get()), std::string(100, 'w').c_str(), SLOT_COMMENT);
  std::string pgn = WritePgnToString(game.get(), SLOT_COMMENT, true);
  std::istringstream in(MoveText(pgn));
  std::string line;
  int lines = 0;
  while (std::getline(in, line)) {
    ++lines;
    if (line.find("www") == std::string::npos) {
      EXPECT_LE(line.size(), 72u) << line;
    }
    if (lines < 4) {
      EXPECT_FALSE(line.empty());
    }
  }
  EXPECT_GT(lines, 3);
  // Measuring and the buffer output agree with the text of the main line.
  size_t size = MeasurePgnText(game.get(), SLOT_COMMENT);
  std::string buffer(size + 1, 'x');
  ASSERT_EQ(WritePgnToBuffer(&buffer[0], buffer.size(), game.get(), SLOT_COMMENT), 0);
  EXPECT_EQ(std::strlen(buffer.c_str()), size);
  EXPECT_EQ(WritePgnToBuffer(&buffer[0], size, game.get(), SLOT_COMMENT), PGN_WRITE_FAILED);
}

bool RefuseSecond(void* context, const char*) { return ++*static_cast<int*>(context) < 2; }

TEST(PgnWrite, FilesAndFailures) {
  GamePtr game = MakeGame();
  ASSERT_TRUE(PlayMoves(game.get(), "e4 e5"));
  int calls = 0;
  EXPECT_EQ(WritePgnGame(&RefuseSecond, &calls, game.get(), -1, true), PGN_WRITE_FAILED);
  EXPECT_EQ(WritePgnGame(&RefuseSecond, &calls, nullptr, -1, true), PGN_WRITE_NO_GAME);

  std::string path = TempPath("written.pgn");
  ASSERT_EQ(WritePgnFile(path.c_str(), game.get(), false, 0), 0);
  ASSERT_EQ(WritePgnFile(path.c_str(), game.get(), true, 0), 0);
  int count = 0;
  ASSERT_EQ(BuildPgnIndex(path.c_str(), &count), 0);
  EXPECT_EQ(count, 2);
  ClosePgnIndex();
  ASSERT_EQ(WritePgnFile(path.c_str(), game.get(), false, 0), 0);
  ASSERT_EQ(BuildPgnIndex(path.c_str(), &count), 0);
  EXPECT_EQ(count, 1);
  ClosePgnIndex();

  // A target that cannot be replaced (a folder) is reported and left alone,
  // with no temporary file behind.
  std::string folder = TempPath("");
  EXPECT_EQ(WritePgnFile(folder.c_str(), game.get(), false, 0), PGN_WRITE_FAILED);
  EXPECT_EQ(std::fopen((folder + ".tmp").c_str(), "rb"), nullptr);
  EXPECT_EQ(WritePgnFile(TempPath("no/such/folder/x.pgn").c_str(), game.get(), false, 0),
            PGN_WRITE_CANNOT_OPEN);
  std::remove(path.c_str());
}

}  // namespace

namespace {

// A comment wrapped so that a line starts with "%" still reads back whole.
TEST(PgnWrite, LinesNeverStartWithPercent) {
  GamePtr game = MakeGame();
  ASSERT_TRUE(PlayMoves(game.get(), "e4 e5"));
  SeekToPly(game.get(), 1);
  std::string comment = std::string(60, 'a') + " %percent text";
  SetMoveString(GetCurrentMove(game.get()), comment.c_str(), SLOT_COMMENT);
  std::string pgn = WritePgnToString(game.get(), SLOT_COMMENT, true);
  EXPECT_EQ(pgn.find("\n%"), std::string::npos) << pgn;
  GamePtr back = MakeGame();
  ASSERT_EQ(ReadPgnFromMemory(pgn.c_str(), back.get()), 0) << pgn;
  EXPECT_EQ(DumpTree(back.get()), DumpTree(game.get()));
}

}  // namespace
