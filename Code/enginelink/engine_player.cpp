#include "engine_player.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "advisor_requests.h"
#include "board.h"
#include "chess_clock.h"
#include "game_end.h"
#include "game_registry.h"
#include "movegen.h"
#include "notation.h"

// A player keeps its engine's last thinking and status lines in the blocks of
// its record, in the layout of the parsed lines.
static_assert(sizeof(ThinkingLine) == kThinkingBlockSize, "the thinking block is a ThinkingLine");
static_assert(sizeof(EngineStatus) == kStatisticsBlockSize, "the status block is an EngineStatus");

namespace {

EngineLinkHost g_defaultHost;
EngineLinkHost* g_host = &g_defaultHost;

const char* Text(int number, const char* fallback) {
  const char* t = g_host->StringText(number);
  return t ? t : fallback;
}

int DebugWindowForSide(int side) {
  return side == ENGINE_SIDE_WHITE   ? kWhiteMonitorWindow
         : side == ENGINE_SIDE_BLACK ? kBlackMonitorWindow
                                     : kAdvisorMonitorWindow;
}

EngineSession* SessionOf(const PlayerRecord* player) { return player ? player->session : nullptr; }

bool SameText(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
      return false;
  return *a == *b;
}

// A reply compared as a whole: trailing blanks and carriage returns aside.
bool ReplyIs(const char* line, const char* word) {
  size_t n = std::strlen(word);
  if (std::strncmp(line, word, n) != 0) return false;
  for (const char* p = line + n; *p; ++p)
    if (*p != ' ' && *p != '\r' && *p != '\t') return false;
  return true;
}

int SideToMoveIndex(const GameRecord* game) { return game->sideToMove == BLACK ? 1 : 0; }

// The side of the game an engine side plays (WHITE / BLACK), 0 for the advisor.
int ColourOfEngineSide(int side) {
  return side == ENGINE_SIDE_WHITE ? WHITE : side == ENGINE_SIDE_BLACK ? BLACK : 0;
}

void HandleMove(GameRecord* game, const EngineReplyBlock* block);
void HandleText(GameRecord* game, const EngineReplyBlock* block);

}  // namespace

void SetEngineLinkHost(EngineLinkHost* host) { g_host = host ? host : &g_defaultHost; }
EngineLinkHost* GetEngineLinkHost() { return g_host; }

int EngineSideForSlot(uint32_t slot) {
  return slot == SLOT_WHITE   ? ENGINE_SIDE_WHITE
         : slot == SLOT_BLACK ? ENGINE_SIDE_BLACK
                              : ENGINE_SIDE_ADVISOR;
}

PlayerRecord* PlayerForEngineSide(GameRecord* game, int side) {
  if (!game) return nullptr;
  return side == ENGINE_SIDE_WHITE ? &game->white : side == ENGINE_SIDE_BLACK ? &game->black : &game->third;
}

bool IsEnginePlayer(const PlayerRecord* player) {
  if (!player || player->kind != PLAYER_ENGINE || !player->personality) return false;
  EnginePersonality p{};
  if (!g_host->GetPersonality(player, &p)) return false;
  return p.engineKind != kOutsideEngineKind;
}

bool IsDefaultPersonality(const PlayerRecord* player) {
  return IsEnginePlayer(player) && SameText(player->name, "rookwell");
}

int32_t ScoreForWhite(const GameRecord* game, int side, int32_t score) {
  if (side == ENGINE_SIDE_BLACK) return -score;
  if (side == ENGINE_SIDE_ADVISOR && game && game->sideToMove == BLACK) return -score;
  return score;
}

int StartEnginePlayer(PlayerRecord* player, GameRecord* game) {
  if (!player || player->kind != PLAYER_ENGINE) return -1;
  EnginePersonality personality{};
  if (!game || !player->personality || !g_host->GetPersonality(player, &personality)) return 0;
  int show = g_host->ReadSettingInt("debug", "dbgwnd_show", 0);

  EngineDescription d{};
  if (personality.engineKind != kOutsideEngineKind) {
    std::snprintf(personality.enginePath, sizeof personality.enginePath, "%s\\Corvane.exe",
                  g_host->ProgramFolder());
    g_host->SetPersonalityEnginePath(player, personality.enginePath);
    std::snprintf(d.commandLine, sizeof d.commandLine, "%s", show ? "-l- -a- -m" : "-l- -a- -m-");
    d.debugWindowHidden = show ? 0 : 1;
  } else {
    std::snprintf(d.commandLine, sizeof d.commandLine, "%s", personality.commandLine);
    d.debugWindowHidden = 0;
  }
  std::snprintf(d.programPath, sizeof d.programPath, "%s", personality.enginePath);
  std::snprintf(d.startPath, sizeof d.startPath, "%s", personality.enginePath);
  d.gameId = game->id;
  d.side = EngineSideForSlot(player->slot);

  player->session = OpenEngineSession(&d, OnEngineOutput);
  if (!player->session) return 0;
  if (!d.debugWindowHidden) {
    char text[256];
    std::snprintf(text, sizeof text, Text(10141, "-----\r\nAttaching %s Personality\r\n-----\r\n"),
                  player->name);
    g_host->WriteDebugWindow(DebugWindowForSide(d.side), text);
  }
  if (show) ToggleEngineDebugWindow(static_cast<int>(player->slot));
  SendEnginePost(player->session, true);
  return 0;
}

