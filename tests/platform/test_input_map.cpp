// Keys and pad buttons reaching the game as virtual keys through the bindings (unbound keys as
// themselves: the SDL window tests); the user's config folder.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "platform/files.h"
#include "platform/input_map.h"
#include "platform/keyboard.h"
#include "support/env.h"

using namespace platform;

namespace {

class InputMapTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        TheInputMap().ReleaseAll();
        TheInputMap().SetBindings({});
        TheInputMap().SetContext(0);
        TheKeyboard().ReleaseAll();
    }
    static bool Held(int vk) { return TheKeyboard().Held(vk); }
    static constexpr uint32_t Bit(int input) { return 1u << input; }
};

// Context 0: C or any pad's west button is X. Context 1: the first pad's d-pad up is G, the
// second pad's is UP; the keyboard's UP is UP too.
std::vector<std::vector<Binding>> Tables() {
    return {{{'C', 'X', -1}, {kPadBase + kPadWest, 'X', -1}},
            {{kPadBase + kPadUp, 'G', 0}, {kPadBase + kPadUp, VK_UP, 1}, {VK_UP, VK_UP, -1}}};
}

TEST_F(InputMapTest, BoundInputsGiveTheirVirtualKeysInTheCurrentContextOnly) {
    TheInputMap().SetBindings(Tables());
    TheInputMap().SetPhysicalKey('X', true);
    EXPECT_FALSE(Held('X')) << "X itself is not bound";
    TheInputMap().SetPhysicalKey('C', true);
    EXPECT_TRUE(Held('X'));
    TheInputMap().SetPhysicalKey('C', false);
    TheInputMap().SetPad(5, Bit(kPadWest));
    EXPECT_TRUE(Held('X')) << "any pad";
    TheInputMap().SetContext(1);
    EXPECT_FALSE(Held('X')) << "a held input follows the context at once";
    TheInputMap().SetPad(5, 0);
    // A third pad plays neither slot; the first pad plays its own (both slots: the SDL pad
    // tests).
    TheInputMap().SetPad(2, Bit(kPadUp));
    EXPECT_FALSE(Held('G') || Held(VK_UP));
    TheInputMap().SetPad(0, Bit(kPadUp));
    EXPECT_TRUE(Held('G'));
    EXPECT_FALSE(Held(VK_UP));
}

TEST_F(InputMapTest, AKeyHeldByTwoSourcesStaysHeldUntilBothLetGo) {
    TheInputMap().SetBindings(Tables());
    TheInputMap().SetContext(1);
    TheInputMap().SetPhysicalKey(VK_UP, true);
    TheInputMap().SetPad(1, Bit(kPadUp));
    EXPECT_EQ(GetAsyncKeyState(VK_UP), static_cast<int16_t>(0x8001));
    TheInputMap().SetPhysicalKey(VK_UP, false);
    EXPECT_EQ(GetAsyncKeyState(VK_UP), static_cast<int16_t>(0x8000)) << "the pad still holds it";
    TheInputMap().SetPhysicalKey(VK_UP, true);
    EXPECT_EQ(GetAsyncKeyState(VK_UP), static_cast<int16_t>(0x8000)) << "no new press";
    TheInputMap().SetPad(1, 0); // the pad is unplugged
    EXPECT_TRUE(Held(VK_UP));
    TheInputMap().ReleaseKeyboard(); // the window lost the focus
    EXPECT_FALSE(Held(VK_UP));
}

TEST(UserConfigFolder, XdgConfigHomeThenHomeAndNeverARelativePath) {
    using Setting = std::optional<std::string>;
    const std::tuple<Setting, Setting, std::string> cases[] = {
        {"/x/conf/", "/home/p", "/x/conf/tessarune"},
        {"relative/conf", "/home/p", "/home/p/.config/tessarune"},
        {"", "/", "/.config/tessarune"},
        {std::nullopt, std::nullopt, ""},
    };
    for (const auto& [xdg, home, folder] : cases) {
        Env x("XDG_CONFIG_HOME", xdg), h("HOME", home);
        EXPECT_EQ(UserConfigFolder(), folder) << xdg.value_or("unset");
    }
}

} // namespace
