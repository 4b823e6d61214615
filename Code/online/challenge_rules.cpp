// Challenge terms, validation and screening: see challenge_rules.h.
#include "challenge_rules.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "session.h"

OnlineChallenge DefaultChallengeTerms() {
  OnlineChallenge c;
  c.timeType = kTimeFischer | kGameViewersAllowed;
  c.base = 5;
  c.bonus = 3;
  c.word7 = kSenderWhite;
  c.lowestRating = 1;
  c.highestRating = kNoUpperRating;
  return c;
}

std::string FormatDefaultChallenge(const ChallengeSettings& s) {
  char text[160];
  std::snprintf(text, sizeof text, "%u,%u,%u,%u,%u,%u,%u,%u,%u,%u", s.postMode, s.autopost, s.ignore, s.allow,
                s.terms.timeType, s.terms.base, s.terms.bonus, s.terms.word7, s.terms.lowestRating,
                s.terms.highestRating);
  return text;
}

bool ParseDefaultChallenge(const std::string& text, ChallengeSettings* s) {
  uint32_t v[10];
  const char* p = text.c_str();
  for (int i = 0; i < 10; ++i) {
    while (*p == ' ') ++p;
    if (*p < '0' || *p > '9') return false;
    char* end = nullptr;
    // 64 bits wide in both builds: a 32-bit long would saturate silently.
    errno = 0;
    const unsigned long long n = std::strtoull(p, &end, 10);
    if (errno == ERANGE || n > 0xFFFFFFFFull) return false;
    v[i] = uint32_t(n);
    p = end;
    while (*p == ' ') ++p;
    if (i < 9) {
      if (*p != ',') return false;
      ++p;
    }
  }
  if (*p) return false;
  ChallengeSettings out = *s;
  out.postMode = v[0] ? 1 : 0;
  out.autopost = v[1] ? 1 : 0;
  out.ignore = v[2] ? 1 : 0;
  out.allow = v[3] ? 1 : 0;
  out.terms.timeType = v[4];
  out.terms.base = v[5];
  out.terms.bonus = v[6];
  out.terms.word7 = v[7];
  out.terms.lowestRating = v[8];
  out.terms.highestRating = v[9];
  *s = out;
  return true;
}

std::string ValidateChallenge(const OnlineChallenge& t, bool postMode) {
  if (postMode && t.highestRating <= t.lowestRating)
    return "The high opponent rating must be higher than the low opponent rating";
  const uint32_t kind = t.timeType & kTimeTypeMask;
  if (kind != kTimeInfinite && (t.base < 1 || t.base > 999)) return "Base time must be between 1 and 999";
  if (kind == kTimeFischer && t.bonus > 999) return "Bonus time must be less than 999";
  return "";
}

ChallengeControls ChallengeControlsFor(const OnlineChallenge& t) {
  ChallengeControls c;
  c.kind = t.timeType & kTimeTypeMask;
  c.rated = (t.timeType & kGameRated) != 0;
  c.enforced = (t.timeType & kChallengeEnforced) != 0;
  c.takebacks = (t.timeType & kGameTakebacksAllowed) != 0;
  c.viewers = (t.timeType & kGameViewersAllowed) != 0;
  c.ratedEnabled = c.kind == kTimeMinutesPerGame || c.kind == kTimeFischer;
  c.enforcedEnabled = !c.rated && c.kind != kTimeInfinite;
  c.takebacksEnabled = !c.rated;
  c.hourglassEnabled = c.infiniteEnabled = !c.rated;
  c.showBase = c.kind != kTimeInfinite;
  c.showBonus = c.kind == kTimeFischer;
  c.baseLabel = c.kind == kTimeHourglass ? "Seconds:" : "Minutes:";
  c.baseMin = c.kind == kTimeHourglass ? 5 : 1;
  return c;
}

bool ChooseChallengeKind(OnlineChallenge* t, uint32_t kind) {
  const bool rated = (t->timeType & kGameRated) != 0;
  switch (kind) {
    case kTimeMinutesPerGame:
    case kTimeFischer:
      break;
    case kTimeHourglass:
      if (rated) return false;
      break;
    case kTimeInfinite:
      if (rated) return false;
      t->timeType &= ~kChallengeEnforced;
      break;
    default:
      return false;
  }
  t->timeType = (t->timeType & ~kTimeTypeMask) | kind;
  return true;
}

