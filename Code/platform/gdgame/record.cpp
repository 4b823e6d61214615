// The binary record of one game. Header part:
//   u8 0xA7, u8 status, u8 result, u8 month, u8 day, u16 year, u16 elo[2],
//   u16 minutes[2], u16 round, u16 plies, then 11 texts (u8 length, bytes).
// Body: u8 set-up flag (1: 32 bytes of squares as nibbles, u8 side, u8 en
// passant, u8 castling, u16 ply), then tokens: 1 move (u16 from | to << 6 |
// promotion << 12), 2 move with comments (u16 move, u16 long length, u8 line
// count, lines, u8 short length, short text), 3 opens an alternative to the
// move before, 4 closes it, 0 ends the game. Slot 0 comments come as
// token 5 before the first move (u16 long length, u8 count, lines, u8 short
// length, text). All numbers little-endian.
#include <array>
#include <cstring>

#include "game.h"

namespace gdg {
namespace {

constexpr uint8_t kMagic = 0xA7;
constexpr int kFixedHeader = 19;
constexpr size_t kMaxDepth = 2000;

struct Writer {
  std::vector<uint8_t>* out;
  void u8(uint32_t v) { out->push_back(static_cast<uint8_t>(v)); }
  void u16(uint32_t v) { u8(v & 0xFF), u8((v >> 8) & 0xFF); }
  void text(const std::string& s) {
    size_t n = s.size() > 255 ? 255 : s.size();
    u8(static_cast<uint32_t>(n));
    out->insert(out->end(), s.begin(), s.begin() + n);
  }
};

struct Reader {
  const uint8_t* p;
  const uint8_t* end;
  bool ok = true;
  uint32_t u8() {
    if (p >= end) return ok = false, 0;
    return *p++;
  }
  uint32_t u16() {
    uint32_t lo = u8();
    return lo | (u8() << 8);
  }
  bool bytes(std::string* s, size_t n) {
    if (static_cast<size_t>(end - p) < n) return ok = false;
    s->assign(reinterpret_cast<const char*>(p), n);
    p += n;
    return true;
  }
};

uint16_t PackMove(const Node& n) {
  int promo = n.promotion ? (n.promotion & 7) : 0;  // 1 knight .. 4 queen
  return static_cast<uint16_t>(n.from | (n.to << 6) | (promo << 12));
}

bool HasComments(const Node& n) { return !n.lcomment.empty() || !n.scomment.empty(); }

void WriteComments(Writer& w, const Node& n) {
  size_t len = n.lcomment.size() > 65535 ? 0 : n.lcomment.size();
  w.u16(static_cast<uint32_t>(len));
  w.u8(len ? static_cast<uint32_t>(n.lcount > 255 ? 255 : n.lcount) : 0);
  w.out->insert(w.out->end(), n.lcomment.begin(), n.lcomment.begin() + len);
  w.text(n.scomment);
}

bool ReadComments(Reader& r, Node* n) {
  uint32_t len = r.u16();
  n->lcount = static_cast<int32_t>(r.u8());
  if (!r.bytes(&n->lcomment, len)) return false;
  // Every line ends with its NUL, and the count says how many there are.
  int32_t nuls = 0;
  for (char c : n->lcomment) nuls += c == 0;
  if (nuls != n->lcount || (len && n->lcomment.back() != 0)) return r.ok = false;
  if (!r.bytes(&n->scomment, r.u8())) return false;
  return r.ok;
}

// Writes the line that starts with `move`, each move's alternatives after it.
void WriteLine(Writer& w, const GdgGame& g, GdgMove move) {
  for (; move; move = g.nodes[move].next) {
    const Node& n = g.nodes[move];
    w.u8(HasComments(n) ? 2 : 1);
    w.u16(PackMove(n));
    if (HasComments(n)) WriteComments(w, n);
    for (GdgMove a = n.alt; a; a = g.nodes[a].alt) {
      w.u8(3);
      // The alternative's own first move; its own alt chain is this loop.
      const Node& an = g.nodes[a];
      w.u8(HasComments(an) ? 2 : 1);
      w.u16(PackMove(an));
      if (HasComments(an)) WriteComments(w, an);
      WriteLine(w, g, an.next);
      w.u8(4);
    }
  }
}

GdgMove NewNode(GdgGame* g) {
  g->nodes.emplace_back();
  return static_cast<GdgMove>(g->nodes.size() - 1);
}

}  // namespace

void PackGame(const GdgGame& g, std::vector<uint8_t>* out, uint32_t* headerLength) {
  out->clear();
  Writer w{out};
  const Header& h = g.header;
  w.u8(kMagic);
  w.u8(h.status);
  w.u8(static_cast<uint32_t>(h.result));
  w.u8(static_cast<uint32_t>(h.date.month));
  w.u8(static_cast<uint32_t>(h.date.day));
  w.u16(static_cast<uint32_t>(h.date.year));
  for (int s = 0; s < 2; ++s) w.u16(static_cast<uint32_t>(h.elo[s]));
  for (int s = 0; s < 2; ++s) w.u16(static_cast<uint32_t>(h.minutes[s]));
  w.u16(static_cast<uint32_t>(h.round));
  w.u16(static_cast<uint32_t>(h.plies));
  for (const auto& t : h.text) w.text(t);
  *headerLength = static_cast<uint32_t>(out->size());
  w.u8(g.setUp ? 1 : 0);
  if (g.setUp) {
    for (int sq = 0; sq < 64; sq += 2) {
      uint8_t a = g.start[Cell(sq & 7, sq >> 3)], b = g.start[Cell((sq + 1) & 7, (sq + 1) >> 3)];
      // Codes 8..13 and 16..21 fit a nibble as 1..6 and 9..14.
      auto nib = [](uint8_t c) -> uint32_t { return c >= 16 ? c - 16 + 9 : c >= 8 ? c - 8 + 1 : 0; };
      w.u8(nib(a) | (nib(b) << 4));
    }
    uint32_t side, ep;
    std::memcpy(&side, g.start + kGdgBoardSide, 4);
    std::memcpy(&ep, g.start + kGdgBoardEnPassant, 4);
    w.u8(side == 1 ? 1 : 0);
    w.u8(ep & 0xFF);
    w.u8(g.start[kGdgBoardCastling]);
    uint16_t ply;
    std::memcpy(&ply, g.start + kGdgBoardPly, 2);
    w.u16(ply);
  }
  const Node& root = g.nodes[1];
  if (HasComments(root)) {
    w.u8(5);
    WriteComments(w, root);
  }
  WriteLine(w, g, root.next);
  w.u8(0);
}

uint32_t HeaderLength(const uint8_t* data, uint32_t size) {
  if (size < kFixedHeader || data[0] != kMagic) return 0;
  uint32_t at = kFixedHeader;
  for (int i = 0; i < kTextFields; ++i) {
    if (at >= size) return 0;
    at += 1 + data[at];
  }
  return at <= size ? at : 0;
}

bool UnpackHeader(GdgGame* g, const uint8_t* data, uint32_t size) {
  uint32_t length = HeaderLength(data, size);
  if (!length) return false;
  Reader r{data + 1, data + length};
  Header& h = g->header;
  h.status = static_cast<uint8_t>(r.u8());
  h.result = static_cast<int32_t>(r.u8());
  h.date.month = static_cast<int32_t>(r.u8());
  h.date.day = static_cast<int32_t>(r.u8());
  h.date.year = static_cast<int32_t>(r.u16());
  for (int s = 0; s < 2; ++s) h.elo[s] = static_cast<int32_t>(r.u16());
  for (int s = 0; s < 2; ++s) h.minutes[s] = static_cast<int32_t>(r.u16());
  h.round = static_cast<int32_t>(r.u16());
  h.plies = static_cast<int32_t>(r.u16());
  for (auto& t : h.text) r.bytes(&t, r.u8());
  return r.ok;
}

bool UnpackBody(GdgGame* g, const uint8_t* data, uint32_t size, uint32_t headerLength) {
  if (headerLength > size) return false;
  Reader r{data + headerLength, data + size};
  g->setUp = r.u8() == 1;
  InitialBoard(g->start);
  if (g->setUp) {
    NewBoard(g->start);
    for (int sq = 0; sq < 64; sq += 2) {
      uint32_t v = r.u8();
      for (int k = 0; k < 2; ++k) {
        uint32_t nib = (v >> (4 * k)) & 15;
        uint8_t code = nib == 0                ? 0
                       : nib <= 6              ? static_cast<uint8_t>(nib - 1 + 8)
                       : nib >= 9 && nib <= 14 ? static_cast<uint8_t>(nib - 9 + 16)
                                               : 0xFE;
        if (code == 0xFE) return false;
        g->start[Cell((sq + k) & 7, (sq + k) >> 3)] = code;
      }
    }
    uint32_t side = r.u8(), ep = r.u8();
    if (ep > 8 || side > 1) return false;
    std::memcpy(g->start + kGdgBoardSide, &side, 4);
    std::memcpy(g->start + kGdgBoardEnPassant, &ep, 4);
    g->start[kGdgBoardCastling] = static_cast<uint8_t>(r.u8() & AllowedCastling(g->start));
    uint16_t ply = static_cast<uint16_t>(r.u16());
    if (ply == 0) ply = 1;
    std::memcpy(g->start + kGdgBoardPly, &ply, 2);
  }
  if (!r.ok) return false;
  g->nodes.assign(2, Node{});
  // The board after every node (node 1: the start) and the last node of
  // every alternative chain, so that no move is replayed twice.
  using BoardBytes = std::array<uint8_t, kGdgBoardSize>;
  std::vector<BoardBytes> after(2);
  std::memcpy(after[1].data(), g->start, kGdgBoardSize);
  std::vector<GdgMove> chainEnd(2, 0);
  std::vector<GdgMove> stack{1};  // last node of each open line
  bool pendingAlt = false;
  GdgMove previous = 0;        // last move of the enclosing line, for alternatives
  std::vector<GdgMove> altOf;  // the move each open alternative replaces
  for (;;) {
    uint32_t token = r.u8();
    if (!r.ok) return false;
    if (token == 0) break;
    if (token == 5) {
      if (g->nodes.size() != 2 || !ReadComments(r, &g->nodes[1])) return false;
      continue;
    }
    if (token == 3) {
      if (previous == 0 || pendingAlt || stack.size() > kMaxDepth) return false;
      pendingAlt = true;
      continue;
    }
    if (token == 4) {
      if (stack.size() < 2 || pendingAlt) return false;
      stack.pop_back();
      previous = altOf.back();
      altOf.pop_back();
      continue;
    }
    if (token != 1 && token != 2) return false;
    if (g->nodes.size() > kMaxGameMoves) return false;
    uint32_t word = r.u16();
    Node n;
    n.from = word & 63;
    n.to = (word >> 6) & 63;
    uint32_t promo = (word >> 12) & 15;
    if (promo > 4) return false;
    if (token == 2 && !ReadComments(r, &n)) return false;
    if (!r.ok) return false;
    // An alternative replaces `previous` and is played from the board before
    // it; any other move continues the open line.
    n.parent = pendingAlt ? g->nodes[previous].parent : stack.back();
    BoardBytes board = after[n.parent];
    if (!MoveIsLegal(board.data(), n.from, n.to)) return false;
    if (promo) n.promotion = static_cast<uint8_t>((board[kGdgBoardSide] == 1 ? 16 : 8) + promo);
    ApplyMove(board.data(), n.from, n.to, n.promotion);
    GdgMove id = NewNode(g);
    g->nodes[id] = n;
    after.push_back(board);
    chainEnd.push_back(0);
    if (pendingAlt) {
      GdgMove tail = chainEnd[previous] ? chainEnd[previous] : previous;
      while (g->nodes[tail].alt) tail = g->nodes[tail].alt;
      g->nodes[tail].alt = id;
      chainEnd[previous] = id;
      altOf.push_back(previous);
      stack.push_back(id);
      pendingAlt = false;
    } else {
      g->nodes[stack.back()].next = id;
      stack.back() = id;
    }
    previous = id;
  }
  if (stack.size() != 1 || pendingAlt || r.p != r.end) return false;
  RewindGame(g);
  return true;
}

}  // namespace gdg
