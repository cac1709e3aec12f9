// Records of a game whose data folder cannot be written: kept in the user's folder, carried
// over from the data folder once, and read back at the next start.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/record_folder.h"
#include "modes/endless/endless.h"
#include "platform/files.h"
#include "support/files.h"
#include "support/run.h"

namespace fs = std::filesystem;

namespace {

// A start of the program as far as the records go: a new run reads them afresh.
std::string Start(const platform::UserEnvironment& env, bool dataWritable) {
    Records = EndlessRecords{};
    ResetRecordFiles();
    return SetUpRecordFolder(env, [dataWritable](const std::string&) { return dataWritable; });
}

} // namespace

TEST(RecordFolder, AReadOnlyDataFolderKeepsTheRecordsInTheUsersFolderAcrossRestarts) {
    testfiles::DataDir data;
    data.Put("notepad/Hi Score.txt", "0 0 0 0 0 3");
    data.Put("notepad/Max keta.txt", "0 0 0");
    const fs::path user = data.path() / "xdg";
    const platform::UserEnvironment env{user.string(), "/nonexistent"};
    const fs::path notepad = user / "tessarune/notepad";

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Start(env, false), notepad.string());
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("'Hi Score.txt' copied"), std::string::npos) << said;
    EXPECT_EQ(testfiles::ReadText(notepad / "Hi Score.txt"), "0 0 0 0 0 3");

    Endless.EndMenuWait = 0;
    RunResult r = RunScript("2 2 Z\n5 5 Z\n778 778 R\n1120 1120 Z\n1125 1135 DOWN\n"
                            "1145 1145 Z\n1160 1160 ESCAPE\n");
    ASSERT_TRUE(r.started);
    EXPECT_EQ(SceneId, 3) << "back in the mode select after the end menu";
    EXPECT_EQ(Records.RecSec, 10) << "ten seconds of play beat three";
    EXPECT_EQ(testfiles::ReadText(notepad / "Hi Score.txt"), ScoreFileText(Records));
    EXPECT_EQ(testfiles::ReadText(data / "notepad/Hi Score.txt"), "0 0 0 0 0 3")
        << "the data folder untouched";

    // The next start finds them, and the old records are not copied over them again.
    ::testing::internal::CaptureStderr();
    Start(env, false);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ReadRecords();
    EXPECT_EQ(Records.RecSec, 10);
    EXPECT_GE(Records.RecLevel, 1);
    platform::SetRecordFolder("");
}

TEST(RecordFolder, AWritableBuildFolderKeepsItsRecordsWhereTheyAre) {
    testfiles::DataDir data;
    data.Put("notepad/Hi Score.txt", "50 1 1 0 0 3");
    const fs::path user = data.path() / "xdg";
    EXPECT_EQ(Start({user.string(), ""}, true), platform::DataPath("./notepad"));
    EXPECT_EQ(platform::RecordPath("Hi Score.txt"), (data / "notepad/Hi Score.txt").string());
    EXPECT_FALSE(fs::exists(user)) << "nothing is made in the user's folder";
    platform::SetRecordFolder("");
}
