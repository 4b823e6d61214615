#include "movie_loop.h"
#include "movie_options.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ParseMovieOptions, LinesAsTheLaunchersWriteThem) {
  // The C runtime has dropped the first token before WinMain sees the line,
  // which is why the launchers write their first switch twice.
  MovieOptions intro = ParseMovieOptions("/b /u /c /s:2 /f:\"C:\\Program Files\\Rookwell\\RWOnyxIntro.BIK\" /k ");
  EXPECT_EQ(intro.file, "c:\\program files\\rookwell\\rwonyxintro.bik");
  EXPECT_TRUE(intro.black && intro.centre && intro.reel && intro.ignored);
  EXPECT_FALSE(intro.deck || intro.autoSize || intro.pathRefused);
  EXPECT_EQ(intro.level, 2);
  EXPECT_EQ(intro.parent, 0u);
  EXPECT_EQ(ChooseMovieBackEnd(intro), MovieBackEnd::Reel);

  MovieOptions room = ParseMovieOptions("/u /c /a /s:3 /f:\"D:\\RW\\IntroKidsRoom.mov\" /q ");
  EXPECT_EQ(room.file, "d:\\rw\\introkidsroom.mov");
  EXPECT_TRUE(room.centre && room.autoSize && room.deck);
  EXPECT_FALSE(room.black || room.reel);
  EXPECT_EQ(room.level, 3);
  EXPECT_EQ(ChooseMovieBackEnd(room), MovieBackEnd::Deck);

  MovieOptions clip = ParseMovieOptions("/c /a /f:\"clip.avi\" /p:40 /w:65574");
  EXPECT_EQ(clip.file, "clip.avi");
  EXPECT_EQ(clip.position, 40);
  EXPECT_EQ(clip.parent, 65574u);
  EXPECT_EQ(ChooseMovieBackEnd(clip), MovieBackEnd::VideoWindow);
}

TEST(ParseMovieOptions, QuotedPaths) {
  struct Case {
    const char* line;
    const char* file;
    bool centre;  // a /c after the path: read only when the quote closed
    int level;
  };
  const Case cases[] = {
      {"/f:\"a  b\tc\" /c /s:1", "a b c", true, 1},              // blanks between tokens become one
      {"/f:\"one\" /c", "one", true, 0},                          // quote closed in its own token
      {"/f:\"my movie.avi /c /s:3", "my movie.avi /c /s:3", false, 0},  // never closed: swallows the rest
      {"/f:plain.avi /c", "plain.avi", true, 0},                  // unquoted: one token
      {"/f:\"\" /c", "", true, 0},                                // empty quoted path
      {"/f:\"x\"tail /c", "x", true, 0},                          // text after the closing quote is dropped
      {"/f:first.avi /f:\"second one.avi\"", "second one.avi", false, 0},  // the last /f: wins
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    MovieOptions o = ParseMovieOptions(c.line);
    EXPECT_EQ(o.file, c.file);
    EXPECT_EQ(o.centre, c.centre);
    EXPECT_EQ(o.level, c.level);
    EXPECT_FALSE(o.pathRefused);
  }
}

