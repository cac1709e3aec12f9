// The record files: missing, unreadable, short and hostile files, atomic rewriting, and the
// records surviving a restart of the program.
#include <array>

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
    EXPECT_EQ(Records.RecScore + Records.RecLevelKeta, 0);
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
    EXPECT_TRUE(Records.RecScore == 450 && Records.RecScoreKeta == 3);

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
    const EndlessRecords& r = Records;
    EXPECT_EQ((std::array{r.RecScore, r.RecCombo, r.RecLevel, r.RecSec, r.RecScoreKeta}),
              (std::array{1230, 4, 7, 9, 4}));
}

TEST_F(EndlessTest, HostileNumbersAreMadeHarmless) {
    data.Put("notepad/Hi Score.txt", "-50 99999999999999999999 12 -1 75 x 3");
    data.Put("notepad/Max keta.txt", "40 -3 999999");
    EndlessInit();
    // Negative counts as 0, beyond the 32-bit range as its limit; reading stops at the first
    // thing that is no number; no record has more digits than its value.
    const EndlessRecords& r = Records;
    EXPECT_EQ((std::array{r.RecScore, r.RecCombo, r.RecLevel, r.RecHour, r.RecMin, r.RecSec,
                          r.RecScoreKeta, r.RecComboKeta, r.RecLevelKeta}),
              (std::array{0, 2147483647, 12, 0, 75, 0, 1, 0, 2}));
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
    EXPECT_TRUE(Records.RecScore == 1020 && Records.RecScoreKeta == 4);
}
