// Menu templates come from resource files: any bytes must parse without
// reading past the data, and the tree built must hold only cut texts and
// consistent submenu counts.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "menu_model.h"

namespace {

void Check(const CmMenuItem* items, int count) {
  for (int i = 0; i < count; ++i) {
    if (std::strlen(items[i].text) > size_t(kMenuTextMax)) __builtin_trap();
    if (items[i].flags & CMF_POPUP) Check(items[i].subItems, items[i].subCount);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CmMenu* menu = MenuParseTemplate(data, size);
  if (!menu) return 0;
  Check(menu->items, menu->count);
  MenuCheck(menu, 1, CMF_CHECKED);
  MenuEnable(menu, 2, CMF_GRAYED);
  MenuDestroy(menu);
  return 0;
}
