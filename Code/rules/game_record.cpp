#include "game_record.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "game_end.h"
#include "game_host.h"
#include "game_registry.h"
#include "heapkit.h"
#include "movegen.h"
#include "notation.h"

namespace {

GameHost g_defaultHost;
GameHost* g_host = &g_defaultHost;

bool Quiet(const GameRecord* game) { return (game->kind & (GAME_QUIET | GAME_NO_CLOCK_CHARGE)) != 0; }

bool HasSession(const PlayerRecord* p) { return p->kind == PLAYER_ENGINE && p->session; }

// After a take-back: each engine player leaves its search and undoes the
// move; the third engine follows when it follows the game.
void TellEnginesUndo(GameRecord* game) {
  GameHost* host = GetGameHost();
  for (PlayerRecord* p : {&game->white, &game->black}) {
    if (!HasSession(p)) continue;
    host->SendEngineCommand(p, "force");
    host->SendEngineCommand(p, "undo");
  }
  if (game->third.session && game->thirdPlayerMode == 1) host->SendEngineCommand(&game->third, "undo");
}

void FillPlayer(PlayerRecord* player, const PlayerDescriptor* d, int slot) {
  player->slot = static_cast<uint32_t>(slot);
  if (!d) return;
  player->value = d->value;
  player->kind = d->kind;
  player->timeControl = d->timeControl;
  player->baseMs = d->baseMs;
  player->periodOrIncrement = d->periodOrIncrement;
  player->blindfold = d->blindfold;
  if (d->name[0]) {
    std::memcpy(player->name, d->name, sizeof player->name);
    player->name[sizeof player->name - 1] = '\0';
  }
}

PlayerDescriptor DescriptorOf(const PlayerRecord* p) {
  PlayerDescriptor d{};
  std::memcpy(d.name, p->name, sizeof d.name);
  d.kind = p->kind;
  d.slot = p->slot;
  d.value = p->value;
  d.timeControl = p->timeControl;
  d.baseMs = p->baseMs;
  d.periodOrIncrement = p->periodOrIncrement;
  d.blindfold = p->blindfold;
  return d;
}

// Makes a move on the game's position and flips the side; false (nothing
// changed) for a move that does not start from a piece of the side to move.
bool MakeOnPosition(GameRecord* game, MoveRecord* move) {
  if (!OnBoard(move->from) || !OnBoard(move->to)) return false;
  uint8_t piece = game->position[move->from];
  if ((piece & COLOUR_MASK) != game->sideToMove) return false;
  MakeMove(move, &game->position);
  game->sideToMove = static_cast<uint8_t>(OtherSide(game->sideToMove));
  return true;
}

void UnmakeOnPosition(GameRecord* game, const MoveRecord* move) {
  UnmakeMove(move, &game->position);
  game->sideToMove = static_cast<uint8_t>(OtherSide(game->sideToMove));
}

// The move prepared for the tree: made on the position (undo bytes filled),
// the hash of the new position stored. The caller adds it and undoes the
// position when the tree refuses.
bool PrepareMove(GameRecord* game, const MoveRecord* move, MoveRecord* prepared) {
  *prepared = *move;
  if (!MakeOnPosition(game, prepared)) return false;
  prepared->hash = ComputeBoardHash(&game->position);
  return true;
}

// Puts the position at `ply` of the first-child chain from the start.
void RebuildPosition(GameRecord* game, int32_t ply) {
  game->position = game->start;
  game->sideToMove = game->startSide;
  TreeGoToPly(game->tree, 0);
  for (int32_t i = 0; i < ply; ++i) {
    MoveRecord* m = TreeStepForward(game->tree);
    if (!m) break;
    MakeMove(m, &game->position);
    game->sideToMove = static_cast<uint8_t>(OtherSide(game->sideToMove));
  }
}

// The position before the move at `ply` and that move, without moving the
// game: back along the current line, or forward along the first children.
MoveRecord* PositionBeforePly(GameRecord* game, int32_t ply, Board* board, int* side) {
  MoveTree* tree = game->tree;
  if (ply < 1) return nullptr;
  *board = game->position;
  *side = game->sideToMove;
  if (ply <= tree->ply) {
    std::vector<MoveTreeNode*> line = TreeLineNodes(tree);
    for (int32_t p = tree->ply; p >= ply; --p) {
      UnmakeMove(line[p - 1]->move, board);
      *side = OtherSide(*side);
    }
    return line[ply - 1]->move;
  }
  MoveTreeNode* n = tree->current ? tree->current : &tree->root;
  for (int32_t p = tree->ply + 1;; ++p) {
    n = n->firstChild;
    if (!n) return nullptr;
    if (p == ply) return n->move;
    MoveRecord scratch = *n->move;
    MakeMove(&scratch, board);
    *side = OtherSide(*side);
  }
}

void SendMoveToPlayers(GameRecord* game, const MoveRecord* move, bool replay) {
  GameHost* host = GetGameHost();
  if (replay) {
    for (PlayerRecord* p : {&game->white, &game->black}) {
      if (!HasSession(p)) continue;
      int own = p == &game->white ? WHITE : BLACK;
      host->SendEngineCommand(p, "force");
      host->SendEnginePlayerMove(game, p, move, true, GetClockRemaining(game, own),
                                 GetClockRemaining(game, OtherSide(own)));
    }
    return;
  }
  PlayerRecord* toMove = PlayerForSide(game, game->sideToMove);
  if (HasSession(toMove)) {
    host->SendEnginePlayerMove(game, toMove, move, true, GetClockRemaining(game, game->sideToMove),
                               GetClockRemaining(game, OtherSide(game->sideToMove)));
    host->StartEngineIfToMove(game);
  }
}

void SetClockTimeComment(GameRecord* game, MoveRecord* move, int mover) {
  RoomBoardOptions options = GetGameHost()->GetRoomBoardOptions();
  if (!options.exists || !options.recordTimes) return;
  if (move->texts[SLOT_COMMENT] && *move->texts[SLOT_COMMENT]) return;
  uint32_t seconds = GetClockTimeUsed(game, mover) / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
  SetMoveString(move, text, SLOT_COMMENT);
}

}  // namespace

