// The game list's column table as the layout key "Columns" keeps it: four
// numbers per column (id, format, width, position), each followed by a blank.
//
// Interface: DatabaseColumn, kMaxDatabaseColumns, ReadColumnsLayout,
// FormatColumnsLayout.
#pragma once

#include <cstdint>
#include <string>

constexpr int kMaxDatabaseColumns = 32;
// The value is read into 640 characters, terminator included.
constexpr int kColumnsValueSize = 640;

struct DatabaseColumn {
  int32_t id;  // 0 ends the table
  int32_t format;
  int32_t width;
  int32_t position;
};

// Reads up to 32 complete groups into `table` (room for 33: the table is
// terminated by an entry with id 0); a trailing incomplete group, a word
// that is not a number and anything past the first 639 characters are
// ignored. Returns the number of columns read.
int ReadColumnsLayout(const char* value, DatabaseColumn table[kMaxDatabaseColumns + 1]);
std::string FormatColumnsLayout(const DatabaseColumn* table);
