// The record files: missing, unreadable, short and hostile files, atomic rewriting, and the
// records surviving a restart of the program.
#include "endless_fixture.h"

using namespace platform;

namespace {

std::string InitCapturingOutput() {
    ::testing::internal::CaptureStdout();
    EndlessInit();
    return ::testing::internal::GetCapturedStdout();
}

} // namespace

TEST_F(EndlessTest, NoRecordFolderStartsAtZeroAndLeavingCreatesIt) {
    std::string out = InitCapturingOutput();
    EXPECT_EQ(out, "エラーエラー") << "each file that cannot be opened is reported";
    EXPECT_EQ(Records.RecScore, 0);
    EXPECT_EQ(Records.RecLevelKeta, 0);
    Endless.GameFlg = 6;
    Endless.LvSum = 1;
    Records.RecLevel = 1, Records.RecLevelKeta = 1;
    EndlessRelease();
    EXPECT_EQ(ReadData("./notepad/Hi Score.txt"), "0 0 1 0 0 0");
    EXPECT_EQ(ReadData("./notepad/Max keta.txt"), "0 0 1");
    EXPECT_FALSE(std::filesystem::exists(data / "notepad/Hi Score.txt.tmp"));
}

TEST_F(EndlessTest, ReleaseBeforeTheResultsWritesNothing) {
    EndlessInit();
    Endless.GameFlg = 3;
    EndlessRelease();
    EXPECT_FALSE(std::filesystem::exists(data / "notepad"));
}

TEST_F(EndlessTest, UnreadableFilesKeepTheRecordsOfEarlierInTheRun) {
    Records.RecScore = 450, Records.RecScoreKeta = 3;
    std::filesystem::create_directories(data / "notepad/Hi Score.txt"); // a folder, not a file
    std::string out = InitCapturingOutput();
    EXPECT_NE(out.find("エラー"), std::string::npos);
    EXPECT_EQ(Records.RecScore, 450);
    EXPECT_EQ(Records.RecScoreKeta, 3);

    // Writing over it fails too: reported, and the game goes on.
    Endless.GameFlg = 6;
    ::testing::internal::CaptureStdout();
    EndlessRelease();
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("エラー"), std::string::npos);
    EXPECT_EQ(ReadData("./notepad/Max keta.txt"), "3 0 0");
}

TEST_F(EndlessTest, ShortFilesReplaceOnlyTheNumbersTheyHold) {
    Records.RecLevel = 7, Records.RecSec = 9;
    data.Put("notepad/Hi Score.txt", "1230 4");
    data.Put("notepad/Max keta.txt", "4\n");
    EXPECT_EQ(InitCapturingOutput(), "");
    EXPECT_EQ(Records.RecScore, 1230);
    EXPECT_EQ(Records.RecCombo, 4);
    EXPECT_EQ(Records.RecLevel, 7);
    EXPECT_EQ(Records.RecSec, 9);
    EXPECT_EQ(Records.RecScoreKeta, 4);
}

TEST_F(EndlessTest, HostileNumbersAreMadeHarmless) {
    data.Put("notepad/Hi Score.txt", "-50 99999999999 12 -1 75 x 3");
    data.Put("notepad/Max keta.txt", "40 -3 999999");
    EndlessInit();
    EXPECT_EQ(Records.RecScore, 0) << "negative counts as 0";
    EXPECT_EQ(Records.RecCombo, 2147483647) << "beyond the 32-bit range: its limit";
    EXPECT_EQ(Records.RecLevel, 12);
    EXPECT_EQ(Records.RecHour, 0);
    EXPECT_EQ(Records.RecMin, 75);
    EXPECT_EQ(Records.RecSec, 0) << "reading stops at the first thing that is no number";
    EXPECT_EQ(Records.RecScoreKeta, 1) << "no more digits than the record has";
    EXPECT_EQ(Records.RecComboKeta, 0);
    EXPECT_EQ(Records.RecLevelKeta, 2);
    // The panel draws them without trouble.
    Endless.GameFlg = 2;
    device.ClearCalls();
    Frame();
    EXPECT_GT(device.Count(CallKind::Sprite), 0u);
}

TEST_F(EndlessTest, ABrokenRecordSurvivesARestartWithAllItsDigits) {
    StartPlaying();
    Endless.ScoreDigits.d[3] = 1, Endless.ScoreDigits.d[1] = 2; // 1020
    Frame();
    Endless.GameFlg = 4;
    Frame(); // results: the record is raised
    EXPECT_EQ(Records.RecScore, 1020);
    EndlessRelease(); // as when the program is closed on the results screen
    EXPECT_EQ(ReadData("./notepad/Hi Score.txt").substr(0, 5), "1020 ");

    Records = EndlessRecords{}; // a new run of the program
    EndlessInit();
    EXPECT_EQ(Records.RecScore, 1020);
    EXPECT_EQ(Records.RecScoreKeta, 4);
}
