// Board drawing by placement and look, walls from a table, the cursor and its pulse, on the
// recorded calls.
#include <gtest/gtest.h>

#include "media/draw.h"
#include "media/model.h"
#include "play/draw.h"
#include "support/scene.h"

using namespace platform;

namespace {

constexpr BoardPlacement kPlace{{-5.0f, -6.0f, 0.0f}, {2.0f, 1.7f, 1.7f}, 0.7853982f, -0.8f};

class BoardDrawTest : public SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        for (int i : {1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13})
            LoadModel(models[i], Path(i).c_str(), device);
        FillCellPositions(board);
        ResetCursor(board);
    }
    void TearDown() override {
        for (ModelRecord& m : models) ReleaseModel(m);
        SceneTest::TearDown();
    }
    static std::string Path(int n) {
        const char* digits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
        std::string s = n < 10 ? digits[n] : std::string("１") + digits[n % 10];
        return "./xFile/パズル用図形" + s + ".x";
    }
    // The model and alpha of every mesh drawn.
    std::vector<std::pair<std::string, float>> Draws() const {
        std::vector<std::pair<std::string, float>> out;
        for (const auto& c : Calls(CallKind::Mesh)) out.push_back({c.resource, c.Alpha()});
        return out;
    }
    ModelRecord models[14];
    PlayBoard board;
};

} // namespace

TEST_F(BoardDrawTest, EachLookDrawsMarkedCellsItsOwnWay) {
    board.grid[1][0][2] = 3;
    board.grid[2][0][2] = -4;
    board.grid[3][0][2] = kGarbage;
    using Draw = std::pair<std::string, float>;
    DrawBoard(device, board, 0.0f, models, kPlace, kEndlessLook, 1.0f, nullptr);
    EXPECT_EQ(Draws(), (std::vector<Draw>{{Path(3), 1.0f}, {Path(7), 1.0f}, {Path(12), 1.0f}}));

    device.ClearCalls();
    DrawBoard(device, board, 0.0f, models, kPlace, kVersusLook, 1.0f, nullptr);
    EXPECT_EQ(Draws(), (std::vector<Draw>{
                           {Path(3), 1.0f}, {Path(6), 1.0f}, {Path(7), 1.0f}, {Path(12), 1.0f}}));

    device.ClearCalls();
    DrawBoard(device, board, 0.0f, models, kPlace, kChallengeLook, 1.0f, nullptr);
    auto meshes = Calls(CallKind::Mesh);
    ASSERT_EQ(meshes.size(), 3u);
    EXPECT_EQ(meshes[2].resource, Path(6));
    EXPECT_TRUE(meshes[2].wireframe);
    EXPECT_FALSE(meshes[0].wireframe);
    EXPECT_EQ(device.RenderState(RS_FILLMODE), static_cast<uint32_t>(FILL_SOLID));
}

TEST_F(BoardDrawTest, CutAwaySlicesAndTheComingRowShowFaint) {
    board.grid[0][0][0] = 1;  // in front of the cursor's slice: a ghost
    board.grid[5][0][0] = -2; // in both cut-away regions: two ghosts of model 6
    board.LeftClearFlg = 0;
    board.RightClearFlg = 5;
    NextRow next = {};
    next[0][0] = 2; // cut away
    next[2][3] = 4;
    DrawBoard(device, board, 0.5f, models, kPlace, kEndlessLook, 1.0f, &next);
    using Draw = std::pair<std::string, float>;
    EXPECT_EQ(
        Draws(),
        (std::vector<Draw>{
            {Path(1), 0.1f}, {Path(6), 0.1f}, {Path(6), 0.1f}, {Path(2), 0.1f}, {Path(4), 0.3f}}));
    auto last = Calls(CallKind::Mesh).back();
    EXPECT_TRUE(Near(last.matrix, CellWorld(kPlace, 2.0f, -0.8f, 3.0f, 0.5f)));
    EXPECT_TRUE(
        Near(CellWorld(kPlace, 2.0f, -0.8f, 3.0f, 0.5f),
             Translation(-3.0f, -6.3f, 3.0f) * Scaling(2.0f, 1.7f, 1.7f) * RotationY(0.7853982f)));
}

TEST_F(BoardDrawTest, WallsFollowTheirTableWithTheMaterialWhereAsked) {
    const WallQuad walls[2] = {{-10.0f, 11.2f, 6.5f, -10.5f, {-3.0f, -0.7f, 8.2f}, 0.5f, true},
                               {-3.7f, 11.0f, 10.0f, -11.5f, {2.0f, -0.7f, 11.0f}, -0.8f, false}};
    DrawWalls(device, nullptr, walls, 2);
    auto quads = Calls(CallKind::Quad);
    ASSERT_EQ(quads.size(), 2u);
    const auto& v = quads[1].vertices;
    EXPECT_EQ((std::array{v[0].x, v[0].y, v[2].x, v[2].y}),
              (std::array{-3.7f, 11.0f, 10.0f, -11.5f}));
    EXPECT_TRUE(quads[1].lighting);
    EXPECT_TRUE(Near(quads[1].matrix, Translation(2.0f, -0.7f, 11.0f) * RotationY(-0.8f)));
    size_t materials = 0;
    for (const auto& c : device.Calls()) materials += c.name == "material";
    EXPECT_EQ(materials, 1u);
}

TEST_F(BoardDrawTest, CursorPulseSwingsAndTheQuadFollowsItsFace) {
    CursorPulse pulse;
    std::vector<int> levels;
    for (int i = 0; i < 66; ++i) pulse.Step(), levels.push_back(pulse.Pulse);
    EXPECT_EQ((std::array{levels[0], levels[62], levels[63], levels[64], levels[65]}),
              (std::array{4, 252, 255, 251, 247}));
    EXPECT_EQ(pulse.Color(), 0xFFFFF7F7u);

    const BoardCursor cursor{{
        {-0.2f, 0.6f, 1.8f, -0.4f, -0.48f, -5.0f, -6.0f, 0.0f, {2.0f, 1.7f, 1.7f}, 0.78f},
        {-0.5f, 0.6f, 1.5f, -0.4f, -0.7f, -9.5f, -5.5f, -4.5f, {1.5f, 1.5f, 1.7f}, -1.0f},
    }};
    board.CursorFlg = 1, board.BlockX = 5, board.BlockY = 2, board.BlockZ = 3;
    RefreshCursorPos(board);
    device.SetFVF(kQuadFvf);
    DrawBoardCursor(device, board, 0.25f, cursor, nullptr, 0xFFFF1010u);
    auto quads = Calls(CallKind::Quad);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(quads[0].vertices[1].color, 0xFFFF1010u);
    EXPECT_EQ((std::array{quads[0].vertices[0].x, quads[0].vertices[0].z}),
              (std::array{-0.5f, -0.7f}));
    EXPECT_TRUE(
        Near(quads[0].matrix, Translation(3.0f - 4.5f, 2.0f - 5.5f + 0.25f, -(5.0f - 9.5f)) *
                                  Scaling(1.5f, 1.5f, 1.7f) * RotationY(-1.0f)));
}
