// The native build runs no engine process: engines are Windows programs.
// Native tests put a scripted channel in through SetEngineChannelApi.
#include "engine_channel.h"

int StartEngineProcess(const char* programPath, const char*, EngineLineCallback, void*, EngineChannel** out,
                       EngineEndCallback) {
  if (!programPath || !out) return -1;
  *out = nullptr;
  return -2;
}
int WriteEngineLine(EngineChannel* channel, const char* text) { return channel && text ? -2 : -1; }
int StopEngineLink(EngineChannel*) { return -2; }
