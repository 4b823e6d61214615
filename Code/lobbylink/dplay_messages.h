// What the DirectPlay back end's receive thread makes of one message from
// DirectPlay's queue: a data record, a system message's record, or nothing.
// OS-free: the bytes come from the network (through DirectPlay), so every
// read is checked against the message's size first.
// Interface: DplayMessageOutcome, HandleDplayMessage, DplaySystemMessageLine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "lobby_records.h"

namespace lobbylink {

constexpr uint32_t kDpidSysMsg = 0;
constexpr uint32_t kDpsysCreatePlayerOrGroup = 3;
constexpr uint32_t kDpsysDestroyPlayerOrGroup = 5;
constexpr uint32_t kDpsysAddPlayerToGroup = 7;
constexpr uint32_t kDpsysDeletePlayerFromGroup = 0x21;
constexpr uint32_t kDpsysSessionLost = 0x31;
constexpr uint32_t kDpsysHost = 0x101;
constexpr uint32_t kDpsysSetPlayerOrGroupData = 0x102;
constexpr uint32_t kDpsysSetPlayerOrGroupName = 0x103;

// DPMSG_DESTROYPLAYERORGROUP's size in this build (pointers inside).
constexpr size_t kDestroyPlayerMessageSize = sizeof(void*) == 4 ? 52 : 80;
// Messages are at most 64 KiB; larger ones are dropped, never posted.
constexpr size_t kMaxDplayMessage = 64 * 1024;

enum class DplayMessageOutcome {
  kPosted,         // a record went to the host
  kSystemHandled,  // a system message: its debug line, and a record for 5 and 0x31
  kDropped,        // too short, too long, or a record that could not be made
};

// The debug line of a system message of this type.
const char* DplaySystemMessageLine(uint32_t type);

// `from` 0 (DPID_SYSMSG) is a system message; else data from player `from`
// to `to`, posted as a type-0 record with own id `to`. `debug` gets the
// system messages' lines.
DplayMessageOutcome HandleDplayMessage(LobbyRecordSink& sink, uint32_t ownId, uint32_t from,
                                       uint32_t to, const uint8_t* data, size_t size,
                                       const std::function<void(const char*)>& debug);

}  // namespace lobbylink
