// Dibkit's own helpers shared between its source files.
//
// Interface: Stride, AbsHeight, BytesPerPixel, Bits, ColorArea, Report,
// ShowBox, ReadWholeFile, WriteWholeFile, DibFromFileBytes, DibToFileBytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dibkit.h"

namespace dibkit {

// Larger images than this are not images of this program.
constexpr uint64_t kMaxPixelBytes = uint64_t{256} << 20;

inline int32_t AbsHeight(const PackedDib* dib) { return dib->biHeight < 0 ? -dib->biHeight : dib->biHeight; }
inline int BytesPerPixel(const PackedDib* dib) { return dib->biBitCount / 8; }
inline uint8_t* ColorArea(const PackedDib* dib) {
  return reinterpret_cast<uint8_t*>(const_cast<PackedDib*>(dib)) + sizeof(PackedDib);
}
inline uint8_t* Bits(const PackedDib* dib) { return ColorArea(dib) + dibColorAreaSize(dib->biBitCount); }
inline uint32_t Stride(const PackedDib* dib) { return dibRowStride(dib->biBitCount, dib->biWidth); }

// The pixel bytes an image holds: its size image, but never more than its
// full rows when it is uncompressed (a header from a file may claim more).
uint32_t HeldImageBytes(const PackedDib* dib);

// Address of row y (from the top) of an image, and the step to the row below.
uint8_t* RowAddress(const PackedDib* dib, int32_t y);
int32_t RowStep(const PackedDib* dib);

// The message hook when set, else the platform's box.
void Report(const char* text, const char* caption);
void ShowBox(const char* text, const char* caption);

// Whole files; false when the file cannot be opened or read (or is larger
// than `limit` bytes) / created or written.
bool ReadWholeFile(const char* path, size_t limit, std::vector<uint8_t>* bytes);
bool WriteWholeFile(const char* path, const std::vector<uint8_t>& bytes);

// Bitmap files in memory.
PackedDib* DibFromFileBytes(const uint8_t* bytes, size_t size);
std::vector<uint8_t> DibToFileBytes(const PackedDib* dib);

}  // namespace dibkit
