// The game view and position pages (see gameview_win32.h). The move text's
// runs and the path through variations are the OS-free movetext and
// viewpath; this file puts them on the pages' controls.
#include "gameview_win32.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "colortext_layout.h"
#include "data_sets.h"
#include "movetext.h"
#include "searchboard_core.h"
#include "searchboard_win32.h"
#include "viewpath.h"

namespace {

enum : int {
  kMovesPageId = 206,
  kGameInfoPageId = 207,
  kPositionPageId = 212,
  kBoardId = 1601,
  kTitleId = 2003,
  kMoveTextId = 2110,
  kFirstButton = 20005,
  kBackButton = 20030,
  kForwardButton = 20025,
  kLastButton = 20000,
  kShowAnnotationsId = 2195,
  kShowVariationsId = 2196,
  kSearchButton = 2001,
  kStopButton = 2118,
  kCopyMovesButton = 2190,
  kClearPositionButton = 2183,
  kInitialPositionButton = 2189,
  kCopyKeyButton = 2181,
  kWhiteToMoveId = 2192,
  kFirstPieceBox = 30400,
  kPieceBoxes = 12,
};
constexpr WORD kRepeatCode = 0x5E;  // a held button's repeat
constexpr WORD kColorTextClicked = 1;
constexpr int kKeyPathCapacity = 100;

struct GameInfoField {
  int field, control;
};
constexpr GameInfoField kGameInfoFields[] = {
    {5, 2111},  {6, 2112},  {11, 2113}, {12, 2115}, {9, 2117},  {10, 2120}, {7, 2122},  {8, 2125},  {13, 2149},
    {14, 2151}, {1, 2128},  {2, 2138},  {17, 2131}, {3, 2143},  {16, 2141}, {15, 2145}, {4, 2147},  {18, 2134},
};

struct GameView {
  int shown = 0;
  GdGameBuffer game = nullptr;  // the window's buffer, not owned
  std::unique_ptr<GameTextAreas> areas;
  GameViewPath path;
  int32_t keys[kKeyPathCapacity] = {};
  int keyCount = 0;
  int keyCapacity = kKeyPathCapacity;
};

GameViewHost g_host;
GameView g_view;
HWND g_moves = nullptr, g_info = nullptr, g_position = nullptr;
SearchQuery g_positionQuery;

int Setting(int* value, int fallback) { return value ? *value : fallback; }
bool ShowVariations() { return Setting(g_host.showVariations, 1) != 0; }

HWND MovesBoard() { return g_moves ? GetDlgItem(g_moves, kBoardId) : nullptr; }
HWND MoveText() { return g_moves ? GetDlgItem(g_moves, kMoveTextId) : nullptr; }

// Runs into the toolkit's coloured text control.
class ColorTextSink final : public MoveRunSink {
 public:
  explicit ColorTextSink(HWND control) : control_(control) {}
  void AddRun(const std::string& text, int entry, int style, uint32_t value) override {
    if (text.empty()) return;
    ColorTextEntry e{};
    e.colour = PALETTEINDEX(WORD(entry));
    e.text = text.c_str();
    e.data = value;
    e.flags = uint32_t(style);
    SendMessageA(control_, CTM_ADDENTRY, 0, LPARAM(&e));
  }

