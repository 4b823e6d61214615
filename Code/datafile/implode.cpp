// Imploded items: decoder and compressor for the PKWARE DCL format.
//
// The format's Huffman codes are canonical and stored complemented: each bit
// read is inverted and the code is built most significant bit first. The code
// lengths are given run-length coded: each byte is (repeat - 1) << 4 | length.
#include "implode.h"

#include <cstring>

namespace packfile {

namespace {

constexpr int kMaxBits = 13;

constexpr uint8_t kLiteralLengths[] = {
    11, 124, 8,  7,  28, 7,  188, 13,  76,  4,   10,  8,   12, 10, 12, 10, 8,  23, 8,  9,  7,  6,  7,  8,  7,
    6,  55,  8,  23, 24, 12, 11,  7,   9,   11,  12,  6,   7,  22, 5,  7,  24, 6,  11, 9,  6,  7,  22, 7,  11,
    38, 7,   9,  8,  25, 11, 8,   11,  9,   12,  8,   12,  5,  38, 5,  38, 5,  11, 7,  5,  6,  21, 6,  10, 53,
    8,  7,   24, 10, 27, 44, 253, 253, 253, 252, 252, 252, 13, 12, 45, 12, 45, 12, 61, 12, 45, 44, 173};
constexpr uint8_t kLengthLengths[] = {2, 35, 36, 53, 38, 23};
constexpr uint8_t kDistanceLengths[] = {2, 20, 53, 230, 247, 151, 248};

// Length symbols: base length and extra bits.
constexpr uint16_t kLengthBase[16] = {3, 2, 4, 5, 6, 7, 8, 9, 10, 12, 16, 24, 40, 72, 136, 264};
constexpr uint8_t kLengthExtra[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
constexpr int kEndLength = 519;

struct Huffman {
  uint16_t count[kMaxBits + 1];
  uint16_t symbol[256];
};

// Expands the run-length lengths; fills `lengths` with n entries.
int ExpandLengths(const uint8_t* rep, size_t repCount, uint8_t* lengths) {
  int n = 0;
  for (size_t i = 0; i < repCount; ++i) {
    int left = (rep[i] >> 4) + 1;
    while (left-- > 0) lengths[n++] = rep[i] & 0x0F;
  }
  return n;
}

void Build(Huffman& h, const uint8_t* rep, size_t repCount) {
  uint8_t lengths[256];
  int n = ExpandLengths(rep, repCount, lengths);
  std::memset(h.count, 0, sizeof h.count);
  for (int s = 0; s < n; ++s) h.count[lengths[s]]++;
  uint16_t offs[kMaxBits + 1];
  offs[1] = 0;
  for (int len = 1; len < kMaxBits; ++len) offs[len + 1] = offs[len] + h.count[len];
  for (int s = 0; s < n; ++s) h.symbol[offs[lengths[s]]++] = static_cast<uint16_t>(s);
}

struct BitReader {
  const uint8_t* in;
  size_t size;
  size_t pos = 0;
  uint32_t buffer = 0;
  int count = 0;
  bool exhausted = false;

  // Next `need` bits (need <= 16), least significant first.
  int Bits(int need) {
    while (count < need) {
      if (pos == size) {
        exhausted = true;
        return 0;
      }
      buffer |= static_cast<uint32_t>(in[pos++]) << count;
      count += 8;
    }
    int value = static_cast<int>(buffer & ((1u << need) - 1));
    buffer >>= need;
    count -= need;
    return value;
  }
};

// A symbol, or -1 for a code that is not in the table or input that ends.
int Decode(BitReader& br, const Huffman& h) {
  int code = 0, first = 0, index = 0;
  for (int len = 1; len <= kMaxBits; ++len) {
    code |= br.Bits(1) ^ 1;
    if (br.exhausted) return -1;
    int count = h.count[len];
    if (code - first < count) return h.symbol[index + (code - first)];
    index += count;
    first = (first + count) << 1;
    code <<= 1;
  }
  return -1;
}

}  // namespace

struct ExplodeWork {
  Huffman literals;
  Huffman lengths;
  Huffman distances;
};

size_t ExplodeWorkSize() { return sizeof(ExplodeWork); }

ExplodeResult Explode(ExplodeWork* work, const uint8_t* in, size_t inSize, uint8_t* out, size_t capacity) {
  ExplodeResult result{kExplodeDone, 0};
  if (inSize < 5) {
    result.code = kExplodeShortInput;
    return result;
  }
  const int literalMode = in[0];
  const int dictBits = in[1];
  if (dictBits < 4 || dictBits > 6) {
    result.code = kExplodeBadDictionary;
    return result;
  }
  if (literalMode > 1) {
    result.code = kExplodeBadLiteralMode;
    return result;
  }
  if (literalMode == 1) Build(work->literals, kLiteralLengths, sizeof kLiteralLengths);
  Build(work->lengths, kLengthLengths, sizeof kLengthLengths);
  Build(work->distances, kDistanceLengths, sizeof kDistanceLengths);

  BitReader br{in + 2, inSize - 2};
  size_t& written = result.written;
  for (;;) {
    if (br.Bits(1)) {
      int symbol = Decode(br, work->lengths);
      if (symbol < 0) break;
      int length = kLengthBase[symbol] + br.Bits(kLengthExtra[symbol]);
      if (br.exhausted) break;
      if (length == kEndLength) return result;
      int lowBits = length == 2 ? 2 : dictBits;
      int high = Decode(br, work->distances);
      if (high < 0) break;
      size_t distance = static_cast<size_t>((high << lowBits) + br.Bits(lowBits)) + 1;
      if (br.exhausted || distance > written) break;  // before the start of the output
      for (int i = 0; i < length; ++i) {
        if (written == capacity) {
          result.code = kExplodeOutputFull;
          return result;
        }
        out[written] = out[written - distance];
        ++written;
      }
    } else {
      int symbol = literalMode ? Decode(br, work->literals) : br.Bits(8);
      if (symbol < 0 || br.exhausted) break;
      if (written == capacity) {
        result.code = kExplodeOutputFull;
        return result;
      }
      out[written++] = static_cast<uint8_t>(symbol);
    }
  }
  result.code = kExplodeBadData;
  return result;
}

// ---------------------------------------------------------------- compressor

namespace {

struct Code {
  uint16_t bits;  // canonical code, most significant bit first
  uint8_t length;
};

void Codes(const uint8_t* rep, size_t repCount, Code* codes) {
  uint8_t lengths[256];
  int n = ExpandLengths(rep, repCount, lengths);
  uint16_t count[kMaxBits + 1] = {};
  for (int s = 0; s < n; ++s) count[lengths[s]]++;
  uint16_t next[kMaxBits + 2] = {};
  int first = 0;
  for (int len = 1; len <= kMaxBits; ++len) {
    next[len] = static_cast<uint16_t>(first);
    first = (first + count[len]) << 1;
  }
  for (int s = 0; s < n; ++s) codes[s] = Code{next[lengths[s]]++, lengths[s]};
}

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Put(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) PutBit((value >> i) & 1);
  }
  // A Huffman code: most significant bit first, complemented.
  void PutCode(const Code& c) {
    for (int i = c.length - 1; i >= 0; --i) PutBit(((c.bits >> i) & 1) ^ 1);
  }
  void Flush() {
    if (count_ > 0) out_.push_back(static_cast<uint8_t>(buffer_));
    buffer_ = 0;
    count_ = 0;
  }

