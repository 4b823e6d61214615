// The board's dialogs under Wine with real input: the chess-set choice and
// the switch it makes, Board Settings, Customize Board with a modifier drag
// on the board, and the captured pieces window. Each ends in a screenshot.
#include "notation.h"
// clang-format off
#include <gtest/gtest.h>
// clang-format on
#include <functional>

#include "facet.h"
#include "set_choice.h"
#include "support/test_room_win.h"
#include "win/board_drawing_win32.h"
#include "win/board_settings_win32.h"
#include "win/captured_window_win32.h"
#include "win/set_choice_dialog_win32.h"

namespace {

std::function<void(HWND)> g_pending;
const char* g_wanted = nullptr;

void CALLBACK ActWhenShown(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = FindWindowA(nullptr, g_wanted);
  if (!dialog) return;
  KillTimer(nullptr, id);
  auto act = std::move(g_pending);
  g_pending = nullptr;
  if (act) act(dialog);
}

// Runs `act` on the first window of that caption once a modal loop shows it.
void WhenShown(const char* caption, std::function<void(HWND)> act) {
  g_pending = std::move(act);
  g_wanted = caption;
  SetTimer(nullptr, 0, 200, ActWhenShown);
}

POINT ControlCentre(HWND dialog, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(dialog, id), &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT ListLine(HWND dialog, int id, int line) {
  HWND list = GetDlgItem(dialog, id);
  RECT r{};
  SendMessageA(list, LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&r));
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(list, &p);
  return p;
}

class Dialogs : public ::testing::Test, public SetChoiceHost, public CapturedHost {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(InitBoardViews(GetModuleHandleA(nullptr)));
    ccInit(GetModuleHandleA(nullptr));
    FolderSets folder;
    ASSERT_TRUE(catalogue_.Load(&folder));
  }
  void Open(int n, const std::function<void(TestRoom*)>& prepare = {}) {
    room_ = std::make_unique<TestRoom>(catalogue_, n, 2);
    if (prepare) prepare(room_.get());
    room_->OpenWindow(720, 560);
    view_ = CreateBoardView(room_.get(), GetModuleHandleA(nullptr));
    ASSERT_NE(view_, nullptr);
    guitest::Pump(80);
  }
  void TearDown() override {
    DestroyCustomizeBoardDialog();
    if (CapturedDialogWindow()) DestroyWindow(CapturedDialogWindow());
    if (view_) {
      HWND roomWindow = GetParent(view_->window);
      DestroyBoardView(view_);
      DestroyWindow(roomWindow);
    }
    if (customPreview_) dibDelete(customPreview_);
  }
  void Shot(const std::string& name) { guitest::ScreenshotTo(RW_BOARDVIEW_ARTEFACTS, name); }

  // SetChoiceHost
  HINSTANCE Instance() override { return GetModuleHandleA(nullptr); }
  HWND MainWindow() override { return room_->roomWindow; }
  const ChessSetCatalogue& Catalogue() override { return catalogue_; }
  PackedDib* LoadBoardPicture(int index, int kind) override {
    const BoardSetRecord* b = catalogue_.GetBoardSetRecord(index);
    std::string item = b ? BoardSetItemName(*b, kind) : std::string();
    return item.empty() ? nullptr : dibReadFile((std::string(RW_SETS_DIR) + "/" + item).c_str());
  }
  PackedDib* LoadPiecePicture(int index, int which) override {
    const PieceSetRecord* p = catalogue_.GetPieceSetRecord(index);
    if (!p) return nullptr;
    std::string item = RecordName(which == 0 ? p->sheetItem : p->previewItem, kItemNameSize);
    return item.empty() ? nullptr : dibReadFile((std::string(RW_SETS_DIR) + "/" + item).c_str());
  }
  PackedDib* CustomPreview() override { return customPreview_; }
  CustomBoardView CustomView() override { return room_->customView; }
  HPALETTE Palette() override { return room_->palette; }
  // CapturedHost
  BoardView* CurrentBoardView() override { return view_; }
  void SetMenuCheck(int command, bool checked) override {
    menuCommand_ = command;
    menuChecked_ = checked;
  }

