#include "moverecord.h"

#include <gtest/gtest.h>

#include <cstring>

#include "board.h"
#include "movegen.h"

namespace {

int Sq(const char* name) { return MakeSquare('8' - name[1], name[0] - 'a'); }

MoveRecord Move(const char* from, const char* to, uint16_t flags = 0) {
  MoveRecord m{};
  m.from = static_cast<uint8_t>(Sq(from));
  m.to = static_cast<uint8_t>(Sq(to));
  m.flags = flags;
  return m;
}

TEST(MoveRecord, DuplicateCopiesOwnedTexts) {
  MoveRecord* zero = DuplicateMoveRecord(nullptr);
  ASSERT_NE(zero, nullptr);
  MoveRecord empty{};
  EXPECT_EQ(0, std::memcmp(zero, &empty, sizeof empty));

  ASSERT_EQ(SetMoveString(zero, "good move", SLOT_COMMENT), zero);
  ASSERT_EQ(SetMoveString(zero, "{markup}", SLOT_POSITION), zero);
  zero->flags = 0x180;
  MoveRecord* copy = DuplicateMoveRecord(zero);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->texts[0], zero->texts[0]);
  EXPECT_NE(copy->texts[4], zero->texts[4]);
  EXPECT_STREQ(copy->texts[0], "good move");
  EXPECT_STREQ(copy->texts[4], "{markup}");
  for (int slot = 1; slot <= 3; ++slot) EXPECT_EQ(copy->texts[slot], nullptr);
  EXPECT_EQ(copy->flags, 0x180);
  FreeMoveRecord(zero);
  EXPECT_STREQ(copy->texts[0], "good move");  // the copy does not share
  FreeMoveRecord(copy);
  FreeMoveRecord(nullptr);
}

TEST(MoveRecord, SetMoveStringReplacesAndClears) {
  MoveRecord* m = DuplicateMoveRecord(nullptr);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(SetMoveString(m, "first", 2), m);
  EXPECT_EQ(SetMoveString(m, "second", 2), m);
  EXPECT_STREQ(m->texts[2], "second");
  EXPECT_EQ(SetMoveString(m, "", 2), m);
  EXPECT_EQ(m->texts[2], nullptr);
  EXPECT_EQ(SetMoveString(m, "x", 1), m);
  EXPECT_EQ(SetMoveString(m, nullptr, 1), m);
  EXPECT_EQ(m->texts[1], nullptr);
  EXPECT_EQ(SetMoveString(m, "x", 5), nullptr);
  EXPECT_EQ(SetMoveString(m, "x", -1), nullptr);
  EXPECT_EQ(SetMoveString(nullptr, "x", 0), nullptr);
  FreeMoveRecord(m);
}

TEST(MoveRecord, SameMoveAndIdentical) {
  MoveRecord queen = Move("e7", "e8", MOVE_PROMOTION | 1);
  MoveRecord knight = Move("e7", "e8", MOVE_PROMOTION | 4);
  EXPECT_FALSE(SameMove(&queen, &knight));
  MoveRecord capture = Move("e4", "d5", MOVE_CAPTURE);
  MoveRecord plain = Move("e4", "d5");
  EXPECT_TRUE(SameMove(&capture, &plain));
  EXPECT_FALSE(MovesIdentical(&capture, &plain));
  EXPECT_TRUE(MovesIdentical(&capture, &capture));
  EXPECT_FALSE(MovesIdentical(&capture, nullptr));
}

TEST(MoveRecord, FindMoveInListReportsAbsence) {
  Board b;
  SetInitialBoard(&b);
  MoveRecord list[kMoveListRoom];
  int n = GenerateLegalMoves(&b, list, nullptr, WHITE);
  MoveRecord e4 = Move("e2", "e4");
  EXPECT_EQ(FindMoveInList(&e4, list, n), 9);
  MoveRecord castle = Move("e1", "g1", MOVE_CASTLE_SHORT);
  EXPECT_EQ(FindMoveInList(&castle, list, n), n);
  MoveRecord bad = Move("e2", "e5");
  EXPECT_EQ(FindMoveInList(&bad, list, n), 0xFFFF);
}

TEST(MoveRecord, ReplayCutsAtTheFirstIllegalMove) {
  Board b;
  SetInitialBoard(&b);
  const Board before = b;
  MoveRecord moves[3] = {Move("e2", "e4"), Move("e7", "e5", MOVE_CAPTURE), Move("e1", "e3")};
  EXPECT_EQ(ReplayMoveList(&b, WHITE, moves, 3), 2);
  EXPECT_EQ(moves[0].flags, 0);
  EXPECT_EQ(moves[1].flags, 0);  // the wrong capture bit is replaced
  EXPECT_EQ(moves[2].flags, MOVE_LIST_END);
  EXPECT_EQ(0, std::memcmp(before.sq, b.sq, 128));

  // Flags come from generation: a check is marked.
  MoveRecord line[4] = {Move("e2", "e4"), Move("f7", "f6"), Move("d1", "h5")};
  EXPECT_EQ(ReplayMoveList(&b, WHITE, line, 3), 3);
  EXPECT_EQ(line[2].flags, MOVE_CHECK);
}

// The 64-byte file image is the same on every build.
TEST(MoveRecord, FileImageLayout) {
  MoveRecord m{};
  m.from = 0x64;
  m.to = 0x44;
  std::strcpy(m.text, "e4");
  m.timeMs = 0x01020304;
  m.hash = 0x7A6B5C4D;
  m.flags = 0x0481;
  m.undoCastling = 15;
  m.undoEnPassant = 255;
  m.captureSquare = 0x44;
  m.capturedPiece = 0;
  m.generated = 0xFFFFFFFF;
  char comment[] = "ignored";
  m.texts[0] = comment;

  uint8_t image[kMoveRecordFileSize];
  PackMoveRecord(&m, image);
  uint8_t expected[kMoveRecordFileSize] = {};
  expected[0] = 0x64;
  expected[1] = 0x44;
  expected[24] = 'e';
  expected[25] = '4';
  const uint8_t tail[] = {0x04, 0x03, 0x02, 0x01, 0x4D, 0x5C, 0x6B, 0x7A, 0x81, 0x04,
                          15,   255,  0x44, 0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF};
  std::memcpy(expected + 44, tail, sizeof tail);
  EXPECT_EQ(0, std::memcmp(image, expected, sizeof expected));

  MoveRecord back;
  std::memset(&back, 0x77, sizeof back);
  UnpackMoveRecord(image, &back);
  EXPECT_EQ(back.texts[0], nullptr);
  m.texts[0] = nullptr;
  EXPECT_EQ(0, std::memcmp(&m, &back, sizeof m));

  // A damaged image without a NUL in the text still reads as a text.
  std::memset(image + 24, 'A', 20);
  UnpackMoveRecord(image, &back);
  EXPECT_EQ(std::strlen(back.text), 19u);
}

}  // namespace
