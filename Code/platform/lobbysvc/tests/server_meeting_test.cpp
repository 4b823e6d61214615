// The lobby service against a real XMPP server (prosody on loopback): two
// players meet in "RWLIVE", exchange channel and private messages, store
// values, and the service survives hostile occupants, a second login of the
// same account and a frozen server.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base64.h"
#include "prosody_fixture.h"
#include "rwlive_service.h"

using namespace lobbysvc;
using lobbysvc_test::ProsodyServer;
using Clock = std::chrono::steady_clock;

namespace {

ProsodyServer* server = nullptr;

class ServerEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    if (server) server->Remove();
    delete server;
    server = nullptr;
  }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

bool EnsureServer() {
  if (!ProsodyServer::Installed()) return false;
  if (!server) {
    server = new ProsodyServer;
    if (!server->Start()) {
      ADD_FAILURE() << "prosody did not start; see " << server->Dir();
      return false;
    }
  }
  return true;
}

#define NEED_SERVER()                                                            \
  if (!EnsureServer()) GTEST_SKIP() << "prosody is not installed (scripts/setup.sh)"

XmppSettings Account(const std::string& name, const std::string& password = "secret") {
  XmppSettings s;
  s.port = server->Port();
  s.account = name;
  s.password = password;
  s.callTimeoutMs = 3000;
  return s;
}

void Register(const std::string& name, const std::string& password = "secret") {
  XmppClient c(Account(name, password));
  if (!c.Register()) {
    ASSERT_NE(c.Error().find("exists"), std::string::npos) << c.Error();
  }
}

// Everything a player's callbacks heard, in order.
struct Heard {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> lines;

  void Add(std::string line) {
    std::lock_guard<std::mutex> lock(mutex);
    lines.push_back(std::move(line));
    changed.notify_all();
  }
  bool WaitFor(const std::string& line, int ms = 5000) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::milliseconds(ms), [&] {
      for (const auto& l : lines)
        if (l == line) return true;
      return false;
    });
  }
  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> lock(mutex);
    return std::move(lines);
  }
};

void JoinLeave(void* context, uint32_t id, uint32_t flag) {
  static_cast<Heard*>(context)->Add((flag ? "join " : "leave ") + std::to_string(id));
}
void Data(void* context, uint32_t sender, const void* data, uint32_t size) {
  static_cast<Heard*>(context)->Add("data " + std::to_string(sender) + " " +
                                    std::string(static_cast<const char*>(data), size));
}

// One copy of the program: its own service (as its own DLL would be) logged
// in and in the channel.
struct Player {
  std::string name;
  ServiceSettings settings;
  Heard heard;  // outlives the service, whose thread may still call
  RWLiveService service;
  uint16_t game = 0;
  uint32_t id = 0;

  explicit Player(const std::string& login, int timeoutMs = 3000)
      : name(login), service(Hooks(this)) {
    settings.port = server->Port();
    settings.login = login;
    settings.password = "secret";
    settings.callTimeoutMs = timeoutMs;
    settings.keepAliveMs = 1000;
  }
  static ServiceHooks Hooks(Player* p) {
    ServiceHooks h;
    h.loadSettings = [p](ServiceSettings* s) {
      *s = p->settings;
      return true;
    };
    return h;
  }
  // Lobbylink's login sequence.
  void Enter() {
    Register(name);
    ASSERT_EQ(service.Init(), 0);
    uint8_t def[rwlive::kGameDefSize];
    ASSERT_EQ(service.LoadGameDef(def, sizeof def), 0);
    game = uint16_t(def[0] | def[1] << 8);
    ASSERT_NE(game, 0);
    EXPECT_STREQ(reinterpret_cast<char*>(def + rwlive::kLoginNameOffset), name.c_str());
    ASSERT_EQ(service.JoinGame(game, name.c_str()), 0);
    id = service.GetAddr(game);
    ASSERT_NE(id, 0u);
    ASSERT_EQ(service.EnableNotification(game, JoinLeave, &heard), 0);
    ASSERT_EQ(service.CreateChannel(game, "RWLIVE"), 0);
    ASSERT_EQ(service.OpenChannel(game, "RWLIVE", &heard, Data), game);
  }
  void Leave() {
    service.CloseChannel(game);
    service.DisableNotification(game);
    service.LeaveGame(game);
  }
  std::string NameOf(uint32_t who) {
    char name16[16] = "unknown";
    if (rwlive::Failed(service.GetNameByAddr(game, who, name16, sizeof name16))) return "?";
    return name16;
  }
  uint16_t Send(const std::string& bytes, const std::vector<uint32_t>* to = nullptr) {
    std::vector<uint32_t> list;
    if (to) {
      list.push_back(uint32_t(to->size()));
      list.insert(list.end(), to->begin(), to->end());
    }
    return service.WriteChannel(game, bytes.data(), uint32_t(bytes.size()),
                                to ? list.data() : nullptr);
  }
};

