#include "drill_builder.h"

#include <cstring>

DrillBuilder::DrillBuilder(int kind, int selector) : kind_(kind), selector_(selector) {
  std::memset(boards_, 0, sizeof boards_);
}

DrillBuilder::DrillBuilder(int kind, int selector, uint32_t seed)
    : generator_(seed), kind_(kind), selector_(selector) {
  std::memset(boards_, 0, sizeof boards_);
}

bool DrillBuilder::Work() {
  const int index = built_.load(std::memory_order_relaxed);
  if (index >= kDrillPositions) return false;
  Board& board = boards_[index];
  // A new position (or one started again after a give-up) starts from a
  // clean board in the same slot.
  if (step_ == 0) std::memset(&board, 0, sizeof board);
  const int r = generator_.MakeDrillPosition(step_, kind_, WHITE, selector_, &board);
  if (r == DRILL_DONE) {
    step_ = 0;
    built_.store(index + 1, std::memory_order_release);
  } else if (r == DRILL_GAVE_UP) {
    step_ = 0;
    ++gaveUp_;
  } else {
    step_ = 1;
  }
  return built_.load(std::memory_order_relaxed) < kDrillPositions;
}

bool DrillRecordRowShown(int kind, int selector) {
  if (kind == DRILL_AVERT_MATE) return selector == kSelectorRandom;
  if (kind == DRILL_PIN) return selector != KNIGHT;
  return selector >= 1 && selector <= kSelectorRandom;
}

std::string FormatDrillTitle(const char* drillName, const char* sideWord, const char* pieceWord, int selector,
                             const char* toMove) {
  std::string title = std::string(drillName) + " -- " + sideWord + " ";
  if (selector < kSelectorRandom && pieceWord) title += std::string(pieceWord) + " ";
  return title + toMove;
}

std::string FormatDrillLesson(const char* lessonFormat, const char* pieceWord, int selector) {
  const std::string word =
      selector < kSelectorRandom && pieceWord ? std::string(pieceWord) + " " : std::string();
  std::string text = lessonFormat;
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, word);
  return text;
}
