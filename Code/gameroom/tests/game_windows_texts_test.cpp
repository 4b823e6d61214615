// The analysis progress line and the annotation pages' comment rules.
#include "game_windows_texts.h"

#include <gtest/gtest.h>

TEST(GameWindowsTexts, ProgressLineFromTheMessageTableFormat) {
  struct Case {
    const char* format;
    int percent;
    const char* expected;
  };
  const Case cases[] = {
      {"Analyzing game: %d%% complete", 0, "Analyzing game: 0% complete"},
      {"Analyzing game: %d%% complete", 99, "Analyzing game: 99% complete"},
      {"Analyzing game: %d%% complete", 100, "Analyzing game: 100% complete -- Building Text..."},
      {"%u", 42, "42"},
      // Formats that would read what is not there are not used.
      {"%s done", 50, "50% complete"},
      {"%d of %d", 50, "50% complete"},
      {"no number", 50, "50% complete"},
      {"%5d", 50, "50% complete"},
      {"trailing %", 50, "50% complete"},
      {"", 100, "100% complete -- Building Text..."},
  };
  for (const Case& c : cases) EXPECT_EQ(AnalysisProgressText(c.format, c.percent), c.expected) << c.format;
}

TEST(GameWindowsTexts, CommentsAreCutAndMarkupIsFound) {
  EXPECT_EQ(CutComment(std::string(600, 'a'), kPlayerCommentLimit).size(), 512u);
  EXPECT_EQ(CutComment(std::string(9000, 'a'), kIvaCommentLimit).size(), 8192u);
  EXPECT_EQ(CutComment("short", kPlayerCommentLimit), "short");
  EXPECT_TRUE(HasEmbeddedCommands("Good move {W101}"));
  EXPECT_FALSE(HasEmbeddedCommands("W101 without a brace"));
  EXPECT_FALSE(HasEmbeddedCommands(""));
  EXPECT_FALSE(HasEmbeddedCommands(nullptr));
}