void SetChallengeRated(OnlineChallenge* t, bool on) {
  if (!on) {
    t->timeType &= ~kGameRated;
    return;
  }
  const uint32_t kind = t->timeType & kTimeTypeMask;
  if (kind != kTimeMinutesPerGame && kind != kTimeFischer) t->timeType = (t->timeType & ~kTimeTypeMask) | kTimeMinutesPerGame;
  t->timeType |= kGameRated | kChallengeEnforced;
  t->timeType &= ~kGameTakebacksAllowed;
}

uint32_t DrawChallengeColour(uint32_t colour, uint32_t random) {
  if (colour < kColourRandom) return colour;
  return (random & 1) ? kRandomWhite : kRandomBlack;
}

uint32_t SwapPostedColour(uint32_t colour) {
  if (colour == kSenderBlack) return kSenderWhite;
  if (colour == kSenderWhite) return kSenderBlack;
  return colour;
}

const char* DeclineReasonText(uint32_t reason) {
  switch (reason) {
    case 0: return "%s declines your challenge";
    case 2: return "%s is playing another game";
    case 4: return "%s is viewing another game";
    case 8: return "%s is requesting to view another game";
    case 16: return "%s is challenging another user";
    case 32: return "%s is being challenged by another user";
    case 64: return "%s is no longer logged in";
    case 256: return "%s is ignoring you";
    case 512: return "%s was unable to create a game record due to program error";
    case 1024: return "%s is only accepting replies to his posted challenge";
    case 2048: return "%s is away from the monitor";
    default: return "%s is declining all challenges";
  }
}

bool IsReplyToPosted(const OnlineChallenge& posted, const OnlineChallenge& reply, uint32_t rating) {
  if (posted.timeType != reply.timeType) return false;
  const uint32_t kind = posted.timeType & kTimeTypeMask;
  if (kind != kTimeInfinite && posted.base != reply.base) return false;
  if (kind == kTimeFischer && posted.bonus != reply.bonus) return false;
  const uint32_t want = posted.word7, got = reply.word7;
  const bool colourFits = want >= kColourRandom ? (got == kRandomWhite || got == kRandomBlack)
                          : want == kSenderWhite ? got == kSenderBlack
                                                 : got == kSenderWhite;
  if (!colourFits) return false;
  return rating >= posted.lowestRating && rating <= posted.highestRating;
}

int ScreenChallenge(const OnlineChallenge& c, const ScreenInputs& in) {
  // The challenger is the user who sent it: terms naming anybody else are
  // a forgery and go no further.
  if (!in.challengerKnown || in.senderNickname.empty()) return kScreenDrop;
  if (!NameIsTerminated(c.nickname, kNameSize) || in.senderNickname != c.nickname) return kScreenDrop;
  const bool ratedOrResume = (c.timeType & (kGameRated | kChallengeResume)) != 0;
  const uint32_t state = in.ownState;
  const bool idle = state == USER_IDLE, viewing = state == USER_VIEWING;
  if (ratedOrResume && (idle || viewing || state == USER_UNAVAILABLE)) return kScreenShow;
  // Viewing lets only rated and resumed games through (above).
  if (!idle) return int(state & 0x7FFFFFFF);
  if (in.challengerIgnored) return int(kDeclineIgnored);
  if (in.posted && !in.allowChallenges && !IsReplyToPosted(in.ownPosted, c, in.challengerRating))
    return int(kDeclineNotAReply);
  return kScreenShow;
}

bool ChallengeIsResume(const OnlineChallenge& t) { return (t.timeType & kChallengeResume) != 0; }

bool ChallengeIsRatedResume(const OnlineChallenge& t) {
  return (t.timeType & (kGameRated | kChallengeResume)) == (kGameRated | kChallengeResume);
}

bool ResumeDeclineCountsAsWin(const OnlineChallenge& declined, uint32_t reason) {
  return reason == kDeclineByHand && ChallengeIsRatedResume(declined);
}

bool HasPostedChallenge(const OnlineChallenge& c) {
  return (c.head[0] | c.head[1] | c.head[2] | c.head[3]) != 0;
}

bool IsAutoplayTimedGame(const OnlineChallenge& t) {
  const uint32_t kind = t.timeType & kTimeTypeMask;
  return (kind == kTimeMinutesPerGame || kind == kTimeFischer) && (t.timeType & kChallengeEnforced) &&
         !(t.timeType & kGameTakebacksAllowed);
}

std::string FormatRatingChange(int32_t newRating, int32_t oldRating) {
  const int32_t d = newRating - oldRating;
  char text[16];
  std::snprintf(text, sizeof text, "%c%0d", d < 0 ? '-' : '+', d < 0 ? -d : d);
  return text;
}
