// The lobby service's XMPP connection.
#include "xmpp_client.h"

#include <random>
#include <utility>

#include "base64.h"
#include "jid.h"
#include "scram_sha1.h"

namespace lobbysvc {

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kStreams[] = "http://etherx.jabber.org/streams";
constexpr char kSasl[] = "urn:ietf:params:xml:ns:xmpp-sasl";
constexpr char kBind[] = "urn:ietf:params:xml:ns:xmpp-bind";
constexpr char kTls[] = "urn:ietf:params:xml:ns:xmpp-tls";
constexpr char kStanzas[] = "urn:ietf:params:xml:ns:xmpp-stanzas";
constexpr char kPing[] = "urn:xmpp:ping";
constexpr char kPrivate[] = "jabber:iq:private";
constexpr char kRegister[] = "jabber:iq:register";
constexpr char kDataNs[] = "urn:rookwell:rwlive:data:";
constexpr char kKeepAlivePrefix[] = "ka";

int MsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left < 0 ? 0 : int(left);
}

std::string Attr(const XmlElement& e, const char* name) {
  const std::string* v = e.Attribute(name);
  return v ? *v : std::string();
}

// The first child's name under an error element: the condition.
std::string Condition(const XmlElement& stanza) {
  const XmlElement* error = stanza.ns == kStreams ? &stanza : stanza.Child("error");
  if (error)
    for (const auto& c : error->children)
      if (c->name != "text") return c->name;
  return "unknown";
}

std::string RandomNonce() {
  std::random_device random;
  std::string bytes(18, '\0');
  for (char& c : bytes) c = char(random() & 0xFF);
  return Base64Encode(bytes);
}

}  // namespace

bool ValidStorageKey(const std::string& key) {
  if (key.empty() || key.size() > 32) return false;
  for (char c : key)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
      return false;
  return true;
}

XmppClient::XmppClient(XmppSettings settings, TransportFactory factory)
    : settings_(std::move(settings)), factory_(std::move(factory)) {}

XmppClient::~XmppClient() { Close(); }

std::string XmppClient::Error() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return error_;
}

bool XmppClient::Fail(const std::string& why) {
  std::lock_guard<std::mutex> lock(mutex_);
  error_ = why;
  return false;
}

std::string XmppClient::NewId() {
  std::lock_guard<std::mutex> lock(mutex_);
  return "rw" + std::to_string(++nextId_);
}

bool XmppClient::Send(const std::string& xml) {
  if (!transport_) return false;
  if (transport_->Send(xml, settings_.callTimeoutMs)) return true;
  // A peer that takes nothing is as good as gone; the receive thread sees
  // the shut-down and reports the loss.
  transport_->Shutdown();
  return false;
}

bool XmppClient::Open(Clock::time_point deadline) {
  transport_ = factory_();
  std::string why;
  if (!transport_->Connect(settings_.host, settings_.port, MsLeft(deadline), &why)) {
    transport_.reset();
    return Fail(why);
  }
  parser_.Reset();
  if (!Send("<?xml version='1.0'?><stream:stream xmlns='jabber:client' "
            "xmlns:stream='http://etherx.jabber.org/streams' to='" +
            XmlEscape(settings_.domain) + "' version='1.0'>"))
    return Fail("the server closed the connection");
  XmlStreamEvent event;
  for (;;) {
    if (parser_.Next(&event)) {
      if (event.kind == XmlStreamEvent::kStreamOpened) return true;
      return Fail("the server did not open a stream");
    }
    if (MsLeft(deadline) == 0) return Fail("the server does not answer");
    char buffer[4096];
    const int n = transport_->Receive(buffer, sizeof buffer, MsLeft(deadline));
    if (n == Transport::kTimedOut) continue;
    if (n <= 0) return Fail("the server closed the connection");
    if (!parser_.Feed(buffer, size_t(n))) return Fail("bad XML from the server: " + parser_.Error());
  }
}

