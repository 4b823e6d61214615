// A lobby in memory: each FakeLink is one copy's Lobbylink; sends become
// records queued for the receivers, delivered by Pump(). Stored user data
// lives per login name.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "session.h"

class FakeLobby;

struct FakeHooks : OnlineHooks {
  std::vector<std::string> modeless, boxes, questions;
  std::vector<uint32_t> notices, ended;
  std::vector<std::pair<uint32_t, std::string>> windowNotices;
  std::vector<std::string> chat;
  bool answer = true;
  int left = 0;
  uint32_t now = 1000;
  std::function<void()> duringQuestion;
  std::function<void(uint32_t)> onEnd;  // the live-game layer, when a test has one
  std::function<void(uint32_t, const OnlineUserEntry*)> onUserNotice;  // the windows, when a test has them

  void ShowModeless(const std::string& t, int) override { modeless.push_back(t); }
  void AppMessageBox(const std::string& t) override { boxes.push_back(t); }
  bool AskYesNo(const std::string& t) override {
    questions.push_back(t);
    if (duringQuestion) {
      auto f = duringQuestion;
      duringQuestion = nullptr;
      f();
    }
    return answer;
  }
  void PostHostNotice(uint32_t w) override { notices.push_back(w); }
  void NotifyUserWindows(uint32_t w, const OnlineUserEntry* e) override {
    windowNotices.push_back({w, e ? e->user.nickname : ""});
    if (onUserNotice) onUserNotice(w, e);
  }
  void ShowChat(uint32_t verb, const std::string& text, uint32_t) override {
    chat.push_back(std::string(GetChatVerbText(verb)) + " " + text);
  }
  void SessionLeft() override { ++left; }
  void EndOnlineGame(uint32_t result) override {
    ended.push_back(result);
    if (onEnd) onEnd(result);
  }
  uint32_t NowMs() override { return now; }
  std::string NowText() override { return "12/11/26 02:40"; }
};

class FakeLink : public LobbyLink {
 public:
  FakeLink(FakeLobby& lobby, uint32_t id) : lobby_(lobby), id(id) {}
  int Init(uint32_t, const std::string& name) override;
  int Disconnect() override { return 0; }
  int UserSendData(const std::vector<uint32_t>& ids, const uint8_t* d, size_t n) override;
  int ChanSendData(const uint8_t* d, size_t n) override;
  void ReleaseData(LobbyEvent* r) override {
    ++released;
    delete r;
  }
  std::string GetErrorString(int code) override { return code == -5 ? "DPERR_CONNECTIONLOST" : ""; }
  bool GetNickFromID(uint32_t id, std::string* nick) override;
  int GetUserData(const std::string& key, uint8_t* buffer, size_t capacity, size_t* size) override;
  int PutUserData(const std::string& key, const uint8_t* d, size_t n) override;

  FakeLobby& lobby_;
  uint32_t id;
  std::string name;
  int released = 0;
  int sendResult = 0;
  int putResult = 0;                       // refuses every write when non-zero
  std::string refuseKey;                   // refuses writes of this key only
  std::vector<std::vector<uint8_t>> sent;  // everything sent, in order
};

class FakeLobby {
 public:
  struct Copy {
    std::unique_ptr<FakeHooks> hooks;
    std::unique_ptr<FakeLink> link;
    std::unique_ptr<OnlineSession> session;
  };
  std::vector<std::unique_ptr<Copy>> copies;
  std::map<std::string, std::map<std::string, std::vector<uint8_t>>> store;  // name -> key -> value
  std::vector<std::pair<uint32_t, LobbyEvent*>> pending;                     // receiver id, record
  int puts = 0;
  std::function<void(uint32_t)> onDeliver;  // before a record goes to copy `id`

  ~FakeLobby() {
    for (auto& c : copies) c->session->Close();
    for (auto& p : pending) delete p.second;
  }

  OnlineSession& Add(const std::string& name, uint32_t kind = 1) {
    auto c = std::make_unique<Copy>();
    c->hooks = std::make_unique<FakeHooks>();
    c->link = std::make_unique<FakeLink>(*this, uint32_t(copies.size() + 1));
    c->session = std::make_unique<OnlineSession>(*c->link, *c->hooks);
    c->session->Start(kind, name);
    copies.push_back(std::move(c));
    return *copies.back()->session;
  }
  Copy& At(uint32_t id) { return *copies[id - 1]; }
  void Login(uint32_t id) {
    auto* r = new LobbyEvent;
    r->kind = LOBBY_LOGGED_IN;
    r->senderId = id;
    At(id).session->QueueLobbyEvent(r);
  }
  void Deliver(uint32_t to, uint32_t from, const uint8_t* d, size_t n) {
    auto* r = new LobbyEvent;
    r->kind = LOBBY_PEER_DATA;
    r->senderId = from;
    r->data.assign(d, d + n);
    pending.push_back({to, r});
  }
  void Pump() {
    while (!pending.empty()) {
      auto p = pending.front();
      pending.erase(pending.begin());
      Copy& c = At(p.first);
      if (onDeliver) onDeliver(p.first);
      if (c.session->QueueLobbyEvent(p.second) != 0) delete p.second;
    }
  }
};

inline int FakeLink::Init(uint32_t, const std::string& n) {
  name = n;
  return 0;
}
inline int FakeLink::UserSendData(const std::vector<uint32_t>& ids, const uint8_t* d, size_t n) {
  sent.emplace_back(d, d + n);
  if (sendResult) return sendResult;
  for (uint32_t to : ids)
    if (to >= 1 && to <= lobby_.copies.size()) lobby_.Deliver(to, id, d, n);
  return 0;
}
inline int FakeLink::ChanSendData(const uint8_t* d, size_t n) {
  sent.emplace_back(d, d + n);
  if (sendResult) return sendResult;
  for (uint32_t to = 1; to <= lobby_.copies.size(); ++to)
    if (to != id && lobby_.At(to).session->IsOpen()) lobby_.Deliver(to, id, d, n);
  return 0;
}
inline bool FakeLink::GetNickFromID(uint32_t who, std::string* nick) {
  if (who < 1 || who > lobby_.copies.size()) return false;
  *nick = lobby_.At(who).link->name;
  return true;
}
inline int FakeLink::GetUserData(const std::string& key, uint8_t* buffer, size_t capacity, size_t* size) {
  auto& mine = lobby_.store[name];
  auto it = mine.find(key);
  if (it == mine.end()) return kLobbyNoValue;
  if (it->second.size() > capacity) return -2;
  std::copy(it->second.begin(), it->second.end(), buffer);
  *size = it->second.size();
  return 0;
}
inline int FakeLink::PutUserData(const std::string& key, const uint8_t* d, size_t n) {
  if (putResult) return putResult;
  if (!refuseKey.empty() && key == refuseKey) return -3;
  ++lobby_.puts;
  lobby_.store[name][key].assign(d, d + n);
  return 0;
}
