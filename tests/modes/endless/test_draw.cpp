// The endless mode's 3D scene on the recorded calls: the warning ceiling and the menu screens.
// Cut-away slices, vanishing cells, the next row, the rise offset, the cursor on both faces and
// the results screen are compared call by call in the recorded whole game's traces.
#include "endless_fixture.h"

using namespace platform;

TEST_F(EndlessTest, CeilingWarnsFromTheUpdateInWhichABlockReachesTheTopRow) {
    StartPlaying();
    for (int y = 0; y < 11; ++y) Endless.grid[0][y][0] = y % 2 ? 1 : 2;
    Frame();
    EXPECT_EQ(Endless.TopWarn, 0);
    Endless.grid[0][11][0] = 2;
    device.ClearCalls();
    Frame();
    EXPECT_EQ(Endless.TopWarn, 1);
    auto ceiling = Calls(CallKind::Mesh, Model("８"));
    ASSERT_EQ(ceiling.size(), 1u);
    EXPECT_FLOAT_EQ(ceiling[0].Alpha(), 0.5f);
    Endless.grid[0][11][0] = 0;
    device.ClearCalls();
    Frame();
    EXPECT_TRUE(Calls(CallKind::Mesh, Model("８")).empty());
}

TEST_F(EndlessTest, MenusShowTheirScreenAndTwoMarkersButNoBoard) {
    StartPlaying();
    Endless.grid[0][0][0] = 1;
    Endless.GameFlg = 5;
    Endless.MarkerAngle = 30;
    device.ClearCalls();
    EndlessDraw();
    auto markers = Calls(CallKind::Mesh);
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[0].resource, Model("２"));
    EXPECT_NEAR(markers[0].matrix.m[3][0], -5.7f, 1e-5f);
    EXPECT_EQ(device.Count(CallKind::Quad, "./bmp/ポーズ.bmp"), 1u);
    EXPECT_EQ(device.RenderState(RS_LIGHTING), 0u);
    EXPECT_EQ(device.RenderState(RS_CLIPPLANEENABLE), 1u);
}
