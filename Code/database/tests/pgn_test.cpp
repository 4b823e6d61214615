// PGN reader and writer: loose input, results, limits, the writer's form,
// and the round trip of real PGN files through a game file and back.
#include <gtest/gtest.h>

#include "testdata.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "charset.h"
#include "convert.h"
#include "gdgame.h"
#include "pgn_reader.h"
#include "pgn_writer.h"
#include "texts.h"
#include "trace_capture.h"

using namespace gdbase;

namespace {

struct Read {
  PgnRecordStorage storage;
  std::vector<std::string> trace;
  std::vector<std::string> games;  // each game written back
  std::vector<int> results;
  std::vector<int> lengths;
};

int Collect(PgnGameRecord* r, int, int, void* user) {
  auto* read = static_cast<Read*>(user);
  PgnMemoryOutput out;
  WritePgnRecord(&out, *r, 0);
  read->games.push_back(out.Text());
  read->results.push_back(r->result);
  read->lengths.push_back(r->mainLength);
  return 1;
}

void ReadText(const std::string& text, Read* read, int options = 0) {
  TraceCapture capture(&read->trace);
  PgnMemorySource source(text.data(), text.size());
  ReadPgnGames(&source, &read->storage.record, options, "NBRQK", Collect, read);
}

bool TraceHas(const Read& r, const char* part) {
  for (const auto& line : r.trace)
    if (line.find(part) != std::string::npos) return true;
  return false;
}

std::string MoveText(const std::string& game) { return game.substr(game.find("\n\n") + 2); }

TEST(PgnReader, LooseInputCases) {
  struct Case {
    const char* text;
    int games;
    int result;
    int length;
    const char* moves;  // the move text written back, or null
    const char* trace;  // a trace line that must come, or null
  } cases[] = {
      {"[White \"a\"]\n1. e4 e5 2. Nf3 *", 1, 0, 3, "1. e4 e5 2. Nf3 *\n\n", nullptr},
      {"[White \"a\"]\n1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. 0-0 *", 1, 0, 7, nullptr, nullptr},
      {"[White \"a\"]\n1. e4 d5 2. e5 f5 3. exf6ep *", 1, 0, 5, "1. e4 d5 2. e5 f5 3. exf6ep *\n\n", nullptr},
      {"[White \"a\"]\n1. e4 d5 2. ed5 *", 1, 0, 3, "1. e4 d5 2. exd5 *\n\n", nullptr},
      {"[White \"a\"]\n1. e4 d5 2. d5 *", 1, 0, 3, "1. e4 d5 2. exd5 *\n\n", nullptr},
      {"[Result \"1-0\"]\n1. e4 e5 0-1", 1, 1, 2, nullptr, "conflicting game result"},
      {"[Result \"?\"]\n1. e4", 1, 0, 1, "1. e4 *\n\n", "bad or missing game result"},
      {"[White \"a\"]\n1. e4 ((e5) 1... c5) *", 1, 0, 2, nullptr, "double brackets no supported"},
      {"[White \"a\"]\n1. e4 $1 $2 $3 *", 1, 0, 1, "1. e4 $1 $2 *\n\n", "up to two NAG comments"},
      {"1. e4 e5 *\n", 0, 0, 0, nullptr, nullptr},  // no tags: skipped
      {"[White \"a\"]\n1. e4 e5 2. Qh5 Ke7 3. Qxe5# 1-0", 1, 1, 5, "1. e4 e5 2. Qh5 Ke7 3. Qxe5# 1-0\n\n",
       nullptr},
      {"[White \"a\"]\n1. e4 e5 2. Ke3 Nf6 *", 1, 0, 2, nullptr, "illegal, game truncated"},
      {"[White \"a\"]\n1. e4 {best by test} e5 (1... c5 2. Nf3) 2. Nf3 *", 1, 0, 3,
       "1. e4 {best by test} 1... e5 (1... c5 2. Nf3) 2. Nf3 *\n\n", nullptr},
      {"[White \"a\"]\n{before} 1. e4 {one} {two} *", 1, 0, 1, "{before} 1. e4 {one two} *\n\n", nullptr},
      {"[White \"a\"]\n1. e4 e5 (1... c5) (1... e6) (1... d5 2. exd5) 2. Nf3 *", 1, 0, 3,
       "1. e4 e5 (1... c5) (1... e6) (1... d5 2. exd5) 2. Nf3 *\n\n", nullptr},
      {"[White \"a\"]\n1. e4 e5 2. Nf3 (2. f4 exf4 (2... d5) 3. Nf3) 2... Nc6 *", 1, 0, 4,
       "1. e4 e5 2. Nf3 (2. f4 exf4 (2... d5) 3. Nf3) 2... Nc6 *\n\n", nullptr},
      // Two marked moves in one line: each keeps its own alternative.
      {"[White \"a\"]\n1. e4 e5 (1... c5 2. Nf3) 2. Nf3 (2. Nc3 Nc6) *", 1, 0, 3,
       "1. e4 e5 (1... c5 2. Nf3) 2. Nf3 (2. Nc3 Nc6) *\n\n", nullptr},
      {"[White \"a\"]\n1. e4 (1. d4 d5 (1... Nf6 2. c4 (2. Nf3))) 1... e5 (1... c5) 2. Nf3 (2. f4) *", 1, 0, 3,
       "1. e4 (1. d4 d5 (1... Nf6 2. c4 (2. Nf3))) 1... e5 (1... c5) 2. Nf3 (2. f4)\n*\n\n", nullptr},
      {"[White \"a\"][Black \"b\"]\n1. e4 1- 0\n[White \"c\"]\n1. d4 0-1", 2, 1, 1, nullptr, nullptr},
      {"[FEN \"8/8/8/8/8/8/8/8/8 w - - 0 1\"]\n[White \"a\"]\n*", 0, 0, 0, nullptr,
       "syntax error in FEN tag"},
      {"[FEN \"99/8 w - - 0 1\"]\n[White \"a\"]\n*", 0, 0, 0, nullptr, "syntax error in FEN tag"},
      {"[FEN \"4k3/8/8/8/8/8/8/4K3 b - - 0 12\"]\n[White \"a\"]\n12... Kd7 13. Kd2 *", 1, 0, 2,
       "12... Kd7 13. Kd2 *\n\n", nullptr},
  };
  for (const auto& c : cases) {
    Read r;
    ReadText(c.text, &r);
    ASSERT_EQ(static_cast<int>(r.games.size()), c.games) << c.text;
    if (c.games == 0) {
      if (c.trace) {
        EXPECT_TRUE(TraceHas(r, c.trace)) << c.text;
      }
      continue;
    }
    EXPECT_EQ(r.results[0], c.result) << c.text;
    EXPECT_EQ(r.lengths[0], c.length) << c.text;
    if (c.moves) {
      EXPECT_EQ(MoveText(r.games[0]), c.moves) << c.text;
    }
    if (c.trace) {
      EXPECT_TRUE(TraceHas(r, c.trace)) << c.text;
    }
  }
}

TEST(PgnReader, OptionsAndFischerCastling) {
  Read mirrored;
  ReadText("[White \"a\"]\n1. e4 Nf6 *", &mirrored, kPgnMirror);
  ASSERT_EQ(mirrored.games.size(), 1u);
  EXPECT_NE(mirrored.games[0].find("[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1\"]"),
            std::string::npos);
  EXPECT_EQ(MoveText(mirrored.games[0]), "1... e5 2. Nf3 *\n\n");

  Read headers;
  ReadText("[White \"a\"]\n1. e4 e5 *\n[White \"b\"]\n1. d4 *", &headers, kPgnHeadersOnly);
  ASSERT_EQ(headers.games.size(), 2u);
  EXPECT_EQ(headers.lengths[0], 0);
  EXPECT_NE(headers.games[1].find("[White \"b\"]"), std::string::npos);

  Read fischer;
  ReadText("[White \"a\"]\n[SetUp \"2\"]\n[FEN \"1k2r3/8/8/8/8/8/8/RK2R3 w KQk - 0 1\"]\n1. O-O *", &fischer);
  ASSERT_EQ(fischer.games.size(), 1u);
  EXPECT_EQ(fischer.lengths[0], 1);
  EXPECT_TRUE(TraceHas(fischer, "skipping legality check on short white Fischer castling."));
}

TEST(PgnReader, LongCommentIsDroppedWhole) {
  std::string big(50000, 'x');
  Read r;
  ReadText("[White \"a\"]\n1. e4 {" + big + "} e5 {short} *", &r);
  ASSERT_EQ(r.games.size(), 1u);
  EXPECT_TRUE(TraceHas(r, "comment buffer full"));
  EXPECT_EQ(MoveText(r.games[0]), "1. e4 e5 {short} *\n\n");
}

TEST(PgnReader, TooManyPendingAlternativesSkipTheGame) {
  // A knight dance on the main line where every move has an alternative.
  auto game = [](int cycles) {
    std::string text = "[White \"a\"]\n1. e4 e5 2. Nf3 Nc6";
    for (int i = 0; i < cycles; ++i) text += " Ng1 (a3) Nb8 (a6) Nf3 (a3) Nc6 (a6)";
    return text + " *";
  };
  Read fits;
  ReadText(game(180), &fits);
  EXPECT_EQ(fits.games.size(), 1u);
  EXPECT_EQ(fits.lengths[0], 4 + 4 * 180);
  Read tooMany;
  ReadText(game(200), &tooMany);
  EXPECT_EQ(tooMany.games.size(), 0u);
  EXPECT_TRUE(TraceHas(tooMany, "alternatives pending"));
}

TEST(PgnWriter, TagsLinesAndMemoryGrowth) {
  PgnRecordStorage s;
  PgnGameRecord& r = s.record;
  std::strcpy(r.Tag(kTagResult), "*");
  PgnMemoryOutput out;
  WritePgnRecord(&out, r, 0);
  EXPECT_EQ(
      out.Text(),
      "[Event \"?\"]\n[Site \"?\"]\n[Date \"????.??.??\"]\n[Round \"?\"]\n[White \"?\"]\n[Black \"?\"]\n"
      "[Result \"*\"]\n\n*\n\n");

  // A long game with long comments: lines stay within 76 characters, and the
  // memory block grows past 16,384 bytes.
  Read read;
  std::string text = "[White \"a\"]\n[Date \"1999.08.12\"]\n[WhiteTime \"1:30\"]\n";
  const char* dance[4] = {"Nf3", "Nf6", "Ng1", "Ng8"};
  for (int ply = 0; ply < 800; ++ply) {
    if (ply % 2 == 0) text += std::to_string(ply / 2 + 1) + ". ";
    text += dance[ply % 4];
    text += ply % 4 == 0
                ? " {a comment that is long enough to need wrapping over several lines of the output}\n"
                : " ";
  }
  text += "*";
  ReadText(text, &read);
  ASSERT_EQ(read.games.size(), 1u);
  const std::string& game = read.games[0];
  EXPECT_GT(game.size(), 16384u);
  EXPECT_NE(game.find("[Date \"1999.08.12\"]"), std::string::npos);
  EXPECT_NE(game.find("[WhiteTime \"01:30:00\"]"), std::string::npos);
  size_t start = 0;
  while (start < game.size()) {
    size_t end = game.find('\n', start);
    if (end == std::string::npos) end = game.size();
    EXPECT_LE(end - start, 76u) << game.substr(start, end - start);
    start = end + 1;
  }
  // Read again, stopping at the game so that the record stays filled.
  PgnMemorySource again(text.data(), text.size());
  ReadPgnGames(
      &again, &read.storage.record, 0, "NBRQK", [](PgnGameRecord*, int, int, void*) { return 0; }, nullptr);
  PgnMemoryOutput grown;
  WritePgnRecord(&grown, read.storage.record, 0);
  EXPECT_GT(grown.Capacity(), 16384u);
  PgnMemoryOutput capped(16384);
  WritePgnRecord(&capped, read.storage.record, 0);
  EXPECT_EQ(capped.Text().size(), 16383u);  // the rest dropped, the NUL still fits
}

TEST(PgnWriter, SetUpAndFen) {
  Read r;
  ReadText("[White \"a\"]\n[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\"]\n1. e4 *", &r);
  ASSERT_EQ(r.games.size(), 1u);
  EXPECT_NE(r.games[0].find("[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\"]"), std::string::npos);
  Read standard;
  ReadText("[White \"a\"]\n1. e4 *", &standard);
  EXPECT_EQ(standard.games[0].find("FEN"), std::string::npos);
}

// file -> records -> game file -> records -> PGN -> records -> game file -> PGN
struct RoundTrip {
  PgnRecordStorage storage;
  int32_t file = 0;
  GdgGame* game = nullptr;
  int written = 0;
};

int WriteToFile(PgnGameRecord* r, int, int, void* user) {
  auto* t = static_cast<RoundTrip*>(user);
  RecordToGame(*r, t->game);
  int32_t number = 0;
  if (!GdgWriteGame(t->game, t->file, 0, &number)) return 0;
  ++t->written;
  return 1;
}

std::string ExportAll(int32_t file) {
  GdgGame* game = IGGameOpenGame();
  PgnRecordStorage s;
  PgnMemoryOutput out;
  for (int n = 1; n <= GdgGetNumberOfGames(file); ++n) {
    EXPECT_EQ(GdgLoadGame(game, file, n, 0), 1);
    EXPECT_EQ(GameToRecord(game, &s.record), 0);
    EXPECT_EQ(WritePgnRecord(&out, s.record, 0), 0);
  }
  IGGameCloseGame(game);
  return out.Text();
}

int Import(const std::string& text, const char* path, RoundTrip* t) {
  t->file = GdgOpenGamefile(path, 1);
  t->game = IGGameOpenGame();
  PgnMemorySource source(text.data(), text.size());
  ReadPgnGames(&source, &t->storage.record, 0, "NBRQK", WriteToFile, t);
  IGGameCloseGame(t->game);
  return t->written;
}

TEST(PgnRoundTrip, TestDataFilesThroughTheDatabaseUnchanged) {
  struct File {
    const char* name;
    int games;
  } files[] = {{RW_ECO_FILE, 2014}, {"mate_in_2.pgn", 166}, {"mate_in_3.pgn", 375}};
  RW_REQUIRE_TESTDATA("mate_in_2.pgn", "mate_in_3.pgn");
  for (const auto& f : files) {
    std::string path = f.name == std::string(RW_ECO_FILE) ? f.name : TestDataPath(f.name);
    std::FILE* in = std::fopen(path.c_str(), "rb");
    ASSERT_NE(in, nullptr) << path;
    std::string text;
    char buf[65536];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, in)) > 0;) text.append(buf, n);
    std::fclose(in);

    RoundTrip first;
    ASSERT_EQ(Import(text, "roundtrip_a.gdg", &first), f.games) << f.name;
    std::string exported = ExportAll(first.file);
    RoundTrip second;
    ASSERT_EQ(Import(exported, "roundtrip_b.gdg", &second), f.games) << f.name;
    std::string again = ExportAll(second.file);
    EXPECT_EQ(exported, again) << f.name;
    // Every game kept all its moves.
    GdgGame* a = IGGameOpenGame();
    int moves = 0;
    for (int n = 1; n <= f.games; ++n) {
      GdgLoadGame(a, first.file, n, 0);
      moves += IGGameGetLength(a);
    }
    IGGameCloseGame(a);
    EXPECT_GT(moves, f.games) << f.name;
    GdgCloseGamefile(first.file);
    GdgCloseGamefile(second.file);
  }
}

}  // namespace

