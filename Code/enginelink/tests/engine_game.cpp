// Plays one whole game engine against engine: two Corvane.exe processes over
// pipes, every reply through the room reply queue and applied on this (the
// "user-interface") thread, as in the program. Checks that every move an
// engine sent was played exactly once, that the game is legal from the start
// and that it ends with a result. With --kill N the White engine is killed
// after N plies: its death must be reported, not hung on.
//
//   engine_game [--base MS] [--inc MS] [--kill N]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "chess_clock.h"
#include "engine_player.h"
#include "game_end.h"
#include "game_registry.h"
#include "notation.h"

// After the rules' headers: windows.h defines names such as LANG_ENGLISH.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>  // needs windows.h before it
// clang-format on

struct PersonalityRecord {
  int token;
};

namespace {

std::string g_folder;
std::vector<int> g_ended;
int g_engineMoves[2] = {0, 0};

struct ConsoleLinkHost : EngineLinkHost {
  bool GetPersonality(const PlayerRecord*, EnginePersonality* out) override {
    std::memset(out, 0, sizeof *out);
    std::snprintf(out->name, sizeof out->name, "Rookwell");
    out->strength = 100;
    int values[5] = {100, 300, 300, 500, 900};
    for (int w = 0; w < 2; ++w)
      for (int i = 0; i < 5; ++i) out->values[w][i] = values[i];
    for (int& w : out->weights) w = 100;
    out->cfd = 0;
    out->hashBytes = 1 << 20;
    return true;
  }
  const char* ProgramFolder() override { return g_folder.c_str(); }
  void EngineEnded(GameRecord*, int side) override {
    std::printf("engine of side %d ended\n", side);
    g_ended.push_back(side);
  }
};

struct ConsoleGameHost : EnginePlayerGameHost {
  PersonalityRecord token{1};
  PersonalityRecord* ReadPersonality(PlayerRecord*, PersonalityRecord*) override { return &token; }
};

// Hands the queued replies to the user-interface side, counting the engines'
// moves that arrive while the game goes on (an engine may still answer the
// move that ended the game).
void Drain(LockedRoomReplyQueue* queue, GameRecord* game) {
  while (EngineReplyBlock* block = queue->Take()) {
    if (block->kind == REPLY_MOVE && block->side < 2 && game->result == 0) g_engineMoves[block->side]++;
    DispatchEngineOutput(block);
  }
}

// The first started of our child processes named Corvane.exe (it plays
// White), 0 when there is none. The snapshot's order is not the order of
// starting, so the processes' creation times decide.
DWORD FirstChildEngine() {
  DWORD first = 0;
  ULONGLONG firstStart = ~0ull;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32First(snap, &entry); ok; ok = Process32Next(snap, &entry)) {
    if (entry.th32ParentProcessID != GetCurrentProcessId() || _stricmp(entry.szExeFile, "Corvane.exe") != 0)
      continue;
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, entry.th32ProcessID);
    FILETIME created, exited, kernel, user;
    if (h && GetProcessTimes(h, &created, &exited, &kernel, &user)) {
      ULONGLONG start = (ULONGLONG(created.dwHighDateTime) << 32) | created.dwLowDateTime;
      if (start < firstStart) firstStart = start, first = entry.th32ProcessID;
    }
    if (h) CloseHandle(h);
  }
  CloseHandle(snap);
  return first;
}

PlayerDescriptor Engine(uint32_t slot, uint32_t base, uint32_t inc) {
  PlayerDescriptor d{};
  std::snprintf(d.name, sizeof d.name, "Rookwell");
  d.kind = PLAYER_ENGINE;
  d.slot = slot;
  d.timeControl = TIME_INCREMENT;
  d.baseMs = base;
  d.periodOrIncrement = inc;
  return d;
}

}  // namespace

