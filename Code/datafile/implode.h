// Imploded items ("PKZP"): the PKWARE Data Compression Library format.
// A stream starts with two bytes (literal mode 0 = plain bytes, 1 = coded
// literals; dictionary 4, 5, 6 = 1,024, 2,048, 4,096 bytes), then a bit
// stream read from the least significant bit: a 0 bit and a literal, or a 1
// bit, a length code and a distance code. Length 519 ends the stream.
//
// Interface: ExplodeWork, Explode, Implode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace packfile {

// Why a stream ended.
enum ExplodeCode {
  kExplodeDone = 0,
  kExplodeBadDictionary = 1,
  kExplodeBadLiteralMode = 2,
  kExplodeShortInput = 3,  // fewer than 5 bytes
  kExplodeBadData = 4,     // a coding error or input that ends early
  kExplodeOutputFull = 5,  // more output than the caller's capacity
};

// The decoder's tables; callers provide the storage (a per-item work area).
struct ExplodeWork;
size_t ExplodeWorkSize();

struct ExplodeResult {
  ExplodeCode code;
  size_t written;  // bytes put into the output, never more than its capacity
};

// Decodes `in` into `out`. Output stops at `capacity` (code kExplodeOutputFull
// when the stream wanted more); whatever was written stays.
ExplodeResult Explode(ExplodeWork* work, const uint8_t* in, size_t inSize, uint8_t* out, size_t capacity);

// Compresses, choosing the dictionary by input size (1,024 bytes under
// 2,048 bytes of input, 4,096 over 4,095, else 2,048); literals plain
// (mode 0) or coded with the format's fixed literal table (mode 1).
std::vector<uint8_t> Implode(const uint8_t* data, size_t size, int literalMode = 0);

}  // namespace packfile
