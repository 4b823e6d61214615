// Challenges between players, apart from their windows: the challenge
// window's terms, modes and switches, sending, posting and withdrawing a
// challenge, answering another's posted challenge, resuming an adjourned
// game, the replies to a sent challenge, and the received challenge with
// its screening, Accept, Decline and withdrawal. The Win32 dialogs draw
// from this model and pass every user action in; message types 1 to 4
// arrive through the session's dispatch table.
//
// Interface: ChallengeHost (windows, sounds, the live game and the game
// room, faked in tests), Challenges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "autoplay_script.h"
#include "challenge_rules.h"
#include "session.h"

class ChallengeHost {
 public:
  virtual ~ChallengeHost() = default;
  // The challenge window shows the model again.
  virtual void ControlsChanged() = 0;
  // Window 19 shown (brought to the top) or hidden.
  virtual void ShowChallengeWindow(bool show) = 0;
  // The received-challenge window opens for Challenges::Received(), or
  // closes.
  virtual void ShowReceivedWindow(bool open) = 0;
  virtual bool ChallengeSoundOn() = 0;
  virtual void PlayChallengeSound() = 0;  // game sound 12
  virtual uint32_t Random() = 0;
  virtual void MakeGuid(uint8_t guid[16]) = 0;
  // The live game of the descriptor, with the moves of a resumed game.
  virtual bool BeginGame(const OnlineGameDescriptor& game, const std::vector<OnlineMove>* moves) = 0;
  // The game room's rating formula: score 1 won, 0 lost, 2 drawn.
  virtual int32_t NewRating(uint32_t rating, uint32_t opponentRating, uint32_t games, uint32_t opponentGames,
                            int score) = 0;
  virtual void RemoveProfileRatedGame(const uint8_t guid[16]) = 0;
  // The chat window's "Ignore Challenges" check and menu 40174.
  virtual void IgnoreChallengesChanged(bool on) = 0;
  virtual bool InOnlineRoom() = 0;
};

constexpr int kChallengeMessageSeconds = 120;

class Challenges {
 public:
  Challenges(OnlineSession& session, ChallengeHost& host, OnlineAutoplay* autoplay = nullptr);
  Challenges(const Challenges&) = delete;
  Challenges& operator=(const Challenges&) = delete;

  // Handlers of message types 1 to 4, again after every start.
  void Install();

  // --- The challenge window ---------------------------------------------------
  // Reads "default_chall" of section "onlineroom" (writing the defaults with
  // the four switches off when it is missing or unreadable), applies the
  // script's clock when autoplay has a next game, and fills the player list.
  void Create(const std::string& settingsPath);
  // Writes "default_chall".
  void SaveSettings(const std::string& settingsPath) const;

  const ChallengeSettings& Settings() const { return settings_; }
  const OnlineChallenge& Terms() const { return settings_.terms; }
  ChallengeControls Controls() const { return ChallengeControlsFor(settings_.terms); }
  bool PostMode() const { return settings_.postMode != 0; }
  bool Posted() const { return posted_; }
  uint32_t ChallengedId() const { return challengedId_; }
  // Send enabled (and withdraw disabled) while nothing is out.
  bool NothingOut() const { return PostMode() ? !posted_ : challengedId_ == 0; }
  const char* SendCaption() const { return PostMode() ? "Post Challenge" : "Send Challenge"; }
  const std::vector<std::string>& Players() const { return players_; }
  const std::string& SelectedPlayer() const { return selected_; }
  // W, L and D of the preview, "****" when none is shown.
  std::vector<std::string> RatingPreview() const;

  void SetPostMode(bool post);
  bool ChooseKind(uint32_t kind);
  void SetRated(bool on);
  void SetEnforced(bool on);
  void SetTakebacks(bool on);
  void SetViewers(bool on);
  void SetColour(uint32_t colour);
  void SetBase(uint32_t base);
  void SetBonus(uint32_t bonus);
  void SetRange(uint32_t lowest, uint32_t highest);
  void SetAutopost(bool on);
  void SetAllowChallenges(bool on);
  bool SelectPlayer(const std::string& nickname);
  void RefillPlayers();

  void Send();      // 3082
  void Withdraw();  // 3083
  // 3084 and WM_CLOSE: false keeps the window open.
  bool Close();
  void ToggleIgnoreChallenges();
  void GetChallengeSwitches(bool* ignore, bool* allow) const;

  void ChallengeUser(const std::string& nickname);
  void AcceptPostedChallenge(const std::string& nickname);
  void ResumeAdjournedGame(const OnlineGameSnapshot& stored);
  // Posts a challenge when Autopost is on and nothing is posted; called when
  // the own state turns Idle in the online room.
  void AutopostChallenge();
  void RemovePostedChallenge();
  // Whatever is out: the posted challenge and the sent one.
  void WithdrawChallenge();
  // The table's change notice (0x810B) with the user it is about.
  void OnUserNotice(uint32_t code, const OnlineUserEntry* entry);
  // Autoplay: answers the posted challenge of `only` (empty: of anyone)
  // whose clock is the script's next game's.
  void ConsultScript(const std::string& only);

  void OnChallengeAccepted(const OnlineChallenge& terms, uint32_t sender);
  void OnChallengeDeclined(const OnlineChallenge& terms, uint32_t sender, uint32_t reason);

  // --- The received challenge ---------------------------------------------------
  void OnChallengeReceived(const OnlineChallenge& terms, uint32_t sender);
  void OnChallengeWithdrawn(const OnlineChallenge& terms, uint32_t sender);
  bool HasReceived() const { return hasReceived_; }
  const OnlineChallenge& Received() const { return received_; }
  void AcceptReceived();   // 3000
  void DeclineReceived();  // 3001; also when the online room is left
  void PlayerInfo();       // 3002
  // The received challenge's control texts: 3004, 3005, 3006, 3007, 3010,
  // 3011, 3012, 3013, 3014, 3015 and the W, L, D changes of a rated one.
  struct ReceivedTexts {
    std::string nickname, rating, kind, base, bonus, category, rated, colour, enforced, takebacks, adjourned;
    bool showBase = false, showBonus = false, attention = false, playerInfo = false;
    std::string win, loss, draw;
  };
  ReceivedTexts DescribeReceived() const;

  uint32_t OwnIdleState() const;

 private:
  void Show(const std::string& text);
  void ChallengeSound();
  void Announce(uint32_t state);
  void ApplyScriptClock();
  void NewGuid();
  bool PostTerms();
  void SendToSelected();
  void ResetSent();
  bool Registered(const OnlineUser& u) const { return u.word4 != 0; }
  OnlineGameDescriptor DescriptorOf(const OnlineChallenge& terms, bool ownWhite, const std::string& opponent) const;
  void SendAbort(uint32_t to, const OnlineChallenge& terms);
  void SendTo(uint32_t to, const std::vector<uint8_t>& message);
  void CountResume(const OnlineChallenge& terms, const OnlineUserEntry* opponent, int score);
  void CloseReceived();
  std::vector<std::string> RatingChanges(const OnlineChallenge& terms, const OnlineUserEntry* opponent) const;

  OnlineSession& s_;
  ChallengeHost& h_;
  OnlineAutoplay* autoplay_;
  ChallengeSettings settings_;
  OnlineChallenge sent_;
  uint32_t challengedId_ = 0;
  bool posted_ = false;
  bool hasResume_ = false;
  OnlineGameSnapshot resume_;
  std::string selected_;
  std::vector<std::string> players_;
  bool hasReceived_ = false;
  OnlineChallenge received_;
  uint32_t receivedFrom_ = 0;
};
