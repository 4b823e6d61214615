// The shared services under their exported names (see facet.h): each
// forwards to the library's own helper.
#include "barframe.h"
#include "controls.h"
#include "facet.h"
#include "keyedlist.h"
#include "mousehook.h"
#include "procdata.h"
#include "rangeset.h"
#include "sortswap.h"
#include "winutil.h"

extern "C" {

void* ccLookupDefaults(HWND window, int slot) { return GetProcessData(window, slot); }

int ccBuildThreePiece(PackedDib* image, PackedDib* start, PackedDib* middle, PackedDib* end, int vertical) {
  return BuildBarDib(image, start, middle, end, vertical);
}
int ccDrawThreePiece(HDC dc, const RECT* rect, PackedDib* start, PackedDib* middle, PackedDib* end,
                     int vertical) {
  return PaintBarOnDC(dc, rect, start, middle, end, vertical);
}
void TileBitmap(HDC dc, PackedDib* bitmap, const RECT* rect) { TileDibOnDC(dc, bitmap, rect); }
void ccDrawFrameBorder(HWND window, const RECT* windowRect, const FrameSet* frame, HPALETTE palette) {
  PaintFrameSet(window, windowRect, frame, palette);
}
int ccFillRectBrush(HDC dc, const RECT* rect, HBRUSH brush) { return PaintRectWithBrush(dc, rect, brush); }
int ccFillRectPalette(HDC dc, const RECT* rect, int paletteIndex) {
  return PaintRectWithPaletteIndex(dc, rect, paletteIndex);
}
HPALETTE ccSelectPalette(HDC dc, void* ignored, HPALETTE palette) {
  return SelectAndRealizePalette(dc, ignored, palette);
}
LRESULT ccParentPaintBackground(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcedure(window, message, wParam, lParam);
}
PackedDib* ccLoadResourceBitmap(HINSTANCE module, int id) { return LoadWritableBitmapResource(module, id); }
void RedrawModuleWindows(HWND window) { RedrawWindowsOfInstance(window); }
HFONT ccCreatePointFont(const char* face, int points, int weight, int charset) {
  return CreateFontForPoints(face, points, weight, charset);
}

int ccCaptureMouse(HWND window) { return BeginMouseCapture(window); }
void ccReleaseMouse(void) { EndMouseCapture(); }
void ccTrackMouseOwner(HWND window) { SetMenuOwnerWindow(window); }
void ccNcToClientMouse(HWND window, UINT* message, WPARAM* wParam, LPARAM* lParam) {
  NonClientMouseToClient(window, message, wParam, lParam);
}
int ccDialogTabKey(HWND window, WPARAM virtualKey) { return HandleDialogNavigationKey(window, virtualKey); }
int ccWheelScrollLines(void) { return GetWheelScrollLines(); }

LONG ccGetWindowWord(HWND window, int offset, int index) { return GetExtraLong(window, offset, index); }
LONG ccSetWindowWord(HWND window, int offset, int index, LONG value) {
  return SetExtraLong(window, offset, index, value);
}
int ccControlRectInParent(HWND window, RECT* out) { return GetWindowRectInParent(window, out); }
void ccScreenRectToClient(HWND window, RECT* rect) { ScreenRectToClient(window, rect); }
int ccApplyCaptionPlacement(HWND window) { return ApplyCaptionPlacement(window); }
const WCHAR* ccSkipWideString(const WCHAR* text) { return SkipWideString(text); }
int ccWideToNarrow(char* destination, const WCHAR* text) { return NarrowWideString(destination, text); }

KeyedList* ccListCreate(unsigned extraBytes) { return KeyedListCreate(extraBytes); }
void ccListInit(KeyedList* list, unsigned extraBytes) {
  KeyedListInit(list);
  if (list && extraBytes) {
    list->userSize = extraBytes;
    list->user = list + 1;  // the caller's bytes behind the record
  }
}
void* ccListAppend(KeyedList* list, const void* data, unsigned size, int where) {
  return KeyedListAddCopy(list, data, size, where);
}
void* ccListStep(KeyedList* list, int steps, int origin) { return KeyedListMoveCursor(list, steps, origin); }
void* ccListFind(KeyedList* list, const void* key, int (*compare)(const void*, const void*)) {
  return KeyedListFind(list, key, compare);
}
int ccListRemoveNode(KeyedList* list, KeyedListNode* node) { return KeyedListRemoveNode(list, node); }
int ccListClear(KeyedList* list) { return KeyedListClear(list); }
void ccListDestroy(KeyedList* list) { KeyedListDestroy(list); }

int ccRangeSetContains(const KeyedList* set, int index) { return RangeSetContains(set, index); }
int ccRangeSetNext(const KeyedList* set, int index, int* out) {
  int32_t next = 0;
  int found = RangeSetNextMember(set, index, &next);
  if (found && out) *out = next;
  return found;
}
int ccRangeSetCount(const KeyedList* set) { return RangeSetCount(set); }
int ccRangeSetSelect(KeyedList* set, int index, int on) { return RangeSetSet(set, index, on); }
int ccRangeSetAdd(KeyedList* set, int first, int last) { return RangeSetAddRange(set, first, last); }
int ccRangeSetRemove(KeyedList* set, int first, int last) { return RangeSetRemoveRange(set, first, last); }
int ccRangeSetInsert(KeyedList* set, int index, int on) { return RangeSetInsertItem(set, index, on); }
int ccRangeSetDelete(KeyedList* set, int index) { return RangeSetDeleteItem(set, index); }

void ccSort(void* base, unsigned count, unsigned size, int (*compare)(const void*, const void*, void*),
            void (*swap)(void*, void*, void*), void* context) {
  SortWithSwap(base, count, size, compare, swap, context);
}

}  // extern "C"
