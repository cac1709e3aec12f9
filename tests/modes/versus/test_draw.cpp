// The versus mode's 3D scene on the recorded calls: the four passes per board and their
// placements, walls, clipping, the cursors, the menu screens.
#include <algorithm>

#include "media/draw.h"
#include "versus_fixture.h"

using namespace platform;

namespace {

Matrix LeftCell(float x, float y, float z, float cc) {
    return Translation(x - 9.5f, y - 5.5f + cc, z - 4.5f) * Scaling(1.7f, 1.5f, 1.5f) *
           RotationY(0.43633232f);
}
Matrix RightCell(float x, float y, float z, float cc) {
    return Translation(x + 2.0f, y - 5.5f + cc, z + 3.0f) * Scaling(1.2f, 1.5f, 2.3f) *
           RotationY(0.95993108f);
}

int WithAlpha(const std::vector<RecordedCall>& calls, float alpha) {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [&](const auto& c) { return c.Alpha() == alpha; }));
}

} // namespace

TEST_F(VersusTest, AVanishingCellShowsTheNeutralBlockThenItsOverlay) {
    StartPlaying();
    Put(Versus.left, 2, 1, 3, -3);
    Versus.left.cc = 0.25f;
    device.ClearCalls();
    VersusDraw();
    auto neutral = Calls(CallKind::Mesh, Model("６"));
    auto overlay = Calls(CallKind::Mesh, Model("１１"));
    ASSERT_EQ(neutral.size(), 1u);
    ASSERT_EQ(overlay.size(), 1u);
    EXPECT_TRUE(Near(neutral[0].matrix, LeftCell(2, 1, 3, 0.25f)));
    EXPECT_TRUE(Near(overlay[0].matrix, neutral[0].matrix));
    EXPECT_EQ(neutral[0].Alpha(), 1.0f);
    EXPECT_EQ(overlay[0].Alpha(), 1.0f);
    const auto& calls = device.Calls();
    auto first = [&](const std::string& model) {
        return std::find_if(calls.begin(), calls.end(),
                            [&](const auto& c) { return c.resource == model; });
    };
    EXPECT_LT(first(Model("６")), first(Model("１１")));
}

TEST_F(VersusTest, CutAwaySlicesShowAsGhostsAndTheComingRowFaintly) {
    StartPlaying();
    VersusSide& r = Versus.right;
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) {
            r.grid[x][0][z] = 1;
            r.NextRow[x][z] = 2;
        }
    r.grid[3][4][3] = kGarbage;
    r.BlockZ = 1, r.LeftClearFlg = 0; // the cursor one slice deep
    device.ClearCalls();
    VersusDraw();
    auto blocks = Calls(CallKind::Mesh, Model("１"));
    ASSERT_EQ(blocks.size(), 30u);
    EXPECT_EQ(WithAlpha(blocks, 0.1f), 6) << "the front slice only as ghosts";
    EXPECT_TRUE(Near(blocks.back().matrix, RightCell(5, 0, 0, 0))) << "ghosts come last";
    auto next = Calls(CallKind::Mesh, Model("２"));
    ASSERT_EQ(next.size(), 30u);
    EXPECT_EQ(WithAlpha(next, 0.1f), 6);
    EXPECT_EQ(WithAlpha(next, 0.3f), 24);
    EXPECT_TRUE(Near(next[0].matrix, RightCell(0, -1, 0, 0))) << "one row under the board";
    EXPECT_EQ(Calls(CallKind::Mesh, Model("７")).size(), 1u) << "garbage has its own block";
}

TEST_F(VersusTest, BoardsAreClippedButNotTheBackgroundOrTheCursorsWhichLieOnTop) {
    StartPlaying();
    Versus.left.grid[0][0][0] = 4;
    device.ClearCalls();
    Frame();
    EXPECT_EQ(Versus.left.pulse.Pulse, 4);
    const auto& calls = device.Calls();
    std::vector<std::string> order;
    for (const auto& c : calls) {
        if (c.kind == CallKind::Quad || c.kind == CallKind::Mesh) {
            bool clipped = c.resource != "./bmp/背景.bmp" && c.resource != "./bmp/カーソル.bmp";
            EXPECT_EQ(c.clip, clipped) << c.resource;
            EXPECT_EQ(c.lighting, clipped) << c.resource;
        }
        if (c.kind == CallKind::Quad && c.resource != "./bmp/壁.bmp") order.push_back(c.resource);
        if (c.kind == CallKind::Clear && c.value == static_cast<uint32_t>(CLEAR_ZBUFFER))
            order.push_back("depth");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"./bmp/背景.bmp", "depth", "./bmp/カーソル.bmp",
                                               "./bmp/カーソル.bmp"}));
    EXPECT_EQ(device.Count(CallKind::Quad, "./bmp/壁.bmp"), 4u);
    auto cursors = Calls(CallKind::Quad, "./bmp/カーソル.bmp");
    EXPECT_EQ(cursors[0].vertices[0].color, 0xFFFF0404u) << "red swinging towards white";

    // The left cursor on the right face stands across the board.
    VersusSide& l = Versus.left;
    l.CursorFlg = 1, l.BlockX = 5, l.BlockZ = 2, l.BlockY = 3, l.CursorPos = {5, 3, 2};
    device.ClearCalls();
    VersusDraw();
    cursors = Calls(CallKind::Quad, "./bmp/カーソル.bmp");
    ASSERT_EQ(cursors.size(), 2u);
    EXPECT_TRUE(Near(cursors[0].matrix, Translation(2 - 4.5f, 3 - 5.5f + l.cc, -(5 - 9.5f)) *
                                            Scaling(1.5f, 1.5f, 1.7f) * RotationY(-1.0471976f)));
    EXPECT_FLOAT_EQ(cursors[0].vertices[0].z, -0.7f);
    EXPECT_EQ(device.RenderState(RS_CLIPPLANEENABLE), CLIPPLANE0) << "on again at the end";
}

TEST_F(VersusTest, MenusShowTheirScreenAndTwoSpinningMarkersButNoBoard) {
    StartPlaying();
    Versus.left.grid[0][0][0] = 1;
    for (int phase : {5, 6}) {
        Versus.GameFlg = phase;
        Versus.MenuSpin = 30;
        device.ClearCalls();
        Frame();
        auto markers = Calls(CallKind::Mesh);
        ASSERT_EQ(markers.size(), 2u);
        EXPECT_EQ(markers[0].resource, Model("２"));
        const Vector3& m = Versus.MarkerPos[1];
        EXPECT_TRUE(
            Near(markers[1].matrix, RotationY(-32 * kDegToRad) * Translation(m.x, m.y, m.z)))
            << "turned the other way, 2 degrees further this frame";
        EXPECT_EQ(device.Count(CallKind::Quad), 1u) << "the screen alone";
        EXPECT_EQ(device.Count(CallKind::Quad,
                               phase == 5 ? "./bmp/ポーズ.bmp" : "./bmp/ゲーム終了画面.bmp"),
                  1u);
        EXPECT_EQ(device.Count(CallKind::Sprite), 0u) << "no divider";
    }
}
