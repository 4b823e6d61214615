// Voice clips: clip text, the idle-time builder and the one-current-clip switch.
#include "voice_clip.h"

#include <algorithm>
#include <cstdio>

#include "markup_groups.h"

namespace {

// A W or Z group gives the piece name; the Z form's two numbers are skipped.
bool VoiceName(const std::string& content, std::string* name) {
  if (content.size() < 2 || content[1] != ':') return false;
  char c = content[0];
  if (c == 'W' || c == 'w') {
    *name = content.substr(2);
    return true;
  }
  if (c == 'Z' || c == 'z') {
    size_t colon = content.find(':', 2);
    *name = content.substr(2, colon == std::string::npos ? std::string::npos : colon - 2);
    return true;
  }
  return false;
}

// The group opened at text[open]: its content and the index after it.
size_t ReadGroup(const std::string& text, size_t open, std::string* content) {
  size_t end = FindGroupEnd(text, open);
  int depth = 0;
  for (size_t i = open; i < end; ++i) depth += text[i] == '{' ? 1 : text[i] == '}' ? -1 : 0;
  size_t stop = depth == 0 ? end - 1 : end;  // an unclosed group keeps all it has
  *content = text.substr(open + 1, stop - (open + 1));
  return end;
}

int32_t Millis(size_t bytes, int rate) {
  if (rate <= 0) return 0;
  int64_t ms = static_cast<int64_t>(bytes) * 1000 / (static_cast<int64_t>(rate) * 2);
  return static_cast<int32_t>(std::min<int64_t>(ms, INT32_MAX));
}

}  // namespace

std::vector<ClipGroup> ParseClipGroups(const std::string& text) {
  std::vector<ClipGroup> groups;
  size_t i = 0;
  while ((i = text.find('{', i)) != std::string::npos) {
    std::string content;
    i = ReadGroup(text, i, &content);
    ClipGroup g;
    g.voice = VoiceName(content, &g.text);
    if (!g.voice) g.text = content;
    groups.push_back(std::move(g));
  }
  return groups;
}

bool MarkupVoiceTag(const std::string& text, std::string* out) {
  out->clear();
  size_t i = 0;
  while ((i = text.find('{', i)) != std::string::npos) {
    if (i + 1 < text.size() && (text[i + 1] == 'W' || text[i + 1] == 'w')) {
      size_t start = i + 2;
      if (start < text.size() && text[start] == ':') ++start;
      size_t close = text.find('}', start);
      if (close == std::string::npos) close = text.size();
      *out = text.substr(start, close - start);
      return true;
    }
    ++i;
  }
  return false;
}

ClipBuilder::ClipBuilder(ClipSoundLayer* sound, int dataSet, const std::string& text,
                         const ClipSettings& settings)
    : sound_(sound), dataSet_(dataSet), text_(text), settings_(settings) {
  if (dataSet != kClipNoDataSet && !sound_->DataSetOpen(dataSet)) return;
  if (dataSet != kClipMoveDataSet) streamPath_ = sound_->NewStreamFile();
  started_ = true;
}

ClipBuilder::~ClipBuilder() {
  if (!streamPath_.empty()) sound_->DeleteStream(streamPath_);
}

std::string ClipBuilder::HandOver() {
  std::string path;
  path.swap(streamPath_);
  return path;
}

bool ClipBuilder::Step() {
  if (!started_) return false;
  size_t open = text_.find('{', cursor_);
  if (open == std::string::npos || stopRequested_) {
    cursor_ = text_.size();
    return false;
  }
  std::string content, name;
  cursor_ = ReadGroup(text_, open, &content);
  if (VoiceName(content, &name))
    AddPiece(name);
  else
    events_.push_back({timeMs_, content});
  return !stopRequested_;
}

void ClipBuilder::AddPiece(const std::string& name) {
  if (!settings_.doIvaAudio) return;
  char item[300];
  std::snprintf(item, sizeof item, "%s.raw", name.c_str());
  VoicePiece piece;
  if (!sound_->LoadItem(dataSet_, item, &piece)) {
    if (!sound_->DataSetOpen(dataSet_)) return;
    if (!sound_->LoadItem(0, "buzz.mp3", &piece) && !sound_->LoadItem(0, "buzz.raw", &piece)) return;
  }
  // IMA pieces have no decoder here: they add neither sound nor time.
  if (piece.kind == PieceKind::Imap) return;
  if (dataSet_ == kClipMoveDataSet) {
    sound_->QueueSamplePiece(piece.kind, piece.bytes);
    timeMs_ += Millis(piece.bytes.size(), kClipSampleRate);
    audioPresent_ = true;
    return;
  }
  if (piece.kind == PieceKind::Mp3) {
    std::vector<uint8_t> pcm;
    int rate = kClipSampleRate;
    if (!sound_->DecodeMp3(piece.bytes, &pcm, &rate)) return;
    if (!pcm.empty() && !sound_->AppendToStream(streamPath_, pcm.data(), pcm.size())) return;
    timeMs_ += Millis(pcm.size(), rate);
  } else {
    // Raw PCM, ADPCM (the loader hands it over decoded) and the buzz.
    if (!piece.bytes.empty() && !sound_->AppendToStream(streamPath_, piece.bytes.data(), piece.bytes.size()))
      return;
    timeMs_ += Millis(piece.bytes.size(), kClipSampleRate);
  }
  audioPresent_ = true;
}

std::string ChooseStreamFileName(const std::string& tempFolder, uint32_t nowMs,
                                 const std::function<bool(const std::string&)>& exists) {
  std::string folder = tempFolder;
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  for (;; ++nowMs) {
    char name[32];
    std::snprintf(name, sizeof name, "\\stream_%x.wav", nowMs);
    std::string path = folder + name;
    if (!exists(path)) return path;
  }
}

VoiceClipSwitch::Clip* VoiceClipSwitch::Start(Form form, int dataSet, const std::string& text,
                                              const ClipSettings& settings, std::function<void()> onEnd) {
  if (form == Form::Voice && !settings.doIva) return nullptr;
  if (Clip* current = Current()) current->builder.RequestStop();
  Clip* clip = new Clip(sound_, dataSet, text, settings);
  clip->flags = form == Form::Voice ? 16 : 0;
  clip->markup = form != Form::Audio;
  if (form == Form::WithCallback) clip->onEnd = std::move(onEnd);
  clips_.push_back(clip);
  return clip;
}

void VoiceClipSwitch::Idle(const std::function<void(Clip&, bool)>& done) {
  std::vector<Clip*> running = clips_;
  for (Clip* clip : running) {
    if (clip->builder.Step()) continue;
    clips_.erase(std::find(clips_.begin(), clips_.end(), clip));
    if (done) done(*clip, clip->builder.StopRequested());
    delete clip;
  }
}

bool VoiceClipSwitch::StopNow(Clip* clip) {
  auto it = std::find(clips_.begin(), clips_.end(), clip);
  if (it == clips_.end()) return false;
  clips_.erase(it);
  if (clip->onEnd) clip->onEnd();
  delete clip;
  return true;
}

VoiceClipSwitch::~VoiceClipSwitch() {
  for (Clip* clip : clips_) delete clip;
}
