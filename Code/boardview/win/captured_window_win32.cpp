// The captured pieces window.
#include "win/captured_window_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "piece_cels.h"
#include "teaching_modes.h"
#include "win/board_view_win32.h"
#include "win/piece_picture_win32.h"

namespace {

constexpr int kDialog = 133;
constexpr WORD kDrawCommand = 1, kHelpCommand = 40;
const COLORREF kSheetGrey = RGB(198, 198, 198);

CapturedHost* g_host = nullptr;
HWND g_window = nullptr;

COLORREF Background(BoardView* view) {
  const PackedDib* sheet = view->host->RoomPieceSheet();
  int bits = sheet ? sheet->biBitCount : 8;
  if (bits == 24) return kSheetGrey;
  if (bits == 16) return RGB(24 << 3 | 24 >> 2, 24 << 3 | 24 >> 2, 24 << 3 | 24 >> 2);  // 0xE318
  const DibRgbQuad& q = view->colours[60];
  return RGB(q.red, q.green, q.blue);
}

void Repaint(HWND window) { PostMessageA(window, WM_COMMAND, kDrawCommand, 0); }

void OnGameEvent(HWND window, WPARAM code) {
  BoardView* view = g_host ? g_host->CurrentBoardView() : nullptr;
  switch (code) {
    case 0:
    case 10:
    case 11:
    case 14:
      InvalidateRect(window, nullptr, TRUE);
      break;
    case 9: {
      MoveRecord move{};
      int mover;
      if (view && view->host->CurrentMove(&move, &mover) &&
          (move.flags & (MOVE_CAPTURE | MOVE_EN_PASSANT | MOVE_PROMOTION)))
        InvalidateRect(window, nullptr, TRUE);
      break;
    }
    default:
      break;
  }
}

INT_PTR CALLBACK CapturedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  BoardView* view = g_host ? g_host->CurrentBoardView() : nullptr;
  switch (message) {
    case WM_INITDIALOG:
      g_window = window;
      if (view) view->host->SetNumberedWindow(kCapturedWindowNumber, window);
      return TRUE;
    case WM_DESTROY:
      SetCapturedDialogWindow(window);
      return FALSE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(window, &ps);
      EndPaint(window, &ps);
      Repaint(window);
      return TRUE;
    }
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HPALETTE palette = view ? view->host->ProgramPalette() : nullptr;
      HPALETTE old = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
      if (palette) RealizePalette(dc);
      RECT r;
      GetClientRect(window, &r);
      HBRUSH brush = CreateSolidBrush(kSheetGrey);
      FillRect(dc, &r, brush);
      DeleteObject(brush);
      if (old) SelectPalette(dc, old, TRUE);
      SetWindowLongPtrA(window, DWLP_MSGRESULT, 1);
      return TRUE;
    }
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{100, 100};
      return TRUE;
    case WM_WINDOWPOSCHANGED:
      if (view) {
        RECT r;
        GetWindowRect(window, &r);
        view->host->StoreWindowRect(kCapturedWindowNumber, r);
      }
      return FALSE;
    case WM_CHAR:
      if (g_host) PostMessageA(g_host->MainWindow(), WM_CHAR, wParam, lParam);
      return TRUE;
    case WM_CONTEXTMENU: {
      HMENU menu = CreatePopupMenu();
      AppendMenuA(menu, MF_STRING, kHelpCommand, "Help");
      TrackPopupMenu(menu, TPM_LEFTALIGN, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), 0,
                     g_host ? g_host->MainWindow() : window, nullptr);
      DestroyMenu(menu);
      return TRUE;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        ShowWindow(window, SW_HIDE);
        if (g_host) g_host->SetMenuCheck(kCapturedMenuCommand, false);
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kDrawCommand) {
        if (!view) return TRUE;
        HDC dc = GetDC(window);
        HPALETTE palette = view->host->ProgramPalette();
        HPALETTE old = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
        if (palette) RealizePalette(dc);
        RECT r;
        GetClientRect(window, &r);
        DrawCapturedPieces(dc, r, view);
        if (old) SelectPalette(dc, old, TRUE);
        ReleaseDC(window, dc);
        return TRUE;
      }
      if (LOWORD(wParam) == kHelpCommand && g_host) {
        PostMessageA(g_host->MainWindow(), WM_COMMAND, kHelpCommand, 0);
        return TRUE;
      }
      return FALSE;
    case kGameEventMessage:
      OnGameEvent(window, wParam);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void DrawCapturedPieces(HDC dc, const RECT& client, BoardView* view) {
  if (!view || !view->host || !view->host->HaveGame() || !view->pieceSet) return;
  int32_t counts[2][6];
  CountCapturedPieces(counts, view->host->Position());
  int w = view->pieceSet->celWidth, h = view->pieceSet->celHeight;
  if (w <= 0 || h <= 0) return;
  int width = client.right - client.left, height = client.bottom - client.top;
  HBRUSH background = CreateSolidBrush(Background(view));
  int x = client.left, y = client.top, rowHeight = 0;
  bool wrapped = false;
  for (int colour = 0; colour < 2; ++colour) {
    int placed = 0;
    for (int kind = 0; kind < 6; ++kind)
      for (int n = 0; n < counts[colour][kind]; ++n) {
        RECT cel{x, y, x + w, y + h};
        FillRect(dc, &cel, background);
        DrawPiecePicture(dc, cel, view, colour, kind);
        rowHeight = std::max(rowHeight, h);
        x += w;
        ++placed;
        wrapped = false;
        if (x + 2 * w >= width) {
          x = client.left;
          y += rowHeight + 5;
          wrapped = true;
        }
      }
    // Black's losses start a line of their own when there is room.
    if (placed && !wrapped && y + 2 * std::max(rowHeight, h) <= height) {
      x = client.left;
      y += rowHeight + 5;
    }
  }
  DeleteObject(background);
}

int CreateCapturedDialog(HWND owner, HINSTANCE instance, CapturedHost* host) {
  if (!owner || !instance) return -1;
  g_host = host;
  if (!g_window) CreateDialogParamA(instance, MAKEINTRESOURCEA(kDialog), owner, CapturedProc, 0);
  return 0;
}

int SetCapturedDialogWindow(HWND window) {
  if (window == g_window) g_window = nullptr;
  BoardView* view = g_host ? g_host->CurrentBoardView() : nullptr;
  if (view) view->host->SetNumberedWindow(kCapturedWindowNumber, nullptr);
  return 0;
}

HWND CapturedDialogWindow() { return g_window; }
