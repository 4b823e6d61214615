// Lesson codes: the exercise events of a tutorial page (V, VB, E, Q, QB,
// QM, I, F, L, T, J, JD) read into records, and the answer checks, hint and
// answer markup that need no window.
//
// Interface: SplitOutsideGroups, LessonFields, LessonCode, ParseLessonCode,
// MoveExercise, ParseMoveExercise, TypedExercise, ParseTypedExercise,
// ChoiceExercise, ParseChoiceExercise, ParseButtonExercise, ListExercise,
// ParseListExercise, SquaresExercise, ParseSquaresExercise,
// ParseSquareCaptions, AnswerFormFromAnimation, CheckMoveAnswer,
// SquaresAnswerRight, TypedAnswerRight, BuildAnswerMarkup,
// CorrectAnswerText, ResolveLessonJump.
//
// Fields are separated by ";" and a field's parts by ":", but never inside
// a nested group: a comment may carry its own "{W:…}{H:…}".
#pragma once

#include <string>
#include <utility>
#include <vector>

// Field sizes (characters, without the NUL).
constexpr size_t kAltMoveMax = 7;
constexpr size_t kAltCommentMax = 511;
constexpr size_t kCommentMax = 1023;
constexpr size_t kExpectedMax = 127;
constexpr size_t kHintMax = 1543;
constexpr size_t kTypedAnswerMax = 128;
constexpr int kMaxAlternatives = 8;
constexpr int kMaxChoices = 4;
constexpr int kMaxListEntries = 24;

std::vector<std::string> SplitOutsideGroups(const std::string& text, char sep);
// ";"-separated fields with leading blanks, tabs and line ends skipped.
std::vector<std::string> LessonFields(const std::string& arg);

struct LessonCode {
  char letter = 0;  // upper case: V E Q I F L T J
  char second = 0;  // 'B' (VB, QB), 'M' (QM), 'D' (JD) or 0
  bool hasArg = false;
  std::string arg;  // after the colon
};
// False when the text is no lesson code or does not match its form.
bool ParseLessonCode(const std::string& event, LessonCode* out);

struct Scored {
  std::string text;
  int points = 0;
};

struct MoveExercise {
  std::string question, expected;
  Scored right;
  std::string wrong, hint;
  struct Alternative {
    std::string move;
    Scored comment;
  };
  std::vector<Alternative> alternatives;
};
// V (and VB, whose comments carry ":points" when `test`).
bool ParseMoveExercise(const LessonCode& code, bool test, MoveExercise* out);

struct TypedExercise {
  std::string question, expected, right, wrong;
};
bool ParseTypedExercise(const LessonCode& code, TypedExercise* out);

struct ChoiceExercise {
  std::string question;
  std::vector<std::pair<std::string, Scored>> choices;  // caption, comment
  int correct = 0;                                      // 1..4, 0 none
};
bool ParseChoiceExercise(const LessonCode& code, bool test, ChoiceExercise* out);  // Q
bool ParseButtonExercise(const LessonCode& code, bool test, ChoiceExercise* out);  // QB

struct ListExercise {
  std::string question;
  std::vector<std::pair<std::string, Scored>> entries;
};
bool ParseListExercise(const LessonCode& code, bool test, ListExercise* out);  // QM

struct SquaresExercise {
  std::string text;
  std::vector<int> expected;  // squares 0..63: file + 8 * rank
  std::string right, wrong;
};
bool ParseSquaresExercise(const LessonCode& code, SquaresExercise* out);

// T: "0" clears (cleared set); else square and text pairs.
bool ParseSquareCaptions(const LessonCode& code, bool* cleared,
                         std::vector<std::pair<int, std::string>>* out);

// The board's animation of a move ("Se2e4", "Se5d6D--d5", "Se7e8DWQe8",
// "Kg1g2f3", "Se1g1Sh1f1") as an answer: from and to, "ep" for en
// passant, the promotion letter, the king's squares for castling.
std::string AnswerFormFromAnimation(const std::string& animation);

struct MoveVerdict {
  enum Kind { Right, Alternative, Wrong } kind;
  std::string text;  // with markup; tutorials append "Try again?" to the others
  int points;
};
MoveVerdict CheckMoveAnswer(const MoveExercise& ex, const std::string& answer, bool test);

bool SquaresAnswerRight(const SquaresExercise& ex, const std::vector<int>& marked);
std::string ExpectedSquaresText(const SquaresExercise& ex);  // "e4,d5"
bool TypedAnswerRight(const std::string& expected, const std::string& typed);

// The board markup that shows the expected move; whiteToMove is the side
// that makes it.
std::string BuildAnswerMarkup(const std::string& expected, bool whiteToMove);
std::string CorrectAnswerText(const std::string& answer);  // "The correct answer is e2e4."

// The page a J code goes to (0-based), or pageCount (the end) for a label
// that no page has or a number outside 1..pageCount.
int ResolveLessonJump(const std::string& arg, const std::vector<std::string>& labels, int pageCount);
