// Spin edit arithmetic: the creation text, scroll actions and typed text.
#include "spin_value.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

struct Fields {
  int32_t minimum, maximum, value, step;
};

Fields Parse(const char* text) {
  SpinValues v = speParseCreationText(text);
  EXPECT_EQ(v.firstMinimum, v.minimum) << text;
  EXPECT_EQ(v.firstMaximum, v.maximum) << text;
  return Fields{v.minimum, v.maximum, v.value, v.step};
}

SpinValues Values(int32_t minimum, int32_t maximum, int32_t value, int32_t step) {
  return SpinValues{minimum, value, maximum, minimum, maximum, step};
}

}  // namespace

TEST(SpinValue, CreationTextIsMinimumMaximumValueStep) {
  struct Case {
    const char* text;
    Fields want;
  };
  const Case cases[] = {
      {"0:255:1:5", {0, 255, 1, 5}},
      {"1:999:10:1", {1, 999, 10, 1}},
      {"1:3600:1:5", {1, 3600, 1, 5}},
      {"", {0, 100, 0, 1}},               // empty: 0 to 100
      {"7:7:3:2", {0, 100, 0, 2}},        // equal bounds: 0 to 100, value 0, step kept
      {"a:b", {0, 100, 0, 1}},            // no numbers
      {"5 , 10:7", {5, 10, 7, 1}},        // any run of separators; no step: 1
      {"::0::10,,3", {0, 10, 3, 1}},      // leading and repeated separators
      {"1:3600:1:0", {1, 3600, 1, 1}},    // step 0 becomes 1
      {"0:255:300:1", {0, 255, 300, 1}},  // the value is not clamped at creation
      {"-50:50:-7:5", {-50, 50, -7, 5}},  // negative numbers
      {"0:10:5:1:99", {0, 10, 5, 1}},     // a fifth field is ignored
      {"3x:12y:4z:2", {3, 12, 4, 2}},     // trailing characters of a field are ignored
      {"100:0:50:1", {0, 100, 50, 1}},    // bounds the wrong way round are swapped
      {"0:10:5:-3", {0, 10, 5, 3}},       // a negative step counts by its size
      {"99999999999:-99999999999:0:1", {INT_MIN, INT_MAX, 0, 1}},  // saturated, not overflowed
      {"0:10:0:-2147483648", {0, 10, 0, INT_MAX}},
  };
  for (const Case& c : cases) {
    Fields got = Parse(c.text);
    EXPECT_EQ(got.minimum, c.want.minimum) << c.text;
    EXPECT_EQ(got.maximum, c.want.maximum) << c.text;
    EXPECT_EQ(got.value, c.want.value) << c.text;
    EXPECT_EQ(got.step, c.want.step) << c.text;
  }
  Fields none = Parse(nullptr);
  EXPECT_EQ(none.maximum, 100);
}

TEST(SpinValue, LinesFromOneStepByFiveAndStopAtTheEnds) {
  SpinValues v = speParseCreationText("0:255:1:5");
  std::vector<int32_t> seen{v.value};
  for (int i = 0; i < 60; ++i) {
    ASSERT_TRUE(speScroll(v, kSpinLineUp, &v.value));
    seen.push_back(v.value);
  }
  for (int i = 0; i <= 50; ++i) EXPECT_EQ(seen[i], 1 + 5 * i);
  EXPECT_EQ(seen[51], 255);  // 251 + 5 stops at the maximum
  EXPECT_EQ(seen[60], 255);
  // And down again: 250, 245, ... 5, 0, and no further.
  for (int i = 0; i < 51; ++i) ASSERT_TRUE(speScroll(v, kSpinLineDown, &v.value));
  EXPECT_EQ(v.value, 0);
  ASSERT_TRUE(speScroll(v, kSpinLineDown, &v.value));
  EXPECT_EQ(v.value, 0);
}

TEST(SpinValue, PageTopAndBottom) {
  struct Case {
    SpinValues v;
    int code;
    bool acts;
    int32_t want;
  };
  const Case cases[] = {
      {Values(0, 255, 100, 1), kSpinPageUp, true, 110},
      {Values(0, 255, 234, 1), kSpinPageUp, true, 244},
      {Values(0, 255, 235, 1), kSpinPageUp, true, 255},  // 245 is not below 255 - 10
      {Values(0, 255, 100, 5), kSpinPageUp, true, 150},  // ten steps
      {Values(0, 255, 100, 1), kSpinPageDown, true, 90},
      {Values(0, 255, 11, 1), kSpinPageDown, true, 1},
      {Values(0, 255, 10, 1), kSpinPageDown, true, 0},
      {Values(0, 255, 100, 5), kSpinPageDown, true, 50},
      {Values(0, 255, 100, 5), kSpinTop, true, 0},
      {Values(0, 255, 0, 5), kSpinTop, false, 0},  // already there: nothing
      {Values(0, 255, 100, 5), kSpinBottom, true, 255},
      {Values(0, 255, 255, 5), kSpinBottom, false, 0},
      {Values(0, 255, 300, 1), kSpinLineDown, true, 255},  // a value left out of range comes back in
      {Values(0, 255, 100, 1), 4, false, 0},               // thumb codes are not the spin edit's
      {Values(0, 255, 100, 1), 8, false, 0},
  };
  for (const Case& c : cases) {
    int32_t got = 0;
    EXPECT_EQ(speScroll(c.v, c.code, &got), c.acts) << c.v.value << " code " << c.code;
    if (c.acts) {
      EXPECT_EQ(got, c.want) << c.v.value << " code " << c.code;
    }
  }
}

