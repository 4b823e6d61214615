// Dispatch of the exports by the handle's kind.
#include "lobby_handle.h"

#include <cstring>
#include <new>

namespace lobbylink {

LobbyHandle* LobbyInit(LobbyBackEndFactory& factory, LobbyTarget target, uint32_t kind,
                       const uint8_t* applicationId, const char* name) {
  if (!applicationId || !name) return nullptr;
  if (kind != kKindDirectPlay && kind != kKindLobbyService) return nullptr;
  LobbyHandle* h = new (std::nothrow) LobbyHandle{};
  if (!h) return nullptr;
  h->kind = kind;
  std::memcpy(h->applicationId, applicationId, 16);
  std::memcpy(h->name, name, strnlen(name, sizeof h->name - 1));
  h->backEnd = factory.Start(kind, target, *h);
  if (!h->backEnd) {
    delete h;
    return nullptr;
  }
  return h;
}

int LobbyEnumAddresses(LobbyHandle* h, LobbyTarget target, uint32_t connectionKind) {
  return h && h->backEnd ? h->backEnd->EnumAddresses(target, connectionKind) : 0;
}

int LobbyConnect(LobbyHandle* h, LobbyTarget target, uint32_t connectionKind, int noSearch,
                 const char* inet, const char* modem, const char* phone) {
  if (!h || !h->backEnd) return 0;
  return h->backEnd->Connect(target, connectionKind, noSearch, inet, modem, phone);
}

int LobbyLogin(LobbyHandle* h, LobbyTarget target, const uint8_t* sessionGuid, int host,
               const char* value1, const char* value2) {
  if (!h || !h->backEnd) return 0;
  return h->backEnd->Login(*h, target, sessionGuid, host, value1, value2);
}

int LobbyDisconnect(LobbyHandle* h) {
  if (!h) return 0;
  // The lobby service reports a handle already disconnected.
  if (!h->backEnd) return h->kind == kKindLobbyService ? -1 : 0;
  LobbyBackEnd* backEnd = h->backEnd;
  // Cleared first: a second disconnect of the same handle does nothing.
  h->backEnd = nullptr;
  backEnd->Disconnect();
  return 0;
}

int LobbyGetUserData(LobbyHandle* h, const char* key, void* buffer, uint32_t* size) {
  return h && h->backEnd ? h->backEnd->GetUserData(key, buffer, size) : 0;
}

int LobbyPutUserData(LobbyHandle* h, const char* key, const void* data, uint32_t size) {
  return h && h->backEnd ? h->backEnd->PutUserData(key, data, size) : 0;
}

int LobbyUserSend(LobbyHandle* h, const RecipientList* list, const void* data, uint32_t size) {
  if (!h || !h->backEnd || !list || list->count == 0) return 0;
  return h->backEnd->UserSend(*list, data, size);
}

int LobbyChannelSend(LobbyHandle* h, const void* data, uint32_t size) {
  return h && h->backEnd ? h->backEnd->ChannelSend(data, size) : 0;
}

int LobbyGetNick(LobbyHandle* h, uint32_t id, char* name16) {
  if (!h || !h->backEnd) return 0;
  if (!name16) return -1;
  return h->backEnd->GetNick(id, name16);
}

int LobbyErrorSeverity(LobbyHandle* h, int) { return h ? 1 : 0; }

int LobbyErrorString(LobbyHandle* h, int code, char* buffer, size_t size) {
  if (!h || !h->backEnd) return 0;
  return h->backEnd->ErrorString(code, buffer, size);
}

int LobbyReleaseData(LobbyHandle* h, void* record, void (*freeRecord)(void*)) {
  if (!h) return 0;
  if (!record) return h->kind == kKindLobbyService ? -1 : 0;
  freeRecord(record);
  return 0;
}

}  // namespace lobbylink
