// Dibkit on a real display: drawing through the program palette into a
// window and reading the pixels back, tiling on a device context, DIB
// sections, GDI palettes, and the DLL's exports.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dib_test_util.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "heapkit.h"

using namespace dibtest;

namespace {

// The program's colours: distinct in 10..245.
DibRgbQuad ProgramColour(int i) {
  return DibRgbQuad{static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i), 0};
}

struct ProgramPalette {
  ProgramPalette() {
    DibRgbQuad* system = palCopySystemPalette(256);
    table.assign(system, system + 256);
    memFree_rel(system);
    for (int i = 10; i <= 245; ++i) table[i] = ProgramColour(i);
    palette = palCreateCustomPalette(table.data(), 10, 245);
  }
  ~ProgramPalette() { DeleteObject(palette); }
  std::vector<DibRgbQuad> table;
  HPALETTE palette;
};

COLORREF Ref(const DibRgbQuad& q) { return RGB(q.red, q.green, q.blue); }

// A bottom-up DIB section selected into a memory DC. (GDI reports every
// section's height as positive, so Dibkit takes sections to be bottom-up.)
struct Section {
  Section(int w, int h, int bits) : height(h) {
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
    bi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi->bmiHeader.biWidth = w;
    bi->bmiHeader.biHeight = h;
    bi->bmiHeader.biPlanes = 1;
    bi->bmiHeader.biBitCount = static_cast<WORD>(bits);
    bitmap = CreateDIBSection(nullptr, bi, DIB_RGB_COLORS, &pixels, nullptr, 0);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
    stride = (w * bits + 31) / 32 * 4;
  }
  ~Section() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  uint8_t* At(int x, int y) { return static_cast<uint8_t*>(pixels) + (height - 1 - y) * stride + x; }
  COLORREF Rgb24(int x, int y) {
    GdiFlush();
    uint8_t* p = static_cast<uint8_t*>(pixels) + (height - 1 - y) * stride + 3 * x;
    return RGB(p[2], p[1], p[0]);
  }
  HBITMAP bitmap;
  HDC dc;
  HGDIOBJ old;
  void* pixels = nullptr;
  int height;
  int stride;
};

std::vector<std::string>& Reports() {
  static std::vector<std::string> reports;
  return reports;
}
void Capture(const char* text, const char* caption) {
  Reports().push_back(std::string(caption) + ": " + text);
}

}  // namespace

TEST(DibDisplay, DrawsThroughTheProgramPaletteIntoAWindow) {
  ProgramPalette pal;
  ASSERT_NE(pal.palette, nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "DibkitDisplayTest";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Dibkit", WS_POPUP | WS_VISIBLE, 0, 0, 96,
                                96, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);

  DibPtr img = Make(32, 24, 8);
  Paint(img.get(), [](int x, int y) { return 10 + (y * 32 + x) % 236; });
  dibColorsToIndices(img.get());
  HDC dc = GetDC(window);
  HPALETTE oldPalette = SelectPalette(dc, pal.palette, FALSE);
  RealizePalette(dc);
  // Rows 4.. of the image, drawn at (8, 16).
  EXPECT_GT(dibDisplay(dc, 8, 16, 32, 20, 0, 4, img.get()), 0);
  GdiFlush();

  int wrong = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 32; ++x) {
      int index = 10 + ((y + 4) * 32 + x) % 236;
      wrong += GetPixel(dc, 8 + x, 16 + y) != Ref(pal.table[index]);
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(GetPixel(dc, 7, 16), RGB(255, 255, 255));  // nothing drawn beside the block

  // Keep what the window shows as a picture beside the test.
  DibPtr shot = Make(96, 96, 24);
  Paint(shot.get(), [&](int x, int y) {
    COLORREF c = GetPixel(dc, x, y);
    return static_cast<uint32_t>(GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16);
  });
  dibWriteFile("dibkit_display_test.bmp", shot.get());

  SelectPalette(dc, oldPalette, FALSE);
  ReleaseDC(window, dc);
  DestroyWindow(window);
}

TEST(DibDisplay, SourceRowsClampAndRasterOps) {
  ProgramPalette pal;
  Section s(16, 16, 24);
  SelectPalette(s.dc, pal.palette, FALSE);
  RealizePalette(s.dc);
  DibPtr img = Make(4, 4, 8);
  Paint(img.get(), [](int, int y) { return 20 + y; });
  dibColorsToIndices(img.get());
  // A source y that would put the bottom-up row below 0 draws from row 0.
  dibDisplay(s.dc, 0, 0, 4, 3, 0, 3, img.get());
  EXPECT_EQ(s.Rgb24(0, 0), Ref(pal.table[21]));
  EXPECT_EQ(s.Rgb24(0, 2), Ref(pal.table[23]));
  // 24-bit images are drawn with their own colours.
  DibPtr deep = Make(2, 2, 24);
  Paint(deep.get(), [](int, int) { return 0x102030; });
  dibDisplay(s.dc, 8, 8, 2, 2, 0, 0, deep.get());
  EXPECT_EQ(s.Rgb24(9, 9), RGB(0x10, 0x20, 0x30));
  dibRasterOp(s.dc, 8, 8, 2, 2, 0, 0, DIB_RGB_COLORS, deep.get(), SRCINVERT);
  EXPECT_EQ(s.Rgb24(8, 8), RGB(0, 0, 0));
  EXPECT_EQ(dibDisplay(s.dc, 0, 0, 1, 1, 0, 0, nullptr), 0);
}

