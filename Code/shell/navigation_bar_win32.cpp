// The navigation bar: one bitmap button per room down the frame's left edge.
#include <windows.h>

#include "app_messages.h"
#include "cursor_set.h"
#include "data_sets.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "facet_frame.h"
#include "game_record.h"
#include "game_registry.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "room_switch.h"
#include "room_window.h"
#include "shell_services.h"
#include "window_table.h"

namespace {

struct NavButton {
  int id;
  int room;
  int captionString;
  int height;
  int advance;
};
// Top to bottom.
constexpr NavButton kButtons[] = {
    {21595, ROOM_LOBBY, 1150, 61, 61},   {21565, ROOM_GAME, 1151, 52, 55},      {21555, ROOM_CLASS, 1153, 57, 57},
    {21580, ROOM_TOURNAMENT, 1156, 62, 62}, {21570, ROOM_LIBRARY, 1154, 61, 61}, {21550, ROOM_KIDS, 1152, 61, 61},
    {21560, ROOM_DATABASE, 1155, 55, 55}, {21575, ROOM_ONLINE, 1157, 63, 63},
};
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | 0x84;  // bitmap faces, radio button
// Lesson games carry this kind bit; their voice clip ends before a switch.
constexpr uint32_t kLessonGame = 0x1000;

HWND g_bar = nullptr;
PackedDib* g_tile = nullptr;  // "NAVBAR" in the resource library, in place
int g_waitingRoom = -1;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

struct BackgroundRequest {
  RECT rect;
  PackedDib* copy;
};

void Realize(HDC dc) {
  if (HPALETTE palette = GetAppPalette()) {
    SelectPalette(dc, palette, TRUE);
    RealizePalette(dc);
  }
}

void MoveDatabaseWindow(bool besideBar) {
  HWND db = static_cast<HWND>(GetNumberedWindow(WIN_DATABASE));
  HWND frame = GetMainFrame();
  if (!db || !frame || GetRoomNumber() != ROOM_DATABASE) return;
  RECT client;
  GetClientRect(frame, &client);
  ShellRect bar{};
  NumberedWindowOp(WOP_GET_RECT, WIN_NAVIGATION, reinterpret_cast<intptr_t>(&bar));
  const int shift = besideBar ? bar.right - bar.left : 0;
  SetWindowPos(db, nullptr, shift, 0, client.right - shift, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CreateButtons(HWND bar) {
  int y = 0;
  for (const NavButton& b : kButtons) {
    char caption[32] = "";
    LoadStringA(Instance(), UINT(b.captionString), caption, sizeof caption);
    CreateWindowExA(WS_EX_TRANSPARENT, "CGUIBMPButton", caption, kButtonStyle, 0, y, kNavigationBarWidth, b.height,
                    bar, reinterpret_cast<HMENU>(intptr_t(b.id)), Instance(), nullptr);
    y += b.advance + 1;
  }
}

LRESULT CALLBACK NavigationBarProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_CREATE: {
      NumberedWindowOp(WOP_SET_HANDLE, WIN_NAVIGATION, reinterpret_cast<intptr_t>(window));
      void* tile = nullptr;
      if (LoadLibraryBitmap("NAVBAR", 7, &tile) && tile) {
        g_tile = static_cast<PackedDib*>(tile);
        dibColorsToIndices(g_tile);
      }
      CreateButtons(window);
      break;
    }
    case WM_DESTROY:
      KillTimer(window, kNavigationTimer);
      NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_NAVIGATION, 0);
      g_tile = nullptr;  // the library's resource, in place: not ours to free
      if (g_bar == window) g_bar = nullptr;
      break;
    case WM_COMMAND: {
      const int room = NavigationButtonRoom(LOWORD(first));
      if (room >= 0 && (HIWORD(first) == BN_CLICKED)) GoToRoom(room);
      return 0;
    }
    case WM_TIMER:
      if (first == kNavigationTimer && !Services().isVoiceClipPlaying()) {
        KillTimer(window, kNavigationTimer);
        const int room = g_waitingRoom;
        g_waitingRoom = -1;
        SwitchRoom(room);
      }
      return 0;
    case WM_CHAR:
      if (HWND frame = GetMainFrame()) PostMessageA(frame, message, first, second);
      return 0;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(first);
      Realize(dc);
      if (g_tile) {
        RECT client;
        GetClientRect(window, &client);
        dibTileBackground(nullptr, dc, g_tile, &client);
      }
      return 1;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      Realize(reinterpret_cast<HDC>(first));
      return 0;
    case WM_GETMINMAXINFO: {
      MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(second);
      info->ptMinTrackSize = POINT{70, 450};
      info->ptMaxSize = POINT{100, 1400};
      info->ptMaxTrackSize = POINT{100, 1400};
      return 0;
    }
    case WM_WINDOWPOSCHANGED:
      NumberedWindowOp(WOP_SET_RECT_POS, WIN_NAVIGATION, second);
      break;
    case RWM_FRAME_RESIZED: {
      const RECT* client = reinterpret_cast<const RECT*>(second);
      if (client) {
        const int height = client->bottom - client->top;
        SetWindowPos(window, nullptr, 0, 0, kNavigationBarWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const int32_t xywh[4] = {0, 0, kNavigationBarWidth, height};
        NumberedWindowOp(WOP_SET_RECT_XYWH, WIN_NAVIGATION, reinterpret_cast<intptr_t>(xywh));
      }
      return LRESULT(first);
    }
    case CWM_GETBACKGROUND: {
      BackgroundRequest* request = reinterpret_cast<BackgroundRequest*>(second);
      if (!request || !request->copy || !g_tile) return 0;
      const DibRect r{request->rect.left, request->rect.top, request->rect.right, request->rect.bottom};
      return dibPaintControlBackgroundOffset(g_tile, request->copy, &r, 0, 0);
    }
  }
  return cwDefWindowProc(window, message, first, second);
}

}  // namespace

