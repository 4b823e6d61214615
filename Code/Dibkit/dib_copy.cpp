// The copy family: row kernels, raw copies over any pixel memory, copies
// between packed DIBs and with surfaces.
#include <cstring>

#include "dib_internal.h"
#include "dib_surface.h"
#include "dibkit.h"

using namespace dibkit;

namespace {

enum class Mode { kPlain, kTrans, kGhost, kHaze, kShadow };

struct Job {
  uint8_t* dst;
  const uint8_t* src;
  int32_t width, height, dstStride, srcStride;
  int dstBpp, srcBpp;
  const uint16_t* table16;
  const DibRgbQuad* tableRgb;
  Mode mode;
  uint32_t key, colour;
  int32_t dstX, dstY;
};

// Pixels as one number: an index, a 5-5-5 value, or 0xRRGGBB.
uint32_t ReadPixel(const uint8_t* p, int bpp) {
  switch (bpp) {
    case 1:
      return p[0];
    case 2:
      return static_cast<uint32_t>(p[0] | p[1] << 8);
    default:
      return static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16);  // blue, green, red
  }
}

void WritePixel(uint8_t* p, int bpp, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  if (bpp >= 2) p[1] = static_cast<uint8_t>(v >> 8);
  if (bpp == 3) p[2] = static_cast<uint8_t>(v >> 16);
}

uint32_t RgbFromQuad(const DibRgbQuad& q) {
  return static_cast<uint32_t>(q.blue | q.green << 8 | q.red << 16);
}

// A source pixel in the destination's form.
uint32_t Convert(const Job& j, uint32_t v) {
  if (j.srcBpp == j.dstBpp) return v;
  if (j.srcBpp == 1) return j.dstBpp == 2 ? j.table16[v] : RgbFromQuad(j.tableRgb[v]);
  if (j.srcBpp == 2) {  // 5-5-5 to 24 bits
    uint32_t red = (v & 0x7C00) >> 7, green = (v & 0x3E0) >> 2, blue = (v << 3) & 0xFF;
    return blue | green << 8 | red << 16;
  }
  uint32_t blue = v & 0xFF, green = (v >> 8) & 0xFF, red = (v >> 16) & 0xFF;  // 24 bits to 5-5-5
  return (red >> 3) << 10 | (green >> 3) << 5 | blue >> 3;
}

bool Transparent(const Job& j, uint32_t v) {
  switch (j.srcBpp) {
    case 1:
      return v == (j.key & 0xFF);
    case 2:
      return v == (j.key & 0xFFFF);
    default:
      return v == 0;  // black, whatever the key
  }
}

// The haze colour in the destination's form.
uint32_t HazeColour(const Job& j) {
  uint8_t index = static_cast<uint8_t>(j.colour);
  if (j.dstBpp == 1) return index;
  if (j.dstBpp == 2) return j.table16[index];
  return RgbFromQuad(j.tableRgb[index]);
}

bool PairHandled(int srcBpp, int dstBpp) {
  return (srcBpp == 1 && dstBpp >= 1 && dstBpp <= 3) ||
         ((srcBpp == 2 || srcBpp == 3) && (dstBpp == 2 || dstBpp == 3));
}

void Run(const Job& j) {
  const uint32_t haze = j.mode == Mode::kHaze ? HazeColour(j) : 0;
  for (int32_t r = 0; r < j.height; ++r) {
    uint8_t* d = j.dst + static_cast<ptrdiff_t>(r) * j.dstStride;
    const uint8_t* s = j.src + static_cast<ptrdiff_t>(r) * j.srcStride;
    for (int32_t c = 0; c < j.width; ++c, d += j.dstBpp, s += j.srcBpp) {
      uint32_t v = ReadPixel(s, j.srcBpp);
      if (j.mode != Mode::kPlain && Transparent(j, v)) continue;
      const bool patternBit = ((j.dstX + c + j.dstY + r) & 1) == 0;
      switch (j.mode) {
        case Mode::kPlain:
        case Mode::kTrans:
          WritePixel(d, j.dstBpp, Convert(j, v));
          break;
        case Mode::kGhost:
          if (!patternBit) WritePixel(d, j.dstBpp, v);
          break;
        case Mode::kHaze:
          WritePixel(d, j.dstBpp, patternBit ? Convert(j, v) : haze);
          break;
        case Mode::kShadow:
          WritePixel(d, j.dstBpp, j.colour & 0xFF);
          break;
      }
    }
  }
}

