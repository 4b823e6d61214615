// The index: layout, lookup and the exported load functions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "heapkit.h"
#include "pack_fixture.h"
#include "pack_index.h"
#include "pack_writer.h"
#include "packfile.h"

using packfile::StoredItem;
using namespace packtest;

namespace {

uint32_t U32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::string SwapCase(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 32);
    else if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
  }
  return s;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

}  // namespace

TEST(PackIndex, LayoutOfHeaderAndEntries) {
  Bytes index, data;
  std::string error;
  ASSERT_TRUE(packfile::BuildPack(
      {StoredItem("beta", Text("BBBB"), DAT_KIND('L', 'Z', 'S', 'S')), StoredItem("Alpha", Text("aa"))},
      &index, &data, &error));
  ASSERT_EQ(index.size(), 32u + 2 * 80);
  EXPECT_EQ(U32(index, 0), 32u);
  EXPECT_EQ(U32(index, 20), 2u);
  // Entries sorted without regard to case: "Alpha" before "beta".
  EXPECT_STREQ(reinterpret_cast<const char*>(&index[32]), "Alpha");
  EXPECT_EQ(U32(index, 32 + 64), DAT_KIND('0', '0', '0', '0'));
  EXPECT_EQ(U32(index, 32 + 68), 0u);
  EXPECT_EQ(U32(index, 32 + 72), 2u);
  EXPECT_EQ(U32(index, 32 + 76), 2u);
  EXPECT_STREQ(reinterpret_cast<const char*>(&index[112]), "beta");
  EXPECT_EQ(std::memcmp(&index[112 + 64], "LZSS", 4), 0);
  EXPECT_EQ(U32(index, 112 + 68), 2u);
  EXPECT_EQ(U32(index, 112 + 76), 4u);
  EXPECT_EQ(data, Text("aaBBBB"));
}

