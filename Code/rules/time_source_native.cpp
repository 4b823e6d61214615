// Time source over the standard library's steady clock.
#include <atomic>
#include <chrono>

#include "time_source.h"

namespace {

using Clock = std::chrono::steady_clock;
std::atomic<int64_t> g_start{0};  // steady-clock ms at InitTimeSource
std::atomic<TickSource> g_tickSource{nullptr};

int64_t SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

}  // namespace

bool InitTimeSource() {
  g_start.store(SteadyMs());
  return true;
}

uint32_t GetTimeMs() { return static_cast<uint32_t>(SteadyMs() - g_start.load()); }

uint32_t GetTickMs() {
  TickSource source = g_tickSource.load();
  return source ? source() : static_cast<uint32_t>(SteadyMs());
}

void SetTickSource(TickSource source) { g_tickSource.store(source); }
