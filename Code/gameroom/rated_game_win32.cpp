// "Play Rated Game" over Win32. The opponents, the rating formula and the
// change texts are the rated games core's; the user's ratings come out of
// the user's record through user_ratings.
#include "rated_game_dialog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app_globals.h"
#include "game_record.h"
#include "personality.h"
#include "rated_games.h"
#include "select_personality.h"
#include "shell_services.h"
#include "user_profile.h"
#include "user_ratings.h"
#include "window_table.h"

namespace {

constexpr int kYourRating = 1261, kColour = 1262, kOpponent = 1263, kPersonalityButton = 1264;
constexpr int kWinChange = 1265, kLossChange = 1266, kDrawChange = 1267;
constexpr int kKindFirst = 1270;  // 1270..1273: the four time-control buttons
constexpr int kFieldA = 1274, kFieldB = 1275, kLabelA = 1276, kLabelB = 1277;
constexpr int kGrandmaster = 129;

RatedGameSettings g_settings;

struct DialogState {
  RatedGameRoom* room = nullptr;
  std::vector<RatedOpponentEntry> opponents;
  RatedRecord user;
  bool filling = false;
};

std::string LoadText(int id, const char* fallback) {
  char text[512];
  return LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof text) > 0 ? std::string(text)
                                                                                 : std::string(fallback);
}
int Box(const char* text, UINT flags, HWND owner) {
  const ShellServices& s = GetShellServices();
  if (s.appMessageBoxOwned) return s.appMessageBoxOwned(text, flags, owner);
  return MessageBoxA(owner, text, "Rookwell", flags);
}
DialogState* State(HWND dialog) { return reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

std::string Folder(const char* folder) {
  std::string s = folder ? folder : "";
  while (!s.empty() && (s.back() == '\\' || s.back() == '/')) s.pop_back();
  return s.empty() ? "." : s;
}

// Every ".RWP" of the personalities folder, read whole.
std::vector<RatedOpponentCandidate> ReadCandidates() {
  std::vector<RatedOpponentCandidate> out;
  const std::string folder = Folder(GetPersonalitiesFolder());
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*.RWP").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return out;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    PersonalityRecord* record = nullptr;
    const std::string path = folder + "\\" + found.cFileName;
    if (ReadPersonalityFile(path.c_str(), &record) == 1 && record) {
      RatedOpponentCandidate c;
      std::string name = found.cFileName;
      c.entry.name = name.substr(0, name.size() - 4);
      c.entry.kind = record->kind;
      c.entry.rating = record->rating;
      c.ageMask = record->ageGroups;
      out.push_back(c);
    }
    FreePersonality(record);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return out;
}

int Field(HWND dialog, int id) { return int(GetDlgItemInt(dialog, id, nullptr, FALSE)); }

// The values in the fields are kept for the kind shown.
void KeepFields(HWND dialog) {
  RatedGameSettings& s = g_settings;
  const int a = Field(dialog, kFieldA), b = Field(dialog, kFieldB);
  auto clamp = [](int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; };
  switch (s.timeKind) {
    case 0:
      s.minutes = clamp(a, 1, 999);
      break;
    case 1:
      s.moves = clamp(a, 1, 999);
      s.perMinutes = clamp(b, 1, 999);
      break;
    case 2:
      s.fischerMinutes = clamp(a, 1, 999);
      s.bonusSeconds = clamp(b, 0, 999);
      break;
    case 3:
      s.hourglassSeconds = clamp(a, 5, 999);
      break;
  }
}

void ShowKind(HWND dialog, int kind) {
  RatedGameSettings& s = g_settings;
  s.timeKind = kind;
  CheckRadioButton(dialog, kKindFirst, kKindFirst + 3, kKindFirst + kind);
  struct Row {
    const char* a;
    int va;
    const char* b;
    int vb;
  };
  const Row rows[4] = {{"Minutes", s.minutes, nullptr, 0},
                       {"Moves", s.moves, "Per Minutes", s.perMinutes},
                       {"Minutes", s.fischerMinutes, "Bonus", s.bonusSeconds},
                       {"Seconds", s.hourglassSeconds, nullptr, 0}};
  const Row& r = rows[kind];
  SetDlgItemTextA(dialog, kLabelA, r.a);
  SetDlgItemInt(dialog, kFieldA, UINT(r.va), FALSE);
  const int show = r.b ? SW_SHOW : SW_HIDE;
  ShowWindow(GetDlgItem(dialog, kLabelB), show);
  ShowWindow(GetDlgItem(dialog, kFieldB), show);
  if (r.b) {
    SetDlgItemTextA(dialog, kLabelB, r.b);
    SetDlgItemInt(dialog, kFieldB, UINT(r.vb), FALSE);
  }
  for (int id : {kLabelA, kFieldA, kLabelB, kFieldB}) InvalidateRect(GetDlgItem(dialog, id), nullptr, TRUE);
}

void RecomputeChanges(HWND dialog, DialogState* st) {
  const LRESULT at = SendDlgItemMessageA(dialog, kOpponent, CB_GETCURSEL, 0, 0);
  if (at == CB_ERR || at >= LRESULT(st->opponents.size())) return;
  uint32_t games = 0;
  for (const PersonalityResult& r : st->user.results) games += r.wins + r.losses + r.draws;
  const int32_t own = st->user.overall, ro = st->opponents[size_t(at)].rating;
  g_settings.opponentRating = ro;
  const int ids[3] = {kLossChange, kWinChange, kDrawChange};
  for (int result = 0; result < 3; ++result) {
    const int change =
        ComputeNewRating(uint32_t(own > 0 ? own : 0), uint32_t(ro > 0 ? ro : 0), games, 20, result) - own;
    g_settings.changes[result] = change;
    SetDlgItemTextA(dialog, ids[result], RatingChangeText(change).c_str());
  }
}

void FillOpponents(HWND dialog, DialogState* st) {
  HWND combo = GetDlgItem(dialog, kOpponent);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  int chosen = 0;
  for (size_t i = 0; i < st->opponents.size(); ++i) {
    const RatedOpponentEntry& e = st->opponents[i];
    char line[320];
    if (e.kind == kGrandmaster)
      std::snprintf(line, sizeof line, "%s", e.name.c_str());
    else
      std::snprintf(line, sizeof line, "%s (%d)", e.name.c_str(), int(e.rating));
    SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(line));
    if (e.name == g_settings.opponent) chosen = int(i);
  }
  SendMessageA(combo, CB_SETCURSEL, WPARAM(chosen), 0);
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

void OnInit(HWND dialog, DialogState* st) {
  const UserProfile* user = GetUserRecord();
  if (user) st->user = ReadRatedRecord(*user);
  const bool kids = st->room && st->room->KidsRoom();
  st->opponents = SelectRatedOpponents(ReadCandidates(), st->user.overall, st->user.ratedGames, kids);
  SetWindowTextA(dialog, LoadText(1253, "Play Rated Game").c_str());
  HWND colour = GetDlgItem(dialog, kColour);
  for (int id = 1250; id <= 1252; ++id) {
    static const char* const fallback[3] = {"You Play Black", "You Play White", "Play Random Color"};
    SendMessageA(colour, CB_ADDSTRING, 0, LPARAM(LoadText(id, fallback[id - 1250]).c_str()));
  }
  SendMessageA(colour, CB_SETCURSEL, WPARAM(g_settings.colour), 0);
  SetDlgItemInt(dialog, kYourRating, UINT(st->user.overall), TRUE);
  FillOpponents(dialog, st);
  ShowKind(dialog, g_settings.timeKind);
  RecomputeChanges(dialog, st);
  CentreOnParent(dialog);
}

void OnOk(HWND dialog) {
  KeepFields(dialog);
  char text[320] = "";
  GetDlgItemTextA(dialog, kOpponent, text, sizeof text);
  std::string name = text;
  const size_t cut = name.find(" (");
  if (cut != std::string::npos) name.resize(cut);
  g_settings.opponent = name;
  const LRESULT colour = SendDlgItemMessageA(dialog, kColour, CB_GETCURSEL, 0, 0);
  if (colour != CB_ERR) g_settings.colour = int(colour);
  EndDialog(dialog, 1);
}

}  // namespace

