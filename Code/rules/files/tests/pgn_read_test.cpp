#include "pgn_read.h"

#include <gtest/gtest.h>

#include "testdata.h"

#include <cstring>
#include <string>
#include <vector>

#include "files_test_support.h"
#include "game_end.h"
#include "header_access.h"
#include "pgn_style_cases.h"
#include "pgn_text.h"
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
      // A wrong move number is no error; the move after it is.
      {"[Event \"x\"]\n\n1. e4 2. d4\n", PGN_ILLEGAL_MOVE, 3, 12},
      {"1. e4 e5 2. -- Nf6\n", PGN_ILLEGAL_MOVE, 1, 15},
      {"1. e4 Z0+ 2. d4\n", PGN_ILLEGAL_MOVE, 1, 10},
      {"1. e4 e5 2.Z0\n", PGN_ILLEGAL_MOVE, 1, 14},
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
  // A move error names the move; the game keeps the moves before it.
  GamePtr game = MakeGame();
  ASSERT_EQ(Read(game.get(), "1. e4 e5\n2. Nf3 Z0+ 3. Bc4\n").code, PGN_ILLEGAL_MOVE);
  char move[16];
  GetPgnParseErrorMove(move, sizeof move);
  EXPECT_STREQ(move, "Z0+");
  EXPECT_EQ(MainLine(game.get()), "e4 e5 Nf3");
  ASSERT_EQ(Read(game.get(), "1. e4 e5 2. Nf3 Nc6 3. Bb5 Nf6 4. Bxc6 Qxc6\n").code, PGN_ILLEGAL_MOVE);
  GetPgnParseErrorMove(move, sizeof move);
  EXPECT_STREQ(move, "Qxc6");
  ASSERT_EQ(Read(game.get(), "1. e4 @\n").code, PGN_BAD_CHARACTER);
  GetPgnParseErrorMove(move, sizeof move);
  EXPECT_STREQ(move, "");
}

int MainLinePlies(const GameRecord* game) {
  int n = 0;
  for (const MoveTreeNode* m = game->tree->root.firstChild; m; m = m->firstChild) ++n;
  return n;
}

// Files in the styles other programs write: every game and move is read,
// and a game that stops at a move says which, on which line and column.
TEST(PgnRead, StylesOfOtherPrograms) {
  for (const PgnStyleCase& c : PgnStyleCases()) {
    std::string path = std::string(RW_GAMEFILES_DATA) + "/pgn_styles/" + c.file;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr) << path;
    PgnFileStream stream(file);
    std::vector<int> plies;
    size_t errors = 0;
    for (;;) {
      GamePtr game = MakeGame();
      int code = stream.ReadGame(game.get());
      if (code == PgnFileStream::PGN_END) break;
      int game_number = static_cast<int>(plies.size());
      plies.push_back(MainLinePlies(game.get()));
      if (game_number == 0) {
        if (c.white) {
          EXPECT_STREQ(game->white.name, c.white) << c.file;
        }
        if (c.black) {
          EXPECT_STREQ(game->black.name, c.black) << c.file;
        }
        if (c.comment) {
          const char* comment = game->tree->root.firstChild->move->texts[SLOT_COMMENT];
          if (!comment) comment = "";
          EXPECT_NE(std::strstr(comment, c.comment), nullptr) << c.file << ": " << comment;
        }
      }
      if (code == 0) continue;
      ASSERT_LT(errors, c.errors.size()) << c.file << " game " << game_number << " code " << code;
      const PgnStyleError& e = c.errors[errors++];
      EXPECT_EQ(e.game, game_number) << c.file;
      EXPECT_EQ(code, PGN_ILLEGAL_MOVE) << c.file;
      int line = 0, column = 0;
      stream.Reader().GetError(&line, nullptr, &column);
      EXPECT_EQ(stream.Reader().ErrorMove(), e.move) << c.file;
      EXPECT_EQ(line, e.line) << c.file;
      EXPECT_EQ(column, e.column) << c.file;
    }
    std::fclose(file);
    EXPECT_EQ(plies, c.plies) << c.file;
    EXPECT_EQ(errors, c.errors.size()) << c.file;

    // The index finds the same games, and each reads from it alike.
    int count = 0;
    ASSERT_EQ(BuildPgnIndex(path.c_str(), &count), 0) << c.file;
    EXPECT_EQ(count, static_cast<int>(c.plies.size())) << c.file;
    for (int n = 0; n < count && n < static_cast<int>(c.plies.size()); ++n) {
      GamePtr game = MakeGame();
      ReadPgnGame(game.get(), n);
      EXPECT_EQ(MainLinePlies(game.get()), c.plies[static_cast<size_t>(n)]) << c.file << " game " << n;
    }
    ClosePgnIndex();
  }
}

