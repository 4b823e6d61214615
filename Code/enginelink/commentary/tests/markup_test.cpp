#include "markup.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

TEST(Markup, EmittersWriteOneGroupEach) {
  std::string out = "old";
  EmitHighlightFile(4, 0, 2, 0, &out);
  EXPECT_EQ(out, "{H:e8e7e6}");
  EmitGlyph(32 | 4, 0x22, 0, &out);  // black knight c6
  EXPECT_EQ(out, "{G:BNc6}");
  EmitGlyph(16 | 1, 0x73, 0, &out);
  EXPECT_EQ(out, "{G:WQd1}");
  EmitArrow(0x74, 0x34, 'W', 0, &out);
  EXPECT_EQ(out, "{A:We1e5}");
  EmitSlide(0x74, 0x76, &out);
  EXPECT_EQ(out, "{S:e1g1}");
  EmitPutPiece(32 | 5, 0x10, &out);
  EXPECT_EQ(out, "{P:BPa7}");
  EmitRemoveGlyph(0x77, &out);
  EXPECT_EQ(out, "{O:h1}");
  EmitRemoveGlyph(-1, &out);
  EXPECT_EQ(out, "{O}");
  EmitDelay(250, &out);
  EXPECT_EQ(out, "{D:250}");
  EmitVoiceDelay(200, &out);
  EXPECT_EQ(out, "{W:Delay200}");
  EmitHighlightText("a3b4c5", 0, &out);
  EXPECT_EQ(out, "{H:a3b4c5}");
}

TEST(Markup, ClearCodesFollowTheDirtyGroups) {
  ResetMarkupDirty();
  std::string out;
  EmitHighlightSquare(0x44, 0, &out);
  EmitClearCodes(1, &out);
  EXPECT_EQ(out, "") << "groups written with dirty 0 stay on the board";

  EmitHighlightSquare(0x44, 1, &out);
  EmitArrow(0x74, 0x44, 'W', 1, &out);
  EmitClearCodes(0, &out);
  EXPECT_EQ(out, "{C}{R}");
  EmitGlyph(16, 0x74, 1, &out);
  EmitClearCodes(1, &out);
  EXPECT_EQ(out, "{C}{O}{R}");
  EmitClearCodes(1, &out);
  EXPECT_EQ(out, "") << "reset clears the flags";
}

TEST(Markup, DirtyFlagsBelongToEachThread) {
  ResetMarkupDirty();
  std::string out;
  EmitArrow(0x74, 0x44, 'W', 1, &out);
  std::string other;
  std::thread worker([&other] {
    std::string group;
    EmitClearCodes(1, &other);
  });
  worker.join();
  EXPECT_EQ(other, "");
  EmitClearCodes(1, &out);
  EXPECT_EQ(out, "{R}");
}

TEST(Markup, ReadersStripExtractAndFindTheVoiceTag) {
  const std::string text = "One {S:e2e4}two {A:{nested}We1e5}three";
  EXPECT_EQ(StripMarkupGroups(text), "One two three");
  EXPECT_EQ(ExtractMarkupGroups(text), "{S:e2e4}{A:{nested}We1e5}");
  EXPECT_EQ(MarkupVoiceTag("Look {G:WNf3}{wclip_12} here {W:second}"), "clip_12");
  EXPECT_EQ(MarkupVoiceTag("{W:first}{W:second}"), "first");
  EXPECT_EQ(MarkupVoiceTag("no tag {H:e4}"), "");
}

}  // namespace