std::vector<std::string> PersonalityParameterLines(const EnginePersonality& p) {
  std::vector<std::string> lines{"rw_parm default"};
  // The strength factor divides below: held inside 1..149 so that neither it
  // nor 150 - s is ever 0 (ordinary strengths give the same numbers).
  int strength = (p.strength + 100) / 2 + 25;
  strength = std::max(1, std::min(149, strength));
  static const int kDivisor[5] = {1, 3, 3, 5, 9};
  static const char kLetters[] = "pnbrq";
  for (int who = 0; who < 2; ++who) {
    char line[kEngineSendSize] = "rw_parm";
    for (int i = 0; i < 5; ++i) {
      long long value = (static_cast<long long>(p.values[who][i]) * 10 / kDivisor[i]) * 75 / strength;
      size_t n = std::strlen(line);
      std::snprintf(line + n, sizeof line - n, " %s%c=%d", who == 0 ? "op" : "my", kLetters[i],
                    static_cast<int>(value));
    }
    lines.push_back(line);
  }
  int t = 150 - strength;
  char line[kEngineSendSize];
  auto weight = [&](int w) { return static_cast<int>(static_cast<long long>(w) * 75 / t); };
  std::snprintf(line, sizeof line, "rw_parm cc=%d mob=%d ks=%d pp=%d pw=%d", weight(p.weights[0]),
                weight(p.weights[1]), weight(p.weights[2]), weight(p.weights[3]), weight(p.weights[4]));
  lines.push_back(line);
  int cfd = std::max(-4000, std::min(4000, p.cfd));
  std::snprintf(line, sizeof line, "rw_parm cfd=%d sop=%d avd=%d rnd=%d sel=%d md=%d", cfd, p.sop, p.avd,
                p.rnd, p.sel, p.md);
  lines.push_back(line);
  std::snprintf(line, sizeof line, "rw_parm tts=%d ttu=%d", std::max(4096, p.hashBytes), p.ttu);
  lines.push_back(line);
  return lines;
}

int SendPersonalityParameters(PlayerRecord* player) {
  EnginePersonality p{};
  if (!player || !player->personality || !g_host->GetPersonality(player, &p)) return -1;
  EngineSession* s = player->session;
  if (!s) return 0;
  for (const std::string& line : PersonalityParameterLines(p)) SendEngineCommand(s, line.c_str());
  SendEnginePonder(s, p.ponder != 0);
  return 0;
}

void ResetEngineGame(PlayerRecord* player, const Board* start, const MoveRecord* moves, int count,
                     int firstSide) {
  EngineSession* s = SessionOf(player);
  if (!s) return;
  SendEngineNew(s);
  SendEngineLevel(s, 0, static_cast<int>(player->baseMs / 1000),
                  static_cast<int>(player->periodOrIncrement / 1000));
  if (IsEnginePlayer(player)) SendPersonalityParameters(player);
  SendEngineForce(s);
  if (start && (!IsInitialBoard(start) || firstSide == BLACK)) {
    if (firstSide == BLACK) SendEngineCommand(s, "a2a3");  // the engine's side to move becomes Black
    SendEnginePosition(player, start);
  }
  for (int i = 0; moves && i < count; ++i) {
    MoveCoords c;
    MoveToCoords(&moves[i], &c);
    SendEngineMove(s, &c);
  }
  if (s->playerMode == kEnginePlayerModeAnalyse) SendEngineAnalyze(s, true);
}

