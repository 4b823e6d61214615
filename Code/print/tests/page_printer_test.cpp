// The markup reader and page printer over the fixed-width fake: margins of
// one inch give the printable rectangle (100, 100)-(750, 1000); a line is 20
// pixels, 22 with the leading.
#include <gtest/gtest.h>

#include <string>

#include "fake_surface.h"
#include "markup_reader.h"
#include "page_printer.h"
#include "print_layout.h"

namespace {

struct Printed {
  PrintJob job;
  FakeSurface surface{&job};
  int pages = 0;

  explicit Printed(const std::string& markup, bool jade = false) {
    if (jade) surface.faces.insert("RookwellJade");
    job.SetMarkup(markup.c_str(), true);
    pages = PrintAllMarkupPages(job, surface);
  }
  const PlacedBlock& Find(const std::string& text) const {
    for (const PlacedBlock& b : surface.placed) {
      if (b.text == text) return b;
    }
    ADD_FAILURE() << "no block " << text;
    return surface.placed.front();
  }
  std::string AllText() const {
    std::string all;
    for (const PlacedBlock& b : surface.placed) all += (all.empty() ? "" : " ") + b.text;
    return all;
  }
};

// n lines of 60 characters each, one paragraph per line.
std::string FillerLines(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += std::string(60, static_cast<char>('a' + i % 26)) + "\n.n l\n";
  return s;
}

std::string Words(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += (i ? " w" : "w") + std::to_string(1000 + i);
  return s;
}

TEST(MarkupPage, NewLinesLeaveTheAskedGaps) {
  struct Case {
    const char* between;
    int gap;
  } cases[] = {
      {"\n.n L\n", 0},
      {"\n.n L\n.n L\n", 20},
      {"\n.n L 2\n", 40},
      {"\n.n l 3\n", 60},
  };
  for (const Case& c : cases) {
    Printed p(std::string("para") + c.between + "next");
    const PlacedBlock& para = p.Find("para");
    const PlacedBlock& next = p.Find("next");
    EXPECT_EQ(next.rect.top - para.rect.bottom, c.gap) << c.between;
  }
}

TEST(MarkupPage, TabStopsFollowTheRule) {
  Printed p(".t 5 15 10\nx");
  EXPECT_EQ(p.job.tabStops, (std::vector<int32_t>{50, 200, 300, 380, 460, 540, 620, 700, 750, 750}));
  Printed q(".t 5 0\nx");
  ASSERT_GE(q.job.tabStops.size(), 2u);
  EXPECT_EQ(q.job.tabStops[0], 50);
  EXPECT_EQ(q.job.tabStops[1], -50);
  EXPECT_EQ(q.job.tabStops[2], 130);
  Printed r(".t 1 2 3 4 5 6 7 8 9 10 11\nx");
  EXPECT_EQ(r.job.tabStops.size(), 20u);
  EXPECT_EQ(r.job.tabStops[10], 660);
  EXPECT_EQ(r.job.tabStops[11], 740);
}

TEST(MarkupPage, ConsecutiveLinesMakeOneParagraph) {
  Printed p("first line\nsecond line\n  third\n.n l\nnext");
  ASSERT_EQ(p.surface.placed.size(), 2u);
  EXPECT_EQ(p.surface.placed[0].text, "first line second line   third");
  EXPECT_EQ(p.surface.placed[1].text, "next");
}

TEST(MarkupPage, TallParagraphIsCutAtABlankAndGoesOn) {
  // 43 lines of 20 pixels leave 40: two lines of a paragraph.
  const std::string words = Words(200);
  Printed p(FillerLines(43) + words);
  ASSERT_EQ(p.pages, 2);
  const PlacedBlock& head = p.surface.placed[43];
  const PlacedBlock& tail = p.surface.placed[44];
  EXPECT_EQ(head.page, 1);
  EXPECT_EQ(tail.page, 2);
  EXPECT_EQ(tail.rect.top, 100);
  // Estimated count: 40 * 650 / 20 / 10 = 130 characters, cut at the blank before.
  EXPECT_LE(head.text.size(), 130u);
  EXPECT_GT(head.text.size(), 120u);
  EXPECT_EQ(words.compare(0, head.text.size(), head.text), 0);
  EXPECT_EQ(words[head.text.size()], ' ');
  EXPECT_EQ(head.text + " " + tail.text, words);
}

TEST(MarkupPage, TabbedBlockMovesWholeAndTooWideLosesItsEnd) {
  // 45 lines fill the page to its last pixel.
  Printed p(FillerLines(45) + "name\tvalue\n.n l\nafter");
  const PlacedBlock& tabbed = p.Find("name\tvalue");
  EXPECT_EQ(tabbed.page, 2);
  EXPECT_EQ(tabbed.rect.top, 100);
  EXPECT_TRUE(tabbed.tabbed);

  // 40 characters after a tab at 50: wider than 650.
  const std::string tail = "abcd efgh ijkl mnop qrst uvwx yzab cdef ghij klmn opqr stuv wxyz abcd efgh ijkl mnop qrst uvwx";
  Printed w(".t 5\nx\t" + tail);
  ASSERT_GE(w.surface.placed.size(), 2u);
  const PlacedBlock& cut = w.surface.placed[0];
  EXPECT_TRUE(cut.tabbed);
  EXPECT_LE(cut.rect.right, 750);
  EXPECT_EQ(("x\t" + tail).compare(0, cut.text.size(), cut.text), 0);
  EXPECT_LT(cut.text.size(), tail.size());
  // What no longer fits on the tab line follows below it.
  EXPECT_EQ(w.surface.placed[1].rect.top, cut.rect.bottom);
}

TEST(MarkupPage, KeepTogetherMovesADiagramWithFewerThanNineLinesLeft) {
  const std::string diagram = "\n .D B\nrow1\n.n l\nrow2\n.n l\nrow3\n .D E\n";
  // 36 lines: 900 - 720 = 180 left, fewer than 9 lines of 22.
  Printed moved(FillerLines(36) + diagram);
  EXPECT_EQ(moved.Find("row1").page, 2);
  EXPECT_EQ(moved.Find("row1").rect.top, 100);
  // 30 lines: 300 left, enough.
  Printed stays(FillerLines(30) + diagram);
  EXPECT_EQ(stays.Find("row1").page, 1);
  EXPECT_FALSE(stays.job.keepTogether);
}

TEST(MarkupPage, TwoColumnsFollowTheFormula) {
  // Width (650 - 50) / 2 = 300; column 1 starts at 50 + 300 + 100.
  Printed p(".c 2\n" + FillerLines(1) + "\n.n l\nshort\n");
  EXPECT_EQ(p.job.columnWidth, 300);
  std::string two_columns = ".c 2\n";
  for (int i = 0; i < 50; ++i) two_columns += "line" + std::to_string(i) + "\n.n l\n";
  Printed q(two_columns);
  const PlacedBlock& first = q.Find("line0");
  EXPECT_EQ(first.rect.left, 100);
  EXPECT_EQ(first.column, 0);
  const PlacedBlock& second = q.Find("line45");  // 900 / 20 = 45 lines a column
  EXPECT_EQ(second.column, 1);
  EXPECT_EQ(second.page, 1);
  EXPECT_EQ(second.rect.left, 450);
  EXPECT_EQ(second.rect.top, 100);
  EXPECT_EQ(q.pages, 1);
}

TEST(MarkupPage, PagesOfNewPageAndEmptyMarkup) {
  EXPECT_EQ(Printed("").pages, 1);
  EXPECT_EQ(Printed("\n\n  \n").pages, 1);
  Printed p("one\n.n P\ntwo\n.n P\nthree");
  EXPECT_EQ(p.pages, 3);
  EXPECT_EQ(p.Find("three").page, 3);
  EXPECT_EQ(Printed("last\n.n P\n").pages, 2);
}

TEST(MarkupPage, JustificationPlacesTextAcrossTheColumn) {
  Printed p(".j C\nTitle\n.n l\n.j R\nRight\n.n l\n.j L\nLeft words\n.n l\nmore words here");
  const PlacedBlock& title = p.Find("Title");
  EXPECT_EQ(title.align, TextAlign::kCentre);
  EXPECT_EQ(title.rect.left, 100);
  EXPECT_EQ(title.rect.right, 750);
  EXPECT_EQ(p.Find("Right").rect.right, 750);
  EXPECT_EQ(p.Find("Left words").rect.left, 100);
}

TEST(MarkupFont, FaceWordIsUsedWhenThePrinterHasIt) {
  Printed jade(".f RookwellJade 24\nx", true);
  EXPECT_EQ(jade.job.faceName, "RookwellJade");
  EXPECT_EQ(jade.surface.fonts.back().face, "RookwellJade");
  EXPECT_EQ(jade.surface.fonts.back().height, -33);  // 100 * 24 / 72
  Printed plain(".f RookwellJade 24\nx");
  EXPECT_EQ(plain.job.faceName, "RookwellOnyx");
  EXPECT_TRUE(plain.surface.messages.empty());
  Printed styles(".f 10 B I U S\nx\n.f R\ny");
  EXPECT_EQ(styles.job.bold, 1);
  EXPECT_EQ(styles.job.italic + styles.job.underline + styles.job.strikeOut, 0);
  EXPECT_EQ(styles.surface.fonts[1].weight, 700);
  EXPECT_TRUE(styles.surface.fonts[1].italic && styles.surface.fonts[1].underline);
}

TEST(MarkupNumbers, HugeValuesAreBounded) {
  Printed columns(".c 99999\nx y z");
  // Each column at least one average character wide.
  EXPECT_GE(columns.job.columnWidth, FakeSurface::kCharWidth);
  EXPECT_EQ(columns.job.columnCount, (650 + 50) / (10 + 50));
  Printed lines("a\n.n 4294967297 L\nb");
  EXPECT_EQ(lines.pages, 2);
  EXPECT_EQ(lines.Find("b").rect.top, 100);
  Printed tabs(".t 99999999999 -99999999999 5\nx");
  for (int32_t stop : tabs.job.tabStops) EXPECT_LE(std::abs(stop), 750);
  EXPECT_EQ(ParseMarkupNumber("-12x"), -12);
  EXPECT_EQ(ParseMarkupNumber("99999999999999999999"), kMarkupNumberLimit);
}

TEST(MarkupNumbers, BlockThatFitsNoColumnIsDrawnClippedAndReadingGoesOn) {
  // Margins leave a column shorter than one line.
  PrintJob job;
  FakeSurface surface(&job);
  job.marginTop = 500;
  job.marginBottom = 590;
  job.SetMarkup(".t 3\nname\tvalue\n.n l\nplain words\n.n l\n .d B\nkept", true);
  const int pages = PrintAllMarkupPages(job, surface, 50);
  EXPECT_LT(pages, 50);
  ASSERT_EQ(surface.placed.size(), 3u);
  EXPECT_TRUE(surface.placed[0].clipped);
  EXPECT_LE(surface.placed[0].rect.bottom, job.printable.bottom);
  EXPECT_EQ(surface.placed[2].text, "kept");

  // A tabbed block that is too wide even when cut to nothing.
  PrintJob narrow;
  FakeSurface s2(&narrow);
  narrow.marginLeft = 400;
  narrow.marginRight = 445;  // 5 pixels: no character fits
  narrow.SetMarkup("\tab\n.n l\nnext", true);
  EXPECT_LT(PrintAllMarkupPages(narrow, s2, 50), 50);
  EXPECT_EQ(s2.placed.back().text, "next");
}

TEST(MarkupReader, CommandsInsideAndAfterText) {
  PrintJob job;
  FakeSurface surface(&job);
  job.SetMarkup("alpha\nbeta\n  .j r\ngamma\n.x ignored\n.", true);
  ResetPrintLayout(job, surface);
  MarkupItem a = ReadMarkupItem(job, surface, 0);
  EXPECT_EQ(std::string(job.working.data() + a.start, a.length), "alpha beta");
  MarkupItem g = ReadMarkupItem(job, surface, 0);
  EXPECT_EQ(std::string(job.working.data() + g.start, g.length), "gamma");
  EXPECT_EQ(job.justify, 1);
  EXPECT_EQ(ReadMarkupItem(job, surface, 0).kind, MarkupItemKind::kEnd);
  // A limit ends the block at its last break point.
  job.SetMarkup("aaa bbb ccc ddd", true);
  MarkupItem cut = ReadMarkupItem(job, surface, -9);
  EXPECT_EQ(std::string(job.working.data() + cut.start, cut.length), "aaa bbb");
}

}  // namespace
