// The board window: a child of the room window that paints its view's
// scene, follows the game's events, and turns drags, Quick Entry clicks and
// typed text into moves offered to the board's owner before the game plays
// them.
#include <windowsx.h>

#include <cstdlib>

#include "board_view_win32.h"
#include "move_script.h"
#include "teaching_modes.h"
#include "win/board_drawing_win32.h"
#include "win/board_settings_win32.h"
#include "win/markup_glyphs_win32.h"

const char* const kBoardWndClass = "RWBoardWndClass";

namespace {

constexpr int kIllegalMove = 0xFFFF;

// Per-window state (window slot 0): the owner callback and the drag.
struct BoardWndData {
  BoardWndCallback callback = nullptr;
  intptr_t callbackData = 0;
  int dragPiece = -1;  // piece record index, -1 idle
  int dragColumn = 0, dragRow = 0;
  bool releasing = false;
  bool boardDrag = false;
};

// The typed-move text is one per program.
TypedMoveBuffer g_typed;
PromotionAsker g_promotion = nullptr;

BoardWndData* DataOf(HWND window) { return reinterpret_cast<BoardWndData*>(GetWindowLongPtrA(window, 0)); }

// Move entry through the window: offers go to the owner callback, the
// promotion question to the dialog; the rest to the host.
class WindowEntryHost : public MoveEntryHost {
 public:
  WindowEntryHost(HWND window, BoardViewHost* host) : window_(window), host_(host) {}
  bool HaveGame() override { return host_->HaveGame(); }
  bool GameOver() override { return host_->GameOver(); }
  const Board& Position() override { return host_->Position(); }
  int SideToMove() override { return host_->SideToMove(); }
  bool HumanToMove() override { return host_->HumanToMove(); }
  int OfferMove(MoveRecord* move) override {
    return static_cast<int>(
        CallBoardWndCallback(window_, kOfferMoveMessage, reinterpret_cast<WPARAM>(move), 0));
  }
  void PlayMove(MoveRecord* move) override { host_->PlayMove(move); }
  int AskPromotion(int side) override { return g_promotion ? g_promotion(window_, side) : 1; }
  void ShowStatus(const std::string& text) override { host_->ShowStatus(text); }
  void SayIllegal() override { host_->SayIllegal(); }
  void Beep() override { host_->Beep(); }
  bool FindMoveForSquare(int square, MoveRecord* out) override {
    return host_->FindMoveForSquare(square, out);
  }
  bool ParseMoveInput(int key, char* typed, size_t size, bool* beep, MoveRecord* out) override {
    return host_->ParseMoveInput(key, typed, size, beep, out);
  }

