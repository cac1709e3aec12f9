// The settings file: reading, rewriting in place, hostile files, bindings that collide, and
// the options levels and the versus opponent kept from one run to the next.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <filesystem>

#include "app/bindings.h"
#include "app/program.h"
#include "app/settings.h"
#include "media/sound.h"
#include "menus/options.h"
#include "menus/select.h"
#include "menus/title.h"
#include "platform/input_map.h"
#include "play/opponent.h"
#include "support/files.h"
#include "support/run.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

// Every message, joined, to look for parts in.
std::string Said(const SettingsFile& f) {
    std::string all;
    for (const auto& m : f.messages) all += m + "\n";
    return all;
}

int Action(const char* section, const char* name) {
    int a = FindKeyAction(section, name);
    EXPECT_GE(a, 0) << section << " " << name;
    return a;
}

// A data folder per test with the settings folder in it; the run's settings back to none
// afterwards.
class SettingsTest : public ::testing::Test {
  protected:
    void TearDown() override {
        LoadUserSettings("");
        TheInputMap().SetBindings({});
        Options = OptionsScene{};
        Opponents = {};
        Vol = SeVol = 0;
        std::error_code ignored;
        fs::permissions(File(), fs::perms::owner_all, ignored);
    }
    // Loads the folder's settings; returns what was said on standard error.
    std::string Load() {
        ::testing::internal::CaptureStderr();
        LoadUserSettings((data_.path() / "config").string());
        return ::testing::internal::GetCapturedStderr();
    }
    fs::path File() const { return data_.path() / "config/settings.ini"; }
    void Write(const std::string& text) const { data_.Put("./config/settings.ini", text); }

    testfiles::DataDir data_;
};

} // namespace

TEST(SettingsFile, EveryValueAndBindingIsReadAndTheRewriteKeepsEveryOtherLine) {
    const std::string text = "# my settings\r\n"
                             "[sound]\r\n"
                             "music = 1   # quiet\r\n"
                             "effects=2\r\n"
                             "\r\n"
                             "[keys.endless]\r\n"
                             "swap = c, pad:SOUTH\r\n"
                             "pause = P, pad:start\r\n"
                             "[window]\r\n"
                             "fullscreen = yes\r\n"
                             "width = 1280\r\n"
                             "[keys.versus.left]\r\n"
                             "rise = pad:none\r\n"
                             "[versus]\r\n"
                             "opponent = Normal\r\n";
    SettingsFile f = ParseSettings(text);
    EXPECT_EQ(Said(f), "");
    EXPECT_EQ(f.values, (SettingsValues{1, 2, 1280, 480, true, kCpuNormal}));
    const int swap = Action("endless", "swap"), pause = Action("endless", "pause");
    EXPECT_EQ(f.bindings[swap].keys, std::vector<int>{'C'});
    EXPECT_EQ(f.bindings[swap].pads, std::vector<int>{kPadSouth})
        << "south moved from pause to swap: the two lines together do not collide";
    EXPECT_EQ(f.bindings[pause].keys, std::vector<int>{'P'});
    EXPECT_EQ(f.bindings[Action("versus.left", "rise")].keys, std::vector<int>{'Q'})
        << "keys not given keep their defaults";
    EXPECT_TRUE(f.bindings[Action("versus.left", "rise")].pads.empty());

    const SettingsValues changed{3, 0, 1000, 700, false, kCpuOff};
    const std::string again = SettingsText(f.lines, changed);
    SettingsFile g = ParseSettings(again);
    EXPECT_EQ(Said(g), "");
    EXPECT_EQ(g.values, changed);
    EXPECT_EQ(g.bindings, f.bindings);
    for (const char* kept :
         {"# my settings\r\n", "pause = P, pad:start\r\n", "music = 3\n",
          "width = 1000\nheight = 700\n[keys.versus.left]", "[versus]\r\nopponent = person\n"})
        EXPECT_NE(again.find(kept), std::string::npos) << kept << " in\n" << again;
    EXPECT_EQ(SettingsText(g.lines, changed), again) << "writing is stable";
}

