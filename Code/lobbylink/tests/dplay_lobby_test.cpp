// The login name a DirectPlay lobby hands over: a fake lobby object with
// scripted connection settings, and the system's lobby under Wine (this
// process was started by no lobby).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dplay_lobby_win32.h"
#include "lobbylink.h"

using namespace lobbylink;

namespace {

// Answers GetConnectionSettings as a lobby does: the size first, then the
// block with the name inside it; every other method fails.
class FakeLobby : public IDirectPlayLobby3 {
 public:
  explicit FakeLobby(const char* name, HRESULT failure = S_OK) : failure_(failure) {
    if (name) name_ = name;
    hasName_ = name != nullptr;
  }
  int calls = 0;

  STDMETHOD(GetConnectionSettings)(DWORD, LPVOID data, LPDWORD size) override {
    ++calls;
    if (failure_ != S_OK) return failure_;
    const DWORD needed = DWORD(sizeof(DPLCONNECTION) + sizeof(DPNAME) + name_.size() + 1);
    if (!data || *size < needed) {
      *size = needed;
      return DPERR_BUFFERTOOSMALL;
    }
    auto* block = static_cast<unsigned char*>(data);
    auto* c = reinterpret_cast<DPLCONNECTION*>(block);
    std::memset(c, 0, sizeof *c);
    c->dwSize = sizeof *c;
    if (hasName_) {
      auto* n = reinterpret_cast<DPNAME*>(block + sizeof *c);
      std::memset(n, 0, sizeof *n);
      n->dwSize = sizeof *n;
      char* text = reinterpret_cast<char*>(block + sizeof *c + sizeof *n);
      std::memcpy(text, name_.c_str(), name_.size() + 1);
      n->lpszShortNameA = text;
      c->lpPlayerName = n;
    }
    return DP_OK;
  }

  STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
  STDMETHOD_(ULONG, AddRef)() override { return 1; }
  STDMETHOD_(ULONG, Release)() override { return 1; }
  STDMETHOD(Connect)(DWORD, LPDIRECTPLAY2*, IUnknown*) override { return E_FAIL; }
  STDMETHOD(CreateAddress)(REFGUID, REFGUID, LPCVOID, DWORD, LPVOID, LPDWORD) override { return E_FAIL; }
  STDMETHOD(EnumAddress)(LPDPENUMADDRESSCALLBACK, LPCVOID, DWORD, LPVOID) override { return E_FAIL; }
  STDMETHOD(EnumAddressTypes)(LPDPLENUMADDRESSTYPESCALLBACK, REFGUID, LPVOID, DWORD) override { return E_FAIL; }
  STDMETHOD(EnumLocalApplications)(LPDPLENUMLOCALAPPLICATIONSCALLBACK, LPVOID, DWORD) override { return E_FAIL; }
  STDMETHOD(ReceiveLobbyMessage)(DWORD, DWORD, LPDWORD, LPVOID, LPDWORD) override { return E_FAIL; }
  STDMETHOD(RunApplication)(DWORD, LPDWORD, LPDPLCONNECTION, HANDLE) override { return E_FAIL; }
  STDMETHOD(SendLobbyMessage)(DWORD, DWORD, LPVOID, DWORD) override { return E_FAIL; }
  STDMETHOD(SetConnectionSettings)(DWORD, DWORD, LPDPLCONNECTION) override { return E_FAIL; }
  STDMETHOD(SetLobbyMessageEvent)(DWORD, DWORD, HANDLE) override { return E_FAIL; }
  STDMETHOD(CreateCompoundAddress)(LPCDPCOMPOUNDADDRESSELEMENT, DWORD, LPVOID, LPDWORD) override { return E_FAIL; }
  STDMETHOD(ConnectEx)(DWORD, REFIID, LPVOID*, IUnknown*) override { return E_FAIL; }
  STDMETHOD(RegisterApplication)(DWORD, LPDPAPPLICATIONDESC) override { return E_FAIL; }
  STDMETHOD(UnregisterApplication)(DWORD, REFGUID) override { return E_FAIL; }
  STDMETHOD(WaitForConnectionSettings)(DWORD) override { return E_FAIL; }

 private:
  std::string name_;
  bool hasName_ = false;
  HRESULT failure_;
};

}  // namespace

TEST(DplayLobby, LoginNameIsCopiedAndCutToALoginName) {
  struct Case {
    const char* name;
    const char* expected;
  } cases[] = {
      {"alice", "alice"},
      {"exactly15_chars", "exactly15_chars"},
      {"a name far longer than any login name the program keeps", "a name far long"},
      {"", ""},
      {nullptr, ""},
  };
  for (const Case& c : cases) {
    FakeLobby lobby(c.name);
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_EQ(LobbyLoginNameFrom(&lobby, buffer), 0) << (c.name ? c.name : "(none)");
    EXPECT_STREQ(buffer, c.expected);
    // Nothing past the 16 bytes of a login name is written.
    for (size_t i = kLobbyLoginNameSize; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#');
    EXPECT_EQ(lobby.calls, 2);
  }
}

TEST(DplayLobby, FailuresPassThroughAndLeaveTheBufferAlone) {
  FakeLobby notLobbied("x", DPERR_NOTLOBBIED);
  char buffer[16] = "untouched";
  EXPECT_EQ(LobbyLoginNameFrom(&notLobbied, buffer), int(DPERR_NOTLOBBIED));
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(LobbyLoginNameFrom(&notLobbied, nullptr), -1);
  EXPECT_EQ(LBL_GetLobbyLoginName(nullptr), -1);
  // The system's lobby: this test was started by none, so it fails and
  // writes nothing.
  const int r = LBL_GetLobbyLoginName(buffer);
  EXPECT_LT(r, 0);
  EXPECT_STREQ(buffer, "untouched");
}
