// Date-and-time text and clock-setting descriptions: see date_time.h.
#include "date_time.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "shell_strings.h"

namespace {

constexpr int kReadLimit = 50;  // only this much of a text is ever read
constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int64_t kDaysIn400Years = 146097;

// The decimal number at the start of [begin, end): blanks, a sign, digits;
// anything after the digits is ignored, and a number too large for int
// stops at its limit.
int ReadNumber(const char* begin, const char* end) {
  while (begin < end && (*begin == ' ' || *begin == '\t')) ++begin;
  bool negative = false;
  if (begin < end && (*begin == '-' || *begin == '+')) negative = *begin++ == '-';
  int64_t value = 0;
  for (; begin < end && *begin >= '0' && *begin <= '9'; ++begin) {
    value = value * 10 + (*begin - '0');
    if (value > INT_MAX) value = int64_t(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return int(value);
}

int MonthLength(int month, int64_t year) { return month == 1 && IsLeapYear(year) ? 29 : kMonthDays[month]; }

// Reads at most `limit` characters; see ParseDateTimeText.
void ReadFields(const char* text, size_t limit, std::tm* fields) {
  *fields = std::tm{};
  size_t length = 0;
  while (length < limit && text[length]) ++length;
  const char* at = text;
  const char* end = text + length;
  struct Field {
    int std::tm::*member;
    const char* separators;
  };
  static const Field kFields[] = {
      {&std::tm::tm_mon, "/"},  {&std::tm::tm_mday, "/"}, {&std::tm::tm_year, " "},
      {&std::tm::tm_hour, ":"}, {&std::tm::tm_min, ":"},  {&std::tm::tm_sec, "."},
  };
  for (const Field& field : kFields) {
    const char* stop = at;
    while (stop < end && !std::strchr(field.separators, *stop)) ++stop;
    int value = ReadNumber(at, stop);
    if (field.member == &std::tm::tm_mon) value = value == INT_MIN ? INT_MIN : value - 1;
    if (field.member == &std::tm::tm_year && value < 97) value += 100;
    fields->*field.member = value;
    if (stop >= end) break;  // no separator: the reading ends here
    at = stop + 1;
  }
}

bool ValidFields(const std::tm& f) {
  return f.tm_mon >= 0 && f.tm_mon <= 11 && f.tm_mday >= 1 && f.tm_mday <= 31 && f.tm_hour >= 0 &&
         f.tm_hour <= 23 && f.tm_min >= 0 && f.tm_min <= 59 && f.tm_sec >= 0 && f.tm_sec <= 60;
}

// Days added to (day, month, year) as day steps would add them: a day past
// the month's length goes to day 1 of the next month. Whole 400-year cycles
// are skipped from 1 January, where each is exactly kDaysIn400Years long.
void AddDays(int64_t days, int* day, int* month, int64_t* year) {
  while (days > 0) {
    if (*day == 1 && *month == 0 && days >= kDaysIn400Years) {
      *year += 400 * (days / kDaysIn400Years);
      days %= kDaysIn400Years;
      continue;
    }
    const int64_t room = MonthLength(*month, *year) - *day;  // steps left inside this month
    if (days <= room) {
      *day += int(days);
      return;
    }
    days -= (room > 0 ? room : 0) + 1;
    *day = 1;
    if (++*month > 11) {
      *month = 0;
      ++*year;
    }
  }
}

}  // namespace

bool IsLeapYear(int64_t yearsSince1900) {
  const int64_t year = yearsSince1900 + 1900;
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

const char* FormatNowShort() {
  static char text[kDateTimeTextSize];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (const std::tm* t = std::localtime(&now)) local = *t;
  std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", local.tm_mon + 1, local.tm_mday,
                local.tm_year, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

int ParseDateTimeText(const char* text, std::tm* fields) {
  if (!text || !fields) return -1;
  ReadFields(text, kReadLimit, fields);
  return 0;
}

int64_t SecondsBetween(const char* first, const char* second) {
  std::tm a{}, b{};
  if (ParseDateTimeText(first, &a) != 0 || ParseDateTimeText(second, &b) != 0) return 0;
  a.tm_isdst = b.tm_isdst = -1;
  const std::time_t ta = std::mktime(&a), tb = std::mktime(&b);
  if (ta == std::time_t(-1) || tb == std::time_t(-1)) return 0;
  return int64_t(std::difftime(tb, ta));
}

int AddToDateTimeText(char* text, size_t size, int minutes, int hours, int days) {
  if (!text || size == 0) return -1;
  std::tm f{};
  ReadFields(text, size < kReadLimit ? size : kReadLimit, &f);
  if (!ValidFields(f)) return -1;
  int64_t total = int64_t(minutes) + 60 * int64_t(hours) + 1440 * int64_t(days);
  if (total < 0) total = 0;
  const int64_t minute = f.tm_min + total % 60;
  const int64_t hour = f.tm_hour + total / 60 % 24 + minute / 60;
  int64_t year = f.tm_year;
  int day = f.tm_mday, month = f.tm_mon;
  AddDays(total / 1440 + hour / 24, &day, &month, &year);
  char result[kDateTimeTextSize];
  const int written = std::snprintf(result, sizeof result, "%02d/%02d/%02lld %02d:%02d:%02d", month + 1, day,
                                    static_cast<long long>(year), int(hour % 24), int(minute % 60), f.tm_sec);
  if (written < 0 || size_t(written) >= size) return -1;
  std::memcpy(text, result, size_t(written) + 1);
  return 0;
}

char* FormatTimeControl(const ClockSetting* clock, char* buffer, size_t size) {
  if (!buffer || size == 0) return buffer;
  buffer[0] = '\0';
  if (!clock) return buffer;
  int id = 0, first = 0, second = 0, count = 1;
  switch (clock->kind) {
    case 0:
    case 1:
      id = 148, first = clock->second, second = clock->baseMs / 60000, count = 2;
      break;
    case 3:
    case 4:
      id = 150, first = clock->baseMs / 60000;
      break;
    case 5:
      id = 147, first = clock->baseMs / 60000, second = clock->second / 1000, count = 2;
      break;
    case 6:
      id = 149, first = clock->baseMs / 1000;
      break;
    default:
      return buffer;  // kind 2 (no clock) and unknown kinds
  }
  if (first <= 0 || (count == 2 && second <= 0)) return buffer;
  const std::string format = ShellString(id);  // the loader's buffer may be shared
  if (count == 2)
    std::snprintf(buffer, size, format.c_str(), first, second);
  else
    std::snprintf(buffer, size, format.c_str(), first);
  return buffer;
}
