// Pure decisions of live online games: clocks and kind flags of a game made
// from a descriptor, the result a received resignation or time loss gives,
// whether a view request is granted, and the descriptor of a stored game.
#pragma once

#include <cstdint>

#include "wire.h"

struct OnlineClock {
  uint32_t kind = 7;  // 4 minutes per game, 5 Fischer, 6 hourglass, 7 none
  uint32_t baseMs = 0;
  uint32_t bonusMs = 0;  // per move
};
OnlineClock OnlineClockFromDescriptor(const OnlineGameDescriptor& d);

// Game kind flags of an online game: 0x2400, plus 0x30 rated, 0x10
// unrated-enforced.
uint32_t OnlineGameKindFlags(const OnlineGameDescriptor& d);

// Result of a type 9 (resigned) or 10 (lost on time) from the player of
// side 16 (White) or 32 (Black); 0 for any other side.
uint32_t ResultFromSender(uint32_t type, uint32_t side);
// Result of the own resignation or time loss.
uint32_t OwnResignResult(bool ownWhite);

// A player grants a view (type 22) only for its current game, when the game
// allows viewers and it is the player's own turn; otherwise it refuses (20).
bool ViewRequestGranted(const OnlineGameDescriptor& current, bool playing, bool ownTurn,
                        const OnlineGameDescriptor& asked);

struct Board;
struct MoveRecord;

// The wire image of a played move; the word a peer could plant a pointer in
// is sent as 0.
OnlineMove MakeOnlineMove(const MoveRecord& move);
// Looks the received move up among the legal moves of `side` by from, to and
// flag word; false (an illegal move) when none matches. The received u32 is
// not copied: the move record's own text slots stay empty.
bool FindOnlineMove(const Board* board, int side, const OnlineMove& received, MoveRecord* out);
