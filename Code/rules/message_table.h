// Message tables: numbered sentences with variant wordings, read from a pair
// of files: "<base>.CEL" (index) and "<base>.STR" (texts).
//
// Interface: LoadMessageTable, LoadMessageTableImages, SelectMessageTable,
// FindMessage, GetMessageText, FreeMessageTables.
//
// ".CEL" layout (little-endian): u16 N; N u16 first-record indexes
// (65535 = none); then 13-byte records to the end of the file:
//   +0 selector 1, +1 selector 2, +2 variant count (0 or 1 = one wording),
//   +3 u32 text offset in ".STR" (65535 = no text), +7 u16 next variant,
//   +9 u16 next record when selector 1 differs, +11 u16 next record when
//   selector 2 differs (65535 ends a chain).
// ".STR": NUL-terminated texts.
//
// Both images are outside bytes: every index, link and offset is checked
// against the images, and every link chain is bounded by the number of
// records, so a damaged table gives empty texts, never a bad read or a hang.
// Lookups may run on any thread; loading, selecting and freeing are
// serialised with them.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kMessageTableSlots = 5;
constexpr size_t kMessageTableNameMax = 19;  // characters of a base name
constexpr uint32_t kNoMessage = 65535;
constexpr uint16_t kNoRecord = 65535;
constexpr size_t kMessageRecordSize = 13;

// Reads "<base>.CEL" and "<base>.STR" (relative to the current folder), puts
// them into the next free slot and makes the table current. False (and the
// previous current table kept) when a file cannot be read, the name is
// empty or longer than kMessageTableNameMax, or all slots are taken.
bool LoadMessageTable(const char* baseName);
// The same from images in memory (copied); used by LoadMessageTable.
bool LoadMessageTableImages(const char* baseName, const uint8_t* cel, size_t celSize, const uint8_t* str,
                            size_t strSize);
// Makes the loaded table with exactly this name current; an unknown name
// leaves no table current, so every lookup then gives an empty text.
void SelectMessageTable(const char* baseName);
// Offset of the chosen wording in the ".STR" image, or kNoMessage. A message
// with several wordings gives one of them at random.
uint32_t FindMessage(int number, int selector1, int selector2);
// Copies the chosen wording into the buffer (cut to size - 1 characters),
// an empty text when there is none. Returns the buffer.
char* GetMessageText(int number, int selector1, int selector2, char* buffer, size_t size);
void FreeMessageTables();