void SendEnginePosition(PlayerRecord* player, const Board* position) {
  EngineSession* s = SessionOf(player);
  if (!s || !position) return;
  static const char kLetters[] = "KQRBNP";
  SendEngineCommand(s, "edit");
  SendEngineCommand(s, "#");
  int colour = WHITE;
  for (int square = 0; square < 128; ++square) {
    if (!OnBoard(square)) continue;
    uint8_t piece = position->sq[square];
    if (!(piece & COLOUR_MASK)) continue;
    int pieceColour = piece & COLOUR_MASK;
    int type = piece & 7;
    if (type > 5) continue;
    if (pieceColour != colour) {
      SendEngineCommand(s, "c");
      colour = pieceColour;
    }
    char word[4] = {kLetters[type], static_cast<char>('a' + (square & 7)),
                    static_cast<char>('8' - (square >> 4)), 0};
    SendEngineCommand(s, word);
  }
  SendEngineCommand(s, ".");
}

void SendEnginePlayerMove(PlayerRecord* player, const MoveRecord* move, int32_t ownMs, int32_t opponentMs) {
  EngineSession* s = SessionOf(player);
  if (!s || !player->personality || !move) return;
  SendEngineTime(s, (ownMs - 3000) / 10, opponentMs / 10);
  MoveCoords c;
  MoveToCoords(move, &c);
  SendEngineMove(s, &c);
}

void EnginePlayerUndo(PlayerRecord* player) { SendEngineUndo(SessionOf(player)); }
void EnginePlayerForce(PlayerRecord* player) {
  EngineSession* s = SessionOf(player);
  if (s && s->playerMode != kEnginePlayerModeAnalyse) SendEngineForce(s);
}
void EnginePlayerOfferDraw(PlayerRecord* player) { SendEngineDraw(SessionOf(player)); }
void RequestEngineStatus(PlayerRecord* player) { SendEngineStatusRequest(SessionOf(player)); }
void SendEnginePlayerCommand(PlayerRecord* player, const char* text) {
  SendEngineCommand(SessionOf(player), text);
}
int SetEnginePlayerPost(PlayerRecord* player, bool on) {
  if (IsEnginePlayer(player)) return -1;  // the built-in engine always posts
  SendEnginePost(SessionOf(player), on);
  return 0;
}
void SetEnginePlayerMode(PlayerRecord* player, int mode) {
  if (EngineSession* s = SessionOf(player)) s->playerMode = mode;
}

int StartEngineTurn(GameRecord* game) {
  if (!game) return 0;
  game->result = ComputeGameResult(game);
  return StartEngineIfToMove(game);
}

int StartEngineIfToMove(GameRecord* game) {
  if (!game || game->result != 0) return 0;
  PlayerRecord* p = PlayerForSide(game, game->sideToMove);
  EngineSession* s = SessionOf(p);
  if (!p || p->kind != PLAYER_ENGINE || !s || s->ended.load()) return 0;
  if (s->playerMode == kEnginePlayerModeAnalyse) return 0;
  if (PlayEngineBookMove(game)) return 0;
  if (IsEngineForced(s))
    StartEngineThinking(s, GetClockRemaining(game, WHITE) / 10, GetClockRemaining(game, BLACK) / 10,
                        SideToMoveIndex(game));
  return 1;
}

void EngineMoveNow(GameRecord* game) {
  if (!game) return;
  PlayerRecord* p = PlayerForSide(game, game->sideToMove);
  EngineSession* s = SessionOf(p);
  if (!p || p->kind != PLAYER_ENGINE || !s) return;
  if (s->playerMode == kEnginePlayerModeAnalyse) {
    const auto* thinking = reinterpret_cast<const ThinkingLine*>(p->thinking);
    MoveRecord line[4];
    int count = 4;
    char text[kEngineTextSize];
    std::snprintf(text, sizeof text, "%s", thinking->line);
    ParseMoveListText(line, &count, text, &game->position, game->sideToMove);
    if (count > 0) {
      MoveCoords c;
      MoveToCoords(&line[0], &c);
      char word[8];
      MoveToEngineText(&c, word);
      char reply[16];
      std::snprintf(reply, sizeof reply, "move %s", word);
      OnEngineOutput(s, &c, nullptr, nullptr, reply, ENGINE_RECEIVED);
      SendEngineMove(s, &c);
    }
  }
  if (StartEngineTurn(game)) SendEngineMoveNow(s);
}

void ToggleEngineDebugWindow(int colour) {
  int side = EngineSideForSlot(static_cast<uint32_t>(colour));
  int window = DebugWindowForSide(side);
  int command = colour == SLOT_WHITE ? 40065 : colour == SLOT_BLACK ? 40066 : 40067;
  g_host->ShowDebugWindow(window, !g_host->IsDebugWindowShown(window), command);
}

