// The WAVE reader and converter over any bytes, whole and in pieces.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "wave_pcm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<int16_t> out;
  soundkit::DecodeWaveImage(data, size, &out);
  soundkit::WaveInfo info;
  if (soundkit::ParseWave(data, size, &info)) {
    soundkit::PcmConverter converter(info.rate, info.channels, info.bits);
    std::vector<int16_t> pieces;
    for (size_t at = info.dataOffset; at < info.dataOffset + info.dataSize; at += 5)
      converter.Feed(data + at, std::min<size_t>(5, info.dataOffset + info.dataSize - at), &pieces);
    converter.Finish(&pieces);
  }
  return 0;
}
