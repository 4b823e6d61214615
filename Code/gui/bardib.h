// Bars composed into a bitmap from three pieces (PackedDib): a first piece,
// a middle piece repeated and a last piece, along the target's width or
// height. OS-free: the pixels move with the bitmap library's block copies.
//
// Interface: BuildBarDib.
#pragma once

#include "dibkit.h"

// 1, or 0 when the target is null or all three pieces are. The target takes
// the colour table of the first piece present among first, last, middle.
int BuildBarDib(PackedDib* target, PackedDib* first, PackedDib* middle, PackedDib* last, int vertical);
