#include "game_registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "fake_game_host.h"
#include "game_record.h"

namespace {

GameRecord* Game() {
  return CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0);
}

class GameRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(InitGameRegistry()); }
  void TearDown() override {
    DestroyAllGames();
    FreeGameRegistry();
  }
  FakeGameHost host;
};

TEST_F(GameRegistryTest, TenGamesAndTheEleventhRefused) {
  std::vector<GameRecord*> games;
  for (int i = 0; i < kMaxRegisteredGames; ++i) {
    games.push_back(Game());
    EXPECT_EQ(RegisterGame(games.back(), 100 + i), 0) << i;
  }
  GameRecord* eleventh = Game();
  EXPECT_EQ(RegisterGame(eleventh, 200), -1);
  EXPECT_EQ(CountRegisteredGames(), 10);
  EXPECT_EQ(FindGameByGuid(&eleventh->id), nullptr);
  EXPECT_EQ(GetGameForOwner(200), nullptr);
  EXPECT_EQ(GetGameForOwner(105), games[5]);
  EXPECT_EQ(FindGameByGuid(&games[7]->id), games[7]);
  EXPECT_EQ(GetCurrentGame(), games[0]);
  EXPECT_EQ(RegisterGame(games[3], 1), -1);  // already registered
  DestroyGame(eleventh);                     // the caller keeps what was refused
}

TEST_F(GameRegistryTest, UnregisteringTheCurrentGameMakesTheFirstCurrent) {
  GameRecord* a = Game();
  GameRecord* b = Game();
  GameRecord* c = Game();
  for (GameRecord* g : {a, b, c}) ASSERT_EQ(RegisterGame(g, 1), 0);
  EXPECT_EQ(SetCurrentGame(c), a);
  EXPECT_EQ(SetCurrentGame(nullptr), c);  // none changes nothing
  EXPECT_EQ(GetCurrentGame(), c);
  UnregisterGame(&c->id);
  EXPECT_EQ(GetCurrentGame(), a);
  EXPECT_EQ(CountRegisteredGames(), 2);
  EXPECT_EQ(FindGameByGuid(&c->id), nullptr);
  DestroyGame(c);  // unregistered games stay the caller's
  UnregisterGame(&b->id);
  EXPECT_EQ(GetCurrentGame(), a);
  UnregisterGame(&a->id);
  EXPECT_EQ(GetCurrentGame(), nullptr);
  DestroyGame(a);
  DestroyGame(b);
}

TEST_F(GameRegistryTest, NilGuidIsReplaced) {
  GameRecord* g = Game();
  std::memset(&g->id, 0, sizeof g->id);
  ASSERT_EQ(RegisterGame(g, 3), 0);
  EXPECT_FALSE(GuidIsNil(&g->id));
  EXPECT_EQ(FindGameByGuid(&g->id), g);
  auto* entry = static_cast<GameRegistryEntry*>(GetGameRegistry()->first->data);
  EXPECT_EQ(std::memcmp(&entry->guid, &g->id, sizeof g->id), 0);
}

TEST_F(GameRegistryTest, DestroyingARegisteredGameLeavesNoDanglingEntry) {
  GameRecord* a = Game();
  GameRecord* b = Game();
  ASSERT_EQ(RegisterGame(a, 1), 0);
  ASSERT_EQ(RegisterGame(b, 2), 0);
  Guid id = a->id;
  DestroyGame(a);
  EXPECT_EQ(FindGameByGuid(&id), nullptr);
  EXPECT_EQ(GetCurrentGame(), b);
  EXPECT_EQ(CountRegisteredGames(), 1);
}

}  // namespace
