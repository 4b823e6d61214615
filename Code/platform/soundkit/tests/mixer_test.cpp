#include "mixer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

using namespace soundkit;

TEST(Mixer, SumsClipsAndStopsAtTheFrameWhereAVoiceEnds) {
  Mixer mixer;
  Voice a, b, paused;
  a.pcm.assign(10, 30000);
  b.pcm.assign(4, 5000);
  paused.pcm.assign(10, 1);
  a.state = b.state = kStatePlaying;
  paused.state = kStateStopped;
  mixer.Add(&a);
  mixer.Add(&b);
  mixer.Add(&paused);
  int16_t out[16] = {};
  std::vector<Voice*> ended;
  ASSERT_EQ(mixer.Mix(out, 16, &ended), 4u);
  EXPECT_EQ(out[0], 32767);  // clipped
  ASSERT_EQ(ended.size(), 1u);
  EXPECT_EQ(ended[0], &b);
  EXPECT_EQ(b.state, kStateDone);
  ended.clear();
  ASSERT_EQ(mixer.Mix(out, 16, &ended), 6u);
  EXPECT_EQ(out[0], 30000);
  EXPECT_EQ(ended, std::vector<Voice*>{&a});
  ended.clear();
  EXPECT_EQ(mixer.Mix(out, 16, &ended), 16u);  // silence
  EXPECT_EQ(out[15], 0);
  EXPECT_TRUE(ended.empty());
  EXPECT_EQ(mixer.PlayingCount(), 0u);
}

TEST(Mixer, StreamPlaysItsFileAndCaptureWritesAWaveFile) {
  std::string path = testing::TempDir() + "soundkit_stream.wav";
  std::vector<int16_t> pcm(50000);
  for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = int16_t(i * 7);
  {
    CaptureWriter writer;  // the capture writer makes a plain WAVE file
    ASSERT_TRUE(writer.Open(path));
    writer.Write(pcm.data(), 30000);
    writer.Event("start", "x.wav");
    writer.Write(pcm.data() + 30000, 20000);
  }
  std::ifstream log(path + ".log");
  std::string line;
  std::getline(log, line);
  EXPECT_EQ(line, "30000 start x.wav");

  std::unique_ptr<StreamReader> reader = StreamReader::Open(path);
  ASSERT_TRUE(reader);
  Voice v;
  v.stream = reader.get();
  v.state = kStatePlaying;
  Mixer mixer;
  mixer.Add(&v);
  std::vector<int16_t> heard;
  std::vector<Voice*> ended;
  int16_t block[700];
  while (ended.empty()) {
    size_t n = mixer.Mix(block, 700, &ended);
    heard.insert(heard.end(), block, block + n);
  }
  EXPECT_EQ(heard, pcm);
  EXPECT_FALSE(StreamReader::Open(path + ".log"));
  EXPECT_FALSE(StreamReader::Open(path + ".missing"));
  std::remove(path.c_str());
}
