// Dibkit: the bitmap library every deliverable draws with.
//
// Its one image type is the packed DIB: a device-independent bitmap in a
// single Heapkit block, laid out as
//   1. a 40-byte header (PackedDib below, the layout of BITMAPINFOHEADER);
//   2. the colour area, whose size depends on the bit count alone: 1,024
//      bytes at 8 bits (256 DibRgbQuad colours, or after dibColorsToIndices
//      the 256 16-bit palette indices 0..255 that the display calls use),
//      none at 24 bits, 12 bytes at any other depth;
//   3. the pixel rows, each (bits x width + 31) / 32 x 4 bytes; with a
//      positive height row 0 of the image is the last row in memory.
// 16-bit pixels are 5-5-5 (red in bits 10-14, green 5-9, blue 0-4); 24-bit
// pixels are stored blue, green, red.
//
// Coordinates (x, y) count from the image's top row. Images are not
// reference-counted: whoever makes one frees it with dibDelete. Nothing here
// keeps state between calls; callers that share an image between threads
// lock it themselves.
//
// This header holds the operating-system-free part; dibkit_gdi.h adds the
// Windows drawing, DIB-section and palette functions.
#pragma once

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && defined(DIBKIT_BUILDING_DLL)
#define DIBKIT_API __declspec(dllexport)
#elif defined(_WIN32) && defined(DIBKIT_DLL)
#define DIBKIT_API __declspec(dllimport)
#else
#define DIBKIT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// The header at the start of every packed DIB (BITMAPINFOHEADER's layout, so
// a PackedDib* may be handed to GDI as a BITMAPINFO*).
typedef struct PackedDib {
  uint32_t biSize;  // 40
  int32_t biWidth;
  int32_t biHeight;  // positive: rows stored bottom-up; negative: top-down
  uint16_t biPlanes;
  uint16_t biBitCount;  // 8, 16 or 24 in use
  uint32_t biCompression;
  uint32_t biSizeImage;  // pixel bytes
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
} PackedDib;

// A colour of a colour table (RGBQUAD's layout).
typedef struct DibRgbQuad {
  uint8_t blue, green, red, reserved;
} DibRgbQuad;

// An inclusive or half-open rectangle as each function says (RECT's layout).
typedef struct DibRect {
  int32_t left, top, right, bottom;
} DibRect;

// ---------------------------------------------------------------- layout
// Bytes of the colour area for a bit count: 1,024 at 8, 0 at 24, else 12.
DIBKIT_API uint32_t dibColorAreaSize(int bitCount);
// Bytes of one pixel row: (bitCount x width + 31) / 32 x 4.
DIBKIT_API uint32_t dibRowStride(int bitCount, int32_t width);
// The colour area and the first stored pixel row of an image.
DIBKIT_API void* dibGetColorArea(const PackedDib* dib);
DIBKIT_API void* dibGetBits(const PackedDib* dib);

// ---------------------------------------------------------------- creation
// A new image of 8, 16 or 24 bits; at 8 bits the colour area holds the
// identity index table. Pixels are not cleared. Null without memory or for
// a size of 0 or less.
DIBKIT_API PackedDib* dibCreateWithColors(int32_t width, int32_t height, int bits);
// Frees an image; null is ignored.
DIBKIT_API void dibDelete(PackedDib* dib);
// A copy; a size image of 0 is first set to the rows' size (stride x height). Null for null.
DIBKIT_API PackedDib* dibDuplicate(PackedDib* dib);
// A new image of the inclusive rectangle of an 8-bit or 16-bit image (8-bit:
// colour area is the index table); null for other depths, compressed images
// and rectangles outside the image. A row's padding repeats its last byte.
DIBKIT_API PackedDib* dibDuplicateFromRect(const PackedDib* dib, const DibRect* rect);
// A new 8-bit image with that many blank (index 0) columns or rows added on
// each side; colour area is the index table; null for non-8-bit images.
DIBKIT_API PackedDib* dibDuplicatePadded(const PackedDib* dib, int32_t left, int32_t top, int32_t right,
                                         int32_t bottom);
