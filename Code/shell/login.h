// The login dialogs: "Player Login" lists the users and logs one in,
// creates and deletes players; "Create New Player" makes one.
//
// Interface: kLoginMaxUsers, RunLoginDialog, RunNewUserDialog.
#pragma once

#include <windows.h>

// The dialog lists at most this many users.
constexpr int kLoginMaxUsers = 109;

// 1 after a login, 1002 Cancel, 1639 Quit.
INT_PTR RunLoginDialog(HWND owner);
// Non-zero when a player was made; `loginName` (32 bytes, may be null)
// then holds the name when the player is to be logged in at once, else "".
INT_PTR RunNewUserDialog(HWND owner, char* loginName);
