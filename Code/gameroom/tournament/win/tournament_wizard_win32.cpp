// The "Create Tournament" wizard: see tournament_wizard_win32.h. The
// decisions (rows, names, time fields, rounds, checks, the record Finish
// makes) are tournament_wizard.h's; this file moves them in and out of the
// four pages.
#include "tournament_wizard_win32.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app_globals.h"
#include "basic_controls.h"
#include "date_time.h"
#include "main_frame.h"
#include "message_box.h"
#include "personality.h"
#include "room_switch.h"
#include "select_personality.h"
#include "shell_strings.h"
#include "skinned_dialog.h"
#include "tournament_schedule.h"
#include "tournament_wizard.h"
#include "user_file.h"
#include "user_profile.h"
#include "win_utils_win32.h"
#include "wizard_frame.h"

namespace {

enum : int {
  kPageDetails = 120,
  kPageComputers = 121,
  kPageHumans = 122,
  kPageRounds = 123,
  kFrameControl = 574,
  kNext = 575,
  kBack = 576,
  kFinish = 577,
  kCancel = 578,
  kTitle = 579,
  kRoundRobin = 580,
  kSwiss = 581,
  kRounds = 582,
  kRated = 583,
  kMaxPlayers = 713,
  kMinPlayers = 714,
  kEntrants = 505,
  kAvailable = 506,
  kAdd = 20455,
  kRemove = 20465,
  kPersonality = 3061,
  kLabel1 = 3072,
  kSpin1 = 3073,
  kLabel2 = 3074,
  kSpin2 = 3075,
  kMinutesPerGame = 3076,
  kMovesPerMinutes = 3077,
  kFischer = 3078,
  kHourglass = 3079,
  kSummaryKind = 1563,
  kSummaryPlayers = 1564,
  kSummaryClock = 1602,
  kGamesShown = 1565,
  kHelpCommand = 40,
  kHelpString = 2100,
};

const int kTimeRadios[] = {kMinutesPerGame, kMovesPerMinutes, kFischer, kHourglass};

struct WizardState {
  HINSTANCE instance = nullptr;
  HWND dialog = nullptr;
  Tournament* room = nullptr;
  std::vector<TournamentCandidate> candidates;
  int computers = 0, humans = 0;
  int maxEntrants = 8;
  uint32_t pages[4] = {kPageDetails, kPageComputers, kPageHumans, kPageRounds};
  DLGPROC procedures[4] = {TournamentWizardPageDlgProc, TournamentWizardPageDlgProc,
                           TournamentWizardPageDlgProc, TournamentWizardPageDlgProc};
  WizardDescriptor descriptor{};
};

WizardState* g_state = nullptr;
Tournament* g_working = nullptr;
WizardTimeValues g_remembered;

Tournament* WorkingRecord() { return g_working; }

std::string Text(int id) { return ShellString(id); }

void Complain(HWND owner, int stringId) {
  AppMessageBoxOwned(Text(stringId).c_str(), MB_OK | MB_ICONEXCLAMATION, owner);
}

int Spin(HWND page, int id) { return int(SendDlgItemMessageA(page, id, SPE_GETVALUE, 0, 0)); }

void SetSpin(HWND page, int id, int value, int low, int high) {
  SendDlgItemMessageA(page, id, SPE_SETRANGE, WPARAM(value), LPARAM(low | high << 16));
  SendDlgItemMessageA(page, id, SPE_SETVALUE, WPARAM(value), 0);
}

std::string ListText(HWND list, int row) {
  const LRESULT n = SendMessageA(list, LB_GETTEXTLEN, WPARAM(row), 0);
  if (n < 0) return std::string();
  std::string text(size_t(n) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, WPARAM(row), LPARAM(&text[0]));
  text.resize(std::strlen(text.c_str()));
  return text;
}

int Rows(HWND list) { return int(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

// ---- candidates

void ReadPersonalityCandidate(const std::string& folder, const char* file) {
  const std::string path = folder + "\\" + file;
  if (std::strstr(path.c_str(), "Barnaby") && GetRoomNumber() != ROOM_KIDS) return;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  std::vector<uint8_t> bytes(kPersonalityFileSize);
  DWORD got = 0;
  const BOOL ok = ReadFile(h, bytes.data(), DWORD(bytes.size()), &got, nullptr);
  CloseHandle(h);
  PersonalityRecord record{};
  if (!ok || !ReadPersonalityBytes(bytes.data(), got, &record)) return;
  const int kind = int(record.kind);
  if (g_working->rated && (kind == kCandidateCustom || kind == kCandidateOutsideEngine)) return;
  TournamentCandidate c;
  c.name = file;
  const size_t dot = c.name.rfind('.');
  if (dot != std::string::npos) c.name.resize(dot);
  c.kind = kind;
  c.rating = c.name.find(" - Age ") != std::string::npos ? record.rating : SpeedAdjustedRating(&record);
  if (kind == kCandidateCustom || kind == kCandidateOutsideEngine) c.rating = 0;
  c.personality = bytes;
  g_state->candidates.push_back(std::move(c));
}

std::string UserFilePath(const char* name) {
  return JoinPath(JoinPath(GetUsersFolder(), name), std::string(name) + ".usr");
}

void ReadUserCandidate(const std::string& name) {
  UserProfile profile{};
  if (!ReadUserFileAt(UserFilePath(name.c_str()), &profile)) return;
  TournamentCandidate c;
  c.name = std::string(profile.name, strnlen(profile.name, sizeof profile.name));
  c.rating = profile.baseRating;
  c.userValue = profile.pairs[0][0];
  FreeUserLists(&profile);
  if (c.name.empty()) return;
  g_state->candidates.push_back(std::move(c));
}

void ListWizardCandidates() {
  g_state->candidates.clear();
  const std::string folder = GetPersonalitiesFolder();
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*.RWP").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        ReadPersonalityCandidate(folder, found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  for (const std::string& user : ListUsers(GetUsersFolder())) ReadUserCandidate(user);
  SortCandidates(&g_state->candidates);
}

// ---- page 120

int TimeRadio(int kind) {
  switch (kind) {
    case 1:
      return kMovesPerMinutes;
    case 5:
      return kFischer;
    case 6:
      return kHourglass;
    default:
      return kMinutesPerGame;
  }
}

void ShowTimeKind(HWND page, int kind) {
  for (int id : kTimeRadios) CheckDlgButton(page, id, BST_UNCHECKED);
  CheckDlgButton(page, TimeRadio(kind), BST_CHECKED);
  const WizardTimeFields f = ShowWizardTimeControl(kind, g_remembered);
  SetDlgItemTextA(page, kLabel1, Text(f.label1).c_str());
  SetSpin(page, kSpin1, f.value1, f.low1, f.high1);
  const int show = f.label2 ? SW_SHOW : SW_HIDE;
  if (f.label2) {
    SetDlgItemTextA(page, kLabel2, Text(f.label2).c_str());
    SetSpin(page, kSpin2, f.value2, 1, 999);
  }
  ShowWindow(GetDlgItem(page, kLabel2), show);
  ShowWindow(GetDlgItem(page, kSpin2), show);
}

void ShowPlayerLimits(HWND page, bool swiss) {
  SetDlgItemTextA(page, kMaxPlayers, swiss ? "32" : "8");
  SetDlgItemTextA(page, kMinPlayers, swiss ? "6" : "2");
}

void EnterDetails(HWND page) {
  const bool swiss = g_working->kind == TOURNAMENT_SWISS;
  CheckDlgButton(page, kRoundRobin, swiss ? BST_UNCHECKED : BST_CHECKED);
  CheckDlgButton(page, kSwiss, swiss ? BST_CHECKED : BST_UNCHECKED);
  ShowPlayerLimits(page, swiss);
  CheckDlgButton(page, kRated, g_working->rated ? BST_CHECKED : BST_UNCHECKED);
  if (g_working->timeControl.kind != 1 && g_working->timeControl.kind != 5 &&
      g_working->timeControl.kind != 6)
    g_working->timeControl.kind = 4;
  ShowTimeKind(page, g_working->timeControl.kind);
}

void StoreShownTime(HWND page) {
  StoreWizardTimeControl(g_working, Spin(page, kSpin1), Spin(page, kSpin2), &g_remembered);
}

int LeaveDetails(HWND page) {
  const bool swiss = IsDlgButtonChecked(page, kRoundRobin) != BST_CHECKED;
  g_working->kind = swiss ? TOURNAMENT_SWISS : TOURNAMENT_ROUND_ROBIN;
  g_state->maxEntrants = swiss ? kTournamentEntrants : 8;
  g_working->rated = IsDlgButtonChecked(page, kRated) == BST_CHECKED;
  StoreShownTime(page);
  return 1;
}

// ---- pages 121 and 122

bool ComputerPage(int index) { return index == 1; }

int& PageCounter(int index) { return ComputerPage(index) ? g_state->computers : g_state->humans; }

bool OnPage(const TournamentCandidate& c, int index) {
  return ComputerPage(index) ? c.kind != 0 : c.kind == 0;
}

void UpdateMoveButtons(HWND page) {
  const int chosen = Rows(GetDlgItem(page, kEntrants));
  EnableWindow(GetDlgItem(page, kRemove), chosen > 0);
  EnableWindow(GetDlgItem(page, kAdd), chosen < g_state->maxEntrants - g_state->computers - g_state->humans &&
                                           Rows(GetDlgItem(page, kAvailable)) > 0);
}

void EnterPlayers(HWND page, int index) {
  PageCounter(index) = 0;
  HWND chosen = GetDlgItem(page, kEntrants), available = GetDlgItem(page, kAvailable);
  for (const TournamentCandidate& c : g_state->candidates) {
    if (!OnPage(c, index)) continue;
    SendMessageA(c.selected ? chosen : available, LB_ADDSTRING, 0, LPARAM(CandidateRow(c).c_str()));
  }
  SendMessageA(available, LB_SETCURSEL, 0, 0);
  UpdateMoveButtons(page);
}

bool IsCustomRow(const std::string& row, bool fromFirst) {
  const size_t at = fromFirst ? row.find('(') : row.rfind('(');
  return at != std::string::npos && row.compare(at, std::string::npos, "(0)") == 0;
}

void AddWizardEntrant(HWND page, int index) {
  HWND chosen = GetDlgItem(page, kEntrants), available = GetDlgItem(page, kAvailable);
  const int row = int(SendMessageA(available, LB_GETCURSEL, 0, 0));
  if (row < 0 || Rows(chosen) >= g_state->maxEntrants - g_state->computers - g_state->humans) {
    MessageBeep(0);
    return;
  }
  const std::string text = ListText(available, row);
  if (g_working->rated) {
    if (ComputerPage(index) && IsCustomRow(text, false))
      return Complain(g_state->dialog, kWizardMsgCustomRated);
    if (!ComputerPage(index)) {
      UserProfile profile{};
      const std::string name = CandidateNameFromRow(text, false);
      const bool read = ReadUserFileAt(UserFilePath(name.c_str()), &profile);
      const int games = profile.gameCount;
      FreeUserLists(&profile);
      if (!read || games < 20) return Complain(g_state->dialog, kWizardMsgProvisional);
    }
  }
  SendMessageA(available, LB_DELETESTRING, WPARAM(row), 0);
  const int at = int(SendMessageA(chosen, LB_ADDSTRING, 0, LPARAM(text.c_str())));
  SendMessageA(chosen, LB_SETCURSEL, WPARAM(at), 0);
  const int left = Rows(available);
  if (left > 0) SendMessageA(available, LB_SETCURSEL, WPARAM(row < left ? row : left - 1), 0);
  UpdateMoveButtons(page);
}

// "Personality...": the chosen personality's row is selected and added.
void ChoosePersonality(HWND page, int index) {
  char chosen[kChosenPersonalitySize] = "";
  if (!SelectPersonality(g_state->dialog, chosen, g_working->rated, 0, 0, 0) || !chosen[0]) return;
  HWND available = GetDlgItem(page, kAvailable);
  const size_t length = std::strlen(chosen);
  for (int r = 0, n = Rows(available); r < n; ++r) {
    if (ListText(available, r).compare(0, length, chosen) != 0) continue;
    SendMessageA(available, LB_SETCURSEL, WPARAM(r), 0);
    AddWizardEntrant(page, index);
    return;
  }
}

// Where a computer row goes back into the available list: after the
// candidates before it that are not chosen.
int CandidatePlace(HWND page, const std::string& name) {
  HWND chosen = GetDlgItem(page, kEntrants);
  int place = 0;
  for (const TournamentCandidate& c : g_state->candidates) {
    if (c.kind == 0) continue;
    if (c.name == name) break;
    bool isChosen = false;
    for (int r = 0, n = Rows(chosen); r < n && !isChosen; ++r)
      isChosen = CandidateNameFromRow(ListText(chosen, r), true) == c.name;
    if (!isChosen) ++place;
  }
  return place;
}

void RemoveWizardEntrant(HWND page, int index) {
  HWND chosen = GetDlgItem(page, kEntrants), available = GetDlgItem(page, kAvailable);
  const int row = int(SendMessageA(chosen, LB_GETCURSEL, 0, 0));
  if (row < 0) {
    MessageBeep(0);
    return;
  }
  const std::string text = ListText(chosen, row);
  SendMessageA(chosen, LB_DELETESTRING, WPARAM(row), 0);
  const int left = Rows(chosen);
  if (left > 0) SendMessageA(chosen, LB_SETCURSEL, WPARAM(row < left ? row : left - 1), 0);
  int at;
  if (ComputerPage(index))
    at = int(SendMessageA(available, LB_INSERTSTRING,
                          WPARAM(CandidatePlace(page, CandidateNameFromRow(text, true))),
                          LPARAM(text.c_str())));
  else
    at = int(SendMessageA(available, LB_ADDSTRING, 0, LPARAM(text.c_str())));
  SendMessageA(available, LB_SETCURSEL, WPARAM(at), 0);
  UpdateMoveButtons(page);
}

int LeavePlayers(HWND page, int index) {
  const bool computer = ComputerPage(index);
  HWND chosen = GetDlgItem(page, kEntrants);
  if (computer && g_working->rated)
    for (int r = 0, n = Rows(chosen); r < n; ++r)
      if (IsCustomRow(ListText(chosen, r), true)) {
        Complain(g_state->dialog, kWizardMsgCustomRated);
        return 0;
      }
  for (TournamentCandidate& c : g_state->candidates)
    if (OnPage(c, index)) c.selected = 0;
  int& counter = PageCounter(index);
  counter = 0;
  for (int r = 0, n = Rows(chosen); r < n; ++r) {
    const std::string name = CandidateNameFromRow(ListText(chosen, r), computer);
    for (TournamentCandidate& c : g_state->candidates)
      if (OnPage(c, index) && !c.selected && c.name == name) {
        c.selected = 1;
        ++counter;
        break;
      }
  }
  return 1;
}

// ---- page 123

int Players() { return g_state->computers + g_state->humans; }

void ShowGames(HWND page) {
  char text[32];
  std::snprintf(text, sizeof text, "%d",
                TournamentWizardGames(g_working->kind, Players(), Spin(page, kRounds)));
  SetDlgItemTextA(page, kGamesShown, text);
}

void EnterRounds(HWND page) {
  const bool swiss = g_working->kind == TOURNAMENT_SWISS;
  char text[160];
  std::snprintf(text, sizeof text, "%s %s", Text(g_working->rated ? 145 : 146).c_str(),
                Text(swiss ? 144 : 143).c_str());
  SetDlgItemTextA(page, kSummaryKind, text);
  std::snprintf(text, sizeof text, Text(141).c_str(), Players());
  SetDlgItemTextA(page, kSummaryPlayers, text);
  const ClockSetting clock{g_working->timeControl.kind, g_working->timeControl.base,
                           g_working->timeControl.increment};
  FormatTimeControl(&clock, text, sizeof text);
  SetDlgItemTextA(page, kSummaryClock, text);
  const WizardRounds r = TournamentWizardRounds(g_working->kind, Players());
  SetSpin(page, kRounds, r.preset, r.low, r.high);
  ShowGames(page);
}

// ---- every page

void EnterPage(HWND page, int index) {
  EnableWindow(GetDlgItem(page, kBack), index > 0);
  EnableWindow(GetDlgItem(page, kNext), index < 3);
  switch (index) {
    case 0:
      EnterDetails(page);
      break;
    case 1:
    case 2:
      EnterPlayers(page, index);
      break;
    case 3:
      EnterRounds(page);
      break;
  }
}

int TournamentWizardPageLeave(HWND page, int index, void*) {
  switch (index) {
    case 0:
      return LeaveDetails(page);
    case 1:
    case 2:
      return LeavePlayers(page, index);
    case 3:
      g_working->rounds = Spin(page, kRounds);
      return 1;
  }
  return 1;
}

int TournamentWizardFinish(HWND, int, void*) {
  const int refusal = ValidateTournamentEntrants(g_working->kind, [] {
    int n = 0;
    for (const TournamentCandidate& c : g_state->candidates) n += c.selected != 0;
    return n;
  }());
  if (refusal) {
    Complain(g_state->dialog, refusal);
    return 0;
  }
  FinishWizardTournament(g_working, g_state->candidates);
  if (g_state->room) std::memcpy(g_state->room, g_working, sizeof *g_working);
  EndDialog(g_state->dialog, 1);
  return 1;
}

int TournamentWizardCancel(HWND, int, void*) {
  EndDialog(g_state->dialog, 0);
  return 1;
}

void PageCommand(HWND page, int id, int code) {
  const int index = g_state->descriptor.currentPage;
  switch (id) {
    case kRoundRobin:
    case kSwiss:
      CheckDlgButton(page, kRoundRobin, id == kRoundRobin ? BST_CHECKED : BST_UNCHECKED);
      CheckDlgButton(page, kSwiss, id == kSwiss ? BST_CHECKED : BST_UNCHECKED);
      ShowPlayerLimits(page, id == kSwiss);
      return;
    case kMinutesPerGame:
    case kMovesPerMinutes:
    case kFischer:
    case kHourglass: {
      StoreShownTime(page);
      const int kind = id == kMovesPerMinutes ? 1 : id == kFischer ? 5 : id == kHourglass ? 6 : 4;
      g_working->timeControl.kind = kind;
      ShowTimeKind(page, kind);
      return;
    }
    case kAdd:
      return AddWizardEntrant(page, index);
    case kRemove:
      return RemoveWizardEntrant(page, index);
    case kPersonality:
      return ChoosePersonality(page, index);
    case kAvailable:
      if (code == LBN_DBLCLK) AddWizardEntrant(page, index);
      return;
    case kEntrants:
      if (code == LBN_DBLCLK) RemoveWizardEntrant(page, index);
      return;
    case kRounds:
      if (code == SPEN_CHANGED) ShowGames(page);
      return;
    case IDCANCEL:
      EndDialog(g_state->dialog, 0);
      return;
  }
}

void HelpMenu(HWND page, LPARAM at) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, kHelpCommand, Text(kHelpString).c_str());
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, short(LOWORD(at)),
                                    short(HIWORD(at)), 0, page, nullptr);
  DestroyMenu(menu);
  if (chosen == kHelpCommand && GetMainFrame()) PostMessageA(GetMainFrame(), WM_COMMAND, kHelpCommand, 0);
}

}  // namespace

