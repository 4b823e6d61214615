// Clip text, event times from the sound built, the stream file's life and
// the one-current-clip switch, against a sound layer that keeps everything
// in memory.
#include "voice_clip.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

class FakeSound : public ClipSoundLayer {
 public:
  std::map<std::string, VoicePiece> items;  // "set/name"
  std::set<int> open{0, 2, 3, 5};
  std::map<std::string, size_t> streams;  // path -> bytes appended
  std::vector<std::string> deleted;
  std::vector<size_t> sample;
  int next = 0;

  void Put(int set, const std::string& name, PieceKind kind, size_t bytes) {
    items[std::to_string(set) + "/" + name] = {kind, std::vector<uint8_t>(bytes, 1)};
  }
  bool DataSetOpen(int set) override { return open.count(set) != 0; }
  bool LoadItem(int set, const std::string& name, VoicePiece* out) override {
    if (!open.count(set)) return false;
    auto it = items.find(std::to_string(set) + "/" + name);
    if (it == items.end()) return false;
    *out = it->second;
    return true;
  }
  bool DecodeMp3(const std::vector<uint8_t>& mp3, std::vector<uint8_t>* pcm, int* rate) override {
    pcm->assign(mp3.size() * 4, 0);  // 4 PCM bytes per MP3 byte at 11,025 Hz
    *rate = 11025;
    return true;
  }
  std::string NewStreamFile() override {
    std::string p = "C:\\temp\\stream_" + std::to_string(next++) + ".wav";
    streams[p] = 0;
    return p;
  }
  bool AppendToStream(const std::string& path, const uint8_t*, size_t bytes) override {
    streams[path] += bytes;
    return true;
  }
  void DeleteStream(const std::string& path) override {
    deleted.push_back(path);
    streams.erase(path);
  }
  void QueueSamplePiece(PieceKind, const std::vector<uint8_t>& bytes) override {
    sample.push_back(bytes.size());
  }
};

std::vector<ClipEvent> Build(FakeSound& sound, int set, const std::string& text, ClipSettings settings = {},
                             size_t* streamBytes = nullptr) {
  ClipBuilder b(&sound, set, text, settings);
  while (b.Step()) {
  }
  if (streamBytes) *streamBytes = sound.streams[b.StreamPath()];
  return b.Events();
}

TEST(ClipText, GroupsAndVoiceTag) {
  auto g = ParseClipGroups("say {W:intro} then {H:e4d5}{Z:two:10:20} {Q:why?;{W:q1}{H:e4};x} end{C}");
  ASSERT_EQ(g.size(), 5u);
  EXPECT_TRUE(g[0].voice);
  EXPECT_EQ(g[0].text, "intro");
  EXPECT_EQ(g[1].text, "H:e4d5");
  EXPECT_TRUE(g[2].voice);
  EXPECT_EQ(g[2].text, "two");
  EXPECT_EQ(g[3].text, "Q:why?;{W:q1}{H:e4};x");  // nested groups kept whole
  EXPECT_FALSE(g[3].voice);
  EXPECT_EQ(g[4].text, "C");
  auto open = ParseClipGroups("{H:e4}{Q:a{b}");  // an unclosed group keeps its whole text
  ASSERT_EQ(open.size(), 2u);
  EXPECT_EQ(open[1].text, "Q:a{b}");
  std::string tag;
  EXPECT_TRUE(MarkupVoiceTag("Nice {H:e4}{w:good_move}", &tag));
  EXPECT_EQ(tag, "good_move");
  EXPECT_FALSE(MarkupVoiceTag("{H:e4}", &tag));
  EXPECT_EQ(tag, "");
}