// The id `observer` knows `who` by, once the room has shown it.
uint32_t IdSeen(Player& observer, const std::string& who) {
  const auto until = Clock::now() + std::chrono::seconds(5);
  do {
    for (uint32_t id = 1; id < 64; ++id)
      if (observer.NameOf(id) == who) return id;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (Clock::now() < until);
  return 0;
}

}  // namespace

TEST(LobbyServer, TwoPlayersMeetTalkAndPart) {
  NEED_SERVER();
  Player alice("alice"), bob("bob");
  alice.Enter();
  bob.Enter();
  const uint32_t aliceAtBob = IdSeen(bob, "alice");
  const uint32_t bobAtAlice = IdSeen(alice, "bob");
  ASSERT_NE(aliceAtBob, 0u);
  ASSERT_NE(bobAtAlice, 0u);
  EXPECT_TRUE(bob.heard.WaitFor("join " + std::to_string(aliceAtBob)));
  EXPECT_TRUE(alice.heard.WaitFor("join " + std::to_string(bobAtAlice)));
  EXPECT_EQ(alice.NameOf(alice.id), "alice");

  // Channel and one-id sends; the sender is the room's stamp, not the payload.
  ASSERT_EQ(alice.Send("hello from bob"), 0);
  EXPECT_TRUE(bob.heard.WaitFor("data " + std::to_string(aliceAtBob) + " hello from bob"));
  std::vector<uint32_t> toBob{bobAtAlice};
  ASSERT_EQ(alice.Send("just you", &toBob), 0);
  EXPECT_TRUE(bob.heard.WaitFor("data " + std::to_string(aliceAtBob) + " just you"));

  // 16 KiB goes, one byte more is refused; 0 bytes and unknown ids fail.
  const std::string big(16 * 1024, 'x');
  EXPECT_EQ(alice.Send(big), 0);
  EXPECT_TRUE(bob.heard.WaitFor("data " + std::to_string(aliceAtBob) + " " + big));
  EXPECT_TRUE(rwlive::Failed(alice.Send(big + "x")));
  EXPECT_TRUE(rwlive::Failed(alice.service.WriteChannel(alice.game, "x", 0, nullptr)));
  std::vector<uint32_t> nobody{999};
  EXPECT_TRUE(rwlive::Failed(alice.Send("x", &nobody)));

  // Alice hears nothing of her own.
  for (const auto& line : alice.heard.Take()) EXPECT_EQ(line.rfind("data", 0), std::string::npos) << line;

  bob.Leave();
  EXPECT_TRUE(alice.heard.WaitFor("leave " + std::to_string(bobAtAlice)));
  // Calls after leaving fail and say why; a second leave is harmless.
  EXPECT_TRUE(rwlive::Failed(bob.Send("late")));
  EXPECT_EQ(bob.service.LeaveGame(bob.game), kErrBadGame);
  alice.Leave();
}

TEST(LobbyServer, UserDataIsStoredAndSurvivesARestart) {
  NEED_SERVER();
  Player carol("carol");
  carol.Enter();
  char buffer[64];
  uint32_t size = 0;
  EXPECT_EQ(int16_t(carol.service.RestoreData(carol.game, "Unknown_1", buffer, sizeof buffer, &size)),
            rwlive::kNothingStored);
  ASSERT_EQ(carol.service.SaveData(carol.game, "Rating", "1850", 4), 0);
  ASSERT_EQ(carol.service.SaveData(carol.game, "Games", "12", 2), 0);
  // Too small a buffer: failure, buffer untouched.
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_TRUE(rwlive::Failed(carol.service.RestoreData(carol.game, "Rating", buffer, 3, &size)));
  EXPECT_EQ(buffer[0], '#');
  // Bad keys never reach the server.
  for (const char* key : {"", "has space", "a-b", "x/y", "123456789012345678901234567890123"})
    EXPECT_EQ(carol.service.SaveData(carol.game, key, "1", 1), kErrBadArgument) << key;
  carol.Leave();

  server->Stop();
  ASSERT_TRUE(server->Start());
  Player again("carol");
  again.Enter();
  ASSERT_EQ(again.service.RestoreData(again.game, "Rating", buffer, sizeof buffer, &size), 0);
  EXPECT_EQ(std::string(buffer, size), "1850");
  // Size 0 erases.
  ASSERT_EQ(again.service.SaveData(again.game, "Games", nullptr, 0), 0);
  EXPECT_EQ(int16_t(again.service.RestoreData(again.game, "Games", buffer, sizeof buffer, &size)),
            rwlive::kNothingStored);
  again.Leave();
}

