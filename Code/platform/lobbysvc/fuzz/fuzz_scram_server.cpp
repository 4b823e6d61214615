// SCRAM-SHA-1 client against arbitrary server messages: the input is the
// server's first and final messages separated by a NUL.
#include <cstdint>
#include <string>

#include "scram_sha1.h"

using namespace lobbysvc;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t nul = input.find('\0');
  const std::string first = input.substr(0, nul);
  const std::string last = nul == std::string::npos ? std::string() : input.substr(nul + 1);
  // A low cap keeps each run short; the limit itself is what is tested.
  ScramSha1Client c("user", "pencil", "fyko+d2lbbFgONRv9qkxdawL", 4096);
  c.ClientFirst();
  std::string final;
  if (c.ClientFinal(first, &final)) c.VerifyServerFinal(last);
  return 0;
}
