// The board window in a test room with two human players, driven by real
// mouse and keyboard input: drags, Quick Entry clicks, typed moves, the
// owner's say over offered moves, illegal drops explained, the blindfold
// lock, square keeping and game events. Every scene ends in a screenshot.
// The notation header comes before any system header, whose language
// macros share its enumerators' names.
#include "notation.h"
// clang-format off
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "board.h"
#include "guitest.h"
#include "message_table.h"
#include "movegen.h"
#include "position_setup.h"
// clang-format on
#include "bmpbutton.h"
#include "facet.h"
#include "win/board_view_win32.h"
#include "win/font_piece_sheet_win32.h"
#include "win/promotion_dialog_win32.h"
#include "support/test_room_win.h"

namespace {

class BoardWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    auto cel = ReadFile(std::string(ENGMESS_BASE) + ".CEL"),
         str = ReadFile(std::string(ENGMESS_BASE) + ".STR");
    ASSERT_TRUE(LoadMessageTableImages("ENGMESS", cel.data(), cel.size(), str.data(), str.size()));
    ASSERT_TRUE(InitBoardViews(GetModuleHandleA(nullptr)));
    ccInit(GetModuleHandleA(nullptr));
    FolderSets folder;
    ASSERT_TRUE(catalogue_.Load(&folder));
  }
  void SetUp() override { SelectMessageTable("ENGMESS"); }

  // A room showing board set n in a window of the picture's size and margins.
  std::unique_ptr<TestRoom> Open(int n, int roomNumber = 2,
                                 const std::function<void(TestRoom*)>& prepare = {}) {
    auto room = std::make_unique<TestRoom>(catalogue_, n, roomNumber);
    if (prepare) prepare(room.get());
    int width = room->boardBitmap->biWidth + 80, height = std::abs(room->boardBitmap->biHeight) + 120;
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
  int PieceAt(TestRoom& room, const char* square) {
    return room.board[MakeSquare('8' - square[1], square[0] - 'a')];
  }
  void Shot(const std::string& name) { guitest::ScreenshotTo(RW_BOARDVIEW_ARTEFACTS, name); }

  static ChessSetCatalogue catalogue_;
  BoardView* view_ = nullptr;
};
ChessSetCatalogue BoardWindow::catalogue_;

const char* kItalian = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -";

TEST_F(BoardWindow, DragAndDropPlaysOnEverySet) {
  for (int n = 0; n < catalogue_.boardCount(); ++n) {
    auto room = Open(n);
    std::string name = RecordName(room->boardSet.name, kSetNameSize);
    ASSERT_NE(view_, nullptr);
    EXPECT_EQ(CountPiecesOnBoard(view_->records), 32);
    Shot("window-set" + std::to_string(n) + "-initial");
    guitest::Drag(Centre("e2"), Centre("e4"));
    guitest::Pump(50);
    ASSERT_EQ(room->played.size(), 1u) << name;
    EXPECT_EQ(room->played[0].to, 0x44);
    EXPECT_GE(view_->records.squares[4][4], 0);
    EXPECT_EQ(view_->records.squares[6][4], -1);
    EXPECT_FALSE(IsBoardPieceDragged(view_->window));
    // Dropped on its own square: nothing is played.
    guitest::Drag(Centre("d7"), Centre("d7"), 2);
    EXPECT_EQ(room->played.size(), 1u) << name;
    EXPECT_GE(view_->records.squares[1][3], 0);
    // The reply slides; the last move is framed.
    MoveRecord reply{};
    ASSERT_TRUE(ParseAlgebraicMove(&reply, "e5", &room->board, room->side));
    room->PlayMove(&reply);
    guitest::Pump(80);
    EXPECT_GE(view_->records.squares[3][4], 0);
    EXPECT_NE(view_->marks.words[3][4] & MARK_LAST_MOVE, 0u);
    EXPECT_EQ(view_->marks.words[4][4] & MARK_LAST_MOVE, 0u);
    Shot("window-set" + std::to_string(n) + "-e4e5");
    TearDown();
  }
}

