// Windows bitmap files to and from packed DIBs.
//
// Accepted: a 40-byte info header, 8, 16, 24 or 32 bits, no compression (or
// bit fields at 16 and 32 bits), a positive width and a non-zero height.
// The 14-byte file header may be missing; the pixels then follow the colour
// table. An 8-bit image's colour area always holds 256 entries: colours the
// file does not carry are black. Short files are refused.
#include <cstring>

#include "dib_internal.h"
#include "dibkit.h"
#include "heapkit.h"

namespace dibkit {

namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;
constexpr size_t kMaxFile = kMaxPixelBytes + 2048;

uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

PackedDib* DibFromFileBytes(const uint8_t* bytes, size_t size) {
  if (bytes == nullptr) return nullptr;
  size_t infoAt = 0;
  bool pixelOffsetKnown = false;
  uint32_t pixelOffset = 0;
  if (size >= kFileHeader && bytes[0] == 'B' && bytes[1] == 'M') {
    infoAt = kFileHeader;
    pixelOffset = U32(bytes + 10);
    pixelOffsetKnown = pixelOffset != 0;
  }
  if (size < infoAt + kInfoHeader) return nullptr;
  PackedDib header;
  std::memcpy(&header, bytes + infoAt, kInfoHeader);
  const int bits = header.biBitCount;
  if (header.biSize != kInfoHeader || header.biWidth <= 0 || header.biHeight == 0 ||
      header.biHeight == INT32_MIN) {
    return nullptr;
  }
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;
  const bool bitFields = header.biCompression == 3 && (bits == 16 || bits == 32);
  if (header.biCompression != 0 && !bitFields) return nullptr;

  const uint64_t rows = header.biHeight < 0 ? -int64_t{header.biHeight} : header.biHeight;
  const uint64_t image = uint64_t{dibRowStride(bits, header.biWidth)} * rows;
  if (image > kMaxPixelBytes) return nullptr;
  // The pixels are always the full rows, whatever the size-image field says.
  header.biSizeImage = static_cast<uint32_t>(image);

  // Colour entries the file carries after the header.
  size_t fileTable = 0;
  if (bits == 8) {
    uint32_t colours = header.biClrUsed == 0 || header.biClrUsed > 256 ? 256 : header.biClrUsed;
    fileTable = colours * 4;
  } else if (bitFields) {
    fileTable = 12;
  }
  const size_t tableAt = infoAt + kInfoHeader;
  const uint64_t pixelsAt = pixelOffsetKnown ? pixelOffset : tableAt + fileTable;
  if (pixelOffsetKnown && pixelOffset < tableAt) return nullptr;
  if (tableAt + fileTable > size || pixelsAt > size || size - pixelsAt < image) return nullptr;
  if (pixelOffsetKnown && pixelsAt < tableAt + fileTable) {
    fileTable = static_cast<size_t>(pixelsAt - tableAt);  // fewer colours than announced
  }

  const size_t area = dibColorAreaSize(bits);
  auto* dib =
      static_cast<PackedDib*>(memAlloc_rel(kInfoHeader + area + static_cast<size_t>(image), HEAPKIT_TAG_RW));
  if (dib == nullptr) return nullptr;
  std::memcpy(dib, &header, kInfoHeader);
  uint8_t* colourArea = ColorArea(dib);
  std::memset(colourArea, 0, area);
  std::memcpy(colourArea, bytes + tableAt, fileTable < area ? fileTable : area);
  std::memcpy(colourArea + area, bytes + pixelsAt, static_cast<size_t>(image));
  return dib;
}

std::vector<uint8_t> DibToFileBytes(const PackedDib* dib) {
  const uint32_t area = dibColorAreaSize(dib->biBitCount);
  uint32_t image = HeldImageBytes(dib);
  if (image == 0) image = dibRowStride(dib->biBitCount, dib->biWidth) * static_cast<uint32_t>(AbsHeight(dib));
  std::vector<uint8_t> out(54 + area + static_cast<size_t>(image));
  out[0] = 'B';
  out[1] = 'M';
  Put32(&out[2], static_cast<uint32_t>(out.size()));
  Put32(&out[10], 54 + area);
  std::memcpy(&out[14], dib, kInfoHeader);
  Put32(&out[14 + 20], image);
  std::memcpy(&out[54], ColorArea(dib), area + static_cast<size_t>(image));
  return out;
}

}  // namespace dibkit

using namespace dibkit;

extern "C" {

PackedDib* dibReadFile(const char* path) {
  if (path == nullptr || path[0] == '\0') return nullptr;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, kMaxFile, &bytes)) return nullptr;
  return DibFromFileBytes(bytes.data(), bytes.size());
}

PackedDib* dibReadFileImage(const void* bytes, size_t size) {
  if (bytes == nullptr || size == 0) return nullptr;
  return DibFromFileBytes(static_cast<const uint8_t*>(bytes), size);
}

int dibWriteFile(const char* path, const PackedDib* dib) {
  if (path == nullptr || dib == nullptr) return 0;
  return WriteWholeFile(path, DibToFileBytes(dib)) ? 1 : 0;
}

}  // extern "C"
