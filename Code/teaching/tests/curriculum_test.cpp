// Curriculum sections read into trees, and the result rules against a user
// record kept in memory.
#include "curriculum.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class FakeUser : public CurriculumUserRecord {
 public:
  CurriculumProgress progress;
  int saves = 0;
  FakeUser() { std::memset(&progress, 0, sizeof progress); }
  CurriculumProgress& Progress() override { return progress; }
  void Save() override { ++saves; }
};

const char kFile[] =
    "Comment lines outside sections are ignored.\r\n"
    "BEGINNING TUTORIALS\r\n{\r\n"
    "  The Board,TUTORIAL,12\r\n"
    "  {\r\n"
    "\tSquares,CHAPTER,13,0,4\r\n"
    "\tFiles and Ranks,chapter,14,5,9\r\n"
    "  }\r\n"
    "  Odd One,SOMETHING,3\r\n"
    "  Mate Quiz,Quiz,401\r\n"
    "  Rook Drill,DRILL,40,2,1\r\n"
    "  Tarn 1,TARN,70\r\n"
    "  Bad Quiz,QUIZ,399\r\n"
    "  Far Drill,DRILL,600,1,1\r\n"
    "}\r\n"
    "KIDS TARN GAMES\n{\nGame One,TARN,71\n}\n"
    "TARN TARN ENDGAMES\n{\nBroken,EXERCISE,80,1\n}\n";

TEST(CurriculumReader, SectionsTreesAndKinds) {
  std::vector<CurriculumEntry> roots;
  ASSERT_EQ(ReadCurriculumSection(kFile, CurriculumLevelWord(0), CurriculumCategoryWord(21690), &roots),
            CurriculumRead::Ok);
  ASSERT_EQ(roots.size(), 7u);
  const CurriculumItem& tut = roots[0].item;
  EXPECT_EQ(tut.title, "The Board");
  EXPECT_EQ(tut.kind, kCurriculumTutorial);
  EXPECT_EQ(tut.progress, 12);
  ASSERT_EQ(roots[0].children.size(), 2u);
  const CurriculumItem& ch = roots[0].children[1].item;
  EXPECT_EQ(ch.kind, kCurriculumChapter);  // lower-case kind word
  EXPECT_EQ(ch.progress, 14);
  EXPECT_EQ(ch.first, 5);
  EXPECT_EQ(ch.second, 9);
  EXPECT_EQ(roots[1].item.kind, kCurriculumHeader);  // unknown word
  EXPECT_FALSE(CurriculumItemLaunchable(roots[1].item));
  EXPECT_TRUE(CurriculumItemLaunchable(roots[2].item));
  EXPECT_EQ(roots[3].item.first, 2);
  EXPECT_EQ(roots[3].item.second, 1);

  // The kids page's "Tarn Games" and the Tarn page's keys.
  ASSERT_EQ(ReadCurriculumSection(kFile, CurriculumLevelWord(4), CurriculumCategoryWord(21700), &roots),
            CurriculumRead::Ok);
  ASSERT_EQ(roots.size(), 1u);
  EXPECT_EQ(roots[0].item.title, "Game One");
  EXPECT_EQ(ReadCurriculumSection(kFile, CurriculumLevelWord(3), CurriculumCategoryWord(21735), &roots),
            CurriculumRead::BadLine);
  EXPECT_EQ(ReadCurriculumSection(kFile, CurriculumLevelWord(3), CurriculumCategoryWord(21730), &roots),
            CurriculumRead::MissingSection);
  EXPECT_TRUE(roots.empty());
  EXPECT_EQ(ReadCurriculumSection("ADVANCED PUZZLES no brace", "ADVANCED", "PUZZLES", &roots),
            CurriculumRead::MissingSection);
}

TEST(CurriculumReader, TitlesCutDepthBoundedUnclosedSectionEnds) {
  std::string text = "BEGINNING DRILLS\n{\n" + std::string(100, 'T') + ",HEADER\nAfter,DRILL,1,2,3";
  std::vector<CurriculumEntry> roots;
  ASSERT_EQ(ReadCurriculumSection(text, "BEGINNING", "DRILLS", &roots), CurriculumRead::Ok);
  ASSERT_EQ(roots.size(), 2u);
  EXPECT_EQ(roots[0].item.title, std::string(63, 'T'));
  EXPECT_EQ(roots[1].item.second, 3);

  std::string deep = "KIDS DRILLS\n{\nA,HEADER\n";
  for (int i = 0; i < 100000; ++i) deep += "{\nA,HEADER\n";
  EXPECT_EQ(ReadCurriculumSection(deep, "KIDS", "DRILLS", &roots), CurriculumRead::BadLine);
  std::string ok = "KIDS DRILLS\n{\nA,HEADER\n";
  for (int i = 0; i < kCurriculumMaxDepth; ++i) ok += "{\nA,HEADER\n";
  EXPECT_EQ(ReadCurriculumSection(ok, "KIDS", "DRILLS", &roots), CurriculumRead::Ok);
}

