// Position set-up under Wine: the tool window over a room's board, edited
// with real clicks and drags, and the Complete Board Setup dialog.
#include "notation.h"
// clang-format off
#include <gtest/gtest.h>
// clang-format on
#include <functional>

#include "position_edit.h"
#include "support/test_room_win.h"
#include "win/setup_position_win32.h"

namespace {

class SetUpHost : public SetUpPositionHost {
 public:
  BoardView* view = nullptr;
  HWND frame = nullptr;
  std::string status;
  std::vector<std::string> messages;
  int modalRuns = 0;
  std::function<void(HWND)> onModal;  // acts on the shown dialog, then closes it

  HINSTANCE Instance() override { return GetModuleHandleA(nullptr); }
  HWND MainFrame() override { return frame; }
  BoardView* CurrentBoardView() override { return view; }
  void SetStatusText(const char* text) override { status = text; }
  void ClearStatusText() override { status.clear(); }
  void ShowMessage(const char* text) override { messages.push_back(text); }
  INT_PTR RunModalDialog(HWND owner, int resource, DLGPROC procedure, LPARAM parameter) override {
    ++modalRuns;
    g_self = this;
    SetTimer(nullptr, 0, 150, ActOnModal);
    return SetUpPositionHost::RunModalDialog(owner, resource, procedure, parameter);
  }
  static SetUpHost* g_self;
  // Until the dialog is up: on a loaded machine it may take longer than one
  // tick to appear, and a modal dialog nobody answers never ends.
  static void CALLBACK ActOnModal(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowA(nullptr, "Complete Board Setup");
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, id);
    if (g_self->onModal) g_self->onModal(dialog);
  }
};
SetUpHost* SetUpHost::g_self = nullptr;

struct Outcome {
  int calls = 0, result = 0, side = 0;
};
Outcome g_outcome;
void Ended(int result, Board*, int side) {
  ++g_outcome.calls;
  g_outcome.result = result;
  g_outcome.side = side;
}

class SetUpPosition : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(InitBoardViews(GetModuleHandleA(nullptr)));
    FolderSets folder;
    ASSERT_TRUE(catalogue_.Load(&folder));
  }
  void SetUp() override {
    room_ = std::make_unique<TestRoom>(catalogue_, 0, 2);
    room_->OpenWindow(560, 560);
    view_ = CreateBoardView(room_.get(), GetModuleHandleA(nullptr));
    ASSERT_NE(view_, nullptr);
    host_.view = view_;
    host_.frame = room_->roomWindow;
    SetSetUpPositionHost(&host_);
    g_outcome = Outcome{};
    SetInitialBoard(&board_);
    guitest::Pump(80);
  }
  void TearDown() override {
    if (dialog_ && IsWindow(dialog_)) DestroyWindow(dialog_);
    HWND roomWindow = GetParent(view_->window);
    DestroyBoardView(view_);
    DestroyWindow(roomWindow);
    SetSetUpPositionHost(nullptr);
  }
  void Open() {
    dialog_ = CreateSetUpPositionDialog(&board_, Ended);
    ASSERT_NE(dialog_, nullptr);
    guitest::Pump(100);
  }
  POINT Centre(const char* square) {
    ScreenPoint p;
    SquareCentre(view_->projection, '8' - square[1], square[0] - 'a', &p, nullptr);
    POINT s{p.x, p.y};
    ClientToScreen(view_->window, &s);
    return s;
  }
  static POINT ControlCentre(HWND dialog, int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Press(int id) {
    guitest::Click(ControlCentre(dialog_, id));
    guitest::Pump(40);
  }
  int PieceAt(const char* square) { return board_[MakeSquare('8' - square[1], square[0] - 'a')]; }
  int SpriteAt(const char* square) { return view_->records.squares['8' - square[1]][square[0] - 'a']; }
  int Pieces() {
    PieceCounts n = CountBoardPieces(board_);
    return n.white + n.black;
  }
  void Shot(const std::string& name) { guitest::ScreenshotTo(RW_BOARDVIEW_ARTEFACTS, name); }

  static ChessSetCatalogue catalogue_;
  std::unique_ptr<TestRoom> room_;
  BoardView* view_ = nullptr;
  SetUpHost host_;
  Board board_{};
  HWND dialog_ = nullptr;
};
ChessSetCatalogue SetUpPosition::catalogue_;