  static ChessSetCatalogue catalogue_;
  std::unique_ptr<TestRoom> room_;
  BoardView* view_ = nullptr;
  PackedDib* customPreview_ = nullptr;
  int menuCommand_ = 0;
  bool menuChecked_ = true;
};
ChessSetCatalogue Dialogs::catalogue_;

TEST_F(Dialogs, ChoosingSetsAndSwitching) {
  Open(0);
  int board = 0, pieces = room_->pieceIndex;
  std::vector<int> boards = BoardListIndexes(catalogue_, 2);
  ASSERT_GE(boards.size(), 2u);
  int otherLine = boards[0] == 0 ? 1 : 0;
  int other = boards[otherLine];
  std::string defaultPieces = RecordName(catalogue_.GetBoardSetRecord(other)->defaultPieceSet, kSetNameSize);
  std::string selectedPieces;
  int lines = 0;
  std::string lastLine;
  WhenShown("Select Chess Pieces & Board", [&](HWND dialog) {
    Shot("dialog-sets-open");
    guitest::Click(ListLine(dialog, 1891, otherLine));
    guitest::Pump(100);
    HWND pieceList = GetDlgItem(dialog, 1892);
    int sel = static_cast<int>(SendMessageA(pieceList, LB_GETCURSEL, 0, 0));
    char text[64] = {};
    SendMessageA(pieceList, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(text));
    selectedPieces = text;
    HWND boardList = GetDlgItem(dialog, 1891);
    lines = static_cast<int>(SendMessageA(boardList, LB_GETCOUNT, 0, 0));
    SendMessageA(boardList, LB_GETTEXT, lines - 1, reinterpret_cast<LPARAM>(text));
    lastLine = text;
    Shot("dialog-sets-other-board");
    guitest::Click(ControlCentre(dialog, IDOK));
  });
  ASSERT_EQ(RunSelectPiecesBoardDialog(this, &pieces, &board, 2), 1);
  EXPECT_EQ(selectedPieces, defaultPieces);
  EXPECT_EQ(lines, static_cast<int>(boards.size()) + 1);
  EXPECT_EQ(lastLine, "Custom Board");
  EXPECT_EQ(board, other);
  EXPECT_EQ(ChangeChessSets(view_, board, pieces), 1);
  guitest::Pump(100);
  EXPECT_EQ(room_->boardSetIndex, other);
  EXPECT_EQ(CountPiecesOnBoard(view_->records), 32);
  Shot("dialog-sets-switched");
  EXPECT_EQ(ChangeChessSets(view_, board, pieces), 0);  // the same sets again
  // "Custom Board" always rebuilds.
  EXPECT_EQ(ChangeChessSets(view_, kCustomBoardSet, pieces), 1);
  EXPECT_EQ(ChangeChessSets(view_, kCustomBoardSet, pieces), 1);
  EXPECT_NE(view_->ownedBoardBitmap, nullptr);
}

TEST_F(Dialogs, BoardSettingsCancelAndOk) {
  Open(0);
  BoardSettingsRecord record{{1, 0, 1, 0, 0, 1, 1, 0}};
  BoardSettingsRecord before = record;
  WhenShown("Board Settings", [&](HWND dialog) {
    guitest::Click(ControlCentre(dialog, 512));
    guitest::Click(ControlCentre(dialog, 304));
    guitest::Pump(50);
    Shot("dialog-board-settings");
    guitest::Click(ControlCentre(dialog, IDCANCEL));
  });
  EXPECT_EQ(RunBoardSettingsDialog(room_->roomWindow, GetModuleHandleA(nullptr), &record, view_), 0);
  EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
  WhenShown("Board Settings", [&](HWND dialog) {
    guitest::Click(ControlCentre(dialog, 512));
    guitest::Click(ControlCentre(dialog, 509));
    guitest::Click(ControlCentre(dialog, IDOK));
  });
  EXPECT_EQ(RunBoardSettingsDialog(room_->roomWindow, GetModuleHandleA(nullptr), &record, view_), 1);
  EXPECT_EQ(record.words[5], 0);
  EXPECT_EQ(record.words[6], 2);
  EXPECT_EQ(record.words[0], 1);
}

