// Packed DIB layout, creation, duplication, addressing and fills.
#include <cstring>

#include "dib_internal.h"
#include "dibkit.h"
#include "heapkit.h"

using namespace dibkit;

namespace dibkit {

uint8_t* RowAddress(const PackedDib* dib, int32_t y) {
  int32_t row = dib->biHeight < 0 ? y : AbsHeight(dib) - 1 - y;
  return Bits(dib) + static_cast<size_t>(row) * Stride(dib);
}

uint32_t HeldImageBytes(const PackedDib* dib) {
  const uint64_t rows = uint64_t{Stride(dib)} * static_cast<uint32_t>(AbsHeight(dib));
  const bool plain = dib->biCompression == 0 || dib->biCompression == 3;
  return plain && dib->biSizeImage > rows ? static_cast<uint32_t>(rows) : dib->biSizeImage;
}

int32_t RowStep(const PackedDib* dib) {
  int32_t stride = static_cast<int32_t>(Stride(dib));
  return dib->biHeight < 0 ? stride : -stride;
}

}  // namespace dibkit

namespace {

void WriteIndexTable(PackedDib* dib) {
  auto* table = reinterpret_cast<uint16_t*>(ColorArea(dib));
  for (int i = 0; i < 256; ++i) table[i] = static_cast<uint16_t>(i);
}

bool Usable(const PackedDib* dib) {
  return dib != nullptr && dib->biWidth > 0 && dib->biHeight != 0 && dib->biHeight != INT32_MIN;
}

// A new block for an image of this size and depth with the header filled.
PackedDib* NewDib(int32_t width, int32_t height, int bits) {
  if (width <= 0 || height == 0 || height == INT32_MIN || (bits != 8 && bits != 16 && bits != 24)) {
    return nullptr;
  }
  uint64_t absHeight = height < 0 ? -static_cast<int64_t>(height) : height;
  uint64_t image = static_cast<uint64_t>(dibRowStride(bits, width)) * absHeight;
  if (image > kMaxPixelBytes) return nullptr;
  size_t total = sizeof(PackedDib) + dibColorAreaSize(bits) + static_cast<size_t>(image);
  auto* dib = static_cast<PackedDib*>(memAlloc_rel(total, HEAPKIT_TAG_RW));
  if (dib == nullptr) return nullptr;
  std::memset(dib, 0, sizeof(PackedDib) + dibColorAreaSize(bits));
  dib->biSize = sizeof(PackedDib);
  dib->biWidth = width;
  dib->biHeight = height;
  dib->biPlanes = 1;
  dib->biBitCount = static_cast<uint16_t>(bits);
  dib->biSizeImage = static_cast<uint32_t>(image);
  dib->biClrUsed = dib->biClrImportant = bits == 8 ? 256 : 0;
  if (bits == 8) WriteIndexTable(dib);
  return dib;
}

}  // namespace

