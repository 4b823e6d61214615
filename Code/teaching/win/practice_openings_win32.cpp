// Practice openings: the preparation wait, the setup dialog with its name
// tree, and the practice dialog that plays the line on the classroom board.
#include "practice_openings_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app_globals.h"
#include "bookreader.h"
#include "curriculum_window_win32.h"
#include "lesson_window_win32.h"
#include "main_frame.h"
#include "message_box.h"
#include "practice_openings.h"
#include "position_text.h"
#include "room_records.h"
#include "room_switch.h"
#include "teaching_board_win32.h"
#include "win/board_view_win32.h"
#include "win_utils_win32.h"
#include "window_order_win32.h"

namespace {

enum : int {
  kCancelPreparation = 284,
  kStartIndexing = 200,
  kTree = 280,
  kNameField = 281,
  kMoveList = 282,
  kPlayWhite = 285,
  kPlayBlack = 286,
  kSearchButton = 3089,
  kClearButton = 3090,
  kSearchField = 3091,
  kEcoField = 5233,
  kPrompt = 6000,
  kHintButton = 6012,
};
constexpr UINT_PTR kOrderTimer = 1;
enum : UINT {
  kNoOpeningsFound = 424,
  kChooseASide = 604,
  kMakeWhiteMove = 605,
  kMakeBlackMove = 606,
  kPracticeFinished = 607,
};

// One practice at a time.
struct PracticeState {
  PracticeLine line;
  PracticeLine shown;  // the setup dialog's selection
  int chosenEntry = 0;
  PracticeSides sides{true, false};
  HWND window = nullptr;
  bool again = false;
  int preparation = 0;  // 0 indexing, 1 done with names, -1 cancelled or none
  std::vector<MoveRecord> played;
  BoardWndCallback roomCallback = nullptr;
  intptr_t roomCallbackData = 0;
  HWND boardWindow = nullptr;
  bool boardInstalled = false;
  bool treeBuilt = false;
  HINSTANCE instance = nullptr;
};
PracticeState g;

std::string LoadText(UINT id) {
  char text[512] = "";
  LoadStringA(g.instance ? g.instance : GetModuleHandleA(nullptr), id, text, sizeof text);
  return text;
}

int CurrentNotationStyle() {
  const int style = GetNotationStyle();
  return style >= 0 && style <= 5 ? style : 0;
}

// Keeps slot 0 selected while it lives and puts the caller's slot back.
class MainBookSlot {
 public:
  MainBookSlot() : previous_(GetBookSlot()) { SelectBookSlot(0); }
  ~MainBookSlot() { SelectBookSlot(previous_); }
  MainBookSlot(const MainBookSlot&) = delete;
  MainBookSlot& operator=(const MainBookSlot&) = delete;

 private:
  int previous_;
};

// "e2e4", for the trace.
std::string SquareNames(const MoveRecord& move) {
  std::string out;
  for (int square : {move.from, move.to}) {
    out += static_cast<char>('a' + (square & 7));
    out += static_cast<char>('8' - (square >> 4));
  }
  return out;
}

BoardView* ClassroomView() { return g.boardWindow ? GetBoardViewOfWindow(g.boardWindow) : nullptr; }

// ---- the preparation

DWORD g_lastPump = 0;

// Polled by the indexing: lets "Cancel" reach the dialog and stops once the
// state says cancelled.
int PracticeIndexProgress() {
  const DWORD now = GetTickCount();
  if (now - g_lastPump >= 30) {
    g_lastPump = now;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
  return g.preparation == -1 ? 1 : 0;
}

INT_PTR CALLBACK PreparePracticeDlgProc(HWND dialog, UINT message, WPARAM first, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      if (HWND main = GetMainFrame()) CenterWindow(dialog, main);
      g.preparation = 0;
      PostMessageA(dialog, WM_COMMAND, kStartIndexing, 0);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(first)) {
        case kStartIndexing: {
          if (g.preparation != 0) return TRUE;
          bool indexed = false;
          {
            MainBookSlot slot;
            g_lastPump = GetTickCount();
            indexed = IndexBookWithProgress(PracticeIndexProgress);
          }
          if (g.preparation == -1) return TRUE;  // cancelled: the dialog has ended
          MainBookSlot slot;
          g.preparation = indexed && !GetBookEntryText(0).empty() ? 1 : -1;
          EndDialog(dialog, g.preparation == 1 ? 1 : 0);
          return TRUE;
        }
        case kCancelPreparation:
        case IDCANCEL:
          g.preparation = -1;
          EndDialog(dialog, 0);
          return TRUE;
      }
      break;
    case WM_CLOSE:
      PostMessageA(dialog, WM_COMMAND, kCancelPreparation, 0);
      return TRUE;
  }
  return FALSE;
}

