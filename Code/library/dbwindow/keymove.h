// Texts of the opening-key tree: the move that leads into a key and the
// level labels of the tree's header strip ("Root", "1.", "1...", "2." ...).
//
// Interface: KeyMoveRecord, FormatKeyMove, KeyTreeLevelLabel,
// KeyTreeHeaderColumn.
#pragma once

#include <cstdint>
#include <string>

// The module's key move: word bits 0-5 from, 6-11 to, 12 capture, 13-15 the
// moving piece (0 pawn .. 5 king); byte bit 0 piece move, bits 2-3
// disambiguation or pawn-move kind, bits 4-6 check state.
struct KeyMoveRecord {
  uint16_t word;
  uint8_t flags;
};

// `notation` is the window's Notation setting: 0 figurines, else letters.
// Returns the text's length.
int FormatKeyMove(const KeyMoveRecord& move, int style, int notation, char* buffer);
// "Root" for level 0, else "%u." with ".." after it for even levels.
std::string KeyTreeLevelLabel(int level);
// Client x range of the header's column i: the origin lies at offset - width.
void KeyTreeHeaderColumn(int column, int width, int offset, int* left, int* right);
