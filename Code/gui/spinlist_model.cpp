// The spin list's arithmetic: see spinlist_model.h.
#include "spinlist_model.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

int Lower(int c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }
bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Byte-wise comparison ignoring ASCII case; texts are NUL-terminated within
// their 64 bytes.
int CompareText(const char* a, const char* b) {
  for (size_t i = 0; i < sizeof(SpinListEntry::text); ++i) {
    int ca = Lower(static_cast<unsigned char>(a[i]));
    int cb = Lower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
  return 0;
}

bool BeginsWith(const SpinListEntry* e, int letter) {
  return e && Lower(static_cast<unsigned char>(e->text[0])) == Lower(letter);
}

}  // namespace

int SpinListMoveTarget(int code, int current, int count) {
  if (count <= 0) return current;
  switch (code) {
    case SPC_LINE_UP:
      return current <= 0 ? count - 1 : current - 1;
    case SPC_LINE_DOWN:
      return current + 1 >= count ? 0 : current + 1;
    case SPC_PAGE_UP:
      return current - kSpinPageStep < 0 ? 0 : current - kSpinPageStep;
    case SPC_PAGE_DOWN:
      return current + kSpinPageStep < count - 1 ? current + kSpinPageStep : count - 1;
    case SPC_TOP:
      return 0;
    case SPC_BOTTOM:
      return count - 1;
    default:
      return current;
  }
}

bool SpinListSlidesForward(int from, int to) { return to == from + 1 || to < from - 1; }

int SpinListFindByLetter(const SpinListEntry* const* table, int count, int current, int letter) {
  if (!table || !IsLetter(letter)) return -1;
  if (current >= 0 && current + 1 < count && BeginsWith(table[current], letter) &&
      BeginsWith(table[current + 1], letter))
    return current + 1;
  for (int i = 0; i < count; ++i)
    if (BeginsWith(table[i], letter)) return i;
  return -1;
}

int SpinListFindText(const SpinListEntry* const* table, int count, const char* text) {
  if (!table || !text || !*text) return -1;
  // The caller's text may be longer than an entry's: compare whole texts.
  size_t length = std::strlen(text);
  if (length >= sizeof(SpinListEntry::text)) return -1;
  for (int i = 0; i < count; ++i)
    if (table[i] && CompareText(table[i]->text, text) == 0) return i;
  return -1;
}

int SpinListSort(SpinListEntry** table, int count, int order, int current, int mode) {
  if (!table || count < 2 || (order != 0 && order != 1)) return -1;
  const SpinListEntry* wasCurrent = current >= 0 && current < count ? table[current] : nullptr;
  std::stable_sort(table, table + count, [order](const SpinListEntry* a, const SpinListEntry* b) {
    int c = CompareText(a->text, b->text);
    return order == 0 ? c < 0 : c > 0;
  });
  if (mode == SPS_KEEP_INDEX) return current;
  if (mode == SPS_FIRST) return 0;
  for (int i = 0; i < count; ++i)
    if (table[i] == wasCurrent) return i;
  return current;
}

bool SpinListTableMustGrow(int count) { return count > 0 && count % kSpinListTableStep == 0; }

SpinListLayout SpinListLayoutFor(int clientWidth, int clientHeight) {
  SpinListLayout l{};
  l.leftX = 0;
  l.rightX = clientWidth - (kSpinArrowWidth - 1);
  l.buttonWidth = kSpinArrowWidth;
  l.buttonHeight = std::max(0, clientHeight);
  l.itemWidth = std::max(0, clientWidth - 2 * kSpinArrowWidth);
  l.itemHeight = std::max(0, clientHeight);
  return l;
}

void SpinListWindowSize(int itemWidth, int itemHeight, bool bordered, int border, int* windowWidth,
                        int* windowHeight) {
  int extra = bordered ? 2 * border : 0;
  *windowWidth = itemWidth + 2 * kSpinArrowWidth + extra;
  *windowHeight = itemHeight + extra;
}

uint32_t SpinListPackSize(int width, int height) {
  return (uint32_t(height) & 0xFFFF) << 16 | (uint32_t(width) & 0xFFFF);
}

void SpinListUnpackSize(uint32_t packed, int* width, int* height) {
  *width = int(packed & 0xFFFF);
  *height = int(packed >> 16);
}