// ---- the line shown in a dialog

void ShowPracticeLine(HWND dialog, const PracticeLine& line, int plies) {
  HWND list = GetDlgItem(dialog, kMoveList);
  if (list) {
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& row : PracticeLineRows(line, plies, CurrentNotationStyle()))
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count > 0) SendMessageA(list, LB_SETTOPINDEX, WPARAM(count - 1), 0);
  }
  const int count = plies < 0 || plies > int(line.moves.size()) ? int(line.moves.size()) : plies;
  std::string eco;
  MainBookSlot slot;
  if (count > 0) LookupBookPosition(line.moves.data(), count, nullptr, nullptr, &eco);
  SetDlgItemTextA(dialog, kEcoField, eco.substr(0, kPracticeEcoSize).c_str());
}

PracticeLine LineOfEntry(int entry) {
  MainBookSlot slot;
  std::vector<MoveRecord> moves;
  GetBookEntryLine(entry, &moves);
  return StorePracticeLine(entry, GetBookEntryText(entry), moves, "");
}

// ---- the setup dialog

void SelectEntry(HWND dialog, int entry) {
  g.chosenEntry = entry;
  g.shown = LineOfEntry(entry);
  SetDlgItemTextA(dialog, kNameField, g.shown.name.c_str());
  ShowPracticeLine(dialog, g.shown, -1);
}

// Fills the tree; false when the search found nothing.
bool BuildPracticeTreeView(HWND dialog, const std::string& search) {
  HWND tree = GetDlgItem(dialog, kTree);
  g.treeBuilt = false;
  std::vector<PracticeTreeNode> nodes;
  {
    MainBookSlot slot;
    nodes = BuildPracticeTree(GetBookEntryText, search);
  }
  if (nodes.empty()) return false;
  SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
  TreeView_DeleteAllItems(tree);
  std::vector<HTREEITEM> items(nodes.size(), nullptr);
  HTREEITEM chosen = nullptr;
  for (size_t i = 0; i < nodes.size(); ++i) {
    TVINSERTSTRUCTA ins{};
    ins.hParent = nodes[i].parent >= 0 ? items[size_t(nodes[i].parent)] : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<char*>(nodes[i].text.c_str());
    ins.item.lParam = nodes[i].entry;
    items[i] = TreeView_InsertItem(tree, &ins);
    if (nodes[i].entry == g.chosenEntry) chosen = items[i];
  }
  SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
  g.treeBuilt = true;
  if (!chosen) chosen = items[0];
  TreeView_SelectItem(tree, chosen);
  TreeView_EnsureVisible(tree, chosen);
  TVITEMA item{};
  item.mask = TVIF_PARAM;
  item.hItem = chosen;
  if (TreeView_GetItem(tree, &item)) SelectEntry(dialog, static_cast<int>(item.lParam));
  InvalidateRect(tree, nullptr, TRUE);
  return true;
}

INT_PTR CALLBACK SetupPracticeOpeningDlgProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG:
      if (HWND main = GetMainFrame()) CenterWindow(dialog, main);
      CheckDlgButton(dialog, kPlayWhite, g.sides.white ? BST_CHECKED : BST_UNCHECKED);
      CheckDlgButton(dialog, kPlayBlack, g.sides.black ? BST_CHECKED : BST_UNCHECKED);
      BuildPracticeTreeView(dialog, "");
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* h = reinterpret_cast<const NMHDR*>(second);
      if (h->idFrom != kTree) break;
      if ((h->code == TVN_SELCHANGEDA || h->code == TVN_SELCHANGEDW) && g.treeBuilt) {
        const auto* change = reinterpret_cast<const NMTREEVIEWA*>(second);
        if (change->itemNew.hItem) {
          TVITEMA item{};
          item.mask = TVIF_PARAM;
          item.hItem = change->itemNew.hItem;
          if (TreeView_GetItem(h->hwndFrom, &item)) SelectEntry(dialog, static_cast<int>(item.lParam));
        }
      } else if (h->code == NM_DBLCLK) {
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      }
      break;
    }
    case WM_COMMAND:
      switch (LOWORD(first)) {
        case kSearchButton: {
          char text[256] = "";
          GetDlgItemTextA(dialog, kSearchField, text, sizeof text);
          if (!BuildPracticeTreeView(dialog, UpperCaseText(text))) {
            AppMessageBoxOwned(LoadText(kNoOpeningsFound).c_str(), MB_OK | MB_ICONINFORMATION, dialog);
            BuildPracticeTreeView(dialog, "");
          }
          return TRUE;
        }
        case kClearButton:
          BuildPracticeTreeView(dialog, "");
          return TRUE;
        case IDOK: {
          const bool white = IsDlgButtonChecked(dialog, kPlayWhite) == BST_CHECKED;
          const bool black = IsDlgButtonChecked(dialog, kPlayBlack) == BST_CHECKED;
          if (!white && !black) {
            AppMessageBoxOwned(LoadText(kChooseASide).c_str(), MB_OK | MB_ICONEXCLAMATION, dialog);
            return TRUE;
          }
          g.sides = PracticeSides{white, black};
          char eco[8] = "";
          GetDlgItemTextA(dialog, kEcoField, eco, sizeof eco);
          MainBookSlot slot;
          std::vector<MoveRecord> moves;
          GetBookEntryLine(g.chosenEntry, &moves);
          g.line = StorePracticeLine(g.chosenEntry, GetBookEntryText(g.chosenEntry), moves, eco);
          EndDialog(dialog, 1);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        case 40:
          if (HWND main = GetMainFrame()) PostMessageA(main, WM_COMMAND, 40, 0);
          return TRUE;
      }
      break;
    case WM_CONTEXTMENU: {
      HMENU popup = CreatePopupMenu();
      AppendMenuA(popup, MF_STRING, 40, "Help");
      TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, static_cast<short>(LOWORD(second)),
                     static_cast<short>(HIWORD(second)), 0, dialog, nullptr);
      DestroyMenu(popup);
      return TRUE;
    }
  }
  return FALSE;
}

