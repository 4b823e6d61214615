// The library end to end over the null device, in real time.
#include "soundkit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

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

std::vector<uint8_t> Bytes(const std::vector<int16_t>& pcm) {
  std::vector<uint8_t> b;
  for (int16_t v : pcm) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(uint16_t(v) >> 8));
  }
  return b;
}

std::vector<int16_t> Tone(size_t frames, int amplitude, int period) {
  std::vector<int16_t> pcm(frames);
  for (size_t i = 0; i < frames; ++i) pcm[i] = int16_t((int(i % period) < period / 2) ? amplitude : -amplitude);
  return pcm;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 3000ms) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

struct Driver {
  HDIGDRIVER d = nullptr;
  explicit Driver(const std::string& capture = "") {
    SetEnv("RW_SOUND_DEVICE", "null");
    SetEnv("RW_SOUND_CAPTURE", capture.empty() ? "" : capture.c_str());
    EXPECT_NE(AIL_startup(), 0);
    EXPECT_EQ(AIL_waveOutOpen(&d, nullptr, 0, nullptr), 0);
  }
  ~Driver() {
    AIL_waveOutClose(d);
    AIL_shutdown();
  }
};

// The queue of the main program's voice pieces: each end starts the next.
struct Chain {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> pieces;
  size_t next = 0;
  std::atomic<int> ends{0};
};
Chain* g_chain = nullptr;

void PlayNext(HSAMPLE s) {
  Chain& c = *g_chain;
  if (c.next >= c.pieces.size()) return;
  auto& p = c.pieces[c.next++];
  AIL_set_named_sample_file(s, p.first.c_str(), p.second.data(), uint32_t(p.second.size()), 0);
  AIL_start_sample(s);
}

void OnChainEnd(HSAMPLE s) {
  ++g_chain->ends;
  PlayNext(s);
}

}  // namespace

TEST(Soundkit, QueuedPiecesPlayBackToBackInTheCapture) {
  std::string capture = testing::TempDir() + "soundkit_capture.wav";
  std::vector<int16_t> first = Tone(3000, 8000, 50), second = Tone(2001, -6000, 20);
  Chain chain;
  std::vector<uint8_t> image(44);
  soundkit::MakeWaveHeader(image.data(), uint32_t(first.size() * 2), 22050, 1, 16);
  std::vector<uint8_t> firstBytes = Bytes(first);
  image.insert(image.end(), firstBytes.begin(), firstBytes.end());
  chain.pieces.push_back({".wav", image});
  chain.pieces.push_back({".raw", Bytes(second)});
  g_chain = &chain;
  {
    Driver driver(capture);
    HSAMPLE s = AIL_allocate_sample_handle(driver.d);
    ASSERT_TRUE(s);
    AIL_init_sample(s);
    EXPECT_EQ(AIL_sample_status(s), uint32_t(SMP_DONE));
    AIL_register_EOS_callback(s, OnChainEnd);
    PlayNext(s);
    EXPECT_EQ(AIL_sample_status(s), uint32_t(SMP_PLAYING));
    ASSERT_TRUE(WaitFor([&] { return chain.ends == 2; }));
    EXPECT_EQ(AIL_sample_status(s), uint32_t(SMP_DONE));
    AIL_release_sample_handle(s);
  }
  std::ifstream in(capture, std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> heard;
  ASSERT_TRUE(soundkit::DecodeWaveImage(file.data(), file.size(), &heard));
  size_t at = 0;
  while (at < heard.size() && heard[at] == 0) ++at;
  std::vector<int16_t> expected = first;
  expected.insert(expected.end(), second.begin(), second.end());
  ASSERT_GE(heard.size(), at + expected.size());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), heard.begin() + long(at)));
  EXPECT_EQ(heard[at + expected.size()], 0);
  std::ifstream log(capture + ".log");
  std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("open null"), std::string::npos) << text;
  EXPECT_NE(text.find(" start .wav\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" end .raw\n"), std::string::npos) << text;
}

TEST(Soundkit, StopResumePositionsAndReleasedDevice) {
  Driver driver;
  std::vector<uint8_t> raw = Bytes(Tone(22050 * 2, 1000, 100));
  HSAMPLE s = AIL_allocate_sample_handle(driver.d);
  AIL_init_sample(s);
  ASSERT_EQ(AIL_set_named_sample_file(s, ".raw", raw.data(), uint32_t(raw.size()), 0), 1);
  EXPECT_EQ(AIL_set_named_sample_file(s, ".wav", raw.data(), uint32_t(raw.size()), 0), 0);
  EXPECT_EQ(AIL_set_named_sample_file(s, ".ogg", raw.data(), uint32_t(raw.size()), 0), 0);
  ASSERT_EQ(AIL_set_named_sample_file(s, ".raw", raw.data(), uint32_t(raw.size()), 0), 1);
  int32_t total = 0, current = 0;
  AIL_set_sample_ms_position(s, 1500);
  AIL_sample_ms_position(s, &total, &current);
  EXPECT_EQ(total, 2000);
  EXPECT_EQ(current, 1500);
  AIL_resume_sample(s);
  EXPECT_EQ(AIL_sample_status(s), uint32_t(SMP_PLAYING));
  EXPECT_EQ(AIL_active_sample_count(driver.d), 1);
  AIL_stop_sample(s);
  EXPECT_EQ(AIL_sample_status(s), uint32_t(SMP_STOPPED));
  AIL_resume_sample(s);
  EXPECT_EQ(AIL_digital_handle_release(driver.d), 1);
  EXPECT_EQ(AIL_sample_status(s), uint32_t(SMP_PLAYINGBUTRELEASED));
  AIL_sample_ms_position(s, nullptr, &current);
  std::this_thread::sleep_for(100ms);
  int32_t held = 0;
  AIL_sample_ms_position(s, nullptr, &held);
  EXPECT_EQ(held, current);  // mixing is held while released
  EXPECT_EQ(AIL_digital_handle_reacquire(driver.d), 1);
  EXPECT_TRUE(WaitFor([&] { return AIL_sample_status(s) == SMP_DONE; }));
  AIL_release_sample_handle(s);

  // A MIDI file is loaded but never heard; an unknown one is refused.
  HSAMPLE midi = AIL_allocate_sample_handle(driver.d);
  EXPECT_EQ(AIL_set_named_sample_file(midi, "tune.mid", "MThd", 4, 0), 1);
  AIL_release_sample_handle(midi);
  EXPECT_FALSE(AIL_allocate_sample_handle(nullptr));
}

TEST(Soundkit, StreamPausesAndResumes) {
  std::string path = testing::TempDir() + "soundkit_stream_api.wav";
  std::vector<int16_t> pcm = Tone(22050, 3000, 40);
  {
    std::vector<uint8_t> image(44);
    soundkit::MakeWaveHeader(image.data(), uint32_t(pcm.size() * 2), 22050, 1, 16);
    std::vector<uint8_t> b = Bytes(pcm);
    image.insert(image.end(), b.begin(), b.end());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), long(image.size()));
  }
  Driver driver;
  EXPECT_FALSE(AIL_open_stream(driver.d, (path + ".none").c_str(), 0));
  HSTREAM st = AIL_open_stream(driver.d, path.c_str(), 0);
  ASSERT_TRUE(st);
  AIL_set_stream_user_data(st, 0, 77);
  EXPECT_EQ(AIL_stream_user_data(st, 0), 77);
  AIL_start_stream(st);
  EXPECT_EQ(AIL_stream_status(st), SMP_PLAYING);
  AIL_pause_stream(st, 1);
  EXPECT_EQ(AIL_stream_status(st), SMP_STOPPED);
  AIL_pause_stream(st, 0);
  EXPECT_EQ(AIL_stream_status(st), SMP_PLAYING);
  EXPECT_TRUE(WaitFor([&] { return AIL_stream_status(st) == SMP_DONE; }));
  AIL_close_stream(st);
}

