// The system's private-profile calls behind the profile interface.
#include <windows.h>

#include "profile.h"

namespace {

class SystemProfile final : public Profile {
 public:
  uint32_t ReadString(const char* section, const char* key, const char* fallback, char* buffer,
                      uint32_t size, const char* path) override {
    if (!buffer || size == 0) return 0;
    if (!section || !key) {
      buffer[0] = '\0';
      return 0;
    }
    return GetPrivateProfileStringA(section, key, fallback ? fallback : "", buffer, size, path);
  }
  uint32_t ReadInt(const char* section, const char* key, int32_t fallback, const char* path) override {
    return GetPrivateProfileIntA(section, key, fallback, path);
  }
  bool Write(const char* section, const char* key, const char* value, const char* path) override {
    // A null section would only flush the system's cache.
    return section && WritePrivateProfileStringA(section, key, value, path) != 0;
  }
};

}  // namespace

Profile& PlatformProfile() {
  static SystemProfile system;
  return system;
}