// ---- playing the line

// The position of the played moves on the classroom board.
void ShowPlayedPosition() {
  PracticeLine played;
  played.moves = g.played;
  int side = WHITE;
  const Board board = PracticePosition(played, -1, &side);
  char fen[kFenTextSize];
  BoardToFen(&board, side, int(g.played.size()) / 2 + 1, fen);
  if (LessonBoardHooks hooks = GetLessonBoardHooks(); hooks.showPosition) hooks.showPosition(fen);
  // Drops any drag and places the pieces from the position.
  if (g.boardWindow) SendMessageA(g.boardWindow, kGameEventMessage, GAME_NEW_POSITION, 0);
}

// Once: the room's callback goes back and the board takes no moves.
void GiveBoardBack() {
  if (!g.boardInstalled) return;
  g.boardInstalled = false;
  if (g.boardWindow && IsWindow(g.boardWindow))
    SetBoardWndCallback(g.boardWindow, g.roomCallback, g.roomCallbackData);
  if (LessonBoardHooks hooks = GetLessonBoardHooks(); hooks.setInputMode) hooks.setInputMode(-1);
  g.roomCallback = nullptr;
  g.roomCallbackData = 0;
}

class DialogActions final : public PracticeActions {
 public:
  int CurrentPly() override { return static_cast<int>(g.played.size()); }
  void TakeBackMove() override {
    if (!g.played.empty()) {
      TeachingTrace(("practice took back " + SquareNames(g.played.back())).c_str());
      g.played.pop_back();
    }
    ShowPlayedPosition();
  }
  void ClearSquareMarks() override {
    if (BoardView* view = ClassroomView()) ::ClearSquareMarks(view);
  }
  void PlayLineMove(const MoveRecord& move) override {
    TeachingTrace(("practice played " + SquareNames(move)).c_str());
    g.played.push_back(move);
    ShowPlayedPosition();
  }
  void ShowLine(int plies) override {
    if (g.window) ShowPracticeLine(g.window, g.line, plies);
  }
  void PromptMove(int side, int moveNumber) override {
    char text[128];
    std::snprintf(text, sizeof text, LoadText(side == WHITE ? kMakeWhiteMove : kMakeBlackMove).c_str(), moveNumber);
    if (g.window) SetDlgItemTextA(g.window, kPrompt, text);
    TeachingTrace((std::string("practice prompt ") + text).c_str());
  }
  void FinishPractice() override {
    GiveBoardBack();
    if (!g.window) return;
    SetDlgItemTextA(g.window, kPrompt, LoadText(kPracticeFinished).c_str());
    EnableWindow(GetDlgItem(g.window, kHintButton), FALSE);
    TeachingTrace("practice finished");
  }
};

void ShowHint() {
  BoardView* view = ClassroomView();
  const size_t ply = g.played.size();
  if (!view || ply >= g.line.moves.size()) return;
  SetLastMoveMarks(view, &g.line.moves[ply], true);
  RECT all;
  GetClientRect(view->window, &all);
  RedrawBoardScene(view, &all);
}

void ClearMarks() {
  if (BoardView* view = ClassroomView()) ClearSquareMarks(view);
}

