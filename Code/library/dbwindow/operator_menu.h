// The operator menu of a Data Query criterion: for the field of the edit's
// column, one entry per operator, each a menu text and the text that the
// edit receives, both formed around the edit's value (or the field's sample
// value when the edit holds only operator characters).
//
// Interface: kCriterionChars, QueryMenuKind, QueryMenuKindOfField,
// QueryMenuEntries, QuerySampleValue, QueryMenuValue, FormatQueryMenuText,
// kQueryMenuFirstId.
#pragma once

#include <cstddef>
#include <string>

// A criterion holds this many characters (64 bytes with the terminator).
constexpr int kCriterionChars = 63;
constexpr int kQueryMenuFirstId = 1000;

enum class QueryMenuKind { kNone, kText, kNumber, kDate, kResult };

struct QueryMenuEntry {
  const char* menu;
  const char* insert;
};

QueryMenuKind QueryMenuKindOfField(int field);
// The entries of a kind; `count` receives their number.
const QueryMenuEntry* QueryMenuEntries(QueryMenuKind kind, int* count);
// Fields 1-22; "" for any other.
const char* QuerySampleValue(int field);
// The edit's text without its leading operator characters and blanks, cut
// to a criterion's length; the field's sample value when nothing is left.
std::string QueryMenuValue(const char* editText, int field);
// `format` with each "%s" replaced by `value`, at most `size` - 1 bytes.
std::string FormatQueryMenuText(const char* format, const std::string& value, size_t size);
