// The rooms' boards over the board view (see room_board_win32.h).
// The rules' headers come before windows.h, whose language macros would
// otherwise rename the notation's languages.
#include "game_end.h"
#include "game_record.h"
#include "game_registry.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app_globals.h"
#include "color_picker.h"
#include "data_sets.h"
#include "dibkit.h"
#include "heapkit.h"
#include "layout_file.h"
#include "look_and_feel.h"
#include "profile.h"
#include "room_board_win32.h"
#include "room_switch.h"
#include "room_window.h"
#include "shell_services.h"
#include "status_line.h"
#include "user_settings.h"
#include "wallpaper.h"
#include "win/board_view_win32.h"
#include "win/set_choice_dialog_win32.h"
#include "win/promotion_dialog_win32.h"
#include "window_table.h"

// The cursor set's calls (its header names the board's cursors as well).
int SetAppCursor(void* window, int index);
int SetPieceCursor(void* window, int kind);

namespace {

constexpr int kChessSetsDataSet = 0;
// A room without its own choice shows the largest flat set whose picture
// fits its layout's board rectangle; this one when none does.
constexpr const char* kDefaultBoardSet = "2D Walnut Medium";
constexpr const char* kLobbyBoardSet = "Login Puzzle";
constexpr const char* kLobbyPieceSet = "Newspaper";

ChessSetCatalogue g_catalogue;

// Items come from the open data set (a loose file of the same name in the
// program folder first, as data sets do).
class ProgramChessSets final : public ChessSetHost {
 public:
  bool DataSetOpen() override { return IsDataSetOpen(kChessSetsDataSet) != 0; }
  bool LoadDataItem(const std::string& name, std::vector<uint8_t>* out) override {
    void* data = nullptr;
    uint32_t tag = 0, stored = 0, size = 0;
    if (!::LoadDataItem(name.c_str(), kChessSetsDataSet, &data, &tag, &stored, &size) || !data) return false;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    out->assign(bytes, bytes + size);
    memFree_rel(data);
    return true;
  }
  std::string GetSoundFileName(int) override { return std::string(); }
  std::string ProgramFolder() override {
    const char* folder = GetProgramFolder();
    return folder ? folder : "";
  }
  bool WriteWaveFile(const std::vector<uint8_t>&, const std::string&) override { return false; }
};

PackedDib* LoadSetPicture(const char* item) {
  std::string name = RecordName(item, kItemNameSize);
  if (name.empty()) return nullptr;
  ProgramChessSets sets;
  std::vector<uint8_t> bytes;
  if (!sets.LoadDataItem(name, &bytes)) return nullptr;
  return dibReadFileImage(bytes.data(), bytes.size());
}

// "PAL", the picture the program palette is made from.
PackedDib* LoadPalettePicture() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(instance, "PAL", MAKEINTRESOURCEA(2));
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  return bytes ? dibReadFileImage(bytes, SizeofResource(instance, found)) : nullptr;
}

GameRecord* RoomGame(int room) { return GetGameForOwner(uint32_t(room)); }

class RoomBoardHost final : public BoardViewHost {
 public:
  explicit RoomBoardHost(RoomRecord* record) : record_(record) {}
  ~RoomBoardHost() override {
    for (PackedDib* d : {boardBitmap_, sheet_, oldSheet_, palettePicture_, background_, oldBackground_})
      if (d) dibDelete(d);
    for (PackedDib* d : retired_) dibDelete(d);
    for (auto& group : groups_)
      for (PackedDib* d : group)
        if (d) dibDelete(d);
  }

