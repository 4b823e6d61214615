// The Moves page's text and steps over games converted by the database
// module itself: numbering (Black to start, after comments, in variations),
// annotation symbols, brackets, results, hidden parts, figurines; the path
// into variations, its clamps, and a game longer than a thousand words.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gdbase.h"
#include "movetext.h"
#include "viewpath.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "native_host.h"
#include "platform.h"
#endif

namespace {

void* TextBlock(const std::string& text) {
#if defined(_WIN32)
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
#else
  return gdbase::NativeGlobalText(text.c_str());
#endif
}

void FreeBlock(void* block) {
#if defined(_WIN32)
  GlobalFree(block);
#else
  gdbase::NativeGlobalFree(block);
#endif
}

struct TextRun {
  std::string text;
  int colour, style;
  uint32_t value;
};

class Runs final : public MoveRunSink {
 public:
  void AddRun(const std::string& text, int colour, int style, uint32_t value) override {
    runs.push_back({text, colour, style, value});
  }
  std::string Joined() const {
    std::string s;
    for (const TextRun& r : runs) s += r.text;
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
  const TextRun* Find(const std::string& text) const {
    for (const TextRun& r : runs)
      if (r.text == text) return &r;
    return nullptr;
  }
  std::vector<TextRun> runs;
};

class MoveText : public ::testing::Test {
 protected:
  void SetUp() override {
#if !defined(_WIN32)
    gdbase::LibraryAttach();
#endif
    game_ = GdAllocGameBuffer();
    ASSERT_NE(game_, nullptr);
  }
  void TearDown() override { GdFreeGameBuffer(game_); }

  // Reads the PGN game and converts it; the areas stay for the test.
  void Load(std::string pgn) {
    if (pgn[0] != '[') pgn = "[Event \"Test\"]\n\n" + pgn;
    void* block = TextBlock(pgn);
    ASSERT_EQ(GdMemReadPgnGame(game_, block, 0, "NBRQK"), 0) << pgn;
    FreeBlock(block);
    ASSERT_TRUE(ConvertShownGame(game_, &areas_));
  }
  std::string Text(MoveTextSettings settings = {}) {
    runs_ = Runs();
    FillMoveText(&runs_, areas_, settings);
    return runs_.Joined();
  }

