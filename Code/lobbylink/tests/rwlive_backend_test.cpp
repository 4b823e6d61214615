// The lobby-service back end against a scripted table of the 16 calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "lobby_handle.h"
#include "rwlive_backend.h"

using namespace lobbylink;
using namespace rwlive;

namespace {

// What the fake DLL did and what it answers next, per call name.
struct Script {
  std::vector<std::string> log;
  std::map<std::string, std::deque<uint32_t>> answers;
  DataCallback data = nullptr;
  JoinLeaveCallback joinLeave = nullptr;
  void* context = nullptr;
  std::string storedValue = "hello";

  uint32_t Answer(const std::string& call, uint32_t otherwise = 0) {
    log.push_back(call);
    auto& q = answers[call];
    if (q.empty()) return otherwise;
    const uint32_t a = q.front();
    q.pop_front();
    return a;
  }
};
Script* script;

uint16_t RWLIVE_CALL FInit() { return script->Answer("init"); }
uint16_t RWLIVE_CALL FDestroy() { return script->Answer("destroy"); }
uint16_t RWLIVE_CALL FLoadGameDef(void* def, uint32_t size) {
  auto* d = static_cast<uint8_t*>(def);
  EXPECT_EQ(size, kGameDefSize);
  d[0] = 0x34;
  d[1] = 0x12;
  std::strcpy(reinterpret_cast<char*>(d + kLoginNameOffset), "alice");
  return script->Answer("load");
}
uint16_t RWLIVE_CALL FJoinGame(uint16_t game, const char* name) {
  return script->Answer("join " + std::to_string(game) + " " + name);
}
uint32_t RWLIVE_CALL FGetAddr(uint16_t) { return script->Answer("addr", 7); }
uint16_t RWLIVE_CALL FEnable(uint16_t, JoinLeaveCallback cb, void* ctx) {
  script->joinLeave = cb;
  script->context = ctx;
  return script->Answer("enable");
}
uint16_t RWLIVE_CALL FDisable(uint16_t, JoinLeaveCallback, void* ctx) {
  return script->Answer(ctx ? "disable with context" : "disable");
}
uint16_t RWLIVE_CALL FCreate(uint16_t, uint32_t max, const char* channel, uint32_t flags) {
  return script->Answer("create " + std::string(channel) + " " + std::to_string(max) + " " +
                        std::to_string(flags));
}
uint16_t RWLIVE_CALL FOpen(uint16_t, uint32_t, const char* channel, void* ctx, uint32_t,
                           DataCallback cb) {
  script->data = cb;
  EXPECT_EQ(ctx, script->context);
  return script->Answer("open " + std::string(channel), 5);
}
uint16_t RWLIVE_CALL FClose(uint16_t channel) {
  return script->Answer("close " + std::to_string(channel));
}
uint16_t RWLIVE_CALL FLeave(uint16_t) { return script->Answer("leave"); }
uint16_t RWLIVE_CALL FRestore(uint16_t, const char* key, void* buffer, uint32_t capacity,
                              uint32_t* size) {
  const uint32_t r = script->Answer(std::string("restore ") + key);
  if (!(r & kFailureBit) && script->storedValue.size() <= capacity) {
    std::memcpy(buffer, script->storedValue.data(), script->storedValue.size());
    *size = static_cast<uint32_t>(script->storedValue.size());
  }
  return static_cast<uint16_t>(r);
}
uint16_t RWLIVE_CALL FSave(uint16_t, const char* key, const void*, uint32_t size) {
  return script->Answer(std::string("save ") + key + " " + std::to_string(size));
}
uint16_t RWLIVE_CALL FWrite(uint16_t, const void*, uint32_t size, const uint32_t* list) {
  std::string call = "write " + std::to_string(size);
  if (list)
    for (uint32_t i = 0; i < list[0]; ++i) call += " " + std::to_string(list[1 + i]);
  return script->Answer(call);
}
uint16_t RWLIVE_CALL FName(uint16_t, uint32_t id, char* name, uint32_t) {
  if (id == 9) std::strcpy(name, "bob");
  return script->Answer("name");
}
int RWLIVE_CALL FError(int code, char* buffer, uint32_t size) {
  std::snprintf(buffer, size, "error %d", code);
  script->log.push_back("error");
  return code;
}

// Binds every name to a fake; the names in `missing` are absent.
struct FakeLoader : RWLiveLoader {
  std::string root;
  std::vector<std::string> missing;
  std::vector<std::string> log;
  bool loadFails = false;
  std::map<std::string, void*> table = {
      {"RWLiveInit", (void*)&FInit},
      {"RWLiveDestroy", (void*)&FDestroy},
      {"RWLiveLoadGameDef", (void*)&FLoadGameDef},
      {"RWLiveJoinGame", (void*)&FJoinGame},
      {"RWLiveGetRWLiveAddr", (void*)&FGetAddr},
      {"RWLiveEnableJoinLeaveNotification", (void*)&FEnable},
      {"RWLiveDisableJoinLeaveNotification", (void*)&FDisable},
      {"RWLiveCreateGULP_MC", (void*)&FCreate},
      {"RWLiveOpenGULP", (void*)&FOpen},
      {"RWLiveCloseGULP", (void*)&FClose},
      {"RWLiveLeaveGame", (void*)&FLeave},
      {"RWLiveRestoreData", (void*)&FRestore},
      {"RWLiveSaveData", (void*)&FSave},
      {"RWLiveWriteGULP", (void*)&FWrite},
      {"RWLiveGetNameByAddr", (void*)&FName},
      {"RWLiveGetErrorText", (void*)&FError},
  };
  int dummy = 0;

