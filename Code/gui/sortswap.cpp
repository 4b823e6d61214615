// SortWithSwap: see sortswap.h. Spans of more than 8 elements are split
// around their middle element; shorter spans are finished by selection. An
// explicit stack of 32 spans is enough because the larger part is the one
// pushed, so each pending span is at most half of the one below it.
#include "sortswap.h"

namespace {

constexpr uint32_t kSelectionMax = 8;
constexpr int kStackDepth = 32;  // log2 of the largest count

struct Span {
  uint32_t low;
  uint32_t high;  // inclusive
};

}  // namespace

void SortWithSwap(void* base, uint32_t count, uint32_t elementSize, SortCompare compare, SortSwap swap,
                  void* context) {
  if (!base || count < 2 || elementSize == 0 || !compare || !swap) return;
  char* bytes = static_cast<char*>(base);
  auto at = [&](uint32_t i) { return bytes + size_t(i) * elementSize; };

  Span stack[kStackDepth];
  int depth = 0;
  Span span{0, count - 1};
  for (;;) {
    while (span.high - span.low + 1 > kSelectionMax) {
      uint32_t n = span.high - span.low + 1;
      swap(at(span.low + n / 2), at(span.low), context);
      char* pivot = at(span.low);
      uint32_t up = span.low + 1;
      uint32_t down = span.high;
      for (;;) {
        while (up <= span.high && compare(at(up), pivot, context) <= 0) ++up;
        while (down > span.low && compare(at(down), pivot, context) >= 0) --down;
        if (up >= down) break;
        swap(at(up), at(down), context);
      }
      swap(at(span.low), at(down), context);
      // Lower part [low, down - 1], upper part [down + 1, high].
      uint32_t lowerCount = down - span.low;
      uint32_t upperCount = span.high - down;
      Span lower{span.low, down ? down - 1 : 0};
      Span upper{down + 1, span.high};
      Span larger = lowerCount > upperCount ? lower : upper;
      Span smaller = lowerCount > upperCount ? upper : lower;
      uint32_t largerCount = lowerCount > upperCount ? lowerCount : upperCount;
      uint32_t smallerCount = lowerCount > upperCount ? upperCount : lowerCount;
      if (largerCount >= 2) stack[depth++] = larger;
      if (smallerCount < 2) {
        span = {1, 0};  // nothing left in this span
        break;
      }
      span = smaller;
    }
    if (span.high >= span.low && span.high - span.low + 1 >= 2) {
      for (uint32_t hi = span.high; hi > span.low; --hi) {
        uint32_t best = span.low;
        for (uint32_t i = span.low + 1; i <= hi; ++i) {
          if (compare(at(i), at(best), context) > 0) best = i;
        }
        swap(at(best), at(hi), context);
      }
    }
    if (depth == 0) return;
    span = stack[--depth];
  }
}
