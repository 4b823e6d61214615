#include "position_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "files_test_support.h"

namespace {

const char kStart[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

bool SamePieces(const Board& a, const Board& b) {
  for (int sq = 0; sq < 128; ++sq)
    if (OnBoard(sq) && a[sq] != b[sq]) return false;
  return true;
}

std::string Fen(const Board& board, int side, int number) {
  char out[kFenTextSize];
  return BoardToFen(&board, side, number, out);
}

TEST(Fen, InitialPositionAndRoundTrip) {
  Board board;
  SetInitialBoard(&board);
  EXPECT_EQ(Fen(board, WHITE, 1), kStart);

  const char* positions[] = {
      kStart,
      "r3k2r/8/8/3pP3/8/8/8/R3K2R w Kq d6 0 17",
      "8/8/8/8/8/8/8/K6k b - - 0 60",
      "4k3/8/8/8/4pP2/8/8/4K3 b - f3 0 33",
  };
  for (const char* fen : positions) {
    Board b;
    int side = 0, number = 0;
    ASSERT_EQ(ParseFen(fen, &b, &side, &number), 0) << fen;
    EXPECT_EQ(Fen(b, side, number), fen);
  }
}

TEST(Fen, AfterE4TheEnPassantSquareIsBehindThePawn) {
  GamePtr game = MakeGame();
  ASSERT_TRUE(PlayMoves(game.get(), "e4"));
  EXPECT_EQ(game->position[EN_PASSANT_SQUARE], MakeSquare(4, 4));  // the pawn on e4
  EXPECT_EQ(Fen(game->position, game->sideToMove, 1),
            "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
}

TEST(Fen, ShortTextsTakeDefaults) {
  Board board;
  int side = BLACK, number = 7;
  ASSERT_EQ(ParseFen("r3k3/8/8/8/8/8/8/4K2R", &board, &side, &number), 0);
  EXPECT_EQ(side, WHITE);
  EXPECT_EQ(number, 7);  // no sixth field: left alone
  EXPECT_EQ(board[CASTLING_RIGHTS], WHITE_SHORT | BLACK_LONG);
}

TEST(Fen, ErrorCodes) {
  struct Case {
    const char* fen;
    int code;
  } cases[] = {
      {"", FEN_OFF_BOARD},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNRR w", FEN_OFF_BOARD},
      {"8/8/8/8/8/8/8/8/K w", FEN_OFF_BOARD},
      {"rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR w", FEN_BAD_PIECE},
      {"4k3/8/8/8/8/8/8/4K3 x", FEN_BAD_SIDE},
      {"4k3/8/8/8/8/8/8/3K3R w K", FEN_CASTLING_NOT_ALLOWED},
      {"4k3/8/8/8/8/8/8/4K2R w X", FEN_BAD_CASTLING},
      {"4k3/8/8/8/8/8/8/4K3 w - e6", FEN_BAD_EN_PASSANT},
      {"4k3/8/8/4p3/8/8/8/4K3 w - e6x", FEN_BAD_EN_PASSANT},
      {"4k3/8/8/4p3/8/8/8/4K3 w - e5", FEN_BAD_EN_PASSANT},
  };
  for (const Case& c : cases) {
    Board board;
    int side = 0, number = 1;
    EXPECT_EQ(ParseFen(c.fen, &board, &side, &number), c.code) << c.fen;
  }
  Board board;
  int side = 0, number = 1;
  EXPECT_EQ(ParseFen("4k3/8/8/4p3/8/8/8/4K3 w - e6", &board, &side, &number), 0);
  EXPECT_EQ(board[EN_PASSANT_SQUARE], MakeSquare(3, 4));
}

TEST(BoardValidation, Faults) {
  struct Case {
    const char* fen;
    uint32_t faults;
  } cases[] = {
      {kStart, 0},
      {"4k3/8/8/8/8/8/8/K3K3 w", FAULT_WHITE_KINGS},
      {"8/8/8/8/8/8/8/4K3 w", FAULT_BLACK_KINGS},
      {"P3k3/8/8/8/8/8/8/4K2p w", FAULT_PAWN_RANK8 | FAULT_PAWN_RANK1},
      {"4k3/8/8/8/8/QQ6/PPPPPPPP/4K3 w", FAULT_WHITE_PROMOTED},
      {"4k3/8/8/8/8/QQ6/PPPPPPP1/4K3 w", 0},
      {"4k3/pppppppp/p7/8/8/8/8/4K3 w", FAULT_BLACK_PAWNS | FAULT_BLACK_PROMOTED},
      {"4k3/nnnnnnnn/nnnnnnnn/8/8/8/8/4K3 w", FAULT_BLACK_MEN | FAULT_BLACK_PROMOTED},
  };
  for (const Case& c : cases) {
    Board board;
    int side, number;
    ASSERT_EQ(ParseFen(c.fen, &board, &side, &number), 0) << c.fen;
    EXPECT_EQ(ValidateBoard(&board), c.faults) << c.fen;
  }
  char text[1024];
  BoardFaultsText(FAULT_WHITE_KINGS | FAULT_WHITE_PROMOTED, text, sizeof text);
  EXPECT_STREQ(text,
               "Illegal board description.\r\nIllegal Board: White must have exactly 1 king.\r\n"
               "Illegal Board: White has too many promoted pieces.\r\n");
}

TEST(BoardText, WritesAndReadsBack) {
  Board board;
  SetInitialBoard(&board);
  char text[kBoardTextSize];
  PositionToText(&board, text);
  EXPECT_EQ(std::strlen(text), 8u * 34u);
  EXPECT_EQ(std::string(text, 34), "BR  BN  BB  BQ  BK  BB  BN  BR  \r\n");
  Board back;
  int line = 0;
  ASSERT_EQ(ParseBoardTextCode(text, &back, &line), 0);
  EXPECT_TRUE(SamePieces(back, board));

  // Only the first 30 characters of a line are needed; LF alone ends it.
  std::string shortLines;
  for (int row = 0; row < 8; ++row) shortLines += std::string(text + row * 34, 30) + "\t\n";
  ASSERT_EQ(ParseBoardTextCode(shortLines.c_str(), &back, &line), 0);
  EXPECT_TRUE(SamePieces(back, board));
}

TEST(BoardText, Errors) {
  std::string good = "--  --  --  --  BK  --  --  --  \r\n";
  std::string empty = "--  --  --  --  --  --  --  --  \r\n";
  std::string white = "--  --  --  --  WK  --  --  --  \r\n";
  auto board = [&](const std::string& first) {
    return first + empty + empty + empty + empty + empty + empty + white;
  };
  struct Case {
    std::string text;
    int code, line;
  } cases[] = {
      {board(good), 0, 8},
      {board("--  --  --  --  BK  --  --  --  \r\n").substr(0, 100), 3, 1},
      {board("--  --  --  --  BX  --  --  --  \r\n"), 1, 1},
      {board("--  --  --  --  BK  --  --  --  x\r\n"), 2, 1},
      {board("--  --  --  --  B\tK --  --  --  \r\n"), 5, 1},
      {board("--  --  --  --  BK  \t-  --  --  \r\n"), 4, 1},
      {board("--  --  --  --  BK  B-  --  --  \r\n"), 6, 1},
  };
  for (const Case& c : cases) {
    Board b;
    int line = 0;
    EXPECT_EQ(ParseBoardTextCode(c.text.c_str(), &b, &line), c.code) << c.text;
    EXPECT_EQ(line, c.line) << c.text;
  }
  MessageHost host;
  Board b;
  EXPECT_EQ(ParseBoardText(board("--  --  --  --  BK  \t-  --  --  \r\n").c_str(), &b), 0);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0], "Error on line number: 1.\r\nColor character not found.");
}

TEST(PositionFile, SizeLimitsValidationAndWrite) {
  MessageHost host;
  std::string path = TempPath("position.fen");
  Board board;
  int side = 0, number = 0;

  WriteFileText(path, "4k3/8");  // 6 bytes
  EXPECT_EQ(ReadPositionFile(path.c_str(), &board, POSITION_FEN, &side, &number), 0);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back(), "File is damaged or is not a Rookwell file. " + path + ".");

