// Index files of the packed data sets: layout, name order and lookup.
//
// Interface: kIndexHeaderSize, kIndexEntrySize, CompareNames, FindEntry,
// ReadIndex.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pack_io.h"
#include "packfile.h"

namespace packfile {

constexpr uint32_t kIndexHeaderSize = 32;
constexpr uint32_t kIndexEntrySize = 80;
constexpr uint32_t kIndexCountOffset = 20;
static_assert(sizeof(DatIndexEntry) == kIndexEntrySize, "entry layout");

// The one order of item names, used by the reader and by the tool that
// writes packs: bytes compared after folding ASCII 'A'..'Z' to lower case,
// nothing locale-dependent. `a` is read up to 64 bytes (an entry's name
// field need not be terminated when it is full).
int CompareNames(const char* a, const char* b);

// The entry whose name equals `key`, or -1. Binary search over the sorted
// entries; when that misses (an index sorted under another order) every
// entry is compared in turn, so no stored item is ever lost.
int FindEntry(const DatIndexEntry* entries, int32_t count, const char* key);

// Reads and checks an index: the header size must be 32 and count entries
// must fit in the file. A Heapkit DatIndex, or null.
DatIndex* ReadIndex(InputFile& file);

}  // namespace packfile