  // The sets the user chose for the room are kept in the user's layout;
  // without a choice there (or in the settings file), the largest flat
  // set that fits the room.
  bool Prepare() {
    char section[kRoomNameSize] = "";
    GetRoomName(section, record_->room);
    char layout[kAppPathSize] = "";
    GetCurrentLayoutPath(layout);
    char name[64];
    // The lobby's puzzle board is the program's, named in its own settings.
    const bool lobby = record_->room == ROOM_LOBBY;
    if (lobby)
      ProfileReadString(section, "board_set", kLobbyBoardSet, name, sizeof name, GetMainIniPath());
    else
      ProfileReadString(section, "board_set", "", name, sizeof name, layout);
    if (!name[0]) ProfileReadString(section, "board_set", "", name, sizeof name, GetSettingsIniPath());
    int board = name[0] ? g_catalogue.FindBoardSet(name) : -1;
    if (board < 0 && std::strcmp(name, kLayoutCustomBoard) == 0) board = kCustomBoardSet;
    if (board == -1) board = FittingBoardSet();
    if (board == -1) board = g_catalogue.FindBoardSet(kDefaultBoardSet);
    // The custom board keeps a regular set's record under its own geometry.
    const int record = board == kCustomBoardSet ? std::max(0, g_catalogue.FindBoardSet(kDefaultBoardSet)) : board;
    if (record < 0 || !g_catalogue.CopyBoardSet(&boardSet_, record)) return false;
    boardIndex_ = board;
    if (lobby)
      ProfileReadString(section, "piece_set", kLobbyPieceSet, name, sizeof name, GetMainIniPath());
    else
      ProfileReadString(section, "piece_set", "", name, sizeof name, layout);
    if (!name[0]) ProfileReadString(section, "piece_set", "", name, sizeof name, GetSettingsIniPath());
    int pieces = name[0] ? g_catalogue.FindPieceSet(name) : -1;
    if (pieces < 0) pieces = g_catalogue.FindPieceSet(RecordName(boardSet_.defaultPieceSet, kSetNameSize).c_str());
    if (pieces < 0 || !g_catalogue.CopyPieceSet(&pieceSet_, pieces)) return false;
    pieceIndex_ = pieces;
    if (board != kCustomBoardSet) boardBitmap_ = LoadSetPicture(boardSet_.boardItem);
    sheet_ = LoadSetPicture(pieceSet_.sheetItem);
    palettePicture_ = LoadPalettePicture();
    if (board != kCustomBoardSet)
      for (int g = 0; g < 2; ++g)
        for (int i = 0; i < 4; ++i) groups_[g][i] = LoadSetPicture(boardSet_.groupItems[g * 4 + i]);
    ReadCustomBoardView(nullptr, record_->room, &record_->board->customView);
    custom_ = FromRoomView(record_->board->customView);
    NameBoardSet();
    record_->board->boardSet = boardIndex_;
    record_->board->pieceSet = pieceIndex_;
    ReadRoomGameOptions(&record_->board->options, section);
    return (boardBitmap_ || board == kCustomBoardSet) && sheet_ && palettePicture_;
  }

  void NameBoardSet() {
    std::snprintf(record_->board->boardSetName, sizeof record_->board->boardSetName, "%s",
                  boardIndex_ == kCustomBoardSet ? kLayoutCustomBoard : RecordName(boardSet_.name, kSetNameSize).c_str());
  }

  static CustomBoardView FromRoomView(const RoomCustomBoard& r) {
    CustomBoardView v;
    v.size = r.size;
    v.tilt = r.tilt;
    v.turn = r.turn;
    v.vanishing = r.vanishingPoint;
    v.dark = BoardColour{r.dark[0], r.dark[1], r.dark[2], 0};
    v.light = BoardColour{r.light[0], r.light[1], r.light[2], 0};
    return v;
  }
  static RoomCustomBoard ToRoomView(const CustomBoardView& v) {
    RoomCustomBoard r{};
    r.size = v.size;
    r.tilt = v.tilt;
    r.turn = v.turn;
    r.vanishingPoint = v.vanishing;
    r.dark[0] = v.dark.blue;
    r.dark[1] = v.dark.green;
    r.dark[2] = v.dark.red;
    r.light[0] = v.light.blue;
    r.light[1] = v.light.green;
    r.light[2] = v.light.red;
    return r;
  }

