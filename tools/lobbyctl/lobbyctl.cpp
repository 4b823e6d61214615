// lobbyctl: one account of the lobby service from the command line.
//
//   lobbyctl [--host H] [--port P] [--domain D] [--rooms R] [--fingerprint SHA256]
//            --user NAME --password PW COMMAND
//     register              create the account in-band
//     get KEY               print the stored value (exit 3 when nothing is stored)
//     put KEY VALUE         store a value ("" erases)
//     join [SECONDS]        join "RWLIVE" and print who comes and goes (default 5 s)
//     send TEXT [NICK...]   join, send TEXT to the room or privately to each NICK, leave
//     listen SECONDS        join, say "joined ROOM", and print every event until the time is up
//
// Events print as "join ID NICK", "leave ID NICK", "data ID NICK TEXT".
// Exit status: 0 done, 1 failure (the reason on stderr), 2 usage, 3 nothing stored.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "rwlive_service.h"
#include "xmpp_client.h"

using namespace lobbysvc;

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: lobbyctl [--host H] [--port P] [--domain D] [--rooms R] "
               "[--fingerprint SHA256] --user NAME "
               "--password PW register | get KEY | put KEY VALUE | join [SECONDS] | "
               "send TEXT [NICK...] | listen SECONDS\n");
  return 2;
}

int Fail(const XmppClient& c, const char* what) {
  std::fprintf(stderr, "lobbyctl: %s: %s\n", what, c.Error().c_str());
  return 1;
}

std::mutex printMutex;

}  // namespace

int main(int argc, char** argv) {
  XmppSettings s;
  std::string rooms;
  int i = 1;
  for (; i + 1 < argc && std::strncmp(argv[i], "--", 2) == 0; i += 2) {
    const std::string opt = argv[i], value = argv[i + 1];
    if (opt == "--host") s.host = value;
    else if (opt == "--port") s.port = static_cast<uint16_t>(std::atoi(value.c_str()));
    else if (opt == "--domain") s.domain = value;
    else if (opt == "--rooms") rooms = value;
    else if (opt == "--user") s.account = value;
    else if (opt == "--password") s.password = value;
    else if (opt == "--fingerprint") s.tlsFingerprint = value;
    else return Usage();
  }
  if (i >= argc || s.account.empty()) return Usage();
  const std::string command = argv[i++];
  const std::vector<std::string> args(argv + i, argv + argc);
  if (rooms.empty()) rooms = "rooms." + s.domain;
  // Only a server on this machine may be spoken to in the clear.
  s.requireTls = !IsLoopbackHost(s.host);
  const std::string room = "rwlive@" + rooms;

  XmppClient client(s);
  if (command == "register") return client.Register() ? 0 : Fail(client, "register");
  if (!client.Login()) return Fail(client, "login");

  if (command == "get" && args.size() == 1) {
    std::string value;
    switch (client.Get(args[0], &value)) {
      case XmppClient::Fetch::kValue:
        std::fwrite(value.data(), 1, value.size(), stdout);
        std::fputc('\n', stdout);
        return 0;
      case XmppClient::Fetch::kNothingStored:
        return 3;
      case XmppClient::Fetch::kFailed:
        return Fail(client, "get");
    }
  }
  if (command == "put" && args.size() == 2)
    return client.Put(args[0], args[1]) ? 0 : Fail(client, "put");

  const bool joinLike = command == "join" || command == "listen";
  if (!(joinLike && args.size() <= 1) && !(command == "send" && !args.empty())) return Usage();

  auto print = [&client](const RoomEvent& e) {
    const auto nick = client.NickOf(e.id);
    std::lock_guard<std::mutex> lock(printMutex);
    const char* who = nick ? nick->c_str() : "?";
    if (e.kind == RoomEvent::kJoined) std::printf("join %u %s\n", e.id, who);
    if (e.kind == RoomEvent::kLeft) std::printf("leave %u %s\n", e.id, who);
    if (e.kind == RoomEvent::kData) std::printf("data %u %s %s\n", e.id, who, e.data.c_str());
    std::fflush(stdout);
  };
  if (!client.JoinRoom(room, s.account, joinLike ? XmppClient::RoomHandler(print) : nullptr))
    return Fail(client, "join");
  if (joinLike) {
    // A listener says when it is in: what others send from then on reaches it.
    std::lock_guard<std::mutex> lock(printMutex);
    std::printf("joined %s\n", room.c_str());
    std::fflush(stdout);
  }

  if (command == "send") {
    std::vector<uint32_t> ids;
    for (size_t k = 1; k < args.size(); ++k) {
      uint32_t id = 0;
      // The room shows its occupants just before our own presence.
      for (int tries = 0; tries < 100 && !id; ++tries) {
        for (uint32_t n = 1; n < 4096 && !id; ++n) {
          const auto nick = client.NickOf(n);
          if (!nick) break;
          if (*nick == args[k]) id = n;
        }
        if (!id) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      if (!id) {
        std::fprintf(stderr, "lobbyctl: %s is not in the room\n", args[k].c_str());
        return 1;
      }
      ids.push_back(id);
    }
    const bool ok = client.SendToRoom(args[0], ids.empty() ? nullptr : &ids);
    client.LeaveRoom();
    client.Close();
    return ok ? 0 : Fail(client, "send");
  }
  const int seconds = args.empty() ? 5 : std::atoi(args[0].c_str());
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (client.Connected() && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (!client.Connected()) return Fail(client, "connection");
  client.LeaveRoom();
  client.Close();
  return 0;
}
