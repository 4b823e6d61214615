// Printing moves: the text of one move at one level in each style, the
// shortest unambiguous text, move lists, squares and coordinates.
#include <cstdio>
#include <cstring>

#include "movegen.h"
#include "notation.h"
#include "notation_internal.h"

const uint8_t kFigurineGlyphs[6] = {0x8B, 0x89, 0x88, 0x86, 0x87, 0x85};

namespace {

const NotationOptions kDefaultOptions[6] = {
    {0, 1, 0, 2, 1, 1, 2, 1},  // short algebraic
    {1, 1, 3, 2, 1, 2, 0, 1},  // descriptive
    {0, 1, 1, 2, 1, 1, 2, 1},  // figurine
    {1, 1, 1, 2, 1, 1, 2, 0},  // coordinate
    {1, 1, 1, 2, 1, 1, 2, 1},  // long algebraic
    {0, 0, 0, 0, 0, 0, 0, 0},  // numeric
};

struct Language {
  const char* name;
  char pieces[7];
  char colours[3];
};

const Language kLanguages[] = {
    {"ENGLISH", "KQRBNP", "BW"}, {"GERMAN", "KDTLSB", "SW"}, {"SPANISH", "RDTACP", "  "},
    {"FRENCH", "RDTFCP", "NB"},  {"DUTCH", "KDTLPP", "  "},  {"ICELANDIC", "KDHBRP", "  "},
};

// Program-wide letters, set by the notation-language setting.
char gPieceLetters[7] = "KQRBNP";
char gColourLetters[3] = "BW";

// Descriptive capture levels: (mover level, captured level).
const uint8_t kCaptureLevels[48][2] = {
    {1, 1}, {2, 1}, {3, 1}, {1, 3}, {2, 3}, {3, 3}, {4, 1}, {1, 4}, {2, 4}, {4, 3}, {3, 4}, {4, 4},
    {5, 1}, {1, 5}, {2, 5}, {5, 3}, {3, 5}, {5, 4}, {4, 5}, {5, 5}, {6, 1}, {6, 3}, {6, 4}, {6, 5},
    {7, 1}, {1, 7}, {2, 7}, {7, 3}, {3, 7}, {7, 4}, {4, 7}, {7, 5}, {5, 7}, {6, 7}, {7, 7}, {8, 1},
    {1, 8}, {2, 8}, {8, 3}, {3, 8}, {8, 4}, {4, 8}, {8, 5}, {5, 8}, {6, 8}, {8, 7}, {7, 8}, {8, 8},
};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsCastling(const MoveRecord& m) { return (m.flags & (MOVE_CASTLE_LONG | MOVE_CASTLE_SHORT)) != 0; }
bool IsCapture(const MoveRecord& m) { return (m.flags & MOVE_CAPTURE) != 0; }

// The parts every style shares.
void PutCastling(TextOut& t, const MoveRecord& m, const NotationOptions& o) {
  const char* zero = o.castling == 2 ? "0" : "O";
  t.Put(zero);
  t.Put('-');
  t.Put(zero);
  if (m.flags & MOVE_CASTLE_LONG) {  // long castling is tested first
    t.Put('-');
    t.Put(zero);
  }
}

void PutEnPassant(TextOut& t, const MoveRecord& m, const NotationOptions& o) {
  static const char* const kSuffix[5] = {"", "ep", "e.p.", "EP", "E.P."};
  if ((m.flags & MOVE_EN_PASSANT) && o.enPassant <= 4) t.Put(kSuffix[o.enPassant]);
}

void PutPromotion(TextOut& t, const MoveRecord& m, const NotationOptions& o, int style) {
  if (!(m.flags & MOVE_PROMOTION) || o.promotion == 0) return;
  if (o.promotion == 2) t.Put('=');
  int type = m.flags & MOVE_PROMOTION_TYPE;
  if (type < QUEEN || type > KNIGHT) {
    t.Put('?');
  } else if (style == STYLE_FIGURINE) {
    t.Put(static_cast<char>(kFigurineGlyphs[type]));
  } else {
    char c = gPieceLetters[type];
    t.Put(o.promotionCase == 1 ? c : Lower(c));
  }
}

void PutCheckMate(TextOut& t, const MoveRecord& m, const NotationOptions& o) {
  if (m.flags & MOVE_MATE) {
    if (o.mate == 1)
      t.Put("++");
    else if (o.mate == 2)
      t.Put('#');
    return;
  }
  if (m.flags & MOVE_CHECK) {
    if (o.check == 1)
      t.Put('+');
    else if (o.check == 2)
      t.Put(" ch");
  }
}

void PutSquare(TextOut& t, int square) {
  char s[3];
  SquareToText(square, s);
  t.Put(s);
}

char PieceSymbol(int type, int style) {
  if (type > PAWN) return '?';
  return style == STYLE_FIGURINE ? static_cast<char>(kFigurineGlyphs[type]) : gPieceLetters[type];
}

// Styles 0 and 2.
void AlgebraicMoveText(TextOut& t, const Board& b, const MoveRecord& m, int style, const NotationOptions& o,
                       int level) {
  const int type = b[m.from] & TYPE_MASK;
  if (!b[m.from] || type > PAWN) return;
  if (IsCastling(m) && o.castling) {
    if (level != 1) return;
    PutCastling(t, m, o);
    PutCheckMate(t, m, o);
    return;
  }
  if (type == PAWN) {
    if (level == 1) {
      if (IsCapture(m)) {
        t.Put(static_cast<char>('a' + SquareFile(m.from)));
        if (o.captureMark) t.Put('x');
      }
      PutSquare(t, m.to);
    } else if (level == 2 && IsCapture(m)) {
      t.Put(static_cast<char>('a' + SquareFile(m.from)));
      if (o.captureMark) t.Put('x');
      t.Put(static_cast<char>('a' + SquareFile(m.to)));
    } else {
      return;
    }
    PutPromotion(t, m, o, style);
    PutEnPassant(t, m, o);
    PutCheckMate(t, m, o);
    return;
  }
  if (level < 1 || level > 4 || (type == KING && level != 1 && level != 4)) return;
  t.Put(PieceSymbol(type, style));
  if (level == 2 || level == 4) t.Put(static_cast<char>('a' + SquareFile(m.from)));
  if (level == 3 || level == 4) t.Put(static_cast<char>('8' - SquareRow(m.from)));
  if (IsCapture(m) && o.captureMark) t.Put('x');
  PutSquare(t, m.to);
  PutCheckMate(t, m, o);
}

// Descriptive: ranks are counted from the mover's side.
char MoverRank(int square, int colour) {
  int rank = 8 - SquareRow(square);
  return static_cast<char>('0' + (colour == BLACK ? 9 - rank : rank));
}

// The piece `letter` standing on `square`, named at designation level 1-8.
void PutDesignation(TextOut& t, char letter, int square, int level, int colour) {
  const int file = SquareFile(square);
  const bool centre = file == 3 || file == 4;  // d- and e-file: the side letter names the file
  const char side = gPieceLetters[file >= 4 ? KING : QUEEN];
  const char fileLetter = centre ? side : gPieceLetters[kBackRankOrder[file]];
  const bool withSide = level == 2 || level == 5 || level == 6 || level == 8;
  const bool withFile = level == 4 || level == 5 || level == 7 || level == 8;
  const bool withRank = level == 3 || level == 6 || level == 7 || level == 8;
  if (withSide) t.Put(side);
  if (withFile && !(withSide && centre)) t.Put(fileLetter);
  t.Put(letter);
  if (withRank) {
    t.Put('/');
    t.Put(MoverRank(square, colour));
  }
}

// A destination square in form 1 (B4, K4) or form 2 (QB4, K4).
void PutDestination(TextOut& t, int square, int form, int colour) {
  const int file = SquareFile(square);
  const char side = file >= 4 ? 'K' : 'Q';
  if (file == 3 || file == 4) {
    t.Put(side);
  } else {
    if (form == 2) t.Put(side);
    t.Put(gPieceLetters[kBackRankOrder[file]]);
  }
  t.Put(MoverRank(square, colour));
}

void DescriptiveMoveText(TextOut& t, const Board& b, const MoveRecord& m, const NotationOptions& o,
                         int level) {
  const uint8_t piece = b[m.from];
  const int type = piece & TYPE_MASK;
  const int colour = piece & COLOUR_MASK;
  if (!piece || type > PAWN || level < 1) return;
  if (IsCastling(m) && o.castling) {
    if (level != 1) return;
    PutCastling(t, m, o);
    PutCheckMate(t, m, o);
    return;
  }
  if (!IsCapture(m)) {
    if (level > 16) return;
    PutDesignation(t, gPieceLetters[type], m.from, (level + 1) / 2, colour);
    if (o.dash) t.Put('-');
    PutDestination(t, m.to, level % 2 ? 1 : 2, colour);
    PutPromotion(t, m, o, STYLE_DESCRIPTIVE);
    PutCheckMate(t, m, o);
    return;
  }
  if (level > 48) return;
  int capturedType = (m.flags & MOVE_EN_PASSANT) || !b[m.to] ? PAWN : (b[m.to] & TYPE_MASK);
  if (capturedType > PAWN) capturedType = PAWN;
  PutDesignation(t, gPieceLetters[type], m.from, kCaptureLevels[level - 1][0], colour);
  if (o.captureMark) t.Put('x');
  PutDesignation(t, gPieceLetters[capturedType], m.to, kCaptureLevels[level - 1][1], colour);
  PutPromotion(t, m, o, STYLE_DESCRIPTIVE);
  PutEnPassant(t, m, o);
  PutCheckMate(t, m, o);
}

// Styles 3 and 4.
void CoordinateMoveText(TextOut& t, const Board& b, const MoveRecord& m, int style,
                        const NotationOptions& o) {
  if (IsCastling(m) && o.castling) {
    PutCastling(t, m, o);
    PutCheckMate(t, m, o);
    return;
  }
  const int type = b[m.from] & TYPE_MASK;
  if (style == STYLE_LONG_ALGEBRAIC && b[m.from] && type < PAWN) t.Put(gPieceLetters[type]);
  PutSquare(t, m.from);
  if (IsCapture(m) && o.captureMark)
    t.Put('x');
  else if (o.dash)
    t.Put('-');
  PutSquare(t, m.to);
  PutEnPassant(t, m, o);
  PutPromotion(t, m, o, style);
  PutCheckMate(t, m, o);
}

void NumericMoveText(TextOut& t, const MoveRecord& m) {
  static const char kPromotionDigits[] = "?1234???";
  t.Put(static_cast<char>('1' + SquareFile(m.from)));
  t.Put(static_cast<char>('8' - SquareRow(m.from)));
  t.Put(static_cast<char>('1' + SquareFile(m.to)));
  if (m.flags & MOVE_PROMOTION)
    t.Put(kPromotionDigits[m.flags & MOVE_PROMOTION_TYPE]);
  else
    t.Put(static_cast<char>('8' - SquareRow(m.to)));
}

}  // namespace