// Checks and runs a raw copy; the result codes of the BitsWide family.
int RunRaw(Job j, int32_t dstOffset) {
  if (j.dst == nullptr || j.src == nullptr || j.width < 0 || j.height < 0) return 1;
  j.dst += dstOffset;
  const bool eightToEight = j.srcBpp == 1 && j.dstBpp == 1;
  if (j.mode == Mode::kShadow && !eightToEight) return 3;
  if (j.mode == Mode::kGhost && !eightToEight) return 1;
  if (!PairHandled(j.srcBpp, j.dstBpp)) return j.mode == Mode::kHaze ? 2 : 1;
  const bool needs16 = j.dstBpp == 2 && (j.srcBpp == 1 || j.mode == Mode::kHaze);
  const bool needsRgb = j.dstBpp == 3 && (j.srcBpp == 1 || j.mode == Mode::kHaze);
  if ((needs16 && j.table16 == nullptr) || (needsRgb && j.tableRgb == nullptr)) return 1;
  if (j.width == 0 || j.height == 0) return 0;
  if (eightToEight && j.mode == Mode::kPlain) {
    CopyDIBBits(j.dst, j.src, j.width, j.height, j.dstStride, j.srcStride);
  } else if (eightToEight && j.mode == Mode::kTrans) {
    TransCopyDIBBits(j.dst, j.src, j.width, j.height, j.dstStride, j.srcStride, static_cast<uint8_t>(j.key));
  } else {
    Run(j);
  }
  return 0;
}

bool Inside(const PackedDib* dib, int32_t x, int32_t y, int32_t width, int32_t height) {
  return x >= 0 && y >= 0 && width >= 0 && height >= 0 && int64_t{dib->biWidth} >= int64_t{x} + width &&
         int64_t{AbsHeight(dib)} >= int64_t{y} + height;
}

bool CopyableDepth(const PackedDib* dib) {
  return dib->biBitCount == 8 || dib->biBitCount == 16 || dib->biBitCount == 24;
}

// An image-to-image copy: the rectangle is walked from its top row down.
void DibToDib(PackedDib* dst, const PackedDib* src, int32_t dstX, int32_t dstY, int32_t srcX, int32_t srcY,
              int32_t width, int32_t height, Mode mode, uint32_t key, uint32_t colour) {
  if (dst == nullptr || src == nullptr || dst->biBitCount == 0 || src->biBitCount == 0) return;
  if (!CopyableDepth(dst) || !CopyableDepth(src) || dst->biHeight == INT32_MIN || src->biHeight == INT32_MIN)
    return;
  if (!Inside(dst, dstX, dstY, width, height) || !Inside(src, srcX, srcY, width, height)) return;
  if (width == 0 || height == 0) return;
  // The colour table of an 8-bit source serves its conversions; deeper
  // images carry none.
  const uint8_t* table = src->biBitCount == 8 ? ColorArea(src) : nullptr;
  Job j{RowAddress(dst, dstY) + static_cast<size_t>(dstX) * BytesPerPixel(dst),
        RowAddress(src, srcY) + static_cast<size_t>(srcX) * BytesPerPixel(src),
        width,
        height,
        RowStep(dst),
        RowStep(src),
        BytesPerPixel(dst),
        BytesPerPixel(src),
        reinterpret_cast<const uint16_t*>(table),
        reinterpret_cast<const DibRgbQuad*>(table),
        mode,
        key,
        colour,
        dstX,
        dstY};
  RunRaw(j, 0);
}

Job RawJob(void* dstBits, int dstBpp, const void* src, int32_t width, int32_t height, int32_t dstStride,
           int32_t srcStride, int srcBpp, const uint16_t* table16, const DibRgbQuad* tableRgb, Mode mode,
           uint32_t key, uint32_t colour, int32_t dstX, int32_t dstY) {
  return Job{static_cast<uint8_t*>(dstBits),
             static_cast<const uint8_t*>(src),
             width,
             height,
             dstStride,
             srcStride,
             dstBpp,
             srcBpp,
             table16,
             tableRgb,
             mode,
             key,
             colour,
             dstX,
             dstY};
}

template <typename PixelOp>
void Rows(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows, int32_t dstStride, int32_t srcStride,
          PixelOp op) {
  if (dst == nullptr || src == nullptr || width <= 0) return;
  for (int32_t r = 0; r < rows; ++r) {
    uint8_t* d = dst + static_cast<ptrdiff_t>(r) * dstStride;
    const uint8_t* s = src + static_cast<ptrdiff_t>(r) * srcStride;
    op(d, s, r);
  }
}

}  // namespace