void SetGameHost(GameHost* host) { g_host = host ? host : &g_defaultHost; }
GameHost* GetGameHost() { return g_host; }

int SideAtPly(const GameRecord* game, int32_t ply) {
  return (ply & 1) ? OtherSide(game->startSide) : game->startSide;
}

PlayerRecord* PlayerForSide(GameRecord* game, int side) {
  return side == WHITE ? &game->white : &game->black;
}
ChessClock* ClockForSide(GameRecord* game, int side) {
  return side == WHITE ? &game->whiteClock : &game->blackClock;
}
const ChessClock* ClockForSide(const GameRecord* game, int side) {
  return side == WHITE ? &game->whiteClock : &game->blackClock;
}

// ---------------------------------------------------------------- life

GameRecord* CreateGame(uint32_t kind, const GameHeader* header, const PlayerDescriptor* white,
                       const PlayerDescriptor* black, const PlayerDescriptor* third, const Board* start,
                       MoveTree* moves, int sideToMove, uint32_t startMoveNumber, uint32_t result) {
  GameHost* host = GetGameHost();
  auto* game = static_cast<GameRecord*>(memAlloc_rel(sizeof(GameRecord), HEAPKIT_TAG_RW));
  if (!game) return nullptr;
  std::memset(game, 0, sizeof *game);
  CreateGuid(&game->id);
  game->kind = kind;
  game->notation = static_cast<uint32_t>(host->GetNotationStyle());
  game->startMoveNumber = startMoveNumber ? startMoveNumber : 1;
  game->sideToMove = game->startSide = static_cast<uint8_t>(sideToMove == BLACK ? BLACK : WHITE);

  bool ok;
  if (header) {
    ok = CopyGameHeader(&game->header, header);
  } else {
    int year, month, day;
    host->Today(&year, &month, &day);
    char date[24];
    std::snprintf(date, sizeof date, "%d-%d-%4d", month, day, year);
    FillDefaultGameHeader(&game->header, host->DefaultHeaderBanner(), date);
    ok = true;
  }
  game->tree = ok ? (moves ? CopyMoveTree(moves) : CreateMoveTree()) : nullptr;
  if (!game->tree) {
    FreeGameHeaderTexts(&game->header);
    memFree_rel(game);
    return nullptr;
  }

  if (start) {
    // The rights and en-passant square are the caller's: only the king
    // squares are found from the pieces.
    Board found = *start;
    FinishBoardSetup(&found);
    game->start = *start;
    game->start[WHITE_KING_SQUARE] = found[WHITE_KING_SQUARE];
    game->start[BLACK_KING_SQUARE] = found[BLACK_KING_SQUARE];
  } else {
    SetInitialBoard(&game->start);
  }
  game->position = game->start;
  RebuildPosition(game, moves ? GetTreePly(moves) : 0);

  SetGamePlayer(game, white, SLOT_WHITE);
  SetGamePlayer(game, black, SLOT_BLACK);
  SetGamePlayer(game, third, SLOT_THIRD);
  ResetClocks(game);
  PauseClock(game);
  game->result = result;
  return game;
}

