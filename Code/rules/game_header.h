// The header block every game carries: tag texts and the game's own five
// comment slots. Its first 768 bytes are the fixed layout that also opens
// the saved game file; the slots are owned texts in memory.
//
// Interface: FillDefaultGameHeader, CopyGameHeader, FreeGameHeaderTexts,
// SwapHeaderSides.
#pragma once

#include <cstddef>
#include <cstdint>

#include "moverecord.h"

constexpr int kGameHeaderFixedSize = 768;
constexpr uint8_t kGameFileVersion = 8;

struct GameHeader {
  char banner[32];
  uint8_t marker;   // 0x1A
  uint8_t version;  // kGameFileVersion
  char eco[4];
  char title[128];
  char site[128];
  char event[64];
  char round[12];
  char date[20];
  char spare[79];
  char annotator[32];
  char whiteElo[5];
  char blackElo[5];
  char whiteTitle[64];
  char blackTitle[64];
  char whiteCountry[64];
  char blackCountry[64];
  uint8_t zero;
  char* texts[kMoveTextSlots];  // owned, null when empty; same meanings as a move's slots
};
static_assert(offsetof(GameHeader, eco) == 34 && offsetof(GameHeader, date) == 370 &&
                  offsetof(GameHeader, annotator) == 469 && offsetof(GameHeader, blackCountry) == 703 &&
                  offsetof(GameHeader, zero) == kGameHeaderFixedSize - 1,
              "the fixed part has the layout of the saved game file's first 768 bytes");

// Cleared, marker and version set, the banner and date given (either may be
// null).
void FillDefaultGameHeader(GameHeader* header, const char* banner, const char* date);
// The fixed part copied and fresh copies of the texts; false (and `to`
// without texts) when memory is short.
bool CopyGameHeader(GameHeader* to, const GameHeader* from);
void FreeGameHeaderTexts(GameHeader* header);
// Exchanges the white and black Elo, title and country fields.
void SwapHeaderSides(GameHeader* header);
