// Fatal consistency failures of the engine core.
#include <cstdio>
#include <cstdlib>

#include "base.h"

namespace corvane {

namespace {
FatalHandler g_handler = nullptr;
}

void SetFatalHandler(FatalHandler handler) { g_handler = handler; }

void FatalError(const char* text) {
  if (g_handler) g_handler(text);
  // A handler that returns (or none) still must not let the search go on.
  std::fprintf(stderr, "\nERROR: %s\n", text);
  std::exit(1);
}

}  // namespace corvane
