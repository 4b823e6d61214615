// The challenge window (dialog 155, numbered window 19), the received
// challenge (dialog "IDD_RCVCHALLENGE", window 27) and the view list
// (dialog "IDD_VIEWLIST"), drawn from the challenge and view-list models.
//
// Interface: ChallengeWindowLinks (what the windows reach outside the
// session), ChallengeWindows, RunViewList.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "challenges.h"
#include "view_list.h"

struct ChallengeWindowLinks {
  std::function<bool(const OnlineGameDescriptor&, const std::vector<OnlineMove>*)> beginGame;
  std::function<int32_t(uint32_t, uint32_t, uint32_t, uint32_t, int)> newRating;
  std::function<void(const uint8_t*)> removeProfileRatedGame;
  std::function<bool()> challengeSoundOn;
  std::function<void()> playChallengeSound;
  std::function<void(bool)> ignoreChallengesChanged;
  std::function<bool()> inOnlineRoom;
  // The window table: window 19 or 27 registered (true) or cleared.
  std::function<void(int, HWND, bool)> registerWindow;
};

class ChallengeWindows final : public ChallengeHost {
 public:
  ChallengeWindows(OnlineSession& session, HINSTANCE resources, HWND owner, ChallengeWindowLinks links,
                   OnlineAutoplay* autoplay = nullptr);
  ~ChallengeWindows() override;

  // Creates the challenge window hidden, reading "default_chall" from the
  // settings file; false when the dialog cannot be made.
  bool Create(const std::string& settingsPath);
  // Saves "default_chall" and destroys both windows.
  void Destroy();

  Challenges& Model() { return model_; }
  HWND ChallengeWindow() const { return challenge_; }
  HWND ReceivedWindow() const { return received_; }
  // A change of the user table (0x810B).
  void UserNotice(uint32_t code, const OnlineUserEntry* entry);

  // ChallengeHost.
  void ControlsChanged() override;
  void ShowChallengeWindow(bool show) override;
  void ShowReceivedWindow(bool open) override;
  bool ChallengeSoundOn() override;
  void PlayChallengeSound() override;
  uint32_t Random() override;
  void MakeGuid(uint8_t guid[16]) override;
  bool BeginGame(const OnlineGameDescriptor& game, const std::vector<OnlineMove>* moves) override;
  int32_t NewRating(uint32_t rating, uint32_t opponentRating, uint32_t games, uint32_t opponentGames,
                    int score) override;
  void RemoveProfileRatedGame(const uint8_t guid[16]) override;
  void IgnoreChallengesChanged(bool on) override;
  bool InOnlineRoom() override;

 private:
  static INT_PTR CALLBACK ChallengeProc(HWND dialog, UINT message, WPARAM first, LPARAM second);
  static INT_PTR CALLBACK ReceivedProc(HWND dialog, UINT message, WPARAM first, LPARAM second);
  void Apply();
  void FillReceived();
  void OnCommand(int id, int code);
  uint32_t ReadNumber(int id) const;

  OnlineSession& s_;
  HINSTANCE resources_;
  HWND owner_;
  ChallengeWindowLinks links_;
  Challenges model_;
  std::string settingsPath_;
  HWND challenge_ = nullptr;
  HWND received_ = nullptr;
  bool applying_ = false;
  uint32_t seed_ = 0;
};

// The view list for `mode`, modal over `owner`; the dialog's end code (1
// after an action, 0 for Cancel and Close).
INT_PTR RunViewList(HINSTANCE resources, HWND owner, int mode, OnlineSession& session,
                    const std::vector<std::string>& buddies, const ViewListActions& actions);
