// Pictures of the game-room windows.
#include "room_pictures_win32.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "data_sets.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "heapkit.h"

namespace {

constexpr int kPortraitSet = 1;         // the faces pack
constexpr int kResourceLibrarySet = 7;  // the program's library of named bitmaps

// A copy of an 8-bit packed DIB that lies in `held` bytes; null when the
// bytes are no such picture.
PackedDib* CopyPicture(const uint8_t* bytes, uint32_t held) {
  if (held < sizeof(PackedDib)) return nullptr;
  PackedDib header;
  std::memcpy(&header, bytes, sizeof header);
  const int32_t height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  if (header.biSize != 40 || header.biBitCount != 8 || header.biCompression != 0 ||
      !(header.biClrUsed == 0 || header.biClrUsed == 256) || header.biWidth <= 0 || header.biWidth >= 1024 ||
      height <= 0 || height >= 1024)
    return nullptr;
  const uint32_t length = 40 + 1024 + dibRowStride(8, header.biWidth) * uint32_t(height);
  if (held < length) return nullptr;
  auto* dib = static_cast<PackedDib*>(memAlloc_rel(length, HEAPKIT_TAG_RW));
  if (!dib) return nullptr;
  std::memcpy(dib, bytes, length);
  dibColorsToIndices(dib);
  return dib;
}

}  // namespace

PackedDib* LoadPortrait(const char* name) {
  if (!name || !name[0]) return nullptr;
  LocateDataSet(kPortraitSet, 0);
  void* data = nullptr;
  uint32_t tag = 0, stored = 0, size = 0;
  if (!LoadDataItem(name, kPortraitSet, &data, &tag, &stored, &size) || !data) return nullptr;
  // A loose file beside the program is a whole bitmap file; the pack gives
  // the packed DIB without the file header.
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  const uint32_t held = uint32_t(memSize_rel(data));
  const uint32_t skip = held > 14 && bytes[0] == 'B' && bytes[1] == 'M' ? 14 : 0;
  PackedDib* dib = CopyPicture(bytes + skip, held - skip);
  memFree_rel(data);
  return dib;
}

PackedDib* LoadLibraryPicture(const char* name) {
  if (!name || !name[0]) return nullptr;
  void* bits = nullptr;
  if (LoadLibraryBitmap(name, kResourceLibrarySet, &bits) && bits) {
    HMODULE library = static_cast<HMODULE>(GetDataSetLibrary(kResourceLibrarySet));
    HRSRC found = FindResourceA(library, name, MAKEINTRESOURCEA(2));
    return CopyPicture(static_cast<const uint8_t*>(bits), found ? SizeofResource(library, found) : 0);
  }
  HMODULE own = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(own, name, MAKEINTRESOURCEA(2));
  HGLOBAL loaded = found ? LoadResource(own, found) : nullptr;
  const void* held = loaded ? LockResource(loaded) : nullptr;
  return held ? CopyPicture(static_cast<const uint8_t*>(held), SizeofResource(own, found)) : nullptr;
}

HPALETTE RoomPicturePalette() {
  CcDefaults* d = ccGetDefaultData();
  return d ? d->palette : nullptr;
}

void DrawRoomPicture(HDC dc, int x, int y, const PackedDib* picture) {
  if (!picture) return;
  HPALETTE palette = RoomPicturePalette();
  HPALETTE old = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
  if (palette) RealizePalette(dc);
  dibDisplay(dc, x, y, PictureWidth(picture), PictureHeight(picture), 0, 0, picture);
  if (old) SelectPalette(dc, old, FALSE);
}
