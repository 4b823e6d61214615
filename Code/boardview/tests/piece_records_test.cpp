// Piece sheet layout, piece records, the script player, slide thinning and
// square marks.
#include "piece_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "piece_cels.h"
#include "position_setup.h"
#include "slide_steps.h"
#include "square_marks.h"

namespace {

TEST(PieceCels, SheetRule) {
  int32_t x, y;
  ASSERT_TRUE(PieceCelRect(0, PAWN, -1, &x, &y, 40, 50));
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 1);
  ASSERT_TRUE(PieceCelRect(1, KING, -1, &x, &y, 40, 50));
  EXPECT_EQ(x, 41 * 5 + 1);
  EXPECT_EQ(y, 51 + 1);
  ASSERT_TRUE(PieceCelRect(1, KNIGHT, 16, &x, &y, 40, 50));
  EXPECT_EQ(x, 41 * 16 + 1);
  EXPECT_EQ(y, 52 * 2 + 52 * 6 + 1);
  EXPECT_FALSE(PieceCelRect(2, KING, -1, &x, &y, 40, 50));
  EXPECT_FALSE(PieceCelRect(0, 6, -1, &x, &y, 40, 50));
  EXPECT_FALSE(PieceCelRect(0, KING, 17, &x, &y, 40, 50));
  int32_t w, h;
  PieceSheetSize(false, 40, 50, &w, &h);
  EXPECT_EQ(w, 41 * 6 + 1);
  EXPECT_EQ(h, 51 * 2 + 1);
  PieceSheetSize(true, 40, 50, &w, &h);
  EXPECT_EQ(w, 41 * 17 + 1);
  EXPECT_EQ(h, 52 * 12);
}

TEST(PieceCels, CursorKind) {
  const int kCases[][2] = {{0, 0}, {299, 0}, {300, 1}, {449, 1}, {450, 2}, {900, 2}};
  for (const auto& c : kCases) EXPECT_EQ(ChoosePieceCursorKind(c[0]), c[1]) << c[0];
}

TEST(SlideSteps, ThinningBySetting) {
  std::vector<std::pair<int, int>> walked;
  WalkLine(0, 0, 60, 20, [&](int32_t x, int32_t y) { walked.emplace_back(x, y); });
  ASSERT_EQ(walked.size(), 60u);  // the end point is not walked
  EXPECT_EQ(walked.front(), std::make_pair(0, 0));
  EXPECT_EQ(walked.back().first, 59);
  SlideStepper stepper;
  std::vector<int> drawnAt;
  int index = 0;
  auto countingWalker = [&](int32_t, int32_t, int32_t, int32_t,
                            const std::function<void(int32_t, int32_t)>& point) {
    for (index = 0; index < 60; ++index) point(index, 0);
  };
  SlideStepper counted(countingWalker);
  auto draw = [&](int32_t x, int32_t) { drawnAt.push_back(x); };
  EXPECT_EQ(SlideThreshold(SLIDE_FAST, 50, 50), 5);
  EXPECT_EQ(counted.Slide(SlideThreshold(SLIDE_FAST, 50, 50), 0, 0, 60, 0, draw), 10);
  EXPECT_EQ(drawnAt[0], 5);  // every sixth point
  EXPECT_EQ(drawnAt[1], 11);
  drawnAt.clear();
  EXPECT_EQ(counted.Slide(SlideThreshold(SLIDE_SLOW, 50, 50), 0, 0, 60, 0, draw), 60);
  drawnAt.clear();
  EXPECT_EQ(counted.Slide(SlideThreshold(SLIDE_OFF, 50, 50), 0, 0, 60, 0, draw), 0);
  EXPECT_TRUE(drawnAt.empty());
}

struct FakeClock : SlideClock {
  uint32_t now = 1000;
  uint32_t slept = 0;
  uint32_t NowMs() override { return now; }
  void SleepMs(uint32_t ms) override {
    slept += ms;
    now += ms;
  }
};

TEST(SlideSteps, DrawnPointsArePaced) {
  FakeClock clock;
  SlideStepper stepper(WalkLine, &clock);
  int drawn = stepper.Slide(0, 0, 0, 10, 0, [&](int32_t, int32_t) { clock.now += 3; });  // 3 ms to draw
  EXPECT_EQ(drawn, 10);
  EXPECT_EQ(clock.slept, 9u * 5u);  // the first point at once, the others 8 ms apart
  clock.slept = 0;
  stepper.Slide(0, 0, 0, 10, 0, [&](int32_t, int32_t) { clock.now += 20; });  // slow drawing: no wait
  EXPECT_EQ(clock.slept, 0u);
}

