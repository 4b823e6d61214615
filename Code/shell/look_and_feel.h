// The program's look: the palette every window realises, the program font
// in its five sizes, the skin library Skinres and the window and control
// defaults the toolkit paints from. Set up once at start-up, before the
// main frame exists; taken back at shut-down.
//
// Interface: CreateAppPalette, GetAppPalette, DeleteAppPalette,
// InitLookAndFeel, GetSkinModule, FreeLookAndFeel, RegisterProgramFonts,
// ReviseAppPalette, PaintControlBorder, FillWindowDefaults,
// FillControlDefaults, FillMainFrameSet.
#pragma once

#include <windows.h>

#include "facet.h"
#include "facet_frame.h"

// Font slots of the toolkit's registry, all of the face "RookwellOnyx".
enum ProgramFontSlot {
  kDialogFontSlot = 0,  // 10 pt, weight 800: message boxes, menus, controls
  kBoldFontSlot = 1,    // 11 pt, weight 800
  kStatusFontSlot = 2,  // 9 pt, weight 500
  kLargeFontSlot = 3,   // 16 pt, weight 600
  kTitleFontSlot = 4,   // 20 pt, weight 600
};

constexpr const char kProgramFontFace[] = "RookwellOnyx";
constexpr const char kProgramFontFile[] = "rwonyx.ttf";
constexpr const char kSkinLibrary[] = "Skinres.dll";

// The program palette: entries 0..9 and 246..255 the system's static
// colours, 10..245 the colours of the "PAL" bitmap resource with the
// no-collapse flag. Made once; 0 when no colours can be had.
HPALETTE CreateAppPalette();
// The palette, or 0 before CreateAppPalette (read by the splash thread).
HPALETTE GetAppPalette();
void DeleteAppPalette();

// Common controls, the program fonts, Skinres, the window and control
// defaults, the palette to the printing front end. Returns Skinres's
// module, or 0 when it cannot be loaded: windows are then unskinned (the
// toolkit still gets plain defaults with the palette, so framed windows
// can be made) and start-up goes on.
HINSTANCE InitLookAndFeel();
// The same with another skin library (tests load a missing one).
HINSTANCE InitLookAndFeelFrom(const char* library);
HINSTANCE GetSkinModule();
// Frees the toolkit's defaults, Skinres, the font registry and the added
// font file. `instance` is the program's and is not otherwise used.
void FreeLookAndFeel(HINSTANCE instance);

// Starts the toolkit's font registry, adds "rwonyx.ttf" of the program
// folder and, when it could be added, registers the five fonts. Returns 1
// when the fonts are registered, 0 when the toolkit's fall-back fonts
// stay.
int RegisterProgramFonts();

// Sets entries first..first+count-1 of the program palette and hands the
// whole table to the board view's sprite canvas. 0 for a null board view
// or when the palette cannot be read back.
int ReviseAppPalette(void* boardView, const PALETTEENTRY* colours, int first, int count);

// The controls' border painter: a one-pixel frame just inside `rect`
// (window coordinates), left and top in the defaults' light colour, right
// and bottom in the dark one, in the program palette. 0 for a missing
// argument or device context.
int PaintControlBorder(HWND window, const RECT* rect, const CcDefaults* defaults);

// The records as the program fills them (exposed for the tests).
void FillWindowDefaults(CwDefaults* d, HINSTANCE skin, HPALETTE palette);
void FillControlDefaults(CcDefaults* d, HINSTANCE skin, HPALETTE palette);
// The main frame's own frame look (resource ids; prepared by the toolkit).
void FillMainFrameSet(CwFrameBitmapSet* set, HINSTANCE skin);
