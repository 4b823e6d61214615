// Shell services for dialogs and panels: the modal dialog runner that
// pauses the game and locks the panels, hiding and disabling all panels,
// placing a floating window in its owner's visible area clear of the board,
// drawing palette-index pictures through the program palette, and the
// dialog layout helpers over real controls.
//
// Interface: DoModalDialog, HideAllPanels, EnableAllPanels,
// KeepWindowInWorkArea, StretchDIBitsPal, SpaceThreeItems, SpaceTwoItems,
// CenterDlgItem, SetListColumnWidth, FitListColumns.
#pragma once

#include <windows.h>

#include "dialog_helpers.h"

INT_PTR DoModalDialog(HINSTANCE instance, const char* templateName, HWND owner, DLGPROC procedure, LPARAM parameter,
                      int pause);
int HideAllPanels(int hide);
int EnableAllPanels(int enable);
int KeepWindowInWorkArea(HWND owner, RECT* rect, int dock);
int StretchDIBitsPal(HDC dc, int dstX, int dstY, int dstWidth, int dstHeight, int srcX, int srcY, int srcWidth,
                     int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
void SpaceThreeItems(HWND dialog, int a, int b, int c);
void SpaceTwoItems(HWND dialog, int a, int b);
void CenterDlgItem(HWND dialog, int item);
void SetListColumnWidth(HWND listView, int column, int width);
// The list's columns from `first` on share its client width in proportion
// to `columns`' remembered widths.
void FitListColumns(HWND listView, const ListColumn* columns, int count, int first);