 private:
  void PutBit(uint32_t bit) {
    buffer_ |= bit << count_;
    if (++count_ == 8) Flush();
  }
  std::vector<uint8_t>& out_;
  uint32_t buffer_ = 0;
  int count_ = 0;
};

void PutLength(BitWriter& w, const Code* lengthCodes, int length) {
  for (int s = 15; s >= 0; --s) {
    if (length >= kLengthBase[s] && length < kLengthBase[s] + (1 << kLengthExtra[s])) {
      w.Put(1, 1);
      w.PutCode(lengthCodes[s]);
      w.Put(static_cast<uint32_t>(length - kLengthBase[s]), kLengthExtra[s]);
      return;
    }
  }
}

}  // namespace

std::vector<uint8_t> Implode(const uint8_t* data, size_t size, int literalMode) {
  const int dictBits = size < 2048 ? 4 : (size > 4095 ? 6 : 5);
  const size_t window = size_t{64} << dictBits;
  constexpr int kMaxLength = 518;
  constexpr int kChainLimit = 256;

  Code literalCodes[256], lengthCodes[16], distanceCodes[64];
  Codes(kLiteralLengths, sizeof kLiteralLengths, literalCodes);
  Codes(kLengthLengths, sizeof kLengthLengths, lengthCodes);
  Codes(kDistanceLengths, sizeof kDistanceLengths, distanceCodes);

  std::vector<uint8_t> out{static_cast<uint8_t>(literalMode ? 1 : 0), static_cast<uint8_t>(dictBits)};
  BitWriter w(out);

  // Hash chains over three-byte prefixes.
  constexpr size_t kHashSize = 1 << 14;
  std::vector<int64_t> head(kHashSize, -1);
  std::vector<int64_t> prev(size, -1);
  auto hash = [&](size_t i) {
    return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & (kHashSize - 1);
  };
  auto insert = [&](size_t i) {
    if (i + 2 < size) {
      size_t h = hash(i);
      prev[i] = head[h];
      head[h] = static_cast<int64_t>(i);
    }
  };

  size_t i = 0;
  while (i < size) {
    size_t bestLength = 0, bestDistance = 0;
    if (i + 2 < size) {
      int64_t candidate = head[hash(i)];
      size_t limit = size - i < static_cast<size_t>(kMaxLength) ? size - i : kMaxLength;
      for (int chain = 0; candidate >= 0 && chain < kChainLimit; ++chain) {
        size_t distance = i - static_cast<size_t>(candidate);
        if (distance > window) break;
        size_t n = 0;
        while (n < limit && data[candidate + n] == data[i + n]) ++n;
        if (n > bestLength) {
          bestLength = n;
          bestDistance = distance;
          if (n == limit) break;
        }
        candidate = prev[candidate];
      }
    }
    if (bestLength >= 3) {
      PutLength(w, lengthCodes, static_cast<int>(bestLength));
      size_t d = bestDistance - 1;
      w.PutCode(distanceCodes[d >> dictBits]);
      w.Put(static_cast<uint32_t>(d & ((size_t{1} << dictBits) - 1)), dictBits);
      for (size_t k = 0; k < bestLength; ++k) insert(i + k);
      i += bestLength;
    } else {
      w.Put(0, 1);
      if (literalMode) {
        w.PutCode(literalCodes[data[i]]);
      } else {
        w.Put(data[i], 8);
      }
      insert(i);
      ++i;
    }
  }
  PutLength(w, lengthCodes, kEndLength);
  w.Flush();
  // Decoders refuse streams under five bytes; what follows the end code is
  // never read.
  while (out.size() < 5) out.push_back(0);
  return out;
}

}  // namespace packfile
