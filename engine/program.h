// Corvane program: the engine's state between the host and the search: the
// game, the play mode, the protocol flags, the parameter table and the time
// control, with the command loop (cmdloop.cpp), the root search and time
// allocation (think.cpp) and the game-file reader (jgn.cpp).
//
// Interface: Program, CommandLoop, Think, TimeInit, AllocateMoveTime,
// GrantedTime, SyncEngineClock, XgamClkStart, XgamClkStop, XgamClkDiscard,
// FormatClock, CccJgnRead, ParmCommand, FormatThinkingLine.
#pragma once

#include <string>

#include "eval.h"
#include "game.h"
#include "hostio.h"

namespace corvane {

enum EngineMode { kModeForce = 0, kModeWhite, kModeBlack, kModeAnaWait, kModeAnaGo, kModeEdit };
enum SearchKind { kKindIdle = 0, kKindAnal, kKindBusy, kKindPonder, kKindPonderHit };

struct TimeControl {
  int moves = 999;     // per control
  int base = 300;      // seconds
  int inc = 0;         // seconds
  int fixed = 0;       // seconds per move, 0 none
  int depthShow = 99;  // "sd"
};

// Search status for the output lines; line = moves from the root.
struct SearchStatus {
  int time;  // centiseconds since the search started
  double nodes;
  int depth;
  int fullDepth;
  int researched;
  int moveIndex;
  int moveCount;
  int score;  // reported form
  EngineMove line[32];
};

struct Program {
  HostIo* io = nullptr;
  EngineGame game;
  int mode = kModeForce;
  int kind = kKindIdle;
  bool ponder = false;
  bool post = false;
  int colour = 0;  // 1 the engine plays white
  TimeControl tc;
  i32 params[kParamCount];
  long long startStamp = 0;  // program start, centiseconds
  bool quit = false;

  // The search now running (think.cpp).
  struct Limits {
    long long start;             // centiseconds
    int target;                  // centiseconds, 0 none
    double first, second, hard;  // seconds
    int depth;
  } limits{};
  bool pondering = false;
  bool lineShown = false;
  SearchStatus result{};
  int curMoveIndex = 0;
  int curResearch = 0;
  int curDepth = 0;
  int rootCount = 0;
  bool inThink = false;
};

extern Program g_prog;

// Command loop (cmdloop.cpp).
void ProgramInit(Program& pr, HostIo* io);  // defaults, hash table, initial game
void CommandLoop(Program& pr);
// Runs one idle-loop turn; false once "quit" was read.
bool CommandLoopTurn(Program& pr);
void ParmCommand(Program& pr, const CommandWords& w, int first);
void FormatThinkingLine(const EnginePosition& root, int depth, int score, int timeCs, double nodes,
                        const EngineMove* line, char* out, size_t size);
void SendThinkingLine(Program& pr);
// Reads one pending line during a search: 0 nop, 1 stop, 2 period, 3 convert, 4 abort.
int SearchCommand(Program& pr);
void ShowBoard(Program& pr);
bool ReadNumber(const char* word, int* value);

// Time control and root search (think.cpp).
long long GrantedTime(const TimeControl& tc, int n);
void SyncEngineClock(Program& pr, long long remainingCs);
void AllocateMoveTime(Program& pr, int cur, int* target, int* maximum, int* depth, bool show);
void TimeTest(Program& pr, int moveNumber, double usedSeconds);  // "lt"
void XgamClkStart(Program& pr);
void XgamClkStop(Program& pr);
void XgamClkDiscard(Program& pr);
long long UsedTime(Program& pr);
const char* FormatClock(long long cs, char* out);
void TimeInit(Program& pr, int target, int maximum, int depth);
// Best move or 0 when a command aborted the search; reply receives the expected reply.
EngineMove Think(Program& pr, int target, int maximum, int depth, bool mate, EngineMove* reply, bool ponder,
                 bool hold);
// Sets the search position from a game (start position and moves up to cur).
void SetSearchPosition(const EngineGame& game);

// JGN reader (jgn.cpp): false with a reason when the file cannot be used.
bool CccJgnRead(const char* argument, EngineGame* game, std::string* error);

}  // namespace corvane
