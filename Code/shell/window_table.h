// The numbered windows of the program: one process-wide table that keeps,
// for each WindowId 0..27, the window's handle and, for each of the eight
// rooms, where the window stands and whether it is shown. Every panel is
// reached, shown, hidden, enabled and moved by number through it; a room
// switch re-applies the new room's placement and a drag of the main frame
// takes the panels lying on it along.
//
// The table is OS-free: it drives windows through a WindowSystem, which the
// Windows build fills with the system's calls (window_table_win32.cpp) and
// the tests with fake windows.
//
// Interface: WindowId, kWindowCount, LayoutEntry, RoomLayout, WindowPosRecord,
// WindowSystem, SetWindowSystem, InitWindowTable, GetScreenWidth,
// GetScreenHeight, SetLayoutResetFlag, GetLayoutResetFlag, GetNumberedWindow,
// IsNumberedWindowShown, NumberedWindowOp, BroadcastToWindows, GetRoomLayout,
// SetRoomLayout, GetRoomWindowRect, DefaultWindowRect, ApplyRoomLayout,
// OnFrameWindowPosChanged, GetTableRoom, InstallWindowTableServices.
#pragma once

#include <cstdint>

#include "shell_services.h"

constexpr int kWindowCount = 28;

enum WindowId : int {
  WIN_MAIN_FRAME = 0,
  WIN_ROOM = 1,
  WIN_NAVIGATION = 2,
  WIN_DATABASE = 3,
  WIN_BOARD = 4,
  WIN_ADVICE = 5,
  WIN_GAME_STATUS = 6,
  WIN_CAPTURED = 7,
  WIN_THINKING = 8,
  WIN_THINK_LINES = 9,
  WIN_SHORTCUTS = 10,
  WIN_CLASSROOM_PANEL = 11,
  WIN_KIDS_PANEL = 12,
  WIN_ANNOTATION = 13,
  WIN_LEGAL_MOVES = 14,
  WIN_STATISTICS = 15,
  WIN_COACH = 16,
  WIN_CHAT = 17,
  WIN_USERS = 18,
  WIN_CHALLENGE = 19,
  WIN_OPENINGS = 20,
  WIN_TUTORIAL = 21,
  WIN_CURRICULUM = 22,
  WIN_CUSTOMIZE_BOARD = 23,
  WIN_BLACK_MONITOR = 24,
  WIN_WHITE_MONITOR = 25,
  WIN_ADVISOR_MONITOR = 26,
  WIN_RECEIVED_CHALLENGE = 27,
};
// The key of window `id` in layout files is string resource kWindowKeyString + id.
constexpr int kWindowKeyString = 10;

// Operations of NumberedWindowOp.
enum WindowOp : int {
  WOP_SET_HANDLE = 0,
  WOP_CLEAR_HANDLE = 1,
  WOP_GET_RECT = 2,
  WOP_GET_RECT_TOO = 3,
  WOP_SET_RECT_XYWH = 4,
  WOP_SET_RECT_POS = 5,
  WOP_SHOW = 6,
  WOP_DISABLE = 7,
  WOP_ENABLE = 8,
  WOP_REPLACE_HANDLE = 9,
  WOP_GET_SHOWN = 10,
};
// Show commands of WOP_SHOW (the system's numbers).
enum WindowShowCommand : int {
  WSC_HIDE = 0,
  WSC_SHOW = 5,
  WSC_TOGGLE = 9,
  WSC_HIDE_FOR_NOW = 12,
  WSC_RESTORE = 13,
};

struct LayoutEntry {
  ShellRect rect;  // screen pixels; empty: no stored placement
  int32_t shown;
  int32_t hiddenForNow;
};

struct RoomLayout {
  LayoutEntry entries[kWindowCount];
};

// The layout of the system's WINDOWPOS.
struct WindowPosRecord {
  void* window;
  void* insertAfter;
  int32_t x, y, cx, cy;
  uint32_t flags;
};
constexpr uint32_t kWindowPosNoSize = 0x0001;  // SWP_NOSIZE

// What the table needs of the window system.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual void ScreenSize(int* width, int* height) = 0;
  // The window's rectangle on the screen; false when it has none.
  virtual bool WindowRect(void* window, ShellRect* rect) = 0;
  virtual bool ClientRect(void* window, ShellRect* rect) = 0;
  virtual void Show(void* window, bool show) = 0;
  virtual void Enable(void* window, bool enable) = 0;
  // Moves and sizes without z-order change or position-changing notice;
  // show: -1 leaves the visibility, 0 hides, 1 shows.
  virtual void Place(void* window, const ShellRect& rect, int show) = 0;
  // A batch of Place calls committed together.
  virtual void BeginBatch(int count) = 0;
  virtual void PlaceInBatch(void* window, const ShellRect& rect, int show) = 0;
  virtual void EndBatch() = 0;
  virtual intptr_t Send(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  virtual intptr_t Post(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

// Null: no window system (nothing is moved or shown, the screen is 0 x 0).
void SetWindowSystem(WindowSystem* system);

void InitWindowTable();
int GetScreenWidth();
int GetScreenHeight();
int SetLayoutResetFlag(int flag);  // answers the previous flag
int GetLayoutResetFlag();
// Ids outside 0..27 answer null / 0.
void* GetNumberedWindow(int id);
int IsNumberedWindowShown(int id);
// 1 for ops 0..10 on a window 0..27, else 0 and nothing changes.
int NumberedWindowOp(int op, int id, intptr_t arg);
int BroadcastToWindows(uint32_t message, uintptr_t wParam, intptr_t lParam, int post);
// Null for a room outside 0..7.
RoomLayout* GetRoomLayout(int room);
int SetRoomLayout(int room, const RoomLayout* layout);
int GetRoomWindowRect(int room, int id, ShellRect* rect);
int DefaultWindowRect(int id, int width, int height, ShellRect* rect);
// Answers the previous room; a room outside 0..7 changes nothing and comes back.
int ApplyRoomLayout(int room);
int OnFrameWindowPosChanged(const WindowPosRecord* windowPos);
// The room whose layout the operations act on.
int GetTableRoom();

// Points the shell's service entries for numbered windows at this table.
void InstallWindowTableServices();