 private:
  HWND control_;
};

void HighlightRun(int index) {
  HWND text = MoveText();
  if (!text) return;
  LRESULT entry = index > 0 ? SendMessageA(text, CTM_FINDENTRY, 3, LPARAM(index)) : 0;
  SendMessageA(text, CTM_SETCURENTRY, 0, entry);
}

bool FillMoveText() {
  HWND text = MoveText();
  if (!text || !g_view.game) return false;
  if (!g_view.areas) g_view.areas = std::make_unique<GameTextAreas>();
  GameTextAreas& a = *g_view.areas;
  SendMessageA(text, WM_SETREDRAW, FALSE, 0);
  SendMessageA(text, CTM_RESETCONTENT, 0, 0);
  // A game the module cannot convert shows an empty text.
  if (ConvertShownGame(g_view.game, &a)) {
    MoveTextSettings settings;
    settings.showComments = Setting(g_host.showComments, 1);
    settings.showVariations = Setting(g_host.showVariations, 1);
    settings.notation = Setting(g_host.notation, 1);
    ColorTextSink sink(text);
    FillMoveText(&sink, a, settings);
  }
  SendMessageA(text, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(text, nullptr, TRUE);
  return true;
}

void FillGameInfoPage(HWND page, GdGameBuffer buffer) {
  if (!page) return;
  for (const GameInfoField& f : kGameInfoFields) {
    char text[256] = "";
    if (buffer) GdGetHeaderInfo(buffer, f.field, text, sizeof text);
    SetDlgItemTextA(page, f.control, text);
  }
}

void SelectKeyOfViewPly(bool classify) {
  if (classify && g_view.keyCapacity < kKeyPathCapacity) {
    g_view.keyCapacity = kKeyPathCapacity;
    ReclassifyGameKeys();
  }
  if (!g_view.keyCount || !g_host.selectKeyForPly) return;
  const int i = KeyPathIndex(g_view.keys, g_view.keyCount, g_view.path.index(), g_view.path.mainLength());
  g_host.selectKeyForPly(i, g_view.keys[i]);
}

void ShowViewPosition() {
  if (HWND board = MovesBoard()) SetBoardPosition(board, g_view.path.position());
}

// ---- Moves page --------------------------------------------------------------

void SizeMovesPage(HWND page, int width) {
  for (int id : {kTitleId, kMoveTextId}) {
    HWND c = GetDlgItem(page, id);
    if (!c) continue;
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    if (id == kMoveTextId) SendMessageA(c, WM_SETREDRAW, FALSE, 0);
    RECT client;
    GetClientRect(page, &client);
    const int bottom = id == kMoveTextId ? client.bottom - 4 : r.bottom;
    SetWindowPos(c, nullptr, 0, 0, std::max<int>(10, width - 10 - r.left), std::max<int>(10, bottom - r.top),
                 SWP_NOMOVE | SWP_NOZORDER);
    if (id == kMoveTextId) {
      SendMessageA(c, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(c, nullptr, TRUE);
    }
  }
}

void SetPieceSet(HWND board) {
  // The picture library is the program's resource library (data set 7).
  HMODULE library = static_cast<HMODULE>(GetDataSetLibrary(7));
  if (!library) library = GetModuleHandleA("rw256.dll");
  if (library) SendMessageA(board, SBM_SETPIECESET, WPARAM("PIECESET25"), LPARAM(library));
}

INT_PTR CALLBACK MovesPageDlgProc(HWND page, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG:
      g_view.shown = 0;
      if (HWND board = GetDlgItem(page, kBoardId)) SetPieceSet(board);
      return TRUE;
    case WM_SIZE:
      SizeMovesPage(page, LOWORD(second));
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(first);
      const WORD code = HIWORD(first);
      switch (id) {
        case kFirstButton:
          if (g_view.path.index() > 0) GoToViewPly(0);
          return TRUE;
        case kBackButton:
          if (g_view.path.index() > 0) GoToViewPly(g_view.path.index() - 1);
          return TRUE;
        case kForwardButton:
          if (code == BN_CLICKED || code == kRepeatCode) StepViewForward(code != kRepeatCode);
          return TRUE;
        case kLastButton:
          if (g_view.path.index() != g_view.path.mainLength()) GoToViewPly(g_view.path.mainLength());
          return TRUE;
        case kMoveTextId:
          if (code == kColorTextClicked) {
            ColorTextEntry e{};
            if (SendMessageA(MoveText(), CTM_GETCURENTRY, 0, LPARAM(&e))) GoToViewPly(int(e.data));
          }
          return TRUE;
        case kShowAnnotationsId:
          if (code != BN_CLICKED) return TRUE;
          if (g_host.showComments) *g_host.showComments = IsDlgButtonChecked(page, id) == BST_CHECKED;
          RefreshMoveText();
          [[fallthrough]];
        case kShowVariationsId:
          if (code != BN_CLICKED) return TRUE;
          if (g_host.showVariations)
            *g_host.showVariations = IsDlgButtonChecked(page, kShowVariationsId) == BST_CHECKED;
          RefreshMoveText();
          if (g_view.path.index() > g_view.path.mainLength()) GoToViewPly(g_view.path.mainLength());
          return TRUE;
      }
      return FALSE;
    }
  }
  return FALSE;
}

INT_PTR CALLBACK GameInfoPageDlgProc(HWND, UINT message, WPARAM first, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(first), TRANSPARENT);
      return INT_PTR(GetStockObject(LTGRAY_BRUSH));
  }
  return FALSE;
}

