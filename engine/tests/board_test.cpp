// Engine board: perft against published figures, the generator's edge cases
// and the consistency of everything DoMove keeps incrementally.
#include <cstring>
#include <set>
#include <vector>

#include "attack.h"
#include "perft.h"
#include "test_util.h"

namespace corvane {
namespace {

struct PerftCase {
  const char* fen;
  int depth;
  u64 nodes;
};

TEST(EnginePerft, PublishedFigures) {
  const PerftCase cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 197281},
      {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4, 4085603},
      {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
      {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
      {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487},
  };
  TransInit(kTransMinBytes);
  for (const auto& c : cases) {
    ASSERT_TRUE(SetupRootFromFen(c.fen)) << c.fen;
    EXPECT_EQ(Perft(c.depth), c.nodes) << c.fen;
  }
}

// Walks the move tree and checks, at every node, the incremental keys,
// signatures, piece lists and check byte against values computed from scratch.
void CheckTree(int ply, int depth, int* nodes) {
  SearchBoard& bd = Board(ply);
  SearchBoard copy = bd;
  TransSetHash(copy);
  ASSERT_EQ(copy.key1, bd.key1);
  ASSERT_EQ(copy.key2, bd.key2);
  ASSERT_EQ(copy.pkey, bd.pkey);
  i32 sig[2] = {0, 0};
  const u8* b = bd.sq();
  for (int s = 0; s < 80; ++s) {
    u8 c = b[s];
    if (c == kRim || c == kEmpty) continue;
    if (TypeOf(c) != kKing) sig[(c & kWhiteBit) ? 0 : 1] += SigWeight(TypeOf(c));
    bool listed = false;
    for (const u8* l = bd.list[PieceIndex(c)]; *l; ++l) listed |= *l == s;
    ASSERT_TRUE(listed) << "square " << s;
  }
  ASSERT_EQ(sig[0], bd.sig[0]);
  ASSERT_EQ(sig[1], bd.sig[1]);
  bool white = bd.WhiteToMove();
  ASSERT_EQ(bd.chk, SquareCheck(bd, white ? bd.WKing() : bd.BKing(), white));
  ++*nodes;
  if (depth == 0) return;
  int n = GenLegal(bd);
  EngineMove moves[kGenMax];
  std::memcpy(moves, g_gen, sizeof(EngineMove) * n);
  if (bd.chk) {
    int m1 = GenMax1(bd);
    ASSERT_EQ(m1 < 2 ? m1 : 2, n < 2 ? n : 2);
  }
  // Every legal capture, queen promotion and en-passant capture is also in the quiescence list.
  int q = GenQuis(bd);
  std::set<EngineMove> quis(g_gen, g_gen + q);
  for (int i = 0; i < n; ++i) {
    EngineMove m = moves[i];
    bool capture = b[MoveTo(m)] != kEmpty && !(m & kCastleFlag);
    if ((capture && (MovePromo(m) == 0 || MovePromo(m) == 4)) || (m & kEpFlag)) {
      ASSERT_TRUE(quis.count(m)) << MoveText(m);
    }
  }
  for (int i = 0; i < n; ++i) {
    DoMove(moves[i], ply);
    ASSERT_FALSE(PinIllegal(moves[i], ply)) << MoveText(moves[i]);
    CheckTree(ply + 1, depth - 1, nodes);
  }
}

TEST(EngineBoard, IncrementalStateMatchesScratch) {
  const char* fens[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
      "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
  };
  TransInit(kTransMinBytes);
  for (const char* fen : fens) {
    ASSERT_TRUE(SetupRootFromFen(fen));
    Board(0).pcsq = 0;
    int nodes = 0;
    CheckTree(0, 3, &nodes);
    EXPECT_GT(nodes, 1000);
  }
}

std::set<std::string> LegalTexts(const char* fen) {
  TransInit(kTransMinBytes);
  EXPECT_TRUE(SetupRootFromFen(fen)) << fen;
  int n = GenLegal(Board(0));
  std::set<std::string> out;
  for (int i = 0; i < n; ++i) out.insert(MoveText(g_gen[i]));
  return out;
}

// The step table lists, in direction order, exactly the neighbours that are
// board cells: corner and edge squares lose the steps that leave the board.
TEST(EngineBoard, StepTableHoldsTheBoardNeighbours) {
  TransInit(kTransMinBytes);
  ASSERT_TRUE(SetupRootFromFen("8/8/8/8/8/8/8/K6k w - - 0 1"));
  const u8* b = Board(0).sq();
  for (int s = 0; s < 80; ++s) {
    if (b[s] == kRim) continue;
    std::vector<int> king, knight, kingTable, knightTable;
    for (int i = 0; i < 16; ++i)
      if (b[s + kDir[i]] != kRim) (i < 8 ? king : knight).push_back(s + kDir[i]);
    for (const u8* t = g_steps.king[s]; *t; ++t) kingTable.push_back(*t);
    for (const u8* t = g_steps.knight[s]; *t; ++t) knightTable.push_back(*t);
    EXPECT_EQ(kingTable, king) << SquareName(s);
    EXPECT_EQ(knightTable, knight) << SquareName(s);
  }
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(g_steps.king[SqNum(0, 0)])), 3u);
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(g_steps.knight[SqNum(0, 0)])), 2u);
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(g_steps.knight[SqNum(3, 3)])), 8u);
}