// A new 8-bit image of the given size with the source's colour area. When it
// is at least as large both ways the source is centred ((new - old) / 2);
// otherwise the lower-left corner is copied in place. The rest is index 0.
// Null for non-8-bit sources.
DIBKIT_API PackedDib* dibCropDIB(const PackedDib* dib, int32_t width, int32_t height);

// ---------------------------------------------------------------- access
// out[0] = width, out[1] = height; 1, or 0 when either pointer is null.
DIBKIT_API int dibGetDibDimensions(const PackedDib* dib, int32_t* out);
// Writes the identity index table 0..255 into an 8-bit image's colour area.
DIBKIT_API void dibColorsToIndices(PackedDib* dib);
// Copies the 1,024-byte colour area of src into dst (both 8-bit).
DIBKIT_API void dibCopyPalette(PackedDib* dst, const PackedDib* src);
// 8 bits: every pixel byte set to the index; 16 bits: every pixel set to
// the value; other depths untouched.
DIBKIT_API void dibFillWithColor(PackedDib* dib, uint32_t value);
// Fills |height| rows of (width + 3) & ~3 bytes at `bits` with the index.
DIBKIT_API void FillDibWithColor(const PackedDib* dib, void* bits, uint8_t index);
// Fills the inclusive rectangle (clipped to the image) of the 8-bit pixel
// buffer `bits` laid out as `dib`; 1, or 0 for null arguments or nothing to fill.
DIBKIT_API int dibFillRect(const PackedDib* dib, void* bits, const DibRect* rect, uint8_t index);
// Address / byte offset of pixel (x, y); null / 0 outside the image. Rows
// are addressed with a stride of (width x bytes per pixel + 3) & ~3.
DIBKIT_API void* dibGetPixelAddress(const PackedDib* dib, int32_t x, int32_t y);
DIBKIT_API void* dibGetPixelAddressBits(void* bits, int32_t x, int32_t y, int32_t width, int32_t height,
                                        int topDown, int bytesPerPixel);
DIBKIT_API uint32_t dibGetPixelOffset(const PackedDib* dib, int32_t x, int32_t y);
DIBKIT_API uint32_t dibGetPixelOffsetTopDownWide(int32_t x, int32_t y, int32_t width, int32_t height,
                                                 int topDown, int bytesPerPixel);

// ---------------------------------------------------------------- copies
// Image to image: (dst, src, dstX, dstY, srcX, srcY, width, height, ...).
// Nothing happens unless the rectangle lies inside both images and both
// have a bit count. Depth pairs (source bytes per pixel to destination):
// 1->1, 2->2, 3->3 copy; 1->2 maps indices through the 8-bit source's colour
// area read as 256 5-5-5 values, 1->3 through it read as DibRgbQuads;
// 2->3 and 3->2 convert. Pairs into 8 bits are not handled.
// Transparent source pixels: 8-bit equal to the key index, 16-bit equal to
// the key value, 24-bit pure black whatever the key.
DIBKIT_API void dibCopyDIB(PackedDib* dst, const PackedDib* src, int32_t dstX, int32_t dstY, int32_t srcX,
                           int32_t srcY, int32_t width, int32_t height);
DIBKIT_API void dibTransCopyDIB(PackedDib* dst, const PackedDib* src, int32_t dstX, int32_t dstY,
                                int32_t srcX, int32_t srcY, int32_t width, int32_t height, uint32_t key);
// Effects, all skipping transparent source pixels. The checkerboard pattern
// bit of destination pixel (x, y) is 1 when x + y is even, so the pattern
// stays fixed to the destination.
enum {
  DIB_FX_GHOST = 1,   // 8->8: source where the pattern bit is 0, destination kept where 1
  DIB_FX_HAZE = 2,    // any pair: source where the bit is 1, the haze colour where 0
  DIB_FX_SHADOW = 3,  // 8->8: the colour index wherever the source is not transparent
};
// `colour` is a palette index; at 16 and 24 bits the haze colour is that
// entry of the 8-bit image's colour area (source or destination, whichever
// is 8-bit).
DIBKIT_API void dibFXCopyDIB(PackedDib* dst, const PackedDib* src, int32_t dstX, int32_t dstY, int32_t srcX,
                             int32_t srcY, int32_t width, int32_t height, int effect, uint32_t key,
                             uint32_t colour);