// ---- Position Search page ------------------------------------------------------

HWND PositionBoard() { return g_position ? GetDlgItem(g_position, kBoardId) : nullptr; }

void ShowSearchPosition(const sPosition& p) {
  g_positionQuery.position = p;
  if (HWND board = PositionBoard()) SetBoardPosition(board, p);
  CheckDlgButton(g_position, kWhiteToMoveId, p.whiteToMove ? BST_CHECKED : BST_UNCHECKED);
}

void PositionButton(int id) {
  sPosition p = gdbase::InitialPosition();
  switch (id) {
    case kClearPositionButton:
      std::memset(p.squares, 0, sizeof p.squares);
      break;
    case kCopyMovesButton:
      GetViewPosition(&p);
      break;
    case kCopyKeyButton:
      if (g_host.copyKeyPosition) g_host.copyKeyPosition(&p);
      break;
  }
  ShowSearchPosition(p);
}

void SearchPosition() {
  SearchQuery& q = g_positionQuery;
  q.kind = 4;
  q.includeFlagged = g_host.showDeleted ? g_host.showDeleted() : 0;
  uint8_t board[64] = {};
  if (HWND b = PositionBoard()) SendMessageA(b, SBM_GETPOSITION, 0, LPARAM(board));
  PositionFromBoard(board, &q.position);
  q.position.whiteToMove = IsDlgButtonChecked(g_position, kWhiteToMoveId) == BST_CHECKED ? 1 : 0;
  bool occupied = false;
  for (uint8_t c : q.position.squares) occupied = occupied || c != 0;
  if (occupied && GdIsLegalPos(&q.position) != 0) {
    if (g_host.messageBox) g_host.messageBox(10101, 10102, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (g_host.startSearch) g_host.startSearch(q);
}

INT_PTR CALLBACK PositionSearchPageDlgProc(HWND page, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG: {
      g_position = page;
      HWND board = GetDlgItem(page, kBoardId);
      SetPieceSet(board);
      SendMessageA(board, SBM_SETEDITABLE, 1, 0);
      for (int i = 0; i < kPieceBoxes; ++i) {
        HWND box = GetDlgItem(page, kFirstPieceBox + 5 * i);
        if (!box) continue;
        char caption[8] = "";
        GetWindowTextA(box, caption, sizeof caption);
        const int code = std::atoi(caption);
        const LRESULT bitmap = SendMessageA(board, SBM_PIECEBITMAP, WPARAM(code & 0xFFFF) | (WPARAM(0xFFFE) << 16), 0);
        SendMessageA(box, SPM_SETBITMAP, WPARAM(bitmap), 0);
      }
      std::memset(&g_positionQuery, 0, sizeof g_positionQuery);
      PositionButton(kClearPositionButton);
      return TRUE;
    }
    case SBM_DROP: {
      // The piece goes where it was dropped; a set-up position has no
      // en-passant square and every castling right.
      auto* answer = reinterpret_cast<uint8_t*>(second);
      answer[0] = uint8_t((first >> 16) & 0xFF);
      answer[1] = uint8_t((first >> 8) & 0xFF);
      g_positionQuery.position.enPassant = 64;
      std::memset(g_positionQuery.position.castle, 1, sizeof g_positionQuery.position.castle);
      SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
      return TRUE;
    }
    case SPM_PRESSED: {
      HWND box = reinterpret_cast<HWND>(first);
      char caption[8] = "";
      GetWindowTextA(box, caption, sizeof caption);
      POINT p{short(LOWORD(second)), short(HIWORD(second))};
      MapWindowPoints(box, page, &p, 1);
      LONG record[4] = {-1000, -1000, p.x, p.y};
      SendMessageA(PositionBoard(), SBM_STARTDRAG, WPARAM(std::atoi(caption)), LPARAM(record));
      return TRUE;
    }
    case WM_COMMAND:
      if (HIWORD(first) != BN_CLICKED) return FALSE;
      switch (LOWORD(first)) {
        case kSearchButton:
          SearchPosition();
          return TRUE;
        case kStopButton:
          if (g_host.stopSearch) g_host.stopSearch();
          return TRUE;
        case kClearPositionButton:
        case kInitialPositionButton:
        case kCopyMovesButton:
        case kCopyKeyButton:
          PositionButton(LOWORD(first));
          return TRUE;
      }
      return FALSE;
  }
  (void)page;
  return FALSE;
}

}  // namespace

