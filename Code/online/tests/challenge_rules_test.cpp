// Challenge terms, validation, the rated switch against the clock kinds, the
// colour draw, decline texts and the screening of a received challenge.
#include "challenge_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "session.h"

namespace {

OnlineChallenge Terms(uint32_t flags, uint32_t base, uint32_t bonus, uint32_t colour = kSenderWhite) {
  OnlineChallenge c = DefaultChallengeTerms();
  c.timeType = flags;
  c.base = base;
  c.bonus = bonus;
  c.word7 = colour;
  return c;
}

}  // namespace

TEST(ChallengeRules, ValidationTexts) {
  const std::string range = "The high opponent rating must be higher than the low opponent rating";
  const std::string base = "Base time must be between 1 and 999";
  const std::string bonus = "Bonus time must be less than 999";
  struct Case {
    uint32_t flags, base, bonus, low, high;
    bool post;
    std::string want;
  } cases[] = {
      {kTimeFischer, 5, 999, 1, 9999, false, ""},
      {kTimeFischer, 5, 1000, 1, 9999, false, bonus},
      {kTimeMinutesPerGame, 5, 5000, 1, 9999, false, ""},  // the bonus counts for Fischer only
      {kTimeFischer, 0, 3, 1, 9999, false, base},
      {kTimeMinutesPerGame, 1, 0, 1, 9999, false, ""},
      {kTimeMinutesPerGame, 999, 0, 1, 9999, false, ""},
      {kTimeMinutesPerGame, 1000, 0, 1, 9999, false, base},
      {kTimeHourglass, 0, 0, 1, 9999, false, base},
      {kTimeInfinite, 0, 0, 1, 9999, false, ""},
      {kTimeFischer, 5, 3, 1500, 1500, true, range},
      {kTimeFischer, 5, 3, 1600, 1500, true, range},
      {kTimeFischer, 5, 3, 1500, 1501, true, ""},
      {kTimeFischer, 5, 3, 1500, 1500, false, ""},  // the range is a posting's only
      {kTimeFischer, 0, 3, 1500, 1500, true, range},  // the range is checked first
  };
  for (const Case& c : cases) {
    OnlineChallenge t = Terms(c.flags, c.base, c.bonus);
    t.lowestRating = c.low;
    t.highestRating = c.high;
    EXPECT_EQ(ValidateChallenge(t, c.post), c.want) << c.flags << " " << c.base << "+" << c.bonus;
  }
}

TEST(ChallengeRules, DefaultChallHoldsTenValuesAndRefusesOthers) {
  ChallengeSettings s;
  s.terms = DefaultChallengeTerms();
  EXPECT_EQ(FormatDefaultChallenge(s), "0,0,0,0,130,5,3,1,1,9999");
  s.postMode = s.autopost = 1;
  s.terms = Terms(kTimeFischer | kGameRated | kChallengeEnforced, 1, 0, kColourRandom);
  const std::string text = FormatDefaultChallenge(s);
  EXPECT_EQ(text, "1,1,0,0,50,1,0,2,1,9999");
  ChallengeSettings back;
  ASSERT_TRUE(ParseDefaultChallenge(text, &back));
  EXPECT_EQ(FormatDefaultChallenge(back), text);

  const ChallengeSettings before = back;
  for (const char* bad : {"", "1,1,0,0,50,1,0,2,1", "1,1,0,0,50,1,0,2,1,9999,7", "1,1,0,0,x,1,0,2,1,9999",
                          "1,1,0,0,50,1,0,2,1,", "-1,1,0,0,50,1,0,2,1,9999", "1,1,0,0,50,1,0,2,1,99999999999"}) {
    EXPECT_FALSE(ParseDefaultChallenge(bad, &back)) << bad;
    EXPECT_EQ(FormatDefaultChallenge(back), FormatDefaultChallenge(before)) << bad;
  }
}

