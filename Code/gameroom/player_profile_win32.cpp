// The Player Profile window over Win32. The texts of the "Rated Games" page
// and of "Rated Game Stats", the rated-games block's bounds and removals are
// the player profile core's; the rated-game fields come out of the user's
// record through user_ratings.
#include "player_profile_dialog.h"

#include <algorithm>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "app_globals.h"
#include "dialog_helpers.h"
#include "player_profile_core.h"
#include "user_profile.h"
#include "user_ratings.h"
#include "user_file.h"
#include "window_table.h"
#include "wire.h"

namespace {

constexpr int kProfileDialog = 108, kProfilePage = 213, kRatedPage = 217, kStatsDialog = 218;
constexpr int kTabs = 1081, kProfileText = 2131, kRatedText = 2171, kOpponentButton = 2172;
constexpr int kStatsName = 2181, kStatsRating = 2182, kStatsList = 2183;
constexpr UINT kMsgProfile = 0x1101, kMsgRatedGames = 0x1102, kMsgRemoveGame = 0x1103;
constexpr int kMenuPlayerProfile = 40038;
constexpr int kCaptionText = 1998;  // "Player Profile - %s"

struct ProfileState {
  UserProfile profile{};  // the shown profile (its lists are not owned)
  RatedRecord rated;      // its rated-game fields
  bool modal = false;
  HWND pages[2] = {};
  int page = 0;
  LobbyGameList ratedGames{};
  int chosen = 0;  // nothing in the window chooses another entry
  bool filling = false;
};

PlayerProfileOnline* g_online = nullptr;

std::string LoadText(int id, const char* fallback) {
  char text[256];
  return LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof text) > 0 ? std::string(text)
                                                                                 : std::string(fallback);
}

ProfileState* State(HWND dialog) { return reinterpret_cast<ProfileState*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

bool IsOwnProfile(const ProfileState* s) {
  const UserProfile* user = GetUserRecord();
  return user && user->name[0] && std::strncmp(user->name, s->profile.name, kUserNameSize) == 0;
}

void SetCaption(HWND dialog, const ProfileState* s) {
  char name[kUserNameSize + 1];
  std::snprintf(name, sizeof name, "%.*s", kUserNameSize, s->profile.name);
  char caption[128];
  std::snprintf(caption, sizeof caption, LoadText(kCaptionText, "Player Profile - %s").c_str(), name);
  SetWindowTextA(dialog, caption);
}

void TakeProfile(ProfileState* s, const UserProfile& profile) {
  std::memcpy(&s->profile, &profile, sizeof s->profile);
  s->profile.description[sizeof s->profile.description - 1] = '\0';
  s->rated = ReadRatedRecord(profile);
  // The lists belong to the record that was handed in.
  s->profile.games = s->profile.games2 = nullptr;
}

void FillProfilePage(ProfileState* s) {
  HWND page = s->pages[0];
  if (!page) return;
  s->filling = true;
  char text[sizeof s->profile.description + 1];
  std::snprintf(text, sizeof text, "%.*s", int(kProfileTextLimit), s->profile.description);
  SetDlgItemTextA(page, kProfileText, text);
  SendDlgItemMessageA(page, kProfileText, EM_SETREADONLY, IsOwnProfile(s) ? FALSE : TRUE, 0);
  s->filling = false;
}

void FillRatedPage(ProfileState* s) {
  HWND page = s->pages[1];
  if (!page) return;
  SetDlgItemTextA(page, kRatedText, RatedGamesPageText(s->rated.blocks).c_str());
  EnableWindow(GetDlgItem(page, kOpponentButton), IsOwnProfile(s));
}

void ShowPage(ProfileState* s, int page) {
  if (page < 0 || page > 1) return;
  s->page = page;
  for (int i = 0; i < 2; ++i)
    if (s->pages[i]) ShowWindow(s->pages[i], i == page ? SW_SHOW : SW_HIDE);
}

void CentreOnParent(HWND dialog) {
  HWND parent = GetParent(dialog);
  RECT area, own;
  if (parent && IsWindowVisible(parent))
    GetWindowRect(parent, &area);
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(dialog, &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK StatsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* s = reinterpret_cast<const ProfileState*>(lParam);
      char name[kUserNameSize + 1];
      std::snprintf(name, sizeof name, "%.*s", kUserNameSize, s->profile.name);
      SetDlgItemTextA(dialog, kStatsName, name);
      SetDlgItemTextA(dialog, kStatsRating, RatedGameStatsRating(s->rated.overall, s->rated.ratedGames).c_str());
      if (IsOwnProfile(s))
        for (const std::string& line : OpponentLines(s->rated.results))
          SendDlgItemMessageA(dialog, kStatsList, LB_ADDSTRING, 0, LPARAM(line.c_str()));
      CentreOnParent(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      // The read-only statistics sit on the page's own colour, text and all.
      if (GetDlgCtrlID(HWND(lParam)) != kRatedText) return FALSE;
      SetBkMode(HDC(wParam), TRANSPARENT);
      return INT_PTR(GetStockObject(NULL_BRUSH));
    }
    case WM_COMMAND: {
      HWND dialog = GetParent(GetParent(page));
      ProfileState* s = State(dialog);
      if (!s) return FALSE;
      if (LOWORD(wParam) == kProfileText && HIWORD(wParam) == EN_CHANGE && !s->filling && IsOwnProfile(s)) {
        char text[sizeof s->profile.description] = "";
        GetDlgItemTextA(page, kProfileText, text, int(kProfileTextLimit + 1));
        std::memcpy(s->profile.description, text, sizeof text);
        if (UserProfile* user = GetUserRecord()) std::memcpy(user->description, text, sizeof text);
        return TRUE;
      }
      if (LOWORD(wParam) == kOpponentButton && HIWORD(wParam) == BN_CLICKED) {
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kStatsDialog), dialog, StatsDlgProc, LPARAM(s));
        return TRUE;
      }
      return FALSE;
    }
  }
  return FALSE;
}