  std::string RootDirectory() override { return root; }
  void* Load(const std::string& path) override {
    log.push_back("load " + path);
    return loadFails ? nullptr : &dummy;
  }
  void* Bind(void*, const char* name) override {
    for (const auto& m : missing)
      if (m == name) return nullptr;
    auto it = table.find(name);
    return it != table.end() ? it->second : &dummy;
  }
  void Free(void*) override { log.push_back("free"); }
};

struct Sink : LobbyRecordSink {
  std::vector<std::vector<uint8_t>>* posted;
  LobbyTarget* target;
  Sink(std::vector<std::vector<uint8_t>>* p, LobbyTarget* t) : posted(p), target(t) {}
  std::vector<std::vector<uint8_t>> blocks;
  uint8_t* Alloc(size_t size) override { return static_cast<uint8_t*>(calloc(size, 1)); }
  bool Post(uint8_t* r) override {
    posted->emplace_back(r, r + 16 + GetU32(r + 12));
    free(r);
    return true;
  }
  void Free(uint8_t* r) override { free(r); }
  void SetTarget(LobbyTarget t) override { *target = t; }
};

struct Factory : LobbyBackEndFactory {
  RWLiveLibrary& library;
  std::vector<std::vector<uint8_t>> posted;
  LobbyTarget target{};
  explicit Factory(RWLiveLibrary& l) : library(l) {}
  LobbyBackEnd* Start(uint32_t, LobbyTarget t, const LobbyHandle&) override {
    return StartRWLiveBackEnd(library, std::make_unique<Sink>(&posted, &target), t);
  }
};

class RWLiveBackEndTest : public ::testing::Test {
 protected:
  void SetUp() override { script = &s; }
  void TearDown() override { script = nullptr; }
  LobbyHandle* Init(LobbyTarget t = {100, 0x810A}) {
    const uint8_t id[16] = {};
    return LobbyInit(factory, t, kKindLobbyService, id, "guest");
  }
  Script s;
  FakeLoader loader;
  RWLiveLibrary library{loader};
  Factory factory{library};
};

}  // namespace