TEST(PackIndex, NamesCompareWithAsciiCaseFolding) {
  struct Case {
    const char *a, *b;
    int sign;
  } cases[] = {
      {"abc", "ABC", 0}, {"Board_A", "board_b", -1}, {"a_", "aB", -1},  // '_' sorts below letters
      {"zz", "ZZZ", -1}, {"\xC4x", "\xE4x", -1},     {"", "", 0},
  };
  for (const Case& c : cases) {
    int r = packfile::CompareNames(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
  }
  // A full 64-byte name field without a terminator is read as 64 characters.
  char full[64];
  std::memset(full, 'q', sizeof full);
  EXPECT_EQ(packfile::CompareNames(full, std::string(64, 'Q').c_str()), 0);
  EXPECT_LT(packfile::CompareNames(full, std::string(65, 'Q').c_str()), 0);
}

// Every entry is found, in either case, for indexes of several sizes.
TEST(PackIndex, LookupFindsEveryEntry) {
  for (int count : {0, 1, 2, 3, 4, 5, 7, 8, 9, 1000}) {
    std::vector<packfile::PackItem> items;
    for (int i = 0; i < count; ++i) {
      std::string name = (i % 3 == 0   ? "Piece_"
                          : i % 3 == 1 ? "board"
                                       : "SND") +
                         std::to_string(i * 7919 % 1009);
      items.push_back(StoredItem(name, Text(name)));
    }
    PackFiles files = WritePack("lookup" + std::to_string(count), items);
    DatIndex* index = datLoadFileIndex(files.index.c_str());
    ASSERT_NE(index, nullptr);
    ASSERT_EQ(index->count, count);
    for (const auto& item : items) {
      for (const std::string& key : {item.name, SwapCase(item.name)}) {
        int at = packfile::FindEntry(index->entries, index->count, key.c_str());
        ASSERT_GE(at, 0) << key << " in " << count;
        EXPECT_EQ(packfile::CompareNames(index->entries[at].name, key.c_str()), 0);
      }
    }
    EXPECT_EQ(packfile::FindEntry(index->entries, index->count, "missing"), -1);
    EXPECT_EQ(packfile::FindEntry(index->entries, index->count, "Piece_"), -1);
    datUnloadFileIndex(index);
  }
}

// An index sorted under another order (a locale's) still finds every item.
TEST(PackIndex, LookupSurvivesForeignOrder) {
  std::vector<DatIndexEntry> entries(50);
  for (size_t i = 0; i < entries.size(); ++i) {
    std::memset(&entries[i], 0, sizeof entries[i]);
    std::snprintf(entries[i].name, sizeof entries[i].name, "item%02zu", entries.size() - i);  // descending
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(packfile::FindEntry(entries.data(), 50, entries[i].name), static_cast<int>(i));
  }
}

TEST(PackIndex, DamagedIndexesAreRefused) {
  Bytes index, data;
  std::string error;
  ASSERT_TRUE(
      packfile::BuildPack({StoredItem("a", Text("x")), StoredItem("b", Text("y"))}, &index, &data, &error));
  struct Case {
    const char* what;
    Bytes bytes;
  };
  Bytes wrongHeader = index, tooMany = index, negative = index;
  wrongHeader[0] = 31;
  tooMany[20] = 3;
  negative[23] = 0x80;
  Case cases[] = {
      {"empty", {}},
      {"shorter than the header", Bytes(index.begin(), index.begin() + 31)},
      {"header size not 32", wrongHeader},
      {"count beyond the file", tooMany},
      {"negative count", negative},
      {"last entry cut", Bytes(index.begin(), index.end() - 1)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(datLoadFileIndex(WriteFile("damaged.idx", c.bytes).c_str()), nullptr) << c.what;
  }
  DatIndex* ok = datLoadFileIndex(WriteFile("whole.idx", index).c_str());
  ASSERT_NE(ok, nullptr);
  datUnloadFileIndex(ok);
  EXPECT_EQ(datLoadFileIndex(nullptr), nullptr);
  EXPECT_EQ(datLoadFileIndex(""), nullptr);
  EXPECT_EQ(datLoadFileIndex("packfile_test_no_such.idx"), nullptr);
  datUnloadFileIndex(nullptr);
}

TEST(PackItems, LoadReportsOffsetZeroAndInfoTheRealOffset) {
  PackFiles files = WritePack("items", {StoredItem("first", Text("0123456789")),
                                        StoredItem("second", Text("abc"), DAT_KIND('L', 'Z', 'S', 'S')),
                                        StoredItem("third", Text("zz"), DAT_KIND_MP3)});
  DatIndex* index = datLoadFileIndex(files.index.c_str());
  ASSERT_NE(index, nullptr);
  for (DatIndex* given : {index, static_cast<DatIndex*>(nullptr)}) {
    DatIndexEntry info;
    std::memset(&info, 0xCC, sizeof info);
    auto* item =
        static_cast<char*>(datLoadItem(files.index.c_str(), files.data.c_str(), "SECOND", given, &info));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(std::string(item, 3), "abc");  // a tag that is not decoded comes back as stored
    EXPECT_EQ(memTag_rel(item), HEAPKIT_TAG_RW);
    EXPECT_STREQ(info.name, "second");
    EXPECT_EQ(info.offset, 0u);
    EXPECT_EQ(info.storedSize, 3u);
    EXPECT_EQ(info.unpackedSize, 3u);
    datUnloadItem(item);

    ASSERT_EQ(datGetItemInfo(files.index.c_str(), files.data.c_str(), "Third", given, &info), 1);
    EXPECT_EQ(info.offset, 13u);
    EXPECT_EQ(info.kind, DAT_KIND_MP3);
    EXPECT_EQ(datGetItemInfo(files.index.c_str(), files.data.c_str(), "Third", given, nullptr), 1);
    EXPECT_EQ(datGetItemInfo(files.index.c_str(), files.data.c_str(), "fourth", given, &info), 0);
  }
  datUnloadFileIndex(index);
  datUnloadItem(nullptr);
}

TEST(PackItems, MissingArgumentsGiveNothing) {
  PackFiles files = WritePack("args", {StoredItem("a", Text("x"))});
  const char* idx = files.index.c_str();
  const char* dat = files.data.c_str();
  DatIndexEntry info;
  struct Case {
    const char *idx, *dat, *name;
    DatIndexEntry* info;
  } cases[] = {
      {nullptr, dat, "a", &info},
      {"", dat, "a", &info},
      {idx, nullptr, "a", &info},
      {idx, "", "a", &info},
      {idx, dat, nullptr, &info},
      {"packfile_test_none.idx", dat, "a", &info},
      {idx, "packfile_test_none.dat", "a", &info},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(datLoadItem(c.idx, c.dat, c.name, nullptr, c.info), nullptr);
    EXPECT_EQ(datLoadBitmap(c.idx, c.dat, c.name, nullptr, c.info), nullptr);
  }
  EXPECT_EQ(datLoadItem(idx, dat, "a", nullptr, nullptr), nullptr);
  EXPECT_EQ(datGetItemInfo(nullptr, dat, "a", nullptr, &info), 0);
  EXPECT_EQ(datGetItemInfo(idx, "", "a", nullptr, &info), 0);
  EXPECT_EQ(datGetItemInfo(idx, dat, nullptr, nullptr, &info), 0);
  EXPECT_EQ(datGetItemInfo(idx, "any.dat", "a", nullptr, &info), 1);  // the item file is not read
}

// An item reaching past the end of the item file is a short read: the user
// is told and nothing half-read is handed out.
TEST(PackItems, ShortItemFileIsReportedAndRefused) {
  Bytes index, data;
  std::string error;
  ASSERT_TRUE(packfile::BuildPack({StoredItem("a", Text("0123456789")), StoredItem("b", Text("xyz"))}, &index,
                                  &data, &error));
  std::string idx = WriteFile("short.idx", index);
  std::string dat = WriteFile("short.dat", Bytes(data.begin(), data.end() - 2));
  MessageCapture capture;
  DatIndexEntry info;
  EXPECT_EQ(datLoadItem(idx.c_str(), dat.c_str(), "b", nullptr, &info), nullptr);
  ASSERT_EQ(MessageCapture::Messages().size(), 1u);
  EXPECT_EQ(MessageCapture::Messages()[0].text, "Data read - incorrect size!");
  EXPECT_EQ(MessageCapture::Messages()[0].caption, "Error");
  EXPECT_EQ(MessageCapture::Messages()[0].style, 0u);
  void* a = datLoadItem(idx.c_str(), dat.c_str(), "a", nullptr, &info);  // wholly inside: fine
  EXPECT_NE(a, nullptr);
  datUnloadItem(a);
  EXPECT_EQ(MessageCapture::Messages().size(), 1u);
}
