#include "msgtable_compiler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(MsgtableCompiler, LaysOutIndexChainsAndVariants) {
  const char* source =
      "# two messages, number 1 unused\n"
      "0 3 0 \"first\"\n"
      "0 3 1 \"second\"\n"
      "0 5 0 \"third\"\n"
      "2 0 0 \"a\"\n"
      "2 0 0 \"b\\n\"\n"
      "2 0 1\n";
  std::vector<uint8_t> cel, str;
  std::string error;
  ASSERT_TRUE(CompileMessageTable(source, &cel, &str, &error)) << error;
  ASSERT_EQ(cel.size(), 2u + 2 * 3 + 13 * 6);
  EXPECT_EQ(U16(cel, 0), 3);
  EXPECT_EQ(U16(cel, 2), 0);
  EXPECT_EQ(U16(cel, 4), 65535);
  EXPECT_EQ(U16(cel, 6), 3);
  auto rec = [&](int i) { return 8 + 13 * i; };
  // Record 0: (3,0); selector-1 link to the (5,0) group, selector-2 link to (3,1).
  EXPECT_EQ(cel[rec(0)], 3);
  EXPECT_EQ(U16(cel, rec(0) + 9), 2);
  EXPECT_EQ(U16(cel, rec(0) + 11), 1);
  EXPECT_EQ(U16(cel, rec(1) + 11), 65535);
  EXPECT_EQ(U16(cel, rec(2) + 9), 65535);
  // Record 3 has two wordings, the second in record 4.
  EXPECT_EQ(cel[rec(3) + 2], 2);
  EXPECT_EQ(U16(cel, rec(3) + 7), 4);
  EXPECT_EQ(U16(cel, rec(3) + 11), 5);
  EXPECT_EQ(U32(cel, rec(5) + 3), 65535u);
  EXPECT_STREQ(reinterpret_cast<const char*>(str.data() + U32(cel, rec(4) + 3)), "b\n");
}

TEST(MsgtableCompiler, NoTextLandsAtOffset65535) {
  std::string source;
  // A first text of 31 bytes, then texts of 32 bytes: text 2047 would start
  // at 65,535.
  for (int n = 0; n < 2100; ++n) {
    char text[48];
    std::snprintf(text, sizeof text, n == 0 ? "%d 0 0 \"%030d\"\n" : "%d 0 0 \"%031d\"\n", n, n);
    source += text;
  }
  std::vector<uint8_t> cel, str;
  ASSERT_TRUE(CompileMessageTable(source, &cel, &str, nullptr));
  for (int n = 0; n < 2100; ++n) {
    uint32_t offset = U32(cel, 2 + 2 * 2100 + 13 * U16(cel, 2 + 2 * n) + 3);
    EXPECT_NE(offset, 65535u);
    EXPECT_EQ(std::atoi(reinterpret_cast<const char*>(str.data() + offset)), n);
  }
}

TEST(MsgtableCompiler, RefusesBadSourceWithLineNumber) {
  const struct {
    const char* source;
    const char* error;
  } cases[] = {
      {"0 0\n", "line 1: expected"},
      {"\n65535 0 0 \"x\"\n", "line 2: message number"},
      {"1 256 0 \"x\"\n", "line 1: selector"},
      {"1 0 0 \"open\n", "line 1: text without closing quote"},
      {"1 0 0 \"x\" y\n", "line 1: characters after"},
      {"1 0 0 \"\\q\"\n", "line 1: unknown escape"},
      {"1 0 0 \"\\x00\"\n", "line 1: bad \\x escape"},
      {"\"lonely\"\n", "line 1: expected"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> cel, str;
    std::string error;
    EXPECT_FALSE(CompileMessageTable(c.source, &cel, &str, &error)) << c.source;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.source << " gave " << error;
  }
}

}  // namespace
