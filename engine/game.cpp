// Corvane program: game-level board, legal moves, texts and the game end.
#include "game.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace corvane {

namespace {

const int kKnightJumps[8] = {21, -21, 19, -19, 12, -12, 8, -8};
const int kKingSteps[8] = {11, -11, 9, -9, 10, -10, 1, -1};
const int kDiagonals[4] = {11, -11, 9, -9};
const int kStraights[4] = {10, -10, 1, -1};
const char kPieceLetters[] = "PNBRQKXX";

inline u8* Sq(EnginePosition& p) { return p.cell + 20; }
inline const u8* Sq(const EnginePosition& p) { return p.cell + 20; }
inline bool OnBoard(int s) { return s >= 1 && s <= 78 && s % 10 >= 1 && s % 10 <= 8; }
inline bool IsWhite(u8 c) { return c != kRim && c != kEmpty && (c & kWhiteBit); }
inline bool IsBlack(u8 c) { return c != kRim && c != kEmpty && (c & kBlackBit); }

int FindKing(const EnginePosition& pos, bool white) {
  const u8* b = Sq(pos);
  u8 k = white ? kWK : kBK;
  for (int s = 1; s <= 78; ++s)
    if (b[s] == k) return s;
  return 0;
}

// Offsets toward every piece of `byWhite` that attacks square; stops after two.
int Attackers(const EnginePosition& pos, int sq, bool byWhite, int* offset) {
  const u8* b = Sq(pos);
  int n = 0;
  auto hit = [&](int off) {
    if (n == 0) *offset = off;
    ++n;
  };
  if (byWhite) {
    if (b[sq - 11] == kWP) hit(-11);
    if (b[sq - 9] == kWP) hit(-9);
  } else {
    if (b[sq + 11] == kBP) hit(11);
    if (b[sq + 9] == kBP) hit(9);
  }
  u8 knight = byWhite ? kWN : kBN, king = byWhite ? kWK : kBK;
  u8 queen = byWhite ? kWQ : kBQ, rook = byWhite ? kWR : kBR, bishop = byWhite ? kWB : kBB;
  for (int j : kKnightJumps) {
    int t = sq + j;
    if (t >= -20 && t < 100 && b[t] == knight) hit(j);
  }
  for (int d : kKingSteps)
    if (b[sq + d] == king) hit(d);
  for (int i = 0; i < 8; ++i) {
    int d = kKingSteps[i];
    bool diagonal = i < 4;
    int t = sq + d;
    while (b[t] == kEmpty) t += d;
    u8 c = b[t];
    if (c == queen || (diagonal ? c == bishop : c == rook)) hit(d);
  }
  return n;
}

void AddMove(EngineMove* list, int* n, EngineMove m) {
  if (*n < kGameMoveList - 1) list[(*n)++] = m;
}

}  // namespace

const char kInitialPositionString[] = "rnbqkbnrpppppppp................................PPPPPPPPRNBQKBNRwLSls";

void ClearPosition(EnginePosition* pos) {
  std::memset(pos, 0, sizeof *pos);
  for (int s = 0; s < 80; ++s)
    if (OnBoard(s)) Sq(*pos)[s] = kEmpty;
}

void InitialPosition(EnginePosition* pos) { SetPositionFromString(kInitialPositionString, pos); }

void SetPositionFromString(const char* text, EnginePosition* pos) {
  ClearPosition(pos);
  u8* b = Sq(*pos);
  size_t len = std::strlen(text);
  for (int i = 0; i < 64 && size_t(i) < len; ++i) {
    int sq = SqNum(i % 8, 7 - i / 8);
    char c = text[i];
    const char* white = std::strchr("PNBRQK", c);
    const char* black = std::strchr("pnbrqk", c);
    if (c && white)
      b[sq] = WCode(int(white - "PNBRQK"));
    else if (c && black)
      b[sq] = BCode(int(black - "pnbrqk"));
    else if (c == 'E' || c == 'e' || c == '%')
      pos->ep = u8(sq);
  }
  bool castle[4] = {false, false, false, false};
  for (size_t i = 64; i < len; ++i) {
    switch (text[i]) {
      case 'W':
      case 'w':
        pos->wtm = 1;
        break;
      case 'L':
        castle[0] = true;
        break;
      case 'S':
        castle[1] = true;
        break;
      case 'l':
        castle[2] = true;
        break;
      case 's':
        castle[3] = true;
        break;
      default:
        break;
    }
  }
  pos->castle[0] = castle[0] && b[5] == kWK && b[1] == kWR;
  pos->castle[1] = castle[1] && b[5] == kWK && b[8] == kWR;
  pos->castle[2] = castle[2] && b[75] == kBK && b[71] == kBR;
  pos->castle[3] = castle[3] && b[75] == kBK && b[78] == kBR;
  // An en-passant square is kept only where a pawn really has just skipped it.
  int e = pos->ep;
  if (e) {
    bool ok = pos->wtm ? (e >= 51 && e <= 58 && b[e] == kEmpty && b[e + 10] == kEmpty && b[e - 10] == kBP)
                       : (e >= 21 && e <= 28 && b[e] == kEmpty && b[e - 10] == kEmpty && b[e + 10] == kWP);
    if (!ok) pos->ep = 0;
  }
}

