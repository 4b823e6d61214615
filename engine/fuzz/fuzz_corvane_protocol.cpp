// libFuzzer target: the command loop fed with arbitrary input bytes.  Any
// fatal error or sanitizer report reached from host input is a fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../tests/program_test_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace corvane;
  EngineRun run;
  run.console.onEmpty = nullptr;  // the end of the input ends the engine at once
  // Short searches: one iteration and a small hash table.
  std::string script = "rw_parm md=1 tts=4096\n";
  script.append(reinterpret_cast<const char*>(data), size);
  run.Run(script);
  return 0;
}
