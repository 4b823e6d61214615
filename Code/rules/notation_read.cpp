// Reading move text: typed keys, typed or stored texts matched against the
// legal moves, and short algebraic move lists.
#include <cstring>

#include "movegen.h"
#include "notation.h"
#include "notation_internal.h"

namespace {

bool Has(const char* text, const char* what) { return std::strstr(text, what) != nullptr; }
bool Has(const char* text, char c) { return std::strchr(text, c) != nullptr && c != '\0'; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

char NormalizeMoveChar(char c, int style) {
  switch (style) {
    case STYLE_ALGEBRAIC:
    case STYLE_FIGURINE:
    case STYLE_LONG_ALGEBRAIC:
      if ((c >= 'a' && c <= 'h') || (c >= 'A' && c <= 'H')) return c;
      if (c == 'x' || c == 'X') return 'x';
      if (c == 'p' || c == 'P') return 'p';
      return Upper(c);
    case STYLE_DESCRIPTIVE:
      if (Upper(c) == 'C' || Upper(c) == 'H' || Upper(c) == 'X') return Lower(c);
      return Upper(c);
    case STYLE_COORDINATE:
      if (c == 'o' || c == 'O') return 'O';
      return Lower(c);
    default:
      return c;
  }
}

void NormalizeMoveInput(char* text, int style) {
  if (!text) return;
  for (char* p = text; *p; ++p) *p = NormalizeMoveChar(*p, style);
}

NotationOptions OptionsFromInput(const char* text, int style) {
  NotationOptions o{};
  o.promotion = 1;
  o.castling = style == STYLE_NUMERIC ? 0 : 1;
  o.promotionCase = DefaultNotationOptions(style).promotionCase;
  if (!text) return o;
  if (Has(text, '-')) o.dash = 1;
  if (const char* x = std::strchr(text, 'x')) {
    o.captureMark = 1;
    if (style != STYLE_DESCRIPTIVE && x[1] >= 'a' && x[1] <= 'h' && x[2] >= '1' && x[2] <= '8' &&
        Upper(x[3]) == 'E')
      o.enPassant = 1;
  }
  if (style == STYLE_DESCRIPTIVE && Has(text, 'E')) o.enPassant = 3;
  if (Has(text, '.')) o.enPassant = style == STYLE_DESCRIPTIVE ? 4 : 2;
  if (Has(text, 'X')) o.captureMark = 1;
  if (Has(text, '=')) o.promotion = 2;
  if (style == STYLE_COORDINATE && !Has(text, 'O') && !Has(text, '0')) o.castling = 0;
  if (Has(text, '0') && style != STYLE_NUMERIC) o.castling = 2;
  if (Has(text, '+')) o.check = 1;
  if (Has(text, "++")) o.mate = 1;
  return o;
}

int MatchMoveTextEx(const char* text, const Board* board, const MoveRecord* list, int count, int style,
                    bool* matched, int* matchCount, bool stopAtFirst, int* firstIndex, bool exact,
                    bool* fullLength) {
  int matches = 0;
  int first = count;
  bool full = false;
  if (text && board && list) {
    const NotationOptions options = OptionsFromInput(text, style);
    const size_t length = std::strlen(text);
    const int maxLevel = style >= STYLE_COORDINATE ? 1 : 64;
    char printed[kNotationTextSize];
    for (int i = 0; i < count; ++i) {
      if (matched) matched[i] = false;
      if (list[i].flags & MOVE_ILLEGAL) continue;
      for (int level = 1; level <= maxLevel; ++level) {
        const int n = PrintMoveAtLevel(*board, list[i], style, options, level, printed);
        if (n == 0) break;
        const bool same = exact ? std::strcmp(text, printed) == 0 : std::strncmp(text, printed, length) == 0;
        if (!same) continue;
        if (matches++ == 0) first = i;
        if (matched) matched[i] = true;
        full = static_cast<size_t>(n) == length;
        break;
      }
      if (stopAtFirst && matches > 0) {
        // Later entries keep cleared flags, as if compared and not matched.
        if (matched)
          for (int j = i + 1; j < count; ++j) matched[j] = false;
        break;
      }
    }
  }
  if (matchCount) *matchCount = matches;
  if (firstIndex) *firstIndex = first;
  if (fullLength) *fullLength = full;
  return matches;
}

int MatchMoveText(const char* text, const Board* board, const MoveRecord* list, int count, int style,
                  int* firstIndex) {
  return MatchMoveTextEx(text, board, list, count, style, nullptr, nullptr, true, firstIndex, true, nullptr);
}

int FindMoveMatches(const char* text, const Board* board, const MoveRecord* list, int count, int style,
                    bool* matched, int* matchCount, int* firstIndex, bool* fullLength) {
  return MatchMoveTextEx(text, board, list, count, style, matched, matchCount, false, firstIndex, true,
                         fullLength);
}

int TypeMoveKey(char* typed, size_t typedSize, int key, const Board* board, const MoveRecord* list, int count,
                int style, bool wantSquares, int* matchCount, char* squares, int* firstIndex,
                bool* fullLength, bool* ambiguous) {
  if (matchCount) *matchCount = 0;
  if (firstIndex) *firstIndex = count;
  if (fullLength) *fullLength = false;
  if (ambiguous) *ambiguous = false;
  if (squares) squares[0] = '\0';
  if (!typed || typedSize == 0 || !board || !list) return 0;
  if (count > kMoveListRoom) count = kMoveListRoom;
  typed[typedSize - 1] = '\0';

  const bool enter = key == 13;
  bool appended = false;
  size_t length = std::strlen(typed);
  if (key == 8) {
    if (length > 0) typed[--length] = '\0';
  } else if (!enter) {
    char c = NormalizeMoveChar(static_cast<char>(key), style);
    if (style == STYLE_FIGURINE) {
      for (int type = KING; type < PAWN; ++type)
        if (c == NotationPieceLetters()[type]) c = static_cast<char>(kFigurineGlyphs[type]);
    }
    if (c != '\0' && length + 1 < typedSize) {
      typed[length++] = c;
      typed[length] = '\0';
      appended = true;
    } else {
      if (ambiguous) *ambiguous = true;  // a full buffer refuses the key
    }
  }
  if (length == 0) return 0;

  bool matched[kMoveListRoom];
  int first = count;
  bool full = false;
  int matches =
      MatchMoveTextEx(typed, board, list, count, style, matched, nullptr, false, &first, false, &full);

  if (enter && matches >= 2) {
    // "O-O" is a prefix of "O-O-O": two matches led by short castling mean it.
    if (matches == 2 && (list[first].flags & MOVE_CASTLE_SHORT)) {
      for (int i = first + 1; i < count; ++i) matched[i] = false;
      matches = 1;
    } else if (ambiguous) {
      *ambiguous = true;
    }
  }
  if (matches == 0) {
    if (ambiguous) *ambiguous = true;
    if (appended) typed[--length] = '\0';
  }
  if (wantSquares && squares && matches > 0) {
    TextOut t(squares, kSquareListTextSize);
    for (int row = 0; row < 8; ++row) {
      for (int file = 0; file < 8; ++file) {
        const int s = MakeSquare(row, file);
        for (int i = 0; i < count; ++i) {
          if (matched[i] && (list[i].from == s || list[i].to == s)) {
            char name[3];
            t.Put(SquareToText(s, name));
            break;
          }
        }
      }
    }
  }
  if (matchCount) *matchCount = matches;
  if (firstIndex) *firstIndex = first;
  if (fullLength) *fullLength = full;
  return matches;
}

bool ParseAlgebraicMove(MoveRecord* out, const char* text, const Board* board, int side) {
  if (!out || !text || !board) return false;
  char clean[20];
  size_t n = 0;
  for (const char* p = text; *p && n < sizeof clean - 1; ++p) {
    if (std::strchr("xX.=+#", *p)) continue;
    clean[n++] = *p;
  }
  clean[n] = '\0';
  if (char* ep = std::strstr(clean, "ep"))
    *ep = '\0';
  else if (char* EP = std::strstr(clean, "EP"))
    *EP = '\0';
  if (!clean[0]) return false;

  NotationOptions options{};
  options.promotion = 1;
  options.castling = Has(text, "0-0") ? 2 : 1;
  options.promotionCase = 1;

  MoveRecord* legal = NotationScratch();
  const int count = GenerateLegalMoves(board, legal, nullptr, side);
  char printed[kNotationTextSize];
  for (int i = 0; i < count; ++i) {
    MoveToText(board, legal, count, i, STYLE_ALGEBRAIC, &options, printed);
    if (std::strcmp(printed, clean) == 0) {
      *out = legal[i];
      return true;
    }
  }
  for (int level = 2; level <= 4; ++level) {
    for (int i = 0; i < count; ++i) {
      MoveToTextAtLevel(board, legal, i, STYLE_ALGEBRAIC, &options, level, printed);
      if (printed[0] && std::strcmp(printed, clean) == 0) {
        *out = legal[i];
        return true;
      }
    }
  }
  return false;
}

int ParseMoveListText(MoveRecord* moves, int* count, const char* text, const Board* board, int side) {
  const int capacity = count ? *count : 0;
  int read = 0;
  if (moves && text && board) {
    Board work = *board;
    const char* p = text;
    while (read < capacity) {
      while (IsBlank(*p)) ++p;
      if (!*p) break;
      char token[kNotationTextSize];
      size_t n = 0;
      for (; *p && !IsBlank(*p); ++p)
        if (n < sizeof token - 1) token[n++] = *p;
      token[n] = '\0';
      MoveRecord move;
      if (!ParseAlgebraicMove(&move, token, &work, side)) break;
      moves[read] = move;
      MakeMove(&move, &work);
      side = OtherSide(side);
      ++read;
    }
  }
  if (count) *count = read;
  return read;
}
