// The system's date and time texts, native builds: the C library's locale
// forms.
#include <ctime>

#include "date_time.h"

const char* FormatCurrentDateTime() {
  static char text[2 * kDateTimeTextSize];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (const std::tm* t = std::localtime(&now)) local = *t;
  if (std::strftime(text, sizeof text, "%x %X", &local) == 0) text[0] = '\0';
  return text;
}
