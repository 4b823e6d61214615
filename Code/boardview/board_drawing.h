// The drawing rules of the custom board and of the decorations every board
// can carry: board colours as they enter the palette, the custom view's
// ranges and kind word, where the edge labels and the turn lamps go.
//
// Interface: BoardColour, FixPureBlack, CustomBoardView, ClampCustomView,
// TakeOverCustomView, CustomBoardKindWord, EdgeLabelSidesForTurn,
// EdgeLabelPlacements, LampsOnHFileSide, LampPoint, LampBox.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board_projection.h"
#include "chess_sets.h"

// Palette entries of the board drawing.
enum BoardPaletteEntry {
  PAL_CUSTOM_DARK = 11,
  PAL_CUSTOM_LIGHT = 12,  // also the edge labels
  PAL_WHITE_LAMP = 22,
  PAL_BORDER = 23,  // border, Black's lamp, in-square names
};

// Stored blue, green, red and a fourth byte.
struct BoardColour {
  uint8_t blue, green, red, extra;
};
// Pure black would match the mask's transparent colour: it becomes (1, 1, 1).
BoardColour FixPureBlack(BoardColour colour);

// The custom board's view as a room keeps it and its layout saves it.
struct CustomBoardView {
  int32_t size = 400;
  int32_t tilt = 300;
  int32_t turn = 338;
  int32_t vanishing = 365;
  int32_t x = 0, y = 0;  // board centre inside the composed picture
  BoardColour dark{0x40, 0x6A, 0x8C, 0};
  BoardColour light{0xB0, 0xD8, 0xEE, 0};
};

// The ranges of the customize tool.
constexpr int32_t kVanishingMin = 100, kVanishingMax = 600, kVanishingStep = 5;
constexpr int32_t kSizeMin = 154, kSizeStep = 10;
constexpr int32_t kTurnMin = 0, kTurnMax = 360;
constexpr int32_t kTiltMin = 285, kTiltMax = 360;

// A view read from a layout may hold anything: size, tilt, turn and
// vanishing are clamped into the tool's ranges (the size to at most
// maxSize, the screen height, when that is positive).
void ClampCustomView(CustomBoardView* view, int32_t maxSize);
// Clamps, then copies size, tilt, turn and vanishing into the geometry.
void TakeOverCustomView(CustomBoardView* view, BoardSetRecord* geometry, int32_t maxSize);
uint32_t CustomBoardKindWord(const CustomBoardView& view);

// Which edges carry the labels at a turn: file letters along row 0 (rank 8)
// or row 7 (rank 1), rank digits along column 0 (a-file) or 7 (h-file).
struct EdgeLabelSides {
  int letterRow;
  int digitColumn;
};
EdgeLabelSides EdgeLabelSidesForTurn(int turn);

struct EdgeLabel {
  char text;
  ScreenPoint at;  // window point the character is centred on
};
// The sixteen labels of the view's turn: one character height beyond the
// rank edge for letters, one maximum character width beyond the file edge
// for digits; projected and moved by the offset.
std::vector<EdgeLabel> EdgeLabelPlacements(const BoardProjection& view, int charHeight, int maxCharWidth);

// The lamps stand on the h-file side for a turn of 226 or more or below 45.
bool LampsOnHFileSide(int turn);
// White's lamp beside rank 3 (row 5), Black's beside rank 6 (row 2); false
// without geometry.
bool LampPoint(const BoardProjection& view, bool white, int maxCharWidth, ScreenPoint* out);
// The lamp's box from its point, the character height and the corners of
// the neighbouring square. A turn of exactly 45 takes the 46..135 rule.
ScreenRect LampBox(int turn, int tilt, ScreenPoint lamp, int charHeight, const ScreenPoint corners[4]);
