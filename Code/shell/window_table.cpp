#include "window_table.h"

#include <cstring>
#include <initializer_list>

#include "app_messages.h"
#include "room_records.h"

namespace {

struct Table {
  int initialised;
  int screenWidth, screenHeight;
  int layoutReset;
  void* windows[kWindowCount];
  int room;
  RoomLayout layouts[kRoomCount];
};

Table g_table;
WindowSystem* g_system = nullptr;

bool ValidId(int id) { return id >= 0 && id < kWindowCount; }
bool ValidRoom(int room) { return room >= 0 && room < kRoomCount; }
bool Empty(const ShellRect& r) { return r.right <= r.left || r.bottom <= r.top; }

LayoutEntry& Entry(int id) { return g_table.layouts[g_table.room].entries[id]; }

void ShowWindowNow(int id, bool show) {
  if (g_system && g_table.windows[id]) g_system->Show(g_table.windows[id], show);
}

void ShowCommand(int id, int command) {
  LayoutEntry& e = Entry(id);
  if (command == WSC_TOGGLE) command = e.shown ? WSC_HIDE : WSC_SHOW;
  switch (command) {
    case WSC_HIDE:
      ShowWindowNow(id, false);
      e.shown = 0;
      break;
    case WSC_SHOW:
      ShowWindowNow(id, true);
      e.shown = 1;
      break;
    case WSC_HIDE_FOR_NOW:
      if (e.shown) {
        ShowWindowNow(id, false);
        e.hiddenForNow = 1;
      }
      break;
    case WSC_RESTORE:
      if (e.hiddenForNow) {
        ShowWindowNow(id, true);
        e.hiddenForNow = 0;
      }
      break;
    default:
      break;
  }
}

// An empty rectangle in `to` takes `from`'s; when `from` is empty too and
// `window` exists, its present rectangle is read into `from` first.
void TakeOver(ShellRect& to, ShellRect& from, void* window) {
  if (!Empty(to)) return;
  if (Empty(from) && window && g_system) g_system->WindowRect(window, &from);
  to = from;
}

}  // namespace

void SetWindowSystem(WindowSystem* system) { g_system = system; }

void InitWindowTable() {
  std::memset(&g_table, 0, sizeof g_table);
  g_table.initialised = 1;
  if (g_system) g_system->ScreenSize(&g_table.screenWidth, &g_table.screenHeight);
  g_table.room = 0;
  g_table.layouts[0].entries[WIN_MAIN_FRAME].shown = 1;
}

int GetScreenWidth() { return g_table.initialised ? g_table.screenWidth : 0; }
int GetScreenHeight() { return g_table.initialised ? g_table.screenHeight : 0; }

int SetLayoutResetFlag(int flag) {
  const int old = g_table.layoutReset;
  g_table.layoutReset = flag;
  return old;
}

int GetLayoutResetFlag() { return g_table.layoutReset; }

void* GetNumberedWindow(int id) { return ValidId(id) ? g_table.windows[id] : nullptr; }

int IsNumberedWindowShown(int id) { return ValidId(id) ? Entry(id).shown : 0; }

int NumberedWindowOp(int op, int id, intptr_t arg) {
  if (op < WOP_SET_HANDLE || op > WOP_GET_SHOWN || !ValidId(id)) return 0;
  LayoutEntry& e = Entry(id);
  void*& window = g_table.windows[id];
  switch (op) {
    case WOP_SET_HANDLE:
      window = reinterpret_cast<void*>(arg);
      break;
    case WOP_CLEAR_HANDLE:
      window = nullptr;
      break;
    case WOP_GET_RECT:
    case WOP_GET_RECT_TOO:
      if (arg) *reinterpret_cast<ShellRect*>(arg) = e.rect;
      break;
    case WOP_SET_RECT_XYWH:
      if (arg) {
        const int32_t* v = reinterpret_cast<const int32_t*>(arg);
        e.rect = ShellRect{v[0], v[1], v[0] + v[2], v[1] + v[3]};
      }
      break;
    case WOP_SET_RECT_POS:
      if (arg) {
        const WindowPosRecord* p = reinterpret_cast<const WindowPosRecord*>(arg);
        e.rect = ShellRect{p->x, p->y, p->x + p->cx, p->y + p->cy};
      } else if (window && g_system) {
        g_system->WindowRect(window, &e.rect);
      }
      break;
    case WOP_SHOW:
      ShowCommand(id, int(arg));
      break;
    case WOP_DISABLE:
    case WOP_ENABLE:
      if (window && g_system) g_system->Enable(window, op == WOP_ENABLE);
      break;
    case WOP_REPLACE_HANDLE:
      if (arg) {
        if (window && window != reinterpret_cast<void*>(arg) && g_system) g_system->Show(window, false);
        window = reinterpret_cast<void*>(arg);
      }
      break;
    case WOP_GET_SHOWN:
      if (arg) *reinterpret_cast<int32_t*>(arg) = e.shown;
      break;
  }
  return 1;
}

int BroadcastToWindows(uint32_t message, uintptr_t wParam, intptr_t lParam, int post) {
  int any = 0;
  if (!g_system) return 0;
  for (int id = WIN_BOARD; id < kWindowCount; ++id) {
    void* w = g_table.windows[id];
    if (!w) continue;
    const intptr_t r = post ? g_system->Post(w, message, wParam, lParam) : g_system->Send(w, message, wParam, lParam);
    if (r) any = 1;
  }
  return any;
}

RoomLayout* GetRoomLayout(int room) { return ValidRoom(room) ? &g_table.layouts[room] : nullptr; }

