// One XMPP connection of the lobby service: stream set-up, in-band
// registration, SCRAM-SHA-1 login, resource binding, the one multi-user chat
// room, private XML storage, iq requests with time-outs and a keep-alive.
// After Login a receive thread reads the stream; it alone runs the room
// handler. Every call is safe in any state and waits at most the call time-out.
// Interface: XmppSettings, XmppClient, ValidStorageKey.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "muc_room.h"
#include "transport.h"
#include "xml_stream.h"

namespace lobbysvc {

struct XmppSettings {
  std::string host = "127.0.0.1";
  uint16_t port = 5222;
  std::string domain = "localhost";       // the server's XMPP domain
  std::string account;                    // the login name, unescaped
  std::string password;
  std::string resource = "rwlive";        // one fixed resource per account
  int callTimeoutMs = 10000;
  int keepAliveMs = 30000;                // a ping to the server when idle this long
  // STARTTLS: always for a server elsewhere, and whenever a fingerprint
  // (SHA-256 of the server's certificate) is given; else the connection
  // stays plain.
  bool requireTls = false;
  std::string tlsFingerprint;
};

// Storage keys: 1 to 32 of [A-Za-z0-9_].
bool ValidStorageKey(const std::string& key);

class XmppClient {
 public:
  using TransportFactory = std::function<std::unique_ptr<Transport>()>;
  using RoomHandler = std::function<void(const RoomEvent&)>;
  enum class Fetch { kValue, kNothingStored, kFailed };

  explicit XmppClient(XmppSettings settings, TransportFactory factory = MakeTcpTransport);
  ~XmppClient();
  XmppClient(const XmppClient&) = delete;
  XmppClient& operator=(const XmppClient&) = delete;

  // Creates the account on its own short connection (XEP-0077).
  bool Register();
  // Connects, logs in and binds; then the receive thread runs.
  bool Login();
  bool Connected() const { return connected_; }

  // Names the room and our nick in it before joining, so that our own id
  // exists at once (ids are kept for the whole connection).
  void PrepareRoom(const std::string& room, const std::string& nick);
  // Joins "room@service" as `nick` without history and waits for the room's
  // answer; `handler` gets occupant and data events on the receive thread.
  bool JoinRoom(const std::string& room, const std::string& nick, RoomHandler handler);
  // Unavailable presence to the room; no handler runs once this returns.
  void LeaveRoom();
  // Replaces the handler (null: events are dropped); once this returns the
  // old one no longer runs.
  void SetRoomHandler(RoomHandler handler);
  // `ids` null: to the whole room; else a private message to each listed
  // occupant. Fails unjoined, for an unknown id, or for 0 or over 16 KiB.
  bool SendToRoom(const std::string& payload, const std::vector<uint32_t>* ids);
  uint32_t OwnId();
  std::optional<std::string> NickOf(uint32_t id);

  // Private XML storage, one element per key; an empty value erases.
  Fetch Get(const std::string& key, std::string* value);
  bool Put(const std::string& key, const std::string& value);

  // Closes the stream and ends the receive thread.
  void Close();
  std::string Error() const;

 private:
  bool Fail(const std::string& why);
  bool Open(std::chrono::steady_clock::time_point deadline);
  bool NextStanza(std::chrono::steady_clock::time_point deadline, XmlStreamEvent* event);
  bool Send(const std::string& xml);
  bool Authenticate(const XmlElement& features, std::chrono::steady_clock::time_point deadline);
  // Negotiates STARTTLS when the settings ask for it; `features` becomes
  // those of the encrypted stream.
  bool Secure(XmlStreamEvent* features, std::chrono::steady_clock::time_point deadline);
  bool Bind(std::chrono::steady_clock::time_point deadline);
  std::unique_ptr<XmlElement> Request(const std::string& type, const std::string& payload);
  // An iq answered before the receive thread runs (registration, binding).
  std::unique_ptr<XmlElement> RequestNow(const std::string& type, const std::string& payload,
                                         std::chrono::steady_clock::time_point deadline);
  void ReceiveLoop();
  void Dispatch(std::unique_ptr<XmlElement> stanza);
  void Deliver(const std::vector<RoomEvent>& events, unsigned generation);
  void Lose(const std::string& why);
  std::string NewId();

  XmppSettings settings_;
  TransportFactory factory_;
  std::unique_ptr<Transport> transport_;
  XmlStreamParser parser_;
  std::string fullJid_;
  std::atomic<bool> connected_{false};
  std::thread receiver_;

  mutable std::mutex mutex_;  // guards everything below
  std::condition_variable changed_;
  std::map<std::string, std::unique_ptr<XmlElement>> replies_;  // id -> reply (null: waiting)
  std::unique_ptr<MucRoom> room_;
  std::string roomJid_, ownNick_;
  enum class Join { kNone, kWaiting, kJoined, kRefused } join_ = Join::kNone;
  unsigned nextId_ = 0;
  unsigned generation_ = 0;
  bool closing_ = false;  // bumped when the handler must stop hearing events
  std::string error_;

  std::mutex handlerMutex_;  // held while the handler runs
  RoomHandler handler_;
};

}  // namespace lobbysvc
