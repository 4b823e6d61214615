// Position summary: material, piece activity, king pressure, pawn structure,
// king placement and the kind of ending, and the comparison of two
// summaries into a material change. The annotator's score thresholds live
// here too.
//
// Interface: SummarizePosition, ScorePawnStructure, ScorePawns,
// DescribePawnStructure, ScorePieceActivity, CompareMaterial,
// SetAnnotatorThresholds, GetAnnotatorThresholds.
#pragma once

#include <cstdint>
#include <string>

#include "board.h"
#include "moverecord.h"

// Pairs are indexed [0] black, [1] white (SideIndex).
struct PositionSummary {
  uint8_t pieceCounts[2][6];  // king slot stays 0
  int16_t material[2];
  int16_t activity[2];
  int16_t kingPressure[2];
  uint8_t kingCentrality[2];
  int16_t pawnScore[2];
  uint8_t pawnCount[2];
  uint8_t kingDistance;
  uint8_t insufficientMaterial;
  uint8_t basicMate;
  uint8_t weakerSide;  // 32 when black has less material, else 16
};

struct MaterialChange {
  uint8_t lost[2][6];
  uint8_t gained[2][6];
  uint8_t trade;
};

inline int SideIndex(int colour) { return colour == 16 ? 1 : 0; }

void SummarizePosition(const Board* board, PositionSummary* out);
void ScorePieceActivity(const Board* board, int colour, PositionSummary* summary);
// Fills the pawn scores and counts of `summary` (when given) and, when
// `markup` is given, writes the markup of `side`'s pawns into it (the flag is
// the emitters' dirty argument).
void ScorePawnStructure(const Board* board, PositionSummary* summary, int side, int markupFlag,
                        std::string* markup);
void ScorePawns(const Board* board, PositionSummary* summary);
void DescribePawnStructure(const Board* board, int side, int markupFlag, std::string* text);
void CompareMaterial(const Board* board, const PositionSummary* before, const PositionSummary* after,
                     const MoveRecord* line, int count, int side, int sideToMove, MaterialChange* out);

struct AnnotatorThresholds {
  int slightly = 65;
  int better = 135;
  int much = 450;
};
// Zero leaves a threshold unchanged. The thresholds belong to the calling
// thread (the game analysis worker sets them before it annotates).
void SetAnnotatorThresholds(int slightly, int better, int much);
AnnotatorThresholds GetAnnotatorThresholds();
int MaterialTotal(const uint8_t counts[6]);