RatedGameSettings& GetRatedGameSettings() { return g_settings; }

void RatedTimeControl(const RatedGameSettings& s, uint32_t* kind, uint32_t* baseMs, uint32_t* bonusOrMoves) {
  switch (s.timeKind) {
    case 1:
      *kind = 1, *baseMs = uint32_t(s.perMinutes) * 60000u, *bonusOrMoves = uint32_t(s.moves);
      return;
    case 2:
      *kind = 5, *baseMs = uint32_t(s.fischerMinutes) * 60000u, *bonusOrMoves = uint32_t(s.bonusSeconds) * 1000u;
      return;
    case 3:
      *kind = 6, *baseMs = uint32_t(s.hourglassSeconds) * 1000u, *bonusOrMoves = 0;
      return;
    default:
      *kind = 4, *baseMs = uint32_t(s.minutes) * 60000u, *bonusOrMoves = 0;
      return;
  }
}

int RunRatedGameDialog(HWND owner, RatedGameRoom* room) {
  DialogState st;
  st.room = room;
  const INT_PTR ok =
      DialogBoxParamA(GetModuleHandleA(nullptr), "RATED_GAME", owner, RatedGameDlgProc, LPARAM(&st));
  if (ok != 1) return 0;
  return StartRatedGame(owner, room) ? 1 : 0;
}

