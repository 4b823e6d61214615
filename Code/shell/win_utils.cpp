// The OS-free utilities.
#include "win_utils.h"

#include <cstring>

int IsValidFileName(const char* name) {
  if (!name) return 0;
  return std::strpbrk(name, "\\/:*?\"<>|") ? 0 : 1;
}

int CompareNamePointers(const void* a, const void* b) {
  const unsigned char* x = *static_cast<const unsigned char* const*>(a);
  const unsigned char* y = *static_cast<const unsigned char* const*>(b);
  while (*x && *x == *y) ++x, ++y;
  return static_cast<int>(*x) - static_cast<int>(*y);
}

int DivRound(int a, int d, int b) {
  if (a < 0 || b < 0 || d <= b) return 0;
  // In 64 bits: a + b may pass the 32-bit range.
  return static_cast<int>((static_cast<int64_t>(a) + b) / d);
}

int ListBoxTopForItem(int item, int top, int count, int clientHeight, int itemHeight) {
  if (count <= 0 || item < 0 || item >= count || itemHeight < 1) return -1;
  int visible = clientHeight / itemHeight;
  if (visible < 1) visible = 1;
  if (item < top) return item;
  if (item > top + visible - 1) return item - visible + 1;
  return top;
}
