// The view list's rows and actions over a table of four logged-in copies:
// alice (the own copy), bob, carol and dave.
#include "view_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "fake_lobby.h"

namespace {

struct ViewListTest : ::testing::Test {
  FakeLobby lobby;
  OnlineGameDescriptor game;  // carol (White) against dave

  void SetUp() override {
    for (const char* name : {"alice", "bob", "carol", "dave"}) lobby.Add(name);
    std::remove(ini.c_str());
    S(1).OpenNameLists(ini);  // the ignore list lives in the settings file
    for (uint32_t id = 1; id <= 4; ++id) lobby.Login(id);
    lobby.Pump();
    game.guid[0] = 0x31;
    game.flags = kTimeFischer | kGameRated;
    game.base = 5;
    game.bonus = 3;
    std::strcpy(game.white, "carol");
    std::strcpy(game.black, "dave");
  }
  OnlineSession& S(uint32_t id) { return *lobby.At(id).session; }
  void TearDown() override { std::remove(ini.c_str()); }
  std::string ini = ::testing::TempDir() + "rw_view_list.ini";
  void Play(uint32_t id, const OnlineGameDescriptor& d, uint32_t state = USER_PLAYING) {
    S(id).own.state = state;
    S(id).own.game = d;
    S(id).SendOwnUpdate(16);
    lobby.Pump();
  }
  static std::vector<std::string> Names(const std::vector<ViewListRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.texts.at(0));
    return out;
  }
};

}  // namespace

TEST_F(ViewListTest, EachModeHasItsCaptionAndButtons) {
  struct Case {
    int mode;
    const char* caption;
    const char* action;
    const char* close;
  } cases[] = {{0, "View Game", "View", "C&lose"},
               {1, "View Player", "View", "C&lose"},
               {2, "Ignore Player", "Ignore", "C&lose"},
               {3, "Unignore player", "Unignore", "C&lose"},
               {4, "Game Viewers", nullptr, "C&lose"},
               {5, "Add Buddy", "Add", "C&lose"},
               {6, "Remove Buddy", "Remove", "C&lose"},
               {7, "Buddies", nullptr, "Close"},
               {8, "Buddies Currently Connected", nullptr, "Close"}};
  for (const Case& c : cases) {
    const ViewListModeInfo m = GetViewListModeInfo(c.mode);
    EXPECT_STREQ(m.caption, c.caption);
    EXPECT_EQ(m.action == nullptr, c.action == nullptr) << c.mode;
    if (c.action) EXPECT_STREQ(m.action, c.action);
    EXPECT_STREQ(m.close, c.close);
    EXPECT_EQ(ViewListColumns(c.mode).size(), c.mode == 0 ? 6u : 1u);
  }
}

TEST_F(ViewListTest, TwoPlayersOfOneGameGiveOneRowAndTheOwnGameIsNeverListed) {
  Play(3, game);
  Play(4, game);
  auto rows = BuildViewListRows(VIEW_GAME, S(1), {});
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].texts, (std::vector<std::string>{"carol", "1600/0", "dave", "1600/0", "R-Blitz",
                                                     FormatOnlineTimeControl(game.flags, 5, 3)}));
  EXPECT_EQ(rows[0].texts[4].substr(0, 2), "R-");

  // bob plays alice: the own game stays out of alice's list, not of carol's.
  OnlineGameDescriptor own = game;
  own.guid[0] = 0x32;
  own.flags = kTimeMinutesPerGame;
  own.base = 30;
  std::strcpy(own.white, "bob");
  std::strcpy(own.black, "alice");
  Play(2, own);
  S(1).game.playing = 1;
  Play(1, own);
  rows = BuildViewListRows(VIEW_GAME, S(1), {});
  EXPECT_EQ(Names(rows), std::vector<std::string>{"carol"});
  rows = BuildViewListRows(VIEW_GAME, S(3), {});
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"bob"}));  // carol's own game is hers
  rows = BuildViewListRows(VIEW_GAME, S(2), {});
  EXPECT_EQ(Names(rows), std::vector<std::string>{"carol"});
  // Games are ordered by White, equal Whites in arrival order.
  S(1).game.playing = 0;
  S(1).own.game = OnlineGameDescriptor();
  rows = BuildViewListRows(VIEW_GAME, S(1), {});
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"carol"}));  // alice is in that game
  EXPECT_EQ(rows[0].texts[4], "R-Blitz");
}

