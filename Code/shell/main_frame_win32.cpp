// The main frame window: its class, creation, window procedure and the
// calls rooms and modal boxes make on it (see main_frame.h).
#include "main_frame.h"

#include <cstring>

#include "frame_links.h"
#include "frame_rules.h"
#include "look_and_feel.h"
#include "status_line.h"

namespace {

HWND g_frame = nullptr;
CmMenu* g_menu = nullptr;  // the menu the toolkit made for the frame
FrameMenuHandler g_roomHandler = nullptr;
LPARAM g_creationParameter = 0;
// Until start-up shows the frame, activating the program (a fatal message
// box during start-up) leaves it hidden.
bool g_shownOnce = false;

HINSTANCE Instance() { return GetFrameLinks().programInstance(); }

void RetrySoundDevice(HWND window) {
  // A device that stays lost is retried once a second, not at once again:
  // re-posting straight away would keep the processor busy until it comes
  // back.
  if (!GetFrameLinks().reacquireSoundDevice()) SetTimer(window, kSoundRetryTimer, kSoundRetryMs, nullptr);
}

void OnClose(HWND window, LPARAM second) {
  GetFrameLinks().stopVoiceClip();
  if (!second) {
    char text[256] = "Exit Now?";
    LoadStringA(Instance(), IDS_EXIT_NOW, text, sizeof text);
    if (GetFrameLinks().messageBox(window, text, MB_YESNO) != IDYES) return;
  }
  GetFrameLinks().setIdleLevel(-1);
  DestroyMainFrame();
}

void OnActivateApp(HWND window, WPARAM active) {
  FrameLinks& links = GetFrameLinks();
  if (!active) {
    links.stopVoiceClip();
    links.releaseSoundDevice();
  } else {
    if (!links.reacquireSoundDevice()) PostMessageA(window, RWM_SOUND_BACK, 0, 0);
    if (g_shownOnce)
      SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  }
  links.postToNumberedWindows(RWM_APP_ACTIVE, active, 0);
}

void OnMinMaxInfo(MINMAXINFO* info) {
  info->ptMinTrackSize = POINT{shell::kFrameMinTrackWidth, shell::kFrameMinTrackHeight};
  info->ptMaxTrackSize = POINT{shell::kFrameMaxTrackWidth, shell::kFrameMaxTrackHeight};
}

void OnPositionChanged(HWND window, const WINDOWPOS* pos) {
  if ((pos->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) GetFrameLinks().followFrame(window, pos);
  RECT r;
  GetWindowRect(window, &r);
  SetStatusBarParts(window, r.right - r.left);
}

LRESULT OnSysCommand(HWND window, WPARAM command, LPARAM second) {
  switch (command & 0xFFF0) {
    case SC_CLOSE:
      PostMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case SC_SCREENSAVE:
      return 1;  // no screen saver while the program is active
  }
  return cwDefWindowProc(window, WM_SYSCOMMAND, command, second);
}

LRESULT OnNotify(WPARAM code) {
  bool play = false;
  const int answer = shell::NotifyAnswer(unsigned(code), GetFrameLinks().windowCloseSoundOn() != 0, &play);
  if (play) GetFrameLinks().playGameSound(14);  // the close sound
  return answer;
}

}  // namespace

LRESULT CALLBACK MainFrameWndProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  FrameLinks& links = GetFrameLinks();
  if (links.currentRoom() == 5) links.databaseHook(window, message, first, second);
  switch (message) {
    case WM_CREATE:
      g_creationParameter = LPARAM(reinterpret_cast<const CREATESTRUCTA*>(second)->lpCreateParams);
      links.recordNumberedWindow(0, window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(first) == WA_CLICKACTIVE && !links.reacquireSoundDevice())
        PostMessageA(window, RWM_SOUND_BACK, 0, 0);
      return 0;
    case WM_CLOSE:
      OnClose(window, second);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_ACTIVATEAPP:
      OnActivateApp(window, first);
      return 0;
    case WM_GETMINMAXINFO:
      OnMinMaxInfo(reinterpret_cast<MINMAXINFO*>(second));
      return 0;
    case WM_WINDOWPOSCHANGED:
      // The toolkit lays its frame out for the new size first.
      cwDefWindowProc(window, message, first, second);
      OnPositionChanged(window, reinterpret_cast<const WINDOWPOS*>(second));
      return 0;
    case WM_CHAR:
      if (HWND board = links.roomBoardWindow()) return SendMessageA(board, message, first, second);
      return 0;
    case WM_COMMAND:
      MainFrameCommand(window, first, second);
      return 0;
    case WM_SYSCOMMAND:
      return OnSysCommand(window, first, second);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (HPALETTE palette = GetAppPalette()) {
        SelectPalette(reinterpret_cast<HDC>(first), palette, TRUE);
        RealizePalette(reinterpret_cast<HDC>(first));
      }
      return 0;
    case WM_ENTERMENULOOP:
      links.enableAccelerators(0);
      return cwDefWindowProc(window, message, first, second);
    case WM_EXITMENULOOP:
      links.enableAccelerators(1);
      return cwDefWindowProc(window, message, first, second);
    case WM_TIMER:
      if (first != kSoundRetryTimer) break;
      KillTimer(window, kSoundRetryTimer);
      RetrySoundDevice(window);
      return 0;
    case RWM_SOUND_BACK:
      KillTimer(window, kSoundRetryTimer);  // one retry at a time
      RetrySoundDevice(window);
      return 0;
    case RWM_ROOM_RECT:
      if (!second) return 0;
      links.storedWindowRect(1, reinterpret_cast<RECT*>(second));
      return second;
    case CWM_NOTIFY:
      return OnNotify(first);
  }
  return cwDefWindowProc(window, message, first, second);
}

