// Index files of the packed data sets: layout, name order and lookup.
#include "pack_index.h"

#include <cstring>

#include "heapkit.h"

namespace packfile {

namespace {

constexpr size_t kNameField = sizeof(DatIndexEntry{}.name);

unsigned char Fold(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

bool NameEquals(const DatIndexEntry& entry, const char* key) { return CompareNames(entry.name, key) == 0; }

// The lookup the packs are written for: both ends of the range, then the
// half that can hold the key (a range of mid entries either way; with an odd
// count the range's last entry was one of the ends already tested).
int SearchSorted(const DatIndexEntry* entries, int32_t count, const char* key) {
  int32_t first = 0;
  while (count > 0) {
    if (NameEquals(entries[first], key)) return first;
    if (NameEquals(entries[first + count - 1], key)) return first + count - 1;
    if (count < 4) {
      for (int32_t i = 1; i < count - 1; ++i) {
        if (NameEquals(entries[first + i], key)) return first + i;
      }
      return -1;
    }
    int32_t mid = count / 2;
    int c = CompareNames(entries[first + mid].name, key);
    if (c == 0) return first + mid;
    if (c < 0) first += mid;  // the key lies above the middle
    count = mid;
  }
  return -1;
}

}  // namespace

int CompareNames(const char* a, const char* b) {
  for (size_t i = 0;; ++i) {
    unsigned char ca = i < kNameField ? Fold(static_cast<unsigned char>(a[i])) : 0;
    unsigned char cb = Fold(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

int FindEntry(const DatIndexEntry* entries, int32_t count, const char* key) {
  if (entries == nullptr || count <= 0 || key == nullptr) return -1;
  int found = SearchSorted(entries, count, key);
  if (found >= 0) return found;
  for (int32_t i = 0; i < count; ++i) {
    if (NameEquals(entries[i], key)) return i;
  }
  return -1;
}

DatIndex* ReadIndex(InputFile& file) {
  uint8_t header[kIndexHeaderSize];
  if (!file.Seek(0) || file.Read(header, sizeof header) != sizeof header) return nullptr;
  if (ReadU32(header) != kIndexHeaderSize) return nullptr;
  int32_t count = static_cast<int32_t>(ReadU32(header + kIndexCountOffset));
  if (count < 0) return nullptr;
  uint64_t needed = kIndexHeaderSize + static_cast<uint64_t>(count) * kIndexEntrySize;
  if (needed > file.Size()) return nullptr;

  auto* index = static_cast<DatIndex*>(memAlloc_rel(sizeof(DatIndex), HEAPKIT_TAG_RW));
  if (index == nullptr) return nullptr;
  std::memset(index, 0, sizeof *index);
  index->headerSize = ReadU32(header);
  std::memcpy(index->reserved, header + 4, sizeof index->reserved);
  index->count = count;
  std::memcpy(index->reserved2, header + kIndexCountOffset + 4, sizeof index->reserved2);
  index->entries = nullptr;
  if (count > 0) {
    size_t bytes = static_cast<size_t>(count) * kIndexEntrySize;
    index->entries = static_cast<DatIndexEntry*>(memAlloc_rel(bytes, HEAPKIT_TAG_RW));
    if (index->entries == nullptr || file.Read(index->entries, bytes) != bytes) {
      memFree_rel(index->entries);
      memFree_rel(index);
      return nullptr;
    }
  }
  return index;
}

}  // namespace packfile
