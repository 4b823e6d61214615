// The one multi-user chat room of a connection, as its occupants are seen by
// the receive thread. Only the server's stamp (the room/nick "from") names a
// sender, and a nick counts only when the room shows its real account and
// that account is the nick itself; nothing inside a payload is trusted.
// Interface: RoomEvent, MucRoom (HandlePresence, HandleMessage,
// ConnectionLost, IdOf, NickOf).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "xml_stream.h"

namespace lobbysvc {

constexpr size_t kMaxPayload = 16 * 1024;

struct RoomEvent {
  enum Kind {
    kJoined,      // an occupant was first seen (flag 1)
    kLeft,        // an occupant left, was kicked or changed nick (flag 0)
    kSelfJoined,  // the room confirmed our own presence
    kJoinFailed,  // our join was refused (nick in use, real ids hidden, ...)
    kData,        // a message from an occupant
  } kind;
  uint32_t id = 0;
  std::string data;
};

class MucRoom {
 public:
  // `room`: "room@service"; `ownNick`: our nick in it.
  MucRoom(std::string room, std::string ownNick);

  void HandlePresence(const XmlElement& presence, std::vector<RoomEvent>* events);
  // A data event for a message that passes every check; false for anything
  // else (which is dropped).
  bool HandleMessage(const XmlElement& message, RoomEvent* event);
  // Every other occupant present is reported gone.
  void ConnectionLost(std::vector<RoomEvent>* events);
  // We left: nobody is present, ids stay with their nicks for a later join.
  void Left();

  // Ids number nicks from 1 and stay with their nick while connected.
  uint32_t IdOf(const std::string& nick);
  const std::string* NickOf(uint32_t id) const;
  bool Joined() const { return joined_; }

 private:
  // The nick of a stanza from this room, or false.
  bool NickFrom(const XmlElement& stanza, std::string* nick) const;

  std::string room_, ownNick_;
  bool joined_ = false;
  std::map<std::string, uint32_t> ids_;
  std::vector<std::string> nicks_;  // by id - 1
  std::map<std::string, bool> present_;  // verified occupants now in the room
};

}  // namespace lobbysvc
