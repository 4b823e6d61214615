// Ids and sizes of the bitmap resources built into the Windows tests
// (see gen_bitmaps.cmake).
#pragma once

constexpr int kScrollArrowWidth = 16;   // ids 19 to 39: 16 x 12
constexpr int kEditFrameFirstId = 201;  // 201 to 208: the edit frame, clockwise
constexpr int kEditLeftWidth = 3;       // id 208, the left piece: 3 x 8
constexpr int kMissingBitmapId = 999;
// Spin edit: the arrow bitmap and the faces of its up and down arrows (the
// arrows' control ids), each 14 x 10.
constexpr int kSpinArrowBitmapId = 400;
constexpr int kSpinUpFaceId = 401;
constexpr int kSpinDownFaceId = 402;
constexpr int kSpinArrowWidth = 14;
constexpr int kSpinArrowHeight = 10;
// Bitmap button faces, 40 x 20 (button): 300, 301, 302, 305 and 310, 311, 312.
constexpr int kButtonFacesFull = 300;     // faces 0, 1, 2 and 5
constexpr int kButtonFacesNoFive = 310;   // faces 0, 1 and 2
// An 8 x 4 bitmap stored with a 16-colour table (not in the library's
// layout, so not usable in place).
constexpr int kShortTableBitmapId = 500;
