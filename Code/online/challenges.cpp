// Challenges between players: see challenges.h.
#include "challenges.h"

#include <cstdio>
#include <cstring>

#include "profile.h"

namespace {

constexpr char kSection[] = "onlineroom";
constexpr char kKey[] = "default_chall";

// The user table's notice codes the player list follows.
constexpr uint32_t kNoticeStateChanged = 1, kNoticeGameStarted = 16, kNoticeGameEnded = 32,
                   kNoticePostedChanged = 128;

std::string Format(const char* pattern, const std::string& name) {
  char text[256];
  std::snprintf(text, sizeof text, pattern, name.c_str());
  return text;
}

void GuidOf(const OnlineChallenge& c, uint8_t guid[16]) {
  uint8_t bytes[kChallengeSize];
  PackOnlineChallenge(c, bytes);
  std::memcpy(guid, bytes, 16);
}

void SetGuid(OnlineChallenge* c, const uint8_t guid[16]) {
  for (int i = 0; i < 4; ++i)
    c->head[i] = uint32_t(guid[4 * i]) | uint32_t(guid[4 * i + 1]) << 8 | uint32_t(guid[4 * i + 2]) << 16 |
                 uint32_t(guid[4 * i + 3]) << 24;
}

bool SameGuid(const OnlineChallenge& a, const OnlineChallenge& b) {
  return std::memcmp(a.head, b.head, sizeof a.head) == 0;
}

void CopyName(char (&field)[kNameSize], const std::string& name) {
  std::memset(field, 0, kNameSize);
  std::strncpy(field, name.c_str(), kNameSize - 1);
}

bool FreeState(uint32_t state) { return state == USER_IDLE || state == USER_VIEWING; }

}  // namespace

Challenges::Challenges(OnlineSession& session, ChallengeHost& host, OnlineAutoplay* autoplay)
    : s_(session), h_(host), autoplay_(autoplay) {
  settings_.terms = DefaultChallengeTerms();
  if (s_.IsOpen()) Install();
  s_.OnStart([this] { Install(); });
}

void Challenges::Install() {
  s_.RegisterPeerHandler(MSG_CHALLENGE, [this](OnlineSession&, const PeerMessage& m, uint32_t sender) {
    OnChallengeReceived(m.challenge, sender);
  });
  s_.RegisterPeerHandler(MSG_CHALLENGE_WITHDRAWN, [this](OnlineSession&, const PeerMessage& m, uint32_t sender) {
    OnChallengeWithdrawn(m.challenge, sender);
  });
  s_.RegisterPeerHandler(MSG_CHALLENGE_DECLINED, [this](OnlineSession&, const PeerMessage& m, uint32_t sender) {
    OnChallengeDeclined(m.challenge, sender, m.word);
  });
  s_.RegisterPeerHandler(MSG_CHALLENGE_ACCEPTED, [this](OnlineSession&, const PeerMessage& m, uint32_t sender) {
    OnChallengeAccepted(m.challenge, sender);
  });
}

// --- Helpers ---------------------------------------------------------------------

void Challenges::Show(const std::string& text) { s_.hooks.ShowModeless(text, kChallengeMessageSeconds); }

void Challenges::ChallengeSound() {
  if (h_.ChallengeSoundOn()) h_.PlayChallengeSound();
}

void Challenges::Announce(uint32_t state) {
  s_.own.state = state;
  s_.SendOwnUpdate(kNoticeStateChanged);
}

uint32_t Challenges::OwnIdleState() const {
  if (!h_.InOnlineRoom()) return USER_AWAY;
  return settings_.ignore ? USER_UNAVAILABLE : USER_IDLE;
}

void Challenges::ApplyScriptClock() {
  ScriptGameRecord game;
  if (!autoplay_ || !autoplay_->NextGame(&game)) return;
  const ScriptClock clock = ScriptClockOf(game);
  OnlineChallenge& t = settings_.terms;
  t.timeType = (t.timeType & ~(kTimeTypeMask | kGameTakebacksAllowed)) | clock.kind | kChallengeEnforced;
  t.base = clock.base;
  t.bonus = clock.bonus;
  t.word7 = kColourRandom;
}

