// Facet's framed windows, custom menus and rendered text: the records that
// cross into the main program and the cw*, cm* and ctt* exports.
//
// Framed windows: cwInit, cwSetDefaults, cwGetDefaultData, cwFree,
// cwSetAppMainWindow, cwCreateWindowEx, cwAdjustWindowRect,
// cwDefWindowProc, cguiDialogWndProc, cwEnableMenu.
// Menus: cmLoadMenu, cmDestroyMenu, cmCreatePopupMenu, cmAppendMenu,
// cmInsertMenuItem, cmGetSubMenu, cmDestroySubMenu, cmCheckMenuItem,
// cmEnableMenuItem, cmGetMenuItemInfo, cmSetMenuItemInfo, cmGetMenu,
// cmSetMenu, cmTrackPopupMenu.
// Text: cttSetMat, cttSetRotationMat, cttFreeDib, cttBasicStringSize,
// cttBasicString, ctt3ColorString, cttStringSimple, cttString3ColorSimple.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ctt_matrix.h"
#include "dibkit.h"
#include "facet.h"
#include "frame_layout.h"
#include "frame_status.h"
#include "menu_model.h"

// Private messages of framed windows and menus.
enum : UINT {
  CWM_MENUCLOSED = 0x8402,
  CWM_GETWINDOWDATA = 0x8403,
  CWM_NOTIFY = 0x8503,
  CWM_SETSTATUSTEXT = 0x8504,
  CWM_TOGGLE = 0x8502,
};

// A frame bitmap set: 74 words. Words 23..73 are bitmap resource ids until
// the set is prepared, then PackedDib pointers: pieces[word - 23].
enum FrameWord {
  FW_SYSMENU = 23,
  FW_MINIMIZE = 25,
  FW_MAXIMIZE = 27,
  FW_CLOSE = 29,
  FW_RESTORE = 31,
  FW_TOGGLE = 33,
  FW_CAPTION = 35,
  FW_LEFT = 41,
  FW_RIGHT = 47,
  FW_TOP = 53,
  FW_BOTTOM = 59,
  FW_TOPLEFT = 65,
  FW_TOPRIGHT = 67,
  FW_BOTTOMLEFT = 69,
  FW_BOTTOMRIGHT = 71,
  FW_BACKGROUND = 73,
  FW_FIRST_BITMAP = 23
};

struct CwFrameBitmapSet {
  uintptr_t present;
  HINSTANCE module;
  uintptr_t prepared;
  char face[48];
  HFONT font;
  int32_t fontHeight, fontWidth;
  int32_t textX, textY;
  int32_t textMode;  // 1 drawn at paint time, 2 ready-made text bitmaps, 3 rendered
  uintptr_t textColour[2];
  PackedDib* pieces[51];
  PackedDib* Piece(int word) const { return pieces[word - FW_FIRST_BITMAP]; }
};

struct CwMenuLook {
  int32_t present, imagesLoaded, imageFrame, barKind;
  char face[48];
  HFONT font;
  int32_t points, gap;
  PackedDib* barBackground[3];
  int32_t normalX, normalY, hotX, hotY;
  int32_t barText, barTextHot;
  int32_t itemText, itemTextHighlighted, background, highlightFill, grayText, grayTextHighlighted,
      spareColour;
  PackedDib* barItem[3];
  PackedDib* barItemHot[3];
  int32_t unread[4];
  PackedDib* frame[8];  // clockwise from the top-left corner
  PackedDib* separator[3];
  PackedDib* check[2];
  PackedDib* arrow[2];
  int32_t statusText, statusBase;
  HINSTANCE statusModule;
  int32_t statusPart;
};

struct CwStatusLook {
  int32_t present;
  char face[48];
  int32_t points;
  HFONT font;
  PackedDib* separator;  // a resource id until cwSetDefaults
  int32_t progressColour;
  int32_t textColour;
};

struct CwDefaults {
  HINSTANCE resourceModule;
  HWND appMainWindow;
  HPALETTE palette;
  int32_t unused[2];
  int32_t mapColours;
  HFONT font;
  int32_t word8, word0;
  CwFrameBitmapSet sizable, border, dialog;
  CwMenuLook menuLook;
  CwStatusLook statusLook;
};

// The records' sizes in the 32-bit program, as the main program fills them.
static_assert(sizeof(void*) != 4 || sizeof(CwFrameBitmapSet) == 74 * 4, "frame set: 74 words");
static_assert(sizeof(void*) != 4 || sizeof(CwMenuLook) == 64 * 4, "menu look: 64 words");

struct CwCreateParams {
  uint32_t flags;  // 1 status bar, 2 menu bar, 0x10000 own frame set (set by cwCreateWindowEx)
  CwFrameBitmapSet frame;
  uint32_t menuId;
  uint32_t systemMenuId;
  HINSTANCE menuModule;
  LPARAM appParam;
};

struct CmMenuBar;

struct CwWindowData {
  uint32_t frameFlags;
  uint32_t style;
  uint32_t toggle;
  uint32_t kind;
  uint32_t paletteChanged, repaintNeeded;
  CwFrameRegion regions[FR_COUNT];
  uint32_t frameKind;
  uint32_t pressed;
  uint32_t pressedMask;
  CwFrameBitmapSet* set;
  uint32_t ownSet;
  CmMenuBar* menuBar;
  CmMenu* systemMenu;
  CwDefaults* defaults;
  CwStatusBar* statusBar;
};

struct CmMenuBar {
  HWND window;
  HWND dropDown;
  int32_t rect[4];
  PackedDib* background;
  CmMenu* menu;
  POINT lastCursor;
  int32_t disabled;
};

