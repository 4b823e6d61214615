#include "workload.h"

#include <gtest/gtest.h>

namespace {

TEST(Workload, Ackermann) {
  struct Case {
    int m, n, value;
  };
  const Case cases[] = {{0, 0, 1}, {0, 7, 8}, {1, 0, 2}, {1, 5, 7}, {2, 3, 9}, {3, 0, 5}, {3, 3, 61}};
  for (const Case& c : cases) EXPECT_EQ(Ackermann(c.m, c.n), c.value) << c.m << "," << c.n;
}

// What an iteration leaves behind shows that every module ran to its end:
// the recursion's result, module 9's rotation after an even number of calls
// (616), module 11's X drawn toward 1 from 0.75, module 8's Z, and module 3's
// last element, which module 9 never touches.
TEST(Workload, IterationLeavesTheModulesResults) {
  RunWorkloadIteration();
  const WorkloadSnapshot first = WorkloadVariables();
  EXPECT_EQ(first.ackermann, 61);
  EXPECT_EQ(first.j, 1);
  EXPECT_EQ(first.k, 2);
  EXPECT_EQ(first.l, 3);
  EXPECT_EQ(first.e1[0], 3.0);
  EXPECT_EQ(first.e1[1], 2.0);
  EXPECT_EQ(first.e1[2], 3.0);
  EXPECT_GT(first.x, 0.75);
  EXPECT_LT(first.x, 1.01);
  EXPECT_EQ(first.y, 1.0);
  EXPECT_GT(first.z, 0.0);
  // Every pass starts from the same values, so iterations agree exactly.
  RunWorkloadIteration();
  const WorkloadSnapshot second = WorkloadVariables();
  EXPECT_EQ(second.e1[3], first.e1[3]);
  EXPECT_EQ(second.x, first.x);
  EXPECT_EQ(second.z, first.z);
}

}  // namespace
