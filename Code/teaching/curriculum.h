// The classroom curriculum: sections of "CURRICULUM.DAT" read into item
// trees, and the rules by which a finished lesson, drill or exercise is
// recorded in the user's progress.
//
// Interface: CurriculumKind, CurriculumItem, CurriculumEntry,
// CurriculumProgress, CurriculumUserRecord, CurriculumLevelWord,
// CurriculumCategoryWord, ReadCurriculumSection, CurriculumItemLaunchable,
// CurriculumItemCompleted, RecordCurriculumResult, GetSelectedTestNumber.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum CurriculumKind : uint32_t {
  kCurriculumHeader = 0,
  kCurriculumTutorial = 1,
  kCurriculumChapter = 2,
  kCurriculumQuiz = 3,
  kCurriculumDrill = 4,
  kCurriculumExercise = 5,
  kCurriculumTarn = 6,
  kCurriculumPractice = 7,
  kCurriculumMasters = 8,
  kCurriculumMessage = 9,
};

constexpr int kCurriculumTitleSize = 64;  // with the NUL: titles are cut at 63
constexpr int kCurriculumSlots = 600;
constexpr int kCurriculumPagePairs = 100;
// Deeper children lists than this make the section unreadable.
constexpr int kCurriculumMaxDepth = 16;

struct CurriculumItem {
  std::string title;  // at most 63 characters
  uint32_t kind = kCurriculumHeader;
  int32_t first = 0;
  int32_t second = 0;
  int32_t progress = 0;
};

struct CurriculumEntry {
  CurriculumItem item;
  std::vector<CurriculumEntry> children;
};

struct CurriculumProgress {
  int32_t slots[kCurriculumSlots];
  int32_t pairs[kCurriculumPagePairs][2];
  int32_t kidsTutorials;  // tutorials completed in the kids room
  int32_t kidsRuns;       // drill and exercise runs first or not better
  int32_t kidsGames;      // coach's games first completed
};

// The user record: where progress lives and how it is saved.
class CurriculumUserRecord {
 public:
  virtual ~CurriculumUserRecord() = default;
  virtual CurriculumProgress& Progress() = 0;
  virtual void Save() = 0;
};

// "BEGINNING" … "KIDS" for pages 0..4, else nullptr.
const char* CurriculumLevelWord(int page);
// The category word of a category button id, else nullptr.
const char* CurriculumCategoryWord(int buttonId);

enum class CurriculumRead { Ok, MissingSection, BadLine };

// The items of the section "<level> <category>". MissingSection when the
// key or the "{" after it is missing (the tree stays empty); BadLine when a
// CHAPTER, DRILL or EXERCISE line lacks its two numbers or the lists nest
// too deep. A section whose "}" is missing ends with the text.
CurriculumRead ReadCurriculumSection(const std::string& text, const char* level, const char* category,
                                     std::vector<CurriculumEntry>* roots);

bool CurriculumItemLaunchable(const CurriculumItem& item);
// Completed items show the check mark; headers and messages never do.
bool CurriculumItemCompleted(const CurriculumItem& item, const CurriculumProgress& progress);

// The progress number of the selection when it is a QUIZ or MASTERS, else 0.
int GetSelectedTestNumber(const CurriculumItem* selected);

// Records the result of the selection, given as the path of child indices
// from the roots. An item whose number lies outside its kind's range
// records nothing. Saves the record when the path names an entry.
void RecordCurriculumResult(const std::vector<CurriculumEntry>& roots, const std::vector<int>& selection,
                            int32_t first, int32_t second, bool kidsRoom, CurriculumUserRecord* user);

// What launching a selected item does. Chapters open their tutorial (the
// nearest ancestor) at the chapter's first page; a header launches nothing.
struct CurriculumLaunch {
  enum Action { None, Lesson, Drill, Exercise, CoachGame, Practice, Message } action = None;
  const CurriculumItem* item = nullptr;  // the tutorial file's item for lessons
  int startPage = 0;
  int mode = 0;          // 0 tutorial, 1 scored test
  std::string gamePath;  // coach's games
};
CurriculumLaunch DecideCurriculumLaunch(const std::vector<CurriculumEntry>& roots,
                                        const std::vector<int>& selection, int page, bool kidsRoom,
                                        const std::string& gamesFolder);
