// Move notation: printing moves in six styles and six piece-letter
// languages, and reading typed or stored move text back.
//
// Printing interface: MoveToNotation, MoveToNotationEx, MoveToText,
// MoveToTextAtLevel, MoveListToText, SquareToText, MoveToCoords,
// CoordsToMove, SetNotationLanguage, LanguageFromName,
// DefaultNotationOptions.
// Reading interface: NormalizeMoveChar, NormalizeMoveInput,
// OptionsFromInput, MatchMoveTextEx, MatchMoveText, FindMoveMatches,
// TypeMoveKey, ParseAlgebraicMove, ParseMoveListText.
//
// Styles: 0 short algebraic (Nbd2, exd5, e8=Q+), 1 descriptive (P-K4),
// 2 figurine (as 0 with chess-font glyphs), 3 coordinate (e2-e4),
// 4 long algebraic (Ng1-f3), 5 numeric (5254).
//
// A move is printed at a "level": level 1 is the shortest form, higher levels
// name the moving piece more fully (from file, rank, square; in descriptive
// the side and rank of the pieces). The shortest unambiguous text is the
// lowest level at which no other legal move prints the same.
//
// The piece letters are program-wide (English at start); printing and reading
// use a scratch move list of the calling thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "board.h"
#include "moverecord.h"

enum NotationStyle {
  STYLE_ALGEBRAIC = 0,
  STYLE_DESCRIPTIVE = 1,
  STYLE_FIGURINE = 2,
  STYLE_COORDINATE = 3,
  STYLE_LONG_ALGEBRAIC = 4,
  STYLE_NUMERIC = 5,
};

// Which parts of a move's text are written (the eight option bytes).
struct NotationOptions {
  uint8_t dash;           // 1: "-" between the squares of a non-capture (styles 1, 3, 4)
  uint8_t captureMark;    // 1: "x" for a capture
  uint8_t enPassant;      // 0 none, 1 "ep", 2 "e.p.", 3 "EP", 4 "E.P."
  uint8_t promotion;      // 0 none, 1 piece letter, 2 "=" and piece letter
  uint8_t castling;       // 0 written as a king move, 1 "O-O", 2 "0-0"
  uint8_t check;          // 0 none, 1 "+", 2 " ch"
  uint8_t mate;           // 0 none, 1 "++", 2 "#"; a mate never also gets the check sign
  uint8_t promotionCase;  // 1 upper-case promotion letter, else lower case
};
static_assert(sizeof(NotationOptions) == 8, "the eight option bytes");

enum NotationLanguage {
  LANG_ENGLISH = 0,
  LANG_GERMAN = 1,
  LANG_SPANISH = 2,
  LANG_FRENCH = 3,
  LANG_DUTCH = 4,
  LANG_ICELANDIC = 5,
};

// Chess-font glyph codes for king, queen, rook, bishop, knight, pawn.
extern const uint8_t kFigurineGlyphs[6];

// Enough for any one move's text in any style.
constexpr size_t kNotationTextSize = 64;
// Enough for TypeMoveKey's square list (every square once).
constexpr size_t kSquareListTextSize = 129;

NotationOptions DefaultNotationOptions(int style);
void SetNotationLanguage(int language);
int LanguageFromName(const char* name);
// The six piece letters (king .. pawn) and the two colour letters (black,
// white) of the current language.
const char* NotationPieceLetters();
const char* NotationColourLetters();

// Two characters and a NUL; "??" for a square off the board.
char* SquareToText(int square, char* out);

// The text of a move in `style` with the style's default options; styles 0-2
// look the move up among the legal moves of `side` and print "XX" when it is
// not there. `out` holds kNotationTextSize characters.
char* MoveToNotation(const Board* board, const MoveRecord* move, int side, int style, char* out);
char* MoveToNotationEx(const Board* board, const MoveRecord* move, int side, int style, char* out,
                       int* level);
// The text of list entry `index`, made unambiguous against the other entries
// (styles 0-2); "XX" and level 0 when the index is not below the count.
// Returns the level used.
int MoveToText(const Board* board, const MoveRecord* list, int count, int index, int style,
               const NotationOptions* options, char* out);
// The text at one level; empty when the style has no such level. Returns
// the length.
int MoveToTextAtLevel(const Board* board, const MoveRecord* list, int index, int style,
                      const NotationOptions* options, int level, char* out);
// Moves from `first` on, separated by blanks; `ply` and `side` are those of
// moves[0], which is played from `board` (moves before `first` are played but
// not printed). With `numbered`, "N. " before white moves and "N... " before
// a first move of black, N = (ply + index) / 2 + 1. With `check`, the moves
// are first put through ReplayMoveList (which may cut the list). The text is
// cut to fit `outSize`. Returns the length written.
size_t MoveListToText(const Board* board, MoveRecord* moves, int count, int first, int ply, int side,
                      int style, bool numbered, bool check, char* out, size_t outSize);

// Characters of the squares ('a'..'h', '1'..'8') and promotion 0-4.
struct MoveCoords {
  int32_t fromFile;
  int32_t fromRank;
  int32_t toFile;
  int32_t toRank;
  int32_t promotion;  // 1 queen, 2 rook, 3 bishop, 4 knight
};
void MoveToCoords(const MoveRecord* move, MoveCoords* coords);
// Sets from, to and the flag word (the promotion number, 0 when none); false
// and the record unchanged when a square or the promotion is out of range.
bool CoordsToMove(const MoveCoords* coords, MoveRecord* move);

char NormalizeMoveChar(char c, int style);
void NormalizeMoveInput(char* text, int style);
NotationOptions OptionsFromInput(const char* text, int style);

// Compares typed text with every legal entry of the list (entries flagged
// illegal are skipped), each printed at increasing levels with the options
// the text implies. `exact` compares whole texts, otherwise the text must be
// a prefix of the printed one. `matched` (optional, one per entry) marks the
// matching entries; `fullLength` tells whether the last match was as long as
// the text. Returns the number of matches; `firstIndex` is the first match,
// the count when none.
int MatchMoveTextEx(const char* text, const Board* board, const MoveRecord* list, int count, int style,
                    bool* matched, int* matchCount, bool stopAtFirst, int* firstIndex, bool exact,
                    bool* fullLength);
int MatchMoveText(const char* text, const Board* board, const MoveRecord* list, int count, int style,
                  int* firstIndex);
int FindMoveMatches(const char* text, const Board* board, const MoveRecord* list, int count, int style,
                    bool* matched, int* matchCount, int* firstIndex, bool* fullLength);

// One key of keyboard move entry into `typed` (a buffer of `typedSize`
// bytes): Backspace (8) removes a character, Enter (13) asks for a decision,
// other keys are appended and refused again when nothing matches. With
// `wantSquares`, `squares` (kSquareListTextSize bytes) lists the from and to
// squares of the matching moves. Returns the number of matches.
int TypeMoveKey(char* typed, size_t typedSize, int key, const Board* board, const MoveRecord* list, int count,
                int style, bool wantSquares, int* matchCount, char* squares, int* firstIndex,
                bool* fullLength, bool* ambiguous);

// The legal move of `side` whose short algebraic text matches (capture,
// check, promotion and en-passant marks are ignored). False, `out` unchanged,
// when none does. `out` should own no texts: it is overwritten whole.
bool ParseAlgebraicMove(MoveRecord* out, const char* text, const Board* board, int side);
// Reads blank-separated moves, playing each on a copy of the board; stops at
// the first text that is not a legal move. `count` is the capacity in and
// the number read out, which is also returned.
int ParseMoveListText(MoveRecord* moves, int* count, const char* text, const Board* board, int side);
