// The platform edge of Dibkit for the native build.
#include <cstdio>

#include "dib_internal.h"
#include "dib_surface.h"

namespace dibkit {

bool ReadWholeFile(const char* path, size_t limit, std::vector<uint8_t>* bytes) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(f) : -1;
  ok = size >= 0 && static_cast<size_t>(size) <= limit && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    bytes->resize(static_cast<size_t>(size));
    ok = size == 0 || std::fread(bytes->data(), 1, bytes->size(), f) == bytes->size();
  }
  std::fclose(f);
  return ok;
}

bool WriteWholeFile(const char* path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

void ShowBox(const char* text, const char* caption) { std::fprintf(stderr, "%s: %s\n", caption, text); }

void BeforeEffectCopy() {}

}  // namespace dibkit
