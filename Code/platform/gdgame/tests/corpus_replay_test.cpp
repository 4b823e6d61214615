// Every input kept in the game-file fuzz corpus is read again by the test
// run, under the sanitizers of the native test build: an input that once
// showed a fault stays a test of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

TEST(GameFileCorpus, EveryKeptInputReadsCleanly) {
  namespace fs = std::filesystem;
  int replayed = 0;
  for (const auto& entry : fs::directory_iterator(RW_GDGAME_CORPUS)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    SCOPED_TRACE(entry.path().filename().string());
    EXPECT_EQ(0, LLVMFuzzerTestOneInput(bytes.data(), bytes.size()));
    ++replayed;
  }
  // "empty_record": a directory entry of length 0, once copied from a null
  // pointer.
  EXPECT_GE(replayed, 3);
}
