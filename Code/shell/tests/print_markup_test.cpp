// The print front end's markup, as the printing library receives it.
#include <gtest/gtest.h>

#include <string>

#include "print_markup.h"

namespace {

TEST(PrintMarkup, TextBecomesParagraphsInTheMoveListFace) {
  EXPECT_EQ(TextAsMarkup("first\r\nsecond"), "\n.f RookwellJade 11\nfirst\n.n l\nsecond");
  EXPECT_EQ(TextAsMarkup("a\n\nb\n"), "\n.f RookwellJade 11\na\n.n l\n\n.n l\nb\n.n l\n");
  EXPECT_EQ(TextAsMarkup(""), "");
}

TEST(PrintMarkup, MoveListHeadsTheGameText) {
  EXPECT_EQ(MoveListMarkup("Rookwell Onyx", "1. e4 e5"),
            "\n.j C\nRookwell Onyx\n.j L\n.t 5 15 10\n1. e4 e5");
  // However long the game text, all of it is there.
  const std::string longText(100000, 'x');
  EXPECT_EQ(MoveListMarkup("T", longText).size(), longText.size() + 24);
}

TEST(PrintMarkup, TextListLines) {
  EXPECT_EQ(TextListStartMarkup(), "\n.f RookwellJade 12\n");
  std::string line(200, 'a');
  line[3] = '\x01';
  line[150] = '\x01';
  const std::string out = TextListLineMarkup(line);
  EXPECT_EQ(out, std::string(126, 'a'));
  EXPECT_EQ(TextListLineMarkup("no\x01line\x01" "feed"), "nolinefeed");
}

TEST(PrintMarkup, DiagramOfTheStartPosition) {
  Board board;
  SetInitialBoard(&board);
  const std::string m = DiagramMarkup(board);
  const std::string head = "\n.f RookwellJade 24\n\n .D B\n";
  ASSERT_EQ(m.compare(0, head.size(), head), 0);
  EXPECT_EQ(static_cast<uint8_t>(m[head.size()]), 167);  // black rook on light a8
  const std::string rank8 = m.substr(head.size(), 8);
  const uint8_t expected8[8] = {167, 152, 158, 175, 179, 185, 151, 168};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(static_cast<uint8_t>(rank8[i]), expected8[i]) << i;
  EXPECT_EQ(m.substr(head.size() + 8, 6), "\n.n l\n");
  // a1: white rook on dark; h1: white rook on light; empty squares.
  EXPECT_EQ(DiagramCharacter(WHITE | ROOK, SquareShade(0, 7)), 166);
  EXPECT_EQ(DiagramCharacter(WHITE | ROOK, SquareShade(7, 7)), 164);
  EXPECT_EQ(DiagramCharacter(0, 0), 143);
  EXPECT_EQ(DiagramCharacter(0, 1), 144);
  EXPECT_EQ(DiagramCharacter(WHITE | PAWN, 1), 255);
  EXPECT_EQ(DiagramCharacter(BLACK | PAWN, 1), 131);
  const std::string tail = "\n.n l\n\n .D E\n";
  EXPECT_EQ(m.compare(m.size() - tail.size(), tail.size(), tail), 0);
  EXPECT_EQ(m.size(), head.size() + 8 * (8 + 6) + 7);
}

TEST(PrintMarkup, PositionTextForPrintersThatAlignVertically) {
  EXPECT_EQ(TextAsMarkup(PositionText("Rookwell Onyx", "White - Black", "8/8/8")),
            "\n.f RookwellJade 11\n                    Rookwell Onyx\n.n l\n\n.n l\n"
            "White - Black\n.n l\n\n.n l\n8/8/8");
}

TEST(PrintMarkup, CertificateValues) {
  EXPECT_EQ(CertificateDate(3, 5, 2001), "3/5/2001");
  EXPECT_EQ(CertificateName(std::string(40, 'n')), std::string(28, 'n'));
  EXPECT_EQ(CertificateName("Ann Example"), "Ann Example");
}

TEST(PrintMarkup, DeviceEntries) {
  DeviceEntry e;
  EXPECT_FALSE(ParseDeviceEntry("", &e));
  ASSERT_TRUE(ParseDeviceEntry("PDF,winspool,CUPS:PDF", &e));
  EXPECT_EQ(e.device, "PDF");
  EXPECT_EQ(e.driver, "winspool");
  EXPECT_EQ(e.port, "CUPS:PDF");
  ASSERT_TRUE(ParseDeviceEntry("Office=winspool.drv,LPT1:", &e));
  EXPECT_EQ(e.device, "Office");
  EXPECT_EQ(DriverWithoutExtension(e.driver), "winspool");
  // A printer name far longer than the old fixed buffers is kept whole.
  const std::string longName(200, 'L');
  ASSERT_TRUE(ParseDeviceEntry(longName + ",winspool,CUPS:x", &e));
  EXPECT_EQ(e.device, longName);
  EXPECT_FALSE(SplitDefaultPrinter("", &e));
  EXPECT_FALSE(SplitDefaultPrinter("PDF,winspool", &e));
  EXPECT_FALSE(SplitDefaultPrinter(",,,", &e));
  EXPECT_TRUE(SplitDefaultPrinter("PDF,winspool,CUPS:PDF", &e));
}

}  // namespace