extern "C" {

// ------------------------------------------------------------------ kernels

void CopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows, int32_t dstStride,
                 int32_t srcStride) {
  Rows(dst, src, width, rows, dstStride, srcStride,
       [width](uint8_t* d, const uint8_t* s, int32_t) { std::memmove(d, s, static_cast<size_t>(width)); });
}

void CopyDIBBitsX(uint8_t* dst, int32_t dstOffset, const uint8_t* src, int32_t width, int32_t rows,
                  int32_t dstStride, int32_t srcStride) {
  if (dst == nullptr) return;
  CopyDIBBits(dst + dstOffset, src, width, rows, dstStride, srcStride);
}

void TransCopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows, int32_t dstStride,
                      int32_t srcStride, uint8_t key) {
  Rows(dst, src, width, rows, dstStride, srcStride, [width, key](uint8_t* d, const uint8_t* s, int32_t) {
    for (int32_t x = 0; x < width; ++x) {
      if (s[x] != key) d[x] = s[x];
    }
  });
}

void TransCopyDIBBitsX(uint8_t* dst, int32_t dstOffset, const uint8_t* src, int32_t width, int32_t rows,
                       int32_t dstStride, int32_t srcStride, uint8_t key) {
  if (dst == nullptr) return;
  TransCopyDIBBits(dst + dstOffset, src, width, rows, dstStride, srcStride, key);
}

void MaskCopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows, int32_t dstStride,
                     int32_t srcStride, uint8_t key) {
  Rows(dst, src, width, rows, dstStride, srcStride, [width, key](uint8_t* d, const uint8_t* s, int32_t) {
    for (int32_t x = 0; x < width; ++x) {
      if (d[x] != key) d[x] = s[x];
    }
  });
}

void ShadowCopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows, int32_t dstStride,
                       int32_t srcStride, uint8_t key, uint8_t colour) {
  Rows(dst, src, width, rows, dstStride, srcStride, [=](uint8_t* d, const uint8_t* s, int32_t) {
    for (int32_t x = 0; x < width; ++x) {
      if (s[x] != key) d[x] = colour;
    }
  });
}

void GhostCopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows, int32_t dstStride,
                      int32_t srcStride, uint8_t key, int32_t dstX, int32_t dstY) {
  Rows(dst, src, width, rows, dstStride, srcStride, [=](uint8_t* d, const uint8_t* s, int32_t r) {
    // The pattern bit is 1 where x + y is even; ghost copies where it is 0.
    for (int32_t x = (dstX + dstY + r + 1) & 1; x < width; x += 2) {
      if (s[x] != key) d[x] = s[x];
    }
  });
}

void HazeCopyDIBBits(uint8_t* dst, const uint8_t* src, int32_t width, int32_t rows, int32_t dstStride,
                     int32_t srcStride, uint8_t key, uint8_t colour, int32_t dstX, int32_t dstY) {
  Rows(dst, src, width, rows, dstStride, srcStride, [=](uint8_t* d, const uint8_t* s, int32_t r) {
    for (int32_t x = 0; x < width; ++x) {
      if (s[x] != key) d[x] = ((dstX + x + dstY + r) & 1) == 0 ? s[x] : colour;
    }
  });
}

void PaintHorizDIBBits(uint8_t* dst, int32_t width, uint8_t index) {
  if (dst != nullptr && width > 0) std::memset(dst, index, static_cast<size_t>(width));
}

void FillDIBBits(uint8_t* dst, int32_t width, int32_t rows, int32_t dstStride, uint8_t index) {
  if (dst == nullptr || width <= 0) return;
  for (int32_t r = 0; r < rows; ++r) std::memset(dst + static_cast<ptrdiff_t>(r) * dstStride, index, width);
}

void ZeroDIBUsingWidenedMonoMask(uint8_t* dst, const uint8_t* mask, int32_t width, int32_t rows,
                                 int32_t dstStride, int32_t maskStride) {
  Rows(dst, mask, width, rows, dstStride, maskStride, [width](uint8_t* d, const uint8_t* m, int32_t) {
    auto bit = [m](int32_t x) { return (m[x >> 3] >> (7 - (x & 7))) & 1; };
    for (int32_t x = 0; x < width; ++x) {
      if (!bit(x) && (x == 0 || !bit(x - 1))) d[x] = 0;
    }
  });
}

// ---------------------------------------------------------------- raw forms

