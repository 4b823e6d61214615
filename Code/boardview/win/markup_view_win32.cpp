// The markup player's board calls on a board view.
#include "win/markup_view_win32.h"

#include "callback_queue.h"
#include "square_marks.h"
#include "win/board_drawing_win32.h"
#include "win/board_view_win32.h"
#include "win/markup_glyphs_win32.h"

namespace {

constexpr int kMarkupQueue = 1;
constexpr uint32_t kMarkupKey1 = 12, kMarkupKey2 = 10;
constexpr uint32_t kLessonMarkFlag = 16;

uint32_t StepFromQueue(void* clip) { return static_cast<uint32_t>(StepMarkupPlayer(static_cast<VoiceClip*>(clip))); }
uint32_t EndFromQueue(void* clip) { return static_cast<uint32_t>(EndMarkupPlayer(static_cast<VoiceClip*>(clip))); }

// Clicks on the board are swallowed while a clip that blocks input plays.
LRESULT SwallowInput(HWND, UINT message, WPARAM, LPARAM, intptr_t) {
  return message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == kOfferMoveMessage ? 1 : 0;
}

void RepaintAll(BoardView* view) {
  RECT all{};
  GetClientRect(view->window, &all);
  RedrawBoardScene(view, &all);
}

}  // namespace

uint32_t BoardViewMarkupHost::Now() { return GetTickCount(); }

bool BoardViewMarkupHost::QueueStep(VoiceClip* clip) {
  QueuedCallback entry{kMarkupKey1, kMarkupKey2, 0, StepFromQueue, EndFromQueue, clip};
  return AddQueuedCallback(kMarkupQueue, &entry) != nullptr;
}

bool BoardViewMarkupHost::UnqueueStep(VoiceClip*) {
  QueuedCallback* found = FindQueuedCallback(nullptr, kMarkupQueue, kMarkupKey1, kMarkupKey2, QUEUE_FIND_FIRST);
  if (!found) found = FindQueuedCallback(nullptr, kMarkupQueue, kMarkupKey1, kMarkupKey2, QUEUE_FIND_BOTH);
  if (!found) return false;
  QueuedCallback key = *found;
  RemoveQueuedCallback(kMarkupQueue, &key);
  return true;
}

int BoardViewMarkupHost::HideMode() { return view_ ? view_->hideMode : 0; }

void BoardViewMarkupHost::BlockBoardInput(bool block) {
  if (!view_ || !view_->window || block == blocked_) return;
  blocked_ = block;
  SetBoardWndCallback(view_->window, block ? SwallowInput : nullptr, 0);
}

void BoardViewMarkupHost::AddArrow(const char* text) {
  if (view_) ::AddArrow(view_->arrows, text);
}

void BoardViewMarkupHost::ClearArrows() { ClearBoardArrows(view_); }

void BoardViewMarkupHost::MarkSquares(const char* squares, uint32_t flag) { ::MarkSquares(view_, squares, flag); }

void BoardViewMarkupHost::ClearMarks(int clipKind) {
  if (!view_) return;
  if (clipKind == kClipKindLesson) {
    view_->marks.ClearFlag(kLessonMarkFlag);
    RepaintAll(view_);
  } else {
    ClearSquareMarks(view_);
  }
}

bool BoardViewMarkupHost::ShowGlyph(int colour, int type, int column, int row) {
  return ShowMarkupGlyph(view_, colour, type, column, row, 1);
}

void BoardViewMarkupHost::RemoveGlyphAt(int column, int row) { RemoveMarkupGlyphAt(view_, column, row); }

void BoardViewMarkupHost::ClearGlyphs() { ClearMarkupGlyphs(view_); }

bool BoardViewMarkupHost::PutPiece(int colour, int type, int column, int row) {
  if (!view_ || !view_->sprites) return false;
  static const char kColours[] = "WB", kKinds[] = "KQRBNP";
  char code[3] = {kColours[colour & 1], kKinds[type % 6], 0};
  int piece = -1;
  if (!AssignPieceSprite(&view_->records, view_->sprites.get(), view_->geometry->turn, column, row, code, &piece) ||
      piece < 0)
    return false;
  int old = view_->records.squares[row][column];
  if (old >= 0) RemovePieceFromSquare(&view_->records, view_->sprites.get(), old);
  PutPieceOnSquare(&view_->records, view_->sprites.get(), view_->projection, column, row, piece, view_->hideMode);
  InvalidateRect(view_->window, nullptr, FALSE);
  RepaintAll(view_);
  return true;
}

bool BoardViewMarkupHost::RemovePiece(int column, int row) {
  if (!view_ || !view_->sprites) return false;
  int piece = view_->records.squares[row][column];
  if (piece < 0) return false;
  RemovePieceFromSquare(&view_->records, view_->sprites.get(), piece);
  return true;
}

bool BoardViewMarkupHost::MovePiece(int fromColumn, int fromRow, int toColumn, int toRow, bool slide) {
  if (!view_ || !view_->sprites) return false;
  int piece = view_->records.squares[fromRow][fromColumn];
  if (piece < 0) return false;
  RemovePieceFromSquare(&view_->records, view_->sprites.get(), piece);
  int taken = view_->records.squares[toRow][toColumn];
  if (taken >= 0) RemovePieceFromSquare(&view_->records, view_->sprites.get(), taken);
  if (slide) {
    int threshold = SlideThreshold(view_->host->Settings().slidingPieces, view_->pieceSet->celWidth,
                                   view_->pieceSet->celHeight);
    if (threshold >= 0) {
      SlideRequest request{view_->sprites.get(), &view_->projection, view_->window, threshold, nullptr, nullptr};
      SlidePieceSprite(request, piece, fromColumn, fromRow, toColumn, toRow);
    }
  }
  if (view_->records.multiCel)
    SetPieceCelForBlock(&view_->records, view_->sprites.get(), piece,
                        SquareCelIndexAt(view_->geometry->turn, toColumn, toRow));
  PutPieceOnSquare(&view_->records, view_->sprites.get(), view_->projection, toColumn, toRow, piece,
                   view_->hideMode);
  RepaintAll(view_);
  return true;
}

void BoardViewMarkupHost::ResetSprites() {
  if (!view_ || !view_->sprites || !view_->host->HaveGame()) return;
  SetPieceSpritesFromPosition(&view_->records, view_->sprites.get(), view_->geometry->turn, view_->host->Position());
  LayoutPieceSprites(&view_->records, view_->sprites.get(), view_->projection, view_->hideMode);
}

void BoardViewMarkupHost::InvalidateBoard(bool erase) {
  if (!view_ || !view_->window) return;
  InvalidateRect(view_->window, nullptr, erase);
  RepaintAll(view_);
}
