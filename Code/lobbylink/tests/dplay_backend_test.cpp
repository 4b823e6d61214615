// The DirectPlay back end over a scripted fake DirectPlay and lobby: every
// call it makes is checked; and over the system's DirectPlay under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "dplay_backend_win32.h"
#include "dplay_messages.h"
#include "fakedplay/fake_directplay_base.h"
#include "lobby_records.h"
#include "lobbylink.h"

using namespace lobbylink;

namespace {

const GUID kApp = {0x11112222, 0x3333, 0x4444, {5, 5, 6, 6, 7, 7, 8, 8}};
const GUID kSession = {0xabcdef01, 0x2345, 0x6789, {1, 2, 3, 4, 5, 6, 7, 8}};

struct Log {
  std::mutex mutex;
  std::string text;
  void Add(const std::string& s) {
    std::lock_guard<std::mutex> lock(mutex);
    text += s + ";";
  }
  std::string Take() {
    std::lock_guard<std::mutex> lock(mutex);
    std::string t;
    t.swap(text);
    return t;
  }
};

class FakePlay : public FakeDirectPlayBase {
 public:
  explicit FakePlay(Log& log) : log_(log) {}
  HANDLE event = nullptr;
  DWORD openFlags = 0;
  DPSESSIONDESC2 opened{};
  std::string sessionName;
  std::mutex queueMutex;
  std::deque<std::vector<unsigned char>> queue;

  STDMETHOD_(ULONG, Release)() override {
    log_.Add("Release");
    return --references;
  }
  STDMETHOD(EnumConnections)(LPCGUID app, LPDPENUMCONNECTIONSCALLBACK callback, LPVOID context,
                             DWORD flags) override {
    EXPECT_TRUE(IsEqualGUID(*app, kApp));
    log_.Add("EnumConnections " + std::to_string(flags));
    DPNAME tcp{sizeof(DPNAME), 0, {}, {}};
    tcp.lpszShortNameA = const_cast<char*>("TCP/IP");
    const char data[] = "tcp-connection";
    callback(&DPSPGUID_TCPIP, const_cast<char*>(data), sizeof data, &tcp, 0, context);
    DPNAME ipx{sizeof(DPNAME), 0, {}, {}};
    ipx.lpszShortNameA = const_cast<char*>("IPX");
    callback(&DPSPGUID_IPX, const_cast<char*>("x"), 1, &ipx, 0, context);
    return DP_OK;
  }
  STDMETHOD(InitializeConnection)(LPVOID address, DWORD flags) override {
    log_.Add("InitializeConnection " + std::string(static_cast<char*>(address)) + " " +
             std::to_string(flags));
    return DP_OK;
  }
  STDMETHOD(EnumSessions)(LPDPSESSIONDESC2 desc, DWORD timeout, LPDPENUMSESSIONSCALLBACK2 callback,
                          LPVOID context, DWORD flags) override {
    EXPECT_EQ(desc->dwSize, sizeof(DPSESSIONDESC2));
    EXPECT_TRUE(IsEqualGUID(desc->guidApplication, kApp));
    log_.Add("EnumSessions " + std::to_string(timeout) + " " + std::to_string(flags));
    DPSESSIONDESC2 found{};
    found.dwSize = sizeof found;
    found.guidInstance = kSession;
    // A name from the network, longer than the record keeps.
    std::string name = "Friday night blitz" + std::string(100, '!');
    found.lpszSessionNameA = &name[0];
    DWORD t = 0;
    EXPECT_TRUE(callback(&found, &t, 0, context));
    EXPECT_FALSE(callback(nullptr, &t, DPESC_TIMEDOUT, context));
    return DP_OK;
  }
  STDMETHOD(Open)(LPDPSESSIONDESC2 desc, DWORD flags) override {
    opened = *desc;
    sessionName = desc->lpszSessionNameA ? desc->lpszSessionNameA : "";
    openFlags = flags;
    log_.Add("Open " + std::to_string(flags));
    return DP_OK;
  }
  STDMETHOD(CreatePlayer)(LPDPID id, LPDPNAME name, HANDLE receiveEvent, LPVOID, DWORD,
                          DWORD flags) override {
    log_.Add(std::string("CreatePlayer ") + name->lpszShortNameA + " " + std::to_string(flags));
    event = receiveEvent;
    *id = 5;
    return DP_OK;
  }
  STDMETHOD(Receive)(LPDPID from, LPDPID to, DWORD, LPVOID data, LPDWORD size) override {
    std::lock_guard<std::mutex> lock(queueMutex);
    if (queue.empty()) return DPERR_NOMESSAGES;
    const auto& m = queue.front();
    if (*size < m.size()) {
      *size = DWORD(m.size());
      return DPERR_BUFFERTOOSMALL;
    }
    std::memcpy(data, m.data(), m.size());
    *size = DWORD(m.size());
    *from = 8;
    *to = 5;
    queue.pop_front();
    return DP_OK;
  }
  STDMETHOD(SendEx)(DPID from, DPID to, DWORD flags, LPVOID, DWORD size, DWORD priority,
                    DWORD timeout, LPVOID, LPDWORD) override {
    log_.Add("SendEx " + std::to_string(from) + ">" + std::to_string(to) + " " +
             std::to_string(flags) + " " + std::to_string(size) + " " + std::to_string(priority) +
             " " + std::to_string(timeout));
    return DP_OK;
  }
  STDMETHOD(GetPlayerName)(DPID, LPVOID data, LPDWORD size) override {
    const std::string longName = "a player name far longer than sixteen";
    const DWORD needed = DWORD(sizeof(DPNAME) + longName.size() + 1);
    if (!data || *size < needed) {
      *size = needed;
      return DPERR_BUFFERTOOSMALL;
    }
    auto* name = static_cast<DPNAME*>(data);
    std::memset(name, 0, sizeof *name);
    char* text = static_cast<char*>(data) + sizeof(DPNAME);
    std::memcpy(text, longName.c_str(), longName.size() + 1);
    name->lpszShortNameA = text;
    return DP_OK;
  }
  STDMETHOD(GetPlayerAddress)(DPID id, LPVOID data, LPDWORD size) override {
    log_.Add("GetPlayerAddress " + std::to_string(id) + (data ? " fill" : " size"));
    if (id != 0) return DPERR_UNSUPPORTED;
    if (!data || *size < 4) {
      *size = 4;
      return DPERR_BUFFERTOOSMALL;
    }
    std::memcpy(data, "adr", 4);
    return DP_OK;
  }
  STDMETHOD(DestroyPlayer)(DPID id) override {
    log_.Add("DestroyPlayer " + std::to_string(id));
    return DP_OK;
  }
  STDMETHOD(Close)() override {
    log_.Add("Close");
    return DP_OK;
  }

