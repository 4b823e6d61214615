// The teaching rooms' board: a BoardViewHost over a lesson position.
#include "notation.h"
// clang-format off
#include "teaching_board_win32.h"
// clang-format on

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app_globals.h"
#include "app_main.h"
#include <cstdio>
#include "data_sets.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "lesson_window_win32.h"
#include "look_and_feel.h"
#include "movegen.h"
#include "packfile.h"
#include "position_text.h"
#include "room_records.h"
#include "spriteset.h"
#include "teaching_board_seam.h"
#include "wallpaper.h"
#include "win/board_view_win32.h"
#include "window_table.h"

namespace {

std::string Field(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

PackedDib* LoadSetPicture(const std::string& name, int set) {
  void* data = nullptr;
  uint32_t tag = 0, stored = 0, size = 0;
  if (!LoadDataItem(name.c_str(), set, &data, &tag, &stored, &size) || !data) return nullptr;
  PackedDib* copy = dibDuplicate(static_cast<PackedDib*>(data));
  datUnloadItem(data);
  return copy;
}

struct ProgramSets : ChessSetHost {
  bool DataSetOpen() override { return IsDataSetOpen(0) != 0; }
  bool LoadDataItem(const std::string& name, std::vector<uint8_t>* out) override {
    void* data = nullptr;
    uint32_t tag = 0, stored = 0, size = 0;
    if (!::LoadDataItem(name.c_str(), 0, &data, &tag, &stored, &size) || !data) return false;
    out->assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    datUnloadItem(data);
    return true;
  }
  std::string GetSoundFileName(int) override { return std::string(); }
  std::string ProgramFolder() override { return GetProgramFolder() ? GetProgramFolder() : ""; }
  bool WriteWaveFile(const std::vector<uint8_t>&, const std::string&) override { return false; }
};

int SquareOf(int index) { return MakeSquare(7 - index / 8, index % 8); }  // 0..63 file + 8 * rank
int IndexOfName(const char* s) {
  if (s[0] < 'a' || s[0] > 'h' || s[1] < '1' || s[1] > '8') return -1;
  return (s[0] - 'a') + 8 * (s[1] - '1');
}

TeachingBoard* g_current = nullptr;
// A training screen's move sink while it plays on the board (null: the
// lesson takes the moves).
TeachingMoveSink g_sink = nullptr;

}  // namespace

struct TeachingBoard : BoardViewHost {
  RoomRecord* record = nullptr;
  ChessSetCatalogue catalogue;
  BoardSetRecord boardSet{};
  PieceSetRecord pieceSet{};
  PackedDib* boardBitmap = nullptr;
  PackedDib* sheet = nullptr;
  PackedDib* background = nullptr;
  PackedDib* palettePicture = nullptr;
  PackedDib* picture = nullptr;
  HWND pictureWindow = nullptr;
  BoardView* view = nullptr;
  Board board{};
  int side = WHITE;
  Board before{};
  int sideBefore = WHITE;
  // The move just taken on the board, which the board view animates; none
  // once the position is set or the move taken back.
  MoveRecord lastMove{};
  bool haveLastMove = false;
  Board saved{};  // before the page's board codes moved pieces (U)
  int pageType = -1;
  std::vector<int> marks;
  std::string captions[64];
  bool anyCaption = false;

  ~TeachingBoard() override {
    if (pictureWindow) DestroyWindow(pictureWindow);
    if (view) ::DestroyBoardView(view);
    for (PackedDib* d : {boardBitmap, sheet, background, palettePicture, picture})
      if (d) dibDelete(d);
  }

