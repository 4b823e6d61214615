// The layer over the library, in real time on the null device.
#include "sound_layer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "audio_driver.h"
#include "sound_wave.h"
#include "wave_pcm.h"

using namespace std::chrono_literals;

namespace {

void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 3000ms) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

std::vector<uint8_t> Pcm(size_t frames, int amplitude, int period) {
  std::vector<uint8_t> b;
  for (size_t i = 0; i < frames; ++i) {
    int16_t v = int16_t((int(i % period) < period / 2) ? amplitude : -amplitude);
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(uint16_t(v) >> 8));
  }
  return b;
}

std::string WriteWave(const char* name, const std::vector<uint8_t>& pcm) {
  std::string path = testing::TempDir() + name;
  std::vector<uint8_t> image(kWaveHeaderSize);
  WriteWaveHeader(image.data(), uint32_t(pcm.size()), kSoundOutputFormat);
  image.insert(image.end(), pcm.begin(), pcm.end());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), long(image.size()));
  return path;
}

uint8_t* Copy(const std::vector<uint8_t>& b) {
  auto* block = static_cast<uint8_t*>(SoundAlloc(uint32_t(b.size())));
  std::memcpy(block, b.data(), b.size());
  return block;
}

class SoundLayer : public testing::Test {
 protected:
  void Start(const std::string& capture = "") {
    SetEnv("RW_SOUND_DEVICE", "null");
    SetEnv("RW_SOUND_CAPTURE", capture.c_str());
    ASSERT_EQ(StartSoundSystem(1), 1);
  }
  void TearDown() override { StopSoundSystem(); }
};

}  // namespace

TEST_F(SoundLayer, ModeZeroIsSilentButStillFreesRecords) {
  EXPECT_EQ(StartSoundSystem(2), 0);  // only the full driver is built
  EXPECT_EQ(GetSoundMode(), 0);
  SoundObject* object = NewSoundObject(nullptr, nullptr, 0, "x.wav");
  ASSERT_TRUE(object);
  EXPECT_EQ(GetSoundStatus(object), 0);
  EXPECT_EQ(FreeSoundObject(object), 1);
  EXPECT_FALSE(IsLiveSoundObject(object));
  EXPECT_EQ(FreeSoundObject(object), 0);
  EXPECT_FALSE(SoundAlloc(10));
  EXPECT_FALSE(AllocSoundSample());
  EXPECT_EQ(ReleaseSoundDevice(), 1);
  EXPECT_EQ(ReacquireSoundDevice(), 0);
}

TEST_F(SoundLayer, FilesUpTo102400BytesPlayFromMemoryLargerOnesStream) {
  Start();
  // 102,400 bytes in all, header included; one more sample byte streams.
  std::string whole = WriteWave("whole.wav", Pcm((102400 - 44) / 2, 2000, 60));
  std::vector<uint8_t> bigger = Pcm((102400 - 44) / 2, 2000, 60);
  bigger.push_back(0);
  std::string stream = WriteWave("stream.wav", bigger);
  SoundObject* a = PlaySoundFile(whole.c_str());
  ASSERT_TRUE(a);
  EXPECT_EQ(GetSoundKind(a), kSoundWave);
  EXPECT_EQ(GetSoundStatus(a), 1);
  SoundObject* b = PlaySoundFile(stream.c_str());
  ASSERT_TRUE(b);
  EXPECT_EQ(GetSoundKind(b), kSoundStream);
  EXPECT_EQ(GetCurrentSound(), b);
  // Starting the stream stopped the sample, which stays until freed.
  EXPECT_EQ(GetSoundStatus(a), 5);
  EXPECT_EQ(FreeSoundObject(a), 1);
  // Toggling the playing stream pauses it, toggling again resumes it.
  EXPECT_EQ(ToggleSoundPause(b), 1);
  EXPECT_EQ(GetSoundStatus(b), 5);
  EXPECT_EQ(ToggleSoundPause(b), 1);
  EXPECT_EQ(GetSoundStatus(b), 1);
  EXPECT_EQ(ReleaseSoundDevice(), 1);
  EXPECT_EQ(GetSoundStatus(b), 4);
  EXPECT_EQ(ReacquireSoundDevice(), 1);
  EXPECT_EQ(FreeSoundObject(b), 1);
  EXPECT_FALSE(PlaySoundFile((whole + ".missing").c_str()));
  // A MIDI file and a file of no known kind load into samples that never
  // play; freeing them gives their handles back.
  std::string midi = testing::TempDir() + "tune.mid", other = testing::TempDir() + "noise.xyz";
  std::ofstream(midi) << "MThd";
  std::ofstream(other) << "????";
  SoundObject* m = PlaySoundFile(midi.c_str());
  SoundObject* o = PlaySoundFile(other.c_str());
  ASSERT_TRUE(m && o);
  EXPECT_EQ(GetSoundKind(m), kSoundMidi);
  EXPECT_EQ(GetSoundKind(o), kSoundOther);
  EXPECT_EQ(GetSoundStatus(m), 0);
  EXPECT_EQ(FreeSoundObject(m), 1);
  EXPECT_EQ(FreeSoundObject(o), 1);

  std::string upper = whole.substr(0, whole.size() - 4) + ".WAV";
  std::rename(whole.c_str(), upper.c_str());
  std::vector<char> path(upper.begin(), upper.end());
  path.push_back(0);
  // The path is lower-cased in place, so the file must be found that way.
  std::string lower = upper;
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  std::rename(upper.c_str(), lower.c_str());
  SoundObject* s = PlayWaveStream(path.data());
  ASSERT_TRUE(s);
  EXPECT_EQ(GetSoundKind(s), kSoundStream);
  FreeSoundObject(s);
  char mp3[] = "/tmp/voice.mp3";
  EXPECT_FALSE(PlayWaveStream(mp3));
}