void TextOut::Put(char c) {
  if (n + 1 < capacity) {
    out[n++] = c;
    out[n] = '\0';
  }
}

void TextOut::Put(const char* s) {
  while (*s) Put(*s++);
}

int PrintMoveAtLevel(const Board& board, const MoveRecord& move, int style, const NotationOptions& options,
                     int level, char* out) {
  TextOut t(out, kNotationTextSize);
  if (!OnBoard(move.from) || !OnBoard(move.to)) return 0;
  switch (style) {
    case STYLE_ALGEBRAIC:
    case STYLE_FIGURINE:
      AlgebraicMoveText(t, board, move, style, options, level);
      break;
    case STYLE_DESCRIPTIVE:
      DescriptiveMoveText(t, board, move, options, level);
      break;
    case STYLE_COORDINATE:
    case STYLE_LONG_ALGEBRAIC:
      if (level == 1) CoordinateMoveText(t, board, move, style, options);
      break;
    case STYLE_NUMERIC:
      if (level == 1) NumericMoveText(t, move);
      break;
    default:
      break;
  }
  return static_cast<int>(t.n);
}

MoveRecord* NotationScratch() {
  thread_local MoveRecord moves[kMoveListRoom];
  return moves;
}

NotationOptions DefaultNotationOptions(int style) {
  if (style < 0 || style > 5) return NotationOptions{};
  return kDefaultOptions[style];
}

