// Soundkit's seams to the system: the wave output and the MP3 decoder.
// soundkit_win32.cpp has the real ones; natively there is no device and no
// decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace soundkit {

class OutputDevice {
 public:
  virtual ~OutputDevice() = default;
  virtual bool Open() = 0;
  virtual void Close() = 0;
  // Hands a block over, waiting while the device is full: this paces mixing.
  virtual void Play(const int16_t* pcm, size_t frames) = 0;
  virtual const char* Name() const = 0;
};

// The system's wave output (not yet opened), or none where there is none.
std::unique_ptr<OutputDevice> NewSystemDevice();
// A device that takes every block at the rate a real one would play it.
std::unique_ptr<OutputDevice> NewNullDevice();

// MP3 data to interleaved 16-bit PCM at the file's own rate and channels.
bool DecodeMp3(const uint8_t* data, size_t size, std::vector<uint8_t>* pcm, int* rate, int* channels);

}  // namespace soundkit
