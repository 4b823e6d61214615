#include "engine_player.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "advisor_requests.h"
#include "chess_clock.h"
#include "fake_channel.h"
#include "game_end.h"
#include "game_registry.h"
#include "notation.h"

// The game room's personality record is opaque here; tests hand out tokens.
struct PersonalityRecord {
  int token;
};

namespace {

struct TestLinkHost : EngineLinkHost {
  EnginePersonality personality{};
  int dbgwnd = 0;
  std::vector<std::string> debug;
  std::vector<std::pair<int, int>> shown;
  std::vector<std::pair<uint32_t, uintptr_t>> posted;
  std::vector<int> ended;
  bool book = false;
  int bookPlies = 0;
  TestLinkHost() {
    std::strcpy(personality.name, "Rookwell");
    personality.strength = 100;
    int values[5] = {100, 300, 300, 500, 900};
    for (int w = 0; w < 2; ++w)
      for (int i = 0; i < 5; ++i) personality.values[w][i] = values[i];
    for (int& w : personality.weights) w = 100;
    personality.hashBytes = 1 << 20;
    SetEngineLinkHost(this);
  }
  ~TestLinkHost() override { SetEngineLinkHost(nullptr); }
  bool GetPersonality(const PlayerRecord*, EnginePersonality* out) override {
    *out = personality;
    return true;
  }
  int ReadSettingInt(const char* section, const char* key, int fallback) override {
    if (!std::strcmp(section, "debug") && !std::strcmp(key, "dbgwnd_show")) return dbgwnd;
    return fallback;
  }
  const char* ProgramFolder() override { return "C:\\Rookwell"; }
  void WriteDebugWindow(int window, const char* text) override {
    debug.push_back(std::to_string(window) + text);
  }
  void ShowDebugWindow(int window, bool show, int command) override {
    shown.push_back({window, show ? command : 0});
  }
  void PostToNumberedWindows(uint32_t message, uintptr_t w, intptr_t) override {
    posted.push_back({message, w});
  }
  void EngineEnded(GameRecord*, int side) override { ended.push_back(side); }
  bool LookupBookPosition(const MoveRecord*, int count) override { return book && count <= bookPlies; }
};

struct TestGameHost : EnginePlayerGameHost {
  PersonalityRecord token{1};
  std::vector<std::string> status, questions;
  int answer = kAnswerNo;
  TestGameHost() { SetGameHost(this); }
  ~TestGameHost() override { SetGameHost(nullptr); }
  PersonalityRecord* ReadPersonality(PlayerRecord*, PersonalityRecord*) override { return &token; }
  void SetStatusText(const char* text) override { status.push_back(text); }
  int AskYesNo(const char* q) override {
    questions.push_back(q);
    return answer;
  }
};

PlayerDescriptor Player(const char* name, uint32_t kind, uint32_t slot, uint32_t baseMs, uint32_t inc) {
  PlayerDescriptor d{};
  std::snprintf(d.name, sizeof d.name, "%s", name);
  d.kind = kind;
  d.slot = slot;
  d.timeControl = TIME_INCREMENT;
  d.baseMs = baseMs;
  d.periodOrIncrement = inc;
  return d;
}

class EnginePlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeChannels::Get().Reset();
    FakeChannels::Get().Install();
    SetRoomReplyQueue(&queue);
    InitGameRegistry();
  }
  void TearDown() override {
    for (GameRecord* g : games) {
      StopGame(g);
      UnregisterGame(&g->id);
      DestroyGame(g);
    }
    queue.Drain();
    SetRoomReplyQueue(nullptr);
    FakeChannels::Get().Reset();
    SetEngineChannelApi(nullptr);
  }
  GameRecord* NewGame(uint32_t whiteKind, uint32_t blackKind, uint32_t baseMs = 300000, uint32_t inc = 0,
                      const Board* start = nullptr, int side = WHITE) {
    PlayerDescriptor w = Player("Rookwell", whiteKind, SLOT_WHITE, baseMs, inc);
    PlayerDescriptor b = Player("Rookwell", blackKind, SLOT_BLACK, baseMs, inc);
    Board initial;
    SetInitialBoard(&initial);
    GameRecord* g =
        CreateGame(GAME_ORDINARY, nullptr, &w, &b, nullptr, start ? start : &initial, nullptr, side, 1, 0);
    RegisterGame(g, 0);
    SetCurrentGame(g);
    games.push_back(g);
    return g;
  }
  static std::string Written(PlayerRecord* p) {
    std::string w = p->session->channel->written;
    p->session->channel->written.clear();
    return w;
  }
  static void Engine(PlayerRecord* p, const char* line) { FakeChannels::Feed(p->session->channel, line); }
  bool Play(GameRecord* g, const char* san) {
    MoveRecord m{};
    if (!ParseAlgebraicMove(&m, san, &g->position, g->sideToMove)) return false;
    return PlayMove(g, &m, false) == 0;
  }

  TestLinkHost link;
  TestGameHost host;
  LockedRoomReplyQueue queue;
  std::vector<GameRecord*> games;
};

