// Reelkit stand-in. See reelkit.h. Every call notes itself in the log named
// by RW_REEL_LOG when that variable is set (tests read it).
#include "reelkit.h"

#include <mmsystem.h>

#include "aviclip.h"

namespace {

const char kLog[] = "RW_REEL_LOG";

ReelSoundOpener gSoundOpener = nullptr;
uintptr_t gSoundParam = 0;

struct MovieInside {
  AviClip* clip = nullptr;
  DWORD startTime = 0;
  bool started = false;
  bool decoded = false;  // the current frame has been decoded
  uint32_t decodedFrame = 0;
};

struct BufferInside {
  HWND window = nullptr;
  HBITMAP dib = nullptr;
  HDC memoryDc = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  void* bits = nullptr;
};

MovieInside* Inside(ReelMovie* m) { return static_cast<MovieInside*>(m->internal); }
BufferInside* Inside(ReelBuffer* b) { return static_cast<BufferInside*>(b->internal); }

}  // namespace

int __stdcall ReelOpenWaveOut(uintptr_t) { return waveOutGetNumDevs() > 0; }

int __stdcall ReelSetSoundSystem(ReelSoundOpener opener, uintptr_t param) {
  gSoundOpener = opener;
  gSoundParam = param;
  AviClipLog(kLog, "sound system set");
  return 1;
}

ReelMovie* __stdcall ReelOpen(const char* path, uint32_t flags) {
  AviClipLog(kLog, "open flags=0x%08x", flags);
  AviClip* clip = AviClipOpen(path);
  if (!clip) {
    AviClipLog(kLog, "open failed");
    return nullptr;
  }
  auto* movie = new ReelMovie{};
  auto* inside = new MovieInside;
  inside->clip = clip;
  movie->internal = inside;
  movie->width = AviClipWidth(clip);
  movie->height = AviClipHeight(clip);
  movie->frames = AviClipFrameCount(clip);
  movie->frameNum = 1;
  movie->openFlags = flags;
  AviClipLog(kLog, "opened %ux%u frames=%u", movie->width, movie->height, movie->frames);
  return movie;
}

void __stdcall ReelClose(ReelMovie* movie) {
  if (!movie) return;
  AviClipClose(Inside(movie)->clip);
  delete Inside(movie);
  delete movie;
  AviClipLog(kLog, "closed");
}

int __stdcall ReelWait(ReelMovie* movie) {
  MovieInside* in = Inside(movie);
  if (!in->started) return 0;
  DWORD due = in->startTime + AviClipFrameTime(in->clip, movie->frameNum - 1);
  return int(LONG(timeGetTime() - due) < 0);
}

int __stdcall ReelDoFrame(ReelMovie* movie) {
  MovieInside* in = Inside(movie);
  if (!in->started) {
    // The clock runs from the first frame on; the sound starts with it.
    in->started = true;
    in->startTime = timeGetTime();
    bool soundAllowed = gSoundOpener && gSoundOpener(gSoundParam);
    bool playing = soundAllowed && AviClipStartSound(in->clip);
    AviClipLog(kLog, "sound %s", playing ? "on" : "off");
  }
  in->decoded = true;
  in->decodedFrame = movie->frameNum;
  AviClipLog(kLog, "frame %u", movie->frameNum);
  return 1;
}

void __stdcall ReelNextFrame(ReelMovie* movie) {
  if (movie->frameNum < movie->frames) ++movie->frameNum;
}

int __stdcall ReelCopyToBuffer(ReelMovie* movie, void* dest, int32_t pitch, uint32_t height, uint32_t x, uint32_t y,
                               uint32_t surfaceKind) {
  MovieInside* in = Inside(movie);
  if (surfaceKind != kReelSurface32 || !in->decoded) return 0;
  // The destination's width follows from its pitch (4 bytes a pixel).
  uint32_t width = uint32_t(pitch > 0 ? pitch : -pitch) / 4;
  return AviClipCopyFrame(in->clip, in->decodedFrame - 1, dest, pitch, width, height, x, y) ? 1 : 0;
}

int __stdcall ReelGetRects(ReelMovie* movie, ReelBuffer* buffer) {
  // MS Video 1 gives no changed-area list: the whole frame counts as changed.
  buffer->rectCount = 1;
  buffer->rects[0] = ReelRect{0, 0, int32_t(movie->width), int32_t(movie->height)};
  return 1;
}

ReelBuffer* __stdcall ReelBufferOpen(HWND window, uint32_t width, uint32_t height, uint32_t kind) {
  if (kind != kReelBufferDibSection || !IsWindow(window) || width == 0 || height == 0) return nullptr;
  auto* in = new BufferInside;
  in->window = window;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = LONG(width);
  bi.bmiHeader.biHeight = -LONG(height);  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(window);
  in->dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &in->bits, nullptr, 0);
  in->memoryDc = CreateCompatibleDC(screen);
  ReleaseDC(window, screen);
  if (!in->dib || !in->memoryDc) {
    if (in->dib) DeleteObject(in->dib);
    if (in->memoryDc) DeleteDC(in->memoryDc);
    delete in;
    return nullptr;
  }
  in->oldBitmap = SelectObject(in->memoryDc, in->dib);
  auto* buffer = new ReelBuffer{};
  buffer->internal = in;
  buffer->width = width;
  buffer->height = height;
  buffer->pitch = int32_t(width * 4);
  buffer->surfaceKind = kReelSurface32;
  AviClipLog(kLog, "buffer %ux%u", width, height);
  return buffer;
}

void __stdcall ReelBufferClose(ReelBuffer* buffer) {
  if (!buffer) return;
  BufferInside* in = Inside(buffer);
  SelectObject(in->memoryDc, in->oldBitmap);
  DeleteDC(in->memoryDc);
  DeleteObject(in->dib);
  delete in;
  delete buffer;
}

int __stdcall ReelBufferLock(ReelBuffer* buffer) {
  GdiFlush();  // no drawing may be pending on the section while it is written
  buffer->memory = Inside(buffer)->bits;
  return buffer->memory != nullptr;
}

void __stdcall ReelBufferUnlock(ReelBuffer* buffer) { buffer->memory = nullptr; }

void __stdcall ReelBufferBlit(ReelBuffer* buffer, const ReelRect* rects, uint32_t count) {
  BufferInside* in = Inside(buffer);
  HDC dc = GetDC(in->window);
  for (uint32_t i = 0; i < count; ++i) {
    const ReelRect& r = rects[i];
    BitBlt(dc, buffer->offsetX + r.left, buffer->offsetY + r.top, r.width, r.height, in->memoryDc, r.left, r.top,
           SRCCOPY);
  }
  ReleaseDC(in->window, dc);
  AviClipLog(kLog, "blit %u", count);
}

int __stdcall ReelBufferSetOffset(ReelBuffer* buffer, int32_t x, int32_t y) {
  buffer->offsetX = x;
  buffer->offsetY = y;
  AviClipLog(kLog, "offset %d,%d", x, y);
  return 1;
}
