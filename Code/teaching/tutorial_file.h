// Tutorial files (".TUT"): pages with their plain text, markup text and
// label; and the lesson arithmetic that needs no window: the start page,
// what going back restores, the diagnostic rating and the result texts.
//
// Interface: TutorialPageText, ReadTutorial, LessonStartPage,
// BackRestore, BackRestoreFor, DiagnosticRating, QuizResultMessage,
// MastersResultMessage, MastersCategory.
#pragma once

#include <string>
#include <vector>

constexpr size_t kTutorialTextMax = 10239;

struct TutorialPageText {
  std::string plain;   // groups removed, leading blanks and line ends dropped
  std::string markup;  // the groups in order; empty when the page has none
  std::string label;   // "@name" up to the end of its line, or empty
};

// Every "[" opens a page that runs to the next "]" (or the next "[", or
// the end of the text).
std::vector<TutorialPageText> ReadTutorial(const std::string& text);

// The first page to enter: the curriculum's, or the debug setting's when it
// is not -1 (1-based), kept within the pages so that a lesson never starts
// past its end.
int LessonStartPage(int curriculumStart, int debugTutorialPage, int pageCount);

struct BackRestore {
  bool picture, arrows, marks, position, clearCaptions;
};
// What a page's snapshot gives back when the user returns to it: only what
// its own markup does not set again.
BackRestore BackRestoreFor(const std::string& markup);

// Rating of a diagnostic quiz (401..410) for a score, kept within 0..100;
// 0 for other test numbers.
int DiagnosticRating(int test, int score);
// The message box text of a finished quiz.
std::string QuizResultMessage(int score, int rating);
std::string MastersResultMessage(int score);
// The masters scale: a category and the rating it stands for.
struct MastersBand {
  int lowest;
  const char* category;
  const char* rating;
};
const std::vector<MastersBand>& MastersScale();
const MastersBand& MastersCategory(int score);

// Where the user is in a lesson, and how far they got: the lowest page
// shown and the highest page reached (-1 once they went past the last).
struct LessonPaging {
  int pageCount = 0;
  int start = 0;
  int current = -1;  // before the start page is entered
  int lowest = 0;
  int highest = 0;
  bool finished = false;

  // Begins before the (kept within the pages) start page.
  void Open(int startPage, int count);
  // Enters the next page; false when it went past the last (finished).
  bool Next();
  // Goes back one page when allowed (mode 0, above the start page).
  bool Back();
  // Makes the next Next() enter `target` (0-based; pageCount ends).
  void JumpBefore(int target);
};

// A finished test's result and its message: a quiz (below 501) records its
// rating, a masters test its score.
struct TestOutcome {
  bool quiz;
  int result;
  std::string message;
};
TestOutcome FinishTest(int test, int score);