TEST(ChallengeRules, RatedSwitchAndClockKindsLimitEachOther) {
  // Rated with Infinite or Hourglass selected switches to Minutes/Game;
  // with Minutes or Fischer the kind stays.
  struct Case {
    uint32_t kind, after;
  } cases[] = {{kTimeInfinite, kTimeMinutesPerGame},
               {kTimeHourglass, kTimeMinutesPerGame},
               {kTimeMinutesPerGame, kTimeMinutesPerGame},
               {kTimeFischer, kTimeFischer}};
  for (const Case& c : cases) {
    OnlineChallenge t = Terms(c.kind | kGameTakebacksAllowed, 5, 0);
    SetChallengeRated(&t, true);
    const ChallengeControls k = ChallengeControlsFor(t);
    EXPECT_EQ(k.kind, c.after);
    EXPECT_TRUE(k.rated && k.enforced && !k.takebacks);
    EXPECT_FALSE(k.enforcedEnabled || k.takebacksEnabled || k.hourglassEnabled || k.infiniteEnabled);
    EXPECT_TRUE(k.ratedEnabled && k.minutesEnabled && k.fischerEnabled);
    // Rated forbids Hourglass and Infinite.
    EXPECT_FALSE(ChooseChallengeKind(&t, kTimeHourglass));
    EXPECT_FALSE(ChooseChallengeKind(&t, kTimeInfinite));
    EXPECT_EQ(t.timeType & kTimeTypeMask, c.after);
    SetChallengeRated(&t, false);
    const ChallengeControls off = ChallengeControlsFor(t);
    EXPECT_TRUE(off.enforcedEnabled && off.takebacksEnabled && off.hourglassEnabled && off.infiniteEnabled);
    EXPECT_FALSE(off.rated);
  }
  // Unrated: Hourglass counts seconds from 5 and cannot be rated; Infinite
  // has no spins and neither rated nor enforced time.
  OnlineChallenge t = Terms(kTimeFischer | kChallengeEnforced, 5, 3);
  ASSERT_TRUE(ChooseChallengeKind(&t, kTimeHourglass));
  ChallengeControls k = ChallengeControlsFor(t);
  EXPECT_STREQ(k.baseLabel, "Seconds:");
  EXPECT_EQ(k.baseMin, 5u);
  EXPECT_FALSE(k.ratedEnabled || k.showBonus);
  ASSERT_TRUE(ChooseChallengeKind(&t, kTimeInfinite));
  k = ChallengeControlsFor(t);
  EXPECT_FALSE(k.enforced || k.enforcedEnabled || k.ratedEnabled || k.showBase || k.showBonus);
  ASSERT_TRUE(ChooseChallengeKind(&t, kTimeFischer));
  k = ChallengeControlsFor(t);
  EXPECT_TRUE(k.showBase && k.showBonus && k.ratedEnabled && k.enforcedEnabled);
  EXPECT_STREQ(k.baseLabel, "Minutes:");
}

TEST(ChallengeRules, RandomColourIsSentAsThreeOrFourNeverTwo) {
  std::set<uint32_t> seen;
  for (uint32_t r = 0; r < 64; ++r) seen.insert(DrawChallengeColour(kColourRandom, r * 2654435761u));
  EXPECT_EQ(seen, (std::set<uint32_t>{kRandomWhite, kRandomBlack}));
  EXPECT_EQ(DrawChallengeColour(kSenderBlack, 7), kSenderBlack);
  EXPECT_EQ(DrawChallengeColour(kSenderWhite, 8), kSenderWhite);
  EXPECT_EQ(SwapPostedColour(kSenderWhite), kSenderBlack);
  EXPECT_EQ(SwapPostedColour(kSenderBlack), kSenderWhite);
  EXPECT_EQ(SwapPostedColour(kColourRandom), kColourRandom);
}

