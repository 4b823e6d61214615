#include "status.h"

#include <cstdio>

bool ApplyDatabaseStatus(DatabaseStatusCounts* counts, int kind, uint32_t value) {
  switch (kind) {
    case 1:
      counts->games = value;
      if (value == 0) counts->found = counts->selected = kStatusNotShown;
      return true;
    case 2:
      counts->found = value;
      if (value == 0) counts->selected = kStatusNotShown;
      return true;
    case 3:
      if (value != 0) counts->selected = value;
      return true;
    default:
      return false;
  }
}

std::string FormatDatabaseStatus(const DatabaseStatusCounts& counts) {
  char text[64];
  int n = std::snprintf(text, sizeof text, "Games %lu", static_cast<unsigned long>(counts.games));
  if (counts.found != kStatusNotShown)
    n += std::snprintf(text + n, sizeof text - n, "\tFound %lu", static_cast<unsigned long>(counts.found));
  if (counts.selected != kStatusNotShown)
    std::snprintf(text + n, sizeof text - n, "\tSelected %lu", static_cast<unsigned long>(counts.selected));
  return text;
}
