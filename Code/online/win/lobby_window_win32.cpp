// The lobby window: see lobby_window_win32.h. Rows, their order, texts and
// menus come from lobby_model; each page's list view mirrors its LobbyPage.
#include "lobby_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app_globals.h"
#include "app_messages.h"
#include "dialog_helpers.h"
#include "dialog_runner.h"
#include "lobby_model.h"
#include "main_frame.h"
#include "menu_commands.h"
#include "name_lists.h"
#include "online_windows_win32.h"
#include "shell_services.h"
#include "window_table.h"

namespace {

enum : int {
  kTabs = 4030,
  kMenuLobby = 40055,
  kBuddyLoginSound = 13,
  kMargin = 5,
};
const int kPageDialogs[3] = {151, 152, 153};
const int kPageLists[3] = {4010, 4012, 4014};
const int kCounters[3] = {4011, 4013, 4015};
const char* const kTabNames[3] = {"Players", "Games", "Challenges"};

int CompareText(const char* a, const char* b) { return lstrcmpA(a, b); }

struct PageState {
  LobbyPageKind kind;
  LobbyPage rows{CompareText};
};

struct LobbyState {
  HWND pages[3] = {};
  int shown = 0;
  std::string first, second;  // the names under the last menu
  std::unique_ptr<PageState> page[3];
};

LobbyState* State(HWND w) { return reinterpret_cast<LobbyState*>(GetWindowLongPtrA(w, DWLP_USER)); }
PageState* Page(HWND page) { return reinterpret_cast<PageState*>(GetWindowLongPtrA(page, DWLP_USER)); }
OnlineSession* Session() {
  OnlineWindowHost* host = GetOnlineWindowHost();
  return host ? host->Session() : nullptr;
}

// ---- list views

HWND ListOf(HWND page) {
  PageState* p = Page(page);
  return p ? GetDlgItem(page, kPageLists[p->kind]) : nullptr;
}

void SetRow(HWND list, int at, const LobbyRow& row, bool insert) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = at;
  item.pszText = const_cast<char*>(row.texts[0].c_str());
  if (insert) SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item));
  for (size_t c = insert ? 1 : 0; c < row.texts.size(); ++c) {
    LVITEMA sub{};
    sub.iSubItem = int(c);
    sub.pszText = const_cast<char*>(row.texts[c].c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(at), LPARAM(&sub));
  }
  LVITEMA state{};
  state.stateMask = LVIS_DROPHILITED;
  state.state = row.highlighted ? LVIS_DROPHILITED : 0;
  SendMessageA(list, LVM_SETITEMSTATE, WPARAM(at), LPARAM(&state));
}

void Refill(HWND page) {
  HWND list = ListOf(page);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  const auto& rows = Page(page)->rows.rows();
  for (size_t i = 0; i < rows.size(); ++i) SetRow(list, int(i), rows[i], true);
}

void UpdateCounter(HWND lobby, int kind) {
  LobbyState* st = State(lobby);
  const size_t count = st->page[kind]->rows.rows().size();
  SetDlgItemTextA(lobby, kCounters[kind], LobbyCounterText(LobbyPageKind(kind), count).c_str());
}

void AddRow(HWND lobby, int kind, LobbyRow row) {
  LobbyState* st = State(lobby);
  const size_t at = st->page[kind]->rows.Insert(std::move(row));
  SetRow(ListOf(st->pages[kind]), int(at), st->page[kind]->rows.rows()[at], true);
  UpdateCounter(lobby, kind);
}

void RemoveRow(HWND lobby, int kind, const std::string& key) {
  LobbyState* st = State(lobby);
  const int at = st->page[kind]->rows.Remove(key);
  if (at < 0) return;
  SendMessageA(ListOf(st->pages[kind]), LVM_DELETEITEM, WPARAM(at), 0);
  UpdateCounter(lobby, kind);
}

// Game rows the user plays in, by the names in the rows.
void RemoveGamesOf(HWND lobby, const std::string& nickname) {
  LobbyState* st = State(lobby);
  std::vector<std::string> keys;
  for (const LobbyRow& r : st->page[LOBBY_GAMES]->rows.rows())
    if (r.first == nickname || r.second == nickname) keys.push_back(r.key);
  for (const std::string& k : keys) RemoveRow(lobby, LOBBY_GAMES, k);
}

