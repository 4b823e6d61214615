// The bitmap button's arithmetic, free of the operating system: which of its
// six state images a state shows, where the text goes on a face, and which
// points a shaped button owns.
//
// Interface: ButtonStateIndex, ButtonTextOrigin, ButtonMaskOwnsPoint,
// ButtonIsPushLike, kButton* constants.
#pragma once

#include <cstdint>

#include "dibkit.h"

// State bits of the button record (the first three as in the system's
// button state word, the hover bit only in the record).
constexpr uint32_t kButtonChecked = 0x1;
constexpr uint32_t kButtonPushed = 0x4;
constexpr uint32_t kButtonFocus = 0x8;
constexpr uint32_t kButtonHover = 0x10000;

// State image indices.
enum ButtonImage {
  kImageNormal = 0,
  kImagePressed = 1,  // pressed or checked
  kImageDisabled = 2,
  kImageFocused = 3,
  kImageHover = 4,  // also the shape mask
  kImagePressedDisabled = 5,
  kButtonImages = 6
};

// Button types (low four bits of the style) and the style bits the button reads.
enum : uint32_t {
  kTypePush = 0,
  kTypeDefaultPush = 1,
  kTypeCheck = 2,
  kTypeAutoCheck = 3,
  kTypeRadio = 4,
  kTypeGroup = 7,
  kTypeAutoRadio = 9,
  kStyleBitmapFaces = 0x80,
  kStylePushLike = 0x1000,  // check/radio drawn as a push button; also auto-repeat
};

// The index of the image for the state. `has` tells which images exist.
// Without optional images only 0, 1 and 2 come out (and 4 for hover).
// Hover (index 4) is chosen only when image 4 exists, so a hovered button
// without a hover image keeps showing its other face.
int ButtonStateIndex(uint32_t state, bool enabled, bool optionalImages, const bool has[kButtonImages]);

// True for types whose faces carry the text (push buttons, and check boxes
// or radio buttons with the push-like bit).
bool ButtonIsPushLike(uint32_t style);

// Where a text image of textW x textH goes on a face of faceW x faceH:
// centred, never left of or above the corner, one pixel lower on the
// pressed face (state index 1).
struct ButtonPoint {
  int32_t x, y;
};
ButtonPoint ButtonTextOrigin(int32_t faceW, int32_t faceH, int32_t textW, int32_t textH, int stateIndex);

// True when the point (client coordinates, y from the top) lies on the
// mask's width and height and on a non-zero pixel of the 8-bit mask. A null
// mask owns every point.
bool ButtonMaskOwnsPoint(const PackedDib* mask, int32_t x, int32_t y);