void DestroyGame(GameRecord* game) {
  if (!game) return;
  GameHost* host = GetGameHost();
  UnregisterGame(&game->id);
  StopGame(game);
  FreeMoveTree(game->tree);
  for (PlayerRecord* p : {&game->white, &game->black, &game->third}) {
    if (p->personality) host->FreePersonality(p->personality);
    p->personality = nullptr;
  }
  FreeGameHeaderTexts(&game->header);
  memFree_rel(game);
}

int StartGame(GameRecord* game) {
  if (!game) return -1;
  GameHost* host = GetGameHost();
  if (game->notation != static_cast<uint32_t>(host->GetNotationStyle())) host->ChangeGameNotation(game);
  RestartClocks(game);
  if (GetTreePly(game->tree) == 0) PauseClock(game);
  int count = 0;
  MoveRecord* line = CopyGameMoves(game, &count);
  for (PlayerRecord* p : {&game->white, &game->black}) {
    if (p->kind != PLAYER_ENGINE) continue;
    if (!p->session) p->session = host->StartEnginePlayer(game, p);
    if (p->session) host->ResetEngineGame(game, p, line, line ? count : 0);
  }
  FreeMoveArray(line);
  SetCurrentGame(game);
  if (!TreeNextMove(game->tree)) host->StartEngineIfToMove(game);
  return 0;
}

int StopGame(GameRecord* game) {
  if (!game) return -1;
  GameHost* host = GetGameHost();
  host->HoldRoomTimer();
  PauseClock(game);
  if (game->black.session == game->white.session) game->black.session = nullptr;
  for (PlayerRecord* p : {&game->white, &game->black, &game->third}) {
    if (p->session) host->SendEngineQuit(p->session);
    p->session = nullptr;
  }
  game->thirdPlayerMode = 0;
  host->DiscardRoomEvents(game);
  host->ReleaseRoomTimer();
  return 0;
}

int SetGamePlayer(GameRecord* game, const PlayerDescriptor* descriptor, int slot) {
  if (!game || slot < SLOT_BLACK || slot > SLOT_THIRD) return -1;
  GameHost* host = GetGameHost();
  PlayerRecord* p = slot == SLOT_WHITE ? &game->white : slot == SLOT_BLACK ? &game->black : &game->third;
  if (p->personality) host->FreePersonality(p->personality);
  p->personality = nullptr;
  FillPlayer(p, descriptor, slot);
  if (descriptor && p->kind == PLAYER_ENGINE) {
    p->personality = host->ReadPersonality(p, nullptr);
    if (p->personality && slot != SLOT_THIRD)
      host->LoadPersonalityBook(p->personality, slot == SLOT_WHITE ? 2 : 1);
  }
  return 0;
}

