// Control library core: ccInit and the control defaults, class registration,
// the wheel setting and caption placement.
#include "controls.h"

#include <cstring>

#include "basic_controls.h"
#include "caption.h"
#include "facet.h"
#include "facet_frame.h"
#include "lists.h"  // lists
#include "procdata.h"

const char* const kControlClassNames[16] = {
    "CGUIBMPButton", "CGUIHotButton", "AnimButton",      "CGUIStatic",   "CGUIScrollBar", "CGUISpinEdit",
    "CGUIComboBox",  "CGUIEdit",      "CC20SpinList",    "CGUITrackbar", "CGUIListWnd",   "CGUITreeViewWnd",
    "CGUIColorText", "CGUITabWnd",    "CGUIListViewWnd", "CGUISplitter",
};

namespace {

HINSTANCE g_controlModule = nullptr;

}  // namespace

HINSTANCE GetControlModule() { return g_controlModule; }

namespace {

// A control's own registration function, given the library module. In the
// order of kControlClassNames: the hot button copies the bitmap button's
// class, so order matters.
using ClassRegistrar = ATOM (*)(HINSTANCE module);
const ClassRegistrar kRegistrars[16] = {
    RegisterBmpButtonClass,  // CGUIBMPButton (button)
    RegisterHotButtonClass,  // CGUIHotButton
    RegisterAnimButtonClass, // AnimButton
    RegisterStaticClass,     // CGUIStatic
    RegisterScrollBarClass,  // CGUIScrollBar (lists)
    RegisterSpinEditClass,   // CGUISpinEdit
    RegisterComboBoxClass,   // CGUIComboBox
    RegisterEditClass,       // CGUIEdit
    RegisterSpinListClass,   // CC20SpinList
    RegisterTrackbarClass,   // CGUITrackbar
    RegisterListClass,       // CGUIListWnd (lists)
    RegisterTreeClass,       // CGUITreeViewWnd (lists)
    RegisterColorTextClass,  // CGUIColorText
    RegisterTabClass,        // CGUITabWnd
    RegisterListViewClass,   // CGUIListViewWnd (lists)
    RegisterSplitterClass,   // CGUISplitter
};

// The classes that the last detach unregisters, each with what its windows
// share (class brush, frame cache); the others stay until the library is
// unloaded.
using ClassUnregistrar = void (*)(HINSTANCE module);
const ClassUnregistrar kUnregisteredAtDetach[] = {UnregisterEditClass, UnregisterColorTextClass,
                                                  UnregisterSplitterClass, UnregisterAnimButtonClass};

}  // namespace

int RegisterControlClasses(HINSTANCE libraryModule) {
  g_controlModule = libraryModule;
  int registered = 0;
  for (ClassRegistrar registrar : kRegistrars)
    if (registrar(libraryModule)) ++registered;
  return registered;
}

void UnregisterControlClasses() {
  for (ClassUnregistrar unregister : kUnregisteredAtDetach) unregister(g_controlModule);
  ReleaseProcessData(GetCurrentProcessId(), PD_CONTROL_DEFAULTS);
  g_controlModule = nullptr;
}

void RegisterLibraryClasses(HINSTANCE libraryModule) {
  RegisterControlClasses(libraryModule);
  cwRegisterDialogClass(libraryModule);  // frame_window.cpp
  cmRegisterPopupClass(libraryModule);   // menu_popup.cpp
}

void UnregisterLibraryClasses(HINSTANCE libraryModule) {
  UnregisterControlClasses();
  cmUnregisterPopupClass(libraryModule);
}

int GetWheelScrollLines() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  bool oldSystem = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ||
                   (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion < 4);
  return WheelScrollLinesFor(oldSystem);
}

int WheelScrollLinesFor(bool oldSystem) {
  if (oldSystem) {
    // Older systems learn the setting from the wheel driver's helper window.
    HWND helper = FindWindowA("MouseZ", "Magellan MSWHEEL");
    UINT message = RegisterWindowMessageA("MSH_SCROLL_LINES_MSG");
    if (helper && message) return int(SendMessageA(helper, message, 0, 0));
    return 3;
  }
  UINT lines = 3;
  if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) return 3;
  return int(lines);  // all bits set: a page per notch
}