bool StartRatedGame(HWND owner, RatedGameRoom* room) {
  const UserProfile* user = GetUserRecord();
  if (!room || !user || !user->name[0]) return false;
  const std::string question = LoadText(
      101,
      "Playing a Rated Game enforces certain rules and settings similar to playing a real tournament game, and "
      "will affect your chess rating.\r\nA Rated Game must begin from a starting position.\r\nWould you like to "
      "continue?");
  if (Box(question.c_str(), MB_YESNO | MB_ICONQUESTION, owner) != IDYES) return false;
  const RatedGameSettings& s = g_settings;
  uint32_t kind = 0, base = 0, extra = 0;
  RatedTimeControl(s, &kind, &base, &extra);
  const bool userWhite = s.colour == 1 || (s.colour == 2 && (std::rand() & 1));
  PlayerDescriptor person{}, engine{};
  std::snprintf(person.name, sizeof person.name, "%.*s", int(sizeof user->name), user->name);
  person.kind = PLAYER_HUMAN;
  person.value = uint32_t(ReadRatedRecord(*user).overall);
  std::snprintf(engine.name, sizeof engine.name, "%s", s.opponent.c_str());
  engine.kind = PLAYER_ENGINE;
  engine.value = uint32_t(s.opponentRating);
  for (PlayerDescriptor* d : {&person, &engine}) {
    d->timeControl = kind;
    d->baseMs = base;
    d->periodOrIncrement = extra;
  }
  person.slot = userWhite ? SLOT_WHITE : SLOT_BLACK;
  engine.slot = userWhite ? SLOT_BLACK : SLOT_WHITE;
  // Bit 32 marks the rated game.
  constexpr uint32_t kRatedKind = 48;
  return userWhite ? room->StartGame(person, engine, kRatedKind) : room->StartGame(engine, person, kRatedKind);
}

INT_PTR CALLBACK RatedGameDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogState* st = State(dialog);
  switch (message) {
    case WM_INITDIALOG:
      st = reinterpret_cast<DialogState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(st));
      if (st) OnInit(dialog, st);
      return TRUE;
    case WM_CTLCOLOREDIT:
      // The number fields paint their whole background, so a shorter value
      // leaves nothing of a longer one behind.
      SetBkColor(HDC(wParam), RGB(255, 255, 255));
      return INT_PTR(GetStockObject(WHITE_BRUSH));
    case WM_COMMAND: {
      if (!st) return FALSE;
      const int id = LOWORD(wParam);
      if (id >= kKindFirst && id <= kKindFirst + 3 && HIWORD(wParam) == BN_CLICKED) {
        KeepFields(dialog);
        ShowKind(dialog, id - kKindFirst);
        return TRUE;
      }
      switch (id) {
        case kOpponent:
          if (HIWORD(wParam) == CBN_SELCHANGE) {
            RecomputeChanges(dialog, st);
            SetFocus(GetDlgItem(dialog, IDOK));
          }
          return TRUE;
        case kPersonalityButton: {
          char chosen[kChosenPersonalitySize] = "";
          const int32_t cap = st->user.ratedGames < 20 ? st->user.overall + 400 : 0;
          const bool kids = st->room && st->room->KidsRoom();
          if (SelectPersonality(dialog, chosen, 1, kids ? 1 : 0, 0, cap) == 1) {
            for (size_t i = 0; i < st->opponents.size(); ++i)
              if (st->opponents[i].name == chosen) SendDlgItemMessageA(dialog, kOpponent, CB_SETCURSEL, i, 0);
            RecomputeChanges(dialog, st);
          }
          return TRUE;
        }
        case IDOK:
          OnOk(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
      }
      return FALSE;
    }
  }
  return FALSE;
}