  // Switching sets (the chess-set dialog, layouts): the record copied and
  // the pictures loaded before the old ones go, so a failure keeps them.
  bool LoadRoomBoardSet(int index) override {
    if (index == kCustomBoardSet) {
      ReadCustomBoardView(nullptr, record_->room, &record_->board->customView);
      custom_ = FromRoomView(record_->board->customView);
      ReplaceBoardPictures(nullptr, nullptr);
      boardIndex_ = index;
    } else {
      BoardSetRecord set{};
      if (!g_catalogue.CopyBoardSet(&set, index)) return false;
      PackedDib* picture = LoadSetPicture(set.boardItem);
      if (!picture) return false;
      PackedDib* groups[2][4] = {};
      for (int g = 0; g < 2; ++g)
        for (int i = 0; i < 4; ++i) groups[g][i] = LoadSetPicture(set.groupItems[g * 4 + i]);
      // The board stands where the layout puts the new picture's corner.
      boardSet_ = set;
      const ScreenPoint origin = LayoutBoardOffset();
      boardSet_.originX = origin.x;
      boardSet_.originY = origin.y;
      ReplaceBoardPictures(picture, groups);
      boardIndex_ = index;
    }
    NameBoardSet();
    record_->board->boardSet = boardIndex_;
    return true;
  }
  bool LoadRoomPieceSet(int index) override {
    PieceSetRecord set{};
    if (!g_catalogue.CopyPieceSet(&set, index)) return false;
    PackedDib* sheet = LoadSetPicture(set.sheetItem);
    if (!sheet) return false;
    // The view's sprites still use the old sheet until it rebuilds them.
    if (oldSheet_) dibDelete(oldSheet_);
    oldSheet_ = sheet_;
    sheet_ = sheet;
    pieceSet_ = set;
    pieceIndex_ = index;
    record_->board->pieceSet = pieceIndex_;
    return true;
  }
  int BoardSetIndex() override { return boardIndex_; }
  int PieceSetIndex() override { return pieceIndex_; }
  CustomBoardView* RoomCustomView() override { return &custom_; }
  void WriteCustomBoardView(const CustomBoardView& view) override {
    custom_ = view;
    record_->board->customView = ToRoomView(view);
    ::WriteCustomBoardView(nullptr, record_->room, &record_->board->customView);
  }
  bool PickColour(HWND owner, COLORREF* colour) override { return colour && RunColorSelect(owner, colour) != 0; }
  void ReviseProgramPalette(int first, const DibRgbQuad* colours, int count) override {
    HPALETTE palette = GetAppPalette();
    if (!palette || !colours || count <= 0 || first < 0 || first + count > 256) return;
    std::vector<PALETTEENTRY> entries(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) entries[size_t(i)] = PALETTEENTRY{colours[i].red, colours[i].green, colours[i].blue, 0};
    SetPaletteEntries(palette, UINT(first), UINT(count), entries.data());
  }

  void ReplaceBoardPictures(PackedDib* picture, PackedDib* groups[2][4]) {
    // The scene may still show the old board until the view rebinds.
    for (PackedDib* d : retired_) dibDelete(d);
    retired_.clear();
    if (boardBitmap_) retired_.push_back(boardBitmap_);
    boardBitmap_ = picture;
    for (int g = 0; g < 2; ++g)
      for (int i = 0; i < 4; ++i) {
        if (groups_[g][i]) retired_.push_back(groups_[g][i]);
        groups_[g][i] = groups ? groups[g][i] : nullptr;
      }
  }

  GameRecord* Game() { return RoomGame(record_->room); }

