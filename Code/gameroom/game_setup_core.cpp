// New-game set-up decisions.
#include "game_setup_core.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
bool SamePlayer(const PlayerRecord& a, const PlayerRecord& b) {
  return a.kind == b.kind && std::strcmp(a.name, b.name) == 0 && a.blindfold == b.blindfold;
}
bool SameTime(const PlayerRecord& a, const PlayerRecord& b) {
  return a.timeControl == b.timeControl && a.baseMs == b.baseMs && a.periodOrIncrement == b.periodOrIncrement;
}
void SetTime(PlayerRecord* p, uint32_t time, uint32_t second) {
  p->baseMs = time;
  p->periodOrIncrement = second;
}
}  // namespace

int SetupChangeMask(const PlayerRecord& savedWhite, const PlayerRecord& savedBlack, const PlayerRecord& white,
                    const PlayerRecord& black, bool whiteOnTop, bool boardNotFlipped, const Board& start) {
  int mask = 0;
  if (!SamePlayer(savedWhite, white)) mask |= kSetupWhitePlayer;
  if (!SameTime(savedWhite, white)) mask |= kSetupWhiteTime;
  if (!SamePlayer(savedBlack, black)) mask |= kSetupBlackPlayer;
  if (!SameTime(savedBlack, black)) mask |= kSetupBlackTime;
  if (whiteOnTop == boardNotFlipped) mask |= kSetupTurned;
  Board initial;
  SetInitialBoard(&initial);
  if (std::memcmp(&initial, &start, sizeof initial) != 0) mask |= kSetupOdds;
  return mask;
}

SetupTimeValues::SetupTimeValues() {
  const uint32_t time[7] = {7200000, 7200000, 10000, 600000, 600000, 300000, 30000};
  const uint32_t second[7] = {40, 40, 0, 0, 0, 3000, 0};
  for (int k = 0; k < 7; ++k)
    for (int row = 0; row < 2; ++row) {
      this->time[k][row] = time[k];
      this->second[k][row] = second[k];
    }
}

TimePageView ViewTimePage(uint32_t kind, bool* same, PlayerRecord* top, PlayerRecord* bottom,
                          const SetupTimeValues& v) {
  TimePageView view{};
  if (kind >= 9) {
    view.unchanged = true;
    return view;
  }
  if (kind == 2 || kind == 7 || kind == 8) *same = true;
  if (kind <= 6) {
    bool withSecond = kind == 0 || kind == 1 || kind == 5;
    bool copyTop = *same || kind == 2;
    top->baseMs = v.time[kind][0];
    bottom->baseMs = v.time[kind][copyTop ? 0 : 1];
    if (withSecond) {
      top->periodOrIncrement = v.second[kind][0];
      bottom->periodOrIncrement = v.second[kind][copyTop ? 0 : 1];
    }
  }
  view.firstMin = kind == 6 ? 5 : 1;
  view.radiosShown = !(kind == 2 || kind == 7 || kind == 8);
  view.sameForced = !view.radiosShown;
  bool separate = !*same;
  const PlayerRecord* rows[2] = {top, bottom};
  for (int row = 0; row < 2; ++row) {
    const PlayerRecord& p = *rows[row];
    int first = 2 * row, second = 2 * row + 1;
    bool rowShown = row == 0 || separate;
    switch (kind) {
      case 0:
      case 1:
        view.spinValue[first] = static_cast<int>(p.periodOrIncrement);
        view.spinValue[second] = static_cast<int>(p.baseMs / 60000);
        view.spinShown[first] = view.spinShown[second] = rowShown;
        view.label[0] = "Moves in";
        view.label[1] = "Minutes";
        break;
      case 2:
        view.spinValue[first] = static_cast<int>(p.baseMs / 1000);
        view.spinShown[first] = row == 0;
        view.label[0] = "Seconds per move";
        break;
      case 3:
      case 4:
        view.spinValue[first] = static_cast<int>(p.baseMs / 60000);
        view.spinShown[first] = rowShown;
        view.label[0] = "Minutes";
        break;
      case 5:
        view.spinValue[first] = static_cast<int>(p.baseMs / 60000);
        view.spinValue[second] = static_cast<int>(p.periodOrIncrement / 1000);
        view.spinShown[first] = view.spinShown[second] = rowShown;
        view.label[0] = "Minutes";
        view.label[1] = "Bonus seconds";
        break;
      case 6:
        view.spinValue[first] = static_cast<int>(p.baseMs / 1000);
        view.spinShown[first] = rowShown;
        view.label[0] = "Hourglass seconds";
        break;
      default:  // 7, 8: every spin 0 and hidden
        break;
    }
  }
  return view;
}

