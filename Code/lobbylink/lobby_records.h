// Lobby event records: the blocks Lobbylink posts to its host window.
// Interface: LobbyRecordSink (allocate, post, free: the only OS edge),
// LobbyPostRecord and the Post* builders, one per record type, and
// LobbyRecordAllocSize. A record is a header of four little-endian u32
// (type, own id, sender id, data size) followed by the data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lobbylink {

enum LobbyRecordType : uint32_t {
  kRecordData = 0,         // data from another player
  kRecordPlayerLeft = 1,   // u32 id of the player who left
  kRecordLogin = 3,        // login name, 16 bytes zero-padded
  kRecordSessionLost = 4,  // no data
  kRecordSession = 5,      // a session found by the search
  kRecordConnection = 6,   // a service provider found
  kRecordAddress = 7,      // an address part found
};

constexpr size_t kRecordHeaderSize = 16;
constexpr size_t kSessionDataSize = 84;       // GUID @16, name @32, kind @96
constexpr size_t kSessionNameSize = 64;
constexpr size_t kProviderNameMax = 63;       // name bytes with its terminator
constexpr size_t kConnectionDataOffset = 87;  // record offset of type 6 data
constexpr size_t kLoginNameSize = 16;

// The allocation behind a record of `type` carrying `n` variable bytes
// (n counts only for types 0, 6 and 7).
size_t LobbyRecordAllocSize(uint32_t type, size_t n);

// Where records of a back end go: the window and message most recently given.
struct LobbyTarget {
  uintptr_t window;
  uint32_t message;
};

// Where records go. Alloc returns a zero-filled block or null; Post hands the
// block to the host and reports whether it was queued; Free gives back a block
// that was never posted (or that the host released).
class LobbyRecordSink {
 public:
  virtual ~LobbyRecordSink() = default;
  virtual uint8_t* Alloc(size_t size) = 0;
  virtual bool Post(uint8_t* record) = 0;
  virtual void Free(uint8_t* record) = 0;
  // Records posted from now on go to `target`.
  virtual void SetTarget(LobbyTarget target) = 0;
};

// Each returns true when the record was posted. A record that cannot be
// allocated is not posted; one whose posting fails is freed, since no host
// will ever release it.
bool PostDataRecord(LobbyRecordSink& sink, uint32_t ownId, uint32_t senderId,
                    const void* data, size_t size);
bool PostPlayerLeftRecord(LobbyRecordSink& sink, uint32_t ownId, uint32_t playerId);
bool PostLoginRecord(LobbyRecordSink& sink, uint32_t ownId, const char* name);
bool PostSessionLostRecord(LobbyRecordSink& sink, uint32_t ownId);
// The session name comes from the network: at most 63 bytes are kept, and the
// field always ends with a NUL.
bool PostSessionRecord(LobbyRecordSink& sink, uint32_t ownId, const uint8_t guid[16],
                       const char* sessionName, uint32_t connectionKind);
bool PostConnectionRecord(LobbyRecordSink& sink, uint32_t ownId, uint32_t providerKind,
                          const char* providerName, const void* data, size_t n);
bool PostAddressRecord(LobbyRecordSink& sink, uint32_t ownId, uint32_t addressKind,
                       const void* value, size_t n);

// Little-endian field access for builders and readers of records.
void PutU32(uint8_t* p, uint32_t v);
uint32_t GetU32(const uint8_t* p);

}  // namespace lobbylink
