// Rated games without windows: the rating formula, speed classes, the
// stored blocks, the opponent list, the bookkeeping and its lines, and the
// names of adjourned games.
#include "rated_games.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

const std::string kClasses[3] = {"Bullet", "Blitz", "Standard"};

}  // namespace

TEST(RatedGames, NewRatings) {
  struct Case {
    uint32_t r, ro, n, m;
    int result;
    int32_t expected;
  } cases[] = {
      {1500, 1500, 10, 20, RATED_WIN, 1536},   // (15000 + 1500 + 400) / 11
      {1500, 1500, 10, 20, RATED_LOSS, 1463},  //
      {1500, 1500, 20, 20, RATED_DRAW, 1500},  //
      {1500, 1700, 25, 5, RATED_WIN, 1506},    // n held at 20, factor 32 x 5 / 20
      {1500, 1900, 20, 20, RATED_WIN, 1529},   //
      {1500, 1100, 20, 20, RATED_LOSS, 1470},  // a stronger player's loss: the opponent is below
      {1000, 1000, 0, 0, RATED_WIN, 1400},     //
      {100, 100, 0, 20, RATED_LOSS, 1},        // never below 1
      {1500, 1500, 20, 20, 7, 0},              // no such result
  };
  for (const Case& c : cases)
    EXPECT_EQ(ComputeNewRating(c.r, c.ro, c.n, c.m, c.result), c.expected)
        << c.r << " " << c.ro << " " << c.n << " " << c.m << " " << c.result;
  // Established players: what one wins the other loses, within the cut of
  // the fractions, for any gap either way.
  for (uint32_t a : {800u, 1500u, 2400u})
    for (uint32_t b : {700u, 1500u, 2600u}) {
      const int gainA = ComputeNewRating(a, b, 20, 20, RATED_DRAW) - int(a);
      const int gainB = ComputeNewRating(b, a, 20, 20, RATED_DRAW) - int(b);
      EXPECT_LE(std::abs(gainA + gainB), 1) << a << " " << b;
    }
}

TEST(RatedGames, SpeedClassOfATimeControl) {
  struct Case {
    int kind;
    int32_t base, extra;
    int expected;
  } cases[] = {
      {5, 300000, 3000, 1},   // Fischer 5 + 3: 300 + 120 = 420
      {5, 120000, 1000, 0},   // Fischer 2 + 1: 120 + 40 = 160
      {6, 30000, 0, 2},       // hourglass 30 s: 1,200
      {4, 600000, 0, 1},      // 10 minutes a game
      {4, 900000, 0, 2},      // 15 minutes: 900 is standard
      {1, 2400000, 40, 2},    // 40 moves in 40 minutes
      {1, 120000, 40, 0},     // 40 moves in 2 minutes
      {1, 600000, 0, 1},      // a script with no moves count: the base is the game
      {9, 600000, 0, 0},      // unknown kind
  };
  for (const Case& c : cases)
    EXPECT_EQ(TimeControlClass(c.kind, c.base, c.extra), c.expected) << c.kind << " " << c.base << " " << c.extra;
}

TEST(RatedGames, BlocksAndResultsAreStoredFieldByField) {
  RatingBlockData d;
  d.rating = 1612;
  d.highest = 1650;
  d.date = RatingDateText(3, 7, 2026, 14, 5, 9);
  EXPECT_EQ(d.date, "03/07/26 14:05:09");
  for (int i = 0; i < 6; ++i) d.counters[i] = uint32_t(i + 1);
  uint8_t block[kRatingBlockSize];
  EncodeRatingBlock(d, block);
  EXPECT_EQ(block[0] | block[1] << 8, 1612);
  EXPECT_EQ(block[4] | block[5] << 8, 1650);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block + 8)), "03/07/26 14:05:09");
  EXPECT_EQ(block[72], 1);  // wins as White
  EXPECT_EQ(block[92], 6);  // draws as Black
  for (int i = 96; i < 100; ++i) EXPECT_EQ(block[i], 0) << i;
  const RatingBlockData back = DecodeRatingBlock(block);
  EXPECT_EQ(back.rating, 1612);
  EXPECT_EQ(back.date, d.date);
  EXPECT_EQ(back.Games(), 21u);
  EXPECT_EQ(back.Wins(), 3u);

  std::vector<PersonalityResult> results = {{"Tarn - Age 12", 2, 1, 0},
                                            {std::string(40, 'x'), 0, 0, 3}};
  const std::vector<uint8_t> bytes = EncodePersonalityResults(results);
  ASSERT_EQ(bytes.size(), 88u);
  EXPECT_EQ(bytes[32], 2);
  EXPECT_EQ(bytes[31], 0) << "the name field keeps its NUL";
  const std::vector<PersonalityResult> read = DecodePersonalityResults(bytes.data(), 2);
  EXPECT_EQ(read[0].name, "Tarn - Age 12");
  EXPECT_EQ(read[1].name, std::string(31, 'x'));
  EXPECT_EQ(read[1].draws, 3u);
  EXPECT_TRUE(DecodePersonalityResults(nullptr, 3).empty());
}

