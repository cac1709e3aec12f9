// The cursor-move table over key snapshots, and its pacing by the move wait.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/keyboard.h"
#include "play/cursor.h"
#include "support/boards.h"

using namespace platform;

using boards::Cursor, boards::CursorTuple;

constexpr CursorKeys kUp{.up = true}, kDown{.down = true}, kLeft{.left = true},
    kRight{.right = true};

// One move from a cursor (X, Y, Z, face, cut-away left and right), the depth modifier held or
// not: whether it counts as a move, and where the cursor ends.
TEST(CursorTable, TurnsTheCornerRefusesAtTheEdgesAndDepthMovesClampButAct) {
    struct Case {
        Cursor from;
        bool modifier;
        CursorKeys keys;
        bool moves;
        Cursor to;
        const char* what;
    } cases[] = {
        {{4, 0, 4, 0, 3, 6}, false, kRight, true, {5, 0, 3, 1, -1, 6}, "pair kept on board"},
        {{5, 0, 0, 1, -1, 3}, false, kLeft, true, {4, 0, 0, 0, -1, 6}, "back to the front"},
        {{0, 0, 0, 0, -1, 6}, false, kDown, false, {0, 0, 0, 0, -1, 6}, "bottom row"},
        {{0, 0, 0, 0, -1, 6}, false, kLeft, false, {0, 0, 0, 0, -1, 6}, "left edge"},
        {{0, 0, 0, 0, -1, 6}, false, {}, false, {0, 0, 0, 0, -1, 6}, "no key"},
        {{0, 11, 0, 0, -1, 6}, false, kUp, false, {0, 11, 0, 0, -1, 6}, "top row"},
        {{5, 0, 3, 1, -1, 6}, false, kRight, false, {5, 0, 3, 1, -1, 6}, "back edge"},
        {{5, 0, 3, 1, -1, 6}, true, kDown, true, {5, 0, 3, 1, -1, 6}, "already outermost"},
        {{1, 11, 3, 1, -1, 2}, true, kUp, true, {0, 11, 3, 1, -1, 1}, "up turns into depth"},
        {{0, 11, 3, 1, -1, 1}, true, kUp, true, {0, 11, 3, 1, -1, 1}, "already innermost"},
        {{0, 0, 3, 0, 2, 6}, true, kUp, true, {0, 0, 4, 0, 3, 6}, "deeper at the front"},
        {{0, 0, 4, 0, 3, 6}, true, kUp, true, {0, 0, 4, 0, 3, 6}, "deepest at the front"},
        {{0, 0, 0, 0, -1, 6}, true, kDown, true, {0, 0, 0, 0, -1, 6}, "shallowest"},
    };
    for (const Case& c : cases) {
        PlayBoard b = boards::Fresh();
        std::tie(b.BlockX, b.BlockY, b.BlockZ, b.CursorFlg, b.LeftClearFlg, b.RightClearFlg) =
            std::tuple_cat(c.from);
        b.ModifierLatch = c.modifier;
        EXPECT_EQ(MoveCursor(b, c.keys), c.moves) << c.what;
        EXPECT_EQ(CursorTuple(b), c.to) << c.what;
    }
}

TEST(CursorTable, KeysAreTakenInOrderAndOnlyQueriedWhenAMoveMayAct) {
    Keyboard& kb = TheKeyboard();
    kb.ReleaseAll();
    kb.SetKey(VK_LEFT, true);
    kb.SetKey(VK_DOWN, true);
    CursorKeys k = ReadCursorKeys(kArrowKeys);
    EXPECT_TRUE(k.down);
    EXPECT_FALSE(k.left) << "the first held key ends the reading";

    // A tap let go while the wait runs is still taken once the wait is over. The pacing itself is
    // checked through the endless and versus cursors.
    PlayBoard b = boards::Fresh();
    b.BlockY = 2;
    int32_t wait = 0;
    kb.ReleaseAll();
    kb.SetKey(VK_DOWN, true);
    kb.SetKey(VK_DOWN, false);
    for (int frame = 0; frame < 17; ++frame) StepCursor(b, kArrowKeys, wait);
    EXPECT_EQ(b.BlockY, 1);
    EXPECT_EQ(b.CursorPos.y, 1.0f);
    kb.ReleaseAll();
}
