// Lobbylink.dll under Windows: records posted to a host window, and the
// lobby-service back end over a fake RWLive DLL found through the registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lobby_records.h"
#include "lobbylink.h"

namespace {

constexpr UINT kMessage = WM_APP + 0x10A;
const GUID kApp = {0x1234, 0x5678, 0x9abc, {1, 2, 3, 4, 5, 6, 7, 8}};

struct Record {
  uint32_t type, own, sender;
  std::string data;
};

class LobbylinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LobbylinkTestHost";
    RegisterClassA(&wc);
    window_ = CreateWindowA("LobbylinkTestHost", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            wc.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window_);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Rookwell\\RWLive");
  }
  static void SetRoot(const std::string& root) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Rookwell\\RWLive", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Root Directory", 0, REG_SZ, reinterpret_cast<const BYTE*>(root.c_str()),
                   static_cast<DWORD>(root.size() + 1));
    RegCloseKey(key);
  }
  // Every record waiting for the host window, each released after reading.
  std::vector<Record> Drain(void* handle) {
    std::vector<Record> out;
    MSG msg;
    while (PeekMessageA(&msg, window_, kMessage, kMessage, PM_REMOVE)) {
      const auto* r = reinterpret_cast<const uint8_t*>(msg.lParam);
      const uint32_t size = lobbylink::GetU32(r + 12);
      out.push_back({lobbylink::GetU32(r), lobbylink::GetU32(r + 4), lobbylink::GetU32(r + 8),
                     std::string(reinterpret_cast<const char*>(r + 16), size)});
      EXPECT_EQ(LBL_ReleaseData(handle, msg.lParam ? reinterpret_cast<void*>(msg.lParam) : nullptr), 0);
    }
    return out;
  }
  template <typename Fn>
  static Fn Fake(const char* name) {
    HMODULE fake = GetModuleHandleA("RWLiveNet.dll");
    return fake ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(fake, name))) : nullptr;
  }
  static std::string Log() {
    auto log = Fake<const char* (*)()>("FakeLog");
    return log ? log() : "(not loaded)";
  }
  static void ClearLog() { Fake<void (*)()>("FakeClearLog")(); }

  HWND window_ = nullptr;
};

}  // namespace

TEST_F(LobbylinkTest, InitFailsWithoutAUsableService) {
  // Nothing registered and no DLL beside the program.
  EXPECT_EQ(LBL_Init(window_, kMessage, 1, &kApp, "me"), nullptr);
  // A DLL lacking one of the entry points is not used.
  SetRoot(FAKE_SERVICE_ROOT "/short");
  EXPECT_EQ(LBL_Init(window_, kMessage, 1, &kApp, "me"), nullptr);
  EXPECT_EQ(GetModuleHandleA("RWLiveNet.dll"), nullptr);
  SetRoot(FAKE_SERVICE_ROOT "/full");
  EXPECT_EQ(LBL_Init(nullptr, kMessage, 1, &kApp, "me"), nullptr);
  EXPECT_EQ(LBL_Init(window_, 0, 1, &kApp, "me"), nullptr);
  EXPECT_EQ(LBL_Init(window_, kMessage, 1, nullptr, "me"), nullptr);
  EXPECT_EQ(LBL_Init(window_, kMessage, 7, &kApp, "me"), nullptr);
  EXPECT_EQ(GetModuleHandleA("RWLiveNet.dll"), nullptr);
}

TEST_F(LobbylinkTest, LoginPostsRecordsToTheHostWindow) {
  SetRoot(FAKE_SERVICE_ROOT "/full");
  void* h = LBL_Init(window_, kMessage, 1, &kApp, "guest");
  ASSERT_NE(h, nullptr);
  ASSERT_EQ(LBL_Login(h, window_, kMessage, nullptr, 0, "RWLIVE", nullptr), 0);
  EXPECT_EQ(Log(), "init;load;join 33 alice;addr;enable;create RWLIVE;open RWLIVE;");
  auto records = Drain(h);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].type, 3u);
  EXPECT_EQ(records[0].own, 7u);
  EXPECT_EQ(records[0].data, std::string("alice") + std::string(11, '\0'));

  Fake<void (*)(uint32_t, uint32_t)>("FakeFireJoinLeave")(9, 1);
  Fake<void (*)(uint32_t, uint32_t)>("FakeFireJoinLeave")(9, 0);
  Fake<void (*)(uint32_t, const void*, uint32_t)>("FakeFireData")(9, "hey", 3);
  records = Drain(h);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].type, 1u);
  EXPECT_EQ(lobbylink::GetU32(reinterpret_cast<const uint8_t*>(records[0].data.data())), 9u);
  EXPECT_EQ(records[1].type, 0u);
  EXPECT_EQ(records[1].sender, 9u);
  EXPECT_EQ(records[1].data, "hey");
  EXPECT_EQ(LBL_ReleaseData(h, nullptr), -1);

  // A failing call is tried three times; "nothing stored" comes back as is.
  ClearLog();
  Fake<void (*)(const char*, uint16_t, int)>("FakeAnswer")("restore rating", 0xFF1D, 3);
  char buffer[8] = "keep";
  DWORD size = sizeof buffer;
  EXPECT_EQ(LBL_GetUserData(h, "rating", buffer, &size), -227);
  EXPECT_EQ(Log(), "restore rating;restore rating;restore rating;");
  EXPECT_EQ(size, sizeof buffer);
  const DWORD list[] = {2, 9, 10};
  EXPECT_EQ(LBL_UserSendData(h, list, "x", 1), 0);
  EXPECT_EQ(LBL_ChanSendData(h, "x", 1), 0);
  char text[32] = {};
  EXPECT_EQ(LBL_GetErrorString(h, -227, text, sizeof text), -227);
  EXPECT_STREQ(text, "service error -227");
  EXPECT_EQ(LBL_GetErrorSeverity(h, -227), 1);

  ClearLog();
  EXPECT_EQ(LBL_Disconnect(h), 0);
  EXPECT_EQ(LBL_Disconnect(h), -1);
  EXPECT_EQ(GetModuleHandleA("RWLiveNet.dll"), nullptr);  // freed with the last handle
}

TEST_F(LobbylinkTest, TwoHandlesShareOneLoadedService) {
  SetRoot(FAKE_SERVICE_ROOT "/full");
  void* a = LBL_Init(window_, kMessage, 1, &kApp, "one");
  void* b = LBL_Init(window_, kMessage, 1, &kApp, "two");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(Log(), "init;");
  LBL_Disconnect(a);
  EXPECT_EQ(Log(), "init;close 0;disable;leave;");
  LBL_Disconnect(b);
  EXPECT_EQ(GetModuleHandleA("RWLiveNet.dll"), nullptr);
}
