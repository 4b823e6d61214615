// The module's PGN writer: one PgnGameRecord as PGN text, into a file or a
// growing memory block.
//
// Interface: PgnOutput, PgnFileOutput, PgnMemoryOutput, WritePgnRecord,
// FormatFen.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "pgn_record.h"

namespace gdbase {

class PgnOutput {
 public:
  virtual ~PgnOutput() = default;
  virtual int Put(char c) = 0;  // -1 when the character was dropped
};

class PgnFileOutput : public PgnOutput {
 public:
  explicit PgnFileOutput(std::FILE* file) : file_(file) {}
  int Put(char c) override { return std::fputc(c, file_) == EOF ? -1 : 0; }

 private:
  std::FILE* file_;
};

// Starts at 16,384 bytes and grows by 16,384 whenever full; a character that
// finds no room after growing is dropped. `limit` caps the growth.
class PgnMemoryOutput : public PgnOutput {
 public:
  static constexpr size_t kStep = 16384;
  explicit PgnMemoryOutput(size_t limit = static_cast<size_t>(-1)) : limit_(limit) { text_.reserve(kStep); }
  int Put(char c) override {
    if (text_.size() + 1 >= capacity_) {
      if (capacity_ + kStep > limit_) return -1;
      capacity_ += kStep;
      text_.reserve(capacity_);
    }
    text_ += c;
    return 0;
  }
  const std::string& Text() const { return text_; }
  size_t Capacity() const { return capacity_; }  // the block size, NUL included

 private:
  std::string text_;
  size_t capacity_ = kStep;
  size_t limit_;
};

// 0 written, 1 the move tree is corrupt (the text ends after the moves
// written so far, and "Move tree corrupt." goes to the error sink).
int WritePgnRecord(PgnOutput* out, const PgnGameRecord& record, int option);

// FEN of a position with the record's move-number offset.
std::string FormatFen(const sPosition& p, int moveNumberOffset);

}  // namespace gdbase