void Challenges::NewGuid() {
  uint8_t guid[16];
  h_.MakeGuid(guid);
  SetGuid(&settings_.terms, guid);
  SetGuid(&sent_, guid);
}

void Challenges::SendTo(uint32_t to, const std::vector<uint8_t>& message) { s_.SendPeerToUsers(message, {to}); }

void Challenges::SendAbort(uint32_t to, const OnlineChallenge& terms) {
  OnlineGameDescriptor d;
  GuidOf(terms, d.guid);
  d.flags = terms.timeType & ~kChallengeResume;
  d.base = terms.base;
  d.bonus = terms.bonus;
  SendTo(to, BuildDescriptorMessage(MSG_ABORT_GAME, d));
}

OnlineGameDescriptor Challenges::DescriptorOf(const OnlineChallenge& terms, bool ownWhite,
                                              const std::string& opponent) const {
  OnlineGameDescriptor d;
  GuidOf(terms, d.guid);
  d.flags = terms.timeType & ~kChallengeResume;
  d.base = terms.base;
  d.bonus = (terms.timeType & kTimeTypeMask) == kTimeFischer ? terms.bonus : 0;
  const std::string own = s_.own.nickname;
  CopyName(d.white, ownWhite ? own : opponent);
  CopyName(d.black, ownWhite ? opponent : own);
  CopyName(d.author, terms.nickname);
  return d;
}

void Challenges::ResetSent() {
  hasResume_ = false;
  resume_ = OnlineGameSnapshot();
  settings_.terms.timeType &= ~kChallengeResume;
  challengedId_ = 0;
}

// --- Settings --------------------------------------------------------------------

void Challenges::Create(const std::string& path) {
  char text[200] = "";
  ProfileReadString(kSection, kKey, "", text, sizeof text, path.c_str());
  ChallengeSettings read;
  read.terms = DefaultChallengeTerms();
  if (ParseDefaultChallenge(text, &read)) {
    settings_ = read;
  } else {
    settings_ = ChallengeSettings();
    settings_.terms = DefaultChallengeTerms();
    ProfileWriteString(kSection, kKey, FormatDefaultChallenge(settings_).c_str(), path.c_str());
  }
  ApplyScriptClock();
  settings_.terms.timeType &= ~kChallengeResume;
  RefillPlayers();
  h_.ControlsChanged();
}

void Challenges::SaveSettings(const std::string& path) const {
  ChallengeSettings out = settings_;
  out.terms.timeType &= ~kChallengeResume;
  ProfileWriteString(kSection, kKey, FormatDefaultChallenge(out).c_str(), path.c_str());
}

// --- Terms -------------------------------------------------------------------------

void Challenges::SetPostMode(bool post) {
  settings_.postMode = post ? 1 : 0;
  if (!post) RefillPlayers();
  h_.ControlsChanged();
}

bool Challenges::ChooseKind(uint32_t kind) {
  const bool done = ChooseChallengeKind(&settings_.terms, kind);
  h_.ControlsChanged();
  return done;
}

void Challenges::SetRated(bool on) {
  SetChallengeRated(&settings_.terms, on);
  h_.ControlsChanged();
}

void Challenges::SetEnforced(bool on) {
  const ChallengeControls c = Controls();
  if (!c.enforcedEnabled) return;
  if (on) settings_.terms.timeType |= kChallengeEnforced;
  else settings_.terms.timeType &= ~kChallengeEnforced;
  h_.ControlsChanged();
}

void Challenges::SetTakebacks(bool on) {
  if (!Controls().takebacksEnabled) return;
  if (on) settings_.terms.timeType |= kGameTakebacksAllowed;
  else settings_.terms.timeType &= ~kGameTakebacksAllowed;
  h_.ControlsChanged();
}

void Challenges::SetViewers(bool on) {
  if (on) settings_.terms.timeType |= kGameViewersAllowed;
  else settings_.terms.timeType &= ~kGameViewersAllowed;
  h_.ControlsChanged();
}

void Challenges::SetColour(uint32_t colour) {
  settings_.terms.word7 = colour > kColourRandom ? kColourRandom : colour;
  h_.ControlsChanged();
}

void Challenges::SetBase(uint32_t base) { settings_.terms.base = base; }
void Challenges::SetBonus(uint32_t bonus) { settings_.terms.bonus = bonus; }

