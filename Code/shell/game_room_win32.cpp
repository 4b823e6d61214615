// The game room (see game_room_win32.h).
// The rules' and engine link's headers come before windows.h, whose
// language macros would otherwise rename the notation's languages.
#include "engine_player.h"
#include "game_host.h"
#include "game_record.h"
#include "game_registry.h"

#include <windows.h>
// The shell names its own user; not the system's account call.
#undef GetUserName

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app_globals.h"
#include "app_messages.h"
#include "bmpbutton.h"
#include "data_sets.h"
#include "dialog_runner.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "facet_frame.h"
#include "game_room_core.h"
#include "game_room_win32.h"
#include "heapkit.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "main_loop.h"
#include "room_board_win32.h"
#include "room_switch.h"
#include "room_window.h"
#include "shell_services.h"
#include "user_settings.h"
#include "wallpaper.h"
#include "win_utils.h"
#include "window_table.h"

namespace {

constexpr int kGameRoomMenu = 15;
constexpr int kGameRoomKeys = 19;
constexpr int kGameRoomTiles = 117;
constexpr int kShortcutsDialog = 119;
constexpr int kSendEngineMessageDialog = 158;
constexpr int kUnfinishedRatedGameString = 179;
constexpr int kSetUpPositionMode = 5261;
constexpr int kSetupCancelledResult = 4096;
constexpr const char* kGameRoomWallpaper = "GameRoomBackground.bmp";

// The room data block: an optional full-room window, and the teaching mode
// the board had before Set Up Position.
struct GameRoomData {
  HWND fullRoomWindow;
  int32_t savedTeachingMode;
};

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }
void BoardRightClick(HWND board, POINT screen);

int SetupCancelled(GameRecord*) { return kSetupCancelledResult; }
int NoSetUpPosition(HWND, const Board*, int, SetUpPositionEndCallback) { return 0; }
GameRecord* NoLoad(HWND);
void NoAdvice(GameRecord*) {}
void NoAnalysis() {}
int NoTeachingMode() { return 0; }
void KeepTeachingMode(int) {}
void NoTeachingDisplay() {}

const GameRoomSeams kDefaultSeams = {SetupCancelled, NoSetUpPosition, NoLoad,           NoAdvice,
                                     NoAnalysis,     NoTeachingMode,  KeepTeachingMode, NoTeachingDisplay};
GameRoomSeams g_seams = kDefaultSeams;

GameRoomData* RoomData() { return static_cast<GameRoomData*>(GetRoomData(ROOM_GAME)); }
GameRecord* RoomGame() { return GetGameForOwner(ROOM_GAME); }
HWND MainFrame() { return GetMainFrame(); }

void SendGameSet(GameRecord* game) {
  BroadcastToWindows(RWM_GAME_EVENT, GE_GAME_SET, reinterpret_cast<intptr_t>(game), 0);
}
void TurnBoard() { BroadcastToWindows(RWM_BOARD_ORIENTATION, 1, 0, 1); }

// The room's game gives way to `game`: unregistered and destroyed, the new
// one registered for room 1 and started.
bool ReplaceRoomGame(GameRecord* game) {
  if (!game) return false;
  if (GameRecord* old = RoomGame()) {
    StopGame(old);
    UnregisterGame(&old->id);
    DestroyGame(old);
  }
  if (RegisterGame(game, ROOM_GAME) != 0) {
    DestroyGame(game);
    return false;
  }
  SetCurrentGame(game);
  StartGame(game);
  SendGameSet(game);
  return true;
}

// The players a template starts from, as descriptors: the personality
// stays with its game.
void CopyDescriptor(PlayerDescriptor* to, const PlayerRecord& from) { std::memcpy(to, &from, sizeof *to); }

void FreeTemplatePersonalities(GameRecord* templateGame) {
  for (PlayerRecord* p : {&templateGame->white, &templateGame->black, &templateGame->third})
    if (p->personality) {
      GetGameHost()->FreePersonality(p->personality);
      p->personality = nullptr;
    }
}

// A zeroed template lives beside the room, not on the stack: the game
// record holds two position blocks and three 4,500-byte players.
GameRecord g_template;