int dibCopyBitsWide(void* dstBits, int32_t dstOffset, int dstBytesPerPixel, const void* src, int32_t width,
                    int32_t height, int32_t dstStride, int32_t srcStride, int srcBytesPerPixel,
                    const uint16_t* table16, const DibRgbQuad* tableRgb) {
  return RunRaw(RawJob(dstBits, dstBytesPerPixel, src, width, height, dstStride, srcStride, srcBytesPerPixel,
                       table16, tableRgb, Mode::kPlain, 0, 0, 0, 0),
                dstOffset);
}

int dibTransCopyBitsWide(void* dstBits, int32_t dstOffset, int dstBytesPerPixel, const void* src,
                         int32_t width, int32_t height, int32_t dstStride, int32_t srcStride,
                         int srcBytesPerPixel, const uint16_t* table16, const DibRgbQuad* tableRgb,
                         uint32_t key) {
  return RunRaw(RawJob(dstBits, dstBytesPerPixel, src, width, height, dstStride, srcStride, srcBytesPerPixel,
                       table16, tableRgb, Mode::kTrans, key, 0, 0, 0),
                dstOffset);
}

int dibFXCopyBitsWide(void* dstBits, int32_t dstOffset, int dstBytesPerPixel, const void* src, int32_t width,
                      int32_t height, int32_t dstStride, int32_t srcStride, int srcBytesPerPixel,
                      const uint16_t* table16, const DibRgbQuad* tableRgb, int effect, uint32_t key,
                      uint32_t colour, int32_t dstX, int32_t dstY) {
  Mode mode;
  switch (effect) {
    case DIB_FX_GHOST:
      mode = Mode::kGhost;
      break;
    case DIB_FX_HAZE:
      mode = Mode::kHaze;
      break;
    case DIB_FX_SHADOW:
      mode = Mode::kShadow;
      break;
    default:
      return 1;
  }
  BeforeEffectCopy();
  return RunRaw(RawJob(dstBits, dstBytesPerPixel, src, width, height, dstStride, srcStride, srcBytesPerPixel,
                       table16, tableRgb, mode, key, colour, dstX, dstY),
                dstOffset);
}

int dibHazeCopyBitsWide(void* dstBits, int32_t dstOffset, int dstBytesPerPixel, const void* src,
                        int32_t width, int32_t height, int32_t dstStride, int32_t srcStride,
                        int srcBytesPerPixel, const uint16_t* table16, const DibRgbQuad* tableRgb,
                        uint32_t key, uint32_t colour, int32_t dstX, int32_t dstY) {
  return dibFXCopyBitsWide(dstBits, dstOffset, dstBytesPerPixel, src, width, height, dstStride, srcStride,
                           srcBytesPerPixel, table16, tableRgb, DIB_FX_HAZE, key, colour, dstX, dstY);
}

// ------------------------------------------------------------ image to image

void dibCopyDIB(PackedDib* dst, const PackedDib* src, int32_t dstX, int32_t dstY, int32_t srcX, int32_t srcY,
                int32_t width, int32_t height) {
  DibToDib(dst, src, dstX, dstY, srcX, srcY, width, height, Mode::kPlain, 0, 0);
}

void dibTransCopyDIB(PackedDib* dst, const PackedDib* src, int32_t dstX, int32_t dstY, int32_t srcX,
                     int32_t srcY, int32_t width, int32_t height, uint32_t key) {
  DibToDib(dst, src, dstX, dstY, srcX, srcY, width, height, Mode::kTrans, key, 0);
}

void dibFXCopyDIB(PackedDib* dst, const PackedDib* src, int32_t dstX, int32_t dstY, int32_t srcX,
                  int32_t srcY, int32_t width, int32_t height, int effect, uint32_t key, uint32_t colour) {
  Mode mode;
  switch (effect) {
    case DIB_FX_GHOST:
      mode = Mode::kGhost;
      break;
    case DIB_FX_HAZE:
      mode = Mode::kHaze;
      break;
    case DIB_FX_SHADOW:
      mode = Mode::kShadow;
      break;
    default:
      return;
  }
  BeforeEffectCopy();
  DibToDib(dst, src, dstX, dstY, srcX, srcY, width, height, mode, key, colour);
}

}  // extern "C"

// ------------------------------------------------------------------ surfaces

