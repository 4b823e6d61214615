#include "viewpath.h"

#include <algorithm>

namespace {
constexpr uint16_t kHasAlternative = 0x40;
constexpr uint16_t kLineEnd = 0x80;
constexpr uint16_t Move(uint16_t w) { return uint16_t(w & ~(kHasAlternative | kLineEnd)); }
}  // namespace

void GameViewPath::Reset(const sPosition& start, const uint16_t* words, int mainLength, int total) {
  start_ = current_ = start;
  const int entries = std::max(std::max(mainLength, total), 0);
  words_.assign(words, words + entries);
  mainLength_ = std::max(mainLength, 0);
  total_ = std::max(total, 0);
  index_ = 0;
}

int GameViewPath::GoTo(int index, bool showVariations) {
  if (index < 0) index = 0;
  if (total_ == 0 || !showVariations)
    index = std::min(index, mainLength_);
  else if (index > total_)
    index = mainLength_;
  if (index == index_) return 0;
  if (index > mainLength_) {
    // The path to a word inside a variation: every alternative met on the
    // way replaces the moves back to the one that has it.
    std::vector<uint16_t> stack;
    stack.reserve(size_t(index));
    for (int i = 0; i < index; ++i) {
      if (!stack.empty() && (stack.back() & kLineEnd)) {
        while (!stack.empty()) {
          const uint16_t popped = stack.back();
          stack.pop_back();
          if (popped & kHasAlternative) break;
        }
      }
      stack.push_back(words_[size_t(i)]);
    }
    current_ = start_;
    for (uint16_t w : stack) GdPlayMove(&current_, Move(w));
  } else {
    if (index < index_ || index_ > mainLength_) {
      current_ = start_;
      index_ = 0;
    }
    for (int i = index_; i < index; ++i) GdPlayMove(&current_, Move(words_[size_t(i)]));
  }
  index_ = index;
  return 1;
}

GameViewPath::Step GameViewPath::NextStep(bool animate, bool showVariations) const {
  if (index_ < mainLength_) return {index_ + 1, animate};
  if (!showVariations || index_ >= total_) return {index_ + 1, false};
  return {index_ + 1, animate && !(CurrentWord() & kLineEnd)};
}

uint16_t GameViewPath::CurrentWord() const { return index_ > 0 ? words_[size_t(index_ - 1)] : 0; }

int KeyPathIndex(const int32_t* keys, int count, int index, int mainLength) {
  int i = std::min(index, mainLength);
  if (i < 0) i = 0;
  if (i >= count) i = count > 0 ? count - 1 : 0;
  while (i > 0 && keys[i] == 0) --i;
  return i;
}