 private:
  Log& log_;
};

class FakeLobby : public IDirectPlayLobby3 {
 public:
  explicit FakeLobby(Log& log) : log_(log) {}
  STDMETHOD(CreateCompoundAddress)(LPCDPCOMPOUNDADDRESSELEMENT parts, DWORD count, LPVOID data,
                                   LPDWORD size) override {
    // The "address" is the parts' texts, for the test to read back.
    std::string text = "sp";
    for (DWORD i = 1; i < count; ++i) text += std::string("+") + static_cast<const char*>(parts[i].lpData);
    log_.Add("CreateCompoundAddress " + std::to_string(count) + (data ? " fill" : " size"));
    if (!data || *size < text.size() + 1) {
      *size = DWORD(text.size() + 1);
      return DPERR_BUFFERTOOSMALL;
    }
    std::memcpy(data, text.c_str(), text.size() + 1);
    return DP_OK;
  }
  STDMETHOD(EnumAddress)(LPDPENUMADDRESSCALLBACK callback, LPCVOID, DWORD, LPVOID context) override {
    callback(DPAID_ServiceProvider, 16, &DPSPGUID_TCPIP, context);
    callback(DPAID_INet, 9, "10.0.0.1", context);
    return DP_OK;
  }
  STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
  STDMETHOD_(ULONG, AddRef)() override { return 1; }
  STDMETHOD_(ULONG, Release)() override { return 1; }
  STDMETHOD(Connect)(DWORD, LPDIRECTPLAY2*, IUnknown*) override { return E_FAIL; }
  STDMETHOD(CreateAddress)(REFGUID, REFGUID, LPCVOID, DWORD, LPVOID, LPDWORD) override { return E_FAIL; }
  STDMETHOD(EnumAddressTypes)(LPDPLENUMADDRESSTYPESCALLBACK, REFGUID, LPVOID, DWORD) override { return E_FAIL; }
  STDMETHOD(EnumLocalApplications)(LPDPLENUMLOCALAPPLICATIONSCALLBACK, LPVOID, DWORD) override { return E_FAIL; }
  // Set by a test: this process was started by a lobby with these settings.
  bool lobbied = false;
  DWORD connectionFlags = 0;
  DWORD flagsWritten = 0, maxPlayersWritten = 0;
  IDirectPlay4A* launched = nullptr;
  STDMETHOD(GetConnectionSettings)(DWORD, LPVOID data, LPDWORD size) override {
    if (!lobbied) return DPERR_NOTLOBBIED;
    const DWORD needed = sizeof(DPLCONNECTION) + sizeof(DPSESSIONDESC2);
    if (!data || *size < needed) {
      *size = needed;
      return DPERR_BUFFERTOOSMALL;
    }
    auto* c = static_cast<DPLCONNECTION*>(data);
    auto* desc = reinterpret_cast<DPSESSIONDESC2*>(static_cast<char*>(data) + sizeof *c);
    std::memset(data, 0, needed);
    c->dwSize = sizeof *c;
    c->dwFlags = connectionFlags;
    desc->dwSize = sizeof *desc;
    desc->dwMaxPlayers = 2;
    c->lpSessionDesc = desc;
    return DP_OK;
  }
  STDMETHOD(ReceiveLobbyMessage)(DWORD, DWORD, LPDWORD, LPVOID, LPDWORD) override { return E_FAIL; }
  STDMETHOD(RunApplication)(DWORD, LPDWORD, LPDPLCONNECTION, HANDLE) override { return E_FAIL; }
  STDMETHOD(SendLobbyMessage)(DWORD, DWORD, LPVOID, DWORD) override { return E_FAIL; }
  STDMETHOD(SetConnectionSettings)(DWORD, DWORD, LPDPLCONNECTION c) override {
    flagsWritten = c->lpSessionDesc->dwFlags;
    maxPlayersWritten = c->lpSessionDesc->dwMaxPlayers;
    log_.Add("SetConnectionSettings");
    return DP_OK;
  }
  STDMETHOD(SetLobbyMessageEvent)(DWORD, DWORD, HANDLE) override { return E_FAIL; }
  STDMETHOD(ConnectEx)(DWORD, REFIID iid, LPVOID* out, IUnknown*) override {
    EXPECT_TRUE(IsEqualGUID(iid, IID_IDirectPlay4A));
    log_.Add("ConnectEx");
    *out = launched;
    return launched ? DP_OK : E_FAIL;
  }
  STDMETHOD(RegisterApplication)(DWORD, LPDPAPPLICATIONDESC) override { return E_FAIL; }
  STDMETHOD(UnregisterApplication)(DWORD, REFGUID) override { return E_FAIL; }
  STDMETHOD(WaitForConnectionSettings)(DWORD) override { return E_FAIL; }

