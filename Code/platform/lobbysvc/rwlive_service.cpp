// The RWLive service's 16 calls over XMPP.
#include "rwlive_service.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "jid.h"

namespace lobbysvc {

namespace {
constexpr uint16_t kNothingStored = static_cast<uint16_t>(rwlive::kNothingStored);
}  // namespace

struct RWLiveService::Game {
  ServiceSettings settings;
  std::mutex call;  // one call at a time on a game
  std::unique_ptr<XmppClient> client;
  std::string nick;     // UTF-8
  std::string roomJid;  // set by CreateChannel
  bool open = false;

  std::mutex callbacks;  // held while a callback runs
  rwlive::JoinLeaveCallback joinLeave = nullptr;
  void* joinLeaveContext = nullptr;
  rwlive::DataCallback data = nullptr;
  void* dataContext = nullptr;

  // Runs on the connection's receive thread.
  void OnRoomEvent(const RoomEvent& e) {
    std::lock_guard<std::mutex> lock(callbacks);
    switch (e.kind) {
      case RoomEvent::kJoined:
      case RoomEvent::kLeft:
        if (joinLeave) joinLeave(joinLeaveContext, e.id, e.kind == RoomEvent::kJoined ? 1 : 0);
        break;
      case RoomEvent::kData:
        if (data) data(dataContext, e.id, e.data.data(), static_cast<uint32_t>(e.data.size()));
        break;
      default:
        break;
    }
  }
};

const char* ServiceErrorText(int code) {
  switch (static_cast<uint16_t>(code)) {
    case 0: return "No error";
    case kNothingStored: return "Nothing is stored under this key";
    case kErrNotInitialised: return "The lobby service is not started";
    case kErrNoSettings: return "No lobby service login is set up; run the login program first";
    case kErrBadGame: return "No such game";
    case kErrLogin: return "Could not log in to the lobby server";
    case kErrNotJoined: return "Not connected to the lobby";
    case kErrChannel: return "Could not enter the lobby room";
    case kErrBadArgument: return "Bad argument";
    case kErrNoAnswer: return "The lobby server does not answer";
    case kErrConnectionLost: return "The connection to the lobby server was lost";
    case kErrTooLarge: return "The data is too large";
    case kErrStorage: return "The lobby server could not store or read the data";
    case kErrUnknownPlayer: return "No such player in the lobby";
    case kErrNotLoopback: return "The lobby server must run on this computer";
    case kErrNotSupported: return "Not supported by this lobby service";
    default: return "Unknown lobby service error";
  }
}

bool IsLoopbackHost(const std::string& host) {
  if (host == "localhost" || host == "::1" || host == "[::1]") return true;
  // 127.0.0.0/8 in dotted form.
  if (host.compare(0, 4, "127.") != 0) return false;
  int dots = 0;
  for (char c : host) {
    if (c == '.') ++dots;
    else if (c < '0' || c > '9') return false;
  }
  return dots == 3;
}

RWLiveService::RWLiveService(ServiceHooks hooks) : hooks_(std::move(hooks)) {}

RWLiveService::~RWLiveService() { Destroy(); }

uint16_t RWLiveService::Init() {
  std::lock_guard<std::mutex> lock(mutex_);
  initialised_ = true;
  return 0;
}

uint16_t RWLiveService::Destroy() {
  std::map<uint16_t, std::shared_ptr<Game>> games;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    games.swap(games_);
    initialised_ = false;
  }
  for (auto& g : games) {
    std::lock_guard<std::mutex> call(g.second->call);
    if (g.second->client) g.second->client->Close();
  }
  return 0;
}

std::shared_ptr<RWLiveService::Game> RWLiveService::Find(uint16_t game) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = games_.find(game);
  return it == games_.end() ? nullptr : it->second;
}

uint16_t RWLiveService::Failure(Game& g, uint16_t code) {
  // A connection that went away says so rather than the call's own failure.
  if (g.client && !g.client->Connected() && code != kErrLogin) return kErrConnectionLost;
  return code;
}

