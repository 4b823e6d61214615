// Voice clips in the program: builders stepped in the main loop's idle
// passes, then the stream played through the sound layer with the events
// at their times.
#include "voice_clips_win32.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "app_globals.h"
#include "callback_queue.h"
#include "data_sets.h"
#include "main_loop.h"
#include "message_box.h"
#include "packfile.h"
#include "sound_layer.h"
#include "sound_wave.h"
#include "teaching_board_seam.h"
#include "window_table.h"

struct VoiceClipHandle {
  std::unique_ptr<ClipBuilder> builder;  // while the sound is being built
  int flags = 0;
  bool markup = false;
  ClipDoneCallback done = nullptr;
  void* argument = nullptr;
  // Playing.
  SoundObject* sound = nullptr;
  std::string stream;
  std::vector<ClipEvent> events;
  size_t next = 0;
  DWORD startTick = 0;
  DWORD pausedAt = 0;
  DWORD delayStart = 0;
  DWORD delayMs = 0;
  bool stopRequested = false;
};

namespace {

constexpr uint32_t kClipKey1 = 11, kClipKey2 = 10;
constexpr int kClipQueue = 0;

std::vector<VoiceClipHandle*> g_building;
VoiceClipHandle* g_playing = nullptr;
bool g_queued = false;
LessonEventHandler g_lessonHandler = nullptr;
PlayedClipRecord g_lastPlayed;
TeachingBoardSeam g_seam;

class ProgramClipSound : public ClipSoundLayer {
 public:
  bool DataSetOpen(int dataSet) override { return IsDataSetOpen(dataSet) != 0; }
  bool LoadItem(int dataSet, const std::string& name, VoicePiece* out) override {
    void* data = nullptr;
    uint32_t tag = 0, stored = 0, size = 0;
    if (!LoadDataItem(name.c_str(), dataSet, &data, &tag, &stored, &size) || !data) return false;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    out->bytes.assign(bytes, bytes + size);
    datUnloadItem(data);
    if (tag == DAT_KIND('M', 'P', '3', ' ')) out->kind = PieceKind::Mp3;
    else if (tag == DAT_KIND_ADPCM) out->kind = PieceKind::Adpcm;
    else if (tag == DAT_KIND('I', 'M', 'A', 'P')) out->kind = PieceKind::Imap;
    else out->kind = PieceKind::Pcm;
    return true;
  }
  bool DecodeMp3(const std::vector<uint8_t>& mp3, std::vector<uint8_t>* pcm, int* rate) override {
    uint8_t* image = nullptr;
    uint32_t size = 0;
    if (!DecodeMp3Sound(mp3.data(), static_cast<uint32_t>(mp3.size()), &image, &size) || !image) return false;
    const uint32_t skip = IsRiffData(image) && size >= kWaveHeaderSize ? kWaveHeaderSize : 0;
    pcm->assign(image + skip, image + size);
    SoundFree(image);
    *rate = kClipSampleRate;
    return true;
  }
  std::string NewStreamFile() override {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string folder = temp;
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return ChooseStreamFileName(folder, GetTickCount(), [](const std::string& p) {
      return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
  }
  bool AppendToStream(const std::string& path, const uint8_t* pcm, size_t bytes) override {
    const bool create = GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    return AppendWaveData(pcm, static_cast<uint32_t>(bytes), path.c_str(), 0, 0, create) > 0;
  }
  void DeleteStream(const std::string& path) override {
    if (!path.empty()) DeleteFileA(path.c_str());
  }
  void QueueSamplePiece(PieceKind, const std::vector<uint8_t>&) override {}
};

ProgramClipSound g_sound;

void EndClip(VoiceClipHandle* clip) {
  if (clip->sound) {
    StopSound(clip->sound);
    FreeSoundObject(clip->sound);
    clip->sound = nullptr;
  }
  if (!clip->stream.empty()) DeleteFileA(clip->stream.c_str());
  clip->builder.reset();  // deletes a stream file it still owns
  clip->flags = 0;
  ClipDoneCallback done = clip->done;
  void* argument = clip->argument;
  if (g_playing == clip) g_playing = nullptr;
  g_building.erase(std::remove(g_building.begin(), g_building.end(), clip), g_building.end());
  delete clip;
  if (done) done(argument);
}

HWND BoardWindow() { return static_cast<HWND>(GetNumberedWindow(WIN_BOARD)); }

void PlayEvent(VoiceClipHandle* clip, const std::string& text) {
  if (text.empty()) return;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  if (std::strchr("VEQIFLTJ", letter)) {
    if (g_lessonHandler) g_lessonHandler(text);
    return;
  }
  if (letter == 'D') {
    if (clip->flags & kClipFlagFinished) return;
    clip->flags |= kClipFlagDelay;
    clip->delayStart = GetTickCount();
    clip->delayMs = static_cast<DWORD>(std::max(0, std::atoi(text.c_str() + (text.size() > 1 && text[1] == ':' ? 2 : 1))));
    return;
  }
  if (letter == 'P' && text.size() >= 5 && _strnicmp(text.c_str(), "PAUSE", 5) == 0) {
    std::string message = text.size() > 6 && text[5] == ':'
                              ? text.substr(6)
                              : "Pausing while you think about the current position. Press OK to Continue....";
    PauseVoiceClip(clip);
    AppMessageBox(message.c_str(), MB_OK);
    if (g_playing == clip) ResumeVoiceClip(clip);
    return;
  }
  if (g_seam.playBoardEvent) g_seam.playBoardEvent(BoardWindow(), text.c_str());
}

// One step of the playing clip; true when it has ended.
bool StepPlaying(VoiceClipHandle* clip) {
  if (clip->stopRequested) return true;
  if (clip->flags & kClipFlagPaused) return false;
  const DWORD now = GetTickCount();
  if (clip->flags & kClipFlagDelay) {
    if (!(clip->flags & kClipFlagFinished) && now - clip->delayStart < clip->delayMs) return false;
    clip->flags &= ~kClipFlagDelay;
    // The delay holds the clock: later events move on by its length.
    clip->startTick += clip->delayMs;
  }
  if (clip->next < clip->events.size()) {
    const ClipEvent& e = clip->events[clip->next];
    const bool due = (clip->flags & kClipFlagFinished) || static_cast<int32_t>(now - clip->startTick) >= e.timeMs;
    if (!due) return false;
    ++clip->next;
    PlayEvent(clip, e.text);
    return clip->stopRequested;
  }
  if (!(clip->flags & kClipFlagFinished) && clip->sound && GetSoundStatus(clip->sound) == 1) return false;
  return true;
}

void StartPlaying(VoiceClipHandle* clip, const ClipSettings& settings) {
  ClipBuilder& b = *clip->builder;
  clip->events = b.Events();
  g_lastPlayed.events = clip->events;
  g_lastPlayed.soundMs = b.TimeMs();
  g_lastPlayed.audio = b.AudioPresent();
  clip->stream = b.HandOver();
  clip->builder.reset();
  if (g_lastPlayed.audio && settings.doIvaAudio && !clip->stream.empty()) {
    std::string path = clip->stream;
    clip->sound = PlayWaveStream(&path[0]);
    clip->stream = path;
  }
  clip->flags = kClipFlagPlaying;
  clip->startTick = GetTickCount();
  g_playing = clip;
}

uint32_t StepClips(void*) {
  const ClipSettings settings = ClipSettingsFromIni();
  // One group of every clip being built.
  std::vector<VoiceClipHandle*> building = g_building;
  for (VoiceClipHandle* clip : building) {
    if (!clip->builder) continue;
    if (clip->builder->Step()) continue;
    g_building.erase(std::remove(g_building.begin(), g_building.end(), clip), g_building.end());
    if (clip->stopRequested || clip->builder->StopRequested()) {
      EndClip(clip);
      continue;
    }
    if (g_playing) EndClip(g_playing);
    StartPlaying(clip, settings);
  }
  if (g_playing && StepPlaying(g_playing)) EndClip(g_playing);
  if (g_building.empty() && !g_playing) {
    g_queued = false;
    ChangePollCount(0);
    return 1;
  }
  return 0;
}

void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (StepClips(nullptr)) KillTimer(nullptr, id);
}

void Queue() {
  if (g_queued) return;
  QueuedCallback entry{kClipKey1, kClipKey2, 0, StepClips, nullptr, nullptr};
  if (!AddQueuedCallback(kClipQueue, &entry)) {
    // Without the main loop's queue (tests with their own loop) a timer runs
    // the steps.
    SetTimer(nullptr, 0, 10, StepTimer);
  }
  g_queued = true;
  ChangePollCount(1);
}

VoiceClipHandle* Start(int dataSet, const std::string& text, bool voiceSwitch, bool markup, ClipDoneCallback done,
                       void* argument) {
  const ClipSettings settings = ClipSettingsFromIni();
  if (voiceSwitch && !settings.doIva) return nullptr;
  // Starting a clip asks the current one to stop.
  if (VoiceClipHandle* current = GetCurrentVoiceClip()) RequestVoiceClipStop(current);
  auto* clip = new VoiceClipHandle;
  clip->builder = std::make_unique<ClipBuilder>(&g_sound, dataSet, text, settings);
  if (!clip->builder->Started()) {
    delete clip;
    return nullptr;
  }
  clip->flags = voiceSwitch ? kClipFlagVoiceSwitch : 0;
  clip->markup = markup;
  clip->done = done;
  clip->argument = argument;
  g_building.push_back(clip);
  Queue();
  return clip;
}

bool Live(VoiceClipHandle* clip) {
  return clip && (clip == g_playing || std::find(g_building.begin(), g_building.end(), clip) != g_building.end());
}

}  // namespace

TeachingBoardSeam& GetTeachingBoardSeam() { return g_seam; }
void SetTeachingBoardSeam(const TeachingBoardSeam& seam) { g_seam = seam; }

ClipSettings ClipSettingsFromIni() {
  ClipSettings s;
  const char* ini = GetSettingsIniPath();
  if (ini && *ini) {
    s.doIva = GetPrivateProfileIntA("debug", "DoIVA", 1, ini) != 0;
    s.doIvaAudio = GetPrivateProfileIntA("debug", "DoIVAAudio", 1, ini) != 0;
  }
  return s;
}

VoiceClipHandle* StartVoiceClip(int dataSet, const std::string& text) {
  return Start(dataSet, text, true, true, nullptr, nullptr);
}
VoiceClipHandle* StartAudioClip(int dataSet, const std::string& text) {
  return Start(dataSet, text, false, false, nullptr, nullptr);
}
VoiceClipHandle* StartVoiceClipWithCallback(int dataSet, const std::string& text, ClipDoneCallback done,
                                            void* argument) {
  return Start(dataSet, text, false, true, done, argument);
}

int RequestVoiceClipStop(VoiceClipHandle* clip) {
  if (!clip) clip = GetCurrentVoiceClip();
  if (!Live(clip)) return 0;
  clip->stopRequested = true;
  if (clip->builder) clip->builder->RequestStop();
  return 1;
}

int StopVoiceClip() {
  VoiceClipHandle* clip = GetCurrentVoiceClip();
  if (!clip) return 0;
  EndClip(clip);
  return 1;
}

int PauseVoiceClip(VoiceClipHandle* clip) {
  if (!Live(clip) || clip != g_playing || (clip->flags & kClipFlagPaused)) return 0;
  clip->flags |= kClipFlagPaused;
  clip->pausedAt = GetTickCount();
  if (clip->sound) ToggleSoundPause(clip->sound);
  return 1;
}

int ResumeVoiceClip(VoiceClipHandle* clip) {
  if (!Live(clip) || clip != g_playing || !(clip->flags & kClipFlagPaused)) return 0;
  const DWORD paused = GetTickCount() - clip->pausedAt;
  clip->startTick += paused;
  clip->delayStart += paused;
  clip->flags &= ~kClipFlagPaused;
  if (clip->sound) ToggleSoundPause(clip->sound);
  return 1;
}

void SetVoiceClipDone(VoiceClipHandle* clip) {
  if (Live(clip) && clip == g_playing) clip->flags = kClipFlagFinished;
}

int GetVoiceClipFlags(VoiceClipHandle* clip) { return Live(clip) ? clip->flags : 0; }

VoiceClipHandle* GetCurrentVoiceClip() {
  if (!g_building.empty()) return g_building.back();
  return g_playing;
}

int GetCommentVoiceTag(const char* text, std::string* out) {
  return text && MarkupVoiceTag(text, out) ? 1 : 0;
}

void SetLessonEventHandler(LessonEventHandler handler) { g_lessonHandler = handler; }

const PlayedClipRecord& LastClipEvents() { return g_lastPlayed; }