TEST_F(RWLiveBackEndTest, LocatesTheDllByRegistryOrBesideTheProgram) {
  LobbyHandle* a = Init();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(library.Path(), "RWLiveNet.dll");
  LobbyDisconnect(a);
  delete a;
  loader.root = "C:\\Games\\RWLive";
  LobbyHandle* b = Init();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(library.Path(), "C:\\Games\\RWLive\\SYSTEM\\RWLiveNet.dll");
  LobbyDisconnect(b);
  delete b;
}

TEST_F(RWLiveBackEndTest, AnyMissingEntryPointFailsInit) {
  for (const char* name : {"RWLiveInit", "strmcpy", "RWLiveJoinGameByAddr"}) {
    loader.missing = {name};
    loader.log.clear();
    EXPECT_EQ(Init(), nullptr) << name;
    EXPECT_EQ(loader.log, (std::vector<std::string>{"load RWLiveNet.dll", "free"}));
    EXPECT_EQ(library.References(), 0);
  }
  loader.missing.clear();
  loader.loadFails = true;
  EXPECT_EQ(Init(), nullptr);
  EXPECT_TRUE(s.log.empty());  // init never ran
}

TEST_F(RWLiveBackEndTest, NullWindowOrZeroMessageFails) {
  EXPECT_EQ(Init({0, 0x810A}), nullptr);
  EXPECT_EQ(Init({100, 0}), nullptr);
  EXPECT_EQ(library.References(), 0);
}

TEST_F(RWLiveBackEndTest, TwoHandlesLoadAndInitOnce) {
  LobbyHandle* a = Init();
  LobbyHandle* b = Init();
  ASSERT_TRUE(a && b);
  EXPECT_EQ(library.References(), 2);
  LobbyDisconnect(a);
  EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "destroy"), 0);
  LobbyDisconnect(b);
  EXPECT_EQ(library.References(), 0);
  EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "init"), 1);
  EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "destroy"), 1);
  EXPECT_EQ(std::count(loader.log.begin(), loader.log.end(), "free"), 1);
  delete a;
  delete b;
}

TEST_F(RWLiveBackEndTest, LoginRunsInOrderThenPostsTheLoginName) {
  LobbyHandle* h = Init();
  ASSERT_NE(h, nullptr);
  s.log.clear();
  EXPECT_EQ(LobbyLogin(h, {200, 0x810B}, nullptr, 0, nullptr, nullptr), -1);
  EXPECT_TRUE(s.log.empty());
  EXPECT_EQ(LobbyLogin(h, {200, 0x810B}, nullptr, 0, "RWLIVE", nullptr), 0);
  EXPECT_EQ(s.log, (std::vector<std::string>{"load", "join 4660 alice", "addr", "enable",
                                             "create RWLIVE 2147483647 1", "open RWLIVE"}));
  EXPECT_STREQ(h->name, "alice");
  EXPECT_EQ(factory.target.window, 200u);
  ASSERT_EQ(factory.posted.size(), 1u);
  const auto& r = factory.posted[0];
  EXPECT_EQ(GetU32(&r[0]), 3u);
  EXPECT_EQ(GetU32(&r[4]), 7u);
  EXPECT_EQ(GetU32(&r[12]), 16u);
  EXPECT_STREQ(reinterpret_cast<const char*>(&r[16]), "alice");

  // Callbacks: data is type 0 from the sender; a leave is type 1, a join nothing.
  s.data(s.context, 9, "xyz", 3);
  s.joinLeave(s.context, 9, 1);
  s.joinLeave(s.context, 9, 0);
  ASSERT_EQ(factory.posted.size(), 3u);
  EXPECT_EQ(GetU32(&factory.posted[1][0]), 0u);
  EXPECT_EQ(GetU32(&factory.posted[1][8]), 9u);
  EXPECT_EQ(std::string(factory.posted[1].begin() + 16, factory.posted[1].end()), "xyz");
  EXPECT_EQ(GetU32(&factory.posted[2][0]), 1u);
  EXPECT_EQ(GetU32(&factory.posted[2][16]), 9u);

  s.log.clear();
  LobbyDisconnect(h);
  EXPECT_EQ(s.log, (std::vector<std::string>{"close 5", "disable", "leave", "destroy"}));
  delete h;
}

