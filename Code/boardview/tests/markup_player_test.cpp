// The markup player on a fake board with a settable clock.
#include <gtest/gtest.h>

#include <cstring>

#include "support/fake_markup_host.h"

namespace {

int g_completions = 0;
void CountCompletion(void*) { ++g_completions; }

struct ClipRun {
  FakeMarkupHost host;
  VoiceClip clip;
  explicit ClipRun(std::vector<MarkupEvent> events) {
    clip.events = std::move(events);
    clip.completion = CountCompletion;
    g_completions = 0;
  }
  void Start() { ASSERT_EQ(StartMarkupPlayer(&clip, &host), 1); }
  // One step at the given time since the start.
  int StepAt(uint32_t ms) {
    host.now = 1000 + ms;
    int done = StepMarkupPlayer(&clip);
    if (done && host.queued) {
      host.queued = false;
      EndMarkupPlayer(&clip);
    }
    return done;
  }
  int Played() const { return clip.player ? clip.player->eventsPlayed : -1; }
};

TEST(MarkupPlayer, EventsPlayOnTheClockOnePerStep) {
  ClipRun r({{1500, "H:e4"}, {1500, "H2:d4"}, {1600, "R"}});
  r.Start();
  EXPECT_EQ(r.host.poll, 1);
  EXPECT_EQ(r.StepAt(1499), 0);
  EXPECT_EQ(r.Played(), 0);
  EXPECT_EQ(r.StepAt(1500), 0);
  EXPECT_EQ(r.Played(), 1);
  EXPECT_EQ(r.StepAt(1500), 0);  // due together: the next step
  EXPECT_EQ(r.Played(), 2);
  EXPECT_TRUE(r.host.Called("mark d4 4"));
  EXPECT_EQ(r.StepAt(1599), 0);
  EXPECT_EQ(r.StepAt(1600), 0);
  EXPECT_EQ(r.Played(), 3);
  r.host.soundPlaying = true;
  EXPECT_EQ(r.StepAt(5000), 0);  // waits for the sound
  r.host.soundPlaying = false;
  EXPECT_EQ(r.StepAt(5001), 1);
  EXPECT_EQ(r.host.poll, 0);
  EXPECT_EQ(g_completions, 1);
  EXPECT_EQ(r.clip.flags, 0u);
}

TEST(MarkupPlayer, DelayHoldsLaterEvents) {
  ClipRun r({{100, "D:2000"}, {200, "H:a1"}, {300, "H:a2"}});
  r.Start();
  r.StepAt(100);
  EXPECT_EQ(r.Played(), 1);
  EXPECT_EQ(r.StepAt(2099), 0);
  EXPECT_EQ(r.Played(), 1);
  r.StepAt(2100);
  EXPECT_EQ(r.Played(), 2);
  r.StepAt(2100);
  EXPECT_EQ(r.Played(), 3);
}

TEST(MarkupPlayer, PausedTimeDoesNotCount) {
  ClipRun r({{1000, "H:a1"}});
  r.Start();
  r.host.now = 1000 + 400;
  PauseVoiceClipTime(&r.clip);
  r.StepAt(5000);
  EXPECT_EQ(r.Played(), 0);
  r.host.now = 1000 + 5000;
  ResumeVoiceClipTime(&r.clip);
  r.StepAt(5599);
  EXPECT_EQ(r.Played(), 0);
  r.StepAt(5600);
  EXPECT_EQ(r.Played(), 1);
}

TEST(MarkupPlayer, FinishedClipPlaysTheRestAndSkipsDelays) {
  ClipRun r({{100, "H:a1"}, {9000, "D:5000"}, {9500, "H:a2"}});
  r.Start();
  r.clip.flags = CLIP_FINISHED;
  r.StepAt(0);
  r.StepAt(0);
  r.StepAt(0);
  EXPECT_EQ(r.Played(), 3);
  EXPECT_EQ(r.clip.flags, static_cast<uint32_t>(CLIP_FINISHED));
  EXPECT_EQ(r.StepAt(0), 1);
}

TEST(MarkupPlayer, HideModeSkipsDrawingButNotTheGame) {
  ClipRun r({{0, "S:e2e4"}, {0, "M:b"}, {0, "B:8/8/8/8/8/8/8/K6k w - - 0 1"}});
  r.host.hideMode = 1;
  r.Start();
  for (int i = 0; i < 3; ++i) r.StepAt(0);
  EXPECT_FALSE(r.host.Called("slide"));
  EXPECT_FALSE(r.host.Called("jump"));
  EXPECT_EQ(r.host.game[MakeSquare(7, 0)], WHITE + KING);
  EXPECT_EQ(r.clip.player->position, 1);
}

TEST(MarkupPlayer, CommitPutsBackOnlyWhatChanged) {
  ClipRun r({{0, "H:e4"}, {0, "A:Te2e4"}, {0, "U"}});
  r.Start();
  for (int i = 0; i < 3; ++i) r.StepAt(0);
  EXPECT_TRUE(r.host.Called("marks cleared"));
  EXPECT_TRUE(r.host.Called("arrows cleared"));
  EXPECT_FALSE(r.host.Called("sprites reset"));

  ClipRun s({{0, "S:e2e4"}, {0, "U"}});
  s.Start();
  s.StepAt(0);
  EXPECT_EQ(s.host.pieces[MakeSquare(4, 4)], WHITE + PAWN);
  EXPECT_TRUE(s.host.Called("slide 4 6 4 4"));
  s.StepAt(0);
  EXPECT_EQ(s.host.pieces[MakeSquare(6, 4)], WHITE + PAWN);
  EXPECT_EQ(s.host.pieces[MakeSquare(4, 4)], 0);
  EXPECT_EQ(s.clip.player->moved, 0);
}

TEST(MarkupPlayer, LettersAndArguments) {
  ClipRun r({});
  r.Start();
  VoiceClip& c = r.clip;
  DispatchMarkupEvent(&c, "HX:e4");
  EXPECT_TRUE(r.host.calls.empty());
  DispatchMarkupEvent(&c, "h1:e4");
  EXPECT_TRUE(r.host.Called("mark e4 2"));
  DispatchMarkupEvent(&c, "Hi:a1");
  EXPECT_TRUE(r.host.Called("mark a1 1"));
  DispatchMarkupEvent(&c, "P:WQd1");
  EXPECT_EQ(r.host.pieces[MakeSquare(7, 3)], WHITE + QUEEN);
  EXPECT_EQ(c.player->putPiece, 1);
  DispatchMarkupEvent(&c, "pause");
  EXPECT_EQ(r.host.pauseText, kDefaultPauseText);
  DispatchMarkupEvent(&c, "PAUSE:Look at e5");
  EXPECT_EQ(r.host.pauseText, "Look at e5");
  EXPECT_EQ(c.flags & CLIP_PAUSED, 0u);
  DispatchMarkupEvent(&c, "K:Watch the knight");
  EXPECT_EQ(r.host.status, "Watch the knight");
  DispatchMarkupEvent(&c, "K");
  EXPECT_EQ(r.host.status, "");
  DispatchMarkupEvent(&c, "M:B");
  EXPECT_EQ(r.host.side, BLACK);
  DispatchMarkupEvent(&c, "A:Tg1f3 Wd2d4Ta1a9");
  EXPECT_EQ(ArrowCount(), 2);
  EXPECT_EQ(r.host.arrows[0].knight, 1);
  DispatchMarkupEvent(&c, "X:e5");  // empty: nothing
  EXPECT_EQ(c.player->removePiece, 0);
  DispatchMarkupEvent(&c, "X:e2");
  EXPECT_EQ(c.player->removePiece, 1);
  DispatchMarkupEvent(&c, "G:BNc6");
  EXPECT_TRUE(r.host.Called("glyph 1 4 2 2"));
  DispatchMarkupEvent(&c, "O");
  EXPECT_TRUE(r.host.Called("glyphs cleared"));
  DispatchMarkupEvent(&c, "F");
  EXPECT_EQ(c.player->turned, 1);
  // An over-long delay argument is cut, not overrun.
  std::string longText = "D:" + std::string(1000, '9');
  DispatchMarkupEvent(&c, longText.c_str());
  EXPECT_TRUE(c.flags & CLIP_WAITING);
}

TEST(MarkupPlayer, CompletionRunsOnceOnStopAndOnEnd) {
  ClipRun r({{0, "S:e2e4"}, {5000, "H:a1"}});
  r.Start();
  r.StepAt(0);
  StopMarkupPlayer(&r.clip);
  EXPECT_EQ(g_completions, 1);
  EXPECT_EQ(r.host.poll, 0);
  EXPECT_EQ(r.host.pieces[MakeSquare(6, 4)], WHITE + PAWN);  // restored
  EXPECT_FALSE(r.clip.player);

  ClipRun e({{0, "H:a1"}});
  e.Start();
  e.StepAt(0);
  EXPECT_EQ(e.StepAt(1), 1);
  EXPECT_EQ(g_completions, 1);
}

TEST(MarkupPlayer, KeptMarkupKeepsKingSquaresRight) {
  ClipRun r({{0, "S:e1e2"}, {0, "X:e8"}, {0, "P:BKd5"}});
  r.host.kindFlags = kGameKeepsMarkup;
  r.host.game[MakeSquare(6, 4)] = 0;  // room for the king
  r.host.pieces = r.host.game;
  FinishBoardSetup(&r.host.game);
  r.Start();
  r.StepAt(0);
  EXPECT_EQ(r.host.game[WHITE_KING_SQUARE], MakeSquare(6, 4));
  r.StepAt(0);
  EXPECT_EQ(r.host.game[BLACK_KING_SQUARE], NO_SQUARE);
  r.StepAt(0);
  EXPECT_EQ(r.host.game[BLACK_KING_SQUARE], MakeSquare(3, 3));
  EXPECT_EQ(r.StepAt(1), 1);
  EXPECT_EQ(r.host.game[MakeSquare(3, 3)], BLACK + KING);  // kept in the game
}

TEST(MarkupPlayer, PanelGamesRestoreThroughThePanel) {
  ClipRun r({{0, "F"}, {0, "S:e2e4"}});
  r.host.kindFlags = kGamePanelGame;
  r.Start();
  r.StepAt(0);
  r.StepAt(0);
  EXPECT_EQ(r.StepAt(1), 1);
  EXPECT_TRUE(r.host.Called("panel restored 1"));
  EXPECT_TRUE(r.host.Called("sprites reset"));
}

}  // namespace