TEST_F(EnginePlayerTest, StartSendsTheCommandLineLevelAndParameters) {
  GameRecord* g = NewGame(PLAYER_ENGINE, PLAYER_HUMAN, 300000, 0);
  StartGame(g);
  ASSERT_NE(g->white.session, nullptr);
  EXPECT_EQ(FakeChannels::Get().paths.back(), "C:\\Rookwell\\Corvane.exe");
  EXPECT_EQ(FakeChannels::Get().commandLines.back(), "-l- -a- -m-");
  std::string w = Written(&g->white);
  EXPECT_EQ(w.find("xboard\npost\nnew\nlevel 0 5 0\nrw_parm default\n"), 0u) << w;
  EXPECT_NE(w.find("\nforce\n"), std::string::npos);
  EXPECT_TRUE(link.debug.empty());  // the debug window is off: nothing echoed
  // White to move from force mode: the engine is started on its clock.
  EXPECT_NE(w.find("white\ntime 30000\notim 30000\nwhite\ngo\n"), std::string::npos) << w;

  GameRecord* g2 = NewGame(PLAYER_HUMAN, PLAYER_ENGINE, 90000, 2000);
  StartGame(g2);
  EXPECT_NE(Written(&g2->black).find("level 0 1:30 2\n"), std::string::npos);
}

TEST_F(EnginePlayerTest, PersonalityParametersAreScaledAndClamped) {
  struct Case {
    int strength, knight, cfd, hash;
    std::vector<std::string> expected;
  } cases[] = {
      {50, 300, 5000, 100, {"myn=750 ", "cfd=4000 ", "tts=4096 "}},
      {50, 300, -6000, 1 << 20, {"opn=750 ", "cfd=-4000 ", "tts=1048576 "}},
      {100, 300, 0, 4096, {"myp=600 ", "myn=600 ", "cc=300 "}},  // s = 125, t = 25
      // Strengths that make the factor or 150 - s zero are held off zero.
      {-150, 300, 0, 0, {"myn=75000 "}},
      {151, 300, 0, 0, {"cc=7500 "}},
  };
  for (const Case& c : cases) {
    link.personality.strength = c.strength;
    link.personality.values[1][1] = link.personality.values[0][1] = c.knight;
    link.personality.cfd = c.cfd;
    link.personality.hashBytes = c.hash;
    GameRecord* g = NewGame(PLAYER_ENGINE, PLAYER_HUMAN);
    StartGame(g);
    std::string w = Written(&g->white);
    std::replace(w.begin(), w.end(), '\n', ' ');
    for (const std::string& e : c.expected)
      EXPECT_NE(w.find(e), std::string::npos) << c.strength << ": " << e << " in " << w;
    StopGame(g);
  }
}

TEST_F(EnginePlayerTest, DebugWindowEchoesBothDirections) {
  link.dbgwnd = 1;
  GameRecord* g = NewGame(PLAYER_HUMAN, PLAYER_ENGINE);
  StartGame(g);
  EXPECT_EQ(FakeChannels::Get().commandLines.back(), "-l- -a- -m");
  ASSERT_GE(link.debug.size(), 3u);
  EXPECT_EQ(link.debug[0], "24<<xboard\n\n");
  EXPECT_NE(link.debug[1].find("Attaching Rookwell Personality"), std::string::npos);
  ASSERT_EQ(link.shown.size(), 1u);
  EXPECT_EQ(link.shown[0], std::make_pair(24, 40066));
  Engine(&g->black, "Illegal move: e2e5");
  EXPECT_EQ(link.debug.back(), "24>>Illegal move: e2e5\n");
  queue.Drain();  // sent lines never reach the queue; the text is ignored
}