TEST(ClipBuilder, EventTimesFollowTheSoundBuilt) {
  FakeSound sound;
  sound.Put(2, "one.raw", PieceKind::Pcm, 44100);    // 1 s
  sound.Put(2, "adp.raw", PieceKind::Adpcm, 22050);  // 0.5 s, decoded by the loader
  sound.Put(2, "ima.raw", PieceKind::Imap, 9999);    // skipped, no time
  sound.Put(2, "mp.raw", PieceKind::Mp3, 11025);     // 44,100 PCM bytes at 11,025 Hz = 2 s
  sound.Put(0, "buzz.raw", PieceKind::Pcm, 2205);    // 50 ms
  struct Case {
    const char* text;
    ClipSettings settings;
    std::vector<int32_t> times;
    size_t bytes;
  } cases[] = {
      {"{H:e4}{A:e2e4}", {}, {0, 0}, 0},
      {"{W:one}{W:one}{H:e4}{W:one}{C}", {}, {2000, 3000}, 3 * 44100},
      {"{W:one}{H:e4}", {true, false}, {0}, 0},
      {"{W:one}{W:adp}{H:e4}{W:ima}{C}", {}, {1500, 1500}, 66150},
      {"{W:mp}{H:e4}", {}, {2000}, 44100},
      {"{W:missing}{H:e4}", {}, {50}, 2205},
      {"{Z:one:3:4}{H:e4}", {}, {1000}, 44100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    size_t bytes = 0;
    auto events = Build(sound, 2, c.text, c.settings, &bytes);
    ASSERT_EQ(events.size(), c.times.size());
    for (size_t i = 0; i < events.size(); ++i) EXPECT_EQ(events[i].timeMs, c.times[i]);
    EXPECT_EQ(bytes, c.bytes);
  }
  // A missing piece of a closed data set is skipped without a buzz.
  sound.open.erase(3);
  ClipBuilder closed(&sound, 3, "{W:one}{H:e4}", {});
  EXPECT_FALSE(closed.Started());
  EXPECT_FALSE(closed.Step());
  // Move voices go to the sample, not a stream.
  sound.Put(5, "e4.raw", PieceKind::Pcm, 4410);
  auto ev = Build(sound, 5, "{W:e4}{W:e4}{X:e4}");
  EXPECT_EQ(ev[0].timeMs, 200);
  EXPECT_EQ(sound.sample.size(), 2u);
}

TEST(ClipBuilder, StreamFileIsDeletedOnEveryEnd) {
  FakeSound sound;
  sound.Put(2, "one.raw", PieceKind::Pcm, 100);
  {
    ClipBuilder b(&sound, 2, "{W:one}{H:e4}", {});
    b.Step();  // stopped while building
  }
  {
    ClipBuilder b(&sound, 2, "{W:one}", {});
    while (b.Step()) {
    }
  }
  std::string kept;
  {
    ClipBuilder b(&sound, 2, "{W:one}", {});
    while (b.Step()) {
    }
    kept = b.HandOver();  // the player deletes it when it ends
  }
  EXPECT_EQ(sound.deleted.size(), 2u);
  EXPECT_EQ(sound.streams.count(kept), 1u);
  int probes = 0;
  std::string name = ChooseStreamFileName("C:\\Temp\\", 0xab,
                                          [&](const std::string& p) { return ++probes < 3 && !p.empty(); });
  EXPECT_EQ(name, "C:\\Temp\\stream_ad.wav");
}

TEST(VoiceClipSwitch, SecondClipStopsTheFirstAtItsNextGroup) {
  FakeSound sound;
  sound.Put(2, "one.raw", PieceKind::Pcm, 44100);
  VoiceClipSwitch sw(&sound);
  ClipSettings off;
  off.doIva = false;
  EXPECT_EQ(sw.Start(VoiceClipSwitch::Form::Voice, 2, "{H:e4}", off), nullptr);
  EXPECT_NE(sw.Start(VoiceClipSwitch::Form::Audio, 2, "{H:e4}", off), nullptr);
  sw.Idle(nullptr);
  sw.Idle(nullptr);
  ASSERT_EQ(sw.Building(), 0u);

  auto* first = sw.Start(VoiceClipSwitch::Form::Voice, 2, "{W:one}{H:a1}{H:b2}{H:c3}", {});
  EXPECT_EQ(first->flags, 16);
  sw.Idle(nullptr);  // first builds its voice piece
  auto* second = sw.Start(VoiceClipSwitch::Form::WithCallback, 2, "{H:h8}", {});
  EXPECT_TRUE(second->markup);
  std::vector<std::pair<size_t, bool>> ended;
  for (int i = 0; i < 4 && sw.Building(); ++i)
    sw.Idle([&](VoiceClipSwitch::Clip& c, bool stopped) {
      ended.push_back({c.builder.Events().size(), stopped});
    });
  ASSERT_EQ(ended.size(), 2u);
  EXPECT_EQ(ended[0], (std::pair<size_t, bool>{0, true}));  // stopped at its next group
  EXPECT_EQ(ended[1], (std::pair<size_t, bool>{1, false}));
  EXPECT_EQ(sound.streams.size(), 0u);  // both stream files went

  int called = 0;
  auto* third = sw.Start(VoiceClipSwitch::Form::WithCallback, 2, "{W:one}", {}, [&] { ++called; });
  EXPECT_TRUE(sw.StopNow(third));
  EXPECT_EQ(called, 1);
  EXPECT_FALSE(sw.StopNow(third));
}

}  // namespace
