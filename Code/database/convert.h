// Games between the game-file engine's game buffers and PgnGameRecords.
//
// Interface: GameToRecord, RecordToGame, SetGameStart, ShortCommentToNags, NagsToShortComment.
#pragma once

#include <cstdint>
#include <string>

#include "gdgame.h"
#include "pgn_record.h"

namespace gdbase {

// 0 done, 2 the conversion failed (too many pending alternatives or entries).
int GameToRecord(GdgGame* game, PgnGameRecord* record);
// Clears the game and fills it from the record; illegal moves end their line.
void RecordToGame(const PgnGameRecord& record, GdgGame* game);

// Hands a set-up start position to the game (castling only as the
// placement allows it); the ply follows from the offset and the side.
void SetGameStart(GdgGame* game, const sPosition& start, int moveNumberOffset);

// Short comment <-> up to two NAGs (low byte first); whiteMoved picks the
// column of the side-dependent codes.
uint16_t ShortCommentToNags(const char* text, bool whiteMoved);
std::string NagsToShortComment(uint16_t nags);

}  // namespace gdbase
