// A module that only allocates: its blocks are freed by another module.
#include "heapkit.h"

#include <cstring>

extern "C" __declspec(dllexport) char* HeapTestMakeText(const char* text) {
  return memStrdup_rel(text, HEAPKIT_TAG_RW);
}