TEST(EngineBoard, GeneratorEdgeCases) {
  // En passant that would expose the king along the rank is not generated.
  EXPECT_EQ(LegalTexts("8/8/8/K2pP2r/8/8/8/7k w - d6 0 1").count("e5d6"), 0u);
  EXPECT_EQ(LegalTexts("8/8/8/3pP3/8/8/8/K6k w - d6 0 1").count("e5d6"), 1u);
  // Castling through an attacked f1 or d1 is refused; only b1 attacked still allows O-O-O.
  auto a = LegalTexts("4k3/8/8/8/8/8/5r2/R3K2R w KQ - 0 1");  // rook on f2 hits f1
  EXPECT_EQ(a.count("e1g1"), 0u);
  EXPECT_EQ(a.count("e1c1"), 1u);
  auto c = LegalTexts("4k3/8/8/8/8/8/3r4/R3K2R w KQ - 0 1");  // d1 attacked
  EXPECT_EQ(c.count("e1c1"), 0u);
  EXPECT_EQ(c.count("e1g1"), 1u);
  auto d = LegalTexts("4k3/8/8/8/8/8/1r6/R3K2R w KQ - 0 1");  // only b1 attacked
  EXPECT_EQ(d.count("e1c1"), 1u);
  // Castling is never generated in check.
  EXPECT_EQ(LegalTexts("4k3/8/8/8/8/8/4r3/R3K2R w KQ - 0 1").count("e1g1"), 0u);
}

TEST(EngineBoard, PromotionsComeQueenFirst) {
  TransInit(kTransMinBytes);
  ASSERT_TRUE(SetupRootFromFen("1n1n4/2P5/8/8/8/8/8/K6k w - - 0 1"));
  int n = GenLegal(Board(0));
  std::vector<std::string> pawn;
  for (int i = 0; i < n; ++i)
    if (MoveFrom(g_gen[i]) == SqNum(2, 6)) pawn.push_back(MoveText(g_gen[i]));
  ASSERT_EQ(pawn.size(), 12u);
  const char* want[12] = {"c7d8q", "c7d8r", "c7d8b", "c7d8n", "c7b8q", "c7b8r",
                          "c7b8b", "c7b8n", "c7c8q", "c7c8r", "c7c8b", "c7c8n"};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(pawn[i], want[i]);
}

TEST(EngineBoard, DoubleCheckGivesOnlyKingMoves) {
  // Knight on f6 and rook on e1 both check the king on e8.
  TransInit(kTransMinBytes);
  ASSERT_TRUE(SetupRootFromFen("r3k2r/8/5N2/8/8/8/8/4R1K1 b kq - 0 1"));
  EXPECT_EQ(Board(0).chk, 2);
  int n = GenLegal(Board(0));
  ASSERT_GT(n, 0);
  for (int i = 0; i < n; ++i) EXPECT_EQ(MoveFrom(g_gen[i]), Board(0).BKing());
}

TEST(EngineBoard, EnPassantSquareOnlyWhenCapturePossible) {
  TransInit(kTransMinBytes);
  ASSERT_TRUE(SetupRootFromFen("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1"));
  DoMove(FindMove("e2e4"), 0);
  EXPECT_EQ(Board(1).ep, 0);
  ASSERT_TRUE(SetupRootFromFen("4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1"));
  u32 keyWithout = 0;
  DoMove(FindMove("e2e4"), 0);
  EXPECT_EQ(Board(1).ep, SqNum(4, 2));
  keyWithout = Board(1).key1;
  EXPECT_NE(keyWithout, 0u);
}

