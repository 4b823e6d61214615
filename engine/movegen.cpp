// Corvane engine core: legal move generation with pin masks and check
// evasion (GenLegal, GenMax1) and the quiescence generator (GenQuis).
//
// Every generator first builds one shared attack mask: per square the empty
// bit 0x20, 0x10 when the side not to move attacks it, and for a pinned own
// piece the directions it may not move in (0x01 +-11, 0x02 +-9, 0x04 +-10,
// 0x08 +-1).
#include <cstring>

#include "board.h"

namespace corvane {

EngineMove g_gen[kGenMax + 8];

namespace {

u8 g_maskBuf[120];
u8 g_targetBuf[120];  // squares between king and checker (single check)
u8 g_qmaskBuf[120];   // GenQuis: squares that give a direct check

constexpr u8 kForbid[8] = {0x01, 0x01, 0x02, 0x02, 0x04, 0x04, 0x08, 0x08};
constexpr u8 kPinCode[8] = {0x0E, 0x0E, 0x0D, 0x0D, 0x0B, 0x0B, 0x07, 0x07};

// Colour traits: W = true for white to move.
template <bool W>
struct Side {
  static constexpr u8 own = W ? kWhiteBit : kBlackBit;
  static constexpr u8 enemy = W ? kBlackBit : kWhiteBit;
  static constexpr int up = W ? 10 : -10;
  static constexpr int capL = W ? 11 : -11;  // first capture direction
  static constexpr int capR = W ? 9 : -9;
  static constexpr u8 pawn = W ? kWP : kBP, knight = W ? kWN : kBN, bishop = W ? kWB : kBB;
  static constexpr u8 rook = W ? kWR : kBR, queen = W ? kWQ : kBQ, king = W ? kWK : kBK;
  static constexpr u8 epawn = W ? kBP : kWP, eknight = W ? kBN : kWN, ebishop = W ? kBB : kWB;
  static constexpr u8 erook = W ? kBR : kWR, equeen = W ? kBQ : kWQ, eking = W ? kBK : kWK;
  static constexpr int P = W ? 0 : 1, N = W ? 2 : 3, B = W ? 4 : 5, R = W ? 6 : 7, Q = W ? 8 : 9,
                       K = W ? 10 : 11;
  static constexpr int EP = W ? 1 : 0, EN = W ? 3 : 2, EB = W ? 5 : 4, ER = W ? 7 : 6, EQ = W ? 9 : 8,
                       EK = W ? 11 : 10;
  static bool OnSeventh(int s) { return W ? s > 60 : s < 19; }
  static bool OnSecond(int s) { return W ? s <= 18 : s >= 61; }
};

template <bool W>
void BuildMask(const SearchBoard& bd) {
  using S = Side<W>;
  const u8* b = bd.sq();
  u8* m = g_maskBuf + 20;
  for (int s = 0; s < 80; ++s) m[s] = b[s] & kEmpty;
  int k = bd.list[S::K][0];
  m[k] = kEmpty;  // sliders checking along a line also mark the squares behind the king
  for (const u8* l = bd.list[S::EP]; *l; ++l) {
    m[*l - S::capL] |= 0x10;
    m[*l - S::capR] |= 0x10;
  }
  for (const u8* l = bd.list[S::EN]; *l; ++l)
    for (int i = 8; i < 16; ++i) m[*l + kDir[i]] |= 0x10;
  {
    int ek = bd.list[S::EK][0];
    for (int i = 0; i < 8; ++i) m[ek + kDir[i]] |= 0x10;
  }
  auto ray = [&](int s, int i) {
    int d = kDir[i];
    int t = s + d;
    while (m[t] & kEmpty) {
      m[t] |= 0x10;
      t += d;
    }
    m[t] |= 0x10;
    if (b[t] & S::own) {
      int u = t + d;
      while (b[u] == kEmpty) u += d;
      if (b[u] == S::king) m[t] |= kPinCode[i];
    }
  };
  for (const u8* l = bd.list[S::EB]; *l; ++l)
    for (int i = 0; i < 4; ++i) ray(*l, i);
  for (const u8* l = bd.list[S::ER]; *l; ++l)
    for (int i = 4; i < 8; ++i) ray(*l, i);
  for (const u8* l = bd.list[S::EQ]; *l; ++l)
    for (int i = 0; i < 8; ++i) ray(*l, i);
  m[k] &= u8(~kEmpty);
}

// En-passant captures that leave the own king safe.
template <bool W>
EngineMove* GenEnPassant(SearchBoard& bd, EngineMove* out) {
  using S = Side<W>;
  if (!bd.ep) return out;
  u8* b = bd.sq();
  int e = bd.ep;
  int victim = e - S::up;
  const int froms[2] = {e - S::capL, e - S::capR};
  for (int from : froms) {
    if (b[from] != S::pawn) continue;
    b[from] = kEmpty;
    b[e] = S::pawn;
    b[victim] = kEmpty;
    bool safe = SquareCheck(bd, bd.list[S::K][0], W) == 0;
    b[from] = S::pawn;
    b[e] = kEmpty;
    b[victim] = S::epawn;
    if (safe) *out++ = MakeMove(from, e) | kEpFlag;
  }
  return out;
}

template <bool W>
inline EngineMove* AddPawnMove(EngineMove* out, int from, int to) {
  if (Side<W>::OnSeventh(from)) {
    EngineMove m = MakeMove(from, to);
    out[0] = m | 0x400;
    out[1] = m | 0x300;
    out[2] = m | 0x200;
    out[3] = m | 0x100;
    return out + 4;
  }
  *out++ = MakeMove(from, to);
  return out;
}

// Slider moves from s along directions [i0, i1) subject to its pin code; only to
// target squares when tgt is set.
template <bool W, bool Evasion>
inline EngineMove* Slide(const u8* b, const u8* m, const u8* tgt, int s, int i0, int i1, EngineMove* out) {
  u8 pin = m[s] & 0x0F;
  for (int i = i0; i < i1; ++i) {
    if (pin & kForbid[i]) continue;
    int d = kDir[i];
    int t = s + d;
    while (b[t] == kEmpty) {
      if (!Evasion || tgt[t]) *out++ = MakeMove(s, t);
      t += d;
    }
    if ((b[t] & Side<W>::enemy) && (!Evasion || tgt[t])) *out++ = MakeMove(s, t);
  }
  return out;
}

template <bool W>
EngineMove* GenKing(const SearchBoard& bd, EngineMove* out) {
  const u8* b = bd.sq();
  const u8* m = g_maskBuf + 20;
  int k = bd.list[Side<W>::K][0];
  for (int i = 0; i < 8; ++i) {
    int t = k + kDir[i];
    if ((b[t] & (kEmpty | Side<W>::enemy)) && !(m[t] & 0x10)) *out++ = MakeMove(k, t);
  }
  return out;
}

// Pawn and piece moves.  Evasion: only onto marked target squares.
template <bool W, bool Evasion>
EngineMove* GenPieces(const SearchBoard& bd, EngineMove* out, bool pawns, bool pieces) {
  using S = Side<W>;
  const u8* b = bd.sq();
  const u8* m = g_maskBuf + 20;
  const u8* tgt = g_targetBuf + 20;
  if (pawns) {
    for (const u8* l = bd.list[S::P]; *l; ++l) {
      int s = *l;
      u8 pin = m[s] & 0x0F;
      if (Evasion && pin) continue;
      int t = s + S::capL;
      if ((b[t] & S::enemy) && !(pin & 0x01) && (!Evasion || tgt[t])) out = AddPawnMove<W>(out, s, t);
      t = s + S::capR;
      if ((b[t] & S::enemy) && !(pin & 0x02) && (!Evasion || tgt[t])) out = AddPawnMove<W>(out, s, t);
      t = s + S::up;
      if (b[t] == kEmpty && !(pin & 0x04)) {
        if (!Evasion || tgt[t]) out = AddPawnMove<W>(out, s, t);
        int t2 = t + S::up;
        if (S::OnSecond(s) && b[t2] == kEmpty && (!Evasion || tgt[t2])) *out++ = MakeMove(s, t2);
      }
    }
  }
  if (!pieces) return out;
  for (const u8* l = bd.list[S::N]; *l; ++l) {
    int s = *l;
    if (m[s] & 0x0F) continue;
    for (int i = 8; i < 16; ++i) {
      int t = s + kDir[i];
      if ((b[t] & (kEmpty | S::enemy)) && (!Evasion || tgt[t])) *out++ = MakeMove(s, t);
    }
  }
  for (const u8* l = bd.list[S::B]; *l; ++l)
    if (!Evasion || !(m[*l] & 0x0F)) out = Slide<W, Evasion>(b, m, tgt, *l, 0, 4, out);
  for (const u8* l = bd.list[S::R]; *l; ++l)
    if (!Evasion || !(m[*l] & 0x0F)) out = Slide<W, Evasion>(b, m, tgt, *l, 4, 8, out);
  for (const u8* l = bd.list[S::Q]; *l; ++l)
    if (!Evasion || !(m[*l] & 0x0F)) out = Slide<W, Evasion>(b, m, tgt, *l, 0, 8, out);
  return out;
}

// Marks the squares from the king toward the single checker, checker included.
template <bool W>
void MarkTargets(const SearchBoard& bd) {
  const u8* b = bd.sq();
  u8* tgt = g_targetBuf + 20;
  std::memset(g_targetBuf, 0, sizeof g_targetBuf);
  int k = bd.list[Side<W>::K][0];
  int off = bd.chk;
  int t = k + off;
  tgt[t] = 1;
  while (b[t] == kEmpty) {
    t += off;
    tgt[t] = 1;
  }
}

template <bool W>
int GenLegalT(SearchBoard& bd) {
  using S = Side<W>;
  BuildMask<W>(bd);
  EngineMove* out = GenEnPassant<W>(bd, g_gen);
  const u8* b = bd.sq();
  const u8* m = g_maskBuf + 20;
  if (bd.chk == 0) {
    int k = bd.list[S::K][0];
    if (bd.flags & (W ? 1 : 4)) {
      if (m[k - 1] == kEmpty && m[k - 2] == kEmpty && b[k - 3] == kEmpty)
        *out++ = MakeMove(k, k - 2) | kCastleFlag;
    }
    if (bd.flags & (W ? 2 : 8)) {
      if (m[k + 1] == kEmpty && m[k + 2] == kEmpty) *out++ = MakeMove(k, k + 2) | kCastleFlag;
    }
    out = GenPieces<W, false>(bd, out, true, true);
  } else if (bd.chk != 2) {
    MarkTargets<W>(bd);
    out = GenPieces<W, true>(bd, out, true, true);
  }
  out = GenKing<W>(bd, out);
  *out = 0;
  return int(out - g_gen);
}

template <bool W>
int GenMax1T(SearchBoard& bd) {
  if (!bd.chk) FatalError("GenMax1: not in check");
  BuildMask<W>(bd);
  EngineMove* out = GenEnPassant<W>(bd, g_gen);
  out = GenKing<W>(bd, out);
  if (out - g_gen < 2 && bd.chk != 2) {
    MarkTargets<W>(bd);
    out = GenPieces<W, true>(bd, out, true, false);
    if (out - g_gen < 2) out = GenPieces<W, true>(bd, out, false, true);
  }
  *out = 0;
  return int(out - g_gen);
}

template <bool W>
int GenQuisT(SearchBoard& bd) {
  using S = Side<W>;
  const u8* b = bd.sq();
  u8* q = g_qmaskBuf + 20;
  std::memset(g_qmaskBuf, 0, sizeof g_qmaskBuf);
  int ek = bd.list[S::EK][0];
  for (int i = 8; i < 16; ++i) q[ek + kDir[i]] |= 0x02;
  for (int i = 0; i < 8; ++i) {
    int d = kDir[i];
    u8 bit = i < 4 ? 0x04 : 0x08;
    int t = ek + d;
    while (b[t] == kEmpty) {
      q[t] |= bit;
      t += d;
    }
  }
  EngineMove* out = g_gen;
  if (bd.ep) {
    int e = bd.ep;
    if (b[e - S::capL] == S::pawn) *out++ = MakeMove(e - S::capL, e) | kEpFlag;
    if (b[e - S::capR] == S::pawn) *out++ = MakeMove(e - S::capR, e) | kEpFlag;
  }
  // Pawn pushes that give check from two squares below the king.
  {
    int a = ek - 2 * S::up - (S::capL - S::up), c = ek - S::capL;  // king - 21 -> king - 11 (white)
    if (b[a] == S::pawn && b[c] == kEmpty && !S::OnSeventh(a)) *out++ = MakeMove(a, c);
    a = ek - 2 * S::up - (S::capR - S::up), c = ek - S::capR;  // king - 19 -> king - 9 (white)
    if (b[a] == S::pawn && b[c] == kEmpty && !S::OnSeventh(a)) *out++ = MakeMove(a, c);
  }
  for (const u8* l = bd.list[S::P]; *l; ++l) {
    int s = *l;
    bool seventh = S::OnSeventh(s);
    if (seventh && b[s + S::up] == kEmpty) *out++ = MakeMove(s, s + S::up) | 0x400;
    if (b[s + S::capL] & S::enemy) *out++ = MakeMove(s, s + S::capL) | (seventh ? 0x400 : 0);
    if (b[s + S::capR] & S::enemy) *out++ = MakeMove(s, s + S::capR) | (seventh ? 0x400 : 0);
  }
  for (const u8* l = bd.list[S::N]; *l; ++l) {
    int s = *l;
    for (int i = 8; i < 16; ++i) {
      int t = s + kDir[i];
      if ((b[t] & S::enemy) || (b[t] == kEmpty && (q[t] & 0x02))) *out++ = MakeMove(s, t);
    }
  }
  auto slide = [&](int s, int i0, int i1, u8 bits) {
    for (int i = i0; i < i1; ++i) {
      int d = kDir[i];
      int t = s + d;
      while (b[t] == kEmpty) {
        if (q[t] & bits) *out++ = MakeMove(s, t);
        t += d;
      }
      if (b[t] & S::enemy) *out++ = MakeMove(s, t);
    }
  };
  for (const u8* l = bd.list[S::B]; *l; ++l) slide(*l, 0, 4, 0x04);
  for (const u8* l = bd.list[S::R]; *l; ++l) slide(*l, 4, 8, 0x08);
  for (const u8* l = bd.list[S::Q]; *l; ++l) slide(*l, 0, 8, 0x0C);
  {
    int k = bd.list[S::K][0];
    for (int i = 0; i < 8; ++i) {
      int t = k + kDir[i];
      if (b[t] & S::enemy) *out++ = MakeMove(k, t);
    }
  }
  *out = 0;
  return int(out - g_gen);
}

}  // namespace

int GenLegal(SearchBoard& bd) { return bd.WhiteToMove() ? GenLegalT<true>(bd) : GenLegalT<false>(bd); }
int GenMax1(SearchBoard& bd) { return bd.WhiteToMove() ? GenMax1T<true>(bd) : GenMax1T<false>(bd); }
int GenQuis(SearchBoard& bd) { return bd.WhiteToMove() ? GenQuisT<true>(bd) : GenQuisT<false>(bd); }

}  // namespace corvane
