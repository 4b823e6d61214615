// A channel for tests: what the driver writes is kept, lines are fed by the
// test, and stopping ends the channel at once as the reader thread would.
#pragma once

#include <string>
#include <vector>

#include "engine_channel.h"

struct EngineChannel {
  EngineLineCallback onLine = nullptr;
  void* context = nullptr;
  EngineEndCallback onEnd = nullptr;
  std::string written;
  bool stopped = false;
};

struct FakeChannels {
  static FakeChannels& Get() {
    static FakeChannels f;
    return f;
  }
  std::vector<EngineChannel*> open;
  std::vector<std::string> paths, commandLines;
  bool failStart = false;

  void Install() {
    static const EngineChannelApi api = {Start, Write, Stop};
    SetEngineChannelApi(&api);
  }
  void Reset() {
    for (EngineChannel* c : open) delete c;
    open.clear();
    paths.clear();
    commandLines.clear();
    failStart = false;
  }
  EngineChannel* Last() { return open.empty() ? nullptr : open.back(); }
  // The engine writes a line.
  static void Feed(EngineChannel* c, const char* line) { c->onLine(line, c->context); }
  // The engine ends by itself.
  static void Die(EngineChannel* c) { c->onEnd(c->context, 0); }

  static int Start(const char* path, const char* commandLine, EngineLineCallback onLine, void* context,
                   EngineChannel** out, EngineEndCallback onEnd) {
    if (!path || !out) return -1;
    *out = nullptr;
    if (Get().failStart) return -2;
    auto* c = new EngineChannel;
    c->onLine = onLine;
    c->context = context;
    c->onEnd = onEnd;
    Get().open.push_back(c);
    Get().paths.push_back(path);
    Get().commandLines.push_back(commandLine ? commandLine : "");
    *out = c;
    return 0;
  }
  static int Write(EngineChannel* c, const char* text) {
    if (!c || !text) return -1;
    if (!c->stopped) c->written += text;
    return 0;
  }
  static int Stop(EngineChannel* c) {
    if (!c) return -2;
    c->stopped = true;
    if (c->onEnd) c->onEnd(c->context, 1);
    return 0;
  }
};
