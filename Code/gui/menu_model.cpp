// Custom menus as data; see menu_model.h.
#include "menu_model.h"

#include <cctype>
#include <cstring>

#include "heapkit.h"

void (*g_menuImageFree)(PackedDib* image) = nullptr;

namespace {

CmMenuItem* GrowItems(CmMenuItem* items, int count) {
  return static_cast<CmMenuItem*>(memReAlloc_rel(items, sizeof(CmMenuItem) * (count + 1), HEAPKIT_TAG_RW));
}

void FreeImages(CmMenuItem& item) {
  for (PackedDib*& image : item.barImages) {
    if (image && g_menuImageFree) g_menuImageFree(image);
    image = nullptr;
  }
}

void FreeTree(CmMenuItem* items, int count) {
  for (int i = 0; i < count; ++i) {
    FreeImages(items[i]);
    if (items[i].flags & CMF_POPUP) FreeTree(items[i].subItems, items[i].subCount);
  }
  memFree_rel(items);
}

CmMenuItem* FindById(CmMenuItem* items, int count, uint32_t id) {
  for (int i = 0; i < count; ++i) {
    CmMenuItem& item = items[i];
    if (item.flags & CMF_POPUP) {
      if (CmMenuItem* found = FindById(item.subItems, item.subCount, id)) return found;
    } else if (uint32_t(item.commandId) == id) {
      return &item;
    }
  }
  return nullptr;
}

}  // namespace

int32_t MenuMnemonic(const char* text) {
  for (const char* p = text; *p; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return p[1] ? std::toupper(static_cast<unsigned char>(p[1])) : 0;
  }
  return 0;
}

void MenuCopyText(CmMenuItem* item, const char* text) {
  std::memset(item->text, 0, sizeof item->text);
  std::strncpy(item->text, text, kMenuTextMax);
  item->mnemonic = MenuMnemonic(item->text);
}

CmMenu* MenuCreate() {
  auto* menu = static_cast<CmMenu*>(memAlloc_rel(sizeof(CmMenu), HEAPKIT_TAG_RW));
  if (!menu) return nullptr;
  menu->count = 0;
  menu->items = nullptr;
  menu->selected = menu->hot = -1;
  return menu;
}

void MenuDestroy(CmMenu* menu) {
  if (!menu) return;
  FreeTree(menu->items, menu->count);
  memFree_rel(menu);
}

void MenuReleaseBarImages(CmMenu* menu) {
  if (!menu) return;
  for (int i = 0; i < menu->count; ++i) FreeImages(menu->items[i]);
}

int MenuAppend(CmMenu* menu, uint32_t flags, uintptr_t id, const char* text) {
  if (!menu || !text) return 0;
  CmMenuItem* items = GrowItems(menu->items, menu->count);
  if (!items) return 0;
  menu->items = items;
  CmMenuItem& item = items[menu->count++];
  std::memset(&item, 0, sizeof item);
  if (flags & (CMF_BITMAP | CMF_OWNERDRAW)) {
    uintptr_t value = reinterpret_cast<uintptr_t>(text);
    std::memcpy(item.text, &value, sizeof value);
  } else {
    MenuCopyText(&item, text);
  }
  item.flags = flags;
  item.commandId = id;
  if (flags & CMF_POPUP) {
    const CmMenu* sub = reinterpret_cast<const CmMenu*>(id);
    if (!sub) return 0;  // the item stays, as an empty popup
    item.subCount = sub->count;
    item.subItems = sub->items;
  }
  return 1;
}

int MenuInsert(CmMenu* menu, uint32_t position, int byPosition, const CmItemInfo* info) {
  if (!menu || !info || info->cbSize != kItemInfoSize) return 0;
  CmMenuItem* items = GrowItems(menu->items, menu->count);
  if (!items) return 0;
  menu->items = items;
  uint32_t at = (byPosition && position < uint32_t(menu->count)) ? position : uint32_t(menu->count);
  std::memmove(items + at + 1, items + at, sizeof(CmMenuItem) * (menu->count - at));
  ++menu->count;
  CmMenuItem& item = items[at];
  std::memset(&item, 0, sizeof item);
  MenuCopyText(&item, info->dwTypeData ? info->dwTypeData : "");
  item.flags = info->fState & 0x0B;
  item.commandId = info->wID;
  return 1;
}

CmMenu* MenuGetSub(const CmMenu* menu, int position) {
  if (!menu || position < 0 || position >= menu->count) return nullptr;
  const CmMenuItem& item = menu->items[position];
  if (!(item.flags & CMF_POPUP)) return nullptr;
  CmMenu* sub = MenuCreate();
  if (!sub) return nullptr;
  sub->count = item.subCount;
  sub->items = item.subItems;
  return sub;
}

void MenuDestroySub(CmMenu* menu) { memFree_rel(menu); }

CmMenuItem* MenuFindItem(const CmMenu* menu, uint32_t item, int byPosition) {
  if (!menu) return nullptr;
  if (byPosition) return item < uint32_t(menu->count) ? &menu->items[item] : nullptr;
  return FindById(menu->items, menu->count, item);
}

