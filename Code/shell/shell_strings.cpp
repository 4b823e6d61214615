// The shell's own texts for the OS-free code: see shell_strings.h.
#include "shell_strings.h"

namespace {

ShellStringLoader g_loader = nullptr;

const char* BuiltInString(int id) {
  switch (id) {
    case 147:
      return "Fischer %d/%d";
    case 148:
      return "%d Moves in %d Minutes";
    case 149:
      return "%d Hourglass Seconds";
    case 150:
      return "%d Minutes per Game";
    case 394:
      return "vs";
    default:
      return nullptr;
  }
}

}  // namespace

void SetShellStringLoader(ShellStringLoader loader) { g_loader = loader; }

const char* ShellString(int id) {
  const char* text = g_loader ? g_loader(id) : nullptr;
  if (!text) text = BuiltInString(id);
  return text ? text : "";
}
