// RWLiveNet.dll under Wine against prosody on loopback (started by the test
// fixture in the native shell): the DLL logs in through the login helper's
// settings, meets a client of its own build in "RWLIVE", and stores values.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "rwlive_api.h"
#include "rwlive_service.h"
#include "rwlive_settings.h"
#include "xmpp_client.h"

using namespace lobbysvc;

namespace {

// The test's own clients need Winsock as the DLL does.
class Winsock : public ::testing::Environment {
 public:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  }
  void TearDown() override { WSACleanup(); }
};
const auto* const winsock = ::testing::AddGlobalTestEnvironment(new Winsock);

int ServerPort() {
  std::ifstream in(PROSODY_DIR "/port");
  int port = 0;
  in >> port;
  return port;
}

#define NEED_SERVER()                                                                      \
  const int port = ServerPort();                                                          \
  if (port == 0) GTEST_SKIP() << "no prosody running (is it installed? scripts/setup.sh)"

XmppSettings Account(int port, const std::string& name) {
  XmppSettings s;
  s.port = uint16_t(port);
  s.account = name;
  s.password = "pw-" + name;
  s.callTimeoutMs = 5000;
  return s;
}

void Register(int port, const std::string& name) {
  XmppClient c(Account(port, name));
  if (!c.Register()) {
    ASSERT_NE(c.Error().find("exists"), std::string::npos) << c.Error();
  }
}

void WriteSettings(const std::string& server, int port, const std::string& login,
                   const std::string& password, const std::string& fingerprint = "") {
  RegDeleteKeyA(HKEY_CURRENT_USER, rwlive::kSettingsKey);
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, rwlive::kSettingsKey, 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, rwlive::kServerValue, 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(server.c_str()), DWORD(server.size() + 1));
  DWORD p = DWORD(port);
  RegSetValueExA(key, rwlive::kPortValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&p),
                 sizeof p);
  RegSetValueExA(key, rwlive::kLoginValue, 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(login.c_str()), DWORD(login.size() + 1));
  DATA_BLOB in{DWORD(password.size()),
               reinterpret_cast<BYTE*>(const_cast<char*>(password.data()))},
      sealed{0, nullptr};
  ASSERT_TRUE(CryptProtectData(&in, L"RWLive", nullptr, nullptr, nullptr, 0, &sealed));
  RegSetValueExA(key, rwlive::kPasswordValue, 0, REG_BINARY, sealed.pbData, sealed.cbData);
  LocalFree(sealed.pbData);
  if (!fingerprint.empty())
    RegSetValueExA(key, rwlive::kFingerprintValue, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(fingerprint.c_str()), DWORD(fingerprint.size() + 1));
  RegCloseKey(key);
}

struct Dll {
  HMODULE module = LoadLibraryA(RWLIVE_NET_DLL);
  rwlive::Calls c{};
  Dll() {
    if (!module) return;
    void** slots = reinterpret_cast<void**>(&c);
    for (size_t i = 0; i < rwlive::kCallCount; ++i)
      slots[i] = reinterpret_cast<void*>(GetProcAddress(module, rwlive::kCallNames[i]));
  }
  ~Dll() {
    if (module) FreeLibrary(module);
  }
};

struct Heard {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> lines;
  void Add(std::string line) {
    std::lock_guard<std::mutex> lock(mutex);
    lines.push_back(std::move(line));
    changed.notify_all();
  }
  bool WaitFor(const std::string& line) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(5), [&] {
      for (const auto& l : lines)
        if (l == line) return true;
      return false;
    });
  }
};

void RWLIVE_CALL OnJoinLeave(void* context, uint32_t id, uint32_t flag) {
  static_cast<Heard*>(context)->Add((flag ? "join " : "leave ") + std::to_string(id));
}
void RWLIVE_CALL OnData(void* context, uint32_t sender, const void* data, uint32_t size) {
  static_cast<Heard*>(context)->Add("data " + std::to_string(sender) + " " +
                                    std::string(static_cast<const char*>(data), size));
}

}  // namespace

TEST(RWLiveNet, ExportsEveryEntryPoint) {
  Dll dll;
  ASSERT_NE(dll.module, nullptr);
  for (const char* name : rwlive::kEntryPoints)
    EXPECT_NE(GetProcAddress(dll.module, name), nullptr) << name;
  // One of the entry points never called: it fails.
  auto unused = reinterpret_cast<uint16_t(RWLIVE_CALL*)()>(
      reinterpret_cast<void*>(GetProcAddress(dll.module, "RWLiveGetMyHostName")));
  ASSERT_NE(unused, nullptr);
  EXPECT_EQ(unused(), 0x8000);
}

