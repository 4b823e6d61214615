// The header search's query: the record the caller fills, its compiled
// form, and matching a game buffer's header against it.
//
// Interface: SearchQuery, QueryCondition, CompiledQuery, CompileQuery,
// MatchQuery, QueryIsEmpty.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gdgame.h"
#include "position.h"

struct QueryCondition {
  int32_t field;   // 0 none; 1 either player .. 22 Black title
  int32_t op;      // 1 .. 6; other values make the condition empty
  char value[64];  // text, or a number in text form
};

struct SearchQuery {
  int32_t kind;                     // 1 header, 2 key games, 4 position, 16 key and position
  int32_t includeFlagged;           // 0: games with status flag 0 never match
  int32_t key;                      // kinds 2 and 16
  sPosition position;               // kinds 4 and 16
  QueryCondition conditions[5][3];  // rows of three columns
};

namespace gdbase {

struct CompiledCondition {
  int field;
  int op;
  std::string text;  // folded, for text fields
  int32_t number;    // number, packed date or result code
};

struct CompiledQuery {
  bool includeFlagged = false;
  std::vector<std::vector<CompiledCondition>> columns;  // any column, all its rows
  size_t rows = 0;                                      // largest column
};

CompiledQuery CompileQuery(const SearchQuery& query);
bool MatchQuery(const CompiledQuery& query, GdgGame* game);
// 1 when the query matches every game.
int QueryIsEmpty(const SearchQuery& query);
// At least one piece on the board.
bool PositionHasPieces(const sPosition& p);

}  // namespace gdbase
