// The status bar painted in a framed window's bottom edge, as data: up to
// ten parts of text or progress, driven by window messages. OS-free; the
// frame (frame_window.cpp) paints it and passes its messages here.
//
// Interface: StatusBarCreate, StatusBarDestroy, StatusBarMessage,
// StatusPartRect, IsStatusBarMessage.
#pragma once

#include <cstdint>

constexpr int kStatusParts = 10;

struct CwStatusPart {
  int32_t left;
  int32_t width;  // -1: up to 10 pixels before the bar's right end
  int32_t kind;   // 0 or 1 text, 2 progress
  union {
    char text[128];
    struct {
      int32_t position, minimum, maximum, step;
    } progress;
  };
};

struct CwStatusBar {
  int32_t count;
  int32_t rect[4];  // window coordinates: left, top, right, bottom
  CwStatusPart* parts[kStatusParts];
};

CwStatusBar* StatusBarCreate();
void StatusBarDestroy(CwStatusBar* bar);

bool IsStatusBarMessage(uint32_t message);

// What a handled message asks the painter to do.
enum StatusRepaint { SR_NONE, SR_ALL, SR_PART };

// Handles one status message; the result is the message's answer. A look
// without a separator bitmap gives separatorWidth 0. *repaint tells what to
// redraw, *part which part for SR_PART.
intptr_t StatusBarMessage(CwStatusBar* bar, uint32_t message, uintptr_t wParam, intptr_t lParam,
                          int separatorWidth, StatusRepaint* repaint, int* part);

// The part's rectangle (left, top, right, bottom) as it is painted; false
// for a part that does not exist.
bool StatusPartRect(const CwStatusBar* bar, int part, int32_t out[4]);
