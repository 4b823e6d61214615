// Voice clips: a clip text (voice groups and event groups) built, one group
// per idle step, into one stream of 16-bit mono sound and a list of events
// timed by the sound that comes before them.
//
// Interface: ParseClipGroups, ClipSoundLayer, ClipSettings, ClipBuilder,
// VoiceClipSwitch, ChooseStreamFileName, MarkupVoiceTag.
//
// The sound layer is an interface so the builder runs without a sound
// device: it loads items, decodes MP3, writes the stream file and deletes
// it. The stream file belongs to the builder until HandOver(); a clip that
// ends in any other way deletes it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int kClipNoDataSet = 9999;
constexpr int kClipMoveDataSet = 5;
constexpr int kClipSampleRate = 22050;

struct ClipGroup {
  bool voice;        // a W or Z group: text is the piece's name
  std::string text;  // event: the group's content without its outer braces
};

// The groups of a clip text in order; text outside groups is skipped.
std::vector<ClipGroup> ParseClipGroups(const std::string& text);

// The content of the first "{W"/"{w" group (after an optional colon), or
// empty with false.
bool MarkupVoiceTag(const std::string& text, std::string* out);

enum class PieceKind { Pcm, Mp3, Adpcm, Imap, Other };

struct VoicePiece {
  PieceKind kind = PieceKind::Pcm;
  std::vector<uint8_t> bytes;  // Adpcm comes from the item loader decoded to PCM
};

class ClipSoundLayer {
 public:
  virtual ~ClipSoundLayer() = default;
  virtual bool DataSetOpen(int dataSet) = 0;
  // The item (a loose file first, else the archive member); false when missing.
  virtual bool LoadItem(int dataSet, const std::string& name, VoicePiece* out) = 0;
  // PCM bytes and their rate; the decoder trims its own lead-in and tail.
  virtual bool DecodeMp3(const std::vector<uint8_t>& mp3, std::vector<uint8_t>* pcm, int* rate) = 0;
  // Stream file (other data sets) and sound sample (data set 5).
  virtual std::string NewStreamFile() = 0;
  virtual bool AppendToStream(const std::string& path, const uint8_t* pcm, size_t bytes) = 0;
  virtual void DeleteStream(const std::string& path) = 0;
  virtual void QueueSamplePiece(PieceKind kind, const std::vector<uint8_t>& bytes) = 0;
};

struct ClipSettings {
  bool doIva = true;       // [debug] "DoIVA"
  bool doIvaAudio = true;  // [debug] "DoIVAAudio"
};

struct ClipEvent {
  int32_t timeMs;
  std::string text;
};

class ClipBuilder {
 public:
  // Nothing is started when a data set other than 9999 is closed (Started()
  // is then false and Step() reports done at once).
  ClipBuilder(ClipSoundLayer* sound, int dataSet, const std::string& text, const ClipSettings& settings);
  ~ClipBuilder();  // deletes the stream file unless it was handed over
  ClipBuilder(const ClipBuilder&) = delete;
  ClipBuilder& operator=(const ClipBuilder&) = delete;

  bool Started() const { return started_; }
  // One group per call; true while there is more to do.
  bool Step();
  void RequestStop() { stopRequested_ = true; }
  bool StopRequested() const { return stopRequested_; }
  bool AudioPresent() const { return audioPresent_; }
  int32_t TimeMs() const { return timeMs_; }
  const std::vector<ClipEvent>& Events() const { return events_; }
  const std::string& StreamPath() const { return streamPath_; }
  // The player takes the stream file and deletes it when it ends.
  std::string HandOver();

 private:
  void AddPiece(const std::string& name);

  ClipSoundLayer* sound_;
  int dataSet_;
  std::string text_;
  size_t cursor_ = 0;
  ClipSettings settings_;
  bool started_ = false;
  bool stopRequested_ = false;
  bool audioPresent_ = false;
  int32_t timeMs_ = 0;
  std::vector<ClipEvent> events_;
  std::string streamPath_;
};

// "%s\stream_%x.wav" in the temp folder from the millisecond time, taken
// again (one millisecond on) until no file of that name exists.
std::string ChooseStreamFileName(const std::string& tempFolder, uint32_t nowMs,
                                 const std::function<bool(const std::string&)>& exists);

// At most one clip is current: starting one asks the current one to stop,
// which ends it at its next group.
class VoiceClipSwitch {
 public:
  enum class Form { Voice, Audio, WithCallback };
  struct Clip {
    ClipBuilder builder;
    int flags;    // 16 = started through the voice switch
    bool markup;  // the caller plays markup
    std::function<void()> onEnd;
    Clip(ClipSoundLayer* s, int set, const std::string& t, const ClipSettings& c)
        : builder(s, set, t, c), flags(0), markup(false) {}
  };

  explicit VoiceClipSwitch(ClipSoundLayer* sound) : sound_(sound) {}
  // None when the voice switch is off (Form::Voice only).
  Clip* Start(Form form, int dataSet, const std::string& text, const ClipSettings& settings,
              std::function<void()> onEnd = nullptr);
  // Runs one step of every clip being built; a clip that finishes is given
  // to `done` (true when it was stopped) and then freed.
  void Idle(const std::function<void(Clip&, bool stopped)>& done);
  // Stops a clip being built at once: its callback runs and it is freed.
  bool StopNow(Clip* clip);
  Clip* Current() const { return clips_.empty() ? nullptr : clips_.back(); }
  size_t Building() const { return clips_.size(); }
  ~VoiceClipSwitch();

 private:
  ClipSoundLayer* sound_;
  std::vector<Clip*> clips_;
};