TEST(RWLiveNet, MeetsAnotherClientThroughTheServer) {
  NEED_SERVER();
  Register(port, "wanda");
  Register(port, "xavier");
  WriteSettings("127.0.0.1", port, "wanda", "pw-wanda");
  Dll dll;
  ASSERT_NE(dll.module, nullptr);
  const rwlive::Calls& c = dll.c;
  ASSERT_EQ(c.init(), 0);
  uint8_t def[rwlive::kGameDefSize];
  ASSERT_EQ(c.loadGameDef(def, sizeof def), 0);
  const uint16_t game = uint16_t(def[0] | def[1] << 8);
  ASSERT_NE(game, 0);
  EXPECT_STREQ(reinterpret_cast<char*>(def + rwlive::kLoginNameOffset), "wanda");
  ASSERT_EQ(c.joinGame(game, "wanda"), 0);
  const uint32_t own = c.getAddr(game);
  ASSERT_NE(own, 0u);
  Heard heard;
  ASSERT_EQ(c.enableNotification(game, OnJoinLeave, &heard), 0);
  ASSERT_EQ(c.createChannel(game, 0x7fffffff, "RWLIVE", 1), 0);
  const uint16_t channel = c.openChannel(game, 0, "RWLIVE", &heard, 0, OnData);
  ASSERT_FALSE(rwlive::Failed(channel));

  // A client of this build (Winsock, CNG, expat) in the same room.
  Heard xavierHeard;
  XmppClient xavier(Account(port, "xavier"));
  ASSERT_TRUE(xavier.Login()) << xavier.Error();
  ASSERT_TRUE(xavier.JoinRoom("rwlive@rooms.localhost", "xavier", [&](const RoomEvent& e) {
    if (e.kind == RoomEvent::kData) xavierHeard.Add("data " + std::to_string(e.id) + " " + e.data);
    if (e.kind == RoomEvent::kJoined) xavierHeard.Add("join " + std::to_string(e.id));
  })) << xavier.Error();

  uint32_t xavierId = 0;
  char name[16];
  for (int tries = 0; tries < 250 && !xavierId; ++tries) {
    for (uint32_t id = 1; id < 8; ++id)
      if (!rwlive::Failed(c.getNameByAddr(game, id, name, sizeof name)) &&
          std::string(name) == "xavier")
        xavierId = id;
    if (!xavierId) Sleep(20);
  }
  ASSERT_NE(xavierId, 0u);
  EXPECT_TRUE(heard.WaitFor("join " + std::to_string(xavierId)));
  ASSERT_TRUE(xavier.SendToRoom("to everyone", nullptr));
  EXPECT_TRUE(heard.WaitFor("data " + std::to_string(xavierId) + " to everyone"));
  ASSERT_EQ(c.writeChannel(game, "hi xavier", 9, nullptr), 0);
  uint32_t list[2] = {1, xavierId};
  ASSERT_EQ(c.writeChannel(game, "only you", 8, list), 0);
  std::string wandaAtXavier;
  for (uint32_t id = 1; id < 8; ++id)
    if (xavier.NickOf(id) && *xavier.NickOf(id) == "wanda") wandaAtXavier = std::to_string(id);
  EXPECT_TRUE(xavierHeard.WaitFor("data " + wandaAtXavier + " hi xavier"));
  EXPECT_TRUE(xavierHeard.WaitFor("data " + wandaAtXavier + " only you"));

  // User data.
  char buffer[32];
  uint32_t size = 0;
  EXPECT_EQ(int16_t(c.restoreData(game, "Never_Set", buffer, sizeof buffer, &size)),
            rwlive::kNothingStored);
  ASSERT_EQ(c.saveData(game, "Rating", "2010", 4), 0);
  ASSERT_EQ(c.restoreData(game, "Rating", buffer, sizeof buffer, &size), 0);
  EXPECT_EQ(std::string(buffer, size), "2010");

  xavier.LeaveRoom();
  EXPECT_TRUE(heard.WaitFor("leave " + std::to_string(xavierId)));
  EXPECT_EQ(c.closeChannel(channel), 0);
  EXPECT_EQ(c.disableNotification(game, OnJoinLeave, nullptr), 0);
  EXPECT_EQ(c.leaveGame(game), 0);
  EXPECT_EQ(c.destroy(), 0);
}

