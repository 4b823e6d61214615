#include "notation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "movegen.h"
#include "position_setup.h"

namespace {

Board FromFen(const char* fen, int* side = nullptr) {
  Board b;
  int s = 0;
  EXPECT_TRUE(SetupPositionFromFen(fen, &b, &s)) << fen;
  if (side) *side = s;
  return b;
}

int Sq(const char* name) { return MakeSquare('8' - name[1], name[0] - 'a'); }

struct Legal {
  MoveRecord list[kMoveListRoom];
  int count = 0;
  Legal(const Board& b, int side) { count = GenerateLegalMoves(&b, list, nullptr, side); }
  int Index(const char* from, const char* to, int promotion = 0) const {
    for (int i = 0; i < count; ++i)
      if (list[i].from == Sq(from) && list[i].to == Sq(to) && (list[i].flags & 7) == promotion) return i;
    ADD_FAILURE() << from << to << " is not legal";
    return -1;
  }
};

std::string Print(const char* fen, const char* from, const char* to, int style, int promotion = 0) {
  int side = 0;
  Board b = FromFen(fen, &side);
  Legal legal(b, side);
  int i = legal.Index(from, to, promotion);
  if (i < 0) return "";
  char out[kNotationTextSize];
  MoveToNotation(&b, &legal.list[i], side, style, out);
  return out;
}

const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

TEST(NotationPrint, Disambiguation) {
  struct Case {
    const char* fen;
    const char* from;
    const char* text;
  };
  const Case cases[] = {
      {"4k3/8/8/8/8/8/8/1N2KN2 w - -", "b1", "Nbd2"},    {"4k3/8/8/8/8/8/8/1N2KN2 w - -", "f1", "Nfd2"},
      {"4k3/8/8/8/8/1N6/8/1N2K3 w - -", "b1", "N1d2"},   {"4k3/8/8/8/8/1N6/8/1N2K3 w - -", "b3", "N3d2"},
      {"4k3/8/8/8/8/1N6/8/1N2KN2 w - -", "b1", "Nb1d2"}, {"4k3/8/8/8/8/1N6/8/1N2KN2 w - -", "b3", "N3d2"},
      {"4k3/8/8/8/8/1N6/8/1N2KN2 w - -", "f1", "Nfd2"},  {"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", "e4", "exd5"},
      {"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", "c4", "cxd5"},
  };
  for (const Case& c : cases) {
    const char* to = c.text[0] == 'N' ? "d2" : "d5";
    EXPECT_EQ(Print(c.fen, c.from, to, STYLE_ALGEBRAIC), c.text) << c.fen;
  }
}

TEST(NotationPrint, PromotionWithCheckInEveryStyle) {
  const char* fen = "k7/4P3/8/8/8/8/8/4K3 w - -";
  const struct {
    int style;
    const char* text;
  } cases[] = {
      {STYLE_ALGEBRAIC, "e8=Q+"},     {STYLE_DESCRIPTIVE, "P-K8=Q ch"},   {STYLE_FIGURINE, "e8=\x89+"},
      {STYLE_COORDINATE, "e7-e8=q+"}, {STYLE_LONG_ALGEBRAIC, "e7-e8=Q+"}, {STYLE_NUMERIC, "5751"},
  };
  for (const auto& c : cases) EXPECT_EQ(Print(fen, "e7", "e8", c.style, 1), c.text) << c.style;
  EXPECT_EQ(Print(fen, "e7", "e8", STYLE_ALGEBRAIC, 4), "e8=N");
  EXPECT_EQ(Print(fen, "e7", "e8", STYLE_NUMERIC, 4), "5754");
}

TEST(NotationPrint, CastlingInEveryStyle) {
  const char* fen = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
  const char* fenBlack = "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -";
  for (int style = STYLE_ALGEBRAIC; style <= STYLE_LONG_ALGEBRAIC; ++style) {
    EXPECT_EQ(Print(fen, "e1", "g1", style), "O-O") << style;
    EXPECT_EQ(Print(fen, "e1", "c1", style), "O-O-O") << style;
    EXPECT_EQ(Print(fenBlack, "e8", "c8", style), "O-O-O") << style;
  }
  EXPECT_EQ(Print(fen, "e1", "g1", STYLE_NUMERIC), "5171");
  EXPECT_EQ(Print(fen, "e1", "c1", STYLE_NUMERIC), "5131");
  EXPECT_EQ(Print(fenBlack, "e8", "g8", STYLE_NUMERIC), "5878");
  EXPECT_EQ(Print(fenBlack, "e8", "c8", STYLE_NUMERIC), "5838");

  // Options may write castling with zeros, or as the king's move.
  Board b = FromFen(fen);
  Legal legal(b, WHITE);
  int i = legal.Index("e1", "g1");
  char out[kNotationTextSize];
  NotationOptions o = DefaultNotationOptions(STYLE_ALGEBRAIC);
  o.castling = 2;
  MoveToText(&b, legal.list, legal.count, i, STYLE_ALGEBRAIC, &o, out);
  EXPECT_STREQ(out, "0-0");
  o = DefaultNotationOptions(STYLE_COORDINATE);
  o.castling = 0;
  MoveToText(&b, legal.list, legal.count, i, STYLE_COORDINATE, &o, out);
  EXPECT_STREQ(out, "e1-g1");
}

TEST(NotationPrint, DescriptiveStyle) {
  EXPECT_EQ(Print(kStart, "e2", "e4", STYLE_DESCRIPTIVE), "P-K4");
  EXPECT_EQ(Print(kStart, "d2", "d3", STYLE_DESCRIPTIVE), "P-Q3");
  EXPECT_EQ(Print(kStart, "g1", "f3", STYLE_DESCRIPTIVE), "N-KB3");
  EXPECT_EQ(Print(kStart, "c2", "c4", STYLE_DESCRIPTIVE), "P-QB4");
  // Ranks count from the mover's side.
  const char* afterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1";
  EXPECT_EQ(Print(afterE4, "e7", "e5", STYLE_DESCRIPTIVE), "P-K4");
  EXPECT_EQ(
      Print("rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 2", "e4", "d5", STYLE_DESCRIPTIVE),
      "PxP");
  // A mating move carries no sign in this style; the others use "#".
  const char* mate = "6k1/5ppp/8/8/8/8/8/R5K1 w - -";
  EXPECT_EQ(Print(mate, "a1", "a8", STYLE_DESCRIPTIVE), "R-R8");
  EXPECT_EQ(Print(mate, "a1", "a8", STYLE_ALGEBRAIC), "Ra8#");
  EXPECT_EQ(Print(mate, "a1", "a8", STYLE_COORDINATE), "a1-a8#");
  EXPECT_EQ(Print(mate, "a1", "a8", STYLE_NUMERIC), "1118");
}

TEST(NotationPrint, EnPassantSuffixes) {
  const char* fen = "4k3/8/8/3pP3/8/8/8/4K3 w - d6";
  EXPECT_EQ(Print(fen, "e5", "d6", STYLE_ALGEBRAIC), "exd6");
  EXPECT_EQ(Print(fen, "e5", "d6", STYLE_COORDINATE), "e5xd6ep");
  EXPECT_EQ(Print(fen, "e5", "d6", STYLE_LONG_ALGEBRAIC), "e5xd6ep");
  EXPECT_EQ(Print(fen, "e5", "d6", STYLE_DESCRIPTIVE), "PxPEP");
}

TEST(NotationPrint, LanguagesAndGlyphs) {
  struct Case {
    const char* name;
    int language;
    const char* knight;
    const char* queen;
    const char* letters;
  };
  const Case cases[] = {
      {"English", LANG_ENGLISH, "Nf3", "e8=Q+", "KQRBNP"},
      {"german", LANG_GERMAN, "Sf3", "e8=D+", "KDTLSB"},
      {"DEUTSCH", LANG_GERMAN, "Sf3", "e8=D+", "KDTLSB"},
      {"Spanish", LANG_SPANISH, "Cf3", "e8=D+", "RDTACP"},
      {"FRANCIAS", LANG_FRENCH, "Cf3", "e8=D+", "RDTFCP"},
      {"dutch", LANG_DUTCH, "Pf3", "e8=D+", "KDTLPP"},
      {"Icelandic", LANG_ICELANDIC, "Rf3", "e8=D+", "KDHBRP"},
      {"Klingon", LANG_ENGLISH, "Nf3", "e8=Q+", "KQRBNP"},
  };
  for (const Case& c : cases) {
    int language = LanguageFromName(c.name);
    EXPECT_EQ(language, c.language) << c.name;
    SetNotationLanguage(language);
    EXPECT_STREQ(NotationPieceLetters(), c.letters);
    EXPECT_EQ(Print(kStart, "g1", "f3", STYLE_ALGEBRAIC), c.knight) << c.name;
    EXPECT_EQ(Print("k7/4P3/8/8/8/8/8/4K3 w - -", "e7", "e8", STYLE_ALGEBRAIC, 1), c.queen) << c.name;
  }
  EXPECT_EQ(LanguageFromName(nullptr), LANG_ENGLISH);
  SetNotationLanguage(LANG_GERMAN);
  EXPECT_STREQ(NotationColourLetters(), "SW");
  SetNotationLanguage(LANG_ENGLISH);
  EXPECT_STREQ(NotationColourLetters(), "BW");
  EXPECT_EQ(Print(kStart, "g1", "f3", STYLE_FIGURINE),
            "\x87"
            "f3");
}

TEST(NotationPrint, UnknownMovesAndIndexes) {
  Board b;
  SetInitialBoard(&b);
  Legal legal(b, WHITE);
  char out[kNotationTextSize];
  NotationOptions o = DefaultNotationOptions(STYLE_ALGEBRAIC);
  EXPECT_EQ(MoveToText(&b, legal.list, legal.count, legal.count, STYLE_ALGEBRAIC, &o, out), 0);
  EXPECT_STREQ(out, "XX");
  MoveRecord bad{};
  bad.from = static_cast<uint8_t>(Sq("e2"));
  bad.to = static_cast<uint8_t>(Sq("e5"));
  EXPECT_STREQ(MoveToNotation(&b, &bad, WHITE, STYLE_ALGEBRAIC, out), "XX");
  EXPECT_STREQ(MoveToNotation(&b, &bad, WHITE, 9, out), "");
  EXPECT_EQ(MoveToTextAtLevel(&b, legal.list, 0, STYLE_COORDINATE, &o, 2, out), 0);
  EXPECT_STREQ(out, "");
  bad.from = 0x7F;  // off the board
  EXPECT_STREQ(MoveToNotation(&b, &bad, WHITE, STYLE_COORDINATE, out), "");
  EXPECT_STREQ(SquareToText(0x08, out), "??");
  EXPECT_STREQ(SquareToText(Sq("e4"), out), "e4");
}

TEST(NotationPrint, MoveLists) {
  Board b;
  SetInitialBoard(&b);
  MoveRecord moves[4] = {};
  int count = 4;
  ASSERT_EQ(ParseMoveListText(moves, &count, "e4 e5 Nf3 Nc6", &b, WHITE), 4);
  char out[128];
  MoveListToText(&b, moves, 4, 0, 0, WHITE, STYLE_ALGEBRAIC, true, false, out, sizeof out);
  EXPECT_STREQ(out, "1. e4 e5 2. Nf3 Nc6");
  MoveListToText(&b, moves, 4, 1, 0, WHITE, STYLE_ALGEBRAIC, true, false, out, sizeof out);
  EXPECT_STREQ(out, "1... e5 2. Nf3 Nc6");
  MoveListToText(&b, moves, 3, 0, 0, WHITE, STYLE_COORDINATE, false, false, out, sizeof out);
  EXPECT_STREQ(out, "e2-e4 e7-e5 g1-f3");
  // A small buffer gets as much as fits.
  char small[8];
  MoveListToText(&b, moves, 4, 0, 0, WHITE, STYLE_ALGEBRAIC, true, false, small, sizeof small);
  EXPECT_STREQ(small, "1. e4 e");
  // With the check flag an illegal move ends the list.
  moves[2].to = static_cast<uint8_t>(Sq("f4"));
  MoveListToText(&b, moves, 4, 0, 0, WHITE, STYLE_ALGEBRAIC, true, true, out, sizeof out);
  EXPECT_STREQ(out, "1. e4 e5");
}

TEST(NotationPrint, Coordinates) {
  MoveRecord m{};
  m.from = static_cast<uint8_t>(Sq("b7"));
  m.to = static_cast<uint8_t>(Sq("a8"));
  m.flags = MOVE_PROMOTION | MOVE_CAPTURE | 3;
  MoveCoords c;
  MoveToCoords(&m, &c);
  EXPECT_EQ(c.fromFile, 'b');
  EXPECT_EQ(c.fromRank, '7');
  EXPECT_EQ(c.toFile, 'a');
  EXPECT_EQ(c.toRank, '8');
  EXPECT_EQ(c.promotion, 3);
  MoveRecord back{};
  ASSERT_TRUE(CoordsToMove(&c, &back));
  EXPECT_TRUE(SameMove(&m, &back));
  EXPECT_EQ(back.flags, 3);

  const MoveCoords bad[] = {{'i', '1', 'a', '2', 0}, {'a', '9', 'a', '2', 0}, {'a', '1', 'a', '0', 0},
                            {'a', '1', 'a', '2', 5}, {-1, '1', 'a', '2', 0},  {'a', '1', 'A', '2', 0}};
  for (const MoveCoords& c2 : bad) {
    MoveRecord untouched = back;
    EXPECT_FALSE(CoordsToMove(&c2, &untouched));
    EXPECT_EQ(untouched.from, back.from);
  }
}

TEST(NotationRead, NormalizeAndOptions) {
  char text[] = "nxF3+";
  NormalizeMoveInput(text, STYLE_ALGEBRAIC);
  EXPECT_STREQ(text, "NxF3+");
  char d[] = "p-k4 Ch";
  NormalizeMoveInput(d, STYLE_DESCRIPTIVE);
  EXPECT_STREQ(d, "P-K4 ch");
  char c[] = "E2-E4 o-o";
  NormalizeMoveInput(c, STYLE_COORDINATE);
  EXPECT_STREQ(c, "e2-e4 O-O");

  NotationOptions o = OptionsFromInput("exd6ep", STYLE_ALGEBRAIC);
  EXPECT_EQ(o.captureMark, 1);
  EXPECT_EQ(o.enPassant, 1);
  o = OptionsFromInput("e8=Q++", STYLE_ALGEBRAIC);
  EXPECT_EQ(o.promotion, 2);
  EXPECT_EQ(o.check, 1);
  EXPECT_EQ(o.mate, 1);
  o = OptionsFromInput("e2e4", STYLE_COORDINATE);
  EXPECT_EQ(o.castling, 0);
  EXPECT_EQ(o.promotionCase, 0);
  o = OptionsFromInput("0-0", STYLE_ALGEBRAIC);
  EXPECT_EQ(o.castling, 2);
  EXPECT_EQ(o.dash, 1);
  o = OptionsFromInput("PxP E.P.", STYLE_DESCRIPTIVE);
  EXPECT_EQ(o.enPassant, 4);
}

TEST(NotationRead, MatchTypedText) {
  int side = 0;
  Board b = FromFen("4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", &side);
  Legal legal(b, side);
  int first = -1;
  EXPECT_EQ(MatchMoveText("ed", &b, legal.list, legal.count, STYLE_ALGEBRAIC, &first), 1);
  EXPECT_EQ(first, legal.Index("e4", "d5"));
  EXPECT_EQ(MatchMoveText("exd5", &b, legal.list, legal.count, STYLE_ALGEBRAIC, &first), 1);
  EXPECT_EQ(MatchMoveText("d5", &b, legal.list, legal.count, STYLE_ALGEBRAIC, &first), 0);
  EXPECT_EQ(first, legal.count);

  bool matched[kMoveListRoom];
  int count = 0;
  bool full = false;
  EXPECT_EQ(MatchMoveTextEx("e", &b, legal.list, legal.count, STYLE_ALGEBRAIC, matched, &count, false, &first,
                            false, &full),
            2);  // e5 and ed5/exd5 both start with "e"
  EXPECT_EQ(count, 2);
  EXPECT_FALSE(full);
  // Without an "x" in the text a capture is written with "-" in this style.
  EXPECT_EQ(
      FindMoveMatches("e4-d5", &b, legal.list, legal.count, STYLE_COORDINATE, matched, &count, &first, &full),
      1);
  EXPECT_EQ(
      FindMoveMatches("e4-e6", &b, legal.list, legal.count, STYLE_COORDINATE, matched, &count, &first, &full),
      0);
  EXPECT_EQ(
      FindMoveMatches("e4xd5", &b, legal.list, legal.count, STYLE_COORDINATE, matched, &count, &first, &full),
      1);
  EXPECT_TRUE(full);
  EXPECT_TRUE(matched[legal.Index("e4", "d5")]);
  EXPECT_EQ(MatchMoveText("5455", &b, legal.list, legal.count, STYLE_NUMERIC, &first), 1);
  EXPECT_EQ(MatchMoveText("P-K5", &b, legal.list, legal.count, STYLE_DESCRIPTIVE, &first), 1);
}

TEST(NotationRead, TypeMoveKeys) {
  Board b = FromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  Legal legal(b, WHITE);
  char typed[20] = "";
  int matches = 0, first = -1;
  bool full = false, ambiguous = false;
  char squares[kSquareListTextSize];
  for (char key : std::string("O-O"))
    TypeMoveKey(typed, sizeof typed, key, &b, legal.list, legal.count, STYLE_ALGEBRAIC, false, &matches,
                squares, &first, &full, &ambiguous);
  EXPECT_STREQ(typed, "O-O");
  EXPECT_EQ(matches, 2);  // "O-O" is the start of "O-O-O" too
  EXPECT_FALSE(ambiguous);
  TypeMoveKey(typed, sizeof typed, 13, &b, legal.list, legal.count, STYLE_ALGEBRAIC, true, &matches, squares,
              &first, &full, &ambiguous);
  EXPECT_EQ(matches, 1);
  EXPECT_FALSE(ambiguous);
  EXPECT_EQ(legal.list[first].flags, MOVE_CASTLE_SHORT);
  EXPECT_STREQ(squares, "e1g1");

  // A key that matches nothing is refused; Backspace takes one back.
  Board start;
  SetInitialBoard(&start);
  Legal opening(start, WHITE);
  typed[0] = '\0';
  EXPECT_EQ(TypeMoveKey(typed, sizeof typed, 'q', &start, opening.list, opening.count, STYLE_ALGEBRAIC, false,
                        &matches, squares, &first, &full, &ambiguous),
            0);
  EXPECT_STREQ(typed, "");
  EXPECT_TRUE(ambiguous);
  EXPECT_EQ(TypeMoveKey(typed, sizeof typed, 'n', &start, opening.list, opening.count, STYLE_ALGEBRAIC, true,
                        &matches, squares, &first, &full, &ambiguous),
            4);
  EXPECT_STREQ(typed, "N");
  EXPECT_STREQ(squares, "a3c3f3h3b1g1");
  TypeMoveKey(typed, sizeof typed, 13, &start, opening.list, opening.count, STYLE_ALGEBRAIC, false, &matches,
              squares, &first, &full, &ambiguous);
  EXPECT_TRUE(ambiguous);
  TypeMoveKey(typed, sizeof typed, 8, &start, opening.list, opening.count, STYLE_ALGEBRAIC, false, &matches,
              squares, &first, &full, &ambiguous);
  EXPECT_STREQ(typed, "");
  EXPECT_EQ(matches, 0);
  for (char key : std::string("e4"))
    TypeMoveKey(typed, sizeof typed, key, &start, opening.list, opening.count, STYLE_ALGEBRAIC, false,
                &matches, squares, &first, &full, &ambiguous);
  EXPECT_EQ(matches, 1);
  EXPECT_TRUE(full);
  EXPECT_EQ(first, opening.Index("e2", "e4"));

  // Style 2 turns a typed piece letter into its glyph.
  typed[0] = '\0';
  TypeMoveKey(typed, sizeof typed, 'N', &start, opening.list, opening.count, STYLE_FIGURINE, false, &matches,
              squares, &first, &full, &ambiguous);
  EXPECT_STREQ(typed, "\x87");
  EXPECT_EQ(matches, 4);

  // A full buffer refuses further keys without writing past it.
  char tiny[3] = "";
  for (char key : std::string("e2e4e4"))
    TypeMoveKey(tiny, sizeof tiny, key, &start, opening.list, opening.count, STYLE_COORDINATE, false,
                &matches, squares, &first, &full, &ambiguous);
  EXPECT_STREQ(tiny, "e2");
}

TEST(NotationRead, ParseAlgebraic) {
  struct Case {
    const char* fen;
    const char* text;
    const char* from;  // null: no move
    const char* to;
    int promotion;
  };
  const Case cases[] = {
      {kStart, "e4", "e2", "e4", 0},
      {kStart, "Nf3", "g1", "f3", 0},
      {kStart, "Ngf3", "g1", "f3", 0},
      {kStart, "Ng1f3", "g1", "f3", 0},
      {kStart, "Nf3!", nullptr, nullptr, 0},
      {kStart, "Qh5", nullptr, nullptr, 0},
      {kStart, "e5", nullptr, nullptr, 0},
      {kStart, "", nullptr, nullptr, 0},
      {kStart, "O-O", nullptr, nullptr, 0},
      {kStart, "z9", nullptr, nullptr, 0},
      {kStart, "\xff\xfe\x80", nullptr, nullptr, 0},
      {kStart, "eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee4",
       nullptr, nullptr, 0},
      {"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", "exd5", "e4", "d5", 0},
      {"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", "cd5", "c4", "d5", 0},
      {"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", "cd", "c4", "d5", 0},
      {"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", "xd5", nullptr, nullptr, 0},
      {"k7/4P3/8/8/8/8/8/4K3 w - -", "e8=Q+", "e7", "e8", 1},
      {"k7/4P3/8/8/8/8/8/4K3 w - -", "e8N", "e7", "e8", 4},
      {"k7/4P3/8/8/8/8/8/4K3 w - -", "e8", nullptr, nullptr, 0},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "O-O", "e1", "g1", 0},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "0-0-0", "e1", "c1", 0},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "O-O-O+", "e8", "c8", 0},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", "exd6ep", "e5", "d6", 0},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", "exd6 e.p.", nullptr, nullptr, 0},
      {"4k3/8/8/8/8/1N6/8/1N2KN2 w - -", "Nd2", nullptr, nullptr, 0},
      {"4k3/8/8/8/8/1N6/8/1N2KN2 w - -", "N3d2", "b3", "d2", 0},
      {"4k3/8/8/8/8/1N6/8/1N2KN2 w - -", "Nb1d2", "b1", "d2", 0},
  };
  for (const Case& c : cases) {
    int side = 0;
    Board b = FromFen(c.fen, &side);
    MoveRecord out{};
    out.from = 99;
    bool found = ParseAlgebraicMove(&out, c.text, &b, side);
    EXPECT_EQ(found, c.from != nullptr) << c.fen << " " << c.text;
    if (!found) {
      EXPECT_EQ(out.from, 99) << c.text;
      continue;
    }
    EXPECT_EQ(out.from, Sq(c.from)) << c.text;
    EXPECT_EQ(out.to, Sq(c.to)) << c.text;
    EXPECT_EQ(out.flags & 7, c.promotion) << c.text;
  }
}

TEST(NotationRead, ParseMoveLists) {
  Board b;
  SetInitialBoard(&b);
  const Board before = b;
  MoveRecord moves[8];
  int count = 8;
  EXPECT_EQ(ParseMoveListText(moves, &count, "  e4 e5\tNf3 Nc6\r\nBb5 a6 ", &b, WHITE), 6);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(moves[4].from, Sq("f1"));
  EXPECT_EQ(moves[4].to, Sq("b5"));
  count = 8;
  EXPECT_EQ(ParseMoveListText(moves, &count, "e4 e5 Ke3 Nc6", &b, WHITE), 2);
  count = 3;
  EXPECT_EQ(ParseMoveListText(moves, &count, "e4 e5 Nf3 Nc6", &b, WHITE), 3);
  count = 8;
  EXPECT_EQ(ParseMoveListText(moves, &count, "1. e4 e5", &b, WHITE), 0);
  count = 8;
  EXPECT_EQ(ParseMoveListText(moves, &count, "", &b, WHITE), 0);
  EXPECT_EQ(ParseMoveListText(moves, nullptr, "e4", &b, WHITE), 0);
  EXPECT_EQ(0, memcmp(before.sq, b.sq, 128));
}

}  // namespace
