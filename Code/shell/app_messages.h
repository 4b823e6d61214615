// The private window messages of the main program, in one place, so that
// every module sends and handles the same numbers. Each handler lives with
// the window that receives it; this header only fixes the numbers and what
// the two parameters carry. OS-free: modules without windows.h include it.
//
// Interface: the RWM_* message numbers, the AppGameEvent codes of
// RWM_GAME_EVENT, the toolkit's numbers the program uses.
#pragma once

#include <cstdint>

enum AppMessage : uint32_t {
  // Splash thread: end its loop (thread message). Also the board's "move
  // entered" offer to the board's owner window (wParam/lParam per board).
  RWM_SPLASH_END = 0x8001,
  RWM_BOARD_MOVE_OFFER = 0x8001,
  // Frame resized: to the navigation bar (wParam 0), then to the room window
  // (wParam the bar's answer); lParam points to the frame's client RECT.
  RWM_FRAME_RESIZED = 0x8102,
  // Game event to windows 4..27: wParam an AppGameEvent, lParam the game.
  RWM_GAME_EVENT = 0x8103,
  RWM_LOGIN_BUTTONS = 0x8104,     // login screen: button state
  RWM_MSGBOX_TIMEOUT = 0x8105,    // a modeless message box's time ran out
  RWM_ADVICE_STATE = 0x8106,      // wParam 0, 1 or 3
  RWM_ANALYSIS_STATE = 0x8107,    // wParam code, lParam progress
  RWM_SOLVE_FOR_MATE = 0x8108,    // wParam code, lParam value
  RWM_BOOK_EDITOR = 0x8109,       // openings window: wParam code, lParam value
  RWM_ONLINE_EVENT = 0x810A,      // room window: wParam back-end, lParam record
  RWM_ONLINE_USER = 0x810B,       // wParam change code, lParam user record
  RWM_PERSONALITY_REFRESH = 0x810C,
  RWM_BOARD_ORIENTATION = 0x810D,  // wParam 1: white at the bottom
  RWM_SOUND_BACK = 0x810E,         // main frame: take the sound device back
  RWM_APP_ACTIVE = 0x8110,         // wParam: activated (1) or not (0)
  RWM_TOURNAMENT_STEP = 0x8112,    // room window; acted on in room 6 only
  RWM_DEFERRED_UPDATE = 0x8114,    // colour picker, wallpaper dialog
  RWM_ROOM_RECT = 0x830F,          // main frame: room window's stored RECT to lParam
  RWM_COACH_REFRESH = 0x8A00,

  // The toolkit's numbers the program sends or handles.
  RWM_TOOLKIT_NOTICE = 0x8503,     // wParam notice code, lParam value
  RWM_STATUS_TEXT = 0x8504,        // wParam part (256 all), lParam text or null
  RWM_STATUS_KIND = 0x8509,        // wParam 1, lParam 2: progress display
  RWM_STATUS_PROGRESS = 0x8511,    // wParam 1, lParam position
  RWM_BUTTON_BACKGROUND = 0x8605,  // a toolkit button asks for its background
};

// wParam of RWM_GAME_EVENT (the rules name the ones they send GAME_EVENT_*).
enum AppGameEvent : int {
  GE_GAME_SET = 0,          // the room's game was set or replaced
  GE_GAME_ENDED = 1,
  GE_HEADER_CHANGED = 2,
  GE_MOVE_PLAYED = 9,
  GE_MOVE_TAKEN_BACK = 10,
  GE_MOVE_REPLAYED = 11,
  GE_PLY_CHANGED = 13,
  GE_ANNOTATION_CHANGED = 14,
  GE_NOTATION_CHANGED = 15,
  GE_GAME_EDITED = 16,
};
