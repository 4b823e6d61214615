// AVI clips through AVIFile and waveOut. See aviclip.h.
#include "aviclip.h"

#include <mmsystem.h>
#include <vfw.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The system's own AVI file handler.
const CLSID kAviFileHandler = {0x00020000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

bool gAviFileStarted = false;

}  // namespace

struct AviClip {
  PAVIFILE file = nullptr;
  PAVISTREAM video = nullptr;
  PAVISTREAM audio = nullptr;
  PGETFRAME frames = nullptr;
  uint32_t width = 0, height = 0, frameCount = 0;
  uint32_t rate = 1, scale = 1;  // frames per second = rate / scale
  LONG firstFrame = 0;

  HWAVEOUT wave = nullptr;
  WAVEHDR header{};
  std::vector<char> sound;
};

AviClip* AviClipOpen(const char* path) {
  if (!path || !*path) return nullptr;
  if (!gAviFileStarted) {
    AVIFileInit();
    gAviFileStarted = true;
  }
  AviClip* clip = new AviClip;
  AVISTREAMINFOA info{};
  if (AVIFileOpenA(&clip->file, path, OF_READ | OF_SHARE_DENY_WRITE, const_cast<CLSID*>(&kAviFileHandler)) != 0 ||
      AVIFileGetStream(clip->file, &clip->video, streamtypeVIDEO, 0) != 0 ||
      AVIStreamInfoA(clip->video, &info, sizeof info) != 0 || info.dwRate == 0 || info.dwScale == 0) {
    AviClipClose(clip);
    return nullptr;
  }
  clip->rate = info.dwRate;
  clip->scale = info.dwScale;
  clip->firstFrame = AVIStreamStart(clip->video);
  LONG length = AVIStreamLength(clip->video);
  clip->frameCount = length > 0 ? uint32_t(length) : 0;
  clip->width = uint32_t(info.rcFrame.right - info.rcFrame.left);
  clip->height = uint32_t(info.rcFrame.bottom - info.rcFrame.top);
  // The decoder's own output format; frames are converted on copying.
  clip->frames = AVIStreamGetFrameOpen(clip->video, nullptr);
  if (!clip->frames || clip->frameCount == 0 || clip->width == 0 || clip->height == 0) {
    AviClipClose(clip);
    return nullptr;
  }
  if (AVIFileGetStream(clip->file, &clip->audio, streamtypeAUDIO, 0) != 0) clip->audio = nullptr;
  return clip;
}

void AviClipClose(AviClip* clip) {
  if (!clip) return;
  AviClipStopSound(clip);
  if (clip->frames) AVIStreamGetFrameClose(clip->frames);
  if (clip->audio) AVIStreamRelease(clip->audio);
  if (clip->video) AVIStreamRelease(clip->video);
  if (clip->file) AVIFileRelease(clip->file);
  delete clip;
}

uint32_t AviClipWidth(const AviClip* clip) { return clip->width; }
uint32_t AviClipHeight(const AviClip* clip) { return clip->height; }
uint32_t AviClipFrameCount(const AviClip* clip) { return clip->frameCount; }

uint32_t AviClipFrameTime(const AviClip* clip, uint32_t index) {
  return uint32_t(uint64_t(index) * 1000u * clip->scale / clip->rate);
}

namespace {

// One pixel of a decoded row as (B, G, R, 0).
uint32_t PixelAt(const uint8_t* row, uint32_t x, int bits, const RGBQUAD* colours) {
  switch (bits) {
    case 8: {
      const RGBQUAD& c = colours[row[x]];
      return uint32_t(c.rgbBlue) | uint32_t(c.rgbGreen) << 8 | uint32_t(c.rgbRed) << 16;
    }
    case 16: {  // 5-5-5
      uint32_t v = uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
      uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
      return (b << 3 | b >> 2) | (g << 3 | g >> 2) << 8 | (r << 3 | r >> 2) << 16;
    }
    case 24: return uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16;
    default: return uint32_t(row[4 * x]) | uint32_t(row[4 * x + 1]) << 8 | uint32_t(row[4 * x + 2]) << 16;
  }
}

}  // namespace

