#include "columns.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The next blank-separated word of `text` as a 32-bit number.
bool NextNumber(const char** at, const char* end, int32_t* out) {
  const char* p = *at;
  while (p < end && *p == ' ') ++p;
  const char* start = p;
  while (p < end && *p != ' ') ++p;
  if (p == start || p - start > 15) return false;
  char word[16];
  std::memcpy(word, start, p - start);
  word[p - start] = 0;
  char* stop = nullptr;
  errno = 0;
  long value = std::strtol(word, &stop, 10);
  if (*stop != 0 || errno != 0 || value < INT32_MIN || value > INT32_MAX) return false;
  *out = static_cast<int32_t>(value);
  *at = p;
  return true;
}

}  // namespace

int ReadColumnsLayout(const char* value, DatabaseColumn table[kMaxDatabaseColumns + 1]) {
  const char* at = value ? value : "";
  const char* end = at;
  while (end - at < kColumnsValueSize - 1 && *end) ++end;
  int n = 0;
  while (n < kMaxDatabaseColumns) {
    int32_t group[4];
    int got = 0;
    while (got < 4 && NextNumber(&at, end, &group[got])) ++got;
    if (got < 4) break;
    // An id of 0 would end the table early: the rest is not a column.
    if (group[0] == 0) break;
    table[n++] = {group[0], group[1], group[2], group[3]};
  }
  table[n] = {0, 0, 0, 0};
  return n;
}

std::string FormatColumnsLayout(const DatabaseColumn* table) {
  std::string text;
  char group[64];
  for (int i = 0; i < kMaxDatabaseColumns && table[i].id != 0; ++i) {
    std::snprintf(group, sizeof group, "%d %d %d %d ", table[i].id, table[i].format, table[i].width,
                  table[i].position);
    text += group;
  }
  return text;
}
