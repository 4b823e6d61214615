// Commentary markup: board actions written into commentary text as groups in
// braces, "{" code letter [":" argument] "}".
//
// Interface: SquareName, EmitHighlightSquare, EmitHighlightText,
// EmitHighlightFile, EmitGlyph, EmitRemoveGlyph, EmitArrow, EmitSlide,
// EmitPutPiece, EmitVoiceTag, EmitDelay, EmitVoiceDelay, EmitClearCodes,
// ResetMarkupDirty, StripMarkupGroups, ExtractMarkupGroups, MarkupVoiceTag.
//
// Every emitter replaces the contents of `out` with one group; the caller
// appends it to its text. The dirty flags record which marks, glyphs and
// arrows the text under construction made and must clear at its end. They
// belong to the calling thread, so commentary may be built on the
// user-interface thread and a worker thread at the same time.
#pragma once

#include <string>

// "e4" for a 0x88 square; "??" off the board.
std::string SquareName(int square);

void EmitHighlightSquare(int square, int dirty, std::string* out);
void EmitHighlightText(const std::string& squares, int dirty, std::string* out);
// Squares of `file` (0-7) from row `firstRow` to `lastRow` (row 0 = rank 8),
// in that order (either direction).
void EmitHighlightFile(int file, int firstRow, int lastRow, int dirty, std::string* out);
// `piece`: colour bits (16 white, 32 black) plus type 0-5.
void EmitGlyph(int piece, int square, int dirty, std::string* out);
void EmitRemoveGlyph(int square, std::string* out);  // square < 0: all glyphs
void EmitArrow(int from, int to, char colourLetter, int dirty, std::string* out);
void EmitSlide(int from, int to, std::string* out);
void EmitPutPiece(int piece, int square, std::string* out);
void EmitVoiceTag(const std::string& text, std::string* out);
void EmitDelay(int milliseconds, std::string* out);
void EmitVoiceDelay(int milliseconds, std::string* out);
// The clear groups for what is dirty ("{C}", "{O}", "{R}" in that order);
// with reset != 0 the flags are cleared.
void EmitClearCodes(int reset, std::string* out);
void ResetMarkupDirty();

// Display text: every group (nested braces included) removed.
std::string StripMarkupGroups(const std::string& text);
// Playback text: only the groups, in order.
std::string ExtractMarkupGroups(const std::string& text);
// The text of the first W group (code letter in either case, colon
// optional); empty when there is none.
std::string MarkupVoiceTag(const std::string& text);
