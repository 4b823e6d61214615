// File operations over the real database module: the status-flag messages,
// the pace of progress lines, deleting and undeleting games with a stop,
// and optimising a keyed database: success, a stop while cleaning, a stop
// while the index is made (no index file left), a database without keys,
// a file that does not open and an index folder that cannot be made.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db_fixture.h"
#include "fileops.h"
#include "gdbase.h"
#include "gdgame.h"

namespace {

// Answers "go on" until the line named in `stopAfter` has been shown; the
// clock moves 100 ms a call.
struct FakeProgress final : OperationProgress {
  std::vector<std::string> lines;
  std::string stopAfter;
  int stopAfterCalls = -1;  // or after this many GoOn calls
  int calls = 0;
  uint64_t clock = 0;
  void Line(const std::string& text) override { lines.push_back(text); }
  bool GoOn() override {
    ++calls;
    if (stopAfterCalls >= 0 && calls > stopAfterCalls) return false;
    for (const std::string& line : lines)
      if (!stopAfter.empty() && line == stopAfter) return false;
    return true;
  }
  uint64_t Milliseconds() override { return clock += 100; }
};

bool HasIndexFile(const std::string& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.path().extension() == ".ghi") return true;
  return false;
}

TEST(FileOps, StatusFlagsAndPace) {
  const struct {
    uint32_t flags, message;
  } cases[] = {{0, 0}, {1, 10068}, {2, 10069}, {3, 10069}, {4, 10070}, {6, 10069}};
  for (const auto& c : cases) EXPECT_EQ(StatusFlagMessage(c.flags), c.message) << c.flags;

  ProgressPace first(true);
  EXPECT_TRUE(first.Due(1000));
  EXPECT_FALSE(first.Due(1499));
  EXPECT_TRUE(first.Due(1500));
  EXPECT_FALSE(first.Due(1999));
  EXPECT_TRUE(first.Due(2600));
  ProgressPace later(false);
  EXPECT_FALSE(later.Due(0));
  EXPECT_FALSE(later.Due(499));
  EXPECT_TRUE(later.Due(500));

  EXPECT_EQ(MarkTexts(false).many, 10049u);
  EXPECT_EQ(MarkTexts(true).many, 10053u);
  EXPECT_STREQ(MarkTexts(true).title, "Undelete Games");
}

TEST(FileOps, MarksGamesDeletedAndBackAndStopsWhenAsked) {
  TestDatabase db("fileops_mark", kSixGames);
  const int32_t numbers[] = {2, 4, 5, 6};
  EXPECT_EQ(MarkGames(db.file(), numbers, 2, false, nullptr), 2);
  for (int32_t n = 1; n <= 6; ++n) EXPECT_EQ(GdgIsGameDeleted(db.file(), n) != 0, n == 2 || n == 4) << n;

  // Progress lines every 500 ms of the fake clock (100 ms a call), and a
  // stop after the second game: the rest stay as they were.
  FakeProgress progress;
  progress.stopAfterCalls = 1;
  EXPECT_EQ(MarkGames(db.file(), numbers, 4, true, &progress), 2);
  EXPECT_FALSE(GdgIsGameDeleted(db.file(), 2));
  EXPECT_FALSE(GdgIsGameDeleted(db.file(), 4));
  FakeProgress paced;
  std::vector<int32_t> many(40);
  for (int i = 0; i < 40; ++i) many[size_t(i)] = 1 + i % 6;
  EXPECT_EQ(MarkGames(db.file(), many.data(), 40, false, &paced), 40);
  ASSERT_EQ(paced.lines.size(), 8u);
  EXPECT_EQ(paced.lines[0], "Deleted 5 of 40 games.");
  EXPECT_EQ(paced.lines[7], "Deleted 40 of 40 games.");
}