LRESULT MainFrameCommand(HWND window, WPARAM first, LPARAM second) {
  if (g_roomHandler && g_roomHandler(window, first, second)) return 0;
  if (LOWORD(first) == kQuitCommand) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  }
  GetFrameLinks().mainMenuCommand(window, LOWORD(first));
  return 0;
}

int RegisterMainFrameClass() {
  WNDCLASSA wc{};
  wc.style = kMainFrameClassStyle;
  wc.lpfnWndProc = MainFrameWndProc;
  wc.cbWndExtra = kMainFrameExtraBytes;
  wc.hInstance = Instance();
  wc.hIcon = LoadIconA(Instance(), MAKEINTRESOURCEA(kMainFrameIcon));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
  wc.lpszClassName = kMainFrameClass;
  return RegisterClassA(&wc) ? 1 : 0;
}

int UnregisterMainFrameClass() { return UnregisterClassA(kMainFrameClass, Instance()) ? 1 : 0; }

HWND CreateMainFrame() {
  FrameLinks& links = GetFrameLinks();
  CwCreateParams params;
  std::memset(&params, 0, sizeof params);
  params.flags = 3;  // status bar and menu bar
  FillMainFrameSet(&params.frame, GetSkinModule());
  params.menuId = kMainMenuId;
  params.systemMenuId = kSystemMenuId;
  params.menuModule = Instance();
  params.appParam = kMainFrameParameter;

  RECT stored{};
  const bool haveStored = links.storedWindowRect(0, &stored) != 0;
  int screenWidth = 0, screenHeight = 0;
  links.screenSize(&screenWidth, &screenHeight);
  const shell::Rect storedRect{stored.left, stored.top, stored.right, stored.bottom};
  bool reset = false;
  const shell::Rect r = shell::ChooseFrameRect(haveStored ? &storedRect : nullptr, screenWidth, screenHeight, &reset);
  if (reset) links.setLayoutReset(1);

  char title[256] = "Rookwell Onyx";
  LoadStringA(Instance(), 1, title, sizeof title);
  HWND frame = cwCreateWindowEx(0, kMainFrameClass, title, kMainFrameStyle, r.left, r.top, r.Width(), r.Height(),
                                GetDesktopWindow(), nullptr, Instance(), &params);
  g_frame = frame;
  if (!frame) return nullptr;
  if (params.flags & 1) SetStatusBarParts(frame, r.Width());
  g_menu = cmGetMenu(frame);
  cwSetAppMainWindow(Instance(), frame);
  return frame;
}

void ShowMainFrame(int) {
  FrameLinks& links = GetFrameLinks();
  links.showNumberedWindow(0, SW_SHOW);
  links.showNumberedWindow(1, SW_SHOW);
  if (!g_frame) return;
  g_shownOnce = true;
  SetForegroundWindow(g_frame);
  SetWindowPos(g_frame, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

HWND FindRunningMainFrame() {
  char title[256] = "Rookwell Onyx";
  LoadStringA(Instance(), 1, title, sizeof title);
  return FindWindowA(kMainFrameClass, title);
}

void EnableMainWindowUI(int enable) {
  if (g_frame) cwEnableMenu(g_frame, enable);
  GetFrameLinks().enableAccelerators(enable);
  GetFrameLinks().enableNumberedWindows(enable);
}

int SetMainMenu(CmMenu* menu, FrameMenuHandler handler) {
  if (!handler) return 0;
  if (g_frame) cmSetMenu(g_frame, menu);
  g_roomHandler = handler;
  return 1;
}

void DestroyMainFrame() {
  FrameLinks& links = GetFrameLinks();
  if (links.userLoggedIn()) links.saveUserLayout();
  // The menu bar's own menu goes with the window; the frame's first menu
  // is destroyed here only when a room's menu had taken its place, so no
  // menu is freed twice.
  CmMenu* onBar = g_frame ? cmGetMenu(g_frame) : nullptr;
  HWND frame = g_frame;
  g_frame = nullptr;
  g_shownOnce = false;
  if (frame) DestroyWindow(frame);
  if (g_menu && g_menu != onBar) cmDestroyMenu(g_menu);
  g_menu = nullptr;
  g_roomHandler = nullptr;
}

HWND GetMainFrame() { return g_frame; }

LPARAM MainFrameCreationParameter() { return g_creationParameter; }
