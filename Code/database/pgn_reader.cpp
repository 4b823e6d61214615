// PGN reader. Tokens follow the PGN standard loosely:
//   "Import format PGN ... is a lenient format": brackets, semicolons and
//   percent lines are honoured, move numbers are skipped, and each move is
//   resolved against the position it is played in.
#include "pgn_reader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "pgn_text.h"
#include "texts.h"

namespace gdbase {
namespace {

constexpr int kMaxToken = 255;
constexpr int kMaxPendingAlternatives = 750;
constexpr int kPoolLimit = 49999;

// Move token bits.
constexpr uint32_t kTokFromFile = 1u << 3;
constexpr uint32_t kTokFromRank = 1u << 4;
constexpr uint32_t kTokNoRank = 1u << 11;
constexpr uint32_t kTokShort = 1u << 21;
constexpr uint32_t kTokLong = 1u << 22;
constexpr uint32_t kTokOpen = 1u << 23;
// A null move ("--", or "Z0" with kTokNullZ0): piece 7, which no written
// move gives. The game record cannot hold one, so the line stops there.
constexpr uint32_t kTokNull = 7;
constexpr uint32_t kTokNullZ0 = 1u << 5;

inline int TokPiece(uint32_t t) { return t & 7; }
inline int TokFrom(uint32_t t) { return (t >> 5) & 63; }
inline int TokTarget(uint32_t t) { return (t >> 12) & 63; }
inline int TokPromotion(uint32_t t) { return (t >> 18) & 7; }
inline int TokClosings(uint32_t t) { return t >> 24; }

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool IsLineEnd(int c) { return c == '\n' || c == '\r'; }
bool IsDelimiter(int c) { return c != 0 && std::strchr(";{(<.*[]>})\"", c) != nullptr; }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsFileLetter(int c) { return c >= 'a' && c <= 'h'; }

bool SameNoCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    int x = *a, y = *b;
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return *a == *b;
}

enum TokenKind { kEnd, kChar, kString, kSymbol };

struct Token {
  TokenKind kind = kEnd;
  char ch = 0;
  std::string text;
  int line = 0, column = 0;  // where the token ends: the line and the column after it
};

// Where a move token stood, for the trace when it does not resolve.
struct TokenPlace {
  int line, column;
};

struct MoveNode {
  uint16_t word;
  int token;  // 1-based token number, for its NAG and comment slot
  int next = -1, alt = -1;
};

class Reader {
 public:
  Reader(PgnSource* source, PgnGameRecord* record, int options, const char* letters, PgnGameCallback callback,
         void* user)
      : src_(source), rec_(record), options_(options), callback_(callback), user_(user) {
    std::memcpy(letters_, letters ? letters : "NBRQK", 5);
  }
  int Run();
  bool Stopped() const { return stopped_; }

 private:
  int Peek() {
    if (pushed_ == -2) pushed_ = src_->Get();
    return pushed_;
  }
  int Next() {
    int c = Peek();
    pushed_ = -2;
    // Lines end at LF, CR LF or a lone CR.
    if (c == '\n') {
      if (!lastCR_) ++line_;
      column_ = 0;
    } else if (c == '\r') {
      ++line_;
      column_ = 0;
    } else if (c != -1) {
      ++column_;
    }
    lastCR_ = c == '\r';
    return c;
  }
  Token NextToken();
  Token ReadToken();
  void SkipLine() {
    for (int c = Peek(); c != -1 && !IsLineEnd(c); c = Peek()) Next();
  }
  void ReadComment();
  void ReadNag(const std::string& text);
  void AddMoveToken(const Token& written);
  bool FinishGame(int tokenResult);  // false: stop reading
  bool Deliver(int fullGame);
  void StartGame();
  bool BuildTree();
  uint16_t Resolve(const sPosition& p, uint32_t token, bool chess960);
  void TraceIllegal(const sPosition& p, uint32_t token, int number, const std::vector<uint16_t>& line);

  PgnSource* src_;
  PgnGameRecord* rec_;
  int options_;
  char letters_[5];
  PgnGameCallback callback_;
  void* user_;
  int pushed_ = -2;
  bool stopped_ = false;  // a callback asked to stop
  Token pushedToken_;
  bool havePushedToken_ = false;
  int line_ = 1, column_ = 0;  // of the last character read
  bool lastCR_ = false;

