// Corvane engine core: evaluation with personality weights.
//
// Interface: the parameter array and weight block (OptsXlat, Planner),
// EvalFast, EvalFull, WoodXlat, CapPredict, OptimisticValue,
// MaterialClassChange, Phase, DumpEval.
#pragma once

#include "board.h"

namespace corvane {

// Parameter array indices (the command loop's "rw_parm" table feeds it).
enum ParamIndex {
  kPMyp = 0,
  kPOpp,
  kPMyn,
  kPOpn,
  kPMyb,
  kPOpb,
  kPMyr,
  kPOpr,
  kPMyq,
  kPOpq,
  kPCc = 12,
  kPCcOp,
  kPMob,
  kPMobOp,
  kPKs,
  kPKsOp,
  kPPp,
  kPPpOp,
  kPPw,
  kPPwOp,
  kPAvd = 22,
  kPSop,
  kPRnd,
  kPSel,
  kPCfd,
  kPMd,
  kPAna,
  kPTts,
  kPTtu,
  kPDisplay,
  kPEnd,
  kParamCount = 33
};
void DefaultParams(i32* params);  // the defaults of the parameter table

// Weight block: [0..12] my side (pawn, knight, bishop, rook, queen, king, cc,
// mob, ks, pp, pw, two fixed), [13..25] op side, [26] avd, [27] noise range,
// [28] rnd, [29] sel, [30] cfd, [31] md, [32] ana, [33] ttu, [34] 1, [35] display.
enum WeightIndex {
  kWPawn = 0,
  kWKnight,
  kWBishop,
  kWRook,
  kWQueen,
  kWKing,
  kWCc,
  kWMob,
  kWKs,
  kWPp,
  kWPw,
  kWFix1,
  kWFix2,
  kWSide = 13,
  kWAvd = 26,
  kWNoise,
  kWRnd,
  kWSel,
  kWCfd,
  kWMd,
  kWAna,
  kWTtu,
  kWExt,
  kWDisplay,
  kWeightCount = 36
};
extern i32 g_weights[kWeightCount];  // made by OptsXlat
extern i32
    g_sw[kWeightCount];  // search weights made by Planner ([0..12] white, [13..25] black, [30] contempt)
int PercentWeight(i32 percent);
// Translates the parameters; values out of their sane range are clamped.
void OptsXlat(const i32* params);

// Per-search tables (Planner).
extern i32 g_material[2][6];  // material value per side and type
extern i32 g_comb[12][80];    // material + piece-square value per piece index and square
extern int g_rootWhite;       // side to move at the root

struct Phase {
  int phi0, phi1, phi2;
};
Phase GetPhase(const SearchBoard& bd);
void Planner();
void PlannerInvalidate();  // a new root: WoodXlat refuses until Planner runs
void CalcPreset(int phi0, int phi1, int phi2);
int WoodXlat(i32 w, i32 b);

// Scores from the side to move's view; lo and hi receive the bounds.
int EvalFast(SearchBoard& bd, int* lo, int* hi);
int EvalFull(SearchBoard& bd, int* lo, int* hi);
int CapPredict(EngineMove move, const SearchBoard& bd);
int OptimisticValue(EngineMove move, SearchBoard& bd, int eval);
// The last move (made from prev) changed the material class.
bool MaterialClassChange(EngineMove move, const SearchBoard& prev);

// Terms of the last full evaluation (for the dump and tests).
struct EvalTerms {
  int paw[2], spi[2], pas[2], pxx, mob[2], ksf[2];
  int WO, SV, PW, PP, AC, SP, KI, BI, OP, TE;
  Phase ph;
};
extern EvalTerms g_terms;
void DumpEval(PrintFn print, void* ctx);
int Activity(SearchBoard& bd, int side, const Phase& ph);
// Endgame knowledge (White's view): narrows the score s and the bounds lo, hi.
void EndgameKnowledge(const SearchBoard& bd, int& s, int& lo, int& hi);

}  // namespace corvane
