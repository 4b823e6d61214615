// PrintPalette: the library's copy of the program palette, with the palette
// animation members of the program's palettes (printing selects none).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

class PrintPalette {
 public:
  PrintPalette();
  ~PrintPalette();
  PrintPalette(const PrintPalette&) = delete;
  PrintPalette& operator=(const PrintPalette&) = delete;

  HPALETTE Handle() const { return handle_; }

  // Copies the 256 entries of `source`; entries 16-175 are reserved for
  // animation. False when no palette could be made.
  bool SetFromPalette(HPALETTE source);
  // Selects, realizes and deselects in the window's or the given context;
  // the number of entries mapped.
  UINT Realize(HWND window, HDC dc = nullptr);
  void CopyRange(const PrintPalette& from, int first, int count);
  void MarkReserved(int first, int count);
  // One step of a fade of the run to black: 0 once the counter ran out.
  int FadeStep(HWND window, int first, int count);
  COLORREF GetEntry(int index) const;
  void SetEntry(int index, COLORREF colour);

 private:
  void Recreate();

  HPALETTE handle_ = nullptr;
  bool created_ = false;
  int fade_ = 15;
  std::vector<uint8_t> logical_;        // LOGPALETTE with 256 entries
  std::vector<PALETTEENTRY> working_;   // the fade's unscaled copy
  PALETTEENTRY* Entries() { return reinterpret_cast<LOGPALETTE*>(logical_.data())->palPalEntry; }
  const PALETTEENTRY* Entries() const { return reinterpret_cast<const LOGPALETTE*>(logical_.data())->palPalEntry; }
};
