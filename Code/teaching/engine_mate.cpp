#include "engine_mate.h"

#include "eval.h"
#include "search.h"
#include "trans.h"

EngineMateAnswer SearchEngineMate(const std::string& fen, int depth) {
  using namespace corvane;
  EngineMateAnswer answer{false, 0, ""};
  i32 params[kParamCount];
  DefaultParams(params);
  OptsXlat(params);
  TransInit(1 << 16);
  TransClear(0);
  if (!SetupRootFromFen(fen.c_str())) return answer;
  Planner();
  SearchResult r = SearchFixedDepth(depth);
  answer.ok = true;
  const int reported = ReportScore(r.score);
  if (reported > 9000) answer.matePlies = 10000 - reported;
  if (r.best) answer.best = std::string(SquareName(MoveFrom(r.best))) + SquareName(MoveTo(r.best));
  return answer;
}