Tournament* TournamentWizardRecord() {
  if (!g_working) {
    g_working = new Tournament;
    ClearTournament(g_working);
  }
  return g_working;
}

INT_PTR CALLBACK TournamentWizardPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_state) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      EnterPage(page, int(lParam));
      return TRUE;
    case WM_COMMAND:
      PageCommand(page, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CONTEXTMENU:
      HelpMenu(page, lParam);
      return TRUE;
    case WM_CLOSE:
      EndDialog(g_state->dialog, 0);
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK TournamentWizardDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      g_state->dialog = dialog;
      WizardDescriptor& d = g_state->descriptor;
      d = WizardDescriptor{};
      d.module = g_state->instance;
      d.frame = GetDlgItem(dialog, kFrameControl);
      d.pages = g_state->pages;
      d.procedures = g_state->procedures;
      d.nextId = kNext, d.backId = kBack, d.finishId = kFinish, d.extraId = kCancel;
      d.captionWindow = dialog;
      d.captionId = kTitle;
      d.pageCount = 4;
      d.userData = g_working;
      d.validate = TournamentWizardPageLeave;
      d.finish = TournamentWizardFinish;
      d.extra = TournamentWizardCancel;
      CenterWindow(dialog, GetParent(dialog));
      g_state->computers = g_state->humans = 0;
      g_state->maxEntrants = g_working->kind == TOURNAMENT_SWISS ? kTournamentEntrants : 8;
      ResetWizardTournament();
      ListWizardCandidates();
      SetWizardDescriptor(&d);
      ResetWizard();
      return TRUE;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
    case WM_DESTROY:
      SetWizardDescriptor(nullptr);
      g_state->candidates.clear();
      break;
  }
  (void)lParam;
  return FALSE;
}

int RunTournamentWizard(HINSTANCE instance, HWND owner, Tournament* room) {
  TournamentWizardRecord();
  WizardState state;
  state.instance = instance;
  state.room = room;
  g_state = &state;
  RegisterWizardClass(instance);
  const INT_PTR result = SkinnedDialogBox(instance, "IDD_TOURN_WIZARD", owner, TournamentWizardDlgProc, 0);
  UnregisterWizardClass(instance);
  g_state = nullptr;
  return result == 1;
}
