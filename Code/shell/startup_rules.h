// The start-up choices that need no window system: the user a command line
// names, and the cleaning every user name gets before it is looked up,
// created or made current.
//
// Interface: kUserNameChars, CommandLineUser, CleanUserName, ValidRoomNumber.
#pragma once

#include <cstddef>

constexpr size_t kUserNameChars = 31;

// Everything behind "mpuser=" to the end of the command line, blanks
// included; null when the command line holds no "mpuser=".
const char* CommandLineUser(const char* commandLine);
// Trims blanks and cuts the name to 31 characters once, as creating a user
// does; 1 when the result can name a user folder (not empty, no path or
// reserved characters, not "." or "..", no trailing dot).
int CleanUserName(const char* raw, char* out, size_t size);
// Rooms 0..7; a number from the user's ini outside them is no room.
int ValidRoomNumber(int room);
