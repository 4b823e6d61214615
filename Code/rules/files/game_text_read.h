// Reading loosely formatted game listings (PGN, hand-typed or exported
// listings with headers such as "White:" or "blancs :", numbers with or
// without dots, results in words, comments in many kinds of brackets) one
// game at a time, replaying the moves on the reader's own board.
//
// Interface: GameTextInfo, GameTextOptions, GameTextReader (ReadGame,
// ReadHeader), IsGameStartLine, ParseGameTextResult, BuildGameTextTitle,
// ExtractGameTextHeader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "board.h"
#include "moverecord.h"

struct GameTextInfo {
  char white[32];
  char black[32];
  char site[50];
  char event[50];
  char date[20];
  char scoring[80];
  char round[20];
  char title[80];
  int16_t result;  // 16 White won, 32 Black won, 0 drawn, -1 unknown
};

struct GameTextOptions {
  bool lenient = false;       // unplaceable text is kept as comment instead of errors 2 to 5
  bool commentFirst = false;  // start in comment mode; an empty line switches modes
  bool columns = false;       // column listings: the right-hand column is comment
  bool loose = false;         // a move token is completed to the one legal move that fits
  bool placeholders = false;  // moves are "-" marks, counted but not played
};

enum GameTextError {
  GAME_TEXT_OK = 0,
  GAME_TEXT_PUNCTUATION = 2,
  GAME_TEXT_BAD_CHARACTER = 3,
  GAME_TEXT_ILLEGAL_MOVE = 4,
  GAME_TEXT_MOVE_NUMBER = 5,
};

constexpr size_t kGameTextCommentSize = 16384;
constexpr int kGameTextLineSize = 1024;

// Fills `buffer` (kGameTextLineSize bytes) with the next line; false at the end.
using GameTextLineSource = bool (*)(void* context, char* buffer);
// The collected comment text for the `moveCount` moves read so far.
using GameTextCommentCallback = void (*)(void* context, const char* text, int moveCount);
// Each move as it is completed (`index` from 0).
using GameTextMoveCallback = void (*)(void* context, const MoveRecord* move, int index);

int ParseGameTextResult(const char* text, int ply);
// True when the line begins a game: a starting header keyword (PGN-like
// "event \"" ... forms when `pgnLike`) within its first three characters,
// or, in running text (`commentMode` false), the move number 1 first.
bool IsGameStartLine(const char* line, bool commentMode, bool pgnLike);
// Takes the header keywords and their values out of `text` into `info`
// (`ply` decides a result in words).
void ExtractGameTextHeader(std::string* text, GameTextInfo* info, int ply);
void BuildGameTextTitle(GameTextInfo* info);

class GameTextReader {
 public:
  struct Error {
    int code = 0;
    int lineNumber = 0;
    int column = 0;
    std::string line;
  };
  // Reads the next game; `readFirst` reads the first line from the source,
  // else the line kept by the previous call is used. Returns 1 at the end of
  // the source, else 0 (a game was read, or `error` tells why it stopped).
  int ReadGame(int style, GameTextInfo* info, const GameTextOptions& options, bool readFirst,
               GameTextLineSource source, void* context, GameTextCommentCallback onComment,
               GameTextMoveCallback onMove, void* callbackContext, Error* error);
  // Only the header of the next game (PGN-like form); 1 at the end.
  int ReadHeader(GameTextInfo* info, bool readFirst, GameTextLineSource source, void* context, int* lines);
  const std::vector<MoveRecord>& Moves() const { return moves_; }

 private:
  bool NextLine(GameTextLineSource source, void* context);
  void AddComment(const char* text, size_t length);
  void HandOver(GameTextCommentCallback onComment, void* context);
  int ScanLine(int style, const GameTextOptions& options, bool matchMoves, GameTextMoveCallback onMove,
               void* context, int* column);
  int PlayToken(int style, const GameTextOptions& options, bool matchMoves, std::string token,
                GameTextMoveCallback onMove, void* context);

  char line_[kGameTextLineSize] = {};
  bool haveLine_ = false;
  int lineNumber_ = 0;
  std::string comment_;
  std::vector<MoveRecord> moves_;
  Board board_{};
  int side_ = WHITE;
  int16_t result_ = -1;
  // A bracketed comment open across lines.
  char opener_ = 0, closer_ = 0;
  int depth_ = 0;
  std::string bracketText_;
  GameTextInfo* info_ = nullptr;
  GameTextCommentCallback onComment_ = nullptr;
  void* callbackContext_ = nullptr;
  MoveList list_;
};