  // ---- MoveEntryHost
  bool HaveGame() override { return true; }
  bool GameOver() override { return false; }
  const Board& Position() override { return board; }
  int SideToMove() override { return side; }
  bool HumanToMove() override { return g_sink ? side == WHITE : pageType == 2; }
  int OfferMove(MoveRecord*) override { return 0; }
  // Makes the move on the position and lets the board animate it.
  void Apply(const MoveRecord& move) {
    before = board;
    sideBefore = side;
    MoveRecord made = move;
    std::memset(made.texts, 0, sizeof made.texts);
    MakeMove(&made, &board);
    side = OtherSide(side);
    lastMove = made;
    haveLastMove = true;
    SendMessageA(view->window, kGameEventMessage, GAME_MOVE_PLAYED, 0);
  }
  void TakeBack() {
    board = before;
    side = sideBefore;
    haveLastMove = false;
    // As a game's take-back: the board drops any drag and the move's
    // squares, then places the pieces again.
    if (view && view->window) SendMessageA(view->window, kGameEventMessage, GAME_MOVE_TAKEN_BACK, 0);
    Redraw();
  }
  void PlayMove(MoveRecord* move) override {
    const int piece = board[move->from] & TYPE_MASK;
    const bool enPassant = piece == PAWN && SquareFile(move->from) != SquareFile(move->to) && board[move->to] == 0;
    Apply(*move);
    if (g_sink) {
      const MoveRecord made = lastMove;
      g_sink(made);
      return;
    }
    auto name = [](int sq) {
      return std::string(1, static_cast<char>('a' + SquareFile(sq))) + static_cast<char>('8' - SquareRow(sq));
    };
    // The board's own description of the move, as the lesson's answer
    // check reads it.
    std::string animation = (piece == KNIGHT ? "K" : "S") + name(move->from) + name(move->to);
    if (enPassant) animation += "D--" + name(MakeSquare(SquareRow(move->from), SquareFile(move->to)));
    if (move->flags & MOVE_PROMOTION)
      animation += std::string("D") + (sideBefore == WHITE ? "W" : "B") +
                   "QRBN"[(move->flags & MOVE_PROMOTION_TYPE) - 1] + name(move->to);
    if (piece == KING && std::abs(SquareFile(move->to) - SquareFile(move->from)) == 2) {
      const bool shortSide = SquareFile(move->to) > SquareFile(move->from);
      const int row = SquareRow(move->from);
      animation += "S" + name(MakeSquare(row, shortSide ? 7 : 0)) + name(MakeSquare(row, shortSide ? 5 : 3));
    }
    OnLessonMove(animation);
  }
  int AskPromotion(int) override { return 1; }
  void ShowStatus(const std::string&) override {}
  void SayIllegal() override {}
  void Beep() override { MessageBeep(MB_OK); }
  bool FindMoveForSquare(int, MoveRecord*) override { return false; }
  bool ParseMoveInput(int, char*, size_t, bool*, MoveRecord*) override { return false; }

  // ---- BoardViewHost
  int Room() override { return record ? record->room : 3; }
  BoardSetRecord* RoomBoardSet() override { return &boardSet; }
  PieceSetRecord* RoomPieceSet() override { return &pieceSet; }
  PackedDib* RoomBoardBitmap() override { return boardBitmap; }
  PackedDib* RoomPieceSheet() override { return sheet; }
  PackedDib* RoomGroupBitmap(int, int) override { return nullptr; }
  PackedDib* RoomBackground() override { return background; }
  BoardSettings Settings() override {
    BoardSettings s;
    s.coordinates = 1;
    s.turnLights = 0;
    return s;
  }
  ScreenPoint LayoutBoardOffset() override {
    if (!IsFlatBoard(boardSet)) return ScreenPoint{0, 0};
    return ScreenPoint{boardSet.centreX - boardSet.size / 2 + 24, boardSet.centreY - boardSet.size / 2 + 24};
  }
  HPALETTE ProgramPalette() override { return GetAppPalette(); }
  const PackedDib* PalettePicture() override { return palettePicture; }
  HWND NumberedWindow(int number) override { return static_cast<HWND>(GetNumberedWindow(number)); }
  void SetNumberedWindow(int number, HWND window) override {
    if (record) {
      if (number == kBoardWindowNumber) record->boardWindow = window;
    }
    (void)window;
  }
  bool StoredWindowRect(int number, RECT* out) override {
    ShellRect r{};
    if (!NumberedWindowOp(WOP_GET_RECT, number, reinterpret_cast<intptr_t>(&r))) return false;
    *out = RECT{r.left, r.top, r.right, r.bottom};
    return true;
  }
  void StoreWindowRect(int, const RECT&) override {}
  void SetCursorKind(int) override {}
  bool CurrentMove(MoveRecord* move, int* mover) override {
    if (!haveLastMove) return false;
    *move = lastMove;
    *mover = sideBefore;
    return true;
  }
  int PlayerKind(int) override { return 0; }
  bool PlaysBlindfold(int) override { return false; }

