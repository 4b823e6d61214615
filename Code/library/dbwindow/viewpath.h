// Where the shown game stands: the index into the game's move words (main
// line first, then its variations in pre-order) and the position reached
// along the path to it, with the steps of the Moves page.
//
// Interface: GameViewPath (GoTo, StepForward), KeyPathIndex.
#pragma once

#include <cstdint>
#include <vector>

#include "gdbase.h"

class GameViewPath {
 public:
  // Takes the converted game: its start, words, main-line length and total
  // (0 without alternatives); the index goes back to 0.
  void Reset(const sPosition& start, const uint16_t* words, int mainLength, int total);

  // Goes to `index` (words played along its path), clamped to what is shown.
  // 0 when nothing changed (the same index, or a path deeper than the words
  // allow), 1 after moving.
  int GoTo(int index, bool showVariations);

  // What ">" does: the index to go to and whether the move may slide there.
  struct Step {
    int index;
    bool animate;
  };
  Step NextStep(bool animate, bool showVariations) const;

  int index() const { return index_; }
  int mainLength() const { return mainLength_; }
  int total() const { return total_; }
  const sPosition& position() const { return current_; }
  const sPosition& start() const { return start_; }
  // The word played last, with its flags; 0 at the start.
  uint16_t CurrentWord() const;
  // The word played by the next main-line or variation step.
  uint16_t WordAt(int i) const { return i >= 0 && i < int(words_.size()) ? words_[i] : 0; }

 private:
  sPosition start_{};
  sPosition current_{};
  std::vector<uint16_t> words_;
  int mainLength_ = 0;
  int total_ = 0;
  int index_ = 0;
};

// The key path entry to select for `index`: min(index, main-line length),
// the last entry when the path is shorter, then back over entries without a
// key.
int KeyPathIndex(const int32_t* keys, int count, int index, int mainLength);
