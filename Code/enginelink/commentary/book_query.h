// What the commentary asks of the opening books: the five book slots, a book
// move for a position reached by a line, and the book's texts for a line.
// The books themselves live elsewhere; callers hand an implementation in (or
// none, which knows no moves).
#pragma once

#include <string>

#include "board.h"
#include "moverecord.h"

struct BookPositionText {
  std::string longText;   // up to 2,048 characters
  std::string shortText;  // up to 500 characters
  std::string label;      // opening name, may be empty
};

class OpeningBookQuery {
 public:
  virtual ~OpeningBookQuery() = default;
  virtual int GetBookSlot() const = 0;
  // False for an index outside 0-4.
  virtual bool SelectBookSlot(int index) = 0;
  // The book's move after the line played from the initial position.
  virtual bool PickBookMove(const MoveRecord* line, int count, MoveRecord* move) = 0;
  // The entry of the position the line leads to; false when the book does
  // not know it.
  virtual bool LookupBookPosition(const MoveRecord* line, int count, BookPositionText* text) = 0;
};

// Selects slot 0 for its lifetime and puts the previous slot back.
class BookSlotZero {
 public:
  explicit BookSlotZero(OpeningBookQuery* book) : book_(book), previous_(book ? book->GetBookSlot() : 0) {
    if (book_) book_->SelectBookSlot(0);
  }
  ~BookSlotZero() {
    if (book_) book_->SelectBookSlot(previous_);
  }
  BookSlotZero(const BookSlotZero&) = delete;
  BookSlotZero& operator=(const BookSlotZero&) = delete;

 private:
  OpeningBookQuery* book_;
  int previous_;
};
