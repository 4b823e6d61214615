// The login puzzle's rules: the saved puzzle file "Puzzle.drill", the check
// a made or read position must pass, the ring of recent positions, the
// making of a puzzle a step at a time, and the judging of a move. OS-free:
// the threads, the dialog and the board live in login_win32.cpp.
//
// Interface: kPuzzleFileName, kPuzzleFileSize, kPuzzleFileKind,
// PuzzleCheck, CheckPuzzlePosition, PuzzleHistory, ReadPuzzleFile,
// WritePuzzleFile, PuzzleMaker, PuzzleVerdict, JudgePuzzleMove.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "board.h"
#include "drill_generators.h"


constexpr const char kPuzzleFileName[] = "Puzzle.drill";
constexpr size_t kPuzzleFileSize = 136;
constexpr uint32_t kPuzzleFileKind = 3;  // a mate in one
constexpr int kPuzzleHistorySize = 1000;

enum class PuzzleCheck {
  kGood,
  kBadBoard,     // a byte no position holds
  kKings,        // not one king a side on the square its king byte names
  kNotOneMate,   // no mating move, or more than one
  kRepeated,     // among the recent puzzles
  kNoSolution,   // the solution bytes do not name the one mate
};

// Hashes of the puzzles made in this run; the oldest falls out once the
// ring is full. Shared by the threads that make puzzles.
class PuzzleHistory {
 public:
  bool Contains(uint32_t hash) const;
  void Add(uint32_t hash);
  // Adds the hash unless it is there already; false when it was.
  bool AddIfNew(uint32_t hash);
  int Count() const;

 private:
  mutable std::mutex lock_;
  uint32_t hashes_[kPuzzleHistorySize] = {};
  int count_ = 0;
  int next_ = 0;
};

// The whole check of a position with `side` (WHITE) to move: sound bytes,
// the two kings on their king bytes, exactly one legal move that mates;
// with a history, a hash not among its recent ones. `mate` (optional) gets
// the mating move's squares as from * 256 + to.
PuzzleCheck CheckPuzzlePosition(const Board& board, int side, const PuzzleHistory* history,
                                int* mate = nullptr);

// A saved puzzle is used only when it is the file's size, starts with the
// puzzle kind, passes the check and its solution bytes name the one mate;
// else the caller makes a new puzzle as if there were no file.
PuzzleCheck ReadPuzzleBytes(const uint8_t* data, size_t size, Board* board, int* side);
bool ReadPuzzleFile(const std::string& path, Board* board, int* side);
// Writes a temporary file and puts it in place of the old one.
bool WritePuzzleFile(const std::string& path, const Board& board, int side);
// The file's 136 bytes: kind, side, position, little-endian.
void EncodePuzzle(const Board& board, int side, uint8_t out[kPuzzleFileSize]);

// Makes one puzzle in steps, so that a worker thread can stop between
// them: each Step asks the drill generator for one more stage; when the
// generator is done the position is checked against the history, and one
// that fails is marked rejected and a new one begun.
class PuzzleMaker {
 public:
  PuzzleMaker(PuzzleHistory* history, uint32_t seed);
  ~PuzzleMaker();
  // True once a puzzle is made (then in Position()).
  bool Step();
  const Board& Position() const { return board_; }
  int Side() const { return WHITE; }
  int Rejected() const { return rejected_; }

 private:
  PuzzleHistory* history_;
  std::unique_ptr<DrillGenerator> generator_;
  Board board_{};
  int step_ = 0;
  int rejected_ = 0;
  bool done_ = false;
};

enum class PuzzleVerdict { kIllegal, kWrong, kSolved };

// A move offered on the puzzle board: not legal for the side to move, the
// solution (bytes 12 and 13), or another legal move.
PuzzleVerdict JudgePuzzleMove(const Board& board, int side, int from, int to);
