// lobby_load: N clients of the lobby service in the "RWLIVE" channel of a
// prosody server on loopback, talking as copies of the program do.
//
//   lobby_load --script PROSODY_SH [--clients N] [--seconds S]
//              [--channel-ms MS] [--tell-ms MS] [--max-p99-ms MS] [--senders T]
//              [--nice N]
//
// Each client logs in, announces itself (message 23) and answers every
// announcement (24); once every client knows every other, each sends a
// channel line (27, verb 4) every --channel-ms and a tell (27, verb 1) to the
// next client in turn every --tell-ms, for --seconds. Every line carries its
// stream's sequence number and its send time; every receiver validates each
// message, its sender against the announcements, and each stream's order.
// Prints clients, rate, delivered, lost, duplicated, out of order, latency
// at the 50th and 99th percentile and the server's CPU time over the run.
// --nice N runs the clients and the server at that niceness (negative: ahead
// of other work; needs root), for a machine shared with other loads.
// Exit status: 0 when nothing was lost, duplicated or reordered and the 99th
// percentile is within --max-p99-ms (when given); 1 otherwise; 2 usage;
// 3 no server (prosody missing or not starting).
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "rwlive_service.h"
#include "wire.h"
#include "xmpp_client.h"

using namespace lobbysvc;
using Clock = std::chrono::steady_clock;

namespace {

constexpr uint32_t kVerbTell = 1, kVerbChannel = 4;

int64_t NowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
}

struct Options {
  std::string script;
  int clients = 10;
  int seconds = 10;
  int channelMs = 10000;
  int tellMs = 2000;
  int maxP99Ms = 0;
  int senders = 8;
  int nice = 0;
  bool niceGiven = false;
};

// One receiving stream: the lines of one sender of one kind.
struct Stream {
  uint32_t next = 0;
  std::set<uint32_t> ahead;  // received past a gap
  uint64_t unique = 0, duplicated = 0, outOfOrder = 0;
  void Take(uint32_t seq) {
    if (seq == next) {
      ++unique;
      ++next;
      while (!ahead.empty() && *ahead.begin() == next) {
        ahead.erase(ahead.begin());
        ++next;
      }
    } else if (seq > next) {
      if (ahead.insert(seq).second) {
        ++unique;
        ++outOfOrder;
      } else {
        ++duplicated;
      }
    } else {
      ++duplicated;
    }
  }
};

struct Client;
std::vector<std::unique_ptr<Client>> g_clients;
Options g_opt;
uint16_t g_port = 0;
std::atomic<bool> g_failed{false};
int64_t g_trafficStart = 0;

struct Client {
  int index = 0;
  std::string name;
  std::unique_ptr<RWLiveService> service;
  uint16_t game = 0;
  uint32_t ownId = 0;

  std::mutex mutex;
  std::vector<int> indexOfId;  // sender id -> client index, -1 unknown
  int known = 0;
  std::deque<uint32_t> toAnswer;  // ids that announced themselves
  std::vector<Stream> channel, tells;
  std::vector<int64_t> latencies, sendTimes;
  uint64_t invalid = 0;

  // Sent by this client: channel lines, and tells to each receiver.
  uint32_t channelSent = 0;
  std::vector<uint32_t> tellsSent;
  int64_t nextChannelUs = 0, nextTellUs = 0;
  int tellTurn = 0;

  explicit Client(int i) : index(i) {
    char n[16];
    std::snprintf(n, sizeof n, "load%03d", i);
    name = n;
    const size_t count = size_t(g_opt.clients);
    channel.resize(count);
    tells.resize(count);
    tellsSent.assign(count, 0);
  }

  static void OnData(void* context, uint32_t sender, const void* data, uint32_t size) {
    static_cast<Client*>(context)->Receive(sender, static_cast<const uint8_t*>(data), size);
  }
  static void OnJoinLeave(void*, uint32_t, uint32_t) {}

