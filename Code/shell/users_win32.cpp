// Users over Windows (see users.h).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app_globals.h"
#include "app_main.h"
#include "date_time.h"
#include "game_record.h"
#include "game_registry.h"
#include "layout_file.h"
#include "profile.h"
#include "room_switch.h"
#include "shell_services.h"
#include "sound_wave.h"
#include "user_file.h"
#include "user_settings.h"
#include "users.h"
#include "win_utils.h"

#undef GetUserName

namespace {

std::vector<std::string> g_users;

void Refuse(int stringId, HWND owner) {
  Services().appMessageBoxOwned(LoadOwnString(uint32_t(stringId)), MB_OK | MB_ICONEXCLAMATION, owner);
}

std::string UsersFolder() { return GetUsersFolder(); }
std::string UserFile(const std::string& name, const char* extension) {
  return JoinPath(JoinPath(UsersFolder(), name), name + extension);
}

void ClearReadOnly(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
}

class BusyCursor {
 public:
  BusyCursor() : old_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~BusyCursor() { SetCursor(old_ ? old_ : LoadCursor(nullptr, IDC_ARROW)); }

 private:
  HCURSOR old_;
};

int StartupFindUser(const char* name) { return FindUser(name); }
int StartupSetUpNewUser(const char* name, HWND owner) { return SetUpNewUser(name, nullptr, nullptr, owner); }
int StartupSwitchUser(const char* name, HWND owner) { return SwitchUser(name, owner); }
void StartupStoreUser() { StoreUserOnExit(nullptr); }

}  // namespace

void BuildUserList() { g_users = ListUsers(UsersFolder()); }
int GetUserCount() { return static_cast<int>(g_users.size()); }
const char* GetUserNameAt(int index) {
  return index >= 0 && index < GetUserCount() ? g_users[size_t(index)].c_str() : nullptr;
}
const char* AddUserName(const char* name) {
  if (!name) return nullptr;
  g_users.emplace_back(name, strnlen(name, kUserNameSize - 1));
  return g_users.back().c_str();
}
void FreeUserList() { g_users.clear(); }

int FindUser(const char* name) {
  const bool built = g_users.empty();
  if (built) BuildUserList();
  const bool found = UserExists(g_users, name);
  if (built && !found) FreeUserList();
  return found ? 1 : 0;
}

int SetUpNewUser(const char* raw, const char* description, const char* templateName, HWND owner) {
  if (!raw) return 0;
  char name[kUserNameSize];
  const int refusal = CheckNewUserName(raw, name);
  if (refusal != kUserNameOk) {
    Refuse(refusal, owner);
    return 0;
  }
  if (FindUser(name)) {
    Refuse(kUserNameExists, owner);
    return 0;
  }
  CreateDirectoryA(UsersFolder().c_str(), nullptr);
  const std::string folder = JoinPath(UsersFolder(), name);
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA(JoinPath(folder, "Adjourned Games").c_str(), nullptr);

  UserProfile profile{};
  MakeNewUserProfile(&profile, name, description, FormatNowShort());
  std::snprintf(profile.path, sizeof profile.path, "%s", UserFile(name, ".usr").c_str());
  if (!WriteUserFile(&profile)) return 0;

  const bool useTemplate = UsesSettingsTemplate(templateName);
  const std::string source = useTemplate ? JoinPath(GetLayoutsFolder(), templateName)
                                         : JoinPath(GetProgramFolder(), "RWDEFAULT.INI");
  const std::string ini = UserFile(name, ".ini");
  CopyFileA(source.c_str(), ini.c_str(), FALSE);
  ClearReadOnly(ini);
  SetIniWhitePlayerName(ini, name);

  const std::string layoutSource =
      useTemplate ? source
                  : JoinPath(GetLayoutsFolder(), DefaultLayoutFileName(GetSystemMetrics(SM_CXSCREEN),
                                                                       GetSystemMetrics(SM_CYSCREEN)));
  const std::string layout = UserFile(name, ".lay");
  CopyFileA(layoutSource.c_str(), layout.c_str(), FALSE);
  ClearReadOnly(layout);
  return 1;
}

int WriteUserFile(const UserProfile* profile) {
  if (!profile || !profile->name[0]) return 0;
  BusyCursor busy;
  const std::string path = profile->path[0] ? std::string(profile->path) : UserFile(profile->name, ".usr");
  return WriteUserFileAt(path, *profile) ? 1 : 0;
}

int ReadUserFile(const char* name, UserProfile* profile) {
  if (!name || !profile) return 0;
  UserProfile* current = GetUserRecord();
  if (current && current->name[0] && std::strcmp(current->name, name) == 0) {
    *profile = *current;
    return 1;
  }
  ReadUserFileAt(UserFile(name, ".usr"), profile);
  return 0;
}

int StoreUserOnExit(HWND) {
  UserProfile* user = GetUserRecord();
  if (!user || !user->name[0]) return 0;
  SaveUserLayout();
  SaveAllSettings();
  if (!WriteUserFile(user)) return 0;
  FreeUserLists(user);
  SetSettingsIniPath("rw.ini", 0);
  ProfileWriteString("lookandfeel", "LastUser", user->name, GetMainIniPath());
  ClearUserProfile(user);
  user->path[0] = '\0';
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  return 1;
}

namespace {

// Stream files a voice clip left behind when the program ended while it
// played: older versions kept them in the program folder, voice clips now
// write them to the temp folder.
void DeleteLeftoverStreamFiles() {
  if (const char* folder = GetProgramFolder())
    if (*folder) DeleteStreamFiles(folder);
  char temp[MAX_PATH] = "";
  if (GetTempPathA(MAX_PATH, temp)) DeleteStreamFiles(temp);
}

}  // namespace

int SwitchUser(const char* name, HWND owner) {
  // A name that could not be a new user's could make a path outside the
  // Users folder.
  if (!IsUserNameUsable(name)) return 0;
  UserProfile* user = GetUserRecord();
  if (!user) return 0;
  if (user->name[0]) {
    if (!StoreUserOnExit(owner)) return 0;
    for (int room = ROOM_GAME; room < kRoomCount; ++room) {
      if (GameRecord* game = GetGameForOwner(uint32_t(room))) {
        UnregisterGame(&game->id);
        DestroyGame(game);
      }
      ResetRoomRecord(room);
    }
  }
  BusyCursor busy;
  const std::string path = UserFile(name, ".usr");
  FreeUserLists(user);
  if (!ReadUserFileAt(path, user)) {
    // A missing or damaged record: the user starts afresh under the name.
    ClearUserProfile(user);
    user->baseRating = 1600;
  }
  std::snprintf(user->name, sizeof user->name, "%s", name);
  std::snprintf(user->path, sizeof user->path, "%s", path.c_str());
  SetSettingsIniPath((std::string(name) + ".ini").c_str(), 1);
  LoadUserSettings();
  ApplyLayoutFile(UserFile(name, ".lay").c_str());
  Services().loadDatabaseSettings(name);
  DeleteLeftoverStreamFiles();
  return 1;
}

void InstallUserServices() {
  StartupServices& s = GetStartupServices();
  s.findUser = StartupFindUser;
  s.setUpNewUser = StartupSetUpNewUser;
  s.switchUser = StartupSwitchUser;
  s.storeUserOnExit = StartupStoreUser;
  ShellServices services = GetShellServices();
  services.saveUserLayout = SaveUserLayout;
  SetShellServices(services);
}
