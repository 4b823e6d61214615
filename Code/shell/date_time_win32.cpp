// The system's date and time texts, Windows builds: the user's short date
// form and time form.
#include <windows.h>

#include <cstdio>

#include "date_time.h"

const char* FormatCurrentDateTime() {
  static char text[2 * kDateTimeTextSize];
  char date[kDateTimeTextSize] = "", time[kDateTimeTextSize] = "";
  if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date))
    date[0] = '\0';
  if (!GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof time)) time[0] = '\0';
  std::snprintf(text, sizeof text, "%s %s", date, time);
  return text;
}
