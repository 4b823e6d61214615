#include <gtest/gtest.h>
#include "perft.h"
#include "trans.h"
using namespace corvane;
TEST(Perft, Start) { ASSERT_TRUE(SetupRootFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1")); EXPECT_EQ(Perft(4), 197281u); }