bool XmppClient::NextStanza(Clock::time_point deadline, XmlStreamEvent* event) {
  for (;;) {
    if (parser_.Next(event)) {
      if (event->kind == XmlStreamEvent::kStreamOpened) continue;  // a new stream's header
      if (event->kind != XmlStreamEvent::kStanza) return Fail("the server closed the stream");
      if (event->element->ns == kStreams && event->element->name == "error")
        return Fail("stream error from the server: " + Condition(*event->element));
      return true;
    }
    if (MsLeft(deadline) == 0) return Fail("the server does not answer");
    char buffer[4096];
    const int n = transport_->Receive(buffer, sizeof buffer, MsLeft(deadline));
    if (n == Transport::kTimedOut) continue;
    if (n <= 0) return Fail("the server closed the connection");
    if (!parser_.Feed(buffer, size_t(n))) return Fail("bad XML from the server: " + parser_.Error());
  }
}

std::unique_ptr<XmlElement> XmppClient::RequestNow(const std::string& type,
                                                   const std::string& payload,
                                                   Clock::time_point deadline) {
  const std::string id = NewId();
  if (!Send("<iq type='" + type + "' id='" + id + "'>" + payload + "</iq>")) {
    Fail("the server closed the connection");
    return nullptr;
  }
  XmlStreamEvent event;
  while (NextStanza(deadline, &event)) {
    XmlElement& e = *event.element;
    if (e.name == "iq" && Attr(e, "id") == id) return std::move(event.element);
  }
  return nullptr;
}

bool XmppClient::Secure(XmlStreamEvent* features, Clock::time_point deadline) {
  const bool wanted = settings_.requireTls || !settings_.tlsFingerprint.empty();
  if (!wanted) return true;
  if (!features->element->Child("starttls", kTls))
    return Fail("the server offers no encrypted connection");
  if (!Send(std::string("<starttls xmlns='") + kTls + "'/>"))
    return Fail("the server closed the connection");
  XmlStreamEvent answer;
  if (!NextStanza(deadline, &answer)) return false;
  if (answer.element->ns != kTls || answer.element->name != "proceed")
    return Fail("the server refused to encrypt the connection");
  std::string why;
  if (!transport_->StartTls(settings_.domain, settings_.tlsFingerprint, MsLeft(deadline), &why))
    return Fail(why);
  parser_.Reset();
  if (!Send("<?xml version='1.0'?><stream:stream xmlns='jabber:client' "
            "xmlns:stream='http://etherx.jabber.org/streams' to='" +
            XmlEscape(settings_.domain) + "' version='1.0'>"))
    return Fail("the server closed the connection");
  return NextStanza(deadline, features);
}

bool XmppClient::Register() {
  Close();
  const auto deadline = Clock::now() + std::chrono::milliseconds(settings_.callTimeoutMs);
  bool ok = false;
  XmlStreamEvent features;
  if (Open(deadline) && NextStanza(deadline, &features) && Secure(&features, deadline)) {
    auto reply = RequestNow("set",
                            std::string("<query xmlns='") + kRegister + "'><username>" +
                                XmlEscape(EscapeLocalpart(settings_.account)) +
                                "</username><password>" + XmlEscape(settings_.password) +
                                "</password></query>",
                            deadline);
    if (reply && Attr(*reply, "type") == "result")
      ok = true;
    else if (reply && Condition(*reply) == "conflict")
      Fail("the account exists already");
    else if (reply)
      Fail("the server refused the account: " + Condition(*reply));
  }
  if (transport_) {
    transport_->Send("</stream:stream>", 1000);
    transport_->Shutdown();
    transport_.reset();
  }
  return ok;
}

