// The profile in use and the shorthands the shell calls.
#include <cstdio>

#include "profile.h"

// The platform's profile: the system's calls in the Windows build, the ini
// file reader natively (profile_win32.cpp, profile_native.cpp).
Profile& PlatformProfile();

namespace {
Profile* g_profile = nullptr;
}

Profile& GetProfile() { return g_profile ? *g_profile : PlatformProfile(); }

void SetProfile(Profile* profile) { g_profile = profile; }

uint32_t ProfileReadString(const char* section, const char* key, const char* fallback, char* buffer,
                           uint32_t size, const char* path) {
  return GetProfile().ReadString(section, key, fallback, buffer, size, path);
}

int32_t ProfileReadInt(const char* section, const char* key, int32_t fallback, const char* path) {
  return static_cast<int32_t>(GetProfile().ReadInt(section, key, fallback, path));
}

bool ProfileWriteString(const char* section, const char* key, const char* value, const char* path) {
  return value && GetProfile().Write(section, key, value, path);
}

bool ProfileWriteInt(const char* section, const char* key, int32_t value, const char* path) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  return GetProfile().Write(section, key, text, path);
}

bool ProfileDeleteKey(const char* section, const char* key, const char* path) {
  return key && GetProfile().Write(section, key, nullptr, path);
}

bool ProfileDeleteSection(const char* section, const char* path) {
  return GetProfile().Write(section, nullptr, nullptr, path);
}
