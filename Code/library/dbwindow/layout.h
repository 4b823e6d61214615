// The database window's layout arithmetic: the tabbed panel on top, the game
// list, the splitter and the key area (header strip over the key tree) at the
// bottom; and the three parts of the main frame's status line.
//
// Interface: DatabaseLayoutInput, DatabaseLayout, ComputeDatabaseLayout,
// DatabaseStatusParts, kLayoutKeep ... kLayoutKeyFirst.
#pragma once

// Layout requests; 0 or more is the splitter's top position.
constexpr int kLayoutKeep = -1;       // the key area keeps its height
constexpr int kLayoutHalf = -2;       // the key area takes half the space below the panel
constexpr int kLayoutShare = -3;      // list and key area share the free space in proportion
constexpr int kLayoutListFirst = -4;  // as -2 when the list shows no full row
constexpr int kLayoutKeyFirst = -5;   // as -2 when the key tree has nothing to show

constexpr int kKeyHeaderStripHeight = 18;

struct DatabaseLayoutInput {
  int width = 0;  // client area
  int height = 0;
  int panelHeight = 0;     // the tabbed panel's own height (0 when hidden)
  int splitterHeight = 0;  // the splitter's own height
  int listHeight = 0;      // the game list now
  int keyHeight = 0;       // the key area now: header strip and key tree
  bool keyPaneShown = true;
  bool listShowsFullRow = true;  // request -4
  bool keyTreeHasItems = true;   // request -5
};

struct DatabaseLayout {
  int listTop, listHeight;
  int splitterTop;            // equals the height when the key pane is hidden
  int keyHeight;              // K
  int stripTop, stripHeight;  // the key tree's header strip
  int treeTop, treeHeight;    // the key tree pane
};

// False when nothing is to be done (empty client area, or a request -4/-5
// whose condition does not hold). `rememberedKey` is the last key-area
// height a request other than -1 computed; a smaller one grows back towards
// it when there is room.
bool ComputeDatabaseLayout(const DatabaseLayoutInput& in, int request, int* rememberedKey,
                           DatabaseLayout* out);

// Right edges of the status line's three parts: 40 % and 60 % of the width,
// the last part to the end (-1).
void DatabaseStatusParts(int width, int parts[3]);
