#include "session.h"

#include <cstdio>
#include <cstring>

#include "ini_name_list.h"
#include "name_lists.h"

namespace {

constexpr uint32_t kKeepAliveIntervalMs = 60000;

const char kVersionText[] =
    "Received initialization message from user with incorrect version, further messages will be ignored. "
    "Updates are available from the Rookwell web site.";

}  // namespace

PeerRoute GetPeerRoute(uint32_t type) {
  switch (type) {
    case 1:
    case 2:
    case 14:
    case 20:
    case 22:
    case 24:
    case 51:
    case 53:
    case 55:
      return ROUTE_LIST;
    case 3:
    case 4:
    case 6:
    case 7:
    case 8:
    case 16:
    case 17:
    case 19:
    case 21:
    case 32:
    case 33:
    case 34:
    case 50:
    case 52:
    case 54:
    case 56:
      return ROUTE_USER;
    case 5:
    case 9:
    case 10:
    case 12:
    case 18:
    case 35:
    case 90:
      return ROUTE_PLAYERS;
    case 31:
      return ROUTE_VIEWERS;
    case 23:
    case 25:
    case 26:
    case 60:
    case 61:
    case 70:
    case 101:
      return ROUTE_CHANNEL;
    case 27:  // channel for verb 4, else a list
      return ROUTE_LIST;
    default:
      return ROUTE_NONE;
  }
}

const char* GetChatVerbText(uint32_t verb) {
  switch (verb) {
    case 1:
      return "tells";
    case 2:
      return "says";
    case 3:
      return "shouts";
    case 4:
      return "announces";
    default:
      return "thinks";
  }
}

OnlineSession::OnlineSession(LobbyLink& l, OnlineHooks& h) : link(l), hooks(h) {}

OnlineSession::~OnlineSession() {
  if (open_) Close();
}

int OnlineSession::Start(uint32_t k, const std::string& name) {
  if (open_) return 1204;
  uint32_t backEnd = k == 1 ? 1 : 0;
  if (link.Init(backEnd, name) != 0) return 1205;
  version = kOnlineProtocolVersion;
  kind = backEnd;
  loginName = name;
  internetAddress.clear();
  open_ = true;
  InstallDefaultHandlers();
  for (auto& hook : startHooks_) hook();
  return 0;
}

int OnlineSession::DisconnectLobby() {
  if (!open_) return -1;
  SendPeerToChannel(BuildEmptyMessage(MSG_LEAVING));
  link.Disconnect();
  return 0;
}

int OnlineSession::EnumOnlineAddresses(uint32_t k) { return open_ ? link.EnumAddresses(k) : -1; }

int OnlineSession::ConnectOnline(uint32_t k, bool noSearch, const std::string& address, const std::string& modem,
                                 const std::string& phone) {
  if (!open_) return -1;
  noSessionSearch = noSearch;
  return link.Connect(k, noSearch, address, modem, phone);
}

int OnlineSession::LoginOnline(const uint8_t* session, bool host, const std::string& value) {
  return open_ ? link.Login(session, host, value) : -1;
}

int OnlineSession::Close() {
  if (!open_) return 0;
  DisconnectLobby();
  open_ = false;
  {
    std::lock_guard<std::mutex> hold(lock_);
    while (!queue_.empty()) {
      LobbyEvent* record = queue_.front();
      queue_.pop_front();
      link.ReleaseData(record);
    }
  }
  RemoveAllOnlineUsers();
  DeleteNameList(buddyList);
  DeleteNameList(ignoreList);
  buddyList = ignoreList = nullptr;
  version = kind = ownId = 0;
  noSessionSearch = false;
  own = OnlineUser();
  game = GameState();
  pending = Pending();
  gameList = LobbyGameList();
  netUserData = NetUserData();
  loginName.clear();
  internetAddress.clear();
  lastKeepAliveMs = 0;
  keepAliveSent = false;
  draining_ = false;
  for (auto& h : handlers_) h = nullptr;
  return 0;
}

void OnlineSession::OpenNameLists(const std::string& path) {
  DeleteNameList(buddyList);
  DeleteNameList(ignoreList);
  buddyList = CreateBuddyList(path);
  ignoreList = CreateIgnoreList(path);
}

std::vector<std::string> OnlineSession::IgnoreList() const {
  std::vector<std::string> names;
  if (ignoreList)
    ignoreList->ForEach([&](const std::string& name) {
      names.push_back(name);
      return true;
    });
  return names;
}

void OnlineSession::Leave() {
  Close();
  hooks.SessionLeft();
}

int OnlineSession::QueueLobbyEvent(LobbyEvent* record) {
  if (!open_) return -1;
  {
    std::lock_guard<std::mutex> hold(lock_);
    queue_.push_back(record);
  }
  DrainLobbyEvents();
  return 0;
}

void OnlineSession::DrainLobbyEvents() {
  // A handler that asks a question pumps messages, which queue more records:
  // those are taken by this loop, in order, after the handler returns.
  if (!open_ || draining_) return;
  draining_ = true;
  while (open_) {
    LobbyEvent* record;
    {
      std::lock_guard<std::mutex> hold(lock_);
      if (queue_.empty()) break;
      record = queue_.front();
      queue_.pop_front();
    }
    HandleRecord(record);
    link.ReleaseData(record);
  }
  draining_ = false;
}

