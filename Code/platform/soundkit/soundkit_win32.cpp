// Soundkit on Windows: the wave output (waveOut with a ring of blocks) and
// MP3 decoding through the system's MPEG Layer-3 ACM codec.
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <cstring>

#include "soundkit_device.h"
#include "wave_pcm.h"

namespace soundkit {
namespace {

class WaveOutDevice : public OutputDevice {
 public:
  ~WaveOutDevice() override { Close(); }

  bool Open() override {
    if (out_) return true;
    event_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = kOutputRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = kOutputRate * 2;
    if (waveOutOpen(&out_, WAVE_MAPPER, &format, DWORD_PTR(event_), 0, CALLBACK_EVENT) != MMSYSERR_NOERROR) {
      out_ = nullptr;
      CloseHandle(event_);
      event_ = nullptr;
      return false;
    }
    for (Block& b : blocks_) {
      std::memset(&b.header, 0, sizeof b.header);
      b.header.lpData = reinterpret_cast<LPSTR>(b.pcm);
      b.header.dwBufferLength = sizeof b.pcm;
      waveOutPrepareHeader(out_, &b.header, sizeof b.header);
      b.header.dwFlags |= WHDR_DONE;
    }
    next_ = 0;
    return true;
  }

  void Close() override {
    if (!out_) return;
    waveOutReset(out_);
    for (Block& b : blocks_) waveOutUnprepareHeader(out_, &b.header, sizeof b.header);
    waveOutClose(out_);
    CloseHandle(event_);
    out_ = nullptr;
    event_ = nullptr;
  }

  void Play(const int16_t* pcm, size_t frames) override {
    if (!out_) return;
    Block& b = blocks_[next_];
    while (!(b.header.dwFlags & WHDR_DONE)) WaitForSingleObject(event_, 100);
    size_t n = frames < kFrames ? frames : kFrames;
    std::memcpy(b.pcm, pcm, n * 2);
    b.header.dwBufferLength = DWORD(n * 2);
    b.header.dwFlags &= ~WHDR_DONE;
    waveOutWrite(out_, &b.header, sizeof b.header);
    next_ = (next_ + 1) % kBlocks;
  }

  const char* Name() const override { return "waveout"; }

