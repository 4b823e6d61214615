// Names of DirectPlay result codes for LBL_GetErrorString.
// Interface: DirectPlayErrorName, FormatDirectPlayError.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lobbylink {

// The header name of a DirectPlay result, or null for a code it does not name.
const char* DirectPlayErrorName(uint32_t code);

// Writes the code's name (or "0x%08X" for an unnamed code) into `buffer` when
// the text with its terminator fits in `size` bytes; otherwise leaves the
// buffer as it was. Returns the code.
int32_t FormatDirectPlayError(int32_t code, char* buffer, size_t size);

}  // namespace lobbylink