  // Per game.
  int tagsStored_ = 0;
  bool inMoves_ = false;
  bool commentsSeen_ = false;
  int pendingOpen_ = 0, pendingClose_ = 0, depth_ = 0;
  std::vector<uint32_t> tokens_;
  std::vector<uint16_t> tokenNags_;
  std::vector<uint32_t> tokenComments_;
  std::vector<TokenPlace> tokenPlaces_;
};

Token Reader::NextToken() {
  if (havePushedToken_) {
    havePushedToken_ = false;
    return pushedToken_;
  }
  for (;;) {
    Token t = ReadToken();
    t.line = line_;
    t.column = column_ + 1;
    if (t.kind == kSymbol) {
      // A byte-order mark: at the start of the text, or where files were
      // joined one after the other.
      if (size_t bom = pgntext::Utf8BomLength(t.text.data(), t.text.size())) t.text.erase(0, bom);
      if (t.text.empty()) continue;
    }
    return t;
  }
}

Token Reader::ReadToken() {
  Token t;
  int c;
  for (;;) {
    c = Next();
    if (c == -1) return t;
    if (IsBlank(c) || IsLineEnd(c) || c == 0) continue;
    if (c == '%') {
      SkipLine();
      continue;
    }
    break;
  }
  if (c == '"') {
    t.kind = kString;
    for (;;) {
      c = Next();
      if (c == -1 || c == '"' || IsLineEnd(c)) break;
      if (c == '\\') {
        c = Next();
        if (c == -1) break;
      }
      // Room for kMaxToken characters of UTF-8, cut once converted.
      if (t.text.size() < 4 * kMaxToken) t.text += static_cast<char>(c);
    }
    pgntext::Utf8ToWindows(&t.text);
    if (t.text.size() > static_cast<size_t>(kMaxToken)) t.text.resize(kMaxToken);
    size_t a = t.text.find_first_not_of(" \t");
    size_t b = t.text.find_last_not_of(" \t");
    t.text = a == std::string::npos ? std::string() : t.text.substr(a, b - a + 1);
    return t;
  }
  if (IsDelimiter(c)) {
    t.kind = kChar;
    t.ch = static_cast<char>(c);
    return t;
  }
  t.kind = kSymbol;
  t.text += static_cast<char>(c);
  if (c == '!' || c == '?' || c == '$') {
    for (c = Peek(); c == '!' || c == '?' || c == '$' || IsDigit(c); c = Peek()) {
      Next();
      if (t.text.size() < kMaxToken) t.text += static_cast<char>(c);
    }
    return t;
  }
  for (;;) {
    c = Peek();
    if (c == -1 || IsDelimiter(c)) break;
    if (IsBlank(c) || IsLineEnd(c)) {
      // "1- 0" reads as "1-0"; the null move "--" stands alone.
      if (t.text.back() != '-' || t.text == "--") break;
      while (IsBlank(Peek()) || IsLineEnd(Peek())) Next();
      continue;
    }
    Next();
    if (t.text.size() < kMaxToken) t.text += static_cast<char>(c);
  }
  return t;
}

void Reader::ReadComment() {
  std::string text;
  bool ended = false;
  for (;;) {
    int c = Next();
    if (c == -1) {
      GdBaseDll("end of file encountered while in annotation.");
      ended = true;
      break;
    }
    if (c == '}') break;
    if (c == 0) continue;
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    if (c == ' ' && (text.empty() || text.back() == ' ')) continue;
    if (text.size() < kPgnPoolSize) text += static_cast<char>(c);
  }
  if (ended && !inMoves_) return;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  pgntext::Utf8ToWindows(&text);
  if (text.empty()) return;
  // A second comment after the same move joins the first rather than
  // replacing it.
  uint32_t& slot = tokenComments_[tokens_.size()];
  if (slot != 0) text = std::string(rec_->pool + slot) + " " + text;
  if (rec_->poolFill + static_cast<int>(text.size()) + 1 > kPoolLimit) {
    GdBaseDll("comment buffer full, move annotation ignored.");
    return;
  }
  uint32_t offset = static_cast<uint32_t>(rec_->poolFill);
  std::memcpy(rec_->pool + offset, text.c_str(), text.size() + 1);
  rec_->poolFill += static_cast<int>(text.size()) + 1;
  slot = offset;
  commentsSeen_ = true;
}

void Reader::ReadNag(const std::string& text) {
  int value = -1;
  if (text[0] == '$') {
    if (text.size() > 1 && text.size() <= 4) {
      value = 0;
      for (size_t i = 1; i < text.size() && value >= 0; ++i)
        value = IsDigit(text[i]) ? value * 10 + text[i] - '0' : -1;
      if (value > 255) value = -1;
    }
  } else {
    static const char* const symbols[] = {"!", "?", "!!", "??", "!?", "?!"};
    for (int i = 0; i < 6; ++i)
      if (text == symbols[i]) value = i + 1;
  }
  if (value < 0) {
    GdBaseDll("syntax error in move annotation (NAG) %s.", text.c_str());
    return;
  }
  if (value == 0) return;
  uint16_t& slot = tokenNags_[tokens_.size()];
  if ((slot & 0xFF) == 0)
    slot = static_cast<uint16_t>(value);
  else if ((slot >> 8) == 0)
    slot = static_cast<uint16_t>(slot | (value << 8));
  else
    GdBaseDll("up to two NAG comments supported, ignoring %s.", text.c_str());
}

void Reader::AddMoveToken(const Token& written) {
  const std::string& text = written.text;
  uint32_t token = ParsePgnMoveToken(text.c_str(), letters_);
  if (pgntext::IsPgnNullMove(text.data(), text.size())) token = kTokNull | (text[0] == 'Z' ? kTokNullZ0 : 0);
  if (token == 0) return;
  if (tokens_.size() >= static_cast<size_t>(kPgnMaxMoves)) {
    GdBaseDll("move buffer full, skipping move.");
    return;
  }
  if (pendingOpen_ || pendingClose_) {
    if (pendingOpen_ > 1) GdBaseDll("double brackets no supported ((.");
    int opens = pendingOpen_ ? 1 : 0;
    int closes = pendingClose_;
    depth_ += opens - closes;
    if (depth_ < 0) {
      GdBaseDll("unbalanced brackets ()).");
      depth_ += closes - opens;
      closes = opens;
      depth_ += opens - closes;
    }
    if (closes > 255) closes = 255;
    token |= (opens ? kTokOpen : 0) | (static_cast<uint32_t>(closes) << 24);
    rec_->entryCount = 1;
    pendingOpen_ = pendingClose_ = 0;
  }
  tokens_.push_back(token);
  tokenPlaces_.push_back({written.line, written.column});
  tokenNags_[tokens_.size()] = 0;
  tokenComments_[tokens_.size()] = 0;
}

void Reader::StartGame() {
  ClearPgnRecord(rec_);
  tagsStored_ = 0;
  inMoves_ = false;
  commentsSeen_ = false;
  pendingOpen_ = pendingClose_ = depth_ = 0;
  // Only the slots of the last game's tokens can be set.
  if (tokenNags_.empty()) {
    tokenNags_.assign(kPgnSlots, 0);
    tokenComments_.assign(kPgnSlots, 0);
  } else {
    std::fill(tokenNags_.begin(), tokenNags_.begin() + static_cast<long>(tokens_.size()) + 1, 0);
    std::fill(tokenComments_.begin(), tokenComments_.begin() + static_cast<long>(tokens_.size()) + 1, 0);
  }
  tokens_.clear();
  tokenPlaces_.clear();
}

int ResultOfToken(const std::string& t) {
  if (t == "*") return 0;
  if (t.size() >= 2 && (t[1] == '-' || t[1] == ':')) {
    if (t[0] == '1') return 1;
    if (t.size() >= 3 && t[2] == '1') return 2;
  }
  if (t.size() >= 2 && t[0] == '1' && t[1] == '/') return 3;
  return -1;
}

int Reader::Run() {
  StartGame();
  for (;;) {
    Token t = NextToken();
    if (t.kind == kEnd) {
      if (tagsStored_ > 0 || inMoves_) return FinishGame(-1) ? 0 : 1;
      return 0;
    }
    if (t.kind == kChar && t.ch == '[') {
      Token name = NextToken();
      if (name.kind == kEnd) continue;
      if (inMoves_) {
        if (!FinishGame(-1)) return 1;
        StartGame();
      }
      int slot = -1;
      if (name.kind == kSymbol)
        for (int i = 0; i < kPgnTags; ++i)
          if (SameNoCase(name.text.c_str(), kPgnTagNames[i])) slot = i;
      Token value = NextToken();
      if (value.kind == kString) {
        if (slot >= 0) std::strcpy(rec_->tags[slot], value.text.c_str());
        ++tagsStored_;
        value = NextToken();
      }
      if (!(value.kind == kChar && value.ch == ']')) {
        // Unclosed tag: the token belongs to what follows.
        if (value.kind == kChar && value.ch == '[') {
          pushedToken_ = value;
          havePushedToken_ = true;
        }
      }
      continue;
    }
    if (tagsStored_ == 0) {
      // Nothing counts before the first tag. A comment there (a file's
      // opening words, or one between games) is passed over whole, so a
      // command such as [%clk 0:05:00] in it is never taken for a tag.
      if (t.kind == kChar && t.ch == '{')
        for (int c = Next(); c != -1 && c != '}'; c = Next()) {
        }
      continue;
    }
    if (t.kind == kChar) {
      switch (t.ch) {
        case '{':
          ReadComment();
          break;
        case '<':
          for (int c = Next(); c != -1 && c != '>'; c = Next()) {
          }
          break;
        case '(':
          if (inMoves_) ++pendingOpen_;
          break;
        case ')':
          if (inMoves_) ++pendingClose_;
          break;
        case ';':
          if (depth_ > 0 || pendingOpen_) {
            ++pendingClose_;
            ++pendingOpen_;
          } else {
            SkipLine();
          }
          break;
        case '*':
          if (!FinishGame(0)) return 1;
          StartGame();
          break;
        case '.':
          inMoves_ = true;
          break;
        default:
          break;
      }
      continue;
    }
    if (t.kind != kSymbol) continue;
    int result = ResultOfToken(t.text);
    if (result >= 0) {
      if (!FinishGame(result)) return 1;
      StartGame();
      continue;
    }
    if (!inMoves_) {
      if (!IsDigit(t.text[0])) continue;
      inMoves_ = true;
    }
    if (t.text[0] == '!' || t.text[0] == '?' || t.text[0] == '$')
      ReadNag(t.text);
    else
      AddMoveToken(t);
  }
}

bool SquareHolds(const sPosition& p, int sq, uint8_t piece) {
  return sq >= 0 && sq < 64 && p.squares[sq] == piece;
}

uint16_t Reader::Resolve(const sPosition& p, uint32_t token, bool chess960) {
  bool white = p.whiteToMove != 0;
  uint8_t colour = white ? kWhite : 0;
  int base = white ? 0 : 56;
  if (token & (kTokShort | kTokLong)) {
    bool isShort = (token & kTokShort) != 0;
    uint16_t standard = MakeMove(base + 4, base + (isShort ? 6 : 2));
    if (p.squares[base + 4] == (colour | kKing) && IsMoveLegal(p, standard)) return standard;
    if (!chess960) return 0;
    for (int f = 1; f <= 6; ++f) {
      int king = base + f;
      if (p.squares[king] != (colour | kKing)) continue;
      uint8_t right =
          p.castle[white ? (isShort ? kWhiteShort : kWhiteLong) : (isShort ? kBlackShort : kBlackLong)];
      if (right < 2) return 0;
      int rook = right - 1;
      if (!SquareHolds(p, rook, colour | kRook)) return 0;
      GdBaseDll("skipping legality check on %s %s Fischer castling.", isShort ? "short" : "long",
                white ? "white" : "black");
      return MakeMove(king, rook);
    }
    return 0;
  }
  int piece = TokPiece(token);
  int target = TokTarget(token);
  int promoIndex = 0;
  switch (TokPromotion(token)) {
    case 2:
      promoIndex = 3;
      break;
    case 3:
      promoIndex = 2;
      break;
    case 4:
      promoIndex = 1;
      break;
    default:
      promoIndex = 0;
      break;
  }
  bool fileGiven = (token & kTokFromFile) != 0, rankGiven = (token & kTokFromRank) != 0;
  int fromFile = TokFrom(token) & 7, fromRank = TokFrom(token) >> 3;
  if (piece != kPawn) {
    if (token & kTokNoRank) return 0;
    std::vector<int> candidates;
    for (int sq = 0; sq < 64; ++sq) {
      if (p.squares[sq] != (colour | piece)) continue;
      if (IsMoveLegal(p, MakeMove(sq, target))) candidates.push_back(sq);
      if (piece == kKing) break;  // the first king only
    }
    if (candidates.size() == 1 && piece == kKing) return MakeMove(candidates[0], target);
    if (candidates.size() == 1) return MakeMove(candidates[0], target);
    if (candidates.empty() || (!fileGiven && !rankGiven)) return 0;
    for (int sq : candidates)
      if ((!fileGiven || (sq & 7) == fromFile) && (!rankGiven || (sq >> 3) == fromRank))
        return MakeMove(sq, target);
    return 0;
  }
  int forward = white ? 8 : -8;
  uint8_t pawn = colour | kPawn;
  if (!fileGiven || (!(token & kTokNoRank) && fromFile == (target & 7))) {
    if (token & kTokNoRank) return 0;
    int from = target - forward;
    int fourth = white ? 3 : 4;
    if ((target >> 3) == fourth && from >= 0 && from < 64 && p.squares[from] != pawn) from -= forward;
    if (from >= 0 && from < 64) {
      uint16_t push = MakeMove(from, target, promoIndex);
      if (p.squares[from] == pawn && IsMoveLegal(p, push)) return push;
    }
    uint16_t found = 0;
    int count = 0;
    for (int side = -1; side <= 1; side += 2) {
      int f = (target & 7) + side;
      int sq = target - forward + side;
      if (f < 0 || f > 7 || sq < 0 || sq > 63 || p.squares[sq] != pawn) continue;
      uint16_t m = MakeMove(sq, target, promoIndex);
      if (IsMoveLegal(p, m)) found = m, ++count;
    }
    return count == 1 ? found : 0;
  }
  if (token & kTokNoRank) {
    int toFile = target & 7;
    if (std::abs(toFile - fromFile) != 1) return 0;
    uint16_t found = 0;
    int count = 0;
    for (int rank = 1; rank < 7; ++rank) {
      int sq = rank * 8 + fromFile;
      if (p.squares[sq] != pawn) continue;
      int to = sq + forward + (toFile - fromFile);
      if (to < 0 || to > 63) continue;
      uint16_t m = MakeMove(sq, to, promoIndex);
      if (IsMoveLegal(p, m)) found = m, ++count;
    }
    return count == 1 ? found : 0;
  }
  int from = (target - forward) - (target & 7) + fromFile;
  if (from < 0 || from > 63) return 0;
  uint16_t m = MakeMove(from, target, promoIndex);
  return p.squares[from] == pawn && IsMoveLegal(p, m) ? m : 0;
}

void Reader::TraceIllegal(const sPosition& p, uint32_t token, int number, const std::vector<uint16_t>& line) {
  const char* names = " PNBRQK";
  for (int rank = 7; rank >= 0; --rank) {
    std::string row;
    for (int file = 0; file < 8; ++file) {
      uint8_t piece = p.squares[rank * 8 + file];
      if (piece == 0) {
        row += " . ";
        continue;
      }
      row += ' ';
      row += (piece & kWhite) ? 'W' : 'B';
      row += names[piece & 7];
    }
    GdBaseDll("%s", row.c_str());
  }
  GdBaseDll("PgnMove pce %d bfrom %d from %d bsqre %d sqre %d prompce %d castle %d\n", TokPiece(token),
            (token >> 3) & 3, TokFrom(token), (token & kTokNoRank) ? 1 : 0, TokTarget(token),
            TokPromotion(token), (token >> 21) & 3);
  std::string rebuilt;
  if (token & kTokShort) rebuilt = "O-O";
  if (token & kTokLong) rebuilt = "O-O-O";
  if (TokPiece(token) == kTokNull) rebuilt = token & kTokNullZ0 ? "Z0" : "--";
  if (rebuilt.empty()) {
    if (TokPiece(token) > 1) rebuilt += letters_[TokPiece(token) - 2];
    if (token & kTokFromFile) rebuilt += static_cast<char>('a' + (TokFrom(token) & 7));
    if (token & kTokFromRank) rebuilt += static_cast<char>('1' + (TokFrom(token) >> 3));
    rebuilt += static_cast<char>('a' + (TokTarget(token) & 7));
    if (!(token & kTokNoRank)) rebuilt += static_cast<char>('1' + (TokTarget(token) >> 3));
    if (TokPromotion(token)) rebuilt += letters_[TokPromotion(token) - 2];
  }
  GdBaseDll("Illegal move: %s", rebuilt.c_str());
  std::string previous;
  sPosition q = *rec_->start;
  for (uint16_t m : line) {
    char text[16];
    MoveFlagsToText(GetMoveNotationFlags(q, m), m, text, 4, "NBRQKO-x+ #   ep");
    previous += text;
    previous += ' ';
    PlayMoveOnPosition(&q, m);
    if (previous.size() > 200) break;
  }
  GdBaseDll("previous moves: %s", previous.c_str());
  int ply = 2 * rec_->moveNumberOffset + (rec_->start->whiteToMove ? 0 : 1) + static_cast<int>(line.size());
  GdBaseDll("%d%c (%d/%d) illegal, game truncated.", ply / 2 + 1, p.whiteToMove ? 'w' : 'b', number,
            static_cast<int>(tokens_.size()));
  const TokenPlace& place = tokenPlaces_[static_cast<size_t>(number - 1)];
  GdBaseDll("move %s at line %d, column %d.", rebuilt.c_str(), place.line, place.column);
}

bool Reader::BuildTree() {
  struct Context {
    int last;      // last node of the line, -1 none yet
    int replaces;  // the node this alternative replaces, -1 for the main line
    sPosition before, after;
    bool cut;
    std::vector<uint16_t> line;  // for the trace
  };
  std::vector<MoveNode> nodes;
  int first = -1;
  std::vector<Context> stack;
  stack.push_back({-1, -1, *rec_->start, *rec_->start, false, {}});
  bool chess960 = rec_->Tag(kTagFEN)[0] && std::strcmp(rec_->Tag(kTagSetUp), "2") == 0;
  for (size_t i = 0; i < tokens_.size(); ++i) {
    uint32_t token = tokens_[i];
    for (int c = TokClosings(token); c > 0 && stack.size() > 1; --c) stack.pop_back();
    if (token & kTokOpen) {
      const Context& top = stack.back();
      Context alt{-1, top.last, top.before, top.before, top.cut || top.last < 0, {}};
      if (!alt.cut) {
        alt.line = top.line;
        if (!alt.line.empty()) alt.line.pop_back();
      }
      stack.push_back(alt);
    }
    Context& ctx = stack.back();
    if (ctx.cut) continue;
    uint16_t move = TokPiece(token) == kTokNull ? 0 : Resolve(ctx.after, token, chess960);
    if (move == 0) {
      TraceIllegal(ctx.after, token, static_cast<int>(i + 1), ctx.line);
      ctx.cut = true;
      continue;
    }
    int id = static_cast<int>(nodes.size());
    nodes.push_back({move, static_cast<int>(i + 1)});
    if (ctx.last >= 0) {
      nodes[ctx.last].next = id;
    } else if (ctx.replaces >= 0) {
      int tail = ctx.replaces;
      while (nodes[tail].alt >= 0) tail = nodes[tail].alt;
      nodes[tail].alt = id;
    } else {
      first = id;
    }
    ctx.before = ctx.after;
    PlayMoveOnPosition(&ctx.after, move);
    ctx.last = id;
    ctx.line.push_back(move);
  }
  // Pre-order: a line, then the alternatives of its marked moves, the
  // last marked first, each followed by its own.
  int entries = 0;
  rec_->mainLength = 0;
  std::vector<int> pending;
  if (first >= 0) pending.push_back(first);
  bool mainLine = true;
  while (!pending.empty()) {
    int n = pending.back();
    pending.pop_back();
    for (; n >= 0; n = nodes[n].next) {
      uint16_t word = nodes[n].word;
      // Stacked in the line's order, so that the last marked comes off
      // first (as the writer and the game conversion read the list).
      if (nodes[n].alt >= 0) {
        word |= kEntryHasAlternative;
        pending.push_back(nodes[n].alt);
      }
      if (nodes[n].next < 0) word |= kEntryLineEnd;
      rec_->moves[entries] = word;
      ++entries;
      rec_->nags[entries] = tokenNags_[nodes[n].token];
      rec_->comments[entries] = tokenComments_[nodes[n].token];
    }
    if (pending.size() > static_cast<size_t>(kMaxPendingAlternatives)) {
      GdBaseDll("more than %d alternatives pending, skipping game.", kMaxPendingAlternatives);
      return false;
    }
    if (mainLine) rec_->mainLength = entries;
    mainLine = false;
  }
  rec_->nags[0] = tokenNags_[0];
  rec_->comments[0] = tokenComments_[0];
  rec_->entryCount = entries > rec_->mainLength ? entries : 0;
  return true;
}

void MirrorPosition(sPosition* p) {
  sPosition m = *p;
  for (int sq = 0; sq < 64; ++sq) {
    uint8_t piece = p->squares[(7 - (sq >> 3)) * 8 + (sq & 7)];
    m.squares[sq] = piece ? static_cast<uint8_t>(piece ^ kWhite) : 0;
  }
  m.whiteToMove = p->whiteToMove ? 0 : 1;
  if (p->enPassant < 64)
    m.enPassant = static_cast<uint8_t>((7 - (p->enPassant >> 3)) * 8 + (p->enPassant & 7));
  auto mirrorRight = [](uint8_t r) -> uint8_t {
    if (r < 2) return r;
    int sq = r - 1;
    return static_cast<uint8_t>((7 - (sq >> 3)) * 8 + (sq & 7) + 1);
  };
  m.castle[kWhiteLong] = mirrorRight(p->castle[kBlackLong]);
  m.castle[kWhiteShort] = mirrorRight(p->castle[kBlackShort]);
  m.castle[kBlackLong] = mirrorRight(p->castle[kWhiteLong]);
  m.castle[kBlackShort] = mirrorRight(p->castle[kWhiteShort]);
  *p = m;
}

uint32_t MirrorToken(uint32_t t) {
  uint32_t from = TokFrom(t), target = TokTarget(t);
  if (t & kTokFromRank) from = (7 - (from >> 3)) * 8 + (from & 7);
  if (!(t & kTokNoRank)) target = (7 - (target >> 3)) * 8 + (target & 7);
  return (t & ~((63u << 5) | (63u << 12))) | (from << 5) | (target << 12);
}

bool Reader::FinishGame(int tokenResult) {
  for (auto& tag : rec_->tags)
    if (tag[0] == '?') tag[0] = 0;
  if (options_ & kPgnHeadersOnly) return Deliver(0);
  if (tokens_.empty() && !rec_->Tag(kTagWhite)[0] && !rec_->Tag(kTagBlack)[0] && !rec_->Tag(kTagResult)[0] &&
      tokenResult < 0) {
    GdBaseDll("skipping empty game (no players, moves and result).");
    return true;
  }
  char* resultTag = rec_->Tag(kTagResult);
  int tagResult = -1;
  // "1-0" is White's win: the third character alone would read it as Black's.
  if (resultTag[0] == '*')
    tagResult = 0;
  else if (std::strlen(resultTag) >= 3 && resultTag[2] == '2')
    tagResult = 3;
  else if (std::strlen(resultTag) >= 3 && (resultTag[1] == '-' || resultTag[1] == ':'))
    tagResult = resultTag[0] == '1' ? 1 : resultTag[0] == '0' ? 2 : -1;
  if (tagResult < 0 && tokenResult < 0) {
    GdBaseDll("bad or missing game result \"%s\".", resultTag);
    rec_->result = 0;
  } else if (tokenResult < 0) {
    rec_->result = tagResult;
  } else if (tagResult < 0 || tagResult == tokenResult) {
    rec_->result = tokenResult;
  } else {
    static const char* const names[4] = {"*", "1-0", "0-1", "1/2-1/2"};
    GdBaseDll("conflicting game result: \"%s\" versus %s.", resultTag, names[tokenResult]);
    rec_->result = tagResult == 0 ? tokenResult : tagResult;
  }
  char text[16];
  PgnResultText(text, rec_->result);
  if (std::strcmp(text, resultTag) != 0) {
    std::strcpy(resultTag, text);
    GdBaseDll("Game result set to %s.\n", text);
  }
  if (rec_->Tag(kTagFEN)[0]) {
    uint8_t written[4];
    if (ParseFen(rec_->Tag(kTagFEN), rec_->start, &rec_->moveNumberOffset, written) != 0) {
      GdBaseDll("syntax error in FEN tag, skipping game.");
      return true;
    }
    if (std::strcmp(rec_->Tag(kTagSetUp), "2") == 0) {
      // Fischer random: the rights name their rooks, found from the a-file.
      for (int side = 0; side < 2; ++side) {
        int base = side ? 56 : 0;
        uint8_t colour = side ? 0 : kWhite;
        int king = -1;
        for (int f = 0; f < 8; ++f)
          if (rec_->start->squares[base + f] == (colour | kKing)) king = base + f;
        uint8_t* longRight = &rec_->start->castle[side * 2];
        uint8_t* shortRight = &rec_->start->castle[side * 2 + 1];
        int shortRook = -1, longRook = -1;
        for (int f = 0; f < 8 && king >= 0; ++f) {
          int sq = base + f;
          if (rec_->start->squares[sq] != (colour | kRook)) continue;
          if (sq > king) shortRook = sq;
          if (sq < king) longRook = sq;
        }
        // The rights as the FEN wrote them: the king need not stand on e1.
        *shortRight = written[side * 2 + 1] && shortRook >= 0 ? static_cast<uint8_t>(shortRook + 1) : 0;
        *longRight = written[side * 2] && longRook >= 0 ? static_cast<uint8_t>(longRook + 1) : 0;
      }
    }
  }
  if (options_ & kPgnMirror) {
    MirrorPosition(rec_->start);
    for (auto& t : tokens_) t = MirrorToken(t);
  }
  if (!BuildTree()) return true;
  return Deliver(1);
}

bool Reader::Deliver(int fullGame) {
  if (!callback_) return false;
  if (callback_(rec_, commentsSeen_ ? 1 : 0, fullGame, user_) != 0) return true;
  stopped_ = true;
  return false;
}

}  // namespace

