// Deckkit stand-in. See deckkit.h. Calls are noted in the log named by
// RW_DECK_LOG when that variable is set (tests read it).
#include "deckkit.h"

#include <mmsystem.h>

#include <map>
#include <string>
#include <vector>

#include "aviclip.h"

namespace {

const char kLog[] = "RW_DECK_LOG";
// The controller's frame timer on the port window; the window passes its
// WM_TIMER on to the controller like every other message.
constexpr UINT_PTR kFrameTimer = 0x4451;

bool gStarted = false;
std::vector<HWND> gPorts;
std::map<DeckFile, std::string> gFiles;
DeckFile gNextFile = 1;

}  // namespace

struct DeckMovie {
  AviClip* clip = nullptr;
  RECT box{};
  bool playing = false;
  bool done = false;
  DWORD startTime = 0;
  uint32_t shown = 0;  // frames shown so far
  std::vector<uint32_t> pixels;  // the current frame, 32-bit top-down
};

struct DeckController {
  DeckMovie* movie = nullptr;
  HWND window = nullptr;
  RECT bounds{};
  DeckActionFilter filter = nullptr;
  intptr_t refcon = 0;
};

int __stdcall DeckInitialize(void) {
  gStarted = true;
  AviClipLog(kLog, "initialise");
  return 1;
}

void __stdcall DeckTerminate(void) {
  gStarted = false;
  gPorts.clear();
  gFiles.clear();
  AviClipLog(kLog, "terminate");
}

int __stdcall DeckCreatePort(HWND window) {
  if (!gStarted || !IsWindow(window)) return 0;
  gPorts.push_back(window);
  return 1;
}

void __stdcall DeckDestroyPort(HWND window) {
  for (size_t i = 0; i < gPorts.size(); ++i)
    if (gPorts[i] == window) gPorts.erase(gPorts.begin() + ptrdiff_t(i--));
}

int __stdcall DeckOpenMovieFile(const char* path, DeckFile* file) {
  if (!gStarted || !path || !file) return 0;
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    AviClipLog(kLog, "open failed");
    return 0;
  }
  *file = gNextFile++;
  gFiles[*file] = path;
  return 1;
}

void __stdcall DeckCloseMovieFile(DeckFile file) { gFiles.erase(file); }

int __stdcall DeckNewMovieFromFile(DeckFile file, DeckMovie** movie) {
  auto it = gFiles.find(file);
  if (it == gFiles.end() || !movie) return 0;
  AviClip* clip = AviClipOpen(it->second.c_str());
  if (!clip) {
    AviClipLog(kLog, "not a movie");
    return 0;
  }
  auto* m = new DeckMovie;
  m->clip = clip;
  m->box = RECT{0, 0, LONG(AviClipWidth(clip)), LONG(AviClipHeight(clip))};
  m->pixels.assign(size_t(AviClipWidth(clip)) * AviClipHeight(clip), 0);
  *movie = m;
  AviClipLog(kLog, "movie %ux%u frames=%u", AviClipWidth(clip), AviClipHeight(clip), AviClipFrameCount(clip));
  return 1;
}

void __stdcall DeckDisposeMovie(DeckMovie* movie) {
  if (!movie) return;
  AviClipClose(movie->clip);
  delete movie;
  AviClipLog(kLog, "movie disposed");
}

void __stdcall DeckGetMovieBox(DeckMovie* movie, RECT* box) { *box = movie->box; }
void __stdcall DeckSetMovieBox(DeckMovie* movie, const RECT* box) { movie->box = *box; }
int __stdcall DeckIsMovieDone(DeckMovie* movie) { return movie && movie->done; }

DeckController* __stdcall DeckNewController(DeckMovie* movie, HWND window, const RECT* bounds) {
  if (!movie || !IsWindow(window)) return nullptr;
  auto* c = new DeckController;
  c->movie = movie;
  c->window = window;
  c->bounds = *bounds;
  return c;
}