int main(int argc, char** argv) {
  uint32_t base = 6000, inc = 100;
  int killAfter = -1;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--base")) base = static_cast<uint32_t>(std::atoi(argv[i + 1]));
    if (!std::strcmp(argv[i], "--inc")) inc = static_cast<uint32_t>(std::atoi(argv[i + 1]));
    if (!std::strcmp(argv[i], "--kill")) killAfter = std::atoi(argv[i + 1]);
  }
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  g_folder = path;
  g_folder.resize(g_folder.find_last_of("\\/"));

  ConsoleLinkHost link;
  ConsoleGameHost host;
  LockedRoomReplyQueue queue;
  SetEngineLinkHost(&link);
  SetGameHost(&host);
  SetRoomReplyQueue(&queue);
  InitGameRegistry();

  PlayerDescriptor white = Engine(SLOT_WHITE, base, inc), black = Engine(SLOT_BLACK, base, inc);
  Board start;
  SetInitialBoard(&start);
  GameRecord* game = CreateGame(GAME_ORDINARY | GAME_LOSS_ON_TIME, nullptr, &white, &black, nullptr, &start,
                                nullptr, WHITE, 1, 0);
  if (!game) return 2;
  RegisterGame(game, 0);
  StartGame(game);
  if (!game->white.session || !game->black.session) {
    std::printf("the engines could not be started from %s\n", g_folder.c_str());
    return 2;
  }

  DWORD started = GetTickCount();
  // Far beyond both clocks for any sane game length: an engine hangs. Kept
  // below CTest's time-out so that a hang reports the ply it stopped at.
  const DWORD limit = 4 * (base + 200 * inc) + 100000;
  int code = 0;
  bool killed = false;
  while (game->result == 0) {
    Drain(&queue, game);
    if (killAfter >= 0 && !killed && GetCurrentPly(game) >= killAfter) {
      DWORD white = FirstChildEngine();
      if (!white) {
        std::printf("no engine process found to kill\n");
        return 3;
      }
      HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, white);
      if (!h || !TerminateProcess(h, 9)) return 3;
      CloseHandle(h);
      killed = true;
    }
    if (killed && !g_ended.empty()) break;
    if (GetTickCount() - started > limit) {
      std::printf("no result after %lu ms at ply %d\n", static_cast<unsigned long>(GetTickCount() - started),
                  GetCurrentPly(game));
      code = 1;
      break;
    }
    Sleep(5);
  }
  // The game may have ended before the killed engine's end was handed over.
  for (DWORD waited = GetTickCount(); killed && g_ended.empty() && GetTickCount() - waited < 10000; Sleep(5))
    Drain(&queue, game);
  DWORD took = GetTickCount() - started;

  // The whole game again from the start: every move legal, nothing lost.
  int count = 0;
  MoveRecord* moves = CopyGameMoves(game, &count);
  int legal = ReplayMoveList(&game->start, WHITE, moves, count);
  std::string text;
  Board board = game->start;
  int side = WHITE;
  for (int i = 0; i < legal; ++i) {
    char san[32];
    MoveToNotation(&board, &moves[i], side, 0, san);
    if (side == WHITE) text += std::to_string(i / 2 + 1) + ". ";
    text += std::string(san) + " ";
    MoveRecord m = moves[i];
    MakeMove(&m, &board);
    side = OtherSide(side);
  }
  FreeMoveArray(moves);
  char result[64] = "";
  GetResultText(game->result, result, sizeof result);
  std::printf("%s\nresult %u (%s) after %d plies in %lu ms; engine moves sent: white %d, black %d\n",
              text.c_str(), game->result, result, count, static_cast<unsigned long>(took), g_engineMoves[0],
              g_engineMoves[1]);

  if (killed) {
    if (g_ended != std::vector<int>{ENGINE_SIDE_WHITE}) {
      std::printf("the killed engine was not reported\n");
      code = 1;
    }
  } else if (code == 0) {
    if (legal != count) {
      std::printf("illegal move at ply %d\n", legal + 1);
      code = 1;
    }
    if (game->result < 1 || game->result > 13) {
      std::printf("no legal result\n");
      code = 1;
    }
    // Each side's moves were all sent by its engine and each played once.
    int whiteMoves = (count + 1) / 2, blackMoves = count / 2;
    if (g_engineMoves[0] != whiteMoves || g_engineMoves[1] != blackMoves) {
      std::printf("engine moves and game moves differ\n");
      code = 1;
    }
  }
  StopGame(game);
  queue.Drain();
  UnregisterGame(&game->id);
  DestroyGame(game);
  Sleep(200);  // the reader threads see the engines' quit and free their sessions
  return code;
}