// Raw forms over any pixel memory (DIB sections, a canvas). Rows are walked
// from the given addresses by the given strides (negative to walk down).
// `table16` (256 5-5-5 values) serves 8-to-16-bit copies, `tableRgb` (256
// colours) 8-to-24-bit ones; either may be null when not needed. The pattern
// of ghost and haze copies is taken at destination pixel (dstX, dstY) for
// the first pixel, the next walked row having the other parity.
// Results: 0 done; 1 a null argument or an unhandled depth pair; 2 a haze
// copy of an unhandled pair; 3 a shadow copy that is not 8-bit to 8-bit
// (ghost likewise: 1).
DIBKIT_API int dibCopyBitsWide(void* dstBits, int32_t dstOffset, int dstBytesPerPixel, const void* src,
                               int32_t width, int32_t height, int32_t dstStride, int32_t srcStride,
                               int srcBytesPerPixel, const uint16_t* table16, const DibRgbQuad* tableRgb);
DIBKIT_API int dibTransCopyBitsWide(void* dstBits, int32_t dstOffset, int dstBytesPerPixel, const void* src,
                                    int32_t width, int32_t height, int32_t dstStride, int32_t srcStride,
                                    int srcBytesPerPixel, const uint16_t* table16, const DibRgbQuad* tableRgb,
                                    uint32_t key);
DIBKIT_API int dibFXCopyBitsWide(void* dstBits, int32_t dstOffset, int dstBytesPerPixel, const void* src,
                                 int32_t width, int32_t height, int32_t dstStride, int32_t srcStride,
                                 int srcBytesPerPixel, const uint16_t* table16, const DibRgbQuad* tableRgb,
                                 int effect, uint32_t key, uint32_t colour, int32_t dstX, int32_t dstY);
DIBKIT_API int dibHazeCopyBitsWide(void* dstBits, int32_t dstOffset, int dstBytesPerPixel, const void* src,
                                   int32_t width, int32_t height, int32_t dstStride, int32_t srcStride,
                                   int srcBytesPerPixel, const uint16_t* table16, const DibRgbQuad* tableRgb,
                                   uint32_t key, uint32_t colour, int32_t dstX, int32_t dstY);

// 8-bit row kernels: (destination, source, width in pixels, rows, destination
// stride, source stride, ...). Row r is at address + r x stride. A width of
// 0 does nothing. For ghost and haze, (dstX, dstY) is the destination
// pixel of the first byte written, for the pattern.
DIBKIT_API void CopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows, int32_t dstStride,
                            int32_t srcStride);
DIBKIT_API void CopyDIBBitsX(uint8_t* dst, int32_t dstOffset, const uint8_t* src, int32_t width, int32_t rows,
                             int32_t dstStride, int32_t srcStride);
DIBKIT_API void TransCopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows,
                                 int32_t dstStride, int32_t srcStride, uint8_t key);
DIBKIT_API void TransCopyDIBBitsX(uint8_t* dst, int32_t dstOffset, const uint8_t* src, int32_t width,
                                  int32_t rows, int32_t dstStride, int32_t srcStride, uint8_t key);
// Copies only where the destination pixel is not the key.
DIBKIT_API void MaskCopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows,
                                int32_t dstStride, int32_t srcStride, uint8_t key);
DIBKIT_API void ShadowCopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows,
                                  int32_t dstStride, int32_t srcStride, uint8_t key, uint8_t colour);
DIBKIT_API void GhostCopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows,
                                 int32_t dstStride, int32_t srcStride, uint8_t key, int32_t dstX,
                                 int32_t dstY);
