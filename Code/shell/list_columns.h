// The game list's column tables: the catalogue of columns the column setup
// offers, the default table, the table the setup's OK writes, and the
// normalising of a table read from a layout before it is shown.
//
// Interface: ListColumnSpec, kMaxListColumns, kStatusColumnId, ColumnCatalogueEntry,
// ColumnCatalogue, ColumnCatalogueIndex, ColumnName, DefaultColumnTable,
// ColumnsFromSelection, InsertListColumns.
#pragma once

#include <cstdint>
#include <vector>

// One column; a table ends with an entry whose id is 0.
struct ListColumnSpec {
  uint32_t id;
  char name[64];
  uint32_t format;  // 0 left, 1 right, 2 centred
  uint32_t width;   // pixels
  uint32_t order;   // display order, 0-based
};

constexpr int kMaxListColumns = 31;  // plus the ending entry
constexpr uint32_t kStatusColumnId = 21;

struct ColumnCatalogueEntry {
  uint32_t id;
  uint32_t format;
  uint32_t width;
};

// The 21 columns of the setup, ending with id 0. Entry i's name is string
// 10002 + i; the Status column's is 10001.
const ColumnCatalogueEntry* ColumnCatalogue();
// The catalogue index of `id`, or -1.
int ColumnCatalogueIndex(uint32_t id);
// The English name of catalogue entry `index` (-1: "Status").
const char* ColumnName(int index);

// Fills `table` (kMaxListColumns + 1 entries) with the default table.
void DefaultColumnTable(ListColumnSpec* table);

// The table the setup's OK writes from the catalogue indexes of "Selected
// columns", in list order: Status first, at most 30 more.
void ColumnsFromSelection(const std::vector<int>& catalogueIndexes, ListColumnSpec* table);

// Normalises a table in place: names from the catalogue, unknown ids as
// Status, widths below 1 → 10, unknown formats → 2, orders renumbered when
// they are not 0..n-1, Status moved first or added.
void InsertListColumns(ListColumnSpec* table);
