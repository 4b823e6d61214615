#include "line_framer.h"

#include <cstring>

char* FramerSpace(LineFramer* framer, size_t* room) {
  *room = kEngineLineBufferSize - framer->fill;
  return framer->buffer + framer->fill;
}

void FramerTake(LineFramer* framer, size_t count, EngineLineCallback onLine, void* context,
                const std::atomic<int>* stop) {
  if (count > kEngineLineBufferSize - framer->fill) count = kEngineLineBufferSize - framer->fill;
  size_t scanFrom = framer->fill;
  size_t end = framer->fill + count;
  size_t lineStart = 0;
  for (size_t i = scanFrom; i < end; ++i) {
    if (framer->buffer[i] != '\n') continue;
    framer->buffer[i] = '\0';
    if (!(stop && stop->load()) && onLine) onLine(framer->buffer + lineStart, context);
    lineStart = i + 1;
  }
  size_t tail = end - lineStart;
  if (tail >= kEngineLineBufferSize) {
    framer->fill = 0;  // a full buffer without a line feed is dropped whole
    return;
  }
  if (lineStart > 0 && tail > 0) std::memmove(framer->buffer, framer->buffer + lineStart, tail);
  framer->fill = tail;
}
