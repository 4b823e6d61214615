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
#include "game_end.h"
#include "game_file.h"
#include "game_record.h"
#include "pgn_write.h"
#include "player_profile_dialog.h"
#include "personality.h"
#include "rated_games.h"
#include "select_personality.h"
#include "shell_services.h"
#include "user_file.h"
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
      c.entry.rating = record->rating;  // the reader adjusts it to this machine's speed
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
  g_settings.opponentRating = st->opponents[size_t(at)].rating;
  RatedGameChanges(st->user, g_settings.opponentRating, g_settings.changes);
  const int ids[3] = {kLossChange, kWinChange, kDrawChange};
  for (int result = 0; result < 3; ++result)
    SetDlgItemTextA(dialog, ids[result], RatingChangeText(g_settings.changes[result]).c_str());
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

// ---- scripted rated games, the end of a rated game, adjourning ------------

namespace {

constexpr int kAdjournedList = 1280;  // IDD_CHOOSE_FROM_LIST's list

std::string UserFolderOf(const char* name) {
  const UserProfile* current = GetUserRecord();
  if (current && std::strcmp(current->name, name) == 0) return Folder(GetUserFolder());
  return Folder(GetUsersFolder()) + "\\" + name;
}

std::string UserRecordPath(const UserProfile& user) {
  return user.path[0] ? std::string(user.path) : UserFolderOf(user.name) + "\\" + user.name + ".usr";
}

// The current user's record (copied, lists shared: not to be freed), or
// another user's read from its file (lists owned: `*owned` set). False when
// there is no such user.
bool ReadNamedUser(const char* name, UserProfile* out, bool* owned) {
  *owned = false;
  const UserProfile* current = GetUserRecord();
  if (current && current->name[0] && std::strcmp(current->name, name) == 0) {
    *out = *current;
    return true;
  }
  *out = UserProfile{};
  if (!ReadUserFileAt(UserFolderOf(name) + "\\" + name + ".usr", out)) return false;
  *owned = true;
  return out->name[0] != 0;
}

bool Exists(const std::string& fileName, void* folder) {
  const std::string path = *static_cast<const std::string*>(folder) + "\\" + fileName;
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> AdjournedGames() {
  std::vector<std::string> names;
  const std::string folder = Folder(GetAdjournedGamesFolder());
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*.RWG").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY || name[0] == '.' || name.size() < 4) continue;
    if (_stricmp(name.c_str() + name.size() - 4, ".RWG") != 0) continue;
    names.push_back(name.substr(0, name.size() - 4));
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return names;
}

struct ChooseState {
  std::vector<std::string> names;
  std::string chosen;
};

void TakeChoice(HWND dialog, ChooseState* st) {
  const LRESULT at = SendDlgItemMessageA(dialog, kAdjournedList, LB_GETCURSEL, 0, 0);
  if (at == LB_ERR) return;
  char name[MAX_PATH] = "";
  if (SendDlgItemMessageA(dialog, kAdjournedList, LB_GETTEXTLEN, WPARAM(at), 0) >= LRESULT(sizeof name)) return;
  SendDlgItemMessageA(dialog, kAdjournedList, LB_GETTEXT, WPARAM(at), LPARAM(name));
  st->chosen = Folder(GetAdjournedGamesFolder()) + "\\" + name + ".RWG";
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK ChooseFromListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* st = reinterpret_cast<ChooseState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      st = reinterpret_cast<ChooseState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(st));
      SetWindowTextA(dialog, LoadText(420, "Load Adjourned Game").c_str());
      for (const std::string& name : st->names)
        SendDlgItemMessageA(dialog, kAdjournedList, LB_ADDSTRING, 0, LPARAM(name.c_str()));
      SendDlgItemMessageA(dialog, kAdjournedList, LB_SETCURSEL, 0, 0);
      CentreOnParent(dialog);
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      // OK or a double click on a name takes it; Cancel takes none.
      if (st && (id == IDOK || (id == kAdjournedList && HIWORD(wParam) == LBN_DBLCLK)))
        TakeChoice(dialog, st);
      else if (id == IDCANCEL)
        EndDialog(dialog, 0);
      else
        return FALSE;
      return TRUE;
    }
  }
  return FALSE;
}

