// Reading a Polyglot opening book (the public ".bin" format): the position
// key over the published random table, and the weighted moves of a position.
//
// Interface: PolyglotKey, PolyglotBook.
//
// The format: entries of 16 bytes, big-endian, sorted by key: u64 key, u16
// move, u16 weight, u32 learn. The move packs to file (bits 0-2), to row
// (3-5), from file (6-8), from row (9-11) and promotion (12-14: 1 knight,
// 2 bishop, 3 rook, 4 queen); castling is written as the king taking its
// own rook.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board.h"
#include "moverecord.h"

uint64_t PolyglotKey(const Board* board, int side);

struct PolyglotMove {
  MoveRecord move;  // the legal move record
  int weight;
};

class PolyglotBook {
 public:
  bool Load(const std::string& path);
  size_t EntryCount() const { return entries_.size(); }
  // The legal moves the book gives for the position, in book order.
  std::vector<PolyglotMove> Moves(const Board* board, int side) const;

 private:
  struct Entry {
    uint64_t key;
    uint16_t move;
    uint16_t weight;
  };
  std::vector<Entry> entries_;
};
