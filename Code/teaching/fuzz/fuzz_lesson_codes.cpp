// Lesson-code fields: any event text parses into whichever exercise its
// letter names, every field within its size, and the checks run on it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lesson_codes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  LessonCode code;
  if (!ParseLessonCode(text, &code)) return 0;
  bool test = size % 2 == 0;
  MoveExercise mv;
  if (ParseMoveExercise(code, test, &mv)) {
    if (mv.alternatives.size() > kMaxAlternatives || mv.hint.size() > kHintMax ||
        mv.expected.size() > kExpectedMax)
      std::abort();
    for (const auto& alt : mv.alternatives)
      if (alt.move.size() > kAltMoveMax || alt.comment.text.size() > kAltCommentMax) std::abort();
    CheckMoveAnswer(mv, AnswerFormFromAnimation(mv.question), test);
    BuildAnswerMarkup(mv.expected, test);
  }
  TypedExercise typed;
  if (ParseTypedExercise(code, &typed)) TypedAnswerRight(typed.expected, typed.question);
  ChoiceExercise ch;
  if (ParseChoiceExercise(code, test, &ch) || ParseButtonExercise(code, test, &ch))
    if (ch.choices.size() > kMaxChoices || ch.correct < 0 || ch.correct > kMaxChoices) std::abort();
  ListExercise list;
  if (ParseListExercise(code, test, &list) && list.entries.size() > kMaxListEntries) std::abort();
  SquaresExercise sq;
  if (ParseSquaresExercise(code, &sq)) {
    for (int s : sq.expected)
      if (s < 0 || s > 63) std::abort();
    SquaresAnswerRight(sq, sq.expected);
    ExpectedSquaresText(sq);
  }
  bool cleared;
  std::vector<std::pair<int, std::string>> captions;
  ParseSquareCaptions(code, &cleared, &captions);
  int target = ResolveLessonJump(code.arg, {"@a", "", "@b"}, 3);
  if (target < 0 || target > 3) std::abort();
  return 0;
}
