// AnimButton: a push button drawn wholly from bitmaps of a packed data set.
// While the mouse is over the opaque part of its mask it plays a loop of
// frames; while the left button is held on it, it shows its click picture;
// a release over it sends the parent WM_COMMAND (control id, code 0). Every
// setting comes from the caption block of its window text, e.g.
// "Game {p:330,273 s:140,110 d:anim n:game_small%02d.bmp #:30 r:15}".
//
// Frames are loaded lazily into a process-wide cache of one slot per frame
// number, shared by every button whose pattern has the same tag; a button's
// resting frame is its own while it is idle and goes back to the cache
// while it animates. The cache lock guards the slots, the shared pack index
// and the hot button against the capture hook's re-entrant messages.
//
// Interface: RegisterAnimButtonClass, UnregisterAnimButtonClass.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "anim_frames.h"
#include "basic_controls.h"
#include "caption.h"
#include "controls.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "heapkit.h"
#include "mousehook.h"
#include "packfile.h"
#include "winutil.h"

namespace {

const char kClass[] = "AnimButton";
constexpr UINT_PTR kFrameTimer = 11;

// State flags of a button.
enum : uint32_t {
  kPressed = 0x04,         // pressed over the opaque part, cursor still over it
  kPressedOutside = 0x10,  // still held, but the cursor has left the opaque part
  kAnimating = 0x20,       // frame timer running
  kHot = 0x40,             // this button holds the mouse capture
};

struct AnimButtonRecord {
  char itemPath[260];
  char indexPath[260];
  char pattern[kAnimPatternChars];
  int32_t frameCount;  // 1..40
  int32_t rate;        // frames per second, at least 1
  uint32_t flags;
  int32_t frame;  // current frame number
  // Owned by the record.
  PackedDib* background;  // "_off"
  PackedDib* resting;     // frame shown while not animating; in the cache meanwhile
  PackedDib* click;       // "_click"
  PackedDib* mask;        // "_mask"
  char name[32];          // item names are built here
  DatIndex* index;        // the shared index, or this button's own (ownsIndex)
  uint32_t tag;           // AnimPatternTag of the pattern
  int32_t ownsIndex;
};

struct FrameSlot {
  uint32_t tag;
  PackedDib* frame;
};

struct AnimFrameCache {
  CRITICAL_SECTION lock;
  DatIndex* index;  // read by the first button, kept until the class goes
  char indexPath[260];
  HWND hot;
  FrameSlot slots[kAnimMaxFrames];
};

AnimFrameCache g_cache;
bool g_cacheReady = false;

class CacheLock {
 public:
  CacheLock() { EnterCriticalSection(&g_cache.lock); }
  ~CacheLock() { LeaveCriticalSection(&g_cache.lock); }
  CacheLock(const CacheLock&) = delete;
  CacheLock& operator=(const CacheLock&) = delete;
};

AnimButtonRecord* Record(HWND w) { return reinterpret_cast<AnimButtonRecord*>(GetWindowLongPtrA(w, 0)); }

int32_t Height(const PackedDib* dib) { return dib->biHeight < 0 ? -dib->biHeight : dib->biHeight; }

PackedDib* LoadNamed(const AnimButtonRecord* r, const char* name) {
  if (!*name) return nullptr;
  DatIndexEntry info;
  return static_cast<PackedDib*>(datLoadBitmap(r->indexPath, r->itemPath, name, r->index, &info));
}

void Unload(PackedDib** dib) {
  datUnloadItem(*dib);
  *dib = nullptr;
}

bool IsOpaque(const AnimButtonRecord* r, POINT p) { return AnimMaskIsOpaque(r->mask, p.x, p.y) != 0; }

// Frame n for the button, from its cache slot when the slot holds one of
// the button's tag, else loaded into the slot. Under the lock.
PackedDib* LoadFrame(AnimButtonRecord* r, int32_t n) {
  if (n < 0 || n >= kAnimMaxFrames) return nullptr;
  FrameSlot& slot = g_cache.slots[n];
  if (slot.frame && slot.tag == r->tag) return slot.frame;
  AnimFrameName(r->pattern, n, r->name, sizeof r->name);
  PackedDib* frame = LoadNamed(r, r->name);
  if (slot.frame) Unload(&slot.frame);  // another pattern's frame
  slot.frame = frame;
  slot.tag = r->tag;
  return frame;
}

// The resting frame goes to the slot of the current frame number while the
// button animates. Under the lock.
void GiveRestingToCache(AnimButtonRecord* r) {
  if (!r->resting) return;
  FrameSlot& slot = g_cache.slots[r->frame];
  if (slot.frame && slot.frame != r->resting) Unload(&slot.frame);
  slot.frame = r->resting;
  slot.tag = r->tag;
  r->resting = nullptr;
}

// The current frame becomes the resting frame again, taken out of its slot.
// The slot may meanwhile hold another pattern's frame or none: the button's
// own frame is loaded then. Under the lock.
void TakeRestingFromCache(AnimButtonRecord* r) {
  PackedDib* frame = LoadFrame(r, r->frame);
  if (frame) g_cache.slots[r->frame].frame = nullptr;
  if (r->resting) Unload(&r->resting);
  r->resting = frame;
}

void StopAnimation(HWND w, AnimButtonRecord* r) {
  if (!(r->flags & kAnimating)) return;
  r->flags &= ~kAnimating;
  KillTimer(w, kFrameTimer);
  TakeRestingFromCache(r);
}

// Ends the mouse capture of the hot button, if any. Under the lock. The hot
// button is forgotten first: releasing the capture sends WM_CAPTURECHANGED,
// which comes back here.
void ReleaseHot() {
  HWND hot = g_cache.hot;
  if (!hot) return;
  g_cache.hot = nullptr;
  if (AnimButtonRecord* r = IsWindow(hot) ? Record(hot) : nullptr) r->flags &= ~kHot;
  EndMouseCapture();
}

// Every WM_NCHITTEST: the cursor at p (window coordinates) with the hit code
// the default processing gave. While the button is hot the capture hook
// sends one for every mouse event, so it also learns when the cursor leaves.
// Under the lock.
void HoverStep(HWND w, AnimButtonRecord* r, LRESULT hit, POINT p) {
  bool opaque = IsOpaque(r, p);
  if (!opaque) {
    bool changed = (r->flags & (kAnimating | kPressed)) != 0;
    StopAnimation(w, r);
    if (r->flags & kPressed) {
      r->flags |= kPressedOutside;
      r->flags &= ~kPressed;
    }
    if (changed) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
  }
  HWND hot = g_cache.hot;
  if (hot && (hot != w || (hit == HTNOWHERE && !(r->flags & kPressedOutside)))) {
    ReleaseHot();
    r->flags &= ~(kHot | kPressedOutside);
  }
  if (hit != HTNOWHERE && g_cache.hot != w) {
    BeginMouseCapture(w);
    r->flags |= kHot;
    g_cache.hot = w;
  }
  if (opaque) {
    if (!(r->flags & (kPressedOutside | kAnimating))) {
      r->flags |= kAnimating;
      GiveRestingToCache(r);
      SetTimer(w, kFrameTimer, UINT(AnimFramePeriodMs(r->rate)), nullptr);
    }
    if (r->flags & kPressedOutside) {
      r->flags |= kPressed;
      r->flags &= ~kPressedOutside;
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    }
  }
}

void FrameStep(HWND w, AnimButtonRecord* r) {
  if (!(r->flags & kAnimating) || (r->flags & (kPressed | kPressedOutside))) return;
  POINT cursor;
  RECT window;
  if (!GetCursorPos(&cursor) || !GetWindowRect(w, &window)) return;
  if (!IsOpaque(r, POINT{cursor.x - window.left, cursor.y - window.top})) return;
  PackedDib* frame;
  {
    CacheLock lock;
    r->frame = AnimNextFrame(r->frame, r->frameCount);
    frame = LoadFrame(r, r->frame);
  }
  if (frame) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// The picture for the state is laid onto the background bitmap (see-through
// pixels left out), which is then shown: frames are meant to cover it.
void Paint(HWND w, HDC dc) {
  AnimButtonRecord* r = Record(w);
  if (!r) return;
  CacheLock lock;
  PackedDib* picture = nullptr;
  if (r->flags & kPressedOutside) {
    picture = r->resting;
  } else if (r->flags & kPressed) {
    picture = r->click;
  } else if (r->resting) {
    picture = r->resting;
  } else {
    const FrameSlot& slot = g_cache.slots[r->frame];
    if (slot.tag == r->tag) picture = slot.frame;
  }
  PackedDib* background = r->background;
  if (!picture || !background) return;
  int32_t width = picture->biWidth < background->biWidth ? picture->biWidth : background->biWidth;
  int32_t height = Height(picture) < Height(background) ? Height(picture) : Height(background);
  dibTransCopyDIB(background, picture, 0, 0, 0, 0, width, height, AnimKeyColour(picture->biBitCount / 8));
  dibDisplayRGB(dc, 0, 0, background->biWidth, Height(background), 0, 0, background);
}

void OnNcCreate(HWND w) {
  ApplyCaptionPlacement(w);
  auto* r = static_cast<AnimButtonRecord*>(memAlloc_rel(sizeof(AnimButtonRecord), HEAPKIT_TAG_RW));
  if (r) {
    std::memset(r, 0, sizeof *r);
    char text[kCaptionMaxChars + 1] = "";
    GetWindowTextA(w, text, sizeof text);
    AnimCaptionKeys keys;
    ParseAnimCaptionKeys(text, &keys);
    CcDefaults* d = ccGetDefaultData();
    AnimDataPaths(d ? d->programFolder : "", keys.dataName, r->indexPath, r->itemPath, sizeof r->indexPath);
    std::memcpy(r->pattern, keys.pattern, sizeof r->pattern);
    r->frameCount = keys.frameCount;
    r->rate = keys.rate;
    r->tag = AnimPatternTag(r->pattern);
  }
  SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(r));
}

void OnCreate(AnimButtonRecord* r) {
  {
    CacheLock lock;
    if (!g_cache.index && r->indexPath[0]) {
      g_cache.index = datLoadFileIndex(r->indexPath);
      if (g_cache.index) std::memcpy(g_cache.indexPath, r->indexPath, sizeof g_cache.indexPath);
    }
    // A button of another data set reads through that set's own index:
    // offsets from the shared one would read the wrong bytes of its items.
    if (g_cache.index && lstrcmpiA(g_cache.indexPath, r->indexPath) == 0) {
      r->index = g_cache.index;
    } else if (r->indexPath[0]) {
      r->index = datLoadFileIndex(r->indexPath);
      r->ownsIndex = r->index != nullptr;
    }
  }
  AnimFrameName(r->pattern, 0, r->name, sizeof r->name);
  r->resting = LoadNamed(r, r->name);
  const AnimStill stills[] = {ANIM_STILL_OFF, ANIM_STILL_MASK, ANIM_STILL_CLICK};
  PackedDib** targets[] = {&r->background, &r->mask, &r->click};
  for (int i = 0; i < 3; ++i) {
    AnimStillName(r->pattern, stills[i], r->name, sizeof r->name);
    *targets[i] = LoadNamed(r, r->name);
  }
}

void OnDestroy(HWND w, AnimButtonRecord* r) {
  CacheLock lock;
  ReleaseHot();
  r->flags &= ~kHot;
  Unload(&r->resting);
  Unload(&r->mask);
  Unload(&r->click);
  Unload(&r->background);
  for (FrameSlot& slot : g_cache.slots)
    if (slot.tag == r->tag && slot.frame) Unload(&slot.frame);
  if (r->ownsIndex) datUnloadFileIndex(r->index);
  SetWindowLongPtrA(w, 0, 0);
  memFree_rel(r);
}

// A hidden button gives up the capture and stops its loop.
void OnHide(HWND w, AnimButtonRecord* r) {
  CacheLock lock;
  if (g_cache.hot == w) ReleaseHot();
  StopAnimation(w, r);
  r->flags &= ~(kPressed | kPressedOutside);
}

POINT PointOf(LPARAM lp) { return POINT{short(LOWORD(lp)), short(HIWORD(lp))}; }

LRESULT OnButtonUp(HWND w, AnimButtonRecord* r) {
  if (r->flags & kPressed) {
    r->flags &= ~kPressed;
    PostMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w) & 0xFFFF, 0), LPARAM(w));
  } else {
    // Released after dragging off the opaque part: no click.
    CacheLock lock;
    if (g_cache.hot == w) ReleaseHot();
  }
  r->flags &= ~kPressedOutside;
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return 0;
}

