// Signature search: see signature.h.
#include "signature.h"

#include "eval.h"
#include "trans.h"

namespace corvane {

const char* const kSignaturePositions[10] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
    "r2q1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2Q1RK1 b - - 0 10",
    "2r3k1/5pp1/p3p2p/1p1bP3/3P4/P4N2/1P3PPP/2R3K1 w - - 0 28",
    "8/5pk1/6p1/8/3P4/6P1/5PK1/8 w - - 0 45",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
};

u64 SearchSignature(int depth, SignatureLine line, void* context) {
  i32 params[kParamCount];
  DefaultParams(params);
  OptsXlat(params);
  TransInit(params[kPTts]);
  u64 total = 0;
  for (const char* fen : kSignaturePositions) {
    if (!SetupRootFromFen(fen)) return 0;
    SearchResult r = SearchFixedDepth(depth);
    if (line) line(context, fen, r);
    total += r.nodes;
  }
  return total;
}

}  // namespace corvane
