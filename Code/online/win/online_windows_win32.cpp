#include "online_windows_win32.h"

#include <map>

#include "facet_frame.h"

namespace {

OnlineWindowHost* g_host = nullptr;
std::map<HWND, std::vector<CmMenu*>> g_menus;

}  // namespace

void SetOnlineWindowHost(OnlineWindowHost* host) { g_host = host; }
OnlineWindowHost* GetOnlineWindowHost() { return g_host; }

void ShowOnlinePopupMenu(HWND owner, const std::vector<PlayerMenuEntry>& entries) {
  if (entries.empty()) return;
  CmMenu* menu = cmCreatePopupMenu();
  if (!menu) return;
  for (const PlayerMenuEntry& e : entries) cmAppendMenu(menu, MF_STRING, UINT_PTR(e.command), e.text.c_str());
  POINT at;
  GetCursorPos(&at);
  RECT anchor{at.x, at.y, at.x + 1, at.y + 1};
  if (cmTrackPopupMenu(menu, &anchor, owner, 0))
    g_menus[owner].push_back(menu);
  else
    cmDestroyMenu(menu);
}

void FreeOnlinePopupMenus(HWND owner) {
  auto it = g_menus.find(owner);
  if (it == g_menus.end()) return;
  for (CmMenu* menu : it->second) cmDestroyMenu(menu);
  g_menus.erase(it);
}
