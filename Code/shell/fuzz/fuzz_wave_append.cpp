// The appender reading an existing file: the input is the file, a fixed raw
// block and a WAVE image are appended to it, with lead and trail from the
// input's last bytes.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "sound_wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/fuzz_wave_append_" + std::to_string(getpid()) + ".wav";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  uint32_t lead = size >= 2 ? data[size - 2] : 0, trail = size >= 1 ? data[size - 1] : 0;
  uint8_t raw[200];
  for (int i = 0; i < 200; ++i) raw[i] = uint8_t(i);
  AppendWaveData(raw, sizeof raw, path.c_str(), lead, trail, false);
  // The input itself as the block appended to an empty file.
  if (size > 0) AppendWaveData(data, uint32_t(size), (path + ".new").c_str(), lead, trail, true);
  return 0;
}