// ---------------------------------------------------------------- menus
void EnableFrameMenu(bool enable) {
  if (HWND frame = MainFrame()) cwEnableMenu(frame, enable ? 1 : 0);
}

void SetCopyFromItems(RoomRecord* record) {
  if (!record->menu) return;
  for (const CopyGameFromItem& item : kCopyGameFromItems) {
    GameRecord* game = GetGameForOwner(uint32_t(item.room));
    switch (CopyGameItemState(game != nullptr, game ? GetMoveCount(game) : 0)) {
      case CopyItemState::Grey:
        cmEnableMenuItem(record->menu, UINT(item.command), MF_BYCOMMAND | MF_GRAYED);
        break;
      case CopyItemState::Enable:
        cmEnableMenuItem(record->menu, UINT(item.command), MF_BYCOMMAND | MF_ENABLED);
        break;
      case CopyItemState::Unchanged:
        break;
    }
  }
}

// The panels the room shows stand above the main frame. A window system
// without a window manager (X under Wine) puts a frame that is shown or
// activated on top of the panels it owns: they are raised again at the room
// timer's next tick after each entry into the room and each time the frame
// becomes the foreground window.
bool g_raisePanels = false;
HWND g_lastForeground = nullptr;

std::vector<CmMenu*> g_contextMenus;  // the board's context menus shown

// ---------------------------------------------------------------- the room's module
CmMenu* MakeGameRoomMenu(int) { return cmLoadMenu(Instance(), MAKEINTRESOURCEA(kGameRoomMenu)); }
void* GameRoomKeys(int) { return LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(kGameRoomKeys)); }

int GameRoomCommandHandler(void* window, int id) { return GameRoomCommand(window, id); }

const RoomModule kGameRoomModule = {ActivateGameRoom, DeactivateGameRoom, ReleaseGameRoom, MakeGameRoomMenu,
                                    GameRoomCommandHandler, GameRoomContextMenu, GameRoomKeys};

// ---------------------------------------------------------------- load
GameRecord* NoLoad(HWND) { return nullptr; }

void LoadIntoGameRoom(HWND owner) {
  GameRecord* loaded = g_seams.loadGame(owner);
  if (!loaded) return;
  if (IsUnfinishedRatedGame(loaded->kind, loaded->result)) {
    Services().appMessageBox(LoadOwnString(kUnfinishedRatedGameString), MB_OK | MB_ICONEXCLAMATION);
  } else {
    CopyGameToGameRoom(loaded);
  }
  DestroyGame(loaded);
}

// ---------------------------------------------------------------- Send Engine Message
bool g_sendToWhite = true;  // remembered for the run

