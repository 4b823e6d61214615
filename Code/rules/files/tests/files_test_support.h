// Helpers of the game-file tests: a host that keeps the messages shown, and
// games built from FEN and move text.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game_host.h"
#include "game_record.h"
#include "notation.h"
#include "position_text.h"

class MessageHost : public GameHost {
 public:
  MessageHost() { SetGameHost(this); }
  ~MessageHost() override { SetGameHost(nullptr); }
  void ShowMessage(const char* text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

struct GameDeleter {
  void operator()(GameRecord* game) const { DestroyGame(game); }
};
using GamePtr = std::unique_ptr<GameRecord, GameDeleter>;

inline GamePtr MakeGame(const char* fen = nullptr) {
  Board board;
  int side = WHITE, number = 1;
  if (fen) {
    EXPECT_EQ(ParseFen(fen, &board, &side, &number), 0) << fen;
  }
  return GamePtr(CreateGame(0, nullptr, nullptr, nullptr, nullptr, fen ? &board : nullptr, nullptr, side,
                            static_cast<uint32_t>(number), 0));
}

// Plays blank-separated short algebraic moves; false at the first that fails.
inline bool PlayMoves(GameRecord* game, const std::string& moves) {
  std::istringstream in(moves);
  for (std::string text; in >> text;) {
    MoveRecord move{};
    if (!ParseAlgebraicMove(&move, text.c_str(), &game->position, game->sideToMove)) {
      ADD_FAILURE() << "not legal: " << text;
      return false;
    }
    if (!AddMoveToGame(game, &move)) return false;
  }
  return true;
}

inline std::string TempPath(const char* name) { return std::string(::testing::TempDir()) + name; }

inline std::string ReadFileText(const std::string& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

inline void WriteFileText(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

// The move tree as text: moves as squares, comments of slot 0 in braces and
// alternatives in parentheses after the main move, in tree order.
inline void DumpLine(const MoveTreeNode* node, std::string* out) {
  for (; node; node = node->firstChild) {
    char squares[16];
    std::snprintf(squares, sizeof squares, "%d-%d/%d ", node->move->from, node->move->to,
                  node->move->flags & MOVE_PROMOTION_TYPE);
    *out += squares;
    if (node->move->texts[SLOT_COMMENT]) *out += std::string("{") + node->move->texts[SLOT_COMMENT] + "} ";
    if (node->parent && node->parent->firstChild == node) {
      for (const MoveTreeNode* alt = node->next; alt; alt = alt->next) {
        *out += "( ";
        DumpLine(alt, out);
        *out += ") ";
      }
    }
  }
}

inline std::string DumpTree(const GameRecord* game) {
  std::string out;
  DumpLine(game->tree->root.firstChild, &out);
  return out;
}
