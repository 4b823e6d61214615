// The set lists of the chess-set dialog: order, room filter, piece fitting,
// the kept pick and OK's choice.
#include <gtest/gtest.h>

#include "set_choice.h"

namespace {

BoardSetRecord Board_(const char* name, uint32_t kind, uint32_t sizeClass, uint32_t rooms, const char* pieces,
                      int size = 300) {
  BoardSetRecord b{};
  SetRecordName(b.name, name);
  SetRecordName(b.defaultPieceSet, pieces);
  b.kindWord = MakeKindWord(kind, sizeClass);
  b.roomsMask = rooms;
  b.size = size;
  return b;
}

PieceSetRecord Pieces(const char* name, uint32_t kind, uint32_t sizeClass, uint32_t rooms) {
  PieceSetRecord p{};
  SetRecordName(p.name, name);
  p.kindWord = MakeKindWord(kind, sizeClass);
  p.roomsMask = rooms;
  return p;
}

ChessSetCatalogue Catalogue(const std::vector<BoardSetRecord>& boards, const std::vector<PieceSetRecord>& pieces) {
  ChessSetCatalogue cat;
  std::vector<uint8_t> header = EncodeChessSetHeader(int32_t(boards.size()), int32_t(pieces.size()), 0),
                       b = EncodeBoardSets(boards), p = EncodePieceSets(pieces), s;
  EXPECT_TRUE(cat.LoadFromItems(&header, &b, &p, &s));
  return cat;
}

TEST(SetChoice, BoardListOrderAndRooms) {
  ChessSetCatalogue cat = Catalogue(
      {Board_("Flat Small", 1, 1, 0x6, "Fig"), Board_("Persp", 2, 2, 0x6, "P3"), Board_("Flat Large", 1, 4, 0x6, "Fig"),
       Board_("Lobby Only", 1, 2, 0x1, "Fig"), Board_("Regions", 4, 4, 0x4, "R"), Board_("Flat Med", 1, 2, 0x2, "Fig")},
      {Pieces("Fig", 1, 1, 0x6)});
  EXPECT_EQ(BoardListIndexes(cat, 1), (std::vector<int>{1, 2, 5, 0}));
  EXPECT_EQ(BoardListIndexes(cat, 2), (std::vector<int>{4, 1, 2, 0}));
  EXPECT_EQ(BoardListIndexes(cat, 0), (std::vector<int>{3}));
}

TEST(SetChoice, PieceListFitsTheBoard) {
  ChessSetCatalogue cat = Catalogue(
      {Board_("Flat Small", 1, 1, 0x2, "Fig", 200), Board_("Flat Big", 1, 4, 0x2, "Big", 400),
       Board_("Persp", 2, 2, 0x2, "P3")},
      {Pieces("Fig", 1, 1, 0x2), Pieces("Mid", 1, 2, 0x2), Pieces("P3", 2, 2, 0x2), Pieces("Big", 1, 4, 0x2),
       Pieces("Other room", 1, 1, 0x4)});
  CustomBoardView custom;
  ChoiceBoard small = BoardForLine(cat, "Flat Small", false, custom);
  EXPECT_EQ(PieceListIndexes(cat, 1, small), (std::vector<int>{0}));
  ChoiceBoard big = BoardForLine(cat, "Flat Big", false, custom);
  EXPECT_EQ(PieceListIndexes(cat, 1, big), (std::vector<int>{0, 1, 3}));  // medium flat sets on 310 and more
  ChoiceBoard persp = BoardForLine(cat, "Persp", false, custom);
  EXPECT_EQ(PieceListIndexes(cat, 1, persp), (std::vector<int>{0, 2}));
  custom.tilt = 300, custom.size = 400;
  ChoiceBoard customBoard = BoardForLine(cat, "", true, custom);
  EXPECT_TRUE(customBoard.defaultPieceSet.empty());
  EXPECT_EQ(PieceListIndexes(cat, 1, customBoard), (std::vector<int>{0, 2}));
}

TEST(SetChoice, AtMost56PieceLines) {
  std::vector<PieceSetRecord> many;
  for (int i = 0; i < 70; ++i) many.push_back(Pieces(("Set " + std::to_string(i)).c_str(), 1, 1, 0x2));
  ChessSetCatalogue cat = Catalogue({Board_("Flat", 1, 1, 0x2, "Set 0")}, many);
  CustomBoardView custom;
  EXPECT_EQ(PieceListIndexes(cat, 1, BoardForLine(cat, "Flat", false, custom)).size(), 56u);
}

TEST(SetChoice, SelectionAndOk) {
  ChessSetCatalogue cat = Catalogue(
      {Board_("Flat", 1, 1, 0x2, "Fig"), Board_("Regions", 4, 4, 0x2, "Fig")},
      {Pieces("Fig", 1, 1, 0x2), Pieces("Alt", 1, 1, 0x2), Pieces("Fig", 4, 4, 0x2)});
  std::vector<int> lines{0, 1};
  bool picked = false;
  EXPECT_EQ(SelectPieceLine(cat, lines, "Alt", &picked, "Fig"), 0);  // not picked: the default
  picked = true;
  EXPECT_EQ(SelectPieceLine(cat, lines, "Alt", &picked, "Fig"), 1);  // the user's pick is kept
  EXPECT_TRUE(picked);
  EXPECT_EQ(SelectPieceLine(cat, {0}, "Alt", &picked, "Fig"), 0);  // no longer listed
  EXPECT_FALSE(picked);
  EXPECT_EQ(SelectPieceLine(cat, {1}, "", &picked, "None"), 0);

  CustomBoardView custom;
  EXPECT_EQ(ChooseBoardIndex(cat, "Regions", false), 1);
  EXPECT_EQ(ChooseBoardIndex(cat, "Flat", true), kCustomBoardIndex);
  ChoiceBoard regions = BoardForLine(cat, "Regions", false, custom);
  EXPECT_EQ(ChoosePieceIndex(cat, "Fig", regions, 7), 2);  // the variant of the board's kind
  ChoiceBoard flat = BoardForLine(cat, "Flat", false, custom);
  EXPECT_EQ(ChoosePieceIndex(cat, "Fig", flat, 7), 0);
  EXPECT_EQ(ChoosePieceIndex(cat, "Missing", flat, 7), 7);

  EXPECT_FALSE(SetsChange(1, 2, 1, 2));
  EXPECT_TRUE(SetsChange(1, 2, 1, 0));
  EXPECT_TRUE(SetsChange(kCustomBoardIndex, 2, kCustomBoardIndex, 2));
}

}  // namespace