  void Receive(uint32_t sender, const uint8_t* data, uint32_t size) {
    const int64_t now = NowUs();
    PeerMessage m;
    std::lock_guard<std::mutex> lock(mutex);
    if (!ParsePeerMessage(data, size, &m)) {
      ++invalid;
      return;
    }
    if (m.type == MSG_LOGIN || m.type == MSG_LOGIN_ANSWER) {
      int from = -1;
      if (std::sscanf(m.user.nickname, "load%d", &from) != 1 || from < 0 || from >= g_opt.clients) {
        ++invalid;
        return;
      }
      if (sender >= indexOfId.size()) indexOfId.resize(sender + 1, -1);
      if (indexOfId[sender] < 0) {
        indexOfId[sender] = from;
        ++known;
      }
      if (m.type == MSG_LOGIN) toAnswer.push_back(sender);
      return;
    }
    if (m.type != MSG_CHAT) {
      ++invalid;
      return;
    }
    char kind = 0;
    int from = -1;
    unsigned seq = 0;
    long long sentUs = 0;
    if (std::sscanf(m.text.c_str(), "%c %d %u %lld", &kind, &from, &seq, &sentUs) != 4 || from < 0 ||
        from >= g_opt.clients || sender >= indexOfId.size() || indexOfId[sender] != from ||
        (kind == 'C' && m.word != kVerbChannel) || (kind == 'T' && m.word != kVerbTell) ||
        (kind != 'C' && kind != 'T')) {
      ++invalid;
      return;
    }
    (kind == 'C' ? channel : tells)[size_t(from)].Take(seq);
    latencies.push_back(now - sentUs);
    sendTimes.push_back(sentUs);
  }

  bool Enter() {
    XmppSettings x;
    x.port = g_port;
    x.account = name;
    x.password = "secret";
    x.callTimeoutMs = 10000;
    {
      XmppClient c(x);
      if (!c.Register() && c.Error().find("exists") == std::string::npos) {
        std::fprintf(stderr, "lobby_load: %s: register: %s\n", name.c_str(), c.Error().c_str());
        return false;
      }
    }
    ServiceHooks hooks;
    hooks.loadSettings = [this](ServiceSettings* s) {
      s->port = g_port;
      s->login = name;
      s->password = "secret";
      s->callTimeoutMs = 10000;
      return true;
    };
    service = std::make_unique<RWLiveService>(hooks);
    if (service->Init() != 0) return false;
    uint8_t def[rwlive::kGameDefSize] = {};
    if (service->LoadGameDef(def, sizeof def) != 0) return false;
    game = uint16_t(def[0] | def[1] << 8);
    if (service->JoinGame(game, name.c_str()) != 0) return false;
    ownId = service->GetAddr(game);
    if (service->EnableNotification(game, OnJoinLeave, this) != 0) return false;
    if (service->CreateChannel(game, rwlive::kChannelName) != 0) return false;
    if (service->OpenChannel(game, rwlive::kChannelName, this, OnData) != game) return false;
    return true;
  }

  bool Send(const std::vector<uint8_t>& m, const uint32_t* to) {
    const uint32_t list[2] = {1, to ? *to : 0};
    const uint16_t r = service->WriteChannel(game, m.data(), uint32_t(m.size()), to ? list : nullptr);
    if (rwlive::Failed(r)) {
      std::fprintf(stderr, "lobby_load: %s: send failed: %s\n", name.c_str(), ServiceErrorText(r));
      g_failed = true;
      return false;
    }
    return true;
  }

  OnlineUser Own() const {
    OnlineUser u;
    u.version = kOnlineProtocolVersion;
    u.word2 = u.word4 = 1;
    std::snprintf(u.nickname, sizeof u.nickname, "%s", name.c_str());
    std::snprintf(u.channel, sizeof u.channel, "%s", rwlive::kChannelName);
    return u;
  }

  void Announce() { Send(BuildUserMessage(MSG_LOGIN, Own()), nullptr); }

  void AnswerPending() {
    std::deque<uint32_t> ids;
    {
      std::lock_guard<std::mutex> lock(mutex);
      ids.swap(toAnswer);
    }
    for (uint32_t id : ids) Send(BuildUserMessage(MSG_LOGIN_ANSWER, Own()), &id);
  }