TEST_F(EnginePlayerTest, EngineMovesArePlayedOnlyWhenStillLegal) {
  GameRecord* g = NewGame(PLAYER_HUMAN, PLAYER_ENGINE);
  StartGame(g);
  ASSERT_TRUE(Play(g, "e4"));
  std::string w = Written(&g->black);
  EXPECT_NE(w.find("time 29700\notim 30000\ne2e4\n"), std::string::npos) << w;
  Engine(&g->black, "move d7d5");
  EXPECT_EQ(GetCurrentPly(g), 1);  // nothing changes before the user-interface thread runs
  EXPECT_EQ(queue.Drain(), 1);
  EXPECT_EQ(GetCurrentPly(g), 2);

  // The user takes back while the engine thinks on exd5: its recapture is
  // no longer legal and is dropped.
  ASSERT_TRUE(Play(g, "exd5"));
  TakeBackMove(g);
  TakeBackMove(g);
  ASSERT_EQ(GetCurrentPly(g), 1);
  Engine(&g->black, "move d8d5");
  queue.Drain();
  EXPECT_EQ(GetCurrentPly(g), 1);
  // A move from the side not to move is dropped even when it is legal there.
  TakeBackMove(g);
  Engine(&g->black, "move e7e5");
  queue.Drain();
  EXPECT_EQ(GetCurrentPly(g), 0);
}

TEST_F(EnginePlayerTest, TextsAreMatchedAsWholeReplies) {
  GameRecord* g = NewGame(PLAYER_HUMAN, PLAYER_ENGINE);
  StartGame(g);
  Engine(&g->black, "I will not resign");
  Engine(&g->black, "\rresign");  // a monitor copy
  queue.Drain();
  EXPECT_EQ(g->result, 0u);
  Engine(&g->black, "offer draw");
  queue.Drain();
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(host.questions[0], "Rookwell offers you a draw, accept?");
  EXPECT_EQ(g->result, 0u);
  Engine(&g->black, "resign");
  queue.Drain();
  EXPECT_EQ(g->result, static_cast<uint32_t>(RESULT_BLACK_RESIGNED));
  Engine(&g->black, "offer draw");  // the game is over: nothing asked
  queue.Drain();
  EXPECT_EQ(host.questions.size(), 1u);
}

TEST_F(EnginePlayerTest, ThinkingIsStoredFromWhitesView) {
  GameRecord* g = NewGame(PLAYER_HUMAN, PLAYER_ENGINE);
  StartGame(g);
  Engine(&g->black, " 5 +31 120 45000 e7e5 Nf3");
  Engine(&g->black, " stat01: 250 88000 6 12 30 e7e5");
  queue.Drain();
  const auto* t = reinterpret_cast<const ThinkingLine*>(g->black.thinking);
  EXPECT_EQ(t->ply, 5);
  EXPECT_EQ(t->score, -31);
  EXPECT_STREQ(t->line, "e7e5 Nf3");
  const auto* s = reinterpret_cast<const EngineStatus*>(g->black.statistics);
  EXPECT_EQ(s->nodes, 88000);
  EXPECT_STREQ(s->move, "e7e5");
}

TEST_F(EnginePlayerTest, BlackFirstSendsA2a3AndThePosition) {
  Board start;
  SetInitialBoard(&start);
  GameRecord* g = NewGame(PLAYER_ENGINE, PLAYER_HUMAN, 300000, 0, &start, BLACK);
  StartGame(g);
  std::string w = Written(&g->white);
  size_t force = w.find("force\na2a3\nedit\n#\nc\nRa8\n");
  ASSERT_NE(force, std::string::npos) << w;
  EXPECT_NE(w.find("Ph7\nc\nPa2\n"), std::string::npos);
  EXPECT_NE(w.find("Ke1\nBf1\nNg1\nRh1\n.\n"), std::string::npos) << w;
}

