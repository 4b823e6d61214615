// The login dialogs: "Player Login" lists the users and logs one in,
// creates and deletes players, and keeps the user busy with the login
// puzzle; "Create New Player" makes one.
//
// Interface: kLoginMaxUsers, RunLoginDialog, RunNewUserDialog,
// LoginPuzzleBoard, SetLoginPuzzleBoard, StopLoginPuzzleThreads,
// kPuzzleBuildThreadName, kPuzzleSaveThreadName.
#pragma once

#include <windows.h>

#include <cstdint>

struct Board;

// The dialog lists at most this many users.
constexpr int kLoginMaxUsers = 109;

constexpr const char kPuzzleBuildThreadName[] = "PUZZLE_BUILD_THREAD";
constexpr const char kPuzzleSaveThreadName[] = "PUZZLE_SAVE_THREAD";

// 1 after a login, 1002 Cancel, 1639 Quit.
INT_PTR RunLoginDialog(HWND owner);
// Non-zero when a player was made; `loginName` (32 bytes, may be null)
// then holds the name when the player is to be logged in at once, else "".
INT_PTR RunNewUserDialog(HWND owner, char* loginName);

// The lobby's puzzle board. The board sends its owner callback what the
// user does: 0x8001 with wParam the offered move (a MoveRecord*), answered
// 1 when the move was taken, and with wParam 0 when the board itself
// refused a move as illegal; mouse messages 0x200..0x202 and 0x8103,
// answered 0 to let the board handle them itself and 1 to stop them.
using PuzzleBoardCallback = LRESULT (*)(HWND board, UINT message, WPARAM wParam, LPARAM lParam, intptr_t data);
struct LoginPuzzleBoard {
  // The lobby's hidden board window, or null while there is none.
  HWND (*window)();
  // Shows the position (White at the bottom).
  void (*setPosition)(HWND board, const Board* position);
  // Marks or unmarks two squares.
  void (*markSquares)(HWND board, int from, int to, int on);
  void (*setCallback)(HWND board, PuzzleBoardCallback callback, intptr_t data);
  // The puzzle is over: the board lets go of its position (may be null).
  void (*end)(HWND board);
};
// Null: no board (the puzzle frame stays empty; logging in works alike).
void SetLoginPuzzleBoard(const LoginPuzzleBoard* board);
// At exit: stops the threads still making puzzles.
void StopLoginPuzzleThreads();
