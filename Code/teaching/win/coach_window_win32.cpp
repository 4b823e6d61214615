// The chess coach window: its three pages, the game it follows and the
// findings lookups it asks of the database window.
// notation.h before windows.h, whose macros its names would meet.
#include "notation.h"
// clang-format off
#include "coach_window_win32.h"
// clang-format on

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app_globals.h"
#include "app_main.h"
#include "app_messages.h"
#include "bookreader.h"
#include "coach.h"
#include "coach_rules.h"
#include "dbwindow_win32.h"
#include "game_end.h"
#include "game_record.h"
#include "game_registry.h"
#include "main_frame.h"
#include "win/markup_glyphs_win32.h"
#include "menu_commands.h"
#include "movegen.h"
#include "room_board_win32.h"
#include "room_records.h"
#include "teaching_board_win32.h"
#include "win/board_view_win32.h"
#include "window_order_win32.h"
#include "window_table.h"

namespace {

constexpr int kCoachDialog = 1928;
constexpr int kTabControl = 1813;
constexpr int kAdviceList = 2204;
constexpr int kFindingsList = 2203;
constexpr int kPageCount = 3;
constexpr int kCoachCommand = 40035;
constexpr UINT kRefitMessage = 0x8615;
constexpr int kFirstModeButton = 5261, kLastModeButton = 5272;
constexpr int kNoMoreAdvice = 65535;
constexpr UINT_PTR kOrderTimer = 1;
const char* const kPageDialogs[kPageCount] = {"COACH_ADVICE", "COACH_DATABASE", "COACH_TEACHINGMODE"};
const char* const kTabTexts[kPageCount] = {"Advice", "Database Findings", "Teaching Mode"};
const char* const kColumnTexts[3] = {"Move", "Results", "Pct"};

// The findings columns' widths, kept for the program's run.
int g_findingsWidths[3] = {100, 110, 70};
// Request numbers of findings lookups, program-wide.
uint32_t g_requestCounter = 0;
HWND g_coach = nullptr;
HINSTANCE g_instance = nullptr;
int (*g_createModeless)() = nullptr;
int (*g_destroyModeless)() = nullptr;

struct CoachWindowData {
  int page = 0;
  HWND pages[kPageCount] = {};
  GameRecord* game = nullptr;
  std::vector<MoveRecord> moves;  // the game's moves, then room for the advice move
  int legalCount = 0;
  int entryState = 1000;  // 1000: free
  int takeMove = 1;
  bool computed = false;
  bool locked = false;
  bool filled[kPageCount] = {};
  CoachSession session;
  std::vector<std::string> lines;  // the Advice list's lines, by legal move
};

struct CoachFindingsData {
  std::vector<OpeningMoveEntry> rows;  // pending while a lookup collects
  int rowCount = 0;
  int next = 0;
  uint32_t request = 0;
  bool pending = false;
};

CoachWindowData* DataOf(HWND coach) {
  return coach ? reinterpret_cast<CoachWindowData*>(GetWindowLongPtrA(coach, GWLP_USERDATA)) : nullptr;
}
CoachFindingsData* FindingsOf(HWND page) {
  return page ? reinterpret_cast<CoachFindingsData*>(GetWindowLongPtrA(page, GWLP_USERDATA)) : nullptr;
}

BoardView* CurrentBoardView() {
  RoomRecord* record = GetCurrentRoomRecord();
  if (!record) return nullptr;
  if (BoardView* view = GetRoomBoardView(record->room)) return view;
  return record->boardWindow ? GetBoardViewOfWindow(static_cast<HWND>(record->boardWindow)) : nullptr;
}

int CurrentNotationStyle() {
  const int style = GetNotationStyle();
  return style >= 0 && style <= 5 ? style : 0;
}

// ---- advice

void ResetAdvice(CoachWindowData* d) {
  d->computed = false;
  d->lines.clear();
  d->legalCount = 0;
  for (bool& f : d->filled) f = false;
}

// The main book for the advice texts of book positions.
class MainBookQuery final : public OpeningBookQuery {
 public:
  int GetBookSlot() const override { return ::GetBookSlot(); }
  bool SelectBookSlot(int index) override { return ::SelectBookSlot(index); }
  bool PickBookMove(const MoveRecord* line, int count, MoveRecord* move) override {
    return ::PickBookMove(line, count, false, move);
  }
  bool LookupBookPosition(const MoveRecord* line, int count, BookPositionText* text) override {
    std::string comment, name;
    if (!::LookupBookPosition(line, count, &comment, &name, nullptr)) return false;
    text->longText = comment.substr(0, 2048);
    text->shortText = comment.substr(0, 500);
    text->label = name;
    return true;
  }
};

void FillAdvicePage(HWND coach, CoachWindowData* d) {
  HWND list = GetDlgItem(d->pages[0], kAdviceList);
  if (!list) return;
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  const std::vector<MoveRecord>& legal = d->session.legalMoves();
  const int style = CurrentNotationStyle();
  const int ply = d->game ? GetCurrentPly(d->game) : 0;
  const bool fromStart = d->game && IsStandardStart(d->game) && ply < static_cast<int>(d->moves.size());
  MainBookQuery book;
  d->lines.assign(legal.size(), std::string());
  // The game's moves up to the position, then each legal move in turn as
  // the next ply: from the standard start the book names the line.
  std::vector<MoveRecord> line(d->moves.begin(), d->moves.begin() + (fromStart ? ply : 0));
  line.push_back(MoveRecord{});
  for (size_t n = 0; n < legal.size(); ++n) {
    line.back() = legal[n];
    const int at = static_cast<int>(line.size()) - 1;
    if (fromStart)
      d->session.SetCoachLine(&d->game->start, d->game->startSide, line.data(), at + 1);
    else
      d->session.SetCoachLine(&d->session.position(), d->session.side(), &legal[n], 1);
    d->session.RequestCoachReset();
    const int slot = static_cast<int>(d->moves.size()) - 1;
    const std::string text = d->session.DescribeCoachMove(fromStart ? at : 0, d->moves.data(), slot < 0 ? 0 : slot,
                                                          fromStart ? 1 : 0, style, fromStart ? &book : nullptr);
    d->lines[n] = CoachAdviceLine(text);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d->lines[n].c_str()));
    TeachingTrace(("coach line " + std::to_string(n) + ":" + d->lines[n]).c_str());
  }
  (void)ply;
  (void)coach;
}

