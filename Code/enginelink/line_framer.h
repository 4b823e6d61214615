// Line framing of engine output, kept apart from the pipes so that it is
// tested without a process.
//
// Interface: LineFramer, FramerSpace, FramerTake.
//
// The reader reads into the free space behind the kept tail; FramerTake cuts
// every line feed, hands each line to the callback while `stop` stays clear,
// and moves the unfinished tail to the front. A buffer that fills without a
// line feed is dropped whole, so the rest of an overlong line arrives as a
// line of its own.
#pragma once

#include <atomic>
#include <cstddef>

#include "engine_channel.h"

constexpr size_t kEngineLineBufferSize = 4096;

struct LineFramer {
  char buffer[kEngineLineBufferSize + 1];  // one more for the NUL of a full line
  size_t fill = 0;
};

// Where the next read goes and how many bytes fit.
char* FramerSpace(LineFramer* framer, size_t* room);
// Frames `count` new bytes that were read into FramerSpace.
void FramerTake(LineFramer* framer, size_t count, EngineLineCallback onLine, void* context,
                const std::atomic<int>* stop);
