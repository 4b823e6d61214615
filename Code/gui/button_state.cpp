// The bitmap button's state choice, text placement and shape test.
#include "button_state.h"

int ButtonStateIndex(uint32_t state, bool enabled, bool optionalImages, const bool has[kButtonImages]) {
  if (!(state & (kButtonChecked | kButtonPushed))) {
    int index = kImageNormal;
    if (optionalImages) {
      if ((state & kButtonFocus) && has[kImageFocused])
        index = kImageFocused;
      else if (!enabled && has[kImageDisabled])
        index = kImageDisabled;
    }
    if ((state & kButtonHover) && has[kImageHover]) index = kImageHover;
    return index;
  }
  if (enabled) return kImagePressed;
  if (!optionalImages) return kImageDisabled;
  return has[kImagePressedDisabled] ? kImagePressedDisabled : kImageDisabled;
}

bool ButtonIsPushLike(uint32_t style) {
  switch (style & 0xF) {
    case kTypePush:
    case kTypeDefaultPush:
      return true;
    case kTypeCheck:
    case kTypeAutoCheck:
    case kTypeRadio:
    case kTypeAutoRadio:
      return (style & kStylePushLike) != 0;
    default:
      return false;
  }
}

ButtonPoint ButtonTextOrigin(int32_t faceW, int32_t faceH, int32_t textW, int32_t textH, int stateIndex) {
  int32_t x = faceW / 2 - textW / 2;
  int32_t y = faceH / 2 - textH / 2;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  if (stateIndex == kImagePressed) ++y;
  return {x, y};
}

bool ButtonMaskOwnsPoint(const PackedDib* mask, int32_t x, int32_t y) {
  if (!mask) return true;
  int32_t height = mask->biHeight < 0 ? -mask->biHeight : mask->biHeight;
  if (x < 0 || y < 0 || x >= mask->biWidth || y >= height) return false;
  if (mask->biBitCount != 8) return true;  // only 8-bit masks carry transparency
  auto* pixel = static_cast<const uint8_t*>(dibGetPixelAddress(mask, x, y));
  return pixel && *pixel != 0;
}
