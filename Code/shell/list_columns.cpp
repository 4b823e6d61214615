// Column catalogue and column tables of the game list.
#include "list_columns.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr ColumnCatalogueEntry kCatalogue[] = {
    {15, 0, 43},   {5, 0, 125},   {6, 0, 125},   {16, 2, 54}, {20, 2, 40}, {1, 0, 86},
    {2, 0, 86},    {3, 2, 30},    {17, 0, 50},   {19, 1, 60}, {4, 0, 60},  {18, 0, 60},
    {100, 0, 180}, {102, 0, 270}, {103, 0, 270}, {7, 0, 60},  {8, 0, 60},  {9, 2, 64},
    {10, 2, 64},   {11, 2, 50},   {12, 2, 50},   {0, 0, 0},
};
constexpr int kCatalogueCount = sizeof kCatalogue / sizeof kCatalogue[0] - 1;

const char* const kNames[] = {
    "ECO",
    "White",
    "Black",
    "Result",
    "Moves",
    "Event",
    "Site",
    "Round",
    "Date",
    "GameNo",
    "Annotator",
    "Remark",
    "White - Black",
    "White (Country,ELO,Title)",
    "Black (Country,ELO,Title)",
    "Wh. Country",
    "Bl. Country",
    "Wh. ELO",
    "Bl. ELO",
    "Wh. Title",
    "Bl. Title",
};

void SetEntry(ListColumnSpec* e, uint32_t id, uint32_t format, uint32_t width, uint32_t order) {
  std::memset(e, 0, sizeof *e);
  e->id = id;
  e->format = format;
  e->width = width;
  e->order = order;
  std::snprintf(e->name, sizeof e->name, "%s", ColumnName(ColumnCatalogueIndex(id)));
}

int TableLength(const ListColumnSpec* table) {
  int n = 0;
  while (n < kMaxListColumns && table[n].id != 0) ++n;
  return n;
}

}  // namespace

const ColumnCatalogueEntry* ColumnCatalogue() { return kCatalogue; }

int ColumnCatalogueIndex(uint32_t id) {
  for (int i = 0; i < kCatalogueCount; ++i)
    if (kCatalogue[i].id == id) return i;
  return -1;
}

const char* ColumnName(int index) { return index >= 0 && index < kCatalogueCount ? kNames[index] : "Status"; }

void DefaultColumnTable(ListColumnSpec* table) {
  static const ColumnCatalogueEntry kDefault[] = {{21, 0, 24}, {15, 0, 43}, {5, 0, 125}, {9, 2, 74},
                                                  {6, 0, 125}, {10, 2, 64}, {16, 2, 54}, {1, 0, 86}};
  uint32_t order = 0;
  for (const ColumnCatalogueEntry& d : kDefault)
    SetEntry(&table[order], d.id, d.format, d.width, order), ++order;
  std::memset(&table[order], 0, sizeof table[order]);
}

void ColumnsFromSelection(const std::vector<int>& catalogueIndexes, ListColumnSpec* table) {
  SetEntry(&table[0], kStatusColumnId, 2, 20, 0);
  uint32_t n = 1;
  for (int index : catalogueIndexes) {
    if (n > 30) break;
    if (index < 0 || index >= kCatalogueCount) continue;
    const ColumnCatalogueEntry& c = kCatalogue[index];
    SetEntry(&table[n], c.id, c.format, c.width, n);
    ++n;
  }
  std::memset(&table[n], 0, sizeof table[n]);
}

void InsertListColumns(ListColumnSpec* table) {
  const int n = TableLength(table);
  for (int i = 0; i < n; ++i) {
    ListColumnSpec& e = table[i];
    if (ColumnCatalogueIndex(e.id) < 0) e.id = kStatusColumnId;
    std::snprintf(e.name, sizeof e.name, "%s", ColumnName(ColumnCatalogueIndex(e.id)));
    if (static_cast<int32_t>(e.width) < 1) e.width = 10;
    if (e.format > 2) e.format = 2;
  }
  bool seen[kMaxListColumns] = {};
  bool orderly = true;
  for (int i = 0; i < n && orderly; ++i) {
    const uint32_t o = table[i].order;
    if (o >= static_cast<uint32_t>(n) || seen[o])
      orderly = false;
    else
      seen[o] = true;
  }
  if (!orderly)
    for (int i = 0; i < n; ++i) table[i].order = i;

  int status = -1;
  for (int i = 0; i < n && status < 0; ++i)
    if (table[i].id == kStatusColumnId) status = i;
  if (status > 0) {
    const ListColumnSpec first = table[0];
    table[0] = table[status];
    table[status] = first;
  } else if (status < 0 && n > 0) {
    if (n == kMaxListColumns) {
      SetEntry(&table[0], kStatusColumnId, 0, 24, table[0].order);
    } else {
      // The first entry moves to the end and Status takes its place and
      // display order.
      const ListColumnSpec first = table[0];
      table[n] = first;
      SetEntry(&table[0], kStatusColumnId, 0, 24, first.order);
      table[n].order = n;
      std::memset(&table[n + 1], 0, sizeof table[n + 1]);
    }
  }
}