TEST(LobbyServer, SecondLoginOfTheSameAccountEndsTheFirst) {
  NEED_SERVER();
  Player first("dave"), watcher("erin");
  watcher.Enter();
  first.Enter();
  const uint32_t daveAtErin = IdSeen(watcher, "dave");
  ASSERT_TRUE(watcher.heard.WaitFor("join " + std::to_string(daveAtErin)));
  const uint32_t erinAtDave = IdSeen(first, "erin");
  Player second("dave");
  second.Enter();
  // The first connection is gone: everyone it saw is reported gone, and
  // its calls fail with the lost connection's own text.
  EXPECT_TRUE(first.heard.WaitFor("leave " + std::to_string(erinAtDave)));
  EXPECT_EQ(first.Send("still here?"), kErrConnectionLost);
  char text[128];
  RWLiveService::GetErrorText(kErrConnectionLost, text, sizeof text);
  EXPECT_STREQ(text, "The connection to the lobby server was lost");
  // The new connection talks.
  ASSERT_EQ(second.Send("back"), 0);
  EXPECT_TRUE(watcher.heard.WaitFor("data " + std::to_string(daveAtErin) + " back"));
  first.Leave();
  second.Leave();
  watcher.Leave();
}

TEST(LobbyServer, EveryCallFailsWithinItsTimeOutWhenTheServerFreezes) {
  NEED_SERVER();
  Player frank("frank", 1500);
  frank.Enter();
  server->Signal(SIGSTOP);
  const auto start = Clock::now();
  char buffer[16];
  uint32_t size = 0;
  EXPECT_TRUE(rwlive::Failed(frank.service.SaveData(frank.game, "Key", "v", 1)));
  EXPECT_TRUE(rwlive::Failed(frank.service.RestoreData(frank.game, "Key", buffer, sizeof buffer, &size)));
  const auto took = Clock::now() - start;
  server->Signal(SIGCONT);
  EXPECT_LT(took, std::chrono::milliseconds(2 * 1500 + 1000));
  frank.Leave();
}

TEST(LobbyServer, CallsAreSafeInAnyState) {
  NEED_SERVER();
  ServiceHooks none;
  none.loadSettings = [](ServiceSettings*) { return false; };
  RWLiveService s(none);
  uint8_t def[rwlive::kGameDefSize];
  EXPECT_EQ(s.LoadGameDef(def, sizeof def), kErrNoSettings);
  char name[16];
  uint32_t size = 0;
  for (uint16_t game : {0, 1, 77}) {
    EXPECT_TRUE(rwlive::Failed(s.JoinGame(game, "x")));
    EXPECT_EQ(s.GetAddr(game), 0u);
    EXPECT_TRUE(rwlive::Failed(s.OpenChannel(game, "RWLIVE", nullptr, Data)));
    EXPECT_TRUE(rwlive::Failed(s.WriteChannel(game, "x", 1, nullptr)));
    EXPECT_TRUE(rwlive::Failed(s.RestoreData(game, "k", name, sizeof name, &size)));
    EXPECT_TRUE(rwlive::Failed(s.GetNameByAddr(game, 1, name, sizeof name)));
    EXPECT_TRUE(rwlive::Failed(s.CloseChannel(game)));
    EXPECT_TRUE(rwlive::Failed(s.LeaveGame(game)));
  }
  // A wrong password: the login fails, later calls fail, leaving is fine.
  Register("grace", "right");
  Player wrong("grace");
  wrong.settings.password = "wrong";
  ASSERT_EQ(wrong.service.Init(), 0);
  ASSERT_EQ(wrong.service.LoadGameDef(def, sizeof def), 0);
  const uint16_t game = uint16_t(def[0] | def[1] << 8);
  EXPECT_EQ(wrong.service.JoinGame(game, "grace"), kErrLogin);
  EXPECT_TRUE(rwlive::Failed(wrong.service.OpenChannel(game, "RWLIVE", nullptr, Data)));
  EXPECT_TRUE(rwlive::Failed(wrong.service.WriteChannel(game, "x", 1, nullptr)));
  EXPECT_EQ(wrong.service.CloseChannel(game), 0);
  EXPECT_EQ(wrong.service.LeaveGame(game), 0);
  EXPECT_EQ(wrong.service.Destroy(), 0);
  EXPECT_EQ(wrong.service.Destroy(), 0);
}

