#include "engine_protocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fake_channel.h"

namespace {

struct Reply {
  bool hasMove = false, hasThinking = false, hasStatus = false;
  MoveCoords move{};
  ThinkingLine thinking{};
  EngineStatus status{};
  std::string line;
  int direction = -1;
};
std::vector<Reply> g_replies;

void Record(EngineSession*, const MoveCoords* move, const ThinkingLine* thinking, const EngineStatus* status,
            const char* line, int direction) {
  Reply r;
  if (move) r.hasMove = true, r.move = *move;
  if (thinking) r.hasThinking = true, r.thinking = *thinking;
  if (status) r.hasStatus = true, r.status = *status;
  r.line = line ? line : "";
  r.direction = direction;
  g_replies.push_back(r);
}

class EngineProtocolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeChannels::Get().Reset();
    FakeChannels::Get().Install();
    g_replies.clear();
  }
  void TearDown() override {
    FakeChannels::Get().Reset();
    SetEngineChannelApi(nullptr);
  }
  EngineSession* Open(int side) {
    EngineDescription d{};
    std::strcpy(d.programPath, "C:\\Rookwell\\Corvane.exe");
    std::strcpy(d.startPath, "C:\\Rookwell\\Corvane.exe");
    std::strcpy(d.commandLine, "-l- -a- -m-");
    d.side = side;
    EngineSession* s = OpenEngineSession(&d, Record);
    g_replies.clear();
    return s;
  }
  // Opened, with "xboard" already taken from what was written.
  EngineSession* OpenQuiet(int side) {
    EngineSession* s = Open(side);
    EXPECT_EQ(Sent(s), "xboard\n");
    return s;
  }
  std::vector<Reply> Received(EngineSession* s, const char* line) {
    g_replies.clear();
    FakeChannels::Feed(s->channel, line);
    return g_replies;
  }
  std::string Sent(EngineSession* s) {
    std::string w = s->channel->written;
    s->channel->written.clear();
    return w;
  }
};

TEST_F(EngineProtocolTest, OpenSendsXboardAndQuitHandsTheSessionToTheReader) {
  EngineSession* s = Open(ENGINE_SIDE_WHITE);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(FakeChannels::Get().paths.back(), "C:\\Rookwell\\Corvane.exe");
  EXPECT_EQ(FakeChannels::Get().commandLines.back(), "-l- -a- -m-");
  EXPECT_EQ(Sent(s), "xboard\n");
  EngineChannel* c = s->channel;
  SendEngineQuit(s);  // the fake's stop ends the channel, which frees the session
  EXPECT_EQ(c->written, "quit\n");
  EXPECT_TRUE(c->stopped);

  FakeChannels::Get().failStart = true;
  EXPECT_EQ(Open(ENGINE_SIDE_WHITE), nullptr);
  EngineDescription d{};
  EXPECT_EQ(OpenEngineSession(nullptr, Record), nullptr);
  EXPECT_EQ(OpenEngineSession(&d, nullptr), nullptr);
}

