// Writing packed data sets (index and item file). Not part of Packfile,
// which only reads: the host tool mkpack and the tests build packs with it.
//
// Interface: PackItem, StoredItem, AdpcmItem, ImplodedItem, BuildPack.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace packfile {

struct PackItem {
  std::string name;
  uint32_t kind;
  std::vector<uint8_t> stored;
  uint32_t unpackedSize;
};

// An item stored as it is, under the given kind tag ("0000" by default).
PackItem StoredItem(const std::string& name, std::vector<uint8_t> data, uint32_t kind = 0x30303030);
// 16-bit little-endian mono samples, ADPCM-encoded ("ADPC").
PackItem AdpcmItem(const std::string& name, const std::vector<uint8_t>& pcm);
// Imploded ("PKZP").
PackItem ImplodedItem(const std::string& name, const std::vector<uint8_t>& data);

// The index and item file of the items, entries sorted by CompareNames.
// False with a reason for a name that is empty, longer than 63 bytes or
// equal to another one without regard to case, or for a pack over 4 GiB.
bool BuildPack(std::vector<PackItem> items, std::vector<uint8_t>* index, std::vector<uint8_t>* data,
               std::string* error);

}  // namespace packfile
