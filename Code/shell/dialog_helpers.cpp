#include "dialog_helpers.h"

#include <algorithm>

#include "chess_clock.h"
#include "game_record.h"
#include "game_registry.h"
#include "room_switch.h"

namespace {

// The end of the group that starts at source[i] == '{': the index just past
// its closing brace, or the source's end when it never closes.
size_t GroupEnd(const char* source, size_t i) {
  ++i;
  while (source[i] && source[i] != '}') {
    if (source[i] == '{') {  // a nested group runs to the next '}'
      ++i;
      while (source[i] && source[i] != '}') ++i;
      if (!source[i]) return i;
    }
    ++i;
  }
  return source[i] ? i + 1 : i;
}

// Copies the text outside the groups (keepGroups 0) or the groups only.
int CopyMarkup(const char* source, char* destination, size_t size, bool keepGroups) {
  if (!source || !destination || size == 0) return 0;
  size_t out = 0;
  int found = 0;
  auto put = [&](char ch) {
    if (out + 1 < size) destination[out++] = ch;
  };
  for (size_t i = 0; source[i];) {
    if (source[i] == '{') {
      const size_t end = GroupEnd(source, i);
      found = 1;
      if (keepGroups)
        for (size_t k = i; k < end; ++k) put(source[k]);
      i = end;
    } else {
      if (!keepGroups) put(source[i]);
      ++i;
    }
  }
  destination[out] = '\0';
  return found;
}

bool Empty(const ShellRect& r) { return r.right <= r.left || r.bottom <= r.top; }
bool Overlaps(const ShellRect& a, const ShellRect& b) {
  return !Empty(a) && !Empty(b) && a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
bool Inside(const ShellRect& r, const ShellRect& area) {
  return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}
void Offset(ShellRect* r, int dx, int dy) {
  r->left += dx, r->right += dx, r->top += dy, r->bottom += dy;
}
int Width(const ShellRect& r) { return r.right - r.left; }
int Height(const ShellRect& r) { return r.bottom - r.top; }

// Moves the rectangle into the area; answers which directions it moved in.
void MoveInto(const ShellRect& area, ShellRect* r, bool* movedX, bool* movedY) {
  *movedX = *movedY = false;
  if (r->bottom > area.bottom) Offset(r, 0, area.bottom - r->bottom), *movedY = true;
  if (r->top < area.top) Offset(r, 0, area.top - r->top), *movedY = true;
  if (r->right > area.right) Offset(r, area.right - r->right, 0), *movedX = true;
  if (r->left < area.left) Offset(r, area.left - r->left, 0), *movedX = true;
}

bool BesideBoard(const ShellRect& area, const ShellRect& board, ShellRect* rect) {
  const int above = board.top - area.top, below = area.bottom - board.bottom;
  const int left = board.left - area.left, right = area.right - board.right;
  const ShellRect start = *rect;
  for (int side = 0; side < 4; ++side) {
    ShellRect r = start;
    switch (side) {
      case 0:  // above
        if (Height(r) > above) continue;
        if (r.top < area.top) Offset(&r, 0, area.top - r.top);
        if (Overlaps(r, board)) Offset(&r, 0, board.top - r.bottom);
        break;
      case 1:  // left
        if (Width(r) > left) continue;
        if (r.left < area.left) Offset(&r, area.left - r.left, 0);
        if (Overlaps(r, board)) Offset(&r, board.left - r.right, 0);
        break;
      case 2:  // right
        if (Width(r) > right) continue;
        if (r.right > area.right) Offset(&r, area.right - r.right, 0);
        if (Overlaps(r, board)) Offset(&r, board.right - r.left, 0);
        break;
      default:  // below
        if (Height(r) > below) continue;
        if (r.bottom > area.bottom) Offset(&r, 0, area.bottom - r.bottom);
        if (Overlaps(r, board)) Offset(&r, 0, board.bottom - r.top);
        break;
    }
    if (Inside(r, area)) {
      *rect = r;
      return true;
    }
  }
  return false;
}

void PushOffBoard(const ShellRect& area, const ShellRect& board, ShellRect* r) {
  const int above = board.top - area.top, below = area.bottom - board.bottom;
  const int left = board.left - area.left, right = area.right - board.right;
  if (Overlaps(*r, board)) {
    if (above <= below) {
      Offset(r, 0, board.bottom - r->top);
      if (r->bottom > area.bottom) Offset(r, 0, area.bottom - r->bottom);
    } else {
      Offset(r, 0, board.top - r->bottom);
      if (r->top < area.top) Offset(r, 0, area.top - r->top);
    }
  }
  if (Overlaps(*r, board)) {
    if (left < right) {
      Offset(r, board.right - r->left, 0);
      if (r->right > area.right) Offset(r, area.right - r->right, 0);
    } else {
      Offset(r, board.left - r->right, 0);
      if (r->left < area.left) Offset(r, area.left - r->left, 0);
    }
  }
}

}  // namespace

int StripMarkup(const char* source, char* destination, size_t size) {
  return CopyMarkup(source, destination, size, false);
}

int ExtractMarkup(const char* source, char* destination, size_t size) {
  return CopyMarkup(source, destination, size, true);
}

void SpaceThreeItemsX(int clientWidth, int a, int b, int c, int* xA, int* xB, int* xC) {
  const int free = clientWidth - a - b - c;
  *xA = free / 4;
  *xB = free / 2 + a;
  *xC = 3 * free / 4 + a + b;
}

void SpaceTwoItemsX(int clientWidth, int a, int b, int* xA, int* xB) {
  const int free = clientWidth - a - b;
  *xA = free / 3;
  *xB = 2 * free / 3 + a;
}

int CenterItemX(int clientWidth, int width) { return (clientWidth - width) / 2; }

void FitListColumnWidths(const ListColumn* columns, int count, int first, int clientWidth, int32_t* widths) {
  if (!columns || !widths || count <= 0) return;
  auto stretched = [&](int i) {
    return first == count ? columns[i].order >= 0 && columns[i].order <= count - 2 : columns[i].order >= first;
  };
  int64_t w = clientWidth, s = 0;
  for (int i = 0; i < count; ++i) {
    if (stretched(i)) s += columns[i].width;
    else w -= columns[i].width;
  }
  for (int i = 0; i < count; ++i) {
    if (!stretched(i)) {
      widths[i] = columns[i].width;
      continue;
    }
    int64_t width = s ? (s / 2 + int64_t(columns[i].width) * w) / s : 0;
    if (width < 10) width = 10;
    widths[i] = int32_t(width);
    w -= width;
    s -= columns[i].width;
  }
}

int PlaceInWorkArea(const ShellRect& area, const ShellRect& boardIn, ShellRect* rect, int dock) {
  if (!rect) return 0;
  const ShellRect passed = *rect;
  bool movedX, movedY;
  MoveInto(area, rect, &movedX, &movedY);
  if (dock && movedX && movedY) Offset(rect, area.left - rect->left, area.top - rect->top);
  // The board, cut to the area.
  ShellRect board{std::max(boardIn.left, area.left), std::max(boardIn.top, area.top),
                  std::min(boardIn.right, area.right), std::min(boardIn.bottom, area.bottom)};
  if (!Overlaps(*rect, board)) return 1;
  *rect = passed;
  if (BesideBoard(area, board, rect)) return 1;
  if (dock) {
    Offset(rect, area.left - rect->left, area.top - rect->top);
    if (BesideBoard(area, board, rect)) return 1;
    *rect = passed;
    if (!Inside(*rect, area)) Offset(rect, area.left - rect->left, area.top - rect->top);
    return 0;
  }
  PushOffBoard(area, board, rect);
  return Overlaps(*rect, board) ? 0 : 1;
}

ModalPause BeginModalPause(int pause) {
  ModalPause p{};
  GameRecord* game = GetCurrentGame();
  if (pause && game && !IsClockPaused(game) && !(game->kind & GAME_ONLINE)) {
    p.paused = 1;
    p.game = game->id;
    PauseClock(game);
    HoldRoomTimer();
  }
  return p;
}

void EndModalPause(const ModalPause& pause) {
  if (!pause.paused) return;
  // The dialog may have destroyed the game.
  if (GameRecord* game = FindGameByGuid(&pause.game)) ResumeClock(game);
  ReleaseRoomTimer();
}