void LookupCoachFindings(HWND coach, CoachWindowData* d);

void FillCoachPages(HWND coach) {
  CoachWindowData* d = DataOf(coach);
  if (!d || !d->computed) return;
  if (!d->filled[0]) {
    FillAdvicePage(coach, d);
    d->filled[0] = true;
  }
  if (d->page == 1 && !d->filled[1]) {
    if (HWND list = GetDlgItem(d->pages[1], kFindingsList)) ListView_DeleteAllItems(list);
    LookupCoachFindings(coach, d);
    d->filled[1] = true;
  }
}

void ComputeCoachAdvice(HWND coach) {
  CoachWindowData* d = DataOf(coach);
  if (!d) return;
  const bool visible = IsWindowVisible(coach) != 0;
  if (!CoachAdviceDue(d->computed, d->game != nullptr, visible, d->game ? d->game->kind : 0)) return;
  GetAdviceMove(-1, nullptr);
  d->session.AnalyzeCoachPosition(&d->game->position, d->game->sideToMove);
  int count = 0;
  d->moves.clear();
  if (MoveRecord* copy = CopyGameMoves(d->game, &count)) {
    for (int i = 0; i < count; ++i) {
      MoveRecord m{};
      m.from = copy[i].from;
      m.to = copy[i].to;
      m.flags = copy[i].flags;
      d->moves.push_back(m);
    }
    FreeMoveArray(copy);
  }
  d->moves.resize(d->moves.size() + 2, MoveRecord{});
  d->legalCount = CountLegalMoves(&d->game->position, d->game->sideToMove);
  d->entryState = 1000;
  d->takeMove = 1;
  d->computed = true;
  FillCoachPages(coach);
  TeachingTrace(("coach advice " + std::to_string(d->lines.size())).c_str());
}

