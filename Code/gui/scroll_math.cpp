// Scroll-bar arithmetic: see scroll_math.h.
#include "scroll_math.h"

#include <algorithm>

int32_t sbHighest(const ScrollInfo& info) { return info.maximum - std::max(info.page - 1, 0); }

bool sbNormalize(ScrollInfo* info, int32_t* change) {
  const ScrollInfo entry = *info;
  if (info->maximum < info->minimum - 1) info->maximum = info->minimum - 1;
  int32_t length = info->maximum - info->minimum + 1;
  if (info->page > length) info->page = length;
  if (info->position > sbHighest(*info)) info->position = sbHighest(*info);
  if (info->position < info->minimum) info->position = info->minimum;
  if (change) *change = info->position - entry.position;
  return info->maximum != entry.maximum || info->page != entry.page || info->position != entry.position;
}

int32_t sbEffectivePageStep(const ScrollInfo& info, int32_t lineStep, int32_t pageStep) {
  if (pageStep != 0 && pageStep != -2) return std::max(pageStep, 1);
  return std::max(info.page - lineStep, 1);
}

namespace {
int32_t RangeLength(const ScrollInfo& info) { return std::max(info.maximum - info.minimum + 1, 1); }
int32_t Reach(const ScrollInfo& info) { return std::max(sbHighest(info) - info.minimum, 1); }
}  // namespace

int32_t sbThumbLength(const ScrollInfo& info, int32_t track, int32_t minThumb) {
  int64_t t = int64_t(info.page) * track / RangeLength(info);
  if (t >= minThumb) return int32_t(std::min<int64_t>(t, track));
  return std::min(minThumb, track);
}

int32_t sbThumbOffset(const ScrollInfo& info, int32_t track, int32_t thumb) {
  int64_t offset = int64_t(info.position - info.minimum) * std::max(track - thumb, 0) / Reach(info);
  return int32_t(std::clamp<int64_t>(offset, 0, std::max(track, 0)));
}

int32_t sbPositionForPixel(const ScrollInfo& info, int32_t track, int32_t thumb, int32_t pixel) {
  if (track - thumb <= 0) return info.minimum;
  int64_t p = std::max<int64_t>(int64_t(pixel) * Reach(info) / (track - thumb), 0) + info.minimum;
  return int32_t(std::min<int64_t>(p, sbHighest(info)));
}

void sbLayoutParts(SbRect parts[SBP_COUNT], const SbRect& bar, bool vertical, int mask, int32_t firstArrow,
                   int32_t secondArrow, int32_t thumbOffset, int32_t thumbLength) {
  auto start = [vertical](SbRect& r) -> int32_t& { return vertical ? r.top : r.left; };
  auto end = [vertical](SbRect& r) -> int32_t& { return vertical ? r.bottom : r.right; };
  for (int k = 0; k < SBP_COUNT; ++k)
    if (mask & (1 << k)) parts[k] = bar;
  // Parts that are not chosen keep their place and are read as they are.
  if (mask & 1) end(parts[0]) = start(parts[0]) + firstArrow;
  if (mask & 2) start(parts[1]) = end(parts[1]) - secondArrow;
  if (mask & 4) {
    start(parts[2]) = end(parts[0]);
    end(parts[2]) = start(parts[2]) + thumbOffset;
  }
  if (mask & 8) {
    start(parts[3]) = end(parts[2]) + thumbLength;
    end(parts[3]) = start(parts[1]);
  }
  if (mask & 16) {
    start(parts[4]) = end(parts[2]);
    end(parts[4]) = start(parts[4]) + thumbLength;
  }
}

int32_t sbTrackLength(const SbRect parts[SBP_COUNT], bool vertical) {
  int32_t l = vertical ? parts[1].top - parts[0].bottom : parts[1].left - parts[0].right;
  return std::max(l, 0);
}

bool sbActionPosition(const ScrollInfo& info, int action, const SbRect parts[SBP_COUNT], const int32_t* point,
                      int32_t lineStep, int32_t pageStep, int32_t track, int32_t thumb, int32_t pixel,
                      int32_t* newPosition) {
  const int32_t highest = sbHighest(info);
  auto in = [&](int part) { return point && sbRectHolds(parts[part], point[0], point[1]); };
  int64_t p = info.position;
  switch (action) {
    case SBA_LINE_BACK:
      if (info.position <= info.minimum || in(SBP_THUMB)) return false;
      p -= lineStep;
      break;
    case SBA_LINE_FORWARD:
      if (info.position >= highest || in(SBP_THUMB)) return false;
      p += lineStep;
      break;
    case SBA_PAGE_BACK:
      if (info.position <= info.minimum || (point && !in(SBP_PAGE_BEFORE))) return false;
      p -= sbEffectivePageStep(info, lineStep, pageStep);
      break;
    case SBA_PAGE_FORWARD:
      if (info.position >= highest || (point && !in(SBP_PAGE_AFTER))) return false;
      p += sbEffectivePageStep(info, lineStep, pageStep);
      break;
    case SBA_THUMB_TRACK:
      p = sbPositionForPixel(info, track, thumb, pixel);
      break;
    default:
      break;
  }
  p = std::clamp<int64_t>(p, info.minimum, std::max(highest, info.minimum));
  *newPosition = int32_t(p);
  return true;
}

int32_t sbWheelNotches(int32_t* remainder, int32_t rotation) {
  int32_t sum = *remainder + rotation;
  int32_t notches = 0;
  while (sum >= 120) {
    ++notches;
    sum -= 120;
  }
  while (sum <= -120) {
    --notches;
    sum += 120;
  }
  *remainder = sum;
  return notches;
}
