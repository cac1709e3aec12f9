// Garbage rows: when they are delivered, what they settle, and what makes them wait.
#include "modes/versus/garbage.h"
#include "puzzle/board_fixture.h"

namespace {

int CountCells(const Board& b, int32_t value) {
    int n = 0;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) n += b.grid[x][y][z] == value;
    return n;
}

bool RowIsGarbage(const Board& b, int y) {
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z)
            if (b.grid[x][y][z] != kGarbage) return false;
    return true;
}

} // namespace

TEST(VersusGarbage, OneRowPerDeliverySettlesHalfTheDebt) {
    const int32_t after[7] = {0, 0, 0, 1, 1, 2, 2};
    for (int32_t owed = 1; owed <= 6; ++owed) {
        Board b;
        b.Put(2, 0, 3, 4);
        int32_t left = owed;
        EXPECT_TRUE(DropGarbage(b.grid, b.pairs, left, 0));
        EXPECT_EQ(left, after[owed]) << "owed " << owed;
        EXPECT_TRUE(RowIsGarbage(b, 11)) << "owed " << owed;
        EXPECT_EQ(CountCells(b, kGarbage), 30) << "one row, whatever was owed";
        EXPECT_EQ(b.grid[2][0][3], 4) << "the rest of the board is untouched";
    }
}

TEST(VersusGarbage, WaitsForTheSendersChainAndAQuietReceiver) {
    Board b;
    int32_t owed = 3;
    EXPECT_FALSE(DropGarbage(b.grid, b.pairs, owed, 1)) << "the sender's chain goes on";
    int32_t none = 0;
    EXPECT_FALSE(DropGarbage(b.grid, b.pairs, none, 0)) << "nothing owed";

    Board top = b;
    top.Put(5, 11, 4, 2);
    EXPECT_FALSE(DropGarbage(top.grid, top.pairs, owed, 0)) << "a block in row 11";

    Board vanishing = b;
    vanishing.Put(0, 0, 0, -3);
    EXPECT_FALSE(DropGarbage(vanishing.grid, vanishing.pairs, owed, 0)) << "a cell vanishing";

    EXPECT_EQ(owed, 3) << "waiting settles nothing";
    EXPECT_EQ(CountCells(b, kGarbage) + CountCells(top, kGarbage) + CountCells(vanishing, kGarbage),
              0);
}
