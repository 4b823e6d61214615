#include "header_access.h"

#include <gtest/gtest.h>

#include <string>

#include "files_test_support.h"

namespace {

TEST(GameHeaderAccess, TitleRule) {
  char out[128];
  CleanTitleText("C:\\games\\who? \"me\" <a|b>*", out);
  EXPECT_STREQ(out, "C--games-who- -me- -a-b--");
  CleanTitleText("\x01\x8a\x80\xe9", out);
  EXPECT_STREQ(out, "-\x8a-\xe9");
  CleanTitleText(std::string(200, 'x').c_str(), out);
  EXPECT_EQ(std::string(out).size(), 127u);
}

TEST(GameHeaderAccess, FieldsAreCutToTheirWidth) {
  GamePtr game = MakeGame();
  SetGameSite(game.get(), std::string(300, 's').c_str());
  EXPECT_EQ(std::string(GetGameSite(game.get())).size(), 127u);
  SetGameRound(game.get(), "123456789012345");
  EXPECT_STREQ(GetGameRound(game.get()), "12345678901");
  SetPlayerElo(game.get(), 1, "2750x");
  SetPlayerElo(game.get(), 0, "1800");
  EXPECT_STREQ(GetPlayerElo(game.get(), 1), "2750");
  EXPECT_STREQ(GetPlayerElo(game.get(), 2), "1800");
  SetGameEco(game.get(), "B12");
  SetGameEco(game.get(), "");
  EXPECT_STREQ(GetGameEco(game.get()), "B12");
  SetGameEco(game.get(), "C456");
  EXPECT_STREQ(GetGameEco(game.get()), "C45");
  SetGameAnnotator(game.get(), std::string(40, 'a').c_str());
  EXPECT_EQ(std::string(GetGameAnnotator(game.get())).size(), 31u);
  SetPlayerName(game.get(), 1, "Anna");
  EXPECT_STREQ(game->white.name, "Anna");
  EXPECT_STREQ(GetGameRemarks(game.get()), "");
  ASSERT_TRUE(SetGameRemarks(game.get(), "a fine game"));
  EXPECT_STREQ(GetGameRemarks(game.get()), "a fine game");
}

TEST(GameHeaderAccess, DefaultsAndDate) {
  char date[20];
  FormatHeaderDate(2026, 12, 8, date);
  EXPECT_STREQ(date, "12-8-2026");
  FormatHeaderDate(70, 1, 2, date);
  EXPECT_STREQ(date, "1-2-2070");
  FormatHeaderDate(99, 1, 2, date);
  EXPECT_STREQ(date, "1-2-1999");
  GamePtr game = MakeGame();
  SetGameRemarks(game.get(), "old");
  SetGameResult(game.get(), 11);
  InitGameHeader(game.get(), "Rookwell", 2026, 12, 8);
  EXPECT_EQ(game->header.marker, 0x1A);
  EXPECT_EQ(game->header.version, 8);
  EXPECT_STREQ(game->header.date, "12-8-2026");
  EXPECT_STREQ(game->header.banner, "Rookwell");
  EXPECT_EQ(GetGameResult(game.get()), 0u);
  EXPECT_STREQ(GetGameRemarks(game.get()), "");
}

}  // namespace
