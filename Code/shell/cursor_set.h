// The program's mouse cursors: one set made at start-up, switched per window
// by index (busy, arrow, the board's piece cursors, the animated board
// customisation cursors...). While a piece is dragged the board's sprite
// scene may draw the cursor itself, on top of the dragged piece (the sprite
// cursor). Windows only.
//
// Interface: kCursorCount, CursorSet, CursorSetHost, SetCursorSetHost,
// CreateCursorSet, FreeCursorSet, GetCursorSet, SetAppCursor,
// GetWindowCursorIndex, IsPieceCursor, SetPieceCursor, StartSpriteCursor,
// StopSpriteCursor, DrawSpriteCursor.
#pragma once

#include <cstdint>

struct AnimScene;

constexpr int kCursorCount = 29;

// Indices with a meaning of their own to callers.
enum AppCursor {
  CURSOR_BUSY = 0,
  CURSOR_ARROW = 2,
  CURSOR_PIECE_SMALL = 3,   // piece cursor kind 0, hot-spot size 16
  CURSOR_PIECE_MEDIUM = 5,  // kind 1, 20
  CURSOR_PIECE_LARGE = 7,   // kind 2, 32
  CURSOR_MOVE_BOARD = 9,    // 9..13: the board customisation cursors (.ani files)
  CURSOR_APP_STARTING = 14,
};

struct CursorSet {
  int32_t current;  // index of the cursor last set
  int32_t saved;
  int32_t hotSpot;              // 16, 20 or 32: the size of the last piece cursor chosen
  void* cursors[kCursorCount];  // HCURSOR; null where the cursor could not be loaded
  int32_t spriteCursorOn;
  int32_t sprite;  // the scene's sprite the cursor is drawn on, -1 for none
  AnimScene* scene;
};

// What the set needs from the rest of the program. Null members: resources
// of the program's own module; no room board.
struct CursorSetHost {
  void* (*resourceModule)();  // HINSTANCE holding cursor resources 114..143
  // The current room board's sprite scene and the scene sprite of its piece
  // sprite `piece`; 0 when there is no room board.
  int (*roomBoardSprite)(int piece, AnimScene** scene, int* sceneSprite);
};
void SetCursorSetHost(const CursorSetHost& host);

// Makes the set once (a second call does nothing) and loads the cursors:
// files from the current folder, resources of the program, system cursors.
// 1 when the set exists.
int CreateCursorSet();
// Stops the sprite cursor, destroys every loaded cursor and frees the set;
// 0 when there was none.
int FreeCursorSet();
CursorSet* GetCursorSet();

// Makes `index` (0..28) current and the window's class cursor and the
// current cursor; cursors 3, 5 and 7 set the hot-spot size. An index
// outside 0..28, or one whose cursor is missing, sets no cursor; a null
// window does nothing. The current index.
int SetAppCursor(void* window, int index);
// The set's index of the window's class cursor, or -1.
int GetWindowCursorIndex(void* window);
int IsPieceCursor();
// Kind 0, 1, 2 set cursor 3, 5, 7; any other kind cursor 5.
int SetPieceCursor(void* window, int kind);

// Draws the current cursor over piece sprite `piece` of the current room's
// board while its scene paints. The scene, or null without a room board or
// set.
AnimScene* StartSpriteCursor(int piece);
void StopSpriteCursor();
// The scene's draw callback: 0 when the cursor was drawn into `dc`, 1 when
// nothing was drawn.
int DrawSpriteCursor(void* dc, const CursorSet* set);
