// The book builder: arguments, import with weights, writing limits, the
// listings and the statistics.
#include "bookbuilder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "board.h"
#include "book_fixture.h"
#include "bookreader.h"
#include "notation.h"
#include "pgn_read.h"

namespace {

struct BuildRun {
  int result = 0;
  std::string printed, reported;
};

BuildRun Build(std::vector<std::string> args, const std::string& input = std::string()) {
  BuildRun run;
  BookBuilderIo io;
  io.print = [&run](const std::string& s) { run.printed += s; };
  io.report = [&run](const std::string& s) { run.reported += s; };
  io.input = StringLineSource(input);
  std::vector<const char*> argv{"rwbook"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  run.result = BookBuilderMain(static_cast<int>(argv.size()), argv.data(), io);
  return run;
}

std::string WritePgn(const char* name, const std::string& text) {
  std::string path = TempPath(name);
  WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
  return path;
}

// Weight codes of the moves from the initial position of a book file.
std::vector<int> FirstMoveWeights(const std::string& path) {
  std::vector<int> codes;
  SelectBookSlot(4);
  if (LoadBookFile(path.c_str())) {
    for (uint16_t n = 0; n != kNoNode; n = NextSiblingNode(n))
      codes.push_back(BookWordWeight(GetBookMoveWord(n)));
  }
  FreeBookSlot();
  SelectBookSlot(0);
  return codes;
}

std::string Games(const char* moves, int count, const char* result = "1-0") {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::string("[Event \"x\"]\n\n") + moves + " " + result + "\n\n";
  return text;
}

// The moves in short algebraic notation, from the initial position.
std::string MovesText(const std::vector<MoveRecord>& moves) {
  Board board;
  SetInitialBoard(&board);
  int side = WHITE;
  std::string out;
  for (MoveRecord move : moves) {
    char text[kNotationTextSize];
    if (!out.empty()) out += ' ';
    out += MoveToNotation(&board, &move, side, STYLE_ALGEBRAIC, text);
    MakeMove(&move, &board);
    side = OtherSide(side);
  }
  return out;
}

}  // namespace

TEST(BookBuilder, BadArgumentsDoNothing) {
  EXPECT_EQ(Build({"COMMAND=FLY"}).result, BUILDER_BAD_ARGUMENT);
  EXPECT_EQ(Build({"COLOR=RED", "COMMAND=TEST"}).result, BUILDER_BAD_ARGUMENT);
  EXPECT_EQ(Build({"nonsense"}).result, BUILDER_BAD_ARGUMENT);
  EXPECT_EQ(Build({"command=test", "xxINBOOK=a.obk"}).result, BUILDER_OK);
  BuildRun missing = Build({"COMMAND=STATS", "INBOOK=no-such.obk"});
  EXPECT_EQ(missing.result, BUILDER_BAD_IN_BOOK);
  EXPECT_NE(missing.reported.find("Unable to load book data file no-such.obk"), std::string::npos);
}

TEST(BookBuilder, FrequencyWeightsAndChecksum) {
  std::string pgn = WritePgn(
      "freq.pgn", Games("1. e4 e5", 8) + Games("1. d4 d5", 4) + Games("1. c4", 2) + Games("1. Nf3", 1));
  std::string out = TempPath("freq.obk");
  BuildRun run = Build({"PGN=" + pgn, "OUTBOOK=" + out, "COLOR=WHITE", "COMMAND=IMPORT"});
  ASSERT_EQ(run.result, BUILDER_OK) << run.reported;
  EXPECT_NE(run.reported.find("Imported 15\n"), std::string::npos);
  EXPECT_EQ(FirstMoveWeights(out), (std::vector<int>{3, 2, 1, 1}));

  // Without COLOR no move counts a game: weights stay as they were (0).
  BuildRun none = Build({"PGN=" + pgn, "OUTBOOK=" + out, "COMMAND=IMPORT"});
  ASSERT_EQ(none.result, BUILDER_OK);
  EXPECT_EQ(FirstMoveWeights(out), (std::vector<int>{0, 0, 0, 0}));
  std::remove(pgn.c_str());
  std::remove(out.c_str());

  // The book 1.e4 (3) e5 (2), 1.d4 (0).
  std::string small = TempPath("small.obk");
  WriteFile(small, MakeBookImage({CoordWord("e2e4", 3, false, false), CoordWord("e7e5", 2, true, true),
                                  CoordWord("d2d4", 0, true, true)},
                                 {}));
  BuildRun sum = Build({"INBOOK=" + small, "COMMAND=CHECKSUM"});
  EXPECT_EQ(sum.printed, "Checksum = 7844\n");
  std::remove(small.c_str());
}

TEST(BookBuilder, RatioCriteriaNeedSixGames) {
  std::string pgn = WritePgn("wins.pgn", Games("1. e4", 5, "1-0") + Games("1. d4", 1, "0-1"));
  std::string out = TempPath("wins.obk");
  for (const char* criterion : {"WINS", "LOSSES", "DRAWS"}) {
    BuildRun run = Build({"PGN=" + pgn, "OUTBOOK=" + out, "COLOR=BOTH", std::string("CRITERIA=") + criterion,
                          "COMMAND=IMPORT"});
    ASSERT_EQ(run.result, BUILDER_OK);
    EXPECT_EQ(FirstMoveWeights(out), (std::vector<int>{0, 0})) << criterion;
  }
  std::string six = WritePgn("wins6.pgn", Games("1. e4", 6, "1-0") + Games("1. d4", 6, "0-1"));
  BuildRun run = Build({"PGN=" + six, "OUTBOOK=" + out, "COLOR=BOTH", "CRITERIA=wins", "COMMAND=IMPORT"});
  ASSERT_EQ(run.result, BUILDER_OK);
  EXPECT_EQ(FirstMoveWeights(out), (std::vector<int>{3, 0}));
  std::remove(pgn.c_str());
  std::remove(six.c_str());
  std::remove(out.c_str());
}

TEST(BookBuilder, DepthCutsGamesAndLongGamesAreCapped) {
  std::string longGame = "[Event \"long\"]\n\n";
  // Knights out and back: 400 plies, more than the move list holds.
  const char* cycle[] = {"Nf3", "Nf6", "Ng1", "Ng8"};
  for (int i = 0; i < 400; ++i) longGame += std::string(cycle[i % 4]) + " ";
  longGame += "1/2-1/2\n\n";
  std::string pgn =
      WritePgn("depth.pgn", longGame + Games("1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 "
                                             "6. Re1 b5 7. Bb3 d6",
                                             1));
  std::string out = TempPath("depth.obk");
  ASSERT_EQ(Build({"PGN=" + pgn, "OUTBOOK=" + out, "DEPTH=12", "COMMAND=IMPORT"}).result, BUILDER_OK);
  SelectBookSlot(4);
  ASSERT_TRUE(LoadBookFile(out.c_str()));
  EXPECT_EQ(GetBookMoveCount(), 24);
  ASSERT_EQ(Build({"PGN=" + pgn, "OUTBOOK=" + out, "COMMAND=IMPORT"}).result, BUILDER_OK);
  SelectBookSlot(4);
  ASSERT_TRUE(LoadBookFile(out.c_str()));
  EXPECT_EQ(GetBookMoveCount(), 380 + 14);
  FreeBookSlot();
  SelectBookSlot(0);
  std::remove(pgn.c_str());
  std::remove(out.c_str());
}

TEST(BookBuilder, PgnErrorsAndSetUpGames) {
  std::string pgn = WritePgn("error.pgn", "[Event \"x\"]\n\n1. e4 e5 2. Ke3 *\n");
  std::string out = TempPath("error.obk");
  std::remove(out.c_str());
  BuildRun run = Build({"PGN=" + pgn, "OUTBOOK=" + out, "COMMAND=IMPORT"});
  EXPECT_EQ(run.result, PGN_ILLEGAL_MOVE);
  EXPECT_NE(run.reported.find("Error #4 on line 3 at character 16\n1. e4 e5 2. Ke3 *\n" +
                              std::string(15, ' ') + "^\n"),
            std::string::npos)
      << run.reported;
  EXPECT_TRUE(ReadFile(out).empty());

  BuildRun unopened = Build({"PGN=no-such.pgn", "OUTBOOK=" + out, "COMMAND=IMPORT"});
  EXPECT_EQ(unopened.result, BUILDER_BAD_ARGUMENT);
  EXPECT_TRUE(ReadFile(out).empty());

  std::string setUp =
      WritePgn("setup.pgn", "[FEN \"8/8/8/8/8/8/4K3/k7 w - - 0 1\"]\n\n1. Kf3 *\n\n" + Games("1. e4", 1));
  ASSERT_EQ(Build({"PGN=" + setUp, "OUTBOOK=" + out, "COMMAND=IMPORT"}).result, BUILDER_OK);
  SelectBookSlot(4);
  ASSERT_TRUE(LoadBookFile(out.c_str()));
  EXPECT_EQ(GetBookMoveCount(), 1);
  FreeBookSlot();
  SelectBookSlot(0);
  std::remove(pgn.c_str());
  std::remove(setUp.c_str());
  std::remove(out.c_str());
}

TEST(BookBuilder, TooLargeBookIsNotWritten) {
  BookTree tree;
  // 65,536 moves: 256 first moves (repeated words do not matter here) with 255 children each.
  for (int i = 0; i < 256; ++i) {
    int n = tree.AddChild(BookTree::kRoot, CoordWord("e2e4", 0, false, false));
    for (int k = 0; k < 255; ++k) tree.AddChild(n, CoordWord("e7e5", 0, false, false));
  }
  ASSERT_EQ(tree.MoveCount(), 65536);
  std::string out = TempPath("large.obk");
  std::remove(out.c_str());
  std::string reported;
  EXPECT_EQ(WriteBookTree(tree, out.c_str(), [&](const std::string& s) { reported += s; }),
            BUILDER_BOOK_TOO_LARGE);
  EXPECT_EQ(reported, "Error: Book size of 65536 is greater than allowed (65534)\n");
  EXPECT_TRUE(ReadFile(out).empty());
}

TEST(BookBuilder, RewritesListingsAndStatistics) {
  std::string in = TempPath("texts.obk");
  std::string longComment(300, 'c');
  WriteFile(in, MakeBookImage({CoordWord("e2e4", 3, false, false), CoordWord("e7e5", 2, true, true),
                               CoordWord("d2d4", 1, true, true)},
                              {{0, 128, "King \"pawn\""},
                               {0, 130, "B00X"},
                               {1, 129, longComment},
                               {2, 128, "Queen {W:qp}pawn"}}));
  std::string out = TempPath("texts-out.obk");

  ASSERT_EQ(Build({"INBOOK=" + in, "OUTBOOK=" + out, "COMMAND=STRIP"}).result, BUILDER_OK);
  EXPECT_EQ(ReadFile(out).size(), 8u + 2 * 3);

  ASSERT_EQ(Build({"INBOOK=" + in, "OUTBOOK=" + out, "COMMAND=NOBRACES"}).result, BUILDER_OK);
  SelectBookSlot(4);
  ASSERT_TRUE(LoadBookFile(out.c_str()));
  EXPECT_EQ(GetBookNodeText(0, 128), "King 'pawn'");
  EXPECT_EQ(GetBookNodeText(0, 130), "B00");
  EXPECT_EQ(GetBookNodeText(1, 129), longComment);
  EXPECT_EQ(GetBookNodeText(2, 128), "Queen pawn");
  FreeBookSlot();
  SelectBookSlot(0);

  BuildRun csv = Build({"INBOOK=" + in, "COMMAND=CSV"});
  EXPECT_EQ(csv.printed.substr(0, csv.printed.find('\n')), "\"1. e4\",\"King 'pawn'\",\"\",\"B00\"");

  // The listing reads back as the same named lines.
  std::string roundTrip = TempPath("roundtrip.obk");
  ASSERT_EQ(Build({"OUTBOOK=" + roundTrip, "COMMAND=IMPORTCSV"}, csv.printed).result, BUILDER_OK);
  EXPECT_EQ(Build({"INBOOK=" + roundTrip, "COMMAND=CSV"}).printed, csv.printed);
  std::remove(roundTrip.c_str());

  BuildRun waves = Build({"INBOOK=" + in, "COMMAND=WAVES"});
  EXPECT_EQ(waves.printed, "qp.RAW\n");

  BuildRun missing = Build({"INBOOK=" + in, "COMMAND=MISSING"});
  EXPECT_EQ(missing.printed, "1. e4\n1. d4\n");

  BuildRun stats = Build({"INBOOK=" + in, "COMMAND=STATS"});
  EXPECT_NE(stats.printed.find(
                "Total Moves = 3\nMax Depth = 2\nMax Alternatives = 2\nTotal Move Combinations = 3\n\n"
                "Depth    Count    Variations     Annotations\n" +
                std::string(44, '-') + "\n   1        2       2 (100%)        0 (  0%)\n"),
            std::string::npos)
      << stats.printed;
  EXPECT_NE(stats.printed.find("3      1      0      1 ( 33%)\n"), std::string::npos) << stats.printed;

  std::string empty = TempPath("empty.obk");
  WriteFile(empty, MakeBookImage({}, {}));
  BuildRun emptyStats = Build({"INBOOK=" + empty, "COMMAND=STATS"});
  EXPECT_EQ(emptyStats.result, BUILDER_OK);
  EXPECT_NE(emptyStats.printed.find("Total Moves = 0"), std::string::npos);

  BuildRun test = Build({"INBOOK=" + in, "COMMAND=IMPORTTEST"}, "1. e4 e5 2. Nf3 *\n");
  EXPECT_EQ(test.printed, "      e4: [King \"pawn\"] []\n      e5: [King \"pawn\"] [" + longComment +
                              "]\n     Nf3: Not in book.\n\n");

  BuildRun imported = Build({"OUTBOOK=" + out, "COMMAND=IMPORTCSV"},
                            "\"1. e4 e5\",\"Open / Game\",\"a comment\",\"C20x\"\n1. d4,Queen pawn,,D00\n");
  ASSERT_EQ(imported.result, BUILDER_OK) << imported.printed;
  EXPECT_EQ(imported.printed, "Imported Game 1, 2 moves\nImported Game 2, 1 moves\n");
  SelectBookSlot(4);
  ASSERT_TRUE(LoadBookFile(out.c_str()));
  EXPECT_EQ(GetBookNodeText(1, 128), "Game");
  EXPECT_EQ(GetBookNodeText(1, 129), "a comment");
  EXPECT_EQ(GetBookNodeText(1, 130), "C20");
  EXPECT_EQ(GetBookNodeText(2, 128), "Queen pawn");
  FreeBookSlot();
  SelectBookSlot(0);

  BuildRun dups = Build({"INBOOK=" + in, "COMMAND=DUPS"});
  EXPECT_EQ(dups.printed, "Duplicate Entries:\n");

  BuildRun variations = Build({"INBOOK=" + in, "COMMAND=VARIATIONS"});
  EXPECT_NE(variations.printed.find("\"1. d4\",\"Queen pawn\",\"Queen {W:qp}pawn\"\n"), std::string::npos)
      << variations.printed;
  EXPECT_NE(variations.printed.find("Total Variations: 2\n"), std::string::npos);

  for (const std::string& p : {in, out, empty}) std::remove(p.c_str());
}

TEST(BookBuilder, TextsOfMissingNodesAreABadBook) {
  std::string in = TempPath("orphan.obk");
  WriteFile(in, MakeBookImage({CoordWord("e2e4", 3, true, true)}, {{7, 128, "nowhere"}}));
  BuildRun run = Build({"INBOOK=" + in, "COMMAND=CSV"});
  EXPECT_EQ(run.result, BUILDER_BAD_IN_BOOK);
  EXPECT_NE(run.reported.find("Error: cannot find move index 7 in tree.\n"), std::string::npos);
  std::remove(in.c_str());
}

TEST(BookBuilder, GameFeatures) {
  int64_t f[kGameFeatureCount];
  // 1.e4 d5 2.exd5 Qxd5 3.Nc3: two early captures, Black behind by a pawn before Qxd5.
  ComputeGameFeatures(SanLine("e4 d5 exd5 Qxd5 Nc3"), f);
  EXPECT_EQ(f[0], 5);
  EXPECT_EQ(f[1], 2);
  EXPECT_EQ(f[3], 15 - 4);               // Nc3 at ply 4
  EXPECT_EQ(f[4], 15 - 3);               // Qxd5 at ply 3
  EXPECT_EQ(f[7], (15 - 0) + (15 - 2));  // e4, exd5
  EXPECT_EQ(f[6], 15 - 1);
  EXPECT_EQ(f[8], 1);
  EXPECT_EQ(f[9], 0);
}

TEST(BookBuilder, TextSizeFieldIsZeroFromSixtyFourKilobytes) {
  struct Case {
    size_t commentBytes;
    bool zeroField;
  } cases[] = {{64519, false}, {64520, true}, {70000, true}};  // 65,535 and 65,536 bytes of records
  for (const Case& c : cases) {
    BookTree tree;
    int n = tree.AddChild(BookTree::kRoot, CoordWord("e2e4", 3, false, false));
    tree[n].comment = std::string(c.commentBytes, 'z');
    std::string out = TempPath("bigtext.obk");
    ASSERT_EQ(WriteBookTree(tree, out.c_str(), [](const std::string&) {}), BUILDER_OK);
    std::vector<uint8_t> image = ReadFile(out);
    // Records of 255 bytes: ceil(bytes / 255) headers of 4 bytes.
    size_t total = c.commentBytes + 4 * ((c.commentBytes + 254) / 255);
    ASSERT_EQ(image.size(), 10 + total);
    EXPECT_EQ(ReadLe16(&image[6]) == 0, c.zeroField) << c.commentBytes;
    EXPECT_EQ(ReadLe16(&image[6]) == 0, total >= 65536) << c.commentBytes;
    SelectBookSlot(4);
    ASSERT_TRUE(LoadBookFile(out.c_str()));
    EXPECT_EQ(GetBookNodeText(0, 129).size(), c.commentBytes);
    FreeBookSlot();
    SelectBookSlot(0);
    std::remove(out.c_str());
  }
}

TEST(PgnGameSource, ReadsTheMainLineOfEachGame) {
  const std::string text =
      "[Event \"a\"]\n[White \"W\"]\n[ECO \"C40\"]\n[Result \"1-0\"]\n\n"
      "1. e4 {a comment\nover lines} e5 (1... c5 2. Nf3 (2. c3)) 2. Nf3 $1 ; rest\nNc6 1-0\n\n"
      "[Event \"b\"]\n\n1. d4 d5 2. c4 0-1\n\n"
      "[Event \"c\"]\n[SetUp \"1\"]\n[FEN \"8/8/8/8/8/8/4K3/k7 w - - 0 1\"]\n\n1. Kf3 *\n";
  PgnGameSource games(StringLineSource(text), 3);
  BookGame game;
  BookGameError error;
  ASSERT_EQ(games.NextGame(&game, &error), GAME_READ_GAME);
  EXPECT_EQ(MovesText(game.moves), "e4 e5 Nf3");  // cut at 3 plies
  ASSERT_NE(game.Tag("White"), nullptr);
  EXPECT_EQ(*game.Tag("White"), "W");
  ASSERT_NE(game.Tag("ECO"), nullptr);
  EXPECT_EQ(*game.Tag("ECO"), "C40");
  EXPECT_EQ(game.result, GAME_RESULT_WHITE_WINS);
  EXPECT_FALSE(game.fromSetUpPosition);
  ASSERT_EQ(games.NextGame(&game, &error), GAME_READ_GAME);
  EXPECT_EQ(MovesText(game.moves), "d4 d5 c4");
  EXPECT_EQ(game.result, GAME_RESULT_BLACK_WINS);
  ASSERT_EQ(games.NextGame(&game, &error), GAME_READ_GAME);
  EXPECT_TRUE(game.fromSetUpPosition);
  EXPECT_TRUE(game.moves.empty());
  EXPECT_EQ(games.NextGame(&game, &error), GAME_READ_END);
  EXPECT_EQ(games.NextGame(&game, &error), GAME_READ_END);

  // The builder's import takes the main lines only: e4 e5 Nf3 Nc6 and d4 d5 c4.
  std::string pgn = WritePgn("mainline.pgn", text);
  std::string out = TempPath("mainline.obk");
  ASSERT_EQ(Build({"PGN=" + pgn, "OUTBOOK=" + out, "COMMAND=IMPORT"}).result, BUILDER_OK);
  SelectBookSlot(4);
  ASSERT_TRUE(LoadBookFile(out.c_str()));
  EXPECT_EQ(GetBookMoveCount(), 7);
  FreeBookSlot();
  SelectBookSlot(0);
  BuildRun test = Build({"INBOOK=" + out, "COMMAND=IMPORTTEST"}, text);
  EXPECT_EQ(test.result, BUILDER_OK);
  EXPECT_EQ(test.printed.find("Not in book."), std::string::npos) << test.printed;
  std::remove(pgn.c_str());
  std::remove(out.c_str());
}

// Tags the game header has no field for reach the builder too, each with
// its own game although the reader only learns a game ended from the next
// one's first tag line.
TEST(PgnGameSource, KeepsTagsTheHeaderHasNoFieldFor) {
  const std::string text =
      "[ECO \"C60\"]\n[Opening \"Spanish\"]\n[Variation \"Morphy \\\"defence\\\"\"]\n\n1. e4 e5 *\n\n"
      "[Opening \"Queen's pawn\"]\n[ECO \"D00\"]\n1. d4 *\n"
      "[ECO \"A00\"]\n1. a3\n";
  PgnGameSource games(StringLineSource(text), 380);
  BookGame game;
  BookGameError error;
  auto tag = [&game](const char* name) {
    const std::string* value = game.Tag(name);
    return value ? *value : std::string("-");
  };
  const char* const expected[][3] = {
      {"C60", "Spanish", "Morphy \"defence\""}, {"D00", "Queen's pawn", "-"}, {"A00", "-", "-"}};
  for (const auto& e : expected) {
    ASSERT_EQ(games.NextGame(&game, &error), GAME_READ_GAME) << e[0];
    EXPECT_EQ(tag("ECO"), e[0]);
    EXPECT_EQ(tag("Opening"), e[1]) << e[0];
    EXPECT_EQ(tag("Variation"), e[2]) << e[0];
  }
  EXPECT_EQ(games.NextGame(&game, &error), GAME_READ_END);
}

TEST(PgnGameSource, ErrorsCarryTheReadersNumberAndPlace) {
  struct Case {
    std::string text;
    int games;  // read before the error
    int error, line, column;
  } cases[] = {
      {"[Event \"a\"]\n\n1. e4 e5 *\n\n[Event \"b\"]\n\n1. e5 *\n", 1, PGN_ILLEGAL_MOVE, 7, 6},
      {"1. e4 e5 @ *\n", 0, PGN_BAD_CHARACTER, 1, 10},
      {"1. e4 e5 ) *\n", 0, PGN_BAD_VARIATION, 1, 10},
      {"[Result \"2-0\"]\n\n1. e4 *\n", 0, PGN_BAD_RESULT, 1, 1},
  };
  for (const Case& c : cases) {
    PgnGameSource games(StringLineSource(c.text), 380);
    BookGame game;
    BookGameError error;
    int count = 0;
    BookGameRead read;
    while ((read = games.NextGame(&game, &error)) == GAME_READ_GAME) ++count;
    EXPECT_EQ(read, GAME_READ_ERROR) << c.text;
    EXPECT_EQ(count, c.games) << c.text;
    EXPECT_EQ(error.number, c.error) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_EQ(error.column, c.column) << c.text;
    EXPECT_EQ(games.NextGame(&game, &error), GAME_READ_END) << c.text;
  }
}

// ---- The import as the book editor runs it on a worker thread.

TEST(BookImport, ArgumentVectorHasSevenStringsWithoutAnInBookAndEightWithOne) {
  EXPECT_EQ(BookImportArguments("", "C:\\u\\New.obk", "g.pgn", "frequency", "both", 30),
            (std::vector<std::string>{"executable name here", "command=Import", "outbook=C:\\u\\New.obk",
                                      "pgn=g.pgn", "criteria=frequency", "color=both", "depth=30"}));
  const std::vector<std::string> with = BookImportArguments("in.obk", "out.obk", "g.pgn", "frequency", "both", 30);
  ASSERT_EQ(with.size(), 8u);
  EXPECT_EQ(with[7], "inbook=in.obk");
}

namespace {

int RunImport(const std::vector<std::string>& args, const BookBuilderIo& io) {
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  return BookBuilderMain(static_cast<int>(argv.size()), argv.data(), io);
}

}  // namespace

TEST(BookImport, ACancelledImportWritesNothingWhetherBetweenGamesOrBeforeWriting) {
  const std::string pgn = WritePgn("cancel.pgn", Games("1. e4 e5 2. Nf3", 50));
  const std::string out = TempPath("cancel.obk");
  const std::vector<uint8_t> before = MakeBookImage({CoordWord("d2d4", 3, true, true)}, {});
  const std::vector<std::string> args = BookImportArguments("", out, pgn, "frequency", "both", 30);
  // The poll answers yes after `after` questions: at once, in the middle of
  // the games, and at the question before the book is written.
  for (int after : {0, 20, 51}) {
    WriteFile(out, before);
    int asked = 0;
    BookBuilderIo io;
    io.cancelled = [&] { return asked++ >= after; };
    EXPECT_EQ(RunImport(args, io), BUILDER_CANCELLED) << after;
    EXPECT_EQ(ReadFile(out), before) << "the out-book was touched, cancel after " << after;
  }
  // A poll that never answers yes lets the import write.
  BookBuilderIo quiet;
  quiet.cancelled = [] { return false; };
  EXPECT_EQ(RunImport(args, quiet), BUILDER_OK);
  EXPECT_NE(ReadFile(out), before);
  std::remove(pgn.c_str());
  std::remove(out.c_str());
}

TEST(BookImport, TheWorkerThreadsSlotLeavesTheUserInterfacesSlotsAlone) {
  // The user interface's book in slot 0, active.
  const std::string mainBook = TempPath("main_slot.obk");
  WriteFile(mainBook, MakeBookImage({CoordWord("c2c4", 3, true, true)}, {}));
  ASSERT_TRUE(SelectBookSlot(0));
  ASSERT_TRUE(LoadBookFile(mainBook.c_str()));
  const BookMoveWord mainWord = GetBookMoveWord(0);

  const std::string in = TempPath("import_in.obk");
  WriteFile(in, MakeBookImage({CoordWord("e2e4", 3, true, true)}, {}));
  const std::string pgn = WritePgn("import_slot.pgn", Games("1. d4 d5", 40));
  const std::string out = TempPath("import_out.obk");
  const std::string quietOut = TempPath("import_quiet.obk");

  // While the import runs on its own thread in slot 3, this thread keeps
  // switching slots and reading its own book.
  std::atomic<bool> done{false};
  int result = -99;
  std::thread worker([&] {
    BookBuilderIo io;
    io.bookSlot = 3;
    result = RunImport(BookImportArguments(in, out, pgn, "frequency", "both", 30), io);
    EXPECT_EQ(GetBookSlot(), 0) << "the worker's own slot comes back";
    done = true;
  });
  int reads = 0;
  while (!done || reads < 100) {
    SelectBookSlot(reads % 3);  // names, then personalities, as the screens do
    SelectBookSlot(0);
    EXPECT_EQ(GetBookMoveWord(0), mainWord);
    ++reads;
  }
  worker.join();
  EXPECT_EQ(result, BUILDER_OK);
  EXPECT_EQ(GetBookSlot(), 0);
  EXPECT_EQ(GetBookMoveWord(0), mainWord) << "the import loaded into the user interface's slot";

  // The imported book equals the one a quiet run makes.
  BookBuilderIo io;
  EXPECT_EQ(RunImport(BookImportArguments(in, quietOut, pgn, "frequency", "both", 30), io), BUILDER_OK);
  EXPECT_EQ(ReadFile(out), ReadFile(quietOut));
  FreeBookSlot();
  for (const std::string& f : {mainBook, in, pgn, out, quietOut}) std::remove(f.c_str());
}
