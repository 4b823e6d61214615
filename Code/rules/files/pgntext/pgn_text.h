// PGN text as other programs write it, for both PGN readers (the game
// files' and the database module's), so that they take the same bytes the
// same way: the UTF-8 byte-order mark, UTF-8 names and comments turned into
// the program's Windows character set (Windows-1252), and the null-move
// tokens that some programs write.
//
// Interface: Utf8BomLength, IsUtf8Text, Utf8ToWindows, IsPgnNullMove.
#pragma once

#include <cstddef>
#include <string>

namespace pgntext {

// 3 when the text starts with the UTF-8 byte-order mark, else 0.
size_t Utf8BomLength(const char* text, size_t size);

// The text holds at least one multi-byte UTF-8 sequence and every byte from
// 0x80 up belongs to a well-formed one. Windows-1252 text with accented
// letters almost never passes, so a text that does is taken for UTF-8.
bool IsUtf8Text(const char* text, size_t size);

// Converts a UTF-8 text (IsUtf8Text) in place; any other text is left as it
// is. Of the characters that Windows-1252 lacks, the Latin letters of
// Central and Eastern European names become their base letter ("Å" L),
// the others "?".
void Utf8ToWindows(std::string* text);

// "--" or "Z0", with or without a check sign: a move that passes the turn.
bool IsPgnNullMove(const char* token, size_t size);

}  // namespace pgntext
