// The colour picker's fields, the ini name list, launch lines, debug text
// and log, and the about box's pages and clicks.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "about_text.h"
#include "color_select.h"
#include "debug_text.h"
#include "ini_name_list.h"
#include "launch_line.h"
#include "profile.h"

namespace {

TEST(ColorSelect, TypedChannelsAreClamped) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"300", 255}, {"-5", 0},   {"255", 255},
               {"0", 0},     {"17", 17},  {"", 0},
               {"abc", 0},   {" 42", 42}, {"99999999999999999999", 255},
               {"12x", 12}};
  for (const Case& c : cases) EXPECT_EQ(ReadColorChannel(c.text), c.value) << c.text;
  uint32_t colour = 0x00112233;
  colour = SetColorChannel(colour, 1, ReadColorChannel("300"));
  EXPECT_EQ(colour, 0x0011FF33u);
  colour = SetColorChannel(colour, 0, ReadColorChannel("-5"));
  EXPECT_EQ(colour, 0x0011FF00u);
  EXPECT_EQ(ColorChannel(colour, 2), 0x11);
  EXPECT_EQ(StripColumnColor(0, 0, 100), 16u);
  EXPECT_EQ(StripColumnColor(2, 50, 100), uint32_t(16 + 50 * 239 / 100) << 16);
  EXPECT_EQ(StripColumnColor(1, 0, 0), 0u);
}

// A temporary ini file through the project's own profile reader.
class IniNameListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ::testing::TempDir() + "names_" + std::to_string(reinterpret_cast<uintptr_t>(this)) + ".ini";
    std::remove(path_.c_str());
  }
  void TearDown() override { std::remove(path_.c_str()); }
  void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string Key(const char* key) {
    char buf[256];
    ProfileReadString("rwlive_buddies", key, "<none>", buf, sizeof buf, path_.c_str());
    return buf;
  }
  std::vector<std::pair<int, std::string>> Entries(const IniNameList& list) {
    std::vector<std::pair<int, std::string>> out;
    for (size_t i = 0; i < list.size(); ++i) out.push_back({list.at(i).number(), list.at(i).name()});
    return out;
  }
  std::string path_;
};

TEST_F(IniNameListTest, GapsAreKeptAndFilledFirst) {
  Write("[rwlive_buddies]\nbud_highnumber=5\nbud1=Ann\nbud2=Bob\nbud5=Eve\nbud4=\n");
  IniNameList list(path_, "rwlive_buddies", "bud", true);
  using E = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(Entries(list), (E{{1, "Ann"}, {2, "Bob"}, {5, "Eve"}}));
  list.Add("Cy", true);
  EXPECT_EQ(Entries(list), (E{{1, "Ann"}, {2, "Bob"}, {3, "Cy"}, {5, "Eve"}}));
  EXPECT_EQ(Key("bud3"), "Cy");
  list.Add("cy", true);  // same name in other letters
  EXPECT_EQ(list.size(), 4u);
  ASSERT_NE(list.Find("EVE"), nullptr);
  // Removing the highest lowers the high number to the previous entry's.
  list.Remove("Eve", true);
  EXPECT_EQ(list.highNumber(), 3);
  EXPECT_EQ(Key("bud_highnumber"), "3");
  EXPECT_EQ(Key("bud5"), "<none>");
  list.Remove("ann", true);
  list.Remove("Bob", true);
  list.Remove("Cy", true);
  EXPECT_EQ(list.highNumber(), 0);
  EXPECT_EQ(Key("bud_highnumber"), "<none>");
  // Stopping early and reloading what was saved.
  list.Add("Zed", true);
  list.Add("Amy", true);
  IniNameList again(path_, "rwlive_buddies", "bud", true);
  std::vector<std::string> seen;
  again.ForEach([&](const std::string& n) {
    seen.push_back(n);
    return false;
  });
  EXPECT_EQ(seen, std::vector<std::string>{"Zed"});
  EXPECT_EQ(again.size(), 2u);
}

TEST_F(IniNameListTest, AnEmptyNameDeletesItsKeyAndMissingPartsLoadNothing) {
  IniNameList list(path_, "rwlive_buddies", "bud", false);
  list.Add("", true);
  EXPECT_EQ(Key("bud1"), "<none>");
  EXPECT_EQ(Key("bud_highnumber"), "1");
  IniNameList noPrefix(path_, "rwlive_buddies", "", true);
  EXPECT_EQ(noPrefix.size(), 0u);
  EXPECT_EQ(noPrefix.highNumber(), 0);
}

