#include "mixer.h"

#include <algorithm>
#include <cstring>

namespace soundkit {

StreamReader::~StreamReader() {
  if (file_) std::fclose(file_);
}

std::unique_ptr<StreamReader> StreamReader::Open(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  std::unique_ptr<StreamReader> reader(new StreamReader);
  reader->file_ = file;
  // The header and any chunks before the data fit in the first 64 KB of
  // every file this library is given.
  std::vector<uint8_t> head(65536);
  head.resize(std::fread(head.data(), 1, head.size(), file));
  if (!ParseWave(head.data(), head.size(), &reader->info_)) return nullptr;
  reader->Rewind();
  return reader;
}

void StreamReader::Rewind() {
  std::fseek(file_, long(info_.dataOffset), SEEK_SET);
  left_ = info_.declaredSize;
  converter_.reset(new PcmConverter(info_.rate, info_.channels, info_.bits));
  finished_ = false;
}

void StreamReader::Read(std::vector<int16_t>* out) {
  out->clear();
  uint8_t buffer[16384];
  while (out->empty() && !finished_) {
    size_t want = std::min<size_t>(sizeof buffer, left_);
    size_t got = want ? std::fread(buffer, 1, want, file_) : 0;
    left_ -= uint32_t(got);
    converter_->Feed(buffer, got, out);
    if (got == 0) {
      converter_->Finish(out);
      finished_ = true;
    }
  }
}

void Mixer::Add(Voice* voice) {
  if (std::find(voices_.begin(), voices_.end(), voice) == voices_.end()) voices_.push_back(voice);
}

void Mixer::Remove(Voice* voice) { voices_.erase(std::remove(voices_.begin(), voices_.end(), voice), voices_.end()); }

size_t Mixer::PlayingCount() const {
  return size_t(std::count_if(voices_.begin(), voices_.end(), [](const Voice* v) { return v->state == kStatePlaying; }));
}

size_t Mixer::Mix(int16_t* out, size_t frames, std::vector<Voice*>* ended) {
  size_t n = frames;
  bool endedNow = false;
  for (Voice* v : voices_) {
    if (v->state != kStatePlaying || v->silent) continue;
    if (v->pos >= v->pcm.size() && v->stream) {
      v->stream->Read(&v->pcm);
      v->pos = 0;
    }
    if (v->pos >= v->pcm.size()) {
      v->state = kStateDone;
      ended->push_back(v);
      endedNow = true;
      continue;
    }
    n = std::min(n, v->pcm.size() - v->pos);
  }
  if (endedNow) return 0;
  std::vector<int32_t> sum(n, 0);
  for (Voice* v : voices_) {
    if (v->state != kStatePlaying || v->silent) continue;
    const int16_t* src = v->pcm.data() + v->pos;
    for (size_t i = 0; i < n; ++i) sum[i] += src[i];
    v->pos += n;
    if (v->pos == v->pcm.size() && !v->stream) {
      v->state = kStateDone;
      ended->push_back(v);
    }
  }
  for (size_t i = 0; i < n; ++i) out[i] = int16_t(std::clamp<int32_t>(sum[i], -32768, 32767));
  return n;
}

CaptureWriter::~CaptureWriter() { Close(); }

bool CaptureWriter::Open(const std::string& wavePath) {
  Close();
  wave_ = std::fopen(wavePath.c_str(), "wb");
  if (!wave_) return false;
  events_ = std::fopen((wavePath + ".log").c_str(), "w");
  frames_ = 0;
  uint8_t header[44];
  MakeWaveHeader(header, 0, kOutputRate, 1, 16);
  std::fwrite(header, 1, 44, wave_);
  std::fflush(wave_);
  return true;
}

void CaptureWriter::Write(const int16_t* pcm, size_t frames) {
  if (!wave_ || frames == 0) return;
  uint8_t bytes[2 * 1024];
  while (frames > 0) {
    size_t n = std::min<size_t>(frames, 1024);
    for (size_t i = 0; i < n; ++i) {
      bytes[2 * i] = uint8_t(pcm[i]);
      bytes[2 * i + 1] = uint8_t(uint16_t(pcm[i]) >> 8);
    }
    std::fwrite(bytes, 2, n, wave_);
    frames_ += uint32_t(n);
    pcm += n;
    frames -= n;
  }
  uint8_t header[44];
  MakeWaveHeader(header, frames_ * 2, kOutputRate, 1, 16);
  std::fseek(wave_, 0, SEEK_SET);
  std::fwrite(header, 1, 44, wave_);
  std::fseek(wave_, 0, SEEK_END);
  std::fflush(wave_);
}

void CaptureWriter::Event(const char* what, const std::string& name) {
  if (!events_) return;
  std::fprintf(events_, "%u %s %s\n", unsigned(frames_), what, name.c_str());
  std::fflush(events_);
}

void CaptureWriter::Close() {
  if (wave_) std::fclose(wave_);
  if (events_) std::fclose(events_);
  wave_ = events_ = nullptr;
}

}  // namespace soundkit
