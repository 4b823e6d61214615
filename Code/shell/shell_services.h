// Calls from the shell into parts of the program that are built elsewhere
// or later: the program-wide message box, the numbered-window table, sounds
// and voice clips, layout files, menu commands, printing, the board view,
// personality filters, the database window, idle levels, notation
// re-rendering and the processor benchmark. Each entry starts as the part's
// own fallback (the system message box; no stored window rectangle; silence;
// nothing saved), so the shell builds, runs and is tested before those parts
// exist. The part that builds an entry installs it at start-up:
//
//   ShellServices s = GetShellServices();
//   s.playGameSound = PlayGameSound;
//   SetShellServices(s);
//
// Window handles, palettes and position records are passed as void*, so the
// table stays free of windows.h.
//
// Interface: ShellRect, ShellServices, GetShellServices, SetShellServices,
// DefaultShellServices, Services.
#pragma once

#include <cstdint>

struct GameRecord;
struct MoveRecord;
struct Board;

// A rectangle with the layout of the system's RECT.
struct ShellRect {
  int32_t left, top, right, bottom;
};

using MessageBoxCallback = void (*)(int result, uint32_t data);

struct ShellServices {
  // Program-wide message box: the button flags of the system box; answers
  // its result (6 Yes, 7 No, 1 OK, 2 Cancel). Fallback: the system box owned
  // by the main frame with caption string 3 "Rookwell" (natively: 0, nothing
  // shown).
  int (*appMessageBox)(const char* text, uint32_t flags);
  int (*appMessageBoxOwned)(const char* text, uint32_t flags, void* owner);
  // A box that stays up while the program runs on; -60 seconds: no time-out.
  // Fallback: the system box, modal; its result goes to the callback and
  // null is returned.
  void* (*showModelessMessageBox)(const char* text, uint32_t flags, MessageBoxCallback callback,
                                  uint32_t data, int timeoutSeconds);

  // Numbered windows 0..27 and the rooms' layouts. Fallback: no window is
  // known, no rectangle is stored, nothing is shown.
  void* (*getNumberedWindow)(int id);
  int (*isNumberedWindowShown)(int id);
  int (*numberedWindowOp)(int op, int id, intptr_t arg);
  // Sends (post 0) or posts a message to windows 4..27; 1 when any answered
  // non-zero.
  int (*broadcastToWindows)(uint32_t message, uintptr_t wParam, intptr_t lParam, int post);
  // The stored rectangle of window `id` in room `room`; 0 for a null rect.
  int (*getRoomWindowRect)(int room, int id, ShellRect* rect);
  int (*setLayoutResetFlag)(int flag);  // answers the previous flag
  int (*getLayoutResetFlag)();
  int (*getScreenWidth)();
  int (*getScreenHeight)();
  int (*onFrameWindowPosChanged)(void* windowPos);
  // The room window's current room; 9999 before the first switch and while
  // there is no room window.
  int (*getCurrentRoom)();
  // A message sent straight to one window (the system's SendMessageA in the
  // Windows build; natively nothing and 0).
  intptr_t (*sendToWindow)(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
  // The same posted, from any thread (the system's PostMessageA; natively
  // nothing).
  void (*postToWindow)(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

  // Game sounds, the sound device and the voice clips. Fallback: silence;
  // the device is always there.
  int (*playGameSound)(int n);
  int (*playMoveSound)(const MoveRecord* move, const Board* before, int side);
  void (*releaseSoundDevice)();
  int (*reacquireSoundDevice)();  // 1 when the device is usable
  int (*isVoiceClipPlaying)();
  void (*stopVoiceClip)();

  // Layout files, menu commands, printing. Fallback: nothing happens.
  int (*saveUserLayout)();
  int (*mainMenuCommand)(void* window, int id);  // 1 when the id was a command
  void (*updateMainMenuState)();
  void (*setPrintPalette)(void* palette);

  // The board view of a room: its orientation (1 = Black at the bottom) and
  // the rectangle of its board scene. Fallback: white at the bottom, an
  // empty rectangle.
  int (*getBoardFlipped)(void* boardView);
  void (*setBoardFlipped)(void* boardView, int flipped);
  void (*getBoardSceneRect)(void* boardView, ShellRect* rect, void** boardWindow);

  // Settings kept by other modules in the current settings ini. Fallback:
  // nothing read or written; the database window's save answers 0 (no
  // window to give its settings).
  void (*loadPersonalityFilters)();
  void (*savePersonalityFilters)();
  void (*loadDatabaseSettings)(const char* userName);
  int (*saveDatabaseSettings)(const char* iniPath);

  // The main loop's idle level (-2 restores the previous one).
  void (*setIdleLevel)(int level);
  // Re-renders the move texts of a game in a notation style.
  void (*changeGameNotation)(GameRecord* game, int style);
  // The processor benchmark: iterations per second times 10. Fallback:
  // RWBench.dll in the Windows build, the same workload natively.
  int32_t (*cpuBenchmark)(int32_t iterations, char* text);
};

// The table in use. SetShellServices copies the table; a null entry in it
// takes that entry's fallback.
const ShellServices& GetShellServices();
void SetShellServices(const ShellServices& services);
ShellServices DefaultShellServices();

// Shorthand for GetShellServices().
inline const ShellServices& Services() { return GetShellServices(); }