TEST(LaunchLine, QuotedAfterTheCutCommand) {
  struct Case {
    const char* command;
    const char* target;
    const char* line;
  } cases[] = {
      {"browser.exe", "http://x/y", "browser.exe \"http://x/y\""},
      {"\"C:\\B\\b.exe\" \"%1\"", "http://x", "\"C:\\B\\b.exe\" \"http://x\""},
      {"b.exe -new %1 -tail", "a b.htm", "b.exe -new \"a b.htm\""},
      {"b.exe", "", ""},
      {"b.exe", "http://x\" & del", ""},  // would end the quoted argument
      {"b.exe", "http://x\r\nother", ""},
      {"b.exe", "tab\there", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildLaunchLine(c.command, c.target), c.line) << c.target;
  EXPECT_EQ(FileTypeOf("mplaynow.exe"), ".exe");
  EXPECT_EQ(FileTypeOf("a.b.c"), ".b.c");
  EXPECT_EQ(FileTypeOf("none"), "");
}

TEST(DebugText, ControlRunsBecomeOneLineBreak) {
  EXPECT_EQ(ConvertDebugText("abc\n\n\ndef"), "abc\r\ndef");
  EXPECT_EQ(ConvertDebugText("one\r\n"), "one\r\n");
  EXPECT_EQ(ConvertDebugText("a\tb"), "a\r\nb");
  // Lone control characters double the text: nothing is cut.
  std::string alternating;
  for (int i = 0; i < 3000; ++i) alternating += "a\n";
  EXPECT_EQ(ConvertDebugText(alternating).size(), 9000u);
}

TEST(DebugText, LongTextsGoInSeveralMessages) {
  EXPECT_TRUE(SplitDebugText("").empty());
  EXPECT_EQ(SplitDebugText("abc"), std::vector<std::string>{"abc"});
  const std::string big(10000, 'q');
  const std::vector<std::string> pieces = SplitDebugText(big);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].size(), 4095u);
  EXPECT_EQ(pieces[2].size(), 10000u - 2 * 4095);
  EXPECT_EQ(pieces[0] + pieces[1] + pieces[2], big);
}

TEST(DebugText, EditDropsItsFirst25LinesPastTheLimit) {
  std::string shown;
  for (int i = 0; shown.size() <= 25904; ++i) shown += "line " + std::to_string(i) + "\r\n";
  const std::string trimmed = TrimDebugEditText(shown);
  EXPECT_EQ(trimmed.compare(0, 9, "line 25\r\n"), 0);
  const std::string exact(25904, 'x');
  EXPECT_EQ(TrimDebugEditText(exact), exact);
}

TEST(DebugText, LogGetsABreakBetweenMessages) {
  const std::string path = ::testing::TempDir() + "debug_log_test.txt";
  std::remove(path.c_str());
  std::FILE* log = std::fopen(path.c_str(), "a+b");
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(AppendDebugLog(log, ConvertDebugText("one\r\n")));
  EXPECT_TRUE(AppendDebugLog(log, ConvertDebugText("two\r\n")));
  std::fclose(log);
  std::stringstream got;
  got << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(got.str(), "one\r\n\r\ntwo\r\n");
  // Reopened, the file is never truncated.
  log = std::fopen(path.c_str(), "a+b");
  EXPECT_TRUE(AppendDebugLog(log, "three"));
  std::fclose(log);
  std::stringstream again;
  again << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(again.str(), "one\r\n\r\ntwo\r\n\r\nthree");
  std::remove(path.c_str());
}

TEST(AboutText, LinesByTheirLetter) {
  const std::vector<std::string> page = {"CCentred",     "lLeft",  "RRight", "THeading",          "vignored",
                                         "PboxOnyx.bmp", "Xplain", "",       "~short credit line"};
  const std::vector<AboutLine> lines = LayOutAboutPage(page, false, "1.0.3");
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0].align, AboutAlign::kCentre);
  EXPECT_EQ(lines[0].text, "Centred");
  EXPECT_EQ(lines[1].align, AboutAlign::kLeft);
  EXPECT_EQ(lines[1].text, "Left");
  EXPECT_EQ(lines[2].align, AboutAlign::kRight);
  EXPECT_EQ(lines[3].align, AboutAlign::kHeading);
  EXPECT_EQ(lines[4].align, AboutAlign::kVersion);
  EXPECT_EQ(lines[4].text, "1.0.3");
  EXPECT_EQ(lines[5].align, AboutAlign::kPicture);
  EXPECT_EQ(lines[5].text, "boxOnyx.bmp");
  EXPECT_EQ(lines[6].text, "Xplain");              // shown whole
  EXPECT_EQ(lines[8].text, "~short credit line");  // "~" splits on the credits page only
}

TEST(AboutText, CreditsTildeSplitsAfterThe30thCharacter) {
  const std::string text = "abcdefghij abcdefghij abcdefgh xyz rest of it";  // blank at 30
  const std::vector<AboutLine> lines =
      LayOutAboutPage({"~" + text, "~no blank after thirty chars ok"}, true, "");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].text, "abcdefghij abcdefghij abcdefgh");
  EXPECT_EQ(lines[1].text, "xyz rest of it");
  EXPECT_EQ(lines[1].align, AboutAlign::kCentre);
  EXPECT_EQ(lines[2].text, "no blank after thirty chars ok");
}

TEST(AboutText, FourRegionsInOrderOpenTheStaffPage) {
  StaffClickCounter c;
  EXPECT_FALSE(c.Click(70, 84));
  EXPECT_FALSE(c.Click(100, 85));
  EXPECT_FALSE(c.Click(90, 105));
  EXPECT_TRUE(c.Click(90, 110));
  EXPECT_EQ(c.count(), 0);
  // A miss resets: the second region first, then the order again.
  EXPECT_FALSE(c.Click(70, 84));
  EXPECT_FALSE(c.Click(10, 10));
  EXPECT_EQ(c.count(), 0);
  EXPECT_FALSE(c.Click(100, 85));
  EXPECT_EQ(c.count(), 0);
  EXPECT_FALSE(c.Click(70, 84));
  EXPECT_FALSE(c.Click(100, 85));
  EXPECT_FALSE(c.Click(90, 105));
  EXPECT_FALSE(c.Click(70, 84));  // wrong fourth
  EXPECT_EQ(c.count(), 0);
}

}  // namespace