TEST_F(RWLiveBackEndTest, EachFailingLoginStepStopsTheSequence) {
  struct Case {
    const char* call;
    uint32_t answer;
    int result;
    size_t calls;
  };
  const Case cases[] = {{"load", 0x8001, -32767, 1},
                        {"join 4660 alice", 0x8002, -32766, 2},
                        {"addr", 0, -1, 3},
                        {"enable", 3, 3, 4},
                        {"create RWLIVE 2147483647 1", 0x8004, -32764, 5},
                        {"open RWLIVE", 0x8005, -32763, 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    LobbyHandle* h = Init();
    ASSERT_NE(h, nullptr);
    s.log.clear();
    s.answers[c.call] = {c.answer};
    factory.posted.clear();
    EXPECT_EQ(LobbyLogin(h, {200, 0x810B}, nullptr, 0, "RWLIVE", nullptr), c.result);
    EXPECT_EQ(s.log.size(), c.calls);
    EXPECT_TRUE(factory.posted.empty());
    LobbyDisconnect(h);
    delete h;
  }
}

TEST_F(RWLiveBackEndTest, UserDataAndSendsRetryThreeTimes) {
  LobbyHandle* h = Init();
  ASSERT_NE(h, nullptr);
  ASSERT_EQ(LobbyLogin(h, {200, 0x810B}, nullptr, 0, "RWLIVE", nullptr), 0);
  s.log.clear();

  char buffer[32] = {};
  uint32_t size = sizeof buffer;
  s.answers["restore rating"] = {0x8001, 0};
  EXPECT_EQ(LobbyGetUserData(h, "rating", buffer, &size), 0);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(std::string(buffer, 5), "hello");

  // Nothing stored: the code comes back after three tries; size untouched.
  size = sizeof buffer;
  s.log.clear();
  s.answers["restore none"] = {0xFF1D, 0xFF1D, 0xFF1D};
  EXPECT_EQ(LobbyGetUserData(h, "none", buffer, &size), -227);
  EXPECT_EQ(s.log.size(), 3u);
  EXPECT_EQ(size, sizeof buffer);

  s.log.clear();
  s.answers["save k 4"] = {0x8009, 0x8009, 0x8009, 0};
  EXPECT_EQ(LobbyPutUserData(h, "k", "abcd", 4), -32759);
  EXPECT_EQ(s.log.size(), 3u);
  EXPECT_EQ(LobbyPutUserData(h, nullptr, "abcd", 4), -1);

  s.log.clear();
  const uint32_t list[3] = {2, 9, 11};
  s.answers["write 3 9 11"] = {0x8001, 0};
  EXPECT_EQ(LobbyUserSend(h, reinterpret_cast<const RecipientList*>(list), "abc", 3), 0);
  EXPECT_EQ(LobbyChannelSend(h, "abc", 3), 0);
  EXPECT_EQ(LobbyChannelSend(h, "abc", 0), -1);
  EXPECT_EQ(LobbyChannelSend(h, nullptr, 3), -1);
  EXPECT_EQ(s.log, (std::vector<std::string>{"write 3 9 11", "write 3 9 11", "write 3"}));

  char name[16];
  EXPECT_EQ(LobbyGetNick(h, 9, name), 0);
  EXPECT_STREQ(name, "bob");
  EXPECT_EQ(LobbyGetNick(h, 4, name), 0);
  EXPECT_STREQ(name, "unknown");
  char text[32];
  EXPECT_EQ(LobbyErrorString(h, -227, text, sizeof text), -227);
  EXPECT_STREQ(text, "error -227");
  LobbyDisconnect(h);
  delete h;
}
