// The library room (see library_room_win32.h).
// The rules' headers come before windows.h, whose language macros would
// otherwise rename the notation's languages.
#include "game_record.h"
#include "game_registry.h"

#include <windows.h>
// The shell names its own user; not the system's account call.
#undef GetUserName

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app_globals.h"
#include "app_messages.h"
#include "win/board_view_win32.h"
#include "book_editor.h"
#include "data_sets.h"
#include "facet_frame.h"
#include "file_dialog.h"
#include "game_room_win32.h"
#include "game_status_win32.h"
#include "heapkit.h"
#include "library_room.h"
#include "library_room_win32.h"
#include "main_frame.h"
#include "menu_commands_win32.h"
#include "room_board_win32.h"
#include "room_switch.h"
#include "room_window.h"
#include "shell_services.h"
#include "wallpaper.h"
#include "win_utils.h"
#include "window_table.h"

namespace {

constexpr int kLibraryMenu = 24;
constexpr int kLibraryKeys = 38;
constexpr int kLibraryTiles = 140;
constexpr uint32_t kRoomGameKind = 0x30002000;
constexpr uint32_t kBookGameKind = 0x80000;
constexpr const char kWallpaperFile[] = "LibraryBackground.bmp";
constexpr const char kGlossaryFile[] = "Glossary.chm";
constexpr int kFileTypePgn = 4;
constexpr int kFileTypeBook = 11;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }
HWND Frame() { return GetMainFrame(); }
RoomRecord* Record() { return GetRoomRecord(ROOM_LIBRARY); }
LibraryRoomData* Data() { return static_cast<LibraryRoomData*>(GetRoomData(ROOM_LIBRARY)); }
GameRecord* RoomGame() { return GetGameForOwner(ROOM_LIBRARY); }

int NoClassicGames(GameRecord*, int*) { return 0; }
void NoAnnotationLock(int) {}
int ProgramHelp(HWND owner, const char* name, int command) { return OpenHelpFile(owner, name, command); }
const LibraryRoomSeams kDefaultSeams = {NoClassicGames, NoAnnotationLock, ProgramHelp};
LibraryRoomSeams g_seams = kDefaultSeams;

std::vector<CmMenu*> g_contextMenus;  // kept while the toolkit may show them

// The room's game gives way to `game`: the old one unregistered and
// destroyed, the new one registered for the room, started and announced.
void ShowGameInRoom(GameRecord* game) {
  if (!game) return;
  GameRecord* old = RoomGame();
  if (old && old != game) {
    StopGame(old);
    UnregisterGame(&old->id);
    DestroyGame(old);
  }
  if (old != game && RegisterGame(game, ROOM_LIBRARY) != 0) {
    DestroyGame(game);
    return;
  }
  if (GetRoomNumber() == ROOM_LIBRARY) SetCurrentGame(game);
  StartGame(game);
  BroadcastToWindows(RWM_GAME_EVENT, GE_GAME_SET, reinterpret_cast<intptr_t>(game), 0);
}

GameRecord* NewGame(uint32_t kind) {
  return CreateGame(kind, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0);
}

// ---------------------------------------------------------------- the editor's board
// The book editor's lines are played on the room's game, so the board, the
// move list and the editor hear the same game events.
class RoomEditorBoard final : public BookEditorBoard {
 public:
  HWND Window() override { return RoomBoardWindow(ROOM_LIBRARY); }
  void ShowLine(const std::vector<MoveRecord>& moves) override {
    GameRecord* game = RoomGame();
    if (!game) return;
    ClearGameMoves(game);
    std::vector<MoveRecord> line(moves);
    for (MoveRecord& m : line) std::memset(m.texts, 0, sizeof m.texts);
    ReplaceMoveLine(game, line.data(), int(line.size()), true);
    BroadcastToWindows(RWM_GAME_EVENT, GE_GAME_SET, reinterpret_cast<intptr_t>(game), 0);
  }
  std::vector<MoveRecord> GameLine() override {
    std::vector<MoveRecord> out;
    GameRecord* game = RoomGame();
    if (!game) return out;
    const int32_t ply = GetCurrentPly(game);
    for (int32_t p = 1; p <= ply; ++p)
      if (const MoveRecord* m = GetMoveAtPly(game, p)) {
        MoveRecord copy = *m;
        std::memset(copy.texts, 0, sizeof copy.texts);
        out.push_back(copy);
      }
    return out;
  }
  std::string CurrentComment() override {
    const char* text = GetPositionComment(RoomGame());
    return text ? text : "";
  }
  void SetCurrentComment(const std::string& text) override {
    GameRecord* game = RoomGame();
    if (MoveRecord* current = game ? GetCurrentMove(game) : nullptr) SetMoveString(current, text.c_str(), SLOT_POSITION);
  }
};
RoomEditorBoard g_editorBoard;

