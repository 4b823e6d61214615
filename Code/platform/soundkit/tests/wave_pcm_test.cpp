#include "wave_pcm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace soundkit;

namespace {

std::vector<uint8_t> Image(int rate, int channels, int bits, const std::vector<int>& frames) {
  std::vector<uint8_t> pcm;
  for (int v : frames)
    for (int c = 0; c < channels; ++c) {
      if (bits == 8) {
        pcm.push_back(uint8_t(v / 256 + 128));
      } else {
        pcm.push_back(uint8_t(v));
        pcm.push_back(uint8_t(uint16_t(v) >> 8));
      }
    }
  std::vector<uint8_t> image(44);
  MakeWaveHeader(image.data(), uint32_t(pcm.size()), rate, channels, bits);
  image.insert(image.end(), pcm.begin(), pcm.end());
  return image;
}

}  // namespace

TEST(WavePcm, OutputFormatPassesExactlyAndOtherShapesConvert) {
  std::vector<int> ramp;
  for (int i = 0; i < 1000; ++i) ramp.push_back(i * 30 - 15000);
  struct Case {
    int rate, channels, bits;
    size_t frames;
  } cases[] = {{22050, 1, 16, 1000}, {22050, 2, 16, 1000}, {22050, 1, 8, 1000},
               {44100, 1, 16, 500},  {11025, 2, 16, 2000}, {8000, 1, 16, 2757}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rate << "/" << c.channels << "/" << c.bits);
    std::vector<uint8_t> image = Image(c.rate, c.channels, c.bits, ramp);
    std::vector<int16_t> out;
    ASSERT_TRUE(DecodeWaveImage(image.data(), image.size(), &out));
    EXPECT_EQ(out.size(), c.frames);
    // The sound keeps its length; the ramp stays a ramp (each output on the
    // source's line), its last value held to the end.
    double step = 30.0 * c.rate / kOutputRate;
    for (size_t i = 0; i < out.size(); ++i)
      ASSERT_NEAR(out[i], std::min(-15000 + step * double(i), 14970.0), c.bits == 8 ? 260 : 2) << i;
  }
}

TEST(WavePcm, FeedingInPiecesGivesTheSameAsAllAtOnce) {
  std::vector<int> frames;
  for (int i = 0; i < 3001; ++i) frames.push_back(int(10000 * std::sin(i * 0.01)));
  std::vector<uint8_t> image = Image(44100, 2, 16, frames);
  std::vector<int16_t> whole, pieces;
  ASSERT_TRUE(DecodeWaveImage(image.data(), image.size(), &whole));
  PcmConverter converter(44100, 2, 16);
  for (size_t at = 44; at < image.size(); at += 7) converter.Feed(&image[at], std::min<size_t>(7, image.size() - at), &pieces);
  converter.Finish(&pieces);
  EXPECT_EQ(whole, pieces);
}

TEST(WavePcm, RefusesWhatIsNotPcmWave) {
  std::vector<uint8_t> good = Image(22050, 1, 16, {1, 2, 3});
  WaveInfo info;
  ASSERT_TRUE(ParseWave(good.data(), good.size(), &info));
  EXPECT_EQ(info.dataOffset, 44u);
  EXPECT_EQ(info.dataSize, 6u);
  struct Mutation {
    size_t offset;
    uint8_t value;
  } bad[] = {{0, 'X'}, {8, 'X'}, {20, 2} /* ADPCM tag */, {22, 3} /* 3 channels */, {34, 24} /* 24 bits */,
             {24, 0} /* no rate */, {16, 8} /* short fmt */};
  for (const Mutation& m : bad) {
    std::vector<uint8_t> image = good;
    image[m.offset] = m.value;
    if (m.offset == 24) image[25] = image[26] = image[27] = 0;
    EXPECT_FALSE(ParseWave(image.data(), image.size(), &info)) << m.offset;
  }
  // Cut short: the data range is what is present.
  ASSERT_TRUE(ParseWave(good.data(), 47, &info));
  EXPECT_EQ(info.dataSize, 3u);
  EXPECT_FALSE(ParseWave(good.data(), 30, &info));
  // A chunk before the data, odd-sized and padded, is skipped.
  std::vector<uint8_t> extra(good.begin(), good.begin() + 36);
  const uint8_t list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  extra.insert(extra.end(), list, list + sizeof list);
  extra.insert(extra.end(), good.begin() + 36, good.end());
  ASSERT_TRUE(ParseWave(extra.data(), extra.size(), &info));
  EXPECT_EQ(info.dataOffset, 56u);
}

TEST(WavePcm, HeaderAndPositions) {
  uint8_t h[44];
  MakeWaveHeader(h, 1000, 22050, 1, 16);
  EXPECT_EQ(0, std::memcmp(h, "RIFF", 4));
  EXPECT_EQ(h[4] | h[5] << 8, 1036);
  EXPECT_EQ(h[40] | h[41] << 8, 1000);
  EXPECT_EQ(h[28] | h[29] << 8 | h[30] << 16, 44100);
  EXPECT_EQ(FramesFromMs(1000), 22050u);
  EXPECT_EQ(MsFromFrames(22050 / 2), 500u);
  EXPECT_EQ(RawToPcm(reinterpret_cast<const uint8_t*>("\x01\x80\x05"), 3), std::vector<int16_t>{int16_t(0x8001)});
}
