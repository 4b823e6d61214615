// The new-game set-up dialog over Win32: the two player rows, the tab
// control with the Colors, Time Controls and Rules pages, and OK. The
// decisions (mask, time values, Flip, odds) are the set-up core's.
#include "game_setup_dialog.h"

#include <commctrl.h>
// The system names its own GetUserName; the shell's is meant here.
#undef GetUserName

#include <cstdio>
#include <cstring>
#include <string>

#include "app_globals.h"
#include "basic_controls.h"
#include "bmpbutton.h"
#include "dialog_helpers.h"
#include "dibkit.h"
#include "game_end.h"
#include "game_record.h"
#include "room_pictures_win32.h"
#include "select_personality.h"
#include "shell_services.h"
#include "user_settings.h"
#include "window_table.h"

namespace {

constexpr int kKidsRoom = 2;
constexpr UINT kEnableTab = 0x8691;  // the toolkit tab control's item-enable message
constexpr int kNameIds[2] = {kTopName, kBottomName};
constexpr int kPersonIds[2] = {kTopPerson, kBottomPerson};
constexpr int kComputerIds[2] = {kTopComputer, kBottomComputer};
constexpr int kPersonalityIds[2] = {kTopPersonality, kBottomPersonality};
constexpr int kSpinIds[4] = {kTopFirstSpin, kTopSecondSpin, kBottomFirstSpin, kBottomSecondSpin};
constexpr int kRowCaptions[2] = {1632, 1633};
constexpr int kLabelIds[4] = {kTopFirstLabel, kTopSecondLabel, kBottomFirstLabel, kBottomSecondLabel};

// The time-control kinds the list offers: string id and kind.
struct TimeKindItem {
  int text;
  const char* fallback;
  uint32_t kind;
};
constexpr TimeKindItem kTimeKinds[6] = {{1940, "Moves/minutes", 1},  {1941, "Seconds per move", 2},
                                        {1942, "Minutes per game", 4}, {1943, "Fischer Style", 5},
                                        {1944, "Hourglass", 6},        {1945, "Infinite time", 7}};

// What lives while the dialog is open (one set-up dialog at a time).
struct SetupDialog {
  HWND dialog = nullptr;
  HWND tabs = nullptr;
  HWND pages[3] = {};  // Colors, Time Controls, Rules
  int current = 0;
  GameRecord* game = nullptr;
  PlayerRecord savedWhite{}, savedBlack{};
  Board savedStart{};
  PackedDib* buttonFaces[4][2] = {};  // GUY/COMP of each row, normal and pressed
  bool updatingTimes = false;         // the page is setting its own spins
};
SetupDialog g_setup;

// Kept for the whole run: the players' remembered names and the time values.
GameSetupPlayers g_players = [] {
  GameSetupPlayers p{};
  for (int row = 0; row < 2; ++row) CopySetupName(p.personName[row], "player");
  return p;
}();
SetupTimeValues g_times;

// The Rules page's pictures, made when the page is created.
struct RulesPictures {
  PackedDib* board = nullptr;
  PackedDib* pieces[2][6] = {};  // White, Black; king, queen, rook, bishop, knight, pawn
  PackedDib* squares[2] = {};    // "wsquare", "bsquare"
  Board initial;
};

std::string LoadText(int id, const char* fallback) {
  char text[256];
  return LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof text) > 0 ? std::string(text)
                                                                                 : std::string(fallback);
}

int CurrentRoom() { return Services().getCurrentRoom(); }

bool BoardNotFlipped() {
  RoomBoard* board = GetRoomBoard();
  return Services().getBoardFlipped(board ? board->view : nullptr) == 0;
}

HBRUSH DialogBrush() {
  static HBRUSH brush = CreateSolidBrush(RGB(236, 230, 216));
  return brush;
}

// The edit-control colour message of every page: the shared palette and
// the dialog's brush.
INT_PTR EditColour(WPARAM dc) {
  if (HPALETTE palette = RoomPicturePalette()) {
    SelectPalette(HDC(dc), palette, FALSE);
    RealizePalette(HDC(dc));
  }
  SetBkColor(HDC(dc), RGB(236, 230, 216));
  return INT_PTR(DialogBrush());
}

// Labels and check boxes sit on the painted page background.
INT_PTR TransparentColour(WPARAM dc) {
  SetBkMode(HDC(dc), TRANSPARENT);
  return INT_PTR(GetStockObject(NULL_BRUSH));
}

