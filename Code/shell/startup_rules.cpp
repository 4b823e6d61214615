#include "startup_rules.h"

#include <cstring>

const char* CommandLineUser(const char* commandLine) {
  if (!commandLine) return nullptr;
  const char* at = std::strstr(commandLine, "mpuser=");
  return at ? at + 7 : nullptr;
}

int CleanUserName(const char* raw, char* out, size_t size) {
  if (!out || size == 0) return 0;
  out[0] = '\0';
  if (!raw) return 0;
  while (*raw == ' ' || *raw == '\t') ++raw;
  size_t n = std::strlen(raw);
  if (n > kUserNameChars) n = kUserNameChars;
  while (n > 0 && (raw[n - 1] == ' ' || raw[n - 1] == '\t' || raw[n - 1] == '\r' || raw[n - 1] == '\n')) --n;
  if (n + 1 > size) n = size - 1;
  std::memcpy(out, raw, n);
  out[n] = '\0';
  if (n == 0 || out[n - 1] == '.') return 0;
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(out[i]);
    if (c < 32 || std::strchr("\\/:*?\"<>|", c)) return 0;
  }
  return std::strcmp(out, ".") != 0 && std::strcmp(out, "..") != 0;
}

int ValidRoomNumber(int room) { return room >= 0 && room <= 7; }