// ---- rows from the user table

const OnlineUserEntry* FindUser(const std::string& nickname) {
  OnlineSession* s = Session();
  return s ? s->FindOnlineUserByNickname(nickname) : nullptr;
}

uint32_t OwnRatingFor(const OnlineChallenge& c) {
  OnlineSession* s = Session();
  const uint32_t category = GetTimeCategory(c.timeType, c.base, c.bonus);
  return s && category < 3 ? s->own.ratings[category].rating : 0;
}

void RefreshPlayer(HWND lobby, const OnlineUserEntry& e) {
  RemoveRow(lobby, LOBBY_PLAYERS, e.user.nickname);
  AddRow(lobby, LOBBY_PLAYERS, MakeLobbyPlayerRow(e));
}

void AddGame(HWND lobby, const OnlineUserEntry& e) {
  if (!HasGame(e.user)) return;
  if (State(lobby)->page[LOBBY_GAMES]->rows.Find(GameRowKey(e.user.game)) >= 0) return;
  AddRow(lobby, LOBBY_GAMES, MakeLobbyGameRow(e.user, FindUser));
}

void RefreshGame(HWND lobby, const OnlineUserEntry& e) {
  if (!HasGame(e.user)) return;
  RemoveRow(lobby, LOBBY_GAMES, GameRowKey(e.user.game));
  AddGame(lobby, e);
}

void AddChallenge(HWND lobby, const OnlineUserEntry& e) {
  if (!HasPostedChallenge(e.user)) return;
  AddRow(lobby, LOBBY_CHALLENGES, MakeLobbyChallengeRow(e.user, OwnRatingFor(e.user.challenge)));
  if (OnlineWindowHost* host = GetOnlineWindowHost()) host->OfferPostedChallenge(e);
}

void AnnounceBuddy(const OnlineUserEntry& e) {
  OnlineSession* s = Session();
  if (!s || !IsInNameList(s->buddyList, e.user.nickname)) return;
  if (GetBuddySetting()) Services().playGameSound(kBuddyLoginSound);
  char text[64];
  std::snprintf(text, sizeof text, "%s is here\n", e.user.nickname);
  Services().showModelessMessageBox(text, 0, nullptr, 0, 120);
}

void OnUserNotice(HWND lobby, uint32_t code, const OnlineUserEntry* e) {
  if (!e) return;
  const std::string name = e->user.nickname;
  switch (code) {
    case 8192:
      AddRow(lobby, LOBBY_PLAYERS, MakeLobbyPlayerRow(*e));
      AddGame(lobby, *e);
      AddChallenge(lobby, *e);
      AnnounceBuddy(*e);
      break;
    case 16384:
      RemoveRow(lobby, LOBBY_PLAYERS, name);
      RemoveGamesOf(lobby, name);
      RemoveRow(lobby, LOBBY_CHALLENGES, name);
      break;
    case 16:
      AddGame(lobby, *e);
      RefreshPlayer(lobby, *e);
      break;
    case 32:
      RemoveGamesOf(lobby, name);
      RefreshPlayer(lobby, *e);
      break;
    case 64:
      RefreshGame(lobby, *e);
      break;
    case 4096:
      RefreshGame(lobby, *e);
      RefreshPlayer(lobby, *e);
      break;
    case 128:
      RemoveRow(lobby, LOBBY_CHALLENGES, name);
      AddChallenge(lobby, *e);
      break;
    case 256:
      RemoveRow(lobby, LOBBY_CHALLENGES, name);
      break;
    case 512:
      RemoveRow(lobby, LOBBY_CHALLENGES, name);
      AddChallenge(lobby, *e);
      break;
    default:
      RefreshPlayer(lobby, *e);
      break;
  }
}

// ---- menus

