// Saved queries in "Query.ini": names trimmed and checked, criteria written
// per column and row with their field codes, a re-save replacing the
// section whole, removal.
#include <gtest/gtest.h>

#include <filesystem>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "profile.h"
#include "queryfile.h"

namespace {

class QueryFile : public ::testing::Test {
 protected:
  void SetUp() override { std::remove(kIni); }
  void TearDown() override { std::remove(kIni); }
  static void Set(SearchQuery* q, int column, int row, int field, const char* text) {
    q->conditions[column][row].field = field;
    std::snprintf(q->conditions[column][row].value, sizeof q->conditions[column][row].value, "%s", text);
  }
  static std::string File() {
    std::ifstream in(kIni);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // A full path: the Windows build's profile calls put a bare file name in
  // the system folder.
  static inline const std::string kIniPath =
      (std::filesystem::current_path() / "queryfile_test.ini").string();
  static inline const char* const kIni = kIniPath.c_str();
};

TEST_F(QueryFile, WritesCriteriaWithTextsAndReadsThemBack) {
  SearchQuery q;
  std::memset(&q, 0, sizeof q);
  Set(&q, 0, 0, 15, "Corvane*");
  Set(&q, 0, 1, 15, "!=Ames");
  Set(&q, 3, 2, 11, ">=2020");
  q.conditions[1][0].field = 16;  // a field without a text is not kept
  std::string name = "Levels  \t";
  ASSERT_EQ(WriteQuery(&name, kIni, q), 0);
  EXPECT_EQ(name, "Levels");
  const std::string file = File();
  EXPECT_NE(file.find("[QUERY_Levels]"), std::string::npos) << file;
  EXPECT_NE(file.find("data_3_2=11"), std::string::npos) << file;
  EXPECT_EQ(file.find("data_1_0"), std::string::npos) << file;
  SearchQuery back;
  ReadQuery("Levels", kIni, &back);
  EXPECT_EQ(back.conditions[0][0].field, 15);
  EXPECT_STREQ(back.conditions[0][1].value, "!=Ames");
  EXPECT_EQ(back.conditions[3][2].field, 11);
  EXPECT_STREQ(back.conditions[3][2].value, ">=2020");
  EXPECT_EQ(back.conditions[1][0].field, 0);
}

TEST_F(QueryFile, ASaveWithFewerCriteriaLoadsOnlyThose) {
  SearchQuery q;
  std::memset(&q, 0, sizeof q);
  Set(&q, 0, 0, 15, "A");
  Set(&q, 2, 1, 8, "Open");
  std::string name = "Q";
  ASSERT_EQ(WriteQuery(&name, kIni, q), 0);
  std::memset(&q, 0, sizeof q);
  Set(&q, 0, 0, 16, "B");
  ASSERT_EQ(WriteQuery(&name, kIni, q), 0);
  SearchQuery back;
  ReadQuery("Q", kIni, &back);
  EXPECT_EQ(back.conditions[0][0].field, 16);
  EXPECT_STREQ(back.conditions[0][0].value, "B");
  EXPECT_EQ(back.conditions[2][1].field, 0);
  EXPECT_STREQ(back.conditions[2][1].value, "");
  RemoveQuery("Q", kIni);
  EXPECT_EQ(File().find("QUERY_Q"), std::string::npos);
}

TEST_F(QueryFile, BadNamesWriteNothing) {
  SearchQuery q;
  std::memset(&q, 0, sizeof q);
  Set(&q, 0, 0, 15, "A");
  for (const char* bad : {"[", "a]", "x;y", "tab\tin"}) {
    std::string name = bad;
    EXPECT_GT(WriteQuery(&name, kIni, q), 0) << bad;
  }
  std::string name = "a]";
  EXPECT_EQ(WriteQuery(&name, kIni, q), 2);
  EXPECT_EQ(File().find("QUERY_"), std::string::npos);
}

}  // namespace
