// The engine link with a chess engine that is not ours: fairymax, which the
// build puts beside this test as fmax.exe. It is started the way an outside
// engine personality starts (its own command line, no "rw_parm"), answers
// a move, and is told to quit.
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
std::vector<std::string> g_moves;

void OnReply(EngineSession*, const MoveCoords* move, const ThinkingLine*, const EngineStatus*, const char*,
             int direction) {
  if (direction != ENGINE_RECEIVED || !move) return;
  std::lock_guard<std::mutex> guard(g_lock);
  char text[8];
  MoveToEngineText(move, text);
  g_moves.push_back(text);
}

std::string Beside(const char* name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  return p.substr(0, p.find_last_of("\\/") + 1) + name;
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

TEST(FairymaxLinkTest, AForeignEngineAnswersTheDriversMoves) {
  const std::string engine = Beside("fmax.exe");
  ASSERT_NE(GetFileAttributesA(engine.c_str()), INVALID_FILE_ATTRIBUTES) << engine;
  EngineDescription d{};
  std::snprintf(d.programPath, sizeof d.programPath, "%s", engine.c_str());
  std::snprintf(d.startPath, sizeof d.startPath, "%s", engine.c_str());
  d.side = ENGINE_SIDE_BLACK;
  EngineSession* s = OpenEngineSession(&d, OnReply);
  ASSERT_NE(s, nullptr);
  SendEngineNew(s);
  SendEngineLevel(s, 0, 1, 0);
  SendEngineForce(s);
  MoveCoords e4{'e', '2', 'e', '4', 0};
  SendEngineMove(s, &e4);
  SendEngineGo(s);
  ASSERT_TRUE(WaitFor([] { return !g_moves.empty(); }));
  {
    std::lock_guard<std::mutex> guard(g_lock);
    const std::string& reply = g_moves.front();
    ASSERT_GE(reply.size(), 4u);
    // A Black move: from rank 7 or 8.
    EXPECT_TRUE(reply[1] == '7' || reply[1] == '8') << reply;
  }
  SendEngineQuit(s);
}

}  // namespace
