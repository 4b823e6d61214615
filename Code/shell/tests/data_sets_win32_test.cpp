// The data-set locator with the system's module calls: the program's
// picture library as set 7, a bitmap found in it by name.
#include <gtest/gtest.h>
#include <windows.h>

#include "data_sets.h"

namespace {

void* g_resourceLibrary = nullptr;

TEST(DataSetsWin32, ThePictureLibraryIsTheResourceLibrary) {
  DataSetHost host = DefaultDataSetHost();
  ASSERT_NE(host.loadModule, nullptr);
  host.programFolder = [] { return RW_BIN_DIR; };  // where the build puts RW256.dll
  host.setResourceLibrary = [](void* module) { g_resourceLibrary = module; };
  SetDataSetHost(host);
  CloseAllDataSets();
  ASSERT_EQ(OpenDataSet("RW256.dll", 7, 1), 1);
  void* module = GetDataSetLibrary(7);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(g_resourceLibrary, module);
  void* navbar = nullptr;
  ASSERT_EQ(LoadLibraryBitmap("NAVBAR", 7, &navbar), 1);
  const auto* header = static_cast<BITMAPINFOHEADER*>(navbar);
  EXPECT_EQ(header->biSize, sizeof(BITMAPINFOHEADER));
  EXPECT_GT(header->biWidth, 0);
  // Writable in place, as callers change colour tables.
  const LONG width = header->biWidth;
  static_cast<BITMAPINFOHEADER*>(navbar)->biWidth = width;
  void* none = nullptr;
  EXPECT_EQ(LoadLibraryBitmap("NO_SUCH_PICTURE", 7, &none), 0);
  CloseAllDataSets();
  EXPECT_EQ(g_resourceLibrary, nullptr);
  SetDataSetHost(DefaultDataSetHost());
}

}  // namespace
