// RWLiveNet.dll: the RWLive service's client DLL. The 16 calls Lobbylink
// makes run on the OS-free service over Winsock; every other entry point
// exists (a DLL lacking one is not used) and fails. Settings come from the
// login helper's key, the password unsealed with CryptUnprotectData; a
// server elsewhere is spoken to only over STARTTLS (SChannel).
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>

#include <memory>
#include <mutex>
#include <string>

#include "rwlive_api.h"
#include "rwlive_service.h"
#include "rwlive_settings.h"

using namespace rwlive;
using lobbysvc::RWLiveService;
using lobbysvc::ServiceSettings;

namespace {

std::mutex g_mutex;
std::unique_ptr<RWLiveService> g_service;
int g_inits = 0;

bool ReadString(HKEY key, const char* name, std::string* out) {
  char buffer[512];
  DWORD type = 0, size = sizeof buffer - 1;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  buffer[size] = 0;
  *out = buffer;
  return true;
}

bool ReadPassword(HKEY key, std::string* out) {
  BYTE blob[2048];
  DWORD type = 0, size = sizeof blob;
  if (RegQueryValueExA(key, kPasswordValue, nullptr, &type, blob, &size) != ERROR_SUCCESS ||
      type != REG_BINARY)
    return false;
  DATA_BLOB in{size, blob}, plain{0, nullptr};
  if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                          &plain))
    return false;
  out->assign(reinterpret_cast<const char*>(plain.pbData), plain.cbData);
  SecureZeroMemory(plain.pbData, plain.cbData);
  LocalFree(plain.pbData);
  return true;
}

bool LoadSettings(ServiceSettings* s) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  bool ok = ReadString(key, kServerValue, &s->host) && ReadString(key, kLoginValue, &s->login) &&
            ReadPassword(key, &s->password);
  DWORD port = 0, type = 0, size = sizeof port;
  if (RegQueryValueExA(key, kPortValue, nullptr, &type, reinterpret_cast<BYTE*>(&port), &size) ==
          ERROR_SUCCESS &&
      type == REG_DWORD && port > 0 && port < 65536)
    s->port = static_cast<uint16_t>(port);
  ReadString(key, kDomainValue, &s->domain);
  ReadString(key, kRoomsValue, &s->roomService);
  ReadString(key, kFingerprintValue, &s->fingerprint);
  RegCloseKey(key);
  return ok;
}

std::string Convert(const std::string& text, UINT from, UINT to) {
  if (text.empty()) return text;
  const int wide = MultiByteToWideChar(from, 0, text.data(), int(text.size()), nullptr, 0);
  if (wide <= 0) return std::string();
  std::wstring w(size_t(wide), L'\0');
  MultiByteToWideChar(from, 0, text.data(), int(text.size()), &w[0], wide);
  const int bytes = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string out(size_t(bytes), '\0');
  WideCharToMultiByte(to, 0, w.data(), wide, &out[0], bytes, nullptr, nullptr);
  return out;
}

RWLiveService* Service() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_service.get();
}

}  // namespace

extern "C" {

uint16_t RWLIVE_CALL NetUnused() { return kFailureBit; }

uint16_t RWLIVE_CALL NetInit() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_inits++ > 0) return 0;
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
    g_inits = 0;
    return lobbysvc::kErrNotInitialised;
  }
  lobbysvc::ServiceHooks hooks;
  hooks.loadSettings = LoadSettings;
  hooks.toUtf8 = [](const std::string& s) { return Convert(s, CP_ACP, CP_UTF8); };
  hooks.fromUtf8 = [](const std::string& s) { return Convert(s, CP_UTF8, CP_ACP); };
  g_service = std::make_unique<RWLiveService>(hooks);
  return g_service->Init();
}

uint16_t RWLIVE_CALL NetDestroy() {
  std::unique_ptr<RWLiveService> service;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_inits == 0 || --g_inits > 0) return 0;
    service = std::move(g_service);
  }
  // Every connection closed and its thread ended before Winsock goes.
  service->Destroy();
  service.reset();
  WSACleanup();
  return 0;
}

#define RW_SERVICE_OR_FAIL()             \
  RWLiveService* s = Service();          \
  if (!s) return lobbysvc::kErrNotInitialised

uint16_t RWLIVE_CALL NetLoadGameDef(void* def, uint32_t size) {
  RW_SERVICE_OR_FAIL();
  return s->LoadGameDef(def, size);
}
uint16_t RWLIVE_CALL NetJoinGame(uint16_t game, const char* name) {
  RW_SERVICE_OR_FAIL();
  return s->JoinGame(game, name);
}
uint32_t RWLIVE_CALL NetGetAddr(uint16_t game) {
  RWLiveService* s = Service();
  return s ? s->GetAddr(game) : 0;
}
uint16_t RWLIVE_CALL NetEnableNotification(uint16_t game, JoinLeaveCallback cb, void* context) {
  RW_SERVICE_OR_FAIL();
  return s->EnableNotification(game, cb, context);
}
uint16_t RWLIVE_CALL NetDisableNotification(uint16_t game, JoinLeaveCallback, void*) {
  RW_SERVICE_OR_FAIL();
  return s->DisableNotification(game);
}
uint16_t RWLIVE_CALL NetCreateChannel(uint16_t game, uint32_t, const char* channel, uint32_t) {
  RW_SERVICE_OR_FAIL();
  return s->CreateChannel(game, channel);
}
uint16_t RWLIVE_CALL NetOpenChannel(uint16_t game, uint32_t, const char* channel, void* context,
                                    uint32_t, DataCallback cb) {
  RW_SERVICE_OR_FAIL();
  return s->OpenChannel(game, channel, context, cb);
}
uint16_t RWLIVE_CALL NetCloseChannel(uint16_t channel) {
  RW_SERVICE_OR_FAIL();
  return s->CloseChannel(channel);
}
uint16_t RWLIVE_CALL NetLeaveGame(uint16_t game) {
  RW_SERVICE_OR_FAIL();
  return s->LeaveGame(game);
}
uint16_t RWLIVE_CALL NetRestoreData(uint16_t game, const char* key, void* buffer,
                                    uint32_t capacity, uint32_t* size) {
  RW_SERVICE_OR_FAIL();
  return s->RestoreData(game, key, buffer, capacity, size);
}
uint16_t RWLIVE_CALL NetSaveData(uint16_t game, const char* key, const void* data,
                                 uint32_t size) {
  RW_SERVICE_OR_FAIL();
  return s->SaveData(game, key, data, size);
}
uint16_t RWLIVE_CALL NetWriteChannel(uint16_t game, const void* data, uint32_t size,
                                     const uint32_t* recipients) {
  RW_SERVICE_OR_FAIL();
  return s->WriteChannel(game, data, size, recipients);
}
uint16_t RWLIVE_CALL NetGetNameByAddr(uint16_t game, uint32_t address, char* name,
                                      uint32_t size) {
  RW_SERVICE_OR_FAIL();
  return s->GetNameByAddr(game, address, name, size);
}
int RWLIVE_CALL NetGetErrorText(int code, char* buffer, uint32_t size) {
  return RWLiveService::GetErrorText(code, buffer, size);
}

}  // extern "C"
