// Room occupants and what their stanzas may deliver.
#include "muc_room.h"

#include <utility>

#include "base64.h"
#include "jid.h"

namespace lobbysvc {

namespace {
constexpr char kMucUser[] = "http://jabber.org/protocol/muc#user";
constexpr char kDelay[] = "urn:xmpp:delay";
constexpr char kLegacyDelay[] = "jabber:x:delay";

bool HasStatus(const XmlElement* x, const char* code) {
  if (!x) return false;
  for (const auto& c : x->children)
    if (c->name == "status" && c->ns == kMucUser) {
      const std::string* v = c->Attribute("code");
      if (v && *v == code) return true;
    }
  return false;
}
}  // namespace

MucRoom::MucRoom(std::string room, std::string ownNick)
    : room_(std::move(room)), ownNick_(std::move(ownNick)) {}

uint32_t MucRoom::IdOf(const std::string& nick) {
  auto it = ids_.find(nick);
  if (it != ids_.end()) return it->second;
  nicks_.push_back(nick);
  const uint32_t id = static_cast<uint32_t>(nicks_.size());
  ids_.emplace(nick, id);
  return id;
}

const std::string* MucRoom::NickOf(uint32_t id) const {
  return id >= 1 && id <= nicks_.size() ? &nicks_[id - 1] : nullptr;
}

bool MucRoom::NickFrom(const XmlElement& stanza, std::string* nick) const {
  const std::string* from = stanza.Attribute("from");
  Jid jid;
  if (!from || !ParseJid(*from, &jid) || jid.resource.empty()) return false;
  if (!EqualIgnoringCase(jid.Bare(), room_)) return false;
  *nick = jid.resource;
  return true;
}

void MucRoom::HandlePresence(const XmlElement& presence, std::vector<RoomEvent>* events) {
  std::string nick;
  if (!NickFrom(presence, &nick)) return;
  const std::string* type = presence.Attribute("type");
  const XmlElement* x = presence.Child("x", kMucUser);
  const bool self = nick == ownNick_ || HasStatus(x, "110");

  if (type && *type == "error") {
    if (self && !joined_) events->push_back({RoomEvent::kJoinFailed, 0, {}});
    return;
  }
  if (self) {
    if (type && *type == "unavailable") {
      if (joined_) {
        // Kicked or the room went away: we are out, and so is everyone else.
        ConnectionLost(events);
        joined_ = false;
      }
      return;
    }
    if (!joined_) {
      // Our join must show real accounts: without them no sender is verified.
      const XmlElement* item = x ? x->Child("item", kMucUser) : nullptr;
      if (!item || !item->Attribute("jid")) {
        events->push_back({RoomEvent::kJoinFailed, 0, {}});
        return;
      }
      joined_ = true;
      events->push_back({RoomEvent::kSelfJoined, 0, {}});
    }
    return;
  }

  const bool wasPresent = present_.count(nick) != 0;
  if (type && *type == "unavailable") {
    // Leave, kick or nick change (status 303): the nick is gone.
    if (wasPresent) {
      present_.erase(nick);
      events->push_back({RoomEvent::kLeft, IdOf(nick), {}});
    }
    return;
  }
  if (type) return;  // subscriptions and the like mean nothing in a room
  const XmlElement* item = x ? x->Child("item", kMucUser) : nullptr;
  const std::string* real = item ? item->Attribute("jid") : nullptr;
  Jid account;
  const bool verified = real && ParseJid(*real, &account) && !account.local.empty() &&
                        EqualIgnoringCase(UnescapeLocalpart(account.local), nick);
  if (!verified) {
    // A nick that is not its account (or hides it) is never an occupant;
    // one that was verified and is now shown otherwise is gone.
    if (wasPresent) {
      present_.erase(nick);
      events->push_back({RoomEvent::kLeft, IdOf(nick), {}});
    }
    return;
  }
  if (!wasPresent) {
    present_[nick] = true;
    events->push_back({RoomEvent::kJoined, IdOf(nick), {}});
  }
}

bool MucRoom::HandleMessage(const XmlElement& message, RoomEvent* event) {
  if (!joined_) return false;
  std::string nick;
  if (!NickFrom(message, &nick)) return false;
  const std::string* type = message.Attribute("type");
  if (!type || (*type != "groupchat" && *type != "chat")) return false;
  if (nick == ownNick_) return false;  // our own message echoed
  if (!present_.count(nick)) return false;
  // Room history carries a delay stamp.
  if (message.Child("delay", kDelay) || message.Child("x", kLegacyDelay)) return false;
  const XmlElement* body = message.Child("body");
  if (!body || body->ns != "jabber:client" || !body->children.empty()) return false;
  if (body->text.size() > (kMaxPayload + 2) / 3 * 4) return false;
  auto data = Base64Decode(body->text);
  if (!data || data->empty() || data->size() > kMaxPayload) return false;
  event->kind = RoomEvent::kData;
  event->id = IdOf(nick);
  event->data = std::move(*data);
  return true;
}

void MucRoom::ConnectionLost(std::vector<RoomEvent>* events) {
  for (const auto& p : present_) events->push_back({RoomEvent::kLeft, IdOf(p.first), {}});
  present_.clear();
}

void MucRoom::Left() {
  present_.clear();
  joined_ = false;
}

}  // namespace lobbysvc