extern "C" {

uint32_t dibColorAreaSize(int bitCount) { return bitCount == 8 ? 1024 : (bitCount == 24 ? 0 : 12); }

uint32_t dibRowStride(int bitCount, int32_t width) {
  return static_cast<uint32_t>((static_cast<uint64_t>(bitCount) * static_cast<uint32_t>(width) + 31) / 32 *
                               4);
}

void* dibGetColorArea(const PackedDib* dib) { return dib == nullptr ? nullptr : ColorArea(dib); }
void* dibGetBits(const PackedDib* dib) { return dib == nullptr ? nullptr : Bits(dib); }

PackedDib* dibCreateWithColors(int32_t width, int32_t height, int bits) {
  return NewDib(width, height, bits);
}

void dibDelete(PackedDib* dib) { memFree_rel(dib); }

PackedDib* dibDuplicate(PackedDib* dib) {
  if (dib == nullptr) return nullptr;
  // An unset size image becomes the rows' real size: width x height would
  // leave the row padding, and part of the top row, out of the copy.
  if (dib->biSizeImage == 0) dib->biSizeImage = Stride(dib) * static_cast<uint32_t>(AbsHeight(dib));
  size_t total = sizeof(PackedDib) + dibColorAreaSize(dib->biBitCount) + HeldImageBytes(dib);
  auto* copy = static_cast<PackedDib*>(memAlloc_rel(total, HEAPKIT_TAG_RW));
  if (copy != nullptr) {
    std::memcpy(copy, dib, total);
    copy->biSizeImage = HeldImageBytes(dib);
  }
  return copy;
}

PackedDib* dibDuplicateFromRect(const PackedDib* dib, const DibRect* rect) {
  if (!Usable(dib) || rect == nullptr || dib->biCompression != 0) return nullptr;
  if (dib->biBitCount != 8 && dib->biBitCount != 16) return nullptr;
  if (rect->left < 0 || rect->top < 0 || rect->right < rect->left || rect->bottom < rect->top ||
      rect->right >= dib->biWidth || rect->bottom >= AbsHeight(dib)) {
    return nullptr;
  }
  const int32_t width = rect->right - rect->left + 1;
  const int32_t height = rect->bottom - rect->top + 1;
  PackedDib* out = NewDib(width, dib->biHeight < 0 ? -height : height, dib->biBitCount);
  if (out == nullptr) return nullptr;
  const int bpp = BytesPerPixel(dib);
  const size_t rowBytes = static_cast<size_t>(width) * bpp;
  const uint32_t stride = Stride(out);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* to = RowAddress(out, y);
    std::memcpy(to, RowAddress(dib, rect->top + y) + static_cast<size_t>(rect->left) * bpp, rowBytes);
    for (size_t i = rowBytes; i < stride; ++i) to[i] = to[rowBytes - 1];
  }
  return out;
}

PackedDib* dibDuplicatePadded(const PackedDib* dib, int32_t left, int32_t top, int32_t right,
                              int32_t bottom) {
  if (!Usable(dib) || dib->biCompression != 0 || dib->biBitCount != 8) return nullptr;
  if (left < 0 || top < 0 || right < 0 || bottom < 0) return nullptr;
  const int64_t width = int64_t{dib->biWidth} + left + right;
  const int64_t height = int64_t{AbsHeight(dib)} + top + bottom;
  if (width > INT32_MAX || height > INT32_MAX) return nullptr;
  PackedDib* out =
      NewDib(static_cast<int32_t>(width), static_cast<int32_t>(dib->biHeight < 0 ? -height : height), 8);
  if (out == nullptr) return nullptr;
  std::memset(Bits(out), 0, out->biSizeImage);
  for (int32_t y = 0; y < AbsHeight(dib); ++y) {
    std::memcpy(RowAddress(out, top + y) + left, RowAddress(dib, y), static_cast<size_t>(dib->biWidth));
  }
  return out;
}

PackedDib* dibCropDIB(const PackedDib* dib, int32_t width, int32_t height) {
  if (!Usable(dib) || dib->biBitCount != 8 || width <= 0 || height <= 0) return nullptr;
  PackedDib* out = NewDib(width, height, 8);
  if (out == nullptr) return nullptr;
  std::memcpy(ColorArea(out), ColorArea(dib), 1024);
  std::memset(Bits(out), 0, out->biSizeImage);
  const int32_t oldWidth = dib->biWidth, oldHeight = AbsHeight(dib);
  if (width >= oldWidth && height >= oldHeight) {
    dibCopyDIB(out, dib, (width - oldWidth) / 2, (height - oldHeight) / 2, 0, 0, oldWidth, oldHeight);
  } else {
    // The lower-left corner stays in place.
    const int32_t w = width < oldWidth ? width : oldWidth;
    const int32_t h = height < oldHeight ? height : oldHeight;
    dibCopyDIB(out, dib, 0, height - h, 0, oldHeight - h, w, h);
  }
  return out;
}

int dibGetDibDimensions(const PackedDib* dib, int32_t* out) {
  if (dib == nullptr || out == nullptr) return 0;
  out[0] = dib->biWidth;
  out[1] = dib->biHeight;
  return 1;
}

void dibColorsToIndices(PackedDib* dib) {
  if (dib != nullptr && dib->biBitCount == 8) WriteIndexTable(dib);
}

