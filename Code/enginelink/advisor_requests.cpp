#include "advisor_requests.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "chess_clock.h"
#include "engine_link_host.h"
#include "engine_player.h"
#include "game_end.h"
#include "game_registry.h"
#include "heapkit.h"
#include "movegen.h"
#include "notation.h"
#include "worker_thread.h"

namespace {

constexpr int kMaxGameMoves = 380;
constexpr int kAdviceLineMax = 63;
constexpr int kAdviceTextSize = 8192;

// The request blocks, by game. Worker threads end game analysis, so the table
// has a lock of its own.
std::mutex g_lock;
std::map<const GameRecord*, AdvisorRequests> g_requests;

AdvisorRequests Get(const GameRecord* game) {
  std::lock_guard<std::mutex> guard(g_lock);
  auto it = g_requests.find(game);
  return it == g_requests.end() ? AdvisorRequests{} : it->second;
}
void Put(const GameRecord* game, const AdvisorRequests& r) {
  std::lock_guard<std::mutex> guard(g_lock);
  if (r.flags == 0 && r.holders == 0)
    g_requests.erase(game);
  else
    g_requests[game] = r;
}

const char* Text(int number, const char* fallback) {
  const char* t = GetEngineLinkHost()->StringText(number);
  return t ? t : fallback;
}

int SideIndex(int side) { return side == BLACK ? 1 : 0; }

struct AdviceJob {
  Guid game;
  int explain;
  int style;
  int side;
  Board position;
  int32_t ply;
  MoveRecord line[kAdviceLineMax];
  int count;
  char text[kAdviceTextSize];
};

struct AnalysisJob {
  Guid game;
  Board start, work;
  int firstSide, workSide;
  MoveRecord moves[kMaxGameMoves];
  int count;
  int32_t gamePly;
  int firstPly, lastPly, analysed, currentPly;
  int seconds;
  int style;
  void* window;
  AnalysedPly* plies;
};

MoveRecord g_moves[kMaxGameMoves];  // user-interface thread only

// The game's moves from the start up to its current move, and the advisor
// brought to them.
void BringAdvisorToGame(GameRecord* game) {
  int count = 0;
  int32_t ply = 0;
  if (!CopyGameMovesTo(game, g_moves, kMaxGameMoves, &count, &ply)) count = 0;
  ResetEngineGame(&game->third, &game->start, g_moves, count, game->startSide);
}

bool IsLegalHere(const Board* board, int side, const MoveRecord* move, MoveRecord* checked) {
  *checked = *move;
  for (char*& t : checked->texts) t = nullptr;
  return ReplayMoveList(board, side, checked, 1) == 1;
}

void SetHeaderText(GameRecord* game, int slot, const char* text) {
  memFree_rel(game->header.texts[slot]);
  game->header.texts[slot] = text && *text ? memStrdup_rel(text, 66) : nullptr;
}

// The analysis reports to the window that asked for it.
void PostAnalysis(const AnalysisJob* job, uintptr_t state, intptr_t value) {
  GetEngineLinkHost()->PostToWindow(job ? job->window : nullptr, kMsgAnalysisState, state, value);
}

void FreeAnalysisJob(AnalysisJob* job) {
  if (!job) return;
  memFree_rel(job->plies);
  memFree_rel(job);
}

bool BookKnows(const AnalysisJob* job, int plies) {
  return IsInitialBoard(&job->start) && job->firstSide == WHITE &&
         GetEngineLinkHost()->LookupBookPosition(job->moves, plies);
}

void ThinkAgain(GameRecord* game, const AnalysisJob* job) {
  int base = job->seconds * 40 / 60;
  StartEngineThinking(game->third.session, base * 6000, base * 6000, SideIndex(job->workSide));
}

uint32_t AdviceThread(void* argument) {
  auto* job = static_cast<AdviceJob*>(argument);
  EngineLinkHost* host = GetEngineLinkHost();
  if (!host->ComposeAdviceText(&job->position, job->side, job->line, job->count, job->explain != 0,
                               job->style, job->text, kAdviceTextSize))
    job->text[0] = '\0';
  GameRecord* game = FindGameByGuid(&job->game);
  if (game) {
    if (job->ply == 0)
      SetHeaderText(game, SLOT_POSITION, job->text);
    else if (MoveRecord* move = GetMoveAtPly(game, job->ply))
      SetMoveString(move, job->text, SLOT_POSITION);
  }
  memFree_rel(job);
  host->PostToNumberedWindows(kMsgAdviceState, 1, 0);
  return 0;
}

void OnAnnotationText(int plyIndex, const char* text, void* context) {
  auto* job = static_cast<AnalysisJob*>(context);
  GameRecord* game = FindGameByGuid(&job->game);
  if (!game || !text) return;
  if (plyIndex < 0) {
    SetHeaderText(game, SLOT_COMMENT, text);
    return;
  }
  MoveRecord* move = GetMoveAtPly(game, plyIndex + 1);
  if (!move) return;
  size_t size = std::strlen(text) + 1;
  char* part = static_cast<char*>(memAlloc_rel(size, 66));
  if (!part) return;
  GetEngineLinkHost()->StripMarkup(text, part, static_cast<int>(size));
  SetMoveString(move, part, SLOT_ANNOTATION);
  GetEngineLinkHost()->ExtractMarkup(text, part, static_cast<int>(size));
  SetMoveString(move, part, SLOT_HIDDEN);
  memFree_rel(part);
}

uint32_t GameAnalysisThread(void* argument) {
  auto* job = static_cast<AnalysisJob*>(argument);
  EngineLinkHost* host = GetEngineLinkHost();
  GameRecord* game = FindGameByGuid(&job->game);
  if (!game) {
    PostAnalysis(job, 0, 0);
    FreeAnalysisJob(job);
    return 0;
  }
  host->SetAnnotatorThresholds(host->ReadSettingInt("annotator", "slightly", 65),
                               host->ReadSettingInt("annotator", "better", 135),
                               host->ReadSettingInt("annotator", "much", 450));
  int winner = 0;
  switch (game->result) {
    case 0:
    case 15:
      winner = -1;
      break;
    case 1:
    case 10:
    case 12:
      winner = BLACK;
      break;
    case 2:
    case 11:
    case 13:
      winner = WHITE;
      break;
    default:
      winner = 0;
      break;
  }
  // Each analysed ply's line as its analysis comment.
  Board board = job->start;
  int side = job->firstSide;
  for (int i = 0; i < job->firstPly; ++i) {
    MoveRecord m = job->moves[i];
    MakeMove(&m, &board);
    side = OtherSide(side);
  }
  Board firstBoard = board;
  int firstSide = side;
  for (int i = job->firstPly; i < job->lastPly; ++i) {
    AnalysedPly& a = job->plies[i];
    char text[1024];
    if (a.lineLength <= 0) {
      std::snprintf(text, sizeof text, "%s", Text(148, ""));
    } else {
      int n =
          std::snprintf(text, sizeof text, Text(149, "(%d.%02d) "), a.score / 100, std::abs(a.score) % 100);
      if (n < 0 || n >= static_cast<int>(sizeof text)) n = 0;
      MoveListToText(&board, a.line, a.lineLength, 0, i, side, job->style, false, false, text + n,
                     sizeof text - n);
    }
    if (side == BLACK) a.score = static_cast<int16_t>(-a.score);
    MoveRecord m = job->moves[i];
    MakeMove(&m, &board);
    side = OtherSide(side);
    if (MoveRecord* move = GetMoveAtPly(game, i + 1)) SetMoveString(move, text, SLOT_ANALYSIS);
  }
  AnnotationRequest request{};
  request.position = &firstBoard;
  request.side = firstSide;
  request.moves = job->moves + job->firstPly;
  request.count = job->lastPly - job->firstPly;
  request.firstPly = job->firstPly;
  request.plies = job->plies + job->firstPly;
  request.style = job->style;
  request.summaryNumber = job->seconds;
  request.winner = winner;
  request.bookChecking = IsInitialBoard(&job->start) && job->firstSide == WHITE;
  request.comment = OnAnnotationText;
  request.context = job;
  host->AnnotateAnalysedGame(request);

  SeekToPly(game, job->gamePly);
  PauseClock(game);
  GetGameHost()->BroadcastGameEvent(GAME_EVENT_JUMP_ENDS, game);
  AdvisorRequests r = Get(game);
  r.requestWindow = nullptr;
  Put(game, r);
  ReleaseAdvisor(game, ADVISOR_GAME_ANALYSIS);
  StartGame(game);
  PostAnalysis(job, 5, 0);
  FreeAnalysisJob(job);
  return 0;
}

void AnswerHint(GameRecord* game, const MoveRecord* move) {
  ReleaseAdvisor(game, ADVISOR_HINT);
  MoveRecord checked;
  if (!IsLegalHere(&game->position, game->sideToMove, move, &checked)) return;
  char text[32];
  MoveToNotation(&game->position, &checked, game->sideToMove, GetGameHost()->GetNotationStyle(), text);
  char question[64];
  std::snprintf(question, sizeof question, "Hint: %s, make the move?", text);
  if (GetGameHost()->AskYesNo(question) == kAnswerYes) PlayMove(game, &checked, true);
}

void FailAdvice(GameRecord* game) {
  ReleaseAdvisor(game, ADVISOR_ADVICE);
  GetEngineLinkHost()->PostToNumberedWindows(kMsgAdviceState, 3, 0);
}

void AnswerAdvice(GameRecord* game, const MoveRecord* move) {
  AdvisorRequests r = Get(game);
  MoveRecord checked;
  if (GetCurrentPly(game) != r.advicePly || !IsLegalHere(&game->position, game->sideToMove, move, &checked))
    return FailAdvice(game);
  const auto* thinking = reinterpret_cast<const ThinkingLine*>(game->third.thinking);
  if (!thinking->line[0]) return FailAdvice(game);
  auto* job = static_cast<AdviceJob*>(memAlloc_rel(sizeof(AdviceJob), 66));
  if (!job) return FailAdvice(game);
  std::memset(static_cast<void*>(job), 0, sizeof *job);
  job->game = game->id;
  job->explain = static_cast<int>(r.explain);
  job->style = GetGameHost()->GetNotationStyle();
  job->side = game->sideToMove;
  job->position = game->position;
  job->ply = GetCurrentPly(game);
  char text[kEngineTextSize];
  std::snprintf(text, sizeof text, "%s", thinking->line);
  job->count = kAdviceLineMax;
  ParseMoveListText(job->line, &job->count, text, &game->position, game->sideToMove);
  if (job->count <= 0 || !StartWorkerThread(kAdviceThreadName, job, AdviceThread, nullptr, nullptr)) {
    memFree_rel(job);
    return FailAdvice(game);
  }
  ReleaseAdvisor(game, ADVISOR_ADVICE);
}

void AnswerAnalysis(GameRecord* game, const MoveRecord* move) {
  AdvisorRequests r = Get(game);
  auto* job = static_cast<AnalysisJob*>(r.requestWindow);
  if (!job) {
    StopGameAnalysis(game);
    return;
  }
  if (!(r.flags & ADVISOR_GAME_ANALYSIS)) {
    PostAnalysis(job, 6, 0);
    StopGameAnalysis(game);
    return;
  }
  MoveRecord checked;
  if (!IsLegalHere(&job->work, job->workSide, move, &checked)) return;
  int ply = job->currentPly;
  AnalysedPly& a = job->plies[ply];
  if (BookKnows(job, ply + 1)) {
    a.score = 0;
    a.lineLength = -1;
  } else {
    const auto* thinking = reinterpret_cast<const ThinkingLine*>(game->third.thinking);
    char text[kEngineTextSize];
    std::snprintf(text, sizeof text, "%s", thinking->line);
    int count = 50;
    ParseMoveListText(a.line, &count, text, &job->work, job->workSide);
    a.lineLength = static_cast<int16_t>(count);
    a.score = static_cast<int16_t>(std::max(-32000, std::min(32000, thinking->score)));
  }
  job->analysed += 1;
  int span = std::max(1, job->lastPly - job->firstPly);
  int percent = job->analysed * 100 / span;
  PostAnalysis(job, 2, percent);
  if (percent < 100 && ply + 1 < job->lastPly) {
    EngineSession* s = game->third.session;
    SendEngineForce(s);
    SendEngineUndo(s);
    MoveCoords c;
    MoveToCoords(&job->moves[ply], &c);
    SendEngineMove(s, &c);
    MoveRecord m = job->moves[ply];
    MakeMove(&m, &job->work);
    job->workSide = OtherSide(job->workSide);
    job->currentPly = ply + 1;
    GameStepForward(game);
    PauseClock(game);
    GetGameHost()->BroadcastGameEvent(GAME_EVENT_JUMP_ENDS, game);
    ThinkAgain(game, job);
    return;
  }
  if (!StartWorkerThread(kAnalysisThreadName, job, GameAnalysisThread, nullptr, nullptr)) {
    PostAnalysis(job, 0, 0);
    StopGameAnalysis(game);
  }
}

}  // namespace

