// The connect dialog's decisions over a scripted transport: what each mode
// shows and enables, what it asks the session layer, and what the records
// the transport posts change.
#include "connect_dialog.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fake_lobby.h"

namespace {

// Records every connecting call; sends and stored data are not used here.
struct ScriptedLink : LobbyLink {
  std::vector<std::string> calls;
  std::vector<uint32_t> inits;
  int connectResult = 0;
  int Init(uint32_t kind, const std::string& name) override {
    inits.push_back(kind);
    calls.push_back("init " + std::to_string(kind) + " " + name);
    return 0;
  }
  int Disconnect() override { return 0; }
  int UserSendData(const std::vector<uint32_t>&, const uint8_t*, size_t) override { return 0; }
  int ChanSendData(const uint8_t*, size_t) override { return 0; }
  void ReleaseData(LobbyEvent* r) override { delete r; }
  std::string GetErrorString(int) override { return ""; }
  bool GetNickFromID(uint32_t, std::string*) override { return false; }
  int GetUserData(const std::string&, uint8_t*, size_t, size_t*) override { return kLobbyNoValue; }
  int PutUserData(const std::string&, const uint8_t*, size_t) override { return 0; }
  int EnumAddresses(uint32_t kind) override {
    calls.push_back("enum " + std::to_string(kind));
    return 0;
  }
  int Connect(uint32_t kind, bool noSearch, const std::string& address, const std::string& modem,
              const std::string& phone) override {
    calls.push_back("connect " + std::to_string(kind) + (noSearch ? " nosearch" : "") + " [" + address + "] [" +
                    modem + "] [" + phone + "]");
    return connectResult;
  }
  int Login(const uint8_t* session, bool host, const std::string& value) override {
    calls.push_back(std::string("login ") + (session ? std::to_string(session[0]) : "none") +
                    (host ? " host" : "") + " [" + value + "]");
    return 0;
  }
  std::string Last() const { return calls.empty() ? "" : calls.back(); }
};

struct ScriptedHost : ConnectDialogHost {
  std::string mpuser, lobbyName;
  int autoHost = 0, autoJoin = 0;
  bool inRoom = true, helperStarts = true;
  int shown = 0, closed = 0;
  std::vector<std::string> boxes;
  std::string UserName() override { return "alice"; }
  std::string MpuserArgument() override { return mpuser; }
  std::string LobbyLoginName() override { return lobbyName; }
  int DebugSetting(const char* key) override {
    return std::strcmp(key, "auto_ipx_host") == 0 ? autoHost : std::strcmp(key, "auto_ipx_join") == 0 ? autoJoin : 0;
  }
  bool InOnlineRoom() override { return inRoom; }
  void ShowDialog() override { ++shown; }
  bool LaunchLobbyHelper() override { return helperStarts; }
  void CloseProgram() override { ++closed; }
  void ShowMessage(const std::string& text) override { boxes.push_back(text); }
  void ControlsChanged() override {}
};

struct ConnectDialog : ::testing::Test {
  ScriptedLink link;
  FakeHooks hooks;
  ScriptedHost host;
  OnlineSession session{link, hooks};
  ConnectDialogModel model{session, host};
  const ConnectControls& c = model.Controls();

  static LobbyEvent Record(uint32_t kind, uint32_t connection, const std::string& text = "", uint8_t tag = 0) {
    LobbyEvent r;
    r.kind = kind;
    r.addressKind = connection;
    r.text = text;
    r.session[0] = tag;
    r.session[15] = 0x5A;
    return r;
  }
};

}  // namespace

TEST_F(ConnectDialog, KindsStayDisabledUntilTheTransportOffersThem) {
  model.Initialise(0);
  EXPECT_EQ(link.calls, std::vector<std::string>{"init 0 alice"});
  EXPECT_EQ(host.shown, 1);
  EXPECT_FALSE(c.internetEnabled || c.lanEnabled || c.modemEnabled);
  EXPECT_TRUE(c.lobbyEnabled);
  EXPECT_FALSE(c.hostEnabled || c.joinEnabled || c.cancelEnabled);
  model.OnRecord(Record(LOBBY_CONNECTION_FOUND, CONNECT_LAN));
  EXPECT_TRUE(c.lanEnabled);
  EXPECT_FALSE(c.internetEnabled);
  model.OnRecord(Record(LOBBY_CONNECTION_FOUND, CONNECT_INTERNET));
  EXPECT_TRUE(c.internetEnabled);
  EXPECT_EQ(link.Last(), "enum 2");
  model.OnRecord(Record(LOBBY_CONNECTION_FOUND, CONNECT_MODEM));
  EXPECT_TRUE(c.modemEnabled);
  EXPECT_EQ(link.Last(), "enum 3");
  // Outside the online room the dialog waits hidden.
  ScriptedHost away;
  away.inRoom = false;
  ConnectDialogModel hidden(session, away);
  hidden.Initialise(0);
  EXPECT_EQ(away.shown, 0);
}

