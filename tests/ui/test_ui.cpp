// Marker menus and numbers from the digit sheets. The banner steps are checked by the frame
// counts of the endless and versus start and result banners.
#include <gtest/gtest.h>

#include "media/manifest.h"
#include "platform/keyboard.h"
#include "platform/recording_device.h"
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
    EXPECT_EQ(FigureRect(small, 0).left, 226);
    EXPECT_EQ(FigureRect(small, -3).left, FigureRect(small, 7).left);
    EXPECT_EQ(ColonRect(LargeDigits(nullptr)).left, 601);
}

TEST(Digits, NumbersAndTimesStandRightAlignedOnTheirOnesDigit) {
    RecordingDevice device;
    SpritePtr sprite;
    CreateSprite(device, sprite);
    DigitSheet large = LargeDigits(nullptr);
    auto placed = [&] {
        std::vector<std::array<float, 3>> out;
        for (const auto& c : device.Calls())
            if (c.kind == CallKind::Sprite)
                out.push_back({c.matrix.m[3][0], c.matrix.m[3][1], float(c.rect.left)});
        device.ClearCalls();
        return out;
    };
    DrawCutNumber(sprite.get(), large, 1205, 3, 350.0f, 200.0f);
    using P = std::vector<std::array<float, 3>>;
    EXPECT_EQ(placed(), (P{{274, 200, 61}, {312, 200, 541}, {350, 200, 241}}))
        << "the lowest three digits, highest first";
    DrawCutNumber(sprite.get(), large, 1205, 0, 350.0f, 200.0f);
    EXPECT_TRUE(placed().empty());

    DrawTime(sprite.get(), large, 1, 2, 34, {{350, 254, 153}, {274, 173}, 370, 375});
    EXPECT_EQ(placed(), (P{{312, 370, 121},
                           {350, 370, 181},
                           {274, 375, 601},
                           {216, 370, 541},
                           {254, 370, 61},
                           {173, 375, 601},
                           {115, 370, 541},
                           {153, 370, 0}}));
}
