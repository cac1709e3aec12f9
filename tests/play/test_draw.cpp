// Board drawing on the recorded calls: the wireframe look of vanishing cells. The endless and
// versus looks, ghosts, the coming row, walls and the cursor are checked through their modes.
#include <gtest/gtest.h>

#include <tuple>

#include "media/model.h"
#include "platform/recording_device.h"
#include "play/draw.h"
#include "support/boards.h"
#include "support/files.h"

using namespace platform;

TEST(BoardDraw, TheWireframeLookDrawsVanishingCellsAsNeutralWireAndFillsSolidAfterwards) {
    testfiles::DataDir data;
    for (const char* n : {"３", "６"}) data.Put(boards::Model(n), testfiles::kCubeX);
    RecordingDevice device;
    ModelRecord models[14];
    LoadModel(models[3], boards::Model("３").c_str(), device);
    LoadModel(models[6], boards::Model("６").c_str(), device);
    PlayBoard board = boards::Fresh();
    board.grid[1][0][2] = -3;
    board.grid[2][0][2] = 3;
    board.grid[2][0][0] = 3; // cut away below
    board.LeftClearFlg = 0;
    device.ClearCalls();
    const BoardPlacement place{{-5.0f, -6.0f, 0.0f}, {2.0f, 1.7f, 1.7f}, 0.7853982f, -0.8f};
    DrawBoard(device, board, 0.0f, models, place, kChallengeLook, 1.0f, nullptr);
    std::vector<std::tuple<std::string, bool, float>> seen;
    for (const auto& c : device.Calls())
        if (c.kind == CallKind::Mesh) seen.emplace_back(c.resource, c.wireframe, c.Alpha());
    using Seen = std::vector<std::tuple<std::string, bool, float>>;
    EXPECT_EQ(seen, (Seen{{boards::Model("３"), false, 1.0f},
                          {boards::Model("６"), true, 1.0f},
                          {boards::Model("３"), false, 0.1f}}))
        << "solid, then the vanishing cell as wire, then the ghost solid again";
    EXPECT_EQ(device.RenderState(RS_FILLMODE), static_cast<uint32_t>(FILL_SOLID));
    for (ModelRecord& m : models) ReleaseModel(m);
}
