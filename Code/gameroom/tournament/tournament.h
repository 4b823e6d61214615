// The one tournament record, its entrants and pairing slots, and what is
// done on it: the round-robin schedule, Swiss pairing with its colour rules,
// scoring and the standings with their tie-break. The record is kept in
// plain fields; tournament_record.h turns it into the file's byte image.
//
// Interface: Tournament, TournamentEntrant, TournamentPairing,
// TournamentRandom, FindEntrant, ColourDue, CanPairEntrants, SetPairing,
// ResetRoundPairings, SwapEntrants, SortEntrants, ComputeStandings,
// AverageOpponentRating, PairEntrantInScoreGroup, PairRoundAtRandom,
// PairNextSwissRound, BuildRoundRobinPairings, ScoreTournamentGame.
#pragma once

#include <cstdint>

constexpr int kTournamentEntrants = 32;
constexpr int kTournamentPairings = 256;
constexpr int kTournamentTextSize = 80;
constexpr int kEntrantNameSize = 32;
constexpr int kPersonalityRecordSize = 3104;
constexpr int32_t kResultNotPlayed = -2;
constexpr int32_t kResultAdjourned = 15;
constexpr int32_t kResultStopped = 16;

constexpr int32_t kColourWhite = 16;  // the piece colour codes of the board
constexpr int32_t kColourBlack = 32;
constexpr int32_t kDueWhite = 1;
constexpr int32_t kDueBlack = 2;
constexpr int32_t kDueAbsolute = 0x100;
constexpr int32_t kPairAWhite = 0x100;  // CanPairEntrants: a plays White
constexpr int32_t kPairABlack = 0x200;  // a plays Black

enum TournamentKind { TOURNAMENT_ROUND_ROBIN = 0, TOURNAMENT_SWISS = 1 };

struct TournamentTimeControl {
  int32_t kind;  // 1 moves in minutes, 4 minutes per game, 5 Fischer, 6 hourglass
  int32_t unused[6];
  int32_t base;       // milliseconds
  int32_t increment;  // kind 1: moves; kind 5: bonus per move in milliseconds
  int32_t unused2;
};

struct TournamentEntrant {
  uint8_t personality[kPersonalityRecordSize];  // copy of the personality file; empty for a person
  char name[kEntrantNameSize];
  int32_t number;  // 1..N, stays with the entrant when the standings reorder them
  int32_t wins, losses, draws, gamesPlayed;
  int32_t score;  // tenths of a point
  int32_t rating;
  int32_t computer;
  int32_t byeRound;  // 1 + the round of the bye, 0 for none
  // Meaningful only while a round is being paired.
  int32_t paired, opponent, colour, colourDue;
};

struct TournamentPairing {
  uint8_t white;  // entrant numbers; 0 while the slot is not paired
  uint8_t black;
  int32_t result;  // kResultNotPlayed, 0 begun and adjourned, else the game's result code
};

struct Tournament {
  int32_t entrantCount;
  int32_t totalGames;
  int32_t gamesPlayed;
  int32_t rounds;  // Swiss rounds, or round-robin cycles
  int32_t currentRound;
  int32_t kind;
  int32_t rated;
  int32_t autoPlay;
  int32_t started;
  int32_t gameInProgress;
  int32_t adjourned;
  int32_t gameStarting;
  int32_t savedGamePresent;
  TournamentTimeControl timeControl;
  TournamentEntrant entrants[kTournamentEntrants];
  TournamentPairing pairings[kTournamentPairings];
  char texts[kTournamentPairings][kTournamentTextSize];
};

// Every field zero, every result "not played".
void ClearTournament(Tournament* t);

// The random source of pairing: uniform 32-bit words. Tests seed their
// own; the program seeds one at start-up.
class TournamentRandom {
 public:
  virtual ~TournamentRandom() = default;
  virtual uint32_t Next() = 0;
  int Bit() { return int(Next() >> 31); }
  // Uniform in [0, n); n > 0.
  int Below(int n) { return int((uint64_t(Next()) * uint32_t(n)) >> 32); }
};

// The default source: a small generator with a seed.
class SeededTournamentRandom : public TournamentRandom {
 public:
  explicit SeededTournamentRandom(uint64_t seed) : state_(seed) {}
  uint32_t Next() override;

 private:
  uint64_t state_;
};

// What the pairing had to give up to pair a round: nothing when the rules
// allowed a complete pairing. The record has no room for it, so callers
// keep it beside the tournament.
struct PairingRelaxation {
  int usedRandom = 0;       // the score-group pass failed and random pairing ran
  int windowRounds = -1;    // the no-rematch window used when narrowed, else -1
  int ignoredAbsolute = 0;  // absolute colours were given up
  int attempts = 0;         // random pairing starts
};

// How far back the no-rematch rule and absolute colours hold; the plain
// rules when default-constructed.
struct PairingRules {
  int windowRounds = -1;  // -1: r mod (N - 1) rounds
  bool ignoreAbsolute = false;
  // When set: met[a] has bit b when a and b met inside the window, built by
  // BuildMetTable for these rules; it spares a scan of the slots per pair.
  const uint64_t* met = nullptr;
};
// Fills met[0..32] for the window of `rules` at the current round.
void BuildMetTable(const Tournament& t, const PairingRules& rules, uint64_t* met);

TournamentEntrant* FindEntrant(Tournament* t, int number, const char* name);
int32_t ColourDue(const Tournament& t, int number);
int32_t CanPairEntrants(Tournament& t, int a, int b, TournamentRandom& random,
                        const PairingRules& rules = PairingRules());
// Stores both numbers in the slot and its text "<White>\t <vs> <Black>".
void SetPairing(Tournament* t, int white, int black, int slot, const char* vs);
void ResetRoundPairings(Tournament* t);
void SwapEntrants(TournamentEntrant* a, TournamentEntrant* b);
void SortEntrants(Tournament* t, int tieBreak);
// The round-robin order: entrant positions '0'.. in standings order,
// N characters and a NUL.
struct StandingsOrder {
  char positions[9] = "01234567";
};
void ComputeStandings(Tournament* t, int tieBreak, StandingsOrder* order);
int32_t AverageOpponentRating(Tournament& t, const TournamentEntrant& entrant);
int PairEntrantInScoreGroup(Tournament& t, int index, TournamentRandom& random, const char* vs,
                            const PairingRules& rules = PairingRules());
// Pairs every entrant left unpaired, relaxing the rules step by step when
// no complete pairing exists; what was relaxed goes to *relaxation.
void PairRoundAtRandom(Tournament& t, TournamentRandom& random, const char* vs,
                       PairingRelaxation* relaxation);
void PairNextSwissRound(Tournament& t, TournamentRandom& random, const char* vs,
                        PairingRelaxation* relaxation = nullptr);

// The round-robin schedule of entrants 1..N over `rounds` cycles into the
// slots from 0, with texts. Returns the number of games written.
int BuildRoundRobinPairings(Tournament* t, const char* vs);

// Books a finished game of the given result code: points, wins, losses,
// draws and games played of both entrants.
void ScoreTournamentGame(TournamentEntrant* white, TournamentEntrant* black, int32_t result);

// The number of pairing slots a tournament of that kind and size uses.
int TournamentTotalGames(int kind, int entrants, int rounds);