INT_PTR CALLBACK SendEngineMessageProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, second);
      SendDlgItemMessageA(dialog, 711, EM_LIMITTEXT, 512, 0);
      CheckDlgButton(dialog, 710, g_sendToWhite ? BST_CHECKED : BST_UNCHECKED);
      RECT owner{}, self{};
      GetWindowRect(MainFrame() ? MainFrame() : GetDesktopWindow(), &owner);
      GetWindowRect(dialog, &self);
      const int w = self.right - self.left, h = self.bottom - self.top;
      SetWindowPos(dialog, nullptr, (owner.left + owner.right - w) / 2, (owner.top + owner.bottom - h) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(first) == 712) {
        char text[520] = "";
        GetDlgItemTextA(dialog, 711, text, sizeof text);
        auto* out = reinterpret_cast<std::string*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (out) *out = TakeEngineMessage(text);
        g_sendToWhite = IsDlgButtonChecked(dialog, 710) == BST_CHECKED;
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(first) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

void SendEngineMessage() {
  std::string text;
  const INT_PTR sent = DoModalDialog(Instance(), MAKEINTRESOURCEA(kSendEngineMessageDialog), MainFrame(),
                                     SendEngineMessageProc, reinterpret_cast<LPARAM>(&text), 0);
  GameRecord* game = GetCurrentGame();
  if (sent != 1 || !game) return;
  GetGameHost()->SendEngineCommand(g_sendToWhite ? &game->white : &game->black, text.c_str());
}

// ---------------------------------------------------------------- Shortcuts window
struct ShortcutsRecord {
  int32_t room;  // -1: no tiles yet
  HWND tiles;
  PackedDib* tile;  // the resource library's picture, in place
  int (*tileCommand)(int id);
};
ShortcutsRecord* g_shortcuts = nullptr;

void Realize(HDC dc) {
  if (HPALETTE palette = GetAppPalette()) {
    SelectPalette(dc, palette, TRUE);
    RealizePalette(dc);
  }
}

struct BackgroundRequest {
  RECT rect;
  PackedDib* copy;
};

// Paints a control's background from the tile at the control's offset.
LRESULT PaintTileBackground(HWND window, LPARAM second) {
  auto* request = reinterpret_cast<BackgroundRequest*>(second);
  if (!request || !request->copy || !g_shortcuts || !g_shortcuts->tile) return 0;
  POINT origin{0, 0};
  if (g_shortcuts->tiles && window == g_shortcuts->tiles) MapWindowPoints(window, GetParent(window), &origin, 1);
  const DibRect r{request->rect.left + origin.x, request->rect.top + origin.y, request->rect.right + origin.x,
                  request->rect.bottom + origin.y};
  return dibPaintControlBackgroundOffset(g_shortcuts->tile, request->copy, &r, 0, 0);
}

// The tiles place themselves from their captions; the dialog takes their
// extent and the same margin on the far sides as on the near ones.
void FitTilesDialog(HWND dialog) {
  RECT extent{INT_MAX, INT_MAX, 0, 0};
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    extent.left = std::min(extent.left, r.left);
    extent.top = std::min(extent.top, r.top);
    extent.right = std::max(extent.right, r.right);
    extent.bottom = std::max(extent.bottom, r.bottom);
  }
  if (extent.right <= extent.left) return;
  SetWindowPos(dialog, nullptr, 0, 0, extent.right + std::max(0, int(extent.left)),
               extent.bottom + std::max(0, int(extent.top)), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A tile with pictures in the resource library shows them: "TILE<id>" as
// its face and "TILE<id>P" pressed, in place of the text faces it built.
void GiveTilesTheirPictures(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    for (int state = 0; state < 2; ++state) {
      char name[24];
      std::snprintf(name, sizeof name, "TILE%d%s", id, state ? "P" : "");
      void* bits = nullptr;
      if (!LoadLibraryBitmap(name, 7, &bits) || !bits) break;
      auto* picture = static_cast<PackedDib*>(bits);
      dibColorsToIndices(picture);
      if (auto* built = reinterpret_cast<PackedDib*>(SendMessageA(child, BBM_CCM_SETDIB, state, LPARAM(picture))))
        dibDelete(built);
    }
  }
}

INT_PTR CALLBACK TileDialogProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG:
      GiveTilesTheirPictures(dialog);
      FitTilesDialog(dialog);
      return TRUE;
    case WM_COMMAND:
      if (g_shortcuts && g_shortcuts->tileCommand && HIWORD(first) == BN_CLICKED)
        g_shortcuts->tileCommand(LOWORD(first));
      return TRUE;
    case WM_ERASEBKGND: {
      if (!g_shortcuts || !g_shortcuts->tile || !GetAppPalette()) return FALSE;
      HDC dc = reinterpret_cast<HDC>(first);
      Realize(dc);
      RECT client;
      GetClientRect(dialog, &client);
      dibTileBackground(nullptr, dc, g_shortcuts->tile, &client);
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
      return TRUE;
    }
    case CWM_GETBACKGROUND:
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, PaintTileBackground(dialog, second));
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK ShortcutsProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG:
      g_shortcuts = reinterpret_cast<ShortcutsRecord*>(second);
      NumberedWindowOp(WOP_SET_HANDLE, WIN_SHORTCUTS, reinterpret_cast<intptr_t>(dialog));
      return TRUE;
    case WM_DESTROY:
      if (g_shortcuts) {
        if (g_shortcuts->tiles) DestroyWindow(g_shortcuts->tiles);
        memFree_rel(g_shortcuts);
        g_shortcuts = nullptr;
      }
      NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_SHORTCUTS, 0);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((first & 0xFFF0) == SC_CLOSE) {
        NumberedWindowOp(WOP_SHOW, WIN_SHORTCUTS, WSC_HIDE);
        if (MainFrame()) {
          if (CmMenu* menu = cmGetMenu(MainFrame()))
            cmCheckMenuItem(menu, 40032, MF_BYCOMMAND | MF_UNCHECKED);
        }
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      break;
    case WM_CHAR:
      if (MainFrame()) PostMessageA(MainFrame(), message, first, second);
      return TRUE;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(second)->ptMinTrackSize = POINT{100, 100};
      return TRUE;
    case WM_WINDOWPOSCHANGED:
      NumberedWindowOp(WOP_SET_RECT_POS, WIN_SHORTCUTS, second);
      return FALSE;
    case WM_ERASEBKGND: {
      if (!g_shortcuts || !g_shortcuts->tile) return FALSE;
      HDC dc = reinterpret_cast<HDC>(first);
      Realize(dc);
      RECT client;
      GetClientRect(dialog, &client);
      dibTileBackground(nullptr, dc, g_shortcuts->tile, &client);
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
      return TRUE;
    }
    case CWM_GETBACKGROUND:
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, PaintTileBackground(dialog, second));
      return TRUE;
  }
  return FALSE;
}