bool XmppClient::Authenticate(const XmlElement& features, Clock::time_point deadline) {
  const XmlElement* mechanisms = features.Child("mechanisms", kSasl);
  bool scram = false;
  if (mechanisms)
    for (const auto& m : mechanisms->children)
      if (m->name == "mechanism" && m->text == "SCRAM-SHA-1") scram = true;
  if (!scram) {
    const XmlElement* tls = features.Child("starttls", kTls);
    if (tls && tls->Child("required", kTls))
      return Fail("the server requires an encrypted connection");
    return Fail("the server offers no SCRAM-SHA-1 login");
  }
  ScramSha1Client scramClient(EscapeLocalpart(settings_.account), settings_.password,
                              RandomNonce());
  if (!Send(std::string("<auth xmlns='") + kSasl + "' mechanism='SCRAM-SHA-1'>" +
            Base64Encode(scramClient.ClientFirst()) + "</auth>"))
    return Fail("the server closed the connection");
  XmlStreamEvent event;
  int step = 0;
  while (NextStanza(deadline, &event)) {
    const XmlElement& e = *event.element;
    if (e.ns != kSasl) continue;
    if (e.name == "failure") {
      const std::string why = e.children.empty() ? "unknown" : e.children.front()->name;
      return Fail(why == "not-authorized" ? "wrong account name or password"
                                          : "login refused: " + why);
    }
    const auto text = e.text.empty() ? std::optional<std::string>("") : Base64Decode(e.text);
    if (!text) return Fail("bad login message from the server");
    if (e.name == "challenge" && step == 0) {
      std::string final;
      if (!scramClient.ClientFinal(*text, &final)) return Fail(scramClient.Error());
      if (!Send(std::string("<response xmlns='") + kSasl + "'>" + Base64Encode(final) +
                "</response>"))
        return Fail("the server closed the connection");
      step = 1;
    } else if (e.name == "challenge" && step == 1) {
      // The server's proof in a challenge of its own; the success is empty.
      if (!scramClient.VerifyServerFinal(*text)) return Fail(scramClient.Error());
      if (!Send(std::string("<response xmlns='") + kSasl + "'/>"))
        return Fail("the server closed the connection");
      step = 2;
    } else if (e.name == "success" && step >= 1) {
      if (step == 1 && !scramClient.VerifyServerFinal(*text)) return Fail(scramClient.Error());
      return true;
    } else {
      return Fail("unexpected login message from the server");
    }
  }
  return false;
}

bool XmppClient::Bind(Clock::time_point deadline) {
  auto reply = RequestNow("set",
                          std::string("<bind xmlns='") + kBind + "'><resource>" +
                              XmlEscape(settings_.resource) + "</resource></bind>",
                          deadline);
  if (!reply) return false;
  const XmlElement* bind = reply->Child("bind", kBind);
  const XmlElement* jid = bind ? bind->Child("jid", kBind) : nullptr;
  if (Attr(*reply, "type") != "result" || !jid) return Fail("binding refused: " + Condition(*reply));
  fullJid_ = jid->text;
  return true;
}

bool XmppClient::Login() {
  Close();
  const auto deadline = Clock::now() + std::chrono::milliseconds(settings_.callTimeoutMs);
  XmlStreamEvent features;
  bool ok = Open(deadline) && NextStanza(deadline, &features) && Secure(&features, deadline) &&
            Authenticate(*features.element, deadline);
  if (ok) {
    // A new stream after the login, on the same connection.
    parser_.Reset();
    ok = Send("<?xml version='1.0'?><stream:stream xmlns='jabber:client' "
              "xmlns:stream='http://etherx.jabber.org/streams' to='" +
              XmlEscape(settings_.domain) + "' version='1.0'>");
    ok = ok && NextStanza(deadline, &features) && Bind(deadline);
  }
  if (!ok) {
    if (transport_) transport_->Shutdown();
    transport_.reset();
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    room_.reset();
    join_ = Join::kNone;
    replies_.clear();
  }
  connected_ = true;
  receiver_ = std::thread([this] { ReceiveLoop(); });
  return true;
}

