// IMA ADPCM sound items: the standard IMA step and index tables.
#include "adpcm.h"

namespace packfile {

namespace {

constexpr int kStepTable[] = {
    7,    8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,   28,
    31,   34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,  118,
    130,  143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,  494,
    544,  598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878, 2066,
    2272, 2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845, 8630,
    9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
static_assert(sizeof kStepTable / sizeof kStepTable[0] == 89, "IMA step table has 89 entries");

constexpr int kIndexTable[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

struct State {
  int predictor = 0;
  int index = 0;
};

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

int16_t DecodeNibble(State& s, int nibble) {
  int step = kStepTable[s.index];
  int diff = step >> 3;
  if (nibble & 4) diff += step;
  if (nibble & 2) diff += step >> 1;
  if (nibble & 1) diff += step >> 2;
  s.predictor = Clamp((nibble & 8) ? s.predictor - diff : s.predictor + diff, -32768, 32767);
  s.index = Clamp(s.index + kIndexTable[nibble], 0, 88);
  return static_cast<int16_t>(s.predictor);
}

int EncodeSample(State& s, int sample) {
  int step = kStepTable[s.index];
  int delta = sample - s.predictor;
  int nibble = 0;
  if (delta < 0) {
    nibble = 8;
    delta = -delta;
  }
  if (delta >= step) {
    nibble |= 4;
    delta -= step;
  }
  if (delta >= step >> 1) {
    nibble |= 2;
    delta -= step >> 1;
  }
  if (delta >= step >> 2) nibble |= 1;
  DecodeNibble(s, nibble);  // follow the decoder exactly
  return nibble;
}

}  // namespace

size_t AdpcmDecodeItem(const uint8_t* stored, size_t storedSize, uint8_t* out, size_t capacity) {
  if (stored == nullptr || out == nullptr || storedSize <= kAdpcmTrailer) return 0;
  const size_t usable = storedSize - kAdpcmTrailer;
  State state;
  size_t produced = 0;
  for (size_t i = 0; i < usable && produced < capacity; ++i) {
    const int nibbles[2] = {stored[i] >> 4, stored[i] & 0x0F};
    for (int n : nibbles) {
      auto sample = static_cast<uint16_t>(DecodeNibble(state, n));
      const uint8_t bytes[2] = {static_cast<uint8_t>(sample & 0xFF), static_cast<uint8_t>(sample >> 8)};
      for (uint8_t b : bytes) {
        if (produced == capacity) return produced;
        out[produced++] = b;
      }
    }
  }
  return produced;
}

std::vector<uint8_t> AdpcmEncode(const int16_t* samples, size_t count) {
  std::vector<uint8_t> out;
  out.reserve((count + 1) / 2 + kAdpcmTrailer);
  State state;
  for (size_t i = 0; i < count; i += 2) {
    int high = EncodeSample(state, samples[i]);
    int low = EncodeSample(state, i + 1 < count ? samples[i + 1] : 0);
    out.push_back(static_cast<uint8_t>(high << 4 | low));
  }
  out.insert(out.end(), kAdpcmTrailer, 0);
  return out;
}

}  // namespace packfile
