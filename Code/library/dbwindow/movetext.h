// The move text of the database window's Moves page: a shown game's moves
// with their numbers, annotation symbols, comments, bracketed variations and
// result, written as coloured runs. Each run carries a value: a move's is
// its index in the move words + 1, so a click on it finds its place.
//
// Interface: MoveRunSink, run values and colours, MoveLineFlags,
// MoveTextLetters, MoveTextStyle, MoveLineSource, WriteMoveLine,
// GameTextAreas, ConvertShownGame, FillMoveText.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gdbase.h"

// Values of the runs that are not moves.
enum : uint32_t {
  kRunNumber = 0x10000,
  kRunResult = 0x20000,
  kRunAnnotation = 0x40000,
  kRunComment = 0x80000,
  kRunBracket = 0x100000,
};
// Palette entries and styles (1 coloured, 17 coloured and clickable).
enum : int {
  kRunNumberColour = 0x29,
  kRunResultColour = 0x21,
  kRunAnnotationColour = 0xB5,
  kRunCommentColour = 0x1E,
  kRunMoveColour = 0x2D,
  kRunPlain = 1,
  kRunClickable = 17,
};

class MoveRunSink {
 public:
  virtual ~MoveRunSink() = default;
  virtual void AddRun(const std::string& text, int paletteEntry, int style, uint32_t value) = 0;
};

enum MoveLineFlags : int {
  kLineHideAnnotations = 1,
  kLineHideVariations = 2,
  kLineOpenBracket = 4,
  kLineCloseBracket = 8,
};

// The 16-byte letter table for GdMoveToText: piece letters at Notation 1-3,
// the chess font's figurines at Notation 0.
const char* MoveTextLetters(int notation);
// GdMoveToText's style: 1 (long) at Notation 2, 3 (long, no letter) at 3.
int MoveTextStyle(int notation);

// What one conversion of a game gives, read by every line written from it.
struct MoveLineSource {
  const uint16_t* words = nullptr;
  const uint32_t* comments = nullptr;  // offsets into `text`, 0 none
  const char* text = nullptr;
  size_t textSize = 0;
  const uint16_t* nags = nullptr;  // first symbol low byte, second high
  const char* letters = nullptr;
  int style = 0;
};

// Writes the line from word `start` up to `end` (exclusive) from `position`
// with the ply counter `counter` (twice the move number, + 1 for Black).
void WriteMoveLine(MoveRunSink* sink, const sPosition& position, int counter, const MoveLineSource& source,
                   int start, int end, int flags);

// The conversion's areas, as large as the module fills them.
struct GameTextAreas {
  GameTextAreas();
  sPosition start;
  std::vector<uint16_t> words;
  std::vector<uint32_t> comments;
  std::vector<char> text;
  std::vector<uint16_t> nags;
  int moveNumber = 0;
  int mainLength = 0;
  int total = 0;  // 0 without alternatives
  int result = 0;
};

// GdConvertGameToPgn into the areas; false (areas emptied) when it fails.
bool ConvertShownGame(GdGameBuffer game, GameTextAreas* areas);

struct MoveTextSettings {
  int showComments = 1;
  int showVariations = 1;
  int notation = 1;
};

// Writes the converted game whole, its result last.
void FillMoveText(MoveRunSink* sink, const GameTextAreas& areas, const MoveTextSettings& settings);
