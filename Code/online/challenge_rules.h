// The rules of challenges between players, apart from any window: the
// stored terms ("default_chall"), validation and its texts, the way the
// rated switch and the clock kinds limit each other, the colour draw, the
// texts of a declined challenge, and the screening of a received challenge
// (show it, decline it with a reason, or drop it).
//
// Interface: ChallengeSettings, DefaultChallengeTerms, FormatDefaultChallenge,
// ParseDefaultChallenge, ValidateChallenge, ChallengeControls,
// ChallengeControlsFor, ChooseChallengeKind, SetChallengeRated,
// DrawChallengeColour, SwapPostedColour, DeclineReasonText, ScreenInputs,
// ScreenChallenge, IsReplyToPosted, ResumeDeclineCountsAsWin,
// ChallengeIsResume, HasPostedChallenge, IsAutoplayTimedGame.
#pragma once

#include <cstdint>
#include <string>

#include "wire.h"

// Challenge flag bits beyond the descriptor's (wire.h).
constexpr uint32_t kChallengeResume = 0x200;
constexpr uint32_t kChallengeEnforced = kGameUnratedEnforced;  // 0x10

// Colours, from the sender's side.
constexpr uint32_t kSenderBlack = 0, kSenderWhite = 1, kColourRandom = 2, kRandomWhite = 3, kRandomBlack = 4;

constexpr uint32_t kNoUpperRating = 9999;

// Decline reasons of this dialog's own; the others are the decliner's state.
constexpr uint32_t kDeclineByHand = 0;
constexpr uint32_t kDeclineIgnored = 256;
constexpr uint32_t kDeclineGameFailed = 512;
constexpr uint32_t kDeclineNotAReply = 1024;

struct ChallengeSettings {
  uint32_t postMode = 0, autopost = 0, ignore = 0, allow = 0;
  OnlineChallenge terms;
};

// Fischer 5 + 3, others can view, the sender White, any opponent.
OnlineChallenge DefaultChallengeTerms();

// "post,autopost,ignore,allow,flags,base,bonus,colour,min,max".
std::string FormatDefaultChallenge(const ChallengeSettings& s);
// False (nothing changed) unless the text holds ten unsigned numbers.
bool ParseDefaultChallenge(const std::string& text, ChallengeSettings* s);

// Empty when the terms may be sent; else the text to show.
std::string ValidateChallenge(const OnlineChallenge& terms, bool postMode);

// The state of the terms' controls: what is checked follows the flags, what
// can be changed follows the rated switch and the clock kind.
struct ChallengeControls {
  uint32_t kind = 0;
  bool rated = false, ratedEnabled = true;
  bool enforced = false, enforcedEnabled = true;
  bool takebacks = false, takebacksEnabled = true;
  bool viewers = false;
  bool minutesEnabled = true, fischerEnabled = true, hourglassEnabled = true, infiniteEnabled = true;
  bool showBase = true, showBonus = false;
  const char* baseLabel = "Minutes:";
  uint32_t baseMin = 1, baseMax = 999;
};
ChallengeControls ChallengeControlsFor(const OnlineChallenge& terms);

// A clock kind button: false (terms unchanged) when the rated switch forbids
// the kind. Infinite time clears rated and enforced; hourglass clears rated.
bool ChooseChallengeKind(OnlineChallenge* terms, uint32_t kind);
// Rated on: minutes per game unless the kind is already minutes or Fischer,
// time enforced, no takebacks.
void SetChallengeRated(OnlineChallenge* terms, bool on);

// The colour a challenge is sent with: a random choice becomes 3 (odd
// `random`) or 4, never 2.
uint32_t DrawChallengeColour(uint32_t colour, uint32_t random);
// A posted challenge's terms answered by another: black and white swap
// sides (the terms were written from the poster's side).
uint32_t SwapPostedColour(uint32_t colour);

// The "%s ..." text of a decline reason.
const char* DeclineReasonText(uint32_t reason);

// Screening a received challenge.
constexpr int kScreenDrop = -1;  // not acted on at all
constexpr int kScreenShow = -2;  // the received-challenge dialog opens
struct ScreenInputs {
  std::string senderNickname;  // from the transport; empty when unknown
  bool challengerKnown = false;  // in the user table
  bool challengerIgnored = false;
  uint32_t challengerRating = 0;  // in the category of the challenge's clock
  uint32_t ownState = 0;
  bool posted = false;  // a posted challenge of the own is out
  bool allowChallenges = false;
  OnlineChallenge ownPosted;
};
// kScreenDrop, kScreenShow or the decline reason.
int ScreenChallenge(const OnlineChallenge& received, const ScreenInputs& in);
// Whether a challenge answers the posted one: same flags, base for timed
// kinds, bonus for Fischer, fitting colours, the rating in the range.
bool IsReplyToPosted(const OnlineChallenge& posted, const OnlineChallenge& reply, uint32_t replierRating);

bool ChallengeIsResume(const OnlineChallenge& terms);
bool ChallengeIsRatedResume(const OnlineChallenge& terms);
// A declined rated resume is counted for both players, or for neither: the
// decliner books the loss only when declining by hand, so the challenger
// books the win then and only then.
bool ResumeDeclineCountsAsWin(const OnlineChallenge& declined, uint32_t reason);

// Whether a user record carries a posted challenge (its GUID set).
bool HasPostedChallenge(const OnlineChallenge& c);
// A game the autoplay accepts: minutes per game or Fischer, time enforced,
// no takebacks.
bool IsAutoplayTimedGame(const OnlineChallenge& terms);

// The rating change text "+12" / "-7" of a new rating against the old.
std::string FormatRatingChange(int32_t newRating, int32_t oldRating);