TEST(DibDisplay, TilingOnADeviceContext) {
  ProgramPalette pal;
  Section s(32, 32, 24);
  SelectPalette(s.dc, pal.palette, FALSE);
  RealizePalette(s.dc);
  DibPtr tile = Make(4, 8, 8);
  Paint(tile.get(), [](int x, int y) { return 10 + 4 * y + x; });
  dibColorsToIndices(tile.get());
  // Source offset (3, 5): the rectangle's corner shows tile pixel (3, 5).
  EXPECT_EQ(dibTileRectDC(s.dc, tile.get(), 3, 5, 2, 2, 10, 12), 12);
  EXPECT_EQ(s.Rgb24(2, 2), Ref(pal.table[10 + 4 * 5 + 3]));
  EXPECT_EQ(s.Rgb24(3, 2), Ref(pal.table[10 + 4 * 5 + 0]));
  EXPECT_EQ(s.Rgb24(2, 5), Ref(pal.table[10 + 4 * 0 + 3]));
  EXPECT_EQ(s.Rgb24(11, 13), Ref(pal.table[10 + 4 * ((5 + 11) % 8) + (3 + 9) % 4]));
  EXPECT_EQ(s.Rgb24(12, 2), RGB(0, 0, 0));

  // Whole tiles on a grid aligned to the tile size.
  RECT r{5, 9, 13, 20};
  EXPECT_EQ(dibTileBackground(nullptr, s.dc, tile.get(), &r), 1);
  EXPECT_EQ(s.Rgb24(5, 9), Ref(pal.table[10 + 4 * 1 + 1]));
  EXPECT_EQ(s.Rgb24(4, 8), Ref(pal.table[10]));  // the grid starts at (4, 8)
  EXPECT_EQ(dibTileBackground(nullptr, s.dc, nullptr, &r), 0);
}

