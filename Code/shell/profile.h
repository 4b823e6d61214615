// Private-profile files: the one door through which the shell reads and
// writes its ini files. The Windows program goes through the system's
// private-profile calls; native builds and tests go through IniFileProfile,
// which follows the same rules on real files (section and key names compared
// without case, the first matching section wins, blanks trimmed around names
// and values, one pair of matching quotes taken off a value, integers read
// the way the system reads them).
//
// Interface: Profile, GetProfile, SetProfile, IniFileProfile,
// ProfileReadString, ProfileReadInt, ProfileWriteString, ProfileWriteInt,
// ProfileDeleteKey, ProfileDeleteSection, ParseProfileInt.
#pragma once

#include <cstdint>

class Profile {
 public:
  virtual ~Profile() = default;
  // Copies the key's value, or `fallback` (null: empty) when the file, the
  // section or the key is missing, into `buffer`: at most size - 1
  // characters and a NUL. Trailing blanks of the fallback are dropped.
  // Returns the number of characters copied. Section and key are not null.
  virtual uint32_t ReadString(const char* section, const char* key, const char* fallback, char* buffer,
                              uint32_t size, const char* path) = 0;
  // The value read as an integer (decimal, or 0x hexadecimal, with a sign;
  // reading stops at the first character that is not a digit), or
  // `fallback` when the value is missing or empty.
  virtual uint32_t ReadInt(const char* section, const char* key, int32_t fallback, const char* path) = 0;
  // Sets the key's value; a null value deletes the key, a null key the
  // whole section. False when the file cannot be written.
  virtual bool Write(const char* section, const char* key, const char* value, const char* path) = 0;
};

// The profile in use: the system's in the Windows build, IniFileProfile
// natively. Null restores that default.
Profile& GetProfile();
void SetProfile(Profile* profile);

// The project's own implementation over files (no operating system calls).
Profile& IniFileProfile();

// The integer reading of ReadInt over a value already read: `fallback` for
// an empty text.
uint32_t ParseProfileInt(const char* text, int32_t fallback);

// Shorthands over GetProfile().
uint32_t ProfileReadString(const char* section, const char* key, const char* fallback, char* buffer,
                           uint32_t size, const char* path);
int32_t ProfileReadInt(const char* section, const char* key, int32_t fallback, const char* path);
bool ProfileWriteString(const char* section, const char* key, const char* value, const char* path);
// The value as decimal text ("%d").
bool ProfileWriteInt(const char* section, const char* key, int32_t value, const char* path);
bool ProfileDeleteKey(const char* section, const char* key, const char* path);
bool ProfileDeleteSection(const char* section, const char* path);
