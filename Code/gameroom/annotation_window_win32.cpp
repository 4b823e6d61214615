// The annotation window over Win32.
#include "game_record.h"
#include "game_registry.h"
#include "heapkit.h"

#include "annotation_window.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "app_globals.h"
#include "app_messages.h"
#include "game_status_win32.h"
#include "game_windows_texts.h"
#include "shell_services.h"
#include "track_size_win32.h"
#include "window_table.h"

namespace {

constexpr int kClipMode = 4;
constexpr int kPageCount = 4;
constexpr int kPageTemplates[kPageCount] = {kAnnotationPlayerPage, kAnnotationAutoPage, kAnnotationAnalysisPage,
                                            kAnnotationIvaPage};
constexpr int kPageEdits[kPageCount] = {kAnnotationEditBox, kAnnotationAutoText, kAnnotationAnalysisText,
                                        kAnnotationEditBox};
constexpr int kMinWidth = 386, kMinHeight = 220;

AnnotationServices g_services{};

// One page: its window, the text kept while it is edited (put back on
// Cancel), and the voice clip of the pages that play one.
struct Page {
  HWND window = nullptr;
  bool editing = false;
  std::string before;
  void* clip = nullptr;
  bool paused = false;
};

struct AnnotationRecord {
  GameRecord* game = nullptr;  // a game given at creation; else the current game
  int current = -1;
  Page pages[5];
  int pageCount = 0;
  bool laidOut = false;
  SIZE size{};
  bool locked = false;
};

HWND g_window = nullptr;
bool g_frozen = false;

AnnotationRecord* Record(HWND w) {
  return w ? reinterpret_cast<AnnotationRecord*>(GetWindowLongPtrA(w, DWLP_USER)) : nullptr;
}
AnnotationRecord* TheRecord() { return Record(g_window); }

GameRecord* Game(const AnnotationRecord* r) {
  GameRecord* current = GetCurrentGame();
  return current ? current : r ? r->game : nullptr;
}

std::string LoadText(int id, const char* fallback) {
  char text[256];
  return LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof text) > 0 ? std::string(text)
                                                                                 : std::string(fallback);
}

bool ShowEmbeddedCommands() {
  const char* ini = GetMainIniPath();
  return ini && GetPrivateProfileIntA("debug", "show_embedded_commands", 0, ini) != 0;
}

// The edit shows line breaks only as CR LF; comments keep what was typed.
std::string ForEdit(const char* text) {
  std::string out;
  for (const char* c = text ? text : ""; *c; ++c) {
    if (*c == '\n' && (c == text || c[-1] != '\r')) out += '\r';
    out += *c;
  }
  return out;
}

std::string EditText(HWND edit) {
  const int length = GetWindowTextLengthA(edit);
  std::string text(size_t(length > 0 ? length : 0) + 1, '\0');
  GetWindowTextA(edit, &text[0], length + 1);
  text.resize(std::strlen(text.c_str()));
  return text;
}

int PageIndex(HWND page) { return int(GetWindowLongPtrA(page, DWLP_USER)) - 1; }

HWND GameStatusWindow() { return HWND(GetNumberedWindow(WIN_GAME_STATUS)); }

// Comment `slot` where the game stands: the current move's, or before the
// first move the game's start comment.
const char* CurrentComment(GameRecord* game, int slot) {
  if (!game || !game->tree) return nullptr;
  if (GetCurrentPly(game) > 0) {
    const MoveRecord* move = GetCurrentMove(game);
    return move ? move->texts[slot] : nullptr;
  }
  return game->header.texts[slot];
}

void EnableButton(HWND page, int id, bool on) {
  if (HWND b = page ? GetDlgItem(page, id) : nullptr) EnableWindow(b, on);
}

