// Conversion between game buffers and PGN records.
#include "convert.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "charset.h"
#include "texts.h"

namespace gdbase {
namespace {

constexpr int kMaxPending = 750;
constexpr int kCommentBlock = 2880;
constexpr int kCommentLine = 30;

struct SymbolNag {
  const char* text;
  int nag;
};
const SymbolNag kSymbolNags[] = {{"!!", 3},  {"??", 4}, {"!?", 5}, {"?!", 6}, {"+-", 18},
                                 {"-+", 19}, {"!", 1},  {"?", 2},  {"=", 11}};

// Codes 0xB1..0xD0 of the engine's code page: NAG when White moved, when Black moved.
int CodeNag(unsigned char c, bool white) {
  struct Entry {
    unsigned char code;
    int white, black;
  };
  static const Entry table[] = {
      {0xB7, 14, 14}, {0xB8, 15, 15}, {0xB9, 16, 16}, {0xBA, 17, 17},   {0xBB, 44, 45},   {0xBC, 13, 13},
      {0xBF, 7, 7},   {0xC1, 40, 41}, {0xC2, 36, 37}, {0xC3, 32, 33},   {0xC4, 132, 133}, {0xC5, 56, 57},
      {0xC6, 62, 63}, {0xC7, 26, 27}, {0xC8, 50, 51}, {0xCA, 138, 139}, {0xCD, 22, 23}};
  for (const auto& e : table)
    if (e.code == c) return white ? e.white : e.black;
  return 0;
}

void Copy(char* tag, const char* text) {
  size_t n = strnlen(text, 255);
  std::memcpy(tag, text, n);
  tag[n] = 0;
}

std::string JoinLines(const char* lines, int count, size_t size) {
  std::string text;
  const char* p = lines;
  const char* end = lines + size;
  for (int i = 0; i < count && p < end; ++i) {
    size_t len = strnlen(p, static_cast<size_t>(end - p));
    if (!text.empty()) text += ' ';
    text.append(p, len);
    p += len + 1;
  }
  std::string out;
  for (char c : text) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// Lines of at most 30 characters, cut at spaces; `count` gets their number.
bool SplitComment(const char* text, std::string* block, int* count) {
  block->clear();
  *count = 0;
  std::string s = text;
  size_t at = 0;
  while (at < s.size()) {
    while (at < s.size() && s[at] == ' ') ++at;
    if (at >= s.size()) break;
    size_t take = s.size() - at;
    if (take > kCommentLine) {
      size_t cut = s.rfind(' ', at + kCommentLine);
      take = (cut != std::string::npos && cut > at) ? cut - at : kCommentLine;
    }
    block->append(s, at, take);
    block->push_back(0);
    ++*count;
    at += take;
  }
  return block->size() <= kCommentBlock && *count <= 255;
}

struct GameWalker {
  GdgGame* game;
  PgnGameRecord* r;
  int entries = 0;
  bool failed = false;

  void StoreComment(GdgMove move, int slot) {
    static thread_local std::vector<char> lines(65536);
    int32_t count = GetLComment(game, move, lines.data(), static_cast<int32_t>(lines.size()));
    if (count > 0) {
      std::string text = JoinLines(lines.data(), count, lines.size());
      if (!text.empty()) {
        if (r->poolFill + static_cast<int>(text.size()) + 1 < 49999) {
          std::memcpy(r->pool + r->poolFill, text.c_str(), text.size() + 1);
          r->comments[slot] = static_cast<uint32_t>(r->poolFill);
          r->poolFill += static_cast<int>(text.size()) + 1;
        } else {
          GdBaseDll("comment buffer full, move annotation ignored.");
        }
      }
    }
  }
};

}  // namespace

uint16_t ShortCommentToNags(const char* text, bool whiteMoved) {
  uint16_t nags = 0;
  int count = 0;
  auto add = [&](int nag) {
    if (nag == 0) return;
    if (count == 2) {
      GdBaseDll("up to two NAG comments supported, ignoring $%d.", nag);
      return;
    }
    nags = static_cast<uint16_t>(nags | (nag << (8 * count)));
    ++count;
  };
  const char* s = text;
  if (*s == '$') ++s;
  while (*s) {
    if (*s >= '0' && *s <= '9') {
      long value = 0;
      while (*s >= '0' && *s <= '9') {
        if (value < 100000) value = value * 10 + (*s - '0');
        ++s;
      }
      if (value > 255)
        GdBaseDll("syntax error in NAG comment %s, value out of range.", text);
      else
        add(static_cast<int>(value));
      continue;
    }
    bool matched = false;
    for (const auto& sym : kSymbolNags) {
      size_t len = std::strlen(sym.text);
      if (std::strncmp(s, sym.text, len) == 0) {
        add(sym.nag);
        s += len;
        matched = true;
        break;
      }
    }
    if (matched) continue;
    unsigned char c = static_cast<unsigned char>(*s++);
    // '$' separates numbers written one after the other.
    if (c == '#' || c == 0x40 || c == '$') continue;
    if (c >= 0xB1 && c <= 0xD0) {
      int nag = CodeNag(c, whiteMoved);
      if (nag)
        add(nag);
      else
        GdBaseDll("no conversion exists for NAG comment %s.", text);
      continue;
    }
    GdBaseDll("syntax error in NAG comment %s, unknown character(s).", text);
    break;
  }
  return nags;
}

std::string NagsToShortComment(uint16_t nags) {
  std::string out;
  for (int k = 0; k < 2; ++k) {
    int nag = k == 0 ? nags & 0xFF : nags >> 8;
    if (nag == 0) continue;
    const char* symbol = nullptr;
    for (const auto& sym : kSymbolNags)
      if (sym.nag == nag) symbol = sym.text;
    if (symbol)
      out += symbol;
    else
      out += "$" + std::to_string(nag);
  }
  return out;
}

int GameToRecord(GdgGame* game, PgnGameRecord* r) {
  ClearPgnRecord(r);
  char text[256];
  // Header texts leave the game file's code page for the Windows one.
  auto put = [&](int tag, int (*get)(GdgGame*, char*, int32_t)) {
    get(game, text, sizeof text);
    Copy(r->Tag(tag), GameToWindows(text).c_str());
  };
  auto putSide = [&](int tag, int side, int (*get)(GdgGame*, int32_t, char*, int32_t)) {
    get(game, side, text, sizeof text);
    Copy(r->Tag(tag), GameToWindows(text).c_str());
  };
  put(kTagEvent, IGGameGetPlace);
  put(kTagSite, IGGameGetSite);
  putSide(kTagWhite, 0, IGGameGetPlayer);
  putSide(kTagBlack, 1, IGGameGetPlayer);
  putSide(kTagWhiteCountry, 0, IGGameGetCountry);
  putSide(kTagBlackCountry, 1, IGGameGetCountry);
  putSide(kTagWhiteTitle, 0, IGGameGetTitle);
  putSide(kTagBlackTitle, 1, IGGameGetTitle);
  put(kTagECO, IGGameGetKeycode);
  put(kTagAnnotator, IGGameGetAnnotator);
  put(kTagRemark, IGGameGetRemark);
  if (int elo = IGGameGetElo(game, 0)) std::snprintf(r->Tag(kTagWhiteElo), 256, "%d", elo);
  if (int elo = IGGameGetElo(game, 1)) std::snprintf(r->Tag(kTagBlackElo), 256, "%d", elo);
  if (int round = IGGameGetRound(game)) std::snprintf(r->Tag(kTagRound), 256, "%d", round);
  GdgDate date{};
  IGGameGetDate(game, &date);
  FormatDateText(r->Tag(kTagDate), static_cast<unsigned>(date.year), static_cast<unsigned>(date.month),
                 static_cast<unsigned>(date.day));
  for (int side = 0; side < 2; ++side) {
    int minutes = IGGameGetTime(game, side);
    if (minutes > 0)
      FormatTimeText(r->Tag(side ? kTagBlackTime : kTagWhiteTime), static_cast<unsigned>(minutes / 60),
                     static_cast<unsigned>(minutes % 60), 0);
  }
  if (char* bar = std::strchr(r->Tag(kTagEvent), '|')) {
    Copy(r->Tag(kTagRemark), bar + 1);
    *bar = 0;
  }
  switch (IGGameGetResult(game)) {
    case 1:
      r->result = 1;
      break;
    case 3:
      r->result = 2;
      break;
    case 2:
      r->result = 3;
      break;
    default:
      r->result = 0;
      break;
  }
  PgnResultText(r->Tag(kTagResult), r->result);
  if (IGGameGetStatusFlag(game, 1)) {
    uint8_t board[kGdgBoardSize];
    GetInitialPosition(game, board);
    LoadPositionFromGame(board, r->start, 1);
    uint16_t ply;
    std::memcpy(&ply, board + kGdgBoardPly, 2);
    r->moveNumberOffset = ply > 0 ? (ply - 1) / 2 : 0;
  }
  GameWalker w{game, r};
  GdgMove root = IGGameGetFirstMove(game);
  w.StoreComment(root, 0);
  IGMoveGetSComment(game, root, text, sizeof text);
  r->nags[0] = ShortCommentToNags(text, true);

  struct Pending {
    GdgMove move;
    sPosition before;
  };
  std::vector<Pending> pending;
  GdgMove first = IGMoveGetNEXT(game, root);
  if (first) pending.push_back({first, *r->start});
  bool mainLine = true;
  while (!pending.empty()) {
    Pending line = pending.back();
    pending.pop_back();
    sPosition pos = line.before;
    int lineStart = w.entries;
    for (GdgMove m = line.move; m; m = IGMoveGetNEXT(game, m)) {
      GdgMoveXY xy;
      IGMoveGetXY(game, m, &xy);
      uint16_t word = MakeMoveWord(xy.fromFile, xy.fromRank, xy.toFile, xy.toRank, xy.promotion);
      if (!IsMoveLegal(pos, word)) {
        GdBaseDll("%d%c illegal, game truncated.", (w.entries - lineStart) / 2 + 1,
                  pos.whiteToMove ? 'w' : 'b');
        break;
      }
      if (w.entries >= kPgnMaxMoves) return 2;
      // The first move of an alternative carries the marks of its siblings
      // already: an alternative's chain is taken up as that move's alternative.
      // Alternatives are stacked in the line's order: the last marked is
      // listed first, each followed by its own.
      GdgMove alt = IGMoveGetALT(game, m);
      if (alt) {
        word |= kEntryHasAlternative;
        pending.push_back(Pending{alt, pos});
      }
      r->moves[w.entries] = word;
      ++w.entries;
      r->nags[w.entries] = 0;
      r->comments[w.entries] = 0;
      w.StoreComment(m, w.entries);
      IGMoveGetSComment(game, m, text, sizeof text);
      r->nags[w.entries] = ShortCommentToNags(text, pos.whiteToMove != 0);
      PlayMoveOnPosition(&pos, word);
    }
    if (w.entries > lineStart) r->moves[w.entries - 1] |= kEntryLineEnd;
    if (pending.size() > static_cast<size_t>(kMaxPending)) return 2;
    if (mainLine) r->mainLength = w.entries;
    mainLine = false;
  }
  r->entryCount = w.entries > r->mainLength ? w.entries : 0;
  return 0;
}

namespace {

struct RecordWalker {
  const PgnGameRecord& r;
  GdgGame* game;
  int entries;
  bool corrupt = false;

