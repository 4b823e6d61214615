// Corvane engine core: endgame knowledge.  In the endgame the evaluation
// scales or bounds the score by what is known about the material left:
// pawnless advantages, bishop and knight against king, opposite bishops,
// the king-and-pawn rule, the wrong bishop, rook endings and queen against
// a pawn on its seventh rank.
#include <cstdlib>

#include "eval.h"

namespace corvane {

namespace {

inline int Count(i32 sig, int type) { return (sig >> (4 * type)) & 15; }
inline int Mirror(int sq) { return 10 * (7 - SqRank(sq)) + SqFile(sq) + 1; }

inline int KDist(int a, int b) {
  int df = std::abs(SqFile(a) - SqFile(b)), dr = std::abs(SqRank(a) - SqRank(b));
  return df > dr ? df : dr;
}
inline int Manhattan(int a, int b) {
  return std::abs(SqFile(a) - SqFile(b)) + std::abs(SqRank(a) - SqRank(b));
}
inline bool LightSquare(int sq) { return ((SqFile(sq) + SqRank(sq)) & 1) != 0; }

// Pawn(s) and king against a bare king, from the pawn side's view (files
// mirrored to a-d, ranks as for White).  True when won.
bool KpkWon(int pawn, int wk, int bk, bool pawnSideToMove) {
  int file = SqFile(pawn), rank = SqRank(pawn);
  if (file > 3) {
    file = 7 - file;
    pawn = SqNum(file, rank);
    wk = SqNum(7 - SqFile(wk), SqRank(wk));
    bk = SqNum(7 - SqFile(bk), SqRank(bk));
  }
  static const int drawnBtm[6][3] = {
      {SqNum(1, 5), SqNum(2, 5), SqNum(0, 6)}, {SqNum(1, 5), SqNum(2, 6), SqNum(0, 7)},
      {SqNum(1, 5), SqNum(2, 7), SqNum(0, 7)}, {SqNum(0, 6), SqNum(0, 7), SqNum(3, 5)},
      {SqNum(0, 6), SqNum(0, 7), SqNum(3, 6)}, {SqNum(0, 6), SqNum(0, 7), SqNum(3, 7)}};
  static const int drawnWtm[3][3] = {{SqNum(1, 5), SqNum(2, 5), SqNum(0, 7)},
                                     {SqNum(0, 6), SqNum(0, 7), SqNum(2, 6)},
                                     {SqNum(0, 6), SqNum(0, 7), SqNum(2, 7)}};
  if (!pawnSideToMove) {
    for (auto& d : drawnBtm)
      if (pawn == d[0] && wk == d[1] && bk == d[2]) return false;
  } else {
    for (auto& d : drawnWtm)
      if (pawn == d[0] && wk == d[1] && bk == d[2]) return false;
  }
  int promo = SqNum(file, 7);
  // Rook pawn: the defending king reaching the corner area draws.
  if (file == 0 && KDist(bk, promo) <= 1) return false;
  if (file == 0 && SqFile(bk) <= 2 && SqRank(bk) > rank && KDist(bk, promo) <= KDist(wk, promo)) return false;
  // Rule of the square.
  int steps = 7 - rank - (rank == 1 ? 1 : 0);
  int bd = KDist(bk, promo) - (pawnSideToMove ? 0 : 1);
  if (bd > steps) return true;
  if (file == 0) return false;
  // The own king in front of its pawn on the sixth, or two ranks ahead, wins.
  if (KDist(wk, pawn) <= 1 && SqRank(wk) > rank && (SqRank(wk) >= 5 || SqRank(wk) >= rank + 2)) return true;
  if (KDist(wk, pawn) <= 1 && SqRank(wk) == rank + 1 && std::abs(SqFile(wk) - file) <= 1 &&
      KDist(bk, pawn) > 2)
    return true;
  return false;
}

// White's view: s the score, lo/hi the bounds.
}  // namespace

void EndgameKnowledge(const SearchBoard& bd, int& s, int& lo, int& hi) {
  const u8* b = bd.sq();
  i32 sig[2] = {bd.sig[0], bd.sig[1]};
  int vpass = bd.vpass == kNoValue ? 0 : bd.vpass;
  auto pieces = [&](int side) { return sig[side] >> 4; };
  auto pawns = [&](int side) { return sig[side] & 15; };
  // 1 and 3: a pawnless side ahead.
  if (s != 0) {
    int win = s > 0 ? 0 : 1, def = 1 - win;
    int A = std::abs(s);
    i32 w = pieces(win), d = sig[def];
    if (pawns(win) == 0) {
      int na = A;
      bool bareDef = d == 0, pawnsOnly = d != 0 && (d >> 4) == 0;
      if (w == 0 || w == 0x1 || w == 0x10)
        na = 0;
      else if (w == 0x2)
        na = bareDef ? 0 : pawnsOnly ? A / 2 : A / 4;
      else if (w == 0x11 || w == 0x20 || w == 0x100)
        na = (bareDef || pawnsOnly) ? A : A / 4;
      else if (w == 0x101 || w == 0x110)
        na = (d >> 4) < 0x100 ? A : 3 * A / 16;
      else if (w == 0x1000)
        na = (d >> 4) < 0x100 ? A : A / 2;
      else if (w == 0x1001 || w == 0x1010)
        na = (d >> 4) >= 0x1000 ? A / 2 : A;
      A = na;
    } else if ((w == 0x1 || w == 0x10) && pawns(win) == 1 && (d >> 4) != 0) {
      int vp = win == 0 ? vpass : -vpass;
      A = (vp > 0 && vp < A) ? vp / 2 : A / 2;
    }
    s = win == 0 ? A : -A;
  }
  // 2: bishop and knight against a bare king.
  for (int win = 0; win < 2; ++win) {
    if (sig[win] == 0x110 && sig[1 - win] == 0) {
      int wk = bd.list[10 + win][0], lk = bd.list[11 - win][0];
      int bsq = bd.list[4 + win][0];
      bool light = LightSquare(bsq);
      int c1 = light ? SqNum(7, 0) : SqNum(0, 0), c2 = light ? SqNum(0, 7) : SqNum(7, 7);
      int dc = Manhattan(lk, c1) < Manhattan(lk, c2) ? Manhattan(lk, c1) : Manhattan(lk, c2);
      int v = 825 - 15 * Manhattan(wk, lk) - 30 * dc;
      s = win == 0 ? v : -v;
    }
  }
  // 4: equal piece material.
  if (pieces(0) == pieces(1) && pieces(0) != 0) {
    int weaker = sig[0] <= sig[1] ? 0 : 1;
    if (pieces(weaker) == 0x100) {
      s = (3 * vpass + 5 * s) / 8;
    } else if ((pieces(0) == 0x10 || pieces(0) == 0x110) && bd.list[4][0] && bd.list[5][0] &&
               LightSquare(bd.list[4][0]) != LightSquare(bd.list[5][0])) {
      s = pieces(0) == 0x110 ? (3 * vpass + 5 * s) / 8 : (s + vpass) / 2;
    }
  }
  // 5: sides that cannot win.
  for (int side = 0; side < 2; ++side) {
    bool cannot = sig[side] == 0 || ((sig[side] == 0x10 || sig[side] == 0x100) && pawns(1 - side) == 0);
    if (cannot) {
      if (side == 0)
        hi = hi < 0 ? hi : 0;
      else
        lo = lo > 0 ? lo : 0;
    }
  }
  // 6: special endings (White's case, Black mirrored by ranks).
  for (int side = 0; side < 2; ++side) {
    int other = 1 - side;
    auto rel = [&](int sq) { return side == 0 ? sq : Mirror(sq); };
    int A = std::abs(s);
    int ks = rel(bd.list[10 + side][0]), kd = rel(bd.list[10 + other][0]);
    bool stm = (side == 0) == bd.WhiteToMove();
    if (pieces(side) == 0 && pawns(side) > 0 && sig[other] == 0) {
      int file = SqFile(bd.list[side][0]);
      bool oneFile = true;
      int lead = 0;
      for (const u8* l = bd.list[side]; *l; ++l) {
        if (SqFile(*l) != file) oneFile = false;
        int r = SqRank(rel(*l));
        if (r > SqRank(lead ? lead : 0) || !lead) lead = rel(*l);
      }
      if (oneFile && (pawns(side) == 1 || file == 0 || file == 7)) {
        if (KpkWon(lead, ks, kd, stm)) {
          int v = A / 4 + 700;
          if (side == 0)
            lo = lo > v ? lo : v;
          else
            hi = hi < -v ? hi : -v;
        } else {
          int r = SqRank(lead);
          int v = r == 0 ? 0 : 10 - r;
          if (side == 0)
            hi = hi < v ? hi : v;
          else
            lo = lo > -v ? lo : -v;
        }
      }
    }
    if (pieces(side) == 0x10 && pawns(side) > 0) {
      int file = SqFile(bd.list[side][0]);
      bool oneFile = file == 0 || file == 7;
      int lead = 0;
      for (const u8* l = bd.list[side]; *l; ++l) {
        if (SqFile(*l) != file) oneFile = false;
        if (!lead || SqRank(rel(*l)) > SqRank(lead)) lead = rel(*l);
      }
      int promo = SqNum(file, 7);
      bool wrong = oneFile && LightSquare(rel(bd.list[4 + side][0])) != LightSquare(promo);
      bool defNear = (file == 0 ? SqFile(kd) <= 1 : SqFile(kd) >= 6) && SqRank(kd) > SqRank(lead);
      if (wrong && defNear && KDist(ks, promo) >= KDist(kd, promo)) {
        int v = 16 - 2 * SqRank(lead);
        if (side == 0)
          hi = hi < v ? hi : v;
        else
          lo = lo > -v ? lo : -v;
      }
    }
    if (pieces(side) == 0x100 && pawns(side) == 1 && sig[other] == 0x1000) {
      // Rook and pawn against rook.
      int pawn = rel(bd.list[side][0]);
      int file = SqFile(pawn);
      int mf = file > 3 ? 7 - file : file;
      int promo = SqNum(file, 7);
      int rd = rel(bd.list[6 + other][0]), ra = rel(bd.list[6 + side][0]);
      bool setup = mf == 0 && SqRank(pawn) == 6 && SqRank(ra) == 7 && SqFile(ra) == file &&
                   SqFile(rd) == file && SqRank(kd) == 6 && std::abs(SqFile(kd) - file) >= 6;
      bool defended =
          KDist(kd, promo) < 7 - SqRank(pawn) && (SqRank(pawn) < 4 || std::abs(SqFile(rd) - file) > 3);
      if ((setup || defended) && (s > 0) == (side == 0)) s /= 4;
    }
    if (pieces(other) == 0x100 && pieces(side) == 0 && pawns(side) > 0 && pawns(other) == 0) {
      // Rook against pawns: a pawn escorted by its king that promotes before the rook side's king arrives.
      int krook = rel(bd.list[10 + other][0]);
      for (const u8* l = bd.list[side]; *l; ++l) {
        int p = rel(*l);
        int promo = SqNum(SqFile(p), 7);
        int steps = 7 - SqRank(p);
        if (KDist(ks, p) <= 1 && steps <= KDist(krook, promo) - (stm ? 0 : 1)) {
          if ((s < 0) == (side == 0)) s /= 8;
          break;
        }
      }
    }
    if (pieces(other) == 0x1000 && pieces(side) == 0 && pawns(side) == 1 && pawns(other) == 0) {
      int p = rel(bd.list[side][0]);
      int file = SqFile(p);
      int kq = rel(bd.list[10 + other][0]);
      if (SqRank(p) == 6 && (file == 0 || file == 2 || file == 5 || file == 7) && KDist(ks, p) <= 2 &&
          KDist(kq, p) > 3) {
        int v = 3 * std::abs(s) / 32;
        if (side == 0)
          lo = lo > -v ? lo : -v;
        else
          hi = hi < v ? hi : v;
      }
    }
  }
  (void)b;
  if (s < lo) s = lo;
  if (s > hi) s = hi;
}

}  // namespace corvane