 private:
  Log& log_;
};

class FakeObjects : public DplayObjects {
 public:
  Log log;
  FakePlay play{log};
  FakeLobby lobby{log};
  HRESULT CreateDirectPlay(IDirectPlay4A** out) override {
    *out = &play;
    return DP_OK;
  }
  HRESULT CreateLobby(IDirectPlayLobby3A** out) override {
    *out = &lobby;
    return DP_OK;
  }
};

struct Sink : LobbyRecordSink {
  std::mutex mutex;
  std::vector<std::vector<uint8_t>> posted;
  uint8_t* Alloc(size_t size) override {
    auto* p = new uint8_t[size + sizeof(size_t)]();
    *reinterpret_cast<size_t*>(p) = size;
    return p + sizeof(size_t);
  }
  bool Post(uint8_t* r) override {
    const size_t size = *reinterpret_cast<size_t*>(r - sizeof(size_t));
    {
      std::lock_guard<std::mutex> lock(mutex);
      posted.emplace_back(r, r + size);
    }
    Free(r);
    return true;
  }
  void Free(uint8_t* r) override { delete[] (r - sizeof(size_t)); }
  void SetTarget(LobbyTarget) override {}
  std::vector<std::vector<uint8_t>> Take() {
    std::lock_guard<std::mutex> lock(mutex);
    return std::move(posted);
  }
};

LobbyHandle Handle() {
  LobbyHandle h{};
  std::memcpy(h.applicationId, &kApp, 16);
  std::strcpy(h.name, "hostess");
  return h;
}

// The sink is kept by the test through this wrapper; the back end owns it.
struct SinkRef : LobbyRecordSink {
  explicit SinkRef(Sink& s) : sink(s) {}
  Sink& sink;
  uint8_t* Alloc(size_t n) override { return sink.Alloc(n); }
  bool Post(uint8_t* r) override { return sink.Post(r); }
  void Free(uint8_t* r) override { sink.Free(r); }
  void SetTarget(LobbyTarget t) override { sink.SetTarget(t); }
};

const LobbyTarget kTarget{1, 0x8001};

}  // namespace

