// The fuzz input handed to a line reader one line at a time: lines end at
// "\n", are cut to the reader's buffer of kLineSize bytes, and NUL bytes
// become blanks.
#pragma once

#include <cstddef>

struct FuzzLineSource {
  const char* p;
  const char* end;
};

template <size_t kLineSize>
bool NextFuzzLine(void* context, char* buffer) {
  auto* s = static_cast<FuzzLineSource*>(context);
  if (s->p >= s->end) return false;
  size_t n = 0;
  while (s->p < s->end && *s->p != '\n') {
    if (n < kLineSize - 1) buffer[n++] = *s->p ? *s->p : ' ';
    ++s->p;
  }
  if (s->p < s->end) ++s->p;
  buffer[n] = '\0';
  return true;
}

// The same input as a file line source gives it: each line with its LF, a
// longer line in pieces of kLineSize - 1 characters that the reader joins.
template <size_t kLineSize>
bool NextFuzzPiece(void* context, char* buffer) {
  auto* s = static_cast<FuzzLineSource*>(context);
  if (s->p >= s->end) return false;
  size_t n = 0;
  while (s->p < s->end && n < kLineSize - 1) {
    char c = *s->p++;
    buffer[n++] = c ? c : ' ';
    if (c == '\n') break;
  }
  buffer[n] = '\0';
  return true;
}
