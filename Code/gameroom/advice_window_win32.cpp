// The advice window over Win32.
#include "advice_window.h"

#include <cstring>
#include <new>
#include <string>

#include "advice_print.h"
#include "app_globals.h"
#include "app_messages.h"
#include "basic_controls.h"
#include "dialog_helpers.h"
#include "facet_frame.h"
#include "game_record.h"
#include "game_registry.h"
#include "message_table.h"
#include "print_front.h"
#include "track_size_win32.h"
#include "window_table.h"

// The engine link's advice request (its header's language names meet the
// system's).
int RequestAdvice(GameRecord* game, int seconds, bool explain);

namespace {

constexpr UINT kAdviceMenuItem = 40027;
constexpr int kClipMode = 4;
constexpr int kTextSize = 8192;
constexpr int kButtons[5] = {kAdviceThink, kAdvicePlay, kAdvicePause, kAdviceStop, kAdvicePrint};

int StartAdviceDefault(GameRecord* game, int seconds, int automatic) {
  return RequestAdvice(game, seconds, automatic != 0);
}

AdviceServices Defaults() {
  AdviceServices s{};
  s.startAdvice = StartAdviceDefault;
  s.printLine = PrintTextList;
  s.voiceSetting = GetNLAVoiceSetting;
  return s;
}
AdviceServices g_services = Defaults();

struct AdviceRecord {
  HWND dialog;
  void* clip;
  int automatic;
  Guid game;
};

AdviceRecord* Record(HWND w) { return w ? reinterpret_cast<AdviceRecord*>(GetWindowLongPtrA(w, DWLP_USER)) : nullptr; }

void Enable(HWND w, bool think, bool play, bool pause, bool stop, bool print) {
  const bool on[5] = {think, play, pause, stop, print};
  for (int i = 0; i < 5; ++i) EnableWindow(GetDlgItem(w, kButtons[i]), on[i]);
}

void ToggleMenuCheck(bool checked) {
  HWND main = HWND(GetNumberedWindow(WIN_MAIN_FRAME));
  if (HMENU menu = main ? GetMenu(main) : nullptr)
    CheckMenuItem(menu, kAdviceMenuItem, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

std::string Stripped(const char* text) {
  if (!text || !*text) return std::string();
  std::string out(std::strlen(text) + 1, '\0');
  StripMarkup(text, &out[0], out.size());
  out.resize(std::strlen(out.c_str()));
  return out;
}
std::string Markup(const char* text) {
  if (!text || !*text) return std::string();
  std::string out(std::strlen(text) + 1, '\0');
  ExtractMarkup(text, &out[0], out.size());
  out.resize(std::strlen(out.c_str()));
  return out;
}
// The edit shows line breaks only as CR LF.
std::string ForEdit(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

void Refresh(HWND w) {
  SetDlgItemTextA(w, kAdviceText, "");
  Enable(w, false, false, false, false, false);
  GameRecord* game = GetCurrentGame();
  if (!game) return;
  const PlayerRecord& toMove = game->sideToMove == WHITE ? game->white : game->black;
  if (toMove.kind != PLAYER_HUMAN) return;
  EnableWindow(GetDlgItem(w, kAdviceThink), TRUE);
  const std::string text = Stripped(GetPositionComment(game));
  const char* comment = GetPositionComment(game);
  if (!comment || !*comment) return;
  SetDlgItemTextA(w, kAdviceText, ForEdit(text).c_str());
  Enable(w, true, true, false, false, true);
}

void ClipEnded(void* data) {
  auto* r = static_cast<AdviceRecord*>(data);
  r->clip = nullptr;
  Enable(r->dialog, true, true, true, false, true);
}

void Think(HWND w, AdviceRecord* r) {
  GameRecord* game = GetCurrentGame();
  if (!game) return;
  const char* comment = GetPositionComment(game);
  if ((!comment || !*comment) && AddAutoComment(game) == 0) {
    PostMessageA(w, RWM_ADVICE_STATE, 1, 0);
    return;
  }
  const int seconds = int(SendDlgItemMessageA(w, kAdviceSeconds, SPE_GETVALUE, 0, 0));
  if (!g_services.startAdvice || !g_services.startAdvice(game, seconds, r->automatic)) return;
  char waiting[1024] = "";
  GetMessageText(13, 0, 0, waiting, sizeof waiting);
  SetDlgItemTextA(w, kAdviceText, ForEdit(Stripped(waiting)).c_str());
  if (g_services.voiceSetting && g_services.voiceSetting() && g_services.startClip) {
    // Heard while the advisor thinks; the player ends it on its own, so
    // the record keeps no handle that Play could later resume.
    const std::string markup = Markup(waiting);
    if (!markup.empty()) g_services.startClip(markup.c_str(), kClipMode, nullptr, nullptr);
  }
  r->game = game->id;
  Enable(w, false, false, false, false, false);
}

void Play(HWND w, AdviceRecord* r) {
  if (r->clip) {
    if (g_services.resumeClip) g_services.resumeClip(r->clip);
    Enable(w, false, false, true, true, false);
    return;
  }
  GameRecord* game = GetCurrentGame();
  const char* comment = game ? GetPositionComment(game) : nullptr;
  if (!comment || !*comment) {
    Enable(w, true, false, false, false, false);
    return;
  }
  const std::string markup = Markup(comment);
  r->clip = g_services.startClip ? g_services.startClip(markup.c_str(), kClipMode, ClipEnded, r) : nullptr;
  if (r->clip)
    Enable(w, false, false, true, true, false);
  else
    Enable(w, true, true, false, false, true);
}

void Pause(HWND w, AdviceRecord* r) {
  if (r->clip && g_services.pauseClip) g_services.pauseClip(r->clip);
  Enable(w, false, true, false, false, false);
}

void Stop(HWND w, AdviceRecord* r) {
  if (r->clip && g_services.stopClip) g_services.stopClip(r->clip);
  r->clip = nullptr;
  Enable(w, true, true, false, false, true);
}

void Print(HWND w) {
  GameRecord* game = GetCurrentGame();
  const std::string text = Stripped(game ? GetPositionComment(game) : nullptr);
  char title[256] = "";
  GetMessageText(11, 0, 0, title, sizeof title);
  // Every line the print-out holds; none when the text is empty.
  for (const std::string& line : AdvicePrintLines(text, title))
    if (g_services.printLine) g_services.printLine(w, line.c_str());
}

// The edit fills the client area but for a right-hand column of the label's
// width plus 16: the label, the spin box and the five buttons.
void Layout(HWND w, int width, int height) {
  if (width <= 0 || height <= 0) return;
  RECT label, spin, think;
  GetWindowRect(GetDlgItem(w, kAdviceSecondsLabel), &label);
  GetWindowRect(GetDlgItem(w, kAdviceSeconds), &spin);
  GetWindowRect(GetDlgItem(w, kAdviceThink), &think);
  const int labelWidth = label.right - label.left, labelHeight = label.bottom - label.top;
  const int spinHeight = spin.bottom - spin.top, buttonHeight = think.bottom - think.top;
  const int column = labelWidth + 16;
  const int editWidth = width - 8 - column;
  SetWindowPos(GetDlgItem(w, kAdviceText), nullptr, 8, 6, editWidth > 0 ? editWidth : 0, height - 12,
               SWP_NOZORDER | SWP_NOACTIVATE);
  const int x = 8 + (editWidth > 0 ? editWidth : 0) + 8;
  int y = 6;
  SetWindowPos(GetDlgItem(w, kAdviceSecondsLabel), nullptr, x, y, labelWidth, labelHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  y += labelHeight + 6;
  SetWindowPos(GetDlgItem(w, kAdviceSeconds), nullptr, x, y, labelWidth, spinHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  y += spinHeight;
  for (int id : {kAdviceThink, kAdvicePlay, kAdviceStop, kAdvicePause, kAdvicePrint}) {
    y += 6;
    SetWindowPos(GetDlgItem(w, id), nullptr, x, y, labelWidth, buttonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    y += buttonHeight;
  }
  InvalidateRect(w, nullptr, TRUE);
}

void OnInit(HWND w, int automatic) {
  auto* r = new (std::nothrow) AdviceRecord{};
  if (!r) return;
  r->dialog = w;
  r->automatic = automatic;
  if (GameRecord* game = GetCurrentGame()) r->game = game->id;
  SetWindowLongPtrA(w, DWLP_USER, LONG_PTR(r));
  SendDlgItemMessageA(w, kAdviceSeconds, SPE_SETRANGE, 10, MAKELPARAM(0, 999));
  SendDlgItemMessageA(w, kAdviceSeconds, SPE_SETVALUE, 10, 0);
  Refresh(w);
  NumberedWindowOp(WOP_SET_HANDLE, WIN_ADVICE, intptr_t(w));
  ToggleMenuCheck(true);
  ShellRect stored{};
  if (NumberedWindowOp(WOP_GET_RECT_TOO, WIN_ADVICE, intptr_t(&stored)) && stored.right > stored.left &&
      stored.bottom > stored.top)
    SetWindowPos(w, nullptr, stored.left, stored.top, stored.right - stored.left, stored.bottom - stored.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(w, SW_SHOWNA);
  NumberedWindowOp(WOP_SHOW, WIN_ADVICE, SW_SHOWNA);
  RECT client;
  GetClientRect(w, &client);
  Layout(w, client.right, client.bottom);
  GameRecord* game = GetCurrentGame();
  const char* comment = game ? GetPositionComment(game) : nullptr;
  if (game && (!comment || !*comment) && AddAutoComment(game) == 0) {
    PostMessageA(w, RWM_ADVICE_STATE, 1, 0);
  } else if (automatic) {
    SendDlgItemMessageA(w, kAdviceSeconds, SPE_SETVALUE, 1, 0);
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(kAdviceThink, BN_CLICKED), 0);
  }
}

void OnDestroy(HWND w, AdviceRecord* r) {
  if (r->clip && g_services.stopClip) g_services.stopClip(r->clip);
  delete r;
  SetWindowLongPtrA(w, DWLP_USER, 0);
  if (GetNumberedWindow(WIN_ADVICE) == w) NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_ADVICE, 0);
  ToggleMenuCheck(false);
}

void MinimumSize(HWND w, MINMAXINFO* info) {
  RECT think;
  GetWindowRect(GetDlgItem(w, kAdviceThink), &think);
  RECT r{0, 0, (think.right - think.left) + 124, 8 * (think.bottom - think.top) + 54};
  cwAdjustWindowRect(&r, 0x00C40000, 0);
  info->ptMinTrackSize.x = r.right - r.left;
  info->ptMinTrackSize.y = r.bottom - r.top;
  info->ptMaxTrackSize.x = 1000;
  info->ptMaxTrackSize.y = 800;
}

}  // namespace

HWND ShowAdviceDialog(GameRecord* /*game*/, int automatic) {
  HWND open = HWND(GetNumberedWindow(WIN_ADVICE));
  if (open && IsWindow(open)) {
    if (!automatic) {
      DestroyWindow(open);
      return nullptr;
    }
    return open;
  }
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAdviceDialog),
                            HWND(GetNumberedWindow(WIN_MAIN_FRAME)), AdviceDlgProc, LPARAM(automatic));
}

INT_PTR CALLBACK AdviceDlgProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInit(w, int(lParam));
    return FALSE;
  }
  AdviceRecord* r = Record(w);
  if (!r) return FALSE;
  switch (message) {
    case WM_DESTROY:
      OnDestroy(w, r);
      return TRUE;
    case WM_SIZE: {
      Layout(w, LOWORD(lParam), HIWORD(lParam));
      RECT wr;
      GetWindowRect(w, &wr);
      const int32_t rect[4] = {wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top};
      NumberedWindowOp(WOP_SET_RECT_XYWH, WIN_ADVICE, intptr_t(rect));
      return TRUE;
    }
    case WM_GETMINMAXINFO:
      MinimumSize(w, reinterpret_cast<MINMAXINFO*>(lParam));
      return TRUE;
    case WM_WINDOWPOSCHANGING: {
      MINMAXINFO limits{};
      MinimumSize(w, &limits);
      HoldTrackSize(reinterpret_cast<WINDOWPOS*>(lParam), limits);
      return FALSE;
    }
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      WindowPosRecord record{pos->hwnd, pos->hwndInsertAfter, pos->x, pos->y, pos->cx, pos->cy, pos->flags};
      NumberedWindowOp(WOP_SET_RECT_POS, WIN_ADVICE, intptr_t(&record));
      return FALSE;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        DestroyWindow(w);
        return TRUE;
      }
      return FALSE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(HDC(wParam), TRANSPARENT);
      return INT_PTR(GetStockObject(NULL_BRUSH));
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDCANCEL:
          DestroyWindow(w);
          return TRUE;
        case kAdviceThink:
          Think(w, r);
          return TRUE;
        case kAdvicePlay:
          Play(w, r);
          return TRUE;
        case kAdvicePause:
          Pause(w, r);
          return TRUE;
        case kAdviceStop:
          Stop(w, r);
          return TRUE;
        case kAdvicePrint:
          Print(w);
          return TRUE;
        default:
          return FALSE;
      }
    case RWM_GAME_EVENT:
      if (wParam == GE_GAME_SET || wParam == GE_MOVE_PLAYED || wParam == GE_MOVE_TAKEN_BACK ||
          wParam == GE_MOVE_REPLAYED)
        Refresh(w);
      return TRUE;
    case RWM_ADVICE_STATE:
      if (wParam == 1 || wParam == 3) Refresh(w);
      return TRUE;
    default:
      return FALSE;
  }
}

void SetAdviceServices(const AdviceServices* services) {
  const AdviceServices d = Defaults();
  g_services = services ? *services : d;
  if (!g_services.startAdvice) g_services.startAdvice = d.startAdvice;
  if (!g_services.printLine) g_services.printLine = d.printLine;
  if (!g_services.voiceSetting) g_services.voiceSetting = d.voiceSetting;
}
