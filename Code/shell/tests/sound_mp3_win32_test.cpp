// A queued sample of a WAVE image, raw PCM and MP3 data, played through the
// system's codec on the null device and heard in the capture.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "sound_layer.h"
#include "sound_wave.h"
#include "wave_pcm.h"

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint8_t* Copy(const std::vector<uint8_t>& b) {
  auto* block = static_cast<uint8_t*>(SoundAlloc(uint32_t(b.size())));
  std::memcpy(block, b.data(), b.size());
  return block;
}

std::vector<int16_t> Samples(const std::vector<uint8_t>& b) {
  return soundkit::RawToPcm(b.data(), b.size());
}

double Rms(const int16_t* p, size_t n) {
  double s = 0;
  for (size_t i = 0; i < n; ++i) s += double(p[i]) * p[i];
  return std::sqrt(s / double(n));
}

}  // namespace

TEST(SoundLayerMp3, WaveRawAndMp3PlayInOrderWithoutAGap) {
  std::string capture = testing::TempDir() + "mp3_capture.wav";
  _putenv_s("RW_SOUND_DEVICE", "null");
  _putenv_s("RW_SOUND_CAPTURE", capture.c_str());
  ASSERT_EQ(StartSoundSystem(1), 1);
  std::vector<uint8_t> first, second;
  for (int i = 0; i < 3000; ++i) {
    int16_t a = int16_t(i % 40 < 20 ? 6000 : -6000), b = int16_t((i % 24) * 400 - 4800);
    first.push_back(uint8_t(a));
    first.push_back(uint8_t(uint16_t(a) >> 8));
    second.push_back(uint8_t(b));
    second.push_back(uint8_t(uint16_t(b) >> 8));
  }
  std::vector<uint8_t> image(kWaveHeaderSize);
  WriteWaveHeader(image.data(), uint32_t(first.size()), kSoundOutputFormat);
  image.insert(image.end(), first.begin(), first.end());
  std::vector<uint8_t> mp3 = ReadAll(RW_MP3_DIR "/tone.mp3");
  ASSERT_FALSE(mp3.empty());

  SoundObject* q = AllocSoundSample();
  ASSERT_TRUE(q);
  QueueSoundRequest(q, Copy(image), uint32_t(image.size()), 1);
  QueueSoundRequest(q, Copy(second), uint32_t(second.size()), 2);
  QueueSoundRequest(q, Copy(mp3), uint32_t(mp3.size()), 6);
  StartSoundObject(q);
  auto ends = [&] {
    std::ifstream log(capture + ".log");
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    int n = 0;
    for (size_t at = text.find(" end "); at != std::string::npos; at = text.find(" end ", at + 1)) ++n;
    return n;
  };
  auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (ends() < 3 && std::chrono::steady_clock::now() < limit) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ends(), 3);
  FreeSoundObject(q);
  StopSoundSystem();

  std::vector<uint8_t> file = ReadAll(capture);
  std::vector<int16_t> heard;
  ASSERT_TRUE(soundkit::DecodeWaveImage(file.data(), file.size(), &heard));
  size_t at = 0;
  while (at < heard.size() && heard[at] == 0) ++at;
  std::vector<int16_t> a = Samples(first), b = Samples(second);
  ASSERT_GE(heard.size(), at + a.size() + b.size() + 17640);
  EXPECT_TRUE(std::equal(a.begin(), a.end(), heard.begin() + long(at)));
  EXPECT_TRUE(std::equal(b.begin(), b.end(), heard.begin() + long(at + a.size())));

  // The MP3 right behind, as loud as the encoder's own decoding of it.
  std::vector<uint8_t> refFile = ReadAll(RW_MP3_DIR "/tone_decoded.wav");
  std::vector<int16_t> reference;
  ASSERT_TRUE(soundkit::DecodeWaveImage(refFile.data(), refFile.size(), &reference));
  size_t third = at + a.size() + b.size();
  double heardRms = Rms(heard.data() + third + 3000, 10000), refRms = Rms(reference.data() + 3000, 10000);
  EXPECT_NEAR(heardRms, refRms, refRms * 0.1);
}

// The test prefix has no audio driver: the wave output cannot open, and the
// layer still starts, on the null device.
TEST(SoundLayerNoDevice, StartsOnTheNullDeviceWhenNoWaveOutputOpens) {
  std::string capture = testing::TempDir() + "nodevice_capture.wav";
  _putenv_s("RW_SOUND_DEVICE", "");
  _putenv_s("RW_SOUND_CAPTURE", capture.c_str());
  ASSERT_EQ(StartSoundSystem(1), 1);
  EXPECT_EQ(ReleaseSoundDevice(), 1);
  EXPECT_EQ(ReacquireSoundDevice(), 1);
  StopSoundSystem();
  std::ifstream log(capture + ".log");
  std::string first;
  std::getline(log, first);
  if (waveOutGetNumDevs() == 0) EXPECT_EQ(first, "0 open null");
  std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("release"), std::string::npos);
  EXPECT_NE(text.find("reacquire"), std::string::npos);
}
