// Conversion tables. Game to Windows: printable ASCII unchanged, the
// accented letters and signs of code page 437 that Windows-1252 also has,
// five look-alikes, everything else the degree sign (0xB0). Windows to
// game: the same letters back, a few look-alikes, other accented capitals
// folded to their base letter, everything else the middle dot (0xFA).
#include "charset.h"

namespace gdbase {
namespace {

struct Pair {
  uint8_t game, windows;
};

// Code page 437 codes and their Windows-1252 characters.
const Pair kShared[] = {{0x80, 0xC7}, {0x81, 0xFC}, {0x82, 0xE9}, {0x83, 0xE2}, {0x84, 0xE4}, {0x85, 0xE0},
                        {0x86, 0xE5}, {0x87, 0xE7}, {0x88, 0xEA}, {0x89, 0xEB}, {0x8A, 0xE8}, {0x8B, 0xEF},
                        {0x8C, 0xEE}, {0x8D, 0xEC}, {0x8E, 0xC4}, {0x90, 0xC9}, {0x91, 0xE6}, {0x92, 0xC6},
                        {0x93, 0xF4}, {0x94, 0xF6}, {0x95, 0xF2}, {0x96, 0xFB}, {0x97, 0xF9}, {0x98, 0xFF},
                        {0x99, 0xD6}, {0x9A, 0xDC}, {0xA0, 0xE1}, {0xA1, 0xED}, {0xA2, 0xF3}, {0xA3, 0xFA},
                        {0xA4, 0xF1}, {0xA5, 0xD1}, {0xA8, 0xBF}, {0xAB, 0xBD}, {0xAC, 0xBC}, {0xAD, 0xA1},
                        {0xAE, 0xAB}, {0xAF, 0xBB}};

struct Tables {
  uint8_t toWindows[256];
  uint8_t toGame[256];
  Tables() {
    for (int c = 0; c < 256; ++c) {
      bool printable = c >= 32 && c <= 126;
      toWindows[c] = printable ? static_cast<uint8_t>(c) : 0xB0;
      toGame[c] = printable ? static_cast<uint8_t>(c) : 0xFA;
    }
    toWindows[0] = toGame[0] = 0;
    for (const Pair& p : kShared) toWindows[p.game] = p.windows;
    const Pair lookAlikes[] = {{0x8F, 0xC2}, {0xA6, 0xAE}, {0xA7, 0xA9}, {0xA9, 0xB1}, {0xAA, 0xBE}};
    for (const Pair& p : lookAlikes) toWindows[p.game] = p.windows;

    auto fold = [&](int from, int to, char letter) {
      for (int c = from; c <= to; ++c) toGame[c] = static_cast<uint8_t>(letter);
    };
    fold(0xC0, 0xC3, 'A');
    fold(0xC8, 0xC8, 'E');
    fold(0xCA, 0xCB, 'E');
    fold(0xCC, 0xCF, 'I');
    fold(0xD0, 0xD0, 'D');
    fold(0xD2, 0xD6, 'O');
    fold(0xD7, 0xD7, 'x');
    fold(0xD8, 0xD8, '0');
    fold(0xD9, 0xDB, 'U');
    fold(0xDD, 0xDD, 'Y');
    fold(0xE3, 0xE3, 'a');
    fold(0xF0, 0xF0, 'a');
    fold(0xF5, 0xF5, 'o');
    fold(0xF8, 0xF8, '0');
    fold(0xFD, 0xFD, 'y');
    const Pair otherwise[] = {{0x91, 0x91}, {0x92, 0x92}, {0x20, 0xA0}, {0xA4, 0xA4}, {0x7C, 0xA6},
                              {0xA7, 0xA9}, {0xA6, 0xAE}, {0xA9, 0xB1}, {0x60, 0xB4}, {0x75, 0xB5},
                              {0x2E, 0xB7}, {0x2C, 0xB8}, {0xAA, 0xBE}};
    for (const Pair& p : otherwise) toGame[p.windows] = p.game;
    // The shared letters go back to their own codes (Ö before the O fold),
    // and Å to its code page 437 code.
    for (const Pair& p : kShared) toGame[p.windows] = p.game;
    toGame[0xC5] = 0x8F;
  }
};

const Tables& Table() {
  static const Tables tables;
  return tables;
}

}  // namespace

uint8_t GameToWindowsChar(uint8_t c) { return Table().toWindows[c]; }
uint8_t WindowsToGameChar(uint8_t c) { return Table().toGame[c]; }

std::string GameToWindows(const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p) out += static_cast<char>(GameToWindowsChar(static_cast<uint8_t>(*p)));
  return out;
}

std::string WindowsToGame(const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p) out += static_cast<char>(WindowsToGameChar(static_cast<uint8_t>(*p)));
  return out;
}

}  // namespace gdbase