  GdGameBuffer game_ = nullptr;
  GameTextAreas areas_;
  Runs runs_;
};

TEST_F(MoveText, NumbersMovesAndCarriesTheNumberAfterAComment) {
  Load("[Result \"1-0\"]\n\n1. e4 {Best by test} e5 2. Nf3 Nc6 1-0\n");
  EXPECT_EQ(Text(), "1.e4 Best by test 1...e5 2.Nf3 Nc6 1-0");
  const TextRun* move = runs_.Find("e5 ");
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(move->value, 2u);  // index + 1
  EXPECT_EQ(move->colour, kRunMoveColour);
  EXPECT_EQ(move->style, kRunClickable);
  EXPECT_EQ(runs_.Find("1.")->value, kRunNumber);
  EXPECT_EQ(runs_.Find("1.")->style, kRunPlain);
  EXPECT_EQ(runs_.Find("Best by test ")->value, kRunComment);
  EXPECT_EQ(runs_.runs.back().value, kRunResult);
  EXPECT_EQ(runs_.runs.back().colour, kRunResultColour);
}

TEST_F(MoveText, ABlackToMoveStartNumbersItsFirstMoveWithDots) {
  Load("[SetUp \"1\"]\n[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1\"]\n\n1... e5 2. Nf3 *\n");
  EXPECT_EQ(Text(), "1...e5 2.Nf3");
  Load("[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 23\"]\n\n23... Kd7 24. e4 *\n");
  EXPECT_EQ(Text(), "23...Kd7 24.e4");
}

// 1.e4 e5 (1...c5 2.Nf3 (2.Nc3 Nc6) 2...d6) (1...e6) 2.Nf3 in pre-order:
// 0 e4, 1 e5 (alt), 2 Nf3 (end), 3 c5 (alt), 4 Nf3 (alt), 5 d6 (end),
// 6 Nc3, 7 Nc6 (end), 8 e6 (end).
std::vector<uint16_t> NestedWords() {
  using gdbase::MakeMove;
  const uint16_t alt = 0x40, end = 0x80;
  return {MakeMove(12, 28),        uint16_t(MakeMove(52, 36) | alt), uint16_t(MakeMove(6, 21) | end),
          uint16_t(MakeMove(50, 34) | alt), uint16_t(MakeMove(6, 21) | alt),  uint16_t(MakeMove(51, 43) | end),
          MakeMove(1, 18),         uint16_t(MakeMove(57, 42) | end), uint16_t(MakeMove(52, 44) | end)};
}

TEST_F(MoveText, VariationsNestInBracketsThatLeadBackToTheMainLine) {
  const std::vector<uint16_t> words = NestedWords();
  const std::vector<uint32_t> comments(10001, 0);
  const std::vector<uint16_t> nags(10001, 0);
  MoveLineSource source;
  source.words = words.data();
  source.comments = comments.data();
  source.text = "";
  source.textSize = 1;
  source.nags = nags.data();
  source.letters = MoveTextLetters(1);
  Runs runs;
  WriteMoveLine(&runs, gdbase::InitialPosition(), 0, source, 0, int(words.size()), 0);
  EXPECT_EQ(runs.Joined(), "1.e4 e5 (1...c5 2.Nf3 (2.Nc3 Nc6 ) 2...d6 ) (1...e6 ) 2.Nf3");
  int open = 0, close = 0;
  for (const TextRun& r : runs.runs) {
    if (r.text == "(") ++open;
    if (r.text == ") ") ++close;
    if (r.text == "(" || r.text == ") ") {
      EXPECT_EQ(r.value, kRunBracket);
      EXPECT_EQ(r.style, kRunClickable);
    }
  }
  EXPECT_EQ(open, 3);
  EXPECT_EQ(close, 3);
  EXPECT_EQ(runs.Find("e6 ")->value, 9u);
  Runs hidden;
  WriteMoveLine(&hidden, gdbase::InitialPosition(), 0, source, 0, int(words.size()), kLineHideVariations);
  EXPECT_EQ(hidden.Joined(), "1.e4 e5 2.Nf3");

  // The same through the module's own conversion, one level deep.
  Load("1. e4 e5 2. Nf3 (2. Nc3 Nc6) *\n");
  EXPECT_EQ(Text(), "1.e4 e5 2.Nf3 (2.Nc3 Nc6 )");
  Load("1. e4 (1. d4 d5) 1... e5 *\n");
  EXPECT_EQ(Text(), "1.e4 (1.d4 d5 ) 1...e5");
}

TEST_F(MoveText, AnnotationSymbolsCommentsAndTheirHiding) {
  Load("{Before} 1. e4 $1 $14 e5 $2 {Risky} 2. Nf3 1/2-1/2\n");
  EXPECT_EQ(Text(), "Before 1.e4 $1 $14 e5 $2 Risky 2.Nf3 \xBD-\xBD");
  EXPECT_EQ(runs_.Find("$14 ")->value, kRunAnnotation);
  EXPECT_EQ(runs_.Find("$14 ")->colour, kRunAnnotationColour);
  MoveTextSettings hidden;
  hidden.showComments = 0;
  EXPECT_EQ(Text(hidden), "1.e4 e5 2.Nf3 \xBD-\xBD");
}

TEST_F(MoveText, ResultsAndNotations) {
  const struct {
    const char* result;
    const char* text;
  } results[] = {{"1-0", "1-0"}, {"0-1", "0-1"}, {"1/2-1/2", "\xBD-\xBD"}, {"*", ""}};
  for (auto r : results) {
    Load(std::string("1. Nf3 ") + r.result + "\n");
    Text();
    EXPECT_EQ(runs_.runs.back().text, r.text);
  }
  Load("1. Nf3 d5 2. e4 dxe4 *\n");
  MoveTextSettings figurines;
  figurines.notation = 0;
  EXPECT_EQ(Text(figurines), "1.\x87" "f3 d5 2.e4 dxe4");
  MoveTextSettings longForm;
  longForm.notation = 2;
  EXPECT_NE(Text(longForm).find("g1-f3"), std::string::npos) << runs_.Joined();
}

TEST_F(MoveText, ALongGameShowsWholeAndStepsIntoItsLastVariation) {
  // Knights shuffle out and back: 4 plies a round, 260 rounds = 1,040 words,
  // then a variation on the last move.
  std::string pgn;
  int move = 1;
  for (int round = 0; round < 260; ++round) {
    pgn += std::to_string(move) + ". Nf3 Nf6 " + std::to_string(move + 1) + ". Ng1 Ng8 ";
    move += 2;
  }
  pgn += std::to_string(move) + ". e4 (" + std::to_string(move) + ". d4 d5) *\n";
  Load(pgn);
  EXPECT_EQ(areas_.mainLength, 1041);
  EXPECT_EQ(areas_.total, 1043);
  const std::string text = Text();
  EXPECT_NE(text.find("521.e4 (521.d4 d5 )"), std::string::npos) << text.substr(text.size() - 80);

  GameViewPath view;
  view.Reset(areas_.start, areas_.words.data(), areas_.mainLength, areas_.total);
  EXPECT_EQ(view.GoTo(1043, true), 1);  // d5, the variation's last move
  EXPECT_EQ(view.index(), 1043);
  const sPosition& p = view.position();
  EXPECT_NE(p.squares[27], 0);   // d4 holds White's pawn
  EXPECT_NE(p.squares[35], 0);   // d5 Black's
  EXPECT_EQ(p.squares[28], 0);   // e4 not played on this path
  EXPECT_NE(p.squares[12], 0);  // e2 still there
  EXPECT_TRUE(p.whiteToMove);
}

TEST_F(MoveText, PathsIntoVariationsAndTheClamps) {
  const std::vector<uint16_t> words = NestedWords();
  GameViewPath view;
  view.Reset(gdbase::InitialPosition(), words.data(), 3, int(words.size()));
  EXPECT_EQ(view.GoTo(0, true), 0);  // already there
  EXPECT_EQ(view.GoTo(-5, true), 0);
  EXPECT_EQ(view.GoTo(8, true), 1);  // 1.e4 c5 2.Nc3 Nc6
  const sPosition* p = &view.position();
  EXPECT_NE(p->squares[18], 0);  // c3
  EXPECT_NE(p->squares[34], 0);  // c5
  EXPECT_EQ(p->squares[36], 0);  // e5 empty
  EXPECT_EQ(p->squares[21], 0);  // f3 empty
  EXPECT_NE(p->squares[42], 0);  // c6
  EXPECT_EQ(view.GoTo(9, true), 1);  // 1...e6
  EXPECT_NE(p->squares[44], 0);
  EXPECT_EQ(p->squares[34], 0);
  EXPECT_EQ(p->squares[18], 0);
  EXPECT_TRUE(p->whiteToMove);
  EXPECT_EQ(view.GoTo(2, true), 1);  // back on the main line
  EXPECT_NE(p->squares[36], 0);
  EXPECT_EQ(p->squares[44], 0);
  EXPECT_EQ(view.GoTo(99, true), 1);  // beyond the total: the main line's end
  EXPECT_EQ(view.index(), 3);
  EXPECT_NE(p->squares[21], 0);
  // With variations hidden an index inside one falls back to the main end,
  // and ">" at the main end goes nowhere.
  EXPECT_EQ(view.GoTo(5, false), 0);
  EXPECT_EQ(view.index(), 3);
  EXPECT_EQ(view.GoTo(view.NextStep(true, false).index, false), 0);
  // Shown, ">" at the main end enters the first variation without sliding
  // (the main line's last word ends its line); inside a line it slides.
  const GameViewPath::Step into = view.NextStep(true, true);
  EXPECT_EQ(into.index, 4);
  EXPECT_FALSE(into.animate);
  view.GoTo(4, true);
  EXPECT_TRUE(view.NextStep(true, true).animate);
  EXPECT_FALSE(view.NextStep(false, true).animate);
  view.GoTo(1, true);
  EXPECT_TRUE(view.NextStep(true, true).animate);
}

TEST(KeyPath, EntryForTheIndex) {
  const int32_t keys[] = {5, 0, 7, 0, 0};
  EXPECT_EQ(KeyPathIndex(keys, 5, 0, 10), 0);
  EXPECT_EQ(KeyPathIndex(keys, 5, 2, 10), 2);
  EXPECT_EQ(KeyPathIndex(keys, 5, 4, 10), 2);   // back over entries without a key
  EXPECT_EQ(KeyPathIndex(keys, 5, 9, 10), 2);   // past the path: its last entry, then back
  EXPECT_EQ(KeyPathIndex(keys, 5, 30, 3), 2);   // index clamped to the main line
  EXPECT_EQ(KeyPathIndex(keys, 0, 3, 10), 0);   // empty path
}

}  // namespace
