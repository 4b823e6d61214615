// Header fields of a game buffer as display texts and numbers, the user's
// date form, the query date reader and the two folding tables of the
// header search.
//
// Interface: HeaderText, HeaderNumber, PutHeaderText, SetDateLocale,
// FormatHeaderDate, ReadQueryDate, FoldQueryChar, FoldGameChar.
#pragma once

#include <cstdint>
#include <string>

#include "gdgame.h"

namespace gdbase {

// The text of header field `field` in the Windows character set; false for
// an unknown field or one with nothing to show.
bool HeaderText(GdgGame* game, int field, std::string* text);
// Fields 9, 10, 16, 17, 19 and 21 as numbers; false for the others.
bool HeaderNumber(GdgGame* game, int field, int32_t* value);
// Stores a Windows text for the text fields; false for the others.
bool PutHeaderText(GdgGame* game, int field, const char* text);

// The user's short date picture ("yyyy/MM/dd" when null or empty), month
// names and short month names (English when null).
void SetDateLocale(const char* picture, const char* const* months, const char* const* shortMonths);
// The date in the picture; parts that are 0 are left out with their
// separator; all three 0 give "".
std::string FormatHeaderDate(int year, int month, int day);
// Year, month and day from loose text ("1999/12/25", "25.12.1999",
// "25 Dec 1999"); a part not found stays 0, years 1-99 are 19xx.
void ReadQueryDate(const char* text, int* year, int* month, int* day);

uint8_t FoldQueryChar(uint8_t c);
uint8_t FoldGameChar(uint8_t c);

}  // namespace gdbase