TEST(DplayBackEnd, StartConnectAndSearchPostProvidersAddressesAndSessions) {
  FakeObjects objects;
  Sink sink;
  LobbyHandle handle = Handle();
  LobbyBackEnd* b = StartDplayBackEnd(objects, std::make_unique<SinkRef>(sink), kTarget, handle, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(objects.log.Take(), "EnumConnections " + std::to_string(DPCONNECTION_DIRECTPLAY) + ";");
  auto records = sink.Take();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(GetU32(records[0].data()), 6u);
  EXPECT_EQ(GetU32(records[0].data() + 16), 2u);  // TCP/IP
  EXPECT_EQ(GetU32(records[1].data() + 16), 1u);  // IPX

  ASSERT_EQ(b->Connect(kTarget, 2, 0, "10.0.0.1", nullptr, nullptr), 0);
  EXPECT_EQ(objects.log.Take(),
            "CreateCompoundAddress 2 size;CreateCompoundAddress 2 fill;"
            "InitializeConnection sp+10.0.0.1 0;EnumSessions 0 17;");
  records = sink.Take();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(GetU32(records[0].data()), 7u);  // the Internet address part only
  EXPECT_EQ(GetU32(records[1].data()), 5u);
  const uint8_t* session = records[1].data();  // GUID @16, name @32, kind @96
  EXPECT_EQ(std::memcmp(session + 16, &kSession, 16), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(session + 32)), "Friday night blitz" + std::string(45, '!'));
  EXPECT_EQ(GetU32(session + 96), 2u);
  // The address is made once; a second connect only searches.
  ASSERT_EQ(b->Connect(kTarget, 2, 0, "10.0.0.1", nullptr, nullptr), 0);
  EXPECT_EQ(objects.log.Take(), "EnumSessions 0 17;");
  // Login with neither host flag nor session searches again and makes no player.
  EXPECT_EQ(b->Login(handle, kTarget, nullptr, 0, nullptr, nullptr), 0);
  EXPECT_EQ(objects.log.Take(), "EnumSessions 0 17;");
  b->Disconnect();
  EXPECT_EQ(objects.log.Take(), "Close;Release;");
}

TEST(DplayBackEnd, HostingMakesThePlayerReceivesSendsAndTearsDownInOrder) {
  FakeObjects objects;
  Sink sink;
  LobbyHandle handle = Handle();
  LobbyBackEnd* b = StartDplayBackEnd(objects, std::make_unique<SinkRef>(sink), kTarget, handle, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->Connect(kTarget, 1, 1, nullptr, nullptr, nullptr), 0);
  objects.log.Take();
  sink.Take();
  ASSERT_EQ(b->Login(handle, kTarget, nullptr, 1, "Sunday game", "secret"), 0);
  EXPECT_EQ(objects.log.Take(), "Open " + std::to_string(DPOPEN_CREATE) + ";CreatePlayer hostess 0;");
  EXPECT_EQ(objects.play.opened.dwFlags, 0x44u);
  EXPECT_EQ(objects.play.opened.dwMaxPlayers, 16u);
  EXPECT_EQ(objects.play.opened.dwSize, sizeof(DPSESSIONDESC2));
  EXPECT_EQ(objects.play.sessionName, "Sunday game");
  ASSERT_NE(objects.play.event, nullptr);
  auto records = sink.Take();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(GetU32(records[0].data()), 3u);
  EXPECT_EQ(GetU32(records[0].data() + 4), 5u);

  // A message waits: DirectPlay signals the event handed over with the player.
  {
    std::lock_guard<std::mutex> lock(objects.play.queueMutex);
    objects.play.queue.push_back(std::vector<unsigned char>(300, 'm'));
  }
  SetEvent(objects.play.event);
  for (int i = 0; i < 200; ++i) {
    std::lock_guard<std::mutex> lock(sink.mutex);
    if (!sink.posted.empty()) break;
    Sleep(10);
  }
  records = sink.Take();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(GetU32(records[0].data()), 0u);
  EXPECT_EQ(GetU32(records[0].data() + 8), 8u);
  EXPECT_EQ(GetU32(records[0].data() + 12), 300u);

  const uint32_t list[] = {2, 8, 9};
  EXPECT_EQ(b->UserSend(*reinterpret_cast<const RecipientList*>(list), "hi", 2), 0);
  EXPECT_EQ(b->ChannelSend("all", 3), 0);
  const std::string g = std::to_string(DPSEND_GUARANTEED);
  EXPECT_EQ(objects.log.Take(), "SendEx 5>8 " + g + " 2 0 0;SendEx 5>9 " + g + " 2 0 0;SendEx 5>0 " + g + " 3 0 0;");
  // The name comes as a DPNAME; only a login name's worth reaches the caller.
  char name[16];
  std::memset(name, '#', sizeof name);
  EXPECT_EQ(b->GetNick(8, name), 0);
  EXPECT_STREQ(name, "a player name f");

  b->Disconnect();
  EXPECT_EQ(objects.log.Take(), "DestroyPlayer 5;Close;Release;");
}

