// The driver and the channel with the real engine program, Corvane.exe,
// which the build puts beside this test.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine_channel.h"
#include "engine_protocol.h"

// After the rules' headers: windows.h defines names such as LANG_ENGLISH.
// clang-format off
#include <windows.h>
// clang-format on

namespace {

std::mutex g_lock;
std::vector<std::string> g_moves, g_texts, g_raw;
std::atomic<int> g_thinking{0};

void OnReply(EngineSession*, const MoveCoords* move, const ThinkingLine* thinking, const EngineStatus*,
             const char* line, int direction) {
  if (direction != ENGINE_RECEIVED) return;
  std::lock_guard<std::mutex> guard(g_lock);
  if (move) {
    char text[8];
    MoveToEngineText(move, text);
    g_moves.push_back(text);
  } else if (thinking) {
    g_thinking++;
  } else {
    g_texts.push_back(line);
  }
}

void OnRaw(const char* line, void*) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_raw.push_back(line);
}

std::string Corvane() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  return p.substr(0, p.find_last_of("\\/") + 1) + "Corvane.exe";
}

template <class F>
bool WaitFor(F done, int ms = 20000) {
  for (int i = 0; i < ms / 10; ++i) {
    {
      std::lock_guard<std::mutex> guard(g_lock);
      if (done()) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

EngineSession* Open(const char* commandLine) {
  EngineDescription d{};
  std::string path = Corvane();
  std::snprintf(d.programPath, sizeof d.programPath, "%s", path.c_str());
  std::snprintf(d.startPath, sizeof d.startPath, "%s", path.c_str());
  std::snprintf(d.commandLine, sizeof d.commandLine, "%s", commandLine);
  d.side = ENGINE_SIDE_BLACK;
  return OpenEngineSession(&d, OnReply);
}

TEST(CorvaneLinkTest, WithTheMonitorOnEachMoveArrivesOnce) {
  // The raw lines: with "-m" the monitor's carriage-return copies share the pipe.
  EngineChannel* raw = nullptr;
  ASSERT_EQ(StartEngineProcess(Corvane().c_str(), "-l- -a- -m", OnRaw, nullptr, &raw), 0);
  WriteEngineLine(raw, "xboard\nnew\nforce\ne2e4\nlevel 0 0:1 0\ngo\n");
  ASSERT_TRUE(WaitFor([] {
    for (const std::string& l : g_raw)
      if (l.rfind("move ", 0) == 0) return true;
    return false;
  }));
  WriteEngineLine(raw, "quit\n");
  StopEngineLink(raw);
  bool copy = false;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    for (const std::string& l : g_raw)
      if (!l.empty() && l[0] == '\r' && l.find("move ") != std::string::npos) copy = true;
  }
  EXPECT_TRUE(copy) << "the monitor copy of the move reply was expected on the pipe";

  EngineSession* s = Open("-l- -a- -m");
  ASSERT_NE(s, nullptr);
  SendEngineNew(s);
  SendEngineLevel(s, 0, 1, 0);
  SendEngineForce(s);
  MoveCoords e4{'e', '2', 'e', '4', 0};
  SendEngineMove(s, &e4);
  SendEngineGo(s);
  ASSERT_TRUE(WaitFor([] { return !g_moves.empty(); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  {
    std::lock_guard<std::mutex> guard(g_lock);
    EXPECT_EQ(g_moves.size(), 1u);
    for (const std::string& t : g_texts) EXPECT_NE(t[0], '\r') << t;
  }
  SendEngineQuit(s);
}

TEST(CorvaneLinkTest, ParameterRepliesArriveAsText) {
  {
    std::lock_guard<std::mutex> guard(g_lock);
    g_texts.clear();
  }
  EngineSession* s = Open("-l- -a- -m-");
  ASSERT_NE(s, nullptr);
  SendEngineCommand(s, "rw_parm sel=4 foo mob");
  ASSERT_TRUE(WaitFor([] {
    for (const std::string& t : g_texts)
      if (t.rfind("rw_parm", 0) == 0) return true;
    return false;
  }));
  {
    std::lock_guard<std::mutex> guard(g_lock);
    std::string reply;
    for (const std::string& t : g_texts)
      if (t.rfind("rw_parm", 0) == 0) reply = t;
    if (!reply.empty() && reply.back() == '\r') reply.pop_back();  // the engine's text-mode output
    EXPECT_EQ(reply, "rw_parm sel=4 foo=? mob=100");
  }
  SendEngineQuit(s);
}

}  // namespace