AdvisorRequests GetAdvisorRequests(const GameRecord* game) { return Get(game); }

int AcquireAdvisor(GameRecord* game, uint32_t flag, void* window) {
  if (!game) return 0;
  AdvisorRequests r = Get(game);
  if (r.flags != 0 && r.flags != ADVISOR_ANALYSIS_MODE) return 0;
  r.holders += 1;
  if (game->third.session) {
    if (flag == ADVISOR_ANALYSIS_MODE) {
      Put(game, r);
      return 1;
    }
    SendEngineAnalyze(game->third.session, false);
  } else {
    PlayerDescriptor d{};
    std::snprintf(d.name, sizeof d.name, "%s", "Rookwell");
    d.kind = PLAYER_ENGINE;
    d.slot = SLOT_THIRD;
    SetGamePlayer(game, &d, SLOT_THIRD);
    StartEnginePlayer(&game->third, game);
    if (!game->third.session) {  // no engine: the request cannot be served
      r.holders -= 1;
      Put(game, r);
      return 0;
    }
  }
  std::memset(game->third.thinking, 0, sizeof game->third.thinking);
  std::memset(game->third.statistics, 0, sizeof game->third.statistics);
  game->third.session->hintPending = 0;
  r.requestWindow = window;
  r.flags |= flag;
  Put(game, r);
  return 1;
}

