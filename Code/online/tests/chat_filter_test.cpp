#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "chat_filter.h"
#include "chat_log.h"

namespace {

int Filtered(const std::string& line) { return IsChatTextFiltered(line.data(), line.size()); }

int LoadText(const std::string& file) { return LoadChatFilterText(file.data(), file.size()); }

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(ChatFilter, FileEntriesByLineEnds) {
  struct Case {
    const char* file;
    int entries;
  } cases[] = {
      {"alpha\r\nbeta\r\n", 2},  // the run between CR and LF is no entry
      {"alpha\rbeta\ngamma\r\n", 3},
      {"alpha\n\n\nbeta\n", 2},  // empty lines skipped
      {"alpha\nbeta", 1},        // the unended last line is unused
      {"alpha", 0},
      {"\r\n\r\n", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadText(c.file), 1) << c.file;
    int builtIn = 0, fromFile = -1;
    ChatFilterWordCounts(&builtIn, &fromFile);
    EXPECT_GT(builtIn, 0);
    EXPECT_EQ(fromFile, c.entries) << c.file;
  }
  LoadText("alpha\nbeta");
  EXPECT_EQ(Filtered("alpha"), 1);
  EXPECT_EQ(Filtered("beta"), 0);
  FreeChatFilter();
}

TEST(ChatFilter, MatchingRules) {
  ASSERT_EQ(LoadText("word\r\n ass \r\nCR\xC8ME\r\nfoo bar\n"), 1);
  struct Case {
    const char* line;
    int filtered;
  } cases[] = {
      {"WORD", 1},                 // case does not matter
      {"a sWoRdfish", 1},          // a plain entry matches inside words
      {"ass", 1},                  // blanks around: a whole word at either end
      {"you ass!", 0},             // ... but not one followed by other text
      {"an ass here", 1},
      {"classic grass", 0},
      {"foo\tbar", 1},             // a tab is a blank
      {"foo\r\nbar", 0},           // two blanks are not one
      {"Cr\xC8me br\xFBl\xE9\x65", 1},  // code page 1252 letters lower-cased
      {"CR\xC9ME", 0},
      {"nothing to see", 0},
      {"What the FUCK", 1},        // a built-in word
  };
  for (const Case& c : cases) EXPECT_EQ(Filtered(c.line), c.filtered) << c.line;
  // An embedded NUL counts as a blank.
  const char withNul[] = {'f', 'o', 'o', 0, 'b', 'a', 'r'};
  EXPECT_EQ(IsChatTextFiltered(withNul, sizeof withNul), 1);
  EXPECT_EQ(IsChatTextFiltered(nullptr, 4), 0);
  EXPECT_EQ(IsChatTextFiltered("word", 0), 0);
  FreeChatFilter();
  EXPECT_EQ(Filtered("word fuck"), 0);  // nothing loaded
}

TEST(ChatFilter, ReadsFilterTxtFromTheCurrentFolderAndKeepsBuiltInsWithout) {
  namespace fs = std::filesystem;
  const fs::path before = fs::current_path();
  const fs::path folder = fs::path(::testing::TempDir()) / "rw_chat_filter";
  fs::create_directories(folder);
  fs::current_path(folder);
  std::remove("filter.txt");
  EXPECT_EQ(LoadChatFilter(), 0);
  EXPECT_EQ(Filtered("shit happens"), 1);
  std::ofstream("filter.txt", std::ios::binary) << "";
  EXPECT_EQ(LoadChatFilter(), 0);  // empty
  std::ofstream("filter.txt", std::ios::binary) << "Gadzooks\r\n";
  EXPECT_EQ(LoadChatFilter(), 1);
  EXPECT_EQ(Filtered("gadzooks!"), 1);
  std::remove("filter.txt");
  fs::current_path(before);
  FreeChatFilter();
}

TEST(ChatFilter, LowerCaseTable) {
  struct Case {
    unsigned char from, to;
  } cases[] = {{'A', 'a'}, {'Z', 'z'}, {'a', 'a'}, {'@', '@'}, {'[', '['}, {0xC0, 0xE0}, {0xDE, 0xFE},
               {0xD7, 0xD7}, {0xDF, 0xDF}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}, {0xFF, 0xFF}};
  for (const Case& c : cases) EXPECT_EQ(LowerCase1252(c.from), c.to) << int(c.from);
}

TEST(ChatLog, StampTagsAndFields) {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 0;
  t.tm_mday = 5;
  t.tm_hour = 7;
  t.tm_min = 3;
  t.tm_sec = 9;
  struct Case {
    int kind;
    const char* text;
    const char* n1;
    const char* n2;
    const char* line;
  } cases[] = {
      {7, nullptr, nullptr, nullptr, "2026/01/05 07:03:09   : \r\n"},
      {0, "hi", "alice", "says", "2026/01/05 07:03:09  alice says: hi\r\n"},
      {1, "x", "bob", "tells", "2026/01/05 07:03:09 [Ignored user:] bob tells: x\r\n"},
      {2, "x", "bob", "shouts", "2026/01/05 07:03:09 [Ignored shout:] bob shouts: x\r\n"},
      {3, "x", "bob", "says", "2026/01/05 07:03:09 [Filtered:] bob says: x\r\n"},
      {4, "x", "me", "says", "2026/01/05 07:03:09 [Unsent:] me says: x\r\n"},
      {5, "RWLive Central", nullptr, nullptr, "2026/01/05 07:03:09 [Entering Channel:]  : RWLive Central\r\n"},
      {6, nullptr, nullptr, nullptr, "2026/01/05 07:03:09 [Closing log.]  : \r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatChatLogLine(t, c.text, c.n1, c.n2, c.kind), c.line) << c.kind;
}

TEST(ChatLog, OpeningAppendsAndClosingSaysSo) {
  const std::string path = ::testing::TempDir() + "rw_chat.log";
  std::ofstream(path, std::ios::binary) << "earlier\r\n";
  ChatLogFile* log = OpenChatLog(path);
  ASSERT_NE(log, nullptr);
  EXPECT_GT(WriteChatLogLine(log, "hello there", "alice", "tells", 0), 0);
  // Each line is on disk at once.
  std::string now = ReadAll(path);
  EXPECT_NE(now.find("alice tells: hello there\r\n"), std::string::npos);
  CloseChatLog(log);
  const std::string all = ReadAll(path);
  ASSERT_EQ(all.rfind("earlier\r\n", 0), 0u);
  std::istringstream lines(all.substr(9));
  std::string first, second, third;
  std::getline(lines, first);
  std::getline(lines, second);
  std::getline(lines, third);
  // "%d/%02d/%02d %02d:%02d:%02d " and then the empty fields.
  ASSERT_GE(first.size(), 20u);
  EXPECT_EQ(first[4], '/');
  EXPECT_EQ(first[7], '/');
  EXPECT_EQ(first[13], ':');
  EXPECT_EQ(first.substr(19), "   : \r");
  EXPECT_EQ(third.substr(19), " [Closing log.]  : \r");
  EXPECT_EQ(WriteChatLogLine(nullptr, "x", "y", "z", 0), 0);
  CloseChatLog(nullptr);
  std::remove(path.c_str());
}