void RefreshTeachingPage(CoachWindowData* d) {
  HWND page = d->pages[2];
  BoardView* view = CurrentBoardView();
  const int mode = view ? GetTeachingMode(view) : kFirstModeButton;
  const int button = mode >= kFirstModeButton && mode <= kLastModeButton ? mode : kFirstModeButton;
  for (int id = kFirstModeButton; id <= kLastModeButton; ++id)
    if (GetDlgItem(page, id)) CheckDlgButton(page, id, id == button ? BST_CHECKED : BST_UNCHECKED);
}

void OnCoachGameEvent(HWND coach, int code, GameRecord* game) {
  CoachWindowData* d = DataOf(coach);
  if (!d) return;
  const CoachEventAction a = DecideCoachEvent(code, d->locked);
  if (a.resetAdvice) ResetAdvice(d);
  if (a.lock) d->locked = true;
  if (a.unlock) d->locked = false;
  if (!a.reattach) return;
  d->game = game ? game : GetCurrentGame();
  ResetAdvice(d);
  if (HWND list = GetDlgItem(d->pages[0], kAdviceList)) SendMessageA(list, LB_RESETCONTENT, 0, 0);
  ComputeCoachAdvice(coach);
  RefreshTeachingPage(d);
}

// ---- findings

void AddFindingsRow(HWND list, const std::string& move, const std::string& results, const std::string& pct) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = ListView_GetItemCount(list);
  item.pszText = const_cast<char*>(move.c_str());
  const int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (at < 0) return;
  ListView_SetItemText(list, at, 1, const_cast<char*>(results.c_str()));
  ListView_SetItemText(list, at, 2, const_cast<char*>(pct.c_str()));
}

void ShowCoachFindingRow(HWND coach, HWND list, const OpeningMoveEntry& row) {
  CoachWindowData* d = DataOf(coach);
  if (!d) return;
  const std::string coords(row.move, strnlen(row.move, sizeof row.move));
  const int found = d->session.FindMoveByCoordinates(coords);
  if (found < 0) return;
  const std::string line = found < static_cast<int>(d->lines.size()) ? d->lines[size_t(found)] : std::string();
  const std::string move = CoachMoveColumnText(line, coords);
  const std::string results = CoachResultsText(row.whiteWins, row.draws, row.blackWins);
  const std::string pct = CoachPctText(row.whiteWins, row.draws, row.blackWins);
  AddFindingsRow(list, move, results, pct);
  TeachingTrace(("coach row " + move + " " + results + " " + pct).c_str());
}

// A row that says why there are no moves: the first column widens to hold
// it (for this showing only; the kept widths stay).
void ShowMessageRow(HWND list, const std::string& text) {
  AddFindingsRow(list, text, "", "");
  const int need = ListView_GetStringWidth(list, text.c_str()) + 16;
  if (ListView_GetColumnWidth(list, 0) < need) ListView_SetColumnWidth(list, 0, need);
}

void ShowFindings(HWND coach, HWND list, const CoachFindingsData& f, int count) {
  ListView_SetColumnWidth(list, 0, g_findingsWidths[0]);
  for (int i = 0; i < count && i < static_cast<int>(f.rows.size()); ++i) ShowCoachFindingRow(coach, list, f.rows[size_t(i)]);
}

