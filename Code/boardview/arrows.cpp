#include "arrows.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "square_names.h"

namespace {
int g_arrowCount = 0;

void FreeSlot(ArrowSlot* slot) {
  std::memset(slot, 0, sizeof *slot);
  slot->penKind = PEN_TAN;
}
}  // namespace

int ArrowPenKind(char letter) {
  switch (std::toupper(static_cast<unsigned char>(letter))) {
    case 'B': return PEN_BLACK;
    case 'D': return PEN_TAN_DOTTED;
    case 'N': return PEN_TAN_THIN;
    case 'T': return PEN_TAN_THICK;
    case 'W': return PEN_WHITE;
    default: return PEN_TAN;
  }
}

bool AddArrow(ArrowSlot slots[kArrowSlots], const char* text) {
  if (!slots || !text || std::strlen(text) < 5) return false;
  int fc, fr, tc, tr;
  if (!ParseSquareName(text + 1, &fc, &fr) || !ParseSquareName(text + 3, &tc, &tr)) return false;
  for (int i = 0; i < kArrowSlots; ++i) {
    ArrowSlot& s = slots[i];
    if (s.inUse) continue;
    s.penKind = ArrowPenKind(text[0]);
    std::memcpy(s.from, text + 1, 2);
    s.from[2] = 0;
    std::memcpy(s.to, text + 3, 2);
    s.to[2] = 0;
    s.knight = IsKnightJump(fc, fr, tc, tr);
    s.inUse = 1;
    ++g_arrowCount;
    return true;
  }
  return false;
}

void InitArrowSlots(ArrowSlot slots[kArrowSlots]) {
  if (!slots) return;
  for (int i = 0; i < kArrowSlots; ++i) FreeSlot(&slots[i]);
}

void ClearArrows(ArrowSlot slots[kArrowSlots]) {
  if (!slots) return;
  InitArrowSlots(slots);
  g_arrowCount = 0;
}

int ArrowCount() { return g_arrowCount; }

void CopyArrowSlot(ArrowSlot slots[kArrowSlots], const ArrowSlot& slot) {
  if (slots) slots[0] = slot;
}

bool IsKnightJump(int fromColumn, int fromRow, int toColumn, int toRow) {
  int df = std::abs(toColumn - fromColumn), dr = std::abs(toRow - fromRow);
  return (df == 1 && dr == 2) || (df == 2 && dr == 1);
}

int KnightArcClass(int df, int dr, ScreenPoint from, ScreenPoint to) {
  bool odd = (df == 1 && dr == 2) || (df == 2 && dr == -1) || (df == -1 && dr == -2) || (df == -2 && dr == 1);
  if (odd) {
    if (from.x < to.x) return from.y > to.y ? 1 : 3;
    return from.y > to.y ? 7 : 5;
  }
  if (from.x < to.x) return from.y <= to.y ? 4 : 2;
  return from.y <= to.y ? 6 : 8;
}

bool ComputeArrowShape(const BoardProjection& view, const ArrowSlot& slot, ArrowShape* out) {
  int fc, fr, tc, tr;
  if (!out || !ParseSquareName(slot.from, &fc, &fr) || !ParseSquareName(slot.to, &tc, &tr)) return false;
  ArrowShape s{};
  if (!SquareCentre(view, fr, fc, &s.from, nullptr) || !SquareCentre(view, tr, tc, &s.to, nullptr)) return false;
  if (slot.knight) {
    // Rows count from rank 8, so a rank up is a row down.
    int cls = KnightArcClass(tc - fc, fr - tr, s.from, s.to);
    ScreenPoint centre = (cls == 1 || cls == 4 || cls == 5 || cls == 8) ? ScreenPoint{s.to.x, s.from.y}
                                                                         : ScreenPoint{s.from.x, s.to.y};
    int32_t rx = std::abs(s.to.x - s.from.x), ry = std::abs(s.to.y - s.from.y);
    s.box = {centre.x - rx, centre.y - ry, centre.x + rx, centre.y + ry};
    bool reversed = cls % 2 == 1;
    s.arcStart = reversed ? s.to : s.from;
    s.arcEnd = reversed ? s.from : s.to;
    s.curved = 2 * rx > kSmallestArcSide && 2 * ry > kSmallestArcSide;
  }
  *out = s;
  return true;
}
