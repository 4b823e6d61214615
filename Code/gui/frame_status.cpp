// The status bar's parts and messages; see frame_status.h.
#include "frame_status.h"

#include <cstring>

#include "heapkit.h"

namespace {

CwStatusPart* NewPart() {
  auto* p = static_cast<CwStatusPart*>(memAlloc_rel(sizeof(CwStatusPart), HEAPKIT_TAG_RW));
  if (p) std::memset(p, 0, sizeof *p);
  return p;
}

// A part that exists: below the count and made.
CwStatusPart* Part(CwStatusBar* bar, uintptr_t index) {
  if (index >= uintptr_t(bar->count) || index >= uintptr_t(kStatusParts)) return nullptr;
  return bar->parts[index];
}

uintptr_t TextPartIndex(uintptr_t wParam) { return wParam == 255 ? 0 : wParam; }

}  // namespace

CwStatusBar* StatusBarCreate() {
  auto* bar = static_cast<CwStatusBar*>(memAlloc_rel(sizeof(CwStatusBar), HEAPKIT_TAG_RW));
  if (!bar) return nullptr;
  std::memset(bar, 0, sizeof *bar);
  bar->parts[0] = NewPart();
  if (!bar->parts[0]) {
    memFree_rel(bar);
    return nullptr;
  }
  bar->count = 1;
  return bar;
}

void StatusBarDestroy(CwStatusBar* bar) {
  if (!bar) return;
  for (CwStatusPart* p : bar->parts) memFree_rel(p);
  memFree_rel(bar);
}

bool IsStatusBarMessage(uint32_t m) {
  switch (m) {
    case 0x401:
    case 0x402:
    case 0x403:
    case 0x404:
    case 0x406:
    case 0x40A:
    case 0x40E:
      return true;
    default:
      return m >= 0x8504 && m <= 0x8517;
  }
}

bool StatusPartRect(const CwStatusBar* bar, int index, int32_t out[4]) {
  if (!bar || index < 0 || index >= bar->count || index >= kStatusParts || !bar->parts[index]) return false;
  const CwStatusPart* p = bar->parts[index];
  out[0] = p->left;
  out[1] = bar->rect[1];
  out[2] = p->width == -1 ? bar->rect[2] - 10 : p->left + p->width;
  out[3] = bar->rect[3];
  return true;
}

intptr_t StatusBarMessage(CwStatusBar* bar, uint32_t message, uintptr_t wParam, intptr_t lParam,
                          int separatorWidth, StatusRepaint* repaint, int* partOut) {
  *repaint = SR_NONE;
  *partOut = 0;
  if (!bar) return 0;
  switch (message) {
    case 0x8504:
    case 0x401: {
      if (wParam == 256) {
        for (int i = 0; i < bar->count && i < kStatusParts; ++i)
          if (bar->parts[i] && bar->parts[i]->kind != 2) bar->parts[i]->text[0] = 0;
        *repaint = SR_ALL;
        return 0;
      }
      uintptr_t index = TextPartIndex(wParam);
      CwStatusPart* p = Part(bar, index);
      if (!p) return 0;
      const char* text = reinterpret_cast<const char*>(lParam);
      if (text) {
        std::strncpy(p->text, text, 127);
        p->text[127] = 0;
      } else if (index == 2) {
        p->text[0] = 0;
      }
      *repaint = SR_ALL;
      return 1;
    }
    case 0x8505:
    case 0x402: {
      CwStatusPart* p = Part(bar, TextPartIndex(wParam));
      char* buffer = reinterpret_cast<char*>(lParam);
      if (!p || !buffer) return 0;
      std::strcpy(buffer, p->kind == 2 ? "" : p->text);
      return 1;
    }
    case 0x8506:
    case 0x403: {
      CwStatusPart* p = Part(bar, TextPartIndex(wParam));
      return p && p->kind != 2 ? intptr_t(std::strlen(p->text)) : 0;
    }
    case 0x8507:
    case 0x404: {
      const int32_t* rights = reinterpret_cast<const int32_t*>(lParam);
      if (wParam < 1 || wParam > uintptr_t(kStatusParts) || !rights) return 0;
      int count = int(wParam);
      for (int i = 0; i < count; ++i)
        if (!bar->parts[i] && !(bar->parts[i] = NewPart())) return 0;
      bar->count = count;
      int32_t x = bar->rect[0];
      for (int i = 0; i < count; ++i) {
        CwStatusPart* p = bar->parts[i];
        p->left = x;
        p->width = rights[i] == -1 ? -1 : rights[i] - x;
        x = rights[i] + separatorWidth + 3;
      }
      *repaint = SR_ALL;
      return 1;
    }
    case 0x8508:
    case 0x406: {
      int32_t* out = reinterpret_cast<int32_t*>(lParam);
      if (wParam < 1 || wParam > uintptr_t(kStatusParts) || !out) return 0;
      int n = int(wParam) < bar->count ? int(wParam) : bar->count;
      for (int i = 0; i < n; ++i) out[i] = bar->parts[i] ? bar->parts[i]->left + bar->parts[i]->width : 0;
      return n;
    }
    case 0x8509: {
      CwStatusPart* p = wParam >= 1 ? Part(bar, wParam) : nullptr;
      if (!p || lParam == 0) return 0;
      p->kind = int32_t(lParam);
      if (p->kind == 1) p->text[0] = 0;
      if (p->kind == 2) p->progress = {0, 0, 100, 5};
      *repaint = SR_ALL;
      return 1;
    }
    case 0x850D:
    case 0x40A: {
      int32_t* out = reinterpret_cast<int32_t*>(lParam);
      if (!out || !StatusPartRect(bar, int(wParam), out)) return 0;
      return 1;
    }
    case 0x8510: {
      CwStatusPart* p = Part(bar, wParam);
      if (!p || p->kind != 2) return 0;
      int32_t a = int32_t(lParam & 0xFFFF), b = int32_t((lParam >> 16) & 0xFFFF);
      intptr_t old = (p->progress.minimum & 0xFFFF) | (intptr_t(p->progress.maximum & 0xFFFF) << 16);
      p->progress.minimum = a < b ? a : b;
      p->progress.maximum = a < b ? b : a;
      *repaint = SR_ALL;
      return old;
    }
    case 0x8511: {
      CwStatusPart* p = Part(bar, wParam);
      if (!p || p->kind != 2) return 0;
      int32_t position = int32_t(lParam);
      if (position < p->progress.minimum || position > p->progress.maximum) return -1;
      int32_t old = p->progress.position;
      p->progress.position = position;
      *repaint = SR_PART;
      *partOut = int(wParam);
      return old;
    }
    default:
      return 0;
  }
}