void StoreSpinValues(uint32_t kind, int a, int b, int c, int d, bool same, PlayerRecord* top,
                     PlayerRecord* bottom, SetupTimeValues* v) {
  int low = kind == 6 ? 5 : 1;
  auto held = [low](int x) { return static_cast<uint32_t>(std::max(low, std::min(999, x))); };
  auto count = [](int x) { return static_cast<uint32_t>(std::max(1, std::min(999, x))); };
  uint32_t t[2] = {0, 0}, s[2] = {0, 0};
  switch (kind) {
    case 0:
    case 1:
      t[0] = count(b) * 60000, s[0] = count(a);
      t[1] = count(d) * 60000, s[1] = count(c);
      break;
    case 2:
      t[0] = t[1] = count(a) * 1000;
      same = true;
      break;
    case 3:
    case 4:
      t[0] = count(a) * 60000, t[1] = count(c) * 60000;
      break;
    case 5:
      t[0] = count(a) * 60000, s[0] = count(b) * 1000;
      t[1] = count(c) * 60000, s[1] = count(d) * 1000;
      break;
    case 6:
      t[0] = held(a) * 1000, t[1] = held(c) * 1000;
      break;
    case 7:
    case 8:
    case 9:
      SetTime(top, 0, 0);
      SetTime(bottom, 0, 0);
      return;
    default:
      return;
  }
  if (same) t[1] = t[0], s[1] = s[0];
  for (int row = 0; row < 2; ++row) {
    v->time[kind][row] = t[row];
    v->second[kind][row] = s[row];
  }
  SetTime(top, t[0], s[0]);
  SetTime(bottom, t[1], s[1]);
}

void CopySetupName(char (&to)[256], const char* from) {
  size_t n = from ? strnlen(from, sizeof to - 1) : 0;
  if (n) std::memcpy(to, from, n);
  std::memset(to + n, 0, sizeof to - n);
}

void FlipSetupPlayers(GameSetupPlayers* p, bool swapColours) {
  p->whiteOnTop = !p->whiteOnTop;
  if (swapColours) {
    std::swap(*p->white, *p->black);
    p->white->slot = SLOT_WHITE;
    p->black->slot = SLOT_BLACK;
  } else {
    std::swap(p->personName[0], p->personName[1]);
    std::swap(p->computerName[0], p->computerName[1]);
  }
}

bool OddsBoardClick(Board* start, int x, int y) {
  // Left of or above the picture is no square (division would round to 0).
  if (!start || x < kOddsBoardX || y < kOddsBoardY) return false;
  int row = (y - kOddsBoardY) / kOddsSquare, file = (x - kOddsBoardX) / kOddsSquare;
  if (row > 7 || file > 7 || (row >= 2 && row <= 5)) return false;
  Board initial;
  SetInitialBoard(&initial);
  int square = MakeSquare(row, file);
  uint8_t piece = (*start)[square];
  if (piece && (piece & TYPE_MASK) != KING)
    (*start)[square] = 0;
  else
    (*start)[square] = initial[square];
  SetCastlingFromPieces(start);
  return true;
}
