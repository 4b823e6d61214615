#include "game_text_read.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files_test_support.h"

namespace {

struct Lines {
  std::vector<std::string> lines;
  size_t next = 0;
};

bool NextLine(void* context, char* buffer) {
  auto* l = static_cast<Lines*>(context);
  if (l->next >= l->lines.size()) return false;
  std::snprintf(buffer, kGameTextLineSize, "%s", l->lines[l->next++].c_str());
  return true;
}

struct Collected {
  std::vector<std::string> comments;
  int moves = 0;
};
void OnComment(void* context, const char* text, int) {
  static_cast<Collected*>(context)->comments.push_back(text);
}
void OnMove(void* context, const MoveRecord*, int) { ++static_cast<Collected*>(context)->moves; }

struct ReadRun {
  int end = 0;
  GameTextInfo info{};
  GameTextReader::Error error;
  Collected collected;
};

ReadRun ReadOne(GameTextReader* reader, Lines* lines, const GameTextOptions& options, bool first = true) {
  ReadRun r;
  r.end = reader->ReadGame(STYLE_ALGEBRAIC, &r.info, options, first, &NextLine, lines, &OnComment, &OnMove,
                           &r.collected, &r.error);
  return r;
}

TEST(GameTextRead, HeadersInSeveralLanguages) {
  GameTextReader reader;
  Lines lines{
      {"blancs : Anna Berg", "noirs : Ben", "1 e4 e5", "2 Nf3 resigns", "", "WHITE: Carl", "1. d4 d5"}};
  ReadRun r = ReadOne(&reader, &lines, GameTextOptions{});
  EXPECT_EQ(r.error.code, 0) << r.error.line;
  EXPECT_EQ(r.end, 0);
  EXPECT_STREQ(r.info.white, "Anna Berg");
  EXPECT_STREQ(r.info.black, "Ben");
  EXPECT_EQ(r.info.result, 32);  // resigns after white's third ply
  EXPECT_EQ(r.collected.moves, 3);
  EXPECT_STREQ(r.info.title, "Anna Berg vs Ben");
  ReadRun next = ReadOne(&reader, &lines, GameTextOptions{}, false);
  EXPECT_EQ(next.end, 1);
  EXPECT_STREQ(next.info.white, "Carl");
  EXPECT_EQ(next.collected.moves, 2);
}

TEST(GameTextRead, CommentsAndPgnTags) {
  GameTextReader reader;
  Lines lines{{"[Event \"Open\"]", "[White \"A\"]", "[Black \"B\"]", "",
               "1. e4 (king pawn (the best)) e5 {reply} 2. Nf3! $1 ; to the end", "2... Nc6 1/2-1/2"}};
  ReadRun r = ReadOne(&reader, &lines, GameTextOptions{});
  EXPECT_EQ(r.error.code, 0) << r.error.line << " col " << r.error.column;
  EXPECT_STREQ(r.info.event, "Open");
  EXPECT_STREQ(r.info.white, "A");
  EXPECT_EQ(r.info.result, 0);
  EXPECT_EQ(r.collected.moves, 4);
  bool nested = false;
  for (const std::string& c : r.collected.comments)
    nested |= c.find("king pawn (the best)") != std::string::npos;
  EXPECT_TRUE(nested);
}

TEST(GameTextRead, ErrorsAndLenience) {
  struct Case {
    const char* line;
    int code, column;
  } cases[] = {
      {"1. e4 @ e5", 0, 0},  // "@" opens a comment to the end of the line
      {"1. e4 e5 3. Nf3", GAME_TEXT_MOVE_NUMBER, 10},
      {"1. e4 e5 2. Ke3", GAME_TEXT_ILLEGAL_MOVE, 13},
      {"1. e4 e5 2. Nf3 %", GAME_TEXT_BAD_CHARACTER, 17},
      {"1. e4 + e5", GAME_TEXT_PUNCTUATION, 7},
  };
  for (const Case& c : cases) {
    GameTextReader reader;
    Lines lines{{c.line}};
    ReadRun r = ReadOne(&reader, &lines, GameTextOptions{});
    EXPECT_EQ(r.error.code, c.code) << c.line;
    EXPECT_EQ(r.error.column, c.column) << c.line;
    GameTextOptions lenient;
    lenient.lenient = true;
    GameTextReader again;
    Lines same{{c.line}};
    EXPECT_EQ(ReadOne(&again, &same, lenient).error.code, 0) << c.line;
  }
}

TEST(GameTextRead, ColumnsAndPlaceholders) {
  GameTextOptions columns;
  columns.columns = true;
  GameTextReader reader;
  Lines lines{{"Title: Practice", "", "1. e4     e5                       good start", "2. Nf3    Nc6"}};
  ReadRun r = ReadOne(&reader, &lines, columns);
  EXPECT_EQ(r.error.code, 0) << r.error.line;
  EXPECT_EQ(r.collected.moves, 4);
  EXPECT_STREQ(r.info.title, "Practice");

  GameTextOptions marks;
  marks.placeholders = true;
  GameTextReader counting;
  Lines dashes{{"1. - - 2. - -"}};
  ReadRun m = ReadOne(&counting, &dashes, marks);
  EXPECT_EQ(m.error.code, 0);
  EXPECT_EQ(counting.Moves().size(), 4u);
}

TEST(GameTextRead, ResultWordsAndStartLines) {
  EXPECT_EQ(ParseGameTextResult("resigns", 1), 32);
  EXPECT_EQ(ParseGameTextResult("Resigned", 2), 16);
  EXPECT_EQ(ParseGameTextResult("drawn", 5), 0);
  EXPECT_EQ(ParseGameTextResult("1-0 (time)", 5), 16);
  EXPECT_EQ(ParseGameTextResult("maybe", 5), -1);
  EXPECT_TRUE(IsGameStartLine("  1. e4", false, false));
  EXPECT_FALSE(IsGameStartLine("  1. e4", true, false));
  EXPECT_TRUE(IsGameStartLine("[Event \"x\"]", false, true));
  EXPECT_FALSE(IsGameStartLine("[Black \"x\"]", false, true));
  EXPECT_TRUE(IsGameStartLine("Wei\xdf: Karl", false, false));
}

}  // namespace
