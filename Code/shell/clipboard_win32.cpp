#include "clipboard.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

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

namespace {

// Mode 1: the bitmap's pixels mapped to the nearest colours of the program
// palette (the system's 256-colour conversion is not to be relied on when
// the screen has more colours than the palette).
HGLOBAL EightBitFromPalette(HBITMAP bitmap, const BITMAP& bm, HDC screen, HPALETTE palette) {
  PALETTEENTRY entries[256] = {};
  const UINT count = palette ? GetPaletteEntries(palette, 0, 256, entries) : 0;
  std::vector<RGBQUAD> table(256, RGBQUAD{0, 0, 0, 0});
  for (UINT i = 0; i < count && i < 256; ++i)
    table[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  if (count == 0)  // no program palette: a 6 x 6 x 6 cube
    for (int i = 0; i < 216; ++i)
      table[i] = RGBQUAD{BYTE(i % 6 * 51), BYTE(i / 6 % 6 * 51), BYTE(i / 36 * 51), 0};

  const int width = bm.bmWidth, height = bm.bmHeight;
  BITMAPINFO full{};
  full.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  full.bmiHeader.biWidth = width;
  full.bmiHeader.biHeight = height;
  full.bmiHeader.biPlanes = 1;
  full.bmiHeader.biBitCount = 32;
  full.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(size_t(width) * size_t(height));
  if (!GetDIBits(screen, bitmap, 0, UINT(height), pixels.data(), &full, DIB_RGB_COLORS)) return nullptr;

  const size_t stride = size_t((width * 8 + 31) / 32) * 4;
  const size_t image = stride * size_t(height);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + image);
  if (!block) return nullptr;
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
  *header = full.bmiHeader;
  header->biBitCount = 8;
  header->biSizeImage = DWORD(image);
  auto* colours = reinterpret_cast<RGBQUAD*>(header + 1);
  std::copy(table.begin(), table.end(), colours);
  auto* out = reinterpret_cast<uint8_t*>(colours + 256);
  std::unordered_map<uint32_t, uint8_t> nearest;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t c = pixels[size_t(y) * size_t(width) + size_t(x)] & 0xFFFFFF;
      auto found = nearest.find(c);
      if (found == nearest.end()) {
        const int r = int(c >> 16 & 0xFF), g = int(c >> 8 & 0xFF), b = int(c & 0xFF);
        int best = 0, bestDistance = 1 << 30;
        for (int i = 0; i < 256; ++i) {
          const int dr = r - table[i].rgbRed, dg = g - table[i].rgbGreen, db = b - table[i].rgbBlue;
          const int distance = dr * dr + dg * dg + db * db;
          if (distance < bestDistance) best = i, bestDistance = distance;
        }
        found = nearest.emplace(c, uint8_t(best)).first;
      }
      out[size_t(y) * stride + size_t(x)] = found->second;
    }
  }
  GlobalUnlock(block);
  return block;
}

}  // namespace

HGLOBAL BitmapToPackedDibHandle(HBITMAP bitmap, int mode) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return nullptr;
  HDC screen = GetDC(nullptr);
  HPALETTE palette = GetAppPalette();
  HPALETTE old = palette ? SelectPalette(screen, palette, FALSE) : nullptr;
  if (palette) RealizePalette(screen);
  HGLOBAL block = nullptr;
  if (mode == 1) {
    block = EightBitFromPalette(bitmap, bm, screen, palette);
  } else {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = bm.bmWidth;
    header.biHeight = bm.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = WORD(bm.bmPlanes * bm.bmBitsPixel);
    header.biCompression = BI_RGB;
    const size_t colours = header.biBitCount <= 8 ? (size_t(1) << header.biBitCount) * sizeof(RGBQUAD)
                                                  : (header.biBitCount == 16 || header.biBitCount == 32 ? 12 : 0);
    block = GlobalAlloc(GMEM_MOVEABLE, sizeof header + colours);
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
        ok = grown != nullptr;
        if (grown) {
          block = grown;
          info = static_cast<BITMAPINFO*>(GlobalLock(block));
          ok = GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), reinterpret_cast<char*>(info) + sizeof header + colours,
                         info, DIB_RGB_COLORS) != 0;
          GlobalUnlock(block);
        }
      }
      if (!ok) {
        GlobalFree(block);
        block = nullptr;
      }
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
