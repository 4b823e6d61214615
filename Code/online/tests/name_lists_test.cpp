#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "name_lists.h"
#include "profile.h"

namespace {

struct NameLists : ::testing::Test {
  std::string path = ::testing::TempDir() + "rw_name_lists.ini";
  void SetUp() override { std::remove(path.c_str()); }
  void TearDown() override { std::remove(path.c_str()); }
  std::string Key(const char* section, const char* key) {
    char value[128];
    ProfileReadString(section, key, "<none>", value, sizeof value, path.c_str());
    return value;
  }
  static std::vector<std::string> Names(IniNameList* list) {
    std::vector<std::string> out;
    ForEachInNameList(
        list,
        [](const char* name, void* context) {
          static_cast<std::vector<std::string>*>(context)->push_back(name);
          return 1;
        },
        &out);
    return out;
  }
};

}  // namespace

TEST_F(NameLists, CaseDoesNotMakeANewNameAndRemovingTheHighestLowersTheMark) {
  IniNameList* buddies = CreateBuddyList(path);
  ASSERT_NE(buddies, nullptr);
  for (const char* n : {"alice", "bob", "carol"}) EXPECT_EQ(AddToNameList(buddies, n), 1);
  EXPECT_EQ(AddToNameList(buddies, "BOB"), 1);  // already there: nothing changes
  EXPECT_EQ(Names(buddies), (std::vector<std::string>{"alice", "bob", "carol"}));
  EXPECT_EQ(IsInNameList(buddies, "Carol"), 1);
  EXPECT_EQ(Key("rwlive_buddies", "buddy_highnumber"), "3");
  EXPECT_EQ(Key("rwlive_buddies", "buddy4"), "<none>");

  // The highest goes: the mark names the next lower entry.
  EXPECT_EQ(RemoveFromNameList(buddies, "CAROL"), 1);
  EXPECT_EQ(IsInNameList(buddies, "carol"), 0);
  EXPECT_EQ(Key("rwlive_buddies", "buddy_highnumber"), "2");
  EXPECT_EQ(Key("rwlive_buddies", "buddy3"), "<none>");
  // A gap below is filled first.
  EXPECT_EQ(RemoveFromNameList(buddies, "alice"), 1);
  EXPECT_EQ(AddToNameList(buddies, "dave"), 1);
  EXPECT_EQ(Key("rwlive_buddies", "buddy1"), "dave");
  EXPECT_EQ(Key("rwlive_buddies", "buddy_highnumber"), "2");
  EXPECT_EQ(AddToNameList(buddies, "erin"), 1);
  EXPECT_EQ(Key("rwlive_buddies", "buddy3"), "erin");

  // Emptied: the mark is deleted; a new list reads what was saved.
  for (const char* n : {"dave", "bob", "erin"}) RemoveFromNameList(buddies, n);
  EXPECT_EQ(Key("rwlive_buddies", "buddy_highnumber"), "<none>");
  AddToNameList(buddies, "frank");
  DeleteNameList(buddies);
  IniNameList* again = CreateBuddyList(path);
  EXPECT_EQ(Names(again), std::vector<std::string>{"frank"});
  DeleteNameList(again);
}

TEST_F(NameLists, TheIgnoreListKeepsItsOwnSectionAndAnEarlyStopEndsTheWalk) {
  IniNameList* ignored = CreateIgnoreList(path);
  IniNameList* buddies = CreateBuddyList(path);
  AddToNameList(ignored, "mallory");
  AddToNameList(ignored, "trudy");
  EXPECT_EQ(Key("rwlive_ignored", "ignore1"), "mallory");
  EXPECT_EQ(Key("rwlive_ignored", "ignore_highnumber"), "2");
  EXPECT_EQ(IsInNameList(buddies, "mallory"), 0);
  int calls = 0;
  ForEachInNameList(
      ignored, [](const char*, void* c) { return ++*static_cast<int*>(c), 0; }, &calls);
  EXPECT_EQ(calls, 1);
  DeleteNameList(ignored);
  DeleteNameList(buddies);
}

TEST_F(NameLists, AListNeverMadeAnswersNoAndChangesNothing) {
  EXPECT_EQ(IsInNameList(nullptr, "alice"), 0);
  EXPECT_EQ(AddToNameList(nullptr, "alice"), 0);
  EXPECT_EQ(RemoveFromNameList(nullptr, "alice"), 0);
  int calls = 0;
  ForEachInNameList(
      nullptr, [](const char*, void* c) { return ++*static_cast<int*>(c), 1; }, &calls);
  EXPECT_EQ(calls, 0);
  DeleteNameList(nullptr);
  std::ifstream file(path);
  EXPECT_FALSE(file.good());  // nothing written
}

#include "fake_lobby.h"

TEST_F(NameLists, FlippingTheIgnoreMarkKeepsTheSessionsListInStep) {
  FakeLobby lobby;
  OnlineSession& alice = lobby.Add("alice");
  lobby.Add("bob");
  alice.OpenNameLists(path);
  lobby.Login(1);
  lobby.Login(2);
  lobby.Pump();
  ASSERT_EQ(alice.ToggleIgnoreOnlineUser("bob"), 0);
  EXPECT_EQ(alice.FindOnlineUserByNickname("bob")->flags & 1, 1u);
  EXPECT_EQ(Key("rwlive_ignored", "ignore1"), "bob");
  ASSERT_EQ(alice.ToggleIgnoreOnlineUser("bob"), 0);
  EXPECT_EQ(IsInNameList(alice.ignoreList, "bob"), 0);
  EXPECT_EQ(Key("rwlive_ignored", "ignore1"), "<none>");
  EXPECT_EQ(alice.ToggleIgnoreOnlineUser("nobody"), -1);
  alice.Close();  // the lists go with the session
  EXPECT_EQ(alice.ignoreList, nullptr);
  EXPECT_EQ(alice.buddyList, nullptr);
}