  void Annotate(GdgMove move, int slot) {
    if (r.nags[slot]) {
      IGMovePutSComment(game, move, NagsToShortComment(r.nags[slot]).c_str());
      IGGamePutStatusFlag(game, 2, 1);
    }
    uint32_t offset = r.comments[slot];
    if (offset == 0 || offset >= static_cast<uint32_t>(kPgnPoolSize)) return;
    std::string text(r.pool + offset, strnlen(r.pool + offset, kPgnPoolSize - offset));
    std::string block;
    int count = 0;
    if (!SplitComment(text.c_str(), &block, &count)) {
      GdBaseDll("comment too long, skipped.");
      return;
    }
    if (count == 0) return;
    IGMovePutLComment(game, move, block.data(), count);
    IGGamePutStatusFlag(game, 2, 1);
  }

  // Adds the line at `index` (when `adding`), then the alternatives of its
  // marked moves; gives the index after all of it, -1 when the list ends early.
  int Line(int index, bool adding, int depth) {
    struct Marked {
      int entry;
      int32_t plyBefore;
      bool added;
    };
    std::vector<Marked> marked;
    int i = index;
    for (;; ++i) {
      if (i >= entries) return -1;
      uint16_t entry = r.moves[i];
      uint16_t word = static_cast<uint16_t>(entry & ~(kEntryHasAlternative | kEntryLineEnd));
      int32_t plyBefore = IGGameGetCM(game);
      bool added = false;
      if (adding) {
        GdgMoveXY xy{MoveFrom(word) % 8 + 1, MoveFrom(word) / 8 + 1, MoveTo(word) % 8 + 1,
                     MoveTo(word) / 8 + 1, 0};
        static const int kPromotion[4] = {12, 11, 10, 9};  // queen, rook, bishop, knight in board codes
        xy.promotion = kPromotion[MovePromotion(word)];
        if (LegalMove(game, &xy) && AcceptMove(game, &xy)) {
          added = true;
          Annotate(IGGameGetMovePtr(game), i + 1);
        } else {
          GdBaseDll("move %d rejected by GD-driver, game truncated.", i + 1);
          adding = false;
        }
      }
      if (entry & kEntryHasAlternative) marked.push_back({i, plyBefore, added});
      if (entry & kEntryLineEnd) break;
    }
    int next = i + 1;
    if (depth > 4000) return -1;
    for (auto it = marked.rbegin(); it != marked.rend(); ++it) {
      if (it->added) PlayMoves(game, it->plyBefore - IGGameGetCM(game));
      next = Line(next, it->added, depth + 1);
      if (next < 0) return -1;
    }
    return next;
  }
};

}  // namespace

void SetGameStart(GdgGame* game, const sPosition& start, int moveNumberOffset) {
  uint8_t board[kGdgBoardSize];
  IGNewBoard(board);
  for (int sq = 0; sq < 64; ++sq) {
    uint8_t piece = start.squares[sq];
    uint8_t code = 0;
    if (piece >= (kWhite | kPawn) && piece <= (kWhite | kKing))
      code = static_cast<uint8_t>(8 + (piece & 7) - 1);
    if (piece >= kPawn && piece <= kKing) code = static_cast<uint8_t>(16 + piece - 1);
    board[10 * (sq % 8 + 1) + (sq / 8 + 1)] = code;
  }
  int32_t castling = 0;
  if (start.castle[kWhiteShort]) castling |= 16;
  if (start.castle[kWhiteLong]) castling |= 32;
  if (start.castle[kBlackShort]) castling |= 64;
  if (start.castle[kBlackLong]) castling |= 128;
  castling &= CastlingRights(board);
  int32_t ep = start.enPassant < 64 ? (start.enPassant & 7) + 1 : 0;
  int32_t ply = 2 * moveNumberOffset + (start.whiteToMove ? 1 : 2);
  BoardToInitialPosition(game, board, castling, ep, ply);
}

void RecordToGame(const PgnGameRecord& r, GdgGame* game) {
  NewGameErase(game);
  // Header texts are stored in the game file's code page.
  auto text = [&](int tag) { return WindowsToGame(r.Tag(tag)); };
  IGGamePutPlace(game, text(kTagEvent).c_str());
  IGGamePutSite(game, text(kTagSite).c_str());
  IGGamePutPlayer(game, 0, text(kTagWhite).c_str());
  IGGamePutPlayer(game, 1, text(kTagBlack).c_str());
  IGGamePutCountry(game, 0, text(kTagWhiteCountry).c_str());
  IGGamePutCountry(game, 1, text(kTagBlackCountry).c_str());
  IGGamePutTitle(game, 0, text(kTagWhiteTitle).c_str());
  IGGamePutTitle(game, 1, text(kTagBlackTitle).c_str());
  IGGamePutKeycode(game, text(kTagECO).c_str());
  IGGamePutAnnotator(game, text(kTagAnnotator).c_str());
  IGGamePutRemark(game, text(kTagRemark).c_str());
  for (int side = 0; side < 2; ++side) {
    const char* t = r.Tag(side ? kTagBlackTime : kTagWhiteTime);
    if (!t[0]) continue;
    const char* s = t;
    long hours = std::strtol(s, const_cast<char**>(&s), 10);
    while (*s && (*s < '0' || *s > '9')) ++s;
    long minutes = std::strtol(s, nullptr, 10);
    IGGamePutTime(game, side, static_cast<int32_t>(hours * 60 + minutes));
  }
  if (r.Tag(kTagWhiteElo)[0]) IGGamePutElo(game, 0, std::atoi(r.Tag(kTagWhiteElo)));
  if (r.Tag(kTagBlackElo)[0]) IGGamePutElo(game, 1, std::atoi(r.Tag(kTagBlackElo)));
  if (r.Tag(kTagRound)[0]) IGGamePutRound(game, std::atoi(r.Tag(kTagRound)));
  int day, month, year;
  ParseDateText(r.Tag(kTagDate), &day, &month, &year);
  GdgDate date{year, month, day};
  IGGamePutDate(game, &date);
  const char* result = r.Tag(kTagResult);
  if (std::strcmp(result, "1-0") == 0) IGGamePutResult(game, 1);
  if (std::strcmp(result, "0-1") == 0) IGGamePutResult(game, 3);
  if (std::strcmp(result, "1/2-1/2") == 0) IGGamePutResult(game, 2);
  if (!IsInitialPosition(*r.start)) SetGameStart(game, *r.start, r.moveNumberOffset);
  RecordWalker w{r, game, r.Entries()};
  if (w.entries < 0 || w.entries > kPgnMaxMoves) w.entries = 0;
  w.Annotate(IGGameGetFirstMove(game), 0);
  if (r.entryCount > 0) IGGamePutStatusFlag(game, 6, 1);
  if (w.entries > 0 && w.Line(0, true, 0) < 0) ShowModuleError("Move tree corrupt.");
  NewGameRewind(game);
}

}  // namespace gdbase