void Challenges::SetRange(uint32_t lowest, uint32_t highest) {
  settings_.terms.lowestRating = lowest;
  settings_.terms.highestRating = highest;
}

void Challenges::SetAutopost(bool on) {
  settings_.autopost = on ? 1 : 0;
  if (on && settings_.ignore) ToggleIgnoreChallenges();
  h_.ControlsChanged();
}

void Challenges::SetAllowChallenges(bool on) {
  settings_.allow = on ? 1 : 0;
  h_.ControlsChanged();
}

void Challenges::GetChallengeSwitches(bool* ignore, bool* allow) const {
  if (ignore) *ignore = settings_.ignore != 0;
  if (allow) *allow = settings_.allow != 0;
}

// --- The player list ----------------------------------------------------------------

void Challenges::RefillPlayers() {
  players_.clear();
  for (const auto& e : s_.Users()) {
    if (e.id == s_.ownId || !FreeState(e.user.state)) continue;
    bool seen = false;
    for (const auto& n : players_) seen = seen || n == e.user.nickname;
    if (!seen) players_.push_back(e.user.nickname);
  }
  bool stillThere = false;
  for (const auto& n : players_) stillThere = stillThere || n == selected_;
  if (!stillThere) selected_.clear();
  h_.ControlsChanged();
}

bool Challenges::SelectPlayer(const std::string& nickname) {
  for (const auto& n : players_) {
    if (n == nickname) {
      selected_ = nickname;
      h_.ControlsChanged();
      return true;
    }
  }
  return false;
}

void Challenges::OnUserNotice(uint32_t code, const OnlineUserEntry* e) {
  if (!e || e->id == s_.ownId) return;
  const std::string name = e->user.nickname;
  auto remove = [&] {
    for (auto it = players_.begin(); it != players_.end(); ++it) {
      if (*it == name) {
        players_.erase(it);
        break;
      }
    }
    if (selected_ == name) selected_.clear();
  };
  // A state change adds a user who became free again as well: one who
  // declined a challenge turns idle only after the decline has arrived.
  if (code == kUserAdded || code == kNoticeGameEnded || code == kNoticeStateChanged) {
    if (FreeState(e->user.state)) {
      bool seen = false;
      for (const auto& n : players_) seen = seen || n == name;
      if (!seen) players_.push_back(name);
    } else if (code == kNoticeStateChanged) {
      remove();
    }
  } else if (code == kNoticeGameStarted) {
    if (!FreeState(e->user.state)) remove();
  } else if (code == kUserRemoved) {
    if (challengedId_ != 0 && e->id == challengedId_) {
      WithdrawChallenge();
      Show(Format("Challenge removed - %s disconnected", name));
    }
    remove();
  }
  h_.ControlsChanged();
  if (code != kUserRemoved && (code == kNoticePostedChanged || HasPostedChallenge(e->user.challenge)))
    ConsultScript(name);
}

std::vector<std::string> Challenges::RatingChanges(const OnlineChallenge& terms,
                                                   const OnlineUserEntry* opponent) const {
  if (!(terms.timeType & kGameRated) || !opponent || !Registered(s_.own) || !Registered(opponent->user))
    return {"****", "****", "****"};
  const uint32_t category = GetTimeCategory(terms.timeType, terms.base, terms.bonus);
  const OnlineRatingPair own = s_.own.ratings[category], other = opponent->user.ratings[category];
  std::vector<std::string> out;
  for (int score : {1, 0, 2})
    out.push_back(FormatRatingChange(h_.NewRating(own.rating, other.rating, own.games, other.games, score),
                                     int32_t(own.rating)));
  return out;
}

std::vector<std::string> Challenges::RatingPreview() const {
  if (PostMode() || selected_.empty()) return {"****", "****", "****"};
  return RatingChanges(settings_.terms, s_.FindOnlineUserByNickname(selected_));
}

// --- Sending ------------------------------------------------------------------------------

bool Challenges::PostTerms() {
  const std::string problem = ValidateChallenge(settings_.terms, true);
  if (!problem.empty()) {
    Show(problem);
    return false;
  }
  CopyName(settings_.terms.nickname, s_.own.nickname);
  sent_ = settings_.terms;
  s_.own.challenge = settings_.terms;
  s_.SendOwnUpdate(kNoticePostedChanged);
  posted_ = true;
  return true;
}