 private:
  HWND window_;
  BoardViewHost* host_;
};

int SlideSetting(BoardView* view) { return view->host->Settings().slidingPieces; }

void SlideThroughWindow(void* context, int piece, int fromColumn, int fromRow, int toColumn, int toRow) {
  BoardView* view = static_cast<BoardView*>(context);
  if (view->hideMode != HIDE_NONE) return;
  int threshold = SlideThreshold(SlideSetting(view), view->pieceSet->celWidth, view->pieceSet->celHeight);
  if (threshold < 0) return;  // Off: the piece is put down at once
  SlideRequest request{view->sprites.get(), &view->projection, view->window, threshold, nullptr, nullptr};
  SlidePieceSprite(request, piece, fromColumn, fromRow, toColumn, toRow);
}

void RedrawAll(BoardView* view) {
  RECT all{};
  GetClientRect(view->window, &all);
  RedrawBoardScene(view, &all);
}

// The dragged piece is put back on its start square, without a slide.
void PieceGoesBack(BoardView* view, BoardWndData* data) {
  int piece = data->dragPiece;
  data->dragPiece = -1;
  view->records.draggedPiece = -1;
  if (piece < 0) return;
  if (view->records.multiCel) {
    view->sprites->HidePiece(piece);
    SetPieceCelForBlock(&view->records, view->sprites.get(), piece,
                        SquareCelIndexAt(view->geometry->turn, data->dragColumn, data->dragRow));
  }
  PutPieceOnSquare(&view->records, view->sprites.get(), view->projection, data->dragColumn, data->dragRow,
                   piece, view->hideMode);
}

void CancelDrag(BoardView* view, BoardWndData* data) {
  if (data->dragPiece < 0) return;
  PieceGoesBack(view, data);
  view->host->SetCursorKind(CURSOR_ARROW);
  if (GetCapture() == view->window) {
    data->releasing = true;
    ReleaseCapture();
    data->releasing = false;
  }
  RedrawBoardScene(view, nullptr);
}

void OnPaint(HWND window, BoardView* view) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (view && view->scene) {
    HPALETTE palette = view->host->ProgramPalette();
    HPALETTE old = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
    if (palette) RealizePalette(dc);
    MakeRectInvalid(view->scene, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    PaintScene(view->scene, dc);
    if (old) SelectPalette(dc, old, TRUE);
  }
  EndPaint(window, &ps);
}

int CustomizeKeys(WPARAM wParam) {
  return (wParam & MK_CONTROL ? 1 : 0) | (wParam & MK_SHIFT ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

void OnLeftDown(HWND window, BoardView* view, BoardWndData* data, WPARAM wParam, LPARAM lParam) {
  int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  // The custom board is reshaped by dragging it with a modifier held.
  if (view->boardSetIndex == kCustomBoardSet && CustomizeKeys(wParam) && IsOnBoardSquare(view->projection, x, y)) {
    BeginCustomize(view);
    SetCustomizeDragStart(x, y);
    SetCapture(window);
    return;
  }
  int column = -1, row = -1;
  bool onSquare = HitTestSquare(view->projection, x, y, &column, &row);
  if (!onSquare && HitBoardSprites(view, x, y)) {
    // The whole board is dragged only outside the lobby.
    if (view->host->Room() != 0) {
      SetCapture(window);
      data->boardDrag = true;
    }
    return;
  }
  LRESULT owner = CallBoardWndCallback(window, WM_LBUTTONDOWN, wParam, lParam);
  if (owner == 1 || owner == 2) return;
  if (!view->host->HaveGame() || !onSquare) return;
  if (view->host->Settings().quickEntry) {
    WindowEntryHost entry(window, view->host);
    if (TryQuickEntry(&entry, column, row)) return;
  }
  int piece = view->records.squares[row][column];
  if (piece < 0) return;
  data->dragPiece = piece;
  data->dragColumn = column;
  data->dragRow = row;
  view->records.draggedPiece = piece;
  // Lifted where it stands, in front of every piece.
  const PieceRecord& record = view->records.pieces[piece];
  view->sprites->ShowPiece(piece, ScreenPoint{record.x, record.y}, record.depth - 1);
  view->host->SetCursorKind(-1);  // the sprite is the cursor
  POINT screen{record.x, record.y};
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  SetCapture(window);
  ShowLegalMoveGhosts(view, view->host->Position(), column, row);
  RedrawBoardScene(view, nullptr);
}

void OnMouseMove(HWND window, BoardView* view, BoardWndData* data, WPARAM wParam, LPARAM lParam) {
  int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  if (data->boardDrag) return;
  if (GetBoardCustomizeMode()) {
    CustomizeDrag(x, y, CustomizeKeys(wParam));
    return;
  }
  // The owner sees every move first (a set-up tool drags pieces of its own).
  LRESULT owner = CallBoardWndCallback(window, WM_MOUSEMOVE, wParam, lParam);
  if (owner == 1 || owner == 2) return;
  if (data->dragPiece >= 0) {
    int32_t depth = (IsFlatBoard(*view->geometry) ? 0 : DepthAtY(view->projection, y)) - 1;
    if (view->records.multiCel) {
      int block = BlockRegionAt(view->projection, x, y);
      if (block >= 0 && block != view->records.pieces[data->dragPiece].block)
        SetPieceCelForBlock(&view->records, view->sprites.get(), data->dragPiece, block);
    }
    view->sprites->ShowPiece(data->dragPiece, ScreenPoint{x, y}, depth);
    RedrawBoardScene(view, nullptr);
    return;
  }
  if (IsOnBoardSquare(view->projection, x, y))
    view->host->SetCursorKind(CURSOR_PIECE_BASE + view->pieceSet->cursorKind);
  else if (HitBoardSprites(view, x, y))
    view->host->SetCursorKind(CURSOR_MOVE_BOARD);
  else
    view->host->SetCursorKind(CURSOR_ARROW);
}

void OnLeftUp(HWND window, BoardView* view, BoardWndData* data, WPARAM wParam, LPARAM lParam) {
  data->releasing = true;
  ReleaseCapture();
  data->releasing = false;
  if (GetBoardCustomizeMode()) {
    EndCustomize();
    return;
  }
  if (!view->host->HaveGame()) return;
  if (data->boardDrag) {
    data->boardDrag = false;
    return;
  }
  LRESULT owner = CallBoardWndCallback(window, WM_LBUTTONUP, wParam, lParam);
  if (owner == 1 || owner == 2) return;
  if (data->dragPiece < 0) return;
  view->host->SetCursorKind(CURSOR_PIECE_BASE + view->pieceSet->cursorKind);
  if (IsLegalMovesMode(view->teachingMode)) ClearMarkupGlyphs(view);
  int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  int column = -1, row = -1;
  bool onSquare = HitTestSquare(view->projection, x, y, &column, &row);
  WindowEntryHost entry(window, view->host);
  int fromColumn = data->dragColumn, fromRow = data->dragRow;
  DropResult result = DecideDrop(&entry, fromColumn, fromRow, onSquare, column, row);
  // A played move came back as game event 9, which already put the piece
  // down and cleared the drag; anything else puts it back.
  if (data->dragPiece >= 0) PieceGoesBack(view, data);
  (void)result;
  RedrawAll(view);
}

void OnChar(HWND window, BoardView* view, WPARAM key) {
  WindowEntryHost entry(window, view->host);
  HandleTypedCharacter(&entry, &g_typed, static_cast<int>(key));
}

void AnimateCurrentMove(BoardView* view, bool dragged) {
  MoveRecord move{};
  int mover = WHITE;
  if (!view->host->CurrentMove(&move, &mover)) return;
  std::string script = BuildMoveScript(move, view->host->Position(), mover, false);
  PlayMoveScript(&view->records, view->sprites.get(), view->projection, script, dragged, view->hideMode,
                 SlideThroughWindow, view);
  RedrawBoardScene(view, nullptr);
}

void OnGameEvent(HWND window, BoardView* view, BoardWndData* data, WPARAM code, LPARAM game) {
  LRESULT owner = CallBoardWndCallback(window, kGameEventMessage, code, game);
  if (owner == 1 || owner == 2) return;
  if (code > GAME_UNFREEZE) return;
  BoardSettings settings = view->host->Settings();
  MoveRecord current{};
  int mover = WHITE;
  bool haveMove = view->host->CurrentMove(&current, &mover);
  switch (code) {
    case GAME_NEW_POSITION:
      CancelDrag(view, data);
      view->marks.ClearAll();
      PlaceBoardFromPosition(view);
      InvalidateRect(window, nullptr, FALSE);
      break;
    case GAME_OVER:
      CancelDrag(view, data);
      break;
    case GAME_MOVE_PLAYED:
    case GAME_MOVE_REPLAYED: {
      if (view->frozen) break;
      bool dragged = code == GAME_MOVE_PLAYED && data->dragPiece >= 0;
      if (data->dragPiece >= 0 && haveMove) {
        int start = data->dragRow * 16 + data->dragColumn;
        if (start == current.from || start == current.to) PieceGoesBack(view, data);
      }
      AnimateCurrentMove(view, dragged);
      if (settings.turnLights) ShowTurnLight(view);
      if (settings.highlightMoveSquares && haveMove) SetLastMoveMarks(view, &current, true);
      break;
    }
    case GAME_MOVE_TAKEN_BACK:
      if (view->frozen) break;
      CancelDrag(view, data);
      PlaceBoardFromPosition(view);
      if (settings.highlightMoveSquares) {
        view->marks.ClearFlag(MARK_LAST_MOVE);
        if (haveMove) SetLastMoveMarks(view, &current, true);
      }
      RedrawAll(view);
      break;
    case GAME_FREEZE:
      if (settings.turnLights) ShowTurnLight(view);
      if (settings.highlightMoveSquares && haveMove) SetLastMoveMarks(view, &current, false);
      view->frozen = 1;
      break;
    case GAME_UNFREEZE:
      view->frozen = 0;
      CancelDrag(view, data);
      PlaceBoardFromPosition(view);
      if (settings.highlightMoveSquares && haveMove) SetLastMoveMarks(view, &current, true);
      RedrawAll(view);
      UpdateWindow(window);
      break;
    default:
      break;
  }
  // The teaching marks follow every change of position.
  if (!view->frozen && (code == GAME_NEW_POSITION || code == GAME_MOVE_PLAYED || code == GAME_MOVE_REPLAYED ||
                        code == GAME_MOVE_TAKEN_BACK || code == GAME_UNFREEZE) && view->host->HaveGame())
    ApplyTeachingMode(view, view->host->Position());
}

// Keeps the window square while the user sizes it.
void OnSizing(HWND window, BoardView* view, RECT* proposed) {
  RECT current, parent{};
  GetWindowRect(window, &current);
  HWND room = view ? view->host->NumberedWindow(kRoomWindowNumber) : nullptr;
  GetWindowRect(room ? room : GetParent(window), &parent);
  BoardRect r =
      KeepSquareWhileSizing(BoardRect{current.left, current.top, current.right, current.bottom},
                            BoardRect{proposed->left, proposed->top, proposed->right, proposed->bottom},
                            BoardRect{parent.left, parent.top, parent.right, parent.bottom});
  *proposed = RECT{r.left, r.top, r.right, r.bottom};
}

// In frame mode only the corners size the window; the sides are plain border.
LRESULT OnNcHitTest(HWND window, WPARAM wParam, LPARAM lParam) {
  LRESULT hit = DefWindowProcA(window, WM_NCHITTEST, wParam, lParam);
  if (hit == HTLEFT || hit == HTRIGHT || hit == HTTOP || hit == HTBOTTOM) return HTBORDER;
  return hit;
}

void OnNcPaintBlack(HWND window) {
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  RECT whole, client;
  GetWindowRect(window, &whole);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  OffsetRect(&client, origin.x - whole.left, origin.y - whole.top);
  OffsetRect(&whole, -whole.left, -whole.top);
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(window, dc);
}

// Frame mode: the window is made square on its smaller side and the board
// takes its sizes from it. The sizes go to the room's frame block; the
// board set's size follows only when the board and pieces are drawn anew at
// that size (the custom board), since a picture drawn for one size would no
// longer register with squares projected at another.
void OnFramedSizeChanged(HWND window, BoardView* view) {
  static bool squaring = false;
  if (squaring) return;
  RECT r;
  GetWindowRect(window, &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  FrameBoardSizes sizes = ComputeFrameBoardSizes(width, height, view->projection.leftMargin);
  if (width != height) {
    squaring = true;
    SetWindowPos(window, nullptr, 0, 0, sizes.side, sizes.side, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    squaring = false;
  }
  view->host->SetFrameSizes(sizes);
  FitBoardSceneToWindow(window, view->scene, view->host->RoomBackground());
  // A custom board is drawn anew at the new size, pieces and all.
  if (view->boardSetIndex == kCustomBoardSet) RebuildFramedCustomBoard(view, sizes.side);
  InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK BoardWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  BoardWndData* data = DataOf(window);
  BoardView* view = GetBoardViewOfWindow(window);
  switch (message) {
    case WM_CREATE: {
      auto* created = new BoardWndData;
      SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(created));
      return 0;
    }
    case WM_NCDESTROY:
      delete data;
      SetWindowLongPtrA(window, 0, 0);
      break;
    case WM_PAINT:
      OnPaint(window, view);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = POINT{kMinBoardSide, kMinBoardSide};
      RECT room{};
      if (view && view->host->StoredWindowRect(kRoomWindowNumber, &room) && room.right > room.left) {
        info->ptMaxSize = info->ptMaxTrackSize = POINT{room.right - room.left, room.bottom - room.top};
      }
      return 0;
    }
    case WM_SIZING:
      OnSizing(window, view, reinterpret_cast<RECT*>(lParam));
      return TRUE;
    case WM_SIZE:
      if (view && view->scene) {
        FitBoardSceneToWindow(window, view->scene, view->host->RoomBackground());
        InvalidateRect(window, nullptr, FALSE);
      }
      break;
    case WM_NCHITTEST:
      if (view && view->host->FrameMode()) return OnNcHitTest(window, wParam, lParam);
      break;
    case WM_NCPAINT:
      if (view && view->host->FrameMode()) {
        OnNcPaintBlack(window);
        return 0;
      }
      break;
    case WM_WINDOWPOSCHANGED:
      if (view) {
        auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (view->host->FrameMode() && !(pos->flags & SWP_NOSIZE)) OnFramedSizeChanged(window, view);
        RECT r;
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        view->host->StoreWindowRect(kBoardWindowNumber, r);
      }
      break;
    default:
      break;
  }
  if (!view || !data || !view->host) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
      OnLeftDown(window, view, data, wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(window, view, data, wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      OnLeftUp(window, view, data, wParam, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      if (!data->releasing && GetBoardCustomizeMode()) EndCustomize();
      if (!data->releasing) {
        data->boardDrag = false;
        CancelDrag(view, data);
      }
      return 0;
    case WM_CHAR:
      OnChar(window, view, wParam);
      return 0;
    case WM_RBUTTONUP:
      CallBoardWndCallback(window, message, wParam, lParam);
      return 0;
    case WM_EXITSIZEMOVE:
      view->host->SetCursorKind(CURSOR_PIECE_BASE + view->pieceSet->cursorKind);
      return 0;
    case kGameEventMessage:
      OnGameEvent(window, view, data, wParam, lParam);
      return 0;
    case kTurnBoardMessage: {
      int wantFlipped = wParam == 1 ? 0 : 1;
      if (wantFlipped != view->flipped) {
        view->flipped = wantFlipped;
        TurnBoard180Geometry(&view->projection);
        PlaceBoardFromPosition(view);
        RedrawAll(view);
      }
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Room 1's blindfold blocker: pieces cannot be picked up; moves are typed.
LRESULT BlindfoldBlocker(HWND, UINT message, WPARAM, LPARAM, intptr_t) {
  return message == WM_LBUTTONDOWN ? 2 : 0;
}

}  // namespace

HWND CreateBoardWindow(BoardViewHost* host, HINSTANCE instance) {
  HWND parent = host->NumberedWindow(kRoomWindowNumber);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (host->FrameMode() ? WS_THICKFRAME : 0);
  HWND window =
      CreateWindowExA(0, kBoardWndClass, "Board", style, 0, 0, 0, 0, parent, nullptr, instance, nullptr);
  if (!window) return nullptr;
  host->SetNumberedWindow(kBoardWindowNumber, window);
  ShowWindow(window, SW_SHOW);
  return window;
}

bool InitBoardViews(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = BoardWndProc;
  wc.hInstance = instance;
  wc.cbWndExtra = 4 * sizeof(LONG_PTR);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kBoardWndClass;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  InitBoardDrawing();
  return true;
}

bool TermBoardViews(HINSTANCE instance) {
  TermBoardDrawing();
  UnregisterClassA(kBoardWndClass, instance);
  return true;
}

BoardView* GetBoardViewOfWindow(HWND window) {
  return reinterpret_cast<BoardView*>(GetWindowLongPtrA(window, 3 * sizeof(LONG_PTR)));
}

BoardWndCallback SetBoardWndCallback(HWND window, BoardWndCallback callback, intptr_t data) {
  BoardWndData* d = DataOf(window);
  if (!d) return nullptr;
  BoardWndCallback previous = d->callback;
  d->callback = callback;
  d->callbackData = data;
  return previous;
}

intptr_t GetBoardWndCallbackData(HWND window) {
  BoardWndData* d = DataOf(window);
  return d ? d->callbackData : 0;
}

LRESULT CallBoardWndCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  BoardWndData* d = DataOf(window);
  if (!d || !d->callback) return 0;
  return d->callback(window, message, wParam, lParam, d->callbackData);
}

bool IsBoardPieceDragged(HWND window) {
  BoardWndData* d = DataOf(window);
  return d && d->dragPiece >= 0;
}

bool UpdateBoardInputLock(BoardView* view) {
  if (!view || view->host->Room() != 1) return false;
  bool blind = false;
  for (int side : {WHITE, BLACK})
    if (view->host->PlayerKind(side) == 0 && view->host->PlaysBlindfold(side)) blind = true;
  view->hideMode = blind ? HIDE_ALL : HIDE_NONE;
  SetBoardWndCallback(view->window, blind ? BlindfoldBlocker : nullptr, 0);
  PlaceBoardFromPosition(view);
  RedrawAll(view);
  return blind;
}

void SetPromotionAsker(PromotionAsker asker) { g_promotion = asker; }
