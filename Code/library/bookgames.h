// Games as the book builder takes them in: a narrow source of games (tags,
// legal move records from the initial position, result) and a small reader
// of PGN movetext that fills it.
//
// Interface: BookGame, BookGameSource, MovetextGameSource, LineSource,
// FileLineSource, StringLineSource.
//
// The movetext reader knows tag pairs, SAN moves with move numbers, comments
// in braces or after ";", variations in parentheses (skipped), NAGs and the
// result; the program's full PGN reader fills the same interface.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "moverecord.h"

enum BookGameResult { GAME_RESULT_OTHER = 0, GAME_RESULT_WHITE_WINS = 1, GAME_RESULT_BLACK_WINS = 2 };

struct BookGame {
  std::vector<std::pair<std::string, std::string>> tags;
  std::vector<MoveRecord> moves;  // legal, from the initial position
  int result = GAME_RESULT_OTHER;
  bool fromSetUpPosition = false;  // a "FEN" tag or "SetUp" "1": not from the initial position

  const std::string* Tag(const char* name) const;
};

// Where a read failed.
struct BookGameError {
  int number = 0;    // 0: no error
  int line = 0;      // from 1
  int column = 0;    // from 1
  std::string text;  // the line as read
};

enum BookGameRead { GAME_READ_END = 0, GAME_READ_GAME = 1, GAME_READ_ERROR = 2 };

class BookGameSource {
 public:
  virtual ~BookGameSource() = default;
  // The next game; GAME_READ_ERROR fills `error` and ends the source.
  virtual BookGameRead NextGame(BookGame* game, BookGameError* error) = 0;
};

// Lines without their CR and LF; false at the end of input.
using LineSource = std::function<bool(std::string* line)>;
LineSource FileLineSource(FILE* file);
LineSource StringLineSource(const std::string& text);

// Error numbers of the movetext reader.
enum MovetextError {
  MOVETEXT_BAD_TAG = 1,
  MOVETEXT_ILLEGAL_MOVE = 2,
  MOVETEXT_UNBALANCED = 3,
  MOVETEXT_TOO_MANY_MOVES = 4,
};

class MovetextGameSource : public BookGameSource {
 public:
  // Games longer than `maxPlies` are cut there.
  MovetextGameSource(LineSource lines, int maxPlies);
  BookGameRead NextGame(BookGame* game, BookGameError* error) override;

 private:
  bool ReadLine();
  LineSource lines_;
  int maxPlies_;
  std::string line_;
  int lineNumber_ = 0;
  bool haveLine_ = false;
  bool ended_ = false;
};
