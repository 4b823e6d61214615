// Helpers of the Packfile tests: files on disk, captured messages and small
// bitmap files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pack_writer.h"
#include "packfile.h"

namespace packtest {

using Bytes = std::vector<uint8_t>;

// Writes bytes to a file in the test's working folder; returns its path.
std::string WriteFile(const std::string& name, const Bytes& bytes);

// Builds a pack from the items and writes base.idx and base.dat.
struct PackFiles {
  std::string index;
  std::string data;
};
PackFiles WritePack(const std::string& base, std::vector<packfile::PackItem> items);

// Messages Packfile shows while this object lives.
class MessageCapture {
 public:
  MessageCapture();
  ~MessageCapture();
  struct Message {
    std::string text, caption;
    unsigned style;
  };
  static std::vector<Message>& Messages();
};

// A bitmap file: 14-byte file header, the given info header bytes, colour
// table bytes, an optional gap, pixels.
Bytes BitmapFile(const Bytes& info, const Bytes& table, const Bytes& pixels, size_t gap = 0);
// A 40-byte info header.
Bytes InfoHeader(int32_t width, int32_t height, uint16_t bits, uint32_t colorsUsed = 0);

}  // namespace packtest
