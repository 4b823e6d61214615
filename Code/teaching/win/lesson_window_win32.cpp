// The lesson window: pages, panels, paging with snapshots, the page clips
// and the lesson codes' answers.
#include "lesson_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app_globals.h"
#include "app_main.h"
#include "curriculum_window_win32.h"
#include "data_sets.h"
#include "facet_frame.h"
#include "heapkit.h"
#include "lesson_codes.h"
#include "main_frame.h"
#include "main_loop.h"
#include "markup_groups.h"
#include "message_box.h"
#include "room_switch.h"
#include "teaching_board_win32.h"
#include "teaching_rooms_win32.h"
#include "tutorial_file.h"
#include "voice_clips_win32.h"
#include "window_order_win32.h"
#include "window_table.h"

namespace {

constexpr int kLessonDialog = 6100;
constexpr int kFirstPanelDialog = 6101;
constexpr int kPageLabel = 597;
constexpr int kPageHost = 6002;
constexpr int kCancel = 6001, kHint = 6012, kBack = 6004, kNext = 6005, kAnswer = 6011, kStartOver = 6021;
constexpr int kPageEdit = 1007, kQuestion = 6006, kAnswerEdit = 6013, kButtonComment = 6014, kList = 6022;
constexpr int kTimerNext = 40, kTimerBack = 30, kTimerPlay = 10, kTimerButton = 20, kTimerOrder = 50;
constexpr int kTutorialSet = 2;
constexpr int kNoDataSet = 9999;

enum PageType { TYPE_TEXT = 0, TYPE_CHOICE = 1, TYPE_MOVE = 2, TYPE_SQUARES = 3, TYPE_TYPED = 4, TYPE_BUTTONS = 5,
                TYPE_LIST = 6 };
// Panel of each page type.
const int kPanelOfType[7] = {0, 1, 0, 4, 2, 3, 5};

struct PageSnapshot {
  bool visited = false;
  bool flipped = false;
  std::string position;  // the FEN the page began with
  bool picture = false;
  std::string pictureItem;
  std::vector<int> marks;
};

}  // namespace

struct LessonContext {
  HWND window = nullptr;
  HWND host = nullptr;
  HWND panels[6] = {};
  int room = 0;
  int mode = 0;
  int startPage = 0;
  std::string path;
  std::string title;
  std::vector<TutorialPageText> pages;
  std::vector<PageSnapshot> snapshots;
  std::vector<std::string> labels;
  LessonPaging paging;
  int pageType = TYPE_TEXT;
  int score = 0;
  bool pageShown = false;
  bool clipCut = false;
  bool flipped = false;  // the lesson's orientation flag: Black at the bottom
  // The page's exercise.
  MoveExercise move;
  TypedExercise typed;
  ChoiceExercise choice;
  ChoiceExercise buttons;
  ListExercise list;
  SquaresExercise squares;
  std::string hint;
  std::string shownButtonComment;
  int pressedButton = -1;
  std::vector<int> marked;
  std::string captions[64];
  bool captionsShown = false;
  std::string position;  // the board's position as the lesson last set it
  bool pictureShown = false;
  std::string pictureItem;
  bool waitingForAnswer = false;
};