TEST_F(EngineProtocolTest, MovesAreReadFromTheirReplies) {
  struct Case {
    const char* line;
    int side;
    const char* move;  // from, to, promotion digit; null: no callback at all
  } cases[] = {
      {"\a\amove e2e4", ENGINE_SIDE_WHITE, "e2e40"}, {"move E7E8Q", ENGINE_SIDE_WHITE, "e7e81"},
      {"move e7e8b", ENGINE_SIDE_WHITE, "e7e83"},    {"move e7e8x", ENGINE_SIDE_WHITE, "e7e80"},
      {"move e7e8n", ENGINE_SIDE_WHITE, "e7e84"},    {"move O-O", ENGINE_SIDE_BLACK, "e8g80"},
      {"move o-o", ENGINE_SIDE_WHITE, "e1g10"},      {"move 0-0-0", ENGINE_SIDE_WHITE, "e1c10"},
      {"move O-O-O", ENGINE_SIDE_ADVISOR, "e8c80"},  {"12. ... e7e5", ENGINE_SIDE_BLACK, "e7e50"},
      {"move i2i4", ENGINE_SIDE_WHITE, nullptr},     {"move e9e4", ENGINE_SIDE_WHITE, nullptr},
      {"move e2", ENGINE_SIDE_WHITE, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EngineSession* s = Open(c.side);
    std::vector<Reply> r = Received(s, c.line);
    if (!c.move) {
      EXPECT_TRUE(r.empty());
    } else {
      ASSERT_EQ(r.size(), 1u);
      ASSERT_TRUE(r[0].hasMove);
      const MoveCoords& m = r[0].move;
      char text[6] = {char(m.fromFile), char(m.fromRank),        char(m.toFile),
                      char(m.toRank),   char('0' + m.promotion), 0};
      EXPECT_STREQ(text, c.move);
      EXPECT_EQ(r[0].direction, ENGINE_RECEIVED);
      EXPECT_EQ(r[0].line.find('\a'), std::string::npos);
    }
    SendEngineQuit(s);
  }
}

TEST_F(EngineProtocolTest, ThinkingStatusAndTextLines) {
  EngineSession* s = Open(ENGINE_SIDE_WHITE);
  auto r = Received(s, " 5 +31 120 45000 e2e4 e7e5");
  ASSERT_EQ(r.size(), 1u);
  ASSERT_TRUE(r[0].hasThinking);
  EXPECT_EQ(r[0].thinking.ply, 5);
  EXPECT_EQ(r[0].thinking.score, 31);
  EXPECT_EQ(r[0].thinking.time, 120);
  EXPECT_EQ(r[0].thinking.nodes, 45000);
  EXPECT_STREQ(r[0].thinking.line, "e2e4 e7e5");
  EXPECT_STREQ(r[0].thinking.plyText, "");

  r = Received(s, " 6 -5 10 900 e2e4 e7e5\r");  // CR LF from a text-mode engine
  ASSERT_TRUE(r[0].hasThinking);
  EXPECT_STREQ(r[0].thinking.line, "e2e4 e7e5");

  r = Received(s, "7... -12 300 99000 Nf3");
  ASSERT_TRUE(r[0].hasThinking);
  EXPECT_STREQ(r[0].thinking.plyText, "7...");
  EXPECT_EQ(r[0].thinking.ply, 0);
  EXPECT_EQ(r[0].thinking.score, -12);
  EXPECT_STREQ(r[0].thinking.line, "Nf3");

  r = Received(s, " stat01: 250 88000 6 12 30 e2e4");
  ASSERT_TRUE(r[0].hasStatus);
  EXPECT_EQ(r[0].status.time, 250);
  EXPECT_EQ(r[0].status.nodes, 88000);
  EXPECT_EQ(r[0].status.ply, 6);
  EXPECT_EQ(r[0].status.movesLeft, 12);
  EXPECT_EQ(r[0].status.totalMoves, 30);
  EXPECT_STREQ(r[0].status.move, "e2e4");
  r = Received(s, " stat01: 250 88000 6 12 30");
  ASSERT_TRUE(r[0].hasStatus);
  EXPECT_EQ(r[0].status.totalMoves, 30);
  EXPECT_STREQ(r[0].status.move, "");

  for (const char* text : {"Hint: e2e4", "resign", "offer draw", "Illegal move: e2e5", " 5 31 120 45000",
                           "stat01: 1 2", "move"}) {
    r = Received(s, text);
    ASSERT_EQ(r.size(), 1u) << text;
    EXPECT_FALSE(r[0].hasMove || r[0].hasThinking || r[0].hasStatus) << text;
    EXPECT_EQ(r[0].line, text);
  }
  // The carriage-return copy the engine's monitor writes is no reply.
  EXPECT_TRUE(Received(s, "\rmove e2e4").empty());
  SendEngineQuit(s);
}

TEST_F(EngineProtocolTest, OverlongAndHugeFieldsStayInTheirRecords) {
  EngineSession* s = Open(ENGINE_SIDE_WHITE);
  std::string pv(6000, 'a');
  auto r = Received(s, (" 5 99999999999 1 2 " + pv).c_str());
  ASSERT_TRUE(r[0].hasThinking);
  EXPECT_EQ(r[0].thinking.score, 2147483647);
  EXPECT_EQ(std::strlen(r[0].thinking.line), sizeof r[0].thinking.line - 1);
  r = Received(s, ("12" + std::string(40, '.') + " 1 2 3 x").c_str());
  ASSERT_TRUE(r[0].hasThinking);
  EXPECT_EQ(std::strlen(r[0].thinking.plyText), 7u);
  r = Received(s, (" stat01: 1 2 3 4 5 " + pv).c_str());
  ASSERT_TRUE(r[0].hasStatus);
  EXPECT_EQ(std::strlen(r[0].status.move), sizeof r[0].status.move - 1);
  r = Received(s, ("move " + pv).c_str());
  EXPECT_TRUE(r.empty());
  r = Received(s, (pv + " ... e2e4").c_str());
  ASSERT_TRUE(r[0].hasMove);
  SendEngineQuit(s);
}

TEST_F(EngineProtocolTest, SentTexts) {
  EngineSession* s = OpenQuiet(ENGINE_SIDE_BLACK);
  SendEngineLevel(s, 0, 300, 0);
  EXPECT_EQ(Sent(s), "level 0 5 0\n");
  SendEngineLevel(s, 0, 90, 2);
  EXPECT_EQ(Sent(s), "level 0 1:30 2\n");
  SendEngineLevel(s, 0, 1, 0);
  EXPECT_EQ(Sent(s), "level 0 0:1 0\n");
  MoveCoords promo{'e', '7', 'e', '8', 3};
  SendEngineMove(s, &promo);
  EXPECT_EQ(Sent(s), "e7e8b\n");
  SendEngineMove(s, nullptr);
  SendEngineUndo(s);
  EXPECT_EQ(Sent(s), "undo\n\n");
  SendEngineTime(s, 100, 200);
  EXPECT_EQ(Sent(s), "time 100\notim 200\n");
  SendEngineCommand(s, std::string(62, 'c').c_str());
  EXPECT_EQ(Sent(s).size(), 63u);
  SendEngineCommand(s, std::string(63, 'c').c_str());  // would not fit: refused whole
  EXPECT_EQ(Sent(s), "");

  // Thinking starts only from force mode; each side gets its own clock.
  StartEngineThinking(s, 1000, 2000, 0);
  EXPECT_EQ(Sent(s), "");
  SendEngineForce(s);
  EXPECT_EQ(IsEngineForced(s), 1);
  Sent(s);
  g_replies.clear();
  StartEngineThinking(s, 1000, 2000, 1);
  EXPECT_EQ(Sent(s), "white\ntime 2000\notim 1000\nblack\ngo\n");
  EXPECT_EQ(IsEngineForced(s), 0);
  ASSERT_EQ(g_replies.size(), 4u);  // every sent line is shown to the callback first
  EXPECT_EQ(g_replies[0].direction, ENGINE_SENT);
  SendEngineQuit(s);

  EngineSession* advisor = OpenQuiet(ENGINE_SIDE_ADVISOR);
  SendEngineForce(advisor);
  Sent(advisor);
  StartEngineThinking(advisor, 1000, 2000, 1);
  EXPECT_EQ(Sent(advisor), "white\ntime 2000\notim 1000\nblack\ngo\n");
  SendEngineForce(advisor);
  Sent(advisor);
  StartEngineThinking(advisor, 1000, 2000, 0);
  EXPECT_EQ(Sent(advisor), "white\ntime 1000\notim 2000\nwhite\ngo\n");
  SendEngineQuit(advisor);
}

TEST_F(EngineProtocolTest, AnEngineThatEndsIsReportedOnce) {
  EngineSession* s = Open(ENGINE_SIDE_WHITE);
  FakeChannels::Die(s->channel);
  ASSERT_EQ(g_replies.size(), 1u);
  EXPECT_EQ(g_replies[0].direction, ENGINE_ENDED);
  EXPECT_EQ(s->ended.load(), 1);
  SendEngineQuit(s);
  EXPECT_EQ(g_replies.size(), 2u);  // the quit line only
}

}  // namespace
