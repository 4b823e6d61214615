// Soundkit core: reading PCM WAVE data and converting it to the one output
// format the mixer plays, 22,050 samples per second, 16-bit, mono.
//
// Interface: ParseWave, PcmConverter, DecodeWaveImage, RawToPcm,
// MakeWaveHeader, FramesFromMs / MsFromFrames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace soundkit {

constexpr int kOutputRate = 22050;

// What a WAVE header says about its samples. The data range is clipped to
// the bytes actually present.
struct WaveInfo {
  int formatTag = 0;
  int channels = 0;
  int rate = 0;
  int bits = 0;
  size_t dataOffset = 0;
  size_t dataSize = 0;
  uint32_t declaredSize = 0;  // what the data chunk claims, for streams
};

// Walks the RIFF chunks for "fmt " and "data". False for anything that is not
// PCM (tag 1) with 1 or 2 channels of 8 or 16 bits at a rate of 1..384,000.
bool ParseWave(const uint8_t* bytes, size_t size, WaveInfo* out);

// Turns interleaved PCM of any supported shape into output samples, fed in
// pieces of any length (a stream reads its file a piece at a time). Rates
// are changed by linear interpolation; channels are averaged.
class PcmConverter {
 public:
  PcmConverter(int rate, int channels, int bits);
  void Feed(const uint8_t* bytes, size_t size, std::vector<int16_t>* out);
  // Emits what the last source frame still owes.
  void Finish(std::vector<int16_t>* out);

 private:
  void Frame(int value, std::vector<int16_t>* out);
  int rate_, channels_, bits_;
  size_t frameBytes_;
  uint8_t partial_[4] = {};
  size_t partialSize_ = 0;
  uint64_t inFrames_ = 0;   // source frames seen
  uint64_t outFrames_ = 0;  // output frames made
  int last_ = 0;
};

// A whole WAVE image converted; false when it cannot be read.
bool DecodeWaveImage(const uint8_t* bytes, size_t size, std::vector<int16_t>* out);
// ".raw" data is already in the output format (an odd last byte is dropped).
std::vector<int16_t> RawToPcm(const uint8_t* bytes, size_t size);

// The plain 44-byte header for `dataBytes` of PCM in the given shape.
void MakeWaveHeader(uint8_t header[44], uint32_t dataBytes, int rate, int channels, int bits);

inline size_t FramesFromMs(uint32_t ms) { return static_cast<size_t>(uint64_t(ms) * kOutputRate / 1000); }
inline uint32_t MsFromFrames(size_t frames) { return static_cast<uint32_t>(uint64_t(frames) * 1000 / kOutputRate); }

}  // namespace soundkit