TEST(CurriculumResults, TutorialsAndChapters) {
  std::vector<CurriculumEntry> roots;
  ReadCurriculumSection(kFile, "BEGINNING", "TUTORIALS", &roots);
  struct Case {
    std::vector<int> selection;
    int first, second;
    bool tutorial, ch13, ch14;
  } cases[] = {
      {{0}, 0, -1, true, true, true},
      {{0, 1}, 5, 9, false, false, true},
      {{0}, 0, 4, false, true, false},
      {{0}, 0, 9, true, true, true},  // highest page past the last chapter's start
  };
  for (const Case& c : cases) {
    FakeUser user;
    RecordCurriculumResult(roots, c.selection, c.first, c.second, true, &user);
    SCOPED_TRACE(c.first * 100 + c.second);
    EXPECT_EQ(user.progress.slots[12] != 0, c.tutorial);
    EXPECT_EQ(user.progress.slots[13] != 0, c.ch13);
    EXPECT_EQ(user.progress.slots[14] != 0, c.ch14);
    EXPECT_EQ(user.progress.kidsTutorials, c.tutorial ? 1 : 0);
    EXPECT_EQ(user.saves, 1);
    EXPECT_EQ(CurriculumItemCompleted(roots[0].item, user.progress), c.tutorial);
  }
}

TEST(CurriculumResults, BestQuizNewestDrillAndRanges) {
  std::vector<CurriculumEntry> roots;
  ReadCurriculumSection(kFile, "BEGINNING", "TUTORIALS", &roots);
  FakeUser user;
  EXPECT_EQ(GetSelectedTestNumber(&roots[2].item), 401);
  EXPECT_EQ(GetSelectedTestNumber(&roots[3].item), 0);
  RecordCurriculumResult(roots, {2}, 1500, 0, false, &user);
  RecordCurriculumResult(roots, {2}, 1300, 0, false, &user);
  EXPECT_EQ(user.progress.slots[401], 1500);
  RecordCurriculumResult(roots, {3}, 90, 0, true, &user);
  RecordCurriculumResult(roots, {3}, 120, 0, true, &user);  // slower: not counted
  RecordCurriculumResult(roots, {3}, 80, 0, true, &user);
  EXPECT_EQ(user.progress.slots[40], 80);
  EXPECT_EQ(user.progress.kidsRuns, 2);
  RecordCurriculumResult(roots, {4}, 1, 0, true, &user);
  RecordCurriculumResult(roots, {4}, 1, 0, true, &user);
  EXPECT_EQ(user.progress.kidsGames, 1);
  // Numbers outside their kind's range record nothing, and never write
  // outside the record.
  FakeUser before = user;
  RecordCurriculumResult(roots, {5}, 1700, 0, false, &user);
  RecordCurriculumResult(roots, {6}, 5, 0, false, &user);
  RecordCurriculumResult(roots, {1}, 5, 0, false, &user);
  RecordCurriculumResult(roots, {9}, 5, 0, false, &user);  // no such entry
  EXPECT_EQ(0, std::memcmp(&before.progress, &user.progress, sizeof user.progress));
}

}  // namespace

namespace {

TEST(CurriculumLaunch, ByKind) {
  std::vector<CurriculumEntry> roots;
  ReadCurriculumSection(kFile, "BEGINNING", "TUTORIALS", &roots);
  const std::string games = "C:\\Rookwell\\Tarn Games";
  struct Case {
    std::vector<int> selection;
    bool kids;
    CurriculumLaunch::Action action;
    const char* title;
    int start, mode;
    const char* path;
  } cases[] = {
      {{0}, false, CurriculumLaunch::Lesson, "The Board", 0, 0, ""},
      {{0, 1}, false, CurriculumLaunch::Lesson, "The Board", 5, 0, ""},
      {{1}, false, CurriculumLaunch::None, nullptr, 0, 0, ""},
      {{2}, false, CurriculumLaunch::Lesson, "Mate Quiz", 0, 1, ""},
      {{3}, false, CurriculumLaunch::Drill, "Rook Drill", 0, 0, ""},
      {{4}, false, CurriculumLaunch::CoachGame, "Tarn 1", 0, 0, "C:\\Rookwell\\Tarn Games\\TARN\\Tarn 1"},
      {{4}, true, CurriculumLaunch::CoachGame, "Tarn 1", 0, 0, "C:\\Rookwell\\Tarn Games\\KIDS ROOM\\Tarn 1"},
      {{7}, false, CurriculumLaunch::None, nullptr, 0, 0, ""},
  };
  for (const Case& c : cases) {
    CurriculumLaunch l = DecideCurriculumLaunch(roots, c.selection, 3, c.kids, games);
    SCOPED_TRACE(c.selection.back());
    EXPECT_EQ(l.action, c.action);
    if (c.title) {
      ASSERT_NE(l.item, nullptr);
      EXPECT_EQ(l.item->title, c.title);
    }
    EXPECT_EQ(l.startPage, c.start);
    EXPECT_EQ(l.mode, c.mode);
    EXPECT_EQ(l.gamePath, c.path);
  }
}

}  // namespace
