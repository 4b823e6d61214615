// The Data Query page's operator menus: which menu each field gets, the
// value around which the entries are formed, and texts kept within bounds.
#include <gtest/gtest.h>

#include <string>

#include "operator_menu.h"

namespace {

std::string FirstMenuText(int field, const char* edit) {
  int count = 0;
  const QueryMenuEntry* e = QueryMenuEntries(QueryMenuKindOfField(field), &count);
  return FormatQueryMenuText(e[0].menu, QueryMenuValue(edit, field), 256);
}

TEST(OperatorMenu, EntriesOfEachFieldKind) {
  EXPECT_EQ(FirstMenuText(5, ""), "A45\t(begins with A45)");
  EXPECT_EQ(FirstMenuText(6, ""), "1-0\t(white wins)");
  EXPECT_EQ(FirstMenuText(3, "  >=2300"), "2300 or =2300\t(equal to 2300)");
  EXPECT_EQ(FirstMenuText(0, "x"), "First select a field name in the drop downbox above.");
  int count = 0;
  const QueryMenuEntry* date = QueryMenuEntries(QueryMenuKindOfField(11), &count);
  ASSERT_EQ(count, 6);
  EXPECT_EQ(FormatQueryMenuText(date[4].menu, QueryMenuValue("", 11), 256), ">1996 dec\t(later than 1996 dec)");
  const QueryMenuEntry* text = QueryMenuEntries(QueryMenuKindOfField(5), &count);
  ASSERT_EQ(count, 6);
  EXPECT_EQ(FormatQueryMenuText(text[2].insert, QueryMenuValue("", 5), 64), "*A45");  // "contains"
  EXPECT_EQ(FormatQueryMenuText(text[5].insert, QueryMenuValue("!*Corvane", 5), 64), "!*Corvane");
  QueryMenuEntries(QueryMenuKindOfField(6), &count);
  EXPECT_EQ(count, 8);
  const struct {
    int field;
    QueryMenuKind kind;
  } kinds[] = {{1, QueryMenuKind::kText},    {3, QueryMenuKind::kNumber}, {6, QueryMenuKind::kResult},
               {7, QueryMenuKind::kNumber},  {10, QueryMenuKind::kNumber}, {11, QueryMenuKind::kDate},
               {12, QueryMenuKind::kNumber}, {19, QueryMenuKind::kNumber}, {20, QueryMenuKind::kNumber},
               {22, QueryMenuKind::kText},   {0, QueryMenuKind::kNone},    {23, QueryMenuKind::kNone}};
  for (auto k : kinds) EXPECT_EQ(QueryMenuKindOfField(k.field), k.kind) << k.field;
}

TEST(OperatorMenu, SampleValuesAndOperatorCharactersTakenOff) {
  EXPECT_EQ(QueryMenuValue("", 1), "player");
  EXPECT_EQ(QueryMenuValue("!=* <>", 12), "100");
  EXPECT_EQ(QueryMenuValue("=Corvane Level 4", 15), "Corvane Level 4");
  EXPECT_EQ(QueryMenuValue(nullptr, 99), "");
}

TEST(OperatorMenu, LongValuesStayWithinTheCriterionAndTheMenuText) {
  const std::string edit(300, 'w');
  const std::string value = QueryMenuValue(edit.c_str(), 15);
  EXPECT_EQ(value.size(), size_t(kCriterionChars));
  int count = 0;
  const QueryMenuEntry* e = QueryMenuEntries(QueryMenuKind::kNumber, &count);
  // Three copies of the value in one menu text: cut to the buffer.
  EXPECT_EQ(FormatQueryMenuText(e[1].menu, value, 128).size(), 127u);
  EXPECT_EQ(FormatQueryMenuText(e[1].insert, value, 64).size(), 63u);
  EXPECT_EQ(FormatQueryMenuText("100%%s", "x", 64), "100%x");
}

}  // namespace
