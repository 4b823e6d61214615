// Users of the program: the list of users under the Users folder, making a
// new user's folder and files, making a user current and storing the
// current user at log-out and exit. The record file and the name rules are
// OS-free (user_file.h); this is the part that shows messages, copies the
// program's templates and switches settings, layout and rooms.
//
// Interface: BuildUserList, GetUserCount, GetUserNameAt, AddUserName,
// FreeUserList, FindUser, SetUpNewUser, WriteUserFile, ReadUserFile,
// SwitchUser, StoreUserOnExit, InstallUserServices.
#pragma once

#include <windows.h>

#include "user_profile.h"

void BuildUserList();
int GetUserCount();
const char* GetUserNameAt(int index);
const char* AddUserName(const char* name);
void FreeUserList();
int FindUser(const char* name);

// 1 when the user was made; messages 1086, 1083, 1080 owned by `owner`.
int SetUpNewUser(const char* name, const char* description, const char* templateName, HWND owner);
// 1 when the record was written (through a temporary file).
int WriteUserFile(const UserProfile* profile);
// 1 for the current user's shortcut (the record copied, lists shared);
// else the file read into `profile` (lists owned by the caller), 0.
int ReadUserFile(const char* name, UserProfile* profile);
// Makes the user current; a name that could not be a new user's is refused.
// 1 when the user is current afterwards.
int SwitchUser(const char* name, HWND owner);
// 0 when nobody is logged in or the record could not be written (the user
// then stays current).
int StoreUserOnExit(HWND owner);

// Points the start-up's user calls, the shell's layout save and the layout
// module's frame and catalogue hooks at these.
void InstallUserServices();