TEST_F(Dialogs, CustomizeByButtonsAndDrag) {
  int perspective = 0;
  for (int n = 0; n < catalogue_.boardCount(); ++n)
    if (!IsFlatBoard(*catalogue_.GetBoardSetRecord(n))) perspective = n;
  Open(perspective, [](TestRoom* r) {
    r->boardSetIndex = kCustomBoardSet;
    r->customView.size = 360, r->customView.tilt = 300, r->customView.turn = 338;
    r->layoutOffset = {60, 60};
  });
  CreateCustomizeBoardDialog(room_->roomWindow, GetModuleHandleA(nullptr), view_);
  ASSERT_NE(CustomizeBoardDialog(), nullptr);
  EnableCustomizeBoardDialog(1, 0);
  RECT board;
  GetWindowRect(view_->window, &board);
  SetWindowPos(CustomizeBoardDialog(), HWND_TOP, 740, 40, 0, 0, SWP_NOSIZE);
  guitest::Pump(100);
  guitest::Click(ControlCentre(CustomizeBoardDialog(), 21925));  // Rotate Left
  guitest::Pump(150);
  EXPECT_EQ(GetBoardCustomizeMode(), 0);
  EXPECT_EQ(room_->customView.turn, 337);
  Shot("dialog-customize");
  // A Ctrl drag on the board turns and tilts it, the outline following.
  ScreenPoint c;
  SquareCentre(view_->projection, 4, 4, &c, nullptr);
  POINT start{c.x, c.y};
  ClientToScreen(view_->window, &start);
  // The gesture goes in as absolute input only: a warped pointer would make
  // the display's own state (no Ctrl held) win over the injected key.
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  auto mouse = [&](POINT p, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (p.x * 65535 + sw / 2) / (sw - 1);
    in.mi.dy = (p.y * 65535 + sh / 2) / (sh - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    return in;
  };
  auto control = [](bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_CONTROL;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
  };
  std::vector<INPUT> first{control(false), mouse(start, 0), mouse(start, MOUSEEVENTF_LEFTDOWN)};
  for (int i = 1; i <= 6; ++i) first.push_back(mouse(POINT{start.x + 3 * i, start.y + 2 * i}, 0));
  SendInput(UINT(first.size()), first.data(), sizeof(INPUT));
  guitest::Pump(150);
  EXPECT_EQ(GetBoardCustomizeMode(), 1);
  Shot("dialog-customize-mid-drag");
  std::vector<INPUT> rest;
  for (int i = 7; i <= 10; ++i) rest.push_back(mouse(POINT{start.x + 3 * i, start.y + 2 * i}, 0));
  rest.push_back(mouse(POINT{start.x + 30, start.y + 20}, MOUSEEVENTF_LEFTUP));
  rest.push_back(control(true));
  SendInput(UINT(rest.size()), rest.data(), sizeof(INPUT));
  guitest::Pump(200);
  EXPECT_EQ(GetBoardCustomizeMode(), 0);
  EXPECT_GT(room_->customView.turn, 337);
  EXPECT_GT(room_->customView.tilt, 300);
  EXPECT_EQ(room_->layoutKeys.size(), 8u);
  EXPECT_EQ(CountPiecesOnBoard(view_->records), 32);
  Shot("dialog-customize-after-drag");
}

TEST_F(Dialogs, CapturedPieces) {
  Open(1);
  room_->SetPosition("r1bqk2r/pp3ppp/8/8/8/8/PPP2PPP/R1BQK1NR w KQkq - 0 1");
  ASSERT_EQ(CreateCapturedDialog(room_->roomWindow, GetModuleHandleA(nullptr), this), 0);
  EXPECT_EQ(CreateCapturedDialog(nullptr, GetModuleHandleA(nullptr), this), -1);
  HWND window = CapturedDialogWindow();
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, HWND_TOP, 380, 20, 300, 220, SWP_SHOWWINDOW);
  guitest::Pump(200);
  Shot("dialog-captured");
  // The white knight's picture: some pixel of the first cel is neither grey nor black.
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  guitest::Pump(50);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(menuCommand_, kCapturedMenuCommand);
  EXPECT_FALSE(menuChecked_);
  ShowWindow(window, SW_SHOW);
  guitest::Pump(200);
  Shot("dialog-captured-again");
}

