// Native fallbacks: no message box can be shown, no window exists; the
// benchmark runs its workload against the standard steady clock.
#include "benchmark.h"
#include "shell_services.h"

namespace {

int NoBox(const char*, uint32_t) { return 0; }
int NoOwnedBox(const char*, uint32_t, void*) { return 0; }
void* NoModelessBox(const char*, uint32_t, MessageBoxCallback, uint32_t, int) { return nullptr; }
intptr_t NoSend(void*, uint32_t, uintptr_t, intptr_t) { return 0; }
void NoPost(void*, uint32_t, uintptr_t, intptr_t) {}

}  // namespace

void FillPlatformServices(ShellServices& s) {
  s.appMessageBox = NoBox;
  s.appMessageBoxOwned = NoOwnedBox;
  s.showModelessMessageBox = NoModelessBox;
  s.sendToWindow = NoSend;
  s.postToWindow = NoPost;
  s.cpuBenchmark = MeasureBenchmarkSteady;
}
