// The splash thread and its window (see splash.h).
#include "splash.h"

#include <process.h>

#include <cstring>

#include "frame_links.h"
#include "frame_rules.h"
#include "look_and_feel.h"

namespace {

struct SplashScreen {
  HWND window = nullptr;
  HBITMAP bitmap = nullptr;
  char resource[64] = {};
  char title[64] = {};
};

struct StartArgs {
  char resource[64];
  HANDLE queueReady;
};

DWORD g_threadId = 0;
HANDLE g_thread = nullptr;
// Set once a paint has given up waiting for the palette, so later paints
// do not wait again.
bool g_paletteGivenUp = false;

HPALETTE WaitForPalette() {
  for (DWORD waited = 0; !g_paletteGivenUp; waited += 5) {
    if (HPALETTE p = GetAppPalette()) return p;
    if (waited >= kSplashPaletteWaitMs) g_paletteGivenUp = true;
    else Sleep(5);
  }
  return GetAppPalette();
}

void OnCreate(HWND window, const CREATESTRUCTA* cs) {
  auto* splash = static_cast<SplashScreen*>(cs->lpCreateParams);
  if (!splash) return;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(splash));
  BITMAP bm;
  if (!GetObjectA(splash->bitmap, sizeof bm, &bm)) return;
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  const shell::Rect r = shell::CentreOnDesktop(shell::Rect{desktop.left, desktop.top, desktop.right, desktop.bottom},
                                               bm.bmWidth, bm.bmHeight);
  SetWindowPos(window, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_SHOWWINDOW);
  ShowWindow(window, SW_SHOW);
}

void OnPaint(HWND window) {
  HPALETTE palette = WaitForPalette();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  auto* splash = reinterpret_cast<SplashScreen*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!splash) {
    EndPaint(window, &ps);
    DestroyWindow(window);
    return;
  }
  HPALETTE old = nullptr;
  if (palette) {
    old = SelectPalette(dc, palette, TRUE);
    if (RealizePalette(dc) > 0)
      RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_INTERNALPAINT | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
  }
  BITMAP bm;
  if (GetObjectA(splash->bitmap, sizeof bm, &bm)) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ was = SelectObject(memory, splash->bitmap);
    BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, was);
    DeleteDC(memory);
  }
  if (old) SelectPalette(dc, old, TRUE);
  EndPaint(window, &ps);
}

LRESULT CALLBACK SplashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
      break;
    case WM_DESTROY:
      PostQuitMessage(2);
      return 0;
    case WM_PAINT:
      OnPaint(window);
      break;  // then default processing, which finds nothing left to paint
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool BuildSplash(SplashScreen* splash, HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = SplashWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_APPSTARTING);
  wc.lpszClassName = kSplashClass;
  if (!RegisterClassA(&wc)) return false;
  splash->bitmap = static_cast<HBITMAP>(LoadImageA(instance, splash->resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!splash->bitmap) return false;
  LoadStringA(instance, 1, splash->title, sizeof splash->title);
  splash->window = CreateWindowExA(0, kSplashClass, "", WS_POPUP | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, splash);
  return splash->window != nullptr;
}

unsigned __stdcall SplashThread(void* argument) {
  auto* args = static_cast<StartArgs*>(argument);
  // Any call that needs a queue makes one; from then on the end message
  // can be posted to this thread.
  GetFocus();
  MSG peek;
  PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE);
  g_paletteGivenUp = false;
  SplashScreen splash;
  std::strcpy(splash.resource, args->resource);
  SetEvent(args->queueReady);  // args belongs to StartSplash from here on
  HINSTANCE instance = GetFrameLinks().programInstance();
  BuildSplash(&splash, instance);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == kSplashEndMessage && !msg.hwnd) {
      // Without a window (no class or no bitmap) nothing would post the
      // quit message, so the end message ends the loop itself.
      if (splash.window && IsWindow(splash.window)) DestroyWindow(splash.window);
      else PostQuitMessage(2);
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  UnregisterClassA(kSplashClass, instance);
  if (splash.bitmap) DeleteObject(splash.bitmap);
  return 0;
}

}  // namespace

int StartSplash(const char* resource) {
  StartArgs args{};
  std::strncpy(args.resource, resource ? resource : "", sizeof args.resource - 1);
  args.queueReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!args.queueReady) return 0;
  unsigned id = 0;
  HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, SplashThread, &args, 0, &id));
  if (thread) {
    // The id is kept before start-up goes on, and the thread's queue made,
    // so an end posted straight away is not lost.
    g_threadId = id;
    WaitForSingleObject(args.queueReady, INFINITE);
    if (g_thread) CloseHandle(g_thread);
    g_thread = thread;
  }
  CloseHandle(args.queueReady);
  return thread ? 1 : 0;
}

int EndSplash() {
  if (!g_threadId) return 0;
  PostThreadMessageA(g_threadId, kSplashEndMessage, 0, 0);
  return 1;
}

DWORD SplashThreadId() { return g_threadId; }