void LookupCoachFindings(HWND coach, CoachWindowData* d) {
  HWND page = d->pages[1];
  HWND list = GetDlgItem(page, kFindingsList);
  CoachFindingsData* f = FindingsOf(page);
  if (!list || !f || !d->game) return;
  // A lookup still collecting for an older position ends first.
  WaitForDatabaseJob();
  const int capacity = d->legalCount > 0 ? d->legalCount : 1;
  f->rows.assign(size_t(capacity), OpeningMoveEntry{});
  for (OpeningMoveEntry& e : f->rows) e.size = sizeof(OpeningMoveEntry);
  f->pending = false;
  f->request = NextCoachRequest(&g_requestCounter);
  HGLOBAL text = CopyGameToGlobal(d->game);
  if (!text) {
    f->rows.clear();
    return;
  }
  int count = capacity;
  GlobalUnlock(text);
  const int result = FindOpeningKeyMoves(page, text, GetCurrentPly(d->game), f->rows.data(), &count, f->request);
  GlobalFree(text);
  TeachingTrace(("coach lookup " + std::to_string(result) + " " + std::to_string(count)).c_str());
  const CoachLookupShow show = DescribeCoachLookup(result, count);
  if (show.showRows) ShowFindings(coach, list, *f, count);
  if (show.addLastRow) {
    ShowMessageRow(list, show.lastRow);
    TeachingTrace(("coach row text " + show.lastRow).c_str());
  }
  f->rowCount = count;
  f->pending = show.keepRows;
  if (!show.keepRows) f->rows.clear();
}

void ReadColumnWidths(HWND list) {
  for (int i = 0; i < 3; ++i) {
    const int w = ListView_GetColumnWidth(list, i);
    if (w > 0) g_findingsWidths[i] = w;
  }
}

void FitColumns(HWND page) {
  HWND list = GetDlgItem(page, kFindingsList);
  RECT r;
  if (!list || !GetClientRect(list, &r)) return;
  const int total = g_findingsWidths[0] + g_findingsWidths[1] + g_findingsWidths[2];
  // Room for a vertical scroll bar, so that rows added later do not push
  // the last column out of sight.
  const int width = r.right - ((GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) ? 0 : GetSystemMetrics(SM_CXVSCROLL));
  if (total <= 0 || width <= 0) return;
  int used = 0;
  for (int i = 0; i < 3; ++i) {
    const int w = i == 2 ? width - used : g_findingsWidths[i] * width / total;
    ListView_SetColumnWidth(list, i, w);
    used += w;
  }
  ReadColumnWidths(list);
}

void FillParent(HWND page, HWND control) {
  RECT r;
  GetClientRect(page, &r);
  SetWindowPos(control, nullptr, 0, 0, r.right, r.bottom, SWP_NOZORDER);
}