TEST(SpinValue, ExtremeRangesAndStepsDoNotOverflow) {
  const SpinValues wide = Values(INT_MIN, INT_MAX, INT_MAX - 1, INT_MAX);
  int32_t got = 0;
  ASSERT_TRUE(speScroll(wide, kSpinLineUp, &got));
  EXPECT_EQ(got, INT_MAX);
  ASSERT_TRUE(speScroll(wide, kSpinPageUp, &got));
  EXPECT_EQ(got, INT_MAX);
  const SpinValues low = Values(INT_MIN, INT_MAX, INT_MIN + 1, INT_MAX);
  ASSERT_TRUE(speScroll(low, kSpinLineDown, &got));
  EXPECT_EQ(got, INT_MIN);
  ASSERT_TRUE(speScroll(low, kSpinPageDown, &got));
  EXPECT_EQ(got, INT_MIN);
  const SpinValues zeroStep = Values(0, 10, 5, 0);  // a record filled by hand
  ASSERT_TRUE(speScroll(zeroStep, kSpinLineUp, &got));
  EXPECT_EQ(got, 6);
  EXPECT_EQ(speClamp(Values(-5, 5, 0, 1), int64_t(INT_MAX) * 4), 5);
  EXPECT_EQ(speClamp(Values(-5, 5, 0, 1), -int64_t(INT_MAX) * 4), -5);
}

TEST(SpinValue, SetRangeOrdersBoundsAndResetsTheStep) {
  SpinValues v = speParseCreationText("0:255:1:5");
  speSetRange(&v, 40, -10);
  EXPECT_EQ(v.minimum, -10);
  EXPECT_EQ(v.maximum, 40);
  EXPECT_EQ(v.firstMinimum, -10);
  EXPECT_EQ(v.firstMaximum, 40);
  EXPECT_EQ(v.step, 1);
  EXPECT_EQ(v.value, 1);  // the caller decides about the value
}

TEST(SpinValue, TypedText) {
  struct Case {
    const char* text;
    int32_t want;
    bool empty;
  };
  const Case cases[] = {
      {"100", 100, false},
      {"", 0, true},
      {"-12", -12, false},
      {"12.7", 12, false},
      {"-", 0, false},
      {"abc", 0, false},
      {"7a9", 7, false},
      {"1234567890", 123456789, false},  // only the first nine characters
      {"-99999999", -99999999, false},
      {"000042", 42, false},
  };
  for (const Case& c : cases) {
    bool empty = !c.empty;
    EXPECT_EQ(speReadText(c.text, &empty), c.want) << c.text;
    EXPECT_EQ(empty, c.empty) << c.text;
  }
  EXPECT_EQ(speReadText(nullptr, nullptr), 0);
}

TEST(SpinValue, TypedStartsThatMoreDigitsCanStillBringIntoRange) {
  struct Case {
    SpinValues v;
    const char* text;
    bool reach;
  };
  const Case cases[] = {
      {Values(10, 255, 50, 1), "2", true},      // on the way to 20..29 or 200..255
      {Values(10, 255, 50, 1), "0", true},      // "05" reads 5, "010" reads 10
      {Values(10, 255, 50, 1), "3", true},      // 30..39
      {Values(100, 120, 100, 1), "2", false},   // 20..29, 200..299, ... never 100..120
      {Values(100, 120, 100, 1), "1", true},    // 100..120 by two more
      {Values(0, 255, 0, 1), "300", false},     // above: more digits only make it larger
      {Values(-50, -10, -20, 1), "-", true},    // a sign alone
      {Values(-50, -10, -20, 1), "-5", true},   // -50..-59 meets -50
      {Values(-50, -10, -20, 1), "-6", false},  // -60..-69, -600.. never
      {Values(-50, -10, -20, 1), "5", false},   // positive never becomes negative
      {Values(10, 255, 50, 1), "5.", false},    // digits after a point are ignored
      {Values(10, 255, 50, 1), "5a", false},
      {Values(100000000, INT_MAX, 100000000, 1), "12345678", true},    // one more digit: 9 characters
      {Values(200000000, INT_MAX, 200000000, 1), "123456789", false},  // the field reads 9 at most
  };
  for (const Case& c : cases) EXPECT_EQ(speCouldReach(c.v, c.text), c.reach) << c.text;
}

TEST(SpinValue, TextInsetCentresTheLine) {
  EXPECT_EQ(speTextInset(20, 13), 4);  // half of 7, rounded up
  EXPECT_EQ(speTextInset(20, 14), 3);
  EXPECT_EQ(speTextInset(16, 16), 0);
  EXPECT_EQ(speTextInset(10, 16), 0);  // a field lower than its font
}
