// Whole runs through the headless harness: key scripts driving the scenes, checked on the dump.
#include <gtest/gtest.h>

#include "app/program.h"
#include "menus/options.h"
#include "menus/select.h"
#include "modes/endless/endless.h"
#include "modes/versus/versus.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/null_backend.h"
#include "support/files.h"
#include "support/run.h"

using namespace platform;

TEST(Flows, TitleToOptionsSetsTheMusicLevelThenTheFifthItemQuits) {
    testfiles::DataDir data;
    Select.SelectWait = 0;
    Options.RowWait = Options.SeWait = Options.SoundWait = 0;
    RunResult r = RunScript("2 2 Z\n"       // title: Z after a release
                            "14 34 DOWN\n"  // select: down to the options
                            "36 36 Z\n"     // -> options (init at 37)
                            "49 49 DOWN\n"  // music row
                            "55 55 RIGHT\n" // level 3 -> 0
                            "70 70 RIGHT\n" // level 0 -> 1
                            "80 80 DOWN\n"  // back row
                            "85 85 Z\n"     // leave (select init at 86)
                            "90 124 DOWN\n" // down to item 4
                            "130 130 Z\n"); // quit
    ASSERT_TRUE(r.started);
    EXPECT_EQ(r.frames, 131) << "item 4 ends the run without another frame";
    EXPECT_EQ(SceneId, 12);
    EXPECT_EQ(Select.SelectItem, 4);
    EXPECT_EQ(Options.Sound, 1);
    EXPECT_EQ(Options.OptionsRow, 2);
    std::string dump = DumpState(r.frames);
    for (const char* part :
         {"\"SceneId\":12", "\"frame\":131", "\"Vol\":-1000", "\"SeVol\":0", "\"SelectItem\":4",
          "\"Sound\":1", "\"OptionsRow\":2", "\"LogoAngle\":8", "\"BlockAngle\":4"})
        EXPECT_NE(dump.find(part), std::string::npos) << part << " in " << dump;
}

TEST(Flows, AWholeEndlessGameFromTheTitleToTheRecordsAndBackToTheModeSelect) {
    testfiles::DataDir data;
    Records = EndlessRecords{};
    Endless.EndMenuWait = 0;
    RunResult r = RunScript("2 2 Z\n"          // title
                            "5 5 Z\n"          // select: item 0, the endless mode (init at 6)
                            "778 778 R\n"      // give up after ten seconds of play
                            "1120 1120 Z\n"    // results -> end menu
                            "1125 1135 DOWN\n" // end menu: mode select
                            "1145 1145 Z\n"    // leave (select init at 1146)
                            "1160 1160 ESCAPE\n");
    ASSERT_TRUE(r.started);
    EXPECT_EQ(r.frames, 1160);
    EXPECT_EQ(SceneId, 3) << "back in the mode select";
    std::string dump = DumpState(r.frames);
    for (const char* part :
         {"\"GameFlg\":6", "\"EndSelect\":2", "\"RecSec\":10", "\"RecMin\":0", "\"Sec\":10"})
        EXPECT_NE(dump.find(part), std::string::npos) << part << " in " << dump;
    EXPECT_GE(Records.RecLevel, 1) << "any level beats a record of 0";

    auto read = [](const char* path) {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(ReadFileBytes(path, bytes, 1024)) << path;
        return std::string(bytes.begin(), bytes.end());
    };
    const EndlessRecords& rec = Records;
    auto join = [](auto... v) { return ((std::to_string(v) + " ") + ...); };
    EXPECT_EQ(read("./notepad/Hi Score.txt") + " ",
              join(rec.RecScore, rec.RecCombo, rec.RecLevel, 0, 0, 10));
    EXPECT_EQ(read("./notepad/Max keta.txt") + " ",
              join(rec.RecScoreKeta, rec.RecComboKeta, rec.RecLevelKeta));
}

TEST(Flows, AWholeVersusGameWonByGarbageThenBackToTheModeSelect) {
    testfiles::DataDir data;
    Select.SelectWait = 0;
    Versus = VersusMode{};
    EnableDebugKeys(true);
    RunResult r = RunScript("2 2 Z\n"          // title
                            "20 20 DOWN\n"     // select: the versus mode
                            "40 40 Z\n"        // (init at 41, play from 212)
                            "230 400 W\n"      // the right player buries the left board
                            "1150 1160 DOWN\n" // end menu: mode select
                            "1170 1170 Z\n"    // leave (select init at 1171)
                            "1190 1190 ESCAPE\n");
    EnableDebugKeys(false);
    ASSERT_TRUE(r.started);
    EXPECT_EQ(SceneId, 3) << "back in the mode select";
    const VersusMode& v = Versus;
    EXPECT_EQ(v.GameFlg, 6);
    EXPECT_EQ(v.EndSelect, 2);
    EXPECT_EQ(v.left.ResultHold, 1) << "the left side lost and its image ran its course";
    EXPECT_EQ(v.right.ResultHold, 0);
    EXPECT_GT(v.right.Disturbance, 0) << "W kept adding rows after the left board was full";
    EXPECT_FALSE(v.music) << "released on leaving";
    std::string dump = DumpState(r.frames);
    for (const char* part : {"\"versus\":{\"GameFlg\":6,\"PauseSelect\":0,\"EndSelect\":2",
                             "\"MarkerPos\":[[-7.2,", "\"left\":{\"grid\":[[[", "\"right\":{"})
        EXPECT_NE(dump.find(part), std::string::npos) << part << " in " << dump;
    int garbage = 0;
    for (const auto& slice : v.left.grid)
        for (const auto& row : slice)
            for (int32_t cell : row) garbage += cell == kGarbage;
    EXPECT_GE(garbage, 30 * 8) << "rows of garbage up to the top";
    Versus = VersusMode{}; // later tests of this run dump the scenes too
}
