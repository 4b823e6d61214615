// The view list's rules, apart from its window: per mode the caption and
// buttons, the rows (users of the user table, games being played, or the
// names of the buddy and ignore lists) in their order, and the action on the
// chosen row.
//
// Interface: ViewListMode, ViewListModeInfo, GetViewListModeInfo,
// ViewListRow, BuildViewListRows, NameRowInsertIndex, GameRowInsertIndex,
// ViewListActions, RunViewListAction.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "session.h"

enum ViewListMode : int {
  VIEW_GAME = 0,
  VIEW_PLAYER = 1,
  VIEW_IGNORE = 2,
  VIEW_UNIGNORE = 3,
  VIEW_GAME_VIEWERS = 4,
  VIEW_ADD_BUDDY = 5,
  VIEW_REMOVE_BUDDY = 6,
  VIEW_BUDDIES = 7,
  VIEW_BUDDIES_CONNECTED = 8,
};
constexpr int kViewListModes = 9;

struct ViewListModeInfo {
  const char* caption;
  const char* action;  // null: only the close button
  const char* close;   // the close button's caption
};
ViewListModeInfo GetViewListModeInfo(int mode);

// Column titles of a mode: six for games, else "Player".
std::vector<std::string> ViewListColumns(int mode);

struct ViewListRow {
  std::vector<std::string> texts;  // one per column
  OnlineGameDescriptor game;       // mode 0
};

// The rows as the dialog lists them when it opens. A user counts as having
// completed its login when its record's word 4 is set.
std::vector<ViewListRow> BuildViewListRows(int mode, const OnlineSession& session,
                                           const std::vector<std::string>& buddies);

// Where a name goes: before the first row whose text compares greater
// (case-sensitive).
size_t NameRowInsertIndex(const std::vector<ViewListRow>& rows, const std::string& name);
// Where a game goes: after every row whose White compares less or equal.
size_t GameRowInsertIndex(const std::vector<ViewListRow>& rows, const std::string& white);

// What the actions reach outside the session.
struct ViewListActions {
  std::function<void(const std::string&)> addBuddy, removeBuddy;
};
// The action button: -1 (nothing; the dialog stays) before a row was
// chosen, else the dialog's end code 1 after the mode's action.
int RunViewListAction(int mode, int selected, const std::vector<ViewListRow>& rows, OnlineSession& session,
                      const ViewListActions& actions);
