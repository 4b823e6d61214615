// Custom menus as data: the menu record, its items, the item-info record and
// the parser of classic RT_MENU templates. OS-free; the cm* exports
// (menu_exports.cpp) and the menu engine (menu_popup.cpp) work on these.
//
// Interface: MenuCreate, MenuDestroy, MenuAppend, MenuInsert, MenuGetSub,
// MenuDestroySub, MenuCheck, MenuEnable, MenuGetInfo, MenuSetInfo,
// MenuFindItem, MenuMnemonic, MenuCopyText, MenuClearHighlight,
// MenuParseTemplate.
#pragma once

#include <cstddef>
#include <cstdint>

struct PackedDib;

enum : uint32_t {
  CMF_GRAYED = 0x1,
  CMF_DISABLED = 0x2,
  CMF_BITMAP = 0x4,
  CMF_CHECKED = 0x8,
  CMF_POPUP = 0x10,
  CMF_END = 0x80,
  CMF_OWNERDRAW = 0x100,
  CMF_BYPOSITION = 0x400,
  CMF_SEPARATOR = 0x800,
  CMF_HIGHLIGHT = 0x100000,
};

constexpr int kMenuTextMax = 39;  // characters kept of an item's text

struct CmMenuItem {
  char text[40];
  int32_t mnemonic;
  PackedDib* barImages[2];  // normal, hot (menu bar only)
  int32_t rect[4];          // left, top, right, bottom
  uintptr_t commandId;      // for a popup item: the submenu handle given
  uint32_t flags;
  int32_t subCount;
  CmMenuItem* subItems;
};

struct CmMenu {
  int32_t count;
  CmMenuItem* items;
  int32_t selected;
  int32_t hot;
};

// The item-info record, laid out as the system's MENUITEMINFOA (44 bytes in
// the 32-bit program).
struct CmItemInfo {
  uint32_t cbSize;
  uint32_t fMask;
  uint32_t fType;
  uint32_t fState;
  uint32_t wID;
  void* hSubMenu;
  void* hbmpChecked;
  void* hbmpUnchecked;
  uintptr_t dwItemData;
  char* dwTypeData;
  uint32_t cch;
};
constexpr uint32_t kItemInfoSize = 44;
enum : uint32_t { CMIIM_STATE = 0x1, CMIIM_ID = 0x2, CMIIM_TYPE = 0x10, CMFT_SEPARATOR = 0x800 };

// Upper-cased character after the first single '&'; "&&" is skipped.
int32_t MenuMnemonic(const char* text);
// Copies at most 39 characters and sets the mnemonic.
void MenuCopyText(CmMenuItem* item, const char* text);

CmMenu* MenuCreate();
// Frees every item array of the tree, the bar images (through the hook) and the record.
void MenuDestroy(CmMenu* menu);
// Deletes bar images; set by the Windows side (dibDelete), null natively.
extern void (*g_menuImageFree)(PackedDib* image);
void MenuReleaseBarImages(CmMenu* menu);

int MenuAppend(CmMenu* menu, uint32_t flags, uintptr_t id, const char* text);
int MenuInsert(CmMenu* menu, uint32_t position, int byPosition, const CmItemInfo* info);
CmMenu* MenuGetSub(const CmMenu* menu, int position);
void MenuDestroySub(CmMenu* menu);
// By id (depth first, popup items never match) or by position (top level).
CmMenuItem* MenuFindItem(const CmMenu* menu, uint32_t item, int byPosition);
uint32_t MenuCheck(CmMenu* menu, uint32_t item, uint32_t flags);
uint32_t MenuEnable(CmMenu* menu, uint32_t item, uint32_t flags);
int MenuGetInfo(const CmMenu* menu, uint32_t item, int byPosition, CmItemInfo* info);
int MenuSetInfo(CmMenu* menu, uint32_t item, int byPosition, const CmItemInfo* info);
// Clears the highlighted bit of every item of the tree.
void MenuClearHighlight(CmMenuItem* items, int count);

// Parses a classic menu template (4-byte header, then entries) of `size`
// bytes. Null when the data is too short to hold a header. Entries cut off
// by the end of the data end the parse (what was read so far is kept).
CmMenu* MenuParseTemplate(const uint8_t* data, size_t size);
