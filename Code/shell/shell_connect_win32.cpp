// The joins between the shell's parts, made once at start-up.
#include <cstdio>

#include "shell_connect.h"

// The system's GetUserName macro would rename the shell's accessor.
#undef GetUserName

#include "app_globals.h"
#include "cursor_set.h"
#include "data_sets.h"
#include "frame_links.h"
#include "main_frame.h"
#include "main_loop.h"
#include "shell_hosts.h"
#include "shell_services.h"
#include "shell_strings.h"

namespace {

HINSTANCE g_instance = nullptr;
// The frame's own defaults, kept for what the shell cannot answer yet.
FrameLinks g_frameDefaults;

HINSTANCE ProgramInstance() { return g_instance ? g_instance : GetModuleHandleA(nullptr); }

// The splash and the look come up before the application globals exist;
// until then the folder is the executable's.
const char* ProgramFolder() {
  const char* folder = GetProgramFolder();
  return folder && *folder ? folder : g_frameDefaults.programFolder();
}

int WindowCloseSoundOn() { return GetWindowCloseSetting(); }
void PlayGameSound(int sound) { Services().playGameSound(sound); }
int ReacquireSoundDevice() { return Services().reacquireSoundDevice(); }
void ReleaseSoundDevice() { Services().releaseSoundDevice(); }
void StopVoiceClip() {
  if (Services().isVoiceClipPlaying()) Services().stopVoiceClip();
}
void Accelerators(int enable) { EnableAccelerators(enable); }
void IdleLevel(int level) { SetIdleLevel(level); }
void PostToNumberedWindows(UINT message, WPARAM first, LPARAM second) {
  Services().broadcastToWindows(message, first, second, 1);
}
int CurrentRoom() { return Services().getCurrentRoom(); }
// The current room's board window, which takes the characters typed while
// the frame has the focus.
HWND RoomBoardWindow() {
  void* window = nullptr;
  GetBoardViewRect(&window, nullptr);
  return static_cast<HWND>(window);
}
void LayoutReset(int reset) { Services().setLayoutResetFlag(reset); }
int MenuCommand(HWND window, int id) { return Services().mainMenuCommand(window, id); }
int UserLoggedIn() {
  const char* name = GetUserName();
  return name && *name ? 1 : 0;
}
void SaveUserLayout() { Services().saveUserLayout(); }
int MessageBoxOwned(HWND owner, const char* text, UINT flags) {
  return Services().appMessageBoxOwned(text, flags, owner);
}
void PrintPalette(HPALETTE palette) { Services().setPrintPalette(palette); }

void* LoopMainFrame() { return GetMainFrame(); }

// A data file the program needs is missing: the user is told which.
void ReportMissingFile(const char* path) {
  char format[160];
  if (LoadStringA(ProgramInstance(), IDS_DATA_FILE_NOT_FOUND, format, sizeof format) <= 0)
    std::snprintf(format, sizeof format, "The data file %%s was not found.");
  char text[160 + MAX_PATH];
  std::snprintf(text, sizeof text, format, path ? path : "");
  Services().appMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

void* CursorModule() { return ProgramInstance(); }

// The program's string table, or null so the built-in text is used.
const char* ProgramString(int id) {
  static char text[256];
  return LoadStringA(ProgramInstance(), UINT(id), text, sizeof text) > 0 ? text : nullptr;
}

}  // namespace

void ConnectShellParts(HINSTANCE instance) {
  g_instance = instance;
  ResetFrameLinks();
  g_frameDefaults = GetFrameLinks();
  FrameLinks& links = GetFrameLinks();
  links.programInstance = ProgramInstance;
  links.programFolder = ProgramFolder;
  links.windowCloseSoundOn = WindowCloseSoundOn;
  links.playGameSound = PlayGameSound;
  links.reacquireSoundDevice = ReacquireSoundDevice;
  links.releaseSoundDevice = ReleaseSoundDevice;
  links.stopVoiceClip = StopVoiceClip;
  links.enableAccelerators = Accelerators;
  links.setIdleLevel = IdleLevel;
  links.postToNumberedWindows = PostToNumberedWindows;
  links.currentRoom = CurrentRoom;
  links.roomBoardWindow = RoomBoardWindow;
  links.setLayoutReset = LayoutReset;
  links.mainMenuCommand = MenuCommand;
  links.userLoggedIn = UserLoggedIn;
  links.saveUserLayout = SaveUserLayout;
  links.messageBox = MessageBoxOwned;
  links.setPrintPalette = PrintPalette;

  MainLoopHost loop{};
  loop.mainFrame = LoopMainFrame;
  loop.currentRoom = CurrentRoom;
  SetMainLoopHost(loop);

  DataSetHost data = DefaultDataSetHost();
  data.programFolder = GetProgramFolder;
  data.reportNotFound = ReportMissingFile;
  SetDataSetHost(data);

  CursorSetHost cursors{};
  cursors.resourceModule = CursorModule;
  SetCursorSetHost(cursors);

  SetShellStringLoader(ProgramString);
  InstallShellHosts();
}

void DisconnectShellParts() {
  RemoveShellHosts();
  SetShellStringLoader(nullptr);
  SetCursorSetHost(CursorSetHost{});
  SetDataSetHost(DefaultDataSetHost());
  SetMainLoopHost(MainLoopHost{});
  ResetFrameLinks();
  g_instance = nullptr;
}
