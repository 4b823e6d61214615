// The move record every part of the main program exchanges, and move lists.
//
// Interface: DuplicateMoveRecord, SetMoveString, FreeMoveRecord, SameMove,
// MovesIdentical, FindMoveInList, ReplayMoveList, and PackMoveRecord /
// UnpackMoveRecord for the 64-byte image files hold.
//
// In memory a MoveRecord is a plain struct (its text slots are pointers, so
// it is larger than 64 bytes in a 64-bit build). In files it is always the
// 64-byte little-endian image written by PackMoveRecord, so that every build
// writes the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

struct Board;

enum MoveFlag : uint16_t {
  MOVE_PROMOTION_TYPE = 0x0007,  // 1 queen, 2 rook, 3 bishop, 4 knight
  MOVE_EN_PASSANT = 0x0008,
  MOVE_CASTLE_LONG = 0x0010,
  MOVE_CASTLE_SHORT = 0x0020,
  MOVE_PROMOTION = 0x0040,
  MOVE_CHECK = 0x0080,
  MOVE_CAPTURE = 0x0100,
  MOVE_ILLEGAL = 0x0200,
  MOVE_MATE = 0x0400,
  MOVE_LIST_END = 0xFFFF,  // ends a list without a count; also "not legal"
};

enum MoveTextSlot {
  SLOT_COMMENT = 0,
  SLOT_ANNOTATION = 1,
  SLOT_ANALYSIS = 2,
  SLOT_HIDDEN = 3,
  SLOT_POSITION = 4
};
constexpr int kMoveTextSlots = 5;
constexpr int kMoveTextSize = 20;  // cached move text: 19 characters and the NUL
constexpr size_t kMoveRecordFileSize = 64;

struct MoveRecord {
  uint8_t from;
  uint8_t to;
  uint8_t reserved0[2];
  char* texts[kMoveTextSlots];  // owned, null when empty
  char text[kMoveTextSize];     // the move in the game's notation; empty until made
  uint32_t timeMs;
  uint32_t hash;  // ComputeBoardHash after the move
  uint16_t flags;
  // Undo bytes, filled by MakeMove.
  uint8_t undoCastling;
  uint8_t undoEnPassant;
  uint8_t captureSquare;
  uint8_t capturedPiece;
  uint8_t reserved1[2];
  uint32_t generated;  // 0xFFFFFFFF in records made by move generation
};

// Lists that are kept or exchanged (game records, files, peers) hold at most
// this many moves.
constexpr int kStoredMoveListSize = 200;
// The room a caller gives to move generation. It exceeds the most
// pseudo-legal moves sixteen men of a side can have (15 queens and a king),
// so generation never drops a move; legal positions reach 218 legal moves.
constexpr int kMoveListRoom = 448;

// A list filled by move generation, with its count.
struct MoveList {
  MoveRecord moves[kMoveListRoom];
  uint16_t count;
};

// A new record: all zero from none, else a copy with its own copies of the
// texts. Null when memory is short (nothing is left allocated).
MoveRecord* DuplicateMoveRecord(const MoveRecord* source);
// Replaces the text of a slot (0-4); an empty or missing text clears it.
// Returns the record, or null when no record was given, the slot is out of
// range, or the copy could not be made (the slot is then empty).
MoveRecord* SetMoveString(MoveRecord* move, const char* text, int slot);
void FreeMoveRecord(MoveRecord* move);
// Frees the texts of a record that is not itself on the heap.
void FreeMoveStrings(MoveRecord* move);

// From, to and promotion type agree.
bool SameMove(const MoveRecord* a, const MoveRecord* b);
// From, to and the whole flag word agree; false when either is missing.
bool MovesIdentical(const MoveRecord* a, const MoveRecord* b);
// Index of the first entry that is SameMove with the record; when none: the
// count for a castling record, 0xFFFF for any other. Any result at or beyond
// the count means absent.
int FindMoveInList(const MoveRecord* move, const MoveRecord* list, int count);
// Plays the moves on a copy of the board, giving each the flag word of its
// legal entry. The first move that is not legal gets flag word 0xFFFF and the
// walk stops there. Returns the number of legal moves at the front.
int ReplayMoveList(const Board* board, int side, MoveRecord* moves, int count);

// The 64-byte file image: fields little-endian at their fixed offsets, the
// five text-slot words written as 0 (texts are stored after the record).
void PackMoveRecord(const MoveRecord* move, uint8_t out[kMoveRecordFileSize]);
// Reads an image back; the record's text slots come out empty (it owns
// nothing) and its cached text is kept NUL-terminated.
void UnpackMoveRecord(const uint8_t in[kMoveRecordFileSize], MoveRecord* move);
