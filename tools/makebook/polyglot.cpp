// Polyglot book reading. The 781 random numbers of the published key table
// are the first outputs of Bob Jenkins' ISAAC-64 generator (public domain)
// from an all-zero seed, taken from each 256-word block last word first;
// the table is generated here rather than typed in, and the published
// start-position key checks it.
#include "polyglot.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "movegen.h"

namespace {

class Isaac64 {
 public:
  Isaac64() {
    uint64_t s[8];
    for (uint64_t& v : s) v = 0x9e3779b97f4a7c13ULL;
    for (int i = 0; i < 4; ++i) Mix(s);
    // Seeding with an all-zero result array: two passes.
    for (int pass = 0; pass < 2; ++pass) {
      for (int i = 0; i < 256; i += 8) {
        for (int k = 0; k < 8; ++k) s[k] += pass == 0 ? results_[i + k] : memory_[i + k];
        Mix(s);
        for (int k = 0; k < 8; ++k) memory_[i + k] = s[k];
      }
    }
    Generate();
  }
  uint64_t Next() {
    if (count_ == 0) Generate();
    return results_[--count_];
  }

 private:
  static void Mix(uint64_t* s) {
    uint64_t &a = s[0], &b = s[1], &c = s[2], &d = s[3], &e = s[4], &f = s[5], &g = s[6], &h = s[7];
    a -= e;
    f ^= h >> 9;
    h += a;
    b -= f;
    g ^= a << 9;
    a += b;
    c -= g;
    h ^= b >> 23;
    b += c;
    d -= h;
    a ^= c << 15;
    c += d;
    e -= a;
    b ^= d >> 14;
    d += e;
    f -= b;
    c ^= e << 20;
    e += f;
    g -= c;
    d ^= f >> 17;
    f += g;
    h -= d;
    e ^= g << 14;
    g += h;
  }
  void Generate() {
    c_ += 1;
    b_ += c_;
    for (int i = 0; i < 256; ++i) {
      uint64_t x = memory_[i];
      switch (i & 3) {
        case 0:
          a_ = ~(a_ ^ (a_ << 21));
          break;
        case 1:
          a_ ^= a_ >> 5;
          break;
        case 2:
          a_ ^= a_ << 12;
          break;
        case 3:
          a_ ^= a_ >> 33;
          break;
      }
      a_ += memory_[(i + 128) & 255];
      uint64_t y = memory_[(x >> 3) & 255] + a_ + b_;
      memory_[i] = y;
      b_ = memory_[(y >> 11) & 255] + x;
      results_[i] = b_;
    }
    count_ = 256;
  }
  uint64_t memory_[256] = {};
  uint64_t results_[256] = {};
  uint64_t a_ = 0, b_ = 0, c_ = 0;
  int count_ = 0;
};

struct RandomTable {
  uint64_t v[781];
  RandomTable() {
    Isaac64 generator;
    for (uint64_t& x : v) x = generator.Next();
  }
};

const RandomTable& Randoms() {
  static const RandomTable table;
  return table;
}

constexpr int kPieceKind[6] = {5, 4, 3, 2, 1, 0};  // by our type king..pawn: polyglot kind / 2

}  // namespace

uint64_t PolyglotKey(const Board* board, int side) {
  const uint64_t* r = Randoms().v;
  uint64_t key = 0;
  for (int row = 0; row < 8; ++row) {
    for (int file = 0; file < 8; ++file) {
      uint8_t piece = (*board)[MakeSquare(row, file)];
      if (piece == 0) continue;
      int kind = 2 * kPieceKind[piece & TYPE_MASK] + ((piece & COLOUR_MASK) == WHITE ? 1 : 0);
      key ^= r[64 * kind + 8 * (7 - row) + file];
    }
  }
  uint8_t castling = (*board)[CASTLING_RIGHTS];
  for (int bit = 0; bit < 4; ++bit)
    if (castling & (1 << bit)) key ^= r[768 + bit];
  uint8_t ep = (*board)[EN_PASSANT_SQUARE];
  if (ep != NO_SQUARE && OnBoard(ep)) {
    // Only when a pawn of the side to move stands beside the pawn that has
    // just advanced two squares.
    uint8_t pawn = static_cast<uint8_t>(side | PAWN);
    bool capturer =
        (SquareFile(ep) > 0 && (*board)[ep - 1] == pawn) || (SquareFile(ep) < 7 && (*board)[ep + 1] == pawn);
    if (capturer) key ^= r[772 + SquareFile(ep)];
  }
  if (side == WHITE) key ^= r[780];
  return key;
}

bool PolyglotBook::Load(const std::string& path) {
  entries_.clear();
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  uint8_t e[16];
  while (std::fread(e, 1, 16, f) == 16) {
    uint64_t key = 0;
    for (int i = 0; i < 8; ++i) key = (key << 8) | e[i];
    entries_.push_back(
        {key, static_cast<uint16_t>((e[8] << 8) | e[9]), static_cast<uint16_t>((e[10] << 8) | e[11])});
  }
  std::fclose(f);
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.key < b.key; });
  return !entries_.empty();
}

std::vector<PolyglotMove> PolyglotBook::Moves(const Board* board, int side) const {
  std::vector<PolyglotMove> out;
  uint64_t key = PolyglotKey(board, side);
  auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                             [](const Entry& e, uint64_t k) { return e.key < k; });
  MoveList list;
  int count = GenerateLegalMoves(board, list.moves, nullptr, side);
  for (; it != entries_.end() && it->key == key; ++it) {
    int toFile = it->move & 7, toRow = (it->move >> 3) & 7;
    int fromFile = (it->move >> 6) & 7, fromRow = (it->move >> 9) & 7;
    int promotion = (it->move >> 12) & 7;
    int from = MakeSquare(7 - fromRow, fromFile), to = MakeSquare(7 - toRow, toFile);
    if (((*board)[from] & TYPE_MASK) == KING && fromFile == 4 && (toFile == 7 || toFile == 0) &&
        fromRow == toRow)
      to = MakeSquare(7 - toRow, toFile == 7 ? 6 : 2);
    // Polyglot 1 knight .. 4 queen; ours 1 queen .. 4 knight.
    int ours = promotion == 0 ? 0 : 5 - promotion;
    for (int i = 0; i < count; ++i) {
      const MoveRecord& m = list.moves[i];
      if (m.from == from && m.to == to && (m.flags & MOVE_PROMOTION_TYPE) == ours) {
        out.push_back({m, it->weight});
        break;
      }
    }
  }
  return out;
}