void XmppClient::ReceiveLoop() {
  auto lastHeard = Clock::now();
  bool pinging = false;
  const auto keepAlive = std::chrono::milliseconds(settings_.keepAliveMs);
  const auto patience = std::chrono::milliseconds(settings_.callTimeoutMs);
  char buffer[8192];
  for (;;) {
    const int n = transport_->Receive(buffer, sizeof buffer, 250);
    if (n == Transport::kTimedOut) {
      const auto idle = Clock::now() - lastHeard;
      if (pinging && idle > keepAlive + patience) return Lose("the server does not answer");
      if (!pinging && idle > keepAlive) {
        pinging = true;
        Send(std::string("<iq type='get' id='") + kKeepAlivePrefix + "' to='" +
             XmlEscape(settings_.domain) + "'><ping xmlns='" + kPing + "'/></iq>");
      }
      continue;
    }
    if (n <= 0) return Lose("the connection was lost");
    lastHeard = Clock::now();
    pinging = false;
    if (!parser_.Feed(buffer, size_t(n)))
      return Lose("bad XML from the server: " + parser_.Error());
    XmlStreamEvent event;
    while (parser_.Next(&event)) {
      if (event.kind == XmlStreamEvent::kStreamClosed) return Lose("the server closed the stream");
      if (event.kind != XmlStreamEvent::kStanza) continue;
      const XmlElement& e = *event.element;
      if (e.ns == kStreams && e.name == "error") {
        // "conflict": the same account logged in elsewhere.
        return Lose("the server ended the connection: " + Condition(e));
      }
      Dispatch(std::move(event.element));
    }
  }
}

void XmppClient::Lose(const std::string& why) {
  std::vector<RoomEvent> events;
  unsigned generation;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (error_.empty() || connected_) error_ = why;
    // Losses we caused by closing are not news to the caller.
    if (room_ && !closing_) room_->ConnectionLost(&events);
    join_ = Join::kNone;
    generation = generation_;
    connected_ = false;
  }
  changed_.notify_all();
  transport_->Shutdown();
  Deliver(events, generation);
}

void XmppClient::Deliver(const std::vector<RoomEvent>& events, unsigned generation) {
  if (events.empty()) return;
  std::lock_guard<std::mutex> running(handlerMutex_);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (generation != generation_) return;
  }
  if (!handler_) return;
  for (const RoomEvent& e : events) handler_(e);
}

void XmppClient::Dispatch(std::unique_ptr<XmlElement> stanza) {
  const XmlElement& e = *stanza;
  if (e.ns != "jabber:client") return;
  const std::string type = Attr(e, "type");
  std::vector<RoomEvent> events;
  unsigned generation;
  if (e.name == "iq") {
    const std::string id = Attr(e, "id");
    if (type == "result" || type == "error") {
      // Our requests go to our own account or server: an answer from anyone
      // else (another occupant guessing our ids) is no answer.
      const std::string from = Attr(e, "from");
      Jid own;
      ParseJid(fullJid_, &own);
      if (!from.empty() && from != fullJid_ && !EqualIgnoringCase(from, own.Bare()) &&
          !EqualIgnoringCase(from, settings_.domain))
        return;
      std::lock_guard<std::mutex> lock(mutex_);
      auto it = replies_.find(id);
      if (it != replies_.end() && !it->second) {
        it->second = std::move(stanza);
        changed_.notify_all();
      }
      return;
    }
    if (type != "get" && type != "set") return;
    const std::string from = Attr(e, "from");
    const std::string to = from.empty() ? std::string() : " to='" + XmlEscape(from) + "'";
    const XmlElement* ping = e.Child("ping", kPing);
    if (ping && type == "get") {
      Send("<iq type='result' id='" + XmlEscape(id) + "'" + to + "/>");
    } else {
      Send("<iq type='error' id='" + XmlEscape(id) + "'" + to +
           "><error type='cancel'><service-unavailable xmlns='" + kStanzas +
           "'/></error></iq>");
    }
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!room_) return;
    generation = generation_;
    if (e.name == "presence") {
      room_->HandlePresence(e, &events);
      for (auto it = events.begin(); it != events.end();) {
        if (it->kind == RoomEvent::kSelfJoined || it->kind == RoomEvent::kJoinFailed) {
          if (join_ == Join::kWaiting) {
            join_ = it->kind == RoomEvent::kSelfJoined ? Join::kJoined : Join::kRefused;
            changed_.notify_all();
          }
          it = events.erase(it);
        } else {
          ++it;
        }
      }
    } else if (e.name == "message") {
      RoomEvent data;
      if (room_->HandleMessage(e, &data)) events.push_back(std::move(data));
    }
  }
  Deliver(events, generation);
}

