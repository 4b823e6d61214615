// The colour text control's layout without a window: fitting a text into
// the room left on a line, wrapping entries onto lines, laying out anew,
// selection, keyboard moves and searches.
#include "colortext_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// Every character 10 pixels wide. `widthExtra` lets a test make a measured
// prefix wider than the fit said (kerning-like surprises); `onLine` runs
// when a line is added.
struct FixedHost : CtHost {
  std::vector<int32_t> added, changed;
  std::function<int32_t(int32_t length)> widthExtra;
  std::function<bool(int32_t index)> onLine;
  int64_t measured = 0;  // characters handed to Fit and Width
  int32_t Fit(uint32_t, const char*, int32_t length, int32_t room) override {
    measured += length;
    return std::min(length, room / 10);
  }
  int32_t Width(uint32_t, const char*, int32_t length) override {
    measured += length;
    return 10 * length + (widthExtra ? widthExtra(length) : 0);
  }
  bool LineAdded(int32_t index) override {
    added.push_back(index);
    return onLine ? onLine(index) : true;
  }
  void LineChanged(int32_t index) override { changed.push_back(index); }
};

ColorTextEntry Entry(const char* text, uint32_t flags = 0, uint32_t data = 0) {
  return ColorTextEntry{0, text, 0, data, flags};
}

// Each part as "line:x+width=text" for comparisons.
std::vector<std::string> Describe(const ColorTextLayout& l) {
  std::vector<std::string> out;
  for (const CtPart& p : l.parts())
    out.push_back(std::to_string(p.line) + ":" + std::to_string(p.x) + "+" + std::to_string(p.width) + "=" +
                  std::string(l.entry(p.entry).text + p.textPos, size_t(p.length)));
  return out;
}

}  // namespace

TEST(ColorTextFit, BreaksAtTheLastSeparatorThatFits) {
  struct Case {
    const char* text;
    int32_t room;
    const char* separators;
    CtFitKind kind;
    int32_t width, length;
  };
  const Case cases[] = {
      {"hello", 100, kCtDefaultSeparators, kCtFitAll, 50, 5},
      {"hello", 50, kCtDefaultSeparators, kCtFitAll, 50, 5},
      {"", 0, kCtDefaultSeparators, kCtFitAll, 0, 0},
      {"hello world", 80, kCtDefaultSeparators, kCtFitBroken, 50, 5},  // rest " world"
      {"hello\tworld", 80, kCtDefaultSeparators, kCtFitBroken, 50, 5},
      {"hello world", 50, kCtDefaultSeparators, kCtFitBroken, 50, 5},  // the space itself does not fit
      {"well-known fact", 70, "-", kCtFitBroken, 40, 4},
      {"well-known fact", 70, kCtDefaultSeparators, kCtFitNextLine, 0, 0},
      {"helloworld", 50, kCtDefaultSeparators, kCtFitNextLine, 0, 0},  // no separator
      {" hello", 30, kCtDefaultSeparators, kCtFitNextLine, 0, 0},      // separator at position 0 only
      {"ab cd", 20, kCtDefaultSeparators, kCtFitNextLine, 0, 0},       // fewer than 3 characters fit
      {"hello", -1, kCtDefaultSeparators, kCtFitNextLine, 0, 0},       // no room at all
  };
  for (const Case& c : cases) {
    FixedHost host;
    CtFitResult r = ctFitText(host, 0, c.text, int32_t(std::strlen(c.text)), c.room, c.separators);
    EXPECT_EQ(r.kind, c.kind) << c.text << " in " << c.room;
    EXPECT_EQ(r.width, c.width) << c.text << " in " << c.room;
    EXPECT_EQ(r.length, c.length) << c.text << " in " << c.room;
  }
}

TEST(ColorTextFit, APieceWiderThanMeasuredGoesBackToTheSeparatorBefore) {
  FixedHost host;
  host.widthExtra = [](int32_t length) { return length >= 5 ? 30 : 0; };
  // "aa bb cc dd": 7 characters fit in 75, "aa bb" measures 80: back to "aa".
  CtFitResult r = ctFitText(host, 0, "aa bb cc dd", 11, 75, kCtDefaultSeparators);
  EXPECT_EQ(r.kind, kCtFitBroken);
  EXPECT_EQ(r.width, 20);
  EXPECT_EQ(r.length, 2);
  host.widthExtra = [](int32_t) { return 100; };
  EXPECT_EQ(ctFitText(host, 0, "aa bb cc dd", 11, 75, kCtDefaultSeparators).kind, kCtFitNextLine);
}

