// Query criteria texts: the operator prefix ("!*= <>") at the start of a
// criterion is removed and turned into an operator code; and the names under
// which queries are saved.
//
// Interface: ParseTextCriterion, ParseNumberCriterion, ParseFlagCriterion,
// CheckQueryName.
#pragma once

#include <string>

// Each takes a zero-terminated text, removes its prefix in place and returns
// the operator code (0 for a text left empty).
// Text fields: none 3, "=" 1, "!=" 2, "!" 4, "*" 5, "!*" 6.
int ParseTextCriterion(char* text);
// Number fields: none or "=" 1, "!" or "!=" 2, "<" 3, ">=" 4, "<=" 5, ">" 6.
int ParseNumberCriterion(char* text);
// Flag fields: "!" 2, "=" or none 1.
int ParseFlagCriterion(char* text);

// Cuts trailing white space from `name`; 0 when every character is printable
// and none of "[", "]", ";", else 1 + the position of the first bad one.
int CheckQueryName(std::string* name);
