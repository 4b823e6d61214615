#include "engine_channel.h"

namespace {
const EngineChannelApi kPlatformChannel = {StartEngineProcess, WriteEngineLine, StopEngineLink};
const EngineChannelApi* g_api = &kPlatformChannel;
}  // namespace

void SetEngineChannelApi(const EngineChannelApi* api) { g_api = api ? api : &kPlatformChannel; }
const EngineChannelApi* GetEngineChannelApi() { return g_api; }