TEST(SettingsFile, HostileLinesAreEachReportedByLineAndLeaveTheirDefaults) {
    const std::string text = "music = 2\n"                       // 1: no section
                             "[sound]\n"                         // 2
                             "music = 99999999999999999999999\n" // 3: huge
                             "effects = -1\n"                    // 4
                             "music = 2\n"                       // 5: again
                             "volume = 3\n"                      // 6: unknown
                             "[window]\n"                        // 7
                             "width = 100000\n"                  // 8
                             "height = 0x300\n"                  // 9
                             "fullscreen = maybe\n"              // 10
                             "[keys.endless]\n"                  // 11
                             "swap = FOO\n"                      // 12
                             "rise = pad:paddle\n"               // 13
                             "jump = X\n"                        // 14
                             "give_up = R,,T\n"                  // 15
                             "pause =\n"                         // 16
                             "[graphics]\n"                      // 17
                             "shadows = 1\n"                     // 18: skipped
                             "[sound\n"                          // 19
                             "\x01\x02\xff\xfe binary\n"         // 20
                             + std::string(600, 'x') + "\n" +    // 21
                             "just words\n"                      // 22
                             "[versus]\n"                        // 23
                             "opponent = expert\n"               // 24
                             "opponent = hard\n";                // 25: again
    SettingsFile f = ParseSettings(text);
    EXPECT_EQ(f.values, SettingsValues{});
    EXPECT_EQ(f.bindings, DefaultKeyBindings());
    std::vector<int> lines;
    for (const auto& m : f.messages) lines.push_back(std::stoi(m.substr(5)));
    EXPECT_EQ(lines, (std::vector<int>{1,  3,  4,  5,  6,  8,  9,  10, 12, 13,
                                       14, 15, 16, 17, 19, 20, 21, 22, 24, 25}))
        << Said(f);
    const std::string said = Said(f);
    for (const char* part :
         {"line 3: music must be a level from 0 to 3", "line 5: given again; line 3 holds",
          "no key is called 'FOO'", "no pad button is called 'paddle'",
          "has no action called 'jump'", "line 20: not text: ???? binary",
          "line 21: longer than 512", "line 24: opponent must be person, easy, normal or hard"})
        EXPECT_NE(said.find(part), std::string::npos) << part << " in\n" << said;
    EXPECT_EQ(said.find('\x01'), std::string::npos) << "nothing unprintable is echoed";
}

TEST(SettingsFile, ABindingThatCollidesIsIgnoredTheLaterLineFirst) {
    for (int a = 0; a < static_cast<int>(KeyActions().size()); ++a)
        EXPECT_EQ(CollidingAction(DefaultKeyBindings(), a), -1) << ActionLabel(a);

    SettingsFile f = ParseSettings("[keys.endless]\n"
                                   "swap = A\n" // 2: rise holds A
                                   "[keys.challenge]\n"
                                   "swap = Z\n"  // 4: pause holds Z; then
                                   "pause = X\n" // 5: swaps them: both stay
                                   "[keys.versus.left]\n"
                                   "swap = J\n"         // 7: the right player's swap
                                   "rise = pad:south\n" // 8: any pad's south pauses
                                   "up = pad:east\n"    // 9: the left pad only
                                   "[keys.versus.right]\n"
                                   "up = pad:east\n" // 11: the right pad: no collision
                                   "down = I\n"      // 12
                                   "left = I\n");    // 13: the later line goes
    const std::string said = Said(f);
    EXPECT_EQ(f.messages.size(), 4u) << said;
    for (const char* part :
         {"line 2: collides with endless rise", "line 7: collides with versus.right swap",
          "line 8: collides with versus pause", "line 13: collides with versus.right down"})
        EXPECT_NE(said.find(part), std::string::npos) << part << " in\n" << said;
    EXPECT_EQ(f.bindings[Action("endless", "swap")].keys, std::vector<int>{'X'});
    EXPECT_EQ(f.bindings[Action("challenge", "swap")].keys, std::vector<int>{'Z'});
    EXPECT_EQ(f.bindings[Action("challenge", "pause")].keys, std::vector<int>{'X'});
    EXPECT_EQ(f.bindings[Action("versus.right", "up")].pads, std::vector<int>{kPadEast});
    EXPECT_EQ(f.bindings[Action("versus.right", "down")].keys, std::vector<int>{'I'});
    EXPECT_EQ(f.bindings[Action("versus.right", "left")].keys, std::vector<int>{VK_LEFT});
}

TEST_F(SettingsTest, HostileFilesGiveTheDefaultsAMessageAndAreNeverRewritten) {
    // A folder, a file too large, an unreadable file in its place: one message each, the
    // defaults, and the thing left as it was when the levels change.
    auto check = [&](const char* what) {
        std::string said = Load();
        EXPECT_NE(said.find("cannot read the settings file"), std::string::npos) << what;
        EXPECT_EQ(UserSettings(), SettingsValues{}) << what;
        Options.StartSound = 1;
        ::testing::internal::CaptureStderr();
        SettingsAfterOptions();
        SettingsAfterOptions();
        said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("is not rewritten"), std::string::npos) << what;
        EXPECT_EQ(said.find("is not rewritten"), said.rfind("is not rewritten")) << "once";
    };
    fs::create_directories(File());
    check("a folder");
    EXPECT_TRUE(fs::is_directory(File()));
    fs::remove(File());

    Write("[sound]\nmusic = 1\n" + std::string(kMaxSettingsBytes, '#'));
    check("too large");
    EXPECT_EQ(fs::file_size(File()), kMaxSettingsBytes + 18);

    if (::geteuid() != 0) { // root reads anything
        Write("[sound]\nmusic = 2\n");
        fs::permissions(File(), fs::perms::none);
        check("unreadable");
        fs::permissions(File(), fs::perms::owner_all);
        EXPECT_EQ(testfiles::ReadText(File()), "[sound]\nmusic = 2\n");
    }

    // Binary junk is read line by line: at most 20 messages and a count of the rest.
    std::string junk;
    for (int i = 0; i < 300; ++i) junk += std::string("\x7f\x80junk\x01\n");
    Write(junk);
    std::string said = Load();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 21) << said;
    EXPECT_NE(said.find("280 more lines ignored"), std::string::npos) << said;
    EXPECT_EQ(UserSettings(), SettingsValues{});
}