int NavigationButtonRoom(int buttonId) {
  for (const NavButton& b : kButtons)
    if (b.id == buttonId) return b.room;
  return -1;
}

int RegisterNavigationBarClass() {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = NavigationBarProc;
  wc.cbWndExtra = 3 * int(sizeof(LONG_PTR));
  wc.hInstance = Instance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
  wc.lpszClassName = kNavigationBarClass;
  return RegisterClassA(&wc) ? 1 : 0;
}

int UnregisterNavigationBarClass() { return UnregisterClassA(kNavigationBarClass, Instance()) ? 1 : 0; }

HWND CreateNavigationBar() {
  HWND frame = GetMainFrame();
  ShellRect stored{};
  NumberedWindowOp(WOP_GET_RECT, WIN_NAVIGATION, reinterpret_cast<intptr_t>(&stored));
  RECT r{stored.left, stored.top, stored.right, stored.bottom};
  if (r.right <= r.left || r.bottom <= r.top || GetLayoutResetFlag()) {
    RECT client{};
    if (frame) GetClientRect(frame, &client);
    r = RECT{0, 0, kNavigationBarWidth, client.bottom - client.top};
  }
  g_bar = cwCreateWindowEx(0, kNavigationBarClass, "Navigation", WS_CHILD, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, frame, reinterpret_cast<HMENU>(intptr_t(WIN_NAVIGATION)), Instance(),
                           nullptr);
  const int32_t xywh[4] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  NumberedWindowOp(WOP_SET_RECT_XYWH, WIN_NAVIGATION, reinterpret_cast<intptr_t>(xywh));
  return g_bar;
}

int ShowNavigationBar() {
  HWND bar = static_cast<HWND>(GetNumberedWindow(WIN_NAVIGATION));
  if (bar && IsWindowVisible(bar)) return 1;
  ShellRect r{};
  NumberedWindowOp(WOP_GET_RECT, WIN_NAVIGATION, reinterpret_cast<intptr_t>(&r));
  if (r.right <= r.left || r.bottom <= r.top) return 0;
  NumberedWindowOp(WOP_SHOW, WIN_NAVIGATION, WSC_SHOW);
  if (bar) SetWindowPos(bar, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  MoveDatabaseWindow(true);
  return 1;
}

void HideNavigationBar() {
  NumberedWindowOp(WOP_SHOW, WIN_NAVIGATION, WSC_HIDE);
  MoveDatabaseWindow(false);
}

int SelectNavigationRoom(int room) {
  HWND bar = static_cast<HWND>(GetNumberedWindow(WIN_NAVIGATION));
  int checked = -1;
  for (const NavButton& b : kButtons) {
    const bool on = room != ROOM_LOBBY && b.room == room;
    if (on) checked = b.id;
    if (bar) SendDlgItemMessageA(bar, b.id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return checked;
}

int GoToRoom(int room) {
  const int before = GetRoomNumber();
  HWND frame = GetMainFrame();
  SetAppCursor(frame, 0);
  GameRecord* game = GetCurrentGame();
  if (Services().isVoiceClipPlaying() && game && (game->kind & kLessonGame)) {
    Services().stopVoiceClip();  // marked finished: the switch waits for its end
    g_waitingRoom = room;
    if (HWND bar = static_cast<HWND>(GetNumberedWindow(WIN_NAVIGATION)))
      SetTimer(bar, kNavigationTimer, kNavigationTimerMs, nullptr);
  } else {
    SwitchRoom(room);
  }
  SetAppCursor(frame, 2);
  return before;
}