TEST(ChallengeRules, EachDeclineReasonHasItsText) {
  struct Case {
    uint32_t reason;
    const char* text;
  } cases[] = {{0, "%s declines your challenge"},
               {2, "%s is playing another game"},
               {4, "%s is viewing another game"},
               {8, "%s is requesting to view another game"},
               {16, "%s is challenging another user"},
               {32, "%s is being challenged by another user"},
               {64, "%s is no longer logged in"},
               {256, "%s is ignoring you"},
               {512, "%s was unable to create a game record due to program error"},
               {1024, "%s is only accepting replies to his posted challenge"},
               {2048, "%s is away from the monitor"},
               {1, "%s is declining all challenges"},
               {128, "%s is declining all challenges"}};
  for (const Case& c : cases) EXPECT_STREQ(DeclineReasonText(c.reason), c.text) << c.reason;
}

namespace {

struct Screen {
  OnlineChallenge c = Terms(kTimeFischer | kChallengeEnforced, 5, 3, kRandomWhite);
  ScreenInputs in;
  Screen() {
    std::strcpy(c.nickname, "bob");
    in.senderNickname = "bob";
    in.challengerKnown = true;
    in.challengerRating = 1600;
    in.ownPosted = Terms(kTimeFischer | kChallengeEnforced | kGameRated, 5, 3, kColourRandom);
    in.ownPosted.lowestRating = 1500;
    in.ownPosted.highestRating = 1700;
  }
};

}  // namespace

TEST(ChallengeRules, ScreeningByStateIgnoreAndPosting) {
  const uint32_t rated = kGameRated, resume = kChallengeResume;
  struct Case {
    const char* what;
    uint32_t extraFlags, ownState;
    bool ignored, posted;
    int want;
  } cases[] = {
      {"idle", 0, USER_IDLE, false, false, kScreenShow},
      {"rated while viewing", rated, USER_VIEWING, false, false, kScreenShow},
      {"unrated while viewing", 0, USER_VIEWING, false, false, USER_VIEWING},
      {"unrated while playing", 0, USER_PLAYING, false, false, USER_PLAYING},
      {"rated while playing", rated, USER_PLAYING, false, false, USER_PLAYING},
      {"unrated while unavailable", 0, USER_UNAVAILABLE, false, false, USER_UNAVAILABLE},
      {"rated while unavailable", rated, USER_UNAVAILABLE, false, false, kScreenShow},
      {"while challenged", rated, USER_CHALLENGED, false, false, USER_CHALLENGED},
      {"ignored, unrated", 0, USER_IDLE, true, false, 256},
      {"ignored, rated, idle", rated, USER_IDLE, true, false, kScreenShow},
      {"ignored, resume, viewing", resume, USER_VIEWING, true, false, kScreenShow},
      {"ignored, resume, unavailable", resume, USER_UNAVAILABLE, true, false, kScreenShow},
      {"ignored, unrated, unavailable", 0, USER_UNAVAILABLE, true, false, USER_UNAVAILABLE},
      {"ignored, rated, away", rated, USER_AWAY, true, false, USER_AWAY},
      {"posted, not a reply", 0, USER_IDLE, false, true, 1024},
  };
  for (const Case& k : cases) {
    Screen s;
    s.c.timeType |= k.extraFlags;
    s.in.ownState = k.ownState;
    s.in.challengerIgnored = k.ignored;
    s.in.posted = k.posted;
    EXPECT_EQ(ScreenChallenge(s.c, s.in), k.want) << k.what;
  }
}

