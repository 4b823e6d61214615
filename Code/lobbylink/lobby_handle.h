// LobbyHandle, the back-end interface and dispatch by kind: what every
// Lobbylink export does before its transport takes over.
// Interface: LobbyHandle, RecipientList, LobbyBackEnd, LobbyBackEndFactory
// and the Lobby* functions, one per export that takes a handle.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lobby_records.h"

namespace lobbylink {

enum LobbyKind : uint32_t { kKindDirectPlay = 0, kKindLobbyService = 1 };

class LobbyBackEnd;

// The block LBL_Init hands out; the host may read the name after login.
struct LobbyHandle {
  uint32_t kind;
  LobbyBackEnd* backEnd;
  uint8_t applicationId[16];
  char name[16];
};

// u32 count followed by that many u32 player ids.
struct RecipientList {
  uint32_t count;
  uint32_t ids[1];
};

class LobbyBackEnd {
 public:
  virtual ~LobbyBackEnd() = default;
  virtual int EnumAddresses(LobbyTarget, uint32_t) { return 0; }
  virtual int Connect(LobbyTarget, uint32_t, int, const char*, const char*, const char*) {
    return 0;
  }
  // `value1` and `value2`: session name and password (DirectPlay), channel
  // name and an unused value (lobby service).
  virtual int Login(LobbyHandle& handle, LobbyTarget target, const uint8_t* sessionGuid,
                    int host, const char* value1, const char* value2) = 0;
  // Ends the session; the back end deletes itself.
  virtual int Disconnect() = 0;
  virtual int GetUserData(const char*, void*, uint32_t*) { return 0; }
  virtual int PutUserData(const char*, const void*, uint32_t) { return 0; }
  virtual int UserSend(const RecipientList& list, const void* data, uint32_t size) = 0;
  virtual int ChannelSend(const void* data, uint32_t size) = 0;
  virtual int GetNick(uint32_t id, char* name16) = 0;
  virtual int ErrorString(int code, char* buffer, size_t size) = 0;
};

// Starts a back end of a kind; null when it fails to start.
class LobbyBackEndFactory {
 public:
  virtual ~LobbyBackEndFactory() = default;
  virtual LobbyBackEnd* Start(uint32_t kind, LobbyTarget target, const LobbyHandle& handle) = 0;
};

// Null when the id or name is null, the kind is unknown or the back end fails.
LobbyHandle* LobbyInit(LobbyBackEndFactory& factory, LobbyTarget target, uint32_t kind,
                       const uint8_t* applicationId, const char* name);
// Each returns 0 for a null handle (or one whose back end has gone).
int LobbyEnumAddresses(LobbyHandle* h, LobbyTarget target, uint32_t connectionKind);
int LobbyConnect(LobbyHandle* h, LobbyTarget target, uint32_t connectionKind, int noSearch,
                 const char* inet, const char* modem, const char* phone);
int LobbyLogin(LobbyHandle* h, LobbyTarget target, const uint8_t* sessionGuid, int host,
               const char* value1, const char* value2);
// 0; -1 for a lobby-service handle already disconnected.
int LobbyDisconnect(LobbyHandle* h);
int LobbyGetUserData(LobbyHandle* h, const char* key, void* buffer, uint32_t* size);
int LobbyPutUserData(LobbyHandle* h, const char* key, const void* data, uint32_t size);
int LobbyUserSend(LobbyHandle* h, const RecipientList* list, const void* data, uint32_t size);
int LobbyChannelSend(LobbyHandle* h, const void* data, uint32_t size);
int LobbyGetNick(LobbyHandle* h, uint32_t id, char* name16);
int LobbyErrorSeverity(LobbyHandle* h, int code);
int LobbyErrorString(LobbyHandle* h, int code, char* buffer, size_t size);
// Frees a posted record with `freeRecord`.
int LobbyReleaseData(LobbyHandle* h, void* record, void (*freeRecord)(void*));

}  // namespace lobbylink
