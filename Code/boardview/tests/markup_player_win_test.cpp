// The markup player on a real board view under Wine: a clip without sound
// plays marks, arrows, glyphs, a slide, a put piece and a PAUSE box on the
// clock, and the board comes back to its position at the end.
#include "notation.h"
// clang-format off
#include <gtest/gtest.h>
// clang-format on
#include "callback_queue.h"
#include "support/test_room_win.h"
#include "win/markup_glyphs_win32.h"
#include "win/markup_view_win32.h"

namespace {

class RoomMarkupHost : public BoardViewMarkupHost {
 public:
  RoomMarkupHost(BoardView* view, TestRoom* room) : BoardViewMarkupHost(view), room_(room) {}
  int poll = 0;
  std::string status, pauseText;
  std::function<void()> onPause;
  void ChangePollCount(int raise) override { poll += raise ? 1 : -1; }
  bool StartSound(VoiceClip*) override { return false; }
  bool SoundPlaying(VoiceClip*) override { return false; }
  void FreeSound(VoiceClip*) override {}
  bool HaveGame() override { return true; }
  bool GamePosition(Board* out) override {
    *out = room_->board;
    return true;
  }
  void SetGamePosition(const Board& board) override { room_->board = board; }
  uint32_t GameKindFlags() override { return 0; }
  void SetSideToMove(int side) override { room_->side = side; }
  bool SetGamePositionText(const char*) override { return false; }
  Board* GameBoard() override { return &room_->board; }
  void SetStatusText(const char* text) override { status = text; }
  void ClearStatusText() override { status.clear(); }
  void ShowPauseMessage(const char* text) override {
    pauseText = text;
    // A box of our own over the board, as the program's message box would stand.
    HWND box = CreateWindowExA(WS_EX_TOPMOST, "STATIC", text, WS_POPUP | WS_VISIBLE | WS_BORDER | SS_CENTER, 20, 380,
                               360, 60, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    guitest::Pump(80);
    if (onPause) onPause();
    DestroyWindow(box);
  }
  void LessonEvent(char, const char*) override {}
  void RestorePanelGame(bool, const Board&) override {}

 private:
  TestRoom* room_;
};

int g_completed = 0;

class MarkupOnBoard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(InitBoardViews(GetModuleHandleA(nullptr)));
    FolderSets folder;
    ASSERT_TRUE(catalogue_.Load(&folder));
    CreateCallbackQueue(1, 0);
  }
  static void TearDownTestSuite() { DestroyCallbackQueue(1); }
  void SetUp() override {
    room_ = std::make_unique<TestRoom>(catalogue_, 1, 2);
    room_->OpenWindow(640, 560);
    view_ = CreateBoardView(room_.get(), GetModuleHandleA(nullptr));
    ASSERT_NE(view_, nullptr);
    guitest::Pump(80);
  }
  void TearDown() override {
    HWND roomWindow = GetParent(view_->window);
    DestroyBoardView(view_);
    DestroyWindow(roomWindow);
  }
  void Shot(const std::string& name) { guitest::ScreenshotTo(RW_BOARDVIEW_ARTEFACTS, name); }

  static ChessSetCatalogue catalogue_;
  std::unique_ptr<TestRoom> room_;
  BoardView* view_ = nullptr;
};
ChessSetCatalogue MarkupOnBoard::catalogue_;

