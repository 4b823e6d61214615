// Requests served by a game's advisor (its third player, an engine of
// colour 2): analysis mode, a hint, written advice, a whole-game analysis
// that annotates every move, and solve for mate. Requests start and answers
// arrive on the user-interface thread; the commentary work runs on the named
// worker threads "RWADVICE_THREAD" and "RWANAL_THREAD", which reach the game
// only through the registry by GUID and report with posted messages.
//
// Interface: AcquireAdvisor, ReleaseAdvisor, StartEngineAnalysis,
// StopEngineAnalysis, RequestEngineHint, RequestAdvice, SolveForMate,
// CancelSolveForMate, StartGameAnalysis, StopGameAnalysis, and the answers
// the engine players route here (AdvisorMove, AdvisorThinking,
// AdvisorStatus, AdvisorSolveDone, AdvisorEnded).
#pragma once

#include <cstdint>

#include "engine_protocol.h"
#include "game_record.h"

enum AdvisorRequestFlag : uint32_t {
  ADVISOR_ANALYSIS_MODE = 1,
  ADVISOR_ADVICE = 2,
  ADVISOR_GAME_ANALYSIS = 8,
  ADVISOR_SOLVE = 16,
  ADVISOR_HINT = 32,
};

// The request block of a game.
struct AdvisorRequests {
  uint32_t flags;
  uint32_t holders;
  uint32_t explain;
  int32_t advicePly;
  void* requestWindow;  // solve for mate: the window; game analysis: the job
};

// The game's block (all zero when no request is known).
AdvisorRequests GetAdvisorRequests(const GameRecord* game);

int AcquireAdvisor(GameRecord* game, uint32_t flag, void* window);
int ReleaseAdvisor(GameRecord* game, uint32_t flag);
int StartEngineAnalysis(GameRecord* game);
int StopEngineAnalysis(GameRecord* game);
int RequestEngineHint(GameRecord* game);
int RequestAdvice(GameRecord* game, int seconds, bool explain);
int SolveForMate(GameRecord* game, void* window);
int CancelSolveForMate(GameRecord* game);
int StartGameAnalysis(GameRecord* game, int secondsPerMove, void* window);
int StopGameAnalysis(GameRecord* game);

// Book plies of a running game analysis and its per-ply results, for tests:
// -1 length marks a book move.
int GameAnalysisPlyLength(GameRecord* game, int ply);

void AdvisorMove(GameRecord* game, const MoveRecord* move);
void AdvisorThinking(GameRecord* game, const ThinkingLine* thinking);
void AdvisorStatus(GameRecord* game, const EngineStatus* status);
void AdvisorSolveDone(GameRecord* game);
void AdvisorEnded(GameRecord* game);