TEST_F(BoardWindow, IllegalDropIsExplainedAndTheKingReturns) {
  auto room = Open(0);
  room->SetPosition(kItalian);
  guitest::Drag(Centre("e1"), Centre("g1"));
  EXPECT_TRUE(room->played.empty());
  ASSERT_FALSE(room->status.empty());
  EXPECT_EQ(room->status.back(),
            "You cannot castle kingside while the white bishop on f1 stands between the king and the rook.");
  int king = view_->records.squares[7][4];
  ASSERT_GE(king, 0);
  ScreenPoint e1;
  SquareCentre(view_->projection, 7, 4, &e1, nullptr);
  EXPECT_EQ(view_->records.pieces[king].x, e1.x);
  EXPECT_EQ(view_->records.pieces[king].y, e1.y);
  Shot("window-illegal-castle");
}

TEST_F(BoardWindow, OwnerTakingTheMoveLeavesTheGame) {
  auto room = Open(0);
  static int offers = 0;
  SetBoardWndCallback(
      view_->window,
      [](HWND, UINT message, WPARAM, LPARAM, intptr_t) -> LRESULT {
        if (message == kOfferMoveMessage) {
          ++offers;
          return 1;
        }
        return 0;
      },
      0);
  guitest::Drag(Centre("d2"), Centre("d4"));
  EXPECT_EQ(offers, 1);
  EXPECT_TRUE(room->played.empty());
  EXPECT_EQ(PieceAt(*room, "d2"), WHITE | PAWN);
  EXPECT_FALSE(IsBoardPieceDragged(view_->window));
  EXPECT_GE(view_->records.squares[6][3], 0);
}

TEST_F(BoardWindow, QuickEntryAndTypedMoves) {
  auto room = Open(0);
  room->settings.quickEntry = 1;
  guitest::Click(Centre("e4"));  // only e2-e4 goes there
  ASSERT_EQ(room->played.size(), 1u);
  EXPECT_EQ(room->played[0].from, 0x64);
  // Typed: the board window has the keyboard.
  SetForegroundWindow(GetParent(view_->window));
  SetFocus(view_->window);
  guitest::Pump(50);
  guitest::Chord({VK_SHIFT}, 'N');
  guitest::PressKey('C');
  guitest::PressKey('6');
  guitest::Pump(50);
  ASSERT_EQ(room->played.size(), 2u);
  EXPECT_EQ(PieceAt(*room, "c6"), BLACK | KNIGHT);
  Shot("window-quick-typed");
  // A computer to move: typing is refused with a word in the status line.
  room->humans[0] = false;
  guitest::PressKey('D');
  EXPECT_EQ(room->status.back(), "It's not your turn.");
  EXPECT_EQ(room->played.size(), 2u);
}

TEST_F(BoardWindow, BlindfoldLockStopsClicksButTakesTypedMoves) {
  auto room = Open(0, 1);
  room->blindfold = true;
  EXPECT_TRUE(UpdateBoardInputLock(view_));
  guitest::Pump(50);
  guitest::Drag(Centre("e2"), Centre("e4"));
  EXPECT_TRUE(room->played.empty());
  SetForegroundWindow(GetParent(view_->window));
  SetFocus(view_->window);
  guitest::Pump(50);
  guitest::Chord({VK_SHIFT}, 'N');
  guitest::PressKey('F');
  guitest::PressKey('3');
  guitest::Pump(50);
  ASSERT_EQ(room->played.size(), 1u);
  EXPECT_EQ(PieceAt(*room, "f3"), WHITE | KNIGHT);
  Shot("window-blindfold");
  room->blindfold = false;
  EXPECT_FALSE(UpdateBoardInputLock(view_));
}