DIBKIT_API void HazeCopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows,
                                int32_t dstStride, int32_t srcStride, uint8_t key, uint8_t colour,
                                int32_t dstX, int32_t dstY);
// One run of `width` bytes set to the index.
DIBKIT_API void PaintHorizDIBBits(uint8_t* dst, int32_t width, uint8_t index);
// `rows` rows of `width` bytes set to the index.
DIBKIT_API void FillDIBBits(uint8_t* dst, int32_t width, int32_t rows, int32_t dstStride, uint8_t index);
// With a 1-bit mask (most significant bit first, rows of maskStride bytes):
// a pixel is set to 0 unless the mask bit of that pixel or of its left
// neighbour in the row is 1.
DIBKIT_API void ZeroDIBUsingWidenedMonoMask(uint8_t* dst, const uint8_t* mask, int32_t width, int32_t rows,
                                            int32_t dstStride, int32_t maskStride);

// ---------------------------------------------------------------- tiling
// Fills the whole destination with the tile from its top-left corner.
DIBKIT_API void dibTileRectDib(PackedDib* dst, const PackedDib* tile);
// Fills the 8-bit destination from its top-left corner, over the smaller of
// the rectangle's and the image's size, with the 8-bit tile shifted so that
// the destination's (0, 0) shows tile pixel ((rect left + dx) mod tile width,
// (rect top + dy) mod tile height). 1, or 0 for a null image or empty tile.
DIBKIT_API int dibPaintControlBackgroundOffset(const PackedDib* tile, PackedDib* dst, const DibRect* rect,
                                               int32_t dx, int32_t dy);

// ---------------------------------------------------------------- files
// A new image from a Windows bitmap file (8, 16, 24 or 32 bits, 40-byte info
// header, uncompressed or with bit fields; the 14-byte file header may be
// missing). Null when the file cannot be opened, its headers are not
// accepted, or it is shorter than they say. Nothing is shown.
DIBKIT_API PackedDib* dibReadFile(const char* path);
// The same from a file's bytes held in memory (a packed data item).
DIBKIT_API PackedDib* dibReadFileImage(const void* bytes, size_t size);
// Writes "BM", the file size (54 + colour area + size image), the pixel
// offset (54 + colour area), the header, the colour area and the pixels.
// 1, or 0 for a null image or a file that cannot be written.
DIBKIT_API int dibWriteFile(const char* path, const PackedDib* dib);

// ---------------------------------------------------------------- colour tables
// table[start + k] = colours[k] for k below count, with 4 (no-collapse) in
// the fourth byte. The first argument is not used.
DIBKIT_API void palSyncCustomPalette(void* unused, DibRgbQuad* table, const DibRgbQuad* colours, int start,
                                     int count);
// table[i] = the image's colour i for first..last; a null image is reported
// ("NULL pDIB in palColorsFromDIB") and gives 0, else 1.
DIBKIT_API int palColorsFromDIB(const PackedDib* dib, DibRgbQuad* table, int first, int last);
// destination[i] = source[i] for first..last; a null table is reported
// ("NULL param to UpdateColorTable") and gives 0, else 1.
DIBKIT_API int palMergeColorTables(const DibRgbQuad* source, DibRgbQuad* destination, int first, int last);
// Colours of an image's table: by bit count for a 12-byte header, else
// colours used when non-zero, else 2 (1 bit), 16 (4 bits), 256 (8 bits), 0.
DIBKIT_API int palGetDibNumColors(const PackedDib* dib);
// The table's bytes: colours x 3 for a 12-byte header, x 4 otherwise.
DIBKIT_API int palGetSize(const PackedDib* dib);

// Dibkit reports programming errors in a message box with no owner and the
// library's source file as caption ("pal", "utils"). A host or a test may
// take them instead; null restores the box.
typedef void (*DibMessageHook)(const char* text, const char* caption);
DIBKIT_API void dibSetMessageHook(DibMessageHook hook);

#ifdef __cplusplus
}
#endif
