// Header index: "RWGDGHIX", u32 version, u32 game count, then per game
// u32 header length and the header bytes of its record.
#include "index.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game.h"
#include "store.h"

namespace gdg {
namespace {

constexpr char kMagic[8] = {'R', 'W', 'G', 'D', 'G', 'H', 'I', 'X'};
constexpr uint32_t kVersion = 1;

std::string IndexPath(const GameStore* store, const char* folder) {
  std::string dir = folder;
  if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '/';
  const std::string& path = store->Path();
  size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.resize(dot);
  return dir + name + ".ghi";
}

struct Loaded {
  std::vector<uint8_t> bytes;
  std::vector<uint32_t> offsets;  // of each header within bytes
};

bool LoadIndex(const std::string& path, Loaded* out) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fseek(f, 0, SEEK_END);
  long size = std::ftell(f);
  std::fseek(f, 0, SEEK_SET);
  bool ok = size >= 16;
  if (ok) {
    out->bytes.resize(static_cast<size_t>(size));
    ok = std::fread(out->bytes.data(), 1, out->bytes.size(), f) == out->bytes.size();
  }
  std::fclose(f);
  if (!ok || std::memcmp(out->bytes.data(), kMagic, 8) != 0) return false;
  uint32_t version, count;
  std::memcpy(&version, out->bytes.data() + 8, 4);
  std::memcpy(&count, out->bytes.data() + 12, 4);
  if (version != kVersion) return false;
  size_t at = 16;
  out->offsets.clear();
  out->offsets.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t len;
    if (at + 4 > out->bytes.size()) return false;
    std::memcpy(&len, out->bytes.data() + at, 4);
    at += 4;
    if (len > out->bytes.size() - at || HeaderLength(out->bytes.data() + at, len) != len) return false;
    out->offsets.push_back(static_cast<uint32_t>(at));
    at += len;
  }
  return true;
}

// Sort value of one header: a number, or a text.
struct Key {
  int64_t number = 0;
  const uint8_t* text = nullptr;
  uint32_t length = 0;
};

Key KeyOf(const uint8_t* h, int32_t sortKey, int32_t gameNumber, uint32_t deletedFlag) {
  auto u16 = [&](int at) { return static_cast<int64_t>(h[at] | (h[at + 1] << 8)); };
  auto text = [&](int field) {
    uint32_t at = 19;
    for (int i = 0; i < field; ++i) at += 1 + h[at];
    Key k;
    k.length = h[at];
    k.text = h + at + 1;
    return k;
  };
  Key k;
  switch (sortKey) {
    case 1:
      return text(kWhitePlayer);
    case 2:
      return text(kBlackPlayer);
    case 3:
      k.number = u16(7);
      break;
    case 4:
      k.number = u16(9);
      break;
    case 5:
      return text(kWhiteTitle);
    case 6:
      return text(kBlackTitle);
    case 7:
      return text(kWhiteCountry);
    case 8:
      return text(kBlackCountry);
    case 9:
      return text(kSite);
    case 10:
      return text(kPlace);
    case 11:
      return text(kAnnotator);
    case 12:
      k.number = h[2];
      break;
    case 13:
      return text(kKeycode);
    case 14:
      k.number = u16(15);
      break;
    case 15:
      return text(kRemark);
    case 16:
      k.number = (u16(5) << 16) | (h[3] << 8) | h[4];
      break;
    case 17:
      k.number = gameNumber;
      break;
    case 18:
      k.number = u16(17);
      break;
    case 19:
      k.number = (h[1] & ~1) | deletedFlag;
      break;
    default:
      break;
  }
  return k;
}

int Compare(const Key& a, const Key& b) {
  if (a.text || b.text) {
    uint32_t n = std::min(a.length, b.length);
    for (uint32_t i = 0; i < n; ++i) {
      int ca = a.text[i], cb = b.text[i];
      if (ca >= 'a' && ca <= 'z') ca -= 32;
      if (cb >= 'a' && cb <= 'z') cb -= 32;
      if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.length == b.length ? 0 : a.length < b.length ? -1 : 1;
  }
  return a.number == b.number ? 0 : a.number < b.number ? -1 : 1;
}

}  // namespace

int BuildHeaderIndex(GameStore* store, const char* folder, bool, GdgProgress* progress, int32_t user) {
  std::string path = IndexPath(store, folder);
  std::string temp = path + ".new";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return 2;
  uint32_t count = store->Count();
  uint8_t head[16];
  std::memcpy(head, kMagic, 8);
  std::memcpy(head + 8, &kVersion, 4);
  std::memcpy(head + 12, &count, 4);
  bool ok = std::fwrite(head, 1, 16, f) == 16;
  std::vector<uint8_t> span;
  const uint32_t chunk = 2000;
  for (uint32_t first = 0; ok && first < count; first += chunk) {
    uint32_t n = std::min(chunk, count - first);
    uint64_t base = 0;
    ok = store->ReadSpan(first, n, &span, &base);
    for (uint32_t i = 0; ok && i < n; ++i) {
      const DirEntry& e = store->Entry(first + i);
      const uint8_t* rec = span.data() + (e.offset - base);
      uint32_t len = e.headerLength;
      ok = HeaderLength(rec, len) == len && std::fwrite(&len, 4, 1, f) == 1 &&
           std::fwrite(rec, 1, len, f) == len;
    }
    if (ok && progress && !progress(static_cast<int32_t>(first + n), user)) ok = false;
  }
  ok = std::fclose(f) == 0 && ok;
  if (!ok) {
    std::remove(temp.c_str());
    return 3;
  }
  std::remove(path.c_str());
  return std::rename(temp.c_str(), path.c_str()) == 0 ? 0 : 4;
}

int DeleteHeaderIndex(GameStore* store, const char* folder) {
  std::string path = IndexPath(store, folder);
  return std::remove(path.c_str()) == 0 ? 0 : 1;
}

int32_t SortByHeaderIndex(GameStore* store, const char* folder, const int32_t* source, int32_t* target,
                          int32_t count, int32_t sortKey, int32_t direction) {
  Loaded index;
  if (!LoadIndex(IndexPath(store, folder), &index)) return 0;
  if (index.offsets.size() < store->Count()) return -1;
  struct Item {
    int32_t number;
    Key key;
  };
  std::vector<Item> items;
  items.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    int32_t n = source[i];
    if (n < 1 || static_cast<uint32_t>(n) > index.offsets.size()) return -1;
    uint32_t deleted = static_cast<uint32_t>(n) <= store->Count() ? store->Entry(n - 1).flags & 1 : 0;
    items.push_back({n, KeyOf(index.bytes.data() + index.offsets[n - 1], sortKey, n, deleted)});
  }
  bool ascending = direction >= 0;
  std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
    int c = Compare(a.key, b.key);
    return ascending ? c < 0 : c > 0;
  });
  for (int32_t i = 0; i < count; ++i) target[i] = items[i].number;
  return count;
}

}  // namespace gdg