bool GameSquareAttacked(const EnginePosition& pos, int square, bool byWhite) {
  int off;
  return Attackers(pos, square, byWhite, &off) > 0;
}

int GameCheckState(const EnginePosition& pos) {
  bool white = pos.wtm != 0;
  int k = FindKing(pos, white);
  if (!k) return 0;
  int off = 0;
  int n = Attackers(pos, k, !white, &off);
  return n == 0 ? 0 : n >= 2 ? 2 : off;
}

const char* ValidatePosition(const EnginePosition& pos) {
  const u8* b = Sq(pos);
  int kings[2] = {0, 0}, others[2] = {0, 0};
  for (int s = 0; s < 80; ++s) {
    if (!OnBoard(s)) continue;
    u8 c = b[s];
    if (c == kEmpty) continue;
    int side = (c & kWhiteBit) ? 0 : 1;
    if (TypeOf(c) == kKing)
      ++kings[side];
    else
      ++others[side];
    if (TypeOf(c) == kPawn && (s <= 8 || s >= 71)) return "pawn on the first or last rank";
  }
  if (kings[0] != 1 || kings[1] != 1) return "one king of each colour needed";
  if (others[0] > 15 || others[1] > 15) return "more than 15 pieces besides the king";
  bool white = pos.wtm != 0;
  if (GameSquareAttacked(pos, FindKing(pos, !white), white)) return "side not to move is in check";
  return nullptr;
}

int GenGameMoves(const EnginePosition& pos, EngineMove* list) {
  int n = 0;
  EngineMove pseudo[kGameMoveList];
  int np = 0;
  const u8* b = Sq(pos);
  bool white = pos.wtm != 0;
  auto own = [&](u8 c) { return white ? IsWhite(c) : IsBlack(c); };
  auto enemy = [&](u8 c) { return white ? IsBlack(c) : IsWhite(c); };
  int up = white ? 10 : -10;
  // En passant.
  if (pos.ep) {
    int e = pos.ep;
    u8 pawn = white ? kWP : kBP;
    int from1 = white ? e - 11 : e + 11, from2 = white ? e - 9 : e + 9;
    if (b[from1] == pawn) AddMove(pseudo, &np, MakeMove(from1, e) | kEpFlag);
    if (b[from2] == pawn) AddMove(pseudo, &np, MakeMove(from2, e) | kEpFlag);
  }
  // Castling: never out of or through check.
  int k = FindKing(pos, white);
  if (k && !GameSquareAttacked(pos, k, !white)) {
    int home = white ? 5 : 75;
    if (k == home) {
      if (pos.castle[white ? 0 : 2] && b[home - 4] == (white ? kWR : kBR) && b[home - 1] == kEmpty &&
          b[home - 2] == kEmpty && b[home - 3] == kEmpty && !GameSquareAttacked(pos, home - 1, !white) &&
          !GameSquareAttacked(pos, home - 2, !white))
        AddMove(pseudo, &np, MakeMove(home, home - 2) | kCastleFlag);
      if (pos.castle[white ? 1 : 3] && b[home + 3] == (white ? kWR : kBR) && b[home + 1] == kEmpty &&
          b[home + 2] == kEmpty && !GameSquareAttacked(pos, home + 1, !white) &&
          !GameSquareAttacked(pos, home + 2, !white))
        AddMove(pseudo, &np, MakeMove(home, home + 2) | kCastleFlag);
    }
  }
  auto addPawn = [&](int from, int to) {
    bool last = white ? to >= 71 : to <= 8;
    if (last) {
      for (int t = kQueen; t >= kKnight; --t) AddMove(pseudo, &np, MakeMove(from, to) | u32(t) << 8);
    } else {
      AddMove(pseudo, &np, MakeMove(from, to));
    }
  };
  for (int s = 1; s <= 78; ++s) {
    u8 c = b[s];
    if (!OnBoard(s) || !own(c)) continue;
    int type = TypeOf(c);
    switch (type) {
      case kPawn: {
        int c1 = s + up + 1, c2 = s + up - 1;
        if (enemy(b[c1])) addPawn(s, c1);
        if (enemy(b[c2])) addPawn(s, c2);
        if (b[s + up] == kEmpty) {
          addPawn(s, s + up);
          bool second = white ? (s >= 11 && s <= 18) : (s >= 61 && s <= 68);
          if (second && b[s + 2 * up] == kEmpty) AddMove(pseudo, &np, MakeMove(s, s + 2 * up));
        }
        break;
      }
      case kKnight:
        for (int j : kKnightJumps) {
          int t = s + j;
          if (t >= 0 && t < 80 && OnBoard(t) && !own(b[t])) AddMove(pseudo, &np, MakeMove(s, t));
        }
        break;
      case kKing:
        for (int d : kKingSteps) {
          int t = s + d;
          if (OnBoard(t) && !own(b[t])) AddMove(pseudo, &np, MakeMove(s, t));
        }
        break;
      default: {
        auto slide = [&](const int* dirs) {
          for (int i = 0; i < 4; ++i) {
            int t = s + dirs[i];
            while (b[t] == kEmpty) {
              AddMove(pseudo, &np, MakeMove(s, t));
              t += dirs[i];
            }
            if (enemy(b[t])) AddMove(pseudo, &np, MakeMove(s, t));
          }
        };
        if (type == kBishop || type == kQueen) slide(kDiagonals);
        if (type == kRook || type == kQueen) slide(kStraights);
        break;
      }
    }
  }
  for (int i = 0; i < np; ++i) {
    EnginePosition after;
    MakeGameMove(const_cast<EnginePosition*>(&pos), pseudo[i], &after);
    int kk = FindKing(after, white);
    if (kk && GameSquareAttacked(after, kk, !white)) continue;
    list[n++] = pseudo[i];
  }
  list[n] = 0;
  return n;
}

