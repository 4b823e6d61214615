#include "markup.h"

#include <cstdio>

namespace {

struct DirtyFlags {
  bool marks = false;
  bool glyphs = false;
  bool arrows = false;
};

// Per thread: commentary is built on several threads at once.
thread_local DirtyFlags tDirty;

const char kPieceLetters[] = "KQRBNP";

char ColourLetter(int piece) { return (piece & 48) == 32 ? 'B' : 'W'; }
char PieceLetter(int piece) {
  int type = piece & 7;
  return type <= 5 ? kPieceLetters[type] : '?';
}

// Where the group that opens at `open` ends (index of its closing brace),
// nested braces skipped; npos when it is never closed.
size_t GroupEnd(const std::string& text, size_t open) {
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    if (text[i] == '{') ++depth;
    if (text[i] == '}' && --depth == 0) return i;
  }
  return std::string::npos;
}

}  // namespace

std::string SquareName(int square) {
  if (square < 0 || square > 127 || (square & 0x88)) return "??";
  std::string s(2, ' ');
  s[0] = static_cast<char>('a' + (square & 7));
  s[1] = static_cast<char>('8' - (square >> 4));
  return s;
}

void EmitHighlightSquare(int square, int dirty, std::string* out) {
  EmitHighlightText(SquareName(square), dirty, out);
}

void EmitHighlightText(const std::string& squares, int dirty, std::string* out) {
  *out = "{H:" + squares + "}";
  if (dirty) tDirty.marks = true;
}

void EmitHighlightFile(int file, int firstRow, int lastRow, int dirty, std::string* out) {
  std::string squares;
  int step = lastRow >= firstRow ? 1 : -1;
  for (int row = firstRow;; row += step) {
    squares += SquareName(row * 16 + (file & 7));
    if (row == lastRow || row < 0 || row > 7) break;
  }
  EmitHighlightText(squares, dirty, out);
}

void EmitGlyph(int piece, int square, int dirty, std::string* out) {
  *out = std::string("{G:") + ColourLetter(piece) + PieceLetter(piece) + SquareName(square) + "}";
  if (dirty) tDirty.glyphs = true;
}

void EmitRemoveGlyph(int square, std::string* out) {
  *out = square < 0 ? std::string("{O}") : "{O:" + SquareName(square) + "}";
}

void EmitArrow(int from, int to, char colourLetter, int dirty, std::string* out) {
  *out = std::string("{A:") + colourLetter + SquareName(from) + SquareName(to) + "}";
  if (dirty) tDirty.arrows = true;
}

void EmitSlide(int from, int to, std::string* out) { *out = "{S:" + SquareName(from) + SquareName(to) + "}"; }

void EmitPutPiece(int piece, int square, std::string* out) {
  *out = std::string("{P:") + ColourLetter(piece) + PieceLetter(piece) + SquareName(square) + "}";
}

void EmitVoiceTag(const std::string& text, std::string* out) { *out = "{W:" + text + "}"; }

void EmitDelay(int milliseconds, std::string* out) { *out = "{D:" + std::to_string(milliseconds) + "}"; }

void EmitVoiceDelay(int milliseconds, std::string* out) {
  *out = "{W:Delay" + std::to_string(milliseconds) + "}";
}

void EmitClearCodes(int reset, std::string* out) {
  out->clear();
  if (tDirty.marks) *out += "{C}";
  if (tDirty.glyphs) *out += "{O}";
  if (tDirty.arrows) *out += "{R}";
  if (reset) ResetMarkupDirty();
}

void ResetMarkupDirty() { tDirty = DirtyFlags(); }

std::string StripMarkupGroups(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{') {
      size_t end = GroupEnd(text, i);
      if (end == std::string::npos) break;  // an unclosed group hides the rest
      i = end;
      continue;
    }
    out += text[i];
  }
  return out;
}

std::string ExtractMarkupGroups(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '{') continue;
    size_t end = GroupEnd(text, i);
    if (end == std::string::npos) break;
    out.append(text, i, end - i + 1);
    i = end;
  }
  return out;
}

std::string MarkupVoiceTag(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '{') continue;
    size_t end = GroupEnd(text, i);
    if (end == std::string::npos) break;
    if (i + 1 < end && (text[i + 1] == 'W' || text[i + 1] == 'w')) {
      size_t start = i + 2;
      if (start < end && text[start] == ':') ++start;
      return text.substr(start, end - start);
    }
    i = end;
  }
  return std::string();
}