namespace {

LessonContext* g_contexts[kRoomCount] = {};
LessonBoardHooks g_board;
RECT g_placement[2] = {{0xDEAD, 0, 0, 0}, {0xDEAD, 0, 0, 0}};

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

LessonContext* Current() {
  const int room = GetRoomNumber();
  return room >= 0 && room < kRoomCount ? g_contexts[room] : nullptr;
}

void SetText(HWND panel, int id, const std::string& text) {
  // Edit controls want CR LF line ends.
  std::string out;
  for (char c : text) {
    if (c == '\n') out += "\r\n";
    else if (c != '\r') out += c;
  }
  SetDlgItemTextA(panel, id, out.c_str());
}

std::string Plain(const std::string& text) {
  std::string plain, markup;
  SplitPlainAndMarkup(text, &plain, &markup);
  return plain;
}
std::string Markup(const std::string& text) {
  std::string plain, markup;
  SplitPlainAndMarkup(text, &plain, &markup);
  return markup;
}

void ShowLessonPanel(LessonContext* c, int panel, int type) {
  for (int i = 0; i < 6; ++i)
    if (c->panels[i]) ShowWindow(c->panels[i], i == panel ? SW_SHOW : SW_HIDE);
  c->pageType = type;
  if (g_board.setInputMode) g_board.setInputMode(type);
}

void UpdateLessonButtons(LessonContext* c) {
  char label[64];
  std::snprintf(label, sizeof label, "Page %d of %d", std::max(0, c->paging.current) + 1, c->paging.pageCount);
  SetDlgItemTextA(c->window, kPageLabel, label);
  const bool last = c->paging.current + 1 >= c->paging.pageCount;
  SetDlgItemTextA(c->window, kNext, last ? "&End" : "&Next >");
  if (c->mode == 1) {
    EnableWindow(GetDlgItem(c->window, kNext), c->pageShown && c->pageType != TYPE_MOVE && c->pageType != TYPE_LIST);
    EnableWindow(GetDlgItem(c->window, kBack), FALSE);
  } else {
    EnableWindow(GetDlgItem(c->window, kNext), c->pageShown);
    EnableWindow(GetDlgItem(c->window, kBack), c->pageShown && c->paging.current > c->paging.start);
  }
  HWND hint = GetDlgItem(c->window, kHint);
  const bool hintable = c->pageType == TYPE_TEXT || c->pageType == TYPE_MOVE || c->pageType == TYPE_SQUARES ||
                        c->pageType == TYPE_BUTTONS;
  ShowWindow(hint, hintable ? SW_SHOW : SW_HIDE);
  EnableWindow(hint, hintable && !c->hint.empty());
}

void EnableLessonPanels(LessonContext* c, bool on) {
  for (HWND p : c->panels)
    if (p) EnableWindow(p, on);
}

void ShowPageText(LessonContext* c) {
  const TutorialPageText& page = c->pages[c->paging.current];
  if (!page.plain.empty()) {
    SetText(c->panels[0], kPageEdit, page.plain);
    ShowLessonPanel(c, 0, TYPE_TEXT);
  }
}

void SetBoardPosition(LessonContext* c, const std::string& fen) {
  c->position = fen;
  if (g_board.showPosition) g_board.showPosition(fen.c_str());
}

// Board codes of the page are played by the board's markup player; the
// lesson follows the positions they set so that paging back can restore them.
void FollowBoardCode(LessonContext* c, const std::string& text) {
  if (text.size() > 2 && (text[0] == 'B' || text[0] == 'b') && text[1] == ':') c->position = text.substr(2);
}

void PageClipDone(void* argument);

void PlayMarkup(LessonContext* c, const std::string& markup, bool audio) {
  if (markup.empty()) return;
  const int set = ContainsDataSetCode(markup) ? kTutorialSet : kNoDataSet;
  if (set == kTutorialSet && !IsDataSetOpen(set)) OpenDataSet("tutorial", set, 0);
  for (const ClipGroup& g : ParseClipGroups(markup))
    if (!g.voice) FollowBoardCode(c, g.text);
  if (audio) StartAudioClip(set, markup);
  else StartVoiceClip(set, markup);
}

void PlayPageClip(LessonContext* c) {
  if (c->mode == 0) {
    EnableWindow(GetDlgItem(c->window, kNext), TRUE);
    EnableWindow(GetDlgItem(c->window, kBack), c->paging.current > c->paging.start);
  }
  EnableWindow(GetDlgItem(c->window, kCancel), TRUE);
  EnableLessonPanels(c, true);
  const TutorialPageText& page = c->pages[c->paging.current];
  if (!page.markup.empty()) {
    const bool needsSet = ContainsDataSetCode(page.markup);
    const int set = needsSet ? kTutorialSet : kNoDataSet;
    if (needsSet && !IsDataSetOpen(set) && !OpenDataSet("tutorial", set, 0)) {
      PostMessageA(c->window, WM_COMMAND, kCancel, 0);
      return;
    }
    for (const ClipGroup& g : ParseClipGroups(page.markup))
      if (!g.voice) FollowBoardCode(c, g.text);
    VoiceClipHandle* clip = StartVoiceClipWithCallback(set, page.markup, PageClipDone, c);
    if (!clip && ClipSettingsFromIni().doIva) {
      PostMessageA(c->window, WM_COMMAND, kCancel, 0);
      return;
    }
  }
  c->pageShown = true;
  UpdateLessonButtons(c);
}

void PageClipDone(void* argument) {
  LessonContext* c = static_cast<LessonContext*>(argument);
  for (LessonContext* live : g_contexts)
    if (live == c && c->window) {
      c->pageShown = true;
      UpdateLessonButtons(c);
    }
}

void TakeSnapshot(LessonContext* c, int page) {
  PageSnapshot& s = c->snapshots[page];
  if (s.visited) return;
  s.visited = true;
  s.flipped = c->flipped;
  s.position = c->position;
  s.picture = c->pictureShown;
  s.pictureItem = c->pictureItem;
  s.marks = c->marked;
}

void ShowPicture(LessonContext* c, const std::string& item) {
  c->pictureShown = !item.empty();
  c->pictureItem = item;
  if (g_board.showPicture) g_board.showPicture(item.empty() ? nullptr : item.c_str());
}

void SetCaptions(LessonContext* c) {
  if (!g_board.setCaptions) return;
  const char* texts[64];
  for (int i = 0; i < 64; ++i) texts[i] = c->captions[i].empty() ? nullptr : c->captions[i].c_str();
  g_board.setCaptions(c->captionsShown ? texts : nullptr);
}

void ClearMarks(LessonContext* c) {
  c->marked.clear();
  if (g_board.clearMarks) g_board.clearMarks();
}

void Flip(LessonContext* c) {
  if (g_board.flipBoard) g_board.flipBoard();
  c->flipped = !c->flipped;
  if (c->paging.current >= 0) c->snapshots[c->paging.current].flipped = c->flipped;
}

void EnterNextPage(LessonContext* c) {
  if (!c->paging.Next()) {
    DestroyWindow(c->window);
    return;
  }
  const int page = c->paging.current;
  if (page > 0) {
    c->snapshots[page].picture = c->snapshots[page - 1].picture;
    c->snapshots[page].pictureItem = c->snapshots[page - 1].pictureItem;
  }
  TakeSnapshot(c, page);
  c->pageShown = false;
  ShowPageText(c);
  UpdateLessonButtons(c);
  SetTimer(c->window, kTimerPlay, 500, nullptr);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void EnterPreviousPage(LessonContext* c) {
  if (!c->paging.Back()) return;
  const int page = c->paging.current;
  const PageSnapshot& s = c->snapshots[page];
  if (s.flipped != c->flipped) Flip(c);
  const BackRestore restore = BackRestoreFor(c->pages[page].markup);
  if (restore.picture) ShowPicture(c, s.picture ? s.pictureItem : std::string());
  if (restore.marks) {
    ClearMarks(c);
    for (int sq : s.marks) {
      c->marked.push_back(sq);
      if (g_board.toggleMark) g_board.toggleMark(sq);
    }
  }
  if (restore.position && !s.position.empty()) SetBoardPosition(c, s.position);
  if (restore.clearCaptions) {
    for (std::string& t : c->captions) t.clear();
    c->captionsShown = false;
    SetCaptions(c);
  }
  c->pageShown = false;
  ShowPageText(c);
  UpdateLessonButtons(c);
  SetTimer(c->window, kTimerPlay, 500, nullptr);
}

// The timers wait for the current clip to go; a playing clip is cut short.
bool ClipGone(LessonContext* c) {
  VoiceClipHandle* clip = GetCurrentVoiceClip();
  if (!clip) {
    c->clipCut = false;
    return true;
  }
  const int flags = GetVoiceClipFlags(clip);
  if (flags & kClipFlagVoiceSwitch) return false;
  if ((flags & kClipFlagPlaying) || flags == kClipFlagFinished) {
    c->clipCut = true;
    SetVoiceClipDone(clip);
    return false;
  }
  c->clipCut = false;
  return true;
}

int AskYesNo(LessonContext* c, const std::string& text) {
  const int saved = c->pageType;
  c->pageType = TYPE_TEXT;
  const int answer = AppMessageBoxOwned(text.c_str(), MB_YESNO | MB_ICONQUESTION, c->window);
  c->pageType = saved;
  // The box disables the numbered windows while it runs; once it is gone
  // the lesson comes back to the front.
  if (c->window) {
    SetWindowPos(c->window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetActiveWindow(c->window);
  }
  return answer;
}

void ShowComment(LessonContext* c, const std::string& text, bool play) {
  SetText(c->panels[0], kPageEdit, Plain(text));
  ShowLessonPanel(c, 0, TYPE_TEXT);
  if (play) PlayMarkup(c, Markup(text), false);
  UpdateLessonButtons(c);
}

bool WhiteToMove(const std::string& fen) {
  const size_t space = fen.find(' ');
  return space == std::string::npos || space + 1 >= fen.size() || fen[space + 1] != 'b';
}

void CheckLessonMove(LessonContext* c, const std::string& animation) {
  StopVoiceClip();
  const std::string answer = AnswerFormFromAnimation(animation);
  const bool test = c->mode == 1;
  const MoveVerdict v = CheckMoveAnswer(c->move, answer, test);
  if (v.kind == MoveVerdict::Right) {
    c->score += v.points;
    ShowComment(c, v.text, true);
    return;
  }
  if (test) {
    c->score += v.points;
    ShowComment(c, v.text, true);
    return;
  }
  const int yes = AskYesNo(c, Plain(v.text));
  if (g_board.takeMoveBack) g_board.takeMoveBack();
  if (yes == IDYES) {
    ShowLessonPanel(c, 0, TYPE_MOVE);
    return;
  }
  PlayMarkup(c, BuildAnswerMarkup(c->move.expected, WhiteToMove(c->position)), false);
  SetText(c->panels[0], kPageEdit, CorrectAnswerText(c->move.expected));
  ShowLessonPanel(c, 0, TYPE_TEXT);
  UpdateLessonButtons(c);
}

void CheckLessonAnswer(LessonContext* c, int control) {
  const bool test = c->mode == 1;
  switch (c->pageType) {
    case TYPE_CHOICE: {
      const int index = control - 6007;
      if (index < 0 || index >= static_cast<int>(c->choice.choices.size())) return;
      const Scored& comment = c->choice.choices[index].second;
      if (index + 1 == c->choice.correct) {
        c->score += test ? comment.points : 0;
        ShowComment(c, comment.text, true);
      } else if (test) {
        c->score += comment.points;
        ShowComment(c, comment.text, false);
      } else if (AskYesNo(c, Plain(comment.text) + " Try again?") == IDYES) {
        EnableWindow(GetDlgItem(c->panels[1], control), FALSE);
      } else if (c->choice.correct >= 1) {
        ShowComment(c, "The correct answer is " + c->choice.choices[c->choice.correct - 1].first + ".", false);
      }
      break;
    }
    case TYPE_SQUARES:
      if (SquaresAnswerRight(c->squares, c->marked)) {
        ClearMarks(c);
        ShowComment(c, c->squares.right, true);
      } else if (AskYesNo(c, Plain(c->squares.wrong) + " Try again?") != IDYES) {
        ClearMarks(c);
        ShowComment(c, "The correct answer is " + ExpectedSquaresText(c->squares) + ".", false);
      }
      break;
    case TYPE_TYPED: {
      char text[kTypedAnswerMax + 1] = "";
      GetDlgItemTextA(c->panels[2], kAnswerEdit, text, sizeof text);
      if (TypedAnswerRight(c->typed.expected, text)) {
        ShowComment(c, c->typed.right, true);
      } else if (AskYesNo(c, Plain(c->typed.wrong) + " Try again?") == IDYES) {
        SetDlgItemTextA(c->panels[2], kAnswerEdit, "");
        SetFocus(GetDlgItem(c->panels[2], kAnswerEdit));
      } else {
        ShowComment(c, "The correct answer is " + c->typed.expected + ".", false);
      }
      break;
    }
    case TYPE_BUTTONS: {
      const int index = control - 6015;
      if (index < 0 || index >= static_cast<int>(c->buttons.choices.size())) return;
      for (int id = 6015; id <= 6018; ++id) EnableWindow(GetDlgItem(c->panels[3], id), FALSE);
      StopVoiceClip();
      c->pressedButton = index;
      SetTimer(c->window, kTimerButton, 500, nullptr);
      break;
    }
    case TYPE_LIST: {
      const LRESULT sel = SendDlgItemMessageA(c->panels[5], kList, LB_GETCURSEL, 0, 0);
      if (sel < 0 || sel >= static_cast<LRESULT>(c->list.entries.size())) return;
      const Scored& comment = c->list.entries[sel].second;
      c->score += test ? comment.points : 0;
      ShowComment(c, comment.text, false);
      break;
    }
  }
}

void ButtonCommentDue(LessonContext* c) {
  const int index = c->pressedButton;
  if (index < 0 || index >= static_cast<int>(c->buttons.choices.size())) return;
  const Scored& comment = c->buttons.choices[index].second;
  c->shownButtonComment = comment.text;
  if (c->mode == 1) c->score += comment.points;
  SetText(c->panels[3], kButtonComment, Plain(comment.text));
  PlayMarkup(c, Markup(comment.text), false);
  if (c->mode == 0)
    for (int id = 6015; id < 6015 + static_cast<int>(c->buttons.choices.size()); ++id)
      EnableWindow(GetDlgItem(c->panels[3], id), TRUE);
  c->pageShown = true;
  UpdateLessonButtons(c);
}

// The lesson letters, as the voice reaches them.
void HandleLessonEvent(const std::string& text) {
  LessonContext* c = Current();
  if (!c || !c->window) return;
  LessonCode code;
  if (!ParseLessonCode(text, &code)) return;
  const bool test = c->mode == 1;
  switch (code.letter) {
    case 'V':
      if (!ParseMoveExercise(code, test, &c->move)) return;
      c->hint = c->move.hint;
      SetText(c->panels[0], kPageEdit, Plain(c->move.question));
      ShowLessonPanel(c, 0, TYPE_MOVE);
      PlayMarkup(c, Markup(c->move.question), true);
      break;
    case 'E':
      if (!ParseTypedExercise(code, &c->typed)) return;
      SetText(c->panels[2], kQuestion, Plain(c->typed.question));
      SetDlgItemTextA(c->panels[2], kAnswerEdit, "");
      ShowLessonPanel(c, 2, TYPE_TYPED);
      SetFocus(GetDlgItem(c->panels[2], kAnswerEdit));
      PlayMarkup(c, Markup(c->typed.question), false);
      break;
    case 'Q':
      if (code.second == 'M') {
        if (!ParseListExercise(code, test, &c->list)) return;
        SetText(c->panels[5], kQuestion, Plain(c->list.question));
        SendDlgItemMessageA(c->panels[5], kList, LB_RESETCONTENT, 0, 0);
        for (const auto& e : c->list.entries) SendDlgItemMessageA(c->panels[5], kList, LB_ADDSTRING, 0,
                                                                  reinterpret_cast<LPARAM>(e.first.c_str()));
        SendDlgItemMessageA(c->panels[5], kList, LB_SETCURSEL, 0, 0);
        ShowLessonPanel(c, 5, TYPE_LIST);
        PlayMarkup(c, Markup(c->list.question), false);
      } else {
        const bool buttons = code.second == 'B';
        ChoiceExercise& ex = buttons ? c->buttons : c->choice;
        if (!(buttons ? ParseButtonExercise(code, test, &ex) : ParseChoiceExercise(code, test, &ex))) return;
        HWND panel = c->panels[buttons ? 3 : 1];
        SetText(panel, kQuestion, Plain(ex.question));
        if (buttons) SetDlgItemTextA(panel, kButtonComment, "");
        const int first = buttons ? 6015 : 6007;
        for (int i = 0; i < kMaxChoices; ++i) {
          HWND b = GetDlgItem(panel, first + i);
          const bool used = i < static_cast<int>(ex.choices.size());
          if (used) SetWindowTextA(b, ex.choices[i].first.c_str());
          EnableWindow(b, used);
          ShowWindow(b, used ? SW_SHOW : SW_HIDE);
        }
        ShowLessonPanel(c, buttons ? 3 : 1, buttons ? TYPE_BUTTONS : TYPE_CHOICE);
        PlayMarkup(c, Markup(ex.question), false);
      }
      break;
    case 'I':
      if (!ParseSquaresExercise(code, &c->squares)) return;
      SetText(c->panels[4], kQuestion, Plain(c->squares.text));
      ShowLessonPanel(c, 4, TYPE_SQUARES);
      PlayMarkup(c, Markup(c->squares.text), true);
      break;
    case 'F': {
      const char side = code.hasArg && !code.arg.empty()
                            ? static_cast<char>(std::toupper(static_cast<unsigned char>(code.arg[0])))
                            : 0;
      if ((side == 'W' && !c->flipped) || (side == 'B' && c->flipped)) break;
      Flip(c);
      break;
    }
    case 'L': {
      if (c->pictureShown || code.arg == "0") ShowPicture(c, std::string());
      if (code.arg != "0" && !code.arg.empty()) ShowPicture(c, code.arg);
      if (c->paging.current >= 0) {
        c->snapshots[c->paging.current].picture = c->pictureShown;
        c->snapshots[c->paging.current].pictureItem = c->pictureItem;
      }
      break;
    }
    case 'T': {
      bool cleared = false;
      std::vector<std::pair<int, std::string>> caps;
      if (!ParseSquareCaptions(code, &cleared, &caps)) return;
      if (cleared) {
        for (std::string& t : c->captions) t.clear();
        c->captionsShown = false;
      } else {
        for (const auto& cap : caps) c->captions[cap.first] = cap.second;
        c->captionsShown = true;
      }
      SetCaptions(c);
      break;
    }
    case 'J': {
      VoiceClipHandle* clip = GetCurrentVoiceClip();
      if (clip && GetVoiceClipFlags(clip) == kClipFlagFinished) break;
      if (code.hasArg) {
        const int target = ResolveLessonJump(code.arg, c->labels, c->paging.pageCount);
        c->paging.JumpBefore(target);
      }
      if (code.second != 'D') PostMessageA(c->window, WM_COMMAND, kNext, 0);
      break;
    }
  }
  UpdateLessonButtons(c);
}

INT_PTR CALLBACK PanelProc(HWND panel, UINT message, WPARAM first, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return FALSE;
    case WM_COMMAND: {
      LessonContext* c = Current();
      if (!c) break;
      const int id = LOWORD(first);
      if (id == kStartOver) {
        ClearMarks(c);
        return TRUE;
      }
      if (id == kList && HIWORD(first) == LBN_DBLCLK) {
        CheckLessonAnswer(c, kAnswer);
        return TRUE;
      }
      if (HIWORD(first) == BN_CLICKED && (id == kAnswer || (id >= 6007 && id <= 6010) || (id >= 6015 && id <= 6018))) {
        CheckLessonAnswer(c, id);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
      break;
  }
  (void)panel;
  return FALSE;
}

INT_PTR CALLBACK MastersResultsProc(HWND box, UINT message, WPARAM first, LPARAM second) {
  if (message == WM_INITDIALOG) {
    const int score = static_cast<int>(second);
    SetDlgItemTextA(box, 6131, MastersResultMessage(score).c_str());
    std::string scale;
    for (const MastersBand& b : MastersScale()) {
      char line[96];
      std::snprintf(line, sizeof line, "%3d and up\t%s\t%s\r\n", b.lowest, b.rating, b.category);
      scale += line;
    }
    SetDlgItemTextA(box, 6132, scale.c_str());
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(first) == IDOK || LOWORD(first) == IDCANCEL)) {
    EndDialog(box, 1);
    return TRUE;
  }
  return FALSE;
}

WNDPROC g_editProc = nullptr;
LRESULT CALLBACK AnswerEditProc(HWND edit, UINT message, WPARAM first, LPARAM second) {
  if (message == WM_KEYDOWN && first == VK_RETURN) {
    if (LessonContext* c = Current()) CheckLessonAnswer(c, kAnswer);
    return 0;
  }
  if (message == WM_GETDLGCODE) return CallWindowProcA(g_editProc, edit, message, first, second) | DLGC_WANTALLKEYS;
  return CallWindowProcA(g_editProc, edit, message, first, second);
}

void Layout(LessonContext* c) {
  RECT r;
  GetClientRect(c->window, &r);
  const int left = r.left + 1, right = r.right - 1, top = r.top + 21, bottom = r.bottom - 21;
  const int width = right - left;
  SetWindowPos(GetDlgItem(c->window, kPageLabel), nullptr, right - 10 - 150, 4, 150, 14, SWP_NOZORDER);
  SetWindowPos(c->host, nullptr, left + 1, top, width - 2, bottom - top - 16, SWP_NOZORDER);
  // Four buttons of up to 94 pixels across the window's width, 6 apart at
  // least, so that none reaches past the window's edge.
  const int buttonWidth = std::min(94, std::max(40, (width - 20 - 3 * 6) / 4));
  const int gap = std::max(6, (width - 20 - 4 * buttonWidth) / 3);
  const int ids[4] = {kCancel, kHint, kBack, kNext};
  for (int i = 0; i < 4; ++i)
    SetWindowPos(GetDlgItem(c->window, ids[i]), nullptr, left + 10 + i * (buttonWidth + gap), r.bottom - 11 - 24,
                 buttonWidth, 24, SWP_NOZORDER);
  RECT host;
  GetClientRect(c->host, &host);
  for (int i = 0; i < 6; ++i) {
    HWND p = c->panels[i];
    if (!p) continue;
    SetWindowPos(p, nullptr, 0, 0, host.right, host.bottom, SWP_NOZORDER);
    // The text field takes the width left of the button column.
    const bool column = i == 1 || i == 3 || i == 4 || i == 5;
    const int textRight = column ? host.right - 8 - 120 - 8 : host.right - 8;
    HWND text = GetDlgItem(p, i == 0 ? kPageEdit : kQuestion);
    if (text) {
      RECT tr;
      GetWindowRect(text, &tr);
      MapWindowPoints(nullptr, p, reinterpret_cast<POINT*>(&tr), 2);
      const int h = (i == 0 || i == 1 || i == 4) ? host.bottom - 16 : tr.bottom - tr.top;
      SetWindowPos(text, nullptr, 8, 8, textRight - 8, h, SWP_NOZORDER);
    }
    if (i == 3)
      SetWindowPos(GetDlgItem(p, kButtonComment), nullptr, 8, 60, textRight - 8, host.bottom - 68, SWP_NOZORDER);
    if (i == 5) SetWindowPos(GetDlgItem(p, kList), nullptr, 8, 50, textRight - 8, host.bottom - 58, SWP_NOZORDER);
    if (i == 2) {
      SetWindowPos(GetDlgItem(p, kAnswerEdit), nullptr, 8, 76, host.right - 16 - 90, 24, SWP_NOZORDER);
      SetWindowPos(GetDlgItem(p, kAnswer), nullptr, host.right - 8 - 80, 76, 80, 24, SWP_NOZORDER);
    }
    int y = 8;
    for (int id : {6007, 6008, 6009, 6010, 6015, 6016, 6017, 6018, kStartOver, kAnswer}) {
      if (i == 2) break;
      HWND b = GetDlgItem(p, id);
      if (!b) continue;
      const int h = (id == kStartOver || id == kAnswer) ? 26 : 40;
      SetWindowPos(b, nullptr, host.right - 8 - 120, y, 120, h, SWP_NOZORDER);
      y += h + 6;
    }
  }
}

void Place(LessonContext* c, HWND owner) {
  const int slot = c->room == ROOM_KIDS ? 1 : 0;
  RECT own;
  GetWindowRect(c->window, &own);
  if (g_placement[slot].left != 0xDEAD) {
    const RECT& p = g_placement[slot];
    SetWindowPos(c->window, nullptr, p.left, p.top, p.right - p.left, p.bottom - p.top, SWP_NOZORDER);
    return;
  }
  RECT client;
  GetClientRect(owner, &client);
  POINT origin{0, 0};
  ClientToScreen(owner, &origin);
  // Beside the board scene: to the right of the board's window.
  int x = client.right / 2 + 20;
  if (HWND board = static_cast<HWND>(GetNumberedWindow(WIN_BOARD))) {
    RECT b;
    if (IsWindowVisible(board) && GetWindowRect(board, &b)) x = b.right - origin.x + 20;
  }
  x = std::max(0, std::min(x, static_cast<int>(client.right) - 385));
  const int width = std::min(600, std::max(385, static_cast<int>(client.right) - x - 8));
  SetWindowPos(c->window, nullptr, origin.x + x, origin.y + 8, width, std::max(288, static_cast<int>(own.bottom - own.top)),
               SWP_NOZORDER);
}

INT_PTR CALLBACK TutorialDlgProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  LessonContext* c = reinterpret_cast<LessonContext*>(GetWindowLongPtrA(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      c = reinterpret_cast<LessonContext*>(second);
      SetWindowLongPtrA(window, DWLP_USER, second);
      c->window = window;
      c->host = GetDlgItem(window, kPageHost);
      NumberedWindowOp(WOP_SET_HANDLE, WIN_TUTORIAL, reinterpret_cast<intptr_t>(window));
      SetWindowTextA(window, c->title.c_str());
      void* data = nullptr;
      uint32_t size = 0;
      std::string text;
      if (FILE* f = std::fopen(c->path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
      } else {
        DestroyWindow(window);
        return FALSE;
      }
      (void)data;
      (void)size;
      c->pages = ReadTutorial(text);
      if (c->pages.empty()) {
        DestroyWindow(window);
        return FALSE;
      }
      c->snapshots.assign(c->pages.size(), PageSnapshot{});
      for (const auto& p : c->pages) c->labels.push_back(p.label);
      const char* ini = GetSettingsIniPath();
      const int debugPage = ini && *ini ? GetPrivateProfileIntA("debug", "tutorial_page", -1, ini) : -1;
      c->startPage = LessonStartPage(c->startPage, debugPage, static_cast<int>(c->pages.size()));
      c->paging.Open(c->startPage, static_cast<int>(c->pages.size()));
      for (int i = 0; i < 6; ++i) {
        c->panels[i] = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(kFirstPanelDialog + i), c->host, PanelProc, i);
      }
      if (HWND edit = GetDlgItem(c->panels[2], kAnswerEdit))
        g_editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnswerEditProc)));
      Place(c, GetWindow(window, GW_OWNER));
      Layout(c);
      // The kids panel goes while a lesson runs, as the room's other
      // windows do.
      if (c->room == ROOM_KIDS)
        if (HWND panel = GetKidsPanel()) ShowWindow(panel, SW_HIDE);
      SetBoardPosition(c, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
      ShowLessonPanel(c, 0, TYPE_TEXT);
      UpdateLessonButtons(c);
      PostMessageA(window, WM_COMMAND, kNext, 0);
      SetTimer(window, kTimerOrder, kKeepAboveOwnerMs, nullptr);
      return FALSE;
    }
    case WM_SIZE:
      if (c) Layout(c);
      return FALSE;
    case WM_GETMINMAXINFO: {
      MINMAXINFO* m = reinterpret_cast<MINMAXINFO*>(second);
      m->ptMinTrackSize = POINT{385, 288};
      m->ptMaxTrackSize = POINT{600, 400};
      return TRUE;
    }
    case WM_ACTIVATE:
      if (LOWORD(first) == WA_INACTIVE) {
        if (GetActiveModelessDialog() == window) ClearActiveModelessDialog();
      } else {
        SetActiveModelessDialog(window);
      }
      return FALSE;
    case WM_TIMER:
      if (first == kTimerOrder) KeepInFrontOfPanels(window);
      else PostMessageA(window, WM_COMMAND, first, 0);
      return TRUE;
    case WM_COMMAND: {
      if (!c) break;
      const int id = LOWORD(first);
      switch (id) {
        case kNext:
          EnableLessonPanels(c, false);
          if (c->pageType == TYPE_MOVE && !c->move.expected.empty())
            PlayMarkup(c, BuildAnswerMarkup(c->move.expected, WhiteToMove(c->position)), false);
          c->hint.clear();
          for (int b : {kNext, kBack, kHint, kCancel}) EnableWindow(GetDlgItem(window, b), FALSE);
          SetTimer(window, kTimerNext, 500, nullptr);
          return TRUE;
        case kBack:
          EnableLessonPanels(c, false);
          c->hint.clear();
          for (int b : {kNext, kBack, kHint, kCancel}) EnableWindow(GetDlgItem(window, b), FALSE);
          SetTimer(window, kTimerBack, 500, nullptr);
          return TRUE;
        case kTimerNext:
        case kTimerBack:
          if (!ClipGone(c)) return TRUE;
          KillTimer(window, id);
          if (id == kTimerNext) EnterNextPage(c);
          else EnterPreviousPage(c);
          return TRUE;
        case kTimerPlay:
          if (GetCurrentVoiceClip()) return TRUE;
          KillTimer(window, kTimerPlay);
          PlayPageClip(c);
          return TRUE;
        case kTimerButton:
          KillTimer(window, kTimerButton);
          ButtonCommentDue(c);
          return TRUE;
        case kHint:
          if (!c->hint.empty()) AskYesNo(c, Plain(c->hint)), void();
          return TRUE;
        case kCancel:
        case IDCANCEL:
          DestroyWindow(window);
          return TRUE;
      }
      break;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return TRUE;
    case WM_DESTROY: {
      if (!c) return FALSE;
      GetWindowRect(window, &g_placement[c->room == ROOM_KIDS ? 1 : 0]);
      c->window = nullptr;
      FinishLesson(c->room, c, 0);
      NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_TUTORIAL, 0);
      if (HWND main = GetWindow(window, GW_OWNER)) cwEnableMenu(main, 1);
      EnableAccelerators(1);
      ShowCurriculumWindow(1, 1);
      if (c->room == ROOM_KIDS && GetRoomNumber() == ROOM_KIDS)
        if (HWND panel = GetKidsPanel()) ShowWindow(panel, SW_SHOW);
      return FALSE;
    }
  }
  return FALSE;
}

}  // namespace

