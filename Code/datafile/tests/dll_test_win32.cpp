// The DLL as the program binds to it: every function found by its plain
// name, and an item loaded through it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "pack_fixture.h"
#include "packfile.h"

#include <cstddef>

// The record is the file's 32-byte header with the entry pointer in its last
// slot; only the 32-bit build's pointer fits that slot exactly.
static_assert(offsetof(DatIndex, count) == 20, "the entry count sits where the header has it");
static_assert(sizeof(void*) != 4 || sizeof(DatIndex) == 32, "the index record is the 32-byte header");

namespace {
template <typename F>
F Proc(HMODULE dll, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}
}  // namespace

TEST(PackfileDll, ExportsByNameAndLoadsItems) {
  HMODULE dll = LoadLibraryA("Packfile.dll");
  ASSERT_NE(dll, nullptr);
  for (const char* name : {"datLoadFileIndex", "datUnloadFileIndex", "datLoadItem", "datUnloadItem",
                           "datLoadBitmap", "datGetItemInfo", "datSetMessageHook"}) {
    EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
  }
  auto load = Proc<decltype(&datLoadItem)>(dll, "datLoadItem");
  auto unload = Proc<decltype(&datUnloadItem)>(dll, "datUnloadItem");
  auto info = Proc<decltype(&datGetItemInfo)>(dll, "datGetItemInfo");
  packtest::PackFiles files =
      packtest::WritePack("dll", {packfile::ImplodedItem("Board_Wood", packtest::Bytes(3000, 'w'))});
  DatIndexEntry entry;
  auto* item =
      static_cast<char*>(load(files.index.c_str(), files.data.c_str(), "board_wood", nullptr, &entry));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(std::string(item, 3000), std::string(3000, 'w'));
  EXPECT_EQ(entry.unpackedSize, 3000u);
  unload(item);
  EXPECT_EQ(info(files.index.c_str(), files.data.c_str(), "BOARD_WOOD", nullptr, &entry), 1);
  FreeLibrary(dll);
}
