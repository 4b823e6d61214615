// The fixed workload that the processor benchmark times: a deep recursion
// (Ackermann's function) and ten passes of the Whetstone benchmark (Curnow and
// Wichmann) with reduced loop counts.
//
// Interface: Ackermann, RunWorkloadIteration, WorkloadVariables.
#pragma once

// A(0, n) = n + 1; A(m, 0) = A(m - 1, 1); A(m, n) = A(m - 1, A(m, n - 1)).
int Ackermann(int m, int n);

// One iteration: A(3, 3), then ten Whetstone passes. Every result goes into
// the module-wide workload variables, so none of the work can be left out.
void RunWorkloadIteration();

// A copy of the module-wide workload variables, for checks.
struct WorkloadSnapshot {
  double e1[4];
  int j, k, l;
  double x, y, z;
  int ackermann;
};
WorkloadSnapshot WorkloadVariables();
