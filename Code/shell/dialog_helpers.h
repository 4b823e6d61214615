// Arithmetic of the dialogs and panels, free of the window system: markup
// groups in text, button spacing, list columns kept in proportion, placing a
// floating window inside its owner's visible area clear of the board, and
// the pause a modal dialog puts on the current game.
//
// Interface: StripMarkup, ExtractMarkup, SpaceThreeItemsX, SpaceTwoItemsX,
// CenterItemX, ListColumn, FitListColumnWidths, PlaceInWorkArea,
// ModalPause, BeginModalPause, EndModalPause.
#pragma once

#include <cstddef>
#include <cstdint>

#include "shell_services.h"
#include "utils.h"

// Copies `source` without its markup groups ("{...}", a nested "{" running to
// the next "}"); 1 when anything was removed. Stops at the source's end and
// never writes more than `size` characters, the NUL included. Null
// arguments or a zero size answer 0.
int StripMarkup(const char* source, char* destination, size_t size);
// Copies only the groups, braces included, one after another; 1 when any
// group was found.
int ExtractMarkup(const char* source, char* destination, size_t size);

// Left edges for three (two, one) controls of the given widths spread over
// a client area `clientWidth` wide.
void SpaceThreeItemsX(int clientWidth, int widthA, int widthB, int widthC, int* xA, int* xB, int* xC);
void SpaceTwoItemsX(int clientWidth, int widthA, int widthB, int* xA, int* xB);
int CenterItemX(int clientWidth, int width);

// One column of a list: its remembered width and its display order.
struct ListColumn {
  int32_t width;
  int32_t order;
};
// New widths for `count` columns in a list `clientWidth` wide: the columns
// displayed from `first` on (all but the last displayed when first ==
// count) share what the others leave, in proportion to their remembered
// widths, at least 10 pixels each. Columns not stretched keep theirs.
void FitListColumnWidths(const ListColumn* columns, int count, int first, int clientWidth, int32_t* widths);

// Moves `rect` inside `area` and, where it can, clear of `board` (all in
// screen coordinates; an empty board is nothing to avoid). 1 when the
// rectangle ends clear of the board.
int PlaceInWorkArea(const ShellRect& area, const ShellRect& board, ShellRect* rect, int dock);

// The pause a modal dialog puts on the current game: taken before the
// dialog runs, given back after it.
struct ModalPause {
  int paused;  // 1 when the game's clock was paused here
  Guid game;
};
// When `pause` is set and the current game runs a clock that may pause,
// pauses it and holds the room timer.
ModalPause BeginModalPause(int pause);
// Resumes the game when it still exists and releases the room timer.
void EndModalPause(const ModalPause& pause);
