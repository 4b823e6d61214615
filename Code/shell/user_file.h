// The user's record file "<name>.usr" and the rules for user names, the
// user list and the files a new user starts from. Nothing here needs the
// operating system: the record is encoded and decoded field by field in
// little-endian order, and the folder work goes through the standard
// library's file system calls on whatever folders the caller names.
//
// The file is the record's fields one after the other, each list as its
// count followed by its 44-byte entries:
//   0 name (32), 32 description (512), 544 base rating, 548 600 words,
//   2948 100 pairs, 3748 16 bytes, 3764 word, 3768 first rating set (300),
//   4068 N1, 4072 N1 entries, then a word, the second rating set (300), N2
//   and N2 entries: 4,380 + 44 (N1 + N2) bytes in all.
//
// Interface: kUserFileFixedSize, kUserGameEntrySize, kUserNameLimit,
// UserFileSize, EncodeUserFile, DecodeUserFile, FreeUserLists,
// ClearUserProfile, MakeNewUserProfile, UserNameResult, CheckNewUserName,
// IsUserNameUsable, UsesSettingsTemplate, DefaultLayoutFileName,
// JoinPath, ListUsers, UserExists, WriteUserFileAt, ReadUserFileAt,
// SetIniWhitePlayerName.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "user_profile.h"

constexpr size_t kUserFileFixedSize = 4380;
constexpr size_t kUserGameEntrySize = 44;
constexpr int kUserNameLimit = kUserNameSize - 1;  // 31 characters

// The size of the file the record is written as.
size_t UserFileSize(const UserProfile& profile);

// The record as the file holds it. A list with a null pointer is written
// as empty.
std::vector<uint8_t> EncodeUserFile(const UserProfile& profile);

// Fills `profile` from the file's bytes; the two lists are new heap blocks
// owned by the caller (FreeUserLists). A file that is shorter than its
// counts say yields the empty record (all zero, no lists) and false; bytes
// after the second list are ignored. The counts are checked
// against the size before anything is allocated. The path field is left
// as it was.
bool DecodeUserFile(const uint8_t* data, size_t size, UserProfile* profile);

// Frees the two lists and sets their counts to 0.
void FreeUserLists(UserProfile* profile);
// Everything but the path cleared (lists not freed: see FreeUserLists).
void ClearUserProfile(UserProfile* profile);
// A new user's record: the name, the description (null: none), base rating
// 1600, 100 pairs (10000, 0), both rating sets 1600, 1600 and `dateText`,
// everything else 0, no lists.
void MakeNewUserProfile(UserProfile* profile, const char* name, const char* description,
                        const char* dateText);

// Results of CheckNewUserName: 0, or the string that refuses the name.
enum UserNameResult : int {
  kUserNameOk = 0,
  kUserNameExists = 1080,
  kUserNameRequired = 1083,
  kUserNameInvalid = 1086,
};

// A new user's name: refused with 1086 when it holds a character that file
// names do not allow (control characters, < > : " / \ | ? *) or ends in a
// dot; then trimmed of blanks at both ends and cut to 31 characters;
// refused with 1083 when nothing is left. The clean name goes to `out`
// (kUserNameSize bytes).
int CheckNewUserName(const char* name, char* out);
// True when the name as given is one CheckNewUserName takes unchanged: no
// path can be made from it that leaves the Users folder.
bool IsUserNameUsable(const char* name);

// True when `templateName` names a settings template: not null, not empty
// and not "NONE" in any letter case.
bool UsesSettingsTemplate(const char* templateName);
// The default layout for a desktop: "Default(1280x1024).LAY" from 1280 x
// 1024, "Default(1024x768).LAY" from 1024 x 768, else "Default(800x600).LAY".
const char* DefaultLayoutFileName(int width, int height);

// The folder and the name joined by the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// The users under `usersFolder`: each sub-folder whose name does not begin
// with "." and that holds "<sub-folder>.usr", sorted by byte value. Names
// too long for a record are left out.
std::vector<std::string> ListUsers(const std::string& usersFolder);
// True when the list holds `name` in any letter case.
bool UserExists(const std::vector<std::string>& users, const char* name);

// Writes the record to a temporary file beside `path` and puts it in the
// file's place, so a failed write leaves the old file as it was. False when
// any step fails.
bool WriteUserFileAt(const std::string& path, const UserProfile& profile);
// Reads the file into `profile` (DecodeUserFile); false when it cannot be
// opened (the record is then empty) or is damaged. Files larger than any
// record could be are not read.
bool ReadUserFileAt(const std::string& path, UserProfile* profile);

// Sets white_player_name to `name` in the sections of the rooms whose
// games a person plays at home (gameroom, kidsroom, classroom, libraryroom,
// tournamentroom) of the ini file at `iniPath`, through the profile seam.
void SetIniWhitePlayerName(const std::string& iniPath, const char* name);