int ReleaseAdvisor(GameRecord* game, uint32_t flag) {
  if (!game) return 0;
  AdvisorRequests r = Get(game);
  if (!(r.flags & flag)) return 0;
  r.requestWindow = nullptr;
  r.advicePly = 0;
  if (r.holders > 0) r.holders -= 1;
  if (r.holders == 0) {
    Put(game, AdvisorRequests{});
    SendEngineQuit(game->third.session);
    game->third.session = nullptr;
    return 1;
  }
  if (flag == ADVISOR_ANALYSIS_MODE) {
    Put(game, r);
    return 1;
  }
  r.flags &= ~flag;
  Put(game, r);
  BringAdvisorToGame(game);
  SendEngineAnalyze(game->third.session, true);
  return 1;
}

int StartEngineAnalysis(GameRecord* game) {
  if (!game || !game->tree || !AcquireAdvisor(game, ADVISOR_ANALYSIS_MODE, nullptr)) return 0;
  BringAdvisorToGame(game);
  SendEngineAnalyze(game->third.session, true);
  return 1;
}

int StopEngineAnalysis(GameRecord* game) { return ReleaseAdvisor(game, ADVISOR_ANALYSIS_MODE); }

int RequestEngineHint(GameRecord* game) {
  if (!game) return 0;
  if (!IsHumanToMove(game)) {
    GetGameHost()->SetStatusText(Text(139, "It's not your turn."));
    return 0;
  }
  if (!AcquireAdvisor(game, ADVISOR_HINT, nullptr)) return 0;
  BringAdvisorToGame(game);
  SendEngineLevel(game->third.session, 0, 1, 0);
  StartEngineThinking(game->third.session, 1, 1, SideIndex(game->sideToMove));
  return 1;
}