void Challenges::Send() {
  const uint32_t state = s_.own.state;
  if (state != USER_IDLE && state != USER_UNAVAILABLE) return;
  if (PostMode() && state == USER_UNAVAILABLE) return;
  if (!PostMode() || !ChallengeIsResume(settings_.terms)) NewGuid();
  if (PostMode()) {
    PostTerms();
    h_.ControlsChanged();
    return;
  }
  const std::string problem = ValidateChallenge(settings_.terms, false);
  if (!problem.empty()) {
    Show(problem);
    return;
  }
  SendToSelected();
}

void Challenges::SendToSelected() {
  CopyName(settings_.terms.nickname, s_.own.nickname);
  const OnlineChallenge& t = settings_.terms;
  std::string problem;
  OnlineUserEntry* e = nullptr;
  if (selected_.empty()) {
    problem = "No player selected";
  } else if (!(e = s_.FindOnlineUserByNickname(selected_))) {
    problem = "That user is no longer logged in";
  } else if ((t.timeType & kGameRated) && !Registered(e->user)) {
    problem = Format("%s is a guest and cannot play rated games", selected_);
  } else if (ChallengeIsResume(t) && e->user.state != USER_IDLE && e->user.state != USER_UNAVAILABLE) {
    problem = Format("%s is no longer available for challenges", selected_);
  } else if (!ChallengeIsResume(t) && e->user.state != USER_IDLE) {
    problem = Format("%s is no longer accepting challenges", selected_);
  }
  if (!problem.empty()) {
    Show(problem);
    RefillPlayers();
    return;
  }
  sent_ = t;
  sent_.word7 = DrawChallengeColour(t.word7, h_.Random());
  challengedId_ = e->id;
  SendTo(e->id, BuildChallengeMessage(MSG_CHALLENGE, sent_));
  Announce(USER_CHALLENGING);
  h_.ControlsChanged();
}

void Challenges::RemovePostedChallenge() {
  if (!posted_) return;
  s_.own.challenge = OnlineChallenge();
  s_.SendOwnUpdate(256);
  posted_ = false;
  h_.ControlsChanged();
}

void Challenges::Withdraw() {
  if (PostMode()) {
    RemovePostedChallenge();
    return;
  }
  if (challengedId_ == 0) return;
  SendTo(challengedId_, BuildChallengeMessage(MSG_CHALLENGE_WITHDRAWN, sent_));
  ResetSent();
  Announce(OwnIdleState());
  RefillPlayers();
}

void Challenges::WithdrawChallenge() {
  RemovePostedChallenge();
  if (challengedId_ != 0) {
    SendTo(challengedId_, BuildChallengeMessage(MSG_CHALLENGE_WITHDRAWN, sent_));
    ResetSent();
    Announce(OwnIdleState());
    RefillPlayers();
  }
}

bool Challenges::Close() {
  if (settings_.autopost) {
    const std::string problem = ValidateChallenge(settings_.terms, true);
    if (!problem.empty()) {
      Show(problem);
      return false;
    }
    if (s_.own.state == USER_IDLE && !posted_) {
      NewGuid();
      PostTerms();
    }
  }
  h_.ShowChallengeWindow(false);
  return true;
}

void Challenges::ToggleIgnoreChallenges() {
  settings_.ignore = settings_.ignore ? 0 : 1;
  if (settings_.ignore) {
    RemovePostedChallenge();
    if (s_.own.state == USER_IDLE) Announce(USER_UNAVAILABLE);
    settings_.autopost = 0;
  } else if (s_.own.state == USER_UNAVAILABLE) {
    Announce(USER_IDLE);
  }
  h_.IgnoreChallengesChanged(settings_.ignore != 0);
  h_.ControlsChanged();
}

void Challenges::AutopostChallenge() {
  if (settings_.autopost && !posted_ && s_.own.state == USER_IDLE) {
    ApplyScriptClock();
    NewGuid();
    PostTerms();
    h_.ControlsChanged();
  }
  ConsultScript("");
}

