// Date-and-time text of the program and clock-setting descriptions.
//
// The program's own date-time text is "MM/DD/YY hh:mm:ss" where the year
// field holds years since 1900: 1999 is "99", 2001 is "101". It is written
// into files and compared later, so its form never changes. When read back a
// year below 97 is taken as 100 more, so the two-digit years 00..96 that
// older files hold mean 2000..2096.
//
// Interface: FormatNowShort, FormatCurrentDateTime, ParseDateTimeText,
// SecondsBetween, AddToDateTimeText, IsLeapYear, ClockSetting,
// FormatTimeControl.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

// Enough for any date-time text this module writes from the clock.
constexpr size_t kDateTimeTextSize = 64;

// The current local date-time text, in a program-wide buffer that the next
// call overwrites.
const char* FormatNowShort();

// The system's short date text and time text joined by one blank, in a
// program-wide buffer that the next call overwrites.
const char* FormatCurrentDateTime();

// Reads at most the first 50 characters of `text` into `fields` (cleared
// first; month 0-based, year since 1900): month up to "/", day up to "/",
// year up to " ", hour up to ":", minute up to ":", second up to "." or the
// end. A missing separator ends the reading with the fields read so far.
// 0, or -1 for a null argument.
int ParseDateTimeText(const char* text, std::tm* fields);

// second - first in seconds, both read as local times.
int64_t SecondsBetween(const char* first, const char* second);

// Adds minutes + 60 * hours + 1440 * days to the date-time text in place, as
// if one minute at a time (minutes roll into hours, days, months, years;
// seconds kept). `size` is the buffer's size: the text grows when the year
// gains a digit (12/31/99 becomes 01/01/100). 0; -1 for a null text, a text
// that is no valid date and time, or a result that does not fit the buffer
// (the text is then left as it was). A sum of 0 or less rewrites the text in
// its standard form.
int AddToDateTimeText(char* text, size_t size, int minutes, int hours, int days);

// The Gregorian rule on yearsSince1900 + 1900.
bool IsLeapYear(int64_t yearsSince1900);

// A side's clock as a player record holds it: kind, first time in
// milliseconds, second value (moves per period, or increment in
// milliseconds).
struct ClockSetting {
  int32_t kind;
  int32_t baseMs;
  int32_t second;
};

// The description of a clock setting (string resources 147..150) in
// `buffer`, which it returns; empty for kind 2, a kind above 6 and when a
// value the text shows is 0 (or below). A null clock gives empty text.
char* FormatTimeControl(const ClockSetting* clock, char* buffer, size_t size);
