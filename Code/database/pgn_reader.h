// The module's PGN reader: loose PGN into PgnGameRecords, one game at a
// time, every problem reported through the module trace.
//
// Interface: PgnSource, PgnMemorySource, PgnFileSource, ReadPgnGames,
// ParsePgnMoveToken, ParseFen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "pgn_record.h"

namespace gdbase {

class PgnSource {
 public:
  virtual ~PgnSource() = default;
  virtual int Get() = 0;  // next byte, -1 at the end
};

// Text in memory: ends at its size or at the first NUL.
class PgnMemorySource : public PgnSource {
 public:
  PgnMemorySource(const char* text, size_t size) : p_(text), end_(text + size) {}
  int Get() override {
    if (p_ >= end_ || *p_ == 0) return -1;
    return static_cast<unsigned char>(*p_++);
  }

 private:
  const char* p_;
  const char* end_;
};

class PgnFileSource : public PgnSource {
 public:
  explicit PgnFileSource(std::FILE* file) : file_(file) {}
  int Get() override {
    if (at_ == size_) {
      size_ = std::fread(buffer_, 1, sizeof buffer_, file_);
      at_ = 0;
      if (size_ == 0) return -1;
    }
    return buffer_[at_++];
  }

 private:
  std::FILE* file_;
  unsigned char buffer_[65536];
  size_t at_ = 0, size_ = 0;
};

enum PgnOptions { kPgnHeadersOnly = 1, kPgnMirror = 2 };

// Non-zero goes on with the next game.
using PgnGameCallback = int (*)(PgnGameRecord* record, int commentsSeen, int fullGame, void* user);

// 1 when a callback asked to stop, else 0. Without a callback reading stops
// after the first game. `letters`: knight, bishop, rook, queen, king.
int ReadPgnGames(PgnSource* source, PgnGameRecord* record, int options, const char* letters,
                 PgnGameCallback callback, void* user);

// The 32-bit move token of one move text, 0 when it is no move.
uint32_t ParsePgnMoveToken(const char* token, const char* letters);

// FEN into a position: 0 when it reads, else the number of errors. The move
// number gives the move-number offset; `letters` (optional) gets the
// castling rights as written, before those without king and rook on their
// home squares are cleared.
int ParseFen(const char* fen, sPosition* position, int* moveNumberOffset, uint8_t letters[4] = nullptr);

}  // namespace gdbase
