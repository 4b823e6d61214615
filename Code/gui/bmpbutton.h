// The bitmap button's window record and messages, for the button itself and
// for the classes built on its class (the hot button copies its class).
//
// Interface: BmpButtonData, BmpButtonProc, BmpButtonExtraBase,
// BmpButtonRecord, BmpButtonSystemProc, BBM_/BBN_ constants.
#pragma once

#include <windows.h>

#include <cstdint>

#include "button_state.h"

// Messages and notices of the bitmap button (CCM_SETDIB and CCM_FREEDIB are
// the library's shared picture messages).
enum : UINT {
  BBM_CCM_SETDIB = 0x8600,
  BBM_SETREPEAT = 0x8606,
  BBM_CCM_FREEDIB = 0x8630,
};
constexpr WORD BBN_REPEAT = 0x5E;
constexpr UINT_PTR kButtonRepeatTimer = 42;
constexpr uint32_t kButtonDefaultRepeat = 200;  // milliseconds

// Who owns a state image, so that only the button's own are freed.
enum ButtonImageOwner : uint8_t {
  kOwnerNone = 0,
  kOwnerBuilt,   // a text face the button built: freed by the button
  kOwnerShared,  // a control-defaults image or a bitmap resource: never freed
  kOwnerCaller,  // set by a message: the caller's, freed only on CCM_FREEDIB
};

// Extra slot 1 of a bitmap button (slot 0 holds the creation style without
// the type bits). Zero-filled at creation.
struct BmpButtonData {
  RECT client;            // kept only for transparent buttons
  uint32_t repeat;        // auto-repeat period in milliseconds
  uint32_t state;         // kButtonChecked | kButtonPushed | kButtonFocus | kButtonHover
  PackedDib* background;  // copy of the parent's background (transparent buttons)
  PackedDib* images[kButtonImages];
  uint8_t owner[kButtonImages];  // ButtonImageOwner per image
  uint8_t releasing;             // the system procedure is handling a click's release
  uint8_t unsized;               // text faces wait for a size to be built for
};

// The window procedure of the class; classes built on the button call it
// for whatever they do not handle themselves.
LRESULT CALLBACK BmpButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Offset of extra slot 0 (the system button's extra bytes come first).
int BmpButtonExtraBase();
// The record of a bitmap button window, or null.
BmpButtonData* BmpButtonRecord(HWND window);
// The system button procedure that the class passes messages on to.
WNDPROC BmpButtonSystemProc();
