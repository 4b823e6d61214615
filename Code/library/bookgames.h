// Games as the book builder takes them in: a narrow source of games (tags,
// legal move records from the initial position, result) and its filling by
// the program's PGN reader.
//
// Interface: BookGame, BookGameSource, PgnGameSource, LineSource,
// FileLineSource, StringLineSource.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
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

// Games read with the program's PGN reader: the main line of each game
// (variations, comments and glyphs skipped); errors carry the reader's
// numbers (PgnError, or the FEN reader's for a bad "FEN" tag).
class PgnGameSource : public BookGameSource {
 public:
  // Games longer than `maxPlies` are cut there.
  PgnGameSource(LineSource lines, int maxPlies);
  ~PgnGameSource() override;
  BookGameRead NextGame(BookGame* game, BookGameError* error) override;

 private:
  struct State;
  static bool ReaderLine(void* context, char* buffer);
  std::unique_ptr<State> state_;
};
