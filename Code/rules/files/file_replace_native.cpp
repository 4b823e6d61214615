#include <cstdio>

// POSIX rename replaces the target in one step.
bool ReplaceFileWith(const char* from, const char* to) { return std::rename(from, to) == 0; }