extern "C" {

FACET_API CwDefaults* cwInit(void);
FACET_API int cwSetDefaults(HINSTANCE module, CwDefaults* defaults);
FACET_API CwDefaults* cwGetDefaultData(void);
FACET_API int cwFree(void);
FACET_API HWND cwSetAppMainWindow(HINSTANCE module, HWND window);
FACET_API HWND cwCreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                                int x, int y, int width, int height, HWND parent, HMENU menu,
                                HINSTANCE instance, CwCreateParams* params);
FACET_API int cwAdjustWindowRect(RECT* rect, DWORD style, int hasMenu);
FACET_API LRESULT CALLBACK cwDefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
FACET_API LRESULT CALLBACK cguiDialogWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
FACET_API int cwEnableMenu(HWND window, int enable);

FACET_API CmMenu* cmLoadMenu(HINSTANCE module, const char* name);
FACET_API int cmDestroyMenu(CmMenu* menu);
FACET_API CmMenu* cmCreatePopupMenu(void);
FACET_API int cmAppendMenu(CmMenu* menu, UINT flags, UINT_PTR id, const char* text);
FACET_API int cmInsertMenuItem(CmMenu* menu, UINT position, BOOL byPosition, const MENUITEMINFOA* info);
FACET_API CmMenu* cmGetSubMenu(CmMenu* menu, int position);
FACET_API void cmDestroySubMenu(CmMenu* menu);
FACET_API DWORD cmCheckMenuItem(CmMenu* menu, UINT item, UINT flags);
FACET_API DWORD cmEnableMenuItem(CmMenu* menu, UINT item, UINT flags);
FACET_API int cmGetMenuItemInfo(CmMenu* menu, UINT item, BOOL byPosition, MENUITEMINFOA* info);
FACET_API int cmSetMenuItemInfo(CmMenu* menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
FACET_API CmMenu* cmGetMenu(HWND window);
FACET_API CmMenu* cmSetMenu(HWND window, CmMenu* menu);
FACET_API HWND cmTrackPopupMenu(CmMenu* menu, const RECT* anchor, HWND owner, int mode);

FACET_API void cttSetMat(CttMat2* mat, double a, double b, double c, double d);
FACET_API void cttSetRotationMat(CttMat2* mat, double degrees);
FACET_API void cttFreeDib(PackedDib* image);
FACET_API unsigned long long cttBasicStringSize(HDC dc, const char* text);
FACET_API PackedDib* cttBasicString(HDC dc, const char* text, const PackedDib* colours, int prefix);
FACET_API PackedDib* ctt3ColorString(HDC dc, const char* text, const PackedDib* colours, int prefix,
                                     int textColour, int outsideColour, int insideColour);
FACET_API PackedDib* cttStringSimple(const char* text, const char* face, int width, int height,
                                     const PackedDib* colours);
FACET_API PackedDib* cttString3ColorSimple(const char* text, const char* face, int width, int height,
                                           const PackedDib* colours, CttMat2* mat, GLYPHMETRICS* metrics,
                                           int textColour, int outsideColour, int insideColour);

}  // extern "C"

// Inside the library.
int cwRegisterDialogClass(HINSTANCE module);
int cmRegisterPopupClass(HINSTANCE module);
void cmUnregisterPopupClass(HINSTANCE module);
bool cwMovedFarEnough(POINT a, POINT b);
CwWindowData* cwGetWindowData(HWND window);
// A frame command: tells the application main window (close 2, minimize and
// maximize 3, restore 5), swaps the restore look, posts WM_SYSCOMMAND.
void cwPostSysCommand(HWND window, CwWindowData* data, WPARAM command);
// Paints the frame's status bar (frame_window.cpp), and the menu engine's
// entry points for the frame (menu_bar.cpp, menu_popup.cpp).
void cwStatusPaint(HDC dc, CwWindowData* data);
CmMenuBar* cmCreateMenuBar(HWND window, HINSTANCE module, const char* name);
int cmDestroyMenuBar(CmMenuBar* bar);
void cmLayoutMenuBar(CmMenuBar* bar, RECT* area);
void cmPaintMenuBar(HDC dc, CmMenuBar* bar);
int cmBarClick(HWND window, CmMenuBar* bar, POINT screen);
int cmBarHover(HWND window, CmMenuBar* bar, POINT screen);
int cmBarMnemonic(HWND window, CmMenuBar* bar, int character);
int cmBarStep(HWND window, CmMenuBar* bar, int index, int step);
int cmMeasureBarItems(CmMenu* menu, CmMenuBar* bar);
int cmRenderBarItems(CmMenu* menu, CmMenuBar* bar);
void cwMenuBarExitMenu(HWND window, CwWindowData* data);
HWND cmShowPopup(CmMenu* menu, const RECT* anchor, HWND owner, INT_PTR mode);
void cmClosePopup(HWND popup, bool notify);
// Shows another menu in an open bar drop-down (no WM_INITMENUPOPUP).
HWND cmRetargetPopup(HWND popup, CmMenu* menu, const RECT* anchor, HWND owner);
int cmPrepareMenuLook(CwMenuLook* look, HINSTANCE module, int mapColours);
PackedDib* cwLoadBitmap(HINSTANCE module, uintptr_t id, int remap);
// Copies a w x h block of 8-bit pixels, (x, y) from each image's top row,
// clipped to both images; with `transparent` index 0 is skipped.
void CopyPixels8(PackedDib* dst, const PackedDib* src, int dx, int dy, int sx, int sy, int w, int h,
                 bool transparent);
