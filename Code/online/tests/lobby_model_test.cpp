#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "lobby_model.h"

namespace {

OnlineUserEntry User(const char* nick, uint32_t id, uint32_t blitz = 1600, uint32_t games = 20) {
  OnlineUserEntry e;
  e.id = id;
  std::strncpy(e.user.nickname, nick, kNameSize - 1);
  e.user.word4 = 1;
  for (auto& r : e.user.ratings) r = {games, blitz};
  return e;
}

int Cmp(const char* a, const char* b) { return std::strcmp(a, b); }

std::vector<std::string> Column(const LobbyPage& page, size_t column) {
  std::vector<std::string> out;
  for (const LobbyRow& r : page.rows()) out.push_back(r.texts[column]);
  return out;
}

}  // namespace

TEST(LobbyPlayers, RowsSortAndFlipOnASecondClick) {
  LobbyPage page(Cmp);
  OnlineUserEntry b = User("bob", 2, 1700, 5), a = User("alice", 1, 1500), z = User("Zed", 3, 0, 0);
  z.user.word4 = 0;  // a guest: no ratings shown
  b.user.state = USER_PLAYING;
  b.flags = 1;  // ignored
  for (auto* e : {&b, &a, &z}) page.Insert(MakeLobbyPlayerRow(*e));
  EXPECT_EQ(Column(page, 0), (std::vector<std::string>{"Zed", "alice", "bob"}));  // case-sensitive order
  const LobbyRow& bob = page.rows()[2];
  EXPECT_EQ(bob.texts, (std::vector<std::string>{"bob", "Playing", "1700/5", "1700/5", "1700/5"}));
  EXPECT_TRUE(bob.highlighted);
  EXPECT_EQ(page.rows()[0].texts[3], "****");
  EXPECT_EQ(page.rows()[1].texts[3], "1500");
  page.ClickColumn(3);  // Blitz, ascending
  EXPECT_EQ(Column(page, 0), (std::vector<std::string>{"Zed", "alice", "bob"}));
  page.ClickColumn(3);  // again: descending
  EXPECT_FALSE(page.ascending());
  EXPECT_EQ(Column(page, 0), (std::vector<std::string>{"bob", "alice", "Zed"}));
  // New rows go in the current order.
  page.Insert(MakeLobbyPlayerRow(User("carl", 4, 1600)));
  EXPECT_EQ(Column(page, 0), (std::vector<std::string>{"bob", "carl", "alice", "Zed"}));
  page.ClickColumn(0);
  EXPECT_TRUE(page.ascending());
  EXPECT_EQ(Column(page, 0), (std::vector<std::string>{"Zed", "alice", "bob", "carl"}));
  EXPECT_EQ(page.Remove("alice"), 1);
  EXPECT_EQ(page.Remove("alice"), -1);
  EXPECT_EQ(LobbyCounterText(LOBBY_PLAYERS, page.rows().size()), "Players Online: 3");
}

TEST(LobbyGames, OneRowPerGameWithTheCategoryRatings) {
  std::vector<OnlineUserEntry> users = {User("white", 1, 1810, 30), User("black", 2, 1420, 7)};
  users[1].user.ratings[0] = {3, 1234};  // Bullet
  OnlineGameDescriptor g;
  for (int i = 0; i < 16; ++i) g.guid[i] = uint8_t(i + 1);
  g.flags = kTimeMinutesPerGame | kGameRated;
  g.base = 2;  // Bullet
  std::strcpy(g.white, "white");
  std::strcpy(g.black, "black");
  for (auto& u : users) u.user.game = g;
  auto find = [&](const std::string& n) -> const OnlineUserEntry* {
    for (auto& u : users)
      if (n == u.user.nickname) return &u;
    return nullptr;
  };
  LobbyPage page(Cmp);
  for (auto& u : users) {
    LobbyRow row = MakeLobbyGameRow(u.user, find);
    if (page.Find(row.key) < 0) page.Insert(row);
  }
  ASSERT_EQ(page.rows().size(), 1u);
  const LobbyRow& row = page.rows()[0];
  EXPECT_EQ(row.texts, (std::vector<std::string>{"white", "1810", "black", "1234/3", "R-Bullet", "2m"}));
  EXPECT_TRUE(row.highlighted);  // nobody may view it
  EXPECT_EQ(LobbyCounterText(LOBBY_GAMES, 1), "Games in Progress: 1");
  g.flags = kTimeFischer | kGameViewersAllowed;
  g.base = 10;
  g.bonus = 8;
  users[0].user.game = g;
  LobbyRow open = MakeLobbyGameRow(users[0].user, [](const std::string&) { return nullptr; });
  EXPECT_EQ(open.texts, (std::vector<std::string>{"white", "****", "black", "****", "U-Standard", "10/8"}));
  EXPECT_FALSE(open.highlighted);
  EXPECT_TRUE(HasGame(users[0].user));
  EXPECT_FALSE(HasGame(User("x", 9).user));
}

