// The reel (/k) and deck (/q) roads under Wine, started with the exact
// lines the main program's launcher writes, their stand-ins' logs read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "guitest.h"
#include "movie_process.h"

using namespace movietest;

namespace {

std::string IntroLine(int level, const std::string& path) {
  return "/b /b /u /c /s:" + std::to_string(level) + " /f:\"" + path + "\" /k ";
}

TEST(ReelRoad, IntroPlaysFullScreenCentredAndEndsAfterItsLastFrame) {
  // A white window under the player: black corners are then the player's.
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  HWND backdrop = guitest::CreateTestWindow(RECT{0, 0, sw, sh}, [](HWND w, UINT m, WPARAM wp, LPARAM, bool* handled) {
    if (m != WM_ERASEBKGND) return LRESULT(0);
    *handled = true;
    return guitest::EraseWith(w, wp, RGB(255, 255, 255));
  });
  guitest::Pump(100);
  ASSERT_FALSE(IsBlack(guitest::ScreenPixel(2, 2)));

  std::string log = StartLog("RW_REEL_LOG");
  std::string clip = CopyClip("reel movies", "RWOnyxIntro.BIK");
  Player player;
  ASSERT_TRUE(StartPlayer(&player, IntroLine(2, clip)));
  HWND movie = WaitForMovieWindow(5000);
  ASSERT_NE(movie, nullptr);
  DWORD shown = GetTickCount();

  RECT r;
  GetWindowRect(movie, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, sw);
  EXPECT_EQ(r.bottom, sh);

  guitest::Pump(700);
  EXPECT_TRUE(IsBlack(guitest::ScreenPixel(2, 2)));
  EXPECT_TRUE(IsBlack(guitest::ScreenPixel(sw - 3, sh - 3)));
  EXPECT_TRUE(IsBlack(guitest::ScreenPixel((sw - kClipWidth) / 2 - 3, sh / 2)));  // just left of the movie
  EXPECT_FALSE(IsBlack(guitest::ScreenPixel(sw / 2, sh / 2)));
  EXPECT_FALSE(IsBlack(guitest::ScreenPixel((sw - kClipWidth) / 2 + 2, (sh - kClipHeight) / 2 + 2)));
  EXPECT_TRUE(KeepScreenshot("reel_mid_play"));

  EXPECT_EQ(player.WaitExit(kClipMs + 6000), 0);
  DWORD lasted = GetTickCount() - shown;
  EXPECT_GE(lasted, kClipMs - 300);

  std::string text = ReadLog(log);
  EXPECT_NE(text.find("open flags=0x00080000"), std::string::npos) << text;
  EXPECT_NE(text.find("offset " + std::to_string((sw - kClipWidth) / 2) + "," +
                      std::to_string((sh - kClipHeight) / 2)),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("frame " + std::to_string(kClipFrames) + "\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("closed"), std::string::npos) << text;
  DestroyWindow(backdrop);
}

TEST(ReelRoad, FirstFrameComesBeforeAnyMessageAndAClickEndsAtOnce) {
  // A click already waiting when the loop starts: the first frame is still
  // shown, then the click ends the movie.
  std::string log = StartLog("RW_REEL_LOG");
  std::string clip = CopyClip("reel movies", "rwonyxintro.bik");
  Player player;
  ASSERT_TRUE(StartPlayer(&player, IntroLine(1, clip)));
  HWND movie = nullptr;
  guitest::WaitFor([&] { return (movie = FindWindowA("RW_MOVIE_CLASS", nullptr)) != nullptr; }, 5000);
  ASSERT_NE(movie, nullptr);
  PostMessageA(movie, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(player.WaitExit(2000), 0);
  std::string text = ReadLog(log);
  EXPECT_NE(text.find("open flags=0x60080000"), std::string::npos) << text;
  EXPECT_NE(text.find("frame 1\r\nblit 1"), std::string::npos) << text;
  EXPECT_EQ(text.find("frame " + std::to_string(kClipFrames) + "\r\n"), std::string::npos) << text;

  // A real click through the input queue, mid-play, ends it within a second.
  log = StartLog("RW_REEL_LOG");
  Player second;
  ASSERT_TRUE(StartPlayer(&second, IntroLine(3, clip)));
  ASSERT_NE(WaitForMovieWindow(5000), nullptr);
  guitest::Pump(400);
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  guitest::Click(POINT{sw / 2, sh / 2});
  EXPECT_EQ(second.WaitExit(1000), 0);
  EXPECT_NE(ReadLog(log).find("open flags=0x40080000"), std::string::npos);
}

TEST(ReelRoad, ParentWindowFromTheCommandLineIsCovered) {
  // /w: names the parent by its decimal handle: the movie window lies over
  // the parent's window rectangle and the movie is centred in it.
  RECT parentRect{100, 80, 500, 380};
  HWND parent = guitest::CreateTestWindow(parentRect);
  std::string log = StartLog("RW_REEL_LOG");
  std::string clip = CopyClip("reel movies", "rwonyxintro.bik");
  Player player;
  std::string line = "/b /b /c /s:2 /w:" + std::to_string(reinterpret_cast<UINT_PTR>(parent)) + " /f:\"" + clip +
                     "\" /k ";
  ASSERT_TRUE(StartPlayer(&player, line));
  HWND movie = WaitForMovieWindow(5000);
  ASSERT_NE(movie, nullptr);
  RECT r;
  GetWindowRect(movie, &r);
  EXPECT_TRUE(EqualRect(&r, &parentRect)) << r.left << "," << r.top << " " << r.right << "," << r.bottom;
  EXPECT_EQ(GetWindow(movie, GW_OWNER), parent);
  guitest::Click(POINT{300, 230});
  EXPECT_EQ(player.WaitExit(1000), 0);
  std::string want = "offset " + std::to_string((400 - kClipWidth) / 2) + "," + std::to_string((300 - kClipHeight) / 2);
  EXPECT_NE(ReadLog(log).find(want), std::string::npos) << ReadLog(log);
  DestroyWindow(parent);
}

TEST(ReelRoad, AFileThatIsNoMovieEndsWithZero) {
  std::string log = StartLog("RW_REEL_LOG");
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string bogus = std::string(temp) + "not a movie.bik";
  HANDLE f = CreateFileA(bogus.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(f, "RIFF nonsense", 13, &written, nullptr);
  CloseHandle(f);
  Player player;
  ASSERT_TRUE(StartPlayer(&player, IntroLine(2, bogus)));
  EXPECT_EQ(player.WaitExit(10000), 0);  // a slow start under a busy Wine
  EXPECT_NE(ReadLog(log).find("open failed"), std::string::npos);
}

TEST(DeckRoad, KidsMoviePlaysInAWindowOfItsSizeAndEndsByItself) {
  std::string log = StartLog("RW_DECK_LOG");
  std::string clip = CopyClip("deck movies", "IntroKidsRoom.mov");
  Player player;
  ASSERT_TRUE(StartPlayer(&player, "  /u /u /c /a /s:3 /f:\"" + clip + "\" /q "));
  HWND movie = WaitForMovieWindow(5000);
  ASSERT_NE(movie, nullptr);
  DWORD shown = GetTickCount();

  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  RECT r;
  GetWindowRect(movie, &r);
  EXPECT_EQ(r.right - r.left, kClipWidth);
  EXPECT_EQ(r.bottom - r.top, kClipHeight);
  EXPECT_EQ(r.left, (sw - kClipWidth) / 2);
  EXPECT_EQ(r.top, (sh - kClipHeight) / 2);

  guitest::Pump(700);
  EXPECT_FALSE(IsBlack(guitest::ScreenPixel(sw / 2, sh / 2)));
  EXPECT_TRUE(KeepScreenshot("deck_mid_play"));

  EXPECT_EQ(player.WaitExit(kClipMs + 6000), 0);
  DWORD lasted = GetTickCount() - shown;
  EXPECT_GE(lasted, kClipMs - 300);
  EXPECT_LE(lasted, kClipMs + 2000);
  std::string text = ReadLog(log);
  EXPECT_NE(text.find("done after " + std::to_string(kClipFrames) + " frames"), std::string::npos) << text;
  EXPECT_NE(text.find("movie disposed"), std::string::npos) << text;
}

TEST(DeckRoad, KeyEndsAtOnceAndAMissingFileEndsWithZero) {
  std::string clip = CopyClip("deck movies", "IntroKidsRoom.mov");
  Player player;
  ASSERT_TRUE(StartPlayer(&player, "  /u /u /c /a /s:3 /f:\"" + clip + "\" /q "));
  ASSERT_NE(WaitForMovieWindow(5000), nullptr);
  guitest::Pump(300);
  guitest::PressKey(VK_ESCAPE);
  EXPECT_EQ(player.WaitExit(1000), 0);

  Player missing;
  ASSERT_TRUE(StartPlayer(&missing, "  /u /u /c /a /s:3 /f:\"Z:\\no\\such\\IntroKidsRoom.mov\" /q "));
  EXPECT_EQ(missing.WaitExit(10000), 0);  // a process start under Wine may be slow
}

// The program's own movies as the launcher starts them: screenshots of the
// intro's title and of the kids room greeting mid-play.
TEST(ProgramMovies, IntroAndKidsMoviePlay) {
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  {
    Player intro;
    ASSERT_TRUE(StartPlayer(&intro, IntroLine(2, WindowsPath(RW_MOVIE_INTRO))));
    ASSERT_NE(WaitForMovieWindow(5000), nullptr);
    guitest::Pump(6500);  // the title is up
    EXPECT_FALSE(IsBlack(guitest::ScreenPixel(sw / 2, sh / 2)));
    EXPECT_TRUE(KeepScreenshot("intro_title"));
    guitest::Click(POINT{sw / 2, sh / 2});
    EXPECT_EQ(intro.WaitExit(1000), 0);
  }
  {
    Player kids;
    ASSERT_TRUE(StartPlayer(&kids, "  /u /u /c /a /s:3 /f:\"" + WindowsPath(RW_MOVIE_KIDS) + "\" /q "));
    HWND movie = WaitForMovieWindow(5000);
    ASSERT_NE(movie, nullptr);
    DWORD shown = GetTickCount();
    RECT r;
    GetWindowRect(movie, &r);
    EXPECT_EQ(r.right - r.left, 320);
    EXPECT_EQ(r.bottom - r.top, 240);
    guitest::Pump(2500);
    EXPECT_TRUE(KeepScreenshot("kids_room_greeting"));
    EXPECT_EQ(kids.WaitExit(6000 + 2000), 0);
    EXPECT_LE(GetTickCount() - shown, DWORD(6000 + 2000));
  }
}

}  // namespace