namespace {
std::atomic<int> g_ends{0};
void ReleaseInCallback(HSAMPLE s) {
  ++g_ends;
  // Released inside its own callback: freed when the callback returns.
  if (AIL_sample_user_data(s, 0) == 1) AIL_release_sample_handle(s);
}
}  // namespace

TEST(Soundkit, ThousandRoundsOfStartStopAndReleaseWhileEndsArrive) {
  Driver driver;
  std::vector<uint8_t> shortRaw = Bytes(Tone(60, 500, 10));
  int selfReleased = 0;
  for (int round = 0; round < 1000; ++round) {
    HSAMPLE s = AIL_allocate_sample_handle(driver.d);
    ASSERT_TRUE(s);
    AIL_init_sample(s);
    AIL_set_named_sample_file(s, ".raw", shortRaw.data(), uint32_t(shortRaw.size()), 0);
    AIL_register_EOS_callback(s, ReleaseInCallback);
    bool letItGo = round % 3 == 0;
    AIL_set_sample_user_data(s, 0, letItGo ? 1 : 0);
    AIL_start_sample(s);
    if (letItGo) {
      ++selfReleased;
      continue;
    }
    if (round % 3 == 1) std::this_thread::sleep_for(std::chrono::microseconds(round % 7 * 300));
    AIL_stop_sample(s);
    AIL_release_sample_handle(s);
  }
  EXPECT_TRUE(WaitFor([&] { return AIL_active_sample_count(driver.d) == 0; }));
  EXPECT_TRUE(WaitFor([&] { return g_ends >= selfReleased; }));
}

TEST(Soundkit, PreferencesAndMemory) {
  EXPECT_EQ(AIL_set_preference(15, 1), 0);
  void* block = AIL_mem_alloc_lock(100);
  ASSERT_TRUE(block);
  AIL_mem_free_lock(block);
  AIL_mem_free_lock(nullptr);
  void* image = nullptr;
  uint32_t size = 0;
  EXPECT_EQ(AIL_decompress_ASI("xx", 2, ".mp3", &image, &size, nullptr), 0);
  EXPECT_EQ(image, nullptr);
}
