// Lobby event records: layouts and posting.
#include "lobby_records.h"

#include <cstring>

namespace lobbylink {

void PutU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t GetU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

namespace {

// The data size written into the header for each type.
size_t DataSize(uint32_t type, size_t n) {
  switch (type) {
    case kRecordData: return n;
    case kRecordPlayerLeft: return 4;
    case kRecordLogin: return kLoginNameSize;
    case kRecordSession: return kSessionDataSize;
    case kRecordConnection: return n + 72;
    case kRecordAddress: return n + 12;
    default: return 0;
  }
}

// Allocates a record with its header filled, or null.
uint8_t* Begin(LobbyRecordSink& sink, uint32_t type, uint32_t ownId, uint32_t senderId,
               size_t n) {
  const size_t size = DataSize(type, n);
  if (size > UINT32_MAX - 64) return nullptr;
  uint8_t* r = sink.Alloc(LobbyRecordAllocSize(type, n));
  if (!r) return nullptr;
  PutU32(r + 0, type);
  PutU32(r + 4, ownId);
  PutU32(r + 8, senderId);
  PutU32(r + 12, static_cast<uint32_t>(size));
  return r;
}

bool Finish(LobbyRecordSink& sink, uint8_t* r) {
  if (!r) return false;
  if (sink.Post(r)) return true;
  sink.Free(r);
  return false;
}

}  // namespace

size_t LobbyRecordAllocSize(uint32_t type, size_t n) {
  // Type 6 keeps one spare byte after its connection data (offset 87 + n).
  if (type == kRecordConnection) return n + 88;
  return kRecordHeaderSize + DataSize(type, n);
}

bool PostDataRecord(LobbyRecordSink& sink, uint32_t ownId, uint32_t senderId,
                    const void* data, size_t size) {
  if (size && !data) return false;
  uint8_t* r = Begin(sink, kRecordData, ownId, senderId, size);
  if (r && size) std::memcpy(r + kRecordHeaderSize, data, size);
  return Finish(sink, r);
}

bool PostPlayerLeftRecord(LobbyRecordSink& sink, uint32_t ownId, uint32_t playerId) {
  uint8_t* r = Begin(sink, kRecordPlayerLeft, ownId, 0, 0);
  if (r) PutU32(r + 16, playerId);
  return Finish(sink, r);
}

bool PostLoginRecord(LobbyRecordSink& sink, uint32_t ownId, const char* name) {
  uint8_t* r = Begin(sink, kRecordLogin, ownId, 0, 0);
  // The name field has no room for a terminator of a 16-byte name; the host
  // reads at most 15 bytes of it, so one byte is kept zero.
  if (r && name) std::memcpy(r + 16, name, strnlen(name, kLoginNameSize - 1));
  return Finish(sink, r);
}

bool PostSessionLostRecord(LobbyRecordSink& sink, uint32_t ownId) {
  return Finish(sink, Begin(sink, kRecordSessionLost, ownId, 0, 0));
}

bool PostSessionRecord(LobbyRecordSink& sink, uint32_t ownId, const uint8_t guid[16],
                       const char* sessionName, uint32_t connectionKind) {
  uint8_t* r = Begin(sink, kRecordSession, ownId, 0, 0);
  if (r) {
    if (guid) std::memcpy(r + 16, guid, 16);
    if (sessionName) std::memcpy(r + 32, sessionName, strnlen(sessionName, kSessionNameSize - 1));
    PutU32(r + 96, connectionKind);
  }
  return Finish(sink, r);
}

bool PostConnectionRecord(LobbyRecordSink& sink, uint32_t ownId, uint32_t providerKind,
                          const char* providerName, const void* data, size_t n) {
  if (n && !data) return false;
  uint8_t* r = Begin(sink, kRecordConnection, ownId, 0, n);
  if (r) {
    PutU32(r + 16, providerKind);
    PutU32(r + 20, static_cast<uint32_t>(n));
    if (providerName) std::memcpy(r + 24, providerName, strnlen(providerName, kProviderNameMax - 1));
    if (n) std::memcpy(r + kConnectionDataOffset, data, n);
  }
  return Finish(sink, r);
}

bool PostAddressRecord(LobbyRecordSink& sink, uint32_t ownId, uint32_t addressKind,
                       const void* value, size_t n) {
  if (n && !value) return false;
  uint8_t* r = Begin(sink, kRecordAddress, ownId, 0, n);
  if (r) {
    PutU32(r + 16, addressKind);
    PutU32(r + 20, static_cast<uint32_t>(n));
    if (n) std::memcpy(r + 24, value, n);
  }
  return Finish(sink, r);
}

}  // namespace lobbylink
