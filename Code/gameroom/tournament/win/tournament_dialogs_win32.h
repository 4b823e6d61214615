// The tournament's dialogs over Win32: the schedule (TournList), the
// announcement with its countdown (ANNOUNCE), the standings
// (IDD_TOURN_RESULTS) and the games played (IDD_TOURN_GAMES). They show
// what the runner decides; none of them changes the tournament.
//
// Interface: ShowTournamentScheduleDialog, AnnounceTournamentGameDialog,
// ShowTournamentResultsDialog, kAnnounceTimer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The countdown's timer id, a tick a second.
constexpr UINT_PTR kAnnounceTimer = 0x1101;

// A row index, SCHEDULE_AUTO or SCHEDULE_CANCEL (tournament_runner.h).
int ShowTournamentScheduleDialog(HINSTANCE instance, HWND owner, const std::vector<std::string>& rows,
                                 bool autoEnabled);
// "Ready to begin: 5" (or "Ready to resume:") counting down to 0; false on
// Cancel or the close box.
bool AnnounceTournamentGameDialog(HINSTANCE instance, HWND owner, const std::string& white,
                                  const std::string& black, bool resuming);
// The standings' rows (name, W, D, L, games, score and, for a Swiss, the
// opponents' average); "Games..." opens the list of games played.
void ShowTournamentResultsDialog(HINSTANCE instance, HWND owner,
                                 const std::vector<std::vector<std::string>>& rows, bool swiss,
                                 const std::vector<std::string>& gamesPlayed);