// The players of a rated game: the user with the overall rating, the
// engine with the opponent's, both on the given clock.
void RatedPlayers(const UserProfile& user, const std::string& opponent, int32_t opponentRating, bool userWhite,
                  uint32_t kind, uint32_t base, uint32_t extra, PlayerDescriptor* person, PlayerDescriptor* engine) {
  *person = PlayerDescriptor{};
  *engine = PlayerDescriptor{};
  std::snprintf(person->name, sizeof person->name, "%.*s", int(sizeof user.name), user.name);
  person->kind = PLAYER_HUMAN;
  person->value = uint32_t(ReadRatedRecord(user).overall);
  std::snprintf(engine->name, sizeof engine->name, "%s", opponent.c_str());
  engine->kind = PLAYER_ENGINE;
  engine->value = uint32_t(opponentRating);
  for (PlayerDescriptor* d : {person, engine}) {
    d->timeControl = kind;
    d->baseMs = base;
    d->periodOrIncrement = extra;
  }
  person->slot = userWhite ? SLOT_WHITE : SLOT_BLACK;
  engine->slot = userWhite ? SLOT_BLACK : SLOT_WHITE;
}

bool AskRatedQuestion(HWND owner) {
  const std::string question = LoadText(
      101,
      "Playing a Rated Game enforces certain rules and settings similar to playing a real tournament game, and "
      "will affect your chess rating.\r\nA Rated Game must begin from a starting position.\r\nWould you like to "
      "continue?");
  return Box(question.c_str(), MB_YESNO | MB_ICONQUESTION, owner) == IDYES;
}

}  // namespace

namespace {

// Asks the rated-game question and starts the user's game against the
// settings' opponent.
bool StartWithSettings(HWND owner, RatedGameRoom* room, bool userWhite, uint32_t kind, uint32_t base,
                       uint32_t extra) {
  const UserProfile* user = GetUserRecord();
  if (!room || !user || !user->name[0]) return false;
  if (!AskRatedQuestion(owner)) return false;
  PlayerDescriptor person, engine;
  RatedPlayers(*user, g_settings.opponent, g_settings.opponentRating, userWhite, kind, base, extra, &person,
               &engine);
  // Bit 32 marks the rated game.
  constexpr uint32_t kRatedKind = 48;
  return userWhite ? room->StartGame(person, engine, kRatedKind) : room->StartGame(engine, person, kRatedKind);
}

}  // namespace

bool StartRatedGame(HWND owner, RatedGameRoom* room) {
  uint32_t kind = 0, base = 0, extra = 0;
  RatedTimeControl(g_settings, &kind, &base, &extra);
  const bool userWhite = g_settings.colour == 1 || (g_settings.colour == 2 && (std::rand() & 1));
  return StartWithSettings(owner, room, userWhite, kind, base, extra);
}

bool StartScriptedRatedGame(HWND owner, RatedGameRoom* room, const std::string& white, const std::string& black,
                            uint32_t timeKind, uint32_t baseMs, uint32_t bonusOrMoves) {
  const UserProfile* user = GetUserRecord();
  if (!room || !user || !user->name[0]) return false;
  const bool userWhite = white == "USER";
  g_settings.opponent = userWhite ? black : white;
  g_settings.opponentRating = GetOpponentRating(g_settings.opponent.c_str(), true);
  return StartWithSettings(owner, room, userWhite, timeKind, baseMs, bonusOrMoves);
}

int32_t GetOpponentRating(const char* name, bool personality) {
  if (!name || !name[0]) return 0;
  if (personality) {
    PersonalityRecord* record = nullptr;
    const std::string path = Folder(GetPersonalitiesFolder()) + "\\" + name + ".RWP";
    const int32_t rating = ReadPersonalityFile(path.c_str(), &record) == 1 && record ? record->rating : 0;
    FreePersonality(record);
    return rating;
  }
  UserProfile other{};
  bool owned = false;
  const int32_t rating = ReadNamedUser(name, &other, &owned) ? ReadRatedRecord(other).overall : 0;
  if (owned) FreeUserLists(&other);
  return rating;
}