// ---------------------------------------------------------------- player rows

void SetCheck(HWND dialog, int id, bool on) { SendDlgItemMessageA(dialog, id, BM_SETCHECK, on, 0); }
bool Checked(HWND page, int id) { return SendDlgItemMessageA(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void RenewBottomLabel() {
  HWND colors = g_setup.pages[0];
  if (!colors) return;
  const std::string format = LoadText(1946, "%s plays from Bottom");
  char name[kPlayerNameSize + 1];
  std::snprintf(name, sizeof name, "%.*s", kPlayerNameSize, g_players.Row(1)->name);
  char text[kPlayerNameSize + 64];
  std::snprintf(text, sizeof text, format.c_str(), name);
  SetDlgItemTextA(colors, kPlaysFromBottom, text);
}

void FillPlayerRows(HWND dialog) {
  for (int row = 0; row < 2; ++row) {
    PlayerRecord* p = g_players.Row(row);
    char name[kPlayerNameSize + 1];
    std::snprintf(name, sizeof name, "%.*s", kPlayerNameSize, p->name);
    HWND edit = GetDlgItem(dialog, kNameIds[row]);
    const bool computer = p->kind != PLAYER_HUMAN;
    SetWindowTextA(edit, name);
    SendMessageA(edit, EM_SETREADONLY, computer, 0);
    SetCheck(dialog, kPersonIds[row], !computer);
    SetCheck(dialog, kComputerIds[row], computer);
    ShowWindow(GetDlgItem(dialog, kPersonalityIds[row]), computer ? SW_SHOW : SW_HIDE);
    CopySetupName(computer ? g_players.computerName[row] : g_players.personName[row], name);
    SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
  }
  RenewBottomLabel();
}

// "GUY" or "COMP" of a row, only when the kind really changes.
void ChooseKind(HWND dialog, int row, bool computer) {
  PlayerRecord* p = g_players.Row(row);
  HWND edit = GetDlgItem(dialog, kNameIds[row]);
  if ((p->kind != PLAYER_HUMAN) == computer) {
    SetCheck(dialog, kPersonIds[row], !computer);
    SetCheck(dialog, kComputerIds[row], computer);
    return;
  }
  if (computer) {
    char typed[257] = "";
    GetWindowTextA(edit, typed, sizeof typed);
    CopySetupName(g_players.personName[row], typed);
    p->kind = PLAYER_ENGINE;
    std::snprintf(p->name, sizeof p->name, "%s", g_players.computerName[row]);
  } else {
    p->kind = PLAYER_HUMAN;
    std::snprintf(p->name, sizeof p->name, "%s", g_players.personName[row]);
  }
  SetWindowTextA(edit, p->name);
  SendMessageA(edit, EM_SETREADONLY, computer, 0);
  SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
  SetCheck(dialog, kPersonIds[row], !computer);
  SetCheck(dialog, kComputerIds[row], computer);
  ShowWindow(GetDlgItem(dialog, kPersonalityIds[row]), computer ? SW_SHOW : SW_HIDE);
  if (row == 1) RenewBottomLabel();
}

void ChoosePersonality(HWND dialog, int row) {
  PlayerRecord* p = g_players.Row(row);
  char chosen[kChosenPersonalitySize] = "";
  if (!SelectPersonality(dialog, chosen, 0, CurrentRoom() == kKidsRoom, 0, 9999)) return;
  if (std::strncmp(chosen, p->name, sizeof p->name) == 0) return;
  std::snprintf(p->name, sizeof p->name, "%s", chosen);
  FillPlayerRows(dialog);
}

// A row's typed name goes into its record (and, for a person, the row's
// remembered name) when the edit was changed.
void TakeTypedNames(HWND dialog, bool personsOnly, bool remember) {
  for (int row = 0; row < 2; ++row) {
    HWND edit = GetDlgItem(dialog, kNameIds[row]);
    if (!SendMessageA(edit, EM_GETMODIFY, 0, 0)) continue;
    PlayerRecord* p = g_players.Row(row);
    if (personsOnly && p->kind != PLAYER_HUMAN) continue;
    char typed[kPlayerNameSize + 8] = "";
    GetWindowTextA(edit, typed, sizeof typed);
    std::snprintf(p->name, sizeof p->name, "%s", typed);
    if (remember) CopySetupName(g_players.personName[row], typed);
    SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
  }
}

void LoadButtonFaces(HWND dialog) {
  const char* names[2][2] = {{"#20190", "#20191"}, {"#20195", "#20196"}};
  const int ids[4] = {kTopPerson, kTopComputer, kBottomPerson, kBottomComputer};
  for (int b = 0; b < 4; ++b) {
    HWND button = GetDlgItem(dialog, ids[b]);
    const int kind = b % 2;  // 0 GUY, 1 COMP
    for (int face = 0; face < 2; ++face) {
      g_setup.buttonFaces[b][face] = LoadLibraryPicture(names[kind][face]);
      SendMessageA(button, BBM_CCM_SETDIB, face, LPARAM(g_setup.buttonFaces[b][face]));
    }
    if (const PackedDib* face = g_setup.buttonFaces[b][0])
      SetWindowPos(button, nullptr, 0, 0, PictureWidth(face), PictureHeight(face),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void FreeButtonFaces(HWND dialog) {
  const int ids[4] = {kTopPerson, kTopComputer, kBottomPerson, kBottomComputer};
  for (int b = 0; b < 4; ++b)
    for (int face = 0; face < 2; ++face) {
      if (HWND button = GetDlgItem(dialog, ids[b])) SendMessageA(button, BBM_CCM_SETDIB, face, 0);
      dibDelete(g_setup.buttonFaces[b][face]);
      g_setup.buttonFaces[b][face] = nullptr;
    }
}

// ---------------------------------------------------------------- pages

void ShowPage(int page) {
  if (page < 0 || page > 2 || page == g_setup.current) return;
  ShowWindow(g_setup.pages[g_setup.current], SW_HIDE);
  g_setup.current = page;
  SetWindowPos(g_setup.pages[page], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void CreatePages(HWND dialog) {
  HWND tabs = g_setup.tabs = GetDlgItem(dialog, kSetupTabs);
  HINSTANCE instance = HINSTANCE(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
  g_setup.pages[2] = CreateDialogParamA(instance, MAKEINTRESOURCEA(kRulesPage), tabs, RulesPageDlgProc, 2);
  g_setup.pages[1] =
      CreateDialogParamA(instance, MAKEINTRESOURCEA(kTimeControlsPage), tabs, TimeControlsPageDlgProc, 1);
  g_setup.pages[0] = CreateDialogParamA(instance, MAKEINTRESOURCEA(kColorsPage), tabs, ColorsPageDlgProc, 0);
  const std::string titles[3] = {LoadText(1947, "Colors"), LoadText(1948, "Time Controls"),
                                 LoadText(1949, "Rules")};
  for (int i = 0; i < 3; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(titles[i].c_str());
    SendMessageA(tabs, TCM_INSERTITEMA, i, LPARAM(&item));
  }
  RECT display;
  GetClientRect(tabs, &display);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, LPARAM(&display));
  for (HWND page : g_setup.pages)
    if (page)
      MoveWindow(page, display.left, display.top, display.right - display.left, display.bottom - display.top,
                 FALSE);
  g_setup.current = 0;
  SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
  SetWindowPos(g_setup.pages[0], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  if (CurrentRoom() == kKidsRoom) SendMessageA(tabs, kEnableTab, 2, 0);
}

void DestroyPages() {
  for (HWND& page : g_setup.pages) {
    if (page) DestroyWindow(page);
    page = nullptr;
  }
}

void CentreOnMainWindow(HWND dialog) {
  HWND main = HWND(GetNumberedWindow(WIN_MAIN_FRAME));
  RECT area, own;
  if (main)
    GetWindowRect(main, &area);
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(dialog, &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void OnInit(HWND dialog, GameRecord* game) {
  g_setup = SetupDialog{};
  g_setup.dialog = dialog;
  g_setup.game = game;
  g_players.white = &game->white;
  g_players.black = &game->black;
  g_players.whiteOnTop = !BoardNotFlipped();
  g_setup.savedWhite = game->white;
  g_setup.savedBlack = game->black;
  g_setup.savedStart = game->start;
  LoadButtonFaces(dialog);
  if (GetUserRecord() && GetUserName()[0])
    for (int row = 0; row < 2; ++row) CopySetupName(g_players.personName[row], GetUserName());
  char engine[kRoomEngineSize] = "";
  const int topSide = g_players.whiteOnTop ? kSideWhite : kSideBlack;
  CopySetupName(g_players.computerName[0], ReadRoomEngine(engine, kCurrentRoom, topSide));
  engine[0] = '\0';
  CopySetupName(g_players.computerName[1],
                ReadRoomEngine(engine, kCurrentRoom, topSide == kSideWhite ? kSideBlack : kSideWhite));
  FillPlayerRows(dialog);
  CreatePages(dialog);
  RenewBottomLabel();
  CentreOnMainWindow(dialog);
  SetFocus(GetDlgItem(dialog, IDOK));
}

void OnOk(HWND dialog) {
  TakeTypedNames(dialog, true, false);
  GameRecord* game = g_setup.game;
  const int mask = SetupChangeMask(g_setup.savedWhite, g_setup.savedBlack, game->white, game->black,
                                   g_players.whiteOnTop, BoardNotFlipped(), game->start);
  const bool whiteNameChanged = std::strncmp(g_setup.savedWhite.name, game->white.name, kPlayerNameSize) != 0;
  const bool blackNameChanged = std::strncmp(g_setup.savedBlack.name, game->black.name, kPlayerNameSize) != 0;
  char name[kPlayerNameSize + 1];
  if (whiteNameChanged && game->white.kind != PLAYER_HUMAN) {
    std::snprintf(name, sizeof name, "%.*s", kPlayerNameSize, game->white.name);
    WriteRoomEngine(name, kCurrentRoom, kSideWhite);
  }
  if (blackNameChanged && game->black.kind != PLAYER_HUMAN) {
    std::snprintf(name, sizeof name, "%.*s", kPlayerNameSize, game->black.name);
    WriteRoomEngine(name, kCurrentRoom, kSideBlack);
  }
  if (mask) game->kind &= ~uint32_t(GAME_CLOCKS_OFF);
  EndDialog(dialog, mask);
}

void OnDestroy(HWND dialog) {
  FreeButtonFaces(dialog);
  DestroyPages();
  g_setup.dialog = g_setup.tabs = nullptr;
  g_players.white = g_players.black = nullptr;
}

// ---------------------------------------------------------------- Time Controls

PlayerRecord* TopRecord() { return g_players.Row(0); }
PlayerRecord* BottomRecord() { return g_players.Row(1); }

void BringTimePageUpToDate(HWND page) {
  if (!page || !g_players.white) return;
  bool same = Checked(page, kSameTimeControls);
  const TimePageView view = ViewTimePage(TopRecord()->timeControl, &same, TopRecord(), BottomRecord(), g_times);
  if (view.unchanged) return;
  g_setup.updatingTimes = true;
  CheckRadioButton(page, kSameTimeControls, kSeparateTimeControls, same ? kSameTimeControls : kSeparateTimeControls);
  for (int i = 0; i < 4; ++i) {
    HWND spin = GetDlgItem(page, kSpinIds[i]);
    const int low = i % 2 == 0 ? view.firstMin : 1;
    SendMessageA(spin, SPE_SETRANGE, WPARAM(-1), MAKELPARAM(low, 999));
    SendMessageA(spin, SPE_SETVALUE, WPARAM(view.spinShown[i] ? view.spinValue[i] : 0), 0);
    ShowWindow(spin, view.spinShown[i] ? SW_SHOW : SW_HIDE);
    HWND label = GetDlgItem(page, kLabelIds[i]);
    const char* text = view.label[i % 2];
    SetWindowTextA(label, text ? text : "");
    ShowWindow(label, view.spinShown[i] && text ? SW_SHOW : SW_HIDE);
  }
  // Which player each row of spins belongs to.
  for (int row = 0; row < 2; ++row) {
    char name[kPlayerNameSize + 1];
    std::snprintf(name, sizeof name, "%.*s", kPlayerNameSize, g_players.Row(row)->name);
    // One row of spins sets both players' clocks.
    const bool both = !view.spinShown[2];
    const std::string format = both       ? LoadText(1955, "Both players")
                               : row == 0 ? LoadText(1952, "Top: %s")
                                          : LoadText(1953, "Bottom: %s");
    char caption[kPlayerNameSize + 64];
    std::snprintf(caption, sizeof caption, format.c_str(), name);
    HWND label = GetDlgItem(page, kRowCaptions[row]);
    SetWindowTextA(label, caption);
    ShowWindow(label, view.spinShown[2 * row] ? SW_SHOW : SW_HIDE);
  }
  ShowWindow(GetDlgItem(page, kSameTimeControls), view.radiosShown ? SW_SHOW : SW_HIDE);
  ShowWindow(GetDlgItem(page, kSeparateTimeControls), view.radiosShown ? SW_SHOW : SW_HIDE);
  g_setup.updatingTimes = false;
  InvalidateRect(page, nullptr, TRUE);
}

void TimePageInit(HWND page) {
  HWND list = GetDlgItem(page, kTimeKindList);
  PlayerRecord* top = TopRecord();
  PlayerRecord* bottom = BottomRecord();
  for (const TimeKindItem& k : kTimeKinds) {
    const int at = int(SendMessageA(list, LB_ADDSTRING, 0, LPARAM(LoadText(k.text, k.fallback).c_str())));
    SendMessageA(list, LB_SETITEMDATA, at, LPARAM(k.kind));
    if (k.kind == top->timeControl) SendMessageA(list, LB_SETCURSEL, at, 0);
  }
  const uint32_t kind = top->timeControl;
  if (kind <= 6) {
    g_times.time[kind][0] = top->baseMs;
    g_times.time[kind][1] = bottom->baseMs;
    g_times.second[kind][0] = top->periodOrIncrement;
    g_times.second[kind][1] = bottom->periodOrIncrement;
  }
  const bool same = top->baseMs == bottom->baseMs && top->periodOrIncrement == bottom->periodOrIncrement;
  CheckRadioButton(page, kSameTimeControls, kSeparateTimeControls, same ? kSameTimeControls : kSeparateTimeControls);
  BringTimePageUpToDate(page);
}

void ReadSpins(HWND page) {
  if (g_setup.updatingTimes || !g_players.white) return;
  int v[4];
  for (int i = 0; i < 4; ++i) v[i] = int(SendDlgItemMessageA(page, kSpinIds[i], SPE_GETVALUE, 0, 0));
  StoreSpinValues(g_players.white->timeControl, v[0], v[1], v[2], v[3], Checked(page, kSameTimeControls),
                  TopRecord(), BottomRecord(), &g_times);
}

// ---------------------------------------------------------------- Rules

RulesPictures* Pictures(HWND page) { return reinterpret_cast<RulesPictures*>(GetWindowLongPtrA(page, DWLP_USER)); }

void RulesPageInit(HWND page) {
  auto* r = new RulesPictures;
  r->board = LoadLibraryPicture("bestlineboard");
  const char* colour = "wb";
  const char* letters = "kqrbnp";
  for (int c = 0; c < 2; ++c)
    for (int t = 0; t < 6; ++t) {
      const char name[3] = {colour[c], letters[t], 0};
      r->pieces[c][t] = LoadLibraryPicture(name);
    }
  r->squares[0] = LoadLibraryPicture("wsquare");
  r->squares[1] = LoadLibraryPicture("bsquare");
  SetInitialBoard(&r->initial);
  SetWindowLongPtrA(page, DWLP_USER, LONG_PTR(r));
  CheckDlgButton(page, kWhiteBlindfold, IsPlayerBlindfold(g_setup.game, true) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(page, kBlackBlindfold, IsPlayerBlindfold(g_setup.game, false) ? BST_CHECKED : BST_UNCHECKED);
}

void RulesPageDestroy(HWND page) {
  RulesPictures* r = Pictures(page);
  if (!r) return;
  dibDelete(r->board);
  for (auto& colour : r->pieces)
    for (PackedDib* p : colour) dibDelete(p);
  for (PackedDib* p : r->squares) dibDelete(p);
  delete r;
  SetWindowLongPtrA(page, DWLP_USER, 0);
}

void PaintOddsBoard(HWND page, HDC dc) {
  RulesPictures* r = Pictures(page);
  if (!r || !r->board || !g_setup.game) return;
  PackedDib* work = dibDuplicate(r->board);
  if (!work) return;
  const Board& start = g_setup.game->start;
  for (int row = 0; row < 8; ++row)
    for (int file = 0; file < 8; ++file) {
      const uint8_t piece = start[MakeSquare(row, file)];
      if (!piece) continue;
      const int type = piece & TYPE_MASK;
      if (type > PAWN) continue;
      const PackedDib* picture = r->pieces[(piece & COLOUR_MASK) == WHITE ? 0 : 1][type];
      if (!picture) continue;
      dibTransCopyDIB(work, picture, 3 + kOddsSquare * file, 3 + kOddsSquare * row, 0, 0, PictureWidth(picture),
                      PictureHeight(picture), 0);
    }
  DrawRoomPicture(dc, kOddsBoardX, kOddsBoardY, work);
  dibDelete(work);
}

void RulesClick(HWND page, LPARAM point) {
  if (!g_setup.game) return;
  if (OddsBoardClick(&g_setup.game->start, short(LOWORD(point)), short(HIWORD(point)))) {
    RECT board{kOddsBoardX, kOddsBoardY, kOddsBoardX + 8 * kOddsSquare + 6, kOddsBoardY + 8 * kOddsSquare + 6};
    InvalidateRect(page, &board, FALSE);
  }
}

}  // namespace

// ---------------------------------------------------------------- procedures

int RunGameSetupDialog(GameRecord* game) {
  // The dialog's state is module-wide: a second one while it is open would
  // take the first one's game.
  if (!game || g_setup.dialog) return kSetupCancelled;
  // The game's clock pauses and the panels are locked while the dialog runs.
  const ModalPause held = BeginModalPause(1);
  for (int id = WIN_ADVICE; id <= WIN_ADVISOR_MONITOR; ++id)
    if (GetNumberedWindow(id)) NumberedWindowOp(WOP_DISABLE, id, 0);
  const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kGameSetupDialog),
                                         HWND(GetNumberedWindow(WIN_MAIN_FRAME)), GameSetupDlgProc, LPARAM(game));
  for (int id = WIN_ADVICE; id <= WIN_ADVISOR_MONITOR; ++id)
    if (GetNumberedWindow(id)) NumberedWindowOp(WOP_ENABLE, id, 0);
  EndModalPause(held);
  return result < 0 ? kSetupCancelled : int(result);
}

INT_PTR CALLBACK GameSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog, reinterpret_cast<GameRecord*>(lParam));
      return FALSE;  // the focus is set
    case WM_CTLCOLOREDIT:
      return EditColour(wParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return TransparentColour(wParam);
    case WM_DESTROY:
      OnDestroy(dialog);
      return FALSE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == kSetupTabs && header->code == UINT(TCN_SELCHANGE))
        ShowPage(int(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      return TRUE;
    }
    case WM_COMMAND:
      if (!g_setup.game) return FALSE;
      switch (LOWORD(wParam)) {
        case kTopPerson:
          ChooseKind(dialog, 0, false);
          return TRUE;
        case kTopComputer:
          ChooseKind(dialog, 0, true);
          return TRUE;
        case kBottomPerson:
          ChooseKind(dialog, 1, false);
          return TRUE;
        case kBottomComputer:
          ChooseKind(dialog, 1, true);
          return TRUE;
        case kTopPersonality:
          ChoosePersonality(dialog, 0);
          return TRUE;
        case kBottomPersonality:
          ChoosePersonality(dialog, 1);
          return TRUE;
        case IDOK:
          OnOk(dialog);
          return TRUE;
        case IDCANCEL:
          // The caller's game is left as it came: the pages wrote into it.
          DestroyPages();
          g_setup.game->white = g_setup.savedWhite;
          g_setup.game->black = g_setup.savedBlack;
          g_setup.game->start = g_setup.savedStart;
          EndDialog(dialog, kSetupCancelled);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK ColorsPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      g_setup.pages[0] = page;
      CheckDlgButton(page, kWhiteAtBottomPicture, g_players.whiteOnTop ? BST_UNCHECKED : BST_CHECKED);
      CheckDlgButton(page, kPlaysFromBottom, BST_UNCHECKED);
      RenewBottomLabel();
      // The picture box shows the side at the bottom: unchecked Black, checked White.
      HWND box = GetDlgItem(page, kWhiteAtBottomPicture);
      PackedDib* faces[2] = {LoadLibraryPicture("#20176"), LoadLibraryPicture("#20175")};
      for (int face = 0; face < 2; ++face) SendMessageA(box, BBM_CCM_SETDIB, face, LPARAM(faces[face]));
      if (faces[1])
        SetWindowPos(box, nullptr, 0, 0, PictureWidth(faces[1]), PictureHeight(faces[1]),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      for (int id : {kColorsBoardPicture, kColorsRotatePicture}) {
        char name[8];
        std::snprintf(name, sizeof name, "#%d", id);
        PackedDib* picture = LoadLibraryPicture(name);
        SetPropA(GetDlgItem(page, id), "RwPicture", picture);
        if (picture)
          SetWindowPos(GetDlgItem(page, id), nullptr, 0, 0, PictureWidth(picture), PictureHeight(picture),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return TRUE;
    }
    case WM_CTLCOLOREDIT:
      return EditColour(wParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return TransparentColour(wParam);
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      DrawRoomPicture(item->hDC, 0, 0, static_cast<const PackedDib*>(GetPropA(item->hwndItem, "RwPicture")));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kFlipButton && g_setup.dialog) {
        TakeTypedNames(g_setup.dialog, false, true);
        FlipSetupPlayers(&g_players, IsDlgButtonChecked(page, kPlaysFromBottom) == BST_CHECKED);
        CheckDlgButton(page, kWhiteAtBottomPicture, g_players.whiteOnTop ? BST_UNCHECKED : BST_CHECKED);
        FillPlayerRows(g_setup.dialog);
        BringTimePageUpToDate(g_setup.pages[1]);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY: {
      HWND box = GetDlgItem(page, kWhiteAtBottomPicture);
      for (int face = 0; face < 2; ++face)
        dibDelete(reinterpret_cast<PackedDib*>(SendMessageA(box, BBM_CCM_SETDIB, face, 0)));
      for (int id : {kColorsBoardPicture, kColorsRotatePicture})
        dibDelete(static_cast<PackedDib*>(RemovePropA(GetDlgItem(page, id), "RwPicture")));
      if (g_setup.pages[0] == page) g_setup.pages[0] = nullptr;
      return FALSE;
    }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK TimeControlsPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_INITDIALOG:
      g_setup.pages[1] = page;
      TimePageInit(page);
      return TRUE;
    case WM_CTLCOLOREDIT:
      return EditColour(wParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return TransparentColour(wParam);
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      if (id == kTimeKindList && code == LBN_SELCHANGE) {
        HWND list = GetDlgItem(page, kTimeKindList);
        const LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (at == LB_ERR || !g_players.white) return TRUE;
        const uint32_t kind = uint32_t(SendMessageA(list, LB_GETITEMDATA, at, 0));
        g_players.white->timeControl = g_players.black->timeControl = kind;
        BringTimePageUpToDate(page);
        return TRUE;
      }
      if ((id == kSameTimeControls || id == kSeparateTimeControls) && code == BN_CLICKED) {
        CheckRadioButton(page, kSameTimeControls, kSeparateTimeControls, id);
        BringTimePageUpToDate(page);
        return TRUE;
      }
      for (int spin : kSpinIds)
        if (id == spin && (code == SPEN_FORMAT || code == SPEN_CHANGED)) {
          ReadSpins(page);
          return code == SPEN_FORMAT ? FALSE : TRUE;
        }
      return FALSE;
    }
    case WM_DESTROY:
      if (g_setup.pages[1] == page) g_setup.pages[1] = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK RulesPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      g_setup.pages[2] = page;
      RulesPageInit(page);
      return TRUE;
    case WM_CTLCOLOREDIT:
      return EditColour(wParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return TransparentColour(wParam);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(page, &ps);
      RECT board{kOddsBoardX, kOddsBoardY, kOddsBoardX + 8 * kOddsSquare + 6, kOddsBoardY + 8 * kOddsSquare + 6};
      RECT meet;
      if (IntersectRect(&meet, &board, &ps.rcPaint)) PaintOddsBoard(page, dc);
      EndPaint(page, &ps);
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      RulesClick(page, lParam);
      return TRUE;
    case WM_COMMAND:
      if (!g_setup.game) return FALSE;
      if (LOWORD(wParam) == kWhiteBlindfold || LOWORD(wParam) == kBlackBlindfold) {
        PlayerRecord* p = LOWORD(wParam) == kWhiteBlindfold ? &g_setup.game->white : &g_setup.game->black;
        p->blindfold = IsDlgButtonChecked(page, LOWORD(wParam)) == BST_CHECKED ? 1 : 0;
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      RulesPageDestroy(page);
      if (g_setup.pages[2] == page) g_setup.pages[2] = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}
