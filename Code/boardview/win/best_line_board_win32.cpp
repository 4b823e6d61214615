// The best-line board window.
#include "win/best_line_board_win32.h"

#include <windowsx.h>

#include <cstring>

#include "dibkit.h"
#include "heapkit.h"

namespace {

constexpr int kDialog = 146;
constexpr WORD kRefresh = 1, kHold = 7, kResume = 8;
constexpr WORD kToStart = 20005, kBack = 20030, kForward = 20025, kToEnd = 20000;
constexpr int kBoardTop = 35;
const char* const kPictures[15] = {"bestlineboard", "wk", "wq", "wr", "wb", "wn", "wp", "bk",
                                   "bq",            "br", "bb", "bn", "bp", "wsquare", "bsquare"};

BestLineHost* g_host = nullptr;
HWND g_window = nullptr;

struct BestLineBoard {
  PackedDib* composite = nullptr;
  PackedDib* pictures[15] = {};
  void* handles[15] = {};
  RECT board{0, 0, 0, 0};
  SIZE boardSize{0, 0}, pieceSize{0, 0}, squareSize{0, 0};
  int analysis = 0;
  BestLine line;
};

BestLineBoard* RecordOf(HWND window) {
  return reinterpret_cast<BestLineBoard*>(GetWindowLongPtrA(window, DWLP_USER));
}

// Index 0 of a picture is see-through.
void CopyKeyed(PackedDib* to, const PackedDib* from, int x, int y) {
  if (!to || !from || from->biBitCount != 8 || to->biBitCount != 8) return;
  int tw = to->biWidth, th = std::abs(to->biHeight), fw = from->biWidth, fh = std::abs(from->biHeight);
  int ts = (tw + 3) & ~3, fs = (fw + 3) & ~3;
  uint8_t* tb = static_cast<uint8_t*>(dibGetBits(to));
  const uint8_t* fb = static_cast<const uint8_t*>(dibGetBits(from));
  for (int r = 0; r < fh; ++r) {
    int ty = y + r;
    if (ty < 0 || ty >= th) continue;
    const uint8_t* src = fb + static_cast<size_t>(from->biHeight > 0 ? fh - 1 - r : r) * fs;
    uint8_t* dst = tb + static_cast<size_t>(to->biHeight > 0 ? th - 1 - ty : ty) * ts;
    for (int c = 0; c < fw; ++c) {
      int tx = x + c;
      if (tx >= 0 && tx < tw && src[c]) dst[tx] = src[c];
    }
  }
}

int PictureOf(uint8_t piece) {
  int type = piece & TYPE_MASK;  // king 0 .. pawn 5
  return ((piece & COLOUR_MASK) == WHITE ? 1 : 7) + type;
}

void Compose(BestLineBoard* b) {
  if (!b->composite || !b->pictures[0]) return;
  std::memset(dibGetBits(b->composite), 0, b->composite->biSizeImage);
  CopyKeyed(b->composite, b->pictures[0], 0, 0);
  for (int row = 0; row < 8; ++row)
    for (int column = 0; column < 8; ++column) {
      uint8_t piece = b->line.current[MakeSquare(row, column)];
      if (piece) CopyKeyed(b->composite, b->pictures[PictureOf(piece)], BestLineSquareOrigin(column),
                           BestLineSquareOrigin(row));
    }
  b->line.dirty = 0;
}

void Paint(HWND window, HDC dc) {
  BestLineBoard* b = RecordOf(window);
  if (!b || !b->composite) return;
  if (b->line.dirty) Compose(b);
  SetDIBitsToDevice(dc, b->board.left, b->board.top, b->composite->biWidth, std::abs(b->composite->biHeight), 0, 0,
                    0, std::abs(b->composite->biHeight), dibGetBits(b->composite),
                    reinterpret_cast<const BITMAPINFO*>(b->composite), DIB_RGB_COLORS);
}

void Redraw(HWND window, HDC given, const RECT* rect) {
  BestLineBoard* b = RecordOf(window);
  if (!b) return;
  RECT meet;
  if (rect && !IntersectRect(&meet, rect, &b->board)) return;
  HDC dc = given ? given : GetDC(window);
  HPALETTE palette = g_host ? g_host->Palette() : nullptr;
  HPALETTE old = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
  if (palette) RealizePalette(dc);
  Paint(window, dc);
  if (old) SelectPalette(dc, old, TRUE);
  if (!given) ReleaseDC(window, dc);
}

void Layout(HWND window) {
  BestLineBoard* b = RecordOf(window);
  if (!b) return;
  RECT client;
  GetClientRect(window, &client);
  int left = (client.right - b->boardSize.cx) / 2;
  b->board = RECT{left, kBoardTop, left + b->boardSize.cx, kBoardTop + b->boardSize.cy};
}

void EnableSteps(HWND window, bool held) {
  EnableWindow(GetDlgItem(window, kHold), !held);
  EnableWindow(GetDlgItem(window, kResume), held);
  for (int id : {kToStart, kBack, kForward, kToEnd}) EnableWindow(GetDlgItem(window, id), held);
}

void Refresh(HWND window) {
  BestLineBoard* b = RecordOf(window);
  if (!b || !b->line.active || !g_host || !g_host->HaveGame()) return;
  std::string text = g_host->AdvisorAnalyses() ? g_host->ThinkingLine() : std::string();
  RefreshBestLine(&b->line, g_host->Position(), g_host->SideToMove(), g_host->AdvisorAnalyses(), text.c_str());
  Redraw(window, nullptr, nullptr);
}

bool Init(HWND window) {
  auto* b = new BestLineBoard;
  SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(b));
  g_window = window;
  SetInitialBoard(&b->line.current);
  b->line.start = b->line.current;
  if (g_host && g_host->HaveGame()) b->analysis = g_host->StartEngineAnalysis();
  for (int i = 0; i < 15; ++i) {
    b->handles[i] = memResourceLoad(g_host ? g_host->PictureModule() : nullptr, kPictures[i], HEAPKIT_RESOURCE_BITMAP);
    b->pictures[i] = static_cast<PackedDib*>(memResourceLock(b->handles[i]));
  }
  if (b->pictures[0]) b->boardSize = SIZE{b->pictures[0]->biWidth, std::abs(b->pictures[0]->biHeight)};
  if (b->pictures[1]) b->pieceSize = SIZE{b->pictures[1]->biWidth, std::abs(b->pictures[1]->biHeight)};
  if (b->pictures[13]) b->squareSize = SIZE{b->pictures[13]->biWidth, std::abs(b->pictures[13]->biHeight)};
  Layout(window);
  if (b->pictures[0]) {
    b->composite = dibCreateWithColors(b->boardSize.cx, b->boardSize.cy, 8);
    if (b->composite) std::memcpy(dibGetColorArea(b->composite), dibGetColorArea(b->pictures[0]), 256 * 4);
  }
  EnableSteps(window, false);
  if (g_host) g_host->SetNumberedWindow(kBestLineWindowNumber, window);
  return true;
}