  // The picture of a flat set spans its registration pixel twice.
  int FittingBoardSet() {
    ShellRect r{};
    GetRoomWindowRect(record_->room, kBoardWindowNumber, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    int best = -1, bestSize = 0;
    for (int n = 0; n < g_catalogue.boardCount(); ++n) {
      const BoardSetRecord* set = g_catalogue.GetBoardSetRecord(n);
      if (!set || !IsFlatBoard(*set) || (set->roomsMask && !(set->roomsMask & (1u << record_->room)))) continue;
      if (2 * set->centreX > width || 2 * set->centreY > height || set->size <= bestSize) continue;
      best = n;
      bestSize = set->size;
    }
    return best;
  }

  // Move entry over the room's game.
  bool HaveGame() override { return Game() != nullptr; }
  bool GameOver() override {
    GameRecord* game = Game();
    return !game || IsGameOver(game);
  }
  const Board& Position() override {
    GameRecord* game = Game();
    if (game) return game->position;
    static Board empty{};
    return empty;
  }
  int SideToMove() override {
    GameRecord* game = Game();
    return game ? int(game->sideToMove) : int(WHITE);
  }
  bool HumanToMove() override {
    GameRecord* game = Game();
    return game && PlayerForSide(game, game->sideToMove)->kind == PLAYER_HUMAN;
  }
  int OfferMove(MoveRecord*) override { return 0; }
  void PlayMove(MoveRecord* move) override {
    if (GameRecord* game = Game()) ::PlayMove(game, move, true);
  }
  int AskPromotion(int) override { return 1; }
  void ShowStatus(const std::string& text) override { SetStatusText(0, text.c_str()); }
  // The login puzzle hears of a move the board refused (its owner callback
  // with no move).
  void SayIllegal() override {
    if (record_->room == ROOM_LOBBY && record_->boardWindow)
      CallBoardWndCallback(static_cast<HWND>(record_->boardWindow), kOfferMoveMessage, 0, 0);
  }
  void Beep() override { MessageBeep(MB_OK); }
  bool FindMoveForSquare(int square, MoveRecord* out) override {
    GameRecord* game = Game();
    return game && ::FindMoveForSquare(out, game, square);
  }
  bool ParseMoveInput(int key, char* typed, size_t typedSize, bool* beep, MoveRecord* out) override {
    GameRecord* game = Game();
    return game && ::ParseMoveInput(game, key, typed, typedSize, beep, out);
  }

  // The room's settings and pictures.
  int Room() override { return record_->room; }
  BoardSetRecord* RoomBoardSet() override { return &boardSet_; }
  PieceSetRecord* RoomPieceSet() override { return &pieceSet_; }
  PackedDib* RoomBoardBitmap() override { return boardBitmap_; }
  PackedDib* RoomPieceSheet() override { return sheet_; }
  PackedDib* RoomGroupBitmap(int group, int index) override {
    return group >= 0 && group < 2 && index >= 0 && index < 4 ? groups_[group][index] : nullptr;
  }
  // The board window fills the room window and shows the room's wallpaper
  // round the board: a picture of its own, since the room window rebuilds
  // its copy at every room switch while the scene still holds this one.
  PackedDib* RoomBackground() override {
    RECT area{};
    HWND room = NumberedWindow(kRoomWindowNumber);
    if (room) GetClientRect(room, &area);
    const int width = area.right > 0 ? area.right : 1, height = area.bottom > 0 ? area.bottom : 1;
    if (background_ && background_->biWidth == width && std::abs(background_->biHeight) == height)
      return background_;
    RECT rect{0, 0, width, height};
    PackedDib* built = BuildWallpaperBitmap(record_, &rect);
    if (!built) return background_;
    // The scene lets go of the previous picture when it takes this one.
    if (oldBackground_) dibDelete(oldBackground_);
    oldBackground_ = background_;
    background_ = built;
    return background_;
  }
  BoardSettings Settings() override {
    const RoomGameOptions& o = record_->board->options;
    BoardSettings s;
    s.turnLights = o.turnLights;
    s.quickEntry = o.quickEntry;
    s.highlightMoveSquares = o.highlightMoves;
    s.slidingPieces = o.slidingPieces >= SLIDE_OFF && o.slidingPieces <= SLIDE_SLOW ? o.slidingPieces : SLIDE_FAST;
    s.coordinates = o.boardCoordinates;
    return s;
  }
  // The layout's board rectangle places the picture's top-left corner;
  // the board centre lies the picture's registration pixel further on.
  ScreenPoint LayoutBoardOffset() override {
    ShellRect r{};
    GetRoomWindowRect(record_->room, kBoardWindowNumber, &r);
    if (!IsFlatBoard(boardSet_)) return ScreenPoint{r.left, r.top};
    return ScreenPoint{r.left + boardSet_.centreX - boardSet_.size / 2, r.top + boardSet_.centreY - boardSet_.size / 2};
  }
  HPALETTE ProgramPalette() override { return GetAppPalette(); }
  const PackedDib* PalettePicture() override { return palettePicture_; }
  HWND NumberedWindow(int number) override {
    if (number == kBoardWindowNumber && record_->boardWindow) return static_cast<HWND>(record_->boardWindow);
    return static_cast<HWND>(GetNumberedWindow(number));
  }
  void SetNumberedWindow(int number, HWND window) override {
    if (number == kBoardWindowNumber)
      record_->boardWindow = window;
    else if (window)
      NumberedWindowOp(WOP_SET_HANDLE, number, reinterpret_cast<intptr_t>(window));
    else if (GetNumberedWindow(number))
      NumberedWindowOp(WOP_CLEAR_HANDLE, number, 0);
  }
  bool StoredWindowRect(int number, RECT* out) override {
    ShellRect r{};
    if (!NumberedWindowOp(WOP_GET_RECT, number, reinterpret_cast<intptr_t>(&r))) return false;
    *out = RECT{r.left, r.top, r.right, r.bottom};
    return true;
  }
  void StoreWindowRect(int number, const RECT& rect) override {
    const int32_t xywh[4] = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    NumberedWindowOp(WOP_SET_RECT_XYWH, number, reinterpret_cast<intptr_t>(xywh));
  }
  void SetCursorKind(int kind) override {
    HWND board = static_cast<HWND>(record_->boardWindow);
    if (kind < 0 || !board) return;
    if (kind >= CURSOR_PIECE_BASE) SetPieceCursor(board, kind - CURSOR_PIECE_BASE);
    else SetAppCursor(board, kind);
  }
  bool CurrentMove(MoveRecord* move, int* mover) override {
    GameRecord* game = Game();
    MoveRecord* current = game ? GetCurrentMove(game) : nullptr;
    if (!current || GetCurrentPly(game) <= 0) return false;
    *move = *current;
    *mover = OtherSide(game->sideToMove);
    return true;
  }
  int PlayerKind(int side) override {
    GameRecord* game = Game();
    return game ? int(PlayerForSide(game, side)->kind) : 0;
  }
  bool PlaysBlindfold(int side) override {
    GameRecord* game = Game();
    return game && PlayerForSide(game, side)->blindfold != 0;
  }

 private:
  RoomRecord* record_;
  BoardSetRecord boardSet_{};
  PieceSetRecord pieceSet_{};
  PackedDib* boardBitmap_ = nullptr;
  PackedDib* sheet_ = nullptr;
  PackedDib* palettePicture_ = nullptr;
  PackedDib* groups_[2][4] = {};
  PackedDib* background_ = nullptr;
  PackedDib* oldBackground_ = nullptr;
  PackedDib* oldSheet_ = nullptr;
  std::vector<PackedDib*> retired_;
  int boardIndex_ = 0;
  int pieceIndex_ = 0;
  CustomBoardView custom_;
};

struct RoomBoardSlot {
  std::unique_ptr<RoomBoardHost> host;
  BoardView* view = nullptr;
  void (*rightClick)(HWND board, POINT screen) = nullptr;
};
RoomBoardSlot g_slots[kRoomCount];

}  // namespace

