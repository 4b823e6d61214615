#include "live_game.h"

#include <cstring>
#include <vector>

#include "movegen.h"
#include "moverecord.h"
#include "rating_change.h"

OnlineClock OnlineClockFromDescriptor(const OnlineGameDescriptor& d) {
  OnlineClock c;
  uint64_t base = d.base, bonus = d.bonus;
  auto clampMs = [](uint64_t v) { return uint32_t(v > 0xFFFFFFFFu ? 0xFFFFFFFFu : v); };
  switch (d.flags & kTimeTypeMask) {
    case kTimeMinutesPerGame:
      c.kind = 4;
      c.baseMs = clampMs(base * 60000);
      break;
    case kTimeFischer:
      c.kind = 5;
      c.baseMs = clampMs(base * 60000);
      c.bonusMs = clampMs(bonus * 1000);
      break;
    case kTimeHourglass:
      c.kind = 6;
      c.baseMs = clampMs(base * 1000);
      break;
    default:
      break;
  }
  return c;
}

uint32_t OnlineGameKindFlags(const OnlineGameDescriptor& d) {
  uint32_t flags = 0x2400;
  if (d.flags & kGameRated) flags |= 0x30;
  if (d.flags & kGameUnratedEnforced) flags |= 0x10;
  return flags;
}

uint32_t ResultFromSender(uint32_t type, uint32_t side) {
  if (side != 16 && side != 32) return 0;
  bool white = side == 16;
  if (type == MSG_RESIGNED) return white ? RESULT_WHITE_RESIGNED : RESULT_BLACK_RESIGNED;
  if (type == MSG_LOST_ON_TIME) return white ? RESULT_WHITE_LOST_ON_TIME : RESULT_BLACK_LOST_ON_TIME;
  return 0;
}

uint32_t OwnResignResult(bool ownWhite) { return ownWhite ? RESULT_WHITE_RESIGNED : RESULT_BLACK_RESIGNED; }

bool ViewRequestGranted(const OnlineGameDescriptor& current, bool playing, bool ownTurn,
                        const OnlineGameDescriptor& asked) {
  return playing && ownTurn && (current.flags & kGameViewersAllowed) &&
         std::memcmp(current.guid, asked.guid, 16) == 0;
}

OnlineMove MakeOnlineMove(const MoveRecord& move) {
  OnlineMove m;
  m.from = move.from;
  m.to = move.to;
  m.flags = move.flags;
  m.extra[0] = move.undoCastling;
  m.extra[1] = move.undoEnPassant;
  m.extra[2] = move.captureSquare;
  m.extra[3] = move.capturedPiece;
  return m;
}

bool FindOnlineMove(const Board* board, int side, const OnlineMove& received, MoveRecord* out) {
  if (received.flags == MOVE_LIST_END) return false;
  std::vector<MoveRecord> list(kMoveListRoom);
  uint16_t count = 0;
  GenerateLegalMoves(board, list.data(), &count, side);
  for (uint16_t i = 0; i < count; ++i) {
    const MoveRecord& m = list[i];
    if (m.from == received.from && m.to == received.to && m.flags == received.flags) {
      *out = m;
      return true;
    }
  }
  return false;
}