bool CreateGameViewPages(HWND panel, HINSTANCE instance, const GameViewHost& host) {
  g_host = host;
  RegisterSearchBoardClasses(instance);
  g_moves = CreateDialogParamA(instance, MAKEINTRESOURCEA(kMovesPageId), panel, MovesPageDlgProc, 0);
  g_info = CreateDialogParamA(instance, MAKEINTRESOURCEA(kGameInfoPageId), panel, GameInfoPageDlgProc, 0);
  g_position = CreateDialogParamA(instance, MAKEINTRESOURCEA(kPositionPageId), panel, PositionSearchPageDlgProc, 0);
  if (g_moves) SetWindowLongPtrA(g_moves, GWLP_ID, kMovesPageId);
  if (g_info) SetWindowLongPtrA(g_info, GWLP_ID, kGameInfoPageId);
  if (g_position) SetWindowLongPtrA(g_position, GWLP_ID, kPositionPageId);
  ClearGameView();
  return g_moves && g_info && g_position;
}

void DestroyGameViewPages() {
  for (HWND* page : {&g_moves, &g_info, &g_position}) {
    if (*page && IsWindow(*page)) DestroyWindow(*page);
    *page = nullptr;
  }
  g_view.areas.reset();
  g_view.game = nullptr;
  g_view.shown = 0;
}

HWND MovesPage() { return g_moves; }
HWND GameInfoPage() { return g_info; }
HWND PositionSearchPage() { return g_position; }

int ShowGame(GdGameBuffer game) {
  g_view.game = game;
  g_view.shown = 1;
  FillMoveText();
  const GameTextAreas* a = g_view.areas.get();
  if (a) g_view.path.Reset(a->start, a->words.data(), a->mainLength, a->total);
  g_view.keyCapacity = kKeyPathCapacity;
  ReclassifyGameKeys();
  ShowViewPosition();
  char title[256] = "";
  GdGetHeaderInfo(game, 101, title, sizeof title);
  if (g_moves) SetDlgItemTextA(g_moves, kTitleId, title);
  FillGameInfoPage(g_info, game);
  if (!(g_host.keyMode && g_host.keyMode())) SelectKeyOfViewPly(false);
  if (g_host.rebuildRoomGame) g_host.rebuildRoomGame();
  return 1;
}