SpinSlideStyle SpinSlideStyleFor(uint32_t windowStyle) {
  if (windowStyle & 0x2000) return SpinSlideStyle::Roll;
  if (windowStyle & 0x4000) return SpinSlideStyle::UncoverRight;
  if (windowStyle & 0x8000) return SpinSlideStyle::UncoverDown;
  return SpinSlideStyle::Scroll;
}

int SpinSlideSteps(SpinSlideStyle style) {
  switch (style) {
    case SpinSlideStyle::UncoverDown:
    case SpinSlideStyle::UncoverRight:
      return 6;  // k sixths of the picture at step k: six steps show all of it
    default:
      return 5;
  }
}

SpinSlideBand SpinSlidePlan(SpinSlideStyle style, bool forward, int step, int width, int height) {
  SpinSlideBand b{};
  const int steps = SpinSlideSteps(style);
  if (step < 1 || step > steps || width <= 0 || height <= 0) return b;
  switch (style) {
    case SpinSlideStyle::Scroll: {
      const int fifth = width / 5;
      b.scroll = forward ? -fifth : fifth;
      b.width = fifth;
      b.height = height;
      // Forward the new picture comes in from the right, its columns in
      // order; backward from the left, its last columns first.
      b.srcX = forward ? (step - 1) * fifth : width - step * fifth;
      b.dstX = forward ? width - fifth : 0;
      break;
    }
    case SpinSlideStyle::UncoverDown: {
      const int band = height * step / steps;
      b.width = width;
      b.height = band;
      b.srcY = b.dstY = forward ? 0 : height - band;
      break;
    }
    case SpinSlideStyle::UncoverRight: {
      const int band = width * step / steps;
      b.width = band;
      b.height = height;
      b.srcX = b.dstX = forward ? 0 : width - band;
      break;
    }
    case SpinSlideStyle::Roll:
      break;
  }
  return b;
}

namespace {

int Rows(const PackedDib* d) { return d->biHeight < 0 ? -d->biHeight : d->biHeight; }

// Copies `rows` rows of `width` pixels from row srcY of src to row dstY of
// dst (rows counted from the top), one row at a time so that the storage
// order of either image does not matter.
void CopyRows(PackedDib* dst, int dstY, const PackedDib* src, int srcY, int width, int rows) {
  for (int r = 0; r < rows; ++r) {
    auto* to = static_cast<uint8_t*>(dibGetPixelAddress(dst, 0, dstY + r));
    auto* from = static_cast<const uint8_t*>(dibGetPixelAddress(src, 0, srcY + r));
    if (to && from) std::memcpy(to, from, size_t(width));
  }
}

}  // namespace

bool SpinRollCompose(PackedDib* work, const PackedDib* from, const PackedDib* to, int step, bool forward) {
  if (!work || !to || work->biBitCount != 8 || to->biBitCount != 8) return false;
  if (from && from->biBitCount != 8) from = nullptr;
  const int height = Rows(work);
  const int width = work->biWidth;
  if (step < 1) step = 1;
  if (step > 5) step = 5;
  int band = height / 5 * step;
  dibFillWithColor(work, 0);
  // The new picture's rows: its top rows at the bottom of the work image
  // going forward, its bottom rows at the top going backward.
  const int newWidth = std::min(width, to->biWidth);
  const int newRows = std::min(band, Rows(to));
  if (forward)
    CopyRows(work, height - band, to, 0, newWidth, newRows);
  else
    CopyRows(work, 0, to, Rows(to) - newRows, newWidth, newRows);
  // The old picture fills the rest, pushed out by the band.
  if (from) {
    const int oldWidth = std::min(width, from->biWidth);
    const int rest = height - band;
    if (forward) {
      // Work rows 0 .. rest - 1 show old rows band .. height - 1.
      const int rows = std::max(0, std::min(rest, Rows(from) - band));
      CopyRows(work, 0, from, band, oldWidth, rows);
    } else {
      // Work rows band .. height - 1 show old rows 0 .. rest - 1.
      const int rows = std::min(rest, Rows(from));
      CopyRows(work, band, from, 0, oldWidth, rows);
    }
  }
  return true;
}
