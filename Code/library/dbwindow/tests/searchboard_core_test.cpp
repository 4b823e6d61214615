// The search board's arithmetic: squares and points both ways round, the
// piece set's cells, the colour bit between board and module codes, and the
// slide's steps and pacing on a clock the test drives.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "gdbase.h"
#include "searchboard_core.h"

namespace {

TEST(SearchBoardGeometry, SquaresAndPointsBothWaysRound) {
  const int s = 23;
  EXPECT_EQ(SquareOrigin(0, s, false), (BoardPoint{0, 7 * s}));   // a1 bottom left
  EXPECT_EQ(SquareOrigin(0, s, true), (BoardPoint{7 * s, 0}));    // flipped: top right
  EXPECT_EQ(SquareOrigin(63, s, false), (BoardPoint{7 * s, 0}));  // h8
  EXPECT_EQ(SquareOrigin(12, s, false), (BoardPoint{4 * s, 6 * s}));  // e2
  for (bool flipped : {false, true})
    for (int sq = 0; sq < 64; ++sq) {
      const BoardPoint p = SquareOrigin(sq, s, flipped);
      EXPECT_EQ(PointToSquare(p.x, p.y, s, flipped), sq);
      EXPECT_EQ(PointToSquare(p.x + s - 1, p.y + s - 1, s, flipped), sq);
    }
  const struct {
    int x, y;
  } outside[] = {{-1, 0}, {0, -1}, {8 * s, 0}, {0, 8 * s}, {-100, -100}, {8 * s + 5, 3}};
  for (auto o : outside) EXPECT_EQ(PointToSquare(o.x, o.y, s, false), -1) << o.x << "," << o.y;
  EXPECT_EQ(PointToSquare(0, 0, 0, false), -1);
}

TEST(SearchBoardGeometry, PieceSetCellsAndGutter) {
  const struct {
    int width, cell, gutter;
  } cases[] = {{225, 23, 0}, {233, 23, 6}, {226, 23, 0}, {18, 0, 0}, {0, 0, 0}};
  for (auto c : cases) {
    const PieceSetCells cells = PieceSetGeometry(c.width);
    EXPECT_EQ(cells.cell, c.cell) << c.width;
    EXPECT_EQ(cells.gutter, c.gutter) << c.width;
  }
  EXPECT_FALSE(SquareDrawable(0));
  EXPECT_TRUE(SquareDrawable(1));
  EXPECT_TRUE(SquareDrawable(100));
  EXPECT_FALSE(SquareDrawable(101));
  EXPECT_FALSE(SquareDrawable(-3));
}

TEST(SearchBoardGeometry, StripCells) {
  // Black's pieces in strip row 0, White's in row 2; the column is the piece.
  EXPECT_EQ(PieceCell(9).column, 0);   // black pawn
  EXPECT_EQ(PieceCell(9).row, 0);
  EXPECT_EQ(PieceCell(6).column, 5);   // white king
  EXPECT_EQ(PieceCell(6).row, 2);
  EXPECT_EQ(BackgroundCell(0).row, 2);  // a1 dark
  EXPECT_EQ(BackgroundCell(1).row, 0);  // b1 light
  EXPECT_EQ(BackgroundCell(8).row, 0);  // a2 light
  EXPECT_EQ(BackgroundCell(63).row, 2);
}

TEST(SearchBoardCodes, EachSideKeepsItsPieces) {
  // The module writes White 9-14, Black 1-6; the board the other way.
  const sPosition& start = gdbase::InitialPosition();
  uint8_t board[64];
  BoardFromPosition(start, board);
  EXPECT_EQ(board[4], 6);    // e1: White's king, 6 on the board
  EXPECT_EQ(board[60], 14);  // e8: Black's king
  EXPECT_EQ(board[8], 1);    // a2: White pawn
  EXPECT_EQ(board[27], 0);
  EXPECT_EQ(start.squares[4], 14);  // as the module has it
  sPosition back{};
  PositionFromBoard(board, &back);
  for (int sq = 0; sq < 64; ++sq) EXPECT_EQ(back.squares[sq], start.squares[sq]) << sq;
  EXPECT_EQ(BoardCodeFromModule(0), 0);
  EXPECT_EQ(BoardCodeFromModule(7), 0);  // no such piece
  EXPECT_EQ(BoardCodeFromModule(15), 0);
}

class TestClock final : public SlideClock {
 public:
  int64_t Now() override { return now; }
  int64_t Frequency() override { return 1000; }
  void Pause() override {
    now += 1;
    ++pauses;
  }
  int64_t now = 0;
  int pauses = 0;
};

TEST(SearchBoardSlide, StepsPixelByPixelAndEndsAtTheEnd) {
  TestClock clock;
  std::atomic<int> stop{0};
  std::vector<BoardPoint> seen;
  SlidePath path = MakeSlidePath({0, 0}, {5, 2}, 0);
  EXPECT_FALSE(RunSlide(&path, 0, &clock, stop, [&](BoardPoint p) { seen.push_back(p); }));
  const std::vector<BoardPoint> expected = {{1, 1}, {2, 2}, {3, 2}, {4, 2}, {5, 2}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(clock.pauses, 0);  // speed 0: no waiting

  seen.clear();
  path = MakeSlidePath({10, 10}, {0, 3}, -2);  // two pixels a step
  RunSlide(&path, -2, &clock, stop, [&](BoardPoint p) { seen.push_back(p); });
  const std::vector<BoardPoint> fast = {{8, 8}, {6, 6}, {4, 4}, {2, 3}, {0, 3}};
  EXPECT_EQ(seen, fast);
}

TEST(SearchBoardSlide, PositiveSpeedWaitsItsShareOfASecond) {
  TestClock clock;
  std::atomic<int> stop{0};
  SlidePath path = MakeSlidePath({0, 0}, {4, 0}, 50);
  std::vector<int64_t> times;
  RunSlide(&path, 50, &clock, stop, [&](BoardPoint) { times.push_back(clock.now); });
  ASSERT_EQ(times.size(), 4u);
  for (size_t i = 1; i < times.size(); ++i) EXPECT_GE(times[i] - times[i - 1], 20);  // 1000 / 50 ticks
}

TEST(SearchBoardSlide, StopFlagEndsItAtTheEndPoint) {
  TestClock clock;
  std::atomic<int> stop{0};
  SlidePath path = MakeSlidePath({0, 0}, {100, 0}, 10);
  std::vector<BoardPoint> seen;
  EXPECT_TRUE(RunSlide(&path, 10, &clock, stop, [&](BoardPoint p) {
    seen.push_back(p);
    if (seen.size() == 3) stop = 1;
  }));
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen.back(), (BoardPoint{100, 0}));
}

}  // namespace
