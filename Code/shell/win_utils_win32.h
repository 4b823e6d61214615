// The program's small Win32 utilities: message boxes from the string table,
// files and file heads, resources made writable in place, window placement,
// fonts, rectangle fills in palette colours and list-box scrolling.
// Operations answer 1 for success and 0 for failure; the rectangle fills
// answer 0 for success and 1 for failure.
//
// Interface: ResMessageBox, FileExists, OpenFileHandle, LoadFileHeads,
// FreeFileHeads, FindFileByHead, LoadRcData, MakeResourceWritable,
// LoadWritableBitmapResource, CenterWindow, CenterWindowClamped,
// KeepRectOnWorkArea, RectClientToScreen, RectScreenToClient, SetWindowSlot,
// GetWindowSlot, CreatePointFont, FillRectWithBrush, FillRectPaletteIndex,
// FillRectColor, ListBoxEnsureVisible, IsWindowOrParentIconic,
// RedrawProgramWindows, InitOpenFileRecord.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "win_utils.h"

int ResMessageBox(HWND owner, UINT textId, UINT captionId, UINT flags);

int FileExists(const char* path);
// No sharing, no security attributes; normal, write-through, sequential.
HANDLE OpenFileHandle(const char* path, DWORD access, DWORD disposition);

// For each file matching the pattern: a block of `size` bytes (from
// memAlloc_rel) holding the file's first bytes, stored in `heads`, at most
// `capacity` of them; the blocks sorted by their bytes as texts. Returns the
// number stored. Free the blocks with FreeFileHeads.
int LoadFileHeads(const char* pattern, char** heads, int capacity, int size);
void FreeFileHeads(char** heads, int count);
// The name of the first matching file whose first `size` bytes equal the
// text's, copied into `path` (MAX_PATH bytes); 1, or 0 when none matches.
int FindFileByHead(char* path, const char* text, const char* pattern, int unused, int size);

HGLOBAL LoadRcData(HMODULE module, const char* name);
int MakeResourceWritable(HMODULE module, HRSRC resource, void* data);
BITMAPINFOHEADER* LoadWritableBitmapResource(HMODULE module, const char* name);

void CenterWindow(HWND window, HWND reference);
void CenterWindowClamped(HWND window, HWND reference);
void KeepRectOnWorkArea(RECT* rect);
void RectClientToScreen(HWND window, RECT* rect);
void RectScreenToClient(HWND window, RECT* rect);
// Window slot n is the 32-bit extra word at byte offset 4n.
LONG SetWindowSlot(HWND window, int slot, LONG value);
LONG GetWindowSlot(HWND window, int slot);

HFONT CreatePointFont(const char* face, int points, int weight, BYTE charSet);

int FillRectWithBrush(HDC dc, const RECT* rect, HBRUSH brush);
int FillRectPaletteIndex(HDC dc, const RECT* rect, int index);
int FillRectColor(HDC dc, const RECT* rect, COLORREF colour);

int ListBoxEnsureVisible(HWND listBox, int item);
int IsWindowOrParentIconic(HWND window);
int RedrawProgramWindows(HWND window);
void InitOpenFileRecord(OPENFILENAMEA* record, HWND owner);