int SwapPlayers(GameRecord* game) {
  if (!game) return -1;
  PlayerRecord held = game->white;
  game->white = game->black;
  game->black = held;
  // Re-set each from its own fields for its new side (personality and book).
  PlayerDescriptor white = DescriptorOf(&game->white), black = DescriptorOf(&game->black);
  SetGamePlayer(game, &white, SLOT_WHITE);
  SetGamePlayer(game, &black, SLOT_BLACK);
  SwapHeaderSides(&game->header);
  return 0;
}

// ---------------------------------------------------------------- moves

MoveRecord* AddMoveToGame(GameRecord* game, const MoveRecord* move) {
  if (!game || !move) return nullptr;
  MoveRecord prepared;
  if (!PrepareMove(game, move, &prepared)) return nullptr;
  MoveRecord* added = TreeAddMove(game->tree, &prepared);
  if (!added) UnmakeOnPosition(game, &prepared);
  return added;
}

bool AppendMoveToGame(GameRecord* game, const MoveRecord* move) {
  if (!game || !move) return false;
  MoveRecord prepared;
  if (!PrepareMove(game, move, &prepared)) return false;
  if (TreeAppendMove(game->tree, &prepared)) return true;
  UnmakeOnPosition(game, &prepared);
  return false;
}

MoveRecord* ReplaceCurrentMove(GameRecord* game, const MoveRecord* move) {
  if (!game || !move) return nullptr;
  MoveRecord* current = GetTreeMove(game->tree);
  if (!current) return nullptr;
  // The replacement is played from the position before the current move.
  UnmakeOnPosition(game, current);
  MoveRecord prepared;
  if (PrepareMove(game, move, &prepared)) {
    if (MoveRecord* placed = TreeReplaceMove(game->tree, &prepared)) return placed;
    UnmakeOnPosition(game, &prepared);
  }
  MakeOnPosition(game, current);
  return nullptr;
}

MoveRecord* AddVariationToGame(GameRecord* game, const MoveRecord* move) {
  if (!game || !move) return nullptr;
  MoveRecord* current = GetTreeMove(game->tree);
  if (!current) return nullptr;
  UnmakeOnPosition(game, current);
  MoveRecord prepared;
  bool made = PrepareMove(game, move, &prepared);
  if (made) UnmakeOnPosition(game, &prepared);
  MakeOnPosition(game, current);
  return made ? TreeAddAlternative(game->tree, &prepared) : nullptr;
}

int AddVariation(GameRecord* game, const MoveRecord* move) {
  if (!AddVariationToGame(game, move)) return -1;
  GetGameHost()->BroadcastGameEvent(GAME_EVENT_VARIATION_ADDED, game);
  return 0;
}

MoveRecord* GameStepBack(GameRecord* game) {
  if (!game) return nullptr;
  MoveRecord* current = GetTreeMove(game->tree);
  if (!current) return nullptr;
  UnmakeOnPosition(game, current);
  TreeStepBack(game->tree);
  return current;
}

MoveRecord* GameStepForward(GameRecord* game) {
  if (!game) return nullptr;
  MoveRecord* next = TreeStepForward(game->tree);
  if (!next) return nullptr;
  MakeMove(next, &game->position);
  game->sideToMove = static_cast<uint8_t>(OtherSide(game->sideToMove));
  return next;
}

bool SeekToPly(GameRecord* game, int32_t ply) {
  if (!game || ply < 0) return false;
  while (GetTreePly(game->tree) > ply)
    if (!GameStepBack(game)) return false;
  while (GetTreePly(game->tree) < ply)
    if (!GameStepForward(game)) return false;
  return true;
}

MoveRecord* SeekToPlyMove(GameRecord* game, int32_t ply) {
  return SeekToPly(game, ply) ? GetTreeMove(game->tree) : nullptr;
}

