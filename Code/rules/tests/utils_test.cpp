#include "utils.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

TEST(Guid, NilGuidsAreNeverEqual) {
  Guid a{}, b{};
  EXPECT_TRUE(GuidIsNil(&a));
  EXPECT_TRUE(GuidIsNil(nullptr));
  EXPECT_FALSE(GuidEqual(&a, &b));
  EXPECT_FALSE(GuidEqual(nullptr, nullptr));
  ASSERT_TRUE(CreateGuid(&a));
  EXPECT_FALSE(GuidIsNil(&a));
  b = a;
  EXPECT_TRUE(GuidEqual(&a, &b));
  b.bytes[15] ^= 1;
  EXPECT_FALSE(GuidEqual(&a, &b));
  EXPECT_FALSE(CreateGuid(nullptr));
}

TEST(Guid, UniqueAcrossTenThousandCalls) {
  std::set<std::string> seen;
  for (int i = 0; i < 10000; ++i) {
    Guid g;
    ASSERT_TRUE(CreateGuid(&g));
    seen.insert(std::string(reinterpret_cast<char*>(g.bytes), 16));
  }
  EXPECT_EQ(seen.size(), 10000u);
}

TEST(Text, FindTextNoCase) {
  const char* text = "The Knight FORKS the rooks";
  struct Case { const char* pattern; int offset; };
  const Case cases[] = {{"knight", 4}, {"forks THE", 11}, {"", 0}, {"queen", -1}, {"rooksx", -1}};
  for (const Case& c : cases) {
    const char* got = FindTextNoCase(text, c.pattern);
    EXPECT_EQ(got ? static_cast<int>(got - text) : -1, c.offset) << c.pattern;
  }
  EXPECT_EQ(FindTextNoCase("", ""), nullptr);
}

TEST(Text, CapitalizeSkipsMarkupCodes) {
  struct Case { const char* in; const char* out; };
  const Case cases[] = {
      {"{H:e4}the pawn", "{H:e4}The pawn"},
      {"{C}{R:{x}}white wins", "{C}{R:{x}}White wins"},
      {"already", "Already"},
      {"1. e4", "1. e4"},
      {"", ""},
  };
  for (const Case& c : cases) {
    char buf[64];
    std::strcpy(buf, c.in);
    EXPECT_STREQ(CapitalizeFirstLetter(buf), c.out);
  }
}

TEST(Text, BufferOperationsStayInsideTheirBuffers) {
  char buf[8] = "world";
  EXPECT_FALSE(PrependString(buf, sizeof buf, "hello "));
  EXPECT_STREQ(buf, "world");
  EXPECT_TRUE(PrependString(buf, sizeof buf, "a "));
  EXPECT_STREQ(buf, "a world");
  EXPECT_FALSE(AppendChar(buf, sizeof buf, '!'));
  char small[4] = "ab";
  EXPECT_TRUE(AppendChar(small, sizeof small, 'c'));
  EXPECT_STREQ(small, "abc");

  const char* src = "e2e4 e7e5";
  char out[8];
  CopyTextRange(out, src + 5, src + 8, 7);
  EXPECT_STREQ(out, "e7e5");
  CopyTextRange(out, src, src + 8, 4);
  EXPECT_STREQ(out, "e2e4");
  CopyTextRange(out, src + 3, src + 2, 7);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(ToUpperAscii('q'), 'Q');
  EXPECT_EQ(ToUpperAscii('\xe9'), '\xe9');
}

// A seeded source gives one fixed sequence in every build (the Windows
// builds run this test too), and two sources do not disturb each other.
TEST(Random, SeededSourceRepeatsItsSequence) {
  RandomSource a(12345), b(12345), other(1);
  const int expected[8] = {95, 27, 89, 83, 42, 8, 66, 14};
  for (int want : expected) {
    other.Below(100);
    EXPECT_EQ(a.Below(100), want);
    EXPECT_EQ(b.Below(100), want);
  }
  EXPECT_EQ(a.Below(0), 0);
  EXPECT_EQ(a.Below(-2), 0);
}

TEST(Random, BelowStaysInRange) {
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(RandomBelow(1), 0);
  EXPECT_EQ(RandomBelow(0), 0);
  EXPECT_EQ(RandomBelow(-3), 0);
  SeedRandom();
  bool seen[6] = {};
  for (int i = 0; i < 1000; ++i) {
    int r = RandomBelow(6);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 6);
    seen[r] = true;
  }
  for (bool s : seen) EXPECT_TRUE(s);
}

TEST(PollWork, CallsTheInstalledCallbackOnly) {
  EXPECT_EQ(PollWorkCallback(), 0);
  SetPollWorkCallback([] { return 7; });
  EXPECT_EQ(PollWorkCallback(), 7);
  SetPollWorkCallback(nullptr);
  EXPECT_EQ(PollWorkCallback(), 0);
}
