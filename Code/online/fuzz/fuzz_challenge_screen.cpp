// Screening of a received challenge over arbitrary terms and inputs: it
// never reads past a name, returns a known verdict, drops every challenge
// in another's name, and a reply it shows to a posting is one.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "challenge_rules.h"
#include "session.h"
#include "wire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kChallengeSize * 2 + 8) return 0;
  OnlineChallenge received, posted;
  // Unpacking refuses unterminated names; the screen gets the raw field too.
  const bool termsOk = UnpackOnlineChallenge(data, &received);
  if (!termsOk) std::memcpy(received.nickname, data + 40, kNameSize);
  UnpackOnlineChallenge(data + kChallengeSize, &posted);
  const uint8_t* p = data + 2 * kChallengeSize;
  ScreenInputs in;
  in.ownState = uint32_t(p[0]) << (p[1] & 15);
  in.challengerKnown = p[2] & 1;
  in.challengerIgnored = p[2] & 2;
  in.posted = p[2] & 4;
  in.allowChallenges = p[2] & 8;
  in.challengerRating = uint32_t(p[3]) | uint32_t(p[4]) << 8;
  in.ownPosted = posted;
  const size_t nameBytes = size - (2 * kChallengeSize + 8);
  const char* name = reinterpret_cast<const char*>(p + 8);
  if (p[5] & 1) in.senderNickname.assign(received.nickname, strnlen(received.nickname, kNameSize));
  else in.senderNickname.assign(name, nameBytes < 20 ? nameBytes : 20);

  const int verdict = ScreenChallenge(received, in);
  const bool sameName = NameIsTerminated(received.nickname, kNameSize) && in.senderNickname == received.nickname &&
                        !in.senderNickname.empty();
  if ((!sameName || !in.challengerKnown) && verdict != kScreenDrop) std::abort();
  if (verdict == kScreenDrop && sameName && in.challengerKnown) std::abort();
  if (verdict == kScreenShow && !(received.timeType & 0x220) && in.posted && !in.allowChallenges &&
      !IsReplyToPosted(posted, received, in.challengerRating))
    std::abort();
  if (verdict >= 0 && DeclineReasonText(uint32_t(verdict)) == nullptr) std::abort();
  ResumeDeclineCountsAsWin(received, uint32_t(verdict));
  return 0;
}
