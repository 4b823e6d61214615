// Fuzz target: any position the root set-up accepts, under any parameter
// values a host could send, must be searched without a crash or a fatal
// consistency failure.
// Input: byte 0 = number of parameter overrides (low two bits), then per
// override one byte parameter index and four bytes little-endian value, then
// a FEN text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "board.h"
#include "eval.h"
#include "perft.h"
#include "search.h"
#include "trans.h"

using namespace corvane;

namespace {
int g_polls = 0;
int PollCap(void*, int) { return ++g_polls >= 16 ? 1 : 0; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  i32 params[kParamCount];
  DefaultParams(params);
  size_t at = 1;
  int overrides = data[0] & 3;
  for (int i = 0; i < overrides && at + 5 <= size; ++i, at += 5) {
    int index = data[at] % kPEnd;  // the end marker is not the host's to set
    u32 v = u32(data[at + 1]) | u32(data[at + 2]) << 8 | u32(data[at + 3]) << 16 | u32(data[at + 4]) << 24;
    params[index] = i32(v);
  }
  std::string fen(reinterpret_cast<const char*>(data + at), size - at);
  if (fen.size() > 200) return 0;
  OptsXlat(params);
  long long tts = params[kPTts];
  if (tts > (1 << 20)) tts = 1 << 20;  // keep the fuzzer's memory small; clamping itself is tested
  TransInit(tts);
  if (!SetupRootFromFen(fen.c_str())) return 0;
  Perft(2);
  SetupRootFromFen(fen.c_str());
  g_polls = 0;
  SetHostPoll(PollCap, nullptr);
  SearchFixedDepth(4);
  SetHostPoll(nullptr, nullptr);
  return 0;
}
