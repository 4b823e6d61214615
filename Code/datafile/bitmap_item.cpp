// Bitmap-file items to packed DIBs.
//
// 8-bit images get a full 256-entry colour table (entries the file does not
// carry are black), so that every 8-bit packed DIB has the 1,024-byte colour
// area the bitmap library expects, and pixels are taken from the file's pixel
// offset. Other depths keep the table the file has: three masks at 16 and 32
// bits, none at 24, the colour count's entries below 8 bits.
#include "bitmap_item.h"

#include <cstring>

#include "heapkit.h"

namespace packfile {

namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;
constexpr size_t kCoreHeader = 12;
// Larger pictures than this are not pictures of this program.
constexpr uint64_t kMaxPixelBytes = uint64_t{256} << 20;

uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

struct Info {
  int32_t width;
  int32_t height;
  uint16_t planes;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t colorsUsed;
};

uint64_t Stride(const Info& info) {
  return (static_cast<uint64_t>(info.bitCount) * static_cast<uint64_t>(info.width) + 31) / 32 * 4;
}

uint64_t AbsHeight(const Info& info) {
  return info.height < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(info.height))
                         : static_cast<uint64_t>(info.height);
}

// The 8-bit form: 40-byte header as in the file, 256 colours, stride x height
// pixel bytes from the pixel offset.
void* EightBitDib(const uint8_t* item, size_t size, const Info& info, uint32_t pixelOffset) {
  const uint64_t pixelBytes = Stride(info) * AbsHeight(info);
  if (pixelBytes > kMaxPixelBytes || pixelOffset > size || size - pixelOffset < pixelBytes) return nullptr;
  uint32_t colours = info.colorsUsed == 0 || info.colorsUsed > 256 ? 256 : info.colorsUsed;
  const size_t tableAt = kFileHeader + kInfoHeader;
  if (tableAt + colours * 4 > size) return nullptr;

  const size_t total = kInfoHeader + 1024 + static_cast<size_t>(pixelBytes);
  auto* dib = static_cast<uint8_t*>(memAlloc_rel(total, HEAPKIT_TAG_RW));
  if (dib == nullptr) return nullptr;
  std::memcpy(dib, item + kFileHeader, kInfoHeader);
  Put32(dib + 20, static_cast<uint32_t>(pixelBytes));
  std::memset(dib + kInfoHeader, 0, 1024);
  std::memcpy(dib + kInfoHeader, item + tableAt, colours * 4);
  std::memcpy(dib + kInfoHeader + 1024, item + pixelOffset, static_cast<size_t>(pixelBytes));
  return dib;
}

}  // namespace

bool IsBitmapItem(const uint8_t* item, size_t size) {
  return item != nullptr && size >= 2 && item[0] == 'B' && item[1] == 'M';
}

void* BitmapItemToPackedDib(const uint8_t* item, size_t size) {
  if (!IsBitmapItem(item, size) || size < kFileHeader + 4) return nullptr;
  const uint32_t fileSize = U32(item + 2);
  const uint32_t pixelOffset = U32(item + 10);
  const uint8_t* h = item + kFileHeader;
  const uint32_t headerSize = U32(h);

  Info info{};
  if (headerSize == kInfoHeader) {
    if (size < kFileHeader + kInfoHeader) return nullptr;
    info = Info{static_cast<int32_t>(U32(h + 4)),
                static_cast<int32_t>(U32(h + 8)),
                U16(h + 12),
                U16(h + 14),
                U32(h + 16),
                U32(h + 32)};
  } else if (headerSize == kCoreHeader) {
    if (size < kFileHeader + kCoreHeader) return nullptr;
    info = Info{U16(h + 4), U16(h + 6), U16(h + 8), U16(h + 10), 0, 0};
  } else {
    return nullptr;
  }
  if (info.width <= 0 || info.height == 0 || info.height == INT32_MIN) return nullptr;

  if (info.bitCount == 8) {
    if (headerSize != kInfoHeader || info.compression != 0) return nullptr;
    return EightBitDib(item, size, info, pixelOffset);
  }

  uint64_t colours = 0;
  size_t tableBytes = 0;     // in the packed DIB
  size_t fileEntrySize = 4;  // bytes per colour entry in the file
  switch (info.bitCount) {
    case 1:
    case 2:
    case 4:
      colours = info.colorsUsed != 0 ? info.colorsUsed : (1u << info.bitCount);
      if (colours > (1u << info.bitCount)) colours = 1u << info.bitCount;
      tableBytes = static_cast<size_t>(colours) * 4;
      fileEntrySize = headerSize == kCoreHeader ? 3 : 4;
      break;
    case 16:
    case 32:
      tableBytes = 12;
      break;
    case 24:
      break;
    default:
      return nullptr;
  }
  const size_t tableAt = kFileHeader + headerSize;
  const size_t fileTableBytes =
      info.bitCount == 16 || info.bitCount == 32 ? 12 : static_cast<size_t>(colours) * fileEntrySize;
  if (tableAt + fileTableBytes > size) return nullptr;

  // Pixels: from the pixel offset to the end the file header gives, never
  // beyond the item.
  const uint64_t end = fileSize < size ? fileSize : size;
  if (pixelOffset > end) return nullptr;
  const uint64_t pixelBytes = end - pixelOffset;
  if (pixelBytes > kMaxPixelBytes) return nullptr;
  if ((info.compression == 0 || info.compression == 3) && pixelBytes < Stride(info) * AbsHeight(info)) {
    return nullptr;  // fewer rows than the header promises
  }

  const size_t total = kInfoHeader + tableBytes + static_cast<size_t>(pixelBytes);
  auto* dib = static_cast<uint8_t*>(memAlloc_rel(total, HEAPKIT_TAG_RW));
  if (dib == nullptr) return nullptr;
  if (headerSize == kInfoHeader) {
    std::memcpy(dib, h, kInfoHeader);
    Put32(dib + 20, static_cast<uint32_t>(pixelBytes));  // size image: the pixel bytes this block holds
  } else {
    std::memset(dib, 0, kInfoHeader);
    Put32(dib, kInfoHeader);
    Put32(dib + 4, static_cast<uint32_t>(info.width));
    Put32(dib + 8, static_cast<uint32_t>(info.height));
    Put16(dib + 12, info.planes);
    Put16(dib + 14, info.bitCount);
  }
  uint8_t* table = dib + kInfoHeader;
  if (fileEntrySize == 3) {
    for (uint64_t i = 0; i < colours; ++i) {
      std::memcpy(table + i * 4, item + tableAt + i * 3, 3);
      table[i * 4 + 3] = 0;
    }
  } else {
    std::memcpy(table, item + tableAt, fileTableBytes);
  }
  std::memcpy(table + tableBytes, item + pixelOffset, static_cast<size_t>(pixelBytes));
  return dib;
}

}  // namespace packfile
