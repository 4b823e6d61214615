// Packfile: reader of the packed data sets (an index file ".idx" and an item
// file ".dat" with one base name). Items come back as Heapkit blocks that the
// caller frees with datUnloadItem; indexes are freed with datUnloadFileIndex.
//
// Interface: datLoadFileIndex, datUnloadFileIndex, datLoadItem, datUnloadItem,
// datLoadBitmap, datGetItemInfo, and datSetMessageHook for hosts and tests.
#pragma once

#include <stdint.h>

#if defined(_WIN32) && defined(PACKFILE_BUILDING_DLL)
#define PACKFILE_API __declspec(dllexport)
#elif defined(_WIN32) && defined(PACKFILE_DLL)
#define PACKFILE_API __declspec(dllimport)
#else
#define PACKFILE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// One item of an index, 80 bytes, the same in the file and in memory (all
// numbers little-endian). `kind` is four characters read as one u32: "ADPC"
// (IMA ADPCM sound) and "PKZP" (imploded) are decoded, anything else is
// handed out as stored.
typedef struct DatIndexEntry {
  char name[64];  // zero-terminated, matched without regard to ASCII case
  uint32_t kind;
  uint32_t offset;        // of the stored bytes in the item file
  uint32_t unpackedSize;  // after decoding
  uint32_t storedSize;    // bytes in the item file
} DatIndexEntry;

// An index in memory: the 32 header bytes of the file, with the slot at
// offset 28 holding the entry array (exactly 32 bytes in the 32-bit build).
typedef struct DatIndex {
  uint32_t headerSize;  // 32
  uint8_t reserved[16];
  int32_t count;  // entries, sorted by name (ASCII case folded)
  uint8_t reserved2[4];
  DatIndexEntry* entries;  // count entries, or null when count is 0
} DatIndex;

// Four-character kind tags as stored in DatIndexEntry::kind.
#define DAT_KIND(a, b, c, d)                                                                 \
  ((uint32_t)(uint8_t)(a) | ((uint32_t)(uint8_t)(b) << 8) | ((uint32_t)(uint8_t)(c) << 16) | \
   ((uint32_t)(uint8_t)(d) << 24))
#define DAT_KIND_ADPCM DAT_KIND('A', 'D', 'P', 'C')
#define DAT_KIND_IMPLODE DAT_KIND('P', 'K', 'Z', 'P')
#define DAT_KIND_MP3 DAT_KIND('M', 'P', '3', ' ')
#define DAT_KIND_RAW DAT_KIND('0', '0', '0', '0')

// Reads an index file; null when the path is null or empty, the file cannot
// be opened, or its header or length is not that of an index.
PACKFILE_API DatIndex* datLoadFileIndex(const char* indexPath);
// Frees an index and its entries; null is ignored.
PACKFILE_API void datUnloadFileIndex(DatIndex* index);

// The decoded bytes of the named item, or null. `index` may be null: the
// index is then read from `indexPath` for this call. `info` receives the
// item's entry with its offset set to 0.
PACKFILE_API void* datLoadItem(const char* indexPath, const char* itemPath, const char* name, DatIndex* index,
                               DatIndexEntry* info);
// Frees what datLoadItem or datLoadBitmap returned; null is ignored.
PACKFILE_API void datUnloadItem(void* item);
// Like datLoadItem; an item that is a bitmap file ("BM") comes back as a
// packed DIB (40-byte header, colour area, pixels), any other item as stored.
// Null when the bitmap's header is not accepted.
PACKFILE_API void* datLoadBitmap(const char* indexPath, const char* itemPath, const char* name,
                                 DatIndex* index, DatIndexEntry* info);
// 1 when the item exists (and its entry, real offset included, is copied
// into info when info is not null), else 0. Reads no item data.
PACKFILE_API int datGetItemInfo(const char* indexPath, const char* itemPath, const char* name,
                                DatIndex* index, DatIndexEntry* info);

// Packfile reports a few conditions to the user ("Data read - incorrect
// size!", the decoders' messages) in a message box. A host or a test may take
// them instead: the hook gets the text, the caption and the box's style bits
// (0 for OK only, 0x30 with the warning icon). Null restores the box.
typedef void (*DatMessageHook)(const char* text, const char* caption, unsigned style);
PACKFILE_API void datSetMessageHook(DatMessageHook hook);

#ifdef __cplusplus
}
#endif
