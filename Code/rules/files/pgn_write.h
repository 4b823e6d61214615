// Writing a game as PGN: the tag section from the header and players, the
// game comment, the numbered move text of the main line with the comments of
// one comment slot and, on request, every variation, and the result. The
// text goes out in pieces through an output callback, in lines of at most
// 72 characters.
//
// Interface: WritePgnGame, WritePgnFile, MeasurePgnText, WritePgnToBuffer,
// WritePgnToString, WritePgnTag, PgnLineFiller, PgnResultText.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct GameRecord;

// Takes one finished piece of text; false when it could not be written.
using PgnOutput = bool (*)(void* context, const char* piece);

enum PgnWriteError {
  PGN_WRITE_NO_GAME = 10,
  PGN_WRITE_CANNOT_OPEN = 7,
  PGN_WRITE_FAILED = 305,  // the output refused a piece (disk full, buffer too small)
};

constexpr int kPgnLineWidth = 72;

// "*", "0-1", "1-0", "1/2-1/2" or "?" for a result code.
const char* PgnResultText(uint32_t code);

// The writer never moves the game: it walks the move tree on a board of its
// own. `slot` is a comment slot 0..4 or -1 for none.
int WritePgnGame(PgnOutput output, void* context, const GameRecord* game, int slot, bool variations);
// Created (or replaced through a temporary file) or appended, with
// variations. 0, 7 (cannot open) or 305 (a write failed).
int WritePgnFile(const char* path, const GameRecord* game, bool append, int slot);
// Characters of the main-line text, without a NUL.
size_t MeasurePgnText(const GameRecord* game, int slot);
// Main line only into `buffer` of `size` bytes (MeasurePgnText + 1 is
// enough); 305 and an empty buffer when it does not fit.
int WritePgnToBuffer(char* buffer, size_t size, const GameRecord* game, int slot);
std::string WritePgnToString(const GameRecord* game, int slot, bool variations);
// [Name "value"] and a line end; quotes and backslashes of the value are
// escaped. Nothing when `always` is false and the value is empty.
bool WritePgnTag(PgnOutput output, void* context, const char* name, const char* value, bool always);

// Fills lines of move text, handing out each full line.
class PgnLineFiller {
 public:
  PgnLineFiller(PgnOutput output, void* context) : output_(output), context_(context) {}
  void Fill(const char* text, bool flush);
  bool Failed() const { return failed_; }

 private:
  void HandOut();
  PgnOutput output_;
  void* context_;
  std::string line_;
  bool failed_ = false;
};
