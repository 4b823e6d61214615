// The shell's few own texts that the OS-free code formats (clock settings,
// the "vs" of the tournament schedule), taken through one loader so that the
// program can hand in its string resources while tests use the built-in
// English texts.
//
// Interface: ShellStringLoader, SetShellStringLoader, ShellString.
#pragma once

// The text of string resource `id`, or null when there is none. The result
// may live in a buffer that the next call overwrites: copy it before asking
// again.
using ShellStringLoader = const char* (*)(int id);

// Null restores the built-in texts.
void SetShellStringLoader(ShellStringLoader loader);

// The text of `id` through the installed loader, else the built-in text
// (147 "Fischer %d/%d", 148 "%d Moves in %d Minutes", 149 "%d Hourglass
// Seconds", 150 "%d Minutes per Game", 394 "vs"), else "".
const char* ShellString(int id);