TEST_F(EnginePlayerTest, StoppingAGameDropsItsQueuedReplies) {
  GameRecord* g = NewGame(PLAYER_ENGINE, PLAYER_HUMAN);
  GameRecord* other = NewGame(PLAYER_HUMAN, PLAYER_ENGINE);
  StartGame(g);
  StartGame(other);
  Engine(&g->white, "move e2e4");
  Engine(&other->black, "Illegal move: x");
  StopGame(g);
  EXPECT_EQ(queue.Size(), 1u);  // the other game's reply stays
  EXPECT_EQ(queue.Drain(), 1);
  EXPECT_EQ(GetCurrentPly(g), 0);
}

TEST_F(EnginePlayerTest, ADeadEngineIsReported) {
  GameRecord* g = NewGame(PLAYER_HUMAN, PLAYER_ENGINE);
  StartGame(g);
  FakeChannels::Die(g->black.session->channel);
  queue.Drain();
  EXPECT_EQ(link.ended, std::vector<int>{ENGINE_SIDE_BLACK});
}

TEST_F(EnginePlayerTest, HintAndAdviceRequests) {
  GameRecord* g = NewGame(PLAYER_ENGINE, PLAYER_HUMAN);
  StartGame(g);
  EXPECT_EQ(RequestEngineHint(g), 0);
  EXPECT_EQ(host.status, std::vector<std::string>{"It's not your turn."});
  EXPECT_EQ(g->third.session, nullptr);

  GameRecord* h = NewGame(PLAYER_HUMAN, PLAYER_ENGINE);
  StartGame(h);
  ASSERT_EQ(RequestAdvice(h, 30, true), 1);
  ASSERT_NE(h->third.session, nullptr);
  std::string w = Written(&h->third);
  EXPECT_NE(w.find("level 0 0:20 0\nwhite\ntime 120000\notim 120000\nwhite\ngo\n"), std::string::npos) << w;
  EXPECT_EQ(RequestEngineHint(h), 0);  // advice holds the advisor
  // The user moves before the advice arrives: it fails and stores nothing.
  ASSERT_TRUE(Play(h, "e4"));
  Engine(&h->third, " 3 20 10 100 e2e4 e7e5");
  Engine(&h->third, "move e2e4");
  queue.Drain();
  ASSERT_FALSE(link.posted.empty());
  EXPECT_EQ(link.posted.back(), std::make_pair(kMsgAdviceState, uintptr_t{3}));
  EXPECT_EQ(h->third.session, nullptr);  // released and quit
  EXPECT_EQ(GetAdvisorRequests(h).flags, 0u);
}

TEST_F(EnginePlayerTest, AHintBorrowsTheAdvisorFromAnalysisMode) {
  GameRecord* g = NewGame(PLAYER_HUMAN, PLAYER_ENGINE);
  StartGame(g);
  ASSERT_EQ(StartEngineAnalysis(g), 1);
  EXPECT_NE(Written(&g->third).find("\nanalyze\n"), std::string::npos);
  ASSERT_EQ(RequestEngineHint(g), 1);
  std::string w = Written(&g->third);
  EXPECT_EQ(w.find("exit\n"), 0u) << w;
  EXPECT_NE(w.find("level 0 0:1 0\nwhite\ntime 1\notim 1\nwhite\ngo\n"), std::string::npos) << w;
  EXPECT_EQ(SolveForMate(g, nullptr), 0);  // one request at a time besides analysis
  host.answer = kAnswerYes;
  Engine(&g->third, "move e2e4");
  queue.Drain();
  EXPECT_EQ(host.questions, std::vector<std::string>{"Hint: e4, make the move?"});
  EXPECT_EQ(GetCurrentPly(g), 1);
  EXPECT_EQ(GetAdvisorRequests(g).flags, static_cast<uint32_t>(ADVISOR_ANALYSIS_MODE));
  w = Written(&g->third);
  EXPECT_NE(w.find("\nforce\n"), std::string::npos) << w;
  EXPECT_EQ(w.substr(w.size() - 8), "analyze\n") << w;
  EXPECT_EQ(StopEngineAnalysis(g), 1);
  EXPECT_EQ(g->third.session, nullptr);
}

