#include "pgn_read.h"

#include <gtest/gtest.h>

#include "testdata.h"

#include <cstring>
#include <string>

#include "files_test_support.h"
#include "game_end.h"
#include "header_access.h"
#include "pgn_write.h"

namespace {

struct ReadResult {
  int code = 0;
  int line = 0, column = 0;
  std::string text;
};

ReadResult Read(GameRecord* game, const std::string& pgn) {
  ReadResult r;
  r.code = ReadPgnFromMemory(pgn.c_str(), game);
  char text[kPgnLineSize];
  GetPgnParseError(&r.line, text, sizeof text, &r.column);
  r.text = text;
  return r;
}

// The moves of a line in short algebraic notation, from the start position.
std::string LineText(GameRecord* game, const MoveTreeNode* n, Board board, int side) {
  std::string out;
  for (; n; n = n->firstChild) {
    MoveRecord move = *n->move;
    char text[kNotationTextSize];
    if (!out.empty()) out += ' ';
    out += MoveToNotation(&board, &move, side, STYLE_ALGEBRAIC, text);
    MakeMove(&move, &board);
    side = OtherSide(side);
  }
  (void)game;
  return out;
}

std::string MainLine(GameRecord* game) {
  return LineText(game, game->tree->root.firstChild, game->start, game->startSide);
}

TEST(PgnRead, TagsMovesAndResult) {
  GamePtr game = MakeGame();
  ReadResult r = Read(game.get(),
                      "[Event \"Club \\\"A\\\"\"]\n[White \"Anna\"]\n[black \"Ben\"]\n[Result \"1-0\"]\n"
                      "[Opening \"Italian\"]\n[PlyCount \"5\"]\n\n"
                      "1. e4 e5 2. Nf3 $1 Nc6!? 3.Bc4 1-0\n");
  ASSERT_EQ(r.code, 0);
  EXPECT_STREQ(game->header.event, "Club \"A\"");
  EXPECT_STREQ(game->white.name, "Anna");
  EXPECT_STREQ(game->black.name, "Ben");
  EXPECT_EQ(game->result, 11u);
  EXPECT_STREQ(GetGameRemarks(game.get()), "Opening \"Italian\"");
  EXPECT_EQ(MainLine(game.get()), "e4 e5 Nf3 Nc6 Bc4");
  EXPECT_EQ(GetCurrentPly(game.get()), 0);
}

TEST(PgnRead, ErrorsCarryLineAndColumn) {
  struct Case {
    const char* pgn;
    int code, line, column;
  } cases[] = {
      {"[Event \"x\"]\n\n1. e4 2. d4\n", PGN_BAD_MOVE_NUMBER, 3, 8},
      {"[Result \"2-0\"]\n\n1. e4\n", PGN_BAD_RESULT, 1, 1},
      {"1. e4 e5 1-2\n", PGN_BAD_RESULT, 1, 13},
      {"1. e4 e5 2. Ke3\n", PGN_ILLEGAL_MOVE, 1, 16},
      {"1. e4 @\n", PGN_BAD_CHARACTER, 1, 7},
      {"( 1. e4 )\n", PGN_BAD_VARIATION, 1, 1},
      {"1. e4 )\n", PGN_BAD_VARIATION, 1, 7},
      {"[SetUp \"2\"]\n1. e4\n", PGN_BAD_SETUP, 1, 1},
      {"[FEN \"4k3/8/8/8/8/8/8/4K2R w X\"]\n", FEN_BAD_CASTLING, 1, 1},
      {"[FEN \"4k3/8/8/8/8/8/8/K3K3 w - - 0 1\"]\n\n1. Ka2\n", FEN_OFF_BOARD, 1, 1},
      {"[FEN \"8/8/8/8/8/8/8/8 w - - 0 1\"]\n\n1. Ka2\n", FEN_OFF_BOARD, 1, 1},
  };
  for (const Case& c : cases) {
    GamePtr game = MakeGame();
    ReadResult r = Read(game.get(), c.pgn);
    EXPECT_EQ(r.code, c.code) << c.pgn;
    EXPECT_EQ(r.line, c.line) << c.pgn;
    EXPECT_EQ(r.column, c.column) << c.pgn;
  }
}

TEST(PgnRead, CastlingSpellings) {
  for (const char* castle : {"O-O", "0-0", "O-O+", "0-0+", "O-O!"}) {
    GamePtr game = MakeGame("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    ASSERT_EQ(
        Read(game.get(), std::string("[FEN \"4k3/8/8/8/8/8/8/4K2R w K - 0 1\"]\n\n1. ") + castle + "\n").code,
        0)
        << castle;
    ASSERT_EQ(GetMoveCount(game.get()), 1) << castle;
    EXPECT_TRUE(game->tree->root.firstChild->move->flags & MOVE_CASTLE_SHORT) << castle;
  }
  GamePtr game = MakeGame();
  ASSERT_EQ(Read(game.get(), "[FEN \"r3k3/8/8/8/8/8/8/4K3 b q - 0 20\"]\n\n20... 0-0-0 21. Kf2\n").code, 0);
  EXPECT_EQ(GetMoveCount(game.get()), 2);
  EXPECT_EQ(game->startMoveNumber, 20u);
}

TEST(PgnRead, VariationsAndComments) {
  GamePtr game = MakeGame();
  ASSERT_EQ(Read(game.get(),
                 "{before} 1. e4 {king pawn\n  two lines} (1. d4 d5 (1... Nf6 2. c4) 2. c4) (1. c4) 1... e5 "
                 "; rest of line\n2. Nf3 Nc6 *\n")
                .code,
            0);
  EXPECT_STREQ(GetGameRemarks(game.get()), "before");
  EXPECT_EQ(MainLine(game.get()), "e4 e5 Nf3 Nc6");
  const MoveTreeNode* e4 = game->tree->root.firstChild;
  ASSERT_NE(e4->next, nullptr);
  EXPECT_STREQ(e4->move->texts[SLOT_COMMENT], "king pawn two lines");
  Board start = game->start;
  EXPECT_EQ(LineText(game.get(), e4->next, start, WHITE), "d4 d5 c4");
  ASSERT_NE(e4->next->firstChild->next, nullptr);
  Board afterD4 = start;
  MoveRecord d4 = *e4->next->move;
  MakeMove(&d4, &afterD4);
  EXPECT_EQ(LineText(game.get(), e4->next->firstChild->next, afterD4, BLACK), "Nf6 c4");
  ASSERT_NE(e4->next->next, nullptr);
  EXPECT_EQ(LineText(game.get(), e4->next->next, start, WHITE), "c4");
  EXPECT_STREQ(e4->firstChild->move->texts[SLOT_COMMENT], "rest of line");
}

TEST(PgnRead, DeepVariationsAreRefused) {
  std::string pgn = "1. e4 e5 ";
  for (int i = 0; i < 501; ++i) pgn += "( 1... c5\n";
  GamePtr game = MakeGame();
  EXPECT_EQ(Read(game.get(), pgn).code, PGN_BAD_VARIATION);
}

TEST(PgnRead, MateWithoutResultTokenGetsTheMateResult) {
  GamePtr game = MakeGame();
  ASSERT_EQ(Read(game.get(), "1. f3 e5 2. g4 Qh4#\n").code, 0);
  EXPECT_EQ(game->result, static_cast<uint32_t>(RESULT_WHITE_MATED));
}

TEST(PgnRead, ListTitle) {
  GamePtr game = MakeGame();
  char title[kPgnTitleSize];
  ASSERT_EQ(Read(game.get(), "[Date \"?\"]\n[White \"?\"]\n[Round \"?\"]\n\n*\n").code, 0);
  EXPECT_STREQ(BuildPgnListTitle(game.get(), title), "Imported Game");
  ASSERT_EQ(Read(game.get(),
                 "[Date \"1999.??.??\"]\n[White \"A\"]\n[Black \"B\"]\n[Event \"Open [x]\"]\n[Round \"?\"]\n"
                 "[Site \"Here/There\"]\n\n*\n")
                .code,
            0);
  EXPECT_STREQ(BuildPgnListTitle(game.get(), title), "1999.--.-- - A vs B, Open (x), Here-There");
}

TEST(PgnIndex, IndexPathAndRecords) {
  EXPECT_EQ(PgnIndexPath("games/club.pgn"), "games/club.IDX");
  EXPECT_EQ(PgnIndexPath("games.d/club"), "games.d/club.IDX");
  EXPECT_EQ(PgnIndexPath("club"), "club.IDX");

  std::string path = TempPath("indexed");
  WriteFileText(path,
                "[Event \"one\"]\r\n\r\n1. e4 *\r\n% separator\r\n[Event \"two\"]\r\n[White \"W\"]\r\n\r\n1. "
                "d4 d5 *\r\n"
                "%\r\n[Event \"three\"]\r\n\r\n1. c4 e5 2. Ke3 *\r\n");
  int count = 0;
  ASSERT_EQ(BuildPgnIndex(path.c_str(), &count), 0);
  EXPECT_EQ(count, 3);
  GamePtr game = MakeGame();
  ASSERT_EQ(ReadPgnGame(game.get(), 1), 0);
  EXPECT_STREQ(game->header.event, "two");
  EXPECT_EQ(MainLine(game.get()), "d4 d5");
  char title[kPgnTitleSize];
  GamePtr tags = MakeGame();
  ASSERT_EQ(ReadPgnGameTags(tags.get(), title, 1), 0);
  EXPECT_STREQ(title, "1-1-2000 - W, two");  // the date of the new game stays
  GamePtr bad = MakeGame();
  EXPECT_EQ(ReadPgnGame(bad.get(), 2), PGN_ILLEGAL_MOVE);
  int line = 0, column = 0;
  char text[kPgnLineSize];
  GetPgnParseError(&line, text, sizeof text, &column);
  EXPECT_EQ(line, 12);
  EXPECT_EQ(column, 16);
  EXPECT_EQ(ReadPgnGame(bad.get(), 3), PGN_SEEK_FAILED);
  ClosePgnIndex();
  EXPECT_EQ(ReadPgnGame(bad.get(), 0), PGN_NOT_OPEN);
  EXPECT_EQ(std::fopen("RWONYXTEMP.IDX", "rb"), nullptr);
  EXPECT_EQ(BuildPgnIndex(TempPath("missing.pgn").c_str(), &count), PGN_CANNOT_OPEN);
  std::remove(path.c_str());
}

// Every game of the outside files reads, and writing then reading it again
// gives the same tags, moves, variations and comments.
TEST(PgnRead, OutsideFilesReadAndRoundTrip) {
  RW_REQUIRE_TESTDATA("mate_in_2.pgn", "mate_in_3.pgn");
  for (std::string path : {std::string(RW_ECO_FILE), TestDataPath("mate_in_2.pgn"), TestDataPath("mate_in_3.pgn")}) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr) << path;
    PgnFileStream stream(file);
    int games = 0;
    for (;;) {
      GamePtr game = MakeGame();
      int code = stream.ReadGame(game.get());
      if (code == PgnFileStream::PGN_END) break;
      int line = 0, column = 0;
      std::string text;
      stream.Reader().GetError(&line, &text, &column);
      ASSERT_EQ(code, 0) << path << " line " << line << ": " << text;
      ++games;
      std::string pgn = WritePgnToString(game.get(), SLOT_COMMENT, true);
      GamePtr back = MakeGame();
      ASSERT_EQ(ReadPgnFromMemory(pgn.c_str(), back.get()), 0) << pgn;
      EXPECT_EQ(DumpTree(back.get()), DumpTree(game.get())) << pgn;
      EXPECT_STREQ(GetGameRemarks(back.get()), GetGameRemarks(game.get()));
      EXPECT_EQ(std::memcmp(back->header.eco, game->header.eco, kGameHeaderFixedSize - 34), 0) << pgn;
      EXPECT_STREQ(back->white.name, game->white.name);
      EXPECT_STREQ(back->black.name, game->black.name);
      EXPECT_EQ(back->result, game->result);
      EXPECT_EQ(back->startSide, game->startSide);
      EXPECT_EQ(back->startMoveNumber, game->startMoveNumber);
    }
    std::fclose(file);
    EXPECT_GT(games, 100) << path;
  }
}

}  // namespace