void Destroy(HWND window) {
  BestLineBoard* b = RecordOf(window);
  if (b) {
    if (b->composite) dibDelete(b->composite);
    for (void* h : b->handles) memFree_rel(h);
    delete b;
  }
  SetWindowLongPtrA(window, DWLP_USER, 0);
  if (g_window == window) g_window = nullptr;
  if (g_host) {
    g_host->SetNumberedWindow(kBestLineWindowNumber, nullptr);
    g_host->ToggleMenuCheck(kBestLineMenuCommand);
  }
}

void ContextMenu(HWND window, LPARAM lParam) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 40026, "Quick Hint");
  AppendMenuA(menu, MF_STRING, 40027, "Natural Language Advice");
  AppendMenuA(menu, MF_STRING, 40029, "Auto-Annotate/Analyze");
  AppendMenuA(menu, MF_STRING, 40, "Help");
  TrackPopupMenu(menu, TPM_LEFTALIGN, GET_X_LPARAM(lParam) + 1, GET_Y_LPARAM(lParam) + 1, 0,
                 g_host ? g_host->MainWindow() : window, nullptr);
  DestroyMenu(menu);
}

INT_PTR CALLBACK BestLineDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  BestLineBoard* b = RecordOf(window);
  switch (message) {
    case WM_INITDIALOG:
      Init(window);
      return TRUE;
    case WM_COMMAND: {
      if (!b) return FALSE;
      WORD id = LOWORD(wParam);
      switch (id) {
        case kRefresh:
          Refresh(window);
          return TRUE;
        case kHold:
          EnableSteps(window, true);
          b->line.active = 0;
          return TRUE;
        case kResume:
          EnableSteps(window, false);
          b->line.active = 1;
          PostMessageA(window, WM_COMMAND, kRefresh, 0);
          return TRUE;
        case kToStart:
        case kBack:
        case kForward:
        case kToEnd:
          StepBestLine(&b->line, id == kToStart ? STEP_TO_START : id == kBack ? STEP_BACK
                                                               : id == kForward ? STEP_FORWARD
                                                                                : STEP_TO_END);
          Redraw(window, nullptr, nullptr);
          return TRUE;
        case 40:
        case 40026:
        case 40027:
        case 40029:
          if (g_host) SendMessageA(g_host->MainWindow(), WM_COMMAND, id, 0);
          return TRUE;
      }
      return FALSE;
    }
    case WM_CONTEXTMENU:
      ContextMenu(window, lParam);
      return TRUE;
    case WM_CHAR:
      if (g_host) PostMessageA(g_host->MainWindow(), WM_CHAR, wParam, lParam);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Redraw(window, dc, &ps.rcPaint);
      EndPaint(window, &ps);
      return TRUE;
    }
    case WM_SIZE:
      Layout(window);
      return FALSE;
    case WM_SHOWWINDOW:
      if (!b || !g_host || lParam != 0) return FALSE;  // only when shown or hidden directly
      if (!wParam && b->analysis) {
        g_host->StopEngineAnalysis(b->analysis);
        b->analysis = 0;
      } else if (wParam && !b->analysis && g_host->HaveGame()) {
        b->analysis = g_host->StartEngineAnalysis();
      }
      return FALSE;
    case 0x8103:  // game event
      if (!b || !g_host) return TRUE;
      if (wParam == 0 && IsWindowVisible(window)) b->analysis = g_host->StartEngineAnalysis();
      if (wParam == 1 && b->analysis) {
        g_host->StopEngineAnalysis(b->analysis);
        b->analysis = 0;
      }
      return TRUE;
    case WM_CLOSE:
      if (g_host) g_host->ToggleMenuCheck(kBestLineMenuCommand);
      ShowWindow(window, SW_HIDE);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageA(window, WM_CLOSE, 0, 0);
        SetWindowLongPtrA(window, DWLP_MSGRESULT, 1);
        return TRUE;
      }
      return FALSE;
    case WM_WINDOWPOSCHANGED:
      if (g_host) {
        RECT r;
        GetWindowRect(window, &r);
        g_host->StoreWindowRect(kBestLineWindowNumber, r);
      }
      return FALSE;
    case WM_DESTROY:
      Destroy(window);
      return FALSE;
  }
  return FALSE;
}

}  // namespace

int CreateBestLineBoard(HWND parent, HINSTANCE instance, BestLineHost* host) {
  if (!parent || !instance || !host) return -1;
  g_host = host;
  HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(kDialog), parent, BestLineDlgProc, 0);
  if (!window) GetLastError();  // read, as the program's error path does
  return 0;
}

void DestroyBestLineBoard(HWND window) {
  if (window && IsWindow(window)) DestroyWindow(window);
}

void PostBestLineUpdate(HWND window, const void* game) {
  if (!window || !game) return;
  PostMessageA(window, WM_COMMAND, kRefresh, 0);
}

HWND BestLineBoardWindow() { return g_window; }

const BestLine* GetBestLineState(HWND window) {
  BestLineBoard* b = window ? RecordOf(window) : nullptr;
  return b ? &b->line : nullptr;
}
