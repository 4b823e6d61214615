// Game Status layout.
#include "status_layout.h"

#include <algorithm>

namespace {

constexpr int kGap = 8;

int SideWidth(const StatusLayoutInput& in, int s, uint32_t items) {
  const StatusSideSizes& z = in.side[s];
  auto has = [&](uint32_t item) { return (items & item) != 0; };
  int portrait = has(kItemPortrait) ? z.portrait.width : 0;
  int portraitGap = has(kItemPortrait) ? kGap : 0;
  int emblem = has(kItemEmblem) ? z.emblem.width : 0;
  int name = has(kItemName) ? z.name.width : 0;
  int rating = has(kItemRating) && z.rating.width > 0 ? z.rating.width + kGap : 0;
  int clock = has(kItemClock) && in.withClocks ? z.clock.width : 0;
  int control = has(kItemTimeControl) && in.withClocks ? z.timeControl.width : 0;
  return std::max({portrait + portraitGap + emblem + name + rating, portrait + clock, portrait + control});
}

int SideHeight(const StatusLayoutInput& in, int s, uint32_t items) {
  const StatusSideSizes& z = in.side[s];
  auto has = [&](uint32_t item) { return (items & item) != 0; };
  int portrait = has(kItemPortrait) ? z.portrait.height : 0;
  int emblem = has(kItemEmblem) ? 6 + z.emblem.height : 0;
  int name = has(kItemName) ? z.name.height : 0;
  int rating = has(kItemRating) && z.rating.width > 0 ? z.rating.height : 0;
  int clock = has(kItemClock) && in.withClocks ? z.clock.height : 0;
  int control = has(kItemTimeControl) && in.withClocks ? z.timeControl.height : 0;
  return std::max({portrait, emblem, std::max(name, rating) + clock + control});
}

StatusBox Box(int x, int y, StatusSize size, bool shown) { return {x, y, size.width, size.height, shown}; }

// Places a block of the full arrangement with its top-left corner at (8, y).
void PlaceFullBlock(const StatusLayoutInput& in, int s, int y, bool portraits, StatusSideBoxes* b) {
  const StatusSideSizes& z = in.side[s];
  bool hasPortrait = portraits && z.portrait.width > 0;
  b->portrait = Box(kGap, y, z.portrait, hasPortrait);
  b->emblem =
      hasPortrait ? Box(kGap + z.portrait.width + kGap, y + 6, z.emblem, true) : Box(kGap, y, z.emblem, true);
  b->name = Box(b->emblem.x + b->emblem.width + kGap, b->emblem.y, z.name, true);
  b->rating = Box(b->name.x + b->name.width + kGap, b->name.y, z.rating, z.rating.width > 0);
  b->clock = Box(b->name.x, b->name.y + b->name.height, z.clock, in.withClocks);
  b->timeControl =
      Box(b->name.x, b->clock.y + b->clock.height, z.timeControl, in.withClocks && z.timeControl.width > 0);
}

// The row of buttons of the full and list-only arrangements.
int PlaceButtons(const StatusLayoutInput& in, int top, bool shown, StatusLayout* out) {
  int listWidth = std::max(7 * in.buttonWidth, in.width * 9 / 10);
  int x = (in.width - listWidth) / 2;
  int spare = listWidth - 7 * in.buttonWidth;
  for (int i = 0; i < 7; ++i) {
    out->buttons[i] = {x, top, in.buttonWidth, in.buttonHeight, shown};
    x += in.buttonWidth;
    if (i < 6) x += (spare + i) / 6;
  }
  out->list.x = (in.width - listWidth) / 2;
  out->list.width = listWidth;
  return listWidth;
}

// Places the next label of a row: shown ones 8 after the cursor; a hidden
// one ends where the previous label ends.
void PlaceInRow(StatusBox* box, StatusSize size, int* cursor, int rowTop, int rowHeight, bool shown) {
  box->width = size.width;
  box->height = size.height;
  box->y = rowTop + (rowHeight - size.height) / 2;
  box->shown = shown;
  if (shown) {
    box->x = *cursor + kGap;
    *cursor = box->x + box->width;
  } else {
    box->x = *cursor - box->width;
  }
}

// No label of a row may be cut off at the right edge: those that would be
// are hidden.
void HideOverflow(const StatusLayoutInput& in, StatusSideBoxes* b) {
  for (StatusBox* box : {&b->name, &b->rating, &b->clock, &b->timeControl, &b->emblem})
    if (box->shown && box->x + box->width > in.width) box->shown = false;
}

}  // namespace