int DeleteCurrentMove(GameRecord* game) {
  if (!game || !GetTreeMove(game->tree)) return -1;
  UnmakeOnPosition(game, GetTreeMove(game->tree));
  TreeDeleteCurrent(game->tree);
  return 0;
}

int ClearGameMoves(GameRecord* game) {
  if (!game) return -1;
  // Emptied in place: other threads may hold the tree to copy from it.
  ClearMoveTree(game->tree);
  game->position = game->start;
  game->sideToMove = game->startSide;
  return 0;
}

MoveRecord* GameNextVariation(GameRecord* game) {
  if (!game || TreeCountVariations(game->tree) < 1) return nullptr;
  UnmakeOnPosition(game, GetTreeMove(game->tree));
  MoveRecord* next = TreeRotateToNextVariation(game->tree);
  MakeMove(GetTreeMove(game->tree), &game->position);
  game->sideToMove = static_cast<uint8_t>(OtherSide(game->sideToMove));
  return next;
}

MoveRecord* SwitchToNextVariation(GameRecord* game) { return GameNextVariation(game); }

MoveRecord* GameSelectVariation(GameRecord* game, int n) {
  if (!game || !GetTreeMove(game->tree) || n < 0) return nullptr;
  UnmakeOnPosition(game, GetTreeMove(game->tree));
  MoveRecord* selected = TreeSelectSibling(game->tree, n);
  // When the chain is shorter the tree stands on its last alternative.
  MakeMove(GetTreeMove(game->tree), &game->position);
  game->sideToMove = static_cast<uint8_t>(OtherSide(game->sideToMove));
  return selected;
}

MoveRecord* SwitchToVariation(GameRecord* game, int n) { return GameSelectVariation(game, n); }

int CountVariations(const GameRecord* game) { return game ? TreeCountVariations(game->tree) : -1; }
MoveRecord* GetSiblingMove(const GameRecord* game, int n) {
  return game ? TreeSiblingMove(game->tree, n) : nullptr;
}
MoveRecord* GetCurrentMove(const GameRecord* game) { return game ? GetTreeMove(game->tree) : nullptr; }
MoveRecord* GetNextMove(const GameRecord* game) { return game ? TreeNextMove(game->tree) : nullptr; }

MoveRecord* GetMoveAtPly(const GameRecord* game, int32_t ply) {
  if (!game || ply < 1) return nullptr;
  if (ply <= game->tree->ply) return TreeLineNodes(game->tree)[ply - 1]->move;
  const MoveTreeNode* n = game->tree->current ? game->tree->current : &game->tree->root;
  for (int32_t p = game->tree->ply; n && p < ply; ++p) n = n->firstChild;
  return n ? n->move : nullptr;
}

int GetMoveCount(const GameRecord* game) {
  if (!game) return 0;
  int n = game->tree->ply;
  for (const MoveTreeNode* c = (game->tree->current ? game->tree->current : &game->tree->root)->firstChild; c;
       c = c->firstChild)
    ++n;
  return n;
}

int32_t GetCurrentPly(const GameRecord* game) { return game ? GetTreePly(game->tree) : kNoTreePly; }

const char* GetPositionComment(const GameRecord* game) {
  if (!game) return nullptr;
  MoveRecord* current = GetTreeMove(game->tree);
  return current ? current->texts[SLOT_POSITION] : game->header.texts[SLOT_POSITION];
}

MoveRecord* CopyGameMoves(GameRecord* game, int* count) {
  if (count) *count = 0;
  if (!game) return nullptr;
  LockMoveTree(game->tree);
  std::vector<MoveTreeNode*> line = TreeLineNodes(game->tree);
  auto* moves =
      static_cast<MoveRecord*>(memAlloc_rel(sizeof(MoveRecord) * (line.size() + 1), HEAPKIT_TAG_RW));
  if (moves) {
    for (size_t i = 0; i < line.size(); ++i) {
      moves[i] = *line[i]->move;
      std::memset(moves[i].texts, 0, sizeof moves[i].texts);
    }
    if (count) *count = static_cast<int>(line.size());
  }
  UnlockMoveTree(game->tree);
  return moves;
}

