// Line walking and slide thinning.
#include "slide_steps.h"

#include <cstdlib>

void WalkLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1,
              const std::function<void(int32_t, int32_t)>& point) {
  // Bresenham along the major axis; the end point itself is left out.
  int64_t dx = std::llabs(int64_t{x1} - x0), dy = std::llabs(int64_t{y1} - y0);
  int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
  int64_t steps = dx > dy ? dx : dy;
  int64_t error = (dx > dy ? dx : dy) / 2;
  int32_t x = x0, y = y0;
  for (int64_t i = 0; i < steps; ++i) {
    point(x, y);
    if (dx > dy) {
      x += sx;
      error -= dy;
      if (error < 0) y += sy, error += dx;
    } else {
      y += sy;
      error -= dx;
      if (error < 0) x += sx, error += dy;
    }
  }
}

int SlideThreshold(int setting, int32_t celWidth, int32_t celHeight) {
  if (setting == SLIDE_FAST) return static_cast<int>(int64_t{celWidth} * celHeight / 500);
  if (setting == SLIDE_SLOW) return 0;
  return -1;
}

int SlideStepper::Slide(int threshold, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                        const std::function<void(int32_t, int32_t)>& draw) {
  if (threshold < 0) return 0;
  int counter = 0, drawn = 0;
  uint32_t lastDrawn = 0;
  walker_(x0, y0, x1, y1, [&](int32_t x, int32_t y) {
    if (counter < threshold) {
      ++counter;
      return;
    }
    counter = 0;
    if (clock_ && drawn > 0) {
      // Each drawn point shows no sooner than kSlidePointMs after the last.
      uint32_t elapsed = clock_->NowMs() - lastDrawn;
      if (elapsed < kSlidePointMs) clock_->SleepMs(kSlidePointMs - elapsed);
    }
    ++drawn;
    if (clock_) lastDrawn = clock_->NowMs();
    draw(x, y);
  });
  return drawn;
}