TEST(RatedGames, OpponentList) {
  std::vector<RatedOpponentCandidate> c = {
      {{"Rookwell", 129, 2350}, 4},        {{"Ann", 1, 1400}, 4},    {{"Bea", 1, 1400}, 4},
      {{"My Own", 132, 1200}, 4},          {{"Fairy", 178, 1300}, 4}, {{"Tarn - Age 12", 1, 1100}, 32},
      {{"Barnaby Bear - Age 6", 1, 600}, 8}, {{"Strong", 1, 2100}, 4},
  };
  auto names = [](const std::vector<RatedOpponentEntry>& l) {
    std::vector<std::string> n;
    for (const RatedOpponentEntry& e : l) n.push_back(e.name);
    return n;
  };
  // Fewer than 20 games: nobody more than 400 above 1700 (2,100 is not).
  EXPECT_EQ(names(SelectRatedOpponents(c, 1700, 5, false)),
            (std::vector<std::string>{"Strong", "Ann", "Bea", "Tarn - Age 12"}));
  EXPECT_EQ(names(SelectRatedOpponents(c, 1699, 5, false)),
            (std::vector<std::string>{"Ann", "Bea", "Tarn - Age 12"}));
  EXPECT_EQ(names(SelectRatedOpponents(c, 1700, 20, false)),
            (std::vector<std::string>{"Rookwell", "Strong", "Ann", "Bea", "Tarn - Age 12"}));
  EXPECT_EQ(names(SelectRatedOpponents(c, 1700, 20, true)),
            (std::vector<std::string>{"Tarn - Age 12", "Barnaby Bear - Age 6"}));
  std::vector<RatedOpponentCandidate> many(300, RatedOpponentCandidate{{"P", 1, 1000}, 4});
  EXPECT_EQ(SelectRatedOpponents(many, 1500, 30, false).size(), 256u);
  EXPECT_EQ(RatingChangeText(12), "+12");
  EXPECT_EQ(RatingChangeText(-7), "-7");
  EXPECT_EQ(RatingChangeText(0), "+0");
  // The changes shown beside an opponent count the games against
  // personalities: 10 games at 1500 against 1500 (1536 and 1463).
  RatedRecord user;
  user.overall = 1500;
  user.results = {{"Ann", 4, 3, 1}, {"Bea", 1, 1, 0}};
  int changes[3];
  RatedGameChanges(user, 1500, changes);
  EXPECT_EQ(changes[RATED_WIN], 36);
  EXPECT_EQ(changes[RATED_LOSS], -37);
  EXPECT_EQ(changes[RATED_DRAW], 0);
}

TEST(RatedGames, OutcomeOfEachResultCode) {
  const std::set<uint32_t> blackWins = {1, 10, 12}, whiteWins = {2, 11, 13};
  for (uint32_t code = 0; code <= 16; ++code) {
    const int asWhite = RatedGameOutcome(code, true), asBlack = RatedGameOutcome(code, false);
    if (whiteWins.count(code)) {
      EXPECT_EQ(asWhite, RATED_WIN) << code;
      EXPECT_EQ(asBlack, RATED_LOSS) << code;
    } else if (blackWins.count(code)) {
      EXPECT_EQ(asWhite, RATED_LOSS) << code;
      EXPECT_EQ(asBlack, RATED_WIN) << code;
    } else if ((code >= 3 && code <= 9) || code == 14) {
      EXPECT_EQ(asWhite, RATED_DRAW) << code;
    } else {
      EXPECT_EQ(asWhite, -1) << code;  // 0 unfinished, 15 adjourned, 16
    }
  }
}