bool CopyGameMovesTo(GameRecord* game, MoveRecord* array, int capacity, int* count, int32_t* ply) {
  if (count) *count = 0;
  if (!game || !array) return false;
  LockMoveTree(game->tree);
  std::vector<MoveTreeNode*> line = TreeLineNodes(game->tree);
  bool fits = line.size() <= static_cast<size_t>(capacity > 0 ? capacity : 0);
  if (fits) {
    for (size_t i = 0; i < line.size(); ++i) {
      array[i] = *line[i]->move;
      std::memset(array[i].texts, 0, sizeof array[i].texts);
    }
    if (count) *count = static_cast<int>(line.size());
    if (ply) *ply = game->tree->ply;
  }
  UnlockMoveTree(game->tree);
  return fits;
}

void FreeMoveArray(MoveRecord* moves) { memFree_rel(moves); }

int MergeMoveList(GameRecord* game, const MoveRecord* moves, int count) {
  if (!game || (!moves && count > 0)) return -1;
  int32_t ply = GetTreePly(game->tree);
  bool ok = TreeMergeMoveList(game->tree, moves, count);
  // The line before the kept ply may have changed: replay it from the start.
  RebuildPosition(game, ply < count ? ply : count);
  return ok ? 0 : -1;
}

char* GetPlyMoveText(GameRecord* game, int32_t ply, int style, char* buffer, size_t size) {
  if (!buffer || size == 0) return buffer;
  buffer[0] = '\0';
  if (!game) return buffer;
  Board before;
  int side;
  MoveRecord* move = PositionBeforePly(game, ply, &before, &side);
  if (!move) return buffer;
  char text[kNotationTextSize];
  if (static_cast<uint32_t>(style) == game->notation) {
    if (!move->text[0]) {
      MoveToNotation(&before, move, side, style, text);
      std::snprintf(move->text, sizeof move->text, "%.*s", kMoveTextSize - 1, text);
    }
    std::snprintf(buffer, size, "%s", move->text);
  } else {
    MoveToNotation(&before, move, side, style, text);
    std::snprintf(buffer, size, "%s", text);
  }
  return buffer;
}

int PlayMove(GameRecord* game, const MoveRecord* move, bool sound) {
  if (!game || !move) return -1;
  GameHost* host = GetGameHost();
  int mover = game->sideToMove;
  if (sound) host->PlayMoveSound(move, &game->position, mover);
  MoveRecord* played = AddMoveToGame(game, move);
  if (!played) return -1;
  uint32_t result = 0;
  if (!Quiet(game)) {
    ChargeMoveTime(game);
    PauseClock(game);
    SetClockTimeComment(game, played, mover);
    result = ComputeGameResult(game);
    if (result == 0 && IsFlagFallen(game, mover)) {
      if (game->kind & GAME_LOSS_ON_TIME)
        result = mover == WHITE ? RESULT_WHITE_TIME : RESULT_BLACK_TIME;
      else
        AnnounceFlagFall(game, mover);
    }
    ShowGameStatus(game, GAME_EVENT_MOVE_PLAYED);
  }
  host->BroadcastGameEvent(GAME_EVENT_MOVE_PLAYED, game);
  SendMoveToPlayers(game, played, false);
  if (game->third.session && (game->thirdPlayerMode & 1))
    host->SendEnginePlayerMove(game, &game->third, played, false, 0, 0);
  if (PlayerForSide(game, game->sideToMove)->kind == PLAYER_REMOTE) host->SendOnlineMove(played);
  ResumeClock(game);
  if (!Quiet(game) && result != 0) EndGame(game, result);
  return 0;
}

