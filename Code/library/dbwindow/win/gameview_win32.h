// The database window's game view and position pages: Moves (board, title,
// move text, steps), Game Info (header fields) and Position Search (a board
// set up by dragging, searched by position). The window gives them what
// they need of it through a GameViewHost.
//
// Interface: GameViewHost, CreateGameViewPages, DestroyGameViewPages,
// ShowGame, ClearGameView, RefreshMoveText, ReclassifyGameKeys,
// GoToViewPly, StepViewForward, GetViewPly, IsGameShown, GetViewPosition,
// SetBoardPosition, SetShowAnnotationsCheck, SetShowVariationsCheck,
// EnablePositionSearchButtons, PositionSearchPage, MovesPage, GameInfoPage.
#pragma once

#include <windows.h>

#include <cstdint>

#include "gdbase.h"

struct GameViewHost {
  // The window's settings, read when the text is written.
  int* showComments = nullptr;
  int* showVariations = nullptr;
  int* notation = nullptr;
  int32_t (*keyBase)() = nullptr;   // 0 without key information
  bool (*keyMode)() = nullptr;
  void (*rebuildRoomGame)() = nullptr;
  void (*seekRoomGame)(int ply) = nullptr;
  void (*selectKeyForPly)(int ply, int32_t key) = nullptr;
  void (*markKeyPath)(const int32_t* keys, int count) = nullptr;  // count 0 clears
  void (*startSearch)(const SearchQuery& query) = nullptr;
  void (*stopSearch)() = nullptr;
  int (*showDeleted)() = nullptr;
  bool (*copyKeyPosition)(sPosition* out) = nullptr;
  int (*messageBox)(uint32_t textId, uint32_t captionId, UINT flags) = nullptr;
};

// Creates the Moves (206), Game Info (207) and Position Search (212) pages
// in the panel. False when one could not be made.
bool CreateGameViewPages(HWND panel, HINSTANCE instance, const GameViewHost& host);
void DestroyGameViewPages();
HWND MovesPage();
HWND GameInfoPage();
HWND PositionSearchPage();

int ShowGame(GdGameBuffer game);
int ClearGameView();
int RefreshMoveText();
int ReclassifyGameKeys();
int GoToViewPly(int index);
int StepViewForward(bool animate);
int GetViewPly();
bool IsGameShown();
void GetViewPosition(sPosition* out);
// The module's position on a board (each side keeps its pieces).
void SetBoardPosition(HWND board, const sPosition& position);
void SetShowAnnotationsCheck(int on);
void SetShowVariationsCheck(int on);
void EnablePositionSearchButtons(bool search, bool stop);
