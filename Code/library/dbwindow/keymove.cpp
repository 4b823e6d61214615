#include "keymove.h"

#include <cstdio>

#include "gdbase.h"

namespace {

// 16-byte letter tables: piece letters, castling characters, capture sign,
// check, mate and "$" marks, the en-passant suffix.
const char kLetterTable[17] = "NBRQK0-x+ # $ ep";
const char kFigurineTable[17] =
    "\x87\x86\x88\x89\x8B"
    "0-x+ # $ ep";

}  // namespace

int FormatKeyMove(const KeyMoveRecord& move, int style, int notation, char* buffer) {
  int from = move.word & 0x3F;
  int to = (move.word >> 6) & 0x3F;
  if (from == 0 && to == 0) {
    buffer[0] = 0;
    return 0;
  }
  static const int kPieceCode[8] = {5, 0, 1, 2, 3, 4, 0, 0};
  int flags = kPieceCode[(move.word >> 13) & 7];
  int kind = (move.flags >> 2) & 3;
  if (move.flags & 1) {
    if (kind & 1) flags |= 0x40;
    if (kind & 2) flags |= 0x80;
  } else {
    // A pawn that moves straight ahead needs no from-square: the key base
    // stores plain pushes as kind 0, and the from-file flag made "e2-e4"
    // read "ee4". Pawn captures get their file below.
    if (kind == 2) flags = (flags & ~7) | 6;
    if (kind == 3) flags = (flags & ~7) | 7;
  }
  if (move.word & 0x1000) {
    flags |= 8;
    if ((flags & 7) >= 5) flags |= 0x40;
  }
  switch ((move.flags >> 4) & 7) {
    case 1:
    case 2:
      flags |= 0x10;
      break;
    case 3:
      flags |= 0x30;
      break;
    case 4:
      flags |= 0x20;
      break;
    default:
      break;
  }
  const char* letters = notation != 0 ? kLetterTable : kFigurineTable;
  return GdMoveToText(static_cast<uint16_t>(from + to * 256), flags, buffer, style, letters);
}

std::string KeyTreeLevelLabel(int level) {
  if (level <= 0) return "Root";
  char text[32];
  std::snprintf(text, sizeof text, "%u.%s", static_cast<unsigned>((level + 1) / 2),
                level % 2 == 0 ? ".." : "");
  return text;
}

void KeyTreeHeaderColumn(int column, int width, int offset, int* left, int* right) {
  // Logical x of column i is i * width; the window origin is offset - width.
  *left = column * width - (offset - width);
  *right = *left + width;
}