TEST_F(SettingsTest, OptionsLevelsAndTheOpponentSurviveARestart) {
    // First run, no file yet: CPU EASY chosen on the versus item, music level 1 in the options.
    EXPECT_EQ(Load(), "");
    Title = {}, Select = {}, Options = {};
    // Title; the select's first move at 14: versus, CPU EASY, down to the options (init at 37).
    const std::string toOptions = "2 2 Z\n14 14 DOWN\n16 16 RIGHT\n24 34 DOWN\n36 36 Z\n";
    // The music row, level 3 -> 0 -> 1, back.
    RunResult r =
        RunScript(toOptions + "49 49 DOWN\n55 55 RIGHT\n70 70 RIGHT\n80 80 DOWN\n85 85 Z\n", 100);
    ASSERT_TRUE(r.started);
    EXPECT_EQ(testfiles::ReadText(File()),
              "# Tessarune settings (README.md lists every one).\n\n[sound]\nmusic = 1\n"
              "effects = 3\n\n[window]\nwidth = 880\nheight = 480\nfullscreen = no\n\n"
              "[versus]\nopponent = easy\n");

    // Second run: both are there at start; Left on the versus item gives 2 PLAYERS, kept when
    // the mode select is left for the options, which open at music level 1.
    Title = {}, Select = {}, Options = {}, Opponents = {};
    Vol = 0;
    EXPECT_EQ(Load(), "");
    EXPECT_EQ(Vol, -1000);
    EXPECT_EQ(Opponents.right, kCpuEasy);
    r = RunScript("2 2 Z\n14 14 DOWN\n16 16 LEFT\n24 34 DOWN\n36 36 Z\n", 40);
    EXPECT_EQ(SceneId, 11);
    EXPECT_EQ(Options.Sound, 1);
    const std::string text = testfiles::ReadText(File());
    EXPECT_NE(text.find("opponent = person\n"), std::string::npos) << text;
    EXPECT_NE(text.find("music = 1\n"), std::string::npos) << text;
}

TEST(SettingsFolder, OnlyAWindowedRunOrConfigUsesTheUsersFile) {
    struct Case {
        bool headless;
        std::string config, replay, expected;
    };
    const std::string user = UserConfigFolder();
    ASSERT_NE(user, "");
    for (const Case& c : {Case{false, "", "", user}, Case{true, "", "", ""},
                          Case{true, "/c", "", "/c"}, Case{false, "/c", "", "/c"},
                          Case{false, "", "r.txt", ""}, Case{true, "/c", "r.txt", ""}}) {
        CommandLine options;
        options.headless = c.headless;
        options.config = c.config;
        options.replay = c.replay;
        EXPECT_EQ(SettingsFolder(options), c.expected)
            << c.headless << " '" << c.config << "' '" << c.replay << "'";
    }
}

namespace {

// A window that remembers what it was told and reports what the test sets.
class FakeWindow final : public Window {
  public:
    void Show() override {}
    void SetClientSize(int w, int h) override { width = w, height = h; }
    void PumpEvents() override {}
    void ShowCursor(bool) override {}
    void SetCursorPos(int, int) override {}
    void SetFullScreen(bool on) override { full = on; }
    bool FullScreen() const override { return full; }
    void WindowedSize(int& w, int& h) const override { w = width, h = height; }
    int width = 880, height = 480;
    bool full = false;
};

} // namespace

TEST_F(SettingsTest, TheWindowStartsAsTheFileSaysAndIsKeptAsItWasLeft) {
    Write("[window]\nwidth = 1000\nheight = 600\nfullscreen = yes\n");
    EXPECT_EQ(Load(), "");
    FakeWindow window;
    ApplyWindowSettings(window);
    EXPECT_EQ((std::array{window.width, window.height}), (std::array{1000, 600}));
    EXPECT_TRUE(window.full);

    window.full = false;
    window.width = 1200;
    window.height = 700;
    Opponents = {kCpuEasy, kCpuHard}; // --cpu-vs-cpu: not the player's choice, not kept
    KeepSettingsAtExit(window, false);
    EXPECT_EQ(testfiles::ReadText(File()),
              "[window]\nwidth = 1200\nheight = 700\nfullscreen = no\n\n[sound]\nmusic = 3\n"
              "effects = 3\n\n[versus]\nopponent = person\n");

    // A run without a window (headless) leaves the window's settings alone.
    window.width = window.height = 0;
    KeepSettingsAtExit(window, false);
    EXPECT_NE(testfiles::ReadText(File()).find("width = 1200"), std::string::npos);
}
