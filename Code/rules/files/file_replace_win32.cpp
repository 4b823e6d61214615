#include <windows.h>

// The C runtime's rename refuses an existing target; MoveFileEx replaces it.
bool ReplaceFileWith(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
