// The process-wide record of the program: its folder, the two ini files in
// use, the settings, the current user, the rooms, the game registry and the
// processor score measured at start-up; the folder layout below the program
// folder; the program's own settings file "rw.ini". Every accessor answers
// safely (0, null, an empty text, a default) before start-up has made the
// record and after shut-down has freed it.
//
// Interface: SettingsRecord, AppGlobals, kPersonalityFilterCount,
// CreateAppGlobals, CreateSettingsRecord, FreeAppGlobals, InitAppPaths,
// SetAppModulePath, GetAppGlobals, GetProgramFolder, SetProgramFolder,
// GetMainIniPath, GetSettingsIniPath, SetSettingsIniPath, GetUserRecord,
// SetUserRecord, GetUserName, GetCurrentRoomRecord, GetRoomBoard,
// GetRoomBoardSetName, GetBenchmarkScore, GetNotationStyle,
// SetNotationStyle, GetHashTableSize, SetHashTableSize, the switch
// accessors, GetLayoutName, SetLayoutName, GetResourceLibrary,
// GetBoardViewRect, GetInstallDrive, the spare flag, the folder accessors.
#pragma once

#include <cstdint>

#include "app_messages.h"

#include "room_records.h"
#include "shell_services.h"
#include "user_profile.h"

struct LinkedList;

constexpr int kPersonalityFilterCount = 19;
constexpr int kAppPathSize = 260;
// Private message to the numbered windows: a game changed; code 15 says
// that its move texts were rendered anew in another notation.
constexpr uint32_t kMsgGameChanged = RWM_GAME_EVENT;
constexpr uint32_t kGameChangedNotation = GE_NOTATION_CHANGED;

struct SettingsRecord {
  int32_t notationStyle;
  // The personality list's filters, in the order the game room keeps them.
  int32_t personalityFilters[kPersonalityFilterCount];
  int32_t cheatSwitch;
  int32_t hashTableSize;
  // The sound and voice switches.
  int32_t pieceSounds;
  int32_t nlaVoice;
  int32_t ivaVoice;
  int32_t tutorialVoice;
  int32_t illegalMoveVoice;
  int32_t windowClose;
  int32_t buddy;
  int32_t chatTell;
  int32_t challenge;
  char lastUser[32];
  char layoutName[kAppPathSize];
};

struct AppGlobals {
  char* programFolder;    // no trailing backslash, except a drive root "X:\"
  char* mainIniPath;      // <program folder>\rw.ini
  char* settingsIniPath;  // rw.ini, or the current user's ini
  SettingsRecord* settings;
  UserProfile* currentUser;  // made by the user module; empty name: nobody
  RoomRecord* currentRoom;
  RoomRecord* rooms[kRoomCount];
  LinkedList* gameRegistry;
  uint32_t spareFlag;
  uint32_t benchmarkScore;
};

// Start-up and shut-down.
int CreateAppGlobals();
int CreateSettingsRecord(AppGlobals* globals);
int FreeAppGlobals();
int InitAppPaths(AppGlobals* globals);
// The full path of the program's module that the paths are made from; null
// restores the system's answer (natively an empty path). For tests.
void SetAppModulePath(const char* path);
AppGlobals* GetAppGlobals();

// Folders and ini files.
const char* GetProgramFolder();
void SetProgramFolder(const char* folder);
const char* GetMainIniPath();
const char* GetSettingsIniPath();
const char* SetSettingsIniPath(const char* name, int inUserFolder);

// Each formats its folder into one shared buffer of 260 characters that the
// next call of any of them overwrites; a path that does not fit gives an
// empty text.
const char* GetUsersFolder();
const char* GetUserFolder();
const char* GetAdjournedGamesFolder();
const char* GetPersonalitiesFolder();
const char* GetOpeningBooksFolder();
const char* GetLayoutsFolder();
const char* GetWallpaperFolder();
const char* GetTutorialsFolder();
const char* GetCoachGamesFolder();
const char* GetMidiFolder();
const char* GetDatabaseFolder();
const char* GetRateMyPlayFolder();

// The current user and room.
UserProfile* GetUserRecord();
void SetUserRecord(const UserProfile* profile);
const char* GetUserName();
RoomRecord* GetCurrentRoomRecord();
RoomBoard* GetRoomBoard();
const char* GetRoomBoardSetName();
// The current room's board scene rectangle and board window (optional);
// empty and null when there is no board view.
void GetBoardViewRect(void** boardWindow, ShellRect* rect);

// Settings.
uint32_t GetBenchmarkScore();
int GetNotationStyle();
int SetNotationStyle(int style);
int GetHashTableSize();
void SetHashTableSize(int size);
int GetPieceSoundsSetting();
int GetNLAVoiceSetting();
int GetTutorialVoiceSetting();
int GetIllegalMoveVoiceSetting();
int GetWindowCloseSetting();
int GetBuddySetting();
int GetChatTellSetting();
int GetChallengeSetting();
const char* GetLayoutName();
int SetLayoutName(const char* name);
void SetAppSpareFlag();
void ClearAppSpareFlag();
uint32_t GetAppSpareFlag();

// The program's resource library (data set 7).
void* GetResourceLibrary();
// The drive letter of the install folder in the registry, 0 when unknown.
int GetInstallDrive();