void ShowPage(AnnotationRecord* r, int page) {
  if (page < 0 || page >= r->pageCount || page == r->current) return;
  if (r->current >= 0) ShowWindow(r->pages[r->current].window, SW_HIDE);
  r->current = page;
  HWND tabs = GetDlgItem(g_window, kAnnotationTabs);
  if (SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != page) SendMessageA(tabs, TCM_SETCURSEL, page, 0);
  SetWindowPos(r->pages[page].window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void Layout(HWND w, AnnotationRecord* r) {
  RECT client;
  GetClientRect(w, &client);
  const SIZE size{client.right, client.bottom};
  if (r->laidOut && size.cx == r->size.cx && size.cy == r->size.cy) return;
  HWND tabs = GetDlgItem(w, kAnnotationTabs);
  const int tabWidth = client.right - 16 > 0 ? client.right - 16 : 0;
  const int tabHeight = client.bottom - 16 > 0 ? client.bottom - 16 : 0;
  SetWindowPos(tabs, nullptr, 8, 8, tabWidth, tabHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT display{0, 0, tabWidth, tabHeight};
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, LPARAM(&display));
  InflateRect(&display, -8, -8);
  for (int i = 0; i < r->pageCount; ++i)
    SetWindowPos(r->pages[i].window, nullptr, display.left, display.top,
                 display.right > display.left ? display.right - display.left : 0,
                 display.bottom > display.top ? display.bottom - display.top : 0, SWP_NOZORDER | SWP_NOACTIVATE);
  r->laidOut = true;
  r->size = size;
  InvalidateRect(w, nullptr, TRUE);
}

// The edit box on the left, the buttons in one column on the right.
void LayOutPage(HWND page, int index) {
  RECT client;
  GetClientRect(page, &client);
  const int width = client.right, height = client.bottom;
  HWND edit = GetDlgItem(page, kPageEdits[index]);
  if (index == 2) {
    SetWindowPos(edit, nullptr, 0, 0, width - 8 > 0 ? width - 8 : 0, height - 8 > 0 ? height - 8 : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  static const int kPlayer[] = {kAnnotationEdit, IDOK, IDCANCEL};
  static const int kAuto[] = {kAnnotationPlay, kAnnotationStop, kAnnotationPause};
  static const int kIva[] = {kAnnotationEdit, IDOK, IDCANCEL, kAnnotationPlay, kAnnotationStop};
  const int* buttons = index == 0 ? kPlayer : index == 1 ? kAuto : kIva;
  const int count = index == 3 ? 5 : 3;
  RECT first;
  GetWindowRect(GetDlgItem(page, buttons[0]), &first);
  const int b = first.right - first.left, h = first.bottom - first.top;
  SetWindowPos(edit, nullptr, 0, 0, width - b - 24 > 0 ? width - b - 24 : 0, height - 16 > 0 ? height - 16 : 0,
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (int i = 0; i < count; ++i)
    SetWindowPos(GetDlgItem(page, buttons[i]), nullptr, width - b - 8, 8 + i * (h + 8), b, h,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void UpdateTexts(AnnotationRecord* r) {
  GameRecord* game = Game(r);
  if (!game || !game->tree || g_frozen) return;
  for (int i = 0; i < 4; ++i) SetAnnotationText(i, CurrentComment(game, i));
}

void EndEditing(AnnotationRecord* r, int index) {
  Page& p = r->pages[index];
  p.editing = false;
  p.before.clear();
  p.before.shrink_to_fit();
  SendDlgItemMessageA(p.window, kPageEdits[index], EM_SETREADONLY, TRUE, 0);
  EnableButton(p.window, kAnnotationEdit, !(index == 0 && r->locked));
  EnableButton(p.window, IDOK, false);
  EnableButton(p.window, IDCANCEL, false);
}

void ClipEnded(void* data) {
  AnnotationRecord* r = TheRecord();
  if (!r) return;
  for (int i = 0; i < r->pageCount; ++i) {
    Page& p = r->pages[i];
    if (p.window != data) continue;
    p.clip = nullptr;
    p.paused = false;
    EnableButton(p.window, kAnnotationPlay, true);
    EnableButton(p.window, kAnnotationStop, false);
    EnableButton(p.window, kAnnotationPause, false);
    if (HWND status = GameStatusWindow()) UnlockGameStatus(status);
  }
}

void Play(AnnotationRecord* r, int index) {
  Page& p = r->pages[index];
  GameRecord* game = Game(r);
  if (!game || !game->tree) return;
  const char* text = nullptr;
  if (index == 1) {
    // The automatic annotation plays the commands of a move only.
    if (GetCurrentPly(game) <= 0) return;
    if (p.clip && p.paused) {
      if (g_services.resumeClip) g_services.resumeClip(p.clip);
      p.paused = false;
      EnableButton(p.window, kAnnotationStop, true);
      EnableButton(p.window, kAnnotationPause, true);
      EnableButton(p.window, kAnnotationPlay, false);
      return;
    }
    text = CurrentComment(game, SLOT_HIDDEN);
  } else {
    text = CurrentComment(game, SLOT_HIDDEN);
  }
  if (!text || !*text) return;
  if (p.clip && g_services.stopClip) g_services.stopClip(p.clip);
  p.clip = g_services.startClip ? g_services.startClip(text, kClipMode, ClipEnded, p.window) : nullptr;
  p.paused = false;
  if (!p.clip) return;
  if (HWND status = GameStatusWindow()) LockGameStatus(status);
  EnableButton(p.window, kAnnotationStop, true);
  EnableButton(p.window, kAnnotationPause, true);
  EnableButton(p.window, kAnnotationPlay, false);
}

void Pause(AnnotationRecord* r, int index) {
  Page& p = r->pages[index];
  if (p.clip && g_services.pauseClip) g_services.pauseClip(p.clip);
  p.paused = p.clip != nullptr;
  EnableButton(p.window, kAnnotationStop, false);
  EnableButton(p.window, kAnnotationPause, false);
  EnableButton(p.window, kAnnotationPlay, true);
}

void Stop(AnnotationRecord* r, int index) {
  Page& p = r->pages[index];
  if (p.clip) {
    if (g_services.stopClip) g_services.stopClip(p.clip);
    if (HWND status = GameStatusWindow()) {
      StopGameStatusTimers(status);
      UnlockGameStatus(status);
    }
  }
  p.clip = nullptr;
  p.paused = false;
  EnableButton(p.window, kAnnotationStop, false);
  EnableButton(p.window, kAnnotationPause, false);
  EnableButton(p.window, kAnnotationPlay, true);
}

INT_PTR PageCommand(HWND page, int id) {
  AnnotationRecord* r = TheRecord();
  const int index = PageIndex(page);
  if (!r || index < 0 || index >= r->pageCount) return FALSE;
  Page& p = r->pages[index];
  HWND edit = GetDlgItem(page, kPageEdits[index]);
  const bool editable = index == 0 || index == 3;
  switch (id) {
    case kAnnotationEdit:
      if (!editable || p.editing) return TRUE;
      p.editing = true;
      p.before = EditText(edit);
      SendMessageA(edit, EM_LIMITTEXT, index == 0 ? kPlayerCommentLimit : kIvaCommentLimit, 0);
      SendMessageA(edit, EM_SETREADONLY, FALSE, 0);
      EnableButton(page, kAnnotationEdit, false);
      EnableButton(page, IDOK, true);
      EnableButton(page, IDCANCEL, true);
      SetFocus(edit);
      return TRUE;
    case IDOK:
      if (!editable || !p.editing) return TRUE;
      {
        // The edit shows CR LF; the comment keeps the text as typed.
        const std::string text =
            CutComment(EditText(edit), index == 0 ? kPlayerCommentLimit : kIvaCommentLimit);
        EndEditing(r, index);
        SetMoveComment(text.c_str(), index == 0 ? SLOT_COMMENT : SLOT_HIDDEN);
      }
      return TRUE;
    case IDCANCEL:
      if (!editable || !p.editing) return TRUE;
      SetWindowTextA(edit, p.before.c_str());
      EndEditing(r, index);
      return TRUE;
    case kAnnotationPlay:
      if (index == 1 || index == 3) Play(r, index);
      return TRUE;
    case kAnnotationPause:
      if (index == 1) Pause(r, index);
      return TRUE;
    case kAnnotationStop:
      if (index == 1 || index == 3) Stop(r, index);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK AnnotationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(page, DWLP_USER, LONG_PTR(lParam + 1));
      return FALSE;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      const int index = PageIndex(page);
      if (!(pos->flags & SWP_NOSIZE) && index >= 0 && index < kPageCount) LayOutPage(page, index);
      return FALSE;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) return PageCommand(page, LOWORD(wParam));
      return FALSE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(HDC(wParam), TRANSPARENT);
      return INT_PTR(GetStockObject(NULL_BRUSH));
    default:
      return FALSE;
  }
}

void OnInit(HWND w, LPARAM parameter) {
  auto* r = new AnnotationRecord{};
  r->game = parameter ? reinterpret_cast<GameRecord*>(parameter) : nullptr;
  SetWindowLongPtrA(w, DWLP_USER, LONG_PTR(r));
  g_window = w;
  HWND tabs = GetDlgItem(w, kAnnotationTabs);
  HINSTANCE instance = HINSTANCE(GetWindowLongPtrA(w, GWLP_HINSTANCE));
  r->pageCount = ShowEmbeddedCommands() ? 4 : 3;
  const std::string titles[kPageCount] = {LoadText(1014, "Player"), LoadText(1015, "Auto Annotation"),
                                          LoadText(1016, "Analysis"), "IVA"};
  for (int i = 0; i < r->pageCount; ++i) {
    r->pages[i].window =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(kPageTemplates[i]), tabs, AnnotationPageProc, LPARAM(i));
    if (r->pages[i].window) ShowWindow(r->pages[i].window, SW_HIDE);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(titles[i].c_str());
    SendMessageA(tabs, TCM_INSERTITEMA, i, LPARAM(&item));
  }
  Layout(w, r);
  ShowPage(r, 0);
  NumberedWindowOp(WOP_SET_HANDLE, WIN_ANNOTATION, intptr_t(w));
  ShellRect stored{};
  if (NumberedWindowOp(WOP_GET_RECT, WIN_ANNOTATION, intptr_t(&stored)) && stored.right > stored.left &&
      stored.bottom > stored.top)
    SetWindowPos(w, nullptr, stored.left, stored.top, stored.right - stored.left, stored.bottom - stored.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateTexts(r);
}

void OnDestroy(HWND w, AnnotationRecord* r) {
  for (int i = 0; i < r->pageCount; ++i)
    if (r->pages[i].clip && g_services.stopClip) g_services.stopClip(r->pages[i].clip);
  delete r;
  SetWindowLongPtrA(w, DWLP_USER, 0);
  if (GetNumberedWindow(WIN_ANNOTATION) == w) NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_ANNOTATION, 0);
  if (g_window == w) g_window = nullptr;
}

void OnGameEvent(AnnotationRecord* r, WPARAM code) {
  switch (code) {
    case GE_PLY_CHANGED:  // a jump begins: nothing is shown until it ends
      g_frozen = true;
      for (int i = 0; i < 4; ++i) SetAnnotationText(i, nullptr);
      return;
    case GE_ANNOTATION_CHANGED:  // the jump ended
      g_frozen = false;
      UpdateTexts(r);
      return;
    case GE_GAME_SET:
    case GE_MOVE_PLAYED:
    case GE_MOVE_TAKEN_BACK:
    case GE_MOVE_REPLAYED:
    case GE_GAME_EDITED:
      break;
    default:
      return;
  }
  UpdateTexts(r);
  GameRecord* game = Game(r);
  if (!game || !game->tree || g_frozen || GetCurrentPly(game) <= 0) return;
  const char* annotation = CurrentComment(game, SLOT_ANNOTATION);
  const SettingsRecord* settings = GetAppGlobals() ? GetAppGlobals()->settings : nullptr;
  if (annotation && *annotation && settings && settings->ivaVoice && IsNumberedWindowShown(WIN_ANNOTATION) &&
      (code == GE_MOVE_TAKEN_BACK || code == GE_MOVE_REPLAYED) && r->pages[1].window)
    SendMessageA(r->pages[1].window, WM_COMMAND, MAKEWPARAM(kAnnotationPlay, BN_CLICKED), 0);
}

}  // namespace

HWND CreateAnnotationDialog(LPARAM gameBlock) {
  if (g_window && IsWindow(g_window)) return g_window;
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAnnotationDialog),
                            HWND(GetNumberedWindow(WIN_MAIN_FRAME)), AnnotationDlgProc, gameBlock);
}

void DestroyAnnotationDialog() {
  HWND w = HWND(GetNumberedWindow(WIN_ANNOTATION));
  if (!w) w = g_window;
  if (w && IsWindow(w)) DestroyWindow(w);
}

HWND ShowAnnotationPage(int page) {
  AnnotationRecord* r = TheRecord();
  if (!r || page < 0 || page > 2) return g_window;
  if (!IsWindowVisible(g_window) && !NumberedWindowOp(WOP_SHOW, WIN_ANNOTATION, WSC_SHOW))
    ShowWindow(g_window, SW_SHOWNA);
  if (!IsWindowVisible(g_window)) ShowWindow(g_window, SW_SHOWNA);
  ShowPage(r, page);
  Services().updateMainMenuState();
  return g_window;
}

void LockAnnotationDialog(int locked) {
  AnnotationRecord* r = TheRecord();
  if (!r) return;
  r->locked = locked != 0;
  if (!r->pages[0].editing) EnableButton(r->pages[0].window, kAnnotationEdit, !r->locked);
}

void SetAnnotationText(int comment, const char* text) {
  AnnotationRecord* r = TheRecord();
  if (!r || comment < 0 || comment > 3) return;
  if (comment < r->pageCount && r->pages[comment].window)
    SetDlgItemTextA(r->pages[comment].window, kPageEdits[comment], ForEdit(text).c_str());
  if (comment == 3) {
    // Play stays off while a clip is running on the page.
    const bool playable = HasEmbeddedCommands(text);
    for (int page : {1, 3})
      if (page < r->pageCount && !r->pages[page].clip) EnableButton(r->pages[page].window, kAnnotationPlay, playable);
  }
}

void SetMoveComment(const char* text, int comment) {
  GameRecord* game = GetCurrentGame();
  if (!game || !game->tree || comment < 0 || comment > 4) return;
  if (GetCurrentPly(game) <= 0) {
    memFree_rel(game->header.texts[comment]);
    game->header.texts[comment] = text && *text ? memStrdup_rel(text, 66) : nullptr;
  } else if (MoveRecord* move = GetCurrentMove(game)) {
    SetMoveString(move, text && *text ? text : nullptr, comment);
  }
  BroadcastToWindows(RWM_GAME_EVENT, GE_GAME_EDITED, reinterpret_cast<intptr_t>(game), 0);
}

bool IsAnnotationFrozen() { return g_frozen; }

INT_PTR CALLBACK AnnotationDlgProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInit(w, lParam);
    return FALSE;
  }
  AnnotationRecord* r = Record(w);
  if (!r) return FALSE;
  switch (message) {
    case WM_DESTROY:
      OnDestroy(w, r);
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = kMinWidth;
      info->ptMinTrackSize.y = kMinHeight;
      info->ptMaxTrackSize.x = 1000;
      info->ptMaxTrackSize.y = 800;
      return TRUE;
    }
    case WM_WINDOWPOSCHANGING: {
      // The framed window's toolkit answers the track-size question itself.
      MINMAXINFO limits{};
      limits.ptMinTrackSize = POINT{kMinWidth, kMinHeight};
      limits.ptMaxTrackSize = POINT{1000, 800};
      HoldTrackSize(reinterpret_cast<WINDOWPOS*>(lParam), limits);
      return FALSE;
    }
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      WindowPosRecord record{pos->hwnd, pos->hwndInsertAfter, pos->x, pos->y, pos->cx, pos->cy, pos->flags};
      NumberedWindowOp(WOP_SET_RECT_POS, WIN_ANNOTATION, intptr_t(&record));
      Layout(w, r);
      return FALSE;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == UINT_PTR(kAnnotationTabs) && header->code == UINT(TCN_SELCHANGE))
        ShowPage(r, int(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      return TRUE;
    }
    case WM_CHAR:
      if (HWND main = HWND(GetNumberedWindow(WIN_MAIN_FRAME))) PostMessageA(main, message, wParam, lParam);
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(HDC(wParam), TRANSPARENT);
      return INT_PTR(GetStockObject(NULL_BRUSH));
    case WM_CLOSE:
      if (!NumberedWindowOp(WOP_SHOW, WIN_ANNOTATION, WSC_HIDE)) ShowWindow(w, SW_HIDE);
      Services().updateMainMenuState();
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageA(w, WM_CLOSE, 0, 0);
        return TRUE;
      }
      return FALSE;
    case RWM_GAME_EVENT:
      OnGameEvent(r, wParam);
      return TRUE;
    default:
      return FALSE;
  }
}

void SetAnnotationServices(const AnnotationServices* services) {
  g_services = services ? *services : AnnotationServices{};
}
