// Slide stepping: which points of a piece's straight path are drawn.
//
// Interface: WalkLine, SlideThreshold, SlideStepper.
//
// A slide walks every point of the line from start to end (the end point
// excluded), like the system's line walker, and draws the piece on every
// (threshold + 1)-th point. Fast thins by the picture's area, so larger
// pictures take longer strides; Slow draws every point. Drawn points are
// paced: the window shows each no sooner than a fixed interval after the
// previous one, so that Fast and Slow stay visible on fast machines.
#pragma once

#include <cstdint>
#include <functional>

enum SlidingPieces { SLIDE_OFF = 0, SLIDE_FAST = 1, SLIDE_SLOW = 2 };

// The shortest time between two drawn points of a slide, in milliseconds.
constexpr int kSlidePointMs = 8;

// Calls point(x, y) for every point from (x0, y0) toward (x1, y1), the end
// point not included (the system's LineDDA order).
void WalkLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1,
              const std::function<void(int32_t, int32_t)>& point);
using LineWalker =
    std::function<void(int32_t, int32_t, int32_t, int32_t, const std::function<void(int32_t, int32_t)>&)>;

// Fast: cel area / 500; Slow: 0; Off: -1 (no slide at all).
int SlideThreshold(int setting, int32_t celWidth, int32_t celHeight);

// The clock that paces drawn points; none leaves the slide unpaced.
class SlideClock {
 public:
  virtual ~SlideClock() = default;
  virtual uint32_t NowMs() = 0;
  virtual void SleepMs(uint32_t ms) = 0;
};

class SlideStepper {
 public:
  explicit SlideStepper(LineWalker walker = WalkLine, SlideClock* clock = nullptr)
      : walker_(std::move(walker)), clock_(clock) {}
  // Walks the line and calls draw(x, y) on every point that is drawn;
  // returns the number of drawn points. Nothing for a threshold below 0.
  int Slide(int threshold, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
            const std::function<void(int32_t, int32_t)>& draw);

 private:
  LineWalker walker_;
  SlideClock* clock_;
};
