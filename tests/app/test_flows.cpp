// A whole versus game through the headless harness, from the title and back to the mode select,
// checked on the state and the dump. The endless game from the title is the recorded whole
// game's and the record folder's; the menus and the quit item are the windowed replay's, their
// levels and items the menu tests'.
#include <gtest/gtest.h>

#include "app/program.h"
#include "menus/select.h"
#include "modes/versus/versus.h"
#include "platform/keyboard.h"
#include "support/files.h"
#include "support/run.h"

using namespace platform;

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
