#include "operator_menu.h"

#include <cstring>

namespace {

const QueryMenuEntry kNoField[] = {{"First select a field name in the drop downbox above.", ""}};
const QueryMenuEntry kTextMenu[] = {
    {"%s\t(begins with %s)", "%s"},           {"=%s\t(equals %s)", "=%s"},
    {"*%s\t(contains %s)", "*%s"},            {"!%s\t(does not begin with %s)", "!%s"},
    {"!=%s\t(is not equal to %s)", "!=%s"},   {"!*%s\t(does not contain %s)", "!*%s"},
};
const QueryMenuEntry kNumberMenu[] = {
    {"%s or =%s\t(equal to %s)", "%s"},
    {"!%s or !=%s\t(not equal to %s)", "!%s"},
    {"<%s\t(less than %s)", "<%s"},
    {"<=%s\t(less than or equal to %s)", "<=%s"},
    {">%s\t(greater than %s)", ">%s"},
    {">=%s\t(greater than or equal to %s)", ">=%s"},
};
const QueryMenuEntry kDateMenu[] = {
    {"%s or =%s\t(equal to %s)", "%s"},
    {"!%s or !=%s\t(not equal to %s)", "!%s"},
    {"<%s\t(earlier than %s)", "<%s"},
    {"<=%s\t(earlier than or equal to %s)", "<=%s"},
    {">%s\t(later than %s)", ">%s"},
    {">=%s\t(later than or equal to %s)", ">=%s"},
};
const QueryMenuEntry kResultMenu[] = {
    {"1-0\t(white wins)", "1-0"},   {"1/2\t(draw)", "1/2"},          {"0-1\t(black wins)", "0-1"},
    {"=\t(no result)", "="},        {"!1-0\t(not white wins)", "!1-0"}, {"!1/2\t(no draw)", "!1/2"},
    {"!0-1\t(not black wins)", "!0-1"}, {"!=\t(any result)", "!="},
};

const char* const kSamples[23] = {"",        "player",   "country", "2200",    "IM",      "A45",
                                  "1-0",     "40",       "event",   "site",    "1",       "1996 dec",
                                  "100",     "annotator", "remark", "white",   "black",   "country",
                                  "country", "2200",     "2200",    "IM",      "IM"};

}  // namespace

QueryMenuKind QueryMenuKindOfField(int field) {
  switch (field) {
    case 0:
      return QueryMenuKind::kNone;
    case 3: case 7: case 10: case 12: case 19: case 20:
      return QueryMenuKind::kNumber;
    case 6:
      return QueryMenuKind::kResult;
    case 11:
      return QueryMenuKind::kDate;
    default:
      return field >= 1 && field <= 22 ? QueryMenuKind::kText : QueryMenuKind::kNone;
  }
}

const QueryMenuEntry* QueryMenuEntries(QueryMenuKind kind, int* count) {
  switch (kind) {
    case QueryMenuKind::kText:
      *count = int(sizeof kTextMenu / sizeof *kTextMenu);
      return kTextMenu;
    case QueryMenuKind::kNumber:
      *count = int(sizeof kNumberMenu / sizeof *kNumberMenu);
      return kNumberMenu;
    case QueryMenuKind::kDate:
      *count = int(sizeof kDateMenu / sizeof *kDateMenu);
      return kDateMenu;
    case QueryMenuKind::kResult:
      *count = int(sizeof kResultMenu / sizeof *kResultMenu);
      return kResultMenu;
    default:
      *count = 1;
      return kNoField;
  }
}

const char* QuerySampleValue(int field) { return field >= 1 && field <= 22 ? kSamples[field] : ""; }

std::string QueryMenuValue(const char* editText, int field) {
  std::string text = editText ? editText : "";
  size_t skip = 0;
  while (skip < text.size() && std::strchr("!>=<* ", text[skip])) ++skip;
  text = text.substr(skip);
  if (text.size() > size_t(kCriterionChars)) text.resize(size_t(kCriterionChars));
  return text.empty() ? QuerySampleValue(field) : text;
}

std::string FormatQueryMenuText(const char* format, const std::string& value, size_t size) {
  std::string out;
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      out += value;
      ++p;
    } else {
      out.push_back(*p);
    }
  }
  if (size > 0 && out.size() > size - 1) out.resize(size - 1);
  return out;
}