TEST_F(MarkupOnBoard, AClipPlaysAndTheBoardComesBack) {
  RoomMarkupHost host(view_, room_.get());
  Board start = room_->board;
  VoiceClip clip;
  clip.blockInput = true;
  clip.completion = [](void*) { ++g_completed; };
  clip.events = {{0, "H:e4d5"},   {100, "H2:f3c6"},    {200, "A:Tg1f3We2e4Bd7d5"}, {300, "G:WNc3"},
                 {400, "S:e2e4"}, {500, "P:WQh5"},     {600, "X:a7"},              {700, "K:The centre"},
                 {800, "PAUSE"},  {900, "N1:h5"}};
  g_completed = 0;
  ASSERT_EQ(StartMarkupPlayer(&clip, &host), 1);
  EXPECT_EQ(host.poll, 1);
  bool shot = false;
  host.onPause = [&] {
    Shot("markup-mid-run");
    shot = true;
    // Everything up to the pause is on the board.
    EXPECT_GE(view_->records.squares[4][4], 0);   // the e-pawn slid to e4
    EXPECT_EQ(view_->records.squares[6][4], -1);
    EXPECT_GE(view_->records.squares[3][7], 0);   // a queen on h5
    EXPECT_EQ(view_->records.squares[1][0], -1);  // a7 taken off
    EXPECT_NE(view_->marks.words[4][4] & 2u, 0u);
    EXPECT_TRUE(view_->arrows[0].inUse && view_->arrows[2].inUse);
    EXPECT_EQ(view_->glyphs[0].inUse, 1);
  };
  DWORD until = GetTickCount() + 10000;
  while (clip.player && GetTickCount() < until) {
    RunCallbackQueue(1);
    guitest::Pump(5);
  }
  EXPECT_TRUE(shot);
  EXPECT_EQ(host.pauseText, kDefaultPauseText);
  EXPECT_EQ(host.status, "The centre");
  EXPECT_FALSE(clip.player);
  EXPECT_EQ(host.poll, 0);
  EXPECT_EQ(g_completed, 1);
  // The position came back, sprites with it; marks, arrows and glyphs are gone.
  EXPECT_EQ(std::memcmp(start.sq, room_->board.sq, 128), 0);
  EXPECT_GE(view_->records.squares[6][4], 0);
  EXPECT_EQ(view_->records.squares[4][4], -1);
  EXPECT_GE(view_->records.squares[1][0], 0);
  EXPECT_EQ(view_->records.squares[3][7], -1);
  EXPECT_EQ(ArrowCount(), 0);
  for (const GlyphRecord& g : view_->glyphs) EXPECT_EQ(g.inUse, 0);
  EXPECT_EQ(view_->marks.words[4][4] & 2u, 0u);
  guitest::Pump(80);
  Shot("markup-restored");
}

TEST_F(MarkupOnBoard, TeachingModesTintAndCover) {
  room_->SetPosition("4k3/8/8/8/1b6/8/3N4/4K3 w - - 0 1");
  SetTeachingMode(view_, 5266);
  ApplyTeachingMode(view_, room_->board);
  int knight = view_->records.squares[6][3];
  ASSERT_GE(knight, 0);
  EXPECT_TRUE(view_->pieceTinted[knight]);
  Shot("teaching-pinned-knight");
  SetTeachingMode(view_, 5264);  // another piece mode: the old tints go first
  EXPECT_FALSE(view_->pieceTinted[knight]);
  SetTeachingMode(view_, 5272);
  ApplyTeachingMode(view_, room_->board);
  EXPECT_NE(view_->marks.words[7][3] & 2u, 0u);  // d1, next to the white king
  SetTeachingMode(view_, 5271);
  ApplyTeachingMode(view_, room_->board);
  EXPECT_NE(view_->marks.words[0][3] & 4u, 0u);  // d8
  Shot("teaching-black-coverage");
  SetTeachingMode(view_, 5261);
  for (auto& row : view_->marks.words)
    for (uint32_t w : row) EXPECT_EQ(w, 0u);
  // Legal moves: ghosts on a dragged piece's targets while it is held.
  SetTeachingMode(view_, 5262);
  ShowLegalMoveGhosts(view_, room_->board, 4, 7);  // the white king
  int ghosts = 0;
  for (const GlyphRecord& g : view_->glyphs) ghosts += g.inUse;
  EXPECT_GE(ghosts, 3);
  Shot("teaching-legal-move-ghosts");
  ClearMarkupGlyphs(view_);
  // A listed empty square shows nothing.
  EXPECT_TRUE(ShowMarkupGlyph(view_, -1, -1, 3, 6, 1));   // the knight's square: a tint
  EXPECT_FALSE(ShowMarkupGlyph(view_, -1, -1, 0, 0, 1));  // a8 is empty
}

}  // namespace
