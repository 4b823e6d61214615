// Room stanza handling over a fixed occupant table: whatever the stream
// holds, data reaches the host only from a verified occupant, 1 byte to
// 16 KiB, and ids name known nicks.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "muc_room.h"
#include "xml_stream.h"

using namespace lobbysvc;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MucRoom room("rwlive@rooms.localhost", "carol");
  const std::string setup =
      "<stream:stream xmlns='jabber:client' xmlns:stream='http://etherx.jabber.org/streams'>"
      "<presence from='rwlive@rooms.localhost/carol'><x xmlns='http://jabber.org/protocol/muc#user'>"
      "<item jid='carol@localhost/rw'/><status code='110'/></x></presence>"
      "<presence from='rwlive@rooms.localhost/alice'><x xmlns='http://jabber.org/protocol/muc#user'>"
      "<item jid='alice@localhost/rw'/></x></presence>";
  XmlStreamParser parser;
  parser.Feed(setup.data(), setup.size());
  parser.Feed(reinterpret_cast<const char*>(data), size);
  XmlStreamEvent e;
  while (parser.Next(&e)) {
    if (e.kind != XmlStreamEvent::kStanza) continue;
    std::vector<RoomEvent> events;
    if (e.element->name == "presence") room.HandlePresence(*e.element, &events);
    RoomEvent d;
    if (e.element->name == "message" && room.HandleMessage(*e.element, &d)) {
      if (d.data.empty() || d.data.size() > kMaxPayload) abort();
      const std::string* nick = room.NickOf(d.id);
      if (!nick || *nick == "carol") abort();
    }
    for (const auto& ev : events)
      if (ev.kind != RoomEvent::kSelfJoined && ev.kind != RoomEvent::kJoinFailed && !room.NickOf(ev.id))
        abort();
  }
  return 0;
}
