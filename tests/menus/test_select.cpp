// The mode select scene: the Z latch, the paced marker moves, the items' scenes, the drawing.
#include "menus/select.h"

#include "media/draw.h"
#include "media/sound.h"
#include "support/scene.h"

using namespace platform;

namespace {

using SelectTest = MenuTest<Select, SelectFrame, SelectRelease>;

// Where the two markers stand beside each item.
constexpr float kAt[6][3] = {{-10.5f, 10.5f, 8.3f}, {-4.0f, 4.5f, 4.8f},   {-16.5f, 16.5f, 1.55f},
                             {-8.0f, 10.5f, -1.7f}, {-6.0f, 6.5f, -4.45f}, {-6.0f, 6.5f, -7.45f}};

} // namespace

TEST_F(SelectTest, ZHeldIntoTheSceneDoesNotChooseTheFirstItem) {
    Hold('Z');
    ASSERT_EQ(SelectInit(), 3);
    for (int i = 0; i < 15; ++i) ASSERT_EQ(Frame(), 3);
    Hold('Z', false);
    EXPECT_EQ(Frame(), 3);
    Hold('Z');
    EXPECT_EQ(Frame(), 4) << "item 0 starts the endless mode";
    EXPECT_EQ(Select.marker.mesh, nullptr) << "released when left";
}

TEST_F(SelectTest, HoldingDownWalksToTheLastItemTenFramesApartOnTheFirstVisit) {
    Select.SelectWait = 0;
    SelectInit();
    Hold(VK_DOWN);
    std::vector<int> moveFrames;
    for (int frame = 1; frame <= 80; ++frame) {
        int before = Select.SelectItem;
        Frame();
        if (Select.SelectItem == before) continue;
        moveFrames.push_back(frame);
        const float* m = kAt[Select.SelectItem];
        EXPECT_NEAR(Select.MarkerLeft.x, m[0], 1e-5f) << Select.SelectItem;
        EXPECT_NEAR(Select.MarkerRight.x, m[1], 1e-5f);
        EXPECT_NEAR(Select.MarkerLeft.y, m[2], 1e-5f);
        EXPECT_NEAR(Select.MarkerRight.y, m[2], 1e-5f);
        EXPECT_EQ(Select.MarkerLeft.z, 0.0f);
    }
    EXPECT_EQ(moveFrames, (std::vector<int>{11, 21, 31, 41, 51})) << "eleventh frame earliest";
}

TEST_F(SelectTest, TheWaitIsKeptBetweenVisitsAndRestartsAtTheEnds) {
    Select.SelectWait = 25; // as left by an earlier visit
    SelectInit();
    Hold(VK_DOWN);
    Frame();
    EXPECT_EQ(Select.SelectItem, 1) << "the first frame after a return can move";
    Hold(VK_DOWN, false);
    SelectRelease();

    SelectInit();
    Select.SelectWait = 10;
    Hold(VK_UP);
    Frame();
    EXPECT_EQ(Select.SelectItem, 0);
    EXPECT_EQ(Select.SelectWait, 1) << "Up on the top item restarts the wait";
}

TEST_F(SelectTest, EachItemStartsItsSceneWithoutAnotherFrameTheLastTwoEndTheProgram) {
    const int32_t scenes[] = {4, 6, 8, 10, 12, 13};
    for (int item = 0; item < 6; ++item) {
        SelectInit();
        Select.SelectItem = item;
        Frame();
        Hold('Z');
        device.ClearCalls();
        EXPECT_EQ(Frame(), scenes[item]);
        EXPECT_EQ(device.Count(CallKind::Present), 0u) << item;
        ReleaseKeys();
    }
}

TEST_F(SelectTest, DrawsBackgroundBoardAndTwoMarkersSpinningApart) {
    Vol = -1000;
    SelectInit();
    int32_t volume = 0;
    ASSERT_NE(Select.music, nullptr);
    Select.music->GetVolume(&volume);
    EXPECT_EQ(volume, -1000) << "the music takes the volume chosen in the options";

    Frame();
    device.ClearCalls();
    Frame(); // MarkerSpin 6
    std::vector<RecordedCall> draws;
    for (const auto& c : device.Calls())
        if (c.kind == CallKind::Quad || c.kind == CallKind::Mesh) draws.push_back(c);
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[0].resource, "./bmp/背景.bmp");
    EXPECT_TRUE(Near(draws[0].matrix, Translation(4.3f, -19.2f, 0)));
    EXPECT_EQ(draws[1].resource, "./bmp/セレクト.bmp");
    EXPECT_EQ(draws[1].vertices[0].x, -10.0f);
    EXPECT_TRUE(Near(draws[1].matrix, Scaling(2, 1, 1)));
    float spin = 6 * kDegToRad;
    EXPECT_TRUE(Near(draws[2].matrix, RotationY(-spin) * Translation(-10.5f, 8.3f, 0)));
    EXPECT_TRUE(Near(draws[3].matrix, RotationY(spin) * Translation(10.5f, 8.3f, 0)));
    EXPECT_TRUE(draws[2].lighting && draws[3].lighting);
    EXPECT_EQ(draws[2].resource, "./xFile/パズル用図形３.x");
    EXPECT_EQ(device.RenderState(RS_LIGHTING), 0u);
}
