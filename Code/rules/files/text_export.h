// Games as readable text for the clipboard and printed move lists: a running
// layout close to PGN and a column layout (one full move per line, comments
// after a semicolon on the right); boards as diagrams in the chess font, and
// the conversion of diagrams typed in the older font.
//
// Interface: GameToText, MeasureGameText, FormatGameTextTags,
// FormatGameTextTitleTags, FormatGameComment, FormatMoveComment,
// BoardToDiagramText, ConvertOldDiagram, DiagramChar, OldDiagramChar,
// DecodeOldDiagramChar.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "board.h"

struct GameRecord;
struct MoveRecord;

// `language` is the piece-letter language the program shows (the settings'
// "notation" key): the running layout writes English letters and sets
// `language` again afterwards.
std::string GameToText(GameRecord* game, bool tabs, bool running, int slot, int language = 0);
size_t MeasureGameText(const GameRecord* game, int slot);
void FormatGameTextTags(const GameRecord* game, std::string* out);
void FormatGameTextTitleTags(GameRecord* game, std::string* out);
void FormatGameComment(const GameRecord* game, std::string* out, bool braces, int slot);
// `ply` counts from 1; `last` is true for the last move of the text.
void FormatMoveComment(const MoveRecord* move, std::string* out, int ply, bool tabs, bool braces, bool last,
                       int slot);

// Eight lines of eight characters, CR LF after each.
std::string BoardToDiagramText(const Board* board);
// 0 for a byte that is no piece.
uint8_t DiagramChar(int square, uint8_t piece);
uint8_t OldDiagramChar(int square, uint8_t piece);
// The piece byte (0 empty) of an older-font character and whether its
// square is dark; 255 when the character is none of that font's.
uint8_t DecodeOldDiagramChar(uint8_t c, bool* dark);
// Converted when exactly 64 characters are older-font diagram characters.
std::string ConvertOldDiagram(const std::string& text);
