// The canvas on Windows: a DIB section of the screen's depth in a memory
// device context, copied to windows with StretchDIBits; the scene block
// from the movable global heap; errors to the debugger and a message box.
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include "../canvas_platform.h"

namespace spriteset {

AnimScene* PlatformSceneAlloc(size_t size) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (handle == nullptr) return nullptr;
  auto* scene = static_cast<AnimScene*>(GlobalLock(handle));
  if (scene == nullptr) {
    GlobalFree(handle);
    return nullptr;
  }
  scene->memoryHandle = handle;
  return scene;
}

void PlatformSceneFree(AnimScene* scene) {
  HGLOBAL handle = static_cast<HGLOBAL>(scene->memoryHandle);
  GlobalUnlock(handle);
  GlobalFree(handle);
}

static void DropSection(AnimCanvas* canvas) {
  if (canvas->section == nullptr) return;
  SelectObject(static_cast<HDC>(canvas->dc), static_cast<HGDIOBJ>(canvas->oldBitmap));
  DeleteObject(static_cast<HGDIOBJ>(canvas->section));
  canvas->section = nullptr;
  canvas->bits = nullptr;
}

int PlatformCreateCanvas(AnimCanvas* canvas, int32_t width, int32_t height) {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return CanvasError(ANIM_CANVAS_NO_DC, __LINE__);
  int bits = GetDeviceCaps(screen, BITSPIXEL);
  const int planes = GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  if (bits > 24) bits = 24;
  if (bits != 8 && bits != 16 && bits != 24) return CanvasError(ANIM_CANVAS_PLATFORM_CALL, __LINE__);
  if (planes != 1) return CanvasError(ANIM_CANVAS_BAD_PLANES, __LINE__);
  if (canvas->dc == nullptr) {
    canvas->dc = CreateCompatibleDC(nullptr);
    if (canvas->dc == nullptr) return CanvasError(ANIM_CANVAS_NOT_CREATED, __LINE__);
  }
  DropSection(canvas);
  PackedDib& h = canvas->info.header;
  h = PackedDib{};
  h.biSize = sizeof(PackedDib);
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<uint16_t>(bits);
  void* pixels = nullptr;
  HBITMAP section =
      CreateDIBSection(static_cast<HDC>(canvas->dc), reinterpret_cast<BITMAPINFO*>(&canvas->info),
                       DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (section == nullptr || pixels == nullptr) {
    if (section) DeleteObject(section);
    DeleteDC(static_cast<HDC>(canvas->dc));
    canvas->dc = nullptr;
    return CanvasError(ANIM_CANVAS_NOT_CREATED, __LINE__);
  }
  canvas->oldBitmap = SelectObject(static_cast<HDC>(canvas->dc), section);
  canvas->section = section;
  canvas->bits = static_cast<uint8_t*>(pixels);
  canvas->stride = static_cast<int32_t>(dibRowStride(bits, width));
  return 0;
}

void PlatformDestroyCanvas(AnimCanvas* canvas) {
  if (canvas->dc == nullptr) return;
  DropSection(canvas);
  DeleteDC(static_cast<HDC>(canvas->dc));
  canvas->dc = nullptr;
}

int PlatformCopyToTarget(AnimCanvas* canvas, void* target, const DibRect& rect) {
  if (target == nullptr) return CanvasError(ANIM_CANVAS_NO_DC, __LINE__);
  const int width = rect.right - rect.left + 1, height = rect.bottom - rect.top + 1;
  const int32_t canvasHeight = canvas->info.header.biHeight;
  // StretchDIBits counts source rows from the bottom of a bottom-up DIB.
  const int srcY = canvas->topDown ? rect.top : canvasHeight - rect.bottom - 1;
  GdiFlush();
  if (StretchDIBits(static_cast<HDC>(target), rect.left, rect.top, width, height, rect.left, srcY, width,
                    height, canvas->bits, reinterpret_cast<const BITMAPINFO*>(&canvas->info), DIB_RGB_COLORS,
                    SRCCOPY) == 0) {
    return CanvasError(ANIM_CANVAS_PLATFORM_CALL, __LINE__);
  }
  return 0;
}

void PlatformOutline(void* target, const DibRect& rect) {
  if (target == nullptr) return;
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  DrawFocusRect(static_cast<HDC>(target), &r);
}

void PlatformFlush() { GdiFlush(); }
uint32_t PlatformMillis() { return timeGetTime(); }
void PlatformWait(uint32_t ms) { Sleep(ms); }

void PlatformShowError(const char* text) {
  OutputDebugStringA(text);
  MessageBoxA(nullptr, text, "Canvas", MB_OK | MB_ICONERROR);
}

}  // namespace spriteset