// The page controls fill the tab's display area: the profile text all of
// it, the statistics all but a row for "vs. Opponent..." at the bottom
// right.
void FitPages(ProfileState* s, int width, int height) {
  constexpr int kMargin = 6;
  if (HWND edit = GetDlgItem(s->pages[0], kProfileText))
    MoveWindow(edit, kMargin, kMargin, width - 2 * kMargin, height - 2 * kMargin, FALSE);
  HWND button = GetDlgItem(s->pages[1], kOpponentButton);
  RECT b{};
  if (button) {
    GetWindowRect(button, &b);
    const int bw = b.right - b.left, bh = b.bottom - b.top;
    MoveWindow(button, width - kMargin - bw, height - kMargin - bh, bw, bh, FALSE);
    b.top = height - kMargin - bh;
  } else {
    b.top = height;
  }
  HWND text = GetDlgItem(s->pages[1], kRatedText);
  if (!text) return;
  MoveWindow(text, kMargin, kMargin, width - 2 * kMargin, b.top - 2 * kMargin, FALSE);
  // Tab stops that put the three columns under their headings: the first
  // just past the longest label that is not followed by a tab, the others
  // one wide column apart. Edit tab stops are in quarters of the font's
  // average character width.
  HDC dc = GetDC(text);
  HGDIOBJ old = SelectObject(dc, HFONT(SendMessageA(text, WM_GETFONT, 0, 0)));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SIZE label{}, column{};
  GetTextExtentPoint32A(dc, " High Rating:  0000", 19, &label);
  GetTextExtentPoint32A(dc, "            STANDARD", 20, &column);
  SelectObject(dc, old);
  ReleaseDC(text, dc);
  const int unit = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 6;
  // Narrower than the template, the columns close up so that a row does
  // not wrap.
  RECT area{};
  GetClientRect(text, &area);
  const int first = label.cx - column.cx / 3;
  const int step = std::max(int(column.cx) / 2, std::min(int(column.cx) + unit * 2,
                                                          (int(area.right) - first - int(column.cx)) / 2));
  INT stops[3] = {first * 4 / unit, (first + step) * 4 / unit, (first + 2 * step) * 4 / unit};
  SendMessageA(text, EM_SETTABSTOPS, 3, LPARAM(stops));
}

