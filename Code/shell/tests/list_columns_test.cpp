// Column tables of the game list: the default, the setup's result and the
// normalising of a table read from a layout.
#include "list_columns.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Col {
  uint32_t id, format, width, order;
  std::string name;
  bool operator==(const Col& o) const {
    return id == o.id && format == o.format && width == o.width && order == o.order && name == o.name;
  }
};
std::ostream& operator<<(std::ostream& os, const Col& c) {
  return os << "{" << c.id << "," << c.format << "," << c.width << "," << c.order << ",\"" << c.name << "\"}";
}

std::vector<Col> Read(const ListColumnSpec* table) {
  std::vector<Col> cols;
  for (int i = 0; i <= kMaxListColumns && table[i].id; ++i)
    cols.push_back({table[i].id, table[i].format, table[i].width, table[i].order, table[i].name});
  return cols;
}

void Fill(ListColumnSpec* table, const std::vector<Col>& cols) {
  std::memset(table, 0, sizeof(ListColumnSpec) * (kMaxListColumns + 1));
  for (size_t i = 0; i < cols.size(); ++i) {
    table[i].id = cols[i].id;
    table[i].format = cols[i].format;
    table[i].width = cols[i].width;
    table[i].order = cols[i].order;
    std::strcpy(table[i].name, "old");
  }
}

TEST(ListColumns, CatalogueAndDefaultTable) {
  EXPECT_EQ(ColumnCatalogueIndex(15), 0);
  EXPECT_EQ(ColumnCatalogueIndex(12), 20);
  EXPECT_EQ(ColumnCatalogueIndex(21), -1);
  EXPECT_EQ(ColumnCatalogue()[21].id, 0u);
  EXPECT_STREQ(ColumnName(13), "White (Country,ELO,Title)");
  ListColumnSpec table[kMaxListColumns + 1];
  DefaultColumnTable(table);
  const std::vector<Col> want = {{21, 0, 24, 0, "Status"}, {15, 0, 43, 1, "ECO"},   {5, 0, 125, 2, "White"},
                                 {9, 2, 74, 3, "Wh. ELO"}, {6, 0, 125, 4, "Black"}, {10, 2, 64, 5, "Bl. ELO"},
                                 {16, 2, 54, 6, "Result"}, {1, 0, 86, 7, "Event"}};
  EXPECT_EQ(Read(table), want);
}

TEST(ListColumns, SetupResultStartsWithStatus) {
  ListColumnSpec table[kMaxListColumns + 1];
  ColumnsFromSelection({}, table);
  EXPECT_EQ(Read(table), (std::vector<Col>{{21, 2, 20, 0, "Status"}}));
  ColumnsFromSelection({3, 0}, table);
  EXPECT_EQ(Read(table),
            (std::vector<Col>{{21, 2, 20, 0, "Status"}, {16, 2, 54, 1, "Result"}, {15, 0, 43, 2, "ECO"}}));
  // At most 30 besides Status, however many are selected.
  std::vector<int> many;
  for (int i = 0; i < 40; ++i) many.push_back(i % 21);
  ColumnsFromSelection(many, table);
  EXPECT_EQ(Read(table).size(), 31u);
}

TEST(ListColumns, LayoutTablesAreNormalised) {
  struct Case {
    const char* what;
    std::vector<Col> in, out;
  } cases[] = {
      {"repeated orders renumbered in table order",
       {{21, 0, 24, 0}, {15, 0, 43, 1}, {5, 0, 125, 1}},
       {{21, 0, 24, 0, "Status"}, {15, 0, 43, 1, "ECO"}, {5, 0, 125, 2, "White"}}},
      {"a permutation of orders is kept",
       {{21, 0, 24, 0}, {15, 0, 43, 2}, {5, 0, 125, 1}},
       {{21, 0, 24, 0, "Status"}, {15, 0, 43, 2, "ECO"}, {5, 0, 125, 1, "White"}}},
      {"width 0 and format 5",
       {{21, 0, 0, 0}, {15, 5, 43, 1}},
       {{21, 0, 10, 0, "Status"}, {15, 2, 43, 1, "ECO"}}},
      {"Status moved first",
       {{15, 0, 43, 0}, {5, 0, 125, 1}, {21, 0, 24, 2}},
       {{21, 0, 24, 2, "Status"}, {5, 0, 125, 1, "White"}, {15, 0, 43, 0, "ECO"}}},
      {"an unknown id becomes Status",
       {{15, 0, 43, 0}, {999, 1, 30, 1}},
       {{21, 1, 30, 1, "Status"}, {15, 0, 43, 0, "ECO"}}},
      {"Status added, the first entry moved to the end",
       {{15, 0, 43, 0}, {5, 0, 125, 1}},
       {{21, 0, 24, 0, "Status"}, {5, 0, 125, 1, "White"}, {15, 0, 43, 2, "ECO"}}},
  };
  ListColumnSpec table[kMaxListColumns + 1];
  for (const Case& c : cases) {
    Fill(table, c.in);
    InsertListColumns(table);
    EXPECT_EQ(Read(table), c.out) << c.what;
  }
  // A full table has its first entry replaced by Status; it never grows.
  std::vector<Col> full;
  for (int i = 0; i < kMaxListColumns; ++i)
    full.push_back({ColumnCatalogue()[i % 21].id, 0, 50, uint32_t(i)});
  Fill(table, full);
  InsertListColumns(table);
  const std::vector<Col> got = Read(table);
  ASSERT_EQ(got.size(), 31u);
  EXPECT_EQ(got[0], (Col{21, 0, 24, 0, "Status"}));
  EXPECT_EQ(got[1].id, 5u);
}

}  // namespace
