// The endless mode's 3D scene on the recorded calls: cut-away, vanishing cells, the next row,
// the rise offset, the warning ceiling, the cursor, the menu screens.
#include <cmath>

#include "endless_fixture.h"

using namespace platform;

namespace {

std::vector<RecordedCall> Meshes(const RecordingDevice& device, const std::string& model = {}) {
    std::vector<RecordedCall> out;
    for (const auto& c : device.Calls())
        if (c.kind == CallKind::Mesh && (model.empty() || c.resource == model)) out.push_back(c);
    return out;
}

std::string Model(const char* n) {
    return std::string("./xFile/パズル用図形") + n + ".x";
}

// World position of a cell as the board places it.
Vector3 CellCentre(float x, float y, float z, float cc) {
    Matrix m = Translation(x - 5, y - 6 + cc, z) * Scaling(2, 1.7f, 1.7f) * RotationY(0.7853982f);
    return TransformCoord({0, 0, 0}, m);
}

} // namespace

TEST_F(EndlessTest, CutAwaySlicesShowAsGhostsAndVanishingGhostsUseTheNeutralBlock) {
    StartPlaying();
    Endless.grid[0][0][0] = 1;  // cut away (Z 0)
    Endless.grid[2][0][1] = -2; // vanishing, cut away (Z 1)
    Endless.pairs[2][0][1][0] = 1;
    Endless.grid[3][0][3] = 3;  // solid
    Endless.grid[4][0][4] = -4; // vanishing, solid
    Endless.pairs[4][0][4][0] = 1;
    Endless.LeftClearFlg = 2;
    Endless.BlockZ = 3;
    device.ClearCalls();
    EndlessDraw();
    auto ghost1 = Meshes(device, Model("１"));
    ASSERT_EQ(ghost1.size(), 1u);
    EXPECT_FLOAT_EQ(ghost1[0].Alpha(), 0.1f);
    auto neutral = Meshes(device, Model("６"));
    ASSERT_EQ(neutral.size(), 2u) << "the vanishing ghost, and the ceiling";
    EXPECT_FLOAT_EQ(neutral[0].Alpha(), 0.1f);
    EXPECT_TRUE(Meshes(device, Model("１０")).empty()) << "no vanishing look through the cut-away";
    ASSERT_EQ(Meshes(device, Model("１２")).size(), 1u) << "kind 4 vanishing, solid";
    EXPECT_FLOAT_EQ(Meshes(device, Model("３"))[0].Alpha(), 1.0f);
}

TEST_F(EndlessTest, NextRowShowsFaintlyUnderTheBoardAndEverythingRidesOnTheRiseOffset) {
    StartPlaying();
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) Endless.NextRow[x][z] = 5;
    Endless.grid[1][0][2] = 2;
    Endless.RightClearFlg = 5; // slice 5 cut away
    Endless.CursorFlg = 1, Endless.BlockX = 4;
    Endless.cc = 0.44f;
    device.ClearCalls();
    EndlessDraw();
    auto next = Meshes(device, Model("５"));
    ASSERT_EQ(next.size(), 30u);
    int faint = 0;
    for (const auto& m : next) faint += m.Alpha() == 0.1f;
    EXPECT_EQ(faint, 5) << "the row's cells in the cut-away slice";
    Vector3 under = TransformCoord({0, 0, 0}, next[0].matrix);
    Vector3 expected = CellCentre(0, -0.8f, 0, 0.44f);
    EXPECT_NEAR(under.y, expected.y, 1e-4f);

    auto block = Meshes(device, Model("２"));
    ASSERT_EQ(block.size(), 1u);
    Vector3 at = TransformCoord({0, 0, 0}, block[0].matrix);
    EXPECT_NEAR(at.y - CellCentre(1, 0, 2, 0).y, 0.748f, 1e-4f) << "half a row higher";
    // The walls and the background stay where they are.
    for (const auto& c : device.Calls()) {
        if (c.kind == CallKind::Quad && c.resource == "./bmp/背景.bmp") {
            EXPECT_FLOAT_EQ(c.matrix.m[3][1], -19.4f);
        }
    }
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
    auto ceiling = Meshes(device, Model("８"));
    ASSERT_EQ(ceiling.size(), 1u);
    EXPECT_FLOAT_EQ(ceiling[0].Alpha(), 0.5f);
    Endless.grid[0][11][0] = 0;
    device.ClearCalls();
    Frame();
    EXPECT_TRUE(Meshes(device, Model("８")).empty());
}

TEST_F(EndlessTest, CursorLiesOverEverythingWithItsPulseAndAnimationFrame) {
    StartPlaying();
    Endless.CursorFrame = 3;
    Endless.Pulse = 253;
    device.ClearCalls();
    EndlessDraw();
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
    EndlessDraw();
    EXPECT_EQ(Endless.Pulse, 251) << "and turns back";

    // On the right face the quad lies just outside the face, over the cell and its Z + 1 partner.
    Endless.CursorFlg = 1, Endless.BlockX = 5, Endless.BlockZ = 2;
    Endless.CursorPos = Endless.CellPos[5][0][2];
    device.ClearCalls();
    EndlessDraw();
    for (const auto& c : device.Calls()) {
        if (c.kind != CallKind::Quad || c.resource != "./bmp/カーソル４.bmp") continue;
        Vector3 mid = TransformCoord({0.5f, 0.1f, -0.7f}, c.matrix);
        Vector3 a = CellCentre(5, 0, 2, 0), b = CellCentre(5, 0, 3, 0);
        EXPECT_NEAR(mid.x, (a.x + b.x) / 2 + 0.7f * 2 * std::cos(0.7853982f), 0.05f);
        EXPECT_NEAR(mid.z, (a.z + b.z) / 2 - 0.7f * 2 * std::sin(0.7853982f), 0.05f);
    }
}

TEST_F(EndlessTest, MenusShowTheirScreenAndTwoMarkersButNoBoard) {
    StartPlaying();
    Endless.grid[0][0][0] = 1;
    Endless.GameFlg = 5;
    Endless.MarkerAngle = 30;
    device.ClearCalls();
    EndlessDraw();
    auto markers = Meshes(device);
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[0].resource, Model("２"));
    EXPECT_EQ(device.Count(CallKind::Quad, "./bmp/ポーズ.bmp"), 1u);
    Vector3 left = TransformCoord({0, 0, 0}, markers[0].matrix);
    EXPECT_NEAR(left.x, -5.7f, 1e-5f);
    EXPECT_EQ(device.RenderState(RS_LIGHTING), 0u);
    EXPECT_EQ(device.RenderState(RS_CLIPPLANEENABLE), 1u);

    Endless.GameFlg = 4;
    device.ClearCalls();
    EndlessDraw();
    EXPECT_TRUE(device.Calls().empty()) << "the results phase draws no 3D";
}
