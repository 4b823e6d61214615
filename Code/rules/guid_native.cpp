// GUIDs where no system generator exists: random version-4 identifiers.
#include <mutex>
#include <random>

#include "utils.h"

bool CreateGuid(Guid* guid) {
  if (!guid) return false;
  static std::mutex lock;
  static std::mt19937_64 engine{std::random_device{}()};
  std::lock_guard<std::mutex> hold(lock);
  for (int i = 0; i < 16; i += 8) {
    uint64_t r = engine();
    for (int j = 0; j < 8; ++j) guid->bytes[i + j] = static_cast<uint8_t>(r >> (8 * j));
  }
  guid->bytes[7] = static_cast<uint8_t>((guid->bytes[7] & 0x0F) | 0x40);
  guid->bytes[8] = static_cast<uint8_t>((guid->bytes[8] & 0x3F) | 0x80);
  return true;
}
