// CcDefaults: the per-process control defaults that every control of the
// library paints from (kind 1 of the per-process table), and FrameSet, the
// eight pieces of a bitmap frame. The main program gets the record from
// ccInit, adjusts it in place and hands it back with ccSetControlData.
#pragma once

#include <windows.h>

#include <cstdint>

struct PackedDib;  // Dibkit's bitmap in one block: header, colour table, pixels

// A bitmap field: a numeric resource id until ccSetControlData replaces it
// with the bitmap loaded from the resource module (null when the module has
// no such bitmap).
using CcBitmap = PackedDib*;
inline CcBitmap CcBitmapId(uintptr_t id) { return reinterpret_cast<CcBitmap>(id); }

// Frame pieces in clockwise order from the top-left corner.
enum FramePiece {
  FP_TOP_LEFT = 0,
  FP_TOP,
  FP_TOP_RIGHT,
  FP_RIGHT,
  FP_BOTTOM_RIGHT,
  FP_BOTTOM,
  FP_BOTTOM_LEFT,
  FP_LEFT,
  FP_COUNT
};

struct FrameSet {
  CcBitmap pieces[FP_COUNT];
};

struct CcDefaults;
// Draws a control's border: (window, window rectangle with origin 0,0, defaults).
using CcNcPainter = void (*)(HWND window, RECT* windowRect, CcDefaults* defaults);

// The scroll bar's pieces (three state variants each), as the library's
// scroll bar loads them.
struct CcScrollBarSection {
  int32_t notLoaded;         // 1 until the bitmaps are loaded
  int32_t verticalWidth;     // set at loading: width of the first vertical piece
  int32_t horizontalHeight;  // set at loading: height of the first horizontal piece
  CcBitmap verticalArrows[6];
  CcBitmap verticalThumb[9];
  COLORREF verticalTrack;
  CcBitmap horizontalArrows[6];
  CcBitmap horizontalThumb[3];
  COLORREF horizontalTrack;
  CcBitmap trackBitmaps[6];  // the optional track sets
  int32_t reserved[6];
};

struct CcDefaults {
  // Head
  HINSTANCE module;          // given to ccInit
  HINSTANCE resourceModule;  // bitmaps are loaded from it
  int32_t mapColours;        // non-zero: loaded colour tables become palette indices
  char programFolder[512];   // ends in a backslash when the main program sets it
  int32_t headWord;

  // Drawing
  HFONT font;
  HPALETTE palette;
  int32_t ncFrameWidth;  // frame width used with the non-client painter
  int32_t drawingWord1;
  int32_t comboValues[2];
  CcNcPainter ncPainter;  // null: controls draw their frames from bitmaps
  int32_t darkEdge;       // colour indices
  int32_t lightEdge;
  int32_t comboValue;
  int32_t drawingWord2;
  int32_t sizes[2];
  int32_t comboSize;
  int32_t drawingWord3;

  // Button text
  char buttonFace[48];
  int32_t buttonFontSlot;  // a cguiGetFont slot
  int32_t buttonTextValues[4];
  int32_t textColourMode;  // 0: buttonTextColours are bitmaps to load, else palette indices

  // Button
  int32_t stateFaceOffsets[6];
  CcBitmap checkImages[5];
  CcBitmap radioImages[5];
  CcBitmap pushLeft[4];
  CcBitmap pushMiddle[4];
  CcBitmap pushRight[4];

  // Library bitmap ids (the library's own bitmaps, not loaded here)
  int32_t libraryBitmapIds[12];

  // Button text colours per state
  uintptr_t buttonTextColours[4];

  // Edit
  int32_t editBackground;
  int32_t editText;
  FrameSet editFrame;
  int32_t editFrameWidth;  // derived at loading: width of the left piece
  int32_t editValue;

  // Combo box
  int32_t comboButtonWidth;
  int32_t comboEditHeight;
  int32_t comboButtonId;
  void* comboFramePainter;
  HBRUSH comboFrameBrush;

  // Scroll bars
  CcScrollBarSection scrollBar;

  // Tab control
  CcBitmap tabBody;
  CcBitmap tabPairs[6];
  int32_t tabTextSelected;
  int32_t tabTextNormal;
  int32_t tabTextDisabled;

  // Spin edit
  int32_t spinEdit[4];

  // List and tree colours
  int32_t listBackground;
  int32_t listSelection;
  int32_t listValue;
  int32_t listText;
  int32_t listSelectedText;

  // List
  FrameSet listFrame;
  int32_t listFrameWidth;  // derived at loading

  // Tree
  CcBitmap treeBitmaps[2];
  int32_t treeSettings[3];
  COLORREF treeColours[2];

  // Track bar
  int32_t trackBackground;
  int32_t trackThumb;
  int32_t trackChannel;

  // Tail
  int32_t groupCaptionColour;  // -1 = none
  int32_t tailValues[2];
  int32_t captionShadow;  // -1 = none

  // Colour text (palette indices)
  int32_t colorTextBackground;
  int32_t colorTextText;
  int32_t colorTextSelection;
  int32_t colorTextSelectedText;
};
