// The lobby room and its login screen (see lobby_room.h).
// The rules' headers come before windows.h, whose language macros would
// otherwise rename the notation's languages.
#include "game_record.h"
#include "game_registry.h"

#include <windows.h>
// The shell names its own user; not the system's account call.
#undef GetUserName

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app_globals.h"
#include "app_messages.h"
#include "facet_frame.h"
#include "lobby_room.h"
#include "lobby_screen.h"
#include "login.h"
#include "main_frame.h"
#include "main_loop.h"
#include "data_sets.h"
#include "profile.h"
#include "room_board_win32.h"
#include "room_switch.h"
#include "room_window.h"
#include "square_names.h"
#include "win/board_view_win32.h"
#include "wallpaper.h"
#include "window_table.h"

namespace {

HWND g_screen = nullptr;
int g_screenDialog = 0;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }
bool LoggedIn() { return GetUserName()[0] != '\0'; }

struct ScreenState {
  HBITMAP background;
  int dialog;
};

void CentreInRoom(HWND screen) {
  HWND room = GetParent(screen);
  RECT area{}, own{};
  if (room) GetClientRect(room, &area);
  GetWindowRect(screen, &own);
  const int w = own.right - own.left, h = own.bottom - own.top;
  SetWindowPos(screen, nullptr, (area.right - w) / 2, (area.bottom - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RunLoginFromScreen(HWND screen) {
  const INT_PTR result = RunLoginDialog(GetMainFrame());
  if (result == 1639) SendMessageA(GetMainFrame(), WM_CLOSE, 0, 0);
  // The login comes back until someone logs in or the program ends.
  if (!LoggedIn() && IsWindow(screen)) PostMessageA(screen, RWM_LOGIN_BUTTONS, 0, 0);
}

void OnScreenButton(HWND screen, int id) {
  const int action = LoginButtonAction(g_screenDialog, id);
  if (action == kLoginRegister) {
    PostMessageA(screen, RWM_LOGIN_BUTTONS, 0, 0);
  } else if (action == kLoginExit) {
    PostMessageA(GetMainFrame(), WM_CLOSE, 0, 0);
  } else if (action >= ROOM_GAME && action <= ROOM_ONLINE && LoggedIn()) {
    DestroyWindow(screen);
    SwitchRoom(action);
  }
}

INT_PTR CALLBACK LoginScreenProc(HWND screen, UINT message, WPARAM first, LPARAM second) {
  auto* state = reinterpret_cast<ScreenState*>(GetWindowLongPtrA(screen, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<ScreenState*>(second);
      SetWindowLongPtrA(screen, DWLP_USER, second);
      BITMAP info{};
      if (state->background && GetObjectA(state->background, sizeof info, &info))
        SetWindowPos(screen, nullptr, 0, 0, info.bmWidth, std::abs(info.bmHeight),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      CentreInRoom(screen);
      return FALSE;
    }
    case WM_ERASEBKGND: {
      if (!state || !state->background) return FALSE;
      HDC dc = reinterpret_cast<HDC>(first);
      HDC memory = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(memory, state->background);
      BITMAP info{};
      GetObjectA(state->background, sizeof info, &info);
      BitBlt(dc, 0, 0, info.bmWidth, std::abs(info.bmHeight), memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteDC(memory);
      SetWindowLongPtrA(screen, DWLP_MSGRESULT, 1);
      return TRUE;
    }
    case WM_COMMAND:
      OnScreenButton(screen, LOWORD(first));
      return TRUE;
    case RWM_LOGIN_BUTTONS:
      RunLoginFromScreen(screen);
      return TRUE;
    case WM_DESTROY:
      if (GetActiveModelessDialog() == screen) ClearActiveModelessDialog();
      if (state) {
        if (state->background) DeleteObject(state->background);
        delete state;
        SetWindowLongPtrA(screen, DWLP_USER, 0);
      }
      if (g_screen == screen) {
        g_screen = nullptr;
        g_screenDialog = 0;
      }
      return FALSE;
  }
  return FALSE;
}

void RoomWindowSize(int* width, int* height) {
  ShellRect stored{};
  NumberedWindowOp(WOP_GET_RECT, WIN_ROOM, reinterpret_cast<intptr_t>(&stored));
  *width = stored.right - stored.left;
  *height = stored.bottom - stored.top;
  if ((*width <= 0 || *height <= 0) && GetRoomWindow()) {
    RECT client;
    GetClientRect(GetRoomWindow(), &client);
    *width = client.right;
    *height = client.bottom;
  }
}

// The lobby has no bar: its room window takes the bar's place too, and
// gives it back when the lobby is left (the next room's layout may then
// place it again).
void CoverBarPlace(bool cover) {
  HWND room = GetRoomWindow();
  HWND frame = room ? GetParent(room) : nullptr;
  if (!frame) return;
  RECT client;
  GetClientRect(frame, &client);
  const int left = cover ? 0 : kNavigationBarWidth;
  SetWindowPos(room, nullptr, left, 0, client.right - left, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- The login puzzle's board: the lobby's own board view over a game of
// room 0 that holds the puzzle's position. Both players are people without
// a clock; the board offers each move to the puzzle first.

GameRecord* PuzzleGame() { return GetGameForOwner(ROOM_LOBBY); }

void DropPuzzleGame() {
  if (GameRecord* game = PuzzleGame()) {
    StopGame(game);
    UnregisterGame(&game->id);
    DestroyGame(game);
  }
}

HWND PuzzleBoardWindow() {
  RoomRecord* record = GetRoomRecord(ROOM_LOBBY);
  if (!record) return nullptr;
  const bool made = !GetRoomBoardView(ROOM_LOBBY);
  BoardView* view = CreateRoomBoardView(record);
  if (!view) return nullptr;
  if (made) {
    // The window keeps a margin before the picture, which would show the
    // room's wallpaper inside the dialog: only the picture is shown.
    RECT all;
    GetClientRect(view->window, &all);
    const int left = std::max(0, int(view->projection.pictureOrigin.x));
    const int top = std::max(0, int(view->projection.pictureOrigin.y));
    SetWindowRgn(view->window, CreateRectRgn(left, top, all.right, all.bottom), FALSE);
  }
  return view->window;
}

void SetPuzzlePosition(HWND board, const Board* position) {
  if (!position) return;
  PlayerDescriptor white{}, black{};
  white.slot = SLOT_WHITE;
  black.slot = SLOT_BLACK;
  white.timeControl = black.timeControl = 7;  // no clock
  std::snprintf(white.name, sizeof white.name, "%s", GetUserName());
  // White moves in a puzzle; after the mate it is Black's turn, so the
  // board takes no more white moves.
  const int side = IsSideInCheck(position, BLACK) ? BLACK : WHITE;
  GameRecord* game = CreateGame(0, nullptr, &white, &black, nullptr, position, nullptr, side, 1, 0);
  if (!game) return;
  DropPuzzleGame();
  if (RegisterGame(game, ROOM_LOBBY) != 0) {
    DestroyGame(game);
    return;
  }
  StartGame(game);
  // The board lays the pieces out afresh (after any drag it is finishing).
  if (board) PostMessageA(board, kGameEventMessage, GAME_NEW_POSITION, reinterpret_cast<LPARAM>(game));
}

void MarkPuzzleSquares(HWND board, int from, int to, int on) {
  BoardView* view = GetBoardViewOfWindow(board);
  if (!view) return;
  const std::string squares = SquareName(from & 7, from >> 4) + SquareName(to & 7, to >> 4);
  MarkSquares(view, squares.c_str(), on ? MARK_INVERT : 0);
  RECT all;
  GetClientRect(board, &all);
  RedrawBoardScene(view, &all);
}

void SetPuzzleCallback(HWND board, PuzzleBoardCallback callback, intptr_t data) {
  SetBoardWndCallback(board, callback, data);
}

void EndPuzzleBoard(HWND board) {
  if (board) SendMessageA(board, kGameEventMessage, GAME_OVER, reinterpret_cast<LPARAM>(PuzzleGame()));
  DropPuzzleGame();
}

const LoginPuzzleBoard kLobbyPuzzleBoard = {PuzzleBoardWindow, SetPuzzlePosition, MarkPuzzleSquares,
                                            SetPuzzleCallback, EndPuzzleBoard};

void MakeLobbyResources(RoomRecord* room) {
  LoadWallpaper(kDefaultWallpaperFile, room);
  // The puzzle board, hidden until the login dialog takes it; its sets are
  // named in the program's own settings.
  PuzzleBoardWindow();
}

CmMenu* LobbyMenu(int) { return cmLoadMenu(Instance(), MAKEINTRESOURCEA(kLobbyMenuId)); }
void* LobbyAccelerators(int) { return LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(kLobbyAcceleratorsId)); }

}  // namespace

HWND CreateLoginScreen(int width, int height) {
  const LoginScreenKind kind = PickLoginScreen(width, height);
  auto* state = new ScreenState{nullptr, kind.dialog};
  if (HMODULE library = static_cast<HMODULE>(GetDataSetLibrary(7)))
    state->background =
        static_cast<HBITMAP>(LoadImageA(library, kind.background, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  HWND room = GetRoomWindow();
  HWND screen = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(kind.dialog), room ? room : GetMainFrame(),
                                   LoginScreenProc, reinterpret_cast<LPARAM>(state));
  if (!screen) {
    if (state->background) DeleteObject(state->background);
    delete state;
    return nullptr;
  }
  g_screen = screen;
  g_screenDialog = kind.dialog;
  ShowWindow(screen, SW_SHOW);
  SetActiveModelessDialog(screen);
  return screen;
}

int ResizeLoginScreen(int width, int height) {
  if (!g_screen) return 0;
  // While nobody is logged in the login dialog runs from the screen's own
  // message: the screen must outlive it.
  if (LoggedIn() && LoginScreenNeedsRebuild(g_screenDialog, width, height)) {
    DestroyWindow(g_screen);
    CreateLoginScreen(width, height);
    return 1;
  }
  CentreInRoom(g_screen);
  return 0;
}

HWND GetLoginScreen() { return g_screen; }
int GetLoginScreenDialog() { return g_screenDialog; }

int ActivateLobbyRoom(RoomRecord* room) {
  if (!room || g_screen) return 0;
  if (room->boardWindow) ShowWindow(static_cast<HWND>(room->boardWindow), SW_HIDE);
  HideNavigationBar();
  if (!room->setUp) {
    MakeLobbyResources(room);
    room->setUp = 1;
  }
  CoverBarPlace(true);
  int width = 0, height = 0;
  RoomWindowSize(&width, &height);
  HWND screen = CreateLoginScreen(width, height);
  if (screen && !LoggedIn()) PostMessageA(screen, RWM_LOGIN_BUTTONS, 0, 0);
  return 1;
}

int DeactivateLobbyRoom(RoomRecord*) {
  // However the lobby is left, its screen does not stay over the next room.
  if (g_screen) DestroyWindow(g_screen);
  CoverBarPlace(false);
  return 1;
}

void ReleaseLobbyRoom(RoomRecord* room, int) {
  if (g_screen) DestroyWindow(g_screen);
  StopLoginPuzzleThreads();
  DropPuzzleGame();
  if (room) room->roomData = nullptr;
}

int LobbyRoomCommand(void*, int) { return 0; }

void RegisterLobbyRoom() {
  static const RoomModule module = {ActivateLobbyRoom, DeactivateLobbyRoom, ReleaseLobbyRoom, LobbyMenu,
                                    LobbyRoomCommand,  nullptr,             LobbyAccelerators};
  RegisterRoomModule(ROOM_LOBBY, &module);
  SetLoginPuzzleBoard(&kLobbyPuzzleBoard);
}
