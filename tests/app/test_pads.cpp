// Pads and rebound keys playing the game through the bindings: pad inputs (as the SDL layer
// reports them) become the keys of the scene's key context.
#include <gtest/gtest.h>

#include "app/bindings.h"
#include "app/settings.h"
#include "modes/endless/endless_fixture.h"
#include "modes/versus/versus_fixture.h"
#include "platform/input_map.h"
#include "ui/scene_id.h"

using namespace platform;

namespace {

constexpr uint32_t Bit(int input) {
    return 1u << input;
}

void Install(const KeyBindings& bindings, int32_t sceneId) {
    TheInputMap().ReleaseAll();
    TheInputMap().SetBindings(InputMapTables(bindings));
    TheInputMap().SetContext(KeyContextOf(sceneId));
}

void Uninstall() {
    TheInputMap().ReleaseAll();
    TheInputMap().SetBindings({});
    TheInputMap().SetContext(0);
}

class PadEndlessTest : public EndlessTest {
  protected:
    void TearDown() override {
        Uninstall();
        EndlessTest::TearDown();
    }
    // One update with a pad's inputs held, let go after it.
    static void PadUpdate(int pad, uint32_t inputs) {
        TheInputMap().SetPad(pad, inputs);
        EndlessUpdate();
        TheInputMap().SetPad(pad, 0);
    }
};

class PadVersusTest : public VersusTest {
  protected:
    void TearDown() override {
        Uninstall();
        VersusTest::TearDown();
    }
};

} // namespace

TEST_F(PadEndlessTest, AnyPadMovesTheCursorSwapsAndPauses) {
    Install(DefaultKeyBindings(), scene::kEndlessFrame);
    StartPlaying();
    Endless.grid[0][0][0] = 1;
    Endless.grid[1][0][0] = 2;
    Endless.MoveWait = 16;
    Endless.SwapWait = 15;

    PadUpdate(3, Bit(kPadRight)); // the fourth pad: any pad plays
    EXPECT_EQ(Endless.BlockX, 1);
    Endless.MoveWait = 16;
    PadUpdate(3, Bit(kPadLeft));
    EXPECT_EQ(Endless.BlockX, 0);
    PadUpdate(3, Bit(kPadWest));
    EXPECT_EQ(Endless.grid[0][0][0], 2) << "west swaps";
    EXPECT_EQ(Endless.grid[1][0][0], 1);

    // A shoulder is the depth modifier: up goes one slice in.
    Endless.MoveWait = 16;
    PadUpdate(0, Bit(kPadLeftShoulder) | Bit(kPadUp));
    EXPECT_EQ(Endless.BlockZ, 1);
    EXPECT_EQ(Endless.BlockY, 0);

    Endless.ZKeyWait = 10;
    TheInputMap().SetPad(0, Bit(kPadStart));
    Frame();
    EXPECT_NE(Endless.GameFlg, 2) << "start pauses";
}

TEST_F(PadEndlessTest, ARebindingFromTheSettingsFileReplacesTheKeyAndKeepsThePad) {
    SettingsFile file = ParseSettings("[keys.endless]\nswap = C\n");
    ASSERT_TRUE(file.messages.empty()) << file.messages[0];
    Install(file.bindings, scene::kEndlessFrame);
    StartPlaying();
    Endless.grid[0][0][0] = 1;
    Endless.grid[1][0][0] = 2;
    Endless.SwapWait = 15;
    TheInputMap().SetPhysicalKey('X', true);
    EndlessUpdate();
    TheInputMap().SetPhysicalKey('X', false);
    EXPECT_EQ(Endless.grid[0][0][0], 1) << "X swaps no more";
    TheInputMap().SetPhysicalKey('C', true);
    EndlessUpdate();
    TheInputMap().SetPhysicalKey('C', false);
    EXPECT_EQ(Endless.grid[0][0][0], 2);
    Endless.SwapWait = 15;
    PadUpdate(0, Bit(kPadWest));
    EXPECT_EQ(Endless.grid[0][0][0], 1) << "the pad's swap stays";
    TheInputMap().SetPhysicalKey(VK_ESCAPE, true);
    EXPECT_TRUE(TheKeyboard().Held(VK_ESCAPE)) << "Escape is itself on every screen";
}

TEST_F(PadVersusTest, TheFirstPadPlaysTheLeftSideTheSecondTheRightAndEitherPauses) {
    Install(DefaultKeyBindings(), scene::kVersusFrame);
    StartPlaying();
    TheInputMap().SetContext(KeyContextOf(scene::kVersusFrame));
    Versus.left.MoveWait = Versus.right.MoveWait = 16;
    Versus.left.SwapWait = Versus.right.SwapWait = 15;
    Versus.left.grid[0][0][0] = 3; // under the left pair, so that it stays in row 1
    Versus.left.grid[1][0][0] = 4;
    Versus.left.grid[0][1][0] = 1;
    Versus.left.grid[1][1][0] = 2;
    Versus.right.grid[1][0][0] = 3;
    Versus.right.grid[2][0][0] = 4;

    TheInputMap().SetPad(0, Bit(kPadUp));
    TheInputMap().SetPad(1, Bit(kPadRight));
    VersusUpdate();
    EXPECT_EQ((std::array{Versus.left.BlockX, Versus.left.BlockY, Versus.right.BlockX,
                          Versus.right.BlockY}),
              (std::array{0, 1, 1, 0}));
    TheInputMap().SetPad(0, Bit(kPadWest));
    TheInputMap().SetPad(1, Bit(kPadWest));
    VersusUpdate();
    EXPECT_EQ(Versus.left.grid[0][1][0], 2) << "the left pad swaps the left board";
    EXPECT_EQ(Versus.right.grid[1][0][0], 4) << "the right pad swaps the right board";

    // The right pad's start pauses; in the menu either pad's d-pad moves the marker.
    TheInputMap().SetPad(0, 0);
    TheInputMap().SetPad(1, Bit(kPadStart));
    Versus.ZKeyWait = 10;
    Frame();
    ASSERT_EQ(Versus.GameFlg, 5);
    TheInputMap().SetPad(1, 0);
    TheInputMap().SetContext(KeyContextOf(scene::kVersusFrame));
    Versus.PauseMenuWait = 10;
    TheInputMap().SetPad(0, Bit(kPadDown));
    VersusUpdate();
    EXPECT_EQ(Versus.PauseSelect, 1) << "the left pad moves the pause menu";
}