bool AviClipCopyFrame(AviClip* clip, uint32_t index, void* surface, int32_t pitch, uint32_t width,
                      uint32_t height, uint32_t x, uint32_t y) {
  if (!clip || !surface || index >= clip->frameCount) return false;
  auto* dib = static_cast<const BITMAPINFOHEADER*>(AVIStreamGetFrame(clip->frames, clip->firstFrame + LONG(index)));
  if (!dib || dib->biCompression != BI_RGB) return false;
  int bits = dib->biBitCount;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  uint32_t w = uint32_t(dib->biWidth);
  bool bottomUp = dib->biHeight > 0;
  uint32_t h = uint32_t(bottomUp ? dib->biHeight : -dib->biHeight);
  uint32_t colourCount = bits == 8 ? (dib->biClrUsed ? dib->biClrUsed : 256) : 0;
  auto* colours = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(dib) + dib->biSize);
  const uint8_t* bitsStart = reinterpret_cast<const uint8_t*>(colours + colourCount);
  uint32_t stride = ((w * uint32_t(bits) + 31) / 32) * 4;

  for (uint32_t row = 0; row < h && y + row < height; ++row) {
    const uint8_t* src = bitsStart + size_t(bottomUp ? h - 1 - row : row) * stride;
    auto* dst = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface) + ptrdiff_t(y + row) * pitch);
    for (uint32_t col = 0; col < w && x + col < width; ++col) dst[x + col] = PixelAt(src, col, bits, colours);
  }
  return true;
}

bool AviClipStartSound(AviClip* clip) {
  if (!clip || !clip->audio || clip->wave) return false;
  LONG formatSize = 0;
  if (AVIStreamReadFormat(clip->audio, AVIStreamStart(clip->audio), nullptr, &formatSize) != 0 || formatSize <= 0)
    return false;
  std::vector<char> format(size_t(formatSize) + sizeof(WAVEFORMATEX));
  if (AVIStreamReadFormat(clip->audio, AVIStreamStart(clip->audio), format.data(), &formatSize) != 0) return false;
  auto* wf = reinterpret_cast<WAVEFORMATEX*>(format.data());
  if (wf->wFormatTag != WAVE_FORMAT_PCM) wf->cbSize = 0;

  // The whole track at once: the clips are a few seconds long.
  LONG start = AVIStreamStart(clip->audio), samples = AVIStreamLength(clip->audio);
  LONG bytes = 0, got = 0;
  if (samples <= 0 || AVIStreamRead(clip->audio, start, samples, nullptr, 0, &bytes, nullptr) != 0 || bytes <= 0)
    return false;
  clip->sound.resize(size_t(bytes));
  if (AVIStreamRead(clip->audio, start, samples, clip->sound.data(), bytes, &bytes, &got) != 0) return false;

  if (waveOutOpen(&clip->wave, WAVE_MAPPER, wf, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    clip->wave = nullptr;
    return false;
  }
  clip->header = WAVEHDR{};
  clip->header.lpData = clip->sound.data();
  clip->header.dwBufferLength = DWORD(bytes);
  if (waveOutPrepareHeader(clip->wave, &clip->header, sizeof clip->header) != MMSYSERR_NOERROR ||
      waveOutWrite(clip->wave, &clip->header, sizeof clip->header) != MMSYSERR_NOERROR) {
    AviClipStopSound(clip);
    return false;
  }
  return true;
}

void AviClipStopSound(AviClip* clip) {
  if (!clip || !clip->wave) return;
  waveOutReset(clip->wave);
  if (clip->header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(clip->wave, &clip->header, sizeof clip->header);
  waveOutClose(clip->wave);
  clip->wave = nullptr;
}

void AviClipLog(const char* variable, const char* format, ...) {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA(variable, path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  char line[512];
  va_list args;
  va_start(args, format);
  int len = vsnprintf(line, sizeof line - 2, format, args);
  va_end(args);
  if (len < 0) return;
  if (len > int(sizeof line) - 3) len = int(sizeof line) - 3;
  line[len++] = '\r';
  line[len++] = '\n';
  HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(f, line, DWORD(len), &written, nullptr);
  CloseHandle(f);
}