TEST(DplayBackEnd, LocalAddressesOfAProvider) {
  FakeObjects objects;
  Sink sink;
  LobbyHandle handle = Handle();
  LobbyBackEnd* b = StartDplayBackEnd(objects, std::make_unique<SinkRef>(sink), kTarget, handle, nullptr);
  ASSERT_NE(b, nullptr);
  objects.log.Take();
  sink.Take();
  EXPECT_EQ(b->EnumAddresses(kTarget, 2), 0);
  EXPECT_EQ(objects.log.Take(),
            "CreateCompoundAddress 1 size;CreateCompoundAddress 1 fill;InitializeConnection sp 0;"
            "GetPlayerAddress 0 size;GetPlayerAddress 0 fill;Release;");
  auto records = sink.Take();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(GetU32(records[0].data()), 7u);
  EXPECT_EQ(GetU32(records[0].data() + 16), 2u);
  objects.play.references = 2;  // the probe's Release above stood for its own object
  b->Disconnect();
}

TEST(DplayBackEnd, ALobbyLaunchJoinsWithTheLobbysSettings) {
  FakeObjects objects;
  Log launchedLog;
  FakePlay launched(launchedLog);
  objects.lobby.lobbied = true;
  objects.lobby.connectionFlags = DPLCONNECTION_CREATESESSION;
  objects.lobby.launched = &launched;
  Sink sink;
  LobbyHandle handle = Handle();
  LobbyBackEnd* b = StartDplayBackEnd(objects, std::make_unique<SinkRef>(sink), kTarget, handle, nullptr);
  ASSERT_NE(b, nullptr);
  objects.log.Take();
  // Kind 5: the first object goes; login makes the lobby's.
  ASSERT_EQ(b->Connect(kTarget, 5, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(objects.log.Take(), "Close;Release;");
  ASSERT_EQ(b->Login(handle, kTarget, nullptr, 0, nullptr, nullptr), 0);
  EXPECT_EQ(objects.log.Take(), "SetConnectionSettings;ConnectEx;");
  EXPECT_EQ(objects.lobby.flagsWritten, 0x44u);
  EXPECT_EQ(objects.lobby.maxPlayersWritten, 16u);
  EXPECT_EQ(launchedLog.Take(), "CreatePlayer hostess 0;");
  b->Disconnect();
  EXPECT_EQ(launchedLog.Take(), "DestroyPlayer 5;Close;Release;");
}

TEST(DplayBackEnd, SystemDirectPlayUnderWine) {
  HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  void* h = LBL_Init(window, WM_APP + 5, 0, &kApp, "wineplayer");
  ASSERT_NE(h, nullptr) << "DirectPlay could not be made or listed no connections";
  int providers = 0;
  MSG msg;
  while (PeekMessageA(&msg, window, WM_APP + 5, WM_APP + 5, PM_REMOVE)) {
    if (GetU32(reinterpret_cast<const uint8_t*>(msg.lParam)) == 6) ++providers;
    LBL_ReleaseData(h, reinterpret_cast<void*>(msg.lParam));
  }
  EXPECT_GT(providers, 0);
  EXPECT_EQ(LBL_Disconnect(h), 0);
  DestroyWindow(window);
}
