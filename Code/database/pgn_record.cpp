// The PGN game record.
#include "pgn_record.h"

#include <cstring>

namespace gdbase {

const char* const kPgnTagNames[kPgnTags] = {
    "Event",      "Site",       "Date",      "Round",    "White",        "Black",        "Result",
    "WhiteTitle", "BlackTitle", "WhiteElo",  "BlackElo", "WhiteCountry", "BlackCountry", "WhiteTime",
    "BlackTime",  "ECO",        "Annotator", "SetUp",    "FEN",          "Remark"};

PgnRecordStorage::PgnRecordStorage()
    : moves(kPgnMaxMoves), nags(kPgnSlots), comments(kPgnSlots), pool(kPgnPoolSize) {
  record.start = &start;
  record.moves = moves.data();
  record.nags = nags.data();
  record.comments = comments.data();
  record.pool = pool.data();
  ClearPgnRecord(&record);
}

void ClearPgnRecord(PgnGameRecord* r) {
  std::memset(r->tags, 0, sizeof r->tags);
  r->mainLength = 0;
  r->entryCount = 0;
  r->moveNumberOffset = 0;
  *r->start = InitialPosition();
  // Entries past the counts mean nothing; each slot is cleared as its move
  // is added, so only slot 0 needs it here.
  r->nags[0] = 0;
  r->comments[0] = 0;
  r->pool[0] = 0;
  r->poolFill = 1;
  r->result = -1;
}

}  // namespace gdbase
