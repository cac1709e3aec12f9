// The line matcher on hand-made boards: chains, garbage and the vanish countdown. Longer lines
// and lines through cells marked earlier in the pass are left to the reference comparison,
// which catches a wrong test cell for lines of any length.
#include "board_fixture.h"
#include "platform/random.h"

namespace {

void Line(Board& b, int x, int y, int z, int axis, int length, int32_t kind) {
    for (int i = 0; i < length; ++i)
        b.Put(x + (axis == 0) * i, y + (axis == 1) * i, z + (axis == 2) * i, kind);
}

} // namespace

TEST(MatchLines, LinesOfOnePassStartOrContinueTheChain) {
    for (int32_t chain : {0, 1}) {
        Board b;
        Line(b, 0, 0, 0, 0, 3, 3);
        Line(b, 5, 0, 2, 2, 3, 4);
        b.chainFlag = chain, b.combo = 3, b.maxCombo = 3;
        b.Match();
        EXPECT_EQ(b.score, chain ? 40 + 50 : 20);
        EXPECT_EQ(b.Counters(), (std::array{b.score, chain ? 5 : 1, chain ? 2 : 0, 0, chain ? 5 : 1,
                                            chain ? 5 : 3}))
            << "score, combo, chain steps, nothing left to fall, last and best combo";
    }
}

TEST(MatchLines, GarbageOnAFaceOfAVanishingCellBecomesABlockOneDrawEach) {
    Board b;
    Line(b, 0, 0, 2, 0, 3, 1);
    b.Put(1, 1, 2, kGarbage); // on top of the middle cell
    b.Put(1, 0, 3, kGarbage); // behind it
    b.Put(3, 0, 2, kGarbage); // beside the last cell
    b.Put(3, 1, 2, kGarbage); // edge only
    b.Put(3, 0, 3, kGarbage); // edge only
    platform::srand(99);
    int draws[4];
    for (int& d : draws) d = platform::rand();
    platform::srand(99);
    b.Match();
    EXPECT_EQ(b.grid[1][1][2], draws[0] % 5 + 1);
    EXPECT_EQ(b.grid[1][0][3], draws[1] % 5 + 1);
    EXPECT_EQ(b.grid[3][0][2], draws[2] % 5 + 1);
    EXPECT_EQ(platform::rand(), draws[3]);
    EXPECT_EQ(b.grid[3][1][2], kGarbage);
    EXPECT_EQ(b.grid[3][0][3], kGarbage);
    EXPECT_EQ(b.pairs[1][1][2][0], 0);
}

TEST(MatchLines, MarkedCellsEmptyOnThe102ndPassAndWhatFallsContinuesTheChain) {
    Board b;
    Line(b, 0, 0, 0, 0, 3, 1); // vanishes
    b.Put(0, 1, 0, 2);         // stands on it, then lands between two of its kind
    b.Put(0, 0, 1, 2), b.Put(0, 0, 2, 2);
    for (int pass = 1; pass <= 102; ++pass) {
        b.Match();
        EXPECT_EQ(b.chainFlag, 1) << pass;
        EXPECT_TRUE(pass != 101 || (b.Marked(0, 0, 0) && b.pairs[0][0][0][1] == -1));
        FallStep(b.grid, b.pairs);
    }
    EXPECT_EQ(b.grid[1][0][0], 0);
    EXPECT_EQ(b.pairs[1][0][0][0], 0);
    EXPECT_EQ(b.pairs[1][0][0][1], 99);
    EXPECT_EQ(b.grid[0][0][0], 2); // fell in the same update
    EXPECT_EQ(b.score, 10);

    b.Match();
    EXPECT_EQ(b.Counters(), (std::array{10 + 2 * 10, 2, 1, 0, 2, 2}));
}