int TakeBackMove(GameRecord* game) {
  if (!game) return -1;
  GameHost* host = GetGameHost();
  if (!GetTreeMove(game->tree)) return -1;
  if (!Quiet(game)) UndoMoveTime(game);
  if (!GameStepBack(game)) return -1;
  if (!(game->kind & GAME_QUIET)) ShowGameStatus(game, GAME_EVENT_MOVE_TAKEN_BACK);
  if (!Quiet(game)) PauseClock(game);
  host->BroadcastGameEvent(GAME_EVENT_MOVE_TAKEN_BACK, game);
  TellEnginesUndo(game);
  return 0;
}

int RetractLastMove(GameRecord* game) {
  if (!game) return -1;
  GameHost* host = GetGameHost();
  if (!GetTreeMove(game->tree)) return -1;
  if (!Quiet(game)) UndoMoveTime(game);
  if (!GameStepBack(game)) return -1;
  game->result = 0;
  host->ClearStatusText();
  if (!(game->kind & GAME_QUIET)) ShowGameStatus(game, GAME_EVENT_MOVE_TAKEN_BACK);
  if (!Quiet(game)) ResumeClock(game);
  host->BroadcastGameEvent(GAME_EVENT_MOVE_TAKEN_BACK, game);
  // The retracted move leaves the tree.
  if (TreeStepForward(game->tree)) TreeDeleteCurrent(game->tree);
  host->SendGameEventToWindow(kGameStatusWindow, GAME_EVENT_RETRACTED, game);
  TellEnginesUndo(game);
  return 0;
}

int ReplayMove(GameRecord* game) {
  if (!game) return -1;
  GameHost* host = GetGameHost();
  MoveRecord* move = GameStepForward(game);
  if (!move) return -1;
  bool lineEnds = TreeNextMove(game->tree) == nullptr;
  if (!Quiet(game)) {
    ChargeMoveTime(game);
    PauseClock(game);
    if (game->result == 0 && lineEnds) ResumeClock(game);
  }
  host->ClearStatusText();
  host->BroadcastGameEvent(GAME_EVENT_MOVE_REPLAYED, game);
  SendMoveToPlayers(game, move, true);
  if (game->third.session && game->thirdPlayerMode == 1)
    host->SendEnginePlayerMove(game, &game->third, move, false, 0, 0);
  if (lineEnds) host->StartEngineIfToMove(game);
  if (!(game->kind & GAME_QUIET)) {
    ShowGameStatus(game, GAME_EVENT_MOVE_REPLAYED);
    if (lineEnds && game->result != 0) {
      char text[64];
      host->SetStatusText(GetResultText(game->result, text, sizeof text));
    }
  }
  return 0;
}

int GoToPly(GameRecord* game, int32_t ply, bool notify) {
  if (!game || ply < 0) return -1;
  GameHost* host = GetGameHost();
  int32_t from = GetTreePly(game->tree);
  if (from == ply) return 0;
  if (notify) host->BroadcastGameEvent(GAME_EVENT_JUMP_BEGINS, game);
  int result;
  if (ply == 0) {
    TreeGoToPly(game->tree, 0);
    game->position = game->start;
    game->sideToMove = game->startSide;
    for (PlayerRecord* p : {&game->white, &game->black}) {
      if (!HasSession(p)) continue;
      host->SendEngineCommand(p, "force");
      host->ResetEngineGame(game, p, nullptr, 0);
    }
    if (game->third.session && game->thirdPlayerMode == 1) {
      host->SendEngineCommand(&game->third, "force");
      host->ResetEngineGame(game, &game->third, nullptr, 0);
      host->SendEngineCommand(&game->third, "analyze");
    }
    RestartClocks(game);
    PauseClock(game);
    result = from;
  } else {
    while (GetTreePly(game->tree) > ply && TakeBackMove(game) == 0) {
    }
    while (GetTreePly(game->tree) < ply && ReplayMove(game) == 0) {
    }
    int32_t reached = GetTreePly(game->tree);
    result = reached == ply ? (from > ply ? from - ply : ply - from) : -1;
  }
  if (notify) host->BroadcastGameEvent(GAME_EVENT_JUMP_ENDS, game);
  return result;
}

