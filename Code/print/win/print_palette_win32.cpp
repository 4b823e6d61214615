// PrintPalette.

#include "print_palette_win32.h"

#include <algorithm>

namespace {

constexpr int kEntries = 256;

bool ValidRun(int first, int count) { return first >= 0 && count > 0 && first + count <= kEntries; }

}  // namespace

PrintPalette::PrintPalette()
    : logical_(sizeof(LOGPALETTE) + (kEntries - 1) * sizeof(PALETTEENTRY), 0), working_(kEntries) {
  auto* lp = reinterpret_cast<LOGPALETTE*>(logical_.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = kEntries;
}

PrintPalette::~PrintPalette() {
  if (handle_ && created_) DeleteObject(handle_);
}

void PrintPalette::Recreate() {
  if (handle_ && created_) DeleteObject(handle_);
  handle_ = CreatePalette(reinterpret_cast<LOGPALETTE*>(logical_.data()));
  created_ = handle_ != nullptr;
}

bool PrintPalette::SetFromPalette(HPALETTE source) {
  PALETTEENTRY* entries = Entries();
  std::fill(entries, entries + kEntries, PALETTEENTRY{0, 0, 0, 0});
  if (source) GetPaletteEntries(source, 0, kEntries, entries);
  for (int i = 0; i < kEntries; ++i) entries[i].peFlags = 0;
  MarkReserved(16, 160);
  std::copy(entries, entries + kEntries, working_.begin());
  Recreate();
  return handle_ != nullptr;
}

UINT PrintPalette::Realize(HWND window, HDC dc) {
  if (!handle_) return 0;
  HDC target = dc ? dc : GetDC(window);
  if (!target) return 0;
  HPALETTE old = SelectPalette(target, handle_, FALSE);
  const UINT mapped = RealizePalette(target);
  if (old) SelectPalette(target, old, FALSE);
  if (!dc) ReleaseDC(window, target);
  return mapped;
}

void PrintPalette::CopyRange(const PrintPalette& from, int first, int count) {
  if (!ValidRun(first, count)) return;
  std::copy(from.Entries() + first, from.Entries() + first + count, Entries() + first);
  std::copy(from.Entries() + first, from.Entries() + first + count, working_.begin() + first);
  Recreate();
}

void PrintPalette::MarkReserved(int first, int count) {
  if (!ValidRun(first, count)) return;
  for (int i = first; i < first + count; ++i) Entries()[i].peFlags = PC_RESERVED;
}

int PrintPalette::FadeStep(HWND window, int first, int count) {
  if (fade_ == 0) {
    fade_ = 15;
    return 0;
  }
  --fade_;
  if (!ValidRun(first, count)) return 1;
  for (int i = first; i < first + count; ++i) {
    PALETTEENTRY& e = Entries()[i];
    PALETTEENTRY& w = working_[i];
    e.peRed = static_cast<BYTE>(e.peRed * fade_ / 15);
    e.peGreen = static_cast<BYTE>(e.peGreen * fade_ / 15);
    e.peBlue = static_cast<BYTE>(e.peBlue * fade_ / 15);
    w.peRed = static_cast<BYTE>(w.peRed * fade_ / 15);
    w.peGreen = static_cast<BYTE>(w.peGreen * fade_ / 15);
    w.peBlue = static_cast<BYTE>(w.peBlue * fade_ / 15);
  }
  if (handle_) {
    HDC dc = GetDC(window);
    if (dc) {
      HPALETTE old = SelectPalette(dc, handle_, FALSE);
      AnimatePalette(handle_, first, count, Entries() + first);
      if (old) SelectPalette(dc, old, FALSE);
      ReleaseDC(window, dc);
    }
  }
  return 1;
}

COLORREF PrintPalette::GetEntry(int index) const {
  if (index < 0 || index >= kEntries) return 0;
  const PALETTEENTRY& e = Entries()[index];
  return RGB(e.peRed, e.peGreen, e.peBlue);
}

void PrintPalette::SetEntry(int index, COLORREF colour) {
  if (index < 0 || index >= kEntries) return;
  PALETTEENTRY& e = Entries()[index];
  e = PALETTEENTRY{GetRValue(colour), GetGValue(colour), GetBValue(colour), PC_RESERVED};
  working_[index] = e;
}
