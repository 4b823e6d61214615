#include "moverecord.h"

#include <cstring>

#include "board.h"
#include "heapkit.h"
#include "movegen.h"

MoveRecord* DuplicateMoveRecord(const MoveRecord* source) {
  MoveRecord* copy = static_cast<MoveRecord*>(memAlloc_rel(sizeof(MoveRecord), HEAPKIT_TAG_RW));
  if (!copy) return nullptr;
  std::memset(copy, 0, sizeof *copy);
  if (!source) return copy;
  *copy = *source;
  for (int slot = 0; slot < kMoveTextSlots; ++slot) {
    copy->texts[slot] = nullptr;
    if (!source->texts[slot] || !*source->texts[slot]) continue;
    copy->texts[slot] = memStrdup_rel(source->texts[slot], HEAPKIT_TAG_RW);
    if (!copy->texts[slot]) {
      FreeMoveRecord(copy);
      return nullptr;
    }
  }
  return copy;
}

MoveRecord* SetMoveString(MoveRecord* move, const char* text, int slot) {
  if (!move || slot < 0 || slot >= kMoveTextSlots) return nullptr;
  memFree_rel(move->texts[slot]);
  move->texts[slot] = nullptr;
  if (!text || !*text) return move;
  move->texts[slot] = memStrdup_rel(text, HEAPKIT_TAG_RW);
  return move->texts[slot] ? move : nullptr;
}

void FreeMoveStrings(MoveRecord* move) {
  if (!move) return;
  for (char*& text : move->texts) {
    memFree_rel(text);
    text = nullptr;
  }
}

void FreeMoveRecord(MoveRecord* move) {
  if (!move) return;
  FreeMoveStrings(move);
  memFree_rel(move);
}

bool SameMove(const MoveRecord* a, const MoveRecord* b) {
  if (!a || !b) return false;
  return a->from == b->from && a->to == b->to &&
         (a->flags & MOVE_PROMOTION_TYPE) == (b->flags & MOVE_PROMOTION_TYPE);
}

bool MovesIdentical(const MoveRecord* a, const MoveRecord* b) {
  if (!a || !b) return false;
  return a->from == b->from && a->to == b->to && a->flags == b->flags;
}

int FindMoveInList(const MoveRecord* move, const MoveRecord* list, int count) {
  if (move && list) {
    for (int i = 0; i < count; ++i)
      if (SameMove(move, &list[i])) return i;
  }
  if (move && move->flags != MOVE_LIST_END && (move->flags & (MOVE_CASTLE_LONG | MOVE_CASTLE_SHORT)))
    return count;
  return 0xFFFF;
}

int ReplayMoveList(const Board* board, int side, MoveRecord* moves, int count) {
  if (!board || !moves) return 0;
  thread_local MoveRecord legal[kMoveListRoom];
  Board work = *board;
  for (int i = 0; i < count; ++i) {
    const int n = GenerateLegalMoves(&work, legal, nullptr, side);
    const int index = FindMoveInList(&moves[i], legal, n);
    if (index >= n) {
      moves[i].flags = MOVE_LIST_END;
      return i;
    }
    moves[i].flags = legal[index].flags;
    MakeMove(&moves[i], &work);
    side = OtherSide(side);
  }
  return count;
}

namespace {

void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Offsets of the 64-byte image.
enum {
  AT_FROM = 0,
  AT_TO = 1,
  AT_SLOTS = 4,
  AT_TEXT = 24,
  AT_TIME = 44,
  AT_HASH = 48,
  AT_FLAGS = 52,
  AT_UNDO = 54,
  AT_GENERATED = 60,
};

}  // namespace

void PackMoveRecord(const MoveRecord* move, uint8_t out[kMoveRecordFileSize]) {
  std::memset(out, 0, kMoveRecordFileSize);
  if (!move) return;
  out[AT_FROM] = move->from;
  out[AT_TO] = move->to;
  std::memcpy(out + AT_TEXT, move->text, kMoveTextSize);
  out[AT_TEXT + kMoveTextSize - 1] = 0;
  Put32(out + AT_TIME, move->timeMs);
  Put32(out + AT_HASH, move->hash);
  Put16(out + AT_FLAGS, move->flags);
  out[AT_UNDO + 0] = move->undoCastling;
  out[AT_UNDO + 1] = move->undoEnPassant;
  out[AT_UNDO + 2] = move->captureSquare;
  out[AT_UNDO + 3] = move->capturedPiece;
  Put32(out + AT_GENERATED, move->generated);
}

void UnpackMoveRecord(const uint8_t in[kMoveRecordFileSize], MoveRecord* move) {
  if (!move) return;
  std::memset(move, 0, sizeof *move);
  move->from = in[AT_FROM];
  move->to = in[AT_TO];
  std::memcpy(move->text, in + AT_TEXT, kMoveTextSize);
  move->text[kMoveTextSize - 1] = '\0';
  move->timeMs = Get32(in + AT_TIME);
  move->hash = Get32(in + AT_HASH);
  move->flags = Get16(in + AT_FLAGS);
  move->undoCastling = in[AT_UNDO + 0];
  move->undoEnPassant = in[AT_UNDO + 1];
  move->captureSquare = in[AT_UNDO + 2];
  move->capturedPiece = in[AT_UNDO + 3];
  move->generated = Get32(in + AT_GENERATED);
}
