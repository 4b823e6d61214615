// Saved queries in "Query.ini": one section "QUERY_<name>" per query, with
// "data_<c>_<r>" (the field code) and "text_<c>_<r>" (the criterion as
// typed) for every criterion of column c and row r that has a text.
// Through the shell's profile seam, so the rules hold natively as on
// Windows.
//
// Interface: kQuerySectionPrefix, QuerySectionName, WriteQuery, ReadQuery,
// RemoveQuery.
#pragma once

#include <string>

#include "query.h"

constexpr const char kQuerySectionPrefix[] = "QUERY_";
std::string QuerySectionName(const std::string& name);

// Cuts trailing white space from `name`, then writes the record's criteria
// into a fresh section. 0 when written; 1 + the position of the first bad
// character of the name (nothing written); -2 when the file cannot be
// written.
int WriteQuery(std::string* name, const char* ini, const SearchQuery& query);
// Clears the record and reads the named query's criteria into it.
void ReadQuery(const std::string& name, const char* ini, SearchQuery* query);
void RemoveQuery(const std::string& name, const char* ini);
