// The record files: missing, unreadable, short and hostile files, atomic rewriting, and the
// records surviving a restart of the program.
#include <sys/stat.h>

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

    // It is left alone; the missing companion is written, and the game goes on.
    Endless.GameFlg = 6;
    EndlessRelease();
    EXPECT_TRUE(std::filesystem::is_directory(data / "notepad/Hi Score.txt"));
    EXPECT_EQ(ReadData("./notepad/Max keta.txt"), "3 0 0");
}

// A file that exists but cannot be read may hold the player's records: it is never replaced,
// and that is said once on standard error. Here one is too large to be records, the other a
// pipe; neither may be replaced by a game's records.
TEST_F(EndlessTest, AFileThatCannotBeReadIsNeverReplaced) {
    std::string saved = "1230 4 5 0 12 7" + std::string(70000, ' ');
    data.Put("notepad/Hi Score.txt", saved);
    ASSERT_EQ(::mkfifo((data / "notepad/Max keta.txt").c_str(), 0600), 0);
    ::testing::internal::CaptureStderr();
    for (int game = 0; game < 2; ++game) {
        EndlessInit();
        Endless.GameFlg = 6;
        Records.RecScore = 40, Records.RecScoreKeta = 2;
        EndlessRelease();
    }
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadData("./notepad/Hi Score.txt"), "<missing>"); // still too large
    EXPECT_EQ(std::filesystem::file_size(data / "notepad/Hi Score.txt"), saved.size());
    EXPECT_TRUE(std::filesystem::is_fifo(data / "notepad/Max keta.txt"));
    for (const char* name : {"Hi Score.txt", "Max keta.txt"}) {
        size_t at = err.find(name);
        EXPECT_NE(at, std::string::npos) << err;
        EXPECT_EQ(err.find(name, at + 1), std::string::npos) << "said once: " << err;
    }

    // Once it reads again, it is rewritten as before.
    data.Put("notepad/Hi Score.txt", "1230 4 5 0 12 7");
    EndlessInit();
    Endless.GameFlg = 6;
    EndlessRelease();
    EXPECT_EQ(ReadData("./notepad/Hi Score.txt"), "1230 4 5 0 12 7");
}

// Left-overs at the old temporary name are neither followed nor waited on.
TEST_F(EndlessTest, TheWriteIgnoresWhateverLiesAtTheTemporaryName) {
    const std::string victim = data.Put("victim.txt", "keep me");
    data.Put("notepad/Max keta.txt", "1 1 1");
    std::filesystem::create_symlink(data / victim, data / "notepad/Hi Score.txt.tmp");
    ASSERT_EQ(::mkfifo((data / "notepad/Max keta.txt.tmp").c_str(), 0600), 0);
    EndlessInit();
    Records.RecScore = 1230, Records.RecScoreKeta = 4;
    Endless.GameFlg = 6;
    EndlessRelease();
    EXPECT_EQ(ReadData(victim.c_str()), "keep me");
    EXPECT_EQ(ReadData("./notepad/Hi Score.txt"), "1230 0 0 0 0 0");
    EXPECT_EQ(ReadData("./notepad/Max keta.txt"), "4 1 1");
    EXPECT_EQ((std::filesystem::status(data / "notepad/Max keta.txt").permissions() &
               std::filesystem::perms::owner_read),
              std::filesystem::perms::owner_read);
    int files = 0;
    for ([[maybe_unused]] auto& f : std::filesystem::directory_iterator(data / "notepad")) ++files;
    EXPECT_EQ(files, 4) << "nothing but the records and the two left-overs";
}

// Read over the records of earlier in the run: numbers replace only the fields they reach,
// negative ones count as 0 and those beyond the 32-bit range as its limit, and reading stops
// at the first thing that is no number. A digit count below its record's digits (a missing or
// stale companion file) is raised to them; a larger one is kept, as leading zeros, up to what
// the digit arrays hold.
TEST(EndlessRecordFiles, WhateverTheyHoldEveryRecordCanBeShown) {
    const struct {
        const char *score, *keta;    // nullptr: no such file
        std::array<int32_t, 9> read; // the six records, then the three digit counts
    } cases[] = {
        {"310 12 5 0 1 2", nullptr, {310, 12, 5, 0, 1, 2, 3, 2, 1}},
        {"42 0 7 0 1 2", "4 0 30", {42, 0, 7, 0, 1, 2, 4, 0, 15}},
        {"1230 4", "4\n", {1230, 4, 7, 0, 0, 9, 4, 1, 1}},
        {"-50 99999999999999999999 12 -1 75 x 3",
         "40 -3 999999",
         {0, 2147483647, 12, 0, 75, 9, 15, 10, 15}},
    };
    for (const auto& c : cases) {
        EndlessRecords r;
        r.RecLevel = 7, r.RecSec = 9;
        const std::string score = c.score, keta = c.keta ? c.keta : "";
        ParseRecordFiles(r, &score, c.keta ? &keta : nullptr);
        EXPECT_EQ((std::array{r.RecScore, r.RecCombo, r.RecLevel, r.RecHour, r.RecMin, r.RecSec,
                              r.RecScoreKeta, r.RecComboKeta, r.RecLevelKeta}),
                  c.read)
            << c.score;
    }
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
