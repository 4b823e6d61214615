// The defaults of the frame's link table: each is what the frame does when
// the module behind the entry is not there.
#include <windows.h>

#include <cstring>

#include "frame_links.h"

namespace {

HINSTANCE ExecutableInstance() { return GetModuleHandleA(nullptr); }

const char* ExecutableFolder() {
  static char folder[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) {
    folder[0] = 0;
    return folder;
  }
  if (char* slash = std::strrchr(folder, '\\')) *slash = 0;
  return folder;
}

int Off() { return 0; }
int On() { return 1; }
void Nothing() {}
void NothingInt(int) {}
void NoSound(int) {}
void NoRecord(int, HWND) {}
int NoStoredRect(int, RECT*) { return 0; }
void SystemScreen(int* width, int* height) {
  if (width) *width = GetSystemMetrics(SM_CXSCREEN);
  if (height) *height = GetSystemMetrics(SM_CYSCREEN);
}
void NoFollow(HWND, const WINDOWPOS*) {}
void NoPost(UINT, WPARAM, LPARAM) {}
void NoShow(int, int) {}
int Lobby() { return 0; }
HWND NoBoard() { return nullptr; }
void NoHook(HWND, UINT, WPARAM, LPARAM) {}
int NoMenuCommand(HWND, int) { return 0; }

int SystemMessageBox(HWND owner, const char* text, UINT flags) {
  char caption[64] = "Rookwell";
  LoadStringA(GetFrameLinks().programInstance(), 3, caption, sizeof caption);
  return MessageBoxA(owner, text, caption, flags);
}

void NoPrintPalette(HPALETTE) {}
void NoCanvas(void*, const RGBQUAD*) {}

FrameLinks Defaults() {
  FrameLinks l;
  l.programInstance = ExecutableInstance;
  l.programFolder = ExecutableFolder;
  l.windowCloseSoundOn = Off;
  l.playGameSound = NoSound;
  l.reacquireSoundDevice = On;
  l.releaseSoundDevice = Nothing;
  l.stopVoiceClip = Nothing;
  l.enableAccelerators = NothingInt;
  l.setIdleLevel = NothingInt;
  l.recordNumberedWindow = NoRecord;
  l.storedWindowRect = NoStoredRect;
  l.screenSize = SystemScreen;
  l.setLayoutReset = NothingInt;
  l.followFrame = NoFollow;
  l.postToNumberedWindows = NoPost;
  l.showNumberedWindow = NoShow;
  l.enableNumberedWindows = NothingInt;
  l.currentRoom = Lobby;
  l.roomBoardWindow = NoBoard;
  l.databaseHook = NoHook;
  l.mainMenuCommand = NoMenuCommand;
  l.userLoggedIn = Off;
  l.saveUserLayout = Nothing;
  l.messageBox = SystemMessageBox;
  l.setPrintPalette = NoPrintPalette;
  l.setBoardCanvasColours = NoCanvas;
  return l;
}

FrameLinks g_links = Defaults();

}  // namespace

FrameLinks& GetFrameLinks() { return g_links; }

void ResetFrameLinks() { g_links = Defaults(); }
