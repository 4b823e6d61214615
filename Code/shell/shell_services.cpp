// The shell's table of outside calls and the fallbacks it starts with.
#include "shell_services.h"

// The platform's fallbacks for the entries that need the system (message
// boxes, messages, the benchmark): shell_services_win32.cpp and
// shell_services_native.cpp.
void FillPlatformServices(ShellServices& services);

namespace {

int NoWindowShown(int) { return 0; }
void* NoWindow(int) { return nullptr; }
int NoOp(int, int, intptr_t) { return 0; }
int NoBroadcast(uint32_t, uintptr_t, intptr_t, int) { return 0; }
int NoStoredRect(int, int, ShellRect* rect) {
  if (!rect) return 0;
  *rect = ShellRect{0, 0, 0, 0};
  return 1;
}
int NoResetFlag(int) { return 0; }
int Zero() { return 0; }
int One() { return 1; }
int FollowNothing(void*) { return 1; }
int NoRoomYet() { return 9999; }
int Silent(int) { return 0; }
int SilentMove(const MoveRecord*, const Board*, int) { return 0; }
void Nothing() {}
int NoCommand(void*, int) { return 0; }
void NoPalette(void*) {}
int WhiteAtBottom(void*) { return 0; }
void KeepOrientation(void*, int) {}
void NoScene(void*, ShellRect* rect, void** boardWindow) {
  if (rect) *rect = ShellRect{0, 0, 0, 0};
  if (boardWindow) *boardWindow = nullptr;
}
void NoUserSettings(const char*) {}
int NoDatabaseWindow(const char*) { return 0; }
void NoIdleLevel(int) {}
void NoNotationChange(GameRecord*, int) {}

ShellServices Fallbacks() {
  ShellServices s{};
  s.getNumberedWindow = NoWindow;
  s.isNumberedWindowShown = NoWindowShown;
  s.numberedWindowOp = NoOp;
  s.broadcastToWindows = NoBroadcast;
  s.getRoomWindowRect = NoStoredRect;
  s.setLayoutResetFlag = NoResetFlag;
  s.getLayoutResetFlag = Zero;
  s.getScreenWidth = Zero;
  s.getScreenHeight = Zero;
  s.onFrameWindowPosChanged = FollowNothing;
  s.getCurrentRoom = NoRoomYet;
  s.playGameSound = Silent;
  s.playMoveSound = SilentMove;
  s.releaseSoundDevice = Nothing;
  s.reacquireSoundDevice = One;
  s.isVoiceClipPlaying = Zero;
  s.stopVoiceClip = Nothing;
  s.saveUserLayout = Zero;
  s.mainMenuCommand = NoCommand;
  s.updateMainMenuState = Nothing;
  s.setPrintPalette = NoPalette;
  s.getBoardFlipped = WhiteAtBottom;
  s.setBoardFlipped = KeepOrientation;
  s.getBoardSceneRect = NoScene;
  s.loadPersonalityFilters = Nothing;
  s.savePersonalityFilters = Nothing;
  s.loadDatabaseSettings = NoUserSettings;
  s.saveDatabaseSettings = NoDatabaseWindow;
  s.setIdleLevel = NoIdleLevel;
  s.changeGameNotation = NoNotationChange;
  FillPlatformServices(s);
  return s;
}

// Every entry, so that a null one can be mended from the fallbacks.
template <typename F>
void Mend(F ShellServices::*entry, ShellServices& table, const ShellServices& fallback) {
  if (!(table.*entry)) table.*entry = fallback.*entry;
}

ShellServices g_services = Fallbacks();

}  // namespace

ShellServices DefaultShellServices() { return Fallbacks(); }

const ShellServices& GetShellServices() { return g_services; }

void SetShellServices(const ShellServices& services) {
  ShellServices t = services;
  const ShellServices f = Fallbacks();
  Mend(&ShellServices::appMessageBox, t, f);
  Mend(&ShellServices::appMessageBoxOwned, t, f);
  Mend(&ShellServices::showModelessMessageBox, t, f);
  Mend(&ShellServices::getNumberedWindow, t, f);
  Mend(&ShellServices::isNumberedWindowShown, t, f);
  Mend(&ShellServices::numberedWindowOp, t, f);
  Mend(&ShellServices::broadcastToWindows, t, f);
  Mend(&ShellServices::getRoomWindowRect, t, f);
  Mend(&ShellServices::setLayoutResetFlag, t, f);
  Mend(&ShellServices::getLayoutResetFlag, t, f);
  Mend(&ShellServices::getScreenWidth, t, f);
  Mend(&ShellServices::getScreenHeight, t, f);
  Mend(&ShellServices::onFrameWindowPosChanged, t, f);
  Mend(&ShellServices::getCurrentRoom, t, f);
  Mend(&ShellServices::sendToWindow, t, f);
  Mend(&ShellServices::postToWindow, t, f);
  Mend(&ShellServices::playGameSound, t, f);
  Mend(&ShellServices::playMoveSound, t, f);
  Mend(&ShellServices::releaseSoundDevice, t, f);
  Mend(&ShellServices::reacquireSoundDevice, t, f);
  Mend(&ShellServices::isVoiceClipPlaying, t, f);
  Mend(&ShellServices::stopVoiceClip, t, f);
  Mend(&ShellServices::saveUserLayout, t, f);
  Mend(&ShellServices::mainMenuCommand, t, f);
  Mend(&ShellServices::updateMainMenuState, t, f);
  Mend(&ShellServices::setPrintPalette, t, f);
  Mend(&ShellServices::getBoardFlipped, t, f);
  Mend(&ShellServices::setBoardFlipped, t, f);
  Mend(&ShellServices::getBoardSceneRect, t, f);
  Mend(&ShellServices::loadPersonalityFilters, t, f);
  Mend(&ShellServices::savePersonalityFilters, t, f);
  Mend(&ShellServices::loadDatabaseSettings, t, f);
  Mend(&ShellServices::saveDatabaseSettings, t, f);
  Mend(&ShellServices::setIdleLevel, t, f);
  Mend(&ShellServices::changeGameNotation, t, f);
  Mend(&ShellServices::cpuBenchmark, t, f);
  g_services = t;
}
