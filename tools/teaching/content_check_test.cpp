// The shipped teaching content, as the build made it: the curriculum
// parses section by section with every key once, the files it names exist,
// numbers lie in their kinds' ranges, chapters lie within their tutorial;
// every lesson code parses, every expected move and alternative is legal in
// its page's position, the mates in two hold against every defence and the
// engine agrees; test points add up to 100; every voice piece and picture
// named is packed, and every packed item is used.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "board.h"
#include "curriculum.h"
#include "engine_mate.h"
#include "lesson_codes.h"
#include "markup_groups.h"
#include "movegen.h"
#include "position_text.h"
#include "tutorial_file.h"
#include "voice_clip.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Section {
  const char* level;
  const char* category;
};
const Section kSections[] = {
    {"BEGINNING", "TUTORIALS"},          {"BEGINNING", "DRILLS"},
    {"INTERMEDIATE", "TUTORIALS"},       {"INTERMEDIATE", "DRILLS"},
    {"INTERMEDIATE", "ALDER DIAGNOSTIC"}, {"INTERMEDIATE", "PRACTICE OPENINGS"},
    {"ADVANCED", "DRILLS"},              {"ADVANCED", "PUZZLES"},
    {"ADVANCED", "MATCH THE MASTERS"},   {"TARN", "TARN GAMES"},
    {"TARN", "TARN ENDGAMES"},           {"KIDS", "TUTORIALS"},
    {"KIDS", "DRILLS"},                  {"KIDS", "TARN GAMES"},
};

int CountOf(const std::string& text, const std::string& key) {
  int n = 0;
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) ++n;
  return n;
}

struct Lesson {
  std::string title;
  const CurriculumEntry* entry;
  std::string section;
};

void Collect(const std::vector<CurriculumEntry>& list, const std::string& section, std::vector<Lesson>* out,
             std::set<uint32_t>* kinds, std::vector<std::string>* problems) {
  for (const CurriculumEntry& e : list) {
    const CurriculumItem& it = e.item;
    kinds->insert(it.kind);
    auto range = [&](int lo, int hi, int v) {
      if (v < lo || v > hi) problems->push_back(section + ": " + it.title + " number " + std::to_string(v));
    };
    switch (it.kind) {
      case kCurriculumTutorial: range(0, 99, it.progress); out->push_back({it.title, &e, section}); break;
      case kCurriculumQuiz: range(401, 410, it.progress); out->push_back({it.title, &e, section}); break;
      case kCurriculumMasters: range(501, 599, it.progress); out->push_back({it.title, &e, section}); break;
      case kCurriculumChapter: range(0, 599, it.progress); break;
      case kCurriculumDrill: range(0, 599, it.progress); range(0, 7, it.first); range(0, 5, it.second); break;
      case kCurriculumExercise: range(0, 599, it.progress); range(0, 6, it.first); break;
      case kCurriculumPractice: range(0, 599, it.progress); break;
      default: break;
    }
    Collect(e.children, section, out, kinds, problems);
  }
}

// A page's position and side to move as the lesson sets them.
struct PagePosition {
  Board board{};
  int side = WHITE;
  bool set = false;
};

std::string SquareName(int sq) {
  return std::string(1, static_cast<char>('a' + SquareFile(sq))) + static_cast<char>('8' - SquareRow(sq));
}

// The move's answer form: from and to, "ep" for en passant, the promotion
// letter; castling is the king's from and to.
std::string AnswerOf(const Board& board, const MoveRecord& m) {
  std::string s = SquareName(m.from) + SquareName(m.to);
  if (m.flags & MOVE_PROMOTION) s += "qrbn"[(m.flags & MOVE_PROMOTION_TYPE) - 1];
  const int piece = board[m.from] & TYPE_MASK;
  if (piece == PAWN && SquareFile(m.from) != SquareFile(m.to) && (board[m.to] == 0)) s += "ep";
  return s;
}

bool FindMove(const PagePosition& p, const std::string& answer, MoveRecord* out) {
  MoveRecord list[kMoveListRoom];
  uint16_t count = 0;
  GenerateLegalMoves(&p.board, list, &count, p.side);
  for (int i = 0; i < count; ++i) {
    std::string a = AnswerOf(p.board, list[i]);
    if (strcasecmp(a.c_str(), answer.c_str()) == 0) {
      *out = list[i];
      return true;
    }
  }
  return false;
}

