// The rated-game fields of the user's record: read, changed and written
// back through the user file, nothing else in the record touched.
#include <gtest/gtest.h>

#include <cstring>

#include "user_file.h"
#include "user_ratings.h"

TEST(UserRatings, RoundTripThroughTheUserFileLeavesTheOtherFieldsAlone) {
  UserProfile user{};
  MakeNewUserProfile(&user, "Ann", "likes gambits", "03/04/26 10:11:12");
  user.reserved[0] = 9;    // a kids room counter of the teaching side
  user.table[5] = 77;      // curriculum progress
  RatedRecord r = ReadRatedRecord(user);
  EXPECT_EQ(r.overall, 1600);
  EXPECT_EQ(r.ratedGames, 0);
  EXPECT_EQ(r.blocks[1].rating, 1600);
  EXPECT_EQ(r.blocks[1].highest, 1600);
  EXPECT_EQ(r.blocks[1].date, "03/04/26 10:11:12");
  EXPECT_TRUE(r.results.empty());

  r.overall = 1636;
  r.ratedGames = 11;
  r.kidsRoomBeaten = 2;
  r.blocks[2].rating = 1540;
  r.blocks[2].counters[LOSSES_BLACK] = 3;
  r.results = {{"Rookwell", 1, 2, 3}, {"HWB", 4, 0, 0}};
  StoreRatedRecord(r, &user);

  const std::vector<uint8_t> file = EncodeUserFile(user);
  UserProfile back{};
  ASSERT_TRUE(DecodeUserFile(file.data(), file.size(), &back));
  const RatedRecord again = ReadRatedRecord(back);
  EXPECT_EQ(again.overall, 1636);
  EXPECT_EQ(back.baseRating, 1636);  // the word at offset 544
  EXPECT_EQ(again.ratedGames, 11);
  EXPECT_EQ(again.kidsRoomBeaten, 2);
  EXPECT_EQ(again.blocks[2].rating, 1540);
  EXPECT_EQ(again.blocks[2].Losses(), 3u);
  ASSERT_EQ(again.results.size(), 2u);
  EXPECT_EQ(again.results[1].name, "HWB");
  EXPECT_EQ(again.results[0].draws, 3u);
  EXPECT_EQ(back.reserved[0], 9);
  EXPECT_EQ(back.table[5], 77);
  EXPECT_STREQ(back.description, "likes gambits");
  FreeUserLists(&user);
  FreeUserLists(&back);
}
