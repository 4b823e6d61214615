// Date-time text: reading, adding across months, years and leap days, and
// the clock-setting descriptions.
#include "date_time.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell_strings.h"

namespace {

TEST(DateTimeText, AddingRollsMinutesIntoDaysMonthsAndYears) {
  struct Case {
    const char* text;
    int minutes, hours, days;
    const char* result;
  } cases[] = {
      // Half a minute before midnight of 31 December 1999: the year gains a digit.
      {"12/31/99 23:59:30", 1, 0, 0, "01/01/100 00:00:30"},
      {"02/28/100 10:00:00", 0, 0, 1, "02/29/100 10:00:00"},  // 2000 is a leap year
      {"02/28/101 10:00:00", 0, 0, 1, "03/01/101 10:00:00"},  // 2001 is not
      {"02/28/200 10:00:00", 0, 0, 1, "03/01/200 10:00:00"},  // nor is 2100
      {"02/29/100 23:30:05", 45, 0, 0, "03/01/100 00:15:05"},
      {"01/31/101 12:00:00", 0, 12, 0, "02/01/101 00:00:00"},
      {"04/30/101 00:00:00", 0, 0, 1, "05/01/101 00:00:00"},
      {"11/30/101 06:07:08", 0, 0, 31, "12/31/101 06:07:08"},
      {"01/01/100 00:00:00", 0, 0, 366, "01/01/101 00:00:00"},
      {"01/01/100 00:00:00", 0, 0, 146097, "01/01/500 00:00:00"},  // 400 Gregorian years
      {"03/05/96 01:02:03", 0, 0, 0, "03/05/196 01:02:03"},        // rewritten in the standard form
      {"03/05/101 01:02:03", -5, 0, 0, "03/05/101 01:02:03"},      // nothing to add
      {"03/05/101 01:02:03", 61, 25, 1, "03/07/101 03:03:03"},
      {"1/2/101", 0, 0, 1, "01/03/101 00:00:00"},  // a date alone: time 0
  };
  for (const Case& c : cases) {
    char text[32];
    std::strcpy(text, c.text);
    EXPECT_EQ(AddToDateTimeText(text, sizeof text, c.minutes, c.hours, c.days), 0) << c.text;
    EXPECT_STREQ(text, c.result) << c.text << " + " << c.minutes << "m " << c.hours << "h " << c.days << "d";
  }
}

TEST(DateTimeText, AddingNeverWritesPastTheBuffer) {
  // The 17 characters of "12/31/99 23:59:30" become 18: a buffer that holds
  // only the old text keeps it.
  char exact[18] = "12/31/99 23:59:30";
  EXPECT_EQ(AddToDateTimeText(exact, sizeof exact, 1, 0, 0), -1);
  EXPECT_STREQ(exact, "12/31/99 23:59:30");
  char room[19] = "12/31/99 23:59:30";
  EXPECT_EQ(AddToDateTimeText(room, sizeof room, 1, 0, 0), 0);
  EXPECT_STREQ(room, "01/01/100 00:00:30");
  // The largest sums stay quick and inside the buffer.
  char far[40] = "01/01/100 00:00:00";
  EXPECT_EQ(AddToDateTimeText(far, sizeof far, 2147483647, 2147483647, 2147483647), 0);
  EXPECT_LT(std::strlen(far), sizeof far);
  EXPECT_EQ(AddToDateTimeText(nullptr, 10, 1, 0, 0), -1);
  // No date to add to: left as it is.
  for (const char* bad : {"", "13/01/101 00:00:00", "00/01/101 00:00:00", "01/00/101", "01/01/101 24:00:00",
                          "01/01/101 10:60:00", "garbage"}) {
    char text[40];
    std::strcpy(text, bad);
    EXPECT_EQ(AddToDateTimeText(text, sizeof text, 1, 0, 0), -1) << bad;
    EXPECT_STREQ(text, bad);
  }
}

TEST(DateTimeText, Reading) {
  struct Case {
    const char* text;
    int month, day, year, hour, minute, second;
  } cases[] = {
      {"12/31/99 23:59:30", 11, 31, 99, 23, 59, 30},
      {"01/02/96 03:04:05", 0, 2, 196, 3, 4, 5},  // below 97: 100 more
      {"01/02/97 03:04:05", 0, 2, 97, 3, 4, 5},
      {"01/02/100 03:04:05.75", 0, 2, 100, 3, 4, 5},
      {"07/04/101", 6, 4, 101, 0, 0, 0},  // a date and no time
      {"07/04", 6, 4, 0, 0, 0, 0},        // the reading ends with the day
      {"", -1, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    std::tm f{};
    f.tm_wday = 99;
    ASSERT_EQ(ParseDateTimeText(c.text, &f), 0);
    EXPECT_EQ(f.tm_mon, c.month) << c.text;
    EXPECT_EQ(f.tm_mday, c.day) << c.text;
    EXPECT_EQ(f.tm_year, c.year) << c.text;
    EXPECT_EQ(f.tm_hour, c.hour) << c.text;
    EXPECT_EQ(f.tm_min, c.minute) << c.text;
    EXPECT_EQ(f.tm_sec, c.second) << c.text;
    EXPECT_EQ(f.tm_wday, 0) << "fields are cleared first";
  }
  // Only the first 50 characters are read.
  std::string longText(48, ' ');
  longText += "1/2/101";
  std::tm f{};
  ASSERT_EQ(ParseDateTimeText(longText.c_str(), &f), 0);
  EXPECT_EQ(f.tm_mon, 0);
  EXPECT_EQ(f.tm_mday, 0) << "the day lies past the limit";
  EXPECT_EQ(ParseDateTimeText(nullptr, &f), -1);
  EXPECT_EQ(ParseDateTimeText("1/1/1", nullptr), -1);
}

TEST(DateTimeText, SecondsBetweenAndNow) {
  EXPECT_EQ(SecondsBetween("03/10/101 10:00:00", "03/10/101 10:01:30"), 90);
  EXPECT_EQ(SecondsBetween("03/10/101 10:01:30", "03/10/101 10:00:00"), -90);
  EXPECT_EQ(SecondsBetween("12/31/99 12:00:00", "01/01/00 12:00:00"), 86400) << "00 is 2000";
  // The current time reads back as itself.
  const std::string now = FormatNowShort();
  EXPECT_LE(SecondsBetween(now.c_str(), FormatNowShort()), 1);
  std::tm f{};
  ParseDateTimeText(now.c_str(), &f);
  EXPECT_GE(f.tm_year, 100);
  EXPECT_GT(std::strlen(FormatCurrentDateTime()), 3u);
}

TEST(DateTimeText, LeapYears) {
  EXPECT_TRUE(IsLeapYear(100));   // 2000
  EXPECT_FALSE(IsLeapYear(0));    // 1900
  EXPECT_FALSE(IsLeapYear(101));  // 2001
  EXPECT_TRUE(IsLeapYear(104));   // 2004
  EXPECT_FALSE(IsLeapYear(200));  // 2100
  EXPECT_TRUE(IsLeapYear(500));   // 2400
}

TEST(ClockText, EveryKind) {
  struct Case {
    ClockSetting clock;
    const char* text;
  } cases[] = {
      {{0, 120 * 60000, 40}, "40 Moves in 120 Minutes"},
      {{1, 90 * 60000, 20}, "20 Moves in 90 Minutes"},
      {{3, 5 * 60000, 0}, "5 Minutes per Game"},
      {{4, 25 * 60000, 7}, "25 Minutes per Game"},
      {{5, 5 * 60000, 2000}, "Fischer 5/2"},
      {{6, 90000, 0}, "90 Hourglass Seconds"},
      {{2, 5 * 60000, 40}, ""},  // no clock
      {{7, 5 * 60000, 40}, ""},  // the player record's default kind
      {{-1, 5 * 60000, 40}, ""},
      {{0, 120 * 60000, 0}, ""},  // moves needed
      {{0, 59999, 40}, ""},       // under a minute: 0 minutes
      {{5, 5 * 60000, 999}, ""},  // increment under a second
      {{6, 999, 0}, ""},
  };
  for (const Case& c : cases) {
    char buffer[64] = "stale";
    EXPECT_EQ(FormatTimeControl(&c.clock, buffer, sizeof buffer), buffer);
    EXPECT_STREQ(buffer, c.text) << "kind " << c.clock.kind;
  }
  char buffer[8] = "stale";
  const ClockSetting fischer{5, 5 * 60000, 2000};
  FormatTimeControl(nullptr, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "");
  FormatTimeControl(&fischer, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "Fischer") << "cut to the buffer";
}

TEST(ClockText, TakesTheProgramsStrings) {
  SetShellStringLoader([](int id) -> const char* { return id == 147 ? "Bronstein %d+%d" : nullptr; });
  const ClockSetting fischer{5, 3 * 60000, 1000};
  const ClockSetting game{3, 3 * 60000, 0};
  char buffer[64];
  EXPECT_STREQ(FormatTimeControl(&fischer, buffer, sizeof buffer), "Bronstein 3+1");
  EXPECT_STREQ(FormatTimeControl(&game, buffer, sizeof buffer), "3 Minutes per Game") << "built-in text";
  SetShellStringLoader(nullptr);
  EXPECT_STREQ(FormatTimeControl(&fischer, buffer, sizeof buffer), "Fischer 3/1");
}

}  // namespace
