// SortWithSwap: an in-place quicksort whose elements move only through the
// caller's swap callback, so that callers can keep other data in step (the
// list and list-view controls sort their rows and item records together).
#pragma once

#include <cstddef>
#include <cstdint>

using SortCompare = int (*)(const void* a, const void* b, void* context);
using SortSwap = void (*)(void* a, void* b, void* context);

// Ascending by compare; swap must accept a == b. Nothing for fewer than 2
// elements or an element size of 0.
void SortWithSwap(void* base, uint32_t count, uint32_t elementSize, SortCompare compare, SortSwap swap,
                  void* context);
