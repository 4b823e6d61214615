// Base64 (RFC 4648, standard alphabet, padded), decoded strictly: the only
// text accepted is the one Base64Encode would write for some bytes.
// Interface: Base64Encode, Base64Decode.
#pragma once

#include <optional>
#include <string>

namespace lobbysvc {

std::string Base64Encode(const void* data, size_t size);
inline std::string Base64Encode(const std::string& s) { return Base64Encode(s.data(), s.size()); }
// Empty optional for anything not canonical base64 (bad characters, wrong
// length, misplaced or missing padding, non-zero bits in the last group).
std::optional<std::string> Base64Decode(const std::string& text);

}  // namespace lobbysvc