uint32_t ParsePgnMoveToken(const char* token, const char* letters) {
  size_t len = std::strlen(token);
  if (len == 0 || token[0] == '.' || (IsDigit(token[0]) && token[1] != '-')) return 0;
  auto pieceOf = [&](char c, int count) -> int {
    for (int i = 0; i < count; ++i)
      if (letters[i] == c) return i + 2;
    return 0;
  };
  int i = static_cast<int>(len) - 1;
  int promotion = 0, rank = -1;
  bool passedP = false;
  for (; i >= 0; --i) {
    char c = token[i];
    if (IsFileLetter(c)) {
      if (c == 'e' && passedP && rank < 0) continue;
      break;
    }
    if (int piece = pieceOf(c, 4)) {
      promotion = piece;
    } else if (c >= '1' && c <= '8') {
      if (rank < 0) rank = c - '1';
    } else if (c == 'p') {
      passedP = true;
    }
  }
  if (i < 0) {
    int count = 0;
    for (size_t k = 0; k < len; ++k) count += token[k] == 'O' || token[k] == 'o' || token[k] == '0';
    if (count == 2) return kTokShort | kKing;
    if (count == 3) return kTokLong | kKing;
    return 0;
  }
  uint32_t t = 0;
  int file = token[i] - 'a';
  if (rank >= 0)
    t |= static_cast<uint32_t>(file + 8 * rank) << 12;
  else
    t |= kTokNoRank | (static_cast<uint32_t>(file) << 12);
  int piece = kPawn, fromFile = 0, fromRank = 0;
  for (int k = 0; k < i; ++k) {
    char c = token[k];
    if (IsFileLetter(c)) {
      fromFile = c - 'a';
      t |= kTokFromFile;
    } else if (c >= '1' && c <= '8') {
      fromRank = c - '1';
      t |= kTokFromRank;
    } else if (int pc = pieceOf(c, 5)) {
      piece = pc;
    }
  }
  t |= static_cast<uint32_t>(piece);
  t |= static_cast<uint32_t>(fromFile + 8 * fromRank) << 5;
  t |= static_cast<uint32_t>(promotion) << 18;
  return t;
}

