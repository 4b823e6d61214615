// The game sounds' sound service on Windows: PlaySoundA, MessageBeep, and
// the user's sound scheme for this program's events.
#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "game_sounds.h"

namespace {

// The program's name in the scheme: its module's base name.
std::string ProgramName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

bool SchemeValueSet(const std::string& key) {
  char value[MAX_PATH] = {};
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_CURRENT_USER, key.c_str(), value, &size) != ERROR_SUCCESS) return false;
  return value[0] != '\0';
}

}  // namespace

bool GameSchemeHasSound(const char* name) {
  std::string key = "AppEvents\\Schemes\\Apps\\" + ProgramName() + "\\" + name;
  return SchemeValueSet(key + "\\.Current") || SchemeValueSet(key + "\\.Default");
}

void UseSystemSoundService(GameSoundHost* host, const std::string& programFolder) {
  host->schemeHasSound = GameSchemeHasSound;
  host->playSound = [](const char* what, unsigned flags) { return PlaySoundA(what, nullptr, flags) != FALSE; };
  host->messageBeep = [] { MessageBeep(0); };
  host->programFolder = programFolder;
}
