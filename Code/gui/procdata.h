// Per-process data of the library: a table of four entries keyed by process
// id, each with three records (window defaults, control defaults, named-font
// table) that the table owns as Heapkit blocks (tag 66). Every part of the
// library reaches its records through GetProcessData.
//
// Interface: StoreProcessData, ReplaceProcessData, FindProcessEntry,
// GetProcessDataFor, ReleaseProcessData (OS-free, process id given) and
// GetProcessData (the calling process; procdata_win32.cpp).
#pragma once

#include <cstdint>

enum ProcessDataKind {
  PD_WINDOW_DEFAULTS = 0,   // CwDefaults, 1,252 bytes
  PD_CONTROL_DEFAULTS = 1,  // CcDefaults
  PD_FONT_TABLE = 2,        // CguiFontTable
  PD_KINDS = 3,
};

constexpr int kProcessDataEntries = 4;

struct ProcessDataEntry {
  uint32_t processId;  // 0 marks a free entry
  void* records[PD_KINDS];
};

// Copies size bytes into the process's record of that kind, claiming an entry
// for the process first when it has none; a record that exists is reused
// when it is large enough. Entry index, or -1 (table full, bad kind, no
// memory: nothing is copied).
int StoreProcessData(uint32_t processId, int kind, const void* source, uint32_t size);
// The same for a process that already has an entry: 1, or 0.
int ReplaceProcessData(uint32_t processId, int kind, const void* source, uint32_t size);
int FindProcessEntry(uint32_t processId);
void* GetProcessDataFor(uint32_t processId, int kind);
// Frees one record; the entry is freed with its last record. Entry index, or
// -1 when the process has no entry.
int ReleaseProcessData(uint32_t processId, int kind);

// The record of the calling process (the window is not used).
void* GetProcessData(void* window, int kind);

// Test support: frees every record of every entry.
void ResetProcessDataTable();