// ---------------------------------------------------------------- the re-enable timer
void CALLBACK Reenable(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  EnableMainWindowUI(1);
}

// ---------------------------------------------------------------- the program's host
std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

class ProgramLibraryHost final : public LibraryRoomHost {
 public:
  void EnableItem(int command, bool enable) override {
    RoomRecord* record = Record();
    if (record && record->menu)
      cmEnableMenuItem(record->menu, UINT(command), MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
  }
  int NotationStyle() override { return GetNotationStyle(); }
  void SetNotationStyle(int style) override {
    if (GetNotationStyle() == style) return;
    ::SetNotationStyle(style);
    Services().updateMainMenuState();
  }
  void LockAnnotation(int locked) override { g_seams.lockAnnotationDialog(locked); }
  void FreshGame() override { ShowGameInRoom(NewGame(kRoomGameKind)); }
  void BookGame(int) override { ShowGameInRoom(NewGame(kBookGameKind)); }
  void* RunClassicGames() override {
    GameRecord* game = NewGame(kRoomGameKind);
    if (!game) return nullptr;
    int out = 0;
    if (!g_seams.runClassicGamesDialog(game, &out)) {
      DestroyGame(game);
      return nullptr;
    }
    return game;
  }
  void ShowGame(void* game) override { ShowGameInRoom(static_cast<GameRecord*>(game)); }
  void DiscardGame(void* game) override { DestroyGame(static_cast<GameRecord*>(game)); }

  bool OpenEditor(const std::string& path, bool readOnly) override {
    // The editor takes a missing file for an empty book; a book asked for
    // by name must be there.
    if (!path.empty() && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    if (OpenBookEditorWindow(&g_editorBoard, path.empty() ? nullptr : path.c_str(), readOnly ? 1 : 0) != 0)
      return false;
    PlaceEditor();
    RaiseRoomPanelsSoon();
    return true;
  }
  void CloseEditor() override { CloseBookEditor(); }
  bool EditorModified() override { return IsBookEditorModified(); }
  std::string EditorFileName() override {
    char name[MAX_PATH] = "";
    return BaseName(GetBookEditorFileName(name, sizeof name));
  }
  bool SaveEditor(const std::string& path) override { return SaveBookEditor(path.c_str()) == 1; }
  bool ImportPgn(const std::string& path) override { return ImportPgnIntoEditor(path.c_str()) == 0; }

  std::string OpeningBooksFolder() override {
    const char* folder = GetOpeningBooksFolder();
    return folder ? folder : "";
  }
  bool ChooseBook(bool save, std::string* path) override { return Choose(save ? 1 : 0, kFileTypeBook, path); }
  bool ChoosePgn(std::string* path) override { return Choose(0, kFileTypePgn, path); }

  void ShowMessage(int stringId) override {
    Services().appMessageBox(LoadOwnString(uint32_t(stringId)), MB_OK | MB_ICONEXCLAMATION);
  }
  int AskYesNoCancel(int stringId, const std::string& argument) override {
    char text[600];
    std::snprintf(text, sizeof text, LoadOwnString(uint32_t(stringId)), argument.c_str());
    const int answer = Services().appMessageBox(text, MB_YESNOCANCEL | MB_ICONQUESTION);
    return answer == IDYES ? 1 : answer == IDNO ? 0 : -1;
  }
  void DisableMainWindow() override { EnableMainWindowUI(0); }
  void StartReenableTimer() override {
    HWND frame = Frame();
    if (!frame || !SetTimer(frame, kLibraryReenableTimer, kLibraryReenableMs, Reenable)) EnableMainWindowUI(1);
  }
  void SaveGame() override { Services().mainMenuCommand(Frame(), 40013); }
  void ShowGameInformation() override { Services().mainMenuCommand(Frame(), 40085); }
  void OpenGlossary() override { g_seams.openHelp(Frame(), kGlossaryFile, 1); }

 private:
  // The program's file dialog in the opening books folder; the folder it
  // had before comes back afterwards.
  bool Choose(int mode, int type, std::string* path) {
    LibraryRoomData* data = Data();
    const std::string previous = GetFileDialogFolder() ? GetFileDialogFolder() : "";
    SetFileDialogFolder(OpeningBooksFolder().c_str());
    char chosen[MAX_PATH] = "";
    int outType = 0, openAs = 0;
    const int ok = DoFileDialog(Frame(), Instance(), chosen, nullptr, mode, type, mode == 0 ? 1 : 0, &outType, &openAs,
                                nullptr);
    SetFileDialogFolder(previous.c_str());
    if (!ok || !chosen[0]) return false;
    *path = chosen;
    if (data) std::snprintf(data->dialogFolder, sizeof data->dialogFolder, "%s", chosen);
    return true;
  }
  // Without a place of its own in the layout the editor stands at the
  // room's right edge, as tall as the room, beside the board.
  static void PlaceEditor() {
    HWND editor = static_cast<HWND>(GetNumberedWindow(kBookEditorWindowNumber));
    ShellRect stored{};
    NumberedWindowOp(WOP_GET_RECT, kBookEditorWindowNumber, reinterpret_cast<intptr_t>(&stored));
    HWND room = GetRoomWindow();
    if (!editor || !room || (stored.right > stored.left && stored.bottom > stored.top)) return;
    RECT area{};
    GetWindowRect(room, &area);
    constexpr int kWidth = 330;
    const int height = std::max<int>(310, area.bottom - area.top - 16);
    SetWindowPos(editor, nullptr, area.right - kWidth - 8, area.top + 8, kWidth, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
};
ProgramLibraryHost g_host;

LibraryRoom* Rules() {
  static LibraryRoom* rules = nullptr;
  static LibraryRoomData* for_ = nullptr;
  LibraryRoomData* data = Data();
  if (!data) return nullptr;
  if (data != for_) {
    delete rules;
    rules = new LibraryRoom(data, &g_host);
    for_ = data;
  }
  return rules;
}

// ---------------------------------------------------------------- right-click menus
void ShowRoomMenu(HWND from, POINT screen) {
  BoardView* view = GetRoomBoardView(ROOM_LIBRARY);
  if (!view || !Data()) return;
  HWND board = RoomBoardWindow(ROOM_LIBRARY);
  LibraryMenuPlace place = LibraryMenuPlace::Room;
  if (from == board) {
    POINT client = screen;
    ScreenToClient(board, &client);
    int colour = 0;
    switch (HitRoomBoard(view, client, &colour)) {
      case RoomBoardHit::Piece:
        place = LibraryMenuPlace::Piece;
        break;
      case RoomBoardHit::Square:
        place = LibraryMenuPlace::Square;
        break;
      case RoomBoardHit::Outside:
        break;
    }
  }
  CmMenu* menu = cmCreatePopupMenu();
  if (!menu) return;
  CmMenu* popup = nullptr;
  // A copy: the string loader gives every call the same buffer.
  std::string caption;
  auto flush = [&] {
    if (!popup) return;
    cmAppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
    cmDestroySubMenu(popup);
    popup = nullptr;
  };
  for (const LibraryMenuItem& item : LibraryRoomMenuItems(place)) {
    if (item.popup) {
      popup = cmCreatePopupMenu();
      caption = LoadOwnString(uint32_t(item.stringId));
      continue;
    }
    if (item.inPopup && popup) {
      cmAppendMenu(popup, MF_STRING, UINT_PTR(item.command), LoadOwnString(uint32_t(item.stringId)));
      continue;
    }
    flush();
    cmAppendMenu(menu, MF_STRING, UINT_PTR(item.command), LoadOwnString(uint32_t(item.stringId)));
  }
  flush();
  RECT anchor{screen.x, screen.y, screen.x, screen.y};
  if (cmTrackPopupMenu(menu, &anchor, Frame(), 0)) g_contextMenus.push_back(menu);
  else cmDestroyMenu(menu);
}

// The board's owner callback: right-clicks open the room's menu; the rest
// is answered by the mode.
LRESULT BoardCallback(HWND window, UINT message, WPARAM, LPARAM lParam, intptr_t) {
  if (message == WM_RBUTTONUP) {
    POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(window, &screen);
    ShowRoomMenu(window, screen);
    return 1;
  }
  LibraryRoomData* data = Data();
  return LibraryBoardAnswer(data ? data->mode : LIBRARY_NOTHING, message);
}

void InstallBoardCallback() {
  if (HWND board = RoomBoardWindow(ROOM_LIBRARY)) SetBoardWndCallback(board, BoardCallback, 0);
}

intptr_t RoomContextMenu(void*, uintptr_t wParam, intptr_t lParam) {
  if (!GetRoomBoardView(ROOM_LIBRARY) || !IsWindow(reinterpret_cast<HWND>(wParam))) return 0;
  POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (lParam == -1) GetCursorPos(&screen);
  ShowRoomMenu(reinterpret_cast<HWND>(wParam), screen);
  return 1;
}

// ---------------------------------------------------------------- the room's module
CmMenu* MakeMenu(int) { return cmLoadMenu(Instance(), MAKEINTRESOURCEA(kLibraryMenu)); }
void* Keys(int) { return LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(kLibraryKeys)); }

void ReleaseLibraryRoom(RoomRecord* record, int isCurrent) {
  if (!record) return;
  if (HWND board = RoomBoardWindow(ROOM_LIBRARY)) SetBoardWndCallback(board, nullptr, 0);
  LibraryRoomData* data = static_cast<LibraryRoomData*>(record->roomData);
  if (data && (data->mode == LIBRARY_EDIT_BOOK || data->mode == LIBRARY_REFERENCE)) CloseBookEditor();
  for (CmMenu* menu : g_contextMenus) cmDestroyMenu(menu);
  g_contextMenus.clear();
  DestroyRoomBoardView(record);
  memFree_rel(record->roomData);
  record->roomData = nullptr;
  if (!isCurrent && record->menu) {
    cmDestroyMenu(record->menu);
    record->menu = nullptr;
  }
}

const RoomModule kModule = {ActivateLibraryRoom, DeactivateLibraryRoom, ReleaseLibraryRoom, MakeMenu,
                            LibraryRoomCommand,  RoomContextMenu,       Keys};

void InstallEditorHost() {
  BookEditorHost host = BookEditorHostInUse();
  host.mainWindow = [] { return Frame(); };
  host.loadPicture = [](const char* name) {
    HMODULE pictures = static_cast<HMODULE>(GetDataSetLibrary(7));
    return pictures ? HBITMAP(LoadImageA(pictures, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) : nullptr;
  };
  host.userFolder = [] {
    const char* folder = GetUserFolder();
    return std::string(folder ? folder : "");
  };
  host.board = [] { return static_cast<BookEditorBoard*>(&g_editorBoard); };
  SetBookEditorHost(host);
}

void* SetUpLibraryRoom(RoomRecord* record) {
  auto* data = static_cast<LibraryRoomData*>(memAlloc_rel(sizeof(LibraryRoomData), 66));
  if (!data) return nullptr;
  std::memset(data, 0, sizeof *data);
  data->mode = LIBRARY_UNSET;
  record->commandHandler = LibraryRoomCommand;
  record->release = ReleaseLibraryRoom;
  record->messageCallback = RoomContextMenu;
  if (!record->menu) record->menu = MakeMenu(ROOM_LIBRARY);
  if (!record->accelerators) record->accelerators = Keys(ROOM_LIBRARY);
  record->tileId = kLibraryTiles;
  std::snprintf(record->tileBitmap, sizeof record->tileBitmap, "%s", "SHORTCUT_TILE");
  record->tileCommand = LibraryRoomTile;
  LoadWallpaper(kWallpaperFile, record);
  if (!RoomGame()) {
    GameRecord* game = NewGame(kRoomGameKind);
    if (!game || RegisterGame(game, ROOM_LIBRARY) != 0) {
      if (game) DestroyGame(game);
      memFree_rel(data);
      return nullptr;
    }
  }
  record->roomData = data;
  if (CreateRoomBoardView(record) && ClearRoomBoardTurn(ROOM_LIBRARY))
    BroadcastToWindows(RWM_BOARD_ORIENTATION, 1, 0, 1);
  InstallBoardCallback();
  InstallEditorHost();
  record->setUp = 1;
  if (LibraryRoom* rules = Rules()) rules->ChangeMode(LIBRARY_NOTHING);
  return data;
}

}  // namespace

LibraryRoomSeams GetLibraryRoomSeams() { return g_seams; }

void SetLibraryRoomSeams(const LibraryRoomSeams& seams) {
  g_seams = seams;
  if (!g_seams.runClassicGamesDialog) g_seams.runClassicGamesDialog = kDefaultSeams.runClassicGamesDialog;
  if (!g_seams.lockAnnotationDialog) g_seams.lockAnnotationDialog = kDefaultSeams.lockAnnotationDialog;
  if (!g_seams.openHelp) g_seams.openHelp = kDefaultSeams.openHelp;
}

void RegisterLibraryRoom() { RegisterRoomModule(ROOM_LIBRARY, &kModule); }

int ActivateLibraryRoom(RoomRecord* record) {
  if (!record) return 0;
  if (!record->setUp && !SetUpLibraryRoom(record)) return 0;
  if (HWND status = static_cast<HWND>(GetNumberedWindow(WIN_GAME_STATUS))) EnableGameStatusMoveSelect(status, 0);
  g_seams.lockAnnotationDialog(1);
  LibraryRoomData* data = Data();
  if (data && (data->mode == LIBRARY_EDIT_BOOK || data->mode == LIBRARY_REFERENCE)) ShowBookEditor(1);
  if (GameRecord* game = RoomGame()) {
    SetCurrentGame(game);
    StartGame(game);
  }
  InstallBoardCallback();
  // The bar stays, as in every room; the panels come up over the frame.
  ShowNavigationBar();
  RaiseRoomPanelsSoon();
  return 1;
}

int DeactivateLibraryRoom(RoomRecord* record) {
  if (!record) return 1;
  if (HWND status = static_cast<HWND>(GetNumberedWindow(WIN_GAME_STATUS))) EnableGameStatusMoveSelect(status, 1);
  Services().stopVoiceClip();
  if (record->boardWindow) ShowWindow(static_cast<HWND>(record->boardWindow), SW_HIDE);
  LibraryRoomData* data = Data();
  if (data && (data->mode == LIBRARY_EDIT_BOOK || data->mode == LIBRARY_REFERENCE)) ShowBookEditor(0);
  g_seams.lockAnnotationDialog(0);
  StopGame(RoomGame());
  return 1;
}

int LibraryRoomCommand(void*, int command) {
  LibraryRoom* rules = Rules();
  if (!rules || !GetRoomBoardView(ROOM_LIBRARY)) return 0;
  return rules->Command(command);
}

void LibraryRoomTile(int buttonId) {
  if (const int command = LibraryTileCommand(buttonId)) LibraryRoomCommand(Frame(), command);
}

int GetLibraryRoomMode() {
  LibraryRoomData* data = Data();
  return data ? data->mode : LIBRARY_UNSET;
}
