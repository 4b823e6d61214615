#include "wave_pcm.h"

#include <cstring>

namespace soundkit {
namespace {

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

}  // namespace

bool ParseWave(const uint8_t* bytes, size_t size, WaveInfo* out) {
  if (!bytes || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
    return false;
  WaveInfo info;
  bool haveFmt = false;
  size_t at = 12;
  while (size - at >= 8) {
    const uint8_t* chunk = bytes + at;
    uint32_t length = U32(chunk + 4);
    size_t body = at + 8;
    size_t present = size - body;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (length < 16 || present < 16) return false;
      info.formatTag = U16(chunk + 8);
      info.channels = U16(chunk + 10);
      info.rate = static_cast<int>(U32(chunk + 12) > 384000 ? 0 : U32(chunk + 12));
      info.bits = U16(chunk + 22);
      haveFmt = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFmt) return false;
      info.dataOffset = body;
      info.dataSize = length < present ? length : present;
      info.declaredSize = length;
      bool supported = info.formatTag == 1 && (info.channels == 1 || info.channels == 2) &&
                       (info.bits == 8 || info.bits == 16) && info.rate > 0;
      if (!supported) return false;
      *out = info;
      return true;
    }
    // Chunks are padded to an even length.
    uint64_t next = uint64_t(body) + length + (length & 1);
    if (next > size) return false;
    at = static_cast<size_t>(next);
  }
  return false;
}

PcmConverter::PcmConverter(int rate, int channels, int bits)
    : rate_(rate), channels_(channels), bits_(bits), frameBytes_(size_t(channels) * (bits / 8)) {}

void PcmConverter::Frame(int value, std::vector<int16_t>* out) {
  // Output frame k sits at source position k * rate / 22050; it is made once
  // the source frames on both sides of that position have been seen.
  uint64_t index = inFrames_++;
  if (index > 0) {
    for (;;) {
      uint64_t scaled = outFrames_ * uint64_t(rate_);
      uint64_t left = scaled / kOutputRate;
      if (left + 1 > index) break;
      uint64_t frac = scaled % kOutputRate;
      int mixed = last_ + static_cast<int>((int64_t(value - last_) * int64_t(frac)) / kOutputRate);
      out->push_back(static_cast<int16_t>(mixed));
      ++outFrames_;
    }
  }
  last_ = value;
}

void PcmConverter::Feed(const uint8_t* bytes, size_t size, std::vector<int16_t>* out) {
  if (frameBytes_ == 0) return;
  auto decode = [&](const uint8_t* f) {
    int sum = 0;
    for (int c = 0; c < channels_; ++c) {
      if (bits_ == 8)
        sum += (int(f[c]) - 128) * 256;
      else
        sum += int16_t(U16(f + 2 * c));
    }
    Frame(sum / channels_, out);
  };
  while (size > 0 && partialSize_ > 0) {
    partial_[partialSize_++] = *bytes++;
    --size;
    if (partialSize_ == frameBytes_) {
      decode(partial_);
      partialSize_ = 0;
    }
  }
  while (size >= frameBytes_) {
    decode(bytes);
    bytes += frameBytes_;
    size -= frameBytes_;
  }
  std::memcpy(partial_, bytes, size);
  partialSize_ = size;
}

void PcmConverter::Finish(std::vector<int16_t>* out) {
  if (inFrames_ == 0) return;
  uint64_t lastIndex = inFrames_ - 1;
  while (outFrames_ * uint64_t(rate_) / kOutputRate <= lastIndex) {
    out->push_back(static_cast<int16_t>(last_));
    ++outFrames_;
  }
}

bool DecodeWaveImage(const uint8_t* bytes, size_t size, std::vector<int16_t>* out) {
  WaveInfo info;
  if (!ParseWave(bytes, size, &info)) return false;
  out->clear();
  if (info.rate == kOutputRate && info.channels == 1 && info.bits == 16) {
    *out = RawToPcm(bytes + info.dataOffset, info.dataSize);
    return true;
  }
  PcmConverter converter(info.rate, info.channels, info.bits);
  out->reserve(size_t(uint64_t(info.dataSize) * kOutputRate / (uint64_t(info.rate) * info.channels * (info.bits / 8))) + 2);
  converter.Feed(bytes + info.dataOffset, info.dataSize, out);
  converter.Finish(out);
  return true;
}

std::vector<int16_t> RawToPcm(const uint8_t* bytes, size_t size) {
  std::vector<int16_t> pcm(size / 2);
  for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = int16_t(U16(bytes + 2 * i));
  return pcm;
}

void MakeWaveHeader(uint8_t h[44], uint32_t dataBytes, int rate, int channels, int bits) {
  int align = channels * bits / 8;
  std::memcpy(h, "RIFF", 4);
  Put32(h + 4, 36 + dataBytes);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  Put32(h + 16, 16);
  Put16(h + 20, 1);
  Put16(h + 22, uint16_t(channels));
  Put32(h + 24, uint32_t(rate));
  Put32(h + 28, uint32_t(rate * align));
  Put16(h + 32, uint16_t(align));
  Put16(h + 34, uint16_t(bits));
  std::memcpy(h + 36, "data", 4);
  Put32(h + 40, dataBytes);
}

}  // namespace soundkit
