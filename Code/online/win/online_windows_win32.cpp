#include "online_windows_win32.h"

#include <map>

#include "facet_frame.h"
#include "main_frame.h"
#include "menu_commands.h"
#include "name_lists.h"
#include "window_table.h"

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

bool RunPlayerMenuCommand(int command, const std::string& name) {
  OnlineWindowHost* host = GetOnlineWindowHost();
  OnlineSession* s = host ? host->Session() : nullptr;
  if (!s || name.empty()) return false;
  switch (command) {
    case PMENU_PROFILE:
      if (name == s->own.nickname) {
        host->ShowOwnProfile();
        CheckMenuCommand(GetMainFrame(), 40038);  // Player Statistics
      } else {
        s->RequestProfile(name);
      }
      return true;
    case PMENU_CHALLENGE:
      host->ChallengeUser(name);
      return true;
    case PMENU_IGNORE:
      s->ToggleIgnoreOnlineUser(name);
      return true;
    case PMENU_ADD_BUDDY:
      AddToNameList(s->buddyList, name);
      return true;
    case PMENU_REMOVE_BUDDY:
      RemoveFromNameList(s->buddyList, name);
      return true;
    default:
      return false;
  }
}

void StoreOnlineWindowPos(int number, LPARAM windowPos) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(windowPos);
  WindowPosRecord record{pos->hwnd, pos->hwndInsertAfter, pos->x, pos->y, pos->cx, pos->cy, pos->flags};
  NumberedWindowOp(WOP_SET_RECT_POS, number, intptr_t(&record));
}
