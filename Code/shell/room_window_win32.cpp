// The room window, its timer and the room switch's Windows side.
// The engine link's headers come before windows.h, whose language macros
// would otherwise rename the notation's languages.
#include "engine_player.h"
#include "engine_reply.h"

#include <windows.h>

#include "app_globals.h"
#include "app_messages.h"
#include "chess_clock.h"
#include "facet_frame.h"
#include "game_registry.h"
#include "game_room_win32.h"
#include "lobby_room.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "main_loop.h"
#include "room_switch.h"
#include "room_window.h"
#include "shell_services.h"
#include "status_line.h"
#include "wallpaper.h"
#include "window_table.h"

namespace {

HWND g_roomWindow = nullptr;
LockedRoomReplyQueue* g_queue = nullptr;
void (*g_movieLaunch)(HWND) = nullptr;
void (*g_onlineEvents)(WPARAM, LPARAM) = nullptr;
bool g_kidsRoomSeen = false;
PackedDib* g_wallpaper = nullptr;  // the current room's, built for the room window
CmMenu* g_menuOnFrame = nullptr;
void (*g_timerHook)() = nullptr;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }
bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

void UsePalette(HDC dc) {
  if (HPALETTE palette = GetAppPalette()) {
    SelectPalette(dc, palette, TRUE);
    ::RealizePalette(dc);
  }
}