int ParseFen(const char* fen, sPosition* p, int* moveNumberOffset, uint8_t letters[4]) {
  static const char kCodes[] = " pnbrqk  PNBRQK";
  sPosition q{};
  q.enPassant = kNoSquare;
  int errors = 0;
  const char* s = fen;
  while (*s == ' ') ++s;
  int placed = 0;  // squares filled, from a8 along each rank down to h1
  for (; *s && *s != ' '; ++s) {
    if (*s >= '1' && *s <= '9') {
      placed += *s - '0';
    } else if (const char* at = std::strchr(kCodes, *s); at && *s != ' ') {
      if (placed < 64) q.squares[(7 - placed / 8) * 8 + placed % 8] = static_cast<uint8_t>(at - kCodes);
      ++placed;
    }
    if (placed > 64) break;  // a placement running past h1 is broken
  }
  if (placed != 64) ++errors;
  while (*s && *s != ' ') ++s;
  while (*s == ' ') ++s;
  if (*s == 'w' || *s == 'b') {
    q.whiteToMove = *s == 'b' ? 0 : 1;
    ++s;
  } else {
    q.whiteToMove = 1;
    ++errors;
    while (*s && *s != ' ') ++s;
  }
  while (*s == ' ') ++s;
  for (; *s && *s != ' '; ++s) {
    if (*s == 'K') q.castle[kWhiteShort] = 1;
    if (*s == 'Q') q.castle[kWhiteLong] = 1;
    if (*s == 'k') q.castle[kBlackShort] = 1;
    if (*s == 'q') q.castle[kBlackLong] = 1;
  }
  while (*s == ' ') ++s;
  // A square the position cannot have (no pawn just passed it, or not on
  // the third or sixth rank) is dropped below, as other programs write it.
  if (*s == '-') {
    ++s;
  } else if (s[0] >= 'a' && s[0] <= 'h' && s[1] >= '1' && s[1] <= '8') {
    q.enPassant = static_cast<uint8_t>((s[1] - '1') * 8 + (s[0] - 'a'));
    s += 2;
  } else {
    ++errors;
  }
  while (*s && *s != ' ') ++s;
  while (*s == ' ') ++s;
  // Without the counters (as many programs write a position) the game
  // starts at move 1; a field there that is not a number is an error.
  if (*s && !IsDigit(*s)) ++errors;
  while (IsDigit(*s)) ++s;
  while (*s == ' ') ++s;
  if (!*s) {
  } else if (!IsDigit(*s)) {
    ++errors;
  } else {
    long n = 0;
    while (IsDigit(*s)) {
      if (n < 100000) n = n * 10 + (*s - '0');
      ++s;
    }
    *moveNumberOffset = n > 0 ? static_cast<int>(n - 1) : 0;
  }
  if (letters) std::memcpy(letters, q.castle, 4);
  CheckCastlingRights(&q);
  if (!CheckEnPassant(&q, 1)) GdBaseDll("removing illegal en passant flag.");
  *p = q;
  return errors;
}

int ReadPgnGames(PgnSource* source, PgnGameRecord* record, int options, const char* letters,
                 PgnGameCallback callback, void* user) {
  Reader reader(source, record, options, letters, callback, user);
  reader.Run();
  return reader.Stopped() ? 1 : 0;
}

}  // namespace gdbase
