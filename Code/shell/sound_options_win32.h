// The sound options dialog: three tabbed pages over the sound and voice
// settings, edited in memory.
//
// Interface: ShowSoundOptions, SoundOptionsDlgProc, SoundOptionsPageDlgProc.
#pragma once

#include <windows.h>

#include "app_globals.h"

// Runs dialog 7139 modally from the module's resources; nothing without
// a settings record. Returns 0.
int ShowSoundOptions(HWND owner, SettingsRecord* settings, HINSTANCE resources = nullptr);
INT_PTR CALLBACK SoundOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SoundOptionsPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