void Challenges::ChallengeUser(const std::string& nickname) {
  settings_.postMode = 0;
  RefillPlayers();
  if (!SelectPlayer(nickname)) Show(Format("%s is no longer available for challenge", nickname));
  h_.ControlsChanged();
  h_.ShowChallengeWindow(true);
}

void Challenges::AcceptPostedChallenge(const std::string& nickname) {
  settings_.postMode = 0;
  RefillPlayers();
  OnlineUserEntry* poster = s_.FindOnlineUserByNickname(nickname);
  if (!poster || !SelectPlayer(nickname)) {
    Show("That user is no longer available for challenge");
    return;
  }
  if ((poster->user.challenge.timeType & kGameRated) && !Registered(s_.own)) return;
  OnlineChallenge t = poster->user.challenge;
  t.timeType &= ~kChallengeResume;
  t.word7 = SwapPostedColour(t.word7);
  settings_.terms = t;
  NewGuid();
  SendToSelected();
}

void Challenges::ResumeAdjournedGame(const OnlineGameSnapshot& stored) {
  if (s_.own.state == USER_PLAYING) return Show("Can't resume game while playing another");
  if (s_.own.state == USER_VIEWING) return Show("Can't resume game while viewing another");
  if (stored.moves.empty()) return Show("Get game moves from library failed - no moves found");
  const bool ownWhite = std::strcmp(stored.game.white, s_.own.nickname) == 0;
  const std::string opponent = ownWhite ? stored.game.black : stored.game.white;
  OnlineUserEntry* e = s_.FindOnlineUserByNickname(opponent);
  if (!e) return Show("Your opponent from this game is not currently logged in");
  if (e->user.state != USER_IDLE && e->user.state != USER_UNAVAILABLE)
    return Show("Your opponent from this game is not currently available for challenge");
  settings_.postMode = 0;
  RefillPlayers();
  if (!SelectPlayer(opponent)) return Show("That user is no longer available for challenge");
  hasResume_ = true;
  resume_ = stored;
  OnlineChallenge& t = settings_.terms;
  SetGuid(&t, stored.game.guid);
  SetGuid(&sent_, stored.game.guid);
  t.timeType = stored.game.flags | kChallengeResume;
  t.base = stored.game.base;
  t.bonus = stored.game.bonus;
  t.word7 = ownWhite ? kSenderWhite : kSenderBlack;
  t.lowestRating = 0;
  t.highestRating = kNoUpperRating;
  SendToSelected();
}

void Challenges::ConsultScript(const std::string& only) {
  if (!autoplay_ || !autoplay_->On() || challengedId_ != 0 || hasReceived_) return;
  if (s_.own.state != USER_IDLE) return;
  std::vector<OnlineAutoplay::Poster> posters;
  for (const auto& e : s_.Users()) {
    if (e.id == s_.ownId || (!only.empty() && only != e.user.nickname)) continue;
    posters.push_back({e.user.nickname, e.user.challenge});
  }
  const std::string poster = autoplay_->FindChallengeToAccept(s_.own.state, s_.own.nickname, posters);
  if (poster.empty()) return;
  RemovePostedChallenge();
  AcceptPostedChallenge(poster);
}

// --- Replies to a sent challenge ---------------------------------------------------------

void Challenges::OnChallengeAccepted(const OnlineChallenge& terms, uint32_t sender) {
  if (challengedId_ == 0 || sender != challengedId_ || !SameGuid(terms, sent_)) {
    SendAbort(sender, terms);
    return;
  }
  OnlineUserEntry* e = s_.FindOnlineUserById(sender);
  if (!e) {
    ResetSent();
    ChallengeSound();
    Show("The user you challenged is no longer logged in");
    RefillPlayers();
    return;
  }
  const std::string opponent = e->user.nickname;
  bool begun = false;
  if (s_.own.state != USER_IDLE && s_.own.state != USER_CHALLENGING) {
    SendAbort(sender, sent_);
  } else if (ChallengeIsResume(sent_) && !hasResume_) {
    SendAbort(sender, sent_);
  } else {
    const bool ownWhite = sent_.word7 == kSenderWhite || sent_.word7 == kRandomWhite;
    const OnlineGameDescriptor d = DescriptorOf(sent_, ownWhite, opponent);
    begun = h_.BeginGame(d, hasResume_ ? &resume_.moves : nullptr);
    if (begun) {
      if (hasResume_) {
        SendTo(sender, BuildGameStartMessage(d.guid, resume_.moves));
        s_.RemoveNetGame(d.guid);
        h_.RemoveProfileRatedGame(d.guid);
      }
      if (autoplay_) {
        const std::string line = autoplay_->Announcement();
        if (!line.empty()) s_.SendChat(1, line, {sender});
      }
      ChallengeSound();
      Show(Format("%s has accepted your challenge", opponent));
    } else {
      Show("Failed to create game");
      Announce(OwnIdleState());
      SendAbort(sender, sent_);
    }
  }
  ResetSent();
  RefillPlayers();
}

