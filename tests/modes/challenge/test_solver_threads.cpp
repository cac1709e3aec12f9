// The search split over threads finds the very plan one thread finds, whatever the timing.
#include <gtest/gtest.h>

#include "modes/challenge/levels.h"
#include "modes/challenge/solver.h"

namespace {

void ExpectSamePlan(const Solution& one, const Solution& many) {
    EXPECT_EQ(many.found, one.found);
    EXPECT_EQ(many.duringFalls, one.duringFalls);
    EXPECT_EQ(many.primed, one.primed);
    EXPECT_EQ(many.clearedAt, one.clearedAt);
    ASSERT_EQ(many.swaps.size(), one.swaps.size());
    for (size_t i = 0; i < one.swaps.size(); ++i) {
        EXPECT_EQ(many.swaps[i].at, one.swaps[i].at) << "swap " << i + 1;
        EXPECT_EQ(many.swaps[i].update, one.swaps[i].update) << "swap " << i + 1;
    }
}

} // namespace

class Threads : public ::testing::TestWithParam<int> {};

TEST_P(Threads, TwoAndThreeThreadsFindThePlanOfOne) {
    const int level = GetParam();
    SolveLimits limits;
    limits.threads = 1;
    const Solution one = SolveLevel(level, -1, limits);
    ASSERT_TRUE(one.found) << one.searched;
    // Three threads on two processors shuffle the order in which parts finish the most.
    for (int threads : {2, 3}) {
        limits.threads = threads;
        SCOPED_TRACE(threads);
        ExpectSamePlan(one, SolveLevel(level, -1, limits));
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, Threads, ::testing::Values(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 15));

// A level without the clearing asked for is searched to the end by every thread: not found,
// and not given up.
TEST(ThreadsAlone, AnImpossibleChainIsNotFoundWithAnyNumberOfThreads) {
    for (int threads : {1, 2}) {
        SolveLimits limits;
        limits.threads = threads;
        const Solution s = SolveLevel(2, 3, limits); // level 2 asks for 2
        EXPECT_FALSE(s.found) << threads;
        EXPECT_NE(s.searched.find("every sequence tried"), std::string::npos) << s.searched;
    }
}
