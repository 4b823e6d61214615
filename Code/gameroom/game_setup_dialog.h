// The "Set Up Game Details" dialog (dialog 100) that settles a new game
// before it starts: who plays which side, a person or a personality, which
// way round the board stands, each side's time control, pieces given as
// odds and blindfold play. It edits the caller's scratch game in place and
// reports what changed; it creates, starts and registers nothing.
//
// Interface: RunGameSetupDialog, GameSetupDlgProc, ColorsPageDlgProc,
// TimeControlsPageDlgProc, RulesPageDlgProc, GameSetupControl ids,
// kGameSetupDialog.
#pragma once

#include <windows.h>

#include "game_setup_core.h"

struct GameRecord;

constexpr int kGameSetupDialog = 100;
constexpr int kColorsPage = 102, kTimeControlsPage = 103, kRulesPage = 104;

enum GameSetupControl : int {
  kTopName = 1621,
  kTopPerson = 1622,
  kTopComputer = 1623,
  kTopPersonality = 1624,
  kBottomName = 1626,
  kBottomPerson = 1627,
  kBottomComputer = 1628,
  kBottomPersonality = 1629,
  kSetupTabs = 1605,
  // Colors page
  kPlaysFromBottom = 1631,
  kWhiteAtBottomPicture = 20175,
  kFlipButton = 20183,
  kColorsBoardPicture = 20170,
  kColorsRotatePicture = 20171,
  // Time Controls page
  kTopFirstLabel = 1606,
  kTopSecondLabel = 1607,
  kTopFirstSpin = 1608,
  kTopSecondSpin = 1609,
  kBottomFirstLabel = 1610,
  kBottomSecondLabel = 1611,
  kBottomFirstSpin = 1612,
  kBottomSecondSpin = 1613,
  kSameTimeControls = 1614,
  kSeparateTimeControls = 1615,
  kTimeKindList = 1616,
  // Rules page
  kWhiteBlindfold = 1617,
  kBlackBlindfold = 1618,
};

// 4096 (kSetupCancelled) for a null game or Cancel; else the change mask
// (SetupChange bits; 0 when OK changed nothing). Any change clears the
// game's kind flag 0x20000000. Runs modally over the main window with the
// game's clock paused.
int RunGameSetupDialog(GameRecord* game);

INT_PTR CALLBACK GameSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ColorsPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TimeControlsPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RulesPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
