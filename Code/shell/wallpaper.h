// Room wallpapers: a bitmap file tiled over the room window or a vertical
// gradient between two colours, read from the user's settings, built for
// the room window's size, and chosen in the "Select Wallpaper" dialog.
//
// Interface: kDefaultWallpaperFile, LoadWallpaper, BuildWallpaperBitmap,
// FillVerticalGradient, FillHorizontalGradient, GradientIntoBitmap,
// ChooseWallpaperFile, RunWallpaperDialog, PaintWallpaper.
#pragma once

#include <windows.h>

#include "dibkit.h"
#include "room_records.h"

// The wallpaper of rooms whose module names no other.
constexpr const char* kDefaultWallpaperFile = "MarbleGray.bmp";

// Reads WallpaperType, WallpaperFile and gradient of the room's section of
// the settings ini into the record and loads its source picture (a 1 x 1
// picture for the gradient kind or a file that cannot be read). 1 when the
// record holds a source picture afterwards.
int LoadWallpaper(const char* defaultFile, RoomRecord* record);
// A new picture of the rectangle's size (the caller frees it with
// dibDelete): the gradient at 16 bits, or the source tiled at its own
// depth. Null for an empty rectangle or without memory.
PackedDib* BuildWallpaperBitmap(const RoomRecord* record, const RECT* rect);

// Row by row (column by column) with solid brushes; nothing for a null
// context or a negative size. Colours are 0x00BBGGRR.
void FillVerticalGradient(HDC dc, const RECT* rect, COLORREF top, COLORREF bottom);
void FillHorizontalGradient(HDC dc, const RECT* rect, COLORREF left, COLORREF right);
// Draws the gradient into a section made from the picture's header and
// copies the pixels back: stride x height bytes, computed. 1 when done.
int GradientIntoBitmap(HDC dc, const RECT* rect, PackedDib* dib, COLORREF top, COLORREF bottom);

// The program's file dialog for a wallpaper file; 1 when one was chosen.
// The file dialog is not built yet: 0.
int ChooseWallpaperFile(HWND owner, char* path);
// "Select Wallpaper" for the record; on OK the record changes and the
// room's wallpaper is rebuilt. The dialog's result.
INT_PTR RunWallpaperDialog(RoomRecord* record);

// Draws a built wallpaper at the window's top-left corner.
void PaintWallpaper(HDC dc, const PackedDib* dib);