void dibCopyPalette(PackedDib* dst, const PackedDib* src) {
  if (dst == nullptr || src == nullptr || dst->biBitCount != 8 || src->biBitCount != 8) return;
  std::memcpy(ColorArea(dst), ColorArea(src), 1024);
}

void dibFillWithColor(PackedDib* dib, uint32_t value) {
  if (!Usable(dib)) return;
  if (dib->biBitCount == 8) {
    FillDibWithColor(dib, Bits(dib), static_cast<uint8_t>(value));
  } else if (dib->biBitCount == 16) {
    const uint32_t stride = Stride(dib);
    for (int32_t y = 0; y < AbsHeight(dib); ++y) {
      uint8_t* row = Bits(dib) + static_cast<size_t>(y) * stride;
      for (int32_t x = 0; x < dib->biWidth; ++x) {
        row[2 * x] = static_cast<uint8_t>(value);
        row[2 * x + 1] = static_cast<uint8_t>(value >> 8);
      }
    }
  }
}

void FillDibWithColor(const PackedDib* dib, void* bits, uint8_t index) {
  if (!Usable(dib) || bits == nullptr) return;
  const size_t rowBytes = (static_cast<size_t>(dib->biWidth) + 3) & ~size_t{3};
  std::memset(bits, index, rowBytes * AbsHeight(dib));
}

int dibFillRect(const PackedDib* dib, void* bits, const DibRect* rect, uint8_t index) {
  if (!Usable(dib) || bits == nullptr || rect == nullptr) return 0;
  const int32_t left = rect->left < 0 ? 0 : rect->left;
  const int32_t top = rect->top < 0 ? 0 : rect->top;
  const int32_t right = rect->right > dib->biWidth - 1 ? dib->biWidth - 1 : rect->right;
  const int32_t bottom = rect->bottom > AbsHeight(dib) - 1 ? AbsHeight(dib) - 1 : rect->bottom;
  if (right < left || bottom < top) return 0;
  const uint32_t stride = dibRowStride(8, dib->biWidth);
  for (int32_t y = top; y <= bottom; ++y) {
    int32_t row = dib->biHeight < 0 ? y : AbsHeight(dib) - 1 - y;
    std::memset(static_cast<uint8_t*>(bits) + static_cast<size_t>(row) * stride + left, index,
                static_cast<size_t>(right - left + 1));
  }
  return 1;
}

uint32_t dibGetPixelOffsetTopDownWide(int32_t x, int32_t y, int32_t width, int32_t height, int topDown,
                                      int bytesPerPixel) {
  if (x < 0 || y < 0 || x >= width || y >= height || bytesPerPixel <= 0) return 0;
  const uint32_t stride = (static_cast<uint32_t>(width) * bytesPerPixel + 3) & ~3u;
  const int32_t row = topDown ? y : height - 1 - y;
  return static_cast<uint32_t>(row) * stride + static_cast<uint32_t>(x) * bytesPerPixel;
}

void* dibGetPixelAddressBits(void* bits, int32_t x, int32_t y, int32_t width, int32_t height, int topDown,
                             int bytesPerPixel) {
  if (bits == nullptr || x < 0 || y < 0 || x >= width || y >= height || bytesPerPixel <= 0) return nullptr;
  return static_cast<uint8_t*>(bits) +
         dibGetPixelOffsetTopDownWide(x, y, width, height, topDown, bytesPerPixel);
}

uint32_t dibGetPixelOffset(const PackedDib* dib, int32_t x, int32_t y) {
  if (!Usable(dib)) return 0;
  return dibGetPixelOffsetTopDownWide(x, y, dib->biWidth, AbsHeight(dib), dib->biHeight < 0,
                                      BytesPerPixel(dib));
}

void* dibGetPixelAddress(const PackedDib* dib, int32_t x, int32_t y) {
  if (!Usable(dib)) return nullptr;
  return dibGetPixelAddressBits(Bits(dib), x, y, dib->biWidth, AbsHeight(dib), dib->biHeight < 0,
                                BytesPerPixel(dib));
}

}  // extern "C"