uint32_t MenuCheck(CmMenu* menu, uint32_t id, uint32_t flags) {
  CmMenuItem* item = MenuFindItem(menu, id, flags & CMF_BYPOSITION);
  if (!item) return 0xFFFFFFFFu;
  uint32_t old = item->flags;
  item->flags = (flags & CMF_CHECKED) ? old | CMF_CHECKED : old & ~CMF_CHECKED;
  return old;
}

uint32_t MenuEnable(CmMenu* menu, uint32_t id, uint32_t flags) {
  CmMenuItem* item = MenuFindItem(menu, id, flags & CMF_BYPOSITION);
  if (!item) return 0xFFFFFFFFu;
  uint32_t old = item->flags;
  const uint32_t both = CMF_GRAYED | CMF_DISABLED;
  item->flags = (flags & both) ? old | both : old & ~both;
  return old;
}

int MenuGetInfo(const CmMenu* menu, uint32_t id, int byPosition, CmItemInfo* info) {
  if (!menu || !info || info->cbSize != kItemInfoSize) return 0;
  CmMenuItem* item = MenuFindItem(menu, id, byPosition);
  if (!item) return 0;
  info->fType = (item->flags & CMF_SEPARATOR) ? uint32_t(CMFT_SEPARATOR) : 0u;
  info->fState = item->flags & 0x0B;
  info->wID = uint32_t(item->commandId);
  info->hSubMenu =
      (item->flags & CMF_POPUP) ? static_cast<void*>(item->subItems ? item->subItems : item) : nullptr;
  info->hbmpChecked = info->hbmpUnchecked = nullptr;
  info->dwItemData = 0;
  info->dwTypeData = item->text;
  info->cch = 0;
  return 1;
}

int MenuSetInfo(CmMenu* menu, uint32_t id, int byPosition, const CmItemInfo* info) {
  if (!menu || !info || info->cbSize != kItemInfoSize) return 0;
  CmMenuItem* item = MenuFindItem(menu, id, byPosition);
  if (!item) return 0;
  if (info->fMask & CMIIM_STATE) item->flags = info->fState & 0x0B;
  if (info->fMask & CMIIM_ID) item->commandId = info->wID;
  if ((info->fMask & CMIIM_TYPE) && !(item->flags & CMF_SEPARATOR) && info->dwTypeData) {
    int32_t mnemonic = item->mnemonic;  // kept: the text's mnemonic is not worked out again
    MenuCopyText(item, info->dwTypeData);
    item->mnemonic = mnemonic;
  }
  return 1;
}

void MenuClearHighlight(CmMenuItem* items, int count) {
  for (int i = 0; i < count; ++i) {
    items[i].flags &= ~CMF_HIGHLIGHT;
    if (items[i].flags & CMF_POPUP) MenuClearHighlight(items[i].subItems, items[i].subCount);
  }
}

// ---------------------------------------------------------------- templates

namespace {

struct Reader {
  const uint8_t* p;
  const uint8_t* end;
  bool Word(uint16_t* out) {
    if (end - p < 2) return false;
    *out = uint16_t(p[0] | (p[1] << 8));
    p += 2;
    return true;
  }
  // A NUL-terminated UTF-16 text, narrowed by keeping each unit's low byte.
  bool Text(char* out) {
    int n = 0;
    for (uint16_t unit;;) {
      if (!Word(&unit)) return false;
      if (!unit) break;
      if (n < kMenuTextMax) out[n++] = char(unit & 0xFF);
    }
    out[n] = 0;
    return true;
  }
};

// One level; false when the data ended inside it (the items read stay).
bool ParseLevel(Reader& r, CmMenuItem** items, int32_t* count, int depth) {
  for (;;) {
    uint16_t flags;
    if (!r.Word(&flags)) return false;
    uint16_t id = 0;
    if (!(flags & CMF_POPUP) && !r.Word(&id)) return false;
    char text[40];
    if (!r.Text(text)) return false;
    CmMenuItem* grown = GrowItems(*items, *count);
    if (!grown) return false;
    *items = grown;
    CmMenuItem& item = grown[(*count)++];
    std::memset(&item, 0, sizeof item);
    MenuCopyText(&item, text);
    item.flags = flags & ~CMF_END;  // the end mark only matters to the parse
    item.commandId = id;
    if (!(flags & CMF_POPUP) && id == 0 && !text[0]) item.flags |= CMF_SEPARATOR;
    if (flags & CMF_POPUP) {
      // Templates nest a few levels; a deeper one is taken as damaged.
      if (depth > 16) return false;
      if (!ParseLevel(r, &item.subItems, &item.subCount, depth + 1)) return false;
    }
    if (flags & CMF_END) return true;
  }
}

}  // namespace

CmMenu* MenuParseTemplate(const uint8_t* data, size_t size) {
  if (!data || size < 4) return nullptr;
  CmMenu* menu = MenuCreate();
  if (!menu) return nullptr;
  Reader r{data + 4, data + size};
  ParseLevel(r, &menu->items, &menu->count, 0);
  return menu;
}
