// The endless mode's 3D scene on the recorded calls: cut-away, vanishing cells, the next row,
// the rise offset, the warning ceiling, the cursor, the menu screens.
#include <cmath>

#include "endless_fixture.h"

using namespace platform;

namespace {

// World position of a cell as the board places it.
Vector3 CellCentre(float x, float y, float z, float cc) {
    Matrix m = Translation(x - 5, y - 6 + cc, z) * Scaling(2, 1.7f, 1.7f) * RotationY(0.7853982f);
    return TransformCoord({0, 0, 0}, m);
}

} // namespace

TEST_F(EndlessTest, CutAwaySlicesShowAsGhostsAndVanishingGhostsUseTheNeutralBlock) {
    StartPlaying();
    Endless.grid[0][0][0] = Endless.grid[0][0][2] = 1; // cut away (Z 0 and 2)
    Endless.grid[2][0][1] = -2;                        // vanishing, cut away (Z 1)
    Endless.pairs[2][0][1][0] = 1;
    Endless.grid[3][0][3] = 3;  // solid
    Endless.grid[4][0][4] = -4; // vanishing, solid
    Endless.pairs[4][0][4][0] = 1;
    Endless.LeftClearFlg = 2;
    Endless.BlockZ = 3;
    device.ClearCalls();
    EndlessDraw();
    auto ghosts = Calls(CallKind::Mesh, Model("１"));
    ASSERT_EQ(ghosts.size(), 2u);
    EXPECT_FLOAT_EQ(ghosts[0].Alpha() + ghosts[1].Alpha(), 0.2f);
    auto neutral = Calls(CallKind::Mesh, Model("６"));
    ASSERT_EQ(neutral.size(), 2u) << "the vanishing ghost, and the ceiling";
    EXPECT_FLOAT_EQ(neutral[0].Alpha(), 0.1f);
    EXPECT_TRUE(Calls(CallKind::Mesh, Model("１０")).empty()) << "no vanishing look when cut away";
    ASSERT_EQ(Calls(CallKind::Mesh, Model("１２")).size(), 1u) << "kind 4 vanishing, solid";
    EXPECT_FLOAT_EQ(Calls(CallKind::Mesh, Model("３"))[0].Alpha(), 1.0f);
}

TEST_F(EndlessTest, NextRowShowsFaintlyUnderTheBoardAndEverythingRidesOnTheRiseOffset) {
    StartPlaying();
    for (auto& slice : Endless.NextRow)
        for (auto& cell : slice) cell = 5;
    Endless.grid[1][0][2] = 2;
    Endless.RightClearFlg = 5; // slice 5 cut away
    Endless.CursorFlg = 1, Endless.BlockX = 4;
    Endless.cc = 0.44f;
    device.ClearCalls();
    EndlessDraw();
    auto next = Calls(CallKind::Mesh, Model("５"));
    ASSERT_EQ(next.size(), 30u);
    int faint = 0;
    for (const auto& m : next) faint += m.Alpha() == 0.1f;
    EXPECT_EQ(faint, 5) << "the row's cells in the cut-away slice";
    EXPECT_NEAR(TransformCoord({}, next[0].matrix).y, CellCentre(0, -0.8f, 0, 0.44f).y, 1e-4f);
    auto block = Calls(CallKind::Mesh, Model("２"));
    ASSERT_EQ(block.size(), 1u);
    EXPECT_NEAR(TransformCoord({}, block[0].matrix).y - CellCentre(1, 0, 2, 0).y, 0.748f, 1e-4f)
        << "half a row higher";
    auto background = Calls(CallKind::Quad, "./bmp/背景.bmp");
    ASSERT_EQ(background.size(), 1u);
    EXPECT_FLOAT_EQ(background[0].matrix.m[3][1], -19.4f) << "the background stays";
}

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

TEST_F(EndlessTest, CursorLiesOverEverythingWithItsPulseAndAnimationFrame) {
    StartPlaying();
    Endless.CursorFrame = 3;
    Endless.pulse.Pulse = 253;
    device.ClearCalls();
    Frame();
    const auto& calls = device.Calls();
    size_t depthClear = 0, cursor = 0;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].kind == CallKind::Clear) depthClear = i;
        if (calls[i].kind == CallKind::Quad && calls[i].resource == "./bmp/カーソル４.bmp")
            cursor = i;
    }
    ASSERT_GT(cursor, depthClear);
    EXPECT_EQ(calls[depthClear].value, static_cast<uint32_t>(CLEAR_ZBUFFER));
    EXPECT_EQ(calls[cursor].vertices[0].color, 0xFFFFFFFFu) << "253 + 4 clamps at 255";
    EXPECT_FALSE(calls[cursor].lighting);
    Frame();
    EXPECT_EQ(Endless.pulse.Pulse, 251) << "and turns back";
    EndlessDraw();
    EXPECT_EQ(Endless.pulse.Pulse, 251) << "drawing alone leaves the pulse";

    // On the right face the quad lies just outside the face, over the cell and its Z + 1 partner.
    Endless.CursorFlg = 1, Endless.BlockX = 5, Endless.BlockZ = 2;
    Endless.CursorPos = Endless.CellPos[5][0][2];
    device.ClearCalls();
    EndlessDraw();
    auto quad = Calls(CallKind::Quad, "./bmp/カーソル４.bmp");
    ASSERT_EQ(quad.size(), 1u);
    const auto &v0 = quad[0].vertices[0], &v2 = quad[0].vertices[2];
    Vector3 mid = TransformCoord({(v0.x + v2.x) / 2, (v0.y + v2.y) / 2, v0.z}, quad[0].matrix);
    Vector3 a = CellCentre(5, 0, 2, 0), b = CellCentre(5, 0, 3, 0);
    EXPECT_NEAR(mid.x, (a.x + b.x) / 2 + 0.7f * 2 * std::cos(0.7853982f), 0.05f);
    EXPECT_NEAR(mid.z, (a.z + b.z) / 2 - 0.7f * 2 * std::sin(0.7853982f), 0.05f);
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
    Endless.GameFlg = 4;
    device.ClearCalls();
    EndlessDraw();
    EXPECT_TRUE(device.Calls().empty()) << "the results phase draws no 3D";
}
