#include "user_ratings.h"

#include <cstring>

#include "heapkit.h"

namespace {

constexpr size_t kRatedGamesAt = 12;  // within the 16 bytes
constexpr int kListTag = 66;  // the user file's lists

int32_t Word(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}
void PutWord(uint8_t* p, int32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(uint32_t(v) >> (8 * i));
}
void BlockBytes(const RatingBlock& block, uint8_t out[kRatingBlockSize]) {
  PutWord(out, block.rating);
  PutWord(out + 4, block.second);
  std::memcpy(out + 8, block.date, sizeof block.date);
}
void BlockFromBytes(const uint8_t in[kRatingBlockSize], RatingBlock* block) {
  block->rating = Word(in);
  block->second = Word(in + 4);
  std::memcpy(block->date, in + 8, sizeof block->date);
}

}  // namespace

RatedRecord ReadRatedRecord(const UserProfile& user) {
  static_assert(sizeof(RatingBlock) == kRatingBlockSize, "a rating block is 100 bytes");
  RatedRecord r;
  r.overall = user.baseRating;
  r.ratedGames = Word(user.reserved + kRatedGamesAt);
  r.kidsRoomBeaten = user.word1;
  for (int i = 0; i < 3; ++i) {
    uint8_t bytes[kRatingBlockSize];
    BlockBytes(user.ratings[i], bytes);
    r.blocks[i] = DecodeRatingBlock(bytes);
  }
  if (user.games && user.gameCount > 0)
    r.results = DecodePersonalityResults(static_cast<const uint8_t*>(user.games), user.gameCount);
  return r;
}

void StoreRatedRecord(const RatedRecord& record, UserProfile* user) {
  if (!user) return;
  user->baseRating = record.overall;
  PutWord(user->reserved + kRatedGamesAt, record.ratedGames);
  user->word1 = record.kidsRoomBeaten;
  for (int i = 0; i < 3; ++i) {
    uint8_t bytes[kRatingBlockSize];
    EncodeRatingBlock(record.blocks[i], bytes);
    BlockFromBytes(bytes, &user->ratings[i]);
  }
  const std::vector<uint8_t> entries = EncodePersonalityResults(record.results);
  void* list = nullptr;
  if (!entries.empty()) {
    list = memAlloc_rel(entries.size(), kListTag);
    if (!list) return;  // the old list stays
    std::memcpy(list, entries.data(), entries.size());
  }
  memFree_rel(user->games);
  user->games = list;
  user->gameCount = list ? int32_t(record.results.size()) : 0;
}