LRESULT CALLBACK AnimButtonProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCCREATE) {
    LRESULT result = DefWindowProcA(w, m, wp, lp);
    OnNcCreate(w);
    return result;
  }
  AnimButtonRecord* r = Record(w);
  switch (m) {
    case WM_CREATE: {
      LRESULT result = DefWindowProcA(w, m, wp, lp);
      if (r) OnCreate(r);
      return result;
    }
    case WM_DESTROY: {
      KillTimer(w, kFrameTimer);
      LRESULT result = DefWindowProcA(w, m, wp, lp);
      if (r) OnDestroy(w, r);
      return result;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      Paint(w, dc);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_NCHITTEST: {
      LRESULT hit = DefWindowProcA(w, m, wp, lp);
      if (r) {
        RECT window;
        GetWindowRect(w, &window);
        POINT p = PointOf(lp);
        CacheLock lock;
        HoverStep(w, r, hit, POINT{p.x - window.left, p.y - window.top});
      }
      return hit;
    }
    case WM_TIMER:
      if (wp == kFrameTimer && r) FrameStep(w, r);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // the second press of a quick double click is a press too
      if (r) {
        CacheLock lock;
        if (IsOpaque(r, PointOf(lp))) {
          r->flags |= kPressed;
          RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      return r ? OnButtonUp(w, r) : 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONUP: {
      UINT message = m;
      WPARAM keys = 0;
      LPARAM point = lp;
      NonClientMouseToClient(w, &message, &keys, &point);
      return SendMessageA(w, message, keys, point);
    }
    case WM_SHOWWINDOW:
      if (!wp && r) OnHide(w, r);
      break;
    case WM_WINDOWPOSCHANGING: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      if (r && pos && (pos->flags & SWP_HIDEWINDOW)) {
        OnHide(w, r);  // hidden without WM_SHOWWINDOW
      } else if (r && pos && !(pos->flags & SWP_NOZORDER)) {
        CacheLock lock;
        if (g_cache.hot == w) ReleaseHot();
      }
      break;
    }
    case WM_CAPTURECHANGED:
      if (HWND(lp) != w) {
        CacheLock lock;
        ReleaseHot();
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcA(w, m, wp, lp);
}

// Unloads every cached frame and the shared index.
void ClearCache() {
  for (FrameSlot& slot : g_cache.slots) Unload(&slot.frame);
  datUnloadFileIndex(g_cache.index);
  g_cache.index = nullptr;
}

}  // namespace

ATOM RegisterAnimButtonClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = AnimButtonProc;
  wc.cbClsExtra = 4;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;
  wc.lpszClassName = kClass;
  ATOM atom = RegisterClassA(&wc);
  if (!atom) return 0;
  if (g_cacheReady) {
    ClearCache();
    DeleteCriticalSection(&g_cache.lock);
  }
  std::memset(&g_cache, 0, sizeof g_cache);
  InitializeCriticalSection(&g_cache.lock);
  g_cacheReady = true;
  return atom;
}

void UnregisterAnimButtonClass(HINSTANCE module) {
  // While buttons still exist the class stays, and so does their cache.
  if (!UnregisterClassA(kClass, module) || !g_cacheReady) return;
  ClearCache();
  DeleteCriticalSection(&g_cache.lock);
  std::memset(&g_cache, 0, sizeof g_cache);
  g_cacheReady = false;
}