// The tabs fill the client area with the template's margin, the pages the
// tabs' display area: the window may be given another size than its
// template's (the room layouts place window 15).
void PlacePages(HWND dialog, ProfileState* s) {
  HWND tabs = GetDlgItem(dialog, kTabs);
  if (!tabs) return;
  RECT client, at;
  GetClientRect(dialog, &client);
  GetWindowRect(tabs, &at);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&at), 2);
  const int margin = std::max(0, int(at.left));
  MoveWindow(tabs, margin, margin, std::max(0, int(client.right) - 2 * margin),
             std::max(0, int(client.bottom) - 2 * margin), TRUE);
  RECT display;
  GetClientRect(tabs, &display);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, LPARAM(&display));
  for (HWND page : s->pages)
    if (page)
      MoveWindow(page, display.left, display.top, display.right - display.left, display.bottom - display.top, TRUE);
  FitPages(s, display.right - display.left, display.bottom - display.top);
  for (HWND page : s->pages)
    if (page) InvalidateRect(page, nullptr, TRUE);
}

void CreatePages(HWND dialog, ProfileState* s) {
  HWND tabs = GetDlgItem(dialog, kTabs);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  s->pages[1] = CreateDialogParamA(instance, MAKEINTRESOURCEA(kRatedPage), tabs, PageProc, 1);
  s->pages[0] = CreateDialogParamA(instance, MAKEINTRESOURCEA(kProfilePage), tabs, PageProc, 0);
  const std::string titles[2] = {LoadText(1999, "Profile"), LoadText(1993, "Rated Games")};
  for (int i = 0; i < 2; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(titles[i].c_str());
    SendMessageA(tabs, TCM_INSERTITEMA, i, LPARAM(&item));
  }
  PlacePages(dialog, s);
  SendDlgItemMessageA(s->pages[0], kProfileText, EM_LIMITTEXT, kProfileTextLimit, 0);
  SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
  ShowPage(s, 0);
}

void RunCommand(ProfileState* s, int command) {
  if (!g_online || s->chosen < 0 || s->chosen >= int(s->ratedGames.count) ||
      s->chosen >= int(kGameListSlots)) return;
  const uint8_t* slot = s->ratedGames.slots[s->chosen];
  const uint8_t* guid = slot + kSlotGuidOffset;
  char player[kUserNameSize + 1];
  std::snprintf(player, sizeof player, "%.*s", kUserNameSize, s->profile.name);
  switch (command) {
    case 30015:
      g_online->OpenNetGameRecord(player, guid);
      break;
    case 30016:
      g_online->ResumeNetGameRecord(player, guid);
      break;
    case 30017:
      if (g_online->PostNetGame(guid) == 0) {
        uint8_t id[16];
        std::memcpy(id, guid, sizeof id);
        RemoveRatedGameEntry(&s->ratedGames, id);
      }
      break;
    case 30018:
    case 30019: {
      // The two player names lie at bytes 76 and 92 of the entry.
      const char* name = reinterpret_cast<const char*>(slot + (command == 30018 ? 76 : 92));
      char copy[17];
      std::snprintf(copy, sizeof copy, "%.*s", 16, name);
      g_online->AddToNameList(copy);
      break;
    }
  }
}

INT_PTR CALLBACK PlayerProfileDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  ProfileState* s = State(dialog);
  switch (message) {
    case WM_INITDIALOG: {
      s = new (std::nothrow) ProfileState;
      if (!s) return TRUE;  // no state: the window shows nothing
      SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(s));
      if (const auto* given = reinterpret_cast<const UserProfile*>(lParam)) {
        TakeProfile(s, *given);
        s->modal = true;
        SetCaption(dialog, s);
      } else {
        NumberedWindowOp(WOP_SET_HANDLE, WIN_STATISTICS, intptr_t(dialog));
      }
      CreatePages(dialog, s);
      FillProfilePage(s);
      FillRatedPage(s);
      CentreOnParent(dialog);
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (s && header->idFrom == kTabs && header->code == UINT(TCN_SELCHANGE))
        ShowPage(s, int(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      return TRUE;
    }
    case kMsgProfile:
      if (s && lParam) {
        TakeProfile(s, *reinterpret_cast<const UserProfile*>(lParam));
        SetCaption(dialog, s);
        FillProfilePage(s);
        FillRatedPage(s);
      }
      return TRUE;
    case kMsgRatedGames:
      if (s && lParam) {
        std::memcpy(&s->ratedGames, reinterpret_cast<const void*>(lParam), sizeof s->ratedGames);
        HoldRatedGamesCount(&s->ratedGames);
      }
      return TRUE;
    case kMsgRemoveGame:
      if (s && lParam) RemoveRatedGameEntry(&s->ratedGames, reinterpret_cast<const uint8_t*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (s && LOWORD(wParam) >= 30015 && LOWORD(wParam) <= 30019) {
        RunCommand(s, LOWORD(wParam));
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return TRUE;
      }
      return FALSE;
    case WM_KEYDOWN:
    case WM_CHAR:
      if (s && !s->modal)
        if (HWND main = HWND(GetNumberedWindow(WIN_MAIN_FRAME))) PostMessageA(main, message, wParam, lParam);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
      if (!s || s->modal) {
        EndDialog(dialog, 0);
      } else if (HWND main = HWND(GetNumberedWindow(WIN_MAIN_FRAME))) {
        // The main menu's command hides the window and clears its check.
        SendMessageA(main, WM_COMMAND, kMenuPlayerProfile, 0);
        if (IsWindowVisible(dialog)) ShowWindow(dialog, SW_HIDE);
      } else {
        ShowWindow(dialog, SW_HIDE);
      }
      return TRUE;
    case WM_WINDOWPOSCHANGED:
      if (s && !(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOSIZE)) PlacePages(dialog, s);
      if (s && !s->modal) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        WindowPosRecord record{pos->hwnd, pos->hwndInsertAfter, pos->x, pos->y, pos->cx, pos->cy, pos->flags};
        NumberedWindowOp(WOP_SET_RECT_POS, WIN_STATISTICS, intptr_t(&record));
      }
      return FALSE;
    case WM_DESTROY:
      if (s) {
        if (!s->modal && GetNumberedWindow(WIN_STATISTICS) == dialog)
          NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_STATISTICS, 0);
        for (HWND page : s->pages)
          if (page) DestroyWindow(page);
        delete s;
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
      }
      return FALSE;
  }
  return FALSE;
}