bool RecordFinishedGame(GameRecord* game, int tournament, int side, bool kidsRoom) {
  UserProfile* current = GetUserRecord();
  if (!game || !current || !current->name[0]) return false;
  // Without a tournament the person is the one the engine plays against.
  const bool userWhite = tournament ? side == 1 : game->white.kind != PLAYER_ENGINE;
  const PlayerRecord& player = userWhite ? game->white : game->black;
  const PlayerRecord& opponent = userWhite ? game->black : game->white;
  UserProfile other{};
  UserProfile* user = current;
  bool owned = false;  // another user's record, read from its file
  if (tournament && std::strcmp(player.name, current->name) != 0) {
    if (!ReadNamedUser(player.name, &other, &owned)) return false;
    user = &other;
  }
  RatedRecord record = ReadRatedRecord(*user);
  RatedGameFacts facts;
  facts.resultCode = game->result;
  facts.userIsWhite = userWhite;
  facts.tournament = tournament != 0;
  facts.kidsRoom = kidsRoom;
  facts.playerName = player.name;
  facts.opponentName = opponent.name;
  facts.playerRating = int32_t(player.value);
  facts.opponentRating = int32_t(opponent.value);
  if (tournament && opponent.kind != PLAYER_ENGINE) {
    UserProfile rival{};
    bool rivalOwned = false;
    if (ReadNamedUser(opponent.name, &rival, &rivalOwned)) facts.opponentGames = ReadRatedRecord(rival).ratedGames;
    if (rivalOwned) FreeUserLists(&rival);
  }
  // The changes the dialog showed, from the record before the game and the
  // opponent's rating in the game: the same after an adjourned game was
  // resumed in another run of the program.
  if (!tournament) RatedGameChanges(record, facts.opponentRating, facts.dialogChange);
  facts.timeKind = int(game->white.timeControl);
  facts.timeBase = int32_t(game->white.baseMs);
  facts.timeBonusOrMoves = int32_t(game->white.periodOrIncrement);
  SYSTEMTIME now;
  GetLocalTime(&now);
  facts.now = RatingDateText(now.wMonth, now.wDay, now.wYear, now.wHour, now.wMinute, now.wSecond);
  const std::string classNames[3] = {LoadText(116, "Bullet"), LoadText(117, "Blitz"), LoadText(118, "Standard")};
  const RatedGameReport report = RecordRatedGameResult(&record, facts, classNames);
  if (!report.booked) {
    if (owned) FreeUserLists(&other);
    return false;
  }
  StoreRatedRecord(record, user);
  WriteUserFileAt(UserRecordPath(*user), *user);
  // The game joins the user's file of rated games.
  std::snprintf(game->header.event, sizeof game->header.event, "%s",
                LoadText(572, "Rookwell Onyx Rated Game").c_str());
  const std::string pgn =
      UserFolderOf(user->name) + "\\" + user->name + "'s " + LoadText(573, "Rated Games") + ".PGN";
  WritePgnFile(pgn.c_str(), game, true, -1);
  if (owned) FreeUserLists(&other);
  Box(report.Message().c_str(), MB_OK, HWND(GetNumberedWindow(WIN_MAIN_FRAME)));
  SetPlayerProfile(GetUserRecord());
  return true;
}

int QueryAdjournRatedGame(GameRecord* game) {
  if (!game || IsGameOver(game) || !(game->kind & GAME_BOOKED)) return 0;
  const std::string question = LoadText(574,
                                        "There is a rated game in progress and this command cannot be executed "
                                        "until the current game is over.\r\nWould you like to adjourn this game now?");
  if (Box(question.c_str(), MB_YESNO | MB_ICONQUESTION, HWND(GetNumberedWindow(WIN_MAIN_FRAME))) != IDYES) return 1;
  return SaveAdjournedGame(game) ? 0 : 1;
}

bool SaveAdjournedGame(GameRecord* game) {
  if (!game) return false;
  EndGame(game, RESULT_ADJOURNED);
  std::string folder = Folder(GetAdjournedGamesFolder());
  CreateDirectoryA(folder.c_str(), nullptr);
  char date[sizeof game->header.date + 1] = "";
  std::memcpy(date, game->header.date, sizeof game->header.date);
  const std::string name = AdjournedGameName(game->white.name, game->black.name, date, Exists, &folder);
  const std::string path = folder + "\\" + name + ".RWG";
  if (WriteGameFile(path.c_str(), game) != 0) return false;
  Box(LoadText(177, "Game Adjourned.").c_str(), MB_OK, HWND(GetNumberedWindow(WIN_MAIN_FRAME)));
  return true;
}

std::string ChooseAdjournedRatedGame(HWND owner) {
  ChooseState st;
  st.names = AdjournedGames();
  if (st.names.empty()) {
    Box("You have no adjourned games.", MB_OK, owner);
    return "";
  }
  if (DialogBoxParamA(GetModuleHandleA(nullptr), "IDD_CHOOSE_FROM_LIST", owner, ChooseFromListProc, LPARAM(&st)) !=
      1)
    return "";
  return st.chosen;
}