void MakeGameMove(EnginePosition* pos, EngineMove move, EnginePosition* dest) {
  if (dest) {
    std::memcpy(dest, pos, sizeof *pos);
    pos = dest;
  }
  u8* b = Sq(*pos);
  bool white = pos->wtm != 0;
  pos->ep = 0;
  pos->wtm = white ? 0 : 1;
  if (move == kNullMove) {
    ++pos->fifty;
    return;
  }
  int from = MoveFrom(move), to = MoveTo(move);
  if (from == 5 || from == 1 || to == 1) pos->castle[0] = 0;
  if (from == 5 || from == 8 || to == 8) pos->castle[1] = 0;
  if (from == 75 || from == 71 || to == 71) pos->castle[2] = 0;
  if (from == 75 || from == 78 || to == 78) pos->castle[3] = 0;
  u8 piece = b[from];
  bool capture = b[to] != kEmpty;
  bool pawn = TypeOf(piece) == kPawn;
  pos->fifty = (capture || pawn) ? 0 : u8(pos->fifty < 255 ? pos->fifty + 1 : 255);
  b[to] = piece;
  b[from] = kEmpty;
  if (pawn && (to - from == 20 || from - to == 20)) {
    u8 enemyPawn = white ? kBP : kWP;
    if (b[to - 1] == enemyPawn || b[to + 1] == enemyPawn) pos->ep = u8((from + to) / 2);
  }
  if (MovePromo(move)) b[to] = u8(piece + 2 * MovePromo(move));
  if (move & kEpFlag) b[white ? to - 10 : to + 10] = kEmpty;
  if (move & kCastleFlag) {
    if (to == 3 || to == 73) {
      b[to + 1] = b[to - 2];
      b[to - 2] = kEmpty;
    } else {
      b[to - 1] = b[to + 1];
      b[to + 1] = kEmpty;
    }
  }
}

char* MoveText(EngineMove move, char* out) {
  if (move == kNullMove) {
    std::strcpy(out, "null");
    return out;
  }
  int from = MoveFrom(move), to = MoveTo(move);
  std::snprintf(out, 8, "%s%s", SquareName(from), SquareName(to));
  if (MovePromo(move)) {
    size_t n = std::strlen(out);
    out[n] = " nbrq  "[MovePromo(move)];
    out[n + 1] = 0;
  }
  return out;
}

