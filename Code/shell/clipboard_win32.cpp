#include "clipboard.h"

#include <cstring>
#include <string>

#include "app_globals.h"
#include "clipboard_text.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "game_record.h"
#include "look_and_feel.h"
#include "rw_strings.h"
#include "shell_services.h"

namespace {

ClipboardSlotChooser g_chooser = nullptr;

// A movable, zeroed block of `size` bytes holding `text`; null on failure.
HGLOBAL TextBlock(const std::string& text, size_t size, UINT extraFlags = 0) {
  if (size < text.size() + 1) size = text.size() + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | extraFlags, size);
  if (!block) return nullptr;
  if (char* p = static_cast<char*>(GlobalLock(block))) {
    std::memcpy(p, text.data(), text.size());
    GlobalUnlock(block);
    return block;
  }
  GlobalFree(block);
  return nullptr;
}

// Empties the clipboard and hands it the blocks (it owns them from then
// on); a block that cannot be placed is freed here.
int Place(HWND window, UINT format, HGLOBAL block, UINT secondFormat = 0, HANDLE second = nullptr) {
  if (!block) {
    if (second) DeleteObject(second);
    return 0;
  }
  if (!OpenClipboard(window)) {
    GlobalFree(block);
    if (second) DeleteObject(second);
    return 0;
  }
  EmptyClipboard();
  if (second && !SetClipboardData(secondFormat, second)) DeleteObject(second);
  const bool placed = SetClipboardData(format, block) != nullptr;
  if (!placed) GlobalFree(block);
  CloseClipboard();
  return placed ? 1 : 0;
}

}  // namespace

void SetClipboardSlotChooser(ClipboardSlotChooser chooser) { g_chooser = chooser; }

int CopyGameText(GameRecord* game, HWND window, int tabs, int) {
  if (!game) return 0;
  const int slot = g_chooser ? g_chooser(window, game) : 0;
  if (slot == -2) return 0;
  std::string text;
  if (GameClipboardText(game, tabs != 0, slot, GetNotationStyle(), &text) == GameTextCopy::kTooLarge) {
    char message[128] = "The move list is too large for the clipboard.";
    LoadStringA(GetModuleHandleA(nullptr), IDS_MOVE_LIST_TOO_LARGE, message, sizeof message);
    Services().appMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  return Place(window, CF_TEXT, TextBlock(text, 0));
}

int CopyPositionText(HWND window, const Board* position) {
  if (!position) return 0;
  return Place(window, CF_TEXT, TextBlock(PositionClipboardText(*position), kPositionBlockSize));
}

int CopyBoardDiagram(HWND window, const Board* position) {
  if (!position) return 0;
  return Place(window, CF_TEXT, TextBlock(DiagramClipboardText(*position), kDiagramBlockSize, GMEM_SHARE));
}

HGLOBAL BitmapToPackedDibHandle(HBITMAP bitmap, int mode) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return nullptr;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = bm.bmWidth;
  header.biHeight = bm.bmHeight;
  header.biPlanes = 1;
  header.biBitCount = mode == 1 ? 8 : WORD(bm.bmPlanes * bm.bmBitsPixel);
  header.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HPALETTE palette = GetAppPalette();
  HPALETTE old = palette ? SelectPalette(screen, palette, FALSE) : nullptr;
  if (palette) RealizePalette(screen);
  size_t colours = 0;
  if (mode == 1) {
    colours = 256 * sizeof(RGBQUAD);
  } else {
    colours = header.biBitCount <= 8 ? (size_t(1) << header.biBitCount) * sizeof(RGBQUAD)
                                     : (header.biBitCount == 16 || header.biBitCount == 32 ? 12 : 0);
  }
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof header + colours);
  bool ok = false;
  if (block) {
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(block));
    info->bmiHeader = header;
    ok = GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), nullptr, info, DIB_RGB_COLORS) != 0;
    if (ok && info->bmiHeader.biSizeImage == 0)
      info->bmiHeader.biSizeImage =
          DWORD(((info->bmiHeader.biWidth * info->bmiHeader.biBitCount + 31) / 32) * 4 * bm.bmHeight);
    const DWORD image = ok ? info->bmiHeader.biSizeImage : 0;
    GlobalUnlock(block);
    if (ok) {
      HGLOBAL grown = GlobalReAlloc(block, sizeof header + colours + image, GMEM_MOVEABLE);
      if (grown) {
        block = grown;
        info = static_cast<BITMAPINFO*>(GlobalLock(block));
        ok = GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), reinterpret_cast<char*>(info) + sizeof header + colours,
                       info, DIB_RGB_COLORS) != 0;
        GlobalUnlock(block);
      } else {
        ok = false;
      }
    }
    if (!ok) {
      GlobalFree(block);
      block = nullptr;
    }
  }
  if (palette) SelectPalette(screen, old, FALSE);
  ReleaseDC(nullptr, screen);
  return block;
}

int CopyBoardPicture(HWND window) {
  if (!window) return 0;
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RoomBoard* board = GetRoomBoard();
  if (!board || !board->view) return 0;
  RECT client;
  GetClientRect(window, &client);
  const int width = client.right - 1, height = client.bottom - 25;
  if (width <= 0 || height <= 0) return 0;
  // What the window shows, children (the board window) included.
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  int placed = 0;
  HGLOBAL dib = BitmapToPackedDibHandle(bitmap, 1);
  DeleteObject(bitmap);
  if (!dib) return 0;
  HPALETTE palette = nullptr;
  if (const auto* packed = static_cast<const PackedDib*>(GlobalLock(dib))) {
    DibRgbQuad table[256];
    if (palColorsFromDIB(packed, table, 0, 255)) palette = palCreateCustomPalette(table, 0, 255);
    GlobalUnlock(dib);
  }
  placed = Place(window, CF_DIB, dib, CF_PALETTE, palette);
  return placed;
}