void OpenPageMenu(HWND page, int row) {
  HWND lobby = GetParent(GetParent(page));
  LobbyState* st = State(lobby);
  PageState* p = Page(page);
  OnlineSession* s = Session();
  if (!st || !s || row < 0 || size_t(row) >= p->rows.rows().size()) return;
  const LobbyRow& r = p->rows.rows()[size_t(row)];
  st->first = r.first;
  st->second = r.second;
  const bool ownPlaying = s->own.state == USER_PLAYING;
  const OnlineUserEntry* e = s->FindOnlineUserByNickname(r.first);
  std::vector<PlayerMenuEntry> menu;
  if (p->kind == LOBBY_PLAYERS) {
    PlayerMenuFacts f;
    f.name = r.first;
    f.own = r.first == s->own.nickname;
    f.known = e != nullptr;
    f.registered = r.firstRegistered;
    f.canChallenge = e && IsFreeForChallenge(*e) && !ownPlaying;
    f.ignored = e && (e->flags & 1);
    f.buddy = IsInNameList(s->buddyList, r.first) != 0;
    if (e && !ownPlaying && e->user.state == USER_PLAYING && (e->user.game.flags & kGameViewersAllowed) &&
        e->user.game.white[0] && e->user.game.black[0]) {
      f.viewWhite = e->user.game.white;
      f.viewBlack = e->user.game.black;
    }
    menu = MakePlayerMenu(f);
  } else if (p->kind == LOBBY_GAMES) {
    menu = MakeGamesPageMenu(r, IsInNameList(s->buddyList, r.first) != 0, IsInNameList(s->buddyList, r.second) != 0);
  } else {
    ChallengeMenuFacts f;
    f.own = r.first == s->own.nickname;
    const uint32_t own = OwnRatingFor(r.challenge);
    f.canAccept = !ownPlaying && own >= r.challenge.lowestRating && own <= r.challenge.highestRating;
    f.ignored = e && (e->flags & 1);
    f.buddy = IsInNameList(s->buddyList, r.first) != 0;
    menu = MakeChallengesPageMenu(r, f);
  }
  ShowOnlinePopupMenu(lobby, menu);
}

void OnMenuCommand(HWND lobby, int id) {
  LobbyState* st = State(lobby);
  OnlineSession* s = Session();
  OnlineWindowHost* host = GetOnlineWindowHost();
  if (!s || !host) return;
  if (RunPlayerMenuCommand(id, st->first)) return;
  switch (id) {
    case kMenuAddSecondBuddy:
      AddToNameList(s->buddyList, st->second);
      break;
    case kMenuRemoveSecondBuddy:
      RemoveFromNameList(s->buddyList, st->second);
      break;
    case PMENU_ACCEPT:
      host->AcceptPostedChallenge(st->first);
      break;
    case PMENU_VIEW_GAME:
      host->ViewGameOf(st->first);
      break;
    case PMENU_PROFILE_FIRST:
      s->RequestProfile(st->first);
      break;
    case PMENU_PROFILE_SECOND:
      s->RequestProfile(st->second);
      break;
  }
}

// ---- pages

