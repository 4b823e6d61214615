// The program's message box (see message_box.h).
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app_globals.h"
#include "app_messages.h"
#include "dialog_helpers.h"
#include "facet.h"
#include "facet_frame.h"
#include "heapkit.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "message_box.h"
#include "message_box_rules.h"
#include "profile.h"
#include "room_switch.h"
#include "win_utils.h"

namespace {

struct MessageBoxParams {
  MessageBoxCallback callback;
  uint32_t data;
  uint32_t flags;
  uint32_t state;  // bit 0 modal, bit 1 placed
  const char* text;
};
constexpr uint32_t kModal = 1, kPlaced = 2;
constexpr int kTextControl = 301;

WNDPROC g_dialogProc = nullptr;  // the toolkit dialog class's procedure
int g_paramsOffset = -1;         // the box's last window word
int g_classState = 0;            // 0 not tried, 1 registered, -1 impossible
BoxPlacement g_placement;
int (*g_autoplayReady)() = nullptr;

// The open modeless boxes and their countdown, guarded by one lock.
struct ModelessList {
  CRITICAL_SECTION lock;
  BoxCountdown boxes;
  UINT_PTR timer = 0;
  ModelessList() { InitializeCriticalSection(&lock); }
  ~ModelessList() {
    if (timer) KillTimer(nullptr, timer);
    DeleteCriticalSection(&lock);
  }
};
ModelessList g_list;

struct Lock {
  Lock() { EnterCriticalSection(&g_list.lock); }
  ~Lock() { LeaveCriticalSection(&g_list.lock); }
};

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

const char* Caption() {
  const char* text = LoadOwnString(3);
  return text[0] ? text : "Rookwell";
}

int SystemBox(HWND owner, const char* text, uint32_t flags) {
  char caption[64];
  std::snprintf(caption, sizeof caption, "%s", Caption());
  return MessageBoxA(owner, text ? text : "", caption, flags);
}

LRESULT CALLBACK MessageBoxTextProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  const LRESULT r = CallWindowProcA(g_dialogProc, window, message, first, second);
  if (message == WM_CTLCOLORSTATIC) {
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(reinterpret_cast<HWND>(second), WM_GETFONT, 0, 0)))
      SelectObject(reinterpret_cast<HDC>(first), font);
  }
  return r;
}

bool RegisterMessageBoxClass() {
  if (g_classState) return g_classState > 0;
  g_classState = -1;
  if (!GetSkinModule()) return false;
  WNDCLASSA wc{};
  if (!GetClassInfoA(Instance(), "cguiDialogClass", &wc) && !GetClassInfoA(nullptr, "cguiDialogClass", &wc))
    return false;
  g_dialogProc = wc.lpfnWndProc;
  wc.lpfnWndProc = MessageBoxTextProc;
  g_paramsOffset = wc.cbWndExtra;
  wc.cbWndExtra += int(sizeof(LONG_PTR));
  wc.hInstance = Instance();
  wc.lpszClassName = kMessageBoxClass;
  wc.style &= ~CS_GLOBALCLASS;
  if (!RegisterClassA(&wc)) return false;
  g_classState = 1;
  return true;
}

MessageBoxParams* ParamsOf(HWND box) {
  return g_paramsOffset < 0 ? nullptr
                            : reinterpret_cast<MessageBoxParams*>(GetWindowLongPtrA(box, g_paramsOffset));
}

MessageBoxParams* NewParams(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data,
                            uint32_t state) {
  auto* p = static_cast<MessageBoxParams*>(memAlloc_rel(sizeof(MessageBoxParams), 66));
  if (!p) return nullptr;
  *p = MessageBoxParams{callback, data, flags, state, text ? text : ""};
  return p;
}

