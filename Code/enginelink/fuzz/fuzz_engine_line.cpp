// Engine replies are untrusted text: every line must parse without fault.
#include <cstdint>
#include <string>

#include "engine_protocol.h"

static void Ignore(EngineSession*, const MoveCoords*, const ThinkingLine*, const EngineStatus*, const char*,
                   int) {}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static EngineSession session;
  session.callback = Ignore;
  std::string line(reinterpret_cast<const char*>(data), size);
  session.description.side = size & 1;
  ParseEngineLine(line.c_str(), &session);
  return 0;
}
