// What the chat and lobby windows reach of the online room: the session,
// and the room's other windows (challenge dialog, profile, game viewing,
// autoplay), which plug in through OnlineWindowHost. One host per program,
// set by the room (or by a test).
//
// Interface: OnlineWindowHost, SetOnlineWindowHost, GetOnlineWindowHost,
// kChatWindowNumber, kLobbyWindowNumber, kLogChatCommand, ShowOnlinePopupMenu,
// FreeOnlinePopupMenus, RunPlayerMenuCommand, StoreOnlineWindowPos.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "chat_model.h"
#include "session.h"

constexpr int kChatWindowNumber = 17;
constexpr int kLobbyWindowNumber = 18;
// The live menu's "Log Chat" entry.
constexpr int kLogChatCommand = 40185;

class OnlineWindowHost {
 public:
  virtual ~OnlineWindowHost() = default;
  virtual OnlineSession* Session() = 0;
  virtual void ChallengeUser(const std::string&) {}
  virtual void AcceptPostedChallenge(const std::string&) {}
  virtual void ViewGameOf(const std::string&) {}
  virtual void ShowOwnProfile() {}
  // The challenge dialog's ignore-challenges switch; the dialog sets the
  // chat window's button through SetIgnoreChallengesCheck.
  virtual void FlipIgnoreChallenges() = 0;
  // An autoplay script's answer to a received tell; empty with the [debug]
  // autoplay switch off.
  virtual std::string AutoplayChatAnswer(const std::string&, uint32_t) { return ""; }
  // A posted challenge that has just been listed, for the autoplay script.
  virtual void OfferPostedChallenge(const OnlineUserEntry&) {}
};

void SetOnlineWindowHost(OnlineWindowHost* host);
OnlineWindowHost* GetOnlineWindowHost();

// Shows a toolkit popup menu of `entries` at the cursor, owned by `owner`
// (the choice comes back as WM_COMMAND); nothing for no entries.
void ShowOnlinePopupMenu(HWND owner, const std::vector<PlayerMenuEntry>& entries);
// Frees the menus shown so far (the toolkit reads a menu after its popup
// returns, so each is kept until its owner goes).
void FreeOnlinePopupMenus(HWND owner);

// The player menus' commands that both windows share (profile, challenge,
// ignore, buddy list) for the user `name`; false for any other command.
bool RunPlayerMenuCommand(int command, const std::string& name);

// WM_WINDOWPOSCHANGED: the window's place goes into the window table.
void StoreOnlineWindowPos(int number, LPARAM windowPos);