// A line longer than the line buffer, from memory and from a file, is
// joined before it is read: no move, comment or tag is cut where the
// buffer ends, wherever that falls.
TEST(PgnRead, LongLinesAreNeverCut) {
  for (size_t pad = 1000; pad < 1040; ++pad) {
    std::string tag = "[Annotator \"" + std::string(pad - 20, 'a') + "\"]";
    std::string moves = std::string(pad, ' ') + "1. e4 {" + std::string(pad, 'c') + "} e5 2. Nf3 Nc6 3. Bb5 *";
    GamePtr game = MakeGame();
    ReadResult r = Read(game.get(), tag + "\n[White \"W\"]\n\n" + moves + "\n");
    ASSERT_EQ(r.code, 0) << pad << " line " << r.line << " column " << r.column;
    EXPECT_EQ(MainLine(game.get()), "e4 e5 Nf3 Nc6 Bb5") << pad;
    EXPECT_STREQ(game->white.name, "W") << pad;
    EXPECT_EQ(std::strlen(game->tree->root.firstChild->move->texts[SLOT_COMMENT]), pad) << pad;
  }
  std::string path = TempPath("long_line.pgn");
  std::string line = "1. e4 e5 2. Nf3 Nc6 3. Bb5";
  while (line.size() < 1023 * 3) line += " {" + std::string(line.size() % 7 + 1, 'x') + "}";
  WriteFileText(path, "[Event \"a\"]\n\n" + line + " *\n\n[Event \"b\"]\n\n1. d4 *\n");
  int count = 0;
  ASSERT_EQ(BuildPgnIndex(path.c_str(), &count), 0);
  ASSERT_EQ(count, 2);
  GamePtr game = MakeGame();
  ASSERT_EQ(ReadPgnGame(game.get(), 1), 0);
  EXPECT_STREQ(game->header.event, "b");
  EXPECT_EQ(MainLine(game.get()), "d4");
  ClosePgnIndex();
  std::remove(path.c_str());
}

TEST(PgnText, Utf8ToWindows) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"M\xC3\xBCller", "M\xFCller"},                      // in Windows-1252
      {"\xE2\x82\xAC 5 \xE2\x80\x93 \xE2\x80\x9Cx\xE2\x80\x9D", "\x80 5 \x96 \x93x\x94"},  // its 0x80 row
      {"\xC5\x81\xC3\xB3" "d\xC5\xBA \xC8\x98", "L\xF3" "dz S"},  // Latin letters it lacks
      {"\xD0\x9A\xE2\x9C\x93\xF0\x9F\x98\x80", "???"},     // anything else
      {"M\xFCller", "M\xFCller"},                           // already Windows-1252
      {"a\xC3", "a\xC3"},                                   // a cut sequence: not UTF-8
      {"\xC0\xAF \xED\xA0\x80", "\xC0\xAF \xED\xA0\x80"},        // overlong, surrogate
      {"plain", "plain"},
  };
  for (const Case& c : cases) {
    std::string text = c.in;
    pgntext::Utf8ToWindows(&text);
    EXPECT_EQ(text, c.out) << c.in;
  }
  EXPECT_TRUE(pgntext::IsPgnNullMove("--", 2));
  EXPECT_TRUE(pgntext::IsPgnNullMove("Z0+", 3));
  EXPECT_FALSE(pgntext::IsPgnNullMove("-", 1));
  EXPECT_FALSE(pgntext::IsPgnNullMove("Z0Z", 3));
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