// Every column shares the list's width in proportion to its width now;
// `kept` (or -1) keeps its own.
void SpreadColumns(HWND list, int kept, int keptWidth) {
  const int n = int(LobbyColumnTitles(Page(GetParent(list))->kind).size());
  std::vector<ListColumn> columns(static_cast<size_t>(n));
  for (int c = 0; c < n; ++c) columns[size_t(c)] = {int32_t(SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(c), 0)), c};
  RECT client;
  GetClientRect(list, &client);
  std::vector<int32_t> widths(static_cast<size_t>(n));
  if (kept < 0) {
    FitListColumnWidths(columns.data(), n, 0, client.right, widths.data());
  } else {
    // The others share what the kept column leaves.
    std::vector<ListColumn> others;
    for (int c = 0; c < n; ++c)
      if (c != kept) others.push_back({columns[size_t(c)].width, int32_t(others.size())});
    std::vector<int32_t> shared(others.size());
    FitListColumnWidths(others.data(), int(others.size()), 0, std::max(0, int(client.right) - keptWidth),
                        shared.data());
    for (int c = 0, k = 0; c < n; ++c) widths[size_t(c)] = c == kept ? keptWidth : shared[size_t(k++)];
  }
  for (int c = 0; c < n; ++c) SendMessageA(list, LVM_SETCOLUMNWIDTH, WPARAM(c), MAKELPARAM(widths[size_t(c)], 0));
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* p = reinterpret_cast<PageState*>(lParam);
    SetWindowLongPtrA(page, DWLP_USER, LONG_PTR(p));
    HWND list = GetDlgItem(page, kPageLists[p->kind]);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    const auto& titles = LobbyColumnTitles(p->kind);
    for (size_t c = 0; c < titles.size(); ++c) {
      LVCOLUMNA column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
      column.fmt = LVCFMT_LEFT;
      column.cx = 100;
      column.iSubItem = int(c);
      column.pszText = const_cast<char*>(titles[c].c_str());
      SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(c), LPARAM(&column));
    }
    return TRUE;
  }
  PageState* p = Page(page);
  if (!p) return FALSE;
  switch (message) {
    case WM_DESTROY:
      SetWindowLongPtrA(page, DWLP_USER, 0);
      return TRUE;
    case WM_SIZE:
      if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
        HWND list = ListOf(page);
        MoveWindow(list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        SpreadColumns(list, -1, 0);
      }
      return TRUE;
    case WM_NOTIFY: {
      const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
      if (nm->code == HDN_ENDTRACKA || nm->code == HDN_ENDTRACKW) {
        const auto* h = reinterpret_cast<const NMHEADERA*>(lParam);
        const int width = h->pitem && (h->pitem->mask & HDI_WIDTH) ? h->pitem->cxy : 100;
        SpreadColumns(ListOf(page), h->iItem, width);
        return TRUE;
      }
      if (nm->idFrom != UINT_PTR(kPageLists[p->kind])) return FALSE;
      if (nm->code == LVN_COLUMNCLICK) {
        p->rows.ClickColumn(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        Refill(page);
      } else if (nm->code == NM_RCLICK) {
        OpenPageMenu(page, reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
      }
      return TRUE;
    }
  }
  return FALSE;
}

// ---- the window

void ShowPage(HWND lobby, int index) {
  LobbyState* st = State(lobby);
  st->shown = index;
  for (int i = 0; i < 3; ++i) ShowWindow(st->pages[i], i == index ? SW_SHOW : SW_HIDE);
}

void PlacePages(HWND lobby) {
  LobbyState* st = State(lobby);
  HWND tabs = GetDlgItem(lobby, kTabs);
  RECT area;
  GetClientRect(tabs, &area);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, LPARAM(&area));
  for (HWND page : st->pages)
    if (page) MoveWindow(page, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

SIZE ControlSize(HWND lobby, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(lobby, id), &r);
  return {r.right - r.left, r.bottom - r.top};
}

void Layout(HWND lobby, int width, int height) {
  SIZE c[3];
  int used = 0;
  for (int i = 0; i < 3; ++i) used += (c[i] = ControlSize(lobby, kCounters[i])).cx;
  const int gap = std::max<int>(kMargin, (width - 2 * kMargin - used) / 2);
  const int top = height - kMargin - c[0].cy;
  int x = kMargin;
  for (int i = 0; i < 3; ++i) {
    MoveWindow(GetDlgItem(lobby, kCounters[i]), x, top, c[i].cx, c[i].cy, TRUE);
    x += c[i].cx + gap;
  }
  MoveWindow(GetDlgItem(lobby, kTabs), kMargin, kMargin, std::max(0, width - 2 * kMargin),
             std::max(0, top - 2 * kMargin), TRUE);
  PlacePages(lobby);
}

void MinimumSize(HWND lobby, POINT* size) {
  int width = 0;
  for (int id : kCounters) width += ControlSize(lobby, id).cx;
  RECT frame{0, 0, width, 5 * ControlSize(lobby, kCounters[0]).cy};
  AdjustWindowRectEx(&frame, DWORD(GetWindowLongA(lobby, GWL_STYLE)), FALSE,
                     DWORD(GetWindowLongA(lobby, GWL_EXSTYLE)));
  size->x = frame.right - frame.left;
  size->y = frame.bottom - frame.top;
}

void OnInit(HWND lobby) {
  auto* st = new LobbyState;
  SetWindowLongPtrA(lobby, DWLP_USER, LONG_PTR(st));
  NumberedWindowOp(WOP_SET_HANDLE, kLobbyWindowNumber, intptr_t(lobby));
  ShellRect stored{};
  const bool shown = IsNumberedWindowShown(kLobbyWindowNumber) != 0;
  if (NumberedWindowOp(WOP_GET_RECT, kLobbyWindowNumber, intptr_t(&stored)) && stored.right > stored.left &&
      stored.bottom > stored.top) {
    POINT minimum;
    MinimumSize(lobby, &minimum);
    SetWindowPos(lobby, nullptr, stored.left, stored.top, std::max<int>(stored.right - stored.left, minimum.x),
                 std::max<int>(stored.bottom - stored.top, minimum.y), SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(lobby, shown ? SW_SHOWNA : SW_HIDE);
    if (shown)
      CheckMenuCommand(GetMainFrame(), kMenuLobby);
    else
      UncheckMenuCommand(GetMainFrame(), kMenuLobby);
  }
  HWND tabs = GetDlgItem(lobby, kTabs);
  const HINSTANCE instance = HINSTANCE(GetWindowLongPtrA(lobby, GWLP_HINSTANCE));
  for (int i = 0; i < 3; ++i) {
    st->page[i] = std::make_unique<PageState>();
    st->page[i]->kind = LobbyPageKind(i);
    st->pages[i] = CreateDialogParamA(instance, MAKEINTRESOURCEA(kPageDialogs[i]), tabs, PageProc,
                                      LPARAM(st->page[i].get()));
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(kTabNames[i]);
    SendMessageA(tabs, TCM_INSERTITEMA, WPARAM(i), LPARAM(&tab));
    UpdateCounter(lobby, i);
  }
  RECT client;
  GetClientRect(lobby, &client);
  Layout(lobby, client.right, client.bottom);
  SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
  ShowPage(lobby, 0);
}

INT_PTR CALLBACK LobbyDlgProc(HWND lobby, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInit(lobby);
    return TRUE;
  }
  LobbyState* st = State(lobby);
  if (!st) return FALSE;
  switch (message) {
    case WM_DESTROY:
      FreeOnlinePopupMenus(lobby);
      for (HWND page : st->pages)
        if (page) DestroyWindow(page);
      delete st;
      SetWindowLongPtrA(lobby, DWLP_USER, 0);
      if (GetNumberedWindow(kLobbyWindowNumber) == lobby) NumberedWindowOp(WOP_CLEAR_HANDLE, kLobbyWindowNumber, 0);
      return TRUE;
    case WM_SIZE:
      Layout(lobby, LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_CLOSE:
      if (!NumberedWindowOp(WOP_SHOW, kLobbyWindowNumber, WSC_HIDE)) ShowWindow(lobby, SW_HIDE);
      UncheckMenuCommand(GetMainFrame(), kMenuLobby);
      return TRUE;
    case WM_GETMINMAXINFO:
      MinimumSize(lobby, &reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize);
      return TRUE;
    case WM_WINDOWPOSCHANGED:
      StoreOnlineWindowPos(kLobbyWindowNumber, lParam);
      return FALSE;
    case WM_NOTIFY: {
      const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
      if (nm->idFrom == kTabs && nm->code == TCN_SELCHANGE)
        ShowPage(lobby, int(SendDlgItemMessageA(lobby, kTabs, TCM_GETCURSEL, 0, 0)));
      return TRUE;
    }
    case RWM_ONLINE_USER:
      OnUserNotice(lobby, uint32_t(wParam), reinterpret_cast<const OnlineUserEntry*>(lParam));
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id >= PMENU_PROFILE && id <= PMENU_PROFILE_SECOND) OnMenuCommand(lobby, id);
      if (id == IDCANCEL) SendMessageA(lobby, WM_CLOSE, 0, 0);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

HWND CreateLobbyWindow(HWND parent, HINSTANCE instance) {
  return CreateDialogParamA(instance, MAKEINTRESOURCEA(150), parent, LobbyDlgProc, 0);
}

HWND LobbyPageWindow(HWND lobby, int page) {
  LobbyState* st = lobby ? State(lobby) : nullptr;
  return st && page >= 0 && page < 3 ? st->pages[page] : nullptr;
}
