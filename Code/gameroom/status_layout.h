// The Game Status window's layout: from the sizes of the labels, emblems
// and buttons and the client size to the rectangles and shown flags of
// every item, in one of four arrangements (list only, full, two rows,
// one-row strip).
//
// Interface: StatusItem, StatusSize, StatusSideSizes, StatusLayoutInput,
// StatusBox, StatusSideBoxes, StatusLayout, StatusArrangement,
// StatusMeasures, MeasureGameStatus, BlockSetWidth, BlockSetHeight,
// LayoutGameStatus, GameStatusMinimumSize.
#pragma once

#include <cstdint>

// Mask bits of BlockSetWidth/BlockSetHeight: bits 0-5 White, 8-13 Black.
enum StatusItem : uint32_t {
  kItemName = 1,
  kItemPortrait = 2,
  kItemEmblem = 4,
  kItemRating = 8,
  kItemTimeControl = 16,
  kItemClock = 32,
  kItemsOfSide = 63,
};
inline uint32_t BlackItems(uint32_t items) { return items << 8; }

struct StatusSize {
  int width = 0, height = 0;
};
// Measured sizes of one side; a rating whose text is empty has width 0.
struct StatusSideSizes {
  StatusSize name, rating, clock, timeControl, portrait, emblem;
};

struct StatusLayoutInput {
  int width, height;        // client size
  StatusSideSizes side[2];  // 0 White, 1 Black
  bool withClocks;          // not a game without clocks (kind flag 0x20000000)
  bool listOnly;            // kind flag 0x80000
  bool whiteAtBottom;       // the board is not flipped
  int buttonWidth, buttonHeight;
  int lineHeight;  // of the list font
};

struct StatusBox {
  int x = 0, y = 0, width = 0, height = 0;
  bool shown = false;
};
struct StatusSideBoxes {
  StatusBox name, rating, clock, timeControl, portrait, emblem;
};
enum StatusArrangement { kStatusListOnly, kStatusFull, kStatusTwoRows, kStatusStrip };
struct StatusLayout {
  StatusArrangement arrangement;
  StatusSideBoxes side[2];
  StatusBox list;
  StatusBox buttons[7];  // "<<", "<", "<|", "X", "|>", ">", ">>"
};

struct StatusMeasures {
  int twoBlockHeight;
  int stripThreshold;
};
StatusMeasures MeasureGameStatus(const StatusLayoutInput& in);
int BlockSetWidth(const StatusLayoutInput& in, uint32_t mask);
int BlockSetHeight(const StatusLayoutInput& in, uint32_t mask);
StatusLayout LayoutGameStatus(const StatusLayoutInput& in);
// The smallest window: Black's emblem and the wider of its name and clock,
// plus the frame.
void GameStatusMinimumSize(const StatusLayoutInput& in, int frameWidth, int frameHeight, int* width,
                           int* height);
