// Named fonts: slots, lookups and the per-process table.
#include <gtest/gtest.h>

#include "facet.h"
#include "procdata.h"
#include "winutil.h"

namespace {

struct Fonts : ::testing::Test {
  void SetUp() override {
    ResetProcessDataTable();
    ASSERT_EQ(cguiFontInit(), 1);
  }
  void TearDown() override {
    cguiFontDestroy();
    ResetProcessDataTable();
  }
};

bool IsFont(HFONT f) { return f && GetObjectType(f) == OBJ_FONT; }

}  // namespace

TEST_F(Fonts, ATakenSlotAnswersZeroAndKeepsItsFont) {
  HFONT first = cguiRegisterFont(1, nullptr, "Arial", 10, 400, 0);
  ASSERT_TRUE(IsFont(first));
  EXPECT_EQ(cguiRegisterFont(1, nullptr, "Courier New", 12, 700, 0), nullptr);
  EXPECT_EQ(cguiGetFont(1), first);
  EXPECT_EQ(cguiRemoveFont(1), 0);
  EXPECT_FALSE(IsFont(first)) << "removing a slot deletes its font";
  EXPECT_EQ(cguiGetFont(1), nullptr);
  EXPECT_TRUE(IsFont(cguiRegisterFont(1, nullptr, "Courier New", 12, 700, 0)));
}

TEST_F(Fonts, AGivenHandleIsStoredAsGivenAndDeletedOnRemoval) {
  HFONT own = CreateFontA(-20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  EXPECT_EQ(cguiRegisterFont(3, own, "ignored face", 99, 100, 0), own);
  EXPECT_EQ(cguiGetFont(3), own);
  EXPECT_EQ(cguiFindFont(0, 99, 100, 0), 3) << "the recorded values are what lookups see";
  EXPECT_EQ(cguiRemoveFont(3), 0);
  EXPECT_FALSE(IsFont(own));
  EXPECT_EQ(cguiRemoveFont(3), -1) << "an empty slot";
}

TEST_F(Fonts, FindFontMatchesAllThreeValuesAndMinusOneMatchesNothing) {
  cguiRegisterFont(4, nullptr, "Arial", 10, 700, 0);
  cguiRegisterFont(2, nullptr, "Arial", 10, 700, 0);
  cguiRegisterFont(0, nullptr, "Arial", 12, 400, 0);
  struct Case {
    int points, weight, charset, slot;
  };
  const Case cases[] = {
      {10, 700, 0, 2}, {12, 400, 0, 0}, {10, 400, 0, -1}, {10, -1, 0, -1}, {-1, 700, 0, -1}, {10, 700, 2, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(cguiFindFont(12345, c.points, c.weight, c.charset), c.slot)
        << c.points << "/" << c.weight << "/" << c.charset;
}

TEST_F(Fonts, SlotsOutsideTheTableAreRefused) {
  for (int slot : {-1, 6, 7, 1000}) {
    EXPECT_EQ(cguiRegisterFont(slot, nullptr, "Arial", 10, 400, 0), nullptr) << slot;
    EXPECT_EQ(cguiGetFont(slot), nullptr) << slot;
    EXPECT_EQ(cguiRemoveFont(slot), -1) << slot;
  }
  for (int slot = 0; slot < kCguiFontSlots; ++slot)
    EXPECT_NE(cguiRegisterFont(slot, nullptr, "Arial", 8 + slot, 400, 0), nullptr) << slot;
}

TEST_F(Fonts, DestroyEmptiesEverySlotAndKeepsTheTable) {
  HFONT a = cguiRegisterFont(0, nullptr, "Arial", 10, 400, 0);
  HFONT b = cguiRegisterFont(5, nullptr, "Arial", 11, 400, 0);
  EXPECT_EQ(cguiFontDestroy(), 1);
  EXPECT_FALSE(IsFont(a));
  EXPECT_FALSE(IsFont(b));
  EXPECT_EQ(cguiGetFont(0), nullptr);
  EXPECT_NE(cguiRegisterFont(0, nullptr, "Arial", 10, 400, 0), nullptr) << "the table is still there";
}

TEST_F(Fonts, WithoutATableEveryCallFails) {
  cguiFontDestroy();
  ResetProcessDataTable();
  EXPECT_EQ(cguiRegisterFont(0, nullptr, "Arial", 10, 400, 0), nullptr);
  EXPECT_EQ(cguiGetFont(0), nullptr);
  EXPECT_EQ(cguiRemoveFont(0), -1);
  EXPECT_EQ(cguiFindFont(0, 10, 400, 0), 0);
  EXPECT_EQ(cguiFontDestroy(), 0);
  // A process that finds the table full of other processes gets no table.
  int dummy = 0;
  for (uint32_t pid = 1; pid <= 4; ++pid)
    StoreProcessData(GetCurrentProcessId() + pid, PD_FONT_TABLE, &dummy, 4);
  EXPECT_EQ(cguiFontInit(), 0);
  EXPECT_EQ(cguiGetFont(0), nullptr);
}

TEST_F(Fonts, PointSizesFollowTheScreenResolution) {
  HDC screen = GetDC(nullptr);
  int perInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  for (int points : {8, 9, 10, 12, 20}) {
    HFONT f = CreateFontForPoints("Arial", points, 700, 0);
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(f, sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -MulDiv(points, perInch, 72)) << points;
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(lf.lfPitchAndFamily & 3, VARIABLE_PITCH);
    DeleteObject(f);
  }
}
