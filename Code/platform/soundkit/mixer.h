// Soundkit core: voices (samples and streams) and the mixer that sums them
// into the output format, clipped. Holds no lock and starts no thread: the
// library's front end calls it under its own lock.
//
// Interface: Voice, StreamReader, Mixer::Add / Remove / Mix, CaptureWriter.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "wave_pcm.h"

namespace soundkit {

// The library's sample states; streams use the same values.
enum VoiceState { kStateFree = 1, kStateDone = 2, kStatePlaying = 4, kStateStopped = 8, kStatePlayingReleased = 16 };

// Reads a WAVE file piece by piece as it plays.
class StreamReader {
 public:
  ~StreamReader();
  // None when the file cannot be opened or is no PCM WAVE file.
  static std::unique_ptr<StreamReader> Open(const std::string& path);
  // Replaces `out` with the next piece; empty at the end.
  void Read(std::vector<int16_t>* out);
  void Rewind();

 private:
  StreamReader() = default;
  std::FILE* file_ = nullptr;
  WaveInfo info_;
  uint32_t left_ = 0;
  std::unique_ptr<PcmConverter> converter_;
  bool finished_ = false;
};

struct Voice {
  int state = kStateDone;
  std::vector<int16_t> pcm;  // a sample's whole sound, or a stream's current piece
  size_t pos = 0;
  StreamReader* stream = nullptr;
  bool silent = false;  // MIDI: loaded, never played
};

class Mixer {
 public:
  void Add(Voice* voice);
  void Remove(Voice* voice);
  // Mixes up to `frames` frames into `out` and returns how many it mixed. It
  // stops at the first frame where a playing voice ends, so that whoever
  // handles the end can start the next sound at the very next frame; the
  // voices that ended are appended to `ended` (state done).
  size_t Mix(int16_t* out, size_t frames, std::vector<Voice*>* ended);
  size_t PlayingCount() const;

 private:
  std::vector<Voice*> voices_;
};

// Writes everything mixed to a WAVE file (sizes kept current after every
// block, so a reader may look while it runs) and a line per event to a text
// file beside it: "<frame> <event> <name>".
class CaptureWriter {
 public:
  ~CaptureWriter();
  bool Open(const std::string& wavePath);
  void Write(const int16_t* pcm, size_t frames);
  void Event(const char* what, const std::string& name);
  void Close();
  bool IsOpen() const { return wave_ != nullptr; }

 private:
  std::FILE* wave_ = nullptr;
  std::FILE* events_ = nullptr;
  uint32_t frames_ = 0;
};

}  // namespace soundkit