struct RecordingScene : PieceSpriteScene {
  std::vector<std::string> log;
  void SetPiecePicture(int piece, int colour, int kind, int cel) override {
    log.push_back("P" + std::to_string(piece) + ":" + std::to_string(colour) + std::to_string(kind) + "/" +
                  std::to_string(cel));
  }
  void ShowPiece(int piece, ScreenPoint, int32_t) override { log.push_back("S" + std::to_string(piece)); }
  void MovePieceHidden(int piece, ScreenPoint, int32_t) override {
    log.push_back("M" + std::to_string(piece));
  }
  void HidePiece(int piece) override { log.push_back("H" + std::to_string(piece)); }
};

BoardProjection FlatView(BoardSetRecord* g) {
  *g = BoardSetRecord{};
  g->turn = 360, g->tilt = 360, g->vanishing = 365, g->size = 400;
  BoardProjection view;
  view.geometry = g;
  UpdateBoardOffset(&view, nullptr);
  return view;
}

TEST(PieceRecords, FillingStopsAtThe35thPiece) {
  Board board;
  int side;
  ASSERT_TRUE(
      SetupPositionFromFen("qqqqqqqq/qqqqqqqq/qqqqqqqq/qqqqqqqq/qqqqqqqq/8/8/8 w - -", &board, &side));
  PieceSpriteRecords set;
  EXPECT_EQ(SetPieceSpritesFromPosition(&set, nullptr, 360, board), 34);
  EXPECT_EQ(CountPiecesOnBoard(set), 34);
  EXPECT_EQ(set.squares[4][1], 33);
  EXPECT_EQ(set.squares[4][2], -1);  // the 35th found no record
  int index;
  EXPECT_FALSE(AssignPieceSprite(&set, nullptr, 360, 0, 0, "WK", &index));
  EXPECT_TRUE(AssignPieceSprite(&set, nullptr, 360, 0, 0, "--", &index));
  EXPECT_EQ(index, -1);
  EXPECT_FALSE(AssignPieceSprite(&set, nullptr, 360, 0, 0, "XK", &index));
  EXPECT_EQ(PlacePieceSpriteOnSquare(&set, nullptr, 360, 8, 0, "WK"), -1);
}

TEST(PieceRecords, ScriptPlayerMovesRecords) {
  Board board;
  int side;
  ASSERT_TRUE(SetupPositionFromFen("1r2k3/P7/8/8/8/8/8/4K2R w K -", &board, &side));
  BoardSetRecord g;
  BoardProjection view = FlatView(&g);
  PieceSpriteRecords set;
  ASSERT_EQ(SetPieceSpritesFromPosition(&set, nullptr, 360, board), 5);
  std::vector<std::string> slides;
  auto slide = [](void* context, int piece, int fc, int fr, int tc, int tr) {
    static_cast<std::vector<std::string>*>(context)->push_back(std::to_string(piece) + ":" +
                                                               std::to_string(fc) + std::to_string(fr) + "-" +
                                                               std::to_string(tc) + std::to_string(tr));
  };
  int pawn = set.squares[1][0];
  EXPECT_EQ(PlayMoveScript(&set, nullptr, view, "Sa7b8DWQb8", false, HIDE_NONE, slide, &slides), 1);
  ASSERT_EQ(slides.size(), 1u);
  EXPECT_EQ(slides[0], std::to_string(pawn) + ":01-10");
  int queen = set.squares[0][1];
  ASSERT_GE(queen, 0);
  EXPECT_EQ(set.pieces[queen].kind, QUEEN);
  EXPECT_EQ(set.squares[1][0], -1);
  EXPECT_EQ(CountPiecesOnBoard(set), 4);  // the rook and the pawn are gone, the queen came
  // Take it back without slides.
  slides.clear();
  EXPECT_EQ(PlayMoveScript(&set, nullptr, view, "DWPb8Sb8a7DBRb8", true, HIDE_NONE, slide, &slides), 1);
  EXPECT_TRUE(slides.empty());
  EXPECT_EQ(set.pieces[set.squares[1][0]].kind, PAWN);
  EXPECT_EQ(set.pieces[set.squares[0][1]].kind, ROOK);
  EXPECT_EQ(CountPiecesOnBoard(set), 5);
  // Failures stop the script: no piece, or K on a piece that is no knight.
  EXPECT_EQ(PlayMoveScript(&set, nullptr, view, "Sc3c4", true, HIDE_NONE, nullptr, nullptr), 0);
  EXPECT_EQ(PlayMoveScript(&set, nullptr, view, "Kh1h2g3", true, HIDE_NONE, nullptr, nullptr), 0);
  EXPECT_EQ(PlayMoveScript(&set, nullptr, view, "Sq9a1", true, HIDE_NONE, nullptr, nullptr), 0);
}

