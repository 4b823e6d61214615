// Tutorial files and the lesson arithmetic.
#include "tutorial_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "markup_groups.h"

std::vector<TutorialPageText> ReadTutorial(const std::string& text) {
  std::vector<TutorialPageText> pages;
  std::string label;
  size_t i = 0;
  while (i < text.size()) {
    size_t open = text.find('[', i);
    size_t at = text.find('@', i);
    if (at != std::string::npos && (open == std::string::npos || at < open)) {
      size_t eol = text.find_first_of("\r\n", at);
      label = text.substr(at, (eol == std::string::npos ? text.size() : eol) - at);
      i = eol == std::string::npos ? text.size() : eol;
      continue;
    }
    if (open == std::string::npos) break;
    size_t close = text.find_first_of("[]", open + 1);
    if (close == std::string::npos) close = text.size();
    TutorialPageText page;
    SplitPlainAndMarkup(text.substr(open + 1, close - open - 1), &page.plain, &page.markup, kTutorialTextMax);
    page.label.swap(label);
    pages.push_back(std::move(page));
    i = close < text.size() && text[close] == ']' ? close + 1 : close;
  }
  return pages;
}

int LessonStartPage(int curriculumStart, int debugTutorialPage, int pageCount) {
  int start = debugTutorialPage != -1 ? debugTutorialPage - 1 : curriculumStart;
  if (pageCount <= 0) return 0;
  return std::clamp(start, 0, pageCount - 1);
}

BackRestore BackRestoreFor(const std::string& m) {
  auto has = [&](const char* s) { return m.find(s) != std::string::npos; };
  BackRestore r;
  r.picture = !has("{L");
  r.arrows = !has("{R}") && !has("{B");
  r.marks = !has("{N") && !has("{C}") && !has("{B");
  r.position = !has("{B");
  r.clearCaptions = !has("{T");
  return r;
}

int DiagnosticRating(int test, int score) {
  static const double kTable[10][3] = {
      {-0.02756086438, 7.58510429263, 1175.9782262939},   {-0.01546086274, 7.62789849084, 1210.03133583863},
      {0.02094589335, 2.59533965123, 1379.33575077676},   {-0.044247856, 11.19796714594, 1079.45449907447},
      {-0.03787571985, 10.04753999787, 1221.7967555008},  {0.0, 5.00785530541, 1325.33777531592},
      {-0.02466663008, 9.56242958826, 1142.03673000352},  {-0.03442117102, 9.22162525231, 1373.31969222033},
      {-0.06824886832, 13.95046652649, 1210.49780441953}, {-0.00610726642, 7.18903775419, 1317.52539133746},
  };
  if (test < 401 || test > 410) return 0;
  const double* k = kTable[test - 401];
  double s = std::clamp(score, 0, 100);
  return static_cast<int>(k[0] * s * s + k[1] * s + k[2] + 0.5);
}

std::string QuizResultMessage(int score, int rating) {
  char buf[200];
  score = std::clamp(score, 0, 100);
  if (score == 100)
    std::snprintf(buf, sizeof buf,
                  "You scored a perfect 100%% on this test! Your rating in this category is %d or above.",
                  rating);
  else if (score == 0)
    std::snprintf(buf, sizeof buf,
                  "You scored no points in this test. Your rating in this category is %d or below.", rating);
  else
    std::snprintf(buf, sizeof buf,
                  "You scored %d points out of a possible 100. Your rating in this category is %d.", score,
                  rating);
  return buf;
}

std::string MastersResultMessage(int score) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "You scored %d points out of a possible 100.", std::clamp(score, 0, 100));
  return buf;
}

const std::vector<MastersBand>& MastersScale() {
  static const std::vector<MastersBand> kScale = {
      {95, "Master", "2300+"}, {85, "Expert", "2100"},  {70, "Class A", "1900"},     {55, "Class B", "1700"},
      {40, "Class C", "1500"}, {25, "Class D", "1300"}, {0, "Novice", "below 1300"},
  };
  return kScale;
}

const MastersBand& MastersCategory(int score) {
  for (const MastersBand& band : MastersScale())
    if (score >= band.lowest) return band;
  return MastersScale().back();
}

void LessonPaging::Open(int startPage, int count) {
  pageCount = count < 0 ? 0 : count;
  start = LessonStartPage(startPage, -1, pageCount);
  current = start - 1;
  lowest = start;
  highest = 0;
  finished = false;
}

bool LessonPaging::Next() {
  if (finished) return false;
  ++current;
  if (current >= pageCount) {
    finished = true;
    highest = -1;
    return false;
  }
  if (highest != -1) highest = std::max(highest, current);
  return true;
}

bool LessonPaging::Back() {
  if (finished || current <= start) return false;
  --current;
  lowest = std::min(lowest, current);
  return true;
}

void LessonPaging::JumpBefore(int target) {
  if (finished) return;
  current = std::clamp(target, 0, pageCount) - 1;
}

TestOutcome FinishTest(int test, int score) {
  score = std::clamp(score, 0, 100);
  if (test < 501) {
    int rating = DiagnosticRating(test, score);
    return {true, rating, QuizResultMessage(score, rating)};
  }
  return {false, score, MastersResultMessage(score)};
}