void OpenTutorial(const CurriculumItem& item, int startPage, HWND owner, int mode) {
  const int room = GetRoomNumber();
  if (room != ROOM_CLASS && room != ROOM_KIDS) return;
  if (g_contexts[room]) return;
  auto* c = new LessonContext;
  c->room = room;
  c->mode = mode;
  c->startPage = startPage;
  c->title = item.title;
  const char* folder = GetTutorialsFolder();
  c->path = std::string(folder ? folder : "") + "\\" + item.title + ".TUT";
  g_contexts[room] = c;
  if (owner) cwEnableMenu(owner, 0);
  EnableAccelerators(0);
  SetLessonEventHandler(HandleLessonEvent);
  if (!CreateDialogParamA(Instance(), MAKEINTRESOURCEA(kLessonDialog), owner, TutorialDlgProc,
                          reinterpret_cast<LPARAM>(c))) {
    if (g_contexts[room] == c) {
      g_contexts[room] = nullptr;
      delete c;
    }
    if (owner) cwEnableMenu(owner, 1);
    EnableAccelerators(1);
    return;
  }
  if (g_contexts[room] == c && c->window) ShowWindow(c->window, SW_SHOW);
}

LessonContext* GetLessonContext(int room) {
  if (room == 0) return Current();
  return room > 0 && room < kRoomCount ? g_contexts[room] : nullptr;
}

