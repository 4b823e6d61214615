// Positions as text: FEN and the program's board position text (eight lines
// of two-letter cells), the plausibility check of a set-up board, and
// position files of either kind.
//
// Interface: BoardToFen, ParseFen, PositionToText, ParseBoardTextCode,
// ParseBoardText, ValidateBoard, BoardFaultsText, ShowBoardFaults,
// ReadPositionFile, WritePositionFile.
#pragma once

#include <cstddef>
#include <cstdint>

#include "board.h"

struct GameRecord;

// FEN reader codes.
enum FenError {
  FEN_OK = 0,
  FEN_OFF_BOARD = 11,
  FEN_BAD_PIECE = 12,
  FEN_BAD_SIDE = 13,
  FEN_CASTLING_NOT_ALLOWED = 14,
  FEN_BAD_CASTLING = 15,
  FEN_BAD_EN_PASSANT = 16,
};

// Board faults of ValidateBoard.
enum BoardFault : uint32_t {
  FAULT_PAWN_RANK8 = 0x001,
  FAULT_PAWN_RANK1 = 0x002,
  FAULT_WHITE_KINGS = 0x004,
  FAULT_BLACK_KINGS = 0x008,
  FAULT_WHITE_PAWNS = 0x010,
  FAULT_BLACK_PAWNS = 0x020,
  FAULT_WHITE_MEN = 0x040,
  FAULT_BLACK_MEN = 0x080,
  FAULT_WHITE_PROMOTED = 0x100,
  FAULT_BLACK_PROMOTED = 0x200,
};

// Position file kinds.
enum PositionFileKind { POSITION_BOARD_TEXT = 9, POSITION_FEN = 10 };

constexpr size_t kFenTextSize = 256;
constexpr size_t kBoardTextSize = 8 * 34 + 1;

// Six fields; `side` is WHITE or BLACK. Returns `out` (kFenTextSize bytes).
char* BoardToFen(const Board* board, int side, int moveNumber, char* out);
// 0 or a FenError. The board is cleared first; `moveNumber` is left alone
// unless the text has the sixth field. An empty text gives FEN_OFF_BOARD.
int ParseFen(const char* text, Board* board, int* side, int* moveNumber);

// Eight lines of "WK  --  ..." with CR LF; `out` holds kBoardTextSize bytes.
char* PositionToText(const Board* board, char* out);
// 0 or the board text error 1..6, with the 1-based line in `line`.
int ParseBoardTextCode(const char* text, Board* board, int* line);
// 1, or 0 after showing the error and the format help through the game host.
int ParseBoardText(const char* text, Board* board);

uint32_t ValidateBoard(const Board* board);
// The message ShowBoardFaults shows; `out` holds at least 512 bytes.
char* BoardFaultsText(uint32_t faults, char* out, size_t size);
void ShowBoardFaults(uint32_t faults);

// 1 when a valid position was read, else 0 (errors shown through the game
// host). `kind` is a PositionFileKind; `side` and `moveNumber` are set by FEN.
int ReadPositionFile(const char* path, Board* board, int kind, int* side, int* moveNumber);
// 0, 303 (cannot create) or 305 (cannot write). Written through a temporary
// file that replaces the target, so a failed write leaves the old file.
int WritePositionFile(const char* path, GameRecord* game, const Board* board, int kind);