TEST_F(SetUpPosition, EditsWithRealInput) {
  Open();
  Shot("setup-open");
  Press(2221);  // Clear Board
  EXPECT_EQ(Pieces(), 2);
  EXPECT_EQ(PieceAt("e1"), WHITE + KING);
  EXPECT_EQ(PieceAt("e8"), BLACK + KING);
  EXPECT_EQ(CountPiecesOnBoard(view_->records), 2);

  Press(30465);  // Delete
  guitest::Click(Centre("e1"));
  EXPECT_EQ(host_.status, "You cannot remove the King from the board.");
  EXPECT_EQ(PieceAt("e1"), WHITE + KING);
  guitest::Click(Centre("e4"));
  EXPECT_EQ(host_.status, "You cannot remove a piece from empty square.");

  Press(30400);  // white pawns
  for (const char* s : {"a2", "b2", "c2", "d2", "e2", "f2", "g2", "h2"}) guitest::Click(Centre(s));
  EXPECT_EQ(Pieces(), 10);
  EXPECT_GE(SpriteAt("h2"), 0);
  guitest::Click(Centre("a3"));
  EXPECT_EQ(host_.status, "You cannot set up an illegal position.");
  EXPECT_EQ(PieceAt("a3"), 0);
  guitest::Click(Centre("h2"));  // the chosen piece again: removed
  EXPECT_EQ(PieceAt("h2"), 0);
  EXPECT_EQ(SpriteAt("h2"), -1);

  Press(30410);  // white bishops: c1 dark, f1 and d3 light
  for (const char* s : {"c1", "f1", "d3"}) guitest::Click(Centre(s));
  EXPECT_EQ(PieceAt("d3"), WHITE + BISHOP);
  EXPECT_EQ(host_.status, "");
  Shot("setup-seven-pawns-three-bishops");

  Press(30460);  // Move
  guitest::Drag(Centre("b2"), Centre("b8"));
  guitest::Pump(100);
  EXPECT_EQ(host_.status, "You cannot move a pawn to the eighth rank.");
  EXPECT_EQ(PieceAt("b2"), WHITE + PAWN);
  EXPECT_EQ(PieceAt("b8"), 0);
  EXPECT_GE(SpriteAt("b2"), 0);
  guitest::Drag(Centre("e8"), Centre("g8"));
  EXPECT_EQ(PieceAt("g8"), BLACK + KING);
  EXPECT_GE(SpriteAt("g8"), 0);
  EXPECT_EQ(g_outcome.calls, 0);
  Shot("setup-after-drags");
}

TEST_F(SetUpPosition, ApplyWithWhiteInCheckForcesWhite) {
  Open();
  Press(2221);
  Press(30445);  // a black rook on e4 checks the white king
  guitest::Click(Centre("e4"));
  bool blackEnabled = true;
  host_.onModal = [&](HWND dialog) {
    blackEnabled = IsWindowEnabled(GetDlgItem(dialog, 4069));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 4068), BST_CHECKED);
    Shot("setup-complete-white-in-check");
    guitest::Click(ControlCentre(dialog, IDOK));
  };
  Press(IDOK);
  guitest::Pump(100);
  EXPECT_FALSE(blackEnabled);
  EXPECT_EQ(g_outcome.calls, 1);
  EXPECT_EQ(g_outcome.result, 1);
  EXPECT_EQ(g_outcome.side, WHITE);
  EXPECT_FALSE(IsWindow(dialog_));
  EXPECT_EQ(board_[WHITE_KING_SQUARE], MakeSquare(7, 4));
}

TEST_F(SetUpPosition, CastlingBoxesFollowThePieces) {
  Open();
  // From the starting position, the a1 rook leaves and Black's short right is unticked.
  Press(30465);
  guitest::Click(Centre("a1"));
  int enabled[4] = {}, checked[4] = {};
  host_.onModal = [&](HWND dialog) {
    for (int i = 0; i < 4; ++i) {
      enabled[i] = IsWindowEnabled(GetDlgItem(dialog, 4064 + i));
      checked[i] = IsDlgButtonChecked(dialog, 4064 + i);
    }
    guitest::Click(ControlCentre(dialog, 4067));
    guitest::Pump(40);
    Shot("setup-complete-castling");
    guitest::Click(ControlCentre(dialog, IDOK));
  };
  Press(IDOK);
  guitest::Pump(100);
  EXPECT_FALSE(enabled[0]);  // White long: the a1 rook is gone
  EXPECT_FALSE(checked[0]);
  EXPECT_TRUE(enabled[1] && enabled[2] && enabled[3]);
  EXPECT_EQ(g_outcome.calls, 1);
  EXPECT_EQ(board_[CASTLING_RIGHTS], WHITE_SHORT | BLACK_LONG);
}

TEST_F(SetUpPosition, BothKingsInCheckShowNoDialog) {
  Board both{};
  ClearBoard(&both);
  both[MakeSquare(7, 4)] = WHITE + KING;
  both[MakeSquare(0, 4)] = BLACK + KING;
  both[MakeSquare(4, 4)] = WHITE + ROOK;
  both[MakeSquare(7, 0)] = BLACK + ROOK;
  FinishBoardSetup(&both);
  CompleteSetupExchange exchange{&both, WHITE};
  EXPECT_EQ(RunCompleteBoardSetupDialog(room_->roomWindow, &exchange), 0);
  EXPECT_EQ(host_.modalRuns, 0);
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0], "Illegal position: both sides are in check.");
}

TEST_F(SetUpPosition, CancelRestoresTheBoardAfterCancelledApplies) {
  Board before = board_;
  Open();
  Press(30465);
  guitest::Click(Centre("d1"));
  guitest::Click(Centre("g8"));
  host_.onModal = [](HWND dialog) { guitest::Click(ControlCentre(dialog, IDCANCEL)); };
  Press(IDOK);
  guitest::Pump(80);
  EXPECT_TRUE(IsWindowVisible(dialog_));
  Press(IDOK);
  guitest::Pump(80);
  EXPECT_EQ(host_.modalRuns, 2);
  EXPECT_EQ(g_outcome.calls, 0);
  Press(IDCANCEL);
  guitest::Pump(80);
  EXPECT_EQ(g_outcome.calls, 1);
  EXPECT_EQ(g_outcome.result, 2);
  EXPECT_EQ(std::memcmp(before.sq, board_.sq, 128), 0);
  EXPECT_GE(SpriteAt("d1"), 0);
  EXPECT_GE(SpriteAt("g8"), 0);
  EXPECT_EQ(CountPiecesOnBoard(view_->records), 32);
  EXPECT_FALSE(IsWindow(dialog_));
}

}  // namespace
