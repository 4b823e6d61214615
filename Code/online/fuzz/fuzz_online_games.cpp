// Fuzzes the live-game handlers over real game records: alice plays bob a
// game already four plies in; alice's session gets arbitrary records, most
// of them from bob, some from carol, who looks on. Questions are answered
// yes and no in turn.
// Input: records of [u8 kind, u8 sender, u16 length, bytes].
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "../tests/fake_lobby.h"
#include "game_host.h"
#include "game_record.h"
#include "notation.h"
#include "online_games.h"

namespace {

struct Hooks : OnlineGameHooks {
  int32_t NewRating(uint32_t r, uint32_t, uint32_t, uint32_t, int score) override {
    return int32_t(r) + (score == 1 ? 8 : score == 0 ? -8 : 0);
  }
  void ShowGame(GameRecord*) override {}
  void OrientBoard(bool) override {}
  void GameChanged(int) override {}
  void MenusChanged() override {}
  bool InOnlineRoom() override { return true; }
  bool ChallengesBlocked() override { return false; }
  void StoreRatings(const NetUserData&, bool) override {}
  OnlineProfileBlock OwnProfile() override { return {}; }
  void ShowProfile(const std::string& n, const OnlineProfileBlock& p) override {
    volatile size_t sum = n.size() + std::strlen(p.userName) + std::strlen(p.secondText);
    (void)sum;
  }
  void ShowPostedGames(const std::string& n, const LobbyGameList& l) override {
    volatile size_t sum = n.size() + l.count;
    (void)sum;
  }
  void ResumeStoredGame(const OnlineGameSnapshot& s) override {
    volatile size_t sum = s.moves.size();
    (void)sum;
  }
};

OnlineGames* g_games = nullptr;
struct Host : GameHost {
  void EndOnlineGame(int result) override {
    if (g_games) g_games->EndOnlineGame(uint32_t(result));
  }
  void SendOnlineMove(const MoveRecord* move) override {
    if (g_games && move) g_games->SendOnlineMove(*move);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Host host;
  SetGameHost(&host);
  FakeLobby lobby;
  Hooks hooks;
  lobby.Add("alice");
  lobby.Add("bob");
  lobby.Add("carol");
  for (uint32_t id = 1; id <= 3; ++id) lobby.Login(id);
  lobby.Pump();
  OnlineSession& s = *lobby.At(1).session;
  auto games = std::make_unique<OnlineGames>(s, hooks);
  games->Install();
  g_games = games.get();
  FakeHooks& fake = *lobby.At(1).hooks;
  fake.onEnd = [&](uint32_t r) { games->EndOnlineGame(r); };
  OnlineGameDescriptor d;
  d.guid[0] = 1;
  d.flags = kTimeFischer | kGameRated | kGameViewersAllowed | kGameTakebacksAllowed;
  d.base = 5;
  d.bonus = 3;
  std::strcpy(d.white, "alice");
  std::strcpy(d.black, "bob");
  std::strcpy(d.author, "bob");
  if (games->BeginOnlineGame(d, nullptr)) {
    for (const char* text : {"e4", "e5", "Nf3", "Nc6"}) {
      GameRecord* g = games->Game();
      MoveRecord move{};
      if (!g || !ParseAlgebraicMove(&move, text, &g->position, g->sideToMove)) break;
      PlayMove(g, &move, false);
    }
  }
  // Nothing sent by alice is delivered: only the fuzzer talks to her.
  for (auto& p : lobby.pending) delete p.second;
  lobby.pending.clear();
  bool yes = true;
  while (size >= 4 && s.IsOpen()) {
    fake.answer = (yes = !yes);
    uint32_t kind = data[0] % 8;
    uint32_t sender = data[1] % 4 == 3 ? 3 : 2;
    size_t n = data[2] | data[3] << 8;
    data += 4;
    size -= 4;
    if (n > size) n = size;
    auto* r = new LobbyEvent;
    r->kind = kind == 1 || kind >= 4 ? 0 : kind;  // mostly peer data; some gone and login records
    r->senderId = sender;
    r->data.assign(data, data + n);
    s.QueueLobbyEvent(r);
    for (auto& p : lobby.pending) delete p.second;
    lobby.pending.clear();
    data += n;
    size -= n;
  }
  fake.onEnd = nullptr;
  g_games = nullptr;
  games.reset();
  SetGameHost(nullptr);
  return 0;
}
