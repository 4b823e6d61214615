// Fuzz target: any text as the player's command line. The reader must not
// fault, and what it gives back must keep its bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "movie_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // WinMain's line ends at its first NUL.
  std::string line(reinterpret_cast<const char*>(data), size);
  MovieOptions o = ParseMovieOptions(line.c_str());
  if (o.file.size() > kMovieMaxPath) __builtin_trap();
  if (o.pathRefused && !o.file.empty()) __builtin_trap();
  for (char c : o.file)
    if (c >= 'A' && c <= 'Z') __builtin_trap();
  (void)MovieOpenFlags(o.level);
  (void)ChooseMovieBackEnd(o);
  return 0;
}
