// Small utilities every part of the program shares: the string loaders with
// their program-wide buffers, file-name checks, sorting of name pointers,
// rounding division and the list-box scrolling rule. The operations on
// windows, files, resources and device contexts are in win_utils_win32.h.
//
// Interface: kResStringSize, kOwnStringSize, LoadResString, LoadOwnString,
// IsValidFileName, CompareNamePointers, DivRound, ListBoxTopForItem.
#pragma once

#include <cstdint>

constexpr int kResStringSize = 1024;
constexpr int kOwnStringSize = 512;

// A string of a module's table in one program-wide buffer of 1,024
// characters that the next call overwrites (copy it before loading
// another); a missing string leaves an empty text. Natively every string is
// missing.
const char* LoadResString(void* module, uint32_t id);
// The same from the program's own module into a second buffer of 512.
const char* LoadOwnString(uint32_t id);

// 0 when the name holds any of \ / : * ? " < > |, else 1.
int IsValidFileName(const char* name);
// Byte-wise order of the texts that two text pointers point to (for qsort
// over arrays of text pointers).
int CompareNamePointers(const void* a, const void* b);
// (a + b) / d for a >= 0, b >= 0 and d > b; 0 otherwise.
int DivRound(int a, int d, int b);
// The list box's new top index that brings `item` into view, given the
// current top, the item count, the client height and the item height;
// `top` itself when the item is visible; -1 for a bad item, an empty list
// or an item height below 1.
int ListBoxTopForItem(int item, int top, int count, int clientHeight, int itemHeight);
