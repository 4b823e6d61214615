// Reading PGN: tag pairs into the header, players and start position; move
// text (moves, numbers, comments, variations, glyphs, results) into the move
// tree with comments. Games come from any line source; a PGN file with many
// games is indexed first (offset and line of each game's first tag line).
//
// Interface: PgnReader (one reading state), PgnFileStream (game after game
// from an open file, for importers), ParsePgnGameText, ReadPgnFromMemory,
// BuildPgnIndex, ReadPgnGame, ReadPgnGameTags, ClosePgnIndex,
// GetPgnParseError, GetPgnParseErrorMove, BuildPgnListTitle, PgnResultCode, PgnIndexPath,
// IsPgnTagLine.
//
// The free functions share one program-wide reader, so one PGN text is read
// at a time through them; other threads use a PgnReader or PgnFileStream of
// their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "moverecord.h"

struct GameRecord;
class PgnFileLines;

enum PgnError {
  PGN_OK = 0,
  PGN_BAD_CHARACTER = 3,
  PGN_ILLEGAL_MOVE = 4,
  PGN_BAD_MOVE_NUMBER = 5,  // kept for the code table: move numbers are only hints now
  PGN_CANNOT_OPEN = 7,
  PGN_BAD_VARIATION = 9,  // also a variation nested deeper than kPgnMaxDepth
  PGN_NOT_OPEN = 10,
  PGN_BAD_SETUP = 17,
  PGN_CANNOT_CREATE_INDEX = 18,
  PGN_CANNOT_OPEN_INDEX = 19,
  PGN_SEEK_FAILED = 20,
  PGN_BAD_RESULT = 99,
};
// A FEN tag gives the FEN reader's code (11 to 16); a position that reads
// but could not occur (no king, two kings, too many men) gives 11.

constexpr int kPgnLineSize = 1024;     // a line and its NUL
constexpr int kPgnCommentSize = 4096;  // the pending comment and its NUL
constexpr int kPgnMaxDepth = 500;      // nested variations
constexpr int kPgnTitleSize = 80;

// Fills `buffer` (kPgnLineSize bytes) with the next line, NUL-terminated;
// false at the end of the source. A line longer than the buffer comes in
// pieces: a piece of kPgnLineSize - 1 characters that does not end in LF is
// continued by the next one, and the reader joins them, so no token,
// comment or tag is ever cut. (A source that keeps the LF of each line is
// never misread.)
using PgnLineSource = bool (*)(void* context, char* buffer);
// Called with each move just played into the game.
using PgnMoveCallback = void (*)(void* context, GameRecord* game, const MoveRecord* move);

// "1-0" 11, "0-1" 10, "1/2-1/2" "0.5-0.5" "1/2" 9, "*" 0, else 99.
int PgnResultCode(const char* text);
// A trimmed line of the form [Name "value"].
bool IsPgnTagLine(const char* line);
// The index file beside a PGN file: the extension replaced by ".IDX", or
// ".IDX" appended when the file name has none.
std::string PgnIndexPath(const char* pgnPath);
// One line for game lists, at most kPgnTitleSize - 1 characters.
char* BuildPgnListTitle(const GameRecord* game, char* out);

class PgnReader {
 public:
  PgnReader() = default;
  // Reads one game into a game the caller created. 0 or a PgnError. A tag
  // line after the move text ends the game and is kept for the next call.
  int ParseGame(PgnLineSource source, void* context, GameRecord* game, PgnMoveCallback onMove = nullptr,
                void* moveContext = nullptr, bool tagsOnly = false);
  // Forgets a kept line and sets the line counter (the line before the next).
  void Restart(int lineNumber);
  // Drops lines up to the next tag line (after a failed game).
  void SkipToNextGame(PgnLineSource source, void* context);
  bool HasPendingLine() const { return pendingLine_; }
  // The last ParseGame met a tag or a non-empty move-text line.
  bool SawContent() const { return sawContent_; }
  // The last ParseGame read a tag line.
  bool SawTags() const { return sawTags_; }
  void GetError(int* line, std::string* text, int* column) const;
  // The move token that a move error (PGN_ILLEGAL_MOVE) stopped at.
  const std::string& ErrorMove() const { return errorMove_; }

 private:
  bool NextLine(PgnLineSource source, void* context);
  int ReadTags(PgnLineSource source, void* context, GameRecord* game, bool* ended);
  int ApplyTag(GameRecord* game, const char* line);
  int ScanLine(GameRecord* game);
  int PlayToken(GameRecord* game, const std::string& token);
  int OpenVariation(GameRecord* game);
  int CloseVariation(GameRecord* game);
  void AddComment(const char* text, size_t length);
  void AttachComment(GameRecord* game);
  int SetError(int code, int column);

  char piece_[kPgnLineSize] = {};
  std::string line_;  // the whole current line, trimmed and in the Windows character set
  bool pendingLine_ = false;
  int lineNumber_ = 0;
  bool sawContent_ = false;
  bool sawTags_ = false;
  MoveList moves_;
  std::string pending_;
  // Move-text state.
  int state_ = 0;
  std::string token_;
  std::string braceText_;
  int depth_ = 0;
  int lineCount_ = 0;  // moves of the current line
  int depthMoves_[kPgnMaxDepth + 1] = {};
  const MoveRecord* returnMove_[kPgnMaxDepth + 1] = {};  // the main move a variation replaces
  int returnCount_[kPgnMaxDepth + 1] = {};
  PgnMoveCallback onMove_ = nullptr;
  void* moveContext_ = nullptr;
  // Error record.
  int errorLine_ = 0;
  int errorColumn_ = 0;
  std::string errorText_;
  std::string errorMove_;
};

// Games one after the other from an open PGN file (read in binary; CR LF and
// LF both end lines). Usage:
//   PgnFileStream pgn(file);
//   while (GameRecord* g = CreateGame(...)) {
//     int code = pgn.ReadGame(g);  // PGN_END at the end of the file
//     ... DestroyGame(g);
//   }
class PgnFileStream {
 public:
  static constexpr int PGN_END = -1;
  explicit PgnFileStream(std::FILE* file);
  ~PgnFileStream();
  PgnFileStream(const PgnFileStream&) = delete;
  PgnFileStream& operator=(const PgnFileStream&) = delete;
  // 0 with the next game in `game`, PGN_END when no game is left, or a
  // PgnError (the game then holds what was read; the next call goes on with
  // the game after it). Text without tags (a file's opening comment, say)
  // is no game, as for the index and the database module's reader.
  int ReadGame(GameRecord* game, PgnMoveCallback onMove = nullptr, void* moveContext = nullptr);
  const PgnReader& Reader() const { return reader_; }

 private:
  static bool Line(void* context, char* buffer);
  std::FILE* file_;
  std::unique_ptr<PgnFileLines> lines_;
  PgnReader reader_;
  bool failed_ = false;
};

// The program-wide reader.
int ParsePgnGameText(PgnLineSource source, void* context, GameRecord* game, PgnMoveCallback onMove,
                     void* moveContext);
int ReadPgnFromMemory(const char* text, GameRecord* game);
int BuildPgnIndex(const char* pgnPath, int* count);
int ReadPgnGame(GameRecord* game, int n);
int ReadPgnGameTags(GameRecord* game, char* title, int n);
void ClosePgnIndex();
void GetPgnParseError(int* line, char* text, size_t textSize, int* column);
// The move token of the last failed parse when it stopped at a move (error
// 4), else empty; "--" for a null move, which a game cannot hold.
void GetPgnParseErrorMove(char* text, size_t textSize);
