// The new-game set-up dialog's decisions without its windows: the change
// mask, the remembered time values and what the Time Controls page shows,
// Flip, and the odds board.
//
// Interface: kSetupCancelled, SetupChangeMask, SetupTimeValues,
// TimePageView, ViewTimePage, ApplyRememberedTimes, StoreSpinValues,
// GameSetupPlayers, FlipSetupPlayers, CopySetupName, OddsBoardClick,
// kOddsBoardX, kOddsBoardY, kOddsSquare.
#pragma once

#include <cstdint>

#include "board.h"
#include "game_record.h"

constexpr int kSetupCancelled = 4096;
enum SetupChange : int {
  kSetupWhitePlayer = 1,
  kSetupWhiteTime = 2,
  kSetupBlackPlayer = 4,
  kSetupBlackTime = 8,
  kSetupTurned = 32,
  kSetupOdds = 64,
};
// What OK reports; `boardNotFlipped` is the board view's orientation.
int SetupChangeMask(const PlayerRecord& savedWhite, const PlayerRecord& savedBlack, const PlayerRecord& white,
                    const PlayerRecord& black, bool whiteOnTop, bool boardNotFlipped, const Board& start);

// Time values remembered for the whole run, per kind (0..6) and row (0 top,
// 1 bottom): the time in ms and the second value (moves or increment ms).
struct SetupTimeValues {
  uint32_t time[7][2];
  uint32_t second[7][2];
  SetupTimeValues();  // 40 moves in 2 hours, 10 s a move, 10 min, 5 min + 3 s, 30 s
};

// The Time Controls page for a kind: what each of the four spin fields
// (top a, b; bottom c, d) shows, its label and range, and the radios.
struct TimePageView {
  bool spinShown[4];
  int spinValue[4];
  const char* label[2];  // the first and the second spin's label of each row
  int firstMin;          // the first spins' lowest value (5 for hourglass)
  bool radiosShown;
  bool sameForced;
  bool unchanged;  // kinds 9 and above leave the page as it is
};
// Writes the kind's remembered values into the records (both rows get the
// top row's with `same`, and always for kind 2) and returns the page.
TimePageView ViewTimePage(uint32_t kind, bool* same, PlayerRecord* top, PlayerRecord* bottom,
                          const SetupTimeValues& values);
// A spin field changed: the four values go into the records and the table
// by the records' kind; values are held within the spins' ranges.
void StoreSpinValues(uint32_t kind, int a, int b, int c, int d, bool same, PlayerRecord* top,
                     PlayerRecord* bottom, SetupTimeValues* values);

// The players as the dialog holds them: the records and the four
// remembered names (row 0 top, 1 bottom).
struct GameSetupPlayers {
  PlayerRecord* white;
  PlayerRecord* black;
  bool whiteOnTop;
  char personName[2][256];
  char computerName[2][256];
  PlayerRecord* Row(int row) const { return (row == 0) == whiteOnTop ? white : black; }
};
// A remembered name holds 255 characters; longer texts are cut.
void CopySetupName(char (&to)[256], const char* from);
// Flip: with `swapColours` (box 1631) the players keep their places and
// change colours, else they keep their colours and change places.
void FlipSetupPlayers(GameSetupPlayers* players, bool swapColours);

// The odds board picture stands at (13, 22) with squares of 19 pixels.
constexpr int kOddsBoardX = 13, kOddsBoardY = 22, kOddsSquare = 19;
// A click on the clicked square: rows 0, 1, 6 and 7 only; a piece other
// than a king is taken off, an empty square gets its initial piece back, a
// king stays. True when the start position changed or the click was taken.
bool OddsBoardClick(Board* start, int x, int y);
