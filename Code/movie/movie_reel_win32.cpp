// The reel road (/k): the loop drives every frame itself. Each frame is
// decoded, copied into the buffer the reel library keeps on the movie
// window, and the changed rectangles blitted; after the last one the movie
// window goes.
#include <windows.h>

#include "movie_player.h"

namespace {

// The only buffer kind the reel library offers on a window.
constexpr uint32_t kBufferKind = kReelBufferDibSection;

}  // namespace

bool StartReel(PlayerState* state) {
  ReelSetSoundSystem(ReelOpenWaveOut, 0);
  state->reel = ReelOpen(state->options.file.c_str(), MovieOpenFlags(state->options.level));
  if (!state->reel) return false;
  state->reelBuffer = ReelBufferOpen(state->window, state->reel->width, state->reel->height, kBufferKind);
  if (!state->reelBuffer) {
    ReelClose(state->reel);
    state->reel = nullptr;
    return false;
  }
  return true;
}

bool ReelFrameDue(PlayerState* state) { return state->reel && !state->ended && !ReelWait(state->reel); }

void ShowReelFrame(PlayerState* state) {
  ReelMovie* movie = state->reel;
  ReelBuffer* buffer = state->reelBuffer;
  ReelDoFrame(movie);
  if (ReelBufferLock(buffer)) {
    ReelCopyToBuffer(movie, buffer->memory, buffer->pitch, buffer->height, 0, 0, buffer->surfaceKind);
    ReelBufferUnlock(buffer);
  }
  ReelBufferBlit(buffer, buffer->rects, uint32_t(ReelGetRects(movie, buffer)));
  if (movie->frameNum == movie->frames)
    EndMovie(state);
  else
    ReelNextFrame(movie);
}

bool HandleReelMessage(PlayerState* state, UINT message) {
  if (message != WM_WINDOWPOSCHANGED || !state->reelBuffer) return false;
  int32_t x = 0, y = 0;
  if (state->options.centre) {
    RECT r;
    GetWindowRect(state->window, &r);
    x = ((r.right - r.left) - int32_t(state->reel->width)) / 2;
    y = ((r.bottom - r.top) - int32_t(state->reel->height)) / 2;
  }
  ReelBufferSetOffset(state->reelBuffer, x, y);
  return false;  // the default handling still runs
}

void CloseReel(PlayerState* state) {
  if (state->reelBuffer) ReelBufferClose(state->reelBuffer);
  if (state->reel) ReelClose(state->reel);
  state->reelBuffer = nullptr;
  state->reel = nullptr;
}
