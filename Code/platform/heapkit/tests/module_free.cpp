// A module that only frees what another module allocated.
#include "heapkit.h"

extern "C" __declspec(dllexport) size_t HeapTestFreeText(char* text) {
  size_t size = memSize_rel(text);
  memFree_rel(text);
  return size;
}