void Challenges::CountResume(const OnlineChallenge& terms, const OnlineUserEntry* opponent, int score) {
  const uint32_t category = GetTimeCategory(terms.timeType, terms.base, terms.bonus);
  const OnlineRatingPair own = s_.own.ratings[category];
  const OnlineRatingPair other = opponent ? opponent->user.ratings[category] : OnlineRatingPair();
  const int32_t rating = h_.NewRating(own.rating, other.rating, own.games, other.games, score);
  s_.SaveRatingChange(category, uint32_t(rating), uint32_t(score), other.rating);
  uint8_t guid[16];
  GuidOf(terms, guid);
  s_.RemoveNetGame(guid);
  h_.RemoveProfileRatedGame(guid);
}

void Challenges::OnChallengeDeclined(const OnlineChallenge& terms, uint32_t sender, uint32_t reason) {
  if (challengedId_ == 0 || sender != challengedId_) return;
  ChallengeSound();
  OnlineUserEntry* e = s_.FindOnlineUserById(sender);
  if (!e) {
    Show("The person you challenged is no longer logged in");
  } else if (SameGuid(terms, sent_) && ResumeDeclineCountsAsWin(sent_, reason)) {
    CountResume(sent_, e, 1);
    Show(Format("%s has declined to resume this game, it has been counted as a win for you", e->user.nickname));
  } else {
    Show(Format(DeclineReasonText(reason), e->user.nickname));
  }
  ResetSent();
  Announce(OwnIdleState());
  RefillPlayers();
}

// --- The received challenge ----------------------------------------------------------------

void Challenges::OnChallengeReceived(const OnlineChallenge& terms, uint32_t sender) {
  const OnlineUserEntry* from = s_.FindOnlineUserById(sender);
  const OnlineUserEntry* named = s_.FindOnlineUserByNickname(terms.nickname);
  ScreenInputs in;
  in.senderNickname = from ? from->user.nickname : "";
  in.challengerKnown = named != nullptr && from == named;
  in.challengerIgnored = named && (named->flags & 1);
  if (named) in.challengerRating = named->user.ratings[GetTimeCategory(terms.timeType, terms.base, terms.bonus)].rating;
  in.ownState = s_.own.state;
  in.posted = posted_;
  in.allowChallenges = settings_.allow != 0;
  in.ownPosted = s_.own.challenge;
  const int verdict = ScreenChallenge(terms, in);
  if (verdict == kScreenDrop) return;
  if (verdict != kScreenShow || hasReceived_) {
    SendTo(sender, BuildDeclineMessage(verdict == kScreenShow ? uint32_t(USER_CHALLENGED) : uint32_t(verdict), terms));
    return;
  }
  hasReceived_ = true;
  received_ = terms;
  receivedFrom_ = sender;
  Announce(USER_CHALLENGED);
  h_.ShowReceivedWindow(true);
  ChallengeSound();
  if (autoplay_ && autoplay_->On()) {
    if (!IsAutoplayTimedGame(terms)) {
      s_.SendChat(1, "I am a computer, no untimed games please...", {sender});
      DeclineReceived();
    } else {
      AcceptReceived();
    }
  }
}

void Challenges::CloseReceived() {
  hasReceived_ = false;
  received_ = OnlineChallenge();
  receivedFrom_ = 0;
  h_.ShowReceivedWindow(false);
}

