// Certificate fingerprints as users write them.
#include "transport.h"

namespace lobbysvc {

std::string HexOf(const void* data, size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  const auto* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    out += digits[p[i] >> 4];
    out += digits[p[i] & 15];
  }
  return out;
}

std::string NormalizeFingerprint(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == ':' || c == ' ') continue;
    if (c >= 'A' && c <= 'F') c = char(c - 'A' + 'a');
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return std::string();
    out += c;
  }
  return out.size() == 64 ? out : std::string();
}

}  // namespace lobbysvc
