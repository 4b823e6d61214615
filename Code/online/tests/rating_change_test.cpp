#include "rating_change.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fake_lobby.h"

TEST(RatingChange, OnlyPlayedOutGamesChangeRatings) {
  for (uint32_t r : {9u, 10u, 11u, 12u, 13u}) EXPECT_TRUE(ResultChangesRating(r)) << r;
  for (uint32_t r : {0u, 14u, 15u, 16u, 17u}) EXPECT_FALSE(ResultChangesRating(r)) << r;
}

TEST(RatingChange, CountsTheBlockAndTheHighest) {
  NetUserData d;
  d.blocks[1].rating = d.blocks[1].highest = 1600;
  d.blocks[1].wonWhite = 1;
  d.blocks[1].averageOpponent = 1500;
  CountRatedGame(&d, 1, 1620, 1, true, 1700, "12/11/26 02:50");
  EXPECT_EQ(d.blocks[1].wonWhite, 2u);
  EXPECT_EQ(d.blocks[1].rating, 1620u);
  EXPECT_EQ(d.blocks[1].highest, 1620u);
  EXPECT_STREQ(d.blocks[1].highestWhen, "12/11/26 02:50");
  EXPECT_EQ(d.blocks[1].averageOpponent, 1600u);  // (1500 × 1 + 1700) / 2
  CountRatedGame(&d, 1, 1610, 0, false, 1400, "later");
  EXPECT_EQ(d.blocks[1].lostBlack, 1u);
  EXPECT_EQ(d.blocks[1].highest, 1620u);
  EXPECT_STREQ(d.blocks[1].highestWhen, "12/11/26 02:50");
  EXPECT_EQ(d.blocks[1].averageOpponent, 1533u);  // (1600 × 2 + 1400) / 3
  CountRatedGame(&d, 1, 1610, 2, false, 1600, "later");
  EXPECT_EQ(d.blocks[1].drawnBlack, 1u);
  EXPECT_STREQ(TimeExpiredText(16), "White's time has expired");
  EXPECT_STREQ(TimeExpiredText(32), "Black's time has expired");
  EXPECT_STREQ(kIllegalMoveText, "Illegal move received");
}

TEST(RatingChange, SavedOnTheServerThenAnnounced) {
  FakeLobby lobby;
  OnlineSession& s = lobby.Add("alice");
  lobby.Login(1);
  s.game.ownWhite = 1;
  ASSERT_TRUE(s.SaveRatingChange(0, 1616, 1, 1600));
  NetUserData stored;
  ASSERT_TRUE(UnpackNetUserData(lobby.store["alice"]["RWL_NETUSERDATA"].data(), kNetUserDataSize, &stored));
  EXPECT_EQ(stored.blocks[0].rating, 1616u);
  EXPECT_EQ(stored.blocks[0].wonWhite, 1u);
  EXPECT_EQ(s.own.ratings[0].rating, 1616u);
  EXPECT_EQ(s.own.ratings[0].games, 1u);
  auto& last = lobby.At(1).link->sent.back();
  EXPECT_EQ(last[4], MSG_USER_UPDATE);
  EXPECT_EQ(last[8], 2);  // mask: Bullet

  lobby.At(1).link->putResult = -3;
  EXPECT_FALSE(s.SaveRatingChange(0, 1630, 1, 1600));
  EXPECT_EQ(lobby.At(1).hooks->modeless.back(), "Unable to save rating change to network database");
  EXPECT_EQ(s.own.ratings[0].rating, 1616u);
  EXPECT_EQ(s.netUserData.blocks[0].wonWhite, 1u);
}
