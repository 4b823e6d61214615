// Dates, times and results as the database module writes and reads them.
#include "texts.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace gdbase {
namespace {

char g_months[12][16] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
TraceSink g_sink = nullptr;
ErrorSink g_errorSink = nullptr;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

bool SameLetters3(const char* a, const char* b) {
  for (int i = 0; i < 3; ++i) {
    if (a[i] == 0 || b[i] == 0) return false;
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Reads a decimal number, saturating instead of overflowing.
int ReadNumber(const char*& s) {
  long value = 0;
  while (IsDigit(*s)) {
    if (value < 100000000) value = value * 10 + (*s - '0');
    ++s;
  }
  return static_cast<int>(value);
}

}  // namespace

void ParseDateText(const char* text, int* day, int* month, int* year) {
  const char* s = text;
  const char* start = s;
  int first = ReadNumber(s);
  bool yearFirst = (s - start) >= 3 || first > 31;
  while (*s && !IsDigit(*s) && !IsLetter(*s)) ++s;
  int m = 0;
  if (IsDigit(*s)) {
    m = ReadNumber(s);
  } else if (IsLetter(*s)) {
    for (int i = 0; i < 12; ++i) {
      if (SameLetters3(s, g_months[i])) {
        m = i + 1;
        break;
      }
    }
    while (IsLetter(*s)) ++s;
  }
  while (*s && !IsDigit(*s)) ++s;
  int last = ReadNumber(s);
  *month = m;
  if (yearFirst) {
    *year = first;
    *day = last;
  } else {
    *day = first;
    *year = last;
  }
}

void ParseTimeText(const char* text, int* hours, int* minutes, int* seconds) {
  const char* s = text;
  int* parts[3] = {hours, minutes, seconds};
  for (int* part : parts) {
    while (*s && !IsDigit(*s)) ++s;
    *part = ReadNumber(s);
  }
}

void FormatDateText(char* out, unsigned year, unsigned month, unsigned day) {
  std::strcpy(out, "????.??.??");
  char buf[16];
  if (year >= 1 && year <= 9999) {
    std::snprintf(buf, sizeof buf, "%04u", year);
    std::memcpy(out, buf, 4);
  }
  if (month >= 1 && month <= 99) {
    std::snprintf(buf, sizeof buf, "%02u", month);
    std::memcpy(out + 5, buf, 2);
  }
  if (day >= 1 && day <= 99) {
    std::snprintf(buf, sizeof buf, "%02u", day);
    std::memcpy(out + 8, buf, 2);
  }
}

void FormatTimeText(char* out, unsigned hours, unsigned minutes, unsigned seconds) {
  std::strcpy(out, "??:??:??");
  unsigned parts[3] = {hours, minutes, seconds};
  char buf[16];
  for (int i = 0; i < 3; ++i) {
    if (parts[i] >= 100) continue;
    std::snprintf(buf, sizeof buf, "%02u", parts[i]);
    std::memcpy(out + 3 * i, buf, 2);
  }
}

int PgnResultText(char* out, int result) {
  static const char* const texts[4] = {"*", "1-0", "0-1", "1/2-1/2"};
  std::strcpy(out, texts[result & 3]);
  return 0;
}

void SetMonthNames(const char* const names[12]) {
  for (int i = 0; i < 12; ++i) {
    std::strncpy(g_months[i], names[i], sizeof g_months[i] - 1);
    g_months[i][sizeof g_months[i] - 1] = 0;
  }
}

void SetErrorSink(ErrorSink sink) { g_errorSink = sink; }
void ShowModuleError(const char* message) {
  if (g_errorSink) g_errorSink(message);
}

void SetTraceSink(TraceSink sink) { g_sink = sink; }

void GdBaseDll(const char* format, ...) {
  if (!g_sink) return;
  char line[256] = "GdBaseDll: ";
  size_t used = std::strlen(line);
  va_list args;
  va_start(args, format);
  std::vsnprintf(line + used, sizeof line - used, format, args);
  va_end(args);
  g_sink(line);
}

}  // namespace gdbase
