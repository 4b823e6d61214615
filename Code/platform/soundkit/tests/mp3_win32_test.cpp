// MP3 data through the system's MPEG Layer-3 codec, compared with the
// encoder's own decoding of the same file.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "soundkit.h"
#include "wave_pcm.h"

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int g_state = 0;
int AskForOutputFormat(int state, AILASISETPROP set) {
  if (state == 1) {
    g_state = state;
    set("Requested # of channels", 1);
    set("Requested sample rate", 22050);
  }
  return 1;
}

double Rms(const std::vector<int16_t>& a, size_t from, size_t n) {
  double sum = 0;
  for (size_t i = from; i < from + n && i < a.size(); ++i) sum += double(a[i]) * a[i];
  return std::sqrt(sum / double(n));
}

}  // namespace

TEST(SoundkitMp3, DecodesThroughTheSystemCodecCloseToTheEncodersOwnDecoding) {
  std::vector<uint8_t> mp3 = ReadAll(RW_MP3_DIR "/tone.mp3");
  std::vector<uint8_t> reference = ReadAll(RW_MP3_DIR "/tone_decoded.wav");
  ASSERT_FALSE(mp3.empty());
  std::vector<int16_t> expected;
  ASSERT_TRUE(soundkit::DecodeWaveImage(reference.data(), reference.size(), &expected));

  void* image = nullptr;
  uint32_t size = 0;
  ASSERT_NE(AIL_decompress_ASI(mp3.data(), uint32_t(mp3.size()), ".mp3", &image, &size, AskForOutputFormat), 0);
  EXPECT_EQ(g_state, 1);
  soundkit::WaveInfo info;
  ASSERT_TRUE(soundkit::ParseWave(static_cast<uint8_t*>(image), size, &info));
  EXPECT_EQ(info.rate, 22050);
  EXPECT_EQ(info.channels, 1);
  std::vector<int16_t> got;
  ASSERT_TRUE(soundkit::DecodeWaveImage(static_cast<uint8_t*>(image), size, &got));
  AIL_mem_free_lock(image);

  // The system codec keeps the encoder's delay and padding, which the
  // encoder's decoder strips: the lengths agree within three MPEG frames
  // (1,152 samples at 44.1 kHz each); loudness agrees, and so does each
  // sample once the two are aligned.
  ASSERT_NEAR(double(got.size()), double(expected.size()), 3 * 576.0);
  EXPECT_NEAR(Rms(got, 2000, 10000), Rms(expected, 2000, 10000), Rms(expected, 2000, 10000) * 0.1);
  size_t bestShift = 0;
  double best = 1e300;
  for (size_t shift = 0; shift < 1200; ++shift) {
    double err = 0;
    for (size_t i = 4000; i < 6000; ++i) {
      double d = double(got[i]) - expected[i > shift ? i - shift : 0];
      err += d * d;
    }
    if (err < best) best = err, bestShift = shift;
    double err2 = 0;
    for (size_t i = 4000; i < 6000; ++i) {
      double d = double(expected[i]) - got[i > shift ? i - shift : 0];
      err2 += d * d;
    }
    if (err2 < best) best = err2, bestShift = shift;
  }
  EXPECT_LT(std::sqrt(best / 2000), Rms(expected, 4000, 2000) * 0.1) << "shift " << bestShift;
}
