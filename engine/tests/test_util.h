// Helpers shared by the engine core tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "board.h"
#include "eval.h"
#include "search.h"
#include "trans.h"

namespace corvane {

// Default parameters translated, a small hash table, the position set up.
inline void SetUpEngine(const char* fen, const i32* params = nullptr) {
  i32 p[kParamCount];
  DefaultParams(p);
  if (params)
    for (int i = 0; i < kParamCount; ++i) p[i] = params[i];
  OptsXlat(p);
  TransInit(1 << 16);
  TransClear(0);
  ASSERT_TRUE(SetupRootFromFen(fen)) << fen;
  Planner();
}

inline EngineMove FindMove(const char* text, int ply = 0) {
  int from = SqNum(text[0] - 'a', text[1] - '1'), to = SqNum(text[2] - 'a', text[3] - '1');
  int promo = 0;
  if (text[4]) promo = text[4] == 'q' ? 4 : text[4] == 'r' ? 3 : text[4] == 'b' ? 2 : 1;
  int n = GenLegal(Board(ply));
  for (int i = 0; i < n; ++i)
    if (MoveFrom(g_gen[i]) == from && MoveTo(g_gen[i]) == to && MovePromo(g_gen[i]) == promo) return g_gen[i];
  return 0;
}

inline std::string MoveText(EngineMove m) {
  std::string s = std::string(SquareName(MoveFrom(m))) + SquareName(MoveTo(m));
  if (int p = MovePromo(m)) s += "nbrq"[p - 1];
  return s;
}

// The colour-mirrored FEN: ranks flipped, colours and side to move swapped.
inline std::string MirrorFen(const std::string& fen) {
  std::string board = fen.substr(0, fen.find(' '));
  std::string rest = fen.substr(fen.find(' ') + 1);
  std::string ranks[8];
  int r = 0;
  for (char c : board) {
    if (c == '/')
      ++r;
    else
      ranks[r] += char(std::isalpha(static_cast<unsigned char>(c))
                           ? (std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c))
                           : c);
  }
  std::string out;
  for (int i = 7; i >= 0; --i) out += ranks[i] + (i ? "/" : "");
  char side = rest[0] == 'w' ? 'b' : 'w';
  std::string castle = rest.substr(2, rest.find(' ', 2) - 2);
  std::string mc;
  for (char c : castle)
    mc += c == '-' ? '-'
                   : char(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c));
  std::string ep = "-";
  return out + " " + side + " " + (mc.empty() ? "-" : mc) + " " + ep + " 0 1";
}

}  // namespace corvane