void CALLBACK RunAgain(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (HWND main = GetMainFrame()) RunPracticeOpenings(main, g.instance);
}

void PlaceTopRight(HWND dialog) {
  HWND main = GetMainFrame();
  RECT client, own;
  if (!main || !GetClientRect(main, &client) || !GetWindowRect(dialog, &own)) return;
  POINT corner{client.right, client.top};
  ClientToScreen(main, &corner);
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  const int left = std::max<int>(origin.x, corner.x - (own.right - own.left));
  SetWindowPos(dialog, nullptr, left, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DoPracticeOpeningDlgProc(HWND dialog, UINT message, WPARAM first, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      g.window = dialog;
      SetDlgItemTextA(dialog, kEcoField, g.line.eco.c_str());
      SetDlgItemTextA(dialog, kNameField, g.line.name.c_str());
      PlaceTopRight(dialog);
      RoomRecord* record = GetRoomRecord(ROOM_CLASS);
      g.boardWindow = record ? static_cast<HWND>(record->boardWindow) : nullptr;
      if (g.boardWindow) {
        g.roomCallbackData = GetBoardWndCallbackData(g.boardWindow);
        g.roomCallback =
            SetBoardWndCallback(g.boardWindow, PracticeBoardCallback, reinterpret_cast<intptr_t>(&g));
        g.boardInstalled = true;
      }
      if (LessonBoardHooks hooks = GetLessonBoardHooks(); hooks.setInputMode) hooks.setInputMode(2);
      g.played.clear();
      ClearMarks();
      ShowPlayedPosition();
      ShowWindow(dialog, SW_SHOW);
      SetTimer(dialog, kOrderTimer, kKeepAboveOwnerMs, nullptr);
      g.again = false;
      AdvancePractice(nullptr);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(first)) {
        case kHintButton:
          ShowHint();
          return TRUE;
        case IDOK:
          ClearMarks();
          g.again = true;
          DestroyWindow(dialog);
          return TRUE;
        case IDCANCEL:
          ClearMarks();
          g.again = false;
          DestroyWindow(dialog);
          ShowCurriculumWindow(1, 1);
          return TRUE;
      }
      break;
    case WM_CLOSE:
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    case WM_TIMER:
      if (first == kOrderTimer) KeepInFrontOfPanels(dialog);
      return TRUE;
    case WM_DESTROY:
      KillTimer(dialog, kOrderTimer);
      g.window = nullptr;
      GiveBoardBack();
      // Started again once this window is gone.
      if (g.again) SetTimer(nullptr, 0, 1, RunAgain);
      return FALSE;
  }
  return FALSE;
}

}  // namespace

LRESULT PracticeBoardCallback(HWND board, UINT message, WPARAM first, LPARAM, intptr_t) {
  if (message != kOfferMoveMessage || !first || !g.window) return 0;
  const MoveRecord* offered = reinterpret_cast<const MoveRecord*>(first);
  MoveRecord move{};
  move.from = offered->from;
  move.to = offered->to;
  move.flags = offered->flags;
  g.played.push_back(move);
  ShowPlayedPosition();
  AdvancePractice(&move);
  if (BoardView* view = GetBoardViewOfWindow(board)) {
    RECT all;
    GetClientRect(board, &all);
    RedrawBoardScene(view, &all);
  }
  return 1;
}

void AdvancePractice(const MoveRecord* move) {
  DialogActions actions;
  AdvancePracticeLine(g.line, g.sides, &actions, move);
}

HWND GetPracticeWindow() { return g.window; }

void RunPracticeOpenings(HWND owner, HINSTANCE instance) {
  if (g.window) return;
  g.instance = instance ? instance : GetModuleHandleA(nullptr);
  const INT_PTR prepared = DialogBoxParamA(g.instance, "PREPAREPRACTICE_DIALOG", owner, PreparePracticeDlgProc, 0);
  const INT_PTR chosen =
      prepared == 1 ? DialogBoxParamA(g.instance, "SetupPracticeOpening", owner, SetupPracticeOpeningDlgProc, 0) : 0;
  if (prepared != 1 || chosen != 1) {
    ShowCurriculumWindow(1, 1);
    return;
  }
  if (GetRoomNumber() != ROOM_CLASS) return;
  CreateDialogParamA(g.instance, "DoPracticeOpening", owner, DoPracticeOpeningDlgProc, 0);
}

void ConnectPracticeOpenings() {
  CurriculumLaunchHooks hooks = GetCurriculumLaunchHooks();
  hooks.runPracticeOpenings = RunPracticeOpenings;
  SetCurriculumLaunchHooks(hooks);
}
