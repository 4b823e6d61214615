// The "Columns" layout value: any text reads into at most 32 columns, and
// what is read formats and reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "columns.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  DatabaseColumn table[kMaxDatabaseColumns + 1];
  int n = ReadColumnsLayout(text.c_str(), table);
  if (n < 0 || n > kMaxDatabaseColumns || table[n].id != 0) std::abort();
  std::string again = FormatColumnsLayout(table);
  DatabaseColumn copy[kMaxDatabaseColumns + 1];
  if (again.size() < kColumnsValueSize && ReadColumnsLayout(again.c_str(), copy) != n) std::abort();
  return 0;
}