TEST_F(BoardWindow, StaysSquareAndAtLeast160) {
  auto room = Open(0);
  RECT window;
  GetWindowRect(view_->window, &window);
  // The user drags the right edge in by 300 pixels: both sides shrink alike,
  // to no less than 160.
  RECT proposed = window;
  proposed.right -= 300;
  SendMessageA(view_->window, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(proposed.right - proposed.left, proposed.bottom - proposed.top);
  EXPECT_GE(proposed.right - proposed.left, 160);
  proposed = window;
  proposed.right -= 20;
  proposed.bottom -= 6;
  SendMessageA(view_->window, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(proposed.right - proposed.left, (window.right - window.left) - 20);
  EXPECT_EQ(proposed.bottom - proposed.top, (window.bottom - window.top) - 20);
  MINMAXINFO info{};
  SendMessageA(view_->window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 160);
  EXPECT_EQ(info.ptMinTrackSize.y, 160);
}

TEST_F(BoardWindow, FreezeHoldsTheBoardUntilTheJumpEnds) {
  auto room = Open(0);
  SendMessageA(view_->window, kGameEventMessage, GAME_FREEZE, 0);
  // A multi-ply jump: the moves are made without the board following.
  for (const char* text : {"e4", "e5", "Nf3"}) {
    MoveRecord move{};
    ASSERT_TRUE(ParseAlgebraicMove(&move, text, &room->board, room->side));
    room->PlayMove(&move);
  }
  EXPECT_GE(view_->records.squares[6][4], 0);  // e2 still shown
  SendMessageA(view_->window, kGameEventMessage, GAME_UNFREEZE, 0);
  guitest::Pump(50);
  EXPECT_EQ(view_->records.squares[6][4], -1);
  EXPECT_GE(view_->records.squares[5][5], 0);  // Nf3
  EXPECT_NE(view_->marks.words[5][5] & MARK_LAST_MOVE, 0u);
  Shot("window-after-jump");
}

TEST_F(BoardWindow, TurnLightFollowsTheSideToMove) {
  auto room = Open(0);
  room->settings.turnLights = 1;
  SendMessageA(view_->window, kTurnBoardMessage, 0, 0);  // Black at the bottom
  room->side = BLACK;
  ShowTurnLight(view_);
  int visible = 0;
  for (int i = 0; i < 4; ++i) visible += IsSpriteVisible(view_->scene, view_->groupSprites[1][i]) ? 1 : 0;
  EXPECT_EQ(visible, 1);
  EXPECT_TRUE(IsSpriteVisible(view_->scene, view_->groupSprites[1][3]));
  // Under a piece the board's own sprites are not hit.
  ScreenPoint e2;
  SquareCentre(view_->projection, 6, 4, &e2, nullptr);
  EXPECT_FALSE(HitBoardSprites(view_, e2.x, e2.y));
  Shot("window-turned");
}

// The promotion question, answered through the real dialog while its
// modal loop runs: a thread timer inspects and then clicks it.
struct PromotionRun {
  TestRoom* room = nullptr;
  PromotionPictures pictures;
  int asked = 0;
  int answerButton = PROMOTE_KNIGHT;
  bool stayedOpen = false;
  int pieceLuma = -1;  // mean brightness of the queen picture's piece pixels
  bool pressedShifted = false;
  bool edgesExchanged = false;
  std::string shot;
};
PromotionRun* g_run = nullptr;

int Luma(const PALETTEENTRY& q) { return (q.peRed * 30 + q.peGreen * 59 + q.peBlue * 11) / 100; }

uint8_t IndexAt(const PackedDib* dib, int x, int y) {
  return *static_cast<const uint8_t*>(dibGetPixelAddress(dib, x, y));
}

void CALLBACK InspectPromotion(HWND, UINT, UINT_PTR id, DWORD) {
  PromotionRun& run = *g_run;
  HWND dialog = FindWindowA("#32770", "Pawn Promotion");
  if (!dialog) return;  // not up yet: the next tick looks again
  KillTimer(nullptr, id);
  HWND queen = GetDlgItem(dialog, PROMOTE_QUEEN);
  // Borrow the queen's two images for a look, then give them back.
  auto* released = reinterpret_cast<PackedDib*>(SendMessageA(queen, BBM_CCM_SETDIB, 0, 0));
  auto* pressed = reinterpret_cast<PackedDib*>(SendMessageA(queen, BBM_CCM_SETDIB, 1, 0));
  if (released && pressed) {
    PALETTEENTRY table[256]{};
    GetPaletteEntries(run.pictures.palette, 0, 256, table);
    int w = run.pictures.set->celWidth, h = run.pictures.set->celHeight;
    long sum = 0, count = 0;
    bool shifted = true;
    for (int y = 5; y < 5 + h; ++y)
      for (int x = 5; x < 5 + w; ++x) {
        uint8_t i = IndexAt(released, x, y);
        if (IndexAt(pressed, x + 1, y + 1) != i) shifted = false;
        if (i != 10 && i != 60) sum += Luma(table[i]), ++count;
      }
    run.pieceLuma = count ? static_cast<int>(sum / count) : -1;
    run.pressedShifted = shifted;
    int W = released->biWidth, H = std::abs(released->biHeight);
    run.edgesExchanged = IndexAt(released, 0, H / 2) == IndexAt(pressed, W - 1, H / 2) &&
                         IndexAt(released, W - 1, H / 2) == IndexAt(pressed, 0, H / 2) &&
                         IndexAt(released, 0, H / 2) != IndexAt(released, W - 1, H / 2);
  }
  SendMessageA(queen, BBM_CCM_SETDIB, 0, reinterpret_cast<LPARAM>(released));
  SendMessageA(queen, BBM_CCM_SETDIB, 1, reinterpret_cast<LPARAM>(pressed));
  SetForegroundWindow(dialog);
  guitest::Pump(100);
  guitest::PressKey(VK_ESCAPE);
  SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  guitest::Pump(50);
  run.stayedOpen = IsWindow(dialog) && IsWindowVisible(dialog);
  guitest::ScreenshotTo(RW_BOARDVIEW_ARTEFACTS, run.shot);
  RECT r;
  GetWindowRect(GetDlgItem(dialog, run.answerButton), &r);
  guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

int AskThroughDialog(HWND owner, int side) {
  PromotionRun& run = *g_run;
  ++run.asked;
  run.pictures.sideToMove = side;
  SetTimer(nullptr, 0, 200, InspectPromotion);
  return RunPromotionDialog(GetModuleHandleA(nullptr), owner, run.pictures);
}

TEST_F(BoardWindow, PromotionDialogAsksAfterALegalQueenTest) {
  for (int n : {0, 4}) {  // a flat set and the perspective one
    auto room = Open(n);
    PromotionRun run;
    run.room = room.get();
    run.pictures.set = &room->pieceSet;
    run.pictures.sheet = room->sheet;
    run.pictures.palettePicture = room->palettePicture;
    run.pictures.palette = room->palette;
    run.pictures.haveGame = true;
    g_run = &run;
    // The program's control look: its palette and edge colours.
    ccSetControlPalette(nullptr, room->palette);
    ccGetDefaultData()->lightEdge = 191;
    ccGetDefaultData()->darkEdge = 20;
    SetPromotionAsker(AskThroughDialog);
    // A blocked pawn opens nothing.
    room->SetPosition("n3k3/P7/8/8/8/8/8/4K3 w - -");
    guitest::Drag(Centre("a7"), Centre("a8"));
    EXPECT_EQ(run.asked, 0);
    EXPECT_TRUE(room->played.empty());
    // White: "N" makes a knight.
    room->SetPosition("4k3/P7/8/8/8/8/8/4K3 w - -");
    run.shot = "promotion-white-set" + std::to_string(n);
    guitest::Drag(Centre("a7"), Centre("a8"));
    guitest::Pump(100);
    EXPECT_EQ(run.asked, 1);
    EXPECT_TRUE(run.stayedOpen) << "Escape or Close ended the dialog";
    EXPECT_TRUE(run.pressedShifted);
    EXPECT_TRUE(run.edgesExchanged);
    EXPECT_GT(run.pieceLuma, 110);
    ASSERT_EQ(room->played.size(), 1u);
    EXPECT_EQ(PieceAt(*room, "a8"), WHITE | KNIGHT);
    EXPECT_GE(view_->records.squares[0][0], 0);
    EXPECT_EQ(view_->records.pieces[view_->records.squares[0][0]].kind, KNIGHT);
    Shot("promotion-white-set" + std::to_string(n) + "-done");
    // Black to move sees black pieces.
    room->SetPosition("4k3/8/8/8/8/8/p7/4K3 b - -");
    run.shot = "promotion-black-set" + std::to_string(n);
    run.answerButton = PROMOTE_QUEEN;
    guitest::Drag(Centre("a2"), Centre("a1"));
    guitest::Pump(100);
    EXPECT_EQ(run.asked, 2);
    EXPECT_LT(run.pieceLuma, 90);
    EXPECT_EQ(PieceAt(*room, "a1"), BLACK | QUEEN);
    SetPromotionAsker(nullptr);
    g_run = nullptr;
    TearDown();
  }
}

TEST_F(BoardWindow, FontPieceSheetStandsOnTheBoard) {
  ASSERT_GT(AddFontResourceA(RW_PROGDATA_DIR "/rwonyx.ttf"), 0);
  // The largest flat board, its squares filled by the font's pieces.
  int largest = -1;
  for (int n = 0; n < catalogue_.boardCount(); ++n) {
    const BoardSetRecord* b = catalogue_.GetBoardSetRecord(n);
    if (IsFlatBoard(*b) && (largest < 0 || b->size > catalogue_.GetBoardSetRecord(largest)->size))
      largest = n;
  }
  ASSERT_GE(largest, 0);
  int square = catalogue_.GetBoardSetRecord(largest)->size / 8;
  PieceSetRecord fontSet{};
  PackedDib* sheet = nullptr;
  ASSERT_TRUE(BuildFontPieceSheet(&sheet, &fontSet, 0, square));
  EXPECT_GT(fontSet.celWidth, square / 2);
  EXPECT_LE(fontSet.celWidth, square);
  EXPECT_GT(fontSet.celHeight, square / 2);
  EXPECT_LE(fontSet.celHeight, square + square / 4);
  // Every cel: transparent corners, ink, and White's enclosing the light colour.
  for (int colour = 0; colour < 2; ++colour)
    for (int kind = 0; kind < 6; ++kind) {
      int32_t x, y;
      ASSERT_TRUE(PieceCelRect(colour, kind, -1, &x, &y, fontSet.celWidth, fontSet.celHeight));
      int ink = 0, inside = 0;
      for (int dy = 0; dy < fontSet.celHeight; ++dy)
        for (int dx = 0; dx < fontSet.celWidth; ++dx) {
          uint8_t i = IndexAt(sheet, x + dx, y + dy);
          ink += i == 23;
          inside += i == 22;
        }
      EXPECT_EQ(IndexAt(sheet, x, y), 0) << colour << kind;
      EXPECT_EQ(IndexAt(sheet, x + fontSet.celWidth - 1, y), 0) << colour << kind;
      EXPECT_GT(ink, 20) << colour << kind;
      if (colour == 0) {
        EXPECT_GT(inside, ink / 4) << kind;
      }
    }
  {
    // The sheet itself, in the program palette's colours, for a look.
    PackedDib* look = dibDuplicate(sheet);
    PackedDib* pal = dibReadFile(RW_PROGDATA_DIR "/PAL.bmp");
    if (look && pal) {
      dibCopyPalette(look, pal);
      dibWriteFile((std::string("Z:") + RW_BOARDVIEW_ARTEFACTS + "/font-piece-sheet.bmp").c_str(), look);
    }
    if (look) dibDelete(look);
    if (pal) dibDelete(pal);
  }
  auto room = Open(largest, 2, [&](TestRoom* r) {
    dibDelete(r->sheet);
    r->sheet = sheet;
    r->pieceSet.celWidth = fontSet.celWidth;
    r->pieceSet.celHeight = fontSet.celHeight;
    r->pieceSet.celFlag = 0;
  });
  EXPECT_EQ(CountPiecesOnBoard(view_->records), 32);
  Shot("window-font-pieces");
}

TEST_F(BoardWindow, LobbyBoardSitsAtItsPlaceWithItsDepths) {
  // The lobby's own set, drawn for that place.
  int lobby = catalogue_.FindBoardSet("Login Puzzle");
  ASSERT_GE(lobby, 0);
  auto room = Open(lobby, 0);
  room->settings.turnLights = 1;
  RECT r;
  GetWindowRect(view_->window, &r);
  MapWindowPoints(nullptr, GetParent(view_->window), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 30);
  // The whole picture shows: the window reaches its right and bottom edges.
  EXPECT_EQ(r.right - r.left, view_->projection.pictureOrigin.x + room->boardBitmap->biWidth);
  EXPECT_EQ(r.bottom - r.top, view_->projection.pictureOrigin.y + std::abs(room->boardBitmap->biHeight));
  EXPECT_EQ(room->boardSet.originX, 6);
  EXPECT_EQ(room->boardSet.originY, 15);
  // The board behind everything, the decorations in front of it, pieces
  // in front of both.
  int x, y, depth;
  ASSERT_TRUE(GetSpritePosition(view_->scene, view_->boardSprite, &x, &y, &depth));
  EXPECT_EQ(depth, 10000);
  ShowTurnLight(view_);
  ASSERT_TRUE(GetSpritePosition(view_->scene, view_->groupSprites[1][0], &x, &y, &depth));
  EXPECT_EQ(depth, 9995);
  EXPECT_TRUE(IsSpriteVisible(view_->scene, view_->groupSprites[1][0]));
  // The frame of a last-move mark wins over an inversion, and clearing by
  // name clears every flag.
  MarkSquares(view_, "e4d5", MARK_INVERT | MARK_LAST_MOVE);
  EXPECT_EQ(MarkFillFor(view_->marks.words[4][4]), MarkFill::Frame);
  MarkSquares(view_, "e4d5", 0);
  EXPECT_EQ(view_->marks.words[4][4], 0u);
  EXPECT_EQ(view_->marks.words[3][3], 0u);
  Shot("window-lobby");
}

TEST_F(BoardWindow, FramedBoardIsSizedByItsCornersAndStaysSquare) {
  auto room = Open(0, 2, [](TestRoom* r) { r->frameMode = 1; });
  RECT w;
  GetWindowRect(view_->window, &w);
  EXPECT_EQ(w.right - w.left, w.bottom - w.top);  // made square on its smaller side
  int side = w.right - w.left;
  EXPECT_EQ(room->frameSizes.side, side);
  EXPECT_EQ(room->frameSizes.squareSize, room->frameSizes.boardSize / 8);
  // A side is plain border: only the corners size the window.
  LRESULT hit = SendMessageA(view_->window, WM_NCHITTEST, 0, MAKELPARAM(w.right - 2, (w.top + w.bottom) / 2));
  EXPECT_EQ(hit, HTBORDER);
  EXPECT_EQ(SendMessageA(view_->window, WM_NCHITTEST, 0, MAKELPARAM(w.right - 2, w.bottom - 2)),
            HTBOTTOMRIGHT);
  // The user drags the bottom-right corner in, further across than down.
  guitest::Drag(POINT{w.right - 2, w.bottom - 2}, POINT{w.right - 82, w.bottom - 32}, 6);
  guitest::Pump(100);
  GetWindowRect(view_->window, &w);
  EXPECT_EQ(w.right - w.left, w.bottom - w.top);
  EXPECT_LT(w.right - w.left, side);
  Shot("window-framed-smaller");
  // Dragged far in: never below 160 on a side.
  guitest::Drag(POINT{w.right - 2, w.bottom - 2}, POINT{w.left + 20, w.top + 20}, 8);
  guitest::Pump(100);
  GetWindowRect(view_->window, &w);
  EXPECT_EQ(w.right - w.left, w.bottom - w.top);
  EXPECT_GE(w.right - w.left, 160);
  // The frame is black.
  EXPECT_EQ(guitest::ScreenPixel(w.left + 1, (w.top + w.bottom) / 2), RGB(0, 0, 0));
  Shot("window-framed-smallest");
}

}  // namespace