std::unique_ptr<XmlElement> XmppClient::Request(const std::string& type,
                                                const std::string& payload) {
  if (!connected_) {
    Fail("not connected");
    return nullptr;
  }
  const std::string id = NewId();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    replies_[id] = nullptr;
  }
  std::unique_ptr<XmlElement> reply;
  const bool sent = Send("<iq type='" + type + "' id='" + id + "'>" + payload + "</iq>");
  std::unique_lock<std::mutex> lock(mutex_);
  if (sent)
    changed_.wait_for(lock, std::chrono::milliseconds(settings_.callTimeoutMs),
                      [&] { return replies_[id] != nullptr || !connected_; });
  reply = std::move(replies_[id]);
  replies_.erase(id);
  if (!reply) error_ = connected_ && sent ? "the server does not answer" : "the connection was lost";
  return reply;
}

void XmppClient::PrepareRoom(const std::string& room, const std::string& nick) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (room_ && roomJid_ == room && ownNick_ == nick) return;
  if (join_ != Join::kNone) return;
  room_ = std::make_unique<MucRoom>(room, nick);
  roomJid_ = room;
  ownNick_ = nick;
}

bool XmppClient::JoinRoom(const std::string& room, const std::string& nick, RoomHandler handler) {
  if (!connected_) return Fail("not connected");
  if (nick.empty()) return Fail("no nick");
  SetRoomHandler(std::move(handler));
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (join_ == Join::kJoined || join_ == Join::kWaiting) {
      error_ = "already in a room";
      return false;
    }
    // Ids stay with their nicks for the whole connection, over leaving and
    // joining again.
    if (!room_ || roomJid_ != room || ownNick_ != nick) {
      room_ = std::make_unique<MucRoom>(room, nick);
      roomJid_ = room;
      ownNick_ = nick;
    }
    join_ = Join::kWaiting;
  }
  const bool sent = Send("<presence to='" + XmlEscape(room + "/" + nick) +
                         "'><x xmlns='http://jabber.org/protocol/muc'>"
                         "<history maxstanzas='0'/></x></presence>");
  std::unique_lock<std::mutex> lock(mutex_);
  if (sent)
    changed_.wait_for(lock, std::chrono::milliseconds(settings_.callTimeoutMs),
                      [&] { return join_ != Join::kWaiting || !connected_; });
  if (join_ == Join::kJoined) return true;
  const bool refused = join_ == Join::kRefused;
  join_ = Join::kNone;
  if (room_) room_->Left();
  ++generation_;
  error_ = refused ? "the room refused the join (nick in use or accounts hidden)"
           : connected_ ? "the room does not answer"
                        : "the connection was lost";
  lock.unlock();
  // A late acceptance must not leave us in the room unseen.
  if (connected_)
    Send("<presence type='unavailable' to='" + XmlEscape(room + "/" + nick) + "'/>");
  return false;
}

void XmppClient::LeaveRoom() {
  std::string to;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++generation_;
    if (room_ && join_ != Join::kNone) to = roomJid_ + "/" + ownNick_;
    if (room_) room_->Left();
    join_ = Join::kNone;
  }
  // Wait for a delivery under way; none starts after the generation changed.
  { std::lock_guard<std::mutex> running(handlerMutex_); }
  if (!to.empty() && connected_) Send("<presence type='unavailable' to='" + XmlEscape(to) + "'/>");
}

