// The title scene: the Z latch, the logo coming to rest, the drawing of one frame, the music.
#include <gtest/gtest.h>

#include "media/draw.h"
#include "media/frame.h"
#include "menus/title.h"
#include "platform/random.h"
#include "support/scene.h"

using namespace platform;

namespace {

class TitleTest : public SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        UseVirtualClock(12345);
        Title = TitleScene{};
    }
    void TearDown() override {
        TitleRelease();
        SceneTest::TearDown();
    }
    int32_t Frame() { return TitleFrame(PresentParameters{}); }
};

} // namespace

TEST_F(TitleTest, ZHeldFromTheStartMustBeReleasedAndPressedAgain) {
    TheKeyboard().SetKey('Z', true);
    ASSERT_EQ(TitleInit(), 1);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(Frame(), 1) << "a held Z does not count";
    TheKeyboard().SetKey('Z', false);
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Title.TitleKeyLatch, 0);

    TheKeyboard().SetKey('Z', true);
    device.ClearCalls();
    EXPECT_EQ(Frame(), 2);
    EXPECT_EQ(device.Count(CallKind::Present), 0u) << "the accepting frame is not presented";
    EXPECT_EQ(device.Count(CallKind::End), 1u);
    EXPECT_EQ(Title.block.mesh, nullptr) << "released on leaving";
    EXPECT_EQ(Title.background, nullptr);
    EXPECT_EQ(Title.music, nullptr);
}

TEST_F(TitleTest, LogoTurnsTwiceAndRestsFacingFrontAfter270Frames) {
    TitleInit();
    for (int i = 0; i < 90; ++i) Frame();
    EXPECT_EQ(Title.LogoSpeed, 2.0f) << "one turn at 4 degrees a frame";
    EXPECT_EQ(Title.LogoAngle, 0.0f);
    for (int i = 0; i < 179; ++i) Frame();
    EXPECT_EQ(Title.LogoSpeed, 2.0f);
    EXPECT_EQ(Title.LogoAngle, 358.0f);
    Frame();
    EXPECT_EQ(Title.LogoSpeed, 0.0f) << "at rest after exactly 270 frames";
    EXPECT_EQ(Title.LogoAngle, 0.0f);
    for (int i = 0; i < 130; ++i) Frame();
    EXPECT_EQ(Title.LogoAngle, 0.0f);
    EXPECT_EQ(Title.BlockAngle, 800.0f) << "2 degrees a frame without bound";
}

TEST_F(TitleTest, OneFrameIsDrawnInTheStandardOrder) {
    TitleInit();
    for (int i = 0; i < 9; ++i) Frame();
    device.ClearCalls();
    Frame(); // the tenth: LogoAngle 40, BlockAngle 20
    std::vector<RecordedCall> draws;
    for (const auto& c : device.Calls())
        if (c.kind != CallKind::State) draws.push_back(c);
    ASSERT_EQ(draws.size(), 9u);
    EXPECT_EQ(draws[0].kind, CallKind::Begin);
    EXPECT_EQ(draws[1].kind, CallKind::Clear);
    EXPECT_EQ(draws[1].value, static_cast<uint32_t>(CLEAR_TARGET | CLEAR_ZBUFFER));
    EXPECT_EQ(draws[1].color, 0xFF0000FFu);
    EXPECT_EQ(draws[1].z, 1.0f);

    // Three textured quads with lighting off: background, logo, caption.
    const char* textures[] = {"./bmp/背景.bmp", "./bmp/タイトル.bmp", "./bmp/タイトルの文字.bmp"};
    float halves[][3] = {{38, 37, 10}, {10, 2.5f, 0}, {8, 3, 0}};
    Matrix worlds[] = {Translation(4.3f, -19.2f, 0),
                       Translation(0, 5, 0) * RotationY(40 * kDegToRad), Translation(1, -7, 0)};
    for (int i = 0; i < 3; ++i) {
        const RecordedCall& q = draws[2 + i];
        ASSERT_EQ(q.kind, CallKind::Quad) << i;
        EXPECT_EQ(q.resource, textures[i]);
        EXPECT_FALSE(q.lighting);
        ASSERT_EQ(q.vertices.size(), 4u);
        EXPECT_EQ(q.vertices[0].x, -halves[i][0]);
        EXPECT_EQ(q.vertices[0].y, halves[i][1]);
        EXPECT_EQ(q.vertices[2].x, halves[i][0]);
        EXPECT_EQ(q.vertices[2].y, -halves[i][1]);
        EXPECT_EQ(q.vertices[0].z, halves[i][2]);
        EXPECT_EQ(q.vertices[1].u, 1.0f);
        EXPECT_EQ(q.vertices[3].v, 1.0f);
        EXPECT_TRUE(Near(q.matrix, worlds[i])) << i;
    }
    // Two lit blocks turning in opposite directions, left then right.
    for (int i = 0; i < 2; ++i) {
        const RecordedCall& m = draws[5 + i];
        ASSERT_EQ(m.kind, CallKind::Mesh);
        EXPECT_EQ(m.resource, "./xFile/パズル用図形１.x");
        EXPECT_TRUE(m.lighting);
        EXPECT_EQ(m.Alpha(), 1.0f);
    }
    EXPECT_TRUE(Near(draws[5].matrix, RotationY(-20 * kDegToRad) * Translation(-7, -7.3f, 0)));
    EXPECT_TRUE(Near(draws[6].matrix, RotationY(20 * kDegToRad) * Translation(8.8f, -7.3f, 0)));
    EXPECT_EQ(draws[7].kind, CallKind::End);
    EXPECT_EQ(draws[8].kind, CallKind::Present);
    EXPECT_EQ(device.RenderState(RS_LIGHTING), 0u) << "lighting is left off";
    EXPECT_TRUE(Near(device.View(), StandardView()));
    EXPECT_TRUE(Near(device.Projection(), StandardProjection()));
}

TEST_F(TitleTest, SeedsTheGeneratorFromTheClockHidesTheCursorAndPlaysItsMusic) {
    int shown = ShowCursor(true);
    ShowCursor(false);
    TitleInit();
    int first = platform::rand();
    platform::srand(12345);
    EXPECT_EQ(first, platform::rand());
    EXPECT_EQ(ShowCursor(true), shown - 1) << "the title hid the cursor once";

    ASSERT_NE(Title.music, nullptr);
    Frame();
    uint32_t status = 0;
    Title.music->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    int32_t volume = -1;
    Title.music->GetVolume(&volume);
    EXPECT_EQ(volume, 0) << "the title music keeps full volume";
}

TEST_F(TitleTest, MissingFilesLeaveEmptyHandlesAndTheSceneRuns) {
    testfiles::DataDir empty("-empty");
    TitleInit();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Title.block.mesh, nullptr);
    EXPECT_EQ(device.Count(CallKind::Mesh), 0u);
    EXPECT_EQ(device.Count(CallKind::Quad), 15u) << "the quads still draw, untextured";
}
