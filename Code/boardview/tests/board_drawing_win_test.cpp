// The board drawing under Wine: the custom board composed and decorated
// (border, edge labels, lamps, in-square names) and arrows over regular
// and custom boards, each scene ending in a screenshot.
#include "notation.h"
// clang-format off
#include <gtest/gtest.h>
// clang-format on
#include "support/test_room_win.h"
#include "win/board_drawing_win32.h"

namespace {

class BoardDrawing : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(InitBoardViews(GetModuleHandleA(nullptr)));
    // The program's own font: labels, names and the custom board's pieces.
    ASSERT_GT(AddFontResourceA(RW_PROGDATA_DIR "/rwonyx.ttf"), 0);
    FolderSets folder;
    ASSERT_TRUE(catalogue_.Load(&folder));
  }
  static int PerspectiveSet() {
    for (int n = 0; n < catalogue_.boardCount(); ++n)
      if (!IsFlatBoard(*catalogue_.GetBoardSetRecord(n))) return n;
    return 0;
  }
  std::unique_ptr<TestRoom> Open(int n, int width, int height, const std::function<void(TestRoom*)>& prepare = {}) {
    auto room = std::make_unique<TestRoom>(catalogue_, n, 2);
    if (prepare) prepare(room.get());
    room->OpenWindow(width, height);
    view_ = CreateBoardView(room.get(), GetModuleHandleA(nullptr));
    EXPECT_NE(view_, nullptr);
    guitest::Pump(100);
    return room;
  }
  void TearDown() override {
    if (view_) {
      HWND roomWindow = GetParent(view_->window);
      DestroyBoardView(view_);
      DestroyWindow(roomWindow);
      view_ = nullptr;
    }
  }
  POINT Centre(const char* square) {
    ScreenPoint p;
    SquareCentre(view_->projection, '8' - square[1], square[0] - 'a', &p, nullptr);
    POINT s{p.x, p.y};
    ClientToScreen(view_->window, &s);
    return s;
  }
  COLORREF Colour(int index) {
    const DibRgbQuad& q = view_->colours[index];
    return RGB(q.red, q.green, q.blue);
  }
  void Shot(const std::string& name) { guitest::ScreenshotTo(RW_BOARDVIEW_ARTEFACTS, name); }
  void Repaint() {
    RECT all;
    GetClientRect(view_->window, &all);
    RedrawBoardScene(view_, &all);
    guitest::Pump(60);
  }

  static ChessSetCatalogue catalogue_;
  BoardView* view_ = nullptr;
};
ChessSetCatalogue BoardDrawing::catalogue_;

TEST_F(BoardDrawing, CustomBoardWithLabelsLampsAndArrows) {
  auto room = Open(PerspectiveSet(), 720, 560, [](TestRoom* r) {
    r->boardSetIndex = kCustomBoardSet;
    r->customView.size = 400, r->customView.tilt = 300, r->customView.turn = 338;
    r->customView.vanishing = 365;
    r->layoutOffset = {60, 60};
    r->customView.dark = {0x2E, 0x5A, 0x8B, 0};
    r->customView.light = {0xB5, 0xDE, 0xF0, 0};
    r->settings.coordinates = 1;
    r->settings.turnLights = 1;
  });
  ASSERT_NE(view_, nullptr);
  ASSERT_NE(view_->ownedBoardBitmap, nullptr);
  EXPECT_EQ(view_->boardBitmap, view_->ownedBoardBitmap);
  EXPECT_EQ(view_->geometry->kindWord, MakeKindWord(2, 2));
  // The squares show the custom colours (e4 is light, d4 dark).
  POINT e4 = Centre("e4"), d4 = Centre("d4");
  EXPECT_EQ(guitest::ScreenPixel(e4.x, e4.y), Colour(PAL_CUSTOM_LIGHT));
  EXPECT_EQ(guitest::ScreenPixel(d4.x, d4.y), Colour(PAL_CUSTOM_DARK));
  for (const char* a : {"Tg1f3", "Wb1c3", "Bd7d5", "Nc8g4", "Dh7h5", "Te2e4"}) AddBoardArrow(view_, a);
  Repaint();
  // The head of an arrow: the red dot at the to-square's centre.
  POINT e4Head = Centre("e4");
  EXPECT_EQ(guitest::ScreenPixel(e4Head.x, e4Head.y), RGB(191, 0, 0));
  Shot("drawing-custom-300-338");
  // Black to move: its lamp fills.
  room->side = BLACK;
  Repaint();
  Shot("drawing-custom-black-to-move");
}

