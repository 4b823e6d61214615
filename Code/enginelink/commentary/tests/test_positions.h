// Helpers shared by the commentary tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board.h"
#include "move_words.h"
#include "position_setup.h"

inline int Sq(const char* name) { return ('8' - name[1]) * 16 + (name[0] - 'a'); }

struct Position {
  Board board{};
  int side = WHITE;
  explicit Position(const char* fen) { EXPECT_TRUE(SetupPositionFromFen(fen, &board, &side)) << fen; }
  // The legal move from/to (first promotion kind when several), with flags.
  MoveRecord Move(const char* from, const char* to, int promotion = 0) const {
    for (const MoveRecord& m : LegalMovesOf(&board, side))
      if (m.from == Sq(from) && m.to == Sq(to) &&
          (!promotion || (m.flags & MOVE_PROMOTION_TYPE) == promotion))
        return m;
    ADD_FAILURE() << "no legal move " << from << to;
    return MoveRecord{};
  }
  std::vector<MoveRecord> Legal() const { return LegalMovesOf(&board, side); }
  int IndexOf(const MoveRecord& m) const {
    std::vector<MoveRecord> l = Legal();
    return FindMoveInList(&m, l.data(), static_cast<int>(l.size()));
  }
};
