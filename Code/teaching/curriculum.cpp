// The classroom curriculum: section reader and result rules.
#include "curriculum.h"

#include <cstring>

namespace {

struct KindWord {
  const char* word;
  uint32_t kind;
};
const KindWord kKindWords[] = {
    {"HEADER", kCurriculumHeader},   {"TUTORIAL", kCurriculumTutorial}, {"CHAPTER", kCurriculumChapter},
    {"QUIZ", kCurriculumQuiz},       {"DRILL", kCurriculumDrill},       {"EXERCISE", kCurriculumExercise},
    {"TARN", kCurriculumTarn},       {"PRACTICE", kCurriculumPractice}, {"MASTERS", kCurriculumMasters},
    {"MESSAGE", kCurriculumMessage},
};

bool SameWord(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char c = a[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (c != b[i]) return false;
  }
  return true;
}

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

// A decimal number (optional sign), saturated to the 32-bit range; the
// cursor moves past it.
int32_t ReadNumber(const std::string& line, size_t* pos) {
  size_t i = *pos;
  bool negative = false;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
  int64_t v = 0;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
    if (v < INT32_MAX) v = v * 10 + (line[i] - '0');
    ++i;
  }
  *pos = i;
  if (v > INT32_MAX) v = INT32_MAX;
  return static_cast<int32_t>(negative ? -v : v);
}

bool ParseItemLine(const std::string& line, CurriculumItem* item) {
  size_t comma = line.find(',');
  item->title = line.substr(0, comma);
  if (item->title.size() > kCurriculumTitleSize - 1) item->title.resize(kCurriculumTitleSize - 1);
  if (comma == std::string::npos) return true;  // no kind word: a header
  size_t pos = comma + 1;
  size_t end = line.find(',', pos);
  if (end == std::string::npos) {
    end = pos;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
  }
  std::string word = line.substr(pos, end - pos);
  item->kind = kCurriculumHeader;
  for (const KindWord& k : kKindWords)
    if (SameWord(word, k.word)) item->kind = k.kind;
  pos = end;
  if (pos < line.size() && line[pos] == ',') {
    ++pos;
    item->progress = ReadNumber(line, &pos);
  }
  if (item->kind != kCurriculumChapter && item->kind != kCurriculumDrill && item->kind != kCurriculumExercise)
    return true;
  if (pos >= line.size() || line[pos] != ',') return false;
  ++pos;
  item->first = ReadNumber(line, &pos);
  if (pos >= line.size() || line[pos] != ',') return false;
  ++pos;
  item->second = ReadNumber(line, &pos);
  return true;
}

// Reads items up to the "}" that closes this level; returns false on a bad
// line or too deep a nesting.
bool ParseItems(const std::string& text, size_t* pos, int depth, std::vector<CurriculumEntry>* out) {
  if (depth > kCurriculumMaxDepth) return false;
  while (true) {
    size_t i = *pos;
    while (i < text.size() && IsSkipped(text[i])) ++i;
    if (i >= text.size()) {
      *pos = i;
      return true;
    }
    size_t end = text.find_first_of("\r\n", i);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(i, end - i);
    *pos = end;
    if (line == "}") return true;
    if (line == "{") {
      // Children of the item just read; at the top of a list they have no
      // parent and are dropped with a throwaway list.
      std::vector<CurriculumEntry> orphans;
      std::vector<CurriculumEntry>* into = out->empty() ? &orphans : &out->back().children;
      if (!ParseItems(text, pos, depth + 1, into)) return false;
      continue;
    }
    CurriculumEntry entry;
    if (!ParseItemLine(line, &entry.item)) return false;
    out->push_back(std::move(entry));
  }
}

bool InRange(const CurriculumItem& item) {
  int32_t p = item.progress;
  switch (item.kind) {
    case kCurriculumTutorial:
      return p >= 0 && p < kCurriculumPagePairs;
    case kCurriculumQuiz:
      return p >= 401 && p <= 410;
    case kCurriculumMasters:
      return p >= 501 && p < kCurriculumSlots;
    default:
      return p >= 0 && p < kCurriculumSlots;
  }
}

void RecordTutorial(const CurriculumEntry& tutorial, int32_t first, int32_t second, bool kidsRoom,
                    CurriculumProgress* pr) {
  const CurriculumItem& t = tutorial.item;
  if (!InRange(t)) return;
  int32_t* pair = pr->pairs[t.progress];
  int32_t& slot = pr->slots[t.progress];
  if (first == 0) {
    pair[0] = 0;
    if (second > pair[1]) pair[1] = second;
  }
  if (first == 0 && second == -1) {
    slot = 1;
    if (kidsRoom) ++pr->kidsTutorials;
  }
  if (tutorial.children.empty()) return;
  bool incomplete = false;
  const CurriculumItem* lastChapter = nullptr;
  for (const CurriculumEntry& child : tutorial.children) {
    const CurriculumItem& c = child.item;
    if (c.kind != kCurriculumChapter) continue;
    lastChapter = &c;
    if (!InRange(c) || c.first < first) continue;
    if (second == -1 || c.second <= second)
      pr->slots[c.progress] = 1;
    else if (pr->slots[c.progress] == 0)
      incomplete = true;
  }
  if (incomplete || first != 0 || lastChapter == nullptr) return;
  if (pair[1] >= lastChapter->first - 1 && slot == 0) {
    slot = 1;
    if (kidsRoom) ++pr->kidsTutorials;
  }
}

}  // namespace

const char* CurriculumLevelWord(int page) {
  static const char* const kWords[] = {"BEGINNING", "INTERMEDIATE", "ADVANCED", "TARN", "KIDS"};
  return page >= 0 && page < 5 ? kWords[page] : nullptr;
}

