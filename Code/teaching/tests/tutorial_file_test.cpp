// Tutorial pages, labels and the lesson arithmetic.
#include "tutorial_file.h"

#include <gtest/gtest.h>

namespace {

TEST(TutorialFile, PagesLabelsPlainAndMarkup) {
  const char text[] =
      "Title lines between pages are ignored.\r\n"
      "[  \r\n Welcome {W:intro}to the board.{H:e4d5}]\r\n"
      "@mate here\r\n"
      "[{B:8/8/8/8/8/8/8/K6k w - - 0 1}{V:Find it;{W:q}a1a2;Yes;No}]\r\n"
      "[Only words]\n"
      "[Unclosed page {A:e2e4";
  auto pages = ReadTutorial(text);
  ASSERT_EQ(pages.size(), 4u);
  EXPECT_EQ(pages[0].plain, "Welcome to the board.");
  EXPECT_EQ(pages[0].markup, "{W:intro}{H:e4d5}");
  EXPECT_EQ(pages[0].label, "");
  EXPECT_EQ(pages[1].label, "@mate here");
  EXPECT_EQ(pages[1].plain, "");
  EXPECT_EQ(pages[1].markup, "{B:8/8/8/8/8/8/8/K6k w - - 0 1}{V:Find it;{W:q}a1a2;Yes;No}");
  EXPECT_EQ(pages[2].markup, "");
  EXPECT_EQ(pages[3].markup, "{A:e2e4");
  EXPECT_TRUE(ReadTutorial("no pages at all").empty());
  auto big = ReadTutorial("[" + std::string(20000, 'x') + "]");
  EXPECT_EQ(big[0].plain.size(), kTutorialTextMax);
}

TEST(LessonArithmetic, StartPageAndBackRestore) {
  struct Case {
    int curriculum, debug, count, start;
  } cases[] = {
      {0, -1, 3, 0}, {0, 2, 3, 1}, {5, -1, 10, 5}, {12, -1, 10, 9},
      {0, 40, 3, 2}, {0, 0, 3, 0}, {-3, -1, 3, 0}, {4, -1, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LessonStartPage(c.curriculum, c.debug, c.count), c.start) << c.curriculum << " " << c.debug;
  BackRestore b = BackRestoreFor("{B:fen}{L:pic.bmp}");
  EXPECT_FALSE(b.position || b.arrows || b.marks || b.picture);
  EXPECT_TRUE(b.clearCaptions);
  b = BackRestoreFor("{C}{T:e4Here}");
  EXPECT_TRUE(b.position && b.arrows && b.picture);
  EXPECT_FALSE(b.marks || b.clearCaptions);
}

TEST(LessonArithmetic, RatingsAndMessages) {
  EXPECT_EQ(DiagnosticRating(401, 0), 1176);
  EXPECT_EQ(DiagnosticRating(401, 50), 1486);
  EXPECT_EQ(DiagnosticRating(401, 100), 1659);
  EXPECT_EQ(DiagnosticRating(401, 250), 1659);  // clamped
  EXPECT_EQ(DiagnosticRating(401, -40), 1176);
  EXPECT_EQ(DiagnosticRating(406, 100), 1826);
  EXPECT_EQ(DiagnosticRating(500, 50), 0);
  EXPECT_EQ(QuizResultMessage(100, 1659),
            "You scored a perfect 100% on this test! Your rating in this category is 1659 or above.");
  EXPECT_EQ(QuizResultMessage(0, 1176),
            "You scored no points in this test. Your rating in this category is 1176 or below.");
  EXPECT_EQ(QuizResultMessage(50, 1486),
            "You scored 50 points out of a possible 100. Your rating in this category is 1486.");
  EXPECT_EQ(MastersResultMessage(72), "You scored 72 points out of a possible 100.");
  EXPECT_STREQ(MastersCategory(95).category, "Master");
  EXPECT_STREQ(MastersCategory(94).category, "Expert");
  EXPECT_STREQ(MastersCategory(24).category, "Novice");
}

}  // namespace

namespace {

TEST(LessonPaging, HowFarTheUserGot) {
  LessonPaging p;
  p.Open(12, 10);  // a chapter start past the end is kept on the last page
  EXPECT_TRUE(p.Next());
  EXPECT_EQ(p.current, 9);
  EXPECT_FALSE(p.Back());
  EXPECT_FALSE(p.Next());
  EXPECT_TRUE(p.finished);
  EXPECT_EQ(p.highest, -1);
  EXPECT_EQ(p.lowest, 9);

  p.Open(5, 10);
  p.Next();
  p.Next();
  p.Next();  // page 7
  EXPECT_TRUE(p.Back());
  EXPECT_TRUE(p.Back());
  EXPECT_FALSE(p.Back());  // never below the start page
  EXPECT_EQ(p.lowest, 5);
  EXPECT_EQ(p.highest, 7);
  p.JumpBefore(10);  // a jump to the end
  EXPECT_FALSE(p.Next());
  EXPECT_EQ(p.highest, -1);

  TestOutcome quiz = FinishTest(401, 130);
  EXPECT_TRUE(quiz.quiz);
  EXPECT_EQ(quiz.result, 1659);
  EXPECT_EQ(quiz.message,
            "You scored a perfect 100% on this test! Your rating in this category is 1659 or above.");
  TestOutcome masters = FinishTest(501, 64);
  EXPECT_FALSE(masters.quiz);
  EXPECT_EQ(masters.result, 64);
}

}  // namespace
