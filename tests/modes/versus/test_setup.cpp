// The versus mode's set-up: both boards dealt, state reset, resources, the clip plane.
#include <cstring>

#include "versus_fixture.h"

using namespace platform;

TEST_F(VersusTest, BothBoardsStartWithThreeRowsOfKinds1To5AndFreshPairs) {
    for (int game = 0; game < 2; ++game) {
        Versus.left.BlockX = 3, Versus.right.cc = 0.5f, Versus.GameFlg = 6;
        Versus.left.MoveWait = 7;
        BlockGrid before;
        std::memcpy(before, Versus.left.grid, sizeof before);
        EXPECT_EQ(VersusInit(), 7);
        for (const VersusSide* s : {&Versus.left, &Versus.right}) {
            int blocks = 0;
            for (int x = 0; x < kSlices; ++x)
                for (int y = 0; y < kRows; ++y)
                    for (int z = 0; z < kDepth; ++z) {
                        int32_t v = s->grid[x][y][z];
                        if (y <= 2) {
                            EXPECT_TRUE(v >= 1 && v <= 5) << v;
                            ++blocks;
                        } else {
                            EXPECT_EQ(v, 0);
                        }
                        EXPECT_EQ(s->pairs[x][y][z][0], 0);
                        EXPECT_EQ(s->pairs[x][y][z][1], kVanishFrames);
                    }
            EXPECT_EQ(blocks, 90);
            EXPECT_EQ(s->BlockX + s->BlockY + s->BlockZ + s->CursorFlg, 0);
            EXPECT_EQ(s->cc, 0.0f);
        }
        EXPECT_EQ(Versus.GameFlg, 0);
        EXPECT_EQ(Versus.EndSelect, 1);
        EXPECT_EQ(Versus.left.MoveWait, 7) << "frame counters carry over";
        EXPECT_NE(std::memcmp(before, Versus.left.grid, sizeof before), 0) << "a new deal";
        VersusRelease();
    }
}

TEST_F(VersusTest, SetUpLoadsEveryModelAndCutsTheSceneBelowHeightMinus9) {
    VersusInit();
    for (int i = 1; i <= 13; ++i) EXPECT_TRUE(Versus.models[i].mesh) << "model " << i;
    EXPECT_TRUE(Versus.startSprite && Versus.dividerSprite && Versus.resultSprite);
    EXPECT_EQ(device.RenderState(RS_CLIPPLANEENABLE), CLIPPLANE0);
    const Plane& p = device.ClipPlane();
    EXPECT_FLOAT_EQ(p.b, 1.0f);
    EXPECT_FLOAT_EQ(p.d, 9.0f) << "y + 9 >= 0 is kept";
    VersusRelease();
    VersusRelease(); // harmless twice
    EXPECT_FALSE(Versus.models[2].mesh);
    EXPECT_FALSE(Versus.cursor || Versus.resultSprite || Versus.music);
}
