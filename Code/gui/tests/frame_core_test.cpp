// The painted frame's geometry, the status bar's parts and the text
// renderer's matrices.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ctt_lines.h"
#include "ctt_matrix.h"
#include "frame_layout.h"
#include "frame_status.h"

namespace {

const FrameMetrics kMetrics = {6, 20, 5, 5, 8, 30, 8, 30, 8, 20, 8, 20, 22, 16, 14};

int MenuHeight(void*, const int32_t*) { return 18; }

struct Laid {
  CwFrameRegion r[FR_COUNT]{};
  Laid(uint32_t style, int kind) {
    for (int i = 0; i < FR_COUNT; ++i) r[i].hit = i;
    LayoutFrame(r, FrameFlagsFromStyle(style) | FF_MENUBAR, kind, kMetrics, 300, 200, 16, 16, MenuHeight,
                nullptr);
  }
};

}  // namespace

TEST(FrameLayout, FlagsFromStyle) {
  const struct {
    uint32_t style, flags;
  } cases[] = {
      {0x00C00000, FF_CAPTION | FF_BORDER | FF_DLGFRAME},
      {0x00080000, FF_SYSMENU | FF_CLOSE | FF_CAPTION},
      {0x00010000, FF_MAXIMIZE | FF_CAPTION},
      {0x00040021, FF_THICKFRAME | FF_TOGGLE | FF_PARAMS},
      {0x00300100, FF_HSCROLL | FF_VSCROLL | FF_CLOSE},
  };
  for (const auto& c : cases) EXPECT_EQ(FrameFlagsFromStyle(c.style), c.flags) << std::hex << c.style;
}

TEST(FrameLayout, RegionsAndClient) {
  Laid f(0x00CF0000, 3);  // caption, sizable, system menu, minimize, maximize
  const int32_t* cap = f.r[FR_CAPTION].rect;
  EXPECT_EQ(cap[0], 8);  // corners as high as edge + caption
  EXPECT_EQ(cap[2], 292);
  EXPECT_EQ(cap[1], 6);
  EXPECT_EQ(cap[3], 28);
  EXPECT_EQ(f.r[FR_CLOSE].rect[2], 292);
  EXPECT_EQ(f.r[FR_CLOSE].rect[1], 8);
  EXPECT_EQ(f.r[FR_MAXIMIZE].rect[2], 276);
  EXPECT_EQ(f.r[FR_MINIMIZE].rect[2], 260);
  EXPECT_EQ(f.r[FR_SYSMENU].rect[0], 8);
  const int32_t client[4] = {5, 28 + 18, 295, 180};
  EXPECT_EQ(std::memcmp(f.r[FR_CLIENT].rect, client, sizeof client), 0);
  EXPECT_EQ(f.r[FR_MENU].rect[1], 28);
  EXPECT_EQ(f.r[FR_BOTTOM].rect[1], 180);
}

TEST(FrameLayout, HitTestingOfDialogAndSizableFrames) {
  Laid sizable(0x00CF0000, 3);
  Laid dialog(0x00C80000, 2);
  const struct {
    int x, y, sizable, dialog;
  } cases[] = {
      {150, 100, 1, 1},   {290, 10, 20, 20}, {270, 10, 9, 2},    {254, 10, 8, 2},
      {10, 10, 3, 3},     {150, 15, 2, 2},   {150, 35, 5, 5},    {2, 100, 10, 18},
      {297, 100, 11, 18}, {150, 2, 12, 18},  {2, 2, 13, 18},     {297, 2, 14, 18},
      {150, 190, 15, 18}, {2, 195, 16, 18},  {297, 195, 17, 18}, {400, 10, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HitTestFrame(sizable.r, c.x, c.y), c.sizable) << c.x << "," << c.y;
    EXPECT_EQ(HitTestFrame(dialog.r, c.x, c.y), c.dialog) << c.x << "," << c.y;
  }
  int w, h;
  MinTrackSize(sizable.r, &w, &h);
  EXPECT_EQ(w, 16 * 4 + 5 + 5 + 1);
  EXPECT_EQ(h, 6 + 22 + 18 + 20 + 1);
}