  void Redraw() {
    PlaceBoardFromPosition(view);
    RECT all;
    GetClientRect(view->window, &all);
    RedrawBoardScene(view, &all);
  }
  void ShowBoard(const Board& b, int s) {
    haveLastMove = false;
    board = b;
    side = s;
    saved = board;
    Redraw();
  }
  void ShowFen(const char* fen) {
    int moveNumber = 1;
    Board b{};
    int s = WHITE;
    if (ParseFen(fen, &b, &s, &moveNumber) != 0) return;
    ShowBoard(b, s);
  }
  void MarkIndex(int index, bool on) {
    if (index < 0 || index >= 64) return;
    const char name[3] = {static_cast<char>('a' + index % 8), static_cast<char>('1' + index / 8), 0};
    MarkSquares(view, name, on ? 2 : 0);
  }
  void ShowPictureItem(const char* item) {
    if (picture) dibDelete(picture);
    picture = nullptr;
    if (pictureWindow) ShowWindow(pictureWindow, SW_HIDE);
    if (!item) return;
    picture = LoadSetPicture(item, 2);
    if (!picture || !view) return;
    const int w = picture->biWidth, h = std::abs(picture->biHeight);
    if (!pictureWindow) {
      static bool registered = false;
      if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PictureProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "RWLessonPicture";
        RegisterClassA(&wc);
        registered = true;
      }
      pictureWindow = CreateWindowExA(0, "RWLessonPicture", "", WS_CHILD, 0, 0, w, h, view->window, nullptr,
                                      GetModuleHandleA(nullptr), this);
      SetWindowLongPtrA(pictureWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    // Centred over the squares.
    ScreenPoint centre{0, 0};
    int32_t depth = 0;
    ScreenPoint a{}, b{};
    SquareCentre(view->projection, 0, 0, &a, &depth);
    SquareCentre(view->projection, 7, 7, &b, &depth);
    centre.x = (a.x + b.x) / 2;
    centre.y = (a.y + b.y) / 2;
    SetWindowPos(pictureWindow, HWND_TOP, centre.x - w / 2, centre.y - h / 2, w, h, SWP_SHOWWINDOW);
    InvalidateRect(pictureWindow, nullptr, TRUE);
  }
  static LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    auto* self = reinterpret_cast<TeachingBoard*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      if (self && self->picture)
        dibDisplayRGB(dc, 0, 0, self->picture->biWidth, std::abs(self->picture->biHeight), 0, 0, self->picture);
      EndPaint(window, &ps);
      return 0;
    }
    return DefWindowProcA(window, message, first, second);
  }
};

