// Pictures of the game-room windows: portraits from the faces pack and
// named bitmaps from the program's resource library, each as a packed DIB
// of our own with palette-index colours (freed with dibDelete), and drawing
// one through the program palette.
//
// Interface: LoadPortrait, LoadLibraryPicture, DrawRoomPicture,
// RoomPicturePalette.
#pragma once

#include <windows.h>

#include "dibkit.h"

// A picture of the faces pack (or a loose file of that name beside the
// program); null when it cannot be had or is no 8-bit picture.
PackedDib* LoadPortrait(const char* name);
// A bitmap of the resource library by name ("#20190" for a number), else
// of the program's own resources; null when neither holds it.
PackedDib* LoadLibraryPicture(const char* name);
// The shared palette of the toolkit's look.
HPALETTE RoomPicturePalette();
// Draws the picture with its top-left at (x, y); nothing for null.
void DrawRoomPicture(HDC dc, int x, int y, const PackedDib* picture);
inline int PictureHeight(const PackedDib* p) { return p ? (p->biHeight < 0 ? -p->biHeight : p->biHeight) : 0; }
inline int PictureWidth(const PackedDib* p) { return p ? p->biWidth : 0; }