  // The id this client knows client `other` by; 0 when unknown.
  uint32_t IdOf(int other) {
    std::lock_guard<std::mutex> lock(mutex);
    for (size_t id = 0; id < indexOfId.size(); ++id)
      if (indexOfId[id] == other) return uint32_t(id);
    return 0;
  }

  void Tick(int64_t now) {
    if (now >= nextChannelUs) {
      char text[96];
      std::snprintf(text, sizeof text, "C %d %u %lld", index, channelSent, static_cast<long long>(NowUs()));
      if (Send(BuildChatMessage(kVerbChannel, text), nullptr)) ++channelSent;
      nextChannelUs += int64_t(g_opt.channelMs) * 1000;
    }
    if (now >= nextTellUs && g_opt.clients > 1) {
      const int to = (index + 1 + tellTurn) % g_opt.clients;
      tellTurn = (tellTurn + 1) % (g_opt.clients - 1);
      if (to != index) {
        const uint32_t id = IdOf(to);
        char text[96];
        std::snprintf(text, sizeof text, "T %d %u %lld", index, tellsSent[size_t(to)],
                      static_cast<long long>(NowUs()));
        if (id && Send(BuildChatMessage(kVerbTell, text), &id)) ++tellsSent[size_t(to)];
      }
      nextTellUs += int64_t(g_opt.tellMs) * 1000;
    }
  }

  void Leave() {
    if (!service) return;
    service->CloseChannel(game);
    service->DisableNotification(game);
    service->LeaveGame(game);
  }
};

// Runs `fn(client)` over every client on `threads` threads.
template <typename Fn>
void ForAll(int threads, Fn fn) {
  std::atomic<size_t> next{0};
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t)
    pool.emplace_back([&] {
      for (size_t i = next++; i < g_clients.size(); i = next++) fn(*g_clients[i]);
    });
  for (auto& th : pool) th.join();
}

std::string g_dir;
int g_serverPid = 0;

bool StartServer() {
  char pattern[] = "/tmp/rw-lobby-load-XXXXXX";
  if (access("/usr/bin/prosody", X_OK) != 0 || !mkdtemp(pattern)) return false;
  g_dir = pattern;
  const std::string command = "bash '" + g_opt.script + "' start '" + g_dir + "' >/dev/null";
  if (std::system(command.c_str()) != 0) return false;
  std::ifstream port(g_dir + "/port");
  int p = 0;
  port >> p;
  g_port = uint16_t(p);
  std::ifstream pid(g_dir + "/prosody.pid");
  pid >> g_serverPid;
  return g_port != 0;
}

void StopServer() {
  if (g_dir.empty()) return;
  std::system(("bash '" + g_opt.script + "' stop '" + g_dir + "' >/dev/null 2>&1").c_str());
  std::system(("rm -rf '" + g_dir + "'").c_str());
}

// The server's user and system time so far, in seconds.
double ServerCpuSeconds() {
  std::ifstream in("/proc/" + std::to_string(g_serverPid) + "/stat");
  std::string line;
  std::getline(in, line);
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(line.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) stime = std::stoull(field);
  }
  return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