void SetNotationLanguage(int language) {
  if (language < 0 || language > LANG_ICELANDIC) language = LANG_ENGLISH;
  std::memcpy(gPieceLetters, kLanguages[language].pieces, sizeof gPieceLetters);
  std::memcpy(gColourLetters, kLanguages[language].colours, sizeof gColourLetters);
}

int LanguageFromName(const char* name) {
  if (!name) return LANG_ENGLISH;
  struct Alias {
    const char* name;
    int language;
  };
  static const Alias kAliases[] = {{"ENGLISH", 0}, {"GERMAN", 1},    {"SPANISH", 2}, {"FRENCH", 3},
                                   {"DUTCH", 4},   {"ICELANDIC", 5}, {"DEUTSCH", 1}, {"FRANCIAS", 3}};
  for (const Alias& a : kAliases) {
    const char* p = name;
    const char* q = a.name;
    while (*p && *q && (*p == *q || *p == Lower(*q))) ++p, ++q;
    if (!*p && !*q) return a.language;
  }
  return LANG_ENGLISH;
}

const char* NotationPieceLetters() { return gPieceLetters; }
const char* NotationColourLetters() { return gColourLetters; }

char* SquareToText(int square, char* out) {
  if (!out) return out;
  if (!OnBoard(square)) {
    out[0] = out[1] = '?';
  } else {
    out[0] = static_cast<char>('a' + SquareFile(square));
    out[1] = static_cast<char>('8' - SquareRow(square));
  }
  out[2] = '\0';
  return out;
}

int MoveToTextAtLevel(const Board* board, const MoveRecord* list, int index, int style,
                      const NotationOptions* options, int level, char* out) {
  if (!out) return 0;
  out[0] = '\0';
  if (!board || !list || !options || index < 0) return 0;
  return PrintMoveAtLevel(*board, list[index], style, *options, level, out);
}

