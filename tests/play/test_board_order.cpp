// The order of a board's model draws: opaque cells model by model, translucent ones (ghosts, a
// fading board) in board order.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "media/model.h"
#include "platform/recording_device.h"
#include "play/draw.h"
#include "support/boards.h"
#include "support/files.h"

using namespace platform;

namespace {

// Each model draw's model number, cell (from its world translation) and alpha.
using Draw = std::tuple<int, int, int, int, float>;

std::vector<Draw> Draws(RecordingDevice& device, const BoardPlacement& place) {
    std::vector<Draw> out;
    for (const auto& c : device.Calls()) {
        if (c.kind != CallKind::Mesh || c.subset != 0) continue;
        const int model = c.resource == boards::Model("１") ? 1 : 2;
        const auto cell = [&](int i, float offset) {
            return static_cast<int>(std::lround(c.matrix.m[3][i] - offset));
        };
        out.emplace_back(model, cell(0, place.offset.x), cell(1, place.offset.y),
                         cell(2, place.offset.z), c.Alpha());
    }
    return out;
}

TEST(BoardOrder, OpaqueCellsGoModelByModelAndTranslucentOnesInBoardOrder) {
    testfiles::DataDir data;
    for (const char* n : {"１", "２"}) data.Put(boards::Model(n), testfiles::kCubeX);
    RecordingDevice device;
    ModelRecord models[14];
    LoadModel(models[1], boards::Model("１").c_str(), device);
    LoadModel(models[2], boards::Model("２").c_str(), device);
    PlayBoard board = boards::Fresh();
    boards::Clear(board);
    board.grid[0][0][3] = 2, board.grid[0][1][3] = 1;
    board.grid[1][0][3] = 2, board.grid[1][1][3] = 1;
    board.grid[0][0][0] = 2, board.grid[0][1][0] = 1; // cut away: ghosts
    board.LeftClearFlg = 0;
    const BoardPlacement place{{-5.0f, -6.0f, 0.0f}, {1.0f, 1.0f, 1.0f}, 0.0f, -0.8f};

    device.ClearCalls();
    DrawBoard(device, board, 0.0f, models, place, kEndlessLook, 1.0f, nullptr);
    EXPECT_EQ(Draws(device, place), (std::vector<Draw>{{1, 0, 1, 3, 1.0f},
                                                       {1, 1, 1, 3, 1.0f},
                                                       {2, 0, 0, 3, 1.0f},
                                                       {2, 1, 0, 3, 1.0f},
                                                       {2, 0, 0, 0, kGhostAlpha},
                                                       {1, 0, 1, 0, kGhostAlpha}}));

    device.ClearCalls();
    DrawBoard(device, board, 0.0f, models, place, kEndlessLook, 0.5f, nullptr);
    EXPECT_EQ(Draws(device, place), (std::vector<Draw>{{2, 0, 0, 3, 0.5f},
                                                       {1, 0, 1, 3, 0.5f},
                                                       {2, 1, 0, 3, 0.5f},
                                                       {1, 1, 1, 3, 0.5f},
                                                       {2, 0, 0, 0, kGhostAlpha},
                                                       {1, 0, 1, 0, kGhostAlpha}}))
        << "a fading board blends block over block in board order";
    for (ModelRecord& m : models) ReleaseModel(m);
}

} // namespace