namespace dibkit {

namespace {

bool Usable(const Surface& s) {
  return s.bits != nullptr && s.width > 0 && s.height > 0 && s.stride > 0 &&
         (s.bitsPerPixel == 8 || s.bitsPerPixel == 16 || s.bitsPerPixel == 24);
}

bool UsableDib(const PackedDib* dib) {
  return dib != nullptr && dib->biWidth > 0 && dib->biHeight != 0 && dib->biHeight != INT32_MIN &&
         CopyableDepth(dib);
}

uint8_t* SurfaceRow(const Surface& s, int32_t y) {
  int32_t row = s.topDown ? y : s.height - 1 - y;
  return s.bits + static_cast<ptrdiff_t>(row) * s.stride;
}

int32_t SurfaceStep(const Surface& s) { return s.topDown ? s.stride : -s.stride; }

// The part of a w x h block placed at (x, y) on the surface that lies on it:
// the first block column and row, and the size.
struct Clip {
  int32_t col, row, width, height;
};

bool ClipToSurface(const Surface& s, int32_t x, int32_t y, int32_t w, int32_t h, Clip* c) {
  int64_t left = x < 0 ? 0 : x, top = y < 0 ? 0 : y;
  int64_t right = int64_t{x} + w < s.width ? int64_t{x} + w : s.width;
  int64_t bottom = int64_t{y} + h < s.height ? int64_t{y} + h : s.height;
  if (right <= left || bottom <= top) return false;
  *c = Clip{static_cast<int32_t>(left - x), static_cast<int32_t>(top - y), static_cast<int32_t>(right - left),
            static_cast<int32_t>(bottom - top)};
  return true;
}

}  // namespace

int CopyDibToSurface(const Surface& s, int32_t x, int32_t y, const PackedDib* dib) {
  if (!UsableDib(dib) || !Usable(s) || dib->biBitCount != 8 || s.bitsPerPixel != 8) return 0;
  Clip c;
  if (!ClipToSurface(s, x, y, dib->biWidth, AbsHeight(dib), &c)) return 1;
  CopyDIBBits(SurfaceRow(s, y + c.row) + x + c.col, RowAddress(dib, c.row) + c.col, c.width, c.height,
              SurfaceStep(s), RowStep(dib));
  return 1;
}

int CopySurfaceToDib(const Surface& s, int32_t x, int32_t y, PackedDib* dib) {
  if (!UsableDib(dib) || !Usable(s) || dib->biBitCount != 8 || s.bitsPerPixel != 8) return 0;
  Clip c;
  if (!ClipToSurface(s, x, y, dib->biWidth, AbsHeight(dib), &c)) return 1;
  CopyDIBBits(RowAddress(dib, c.row) + c.col, SurfaceRow(s, y + c.row) + x + c.col, c.width, c.height,
              RowStep(dib), SurfaceStep(s));
  return 1;
}

int TransCopyDibToSurface(const Surface& s, int32_t x, int32_t y, const PackedDib* dib, uint32_t key) {
  if (!UsableDib(dib) || !Usable(s)) return 0;
  Clip c;
  if (!ClipToSurface(s, x, y, dib->biWidth, AbsHeight(dib), &c)) return 1;
  const int dbpp = s.bitsPerPixel / 8, sbpp = BytesPerPixel(dib);
  const uint8_t* table = dib->biBitCount == 8 ? ColorArea(dib) : nullptr;
  return dibTransCopyBitsWide(SurfaceRow(s, y + c.row) + static_cast<ptrdiff_t>(x + c.col) * dbpp, 0, dbpp,
                              RowAddress(dib, c.row) + static_cast<ptrdiff_t>(c.col) * sbpp, c.width,
                              c.height, SurfaceStep(s), RowStep(dib), sbpp,
                              reinterpret_cast<const uint16_t*>(table),
                              reinterpret_cast<const DibRgbQuad*>(table), key) == 0
             ? 1
             : 0;
}

int MaskedCopyDibToSurface(const Surface& s, const PackedDib* dib, int32_t dstX, int32_t dstY, int32_t srcX,
                           int32_t srcY, int32_t width, int32_t height) {
  if (!UsableDib(dib) || !Usable(s) || dib->biBitCount != 8 || s.bitsPerPixel != 8) return 0;
  if (!Inside(dib, srcX, srcY, width, height) || dstX < 0 || dstY < 0 || int64_t{dstX} + width > s.width ||
      int64_t{dstY} + height > s.height) {
    return 0;
  }
  if (width == 0 || height == 0) return 1;
  MaskCopyDIBBits(SurfaceRow(s, dstY) + dstX, RowAddress(dib, srcY) + srcX, width, height, SurfaceStep(s),
                  RowStep(dib), 0);
  return 1;
}

}  // namespace dibkit
