// Fuzz target: the ini file reader over arbitrary file bytes, read and then
// rewritten through every kind of write.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/fuzz_ini_reader_" + std::to_string(getpid()) + ".ini";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  Profile& ini = IniFileProfile();
  char buffer[40];
  const char* names[] = {"settings", "", " a ", "[x]", "notation_style"};
  for (const char* section : names) {
    for (const char* key : names) {
      for (uint32_t cap : {1u, 2u, 5u, 40u}) ini.ReadString(section, key, "'d'", buffer, cap, path.c_str());
      ini.ReadInt(section, key, -1, path.c_str());
    }
  }
  ini.Write("settings", "notation_style", " 3", path.c_str());
  ini.Write("a", "b", "c", path.c_str());
  ini.Write("settings", "dup", nullptr, path.c_str());
  ini.Write("x", nullptr, nullptr, path.c_str());
  ini.ReadString("settings", "notation_style", "", buffer, sizeof buffer, path.c_str());
  std::remove(path.c_str());
  return 0;
}
