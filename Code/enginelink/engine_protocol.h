// The main program's side of the engine protocol: one EngineSession per
// running engine, the text sent for each command, and the parsing of every
// line the engine writes into a move, a thinking line, a status line or
// plain text.
//
// Interface: OpenEngineSession, the Send... operations, StartEngineThinking,
// IsEngineForced, MoveToEngineText, EngineTextToMove, ParseEngineLine.
//
// Replies arrive on the channel's reader thread. After SendEngineQuit the
// reader thread frees the session once its last callback has returned, so the
// callback never sees a freed session.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine_channel.h"
#include "notation.h"
#include "utils.h"

constexpr int kEnginePathSize = 256;
constexpr int kEngineSendSize = 64;  // a sent line with its line feed: 63 characters
constexpr int kEngineTextSize = 2048;

enum EngineSide { ENGINE_SIDE_WHITE = 0, ENGINE_SIDE_BLACK = 1, ENGINE_SIDE_ADVISOR = 2 };

struct EngineDescription {
  char programPath[kEnginePathSize];
  char startPath[kEnginePathSize];
  char commandLine[kEnginePathSize];
  Guid gameId;
  int32_t side;
  int32_t debugWindowHidden;
};

struct ThinkingLine {
  char plyText[8];
  int32_t ply;
  int32_t score;
  int32_t time;
  int32_t nodes;
  char line[kEngineTextSize];  // principal variation, a longer one cut
};

struct EngineStatus {
  int32_t time;
  int32_t nodes;
  int32_t ply;
  int32_t movesLeft;
  int32_t totalMoves;
  char move[kEngineTextSize];
};

enum EngineDirection {
  ENGINE_RECEIVED = 0,
  ENGINE_SENT = 1,
  ENGINE_ENDED = 2,  // the engine's output closed before the session stopped it
};

struct EngineSession;
using EngineReplyCallback = void (*)(EngineSession* session, const MoveCoords* move,
                                     const ThinkingLine* thinking, const EngineStatus* status,
                                     const char* line, int direction);

struct EngineSession {
  EngineDescription description;
  int32_t forced;
  EngineChannel* channel;
  EngineReplyCallback callback;
  // Kept for the engine player that owns the session.
  int32_t playerMode;  // 7: the engine analyses instead of playing
  int32_t hintPending;
  MoveCoords hint;
  char hintText[20];
  std::atomic<int> quitting;  // set by SendEngineQuit: the reader thread frees the session
  std::atomic<int> ended;     // the engine's output closed
};

EngineSession* OpenEngineSession(const EngineDescription* description, EngineReplyCallback callback);
void SendEngineQuit(EngineSession* session);
void SendEnginePost(EngineSession* session, bool on);
void SendEngineAnalyze(EngineSession* session, bool on);
void SendEnginePonder(EngineSession* session, bool on);
void SendEngineStatusRequest(EngineSession* session);
void SendEngineForce(EngineSession* session);
void SendEngineMove(EngineSession* session, const MoveCoords* move);
void SendEngineDraw(EngineSession* session);
void SendEngineUndo(EngineSession* session);
void SendEngineNew(EngineSession* session);
void SendEngineWhite(EngineSession* session);
void SendEngineBlack(EngineSession* session);
void SendEngineLevel(EngineSession* session, int moves, int baseSeconds, int incrementSeconds);
void SendEngineTime(EngineSession* session, int ownCentiseconds, int opponentCentiseconds);
void StartEngineThinking(EngineSession* session, int whiteCentiseconds, int blackCentiseconds,
                         int sideToMove);
void SendEngineGo(EngineSession* session);
void SendEngineMoveNow(EngineSession* session);
// At most 62 characters; a longer text is refused (nothing sent).
void SendEngineCommand(EngineSession* session, const char* text);
int IsEngineForced(const EngineSession* session);

// "e2e4", "e7e8q"; `out` holds at least 6 characters.
void MoveToEngineText(const MoveCoords* move, char* out);
// False for text that is not a coordinate move. Castling words use rank 1
// when `white`, else rank 8. The text is not changed.
bool EngineTextToMove(const char* text, bool white, MoveCoords* move);
// The channel's line callback; context is the session.
void ParseEngineLine(const char* line, void* context);
