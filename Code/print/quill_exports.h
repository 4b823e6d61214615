// Quill.dll's exported functions, as a program binds them by name. Every
// one takes 32-bit values, removes its own arguments from the stack and
// answers 0 on failure; all but LoadPalette answer 0 before the first
// LoadPalette.
#pragma once

#include <cstdint>

#ifdef _WIN32
#define QUILL_CALL __stdcall
#else
#define QUILL_CALL
#endif

extern "C" {
typedef int32_t(QUILL_CALL* QuillPagePrinter)(void* printerDc);

typedef int32_t(QUILL_CALL* LoadPaletteProc)(void* palette);
typedef int32_t(QUILL_CALL* NoArgumentProc)();
typedef int32_t(QUILL_CALL* TextProc)(const char* text);
typedef int32_t(QUILL_CALL* ValueProc)(int32_t value);
typedef int32_t(QUILL_CALL* TwoValueProc)(int32_t a, int32_t b);
typedef int32_t(QUILL_CALL* ThreeValueProc)(int32_t a, int32_t b, int32_t c);
typedef int32_t(QUILL_CALL* FourValueProc)(int32_t a, int32_t b, int32_t c, int32_t d);
typedef int32_t(QUILL_CALL* TextValueProc)(const char* text, int32_t value);
typedef int32_t(QUILL_CALL* StartPrintProc)(const char* title, QuillPagePrinter callback, int32_t kind);
}
