// Game-level rules: legal moves, texts, position strings and the game end.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "program_test_util.h"

namespace corvane {
namespace {

// Position string from ranks 8..1 written with "." for empty squares.
std::string Pos(const char* ranks, const char* flags) { return std::string(ranks) + flags; }
void SetPos(const std::string& text, EnginePosition* pos) { SetPositionFromString(text.c_str(), pos); }

std::string MoveTexts(const EnginePosition& pos) {
  EngineMove list[kGameMoveList];
  int n = GenGameMoves(pos, list);
  std::string s;
  char t[8];
  for (int i = 0; i < n; ++i) s += std::string(MoveText(list[i], t)) + " ";
  return s;
}

TEST(GameRules, InitialPositionHasTwentyMoves) {
  EnginePosition pos;
  InitialPosition(&pos);
  EngineMove list[kGameMoveList];
  EXPECT_EQ(GenGameMoves(pos, list), 20);
}

TEST(GameRules, OnlyEnPassantOutOfCheck) {
  // d7-d5 has just given check to the king on e4; the king is boxed in and
  // d5 is covered, so exd6 e.p. is the one answer.
  EnginePosition pos;
  SetPos(Pos("k..r.r.."
             "........"
             "...E...."
             "...pP..."
             "...PK..."
             "...PPP.."
             "........"
             "........",
             "w"),
         &pos);
  EXPECT_EQ(pos.ep, SqNum(3, 5));
  EXPECT_NE(GameCheckState(pos), 0);
  EXPECT_EQ(MoveTexts(pos), "e5d6 ");
}

TEST(GameRules, PromotionsAndCastlingTexts) {
  EnginePosition pos;
  SetPos(Pos("....k..."
             "....P..."
             "........"
             "........"
             "........"
             "........"
             "........"
             "R...K..R",
             "wLS"),
         &pos);
  std::string moves = MoveTexts(pos);
  EXPECT_EQ(moves.find("e7e8"), std::string::npos);  // blocked by the king
  EXPECT_NE(moves.find("e1g1"), std::string::npos);
  EXPECT_NE(moves.find("e1c1"), std::string::npos);
  char t[16];
  EngineMove castle = FindGameMove(pos, "e1c1");
  ASSERT_NE(castle, 0u);
  EXPECT_STREQ(ShortMoveText(pos, castle, t), "0-0-0");
  EngineMove rook = FindGameMove(pos, "h1h8");
  EXPECT_STREQ(ShortMoveText(pos, rook, t), "Rh8+");
  // Rook move from h1 removes white's short right even with the king at home.
  EnginePosition after;
  MakeGameMove(&pos, FindGameMove(pos, "h1h2"), &after);
  EXPECT_EQ(after.castle[1], 0);
  EXPECT_EQ(after.castle[0], 1);
}

TEST(GameRules, ShortTextsDisambiguate) {
  EnginePosition pos;
  SetPos(Pos("k......."
             "........"
             "........"
             "........"
             "........"
             "........"
             "...p...."
             "N...KN..",
             "w"),
         &pos);
  char t[16];
  EnginePosition two;
  SetPos(Pos("k......."
             "........"
             "........"
             "........"
             "........"
             ".....N.."
             "........"
             ".N..K...",
             "w"),
         &two);
  EXPECT_STREQ(ShortMoveText(two, FindGameMove(two, "b1d2"), t), "Nbd2");
  EnginePosition rooks;
  SetPos(Pos(".......R"
             "........"
             "k......."
             "........"
             "........"
             "........"
             "........"
             "....K..R",
             "w"),
         &rooks);
  EXPECT_STREQ(ShortMoveText(rooks, FindGameMove(rooks, "h1h4"), t), "R1h4");
  EXPECT_STREQ(ShortMoveText(pos, FindGameMove(pos, "e1d2"), t), "Kxd2");
}

TEST(GameRules, PositionStringFlags) {
  EnginePosition pos;
  SetPos(Pos("rnbqkbnr"
             "pppppppp"
             "........"
             "........"
             "....P..."
             "....E..."
             "PPPP.PPP"
             "RNBQKBNR",
             "LSls"),
         &pos);
  EXPECT_EQ(pos.wtm, 0);
  EXPECT_EQ(pos.ep, SqNum(4, 2));  // e3
  EXPECT_EQ(pos.castle[0] + pos.castle[1] + pos.castle[2] + pos.castle[3], 4);
  EnginePosition noRook;
  SetPos(Pos("rnbqkbn."
             "pppppppp"
             "........"
             "........"
             "........"
             "........"
             "PPPPPPPP"
             "RNBQKBNR",
             "wLSls"),
         &noRook);
  EXPECT_EQ(noRook.castle[3], 0);
  EXPECT_EQ(noRook.castle[2], 1);
}

struct EndCase {
  const char* moves;
  const char* text;
  int result;
};

TEST(GameRules, GameEndTexts) {
  const EndCase cases[] = {
      {"f2f3 e7e5 g2g4 d8h4", "Checkmate", -1},
      {"g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8", "Draw 3 x position", 0},
      {"e2e4 g8f6 g1f3 f6g8 f3g1 g8f6 g1f3 f6g8", nullptr, 0},  // the first position is before a pawn move
      {"e2e4", nullptr, 0},
  };
  for (const EndCase& c : cases) {
    EngineGame* game = new EngineGame;
    ResetGame(game);
    std::string moves = c.moves;
    size_t p = 0;
    while (p < moves.size()) {
      size_t e = moves.find(' ', p);
      if (e == std::string::npos) e = moves.size();
      EngineMove m = FindGameMove(game->pos, moves.substr(p, e - p).c_str());
      ASSERT_NE(m, 0u) << moves.substr(p, e - p);
      PlayGameMove(game, m, 0);
      p = e + 1;
    }
    if (c.text)
      EXPECT_STREQ(game->endText, c.text) << c.moves;
    else
      EXPECT_EQ(game->endText, nullptr) << c.moves;
    EXPECT_EQ(game->result, c.result);
    delete game;
  }
}

TEST(GameRules, MaterialAndFiftyMoveDraws) {
  EngineGame* game = new EngineGame;
  std::memset(game, 0, sizeof *game);
  SetPos(Pos("k......."
             "........"
             "........"
             "........"
             "........"
             "........"
             "........"
             "....KB..",
             "w"),
         &game->start);
  RebuildPosition(game);
  EXPECT_STREQ(game->endText, "Draw lack of wood");
  SetPos(Pos("k......."
             "........"
             "........"
             "........"
             "........"
             "........"
             "........"
             "....KNN.",
             "w"),
         &game->start);
  RebuildPosition(game);
  EXPECT_EQ(game->endText, nullptr);
  // Kings and rooks walking: 100 plies without capture or pawn move.
  SetPos(Pos("k......r"
             "........"
             "........"
             "........"
             "........"
             "........"
             "........"
             "R...K...",
             "w"),
         &game->start);
  RebuildPosition(game);
  int plies = 0;
  while (plies < 100 && !game->endText) {
    EngineMove list[kGameMoveList];
    int n = GenGameMoves(game->pos, list);
    ASSERT_GT(n, 0);
    // Pick a quiet rook or king move that avoids repetitions and captures.
    EngineMove pick = 0;
    for (int i = 0; i < n && !pick; ++i) {
      if (game->pos.cell[20 + MoveTo(list[i])] != kEmpty) continue;
      EngineGame* probe = new EngineGame(*game);
      PlayGameMove(probe, list[i], 0);
      bool ok = probe->endText == nullptr || std::string(probe->endText).find("moves") != std::string::npos;
      delete probe;
      if (ok) pick = list[i];
    }
    ASSERT_NE(pick, 0u);
    PlayGameMove(game, pick, 0);
    ++plies;
  }
  EXPECT_EQ(plies, 100);
  EXPECT_STREQ(game->endText, "Draw 50 moves");
  delete game;
}

TEST(GameRules, ValidationRefusesUnplayablePositions) {
  struct Case {
    const char* board;
    const char* flags;
    bool ok;
  } cases[] = {
      {"k......................................................K.......", "w", true},
      {"........................................................K.......", "w", false},  // no black king
      {"k.k.............................................................K.......", "w", false},
      {"kQQQQQQQQQQQQQQQQ...............................................K", "w", false},  // 16 queens
      {"kQ..............................................................K", "w",
       false},  // black king in check, white to move
      {"kP..............................................................K", "w", false},  // pawn on rank 8
  };
  for (const Case& c : cases) {
    std::string text = c.board;
    text.resize(64, '.');
    text += c.flags;
    EnginePosition pos;
    SetPositionFromString(text.c_str(), &pos);
    EXPECT_EQ(ValidatePosition(pos) == nullptr, c.ok) << c.board;
  }
}

}  // namespace
}  // namespace corvane