int ReplaceMoveLine(GameRecord* game, const MoveRecord* moves, int count, bool notify) {
  if (!game || (!moves && count > 0)) return -1;
  GameHost* host = GetGameHost();
  if (notify) host->BroadcastGameEvent(GAME_EVENT_JUMP_BEGINS, game);
  while (GetTreePly(game->tree) > 0 && TakeBackMove(game) == 0) {
  }
  TreeMergeMoveList(game->tree, moves, count);
  TreeGoToPly(game->tree, 0);
  game->position = game->start;
  game->sideToMove = game->startSide;
  while (GetTreePly(game->tree) < count && ReplayMove(game) == 0) {
  }
  if (notify) host->BroadcastGameEvent(GAME_EVENT_JUMP_ENDS, game);
  ShowGameStatus(game, GAME_EVENT_JUMP_ENDS);
  return 1;
}

int SelectVariation(GameRecord* game, int n) {
  if (!game || !game->tree->current || n < 0) return -1;
  // Alternative n counted from the current move along its next siblings.
  MoveTreeNode* target = game->tree->current;
  for (int i = 0; i < n && target; ++i) target = target->next;
  if (!target) return -1;
  if (TakeBackMove(game) != 0) return -1;
  // Entered again, it goes to the first place: the line played from now on.
  TreeAddMove(game->tree, target->move);
  TreeStepBack(game->tree);
  if (ReplayMove(game) != 0) return -1;
  // The result is the one the end of the new line holds.
  int32_t ply = GetTreePly(game->tree);
  while (GameStepForward(game)) {
  }
  game->result = ComputeGameResult(game);
  SeekToPly(game, ply);
  return 0;
}

bool FindMoveForSquare(MoveRecord* out, GameRecord* game, int square) {
  if (!out || !game || !OnBoard(square)) return false;
  thread_local MoveRecord list[kMoveListRoom];
  int count = GenerateLegalMoves(&game->position, list, nullptr, game->sideToMove);
  for (bool to : {true, false}) {
    int found = -1, matches = 0;
    for (int i = 0; i < count; ++i) {
      if ((to ? list[i].to : list[i].from) != square) continue;
      found = i;
      ++matches;
    }
    if (matches == 1) {
      *out = list[found];
      return true;
    }
  }
  return false;
}

bool ParseMoveInput(GameRecord* game, int key, char* typed, size_t typedSize, bool* ambiguous,
                    MoveRecord* out) {
  if (ambiguous) *ambiguous = false;
  if (!game || !typed || !out) return false;
  thread_local MoveRecord list[kMoveListRoom];
  int count = GenerateLegalMoves(&game->position, list, nullptr, game->sideToMove);
  int matchCount = 0, first = count;
  bool full = false, unclear = false;
  int matches =
      TypeMoveKey(typed, typedSize, key, &game->position, list, count, GetGameHost()->GetNotationStyle(),
                  false, &matchCount, nullptr, &first, &full, &unclear);
  if (ambiguous) *ambiguous = unclear;
  if (matches != 1 || first >= count || !(key == 13 || full)) return false;
  *out = list[first];
  return true;
}

int AddAutoComment(GameRecord* game) {
  if (!game || !IsStandardStart(game)) return -1;
  char text[2048];
  if (!GetGameHost()->GetPositionCommentary(&game->position, game->sideToMove, text, sizeof text)) return -1;
  MoveRecord* current = GetTreeMove(game->tree);
  if (current) return SetMoveString(current, text, SLOT_POSITION) ? 0 : -1;
  memFree_rel(game->header.texts[SLOT_POSITION]);
  game->header.texts[SLOT_POSITION] = memStrdup_rel(text, HEAPKIT_TAG_RW);
  return game->header.texts[SLOT_POSITION] ? 0 : -1;
}
