// Threat and plan commentary: the tactics of good moves and lines, what is
// wrong with a bad move, and lines of play replayed on the board while they
// are named.
//
// Interface: DescribeMoveTactics, DescribeMoveFeatures, DescribeMoveFault,
// DescribeLine, WriteFeatureList, MateMarkup, LineHasCapture,
// LineHasPromotion, IsCaptureOrPromotionAt, WriteLineTakeback.
#pragma once

#include <string>

#include "board.h"
#include "moverecord.h"
#include "tactical_map.h"

constexpr int kLastFeatureCategory = 22;

// `count` in/out: the moves described. Empty text when the work poll asks to
// stop.
std::string DescribeMoveTactics(const Board* board, const MoveRecord* moves, int* count, int mode,
                                int showMoves, int single, int style);
std::string DescribeMoveFeatures(const Board* board, const MoveRecord* legal, int listLength, int legalCount,
                                 int index, const MoveFeatures* features, int firstSide, int mode,
                                 int showMoves, int maxCategories, int lastCategory, int noIntro);
std::string DescribeMoveFault(const Board* board, const MoveRecord* move);
std::string DescribeLine(const Board* board, const MoveRecord* line, int count, int firstShown,
                         int firstNumber, int side, int style, int numbering, int markup);
// The markup that shows a mate: arrows from the mating side's pieces to the
// mated king and its flight squares, with highlights.
std::string MateMarkup(const Board* board, const MoveRecord* move);

bool LineHasCapture(const MoveRecord* moves, int count);
bool LineHasPromotion(const MoveRecord* moves, int count);
bool IsCaptureOrPromotionAt(const MoveRecord* moves, int index, int count);
std::string WriteLineTakeback(const Board* board, const MoveRecord* line, int count, int firstIndex);