TEST_F(BoardDrawing, InSquareNamesOnlyOnEmptySquares) {
  auto room = Open(0, 560, 560, [](TestRoom* r) { r->settings.coordinates = 2; });
  ASSERT_NE(view_, nullptr);
  Shot("drawing-names-initial");
  POINT e4 = Centre("e4");
  // A name's pixels differ from the plain square round it; compare an
  // empty square's middle row with the square's own colour.
  auto differs = [&](const char* square) {
    POINT c = Centre(square);
    COLORREF plain = guitest::ScreenPixel(c.x, c.y - 18);
    int changed = 0;
    for (int dx = -10; dx <= 10; ++dx)
      for (int dy = -6; dy <= 6; ++dy) changed += guitest::ScreenPixel(c.x + dx, c.y + dy) != plain;
    return changed;
  };
  EXPECT_GT(differs("e4"), 5);
  (void)e4;
  // The e2 pawn leaves: its name shows on the next paint.
  room->board[MakeSquare(6, 4)] = 0;
  room->board[MakeSquare(4, 4)] = WHITE + PAWN;
  SendMessageA(view_->window, kGameEventMessage, GAME_NEW_POSITION, 0);
  guitest::Pump(60);
  Repaint();
  Shot("drawing-names-after-e4");
  EXPECT_EQ(view_->records.squares[6][4], -1);
  EXPECT_GT(differs("e2"), 5);
}

TEST_F(BoardDrawing, ArrowsOnAFlatSet) {
  auto room = Open(0, 560, 560);
  ASSERT_NE(view_, nullptr);
  for (const char* a : {"Tg1f3", "Tb8c6", "We2e4", "Bd7d5", "Nf1b5", "Dd1h5", "xa2a4", "Tx9e4", "Te"})
    AddBoardArrow(view_, a);
  int used = 0;
  for (const ArrowSlot& s : view_->arrows) used += s.inUse;
  EXPECT_EQ(used, 7);
  Repaint();
  POINT f3 = Centre("f3");
  EXPECT_EQ(guitest::ScreenPixel(f3.x, f3.y), RGB(191, 0, 0));
  Shot("drawing-arrows-flat");
  ClearBoardArrows(view_);
  Repaint();
  EXPECT_NE(guitest::ScreenPixel(f3.x, f3.y), RGB(191, 0, 0));
}

}  // namespace

namespace {

TEST_F(BoardDrawing, FramedCustomBoardFollowsItsFrame) {
  auto room = Open(0, 720, 560, [](TestRoom* r) {
    r->boardSetIndex = kCustomBoardSet;
    r->frameMode = 1;
    r->customView.size = 300, r->customView.tilt = 360, r->customView.turn = 360;
  });
  ASSERT_NE(view_, nullptr);
  SetWindowPos(view_->window, nullptr, 10, 10, 420, 420, SWP_NOZORDER);
  guitest::Pump(150);
  EXPECT_EQ(view_->geometry->size, 420 - 2 * view_->projection.leftMargin - 4);
  EXPECT_NE(view_->ownedPieceSheet, nullptr);
  EXPECT_EQ(CountPiecesOnBoard(view_->records), 32);
  Repaint();
  Shot("drawing-framed-custom-420");
  SetWindowPos(view_->window, nullptr, 10, 10, 300, 300, SWP_NOZORDER);
  guitest::Pump(150);
  EXPECT_EQ(view_->geometry->size, 300 - 2 * view_->projection.leftMargin - 4);
  EXPECT_EQ(CountPiecesOnBoard(view_->records), 32);
}

}  // namespace
