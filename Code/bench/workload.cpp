// The benchmark workload. The Whetstone modules follow Curnow and Wichmann's
// published algorithm; E1 is indexed from 0 where the original counts from 1.
// The variables are volatile: each result is stored and read back as the
// workload prescribes, whatever the optimiser would like to keep in registers.

#include "workload.h"

#include <cmath>

namespace {

const double T = 0.499975;
const double T1 = 0.50025;
const double T2 = 2.0;

// Loop counts of one Whetstone pass; modules 1, 5 and 10 do not run.
const int kModule2 = 12;
const int kModule3 = 14;
const int kModule4 = 345;
const int kModule6 = 210;
const int kModule7 = 32;
const int kModule8 = 899;
const int kModule9 = 616;
const int kModule11 = 93;
const int kPassesPerIteration = 10;

volatile double E1[4];
volatile int J, K, L;
volatile double X, Y, Z;
volatile int AckermannResult;
// Read from memory so the recursion cannot be folded away at compile time.
volatile int AckermannM = 3, AckermannN = 3;

// Module 3's procedure: six rounds over the array, each ending with a division.
void ArrayAsParameter(volatile double* e) {
  for (int round = 0; round < 6; ++round) {
    e[0] = (e[0] + e[1] + e[2] - e[3]) * T;
    e[1] = (e[0] + e[1] - e[2] + e[3]) * T;
    e[2] = (e[0] - e[1] + e[2] + e[3]) * T;
    e[3] = (-e[0] + e[1] + e[2] + e[3]) / T2;
  }
}

// Module 8's procedure.
void ProcedureCall(double x, double y, volatile double* z) {
  double x1 = x;
  double y1 = y;
  x1 = T * (x1 + y1);
  y1 = T * (x1 + y1);
  *z = (x1 + y1) / T2;
}

// Module 9's procedure: rotates three elements through the indices J, K, L
// (counted from 1).
void ArrayReferences() {
  E1[J - 1] = E1[K - 1];
  E1[K - 1] = E1[L - 1];
  E1[L - 1] = E1[J - 1];
}

void WhetstonePass() {
  // Module 2: array elements.
  E1[0] = 1.0;
  E1[1] = -1.0;
  E1[2] = -1.0;
  E1[3] = -1.0;
  for (int i = 0; i < kModule2; ++i) {
    E1[0] = (E1[0] + E1[1] + E1[2] - E1[3]) * T;
    E1[1] = (E1[0] + E1[1] - E1[2] + E1[3]) * T;
    E1[2] = (E1[0] - E1[1] + E1[2] + E1[3]) * T;
    E1[3] = (-E1[0] + E1[1] + E1[2] + E1[3]) * T;
  }

  // Module 3: array as parameter.
  for (int i = 0; i < kModule3; ++i) ArrayAsParameter(E1);

  // Module 4: conditional jumps.
  J = 1;
  for (int i = 0; i < kModule4; ++i) {
    J = (J == 1) ? 2 : 3;
    J = (J > 2) ? 0 : 1;
    J = (J < 1) ? 1 : 0;
  }

  // Module 6: integer arithmetic.
  J = 1;
  K = 2;
  L = 3;
  for (int i = 0; i < kModule6; ++i) {
    J = J * (K - J) * (L - K);
    K = L * K - (L - J) * K;
    L = (L - K) * (K + J);
    E1[L - 2] = J + K + L;
    E1[K - 2] = J * K * L;
  }

  // Module 7: trigonometric functions.
  X = 0.5;
  Y = 0.5;
  for (int i = 0; i < kModule7; ++i) {
    X = T * std::atan(T2 * std::sin(X) * std::cos(X) / (std::cos(X + Y) + std::cos(X - Y) - 1.0));
    Y = T * std::atan(T2 * std::sin(Y) * std::cos(Y) / (std::cos(X + Y) + std::cos(X - Y) - 1.0));
  }

  // Module 8: procedure calls.
  X = 1.0;
  Y = 1.0;
  Z = 1.0;
  for (int i = 0; i < kModule8; ++i) ProcedureCall(X, Y, &Z);

  // Module 9: array references.
  J = 1;
  K = 2;
  L = 3;
  E1[0] = 1.0;
  E1[1] = 2.0;
  E1[2] = 3.0;
  for (int i = 0; i < kModule9; ++i) ArrayReferences();

  // Module 11: standard functions.
  X = 0.75;
  for (int i = 0; i < kModule11; ++i) X = std::sqrt(std::exp(std::log(X) / T1));
}

}  // namespace

int Ackermann(int m, int n) {
  if (m == 0) return n + 1;
  if (n == 0) return Ackermann(m - 1, 1);
  return Ackermann(m - 1, Ackermann(m, n - 1));
}

void RunWorkloadIteration() {
  AckermannResult = Ackermann(AckermannM, AckermannN);
  for (int pass = 0; pass < kPassesPerIteration; ++pass) WhetstonePass();
}

WorkloadSnapshot WorkloadVariables() {
  WorkloadSnapshot s;
  for (int i = 0; i < 4; ++i) s.e1[i] = E1[i];
  s.j = J;
  s.k = K;
  s.l = L;
  s.x = X;
  s.y = Y;
  s.z = Z;
  s.ackermann = AckermannResult;
  return s;
}