namespace {

// Captions drawn over their squares, in the program's small text font.
void DrawCaptions(void* dc, const void*, void*, int, int, int, int, int, int, intptr_t user) {
  auto* b = reinterpret_cast<TeachingBoard*>(user);
  if (!b || !b->anyCaption || !b->view) return;
  HDC hdc = static_cast<HDC>(dc);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, PALETTEINDEX(238));
  HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
  for (int i = 0; i < 64; ++i) {
    if (b->captions[i].empty()) continue;
    const int column = i % 8, row = 7 - i / 8;
    ScreenPoint c{};
    int32_t depth = 0;
    if (!SquareCentre(b->view->projection, row, column, &c, &depth)) continue;
    const int half = std::max(12, static_cast<int>(b->boardSet.size / 16));
    RECT r{c.x - half, c.y - half, c.x + half, c.y + half};
    DrawTextA(hdc, b->captions[i].c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
  }
  SelectObject(hdc, old);
}

LRESULT LessonBoardCallback(HWND window, UINT message, WPARAM, LPARAM second, intptr_t data) {
  auto* b = reinterpret_cast<TeachingBoard*>(data);
  if (!b || !b->view) return 0;
  if (g_sink) return message == WM_RBUTTONDOWN ? 1 : 0;  // a training screen: moves by drag only
  if (message == WM_LBUTTONDOWN) {
    if (b->pageType == 3) {
      int column = -1, row = -1;
      if (HitTestSquare(b->view->projection, static_cast<short>(LOWORD(second)), static_cast<short>(HIWORD(second)),
                        &column, &row))
        OnLessonSquare(column + 8 * (7 - row));
      return 1;
    }
    if (b->pageType == 2) return 0;
    return b->pageType >= 0 ? 1 : 0;
  }
  (void)window;
  return 0;
}

// Board codes the lesson plays while no markup player is installed.
void PlayBoardCode(HWND, const char* text) {
  TeachingBoard* b = g_current;
  if (!b || !b->view || !text || !*text) return;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  const char* arg = std::strchr(text, ':');
  arg = arg ? arg + 1 : "";
  auto squares = [&](const char* s, bool on) {
    for (; s[0] && s[1]; s += 2) b->MarkIndex(IndexOfName(s), on);
  };
  switch (letter) {
    case 'B':
      b->ShowFen(arg);
      ClearSquareMarks(b->view);
      break;
    case 'N':
      ClearSquareMarks(b->view);
      squares(arg, true);
      break;
    case 'H':
      squares(arg, true);
      break;
    case 'C':
      ClearSquareMarks(b->view);
      break;
    case 'S': {
      const int from = IndexOfName(arg), to = std::strlen(arg) >= 4 ? IndexOfName(arg + 2) : -1;
      if (from < 0 || to < 0) break;
      b->board[SquareOf(to)] = b->board[SquareOf(from)];
      b->board[SquareOf(from)] = 0;
      b->Redraw();
      break;
    }
    case 'X': {
      const int at = IndexOfName(arg);
      if (at < 0) break;
      b->board[SquareOf(at)] = 0;
      b->Redraw();
      break;
    }
    case 'P': {
      if (std::strlen(arg) < 4 || (arg[0] != 'W' && arg[0] != 'B')) break;
      static const char kTypes[] = "KQRBNP";
      const char* t = std::strchr(kTypes, arg[1]);
      const int at = IndexOfName(arg + 2);
      if (!t || at < 0) break;
      b->board[SquareOf(at)] = static_cast<uint8_t>((arg[0] == 'W' ? WHITE : BLACK) + (t - kTypes));
      b->Redraw();
      break;
    }
    case 'U':
      ClearSquareMarks(b->view);
      b->board = b->saved;
      b->Redraw();
      break;
    case 'M':
      b->side = (arg[0] == 'B' || arg[0] == 'b') ? BLACK : WHITE;
      break;
    default:
      break;  // arrows and glyphs wait for the markup player
  }
}

}  // namespace

TeachingBoard* CreateTeachingBoard(RoomRecord* record, HINSTANCE instance) {
  InitBoardViews(instance);
  auto b = std::make_unique<TeachingBoard>();
  b->record = record;
  ProgramSets sets;
  if (!b->catalogue.Load(&sets) || b->catalogue.boardCount() == 0) return nullptr;
  int chosen = 0;
  for (int i = 0; i < b->catalogue.boardCount(); ++i)
    if (IsFlatBoard(*b->catalogue.GetBoardSetRecord(i))) {
      chosen = i;
      break;
    }
  b->catalogue.CopyBoardSet(&b->boardSet, chosen);
  const int piece = b->catalogue.FindPieceSet(b->boardSet.defaultPieceSet);
  b->catalogue.CopyPieceSet(&b->pieceSet, piece >= 0 ? piece : 0);
  b->boardBitmap = LoadSetPicture(Field(b->boardSet.boardItem, kItemNameSize), 0);
  b->sheet = LoadSetPicture(Field(b->pieceSet.sheetItem, kItemNameSize), 0);
  HINSTANCE self = GetModuleHandleA(nullptr);
  if (HRSRC found = FindResourceA(self, "PAL", MAKEINTRESOURCEA(2)))
    b->palettePicture = dibDuplicate(static_cast<PackedDib*>(LockResource(LoadResource(self, found))));
  HWND room = static_cast<HWND>(GetNumberedWindow(WIN_ROOM));
  RECT client{0, 0, 800, 600};
  if (room) GetClientRect(room, &client);
  b->background = record ? BuildWallpaperBitmap(record, &client) : nullptr;
  if (!b->background) {
    b->background = dibCreateWithColors(std::max(1L, client.right), std::max(1L, client.bottom), 8);
    dibFillWithColor(b->background, 248);
  }
  SetInitialBoard(&b->board);
  b->saved = b->board;
  b->view = CreateBoardView(b.get(), instance);
  if (!b->view) return nullptr;
  RegisterDrawCallback(b->view->scene, DrawCaptions, 9990, 9990, reinterpret_cast<intptr_t>(b.get()));
  SetBoardWndCallback(b->view->window, LessonBoardCallback, reinterpret_cast<intptr_t>(b.get()));
  if (record) record->boardWindow = b->view->window;
  // Where a1 and h8 lie in the board window, for the trace (tests drive
  // the board with real input from it).
  ScreenPoint a1{}, h8{};
  int32_t depth = 0;
  if (SquareCentre(b->view->projection, 7, 0, &a1, &depth) && SquareCentre(b->view->projection, 0, 7, &h8, &depth)) {
    char line[96];
    std::snprintf(line, sizeof line, "teaching board %d: a1 %d %d h8 %d %d", record ? record->room : 0,
                  static_cast<int>(a1.x), static_cast<int>(a1.y), static_cast<int>(h8.x), static_cast<int>(h8.y));
    TeachingTrace(line);
  }
  return b.release();
}

