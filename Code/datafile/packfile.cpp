// Packfile's exported functions over the platform edge of pack_io.h.
#include "packfile.h"

#include <cstring>

#include "adpcm.h"
#include "bitmap_item.h"
#include "heapkit.h"
#include "implode.h"
#include "pack_index.h"
#include "pack_io.h"
#include "pack_reader.h"

namespace packfile {

namespace {

// Larger items are not items of this program; refusing them keeps a damaged
// index from asking for gigabytes.
constexpr uint32_t kMaxItemSize = 256u << 20;

DatMessageHook g_hook = nullptr;

bool Empty(const char* s) { return s == nullptr || s[0] == '\0'; }

// The index to use: the caller's, or one read for this call.
class IndexForCall {
 public:
  IndexForCall(const char* path, DatIndex* given) : index_(given) {
    if (index_ == nullptr && !Empty(path)) {
      if (auto file = OpenInputFile(path)) owned_ = index_ = ReadIndex(*file);
    }
  }
  ~IndexForCall() { datUnloadFileIndex(owned_); }
  IndexForCall(const IndexForCall&) = delete;
  IndexForCall& operator=(const IndexForCall&) = delete;
  DatIndex* get() const { return index_; }

 private:
  DatIndex* index_;
  DatIndex* owned_ = nullptr;
};

const DatIndexEntry* Lookup(const DatIndex* index, const char* name) {
  int i = FindEntry(index->entries, index->count, name);
  return i < 0 ? nullptr : &index->entries[i];
}

}  // namespace

void ReportMessage(const char* text, const char* caption, unsigned style) {
  if (g_hook != nullptr) {
    g_hook(text, caption, style);
  } else {
    ShowBox(text, caption, style);
  }
}

Item DecodeItem(uint8_t* stored, const DatIndexEntry& entry) {
  if (entry.kind == DAT_KIND_ADPCM) {
    const size_t unpacked = entry.unpackedSize;
    auto* out = static_cast<uint8_t*>(memAlloc_rel(unpacked + 4008, HEAPKIT_TAG_RW));
    Item item{nullptr, 0};
    if (out != nullptr) {
      size_t produced = AdpcmDecodeItem(stored, entry.storedSize, out, unpacked);
      std::memset(out + produced, 0, unpacked + 4008 - produced);  // short input: silence
      item = Item{out, produced};
    }
    memFree_rel(stored);
    return item;
  }
  if (entry.kind == DAT_KIND_IMPLODE) {
    auto* work = static_cast<ExplodeWork*>(memAlloc_rel(ExplodeWorkSize(), HEAPKIT_TAG_RW));
    if (work == nullptr) {
      memFree_rel(stored);
      ReportMessage("Memory Allocation Error: Unable to allocate required memory.", "Decompression Error",
                    kBoxWarning);
      return Item{nullptr, 0};
    }
    const size_t unpacked = entry.unpackedSize;
    auto* out = static_cast<uint8_t*>(memAlloc_rel(unpacked + 32, HEAPKIT_TAG_RW));
    Item item{nullptr, 0};
    if (out != nullptr) {
      std::memset(out, 0, unpacked + 32);
      ExplodeResult r = Explode(work, stored, entry.storedSize, out, unpacked);
      if (r.code == kExplodeOutputFull || r.written != unpacked) {
        ReportMessage("Explode size mismatch", "Oops", kBoxOk);
      }
      item = Item{out, r.written};
    }
    memFree_rel(work);
    memFree_rel(stored);
    return item;
  }
  return Item{stored, entry.storedSize};
}

Item LoadItemFrom(InputFile& itemFile, const DatIndexEntry& entry) {
  if (entry.storedSize > kMaxItemSize || entry.unpackedSize > kMaxItemSize) return Item{nullptr, 0};
  // A stored item that does not lie wholly inside the item file is a short read.
  const uint64_t end = static_cast<uint64_t>(entry.offset) + entry.storedSize;
  auto* stored = static_cast<uint8_t*>(memAlloc_rel(entry.storedSize, HEAPKIT_TAG_RW));
  if (stored == nullptr) return Item{nullptr, 0};
  if (end > itemFile.Size() || !itemFile.Seek(entry.offset) ||
      itemFile.Read(stored, entry.storedSize) != entry.storedSize) {
    memFree_rel(stored);
    ReportMessage("Data read - incorrect size!", "Error", kBoxOk);
    return Item{nullptr, 0};
  }
  return DecodeItem(stored, entry);
}

Item LoadItem(const char* indexPath, const char* itemPath, const char* name, DatIndex* index,
              DatIndexEntry* info) {
  if ((index == nullptr && Empty(indexPath)) || Empty(itemPath) || name == nullptr || info == nullptr) {
    return Item{nullptr, 0};
  }
  IndexForCall use(indexPath, index);
  if (use.get() == nullptr) return Item{nullptr, 0};
  const DatIndexEntry* entry = Lookup(use.get(), name);
  if (entry == nullptr) return Item{nullptr, 0};
  auto file = OpenInputFile(itemPath);
  if (!file) return Item{nullptr, 0};
  Item item = LoadItemFrom(*file, *entry);
  if (item.data == nullptr) return item;
  std::memcpy(info, entry, sizeof *info);
  info->offset = 0;
  return item;
}

Item BitmapFromItem(Item item) {
  if (item.data == nullptr || !IsBitmapItem(item.data, item.size)) return item;
  void* dib = BitmapItemToPackedDib(item.data, item.size);
  memFree_rel(item.data);
  return Item{static_cast<uint8_t*>(dib), dib == nullptr ? 0 : memSize_rel(dib)};
}

}  // namespace packfile

using namespace packfile;

extern "C" {

DatIndex* datLoadFileIndex(const char* indexPath) {
  if (Empty(indexPath)) return nullptr;
  auto file = OpenInputFile(indexPath);
  return file ? ReadIndex(*file) : nullptr;
}

void datUnloadFileIndex(DatIndex* index) {
  if (index == nullptr) return;
  memFree_rel(index->entries);
  memFree_rel(index);
}

void* datLoadItem(const char* indexPath, const char* itemPath, const char* name, DatIndex* index,
                  DatIndexEntry* info) {
  return LoadItem(indexPath, itemPath, name, index, info).data;
}

void datUnloadItem(void* item) { memFree_rel(item); }

void* datLoadBitmap(const char* indexPath, const char* itemPath, const char* name, DatIndex* index,
                    DatIndexEntry* info) {
  return BitmapFromItem(LoadItem(indexPath, itemPath, name, index, info)).data;
}

int datGetItemInfo(const char* indexPath, const char* itemPath, const char* name, DatIndex* index,
                   DatIndexEntry* info) {
  if ((index == nullptr && Empty(indexPath)) || Empty(itemPath) || name == nullptr) return 0;
  IndexForCall use(indexPath, index);
  if (use.get() == nullptr) return 0;
  const DatIndexEntry* entry = Lookup(use.get(), name);
  if (entry == nullptr) return 0;
  if (info != nullptr) std::memcpy(info, entry, sizeof *info);
  return 1;
}

void datSetMessageHook(DatMessageHook hook) { g_hook = hook; }

}  // extern "C"
