// The database window's status counts and the status line text built from
// them ("Games 12\tFound 3\tSelected 1").
//
// Interface: DatabaseStatusCounts, ApplyDatabaseStatus, FormatDatabaseStatus.
#pragma once

#include <cstdint>
#include <string>

constexpr uint32_t kStatusNotShown = 0xFFFFFFFFu;

struct DatabaseStatusCounts {
  uint32_t games = 0;
  uint32_t found = kStatusNotShown;     // no search result
  uint32_t selected = kStatusNotShown;  // not shown
};

// Kinds 1 games, 2 found, 3 selected (kind 4, the second status part's text,
// touches no count). True when the counts are to be redrawn.
bool ApplyDatabaseStatus(DatabaseStatusCounts* counts, int kind, uint32_t value);
std::string FormatDatabaseStatus(const DatabaseStatusCounts& counts);