namespace {

TEST(Charset, HeaderTextsInCodePage437) {
  struct Case {
    uint8_t windows, game, back;
  } cases[] = {
      {'A', 'A', 'A'},    {0xE1, 0xA0, 0xE1}, {0xFC, 0x81, 0xFC}, {0xD6, 0x99, 0xD6},
      {0xC5, 0x8F, 0xC2}, {0xC0, 'A', 'A'},   {0xD8, '0', '0'},   {0xA9, 0xA7, 0xA9},
      {0xA0, ' ', ' '},   {0x80, 0xFA, 0xB0}, {0x01, 0xFA, 0xB0}, {0xBD, 0xAB, 0xBD},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WindowsToGameChar(c.windows), c.game) << int(c.windows);
    EXPECT_EQ(GameToWindowsChar(c.game), c.back) << int(c.windows);
  }
  // A name with an accent goes into the game file in code page 437 and
  // comes back unchanged.
  GdgGame* game = IGGameOpenGame();
  PgnRecordStorage in, out;
  std::strcpy(in.record.Tag(kTagWhite), "Judit Polg\xE1r");
  std::strcpy(in.record.Tag(kTagResult), "*");
  RecordToGame(in.record, game);
  char stored[64];
  IGGameGetPlayer(game, 0, stored, sizeof stored);
  EXPECT_STREQ(stored, "Judit Polg\xA0r");
  GameToRecord(game, &out.record);
  EXPECT_STREQ(out.record.Tag(kTagWhite), "Judit Polg\xE1r");
  IGGameCloseGame(game);
}

}  // namespace
