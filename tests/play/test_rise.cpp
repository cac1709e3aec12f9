// The rise of a rising board, its coming row, the defeat count under both rules and the order of
// falling and matching. The deal of a fresh board is compared in the recorded whole game (its
// first trace shows the board as dealt).
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/random.h"
#include "play/rise.h"
#include "support/boards.h"

// The rates, the fast key and the halts while busy or full are checked through the endless
// and versus modes; here the step at a whole row.
TEST(Rise, AtARowTheRowDealtEarlierComesInAndTheCursorRidesUp) {
    platform::srand(3);
    RisingBoard b = boards::Fresh<RisingBoard>();
    b.BlockY = 4;
    b.cc = 0.8749f;
    RiseStep(b, 0.005, 0, 0.0);
    ASSERT_EQ(b.NextRowReady, 1);
    EXPECT_EQ(b.cc, 0.8799f) << "0.88 in single precision is still below 0.88";
    NextRow dealt;
    std::copy(&b.NextRow[0][0], &b.NextRow[0][0] + kSlices * kDepth, &dealt[0][0]);
    RiseStep(b, 0.0002, 0, 0.0);
    EXPECT_EQ(b.cc, 0.0f);
    EXPECT_EQ(b.BlockY, 5);
    EXPECT_EQ(b.CursorPos.y, 5.0f);
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) EXPECT_EQ(b.grid[x][0][z], dealt[x][z]);
}

// The 301st counted frame, the pause while a line vanishes and the reset once row 11 is free
// are checked through the endless and versus modes; here the case where the rules part.
TEST(Defeat, ARowFreedWhileALineVanishesKeepsTheEndlessCountButResetsTheVersusOne) {
    RisingBoard b = boards::Fresh<RisingBoard>();
    b.EndCnt = 50;
    EXPECT_FALSE(CountDefeat(b, true, true, DefeatRule::KeepWhileBusy));
    EXPECT_EQ(b.EndCnt, 50) << "endless tests busy first";
    CountDefeat(b, true, true, DefeatRule::ResetWhenFree);
    EXPECT_EQ(b.EndCnt, 0) << "versus resets whenever row 11 is free";
}

TEST(Settle, FallingFirstLetsALandingBlockCompleteItsLineInTheSameFrame) {
    for (SettleOrder order : {SettleOrder::MatchThenFall, SettleOrder::FallThenMatch}) {
        RisingBoard b = boards::Fresh<RisingBoard>();
        b.grid[0][0][0] = b.grid[1][0][0] = 2;
        b.grid[2][1][0] = 2; // lands beside them
        SoundRecord vanish;
        int32_t steps = 0, maxCombo = 0, lastCombo = 0, chainFlag = 0, combo = 0, score = 0;
        SettleBoard(b, vanish, {steps, maxCombo, lastCombo, chainFlag, combo, score}, order);
        EXPECT_EQ(std::abs(b.grid[2][0][0]), 2) << "landed";
        EXPECT_EQ(score, order == SettleOrder::FallThenMatch ? 10 : 0);
        ReleaseSoundRecord(vanish);
    }
}
