// DirectPlay messages into records.
#include "dplay_messages.h"

namespace lobbylink {

const char* DplaySystemMessageLine(uint32_t type) {
  switch (type) {
    case kDpsysCreatePlayerOrGroup: return "dp_HandleSystemMessage: DPSYS_CREATEPLAYERORGROUP\n";
    case kDpsysDestroyPlayerOrGroup: return "dp_HandleSystemMessage: DPSYS_DESTROYPLAYERORGROUP\n";
    case kDpsysAddPlayerToGroup: return "dp_HandleSystemMessage: DPSYS_ADDPLAYERTOGROUP\n";
    case kDpsysDeletePlayerFromGroup: return "dp_HandleSystemMessage: DPSYS_DELETEPLAYERFROMGROUP\n";
    case kDpsysSessionLost: return "dp_HandleSystemMessage: DPSYS_SESSIONLOST\n";
    case kDpsysHost: return "dp_HandleSystemMessage: DPSYS_HOST\n";
    case kDpsysSetPlayerOrGroupData: return "dp_HandleSystemMessage: DPSYS_SETPLAYERORGROUPDATA\n";
    case kDpsysSetPlayerOrGroupName: return "dp_HandleSystemMessage: DPSYS_SETPLAYERORGROUPNAME\n";
    default: return "dp_HandleSystemMessage: undefined system message\n";
  }
}

DplayMessageOutcome HandleDplayMessage(LobbyRecordSink& sink, uint32_t ownId, uint32_t from,
                                       uint32_t to, const uint8_t* data, size_t size,
                                       const std::function<void(const char*)>& debug) {
  if (!data || size < 4 || size > kMaxDplayMessage) return DplayMessageOutcome::kDropped;
  if (from != kDpidSysMsg)
    return PostDataRecord(sink, to, from, data, size) ? DplayMessageOutcome::kPosted
                                                      : DplayMessageOutcome::kDropped;
  const uint32_t type = GetU32(data);
  // The player who left is the message's third u32, inside a layout that
  // must be there whole before any of it is read.
  if (type == kDpsysDestroyPlayerOrGroup && size < kDestroyPlayerMessageSize)
    return DplayMessageOutcome::kDropped;
  if (debug) debug(DplaySystemMessageLine(type));
  if (type == kDpsysDestroyPlayerOrGroup) PostPlayerLeftRecord(sink, ownId, GetU32(data + 8));
  if (type == kDpsysSessionLost) PostSessionLostRecord(sink, ownId);
  return DplayMessageOutcome::kSystemHandled;
}

}  // namespace lobbylink