INT_PTR CALLBACK AdvicePageProc(HWND page, UINT message, WPARAM first, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      HWND list = GetDlgItem(page, kAdviceList);
      SendMessageA(list, LB_SETCOLUMNWIDTH, 540, 0);
      SendMessageA(list, LB_SETITEMHEIGHT, 0, 18);
      return FALSE;
    }
    case WM_SIZE:
      FillParent(page, GetDlgItem(page, kAdviceList));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(first) == kAdviceList && HIWORD(first) == LBN_DBLCLK) {
        const int at = static_cast<int>(SendDlgItemMessageA(page, kAdviceList, LB_GETCURSEL, 0, 0));
        PlayAdviceMove(g_coach, at == LB_ERR ? -1 : at);
        return TRUE;
      }
      break;
    case WM_CHARTOITEM:
      if (HWND main = GetMainFrame()) PostMessageA(main, WM_CHAR, LOWORD(first), 0);
      SetWindowLongPtrA(page, DWLP_MSGRESULT, -2);
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK FindingsPageProc(HWND page, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new CoachFindingsData));
      HWND list = GetDlgItem(page, kFindingsList);
      ListView_SetExtendedListViewStyle(list, LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
      for (int i = 0; i < 3; ++i) {
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        c.fmt = i == 2 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        c.cx = g_findingsWidths[i];
        c.pszText = const_cast<char*>(kColumnTexts[i]);
        SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(i), reinterpret_cast<LPARAM>(&c));
      }
      return FALSE;
    }
    case WM_SIZE:
      FillParent(page, GetDlgItem(page, kFindingsList));
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* h = reinterpret_cast<const NMHDR*>(second);
      if (h->idFrom == kFindingsList && h->code == LVN_ITEMACTIVATE) {
        const auto* act = reinterpret_cast<const NMITEMACTIVATE*>(second);
        char text[64] = "";
        ListView_GetItemText(h->hwndFrom, act->iItem, 0, text, sizeof text);
        // The row's move among the advice lines.
        CoachWindowData* d = DataOf(g_coach);
        int index = -1;
        if (d)
          for (size_t i = 0; i < d->lines.size(); ++i)
            if (CoachMoveColumnText(d->lines[i], "") == text) index = static_cast<int>(i);
        PlayAdviceMove(g_coach, index);
        return TRUE;
      }
      if (h->code == HDN_ENDTRACKA || h->code == HDN_ENDTRACKW) PostMessageA(page, WM_APP + 1, 0, 0);
      break;
    }
    case WM_APP + 1:
      ReadColumnWidths(GetDlgItem(page, kFindingsList));
      return TRUE;
    case kCoachFindingsMessage: {
      CoachFindingsData* f = FindingsOf(page);
      HWND list = GetDlgItem(page, kFindingsList);
      if (!f || !f->pending || static_cast<uint32_t>(first) != f->request) return TRUE;  // a stale answer
      // The rows so far and "Search..." make way for the whole answer.
      const int count = static_cast<int>(second);
      ListView_DeleteAllItems(list);
      if (count > 0)
        ShowFindings(g_coach, list, *f, count);
      else
        ShowMessageRow(list, "None");
      f->rows.clear();
      f->pending = false;
      return TRUE;
    }
    case kRefitMessage:
      PostMessageA(page, RWM_COACH_REFRESH, 0, 0);
      return TRUE;
    case RWM_COACH_REFRESH:
      FitColumns(page);
      return TRUE;
    case WM_DESTROY: {
      WaitForDatabaseJob();
      delete FindingsOf(page);
      SetWindowLongPtrA(page, GWLP_USERDATA, 0);
      return FALSE;
    }
  }
  return FALSE;
}

INT_PTR CALLBACK TeachingPageProc(HWND page, UINT message, WPARAM first, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      BoardView* view = CurrentBoardView();
      const int mode = view ? GetTeachingMode(view) : 0;
      CheckDlgButton(page, mode >= kFirstModeButton && mode <= kLastModeButton ? mode : kFirstModeButton,
                     BST_CHECKED);
      return FALSE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(first);
      if (HIWORD(first) != BN_CLICKED || id < kFirstModeButton || id > kLastModeButton) break;
      BoardView* view = CurrentBoardView();
      if (!view) return TRUE;
      SetTeachingMode(view, id);
      CoachWindowData* d = DataOf(g_coach);
      if (d && d->game) ApplyTeachingMode(view, d->game->position);
      return TRUE;
    }
  }
  return FALSE;
}

// ---- the window

void LayOutPages(HWND coach) {
  CoachWindowData* d = DataOf(coach);
  HWND tab = GetDlgItem(coach, kTabControl);
  if (!d || !tab) return;
  RECT client;
  GetClientRect(coach, &client);
  SetWindowPos(tab, nullptr, 4, 4, client.right - 8, client.bottom - 8, SWP_NOZORDER);
  // The three tabs share the strip, so none scrolls out of sight.
  TabCtrl_SetItemSize(tab, std::max<int>(40, (client.right - 14) / kPageCount), 20);
  RECT display;
  GetClientRect(tab, &display);
  TabCtrl_AdjustRect(tab, FALSE, &display);
  MapWindowPoints(tab, coach, reinterpret_cast<POINT*>(&display), 2);
  for (HWND page : d->pages)
    if (page)
      SetWindowPos(page, HWND_TOP, display.left, display.top, display.right - display.left,
                   display.bottom - display.top, 0);
  if (d->pages[1]) PostMessageA(d->pages[1], kRefitMessage, 0, 0);
}