TEST(DibSections, CopiesBothWays) {
  Section s8(8, 6, 8);
  DibPtr img = Make(3, 2, 8);
  Paint(img.get(), [](int x, int y) { return 1 + 10 * y + x; });
  EXPECT_EQ(dibCopyToDibSection(2, 1, img.get(), s8.bitmap), 1);
  GdiFlush();
  EXPECT_EQ(*s8.At(2, 1), 1);
  EXPECT_EQ(*s8.At(4, 2), 13);
  DibPtr back = Make(3, 2, 8);
  EXPECT_EQ(dibCopyDIBSectionToDIB(2, 1, back.get(), s8.bitmap), 1);
  EXPECT_EQ(Px(back.get(), 2, 1), 13u);
  EXPECT_EQ(dibCopyToDibSection(0, 0, nullptr, s8.bitmap), 0);
  EXPECT_EQ(dibCopyToDibSection(0, 0, img.get(), nullptr), 0);

  *s8.At(0, 0) = 0;
  *s8.At(1, 0) = 5;
  EXPECT_EQ(dibCopyMaskedToDIBSection(s8.bitmap, img.get(), 0, 0, 0, 0, 2, 1), 1);
  EXPECT_EQ(*s8.At(0, 0), 0);
  EXPECT_EQ(*s8.At(1, 0), 2);
  EXPECT_EQ(dibCopyMaskedToDIBSection(s8.bitmap, img.get(), 7, 0, 0, 0, 2, 1), 0);

  Section s24(4, 4, 24);
  auto* rgb = static_cast<DibRgbQuad*>(dibGetColorArea(img.get()));
  rgb[1] = DibRgbQuad{0x30, 0x20, 0x10, 0};
  EXPECT_EQ(dibTransCopyToDibSection(0, 0, img.get(), s24.bitmap, 2), 1);
  EXPECT_EQ(s24.Rgb24(0, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(s24.Rgb24(1, 0), RGB(0, 0, 0));  // the key stays out

  DibPtr fromBitmap(dibFromBitmap(s24.bitmap, nullptr, 1));
  ASSERT_NE(fromBitmap, nullptr);
  EXPECT_EQ(fromBitmap->biWidth, 4);
  EXPECT_EQ(fromBitmap->biBitCount, 8);
  DibPtr deep(dibFromBitmap(s24.bitmap, nullptr, 0));
  ASSERT_NE(deep, nullptr);
  EXPECT_EQ(deep->biBitCount, 24);
}

TEST(DibPalettes, GdiPalettes) {
  ProgramPalette pal;
  EXPECT_EQ(pal.table[0].red + pal.table[0].green + pal.table[0].blue, 0);              // static black
  EXPECT_EQ(pal.table[255].red + pal.table[255].green + pal.table[255].blue, 3 * 255);  // static white
  DibRgbQuad* system = palCopySystemPalette(256);
  ASSERT_NE(system, nullptr);
  for (int i = 10; i <= 245; ++i) ASSERT_EQ(system[i].red + system[i].green + system[i].blue, 0) << i;
  memFree_rel(system);

  std::vector<DibRgbQuad> read(256, DibRgbQuad{1, 1, 1, 1});
  EXPECT_EQ(palGetColorTable(pal.palette, 10, 236, read.data()), 236);
  EXPECT_EQ(read[9].red, 1);  // outside the range: untouched
  EXPECT_EQ(read[100].red, ProgramColour(100).red);
  EXPECT_EQ(read[100].blue, ProgramColour(100).blue);
  EXPECT_EQ(read[100].reserved, 0);
  EXPECT_EQ(palGetColorTable(pal.palette, 0, 10, nullptr), 0);

  Reports().clear();
  dibSetMessageHook(Capture);
  std::vector<DibRgbQuad> fresh(246, DibRgbQuad{9, 8, 7, 0});
  HPALETTE p = pal.palette;
  EXPECT_EQ(palReviseCustomPalette(&p, fresh.data(), 10, 246), 0);
  EXPECT_EQ(palReviseCustomPalette(&p, fresh.data(), 10, 245), 1);
  HPALETTE none = nullptr;
  EXPECT_EQ(palReviseCustomPalette(&none, fresh.data(), 10, 1), 0);
  EXPECT_EQ(palReviseCustomPalette(nullptr, fresh.data(), 10, 1), 0);
  dibSetMessageHook(nullptr);
  EXPECT_EQ(Reports(), (std::vector<std::string>{"pal: invalid pal indices", "pal: bad pal coming in!",
                                                 "pal: bad pal coming in!"}));
  PALETTEENTRY e;
  ASSERT_EQ(GetPaletteEntries(p, 254, 1, &e), 1u);
  EXPECT_EQ(e.peRed, 7);
  EXPECT_EQ(e.peFlags, PC_NOCOLLAPSE);

  DibPtr img = Make(1, 1, 8);
  static_cast<DibRgbQuad*>(dibGetColorArea(img.get()))[3] = DibRgbQuad{1, 2, 3, 0};
  HPALETTE fromDib = dibCreatePalette(img.get());
  ASSERT_NE(fromDib, nullptr);
  ASSERT_EQ(GetPaletteEntries(fromDib, 3, 1, &e), 1u);
  EXPECT_EQ(e.peRed, 3);
  EXPECT_EQ(e.peBlue, 1);
  EXPECT_EQ(e.peFlags, 0);
  DeleteObject(fromDib);
  DibPtr deep = Make(1, 1, 24);
  EXPECT_EQ(dibCreatePalette(deep.get()), nullptr);  // no colour table to take
}

TEST(DibkitDll, ExportsEveryFunctionByName) {
  HMODULE dll = LoadLibraryA("Dibkit.dll");
  ASSERT_NE(dll, nullptr);
  for (const char* name : {"dibCreateWithColors",
                           "dibDelete",
                           "dibDuplicate",
                           "dibDuplicateFromRect",
                           "dibDuplicatePadded",
                           "dibCropDIB",
                           "dibFromBitmap",
                           "dibGetDibDimensions",
                           "dibColorsToIndices",
                           "dibCopyPalette",
                           "dibFillWithColor",
                           "FillDibWithColor",
                           "dibFillRect",
                           "dibGetPixelAddress",
                           "dibGetPixelAddressBits",
                           "dibGetPixelOffset",
                           "dibGetPixelOffsetTopDownWide",
                           "dibCopyDIB",
                           "dibTransCopyDIB",
                           "dibFXCopyDIB",
                           "dibCopyToDibSection",
                           "dibCopyDIBSectionToDIB",
                           "dibTransCopyToDibSection",
                           "dibCopyMaskedToDIBSection",
                           "dibCopyBitsWide",
                           "dibTransCopyBitsWide",
                           "dibFXCopyBitsWide",
                           "dibHazeCopyBitsWide",
                           "CopyDIBBits",
                           "CopyDIBBitsX",
                           "TransCopyDIBBits",
                           "TransCopyDIBBitsX",
                           "MaskCopyDIBBits",
                           "ShadowCopyDIBBits",
                           "GhostCopyDIBBits",
                           "HazeCopyDIBBits",
                           "PaintHorizDIBBits",
                           "FillDIBBits",
                           "ZeroDIBUsingWidenedMonoMask",
                           "dibReadFile",
                           "dibReadFileImage",
                           "dibWriteFile",
                           "dibDisplay",
                           "dibDisplayRGB",
                           "dibDisplayResource",
                           "dibRasterOp",
                           "dibTileBackground",
                           "dibTileRectDC",
                           "dibTileRectDib",
                           "dibPaintControlBackgroundOffset",
                           "dibCreatePalette",
                           "palCreateCustomPalette",
                           "palReviseCustomPalette",
                           "palSyncCustomPalette",
                           "palColorsFromDIB",
                           "palMergeColorTables",
                           "palCopySystemPalette",
                           "palGetColorTable",
                           "palGetDibNumColors",
                           "palGetSize"}) {
    EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
  }
  FreeLibrary(dll);
}