 private:
  static constexpr size_t kFrames = 512;
  static constexpr size_t kBlocks = 6;
  struct Block {
    WAVEHDR header;
    int16_t pcm[kFrames];
  };
  HWAVEOUT out_ = nullptr;
  HANDLE event_ = nullptr;
  Block blocks_[kBlocks];
  size_t next_ = 0;
};

// The rate, channels and frame size of the first MPEG audio frame header
// (layer III).
bool Mp3Shape(const uint8_t* data, size_t size, int* rate, int* channels, int* frameBytes, size_t* start) {
  static const int kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
  // Kilobits per second by index: MPEG-1, then MPEG-2 and 2.5.
  static const int kKbps[2][15] = {{0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
                                   {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};
  size_t i = 0;
  // An ID3v2 tag may come first.
  if (size >= 10 && std::memcmp(data, "ID3", 3) == 0) {
    i = 10 + (size_t(data[6] & 0x7F) << 21 | size_t(data[7] & 0x7F) << 14 | size_t(data[8] & 0x7F) << 7 |
              size_t(data[9] & 0x7F));
  }
  for (; i + 4 <= size; ++i) {
    if (data[i] != 0xFF || (data[i + 1] & 0xE0) != 0xE0) continue;
    int version = (data[i + 1] >> 3) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer = (data[i + 1] >> 1) & 3;    // 1 = layer III
    int rateIndex = (data[i + 2] >> 2) & 3;
    if (version == 1 || layer != 1 || rateIndex == 3 || (data[i + 2] >> 4) == 15) continue;
    int row = version == 3 ? 0 : version == 2 ? 1 : 2;
    *rate = kRates[row][rateIndex];
    *channels = ((data[i + 3] >> 6) == 3) ? 1 : 2;
    int kbps = kKbps[version == 3 ? 0 : 1][data[i + 2] >> 4];
    if (kbps == 0) kbps = 128;  // free format: any size will do as a hint
    *frameBytes = (version == 3 ? 144000 : 72000) * kbps / *rate;
    *start = i;
    return true;
  }
  return false;
}

}  // namespace

std::unique_ptr<OutputDevice> NewSystemDevice() { return std::unique_ptr<OutputDevice>(new WaveOutDevice); }

bool DecodeMp3(const uint8_t* data, size_t size, std::vector<uint8_t>* pcm, int* rate, int* channels) {
  size_t start = 0;
  int frameBytes = 0;
  if (!Mp3Shape(data, size, rate, channels, &frameBytes, &start)) return false;
  MPEGLAYER3WAVEFORMAT mp3 = {};
  mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  mp3.wfx.nChannels = WORD(*channels);
  mp3.wfx.nSamplesPerSec = DWORD(*rate);
  mp3.wfx.nAvgBytesPerSec = DWORD(frameBytes) * DWORD(*rate) / (*rate >= 32000 ? 1152 : 576);
  mp3.wfx.nBlockAlign = 1;
  mp3.wfx.wBitsPerSample = 0;
  mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  mp3.wID = MPEGLAYER3_ID_MPEG;
  mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
  mp3.nBlockSize = WORD(frameBytes);
  mp3.nFramesPerBlock = 1;
  mp3.nCodecDelay = 0;
  WAVEFORMATEX out = {};
  out.wFormatTag = WAVE_FORMAT_PCM;
  out.nChannels = WORD(*channels);
  out.nSamplesPerSec = DWORD(*rate);
  out.wBitsPerSample = 16;
  out.nBlockAlign = WORD(2 * *channels);
  out.nAvgBytesPerSec = out.nSamplesPerSec * out.nBlockAlign;
  HACMSTREAM stream = nullptr;
  if (acmStreamOpen(&stream, nullptr, &mp3.wfx, &out, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0) return false;
  pcm->clear();
  const DWORD kIn = 4096;
  DWORD outSize = 0;
  if (acmStreamSize(stream, kIn, &outSize, ACM_STREAMSIZEF_SOURCE) != 0 || outSize == 0) outSize = 65536;
  std::vector<uint8_t> inBuf(kIn), outBuf(outSize);
  ACMSTREAMHEADER h = {};
  h.cbStruct = sizeof h;
  h.pbSrc = inBuf.data();
  h.cbSrcLength = kIn;
  h.pbDst = outBuf.data();
  h.cbDstLength = outSize;
  bool ok = acmStreamPrepareHeader(stream, &h, 0) == 0;
  size_t at = start;
  size_t carried = 0;
  while (ok) {
    size_t take = std::min<size_t>(kIn - carried, size - at);
    std::memcpy(inBuf.data() + carried, data + at, take);
    at += take;
    h.cbSrcLength = DWORD(carried + take);
    bool last = at >= size;
    DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN;
    if (last) flags = ACM_STREAMCONVERTF_END;
    if (acmStreamConvert(stream, &h, flags) != 0) {
      ok = false;
      break;
    }
    pcm->insert(pcm->end(), outBuf.begin(), outBuf.begin() + h.cbDstLengthUsed);
    carried = h.cbSrcLength - h.cbSrcLengthUsed;
    std::memmove(inBuf.data(), inBuf.data() + h.cbSrcLengthUsed, carried);
    if (last) {
      // Drain what the codec still holds.
      for (int i = 0; i < 8; ++i) {
        h.cbSrcLength = DWORD(carried);
        if (acmStreamConvert(stream, &h, ACM_STREAMCONVERTF_END) != 0 || h.cbDstLengthUsed == 0) break;
        pcm->insert(pcm->end(), outBuf.begin(), outBuf.begin() + h.cbDstLengthUsed);
        carried = h.cbSrcLength - h.cbSrcLengthUsed;
        std::memmove(inBuf.data(), inBuf.data() + h.cbSrcLengthUsed, carried);
      }
      break;
    }
    if (take == 0 && h.cbSrcLengthUsed == 0) break;
  }
  h.cbSrcLength = kIn;
  h.cbDstLength = outSize;
  acmStreamUnprepareHeader(stream, &h, 0);
  acmStreamClose(stream, 0);
  pcm->resize(pcm->size() & ~size_t(2 * *channels - 1));
  return ok && !pcm->empty();
}

}  // namespace soundkit
