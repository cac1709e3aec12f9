// Marker menus and numbers from the digit sheets. The banner steps are checked by the frame
// counts of the endless and versus start and result banners; where numbers and times stand,
// digit by digit, is compared in the recorded whole game's traces (the score panel in play,
// with records of no digits and of several, and the results screen).
#include <gtest/gtest.h>

#include "media/manifest.h"
#include "platform/keyboard.h"
#include "ui/digits.h"
#include "ui/menu.h"

using namespace platform;

namespace {

constexpr MarkerStep kSteps[2] = {{1.0f, -3.0f, -1.0f, -3.0f}, {-1.0f, -3.5f, 1.0f, -3.5f}};

} // namespace

TEST(MarkerMenu, MovesWithItsStepsAndPacesHeldKeysByItsOwnRule) {
    Keyboard& kb = TheKeyboard();
    kb.ReleaseAll();
    for (bool refusalResets : {false, true}) {
        MarkerMenu menu{kSteps, 2, 1, 10, 1, refusalResets, VK_UP, VK_DOWN};
        int32_t item = 1, wait = 9;
        Vector3 l{0, 0, 0}, r{5, 0, 0};
        kb.SetKey(VK_UP, true);
        kb.SetKey(VK_DOWN, true);
        EXPECT_FALSE(StepMarkerMenu(menu, item, wait, l, r)) << "wait 9: not yet";
        EXPECT_FALSE(StepMarkerMenu(menu, item, wait, l, r)) << "Up first: refused at the top";
        EXPECT_EQ(wait, refusalResets ? 1 : 11);
        kb.SetKey(VK_UP, false);
        wait = 10;
        EXPECT_TRUE(StepMarkerMenu(menu, item, wait, l, r));
        wait = 10;
        EXPECT_TRUE(StepMarkerMenu(menu, item, wait, l, r));
        EXPECT_EQ((std::array{item, wait}), (std::array{3, 1}));
        EXPECT_EQ((std::array{l.x, l.y, r.x, r.y}), (std::array{0.0f, -6.5f, 5.0f, -6.5f}));
        kb.SetKey(VK_DOWN, false);
        kb.SetKey(VK_UP, true);
        wait = 10;
        StepMarkerMenu(menu, item, wait, l, r);
        EXPECT_EQ((std::array{item, wait}), (std::array{2, 1}));
        EXPECT_EQ((std::array{l.x, l.y}), (std::array{1.0f, -3.0f})) << "back by the step";
        kb.ReleaseAll();
    }
}

TEST(Digits, CarryCountsAndCutsNumbers) {
    Digits d;
    d.d[0] = 123;
    d.d[13] = 9;
    CarryDigits(d);
    EXPECT_EQ((std::array{d.d[0], d.d[1], d.d[2], d.count}), (std::array{3, 2, 1, 14}));
    SetDigits(d, 0);
    EXPECT_EQ(d.count, 1);
    SetDigits(d, 907);
    EXPECT_EQ(DigitsValue(d), 907);
    EXPECT_EQ(DigitCount(-1000), 4);

    DigitSheet small = SmallDigits(nullptr);
    EXPECT_EQ(FigureRect(small, -3).left, FigureRect(small, 7).left);
}
