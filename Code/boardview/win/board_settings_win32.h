// The board's settings dialogs: the modal "Board Settings" (eight words of
// a room's board options) and the modeless "Customize Board" tool that
// reshapes the custom board by buttons or by modifier drags on the board.
//
// Interface: BoardSettingsRecord, RunBoardSettingsDialog,
// CreateCustomizeBoardDialog, DestroyCustomizeBoardDialog,
// EnableCustomizeBoardDialog, GetBoardCustomizeMode, BeginCustomize,
// CustomizeStep, CustomizeDrag, EndCustomize, DrawBoardDragOutline.
#pragma once

#include <windows.h>

#include <cstdint>

struct BoardView;

// Turn lights, Quick Entry, Announce Check, Announce Openings, Time Stamp
// Annotation, Highlight Move Squares, Sliding Pieces (0..2), Board
// Coordinates (0..2).
struct BoardSettingsRecord {
  int32_t words[8];
};
// 1 on OK (the record read back; the view's last-move marks follow
// "Highlight Move Squares"), 0 on Cancel or a null record.
int RunBoardSettingsDialog(HWND owner, HINSTANCE instance, BoardSettingsRecord* record, BoardView* view);

// The modeless tool (numbered window 23) for the given view's board.
int CreateCustomizeBoardDialog(HWND owner, HINSTANCE instance, BoardView* view);
int DestroyCustomizeBoardDialog();
HWND CustomizeBoardDialog();
// Shown while the board is the custom board; disable keeps only the zoom buttons.
void EnableCustomizeBoardDialog(int show, int disable);
int GetBoardCustomizeMode();

void BeginCustomize(BoardView* view);
void CustomizeStep(int button, BoardView* view, int amount);
// A mouse move of a drag that began on the board at the recorded point.
void SetCustomizeDragStart(int x, int y);
void CustomizeDrag(int x, int y, int keys);
void EndCustomize();
void DrawBoardDragOutline(BoardView* view);