TEST_F(ConnectDialog, LanListRefreshesAndKeepsTheChosenSession) {
  model.Initialise(0);
  model.ChooseMode(MODE_LAN);
  EXPECT_TRUE(c.showSessions);
  EXPECT_FALSE(c.showAddress || c.showModem);
  EXPECT_EQ(link.Last(), "connect 1 [] [] []");
  EXPECT_TRUE(c.timerRunning);
  EXPECT_FALSE(c.hostEnabled);
  model.GameNameChanged("mine");
  EXPECT_TRUE(c.hostEnabled);
  model.OnRecord(Record(LOBBY_SESSION_FOUND, CONNECT_LAN, "first", 1));
  model.OnRecord(Record(LOBBY_SESSION_FOUND, CONNECT_LAN, "second", 2));
  model.OnRecord(Record(LOBBY_SESSION_FOUND, CONNECT_INTERNET, "other kind", 3));
  ASSERT_EQ(c.sessions.size(), 2u);
  EXPECT_EQ(c.selectedSession, 0);
  EXPECT_TRUE(c.joinEnabled);
  model.SessionSelected(1);
  // The search again: the list empties and the chosen one is chosen again
  // though it now comes first.
  model.Timer();
  EXPECT_TRUE(c.sessions.empty());
  EXPECT_EQ(link.Last(), "connect 1 [] [] []");
  model.OnRecord(Record(LOBBY_SESSION_FOUND, CONNECT_LAN, "first", 1));
  EXPECT_EQ(c.selectedSession, -1);
  model.OnRecord(Record(LOBBY_SESSION_FOUND, CONNECT_LAN, "second", 2));
  EXPECT_EQ(c.selectedSession, 1);
  size_t before = link.calls.size();
  model.Join();
  EXPECT_EQ(link.calls.size(), before + 1);
  EXPECT_EQ(link.Last(), "login 2 []");
  EXPECT_EQ(c.status, "Connected. login started...");
  // Host: connect without a search and log in as the host of the named game.
  model.Host();
  EXPECT_EQ(link.calls[link.calls.size() - 2], "connect 1 nosearch [] [] []");
  EXPECT_EQ(link.Last(), "login none host [mine]");
}

TEST_F(ConnectDialog, InternetJoinLogsIntoTheFirstSessionWithoutASecondClick) {
  model.Initialise(0);
  model.ChooseMode(MODE_INTERNET);
  EXPECT_TRUE(c.showAddress);
  EXPECT_FALSE(c.joinEnabled);
  model.AddressChanged("chess.example.org");
  EXPECT_TRUE(c.joinEnabled);
  model.Join();
  EXPECT_EQ(link.Last(), "connect 2 [chess.example.org] [] []");
  EXPECT_EQ(c.status, "Connecting...");
  EXPECT_TRUE(c.cancelEnabled);
  EXPECT_FALSE(c.joinEnabled);
  EXPECT_TRUE(c.timerRunning);
  model.OnRecord(Record(LOBBY_SESSION_FOUND, CONNECT_INTERNET, "host's game", 7));
  EXPECT_EQ(link.Last(), "login 7 []");
  // A refused connect says so.
  link.connectResult = -5;
  model.ChooseMode(MODE_INTERNET);
  model.AddressChanged("nowhere");
  model.Join();
  EXPECT_EQ(c.status, "Connect failed");
  EXPECT_FALSE(c.timerRunning);
  EXPECT_TRUE(c.joinEnabled);
}

TEST_F(ConnectDialog, ModemNeedsAModemAndANumber) {
  model.Initialise(0);
  model.ChooseMode(MODE_MODEM);
  EXPECT_TRUE(c.showModem);
  model.OnRecord(Record(LOBBY_ADDRESS, CONNECT_MODEM, "Line 1"));
  model.OnRecord(Record(LOBBY_ADDRESS, CONNECT_MODEM, "Line 2"));
  EXPECT_EQ(c.modems.size(), 2u);
  EXPECT_EQ(c.selectedModem, 0);
  EXPECT_FALSE(c.joinEnabled);
  model.PhoneChanged("5551234");
  EXPECT_TRUE(c.joinEnabled);
  model.ModemSelected(1);
  model.Join();
  EXPECT_EQ(link.Last(), "connect 3 [] [Line 2] [5551234]");
  model.PhoneChanged("");
  EXPECT_FALSE(c.joinEnabled);
}

TEST_F(ConnectDialog, LobbyServiceMode) {
  // Handed a user on the command line: the lobby session is joined at creation.
  host.mpuser = "alice";
  model.Initialise(0);
  EXPECT_EQ(c.checked, MODE_LOBBY);
  EXPECT_EQ(link.inits.back(), 1u);
  EXPECT_EQ(link.Last(), "login none [RWLIVE]");
  EXPECT_TRUE(c.cancelEnabled);
  EXPECT_FALSE(c.joinEnabled || c.showHost || c.showGameName);
  // Cancel starts over without joining again by itself.
  size_t logins = 1;
  model.Cancel();
  size_t now = 0;
  for (const auto& call : link.calls) now += call.rfind("login", 0) == 0;
  EXPECT_EQ(now, logins);

  // Without a handed-over user, Join starts the helper and the program closes.
  host.mpuser.clear();
  model.ChooseMode(MODE_LOBBY);
  EXPECT_TRUE(c.joinEnabled);
  EXPECT_FALSE(c.cancelEnabled);
  model.Join();
  EXPECT_EQ(host.closed, 1);
  host.helperStarts = false;
  model.Join();
  EXPECT_EQ(host.closed, 1);
  EXPECT_EQ(host.boxes, std::vector<std::string>{"Unable to Launch the Rookwell Live login"});
}

TEST_F(ConnectDialog, LaunchedByAnOutsideLobby) {
  host.lobbyName = "alice";
  model.Initialise(0);
  EXPECT_TRUE(model.LobbyLaunched());
  ASSERT_GE(link.calls.size(), 3u);
  EXPECT_EQ(link.calls[link.calls.size() - 2], "connect 5 nosearch [] [] []");
  EXPECT_EQ(link.Last(), "login none host []");
  EXPECT_EQ(host.shown, 0);
  // Records are left to the session then.
  model.OnRecord(Record(LOBBY_CONNECTION_FOUND, CONNECT_LAN));
  EXPECT_FALSE(c.lanEnabled);
}
