// Fuzzes the message-table lookups over arbitrary ".CEL" and ".STR" images.
// Input: u16 length of the ".CEL" image, the image, then the ".STR" image.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "message_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  size_t celSize = data[0] | data[1] << 8;
  data += 2;
  size -= 2;
  if (celSize > size) celSize = size;
  FreeMessageTables();
  if (!LoadMessageTableImages("FUZZ", data, celSize, data + celSize, size - celSize)) return 0;
  char buffer[64];
  for (int number = 0; number < 8; ++number) {
    for (int s1 = 0; s1 < 4; ++s1) {
      for (int s2 = 0; s2 < 4; ++s2) {
        GetMessageText(number, s1, s2, buffer, sizeof buffer);
        if (std::strlen(buffer) >= sizeof buffer) __builtin_trap();
      }
    }
  }
  return 0;
}
