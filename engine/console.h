// Corvane program: the console of this operating system (console_posix.cpp,
// console_win32.cpp).
#pragma once

#include "hostio.h"

namespace corvane {

// Standard input, output and error of the process.  Read failures are shown
// on the monitor through io.
Console* CreateSystemConsole(HostIo* io);

}  // namespace corvane
