// Game analysis from the user's side: "Analysis Time" (dialog 136) asks
// for the seconds per move, "Game Analysis In Progress" (137) shows the
// percentage with Cancel while the engine link analyses the whole game,
// and at the end the user is sent to the Annotation and Game Status
// windows. Meanwhile the main window's menu, keys and panels are off and
// the room's board follows only the analysis's jumps.
//
// Interface: RunGameAnalysis, AnalysisTimeDlgProc, AnalysisProgressDlgProc,
// AnalysisBoardFilter, GameAnalysisServices, SetGameAnalysisServices,
// GetAnalysisProgressWindow, dialog and control ids.
#pragma once

#include <windows.h>

#include <cstdint>

struct GameRecord;

constexpr int kAnalysisTimeDialog = 136;
constexpr int kAnalysisProgressDialog = 137;
constexpr int kAnalysisTimePrompt = 5239;
constexpr int kAnalysisSeconds = 5250;
constexpr int kAnalysisProgressText = 5251;

// The menu entry (40029) and the room's command: the current game's
// analysis after the seconds are chosen; 1 when it started.
int RunGameAnalysis();
INT_PTR CALLBACK AnalysisTimeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AnalysisProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The room board's owner callback while the analysis runs: the board takes
// only the end of a jump (game event 14); every other message counts as
// handled, so it neither follows the analysis's moves nor takes the user's.
LRESULT AnalysisBoardFilter(HWND window, UINT message, WPARAM wParam, LPARAM lParam, intptr_t data);
// The progress window while one is open.
HWND GetAnalysisProgressWindow();

// The engine link's whole-game analysis; null members take the program's
// own (StartGameAnalysis, StopGameAnalysis).
struct GameAnalysisServices {
  int (*start)(GameRecord* game, int secondsPerMove, HWND progress);  // non-zero when started
  int (*stop)(GameRecord* game);
};
void SetGameAnalysisServices(const GameAnalysisServices* services);  // null: the program's own
