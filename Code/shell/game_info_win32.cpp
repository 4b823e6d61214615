// The Game Information dialog (113) and the annotation type question
// ("REQUEST_ANNOTATION_DLG").
#include "game_record.h"
#include "header_access.h"
#include "load_save_rules.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "app_messages.h"
#include "dialog_runner.h"
#include "game_info.h"
#include "main_frame.h"
#include "message_box.h"
#include "rw_strings.h"
#include "shell_services.h"

namespace {

HINSTANCE Program() { return GetModuleHandleA(nullptr); }

constexpr int kTitle = 1501, kWhiteName = 1502, kWhiteKind = 1503, kBlackName = 1504, kBlackKind = 1505;
constexpr int kSite = 1506, kEvent = 1507, kDate = 1508, kRound = 2143, kEco = 2145, kAnnotator = 2147;
constexpr int kWhiteElo = 2117, kBlackElo = 2120, kWhiteTitle = 2113, kBlackTitle = 2115;
constexpr int kWhiteCountry = 2122, kBlackCountry = 2125, kRemarks = 2134;
constexpr int kFirstResult = 1509;  // White Won, Black Won, Draw, Game Not Over

struct Field {
  int id;
  int limit;
};
constexpr Field kLimits[] = {{kTitle, 127},       {kWhiteName, 31},    {kBlackName, 31},   {kSite, 127},
                             {kEvent, 63},        {kDate, 19},         {kRound, 11},       {kEco, 3},
                             {kAnnotator, 31},    {kWhiteElo, 4},      {kBlackElo, 4},     {kWhiteTitle, 63},
                             {kBlackTitle, 63},   {kWhiteCountry, 63}, {kBlackCountry, 63}, {kRemarks, 259}};

std::string Text(HWND dialog, int id) {
  char buffer[512] = "";
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

void CenterOnOwner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT o{}, d{};
  if (owner) GetWindowRect(owner, &o);
  else SystemParametersInfoA(SPI_GETWORKAREA, 0, &o, 0);
  GetWindowRect(dialog, &d);
  const int w = d.right - d.left, h = d.bottom - d.top;
  SetWindowPos(dialog, nullptr, o.left + (o.right - o.left - w) / 2, o.top + (o.bottom - o.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Fill(HWND dialog, GameRecord* game) {
  for (const Field& f : kLimits) SendDlgItemMessageA(dialog, f.id, EM_LIMITTEXT, WPARAM(f.limit), 0);
  SetDlgItemTextA(dialog, kTitle, GetGameTitle(game));
  SetDlgItemTextA(dialog, kWhiteName, GetPlayerName(game, 1));
  SetDlgItemTextA(dialog, kBlackName, GetPlayerName(game, 0));
  for (int side : {1, 0}) {
    char kind[32];
    std::snprintf(kind, sizeof kind, "(%s)", GameInfoPlayerKindText(GetPlayerKind(game, side)));
    SetDlgItemTextA(dialog, side ? kWhiteKind : kBlackKind, kind);
    if (GetPlayerKind(game, side) != PLAYER_HUMAN)
      SendDlgItemMessageA(dialog, side ? kWhiteName : kBlackName, EM_SETREADONLY, TRUE, 0);
  }
  SetDlgItemTextA(dialog, kSite, GetGameSite(game));
  SetDlgItemTextA(dialog, kEvent, GetGameEvent(game));
  SetDlgItemTextA(dialog, kDate, GetGameDate(game));
  SetDlgItemTextA(dialog, kRound, GetGameRound(game));
  SetDlgItemTextA(dialog, kEco, GetGameEco(game));
  SetDlgItemTextA(dialog, kAnnotator, GetGameAnnotator(game));
  SetDlgItemTextA(dialog, kWhiteElo, GetPlayerElo(game, 1));
  SetDlgItemTextA(dialog, kBlackElo, GetPlayerElo(game, 0));
  SetDlgItemTextA(dialog, kWhiteTitle, GetPlayerTitle(game, 1));
  SetDlgItemTextA(dialog, kBlackTitle, GetPlayerTitle(game, 0));
  SetDlgItemTextA(dialog, kWhiteCountry, GetPlayerCountry(game, 1));
  SetDlgItemTextA(dialog, kBlackCountry, GetPlayerCountry(game, 0));
  SetDlgItemTextA(dialog, kRemarks, GetGameRemarks(game));
  CheckRadioButton(dialog, kFirstResult, kFirstResult + 3, kFirstResult + GameInfoResultButton(GetGameResult(game)));
}

// A name that may not change is put back with the reason; false keeps the
// dialog open.
bool TakeName(HWND dialog, GameRecord* game, int side) {
  const int id = side ? kWhiteName : kBlackName;
  const std::string typed = Text(dialog, id);
  if (GameInfoNameEditable(GetPlayerKind(game, side), GetPlayerKind(game, side ? 0 : 1))) {
    SetPlayerName(game, side, typed.c_str());
    return true;
  }
  if (typed == GetPlayerName(game, side)) return true;
  char text[400] = "";
  LoadStringA(Program(), IDS_GAME_INFO_NAME_LOCKED, text, sizeof text);
  AppMessageBoxOwned(text, MB_OK | MB_ICONINFORMATION, dialog);
  SetDlgItemTextA(dialog, id, GetPlayerName(game, side));
  SetFocus(GetDlgItem(dialog, id));
  return false;
}

bool Store(HWND dialog, GameRecord* game) {
  if (!TakeName(dialog, game, 1) || !TakeName(dialog, game, 0)) return false;
  SetGameTitle(game, Text(dialog, kTitle).c_str());
  SetGameSite(game, Text(dialog, kSite).c_str());
  SetGameEvent(game, Text(dialog, kEvent).c_str());
  SetGameDate(game, Text(dialog, kDate).c_str());
  SetGameEco(game, Text(dialog, kEco).c_str());
  SetGameRound(game, Text(dialog, kRound).c_str());
  SetGameAnnotator(game, Text(dialog, kAnnotator).c_str());
  SetPlayerElo(game, 1, Text(dialog, kWhiteElo).c_str());
  SetPlayerElo(game, 0, Text(dialog, kBlackElo).c_str());
  SetPlayerTitle(game, 1, Text(dialog, kWhiteTitle).c_str());
  SetPlayerTitle(game, 0, Text(dialog, kBlackTitle).c_str());
  SetPlayerCountry(game, 1, Text(dialog, kWhiteCountry).c_str());
  SetPlayerCountry(game, 0, Text(dialog, kBlackCountry).c_str());
  // An emptied field keeps the remarks the game had.
  const std::string remarks = Text(dialog, kRemarks);
  if (!remarks.empty()) SetGameRemarks(game, remarks.c_str());
  int button = 3;
  for (int i = 0; i < 4; ++i)
    if (IsDlgButtonChecked(dialog, kFirstResult + i) == BST_CHECKED) button = i;
  StoreGameInfoResult(game, GameInfoResultCode(button));
  return true;
}

INT_PTR CALLBACK GameInfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* game = reinterpret_cast<GameRecord*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      Fill(dialog, reinterpret_cast<GameRecord*>(lParam));
      CenterOnOwner(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && game) {
        if (!Store(dialog, game)) return TRUE;
        Services().broadcastToWindows(RWM_GAME_EVENT, 2, reinterpret_cast<intptr_t>(game), 0);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

constexpr int kFirstSlot = 471;  // None, Player, Auto-Annotation, Analysis

INT_PTR CALLBACK AnnotationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const bool noNone = lParam != 0;
      EnableWindow(GetDlgItem(dialog, kFirstSlot), !noNone);
      CheckRadioButton(dialog, kFirstSlot, kFirstSlot + 3, noNone ? kFirstSlot + 1 : kFirstSlot);
      CenterOnOwner(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        int slot = -1;
        for (int i = 0; i < 4; ++i)
          if (IsDlgButtonChecked(dialog, kFirstSlot + i) == BST_CHECKED) slot = i - 1;
        // The result is kept non-negative for the dialog runner: slot + 2.
        EndDialog(dialog, slot + 2);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

int ShowGameInfoDialog(HWND owner, GameRecord* game) {
  if (!game) return 0;
  return DoModalDialog(Program(), MAKEINTRESOURCEA(113), owner ? owner : GetMainFrame(), GameInfoDlgProc,
                       reinterpret_cast<LPARAM>(game), 1) == 1
             ? 1
             : 0;
}

int AskAnnotationType(HWND owner, int noNone) {
  const INT_PTR result = DoModalDialog(Program(), "REQUEST_ANNOTATION_DLG", owner ? owner : GetMainFrame(),
                                       AnnotationDlgProc, noNone ? 1 : 0, 1);
  return result >= 1 && result <= 4 ? int(result) - 2 : -2;
}
