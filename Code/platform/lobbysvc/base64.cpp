// Strict base64.
#include "base64.h"

#include <cstdint>

namespace lobbysvc {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string Base64Encode(const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  std::string out;
  out.reserve((size + 2) / 3 * 4);
  for (size_t i = 0; i < size; i += 3) {
    const uint32_t b = uint32_t(p[i]) << 16 | (i + 1 < size ? uint32_t(p[i + 1]) << 8 : 0) |
                       (i + 2 < size ? p[i + 2] : 0);
    out += kAlphabet[b >> 18];
    out += kAlphabet[(b >> 12) & 63];
    out += i + 1 < size ? kAlphabet[(b >> 6) & 63] : '=';
    out += i + 2 < size ? kAlphabet[b & 63] : '=';
  }
  return out;
}

std::optional<std::string> Base64Decode(const std::string& text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    int v[4];
    int pad = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = text[i + k];
      if (c == '=' && last && k >= 2) {
        v[k] = 0;
        ++pad;
        continue;
      }
      if (pad) return std::nullopt;  // data after padding
      v[k] = Value(c);
      if (v[k] < 0) return std::nullopt;
    }
    const uint32_t b = uint32_t(v[0]) << 18 | uint32_t(v[1]) << 12 | uint32_t(v[2]) << 6 | v[3];
    // Bits beyond the last whole byte must be zero, else two texts decode alike.
    if (pad == 1 && (b & 0xFF)) return std::nullopt;
    if (pad == 2 && (b & 0xFFFF)) return std::nullopt;
    out += static_cast<char>(b >> 16);
    if (pad < 2) out += static_cast<char>((b >> 8) & 0xFF);
    if (pad < 1) out += static_cast<char>(b & 0xFF);
  }
  return out;
}

}  // namespace lobbysvc