void OnlineSession::HandleRoomMessage(uint32_t wparam, LobbyEvent* record) {
  if (!record) {
    // A fatal send report comes without a record: the connection is gone.
    if (wparam == kFatalSendNotice && open_) Leave();
    return;
  }
  if (QueueLobbyEvent(record) != 0) link.ReleaseData(record);
}

void OnlineSession::HandleRecord(LobbyEvent* record) {
  switch (record->kind) {
    case LOBBY_PEER_DATA:
      DispatchPeerMessage(record->data.data(), record->data.size(), record->senderId);
      break;
    case LOBBY_PLAYER_GONE:
      RemoveOnlineUser(record->senderId);
      break;
    case LOBBY_LOGGED_IN:
      CompleteLogin(record->senderId, loginName, nullptr);
      break;
    case LOBBY_ADDRESS:
      if (record->addressKind == 2 && !record->data.empty()) {
        const char* text = reinterpret_cast<const char*>(record->data.data());
        const void* end = std::memchr(text, 0, record->data.size());
        internetAddress.assign(text, end ? static_cast<const char*>(end) : text + record->data.size());
      }
      break;
    default:
      break;
  }
}

void OnlineSession::RegisterPeerHandler(uint32_t type, PeerHandler handler) {
  if (type < sizeof handlers_ / sizeof handlers_[0]) handlers_[type] = std::move(handler);
}

void OnlineSession::DispatchPeerMessage(const uint8_t* data, size_t size, uint32_t sender) {
  uint32_t messageVersion, type;
  if (!open_ || !ReadPeerHeader(data, size, &messageVersion, &type)) return;
  if ((own.version >> 16) != (messageVersion >> 16)) {
    if (type == MSG_LOGIN) hooks.ShowModeless(kVersionText, 120);
    return;
  }
  if (type < 1 || type > 101 || !handlers_[type]) return;
  // Only login announcements may come from someone not yet in the table.
  if (type != MSG_LOGIN && type != MSG_LOGIN_ANSWER && !FindOnlineUserById(sender)) return;
  PeerMessage m;
  if (!ParsePeerMessage(data, size, &m) || !GameMessageAccepted(m, sender)) return;
  PeerHandler handler = handlers_[type];  // a handler may replace itself
  handler(*this, m, sender);
}

void OnlineSession::InstallDefaultHandlers() {
  for (auto& h : handlers_) h = nullptr;
  RegisterPeerHandler(MSG_LOGIN,
                      [](OnlineSession& s, const PeerMessage& m, uint32_t id) { s.OnLogin(m, id, false); });
  RegisterPeerHandler(MSG_LOGIN_ANSWER,
                      [](OnlineSession& s, const PeerMessage& m, uint32_t id) { s.OnLogin(m, id, true); });
  RegisterPeerHandler(MSG_USER_UPDATE,
                      [](OnlineSession& s, const PeerMessage& m, uint32_t id) { s.OnUserUpdate(m, id); });
  RegisterPeerHandler(MSG_LEAVING,
                      [](OnlineSession& s, const PeerMessage&, uint32_t id) { s.RemoveOnlineUser(id); });
  RegisterPeerHandler(MSG_CHAT, [](OnlineSession& s, const PeerMessage& m, uint32_t id) {
    s.hooks.ShowChat(m.word, m.text, id);
  });
}

int OnlineSession::SendPeerToUser(const std::vector<uint8_t>& m, const std::string& nickname) {
  OnlineUserEntry* entry = FindOnlineUserByNickname(nickname);
  if (!entry || m.empty() || !open_) return -1;
  int result = link.UserSendData({entry->id}, m.data(), m.size());
  if (result != 0) ReportLobbyError("Failed to send user msg", result, true);
  return result;
}

int OnlineSession::SendPeerToUsers(const std::vector<uint8_t>& m, const std::vector<uint32_t>& ids) {
  if (ids.empty() || m.empty() || !open_) return -1;
  int result = link.UserSendData(ids, m.data(), m.size());
  if (result != 0) ReportLobbyError("Failed to send multiuser msg", result, true);
  return result;
}

int OnlineSession::SendPeerToChannel(const std::vector<uint8_t>& m) {
  if (m.empty() || !open_) return -1;
  int result = link.ChanSendData(m.data(), m.size());
  if (result != 0) ReportLobbyError("Failed to send channel msg", result, true);
  return result;
}

void OnlineSession::ReportLobbyError(const std::string& description, int code, bool fatal) {
  if (code == 0) return;
  std::string name = link.GetErrorString(code);
  if (name.size() < 2) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "Unknown error=%d", code);
    name = buffer;
  }
  std::string text = description + "\n" + name;
  if (!fatal) {
    hooks.ShowModeless(text, 0);
    return;
  }
  hooks.AppMessageBox(text);
  hooks.PostHostNotice(kFatalSendNotice);
}

bool OnlineSession::SendKeepAlive() {
  uint32_t now = hooks.NowMs();
  if (keepAliveSent && now - lastKeepAliveMs < kKeepAliveIntervalMs) return false;
  lastKeepAliveMs = now;
  keepAliveSent = true;
  SendPeerToChannel(BuildEmptyMessage(MSG_KEEP_ALIVE));
  return true;
}

int OnlineSession::SendChat(uint32_t verb, const std::string& text, const std::vector<uint32_t>& ids) {
  auto m = BuildChatMessage(verb, text);
  if (m.empty()) return -1;
  if (verb == 4) return SendPeerToChannel(m);
  return SendPeerToUsers(m, ids);
}
