// Rated games without the windows: the rating formula, the speed class of a
// time control, the stored rating blocks and results against personalities,
// the opponent list of the rated-game dialog, the rating changes it shows,
// the bookkeeping when a rated game ends with the lines it reports, and the
// names of adjourned games.
//
// Interface: ComputeNewRating, TimeControlClass, RatingBlockData,
// DecodeRatingBlock, EncodeRatingBlock, PersonalityResult,
// DecodePersonalityResults, EncodePersonalityResults, RatedOpponentEntry,
// RatedOpponentCandidate, SelectRatedOpponents, RatingChangeText,
// RatedGameChanges,
// RatedGameOutcome, RatedRecord, RatedGameFacts, RatedGameReport,
// RatingDateText, RecordRatedGameResult, AdjournedGameName.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Results: 1 win, 0 loss, 2 draw.
enum RatedResult : int { RATED_LOSS = 0, RATED_WIN = 1, RATED_DRAW = 2 };

// The new rating after one game (own and opponent ratings, own and opponent
// game counts); 0 for any other result. Never below 1.
int32_t ComputeNewRating(uint32_t rating, uint32_t opponentRating, uint32_t games, uint32_t opponentGames,
                         int result);

// 0 bullet, 1 blitz, 2 standard, from the player's time-control kind, base
// (ms) and bonus (ms) or moves. Moves of 0 count the base as the whole game.
int TimeControlClass(int kind, int32_t baseMs, int32_t bonusOrMoves);

// One of the three 100-byte rating blocks: rating, highest rating, the date
// of the highest ("%02d/%02d/%02d %02d:%02d:%02d", 64 bytes), and the
// counters wins, losses and draws, each as White then as Black.
enum RatingCounter : int { WINS_WHITE, WINS_BLACK, LOSSES_WHITE, LOSSES_BLACK, DRAWS_WHITE, DRAWS_BLACK };
struct RatingBlockData {
  int32_t rating = 0;
  int32_t highest = 0;
  std::string date;
  uint32_t counters[6] = {};
  uint32_t Games() const;
  uint32_t Wins() const { return counters[WINS_WHITE] + counters[WINS_BLACK]; }
  uint32_t Losses() const { return counters[LOSSES_WHITE] + counters[LOSSES_BLACK]; }
  uint32_t Draws() const { return counters[DRAWS_WHITE] + counters[DRAWS_BLACK]; }
};
constexpr size_t kRatingBlockSize = 100;
RatingBlockData DecodeRatingBlock(const uint8_t* block);
void EncodeRatingBlock(const RatingBlockData& data, uint8_t* block);

// Results against one personality: 44-byte entries {name 32, wins, losses,
// draws}.
struct PersonalityResult {
  std::string name;
  uint32_t wins = 0, losses = 0, draws = 0;
};
constexpr size_t kPersonalityResultSize = 44;
std::vector<PersonalityResult> DecodePersonalityResults(const uint8_t* entries, int count);
std::vector<uint8_t> EncodePersonalityResults(const std::vector<PersonalityResult>& results);

// The rated-game dialog's opponents: at most 256, highest rating first, ties
// by name in byte order.
struct RatedOpponentEntry {
  std::string name;  // the file name without folder and ".RWP"
  uint32_t kind = 0;
  int32_t rating = 0;
};
struct RatedOpponentCandidate {
  RatedOpponentEntry entry;
  uint32_t ageMask = 0;  // the personality's age groups; 8 and up are kid groups
};
std::vector<RatedOpponentEntry> SelectRatedOpponents(const std::vector<RatedOpponentCandidate>& candidates,
                                                     int32_t userRating, int32_t ratedGames, bool kidsRoom);
// "+12" or "-7" (also "+0").
std::string RatingChangeText(int change);

struct RatedRecord;
// The changes of the user's overall rating that a loss, a win and a draw
// against an opponent of `opponentRating` would bring (indexed by result);
// the games counted are those against personalities.
void RatedGameChanges(const RatedRecord& user, int32_t opponentRating, int changes[3]);

// The user's result from a game's result code and colour; -1 when the code
// is no win, loss or draw.
int RatedGameOutcome(uint32_t resultCode, bool userIsWhite);

// The parts of a user's record a rated game changes.
struct RatedRecord {
  int32_t overall = 0;
  int32_t ratedGames = 0;
  int32_t kidsRoomBeaten = 0;
  RatingBlockData blocks[3];
  std::vector<PersonalityResult> results;
};

struct RatedGameFacts {
  uint32_t resultCode = 0;
  bool userIsWhite = true;
  bool tournament = false;  // a rated tournament game between users
  bool kidsRoom = false;
  std::string playerName;    // with `tournament`: the player booked
  std::string opponentName;
  int32_t playerRating = 0;    // with `tournament`: in the game
  int32_t opponentRating = 0;  // in the game
  int32_t opponentGames = 20;  // an engine counts as 20
  // Without `tournament`: the changes the dialog showed, by result.
  int dialogChange[3] = {0, 0, 0};
  // White's time control.
  int timeKind = 4;
  int32_t timeBase = 0, timeBonusOrMoves = 0;
  std::string now;  // "%02d/%02d/%02d %02d:%02d:%02d"
};

struct RatedGameReport {
  bool booked = false;  // false: the result code is no win, loss or draw
  int result = -1;
  int speedClass = 0;
  std::string resultLine, overallLine, provisionalLine, classLine;
  std::string Message() const;  // the lines joined with "\r\n"
};

// The date of a highest rating: "%02d/%02d/%02d %02d:%02d:%02d" from month,
// day, year (two digits are kept), hour, minute and second.
std::string RatingDateText(int month, int day, int year, int hour, int minute, int second);

// Books the finished game on the record; class names are strings 116-118.
RatedGameReport RecordRatedGameResult(RatedRecord* record, const RatedGameFacts& facts,
                                      const std::string classNames[3]);

// "%s vs. %s, %s (Adjourned)" with every character a file name cannot hold
// replaced by "-"; `exists` tells whether "<name>.RWG" is taken, and a taken
// name becomes "<name> (2)", "(3)", ...
std::string AdjournedGameName(const std::string& white, const std::string& black, const std::string& date,
                              bool (*exists)(const std::string& fileName, void* context), void* context);
