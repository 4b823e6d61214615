#include "game_header.h"

#include <cstring>

#include "heapkit.h"

namespace {

template <size_t N>
void CopyField(char (&field)[N], const char* text) {
  std::memset(field, 0, N);
  if (text) std::strncpy(field, text, N - 1);
}

template <size_t N>
void SwapField(char (&a)[N], char (&b)[N]) {
  char t[N];
  std::memcpy(t, a, N);
  std::memcpy(a, b, N);
  std::memcpy(b, t, N);
}

}  // namespace

void FillDefaultGameHeader(GameHeader* header, const char* banner, const char* date) {
  if (!header) return;
  std::memset(header, 0, sizeof *header);
  CopyField(header->banner, banner);
  header->marker = 0x1A;
  header->version = kGameFileVersion;
  CopyField(header->date, date);
}

bool CopyGameHeader(GameHeader* to, const GameHeader* from) {
  if (!to || !from) return false;
  std::memcpy(to, from, sizeof *to);
  bool ok = true;
  for (int slot = 0; slot < kMoveTextSlots; ++slot) {
    to->texts[slot] = nullptr;
    if (!from->texts[slot] || !*from->texts[slot]) continue;
    to->texts[slot] = memStrdup_rel(from->texts[slot], HEAPKIT_TAG_RW);
    ok = ok && to->texts[slot];
  }
  if (!ok) FreeGameHeaderTexts(to);
  return ok;
}

void FreeGameHeaderTexts(GameHeader* header) {
  if (!header) return;
  for (char*& text : header->texts) {
    memFree_rel(text);
    text = nullptr;
  }
}

void SwapHeaderSides(GameHeader* header) {
  if (!header) return;
  SwapField(header->whiteElo, header->blackElo);
  SwapField(header->whiteTitle, header->blackTitle);
  SwapField(header->whiteCountry, header->blackCountry);
}