int LoadProgramChessSets() {
  ProgramChessSets sets;
  return g_catalogue.Load(&sets) ? 1 : 0;
}

void UnloadProgramChessSets() {
  for (int room = 0; room < kRoomCount; ++room)
    if (RoomRecord* record = GetRoomRecord(room)) DestroyRoomBoardView(record);
  g_catalogue.Unload();
}

int InitBoardViewsForProgram() { return InitBoardViews(GetModuleHandleA(nullptr)) ? 1 : 0; }
void TermBoardViewsForProgram() { TermBoardViews(GetModuleHandleA(nullptr)); }

BoardView* CreateRoomBoardView(RoomRecord* record) {
  if (!record || record->room < 0 || record->room >= kRoomCount || !record->board) return nullptr;
  RoomBoardSlot& slot = g_slots[record->room];
  if (slot.view) return slot.view;
  if (!g_catalogue.loaded() && !LoadProgramChessSets()) return nullptr;
  auto host = std::make_unique<RoomBoardHost>(record);
  if (!host->Prepare()) return nullptr;
  BoardView* view = CreateBoardView(host.get(), GetModuleHandleA(nullptr));
  if (!view) {
    record->boardWindow = nullptr;
    return nullptr;
  }
  // The board window stays hidden until the room switch places it.
  ShowWindow(view->window, SW_HIDE);
  slot.host = std::move(host);
  slot.view = view;
  record->board->view = view;
  record->boardWindow = view->window;
  return view;
}

void DestroyRoomBoardView(RoomRecord* record) {
  if (!record || record->room < 0 || record->room >= kRoomCount) return;
  RoomBoardSlot& slot = g_slots[record->room];
  if (!slot.view) return;
  if (GetNumberedWindow(kBoardWindowNumber) == slot.view->window) NumberedWindowOp(WOP_CLEAR_HANDLE, kBoardWindowNumber, 0);
  DestroyBoardView(slot.view);
  slot.view = nullptr;
  slot.host.reset();
  slot.rightClick = nullptr;
  if (record->board) record->board->view = nullptr;
  record->boardWindow = nullptr;
}

BoardView* GetRoomBoardView(int room) {
  return room >= 0 && room < kRoomCount ? g_slots[room].view : nullptr;
}