TEST(LobbyChallenges, RangeColourAndHighlight) {
  struct Case {
    uint32_t minimum, maximum, own;
    const char* range;
    bool highlighted;
  } cases[] = {
      {0, 9999, 1600, "Any Rating", false},
      {0, 1500, 1600, "1500 or less", true},
      {1700, 9999, 1600, "1700 or greater", true},
      {1500, 1700, 1600, "1500-1700", false},
      {1600, 1600, 1600, "1600-1600", false},
  };
  for (const Case& c : cases) {
    OnlineUserEntry e = User("poster", 3, 1550, 2);
    e.user.challenge.head[0] = 7;
    e.user.challenge.timeType = kTimeFischer | kGameRated;
    e.user.challenge.base = 5;
    e.user.challenge.bonus = 3;
    e.user.challenge.word7 = 1;
    e.user.challenge.lowestRating = c.minimum;
    e.user.challenge.highestRating = c.maximum;
    ASSERT_TRUE(HasPostedChallenge(e.user));
    LobbyRow row = MakeLobbyChallengeRow(e.user, c.own);
    EXPECT_EQ(row.texts,
              (std::vector<std::string>{"poster", "1550/2", "Blitz", "5/3", "R", "White", c.range}));
    EXPECT_EQ(row.highlighted, c.highlighted) << c.range;
  }
  EXPECT_STREQ(FormatChallengeColour(0), "Black");
  EXPECT_STREQ(FormatChallengeColour(3), "????");
  EXPECT_FALSE(HasPostedChallenge(User("x", 1).user));
  EXPECT_EQ(LobbyCounterText(LOBBY_CHALLENGES, 0), "Posted Challenges: 0");
}

TEST(LobbyMenus, GamesAndChallengesPages) {
  auto texts = [](const std::vector<PlayerMenuEntry>& m) {
    std::vector<std::string> out;
    for (auto& e : m) out.push_back(e.text);
    return out;
  };
  LobbyRow game;
  game.first = "ann";
  game.second = "ben";
  game.firstRegistered = true;
  game.viewable = true;
  EXPECT_EQ(texts(MakeGamesPageMenu(game, false, true)),
            (std::vector<std::string>{"View profile for ann", "View game ann vs. ben", "Add ann to buddy list",
                                      "Remove ben from buddy list"}));
  EXPECT_EQ(MakeGamesPageMenu(game, false, true)[3].command, kMenuRemoveSecondBuddy);
  LobbyRow posted;
  posted.first = "cy";
  ChallengeMenuFacts f;
  f.canAccept = true;
  EXPECT_EQ(texts(MakeChallengesPageMenu(posted, f)),
            (std::vector<std::string>{"Accept cy's challenge", "Ignore cy", "Add cy to Buddy List"}));
  f.own = true;
  EXPECT_TRUE(MakeChallengesPageMenu(posted, f).empty());
  EXPECT_EQ(LobbyColumnTitles(LOBBY_CHALLENGES).size(), 7u);
}
