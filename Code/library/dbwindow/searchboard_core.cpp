#include "searchboard_core.h"

BoardPoint SquareOrigin(int sq, int size, bool flipped) {
  const int shown = flipped ? sq ^ 63 : sq;
  return {(shown % 8) * size, (7 - shown / 8) * size};
}

int PointToSquare(int x, int y, int size, bool flipped) {
  if (size <= 0 || x < 0 || y < 0 || x >= 8 * size || y >= 8 * size) return -1;
  const int sq = x / size + (7 - y / size) * 8;
  return flipped ? sq ^ 63 : sq;
}

PieceSetCells PieceSetGeometry(int width) {
  PieceSetCells c;
  c.cell = width / 9 - 2;
  if (c.cell <= 0) return {};
  const int rest = width % (c.cell + 2);
  c.gutter = rest ? rest - 2 : 0;
  if (c.gutter < 0) c.gutter = 0;
  return c;
}

StripCell PieceCell(uint8_t code) {
  const int type = code & 7;
  return {type > 0 ? type - 1 : 0, (code & 8) ? 0 : 2};
}

StripCell BackgroundCell(int sq) {
  const bool light = ((sq % 8) + (sq / 8)) % 2 == 1;
  return {6, light ? 0 : 2};
}

bool SquareDrawable(int size) { return size >= 1 && size <= 100; }

uint8_t BoardCodeFromModule(uint8_t code) {
  const int type = code & 7;
  if (type < 1 || type > 6) return 0;
  return uint8_t(type | ((code & 8) ? 0 : 8));
}

uint8_t ModuleCodeFromBoard(uint8_t code) { return BoardCodeFromModule(code); }

void BoardFromPosition(const sPosition& position, uint8_t board[64]) {
  for (int sq = 0; sq < 64; ++sq) board[sq] = BoardCodeFromModule(position.squares[sq]);
}

void PositionFromBoard(const uint8_t board[64], sPosition* position) {
  for (int sq = 0; sq < 64; ++sq) position->squares[sq] = ModuleCodeFromBoard(board[sq]);
}

namespace {
int Toward(int from, int to, int step) {
  if (from < to) return from + step < to ? from + step : to;
  if (from > to) return from - step > to ? from - step : to;
  return from;
}
}  // namespace

void SlidePath::Step() {
  current.x = Toward(current.x, end.x, step);
  current.y = Toward(current.y, end.y, step);
}

SlidePath MakeSlidePath(BoardPoint start, BoardPoint end, int animationSpeed) {
  SlidePath p;
  p.current = start;
  p.end = end;
  p.step = animationSpeed == -2 ? 2 : 1;
  return p;
}

bool RunSlide(SlidePath* path, int speed, SlideClock* clock, const std::atomic<int>& stop,
              const std::function<void(BoardPoint)>& move) {
  const int64_t interval = speed > 0 ? clock->Frequency() / speed : 0;
  int64_t last = clock->Now();
  bool stopped = false;
  while (!path->Done()) {
    if (stop.load()) {
      stopped = true;
      break;
    }
    if (interval > 0) {
      while (clock->Now() - last < interval) {
        if (stop.load()) break;
        clock->Pause();
      }
      if (stop.load()) {
        stopped = true;
        break;
      }
      last = clock->Now();
    }
    path->Step();
    if (!path->Done()) move(path->current);
  }
  path->current = path->end;
  move(path->end);
  return stopped;
}