void Challenges::OnChallengeWithdrawn(const OnlineChallenge& terms, uint32_t sender) {
  if (!hasReceived_ || !SameGuid(terms, received_)) return;
  // Only the challenger may withdraw, in its own name.
  const OnlineUserEntry* from = s_.FindOnlineUserById(sender);
  if (sender != receivedFrom_ || !from || std::strcmp(from->user.nickname, terms.nickname) != 0) return;
  ChallengeSound();
  Show(Format("%s has withdrawn the challenge", received_.nickname));
  Announce(OwnIdleState());
  CloseReceived();
}

void Challenges::AcceptReceived() {
  if (!hasReceived_) return;
  OnlineUserEntry* e = s_.FindOnlineUserById(receivedFrom_);
  if (!e || std::strcmp(e->user.nickname, received_.nickname) != 0) {
    ChallengeSound();
    Show(Format("%s has withdrawn the challenge", received_.nickname));
    Announce(OwnIdleState());
    CloseReceived();
    return;
  }
  const OnlineChallenge t = received_;
  const uint32_t from = receivedFrom_;
  const bool challengerWhite = t.word7 == kSenderWhite || t.word7 == kRandomWhite;
  const OnlineGameDescriptor d = DescriptorOf(t, !challengerWhite, e->user.nickname);
  CloseReceived();
  if (h_.BeginGame(d, nullptr)) {
    SendTo(from, BuildChallengeMessage(MSG_CHALLENGE_ACCEPTED, t));
    if (autoplay_) {
      const std::string line = autoplay_->Announcement();
      if (!line.empty()) s_.SendChat(1, line, {from});
    }
    s_.RemoveNetGame(d.guid);
    h_.RemoveProfileRatedGame(d.guid);
  } else {
    SendTo(from, BuildDeclineMessage(kDeclineGameFailed, t));
    Announce(OwnIdleState());
    Show("Failed to create game record");
  }
}

void Challenges::DeclineReceived() {
  if (!hasReceived_) return;
  const OnlineChallenge t = received_;
  const uint32_t from = receivedFrom_;
  SendTo(from, BuildDeclineMessage(kDeclineByHand, t));
  if (ChallengeIsRatedResume(t)) CountResume(t, s_.FindOnlineUserById(from), 0);
  Announce(OwnIdleState());
  CloseReceived();
}

void Challenges::PlayerInfo() {
  if (hasReceived_) s_.RequestProfile(received_.nickname);
}

Challenges::ReceivedTexts Challenges::DescribeReceived() const {
  ReceivedTexts r;
  const OnlineChallenge& t = received_;
  const OnlineUserEntry* e = s_.FindOnlineUserById(receivedFrom_);
  const uint32_t category = GetTimeCategory(t.timeType, t.base, t.bonus);
  const uint32_t kind = t.timeType & kTimeTypeMask;
  char number[16];
  r.nickname = t.nickname;
  r.rating = e ? FormatRating(e->user.word4 == 0, e->user.ratings[category].rating, e->user.ratings[category].games)
               : "****";
  r.kind = GetTimeTypeText(t.timeType);
  std::snprintf(number, sizeof number, "%d", int(t.base));
  r.base = number;
  std::snprintf(number, sizeof number, "%d", int(t.bonus));
  r.bonus = number;
  r.showBase = kind != kTimeInfinite;
  r.showBonus = kind == kTimeFischer;
  r.category = GetTimeCategoryText(category);
  r.rated = (t.timeType & kGameRated) ? "Rated Game" : "Unrated";
  r.colour = t.word7 == kSenderBlack ? "You play white" : t.word7 == kSenderWhite ? "You Play Black" : "Random Color";
  r.enforced = (t.timeType & kChallengeEnforced) ? "Time Enforced" : "Time Unenforced";
  r.takebacks = (t.timeType & kGameTakebacksAllowed) ? "Allow Takebacks" : "No Takebacks";
  r.adjourned = ChallengeIsResume(t) ? "Adjourned Game" : "";
  r.attention = ChallengeIsRatedResume(t);
  r.playerInfo = e && e->user.word4 != 0;
  if (t.timeType & kGameRated) {
    const auto changes = RatingChanges(t, e);
    r.win = changes[0];
    r.loss = changes[1];
    r.draw = changes[2];
  }
  return r;
}
