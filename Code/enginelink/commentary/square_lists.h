// Square lists for highlighting: the squares a side covers, the squares of
// one analysis category, the legal destinations of a piece.
//
// Interface: ComputeBoardCoverage, ListSquaresByCategory,
// ListCapturablePieces, ListThreatenedPieces, ListPinnedPieces,
// ListSkeweredPieces, ListPassedPawns, ListIsolatedPawns,
// ListPawnStructureSquares, GetPieceLegalTargets.
//
// Square text: squares run together ("a3b4c5") in board order a8 .. h1.
#pragma once

#include <cstdint>
#include <string>

#include "board.h"
#include "tactical_map.h"

constexpr uint8_t kNotCovered = 255;

// `coverage` (128 bytes) gets, per square, the square of the last piece of
// `side` (in board order) that reaches it, or kNotCovered.
std::string ComputeBoardCoverage(const Board* board, int side, uint8_t coverage[128]);
std::string ListSquaresByCategory(const SquareAnalysisMap* map, int category);
std::string ListCapturablePieces(const Board* board, int side);
std::string ListThreatenedPieces(const Board* board, int side);
std::string ListPinnedPieces(const Board* board, int side);
std::string ListSkeweredPieces(const Board* board, int side);
std::string ListPassedPawns(const Board* board, int side);
std::string ListIsolatedPawns(const Board* board, int side);
std::string ListPawnStructureSquares(const Board* board, int side);
std::string GetPieceLegalTargets(const Board* board, int side, int square);