int Usage() {
  std::fprintf(stderr,
               "usage: lobby_load --script PROSODY_SH [--clients N] [--seconds S] [--channel-ms MS] "
               "[--tell-ms MS] [--max-p99-ms MS] [--senders T] [--nice N]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return Usage();
    const char* v = argv[++i];
    if (a == "--script") g_opt.script = v;
    else if (a == "--clients") g_opt.clients = std::atoi(v);
    else if (a == "--seconds") g_opt.seconds = std::atoi(v);
    else if (a == "--channel-ms") g_opt.channelMs = std::atoi(v);
    else if (a == "--tell-ms") g_opt.tellMs = std::atoi(v);
    else if (a == "--max-p99-ms") g_opt.maxP99Ms = std::atoi(v);
    else if (a == "--senders") g_opt.senders = std::atoi(v);
    else if (a == "--nice") {
      g_opt.nice = std::atoi(v);
      g_opt.niceGiven = true;
    }
    else return Usage();
  }
  if (g_opt.script.empty() || g_opt.clients < 2 || g_opt.clients > 999 || g_opt.seconds < 1 ||
      g_opt.channelMs < 10 || g_opt.tellMs < 10 || g_opt.senders < 1)
    return Usage();
  // Threads made from here on inherit the niceness.
  if (g_opt.niceGiven && setpriority(PRIO_PROCESS, 0, g_opt.nice) != 0)
    std::fprintf(stderr, "lobby_load: the niceness could not be set\n");
  if (!StartServer()) {
    std::fprintf(stderr, "lobby_load: no prosody server could be started\n");
    StopServer();
    return 3;
  }
  if (g_opt.niceGiven && g_serverPid > 0) {
    // prosody is one process; its threads, if any, follow its main one.
    const std::string tasks = "/proc/" + std::to_string(g_serverPid) + "/task";
    std::system(("for t in " + tasks + "/*; do renice -n " + std::to_string(g_opt.nice) + " -p \"${t##*/}\" >/dev/null; done")
                    .c_str());
  }
  for (int i = 0; i < g_opt.clients; ++i) g_clients.push_back(std::make_unique<Client>(i));

  // Log in, announce, answer, until everyone knows everyone.
  std::atomic<int> entered{0};
  ForAll(8, [&](Client& c) {
    if (c.Enter()) ++entered;
  });
  int status = 0;
  if (entered != g_opt.clients) {
    std::fprintf(stderr, "lobby_load: %d of %d clients logged in\n", entered.load(), g_opt.clients);
    status = 1;
  }
  if (status == 0) {
    ForAll(g_opt.senders, [](Client& c) { c.Announce(); });
    const auto until = Clock::now() + std::chrono::seconds(60);
    for (;;) {
      ForAll(g_opt.senders, [](Client& c) { c.AnswerPending(); });
      bool all = true;
      for (auto& c : g_clients) {
        std::lock_guard<std::mutex> lock(c->mutex);
        all = all && c->known == g_opt.clients - 1;
      }
      if (all) break;
      if (Clock::now() > until) {
        std::fprintf(stderr, "lobby_load: the announcements did not complete\n");
        status = 1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  // The joins and announcements leave the server fanning out presence for
  // a while: traffic starts once it is quiet (under 5% of a core for a
  // second), at most 30 s on.
  for (int i = 0; status == 0 && i < 30; ++i) {
    const double before = ServerCpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ForAll(g_opt.senders, [](Client& c) { c.AnswerPending(); });
    if (ServerCpuSeconds() - before < 0.05) break;
  }
  double cpuBefore = ServerCpuSeconds(), cpuAfter = cpuBefore;
  if (status == 0) {
    // Traffic: each client's first lines spread over its periods.
    const int64_t start = NowUs();
    g_trafficStart = start;
    for (auto& c : g_clients) {
      c->nextChannelUs = start + int64_t(c->index) * g_opt.channelMs * 1000 / g_opt.clients;
      c->nextTellUs = start + int64_t(c->index) * g_opt.tellMs * 1000 / g_opt.clients;
    }
    const int64_t end = start + int64_t(g_opt.seconds) * 1000000;
    std::vector<std::thread> senders;
    for (int t = 0; t < g_opt.senders; ++t)
      senders.emplace_back([t, end] {
        for (int64_t now = NowUs(); now < end && !g_failed; now = NowUs()) {
          for (size_t i = size_t(t); i < g_clients.size(); i += size_t(g_opt.senders)) g_clients[i]->Tick(now);
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
      });
    for (auto& th : senders) th.join();
    // Let the last lines arrive.
    const auto drainUntil = Clock::now() + std::chrono::seconds(10);
    for (;;) {
      uint64_t expected = 0, got = 0;
      for (auto& r : g_clients) {
        std::lock_guard<std::mutex> lock(r->mutex);
        for (auto& s : g_clients) {
          if (s->index == r->index) continue;
          expected += s->channelSent + s->tellsSent[size_t(r->index)];
          got += r->channel[size_t(s->index)].unique + r->tells[size_t(s->index)].unique;
        }
      }
      if (got >= expected || Clock::now() > drainUntil) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    cpuAfter = ServerCpuSeconds();
  }

  uint64_t sent = 0, expected = 0, delivered = 0, duplicated = 0, outOfOrder = 0, invalid = 0;
  std::vector<int64_t> latencies;
  for (auto& r : g_clients) {
    std::lock_guard<std::mutex> lock(r->mutex);
    invalid += r->invalid;
    latencies.insert(latencies.end(), r->latencies.begin(), r->latencies.end());
    for (auto& s : g_clients) {
      if (s->index == r->index) continue;
      expected += s->channelSent + s->tellsSent[size_t(r->index)];
      const Stream& c = r->channel[size_t(s->index)];
      const Stream& t = r->tells[size_t(s->index)];
      delivered += c.unique + t.unique;
      duplicated += c.duplicated + t.duplicated;
      outOfOrder += c.outOfOrder + t.outOfOrder;
    }
  }
  for (auto& c : g_clients) {
    sent += c->channelSent;
    for (uint32_t n : c->tellsSent) sent += n;
  }
  const uint64_t lost = expected > delivered ? expected - delivered : 0;
  std::sort(latencies.begin(), latencies.end());
  auto percentile = [&](double p) {
    if (latencies.empty()) return 0.0;
    const size_t i = std::min(latencies.size() - 1, size_t(p * double(latencies.size() - 1) + 0.5));
    return double(latencies[i]) / 1000.0;
  };
  const double p50 = percentile(0.50), p99 = percentile(0.99);
  std::printf("clients %d\n", g_opt.clients);
  std::printf("rate: a channel line every %d ms and a tell every %d ms per client, for %d s\n", g_opt.channelMs,
              g_opt.tellMs, g_opt.seconds);
  std::printf("sent %llu, expected deliveries %llu\n", static_cast<unsigned long long>(sent),
              static_cast<unsigned long long>(expected));
  std::printf("delivered %llu\nlost %llu\nduplicated %llu\nout of order %llu\ninvalid %llu\n",
              static_cast<unsigned long long>(delivered), static_cast<unsigned long long>(lost),
              static_cast<unsigned long long>(duplicated), static_cast<unsigned long long>(outOfOrder),
              static_cast<unsigned long long>(invalid));
  std::printf("latency p50 %.1f ms, p99 %.1f ms, max %.1f ms\n", p50, p99,
              latencies.empty() ? 0.0 : double(latencies.back()) / 1000.0);
  // The 99th percentile of each 10-second stretch of the run, by send time.
  {
    std::vector<std::vector<int64_t>> windows;
    for (auto& r : g_clients)
      for (size_t i = 0; i < r->sendTimes.size(); ++i) {
        const size_t w = size_t(std::max<int64_t>(0, r->sendTimes[i] - g_trafficStart) / 10000000);
        if (windows.size() <= w) windows.resize(w + 1);
        windows[w].push_back(r->latencies[i]);
      }
    std::printf("p99 by 10 s:");
    for (auto& w : windows) {
      std::sort(w.begin(), w.end());
      std::printf(" %.0f", w.empty() ? 0.0 : double(w[std::min(w.size() - 1, size_t(0.99 * double(w.size() - 1) + 0.5))]) / 1000.0);
    }
    std::printf(" ms\n");
  }
  std::printf("server CPU time %.2f s\n", cpuAfter - cpuBefore);

  if (lost || duplicated || outOfOrder || invalid || g_failed || expected == 0) status = 1;
  if (g_opt.maxP99Ms > 0 && p99 > g_opt.maxP99Ms) status = 1;
  std::printf("%s\n", status == 0 ? "PASS" : "FAIL");

  ForAll(8, [](Client& c) { c.Leave(); });
  g_clients.clear();
  StopServer();
  return status;
}
