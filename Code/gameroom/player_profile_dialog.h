// The Player Profile window (108) with its pages "Profile" (213) and
// "Rated Games" (217), and "Rated Game Stats" (218): modeless as numbered
// window 15, fed by the login, the menu, the end of a rated game and the
// online layer, or modal over a named user's stored record.
//
// Interface: OpenPlayerProfileDialog, SetPlayerProfile,
// SetPlayerProfileRatedGames, RemovePlayerProfileRatedGame,
// ShowPlayerProfile, ClosePlayerProfile, PlayerProfileOnline,
// SetPlayerProfileOnline.
#pragma once

#include <windows.h>

#include <cstdint>

struct UserProfile;
struct LobbyGameList;

// Commands 30015 to 30019 on the chosen rated-game entry go to the online
// layer through this interface (none: they do nothing).
class PlayerProfileOnline {
 public:
  virtual ~PlayerProfileOnline() = default;
  virtual void OpenNetGameRecord(const char* player, const uint8_t guid[16]) = 0;
  virtual void ResumeNetGameRecord(const char* player, const uint8_t guid[16]) = 0;
  virtual int PostNetGame(const uint8_t guid[16]) = 0;
  virtual void AddToNameList(const char* name) = 0;
};
void SetPlayerProfileOnline(PlayerProfileOnline* online);

// With a name: reads that user's record and shows it modally (clocks
// paused); returns 0. Without: creates the hidden modeless window 15 and
// returns 0, or the system error code.
int OpenPlayerProfileDialog(HWND owner, HINSTANCE module, const char* userName);
// Hands a profile to window 15 (copied); nothing when the window is absent.
void SetPlayerProfile(const UserProfile* profile);
// The lobby-stored rated games of `playerName`: kept only when the name is
// the shown profile's.
void SetPlayerProfileRatedGames(const LobbyGameList* block, const char* playerName);
void RemovePlayerProfileRatedGame(const uint8_t guid[16]);
// Shows (page 0 or 1, or -1 for the current) or hides window 15.
void ShowPlayerProfile(int show, int page);
void ClosePlayerProfile();
