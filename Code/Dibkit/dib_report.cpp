// Reports of programming errors: the host's hook, else the platform's box.
#include "dib_internal.h"

namespace {
DibMessageHook g_hook = nullptr;
}  // namespace

void dibkit::Report(const char* text, const char* caption) {
  if (g_hook != nullptr) {
    g_hook(text, caption);
  } else {
    ShowBox(text, caption);
  }
}

extern "C" void dibSetMessageHook(DibMessageHook hook) { g_hook = hook; }
