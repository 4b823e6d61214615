#include "master_class.h"

int MasterClassButton(int total) {
  for (int level = 3; level >= 0; --level)
    if (total >= kCertificatePoints[level]) return kCertificateButtons[level];
  return 0;
}

std::vector<int> StarRowPositions(int left, int right, int starWidth, int count, int* end) {
  std::vector<int> out;
  if (end) *end = left;
  if (count <= 0 || starWidth <= 0) return out;
  int step = starWidth;
  if (static_cast<long long>(count) * starWidth > right - left) step = (right - left - starWidth) / count;
  if (step < 1) {  // more stars than pixels: one a pixel, as many as fit
    step = 1;
    if (count > right - left - starWidth + 1) count = right - left - starWidth + 1;
    if (count <= 0) return out;
  }
  int x = left;
  for (int i = 0; i < count; ++i, x += step) out.push_back(x);
  if (end) *end = out.back() + starWidth;
  return out;
}