void DestroyTeachingBoard(TeachingBoard* board) {
  if (g_current == board) g_current = nullptr;
  delete board;
}

void UseTeachingBoard(TeachingBoard* board) {
  g_current = board;
  LessonBoardHooks hooks;
  if (board) {
    hooks.showPosition = [](const char* fen) {
      if (g_current) g_current->ShowFen(fen);
    };
    hooks.toggleMark = [](int square) {
      if (!g_current) return;
      auto& m = g_current->marks;
      auto it = std::find(m.begin(), m.end(), square);
      const bool on = it == m.end();
      if (on) m.push_back(square);
      else m.erase(it);
      g_current->MarkIndex(square, on);
    };
    hooks.clearMarks = [] {
      if (!g_current) return;
      g_current->marks.clear();
      ClearSquareMarks(g_current->view);
    };
    hooks.showPicture = [](const char* item) {
      if (g_current) g_current->ShowPictureItem(item);
    };
    hooks.flipBoard = [] {
      if (g_current && g_current->view) SendMessageA(g_current->view->window, kTurnBoardMessage, 0, 0);
    };
    hooks.setCaptions = [](const char* const* texts) {
      if (!g_current) return;
      g_current->anyCaption = false;
      for (int i = 0; i < 64; ++i) {
        g_current->captions[i] = texts && texts[i] ? texts[i] : "";
        g_current->anyCaption = g_current->anyCaption || !g_current->captions[i].empty();
      }
      g_current->Redraw();
    };
    hooks.takeMoveBack = TakeTeachingMoveBack;
    hooks.setInputMode = [](int type) {
      if (g_current) g_current->pageType = type;
    };
  }
  SetLessonBoardHooks(hooks);
  TeachingBoardSeam& seam = GetTeachingBoardSeam();
  if (!seam.playBoardEvent || seam.playBoardEvent == PlayBoardCode) seam.playBoardEvent = board ? PlayBoardCode : nullptr;
}

void TeachingTrace(const char* line) {
  const char* path = std::getenv("RW_TEACHING_TRACE");
  if (!path || !*path) return;
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%s\n", line);
    std::fclose(f);
  }
}

void SetTeachingPlay(TeachingMoveSink sink) { g_sink = sink; }

bool ShowTeachingPosition(const Board& board, int sideToMove) {
  if (!g_current || !g_current->view) return false;
  ClearSquareMarks(g_current->view);
  g_current->ShowBoard(board, sideToMove);
  return true;
}

void PlayTeachingMove(const MoveRecord& move) {
  if (!g_current || !g_current->view) return;
  g_current->Apply(move);
  g_current->Redraw();
}

void TakeTeachingMoveBack() {
  if (g_current) g_current->TakeBack();
}

const Board* TeachingPosition() { return g_current ? &g_current->board : nullptr; }