const char* CurriculumCategoryWord(int buttonId) {
  switch (buttonId) {
    case 21690:
      return "TUTORIALS";
    case 21695:
      return "DRILLS";
    case 21730:
      return "TARN GAMES";
    case 21735:
      return "TARN ENDGAMES";
    case 21700:
      return "TARN GAMES";
    case 21705:
      return "ALDER DIAGNOSTIC";
    case 21710:
      return "PRACTICE OPENINGS";
    case 21715:
      return "PUZZLES";
    case 21725:
      return "MATCH THE MASTERS";
    default:
      return nullptr;
  }
}

CurriculumRead ReadCurriculumSection(const std::string& text, const char* level, const char* category,
                                     std::vector<CurriculumEntry>* roots) {
  roots->clear();
  if (!level || !category) return CurriculumRead::MissingSection;
  std::string key = std::string(level) + " " + category;
  size_t at = text.find(key);
  if (at == std::string::npos) return CurriculumRead::MissingSection;
  size_t open = text.find('{', at + key.size());
  if (open == std::string::npos) return CurriculumRead::MissingSection;
  size_t pos = open + 1;
  if (!ParseItems(text, &pos, 0, roots)) {
    roots->clear();
    return CurriculumRead::BadLine;
  }
  return CurriculumRead::Ok;
}

bool CurriculumItemLaunchable(const CurriculumItem& item) { return item.kind != kCurriculumHeader; }

bool CurriculumItemCompleted(const CurriculumItem& item, const CurriculumProgress& progress) {
  if (item.kind == kCurriculumHeader || item.kind == kCurriculumMessage) return false;
  if (item.kind > kCurriculumMessage || !InRange(item)) return false;
  return progress.slots[item.progress] != 0;
}

int GetSelectedTestNumber(const CurriculumItem* selected) {
  if (!selected || (selected->kind != kCurriculumQuiz && selected->kind != kCurriculumMasters)) return 0;
  return selected->progress;
}

void RecordCurriculumResult(const std::vector<CurriculumEntry>& roots, const std::vector<int>& selection,
                            int32_t first, int32_t second, bool kidsRoom, CurriculumUserRecord* user) {
  std::vector<const CurriculumEntry*> chain;
  const std::vector<CurriculumEntry>* level = &roots;
  for (int index : selection) {
    if (index < 0 || static_cast<size_t>(index) >= level->size()) return;
    chain.push_back(&(*level)[index]);
    level = &chain.back()->children;
  }
  if (chain.empty()) return;
  CurriculumProgress& pr = user->Progress();
  // A chapter records through its tutorial.
  while (!chain.empty() && chain.back()->item.kind == kCurriculumChapter) chain.pop_back();
  if (chain.empty()) return;
  const CurriculumItem& item = chain.back()->item;
  switch (item.kind) {
    case kCurriculumQuiz:
    case kCurriculumMasters:
      if (InRange(item) && first > pr.slots[item.progress]) pr.slots[item.progress] = first;
      break;
    case kCurriculumDrill:
    case kCurriculumExercise:
      if (!InRange(item)) break;
      if (kidsRoom && (pr.slots[item.progress] == 0 || pr.slots[item.progress] > first)) ++pr.kidsRuns;
      pr.slots[item.progress] = first;
      break;
    case kCurriculumTarn:
      if (!InRange(item)) break;
      if (kidsRoom && first != 0 && pr.slots[item.progress] == 0) ++pr.kidsGames;
      pr.slots[item.progress] = first;
      break;
    case kCurriculumTutorial:
      RecordTutorial(*chain.back(), first, second, kidsRoom, &pr);
      break;
    default:  // practice, header, message: nothing is stored
      break;
  }
  user->Save();
}

CurriculumLaunch DecideCurriculumLaunch(const std::vector<CurriculumEntry>& roots,
                                        const std::vector<int>& selection, int page, bool kidsRoom,
                                        const std::string& gamesFolder) {
  CurriculumLaunch launch;
  std::vector<const CurriculumEntry*> chain;
  const std::vector<CurriculumEntry>* level = &roots;
  for (int index : selection) {
    if (index < 0 || static_cast<size_t>(index) >= level->size()) return launch;
    chain.push_back(&(*level)[index]);
    level = &chain.back()->children;
  }
  if (chain.empty()) return launch;
  const CurriculumItem& item = chain.back()->item;
  launch.item = &item;
  switch (item.kind) {
    case kCurriculumTutorial:
      launch.action = CurriculumLaunch::Lesson;
      break;
    case kCurriculumChapter:
      if (chain.size() < 2) return CurriculumLaunch();
      launch.action = CurriculumLaunch::Lesson;
      launch.item = &chain[chain.size() - 2]->item;
      launch.startPage = item.first;
      break;
    case kCurriculumQuiz:
    case kCurriculumMasters:
      launch.action = CurriculumLaunch::Lesson;
      launch.mode = 1;
      break;
    case kCurriculumDrill:
      launch.action = CurriculumLaunch::Drill;
      break;
    case kCurriculumExercise:
      launch.action = CurriculumLaunch::Exercise;
      break;
    case kCurriculumTarn: {
      const char* levelWord = CurriculumLevelWord(page);
      if (!kidsRoom && !levelWord) return CurriculumLaunch();
      launch.action = CurriculumLaunch::CoachGame;
      launch.gamePath = gamesFolder +
                        (kidsRoom ? std::string("\\KIDS ROOM") : "\\" + std::string(levelWord)) + "\\" +
                        item.title;
      break;
    }
    case kCurriculumPractice:
      launch.action = CurriculumLaunch::Practice;
      break;
    case kCurriculumMessage:
      launch.action = CurriculumLaunch::Message;
      break;
    default:
      return CurriculumLaunch();
  }
  return launch;
}