TEST(StatusBar, TextPartsAndSpecialPartNumbers) {
  CwStatusBar* bar = StatusBarCreate();
  bar->rect[0] = 4;
  bar->rect[1] = 180;
  bar->rect[2] = 296;
  bar->rect[3] = 196;
  StatusRepaint rp;
  int part;
  auto msg = [&](uint32_t m, uintptr_t w, intptr_t l) {
    return StatusBarMessage(bar, m, w, l, 6, &rp, &part);
  };
  const int32_t rights[3] = {100, 150, -1};
  EXPECT_EQ(msg(0x8507, 3, intptr_t(rights)), 1);
  EXPECT_EQ(bar->parts[1]->left, 100 + 6 + 3);  // separator width + 3
  EXPECT_EQ(bar->parts[2]->left, 150 + 9);
  int32_t r[4];
  ASSERT_EQ(msg(0x40A, 2, intptr_t(r)), 1);
  EXPECT_EQ(r[2], 296 - 10);
  EXPECT_EQ(msg(0x8504, 255, intptr_t("zero")), 1);
  EXPECT_EQ(msg(0x401, 2, intptr_t("two")), 1);
  char buffer[128];
  EXPECT_EQ(msg(0x402, 0, intptr_t(buffer)), 1);
  EXPECT_STREQ(buffer, "zero");
  EXPECT_EQ(msg(0x403, 2, 0), 3);
  EXPECT_EQ(msg(0x8504, 0, 0), 1);  // null leaves part 0
  EXPECT_EQ(msg(0x8506, 0, 0), 4);
  EXPECT_EQ(msg(0x8504, 2, 0), 1);  // null empties part 2
  EXPECT_EQ(msg(0x8506, 2, 0), 0);
  EXPECT_EQ(msg(0x8504, 256, 0), 0);
  EXPECT_EQ(msg(0x8506, 0, 0), 0);
  int32_t edges[10];
  EXPECT_EQ(msg(0x406, 10, intptr_t(edges)), 3);
  EXPECT_EQ(edges[0], 100);
  StatusBarDestroy(bar);
}

TEST(StatusBar, BadPartNumbersAndProgress) {
  CwStatusBar* bar = StatusBarCreate();
  StatusRepaint rp;
  int part;
  auto msg = [&](uint32_t m, uintptr_t w, intptr_t l) {
    return StatusBarMessage(bar, m, w, l, 0, &rp, &part);
  };
  const int32_t rights[10] = {10, 20, 30, 40, 50, 60, 70, 80, 90, -1};
  for (uintptr_t p : {3u, 10u, 11u, 1000u}) {
    EXPECT_EQ(msg(0x8504, p, intptr_t("x")), 0) << p;
    EXPECT_EQ(msg(0x8509, p, 2), 0) << p;  // parts never made, and part 10 of a 10-slot bar
    EXPECT_EQ(msg(0x8511, p, 1), 0) << p;
  }
  EXPECT_EQ(msg(0x8507, 11, intptr_t(rights)), 0);
  EXPECT_EQ(msg(0x8507, 0, intptr_t(rights)), 0);
  EXPECT_EQ(msg(0x8507, 10, intptr_t(rights)), 1);
  EXPECT_EQ(bar->parts[1]->left, 13);  // no separator bitmap: width 0
  EXPECT_EQ(msg(0x8509, 10, 2), 0);
  EXPECT_EQ(msg(0x8509, 1, 0), 0);
  EXPECT_EQ(msg(0x8509, 1, 2), 1);
  EXPECT_EQ(msg(0x8510, 1, (200 << 16) | 50), (100 << 16) | 0);
  EXPECT_EQ(bar->parts[1]->progress.minimum, 50);
  EXPECT_EQ(bar->parts[1]->progress.maximum, 200);
  EXPECT_EQ(msg(0x8511, 1, 201), -1);
  EXPECT_EQ(msg(0x8511, 1, 120), 0);
  EXPECT_EQ(rp, SR_PART);
  EXPECT_EQ(msg(0x8511, 1, 60), 120);
  EXPECT_EQ(msg(0x8511, 2, 60), 0);  // a text part
  StatusBarDestroy(bar);
}

TEST(CttMatrix, PlainAndRotationMatrices) {
  CttMat2 m;
  CttSetRotationMat(&m, 90);
  EXPECT_EQ(CttFixedValue(m.eM11), 0);
  EXPECT_EQ(CttFixedValue(m.eM12), 65535);
  EXPECT_EQ(CttFixedValue(m.eM21), 65535);
  CttSetRotationMat(&m, 0);
  EXPECT_EQ(CttFixedValue(m.eM11), 65536);
  EXPECT_EQ(CttFixedValue(m.eM22), -65536);
  CttSetMat(&m, 0, 3.0, 0.5, 0.25);
  EXPECT_EQ(CttFixedValue(m.eM11), 65536);
  EXPECT_EQ(CttFixedValue(m.eM22), -65536);
  EXPECT_EQ(CttFixedValue(m.eM21), 32768);
  EXPECT_EQ(CttFixedValue(m.eM12), 16384);
}

TEST(CttLines, ParagraphBreaking) {
  const struct {
    const char* text;
    int lineWidth;
    std::vector<std::string> lines;
  } cases[] = {
      {"abc def ghi", 5, {"abc", "def", "ghi"}},
      {"abcdefgh", 4, {"ab", "cd", "ef", "gh"}},  // a word wider than the line is split
      {"a\tb\nc", 3, {"a", "b", "c"}},
      {"x", 1, {"x"}},  // at least one character per line
      {"ab cd", 100, {"ab cd"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BreakParagraph(
                  c.text, [](unsigned char) { return 1; }, c.lineWidth),
              c.lines)
        << c.text;
}
