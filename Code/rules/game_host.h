// What a game needs from the parts of the program around it: windows and
// dialogs of the shell, the board view, personalities and engine players,
// opening books, teaching and online play. The shell installs one host at
// start-up; every call has a harmless default, so the rules build and are
// tested without windows, engines or files.
//
// Interface: GameHost, SetGameHost, GetGameHost.
#pragma once

#include <cstdint>

#include "board.h"
#include "moverecord.h"

struct GameRecord;
struct PlayerRecord;
struct PersonalityRecord;
struct EngineSession;

// Codes of the game-event message that every numbered window receives.
enum GameEventCode {
  GAME_EVENT_RETRACTED = 0,  // sent to the game status window only
  GAME_EVENT_OVER = 1,
  GAME_EVENT_HEADER = 2,
  GAME_EVENT_VARIATION_ADDED = 8,
  GAME_EVENT_MOVE_PLAYED = 9,
  GAME_EVENT_MOVE_TAKEN_BACK = 10,
  GAME_EVENT_MOVE_REPLAYED = 11,
  GAME_EVENT_JUMP_BEGINS = 13,
  GAME_EVENT_JUMP_ENDS = 14,
};
constexpr int kGameStatusWindow = 6;

// Message-box answers.
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// The current room's board options that games read; `exists` is false when
// there is no room board.
struct RoomBoardOptions {
  bool exists = false;
  bool announce = false;     // check, mate and stalemate on the status line
  bool openingName = false;  // the opening name on the status line
  bool recordTimes = false;  // each move's clock time as its user comment
};

class GameHost {
 public:
  virtual ~GameHost() = default;

  // Shell: windows, status line, message boxes, sounds, room timer.
  virtual void BroadcastGameEvent(int /*code*/, GameRecord* /*game*/) {}
  virtual void SendGameEventToWindow(int /*window*/, int /*code*/, GameRecord* /*game*/) {}
  virtual int GetNotationStyle() { return 2; }
  virtual RoomBoardOptions GetRoomBoardOptions() { return {}; }
  virtual void PlayMoveSound(const MoveRecord* /*move*/, const Board* /*before*/, int /*side*/) {}
  virtual void SetStatusText(const char* /*text*/) {}
  virtual void ClearStatusText() {}
  virtual int AskYesNo(const char* /*question*/) { return kAnswerNo; }
  virtual void ShowMessage(const char* /*text*/) {}
  virtual void ShowModelessMessage(const char* /*text*/, int /*timeoutSeconds*/) {}
  // The room timer stops while any hold is on; each hold has its release.
  virtual void HoldRoomTimer() {}
  virtual void ReleaseRoomTimer() {}
  virtual void DiscardRoomEvents(GameRecord* /*game*/) {}
  virtual void SetIdleLevel(int /*level*/) {}
  virtual const char* DefaultHeaderBanner() { return ""; }
  virtual void Today(int* year, int* month, int* day) { *year = 2000, *month = 1, *day = 1; }

  // Board view of the current room, around a pause.
  virtual void HideBoardForPause() {}
  virtual void RestoreBoardAfterPause(const Board* /*position*/) {}

  // Personalities and engine players.
  virtual PersonalityRecord* ReadPersonality(PlayerRecord* /*player*/, PersonalityRecord* existing) {
    return existing;
  }
  virtual void FreePersonality(PersonalityRecord* /*personality*/) {}
  virtual void LoadPersonalityBook(PersonalityRecord* /*personality*/, int /*bookSlot*/) {}
  // The personality's 32-bit word `index` (10 engine kind, 19 book depth,
  // 22 draw threshold).
  virtual int32_t PersonalityWord(const PersonalityRecord* /*personality*/, int /*index*/) { return 0; }
  virtual EngineSession* StartEnginePlayer(GameRecord* /*game*/, PlayerRecord* /*player*/) { return nullptr; }
  virtual void ResetEngineGame(GameRecord* /*game*/, PlayerRecord* /*player*/, const MoveRecord* /*moves*/,
                               int /*count*/) {}
  virtual void StartEngineIfToMove(GameRecord* /*game*/) {}
  virtual void SendEngineQuit(EngineSession* /*session*/) {}
  // "force", "undo", "draw"; the analysis restart of the third player is
  // "analyze".
  virtual void SendEngineCommand(PlayerRecord* /*player*/, const char* /*command*/) {}
  // The move, with both remaining times first when `withClocks`.
  virtual void SendEnginePlayerMove(GameRecord* /*game*/, PlayerRecord* /*player*/,
                                    const MoveRecord* /*move*/, bool /*withClocks*/, int32_t /*ownMs*/,
                                    int32_t /*opponentMs*/) {}
  virtual void RequestEngineStatus(GameRecord* /*game*/, PlayerRecord* /*third*/) {}
  // A book move handed to the engine-reply handler as that engine's move.
  virtual void HandleEngineBookMove(GameRecord* /*game*/, int /*slot*/, const char* /*coords*/) {}
  virtual void ChangeGameNotation(GameRecord* /*game*/) {}

  // Opening books, commentary, rating and tournaments, teaching, online.
  virtual bool GetBookOpeningName(const MoveRecord* /*moves*/, int /*count*/, char* /*buffer*/,
                                  int /*size*/) {
    return false;
  }
  virtual bool PickBookMove(int /*bookSlot*/, const MoveRecord* /*moves*/, int /*count*/,
                            MoveRecord* /*out*/) {
    return false;
  }
  virtual bool GetPositionCommentary(const Board* /*position*/, int /*side*/, char* /*buffer*/,
                                     int /*size*/) {
    return false;
  }
  virtual void RecordFinishedGame(GameRecord* /*game*/) {}
  virtual void AdvanceTournamentScript(GameRecord* /*game*/) {}
  virtual void SendDrillEndCommand() {}
  virtual void EndOnlineGame(int /*result*/) {}
  virtual void SendOnlineMove(const MoveRecord* /*move*/) {}
  virtual void NotifyOnlineGameOver() {}
};

// Null restores the default host (every call does nothing).
void SetGameHost(GameHost* host);
GameHost* GetGameHost();