TEST(PieceRecords, HideModesAndMultiCelPictures) {
  Board board;
  int side;
  ASSERT_TRUE(SetupPositionFromFen("4k3/8/8/8/8/8/8/4K3 w - -", &board, &side));
  BoardSetRecord g;
  BoardProjection view = FlatView(&g);
  RecordingScene scene;
  PieceSpriteRecords set;
  set.multiCel = true;
  SetPieceSpritesFromPosition(&set, &scene, 360, board);
  EXPECT_EQ(scene.log[0], "P0:10/3");   // e8's block 2, cel 3
  EXPECT_EQ(scene.log[1], "P1:00/15");  // e1's block 14
  scene.log.clear();
  LayoutPieceSprites(&set, &scene, view, HIDE_WHITE);
  EXPECT_EQ(scene.log, (std::vector<std::string>{"S0", "M1"}));
  scene.log.clear();
  PlayMoveScript(&set, &scene, view, "Se1d2", false, HIDE_NONE, nullptr, nullptr);
  EXPECT_EQ(set.pieces[1].block, 13);
  EXPECT_NE(std::find(scene.log.begin(), scene.log.end(), "P1:00/14"), scene.log.end());
}

TEST(SquareMarks, FlagsAndLastMove) {
  SquareMarks marks;
  marks.MarkSquares("e4d5", MARK_INVERT);
  marks.MarkSquares("e4", MARK_TEACHING);
  EXPECT_EQ(marks.words[4][4], MARK_INVERT | MARK_TEACHING);
  marks.MarkSquares("e4d5", 0);  // every flag of the named squares
  EXPECT_EQ(marks.words[4][4], 0u);
  EXPECT_EQ(marks.words[3][3], 0u);
  marks.MarkSquares("z9a1b", MARK_INVERT);  // bad pair skipped, odd tail ignored
  EXPECT_EQ(marks.words[7][0], MARK_INVERT);
  EXPECT_EQ(marks.words[7][1], 0u);
  marks.MarkSquares(nullptr, MARK_INVERT);
  marks.SetLastMoveMarks(0x64, 0x44, true);  // e2-e4
  marks.SetLastMoveMarks(0x13, 0x33, true);  // d7-d5
  EXPECT_EQ(marks.words[6][4] & MARK_LAST_MOVE, 0u);
  EXPECT_EQ(marks.words[4][4] & MARK_LAST_MOVE, 0u);
  EXPECT_EQ(marks.words[1][3], MARK_LAST_MOVE);
  EXPECT_EQ(marks.words[3][3], MARK_LAST_MOVE);
  marks.SetLastMoveMarks(0x13, 0x88, true);  // an off-board square is ignored
  EXPECT_EQ(marks.words[3][3], 0u);
  marks.SetLastMoveMarks(0x13, 0x88, false);
  EXPECT_EQ(marks.words[1][3], 0u);
  const struct {
    uint32_t word;
    MarkFill fill;
  } kFills[] = {{0, MarkFill::None},
                {MARK_INVERT, MarkFill::Invert},
                {MARK_INVERT | MARK_LAST_MOVE, MarkFill::Frame},
                {MARK_INVERT | MARK_WHITE_COVER, MarkFill::OwnColour},
                {MARK_TEACHING | MARK_LAST_MOVE, MarkFill::Frame}};
  for (const auto& f : kFills) EXPECT_EQ(MarkFillFor(f.word), f.fill) << f.word;
}

}  // namespace
