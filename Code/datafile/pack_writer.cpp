// Writing packed data sets.
#include "pack_writer.h"

#include <algorithm>
#include <cstring>

#include "adpcm.h"
#include "implode.h"
#include "pack_index.h"

namespace packfile {

namespace {

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

PackItem StoredItem(const std::string& name, std::vector<uint8_t> data, uint32_t kind) {
  auto size = static_cast<uint32_t>(data.size());
  return PackItem{name, kind, std::move(data), size};
}

PackItem AdpcmItem(const std::string& name, const std::vector<uint8_t>& pcm) {
  std::vector<int16_t> samples(pcm.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<int16_t>(pcm[2 * i] | pcm[2 * i + 1] << 8);
  }
  std::vector<uint8_t> stored = AdpcmEncode(samples.data(), samples.size());
  return PackItem{name, DAT_KIND_ADPCM, std::move(stored), static_cast<uint32_t>(samples.size() * 2)};
}

PackItem ImplodedItem(const std::string& name, const std::vector<uint8_t>& data) {
  return PackItem{name, DAT_KIND_IMPLODE, Implode(data.data(), data.size()),
                  static_cast<uint32_t>(data.size())};
}

bool BuildPack(std::vector<PackItem> items, std::vector<uint8_t>* index, std::vector<uint8_t>* data,
               std::string* error) {
  for (const PackItem& item : items) {
    if (item.name.empty() || item.name.size() > 63 || item.name.find('\0') != std::string::npos) {
      *error = "item name \"" + item.name + "\" must have 1 to 63 characters";
      return false;
    }
  }
  std::stable_sort(items.begin(), items.end(), [](const PackItem& a, const PackItem& b) {
    return CompareNames(a.name.c_str(), b.name.c_str()) < 0;
  });
  for (size_t i = 1; i < items.size(); ++i) {
    if (CompareNames(items[i - 1].name.c_str(), items[i].name.c_str()) == 0) {
      *error = "item names \"" + items[i - 1].name + "\" and \"" + items[i].name + "\" differ only in case";
      return false;
    }
  }

  index->assign(kIndexHeaderSize + items.size() * kIndexEntrySize, 0);
  data->clear();
  Put32(*index, 0, kIndexHeaderSize);
  Put32(*index, kIndexCountOffset, static_cast<uint32_t>(items.size()));
  for (size_t i = 0; i < items.size(); ++i) {
    const PackItem& item = items[i];
    if (data->size() + item.stored.size() > 0xFFFFFFFFu) {
      *error = "the item file would exceed 4 GiB";
      return false;
    }
    size_t at = kIndexHeaderSize + i * kIndexEntrySize;
    std::memcpy(index->data() + at, item.name.data(), item.name.size());
    Put32(*index, at + 64, item.kind);
    Put32(*index, at + 68, static_cast<uint32_t>(data->size()));
    Put32(*index, at + 72, item.unpackedSize);
    Put32(*index, at + 76, static_cast<uint32_t>(item.stored.size()));
    data->insert(data->end(), item.stored.begin(), item.stored.end());
  }
  return true;
}

}  // namespace packfile