int BlockSetWidth(const StatusLayoutInput& in, uint32_t mask) {
  int width = 0, sides = 0;
  for (int s = 0; s < 2; ++s) {
    uint32_t items = (mask >> (8 * s)) & kItemsOfSide;
    if (!items) continue;
    ++sides;
    width = std::max(width, SideWidth(in, s, items));
  }
  return width + 16 * sides;
}

int BlockSetHeight(const StatusLayoutInput& in, uint32_t mask) {
  int height = 0, sides = 0;
  for (int s = 0; s < 2; ++s) {
    uint32_t items = (mask >> (8 * s)) & kItemsOfSide;
    if (!items) continue;
    ++sides;
    height += SideHeight(in, s, items);
  }
  return height + 12 * sides;
}

StatusMeasures MeasureGameStatus(const StatusLayoutInput& in) {
  const StatusSideSizes& b = in.side[1];
  int t = std::max(b.emblem.height, b.name.height) +
          (in.withClocks ? b.clock.height + b.timeControl.height : 0) + 6;
  StatusMeasures m;
  m.twoBlockHeight = 2 * (12 + std::min(b.portrait.height, t));
  m.stripThreshold = 2 * std::max(b.emblem.height, b.clock.height);
  return m;
}

StatusLayout LayoutGameStatus(const StatusLayoutInput& in) {
  StatusLayout out{};
  const int W = in.width, H = in.height;
  const int top = in.whiteAtBottom ? 1 : 0, bottom = 1 - top;
  const uint32_t labels = kItemName | kItemEmblem | kItemRating | kItemTimeControl | kItemClock;
  const uint32_t both = labels | BlackItems(labels);
  const StatusMeasures m = MeasureGameStatus(in);

  if (in.listOnly) {
    out.arrangement = kStatusListOnly;
    PlaceButtons(in, 6, true, &out);
    out.list.y = 6 + in.buttonHeight + 3;
    out.list.height = std::max(0, H - out.list.y - 6);
    out.list.shown = true;
    return out;
  }

  if (H >= m.twoBlockHeight) {
    out.arrangement = kStatusFull;
    const uint32_t everything = both | kItemPortrait | BlackItems(kItemPortrait);
    bool portraits = W >= BlockSetWidth(in, everything) && H >= BlockSetHeight(in, everything);
    uint32_t fitMask = portraits ? (kItemPortrait | BlackItems(kItemPortrait)) : both;
    bool listShown = W >= 7 * in.buttonWidth + 16 &&
                     H - in.lineHeight - in.buttonHeight - 3 >= BlockSetHeight(in, fitMask);
    PlaceFullBlock(in, top, 6, portraits, &out.side[top]);
    uint32_t topItems = labels | (portraits ? uint32_t{kItemPortrait} : 0u);
    int buttonsTop = BlockSetHeight(in, top == 1 ? BlackItems(topItems) : topItems);
    PlaceButtons(in, buttonsTop, listShown, &out);
    uint32_t shownItems = portraits ? everything : both;
    out.list.y = buttonsTop + in.buttonHeight + 3;
    out.list.height = std::max(0, H - in.buttonHeight - BlockSetHeight(in, shownItems) - 3);
    out.list.shown = listShown;
    int bottomY = listShown ? out.list.y + out.list.height + 6 : buttonsTop;
    PlaceFullBlock(in, bottom, bottomY, portraits, &out.side[bottom]);
    return out;
  }

  auto ratingCount = [&](int s) { return in.side[s].rating.width > 0 ? kGap : 0; };
  if (H < m.stripThreshold) {
    out.arrangement = kStatusStrip;
    const StatusSideSizes &a = in.side[0], &b = in.side[1];
    int clocks = in.withClocks ? a.clock.width + kGap + b.clock.width + kGap : 0;
    bool ratings = W > a.emblem.width + a.name.width + a.rating.width + b.emblem.width + b.name.width +
                           b.rating.width + ratingCount(0) + ratingCount(1) + clocks + 32;
    bool clocksShown = in.withClocks && W > a.emblem.width + a.name.width + a.clock.width + b.emblem.width +
                                                b.name.width + b.clock.width + 48;
    bool controls = in.withClocks && W > a.emblem.width + a.name.width + a.rating.width + a.clock.width +
                                             a.timeControl.width + b.emblem.width + b.name.width +
                                             b.rating.width + b.clock.width + b.timeControl.width +
                                             ratingCount(0) + ratingCount(1) + 64;
    int cursor = 0;
    for (int s : {in.whiteAtBottom ? 0 : 1, in.whiteAtBottom ? 1 : 0}) {
      StatusSideBoxes& x = out.side[s];
      const StatusSideSizes& z = in.side[s];
      PlaceInRow(&x.emblem, z.emblem, &cursor, 0, H, true);
      PlaceInRow(&x.name, z.name, &cursor, 0, H, true);
      PlaceInRow(&x.rating, z.rating, &cursor, 0, H, ratings && z.rating.width > 0);
      PlaceInRow(&x.clock, z.clock, &cursor, 0, H, clocksShown);
      PlaceInRow(&x.timeControl, z.timeControl, &cursor, 0, H, controls && z.timeControl.width > 0);
      x.portrait = Box(0, 0, z.portrait, false);
    }
    for (StatusSideBoxes& x : out.side) HideOverflow(in, &x);
    return out;
  }

  out.arrangement = kStatusTwoRows;
  int half = H / 2;
  int clockNeed = 0;
  for (int s = 0; s < 2; ++s)
    clockNeed = std::max(clockNeed, in.side[s].emblem.width + in.side[s].name.width + in.side[s].clock.width);
  bool clocksShown = in.withClocks && W > clockNeed + 24;
  for (int s = 0; s < 2; ++s) {
    StatusSideBoxes& x = out.side[s];
    const StatusSideSizes& z = in.side[s];
    int rowTop = s == top ? 0 : half, rowHeight = s == top ? half : H - half;
    int cursor = 0;
    PlaceInRow(&x.emblem, z.emblem, &cursor, rowTop, rowHeight, true);
    PlaceInRow(&x.name, z.name, &cursor, rowTop, rowHeight, true);
    bool rating = z.rating.width > 0 &&
                  W > z.emblem.width + z.name.width + z.rating.width + ratingCount(s) + z.clock.width + 24;
    PlaceInRow(&x.rating, z.rating, &cursor, rowTop, rowHeight, rating);
    PlaceInRow(&x.clock, z.clock, &cursor, rowTop, rowHeight, clocksShown);
    x.portrait = Box(0, rowTop, z.portrait, false);
  }
  // The two clocks stand one above the other; the time controls follow.
  int clockX = std::max(out.side[0].clock.x, out.side[1].clock.x);
  for (int s = 0; s < 2; ++s) {
    StatusSideBoxes& x = out.side[s];
    const StatusSideSizes& z = in.side[s];
    if (clocksShown) x.clock.x = clockX;
    int cursor = x.clock.x + x.clock.width;
    int rowTop = s == top ? 0 : half, rowHeight = s == top ? half : H - half;
    bool control =
        clocksShown && z.timeControl.width > 0 && W > clockX + z.clock.width + z.timeControl.width + kGap;
    PlaceInRow(&x.timeControl, z.timeControl, &cursor, rowTop, rowHeight, control);
    HideOverflow(in, &x);
  }
  return out;
}

void GameStatusMinimumSize(const StatusLayoutInput& in, int frameWidth, int frameHeight, int* width,
                           int* height) {
  const StatusSideSizes& b = in.side[1];
  *width = b.emblem.width + std::max(b.name.width, b.clock.width) + 2 * frameWidth + 8;
  *height = b.emblem.height + frameHeight;
}