int MoveToText(const Board* board, const MoveRecord* list, int count, int index, int style,
               const NotationOptions* options, char* out) {
  if (!out) return 0;
  out[0] = '\0';
  if (!board || !list || !options) return 0;
  if (index < 0 || index >= count) {
    std::strcpy(out, "XX");
    return 0;
  }
  if (style < STYLE_ALGEBRAIC || style > STYLE_NUMERIC) return 0;
  if (style >= STYLE_COORDINATE) {
    PrintMoveAtLevel(*board, list[index], style, *options, 1, out);
    return 1;
  }
  NotationOptions compare = *options;
  compare.enPassant = 0;
  compare.promotion = 1;
  compare.check = 0;
  compare.mate = 0;
  char mine[kNotationTextSize], other[kNotationTextSize];
  int level = 1;
  for (;;) {
    if (PrintMoveAtLevel(*board, list[index], style, compare, level, mine) == 0) {
      --level;
      break;
    }
    bool clash = false;
    for (int j = 0; j < count && !clash; ++j) {
      if (j == index || (list[j].flags & MOVE_ILLEGAL)) continue;
      PrintMoveAtLevel(*board, list[j], style, compare, level, other);
      clash = std::strcmp(mine, other) == 0;
    }
    if (!clash) break;
    ++level;
  }
  PrintMoveAtLevel(*board, list[index], style, *options, level, out);
  return level;
}

char* MoveToNotationEx(const Board* board, const MoveRecord* move, int side, int style, char* out,
                       int* level) {
  if (level) *level = 0;
  if (!out) return out;
  out[0] = '\0';
  if (!board || !move) return out;
  const NotationOptions options = DefaultNotationOptions(style);
  int used = 0;
  if (style >= STYLE_ALGEBRAIC && style <= STYLE_FIGURINE) {
    MoveRecord* legal = NotationScratch();
    const int n = GenerateLegalMoves(board, legal, nullptr, side);
    used = MoveToText(board, legal, n, FindMoveInList(move, legal, n), style, &options, out);
  } else if (style >= STYLE_COORDINATE && style <= STYLE_NUMERIC) {
    PrintMoveAtLevel(*board, *move, style, options, 1, out);
    used = 1;
  }
  if (level) *level = used;
  return out;
}

char* MoveToNotation(const Board* board, const MoveRecord* move, int side, int style, char* out) {
  return MoveToNotationEx(board, move, side, style, out, nullptr);
}

size_t MoveListToText(const Board* board, MoveRecord* moves, int count, int first, int ply, int side,
                      int style, bool numbered, bool check, char* out, size_t outSize) {
  if (!out || outSize == 0) return 0;
  TextOut t(out, outSize);
  if (!board || !moves) return 0;
  if (check) ReplayMoveList(board, side, moves, count);
  Board work = *board;
  for (int i = 0; i < count; ++i) {
    if (moves[i].flags == MOVE_LIST_END) break;
    if (i >= first) {
      if (i > first) t.Put(' ');
      if (numbered && (side == WHITE || i == first)) {
        char number[24];
        std::snprintf(number, sizeof number, side == WHITE ? "%d. " : "%d... ", (ply + i) / 2 + 1);
        t.Put(number);
      }
      char text[kNotationTextSize];
      MoveToNotation(&work, &moves[i], side, style, text);
      t.Put(text);
    }
    MoveRecord played = moves[i];
    MakeMove(&played, &work);
    side = OtherSide(side);
  }
  return t.n;
}

void MoveToCoords(const MoveRecord* move, MoveCoords* coords) {
  if (!move || !coords) return;
  coords->fromFile = 'a' + SquareFile(move->from);
  coords->fromRank = '8' - SquareRow(move->from);
  coords->toFile = 'a' + SquareFile(move->to);
  coords->toRank = '8' - SquareRow(move->to);
  coords->promotion = (move->flags & MOVE_PROMOTION) ? (move->flags & MOVE_PROMOTION_TYPE) : 0;
}

bool CoordsToMove(const MoveCoords* coords, MoveRecord* move) {
  if (!coords || !move) return false;
  auto fileOk = [](int32_t c) { return c >= 'a' && c <= 'h'; };
  auto rankOk = [](int32_t c) { return c >= '1' && c <= '8'; };
  if (!fileOk(coords->fromFile) || !rankOk(coords->fromRank) || !fileOk(coords->toFile) ||
      !rankOk(coords->toRank) || coords->promotion < 0 || coords->promotion > 4)
    return false;
  move->from = static_cast<uint8_t>(MakeSquare('8' - coords->fromRank, coords->fromFile - 'a'));
  move->to = static_cast<uint8_t>(MakeSquare('8' - coords->toRank, coords->toFile - 'a'));
  move->flags = static_cast<uint16_t>(coords->promotion);
  return true;
}