TEST_F(ViewListTest, UserModesNeverListTheOwnUserAndFollowTheirTests) {
  const std::vector<std::string> buddies = {"Dave", "bob", "zed"};
  EXPECT_EQ(Names(BuildViewListRows(VIEW_PLAYER, S(1), buddies)), (std::vector<std::string>{"bob", "carol", "dave"}));
  // A user whose login is not complete (word 4 clear) is no player to view.
  auto& users = const_cast<std::list<OnlineUserEntry>&>(S(1).Users());
  for (auto& e : users)
    if (std::strcmp(e.user.nickname, "dave") == 0) e.user.word4 = 0;
  EXPECT_EQ(Names(BuildViewListRows(VIEW_PLAYER, S(1), buddies)), (std::vector<std::string>{"bob", "carol"}));
  ASSERT_EQ(S(1).ToggleIgnoreOnlineUser("carol"), 0);
  EXPECT_EQ(Names(BuildViewListRows(VIEW_IGNORE, S(1), buddies)), (std::vector<std::string>{"bob", "dave"}));
  EXPECT_EQ(Names(BuildViewListRows(VIEW_UNIGNORE, S(1), buddies)), std::vector<std::string>{"carol"});
  // Buddy names compare without case against nicknames.
  EXPECT_EQ(Names(BuildViewListRows(VIEW_ADD_BUDDY, S(1), buddies)), std::vector<std::string>{"carol"});
  EXPECT_EQ(Names(BuildViewListRows(VIEW_BUDDIES_CONNECTED, S(1), buddies)), (std::vector<std::string>{"bob", "dave"}));
  // List modes show the names as stored, in case-sensitive order.
  EXPECT_EQ(Names(BuildViewListRows(VIEW_BUDDIES, S(1), buddies)), (std::vector<std::string>{"Dave", "bob", "zed"}));
  EXPECT_EQ(Names(BuildViewListRows(VIEW_REMOVE_BUDDY, S(1), {"zed", "bob", "Dave"})),
            (std::vector<std::string>{"Dave", "bob", "zed"}));
  // Viewers of the own game.
  S(1).own.game = game;
  Play(2, game, USER_VIEWING);
  Play(3, game, USER_PLAYING);
  EXPECT_EQ(Names(BuildViewListRows(VIEW_GAME_VIEWERS, S(1), buddies)), std::vector<std::string>{"bob"});
  for (int mode = 0; mode < kViewListModes; ++mode)
    for (const auto& r : BuildViewListRows(mode, S(1), buddies)) EXPECT_NE(r.texts[0], "alice") << mode;
}

TEST_F(ViewListTest, TheActionButtonWaitsForARowThenActsAndEnds) {
  std::vector<std::string> added, removed;
  ViewListActions actions{[&](const std::string& n) { added.push_back(n); },
                          [&](const std::string& n) { removed.push_back(n); }};
  auto rows = BuildViewListRows(VIEW_ADD_BUDDY, S(1), {});
  ASSERT_EQ(rows.size(), 3u);
  for (int mode = 0; mode < kViewListModes; ++mode) EXPECT_EQ(RunViewListAction(mode, -1, rows, S(1), actions), -1);
  EXPECT_EQ(RunViewListAction(VIEW_ADD_BUDDY, 3, rows, S(1), actions), -1);
  EXPECT_TRUE(added.empty());
  EXPECT_EQ(RunViewListAction(VIEW_ADD_BUDDY, 1, rows, S(1), actions), 1);
  EXPECT_EQ(added, std::vector<std::string>{"carol"});
  EXPECT_EQ(RunViewListAction(VIEW_REMOVE_BUDDY, 0, rows, S(1), actions), 1);
  EXPECT_EQ(removed, std::vector<std::string>{"bob"});
  EXPECT_EQ(RunViewListAction(VIEW_IGNORE, 2, rows, S(1), actions), 1);
  EXPECT_EQ(S(1).IgnoreList(), std::vector<std::string>{"dave"});
  EXPECT_EQ(RunViewListAction(VIEW_BUDDIES, 0, rows, S(1), actions), 1);
  // A view request for the row's game goes to its White.
  Play(3, game);
  Play(4, game);
  rows = BuildViewListRows(VIEW_GAME, S(1), {});
  const size_t before = lobby.At(1).link->sent.size();
  EXPECT_EQ(RunViewListAction(VIEW_GAME, 0, rows, S(1), actions), 1);
  ASSERT_EQ(lobby.At(1).link->sent.size(), before + 1);
  uint32_t version = 0, type = 0;
  ReadPeerHeader(lobby.At(1).link->sent.back().data(), 8, &version, &type);
  EXPECT_EQ(type, uint32_t(MSG_VIEW_REQUEST));
}

TEST(ViewListOrder, NamesAndGamesInsertWhereTheDialogPutsThem) {
  std::vector<ViewListRow> rows;
  for (const char* n : {"bob", "Zed", "alice", "bob"}) {
    ViewListRow r;
    r.texts = {n};
    rows.insert(rows.begin() + long(NameRowInsertIndex(rows, n)), r);
  }
  std::vector<std::string> names;
  for (const auto& r : rows) names.push_back(r.texts[0]);
  EXPECT_EQ(names, (std::vector<std::string>{"Zed", "alice", "bob", "bob"}));
  EXPECT_EQ(GameRowInsertIndex(rows, "bob"), 4u);
  EXPECT_EQ(GameRowInsertIndex(rows, "b"), 2u);
  EXPECT_EQ(NameRowInsertIndex(rows, "bob"), 4u);
  EXPECT_EQ(NameRowInsertIndex(rows, "b"), 2u);
}
