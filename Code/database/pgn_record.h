// One game as the PGN reader fills it and the PGN writer prints it.
//
// Interface: PgnGameRecord, PgnRecordStorage, tag numbers, ClearPgnRecord.
#pragma once

#include <cstdint>
#include <vector>

#include "position.h"

namespace gdbase {

constexpr int kPgnTags = 20;
constexpr int kPgnMaxMoves = 10000;
constexpr int kPgnSlots = 10001;
constexpr int kPgnPoolSize = 50000;

// Tag numbers (1-based as in the tag table); tags[n - 1] holds tag n.
enum PgnTag {
  kTagEvent = 1,
  kTagSite,
  kTagDate,
  kTagRound,
  kTagWhite,
  kTagBlack,
  kTagResult,
  kTagWhiteTitle,
  kTagBlackTitle,
  kTagWhiteElo,
  kTagBlackElo,
  kTagWhiteCountry,
  kTagBlackCountry,
  kTagWhiteTime,
  kTagBlackTime,
  kTagECO,
  kTagAnnotator,
  kTagSetUp,
  kTagFEN,
  kTagRemark
};
extern const char* const kPgnTagNames[kPgnTags];

// Move list entry flags (in the move word's free bits 6 and 7).
constexpr uint16_t kEntryHasAlternative = 0x40;
constexpr uint16_t kEntryLineEnd = 0x80;

struct PgnGameRecord {
  char tags[kPgnTags][256];
  int mainLength;
  int entryCount;  // entries with variations, else 0
  int moveNumberOffset;
  sPosition* start;
  uint16_t* moves;     // kPgnMaxMoves entries, pre-order
  uint16_t* nags;      // kPgnSlots: first NAG low byte, second high byte
  uint32_t* comments;  // kPgnSlots: offsets into the pool, 0 none
  char* pool;          // kPgnPoolSize
  int poolFill;
  int result;  // -1 none, 0 "*", 1 "1-0", 2 "0-1", 3 "1/2-1/2"

  const char* Tag(int tag) const { return tags[tag - 1]; }
  char* Tag(int tag) { return tags[tag - 1]; }
  // Entries in the move list: main line, variations included.
  int Entries() const { return entryCount > 0 ? entryCount : mainLength; }
};

// A record with its lists, owned.
struct PgnRecordStorage {
  PgnRecordStorage();
  PgnGameRecord record;
  sPosition start;
  std::vector<uint16_t> moves;
  std::vector<uint16_t> nags;
  std::vector<uint32_t> comments;
  std::vector<char> pool;
};

// All tags empty, lists zeroed, standard start, pool fill 1, result -1.
void ClearPgnRecord(PgnGameRecord* record);

}  // namespace gdbase