TEST_F(SoundLayer, FinishedOneShotClearsTheCurrentSoundAndIsGone) {
  Start();
  std::string path = WriteWave("oneshot.wav", Pcm(400, 3000, 40));
  SoundObject* a = PlaySoundFile(path.c_str());
  ASSERT_TRUE(a);
  EXPECT_EQ(GetCurrentSound(), a);
  ASSERT_TRUE(WaitFor([&] { return !IsLiveSoundObject(a); }));
  EXPECT_EQ(GetCurrentSound(), nullptr);
  EXPECT_EQ(GetSoundStatus(a), 0);
  EXPECT_EQ(StopSound(a), 0);
  EXPECT_EQ(FreeSoundObject(a), 0);
  // Data played as a one-shot is not the current sound.
  std::vector<uint8_t> raw = Pcm(200, 1000, 20);
  SoundObject* d = PlaySoundData(raw.data(), uint32_t(raw.size()), kSoundRaw);
  ASSERT_TRUE(d);
  EXPECT_EQ(GetCurrentSound(), nullptr);
  EXPECT_FALSE(PlaySoundData(raw.data(), uint32_t(raw.size()), 4));
  EXPECT_TRUE(WaitFor([&] { return !IsLiveSoundObject(d); }));
}

TEST_F(SoundLayer, QueuedWaveAndRawPlayOneAfterAnotherWithoutAGap) {
  std::string capture = testing::TempDir() + "layer_capture.wav";
  Start(capture);
  std::vector<uint8_t> first = Pcm(2500, 7000, 30), second = Pcm(1500, -4000, 16);
  std::vector<uint8_t> image(kWaveHeaderSize);
  WriteWaveHeader(image.data(), uint32_t(first.size()), kSoundOutputFormat);
  image.insert(image.end(), first.begin(), first.end());

  SoundObject* q = AllocSoundSample();
  ASSERT_TRUE(q);
  EXPECT_EQ(SetLastRequestPosition(q, 10, 0), 0);
  uint8_t* refused = Copy(first);
  EXPECT_EQ(QueueSoundRequest(q, refused, 10, 3), -1);
  SoundFree(refused);  // still the caller's
  EXPECT_EQ(CountSoundRequests(q), 0);
  EXPECT_EQ(QueueSoundRequest(nullptr, nullptr, 0, 1), -1);
  EXPECT_EQ(DriverStartSound(q), 0);  // an empty queue plays nothing
  EXPECT_GT(QueueSoundRequest(q, Copy(image), uint32_t(image.size()), 1), 0);
  EXPECT_GT(QueueSoundRequest(q, Copy(second), uint32_t(second.size()), 2), 0);
  EXPECT_EQ(q->size, image.size() + second.size());
  StartSoundObject(q);
  auto ends = [&] {
    std::ifstream log(capture + ".log");
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    int n = 0;
    for (size_t at = text.find(" end "); at != std::string::npos; at = text.find(" end ", at + 1)) ++n;
    return n;
  };
  ASSERT_TRUE(WaitFor([&] { return ends() == 2; }));
  EXPECT_EQ(GetSoundStatus(q), 2);
  EXPECT_TRUE(IsLiveSoundObject(q));  // a queued sample stays until freed
  EXPECT_EQ(FreeSoundObject(q), 1);
  StopSoundSystem();

  std::ifstream in(capture, std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t at = kWaveHeaderSize;
  while (at + 1 < file.size() && file[at] == 0 && file[at + 1] == 0) at += 2;
  std::vector<uint8_t> expected = first;
  expected.insert(expected.end(), second.begin(), second.end());
  ASSERT_GE(file.size(), at + expected.size() + 2);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.begin() + long(at)));
  EXPECT_EQ(file[at + expected.size()] | file[at + expected.size() + 1], 0);
}

TEST_F(SoundLayer, ThousandRoundsOfStartingStoppingAndFreeingWhileEndsArrive) {
  Start();
  std::vector<uint8_t> raw = Pcm(40, 1500, 8);
  std::string path = WriteWave("tick.wav", raw);
  for (int round = 0; round < 1000; ++round) {
    SoundObject* a = PlaySoundFile(path.c_str());
    ASSERT_TRUE(a);
    if (round % 4 == 0) continue;  // left to end and free itself
    std::this_thread::sleep_for(std::chrono::microseconds(round % 5 * 400));
    // Each of these may meet an object that has just ended and freed
    // itself: then it is none.
    if (round % 4 == 1) StopSound(a);
    if (round % 4 == 2) ToggleSoundPause(a);
    FreeSoundObject(a);
  }
  EXPECT_TRUE(WaitFor([] { return ActiveSampleCount() == 0; }));
  EXPECT_TRUE(WaitFor([] { return GetCurrentSound() == nullptr; }));
}
