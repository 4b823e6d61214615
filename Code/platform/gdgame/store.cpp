// Game file storage: append, then publish with one small slot write.
#include "store.h"

#include <cstring>

namespace gdg {
namespace {

constexpr char kDataMagic[8] = {'R', 'W', 'G', 'D', 'G', 'A', 'M', 'E'};
constexpr char kDirMagic[8] = {'R', 'W', 'G', 'D', 'G', 'D', 'I', 'R'};
constexpr uint32_t kVersion = 1;
constexpr uint32_t kFileHeader = 64;
constexpr uint32_t kSlotSize = 32;
constexpr uint32_t kDataStart = kFileHeader + 2 * kSlotSize;
constexpr uint32_t kDirHeader = 32;
constexpr uint32_t kEntrySize = 24;
constexpr uint32_t kSlotMagic = 0x544F4C53;  // "SLOT"
constexpr uint32_t kMaxRecord = 16u << 20;

void Put32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
void Put64(uint8_t* p, uint64_t v) { std::memcpy(p, &v, 8); }
uint32_t Get32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
uint64_t Get64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

bool WriteAt(std::FILE* f, uint64_t at, const void* data, size_t size) {
  if (std::fseek(f, static_cast<long>(at), SEEK_SET) != 0) return false;
  return std::fwrite(data, 1, size, f) == size;
}

bool ReadAt(std::FILE* f, uint64_t at, void* data, size_t size) {
  if (std::fseek(f, static_cast<long>(at), SEEK_SET) != 0) return false;
  return std::fread(data, 1, size, f) == size;
}

uint64_t FileSize(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return 0;
  long size = std::ftell(f);
  return size < 0 ? 0 : static_cast<uint64_t>(size);
}

std::string DirPath(const std::string& path) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ".gdx";
  return path.substr(0, dot) + ".gdx";
}

void EncodeEntry(const DirEntry& e, uint8_t* p) {
  Put64(p, e.offset);
  Put32(p + 8, e.length);
  Put32(p + 12, e.headerLength);
  Put32(p + 16, e.crc);
  Put32(p + 20, e.flags);
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
  static uint32_t table[256];
  static bool ready = [] {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
    return true;
  }();
  (void)ready;
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

GameStore::~GameStore() {
  if (data_) std::fclose(data_);
  if (dirFile_) std::fclose(dirFile_);
}

GameStore* GameStore::Open(const std::string& path, bool create, int* error) {
  auto* s = new GameStore;
  s->path_ = path;
  std::string dirPath = DirPath(path);
  *error = kOpenOk;
  if (create) {
    s->data_ = std::fopen(path.c_str(), "w+b");
    s->dirFile_ = std::fopen(dirPath.c_str(), "w+b");
    if (!s->data_ || !s->dirFile_) {
      *error = kOpenMissing;
      delete s;
      return nullptr;
    }
    uint8_t header[kDataStart] = {};
    std::memcpy(header, kDataMagic, 8);
    Put32(header + 8, kVersion);
    Put32(header + 12, kFileHeader);
    uint8_t dir[kDirHeader] = {};
    std::memcpy(dir, kDirMagic, 8);
    Put32(dir + 8, kVersion);
    Put32(dir + 12, kEntrySize);
    s->dataEnd_ = kDataStart;
    if (!WriteAt(s->data_, 0, header, sizeof header) || !WriteAt(s->dirFile_, 0, dir, sizeof dir) ||
        std::fflush(s->dirFile_) != 0 || !s->Publish()) {
      *error = kOpenMissing;
      delete s;
      return nullptr;
    }
    return s;
  }
  s->data_ = std::fopen(path.c_str(), "r+b");
  s->dirFile_ = s->data_ ? std::fopen(dirPath.c_str(), "r+b") : nullptr;
  if (!s->data_ || !s->dirFile_) {
    if (s->data_) std::fclose(s->data_);
    s->data_ = std::fopen(path.c_str(), "rb");
    s->dirFile_ = std::fopen(dirPath.c_str(), "rb");
    s->readOnly_ = true;
  }
  if (!s->data_ || !s->dirFile_) {
    *error = kOpenMissing;
    delete s;
    return nullptr;
  }
  uint8_t header[kDataStart];
  uint8_t dirHeader[kDirHeader];
  uint64_t dataSize = FileSize(s->data_);
  uint64_t dirSize = FileSize(s->dirFile_);
  if (!ReadAt(s->data_, 0, header, sizeof header) || std::memcmp(header, kDataMagic, 8) != 0 ||
      Get32(header + 8) != kVersion || Get32(header + 12) != kFileHeader ||
      !ReadAt(s->dirFile_, 0, dirHeader, sizeof dirHeader) || std::memcmp(dirHeader, kDirMagic, 8) != 0 ||
      Get32(dirHeader + 8) != kVersion || Get32(dirHeader + 12) != kEntrySize) {
    *error = kOpenHeader;
    delete s;
    return nullptr;
  }
  // The newest slot whose checksum holds is in force.
  bool found = false;
  for (int i = 0; i < 2; ++i) {
    const uint8_t* slot = header + kFileHeader + i * kSlotSize;
    if (Get32(slot) != kSlotMagic || Crc32(slot, 24) != Get32(slot + 24)) continue;
    uint32_t seq = Get32(slot + 4);
    if (found && seq <= s->sequence_) continue;
    found = true;
    s->sequence_ = seq;
    s->count_ = Get32(slot + 8);
    s->dataEnd_ = Get64(slot + 16);
  }
  if (!found) {
    *error = kOpenSlots;
    delete s;
    return nullptr;
  }
  if (s->dataEnd_ < kDataStart || s->dataEnd_ > dataSize ||
      static_cast<uint64_t>(s->count_) * kEntrySize + kDirHeader > dirSize) {
    *error = kOpenSize;
    delete s;
    return nullptr;
  }
  std::vector<uint8_t> raw(static_cast<size_t>(s->count_) * kEntrySize);
  if (!raw.empty() && !ReadAt(s->dirFile_, kDirHeader, raw.data(), raw.size())) {
    *error = kOpenDirectory;
    delete s;
    return nullptr;
  }
  s->dir_.resize(s->count_);
  uint64_t expected = kDataStart;
  for (uint32_t i = 0; i < s->count_; ++i) {
    const uint8_t* p = raw.data() + static_cast<size_t>(i) * kEntrySize;
    DirEntry& e = s->dir_[i];
    e.offset = Get64(p);
    e.length = Get32(p + 8);
    e.headerLength = Get32(p + 12);
    e.crc = Get32(p + 16);
    e.flags = Get32(p + 20);
    // Records lie one after the other in game order.
    if (e.offset != expected || e.length > kMaxRecord || e.headerLength > e.length ||
        e.offset + e.length > s->dataEnd_) {
      *error = kOpenDirectory;
      delete s;
      return nullptr;
    }
    expected = e.offset + e.length;
  }
  return s;
}

bool GameStore::Publish() {
  uint8_t slot[kSlotSize] = {};
  uint32_t next = sequence_ + 1;
  Put32(slot, kSlotMagic);
  Put32(slot + 4, next);
  Put32(slot + 8, count_);
  Put64(slot + 16, dataEnd_);
  Put32(slot + 24, Crc32(slot, 24));
  if (!WriteAt(data_, kFileHeader + (next & 1) * kSlotSize, slot, sizeof slot) || std::fflush(data_) != 0)
    return false;
  sequence_ = next;
  return true;
}

bool GameStore::ReadRecord(uint32_t index, std::vector<uint8_t>* out, bool headerOnly) {
  if (index >= count_) return false;
  const DirEntry& e = dir_[index];
  uint32_t size = headerOnly ? e.headerLength : e.length;
  out->resize(size);
  if (size && !ReadAt(data_, e.offset, out->data(), size)) return false;
  return headerOnly || Crc32(out->data(), size) == e.crc;
}

bool GameStore::ReadSpan(uint32_t first, uint32_t n, std::vector<uint8_t>* out, uint64_t* base) {
  if (n == 0 || first + n > count_ || first + n < first) return false;
  *base = dir_[first].offset;
  uint64_t end = dir_[first + n - 1].offset + dir_[first + n - 1].length;
  out->resize(static_cast<size_t>(end - *base));
  return out->empty() || ReadAt(data_, *base, out->data(), out->size());
}

bool GameStore::Append(const std::vector<uint8_t>& record, uint32_t headerLength, uint32_t* number) {
  if (readOnly_ || record.size() > kMaxRecord) return false;
  DirEntry e{dataEnd_, static_cast<uint32_t>(record.size()), headerLength,
             Crc32(record.data(), record.size()), 0};
  uint8_t raw[kEntrySize];
  EncodeEntry(e, raw);
  // Record and directory entry reach the files before the slot that
  // publishes them.
  if (!WriteAt(data_, dataEnd_, record.data(), record.size()) || std::fflush(data_) != 0) return false;
  if (!WriteAt(dirFile_, kDirHeader + static_cast<uint64_t>(count_) * kEntrySize, raw, sizeof raw) ||
      std::fflush(dirFile_) != 0)
    return false;
  uint32_t oldCount = count_;
  uint64_t oldEnd = dataEnd_;
  ++count_;
  dataEnd_ += record.size();
  if (!Publish()) {
    count_ = oldCount;
    dataEnd_ = oldEnd;
    return false;
  }
  dir_.push_back(e);
  *number = count_;
  return true;
}

bool GameStore::SetDeleted(uint32_t index, bool deleted) {
  if (readOnly_ || index >= count_) return false;
  DirEntry& e = dir_[index];
  uint32_t flags = deleted ? (e.flags | 1u) : (e.flags & ~1u);
  uint8_t raw[4];
  Put32(raw, flags);
  if (!WriteAt(dirFile_, kDirHeader + static_cast<uint64_t>(index) * kEntrySize + 20, raw, 4) ||
      std::fflush(dirFile_) != 0)
    return false;
  e.flags = flags;
  return true;
}

}  // namespace gdg
