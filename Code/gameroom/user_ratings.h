// Where the rated-game fields live in the user's record. The record keeps
// them in its generic fields; the game room reads and writes them only
// through these two functions:
//   overall rating            baseRating (the word at file offset 544)
//   three kids room counters  the first 12 of the 16 bytes (teaching's)
//   rated games played        the last word of the 16 bytes
//   personalities beaten in the kids room   word1
//   bullet, blitz, standard   ratings[0..2] (each 100 bytes: rating,
//                             highest, 64-byte date and six counters in
//                             the 92 bytes after the two words)
//   results against personalities           gameCount / games (44 bytes)
// The second half (word2, ratings2, gameCount2, games2) is the online
// side's copy, filled by the online layer.
//
// Interface: ReadRatedRecord, StoreRatedRecord.
#pragma once

#include "rated_games.h"
#include "user_profile.h"

RatedRecord ReadRatedRecord(const UserProfile& user);
// Writes the record back; the results list becomes a new heap block
// (the memory manager's, as the user file's reader makes them) and the old one is
// freed.
void StoreRatedRecord(const RatedRecord& record, UserProfile* user);
