// The settings file: reading, rewriting in place, hostile files, bindings that collide, and
// the options levels kept from one run to the next.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/bindings.h"
#include "app/program.h"
#include "app/settings.h"
#include "media/sound.h"
#include "menus/options.h"
#include "menus/select.h"
#include "menus/title.h"
#include "platform/input_map.h"
#include "support/files.h"
#include "support/run.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

void Write(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << text;
}

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

// A settings folder per test; the run's settings back to none afterwards.
class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* t = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = testfiles::Area() /
               ("settings." + std::string(t->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        LoadUserSettings("");
        TheInputMap().SetBindings({});
        Options = OptionsScene{};
        Vol = SeVol = 0;
        std::error_code ignored;
        fs::permissions(dir_ / "settings.ini", fs::perms::owner_all, ignored);
        fs::remove_all(dir_, ignored);
    }
    // Loads the folder's settings; returns what was said on standard error.
    std::string Load() {
        ::testing::internal::CaptureStderr();
        LoadUserSettings(dir_.string());
        return ::testing::internal::GetCapturedStderr();
    }
    fs::path File() const { return dir_ / "settings.ini"; }

    fs::path dir_;
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
                             "rise = pad:none\r\n";
    SettingsFile f = ParseSettings(text);
    EXPECT_EQ(Said(f), "");
    EXPECT_EQ(f.values, (SettingsValues{1, 2, 1280, 480, true}));
    const int swap = Action("endless", "swap"), pause = Action("endless", "pause");
    EXPECT_EQ(f.bindings[swap].keys, std::vector<int>{'C'});
    EXPECT_EQ(f.bindings[swap].pads, std::vector<int>{kPadSouth})
        << "south moved from pause to swap: the two lines together do not collide";
    EXPECT_EQ(f.bindings[pause].keys, std::vector<int>{'P'});
    EXPECT_EQ(f.bindings[Action("versus.left", "rise")].keys, std::vector<int>{'Q'})
        << "keys not given keep their defaults";
    EXPECT_TRUE(f.bindings[Action("versus.left", "rise")].pads.empty());

    const SettingsValues changed{3, 0, 1000, 700, false};
    const std::string again = SettingsText(f.lines, changed);
    SettingsFile g = ParseSettings(again);
    EXPECT_EQ(Said(g), "");
    EXPECT_EQ(g.values, changed);
    EXPECT_EQ(g.bindings, f.bindings);
    for (const char* kept : {"# my settings\r\n", "pause = P, pad:start\r\n", "music = 3\n",
                             "width = 1000\nheight = 700\n[keys.versus.left]"})
        EXPECT_NE(again.find(kept), std::string::npos) << kept << " in\n" << again;
    EXPECT_EQ(SettingsText(g.lines, changed), again) << "writing is stable";

    // A file of nothing gets every section.
    SettingsFile fresh = ParseSettings(SettingsText({}, changed));
    EXPECT_EQ(Said(fresh), "");
    EXPECT_EQ(fresh.values, changed);
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
                             "just words\n";                     // 22
    SettingsFile f = ParseSettings(text);
    EXPECT_EQ(f.values, SettingsValues{});
    EXPECT_EQ(f.bindings, DefaultKeyBindings());
    std::vector<int> lines;
    for (const auto& m : f.messages) lines.push_back(std::stoi(m.substr(5)));
    EXPECT_EQ(lines,
              (std::vector<int>{1, 3, 4, 5, 6, 8, 9, 10, 12, 13, 14, 15, 16, 17, 19, 20, 21, 22}))
        << Said(f);
    const std::string said = Said(f);
    for (const char* part : {"line 3: music must be a level from 0 to 3",
                             "line 5: given again; line 3 holds", "no key is called 'FOO'",
                             "no pad button is called 'paddle'", "has no action called 'jump'",
                             "line 20: not text: ???? binary", "line 21: longer than 512"})
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
         {"line 2: collides with endless rise",
          "line 7: collides with "
          "versus.right swap",
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
    fs::create_directory(File());
    check("a folder");
    EXPECT_TRUE(fs::is_directory(File()));
    fs::remove(File());

    Write(File(), "[sound]\nmusic = 1\n" + std::string(kMaxSettingsBytes, '#'));
    check("too large");
    EXPECT_EQ(fs::file_size(File()), kMaxSettingsBytes + 18);

    if (::geteuid() != 0) { // root reads anything
        Write(File(), "[sound]\nmusic = 2\n");
        fs::permissions(File(), fs::perms::none);
        check("unreadable");
        fs::permissions(File(), fs::perms::owner_all);
        EXPECT_EQ(testfiles::ReadText(File()), "[sound]\nmusic = 2\n");
    }

    // Binary junk is read line by line: at most 20 messages and a count of the rest.
    std::string junk;
    for (int i = 0; i < 300; ++i) junk += std::string("\x7f\x80junk\x01\n");
    Write(File(), junk);
    std::string said = Load();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 21) << said;
    EXPECT_NE(said.find("280 more lines ignored"), std::string::npos) << said;
    EXPECT_EQ(UserSettings(), SettingsValues{});
}

