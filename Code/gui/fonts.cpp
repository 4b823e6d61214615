// Named fonts: a per-process table of six font slots that the main program
// fills once at start-up and every window fetches by number.
//
// Slot numbers come from callers and are checked here: a slot outside 0..5
// would otherwise index past the table.
#include <cstring>

#include "facet.h"
#include "heapkit.h"
#include "procdata.h"
#include "winutil.h"

namespace {

struct CguiFontSlot {
  char face[64];
  int32_t points;
  int32_t weight;
  int32_t charset;
  HFONT font;  // 0 when none could be created
};

struct CguiFontTable {
  int32_t count;
  CguiFontSlot* slots[kCguiFontSlots];
};

CguiFontTable* Table() { return static_cast<CguiFontTable*>(GetProcessData(nullptr, PD_FONT_TABLE)); }

bool ValidSlot(int slot) { return slot >= 0 && slot < kCguiFontSlots; }

}  // namespace

extern "C" {

int cguiFontInit(void) {
  // Called again it empties the table without deleting the fonts it held:
  // those may still be selected somewhere. Their slot records go, though.
  if (CguiFontTable* old = Table()) {
    for (CguiFontSlot*& s : old->slots) {
      memFree_rel(s);
      s = nullptr;
    }
  }
  CguiFontTable empty{};
  return StoreProcessData(GetCurrentProcessId(), PD_FONT_TABLE, &empty, sizeof empty) >= 0 ? 1 : 0;
}

HFONT cguiRegisterFont(int slot, HFONT font, const char* face, int points, int weight, int charset) {
  CguiFontTable* table = Table();
  if (!table || !ValidSlot(slot) || table->slots[slot]) return nullptr;
  auto* record = static_cast<CguiFontSlot*>(memAlloc_rel(sizeof(CguiFontSlot), HEAPKIT_TAG_RW));
  if (!record) return nullptr;
  std::memset(record, 0, sizeof *record);
  if (face) {
    std::strncpy(record->face, face, sizeof record->face - 1);  // a longer name is cut, not overrun
  }
  record->points = points;
  record->weight = weight;
  record->charset = charset;
  record->font = font ? font : CreateFontForPoints(record->face, points, weight, charset);
  table->slots[slot] = record;
  ++table->count;
  return record->font;
}

int cguiRemoveFont(int slot) {
  CguiFontTable* table = Table();
  if (!table || !ValidSlot(slot) || !table->slots[slot] || !table->slots[slot]->font) return -1;
  DeleteObject(table->slots[slot]->font);
  memFree_rel(table->slots[slot]);
  table->slots[slot] = nullptr;
  return --table->count;
}

int cguiFindFont(int, int points, int weight, int charset) {
  CguiFontTable* table = Table();
  if (!table) return 0;
  if (points == -1 || weight == -1 || charset == -1) return -1;
  for (int slot = 0; slot < kCguiFontSlots; ++slot) {
    const CguiFontSlot* s = table->slots[slot];
    if (s && s->font && s->points == points && s->weight == weight && s->charset == charset) return slot;
  }
  return -1;
}

HFONT cguiGetFont(int slot) {
  CguiFontTable* table = Table();
  if (!table || !ValidSlot(slot) || !table->slots[slot]) return nullptr;
  return table->slots[slot]->font;
}

int cguiFontDestroy(void) {
  CguiFontTable* table = Table();
  if (!table) return 0;
  for (int slot = 0; slot < kCguiFontSlots; ++slot) {
    if (table->slots[slot] && table->slots[slot]->font) cguiRemoveFont(slot);
  }
  return 1;
}

}  // extern "C"
