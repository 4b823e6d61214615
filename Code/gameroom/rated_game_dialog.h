// "Play Rated Game": the opponent among the shipped personalities, the
// colour and the time control of a rated game, with the rating changes a
// win, a loss and a draw would bring; and the start of that game in a room.
//
// Interface: RatedGameSettings, GetRatedGameSettings, RatedGameRoom,
// RunRatedGameDialog, RatedGameDlgProc, StartRatedGame, RatedTimeControl.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct PlayerDescriptor;

// Kept while the program runs (the first values are the first use's).
struct RatedGameSettings {
  int timeKind = 0;  // 0 minutes per game, 1 moves per minutes, 2 Fischer, 3 hourglass
  int colour = 1;    // 0 the user plays Black, 1 White, 2 random
  std::string opponent = "HWB";
  int minutes = 10;
  int moves = 40, perMinutes = 40;
  int fischerMinutes = 5, bonusSeconds = 3;
  int hourglassSeconds = 30;
  int changes[3] = {0, 0, 0};  // by result: loss, win, draw
  int32_t opponentRating = 0;
};
RatedGameSettings& GetRatedGameSettings();

// The game kind, base and bonus or moves of the settings' time control.
void RatedTimeControl(const RatedGameSettings& s, uint32_t* kind, uint32_t* baseMs, uint32_t* bonusOrMoves);

// The room that plays the rated game (the tournament room or the kids
// room): makes the game from the two players and starts it.
class RatedGameRoom {
 public:
  virtual ~RatedGameRoom() = default;
  virtual bool KidsRoom() = 0;
  virtual bool StartGame(const PlayerDescriptor& white, const PlayerDescriptor& black, uint32_t kindFlags) = 0;
};

// Runs the dialog modally; on OK starts the game in `room`. Nonzero when a
// game was started.
int RunRatedGameDialog(HWND owner, RatedGameRoom* room);
INT_PTR CALLBACK RatedGameDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Asks the rated-game question and starts the game of the settings with the
// logged-in user; false when refused or when the room could not start it.
bool StartRatedGame(HWND owner, RatedGameRoom* room);
