// IMA ADPCM sound items ("ADPC"): four bits per 16-bit sample, the high
// nibble of each byte first. The last 16 stored bytes of an item are a
// trailer that is never decoded.
//
// Interface: kAdpcmTrailer, AdpcmDecodeItem, AdpcmEncode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace packfile {

constexpr size_t kAdpcmTrailer = 16;

// Decodes the stored bytes of an item into `out` (16-bit little-endian
// samples), writing at most `capacity` bytes; the predictor and step index
// start at 0. Returns the bytes written.
size_t AdpcmDecodeItem(const uint8_t* stored, size_t storedSize, uint8_t* out, size_t capacity);

// The stored form of 16-bit samples (an even count is padded with nothing,
// an odd count with one silent sample), followed by the zero trailer.
std::vector<uint8_t> AdpcmEncode(const int16_t* samples, size_t count);

}  // namespace packfile