char* ShortMoveText(const EnginePosition& pos, EngineMove move, char* out) {
  if (move == kNullMove) {
    std::strcpy(out, "...");
    return out;
  }
  const u8* b = Sq(pos);
  int from = MoveFrom(move), to = MoveTo(move);
  int type = TypeOf(b[from]);
  char* p = out;
  if (move & kCastleFlag) {
    std::strcpy(p, (to == 3 || to == 73) ? "0-0-0" : "0-0");
    p += std::strlen(p);
  } else {
    bool capture = b[to] != kEmpty || (move & kEpFlag);
    if (type == kPawn) {
      if (capture) {
        *p++ = char('a' + SqFile(from));
        *p++ = 'x';
      }
    } else {
      *p++ = kPieceLetters[type];
      EngineMove list[kGameMoveList];
      int n = GenGameMoves(pos, list);
      bool others = false, sameFile = false, sameRank = false;
      for (int i = 0; i < n; ++i) {
        int f = MoveFrom(list[i]);
        if (f == from || MoveTo(list[i]) != to || b[f] != b[from]) continue;
        others = true;
        if (SqFile(f) == SqFile(from)) sameFile = true;
        if (SqRank(f) == SqRank(from)) sameRank = true;
      }
      if (others) {
        if (!sameFile || sameRank) *p++ = char('a' + SqFile(from));
        if (sameFile) *p++ = char('1' + SqRank(from));
      }
      if (capture) *p++ = 'x';
    }
    const char* t = SquareName(to);
    *p++ = t[0];
    *p++ = t[1];
    if (MovePromo(move)) *p++ = kPieceLetters[MovePromo(move)];
  }
  EnginePosition after;
  MakeGameMove(const_cast<EnginePosition*>(&pos), move, &after);
  if (GameCheckState(after)) *p++ = '+';
  *p = 0;
  return out;
}

EngineMove FindGameMove(const EnginePosition& pos, const char* word) {
  EngineMove list[kGameMoveList];
  int n = GenGameMoves(pos, list);
  char text[8];
  for (int i = 0; i < n; ++i)
    if (std::strcmp(MoveText(list[i], text), word) == 0) return list[i];
  return 0;
}

const char* GameEndTest(const EngineGame& game, int* result) {
  static char text[40];
  *result = 0;
  int count = 0;
  EnginePosition pos = game.start;
  std::vector<EnginePosition> seen;
  seen.reserve(size_t(game.cur) + 1);
  seen.push_back(pos);
  for (int i = 0; i < game.cur; ++i) {
    EngineMove m = game.moves[i];
    const u8* b = Sq(pos);
    bool reset = m != kNullMove && (TypeOf(b[MoveFrom(m)]) == kPawn || b[MoveTo(m)] != kEmpty);
    count = reset ? 0 : count + 1;
    MakeGameMove(&pos, m);
    seen.push_back(pos);
  }
  EngineMove list[kGameMoveList];
  if (GenGameMoves(pos, list) == 0) {
    if (GameCheckState(pos)) {
      *result = pos.wtm ? -1 : 1;
      return "Checkmate";
    }
    return "Stalemate";
  }
  if (count >= 100) {
    std::snprintf(text, sizeof text, "Draw %d moves", count / 2);
    return text;
  }
  int occurrences = 1;
  for (int k = game.cur - count; k <= game.cur - 1; ++k) {
    if (k < 0) continue;
    const EnginePosition& p = seen[size_t(k)];
    if (p.wtm == pos.wtm && p.ep == pos.ep && std::memcmp(p.castle, pos.castle, 4) == 0 &&
        std::memcmp(Sq(p), Sq(pos), 80) == 0)
      ++occurrences;
  }
  if (occurrences >= 3) {
    std::snprintf(text, sizeof text, "Draw %d x position", occurrences);
    return text;
  }
  int wood = 0;
  const u8* b = Sq(pos);
  for (int s = 1; s <= 78; ++s) {
    if (!OnBoard(s) || b[s] == kEmpty) continue;
    int t = TypeOf(b[s]);
    if (t == kKing) continue;
    wood += (t == kKnight || t == kBishop) ? 1 : 10;
  }
  if (wood <= 1) return "Draw lack of wood";
  if (game.last >= kGameMoves) return "Movelist full";
  return nullptr;
}

void RebuildPosition(EngineGame* game) {
  game->pos = game->start;
  for (int i = 0; i < game->cur; ++i) MakeGameMove(&game->pos, game->moves[i]);
  game->endText = GameEndTest(*game, &game->result);
}

void PlayGameMove(EngineGame* game, EngineMove move, EngineMove expected) {
  if (game->cur >= kGameMoves) return;  // callers refuse moves past the list first
  game->moves[game->cur] = move;
  game->cur += 1;
  game->last = game->cur;
  RebuildPosition(game);
  game->expected = expected;
}

void TakeBack(EngineGame* game, int count) {
  int target = game->cur - count;
  if (target < 0) target = 0;
  if (target > game->last) target = game->last;
  if (target == game->cur) return;
  game->cur = target;
  RebuildPosition(game);
}

void ResetGame(EngineGame* game) {
  std::memset(game, 0, sizeof *game);
  std::strcpy(game->name, "UNTITLED");
  InitialPosition(&game->start);
  RebuildPosition(game);
}

}  // namespace corvane
