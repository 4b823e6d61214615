// The animated button's arithmetic: see anim_frames.h.
#include "anim_frames.h"

#include <cstdio>
#include <cstring>

namespace {

bool Put(char* out, size_t outSize, int written) {
  if (written >= 0 && size_t(written) < outSize) return true;
  if (outSize) out[0] = 0;
  return false;
}

}  // namespace

int AnimStillName(const char* pattern, AnimStill which, char* out, size_t outSize) {
  if (!out || outSize == 0) return 0;
  out[0] = 0;
  static const char* const kSuffix[] = {"_off", "_mask", "_click"};
  if (!pattern || which < ANIM_STILL_OFF || which > ANIM_STILL_CLICK) return 0;
  const char* percent = std::strchr(pattern, '%');
  int stem = percent ? int(percent - pattern) : 0;  // no "%": the bare names
  return Put(out, outSize, std::snprintf(out, outSize, "%.*s%s.bmp", stem, pattern, kSuffix[which]));
}

uint32_t AnimPatternTag(const char* pattern) {
  if (!pattern || !*pattern) return 0;
  size_t length = std::strlen(pattern);
  uint32_t tag = 0;
  for (size_t i = 0; i < 3 && i < length; ++i) tag |= uint32_t(uint8_t(pattern[i])) << (8 * i);
  return tag | uint32_t(uint8_t(pattern[length - 1])) << 24;
}

int32_t AnimNextFrame(int32_t frame, int32_t count) {
  if (count < 1) count = 1;
  if (count > kAnimMaxFrames) count = kAnimMaxFrames;
  if (frame < 0 || frame >= count) return 0;
  return (frame + 1) % count;
}

int AnimDataPaths(const char* folder, const char* name, char* indexPath, char* itemPath, size_t size) {
  if (!indexPath || !itemPath || size == 0) return 0;
  indexPath[0] = itemPath[0] = 0;
  if (!name || !*name) return 0;
  if (!folder) folder = "";
  size_t length = std::strlen(folder);
  const char* separator = length == 0 || folder[length - 1] == '\\' || folder[length - 1] == '/' ? "" : "\\";
  bool ok = Put(indexPath, size, std::snprintf(indexPath, size, "%s%s%s.idx", folder, separator, name)) &&
            Put(itemPath, size, std::snprintf(itemPath, size, "%s%s%s.dat", folder, separator, name));
  if (!ok) indexPath[0] = itemPath[0] = 0;
  return ok;
}

uint32_t AnimKeyColour(int bytesPerPixel) {
  if (bytesPerPixel == 1) return 0;
  if (bytesPerPixel == 2) return 0xFC1F;
  return 0xFFFFFF;
}

int AnimMaskIsOpaque(const PackedDib* mask, int32_t x, int32_t y) {
  if (!mask || x < 0 || y < 0) return 0;
  int bits = mask->biBitCount;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return 0;
  int32_t height = mask->biHeight < 0 ? -mask->biHeight : mask->biHeight;
  if (x >= mask->biWidth || y >= height) return 0;
  const auto* p = static_cast<const uint8_t*>(dibGetPixelAddress(mask, x, y));
  if (!p) return 0;
  int bytes = bits / 8;
  uint32_t key = AnimKeyColour(bytes);
  // An 8-bit pixel is one byte: read no further than the pixel itself.
  uint32_t value = bytes == 1 ? p[0] : uint32_t(p[0] | p[1] << 8);
  return value != (key & (bytes == 1 ? 0xFFu : 0xFFFFu));
}
