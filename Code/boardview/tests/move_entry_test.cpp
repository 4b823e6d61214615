// Move entry decisions over a scripted host.
#include "move_entry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "message_table.h"
#include "notation.h"
#include "position_setup.h"

namespace {

struct FakeEntryHost : MoveEntryHost {
  Board board{};
  int side = WHITE;
  bool human = true;
  bool over = false;
  int ownerAnswer = 0;
  int promotionAnswer = 4;
  int promotionAsked = 0;
  int illegalSaid = 0;
  std::vector<MoveRecord> played;
  std::vector<std::string> status;

  explicit FakeEntryHost(const char* fen) { EXPECT_TRUE(SetupPositionFromFen(fen, &board, &side)); }
  bool HaveGame() override { return true; }
  bool GameOver() override { return over; }
  const Board& Position() override { return board; }
  int SideToMove() override { return side; }
  bool HumanToMove() override { return human; }
  int OfferMove(MoveRecord*) override { return ownerAnswer; }
  void PlayMove(MoveRecord* move) override { played.push_back(*move); }
  int AskPromotion(int) override {
    ++promotionAsked;
    return promotionAnswer;
  }
  void ShowStatus(const std::string& text) override { status.push_back(text); }
  void SayIllegal() override { ++illegalSaid; }
  void Beep() override {}
  bool FindMoveForSquare(int, MoveRecord*) override { return false; }
  bool ParseMoveInput(int key, char* typed, size_t typedSize, bool* beep, MoveRecord* out) override {
    size_t n = strlen(typed);
    if (n + 1 >= typedSize) return false;
    typed[n] = static_cast<char>(key);
    typed[n + 1] = 0;
    *beep = false;
    Board copy = board;
    return ParseAlgebraicMove(out, typed, &copy, side);
  }
};

const char* kItalian = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -";

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The illegal-move reasons come from the English commentary sentences.
class MoveEntry : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    auto cel = ReadFile(std::string(ENGMESS_BASE) + ".CEL"),
         str = ReadFile(std::string(ENGMESS_BASE) + ".STR");
    ASSERT_TRUE(LoadMessageTableImages("ENGMESS", cel.data(), cel.size(), str.data(), str.size()));
  }
  void SetUp() override { SelectMessageTable("ENGMESS"); }
};

TEST_F(MoveEntry, Drops) {
  {
    FakeEntryHost host("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    EXPECT_EQ(DecideDrop(&host, 4, 6, true, 4, 4), DropResult::Played);  // e2-e4
    ASSERT_EQ(host.played.size(), 1u);
    EXPECT_EQ(host.played[0].to, 0x44);
    EXPECT_EQ(DecideDrop(&host, 4, 6, true, 4, 6), DropResult::BackSameSquare);
    EXPECT_EQ(DecideDrop(&host, 4, 6, false, 0, 0), DropResult::BackOffBoard);
    host.ownerAnswer = 1;
    EXPECT_EQ(DecideDrop(&host, 3, 6, true, 3, 4), DropResult::OwnerTook);
    EXPECT_EQ(host.played.size(), 1u);
    host.ownerAnswer = 0;
    host.human = false;
    EXPECT_EQ(DecideDrop(&host, 3, 6, true, 3, 4), DropResult::BackNotHuman);
  }
  FakeEntryHost host(kItalian);
  EXPECT_EQ(DecideDrop(&host, 4, 7, true, 6, 7), DropResult::BackIllegal);  // Ke1-g1
  ASSERT_EQ(host.status.size(), 1u);
  EXPECT_EQ(host.status[0],
            "You cannot castle kingside while the white bishop on f1 stands between the king and the rook.");
  EXPECT_EQ(host.illegalSaid, 1);
  EXPECT_TRUE(host.played.empty());
}

TEST_F(MoveEntry, PromotionAskedOnlyForALegalMove) {
  FakeEntryHost blocked("n3k3/P7/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(DecideDrop(&blocked, 0, 1, true, 0, 0), DropResult::BackIllegal);
  EXPECT_EQ(blocked.promotionAsked, 0);
  FakeEntryHost host("4k3/P7/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(DecideDrop(&host, 0, 1, true, 0, 0), DropResult::Played);
  EXPECT_EQ(host.promotionAsked, 1);
  ASSERT_EQ(host.played.size(), 1u);
  EXPECT_EQ(host.played[0].flags & 7, 4);  // the knight chosen
}

TEST_F(MoveEntry, TypedMoves) {
  FakeEntryHost host("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  TypedMoveBuffer buffer;
  EXPECT_EQ(HandleTypedCharacter(&host, &buffer, 'N'), TypedResult::Pending);
  EXPECT_EQ(HandleTypedCharacter(&host, &buffer, 'f'), TypedResult::Pending);
  EXPECT_EQ(HandleTypedCharacter(&host, &buffer, '3'), TypedResult::Played);
  EXPECT_EQ(buffer.length(), 0u);
  ASSERT_EQ(host.played.size(), 1u);
  EXPECT_EQ(host.played[0].to, 0x55);
  host.human = false;
  EXPECT_EQ(HandleTypedCharacter(&host, &buffer, 'e'), TypedResult::NotYourTurn);
  EXPECT_EQ(host.status.back(), "It's not your turn.");
  host.human = true;
  // The buffer keeps at most 15 characters and its terminator.
  for (int i = 0; i < 15; ++i) EXPECT_EQ(HandleTypedCharacter(&host, &buffer, 'x'), TypedResult::Pending);
  EXPECT_EQ(buffer.length(), 15u);
  EXPECT_EQ(HandleTypedCharacter(&host, &buffer, 'x'), TypedResult::Dropped);
  EXPECT_EQ(buffer.text[15], 0);
  host.over = true;
  buffer.Clear();
  EXPECT_EQ(HandleTypedCharacter(&host, &buffer, 'e'), TypedResult::Ignored);
}

}  // namespace