// The mate search stops the game and gives it back once: a second cancel,
// or one after the engine's own end, leaves a clock the caller paused alone.
TEST_F(EnginePlayerTest, EndingAMateSearchRestartsTheGameOnce) {
  GameRecord* g = NewGame(PLAYER_HUMAN, PLAYER_HUMAN);
  StartGame(g);
  ASSERT_TRUE(Play(g, "e4"));
  ResumeClock(g);
  ASSERT_EQ(SolveForMate(g, nullptr), 1);
  EXPECT_TRUE(IsClockPaused(g));
  EXPECT_NE(Written(&g->third).find("rw_solve"), std::string::npos);
  EXPECT_EQ(CancelSolveForMate(g), 1);
  EXPECT_FALSE(IsClockPaused(g)) << "the game goes on";
  PauseClock(g);  // as a window still open over the game keeps it
  EXPECT_EQ(CancelSolveForMate(g), 0);
  EXPECT_TRUE(IsClockPaused(g));
  EXPECT_EQ(GetAdvisorRequests(g).flags, 0u);

  // The engine's own end releases the search; a cancel after it changes nothing.
  ASSERT_EQ(SolveForMate(g, nullptr), 1);
  Engine(&g->third, " 3 9997 10 100 Nf3 Nc6 Bb5");
  Engine(&g->third, "rw_solve");
  queue.Drain();
  EXPECT_EQ(GetAdvisorRequests(g).flags, 0u);
  EXPECT_FALSE(IsClockPaused(g));
  PauseClock(g);
  EXPECT_EQ(CancelSolveForMate(g), 0);
  EXPECT_TRUE(IsClockPaused(g));
}

TEST_F(EnginePlayerTest, GameAnalysisMarksBookPlies) {
  link.book = true;
  link.bookPlies = 2;
  GameRecord* g = NewGame(PLAYER_HUMAN, PLAYER_HUMAN);
  StartGame(g);
  for (const char* m : {"e4", "e5", "Nf3", "Nc6"}) ASSERT_TRUE(Play(g, m));
  ASSERT_EQ(StartGameAnalysis(g, 3, nullptr), 1);
  EXPECT_EQ(GameAnalysisPlyLength(g, 0), -1);
  EXPECT_EQ(GameAnalysisPlyLength(g, 1), -1);
  EXPECT_EQ(GameAnalysisPlyLength(g, 2), 0);
  EXPECT_EQ(GetCurrentPly(g), 2);  // the game stands on the first analysed ply
  std::string w = Written(&g->third);
  EXPECT_NE(w.find("e2e4\ne7e5\nlevel 0 0:2 0\neasy\nwhite\ntime 12000\notim 12000\nwhite\ngo\n"),
            std::string::npos)
      << w;
  StopGameAnalysis(g);
  EXPECT_EQ(GetCurrentPly(g), 4);
  EXPECT_EQ(g->third.session, nullptr);
}

}  // namespace

// An outside engine personality starts its own program with its own command
// line and is told only the protocol's commands: no "rw_parm" line, which a
// foreign engine would not understand.
TEST_F(EnginePlayerTest, AnOutsideEngineGetsItsProgramAndNoParameters) {
  link.personality.engineKind = kOutsideEngineKind;
  std::snprintf(link.personality.enginePath, sizeof link.personality.enginePath, "%s", "C:\\Engines\\fmax.exe");
  std::snprintf(link.personality.commandLine, sizeof link.personality.commandLine, "%s", "-x");
  GameRecord* g = NewGame(PLAYER_HUMAN, PLAYER_ENGINE, 300000, 0);
  StartGame(g);
  ASSERT_NE(g->black.session, nullptr);
  EXPECT_EQ(FakeChannels::Get().paths.back(), "C:\\Engines\\fmax.exe");
  EXPECT_EQ(FakeChannels::Get().commandLines.back(), "-x");
  ASSERT_TRUE(Play(g, "e4"));
  const std::string w = Written(&g->black);
  EXPECT_EQ(w.find("rw_parm"), std::string::npos) << w;
  EXPECT_NE(w.find("new\n"), std::string::npos) << w;
  EXPECT_NE(w.find("e2e4\n"), std::string::npos) << w;
}
