// The set-up tool window and the Complete Board Setup dialog.
#include "win/setup_position_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "piece_cels.h"
#include "position_edit.h"
#include "slide_steps.h"
#include "win/board_view_win32.h"
#include "win/piece_picture_win32.h"

namespace {

constexpr int kSetUpDialog = 221;
constexpr int kCompleteDialog = 124;
constexpr int kStartingPosition = 2220, kClearBoard = 2221;
constexpr int kMoveButton = 30460, kDeleteButton = 30465;
constexpr int kWhiteToMove = 4068, kBlackToMove = 4069, kFirstCastleBox = 4064;
constexpr int kToolDelete = 0, kToolMove = 1;
constexpr int kDeleteCursor = 16;

SetUpPositionHost* g_host = nullptr;

// Palette buttons: id, tool (a piece byte or a command), cursor.
struct ToolButton {
  int id, tool, cursor;
};
constexpr ToolButton kTools[] = {
    {kDeleteButton, kToolDelete, kDeleteCursor}, {kMoveButton, kToolMove, -1},
    {30420, WHITE + QUEEN, 21},  {30415, WHITE + ROOK, 20},  {30410, WHITE + BISHOP, 19},
    {30405, WHITE + KNIGHT, 18}, {30400, WHITE + PAWN, 17},  {30450, BLACK + QUEEN, 27},
    {30445, BLACK + ROOK, 26},   {30440, BLACK + BISHOP, 25}, {30435, BLACK + KNIGHT, 24},
    {30430, BLACK + PAWN, 23},
};

const ToolButton* ToolOfButton(int id) {
  for (const ToolButton& t : kTools)
    if (t.id == id) return &t;
  return nullptr;
}

struct SetUpPositionRecord {
  HWND dialog = nullptr;
  int tool = kToolMove;
  Board* board = nullptr;
  HWND boardWindow = nullptr;
  BoardView* view = nullptr;
  uint8_t sideToMove = WHITE;
  Board backup{};
  int savedCursor = 2;
  SetUpEndCallback owner = nullptr;
  bool ownerCalled = false;
  // The drag of a piece sprite on the board.
  int dragPiece = -1;
  int dragColumn = 0, dragRow = 0;
};

void Status(int code) {
  if (!g_host) return;
  if (code == SETUP_OK)
    g_host->ClearStatusText();
  else if (code != SETUP_NOTHING)
    g_host->SetStatusText(SetUpResultText(code));
}

void RepaintBoard(SetUpPositionRecord* r) {
  RECT all{};
  GetClientRect(r->boardWindow, &all);
  RedrawBoardScene(r->view, &all);
}

// Sprites follow the board after every accepted edit.
void RebuildSprites(SetUpPositionRecord* r) {
  BoardView* v = r->view;
  SetPieceSpritesFromPosition(&v->records, v->sprites.get(), v->geometry->turn, *r->board);
  LayoutPieceSprites(&v->records, v->sprites.get(), v->projection, v->hideMode);
  InvalidateRect(r->boardWindow, nullptr, FALSE);
  UpdateWindow(r->boardWindow);
  RepaintBoard(r);
}

void SetToolCursor(SetUpPositionRecord* r) {
  for (const ToolButton& t : kTools)
    if (t.tool == r->tool)
      r->view->host->SetCursorKind(t.cursor >= 0 ? t.cursor : CURSOR_PIECE_BASE + r->view->pieceSet->cursorKind);
}

void ChooseTool(SetUpPositionRecord* r, int tool) {
  r->tool = tool;
  SetToolCursor(r);
  for (const ToolButton& t : kTools) InvalidateRect(GetDlgItem(r->dialog, t.id), nullptr, FALSE);
}

void CallOwnerOnce(SetUpPositionRecord* r, int result) {
  if (r->ownerCalled) return;
  r->ownerCalled = true;
  if (r->owner) r->owner(result, r->board, r->sideToMove);
}

void LiftPiece(SetUpPositionRecord* r, int piece, int column, int row) {
  r->dragPiece = piece;
  r->dragColumn = column;
  r->dragRow = row;
  r->view->records.draggedPiece = piece;
  const PieceRecord& record = r->view->records.pieces[piece];
  r->view->sprites->ShowPiece(piece, ScreenPoint{record.x, record.y}, record.depth - 1);
  SetCapture(r->boardWindow);
  RedrawBoardScene(r->view, nullptr);
}

void EndDrag(SetUpPositionRecord* r) {
  r->dragPiece = -1;
  r->view->records.draggedPiece = -1;
  if (GetCapture() == r->boardWindow) ReleaseCapture();
}

void OnBoardDown(SetUpPositionRecord* r, int column, int row) {
  uint8_t here = (*r->board)[MakeSquare(row, column)];
  if (r->tool == kToolMove) {
    int piece = r->view->records.squares[row][column];
    if (piece >= 0) LiftPiece(r, piece, column, row);
    return;
  }
  if (r->tool == kToolDelete || here == r->tool) {
    int code = RemoveSetUpPiece(r->board, row, column);
    if (code == SETUP_OK) RebuildSprites(r);
    Status(code);
    return;
  }
  int code = AddSetUpPiece(r->board, r->tool, row, column);
  Status(code);
  if (code != SETUP_OK) return;
  RebuildSprites(r);
  int piece = r->view->records.squares[row][column];
  if (piece >= 0) LiftPiece(r, piece, column, row);
}

void OnBoardUp(SetUpPositionRecord* r, bool onSquare, int column, int row) {
  if (r->dragPiece < 0) return;
  int piece = r->dragPiece, fromColumn = r->dragColumn, fromRow = r->dragRow;
  EndDrag(r);
  SetToolCursor(r);
  if (r->tool == kToolDelete) {
    RepaintBoard(r);
    return;
  }
  int code = onSquare ? MoveSetUpPiece(r->board, fromRow, fromColumn, row, column) : SETUP_NOTHING;
  if (code == SETUP_OK) {
    RebuildSprites(r);
    Status(code);
    return;
  }
  Status(code);
  // Back to where it stood: sliding when pieces slide.
  BoardView* v = r->view;
  int threshold = SlideThreshold(v->host->Settings().slidingPieces, v->pieceSet->celWidth, v->pieceSet->celHeight);
  if (onSquare && threshold >= 0 && (column != fromColumn || row != fromRow)) {
    SlideRequest request{v->sprites.get(), &v->projection, v->window, threshold, nullptr, nullptr};
    SlidePieceSprite(request, piece, column, row, fromColumn, fromRow);
  }
  RebuildSprites(r);
}

LRESULT SetUpBoardCallback(HWND window, UINT message, WPARAM, LPARAM lParam, intptr_t data) {
  auto* r = reinterpret_cast<SetUpPositionRecord*>(data);
  if (!r || !r->view || window != r->boardWindow) return 0;
  int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  int column = -1, row = -1;
  bool onSquare = HitTestSquare(r->view->projection, x, y, &column, &row);
  switch (message) {
    case WM_LBUTTONDOWN:
      if (!onSquare) return 0;
      OnBoardDown(r, column, row);
      return 1;
    case WM_MOUSEMOVE:
      if (r->dragPiece < 0) {
        if (onSquare) SetToolCursor(r);
        return r->tool == kToolDelete ? 1 : 0;
      }
      r->view->sprites->ShowPiece(r->dragPiece, ScreenPoint{x, y},
                                  (IsFlatBoard(*r->view->geometry) ? 0 : DepthAtY(r->view->projection, y)) - 1);
      RedrawBoardScene(r->view, nullptr);
      return 1;
    case WM_LBUTTONUP:
      if (r->dragPiece < 0) return 0;
      OnBoardUp(r, onSquare, column, row);
      return 1;
    case kOfferMoveMessage:
      return 1;  // nothing is played while the position is built
    default:
      return 0;
  }
}

void PlaceToolWindow(HWND dialog, HWND parent) {
  RECT r, work{}, board{};
  GetWindowRect(dialog, &r);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int w = r.right - r.left, h = r.bottom - r.top;
  // Beside the board window when it fits, else centred on the parent.
  HWND boardWindow = nullptr;
  if (g_host && g_host->CurrentBoardView()) boardWindow = g_host->CurrentBoardView()->window;
  if (boardWindow) GetWindowRect(boardWindow, &board);
  int x, y;
  if (boardWindow && board.right + w <= work.right) {
    x = board.right, y = std::max(work.top, board.top);
  } else if (boardWindow && board.left - w >= work.left) {
    x = board.left - w, y = std::max(work.top, board.top);
  } else {
    RECT p{};
    if (parent) GetWindowRect(parent, &p);
    else p = work;
    x = (p.left + p.right - w) / 2, y = (p.top + p.bottom - h) / 2;
  }
  x = std::clamp<int>(x, work.left, std::max<int>(work.left, work.right - w));
  y = std::clamp<int>(y, work.top, std::max<int>(work.top, work.bottom - h));
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DrawToolButton(SetUpPositionRecord* r, const DRAWITEMSTRUCT* item) {
  const ToolButton* tool = ToolOfButton(static_cast<int>(item->CtlID));
  if (!tool) return;
  HDC dc = item->hDC;
  RECT box = item->rcItem;
  bool chosen = r->tool == tool->tool;
  FillRect(dc, &box, GetSysColorBrush(chosen ? COLOR_3DLIGHT : COLOR_BTNFACE));
  DrawEdge(dc, &box, chosen ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  RECT inner{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
  if (chosen) OffsetRect(&inner, 1, 1);
  if (tool->tool >= WHITE) {
    DrawPiecePicture(dc, inner, r->view, (tool->tool & COLOUR_MASK) == WHITE ? 0 : 1, tool->tool & TYPE_MASK);
  } else {
    char text[32];
    GetWindowTextA(item->hwndItem, text, sizeof text);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(r->dialog, WM_GETFONT, 0, 0)));
    DrawTextA(dc, text, -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
  }
  if (item->itemState & ODS_FOCUS) {
    RECT focus{box.left + 2, box.top + 2, box.right - 2, box.bottom - 2};
    DrawFocusRect(dc, &focus);
  }
}

void Apply(SetUpPositionRecord* r) {
  ShowWindow(r->dialog, SW_HIDE);
  FinishBoardSetup(r->board);
  CompleteSetupExchange exchange{r->board, r->sideToMove};
  if (RunCompleteBoardSetupDialog(GetParent(r->dialog), &exchange) == 1) {
    r->sideToMove = exchange.sideToMove;
    CallOwnerOnce(r, 1);
    DestroyWindow(r->dialog);
    return;
  }
  ShowWindow(r->dialog, SW_SHOW);
}

void Cancel(SetUpPositionRecord* r) {
  std::memcpy(r->board, &r->backup, sizeof r->backup);
  RebuildSprites(r);
  CallOwnerOnce(r, 2);
  DestroyWindow(r->dialog);
}

INT_PTR CALLBACK SetUpDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* r = reinterpret_cast<SetUpPositionRecord*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      r = reinterpret_cast<SetUpPositionRecord*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(r));
      r->dialog = dialog;
      r->view = g_host->CurrentBoardView();
      r->boardWindow = r->view->window;
      std::memcpy(&r->backup, r->board, sizeof r->backup);
      SetBoardWndCallback(r->boardWindow, SetUpBoardCallback, reinterpret_cast<intptr_t>(r));
      ChooseTool(r, kToolMove);
      PlaceToolWindow(dialog, GetParent(dialog));
      return TRUE;
    }
    case WM_DRAWITEM:
      if (r) DrawToolButton(r, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND: {
      if (!r) return FALSE;
      int id = LOWORD(wParam);
      if (const ToolButton* tool = ToolOfButton(id)) {
        ChooseTool(r, tool->tool);
        return TRUE;
      }
      switch (id) {
        case kStartingPosition:
          ClearBoard(r->board);
          SetInitialBoard(r->board);
          RebuildSprites(r);
          return TRUE;
        case kClearBoard:
          ClearSetUpBoard(r->board);
          RebuildSprites(r);
          return TRUE;
        case IDOK:
          Apply(r);
          return TRUE;
        case IDCANCEL:
          Cancel(r);
          return TRUE;
      }
      return FALSE;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      if (r) {
        if (r->dragPiece >= 0) EndDrag(r);
        if (IsWindow(r->boardWindow)) {
          SetBoardWndCallback(r->boardWindow, nullptr, 0);
          r->view->host->SetCursorKind(r->savedCursor);
        }
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        delete r;
      }
      return FALSE;
  }
  return FALSE;
}

INT_PTR CALLBACK CompleteDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* x = reinterpret_cast<CompleteSetupExchange*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      x = reinterpret_cast<CompleteSetupExchange*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(x));
      CompleteSetupChoices c{};
      InitCompleteSetupChoices(*x->board, &c);
      CheckRadioButton(dialog, kWhiteToMove, kBlackToMove, c.whiteToMove ? kWhiteToMove : kBlackToMove);
      EnableWindow(GetDlgItem(dialog, kWhiteToMove), c.whiteEnabled);
      EnableWindow(GetDlgItem(dialog, kBlackToMove), c.blackEnabled);
      for (int i = 0; i < 4; ++i) {
        CheckDlgButton(dialog, kFirstCastleBox + i, c.castleChecked[i] ? BST_CHECKED : BST_UNCHECKED);
        EnableWindow(GetDlgItem(dialog, kFirstCastleBox + i), c.castleEnabled[i]);
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (!x) return FALSE;
      if (LOWORD(wParam) == IDOK) {
        CompleteSetupChoices c{};
        InitCompleteSetupChoices(*x->board, &c);
        c.whiteToMove = IsDlgButtonChecked(dialog, kWhiteToMove) == BST_CHECKED;
        for (int i = 0; i < 4; ++i) c.castleChecked[i] = IsDlgButtonChecked(dialog, kFirstCastleBox + i) == BST_CHECKED;
        x->sideToMove = ApplyCompleteSetupChoices(c, x->board);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

void SetSetUpPositionHost(SetUpPositionHost* host) { g_host = host; }

HWND CreateSetUpPositionDialog(Board* board, SetUpEndCallback callback) {
  if (!board || !callback || !g_host) return nullptr;
  BoardView* view = g_host->CurrentBoardView();
  if (!view || !view->window || !view->sprites) return nullptr;
  auto* record = new (std::nothrow) SetUpPositionRecord;
  if (!record) return nullptr;
  record->board = board;
  record->owner = callback;
  HWND dialog = CreateDialogParamA(g_host->Instance(), MAKEINTRESOURCEA(kSetUpDialog), g_host->MainFrame(),
                                   SetUpDialogProc, reinterpret_cast<LPARAM>(record));
  if (!dialog) {
    delete record;
    return nullptr;
  }
  ShowWindow(dialog, SW_SHOW);
  return dialog;
}

int RunCompleteBoardSetupDialog(HWND owner, CompleteSetupExchange* exchange) {
  if (!exchange || !exchange->board || !g_host) return 0;
  CompleteSetupChoices c{};
  if (!InitCompleteSetupChoices(*exchange->board, &c)) {
    g_host->ShowMessage("Illegal position: both sides are in check.");
    return 0;
  }
  return g_host->RunModalDialog(owner, kCompleteDialog, CompleteDialogProc, reinterpret_cast<LPARAM>(exchange)) == 1
             ? 1
             : 0;
}

