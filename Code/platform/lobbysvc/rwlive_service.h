// The RWLive service behind the 16 calls Lobbylink makes: game handles, one
// XMPP connection per joined game, the "RWLIVE" channel as the room
// rwlive@<room service>, user data in private storage, and the error texts.
// OS-free: the DLL hands it the settings it read, the code-page conversion
// and the transport; natively the tests drive it against a real server.
// Interface: ServiceSettings, ServiceHooks, RWLiveService, error codes.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "rwlive_api.h"
#include "xmpp_client.h"

namespace lobbysvc {

// What the login helper stored: where the server is and which account.
struct ServiceSettings {
  std::string host = "127.0.0.1";
  uint16_t port = 5222;
  std::string domain = "localhost";
  std::string roomService;  // empty: "rooms." + domain
  std::string login;        // the login name, in the 8-bit code page
  std::string password;
  std::string fingerprint;  // SHA-256 of the server's certificate, optional
  int callTimeoutMs = 10000;
  int keepAliveMs = 30000;
};

struct ServiceHooks {
  // The helper's settings; false when there are none.
  std::function<bool(ServiceSettings*)> loadSettings;
  // Names cross between the program's 8-bit code page and XMPP's UTF-8.
  std::function<std::string(const std::string&)> toUtf8 = [](const std::string& s) { return s; };
  std::function<std::string(const std::string&)> fromUtf8 = [](const std::string& s) { return s; };
  XmppClient::TransportFactory transport = MakeTcpTransport;
  // Whether the transport can encrypt; without it only a server on this
  // machine is used, as logins would travel in the clear.
  bool tlsAvailable = true;
};

// Result codes (bit 15 set: failure); -227 is "nothing stored".
enum ServiceError : uint16_t {
  kErrNotInitialised = 0x8001,
  kErrNoSettings = 0x8002,
  kErrBadGame = 0x8003,
  kErrLogin = 0x8004,
  kErrNotJoined = 0x8005,
  kErrChannel = 0x8006,
  kErrBadArgument = 0x8007,
  kErrNoAnswer = 0x8008,
  kErrConnectionLost = 0x8009,
  kErrTooLarge = 0x800A,
  kErrStorage = 0x800B,
  kErrUnknownPlayer = 0x800C,
  kErrNotLoopback = 0x800D,
  kErrNotSupported = 0x8000,
};

const char* ServiceErrorText(int code);

// A server on this machine may be spoken to in the clear; any other only
// over STARTTLS.
bool IsLoopbackHost(const std::string& host);

class RWLiveService {
 public:
  explicit RWLiveService(ServiceHooks hooks);
  ~RWLiveService();

  uint16_t Init();
  uint16_t Destroy();
  uint16_t LoadGameDef(void* gameDef, uint32_t size);
  uint16_t JoinGame(uint16_t game, const char* loginName);
  uint32_t GetAddr(uint16_t game);
  uint16_t EnableNotification(uint16_t game, rwlive::JoinLeaveCallback callback, void* context);
  uint16_t DisableNotification(uint16_t game);
  uint16_t CreateChannel(uint16_t game, const char* channel);
  uint16_t OpenChannel(uint16_t game, const char* channel, void* context,
                       rwlive::DataCallback callback);
  uint16_t CloseChannel(uint16_t channel);
  uint16_t LeaveGame(uint16_t game);
  uint16_t RestoreData(uint16_t game, const char* key, void* buffer, uint32_t capacity,
                       uint32_t* size);
  uint16_t SaveData(uint16_t game, const char* key, const void* data, uint32_t size);
  uint16_t WriteChannel(uint16_t game, const void* data, uint32_t size,
                        const uint32_t* recipients);
  uint16_t GetNameByAddr(uint16_t game, uint32_t address, char* name, uint32_t size);
  static int GetErrorText(int code, char* buffer, uint32_t size);

 private:
  struct Game;
  std::shared_ptr<Game> Find(uint16_t game);
  uint16_t Failure(Game& g, uint16_t code);

  ServiceHooks hooks_;
  std::mutex mutex_;  // guards the table; each game has its own lock for calls
  bool initialised_ = false;
  uint16_t nextGame_ = 0;
  std::map<uint16_t, std::shared_ptr<Game>> games_;
};

}  // namespace lobbysvc
