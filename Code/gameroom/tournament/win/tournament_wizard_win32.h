// The "Create Tournament" wizard over Win32: the modal IDD_TOURN_WIZARD
// with its four pages in the shell's wizard frame. On Finish the working
// record, which keeps the last wizard's choices for the program's run, is
// copied over the room's tournament.
//
// Interface: RunTournamentWizard, TournamentWizardRecord,
// TournamentWizardDlgProc, TournamentWizardPageDlgProc.
#pragma once

#include <windows.h>

#include "tournament.h"

// Runs the wizard modally over `owner`; 1 when Finish wrote `room`, 0 when
// it was cancelled (the room's tournament untouched).
int RunTournamentWizard(HINSTANCE instance, HWND owner, Tournament* room);
// The working record (set up with the room's defaults on first use).
Tournament* TournamentWizardRecord();

INT_PTR CALLBACK TournamentWizardDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TournamentWizardPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
