// Lobbylink.dll over the real RWLiveNet.dll under Wine, against prosody on
// loopback (the lobby service's CTest fixture starts it): a host logs in to
// "RWLIVE" and meets a second player, a client of the service's own XMPP
// core, through records posted to its window.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "lobby_records.h"
#include "lobbylink.h"
#include "rwlive_api.h"
#include "rwlive_settings.h"
#include "xmpp_client.h"

using namespace lobbysvc;

namespace {

constexpr UINT kMessage = WM_APP + 0x41;
const GUID kApp = {0x4177, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};

int ServerPort() {
  std::ifstream in(PROSODY_DIR "/port");
  int port = 0;
  in >> port;
  return port;
}

XmppSettings Account(int port, const std::string& name, const std::string& password) {
  XmppSettings s;
  s.port = uint16_t(port);
  s.account = name;
  s.password = password;
  return s;
}

void SetString(HKEY key, const char* name, const std::string& value) {
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 DWORD(value.size() + 1));
}

// What RWLiveLogin.exe leaves behind, and where the service is installed.
void InstallAndLogIn(int port, const std::string& login, const std::string& password) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, rwlive::kInstallKey, 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  SetString(key, rwlive::kRootDirectoryValue, RWLIVE_ROOT);
  RegCloseKey(key);
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, rwlive::kSettingsKey, 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  SetString(key, rwlive::kServerValue, "127.0.0.1");
  SetString(key, rwlive::kLoginValue, login);
  const DWORD p = DWORD(port);
  RegSetValueExA(key, rwlive::kPortValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&p), sizeof p);
  DATA_BLOB in{DWORD(password.size()), reinterpret_cast<BYTE*>(const_cast<char*>(password.data()))},
      sealed{0, nullptr};
  ASSERT_TRUE(CryptProtectData(&in, L"RWLive", nullptr, nullptr, nullptr, 0, &sealed));
  RegSetValueExA(key, rwlive::kPasswordValue, 0, REG_BINARY, sealed.pbData, sealed.cbData);
  LocalFree(sealed.pbData);
  RegCloseKey(key);
}

struct Record {
  uint32_t type, own, sender;
  std::string data;
};

class LobbylinkRWLiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LobbylinkRWLiveHost";
    RegisterClassA(&wc);
    window_ = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            wc.hInstance, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window_);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, rwlive::kInstallKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, rwlive::kSettingsKey);
    WSACleanup();
  }
  // Records posted to the host window until `until` holds of them (or 5 s).
  bool Collect(void* handle, const std::function<bool(const std::vector<Record>&)>& until) {
    const DWORD end = GetTickCount() + 5000;
    do {
      MSG msg;
      while (PeekMessageA(&msg, window_, kMessage, kMessage, PM_REMOVE)) {
        const auto* r = reinterpret_cast<const uint8_t*>(msg.lParam);
        const uint32_t size = lobbylink::GetU32(r + 12);
        records_.push_back({lobbylink::GetU32(r), lobbylink::GetU32(r + 4), lobbylink::GetU32(r + 8),
                            std::string(reinterpret_cast<const char*>(r + 16), size)});
        LBL_ReleaseData(handle, reinterpret_cast<void*>(msg.lParam));
      }
      if (until(records_)) return true;
      Sleep(10);
    } while (GetTickCount() < end);
    return false;
  }
  HWND window_ = nullptr;
  std::vector<Record> records_;
};

}  // namespace

TEST_F(LobbylinkRWLiveTest, HostMeetsAPlayerThroughTheServer) {
  const int port = ServerPort();
  if (port == 0) GTEST_SKIP() << "no prosody running (is it installed? scripts/setup.sh)";
  for (const char* name : {"alice", "bob"}) {
    XmppClient c(Account(port, name, std::string("pw-") + name));
    c.Register();
  }
  InstallAndLogIn(port, "alice", "pw-alice");

  void* h = LBL_Init(window_, kMessage, 1, &kApp, "ignored");
  ASSERT_NE(h, nullptr);
  ASSERT_EQ(LBL_Login(h, window_, kMessage, nullptr, 0, "RWLIVE", nullptr), 0);
  ASSERT_TRUE(Collect(h, [](const std::vector<Record>& rs) {
    for (const auto& r : rs)
      if (r.type == 3) return true;
    return false;
  }));
  EXPECT_EQ(records_[0].data.substr(0, 6), std::string("alice\0", 6));

  XmppClient bob(Account(port, "bob", "pw-bob"));
  ASSERT_TRUE(bob.Login()) << bob.Error();
  std::vector<std::string> bobHeard;
  std::mutex bobMutex;
  ASSERT_TRUE(bob.JoinRoom("rwlive@rooms.localhost", "bob", [&](const RoomEvent& e) {
    std::lock_guard<std::mutex> lock(bobMutex);
    if (e.kind == RoomEvent::kData) bobHeard.push_back(e.data);
  }));

  // A payload that claims to come from someone else still names bob.
  ASSERT_TRUE(bob.SendToRoom("from: alice", nullptr));
  uint32_t bobId = 0;
  ASSERT_TRUE(Collect(h, [&](const std::vector<Record>& rs) {
    for (const auto& r : rs)
      if (r.type == 0 && r.data == "from: alice") bobId = r.sender;
    return bobId != 0;
  }));
  char name[16] = {};
  EXPECT_EQ(LBL_GetNickFromID(h, bobId, name), 0);
  EXPECT_STREQ(name, "bob");

  // Channel and one-id sends from the host; 16 KiB goes, a byte more does not.
  const DWORD toBob[] = {1, bobId};
  EXPECT_EQ(LBL_ChanSendData(h, "to all", 6), 0);
  EXPECT_EQ(LBL_UserSendData(h, toBob, "to bob", 6), 0);
  const std::string big(16 * 1024, 'b');
  EXPECT_EQ(LBL_ChanSendData(h, big.data(), DWORD(big.size())), 0);
  EXPECT_NE(LBL_ChanSendData(h, (big + "b").data(), DWORD(big.size() + 1)), 0);
  const DWORD end = GetTickCount() + 5000;
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(bobMutex);
      if (bobHeard.size() >= 3 || GetTickCount() > end) break;
    }
    Sleep(10);
  }
  {
    std::lock_guard<std::mutex> lock(bobMutex);
    EXPECT_EQ(bobHeard, (std::vector<std::string>{"to all", "to bob", big}));
  }

  // User data: unknown keys give -227, values come back.
  char buffer[16];
  DWORD size = sizeof buffer;
  EXPECT_EQ(LBL_GetUserData(h, "Unknown", buffer, &size), -227);
  EXPECT_EQ(LBL_PutUserData(h, "Rating", "1500", 4), 0);
  size = sizeof buffer;
  EXPECT_EQ(LBL_GetUserData(h, "Rating", buffer, &size), 0);
  EXPECT_EQ(std::string(buffer, size), "1500");

  // Bob leaving is a type 1 record with his id.
  bob.LeaveRoom();
  EXPECT_TRUE(Collect(h, [&](const std::vector<Record>& rs) {
    for (const auto& r : rs)
      if (r.type == 1 && r.data.size() >= 4 &&
          lobbylink::GetU32(reinterpret_cast<const uint8_t*>(r.data.data())) == bobId)
        return true;
    return false;
  }));
  bob.Close();
  EXPECT_EQ(LBL_Disconnect(h), 0);
  EXPECT_EQ(GetModuleHandleA("RWLiveNet.dll"), nullptr);
}
