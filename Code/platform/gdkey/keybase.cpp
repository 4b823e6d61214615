// The key base in memory, and the journal records that build it.
#include "keybase.h"

#include <cstring>

namespace gdk {
namespace {

const char kMagic[8] = {'R', 'W', 'G', 'D', 'K', 'E', 'Y', 'S'};
constexpr uint32_t kVersion = 1;
constexpr uint32_t kMaxRecord = 1u << 20;
enum RecordType : uint8_t { kRecordKey = 1, kRecordGame = 2, kRecordDeleted = 3, kRecordTexts = 4 };

void Put32(std::vector<uint8_t>* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutText(std::vector<uint8_t>* out, const std::string& text) {
  size_t n = text.size() < kMaxText ? text.size() : kMaxText;
  out->push_back(static_cast<uint8_t>(n));
  out->insert(out->end(), text.begin(), text.begin() + static_cast<long>(n));
}

// Bounds-checked reading of one record's payload.
struct Reader {
  const uint8_t* p;
  size_t n;
  bool ok = true;
  uint32_t U32() {
    if (n < 4) return ok = false, 0;
    uint32_t v = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    p += 4, n -= 4;
    return v;
  }
  uint8_t U8() {
    if (n < 1) return ok = false, 0;
    --n;
    return *p++;
  }
  std::string Text() {
    size_t len = U8();
    if (!ok || n < len) return ok = false, std::string();
    std::string s(reinterpret_cast<const char*>(p), len);
    p += len, n -= len;
    return s;
  }
  void Bytes(uint8_t* out, size_t len) {
    if (n < len) {
      ok = false;
      return;
    }
    std::memcpy(out, p, len);
    p += len, n -= len;
  }
};

int CellOf(int file, int rank) { return 10 * (file + 1) + (rank + 1); }

// Is `cell` attacked by the side whose pieces `own` tells?
bool Attacked(const uint8_t* b, int cell, bool byWhite) {
  auto is = [&](int c, int piece) {
    if (c < 0 || c >= 100) return false;
    uint8_t v = b[c];
    return v == (byWhite ? 8 : 16) + piece;
  };
  // Pawns: a White pawn on c attacks c + 11 and c - 9.
  if (byWhite ? (is(cell - 11, 0) || is(cell + 9, 0)) : (is(cell - 9, 0) || is(cell + 11, 0))) return true;
  for (int d : {21, 19, 12, 8, -21, -19, -12, -8})
    if (is(cell + d, 1)) return true;
  for (int d : {1, -1, 10, -10, 11, 9, -11, -9})
    if (is(cell + d, 5)) return true;
  for (int d : {11, 9, -11, -9, 1, -1, 10, -10}) {
    bool diagonal = d == 11 || d == 9 || d == -11 || d == -9;
    for (int c = cell + d; c >= 0 && c < 100; c += d) {
      uint8_t v = b[c];
      if (v == 0) continue;
      if (v == 0xFF) break;
      if (is(c, 4) || is(c, diagonal ? 2 : 3)) return true;
      break;
    }
  }
  return false;
}

uint32_t Side(const uint8_t* b) {
  uint32_t v;
  std::memcpy(&v, b + kGdgBoardSide, 4);
  return v;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size) {
  static uint32_t table[256];
  static bool ready = [] {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
    return true;
  }();
  (void)ready;
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::string NormalBoard(const uint8_t* board) {
  std::string s(reinterpret_cast<const char*>(board), kCompareBytes);
  uint32_t ep;
  std::memcpy(&ep, board + kGdgBoardEnPassant, 4);
  bool keep = false;
  if (ep >= 1 && ep <= 8) {
    bool whiteToMove = Side(board) == 0;
    int rank = whiteToMove ? 4 : 3;  // where the pawn that stepped stands
    uint8_t taker = whiteToMove ? 8 : 16;
    int file = static_cast<int>(ep) - 1;
    for (int f : {file - 1, file + 1})
      if (f >= 0 && f < 8 && board[CellOf(f, rank)] == taker) keep = true;
  }
  if (!keep) std::memset(&s[kGdgBoardEnPassant], 0, 4);
  return s;
}

GdkKeyMove KeyMoveFor(const uint8_t* before, const GdgMoveXY& xy, const uint8_t* after) {
  GdkKeyMove m = {0, 0};
  int from = (xy.fromRank - 1) * 8 + (xy.fromFile - 1);
  int to = (xy.toRank - 1) * 8 + (xy.toFile - 1);
  if (from < 0 || from > 63 || to < 0 || to > 63) return m;
  uint8_t piece = before[CellOf(xy.fromFile - 1, xy.fromRank - 1)];
  uint8_t target = before[CellOf(xy.toFile - 1, xy.toRank - 1)];
  int kind = piece & 7;  // 0 pawn .. 5 king
  if (kind > 5) kind = 0;
  bool enPassant = kind == 0 && xy.fromFile != xy.toFile && target == 0;
  bool capture = target != 0 || enPassant;
  m.word = static_cast<uint16_t>(from | to << 6 | (capture ? 1 << 12 : 0) | kind << 13);
  uint8_t flags = kind != 0 ? 1 : 0;
  if (enPassant) flags |= 2 << 2;
  if (kind == 0 && (xy.toRank == 8 || xy.toRank == 1)) flags |= 3 << 2;
  // Check: the king of the side to move after the move stands attacked.
  bool whiteToMove = Side(after) == 0;
  for (int c = 0; c < 100; ++c)
    if (after[c] == (whiteToMove ? 13 : 21)) {
      if (Attacked(after, c, !whiteToMove)) flags |= 1 << 4;
      break;
    }
  m.flags = flags;
  return m;
}

KeyBase::KeyBase() { keys_.resize(1); }

std::vector<uint8_t> KeyBase::Frame(uint8_t type, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> out;
  Put32(&out, static_cast<uint32_t>(payload.size()));
  out.push_back(type);
  out.insert(out.end(), payload.begin(), payload.end());
  uint32_t crc = Crc32(out.data() + 4, payload.size() + 1);
  Put32(&out, crc);
  return out;
}

std::vector<uint8_t> KeyBase::NewImage(const uint8_t* startBoard) {
  std::vector<uint8_t> image(kMagic, kMagic + 8);
  Put32(&image, kVersion);
  Put32(&image, 0);
  KeyBase base;
  std::vector<uint8_t> root = base.AddKey(0, GdkKeyMove{0, 0}, startBoard, "", "", "");
  image.insert(image.end(), root.begin(), root.end());
  return image;
}

bool KeyBase::Load(const std::vector<uint8_t>& image, size_t* valid) {
  *this = KeyBase();
  *valid = 0;
  if (image.size() < kHeaderBytes || std::memcmp(image.data(), kMagic, 8) != 0) return false;
  Reader head{image.data() + 8, 8};
  if (head.U32() != kVersion) return false;
  size_t at = kHeaderBytes;
  *valid = at;
  while (image.size() - at >= 9) {
    Reader r{image.data() + at, 4};
    uint32_t length = r.U32();
    if (length > kMaxRecord || image.size() - at - 9 < length) break;
    const uint8_t* body = image.data() + at + 4;
    Reader tail{body + 1 + length, 4};
    if (tail.U32() != Crc32(body, length + 1)) break;
    if (!Apply(body[0], body + 1, length)) break;
    at += 9 + length;
    *valid = at;
  }
  // A base without its start key is no base.
  return KeyCount() > 0;
}

bool KeyBase::Apply(uint8_t type, const uint8_t* p, size_t n) {
  Reader r{p, n};
  if (type == kRecordKey) {
    if (keys_.size() > kMaxKeys) return false;
    Key k;
    k.parent = static_cast<int32_t>(r.U32());
    k.move.word = static_cast<uint16_t>(r.U32());
    k.move.flags = r.U8();
    r.Bytes(k.board, kBoardBytes);
    k.code = r.Text();
    k.name = r.Text();
    k.remark = r.Text();
    // The first key is the root; every other hangs below an existing key,
    // and no board is keyed twice.
    bool rootOk = keys_.size() == 1 ? k.parent == 0 : Valid(k.parent);
    if (!r.ok || r.n != 0 || !rootOk || byBoard_.count(NormalBoard(k.board))) return false;
    ApplyKey(std::move(k));
    return true;
  }
  if (type == kRecordGame) {
    FiledGame g;
    g.number = static_cast<int32_t>(r.U32());
    g.result = r.U8();
    g.elo[0] = static_cast<int32_t>(r.U32());
    g.elo[1] = static_cast<int32_t>(r.U32());
    uint32_t count = r.U32();
    if (!r.ok || g.number != filed_ + 1 || count > r.n / 4 || r.n != count * 4) return false;
    for (uint32_t i = 0; i < count; ++i) {
      int32_t key = static_cast<int32_t>(r.U32());
      if (!Valid(key)) return false;
      g.keys.push_back(key);
    }
    ApplyGame(g);
    return true;
  }
  if (type == kRecordTexts) {
    int32_t key = static_cast<int32_t>(r.U32());
    std::string code = r.Text(), name = r.Text(), remark = r.Text();
    if (!r.ok || r.n != 0 || !Valid(key)) return false;
    Key& k = keys_[static_cast<size_t>(key)];
    k.code = code, k.name = name, k.remark = remark;
    return true;
  }
  if (type == kRecordDeleted) {
    int32_t count = static_cast<int32_t>(r.U32());
    if (!r.ok || r.n != 0) return false;
    deleted_ += count;
    return true;
  }
  return false;
}

void KeyBase::ApplyKey(Key&& key) {
  int32_t number = static_cast<int32_t>(keys_.size());
  if (key.parent) {
    key.depth = keys_[static_cast<size_t>(key.parent)].depth + 1;
    keys_[static_cast<size_t>(key.parent)].children.push_back(number);
  }
  if (key.depth > depth_) depth_ = key.depth;
  byBoard_.emplace(NormalBoard(key.board), number);
  keys_.push_back(std::move(key));
}

void KeyBase::ApplyGame(const FiledGame& game) {
  filed_ = game.number;
  last_ = game;
  for (size_t i = 0; i < game.keys.size(); ++i) {
    Key& k = keys_[static_cast<size_t>(game.keys[i])];
    // A game that passes a key twice (by transposition) counts once.
    if (!k.games.empty() && k.games.back() == game.number) continue;
    k.games.push_back(game.number);
    if (game.result >= 1 && game.result <= 3) ++k.results[game.result - 1];
    for (int side = 0; side < 2; ++side)
      if (game.elo[side] > 0) k.eloSum[side] += game.elo[side], ++k.eloCount[side];
    if (i + 1 == game.keys.size()) ++k.direct;
  }
}

int32_t KeyBase::Find(const uint8_t* board) const {
  auto it = byBoard_.find(NormalBoard(board));
  return it == byBoard_.end() ? 0 : it->second;
}

int32_t KeyBase::Descendants(int32_t key) const {
  if (!Valid(key)) return 0;
  int32_t n = 0;
  std::vector<int32_t> stack(At(key).children);
  while (!stack.empty()) {
    int32_t k = stack.back();
    stack.pop_back();
    ++n;
    const auto& c = At(k).children;
    stack.insert(stack.end(), c.begin(), c.end());
  }
  return n;
}

std::vector<uint8_t> KeyBase::AddKey(int32_t parent, const GdkKeyMove& move, const uint8_t* board,
                                     const std::string& code, const std::string& name,
                                     const std::string& remark) {
  std::vector<uint8_t> payload;
  Put32(&payload, static_cast<uint32_t>(parent));
  Put32(&payload, move.word);
  payload.push_back(move.flags);
  payload.insert(payload.end(), board, board + kBoardBytes);
  PutText(&payload, code);
  PutText(&payload, name);
  PutText(&payload, remark);
  if (!Apply(kRecordKey, payload.data(), payload.size())) return {};
  return Frame(kRecordKey, payload);
}

std::vector<uint8_t> KeyBase::FileGame(const FiledGame& game) {
  std::vector<uint8_t> payload;
  Put32(&payload, static_cast<uint32_t>(game.number));
  payload.push_back(static_cast<uint8_t>(game.result >= 1 && game.result <= 3 ? game.result : 0));
  Put32(&payload, static_cast<uint32_t>(game.elo[0]));
  Put32(&payload, static_cast<uint32_t>(game.elo[1]));
  Put32(&payload, static_cast<uint32_t>(game.keys.size()));
  for (int32_t k : game.keys) Put32(&payload, static_cast<uint32_t>(k));
  if (!Apply(kRecordGame, payload.data(), payload.size())) return {};
  return Frame(kRecordGame, payload);
}

std::vector<uint8_t> KeyBase::CountDeleted(int32_t count) {
  std::vector<uint8_t> payload;
  Put32(&payload, static_cast<uint32_t>(count));
  Apply(kRecordDeleted, payload.data(), payload.size());
  return Frame(kRecordDeleted, payload);
}

std::vector<uint8_t> KeyBase::SetTexts(int32_t key, const std::string& code, const std::string& name,
                                       const std::string& remark) {
  std::vector<uint8_t> payload;
  Put32(&payload, static_cast<uint32_t>(key));
  PutText(&payload, code);
  PutText(&payload, name);
  PutText(&payload, remark);
  if (!Apply(kRecordTexts, payload.data(), payload.size())) return {};
  return Frame(kRecordTexts, payload);
}

void KeyBase::ClearGames() {
  for (Key& k : keys_) {
    k.games.clear();
    k.direct = 0;
    k.results[0] = k.results[1] = k.results[2] = 0;
    k.eloSum[0] = k.eloSum[1] = 0;
    k.eloCount[0] = k.eloCount[1] = 0;
  }
  filed_ = 0;
  deleted_ = 0;
  last_ = FiledGame();
}

}  // namespace gdk