  WriteFileText(path, std::string(2048, ' '));
  EXPECT_EQ(ReadPositionFile(path.c_str(), &board, POSITION_FEN, &side, &number), 0);
  EXPECT_EQ(host.messages.back(), "File is damaged or is not a Rookwell file. " + path + ".");

  WriteFileText(path, "4k3/8/8/8/8/8/8/K3K3 w - - 0 1");
  EXPECT_EQ(ReadPositionFile(path.c_str(), &board, POSITION_FEN, &side, &number), 0);
  EXPECT_NE(host.messages.back().find("White must have exactly 1 king."), std::string::npos);

  GamePtr game = MakeGame();
  ASSERT_TRUE(PlayMoves(game.get(), "e4 e5 Nf3"));
  ASSERT_EQ(WritePositionFile(path.c_str(), game.get(), &game->position, POSITION_FEN), 0);
  EXPECT_EQ(ReadFileText(path), "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 0 2");
  EXPECT_EQ(ReadPositionFile(path.c_str(), &board, POSITION_FEN, &side, &number), 1);
  EXPECT_EQ(side, BLACK);
  EXPECT_EQ(number, 2);

  ASSERT_EQ(WritePositionFile(path.c_str(), game.get(), &game->position, POSITION_BOARD_TEXT), 0);
  Board back;
  EXPECT_EQ(ReadPositionFile(path.c_str(), &back, POSITION_BOARD_TEXT, &side, &number), 1);
  EXPECT_TRUE(SamePieces(back, game->position));

  // A file that cannot be made leaves nothing behind.
  std::string bad = TempPath("no/such/folder/position.fen");
  EXPECT_EQ(WritePositionFile(bad.c_str(), game.get(), &game->position, POSITION_FEN), 303);
  std::remove(path.c_str());
}

}  // namespace