void OnEngineOutput(EngineSession* session, const MoveCoords* move, const ThinkingLine* thinking,
                    const EngineStatus* status, const char* line, int direction) {
  if (!session) return;
  const EngineDescription& d = session->description;
  if (!d.debugWindowHidden && direction != ENGINE_ENDED) {
    char text[kEngineTextSize + 8];
    std::snprintf(text, sizeof text, "%s%s\n", direction == ENGINE_SENT ? "<<" : ">>", line ? line : "");
    g_host->WriteDebugWindow(DebugWindowForSide(d.side), text);
  }
  if (direction == ENGINE_SENT) return;
  GameRecord* game = FindGameByGuid(&d.gameId);
  EngineReplyBlock* block = nullptr;
  if (direction == ENGINE_ENDED) {
    block = AllocEngineReply(REPLY_ENDED, &d.gameId, d.side);
  } else if (move) {
    if (!game) return;
    block = AllocEngineReply(REPLY_MOVE, &d.gameId, d.side);
    if (!block || !CoordsToMove(move, &block->move)) {
      FreeEngineReply(block);
      return;
    }
    block->move.timeMs = GetMoveElapsed(game);
  } else if (thinking) {
    if (!game) return;
    block = AllocEngineReply(REPLY_THINKING, &d.gameId, d.side);
    if (block) {
      block->thinking = *thinking;
      block->thinking.score = ScoreForWhite(game, d.side, thinking->score);
    }
  } else if (status) {
    if (!game) return;
    block = AllocEngineReply(REPLY_STATUS, &d.gameId, d.side);
    if (block) block->status = *status;
  } else {
    block = AllocEngineReply(REPLY_TEXT, &d.gameId, d.side);
    if (block) std::snprintf(block->text, sizeof block->text, "%s", line ? line : "");
  }
  if (block) PostRoomEvent(block);
}

void DispatchEngineOutput(EngineReplyBlock* block) {
  if (!block) return;
  GameRecord* game = FindGameByGuid(&block->game);
  if (game) {
    PlayerRecord* player = PlayerForEngineSide(game, block->side);
    int colour = static_cast<int>(player->slot);
    switch (block->kind) {
      case REPLY_MOVE:
        HandleMove(game, block);
        break;
      case REPLY_THINKING:
        std::memcpy(player->thinking, &block->thinking, sizeof block->thinking);
        if (block->side == ENGINE_SIDE_ADVISOR) AdvisorThinking(game, &block->thinking);
        g_host->MarkThinkingChanged(colour);
        break;
      case REPLY_STATUS:
        std::memcpy(player->statistics, &block->status, sizeof block->status);
        if (block->side == ENGINE_SIDE_ADVISOR) AdvisorStatus(game, &block->status);
        g_host->MarkStatusChanged(colour);
        if (IsDefaultPersonality(player)) g_host->PostBestLineUpdate();
        break;
      case REPLY_TEXT:
        HandleText(game, block);
        break;
      case REPLY_ENDED:
        if (block->side != ENGINE_SIDE_ADVISOR && game == GetCurrentGame() && !IsGameOver(game))
          g_host->EngineEnded(game, block->side);
        else if (block->side == ENGINE_SIDE_ADVISOR)
          AdvisorEnded(game);
        break;
    }
  }
  FreeEngineReply(block);
}

