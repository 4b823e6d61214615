// The ".obk" opening book file: move words, the sibling table, text records,
// composed opening names, the book checksum, and turning book moves into
// move records of the rules core.
//
// Interface: ReadBookHeader, BuildSiblingTable, ReadTextRecord,
// ReadNodeText, ComposeOpeningName, ComputeBookChecksum, BookMoveMatches,
// BookMoveToMoveRecord, WriteBookFile, RemoveMarkupCodes, and the square and
// word helpers.
//
// Layout (all little-endian): "UGWS", u16 move count N, u16 text size T
// (0: the text area runs to the end of the file), N move words in
// pre-order, then text records {u16 node + 1, u8 length, u8 kind, text}.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "board.h"
#include "moverecord.h"

using BookMoveWord = uint16_t;

constexpr uint16_t kNoNode = 0xFFFF;
constexpr size_t kBookHeaderSize = 8;
// Text keys are node + 1 and 65,535 marks a deleted record, so the last
// usable node is 65,533.
constexpr int kMaxBookNodes = 65534;
// Readers find a position by playing at most this many plies.
constexpr int kMaxBookSearchPlies = 60;
// Composed names are cut to this many bytes (a name buffer of the screens
// holds 507 with the ECO code in front).
constexpr size_t kMaxComposedName = 480;

enum BookTextKind : uint8_t { BOOK_TEXT_NAME = 128, BOOK_TEXT_COMMENT = 129, BOOK_TEXT_ECO = 130 };
enum BookWordBit : uint16_t { BOOK_LAST_SIBLING = 0x40, BOOK_LEAF = 0x80 };

inline int BookWordFrom(BookMoveWord w) { return w & 63; }
inline int BookWordTo(BookMoveWord w) { return (w >> 8) & 63; }
inline int BookWordWeight(BookMoveWord w) { return w >> 14; }
inline bool BookWordIsLeaf(BookMoveWord w) { return (w & BOOK_LEAF) != 0; }
inline bool BookWordIsLast(BookMoveWord w) { return (w & BOOK_LAST_SIBLING) != 0; }
inline BookMoveWord MakeBookMoveWord(int from, int to, int weight, bool leaf, bool last) {
  return static_cast<BookMoveWord>((from & 63) | ((to & 63) << 8) | ((weight & 3) << 14) |
                                   (leaf ? BOOK_LEAF : 0) | (last ? BOOK_LAST_SIBLING : 0));
}
// Weight codes 0..3 count 0, 1, 2 and 4 when a move is drawn.
inline int BookWeightValue(int code) { return code == 3 ? 4 : code; }

// Book squares are rank * 8 + file (a1 = 0); board squares are 0x88 with
// rank 8 first.
inline int BookSquareToBoard(int s) { return (7 - (s >> 3)) * 16 + (s & 7); }
inline int BoardSquareToBook(int sq) { return (7 - (sq >> 4)) * 8 + (sq & 7); }
inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline void WriteLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

// The header of a file image of `size` bytes: N and the text size, with 0
// taken as "the rest of the file". False when the image cannot hold the
// header and the N move words; a text size past the end of the image is cut
// to what the image holds.
bool ReadBookHeader(const uint8_t* image, size_t size, uint16_t* moveCount, uint32_t* textSize);

// One u16 per node, kNoNode when the node has no next sibling. A sibling
// that would lie beyond the last node (a damaged file) is left as none.
void BuildSiblingTable(const BookMoveWord* words, int count, std::vector<uint16_t>* siblings);

struct BookTextRecord {
  uint32_t offset;  // in the text area
  uint16_t node;    // file value - 1
  uint8_t kind;
  uint8_t length;
  const uint8_t* text;
  uint32_t next;  // offset of the record after it
};
// The record at `offset` of a text area of `size` bytes. False at the end of
// the area: a node field of 0, a header or text that runs past the end.
bool ReadTextRecord(const uint8_t* area, uint32_t size, uint32_t offset, BookTextRecord* record);
// The text of `kind` on `node` (pieces of a comment joined); empty when none.
std::string ReadNodeText(const uint8_t* area, uint32_t size, int node, int kind);

// Names along a line, deepest first: each name that does not end with "."
// goes in front of what is gathered, joined with " / "; a name ending with
// "." is taken, without its ".", only while nothing is gathered. The result
// is cut to kMaxComposedName bytes. The book editor joins them with a
// backslash instead.
std::string ComposeOpeningName(const std::vector<std::string>& deepestFirst, const char* joint = " / ");

// CRC-16 (reflected polynomial 0xA001) over the words whose weight code is
// not 0.
uint16_t ComputeBookChecksum(const BookMoveWord* words, int count);

// Book move against a game move: from, to, and a promotion of type 1 or none.
bool BookMoveMatches(BookMoveWord word, const MoveRecord* move);
// The first legal move of `side` that the word stands for; false, and a
// record marked as no move, when there is none.
bool BookMoveToMoveRecord(const Board* board, int side, BookMoveWord word, MoveRecord* out);

// Writes a whole book file: beside it first, then into its place, so that a
// failed write leaves the previous file as it was. False on failure, with
// the C library's error number of the failing step in `error` when given.
bool WriteBookFile(const char* path, const uint8_t* data, size_t size, int* error = nullptr);

// Removes markup codes: text in braces, nested braces included.
std::string RemoveMarkupCodes(const std::string& text);
