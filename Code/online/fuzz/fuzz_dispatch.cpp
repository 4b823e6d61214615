// Fuzzes the session's record handling: a session holding alice (itself),
// bob and a running game between them gets arbitrary records.
// Input: records of [u8 kind, u8 sender, u16 length, bytes].
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "../tests/fake_lobby.h"

namespace {

void Setup(FakeLobby& lobby) {
  lobby.Add("alice");
  lobby.Add("bob");
  lobby.Login(1);
  lobby.Login(2);
  lobby.Pump();
  OnlineSession& s = *lobby.At(1).session;
  OnlineGameDescriptor g;
  g.guid[0] = 1;
  g.flags = 0x1A2;
  std::strcpy(g.white, "alice");
  std::strcpy(g.black, "bob");
  s.own.game = g;
  s.game.playing = 1;
  s.game.ownWhite = 1;
  // Every game handler touches what it was given, so that ASan sees it.
  for (uint32_t t = 1; t <= 101; ++t) {
    if (t >= 23 && t <= 27) continue;
    s.RegisterPeerHandler(t, [](OnlineSession& ss, const PeerMessage& m, uint32_t sender) {
      volatile size_t sum = m.text.size() + m.moves.size() + m.snapshot.moves.size() +
                            std::strlen(m.game.white) + std::strlen(m.user.nickname) +
                            std::strlen(m.profile.secondText) + ss.SenderSide(sender);
      (void)sum;
    });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeLobby lobby;
  Setup(lobby);
  OnlineSession& s = *lobby.At(1).session;
  while (size >= 4 && s.IsOpen()) {
    uint32_t kind = data[0] % 8;
    uint32_t sender = data[1] % 4;
    size_t n = data[2] | data[3] << 8;
    data += 4;
    size -= 4;
    if (n > size) n = size;
    auto* r = new LobbyEvent;
    r->kind = kind;
    r->senderId = sender;
    r->addressKind = 2;
    r->data.assign(data, data + n);
    s.QueueLobbyEvent(r);
    data += n;
    size -= n;
  }
  return 0;
}