TEST(ColorTextWrap, EntriesShareLinesAndBreakAtWords) {
  FixedHost host;
  ColorTextLayout l;
  l.setWrapWidth(100);
  EXPECT_EQ(l.margin(), 6);
  EXPECT_EQ(l.separators(), " \t\r\n");
  l.Add(Entry("abc"), host);
  l.Add(Entry("de"), host);  // starts where "abc" ended plus the margin
  l.Add(Entry("aaaa bbbb cccc dddd"), host);
  EXPECT_EQ(Describe(l), (std::vector<std::string>{"0:0+36=abc", "0:36+26=de", "1:0+90=aaaa bbbb",
                                                   "2:0+50= cccc", "3:0+56= dddd"}));
  ASSERT_EQ(l.lines().size(), 4u);
  EXPECT_EQ(l.lines()[0].width, 62);
  EXPECT_EQ(l.lines()[0].partCount, 2);
  EXPECT_EQ(l.lines()[2].firstEntry, 2);
  EXPECT_EQ(l.lines()[2].firstPart, 3);
  std::vector<int32_t> partNos;
  for (const CtPart& p : l.parts()) partNos.push_back(p.partNo);
  EXPECT_EQ(partNos, (std::vector<int32_t>{0, 0, 0, 1, 2}));
  EXPECT_EQ(host.added, (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST(ColorTextWrap, AFullLineStartsANewOneAndATooLongWordIsLeftOut) {
  FixedHost host;
  ColorTextLayout l;
  l.setWrapWidth(100);
  l.Add(Entry("12345678"), host);          // 86 wide: 100 <= 86 + 6, so a new line follows
  l.Add(Entry("abcdefghijklmnop"), host);  // wider than any line: not placed
  l.Add(Entry("xy"), host);                // still appended, on the same empty line
  EXPECT_EQ(Describe(l), (std::vector<std::string>{"0:0+86=12345678", "1:0+26=xy"}));
  EXPECT_EQ(l.FirstPartOf(1), -1);
  EXPECT_EQ(l.entryCount(), 3);
}

TEST(ColorTextWrap, LayingOutAnewMatchesAddingAtThatWidth) {
  const char* texts[] = {"Adler",
                         " won a long game against ",
                         "Brandt",
                         " in the final round of the club championship",
                         "xxxxxxxxxxxxxxxxxxxxxxxxxxx",
                         "."};
  FixedHost host;
  ColorTextLayout resized, fresh;
  resized.setWrapWidth(300);
  fresh.setWrapWidth(140);
  for (const char* t : texts) {
    resized.Add(Entry(t), host);
    fresh.Add(Entry(t), host);
  }
  resized.ClearLayout();
  resized.setWrapWidth(140);
  EXPECT_TRUE(resized.WrapAll(host));
  EXPECT_EQ(Describe(resized), Describe(fresh));
  // The too-long entry does not end the pass: the full stop after it shows.
  EXPECT_NE(resized.FirstPartOf(5), -1);
  EXPECT_EQ(resized.FirstPartOf(4), -1);
}

TEST(ColorTextWrap, AnUnsizedControlLaysOutNothingUntilItHasAWidth) {
  FixedHost host;
  ColorTextLayout l;
  for (int i = 0; i < 5; ++i) EXPECT_NE(l.Add(Entry("word"), host), nullptr);
  EXPECT_TRUE(l.lines().empty());
  EXPECT_TRUE(host.added.empty());
  l.setWrapWidth(16);
  EXPECT_TRUE(l.WrapAll(host));
  EXPECT_TRUE(l.lines().empty());
  l.setWrapWidth(200);
  EXPECT_TRUE(l.WrapAll(host));
  EXPECT_EQ(l.parts().size(), 5u);
}

TEST(ColorTextWrap, StopsWhenTheHostRefusesOrLaysOutAnewMeanwhile) {
  FixedHost refusing;
  refusing.onLine = [](int32_t index) { return index < 1; };
  ColorTextLayout l;
  l.setWrapWidth(100);
  l.Add(Entry("aaaa bbbb cccc dddd"), refusing);
  EXPECT_EQ(l.lines().size(), 1u);  // the refused line is not kept
  EXPECT_EQ(Describe(l), (std::vector<std::string>{"0:0+90=aaaa bbbb"}));

  // A scroll bar appears with the third line: the width shrinks and the
  // host lays everything out again from inside the call.
  FixedHost host;
  ColorTextLayout m;
  m.setWrapWidth(100);
  bool shrunk = false;
  host.onLine = [&](int32_t index) {
    if (index == 2 && !shrunk) {
      shrunk = true;
      m.ClearLayout();
      m.setWrapWidth(84);
      m.WrapAll(host);
    }
    return true;
  };
  for (const char* t : {"one two", "three four", "five six seven"}) m.Add(Entry(t), host);
  FixedHost plain;
  ColorTextLayout fresh;
  fresh.setWrapWidth(84);
  for (const char* t : {"one two", "three four", "five six seven"}) fresh.Add(Entry(t), plain);
  EXPECT_TRUE(shrunk);
  EXPECT_EQ(Describe(m), Describe(fresh));
}

TEST(ColorTextWrap, ALongEntryIsMeasuredOnlyAsFarAsALineReaches) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "ab ";
  FixedHost host;
  ColorTextLayout l;
  l.setWrapWidth(100);
  l.Add(Entry(text.c_str()), host);
  EXPECT_GT(l.lines().size(), 6000u);
  EXPECT_LT(host.measured, 20 * int64_t(text.size())) << "not the whole rest for every line";
}

TEST(ColorTextWrap, OutlandishMarginsLayOutWithoutOverflow) {
  for (int32_t margin : {-2147483647 - 1, -5, 0x10000, 2147483647}) {
    FixedHost host;
    ColorTextLayout l;
    l.setWrapWidth(100);
    EXPECT_EQ(l.setMargin(margin), 6);
    l.Add(Entry("one two three four"), host);
    l.Add(Entry("five"), host);
    EXPECT_EQ(l.margin(), margin);
    for (const CtPart& p : l.parts()) EXPECT_GE(p.width, 0) << margin;
  }
}

namespace {

// Three lines at width 100 (10 pixels a character, margin 6):
//   line 0: "1." e0 (0..26)  "e4" e1 (26..52)  "e5" e2 (52..78)
//   line 1: "Nf3" e3 (0..36)  "Nc6" e4 (36..72)  "2." e5 (72..98)
//   line 2: "Bb5" e6 (0..36)  "a6" e7 (36..62)
// The move numbers are not selectable.
struct MoveText : ::testing::Test {
  FixedHost host;
  ColorTextLayout l;
  void SetUp() override {
    l.setWrapWidth(100);
    const char* moves[] = {"1.", "e4", "e5", "Nf3", "Nc6", "2.", "Bb5", "a6"};
    for (int i = 0; i < 8; ++i)
      l.Add(Entry(moves[i], moves[i][1] == '.' ? 0u : uint32_t(kCtSelectable), uint32_t(i * 10)), host);
  }
  void Current(int32_t entry) { l.Select(l.FirstPartOf(entry), nullptr); }
  int32_t EntryOf(int32_t part) const { return part < 0 ? -1 : l.parts()[size_t(part)].entry; }
};

}  // namespace

TEST_F(MoveText, LaidOutAsExpected) {
  EXPECT_EQ(Describe(l), (std::vector<std::string>{"0:0+26=1.", "0:26+26=e4", "0:52+26=e5", "1:0+36=Nf3",
                                                   "1:36+36=Nc6", "1:72+26=2.", "2:0+36=Bb5", "2:36+26=a6"}));
}

TEST_F(MoveText, KeysMoveBetweenSelectableEntries) {
  struct Case {
    int32_t from;
    int key;
    int32_t to;  // entry, -1: nothing
  };
  const Case cases[] = {
      {4, 0x24, 1},  {1, 0x24, -1},                 // Home: the first selectable entry, unless already there
      {4, 0x23, 7},  {7, 0x23, -1},                 // End
      {3, 0x25, 2},  {6, 0x25, 4},  {1, 0x25, -1},  // Left skips "2." and stops at "1."
      {4, 0x27, 6},  {7, 0x27, -1},                 // Right
      {4, 0x26, 2},  {3, 0x26, 1},  {6, 0x26, 3},   // Up: nearest by part centres
      {4, 0x28, 7},  {3, 0x28, 6},                  // Down
      {1, 0x26, -1}, {7, 0x28, -1},                 // no line above the first or below the last
      {4, 0x21, -1}, {4, 0x22, -1},                 // Page Up / Down move no selection
  };
  for (const Case& c : cases) {
    Current(c.from);
    EXPECT_EQ(EntryOf(l.NavigationTarget(c.key)), c.to) << "from " << c.from << " key " << c.key;
  }
  l.ClearSelection(nullptr);
  EXPECT_EQ(l.NavigationTarget(0x24), -1) << "no current entry";
}

TEST_F(MoveText, SelectionMarksTheEntrysPartsOnly) {
  std::vector<int32_t> changed;
  Current(3);
  l.Select(l.FirstPartOf(4), &changed);
  EXPECT_EQ(l.current(), 4);
  EXPECT_EQ(changed, (std::vector<int32_t>{1, 1}));  // the old part's line, then the new one's
  for (const CtPart& p : l.parts()) EXPECT_EQ(p.selected, p.entry == 4 ? kCtSelectedMark : 0) << p.entry;
  // A non-selectable entry becomes current but shows no mark.
  l.Select(l.FirstPartOf(5), nullptr);
  EXPECT_EQ(l.current(), 5);
  for (const CtPart& p : l.parts()) EXPECT_EQ(p.selected, 0);

  // An entry over several lines is marked on all of them.
  l.Add(Entry("long game over lines", kCtSelectable), host);
  int32_t first, last;
  l.EntryLines(8, &first, &last);
  EXPECT_EQ(first, 3);  // "long game", " over", " lines"
  EXPECT_EQ(last, 5);
  changed.clear();
  l.Select(int32_t(l.parts().size()) - 1, &changed);  // from its last part
  int marked = 0;
  for (const CtPart& p : l.parts()) marked += p.selected != 0;
  EXPECT_EQ(marked, 3);
  EXPECT_EQ(changed, (std::vector<int32_t>{3, 4, 5}));
}

TEST_F(MoveText, HitsAndSearches) {
  EXPECT_EQ(EntryOf(l.HitPart(1, 40)), 4);
  EXPECT_EQ(EntryOf(l.HitPart(1, 36)), 3);  // a shared edge belongs to the first
  EXPECT_EQ(l.HitPart(1, 99), -1);
  EXPECT_EQ(l.HitPart(5, 10), -1);
  struct Case {
    int mode;
    const char* text;
    uint32_t data;
    int32_t entry;
  };
  const Case cases[] = {
      {0, "Nf3", 0, 3},     {0, "Nf", 0, -1},  // a prefix is not equal
      {1, "f3", 0, 3},      {1, "F3", 0, -1}, {2, "nF3", 0, 3},    {3, nullptr, 40, 4},
      {3, nullptr, 41, -1}, {0, "", 0, -1},   {1, nullptr, 0, -1}, {7, "e4", 0, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(l.Find(c.mode, c.text, c.data), c.entry) << c.mode << " " << (c.text ? c.text : "(null)");
}

TEST(ColorTextEntries, StoredCopiesOwnTheirTextAndAreFoundByAddress) {
  FixedHost host;
  ColorTextLayout l;
  l.setWrapWidth(100);
  char text[] = "Adler";
  const ColorTextEntry* stored = l.Add(ColorTextEntry{0x1234, text, 7, 99, kCtOwnColour}, host);
  text[0] = 'X';
  ASSERT_NE(stored, nullptr);
  EXPECT_STREQ(stored->text, "Adler");
  EXPECT_EQ(stored->colour, 0x1234u);
  EXPECT_EQ(stored->reserved, 7);
  EXPECT_EQ(stored->data, 99u);
  const ColorTextEntry* empty = l.Add(ColorTextEntry{0, nullptr, 0, 0, 0}, host);
  ASSERT_NE(empty, nullptr);
  EXPECT_STREQ(empty->text, "");
  EXPECT_EQ(l.IndexOf(stored), 0);
  EXPECT_EQ(l.IndexOf(empty), 1);
  ColorTextEntry lookalike = *stored;
  EXPECT_EQ(l.IndexOf(&lookalike), -1);
  EXPECT_EQ(l.setMargin(2), 6);
  EXPECT_EQ(l.margin(), 2);
  l.Clear();
  EXPECT_EQ(l.entryCount(), 0);
  EXPECT_TRUE(l.lines().empty());
  EXPECT_EQ(l.current(), -1);
}