HWND GetLessonWindow() {
  LessonContext* c = Current();
  return c ? c->window : nullptr;
}

void FinishLesson(int room, LessonContext* context, int keepBoard) {
  if (!context || room < 0 || room >= kRoomCount || g_contexts[room] != context) return;
  StopVoiceClip();
  if (!keepBoard) {
    ShowPicture(context, std::string());
    ClearMarks(context);
    context->captionsShown = false;
    SetCaptions(context);
    if (context->flipped) Flip(context);
    if (g_board.setInputMode) g_board.setInputMode(-1);
    if (context->mode == 0) {
      RecordCurriculumResult(context->paging.lowest, context->paging.finished ? -1 : context->paging.highest);
    } else if (context->paging.finished) {
      const int test = GetSelectedTestNumber();
      const TestOutcome outcome = FinishTest(test, context->score);
      if (test >= 501) {
        HWND owner = context->window ? GetWindow(context->window, GW_OWNER) : GetMainFrame();
        DialogBoxParamA(Instance(), MAKEINTRESOURCEA(6130), owner, MastersResultsProc, context->score);
      } else {
        AppMessageBox(outcome.message.c_str(), MB_OK | MB_ICONINFORMATION);
      }
      RecordCurriculumResult(outcome.result, 0);
    }
  }
  g_contexts[room] = nullptr;
  if (context->window) {
    HWND w = context->window;
    context->window = nullptr;
    SetWindowLongPtrA(w, DWLP_USER, 0);
    DestroyWindow(w);
  }
  delete context;
}

void SetLessonBoardHooks(const LessonBoardHooks& hooks) { g_board = hooks; }
const LessonBoardHooks& GetLessonBoardHooks() { return g_board; }

void OnLessonMove(const std::string& animation) {
  LessonContext* c = Current();
  TeachingTrace(("lesson move " + animation + (c ? " on page type " + std::to_string(c->pageType) : "")).c_str());
  if (c && c->window && c->pageType == TYPE_MOVE) CheckLessonMove(c, animation);
}

void OnLessonSquare(int square) {
  LessonContext* c = Current();
  if (!c || c->pageType != TYPE_SQUARES || square < 0 || square >= 64) return;
  auto it = std::find(c->marked.begin(), c->marked.end(), square);
  if (it == c->marked.end()) c->marked.push_back(square);
  else c->marked.erase(it);
  if (g_board.toggleMark) g_board.toggleMark(square);
}

int LessonPageIndex() {
  LessonContext* c = Current();
  return c ? c->paging.current : -1;
}
int LessonPageType() {
  LessonContext* c = Current();
  return c ? c->pageType : -1;
}
int LessonScore() {
  LessonContext* c = Current();
  return c ? c->score : 0;
}
