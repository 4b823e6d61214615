// The tournament room (room 6): its module for the room switch, its menu
// and keys, the room's board showing the game being played with the pane
// beside it (the tournament's standings, schedule and last moves), the
// wizard, adjourning into the tournament file and loading it again, the
// printed report, and the room's game scripts (".CSC") with the games they
// start.
//
// Interface: RegisterTournamentRoom, InitTournamentRoom,
// ActivateTournamentRoom, DeactivateTournamentRoom, FreeTournamentRoom,
// TournamentRoomCommand, TournamentRoomButton, TournamentRoomContextMenu,
// NameAndSaveNewTournament, UpdateTournamentMenu, QueryAdjournTournament,
// GetRoomScriptPath, LoadAutoTestScript, StartAutoTestGame,
// GetRoomTournament, GetTournamentPane, kMsgScriptStep.
#pragma once

#include <windows.h>

#include <string>

#include "room_records.h"
#include "tournament.h"

// The room's next script step; posted so that the previous game's end
// handling is over first.
constexpr UINT kMsgScriptStep = 0x8112;

// Makes room 6 this module's (before the room records are made).
void RegisterTournamentRoom();

void InitTournamentRoom(RoomRecord* record);
int ActivateTournamentRoom(RoomRecord* record);
int DeactivateTournamentRoom(RoomRecord* record);
void FreeTournamentRoom(RoomRecord* record, int keepMenu);
int TournamentRoomCommand(void* window, int command);
// The shortcut tile's buttons: "Rated Game" and "Tournament".
int TournamentRoomButton(int id);
void TournamentRoomContextMenu(HWND window, POINT at);
void UpdateTournamentMenu();
// Before a command that would replace the tournament's game in play: asks
// whether to adjourn it. 1 when the command must not run, 0 when it may
// (nothing in play, or adjourned).
int QueryAdjournTournament();
// After the wizard: the file dialog names the new tournament, which is
// saved; 1 saved, 0 cancelled (the tournament is then not started).
int NameAndSaveNewTournament();

// "<user folder>\tournamentroom.CSC".
std::string GetRoomScriptPath();
void LoadAutoTestScript();
int StartAutoTestGame(const char* white, const char* black, int timeKind, int baseMs, int bonus);

// The room's tournament (null before the room is set up) and its pane.
Tournament* GetRoomTournament();
HWND GetTournamentPane();