int RequestAdvice(GameRecord* game, int seconds, bool explain) {
  if (!game) return 0;
  int base = seconds * 40 / 60;
  if (!AcquireAdvisor(game, ADVISOR_ADVICE, nullptr)) return 0;
  BringAdvisorToGame(game);
  if (GetMoveCount(game) > 0) {
    if (MoveRecord* current = GetCurrentMove(game)) SetMoveString(current, nullptr, SLOT_POSITION);
  } else {
    SetHeaderText(game, SLOT_POSITION, nullptr);
  }
  std::memset(game->third.thinking, 0, sizeof game->third.thinking);
  AdvisorRequests r = Get(game);
  r.advicePly = GetCurrentPly(game);
  r.explain = explain ? 1 : 0;
  Put(game, r);
  SendEngineLevel(game->third.session, 0, base, 0);
  StartEngineThinking(game->third.session, base * 6000, base * 6000, SideIndex(game->sideToMove));
  return 1;
}

int SolveForMate(GameRecord* game, void* window) {
  if (!game) return 0;
  AdvisorRequests r = Get(game);
  if (r.flags != 0 && r.flags != ADVISOR_ANALYSIS_MODE) return 0;
  StopGame(game);
  if (!AcquireAdvisor(game, ADVISOR_SOLVE, window)) {
    StartGame(game);
    return 0;
  }
  BringAdvisorToGame(game);
  SendEngineCommand(game->third.session, "rw_solve");
  return 1;
}