TEST(EngineBoard, CastlingRightsFollowRookAndKing) {
  TransInit(kTransMinBytes);
  ASSERT_TRUE(SetupRootFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"));
  DoMove(FindMove("h1h8"), 0);
  EXPECT_EQ(Board(1).flags & 0x0F, 0x1 | 0x4);  // white short gone (rook left h1), black short gone
  ASSERT_TRUE(SetupRootFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"));
  DoMove(FindMove("e1e2"), 0);
  EXPECT_EQ(Board(1).flags & 0x0F, 0x4 | 0x8);
  EXPECT_EQ(Board(1).flags & 0x10, 0);
}

TEST(EngineBoard, FenReaderRejectsBadInput) {
  EnginePosition pos;
  const char* bad[] = {
      "",
      "8/8/8/8/8/8/8/8 w - - 0 1",                                 // no kings
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",  // side
      "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",  // rank too long
      "k7/8/8/8/8/8/8/K6P w - - 0 1",                              // pawn on the first rank
      "R6k/8/8/8/8/8/8/K7 w - - 0 1",                              // side not to move in check
      "k7/8/8/8/8/8/8/K7 w - z9 0 1",                              // en-passant square
      "k7/pppppppp/p7/8/8/8/8/K7 w - - 0 1",                       // nine pawns
  };
  for (const char* fen : bad) EXPECT_FALSE(PositionFromFen(fen, &pos)) << fen;
  EXPECT_TRUE(PositionFromFen("k7/8/8/8/8/8/8/K7 b - - 12 40", &pos));
  EXPECT_EQ(pos.fifty, 12);
}

void Collect(void* ctx, const char* text) { *static_cast<std::string*>(ctx) += text; }

TEST(EngineBoard, DumpShowsStatusAndLists) {
  TransInit(kTransMinBytes);
  ASSERT_TRUE(SetupRootFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"));
  std::string out;
  DumpBoard(0, 8, Collect, &out);
  EXPECT_EQ(out, "\nnonpx =   0\neps   =  ..\nflg   =  1F = c1 g1 c8 g8 wtm\nchk   =  +0\nscanned = 0\n");
  out.clear();
  DumpBoard(0, 4, Collect, &out);
  EXPECT_EQ(out.substr(0, 25), " a2 b2 c2 d2 e2 f2 g2 h2 ");
  EXPECT_NE(out.find(" e1 .. .. .. .. .. .. .. .. ..\n"), std::string::npos);
  out.clear();
  DumpBoard(0, 1, Collect, &out);
  EXPECT_NE(out.find("  ZR  ZN  ZB  ZQ  ZK  ZB  ZN  ZR"), std::string::npos);
  EXPECT_NE(out.find(" RIM EMP"), std::string::npos);
}

TEST(EngineBoard, SetupRefusesWhatTheSearchCannotHandle) {
  TransInit(kTransMinBytes);
  EnginePosition pos;
  // Three knights and eight pawns could promote past the room of the knight list.
  ASSERT_TRUE(PositionFromFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1", &pos));
  EnginePosition many = pos;
  for (int f = 0; f < 8; ++f) many.cell[20 + SqNum(f, 1)] = kWP;
  for (int f = 0; f < 3; ++f) many.cell[20 + SqNum(f, 2)] = kWN;
  EXPECT_FALSE(SetupRoot(many));
  many.cell[20 + SqNum(0, 2)] = kEmpty;
  EXPECT_TRUE(SetupRoot(many));
  EnginePosition noKing = pos;
  noKing.cell[20 + SqNum(4, 7)] = kEmpty;
  EXPECT_FALSE(SetupRoot(noKing));
  EnginePosition badCode = pos;
  badCode.cell[20 + SqNum(3, 3)] = 0x77;
  EXPECT_FALSE(SetupRoot(badCode));
  EnginePosition badEp = pos;
  badEp.ep = 250;
  EXPECT_FALSE(SetupRoot(badEp));
  // Castling rights without king and rook at home, and an en-passant square
  // without the pawn that passed it, are dropped rather than searched.
  EnginePosition odd;
  ASSERT_TRUE(PositionFromFen("4k3/8/8/3P4/8/8/8/4K3 w - - 0 1", &odd));
  odd.castle[0] = odd.castle[1] = odd.castle[2] = odd.castle[3] = 1;
  odd.ep = SqNum(4, 5);  // e6, but no black pawn on e5
  ASSERT_TRUE(SetupRoot(odd));
  EXPECT_EQ(Board(0).flags, 0x10);
  EXPECT_EQ(Board(0).ep, 0);
  u64 withJunk = Perft(3);
  ASSERT_TRUE(PositionFromFen("4k3/8/8/3P4/8/8/8/4K3 w - - 0 1", &odd));
  ASSERT_TRUE(SetupRoot(odd));
  EXPECT_EQ(Perft(3), withJunk);
  // A game move that is not legal where it is played is refused, not made.
  const EngineMove bad[] = {MakeMove(SqNum(4, 0), SqNum(4, 2))};
  EXPECT_FALSE(SetupRoot(pos, bad, 1));
  const EngineMove good[] = {MakeMove(SqNum(4, 0), SqNum(4, 1))};
  EXPECT_TRUE(SetupRoot(pos, good, 1));
  EXPECT_FALSE(Board(0).WhiteToMove());
  EXPECT_EQ(Board(0).fifty, 1);
}

}  // namespace
}  // namespace corvane