void SelectPage(HWND coach, int index) {
  CoachWindowData* d = DataOf(coach);
  if (!d || index < 0 || index >= kPageCount) return;
  for (int i = 0; i < kPageCount; ++i)
    if (d->pages[i]) ShowWindow(d->pages[i], i == index ? SW_SHOW : SW_HIDE);
  d->page = index;
  FillCoachPages(coach);
}

void CreateCoachPages(HWND coach, CoachWindowData* d) {
  HWND tab = GetDlgItem(coach, kTabControl);
  const DLGPROC procs[kPageCount] = {AdvicePageProc, FindingsPageProc, TeachingPageProc};
  for (int i = 0; i < kPageCount; ++i) {
    d->pages[i] = CreateDialogParamA(g_instance, kPageDialogs[i], coach, procs[i], 0);
    if (d->pages[i]) {
      SetWindowLongPtrA(d->pages[i], GWLP_ID, i + 1);
      ShowWindow(d->pages[i], SW_HIDE);
    }
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kTabTexts[i]);
    SendMessageA(tab, TCM_INSERTITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
  }
  LayOutPages(coach);
  TabCtrl_SetCurSel(tab, 0);
  SelectPage(coach, 0);
}

void AppendCoachNotationMenu(HMENU menu) {
  const int style = CurrentNotationStyle();
  for (const CoachNotationItem& item : kCoachNotationItems)
    AppendMenuA(menu, MF_STRING | (item.style == style ? MF_CHECKED : 0), UINT_PTR(item.command), item.text);
}

void ShowCoachMenu(HWND coach, int x, int y) {
  HMENU popup = CreatePopupMenu();
  HMENU notation = CreatePopupMenu();
  AppendCoachNotationMenu(notation);
  AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(notation), "Notation");
  AppendMenuA(popup, MF_STRING, 40026, "Quick Hint");
  AppendMenuA(popup, MF_STRING, 40027, "Natural Language Advice");
  AppendMenuA(popup, MF_STRING, 40, "Help");
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x + 1, y + 1, 0, coach, nullptr);
  DestroyMenu(popup);
}

INT_PTR CALLBACK CoachDlgProc(HWND coach, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG: {
      g_coach = coach;
      auto* d = new CoachWindowData;
      SetWindowLongPtrA(coach, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(d));
      CreateCoachPages(coach, d);
      d->game = GetCurrentGame();
      NumberedWindowOp(WOP_SET_HANDLE, WIN_COACH, reinterpret_cast<intptr_t>(coach));
      SetTimer(coach, kOrderTimer, kKeepAboveOwnerMs, nullptr);
      return FALSE;
    }
    case WM_TIMER:
      if (first == kOrderTimer) KeepAboveOwner(coach);
      return TRUE;
    case WM_CLOSE:
      NumberedWindowOp(WOP_SHOW, WIN_COACH, WSC_HIDE);
      if (HWND main = GetMainFrame()) ToggleMenuCheck(main, kCoachCommand);
      return TRUE;
    case RWM_GAME_EVENT:
      OnCoachGameEvent(coach, static_cast<int>(first), reinterpret_cast<GameRecord*>(second));
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(first);
      if (id == 40 || id == 40026 || id == 40027 || (id >= 40153 && id <= 40158)) {
        if (HWND main = GetMainFrame()) PostMessageA(main, WM_COMMAND, WPARAM(id), 0);
        return TRUE;
      }
      break;
    }
    case WM_CONTEXTMENU:
      ShowCoachMenu(coach, static_cast<short>(LOWORD(second)), static_cast<short>(HIWORD(second)));
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* h = reinterpret_cast<const NMHDR*>(second);
      if (h->idFrom == kTabControl && h->code == TCN_SELCHANGE) SelectPage(coach, TabCtrl_GetCurSel(h->hwndFrom));
      break;
    }
    case WM_SIZE:
      LayOutPages(coach);
      return TRUE;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(second);
      RECT r;
      GetWindowRect(coach, &r);
      const int32_t xywh[4] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
      if (GetNumberedWindow(WIN_COACH) == coach)
        NumberedWindowOp(WOP_SET_RECT_XYWH, WIN_COACH, reinterpret_cast<intptr_t>(xywh));
      if (pos->flags & SWP_SHOWWINDOW) {
        if (CoachWindowData* d = DataOf(coach)) {
          if (!d->game) d->game = GetCurrentGame();
          ComputeCoachAdvice(coach);
        }
      }
      break;
    }
    case WM_DESTROY: {
      KillTimer(coach, kOrderTimer);
      CoachWindowData* d = DataOf(coach);
      if (d)
        for (HWND page : d->pages)
          if (page) DestroyWindow(page);
      delete d;
      SetWindowLongPtrA(coach, GWLP_USERDATA, 0);
      if (GetNumberedWindow(WIN_COACH) == coach) NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_COACH, 0);
      g_coach = nullptr;
      return FALSE;
    }
  }
  return FALSE;
}

