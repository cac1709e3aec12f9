// The cursor-move table over key snapshots, and its pacing by the move wait.
#include <gtest/gtest.h>

#include "platform/keyboard.h"
#include "play/cursor.h"

using namespace platform;

namespace {

PlayBoard Board() {
    PlayBoard b;
    FillCellPositions(b);
    ResetCursor(b);
    return b;
}

constexpr CursorKeys kUp{.up = true}, kDown{.down = true}, kLeft{.left = true},
    kRight{.right = true};

} // namespace

TEST(CursorTable, TurnsTheCornerBothWaysKeepingThePairOnTheBoard) {
    PlayBoard b = Board();
    b.BlockX = 4, b.BlockZ = 4, b.LeftClearFlg = 3;
    ASSERT_TRUE(MoveCursor(b, kRight));
    EXPECT_EQ((std::array{b.CursorFlg, b.BlockX, b.BlockZ, b.LeftClearFlg}),
              (std::array{1, 5, 3, -1}))
        << "the right face's pair at Z + 1 must exist; the front cut-away goes";
    b.BlockZ = 0, b.RightClearFlg = 3;
    ASSERT_TRUE(MoveCursor(b, kLeft));
    EXPECT_EQ((std::array{b.CursorFlg, b.BlockX, b.BlockZ, b.RightClearFlg}),
              (std::array{0, 4, 0, 6}));
}

TEST(CursorTable, RefusesAtTheEdgesButDepthMovesAtTheirLimitAct) {
    PlayBoard b = Board();
    EXPECT_FALSE(MoveCursor(b, kDown));
    EXPECT_FALSE(MoveCursor(b, kLeft));
    EXPECT_FALSE(MoveCursor(b, CursorKeys{}));
    b.BlockY = 11;
    EXPECT_FALSE(MoveCursor(b, kUp));
    b.CursorFlg = 1, b.BlockX = 5, b.BlockZ = 3;
    EXPECT_FALSE(MoveCursor(b, kRight));

    b.ModifierLatch = 1;
    EXPECT_TRUE(MoveCursor(b, kDown)) << "already outermost, still counts";
    EXPECT_EQ((std::array{b.BlockX, b.RightClearFlg}), (std::array{5, 6}));
    for (int i = 0; i < 6; ++i) MoveCursor(b, kUp);
    EXPECT_EQ((std::array{b.BlockX, b.RightClearFlg, b.BlockY}), (std::array{0, 1, 11}))
        << "the modifier turns up into depth; clamped innermost";

    b.CursorFlg = 0, b.BlockZ = 0, b.LeftClearFlg = -1;
    for (int i = 0; i < 6; ++i) MoveDeeper(b);
    EXPECT_EQ((std::array{b.BlockZ, b.LeftClearFlg}), (std::array{4, 3}));
    MoveShallower(b);
    EXPECT_EQ((std::array{b.BlockZ, b.LeftClearFlg}), (std::array{3, 2}));
}

TEST(CursorTable, KeysAreTakenInOrderAndOnlyQueriedWhenAMoveMayAct) {
    Keyboard& kb = TheKeyboard();
    kb.ReleaseAll();
    kb.SetKey(VK_LEFT, true);
    kb.SetKey(VK_DOWN, true);
    CursorKeys k = ReadCursorKeys(kArrowKeys);
    EXPECT_TRUE(k.down);
    EXPECT_FALSE(k.left) << "the first held key ends the reading";

    PlayBoard b = Board();
    kb.ReleaseAll();
    kb.SetKey(VK_UP, true);
    int32_t wait = 0;
    std::vector<int> rows;
    for (int frame = 0; frame < 40; ++frame) {
        StepCursor(b, kArrowKeys, wait);
        rows.push_back(b.BlockY);
    }
    EXPECT_EQ(rows[15], 0);
    EXPECT_EQ(rows[16], 1) << "acts once the wait is above 15";
    EXPECT_EQ(rows[31], 1);
    EXPECT_EQ(rows[32], 2) << "then every 16 frames";
    EXPECT_EQ(b.CursorPos.y, 2.0f);

    // A tap let go while the wait runs is still taken when the wait is over.
    wait = 0;
    kb.SetKey(VK_UP, false);
    kb.SetKey(VK_DOWN, true);
    kb.SetKey(VK_DOWN, false);
    for (int frame = 0; frame < 17; ++frame) StepCursor(b, kArrowKeys, wait);
    EXPECT_EQ(b.BlockY, 1);
    kb.ReleaseAll();
}

TEST(CursorTable, VersusMapsReadTheirOwnKeys) {
    Keyboard& kb = TheKeyboard();
    kb.ReleaseAll();
    kb.SetKey('N', true);
    kb.SetKey(VK_RETURN, true);
    PlayBoard left = Board(), right = Board();
    int32_t lw = 16, rw = 16;
    StepCursor(left, kVersusLeftKeys, lw);
    StepCursor(right, kVersusRightKeys, rw);
    EXPECT_EQ((std::array{left.BlockX, left.ModifierLatch}), (std::array{1, 0}));
    EXPECT_EQ((std::array{right.BlockX, right.ModifierLatch}), (std::array{0, 1}));
    kb.ReleaseAll();
}
