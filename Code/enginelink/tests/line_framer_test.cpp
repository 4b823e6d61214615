#include "line_framer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_lines;
void Collect(const char* line, void*) { g_lines.push_back(line); }

void Read(LineFramer* f, const std::string& bytes, const std::atomic<int>* stop = nullptr) {
  size_t done = 0;
  while (done < bytes.size()) {
    size_t room = 0;
    char* space = FramerSpace(f, &room);
    size_t n = std::min(room, bytes.size() - done);
    std::memcpy(space, bytes.data() + done, n);
    FramerTake(f, n, Collect, nullptr, stop);
    done += n;
  }
}

TEST(LineFramerTest, ReadsAreCutIntoWholeLines) {
  struct Case {
    std::vector<std::string> reads;
    std::vector<std::string> lines;
  } cases[] = {
      {{"mo", "ve e2e4\n"}, {"move e2e4"}},
      {{"one\ntwo\nthree\ntail"}, {"one", "two", "three"}},
      {{"one\ntwo\nthree\ntail", " end\n"}, {"one", "two", "three", "tail end"}},
      {{"move e2e4\r\n"}, {"move e2e4\r"}},
      {{"\n\n"}, {"", ""}},
      {{std::string(5000, 'x') + "\n"}, {std::string(5000 - 4096, 'x')}},
      {{std::string(4095, 'y') + "\n"}, {std::string(4095, 'y')}},
  };
  for (const Case& c : cases) {
    g_lines.clear();
    LineFramer f;
    for (const std::string& r : c.reads) Read(&f, r);
    EXPECT_EQ(g_lines, c.lines) << c.reads[0].substr(0, 20);
  }
}

TEST(LineFramerTest, NoCallbackOnceStopped) {
  g_lines.clear();
  LineFramer f;
  std::atomic<int> stop{0};
  Read(&f, "a\n", &stop);
  stop.store(1);
  Read(&f, "b\nc\n", &stop);
  EXPECT_EQ(g_lines, std::vector<std::string>{"a"});
}

}  // namespace