uint16_t RWLiveService::LoadGameDef(void* gameDef, uint32_t size) {
  if (!gameDef || size < rwlive::kLoginNameOffset + rwlive::kLoginNameSize) return kErrBadArgument;
  auto g = std::make_shared<Game>();
  if (!hooks_.loadSettings || !hooks_.loadSettings(&g->settings) || g->settings.login.empty())
    return kErrNoSettings;
  std::lock_guard<std::mutex> lock(mutex_);
  if (!initialised_) return kErrNotInitialised;
  // Handles count from 1 and stay below the failure bit.
  do {
    nextGame_ = static_cast<uint16_t>(nextGame_ % 0x7FFF + 1);
  } while (games_.count(nextGame_));
  games_[nextGame_] = g;
  auto* bytes = static_cast<uint8_t*>(gameDef);
  std::memset(bytes, 0, size);
  bytes[rwlive::kGameHandleOffset] = static_cast<uint8_t>(nextGame_ & 0xFF);
  bytes[rwlive::kGameHandleOffset + 1] = static_cast<uint8_t>(nextGame_ >> 8);
  const size_t n = std::min(g->settings.login.size(), rwlive::kLoginNameSize - 1);
  std::memcpy(bytes + rwlive::kLoginNameOffset, g->settings.login.data(), n);
  return 0;
}

uint16_t RWLiveService::JoinGame(uint16_t game, const char* loginName) {
  auto g = Find(game);
  if (!g) return kErrBadGame;
  if (!loginName || !*loginName) return kErrBadArgument;
  std::lock_guard<std::mutex> call(g->call);
  if (g->client && g->client->Connected()) return 0;
  const bool here = IsLoopbackHost(g->settings.host);
  if (!here && !hooks_.tlsAvailable) return kErrNotLoopback;
  XmppSettings x;
  x.host = g->settings.host;
  x.port = g->settings.port;
  x.domain = g->settings.domain;
  x.account = hooks_.toUtf8(loginName);
  x.password = g->settings.password;
  x.callTimeoutMs = g->settings.callTimeoutMs;
  x.keepAliveMs = g->settings.keepAliveMs;
  x.requireTls = !here;
  x.tlsFingerprint = g->settings.fingerprint;
  g->nick = x.account;
  g->client = std::make_unique<XmppClient>(x, hooks_.transport);
  if (!g->client->Login()) return kErrLogin;
  const std::string rooms =
      g->settings.roomService.empty() ? "rooms." + g->settings.domain : g->settings.roomService;
  g->roomJid = "rwlive@" + rooms;
  g->client->PrepareRoom(g->roomJid, g->nick);
  Game* raw = g.get();
  g->client->SetRoomHandler([raw](const RoomEvent& e) { raw->OnRoomEvent(e); });
  return 0;
}

uint32_t RWLiveService::GetAddr(uint16_t game) {
  auto g = Find(game);
  if (!g) return 0;
  std::lock_guard<std::mutex> call(g->call);
  return g->client ? g->client->OwnId() : 0;
}

uint16_t RWLiveService::EnableNotification(uint16_t game, rwlive::JoinLeaveCallback callback,
                                           void* context) {
  auto g = Find(game);
  if (!g) return kErrBadGame;
  if (!callback) return kErrBadArgument;
  std::lock_guard<std::mutex> lock(g->callbacks);
  g->joinLeave = callback;
  g->joinLeaveContext = context;
  return 0;
}

uint16_t RWLiveService::DisableNotification(uint16_t game) {
  auto g = Find(game);
  if (!g) return kErrBadGame;
  std::lock_guard<std::mutex> lock(g->callbacks);
  g->joinLeave = nullptr;
  g->joinLeaveContext = nullptr;
  return 0;
}

uint16_t RWLiveService::CreateChannel(uint16_t game, const char* channel) {
  auto g = Find(game);
  if (!g) return kErrBadGame;
  if (!channel || std::strcmp(channel, rwlive::kChannelName) != 0) return kErrChannel;
  std::lock_guard<std::mutex> call(g->call);
  if (!g->client || !g->client->Connected()) return Failure(*g, kErrNotJoined);
  // The room itself comes into being with its first occupant.
  return 0;
}

uint16_t RWLiveService::OpenChannel(uint16_t game, const char* channel, void* context,
                                    rwlive::DataCallback callback) {
  auto g = Find(game);
  if (!g) return kErrBadGame;
  if (!channel || std::strcmp(channel, rwlive::kChannelName) != 0) return kErrChannel;
  std::lock_guard<std::mutex> call(g->call);
  if (!g->client || !g->client->Connected()) return Failure(*g, kErrNotJoined);
  {
    std::lock_guard<std::mutex> lock(g->callbacks);
    g->data = callback;
    g->dataContext = context;
  }
  Game* raw = g.get();
  if (!g->client->JoinRoom(g->roomJid, g->nick,
                           [raw](const RoomEvent& e) { raw->OnRoomEvent(e); }))
    return Failure(*g, kErrChannel);
  g->open = true;
  return game;  // one channel per game: its handle is the game's
}

