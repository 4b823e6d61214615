// Lesson codes read into exercises, and the answer checks.
#include "lesson_codes.h"

#include <gtest/gtest.h>

namespace {

LessonCode Code(const std::string& text) {
  LessonCode c;
  EXPECT_TRUE(ParseLessonCode(text, &c)) << text;
  return c;
}

TEST(LessonCodes, FormsAndFieldsOutsideGroups) {
  struct Case {
    const char* text;
    bool ok;
    char letter, second;
  } cases[] = {
      {"V:q;e2e4;ok", true, 'V', 0}, {"VB:q;e2e4;ok:5", true, 'V', 'B'},
      {"Vb:q", false, 0, 0},         {"qm:x", true, 'Q', 'M'},
      {"Qb:x", true, 'Q', 'B'},      {"QX:x", false, 0, 0},
      {"J", true, 'J', 0},           {"JD:@end", true, 'J', 'D'},
      {"I e4", false, 0, 0},         {"H:e4", false, 0, 0},
      {"F", true, 'F', 0},           {"T:0", true, 'T', 0},
  };
  for (const Case& c : cases) {
    LessonCode code;
    EXPECT_EQ(ParseLessonCode(c.text, &code), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(code.letter, c.letter) << c.text;
      EXPECT_EQ(code.second, c.second) << c.text;
    }
  }
  auto f = LessonFields("Which? {W:q1}{H:e4;d5};\n  e2e4; Right {W:r}{A:e2e4:x};x");
  ASSERT_EQ(f.size(), 4u);
  EXPECT_EQ(f[0], "Which? {W:q1}{H:e4;d5}");
  EXPECT_EQ(f[1], "e2e4");
  EXPECT_EQ(f[2], "Right {W:r}{A:e2e4:x}");
  EXPECT_EQ(SplitOutsideGroups("a{b:c}:d", ':').size(), 2u);
}

TEST(LessonCodes, MovePageWithAlternatives) {
  MoveExercise ex;
  ASSERT_TRUE(ParseMoveExercise(
      Code("V:Open the game {W:ask};e2e4;Yes, the king's pawn {W:yes}{A:e2e4};No, that knight {H:f3};"
           "d2d4:Good, but {W:d4} the other pawn;c2c4:Also fine;;Take the centre."),
      false, &ex));
  EXPECT_EQ(ex.expected, "e2e4");
  EXPECT_EQ(ex.wrong, "No, that knight {H:f3}");
  ASSERT_EQ(ex.alternatives.size(), 2u);
  EXPECT_EQ(ex.hint, "Take the centre.");
  struct Case {
    const char* animation;
    MoveVerdict::Kind kind;
    const char* text;
  } cases[] = {
      {"Sd2d4", MoveVerdict::Alternative, "Good, but {W:d4} the other pawn Try again?"},
      {"Kg1g2f3", MoveVerdict::Wrong, "No, that knight {H:f3} Try again?"},
      {"Se2e4", MoveVerdict::Right, "Yes, the king's pawn {W:yes}{A:e2e4}"},
      {"SE2E4", MoveVerdict::Right, "Yes, the king's pawn {W:yes}{A:e2e4}"},
  };
  for (const Case& c : cases) {
    MoveVerdict v = CheckMoveAnswer(ex, AnswerFormFromAnimation(c.animation), false);
    EXPECT_EQ(v.kind, c.kind) << c.animation;
    EXPECT_EQ(v.text, c.text) << c.animation;
  }
  // No wrong comment: the first field with a colon is an alternative.
  ASSERT_TRUE(ParseMoveExercise(Code("V:q;e7e8q;Queen!;e7e8n:A knight works too;Promote."), false, &ex));
  EXPECT_EQ(ex.wrong, "");
  EXPECT_EQ(ex.alternatives.size(), 1u);
  EXPECT_EQ(ex.hint, "Promote.");
  EXPECT_EQ(CheckMoveAnswer(ex, AnswerFormFromAnimation("Se7e8DWQe8"), false).kind, MoveVerdict::Right);
  EXPECT_EQ(CheckMoveAnswer(ex, "E7E8Q", false).kind, MoveVerdict::Right);
  EXPECT_EQ(CheckMoveAnswer(ex, AnswerFormFromAnimation("Se7e8DWBe8"), false).text, "?");
}

TEST(LessonCodes, ScoredMovePageCastlingAndEnPassant) {
  MoveExercise ex;
  ASSERT_TRUE(ParseMoveExercise(
      Code("VB:Castle;e1g1;Safe king {W:s}:10;Too slow;e1c1:Long works:6;f1e2:Slow:2"), true, &ex));
  EXPECT_EQ(ex.right.points, 10);
  EXPECT_EQ(ex.right.text, "Safe king {W:s}");
  ASSERT_EQ(ex.alternatives.size(), 2u);
  EXPECT_EQ(ex.alternatives[1].comment.points, 2);
  MoveVerdict v = CheckMoveAnswer(ex, AnswerFormFromAnimation("Se1g1Sh1f1"), true);
  EXPECT_EQ(v.kind, MoveVerdict::Right);
  EXPECT_EQ(v.points, 10);
  v = CheckMoveAnswer(ex, AnswerFormFromAnimation("Se1c1Sa1d1"), true);
  EXPECT_EQ(v.text, "Long works");
  EXPECT_EQ(v.points, 6);
  EXPECT_EQ(CheckMoveAnswer(ex, "a2a3", true).text, "Too slow");

  EXPECT_EQ(AnswerFormFromAnimation("Se5d6D--d5"), "e5d6ep");
  EXPECT_EQ(BuildAnswerMarkup("e5d6ep", true), "{S:e5d6}{X:d5}");
  EXPECT_EQ(BuildAnswerMarkup("d4e3ep", false), "{S:d4e3}{X:e4}");
  EXPECT_EQ(BuildAnswerMarkup("e2e4", true), "{S:e2e4}");
  EXPECT_EQ(BuildAnswerMarkup("b2b1n", false), "{S:b2b1}{P:BNb1}");
  EXPECT_EQ(BuildAnswerMarkup("", true), "");
  EXPECT_EQ(CorrectAnswerText("e2e4"), "The correct answer is e2e4.");
}

TEST(LessonCodes, SquaresTypedChoicesAndLists) {
  SquaresExercise sq;
  ASSERT_TRUE(ParseSquaresExercise(Code("I:Mark the attacked squares {W:i};E4D5;Right!;Not quite."), &sq));
  EXPECT_FALSE(SquaresAnswerRight(sq, {28, 35, 42}));  // e4, d5, c6
  EXPECT_TRUE(SquaresAnswerRight(sq, {35, 28}));
  EXPECT_FALSE(SquaresAnswerRight(sq, {28}));
  EXPECT_EQ(ExpectedSquaresText(sq), "e4,d5");

  TypedExercise typed;
  ASSERT_TRUE(ParseTypedExercise(Code("E:Name the piece;Knight;Yes;No"), &typed));
  EXPECT_TRUE(TypedAnswerRight(typed.expected, "kNIGHT"));
  EXPECT_FALSE(TypedAnswerRight(typed.expected, "Bishop"));

  ChoiceExercise q;
  ASSERT_TRUE(ParseChoiceExercise(Code("Q:Best?;Nf3;Fine;Qh5;Early queen:0;2"), false, &q));
  ASSERT_EQ(q.choices.size(), 2u);
  EXPECT_EQ(q.correct, 2);
  EXPECT_EQ(q.choices[1].second.text, "Early queen:0");  // no points outside a test
  ASSERT_TRUE(ParseChoiceExercise(Code("Q:Best?;Aa;a:1;Bb;b:5;Cc;c:0;Dd;d:2;Ee;e;3"), true, &q));
  ASSERT_EQ(q.choices.size(), 4u);
  EXPECT_EQ(q.choices[1].second.points, 5);
  EXPECT_EQ(q.correct, 0);  // "Ee" stands where the number must be
  ASSERT_TRUE(ParseButtonExercise(Code("qb:Pick;One;c1:3;Two;c2:7"), true, &q));
  EXPECT_EQ(q.choices[1].second.points, 7);

  ListExercise list;
  std::string text = "QM:Which opening?";
  for (int i = 0; i < 30; ++i) text += ";Entry " + std::to_string(i) + ":Comment {W:c}:" + std::to_string(i);
  ASSERT_TRUE(ParseListExercise(Code(text), true, &list));
  ASSERT_EQ(list.entries.size(), 24u);
  EXPECT_EQ(list.entries[3].first, "Entry 3");
  EXPECT_EQ(list.entries[3].second.text, "Comment {W:c}");
  EXPECT_EQ(list.entries[3].second.points, 3);

  bool cleared;
  std::vector<std::pair<int, std::string>> captions;
  ASSERT_TRUE(ParseSquareCaptions(Code("T:e4Centre;d5Also;z9Bad"), &cleared, &captions));
  ASSERT_EQ(captions.size(), 2u);
  EXPECT_EQ(captions[1], (std::pair<int, std::string>{35, "Also"}));
  ASSERT_TRUE(ParseSquareCaptions(Code("T:0"), &cleared, &captions));
  EXPECT_TRUE(cleared);
}

TEST(LessonCodes, JumpsAndFieldSizes) {
  std::vector<std::string> labels = {"", "@mate", "", "@end"};
  struct Case {
    const char* arg;
    int target;
  } cases[] = {{"@mate", 1}, {"@Mate", 4}, {"@end", 3}, {"@nowhere", 4}, {"2", 1},
               {"4", 3},     {"0", 4},     {"5", 4},    {"-1", 4},       {"x", 4}};
  for (const Case& c : cases) EXPECT_EQ(ResolveLessonJump(c.arg, labels, 4), c.target) << c.arg;

  MoveExercise ex;
  std::string huge(5000, 'c');
  ASSERT_TRUE(ParseMoveExercise(
      Code("V:" + huge + ";e2e4" + huge + ";" + huge + ";" + huge + ";d2d4long:" + huge + ";;" + huge), false,
      &ex));
  EXPECT_EQ(ex.question.size(), kCommentMax);
  EXPECT_EQ(ex.expected.size(), kExpectedMax);
  EXPECT_EQ(ex.wrong.size(), kCommentMax);
  EXPECT_EQ(ex.alternatives[0].move, "d2d4lon");
  EXPECT_EQ(ex.alternatives[0].comment.text.size(), kAltCommentMax);
  EXPECT_EQ(ex.hint.size(), kHintMax);
}

}  // namespace
