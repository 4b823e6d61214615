// Per-process data table: see procdata.h. Used only from the user-interface
// thread of each process, so it takes no lock.
#include "procdata.h"

#include <cstring>

#include "heapkit.h"

namespace {

ProcessDataEntry g_table[kProcessDataEntries];

bool ValidKind(int kind) { return kind >= 0 && kind < PD_KINDS; }

bool EntryEmpty(const ProcessDataEntry& e) {
  for (void* r : e.records)
    if (r) return false;
  return true;
}

// Copies into the record of an existing entry; false when no block could be had.
bool CopyInto(ProcessDataEntry& e, int kind, const void* source, uint32_t size) {
  void* block = e.records[kind];
  // A record is normally stored with one size, but a larger copy into a
  // smaller block would run past it: grow the block instead.
  if (block && memSize_rel(block) < size) {
    void* grown = memReAlloc_rel(block, size, HEAPKIT_TAG_RW);
    if (!grown) return false;
    block = e.records[kind] = grown;
  }
  if (!block) {
    block = memAlloc_rel(size ? size : 1, HEAPKIT_TAG_RW);
    if (!block) return false;
    e.records[kind] = block;
  }
  if (source && size && source != block) std::memcpy(block, source, size);
  return true;
}

}  // namespace

int FindProcessEntry(uint32_t processId) {
  if (processId == 0) return -1;
  for (int i = 0; i < kProcessDataEntries; ++i)
    if (g_table[i].processId == processId) return i;
  return -1;
}

int StoreProcessData(uint32_t processId, int kind, const void* source, uint32_t size) {
  if (!ValidKind(kind) || processId == 0) return -1;
  int index = FindProcessEntry(processId);
  bool claimed = false;
  if (index < 0) {
    for (int i = 0; i < kProcessDataEntries && index < 0; ++i)
      if (g_table[i].processId == 0) index = i;
    if (index < 0) return -1;
    g_table[index].processId = processId;
    claimed = true;
  }
  if (!CopyInto(g_table[index], kind, source, size)) {
    if (claimed && EntryEmpty(g_table[index])) g_table[index].processId = 0;
    return -1;
  }
  return index;
}

int ReplaceProcessData(uint32_t processId, int kind, const void* source, uint32_t size) {
  if (!ValidKind(kind)) return 0;
  int index = FindProcessEntry(processId);
  if (index < 0) return 0;
  return CopyInto(g_table[index], kind, source, size) ? 1 : 0;
}

void* GetProcessDataFor(uint32_t processId, int kind) {
  if (!ValidKind(kind)) return nullptr;
  int index = FindProcessEntry(processId);
  return index < 0 ? nullptr : g_table[index].records[kind];
}

int ReleaseProcessData(uint32_t processId, int kind) {
  int index = FindProcessEntry(processId);
  if (index < 0) return -1;
  ProcessDataEntry& e = g_table[index];
  if (ValidKind(kind)) {
    memFree_rel(e.records[kind]);
    e.records[kind] = nullptr;
  }
  if (EntryEmpty(e)) e.processId = 0;
  return index;
}

void ResetProcessDataTable() {
  for (ProcessDataEntry& e : g_table) {
    for (void*& r : e.records) {
      memFree_rel(r);
      r = nullptr;
    }
    e.processId = 0;
  }
}