#include "customize_steps.h"

namespace {

TEST(Customize, StepsStayInTheirRanges) {
  BoardSetRecord g{};
  g.turn = 0, g.tilt = 300, g.vanishing = 365, g.size = 400;
  CustomizeRanges r;
  BeginCustomizeRanges(&r, g, 768);
  ASSERT_TRUE(CustomizeStepValue(&r, BTN_ROTATE_LEFT, 1, &g));
  EXPECT_EQ(g.turn, 359);  // wraps through 360
  g.turn = 360;
  BeginCustomizeRanges(&r, g, 768);
  CustomizeStepValue(&r, BTN_ROTATE_RIGHT, 1, &g);
  EXPECT_EQ(g.turn, 1);
  CustomizeStepValue(&r, BTN_ROTATE_DOWN, 500, &g);
  EXPECT_EQ(g.tilt, 360);
  CustomizeStepValue(&r, BTN_ROTATE_UP, 500, &g);
  EXPECT_EQ(g.tilt, 285);
  CustomizeStepValue(&r, BTN_DEPTH_OUT, 500, &g);
  EXPECT_EQ(g.vanishing, 600);
  CustomizeStepValue(&r, BTN_DEPTH_IN, 1, &g);
  EXPECT_EQ(g.vanishing, 595);
  CustomizeStepValue(&r, BTN_DEPTH_IN, 500, &g);
  EXPECT_EQ(g.vanishing, 100);
  CustomizeStepValue(&r, BTN_ZOOM_OUT, 500, &g);
  EXPECT_EQ(g.size, 154);
  CustomizeStepValue(&r, BTN_ZOOM_IN, 500, &g);
  EXPECT_EQ(g.size, 768);
  EXPECT_FALSE(CustomizeStepValue(&r, 1, 1, &g));
}

TEST(Customize, DragSteps) {
  std::vector<CustomizeStepRequest> s = CustomizeDragSteps(1, 0, KEY_CONTROL);
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0].button, BTN_ROTATE_RIGHT);
  EXPECT_EQ(s[0].amount, 1);  // a 1-pixel drag steps once
  s = CustomizeDragSteps(-6, 3, KEY_CONTROL);
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].button, BTN_ROTATE_LEFT);
  EXPECT_EQ(s[0].amount, 3);
  EXPECT_EQ(s[1].button, BTN_ROTATE_DOWN);
  EXPECT_EQ(s[1].amount, 2);
  s = CustomizeDragSteps(2, -9, KEY_SHIFT);
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0].button, BTN_DEPTH_OUT);
  EXPECT_EQ(s[0].amount, 5);
  s = CustomizeDragSteps(4, 1, KEY_ALT);
  EXPECT_EQ(s[0].button, BTN_ZOOM_IN);
  EXPECT_TRUE(CustomizeDragSteps(4, 1, 0).empty());
}

}  // namespace
