#include "sound_wave.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "sound_layer.h"

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t At32(const std::vector<uint8_t>& b, size_t o) { return b[o] | b[o + 1] << 8 | b[o + 2] << 16 | uint32_t(b[o + 3]) << 24; }

std::vector<uint8_t> Raw(size_t n, int seed) {
  std::vector<uint8_t> b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t(i * 31 + seed);
  return b;
}

std::vector<uint8_t> Image(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> image(kWaveHeaderSize);
  WriteWaveHeader(image.data(), uint32_t(raw.size()), kSoundOutputFormat);
  image.insert(image.end(), raw.begin(), raw.end());
  return image;
}

std::string Temp(const char* name) {
  std::string path = testing::TempDir() + name;
  std::remove(path.c_str());
  return path;
}

class SoundWave : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(StartSoundSystem(1), 1); }
  void TearDown() override { StopSoundSystem(); }
};

}  // namespace

TEST(SoundRules, StatusKindAndHeader) {
  const std::pair<uint32_t, int> statuses[] = {{1, 3}, {2, 2}, {4, 1}, {8, 5}, {16, 4}, {0, 0}, {3, 0}, {32, 0}};
  for (auto [library, layer] : statuses) EXPECT_EQ(MapLibraryStatus(library), layer) << library;
  const std::pair<const char*, int> kinds[] = {{"a.mp3", 6}, {"a.wav", 1}, {"a.raw", 2}, {"a.mid", 9},
                                               {"a.WAV", 0}, {"x.wav.mp3", 6}, {"a.ogg", 0}, {nullptr, 0}};
  for (auto [path, kind] : kinds) EXPECT_EQ(SoundKindForPath(path), kind) << (path ? path : "none");
  EXPECT_EQ(kWholeSampleLimit, 102400);
  EXPECT_TRUE(IsRiffData("RIFF...."));
  EXPECT_FALSE(IsRiffData("RIFx"));
}

TEST_F(SoundWave, ImageHasTheStandardHeaderAndEverySample) {
  std::vector<uint8_t> raw = Raw(1000, 3);
  uint8_t* image = MakeWaveImage(raw.data(), 1000, kSoundOutputFormat);
  ASSERT_TRUE(image);
  std::vector<uint8_t> got(image, image + 1044);
  SoundFree(image);
  EXPECT_EQ(got, Image(raw));
  EXPECT_EQ(At32(got, 4), 1036u);
  EXPECT_EQ(At32(got, 40), 1000u);
}

TEST_F(SoundWave, AppendingGrowsTheSizesAndKeepsEverySample) {
  std::string path = Temp("append.wav");
  std::vector<uint8_t> first = Raw(500, 1), second = Raw(1000, 9);
  // A file started from raw PCM keeps all of it.
  EXPECT_EQ(WriteWaveFile(first.data(), 500, path.c_str(), true), 544);
  EXPECT_EQ(ReadAll(path), Image(first));
  EXPECT_EQ(AppendWaveFile(second.data(), 1000, path.c_str()), 1544);
  std::vector<uint8_t> both = first;
  both.insert(both.end(), second.begin(), second.end());
  EXPECT_EQ(ReadAll(path), Image(both));
  // A WAVE image appends its samples only; lead and trail are cut.
  std::vector<uint8_t> third = Raw(300, 5);
  EXPECT_EQ(AppendWaveData(Image(third).data(), 344, path.c_str(), 100, 50, false), 1544 + 150);
  both.insert(both.end(), third.begin() + 100, third.end() - 50);
  EXPECT_EQ(ReadAll(path), Image(both));
  // Lead and trail longer than the samples: nothing appended, the size back.
  EXPECT_EQ(AppendWaveData(third.data(), 300, path.c_str(), 200, 200, false), 1694);
  EXPECT_EQ(ReadAll(path), Image(both));
  // A new file from an image equals the image.
  std::string copy = Temp("copy.wav");
  EXPECT_EQ(WriteWaveFile(Image(third).data(), 344, copy.c_str(), true), 344);
  EXPECT_EQ(ReadAll(copy), Image(third));
  // A block shorter than "RIFF" is two raw bytes, read no further.
  std::vector<uint8_t> tiny(third.begin(), third.begin() + 2);
  EXPECT_EQ(WriteWaveFile(tiny.data(), 2, copy.c_str(), true), 46);
  EXPECT_EQ(ReadAll(copy), Image(tiny));
  EXPECT_EQ(WriteWaveFile(nullptr, 10, copy.c_str(), true), 0);
  EXPECT_EQ(WriteWaveFile(third.data(), 0, copy.c_str(), true), 0);
}

TEST_F(SoundWave, RefusesFilesAndBlocksWhoseSamplesDoNotStartAt44) {
  std::vector<uint8_t> raw = Raw(100, 2);
  std::vector<uint8_t> odd = Image(raw);
  odd[16] = 18;  // a longer format chunk moves the data
  std::string path = Temp("odd.wav");
  { std::ofstream(path, std::ios::binary).write(reinterpret_cast<char*>(odd.data()), long(odd.size())); }
  EXPECT_EQ(AppendWaveFile(raw.data(), 100, path.c_str()), 0);
  EXPECT_EQ(ReadAll(path), odd);
  std::string fresh = Temp("fresh.wav");
  EXPECT_EQ(WriteWaveFile(odd.data(), uint32_t(odd.size()), fresh.c_str(), true), 0);
  std::vector<uint8_t> shortRiff = {'R', 'I', 'F', 'F', 0, 0};
  EXPECT_EQ(WriteWaveFile(shortRiff.data(), 6, fresh.c_str(), true), 0);
  std::string text = Temp("text.wav");
  { std::ofstream(text) << "not a sound file at all, just some words that run past forty-four bytes"; }
  EXPECT_EQ(AppendWaveFile(raw.data(), 100, text.c_str()), 0);
}

TEST_F(SoundWave, ReadOnlyFileLoadsAndStreamFilesAreDeleted) {
  std::string dir = testing::TempDir() + "sound_streams";
  std::filesystem::create_directories(dir);
  for (const char* name : {"stream_1a.wav", "STREAM_2B.WAV", "stream_3.raw", "other.wav", "keep_stream_4.wav"})
    std::ofstream(dir + "/" + name) << "x";
  EXPECT_EQ(DeleteStreamFiles(dir.c_str()), 2);
  EXPECT_FALSE(std::ifstream(dir + "/stream_1a.wav"));
  EXPECT_TRUE(std::ifstream(dir + "/other.wav"));
  EXPECT_EQ(DeleteStreamFiles((dir + "/none").c_str()), 0);

  std::string path = dir + "/readonly.wav";
  std::vector<uint8_t> image = Image(Raw(64, 4));
  { std::ofstream(path, std::ios::binary).write(reinterpret_cast<char*>(image.data()), long(image.size())); }
  chmod(path.c_str(), 0444);
  uint32_t size = 0;
  uint8_t* block = LoadWholeFile(path.c_str(), &size);
  ASSERT_TRUE(block);
  EXPECT_EQ(size, image.size());
  EXPECT_EQ(std::vector<uint8_t>(block, block + size), image);
  SoundFree(block);
  chmod(path.c_str(), 0644);
}