TEST_F(SettingsTest, OptionsLevelsSurviveARestart) {
    // First run: no file yet; music level 1 chosen and the options left.
    fs::remove_all(dir_);
    EXPECT_EQ(Load(), "");
    testfiles::DataDir data;
    Title = {}, Select = {}, Options = {};
    const char* toOptions = "2 2 Z\n"                                // title
                            "14 34 DOWN\n"                           // select: down to the options
                            "36 36 Z\n";                             // options init at 37
    RunResult r = RunScript(std::string(toOptions) + "49 49 DOWN\n"  // music row
                                                     "55 55 RIGHT\n" // level 3 -> 0
                                                     "70 70 RIGHT\n" // level 0 -> 1
                                                     "80 80 DOWN\n"  // back row
                                                     "85 85 Z\n",    // leave
                            100);
    ASSERT_TRUE(r.started);
    EXPECT_NE(testfiles::ReadText(File()).find("[sound]\nmusic = 1\neffects = 3\n"),
              std::string::npos)
        << testfiles::ReadText(File());

    // Second run: the level is there at start and in the options.
    Title = {}, Select = {}, Options = {};
    Vol = 0;
    EXPECT_EQ(Load(), "");
    EXPECT_EQ(Vol, -1000);
    r = RunScript(toOptions, 40);
    EXPECT_EQ(SceneId, 11);
    EXPECT_EQ(Options.Sound, 1);
    EXPECT_EQ(Vol, -1000);
    EXPECT_NE(testfiles::ReadText(File()).find("music = 1"), std::string::npos)
        << "nothing changed, kept";
}

TEST_F(SettingsTest, HeadlessRunsWithoutAFolderNeitherReadNorWrite) {
    Write(File(), "[sound]\nmusic = 0\n");
    LoadUserSettings("");
    EXPECT_EQ(UserSettingsPath(), "");
    EXPECT_EQ(Vol, 0);
    Options.StartSound = 2;
    SettingsAfterOptions();
    EXPECT_EQ(testfiles::ReadText(File()), "[sound]\nmusic = 0\n");
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
    Write(File(), "[window]\nwidth = 1000\nheight = 600\nfullscreen = yes\n");
    EXPECT_EQ(Load(), "");
    FakeWindow window;
    ApplyWindowSettings(window);
    EXPECT_EQ((std::array{window.width, window.height}), (std::array{1000, 600}));
    EXPECT_TRUE(window.full);

    window.full = false;
    window.width = 1200;
    window.height = 700;
    KeepSettingsAtExit(window, false);
    EXPECT_EQ(testfiles::ReadText(File()),
              "[window]\nwidth = 1200\nheight = 700\nfullscreen = no\n\n[sound]\nmusic = 3\n"
              "effects = 3\n");

    // A run without a window (headless) leaves the window's settings alone.
    window.width = window.height = 0;
    KeepSettingsAtExit(window, false);
    EXPECT_NE(testfiles::ReadText(File()).find("width = 1200"), std::string::npos);
}