void __stdcall DeckDisposeController(DeckController* controller) {
  if (!controller) return;
  KillTimer(controller->window, kFrameTimer);
  if (controller->movie) AviClipStopSound(controller->movie->clip);
  delete controller;
}

void __stdcall DeckSetActionFilter(DeckController* controller, DeckActionFilter filter, intptr_t refcon) {
  controller->filter = filter;
  controller->refcon = refcon;
}

void __stdcall DeckGetControllerBounds(DeckController* controller, RECT* bounds) { *bounds = controller->bounds; }

void __stdcall DeckSetControllerBounds(DeckController* controller, const RECT* bounds) {
  bool resized = bounds->right - bounds->left != controller->bounds.right - controller->bounds.left ||
                 bounds->bottom - bounds->top != controller->bounds.bottom - controller->bounds.top;
  controller->bounds = *bounds;
  if (resized && controller->filter)
    controller->filter(controller, kDeckActionSizeChanged, &controller->bounds, controller->refcon);
}

namespace {

void DrawFrame(DeckController* c, HDC dc) {
  DeckMovie* m = c->movie;
  if (m->shown == 0) return;
  uint32_t w = AviClipWidth(m->clip), h = AviClipHeight(m->clip);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = LONG(w);
  bi.bmiHeader.biHeight = -LONG(h);
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, m->box.left, m->box.top, m->box.right - m->box.left, m->box.bottom - m->box.top, 0, 0, LONG(w),
                LONG(h), m->pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
}

// Shows the frame the clock has reached; after the last one's time the
// movie is done.
void Tick(DeckController* c) {
  DeckMovie* m = c->movie;
  if (!m->playing || m->done) return;
  uint32_t count = AviClipFrameCount(m->clip);
  DWORD elapsed = timeGetTime() - m->startTime;
  uint32_t due = 0;
  while (due + 1 < count && AviClipFrameTime(m->clip, due + 1) <= elapsed) ++due;
  if (m->shown == 0 || due + 1 != m->shown) {
    uint32_t w = AviClipWidth(m->clip), h = AviClipHeight(m->clip);
    if (AviClipCopyFrame(m->clip, due, m->pixels.data(), int32_t(w * 4), w, h, 0, 0)) {
      m->shown = due + 1;
      HDC dc = GetDC(c->window);
      DrawFrame(c, dc);
      ReleaseDC(c->window, dc);
    }
  }
  if (elapsed >= AviClipFrameTime(m->clip, count)) {
    m->done = true;
    m->playing = false;
    KillTimer(c->window, kFrameTimer);
    AviClipLog(kLog, "done after %u frames", m->shown);
  }
  if (c->filter) c->filter(c, kDeckActionIdle, nullptr, c->refcon);
}

}  // namespace

void __stdcall DeckStart(DeckController* controller) {
  DeckMovie* m = controller->movie;
  m->playing = true;
  m->done = false;
  m->startTime = timeGetTime();
  m->shown = 0;
  bool sound = AviClipStartSound(m->clip);
  AviClipLog(kLog, "start sound %s", sound ? "on" : "off");
  uint32_t period = AviClipFrameTime(m->clip, 1);
  SetTimer(controller->window, kFrameTimer, period ? period : 10, nullptr);
  Tick(controller);
}

int __stdcall DeckControllerEvent(DeckController* controller, const DeckEvent* event) {
  if (!controller || !event || event->window != controller->window) return 0;
  switch (event->message) {
    case WM_TIMER:
      if (event->wParam != kFrameTimer) return 0;
      Tick(controller);
      return 1;
    case WM_PAINT: {
      // Draws over the update area; the window's own handling validates it.
      HDC dc = GetDC(controller->window);
      DrawFrame(controller, dc);
      ReleaseDC(controller->window, dc);
      return 0;
    }
    default: return 0;
  }
}
