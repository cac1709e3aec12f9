// The key screen: K in the options leads there; a new key for an action is refused while
// another action of its screens holds it, else drawn in its row and kept in settings.ini.
#include <gtest/gtest.h>

#include "app/bindings.h"
#include "app/key_screen.h"
#include "app/settings.h"
#include "media/key_labels.h"
#include "menus/options.h"
#include "platform/input_map.h"
#include "support/scene.h"

using namespace platform;

namespace {

class KeyScreenTest : public MenuTest<Keys, KeysFrame, KeysRelease> {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        Options = {};
        ::testing::internal::CaptureStderr();
        LoadUserSettings(Folder());
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    }
    void TearDown() override {
        OptionsRelease();
        LoadUserSettings("");
        TheInputMap().SetBindings({});
        MenuTest::TearDown();
    }
    std::string Folder() const { return (data.path() / "config").string(); }
    static void Tap(int vk) {
        Hold(vk);
        Frame();
        Hold(vk, false);
        Frame();
    }
};

} // namespace

TEST_F(KeyScreenTest, KInTheOptionsOpensItKeepingTheLevelsAndZOnBackLeaves) {
    Hold('K');
    OptionsInit();
    EXPECT_EQ(OptionsFrame({}), 11) << "a K held on arrival does not act";
    Hold('K', false);
    OptionsFrame({});
    Options.Sound = 1;
    Hold('K');
    EXPECT_EQ(OptionsFrame({}), 14);
    EXPECT_EQ(Options.StartSound, 1);

    EXPECT_EQ(KeysInit(), 15);
    Frame();
    EXPECT_EQ(Keys.page, 0);
    Hold(VK_LEFT);
    Frames(10);
    EXPECT_EQ(Keys.page, keylabels::kPageCount - 1) << "Left wraps round";
    Hold(VK_LEFT, false);
    Hold(VK_DOWN);
    Frames(200);
    const int back = static_cast<int>(PageActions(Keys.page).size());
    EXPECT_EQ(Keys.row, back) << "Down stops on BACK";
    Hold(VK_DOWN, false);
    Hold('Z');
    EXPECT_EQ(Frame(), 10);
}

TEST_F(KeyScreenTest, ANewKeyIsRefusedWhileAnotherActionHoldsItAndKeptOnceFree) {
    const int depthKey = FindKeyAction("versus.right", "depth_key");
    KeysInit();
    Keys.page = 5;
    Keys.row = 5;
    ASSERT_EQ(PageActions(Keys.page)[5], depthKey);
    Frame();
    Tap('Z');
    ASSERT_TRUE(Keys.listening);

    // One keyboard serves both versus players; Z pauses for both.
    struct Refusal {
        int key;
        const char* section;
        const char* action;
    };
    for (const Refusal& r : {Refusal{'J', "versus.right", "swap"},
                             Refusal{'G', "versus.left", "up"}, Refusal{'Z', "versus", "pause"}}) {
        device.ClearCalls();
        Tap(r.key);
        EXPECT_EQ(Keys.refused, FindKeyAction(r.section, r.action)) << r.action;
        EXPECT_TRUE(Keys.listening) << "still waiting for a free key";
        EXPECT_EQ(UserKeyBindings(), DefaultKeyBindings());
        bool pageShown = false;
        for (const auto& c : Calls(CallKind::Sprite))
            pageShown = pageShown || c.rect.top == keylabels::StatusPageRect(0).top + 32 * 4;
        EXPECT_EQ(pageShown, std::string(r.section) == "versus.left") << r.action;
    }

    Tap('C');
    EXPECT_FALSE(Keys.listening);
    EXPECT_EQ(Keys.refused, -1);
    EXPECT_EQ(UserKeyBindings()[depthKey].keys, std::vector<int>{'C'});
    const std::string text = testfiles::ReadText(Folder() + "/settings.ini");
    EXPECT_NE(text.find("[keys.versus.right]\ndepth_key = C, pad:none\n"), std::string::npos)
        << text;
    SettingsFile again = ParseSettings(text);
    EXPECT_TRUE(again.messages.empty());
    EXPECT_EQ(again.bindings, UserKeyBindings());

    device.ClearCalls();
    Frame();
    const Rect c = keylabels::KeyRect(keylabels::KeyLabelIndex("C"));
    bool drawn = false;
    for (const auto& call : Calls(CallKind::Sprite))
        drawn = drawn || (call.rect.left == c.left && call.rect.top == c.top &&
                          At(call) == std::pair(440.0f, 144.0f + 25 * 5 - 2));
    EXPECT_TRUE(drawn) << "C in the row of the second depth key";
}

TEST(KeyScreenKeys, EveryKeyIsItselfThereAndOnlyBoundKeysActElsewhere) {
    InputMap map;
    map.SetBindings(InputMapTables(DefaultKeyBindings()));
    TheKeyboard().ReleaseAll();
    map.SetContext(kMenuKeys);
    map.SetPhysicalKey('F', true);
    EXPECT_FALSE(TheKeyboard().Held('F'));
    map.SetContext(kKeyScreenKeys);
    EXPECT_TRUE(TheKeyboard().Held('F'));
    map.SetPhysicalKey('F', false);
    EXPECT_FALSE(TheKeyboard().Held('F'));
    EXPECT_EQ(KeyContextOf(15), kKeyScreenKeys);
}