int CreateModelessWithCoach() {
  const int made = g_createModeless ? g_createModeless() : 1;
  if (HWND main = GetMainFrame()) CreateCoachWindow(main, GetModuleHandleA(nullptr));
  return made;
}

int DestroyModelessWithCoach() {
  DestroyCoachWindow();
  return g_destroyModeless ? g_destroyModeless() : 1;
}

}  // namespace

HWND CreateCoachWindow(HWND main, HINSTANCE instance) {
  if (g_coach) return g_coach;
  if (!main) return nullptr;
  g_instance = instance ? instance : GetModuleHandleA(nullptr);
  return CreateDialogParamA(g_instance, MAKEINTRESOURCEA(kCoachDialog), main, CoachDlgProc, 0);
}

void ShowCoachWindow(int show) {
  if (g_coach) NumberedWindowOp(WOP_SHOW, WIN_COACH, show ? WSC_SHOW : WSC_HIDE);
}

void DestroyCoachWindow() {
  if (g_coach) DestroyWindow(g_coach);
}

HWND GetCoachWindow() { return g_coach; }

const MoveRecord* GetAdviceMove(int index, char* text) {
  static MoveRecord list[kMoveListRoom];
  static uint16_t count = 0;
  static Board position{};
  GameRecord* game = GetCurrentGame();
  if (!game) return nullptr;
  if (index < 0) {
    position = game->position;
    GenerateLegalMoves(&position, list, &count, game->sideToMove);
    return count ? &list[0] : nullptr;
  }
  if (index >= count) return nullptr;
  if (text) {
    const int style = CurrentNotationStyle();
    if (style <= 2) {
      const NotationOptions options = DefaultNotationOptions(style);
      MoveToText(&position, list, count, index, style, &options, text);
    } else {
      MoveToNotation(&position, &list[index], game->sideToMove, style, text);
    }
  }
  return &list[index];
}

void PlayAdviceMove(HWND coach, int index) {
  if (index == kNoMoreAdvice) return;
  CoachWindowData* d = DataOf(coach);
  GameRecord* game = d ? d->game : nullptr;
  const std::vector<MoveRecord>* legal = d ? &d->session.legalMoves() : nullptr;
  const int side = game ? game->sideToMove : 0;
  PlayerRecord* player = game ? PlayerForSide(game, side) : nullptr;
  const bool takes = d && (d->entryState == side + 10 || d->entryState == 1000) && d->takeMove;
  if (index < 0 || !legal || index >= static_cast<int>(legal->size()) || !player || player->kind != 0 || !takes) {
    MessageBeep(0);
    return;
  }
  const MoveRecord move = (*legal)[size_t(index)];
  d->entryState = 0;
  d->takeMove = 0;
  TeachingTrace(("coach played " + std::to_string(move.from) + " " + std::to_string(move.to)).c_str());
  PlayMove(game, &move, true);
}

void ConnectCoachWindow() {
  StartupServices& startup = GetStartupServices();
  g_createModeless = startup.createModelessWindows;
  g_destroyModeless = startup.destroyModelessWindows;
  startup.createModelessWindows = CreateModelessWithCoach;
  startup.destroyModelessWindows = DestroyModelessWithCoach;
}