// After `first`, every defence allows a mate in one.
bool MatesInTwo(const PagePosition& p, const MoveRecord& first) {
  Board b = p.board;
  MoveRecord m = first;
  MakeMove(&m, &b);
  const int them = OtherSide(p.side);
  MoveRecord replies[kMoveListRoom];
  uint16_t n = 0;
  GenerateLegalMoves(&b, replies, &n, them);
  if (n == 0) return false;
  for (int i = 0; i < n; ++i) {
    Board c = b;
    MoveRecord r = replies[i];
    MakeMove(&r, &c);
    MoveRecord ours[kMoveListRoom];
    uint16_t k = 0;
    GenerateLegalMoves(&c, ours, &k, p.side);
    bool mates = false;
    for (int j = 0; j < k && !mates; ++j) {
      Board d = c;
      MoveRecord x = ours[j];
      MakeMove(&x, &d);
      mates = IsSideInCheck(&d, them) && CountLegalMoves(&d, them) == 0;
    }
    if (!mates) return false;
  }
  return true;
}

const fs::path kDir = RW_TEACHING_DIR;

TEST(TeachingContent, CurriculumSectionsParseOnceAndNameFilesThatExist) {
  const std::string text = ReadAll(kDir / "CURRICULUM.DAT");
  ASSERT_FALSE(text.empty());
  std::set<uint32_t> kinds;
  std::vector<Lesson> lessons;
  std::vector<std::string> problems;
  std::vector<std::vector<CurriculumEntry>> keep;
  keep.reserve(32);
  for (const Section& s : kSections) {
    const std::string key = std::string(s.level) + " " + s.category;
    EXPECT_EQ(CountOf(text, key + "\n") + CountOf(text, key + "\r\n"), 1) << key;
    keep.emplace_back();
    EXPECT_EQ(ReadCurriculumSection(text, s.level, s.category, &keep.back()), CurriculumRead::Ok) << key;
    EXPECT_FALSE(keep.back().empty()) << key;
    Collect(keep.back(), key, &lessons, &kinds, &problems);
  }
  for (const std::string& p : problems) ADD_FAILURE() << p;
  for (uint32_t k : {kCurriculumHeader, kCurriculumTutorial, kCurriculumChapter, kCurriculumQuiz, kCurriculumDrill,
                     kCurriculumExercise, kCurriculumPractice, kCurriculumMasters, kCurriculumMessage})
    EXPECT_TRUE(kinds.count(k)) << "no item of kind " << k;
  for (const Lesson& l : lessons) {
    const fs::path file = kDir / "Tutorials" / (l.title + ".TUT");
    ASSERT_TRUE(fs::exists(file)) << file;
    const auto pages = ReadTutorial(ReadAll(file));
    for (const CurriculumEntry& c : l.entry->children) {
      EXPECT_EQ(c.item.kind, kCurriculumChapter) << l.title;
      EXPECT_LE(0, c.item.first) << c.item.title;
      EXPECT_LE(c.item.first, c.item.second) << c.item.title;
      EXPECT_LT(c.item.second, static_cast<int>(pages.size())) << c.item.title;
    }
  }
  // Every tutorial file made is reached from the curriculum.
  std::set<std::string> named;
  for (const Lesson& l : lessons) named.insert(l.title + ".TUT");
  for (const auto& f : fs::directory_iterator(kDir / "Tutorials"))
    EXPECT_TRUE(named.count(f.path().filename().string())) << f.path();
}

// What one tutorial file holds and asks, checked page by page.
struct TutorialCheck {
  std::set<char> boardCodes;
  std::set<std::string> lessonCodes;
  std::set<std::string> voices, pictures;
  int points = 0;
};