TEST(RWLiveNet, RefusesWithoutSettingsAndReachesNoServerElsewhereInTheClear) {
  Dll dll;
  ASSERT_NE(dll.module, nullptr);
  ASSERT_EQ(dll.c.init(), 0);
  RegDeleteKeyA(HKEY_CURRENT_USER, rwlive::kSettingsKey);
  uint8_t def[rwlive::kGameDefSize];
  EXPECT_TRUE(rwlive::Failed(dll.c.loadGameDef(def, sizeof def)));
  // A server elsewhere that cannot be reached: the login fails, and says so.
  WriteSettings("lobby.invalid", 5222, "yves", "pw");
  ASSERT_EQ(dll.c.loadGameDef(def, sizeof def), 0);
  const uint16_t game = uint16_t(def[0] | def[1] << 8);
  EXPECT_EQ(dll.c.joinGame(game, "yves"), kErrLogin);
  char text[80];
  dll.c.getErrorText(kErrLogin, text, sizeof text);
  EXPECT_STREQ(text, "Could not log in to the lobby server");
  dll.c.getErrorText(kErrLogin, text, 8);
  EXPECT_STREQ(text, "Could n");
  EXPECT_EQ(dll.c.leaveGame(game), 0);
  EXPECT_EQ(dll.c.destroy(), 0);
  RegDeleteKeyA(HKEY_CURRENT_USER, rwlive::kSettingsKey);
}

namespace {
std::string TlsFingerprint() {
  std::ifstream in(PROSODY_TLS_DIR "/fingerprint");
  std::string text;
  std::getline(in, text);
  return text;
}
int TlsPort() {
  std::ifstream in(PROSODY_TLS_DIR "/port");
  int port = 0;
  in >> port;
  return port;
}
}  // namespace

TEST(RWLiveNet, StartTlsOverSChannelChecksTheFingerprint) {
  const int port = TlsPort();
  const std::string fingerprint = TlsFingerprint();
  if (port == 0 || fingerprint.empty()) GTEST_SKIP() << "no TLS prosody running (prosody and openssl)";
  XmppSettings s = Account(port, "zora");
  s.tlsFingerprint = fingerprint;
  {
    XmppClient right(s);
    ASSERT_TRUE(right.Register()) << right.Error();
    ASSERT_TRUE(right.Login()) << right.Error();
    EXPECT_TRUE(right.Put("Over_TLS", std::string(3000, 't'))) << right.Error();
    std::string value;
    EXPECT_EQ(right.Get("Over_TLS", &value), XmppClient::Fetch::kValue) << right.Error();
    EXPECT_EQ(value, std::string(3000, 't'));
  }
  std::string wrong = NormalizeFingerprint(fingerprint);
  ASSERT_EQ(wrong.size(), 64u);
  wrong[5] = wrong[5] == 'a' ? 'b' : 'a';
  s.tlsFingerprint = wrong;
  XmppClient impostor(s);
  EXPECT_FALSE(impostor.Login());
  EXPECT_EQ(impostor.Error(), "the server's certificate is not the one expected");
  // Without a fingerprint the made-up certificate fails the system's roots.
  s.tlsFingerprint.clear();
  s.requireTls = true;
  XmppClient byRoots(s);
  EXPECT_FALSE(byRoots.Login());
  EXPECT_EQ(byRoots.Error(), "the server's certificate is not trusted");

  // The DLL with the fingerprint in the helper's settings.
  WriteSettings("127.0.0.1", port, "zora", "pw-zora", fingerprint);
  Dll dll;
  ASSERT_EQ(dll.c.init(), 0);
  uint8_t def[rwlive::kGameDefSize];
  ASSERT_EQ(dll.c.loadGameDef(def, sizeof def), 0);
  const uint16_t game = uint16_t(def[0] | def[1] << 8);
  EXPECT_EQ(dll.c.joinGame(game, "zora"), 0);
  char buffer[4000];
  uint32_t size = 0;
  EXPECT_EQ(dll.c.restoreData(game, "Over_TLS", buffer, sizeof buffer, &size), 0);
  EXPECT_EQ(size, 3000u);
  EXPECT_EQ(dll.c.leaveGame(game), 0);
  EXPECT_EQ(dll.c.destroy(), 0);
  RegDeleteKeyA(HKEY_CURRENT_USER, rwlive::kSettingsKey);
}