uint16_t RWLiveService::CloseChannel(uint16_t channel) {
  auto g = Find(channel);
  if (!g) return kErrBadGame;
  std::lock_guard<std::mutex> call(g->call);
  if (g->client) g->client->LeaveRoom();
  g->open = false;
  std::lock_guard<std::mutex> lock(g->callbacks);
  g->data = nullptr;
  g->dataContext = nullptr;
  return 0;
}

uint16_t RWLiveService::LeaveGame(uint16_t game) {
  auto g = Find(game);
  if (!g) return kErrBadGame;
  {
    std::lock_guard<std::mutex> call(g->call);
    if (g->client) g->client->Close();
    g->open = false;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  games_.erase(game);
  return 0;
}

uint16_t RWLiveService::RestoreData(uint16_t game, const char* key, void* buffer,
                                    uint32_t capacity, uint32_t* size) {
  auto g = Find(game);
  if (!g) return kErrBadGame;
  if (!key || !ValidStorageKey(key) || !size || (!buffer && capacity)) return kErrBadArgument;
  std::lock_guard<std::mutex> call(g->call);
  if (!g->client || !g->client->Connected()) return Failure(*g, kErrNotJoined);
  std::string value;
  switch (g->client->Get(key, &value)) {
    case XmppClient::Fetch::kNothingStored:
      return kNothingStored;
    case XmppClient::Fetch::kFailed:
      return Failure(*g, kErrStorage);
    case XmppClient::Fetch::kValue:
      break;
  }
  if (value.size() > capacity) return kErrTooLarge;
  std::memcpy(buffer, value.data(), value.size());
  *size = static_cast<uint32_t>(value.size());
  return 0;
}

uint16_t RWLiveService::SaveData(uint16_t game, const char* key, const void* data,
                                 uint32_t size) {
  auto g = Find(game);
  if (!g) return kErrBadGame;
  if (!key || !ValidStorageKey(key) || (!data && size)) return kErrBadArgument;
  if (size > kMaxPayload) return kErrTooLarge;
  std::lock_guard<std::mutex> call(g->call);
  if (!g->client || !g->client->Connected()) return Failure(*g, kErrNotJoined);
  const std::string value(static_cast<const char*>(data), size);
  return g->client->Put(key, value) ? 0 : Failure(*g, kErrStorage);
}

uint16_t RWLiveService::WriteChannel(uint16_t game, const void* data, uint32_t size,
                                     const uint32_t* recipients) {
  auto g = Find(game);
  if (!g) return kErrBadGame;
  if (!data || size == 0) return kErrBadArgument;
  if (size > kMaxPayload) return kErrTooLarge;
  std::lock_guard<std::mutex> call(g->call);
  if (!g->client || !g->client->Connected()) return Failure(*g, kErrNotJoined);
  if (!g->open) return kErrNotJoined;
  const std::string payload(static_cast<const char*>(data), size);
  std::vector<uint32_t> ids;
  if (recipients) {
    const uint32_t count = recipients[0];
    if (count == 0 || count > 1024) return kErrBadArgument;
    ids.assign(recipients + 1, recipients + 1 + count);
    for (uint32_t id : ids)
      if (!g->client->NickOf(id)) return kErrUnknownPlayer;
  }
  if (g->client->SendToRoom(payload, recipients ? &ids : nullptr)) return 0;
  return Failure(*g, recipients ? kErrUnknownPlayer : kErrNotJoined);
}

uint16_t RWLiveService::GetNameByAddr(uint16_t game, uint32_t address, char* name,
                                      uint32_t size) {
  auto g = Find(game);
  if (!g) return kErrBadGame;
  if (!name || size == 0) return kErrBadArgument;
  std::lock_guard<std::mutex> call(g->call);
  auto nick = g->client ? g->client->NickOf(address) : std::nullopt;
  if (!nick) return kErrUnknownPlayer;
  const std::string text = hooks_.fromUtf8(*nick);
  const size_t n = std::min<size_t>({text.size(), size - 1, rwlive::kLoginNameSize - 1});
  std::memcpy(name, text.data(), n);
  name[n] = 0;
  return 0;
}

int RWLiveService::GetErrorText(int code, char* buffer, uint32_t size) {
  if (!buffer || size == 0) return code;
  const char* text = ServiceErrorText(code);
  const size_t n = std::min<size_t>(std::strlen(text), size - 1);
  std::memcpy(buffer, text, n);
  buffer[n] = 0;
  return code;
}

}  // namespace lobbysvc
