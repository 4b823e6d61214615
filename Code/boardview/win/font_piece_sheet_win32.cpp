// The piece sheet from the chess font.
#include "font_piece_sheet_win32.h"

#include <windows.h>

#include <algorithm>

#include "facet_frame.h"
#include "piece_cels.h"

// ctt_glyph.h names the builder; its declarations come through the toolkit.
#include "ctt_glyph.h"

const unsigned char kFontPieceCharacters[2][6] = {
    {0xB0, 0xAA, 0xA4, 0x9B, 0x95, 0xFD},  // White on a light square
    {0xB3, 0xAD, 0xA7, 0x9E, 0x97, 0x9F},  // Black on a light square
};

namespace {

constexpr const char* kChessFont = "RookwellOnyx";
constexpr int kInkColour = 23;     // the glyph's lines
constexpr int kInsideColour = 22;  // what the outline encloses
constexpr int kTransparent = 0;    // the sprite key, round the piece

}  // namespace

bool BuildFontPieceSheet(PackedDib** out, PieceSetRecord* set, int fontWidth, int fontHeight) {
  if (!out || !set) return false;
  *out = nullptr;
  CttBuildStruct* builder = cttCreateBuildStruct();
  if (!builder) return false;
  HFONT font = cttSetBuilderFont(builder, kChessFont, fontWidth, fontHeight, 400, 0, 0, 0);
  if (!font) {
    cttFreeBuildStruct(builder);
    return false;
  }
  // The cel is as large as the largest of Black's solid pieces.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, font);
  int w = 0, h = 0;
  for (unsigned char c : kFontPieceCharacters[1]) {
    char text[2] = {static_cast<char>(c), 0};
    unsigned long long size = cttBasicStringSize(dc, text);
    w = std::max(w, static_cast<int>(size & 0xFFFFFFFF));
    h = std::max(h, static_cast<int>(size >> 32));
  }
  SelectObject(dc, oldFont);
  DeleteDC(dc);
  DeleteObject(font);
  if (w <= 0 || h <= 0) {
    cttFreeBuildStruct(builder);
    return false;
  }
  set->celWidth = w;
  set->celHeight = h;
  set->celFlag = 0;
  // The sheet reaches the end of Black's king, the last cell of the layout.
  int32_t kingX = 0, kingY = 0;
  PieceCelRect(1, 0, -1, &kingX, &kingY, w, h);
  PackedDib* sheet = dibCreateWithColors(kingX + w + 1, kingY + h + 1, 8);
  if (!sheet || !cttSetBuilderCharDib(builder, 2 * w, 2 * h, -1)) {
    if (sheet) dibDelete(sheet);
    cttFreeBuildStruct(builder);
    return false;
  }
  dibFillWithColor(sheet, kTransparent);
  bool ok = true;
  for (int colour = 0; colour < 2 && ok; ++colour)
    for (int kind = 0; kind < 6 && ok; ++kind) {
      char text[2] = {static_cast<char>(kFontPieceCharacters[colour][kind]), 0};
      PackedDib* piece = cttBuilderString3Color(builder, text, kInkColour, kTransparent, kInsideColour);
      int32_t x = 0, y = 0;
      ok = piece && PieceCelRect(colour, kind, -1, &x, &y, w, h);
      if (ok) {
        int cw = std::min<int>(w, piece->biWidth), ch = std::min<int>(h, std::abs(piece->biHeight));
        dibCopyDIB(sheet, piece, x, y, 0, 0, cw, ch);
      }
      if (piece) dibDelete(piece);
    }
  cttFreeBuildStruct(builder);
  if (!ok) {
    dibDelete(sheet);
    return false;
  }
  *out = sheet;
  return true;
}
