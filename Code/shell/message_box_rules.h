// The program's message box without the window system: its button sets
// and results, where boxes stand (one remembered position, cascading while
// several are open) and the countdown of the boxes that close themselves.
//
// Interface: kBoxTimeoutResult, kNoTimeout, MessageBoxButton,
// BoxButtonSet, MessageBoxButtons, MessageBoxResult, MessageBoxCloseResult,
// BoxPlacement, BoxCountdown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "shell_services.h"

constexpr int kBoxTimeoutResult = 57;
constexpr int kNoTimeout = -60;

// Control ids of the box's three buttons.
enum MessageBoxButton : int { BOX_BUTTON_1 = 1, BOX_BUTTON_2 = 2, BOX_BUTTON_300 = 300 };

struct BoxButtonSet {
  int count;      // visible buttons, left to right
  int ids[3];
  int captions[3];  // string id of each caption; 0: the template's own text
  const char* fallbackCaptions[3];
};
// The set of flags & 15; values without a set of their own show OK.
BoxButtonSet MessageBoxButtons(uint32_t flags);
// The result of a button (1, 2, 300) in the set of `flags`.
int MessageBoxResult(uint32_t flags, int button);
// A close request: 2 in sets 1, 3 and 5, else as button 2.
int MessageBoxCloseResult(uint32_t flags);

// Where boxes stand. The first placement takes the remembered position;
// with no other box open a box goes to the box rectangle, otherwise 17
// right and 16 down of the last cascade position; both kept in the area.
class BoxPlacement {
 public:
  // The position remembered in the settings (-1, -1: none).
  void Load(int x, int y);
  bool Loaded() const { return loaded_; }
  ShellRect Place(int width, int height, const ShellRect& workArea);
  void Moved(const ShellRect& rect);
  // A box closed; true when the box rectangle's corner differs from the
  // loaded position (then it is written back).
  bool Closed();
  int OpenCount() const { return open_; }
  ShellRect BoxRect() const { return box_; }
  void Reset();

 private:
  bool loaded_ = false;
  int loadedX_ = -1, loadedY_ = -1;
  ShellRect box_{}, cascade_{};
  int open_ = 0;
};

// The modeless boxes' seconds left: each tick takes one off every box with a
// time-out; a box whose count is below 1 is due (again on every later tick).
class BoxCountdown {
 public:
  void Add(void* box, int timeoutSeconds);
  void Remove(void* box);
  std::vector<void*> Tick();
  std::vector<void*> Boxes() const;
  size_t Size() const { return entries_.size(); }

 private:
  struct Entry {
    void* box;
    bool timed;
    int secondsLeft;
  };
  std::vector<Entry> entries_;  // newest first
};
