// AppendMenuString over Facet's cmAppendMenu and the program's string table.
#include <windows.h>

#include "facet_frame.h"
#include "menu_string.h"

int AppendMenuString(CmMenu* menu, unsigned commandId, unsigned stringId) {
  if (!menu) return 0;
  char text[1024] = "";
  if (LoadStringA(GetModuleHandleA(nullptr), stringId, text, sizeof text) <= 0) text[0] = 0;
  return cmAppendMenu(menu, 0, commandId, text);
}
