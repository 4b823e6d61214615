// Corvane: the console chess engine program.  The host starts it with pipes
// and drives it with text lines (CECP words plus the system's own).
#include <cstdio>
#include <cstring>

#include "console.h"
#include "program.h"

namespace {

char g_errBuffer[4096];

void OnFatal(const char* text) { corvane::g_io.Fatal(text); }

}  // namespace

int main(int argc, char** argv) {
  using namespace corvane;
  std::setvbuf(stderr, g_errBuffer, _IOFBF, sizeof g_errBuffer);
  HostIo& io = g_io;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (!std::strcmp(a, "-a"))
      io.ansi = true;
    else if (!std::strcmp(a, "-a-"))
      io.ansi = false;
    else if (!std::strcmp(a, "-l"))
      io.log = true;
    else if (!std::strcmp(a, "-l-"))
      io.log = false;
    else if (!std::strcmp(a, "-m"))
      io.monitor = true;
    else if (!std::strcmp(a, "-m-"))
      io.monitor = false;
  }
  Console* console = CreateSystemConsole(&io);
  io.Attach(console);
  SetFatalHandler(OnFatal);
  io.MonitorPrint("ModeCon = %d\n", console->IsConsole() ? 1 : 0);
  io.MonitorPrint("%s\n", "----------------------------------------------------------- Corvane 3.12.Sep15");
  ProgramInit(g_prog, &io);
  CommandLoop(g_prog);
  io.MonitorPrint("Thanks for using me\n");
  std::fflush(stdout);
  std::fflush(stderr);
  return 0;
}