RECT ChildRect(HWND box, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The text control takes the text's height; the box and the controls
// below it move by the difference.
void FitToText(HWND box, const char* text) {
  HWND control = GetDlgItem(box, kTextControl);
  if (!control) return;
  SetWindowTextA(control, text);
  HFONT font = cguiGetFont(kDialogFontSlot);
  if (font) SendMessageA(control, WM_SETFONT, WPARAM(font), FALSE);
  RECT client;
  GetClientRect(control, &client);
  RECT measure = client;
  HDC dc = GetDC(control);
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  DrawTextA(dc, text, -1, &measure, DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  if (old) SelectObject(dc, old);
  ReleaseDC(control, dc);
  const int textHeight = measure.bottom - measure.top;
  const int growth = textHeight - (client.bottom - client.top);
  const RECT own = ChildRect(box, control);
  SetWindowPos(control, nullptr, 0, 0, own.right - own.left, textHeight, SWP_NOMOVE | SWP_NOZORDER);
  RECT frame;
  GetWindowRect(box, &frame);
  SetWindowPos(box, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + growth,
               SWP_NOMOVE | SWP_NOZORDER);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child == control) continue;
    const RECT r = ChildRect(box, child);
    SetWindowPos(child, nullptr, r.left, r.top + growth, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
}

void SetButtons(HWND box, uint32_t flags) {
  const BoxButtonSet set = MessageBoxButtons(flags);
  for (int id : {1, 2, 300})
    if (HWND b = GetDlgItem(box, id)) ShowWindow(b, SW_HIDE);
  RECT client;
  GetClientRect(box, &client);
  const int width = client.right - client.left;
  HWND buttons[3] = {};
  int widths[3] = {};
  for (int i = 0; i < set.count; ++i) {
    buttons[i] = GetDlgItem(box, set.ids[i]);
    if (!buttons[i]) return;
    if (set.captions[i]) {
      const char* caption = LoadOwnString(uint32_t(set.captions[i]));
      SetWindowTextA(buttons[i], caption[0] ? caption : set.fallbackCaptions[i]);
    } else if (set.fallbackCaptions[i]) {
      SetWindowTextA(buttons[i], set.fallbackCaptions[i]);
    }
    const RECT r = ChildRect(box, buttons[i]);
    widths[i] = r.right - r.left;
  }
  int xs[3] = {};
  if (set.count == 1) xs[0] = CenterItemX(width, widths[0]);
  if (set.count == 2) SpaceTwoItemsX(width, widths[0], widths[1], &xs[0], &xs[1]);
  if (set.count == 3) SpaceThreeItemsX(width, widths[0], widths[1], widths[2], &xs[0], &xs[1], &xs[2]);
  for (int i = 0; i < set.count; ++i) {
    const RECT r = ChildRect(box, buttons[i]);
    SetWindowPos(buttons[i], nullptr, xs[i], r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
    ShowWindow(buttons[i], SW_SHOW);
  }
}

// The remembered place lives under [layout]; older settings kept it under
// [rwonline], where it was written but never read back.
void LoadPlacement() {
  const char* ini = GetSettingsIniPath();
  int x = ProfileReadInt("layout", "messagebox_x1", -99999, ini);
  int y = ProfileReadInt("layout", "messagebox_y1", -99999, ini);
  if (x == -99999 || y == -99999) {
    x = ProfileReadInt("rwonline", "messagebox_x1", -1, ini);
    y = ProfileReadInt("rwonline", "messagebox_y1", -1, ini);
  }
  g_placement.Load(x, y);
}

void SavePlacement() {
  const ShellRect r = g_placement.BoxRect();
  char text[16];
  const char* ini = GetSettingsIniPath();
  std::snprintf(text, sizeof text, "%d", r.left);
  ProfileWriteString("layout", "messagebox_x1", text, ini);
  std::snprintf(text, sizeof text, "%d", r.top);
  ProfileWriteString("layout", "messagebox_y1", text, ini);
}

void PlaceBox(HWND box) {
  if (!g_placement.Loaded()) LoadPlacement();
  RECT frame;
  GetWindowRect(box, &frame);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const ShellRect r = g_placement.Place(frame.right - frame.left, frame.bottom - frame.top,
                                        ShellRect{work.left, work.top, work.right, work.bottom});
  HWND owner = GetWindow(box, GW_OWNER);
  const HWND order = owner && IsWindowVisible(owner) ? HWND_TOP : HWND_TOPMOST;
  SetWindowPos(box, order, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void CALLBACK CountdownTick(HWND, UINT, UINT_PTR, DWORD) {
  Lock lock;
  for (void* box : g_list.boxes.Tick())
    if (IsWindow(static_cast<HWND>(box))) PostMessageA(static_cast<HWND>(box), RWM_MSGBOX_TIMEOUT, 0, 0);
}

int ModalRun(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data, DLGPROC procedure,
             HWND owner) {
  MessageBoxParams* params = NewParams(text, flags, callback, data, kModal);
  if (!params) return 0;
  CwCreateParams create;
  std::memset(&create, 0, sizeof create);
  create.appParam = reinterpret_cast<LPARAM>(params);
  EnableMainWindowUI(0);
  HoldRoomTimer();
  const ModalPause pause = BeginModalPause(1);
  const INT_PTR result = DialogBoxParamA(Instance(), "IDD_MESSAGEBOX", owner, procedure ? procedure : MessageBoxDlgProc,
                                         reinterpret_cast<LPARAM>(&create));
  EnableMainWindowUI(1);
  EndModalPause(pause);
  ReleaseRoomTimer();
  return int(result);
}

bool AutoplaySkips(uint32_t flags) {
  return flags == 0 && g_autoplayReady && g_autoplayReady() && ProfileReadInt("debug", "autoplay", 0, GetMainIniPath());
}

}  // namespace

INT_PTR CALLBACK MessageBoxDlgProc(HWND box, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG: {
      const CwCreateParams* create = reinterpret_cast<const CwCreateParams*>(second);
      MessageBoxParams* params = create ? reinterpret_cast<MessageBoxParams*>(create->appParam) : nullptr;
      if (!params) return TRUE;
      FitToText(box, params->text);
      params->text = nullptr;
      SetWindowLongPtrA(box, g_paramsOffset, reinterpret_cast<LONG_PTR>(params));
      SetButtons(box, params->flags);
      PlaceBox(box);
      params->state |= kPlaced;
      if (HWND first1 = GetDlgItem(box, 1); first1 && IsWindowVisible(first1)) SetFocus(first1);
      else if (HWND visible = GetDlgItem(box, MessageBoxButtons(params->flags).ids[0])) SetFocus(visible);
      return FALSE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(first);
      MessageBoxParams* params = ParamsOf(box);
      if (!params || (id != 1 && id != 2 && id != 300)) return FALSE;
      EndMessageBox(box, MessageBoxResult(params->flags, id));
      return TRUE;
    }
    case RWM_MSGBOX_TIMEOUT:
      EndMessageBox(box, kBoxTimeoutResult);
      return TRUE;
    case WM_CLOSE: {
      MessageBoxParams* params = ParamsOf(box);
      if (!params) return FALSE;
      EndMessageBox(box, MessageBoxCloseResult(params->flags));
      return TRUE;
    }
    case WM_MOVE: {
      MessageBoxParams* params = ParamsOf(box);
      if (params && (params->state & kPlaced)) {
        RECT r;
        GetWindowRect(box, &r);
        g_placement.Moved(ShellRect{r.left, r.top, r.right, r.bottom});
      }
      return FALSE;
    }
    case WM_DESTROY: {
      MessageBoxParams* params = ParamsOf(box);
      if (!params) return FALSE;
      if (g_placement.Closed()) SavePlacement();
      if (!(params->state & kModal)) {
        Lock lock;
        g_list.boxes.Remove(box);
      }
      SetWindowLongPtrA(box, g_paramsOffset, 0);
      memFree_rel(params);
      return FALSE;
    }
  }
  return FALSE;
}

void EndMessageBox(HWND box, int result) {
  MessageBoxParams* params = ParamsOf(box);
  if (!params) return;
  if (params->callback) params->callback(result, params->data);
  if (params->state & kModal) EndDialog(box, result);
  else DestroyWindow(box);
}

int RunMessageBoxDialog(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data, DLGPROC procedure,
                        HWND owner) {
  if (!RegisterMessageBoxClass()) {
    const int result = SystemBox(owner, text, flags);
    if (callback) callback(result, data);
    return result;
  }
  return ModalRun(text, flags, callback, data, procedure, owner);
}

int AppMessageBox(const char* text, uint32_t flags) {
  if (AutoplaySkips(flags)) return 0;
  return RunMessageBoxDialog(text, flags, nullptr, 0, nullptr, GetMainFrame());
}

int AppMessageBoxAt(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data) {
  return RunMessageBoxDialog(text, flags, callback, data, nullptr, GetMainFrame());
}

int AppMessageBoxOwned(const char* text, uint32_t flags, HWND owner) {
  return RunMessageBoxDialog(text, flags, nullptr, 0, nullptr, owner);
}

HWND CreateModelessMessageBox(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data,
                              int timeoutSeconds, DLGPROC procedure) {
  if (!RegisterMessageBoxClass()) {
    const int result = SystemBox(GetMainFrame(), text, flags);
    if (callback) callback(result, data);
    return nullptr;
  }
  MessageBoxParams* params = NewParams(text, flags, callback, data, 0);
  if (!params) return nullptr;
  CwCreateParams create;
  std::memset(&create, 0, sizeof create);
  create.appParam = reinterpret_cast<LPARAM>(params);
  HWND box = CreateDialogParamA(Instance(), "IDD_MESSAGEBOX", GetMainFrame(),
                                procedure ? procedure : MessageBoxDlgProc, reinterpret_cast<LPARAM>(&create));
  if (!box) {
    memFree_rel(params);
    return nullptr;
  }
  Lock lock;
  g_list.boxes.Add(box, timeoutSeconds);
  if (!g_list.timer) g_list.timer = SetTimer(nullptr, 0, 1000, CountdownTick);
  return box;
}

HWND ShowModelessMessageBox(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data,
                            int timeoutSeconds) {
  return CreateModelessMessageBox(text, flags, callback, data, timeoutSeconds, nullptr);
}

HWND ShowModelessMessageBoxNoTimeout(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data) {
  return CreateModelessMessageBox(text, flags, callback, data, kNoTimeout, nullptr);
}

HWND ShowProgressMessageBox(const char* text, MessageBoxCallback callback, uint32_t data) {
  return CreateModelessMessageBox(text, 15, callback, data, kNoTimeout, nullptr);
}

int PassToMessageBoxes(MSG* message) {
  if (!message) return 0;
  Lock lock;
  for (void* box : g_list.boxes.Boxes())
    if (IsWindow(static_cast<HWND>(box)) && IsDialogMessageA(static_cast<HWND>(box), message)) return 1;
  return 0;
}

void ResetMessageBoxPlacement() { g_placement.Reset(); }

int OpenModelessBoxes() {
  Lock lock;
  return int(g_list.boxes.Size());
}

void SetAutoplayReady(int (*ready)()) { g_autoplayReady = ready; }

void InstallMessageBox() {
  ShellServices s = GetShellServices();
  s.appMessageBox = AppMessageBox;
  s.appMessageBoxOwned = [](const char* text, uint32_t flags, void* owner) {
    return AppMessageBoxOwned(text, flags, static_cast<HWND>(owner));
  };
  s.showModelessMessageBox = [](const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data,
                                int timeout) -> void* {
    return ShowModelessMessageBox(text, flags, callback, data, timeout);
  };
  SetShellServices(s);
}
