// "Play Rated Game": the opponent among the shipped personalities, the
// colour and the time control of a rated game, with the rating changes a
// win, a loss and a draw would bring; and the start of that game in a room.
//
// Interface: RatedGameSettings, GetRatedGameSettings, RatedGameRoom,
// RunRatedGameDialog, RatedGameDlgProc, StartRatedGame, RatedTimeControl,
// StartScriptedRatedGame, RecordFinishedGame, GetOpponentRating,
// QueryAdjournRatedGame, SaveAdjournedGame, ChooseAdjournedRatedGame.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct GameRecord;
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

// A game script's rated game: the user plays White unless `white` names the
// opponent (else `black` does); the clock is the script's. Asks the
// rated-game question first.
bool StartScriptedRatedGame(HWND owner, RatedGameRoom* room, const std::string& white, const std::string& black,
                            uint32_t timeKind, uint32_t baseMs, uint32_t bonusOrMoves);

// The end of a rated game: books it on the user's record (without
// `tournament` the current user against the engine; with it the person of
// `side`, 1 White, else Black), appends it to "<user>'s Rated Games.PGN",
// shows the result, overall, provisional and class lines and hands the
// record to the player profile window. False when nothing was booked (no
// user, or a result code that is no win, loss or draw).
bool RecordFinishedGame(GameRecord* game, int tournament, int side, bool kidsRoom);

// A personality's rating from its file (0 when it cannot be read), or a
// user's overall rating.
int32_t GetOpponentRating(const char* name, bool personality);

// A rated game in play that is not over: asks whether to adjourn it; 1 when
// the caller must not go on (No, or the save failed), else 0.
int QueryAdjournRatedGame(GameRecord* game);
// Ends the game as adjourned and saves it in the adjourned games folder as
// "<White> vs. <Black>, <date> (Adjourned).RWG" (numbered when taken);
// shows "Game Adjourned.". False when it could not be written.
bool SaveAdjournedGame(GameRecord* game);
// "Load Adjourned Game": the user picks one of the adjourned games; its
// path, or empty (none there: "You have no adjourned games.").
std::string ChooseAdjournedRatedGame(HWND owner);