void CheckTutorial(const fs::path& file, bool test, bool puzzles, TutorialCheck* out) {
  const auto pages = ReadTutorial(ReadAll(file));
  ASSERT_FALSE(pages.empty()) << file;
  std::vector<std::string> labels;
  for (const auto& p : pages) labels.push_back(p.label);
  PagePosition pos;
  const std::string name = file.filename().string();
  for (size_t pi = 0; pi < pages.size(); ++pi) {
    const std::string where = name + " page " + std::to_string(pi + 1);
    for (const ClipGroup& g : ParseClipGroups(pages[pi].markup)) {
      if (g.voice) {
        out->voices.insert(g.text + ".raw");
        continue;
      }
      const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(g.text[0])));
      LessonCode code;
      if (std::strchr("VEQIFLTJ", letter)) {
        ASSERT_TRUE(ParseLessonCode(g.text, &code)) << where << ": " << g.text;
        out->lessonCodes.insert(std::string(1, code.letter) + (code.second ? std::string(1, code.second) : ""));
      } else {
        out->boardCodes.insert(letter);
      }
      if (letter == 'B') {
        int moveNumber = 0;
        const std::string fen = g.text.substr(2);
        std::memset(&pos.board, 0, sizeof pos.board);
        ASSERT_EQ(ParseFen(fen.c_str(), &pos.board, &pos.side, &moveNumber), 0) << where << ": " << fen;
        pos.set = true;
      } else if (letter == 'L' && code.arg != "0") {
        out->pictures.insert(code.arg);
        EXPECT_NE(code.arg.find(".bmp"), std::string::npos) << where;
      } else if (letter == 'J') {
        if (code.hasArg && code.arg[0] == '@') {
          EXPECT_LT(ResolveLessonJump(code.arg, labels, static_cast<int>(pages.size())),
                    static_cast<int>(pages.size()))
              << where << ": no page " << code.arg;
        }
      } else if (letter == 'T') {
        bool cleared = false;
        std::vector<std::pair<int, std::string>> caps;
        EXPECT_TRUE(ParseSquareCaptions(code, &cleared, &caps)) << where;
      } else if (letter == 'I') {
        SquaresExercise ex;
        ASSERT_TRUE(ParseSquaresExercise(code, &ex)) << where;
        EXPECT_FALSE(ex.expected.empty()) << where;
      } else if (letter == 'E') {
        TypedExercise ex;
        ASSERT_TRUE(ParseTypedExercise(code, &ex)) << where;
      } else if (letter == 'Q') {
        ChoiceExercise ch;
        ListExercise li;
        if (code.second == 'M') {
          ASSERT_TRUE(ParseListExercise(code, test, &li)) << where;
          int best = 0;
          for (auto& e : li.entries) best = std::max(best, e.second.points);
          out->points += best;
        } else if (code.second == 'B') {
          ASSERT_TRUE(ParseButtonExercise(code, test, &ch)) << where;
        } else {
          ASSERT_TRUE(ParseChoiceExercise(code, test, &ch)) << where;
          ASSERT_GE(ch.correct, 1) << where;
          ASSERT_LE(ch.correct, static_cast<int>(ch.choices.size())) << where;
          out->points += ch.choices[ch.correct - 1].second.points;
        }
      } else if (letter == 'V') {
        MoveExercise ex;
        ASSERT_TRUE(ParseMoveExercise(code, test, &ex)) << where;
        ASSERT_TRUE(pos.set) << where << ": a move page sets its position first";
        MoveRecord m;
        EXPECT_TRUE(FindMove(pos, ex.expected, &m)) << where << ": " << ex.expected << " is not legal";
        for (const auto& alt : ex.alternatives) {
          MoveRecord a;
          EXPECT_TRUE(FindMove(pos, alt.move, &a)) << where << ": alternative " << alt.move;
        }
        out->points += ex.right.points;
        if (puzzles && FindMove(pos, ex.expected, &m)) {
          EXPECT_TRUE(MatesInTwo(pos, m)) << where << ": " << ex.expected << " does not mate in two";
          char fen[kFenTextSize];
          BoardToFen(&pos.board, pos.side, 1, fen);
          const EngineMateAnswer engine = SearchEngineMate(fen, 4);
          EXPECT_TRUE(engine.ok) << where;
          EXPECT_EQ(engine.matePlies, 3) << where << ": the engine finds no mate in two";
        }
      }
    }
  }
}

TEST(TeachingContent, LessonsParseTheirMovesAreLegalAndTestsScoreAHundred) {
  TutorialCheck all;
  for (const auto& f : fs::directory_iterator(kDir / "Tutorials")) {
    const std::string n = f.path().filename().string();
    const bool test = n == "Checkmate Quiz.TUT" || n == "Tactics Quiz.TUT" || n == "Match The Masters.TUT";
    TutorialCheck one;
    CheckTutorial(f.path(), test, n == "Mate In Two.TUT", &one);
    if (test) {
      EXPECT_EQ(one.points, 100) << n;
    }
    all.boardCodes.insert(one.boardCodes.begin(), one.boardCodes.end());
    all.lessonCodes.insert(one.lessonCodes.begin(), one.lessonCodes.end());
    all.voices.insert(one.voices.begin(), one.voices.end());
    all.pictures.insert(one.pictures.begin(), one.pictures.end());
  }
  for (char c : std::string("ABCDGHMNOPRSUX")) EXPECT_TRUE(all.boardCodes.count(c)) << "board code " << c;
  for (const char* c : {"V", "VB", "E", "Q", "QB", "QM", "I", "F", "L", "T", "J", "JD"})
    EXPECT_TRUE(all.lessonCodes.count(c)) << "lesson code " << c;

  // The pack list: every voice and picture named is packed, and every
  // packed voice piece or lesson picture is named.
  std::set<std::string> packed;
  std::ifstream list(kDir / "tutorial.list");
  for (std::string line; std::getline(list, line);) {
    const size_t eq = line.rfind('=');
    ASSERT_NE(eq, std::string::npos) << line;
    EXPECT_TRUE(fs::exists(line.substr(0, eq))) << line;
    packed.insert(line.substr(eq + 1));
  }
  for (const std::string& v : all.voices) EXPECT_TRUE(packed.count(v)) << v;
  for (const std::string& p : all.pictures) EXPECT_TRUE(packed.count(p)) << p;
  for (const std::string& p : packed)
    if (p.find("CURRICULUM_") != 0 && p != "KIDS_TILE.bmp") {
      EXPECT_TRUE(all.voices.count(p) || all.pictures.count(p)) << "unused item " << p;
    }
}

}  // namespace