// The game goes on only when this call ended a search: a second call, or one
// after the engine's own end, leaves the game (and its clock) as it is.
int CancelSolveForMate(GameRecord* game) {
  const int released = ReleaseAdvisor(game, ADVISOR_SOLVE);
  if (released) StartGame(game);
  return released;
}

int StartGameAnalysis(GameRecord* game, int secondsPerMove, void* window) {
  if (!game) return 0;
  int base = secondsPerMove * 40 / 60;
  AdvisorRequests r = Get(game);
  if (r.flags != 0 && r.flags != ADVISOR_ANALYSIS_MODE) return 0;
  auto* job = static_cast<AnalysisJob*>(memAlloc_rel(sizeof(AnalysisJob), 66));
  if (!job) return 0;
  std::memset(static_cast<void*>(job), 0, sizeof *job);
  StopGame(game);
  job->count = std::min(GetMoveCount(game), kMaxGameMoves);
  job->gamePly = GetCurrentPly(game);
  for (int i = 0; i < job->count; ++i) {
    const MoveRecord* m = GetMoveAtPly(game, i + 1);
    if (!m) {
      job->count = i;
      break;
    }
    job->moves[i] = *m;
    for (char*& t : job->moves[i].texts) t = nullptr;
  }
  job->plies = job->count > 0
                   ? static_cast<AnalysedPly*>(memAlloc_rel(sizeof(AnalysedPly) * (job->count + 1), 66))
                   : nullptr;
  if (!job->plies) {
    FreeAnalysisJob(job);
    StartGame(game);
    return 0;
  }
  std::memset(static_cast<void*>(job->plies), 0, sizeof(AnalysedPly) * (job->count + 1));
  job->game = game->id;
  job->seconds = secondsPerMove;
  job->style = GetGameHost()->GetNotationStyle();
  job->window = window;
  job->lastPly = job->count;
  job->firstPly = job->gamePly >= job->count ? 0 : std::max(0, job->gamePly - 1);
  job->start = game->start;
  job->work = game->start;
  job->firstSide = game->startSide;
  job->workSide = game->startSide;
  for (int i = 0; i < job->firstPly; ++i) {
    MoveRecord m = job->moves[i];
    MakeMove(&m, &job->work);
    job->workSide = OtherSide(job->workSide);
  }
  job->currentPly = job->firstPly;
  int span = std::max(1, job->lastPly - job->firstPly);
  while (job->currentPly < job->lastPly && BookKnows(job, job->currentPly + 1)) {
    job->plies[job->currentPly].score = 0;
    job->plies[job->currentPly].lineLength = -1;
    MoveRecord m = job->moves[job->currentPly];
    MakeMove(&m, &job->work);
    job->workSide = OtherSide(job->workSide);
    job->currentPly += 1;
    job->analysed += 1;
    PostAnalysis(job, 2, job->analysed * 100 / span);
  }
  SeekToPly(game, job->currentPly);
  ResetClocks(game);
  PauseClock(game);
  GetGameHost()->BroadcastGameEvent(GAME_EVENT_JUMP_ENDS, game);
  if (!AcquireAdvisor(game, ADVISOR_GAME_ANALYSIS, job)) {
    SeekToPly(game, job->gamePly);
    GetGameHost()->BroadcastGameEvent(GAME_EVENT_JUMP_ENDS, game);
    StartGame(game);
    FreeAnalysisJob(job);
    return 0;
  }
  if (job->currentPly >= job->lastPly) {  // the book knew the whole game
    if (!StartWorkerThread(kAnalysisThreadName, job, GameAnalysisThread, nullptr, nullptr)) {
      StopGameAnalysis(game);
      return 0;
    }
    return 1;
  }
  ResetEngineGame(&game->third, &job->start, job->moves, job->currentPly, job->firstSide);
  SendEngineLevel(game->third.session, 0, base, 0);
  SendEnginePonder(game->third.session, false);
  ThinkAgain(game, job);
  PostAnalysis(job, 2, 0);
  return 1;
}