int SetRoomLayout(int room, const RoomLayout* layout) {
  if (!layout || !ValidRoom(room)) return 0;
  g_table.layouts[room] = *layout;
  // The current room's own layout: the frame and panels go to it at once.
  if (room == g_table.room) ApplyRoomLayout(room);
  return 1;
}

int GetRoomWindowRect(int room, int id, ShellRect* rect) {
  if (!rect || !ValidRoom(room) || !ValidId(id)) return 0;
  *rect = g_table.layouts[room].entries[id].rect;
  return 1;
}

int DefaultWindowRect(int id, int width, int height, ShellRect* rect) {
  if (!rect) return 0;
  const ShellRect& frame = Entry(WIN_MAIN_FRAME).rect;
  const int left = frame.right + 20 < g_table.screenWidth ? frame.right : g_table.screenWidth - width;
  int top = id * 20;
  if (top + 10 > g_table.screenHeight) top = 0;
  *rect = ShellRect{left, top, left + width, top + height};
  return 1;
}

int ApplyRoomLayout(int room) {
  if (!ValidRoom(room)) return room;
  const int old = g_table.room;
  g_table.room = room;
  RoomLayout& from = g_table.layouts[old];
  RoomLayout& to = g_table.layouts[room];
  const bool same = old == room;

  // Frame, then the navigation bar: never to an empty rectangle.
  for (int id : {int(WIN_MAIN_FRAME), int(WIN_NAVIGATION)}) {
    void* w = g_table.windows[id];
    if (!same) TakeOver(to.entries[id].rect, from.entries[id].rect, w);
    if (!w || !g_system) continue;
    const int show = id == WIN_NAVIGATION ? (to.entries[id].shown ? 1 : 0) : -1;
    if (!Empty(to.entries[id].rect)) g_system->Place(w, to.entries[id].rect, show);
    else if (show >= 0) g_system->Show(w, show != 0);
  }

  if (g_system) g_system->BeginBatch(22);
  for (int id = WIN_ADVICE; id <= WIN_ADVISOR_MONITOR; ++id) {
    void* w = g_table.windows[id];
    if (!w) continue;
    LayoutEntry& e = to.entries[id];
    if (Empty(e.rect)) {
      if (Empty(from.entries[id].rect)) continue;  // nowhere stored: left alone
      e.rect = from.entries[id].rect;
    }
    if (g_system) g_system->PlaceInBatch(w, e.rect, e.shown ? 1 : 0);
  }
  if (g_system) g_system->EndBatch();

  for (int id = WIN_ROOM; id <= WIN_BOARD; ++id)
    if (Empty(to.entries[id].rect)) to.entries[id].rect = from.entries[id].rect;
  return old;
}

int OnFrameWindowPosChanged(const WindowPosRecord* windowPos) {
  if (!windowPos) return 1;
  LayoutEntry& frame = Entry(WIN_MAIN_FRAME);
  if (windowPos->flags & kWindowPosNoSize) {
    const int dx = windowPos->x - frame.rect.left;
    const int dy = windowPos->y - frame.rect.top;
    if ((dx || dy) && g_system && !Empty(frame.rect)) {
      g_system->BeginBatch(22);
      for (int id = WIN_ADVICE; id <= WIN_ADVISOR_MONITOR; ++id) {
        void* w = g_table.windows[id];
        const ShellRect& r = Entry(id).rect;
        if (!w || Empty(r)) continue;
        const bool inside = r.left >= frame.rect.left && r.top >= frame.rect.top && r.right <= frame.rect.right &&
                            r.bottom <= frame.rect.bottom;
        if (!inside) continue;
        ShellRect present;
        if (!g_system->WindowRect(w, &present)) present = r;
        const ShellRect moved{present.left + dx, present.top + dy, present.right + dx, present.bottom + dy};
        g_system->PlaceInBatch(w, moved, -1);
      }
      g_system->EndBatch();
    }
  } else if (g_system && g_table.windows[WIN_MAIN_FRAME]) {
    ShellRect client{};
    g_system->ClientRect(g_table.windows[WIN_MAIN_FRAME], &client);
    intptr_t answer = 0;
    if (g_table.windows[WIN_NAVIGATION])
      answer = g_system->Send(g_table.windows[WIN_NAVIGATION], RWM_FRAME_RESIZED, 0, reinterpret_cast<intptr_t>(&client));
    if (g_table.windows[WIN_ROOM])
      g_system->Send(g_table.windows[WIN_ROOM], RWM_FRAME_RESIZED, uintptr_t(answer), reinterpret_cast<intptr_t>(&client));
  }
  NumberedWindowOp(WOP_SET_RECT_POS, WIN_MAIN_FRAME, reinterpret_cast<intptr_t>(windowPos));
  return 1;
}

int GetTableRoom() { return g_table.room; }

namespace {
int OnFramePos(void* p) { return OnFrameWindowPosChanged(static_cast<const WindowPosRecord*>(p)); }
}  // namespace

void InstallWindowTableServices() {
  ShellServices s = GetShellServices();
  s.getNumberedWindow = GetNumberedWindow;
  s.isNumberedWindowShown = IsNumberedWindowShown;
  s.numberedWindowOp = NumberedWindowOp;
  s.broadcastToWindows = BroadcastToWindows;
  s.getRoomWindowRect = GetRoomWindowRect;
  s.setLayoutResetFlag = SetLayoutResetFlag;
  s.getLayoutResetFlag = GetLayoutResetFlag;
  s.getScreenWidth = GetScreenWidth;
  s.getScreenHeight = GetScreenHeight;
  s.onFrameWindowPosChanged = OnFramePos;
  SetShellServices(s);
}
