// The work of the drill builder thread: ten positions of one kind, built a
// generator stage per call into boards the builder owns, so that the thread
// can stop between calls and a given-up position reuses its slot.
//
// Interface: DrillBuilder (Work, Built, Position), DrillRecordRowShown,
// FormatDrillTitle, FormatDrillLesson.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "drill_generators.h"

constexpr int kDrillPositions = 10;

class DrillBuilder {
 public:
  // Seeded from the clock, or with a fixed seed (the debug setting that lets
  // tests know the ten positions).
  DrillBuilder(int kind, int selector);
  DrillBuilder(int kind, int selector, uint32_t seed);

  // One generator call on the builder's thread; false once all ten are built
  // (the thread's work is done).
  bool Work();
  // Positions finished so far; read by the user-interface thread, which may
  // show position i once i < Built().
  int Built() const { return built_.load(std::memory_order_acquire); }
  const Board& Position(int index) const { return boards_[index]; }
  int Kind() const { return kind_; }
  int Selector() const { return selector_; }
  long GaveUp() const { return gaveUp_; }

 private:
  DrillGenerator generator_;
  int kind_;
  int selector_;
  int step_ = 0;
  long gaveUp_ = 0;
  std::atomic<int> built_{0};
  Board boards_[kDrillPositions];
};

// The records dialog shows a row (selector 1..5) of a kind: "Avert Mate"
// only its "Random" row (the piece does not matter there), "Find Pin" no
// "Knight" row (a knight pins nothing).
bool DrillRecordRowShown(int kind, int selector);
// The drill window's title, "Find Fork -- White Queen to move": the drill
// name, the side word, the piece word when a piece was chosen (selector
// below 5), and the "to move" text.
std::string FormatDrillTitle(const char* drillName, const char* sideWord, const char* pieceWord, int selector,
                             const char* toMove);
// The lesson text of a kind with its "%s" filled: the piece word and a blank
// when a piece was chosen, else nothing.
std::string FormatDrillLesson(const char* lessonFormat, const char* pieceWord, int selector);