RoomBoardHit HitRoomBoard(BoardView* view, POINT client, int* pieceColour) {
  if (!view) return RoomBoardHit::Outside;
  int column = -1, row = -1;
  if (!HitTestSquare(view->projection, client.x, client.y, &column, &row) || row < 0 || row > 7 || column < 0 ||
      column > 7)
    // The picture's frame round the squares is the board as well.
    return HitBoardSprites(view, client.x, client.y) ? RoomBoardHit::Square : RoomBoardHit::Outside;
  const uint8_t piece = view->host->HaveGame() ? view->host->Position()[MakeSquare(row, column)] : 0;
  if (piece == 0) return RoomBoardHit::Square;
  if (pieceColour) *pieceColour = piece & COLOUR_MASK;
  return RoomBoardHit::Piece;
}

HWND RoomBoardWindow(int room) {
  BoardView* view = GetRoomBoardView(room);
  return view ? view->window : nullptr;
}

void SetRoomBoardRightClick(int room, void (*handler)(HWND board, POINT screen));

// The lock takes the board's owner callback while a person plays
// blindfold and clears it otherwise: the right-click handler comes back
// when there is no lock.
void UpdateRoomBoardInputLock(int room) {
  BoardView* view = GetRoomBoardView(room);
  if (view && !UpdateBoardInputLock(view) && g_slots[room].rightClick)
    SetRoomBoardRightClick(room, g_slots[room].rightClick);
}

bool ClearRoomBoardTurn(int room) {
  BoardView* view = GetRoomBoardView(room);
  if (!view || !view->flipped) return false;
  view->flipped = 0;
  return true;
}

namespace {

LRESULT RightClickCallback(HWND window, UINT message, WPARAM, LPARAM lParam, intptr_t data) {
  if (message != WM_RBUTTONUP || !data) return 0;
  POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(window, &screen);
  reinterpret_cast<void (*)(HWND, POINT)>(data)(window, screen);
  return 1;
}

}  // namespace

void SetRoomBoardRightClick(int room, void (*handler)(HWND board, POINT screen)) {
  if (room < 0 || room >= kRoomCount) return;
  g_slots[room].rightClick = handler;
  if (BoardView* view = GetRoomBoardView(room))
    SetBoardWndCallback(view->window, handler ? RightClickCallback : nullptr, reinterpret_cast<intptr_t>(handler));
}

const ChessSetCatalogue& ProgramChessSetCatalogue() { return g_catalogue; }

PackedDib* LoadChessSetPicture(const char* item, int itemSize) {
  if (!item || itemSize <= 0) return nullptr;
  std::string name = RecordName(item, size_t(itemSize));
  return name.empty() ? nullptr : LoadSetPicture(name.c_str());
}

namespace {

// The names the layout hooks hand out stay valid until the next call.
const char* BoardSetNameAt(int index) {
  static std::string name;
  const BoardSetRecord* set = g_catalogue.GetBoardSetRecord(index);
  if (!set) return nullptr;
  name = RecordName(set->name, kSetNameSize);
  return name.c_str();
}

const char* PieceSetNameAt(int index) {
  static std::string name;
  const PieceSetRecord* set = g_catalogue.GetPieceSetRecord(index);
  if (!set) return nullptr;
  name = RecordName(set->name, kSetNameSize);
  return name.c_str();
}

// A layout naming a set this catalogue lacks leaves the room's sets alone.
void ApplyLayoutSets(int room, int boardSet, int pieceSet, const char*) {
  BoardView* view = GetRoomBoardView(room);
  RoomRecord* record = GetRoomRecord(room);
  if (!view || !record || !record->board) return;
  if (boardSet == -1) boardSet = view->boardSetIndex;
  if (pieceSet < 0) pieceSet = view->host->PieceSetIndex();
  record->board->boardSet = boardSet;
  record->board->pieceSet = pieceSet;
  ApplyRoomChessSets(view, boardSet, pieceSet);
  RECT all;
  GetClientRect(view->window, &all);
  RedrawBoardScene(view, &all);
}

}  // namespace

void InstallRoomBoardLayoutHooks() {
  LayoutHooks hooks = GetLayoutHooks();
  hooks.findBoardSet = [](const char* name) { return name ? g_catalogue.FindBoardSet(name) : -1; };
  hooks.findPieceSet = [](const char* name) { return name ? g_catalogue.FindPieceSet(name) : -1; };
  hooks.boardSetName = BoardSetNameAt;
  hooks.pieceSetName = PieceSetNameAt;
  hooks.applyRoomChessSets = ApplyLayoutSets;
  SetLayoutHooks(hooks);
}
