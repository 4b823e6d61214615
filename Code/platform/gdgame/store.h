// The game file on disk. Two files make one game file:
//   NAME.gdg  file header (64 bytes: "RWGDGAME", u32 version, ...), two
//             publish slots of 32 bytes, then game records appended;
//   NAME.gdx  directory (32 bytes: "RWGDGDIR", u32 version, u32 entry size),
//             then one 24-byte entry per game: u64 offset, u32 length,
//             u32 header length, u32 CRC-32 of the record, u32 flags.
// A write appends the record and its directory entry, then publishes the
// new count and data end in the slot not in use (sequence number + CRC):
// a write cut short at any moment leaves the previous slot in force.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace gdg {

enum OpenError { kOpenOk = 0, kOpenMissing, kOpenHeader, kOpenSlots, kOpenDirectory, kOpenSize, kOpenInUse };

struct DirEntry {
  uint64_t offset;
  uint32_t length, headerLength, crc, flags;  // flags bit 0: deleted
};

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

class GameStore {
 public:
  ~GameStore();
  // create: a new empty game file replaces any old one.
  static GameStore* Open(const std::string& path, bool create, int* error);

  uint32_t Count() const { return count_; }
  bool ReadOnly() const { return readOnly_; }
  const std::string& Path() const { return path_; }
  const DirEntry& Entry(uint32_t index) const { return dir_[index]; }

  // Record bytes of game index (0-based), checked against the directory.
  bool ReadRecord(uint32_t index, std::vector<uint8_t>* out, bool headerOnly);
  // Reads records first..first+n-1 into one buffer (they lie in order).
  bool ReadSpan(uint32_t first, uint32_t n, std::vector<uint8_t>* out, uint64_t* base);
  bool Append(const std::vector<uint8_t>& record, uint32_t headerLength, uint32_t* number);
  bool SetDeleted(uint32_t index, bool deleted);

 private:
  GameStore() = default;
  bool Publish();

  std::string path_;
  std::FILE* data_ = nullptr;
  std::FILE* dirFile_ = nullptr;
  bool readOnly_ = false;
  uint32_t sequence_ = 0;
  uint32_t count_ = 0;
  uint64_t dataEnd_ = 0;
  std::vector<DirEntry> dir_;
};

}  // namespace gdg
