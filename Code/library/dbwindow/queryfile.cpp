#include "queryfile.h"

#include <cstdio>
#include <cstring>

#include "criteria.h"
#include "profile.h"

namespace {

constexpr int kColumns = 5;
constexpr int kRows = 3;

std::string Key(const char* kind, int column, int row) {
  char key[32];
  std::snprintf(key, sizeof key, "%s_%d_%d", kind, column, row);
  return key;
}

}  // namespace

std::string QuerySectionName(const std::string& name) { return kQuerySectionPrefix + name; }

int WriteQuery(std::string* name, const char* ini, const SearchQuery& query) {
  const int bad = CheckQueryName(name);
  if (bad) return bad;
  const std::string section = QuerySectionName(*name);
  // Saving replaces the section whole: criteria of an earlier save go.
  ProfileDeleteSection(section.c_str(), ini);
  bool ok = true;
  for (int c = 0; c < kColumns; ++c)
    for (int r = 0; r < kRows; ++r) {
      const QueryCondition& q = query.conditions[c][r];
      char text[sizeof q.value + 1];
      std::memcpy(text, q.value, sizeof q.value);
      text[sizeof q.value] = 0;
      if (!text[0]) continue;
      ok = ProfileWriteInt(section.c_str(), Key("data", c, r).c_str(), q.field, ini) && ok;
      ok = ProfileWriteString(section.c_str(), Key("text", c, r).c_str(), text, ini) && ok;
    }
  return ok ? 0 : -2;
}

void ReadQuery(const std::string& name, const char* ini, SearchQuery* query) {
  std::memset(query, 0, sizeof *query);
  const std::string section = QuerySectionName(name);
  for (int c = 0; c < kColumns; ++c)
    for (int r = 0; r < kRows; ++r) {
      QueryCondition& q = query->conditions[c][r];
      char data[32] = "";
      if (ProfileReadString(section.c_str(), Key("data", c, r).c_str(), "", data, sizeof data, ini) > 0)
        q.field = int32_t(ParseProfileInt(data, 0));
      ProfileReadString(section.c_str(), Key("text", c, r).c_str(), "", q.value, sizeof q.value, ini);
    }
}

void RemoveQuery(const std::string& name, const char* ini) {
  ProfileDeleteSection(QuerySectionName(name).c_str(), ini);
}