TEST(FileOps, OptimisesAKeyedDatabaseAndStopsCleanly) {
  TestDatabase db("fileops_opt", kSixGames, RW_ECO_FILE);
  GdDeleteGame(db.file(), 3);
  db.Close();
  const std::string folder = "fileops_opt_index/";
  std::filesystem::remove_all(folder);

  FakeProgress done;
  OperationReport report = OptimizeDatabaseFiles(db.path(), folder, kOptimizeClean | kOptimizeIndex, &done);
  EXPECT_EQ(report.text, 10085u);
  EXPECT_EQ(report.caption, 10086u);
  EXPECT_FALSE(report.cancelled);
  EXPECT_EQ(done.lines, (std::vector<std::string>{"Removing index files.", "Cleaning database.", "Generating index files."}));
  EXPECT_TRUE(HasIndexFile(folder));
  // The file is closed again and opens.
  const int32_t file = GdOpenGamefile(db.path().c_str());
  ASSERT_NE(file, 0);
  EXPECT_EQ(GdGetGamesCount(file), 6);
  GdCloseGamefile(file);

  // Stopped while the index is made: the old index went first and the new
  // one is not left half made; the report is the abort.
  FakeProgress indexing;
  indexing.stopAfter = "Generating index files.";
  report = OptimizeDatabaseFiles(db.path(), folder, kOptimizeClean | kOptimizeIndex, &indexing);
  EXPECT_TRUE(report.cancelled);
  EXPECT_EQ(report.text, 10087u);
  EXPECT_EQ(report.caption, 10086u);
  EXPECT_FALSE(HasIndexFile(folder));
  EXPECT_EQ(indexing.lines.back(), "Removing index files.");

  // Stopped while cleaning: no index is made at all.
  FakeProgress cleaning;
  cleaning.stopAfter = "Cleaning database.";
  report = OptimizeDatabaseFiles(db.path(), folder, kOptimizeClean | kOptimizeIndex, &cleaning);
  EXPECT_TRUE(report.cancelled);
  EXPECT_EQ(report.text, 10087u);
  for (const std::string& line : cleaning.lines) EXPECT_NE(line, "Generating index files.");
  EXPECT_FALSE(HasIndexFile(folder));
  std::filesystem::remove_all(folder);
}

TEST(FileOps, OptimiseWithoutKeysAndItsErrors) {
  TestDatabase db("fileops_plain", kSixGames);
  db.Close();
  const std::string folder = "fileops_plain_index/";
  std::filesystem::remove_all(folder);
  FakeProgress plain;
  OperationReport report = OptimizeDatabaseFiles(db.path(), folder, kOptimizeClean | kOptimizeIndex, &plain);
  EXPECT_EQ(report.text, 10085u);
  EXPECT_EQ(plain.lines, (std::vector<std::string>{"Removing index files.", "Generating index files."}));
  EXPECT_TRUE(HasIndexFile(folder));
  std::filesystem::remove_all(folder);

  report = OptimizeDatabaseFiles("fileops_missing.gdg", folder, kOptimizeIndex, nullptr);
  EXPECT_EQ(report.text, 10100u);
  EXPECT_EQ(report.captionText, "Open Database - Error 1");

#if !defined(_WIN32)
  // An index folder that cannot be made (a file stands in its way) is an
  // error, not a success without index files. (On Windows the module tells
  // the user in a message box first, which would wait here.)
  WriteTextFile("fileops_blocker", "x");
  FakeProgress blocked;
  report = OptimizeDatabaseFiles(db.path(), "fileops_blocker/GdIndex/", kOptimizeIndex, &blocked);
  EXPECT_EQ(report.text, 10074u);
  EXPECT_NE(report.error, 0);
  EXPECT_EQ(report.captionText, "Create Index Files - Error " + std::to_string(report.error));
  EXPECT_EQ(blocked.lines.back(), "Removing index files.");
  std::remove("fileops_blocker");
#endif

  // Index update over the open file: new games added, then reported.
  const int32_t file = GdOpenGamefile(db.path().c_str());
  ASSERT_NE(file, 0);
  report = UpdateDatabaseIndex(file, folder, nullptr);
  EXPECT_EQ(report.text, 10095u);
  EXPECT_EQ(report.caption, 10096u);
  EXPECT_TRUE(HasIndexFile(folder));
  GdCloseGamefile(file);
  std::filesystem::remove_all(folder);
}

}  // namespace
