#include "movie_launch_core.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "movie_options.h"

namespace {

TEST(MovieQuality, ScoreThresholdsAndDisplayDepth) {
  const struct {
    int32_t score;
    int bits;
    int level;
  } cases[] = {
      {1129, 32, 0}, {1130, 32, 1}, {1699, 32, 1}, {1700, 16, 2}, {2599, 24, 2}, {2600, 32, 3},
      {0, 32, 0},    {100000, 32, 3},
      {5000, 8, 0},  {5000, 15, 0}, {5000, 4, 0},  // a palette display plays nothing, whatever the score
      {-1, 32, 3},   // compared unsigned, as the benchmark's result is read
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MovieQualityFromScore(c.score, c.bits), c.level) << c.score << " at " << c.bits << " bits";
  }
}

TEST(MovieQuality, IntroNeedsALargeDesktopForTheTopLevel) {
  EXPECT_EQ(IntroMovieLevel(3, 1024, 768), 2);
  EXPECT_EQ(IntroMovieLevel(3, 1280, 800), 2);
  EXPECT_EQ(IntroMovieLevel(3, 1280, 960), 3);
  EXPECT_EQ(IntroMovieLevel(2, 640, 480), 2);
  EXPECT_EQ(IntroMovieLevel(1, 1024, 768), 1);
}

TEST(MovieCommandLine, TheTwoLinesExactly) {
  char line[kMovieLineSize];
  ASSERT_TRUE(BuildIntroMovieLine("C:\\Rookwell\\rwonyxintro.bik", 2, line, sizeof line));
  EXPECT_STREQ(line, "/b /b /u /c /s:2 /f:\"C:\\Rookwell\\rwonyxintro.bik\" /k ");
  ASSERT_TRUE(BuildIntroMovieLine("C:\\Program Files\\Rookwell\\RWONYXINTRO.BIK", 3, line, sizeof line));
  EXPECT_STREQ(line, "/b /b /u /c /s:3 /f:\"C:\\Program Files\\Rookwell\\RWONYXINTRO.BIK\" /k ");
  ASSERT_TRUE(BuildIntroMovieLine("C:\\RW\\Intro.MOV", 1, line, sizeof line));
  EXPECT_STREQ(line, "/b /b /u /c /s:1 /f:\"C:\\RW\\Intro.MOV\" /q ");
  ASSERT_TRUE(BuildIntroMovieLine("C:\\RW\\intro.avi", 1, line, sizeof line));
  EXPECT_STREQ(line, "/b /b /u /c /s:1 /f:\"C:\\RW\\intro.avi\" ");

  ASSERT_TRUE(BuildRoomMovieLine("C:\\Rookwell\\IntroKidsRoom.mov", 3, line, sizeof line));
  EXPECT_STREQ(line, "  /u /u /c /a /s:3 /f:\"C:\\Rookwell\\IntroKidsRoom.mov\" /q ");
  // The room line has no /k, whatever the name.
  ASSERT_TRUE(BuildRoomMovieLine("C:\\RW\\room.bik", 2, line, sizeof line));
  EXPECT_STREQ(line, "  /u /u /c /a /s:2 /f:\"C:\\RW\\room.bik\" ");
}

TEST(MovieCommandLine, SwitchesAppendWithOneBlankEach) {
  char line[64] = "";
  ASSERT_TRUE(AppendMovieSwitch(line, sizeof line, 'b'));
  ASSERT_TRUE(AppendMovieSwitch(line, sizeof line, 's', 3));
  ASSERT_TRUE(AppendMovieSwitch(line, sizeof line, 'w', "1234"));
  ASSERT_TRUE(AppendMovieFileSwitch(line, sizeof line, "a b.avi"));
  EXPECT_STREQ(line, "/b /s:3 /w:1234 /f:\"a b.avi\" ");
}

TEST(MovieCommandLine, ThePlayerReadsBackWhatTheLauncherWrote) {
  // The player's runtime drops the first token; the rest must carry it all.
  char line[kMovieLineSize];
  const char* path = "C:\\Program Files\\Rook Well\\RWOnyxIntro.BIK";
  ASSERT_TRUE(BuildIntroMovieLine(path, 1, line, sizeof line));
  std::string afterRuntime = std::string(line).substr(std::string(line).find(' ') + 1);
  MovieOptions intro = ParseMovieOptions(afterRuntime.c_str());
  EXPECT_EQ(intro.file, "c:\\program files\\rook well\\rwonyxintro.bik");
  EXPECT_TRUE(intro.black && intro.centre && intro.reel);
  EXPECT_EQ(intro.level, 1);

  ASSERT_TRUE(BuildRoomMovieLine("D:\\Kids Room\\IntroKidsRoom.mov", 3, line, sizeof line));
  MovieOptions room = ParseMovieOptions(line);  // leading blanks: nothing is lost
  EXPECT_EQ(room.file, "d:\\kids room\\introkidsroom.mov");
  EXPECT_TRUE(room.autoSize && room.centre && room.deck);
  EXPECT_EQ(room.level, 3);
}

TEST(MovieCommandLine, LongPathsAndSmallBuffersSkipTheMovie) {
  // The longest path the player takes fits the sized buffer, with every
  // switch a line may carry (.mov and .bik both in it).
  std::string longest = "C:\\" + std::string(kMovieLinePathMax - 3 - 8, 'x') + ".mov.bik";
  ASSERT_EQ(longest.size(), kMovieLinePathMax);
  char line[kMovieLineSize];
  ASSERT_TRUE(BuildIntroMovieLine(longest.c_str(), 3, line, sizeof line));
  EXPECT_EQ(std::strlen(line), 12 + 5 + (4 + kMovieLinePathMax + 2) + 6);  // /b /b /u /c, /s:3, /f:"…", /q, /k
  ASSERT_TRUE(BuildRoomMovieLine(longest.c_str(), 3, line, sizeof line));

  // One character more: skipped, nothing left in the buffer.
  std::string over = longest + "x";
  std::memset(line, 'z', sizeof line);
  EXPECT_FALSE(BuildIntroMovieLine(over.c_str(), 2, line, sizeof line));
  EXPECT_STREQ(line, "");
  EXPECT_FALSE(BuildRoomMovieLine(over.c_str(), 2, line, sizeof line));
  EXPECT_STREQ(line, "");

  // A buffer too small for the line is never overrun (the sanitizers watch).
  for (size_t size : {1u, 5u, 20u, 40u}) {
    std::string buffer(size, 'z');
    EXPECT_FALSE(BuildIntroMovieLine("C:\\RW\\rwonyxintro.bik", 2, &buffer[0], size)) << size;
    EXPECT_EQ(buffer[0], '\0');
  }
  char tiny[8] = "";
  EXPECT_FALSE(AppendMovieFileSwitch(tiny, sizeof tiny, "abcdef"));
  EXPECT_STREQ(tiny, "");
}

}  // namespace
