// The way to a key through parent links, real and broken; saved queries
// among the section names of the query file.
#include "keypath.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "db_fixture.h"
#include "gdbase.h"

namespace {

TEST(KeyPathTest, RealKeysLeadBackToTheRoot) {
  std::string eco = std::string(RW_TESTDATA_DIR) + "/eco.pgn";
  if (std::FILE* f = std::fopen(eco.c_str(), "rb")) {
    std::fclose(f);
  } else {
    eco = RW_ECO_FILE;
  }
  TestDatabase db("keypath_eco", kSixGames, eco);
  ASSERT_EQ(db.keys(), 1);
  // Three levels down from the module's first key.
  int32_t key = 1;
  for (int depth = 0; depth < 3; ++depth) {
    int32_t children[200], below[200];
    int n = GdGetChildKeys(key, children, 200);
    ASSERT_GT(n, 0) << depth;
    key = children[0];
    for (int i = 0; i < n; ++i)
      if (GdGetChildKeys(children[i], below, 200) > 0) key = children[i];
  }
  std::vector<int32_t> path;
  ASSERT_TRUE(KeyPathFromRoot(key, KeyParent, &path));
  ASSERT_GE(path.size(), 4u);
  EXPECT_EQ(path.back(), key);
  EXPECT_EQ(path[path.size() - 4], 1);
  EXPECT_EQ(KeyParent(path.front()), 0);
  for (size_t i = 1; i < path.size(); ++i) EXPECT_EQ(KeyParent(path[i]), path[i - 1]);
  ASSERT_TRUE(KeyPathFromRoot(0, KeyParent, &path));
  EXPECT_TRUE(path.empty());
}

TEST(KeyPathTest, BrokenParentLinksGiveUp) {
  std::vector<int32_t> path;
  // A loop never reaches the root.
  EXPECT_FALSE(KeyPathFromRoot(
      5, [](int32_t k) { return k == 5 ? 6 : 5; }, &path));
  EXPECT_TRUE(path.empty());
  // A chain of 512 keys is followed; one of 513 is not.
  auto chain = [](int32_t k) { return k - 1; };
  ASSERT_TRUE(KeyPathFromRoot(512, chain, &path));
  EXPECT_EQ(path.size(), 512u);
  EXPECT_EQ(path.front(), 1);
  EXPECT_FALSE(KeyPathFromRoot(513, chain, &path));
}

TEST(QuerySectionsTest, EveryQueryIsListedAndOverlongOnesRemoved) {
  // More names than an 8,196-byte buffer holds: all are listed.
  std::string names;
  for (int i = 0; i < 600; ++i)
    names += "QUERY_Saved query number " + std::to_string(i) + std::string(1, '\0');
  names += "settings" + std::string(1, '\0');
  std::string longName = "QUERY_" + std::string(257, 'x');
  names += longName + std::string(1, '\0');
  names += "QUERY_" + std::string(256, 'y') + std::string(1, '\0');
  names += std::string(1, '\0');
  ASSERT_GT(names.size(), 8196u);
  std::vector<std::string> queries, remove;
  ListQuerySections(names.data(), names.size(), &queries, &remove);
  ASSERT_EQ(queries.size(), 601u);
  EXPECT_EQ(queries[599], "Saved query number 599");
  EXPECT_EQ(queries[600], std::string(256, 'y'));
  ASSERT_EQ(remove.size(), 1u);
  EXPECT_EQ(remove[0], longName);
  // A list cut off without its final terminator still ends.
  queries.clear();
  ListQuerySections("QUERY_a\0QUERY_b", 15, &queries, &remove);
  EXPECT_EQ(queries, (std::vector<std::string>{"a", "b"}));
}

}  // namespace
