// The null device: takes each block at the moment a real device would have
// played it, so sounds end and callbacks come at their true times.
#include <chrono>
#include <thread>

#include "soundkit_device.h"
#include "wave_pcm.h"

namespace soundkit {
namespace {

class NullDevice : public OutputDevice {
 public:
  bool Open() override {
    start_ = std::chrono::steady_clock::now();
    frames_ = 0;
    return true;
  }
  void Close() override {}
  void Play(const int16_t*, size_t frames) override {
    // A real device holds a few blocks; keep about that much ahead.
    frames_ += frames;
    auto due = start_ + std::chrono::microseconds(int64_t(frames_) * 1000000 / kOutputRate) -
               std::chrono::milliseconds(40);
    std::this_thread::sleep_until(due);
  }
  const char* Name() const override { return "null"; }

 private:
  std::chrono::steady_clock::time_point start_;
  uint64_t frames_ = 0;
};

}  // namespace

std::unique_ptr<OutputDevice> NewNullDevice() { return std::unique_ptr<OutputDevice>(new NullDevice); }

}  // namespace soundkit
