// The Edit/Copy commands: the current game's move list, the board as
// letters or in the chess font, and the room window's picture, placed on
// the system clipboard. Nothing is read from it.
//
// Interface: CopyGameText, CopyPositionText, CopyBoardDiagram,
// CopyBoardPicture, BitmapToPackedDibHandle, SetClipboardSlotChooser.
#pragma once

#include <windows.h>

struct Board;
struct GameRecord;

// The annotation set of the copied move list, or -2 when the user cancels.
// Without a chooser the game's first set is copied.
using ClipboardSlotChooser = int (*)(HWND owner, GameRecord* game);
void SetClipboardSlotChooser(ClipboardSlotChooser chooser);

// 1 when the text went to the clipboard. A move list measuring 65,536
// bytes or more shows string 10113 and leaves the clipboard as it was.
int CopyGameText(GameRecord* game, HWND window, int tabs, int reserved);
int CopyPositionText(HWND window, const Board* position);
int CopyBoardDiagram(HWND window, const Board* position);
// The window's client area less its last column and bottom 25 rows as
// CF_DIB with its CF_PALETTE; nothing without a room board.
int CopyBoardPicture(HWND window);
// A packed DIB in a global block; mode 1: 8 bits with 256 colours. Null
// on failure.
HGLOBAL BitmapToPackedDibHandle(HBITMAP bitmap, int mode);
