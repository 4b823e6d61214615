// A DirectPlay message from the network into records: the first byte picks
// a system message or data; every record made must lie inside its block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dplay_messages.h"

using namespace lobbylink;

namespace {
struct Sink : LobbyRecordSink {
  std::vector<uint8_t> block;
  uint8_t* Alloc(size_t size) override {
    block.assign(size, 0);
    return block.data();
  }
  bool Post(uint8_t* r) override {
    // The header's size field must fit the allocation.
    if (16 + GetU32(r + 12) > block.size() && GetU32(r) == 0) abort();
    return true;
  }
  void Free(uint8_t*) override {}
  void SetTarget(LobbyTarget) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  Sink sink;
  const uint32_t from = (data[0] & 1) ? 0 : data[0];
  // A copy of exactly the message's size, so that reading past it is caught.
  std::vector<uint8_t> message(data + 1, data + size);
  HandleDplayMessage(sink, 1, from, 1, message.empty() ? nullptr : message.data(),
                     message.size(), [](const char*) {});
  return 0;
}