namespace {

void HandleMove(GameRecord* game, const EngineReplyBlock* block) {
  if (block->side == ENGINE_SIDE_ADVISOR) {
    AdvisorMove(game, &block->move);
    return;
  }
  if (game != GetCurrentGame() || IsGameOver(game)) return;
  // Only the engine whose side is to move plays; a move from before a take
  // back or for another position is not legal here and is dropped.
  if (ColourOfEngineSide(block->side) != game->sideToMove) return;
  MoveRecord move = block->move;
  if (ReplayMoveList(&game->position, game->sideToMove, &move, 1) != 1) return;
  PlayerRecord* mover = PlayerForSide(game, game->sideToMove);
  if (mover->session) mover->session->hintPending = 0;
  PlayMove(game, &move, true);
}

void HandleText(GameRecord* game, const EngineReplyBlock* block) {
  const char* text = block->text;
  PlayerRecord* player = PlayerForEngineSide(game, block->side);
  EngineSession* s = player->session;
  bool current = game == GetCurrentGame() && !IsGameOver(game);
  if (const char* hint = std::strstr(text, "Hint:")) {
    if (block->side == ENGINE_SIDE_ADVISOR || !s) return;
    MoveCoords c;
    char word[16] = "";
    std::sscanf(hint + 5, " %15s", word);
    if (!EngineTextToMove(word, game->sideToMove == WHITE, &c)) {
      s->hintPending = 0;
      return;
    }
    MoveRecord move{};
    if (!CoordsToMove(&c, &move) || ReplayMoveList(&game->position, game->sideToMove, &move, 1) != 1) {
      s->hintPending = 0;
      return;
    }
    s->hint = c;
    MoveToNotation(&game->position, &move, game->sideToMove, GetGameHost()->GetNotationStyle(), s->hintText);
    s->hintPending = 1;
    return;
  }
  // Whole replies only: a text that merely contains the word (an engine's
  // comment, a monitor line) must not end the game.
  if (ReplyIs(text, "resign")) {
    if (!current) return;
    if (player->slot == SLOT_WHITE) EndGame(game, RESULT_WHITE_RESIGNED);
    if (player->slot == SLOT_BLACK) EndGame(game, RESULT_BLACK_RESIGNED);
    return;
  }
  if (ReplyIs(text, "offer draw")) {
    if (!current || block->side == ENGINE_SIDE_ADVISOR) return;
    char question[kPlayerNameSize + 64];
    std::snprintf(question, sizeof question, "%s offers you a draw, accept?", player->name);
    if (GetGameHost()->AskYesNo(question) == kAnswerYes) EndGame(game, RESULT_AGREED);
    return;
  }
  if (std::strncmp(text, "rw_solve", 8) == 0) {
    if (!(game == GetCurrentGame() && !IsGameOver(game)) || block->side != ENGINE_SIDE_ADVISOR) return;
    if (reinterpret_cast<const ThinkingLine*>(player->thinking)->ply != 0) AdvisorSolveDone(game);
  }
}

}  // namespace

// --- The game host's engine calls -----------------------------------------

EngineSession* EnginePlayerGameHost::StartEnginePlayer(GameRecord* game, PlayerRecord* player) {
  ::StartEnginePlayer(player, game);
  return player ? player->session : nullptr;
}

void EnginePlayerGameHost::ResetEngineGame(GameRecord* game, PlayerRecord* player, const MoveRecord* moves,
                                           int count) {
  if (!game) return;
  ::ResetEngineGame(player, &game->start, moves, count, game->startSide);
}

void EnginePlayerGameHost::StartEngineIfToMove(GameRecord* game) { ::StartEngineIfToMove(game); }

void EnginePlayerGameHost::SendEngineQuit(EngineSession* session) { ::SendEngineQuit(session); }

void EnginePlayerGameHost::SendEngineCommand(PlayerRecord* player, const char* command) {
  if (command && std::strcmp(command, "force") == 0)
    EnginePlayerForce(player);
  else if (command && std::strcmp(command, "undo") == 0)
    EnginePlayerUndo(player);
  else if (command && std::strcmp(command, "draw") == 0)
    EnginePlayerOfferDraw(player);
  else if (command && std::strcmp(command, "analyze") == 0)
    SendEngineAnalyze(SessionOf(player), true);
  else
    SendEnginePlayerCommand(player, command);
}

void EnginePlayerGameHost::SendEnginePlayerMove(GameRecord*, PlayerRecord* player, const MoveRecord* move,
                                                bool withClocks, int32_t ownMs, int32_t opponentMs) {
  if (withClocks) {
    ::SendEnginePlayerMove(player, move, ownMs, opponentMs);
  } else if (EngineSession* s = SessionOf(player)) {
    if (!move) return;
    MoveCoords c;
    MoveToCoords(move, &c);
    SendEngineMove(s, &c);
  }
}

void EnginePlayerGameHost::RequestEngineStatus(GameRecord*, PlayerRecord* third) {
  ::RequestEngineStatus(third);
}

void EnginePlayerGameHost::HandleEngineBookMove(GameRecord* game, int slot, const char* coords) {
  // A book move takes the road of an engine's own move.
  PlayerRecord* player = slot == SLOT_WHITE ? &game->white : &game->black;
  MoveCoords c;
  if (!game || !EngineTextToMove(coords, slot == SLOT_WHITE, &c)) return;
  EngineReplyBlock* block = AllocEngineReply(REPLY_MOVE, &game->id, EngineSideForSlot(player->slot));
  if (!block) return;
  if (!CoordsToMove(&c, &block->move)) {
    FreeEngineReply(block);
    return;
  }
  PostRoomEvent(block);
}

void EnginePlayerGameHost::DiscardRoomEvents(GameRecord* game) {
  if (game) ::DiscardRoomEvents(&game->id);
}