namespace {

// A client whose raw stream the test writes to by hand.
struct RawClient {
  Transport* tap = nullptr;
  XmppClient client;
  explicit RawClient(const std::string& name)
      : client(Account(name), [this] {
          auto t = MakeTcpTransport();
          tap = t.get();
          return t;
        }) {}
  void Write(const std::string& xml) { tap->Send(xml, 2000); }
};

const char kRoom[] = "rwlive@rooms.localhost";

std::string Groupchat(const std::string& inside) {
  return std::string("<message type='groupchat' to='") + kRoom + "'>" + inside + "</message>";
}

}  // namespace

TEST(LobbyServer, HostileOccupantsProduceNothingAndTheHostRunsOn) {
  NEED_SERVER();
  Player alice("hannah"), bob("ivan");
  alice.Enter();
  bob.Enter();
  const uint32_t aliceAtBob = IdSeen(bob, "hannah");
  ASSERT_NE(aliceAtBob, 0u);

  Register("mallory");
  RawClient mallory("mallory");
  ASSERT_TRUE(mallory.client.Login()) << mallory.client.Error();
  ASSERT_TRUE(mallory.client.JoinRoom(kRoom, "mallory", nullptr)) << mallory.client.Error();
  const uint32_t malloryAtBob = IdSeen(bob, "mallory");
  ASSERT_NE(malloryAtBob, 0u);

  const std::string over(16 * 1024 + 1, 'o');
  const std::string nested = [] {
    std::string s;
    for (int i = 0; i < 20; ++i) s += "<n xmlns='urn:test:deep'>";
    for (int i = 0; i < 20; ++i) s += "</n>";
    return s;
  }();
  const std::vector<std::string> hostile = {
      Groupchat("<body>!!not base64!!</body>"),
      Groupchat("<body>aGVsbG8</body>"),                          // truncated
      Groupchat("<body>aGVsbG9=</body>"),                         // non-zero padding bits
      Groupchat("<body>" + Base64Encode(over) + "</body>"),       // over 16 KiB decoded
      Groupchat("<body></body>"),                                 // empty
      Groupchat("<body>" + Base64Encode(std::string("history")) +
                "</body><delay xmlns='urn:xmpp:delay' stamp='2020-01-01T00:00:00Z'/>"),
      Groupchat("<body>" + Base64Encode(std::string("nested")) + "</body>" + nested),
  };
  for (const auto& stanza : hostile) mallory.Write(stanza);

  // A nick that is not its own account is never an occupant.
  Register("oscar");
  XmppClient oscar(Account("oscar"));
  ASSERT_TRUE(oscar.Login());
  ASSERT_TRUE(oscar.JoinRoom(kRoom, "hannah2", nullptr));
  ASSERT_TRUE(oscar.SendToRoom("claims to be hannah", nullptr));

  // A nick change: mallory is gone under her nick; her new one is not her account.
  mallory.Write(std::string("<presence to='") + kRoom + "/mallory2'/>");
  EXPECT_TRUE(bob.heard.WaitFor("leave " + std::to_string(malloryAtBob)));
  mallory.Write(Groupchat("<body>" + Base64Encode(std::string("renamed")) + "</body>"));

  // An oversized stanza ends mallory's own stream at the server (a DOCTYPE
  // or entity never reaches other users: the server writes stanzas anew).
  mallory.Write("<message type='groupchat' to='rwlive@rooms.localhost'><body>" +
                std::string(70 * 1024, 'A') + "</body></message>");

  // The next good message arrives, and it is all bob heard from anyone.
  ASSERT_EQ(alice.Send("good"), 0);
  EXPECT_TRUE(bob.heard.WaitFor("data " + std::to_string(aliceAtBob) + " good"));
  for (const auto& line : bob.heard.Take()) {
    if (line.rfind("data", 0) == 0) {
      EXPECT_EQ(line, "data " + std::to_string(aliceAtBob) + " good");
    }
  }
  ASSERT_EQ(alice.Send("still"), 0);
  EXPECT_TRUE(bob.heard.WaitFor("data " + std::to_string(aliceAtBob) + " still"));

  oscar.Close();
  mallory.client.Close();
  alice.Leave();
  bob.Leave();
}

