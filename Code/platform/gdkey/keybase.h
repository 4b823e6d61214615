// Inside the key engine: the opening-key base in memory and its journal.
//
// The key file NAME.gdk (in the index folder beside the game file) is a
// journal: a 16-byte header ("RWGDKEYS", u32 version, u32 0), then records
// of u32 payload length, u8 type, payload, u32 CRC-32 of type and payload.
// Type 1 defines a key (parent, move, board, texts), type 2 files one game
// (its number, always the previous one + 1, result, ratings and its keys),
// type 3 counts deleted games, type 4 gives a key its texts. Reading stops at the first record that is cut
// short, fails its CRC or does not follow on, so a writer killed in the
// middle of a record leaves the records before it in force; games the game
// file has beyond the last filed one are filed again when the base opens.
//
// Interface: KeyBase, Key, NormalBoard, KeyMoveFor.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "gdkey.h"

namespace gdk {

constexpr size_t kBoardBytes = kGdgBoardSize;
constexpr size_t kCompareBytes = 109;  // squares, side, en passant, castling
constexpr size_t kHeaderBytes = 16;
constexpr uint32_t kMaxKeys = 4000000;
constexpr size_t kMaxText = 255;

struct Key {
  int32_t parent = 0;
  int32_t depth = 0;  // plies from the start
  GdkKeyMove move = {0, 0};
  uint8_t board[kBoardBytes] = {};
  std::string code, name, remark;
  std::vector<int32_t> children;
  std::vector<int32_t> games;  // every game that reaches the key
  int32_t direct = 0;          // games whose deepest key this is
  int32_t results[3] = {0, 0, 0};
  int64_t eloSum[2] = {0, 0};
  int32_t eloCount[2] = {0, 0};
};

struct FiledGame {
  int32_t number = 0;
  int32_t result = 0;  // 1 White won, 2 draw, 3 Black won
  int32_t elo[2] = {0, 0};
  std::vector<int32_t> keys;  // in the order the game reaches them
};

// The board as keys compare it: squares, side, castling, and the en-passant
// file only when a pawn of the side to move can take there.
std::string NormalBoard(const uint8_t* board);
// The move into a key from the position before it.
GdkKeyMove KeyMoveFor(const uint8_t* before, const GdgMoveXY& xy, const uint8_t* after);

class KeyBase {
 public:
  KeyBase();
  // Reads a journal image: false when its header is not ours. `valid` gets
  // the length of the part that reads.
  bool Load(const std::vector<uint8_t>& image, size_t* valid);
  // A new base: the header and the key of the start position.
  static std::vector<uint8_t> NewImage(const uint8_t* startBoard);

  int32_t KeyCount() const { return static_cast<int32_t>(keys_.size()) - 1; }
  bool Valid(int32_t key) const { return key > 0 && key < static_cast<int32_t>(keys_.size()); }
  const Key& At(int32_t key) const { return keys_[static_cast<size_t>(key)]; }
  int32_t Find(const uint8_t* board) const;
  int32_t Depth() const { return depth_; }
  int32_t Filed() const { return filed_; }
  int32_t Deleted() const { return deleted_; }
  const FiledGame& LastFiled() const { return last_; }
  int32_t Descendants(int32_t key) const;

  // Each gives the journal record that makes the change, and applies it.
  std::vector<uint8_t> AddKey(int32_t parent, const GdkKeyMove& move, const uint8_t* board,
                              const std::string& code, const std::string& name, const std::string& remark);
  std::vector<uint8_t> FileGame(const FiledGame& game);
  std::vector<uint8_t> CountDeleted(int32_t count);
  std::vector<uint8_t> SetTexts(int32_t key, const std::string& code, const std::string& name,
                                const std::string& remark);
  // Drops every filed game (keys stay), for a rebuild.
  void ClearGames();

 private:
  bool Apply(uint8_t type, const uint8_t* p, size_t n);
  void ApplyKey(Key&& key);
  void ApplyGame(const FiledGame& game);
  static std::vector<uint8_t> Frame(uint8_t type, const std::vector<uint8_t>& payload);

  std::vector<Key> keys_;  // keys_[0] unused
  std::unordered_map<std::string, int32_t> byBoard_;
  int32_t depth_ = 0;
  int32_t filed_ = 0;
  int32_t deleted_ = 0;
  FiledGame last_;
};

uint32_t Crc32(const uint8_t* data, size_t size);

}  // namespace gdk