int StopGameAnalysis(GameRecord* game) {
  if (!game) return 0;
  AdvisorRequests r = Get(game);
  auto* job = static_cast<AnalysisJob*>(r.requestWindow);
  if (job && (r.flags & ADVISOR_GAME_ANALYSIS)) {
    SeekToPly(game, job->gamePly);
    GetGameHost()->BroadcastGameEvent(GAME_EVENT_JUMP_ENDS, game);
    FreeAnalysisJob(job);
    r.requestWindow = nullptr;
    Put(game, r);
  }
  ReleaseAdvisor(game, ADVISOR_GAME_ANALYSIS);
  StartGame(game);
  return 1;
}

int GameAnalysisPlyLength(GameRecord* game, int ply) {
  AdvisorRequests r = Get(game);
  auto* job = static_cast<AnalysisJob*>(r.requestWindow);
  if (!job || !(r.flags & ADVISOR_GAME_ANALYSIS) || ply < 0 || ply > job->count) return 0;
  return job->plies[ply].lineLength;
}

void AdvisorMove(GameRecord* game, const MoveRecord* move) {
  AdvisorRequests r = Get(game);
  if (r.flags & ADVISOR_ADVICE)
    AnswerAdvice(game, move);
  else if (r.flags & ADVISOR_GAME_ANALYSIS)
    AnswerAnalysis(game, move);
  else if (r.flags & ADVISOR_HINT)
    AnswerHint(game, move);
}

void AdvisorThinking(GameRecord* game, const ThinkingLine* thinking) {
  AdvisorRequests r = Get(game);
  if ((r.flags & ADVISOR_SOLVE) && r.requestWindow)
    GetEngineLinkHost()->SendToWindow(r.requestWindow, kMsgSolveForMate, 4,
                                      reinterpret_cast<intptr_t>(thinking));
}

void AdvisorStatus(GameRecord* game, const EngineStatus* status) {
  AdvisorRequests r = Get(game);
  if ((r.flags & ADVISOR_SOLVE) && r.requestWindow)
    GetEngineLinkHost()->SendToWindow(r.requestWindow, kMsgSolveForMate, 3,
                                      reinterpret_cast<intptr_t>(status));
}

void AdvisorSolveDone(GameRecord* game) {
  AdvisorRequests r = Get(game);
  if (!(r.flags & ADVISOR_SOLVE)) return;
  if (r.requestWindow) GetEngineLinkHost()->SendToWindow(r.requestWindow, kMsgSolveForMate, 1, 0);
  // The window may have cancelled the search while it read the answer.
  if (ReleaseAdvisor(game, ADVISOR_SOLVE)) StartGame(game);
}

void AdvisorEnded(GameRecord* game) {
  // The advisor's engine is gone: every waiting request fails as it would on
  // a refusal, and the session is let go.
  AdvisorRequests r = Get(game);
  if (r.flags & ADVISOR_ADVICE) GetEngineLinkHost()->PostToNumberedWindows(kMsgAdviceState, 3, 0);
  if (r.flags & ADVISOR_GAME_ANALYSIS) {
    PostAnalysis(static_cast<const AnalysisJob*>(r.requestWindow), 0, 0);
    StopGameAnalysis(game);
    return;
  }
  if (r.flags & ADVISOR_SOLVE) CancelSolveForMate(game);
}
