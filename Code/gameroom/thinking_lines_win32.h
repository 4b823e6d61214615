// The Thinking Lines window (numbered window 8): for White's and Black's
// engines and the advisor, the lines each reports while it searches and its
// latest statistics, filled from the player records once a second.
//
// Interface: CreateThinkingLinesDialog, DestroyThinkingLinesDialog,
// MarkThinkingLine, MarkThinkingStatistics, ThinkingLinesEngine,
// SetThinkingLinesEngine, ThinkingControl ids, kThinkingLinesDialog.
#pragma once

#include <windows.h>

#include "thinking_engine.h"

struct GameRecord;
struct PlayerRecord;

constexpr int kThinkingLinesDialog = 132;
constexpr int kThinkingWindowNumber = 8;
constexpr UINT_PTR kThinkingTimer = 999;

enum ThinkingControl : int {
  kThinkWhiteButton = 4076,
  kThinkBlackButton = 4077,
  kThinkAdvisorButton = 4078,
  kThinkWhiteCaption = 4073,
  kThinkWhiteList = 4070,
  kThinkWhiteStatistics = 4081,
  kThinkWhiteSplitter = 4079,
};

// 0, the system's last error when the dialog cannot be made, -1 for a
// missing argument.
int CreateThinkingLinesDialog(HWND parent, HINSTANCE instance);
void DestroyThinkingLinesDialog(HWND window);
// The engine link has stored a line or statistics in the player's record;
// side code 1 White, 0 Black, 2 advisor. -1 without the window's record.
int MarkThinkingLine(HWND window, PlayerRecord* player, int sideCode);
int MarkThinkingStatistics(HWND window, PlayerRecord* player, int sideCode);

// What the window asks of the engine link: the link's own calls unless a
// test puts others in.
void SetThinkingLinesEngine(const ThinkingLinesEngine* engine);  // null: the engine link's
