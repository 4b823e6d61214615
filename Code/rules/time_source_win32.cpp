// Time source over the performance counter and the system tick count.
#include <windows.h>

#include <atomic>

#include "alerts.h"
#include "time_source.h"

namespace {

// Set once at start-up, before other threads read the time.
bool g_usePerformanceCounter = false;
int64_t g_ticksPerMs = 1;
int64_t g_start = 0;
std::atomic<TickSource> g_tickSource{nullptr};

}  // namespace

bool InitTimeSource() {
  LARGE_INTEGER frequency, now;
  if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0) {
    g_usePerformanceCounter = false;
    return false;
  }
  g_ticksPerMs = frequency.QuadPart / 1000;
  if (g_ticksPerMs == 0) {
    ShowAlert("Bad timer scale conversion!\r\n\n", "Timer Resolution Error");
    g_ticksPerMs = 1;
  }
  QueryPerformanceCounter(&now);
  g_start = now.QuadPart;
  g_usePerformanceCounter = true;
  return true;
}

uint32_t GetTimeMs() {
  if (!g_usePerformanceCounter) return GetTickCount();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<uint32_t>((now.QuadPart - g_start) / g_ticksPerMs);
}

uint32_t GetTickMs() {
  TickSource source = g_tickSource.load();
  return source ? source() : GetTickCount();
}

void SetTickSource(TickSource source) { g_tickSource.store(source); }