HWND Window() { return HWND(GetNumberedWindow(WIN_STATISTICS)); }

}  // namespace

void SetPlayerProfileOnline(PlayerProfileOnline* online) { g_online = online; }

int OpenPlayerProfileDialog(HWND owner, HINSTANCE module, const char* userName) {
  if (!module) module = GetModuleHandleA(nullptr);
  if (userName && userName[0]) {
    // The logged-in user is shown from the record in memory; anyone else
    // from the stored file (a name that could leave the Users folder reads
    // nothing).
    UserProfile stored{};
    const UserProfile* shown = &stored;
    const UserProfile* current = GetUserRecord();
    if (current && current->name[0] && std::strncmp(current->name, userName, kUserNameSize) == 0) {
      shown = current;
    } else if (IsUserNameUsable(userName)) {
      const std::string folder = JoinPath(GetUsersFolder() ? GetUsersFolder() : ".", userName);
      ReadUserFileAt(JoinPath(folder, std::string(userName) + ".usr"), &stored);
    }
    const ModalPause held = BeginModalPause(1);
    DialogBoxParamA(module, MAKEINTRESOURCEA(kProfileDialog), owner, PlayerProfileDlgProc, LPARAM(shown));
    EndModalPause(held);
    FreeUserLists(&stored);
    return 0;
  }
  if (Window()) return 0;
  HWND window = CreateDialogParamA(module, MAKEINTRESOURCEA(kProfileDialog), owner, PlayerProfileDlgProc, 0);
  return window ? 0 : int(GetLastError());
}

void SetPlayerProfile(const UserProfile* profile) {
  if (HWND w = Window()) SendMessageA(w, kMsgProfile, 0, LPARAM(profile));
}

void SetPlayerProfileRatedGames(const LobbyGameList* block, const char* playerName) {
  HWND w = Window();
  if (!w || !block || !playerName) return;
  ProfileState* s = State(w);
  if (!s || std::strncmp(s->profile.name, playerName, kUserNameSize) != 0) return;
  SendMessageA(w, kMsgRatedGames, 0, LPARAM(block));
}

void RemovePlayerProfileRatedGame(const uint8_t guid[16]) {
  if (HWND w = Window()) SendMessageA(w, kMsgRemoveGame, 0, LPARAM(guid));
}

void ShowPlayerProfile(int show, int page) {
  HWND w = Window();
  if (!w) return;
  if (ProfileState* s = State(w); s && page >= 0 && page <= 1) {
    SendDlgItemMessageA(w, kTabs, TCM_SETCURSEL, WPARAM(page), 0);
    ShowPage(s, page);
  }
  ShowWindow(w, show ? SW_SHOW : SW_HIDE);
}

void ClosePlayerProfile() {
  if (HWND w = Window()) DestroyWindow(w);
}
