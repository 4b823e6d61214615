// The channel over real pipes, with the scripted engine fake_engine.exe that
// the build puts beside this test.
#include "engine_channel.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Collected {
  std::mutex lock;
  std::vector<std::string> lines;
  std::atomic<int> ended{0};   // the engine ended before the channel was stopped
  std::atomic<int> finals{0};  // the reader thread's last call
  std::vector<std::string> Lines() {
    std::lock_guard<std::mutex> g(lock);
    return lines;
  }
};

void OnLine(const char* line, void* context) {
  auto* c = static_cast<Collected*>(context);
  std::lock_guard<std::mutex> g(c->lock);
  c->lines.push_back(line);
}
void OnEnd(void* context, int stopped) {
  auto* c = static_cast<Collected*>(context);
  std::lock_guard<std::mutex> g(c->lock);
  if (stopped)
    c->finals++;
  else
    c->ended++;
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  return p.substr(0, p.find_last_of("\\/") + 1);
}

template <class F>
bool WaitFor(F done) {
  for (int i = 0; i < 1000; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

class EngineChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(StartEngineProcess((ProgramFolder() + "fake_engine.exe").c_str(), "fake_engine", OnLine, &got,
                                 &channel, OnEnd),
              0);
    ASSERT_NE(channel, nullptr);
  }
  void TearDown() override {
    if (channel) {
      WriteEngineLine(channel, "quit\n");
      StopEngineLink(channel);
      EXPECT_TRUE(WaitFor([&] { return got.finals == 1; }));
    }
  }
  std::vector<std::string> Ask(const char* command, size_t count) {
    size_t before = got.Lines().size();
    EXPECT_EQ(WriteEngineLine(channel, command), 0);
    WaitFor([&] { return got.Lines().size() >= before + count; });
    auto all = got.Lines();
    return std::vector<std::string>(all.begin() + before, all.end());
  }
  Collected got;
  EngineChannel* channel = nullptr;
};

TEST_F(EngineChannelTest, LinesArriveWholeAndInOrder) {
  EXPECT_EQ(Ask("split\n", 1), std::vector<std::string>{"move e2e4"});
  EXPECT_EQ(Ask("many\n", 4), (std::vector<std::string>{"one", "two", "three", "tail end"}));
  EXPECT_EQ(Ask("crlf\n", 1), std::vector<std::string>{"move e2e4\r"});
  EXPECT_EQ(Ask("stderr\n", 1), std::vector<std::string>{"to standard error"});
  // The first 4,096 bytes of an overlong line are dropped, the rest is a line.
  EXPECT_EQ(Ask("long\necho after\n", 2), (std::vector<std::string>{std::string(5000 - 4096, 'x'), "after"}));
  EXPECT_EQ(WriteEngineLine(channel, ""), 0);
  EXPECT_EQ(WriteEngineLine(nullptr, "x\n"), -1);
  EXPECT_EQ(WriteEngineLine(channel, nullptr), -1);
}

TEST_F(EngineChannelTest, TheEngineRunsInItsFolderAndOursStays) {
  char before[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  auto reply = Ask("cwd\n", 1);
  ASSERT_EQ(reply.size(), 1u);
  std::string folder = ProgramFolder();
  folder.pop_back();
  EXPECT_EQ(reply[0].substr(4).size(), folder.size());
  EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, reply[0].c_str() + 4, -1, folder.c_str(), -1),
            CSTR_EQUAL)
      << reply[0];
  char after[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(before, after);
}

TEST_F(EngineChannelTest, AnEngineThatDiesIsReportedAndTheReaderWaitsIdle) {
  Ask("echo alive\n", 1);
  WriteEngineLine(channel, "die\n");
  ASSERT_TRUE(WaitFor([&] { return got.ended == 1; }));
  EXPECT_EQ(got.finals, 0);  // the record is kept for its owner
  // Writing to a dead engine is refused, not hung on.
  EXPECT_EQ(WriteEngineLine(channel, "echo nobody\n"), -2);
  StopEngineLink(channel);
  channel = nullptr;  // the reader thread frees it
  EXPECT_TRUE(WaitFor([&] { return got.finals == 1; }));
  EXPECT_EQ(got.ended, 1);
}

TEST_F(EngineChannelTest, StoppingDoesNotWaitForTheEngineToSpeak) {
  Ask("echo alive\n", 1);
  WriteEngineLine(channel, "deaf\n");  // from now on it ignores even "quit"
  StopEngineLink(channel);
  channel = nullptr;
  EXPECT_TRUE(WaitFor([&] { return got.finals == 1; }));
  EXPECT_EQ(got.ended, 0);
}

TEST(EngineChannelStartTest, AMissingProgramFailsAndLeavesTheFolder) {
  char before[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  EngineChannel* channel = reinterpret_cast<EngineChannel*>(1);
  EXPECT_EQ(
      StartEngineProcess("C:\\windows\\temp\\no such folder\\NoEngine.exe", "", OnLine, nullptr, &channel),
      -2);
  EXPECT_EQ(channel, nullptr);
  char after[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(before, after);
  EXPECT_EQ(StartEngineProcess(nullptr, "", OnLine, nullptr, &channel), -1);
  EXPECT_EQ(StartEngineProcess("x.exe", "", OnLine, nullptr, nullptr), -1);
  EXPECT_EQ(StopEngineLink(nullptr), -2);
}

}  // namespace
