// The player profile's texts and its block of lobby-stored rated games.
#include "player_profile_core.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

LobbyGameList ThreeGames() {
  LobbyGameList l;
  l.count = 3;
  for (uint8_t i = 0; i < 3; ++i) {
    l.slots[i][kSlotGuidOffset] = uint8_t(i + 1);  // identifiers 1, 2, 3
    l.slots[i][kSlotUsedOffset] = 'G';
    l.slots[i][76] = uint8_t('A' + i);
  }
  return l;
}

}  // namespace

TEST(PlayerProfile, RatedGamesPage) {
  RatingBlockData b[3];
  b[0].counters[WINS_WHITE] = 2;
  b[0].counters[WINS_BLACK] = 1;
  b[1].counters[DRAWS_BLACK] = 4;
  b[2].counters[LOSSES_WHITE] = 5;
  for (int i = 0; i < 3; ++i) {
    b[i].rating = 1500 + i;
    b[i].highest = 1600 + i;
    b[i].date = "03/07/26 14:05:09";
  }
  EXPECT_EQ(RatedGamesPageText(b),
            "\t     BULLET\t       BLITZ\t        STANDARD\r\n\r\n"
            " Wins:\t       3\t        0\t            0\r\n"
            " Losses:\t       0\t        0\t            5\r\n"
            " Draws:\t       0\t        4\t            0\r\n"
            "\r\n Rating:\t      1500\t      1501\t          1502\r\n"
            " High Rating:  1600\t      1601\t          1602\r\n"
            " High Date:  03/07/26\t     03/07/26\t         03/07/26\r\n");
  EXPECT_EQ(RatedGameStatsRating(1640, 20), "1640/20");
  EXPECT_EQ(RatedGameStatsRating(1640, 21), "1640");
  EXPECT_EQ(OpponentLines({{"Tarn - Age 12", 2, 1, 0}}), std::vector<std::string>{"Tarn - Age 12 (+2 -1 =0)"});
}

TEST(PlayerProfile, RemovingTheSecondOfThreeEntries) {
  LobbyGameList l = ThreeGames();
  const uint8_t second[16] = {2};
  ASSERT_TRUE(RemoveRatedGameEntry(&l, second));
  EXPECT_EQ(l.count, 2u);
  EXPECT_EQ(l.slots[0][kSlotGuidOffset], 1);
  EXPECT_EQ(l.slots[1][kSlotGuidOffset], 3);
  EXPECT_EQ(l.slots[1][76], 'C');
  for (size_t k = 0; k < kGameListSlotSize; ++k) EXPECT_EQ(l.slots[2][k], 0) << k;
  // Nothing matches: unchanged; a nil identifier matches no empty slot.
  const LobbyGameList before = l;
  const uint8_t nil[16] = {}, absent[16] = {9};
  EXPECT_FALSE(RemoveRatedGameEntry(&l, nil));
  EXPECT_FALSE(RemoveRatedGameEntry(&l, absent));
  EXPECT_EQ(std::memcmp(&before, &l, sizeof l), 0);
  // A count beyond the ten slots from the online layer is held to ten.
  l.count = 4000000000u;
  HoldRatedGamesCount(&l);
  EXPECT_EQ(l.count, 10u);
  EXPECT_FALSE(RemoveRatedGameEntry(&l, absent));
}