int ClearGameView() {
  g_view.shown = 0;
  if (HWND text = MoveText()) SendMessageA(text, CTM_RESETCONTENT, 0, 1);
  sPosition empty = g_view.areas ? g_view.areas->start : gdbase::InitialPosition();
  std::memset(empty.squares, 0, sizeof empty.squares);
  const uint16_t none = 0;
  g_view.path.Reset(empty, &none, 0, 0);
  ShowViewPosition();
  if (g_moves) SetDlgItemTextA(g_moves, kTitleId, "");
  FillGameInfoPage(g_info, nullptr);
  if (g_host.markKeyPath) g_host.markKeyPath(nullptr, 0);
  g_view.keyCount = 0;
  g_view.game = nullptr;
  return 1;
}

int RefreshMoveText() {
  if (!g_view.shown) return 0;
  FillMoveText();
  HighlightRun(g_view.path.index());
  return 1;
}

int ReclassifyGameKeys() {
  if (!g_view.shown) return 0;
  if (g_host.markKeyPath) g_host.markKeyPath(nullptr, 0);
  g_view.keyCount = 0;
  if (g_host.keyBase && g_host.keyBase() && g_view.game) {
    g_view.keyCount = GdClassifyMoves(g_view.game, g_view.keys, g_view.keyCapacity);
    if (g_view.keyCount < 0) g_view.keyCount = 0;
    if (g_host.markKeyPath) g_host.markKeyPath(g_view.keys, g_view.keyCount);
  } else {
    g_view.keyCapacity = kKeyPathCapacity;
  }
  return 1;
}

int GoToViewPly(int index) {
  if (!g_view.shown) return 0;
  if (!g_view.path.GoTo(index, ShowVariations())) return 0;
  ShowViewPosition();
  HighlightRun(g_view.path.index());
  if (g_host.seekRoomGame) g_host.seekRoomGame(std::min(g_view.path.index(), g_view.path.mainLength()));
  SelectKeyOfViewPly(true);
  return 1;
}

int StepViewForward(bool animate) {
  if (!g_view.shown) return 0;
  const GameViewPath::Step step = g_view.path.NextStep(animate, ShowVariations());
  HWND board = MovesBoard();
  if (step.animate && board) {
    const uint16_t word = g_view.path.WordAt(step.index - 1);
    const int from = word & 0x3F;
    const uint8_t code = BoardCodeFromModule(g_view.path.position().squares[from]);
    if (code) {
      SetCapture(g_moves);
      HANDLE done = reinterpret_cast<HANDLE>(
          SendMessageA(board, SBM_SLIDE, WPARAM(word & 0x3F3F) | (WPARAM(code) << 16), 0));
      if (done) WaitForSearchBoardSlide(board, done);
      if (GetCapture() == g_moves) ReleaseCapture();
    }
  }
  return GoToViewPly(step.index);
}

int GetViewPly() { return g_view.shown ? g_view.path.index() : -1; }

bool IsGameShown() { return g_view.shown != 0; }

void GetViewPosition(sPosition* out) {
  if (out) *out = g_view.path.position();
}

void SetBoardPosition(HWND board, const sPosition& position) {
  uint8_t codes[64];
  BoardFromPosition(position, codes);
  SendMessageA(board, SBM_SETPOSITION, 0, LPARAM(codes));
  SendMessageA(board, SBM_UPDATE, 0, 0);
}

void SetShowAnnotationsCheck(int on) {
  if (g_moves) CheckDlgButton(g_moves, kShowAnnotationsId, on ? BST_CHECKED : BST_UNCHECKED);
}

void SetShowVariationsCheck(int on) {
  if (g_moves) CheckDlgButton(g_moves, kShowVariationsId, on ? BST_CHECKED : BST_UNCHECKED);
}

void EnablePositionSearchButtons(bool search, bool stop) {
  if (!g_position) return;
  HWND searchButton = GetDlgItem(g_position, kSearchButton), stopButton = GetDlgItem(g_position, kStopButton);
  HWND focus = GetFocus();
  if ((!search && focus == searchButton) || (!stop && focus == stopButton))
    SendMessageA(g_position, WM_NEXTDLGCTL, WPARAM(GetDlgItem(g_position, kClearPositionButton)), TRUE);
  EnableWindow(searchButton, search);
  EnableWindow(stopButton, stop);
}