TEST(ParseMovieOptions, MalformedTokensAreSkipped) {
  struct Case {
    const char* line;
    const char* file;
    int level;
    bool centre;
  };
  const Case cases[] = {
      {"c /c", "", 0, true},                    // a token without a slash
      {"/s3 /c", "", 0, true},                  // a value without its colon
      {"/f movie.avi /c", "", 0, true},         // /f without colon, then a bare word
      {"/ /x /z:9 /c", "", 0, true},            // a lone slash and unknown letters
      {"/s:abc /c", "", 0, true},               // no digits: 0
      {"/s:2x /c", "", 2, true},                // digits end the number
      {"/S:1 /C /F:\"UP.AVI\"", "up.avi", 1, true},  // upper case reads as lower
      {"", "", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    MovieOptions o = ParseMovieOptions(c.line);
    EXPECT_EQ(o.file, c.file);
    EXPECT_EQ(o.level, c.level);
    EXPECT_EQ(o.centre, c.centre);
  }
  EXPECT_EQ(ParseMovieOptions(nullptr).file, "");
}

TEST(ParseMovieOptions, DeckWinsOverReel) {
  EXPECT_EQ(ChooseMovieBackEnd(ParseMovieOptions("/k /q")), MovieBackEnd::Deck);
  EXPECT_EQ(ChooseMovieBackEnd(ParseMovieOptions("/q /k")), MovieBackEnd::Deck);
  EXPECT_EQ(ChooseMovieBackEnd(ParseMovieOptions("/k")), MovieBackEnd::Reel);
  EXPECT_EQ(ChooseMovieBackEnd(ParseMovieOptions("/c /b")), MovieBackEnd::VideoWindow);
}

TEST(MovieOpenFlags, LevelsAddTheirFlags) {
  const struct {
    const char* line;
    uint32_t flags;
  } cases[] = {
      {"/s:1", 0x60080000u}, {"/s:2", 0x00080000u}, {"/s:3", 0x40080000u},
      {"/s:0", 0x00080000u}, {"/s:4", 0x00080000u}, {"", 0x00080000u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(MovieOpenFlags(ParseMovieOptions(c.line).level), c.flags);
  }
}

TEST(ParseMovieOptions, PathLongerThanTheFieldIsRefused) {
  std::string fits(kMovieMaxPath, 'a');
  std::string over(kMovieMaxPath + 1, 'a');
  // A path of exactly the field's size is taken, quoted or not.
  EXPECT_EQ(ParseMovieOptions(("/f:" + fits).c_str()).file, fits);
  MovieOptions quotedFit = ParseMovieOptions(("/f:\"" + fits + "\" /c").c_str());
  EXPECT_EQ(quotedFit.file, fits);
  EXPECT_FALSE(quotedFit.pathRefused);
  // One more is refused; the quoted run is still consumed, so an option
  // after the closing quote is read and nothing of the path leaks into it.
  EXPECT_TRUE(ParseMovieOptions(("/f:" + over).c_str()).pathRefused);
  std::string spread = "/f:\"" + std::string(200, 'a') + " " + std::string(59, 'b') + "\" /c";
  MovieOptions refused = ParseMovieOptions(spread.c_str());
  EXPECT_TRUE(refused.pathRefused);
  EXPECT_EQ(refused.file, "");
  EXPECT_TRUE(refused.centre);
  // An unclosed quote over a long line: refused, and bounded work.
  std::string endless = "/f:\"x";
  for (int i = 0; i < 2000; ++i) endless += " /s:1";
  MovieOptions unclosed = ParseMovieOptions(endless.c_str());
  EXPECT_TRUE(unclosed.pathRefused);
  EXPECT_EQ(unclosed.level, 0);
}

TEST(NextMovieLoopStep, OnlyTheReelLoopPollsAndNothingSpins) {
  struct Case {
    MovieBackEnd backEnd;
    bool firstFrameShown, messageWaiting, frameDue;
    MovieLoopStep step;
  };
  const MovieBackEnd V = MovieBackEnd::VideoWindow, R = MovieBackEnd::Reel, D = MovieBackEnd::Deck;
  const Case cases[] = {
      // Message-driven back ends block when nothing waits.
      {V, false, false, false, MovieLoopStep::WaitMessage},
      {V, true, false, true, MovieLoopStep::WaitMessage},
      {D, true, false, false, MovieLoopStep::WaitMessage},
      {V, false, true, false, MovieLoopStep::ReadMessage},
      {D, false, true, true, MovieLoopStep::ReadMessage},
      // The reel shows its first frame before reading anything.
      {R, false, true, true, MovieLoopStep::ShowFrame},
      {R, false, true, false, MovieLoopStep::Nap},
      {R, true, true, true, MovieLoopStep::ReadMessage},
      {R, true, false, true, MovieLoopStep::ShowFrame},
      {R, true, false, false, MovieLoopStep::Nap},
  };
  for (const Case& c : cases) {
    MovieLoopState s;
    s.backEnd = c.backEnd;
    s.firstFrameShown = c.firstFrameShown;
    s.messageWaiting = c.messageWaiting;
    s.frameDue = c.frameDue;
    EXPECT_EQ(NextMovieLoopStep(s), c.step) << int(c.backEnd) << c.firstFrameShown << c.messageWaiting << c.frameDue;
  }
}

}  // namespace
