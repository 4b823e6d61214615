// Lobbylink.dll: the exports, records in global memory posted to the host
// window, and the lobby service's DLL found through the registry.
#include <atomic>
#include <memory>
#include <string>

#include "dplay_backend_win32.h"
#include "dplay_lobby_win32.h"
#include "lobby_handle.h"
#include "lobbylink.h"
#include "rwlive_backend.h"

using namespace lobbylink;

namespace {

// Records go to the host as global memory, which it frees through
// LBL_ReleaseData. Posting may run on a service or receive thread.
class PostedRecords : public LobbyRecordSink {
 public:
  uint8_t* Alloc(size_t size) override {
    return static_cast<uint8_t*>(GlobalAlloc(GPTR, size));
  }
  bool Post(uint8_t* record) override {
    return PostMessageA(reinterpret_cast<HWND>(window_.load()), message_.load(),
                        reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(record)) != 0;
  }
  void Free(uint8_t* record) override { GlobalFree(record); }
  // Set on the host's thread while a service thread may be posting.
  void SetTarget(LobbyTarget target) override {
    window_ = target.window;
    message_ = target.message;
  }

 private:
  std::atomic<uintptr_t> window_{0};
  std::atomic<uint32_t> message_{0};
};

class RegistryLoader : public RWLiveLoader {
 public:
  std::string RootDirectory() override {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, rwlive::kInstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
      return {};
    char value[rwlive::kRootDirectoryMax + 1] = {};
    DWORD size = rwlive::kRootDirectoryMax;
    DWORD type = 0;
    const LONG r = RegQueryValueExA(key, rwlive::kRootDirectoryValue, nullptr, &type,
                                    reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS || type != REG_SZ) return {};
    return std::string(value, strnlen(value, size));
  }
  void* Load(const std::string& path) override { return LoadLibraryA(path.c_str()); }
  void* Bind(void* library, const char* name) override {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
  }
  void Free(void* library) override { FreeLibrary(static_cast<HMODULE>(library)); }
};

RegistryLoader gLoader;
RWLiveLibrary gService(gLoader);

class Factory : public LobbyBackEndFactory {
 public:
  LobbyBackEnd* Start(uint32_t kind, LobbyTarget target, const LobbyHandle& handle) override {
    if (kind == kKindLobbyService)
      return StartRWLiveBackEnd(gService, std::make_unique<PostedRecords>(), target);
    if (kind == kKindDirectPlay)
      return StartDplayBackEnd(SystemDplayObjects(), std::make_unique<PostedRecords>(), target,
                               handle, [](const char* line) { OutputDebugStringA(line); });
    return nullptr;
  }
};

Factory gFactory;

LobbyHandle* H(void* handle) { return static_cast<LobbyHandle*>(handle); }
LobbyTarget T(HWND window, UINT message) {
  return {reinterpret_cast<uintptr_t>(window), message};
}

void FreeRecord(void* record) { GlobalFree(record); }

}  // namespace

extern "C" {

void* LBL_CALL LBL_Init(HWND window, UINT message, int kind, const GUID* applicationId,
                        const char* playerName) {
  return LobbyInit(gFactory, T(window, message), static_cast<uint32_t>(kind),
                   reinterpret_cast<const uint8_t*>(applicationId), playerName);
}

int LBL_CALL LBL_EnumAddresses(void* handle, HWND window, UINT message, int connectionKind) {
  return LobbyEnumAddresses(H(handle), T(window, message), static_cast<uint32_t>(connectionKind));
}

int LBL_CALL LBL_Connect(void* handle, HWND window, UINT message, int connectionKind,
                         int noSessionSearch, const char* inetAddress, const char* modemName,
                         const char* phoneNumber) {
  return LobbyConnect(H(handle), T(window, message), static_cast<uint32_t>(connectionKind),
                      noSessionSearch, inetAddress, modemName, phoneNumber);
}

int LBL_CALL LBL_Login(void* handle, HWND window, UINT message, const GUID* sessionInstance,
                       int host, const char* value1, const char* value2) {
  return LobbyLogin(H(handle), T(window, message),
                    reinterpret_cast<const uint8_t*>(sessionInstance), host, value1, value2);
}

int LBL_CALL LBL_Disconnect(void* handle) { return LobbyDisconnect(H(handle)); }

int LBL_CALL LBL_GetLobbyLoginName(char* buffer) { return GetLobbyLoginName(buffer); }

int LBL_CALL LBL_GetUserData(void* handle, const char* key, void* buffer, DWORD* size) {
  static_assert(sizeof(DWORD) == sizeof(uint32_t), "DWORD is 32 bits");
  return LobbyGetUserData(H(handle), key, buffer, reinterpret_cast<uint32_t*>(size));
}

int LBL_CALL LBL_PutUserData(void* handle, const char* key, const void* data, DWORD size) {
  return LobbyPutUserData(H(handle), key, data, size);
}

int LBL_CALL LBL_UserSendData(void* handle, const DWORD* recipientList, const void* data,
                              DWORD size) {
  return LobbyUserSend(H(handle), reinterpret_cast<const RecipientList*>(recipientList), data,
                       size);
}

int LBL_CALL LBL_ChanSendData(void* handle, const void* data, DWORD size) {
  return LobbyChannelSend(H(handle), data, size);
}

int LBL_CALL LBL_GetNickFromID(void* handle, DWORD playerId, char* name16) {
  return LobbyGetNick(H(handle), playerId, name16);
}

int LBL_CALL LBL_GetErrorSeverity(void* handle, int code) {
  return LobbyErrorSeverity(H(handle), code);
}

int LBL_CALL LBL_GetErrorString(void* handle, int code, char* buffer, int size) {
  return LobbyErrorString(H(handle), code, buffer, size > 0 ? static_cast<size_t>(size) : 0);
}

int LBL_CALL LBL_ReleaseData(void* handle, void* record) {
  return LobbyReleaseData(H(handle), record, FreeRecord);
}

}  // extern "C"