TEST(RatedGames, BookkeepingOfAFinishedGameAndItsLines) {
  RatedRecord record;
  record.overall = 1600;
  record.ratedGames = 3;
  for (RatingBlockData& b : record.blocks) b.rating = b.highest = 1600;
  RatedGameFacts f;
  f.resultCode = 2;  // White won
  f.userIsWhite = true;
  f.kidsRoom = true;
  f.opponentName = "Tarn - Age 12";
  f.opponentRating = 1100;
  f.dialogChange[RATED_WIN] = 5;
  f.timeKind = 5;
  f.timeBase = 300000;
  f.timeBonusOrMoves = 3000;  // blitz
  f.now = "03/07/26 14:05:09";
  RatedGameReport r = RecordRatedGameResult(&record, f, kClasses);
  ASSERT_TRUE(r.booked);
  EXPECT_EQ(r.resultLine, "You defeated Tarn - Age 12.");
  EXPECT_EQ(r.overallLine, "Your overall rating increased by 5 points and is now 1605.");
  EXPECT_EQ(r.provisionalLine,
            "Your rating is still provisional, since you have played only 4 rated game(s).Your rating will become "
            "non-provisional after completing 20 rated games.");
  // The blitz block has no games: (0 + 1100 + 400) / 1.
  EXPECT_EQ(r.classLine, "Your Blitz rating decreased by 100 points and is now 1500.");
  EXPECT_EQ(r.Message(), r.resultLine + "\r\n" + r.overallLine + "\r\n" + r.provisionalLine + "\r\n" + r.classLine);
  EXPECT_EQ(record.blocks[1].counters[WINS_WHITE], 1u);
  EXPECT_EQ(record.blocks[1].highest, 1600) << "not a new highest";
  EXPECT_EQ(record.kidsRoomBeaten, 1);
  ASSERT_EQ(record.results.size(), 1u);
  EXPECT_EQ(record.results[0].wins, 1u);

  // Beaten again: the kids room count stays; a loss as Black books its
  // counter; a draw in a tournament between users is told about the player.
  RecordRatedGameResult(&record, f, kClasses);
  EXPECT_EQ(record.kidsRoomBeaten, 1);
  f.resultCode = 2;
  f.userIsWhite = false;
  f.kidsRoom = false;
  f.dialogChange[RATED_LOSS] = -9;
  r = RecordRatedGameResult(&record, f, kClasses);
  EXPECT_EQ(r.resultLine, "Tarn - Age 12 defeated you.");
  EXPECT_EQ(r.overallLine, "Your overall rating decreased by 9 points and is now 1601.");
  EXPECT_EQ(record.blocks[1].counters[LOSSES_BLACK], 1u);
  EXPECT_EQ(record.results[0].losses, 1u);

  record.ratedGames = 25;
  RatedGameFacts t;
  t.tournament = true;
  t.resultCode = 5;  // a draw
  t.playerName = "Ann";
  t.opponentName = "Bea";
  t.playerRating = 1601;
  t.opponentRating = 1601;
  t.opponentGames = 30;
  t.timeKind = 4;
  t.timeBase = 3600000;  // standard
  t.now = "03/08/26 10:00:00";
  r = RecordRatedGameResult(&record, t, kClasses);
  EXPECT_EQ(r.resultLine, "Ann drew a rated tournament game against Bea.");
  EXPECT_EQ(r.overallLine, "This player's overall rating was not affected and is still 1601.");
  EXPECT_TRUE(r.provisionalLine.empty());
  EXPECT_EQ(r.Message(), r.resultLine + "\r\n" + r.overallLine + "\r\n" + r.classLine);
  EXPECT_EQ(record.blocks[2].highest, record.blocks[2].rating > 1600 ? record.blocks[2].rating : 1600);

  // Adjourned and unfinished games book nothing.
  const RatedRecord before = record;
  t.resultCode = 15;
  EXPECT_FALSE(RecordRatedGameResult(&record, t, kClasses).booked);
  EXPECT_EQ(record.ratedGames, before.ratedGames);
}

TEST(RatedGames, AdjournedNamesAreSafeFileNamesAndCounted) {
  std::set<std::string> taken;
  auto exists = [](const std::string& name, void* context) {
    return static_cast<std::set<std::string>*>(context)->count(name) != 0;
  };
  const std::string first = AdjournedGameName("Ann", "Rookwell", "2026.03.07", exists, &taken);
  EXPECT_EQ(first, "Ann vs. Rookwell, 2026.03.07 (Adjourned)");
  taken.insert(first + ".RWG");
  const std::string second = AdjournedGameName("Ann", "Rookwell", "2026.03.07", exists, &taken);
  EXPECT_EQ(second, first + " (2)");
  taken.insert(second + ".RWG");
  EXPECT_EQ(AdjournedGameName("Ann", "Rookwell", "2026.03.07", exists, &taken), first + " (3)");
  EXPECT_EQ(AdjournedGameName("..\\x", "a/b:c", "07/03/26", nullptr, nullptr),
            "..-x vs. a-b-c, 07-03-26 (Adjourned)");
}
