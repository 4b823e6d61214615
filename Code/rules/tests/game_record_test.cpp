#include "game_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

#include "fake_game_host.h"
#include "game_end.h"
#include "game_registry.h"
#include "game_test_support.h"

namespace {

struct GameDeleter {
  void operator()(GameRecord* g) const { DestroyGame(g); }
};
using GamePtr = std::unique_ptr<GameRecord, GameDeleter>;

PlayerDescriptor Player(const char* name, uint32_t kind, uint32_t type = 99, uint32_t base = 0,
                        uint32_t period = 0) {
  PlayerDescriptor d{};
  std::snprintf(d.name, sizeof d.name, "%s", name);
  d.kind = kind;
  d.timeControl = type;
  d.baseMs = base;
  d.periodOrIncrement = period;
  return d;
}

bool SamePieces(const Board& a, const Board& b) {
  for (int sq = 0; sq < 128; ++sq)
    if (OnBoard(sq) && a[sq] != b[sq]) return false;
  return true;
}

TEST(GameRecord, ThirdOccurrenceGivesRepetition) {
  FakeGameHost host;
  const struct {
    const char* moves;
    int plyOfThird;
  } cases[] = {
      // The start position itself occurs at plies 0, 4 and 8.
      {"Nf3 Nf6 Ng1 Ng8 Nf3 Nf6 Ng1 Ng8", 8},
      // The position after 1...e5 occurs at plies 2, 6 and 10.
      {"e4 e5 Nf3 Nf6 Ng1 Ng8 Nf3 Nf6 Ng1 Ng8", 10},
      // The kings walk off and back: the placement after 1...e5 returns at
      // plies 6, 10 and 14, but without castling rights, so ply 2 does not
      // count.
      {"e4 e5 Ke2 Ke7 Ke1 Ke8 Nf3 Nf6 Ng1 Ng8 Nf3 Nf6 Ng1 Ng8", 14},
  };
  for (const auto& c : cases) {
    GamePtr game(NewGame());
    std::istringstream in(c.moves);
    int ply = 0;
    for (std::string text; in >> text;) {
      ASSERT_EQ(game->result, 0u) << c.moves << " before ply " << ply + 1;
      ASSERT_TRUE(Play(game.get(), text));
      ++ply;
    }
    EXPECT_EQ(ply, c.plyOfThird);
    EXPECT_EQ(game->result, RESULT_REPETITION) << c.moves;
    EXPECT_EQ(host.events.back(), GAME_EVENT_OVER);
  }
}

TEST(GameRecord, EqualHashesAloneAreNoRepetition) {
  FakeGameHost host;
  GamePtr game(NewGame());
  ASSERT_TRUE(Play(game.get(), "Nf3 Nf6 Nc3 Nc6 Nb1 Nb8"));
  EXPECT_FALSE(IsThreefoldRepetition(game.get()));
  // Every stored hash made equal, as a collision would: the positions differ.
  for (int ply = 1; ply <= 6; ++ply) GetMoveAtPly(game.get(), ply)->hash = 12345;
  EXPECT_FALSE(IsThreefoldRepetition(game.get()));
  EXPECT_EQ(ComputeGameResult(game.get()), 0u);
}

TEST(GameRecord, MoveCountRules) {
  FakeGameHost host;
  {
    // Rooks and knights only: the 100th quiet ply draws by the 50-move rule.
    GamePtr game(NewGame("4k3/8/3n4/8/8/3N4/r7/R3K3 w - - 0 1"));
    EXPECT_EQ(PlayQuietWalk(game.get(), 99), 99);
    EXPECT_EQ(game->result, 0u);
    EXPECT_EQ(PlayQuietWalk(game.get(), 1), 1);
    EXPECT_EQ(game->result, RESULT_50_MOVES);
  }
  {
    // Rook and bishop against rook: play goes on to the 200th ply.
    GamePtr game(NewGame("4k3/8/8/8/8/3B4/r7/R3K3 w - - 0 1"));
    EXPECT_EQ(PlayQuietWalk(game.get(), 199), 199);
    EXPECT_EQ(game->result, 0u);
    EXPECT_EQ(PlayQuietWalk(game.get(), 1), 1);
    EXPECT_EQ(game->result, RESULT_100_MOVES);
  }
  {
    // A pawn move starts the count again.
    GamePtr game(NewGame("4k3/7p/3n4/8/8/3N4/r7/R3K3 b - - 0 1"));
    EXPECT_EQ(PlayQuietWalk(game.get(), 60), 60);
    ASSERT_TRUE(Play(game.get(), "h6"));
    EXPECT_EQ(PlayQuietWalk(game.get(), 99), 99);
    EXPECT_EQ(game->result, 0u);
    EXPECT_EQ(PlayQuietWalk(game.get(), 1), 1);
    EXPECT_EQ(game->result, RESULT_50_MOVES);
  }
}

TEST(GameRecord, ResultOfThePosition) {
  FakeGameHost host;
  const struct {
    const char* fen;
    uint32_t result;
  } cases[] = {
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", RESULT_INSUFFICIENT},
      {"4k3/8/8/8/8/8/8/2B1K3 w - - 0 1", RESULT_INSUFFICIENT},
      {"4k3/8/8/8/8/8/8/1N2K3 b - - 0 1", RESULT_INSUFFICIENT},
      {"2b1k3/8/8/8/8/8/8/3BK3 w - - 0 1", RESULT_INSUFFICIENT},  // both bishops on light squares
      {"3bk3/8/8/8/8/8/8/3BK3 w - - 0 1", 0},                     // opposite colours
      {"4k3/8/8/8/8/8/8/1NN1K3 w - - 0 1", 0},
      {"4k3/8/8/8/8/8/8/1B2K1n1 w - - 0 1", 0},
      {"4k3/8/8/8/8/8/7P/4K3 w - - 0 1", 0},
      {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", 0},
      {"rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3", RESULT_WHITE_MATED},
      {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", RESULT_STALEMATE},
      {"R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", RESULT_BLACK_MATED},
  };
  for (const auto& c : cases) {
    GamePtr game(NewGame(c.fen));
    ASSERT_TRUE(game) << c.fen;
    EXPECT_EQ(ComputeGameResult(game.get()), c.result) << c.fen;
  }
  // A capture that leaves bishops of one colour ends the game at once.
  GamePtr game(NewGame("2b1k3/8/8/8/8/8/4r3/3BK3 w - - 0 1"));
  ASSERT_TRUE(Play(game.get(), "Kxe2"));
  EXPECT_EQ(game->result, RESULT_INSUFFICIENT);
}

// A drill position without kings plays as a game: the solving capture is
// recorded with its text, the game goes on while Black has moves, and ends
// as a stalemate (never a mate) once Black has none.
TEST(GameRecord, GamesWithoutKings) {
  FakeGameHost host;
  Board board;
  ClearBoard(&board);
  board[0x70] = WHITE + ROOK;    // a1
  board[0x30] = BLACK + KNIGHT;  // a5, the hung piece
  board[0x07] = BLACK + BISHOP;  // h8
  GamePtr game(CreateGame(0, nullptr, nullptr, nullptr, nullptr, &board, nullptr, WHITE, 1, 0));
  ASSERT_TRUE(game);
  EXPECT_EQ(game->start[WHITE_KING_SQUARE], NO_SQUARE);
  EXPECT_EQ(game->start[BLACK_KING_SQUARE], NO_SQUARE);
  EXPECT_EQ(ComputeGameResult(game.get()), 0u);
  ASSERT_TRUE(Play(game.get(), "Rxa5"));
  EXPECT_EQ(game->result, 0u);
  EXPECT_EQ(game->position[0x30], WHITE + ROOK);
  ASSERT_TRUE(Play(game.get(), "Bb2 Rb5"));
  EXPECT_EQ(GetCurrentPly(game.get()), 3);
  ASSERT_TRUE(Play(game.get(), "Bc3 Rc5"));
  EXPECT_EQ(game->result, 0u);  // the rook may take the bishop: nothing is decided
  // The rook takes Black's last piece: Black cannot move and is not mated.
  Board last2;
  ClearBoard(&last2);
  last2[0x70] = WHITE + ROOK;
  last2[0x30] = BLACK + KNIGHT;
  last2[0x77] = WHITE + KNIGHT;  // h1
  GamePtr end(CreateGame(0, nullptr, nullptr, nullptr, nullptr, &last2, nullptr, WHITE, 1, 0));
  ASSERT_TRUE(Play(end.get(), "Rxa5"));
  EXPECT_EQ(end->result, RESULT_STALEMATE);
}

TEST(GameRecord, GivenStartPositionKeepsItsState) {
  FakeGameHost host;
  // The pieces would allow all four castlings and the pawn on d5 has not
  // just advanced; the given bytes must survive all the same.
  Board board;
  int side;
  ASSERT_TRUE(SetupPositionFromFen("r3k2r/8/8/3pP3/8/8/8/R3K2R w K d6 0 1", &board, &side));
  board[CASTLING_RIGHTS] = WHITE_SHORT;
  const Board given = board;
  GamePtr game(CreateGame(0, nullptr, nullptr, nullptr, nullptr, &board, nullptr, side, 1, 0));
  ASSERT_TRUE(game);
  EXPECT_EQ(std::memcmp(&board, &given, sizeof board), 0);  // the caller's board is untouched
  EXPECT_EQ(game->start[CASTLING_RIGHTS], WHITE_SHORT);
  EXPECT_EQ(game->start[EN_PASSANT_SQUARE], given[EN_PASSANT_SQUARE]);
  EXPECT_EQ(game->start[WHITE_KING_SQUARE], 0x74);
  EXPECT_EQ(game->start[BLACK_KING_SQUARE], 0x04);
  EXPECT_FALSE(IsStandardStart(game.get()));
  MoveRecord move;
  EXPECT_TRUE(LegalMove(game.get(), "exd6", &move));  // the en-passant capture is there
  EXPECT_FALSE(LegalMove(game.get(), "O-O-O", &move));
}

TEST(GameRecord, MoveTimeBecomesTheUserComment) {
  FakeGameHost host;
  host.room.exists = true;
  host.room.recordTimes = true;
  FakeTicks ticks(1000);
  GamePtr game(NewGame());
  StartGame(game.get());
  ASSERT_TRUE(Play(game.get(), "e4"));
  FakeTicks::now += 3725000;
  ASSERT_TRUE(Play(game.get(), "e5"));
  MoveRecord* black = GetCurrentMove(game.get());
  EXPECT_EQ(black->timeMs, 3725000u);
  ASSERT_NE(black->texts[SLOT_COMMENT], nullptr);
  EXPECT_STREQ(black->texts[SLOT_COMMENT], "01:02:05");
  SetCurrentGame(nullptr);
}

TEST(GameRecord, DrawOffers) {
  FakeGameHost host;
  host.personalityWords[22] = 100;  // draw threshold
  PlayerDescriptor human = Player("Ann", PLAYER_HUMAN), engine = Player("Bot", PLAYER_ENGINE);
  GamePtr game(NewGame(nullptr, 0, &human, &engine));
  StartGame(game.get());
  // The engine sees itself 5 pawns down (score from white +500).
  game->black.thinking[12] = 0xF4, game->black.thinking[13] = 0x01;
  EXPECT_EQ(OfferDraw(game.get()), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "No draw. Play on!");
  EXPECT_EQ(game->result, 0u);
  // Not the human's turn.
  ASSERT_TRUE(Play(game.get(), "Nf3"));
  EXPECT_EQ(OfferDraw(game.get()), -1);
  EXPECT_EQ(host.status.back(), "It's not your turn.");
  // From ply 40 on, an engine that stands badly enough accepts.
  ASSERT_EQ(PlayQuietWalk(game.get(), 39, true), 39);
  ASSERT_EQ(GetCurrentPly(game.get()), 40);
  EXPECT_EQ(OfferDraw(game.get()), 0);
  EXPECT_EQ(game->result, RESULT_AGREED);
  SetCurrentGame(nullptr);
}

TEST(GameRecord, HumanOpponentIsAskedAndResignationToo) {
  FakeGameHost host;
  GamePtr game(NewGame());
  host.answer = kAnswerNo;
  EXPECT_EQ(OfferDraw(game.get()), 0);
  EXPECT_EQ(host.questions.back(), "Declare the game a draw?");
  EXPECT_EQ(game->result, 0u);
  EXPECT_EQ(ResignGame(game.get()), -1);
  EXPECT_EQ(host.questions.back(), "Do you wish to resign?");
  host.answer = kAnswerYes;
  ASSERT_TRUE(Play(game.get(), "e4"));
  EXPECT_EQ(ResignGame(game.get()), 0);
  EXPECT_EQ(game->result, RESULT_BLACK_RESIGNED);
  EXPECT_EQ(host.modeless.back(), "Black Resigned");
}

TEST(GameRecord, GoToPlySendsEventsInOrder) {
  FakeGameHost host;
  GamePtr game(NewGame());
  ASSERT_TRUE(Play(game.get(), "e4 e5 Nf3 Nc6"));
  const Board afterFour = game->position;
  host.events.clear();
  EXPECT_EQ(GoToPly(game.get(), 2, true), 2);
  EXPECT_EQ(host.events, (std::vector<int>{13, 10, 10, 14}));
  host.events.clear();
  EXPECT_EQ(GoToPly(game.get(), 4, true), 2);
  EXPECT_EQ(host.events, (std::vector<int>{13, 11, 11, 14}));
  EXPECT_EQ(std::memcmp(&game->position, &afterFour, sizeof afterFour), 0);
  host.events.clear();
  EXPECT_EQ(GoToPly(game.get(), 0, true), 4);
  EXPECT_EQ(host.events, (std::vector<int>{13, 14}));
  EXPECT_EQ(std::memcmp(&game->position, &game->start, sizeof game->start), 0);
  EXPECT_EQ(game->sideToMove, WHITE);
  EXPECT_EQ(GetMoveCount(game.get()), 4);
  host.events.clear();
  EXPECT_EQ(GoToPly(game.get(), 0, true), 0);  // already there: nothing
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(GoToPly(game.get(), 9, false), -1);
  EXPECT_EQ(GetCurrentPly(game.get()), 4);
}

TEST(GameRecord, TakeBackRetractAndVariations) {
  FakeGameHost host;
  GamePtr game(NewGame());
  ASSERT_TRUE(Play(game.get(), "e4 e5"));
  const Board afterE4 = [&] {
    Board b;
    int side;
    EXPECT_TRUE(SetupPositionFromFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", &b, &side));
    return b;
  }();
  EXPECT_EQ(TakeBackMove(game.get()), 0);
  EXPECT_EQ(GetCurrentPly(game.get()), 1);
  EXPECT_EQ(GetMoveCount(game.get()), 2);  // taken back, still in the tree
  MoveRecord c5;
  ASSERT_TRUE(LegalMove(game.get(), "c5", &c5));
  ASSERT_TRUE(Play(game.get(), "e5"));
  EXPECT_EQ(AddVariation(game.get(), &c5), 0);
  EXPECT_EQ(host.events.back(), GAME_EVENT_VARIATION_ADDED);
  EXPECT_EQ(CountVariations(game.get()), 1);
  ASSERT_NE(GameNextVariation(game.get()), nullptr);
  EXPECT_EQ(GetCurrentMove(game.get())->to, 0x32);  // c5
  EXPECT_EQ(game->position[0x32], BLACK | PAWN);
  EXPECT_EQ(game->position[0x34], 0);
  EXPECT_EQ(RetractLastMove(game.get()), 0);
  EXPECT_EQ(host.events.back(), 1000 * kGameStatusWindow + GAME_EVENT_RETRACTED);
  EXPECT_EQ(GetCurrentPly(game.get()), 1);
  EXPECT_TRUE(SamePieces(game->position, afterE4));
  EXPECT_EQ(GetSiblingMove(game.get(), 0)->to, 0x44);
  ASSERT_NE(GameStepForward(game.get()), nullptr);
  EXPECT_EQ(GetCurrentMove(game.get())->to, 0x34);  // e5 is what is left
  EXPECT_EQ(CountVariations(game.get()), 0);
}

TEST(GameRecord, SelectedAlternativeIsTheLineThatIsCopied) {
  FakeGameHost host;
  GamePtr game(NewGame());
  ASSERT_TRUE(Play(game.get(), "e4 e5"));
  MoveRecord c5, d5;
  GameStepBack(game.get());
  ASSERT_TRUE(LegalMove(game.get(), "c5", &c5));
  ASSERT_TRUE(LegalMove(game.get(), "d5", &d5));
  GameStepForward(game.get());
  ASSERT_NE(AddVariationToGame(game.get(), &c5), nullptr);
  ASSERT_NE(AddVariationToGame(game.get(), &d5), nullptr);
  EXPECT_EQ(AddVariationToGame(game.get(), &c5), nullptr);  // already an alternative
  // Selecting leaves the alternative in its place: the line is found
  // through the parents, not along the first children.
  ASSERT_NE(GameSelectVariation(game.get(), 2), nullptr);
  EXPECT_EQ(GetMoveAtPly(game.get(), 2)->to, 0x33);  // d5
  EXPECT_EQ(game->position[0x33], BLACK | PAWN);
  int count = 0;
  MoveRecord* line = CopyGameMoves(game.get(), &count);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(line[1].to, 0x33);
  FreeMoveArray(line);
  char text[16];
  EXPECT_STREQ(GetPlyMoveText(game.get(), 2, STYLE_ALGEBRAIC, text, sizeof text), "d5");
  // Selecting for play makes it the main line.
  EXPECT_EQ(SelectVariation(game.get(), 0), 0);
  ASSERT_NE(GameSelectVariation(game.get(), 0), nullptr);
  EXPECT_EQ(GetMoveAtPly(game.get(), 2)->to, 0x33);
}

TEST(GameRecord, LongLinesStartCopyAndReplayWhole) {
  FakeGameHost host;
  PlayerDescriptor engine = Player("Bot", PLAYER_ENGINE);
  GamePtr game(NewGame(nullptr, GAME_QUIET, &engine, &engine));
  ASSERT_EQ(PlayQuietWalk(game.get(), 450, true), 450);
  const Board end = game->position;
  StartGame(game.get());
  EXPECT_EQ(host.resetCounts, (std::vector<int>{450, 450}));
  int count = 0;
  MoveRecord* line = CopyGameMoves(game.get(), &count);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(count, 450);
  std::vector<MoveRecord> small(380), big(500);
  int got = -1;
  int32_t ply = -1;
  EXPECT_FALSE(CopyGameMovesTo(game.get(), small.data(), 380, &got, &ply));
  EXPECT_TRUE(CopyGameMovesTo(game.get(), big.data(), 500, &got, &ply));
  EXPECT_EQ(got, 450);
  EXPECT_EQ(ply, 450);
  EXPECT_EQ(std::memcmp(&big[449], &line[449], sizeof(MoveRecord)), 0);

  // The same line replayed into a new game gives the same position.
  GamePtr copy(NewGame(nullptr, GAME_QUIET));
  EXPECT_EQ(ReplaceMoveLine(copy.get(), line, count, false), 1);
  EXPECT_EQ(GetCurrentPly(copy.get()), 450);
  EXPECT_TRUE(SamePieces(copy->position, end));
  FreeMoveArray(line);
  SetCurrentGame(nullptr);
}

TEST(GameRecord, MoveTextsAtPlies) {
  FakeGameHost host;
  GamePtr game(NewGame());
  ASSERT_TRUE(Play(game.get(), "e4 e5 Nf3 Nc6 Bb5"));
  GoToPly(game.get(), 2, false);
  char text[32];
  EXPECT_STREQ(GetPlyMoveText(game.get(), 1, STYLE_ALGEBRAIC, text, sizeof text), "e4");
  EXPECT_STREQ(GetPlyMoveText(game.get(), 4, STYLE_ALGEBRAIC, text, sizeof text), "Nc6");
  EXPECT_STREQ(GetPlyMoveText(game.get(), 5, STYLE_COORDINATE, text, sizeof text), "f1-b5");
  EXPECT_STREQ(GetPlyMoveText(game.get(), 6, STYLE_ALGEBRAIC, text, sizeof text), "");
  EXPECT_EQ(GetCurrentPly(game.get()), 2);
  EXPECT_EQ(game->position[0x44], WHITE | PAWN);
}

TEST(GameRecord, FlagFallAndWinnerWithoutMatingMaterial) {
  FakeGameHost host;
  FakeTicks ticks(5000);
  const struct {
    const char* fen;
    uint32_t result;
  } cases[] = {
      {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", RESULT_INSUFFICIENT},  // black has only its king
      {"r3k3/8/8/8/8/8/8/R3K3 w - - 0 1", RESULT_WHITE_TIME},
  };
  for (const auto& c : cases) {
    PlayerDescriptor white = Player("W", PLAYER_HUMAN, TIME_GAME_IN_3, 60000);
    PlayerDescriptor black = Player("B", PLAYER_HUMAN, TIME_GAME_IN_3, 60000);
    GamePtr game(NewGame(c.fen, GAME_LOSS_ON_TIME, &white, &black));
    StartGame(game.get());
    ResumeClock(game.get());
    FakeTicks::now += 59000;
    UpdateRunningClock(game.get(), FakeTicks::now);
    EXPECT_EQ(game->result, 0u);
    FakeTicks::now += 2000;
    UpdateRunningClock(game.get(), FakeTicks::now);
    EXPECT_EQ(game->result, c.result) << c.fen;
    SetCurrentGame(nullptr);
  }
}

TEST(GameRecord, ResultTextsAndOutcomes) {
  char text[64];
  EXPECT_STREQ(GetResultText(4, text, sizeof text), "Draw by Threefold Repetition");
  EXPECT_STREQ(GetResultText(14, text, sizeof text), "");
  EXPECT_STREQ(GetResultText(18, text, sizeof text), "");
  EXPECT_STREQ(GetResultText(17, text, sizeof text), "Opponent Disconnected");
  const struct {
    uint32_t code;
    int white, black;
  } cases[] = {{1, 0, 1},  {2, 1, 0},  {3, 2, 2},  {9, 2, 2}, {10, 0, 1},
               {13, 1, 0}, {14, 4, 4}, {15, 3, 3}, {17, 4, 4}};
  for (const auto& c : cases) {
    EXPECT_EQ(GetResultForSide(c.code, true), c.white) << c.code;
    EXPECT_EQ(GetResultForSide(c.code, false), c.black) << c.code;
  }
}

TEST(GameRecord, EnginePlayerFollowsTheGame) {
  FakeGameHost host;
  PlayerDescriptor human = Player("Ann", PLAYER_HUMAN), engine = Player("Bot", PLAYER_ENGINE);
  GamePtr game(NewGame(nullptr, 0, &human, &engine));
  StartGame(game.get());
  EXPECT_EQ(host.resetCounts, (std::vector<int>{0}));
  EXPECT_EQ(host.goCalls, 1);
  EXPECT_EQ(GetCurrentGame(), game.get());
  EXPECT_FALSE(IsEngineToMove(game.get()));
  ASSERT_TRUE(Play(game.get(), "e4"));
  EXPECT_TRUE(IsEngineToMove(game.get()));
  EXPECT_EQ(TakeBackMove(game.get()), 0);
  EXPECT_EQ(ReplayMove(game.get()), 0);
  EXPECT_EQ(host.commands,
            (std::vector<std::string>{"B:time+move e2", "B:force", "B:undo", "B:force", "B:time+move e2"}));
  SetCurrentGame(nullptr);
}

TEST(GameRecord, EndOfGameGoesWhereTheKindSays) {
  const struct {
    uint32_t kind, code;
    int booked, advanced, drill, boxes, online;
    bool statusText;
  } cases[] = {
      {0, RESULT_AGREED, 0, 0, 0, 1, -1, true},
      {GAME_BOOKED, RESULT_AGREED, 1, 0, 0, 0, -1, true},
      {GAME_BOOKED, RESULT_ADJOURNED, 0, 0, 0, 0, -1, true},
      {GAME_TOURNAMENT | GAME_BOOKED, RESULT_AGREED, 0, 1, 0, 0, -1, true},
      {GAME_DRILL, RESULT_WHITE_MATED, 0, 0, 1, 1, -1, true},
      {GAME_NO_RESULT_TEXT, RESULT_AGREED, 0, 0, 0, 0, -1, false},
      {GAME_NO_END_BOX_2, RESULT_AGREED, 0, 0, 0, 0, -1, true},
      {GAME_ONLINE, RESULT_BLACK_RESIGNED, 0, 0, 0, 0, RESULT_BLACK_RESIGNED, true},
  };
  for (const auto& c : cases) {
    FakeGameHost h;
    GamePtr game(NewGame(nullptr, c.kind));
    EXPECT_EQ(EndGame(game.get(), c.code), 0);
    EXPECT_EQ(game->result, c.code);
    EXPECT_EQ(h.booked, c.booked) << c.kind;
    EXPECT_EQ(h.advanced, c.advanced) << c.kind;
    EXPECT_EQ(h.drillEnds, c.drill) << c.kind;
    EXPECT_EQ(static_cast<int>(h.modeless.size()), c.boxes) << c.kind;
    EXPECT_EQ(h.onlineEnd, c.online) << c.kind;
    EXPECT_EQ(!h.status.empty(), c.statusText) << c.kind;
    bool over = std::find(h.events.begin(), h.events.end(), GAME_EVENT_OVER) != h.events.end();
    EXPECT_EQ(over, c.online < 0) << c.kind;
  }
}

TEST(GameRecord, StatusLineAfterAMove) {
  FakeGameHost host;
  host.room.exists = true;
  host.room.announce = true;
  PlayerDescriptor human = Player("Ann", PLAYER_HUMAN), engine = Player("Bot", PLAYER_ENGINE);
  GamePtr game(NewGame(nullptr, 0, &human, &engine));
  StartGame(game.get());
  ASSERT_TRUE(Play(game.get(), "e4 f5"));
  EXPECT_EQ(host.status.back(), "");
  ASSERT_TRUE(Play(game.get(), "Qh5"));
  EXPECT_EQ(host.status.back(), "Check");
  // The engine that just moved sees a mate: score from white -9996 is +9996 for black.
  ASSERT_TRUE(Play(game.get(), "g6"));
  game->black.thinking[8] = 5;
  int32_t score = -9996;
  std::memcpy(&game->black.thinking[12], &score, 4);
  ShowGameStatus(game.get(), GAME_EVENT_MOVE_PLAYED);
  EXPECT_EQ(host.status.back(), "MATE IN 2.");
  SetCurrentGame(nullptr);
}

TEST(GameRecord, KeyboardAndSquareEntry) {
  FakeGameHost host;
  GamePtr game(NewGame());
  MoveRecord move;
  EXPECT_TRUE(FindMoveForSquare(&move, game.get(), 0x54));  // e3: only e2-e3 goes there
  EXPECT_EQ(move.from, 0x64);
  EXPECT_FALSE(FindMoveForSquare(&move, game.get(), 0x55));  // f3: two moves
  EXPECT_FALSE(FindMoveForSquare(&move, game.get(), 0x76));  // g1: two moves from it
  char typed[16] = "";
  bool ambiguous = false;
  EXPECT_FALSE(ParseMoveInput(game.get(), 'N', typed, sizeof typed, &ambiguous, &move));
  EXPECT_FALSE(ParseMoveInput(game.get(), 'f', typed, sizeof typed, &ambiguous, &move));
  EXPECT_TRUE(ParseMoveInput(game.get(), '3', typed, sizeof typed, &ambiguous, &move));
  EXPECT_EQ(move.from, 0x76);
  EXPECT_EQ(move.to, 0x55);
}

TEST(GameRecord, PlayersSwapWithTheirHeaderFields) {
  FakeGameHost host;
  PlayerDescriptor ann = Player("Ann", PLAYER_HUMAN), bot = Player("Bot", PLAYER_ENGINE);
  GamePtr game(NewGame(nullptr, 0, &ann, &bot));
  std::snprintf(game->header.whiteElo, sizeof game->header.whiteElo, "1500");
  std::snprintf(game->header.blackCountry, sizeof game->header.blackCountry, "ISL");
  EXPECT_EQ(SwapPlayers(game.get()), 0);
  EXPECT_STREQ(game->white.name, "Bot");
  EXPECT_EQ(game->white.kind, PLAYER_ENGINE);
  EXPECT_EQ(game->white.slot, static_cast<uint32_t>(SLOT_WHITE));
  EXPECT_NE(game->white.personality, nullptr);
  EXPECT_STREQ(game->black.name, "Ann");
  EXPECT_EQ(game->black.personality, nullptr);
  EXPECT_STREQ(game->header.blackElo, "1500");
  EXPECT_STREQ(game->header.whiteCountry, "ISL");
}

TEST(GameRecord, BookMovesAndAutoComments) {
  FakeGameHost host;
  host.personalityWords[19] = 1;  // book depth: the first ply only
  host.bookMove.from = 0x64;
  host.bookMove.to = 0x44;
  PlayerDescriptor engine = Player("Bot", PLAYER_ENGINE), human = Player("Ann", PLAYER_HUMAN);
  GamePtr game(NewGame(nullptr, 0, &engine, &human));
  EXPECT_TRUE(PlayEngineBookMove(game.get()));
  EXPECT_EQ(host.bookMoveCoords, "e2e4");
  EXPECT_EQ(host.commands, (std::vector<std::string>{"W:force", "W:move e2"}));
  ASSERT_TRUE(Play(game.get(), "e4 e5"));
  EXPECT_FALSE(PlayEngineBookMove(game.get()));  // beyond the book depth
  host.commentary = "{H e4}A classical start.";
  EXPECT_EQ(AddAutoComment(game.get()), 0);
  EXPECT_STREQ(GetPositionComment(game.get()), "{H e4}A classical start.");
  GoToPly(game.get(), 0, false);
  EXPECT_EQ(AddAutoComment(game.get()), 0);
  EXPECT_STREQ(GetPositionComment(game.get()), "{H e4}A classical start.");
  EXPECT_NE(game->header.texts[SLOT_POSITION], nullptr);
  // Not from the standard start: no book, no comments.
  GamePtr setUp(NewGame("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", 0, &engine, &human));
  EXPECT_FALSE(PlayEngineBookMove(setUp.get()));
  EXPECT_EQ(AddAutoComment(setUp.get()), -1);
}

TEST(GameRecord, PauseHidesTheBoardAndStopsIdleWork) {
  FakeGameHost host;
  GamePtr game(NewGame());
  EXPECT_EQ(PauseGame(game.get()), 0);
  EXPECT_EQ(host.pauses, 1);
  EXPECT_EQ(host.messages, (std::vector<std::string>{"Game paused.  Press OK to resume play."}));
  EXPECT_EQ(host.idleLevels, (std::vector<int>{-1, -2}));
  game->result = RESULT_AGREED;
  EXPECT_EQ(PauseGame(game.get()), -1);
}

TEST(GameRecord, OtherThreadsCopyWholeLinesWhileMovesChange) {
  FakeGameHost host;
  GamePtr game(NewGame(nullptr, GAME_QUIET));
  std::atomic<bool> stop{false};
  std::atomic<int> copies{0}, bad{0};
  std::thread reader([&] {
    std::vector<MoveRecord> line(64);
    while (!stop) {
      int count = 0;
      int32_t ply = 0;
      if (!CopyGameMovesTo(game.get(), line.data(), 64, &count, &ply)) continue;
      Board start;
      SetInitialBoard(&start);
      if (ReplayMoveList(&start, WHITE, line.data(), count) != count || ply != count) ++bad;
      ++copies;
    }
  });
  // Two knights go out and come back, move by move, taken back and retracted.
  const char* moves[] = {"Nf3", "Nf6", "Nc3", "Nc6"};
  for (int round = 0; round < 300; ++round) {
    for (const char* m : moves) ASSERT_TRUE(Play(game.get(), m));
    EXPECT_EQ(TakeBackMove(game.get()), 0);
    EXPECT_EQ(RetractLastMove(game.get()), 0);
    EXPECT_EQ(RetractLastMove(game.get()), 0);
    EXPECT_EQ(GoToPly(game.get(), 0, false), 1);
    if (round % 3 == 0) {
      EXPECT_EQ(ClearGameMoves(game.get()), 0);
    }
  }
  // On a loaded machine the reader may not have been scheduled yet.
  while (copies.load() == 0) std::this_thread::yield();
  stop = true;
  reader.join();
  EXPECT_EQ(bad, 0);
}

TEST(GameRecord, StopAndDestroyQuitEachEngineOnce) {
  FakeGameHost host;
  PlayerDescriptor engine = Player("Bot", PLAYER_ENGINE);
  GameRecord* game = NewGame(nullptr, 0, &engine, &engine);
  StartGame(game);
  game->black.session = game->white.session;  // one engine playing both sides
  DestroyGame(game);
  EXPECT_EQ(host.quits, 1);
  EXPECT_EQ(host.freed, 2);
  EXPECT_EQ(GetCurrentGame(), nullptr);
}

}  // namespace
