// The player and gradient readers against what scanf makes of the same
// texts.
#include <gtest/gtest.h>

#include "settings_scan.h"

namespace {

TEST(SettingsScan, PlayerValues) {
  struct Case {
    const char* text;
    int count;
    int32_t values[4];
  } cases[] = {
      {"0 0 0 7", 4, {0, 0, 0, 7}},
      {"1 600000 12 3", 4, {1, 600000, 12, 3}},
      {"  1\t2\r\n3 4 5", 4, {1, 2, 3, 4}},
      {"1 2 3", 3, {1, 2, 3, 0}},
      {"-1 +2 -0 4", 4, {-1, 2, 0, 4}},
      {"1,2,3,4", 1, {1, 0, 0, 0}},
      {"", 0, {0, 0, 0, 0}},
      {"x 1 2 3 4", 0, {0, 0, 0, 0}},
      {"- 1 2 3", 0, {0, 0, 0, 0}},
      {"12abc 3", 1, {12, 0, 0, 0}},
      {"4294967297 1 1 1", 4, {1, 1, 1, 1}},  // wraps in 32 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int32_t v[4] = {0, 0, 0, 0};
    EXPECT_EQ(ScanPlayerValues(c.text, v), c.count);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(v[i], c.values[i]) << i;
  }
  int32_t v[4];
  EXPECT_EQ(ScanPlayerValues(nullptr, v), 0);
}

TEST(SettingsScan, Gradient) {
  struct Case {
    const char* text;
    int count;
    uint32_t colours[2];
  } cases[] = {
      {"ffffff 0", 2, {0xffffff, 0}},
      {"0xFF00 0X1", 2, {0xff00, 1}},
      {"  abc\tDEF", 2, {0xabc, 0xdef}},
      {"0x", 1, {0, 0}},
      {"g 1", 0, {0, 0}},
      {"ff", 1, {0xff, 0}},
      {"-1 1", 2, {0xffffffff, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    uint32_t g[2] = {0, 0};
    EXPECT_EQ(ScanGradient(c.text, g), c.count);
    EXPECT_EQ(g[0], c.colours[0]);
    EXPECT_EQ(g[1], c.colours[1]);
  }
}

TEST(SettingsScan, FormatsReadBack) {
  int32_t v[4] = {-5, 2147483647, 0, 7}, back[4];
  char text[64];
  FormatPlayerValues(v, text, sizeof text);
  EXPECT_STREQ(text, "-5 2147483647 0 7");
  ASSERT_EQ(ScanPlayerValues(text, back), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(back[i], v[i]);
  uint32_t g[2] = {0xffffffff, 0x80}, gb[2];
  FormatGradient(g, text, sizeof text);
  EXPECT_STREQ(text, "ffffffff 80");
  ASSERT_EQ(ScanGradient(text, gb), 2);
  EXPECT_EQ(gb[0], g[0]);
  EXPECT_EQ(gb[1], g[1]);
}

}  // namespace