// ---------------------------------------------------------------- panels hidden for set-up
// The tiles' buttons go to the handler of the room whose tiles they are.
int TileCommandThunk(int id) {
  RoomRecord* record = g_shortcuts ? GetRoomRecord(g_shortcuts->room) : nullptr;
  if (!record || !record->tileCommand) return 0;
  record->tileCommand(id);
  return 1;
}

}  // namespace

GameRoomSeams GetGameRoomSeams() { return g_seams; }

namespace {

// The panels shown beside the frame: numbered, visible, not children.
std::vector<HWND> ShownPanels() {
  std::vector<HWND> panels;
  for (int id = WIN_ADVICE; id <= WIN_RECEIVED_CHALLENGE; ++id) {
    HWND panel = static_cast<HWND>(GetNumberedWindow(id));
    if (panel && IsWindowVisible(panel) && !(GetWindowLongA(panel, GWL_STYLE) & WS_CHILD)) panels.push_back(panel);
  }
  return panels;
}

// Whether one of `panels` lies under the frame. A modal dialog or message
// box that ends gives the activation back to the frame, which then comes
// over its panels, while the room timer that watches the foreground is held:
// before and after, the frame is the foreground window.
bool PanelUnderFrame(HWND frame, const std::vector<HWND>& panels) {
  if (panels.empty()) return false;
  for (HWND w = GetWindow(frame, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
    if (std::find(panels.begin(), panels.end(), w) != panels.end()) return true;
  return false;
}

}  // namespace

void RaiseGameRoomPanels() {
  HWND frame = MainFrame();
  const HWND foreground = GetForegroundWindow();
  if (foreground == frame && g_lastForeground != frame) g_raisePanels = true;
  g_lastForeground = foreground;
  // The library room shows its panels (and the book editor) the same way.
  const int room = GetRoomNumber();
  if (!frame || !IsWindowVisible(frame) || (room != ROOM_GAME && room != ROOM_LIBRARY)) return;
  // While a modal dialog or box disables the frame the panels stay where
  // they are: raised, they would come over the dialog.
  if (!IsWindowEnabled(frame)) return;
  const std::vector<HWND> panels = ShownPanels();
  if (!g_raisePanels && !PanelUnderFrame(frame, panels)) return;
  g_raisePanels = false;
  for (HWND panel : panels) SetWindowPos(panel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void RaiseRoomPanelsSoon() { g_raisePanels = true; }

void SetGameRoomSeams(const GameRoomSeams& seams) {
  g_seams = seams;
  const GameRoomSeams& d = kDefaultSeams;
  if (!g_seams.runGameSetupDialog) g_seams.runGameSetupDialog = d.runGameSetupDialog;
  if (!g_seams.openSetUpPosition) g_seams.openSetUpPosition = d.openSetUpPosition;
  if (!g_seams.loadGame) g_seams.loadGame = d.loadGame;
  if (!g_seams.showAdvice) g_seams.showAdvice = d.showAdvice;
  if (!g_seams.startGameAnalysis) g_seams.startGameAnalysis = d.startGameAnalysis;
  if (!g_seams.getTeachingMode) g_seams.getTeachingMode = d.getTeachingMode;
  if (!g_seams.setTeachingMode) g_seams.setTeachingMode = d.setTeachingMode;
  if (!g_seams.applyTeachingDisplay) g_seams.applyTeachingDisplay = d.applyTeachingDisplay;
}

void RegisterGameRoomModule() { RegisterRoomModule(ROOM_GAME, &kGameRoomModule); }

void* SetUpGameRoom(RoomRecord* record) {
  if (!record) return nullptr;
  record->commandHandler = GameRoomCommandHandler;
  record->release = ReleaseGameRoom;
  record->messageCallback = GameRoomContextMenu;
  if (!record->menu) record->menu = MakeGameRoomMenu(ROOM_GAME);
  if (!record->accelerators) record->accelerators = GameRoomKeys(ROOM_GAME);
  record->tileId = kGameRoomTiles;
  std::snprintf(record->tileBitmap, sizeof record->tileBitmap, "%s", "SHORTCUT_TILE");
  record->tileCommand = [](int id) { GameRoomTileCommand(id); };
  LoadWallpaper(kGameRoomWallpaper, record);

  auto* data = static_cast<GameRoomData*>(memAlloc_rel(sizeof(GameRoomData), 66));
  if (!data) return nullptr;
  std::memset(data, 0, sizeof *data);

  // The first game: the room's two players on the default template.
  if (!RoomGame()) {
    static PlayerRecord white, black;
    ReadRoomPlayers(&white, &black, ROOM_GAME);
    PlayerDescriptor w{}, b{};
    CopyDescriptor(&w, white);
    CopyDescriptor(&b, black);
    FillDefaultGameTemplate(&g_template, w, b);
    GameRecord* game = CreateGame(g_template.kind, nullptr, &w, &b, nullptr, nullptr, nullptr, WHITE, 1, 0);
    if (!game || RegisterGame(game, ROOM_GAME) != 0) {
      if (game) DestroyGame(game);
      memFree_rel(data);
      return nullptr;
    }
  }
  record->roomData = data;

  if (CreateRoomBoardView(record)) {
    SetRoomBoardRightClick(ROOM_GAME, BoardRightClick);
    if (ClearRoomBoardTurn(ROOM_GAME)) TurnBoard();
  }
  record->setUp = 1;
  return data;
}

int ActivateGameRoom(RoomRecord* record) {
  if (!record) return 0;
  if (!record->setUp && !SetUpGameRoom(record)) return 0;
  SetCopyFromItems(record);
  Services().setIdleLevel(1);
  g_raisePanels = true;
  GameRoomData* data = static_cast<GameRoomData*>(record->roomData);
  if (data && data->fullRoomWindow) {
    ShowWindow(data->fullRoomWindow, SW_SHOW);
    HideAllPanels(1);
    EnableFrameMenu(false);
    EnableAccelerators(0);
  }
  if (GameRecord* game = RoomGame()) {
    StartGame(game);
    UpdateRoomBoardInputLock(ROOM_GAME);
  }
  return 1;
}

int DeactivateGameRoom(RoomRecord* record) {
  if (!record) return 1;
  Services().stopVoiceClip();
  StopGame(RoomGame());
  if (record->boardWindow) ShowWindow(static_cast<HWND>(record->boardWindow), SW_HIDE);
  Services().setIdleLevel(0);
  GameRoomData* data = static_cast<GameRoomData*>(record->roomData);
  if (data && data->fullRoomWindow) {
    ShowWindow(data->fullRoomWindow, SW_HIDE);
    HideAllPanels(0);
    EnableFrameMenu(true);
    EnableAccelerators(1);
  }
  return 1;
}

void ReleaseGameRoom(RoomRecord* record, int isCurrent) {
  if (!record) return;
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

int GameRoomCommand(void* window, int id) {
  if (id < kGameRoomFirstCommand || id > kGameRoomLastCommand) return 0;
  HWND owner = window ? static_cast<HWND>(window) : MainFrame();
  switch (id) {
    case kCmdNewGame:
      NewGameInGameRoom();
      return 1;
    case kCmdLoadGame:
      LoadIntoGameRoom(owner);
      return 1;
    case kCmdSetUpPosition:
      SetUpPositionInGameRoom();
      return 1;
    case kCmdSetUpGame:
      SetUpGameInGameRoom();
      return 1;
    case kCmdSendEngineMessage:
      SendEngineMessage();
      return 1;
  }
  const int room = CopyGameSourceRoom(id);
  if (room < 0) return 0;
  if (GameRecord* source = GetGameForOwner(uint32_t(room))) CopyGameToGameRoom(source);
  return 1;
}

int GameRoomTileCommand(int id) {
  switch (id) {
    case kTileSetUpGame:
      return GameRoomCommand(MainFrame(), kCmdSetUpPosition);
    case kTileNewGame:
      NewGameInGameRoom();
      return 1;
    case kTileAdvice:
      g_seams.showAdvice(RoomGame());
      return 1;
    case kTileAnalysis:
      g_seams.startGameAnalysis();
      return 1;
  }
  return 0;
}

void NewGameInGameRoom() {
  GameRecord* old = RoomGame();
  PlayerDescriptor white{}, black{};
  uint32_t startMove = 1;
  if (old) {
    CopyDescriptor(&white, old->white);
    CopyDescriptor(&black, old->black);
    startMove = old->startMoveNumber;
  } else {
    static PlayerRecord w, b;
    ReadRoomPlayers(&w, &b, ROOM_GAME);
    CopyDescriptor(&white, w);
    CopyDescriptor(&black, b);
  }
  StopGame(old);
  FillDefaultGameTemplate(&g_template, white, black);
  g_template.startMoveNumber = startMove;
  const int result = g_seams.runGameSetupDialog(&g_template);
  if (result == kSetupCancelledResult) {
    FreeTemplatePersonalities(&g_template);
    StartGame(old);
    return;
  }
  PlayerDescriptor w{}, b{};
  CopyDescriptor(&w, g_template.white);
  CopyDescriptor(&b, g_template.black);
  FreeTemplatePersonalities(&g_template);
  const bool otherStart = (result & 64) != 0;
  GameRecord* game = CreateGame(g_template.kind, nullptr, &w, &b, nullptr, otherStart ? &g_template.start : nullptr,
                                nullptr, otherStart ? int(g_template.startSide) : int(WHITE), 1, 0);
  if (!ReplaceRoomGame(game)) {
    StartGame(old);
    return;
  }
  UpdateRoomBoardInputLock(ROOM_GAME);
  if (result & 32) TurnBoard();
}

int CopyGameToGameRoom(const GameRecord* source) {
  if (!source) return 0;
  PlayerDescriptor white{}, black{};
  CopyDescriptor(&white, source->white);
  CopyDescriptor(&black, source->black);
  RepairCopiedPlayer(&white, GetUserName(), source->kind);
  RepairCopiedPlayer(&black, GetUserName(), source->kind);
  GameRecord* game = CreateGame(source->kind, &source->header, &white, &black, nullptr, &source->start, source->tree,
                                source->startSide, source->startMoveNumber, source->result);
  return ReplaceRoomGame(game) ? 1 : 0;
}

void SetUpGameInGameRoom() {
  GameRecord* game = RoomGame();
  if (!game) return;
  StopGame(game);
  PlayerDescriptor white{}, black{};
  CopyDescriptor(&white, game->white);
  CopyDescriptor(&black, game->black);
  FillDefaultGameTemplate(&g_template, white, black);
  g_template.kind = game->kind;
  g_template.startMoveNumber = game->startMoveNumber;
  const int result = g_seams.runGameSetupDialog(&g_template);
  if (result == kSetupCancelledResult) {
    FreeTemplatePersonalities(&g_template);
    StartGame(game);
    return;
  }
  CopyDescriptor(&white, g_template.white);
  CopyDescriptor(&black, g_template.black);
  FreeTemplatePersonalities(&g_template);
  if (result & 3) SetGamePlayer(game, &white, SLOT_WHITE);
  if (result & 12) SetGamePlayer(game, &black, SLOT_BLACK);
  StartGame(game);
  SendGameSet(game);
  if (result & 32) TurnBoard();
}

void LockGameRoomForSetUp(int flag) {
  HideAllPanels(flag ? 0 : 1);
  EnableFrameMenu(flag != 0);
  EnableAccelerators(flag ? 1 : 0);
}

void SetUpPositionInGameRoom() {
  GameRecord* game = RoomGame();
  StopGame(game);
  if (GameRoomData* data = RoomData()) data->savedTeachingMode = g_seams.getTeachingMode();
  g_seams.setTeachingMode(kSetUpPositionMode);
  LockGameRoomForSetUp(0);
  Board position;
  int side = WHITE;
  if (game) {
    position = game->position;
    side = game->sideToMove;
  } else {
    SetInitialBoard(&position);
  }
  if (!g_seams.openSetUpPosition(MainFrame(), &position, side, SetUpPositionEnd)) SetUpPositionEnd(2, nullptr, 0);
}

void SetUpPositionEnd(int code, const Board* position, int side) {
  int restored = 0;
  if (GameRoomData* data = RoomData()) restored = data->savedTeachingMode;
  g_seams.setTeachingMode(restored);
  GameRecord* old = RoomGame();
  bool replaced = false;
  if (code == 1 && position && old) {
    PlayerDescriptor white{}, black{};
    CopyDescriptor(&white, old->white);
    CopyDescriptor(&black, old->black);
    GameRecord* game = CreateGame(old->kind, nullptr, &white, &black, nullptr, position, nullptr,
                                  side == BLACK ? BLACK : WHITE, 1, 0);
    replaced = ReplaceRoomGame(game);
  }
  LockGameRoomForSetUp(1);
  if (!replaced) StartGame(old);
  if (restored != kSetUpPositionMode) g_seams.applyTeachingDisplay();
}

namespace {

// The context menu at a screen point; `from` is the board window when the
// click was on it.
void ShowBoardMenu(HWND from, POINT screen, bool keyboard) {
  BoardView* view = GetRoomBoardView(ROOM_GAME);
  HWND boardWindow = RoomBoardWindow(ROOM_GAME);
  GameRoomData* data = RoomData();
  const bool full = data && data->fullRoomWindow;
  BoardClickPlace place = BoardClickPlace::OffBoard;
  if (from == boardWindow && !keyboard) {
    POINT client = screen;
    ScreenToClient(boardWindow, &client);
    int colour = 0;
    switch (HitRoomBoard(view, client, &colour)) {
      case RoomBoardHit::Piece: {
        GameRecord* game = RoomGame();
        const bool person = !game || PlayerForSide(game, colour)->kind == PLAYER_HUMAN;
        place = person ? BoardClickPlace::PersonPiece : BoardClickPlace::EnginePiece;
        break;
      }
      case RoomBoardHit::Square:
        place = BoardClickPlace::EmptySquare;
        break;
      case RoomBoardHit::Outside:
        break;
    }
  }
  if (keyboard) GetCursorPos(&screen);
  CmMenu* menu = cmCreatePopupMenu();
  if (!menu) return;
  CmMenu* popup = nullptr;
  // A copy: the string loader gives every call the same buffer.
  std::string popupCaption;
  auto flushPopup = [&] {
    if (!popup) return;
    cmAppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), popupCaption.c_str());
    cmDestroySubMenu(popup);
    popup = nullptr;
  };
  for (const BoardMenuItem& item : ChooseBoardMenuItems(place, full)) {
    if (item.popup) {
      popup = cmCreatePopupMenu();
      popupCaption = LoadOwnString(uint32_t(item.stringId));
      continue;
    }
    if (item.inPopup && popup) {
      cmAppendMenu(popup, MF_STRING, UINT_PTR(item.command), LoadOwnString(uint32_t(item.stringId)));
      continue;
    }
    flushPopup();
    if (item.command == 0) cmAppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    else cmAppendMenu(menu, MF_STRING, UINT_PTR(item.command), LoadOwnString(uint32_t(item.stringId)));
  }
  flushPopup();
  RECT anchor{screen.x, screen.y, screen.x, screen.y};
  // The popup stays up after this returns and reads the menu while it is
  // open, and the toolkit keeps its window for the next popup: menus are
  // kept for the room's life.
  if (cmTrackPopupMenu(menu, &anchor, MainFrame(), 0)) g_contextMenus.push_back(menu);
  else cmDestroyMenu(menu);
}

void BoardRightClick(HWND board, POINT screen) { ShowBoardMenu(board, screen, false); }

}  // namespace

// The room window's right-button messages: only the context-menu message
// (its first parameter the window clicked) opens the menu, so one click
// gives one menu.
intptr_t GameRoomContextMenu(void*, uintptr_t wParam, intptr_t lParam) {
  if (!GetRoomBoardView(ROOM_GAME) || !IsWindow(reinterpret_cast<HWND>(wParam))) return 0;
  POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ShowBoardMenu(reinterpret_cast<HWND>(wParam), screen, lParam == -1);
  return 1;
}

HWND CreateShortcutsWindow() {
  if (HWND existing = static_cast<HWND>(GetNumberedWindow(WIN_SHORTCUTS))) return existing;
  auto* record = static_cast<ShortcutsRecord*>(memAlloc_rel(sizeof(ShortcutsRecord), 66));
  if (!record) return nullptr;
  std::memset(record, 0, sizeof *record);
  record->room = -1;
  HWND w = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(kShortcutsDialog), MainFrame(), ShortcutsProc,
                              reinterpret_cast<LPARAM>(record));
  if (!w) memFree_rel(record);
  return w;
}

void ShowShortcutsWindow(int show) { NumberedWindowOp(WOP_SHOW, WIN_SHORTCUTS, show ? WSC_SHOW : WSC_HIDE); }

void DestroyShortcutsWindow() {
  if (HWND w = static_cast<HWND>(GetNumberedWindow(WIN_SHORTCUTS))) DestroyWindow(w);
}

void ShowShortcutTiles(int room, int tileId, const char* tileBitmap) {
  HWND window = static_cast<HWND>(GetNumberedWindow(WIN_SHORTCUTS));
  if (!window || !g_shortcuts || tileId == 0) return;
  if (g_shortcuts->room == room && g_shortcuts->tiles) return;
  if (g_shortcuts->tiles) {
    DestroyWindow(g_shortcuts->tiles);
    g_shortcuts->tiles = nullptr;
  }
  void* bitmap = nullptr;
  g_shortcuts->tile = nullptr;
  if (tileBitmap && LoadLibraryBitmap(tileBitmap, 7, &bitmap) && bitmap) {
    g_shortcuts->tile = static_cast<PackedDib*>(bitmap);
    dibColorsToIndices(g_shortcuts->tile);
  }
  g_shortcuts->room = room;
  RoomRecord* record = GetRoomRecord(room);
  g_shortcuts->tileCommand = record && record->tileCommand ? TileCommandThunk : nullptr;
  HWND tiles = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(tileId), window, TileDialogProc, 0);
  if (!tiles) return;
  g_shortcuts->tiles = tiles;
  RECT client{};
  GetWindowRect(tiles, &client);
  RECT frame{0, 0, client.right - client.left, client.bottom - client.top};
  cwAdjustWindowRect(&frame, DWORD(GetWindowLongA(window, GWL_STYLE)), 0);
  RECT now{};
  GetWindowRect(window, &now);
  SetWindowPos(window, nullptr, now.left, now.top, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  const int32_t xywh[4] = {now.left, now.top, frame.right - frame.left, frame.bottom - frame.top};
  NumberedWindowOp(WOP_SET_RECT_XYWH, WIN_SHORTCUTS, reinterpret_cast<intptr_t>(xywh));
  SetWindowPos(tiles, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(tiles, SW_SHOW);
  InvalidateRect(window, nullptr, TRUE);
}