// Until wallpapers are built, the room shows its two gradient colours.
void PaintGradient(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  const RoomRecord* record = GetCurrentRoomRecord();
  const COLORREF top = record ? COLORREF(record->gradient[0]) : RGB(90, 70, 50);
  const COLORREF bottom = record ? COLORREF(record->gradient[1]) : RGB(20, 15, 10);
  const int bands = 64, height = client.bottom - client.top;
  for (int i = 0; i < bands; ++i) {
    auto mix = [&](int shift) {
      const int a = (top >> shift) & 0xFF, b = (bottom >> shift) & 0xFF;
      return a + (b - a) * i / (bands - 1);
    };
    RECT band{client.left, client.top + height * i / bands, client.right, client.top + height * (i + 1) / bands};
    HBRUSH brush = CreateSolidBrush(RGB(mix(0), mix(8), mix(16)));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
}

void DrainRoomEvents() {
  while (g_queue && !IsRoomTimerHeld()) {
    EngineReplyBlock* block = g_queue->Take();
    if (!block) break;
    DispatchEngineOutput(block);
  }
  if (IsRoomTimerHeld()) return;
  ClockTimerProc(GetTickCount());
  if (g_timerHook) g_timerHook();
}

void OnFrameResized(HWND window, const RECT* client) {
  if (!client) return;
  const int32_t xywh[4] = {client->left, client->top, client->right - client->left, client->bottom - client->top};
  NumberedWindowOp(WOP_SET_RECT_XYWH, WIN_ROOM, reinterpret_cast<intptr_t>(xywh));
  SetWindowPos(window, nullptr, 0, 0, xywh[2], xywh[3], SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (IsNumberedWindowShown(WIN_NAVIGATION) && GetRoomNumber() == ROOM_DATABASE) {
    ShellRect bar{};
    NumberedWindowOp(WOP_GET_RECT, WIN_NAVIGATION, reinterpret_cast<intptr_t>(&bar));
    const int shift = bar.right - bar.left;
    if (HWND db = static_cast<HWND>(GetNumberedWindow(WIN_DATABASE)))
      SetWindowPos(db, nullptr, client->left + shift, client->top, xywh[2] - shift, xywh[3],
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

intptr_t ForwardToRoomHandler(HWND window, WPARAM first, LPARAM second) {
  RoomRecord* record = GetCurrentRoomRecord();
  if (!record || !record->messageCallback) return 0;
  return record->messageCallback(window, first, second);
}

LRESULT CALLBACK RoomWindowProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_CREATE:
      g_queue = new LockedRoomReplyQueue();
      SetRoomReplyQueue(g_queue);
      NumberedWindowOp(WOP_SET_HANDLE, WIN_ROOM, reinterpret_cast<intptr_t>(window));
      SetTimer(window, kRoomTimer, kRoomTimerMs, nullptr);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kRoomTimer);
      KillTimer(window, kKidsMovieTimer);
      SetRoomReplyQueue(nullptr);
      delete g_queue;  // frees what is still queued
      g_queue = nullptr;
      NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_ROOM, 0);
      dibDelete(g_wallpaper);
      g_wallpaper = nullptr;
      if (g_roomWindow == window) g_roomWindow = nullptr;
      return 0;
    case WM_TIMER:
      if (first == kRoomTimer) DrainRoomEvents();
      if (first == kKidsMovieTimer) {
        KillTimer(window, kKidsMovieTimer);
        if (g_movieLaunch) g_movieLaunch(GetMainFrame());
      }
      return 0;
    case WM_ERASEBKGND:
      if (g_wallpaper) PaintWallpaper(reinterpret_cast<HDC>(first), g_wallpaper);
      else PaintGradient(window, reinterpret_cast<HDC>(first));
      return 1;
    case WM_WINDOWPOSCHANGED: {
      NumberedWindowOp(WOP_SET_RECT_POS, WIN_ROOM, second);
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(second);
      if (!(pos->flags & SWP_NOSIZE)) {
        // The wallpaper is built for the window's size.
        if (g_wallpaper) SetRoomWallpaperBitmap(GetCurrentRoomRecord(), 0);
        if (GetLoginScreen()) ResizeLoginScreen(pos->cx, pos->cy);
      }
      return 0;
    }
    case WM_RBUTTONDOWN:
    case WM_CONTEXTMENU:
      ForwardToRoomHandler(window, first, second);
      return 0;
    case WM_SYSCOMMAND:
      if ((first & 0xFFF0) == SC_CLOSE) {
        NumberedWindowOp(WOP_SHOW, WIN_ROOM, WSC_HIDE);
        return 0;
      }
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      UsePalette(reinterpret_cast<HDC>(first));
      return 0;
    case RWM_FRAME_RESIZED:
      OnFrameResized(window, reinterpret_cast<const RECT*>(second));
      return 0;
    case RWM_ONLINE_EVENT:
      if (g_onlineEvents) g_onlineEvents(first, second);
      return 0;
    case RWM_TOURNAMENT_STEP:
      return 0;  // the tournament room steps through its own pane
  }
  return DefWindowProcA(window, message, first, second);
}

// The frame's menu commands go to the current room's handler.
int CurrentRoomCommand(HWND window, WPARAM first, LPARAM) {
  RoomRecord* record = GetCurrentRoomRecord();
  return record && record->commandHandler ? record->commandHandler(window, LOWORD(first)) : 0;
}

class WindowsRoomHost final : public RoomSwitchHost {
 public:
  void ClearStatusText() override {
    if (GetMainFrame()) ::ClearStatusText();
  }
  void SelectNavigationRoom(int room) override { ::SelectNavigationRoom(room); }
  void ShowNavigationBar() override { ::ShowNavigationBar(); }
  void SetMainMenu(CmMenu* menu, RoomCommandHandler) override {
    if (menu) g_menuOnFrame = menu;
    ::SetMainMenu(menu, CurrentRoomCommand);
  }
  void SetAccelerators(void* table) override { SetActiveAccelerators(table); }
  void ShowShortcutTiles(RoomRecord* record) override {
    ::ShowShortcutTiles(record->room, record->tileId, record->tileBitmap);
  }
  void UpdateMainMenuState() override { Services().updateMainMenuState(); }
  CmMenu* CopyMainMenu() override { return cmLoadMenu(Instance(), MAKEINTRESOURCEA(kMainMenuId)); }
  // The menu last put on the frame belongs to the frame's bar, which frees
  // it with the frame.
  void FreeMenu(CmMenu* menu) override {
    if (menu && menu != g_menuOnFrame) cmDestroyMenu(menu);
  }
  GameRecord* RoomGame(int room) override { return GetGameForOwner(uint32_t(room)); }
  void SetWallpaper(RoomRecord* record) override {
    // A room whose module set up no wallpaper shows the default one.
    if (record && !record->wallpaperBitmap) LoadWallpaper(kDefaultWallpaperFile, record);
    SetRoomWallpaperBitmap(record, 0);
    if (g_roomWindow) InvalidateRect(g_roomWindow, nullptr, TRUE);
  }
  void PlaceBoardWindow(RoomRecord* record, int show) override {
    if (record->room == ROOM_KIDS && !g_kidsRoomSeen && g_roomWindow) {
      g_kidsRoomSeen = true;
      SetTimer(g_roomWindow, kKidsMovieTimer, kKidsMovieDelayMs, nullptr);
    }
    HWND board = static_cast<HWND>(record->boardWindow);
    if (!board) return;
    NumberedWindowOp(WOP_REPLACE_HANDLE, WIN_BOARD, reinterpret_cast<intptr_t>(board));
    SetWindowPos(board, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    if (show) ShowWindow(board, SW_SHOW);
  }
};

WindowsRoomHost g_host;

}  // namespace

int RegisterRoomWindowClass() {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = RoomWindowProc;
  wc.cbWndExtra = 4 * int(sizeof(LONG_PTR));
  wc.hInstance = Instance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kRoomWindowClass;
  if (RegisterClassA(&wc)) return 1;
  OutputDebugStringA("Register Fail");
  return 0;
}

int UnregisterRoomWindowClass() { return UnregisterClassA(kRoomWindowClass, Instance()) ? 1 : 0; }

HWND CreateRoomWindow() {
  HWND frame = GetMainFrame();
  RECT r{};
  ShellRect stored{};
  NumberedWindowOp(WOP_GET_RECT, WIN_ROOM, reinterpret_cast<intptr_t>(&stored));
  r = RECT{stored.left, stored.top, stored.right, stored.bottom};
  if (Empty(r) || GetLayoutResetFlag()) {
    GetClientRect(frame, &r);
    ShellRect bar{};
    NumberedWindowOp(WOP_GET_RECT, WIN_NAVIGATION, reinterpret_cast<intptr_t>(&bar));
    r.left += bar.right > bar.left ? bar.right - bar.left : kNavigationBarWidth;
  }
  g_roomWindow = CreateWindowExA(0, kRoomWindowClass, "Room", WS_CHILD | WS_CLIPSIBLINGS, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, frame, reinterpret_cast<HMENU>(1), Instance(),
                                 nullptr);
  SetRoomNumber(kNoRoom);
  return g_roomWindow;
}

HWND GetRoomWindow() { return g_roomWindow; }

int SetRoomWallpaperBitmap(RoomRecord* record, int) {
  if (!record) return 0;
  ShellRect stored{};
  NumberedWindowOp(WOP_GET_RECT, WIN_ROOM, reinterpret_cast<intptr_t>(&stored));
  RECT area{0, 0, stored.right - stored.left, stored.bottom - stored.top};
  if (g_roomWindow && (area.right <= 0 || area.bottom <= 0)) GetClientRect(g_roomWindow, &area);
  PackedDib* built = BuildWallpaperBitmap(record, &area);
  if (!built) return 0;
  // The room window owns its built picture and the record its source, so
  // the old picture goes whether or not the caller keeps it for a board
  // scene: no scene holds it yet.
  dibDelete(g_wallpaper);
  g_wallpaper = built;
  if (g_roomWindow) InvalidateRect(g_roomWindow, nullptr, TRUE);
  return 1;
}

void* GetRoomWallpaperBitmap() { return g_wallpaper; }

void SetRoomMovieLaunch(void (*launch)(HWND owner)) { g_movieLaunch = launch; }
void SetRoomOnlineEventHandler(void (*handler)(WPARAM, LPARAM)) { g_onlineEvents = handler; }

void SetRoomTimerHook(void (*hook)()) { g_timerHook = hook; }

void InstallRoomSwitchHost() { SetRoomSwitchHost(&g_host); }