void XmppClient::SetRoomHandler(RoomHandler handler) {
  std::lock_guard<std::mutex> running(handlerMutex_);
  handler_ = std::move(handler);
}

bool XmppClient::SendToRoom(const std::string& payload, const std::vector<uint32_t>* ids) {
  if (payload.empty() || payload.size() > kMaxPayload) return Fail("bad payload size");
  std::vector<std::string> targets;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!connected_ || join_ != Join::kJoined || !room_) {
      error_ = "not in the room";
      return false;
    }
    if (ids) {
      for (uint32_t id : *ids) {
        const std::string* nick = room_->NickOf(id);
        if (!nick || *nick == ownNick_) {
          error_ = "no such player";
          return false;
        }
        targets.push_back(roomJid_ + "/" + *nick);
      }
    }
  }
  const std::string body = "<body>" + Base64Encode(payload) + "</body>";
  if (!ids) return Send("<message type='groupchat' to='" + XmlEscape(roomJid_) + "'>" + body +
                        "</message>") ||
                   Fail("the connection was lost");
  for (const std::string& to : targets)
    if (!Send("<message type='chat' to='" + XmlEscape(to) + "'>" + body +
              "<x xmlns='http://jabber.org/protocol/muc#user'/></message>"))
      return Fail("the connection was lost");
  return true;
}

uint32_t XmppClient::OwnId() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!connected_ || !room_) return 0;
  return room_->IdOf(ownNick_);
}

std::optional<std::string> XmppClient::NickOf(uint32_t id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!room_) return std::nullopt;
  const std::string* nick = room_->NickOf(id);
  if (!nick) return std::nullopt;
  return *nick;
}

XmppClient::Fetch XmppClient::Get(const std::string& key, std::string* value) {
  if (!ValidStorageKey(key)) return Fail("bad key"), Fetch::kFailed;
  const std::string ns = kDataNs + key;
  auto reply = Request("get", std::string("<query xmlns='") + kPrivate + "'><data xmlns='" + ns +
                                  "'/></query>");
  if (!reply) return Fetch::kFailed;
  if (Attr(*reply, "type") != "result")
    return Fail("the server refused: " + Condition(*reply)), Fetch::kFailed;
  const XmlElement* query = reply->Child("query", kPrivate);
  const XmlElement* data = query ? query->Child("data", ns) : nullptr;
  if (!data || data->text.empty()) return Fetch::kNothingStored;
  auto decoded = Base64Decode(data->text);
  if (!decoded) return Fail("the stored value is damaged"), Fetch::kFailed;
  *value = std::move(*decoded);
  return Fetch::kValue;
}

bool XmppClient::Put(const std::string& key, const std::string& value) {
  if (!ValidStorageKey(key)) return Fail("bad key");
  auto reply = Request("set", std::string("<query xmlns='") + kPrivate + "'><data xmlns='" +
                                  kDataNs + key + "'>" + Base64Encode(value) +
                                  "</data></query>");
  if (!reply) return false;
  if (Attr(*reply, "type") != "result") return Fail("the server refused: " + Condition(*reply));
  return true;
}

void XmppClient::Close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++generation_;
    closing_ = true;
  }
  { std::lock_guard<std::mutex> running(handlerMutex_); }
  if (receiver_.joinable()) {
    if (connected_) transport_->Send("</stream:stream>", 1000);
    transport_->Shutdown();
    receiver_.join();
  }
  transport_.reset();
  std::lock_guard<std::mutex> lock(mutex_);
  connected_ = false;
  room_.reset();
  join_ = Join::kNone;
  replies_.clear();
  closing_ = false;
  changed_.notify_all();
}

}  // namespace lobbysvc
