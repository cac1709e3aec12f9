// The mode select's choice of versus opponent: Left / Right on the versus item only, paced and
// wrapping round, kept for the run, shown by its label beside the item.
#include "menus/select.h"
#include "play/opponent.h"
#include "support/scene.h"

using namespace platform;

namespace {

class OpponentChoiceTest : public MenuTest<Select, SelectFrame, SelectRelease> {
  protected:
    void TearDown() override {
        Opponents = {};
        MenuTest::TearDown();
    }
    // The top of the label sprite's source rectangle in the recorded frames (-1: none), and
    // its height.
    int LabelTop() const {
        for (const auto& c : Calls(CallKind::Sprite, "./bmp/対戦相手.bmp")) {
            EXPECT_EQ(c.rect.bottom - c.rect.top, 48);
            return c.rect.top;
        }
        return -1;
    }
};

} // namespace

TEST_F(OpponentChoiceTest, LeftAndRightStepThroughTheOpponentsOnTheVersusItemOnly) {
    SelectInit();
    Hold(VK_RIGHT);
    Frames(30);
    EXPECT_EQ(Opponents.right, kCpuOff) << "the endless item has no opponent";

    Hold(VK_RIGHT, false);
    Select.SelectItem = 1;
    std::vector<int32_t> seen;
    Hold(VK_RIGHT);
    for (int frame = 0; frame < 40; ++frame) {
        int32_t before = Opponents.right;
        Frame();
        if (Opponents.right != before) seen.push_back(Opponents.right);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{kCpuEasy, kCpuNormal, kCpuHard, kCpuOff}))
        << "every 10 frames while held, wrapping round";
    Hold(VK_RIGHT, false);
    Frames(10);
    Hold(VK_LEFT);
    Frame();
    EXPECT_EQ(Opponents.right, kCpuHard) << "Left wraps back from 2 PLAYERS, at once after a rest";
    EXPECT_EQ(Opponents.left, kCpuOff) << "a person keeps the left side";
}

TEST_F(OpponentChoiceTest, TheChoiceIsKeptForTheRunAndItsLabelDrawnBesideTheItem) {
    SelectInit();
    Frame();
    EXPECT_EQ(LabelTop(), 0) << "2 PLAYERS";
    device.ClearCalls();
    Opponents.right = kCpuNormal;
    Frame();
    EXPECT_EQ(LabelTop(), 128) << "CPU NORMAL";
    auto label = Calls(CallKind::Sprite, "./bmp/対戦相手.bmp");
    ASSERT_EQ(label.size(), 1u);
    EXPECT_EQ(At(label[0]), (std::pair<float, float>{560.0f, 122.0f}))
        << "right of the versus item's right marker";

    SelectRelease();
    SelectInit();
    EXPECT_EQ(Opponents.right, kCpuNormal) << "a new visit keeps the choice";
    Hold('Z');
    Select.SelectItem = 1;
    Select.SelectKeyLatch = 0;
    EXPECT_EQ(Frame(), 6) << "Z starts the versus mode, the opponent chosen";
}