int ApplyCaptionPlacement(HWND window) {
  char caption[kCaptionMaxChars + 1] = "";
  GetWindowTextA(window, caption, sizeof caption);
  CaptionPlacement p{};
  if (!ParseCaptionPlacement(caption, &p)) return 0;
  UINT flags = SWP_NOZORDER;
  if (!p.move) flags |= SWP_NOMOVE;
  if (!p.size) flags |= SWP_NOSIZE;
  SetWindowPos(window, nullptr, p.x, p.y, p.w, p.h, flags);
  return 1;
}

extern "C" {

CcDefaults* ccInit(HINSTANCE module) {
  CcDefaults d;
  std::memset(&d, 0, sizeof d);
  d.module = module;
  d.resourceModule = g_controlModule;
  d.mapColours = 1;
  d.ncFrameWidth = 1;
  d.sizes[0] = d.sizes[1] = 10;
  d.comboSize = 18;
  std::strcpy(d.buttonFace, "Courier New");
  d.buttonFontSlot = 9;
  d.buttonTextValues[0] = 12;
  d.buttonTextValues[3] = 1;
  d.textColourMode = 1;
  for (int i = 0; i < 6; ++i) {
    d.libraryBitmapIds[i] = 110 + i;
    d.libraryBitmapIds[6 + i] = 117 + i;
  }
  const uintptr_t textColours[4] = {251, 255, 4, 0};
  std::memcpy(d.buttonTextColours, textColours, sizeof textColours);
  d.editValue = 65535;

  CcScrollBarSection& sb = d.scrollBar;
  sb.notLoaded = 1;
  for (int i = 0; i < 6; ++i) {
    sb.verticalArrows[i] = CcBitmapId(19 + i);
    sb.horizontalArrows[i] = CcBitmapId(25 + i);
    sb.trackBitmaps[i] = CcBitmapId(34 + i);
  }
  for (int i = 0; i < 9; ++i) sb.verticalThumb[i] = CcBitmapId(31 + i % 3);
  for (int i = 0; i < 3; ++i) sb.horizontalThumb[i] = CcBitmapId(31 + i);
  sb.verticalTrack = sb.horizontalTrack = RGB(0x80, 0x80, 0x80);

  d.treeSettings[0] = 3;
  d.treeSettings[1] = 3;
  d.treeColours[0] = RGB(0, 0xFF, 0);
  d.treeColours[1] = RGB(0xFF, 0xFF, 0xFF);

  // colour text: black on white, the current entry white on dark blue
  d.colorTextBackground = 255;
  d.colorTextText = 0;
  d.colorTextSelection = 4;
  d.colorTextSelectedText = 255;

  if (StoreProcessData(GetCurrentProcessId(), PD_CONTROL_DEFAULTS, &d, sizeof d) < 0) return nullptr;
  return ccGetDefaultData();
}

int ccSetControlData(HINSTANCE, CcDefaults* record) {
  if (!record) return 0;
  DWORD process = GetCurrentProcessId();
  // Nothing is stored for a process that has no entry (ccInit claims it).
  if (!ReplaceProcessData(process, PD_CONTROL_DEFAULTS, record, sizeof *record)) return 1;
  if (!record->resourceModule) return 1;
  LoadControlFamilyBitmaps(record);
  // A caller that passed its own record rather than the one ccInit gave
  // would leave resource ids in the stored copy, which the controls would
  // then take for bitmaps: store the loaded record again.
  CcDefaults* stored = ccGetDefaultData();
  if (stored != record) ReplaceProcessData(process, PD_CONTROL_DEFAULTS, record, sizeof *record);
  return 1;
}

CcDefaults* ccGetDefaultData(void) {
  return static_cast<CcDefaults*>(GetProcessData(nullptr, PD_CONTROL_DEFAULTS));
}

HPALETTE ccSetControlPalette(void*, HPALETTE palette) {
  CcDefaults* d = ccGetDefaultData();
  if (!d) return nullptr;
  HPALETTE old = d->palette;
  d->palette = palette;
  return old;
}

}  // extern "C"