namespace {

std::string RunText(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, p)) out += buffer;
    pclose(p);
  }
  return out;
}

}  // namespace

TEST(LobbyServer, StartTlsChecksTheCertificateFingerprint) {
  if (!ProsodyServer::Installed()) GTEST_SKIP() << "prosody is not installed (scripts/setup.sh)";
  if (std::system("command -v openssl >/dev/null") != 0) GTEST_SKIP() << "no openssl to make a certificate";
  ProsodyServer tls;
  ASSERT_TRUE(tls.Start());  // makes its folder; restarted below with a certificate
  tls.Stop();
  const std::string cert = tls.Dir() + "/certs/server.crt", key = tls.Dir() + "/certs/server.key";
  ASSERT_EQ(std::system(("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost "
                         "-keyout '" + key + "' -out '" + cert + "' 2>/dev/null").c_str()),
            0);
  const std::string printed =
      RunText("openssl x509 -noout -fingerprint -sha256 -in '" + cert + "'");
  const std::string fingerprint = NormalizeFingerprint(printed.substr(printed.find('=') + 1, 95));
  ASSERT_EQ(fingerprint.size(), 64u) << printed;
  tls.SetEnvironment("RWLIVE_TLS_CERT='" + cert + "' RWLIVE_TLS_KEY='" + key + "'");
  ASSERT_TRUE(tls.Start());

  auto settings = [&](const std::string& print) {
    XmppSettings s;
    s.port = tls.Port();
    s.account = "tess";
    s.password = "pw-tess";
    s.callTimeoutMs = 5000;
    s.tlsFingerprint = print;
    return s;
  };
  {
    XmppClient right(settings(fingerprint));
    EXPECT_TRUE(right.Register()) << right.Error();
    EXPECT_TRUE(right.Login()) << right.Error();
    EXPECT_TRUE(right.Put("Secret", "kept")) << right.Error();
  }
  std::string wrong = fingerprint;
  wrong[0] = wrong[0] == '0' ? '1' : '0';
  XmppClient impostor(settings(wrong));
  EXPECT_FALSE(impostor.Login());
  EXPECT_EQ(impostor.Error(), "the server's certificate is not the one expected");
  // Without a fingerprint the self-made certificate fails the system's roots.
  XmppSettings roots = settings("");
  roots.requireTls = true;
  XmppClient byRoots(roots);
  EXPECT_FALSE(byRoots.Login());
  EXPECT_NE(byRoots.Error().find("TLS handshake failed"), std::string::npos) << byRoots.Error();
  // A plain client is turned away by a server that requires encryption.
  XmppClient plain(settings(""));
  EXPECT_FALSE(plain.Login());
  tls.Remove();
}

TEST(LobbyServer, AnswersFromAnotherUserAreNotTakenForTheServers) {
  NEED_SERVER();
  Player victim("quinn");
  victim.Enter();
  ASSERT_EQ(victim.service.SaveData(victim.game, "Rating", "1200", 4), 0);
  Register("rex");
  RawClient rex("rex");
  ASSERT_TRUE(rex.client.Login()) << rex.client.Error();
  // rex knows quinn's full id (the room shows it) and guesses request ids.
  std::string forged;
  for (int id = 1; id < 120; ++id)
    forged += "<iq type='result' id='rw" + std::to_string(id) +
              "' to='quinn@localhost/rwlive'><query xmlns='jabber:iq:private'>"
              "<data xmlns='urn:rookwell:rwlive:data:Rating'>" + Base64Encode(std::string("9999")) +
              "</data></query></iq>";
  std::atomic<bool> done{false};
  std::thread flood([&] {
    while (!done) rex.Write(forged);
  });
  for (int i = 0; i < 20; ++i) {
    char buffer[16];
    uint32_t size = 0;
    ASSERT_EQ(victim.service.RestoreData(victim.game, "Rating", buffer, sizeof buffer, &size), 0);
    EXPECT_EQ(std::string(buffer, size), "1200");
  }
  done = true;
  flood.join();
  rex.client.Close();
  victim.Leave();
}
