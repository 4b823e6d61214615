// Spin edit arithmetic: creation text, clamping, scroll actions, typed text.
#include "spin_value.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr int64_t kLow = std::numeric_limits<int32_t>::min();
constexpr int64_t kHigh = std::numeric_limits<int32_t>::max();

int32_t Saturate(int64_t v) { return int32_t(std::clamp(v, kLow, kHigh)); }

bool IsSeparator(char c) { return c == ' ' || c == ':' || c == ','; }

// The integer at the start of [p, end): optional sign, then digits;
// saturating, so that "99999999999" is the greatest int32 rather than
// whatever the overflow would leave.
int32_t LeadingInteger(const char* p, const char* end) {
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  int64_t magnitude = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p)
    magnitude = std::min<int64_t>(magnitude * 10 + (*p - '0'), kHigh + 1);
  return Saturate(negative ? -magnitude : magnitude);
}

// Step magnitude that cannot overflow: |INT32_MIN| saturates.
int32_t StepOf(int32_t step) {
  if (step == 0) return 1;
  return Saturate(step < 0 ? -int64_t(step) : int64_t(step));
}

}  // namespace

SpinValues speParseCreationText(const char* text) {
  int32_t fields[4] = {0, 0, 0, 0};
  int count = 0;
  const char* p = text ? text : "";
  while (*p && count < 4) {
    while (*p && IsSeparator(*p)) ++p;
    if (!*p) break;
    const char* start = p;
    while (*p && !IsSeparator(*p)) ++p;
    fields[count++] = LeadingInteger(start, p);
  }
  SpinValues v{};
  v.minimum = std::min(fields[0], fields[1]);
  v.maximum = std::max(fields[0], fields[1]);
  v.value = fields[2];
  v.step = StepOf(fields[3]);
  if (v.minimum == v.maximum) {
    v.minimum = 0;
    v.maximum = 100;
    v.value = 0;
  }
  v.firstMinimum = v.minimum;
  v.firstMaximum = v.maximum;
  return v;
}

int32_t speClamp(const SpinValues& v, int64_t value) {
  return int32_t(std::clamp<int64_t>(value, v.minimum, std::max(v.minimum, v.maximum)));
}

void speSetRange(SpinValues* v, int32_t minimum, int32_t maximum) {
  v->minimum = v->firstMinimum = std::min(minimum, maximum);
  v->maximum = v->firstMaximum = std::max(minimum, maximum);
  v->step = 1;
}

bool speScroll(const SpinValues& v, int code, int32_t* out) {
  const int64_t step = StepOf(v.step);
  int64_t target = v.value;
  switch (code) {
    case kSpinLineUp:
      target = int64_t(v.value) + step;
      break;
    case kSpinLineDown:
      target = int64_t(v.value) - step;
      break;
    case kSpinPageUp:
      target = int64_t(v.value) + 10 * step;
      if (target >= int64_t(v.maximum) - 10) target = v.maximum;
      break;
    case kSpinPageDown:
      target = int64_t(v.value) - 10 * step;
      if (target <= v.minimum) target = v.minimum;
      break;
    case kSpinTop:
      if (v.value == v.minimum) return false;
      target = v.minimum;
      break;
    case kSpinBottom:
      if (v.value == v.maximum) return false;
      target = v.maximum;
      break;
    default:
      return false;
  }
  *out = speClamp(v, target);
  return true;
}

int32_t speReadText(const char* text, bool* empty) {
  const char* p = text ? text : "";
  const char* end = p;
  while (*end && end - p < 9) ++end;
  if (empty) *empty = end == p;
  return LeadingInteger(p, end);
}

bool speCouldReach(const SpinValues& v, const char* text) {
  const char* p = text ? text : "";
  const bool negative = *p == '-';
  if (negative) ++p;
  int length = negative ? 1 : 0;
  int64_t magnitude = 0;
  for (; *p; ++p, ++length) {
    if (*p < '0' || *p > '9' || length >= 9) return false;
    magnitude = magnitude * 10 + (*p - '0');
  }
  int64_t scale = 1;
  for (int more = 1; length + more <= 9; ++more) {
    scale *= 10;
    int64_t low = magnitude * scale;
    int64_t high = low + scale - 1;
    if (negative) {  // more digits after "-x" go further below zero
      const int64_t highest = -low;
      low = -high;
      high = highest;
    }
    if (low <= v.maximum && high >= v.minimum) return true;
  }
  return false;
}

int speTextInset(int clientHeight, int textHeight) {
  int difference = clientHeight - textHeight;
  return difference > 0 ? (difference + 1) / 2 : 0;
}