TEST_F(Dialogs, CapturedPiecesOfASixteenBitSet) {
  int perspective = 0;
  for (int n = 0; n < catalogue_.boardCount(); ++n)
    if (!IsFlatBoard(*catalogue_.GetBoardSetRecord(n))) perspective = n;
  Open(perspective);
  ASSERT_EQ(room_->sheet->biBitCount, 16);
  room_->SetPosition("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
  ASSERT_EQ(CreateCapturedDialog(room_->roomWindow, GetModuleHandleA(nullptr), this), 0);
  HWND window = CapturedDialogWindow();
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, HWND_TOP, 300, 180, 420, 400, SWP_SHOWWINDOW);
  guitest::Pump(250);
  Shot("dialog-captured-16bit");
  // An empty board shows nothing.
  room_->board = Board{};
  InvalidateRect(window, nullptr, TRUE);
  guitest::Pump(150);
  RECT client;
  GetClientRect(window, &client);
  POINT corner{client.left + 20, client.top + 20};
  ClientToScreen(window, &corner);
  EXPECT_EQ(guitest::ScreenPixel(corner.x, corner.y), RGB(198, 198, 198));
}

}  // namespace

#include "win/best_line_board_win32.h"

namespace {

class Advisor : public BestLineHost {
 public:
  HWND main = nullptr;
  Board position{};
  std::string line = "e4 e5 Nf3 Nc6 Bb5";
  int starts = 0, stops = 0, running = 0;
  HWND MainWindow() override { return main; }
  HMODULE PictureModule() override { return GetModuleHandleA(nullptr); }
  HPALETTE Palette() override { return nullptr; }
  bool HaveGame() override { return true; }
  const Board& Position() override { return position; }
  int SideToMove() override { return WHITE; }
  bool AdvisorAnalyses() override { return true; }
  std::string ThinkingLine() override { return line; }
  int StartEngineAnalysis() override {
    ++starts;
    return running = 7;
  }
  void StopEngineAnalysis(int analysis) override {
    ++stops;
    if (analysis == running) running = 0;
  }
  void SetNumberedWindow(int, HWND) override {}
  void StoreWindowRect(int, const RECT&) override {}
  void ToggleMenuCheck(int) override {}
};

TEST_F(Dialogs, BestLineBoard) {
  Open(0);
  Advisor advisor;
  advisor.main = room_->roomWindow;
  SetInitialBoard(&advisor.position);
  ASSERT_EQ(CreateBestLineBoard(nullptr, GetModuleHandleA(nullptr), &advisor), -1);
  ASSERT_EQ(CreateBestLineBoard(room_->roomWindow, GetModuleHandleA(nullptr), &advisor), 0);
  HWND window = BestLineBoardWindow();
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, HWND_TOP, 420, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  ShowWindow(window, SW_SHOW);
  PostBestLineUpdate(window, &advisor);
  guitest::Pump(150);
  const BestLine* state = GetBestLineState(window);
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->count, 5);
  EXPECT_EQ(state->ply, 5);
  Shot("dialog-best-line");
  auto press = [&](int id) {
    guitest::Click(ControlCentre(window, id));
    guitest::Pump(60);
  };
  // Stepping is for a held board.
  press(7);  // Hold
  EXPECT_EQ(state->active, 0);
  advisor.line = "d4 d5";
  PostBestLineUpdate(window, &advisor);
  guitest::Pump(80);
  EXPECT_EQ(state->count, 5);  // held: the new line changes nothing
  press(20005);                // <<
  EXPECT_EQ(state->ply, 0);
  press(20000);                // >>
  EXPECT_EQ(state->ply, 5);
  press(20025);                // |> at the end
  EXPECT_EQ(state->ply, 5);
  press(20030);                // <|
  EXPECT_EQ(state->ply, 4);
  Shot("dialog-best-line-held");
  press(8);  // Resume reloads the newest line at once
  guitest::Pump(80);
  EXPECT_EQ(state->active, 1);
  EXPECT_EQ(state->count, 2);
  // Hiding stops the analysis; showing starts it again.
  ShowWindow(window, SW_HIDE);
  guitest::Pump(30);
  EXPECT_EQ(advisor.running, 0);
  int starts = advisor.starts;
  ShowWindow(window, SW_SHOW);
  guitest::Pump(30);
  EXPECT_EQ(advisor.starts, starts + 1);
  DestroyBestLineBoard(window);
}

}  // namespace