TEST(ChallengeRules, ScreeningAgainstThePostedChallenge) {
  // Posted: rated Fischer 5+3, random colour, 1500..1700; Allow Challenges
  // off. An unrated Fischer 5+2 is no reply.
  Screen s;
  s.c = Terms(kTimeFischer | kChallengeEnforced, 5, 2, kRandomBlack);
  std::strcpy(s.c.nickname, "bob");
  s.in.ownState = USER_IDLE;
  s.in.posted = true;
  EXPECT_EQ(ScreenChallenge(s.c, s.in), 1024);
  s.in.allowChallenges = true;
  EXPECT_EQ(ScreenChallenge(s.c, s.in), kScreenShow);

  // What a reply is: same flags, base, bonus (Fischer), fitting colour and
  // the replier's rating inside the range, bounds included.
  const OnlineChallenge posted = s.in.ownPosted;
  const uint32_t flags = posted.timeType;
  struct Case {
    const char* what;
    uint32_t flags, base, bonus, colour, rating;
    bool reply;
  } cases[] = {
      {"reply", flags, 5, 3, kRandomBlack, 1600, true},
      {"bonus 2", flags, 5, 2, kRandomBlack, 1600, false},
      {"base 6", flags, 6, 3, kRandomBlack, 1600, false},
      {"unrated", flags & ~kGameRated, 5, 3, kRandomBlack, 1600, false},
      {"undrawn colour", flags, 5, 3, kSenderWhite, 1600, false},
      {"random 2", flags, 5, 3, kColourRandom, 1600, false},
      {"rating at the bottom", flags, 5, 3, kRandomWhite, 1500, true},
      {"rating at the top", flags, 5, 3, kRandomWhite, 1700, true},
      {"rating above", flags, 5, 3, kRandomWhite, 1701, false},
      {"rating below", flags, 5, 3, kRandomWhite, 1499, false},
  };
  for (const Case& k : cases)
    EXPECT_EQ(IsReplyToPosted(posted, Terms(k.flags, k.base, k.bonus, k.colour), k.rating), k.reply) << k.what;
  // The poster's colour decides the reply's: White wants 0, Black wants 1;
  // minutes per game compare no bonus.
  OnlineChallenge white = Terms(kTimeMinutesPerGame, 10, 0, kSenderWhite);
  white.lowestRating = 0;
  EXPECT_TRUE(IsReplyToPosted(white, Terms(kTimeMinutesPerGame, 10, 7, kSenderBlack), 1600));
  EXPECT_FALSE(IsReplyToPosted(white, Terms(kTimeMinutesPerGame, 10, 0, kSenderWhite), 1600));
  white.word7 = kSenderBlack;
  EXPECT_TRUE(IsReplyToPosted(white, Terms(kTimeMinutesPerGame, 10, 0, kSenderWhite), 1600));
  EXPECT_FALSE(IsReplyToPosted(white, Terms(kTimeMinutesPerGame, 10, 0, kRandomWhite), 1600));
}

TEST(ChallengeRules, ChallengesInAnotherNameOrFromStrangersAreDropped) {
  Screen s;
  s.in.ownState = USER_IDLE;
  std::strcpy(s.c.nickname, "alice");  // sent by bob in alice's name
  EXPECT_EQ(ScreenChallenge(s.c, s.in), kScreenDrop);
  std::strcpy(s.c.nickname, "bob");
  s.in.challengerKnown = false;
  EXPECT_EQ(ScreenChallenge(s.c, s.in), kScreenDrop);
  s.in.challengerKnown = true;
  s.in.senderNickname.clear();
  EXPECT_EQ(ScreenChallenge(s.c, s.in), kScreenDrop);
  std::memset(s.c.nickname, 'b', sizeof s.c.nickname);  // no terminator
  s.in.senderNickname = std::string(16, 'b');
  EXPECT_EQ(ScreenChallenge(s.c, s.in), kScreenDrop);
}

TEST(ChallengeRules, ADeclinedRatedResumeCountsAsAWinOnlyWhenDeclinedByHand) {
  const OnlineChallenge ratedResume = Terms(kTimeFischer | kGameRated | kChallengeEnforced | kChallengeResume, 5, 3);
  EXPECT_TRUE(ResumeDeclineCountsAsWin(ratedResume, 0));
  for (uint32_t reason : {1u, 2u, 4u, 128u, 256u, 512u, 1024u, 2048u})
    EXPECT_FALSE(ResumeDeclineCountsAsWin(ratedResume, reason)) << reason;
  EXPECT_FALSE(ResumeDeclineCountsAsWin(Terms(kTimeFischer | kChallengeResume, 5, 3), 0));
  EXPECT_FALSE(ResumeDeclineCountsAsWin(Terms(kTimeFischer | kGameRated, 5, 3), 0));
}
