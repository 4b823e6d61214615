#include "message_box_rules.h"

#include <algorithm>

#include "dialog_helpers.h"

BoxButtonSet MessageBoxButtons(uint32_t flags) {
  switch (flags & 15) {
    case 1:
      return {2, {1, 2, 0}, {0, 0, 0}, {"&OK", "&Cancel", nullptr}};
    case 2:
      return {3, {300, 1, 2}, {6, 7, 8}, {"Abort", "Retry", "Ignore"}};
    case 3:
      return {3, {300, 1, 2}, {4, 5, 0}, {"Yes", "No", "&Cancel"}};
    case 4:
      return {2, {300, 1, 0}, {4, 5, 0}, {"Yes", "No", nullptr}};
    case 5:
      return {2, {1, 2, 0}, {7, 0, 0}, {"Retry", "&Cancel", nullptr}};
    case 15:
      return {1, {2, 0, 0}, {0, 0, 0}, {"&Cancel", nullptr, nullptr}};
    default:
      return {1, {1, 0, 0}, {0, 0, 0}, {"&OK", nullptr, nullptr}};
  }
}

int MessageBoxResult(uint32_t flags, int button) {
  const int set = int(flags & 15);
  // Rows: button 300, 1, 2; columns: sets 0, 1, 2, 3, 4, 5, 15.
  static const int table[3][7] = {{1, 1, 3, 6, 6, 4, 1}, {1, 1, 4, 7, 7, 4, 1}, {1, 2, 5, 2, 7, 2, 2}};
  int column = set <= 5 ? set : set == 15 ? 6 : 0;
  int row = button == BOX_BUTTON_300 ? 0 : button == BOX_BUTTON_1 ? 1 : button == BOX_BUTTON_2 ? 2 : -1;
  return row < 0 ? 0 : table[row][column];
}

int MessageBoxCloseResult(uint32_t flags) {
  const int set = int(flags & 15);
  if (set == 1 || set == 3 || set == 5) return 2;
  return MessageBoxResult(flags, BOX_BUTTON_2);
}

void BoxPlacement::Load(int x, int y) {
  loaded_ = true;
  loadedX_ = x;
  loadedY_ = y;
  box_ = cascade_ = ShellRect{x, y, x, y};
}

ShellRect BoxPlacement::Place(int width, int height, const ShellRect& area) {
  ShellRect* base = open_ == 0 ? &box_ : &cascade_;
  ShellRect r{base->left, base->top, base->left + width, base->top + height};
  if (open_ > 0) r = ShellRect{r.left + 17, r.top + 16, r.right + 17, r.bottom + 16};
  PlaceInWorkArea(area, ShellRect{}, &r, 0);
  if (open_ == 0) box_ = r;
  cascade_ = r;
  ++open_;
  return r;
}

void BoxPlacement::Moved(const ShellRect& rect) { box_ = cascade_ = rect; }

bool BoxPlacement::Closed() {
  if (open_ > 0) --open_;
  return box_.left != loadedX_ || box_.top != loadedY_;
}

void BoxPlacement::Reset() { *this = BoxPlacement(); }

void BoxCountdown::Add(void* box, int timeoutSeconds) {
  const bool timed = timeoutSeconds != kNoTimeout;
  entries_.insert(entries_.begin(), Entry{box, timed, timed ? timeoutSeconds + 1 : 0});
}

void BoxCountdown::Remove(void* box) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.box == box; }),
                 entries_.end());
}

std::vector<void*> BoxCountdown::Tick() {
  std::vector<void*> due;
  for (Entry& e : entries_) {
    // A flag, not a count of -60: a box that stays up past its time-out
    // must not stop being told.
    if (!e.timed) continue;
    if (e.secondsLeft > -1000000) --e.secondsLeft;
    if (e.secondsLeft < 1) due.push_back(e.box);
  }
  return due;
}

std::vector<void*> BoxCountdown::Boxes() const {
  std::vector<void*> out;
  for (const Entry& e : entries_) out.push_back(e.box);
  return out;
}
