// The player under Wine, started through CreateProcess with the command
// lines the main program writes, watched from this separate test process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "guitest.h"
#include "movie_process.h"

using namespace movietest;

namespace {

std::string ClipWithBlanks() { return CopyClip("movie clips", "test clip.avi"); }

TEST(VideoWindowRoad, ClipPlaysCentredAndEndsByItself) {
  Player player;
  ASSERT_TRUE(StartPlayer(&player, "RWMovie.exe /c /a /f:\"" + ClipWithBlanks() + "\""));
  DWORD started = GetTickCount();
  HWND movie = WaitForMovieWindow(5000);
  ASSERT_NE(movie, nullptr);
  DWORD shown = GetTickCount();

  RECT r;
  GetWindowRect(movie, &r);
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(r.right - r.left, kClipWidth);
  EXPECT_EQ(r.bottom - r.top, kClipHeight);
  EXPECT_EQ(r.left, (sw - kClipWidth) / 2);
  EXPECT_EQ(r.top, (sh - kClipHeight) / 2);

  guitest::Pump(700);  // mid-play
  EXPECT_TRUE(GetWindowLongA(movie, GWL_EXSTYLE) & WS_EX_TOPMOST);
  COLORREF centre = guitest::ScreenPixel(sw / 2, sh / 2);
  EXPECT_FALSE(IsBlack(centre)) << std::hex << centre;
  EXPECT_EQ(player.WaitExit(0), -1) << "ended before the clip did";
  EXPECT_TRUE(KeepScreenshot("clip_mid_play"));

  long code = player.WaitExit(kClipMs + 4000);
  DWORD lasted = GetTickCount() - shown;
  EXPECT_EQ(code, 0);
  EXPECT_GE(lasted, kClipMs - 300);
  EXPECT_LT(GetTickCount() - started, kClipMs + 4000);
}

TEST(VideoWindowRoad, ClickOrKeyEndsAtOnce) {
  for (int useKey = 0; useKey < 2; ++useKey) {
    SCOPED_TRACE(useKey ? "key" : "click");
    Player player;
    ASSERT_TRUE(StartPlayer(&player, "RWMovie.exe /c /a /f:\"" + ClipPath() + "\""));
    HWND movie = WaitForMovieWindow(5000);
    ASSERT_NE(movie, nullptr);
    guitest::Pump(300);
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (useKey)
      guitest::PressKey(VK_SPACE);
    else
      guitest::Click(POINT{sw / 2, sh / 2});
    EXPECT_EQ(player.WaitExit(1000), 0);
  }
}

TEST(VideoWindowRoad, UnplayableLinesEndAtOnceWithZero) {
  std::string longPath(300, 'a');
  const char* what[] = {"missing file", "path over the field", "no file at all"};
  const std::string lines[] = {
      "RWMovie.exe /c /a /f:\"Z:\\no\\such\\movie.avi\"",
      "RWMovie.exe /c /a /f:\"C:\\" + longPath + ".avi\"",
      "RWMovie.exe /c /a",
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(what[i]);
    Player player;
    ASSERT_TRUE(StartPlayer(&player, lines[i]));
    EXPECT_EQ(player.WaitExit(10000), 0);  // a process start under Wine may be slow
  }
}

}  // namespace
