// The registry helper stand-in and the install drive under the system's
// registry: machine-wide values first, then the user's, else the default.
#include <gtest/gtest.h>

#include <windows.h>

#include "app_globals.h"
#include "registry.h"

namespace {

const char kKey[] = "SOFTWARE\\RwTestMaker\\RwTestProduct";

void SetValue(HKEY root, const char* name, const char* value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(root, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
  RegCloseKey(key);
}

TEST(RegistryWin32, MachineThenUserThenDefault) {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
  RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  SetValue(HKEY_CURRENT_USER, "Directory", "E:\\Games\\Rw");
  // Before the key is known every read is its default.
  EXPECT_STREQ(regGetString("Directory", "none"), "none");
  regInitKeys("RwTestMaker", "RwTestProduct");
  EXPECT_STREQ(regGetString("Directory", "none"), "E:\\Games\\Rw");
  EXPECT_EQ(GetInstallDrive(), 'E');
  SetValue(HKEY_LOCAL_MACHINE, "Directory", "F:\\Rw");
  EXPECT_STREQ(regGetString("Directory", "none"), "F:\\Rw");
  EXPECT_EQ(GetInstallDrive(), 'F');
  EXPECT_STREQ(regGetString("Missing", "dflt"), "dflt");
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
  RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  EXPECT_EQ(GetInstallDrive(), 0);  // nothing written: a plain install
}

}  // namespace
