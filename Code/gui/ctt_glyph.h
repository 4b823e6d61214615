// The glyph family of the text renderer and its builder record (see
// ctt_glyph.cpp). Images are 8-bit PackedDibs freed with cttFreeDib.
#pragma once

#include <windows.h>

#include "facet_frame.h"

struct CttBuildStruct {
  int32_t size;  // 128
  int32_t width, height;
  char face[32];
  int32_t weight;
  int32_t textColour;
  int32_t italic, strikeOut, underline;
  RECT rect;  // for cttBuilderStringRect
  PackedDib* charImage;
  MAT2 matrix;
  GLYPHMETRICS metrics;
  int32_t flags;  // 0x10: made by cttCreateBuildStruct
};

extern "C" {

FACET_API PackedDib* cttLetter(HDC dc, unsigned character, const PackedDib* colours, MAT2* mat,
                               GLYPHMETRICS* metrics);
FACET_API PackedDib* cttString(HDC dc, const char* text, const PackedDib* colours, MAT2* mat,
                               GLYPHMETRICS* metrics);
FACET_API PackedDib* cttStringVertical(HDC dc, const char* text, const PackedDib* colours, MAT2* mat,
                                       GLYPHMETRICS* metrics);
FACET_API unsigned long long cttLetterSize(HDC dc, unsigned character, MAT2* mat, GLYPHMETRICS* metrics);
FACET_API unsigned long long cttStringSize(HDC dc, const char* text, MAT2* mat, GLYPHMETRICS* metrics);
FACET_API PackedDib* cttStringSimpleVertical(const char* text, const char* face, int width, int height,
                                             const PackedDib* colours, MAT2* mat, GLYPHMETRICS* metrics);
FACET_API PackedDib* cttString3D(const char* text, const char* face, int width, int height,
                                 const PackedDib* colours, MAT2* mat, GLYPHMETRICS* metrics, int depth,
                                 int shadowColour);
FACET_API PackedDib* cttParagraph(const char* text, const char* face, int width, int height,
                                  const PackedDib* colours, MAT2* mat, GLYPHMETRICS* metrics, int lineWidth);
FACET_API PackedDib* cttStringRect(const char* text, const RECT* rect, const char* face,
                                   const PackedDib* colours, MAT2* mat, GLYPHMETRICS* metrics);
FACET_API PackedDib* cttResizeDib(const PackedDib* image, int width, int height);
FACET_API void cttFreeCache(void);

FACET_API CttBuildStruct* cttCreateBuildStruct(void);
FACET_API int cttFreeBuildStruct(CttBuildStruct* builder);
FACET_API int cttSetBuilderMat(CttBuildStruct* builder, double a, double b, double c, double d);
FACET_API HFONT cttSetBuilderFont(CttBuildStruct* builder, const char* face, int width, int height,
                                  int weight, int underline, int italic, int strikeOut);
FACET_API int cttSetBuilderCharDib(CttBuildStruct* builder, int width, int height, int colour);
FACET_API int cttSetBuilderTextColor(CttBuildStruct* builder, int index);
FACET_API PackedDib* cttBuilderString(CttBuildStruct* builder, const char* text);
FACET_API PackedDib* cttBuilderString3Color(CttBuildStruct* builder, const char* text, int textColour,
                                            int outside, int inside);
FACET_API PackedDib* cttBuilderStringVertical(CttBuildStruct* builder, const char* text);
FACET_API PackedDib* cttBuilderString3D(CttBuildStruct* builder, const char* text, int shadowColour,
                                        int depth);
FACET_API PackedDib* cttBuilderStringParagraph(CttBuildStruct* builder, const char* text, int lineWidth);
FACET_API PackedDib* cttBuilderStringRect(CttBuildStruct* builder, const char* text);

}  // extern "C"
